#!/usr/bin/env python3
"""Editing one object leaves the others alone, in the real program under a
private X server.

New; Objects > Graph through the wizard's steps, put down with a click left of
the middle; T, "Title" typed into the "Text" dialog, put down right of the
middle; on the text page the Name edit's text is selected with Ctrl+A and
"Heading" typed over it; saved. Then the title is dragged in the view and
saved again: only the title's position changed, the chart's position and scale
are as they were. One Ctrl+Z and a save give the first save back.

e2e_selection.py PROGRAM SOURCE_DIR
"""

import os
import re
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as ep  # noqa: E402
import xvfb_harness as xh  # noqa: E402

failures = ep.failures
check = ep.check


def blocks(text):
    """{name: lines} of every top-level block with a name."""
    found = {}
    for m in re.finditer(r"^(\w+) \{\n(.*?)\n\}", text, re.S | re.M):
        name = re.search(r'^\s*name\s+"([^"]*)"$', m.group(2), re.M)
        if name:
            found[(m.group(1), name.group(1))] = m.group(2)
    return found


def placement(lines):
    """The position and scale lines of a block."""
    return [line.strip() for line in lines.splitlines() if re.match(r"\s*(position|scale)\s", line)]


def saved(path, before, env):
    ep.key(env, "ctrl+s")
    if not check(ep.rewritten(path, before), "Ctrl+S wrote nothing"):
        return None
    time.sleep(0.3)
    with open(path) as f:
        return f.read()


def drawn_spot(before, after, x, y, w, h, env):
    """A pixel of the scene window that the second picture shows otherwise."""
    old = ep.pixels(before, x, y, w, h, env)
    new = ep.pixels(after, x, y, w, h, env)
    changed = [i for i, (a, b) in enumerate(zip(old, new)) if not ep.close(a, b, 12)]
    if len(old) != w * h or len(new) != w * h or not changed:
        return None
    # The middle one of the changed pixels in reading order lies on the text.
    i = changed[len(changed) // 2]
    return x + i % w, y + i // w


def add_graph(run, at, env):
    """G, the wizard's three steps with their proposals, a click puts it down."""
    ep.key(env, "g")
    for title in ("Graph Type Selection", "Graph Name", "Input Graph Data"):
        if not check(ep.wait_until(lambda: ep.visible(title, env), 30), f"G showed no '{title}'"):
            return False
        time.sleep(0.8)
        found = xh.run(["xdotool", "search", "--onlyvisible", "--name", "^" + title + "$"], env).stdout.split()
        if found:
            xh.run(["xdotool", "windowfocus", "--sync", found[0]], env)
        ep.key(env, "Return")
        check(ep.wait_gone(title, env, 15), f"Return left '{title}' open")
    time.sleep(0.8)
    xh.run(["xdotool", "mousemove", "--sync", str(at[0]), str(at[1]), "click", "1"], env)
    time.sleep(0.8)
    return True


def main():
    program, source = os.path.abspath(sys.argv[1]), sys.argv[2]
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work = tempfile.mkdtemp(prefix="work-", dir=home)
        path = os.path.join(work, "edits.apn")
        run = ep.Program(program, work, [], env, display)
        if not run.ok("selection"):
            return 1
        w, h, x, y = run.scene
        cx, cy = x + w // 2, y + h // 2
        # The view takes the keyboard with a click on empty background.
        xh.run(["xdotool", "mousemove", "--sync", str(x + 20), str(y + 20), "click", "1"], env)
        time.sleep(0.5)
        ep.key(env, "ctrl+n")
        time.sleep(1.0)
        empty = os.path.join(home, "empty.png")
        xh.run(["import", "-window", "root", empty], env)
        if add_graph(run, (cx - 150, cy + 60), env):
            with_chart = os.path.join(home, "chart.png")
            xh.run(["import", "-window", "root", with_chart], env)
            if ep.add_text(env, "Title", (cx + 120, cy - 90), settle=0.8):
                with_text = os.path.join(home, "text.png")
                xh.run(["import", "-window", "root", with_text], env)
                title = drawn_spot(with_chart, with_text, x, y, w, h, env)
                check(title is not None, "the placed text shows nowhere")
                # The text page's Name edit: its text replaced as in any box.
                fx, _, _, _ = ep.geometry(run.window, env)
                spot = ep.name_edit(fx, y, max(1, x - fx - 10), 250, with_text, env)
                if title and check(spot is not None, "no Name edit found in the Edit Box"):
                    xh.run(["xdotool", "mousemove", "--sync", str(spot[0]), str(spot[1]), "click", "1"], env)
                    time.sleep(0.5)
                    ep.key(env, "ctrl+a")
                    ep.typed(env, "Heading")
                    ep.key(env, "Return")
                    ep.key(env, "ctrl+s")
                    if run.dialog("Save As", path, "selection") and ep.wait_until(lambda: os.path.isfile(path)):
                        time.sleep(0.5)
                        with open(path) as f:
                            first = f.read()
                        placed = blocks(first)
                        check(("string", "Heading") in placed,
                              "Ctrl+A and typing in the Name edit did not rename the text to 'Heading': "
                              + str(sorted(placed)))
                        # The drag, from a pixel of the text, in steps.
                        tx, ty = title
                        xh.run(["xdotool", "mousemove", "--sync", str(tx), str(ty), "mousedown", "1"], env)
                        for step in range(1, 7):
                            xh.run(["xdotool", "mousemove", "--sync", str(tx + 10 * step), str(ty + 5 * step)], env)
                            time.sleep(0.05)
                        xh.run(["xdotool", "mouseup", "1"], env)
                        time.sleep(0.5)
                        second = saved(path, ep.identity(path), env)
                        ep.key(env, "ctrl+z")
                        third = saved(path, ep.identity(path), env)
                        if second is not None and third is not None:
                            dragged, undone = blocks(second), blocks(third)
                            moved = [k for k in placed if k in dragged and placement(placed[k]) != placement(dragged[k])]
                            check(moved == [("string", "Heading")],
                                  f"the drag moved {moved}, not the title alone")
                            charts = [k for k in placed if k[0].endswith("Chart")]
                            check(len(charts) == 1, f"one chart expected in the file, found {charts}")
                            for k in charts:
                                check(k in dragged and placement(dragged[k]) == placement(placed[k]),
                                      f"the chart's position or scale changed: {placement(dragged.get(k, ''))}")
                            check(third == first, "one Ctrl+Z did not give the placed scene back")
        run.stop("selection")
        ep.check_log(work)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
