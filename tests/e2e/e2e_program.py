#!/usr/bin/env python3
"""The real program under a private X server.

1. Started from a scratch folder with a sample scene named by a relative path,
   it shows "Kelvano 2.6 Std" with both tool bars, and its scene window has
   the scene's size, the scene's background colour and the scene's objects
   (read from an ImageMagick screenshot).
2. Closed as a window manager would close it, it exits cleanly and its
   settings file holds the placement and the settings.
   Right after start, with no click into the scene, S chooses Scale mode (the
   tool bar and the status bar change) and L goes back to Move.
3. Started again without a file after the placement was changed in the file,
   it opens where the file says and shows a new scene's background; a
   placement on a monitor that no longer exists lands on the screen's top-left
   corner.
4. --help prints the usage, even without a display; a mistyped option is
   named and the program ends.
5. With a settings folder that cannot be made, one message box comes at start
   and the program closes cleanly, without framework errors.
6. On a desktop with a window manager, a first run comes up maximised with its
   menu bar and prints no toolkit complaint. A path typed fast into the
   scene window in object mode opens one modal dialog at most (its first
   letter that is a view key opens one, the rest go into it); after Escape
   the Mode menu ticks one mode and File > Exit ends the program.

e2e_program.py PROGRAM SOURCE_DIR
"""

import configparser
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xvfb_harness as xh  # noqa: E402
from e2e_support import (BACKGROUND, SAMPLE, SAMPLE_BACKGROUND, TITLE, check, check_log, close,  # noqa: E402
                         exit_code, failures, geometry, key, pixel, pixels, scene_window, shot_when, start, stop)


def command_line(program, env):
    bare = dict(env)
    bare.pop("DISPLAY", None)
    out = subprocess.run([program, "--help"], env=bare, capture_output=True, text=True, timeout=60)
    check(out.returncode == 0 and out.stdout.startswith("Usage: kelvano [scene.apn]\n"),
          f"--help: exit {out.returncode}, output {out.stdout!r} {out.stderr[-500:]!r}")
    # Named once the toolkit has taken its own options, which needs a display.
    out = subprocess.run([program, "--bogus", "x.apn"], env=env, capture_output=True, text=True, timeout=60)
    check(out.returncode not in (0, None) and 'unknown option "--bogus"' in out.stderr,
          f"--bogus: exit {out.returncode}, errors {out.stderr[-500:]!r}")


def view_keys(window, kids, scene, home, env):
    """S and L work at once; the tool bar and the status bar show the mode."""
    bars = ["Kelvano Toolbar", "Kelvano Status Bar"]
    if not check(scene and all(b in kids for b in bars), "no scene, tool bar or status bar window"):
        return
    w, h, x, y = scene[0]
    xh.run(["xdotool", "mousemove", str(x + 20), str(y + 20)], env)
    time.sleep(0.5)

    def look(name):
        png = os.path.join(home, name + ".png")
        xh.run(["import", "-window", "root", png], env)
        return {b: pixels(png, kids[b][0][2], kids[b][0][3], kids[b][0][0], kids[b][0][1], env) for b in bars}

    def look_until(name, done, timeout=20.0):
        deadline = time.time() + timeout
        while True:
            seen = look(name)
            if done(seen) or time.time() > deadline:
                return seen
            time.sleep(0.5)

    start = look("keys-start")
    xh.run(["xdotool", "key", "s"], env)
    scale = look_until("keys-scale", lambda seen: all(seen[b] != start[b] for b in bars))
    for b in bars:
        check(scale[b] != start[b], f"pressing S right after start changed nothing in the {b}")
    xh.run(["xdotool", "key", "l"], env)
    move = look_until("keys-move", lambda seen: seen["Kelvano Toolbar"] == start["Kelvano Toolbar"])
    check(move["Kelvano Toolbar"] == start["Kelvano Toolbar"], "after L the tool bar does not show Move mode again")
    check(move["Kelvano Status Bar"] != scale["Kelvano Status Bar"], "after L the status bar still shows Scale mode")


def blocked_settings(program, work, home, display, env):
    blocked = dict(env)
    with open(os.path.join(home, "plain-file"), "w") as f:
        f.write("not a folder\n")
    blocked["XDG_CONFIG_HOME"] = os.path.join(home, "plain-file", "config")
    proc, log = start(program, work, [], blocked)
    # The message comes before the main window, whose splash shares its title.
    box = xh.wait_for_window("Kelvano", env)
    if not check(box is not None and xh.wait_for_window(TITLE, env, timeout=1) is None,
                 "blocked settings: no message box before the main window"):
        proc.kill()
        return
    xh.run(["xdotool", "windowfocus", "--sync", str(box), "key", "Return"], env)
    window = xh.wait_for_window(TITLE, env)
    if not check(window is not None, "blocked settings: no main window after the message"):
        proc.kill()
        return
    time.sleep(1.5)
    stop(proc, display, window, log, env, "blocked settings")
    with open(os.path.join(work, "program.log"), errors="replace") as f:
        text = f.read()
    check("kelvano.conf" not in text and "Error: " not in text,
          "blocked settings: framework errors in the output: " + text[-2000:])
    check_log(work)


def shown_windows(env):
    ids = xh.run(["xdotool", "search", "--onlyvisible", "--name", "."], env).stdout.split()
    return {i: xh.run(["xdotool", "getwindowname", i], env).stdout.strip() for i in ids}


def root_children(env):
    out = xh.run(["xwininfo", "-root", "-children"], env).stdout
    return {line.split()[0] for line in out.splitlines() if line.strip().startswith("0x")}


def mode_ticks(window, home, env):
    """The Mode menu opened by its mnemonic (End moves the highlight off its
    first rows): whether Object Mode and Animation Mode show a tick, read from
    the dark pixels inside their check boxes."""
    before = root_children(env)
    key(env, "alt+m")
    time.sleep(1.0)
    key(env, "End")
    time.sleep(0.5)
    png = os.path.join(home, "mode.png")
    xh.run(["import", "-window", "root", png], env)
    menus = [m for m in root_children(env) - before if (geometry(int(m, 16), env)[3] or 0) > 100]
    key(env, "Escape")
    if not check(len(menus) == 1, f"the Mode menu did not open ({len(menus)} new windows)"):
        return None
    mx, my, mw, mh = geometry(int(menus[0], 16), env)
    # The check boxes' column, left of the captions.
    wide = 26
    strip = pixels(png, mx, my, wide, mh, env)
    boxes, top = [], None
    for row in range(mh if len(strip) == wide * mh else 0):
        dark = any(sum(p) < 300 for p in strip[row * wide:(row + 1) * wide])
        if dark and top is None:
            top = row
        elif not dark and top is not None:
            if row - top >= 8:
                boxes.append((top, row))
            top = None
    ticks = []
    for top, bottom in boxes[:2]:
        cols = [c for r in range(top, bottom) for c in range(wide) if sum(strip[r * wide + c]) < 300]
        left, right = min(cols), max(cols)
        inside = [strip[r * wide + c] for r in range(top + 3, bottom - 3) for c in range(left + 3, right - 2)]
        ticks.append(sum(1 for p in inside if sum(p) < 300) > 4)
    return ticks


def typed_path(proc, window, home, env):
    """A path typed fast into the scene window in object mode: one modal
    dialog at most, then Escape, one mode ticked and File > Exit."""
    _, scene = scene_window(window, env)
    if not check(scene, "under a window manager: no scene window"):
        return
    w, h, x, y = scene[0]
    base = set(shown_windows(env).values())
    xh.run(["xdotool", "mousemove", "--sync", str(x + 8), str(y + h - 8), "click", "1"], env)
    time.sleep(0.5)
    # Stopped, the program finds every key queued when it goes on: they come
    # faster than the first dialog opens.
    os.kill(proc.pid, signal.SIGSTOP)
    try:
        xh.run(["xdotool", "type", "--delay", "5", "/tmp/mt/movie.avi"], env)
    finally:
        os.kill(proc.pid, signal.SIGCONT)
    time.sleep(3.0)
    opened = [name for name in shown_windows(env).values() if name not in base]
    check(len(opened) <= 1, f"a typed path opened {opened}")
    for _ in range(4):
        if all(name in base for name in shown_windows(env).values()):
            break
        key(env, "Escape")
        time.sleep(1.0)
    check(all(name in base for name in shown_windows(env).values()), "Escape left a dialog open")
    xh.run(["xdotool", "windowfocus", "--sync", str(window)], env)
    ticks = mode_ticks(window, home, env)
    check(ticks == [True, False], f"the Mode menu ticks {ticks}, not Object Mode alone")
    xh.run(["xdotool", "windowfocus", "--sync", str(window)], env)
    key(env, "alt+f")
    time.sleep(1.0)
    key(env, "x")
    rc = exit_code(proc)
    check(rc == 0, f"File > Exit after the typed path: the program ended with {rc}")


def under_window_manager(program, source):
    """A first run as on a user's desktop: openbox frames the window."""
    if not shutil.which("openbox"):
        check(not os.environ.get("CI"), "openbox is not installed")
        print("SKIP: openbox is not installed")
        return
    with xh.private_display(1280, 1024) as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work = tempfile.mkdtemp(prefix="work-", dir=home)
        shutil.copy(os.path.join(source, "data", "scenes", SAMPLE), os.path.join(work, SAMPLE))
        manager = subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            time.sleep(1.0)
            proc, log = start(program, work, [SAMPLE], env)
            window = xh.wait_for_window(TITLE, env)
            if not check(window is not None, "under a window manager: no window titled " + TITLE):
                proc.kill()
                return
            time.sleep(3.0)
            x, y, w, h = geometry(window, env)
            check(w is not None and w >= 1200 and h >= 900, f"under a window manager: {w} x {h}, not maximised")
            # The menu bar's captions: dark text on the light bar above the tool bar.
            png = os.path.join(home, "desktop.png")
            xh.run(["import", "-window", "root", png], env)
            dark = [p for p in pixels(png, x, y, 120, 24, env) if sum(p) < 200]
            check(len(dark) > 30, f"under a window manager: no menu bar ({len(dark)} dark pixels where it goes)")
            typed_path(proc, window, home, env)
            log.close()
            check_log(work)
        finally:
            manager.terminate()
            manager.wait(timeout=10)


def main():
    program, source = os.path.abspath(sys.argv[1]), sys.argv[2]
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work = tempfile.mkdtemp(prefix="work-", dir=home)
        os.makedirs(os.path.join(work, "scenes"))
        # The scene is named relative to the folder the program starts in.
        shutil.copy(os.path.join(source, "data", "scenes", SAMPLE), os.path.join(work, "scenes", SAMPLE))

        # --- first run ---
        proc, log = start(program, work, ["scenes/" + SAMPLE], env)
        window = xh.wait_for_window(TITLE, env)
        if not check(window is not None, "no window titled " + TITLE):
            proc.kill()
            return 1
        name = xh.run(["xprop", "-id", str(window), "WM_NAME"], env).stdout
        check(f'"{TITLE}"' in name, "WM_NAME is " + name.strip())
        check('"Kelvano"' in xh.run(["xprop", "-id", str(window), "WM_CLASS"], env).stdout, "WM_CLASS")

        # The splash (a window named "Kelvano") closes a second after it is
        # first painted; the screenshot waits for it.
        deadline = time.time() + 20
        while time.time() < deadline and xh.run(["xdotool", "search", "--onlyvisible", "--name", "^Kelvano$"], env).stdout.strip():
            time.sleep(0.2)
        check(not xh.run(["xdotool", "search", "--onlyvisible", "--name", "^Kelvano$"], env).stdout.strip(), "the splash stays up")
        time.sleep(1.0)
        kids, scene = scene_window(window, env)
        check("Kelvano Toolbar" in kids, "no main tool bar window: " + str(sorted(kids)))
        check("Camera" in kids, "no Camera tool bar window")
        if "Kelvano Toolbar" in kids and "Camera" in kids:
            main_bar, camera_bar = kids["Kelvano Toolbar"][0], kids["Camera"][0]
            check(abs(main_bar[3] - camera_bar[3]) <= 2 and camera_bar[2] > main_bar[2],
                  "the Camera bar is not right of the main tool bar on its row")
        check(len(scene) == 1, "no 580 x 392 scene window among " + str(kids.get("", [])))

        shot = os.path.join(home, "first.png")
        if scene:
            shot_when(shot, scene[0][2] + 5, scene[0][3] + 5, SAMPLE_BACKGROUND, env)
        else:
            xh.run(["import", "-window", "root", shot], env)
        if scene and check(os.path.isfile(shot), "no screenshot"):
            w, h, x, y = scene[0]
            for px, py in [(x + 5, y + 5), (x + w - 6, y + 5), (x + 5, y + h - 6), (x + w - 6, y + h - 6)]:
                got = pixel(shot, px, py, env)
                check(close(got, SAMPLE_BACKGROUND), f"scene pixel at {px},{py} is {got}, not {SAMPLE_BACKGROUND}")
            # Just outside the scene is not the scene's colour.
            got = pixel(shot, x + w + 10, y + h // 2, env)
            check(not close(got, SAMPLE_BACKGROUND), "the scene colour spills past the scene window")
            # The scene's objects are drawn: the gold title "Kelvano" in the
            # upper half and the glowing red bar at the left edge.
            every = pixels(shot, x, y, w, h, env)
            check(len(every) == w * h, f"read {len(every)} pixels of the scene")
            gold = [i for i, p in enumerate(every) if p[0] > 120 and p[1] > 80 and p[0] > p[1] > p[2] + 20]
            red = [i for i, p in enumerate(every) if p[0] > 180 and p[1] < 100 and p[2] < 80]
            check(len(gold) > 300 and all(i < w * h // 2 for i in gold),
                  f"{len(gold)} gold pixels of the title, not all in the upper half")
            check(len(red) > 100 and all(i % w < w // 4 for i in red), f"{len(red)} red pixels of the bar")

        view_keys(window, kids, scene, home, env)
        stop(proc, display, window, log, env, "first run")
        conf_path = os.path.join(home, ".config", "kelvano", "kelvano.conf")
        if not check(os.path.isfile(conf_path), "no settings file at " + conf_path):
            return 1
        conf = configparser.ConfigParser(interpolation=None)
        conf.optionxform = str
        conf.read(conf_path)
        for section, keys in {"Window": ["Show", "Left", "Right", "Top", "Bottom"], "App": ["State"],
                              "Configure": ["Highlight", "OutQuality", "EffectLength", "GrowLength", "ShrinkLength",
                                            "SceneX", "SceneY", "CopyOffsetX", "CopyOffsetY"]}.items():
            for key in keys:
                check(conf.has_option(section, key), f"settings lack {section}/{key}")
        check(conf.get("App", "State", fallback="") == "2", "App/State is not 2")
        check(conf.get("Configure", "SceneX", fallback="") == "580", "SceneX is not 580")
        check(conf.get("Configure", "OutQuality", fallback="") == "4", "OutQuality is not 4")

        # --- second run: the stored placement is restored ---
        for placement, expected, what in [((120, 90, 1020, 790), (120, 90, 900, 700), "stored placement"),
                                          ((3000, 2500, 3800, 3100), (0, 0, 800, 600), "placement off screen")]:
            left, top, right, bottom = placement
            conf.set("Window", "Show", "1")
            conf.set("Window", "Left", str(left))
            conf.set("Window", "Top", str(top))
            conf.set("Window", "Right", str(right))
            conf.set("Window", "Bottom", str(bottom))
            with open(conf_path, "w") as f:
                conf.write(f, space_around_delimiters=False)
            proc, log = start(program, work, [], env)
            window = xh.wait_for_window(TITLE, env)
            if not check(window is not None, what + ": no window"):
                proc.kill()
                continue
            time.sleep(1.5)
            got = geometry(window, env)
            check(got == expected, f"{what}: window at {got}, expected {expected}")
            if what == "stored placement":
                # Without a file the program shows a new scene.
                _, scene = scene_window(window, env)
                shot = os.path.join(home, "second.png")
                if check(len(scene) == 1, "second run: no 580 x 392 scene window"):
                    w, h, x, y = scene[0]
                    shot_when(shot, x + w // 2, y + h // 2, BACKGROUND, env, 2)
                    got = pixel(shot, x + w // 2, y + h // 2, env)
                    check(close(got, BACKGROUND, 2), f"second run: scene pixel {got}, not {BACKGROUND}")
            stop(proc, display, window, log, env, what)

        command_line(program, env)
        check_log(work)
        # Last: its log is its own.
        os.rename(os.path.join(work, "program.log"), os.path.join(work, "program-1.log"))
        blocked_settings(program, work, home, display, env)
    under_window_manager(program, source)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
