// The 3D text engine: turns a UTF-8 string in an installed font into flat,
// closed, oriented contours per character, lays them out along a line,
// tessellates them and compiles faces, walls, bevels, outline borders and
// shadows into OpenGL display lists for the text and counter objects.
//
// The lists it returns belong to the caller (their geometry sets delete them);
// the engine never deletes a list it handed out.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/FontOutline.h"

// Outlines are requested with this cell height in pixels; coordinates are then
// scaled by font size / 64.
constexpr int SG_TEXT_CELL_HEIGHT = 48;
// Deepest curve subdivision (2^16 pieces at most per curve).
constexpr int SG_TEXT_MAX_FLATTEN_DEPTH = 16;
// A bevel or outline corner never moves further than this many bevel widths.
constexpr double SG_TEXT_MITRE_LIMIT = 4.0;

struct sgTextPoint {
    double x = 0.0;
    double y = 0.0;
};

// One closed contour, stored without a repeated end point (the edge from the
// last point back to the first is implied).
class sgTextContour {
public:
    sgTextContour() { points.reserve(8); }

    std::vector<sgTextPoint> points;
    double area = 0.0;  // signed: negative when clockwise (y up)
    int clockwise = 0;
    double minX = 1e20, minY = 1e20, maxX = -1e20, maxY = -1e20;

    int getPointCount() const { return static_cast<int>(points.size()); }
    // Appends a point, dropping one within 0.001 of the last in both axes and
    // removing the last point when it lies exactly on the line to the new one.
    void addPoint(double x, double y);
    // Closes the contour through its start point and completes area, flag and
    // bounding box.
    void close();
    // Recomputes area, flag and bounding box from the points.
    void update();
    // Reverses the direction; the flag and the sign of the area follow.
    void reverse();
    // Crossing-number test.
    bool containsPoint(double x, double y) const;
};

// One character's outline: metrics in whole pixels of the 48-pixel cell and
// the flattened contours, outer ones clockwise, each followed by its holes
// counter-clockwise.
class sgTextGlyphOutline {
public:
    uint32_t code = 0;
    bool valid = false;  // the font delivered an outline (a failed one still advances)
    FontGlyphMetrics metrics;
    double threshold = 10.0;  // flattening threshold, pixels of the 48-pixel cell
    float scale = 36.0f;      // font size, at least 1
    std::vector<sgTextContour> contours;

    // Builds the contours from a font outline.
    void build(const FontGlyphOutline& outline);
    // Flattening into a contour, in 16.16 fixed pixels. Public for tests.
    void flattenQuadratic(sgTextContour& c, FontPoint p0, FontPoint p1, FontPoint p2, int depth = 0) const;
    void flattenCubic(sgTextContour& c, FontPoint p0, FontPoint p1, FontPoint p2, FontPoint p3,
                      int depth = 0) const;
    void addFixedPoint(sgTextContour& c, const FontPoint& p) const;
    // Orders the contours so that every outer contour is followed by its holes.
    void orderContours();
};

// Triangles of one character from the GLU tessellator.
class sgTextTessGlyph {
public:
    struct Vertex {
        double xyz[3];
        int index;
    };
    std::deque<Vertex> vertices;  // contour points first, then combined ones
    std::vector<int> triangles;   // three vertex indices per triangle, counter-clockwise

    // Collector state while the tessellator runs.
    unsigned type = 0;
    int held[2] = {0, 0};
    int count = 0;

    void tessellate(const std::vector<sgTextContour>& contours);
    void clear();
};

// Geometry of a list before compilation: batches of GL_TRIANGLES (3 vertices
// each) or GL_QUADS (4 each) with a normal per vertex, in the text's own
// coordinates (the face at z = 0, the back at z = -total depth).
struct sgTextVertex {
    float x, y, z;
    float nx, ny, nz;
};
// Receives the geometry as it is made: the display-list compiler, or a mesh.
class sgTextSink {
public:
    virtual ~sgTextSink() = default;
    virtual void begin(unsigned mode) = 0;
    virtual void vertex(const sgTextVertex& v) = 0;
    virtual void end() = 0;
};
struct sgTextBatch {
    unsigned mode = 0;
    std::vector<sgTextVertex> vertices;
};
struct sgTextMesh : sgTextSink {
    std::vector<sgTextBatch> batches;
    void clear() { batches.clear(); }
    void begin(unsigned mode) override {
        batches.emplace_back();
        batches.back().mode = mode;
    }
    void vertex(const sgTextVertex& v) override { batches.back().vertices.push_back(v); }
    void end() override {}
};

class sgText3D {
public:
    explicit sgText3D(const char* fontName);
    explicit sgText3D(const std::string& fontName);
    ~sgText3D();
    sgText3D(const sgText3D&) = delete;
    sgText3D& operator=(const sgText3D&) = delete;

    void setDefaults();

    // Settings. Values that are not finite are ignored.
    void setFontSize(int size);
    void setPrecision(float precision);
    void setOffset(float x, float y, float z);
    void setRatio(float ratio);
    void setItalic(int italic);
    void setSlantAngle(float degrees);  // stored as given, clamped to +-75 when used
    void setExtrusion(float extrusion);
    void setBevel(float size, float width);
    void setHOffset(float x);
    void setVOffset(float y);
    void setGap(float gap);
    void setHJust(int h);
    void setVJust(int v);
    void setDepthJust(int d);
    void setFixedAdvance(float advance);  // > 0: fixed-pitch layout

    const std::string& getFontName() const { return fontName_; }
    int getFontSize() const { return fontSize_; }
    float getPrecision() const { return precision_; }
    float getRatio() const { return ratio_; }
    int getItalic() const { return italic_; }
    float getSlantAngle() const { return slantAngle_; }
    float getExtrusion() const { return extrusion_; }
    float getBevelSize() const { return bevelSize_; }
    float getBevelWidth() const { return bevelWidth_; }
    float getTotalDepth() const { return totalDepth_; }
    float getGap() const { return gap_; }
    int getHJust() const { return hJust_; }
    int getVJust() const { return vJust_; }
    int getDepthJust() const { return depthJust_; }
    float getFixedAdvance() const { return fixedAdvance_; }

    // Frees any previous result, then outlines, lays out and tessellates every
    // character. Returns 1, or 0 when no font could be opened (every character
    // is then empty and advances by nothing).
    int generate(const char* text);
    int generate(const std::string& text) { return generate(text.c_str()); }

    // Results of generate.
    const std::string& getString() const { return text_; }
    int getCharCount() const { return static_cast<int>(glyphs_.size()); }
    float getWidth() const { return width_; }
    float getHeight() const { return height_; }
    const sgTextGlyphOutline& getGlyph(int i) const { return glyphs_[static_cast<size_t>(i)].outline; }
    const sgTextTessGlyph& getTessGlyph(int i) const { return glyphs_[static_cast<size_t>(i)].tess; }
    // Pen position at which character i was placed.
    double getCharPosition(int i) const { return glyphs_[static_cast<size_t>(i)].pen; }
    // The file of the font last used, for diagnostics.
    const std::string& getFontFile() const { return fontFile_; }

    // Geometry of the lists, without GL.
    void buildOutline(sgTextMesh& mesh) const;
    void buildSolid(sgTextMesh& mesh) const;
    // Translation applied before the geometry of a list.
    void getPlacement(bool shadow, double xyz[3]) const;

    // Display lists (GL context current). Each returns its new list id, or 0
    // when GL gives no id. The outline and the shadow share one slot.
    unsigned makeFrontFace();
    unsigned makeShadow();
    unsigned makeOutline();
    unsigned makeSolid();
    unsigned getFrontFaceList() const { return frontList_; }
    unsigned getOutlineList() const { return outlineList_; }
    unsigned getSolidList() const { return solidList_; }

    // 16.16 fixed-point helpers.
    static FontFixed fixedFromDouble(double d);
    static double doubleFromFixed(FontFixed f) { return double(f) / 65536.0; }
    static FontPoint midpoint(const FontPoint& a, const FontPoint& b);
    static bool collinear(const sgTextPoint& p1, const sgTextPoint& p2, const sgTextPoint& p3);
    static double distance(const FontPoint& a, const FontPoint& b);  // in pixels

    // Offset of a corner by the bevel width, away from the letter's body.
    static sgTextPoint offsetCorner(const sgTextPoint& prev, const sgTextPoint& corner,
                                    const sgTextPoint& next, double width);

private:
    struct Glyph {
        sgTextGlyphOutline outline;
        sgTextTessGlyph tess;
        double pen = 0.0;
    };

    void release();
    void layout();
    enum class Geometry { FrontFace, Outline, Solid };
    void emit(Geometry what, sgTextSink& sink) const;
    void addFaceTriangles(sgTextSink& sink, bool back) const;
    void addPlainWalls(sgTextSink& sink) const;
    // fn(corners, offset corners) for every contour of three or more corners,
    // each corner offset by the bevel width.
    template <class Fn> void forEachBevelContour(Fn fn) const;
    void addBevelWalls(sgTextSink& sink) const;
    void addOutline(sgTextSink& sink) const;
    unsigned compile(Geometry what, bool shadow, bool colorMaterial) const;

    std::string fontName_;
    int fontSize_ = 36;
    float precision_ = 10.0f;
    float offset_[3] = {0.0f, 0.0f, 0.0f};
    float ratio_ = 1.0f;
    int italic_ = 0;
    float slantAngle_ = 0.0f;
    float extrusion_ = 20.0f;
    float bevelSize_ = 0.0f;
    float bevelWidth_ = 0.0f;
    float totalDepth_ = 20.0f;
    float hOffset_ = 0.0f;
    float vOffset_ = 0.0f;
    float gap_ = 0.0f;
    int hJust_ = 1;
    int vJust_ = 5;
    int depthJust_ = 8;
    float fixedAdvance_ = 0.0f;

    std::string text_;
    std::vector<Glyph> glyphs_;
    float width_ = 0.0f;
    float height_ = 0.0f;
    std::string fontFile_;

    unsigned frontList_ = 0;
    unsigned outlineList_ = 0;  // also the shadow's
    unsigned solidList_ = 0;
};
