#!/usr/bin/env python3
"""The chart shapes of data/ChartSlices, read by tools we did not write.

Every model opens in assimp within its bounds (cut shapes from y 0 to 1 inside
|x|, |z| <= 5; joints inside +-5 about the origin) and draws as the bars of the
sample bar chart through kelvano-render (grown, at frame 60); every picture is a 36 x 36 24-bit BMP
to ImageMagick; no two models and no two pictures are alike, except that the
circle may repeat cyl10x.

check_chartslices.py SOURCE_DIR RENDER_TOOL
"""

import hashlib
import os
import re
import subprocess
import sys
import tempfile

CUTS = ["circle", "cyl10x", "tri1", "rect1", "slimrect1", "square", "5gon", "6gon", "8gon1", "cyl5x",
        "beveledrec", "rdrect", "beveledrec2", "hcircle", "hrect", "heart", "star1"]
JOINTS = ["sphere10x", "2-6box", "box2x", "2tetracone2x"]
EPS = 1e-3

# The checks of the end-to-end tests.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import e2e_support as ep  # noqa: E402

check = ep.check


def bounds(path):
    out = subprocess.run(["assimp", "info", path], capture_output=True, text=True).stdout
    points = [re.search(key + r"\s+\(([-\d.e]+) ([-\d.e]+) ([-\d.e]+)\)", out) for key in ("Minimum point", "Maximum point")]
    if not all(points):
        return None
    return [tuple(float(v) for v in m.groups()) for m in points]


def bar_scene(source, model):
    """The sample bar chart with its bars cut from the model."""
    with open(os.path.join(source, "data", "scenes", "barchart.apn")) as f:
        text = f.read()
    return re.sub(r'file\t"[^"]*cyl10x.3ds"', 'file\t"%s"' % model, text, count=1)


def blue_pixels(png):
    data = subprocess.run(["convert", png, "-depth", "8", "rgb:-"], capture_output=True).stdout
    return sum(1 for i in range(0, len(data) - 2, 3) if data[i + 2] > 120 and data[i + 2] > data[i] + 60)


def main():
    source, render = sys.argv[1], sys.argv[2]
    folder = os.path.join(source, "data", "ChartSlices")
    env = dict(os.environ, ASAN_OPTIONS="detect_leaks=0")
    models, pictures = {}, {}
    with tempfile.TemporaryDirectory() as tmp:
        for name in CUTS + JOINTS:
            model, picture = os.path.join(folder, name + ".3ds"), os.path.join(folder, name + ".bmp")
            b = bounds(model)
            if not check(b is not None, f"{name}.3ds: assimp cannot open it"):
                continue
            (x0, y0, z0), (x1, y1, z1) = b
            if name in CUTS:
                check(abs(y0) < EPS and abs(y1 - 1) < EPS and max(-x0, x1, -z0, z1) <= 5 + EPS,
                      f"{name}.3ds: bounds {b} are not a cut shape's")
            else:
                check(max(-x0, x1, -y0, y1, -z0, z1) <= 5 + EPS and abs(x0 + x1) < EPS and abs(y0 + y1) < EPS,
                      f"{name}.3ds: bounds {b} are not a joint's")
            with open(model, "rb") as f:
                models[name] = hashlib.sha1(f.read()).hexdigest()

            out = subprocess.run(["identify", "-format", "%m %w %h %z %r", picture], capture_output=True, text=True)
            check(out.stdout.startswith("BMP") and out.stdout.split()[1:4] == ["36", "36", "8"]
                  and "DirectClass" in out.stdout, f"{name}.bmp: identify says {out.stdout!r} {out.stderr!r}")
            with open(picture, "rb") as f:
                head = f.read(30)
            check(len(head) == 30 and head[28] == 24 and head[29] == 0, f"{name}.bmp is not 24-bit")
            pixels = subprocess.run(["convert", picture, "-depth", "8", "rgb:-"], capture_output=True).stdout
            pictures[name] = hashlib.sha1(pixels).hexdigest()

            if name in CUTS:
                scene, png = os.path.join(tmp, name + ".apn"), os.path.join(tmp, name + ".png")
                with open(scene, "w") as f:
                    f.write(bar_scene(source, os.path.abspath(model)))
                r = subprocess.run([render, scene, "--frame", "60", "--size", "290x196", "-o", png], env=env, capture_output=True,
                                   text=True)
                if check(r.returncode == 0, f"{name}: kelvano-render failed: {r.stderr[-500:]}"):
                    check(blue_pixels(png) > 200, f"{name}: the bars are not drawn")

    for kind, hashes in (("models", models), ("pictures", pictures)):
        seen = {}
        for name, digest in hashes.items():
            other = seen.get(digest)
            check(other is None or {other, name} == {"circle", "cyl10x"}, f"{kind} {other} and {name} are alike")
            seen.setdefault(digest, name)
    check(len(models) == 21 and len(pictures) == 21, f"{len(models)} models and {len(pictures)} pictures")
    return 1 if ep.failures else 0


if __name__ == "__main__":
    sys.exit(main())
