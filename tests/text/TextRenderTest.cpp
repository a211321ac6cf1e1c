// The compiled lists drawn on OSMesa: list ownership, placement of face and
// shadow, and an oblique lit render of a bevelled word probed against
// colours computed on the CPU.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "assets/sgText3D.h"
#include "sg/sgVec.h"
#include "tests/support/ImageCheck.h"
#include "tests/support/OffscreenGL.h"
#include "tests/text/TextFonts.h"

namespace {

class TextRender : public GLTest {};

RGBA rgb(double r, double g, double b) {
    auto c = [](double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); };
    return {c(r), c(g), c(b), 255};
}

double segmentDistance(double px, double py, const sgTextPoint& a, const sgTextPoint& b) {
    double dx = b.x - a.x, dy = b.y - a.y;
    double l2 = dx * dx + dy * dy;
    double t = l2 > 0 ? std::clamp(((px - a.x) * dx + (py - a.y) * dy) / l2, 0.0, 1.0) : 0.0;
    return std::hypot(px - (a.x + t * dx), py - (a.y + t * dy));
}

// Inside the glyph's filled area (even-odd over its contours, which do not
// overlap) and at least `margin` from every edge.
bool insideGlyph(const sgTextGlyphOutline& g, double x, double y, double margin) {
    int crossings = 0;
    for (const sgTextContour& c : g.contours) {
        if (c.containsPoint(x, y)) ++crossings;
        const size_t n = c.points.size();
        for (size_t k = 0; k < n; ++k)
            if (segmentDistance(x, y, c.points[k], c.points[(k + 1) % n]) < margin) return false;
    }
    return crossings % 2 == 1;
}

}  // namespace

TEST_F(TextRender, ListsBelongToTheCaller) {
    unsigned front = 0, outline = 0, shadow = 0, solid = 0;
    {
        sgText3D t("arial");
        t.setBevel(0.0f, 2.0f);
        ASSERT_EQ(t.generate("Ab"), 1);
        front = t.makeFrontFace();
        outline = t.makeOutline();
        EXPECT_EQ(t.getOutlineList(), outline);
        shadow = t.makeShadow();
        EXPECT_EQ(t.getOutlineList(), shadow);  // one slot for both
        solid = t.makeSolid();
        EXPECT_EQ(t.getSolidList(), solid);
        EXPECT_EQ(t.getFrontFaceList(), front);

        // No list id to be had (inside glBegin): nothing compiled, slot kept.
        glBegin(GL_TRIANGLES);
        EXPECT_EQ(t.makeSolid(), 0u);
        glEnd();
        glGetError();
        EXPECT_EQ(t.getSolidList(), solid);
    }
    for (unsigned id : {front, outline, shadow, solid}) {
        EXPECT_NE(id, 0u);
        EXPECT_TRUE(glIsList(id)) << "list " << id << " was deleted by the engine";
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glDeleteLists(front, 1);
    glDeleteLists(outline, 1);
    glDeleteLists(shadow, 1);
    glDeleteLists(solid, 1);
}

TEST_F(TextRender, FaceAndShadowLandWherePlaced) {
    sgText3D t("arial");
    t.setFontSize(256);  // four units per pixel of the 48-pixel outline
    t.setHJust(0);
    t.setVJust(0);
    t.setOffset(40.0f, 30.0f, 0.0f);
    t.setHOffset(240.0f);
    t.setVOffset(60.0f);
    ASSERT_EQ(t.generate("I"), 1);
    const sgTextContour& c = t.getGlyph(0).contours[0];
    unsigned face = t.makeFrontFace();
    unsigned shadow = t.makeShadow();
    ASSERT_NE(face, 0u);
    ASSERT_NE(shadow, 0u);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width_, 0, height_, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_CULL_FACE);
    glColor3f(1, 0, 0);
    glCallList(face);
    glColor3f(0, 0, 1);
    glCallList(shadow);
    Frame f = readFrame(width_, height_);
    writeFramePNG(f, testOutputDir() + "/text_face_shadow.png");

    const RGBA red{255, 0, 0, 255}, blue{0, 0, 255, 255}, black{0, 0, 0, 255};
    for (double fx : {0.2, 0.5, 0.8}) {
        for (double fy : {0.05, 0.5, 0.95}) {
            int x = static_cast<int>(c.minX + fx * (c.maxX - c.minX));
            int y = static_cast<int>(c.minY + fy * (c.maxY - c.minY));
            EXPECT_TRUE(near(f.at(40 + x, 30 + y), red)) << describe(f.at(40 + x, 30 + y));
            EXPECT_TRUE(near(f.at(240 + x, 60 + y), blue)) << describe(f.at(240 + x, 60 + y));
        }
    }
    EXPECT_TRUE(near(f.at(40 + static_cast<int>(c.minX) - 3, 100), black));
    EXPECT_TRUE(near(f.at(40 + static_cast<int>(c.maxX) + 3, 100), black));
    EXPECT_TRUE(near(f.at(40 + static_cast<int>(c.minX) + 5, 30 + static_cast<int>(c.maxY) + 3), black));
    glDeleteLists(face, 1);
    glDeleteLists(shadow, 1);
}

// An extruded, bevelled word seen obliquely with back faces culled: every face
// point shows the lit face colour (no holes, no faces culled), the walls and
// the chamfer show their own lit colours, and the hole of the O is open.
TEST_F(TextRender, ObliqueBevelledWordIsLitAndWhole) {
    const double theta = 35.0;
    const double bs = 6.0, bw = 4.0, ex = 20.0;
    sgText3D t("arial");
    t.setFontSize(200);
    t.setExtrusion(static_cast<float>(ex));
    t.setBevel(static_cast<float>(bs), static_cast<float>(bw));
    ASSERT_EQ(t.generate("HOB"), 1);
    unsigned list = t.makeSolid();
    ASSERT_NE(list, 0u);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-200, 200, -150, 150, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLfloat zero[4] = {0, 0, 0, 1}, white[4] = {1, 1, 1, 1};
    const double lx = -0.5, ly = 0.3, lz = 1.0, ll = std::sqrt(lx * lx + ly * ly + lz * lz);
    const GLfloat lightDir[4] = {static_cast<GLfloat>(lx), static_cast<GLfloat>(ly), static_cast<GLfloat>(lz), 0};
    glLightfv(GL_LIGHT0, GL_POSITION, lightDir);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_AMBIENT, zero);
    glLightfv(GL_LIGHT0, GL_SPECULAR, zero);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, zero);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glClearColor(0, 0, 0.25f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glRotated(theta, 0, 1, 0);
    const double col[3] = {0.9, 0.7, 0.3};
    glColor3d(col[0], col[1], col[2]);
    glCallList(list);
    Frame f = readFrame(width_, height_);
    writeFramePNG(f, testOutputDir() + "/text_oblique_bevel.png");

    GLdouble mv[16], pr[16];
    GLint vp[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, mv);
    glGetDoublev(GL_PROJECTION_MATRIX, pr);
    glGetIntegerv(GL_VIEWPORT, vp);
    double place[3];
    t.getPlacement(false, place);
    auto pixel = [&](double x, double y, double z) {
        double wx, wy, wz;
        gluProject(x + place[0], y + place[1], z + place[2], mv, pr, vp, &wx, &wy, &wz);
        return f.at(static_cast<int>(std::floor(wx)), static_cast<int>(std::floor(wy)));
    };
    // Lit colour of an object-space normal under the y rotation.
    const double s = std::sin(theta * SG_PI / 180.0), co = std::cos(theta * SG_PI / 180.0);
    auto lit = [&](double nx, double ny, double nz) {
        double l = std::sqrt(nx * nx + ny * ny + nz * nz);
        nx /= l, ny /= l, nz /= l;
        double ex_ = nx * co + nz * s, ez = -nx * s + nz * co;
        double d = std::max(0.0, (ex_ * lx + ny * ly + ez * lz) / ll);
        return rgb(col[0] * d, col[1] * d, col[2] * d);
    };

    const RGBA face = lit(0, 0, 1);
    int probes = 0, wrong = 0;
    for (int g = 0; g < t.getCharCount(); ++g) {
        const sgTextGlyphOutline& o = t.getGlyph(g);
        const sgTextContour& outer = o.contours[0];
        for (double y = outer.minY; y <= outer.maxY; y += 3.0) {
            for (double x = outer.minX; x <= outer.maxX; x += 3.0) {
                if (!insideGlyph(o, x, y, 2.5)) continue;
                ++probes;
                RGBA p = pixel(x, y, 0.0);
                if (!near(p, face, 3)) {
                    if (++wrong <= 5) ADD_FAILURE() << "face at " << x << "," << y << " shows " << describe(p);
                }
            }
        }
    }
    EXPECT_GT(probes, 400);
    EXPECT_EQ(wrong, 0);

    // The left stem of the H: its front chamfer and its straight wall.
    const sgTextContour& h = t.getGlyph(0).contours[0];
    const double ym = (h.minY + h.maxY) / 2;
    RGBA chamfer = pixel(h.minX - bw / 2, ym, -bs / 2);
    EXPECT_TRUE(near(chamfer, lit(-bs, 0, bw), 3)) << describe(chamfer) << " want " << describe(lit(-bs, 0, bw));
    RGBA wall = pixel(h.minX - bw, ym, -(bs + ex / 2));
    EXPECT_TRUE(near(wall, lit(-1, 0, 0), 3)) << describe(wall) << " want " << describe(lit(-1, 0, 0));
    EXPECT_FALSE(near(wall, face, 10));

    // Straight through the hole of the O to the background.
    const sgTextContour& hole = t.getGlyph(1).contours[1];
    RGBA through = pixel((hole.minX + hole.maxX) / 2, (hole.minY + hole.maxY) / 2, 0.0);
    EXPECT_TRUE(near(through, rgb(0, 0, 0.25))) << describe(through);
    glDeleteLists(list, 1);
}
