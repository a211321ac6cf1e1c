// Glyph outlines of installed fonts: a font is matched through fontconfig
// (family, weight, slant) and read with FreeType, unhinted, at the size that
// makes its cell (usWinAscent + usWinDescent of the OS/2 table) a given
// number of pixels tall.
// Outlines come back as contours of line, quadratic and cubic segments in
// 16.16 fixed-point pixels, y up, origin on the pen at the baseline.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// 16.16 fixed point; 64 bits so that no outline of any font overflows.
using FontFixed = int64_t;

struct FontPoint {
    FontFixed x = 0;
    FontFixed y = 0;
};

enum class FontSegmentType : uint8_t { Line, Quadratic, Cubic };

// A segment starts where the previous one ended (or at the contour's start).
// Line: p[0] is the end. Quadratic: p[0] control, p[1] end. Cubic: p[0], p[1]
// controls, p[2] end.
struct FontSegment {
    FontSegmentType type = FontSegmentType::Line;
    FontPoint p[3];
    const FontPoint& end() const {
        return p[type == FontSegmentType::Line ? 0 : type == FontSegmentType::Quadratic ? 1 : 2];
    }
};

struct FontContour {
    FontPoint start;
    std::vector<FontSegment> segments;
};

// Whole pixels, rounded from the unhinted values.
struct FontGlyphMetrics {
    int blackBoxX = 0;  // width of the inked box
    int blackBoxY = 0;  // its height
    int originX = 0;    // its left edge, from the pen
    int originY = 0;    // its top edge, from the baseline
    int cellIncX = 0;   // advance to the next pen position
    int cellIncY = 0;
};

struct FontGlyphOutline {
    FontGlyphMetrics metrics;
    std::vector<FontContour> contours;
};

struct FontRequest {
    std::string family;
    int cellHeight = 48;  // pixels from the top of the cell to its bottom
    int weight = 400;     // 100 (thin) .. 900 (black), 400 regular, 700 bold
    bool italic = false;
};

class FontOutline {
public:
    // Matches and opens the font; ok() tells whether a usable face was found.
    explicit FontOutline(const FontRequest& request);
    ~FontOutline();
    FontOutline(const FontOutline&) = delete;
    FontOutline& operator=(const FontOutline&) = delete;

    bool ok() const;
    // The matched file, its face index and family, for diagnostics and tests.
    const std::string& file() const;
    int faceIndex() const;
    const std::string& family() const;
    // True when italic was asked for, the family has no italic face and the
    // outlines are sheared instead.
    bool shearedItalic() const;

    // Outline of one Unicode character. A character the font lacks gives the
    // font's missing-glyph shape, as a system text renderer shows it. Returns
    // false (and an empty outline) when no outline can be made.
    bool glyphOutline(uint32_t codePoint, FontGlyphOutline& out);

    // Whether the face maps the character to a glyph of its own.
    bool hasGlyph(uint32_t codePoint) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Shear applied to synthesised italics: x += factor * y.
constexpr double FONT_ITALIC_SHEAR = 0x0366A / 65536.0;

// The first family name of every installed outline font, each once, sorted.
std::vector<std::string> outlineFontFamilies();
// The family fontconfig picks for a name (a family or an alias such as
// "arial"); "" when nothing matches.
std::string matchedFontFamily(const std::string& name);
