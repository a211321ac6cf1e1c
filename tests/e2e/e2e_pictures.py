#!/usr/bin/env python3
"""Pictures as their files say, in the real program under a private X server.

A scene is opened as a user gets one: a pyramid from an OBJ file without
normals, a crate from an OBJ as common exporters write it (one object, the
material changing between its faces, "Ni" after "Ns" in the MTL), a red
transparent panel in front of a blue text made after it, and a panel whose
texture is a BMP with a header the reader does not take. The program must
say so in an "Error" box once the scene is drawn. Environment > Background >
Texture... with a JPEG cut short must be refused with a "File open error" box.
The PNG exported through File > Create Image Files is read with ImageMagick:
the pyramid's two sides, the crate's red and blue faces and the tinted text
show the colours worked out by hand from the light, the materials and the
geometry. Saved, the scene's background block holds no picture.

e2e_pictures.py PROGRAM SOURCE_DIR
"""

import math
import os
import re
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as ep  # noqa: E402
import xvfb_harness as xh  # noqa: E402
from e2e_support import save_as  # noqa: E402

check = ep.check
W, H = 580, 392
LIGHT = (0.4, 0.6, 1.0)  # the white directional light comes from here
TURN = -45.0             # both models turn about +y

PYRAMID = ("v -60 -60 60\nv 60 -60 60\nv 60 -60 -60\nv -60 -60 -60\nv 0 60 0\n"
           "f 1 2 5\nf 2 3 5\nf 3 4 5\nf 4 1 5\nf 1 4 3 2\n")
CRATE_MTL = ("# Blender MTL File: 'crate.blend'\n# Material Count: 2\n\n"
             "newmtl Red\nNs 250.000000\nKa 0.000000 0.000000 0.000000\nKd 0.800000 0.000000 0.000000\n"
             "Ks 0.500000 0.500000 0.500000\nKe 0.000000 0.000000 0.000000\nNi 1.450000\nd 1.000000\nillum 2\n\n"
             "newmtl Blue\nNs 250.000000\nKa 0.000000 0.000000 0.000000\nKd 0.000000 0.000000 0.800000\n"
             "Ks 0.500000 0.500000 0.500000\nKe 0.000000 0.000000 0.000000\nNi 1.450000\nd 1.000000\nillum 2\n")
CRATE = ("# Blender v3.4.1 OBJ File: 'crate.blend'\nmtllib crate.mtl\no Cube\n"
         "v 50 50 -50\nv 50 -50 -50\nv 50 50 50\nv 50 -50 50\nv -50 50 -50\nv -50 -50 -50\nv -50 50 50\n"
         "v -50 -50 50\ns off\n"
         "usemtl Red\nf 3 8 4\nf 7 6 8\nf 5 7 3\nf 3 7 8\nf 7 5 6\nf 5 3 1\n"
         "usemtl Blue\nf 2 8 6\nf 1 4 2\nf 5 2 6\nf 2 4 8\nf 1 3 4\nf 5 1 2\n")


def scene_text():
    def material(name, body):
        return f'material {{\n    name\t"{name}"\n{body}}}\n\n'

    def event(name):
        return f'event {{\n    name\t"{name}Event"\n    objectName\t"{name}"\n}}\n\n'

    def model(name, x, y):
        return (f'model {{\n    name\t"{name}"\n    file\t"{name}.obj"\n    position\t( {x} {y} 0 )\n'
                f'    rotAngle\t{TURN}\n    rotAxis\t( 0 1 0 )\n    material\t"white"\n}}\n\n')

    def panel(name, x, y, z, w, h, mat, extra=""):
        return (f'panel {{\n    name\t"{name}"\n    position\t( {x} {y} {z} )\n    material\t"{mat}"\n{extra}'
                f'    kind\t"2D"\n    dimension\t( {w} {h} 0 )\n}}\n\n')

    glow = "    diffuse\t( 0 0 0 )\n    ambient\t( 0 0 0 )\n    emission\t"
    return ("scene {\n    name\t\"pictures\"\n    width\t580\n    height\t392\n    version\t250\n}\n\n"
            "viewpoint {\n    name\t\"camera\"\n    position\t( 0 0 906 )\n    direction\t( 0 0 -1 )\n"
            "    near\t10\n    far\t\t5000\n    fov\t\t30\n    width\t\t720\n    perspective\t\t1\n}\n\n"
            "background {\n    name\t\"Background\"\n    color\t( 0 0 0 1 )\n    useTexture\t0\n}\n\n"
            + material("sunlight", "    diffuse\t( 1 1 1 )\n    ambient\t( 0 0 0 )\n    specular\t( 1 1 1 )\n")
            + "light {\n    name\t\"sun\"\n    position\t( %g %g %g )\n    material\t\"sunlight\"\n"
              "    positional\t0\n    on\t1\n}\n\n" % LIGHT
            + material("white", "    diffuse\t( 1 1 1 )\n    ambient\t( 0 0 0 )\n")
            + material("glass", glow + "( 1 0 0 )\n    alpha\t0.5\n")
            + material("ink", glow + "( 0 0 1 )\n")
            + model("pyramid", -150, 0) + model("crate", 150, 0)
            + panel("glass", 0, -120, 0, 200, 90, "glass")
            + 'string {\n    name\t"word"\n    position\t( 0 -120 -50 )\n    material\t"ink"\n'
              '    string\t"HHH"\n    size\t36\n    depth\t5\n    kind\t"3D"\n}\n\n'
            + panel("odd", 0, 120, 0, 60, 40, "white", '    texture\t"v5.bmp"\n    faceFlag\t( 1 0 0 0 0 0 )\n'
                                                      '    mode\t0\n')
            + "".join(event(n) for n in ("pyramid", "crate", "glass", "word", "odd")))


# Hand-worked colours: GL's lighting of a face by the white directional light,
# seen from far along +z.
def unit(v):
    n = math.sqrt(sum(c * c for c in v))
    return tuple(c / n for c in v)


def turned(v, degrees):
    a = math.radians(degrees)
    return (math.cos(a) * v[0] + math.sin(a) * v[2], v[1], -math.sin(a) * v[0] + math.cos(a) * v[2])


def lit(normal, diffuse, specular=0.0, shininess=0.0):
    n, l = unit(normal), unit(LIGHT)
    d = max(0.0, sum(a * b for a, b in zip(n, l)))
    h = unit((l[0], l[1], l[2] + 1.0))
    s = specular * max(0.0, sum(a * b for a, b in zip(n, h))) ** shininess if d > 0 else 0.0
    return tuple(round(min(1.0, c * d + s) * 255) for c in diffuse)


def project(x, y, z):
    top = (906.0 - z) * math.tan(math.radians(15.0))
    right = top * W / H
    return int((x / right + 1.0) * 0.5 * W), H - 1 - int((y / top + 1.0) * 0.5 * H)


def v5_bitmap():
    """A 4 x 4 BMP with the 124-byte header that ImageMagick and GIMP write."""
    header = bytearray(14 + 124)
    header[0:2] = b"BM"
    header[2:6] = (14 + 124 + 64).to_bytes(4, "little")
    header[10:14] = (14 + 124).to_bytes(4, "little")
    header[14:18] = (124).to_bytes(4, "little")
    header[18:22] = (4).to_bytes(4, "little")
    header[22:26] = (4).to_bytes(4, "little")
    header[26:28] = (1).to_bytes(2, "little")
    header[28:30] = (32).to_bytes(2, "little")
    return bytes(header) + b"\x80\x40\x20\xff" * 16


def open_file(title, path, env):
    """Types a path into the chooser titled `title` and opens it."""
    dialog = xh.wait_for_window(title, env, timeout=20)
    if not check(dialog is not None, f"no '{title}' dialog"):
        return
    time.sleep(1.0)
    xh.run(["xdotool", "windowfocus", "--sync", str(dialog)], env)
    ep.key(env, "ctrl+l")
    ep.typed(env, path)
    for _ in range(3):
        ep.key(env, "Return")
        if ep.wait_gone(title, env, 10):
            return
    check(False, f"the '{title}' dialog stays open")


def dismiss(title, env, what):
    """The box titled `title` shows (once) and is closed with Enter."""
    box = xh.wait_for_window(title, env, timeout=30)
    if not check(box is not None, f"{what}: no '{title}' box"):
        return
    ep.focus(box, env)
    ep.key_each(env, "Return")
    check(ep.wait_gone(title, env, 10), f"{what}: Enter left the '{title}' box open")
    time.sleep(2.0)
    check(not ep.visible(title, env), f"{what}: the '{title}' box showed again")


def check_picture(png, env):
    if not check(os.path.isfile(png), "the PNG was not written"):
        return
    size = xh.run(["identify", "-format", "%m %w %h", png], env).stdout
    check(size == f"PNG {W} {H}", f"identify says {size!r}")

    def at(x, y, z):
        return ep.pixel(png, *project(x, y, z), env)

    front, right = turned((0, 60, 120), TURN), turned((120, 60, 0), TURN)
    for what, point, want in (("the pyramid's front side", (-185, -30, 30), lit(front, (1, 1, 1))),
                              ("the pyramid's right side", (-115, -30, 30), lit(right, (1, 1, 1)))):
        got = at(*point)
        check(ep.close(got, want, 3), f"{what}: {got}, worked out {want}")
    shine = 250 * 0.001 * 128  # Ns 250 on GL's scale
    face, side = turned((0, 0, 1), TURN), turned((1, 0, 0), TURN)
    for what, point, want in (("the crate's red face", (120, 0, 35), lit(face, (0.8, 0, 0), 0.5, shine)),
                              ("the crate's blue face", (180, 0, 35), lit(side, (0, 0, 0.8), 0.5, shine))):
        got = at(*point)
        check(ep.close(got, want, 3), f"{what}: {got}, worked out {want}")
    # Behind the half-transparent red glass the blue text is tinted: no pixel
    # keeps its own blue, and its letters show half of each.
    x0, y0 = project(-95, -80, 0)
    x1, y1 = project(95, -160, 0)
    region = ep.pixels(png, x0, y0, x1 - x0, y1 - y0, env)
    untinted = sum(1 for c in region if ep.close(c, (0, 0, 255), 3))
    tinted = sum(1 for c in region if ep.close(c, (128, 0, 128), 3))
    check(untinted == 0 and tinted > 100, f"behind the glass {untinted} blue and {tinted} tinted pixels")


def main():
    program, source = os.path.abspath(sys.argv[1]), sys.argv[2]
    missing = ep.missing_tool_exit("convert", "identify")
    if missing is not None:
        return missing
    with xh.private_display() as display, xh.private_home() as home:
        env = xh.environment(display, home, source)
        work = tempfile.mkdtemp(prefix="work-", dir=home)
        files = {"pyramid.obj": PYRAMID, "crate.obj": CRATE, "crate.mtl": CRATE_MTL, "pictures.apn": scene_text()}
        for name, text in files.items():
            with open(os.path.join(work, name), "w") as f:
                f.write(text)
        with open(os.path.join(work, "v5.bmp"), "wb") as f:
            f.write(v5_bitmap())
        whole, cut = os.path.join(home, "whole.jpg"), os.path.join(home, "cut.jpg")
        subprocess.run(["convert", "-size", "64x64", "plasma:fractal", "-quality", "90", whole], check=True, env=env)
        with open(whole, "rb") as f, open(cut, "wb") as g:
            g.write(f.read()[:600])
        scene = os.path.join(work, "pictures.apn")

        proc, log = ep.start(program, work, [scene], env)
        window = ep.main_window(proc, work, env)
        if window is None:
            log.close()
            return 1
        ep.wait_gone("Kelvano", env, 20)
        # The bitmap's reader tells why the panel shows no picture, once.
        dismiss("Error", env, "the BMP with a later header")

        # A picture cut short is refused as the background.
        ep.focus(window, env)
        ep.key(env, "alt+n")
        time.sleep(0.7)
        ep.key(env, "b")
        time.sleep(0.5)
        ep.key(env, "t")
        open_file("Open", cut, env)
        dismiss("File open error", env, "the JPEG cut short")

        # File > Create Image Files > PNG.
        png = os.path.join(home, "pictures.png")
        ep.focus(window, env)
        xh.run(["xdotool", "key", "--delay", "150", "alt+f", "End", "Up", "Up", "Right", "p"], env)
        save_as("Save To PNG", png, env)
        ep.wait_until(lambda: os.path.isfile(png), 30)
        time.sleep(1.0)
        check_picture(png, env)

        # Saved, the background names no picture.
        ep.focus(window, env)
        before = os.path.getmtime(scene)
        ep.key(env, "ctrl+s")
        ep.wait_until(lambda: os.path.getmtime(scene) != before, 20)
        with open(scene) as f:
            text = f.read()
        background = re.search(r"background\s*\{[^{}]*\}", text)
        background = background.group(0) if background else ""
        check("cut.jpg" not in text and re.search(r"useTexture\s+0\b", background) is not None,
              "the saved background:\n" + (background or text[:2000]))
        if check(proc.poll() is None, f"the program ended early ({proc.poll()})"):
            ep.stop(proc, display, window, log, env, "pictures")
        else:
            log.close()
        ep.check_log(work)
    return 1 if ep.failures else 0


if __name__ == "__main__":
    sys.exit(main())
