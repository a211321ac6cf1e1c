#!/usr/bin/env python3
"""A sales chart made from nothing as a user makes it, in the real program
under a private X server, driven with xdotool.

File > New; Objects > Graph through the wizard (a bar graph "Sales" of three
values) put down with a click; T and a title typed into the "Text" dialog, put
down with a click; the title's material swatch opens the "Color" chooser,
whose second swatch is double-clicked; Animation Mode; the chart's context
menu "Add Grow/Shrink Effect" and "+ G" on its first point; the time line's
Play; File > Save As; Ctrl+N; Ctrl+O of the saved file; Animation Mode; File >
Create Animation Files > GIF Animation File, then > AVI (Motion JPEG).

After each step the number of undo steps is counted as a user can: Ctrl+Z
until the Edit menu shows Undo greyed, then as many Ctrl+Y (an Add is one
step, the mode switch and the file commands leave none). The saved file holds
the chart, its event, the 3D title with the chosen material, its event, and
the point's grow frames; ffprobe decodes the GIF and the AVI, and each has one
frame per frame from 0 to the last event frame (ImageMagick agrees on the GIF).

e2e_sales_chart.py PROGRAM SOURCE_DIR
A missing tool skips the test (exit 77), or fails it where CI is set.
"""

import os
import re
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as ep  # noqa: E402
import xvfb_harness as xh  # noqa: E402

SKIP = 77
NO_MATERIAL = (204, 204, 204)  # a swatch without a material
KHAKI = (216, 210, 101)  # the time line's selected row right of the animation's end
TRACK_WIDTH = 370

failures = ep.failures
check = ep.check


class Walk:
    def __init__(self, run, work, home, env):
        self.run, self.work, self.home, self.env = run, work, home, env
        self.window = run.window
        self.counts = []

    def focus(self):
        xh.run(["xdotool", "windowfocus", "--sync", str(self.window)], self.env)
        time.sleep(0.3)

    def undo_enabled(self):
        """Whether the Edit menu, opened by its key, selects Undo: the first
        enabled item is the one selected. The sampled point lies between the
        caption and the accelerator, clear of both texts, whether or not the
        menu keeps a gutter for its check items."""
        self.focus()
        ep.key(self.env, "alt+e")
        time.sleep(0.4)
        on = ep.menu_row_selected(self.window, self.env, self.work, 37, x=150, timeout=2.0)
        ep.key(self.env, "Escape")
        time.sleep(0.3)
        return on

    def undo_steps(self, what, expected):
        """Counts the steps with Ctrl+Z, then gives every one back with Ctrl+Y."""
        count = 0
        while count < 12 and self.undo_enabled():
            self.focus()
            ep.key(self.env, "ctrl+z")
            time.sleep(0.6)
            count += 1
        for _ in range(count):
            self.focus()
            ep.key(self.env, "ctrl+y")
            time.sleep(0.6)
        self.counts.append((what, count))
        check(count == expected, f"after {what}: {count} undo steps, not {expected}")
        print(f"{what}: {count} undo steps", flush=True)

    def shot(self, name):
        return ep.screenshot(self.home, name, self.env)

    def scene_box(self):
        w, h, x, y = self.run.scene
        return x, y, w, h


def add_bar_graph(walk, spot):
    """Objects > Graph: bar (the first type), "Sales", three values."""
    env = walk.env
    wizard = None
    for _ in range(3):
        walk.focus()
        ep.key(env, "alt+o")
        ep.key(env, "g")
        wizard = xh.wait_for_window("Graph Type Selection", env, timeout=8)
        if wizard is not None:
            break
        ep.key(env, "Escape", "Escape")
    if not check(wizard is not None, "Objects > Graph showed no 'Graph Type Selection'"):
        return False
    xh.run(["xdotool", "windowfocus", "--sync", str(wizard)], env)
    time.sleep(0.5)
    ep.key(env, "Return")
    name = xh.wait_for_window("Graph Name", env, timeout=10)
    if not check(name is not None, "no 'Graph Name' step"):
        return False
    xh.run(["xdotool", "windowfocus", "--sync", str(name)], env)
    time.sleep(0.5)
    ep.key(env, "ctrl+a")
    ep.typed(env, "Sales")
    ep.key(env, "Return")
    data = xh.wait_for_window("Input Graph Data", env, timeout=10)
    if not check(data is not None, "no 'Input Graph Data' step"):
        return False
    xh.run(["xdotool", "windowfocus", "--sync", str(data)], env)
    time.sleep(0.5)
    for value, last in (("120", False), ("80", False), ("150", True)):
        ep.key(env, "Tab", "Tab")
        ep.typed(env, value)
        ep.key(env, "Return" if last else "Tab")
    check(ep.wait_gone("Input Graph Data", env, 10), "the data step stays open")
    time.sleep(0.8)
    # The chart follows the pointer until a click puts it down.
    xh.run(["xdotool", "mousemove", "--sync", str(spot[0]), str(spot[1])], env)
    time.sleep(0.5)
    xh.run(["xdotool", "click", "1"], env)
    time.sleep(1.0)
    return True


def add_title(walk, spot):
    env = walk.env
    x, y, w, h = walk.scene_box()
    # The view takes the keys with a click on empty background.
    xh.run(["xdotool", "mousemove", "--sync", str(x + 8), str(y + h - 8), "click", "1"], env)
    time.sleep(0.5)
    return ep.add_text(env, "Sales 2024", spot)


def find_run(png, x0, y0, w, h, colour, env, length=12):
    """Screen (x, y) of the middle of the first horizontal run of a colour."""
    every = ep.pixels(png, x0, y0, w, h, env)
    if len(every) != w * h:
        return None
    for row in range(h):
        run = 0
        for col in range(w):
            run = run + 1 if every[row * w + col] == colour else 0
            if run >= length:
                return x0 + col - run // 2, y0 + row + 3
    return None


def choose_material(walk):
    """The title page's swatch (no material yet), then a swatch of the chooser."""
    env = walk.env
    x, y, w, h = walk.scene_box()
    fx, fy, _, fh = ep.geometry(walk.window, env)
    spot = None
    deadline = time.time() + 20
    while spot is None and time.time() < deadline:
        spot = find_run(walk.shot("swatch"), fx, fy, max(1, x - fx - 4), fh, NO_MATERIAL, env)
        if spot is None:
            time.sleep(0.5)
    if not check(spot is not None, "no material swatch on the title's page"):
        return False
    xh.run(["xdotool", "mousemove", "--sync", str(spot[0]), str(spot[1]), "click", "1"], env)
    chooser = xh.wait_for_window("Color", env, timeout=15)
    if not check(chooser is not None, "the swatch opened no 'Color' chooser"):
        return False
    time.sleep(1.0)
    cx, cy, _, _ = ep.geometry(chooser, env)
    # The grid's second cell: 40 pixels a cell from (10, 10).
    xh.run(["xdotool", "mousemove", "--sync", str(cx + 10 + 60), str(cy + 10 + 20)], env)
    time.sleep(0.3)
    xh.run(["xdotool", "click", "--repeat", "2", "--delay", "80", "1"], env)
    check(ep.wait_gone("Color", env, 10), "a double-click left the chooser open")
    time.sleep(0.5)
    return True


def chart_spot(walk, name):
    x, y, w, h = walk.scene_box()
    png = walk.shot(name)
    pts = []
    rows = ep.pixels(png, x, y, w, h, walk.env)
    for i, p in enumerate(rows):
        if sum(abs(a - b) for a, b in zip(p, ep.BACKGROUND)) > 90:
            pts.append((x + i % w, y + i // w))
    if len(pts) < 50:
        return None
    # The chart stands in the lower half of the window, the title above it.
    low = [p for p in pts if p[1] > y + h // 2] or pts
    low.sort()
    return low[len(low) // 2]


def grow_effect(walk, at):
    env = walk.env
    ep.ask_grow_shrink(at, env)
    dialog = xh.wait_for_window(r"\[ Sales \] - Grow / Shrink Time Setting", env, timeout=20)
    if not check(dialog is not None, "the chart's context menu opened no Grow / Shrink Time Setting"):
        return False
    time.sleep(1.0)
    dx, dy, _, _ = ep.geometry(dialog, env)
    ep.click(env, dx + 461, dy + 19)  # + G
    time.sleep(0.5)
    ep.click(env, dx + 549, dy + 209)  # Close
    ep.wait_gone(r"\[ Sales \] - Grow / Shrink Time Setting", env, timeout=15)
    return check(not ep.visible(r"\[ Sales \] - Grow / Shrink Time Setting", env), "Close left the dialog open")


def play(walk):
    """The time line's Play, found from its track: the selected row is khaki
    right of the animation's end, and the track's left outline is black."""
    env = walk.env
    box, png = None, None
    deadline = time.time() + 20
    while box is None and time.time() < deadline:
        png = walk.shot("time-line")
        box = ep.find_colour(png, KHAKI, env)
        if box is None:
            time.sleep(0.5)
    if not check(box is not None, "no selected row on the time line"):
        return False
    # The fill ends one pixel short of the right outline (x = 369).
    track_x = box[2] - (TRACK_WIDTH - 2)
    track_top = box[1]
    # Up the left outline, black or the current frame's green line at frame 0.
    while track_top > 0 and any(ep.close(ep.pixel(png, track_x, track_top - 1, env), c, 10)
                                for c in (ep.BLACK, (0, 128, 0))):
        track_top -= 1
    panel_x, panel_y = track_x - 96, track_top - 30
    # The Frame edit (60 x 24 at (232, 2)) shows 0 before and the last frame after.
    frame_box = (panel_x + 236, panel_y + 6, 50, 16)
    before = ep.pixels(png, *frame_box, env)
    # Play is 22 wide at (100, 3); its left part lies under the wider Stop.
    ep.click(env, panel_x + 100 + 18, panel_y + 3 + 11)
    time.sleep(3.0)
    after = ep.pixels(walk.shot("played"), *frame_box, env)
    return check(before and after and before != after, "Play did not move the time line's frame")


def last_event_frame(text):
    """The last frame any play reaches: the events' plays, and a bar chart's
    point (without shrink) grows to endTime and shows its label from
    startTime to startTime + 1."""
    frames = [int(v) for v in re.findall(r'^\s*play\s+\(\s*"[^"]*"\s+-?\d+\s+(-?\d+)', text, re.M)]
    frames += [int(v) for v in re.findall(r"^\s*endTime\s+(-?\d+)", text, re.M)]
    frames += [int(v) + 1 for v in re.findall(r"^\s*startTime\s+(-?\d+)", text, re.M)]
    return max([0] + frames)


def check_file(path, env):
    if not check(os.path.isfile(path), "Save As wrote nothing"):
        return None
    text = ep.saved(path)
    chart = re.search(r'barChart\s*\{\s*name\s+"Sales"(.*?)\n\}', text, re.S)
    if check(chart is not None, "no bar chart \"Sales\" in the saved file"):
        values = [float(v) for v in re.findall(r"growValue\s+(\S+)", chart.group(1))]
        check(values[:3] == [120.0, 80.0, 150.0], f"the chart's values are {values}")
        first = re.search(r"data\s*\{(.*?)\}", chart.group(1), re.S)
        times = {k: int(m.group(1)) for k in ("startTime", "endTime")
                 if first and (m := re.search(k + r"\s+(-?\d+)", first.group(1)))}
        check(times == {"startTime": 0, "endTime": 20}, f"the first point grows over {times}, not 0 to 20")
    titles = [m.group(1) for m in re.finditer(r"string \{\n(.*?)\n\}", text, re.S)
              if re.search(r'^\s*string\s+"Sales 2024"$', m.group(1), re.M)]
    title_name = None
    if check(len(titles) == 1, f"{len(titles)} titles \"Sales 2024\" in the saved file"):
        title = titles[0]
        title_name = re.search(r'^\s*name\s+"([^"]*)"$', title, re.M).group(1)
        check(re.search(r'^\s*kind\s+"3D"$', title, re.M), "the title is not 3D:\n" + title)
        check(re.search(r'^\s*material\s+"[^"]+"$', title, re.M), "the title has no material:\n" + title)
    for name in ["Sales"] + ([title_name] if title_name else []):
        event = ep.block(text, "event", name)
        if check(event is not None, f"no event \"{name}\""):
            check(re.search(r'^\s*objectName\s+"' + re.escape(name) + '"$', event, re.M),
                  f"the event \"{name}\" shows another object:\n{event}")
    plays = re.findall(r'^\s*play\s+\(', text, re.M)
    check(not plays, f"plays in a scene whose only effect is the chart's growth: {len(plays)}")
    return text


def main():
    program, source = os.path.abspath(sys.argv[1]), sys.argv[2]
    missing = [t for t in ("xdotool", "ffprobe", "identify", "convert") if not shutil.which(t)]
    if missing:
        print("missing: " + ", ".join(missing), flush=True)
        return 1 if os.environ.get("CI") else SKIP
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        env["GSETTINGS_BACKEND"] = "memory"
        work = tempfile.mkdtemp(prefix="work-", dir=home)
        out = os.path.join(work, "out")
        os.makedirs(out)
        saved = os.path.join(work, "sales.apn")
        run = ep.Program(program, work, [], env, display)
        if not run.ok("sales chart"):
            return 1
        # Room for the whole Edit Box page (there is no window manager to
        # maximise the window).
        xh.run(["xdotool", "windowmove", "--sync", str(run.window), "0", "0"], env)
        xh.run(["xdotool", "windowsize", "--sync", str(run.window), "1270", "1010"], env)
        time.sleep(1.5)
        placed = []
        ep.wait_until(lambda: placed.append(ep.scene_window(run.window, env)[1]) or bool(placed[-1]), 30.0)
        if placed and placed[-1]:
            run.scene = placed[-1][0]
        walk = Walk(run, work, home, env)
        x, y, w, h = walk.scene_box()

        walk.focus()
        ep.key(env, "ctrl+n")
        time.sleep(1.0)
        walk.undo_steps("New", 0)
        if add_bar_graph(walk, (x + w // 2, y + h * 2 // 3)):
            walk.undo_steps("the bar graph", 1)
        if add_title(walk, (x + w // 2, y + h // 5)):
            walk.undo_steps("the title", 2)
        if choose_material(walk):
            walk.undo_steps("the title's colour", 3)

        ep.menu(env, "m", "Down", "Return")  # Animation Mode
        time.sleep(1.5)
        walk.undo_steps("Animation Mode", 0)
        at = chart_spot(walk, "chart")
        if check(at is not None, "the chart is not on the screen") and grow_effect(walk, at):
            walk.undo_steps("the grow effect", 0)
        if play(walk):
            walk.undo_steps("Play", 0)

        walk.focus()
        ep.key(env, "alt+f")
        time.sleep(0.7)
        ep.key(env, "a")
        run.dialog("Save As", saved, "Save As")
        check(ep.wait_until(lambda: os.path.isfile(saved), 20), "Save As wrote no file")
        walk.undo_steps("Save As", 0)
        walk.focus()
        ep.key(env, "ctrl+n")
        time.sleep(1.5)
        check(not ep.visible("Kelvano", env), "New after Save As asks to save")
        walk.undo_steps("New", 0)
        walk.focus()
        ep.key(env, "ctrl+o")
        run.dialog("Open", saved, "Open")
        time.sleep(1.5)
        walk.undo_steps("Open", 0)

        text = check_file(saved, env)
        last = last_event_frame(text) if text else 0
        print(f"last event frame {last}", flush=True)

        ep.menu(env, "m", "Down", "Return")  # Animation Mode again
        time.sleep(1.5)
        gif = os.path.join(out, "sales.gif")
        ep.animation_file_item(walk.window, env, work, "g")
        ep.save_as("Save To GIF Animation", gif, env)
        ep.wait_done(env, "GIF")
        avi = os.path.join(out, "sales.avi")
        ep.animation_file_item(walk.window, env, work, "a")
        if ep.save_as("Save To AVI", avi, env):
            compressor = xh.wait_for_window("Video Compression", env, 30)
            if check(compressor is not None, "no compressor dialog"):
                ep.focus(compressor, env)
                ep.key_each(env, "Return")  # Motion JPEG
                ep.wait_done(env, "AVI")

        if check(os.path.isfile(gif), "no GIF written"):
            frames = ep.probe(["-count_frames", "-show_entries", "stream=nb_read_frames"], gif, env)
            check(frames == str(last + 1), f"GIF: ffprobe reads {frames!r} frames, not {last + 1}")
            images = xh.run(["identify", gif], env).stdout.count("\n")
            check(images == last + 1, f"GIF: identify finds {images} frames, not {last + 1}")
        if check(os.path.isfile(avi), "no AVI written"):
            frames = ep.probe(["-select_streams", "v", "-count_frames", "-show_entries",
                               "stream=codec_name,nb_read_frames"], avi, env)
            check(frames == f"mjpeg,{last + 1}", f"AVI: ffprobe reads {frames!r}, not mjpeg,{last + 1}")

        run.stop("sales chart")
        ep.check_log(work)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
