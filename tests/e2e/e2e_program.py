#!/usr/bin/env python3
"""The real program under a private X server.

1. Started from a scratch folder with a scene file named by a relative path,
   it shows "Kelvano 2.6 Std" with both tool bars, and its scene window has
   the scene size and the new scene's background colour (read from an
   ImageMagick screenshot).
2. Closed as a window manager would close it, it exits cleanly and its
   settings file holds the placement and the settings.
3. Started again after the placement was changed in the file, it opens where
   the file says; a placement on a monitor that no longer exists lands on the
   screen's top-left corner.

e2e_program.py PROGRAM SOURCE_DIR
"""

import configparser
import os
import re
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xvfb_harness as xh  # noqa: E402

TITLE = "Kelvano 2.6 Std"
BACKGROUND = (36, 89, 171)

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message, flush=True)
    return condition


def tree(window, env):
    return xh.run(["xwininfo", "-tree", "-id", str(window)], env).stdout


def geometry(window, env):
    """(x, y, width, height) of a window on the screen."""
    out = xh.run(["xwininfo", "-id", str(window)], env).stdout
    values = {}
    for key, name in [("Absolute upper-left X", "x"), ("Absolute upper-left Y", "y"), ("Width", "w"),
                      ("Height", "h")]:
        m = re.search(key + r":\s+(-?\d+)", out)
        values[name] = int(m.group(1)) if m else None
    return values["x"], values["y"], values["w"], values["h"]


def children_named(window, env):
    """Names and geometry of the direct and deeper children: {name: (w, h, x, y)}."""
    found = {}
    for line in tree(window, env).splitlines():
        m = re.match(r'\s+0x[0-9a-f]+ (?:"([^"]*)"|\(has no name\)):.*?(\d+)x(\d+)\+(-?\d+)\+(-?\d+)\s+\+(-?\d+)\+(-?\d+)',
                     line)
        if m:
            name = m.group(1) or ""
            found.setdefault(name, []).append(tuple(int(v) for v in m.group(2, 3, 6, 7)))
    return found


def pixel(png, x, y, env):
    out = xh.run(["convert", png, "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-"], env).stdout
    m = re.search(r"\((\d+),(\d+),(\d+)", out.splitlines()[-1] if out else "")
    return tuple(int(v) for v in m.groups()) if m else None


def start(program, cwd, args, env):
    log = open(os.path.join(cwd, "program.log"), "a")
    return subprocess.Popen([program] + args, cwd=cwd, env=env, stdout=log, stderr=subprocess.STDOUT), log


def stop(proc, display, window, log, env, what):
    xh.close_window(display, window)
    try:
        rc = proc.wait(timeout=30)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
        rc = None
    log.close()
    check(rc == 0, f"{what}: the program ended with {rc} after the close request")


def main():
    program, source = os.path.abspath(sys.argv[1]), sys.argv[2]
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work = tempfile.mkdtemp(prefix="work-", dir=home)
        os.makedirs(os.path.join(work, "scenes"))
        # The scene is named relative to the folder the program starts in.
        with open(os.path.join(work, "scenes", "sample.apn"), "w") as f:
            f.write("# scene\n")

        # --- first run ---
        proc, log = start(program, work, ["scenes/sample.apn"], env)
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
        time.sleep(0.5)
        kids = children_named(window, env)
        check("Kelvano Toolbar" in kids, "no main tool bar window: " + str(sorted(kids)))
        check("Camera" in kids, "no Camera tool bar window")
        if "Kelvano Toolbar" in kids and "Camera" in kids:
            main_bar, camera_bar = kids["Kelvano Toolbar"][0], kids["Camera"][0]
            check(abs(main_bar[3] - camera_bar[3]) <= 2 and camera_bar[2] > main_bar[2],
                  "the Camera bar is not right of the main tool bar on its row")
        scene = [g for g in kids.get("", []) if g[0] == 580 and g[1] == 392]
        check(len(scene) == 1, "no 580 x 392 scene window among " + str(kids.get("", [])))

        shot = os.path.join(home, "first.png")
        xh.run(["import", "-window", "root", shot], env)
        if scene and check(os.path.isfile(shot), "no screenshot"):
            w, h, x, y = scene[0]
            for px, py in [(x + 5, y + 5), (x + w // 2, y + h // 2), (x + w - 6, y + h - 6)]:
                got = pixel(shot, px, py, env)
                check(got is not None and all(abs(a - b) <= 2 for a, b in zip(got, BACKGROUND)),
                      f"scene pixel at {px},{py} is {got}, not {BACKGROUND}")
            # Just outside the scene is not the scene's colour.
            got = pixel(shot, x + w + 10, y + h // 2, env)
            check(got != BACKGROUND, "the scene colour spills past the scene window")

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
            stop(proc, display, window, log, env, what)

        with open(os.path.join(work, "program.log")) as f:
            text = f.read()
        check("ERROR: AddressSanitizer" not in text and "runtime error" not in text,
              "sanitizer reports in the program's output")
        if failures:
            print(text[-6000:])
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
