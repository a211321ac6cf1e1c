#!/usr/bin/env python3
"""The stock models of data/Models, read by tools we did not write.

Every one of the chooser's 52 models opens in assimp with faces, is centred and
about 200 units across; every thumbnail is a 36 x 36 24-bit BMP to ImageMagick
and shows something other than the background; no two models are alike.

check_models.py SOURCE_DIR
"""

import hashlib
import os
import re
import subprocess
import sys

NAMES = ("sphere cylinder cube hbox cone1 tricone1 tetracone1 2tetracone 2hemisph coins square1 square2 rect1 "
         "rect2 rect3 square3 hholerect holerect 1flag guide rdrect2 rdrect parallel square 1rect 2rect leftrect "
         "2siderec l-shape l2shape tshape yshape 2tube saturn conesphere12 conesphere8 circlestar star2 star "
         "5spherestar cross pencil1 pencil2 nail1 conearrow1 conearrow2 arrow1 arrow2 torus1 torus2 torus3 "
         "torus4").split()

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import e2e_support as ep  # noqa: E402

check = ep.check


def main():
    folder = os.path.join(sys.argv[1], "data", "Models")
    check(len(NAMES) == 52, "the chooser lists 52 models")
    seen = {}
    for name in NAMES:
        model, picture = os.path.join(folder, name + ".3ds"), os.path.join(folder, name + ".bmp")
        out = subprocess.run(["assimp", "info", model], capture_output=True, text=True).stdout
        faces = re.search(r"Faces:\s+(\d+)", out)
        lo = re.search(r"Minimum point\s+\(([-\d.e]+) ([-\d.e]+) ([-\d.e]+)\)", out)
        hi = re.search(r"Maximum point\s+\(([-\d.e]+) ([-\d.e]+) ([-\d.e]+)\)", out)
        if not check(faces and int(faces.group(1)) > 0 and lo and hi, f"{name}.3ds: assimp reads no faces"):
            continue
        lo, hi = [float(v) for v in lo.groups()], [float(v) for v in hi.groups()]
        check(max(h - l for l, h in zip(lo, hi)) > 190 and all(abs(l + h) < 1 for l, h in zip(lo, hi)),
              f"{name}.3ds: bounds {lo} {hi} are not centred and 200 across")
        with open(model, "rb") as f:
            digest = hashlib.sha1(f.read()).hexdigest()
        check(digest not in seen, f"{name}.3ds is the same as {seen.get(digest)}.3ds")
        seen[digest] = name

        out = subprocess.run(["identify", "-format", "%m %w %h %z", picture], capture_output=True, text=True)
        check(out.stdout.split()[0].startswith("BMP") and out.stdout.split()[1:] == ["36", "36", "8"], f"{name}.bmp: identify says {out.stdout!r}")
        with open(picture, "rb") as f:
            head = f.read(30)
        check(len(head) == 30 and head[28] == 24, f"{name}.bmp is not 24-bit")
        pixels = subprocess.run(["convert", picture, "-depth", "8", "rgb:-"], capture_output=True).stdout
        blue = sum(1 for i in range(0, len(pixels) - 2, 3) if pixels[i + 2] > pixels[i] + 40)
        check(blue > 20, f"{name}.bmp shows no model")
    return 1 if ep.failures else 0


if __name__ == "__main__":
    sys.exit(main())
