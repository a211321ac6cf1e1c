#!/usr/bin/env python3
"""Random user actions on the real program under a private X server, with a
fixed seed: clicks, double-clicks and drags anywhere on the screen, and keys:
Add (T, P, M, G), Cut, Copy, Paste, Delete, Undo, Redo, Save, Select All, the
camera presets, the switch between object and animation mode through the Mode
menu, and every menu's access key.

The program runs from a private folder (the binary linked in, the data folders
beside it, its own copy of the sample scenes), so no dialog it opens can write
into the source tree. It starts on a copy of a sample scene and again whenever
it ends. The test fails on a crash, on a sanitizer report, on a wx assertion
and on any scene file left behind that the render tool no longer reads.

e2e_soak.py PROGRAM RENDER SOURCE_DIR [ACTIONS [SEED [SCENE]]]
"""

import glob
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as ep  # noqa: E402
import xvfb_harness as xh  # noqa: E402

failures = ep.failures
check = ep.check

KEYS = list("lsrxyzLSRXYZtpmg0123456789") + [
    "Escape", "Escape", "Return", "Tab", "shift+Tab", "Left", "Right", "Up", "Down", "space", "Delete",
    "BackSpace", "Home", "End", "ctrl+z", "ctrl+y", "ctrl+c", "ctrl+v", "ctrl+x", "ctrl+a", "ctrl+s",
    "ctrl+n", "shift+1", "shift+2", "shift+3", "shift+4", "shift+5", "shift+6", "alt+f", "alt+e", "alt+v",
    "alt+m", "alt+o", "alt+n", "alt+h"]
# The Mode menu opens on Object Mode; Animation Mode is the next item.
MODE_SWITCH = [["alt+m", "Down", "Return"], ["alt+m", "Return"]]


def private_program(program, source, root):
    """A folder of the program's own: the binary linked (or copied) in, so that
    it finds its data folders here, and a copy of the sample scenes."""
    folder = os.path.join(root, "program")
    os.makedirs(folder)
    target = os.path.join(folder, os.path.basename(program))
    try:
        os.link(program, target)
    except OSError:
        shutil.copy2(program, target)
    data = os.path.join(source, "data")
    for name in os.listdir(data):
        if name == "scenes":
            shutil.copytree(os.path.join(data, name), os.path.join(folder, name))
        elif os.path.isdir(os.path.join(data, name)):
            os.symlink(os.path.join(data, name), os.path.join(folder, name))
    return target


def xdo(env, *args):
    try:
        subprocess.run(["xdotool", *args], env=env, timeout=5, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    except subprocess.TimeoutExpired:
        pass


def act(rnd, env, width, height):
    a = rnd.random()
    if a < 0.38:
        xdo(env, "mousemove", str(rnd.randint(0, width - 1)), str(rnd.randint(0, height - 1)), "click",
            rnd.choice(["1", "1", "1", "3"]))
    elif a < 0.45:
        xdo(env, "mousemove", str(rnd.randint(0, width - 1)), str(rnd.randint(0, height - 1)), "click", "--repeat",
            "2", "1")
    elif a < 0.60:
        x, y = rnd.randint(100, width - 180), rnd.randint(60, height - 100)
        xdo(env, "mousemove", str(x), str(y), "mousedown", "1", "mousemove", str(x + rnd.randint(-120, 120)),
            str(y + rnd.randint(-120, 120)), "mouseup", "1")
    elif a < 0.62:
        xdo(env, "key", "--delay", "80", *rnd.choice(MODE_SWITCH))
    else:
        xdo(env, "key", rnd.choice(KEYS))


def main():
    program, render, source = (os.path.abspath(a) for a in sys.argv[1:4])
    actions = int(sys.argv[4]) if len(sys.argv) > 4 else 1200
    seed = int(sys.argv[5]) if len(sys.argv) > 5 else 42
    sample = sys.argv[6] if len(sys.argv) > 6 else "allcharts.apn"
    width, height = 1280, 1024
    with xh.private_display(width, height) as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        # Help opens a browser: one that only notes the page.
        bindir, script = ep.recording_browser(home, os.path.join(home, "browsed.txt"))
        env["PATH"] = bindir + os.pathsep + env.get("PATH", "")
        env["BROWSER"] = script
        env["ASAN_OPTIONS"] = "detect_leaks=0:halt_on_error=1"
        env["UBSAN_OPTIONS"] = "print_stacktrace=1"
        work = tempfile.mkdtemp(prefix="work-", dir=home)
        kelvano = private_program(program, source, home)
        scene = os.path.join(work, sample)
        shutil.copy(os.path.join(source, "data", "scenes", sample), scene)
        rnd = random.Random(seed)
        runs = []

        def start():
            log_name = f"run{len(runs) + 1}.log"
            proc, log = ep.start(kelvano, work, [scene], env, log_name)
            runs.append((proc, log, log_name))
            xh.wait_for_window(ep.TITLE, env, timeout=60)
            time.sleep(1.0)
            return proc

        started = time.time()
        proc = start()
        crashes = 0
        for i in range(actions):
            if proc.poll() is not None:
                if proc.returncode != 0:
                    crashes += 1
                    check(False, f"the program ended with {proc.returncode} after action {i}")
                proc = start()
            act(rnd, env, width, height)
            time.sleep(0.02)
        if proc.poll() is None:
            proc.terminate()
            try:
                proc.wait(20)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
        for _, log, name in runs:
            log.close()
            ep.check_log(work, name)
        # Every scene file a save left behind still reads.
        saved = [f for f in glob.glob(os.path.join(home, "**", "*.apn"), recursive=True)
                 if os.path.isfile(f) and os.path.getmtime(f) >= started]
        unread = []
        for path in saved:
            out = os.path.join(home, "read-back.png")
            try:
                rc = subprocess.run([render, path, "--frame", "0", "-o", out], env=dict(env, DISPLAY=""),
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120).returncode
            except subprocess.TimeoutExpired:
                rc = None
            if rc != 0:
                unread.append(os.path.relpath(path, home))
        check(not unread, f"saved scenes the render tool no longer reads: {unread}")
        print(f"actions {actions}, seed {seed}, seconds {time.time() - started:.0f}, starts {len(runs)}, "
              f"crashes {crashes}, scene files read back {len(saved) - len(unread)}/{len(saved)}", flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
