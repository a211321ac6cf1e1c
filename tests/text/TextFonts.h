// Shared by the text tests: fonts pinned through a test fontconfig file, and
// the fontTools oracle run on the same font file.
#pragma once

#include <cstdint>
#include <map>
#include <string>

struct OracleGlyph {
    int contours = -1;
    int advance = 0;    // font units
    double area = 0.0;  // font units squared, signed as AreaPen gives it
};

struct OracleFont {
    bool ok = false;
    std::string error;
    int unitsPerEm = 0;
    int winAscent = 0;
    int winDescent = 0;
    std::map<uint32_t, OracleGlyph> glyphs;
    // Pixels of the 48-pixel cell per font unit.
    double cellScale() const { return 48.0 / double(winAscent + winDescent); }
};

// Runs tests/text/font_oracle.py with the Python that has fontTools.
OracleFont readOracle(const std::string& fontFile, const std::u32string& chars);
