#!/usr/bin/env python3
"""Editing and the file commands, with the real program, its real dialogs and
its menus under a private X server, driven with xdotool.

1. Save As: a sample scene opened, nothing moved, saved under a new name from
   the File menu's dialog: the file is the sample with the scene named after
   the new file; reopened through the Open dialog and saved again, it is the
   same file once more.
2. A stale recent file: a scene opened through the Open dialog is deleted and
   chosen from the File menu's recent list: "File open error" shows, the
   scene on the screen stays and the entry is no longer in the list.
3. Drag and undo: the sample's title clicked, dragged 50 pixels right in Move
   mode with X on and saved: only its x position changed, by 50; Ctrl+Z and
   Ctrl+S give the original file back, Ctrl+Y the moved one, also after the
   Edit menu showed Undo greyed.

e2e_editing.py PROGRAM SOURCE_DIR
"""

import configparser
import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as ep  # noqa: E402
import xvfb_harness as xh  # noqa: E402
from e2e_support import Program, identity, key, rewritten, visible, wait_until  # noqa: E402

SAMPLE = ep.SAMPLE                      # titles.apn: the gold title "heading" first
SAMPLE_BACKGROUND = ep.SAMPLE_BACKGROUND
ERROR = "File open error"
failures = ep.failures
check = ep.check


def read(path):
    with open(path, "rb") as f:
        return f.read()


def save_as_round_trip(program, work, display, env):
    what = "save as"
    sample = os.path.join(work, SAMPLE)
    saved = os.path.join(work, "copy.apn")
    run = Program(program, work, [sample], env, display)
    if not run.ok(what):
        return
    run.menu("a")  # Save As...
    if run.dialog("Save As", saved, what) and check(wait_until(lambda: os.path.isfile(saved)), f"{what}: no {saved}"):
        time.sleep(0.5)
        first = read(saved)
        # Nothing of the sample is lost: its lines (spacing aside) come in
        # order, the scene named after the new file; the writer may add keys
        # the sample left at their defaults.
        wanted = [tokens(line) for line in read(sample).decode().splitlines() if line.strip()]
        wanted[wanted.index(["name", '"titles"'])] = ["name", '"copy"']
        check(in_order(wanted, [tokens(line) for line in first.decode().splitlines()]),
              f"{what}: the saved file lost lines of the sample:\n{first.decode()[:600]}")
        # Reopened through the Open dialog, saved with Ctrl+S: the same file.
        before = identity(saved)
        key(env, "ctrl+o")
        if run.dialog("Open", saved, what + ", reopen"):
            time.sleep(1.0)
            key(env, "ctrl+s")
            if check(rewritten(saved, before), f"{what}: Ctrl+S after reopening wrote nothing"):
                time.sleep(0.3)
                check(read(saved) == first, f"{what}: reopened and saved, the file changed")
    run.stop(what)


def stale_recent_file(program, work, home, display, env):
    what = "stale recent file"
    gone = os.path.join(work, "gone.apn")
    shutil.copy(os.path.join(work, SAMPLE), gone)
    run = Program(program, work, [], env, display)
    if not run.ok(what):
        return
    key(env, "ctrl+o")
    if run.dialog("Open", gone, what):
        got = run.shot(os.path.join(home, "recent-open.png"))
        check(ep.close(got, SAMPLE_BACKGROUND), f"{what}: the opened scene is not shown ({got})")
        os.remove(gone)
        run.menu("1")  # the first recent file
        shown = check(wait_until(lambda: visible(ERROR, env), 10), f"{what}: no '{ERROR}' message")
        if shown:
            key(env, "Return")
            wait_until(lambda: not visible(ERROR, env), 5)
        got = run.shot(os.path.join(home, "recent-after.png"))
        check(ep.close(got, SAMPLE_BACKGROUND), f"{what}: the scene on the screen went ({got})")
        # The entry is gone from the menu: its key opens nothing now.
        run.menu("1")
        check(not wait_until(lambda: visible(ERROR, env), 3), f"{what}: the entry is still in the File menu")
        key(env, "Escape", "Escape")
    run.stop(what)
    conf = configparser.ConfigParser(interpolation=None)
    conf.optionxform = str
    conf.read(os.path.join(home, ".config", "kelvano", "kelvano.conf"))
    # The settings file escapes the blanks of a group name.
    section = [name for name in conf.sections() if name.replace("\\", "") == "Recent File List"]
    if check(len(section) == 1, f"{what}: no recent list in the settings"):
        entries = dict(conf.items(section[0]))
        check(gone not in entries.values(), f"{what}: the missing file stays in the recent list: {entries}")


def gold_spot(png, scene, env):
    """A point well inside the gold title: most gold neighbours, near the middle."""
    w, h, x, y = scene
    every = ep.pixels(png, x, y, w, h, env)
    gold = {(i % w, i // w) for i, p in enumerate(every) if p[0] > 120 and p[1] > 80 and p[0] > p[1] > p[2] + 20}
    if len(gold) < 300:
        return None
    inner = [(px, py) for px, py in gold
             if all((px + dx, py + dy) in gold for dx in range(-1, 2) for dy in range(-1, 2))]
    if not inner:
        return None
    cx = sum(p[0] for p in inner) / len(inner)
    cy = sum(p[1] for p in inner) / len(inner)
    px, py = min(inner, key=lambda p: (p[0] - cx) ** 2 + (p[1] - cy) ** 2)
    return x + px, y + py


def tokens(line):
    return line.replace("(", " ( ").replace(")", " ) ").split()


def in_order(wanted, lines):
    at = 0
    for line in lines:
        if at < len(wanted) and line == wanted[at]:
            at += 1
    return at == len(wanted)


def position_lines(text):
    return [i for i, line in enumerate(text.splitlines()) if line.strip().startswith("position")]


def drag_and_undo(program, work, home, display, env):
    what = "drag and undo"
    folder = os.path.join(work, "drag")
    os.makedirs(folder)
    scene_file = os.path.join(folder, SAMPLE)
    shutil.copy(os.path.join(work, SAMPLE), scene_file)
    run = Program(program, work, [scene_file], env, display)
    if not run.ok(what):
        return

    def saved_after(*keys):
        """The file after the keys and Ctrl+S; None when nothing was written."""
        before = identity(scene_file)
        key(env, *keys, "ctrl+s")
        if not check(rewritten(scene_file, before), f"{what}: Ctrl+S after {keys} wrote nothing"):
            return None
        time.sleep(0.3)
        return read(scene_file)

    # The untouched scene as the program writes it is the original.
    original = saved_after()
    png = os.path.join(home, "drag.png")
    run.shot(png)
    spot = gold_spot(png, run.scene, env)
    if original is None or not check(spot is not None, f"{what}: the gold title is not on the screen"):
        run.stop(what)
        return
    sx, sy = spot
    # The first click selects; the drag from the selected title moves it.
    xh.run(["xdotool", "mousemove", str(sx), str(sy), "click", "1"], env)
    time.sleep(0.5)
    xh.run(["xdotool", "mousedown", "1"], env)
    time.sleep(0.3)
    for step in range(1, 11):
        xh.run(["xdotool", "mousemove", str(sx + 5 * step), str(sy)], env)
        time.sleep(0.2)
    time.sleep(1.0)  # the last move is drawn before the button comes up
    xh.run(["xdotool", "mouseup", "1"], env)
    time.sleep(0.5)
    moved = saved_after()
    if moved is not None:
        old, new = original.decode().splitlines(), moved.decode().splitlines()
        changed = [i for i, (a, b) in enumerate(zip(old, new)) if a != b]
        heading = [i for i in position_lines(original.decode()) if i > old.index("string {")][0]
        check(len(old) == len(new) and changed == [heading],
              f"{what}: lines {changed} changed, expected only line {heading}")
        if changed == [heading]:
            check(new[heading].split() == ["position", "(", "50.000000", "90.000000", "0.000000", ")"],
                  f"{what}: the title is now at {new[heading]!r}")
    # Ctrl+Z with the Edit menu never opened.
    check(saved_after("ctrl+z") == original, f"{what}: after Ctrl+Z the saved file is not the original")
    # The menu looked at greys Undo (nothing left to undo); the keys still work.
    key(env, "alt+e")
    key(env, "Escape")
    check(saved_after("ctrl+y") == moved, f"{what}: after Ctrl+Y the saved file is not the moved one")
    check(saved_after("ctrl+z") == original, f"{what}: after the second Ctrl+Z the file is not the original")
    run.stop(what)


def main():
    program, source = os.path.abspath(sys.argv[1]), sys.argv[2]
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work = tempfile.mkdtemp(prefix="work-", dir=home)
        shutil.copy(os.path.join(source, "data", "scenes", SAMPLE), os.path.join(work, SAMPLE))
        save_as_round_trip(program, work, display, env)
        stale_recent_file(program, work, home, display, env)
        drag_and_undo(program, work, home, display, env)
        ep.check_log(work)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
