#!/usr/bin/env python3
"""Reads glyph facts from a font file with fontTools, for the text tests.

Usage: font_oracle.py FONTFILE CODEPOINT...
Prints "cell UNITS_PER_EM WIN_ASCENT WIN_DESCENT", then per code point
"glyph CODEPOINT CONTOURS ADVANCE AREA" (advance and area in font units; the
area is signed as fontTools' AreaPen gives it, negative for clockwise outers).
"""
import sys

from fontTools.pens.areaPen import AreaPen
from fontTools.pens.basePen import BasePen
from fontTools.ttLib import TTFont


class ContourCounter(BasePen):
    def __init__(self, glyphSet):
        super().__init__(glyphSet)
        self.count = 0

    def _moveTo(self, pt):
        pass

    def _lineTo(self, pt):
        pass

    def _curveToOne(self, p1, p2, p3):
        pass

    def _qCurveToOne(self, p1, p2):
        pass

    def _closePath(self):
        self.count += 1

    def _endPath(self):
        self.count += 1


def main():
    font = TTFont(sys.argv[1])
    os2 = font["OS/2"]
    print("cell %d %d %d" % (font["head"].unitsPerEm, os2.usWinAscent, os2.usWinDescent))
    glyphs = font.getGlyphSet()
    cmap = font.getBestCmap()
    hmtx = font["hmtx"]
    for arg in sys.argv[2:]:
        cp = int(arg)
        name = cmap.get(cp, ".notdef")
        counter = ContourCounter(glyphs)
        glyphs[name].draw(counter)
        area = AreaPen(glyphs)
        glyphs[name].draw(area)
        print("glyph %d %d %d %.6f" % (cp, counter.count, hmtx[name][0], area.value))


if __name__ == "__main__":
    main()
