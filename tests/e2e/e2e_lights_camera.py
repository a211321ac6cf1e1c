#!/usr/bin/env python3
"""The Light and Camera tabs of the Edit Box and a camera preset of the real
program under a private X server.

The pyramid sample is opened; a click selects the pyramid, the model page's
"Texture" button opens the "Texture" window, whose browse button's file
dialog takes a red picture outside the texture folder by its full path, and
"Close" closes it. On the "Light" tab "L2" is switched on; on the
"Camera" tab "Orthographic" is chosen and 1000 typed into the width with
Enter. Shift+5 shows the "View Width" pane and Shift+5 again hides it. The
saved scene has two lights "on 1" and an orthographic viewpoint 1000 wide,
and kelvano-render draws it in a fresh process smaller than the sample. The
saved model names the picture by its full path and is drawn red.

e2e_lights_camera.py PROGRAM RENDER SOURCE_DIR
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

PREVIEW = (120, 120)
# The model page's "Texture" button: x on the screen, y below the tab row.
TEXTURE_BUTTON = (159, 188)  # the pages' GL previews, windows of their own
failures = ep.failures
check = ep.check


def click(env, x, y):
    xh.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "1"], env)
    time.sleep(0.6)


def key(env, *keys):
    xh.run(["xdotool", "key", "--delay", "80"] + list(keys), env)
    time.sleep(0.5)


def previews(window, env):
    """Ids and places of the preview windows: {id: (x, y)}."""
    found = {}
    for line in ep.tree(window, env).splitlines():
        m = re.match(r"\s+(0x[0-9a-f]+) .*?(\d+)x(\d+)\+(-?\d+)\+(-?\d+)\s+\+(-?\d+)\+(-?\d+)", line)
        if m and (int(m.group(2)), int(m.group(3))) == PREVIEW:
            found[m.group(1)] = (int(m.group(6)), int(m.group(7)))
    return found


def new_preview(window, env, known, timeout=20.0):
    deadline = time.time() + timeout
    while time.time() < deadline:
        fresh = {k: v for k, v in previews(window, env).items() if k not in known}
        if fresh:
            return next(iter(fresh.values()))
        time.sleep(0.3)
    return None


def tab_centres(scene, home, env):
    """Centres of the Edit Box's tab labels: runs of dark text on the tab row
    beside the scene window's top."""
    w, h, x, y = scene
    png = os.path.join(home, "tabs.png")
    xh.run(["import", "-window", "root", png], env)
    rows = ep.pixels(png, 0, y + 15, x, 7, env)
    dark = [any(sum(rows[r * x + col]) < 3 * 120 for r in range(7)) for col in range(x)] if len(rows) == 7 * x else []
    runs, start, last = [], None, None
    for col, d in enumerate(dark):
        if d:
            # Letters lie closer together than the tabs.
            if start is None or col - last > 18:
                if start is not None:
                    runs.append((start + last) // 2)
                start = col
            last = col
    if start is not None:
        runs.append((start + last) // 2)
    return runs


def blocks(lines, keyword):
    """The bodies of the top-level blocks of a saved scene named keyword."""
    out, body = [], None
    for line in lines:
        if body is None and line.startswith(keyword + " {"):
            body = []
        elif body is not None and line.startswith("}"):
            out.append(body)
            body = None
        elif body is not None:
            body.append(line.strip().split(None, 1))
    return out


def shape_pixels(render, scene, out, env):
    """Pixels of a render unlike its corner (the background)."""
    xh.run([render, scene, "-o", out], env)
    if not os.path.exists(out):
        return None
    every = ep.pixels(out, 0, 0, 580, 392, env)
    return sum(1 for p in every if not ep.close(p, every[0], 12)) if every else None


def texture_step(scene, tab_y, picture, env):
    """Selects the pyramid, opens the model page's "Texture" window, browses
    the picture through the file dialog and closes the window."""
    w, h, x, y = scene
    click(env, x + 289, y + 195)  # the pyramid
    window = None
    for _ in range(3):
        click(env, TEXTURE_BUTTON[0], tab_y + TEXTURE_BUTTON[1])
        window = xh.wait_for_window("Texture", env, timeout=15)
        if window:
            break
    if not check(window is not None, "the model page's Texture button shows no 'Texture' window"):
        return
    time.sleep(1.0)
    dx, dy, dw, _ = ep.geometry(window, env)
    chooser = None
    for _ in range(3):
        click(env, dx + dw - 20, dy + 22)  # the browse button right of the file name
        chooser = xh.wait_for_window("Select a file", env, timeout=15)
        if chooser:
            break
    if check(chooser is not None, "the Texture window's browse button shows no file dialog"):
        time.sleep(1.0)
        xh.run(["xdotool", "windowfocus", "--sync", str(chooser)], env)
        key(env, "ctrl+l")
        xh.run(["xdotool", "type", "--delay", "40", picture], env)
        time.sleep(0.5)
        key(env, "Return")
        check(ep.wait_gone("Select a file", env, 20), "the file dialog stays open")
    dx, dy, dw, dh = ep.geometry(window, env)
    click(env, dx + dw - 45, dy + dh - 24)  # "Close"
    check(ep.wait_gone("Texture", env, 20), "Close leaves the 'Texture' window open")


def red_pixels(png, env):
    every = ep.pixels(png, 0, 0, 580, 392, env) if os.path.exists(png) else []
    return sum(1 for r, g, b in every if r > 150 and g < 80 and b < 80)


def main():
    program, render, source = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]), sys.argv[3]
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work = tempfile.mkdtemp(prefix="work-", dir=home)
        scene_file = os.path.join(work, "pyramid.apn")
        for name in ["pyramid.apn", "pyramid.obj"]:
            shutil.copyfile(os.path.join(source, "data", "scenes", name), os.path.join(work, name))
        proc, log = ep.start(program, work, [scene_file], env)
        window = ep.main_window(proc, work, env)
        if window is None:
            log.close()
            return 1
        _, scene = ep.scene_window(window, env)
        deadline = time.time() + 30
        while not scene and time.time() < deadline:
            time.sleep(0.5)
            _, scene = ep.scene_window(window, env)
        # A busy machine may draw the bar late.
        tabs, deadline = [], time.time() + 30
        while scene and len(tabs) != 3 and time.time() < deadline:
            time.sleep(0.5)
            tabs = tab_centres(scene[0], home, env)
        if not check(len(tabs) == 3, f"the Edit Box shows no three tabs: {tabs}"):
            ep.stop(proc, display, window, log, env, "lights and camera")
            ep.check_log(work)
            return 1
        tab_y = scene[0][3] + 18
        picture = os.path.join(work, "red.png")
        xh.run(["convert", "-size", "64x64", "xc:red", picture], env)
        texture_step(scene[0], tab_y, picture, env)

        known = previews(window, env)
        click(env, tabs[1], tab_y)
        light = new_preview(window, env, known)
        if check(light is not None, "the Light tab shows no preview"):
            # "L2": the second of four buttons centred over the preview.
            click(env, light[0] + PREVIEW[0] // 2 - 23, light[1] - 50)
            known = previews(window, env)
        click(env, tabs[2], tab_y)
        camera = new_preview(window, env, known)
        if check(camera is not None, "the Camera tab shows no preview"):
            click(env, camera[0] - 48, camera[1] - 185)  # "Orthographic"
            click(env, camera[0] + 178, camera[1] - 123)  # the width edit
            key(env, "End", *(["BackSpace"] * 6))
            xh.run(["xdotool", "type", "--delay", "80", "1000"], env)
            key(env, "Return")

        # The scene window takes the keys; Shift+5 is the Top view.
        w, h, x, y = scene[0]
        click(env, x + 8, y + 8)
        key(env, "shift+5")
        pane = xh.wait_for_window("View Width", env, timeout=10)
        check(pane is not None, "Shift+5 shows no 'View Width' pane")
        key(env, "shift+5")
        check(ep.wait_gone("View Width", env, 10), "Shift+5 again leaves the 'View Width' pane shown")

        lines = ep.save_and_read(scene_file, env, "save")
        lights = blocks(lines, "light")
        lit = [b for b in lights if ["on", "1"] in b]
        check(len(lights) == 4 and len(lit) == 2, f"{len(lit)} of {len(lights)} lights on: {lights}")
        model = dict((p[0], p[1] if len(p) > 1 else "") for p in (blocks(lines, "model") or [[]])[0])
        check(model.get("texture") == '"' + picture + '"', f"the saved model: {model}")
        viewpoint = dict((p[0], p[1] if len(p) > 1 else "") for p in (blocks(lines, "viewpoint") or [[]])[0])
        check(viewpoint.get("perspective") == "0", f"the saved viewpoint: {viewpoint}")
        check(viewpoint.get("width", "").startswith("1000."), f"the saved viewpoint: {viewpoint}")

        if check(proc.poll() is None, f"the program ended early ({proc.poll()})"):
            ep.stop(proc, display, window, log, env, "lights and camera")
        # A fresh process draws the saved scene: 1000 wide shows the shapes
        # smaller than the sample's perspective.
        sample = shape_pixels(render, os.path.join(source, "data", "scenes", "pyramid.apn"),
                              os.path.join(work, "sample.png"), env)
        saved = shape_pixels(render, scene_file, os.path.join(work, "saved.png"), env)
        check(sample and saved and saved < sample * 0.8, f"shape pixels: sample {sample}, saved {saved}")
        # The red picture covers the model in the saved scene only.
        reds = red_pixels(os.path.join(work, "sample.png"), env), red_pixels(os.path.join(work, "saved.png"), env)
        check(reds[0] == 0 and reds[1] > 200, f"red pixels: sample {reds[0]}, saved {reds[1]}")
        ep.check_log(work)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
