#!/usr/bin/env python3
"""The event tree and the effect list with the real program under a private X server.

A scene of format 2.5 where the event "A" plays "e1" from 0 to 20 and "B" plays
nothing is opened in Animation Mode. In the "Event Tree" e1 is dragged onto B's
"EFFECT" folder and copied ("Copy Effect", OK), then B is dragged onto A. A
double-click on e1 opens the "Effect Editor", and a drag of A feeds it; Add
Effect from the context menu then opens no "Creating Effect" beside it. In the
"Effect List" e1's Move X becomes 5 and is applied, then the editor is closed.
The saved scene holds "e1001" with e1's parts, B playing it from 0 to 20 under
the parent "A", and e1 moving 5 along X: the editor kept the list's Apply.

Then the chart fixture growshrink.apn is opened in Animation Mode; a right
click on the chart chooses "Add Grow/Shrink Effect" from the context menu, and
in "Graph Grow / Shrink Time Setting" the first point, which has no times yet,
gets "+ G" and "+ S", then "Close". The saved chart gives that point the grow
frames 0 to 20 and the shrink frames 41 to 51.

e2e_event_tree.py PROGRAM SOURCE_DIR
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as ep  # noqa: E402
import xvfb_harness as xh  # noqa: E402

WHITE = (255, 255, 255)

failures = ep.failures
check = ep.check

SCENE = """scene {
    name\t"tree"
    width\t580
    height\t392
    version\t250
}

panel {
    name\t"A"
    position\t( -150.000000 0.000000 0.000000 )
    dimension\t( 120.000000 80.000000 10.000000 )
}

panel {
    name\t"B"
    position\t( 150.000000 0.000000 0.000000 )
    dimension\t( 120.000000 80.000000 10.000000 )
}

effect {
    name\t"e1"
    trans\t( 1.000000 2.000000 3.000000 )
    scale\t( 1.500000 1.500000 1.500000 )
}

event {
    name\t"A"
    objectName\t"A"
    play\t( "e1" 0 20 1 )
}

event {
    name\t"B"
    objectName\t"B"
}
"""


def raw(png, env, box):
    """The pixels of a box (x0, y0, x1, y1) of a picture, row by row."""
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    data = subprocess.run(["convert", png, "-crop", f"{w}x{h}+{x0}+{y0}", "+repage", "-depth", "8", "rgb:-"],
                          env=env, capture_output=True).stdout
    return [[tuple(data[(r * w + c) * 3:(r * w + c) * 3 + 3]) for c in range(w)] for r in range(h)]


def accent(p):
    """The theme's selection colour: a saturated blue."""
    return p[2] > 150 and p[0] < 120 and 80 < p[1] < 180


def tree_box(png, env):
    """A box of the event tree around its selected row (the event of the first
    object, selected by Animation Mode): the row is the accent-blue block in
    the window's lower half."""
    rows = raw(png, env, (0, 500, 1280, 1024))
    pts = [(x, y + 500) for y, row in enumerate(rows) for x, p in enumerate(row) if accent(p)]
    if not pts:
        return None
    x0, y0 = min(p[0] for p in pts), min(p[1] for p in pts)
    # The labels end well inside the tree, whose right neighbour is the time line.
    return (max(0, x0 - 60), y0 - 4, x0 + 150, min(1024, y0 + 200))


def highlight(png, env, box):
    """Bounding box of the selected row's highlight (accent blue) in a box."""
    rows = raw(png, env, box)
    pts = [(x, y) for y, row in enumerate(rows) for x, p in enumerate(row) if accent(p)]
    if not pts:
        return None
    xs, ys = [p[0] for p in pts], [p[1] for p in pts]
    return (box[0] + min(xs), box[1] + min(ys), box[0] + max(xs), box[1] + max(ys))


def rows_of_tree(env, home, box, count):
    """Points on the first count rows' labels: the selected row by its
    highlight, the others by the last dark (text) pixels of each band of rows
    that hold text."""
    png = ep.screenshot(home, "tree", env)
    first = highlight(png, env, box)
    if not check(first is not None, "no selected row in the tree"):
        return None
    centres = [((first[0] + first[2]) // 2, (first[1] + first[3]) // 2)]
    # Left of the first label only its expander: the pane's gripper stays out.
    left, top = first[0] - 30, first[3] + 2
    rows = raw(png, env, (left, top, box[2], box[3]))
    band = None
    for y, row in enumerate(rows + [[WHITE]]):
        dark = [x for x, p in enumerate(row) if sum(p) < 300]
        if dark and band is None:
            band = [y, y, max(dark)]
        elif dark:
            band[1], band[2] = y, max(band[2], max(dark))
        elif band is not None:
            centres.append((left + band[2] - 3, top + (band[0] + band[1]) // 2))
            band = None
    check(len(centres) >= count, f"{len(centres)} rows of text in the tree, not {count}")
    return centres[:count] if len(centres) >= count else None


def tree_drag(env, start, end, steps=12):
    ep.xdo(env, "mousemove", *start)
    time.sleep(0.3)
    ep.xdo(env, "mousedown", 1)
    time.sleep(0.2)
    for i in range(1, steps + 1):
        ep.xdo(env, "mousemove", start[0] + (end[0] - start[0]) * i // steps,
               start[1] + (end[1] - start[1]) * i // steps)
        time.sleep(0.08)
    time.sleep(0.3)
    ep.xdo(env, "mouseup", 1)
    time.sleep(0.8)


def chart_point(png, env, scene):
    """A point on the chart in the scene window: the middle pixel of those far
    from the new scene's background, or None."""
    w, h, sx, sy = scene
    rows = raw(png, env, (sx, sy, sx + w, sy + h))
    pts = [(x, y) for y, row in enumerate(rows) for x, p in enumerate(row)
           if sum(abs(a - b) for a, b in zip(p, ep.BACKGROUND)) > 90]
    if len(pts) < 50:
        return None
    pts.sort()
    x, y = pts[len(pts) // 2]
    return sx + x, sy + y


def data_blocks(text, chart):
    """The data blocks of a chart in a saved scene, in order."""
    m = re.search(r'barChart\s*\{\s*name\s+"' + chart + r'"(.*?)\n\}', text, re.S)
    return re.findall(r"data\s*\{(.*?)\}", m.group(1), re.S) if m else []


def grow_shrink(program, source, display, home, env):
    """+ G and + S on an untimed point of a chart through its context menu."""
    work = tempfile.mkdtemp(prefix="chart-", dir=home)
    scene_path = os.path.join(work, "growshrink.apn")
    shutil.copy(os.path.join(source, "tests", "animation", "growshrink.apn"), scene_path)
    proc, log = ep.start(program, work, [scene_path], env)
    window = xh.wait_for_window(ep.TITLE, env, timeout=60)
    if not check(window is not None, "grow/shrink: no main window"):
        proc.kill()
        return
    ep.wait_gone("Kelvano", env, timeout=20)
    time.sleep(1.0)
    ep.menu(env, "m", "Down", "Return")
    time.sleep(1.5)

    at = None
    deadline = time.time() + 60
    while at is None and time.time() < deadline:
        scene = ep.scene_window(window, env)[1]
        if scene:
            at = chart_point(ep.screenshot(home, "chart", env), env, scene[0])
        if at is None:
            time.sleep(0.5)
    if not check(at is not None, "grow/shrink: the chart never showed"):
        ep.stop(proc, display, window, log, env, "grow/shrink")
        ep.check_log(work)
        return

    xh.run(["xdotool", "mousemove", "--sync", str(at[0]), str(at[1])], env)
    time.sleep(0.3)
    xh.run(["xdotool", "click", "3"], env)
    time.sleep(1.0)
    # The animation popup's last entry.
    xh.run(["xdotool", "key", "--delay", "80", "End", "Return"], env)
    dialog = xh.wait_for_window(r"\[ bars \] - Grow / Shrink Time Setting", env, timeout=20)
    if check(dialog is not None, "grow/shrink: the context menu opened no Grow / Shrink Time Setting"):
        time.sleep(1.0)
        x, y, _, _ = ep.geometry(dialog, env)
        # + G is 53 x 25 at (435, 7); + S, right of it, is reached from the
        # Duration edit at (363, 7) with Tab past the then disabled + G.
        ep.click(env, x + 461, y + 19)
        time.sleep(0.5)
        ep.click(env, x + 390, y + 20)
        ep.xdo(env, "key", "Tab")
        time.sleep(0.4)
        ep.xdo(env, "key", "space")
        time.sleep(0.5)
        ep.screenshot(home, "grow-shrink", env)
        ep.click(env, x + 549, y + 209)  # "Close"
        ep.wait_gone(r"\[ bars \] - Grow / Shrink Time Setting", env, timeout=15)
        check(not xh.run(["xdotool", "search", "--onlyvisible", "--name", "Grow / Shrink Time Setting"],
                         env).stdout.strip(), "grow/shrink: Close left the dialog open")

    ep.xdo(env, "windowfocus", "--sync", window)
    time.sleep(0.5)
    before_save = os.path.getmtime(scene_path)
    text = ep.save_and_read_text(env, scene_path, before_save)
    check(os.path.getmtime(scene_path) != before_save, "grow/shrink: Ctrl+S did not save")
    blocks = data_blocks(text, "bars")
    if check(len(blocks) == 8, f"grow/shrink: {len(blocks)} data points in the saved chart, not 8:\n" + text):
        first = blocks[0]
        want = {"startTime": 0, "endTime": 20, "shrinkStart": 41, "shrinkEnd": 51}
        got = {k: (int(m.group(1)) if (m := re.search(k + r"\s+(-?\d+)", first)) else None) for k in want}
        check(got == want, f"grow/shrink: the first point holds {got}, not {want}:\n" + first)
        check(re.search(r'label\s+"P1"', first) is not None, "grow/shrink: the first point is not P1:\n" + first)
    ep.stop(proc, display, window, log, env, "grow/shrink")
    ep.check_log(work)


def main():
    program, source = os.path.abspath(sys.argv[1]), sys.argv[2]
    missing = ep.missing_tool_exit("xdotool", "convert")
    if missing is not None:
        return missing
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work = tempfile.mkdtemp(prefix="work-", dir=home)
        scene_path = os.path.join(work, "tree.apn")
        with open(scene_path, "w") as f:
            f.write(SCENE)
        proc, log = ep.start(program, work, [scene_path], env)
        window = ep.main_window(proc, work, env)
        if window is None:
            log.close()
            return 1
        ep.wait_gone("Kelvano", env, timeout=20)
        time.sleep(1.0)

        ep.menu(env, "m", "Down", "Return")
        time.sleep(1.5)
        box = tree_box(ep.screenshot(home, "animation-mode", env), env)
        if not check(box is not None, "no event tree after Animation Mode"):
            ep.stop(proc, display, window, log, env, "event tree")
            ep.check_log(work)
            return 1
        # A, its object, EFFECT, e1, B, its object, EFFECT.
        rows = rows_of_tree(env, home, box, 7)
        if rows:
            tree_drag(env, rows[3], rows[6])
            dialog = xh.wait_for_window("Copy Option", env, timeout=15)
            if check(dialog is not None, "no \"Copy Option\" after dropping e1 on B's EFFECT"):
                ep.xdo(env, "windowfocus", "--sync", dialog)
                ep.xdo(env, "key", "Up")
                time.sleep(0.4)
                ep.screenshot(home, "copy-option", env)
                ep.xdo(env, "key", "Return")
                ep.wait_gone("Copy Option", env)
                time.sleep(0.8)
            # B (row 4) onto A (row 0).
            tree_drag(env, rows[4], rows[0])

        # The Effect Editor on e1 (its row stays: B went below A's own items),
        # given a drag of A from empty space, straight along X.
        kids, scene = ep.scene_window(window, env)
        editor = None
        if rows and scene:
            w, h, sx, sy = scene[0]
            ep.xdo(env, "mousemove", "--sync", *rows[3])
            ep.xdo(env, "click", "--repeat", "2", "--delay", "120", "1")
            editor = xh.wait_for_window("Effect Editor", env, timeout=15)
            if check(editor is not None, "a double-click on e1 opened no \"Effect Editor\""):
                ep.xdo(env, "windowmove", editor, 900, 40)
                time.sleep(0.5)
                ep.xdo(env, "mousemove", sx + w // 2, sy + 20)
                time.sleep(0.2)
                ep.xdo(env, "mousedown", "1")
                for i in range(1, 7):
                    ep.xdo(env, "mousemove", sx + w // 2 + 5 * i, sy + 20)
                    time.sleep(0.08)
                ep.xdo(env, "mouseup", "1")
                time.sleep(0.5)
                # Add Effect from the context menu: the editor holds the mode.
                ep.xdo(env, "mousemove", sx + w // 2, sy + 20)
                ep.xdo(env, "click", "3")
                time.sleep(1.0)
                ep.key_slowly(env, "e")
                check(xh.wait_for_window("Creating Effect", env, timeout=3) is None,
                      "Add Effect opened \"Creating Effect\" beside the Effect Editor")
                check(ep.visible("Effect Editor", env), "Add Effect closed the Effect Editor")

        # The Effect List: e1, Move X 5, Apply.
        # The tree keeps typed letters for itself: the keys go to the scene
        # window's grey surround first.
        if scene:
            w, h, sx, sy = scene[0]
            ep.click(env, sx + w + 40, sy + h // 2)
        ep.menu(env, "v", "f")
        time.sleep(1.0)
        ep.screenshot(home, "effect-list-shown", env)
        effects = xh.wait_for_window("Effect List", env, timeout=15)
        if check(effects is not None, "no Effect List"):
            x, y, _, _ = ep.geometry(effects, env)
            ep.click(env, x + 30, y + 12)
            ep.xdo(env, "windowfocus", "--sync", effects)
            time.sleep(0.3)
            ep.xdo(env, "key", "Tab")
            ep.xdo(env, "key", "Tab")
            ep.clear_field(env)
            ep.xdo(env, "type", "5")
            time.sleep(0.3)
            for _ in range(14):
                ep.xdo(env, "key", "Tab")
                time.sleep(0.05)
            ep.screenshot(home, "effect-list", env)
            ep.xdo(env, "key", "space")
            time.sleep(0.8)
        # Its Close keeps what the list applied.
        if editor is not None:
            ep.xdo(env, "windowfocus", "--sync", editor)
            ep.xdo(env, "key", "Escape")
            check(ep.wait_gone("Effect Editor", env), "Escape left the Effect Editor open")

        # Ctrl+S belongs to the main window.
        ep.xdo(env, "windowfocus", "--sync", window)
        if scene:
            ep.click(env, sx + w + 40, sy + h // 2)

        before_save = os.path.getmtime(scene_path)
        text = ep.save_and_read_text(env, scene_path, before_save)
        m = re.search(r'effect\s*\{\s*name\s+"e1001"(.*?)\}', text, re.S)
        if check(m is not None, "no effect e1001 in the saved scene:\n" + text):
            check(re.search(r"trans\s+\(\s*1\.0+ 2\.0+ 3\.0+\s*\)", m.group(1)) is not None and
                  re.search(r"scale\s+\(\s*1\.50+ 1\.50+ 1\.50+\s*\)", m.group(1)) is not None,
                  "e1001 lacks e1's parts:\n" + m.group(0))
        b = re.search(r'event\s*\{\s*name\s+"B"(.*?)\}', text, re.S)
        if check(b is not None, "no event B"):
            check(re.search(r'play\s+\(\s*"e1001"\s+0\s+20\s+1\s*\)', b.group(1)) is not None,
                  "B does not play e1001 from 0 to 20:\n" + b.group(0))
            check(re.search(r'parent\s+"A"', b.group(1)) is not None, "B's parent is not A:\n" + b.group(0))
        e1 = re.search(r'effect\s*\{\s*name\s+"e1"(.*?)\}', text, re.S)
        check(e1 is not None and re.search(r"trans\s+\(\s*5\.0+ 2\.0+ 3\.0+\s*\)", e1.group(1)) is not None,
              "e1 does not move 5 along X:\n" + (e1.group(0) if e1 else text))

        ep.stop(proc, display, window, log, env, "event tree")
        ep.check_log(work)

        grow_shrink(program, source, display, home, env)
    if failures:
        print(f"{len(failures)} failure(s)")
        return 1
    print("event tree: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
