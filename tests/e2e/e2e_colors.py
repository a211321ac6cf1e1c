#!/usr/bin/env python3
"""The background colour through the real program under a private X server.

Opens a copy of a sample scene, chooses Environment > Background > Color...,
types 0.50, 0.25 and 0.00 into the red, green and blue edits (Enter on the
last closes the editor), saves: the scene file's background reads
`color ( 0.500000 0.250000 0.000000 a )` with the scene's own alpha a. Then
Ctrl+Z and a save again: the original colour is back.

e2e_colors.py PROGRAM SOURCE_DIR
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

EDITOR = "Material Editor"
SAMPLE = "titles.apn"
COLOR = re.compile(r"background\s*\{[^}]*?color\s+\(\s*(\S+) (\S+) (\S+) (\S+)\s*\)", re.S)

failures = ep.failures
check = ep.check


def background(path):
    with open(path) as f:
        m = COLOR.search(f.read())
    return m.groups() if m else None


def saved_background(path, before_mtime, env, window):
    xh.run(["xdotool", "windowfocus", "--sync", str(window)], env)
    ep.key(env, "ctrl+s")
    deadline = time.time() + 20
    while time.time() < deadline and os.stat(path).st_mtime_ns == before_mtime:
        time.sleep(0.2)
    return background(path)


def open_color_editor(window, env):
    """Environment > Background > Color... by the menu's mnemonics."""
    for _ in range(3):
        xh.run(["xdotool", "windowfocus", "--sync", str(window)], env)
        ep.key(env, "alt+n")
        ep.key(env, "b")
        ep.key(env, "c")
        editor = xh.wait_for_window(EDITOR, env, timeout=8)
        if editor is not None:
            return editor
        ep.key(env, "Escape", "Escape", "Escape")
    return None


def main():
    program, source = os.path.abspath(sys.argv[1]), sys.argv[2]
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work = tempfile.mkdtemp(prefix="work-", dir=home)
        scene = os.path.join(work, SAMPLE)
        shutil.copy(os.path.join(source, "data", "scenes", SAMPLE), scene)
        original = background(scene)
        if not check(original is not None, "the sample has no background colour"):
            return 1
        proc, log = ep.start(program, work, [scene], env)
        window = ep.main_window(proc, work, env)
        if window is None:
            log.close()
            return 1
        # The scene is in once the scene window shows its background.
        deadline = time.time() + 60
        scene_win = []
        while not scene_win and time.time() < deadline:
            scene_win = ep.scene_window(window, env)[1]
            time.sleep(0.2)
        if check(scene_win, "no scene window"):
            w, h, x, y = scene_win[0]
            shot = os.path.join(home, "start.png")
            ep.shot_when(shot, x + 5, y + 5, ep.SAMPLE_BACKGROUND, env, timeout=90)
            check(ep.close(ep.pixel(shot, x + 5, y + 5, env), ep.SAMPLE_BACKGROUND), "the sample scene never showed")
        time.sleep(1.0)
        editor = open_color_editor(window, env)
        if check(editor is not None, f"Environment > Background > Color... showed no '{EDITOR}'"):
            xh.run(["xdotool", "windowfocus", "--sync", str(editor)], env)
            time.sleep(0.5)
            for value, last in (("0.50", False), ("0.25", False), ("0.00", True)):
                ep.key(env, "ctrl+a")
                xh.run(["xdotool", "type", "--delay", "60", value], env)
                ep.key(env, "Return" if last else "Tab")
            deadline = time.time() + 10
            while time.time() < deadline and xh.run(
                    ["xdotool", "search", "--onlyvisible", "--name", "^" + EDITOR + "$"], env).stdout.strip():
                time.sleep(0.2)
            check(not xh.run(["xdotool", "search", "--onlyvisible", "--name", "^" + EDITOR + "$"],
                             env).stdout.strip(), "Enter in the blue edit did not close the editor")
            changed = saved_background(scene, os.stat(scene).st_mtime_ns, env, window)
            check(changed == ("0.500000", "0.250000", "0.000000", original[3]),
                  f"after the editor the file has {changed}, not 0.5 0.25 0 {original[3]}")
            xh.run(["xdotool", "windowfocus", "--sync", str(window)], env)
            ep.key(env, "ctrl+z")
            restored = saved_background(scene, os.stat(scene).st_mtime_ns, env, window)
            check(restored == original, f"after Ctrl+Z the file has {restored}, not {original}")
        ep.stop(proc, display, window, log, env, "colours")
        ep.check_log(work)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
