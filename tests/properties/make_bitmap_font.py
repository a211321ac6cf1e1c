"""Writes a TrueType font that holds bitmaps only (no outlines), family
"Kelvano Bitmap Test", one 8-pixel strike with the letter A:
make_bitmap_font.py OUT.ttf"""

import io
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

METRICS = "".join(
    f'<{name} value="{value}"/>'
    for name, value in [("ascender", 8), ("descender", 0), ("widthMax", 8), ("caretSlopeNumerator", 0),
                        ("caretSlopeDenominator", 0), ("caretOffset", 0), ("minOriginSB", 0),
                        ("minAdvanceSB", 0), ("maxBeforeBL", 8), ("minAfterBL", 0), ("pad1", 0), ("pad2", 0)])

BITMAPS = f"""<?xml version="1.0" encoding="UTF-8"?>
<ttFont>
<EBDT>
  <header version="2.0"/>
  <strikedata index="0">
    <ebdt_bitmap_format_1 name="A">
      <SmallGlyphMetrics>
        <height value="8"/><width value="8"/><BearingX value="0"/><BearingY value="8"/><Advance value="8"/>
      </SmallGlyphMetrics>
      <rawimagedata>18 24 42 42 7e 42 42 42</rawimagedata>
    </ebdt_bitmap_format_1>
  </strikedata>
</EBDT>
<EBLC>
  <header version="2.0"/>
  <strike index="0">
    <bitmapSizeTable>
      <sbitLineMetrics direction="hori">{METRICS}</sbitLineMetrics>
      <sbitLineMetrics direction="vert">{METRICS}</sbitLineMetrics>
      <colorRef value="0"/><startGlyphIndex value="1"/><endGlyphIndex value="1"/>
      <ppemX value="8"/><ppemY value="8"/><bitDepth value="1"/><flags value="1"/>
    </bitmapSizeTable>
    <eblc_index_sub_table_1 imageFormat="1" firstGlyphIndex="1" lastGlyphIndex="1">
      <glyphLoc id="1" name="A"/>
    </eblc_index_sub_table_1>
  </strike>
</EBLC>
</ttFont>
"""


def main():
    builder = FontBuilder(1024, isTTF=True)
    builder.setupGlyphOrder([".notdef", "A"])
    builder.setupCharacterMap({ord("A"): "A"})
    builder.setupGlyf({name: TTGlyphPen(None).glyph() for name in (".notdef", "A")})
    builder.setupHorizontalMetrics({".notdef": (1024, 0), "A": (1024, 0)})
    builder.setupHorizontalHeader(ascent=1024, descent=0)
    builder.setupNameTable({"familyName": "Kelvano Bitmap Test", "styleName": "Regular"})
    builder.setupOS2(usWinAscent=1024, usWinDescent=0)
    builder.setupPost()
    font = builder.font
    # Without glyf and loca the strike is all the font has.
    del font["glyf"]
    del font["loca"]
    font.importXML(io.StringIO(BITMAPS))
    font.save(sys.argv[1])


if __name__ == "__main__":
    main()
