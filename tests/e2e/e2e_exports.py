#!/usr/bin/env python3
"""Still-image exports of the real program under a private X server.

With Highlight Selected on (from the settings file) the sample scene is opened
and its red bar clicked, so the screen shows the green highlight outline. Each
of the six still exports is then run from the File menu's "Create Image Files"
pop-up and its save dialog answered with the keyboard (one name typed without
its extension, which the program appends). Every file must open in ImageMagick
at the scene's size and show the scene's background; PNGs must pass pngcheck;
no file may hold the highlight's green, and the screen shows it again after
the exports. In animation mode the animated GIF is then recorded through the
File menu's "Create Animation Files" pop-up: giflib and ImageMagick must find
one frame per frame of the animation, the loop block, and no highlight green.

e2e_exports.py PROGRAM SOURCE_DIR
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as ep  # noqa: E402
import xvfb_harness as xh  # noqa: E402
from e2e_support import save_as, screenshot, wait_gone  # noqa: E402

SAMPLE = ep.SAMPLE
GREEN = (102, 255, 102)      # the highlight outline: (0.4, 1.0, 0.4)
check = ep.check

# Menu letter in the pop-up, dialog title, file name typed (the BMP's without
# its extension), ImageMagick's format name.
STILLS = [
    ("b", "Save To BMP", "still-bmp", "BMP"),
    ("j", "Save To JPG", "still.jpg", "JPEG"),
    ("t", "Save To TGA", "still.tga", "TGA"),
    ("p", "Save To PNG", "still.png", "PNG"),
    ("g", "Save To GIF", "still.gif", "GIF"),
    ("r", "Save To RGB", "still.rgb", "SGI"),
]
# From the File menu's last entry (Exit) up to "Create Image Files": the
# recent-file entry of a fresh home is greyed and skipped.
TO_POPUP = ["End", "Up", "Up", "Right"]


def count_near(data, colour, tol):
    n = 0
    for i in range(0, len(data) - 2, 3):
        if all(abs(data[i + k] - colour[k]) <= tol for k in range(3)):
            n += 1
    return n


def rgb_of(path, env, crop=None):
    args = ["convert", path + ("[0]" if path.endswith(".gif") else "")]
    if crop:
        args += ["-crop", "%dx%d+%d+%d" % crop, "+repage"]
    args += ["-alpha", "off", "-depth", "8", "rgb:-"]
    return subprocess.run(args, env=env, capture_output=True).stdout


def select_bar(scene, home, env):
    """Clicks the middle of the red bar; True when the green outline shows."""
    w, h, x, y = scene
    # A busy machine may draw the scene late.
    deadline = time.time() + 30
    while True:
        data = rgb_of(screenshot(home, "before-click", env), env, (w, h, x, y))
        red = [i // 3 for i in range(0, len(data) - 2, 3) if data[i] > 180 and data[i + 1] < 100 and data[i + 2] < 80]
        if len(red) > 100 or time.time() > deadline:
            break
        time.sleep(0.5)
    if not check(len(red) > 100, f"only {len(red)} red pixels of the bar on the screen"):
        return False
    cx = sum(i % w for i in red) // len(red)
    cy = sum(i // w for i in red) // len(red)
    xh.run(["xdotool", "mousemove", "--sync", str(x + cx), str(y + cy), "click", "1"], env)
    deadline = time.time() + 20
    while True:
        green = count_near(rgb_of(screenshot(home, "selected", env), env, (w, h, x, y)), GREEN, 8)
        if green > 20 or time.time() > deadline:
            break
        time.sleep(0.5)
    return check(green > 20, f"the selected bar shows {green} green highlight pixels")


def export(window, popup_letter, title, path, env):
    """Runs one still export through the menu and its save dialog."""
    xh.run(["xdotool", "windowfocus", "--sync", str(window)], env)
    xh.run(["xdotool", "key", "--delay", "150", "alt+f"] + TO_POPUP + [popup_letter], env)
    save_as(title, path, env)


def check_still(path, fmt, size, env):
    what = os.path.basename(path)
    if not check(os.path.isfile(path), f"{what} was not written"):
        return
    out = xh.run(["identify", "-format", "%m %w %h\n", path], env)
    first = out.stdout.splitlines()[0].split() if out.stdout.strip() else []
    # ImageMagick names the BMP version ("BMP3").
    check(out.returncode == 0 and first[:1] and first[0].startswith(fmt) and first[1:] == [str(size[0]), str(size[1])],
          f"{what}: identify says {out.stdout.strip()!r} {out.stderr.strip()[-300:]!r}")
    if fmt == "PNG":
        png = xh.run(["pngcheck", path], env)
        check(png.returncode == 0, f"{what}: pngcheck says {png.stdout.strip()} {png.stderr.strip()}")
    data = rgb_of(path, env)
    if not check(len(data) == size[0] * size[1] * 3, f"{what}: {len(data)} bytes of pixels"):
        return
    # JPEG blurs the outline; its green stays far from the scene's colours.
    tol = 40 if fmt == "JPEG" else 8
    green = count_near(data, GREEN, tol)
    check(green == 0, f"{what}: {green} pixels of the highlight's green")
    corner = tuple(data[0:3])
    check(ep.close(corner, ep.SAMPLE_BACKGROUND, 6), f"{what}: corner pixel {corner}, not the scene's background")
    red = sum(1 for i in range(0, len(data) - 2, 3) if data[i] > 180 and data[i + 1] < 100 and data[i + 2] < 80)
    check(red > 100, f"{what}: only {red} pixels of the red bar")


def check_animation(path, frames, env):
    """The animated GIF: its frame count, loop block and no highlight green."""
    if not check(os.path.isfile(path), "the animated GIF was not written"):
        return
    sizes = xh.run(["identify", "-format", "%m %w %h\n", path], env).stdout.split("\n")[:-1]
    check(len(sizes) == frames and set(sizes) == {"GIF 580 392"},
          f"animated GIF: {len(sizes)} frames, {sorted(set(sizes))}")
    # giftext names no application block; the bytes name the loop block and
    # the dialog's default of one loop.
    blocks = xh.run(["giftext", path], env)
    check(blocks.returncode == 0 and blocks.stdout.count("application block (Ext Code = 255") == 1,
          f"animated GIF: giftext finds no single application block {blocks.stderr.strip()[-300:]!r}")
    with open(path, "rb") as f:
        check(b"!\xff\x0bNETSCAPE2.0\x03\x01\x01\x00\x00" in f.read(), "animated GIF: no NETSCAPE2.0 loop block")
    # Per frame, the pixels within reach of the highlight's green.
    green = xh.run(["convert", path, "-coalesce", "-alpha", "off", "-fuzz", "4%", "-fill", "black", "+opaque",
                    "rgb%s" % (GREEN,), "-fill", "white", "-opaque", "rgb%s" % (GREEN,),
                    "-format", "%[fx:round(mean*w*h)] ", "info:"], env).stdout.split()
    check(len(green) == frames and all(g == "0" for g in green), f"animated GIF: green pixels per frame {green}")


def main():
    program, source = os.path.abspath(sys.argv[1]), sys.argv[2]
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work = tempfile.mkdtemp(prefix="work-", dir=home)
        out_dir = os.path.join(home, "exports")
        os.makedirs(os.path.join(work, "scenes"))
        os.makedirs(out_dir)
        shutil.copy(os.path.join(source, "data", "scenes", SAMPLE), os.path.join(work, "scenes", SAMPLE))
        conf_dir = os.path.join(home, ".config", "kelvano")
        os.makedirs(conf_dir)
        with open(os.path.join(conf_dir, "kelvano.conf"), "w") as f:
            f.write("[Configure]\nHighlight=1\n")

        proc, log = ep.start(program, work, ["scenes/" + SAMPLE], env)
        window = ep.main_window(proc, work, env)
        if window is None:
            log.close()
            return 1
        wait_gone("Kelvano", env, 20)
        time.sleep(1.0)
        _, scene = ep.scene_window(window, env)
        if check(len(scene) == 1, "no 580 x 392 scene window") and select_bar(scene[0], home, env):
            for letter, title, name, fmt in STILLS:
                export(window, letter, title, os.path.join(out_dir, name), env)
            for letter, title, name, fmt in STILLS:
                path = os.path.join(out_dir, name if "." in name else name + ".bmp")
                check_still(path, fmt, (580, 392), env)
            w, h, x, y = scene[0]
            green = count_near(rgb_of(screenshot(home, "after", env), env, (w, h, x, y)), GREEN, 8)
            check(green > 20, f"after the exports the screen shows {green} green highlight pixels")
            # Mode > Animation Mode, the second entry.
            ep.focus(window, env)
            ep.key_each(env, "alt+m", "Down", "Return")
            gif = os.path.join(out_dir, "animation.gif")
            ep.animation_file_item(window, env, work, "g")
            save_as("Save To GIF Animation", gif, env)
            ep.wait_done(env, "GIF animation")
            check_animation(gif, ep.LAST_FRAME + 1, env)
        ep.stop(proc, display, window, log, env, "exports")
        ep.check_log(work)
    return 1 if ep.failures else 0


if __name__ == "__main__":
    sys.exit(main())
