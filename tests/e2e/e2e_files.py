#!/usr/bin/env python3
"""Opening files that are not scenes, with the real program under a private
X server.

1. `kelvano /dev/zero` and `kelvano noise.apn` (random bytes) each show a
   "File open error" message within 2 s of the main window; after it is
   answered the program still runs and its window still takes a close request.

e2e_files.py PROGRAM SOURCE_DIR
"""

import os
import random
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as ep  # noqa: E402
import xvfb_harness as xh  # noqa: E402

ERROR = "File open error"

# The checks and the program's start and close are the shared ones.
failures = ep.failures
check, start, finish = ep.check, ep.start, ep.stop


def answer(window, env):
    xh.run(["xdotool", "windowfocus", "--sync", str(window)], env)
    xh.run(["xdotool", "key", "--window", str(window), "Return"], env)


def refused_at_start(program, work, display, env, path, what):
    proc, log = start(program, work, [path], env)
    window = xh.wait_for_window(ep.TITLE, env, timeout=60)
    if not check(window is not None, what + ": no main window"):
        proc.kill()
        return
    shown = time.time()
    message = xh.wait_for_window(ERROR, env, timeout=10)
    waited = time.time() - shown
    check(message is not None, f"{what}: no '{ERROR}' message")
    check(message is None or waited < 2.0, f"{what}: the message came after {waited:.1f} s")
    if message is not None:
        answer(message, env)
        deadline = time.time() + 5
        while time.time() < deadline and xh.run(["xdotool", "search", "--onlyvisible", "--name", "^" + ERROR + "$"], env).stdout.strip():
            time.sleep(0.1)
    check(proc.poll() is None, f"{what}: the program is gone")
    title = xh.run(["xprop", "-id", str(window), "WM_NAME"], env).stdout
    check(ep.TITLE in title, f"{what}: the main window is gone")
    finish(proc, display, window, log, env, what)


def main():
    program, source = os.path.abspath(sys.argv[1]), sys.argv[2]
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work = tempfile.mkdtemp(prefix="work-", dir=home)
        noise = os.path.join(work, "noise.apn")
        rnd = random.Random(23)
        with open(noise, "wb") as f:
            f.write(bytes(rnd.randrange(256) for _ in range(65536)))
        refused_at_start(program, work, display, env, "/dev/zero", "/dev/zero")
        refused_at_start(program, work, display, env, noise, "random bytes")
        ep.check_log(work)

    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
