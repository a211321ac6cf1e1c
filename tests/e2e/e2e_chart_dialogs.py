#!/usr/bin/env python3
"""The chart dialogs, Delete Column and Help through the real program.

Opens a copy of barchart.apn, double-clicks the second bar and types Height
250 into "Graph Data" (Enter is OK); the context menu's Label Property Dialog
gets size 48 and, with the mouse, the colour of the chooser's second swatch
("barBlue": a click on the Material swatch, on the swatch, on the chooser's
OK, then on the dialog's OK); a click on the third bar and Delete Column from
the context menu; Ctrl+S. The file then holds the second bar at 250, the
others unchanged, one data block fewer, the chart's label style of size 48 and
its label material "barBlue". Help > Contents hands the help page's file URL
to a recording browser (the text/html handler, xdg-open and $BROWSER all
record; a desktop handler gets a local file URL as its path). Last, under a
window manager (openbox), the label colour again through the same clicks: a
modeless chooser beside the modal dialog took no click there.

e2e_chart_dialogs.py PROGRAM SOURCE_DIR
"""

import os
import re
import shutil
import subprocess
import sys
import time
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as ep  # noqa: E402
import xvfb_harness as xh  # noqa: E402
from e2e_support import recording_browser  # noqa: E402

SAMPLE = "barchart.apn"
failures = ep.failures
check = ep.check
key = ep.key_slowly


def bar_columns(png, x, y, env):
    """Screen x of the middle of each bar, left to right, from a row that cuts all four."""
    for row in range(380, 200, -4):
        line = ep.pixels(png, x, y + row, 580, 1, env)
        runs, start = [], None
        for i, (r, g, b) in enumerate(line + [(0, 0, 0)]):
            blue = b > 110 and b > 1.6 * r and b > g + 20
            if blue and start is None:
                start = i
            elif not blue and start is not None:
                if i - start >= 6:
                    runs.append((start + i) // 2)
                start = None
        if len(runs) == 4:
            return [x + c for c in runs], y + row
    return None, None


def find_bars(window, home, env, timeout=120):
    """The bars' columns and row once the scene shows them, else (None, None)."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        scene_win = ep.scene_window(window, env)[1]
        if scene_win:
            w, h, x, y = scene_win[0]
            columns, row = bar_columns(screen(home, env), x, y, env)
            if columns is not None:
                return columns, row
        time.sleep(0.5)
    return None, None


def popup_choose(env, at, keys):
    """Right click at a point, then the keys that choose in the popup."""
    xh.run(["xdotool", "mousemove", "--sync", str(at[0]), str(at[1])], env)
    time.sleep(0.3)
    xh.run(["xdotool", "click", "3"], env)
    time.sleep(1.0)
    key(env, *keys)


def blocks(text):
    chart = re.search(r"barChart\s*\{(.*)\n\}", text, re.S)
    body = chart.group(1) if chart else ""
    values = [float(v) for v in re.findall(r"growValue\s+(\S+)", body)]
    labels = re.findall(r'\blabel\s+"([^"]*)"', body)
    style = re.search(r'labelString\s+"([^"]*)"', body)
    sizes = {}
    for m in re.finditer(r"stringProperty\s*\{(.*?)\n\}", text, re.S):
        name = re.search(r'name\s+"([^"]*)"', m.group(1))
        size = re.search(r"\bsize\s+(\S+)", m.group(1))
        if name and size:
            sizes[name.group(1)] = float(size.group(1))
    return values, labels, style.group(1) if style else None, sizes


def label_material(path):
    """The chart's label material and that material's diffuse colour in a saved scene."""
    with open(path) as f:
        text = f.read()
    name = re.search(r'labelMaterial\s+"([^"]*)"', text)
    if not name:
        return None, None
    for m in re.finditer(r"material\s*\{(.*?)\n\}", text, re.S):
        if re.search(r'name\s+"' + re.escape(name.group(1)) + '"', m.group(1)):
            diffuse = re.search(r"diffuse\s+\(\s*(\S+) (\S+) (\S+)\s*\)", m.group(1))
            return name.group(1), tuple(float(v) for v in diffuse.groups()) if diffuse else None
    return name.group(1), None


INK = (229, 229, 229)  # the label material "ink" (0.9 grey) on the dialog's swatch
BAR_BLUE = (0.2, 0.45, 0.95)  # the diffuse colour of "barBlue", the chooser's second swatch


def screen(home, env):
    shot = os.path.join(home, "screen.png")
    xh.run(["import", "-window", "root", shot], env)
    return shot


def bottom_left_button(shot, window, env):
    """The left button of a window's bottom row (OK beside Cancel)."""
    x, y, w, h = ep.geometry(window, env)
    boxes = ep.framed_boxes(shot, x, y, w, h, env)
    if not boxes:
        return None
    last = max(b[1] for b in boxes)
    bx, by, bw = min((b for b in boxes if last - b[1] <= 4), key=lambda b: b[0])
    return bx + bw // 2, by


def colour_labels(env, home, label):
    """In the open Label dialog, with the mouse only: the Material swatch, the
    chooser's second swatch and its OK, then the dialog's OK."""
    x, y, w, h = ep.geometry(label, env)
    rows = {}
    for i, p in enumerate(ep.pixels(screen(home, env), x, y, w, h, env)):
        if p == INK:
            rows.setdefault(i // w, []).append(i % w)
    face = [r for r, cols in rows.items() if len(cols) >= 20]
    if not check(face, "the Label dialog shows no swatch of the label material"):
        return
    row = sorted(face)[len(face) // 2]
    cols = sorted(rows[row])
    ep.click(env, x + cols[len(cols) // 2], y + row)
    chooser = xh.wait_for_window("Color", env, timeout=15)
    if not check(chooser is not None, "the Material swatch opened no 'Color' chooser"):
        return
    time.sleep(0.8)
    cx, cy, cw, ch = ep.geometry(chooser, env)
    # The 160-pixel grid stands 10 pixels into the chooser, newest first:
    # "ink", then "barBlue".
    ep.click(env, cx + 10 + 60, cy + 10 + 20)
    time.sleep(0.5)
    buttons = ep.framed_boxes(screen(home, env), cx + 180, cy, cw - 180, ch, env)
    if check(buttons, "no buttons in the chooser"):
        ok = buttons[0]
        ep.click(env, ok[0] + ok[2] // 2, ok[1])
    check(ep.wait_gone("Color", env, timeout=10), "the chooser's OK left it open: it took no click")
    check(ep.visible("Label String Property", env), "the chooser took the Label dialog with it")
    time.sleep(0.5)
    ok = bottom_left_button(screen(home, env), label, env)
    if check(ok is not None, "no OK in the Label dialog"):
        ep.click(env, *ok)
    check(ep.wait_gone("Label String Property", env, timeout=10), "OK did not close the Label dialog")


def check_label_colour(scene, what):
    name, diffuse = label_material(scene)
    check(diffuse is not None and all(abs(a - b) < 1e-4 for a, b in zip(diffuse, BAR_BLUE)),
          f"{what}: the saved label material is {name} {diffuse}, not barBlue {BAR_BLUE}")


def main():
    program, source = os.path.abspath(sys.argv[1]), sys.argv[2]
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        record = os.path.join(home, "browser.txt")
        bindir, script = recording_browser(home, record)
        env["PATH"] = bindir + os.pathsep + env.get("PATH", "")
        env["BROWSER"] = script
        env["XDG_DATA_HOME"] = os.path.join(home, ".local", "share")
        work, scene, proc, log, window = ep.start_on_sample(program, source, home, env, SAMPLE)
        if window is None:
            return 1
        columns, row = find_bars(window, home, env)
        if not check(columns is not None, "the four bars never showed"):
            ep.stop(proc, display, window, log, env, "chart dialogs")
            return 1
        second, third = (columns[1], row), (columns[2], row)

        # Graph Data on the second bar: Label, Value, then Height.
        xh.run(["xdotool", "mousemove", "--sync", str(second[0]), str(second[1])], env)
        xh.run(["xdotool", "click", "--repeat", "2", "--delay", "120", "1"], env)
        data = xh.wait_for_window("Graph Data", env, timeout=15)
        if check(data is not None, "a double-click on the second bar opened no 'Graph Data'"):
            xh.run(["xdotool", "windowfocus", "--sync", str(data)], env)
            time.sleep(0.5)
            key(env, "Tab", "Tab", "ctrl+a")
            xh.run(["xdotool", "type", "--delay", "60", "250"], env)
            key(env, "Return")
            check(ep.wait_gone("Graph Data", env, timeout=10), "Enter did not close 'Graph Data'")

        # The label style from the context menu (its last items: Label, Value, Graph Data).
        popup_choose(env, second, ["End", "Up", "Up", "Return"])
        label = xh.wait_for_window("Label String Property", env, timeout=15)
        if check(label is not None, "the context menu opened no 'Label String Property'"):
            xh.run(["xdotool", "windowfocus", "--sync", str(label)], env)
            time.sleep(0.5)
            # Show, Italic, the Font combo's entry and button, Origin, then Size.
            key(env, "Tab", "Tab", "Tab", "Tab", "Tab", "ctrl+a")
            xh.run(["xdotool", "type", "--delay", "60", "48"], env)
            colour_labels(env, home, label)

        # A click on the third bar, then Delete Column (the popup's second item).
        xh.run(["xdotool", "mousemove", "--sync", str(third[0]), str(third[1]), "click", "1"], env)
        time.sleep(0.6)
        popup_choose(env, third, ["Down", "Down", "Return"])
        time.sleep(0.8)

        before = os.stat(scene).st_mtime_ns
        xh.run(["xdotool", "windowfocus", "--sync", str(window)], env)
        key(env, "ctrl+s")
        deadline = time.time() + 20
        while time.time() < deadline and os.stat(scene).st_mtime_ns == before:
            time.sleep(0.2)
        with open(scene) as f:
            values, labels, style, sizes = blocks(f.read())
        check(values == [60.0, 250.0, 180.0], f"saved growValues {values}, not [60, 250, 180]")
        check(labels == ["Q1", "Q2", "Q4"], f"saved labels {labels}, not Q1 Q2 Q4")
        check(style is not None and sizes.get(style) == 48.0, f"label style {style} has size {sizes.get(style)}")
        check_label_colour(scene, "without a window manager")

        # Help > Contents.
        xh.run(["xdotool", "windowfocus", "--sync", str(window)], env)
        key(env, "alt+h")
        key(env, "c")
        deadline = time.time() + 20
        while time.time() < deadline and not os.path.exists(record):
            time.sleep(0.2)
        time.sleep(0.5)
        urls = open(record).read().split() if os.path.exists(record) else []
        # Desktop handlers get a local file URL as its path.
        page = os.path.realpath(os.path.join(os.path.dirname(os.path.realpath(program)), "help", "klvhelp.htm"))
        got = urls[0] if urls else ""
        got_path = urllib.parse.unquote(got[len("file://"):]) if got.startswith("file://") else got
        check(got and os.path.realpath(got_path) == page, f"the browser got {urls}, not the page {page}")
        check(os.path.isfile(os.path.join(os.path.dirname(os.path.realpath(program)), "help", "klvhelp.htm")),
              "the help page is not beside the program")

        ep.stop(proc, display, window, log, env, "chart dialogs")
        ep.check_log(work)
    under_window_manager(program, source)
    return 1 if failures else 0


def under_window_manager(program, source):
    """The label colour as on a user's desktop: openbox frames the windows."""
    if not shutil.which("openbox"):
        check(not os.environ.get("CI"), "openbox is not installed")
        print("SKIP: openbox is not installed")
        return
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        manager = subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            time.sleep(1.0)
            work, scene, proc, log, window = ep.start_on_sample(program, source, home, env, SAMPLE)
            if window is None:
                return
            columns, row = find_bars(window, home, env)
            if check(columns is not None, "under a window manager: the four bars never showed"):
                popup_choose(env, (columns[1], row), ["End", "Up", "Up", "Return"])
                label = xh.wait_for_window("Label String Property", env, timeout=15)
                if check(label is not None, "under a window manager: no 'Label String Property'"):
                    time.sleep(0.5)
                    colour_labels(env, home, label)
                    xh.run(["xdotool", "windowfocus", "--sync", str(window)], env)
                    ep.save_and_read(scene, env, "under a window manager")
                    check_label_colour(scene, "under a window manager")
            ep.stop(proc, display, window, log, env, "chart dialogs under a window manager")
            ep.check_log(work)
        finally:
            manager.terminate()
            manager.wait(timeout=10)


if __name__ == "__main__":
    sys.exit(main())
