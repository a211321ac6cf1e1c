#!/usr/bin/env python3
"""A 3D text added to a new scene through the real program under a private X
server.

In a new scene: T, "Hello" typed into the "Text" dialog, OK; a click in the
view places the text; "Greeting" and Enter typed into the text page's Name
edit, 48 and Enter into its Size; saved under a new name. The file holds a
`string` block "Greeting" with string "Hello" and size 48.000000 and an event
"Greeting" with objectName "Greeting"; kelvano-render draws the text (pixels
other than the background at the centre).

e2e_text_object.py PROGRAM RENDER SOURCE_DIR
"""

import os
import re
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as ep  # noqa: E402
import xvfb_harness as xh  # noqa: E402
from e2e_support import name_edit  # noqa: E402

failures = ep.failures
check = ep.check


def main():
    program, render, source = (os.path.abspath(a) for a in sys.argv[1:4])
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work = tempfile.mkdtemp(prefix="work-", dir=home)
        saved = os.path.join(work, "greeting.apn")
        run = ep.Program(program, work, [], env, display)
        if not run.ok("text object"):
            return 1
        w, h, x, y = run.scene
        # The view takes the keyboard with a click on empty background.
        xh.run(["xdotool", "mousemove", "--sync", str(x + 20), str(y + 20), "click", "1"], env)
        time.sleep(0.5)
        if ep.add_text(env, "Hello", (x + w // 2, y + h // 2)):
            # The page's Name edit, in the Edit Box left of the scene window.
            fx, fy, _, _ = ep.geometry(run.window, env)
            png = os.path.join(home, "page.png")
            xh.run(["import", "-window", "root", png], env)
            spot = name_edit(fx, y, max(1, x - fx - 10), 250, png, env)
            if check(spot is not None, "no Name edit found in the Edit Box"):
                xh.run(["xdotool", "mousemove", "--sync", str(spot[0]), str(spot[1]), "click", "1"], env)
                time.sleep(0.5)
                # The edit's text is selected with the keys of a line.
                ep.key(env, "End", "shift+Home")
                ep.typed(env, "Greeting")
                ep.key(env, "Return")
                # Tab to Input Text, Font, then Size.
                ep.key(env, "Tab", "Tab", "Tab")
                ep.key(env, "End", "shift+Home")
                ep.typed(env, "48")
                ep.key(env, "Return")
                ep.key(env, "ctrl+s")
                if run.dialog("Save As", saved, "text object"):
                    check(ep.wait_until(lambda: os.path.isfile(saved)), f"no {saved}")
        run.stop("text object")
        if not os.path.isfile(saved):
            check(False, "nothing was saved")
            return 1
        time.sleep(0.3)
        with open(saved) as f:
            text = f.read()
        string = ep.block(text, "string", "Greeting")
        if check(string is not None, f"no string block \"Greeting\" in:\n{text[-1500:]}"):
            check(re.search(r'^\s*string\s+"Hello"$', string, re.M), f"the string is not \"Hello\":\n{string}")
            check(re.search(r"^\s*size\s+48\.000000$", string, re.M), f"the size is not 48:\n{string}")
        event = ep.block(text, "event", "Greeting")
        if check(event is not None, "no event \"Greeting\""):
            check(re.search(r'^\s*objectName\s+"Greeting"$', event, re.M), f"the event names another object:\n{event}")
        # The file draws the text: the centre is not all background.
        out = os.path.join(work, "greeting.png")
        drawn = xh.run([render, saved, "-o", out], env)
        if check(drawn.returncode == 0 and os.path.isfile(out), f"kelvano-render failed: {drawn.stderr}"):
            corner = ep.pixel(out, 2, 2, env)
            centre = ep.pixels(out, 290 - 60, 196 - 20, 120, 40, env)
            check(any(not ep.close(p, corner, 8) for p in centre), "the rendered scene shows no text at the centre")
        ep.check_log(work)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
