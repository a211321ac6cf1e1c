// Geometry of the text lists before compilation: faces, plain walls with the
// 60-degree normal rule, bevels, mitred offsets, the outline band, placement.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "assets/sgText3D.h"
#include "tests/text/TextFonts.h"

namespace {

const sgTextBatch* findBatch(const sgTextMesh& m, unsigned mode, int nth = 0) {
    for (const sgTextBatch& b : m.batches)
        if (b.mode == mode && nth-- == 0) return &b;
    return nullptr;
}

double quadArea(const sgTextVertex* q) {
    double s = 0.0;
    for (int i = 0; i < 4; ++i) s += double(q[i].x) * q[(i + 1) % 4].y - double(q[(i + 1) % 4].x) * q[i].y;
    return s / 2.0;
}

bool sameNormal(const sgTextVertex& a, const sgTextVertex& b, double tol = 1e-5) {
    return std::fabs(a.nx - b.nx) < tol && std::fabs(a.ny - b.ny) < tol && std::fabs(a.nz - b.nz) < tol;
}

// Unit left-hand normal of the edge a -> b (away from the body).
void edgeNormal(const sgTextPoint& a, const sgTextPoint& b, double& nx, double& ny) {
    nx = -(b.y - a.y);
    ny = b.x - a.x;
    double l = std::hypot(nx, ny);
    nx /= l;
    ny /= l;
}

}  // namespace

TEST(TextGeometry, SquareContourGetsFourFlatWalls) {
    sgText3D t("arial");
    t.generate("I");
    const sgTextContour& c = t.getGlyph(0).contours[0];
    ASSERT_EQ(c.getPointCount(), 4);
    const double cx = (c.minX + c.maxX) / 2, cy = (c.minY + c.maxY) / 2;

    sgTextMesh m;
    t.buildSolid(m);
    const sgTextBatch* walls = findBatch(m, GL_QUADS);
    ASSERT_NE(walls, nullptr);
    ASSERT_EQ(walls->vertices.size(), 16u);
    for (size_t q = 0; q < 4; ++q) {
        const sgTextVertex* v = &walls->vertices[q * 4];
        for (int k = 1; k < 4; ++k) EXPECT_TRUE(sameNormal(v[0], v[k])) << "wall " << q << " is twisted";
        // Perpendicular to its edge, horizontal, facing out.
        double ex = v[2].x - v[1].x, ey = v[2].y - v[1].y;
        EXPECT_NEAR(v[0].nx * ex + v[0].ny * ey, 0.0, 1e-4);
        EXPECT_FLOAT_EQ(v[0].nz, 0.0f);
        EXPECT_NEAR(std::hypot(v[0].nx, v[0].ny), 1.0, 1e-5);
        EXPECT_GT(v[0].nx * ((v[1].x + v[2].x) / 2 - cx) + v[0].ny * ((v[1].y + v[2].y) / 2 - cy), 0.0);
        EXPECT_FLOAT_EQ(v[0].z, -20.0f);
        EXPECT_FLOAT_EQ(v[1].z, 0.0f);
        EXPECT_FLOAT_EQ(v[2].z, 0.0f);
        EXPECT_FLOAT_EQ(v[3].z, -20.0f);
    }
}

TEST(TextGeometry, CurvesShareNormalsSharpCornersDoNot) {
    sgText3D t("arial");
    t.setPrecision(1.0f);
    t.generate("DO");
    sgTextMesh m;
    t.buildSolid(m);
    const sgTextBatch* walls = findBatch(m, GL_QUADS);
    ASSERT_NE(walls, nullptr);
    size_t q = 0;
    int sharp = 0, smooth = 0;
    for (int g = 0; g < 2; ++g) {
        for (const sgTextContour& c : t.getGlyph(g).contours) {
            const size_t n = c.points.size();
            for (size_t k = 0; k < n; ++k) {
                // Corner at point k + 1 between quad k and quad k + 1.
                const sgTextVertex* a = &walls->vertices[(q + k) * 4];
                const sgTextVertex* b = &walls->vertices[(q + (k + 1) % n) * 4];
                double n1x, n1y, n2x, n2y;
                edgeNormal(c.points[k], c.points[(k + 1) % n], n1x, n1y);
                edgeNormal(c.points[(k + 1) % n], c.points[(k + 2) % n], n2x, n2y);
                if (std::hypot(n1x - n2x, n1y - n2y) >= 1.0) {
                    ++sharp;
                    EXPECT_NEAR(a[2].nx, n1x, 1e-5);
                    EXPECT_NEAR(a[2].ny, n1y, 1e-5);
                    EXPECT_NEAR(b[1].nx, n2x, 1e-5);
                    EXPECT_NEAR(b[1].ny, n2y, 1e-5);
                } else {
                    ++smooth;
                    EXPECT_TRUE(sameNormal(a[2], b[1]));
                    EXPECT_TRUE(sameNormal(a[3], b[0]));
                    double mx = n1x + n2x, my = n1y + n2y, l = std::hypot(mx, my);
                    EXPECT_NEAR(a[2].nx, mx / l, 1e-5);
                    EXPECT_NEAR(a[2].ny, my / l, 1e-5);
                }
            }
            q += n;
        }
    }
    EXPECT_EQ(q * 4, walls->vertices.size());
    EXPECT_GE(sharp, 4);   // the stem of the D
    EXPECT_GT(smooth, 20);  // its bowl and the O
}

TEST(TextGeometry, FacesWithoutDepthAndTheirWinding) {
    sgText3D t("arial");
    t.setExtrusion(0.0f);
    t.generate("B8");
    sgTextMesh m;
    t.buildSolid(m);
    EXPECT_EQ(findBatch(m, GL_QUADS), nullptr);
    const sgTextBatch* back = findBatch(m, GL_TRIANGLES, 0);
    const sgTextBatch* front = findBatch(m, GL_TRIANGLES, 1);
    ASSERT_TRUE(back && front);
    ASSERT_EQ(back->vertices.size(), front->vertices.size());
    ASSERT_GT(front->vertices.size(), 0u);
    for (size_t i = 0; i < front->vertices.size(); i += 3) {
        const sgTextVertex* f = &front->vertices[i];
        const sgTextVertex* b = &back->vertices[i];
        double area = (f[1].x - f[0].x) * (f[2].y - f[0].y) - (f[2].x - f[0].x) * (f[1].y - f[0].y);
        EXPECT_GE(area, -1e-6) << "front triangle " << i / 3 << " faces away";
        for (int k = 0; k < 3; ++k) {
            EXPECT_FLOAT_EQ(f[k].z, 0.0f);
            EXPECT_FLOAT_EQ(b[k].z, 0.0f);
            EXPECT_FLOAT_EQ(f[k].nz, 1.0f);
            EXPECT_FLOAT_EQ(b[k].nz, -1.0f);
            EXPECT_FLOAT_EQ(b[k].x, f[2 - k].x);  // reverse order
            EXPECT_FLOAT_EQ(b[k].y, f[2 - k].y);
        }
    }
    t.setExtrusion(7.0f);
    t.buildSolid(m);
    EXPECT_FLOAT_EQ(findBatch(m, GL_TRIANGLES, 0)->vertices[0].z, -7.0f);
}

TEST(TextGeometry, PlacementFollowsJustification) {
    sgText3D t("arial");
    t.setOffset(10.0f, 20.0f, 30.0f);
    t.setBevel(2.0f, 0.0f);  // total depth 24
    t.generate("Hello");
    const double w = t.getWidth(), h = t.getHeight(), d = t.getTotalDepth();
    ASSERT_GT(w, 0.0);
    ASSERT_GT(h, 0.0);
    double p[3];
    t.getPlacement(false, p);  // defaults 1, 5, 8: centred in x and y, face at the offset
    EXPECT_DOUBLE_EQ(p[0], 10.0 - w / 2);
    EXPECT_DOUBLE_EQ(p[1], 20.0 - h / 2);
    EXPECT_DOUBLE_EQ(p[2], 30.0);
    t.setHJust(2);
    t.setVJust(4);
    t.setDepthJust(10);
    t.getPlacement(false, p);
    EXPECT_DOUBLE_EQ(p[0], 10.0 - w);
    EXPECT_DOUBLE_EQ(p[1], 20.0 - h);
    EXPECT_DOUBLE_EQ(p[2], 30.0 + d);
    t.setHJust(0);
    t.setVJust(3);
    t.setDepthJust(9);
    t.setHOffset(3.0f);
    t.setVOffset(-4.0f);
    t.getPlacement(false, p);
    EXPECT_DOUBLE_EQ(p[0], 10.0);
    EXPECT_DOUBLE_EQ(p[1], 20.0);
    EXPECT_DOUBLE_EQ(p[2], 30.0 + d / 2);
    t.getPlacement(true, p);  // the shadow: its own offsets, one unit back
    EXPECT_DOUBLE_EQ(p[0], 3.0);
    EXPECT_DOUBLE_EQ(p[1], -4.0);
    EXPECT_DOUBLE_EQ(p[2], 30.0 + d / 2 - 1.0);
}

TEST(TextGeometry, CornerOffsets) {
    const double w = 2.0;
    // Clockwise square corner (up, then right): out to the upper left.
    sgTextPoint o = sgText3D::offsetCorner({0, 0}, {0, 10}, {10, 10}, w);
    EXPECT_NEAR(o.x, -2.0, 1e-9);
    EXPECT_NEAR(o.y, 12.0, 1e-9);
    // Straight run: moved by the perpendicular.
    o = sgText3D::offsetCorner({0, 0}, {0, 5}, {0, 10}, w);
    EXPECT_NEAR(o.x, -2.0, 1e-9);
    EXPECT_NEAR(o.y, 5.0, 1e-9);
    // A negative width moves inwards.
    o = sgText3D::offsetCorner({0, 0}, {0, 10}, {10, 10}, -w);
    EXPECT_NEAR(o.x, 2.0, 1e-9);
    EXPECT_NEAR(o.y, 8.0, 1e-9);
    // A hairpin: the mitre would reach hundreds of units; it is held to four
    // bevel widths.
    o = sgText3D::offsetCorner({0, 0}, {0, 10}, {0.01, 0}, w);
    EXPECT_LE(std::hypot(o.x, o.y - 10), 4 * w + 1e-9);
    EXPECT_GT(std::hypot(o.x, o.y - 10), w);
    // Exactly reversing edges count as parallel.
    o = sgText3D::offsetCorner({0, 0}, {0, 10}, {0, 0}, w);
    EXPECT_NEAR(o.x, -2.0, 1e-9);
    EXPECT_NEAR(o.y, 10.0, 1e-9);
}

TEST(TextGeometry, BevelledWalls) {
    sgText3D t("arial");
    t.setExtrusion(10.0f);
    t.setBevel(2.0f, 1.0f);  // total depth 14
    t.generate("I");
    const sgTextContour& c = t.getGlyph(0).contours[0];
    ASSERT_EQ(c.getPointCount(), 4);
    sgTextMesh m;
    t.buildSolid(m);
    const sgTextBatch* walls = findBatch(m, GL_QUADS);
    ASSERT_NE(walls, nullptr);
    ASSERT_EQ(walls->vertices.size(), 4u * 3 * 4);  // 4 edges x (chamfer, wall, chamfer)
    const double k = 1.0 / std::sqrt(5.0);          // chamfer slope: 1 out for 2 back
    for (size_t e = 0; e < 4; ++e) {
        const sgTextVertex* front = &walls->vertices[e * 12];
        const sgTextVertex* wall = front + 4;
        const sgTextVertex* back = front + 8;
        // The chamfer runs from the face edge to the box grown by 1 at z = -2.
        EXPECT_FLOAT_EQ(front[0].z, 0.0f);
        EXPECT_FLOAT_EQ(front[2].z, -2.0f);
        EXPECT_NEAR(std::fabs(front[2].x - (front[2].x < c.minX ? c.minX : c.maxX)), 1.0, 1e-4);
        EXPECT_NEAR(std::fabs(front[2].y - (front[2].y < c.minY ? c.minY : c.maxY)), 1.0, 1e-4);
        EXPECT_NEAR(front[0].nz, k, 1e-5);
        EXPECT_NEAR(std::hypot(front[0].nx, front[0].ny), 2 * k, 1e-5);
        EXPECT_NEAR(back[0].nz, -k, 1e-5);
        EXPECT_FLOAT_EQ(back[0].z, -12.0f);
        EXPECT_FLOAT_EQ(back[2].z, -14.0f);
        // The straight wall: flat, along the grown box.
        EXPECT_FLOAT_EQ(wall[0].z, -12.0f);
        EXPECT_FLOAT_EQ(wall[1].z, -2.0f);
        for (int i = 1; i < 4; ++i) EXPECT_TRUE(sameNormal(wall[0], wall[i]));
        EXPECT_NEAR(wall[0].nx * front[0].nx + wall[0].ny * front[0].ny, 2 * k, 1e-5);
    }

    // Width only: the chamfers lie flat and face front and back.
    t.setBevel(0.0f, 1.0f);
    t.generate("I");
    t.buildSolid(m);
    walls = findBatch(m, GL_QUADS);
    ASSERT_NE(walls, nullptr);
    EXPECT_FLOAT_EQ(walls->vertices[0].nz, 1.0f);
    EXPECT_FLOAT_EQ(walls->vertices[8].nz, -1.0f);
    EXPECT_GT(quadArea(&walls->vertices[0]), 0.0);
}

TEST(TextGeometry, OutlineBandAroundTheGlyph) {
    sgText3D t("arial");
    t.setBevel(0.0f, 2.0f);
    t.generate("I");
    const sgTextContour& c = t.getGlyph(0).contours[0];
    const double w = c.maxX - c.minX, h = c.maxY - c.minY;
    sgTextMesh m;
    t.buildOutline(m);
    ASSERT_EQ(m.batches.size(), 1u);
    const std::vector<sgTextVertex>& v = m.batches[0].vertices;
    ASSERT_EQ(v.size(), 16u);
    double sum = 0.0;
    for (size_t q = 0; q < v.size(); q += 4) {
        double a = quadArea(&v[q]);
        EXPECT_GT(a, 0.0) << "band quad " << q / 4 << " faces away";
        sum += a;
        EXPECT_FLOAT_EQ(v[q].nz, 1.0f);
    }
    EXPECT_NEAR(sum, (w + 4) * (h + 4) - w * h, 1e-3);
}
