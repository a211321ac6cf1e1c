#!/usr/bin/env python3
"""The chart dialogs, Delete Column and Help through the real program.

Opens a copy of barchart.apn, double-clicks the second bar and types Height
250 into "Graph Data" (Enter is OK); the context menu's Label Property Dialog
gets size 48 (Enter in the Size combo is OK); a click on the third bar and
Delete Column from the context menu; Ctrl+S. The file then holds the second
bar at 250, the others unchanged, one data block fewer, and the chart's label
style of size 48. Help > Contents hands the help page's file URL to a
recording browser (the text/html handler, xdg-open and $BROWSER all record;
a desktop handler gets a local file URL as its path).

e2e_chart_dialogs.py PROGRAM SOURCE_DIR
"""

import os
import re
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
        columns = None
        deadline = time.time() + 90
        while columns is None and time.time() < deadline:
            scene_win = ep.scene_window(window, env)[1]
            if scene_win:
                w, h, x, y = scene_win[0]
                shot = os.path.join(home, "start.png")
                xh.run(["import", "-window", "root", shot], env)
                columns, row = bar_columns(shot, x, y, env)
            if columns is None:
                time.sleep(0.5)
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
            key(env, "Return")
            check(ep.wait_gone("Label String Property", env, timeout=10), "Enter in the Size combo did not close the dialog")

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
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
