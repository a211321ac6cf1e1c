#include "scene/pnStringProperty.h"

#include "scene/pnWriteUtil.h"

void pnTextStyleValues::copyValues(const pnTextStyleValues& other) {
    *this = other;
    if (font.empty()) font = DEFAULT_FONT;
}

bool pnTextStyleValues::giveFaceValues(pnTextStyleValues& o) const {
    const std::string& face = font.empty() ? o.font : font;
    const bool same = o.size == size && o.depth == depth && o.precision == precision && o.ratio == ratio &&
                      o.bevel[0] == bevel[0] && o.bevel[1] == bevel[1] && o.slantAngle == slantAngle &&
                      o.italic == italic && o.gap == gap && o.kind == kind && o.border == border &&
                      o.hOffset == hOffset && o.vOffset == vOffset && o.hJust == hJust && o.wJust == wJust &&
                      o.nJust == nJust && o.font == face;
    if (same) return false;
    o.font = face;
    o.size = size;
    o.depth = depth;
    o.precision = precision;
    o.ratio = ratio;
    o.bevel[0] = bevel[0];
    o.bevel[1] = bevel[1];
    o.slantAngle = slantAngle;
    o.italic = italic;
    o.gap = gap;
    o.kind = kind;
    o.border = border;
    o.hOffset = hOffset;
    o.vOffset = vOffset;
    o.hJust = hJust;
    o.wJust = wJust;
    o.nJust = nJust;
    return true;
}

bool pnTextStyleValues::writeFaceValues(FILE* f) const {
    bool ok = true;
    auto line = [&ok](int result) { ok = ok && result >= 0; };
    line(pnWriteFloat(f, "size", size));
    line(pnWriteFloat(f, "slantAngle", slantAngle));
    line(pnWriteInt(f, "italic", italic));
    line(pnWriteFloat(f, "gap", gap, "\t\t"));
    line(pnWriteFloat(f, "depth", depth));
    line(pnWriteFloat(f, "ratio", ratio));
    line(pnWritef(f, "    bevel\t(%f %f)\n", bevel[0], bevel[1]));
    line(pnWriteFloat(f, "precision", precision));
    line(pnWriteQuoted(f, "font", font));
    return ok;
}

int pnStringProperty::copy(const pnStringProperty* other) {
    if (!other) return 0;
    if (other == this) return 1;
    name = other->name;
    copyValues(*other);
    return 1;
}

void pnStringProperty::setFont(const char* f) {
    if (f && *f) font = sgCutName(f);
}

void pnStringProperty::setWJust(float w) {
    wJust = w;
    if (w > 0.0f) nJust = 0.0f;
}

void pnStringProperty::setNJust(float n) {
    nJust = n;
    if (n > 0.0f) wJust = 0.0f;
}

int pnStringProperty::write(FILE* f) const {
    if (!f) return 0;
    bool ok = pnWriteBlockBegin(f, "stringProperty") >= 0;
    auto line = [&ok](int result) { ok = ok && result >= 0; };
    line(pnWriteQuoted(f, "name", name));
    ok = writeFaceValues(f) && ok;
    if (border > 0.0f) line(pnWriteFloat(f, "border", border));
    line(pnWriteQuoted(f, "kind", kind == 1 ? "3D" : "2D"));
    line(pnWriteQuoted(f, "hJust", hJust == 1 ? "Center" : hJust == 0 ? "Left" : "Right"));
    line(pnWriteQuoted(f, "vJust", vJust == 1 ? "Center" : vJust == 3 ? "Top" : "Bottom"));
    line(pnWriteFloat(f, "wJust", wJust));
    line(pnWriteFloat(f, "nJust", nJust));
    if (hOffset != 0.0f) line(pnWriteFloat(f, "hOffset", hOffset));
    if (vOffset != 0.0f) line(pnWriteFloat(f, "vOffset", vOffset));
    line(pnWriteBlockEnd(f));
    return ok && pnWriteOk(f) ? 1 : 0;
}
