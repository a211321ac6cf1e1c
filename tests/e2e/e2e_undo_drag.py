#!/usr/bin/env python3
"""Keys pressed during a drag wait for it, and Ctrl+Z and Ctrl+Y then undo and
redo exactly the drag, in the real program under a private X server.

The program starts on a copy of titles.apn and saves it as it is. The text
"heading" is clicked (it becomes the selection) and then dragged with the
button held; during the drag Delete, Ctrl+Z and Ctrl+X are pressed, and the
drag goes on after them. The save after the release still holds every object,
and it differs from the first save in the heading's position alone. Ctrl+Z and
a save give the first save back byte for byte; Ctrl+Y and a save give the
dragged one.

e2e_undo_drag.py PROGRAM SOURCE_DIR
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

failures = ep.failures
check = ep.check


def save(path, env, what):
    """Ctrl+S into the scene's own file; its new text, or None."""
    before = ep.identity(path)
    for _ in range(4):
        ep.key_slowly(env, "ctrl+s")
        if ep.rewritten(path, before, 10):
            time.sleep(0.3)
            return ep.saved(path)
    check(False, what + ": Ctrl+S did not save the scene")
    return None


def without_block(text, kind, name):
    """The text with the named block taken out, and that block."""
    for m in re.finditer(r"^" + kind + r" \{\n(.*?)\n\}\n", text, re.S | re.M):
        if re.search(r'^\s*name\s+"' + re.escape(name) + '"$', m.group(1), re.M):
            return text[:m.start()] + text[m.end():], m.group(1)
    return text, None


def heading_spot(png, scene, env):
    """A pixel of the scene window that is not the background: the heading's."""
    w, h, x, y = scene
    drawn = [i for i, p in enumerate(ep.pixels(png, x, y, w, h // 2, env))
             if not ep.close(p, ep.SAMPLE_BACKGROUND, 24)]
    if not drawn:
        return None
    i = drawn[len(drawn) // 2]
    return x + i % w, y + i // w


def main():
    program, source = os.path.abspath(sys.argv[1]), sys.argv[2]
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work = tempfile.mkdtemp(prefix="work-", dir=home)
        path = os.path.join(work, "titles.apn")
        shutil.copyfile(os.path.join(source, "data", "scenes", "titles.apn"), path)
        run = ep.Program(program, work, [path], env, display)
        if not run.ok("undo drag"):
            return 1
        w, h, x, y = run.scene
        # The view takes the keyboard with a click on empty background.
        ep.click(env, x + 15, y + h - 15)
        first = save(path, env, "the opened scene")
        png = os.path.join(home, "opened.png")
        run.shot(png)
        spot = heading_spot(png, run.scene, env)
        if first is not None and check(spot is not None, "the heading shows nowhere in the view"):
            sx, sy = spot
            ep.click(env, sx, sy)  # the first click selects
            xh.run(["xdotool", "mousemove", "--sync", str(sx), str(sy), "mousedown", "1"], env)
            time.sleep(0.3)
            for step in range(1, 4):
                xh.run(["xdotool", "mousemove", "--sync", str(sx + 12 * step), str(sy + 6 * step)], env)
                time.sleep(0.1)
            # Keys that would delete, undo or cut while the button is held.
            ep.key(env, "Delete", "ctrl+z", "ctrl+x", pause=0.5)
            for step in range(4, 7):
                xh.run(["xdotool", "mousemove", "--sync", str(sx + 12 * step), str(sy + 6 * step)], env)
                time.sleep(0.1)
            xh.run(["xdotool", "mouseup", "1"], env)
            time.sleep(0.5)
            dragged = save(path, env, "after the drag")
            if dragged is not None:
                rest_before, heading_before = without_block(first, "string", "heading")
                rest_after, heading_after = without_block(dragged, "string", "heading")
                check(heading_after is not None, "the heading was deleted or cut during the drag")
                check(ep.block(dragged, "panel", "bar") is not None, "the panel 'bar' is gone after the drag")
                check(heading_before != heading_after, "the drag did not move the heading")
                check(rest_before == rest_after, "the drag changed more than the heading's block")
                if heading_before and heading_after:
                    moved = [a for a, b in zip(heading_before.splitlines(), heading_after.splitlines()) if a != b]
                    check(len(moved) == 1 and moved[0].strip().startswith("position"),
                          f"the heading changed otherwise than in its position: {moved}")
                ep.key(env, "ctrl+z", pause=0.6)
                undone = save(path, env, "after Ctrl+Z")
                check(undone == first, "Ctrl+Z did not give the opened scene back")
                ep.key(env, "ctrl+y", pause=0.6)
                redone = save(path, env, "after Ctrl+Y")
                check(redone == dragged, "Ctrl+Y did not give the dragged scene back")
        run.stop("undo drag")
        ep.check_log(work)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
