// Pie slice meshes: the eight builders' counts, normals, winding, closed
// solids of exact volume, clockwise mirrors and refusals.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>

#include "charts/pnPieSliceMesh.h"
#include "scene/pnVolume.h"
#include "sg/sgGeoSet.h"
#include "tests/charts/PieAreaSupport.h"
#include "tests/support/ImageCheck.h"
#include "tests/support/ToolCheck.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr float R = 120, r = 40, b = 5, D = 30;

struct Variant {
    bool side, bevel, ring;
    // Vertices, triangles, normals as a + c d; triangles per degree.
    int p0, pd, s0, sd, r0, rd;
};

// The published table of counts, kept here as the test's own oracle.
const Variant kVariants[] = {
    {true, false, false, 10, 8, 2, 6, 4, 2},     {true, false, true, 12, 12, 2, 10, 5, 3},
    {true, true, false, 16, 14, 4, 12, 6, 4},    {true, true, true, 24, 24, 6, 22, 9, 7},
    {false, false, false, 14, 4, 4, 4, 5, 1},    {false, false, true, 16, 8, 4, 8, 6, 2},
    {false, true, false, 22, 8, 8, 8, 7, 3},     {false, true, true, 32, 16, 12, 16, 10, 6},
};

pnPieSliceShape shapeOf(const Variant& v, int direction = 1) {
    pnPieSliceShape s;
    s.outerRad = R;
    s.innerRad = v.ring ? r : 0.0f;
    s.bevel = v.bevel ? b : 0.0f;
    s.showSide = v.side ? 1 : 0;
    s.rotDirection = direction;
    return s;
}

std::string variantName(const Variant& v);

// Readable parameters in the test log.
void PrintTo(const Variant& v, std::ostream* os) { *os << variantName(v); }

std::string variantName(const Variant& v) {
    return std::string(v.side ? "Side" : "NoSide") + (v.bevel ? "Bevel" : "") + (v.ring ? "Ring" : "Plain");
}

sgVec3 vertexAt(const pnPieSliceMesh& m, int i) {
    return sgVec3(m.coords[i * 3], m.coords[i * 3 + 1], m.coords[i * 3 + 2]);
}

sgVec3 normalOf(const pnPieSliceMesh& m, int vertex) {
    const int n = m.normIndex[vertex];
    return sgVec3(m.normals[n * 3], m.normals[n * 3 + 1], m.normals[n * 3 + 2]);
}

// Integral over z of the squared radius along a profile that runs from
// rho0 at 0 to rho1 at bevel, rho1 up to D - bevel and back to rho0 at D.
double profileIntegral(double rho0, double rho1, double bev, double depth) {
    const double chamfer = bev * (rho0 * rho0 + rho0 * rho1 + rho1 * rho1) / 3.0;
    return 2.0 * chamfer + rho1 * rho1 * (depth - 2.0 * bev);
}

class SliceVariant : public ::testing::TestWithParam<Variant> {};

}  // namespace

TEST_P(SliceVariant, CountsFollowTheTableAtEverySpan) {
    const Variant& v = GetParam();
    const pnPieSliceShape shape = shapeOf(v);
    for (int d : {1, 90, 360}) {
        pnPieSliceMesh m;
        ASSERT_EQ(m.build(shape, 0, d, D), 1) << d;
        EXPECT_EQ(m.getNumVertex(), v.p0 + v.pd * d) << d;
        EXPECT_EQ(m.getNumTriangles(), v.s0 + v.sd * d) << d;
        EXPECT_EQ(m.getNumNormal(), v.r0 + v.rd * d) << d;
        EXPECT_EQ(static_cast<int>(m.normIndex.size()), m.getNumVertex());
        EXPECT_EQ(pnPieSliceMesh::triangleCount(shape, d), m.getNumTriangles());
        EXPECT_EQ(pnPieSliceMesh::vertexCount(shape, d), m.getNumVertex());
        EXPECT_EQ(pnPieSliceMesh::normalCount(shape, d), m.getNumNormal());
        EXPECT_EQ(m.getDegrees(), d);
        for (int x : m.index) ASSERT_TRUE(x >= 0 && x < m.getNumVertex());
        for (int x : m.normIndex) ASSERT_TRUE(x >= 0 && x < m.getNumNormal());
    }
    EXPECT_EQ(pnPieSliceMesh::trianglesPerDegree(shape), v.sd);
}

TEST_P(SliceVariant, EveryTriangleFacesTheWayItsVertexNormalsPoint) {
    const Variant& v = GetParam();
    for (int direction : {1, 0}) {
        pnPieSliceMesh m;
        ASSERT_EQ(m.build(shapeOf(v, direction), 0, 90, D), 1);
        for (int n = 0; n < m.getNumNormal(); ++n) {
            const double len = std::hypot(m.normals[n * 3], m.normals[n * 3 + 1], m.normals[n * 3 + 2]);
            EXPECT_NEAR(len, 1.0, 1e-5) << "normal " << n;
        }
        int checked = 0;
        for (int t = 0; t < m.getNumTriangles(); ++t) {
            const int a = m.index[t * 3], c1 = m.index[t * 3 + 1], c2 = m.index[t * 3 + 2];
            const sgVec3 pa = vertexAt(m, a), pb = vertexAt(m, c1), pc = vertexAt(m, c2);
            const sgVec3 u = pb - pa, w = pc - pa;
            const sgVec3 geo(u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]);
            const double area = std::hypot(geo[0], geo[1], geo[2]);
            if (area < 1e-6) continue;  // a side face squeezed flat says nothing
            ++checked;
            for (int k : {a, c1, c2}) {
                const sgVec3 n = normalOf(m, k);
                EXPECT_GT((geo[0] * n[0] + geo[1] * n[1] + geo[2] * n[2]) / area, 0.2)
                    << "triangle " << t << " vertex " << k << " direction " << direction;
            }
        }
        EXPECT_GT(checked, m.getNumTriangles() * 9 / 10);
    }
}

TEST_P(SliceVariant, ClockwiseIsTheMirrorWithEveryTriangleReversed) {
    const Variant& v = GetParam();
    pnPieSliceMesh ccw, cw;
    ASSERT_EQ(ccw.build(shapeOf(v, 1), 0, 90, D), 1);
    ASSERT_EQ(cw.build(shapeOf(v, -1), 0, 90, D), 1);
    ASSERT_EQ(cw.getNumVertex(), ccw.getNumVertex());
    ASSERT_EQ(cw.getNumNormal(), ccw.getNumNormal());
    ASSERT_EQ(cw.getNumTriangles(), ccw.getNumTriangles());
    for (int i = 0; i < ccw.getNumVertex(); ++i) {
        EXPECT_NEAR(cw.coords[i * 3], -ccw.coords[i * 3], 1e-3) << i;
        EXPECT_NEAR(cw.coords[i * 3 + 1], ccw.coords[i * 3 + 1], 1e-3) << i;
        EXPECT_EQ(cw.coords[i * 3 + 2], ccw.coords[i * 3 + 2]) << i;
    }
    for (int n = 0; n < ccw.getNumNormal(); ++n) {
        EXPECT_NEAR(cw.normals[n * 3], -ccw.normals[n * 3], 1e-6) << n;
        EXPECT_NEAR(cw.normals[n * 3 + 1], ccw.normals[n * 3 + 1], 1e-6) << n;
        EXPECT_NEAR(cw.normals[n * 3 + 2], ccw.normals[n * 3 + 2], 1e-6) << n;
    }
    EXPECT_EQ(cw.normIndex, ccw.normIndex);
    for (int t = 0; t < ccw.getNumTriangles(); ++t) {
        EXPECT_EQ(cw.index[t * 3], ccw.index[t * 3 + 2]);
        EXPECT_EQ(cw.index[t * 3 + 1], ccw.index[t * 3 + 1]);
        EXPECT_EQ(cw.index[t * 3 + 2], ccw.index[t * 3]);
    }
}

INSTANTIATE_TEST_SUITE_P(Builders, SliceVariant, ::testing::ValuesIn(kVariants),
                         [](const ::testing::TestParamInfo<Variant>& row) { return variantName(row.param); });

// Without side faces a slice is one closed solid whose volume is
// 1/2 d sin(1 degree) times the integral of the squared radius over z.
TEST(PieSliceMesh, SlicesWithoutSideFacesAreClosedWithTheExactVolume) {
    for (const Variant& v : kVariants) {
        if (v.side) continue;
        for (int direction : {1, 0}) {
            for (int d : {1, 90, 359, 360}) {
                pnPieSliceMesh m;
                ASSERT_EQ(m.build(shapeOf(v, direction), 0, d, D), 1);
                const Soup soup = soupOf(m.coords, m.index);
                const double bev = v.bevel ? b : 0.0;
                double integral = profileIntegral(R - bev, R, bev, D);
                if (v.ring) integral -= profileIntegral(r + bev, r, bev, D);
                const double expected = 0.5 * d * std::sin(kPi / 180.0) * integral;
                EXPECT_NEAR(soup.volume() / expected, 1.0, 1e-5) << variantName(v) << " d " << d;
                // A full circle lays its start and end face on each other.
                if (d < 360) {
                    EXPECT_EQ(soup.openEdges(), 0) << variantName(v) << " d " << d;
                }
            }
        }
    }
}

// The side faces of the first and last step close the slice on its profile;
// those between are moved inside, so they never show through a wall or cap.
TEST(PieSliceMesh, SideFacesBetweenTheEndsArePulledIntoTheSolid) {
    for (const Variant& v : kVariants) {
        if (!v.side) continue;
        const pnPieSliceShape shape = shapeOf(v);
        // One degree: both steps are end steps, every point lies on the profile.
        pnPieSliceMesh one;
        ASSERT_EQ(one.build(shape, 0, 1, D), 1);
        const float radii[] = {0, R, R - (v.bevel ? b : 0), r, r + (v.bevel ? b : 0)};
        for (int i = 0; i < one.getNumVertex(); ++i) {
            const sgVec3 p = vertexAt(one, i);
            const float rho = std::hypot(p[0], p[1]);
            bool onProfile = false;
            for (float x : radii) onProfile = onProfile || std::fabs(rho - x) < 1e-3f;
            EXPECT_TRUE(onProfile) << variantName(v) << " vertex " << i << " radius " << rho;
        }
        // Ninety degrees: the side faces between the ends sit inside.
        pnPieSliceMesh ninety;
        ASSERT_EQ(ninety.build(shape, 0, 90, D), 1);
        bool pulled = false;
        for (int i = 0; i < ninety.getNumVertex(); ++i) {
            const sgVec3 p = vertexAt(ninety, i);
            pulled = pulled || std::fabs(std::hypot(p[0], p[1]) - 0.999f * R) < 1e-3f;
        }
        EXPECT_TRUE(pulled) << variantName(v);
    }
}

TEST(PieSliceMesh, StartsOnTheYAxisAndSweepsAwayFromIt) {
    pnPieSliceMesh m;
    pnPieSliceShape s;
    s.showSide = 0;
    ASSERT_EQ(m.build(s, 0, 90, D), 1);
    // The first wall vertex (after the four start-face vertices) is on +y,
    // the last wall vertex on -x.
    EXPECT_NEAR(m.coords[4 * 3], 0.0f, 1e-4);
    EXPECT_NEAR(m.coords[4 * 3 + 1], R, 1e-4);
    const int last = 4 + 4 * 90;
    EXPECT_NEAR(m.coords[last * 3], -R, 1e-3);
    EXPECT_NEAR(m.coords[last * 3 + 1], 0.0f, 1e-3);
    s.rotDirection = 2;  // any value but 1 turns clockwise
    ASSERT_EQ(m.build(s, 0, 90, D), 1);
    EXPECT_NEAR(m.coords[last * 3], R, 1e-3);
}

TEST(PieSliceMesh, RefusesSpansOutsideAWholeCircleAndBevelsThatDoNotFit) {
    pnPieSliceShape s;
    pnPieSliceMesh m;
    EXPECT_EQ(m.build(s, 0, 0, D), 0);
    EXPECT_EQ(m.build(s, 0, 361, D), 0);
    EXPECT_EQ(m.getNumVertex(), 0);
    EXPECT_EQ(m.build(s, 10, 0, D), 1);  // the span counts, not the order
    EXPECT_EQ(m.getDegrees(), 10);

    s.bevel = 20;
    s.outerRad = 15;
    {
        DiagnosticLog log;
        EXPECT_EQ(m.build(s, 0, 90, D), 0);
        EXPECT_NE(log.text().find("too large bevel value: "), std::string::npos);
    }
    s.outerRad = 120;
    {
        DiagnosticLog log;
        EXPECT_EQ(m.build(s, 0, 90, 30), 0);
        EXPECT_NE(log.text().find("too large bevel value: "), std::string::npos);
    }
    EXPECT_EQ(m.build(s, 0, 90, 40), 1);
    s.outerRad = NAN;
    EXPECT_EQ(m.build(s, 0, 90, 40), 0);
}

TEST(PieSliceMesh, TheVolumeTakesItsOwnCopyWithOneNormalPerVertex) {
    pnPieSliceShape s;
    pnPieSliceMesh m;
    ASSERT_EQ(m.build(s, 0, 90, D), 1);
    pnVolume v;
    m.giveTo(&v);
    m.clear();
    EXPECT_EQ(v.getNumVertex(), 730);
    EXPECT_EQ(v.getNumPrims(), 542);
    EXPECT_EQ(v.getNumNormal(), 184);
    EXPECT_EQ(v.getNumIndex(), 542 * 3);
    EXPECT_EQ(v.getNormalBind(), 1);
    ASSERT_EQ(v.getNormIndex().size(), v.getIndex().size());
    for (int i = 0; i < v.getNumVertex(); ++i) EXPECT_LT(v.getNormIndex()[i], v.getNumNormal());
}

// A copied slice (an undo step's, the clipboard's) draws the triangles the
// slice draws, the side faces inside it left out, grown fully or in part.
TEST(PieSliceMesh, ACopiedSliceDrawsWhatTheSliceDraws) {
    pnPieSliceShape s;
    s.bevel = b;
    pnPieSliceMesh m;
    ASSERT_EQ(m.build(s, 0, 90, D), 1);
    pnVolume slice, copied;
    m.giveTo(&slice);
    ASSERT_EQ(copied.copy(&slice), 1);
    auto drawn = [](pnVolume& v) {
        const sgAttrRecord* vertices = v.getGeoSet()->findAttr(GL_VERTEX_ARRAY);
        std::vector<int> index = vertices ? vertices->index : std::vector<int>();
        index.resize(std::min(index.size(), static_cast<size_t>(3 * std::max(v.getGeoSet()->getNumPrims(), 0))));
        return index;
    };
    for (pnVolume* v : {&slice, &copied}) {
        v->getNode();
        v->setBuilt(1);
    }
    const int perDegree = pnPieSliceMesh::trianglesPerDegree(s);
    // 90 degrees of wall and caps, and two side faces of 4 triangles each.
    EXPECT_EQ(static_cast<int>(drawn(slice).size()), 3 * ((perDegree - 4) * 90 + 2 * 4));
    EXPECT_EQ(drawn(copied), drawn(slice));
    for (pnVolume* v : {&slice, &copied}) v->setNumPrims(30 * perDegree + 4);
    EXPECT_EQ(static_cast<int>(drawn(slice).size()), 3 * ((perDegree - 4) * 30 + 2 * 4));
    EXPECT_EQ(drawn(copied), drawn(slice));
}

// An independent check of the closed slices: admesh finds one part, no open
// edges and nothing to turn round.
TEST(PieSliceMesh, ClosedSlicesPassAdmesh) {
    REQUIRE_TOOL("admesh");
    for (const Variant& v : kVariants) {
        pnPieSliceMesh m;
        ASSERT_EQ(m.build(shapeOf(v), 0, 90, D), 1);
        const Soup soup = soupOf(m.coords, m.index);
        const std::string path = testOutputDir() + "/slice-" + variantName(v) + ".stl";
        ASSERT_TRUE(soup.writeSTL(path));
        const std::string report = admeshReport(path);
        ASSERT_NE(report.find("Number of facets"), std::string::npos) << report;
        EXPECT_EQ(admeshValue(report, "Backwards edges"), 0) << variantName(v) << "\n" << report;
        // The side faces inside split a slice with side faces into pieces
        // admesh cannot orient as one solid.
        if (v.side) continue;
        EXPECT_EQ(admeshValue(report, "Facets reversed"), 0) << variantName(v) << "\n" << report;
        EXPECT_EQ(admeshValue(report, "Number of parts"), 1) << variantName(v) << "\n" << report;
        EXPECT_EQ(admeshValue(report, "Total disconnected facets"), 0) << variantName(v) << "\n" << report;
        EXPECT_NEAR(admeshValue(report, "Volume") / soup.volume(), 1.0, 1e-3) << report;
    }
}
