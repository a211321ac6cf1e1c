#!/usr/bin/env python3
"""The Obect List and the floating Transformation bar of the real program
under a private X server.

A sample scene is opened and saved once. "bar" is picked in the "Obect List"
pane (the first of the sorted names); 7 and Enter typed into position X of
the floating "Transformation" pane; saved again: the file differs from the
first save only in bar's x (7.000000). Ctrl+Z with the focus still in the
pane and a save bring the first save back, bar's event keeping its own name.

e2e_property_bar.py PROGRAM SOURCE_DIR
"""

import os
import re
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as ep  # noqa: E402
import xvfb_harness as xh  # noqa: E402
from e2e_support import first_white, point_at, save_and_read, show_pane  # noqa: E402

SAMPLE = "titles.apn"
failures = ep.failures
check = ep.check
key = ep.key_slowly


def position(line):
    m = re.match(r"\s*position\s+\(\s*(\S+)\s+(\S+)\s+(\S+)\s*\)", line)
    return m.groups() if m else None


def bar_position(lines):
    """The position of the object named "bar" in a saved scene."""
    for i, line in enumerate(lines):
        if line.strip() == 'name\t"bar"' and i + 1 < len(lines) and position(lines[i + 1]):
            return position(lines[i + 1])
    return None


def main():
    program, source = os.path.abspath(sys.argv[1]), sys.argv[2]
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work, scene, proc, log, window = ep.start_on_sample(program, source, home, env, SAMPLE)
        if window is None:
            return 1
        ep.wait_gone("Kelvano", env, 20)
        time.sleep(1.0)
        point_at(window, env, 300, 300)
        first = save_and_read(scene, env, "first save")

        listing = show_pane(window, "o", "Obect List", env)
        if not check(listing is not None, "View > Object List shows no 'Obect List' pane"):
            ep.stop(proc, display, window, log, env, "property bar")
            return 1
        time.sleep(0.5)
        spot = first_white(listing, home, env, "list")
        if check(spot is not None, "no list face in the Obect List pane"):
            xh.run(["xdotool", "mousemove", "--sync", str(spot[0] + 20), str(spot[1] + 8), "click", "1"], env)
            time.sleep(0.5)

        transform = show_pane(window, "r", "Transformation", env)
        if check(transform is not None, "View > Transformation shows no 'Transformation' pane"):
            time.sleep(0.5)
            spot = first_white(transform, home, env, "transform")
            if check(spot is not None, "no edit in the Transformation pane"):
                # Without a window manager the keyboard stays with the main
                # window until the pane is given it.
                xh.run(["xdotool", "windowfocus", "--sync", str(transform)], env)
                xh.run(["xdotool", "mousemove", "--sync", str(spot[0] + 10), str(spot[1] + 6), "click", "1"], env)
                time.sleep(0.3)
                key(env, "End", *(["BackSpace"] * 12))
                xh.run(["xdotool", "type", "--delay", "80", "7"], env)
                key(env, "Return")
                second = save_and_read(scene, env, "save after the edit")
                changed = [(a, b) for a, b in zip(first, second) if a != b]
                check(len(first) == len(second), "the second save has another number of lines")
                check(len(changed) == 1, f"{len(changed)} lines changed: {changed[:4]}")
                if len(changed) == 1:
                    index = second.index(changed[0][1])
                    owner = next((line for line in reversed(second[:index]) if "name" in line), "")
                    check('"bar"' in owner, "the changed line is not bar's: " + owner)
                    m, old = position(changed[0][1]), position(changed[0][0])
                    check(m is not None and old is not None and m[0] == "7.000000" and m[1:] == old[1:],
                          "bar's position: " + changed[0][1])
                # Undo from the keys while the pane keeps the focus.
                key(env, "ctrl+z")
                third = save_and_read(scene, env, "save after Ctrl+Z")
                check(bar_position(first) is not None and bar_position(third) == bar_position(first),
                      f"after Ctrl+Z bar is at {bar_position(third)}, first at {bar_position(first)}")
                undone = [(a, b) for a, b in zip(first, third) if a != b]
                check(len(first) == len(third) and not undone, f"after Ctrl+Z the save differs: {undone[:4]}")
        if check(proc.poll() is None, f"the program ended early ({proc.poll()})"):
            ep.stop(proc, display, window, log, env, "property bar")
        ep.check_log(work)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
