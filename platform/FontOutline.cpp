#include "platform/FontOutline.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_BBOX_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <algorithm>
#include <map>
#include <set>
#include <tuple>
#include <utility>

namespace {

struct MatchResult {
    bool found = false;
    std::string file;
    int index = 0;
    std::string family;
};

struct OpenFace {
    FT_Face face = nullptr;
    bool symbol = false;     // only a symbol character map (dingbat fonts)
    double cellUnits = 0.0;  // ascent + descent in font units
};

// Font matching and face opening are slow next to reading a glyph; both are
// kept for the whole run (typing into the text page regenerates every key).
class FontCache {
public:
    ~FontCache() {
        for (auto& kv : faces_)
            if (kv.second.face) FT_Done_Face(kv.second.face);
        if (library_) FT_Done_FreeType(library_);
    }

    FT_Library library() {
        if (!library_ && !libraryFailed_) {
            if (FT_Init_FreeType(&library_) != 0) {
                library_ = nullptr;
                libraryFailed_ = true;
            }
        }
        return library_;
    }

    const MatchResult& match(const std::string& family, int weight, bool italic) {
        auto key = std::make_tuple(family, weight, italic);
        auto it = matches_.find(key);
        if (it != matches_.end()) return it->second;
        return matches_.emplace(key, findFont(family, weight, italic)).first->second;
    }

    const OpenFace& open(const std::string& file, int index) {
        auto key = std::make_pair(file, index);
        auto it = faces_.find(key);
        if (it != faces_.end()) return it->second;
        return faces_.emplace(key, openFace(file, index)).first->second;
    }

private:
    static MatchResult findFont(const std::string& family, int weight, bool italic) {
        MatchResult r;
        FcPattern* pattern = FcPatternCreate();
        if (!pattern) return r;
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddDouble(pattern, FC_WEIGHT, FcWeightFromOpenTypeDouble(weight));
        FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* found = FcFontMatch(nullptr, pattern, &result);
        FcPatternDestroy(pattern);
        if (!found) return r;
        FcChar8* file = nullptr;
        if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch && file) {
            r.found = true;
            r.file = reinterpret_cast<const char*>(file);
            int index = 0;
            if (FcPatternGetInteger(found, FC_INDEX, 0, &index) == FcResultMatch) r.index = index;
            FcChar8* name = nullptr;
            if (FcPatternGetString(found, FC_FAMILY, 0, &name) == FcResultMatch && name)
                r.family = reinterpret_cast<const char*>(name);
        }
        FcPatternDestroy(found);
        return r;
    }

    OpenFace openFace(const std::string& file, int index) {
        OpenFace f;
        FT_Library lib = library();
        if (!lib) return f;
        FT_Face face = nullptr;
        if (FT_New_Face(lib, file.c_str(), index, &face) != 0) return f;
        if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
            FT_Done_Face(face);
            return f;
        }
        if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) {
            if (FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0) f.symbol = true;
        }
        // The cell is usWinAscent + usWinDescent of the OS/2 table, as text
        // renderers size fonts by cell height.
        double cell = 0.0;
        auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        if (os2 && os2->version != 0xFFFF) cell = double(os2->usWinAscent) + double(os2->usWinDescent);
        if (cell <= 0.0) cell = double(face->ascender) - double(face->descender);
        if (cell <= 0.0) cell = face->units_per_EM;
        f.face = face;
        f.cellUnits = cell;
        return f;
    }

    FT_Library library_ = nullptr;
    bool libraryFailed_ = false;
    std::map<std::tuple<std::string, int, bool>, MatchResult> matches_;
    std::map<std::pair<std::string, int>, OpenFace> faces_;
};

FontCache& cache() {
    static FontCache c;
    return c;
}

// Collects FreeType's decomposition as fixed-point segments.
struct Decomposer {
    double scale = 1.0;  // font units to 16.16 pixels
    std::vector<FontContour>* contours = nullptr;

    FontPoint fix(const FT_Vector* v) const {
        FontPoint p;
        p.x = std::llround(double(v->x) * scale);
        p.y = std::llround(double(v->y) * scale);
        return p;
    }
    void add(FontSegmentType type, const FT_Vector* a, const FT_Vector* b, const FT_Vector* c) {
        if (contours->empty()) contours->emplace_back();  // a segment before any move
        FontSegment s;
        s.type = type;
        s.p[0] = fix(a);
        if (b) s.p[1] = fix(b);
        if (c) s.p[2] = fix(c);
        contours->back().segments.push_back(s);
    }

    static int moveTo(const FT_Vector* to, void* user) {
        auto* d = static_cast<Decomposer*>(user);
        d->contours->emplace_back();
        d->contours->back().start = d->fix(to);
        return 0;
    }
    static int lineTo(const FT_Vector* to, void* user) {
        static_cast<Decomposer*>(user)->add(FontSegmentType::Line, to, nullptr, nullptr);
        return 0;
    }
    static int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
        static_cast<Decomposer*>(user)->add(FontSegmentType::Quadratic, control, to, nullptr);
        return 0;
    }
    static int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
        static_cast<Decomposer*>(user)->add(FontSegmentType::Cubic, c1, c2, to);
        return 0;
    }
};

int roundPixels(double units, double pixelsPerUnit) {
    double v = std::round(units * pixelsPerUnit);
    if (!(v > -1e9 && v < 1e9)) return 0;
    return static_cast<int>(v);
}

}  // namespace

struct FontOutline::Impl {
    bool ok = false;
    std::string file;
    int index = 0;
    std::string family;
    bool shear = false;
    FT_Face face = nullptr;
    bool symbol = false;
    double pixelsPerUnit = 0.0;
};

FontOutline::FontOutline(const FontRequest& request) : impl_(new Impl) {
    const MatchResult& m = cache().match(request.family, request.weight, request.italic);
    if (!m.found) return;
    impl_->file = m.file;
    impl_->index = m.index;
    impl_->family = m.family;
    const OpenFace& f = cache().open(m.file, m.index);
    if (!f.face || request.cellHeight <= 0) return;
    impl_->face = f.face;
    impl_->symbol = f.symbol;
    impl_->pixelsPerUnit = double(request.cellHeight) / f.cellUnits;
    impl_->shear = request.italic && !(f.face->style_flags & FT_STYLE_FLAG_ITALIC);
    impl_->ok = true;
}

FontOutline::~FontOutline() = default;

bool FontOutline::ok() const { return impl_->ok; }
const std::string& FontOutline::file() const { return impl_->file; }
int FontOutline::faceIndex() const { return impl_->index; }
const std::string& FontOutline::family() const { return impl_->family; }
bool FontOutline::shearedItalic() const { return impl_->ok && impl_->shear; }

bool FontOutline::glyphOutline(uint32_t codePoint, FontGlyphOutline& out) {
    out = FontGlyphOutline();
    if (!impl_->ok) return false;
    FT_Face face = impl_->face;
    FT_UInt glyph = 0;
    if (impl_->symbol) {
        // Symbol fonts map their characters into the private area at U+F000.
        glyph = FT_Get_Char_Index(face, codePoint);
        if (glyph == 0 && codePoint <= 0xFF) glyph = FT_Get_Char_Index(face, 0xF000 + codePoint);
    } else {
        glyph = FT_Get_Char_Index(face, codePoint);
    }
    // Unscaled outlines are scaled here in double precision, so the cell is
    // exactly the requested height whatever the font's ppem rounding flags say.
    if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) != 0) return false;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
    if (impl_->shear) {
        FT_Matrix m;
        m.xx = 0x10000;
        m.xy = 0x0366A;
        m.yx = 0;
        m.yy = 0x10000;
        FT_Outline_Transform(&slot->outline, &m);
    }

    Decomposer d;
    d.scale = impl_->pixelsPerUnit * 65536.0;
    d.contours = &out.contours;
    FT_Outline_Funcs funcs;
    funcs.move_to = &Decomposer::moveTo;
    funcs.line_to = &Decomposer::lineTo;
    funcs.conic_to = &Decomposer::conicTo;
    funcs.cubic_to = &Decomposer::cubicTo;
    funcs.shift = 0;
    funcs.delta = 0;
    if (slot->outline.n_points > 0 && FT_Outline_Decompose(&slot->outline, &funcs, &d) != 0) {
        out = FontGlyphOutline();
        return false;
    }

    FontGlyphMetrics& gm = out.metrics;
    const double ppu = impl_->pixelsPerUnit;
    if (slot->outline.n_points > 0) {
        FT_BBox box;
        if (FT_Outline_Get_BBox(&slot->outline, &box) == 0) {
            gm.blackBoxX = roundPixels(double(box.xMax) - double(box.xMin), ppu);
            gm.blackBoxY = roundPixels(double(box.yMax) - double(box.yMin), ppu);
            gm.originX = roundPixels(double(box.xMin), ppu);
            gm.originY = roundPixels(double(box.yMax), ppu);
        }
    }
    gm.cellIncX = roundPixels(double(slot->metrics.horiAdvance), ppu);
    gm.cellIncY = 0;
    return true;
}

bool FontOutline::hasGlyph(uint32_t codePoint) const {
    if (!impl_->ok) return false;
    if (FT_Get_Char_Index(impl_->face, codePoint) != 0) return true;
    return impl_->symbol && codePoint <= 0xFF && FT_Get_Char_Index(impl_->face, 0xF000 + codePoint) != 0;
}

std::vector<std::string> outlineFontFamilies() {
    std::set<std::string> names;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    if (pattern && objects) {
        FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
        if (FcFontSet* set = FcFontList(nullptr, pattern, objects)) {
            for (int i = 0; i < set->nfont; ++i) {
                FcChar8* name = nullptr;
                if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &name) == FcResultMatch && name && *name)
                    names.insert(reinterpret_cast<const char*>(name));
            }
            FcFontSetDestroy(set);
        }
    }
    if (objects) FcObjectSetDestroy(objects);
    if (pattern) FcPatternDestroy(pattern);
    return std::vector<std::string>(names.begin(), names.end());
}

std::string matchedFontFamily(const std::string& name) {
    return cache().match(name, 400, false).family;
}
