#!/usr/bin/env python3
"""A panel and a model added to a new scene with the keys and the real
dialogs of the program under a private X server, driven with xdotool.

P opens "Input Panel Data"; its OK and a click in the scene place the panel;
3 and Enter typed into the page's X edit cut the taper to half of it. M opens
"Model Selection"; a double-click on the "cube" thumbnail and a click place
the model. Environment > Background > Texture... shows the picture of the
file selected in its dialog and takes it. Saved through the "Save As" dialog: the panel "Panel" has the
dimension (3 100 5) and the bevel 1.5, the model "Model" the file
"Models/cube.3ds", which assimp reads under the program's folder, and the
background uses the chosen picture by its absolute path.

e2e_panel_model.py PROGRAM SOURCE_DIR
"""

import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as ep  # noqa: E402
import xvfb_harness as xh  # noqa: E402

check = ep.check
CUBE = 2  # the third thumbnail, top row


def click(env, x, y, button="1", repeat=1):
    xh.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "--repeat", str(repeat), "--delay", "80",
            button], env)
    time.sleep(0.6)


def edit_tops(png, x0, y0, w, h, env, width=60):
    """Screen points on the top borders of the entries in a region, top to
    bottom: runs of the entry frame's grey at least width long."""
    every = ep.pixels(png, x0, y0, w, h, env)
    frame = (205, 199, 194)
    tops = []
    for row in range(h if len(every) == w * h else 0):
        run = 0
        for col in range(w):
            run = run + 1 if ep.close(every[row * w + col], frame, 2) else 0
            if run == width:
                if not tops or row - tops[-1][1] > 8:
                    tops.append((col - width + 1, row))
                break
    # The entries stand in one column right of their labels; each gives its
    # top and bottom border.
    columns = [fx for fx, _ in tops]
    column = max(set(columns), key=columns.count) if columns else 0
    return [(x0 + fx, y0 + fy) for fx, fy in tops if fx == column][::2]


def dialog_window(title, env):
    if not ep.wait_until(lambda: ep.visible(title, env), 30):
        return None
    time.sleep(1.0)
    found = xh.run(["xdotool", "search", "--onlyvisible", "--name", "^" + title + "$"], env).stdout.split()
    return found[0] if found else None


def block(text, kind, name):
    m = re.search(kind + r"\s*\{[^{}]*?name\s+\"" + re.escape(name) + r"\"[^{}]*\}", text)
    return m.group(0) if m else ""


def main():
    program, source = os.path.abspath(sys.argv[1]), sys.argv[2]
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work = os.path.join(home, "work")
        os.makedirs(work)
        run = ep.Program(program, work, [], env, display)
        if not run.ok("panel and model"):
            return 1
        w, h, sx, sy = run.scene

        ep.key(env, "p")
        panel_dialog = dialog_window("Input Panel Data", env)
        if check(panel_dialog is not None, "P shows no 'Input Panel Data' dialog"):
            xh.run(["xdotool", "windowfocus", "--sync", panel_dialog], env)
            ep.key(env, "Return")
            check(ep.wait_gone("Input Panel Data", env, 15), "OK leaves the dialog open")
            click(env, sx + w // 3, sy + h // 2)

            # The page's edits: Name first, then X.
            x0, y0, _, wh = ep.geometry(run.window, env)
            png = os.path.join(home, "page.png")
            fields = []
            for _ in range(20):
                xh.run(["import", "-window", "root", png], env)
                fields = edit_tops(png, x0, y0, min(185, max(1, sx - x0)), wh, env)
                if len(fields) >= 2:
                    break
                time.sleep(0.5)
            if check(len(fields) >= 2, f"the panel page shows no Name and X edits: {fields}"):
                click(env, fields[1][0] + 20, fields[1][1] + 10)
                ep.key(env, "End", *(["BackSpace"] * 12))
                ep.typed(env, "3")
                ep.key(env, "Return")
            # The view takes the keyboard back from an empty corner.
            click(env, sx + 4, sy + 4)

        ep.key(env, "m")
        model_dialog = dialog_window("Model Selection", env)
        if check(model_dialog is not None, "M shows no 'Model Selection' dialog"):
            dx, dy, _, _ = ep.geometry(model_dialog, env)
            click(env, dx + 12 + CUBE * 40 + 20, dy + 40 + 20, repeat=2)
            check(ep.wait_gone("Model Selection", env, 15),
                  "a double-click on a thumbnail leaves the dialog open")
            click(env, sx + 2 * w // 3, sy + h // 2)

        # Environment > Background > Texture... opens the file dialog with a
        # preview: the picture of the file selected in the list shows beside
        # the "Preview" box before Open takes it.
        pics = os.path.join(home, "pics")
        os.makedirs(pics)
        sky = os.path.join(pics, "a-sky.png")
        for name, colour in ((sky, "#ff0000"), (os.path.join(pics, "b-sea.png"), "#0000ff")):
            subprocess.run(["convert", "-size", "64x48", "xc:" + colour, name], check=True, env=env)
        click(env, sx + 4, sy + 4)
        ep.key(env, "alt+n")
        time.sleep(0.7)
        ep.key(env, "b")
        time.sleep(0.5)
        ep.key(env, "t")
        chooser = dialog_window("Open", env)
        if check(chooser is not None, "Background > Texture... shows no 'Open' dialog"):
            xh.run(["xdotool", "windowfocus", "--sync", chooser], env)
            ep.key(env, "ctrl+l")
            ep.typed(env, pics + "/")
            time.sleep(0.5)
            ep.key(env, "Return")  # into the folder, whose list takes the keys
            time.sleep(1.0)
            ep.key(env, "Home")  # the first file, the red one
            shown = []

            def red_preview():
                png = os.path.join(home, "chooser.png")
                xh.run(["import", "-window", "root", png], env)
                dx, dy, dw, dh = ep.geometry(chooser, env)
                shown.append(sum(1 for r, g, b in ep.pixels(png, dx, dy, dw, dh, env) if r > 240 and g < 20 and b < 20))
                return shown[-1] > 2000
            check(ep.wait_until(red_preview, 15), f"the dialog shows no picture of the file: {shown[-1:]} red pixels")
            for _ in range(3):
                ep.key(env, "Return")
                if ep.wait_gone("Open", env, 10):
                    break
            check(not ep.visible("Open", env), "the texture dialog stays open")

        saved = os.path.join(work, "shapes.apn")
        ep.key(env, "ctrl+s")
        if run.dialog("Save As", saved, "save") and check(ep.wait_until(lambda: os.path.isfile(saved)), "no file"):
            time.sleep(0.5)
            with open(saved) as f:
                text = f.read()
            panel, model = block(text, "panel", "Panel"), block(text, "model", "Model")
            check(re.search(r"dimension\s+\(\s*3\.000000 100\.000000 5\.000000\s*\)", panel) is not None,
                  "the panel's dimension:\n" + (panel or text[:3000]))
            check(re.search(r"bevel\s+1\.500000\b", panel) is not None, "the panel's bevel:\n" + panel)
            background = re.search(r"background\s*\{[^{}]*\}", text)
            background = background.group(0) if background else ""
            check(re.search(r'file\s+"' + re.escape(sky) + '"', background) is not None
                  and re.search(r"useTexture\s+1\b", background) is not None,
                  "the background does not use the chosen texture:\n" + background)
            m = re.search(r"file\s+\"([^\"]*)\"", model)
            check(m is not None and m.group(1) == "Models/cube.3ds", "the model's file:\n" + model)
            if m:
                stock = os.path.join(os.path.dirname(program), m.group(1))
                out = subprocess.run(["assimp", "info", stock], capture_output=True, text=True).stdout
                faces = re.search(r"Faces:\s+(\d+)", out)
                check(faces is not None and int(faces.group(1)) > 0, f"assimp reads no faces in {stock}")
        if check(run.proc.poll() is None, f"the program ended early ({run.proc.poll()})"):
            run.stop("panel and model")
        ep.check_log(work)
    return 1 if ep.failures else 0


if __name__ == "__main__":
    sys.exit(main())
