#!/usr/bin/env python3
"""Opening files that are not scenes, with the real program under a private
X server.

1. `kelvano /dev/zero` and `kelvano noise.apn` (random bytes) each show a
   "File open error" message within 2 s of the main window; after it is
   answered the program still runs and its window still takes a close request.
2. A recent-file entry whose file is gone: started with a sample scene and a
   stale first entry in the profile, choosing the entry (File menu, "1") shows
   the message, the sample scene stays on screen and the entry leaves the
   profile's list when the program closes.

e2e_files.py PROGRAM SOURCE_DIR
"""

import configparser
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xvfb_harness as xh  # noqa: E402

TITLE = "Kelvano 2.6 Std"
ERROR = "File open error"
SAMPLE = "titles.apn"

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message, flush=True)
    return condition


def start(program, cwd, args, env):
    log = open(os.path.join(cwd, "program.log"), "a")
    return subprocess.Popen([program] + args, cwd=cwd, env=env, stdout=log, stderr=subprocess.STDOUT), log


def answer(window, env):
    xh.run(["xdotool", "windowfocus", "--sync", str(window)], env)
    xh.run(["xdotool", "key", "--window", str(window), "Return"], env)


def finish(proc, display, window, log, what):
    xh.close_window(display, window)
    try:
        rc = proc.wait(timeout=30)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
        rc = None
    log.close()
    check(rc == 0, f"{what}: the program ended with {rc} after the close request")


def refused_at_start(program, work, display, env, path, what):
    proc, log = start(program, work, [path], env)
    window = xh.wait_for_window(TITLE, env, timeout=60)
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
    check(TITLE in title, f"{what}: the main window is gone")
    finish(proc, display, window, log, what)


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

        # A stale recent entry.
        sample = os.path.join(work, SAMPLE)
        shutil.copy(os.path.join(source, "data", "scenes", SAMPLE), sample)
        gone = os.path.join(work, "gone.apn")
        conf_dir = os.path.join(home, ".config", "kelvano")
        os.makedirs(conf_dir, exist_ok=True)
        conf_path = os.path.join(conf_dir, "kelvano.conf")
        conf = configparser.ConfigParser(interpolation=None)
        conf.optionxform = str
        conf.read(conf_path)
        if not conf.has_section("Recent File List"):
            conf.add_section("Recent File List")
        conf.set("Recent File List", "File1", gone)
        conf.set("Recent File List", "File2", sample)
        with open(conf_path, "w") as f:
            conf.write(f, space_around_delimiters=False)
        proc, log = start(program, work, [sample], env)
        window = xh.wait_for_window(TITLE, env, timeout=60)
        if not check(window is not None, "recent: no main window"):
            proc.kill()
            return 1
        time.sleep(3.0)
        xh.run(["xdotool", "windowfocus", "--sync", str(window)], env)
        xh.run(["xdotool", "key", "--window", str(window), "alt+f"], env)
        time.sleep(0.8)
        xh.run(["xdotool", "key", "1"], env)
        message = xh.wait_for_window(ERROR, env, timeout=10)
        check(message is not None, "recent: no message for the missing file")
        if message is not None:
            answer(message, env)
            time.sleep(1.0)
        check(proc.poll() is None, "recent: the program is gone")
        finish(proc, display, window, log, "recent")
        conf = configparser.ConfigParser(interpolation=None)
        conf.optionxform = str
        conf.read(conf_path)
        entries = [v for k, v in conf.items("Recent File List")] if conf.has_section("Recent File List") else []
        check(gone not in entries, f"recent: the stale entry stays in {entries}")
        check(sample in entries, f"recent: the sample left the list {entries}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
