#!/usr/bin/env python3
"""An animation walked through as a user does it, under a private X server.

The sample titles.apn is opened and switched to Animation Mode. The heading
is clicked, which selects its row on the time line; Play runs to the end
(frame 60, which also holds a pause); the step buttons go back and forth and
a click on the track jumps to frame 20. At each stop the scene window shows
what kelvano-render draws for that frame of the scene as saved. Then +E
opens "Creating Effect", a drag of the heading gives the effect its move and
OK plays it from the frame standing there. Played again, the animation holds
at the pause, goes on with Space and ends with the heading moved as the
render tool draws it, and the saved file holds the new effect and its play.

e2e_animation_walk.py PROGRAM RENDER_TOOL SOURCE_DIR
"""

import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as ep  # noqa: E402
import xvfb_harness as xh  # noqa: E402
from e2e_support import BLACK, clear_field, click, menu, screenshot, wait_gone, xdo  # noqa: E402

BAR_BODY = (224, 165, 5)  # the selected bar's body on the track
MARKER = (0, 128, 0)  # the current frame's line on the track
failures = ep.failures
check = ep.check

# The time line's buttons, from the panel's corner (the track's corner less
# the row names to the left and the button row above).
GO_START, STEP_BACK, PLAY, STEP_FORWARD, FRAME, ADD = 10, 34, 121, 144, 263, 323


def differing(shot, scene, tool_png, env):
    """Pixels of the scene window in the screenshot that differ from the
    render tool's picture by more than a step of rounding."""
    x, y, w, h = scene
    crop = shot + ".scene.png"
    xh.run(["convert", shot, "-crop", f"{w}x{h}+{x}+{y}", "+repage", crop], env)
    out = xh.run(["compare", "-metric", "AE", "-fuzz", "2%", crop, tool_png, "null:"], env)
    try:
        return int(float(out.stderr.split()[0]))
    except (IndexError, ValueError):
        return -1


def main():
    program, render, source = (os.path.abspath(a) for a in sys.argv[1:4])
    missing = ep.missing_tool_exit("xdotool", "convert", "compare")
    if missing is not None:
        return missing
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work, scene_path, proc, log, window = ep.start_on_sample(program, source, home, env)
        if window is None:
            return 1
        # The sample's chime beside the copy, as beside the sample.
        subprocess.run(["cp", os.path.join(source, "data", "scenes", "chime.wav"), work], check=True)
        wait_gone("Kelvano", env, timeout=20)
        time.sleep(1.0)
        _, scenes = ep.scene_window(window, env)
        if not check(len(scenes) == 1, "no scene window"):
            ep.stop(proc, display, window, log, env, "walk")
            return 1
        w, h, sx, sy = scenes[0]
        scene = (sx, sy, w, h)
        # The heading stands 90 units above the middle of the 580 x 392 window.
        heading = (sx + w // 2, sy + h // 2 - 90)

        tool_frames = {}

        def tool_picture(saved, frame):
            key = (saved, frame)
            if key not in tool_frames:
                png = os.path.join(work, f"tool-{len(tool_frames)}.png")
                out = xh.run([render, saved, "--frame", str(frame), "-o", png], env)
                check(out.returncode == 0, f"kelvano-render frame {frame}: {out.stdout}{out.stderr}")
                tool_frames[key] = png
            return tool_frames[key]

        def shows(saved, frame, what, timeout=30.0):
            """The scene window comes to show the tool's frame."""
            png = tool_picture(saved, frame)
            deadline = time.time() + timeout
            while True:
                shot = screenshot(home, "walk", env)
                diff = differing(shot, scene, png, env)
                if diff == 0 or time.time() > deadline:
                    break
                time.sleep(0.5)
            check(diff == 0, f"{what}: the window is not frame {frame} as kelvano-render draws it ({diff} pixels)")

        # Animation Mode; a click on the heading selects its row.
        menu(env, "m", "Down", "Return")
        time.sleep(1.5)
        click(env, *heading)
        time.sleep(1.0)
        png = screenshot(home, "selected", env)
        box = ep.find_colour(png, BAR_BODY, env)
        if not check(box is not None, "no selected bar on the time line after a click on the heading"):
            ep.stop(proc, display, window, log, env, "walk")
            return 1
        # The heading's play starts at frame 0: its left line is the track's
        # edge, under the marker of the current frame (0).
        track_x = box[0] - 1
        track_top = box[1] - 5
        while any(ep.close(ep.pixel(png, track_x, track_top - 1, env), c, 10) for c in (BLACK, MARKER)):
            track_top -= 1
        panel_x, button_y = track_x - 96, track_top - 20

        def button(dx):
            click(env, panel_x + dx, button_y)
            time.sleep(0.6)

        # The scene as it stands, for the render tool.
        before = os.path.getmtime(scene_path)
        ep.save_and_read_text(env, scene_path, before)

        button(PLAY)
        shows(scene_path, 60, "played to the end", timeout=60)
        button(STEP_BACK)
        shows(scene_path, 59, "a step back from the end")
        button(STEP_BACK)
        shows(scene_path, 58, "a second step back")
        button(STEP_FORWARD)
        shows(scene_path, 59, "a step forward")
        # Scrubbing: the frame marker's handle dragged back to frame 20.
        xdo(env, "mousemove", track_x + 59, track_top + 4)
        time.sleep(0.3)
        xdo(env, "mousedown", 1)
        for f in range(55, 19, -5):
            xdo(env, "mousemove", track_x + f, track_top + 4)
            time.sleep(0.1)
        xdo(env, "mouseup", 1)
        time.sleep(0.6)
        shows(scene_path, 20, "scrubbing back to frame 20")
        button(STEP_FORWARD)
        shows(scene_path, 21, "a step forward from frame 20")
        # Frame 60 typed, where the new effect starts.
        click(env, panel_x + FRAME, button_y)
        clear_field(env)
        xdo(env, "type", "60")
        xdo(env, "key", "Return")
        time.sleep(0.6)
        shows(scene_path, 60, "frame 60 typed")

        # +E on the heading's row: "Creating Effect"; a drag of the heading
        # moves the preview, OK plays the effect from frame 60.
        button(ADD)
        dialog = xh.wait_for_window("Creating Effect", env, timeout=15)
        if check(dialog is not None, "+E opened no \"Creating Effect\""):
            click(env, sx + 10, sy + 10)  # empty space: the heading stays selected
            xdo(env, "key", "y")  # the X axis alone
            time.sleep(0.3)
            # The heading spun in place: it stands where it started.
            x, y = heading
            xdo(env, "mousemove", x, y)
            time.sleep(0.3)
            xdo(env, "mousedown", 1)
            for i in range(1, 7):
                xdo(env, "mousemove", x + 10 * i, y)
                time.sleep(0.1)
            xdo(env, "mouseup", 1)
            time.sleep(0.5)
            ep.focus(dialog, env)
            xdo(env, "key", "Return")
            wait_gone("Creating Effect", env)
            time.sleep(0.5)

        before = os.path.getmtime(scene_path)
        text = ep.save_and_read_text(env, scene_path, before)
        effect = ep.block(text, "effect", "effect001")
        check(effect is not None and re.search(r"trans\s+\(\s*60\.0+ 0\.0+ 0\.0+\s*\)", effect) is not None,
              "the saved effect001 does not move 60 along X:\n" + str(effect))
        event = ep.block(text, "event", "heading")
        m = re.search(r'play\s+\(\s*"effect001"\s+(\d+)\s+(\d+)\s+1\s*\)', event or "")
        if check(m is not None, "the heading does not play effect001:\n" + str(event)):
            check(m.group(1) == "60", "effect001 starts at frame " + m.group(1))
            last = int(m.group(2))
            check(last == 80, "effect001 ends at frame " + m.group(2))
            # It plays: from the start to its end, where the heading stands
            # moved as the render tool draws the saved scene.
            tool_frames.clear()
            button(GO_START)
            shows(scene_path, 0, "go to start")
            button(PLAY)
            # The sample's pause at frame 60 holds the playback; Space in the
            # scene window lets it go on.
            shows(scene_path, 60, "playback held at the pause", timeout=60)
            click(env, sx + 10, sy + 10)
            xdo(env, "key", "space")
            shows(scene_path, last, "played with the new effect", timeout=60)
            moved = xh.run(["compare", "-metric", "AE", tool_picture(scene_path, 60), tool_picture(scene_path, last),
                            "null:"], env)
            check(float(moved.stderr.split()[0] or 0) > 500, "the new effect moves nothing")

        ep.stop(proc, display, window, log, env, "walk")
        ep.check_log(work)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
