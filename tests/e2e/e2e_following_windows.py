#!/usr/bin/env python3
"""Tool windows that follow the scene, in the real program under a private X
server.

Creating Effect across New: Animation Mode on a scene with the panel "T";
a right click on T and "Add Effect" open "Creating Effect"; T is dragged
twice (the preview moves it) and saved: the file holds no preview. One more
drag, File > New, "No" to "Save changes?": the dialog has gone with its
scene, and the program ends cleanly (no sanitizer report).

A texture tool across a click: the panel A is selected, its Texture window
opened with the page's Texture button (Alt+T) and its Move tool pressed; a
drag on A slides A's texture, A stays. A click on the panel B closes the
window; B dragged and nudged with the Right key moves, and the saved scene
has B moved and A where it was.

e2e_following_windows.py PROGRAM SOURCE_DIR
"""

import os
import re
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as ep  # noqa: E402
import xvfb_harness as xh  # noqa: E402
from e2e_support import click, xdo  # noqa: E402

failures = ep.failures
check = ep.check

HEAD = """scene {
    name\t"s"
    width\t580
    height\t392
    version\t250
}

viewpoint {
    name\t"Camera"
    position\t( 0.000000 0.000000 906.000000 )
    direction\t( 0.000000 0.000000 -1.000000 )
    near\t10.000000
    far\t\t5000.000000
    fov\t\t30.000000
    width\t\t720.000000
    perspective\t\t1
}
"""

EFFECT_SCENE = HEAD + """
panel {
    name\t"T"
    dimension\t( 240.000000 160.000000 10.000000 )
}

event {
    name\t"T"
    objectName\t"T"
}
"""

TEXTURE_SCENE = HEAD + """
panel {
    name\t"A"
    position\t( -150.000000 0.000000 0.000000 )
    dimension\t( 120.000000 120.000000 10.000000 )
    texture\t"wood.png"
    mode\t1
    faceFlag\t( 1 1 1 1 1 1 )
}

panel {
    name\t"B"
    position\t( 150.000000 0.000000 0.000000 )
    dimension\t( 120.000000 120.000000 10.000000 )
}

event {
    name\t"A"
    objectName\t"A"
}

event {
    name\t"B"
    objectName\t"B"
}
"""

# Scene units per window pixel at the depth of the objects: 906 units away,
# a vertical field of 30 degrees over 392 pixels.
UNITS_PER_PIXEL = 2 * 906 * 0.26795 / 392


def drag(env, x, y, dx, steps=6):
    xdo(env, "mousemove", x, y)
    time.sleep(0.3)
    xdo(env, "mousedown", 1)
    time.sleep(0.2)
    for i in range(1, steps + 1):
        xdo(env, "mousemove", x + dx * i // steps, y)
        time.sleep(0.1)
    xdo(env, "mouseup", 1)
    time.sleep(0.5)


def position_x(text, name):
    lines = ep.block(text, "panel", name)
    m = re.search(r"position\s+\(\s*(-?[\d.]+)", lines or "")
    return float(m.group(1)) if m else None


def started(program, work, scene_path, display, env):
    proc, log = ep.start(program, work, [scene_path], env)
    window = ep.main_window(proc, work, env)
    if window is None:
        log.close()
        return None
    ep.wait_gone("Kelvano", env, timeout=20)
    time.sleep(1.0)
    scene = []
    ep.wait_until(lambda: scene.append(ep.scene_window(window, env)[1]) or bool(scene[-1]), 30.0)
    if not check(scene and scene[-1], "no scene window"):
        ep.stop(proc, display, window, log, env, "start")
        return None
    return proc, log, window, scene[-1][0]


def creating_effect_across_new(program, display, home, env):
    work = tempfile.mkdtemp(prefix="effect-", dir=home)
    scene_path = os.path.join(work, "t.apn")
    with open(scene_path, "w") as f:
        f.write(EFFECT_SCENE)
    run = started(program, work, scene_path, display, env)
    if run is None:
        return
    proc, log, window, (w, h, sx, sy) = run
    cx, cy = sx + w // 2, sy + h // 2

    ep.menu(env, "m", "Down", "Return")  # Animation Mode
    time.sleep(1.0)
    click(env, cx, cy)
    xdo(env, "mousemove", cx, cy)
    time.sleep(0.3)
    xdo(env, "click", "3")
    time.sleep(1.0)
    ep.key_slowly(env, "e")  # Add Effect
    dialog = xh.wait_for_window("Creating Effect", env, timeout=20)
    if not check(dialog is not None, "Add Effect opened no \"Creating Effect\""):
        ep.stop(proc, display, window, log, env, "creating effect")
        ep.check_log(work)
        return
    time.sleep(0.5)
    # Out of the scene's way.
    xdo(env, "windowmove", dialog, 900, 600)
    time.sleep(0.5)
    drag(env, cx, cy, 40)
    drag(env, cx + 40, cy, 30)

    ep.focus(window, env)
    xdo(env, "mousemove", cx, cy)
    before = os.path.getmtime(scene_path)
    text = ep.save_and_read_text(env, scene_path, before)
    check(os.path.getmtime(scene_path) != before, "Ctrl+S did not save the scene")
    check("istempeffect" not in text, "the saved scene holds the dialog's preview:\n" + text)
    check(ep.visible("Creating Effect", env), "the save closed \"Creating Effect\"")

    drag(env, cx + 70, cy, 20)
    ep.focus(window, env)
    xdo(env, "mousemove", cx, cy)
    ep.key_slowly(env, "ctrl+n")
    prompt = xh.wait_for_window("Kelvano", env, timeout=20)
    if check(prompt is not None, "New asked nothing after the drag"):
        ep.focus(prompt, env)
        ep.key_slowly(env, "alt+n")
        check(ep.wait_gone("Kelvano", env, 10), "\"Save changes?\" stays open")
    time.sleep(1.0)
    gone = ep.wait_gone("Creating Effect", env, 10)
    check(gone, "\"Creating Effect\" outlived its scene")
    if not gone:
        # What a user does with a dialog left open: Cancel.
        dialog = xh.wait_for_window("Creating Effect", env, timeout=5)
        if dialog is not None:
            ep.focus(dialog, env)
            ep.key_slowly(env, "Escape")
        time.sleep(1.0)
    check(proc.poll() is None, "the program ended after New")
    if proc.poll() is None:
        ep.stop(proc, display, window, log, env, "creating effect")
    else:
        log.close()
    ep.check_log(work)


def texture_tool_across_a_click(program, display, home, env):
    work = tempfile.mkdtemp(prefix="texture-", dir=home)
    scene_path = os.path.join(work, "panels.apn")
    with open(scene_path, "w") as f:
        f.write(TEXTURE_SCENE)
    subprocess.run(["convert", "-size", "16x16", "pattern:checkerboard", os.path.join(work, "wood.png")], check=True)
    run = started(program, work, scene_path, display, env)
    if run is None:
        return
    proc, log, window, (w, h, sx, sy) = run
    cy = sy + h // 2
    ax = sx + w // 2 - round(150 / UNITS_PER_PIXEL)
    bx = sx + w // 2 + round(150 / UNITS_PER_PIXEL)

    click(env, ax, cy)  # A, the selection already
    ep.key_slowly(env, "alt+t")  # the panel page's Texture button
    texture = xh.wait_for_window("Texture", env, timeout=20)
    if not check(texture is not None, "Alt+T opened no Texture window"):
        ep.stop(proc, display, window, log, env, "texture")
        ep.check_log(work)
        return
    time.sleep(0.5)
    xdo(env, "windowmove", texture, 900, 560)
    time.sleep(0.5)
    # Move is the first of the tools' row, above the Close row.
    tx, ty, _, th = ep.geometry(texture, env)
    click(env, tx + 45, ty + th - 68)
    ep.screenshot(home, "texture-move", env)

    drag(env, ax, cy, 40)  # the Move tool slides A's texture
    click(env, bx, cy)  # another selection: the window goes
    check(ep.wait_gone("Texture", env, 10), "the Texture window stayed after B was chosen")
    drag(env, bx, cy, 50)
    ep.focus(window, env)
    xdo(env, "mousemove", bx + 50, cy)
    ep.key_slowly(env, "Right")

    before = os.path.getmtime(scene_path)
    text = ep.save_and_read_text(env, scene_path, before)
    a, b = position_x(text, "A"), position_x(text, "B")
    check(a is not None and abs(a + 150) < 0.5, f"A moved under its texture tool: x {a}")
    check(b is not None and b > 150 + 40 * UNITS_PER_PIXEL,
          f"B did not move with the drag and the key after the Texture window closed: x {b}\n" + text)
    ep.stop(proc, display, window, log, env, "texture")
    ep.check_log(work)


def main():
    program, source = os.path.abspath(sys.argv[1]), sys.argv[2]
    missing = ep.missing_tool_exit("xdotool", "convert", "xwininfo")
    if missing is not None:
        return missing
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        creating_effect_across_new(program, display, home, env)
        texture_tool_across_a_click(program, display, home, env)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
