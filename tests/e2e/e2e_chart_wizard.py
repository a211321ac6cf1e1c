#!/usr/bin/env python3
"""A chart through the new-graph wizard and a cut shape through its chooser,
in the real program under a private X server.

Opens a copy of barchart.apn, picks "bars" in the "Obect List" pane, clicks
the bar page's cut shape picture and double-clicks the heart in the "Cut
Shape" chooser; then Objects > Graph: pie, "Share", 3 items 60, 30 and 30; a
click places it; Ctrl+S. The file holds the pie's growValues 60, 30 and 10,
the text styles StringP001 and StringP002 in "Arial", and "bars" with file
"ChartSlices/heart.3ds", which `assimp info` opens from the program folder.

Then, in a new run on a new scene, a line chart of 12 points through the
wizard, Animation Mode, the chart's context menu "Add Grow/Shrink Effect" and
"+ G" on every row, Save As, File > Open of it: the file holds every point
growing from 0 to 20, and the scene window at frame 0, before the save and
after the reopen, is kelvano-render's picture of that frame of the file, the
first point's joint shown in both.

e2e_chart_wizard.py PROGRAM SOURCE_DIR RENDER_TOOL
"""

import os
import re
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as ep  # noqa: E402
import xvfb_harness as xh  # noqa: E402

SAMPLE = "barchart.apn"
failures = ep.failures
check = ep.check
key = ep.key_slowly


def bmp_row(path, row):
    """The RGB pixels of one row (from the top) of a 24-bit BMP."""
    with open(path, "rb") as f:
        data = f.read()
    offset, width, height = struct.unpack_from("<I", data, 10)[0], *struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) & ~3
    y = height - 1 - row if height > 0 else row
    start = offset + y * stride
    return [(data[start + 3 * i + 2], data[start + 3 * i + 1], data[start + 3 * i]) for i in range(width)]


def find_picture(window, picture, home, env, name, timeout=20.0):
    """Screen (x, y) of the centre of a 36 x 36 picture shown in a window,
    found by its middle row, or None."""
    row = bmp_row(picture, 18)
    deadline = time.time() + timeout
    while True:
        x0, y0, w, h = ep.geometry(window, env)
        png = os.path.join(home, name + ".png")
        xh.run(["import", "-window", "root", png], env)
        every = ep.pixels(png, x0, y0, w, h, env)
        if len(every) == w * h:
            for y in range(h):
                line = every[y * w:(y + 1) * w]
                for x in range(w - len(row) + 1):
                    if all(ep.close(line[x + i], row[i], 4) for i in range(len(row))):
                        return x0 + x + 18, y0 + y
        if time.time() > deadline:
            return None
        time.sleep(0.5)


def click_at(spot, env, double=False):
    xh.run(["xdotool", "mousemove", "--sync", str(spot[0]), str(spot[1])], env)
    time.sleep(0.3)
    xh.run(["xdotool", "click"] + (["--repeat", "2", "--delay", "80"] if double else []) + ["1"], env)
    time.sleep(0.8)


def choose_heart(window, program_dir, home, env):
    """Clicks the bar page's cut shape picture and double-clicks the heart."""
    slices = os.path.join(program_dir, "ChartSlices")
    spot = find_picture(window, os.path.join(slices, "cyl10x.bmp"), home, env, "page")
    if not check(spot is not None, "the bar page shows no cut shape picture of cyl10x"):
        return
    click_at(spot, env)
    chooser = xh.wait_for_window("Cut Shape", env, timeout=15)
    if not check(chooser is not None, "the cut shape picture opened no 'Cut Shape' chooser"):
        return
    heart = find_picture(chooser, os.path.join(slices, "heart.bmp"), home, env, "chooser")
    if check(heart is not None, "no heart picture in the chooser"):
        click_at(heart, env, double=True)
    deadline = time.time() + 10
    while time.time() < deadline and xh.run(
            ["xdotool", "search", "--onlyvisible", "--name", "^Cut Shape$"], env).stdout.strip():
        time.sleep(0.2)
    check(not xh.run(["xdotool", "search", "--onlyvisible", "--name", "^Cut Shape$"], env).stdout.strip(),
          "a double-click on the heart did not close the chooser")


def open_graph_wizard(window, env):
    """Objects > Graph, retried when the keys came before the menu: the wizard's first step."""
    wizard = None
    for _ in range(3):
        ep.focus(window, env)
        key(env, "alt+o")
        key(env, "g")
        wizard = xh.wait_for_window("Graph Type Selection", env, timeout=8)
        if wizard is not None:
            break
        key(env, "Escape", "Escape")
    check(wizard is not None, "Objects > Graph showed no 'Graph Type Selection'")
    return wizard


def add_pie(window, scene_spot, env):
    """Objects > Graph, then the three steps by keys, then a click places it."""
    wizard = open_graph_wizard(window, env)
    if wizard is None:
        return
    xh.run(["xdotool", "windowfocus", "--sync", str(wizard)], env)
    time.sleep(0.5)
    key(env, "Right", "Right", "Return")  # bar -> line -> pie, Next
    name = xh.wait_for_window("Graph Name", env, timeout=10)
    if not check(name is not None, "no 'Graph Name' step"):
        return
    xh.run(["xdotool", "windowfocus", "--sync", str(name)], env)
    time.sleep(0.5)
    key(env, "ctrl+a")
    xh.run(["xdotool", "type", "--delay", "60", "Share"], env)
    key(env, "Return")
    data = xh.wait_for_window("Input Graph Data", env, timeout=10)
    if not check(data is not None, "no 'Input Graph Data' step"):
        return
    xh.run(["xdotool", "windowfocus", "--sync", str(data)], env)
    time.sleep(0.5)
    # Label, data text, value per row: the value's data text follows it.
    for value, last in (("60", False), ("30", False), ("30", True)):
        key(env, "Tab", "Tab")
        xh.run(["xdotool", "type", "--delay", "60", value], env)
        key(env, "Return" if last else "Tab")
    deadline = time.time() + 10
    while time.time() < deadline and xh.run(
            ["xdotool", "search", "--onlyvisible", "--name", "^Input Graph Data$"], env).stdout.strip():
        time.sleep(0.2)
    # The new chart follows the mouse until a click puts it down.
    click_at(scene_spot, env)


def scene_picture(run, home, env, name):
    """The scene window's pixels now, cut from a screenshot into a PNG."""
    w, h, x, y = run.scene
    shot = ep.screenshot(home, name, env)
    crop = os.path.join(home, name + "-scene.png")
    xh.run(["convert", shot, "-crop", f"{w}x{h}+{x}+{y}", "+repage", crop], env)
    return crop


def differing(a, b, env):
    """Pixels of two pictures that differ by more than a step of rounding."""
    out = xh.run(["compare", "-metric", "AE", "-fuzz", "2%", a, b, "null:"], env)
    try:
        return int(float(out.stderr.split()[0]))
    except (IndexError, ValueError):
        return -1


def joint_pixels(png, env):
    """Pixels of the joints' gold (the chart's segments are red, its texts
    white, the background blue)."""
    out = subprocess.run(["convert", png, "-depth", "8", "rgb:-"], env=env, capture_output=True).stdout
    return sum(1 for i in range(0, len(out) - 2, 3) if out[i] > 150 and out[i + 1] > 110 and out[i + 2] < 70)


LINE_VALUES = ["30", "80", "50", "110", "70", "95", "60", "120", "90", "40", "100", "75"]


def add_line_chart(run, env):
    """Objects > Graph, line, "Trend" of 12 points typed page by page; a
    click puts it down right of the middle, so that its first point shows."""
    wizard = open_graph_wizard(run.window, env)
    if wizard is None:
        return False
    ep.focus(wizard, env)
    key(env, "Right", "Return")  # bar -> line, Next
    name = xh.wait_for_window("Graph Name", env, timeout=10)
    if not check(name is not None, "no 'Graph Name' step"):
        return False
    ep.focus(name, env)
    key(env, "ctrl+a")
    ep.typed(env, "Trend")
    key(env, "Tab", "ctrl+a")
    ep.typed(env, str(len(LINE_VALUES)))
    key(env, "Return")
    data = xh.wait_for_window("Input Graph Data", env, timeout=10)
    if not check(data is not None, "no 'Input Graph Data' step"):
        return False
    ep.focus(data, env)
    # Label, data text, value per row; after a page's fifth value the page
    # arrow, then round to the first row of the next page.
    for i, value in enumerate(LINE_VALUES):
        ep.key(env, "Tab", "Tab", pause=0.1)
        xh.run(["xdotool", "type", "--delay", "40", value], env)
        if i == len(LINE_VALUES) - 1:
            ep.key(env, "Return")
        elif i % 5 == 4:
            ep.key(env, "Tab", "space")
            ep.key(env, "Tab", "Tab", "Tab", "Tab", pause=0.1)
        else:
            ep.key(env, "Tab", pause=0.1)
    if not check(ep.wait_gone("Input Graph Data", env, 10), "the data step stays open"):
        return False
    time.sleep(0.8)
    w, h, x, y = run.scene
    xh.run(["xdotool", "mousemove", "--sync", str(x + 3 * w // 4), str(y + h // 2)], env)
    time.sleep(0.5)
    xh.run(["xdotool", "click", "1"], env)
    time.sleep(1.0)
    return True


def grow_every_row(run, home, env):
    """The chart's context menu "Add Grow/Shrink Effect", then each row
    clicked and "+ G" (greyed on a row that grows): the first five rows, the
    rows shown after the scroll bar's thumb is dragged down, and the last
    five, shown after a click at the end of its trough."""
    w, h, x, y = run.scene
    every = ep.pixels(scene_picture(run, home, env, "chart"), 0, 0, w, h, env)
    chart = [(x + i % w, y + i // w) for i, p in enumerate(every) if not ep.close(p, ep.BACKGROUND, 30)]
    if not check(len(chart) > 100, "the line chart is not in the scene window"):
        return False
    at = sorted(chart)[len(chart) // 2]
    ep.ask_grow_shrink(at, env)
    title = r"\[ Trend \] - Grow / Shrink Time Setting"
    dialog = xh.wait_for_window(title, env, timeout=20)
    if not check(dialog is not None, "the chart's context menu opened no Grow / Shrink Time Setting"):
        return False
    time.sleep(1.0)
    dx, dy, _, _ = ep.geometry(dialog, env)
    # The track's rows are 19 high from (44, 44); its scroll bar's thumb
    # stands at x 422 below y 46, the trough ends at y 138; + G at (461, 19).
    def click(x, y):
        xh.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "1"], env)
        time.sleep(0.15)

    def grow_rows():
        for row in range(5):
            click(dx + 300, dy + 53 + 19 * row)
            click(dx + 461, dy + 19)
        time.sleep(0.3)
    grow_rows()
    xh.run(["xdotool", "mousemove", "--sync", str(dx + 422), str(dy + 55)], env)
    xh.run(["xdotool", "mousedown", "1"], env)
    for k in range(1, 7):
        xh.run(["xdotool", "mousemove", "--sync", str(dx + 422), str(dy + 55 + 5 * k)], env)
        time.sleep(0.1)
    xh.run(["xdotool", "mouseup", "1"], env)
    time.sleep(0.4)
    grow_rows()
    click(dx + 422, dy + 136)
    grow_rows()
    click(dx + 549, dy + 209)  # Close
    return check(ep.wait_gone(title, env, 15), "Close left the Grow / Shrink dialog open")


def line_chart_grows_after_reopen(program, render, home, env, display):
    work = tempfile.mkdtemp(prefix="work-line-", dir=home)
    saved = os.path.join(work, "trend.apn")
    run = ep.Program(program, work, [], env, display)
    if not run.ok("line chart"):
        return
    if add_line_chart(run, env):
        ep.menu(env, "m", "Down", "Return")  # Animation Mode
        time.sleep(1.5)
        if grow_every_row(run, home, env):
            # The window as it settles once the dialog has gone.
            before = scene_picture(run, home, env, "before-save")
            for _ in range(10):
                time.sleep(1.0)
                again = scene_picture(run, home, env, "before-save-again")
                if differing(before, again, env) == 0:
                    break
                before = scene_picture(run, home, env, "before-save")
            run.menu("a")
            run.dialog("Save As", saved, "Save As")
            if check(ep.wait_until(lambda: os.path.isfile(saved), 20), "Save As wrote no file"):
                chart = ep.block(ep.saved(saved), "lineChart", "Trend") or ""
                times = re.findall(r"startTime\s+(-?\d+)\s+endTime\s+(-?\d+)", chart)
                check(times == [("0", "20")] * len(LINE_VALUES),
                      f"the points grow over {times}, not 0 to 20 each of {len(LINE_VALUES)}")
                tool = os.path.join(work, "tool-0.png")
                out = xh.run([render, saved, "--frame", "0", "-o", tool], env)
                if check(out.returncode == 0, f"kelvano-render: {out.stdout}{out.stderr}"):
                    diff = differing(before, tool, env)
                    check(diff == 0, f"before the save the window is not frame 0 of the file ({diff} pixels)")
                    check(joint_pixels(tool, env) > 20, "kelvano-render shows no joint at frame 0")
                    check(joint_pixels(before, env) > 20, "before the save the first joint is not shown")
                    ep.focus(run.window, env)
                    key(env, "ctrl+o")
                    run.dialog("Open", saved, "Open")
                    # The program stays in animation mode, at frame 0; a
                    # loaded machine draws the opened scene late.
                    diff = -1
                    deadline = time.time() + 20
                    while diff != 0 and time.time() < deadline:
                        time.sleep(1.0)
                        diff = differing(scene_picture(run, home, env, "after-open"), tool, env)
                    check(diff == 0, f"after File > Open the window is not frame 0 of the file ({diff} pixels)")
    run.stop("line chart")
    ep.check_log(work)


def main():
    program, source, render = os.path.abspath(sys.argv[1]), sys.argv[2], os.path.abspath(sys.argv[3])
    program_dir = os.path.dirname(program)
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work, scene, proc, log, window = ep.start_on_sample(program, source, home, env, SAMPLE)
        if window is None:
            return 1
        deadline = time.time() + 60
        scene_win = []
        while not scene_win and time.time() < deadline:
            scene_win = ep.scene_window(window, env)[1]
            time.sleep(0.2)
        time.sleep(2.0)
        if not check(scene_win, "no scene window"):
            ep.stop(proc, display, window, log, env, "chart wizard")
            return 1
        w, h, x, y = scene_win[0]

        listing = ep.show_pane(window, "o", "Obect List", env)
        if check(listing is not None, "View > Object List shows no 'Obect List' pane"):
            time.sleep(0.5)
            spot = ep.first_white(listing, home, env, "list")
            if check(spot is not None, "no list face in the Obect List pane"):
                click_at((spot[0] + 20, spot[1] + 8), env)
                choose_heart(window, program_dir, home, env)
        add_pie(window, (x + w // 2, y + h // 4), env)

        xh.run(["xdotool", "windowfocus", "--sync", str(window)], env)
        text = "\n".join(ep.save_and_read(scene, env, "save"))
        grow = [float(v) for v in re.findall(r"growValue\s+(\S+)", text.split("pieChart", 1)[-1])][:3]
        check(grow == [60.0, 30.0, 10.0], f"the pie's growValues are {grow}, not 60, 30, 10")
        for style in ("StringP001", "StringP002"):
            block = re.search(r'stringProperty\s*\{[^}]*name\s+"' + style + r'"[^}]*\}', text)
            check(block is not None and re.search(r'font\s+"Arial"', block.group(0)),
                  f"no text style {style} in \"Arial\"")
        bars = re.search(r'barChart\s*\{\s*name\s+"bars"\s*file\s+"([^"]*)"', text)
        stored = bars.group(1) if bars else None
        check(stored == "ChartSlices/heart.3ds", f'"bars" has file {stored!r}, not "ChartSlices/heart.3ds"')
        info = xh.run(["assimp", "info", os.path.join(program_dir, "ChartSlices", "heart.3ds")], env)
        check(info.returncode == 0, "assimp cannot open ChartSlices/heart.3ds in the program folder")
        ep.stop(proc, display, window, log, env, "chart wizard")
        ep.check_log(work)
        line_chart_grows_after_reopen(program, render, home, env, display)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
