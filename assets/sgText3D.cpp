#include "assets/sgText3D.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

#include "sg/sgVec.h"

namespace {

bool finite(float v) { return std::isfinite(v); }

// Next code point of a UTF-8 string. A malformed or truncated sequence yields
// U+FFFD and consumes one byte, so the walk never passes the end.
uint32_t nextCodePoint(const unsigned char* s, size_t len, size_t& i) {
    unsigned char c = s[i];
    if (c < 0x80) {
        ++i;
        return c;
    }
    int extra = 0;
    uint32_t cp = 0;
    uint32_t min = 0;
    if ((c & 0xE0) == 0xC0) {
        extra = 1;
        cp = c & 0x1F;
        min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
        cp = c & 0x0F;
        min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3;
        cp = c & 0x07;
        min = 0x10000;
    } else {
        ++i;
        return 0xFFFD;
    }
    if (len - i <= static_cast<size_t>(extra)) {
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k <= extra; ++k) {
        unsigned char cc = s[i + static_cast<size_t>(k)];
        if ((cc & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (cc & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return 0xFFFD;
    }
    i += static_cast<size_t>(extra) + 1;
    return cp;
}

// Characters that take 0.6 of the fixed advance, and shorten the advance
// before them too.
bool isNarrow(uint32_t c) { return c == ',' || c == '.' || c == ':'; }

}  // namespace

sgText3D::sgText3D(const char* fontName) : fontName_(fontName ? fontName : "") {}

sgText3D::sgText3D(const std::string& fontName) : fontName_(fontName) {}

sgText3D::~sgText3D() = default;

void sgText3D::setDefaults() {
    fontSize_ = 36;
    precision_ = 10.0f;
    offset_[0] = offset_[1] = offset_[2] = 0.0f;
    ratio_ = 1.0f;
    italic_ = 0;
    slantAngle_ = 0.0f;
    extrusion_ = 20.0f;
    bevelSize_ = 0.0f;
    bevelWidth_ = 0.0f;
    totalDepth_ = 20.0f;
    hOffset_ = vOffset_ = 0.0f;
    gap_ = 0.0f;
    hJust_ = 1;
    vJust_ = 5;
    depthJust_ = 8;
    fixedAdvance_ = 0.0f;
}

void sgText3D::setFontSize(int size) {
    if (size == 0) {
        std::fputs("Font size must be positive.\n", stderr);
        return;
    }
    if (size < 0) size = size == INT_MIN ? INT_MAX : -size;
    fontSize_ = size;
}

void sgText3D::setPrecision(float precision) {
    if (!finite(precision)) return;
    if (precision == 0.0f) {
        std::fputs("Precision value must be positive.\n", stderr);
        return;
    }
    precision_ = std::fabs(precision);
}

void sgText3D::setOffset(float x, float y, float z) {
    if (!finite(x) || !finite(y) || !finite(z)) return;
    offset_[0] = x;
    offset_[1] = y;
    offset_[2] = z;
}

void sgText3D::setRatio(float ratio) {
    if (finite(ratio)) ratio_ = std::fabs(ratio);
}

void sgText3D::setItalic(int italic) { italic_ = italic; }

void sgText3D::setSlantAngle(float degrees) {
    if (finite(degrees)) slantAngle_ = degrees;
}

void sgText3D::setExtrusion(float extrusion) {
    if (!finite(extrusion)) return;
    if (extrusion < 0.0f) {
        std::fputs("UTF WARNING: negative extrusion value.\n", stdout);
        return;
    }
    extrusion_ = extrusion;
    totalDepth_ = extrusion_ + 2.0f * bevelSize_;
}

void sgText3D::setBevel(float size, float width) {
    if (!finite(size) || !finite(width)) return;
    bevelSize_ = std::fabs(size);
    bevelWidth_ = width;
    totalDepth_ = extrusion_ + 2.0f * bevelSize_;
}

void sgText3D::setHOffset(float x) {
    if (finite(x)) hOffset_ = x;
}

void sgText3D::setVOffset(float y) {
    if (finite(y)) vOffset_ = y;
}

void sgText3D::setGap(float gap) {
    if (finite(gap)) gap_ = gap;
}

void sgText3D::setHJust(int h) { hJust_ = h; }
void sgText3D::setVJust(int v) { vJust_ = v; }
void sgText3D::setDepthJust(int d) { depthJust_ = d; }

void sgText3D::setFixedAdvance(float advance) {
    if (finite(advance)) fixedAdvance_ = advance;
}

void sgText3D::release() {
    glyphs_.clear();
    text_.clear();
    width_ = 0.0f;
    height_ = 0.0f;
}

int sgText3D::generate(const char* text) {
    release();
    text_ = text ? text : "";

    std::vector<uint32_t> codes;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text_.data());
    for (size_t i = 0; i < text_.size();) codes.push_back(nextCodePoint(bytes, text_.size(), i));

    FontRequest request;
    request.family = fontName_;
    request.cellHeight = SG_TEXT_CELL_HEIGHT;
    request.weight = 400;
    request.italic = italic_ != 0;
    FontOutline font(request);
    fontFile_ = font.file();

    glyphs_.resize(codes.size());
    FontGlyphOutline native;
    for (size_t i = 0; i < codes.size(); ++i) {
        sgTextGlyphOutline& g = glyphs_[i].outline;
        g.code = codes[i];
        g.threshold = precision_ > 0.01f ? precision_ : 0.01;
        g.scale = static_cast<float>(std::max(fontSize_, 1));
        if (font.glyphOutline(codes[i], native)) g.build(native);
    }
    layout();
    return font.ok() ? 1 : 0;
}

void sgText3D::layout() {
    const double slant = std::clamp(static_cast<double>(slantAngle_), -75.0, 75.0);
    const double slantFactor = std::tan(slant * SG_PI / 180.0);
    // Every advance makes room for the bevel width on both sides, whatever the
    // depth: a flat text's outline border is that width too.
    const double pad = 2.0 * std::fabs(bevelWidth_);
    const double ratio = ratio_;
    const bool fixedPitch = fixedAdvance_ > 0.0f;
    double pen = 0.0;
    bool anyPoint = false;
    double top = 0.0;

    for (size_t i = 0; i < glyphs_.size(); ++i) {
        Glyph& g = glyphs_[i];
        sgTextGlyphOutline& o = g.outline;
        const double s = o.scale / 64.0f;
        g.pen = pen;
        // Fixed pitch moves the glyph's inked box (at its natural width) back
        // by half onto the pen; the ratio squeezes only the outline.
        const double start = fixedPitch ? pen - (o.metrics.originX + o.metrics.blackBoxX / 2.0) * s : pen;
        for (sgTextContour& c : o.contours) {
            for (sgTextPoint& p : c.points) {
                double x = start + ratio * p.x;
                if (slant != 0.0) x += slantFactor * p.y;
                p.x = x;
                if (!anyPoint || p.y > top) top = p.y;
                anyPoint = true;
            }
            c.update();
        }
        if (fixedPitch) {
            bool narrow = isNarrow(o.code) || (i + 1 < glyphs_.size() && isNarrow(glyphs_[i + 1].outline.code));
            pen += narrow ? 0.6 * fixedAdvance_ : fixedAdvance_;
        } else {
            pen = (o.metrics.cellIncX * s + pad) * ratio + gap_ + pen;
        }
        g.tess.tessellate(o.contours);
    }
    // Fixed pitch too: the first glyph is centred on 0 and the width ends at
    // the last pen less the gap, where stored texts were placed by eye.
    width_ = static_cast<float>(pen - gap_);
    height_ = static_cast<float>(top);
}

void sgText3D::getPlacement(bool shadow, double xyz[3]) const {
    double x = shadow ? hOffset_ : offset_[0];
    double y = shadow ? vOffset_ : offset_[1];
    double z = offset_[2];
    if (hJust_ == 1) x -= width_ / 2.0;
    else if (hJust_ == 2) x -= width_;
    if (vJust_ == 5) y -= height_ / 2.0;
    else if (vJust_ == 4) y -= height_;
    if (depthJust_ == 9) z += totalDepth_ / 2.0;
    else if (depthJust_ == 10) z += totalDepth_;
    if (shadow) z -= 1.0;
    xyz[0] = x;
    xyz[1] = y;
    xyz[2] = z;
}
