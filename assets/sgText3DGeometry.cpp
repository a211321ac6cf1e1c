// Tessellation of the laid-out contours and the geometry of the display
// lists: faces, plain and bevelled walls, outline border and shadow.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>

#include "assets/sgText3D.h"

#ifndef CALLBACK
#define CALLBACK
#endif

namespace {

using TessVertex = sgTextTessGlyph::Vertex;

void CALLBACK tessBegin(GLenum type, void* data) {
    auto* g = static_cast<sgTextTessGlyph*>(data);
    g->type = type;
    g->count = 0;
}

// Strips and fans become separate triangles with the winding of the first.
void CALLBACK tessVertex(void* vertex, void* data) {
    auto* g = static_cast<sgTextTessGlyph*>(data);
    int index = static_cast<TessVertex*>(vertex)->index;
    if (g->count < 2) {
        g->held[g->count++] = index;
        return;
    }
    g->triangles.push_back(g->held[0]);
    g->triangles.push_back(g->held[1]);
    g->triangles.push_back(index);
    ++g->count;
    switch (g->type) {
        case GL_TRIANGLE_STRIP:
            if (g->count % 2) g->held[0] = index;
            else g->held[1] = index;
            break;
        case GL_TRIANGLE_FAN: g->held[1] = index; break;
        default: g->count = 0; break;
    }
}

void CALLBACK tessEnd(void* data) {
    auto* g = static_cast<sgTextTessGlyph*>(data);
    g->type = 0;
    g->count = 0;
}

void CALLBACK tessCombine(GLdouble coords[3], void* /*vertexData*/[4], GLfloat /*weight*/[4], void** outData,
                          void* data) {
    auto* g = static_cast<sgTextTessGlyph*>(data);
    TessVertex v;
    v.xyz[0] = coords[0];
    v.xyz[1] = coords[1];
    v.xyz[2] = 0.0;
    v.index = static_cast<int>(g->vertices.size());
    g->vertices.push_back(v);
    *outData = &g->vertices.back();
}

void CALLBACK tessError(GLenum code, void* /*data*/) {
    const GLubyte* text = gluErrorString(code);
    std::fprintf(stderr, "GLU error #%d (%s)\n", static_cast<int>(code),
                 text ? reinterpret_cast<const char*>(text) : "");
}

struct Vec2 {
    double x, y;
};

Vec2 unitNormal(const sgTextPoint& a, const sgTextPoint& b) {
    double nx = -(b.y - a.y), ny = b.x - a.x;
    double len = std::sqrt(nx * nx + ny * ny);
    if (!(len > 0.0)) return {0.0, 0.0};
    return {nx / len, ny / len};
}

// Edge normals of a closed polygon (edge k runs from point k to k + 1) and the
// normals at both ends of every edge: at a sharp corner (60 degrees or more
// between the edges) each wall keeps its own flat normal, at a smooth corner
// both walls share the mean, so a square gets four flat walls and a curve
// shades smoothly.
struct EdgeNormals {
    std::vector<Vec2> edge, start, end;

    explicit EdgeNormals(const std::vector<sgTextPoint>& p) {
        const size_t n = p.size();
        edge.resize(n);
        start.resize(n);
        end.resize(n);
        for (size_t k = 0; k < n; ++k) edge[k] = unitNormal(p[k], p[(k + 1) % n]);
        for (size_t k = 0; k < n; ++k) {
            const Vec2& a = edge[(k + n - 1) % n];
            const Vec2& b = edge[k];
            double dx = a.x - b.x, dy = a.y - b.y;
            bool sharp = dx * dx + dy * dy >= 1.0;
            Vec2 mean{a.x + b.x, a.y + b.y};
            double len = std::sqrt(mean.x * mean.x + mean.y * mean.y);
            if (len > 0.0) {
                mean.x /= len;
                mean.y /= len;
            }
            // Point k ends edge k - 1 and starts edge k.
            end[(k + n - 1) % n] = sharp ? a : mean;
            start[k] = sharp ? b : mean;
        }
    }
};

sgTextVertex vertex(const sgTextPoint& p, double z, double nx, double ny, double nz) {
    return {static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(z),
            static_cast<float>(nx), static_cast<float>(ny), static_cast<float>(nz)};
}

// Adds a quad with one normal for all four corners: the plane's (Newell's
// method, robust for slightly twisted quads), or the given one.
void addFlatQuad(sgTextSink& out, sgTextVertex q[4], const double* fixedNormal) {
    double n[3] = {0.0, 0.0, 0.0};
    if (fixedNormal) {
        n[0] = fixedNormal[0];
        n[1] = fixedNormal[1];
        n[2] = fixedNormal[2];
    } else {
        for (int i = 0; i < 4; ++i) {
            const sgTextVertex& a = q[i];
            const sgTextVertex& b = q[(i + 1) % 4];
            n[0] += (double(a.y) - b.y) * (double(a.z) + b.z);
            n[1] += (double(a.z) - b.z) * (double(a.x) + b.x);
            n[2] += (double(a.x) - b.x) * (double(a.y) + b.y);
        }
        double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (len > 0.0)
            for (double& c : n) c /= len;
    }
    for (int i = 0; i < 4; ++i) {
        q[i].nx = static_cast<float>(n[0]);
        q[i].ny = static_cast<float>(n[1]);
        q[i].nz = static_cast<float>(n[2]);
        out.vertex(q[i]);
    }
}

}  // namespace

void sgTextTessGlyph::clear() {
    vertices.clear();
    triangles.clear();
    type = 0;
    count = 0;
}

void sgTextTessGlyph::tessellate(const std::vector<sgTextContour>& contours) {
    clear();
    for (const sgTextContour& c : contours)
        for (const sgTextPoint& p : c.points) {
            TessVertex v;
            v.xyz[0] = p.x;
            v.xyz[1] = p.y;
            v.xyz[2] = 0.0;
            v.index = static_cast<int>(vertices.size());
            vertices.push_back(v);
        }
    if (contours.empty()) return;

    GLUtesselator* tess = gluNewTess();
    if (!tess) return;
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_POSITIVE);
    // Triangles come out counter-clockwise seen from +z, the face's front.
    gluTessNormal(tess, 0.0, 0.0, 1.0);
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<_GLUfuncptr>(&tessBegin));
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<_GLUfuncptr>(&tessVertex));
    gluTessCallback(tess, GLU_TESS_END_DATA, reinterpret_cast<_GLUfuncptr>(&tessEnd));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<_GLUfuncptr>(&tessCombine));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<_GLUfuncptr>(&tessError));

    // Each outer (clockwise) contour opens a polygon with the holes after it.
    // Points go in from the last to the first, so outer contours wind
    // positively and holes negatively.
    bool open = false;
    size_t base = 0;
    for (const sgTextContour& c : contours) {
        const size_t n = c.points.size();
        if (c.clockwise) {
            if (open) gluTessEndPolygon(tess);
            gluTessBeginPolygon(tess, this);
            open = true;
        } else if (!open) {
            base += n;
            continue;
        }
        gluTessBeginContour(tess);
        for (size_t k = n; k-- > 0;) {
            TessVertex& v = vertices[base + k];
            gluTessVertex(tess, v.xyz, &v);
        }
        gluTessEndContour(tess);
        base += n;
    }
    if (open) gluTessEndPolygon(tess);
    gluDeleteTess(tess);
}

sgTextPoint sgText3D::offsetCorner(const sgTextPoint& prev, const sgTextPoint& corner, const sgTextPoint& next,
                                   double width) {
    double d1x = corner.x - prev.x, d1y = corner.y - prev.y;
    double d2x = next.x - corner.x, d2y = next.y - corner.y;
    double l1 = std::sqrt(d1x * d1x + d1y * d1y);
    double l2 = std::sqrt(d2x * d2x + d2y * d2y);
    if (!(l1 > 0.0) && !(l2 > 0.0)) return corner;
    if (!(l1 > 0.0)) {
        d1x = d2x;
        d1y = d2y;
        l1 = l2;
    }
    if (!(l2 > 0.0)) {
        d2x = d1x;
        d2y = d1y;
        l2 = l1;
    }
    // Left-hand perpendiculars: away from the body for clockwise outer
    // contours and counter-clockwise holes.
    double n1x = -d1y / l1 * width, n1y = d1x / l1 * width;
    double n2x = -d2y / l2 * width, n2y = d2x / l2 * width;
    double cross = d1x * d2y - d1y * d2x;
    if (std::fabs(cross) <= 1e-9 * l1 * l2) return {corner.x + n1x, corner.y + n1y};
    // Intersection of the two moved edge lines.
    double ax = prev.x + n1x, ay = prev.y + n1y;
    double bx = corner.x + n2x, by = corner.y + n2y;
    double t = ((bx - ax) * d2y - (by - ay) * d2x) / cross;
    double ox = ax + t * d1x - corner.x;
    double oy = ay + t * d1y - corner.y;
    // Nearly reversing edges would throw the mitre far out.
    double len = std::sqrt(ox * ox + oy * oy);
    double limit = SG_TEXT_MITRE_LIMIT * std::fabs(width);
    if (len > limit && len > 0.0) {
        ox *= limit / len;
        oy *= limit / len;
    }
    return {corner.x + ox, corner.y + oy};
}

void sgText3D::addFaceTriangles(sgTextSink& sink, bool back) const {
    sink.begin(GL_TRIANGLES);
    const double z = back ? -static_cast<double>(totalDepth_) : 0.0;
    const double nz = back ? -1.0 : 1.0;
    for (const Glyph& g : glyphs_) {
        const sgTextTessGlyph& t = g.tess;
        for (size_t i = 0; i + 2 < t.triangles.size(); i += 3) {
            for (int k = 0; k < 3; ++k) {
                // The back face turns the other way.
                int idx = t.triangles[i + static_cast<size_t>(back ? 2 - k : k)];
                const TessVertex& v = t.vertices[static_cast<size_t>(idx)];
                sink.vertex(vertex({v.xyz[0], v.xyz[1]}, z, 0.0, 0.0, nz));
            }
        }
    }
    sink.end();
}

void sgText3D::addPlainWalls(sgTextSink& sink) const {
    sink.begin(GL_QUADS);
    const double d = totalDepth_;
    for (const Glyph& g : glyphs_) {
        for (const sgTextContour& c : g.outline.contours) {
            const std::vector<sgTextPoint>& p = c.points;
            const size_t n = p.size();
            if (n <= 2) continue;
            EdgeNormals en(p);
            for (size_t k = 0; k < n; ++k) {
                const sgTextPoint& a = p[k];
                const sgTextPoint& e = p[(k + 1) % n];
                const Vec2& na = en.start[k];
                const Vec2& ne = en.end[k];
                sink.vertex(vertex(a, -d, na.x, na.y, 0.0));
                sink.vertex(vertex(a, 0.0, na.x, na.y, 0.0));
                sink.vertex(vertex(e, 0.0, ne.x, ne.y, 0.0));
                sink.vertex(vertex(e, -d, ne.x, ne.y, 0.0));
            }
        }
    }
    sink.end();
}

template <class Fn> void sgText3D::forEachBevelContour(Fn fn) const {
    const double w = bevelWidth_;
    std::vector<sgTextPoint> off;
    for (const Glyph& g : glyphs_) {
        for (const sgTextContour& c : g.outline.contours) {
            const std::vector<sgTextPoint>& p = c.points;
            const size_t n = p.size();
            if (n <= 2) continue;
            off.resize(n);
            for (size_t k = 0; k < n; ++k) off[k] = offsetCorner(p[(k + n - 1) % n], p[k], p[(k + 1) % n], w);
            fn(p, off);
        }
    }
}

void sgText3D::addBevelWalls(sgTextSink& sink) const {
    sink.begin(GL_QUADS);
    const double bs = bevelSize_;
    const double ex = extrusion_;
    const double d = totalDepth_;
    // With no bevel depth the chamfers lie flat and shade like the faces.
    const double frontNormal[3] = {0.0, 0.0, 1.0};
    const double backNormal[3] = {0.0, 0.0, -1.0};
    const bool flat = bs == 0.0;
    forEachBevelContour([&](const std::vector<sgTextPoint>& p, const std::vector<sgTextPoint>& off) {
        const size_t n = p.size();
        EdgeNormals en(off);
        for (size_t k = 0; k < n; ++k) {
            const size_t k1 = (k + 1) % n;
            sgTextVertex q[4];
            q[0] = vertex(p[k], 0.0, 0, 0, 0);
            q[1] = vertex(p[k1], 0.0, 0, 0, 0);
            q[2] = vertex(off[k1], -bs, 0, 0, 0);
            q[3] = vertex(off[k], -bs, 0, 0, 0);
            addFlatQuad(sink, q, flat ? frontNormal : nullptr);
            if (ex > 0.0) {
                const Vec2& na = en.start[k];
                const Vec2& ne = en.end[k];
                sink.vertex(vertex(off[k], -(bs + ex), na.x, na.y, 0.0));
                sink.vertex(vertex(off[k], -bs, na.x, na.y, 0.0));
                sink.vertex(vertex(off[k1], -bs, ne.x, ne.y, 0.0));
                sink.vertex(vertex(off[k1], -(bs + ex), ne.x, ne.y, 0.0));
            }
            q[0] = vertex(off[k], -(bs + ex), 0, 0, 0);
            q[1] = vertex(off[k1], -(bs + ex), 0, 0, 0);
            q[2] = vertex(p[k1], -d, 0, 0, 0);
            q[3] = vertex(p[k], -d, 0, 0, 0);
            addFlatQuad(sink, q, flat ? backNormal : nullptr);
        }
    });
    sink.end();
}

void sgText3D::addOutline(sgTextSink& sink) const {
    sink.begin(GL_QUADS);
    // One band quad per edge, from the offset edge in to the contour.
    forEachBevelContour([&](const std::vector<sgTextPoint>& p, const std::vector<sgTextPoint>& off) {
        const size_t n = p.size();
        for (size_t k = 0; k < n; ++k) {
            const size_t k1 = (k + 1) % n;
            sink.vertex(vertex(off[k], 0.0, 0.0, 0.0, 1.0));
            sink.vertex(vertex(p[k], 0.0, 0.0, 0.0, 1.0));
            sink.vertex(vertex(p[k1], 0.0, 0.0, 0.0, 1.0));
            sink.vertex(vertex(off[k1], 0.0, 0.0, 0.0, 1.0));
        }
    });
    sink.end();
}

void sgText3D::emit(Geometry what, sgTextSink& sink) const {
    switch (what) {
        case Geometry::FrontFace: addFaceTriangles(sink, false); break;
        case Geometry::Outline: addOutline(sink); break;
        case Geometry::Solid:
            addFaceTriangles(sink, true);
            if (totalDepth_ > 0.0f) {
                if (bevelSize_ > 0.0f || bevelWidth_ != 0.0f) addBevelWalls(sink);
                else addPlainWalls(sink);
            }
            addFaceTriangles(sink, false);
            break;
    }
}

void sgText3D::buildOutline(sgTextMesh& mesh) const {
    mesh.clear();
    emit(Geometry::Outline, mesh);
}

void sgText3D::buildSolid(sgTextMesh& mesh) const {
    mesh.clear();
    emit(Geometry::Solid, mesh);
}

namespace {

// Streams the geometry into the display list being compiled, setting the
// normal only when it changes. Quads go to GL as two triangles each: Mesa's
// selection mode crashes on a list that holds triangles, then quads, then
// triangles again, which is what a solid is, and picking must work on text.
class GLSink : public sgTextSink {
public:
    void begin(unsigned mode) override {
        quads_ = mode == GL_QUADS;
        pending_ = 0;
        glBegin(quads_ ? GL_TRIANGLES : mode);
        last_[0] = last_[1] = last_[2] = NAN;
    }
    void vertex(const sgTextVertex& v) override {
        if (!quads_) {
            send(v);
            return;
        }
        quad_[pending_++] = v;
        if (pending_ < 4) return;
        pending_ = 0;
        for (int k : {0, 1, 2, 0, 2, 3}) send(quad_[k]);
    }
    void end() override { glEnd(); }

private:
    void send(const sgTextVertex& v) {
        if (v.nx != last_[0] || v.ny != last_[1] || v.nz != last_[2]) {
            glNormal3f(v.nx, v.ny, v.nz);
            last_[0] = v.nx;
            last_[1] = v.ny;
            last_[2] = v.nz;
        }
        glVertex3f(v.x, v.y, v.z);
    }

    float last_[3] = {NAN, NAN, NAN};
    bool quads_ = false;
    int pending_ = 0;
    sgTextVertex quad_[4];
};

// A list that was made becomes the engine's list of its kind; a failed one
// leaves the earlier list there.
unsigned keepList(unsigned id, unsigned& slot) {
    if (id) slot = id;
    return id;
}

}  // namespace

unsigned sgText3D::compile(Geometry what, bool shadow, bool colorMaterial) const {
    GLuint id = glGenLists(1);
    if (id == 0) return 0;
    double place[3];
    getPlacement(shadow, place);
    glNewList(id, GL_COMPILE);
    if (colorMaterial) glColorMaterial(GL_FRONT, GL_DIFFUSE);
    glPushMatrix();
    glTranslated(place[0], place[1], place[2]);
    GLSink sink;
    emit(what, sink);
    glPopMatrix();
    glEndList();
    return id;
}

unsigned sgText3D::makeFrontFace() { return keepList(compile(Geometry::FrontFace, false, false), frontList_); }

unsigned sgText3D::makeShadow() { return keepList(compile(Geometry::FrontFace, true, false), outlineList_); }

unsigned sgText3D::makeOutline() { return keepList(compile(Geometry::Outline, false, false), outlineList_); }

unsigned sgText3D::makeSolid() { return keepList(compile(Geometry::Solid, false, true), solidList_); }
