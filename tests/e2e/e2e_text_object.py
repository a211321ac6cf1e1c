#!/usr/bin/env python3
"""A 3D text added to a new scene through the real program under a private X
server.

In a new scene: T, "Hello" typed into the "Text" dialog, OK; a click in the
view places the text; "Greeting" and Enter typed into the text page's Name
edit, 48 and Enter into its Size; saved under a new name. The file holds a
`string` block "Greeting" with string "Hello" and size 48.000000 and an event
"Greeting" with objectName "Greeting"; kelvano-render draws the text (pixels
other than the background at the centre).

Then stored scenes, opened with File > Open (the fonts are the text tests'
own):
- the stored texts: exported through File > Create Image Files > PNG at the
  scene's size, the picture is the one the program drew of them when they were
  saved (ImageMagick's compare, each channel within one step);
- each canonical scene, saved with Save As into another folder under its own
  name (Save As names the scene after its file): the saved file is the opened
  one byte for byte (cmp), and kelvano-render draws both alike, a picture of
  many colours (identify).

e2e_text_object.py PROGRAM RENDER SOURCE_DIR
"""

import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as ep  # noqa: E402
import xvfb_harness as xh  # noqa: E402
from e2e_support import name_edit  # noqa: E402

failures = ep.failures
check = ep.check
# The unit test's tolerance: each channel within one step of 255 either way
# (ImageMagick's fuzz is measured per channel; two steps are 0.78 %).
ONE_STEP = "0.6%"
FRAME = "30"  # within the canonical scenes' animations: the charts have grown


def pinned_fonts(source, home):
    """The fontconfig file of the text tests ("arial" is Liberation Sans), so
    that the texts are drawn with the fonts of their reference picture."""
    with open(os.path.join(source, "tests", "textobjects", "fonts.conf.in")) as f:
        text = f.read().replace("@KV_TEXTOBJ_FONT_CACHE@", os.path.join(home, "fontcache"))
    path = os.path.join(home, "fonts.conf")
    with open(path, "w") as f:
        f.write(text)
    return path


def size_of(png, env):
    return xh.run(["identify", "-format", "%w %h", png], env).stdout.strip()


def pixels_apart(a, b, env, fuzz="0"):
    """ImageMagick's count of the pixels that differ, or None where it could
    not compare the pictures (it says why)."""
    out = xh.run(["compare", "-metric", "AE", "-fuzz", fuzz, a, b, "null:"], env)
    try:
        return int(float(out.stderr.split()[0]))
    except (IndexError, ValueError):
        print(out.stderr)
        return None


def open_scene(run, path, what):
    ep.focus(run.window, run.env)
    ep.key(run.env, "ctrl+o")
    return run.dialog("Open", path, what)


def export_png(run, png, what):
    """File > Create Image Files (below Save As) > PNG, into png."""
    ep.focus(run.window, run.env)
    xh.run(["xdotool", "key", "--delay", "150", "alt+f", "Down", "Down", "Down", "Down", "Right", "p"], run.env)
    return run.dialog("Save To PNG", png, what) and check(ep.wait_until(lambda: os.path.isfile(png), 30),
                                                          f"{what}: no {png}")


class StoredScenes:
    """The stored scenes opened, exported and saved in a run of the program,
    then checked once it has ended."""

    def __init__(self, source, home):
        self.source, self.folder = source, os.path.join(home, "s")
        self.reference = os.path.join(source, "tests", "textobjects", "stored", "stored-texts.png")
        self.exported = os.path.join(self.folder, "stored-texts.png")
        self.canonical = sorted(glob.glob(os.path.join(source, "tests", "scenefile", "canonical", "*.apn")))
        check(len(self.canonical) >= 2, f"canonical scenes: {self.canonical}")
        for sub in ("o", "saved"):
            os.makedirs(os.path.join(self.folder, sub))

    def saved(self, original):
        return os.path.join(self.folder, "saved", os.path.basename(original))

    def drive(self, run):
        texts = shutil.copy(os.path.join(os.path.dirname(self.reference), "stored-texts.apn"), self.folder)
        if open_scene(run, texts, "stored texts"):
            export_png(run, self.exported, "stored texts")
        for original in self.canonical:
            name, saved = os.path.basename(original), self.saved(original)
            if open_scene(run, shutil.copy(original, os.path.join(self.folder, "o")), name):
                run.menu("a")  # Save As...
                if run.dialog("Save As", saved, name):
                    check(ep.wait_until(lambda: os.path.isfile(saved)), f"{name}: Save As wrote no {saved}")

    def check(self, render, env):
        if check(os.path.isfile(self.exported), "the stored texts were not exported"):
            got, want = size_of(self.exported, env), size_of(self.reference, env)
            if check(got == want, f"the stored texts exported at {got}, the scene is {want}"):
                apart = pixels_apart(self.reference, self.exported, env, ONE_STEP)
                check(apart == 0, f"the stored texts exported otherwise than they were saved: {apart} pixels "
                                  "differ by more than a step")
        for original in self.canonical:
            name, saved = os.path.basename(original), self.saved(original)
            if not os.path.isfile(saved):
                continue
            same = subprocess.run(["cmp", original, saved], capture_output=True, text=True)
            check(same.returncode == 0, f"{name}: saved otherwise than it was opened: {same.stdout}{same.stderr}")
            # Both drawn at once.
            pictures = [os.path.join(self.folder, f"{name}-{i}.png") for i in (0, 1)]
            drawing = [subprocess.Popen([render, path, "--frame", FRAME, "-o", png], env=env, stdout=subprocess.PIPE,
                                        stderr=subprocess.STDOUT, text=True)
                       for path, png in zip((original, saved), pictures)]
            drawn = True
            for proc, png in zip(drawing, pictures):
                said = proc.communicate()[0]
                ok = proc.returncode == 0 and os.path.isfile(png)
                drawn = check(ok, f"kelvano-render {name}: {said[-2000:]}") and drawn
            if drawn:
                apart = pixels_apart(*pictures, env)
                check(apart == 0, f"{name}: the saved file draws otherwise: {apart} pixels differ")
                colours = xh.run(["identify", "-format", "%k", pictures[1]], env).stdout.strip()
                check(colours.isdigit() and int(colours) >= 16, f"{name}: the picture holds {colours} colours")


def main():
    program, render, source = (os.path.abspath(a) for a in sys.argv[1:4])
    missing = ep.missing_tool_exit("compare", "identify", "cmp")
    if missing is not None:
        return missing
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        env["FONTCONFIG_FILE"] = pinned_fonts(source, home)
        stored = StoredScenes(source, home)
        # Output Quality Low, as a user chose it before (the menu's keys may be
        # lost on a loaded machine): exports are drawn once, as the reference was.
        settings = os.path.join(env["XDG_CONFIG_HOME"], "kelvano")
        os.makedirs(settings, exist_ok=True)
        with open(os.path.join(settings, "kelvano.conf"), "w") as f:
            f.write("[Configure]\nOutQuality=0\n")
        work = tempfile.mkdtemp(prefix="work-", dir=home)
        saved = os.path.join(work, "greeting.apn")
        run = ep.Program(program, work, [], env, display)
        if not run.ok("text object"):
            return 1
        w, h, x, y = run.scene
        # The view takes the keyboard with a click on empty background.
        xh.run(["xdotool", "mousemove", "--sync", str(x + 20), str(y + 20), "click", "1"], env)
        time.sleep(0.5)
        if ep.add_text(env, "Hello", (x + w // 2, y + h // 2)):
            # The page's Name edit, in the Edit Box left of the scene window.
            fx, fy, _, _ = ep.geometry(run.window, env)
            png = os.path.join(home, "page.png")
            xh.run(["import", "-window", "root", png], env)
            spot = name_edit(fx, y, max(1, x - fx - 10), 250, png, env)
            if check(spot is not None, "no Name edit found in the Edit Box"):
                xh.run(["xdotool", "mousemove", "--sync", str(spot[0]), str(spot[1]), "click", "1"], env)
                time.sleep(0.5)
                # The edit's text is selected with the keys of a line.
                ep.key(env, "End", "shift+Home")
                ep.typed(env, "Greeting")
                ep.key(env, "Return")
                # Tab to Input Text, Font, then Size.
                ep.key(env, "Tab", "Tab", "Tab")
                ep.key(env, "End", "shift+Home")
                ep.typed(env, "48")
                ep.key(env, "Return")
                ep.key(env, "ctrl+s")
                if run.dialog("Save As", saved, "text object"):
                    check(ep.wait_until(lambda: os.path.isfile(saved)), f"no {saved}")
        stored.drive(run)
        run.stop("text object")
        stored.check(render, env)
        if not os.path.isfile(saved):
            check(False, "nothing was saved")
            return 1
        time.sleep(0.3)
        with open(saved) as f:
            text = f.read()
        string = ep.block(text, "string", "Greeting")
        if check(string is not None, f"no string block \"Greeting\" in:\n{text[-1500:]}"):
            check(re.search(r'^\s*string\s+"Hello"$', string, re.M), f"the string is not \"Hello\":\n{string}")
            check(re.search(r"^\s*size\s+48\.000000$", string, re.M), f"the size is not 48:\n{string}")
        event = ep.block(text, "event", "Greeting")
        if check(event is not None, "no event \"Greeting\""):
            check(re.search(r'^\s*objectName\s+"Greeting"$', event, re.M), f"the event names another object:\n{event}")
        # The file draws the text: the centre is not all background.
        out = os.path.join(work, "greeting.png")
        drawn = xh.run([render, saved, "-o", out], env)
        if check(drawn.returncode == 0 and os.path.isfile(out), f"kelvano-render failed: {drawn.stderr}"):
            corner = ep.pixel(out, 2, 2, env)
            centre = ep.pixels(out, 290 - 60, 196 - 20, 120, 40, env)
            check(any(not ep.close(p, corner, 8) for p in centre), "the rendered scene shows no text at the centre")
        ep.check_log(work)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
