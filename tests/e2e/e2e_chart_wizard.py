#!/usr/bin/env python3
"""A chart through the new-graph wizard and a cut shape through its chooser,
in the real program under a private X server.

Opens a copy of barchart.apn, picks "bars" in the "Obect List" pane, clicks
the bar page's cut shape picture and double-clicks the heart in the "Cut
Shape" chooser; then Objects > Graph: pie, "Share", 3 items 60, 30 and 30; a
click places it; Ctrl+S. The file holds the pie's growValues 60, 30 and 10,
the text styles StringP001 and StringP002 in "Arial", and "bars" with file
"ChartSlices/heart.3ds", which `assimp info` opens from the program folder.

e2e_chart_wizard.py PROGRAM SOURCE_DIR
"""

import os
import re
import struct
import sys
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


def add_pie(window, scene_spot, env):
    """Objects > Graph, then the three steps by keys, then a click places it."""
    wizard = None
    for _ in range(3):
        xh.run(["xdotool", "windowfocus", "--sync", str(window)], env)
        key(env, "alt+o")
        key(env, "g")
        wizard = xh.wait_for_window("Graph Type Selection", env, timeout=8)
        if wizard is not None:
            break
        key(env, "Escape", "Escape")
    if not check(wizard is not None, "Objects > Graph showed no 'Graph Type Selection'"):
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


def main():
    program, source = os.path.abspath(sys.argv[1]), sys.argv[2]
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
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
