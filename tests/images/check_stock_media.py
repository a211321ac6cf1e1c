#!/usr/bin/env python3
"""The stock textures, backgrounds and sounds of data/, read by tools we did
not write (ImageMagick, soxi, Python's wave module).

Every picture is the format its extension names, at power-of-two sides; every
texture that is not a gradient tiles (its seam is no sharper than its edges
inside); every sound is 16-bit mono PCM that does not clip; the whole set is under
2 MB. Each one looks or sounds like its name: wood has its grain across,
brushed metal its streaks along, brick its mortar rows, a checker two colours,
a gradient runs one way, a sky is blue above, a vignette darkens its corners,
a grid floor has lines below the horizon only; a chime dies away at 880 Hz, a
rising tone rises, a falling one falls, a click and a pop are short, a whoosh
is noise that swells and fades.

check_stock_media.py SOURCE_DIR
"""

import math
import os
import struct
import subprocess
import sys
import wave

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import e2e_support as ep  # noqa: E402

check = ep.check
FORMATS = {"png": "PNG", "jpg": "JPEG", "tga": "TGA", "bmp": "BMP3", "rgb": "SGI"}


class Picture:
    """Pixels as ImageMagick decodes them, rows top-down (Targa's bottom-left
    origin applied)."""

    def __init__(self, path):
        info = subprocess.run(["identify", "-format", "%m %w %h", path], capture_output=True, text=True).stdout.split()
        self.format, self.w, self.h = info[0], int(info[1]), int(info[2])
        data = subprocess.run(["convert", path, "-auto-orient", "-depth", "8", "rgb:-"], capture_output=True).stdout
        self.px = [tuple(data[i:i + 3]) for i in range(0, len(data), 3)]

    def at(self, x, y):
        return self.px[y * self.w + x]

    def region(self, x0, y0, x1, y1):
        """Mean (r, g, b) of a rectangle given as fractions of the sides."""
        xs = range(int(x0 * self.w), max(int(x0 * self.w) + 1, int(x1 * self.w)))
        ys = range(int(y0 * self.h), max(int(y0 * self.h) + 1, int(y1 * self.h)))
        n = len(xs) * len(ys)
        return tuple(sum(self.at(x, y)[c] for y in ys for x in xs) / n for c in range(3))

    def mean(self):
        return self.region(0, 0, 1, 1)

    def rows(self):
        return [self.region(0, y / self.h, 1, (y + 1) / self.h) for y in range(self.h)]

    def columns(self):
        return [self.region(x / self.w, 0, (x + 1) / self.w, 1) for x in range(self.w)]

    def step(self, dx, dy):
        """Mean brightness difference between a pixel and its neighbour (dx, dy),
        across the edges too."""
        total = 0
        for y in range(self.h):
            for x in range(self.w):
                total += abs(lum(self.at(x, y)) - lum(self.at((x + dx) % self.w, (y + dy) % self.h)))
        return total / (self.w * self.h)

    def column_steps(self, vertical):
        """Mean brightness difference between each column and the next (each
        row and the next), the last one against the first: the seam."""
        if vertical:
            return [sum(abs(lum(self.at(x, y)) - lum(self.at((x + 1) % self.w, y))) for y in range(self.h)) / self.h
                    for x in range(self.w)]
        return [sum(abs(lum(self.at(x, y)) - lum(self.at(x, (y + 1) % self.h))) for x in range(self.w)) / self.w
                for y in range(self.h)]


def lum(c):
    return 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2]


def saturation(c):
    return max(c) - min(c)


def monotonic(values, rising, slack=1.0):
    return all((b - a) * (1 if rising else -1) >= -slack for a, b in zip(values, values[1:]))


def check_texture(name, p):
    m = p.mean()
    if not name.startswith("gradient"):
        # The seam is no sharper than the sharpest edge inside.
        for vertical in (True, False):
            steps = p.column_steps(vertical)
            check(steps[-1] <= max(steps[:-1]) + 3, f"{name} does not tile {'sideways' if vertical else 'upwards'}: "
                  f"seam {steps[-1]:.1f} against at most {max(steps[:-1]):.1f} inside")
    if name.startswith("wood"):
        check(m[0] > m[1] > m[2] and m[0] - m[2] > 50, f"{name} is not brown: {m}")
        across, along = p.step(1, 0), p.step(0, 1)
        check(across > 2 * along, f"{name} has no grain running down: {across:.1f} across, {along:.1f} along")
    elif name.startswith("marble"):
        median = sorted(p.px, key=lum)[len(p.px) // 2]
        veins = sum(1 for c in p.px if abs(lum(c) - lum(median)) > 50) / len(p.px)
        check(0.01 < veins < 0.3, f"{name}: {veins:.3f} of it is vein")
        if "white" in name:
            check(lum(median) > 190 and saturation(median) < 20, f"{name}'s stone is not white: {median}")
        if "green" in name:
            check(median[1] > median[0] + 40 and median[1] > median[2] + 20, f"{name}'s stone is not green: {median}")
    elif name.startswith("brushed-metal"):
        check(saturation(m) < 15 and 120 < lum(m) < 210, f"{name} is not a metal grey: {m}")
        across, along = p.step(1, 0), p.step(0, 1)
        check(along > 2 * across, f"{name} has no streaks running across: {across:.1f} across, {along:.1f} along")
    elif name.startswith("brick"):
        mortar_rows = [r for r in p.rows() if saturation(r) < 25 and lum(r) > 150]
        check(len(mortar_rows) >= 8, f"{name} has {len(mortar_rows)} mortar rows")
        red = sum(1 for c in p.px if c[0] > c[1] + 50) / len(p.px)
        check(red > 0.6, f"{name}: only {red:.2f} of it is red brick")
    elif name.startswith("paper"):
        spread = max(lum(c) for c in p.px) - min(lum(c) for c in p.px)
        check(lum(m) > 225 and saturation(m) < 25 and spread < 40, f"{name} is not plain paper: {m}, spread {spread}")
    elif name.startswith("checker"):
        colours = {}
        for c in p.px:
            colours[c] = colours.get(c, 0) + 1
        check(len(colours) == 2 and all(abs(n - len(p.px) / 2) < 2 for n in colours.values()),
              f"{name} is not two colours in equal parts: {list(colours.items())[:4]}")
        side = p.w // 8
        check(p.at(0, 0) != p.at(side, 0) and p.at(0, 0) == p.at(side, side) == p.at(2 * side, 0),
              f"{name}'s squares are not {side} pixels")
    elif name.startswith("gradient"):
        rows, cols = [lum(r) for r in p.rows()], [lum(c) for c in p.columns()]
        if "radial" in name:
            centre, corner = lum(p.region(0.45, 0.45, 0.55, 0.55)), lum(p.region(0, 0, 0.05, 0.05))
            check(centre > corner + 100, f"{name}: centre {centre:.0f}, corner {corner:.0f}")
            check(monotonic(cols[p.w // 2:], rising=False), f"{name} does not darken outwards")
        elif "silver" in name:
            check(max(rows) - min(rows) < 2 and max(cols) - min(cols) > 60 and saturation(m) < 20,
                  f"{name} is not grey bands across: rows {min(rows):.0f}-{max(rows):.0f}, "
                  f"columns {min(cols):.0f}-{max(cols):.0f}")
        else:
            check(max(cols) - min(cols) < 2 and max(rows) - min(rows) > 60,
                  f"{name} does not run downwards: rows {min(rows):.0f}-{max(rows):.0f}")
            top, bottom = p.region(0, 0, 1, 0.05), p.region(0, 0.95, 1, 1)
            if "blue" in name:
                check(monotonic(rows, rising=True) and top[2] > top[0] + 60 and bottom[2] > bottom[0] + 60,
                      f"{name} is not blue, dark to light: {top} -> {bottom}")
            if "sunset" in name:
                check(top[0] > 200 and top[1] > 160 and bottom[2] > bottom[1] + 40,
                      f"{name} does not go from yellow to purple: {top} -> {bottom}")
    else:
        check(False, f"{name}: no check for this texture")


def check_background(name, p):
    top, bottom = p.region(0, 0, 1, 0.1), p.region(0, 0.9, 1, 1)
    centre = lum(p.region(0.4, 0.35, 0.6, 0.55))
    corners = [lum(p.region(x, y, x + 0.08, y + 0.08)) for x in (0, 0.92) for y in (0, 0.92)]
    if name.startswith("sky-day"):
        check(top[2] > top[0] + 80 and lum(top) < lum(bottom), f"{name} is not a blue sky lighter below: {top} {bottom}")
    elif name.startswith("sky-dusk"):
        check(top[2] > top[0] and lum(top) < 80 and bottom[0] > bottom[2] + 80,
              f"{name} is not dark blue above and orange below: {top} {bottom}")
    elif name.startswith("sky-night"):
        stars = sum(1 for c in p.px if lum(c) > 120)
        check(lum(p.mean()) < 40 and 50 < stars < 3000, f"{name}: mean {p.mean()}, {stars} stars")
    elif name.startswith("studio") or name.startswith("vignette"):
        check(centre > max(corners) + 80, f"{name}: centre {centre:.0f} is not lit above the corners {corners}")
        m = p.mean()
        if "grey" in name or "vignette" in name:
            check(saturation(m) < 12, f"{name} is not neutral: {m}")
        if "blue" in name:
            check(m[2] > m[0] + 60, f"{name} is not blue: {m}")
        if "warm" in name:
            check(m[0] > m[2] + 40, f"{name} is not warm: {m}")
        if "vignette" in name:
            check(max(corners) - min(corners) < 3, f"{name}'s corners differ: {corners}")
        else:
            check(lum(p.region(0.4, 0.9, 0.6, 1)) < centre - 60, f"{name} has no darker floor")
    elif name.startswith("grid-floor"):
        cyan = [(i % p.w, i // p.w) for i, c in enumerate(p.px) if c[2] > 180 and c[1] > 140 and c[0] < 160]
        above = [xy for xy in cyan if xy[1] < p.h * 0.45]
        check(len(cyan) > p.w * p.h // 200 and not above, f"{name}: {len(cyan)} line pixels, {len(above)} above")
        # Lines across, spaced wider towards the viewer.
        line_rows = [y for y in range(p.h // 2, p.h) if lum(p.at(p.w // 2 + 3, y)) > 100]
        check(len(line_rows) >= 5, f"{name} has {len(line_rows)} lines across")
    else:
        check(False, f"{name}: no check for this background")


def samples(path):
    with wave.open(path) as w:
        data = w.readframes(w.getnframes())
    return list(struct.unpack("<%dh" % (len(data) // 2), data)), 22050


def rms(xs):
    return math.sqrt(sum(x * x for x in xs) / max(1, len(xs)))


def crossings(xs):
    return sum(1 for a, b in zip(xs, xs[1:]) if (a < 0) != (b < 0))


def goertzel(xs, f, rate):
    k = 2 * math.cos(2 * math.pi * f / rate)
    s1 = s2 = 0.0
    for x in xs:
        s1, s2 = x + k * s1 - s2, s1
    return s1 * s1 + s2 * s2 - k * s1 * s2


def check_sound(name, path):
    info = [subprocess.run(["soxi", flag, path], capture_output=True, text=True).stdout.strip()
            for flag in ("-r", "-c", "-b", "-e", "-D")]
    check(info[:4] == ["22050", "1", "16", "Signed Integer PCM"], f"{name}: soxi says {info}")
    xs, rate = samples(path)
    seconds = len(xs) / rate
    check(xs and max(abs(x) for x in xs) < 32767, f"{name} clips")
    part = lambda a, b: xs[int(a * rate):int(b * rate)]  # noqa: E731
    if name.startswith("chime"):
        check(1.0 <= seconds <= 2.0, f"{name} lasts {seconds:.2f} s")
        check(rms(part(0, 0.2)) > 4 * rms(part(seconds - 0.2, seconds)), f"{name} does not die away")
        head = part(0, 0.3)
        check(goertzel(head, 880, rate) > 20 * max(goertzel(head, f, rate) for f in (660, 1100, 1320)),
              f"{name} does not ring at 880 Hz")
    elif name.startswith("click"):
        check(seconds <= 0.1, f"{name} lasts {seconds:.2f} s")
        energy = sum(x * x for x in xs)
        check(sum(x * x for x in part(0, 0.015)) > 0.9 * energy, f"{name} is not a short tick")
    elif name.startswith("pop"):
        check(seconds <= 0.3, f"{name} lasts {seconds:.2f} s")
        check(rms(part(0, 0.05)) > 5 * rms(part(0.1, seconds)), f"{name} does not stop short")
        check(crossings(part(0, 0.015)) / 0.015 > 1.5 * crossings(part(0.04, 0.08)) / 0.04, f"{name}'s pitch does not drop")
    elif name.startswith("whoosh"):
        check(0.5 <= seconds <= 1.5, f"{name} lasts {seconds:.2f} s")
        third = seconds / 3
        check(rms(part(third, 2 * third)) > 3 * max(rms(part(0, 0.1)), rms(part(seconds - 0.1, seconds))),
              f"{name} does not swell and fade")
        middle = part(third, 2 * third)
        gaps = [i for i, (a, b) in enumerate(zip(middle, middle[1:])) if (a < 0) != (b < 0)]
        gaps = [b - a for a, b in zip(gaps, gaps[1:])]
        mean = sum(gaps) / max(1, len(gaps))
        spread = math.sqrt(sum((g - mean) ** 2 for g in gaps) / max(1, len(gaps))) / max(mean, 1e-9)
        check(spread > 0.5, f"{name} is not noise: zero crossings spaced evenly ({spread:.2f})")
    elif name.startswith("rising-tone") or name.startswith("falling-tone"):
        check(0.3 <= seconds <= 1.5, f"{name} lasts {seconds:.2f} s")
        quarter = seconds / 4
        first, last = crossings(part(0, quarter)), crossings(part(3 * quarter, seconds))
        if name.startswith("rising"):
            check(last > 2 * first, f"{name} does not rise: {first} then {last} crossings")
        else:
            check(first > 2 * last, f"{name} does not fall: {first} then {last} crossings")
    else:
        check(False, f"{name}: no check for this sound")


def main():
    missing = ep.missing_tool_exit("identify", "convert", "soxi")
    if missing is not None:
        return missing
    data = os.path.join(sys.argv[1], "data")
    total = 0
    counts = {}
    for folder, least in (("Textures", 12), ("Backgrounds", 8), ("Sounds", 6)):
        names = sorted(os.listdir(os.path.join(data, folder)))
        counts[folder] = len(names)
        check(len(names) >= least, f"{folder} holds {len(names)} files, fewer than {least}")
        for name in names:
            path = os.path.join(data, folder, name)
            total += os.path.getsize(path)
            ext = name.rsplit(".", 1)[-1]
            if folder == "Sounds":
                check(ext == "wav", f"{name} is not a wave file")
                check_sound(name, path)
                continue
            p = Picture(path)
            check(p.format == FORMATS.get(ext), f"{name}: identify says {p.format}")
            check(p.w & (p.w - 1) == 0 and p.h & (p.h - 1) == 0, f"{name} is {p.w} x {p.h}, not powers of two")
            check(len(p.px) == p.w * p.h, f"{name}: convert gives {len(p.px)} pixels")
            if len(p.px) == p.w * p.h:
                (check_texture if folder == "Textures" else check_background)(name, p)
    check(total < 2 * 1024 * 1024, f"the set takes {total} bytes")
    formats = {n.rsplit(".", 1)[-1] for f in ("Textures", "Backgrounds") for n in os.listdir(os.path.join(data, f))}
    check(formats == set(FORMATS), f"the pictures use {sorted(formats)}, not every format the program reads")
    print(f"{counts}, {total} bytes", flush=True)
    return 1 if ep.failures else 0


if __name__ == "__main__":
    sys.exit(main())
