#!/usr/bin/env python3
"""The stock textures, backgrounds and sounds as a user meets them, in the real
program under a private X server, then the program ended as a desktop ends it.

On a new scene P puts down a panel; the panel page's Texture button opens the
texture window, whose browse button opens the picture chooser on the stock
textures: the last but one, wood-oak.jpg, is taken. Environment > Background >
Texture... opens on the stock backgrounds: the second, sky-day.jpg, is taken.
In Animation Mode the time line's sound row at frame 0 and +E open the sound
chooser on the stock sounds: the first, chime.wav, is listened to and taken.
The chooser's folders are found only by opening there: nothing is typed.

The saved scene names the three by their stock names; kelvano-render draws
the saved scene with the sky behind (ImageMagick against the picture itself)
and the panel in wood; the AVI movie recorded through the menus carries the
chime (ffprobe, and ffmpeg's decoded track rings at 880 Hz). SDL's audio runs
on its disk driver, so what was heard is in a file. At the end SIGTERM, sent
after the chime played, ends the program within a few seconds.

e2e_stock_folders.py PROGRAM RENDER SOURCE_DIR
"""

import math
import os
import re
import signal
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as ep  # noqa: E402
import xvfb_harness as xh  # noqa: E402

check = ep.check
ROW = 19                      # a time line row's height
ROW_FILL = (216, 216, 216)    # a row of the time line, and the selected row
SELECTED_ROW = (216, 210, 101)
RATE = 22050


def chooser(title, env, keys, what):
    """The file dialog titled title, which opens with its first file
    selected: the keys move the selection, Return takes the file."""
    dialog = xh.wait_for_window(title, env, 30)
    if not check(dialog is not None, f"{what}: no '{title}' dialog"):
        return False
    time.sleep(1.5)  # a loaded machine fills the list late
    ep.focus(dialog, env)
    ep.key_each(env, *keys)
    for _ in range(3):
        ep.key_each(env, "Return")
        if ep.wait_gone(title, env, 10):
            return True
    return check(False, f"{what}: the '{title}' dialog stays open")


def texture_on_panel(run, env):
    w, h, sx, sy = run.scene
    ep.key(env, "p")
    panel = xh.wait_for_window("Input Panel Data", env, 30)
    if not check(panel is not None, "P shows no 'Input Panel Data' dialog"):
        return
    time.sleep(1.0)
    ep.focus(panel, env)
    ep.key(env, "Return")
    check(ep.wait_gone("Input Panel Data", env, 15), "OK leaves 'Input Panel Data' open")
    ep.click(env, sx + w // 2, sy + h // 2)
    time.sleep(1.0)
    # The page's "&Texture" button.
    ep.key(env, "alt+t")
    window = xh.wait_for_window("Texture", env, 20)
    if not check(window is not None, "the panel page's Texture button opens no texture window"):
        return
    time.sleep(1.0)
    x, y, tw, th = ep.geometry(window, env)
    ep.click(env, x + tw - 20, y + 20)  # the browse button right of the file name
    chooser("Select a file", env, ["End", "Up"], "texture")
    time.sleep(1.0)
    ep.click(env, x + tw - 52, y + th - 26)  # Close
    check(ep.wait_gone("Texture", env, 10), "Close leaves the texture window open")


def background(run, env):
    w, h, sx, sy = run.scene
    ep.click(env, sx + 4, sy + 4)
    ep.key(env, "alt+n")
    time.sleep(0.7)
    ep.key(env, "b")
    time.sleep(0.5)
    ep.key(env, "t")
    chooser("Open", env, ["Home", "Down"], "background")


def track_rows(run, env, home):
    """(left, top) of the time line's track: found from its selected row."""
    png = ep.screenshot(home, "time-line", env)
    box = ep.find_colour(png, SELECTED_ROW, env)
    if box is None:
        return None
    x, top = box[0] + 40, box[1]
    while ep.pixel(png, x, top - 1, env) in (ROW_FILL, SELECTED_ROW, (0, 0, 0), (255, 255, 255)):
        top -= 1
    return box[0], top


def sound_at_frame_zero(run, env, home):
    ep.menu(env, "m", "Down", "Return")  # Mode > Animation Mode
    time.sleep(1.5)
    rows = track_rows(run, env, home)
    if not check(rows is not None, "Animation Mode shows no time line with the panel's row"):
        return False
    left, top = rows
    # The track takes the keys once clicked; the rows scroll to the top,
    # where the pause and sound rows are.
    ep.click(env, left + 40, top + ROW // 2)
    for _ in range(10):
        ep.xdo(env, "key", "Up")
        time.sleep(0.1)
    time.sleep(0.5)
    ep.click(env, left + 1, top + ROW + ROW // 2)  # the sound row at frame 0
    ep.click(env, left - 1 - 96 + 320, top - 30 + 14)  # +E
    dialog = xh.wait_for_window("Open WAV File", env, 30)
    if not check(dialog is not None, "+E on the sound row shows no 'Open WAV File' dialog"):
        return False
    time.sleep(1.5)
    ep.focus(dialog, env)
    ep.key_each(env, "alt+l")  # Listen, to the first file: selected as the dialog opens
    time.sleep(2.0)
    return chooser("Open WAV File", env, [], "sound")


def decoded_audio(avi, env):
    out = subprocess.run(["ffmpeg", "-v", "error", "-i", avi, "-map", "0:a", "-ac", "1", "-ar", str(RATE), "-f",
                          "s16le", "-"], env=env, capture_output=True).stdout
    return list(struct.unpack("<%dh" % (len(out) // 2), out[:len(out) // 2 * 2]))


def tone(samples, f):
    """Goertzel power of one frequency."""
    k = 2 * math.cos(2 * math.pi * f / RATE)
    s1 = s2 = 0.0
    for x in samples:
        s1, s2 = x + k * s1 - s2, s1
    return s1 * s1 + s2 * s2 - k * s1 * s2


def mean_colour(png, x, y, w, h, env):
    px = ep.pixels(png, x, y, w, h, env)
    return tuple(sum(p[c] for p in px) / max(1, len(px)) for c in range(3))


def check_render(render, saved, home, program_dir, env):
    """The saved scene drawn: the sky behind, matching the stock picture where
    the panel does not cover it, and the panel in wood."""
    out = os.path.join(home, "drawn.png")
    r = xh.run([render, saved, "-o", out], env)
    if not check(r.returncode == 0 and os.path.isfile(out), f"kelvano-render: {r.stderr.strip()}"):
        return
    width, height = (int(v) for v in xh.run(["identify", "-format", "%w %h", out], env).stdout.split())
    sky = os.path.join(home, "sky.png")
    xh.run(["convert", os.path.join(program_dir, "Backgrounds", "sky-day.jpg"), "-resize", f"{width}x{height}!",
            sky], env)
    for fx, fy in ((0.05, 0.05), (0.05, 0.5), (0.5, 0.08), (0.95, 0.9), (0.05, 0.95)):
        x, y = int(fx * width), int(fy * height)
        drawn, wanted = mean_colour(out, x, y, 6, 6, env), mean_colour(sky, x, y, 6, 6, env)
        check(all(abs(a - b) <= 24 for a, b in zip(drawn, wanted)),
              f"the background at ({x}, {y}) is {drawn}, the sky picture {wanted}")
    panel = ep.pixels(out, width // 2 - 40, height // 2 - 15, 80, 30, env)
    m = tuple(sum(p[c] for p in panel) / len(panel) for c in range(3))
    lums = [0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2] for p in panel]
    spread = max(lums) - min(lums)
    check(m[0] > m[1] > m[2] and m[0] - m[2] > 40 and spread > 25,
          f"the panel is not drawn in wood: mean {m}, brightness spread {spread:.0f}")


def record_avi(run, env, work):
    avi = os.path.join(work, "stock.avi")
    ep.animation_file_item(run.window, env, work, "a")
    if ep.save_as("Save To AVI", avi, env):
        compressor = xh.wait_for_window("Video Compression", env, 30)
        if check(compressor is not None, "no compressor dialog"):
            ep.focus(compressor, env)
            ep.key(env, "Return")
            ep.wait_done(env, "AVI")
    if not check(os.path.isfile(avi), "no AVI written"):
        return
    audio = ep.probe(["-select_streams", "a", "-show_entries", "stream=codec_name,sample_rate,channels"], avi, env)
    check(audio == f"pcm_s16le,{RATE},1", f"the AVI's sound stream: {audio!r}")
    samples = decoded_audio(avi, env)
    head = samples[:int(0.3 * RATE)]
    check(len(samples) >= RATE and tone(head, 880) > 20 * max(tone(head, f) for f in (660, 1100, 1320)),
          f"the AVI's sound does not ring at 880 Hz ({len(samples)} samples)")


def main():
    program, render, source = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]), sys.argv[3]
    missing = ep.missing_tool_exit("xdotool", "convert", "identify", "ffprobe", "ffmpeg")
    if missing is not None:
        return missing
    program_dir = os.path.dirname(program)
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work = tempfile.mkdtemp(prefix="work-", dir=home)
        heard = os.path.join(work, "heard.raw")
        env["SDL_AUDIODRIVER"] = "disk"
        env["SDL_DISKAUDIOFILE"] = heard
        run = ep.Program(program, work, [], env, display)
        if not run.ok("stock folders"):
            return 1

        texture_on_panel(run, env)
        background(run, env)
        sound_at_frame_zero(run, env, home)
        saved = os.path.join(work, "stock.apn")
        ep.key(env, "ctrl+s")
        if run.dialog("Save As", saved, "save") and check(ep.wait_until(lambda: os.path.isfile(saved)), "no file"):
            time.sleep(0.5)
            text = ep.saved(saved)
            panel = ep.block(text, "panel", "Panel") or ""
            check(re.search(r'^\s*texture\s+"wood-oak\.jpg"$', panel, re.M) is not None,
                  "the panel's texture is not the stock wood:\n" + panel)
            scene_background = re.search(r"background\s*\{[^{}]*\}", text)
            scene_background = scene_background.group(0) if scene_background else ""
            check(re.search(r'file\s+"Backgrounds/sky-day\.jpg"', scene_background) is not None
                  and re.search(r"useTexture\s+1\b", scene_background) is not None,
                  "the background is not the stock sky:\n" + scene_background)
            check(re.search(r'sound\s+\(\s*0\s+"chime\.wav"\s*\)', text) is not None,
                  "no stock chime at frame 0:\n" + text[:3000])
            check_render(render, saved, home, program_dir, env)
            record_avi(run, env, work)

        # SDL's audio writes what it plays to the disk file, silence between
        # sounds, in the wave's own format: the chime rings from its first loud sample.
        played = open(heard, "rb").read() if os.path.isfile(heard) else b""
        played = struct.unpack("<%dh" % (len(played) // 2), played[:len(played) // 2 * 2])
        start = next((i for i, x in enumerate(played) if abs(x) > 1000), len(played))
        head = played[start:start + int(0.3 * RATE)]
        check(len(head) == int(0.3 * RATE) and tone(head, 880) > 20 * max(tone(head, f) for f in (660, 1100, 1320)),
              f"Listen played no chime ({len(played)} samples)")
        if check(run.proc.poll() is None, f"the program ended early ({run.proc.poll()})"):
            run.proc.send_signal(signal.SIGTERM)
            try:
                rc = run.proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                run.proc.kill()
                rc = run.proc.wait()
                check(False, "SIGTERM did not end the program within 5 seconds of a sound")
            else:
                check(rc == -signal.SIGTERM, f"the program ended with {rc} on SIGTERM")
        run.log.close()
        ep.check_log(work)
    return 1 if ep.failures else 0


if __name__ == "__main__":
    sys.exit(main())
