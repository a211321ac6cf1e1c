#!/usr/bin/env python3
"""The time line editor with the real program under a private X server.

A scene of format 2.5 with the object "T" and its empty event is opened;
in Animation Mode T is dragged 60 pixels right with only the X axis on, the
new bar is dragged 10 pixels right, a pause is added at frame 50 and a sound
(a WAV made by sox) on the sound row; the saved scene holds effect001 moving
60 along X, T's play from 10 to 30, the pause and the sound, whose file soxi
reads. Timeline Options with the length doubled then doubles every time.

e2e_timeline.py PROGRAM SOURCE_DIR
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
from e2e_support import (BLACK, clear_field, click, find_colour, menu, save_and_read_text, screenshot,  # noqa: E402
                         wait_gone, xdo)

BAR_BODY = (224, 165, 5)  # the selected bar's body on the track
failures = ep.failures
check = ep.check

SCENE = """scene {
    name\t"t"
    width\t580
    height\t392
    version\t250
}

viewpoint {
    name\t"camera"
    position\t( 0.000000 0.000000 906.000000 )
    direction\t( 0.000000 0.000000 -1.000000 )
    near\t10.000000
    far\t\t5000.000000
    fov\t\t30.000000
    width\t\t720.000000
    perspective\t\t1
}

panel {
    name\t"T"
    dimension\t( 240.000000 160.000000 10.000000 )
}

event {
    name\t"T"
    objectName\t"T"
}
"""


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


def main():
    program, source = os.path.abspath(sys.argv[1]), sys.argv[2]
    missing = ep.missing_tool_exit("sox", "soxi", "xdotool", "convert")
    if missing is not None:
        return missing
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work = tempfile.mkdtemp(prefix="work-", dir=home)
        scene_path = os.path.join(work, "t.apn")
        with open(scene_path, "w") as f:
            f.write(SCENE)
        wav = os.path.join(work, "beep.wav")
        subprocess.run(["sox", "-n", "-r", "22050", "-c", "1", "-b", "16", wav, "synth", "0.2", "sine", "660"],
                       check=True)

        proc, log = ep.start(program, work, [scene_path], env)
        window = ep.main_window(proc, work, env)
        if window is None:
            log.close()
            return 1
        wait_gone("Kelvano", env, timeout=20)
        time.sleep(1.0)
        kids, scene = ep.scene_window(window, env)
        if not check(len(scene) == 1, "no scene window"):
            ep.stop(proc, display, window, log, env, "time line")
            return 1
        w, h, sx, sy = scene[0]
        cx, cy = sx + w // 2, sy + h // 2

        # Animation Mode (both mode items toggle), then X only.
        menu(env, "m", "Down", "Return")
        time.sleep(1.0)
        click(env, cx, cy)
        xdo(env, "key", "y")
        time.sleep(0.3)
        drag(env, cx, cy, 60)
        time.sleep(1.0)

        # The new effect's bar is the selected one: gold on the track.
        png = screenshot(home, "bar", env)
        box = find_colour(png, BAR_BODY, env)
        if not check(box is not None, "no selected bar on the time line after the drag"):
            ep.stop(proc, display, window, log, env, "time line")
            return 1
        # The bar starts at frame 0: its left line is the track's left edge.
        track_x = box[0] - 1
        row_top = box[1] - 5
        track_top = row_top
        while ep.close(ep.pixel(png, track_x, track_top - 1, env), BLACK, 10):
            track_top -= 1
        check((row_top - track_top) % 19 in (0, 18, 1), f"rows of 19 pixels: row {row_top}, track {track_top}")
        drag(env, (box[0] + box[2]) // 2, (box[1] + box[3]) // 2, 10, steps=5)

        # Rows back to the top: the pause row, frame 50, +E.
        for _ in range(8):
            xdo(env, "key", "Up")
            time.sleep(0.1)
        time.sleep(0.5)
        panel_x, panel_y = track_x - 96, track_top - 30
        screenshot(home, "rows-up", env)
        click(env, track_x + 150, track_top + 9)
        click(env, panel_x + 262, panel_y + 14)
        clear_field(env)
        xdo(env, "type", "50")
        xdo(env, "key", "Return")
        time.sleep(0.5)
        click(env, track_x + 150, track_top + 9)
        click(env, panel_x + 320, panel_y + 14)

        # The sound row: +E asks for the wave file.
        click(env, track_x + 150, track_top + 19 + 9)
        screenshot(home, "pause", env)
        click(env, panel_x + 320, panel_y + 14)
        screenshot(home, "sound", env)
        dialog = xh.wait_for_window("Open WAV File", env, timeout=15)
        if check(dialog is not None, "no \"Open WAV File\" dialog"):
            xdo(env, "windowfocus", "--sync", dialog)
            xdo(env, "type", "--delay", "30", wav)
            time.sleep(0.8)
            xdo(env, "key", "Return")
            wait_gone("Open WAV File", env)
        time.sleep(0.5)

        before = os.path.getmtime(scene_path)
        text = save_and_read_text(env, scene_path, before)
        check(re.search(r'effect\s*\{\s*name\s+"effect001"\s+trans\s+\(\s*60\.0+ 0\.0+ 0\.0+\s*\)', text) is not None,
              "effect001 does not move 60 along X:\n" + text)
        check(re.search(r'play\s+\(\s*"effect001"\s+10\s+30\s+1\s*\)', text) is not None,
              "T does not play effect001 from 10 to 30")
        check(re.search(r"pause\s+50\b", text) is not None, "no pause at frame 50")
        m = re.search(r'sound\s+\(\s*(\d+)\s+"([^"]+)"\s*\)', text)
        if check(m is not None, "no sound in the saved scene"):
            check(m.group(1) == "50", "the sound is at frame " + m.group(1))
            info = xh.run(["soxi", "-r", m.group(2)], env)
            check(info.returncode == 0 and info.stdout.strip() == "22050",
                  f"soxi cannot read the stored sound {m.group(2)!r}: {info.stderr.strip()}")

        # Timeline Options: the length (the last frame, 50) doubled.
        menu(env, "n", "o")
        screenshot(home, "options", env)
        options = xh.wait_for_window("Options", env, timeout=15)
        if check(options is not None, "no Options dialog"):
            xdo(env, "windowfocus", "--sync", options)
            for _ in range(3):
                xdo(env, "key", "Tab")
                time.sleep(0.1)
            clear_field(env)
            xdo(env, "type", "100")
            xdo(env, "key", "Return")
            wait_gone("Options", env)
            time.sleep(0.5)
            before = os.path.getmtime(scene_path)
            text = save_and_read_text(env, scene_path, before)
            check(re.search(r'play\s+\(\s*"effect001"\s+20\s+60\s+1\s*\)', text) is not None,
                  "the play is not doubled to 20..60:\n" + text)
            check(re.search(r"pause\s+100\b", text) is not None, "the pause is not at 100")
            check(re.search(r'sound\s+\(\s*100\s+"', text) is not None, "the sound is not at 100")

        ep.stop(proc, display, window, log, env, "time line")
        ep.check_log(work)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
