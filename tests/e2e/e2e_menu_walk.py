#!/usr/bin/env python3
"""A whole walk through the menus of the real program, as a new user would
take it on a 1280 x 900 screen, prints no GTK complaint.

The program starts on the sample charts. Every menu and sub-menu is opened and
every item highlighted (each shows its prompt in the status bar); the
commands that open windows are run and each window is closed again with
Escape: Edit Options, Image Size, Timeline Options, the background colour,
About, the four Add dialogs, the Object List, and in Animation Mode the time
line, the event tree and the Effect List. The program's output then holds no
"Gtk-CRITICAL" and no "Gtk-WARNING" line, and no sanitizer report.

e2e_menu_walk.py PROGRAM SOURCE_DIR
"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as ep  # noqa: E402
import xvfb_harness as xh  # noqa: E402

SAMPLE = "allcharts.apn"
failures = ep.failures
check = ep.check

# Top menus by their mnemonics, and the sub-menus reached by a mnemonic in them.
MENUS = ["f", "e", "v", "m", "o", "n", "h"]
SUBMENUS = [("n", "d"), ("n", "q"), ("n", "b")]
# Commands that open a window, by the mnemonics that reach them.
WINDOWS = [("e", "o"), ("n", "i"), ("n", "o"), ("n", "b", "c"), ("h", "a"),
           ("o", "t"), ("o", "p"), ("o", "m"), ("o", "g")]


def keys(env, *names, pause=0.25):
    for name in names:
        ep.xdo(env, "key", name)
        time.sleep(pause)


def shown_windows(env):
    # By the program's window class: some dialogs have no title.
    return set(ep.xdo(env, "search", "--onlyvisible", "--class", "Kelvano").stdout.split())


def open_menu(env, top):
    keys(env, "alt+" + top, pause=0.6)


def step(what):
    # Said with the time, so a complaint in the program's output is found in the walk.
    print(time.strftime("%H:%M:%S"), what, flush=True)


def walk_menu(env, top, sub=None):
    """Opens a menu (and one of its sub-menus) and highlights every item."""
    step("menu " + top + (" " + sub if sub else ""))
    open_menu(env, top)
    if sub:
        keys(env, sub, pause=0.5)
    keys(env, *(["Down"] * 14), pause=0.12)
    keys(env, "Escape", "Escape", "Escape", pause=0.3)


def close_new_windows(display, env, known, timeout):
    """Closes the windows shown beyond known: Escape, then as a window
    manager would (a dialog without a Cancel button may keep Escape)."""
    deadline = time.time() + timeout
    while time.time() < deadline and shown_windows(env) - known:
        for w in shown_windows(env) - known:
            ep.xdo(env, "windowfocus", "--sync", w)
            keys(env, "Escape", pause=0.4)
            if w in shown_windows(env):
                xh.close_window(display, int(w))
        time.sleep(0.5)


def run_window_command(display, env, window, path):
    """Runs a command through its mnemonics and closes the window it opens."""
    step("command " + " ".join(path))
    before = shown_windows(env)
    open_menu(env, path[0])
    keys(env, *path[1:], pause=0.5)
    opened = set()
    deadline = time.time() + 15
    while time.time() < deadline and not opened:
        opened = shown_windows(env) - before
        time.sleep(0.3)
    check(bool(opened), "no window opened by the menu path " + " ".join(path))
    time.sleep(0.8)
    for w in opened:
        ep.xdo(env, "windowfocus", "--sync", w)
        keys(env, "Escape", pause=0.5)
    close_new_windows(display, env, before, 15)
    ep.xdo(env, "windowfocus", "--sync", window)
    time.sleep(0.3)


def main():
    program, source = os.path.abspath(sys.argv[1]), sys.argv[2]
    missing = ep.missing_tool_exit("xdotool")
    if missing is not None:
        return missing
    with xh.private_display(1280, 900) as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work, _, proc, log, window = ep.start_on_sample(program, source, home, env, SAMPLE)
        if window is None:
            return 1
        ep.wait_gone("Kelvano", env, 20)
        time.sleep(1.0)
        ep.xdo(env, "windowfocus", "--sync", window)
        start_windows = shown_windows(env)

        for top in MENUS:
            walk_menu(env, top)
        for top, sub in SUBMENUS:
            walk_menu(env, top, sub)
        for path in WINDOWS:
            run_window_command(display, env, window, path)
        step("object list")
        # The Object List on and off again.
        for _ in range(2):
            open_menu(env, "v")
            keys(env, "o", pause=0.8)
        step("animation mode")
        # Animation Mode (either mode item toggles), its bars, the Effect List,
        # and back.
        open_menu(env, "m")
        keys(env, "Down", "Return", pause=1.0)
        walk_menu(env, "v")
        for _ in range(2):
            open_menu(env, "v")
            keys(env, "f", pause=0.8)
        open_menu(env, "m")
        keys(env, "Down", "Return", pause=1.0)

        # A window a busy machine opened late is closed before the program is.
        close_new_windows(display, env, start_windows, 15)
        ep.stop(proc, display, window, log, env, "menu walk")
        with open(os.path.join(work, "program.log"), errors="replace") as f:
            text = f.read()
        complaints = [line for line in text.splitlines() if "Gtk-CRITICAL" in line or "Gtk-WARNING" in line]
        check(not complaints, "GTK complained during the walk:\n" + "\n".join(complaints[:20]))
        ep.check_log(work)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
