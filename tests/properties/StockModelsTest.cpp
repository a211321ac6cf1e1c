// The stock models as the generator makes them: the chooser's 52 names in
// its order, each a closed surface (every edge shared by exactly two
// triangles, once each way) facing outwards and fitted into 200 units about
// the origin; and the chart shapes, closed and facing outwards as well.
#include "tools/ChartShapes.h"
#include "tools/ModelShapes.h"
#include "ui/properties/rules/ObjectRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace {

using Point = std::tuple<long, long, long>;

// Vertices that share a position are one point (the shapes repeat vertices
// for their normals).
Point pointOf(const modelgen::Mesh& m, uint32_t v) {
    auto q = [&](int k) { return std::lround(m.positions[3 * v + k] * 1000.0); };
    return {q(0), q(1), q(2)};
}

// Directed edges that lack their reverse, or occur more than once.
int openEdges(const modelgen::Mesh& m) {
    std::map<std::pair<Point, Point>, int> edges;
    for (size_t t = 0; t + 2 < m.triangles.size(); t += 3)
        for (int k = 0; k < 3; ++k) {
            const Point a = pointOf(m, m.triangles[t + k]), b = pointOf(m, m.triangles[t + (k + 1) % 3]);
            if (a != b) ++edges[{a, b}];
        }
    int open = 0;
    for (const auto& [edge, count] : edges) {
        const auto back = edges.find({edge.second, edge.first});
        if (count != 1 || back == edges.end() || back->second != 1) ++open;
    }
    return open;
}

// The volume the triangles enclose as they wind: above 0 when their fronts
// face outwards.
double windingVolume(const modelgen::Mesh& m) {
    double volume = 0;
    for (size_t t = 0; t + 2 < m.triangles.size(); t += 3) {
        const float* a = &m.positions[3 * m.triangles[t]];
        const float* b = &m.positions[3 * m.triangles[t + 1]];
        const float* c = &m.positions[3 * m.triangles[t + 2]];
        volume += (a[0] * (double(b[1]) * c[2] - double(b[2]) * c[1]) - a[1] * (double(b[0]) * c[2] - double(b[2]) * c[0]) +
                   a[2] * (double(b[0]) * c[1] - double(b[1]) * c[0])) / 6;
    }
    return volume;
}

}  // namespace

TEST(StockModels, ClosedCentredAndNamedAsTheChooser) {
    const std::vector<modelgen::Mesh> models = modelgen::stockModels();
    ASSERT_EQ(models.size(), 52u);
    for (size_t i = 0; i < models.size(); ++i) {
        const modelgen::Mesh& m = models[i];
        EXPECT_EQ(m.name, kStockModelNames[i]);
        EXPECT_GT(m.triangleCount(), 0u) << m.name;
        EXPECT_LT(m.vertexCount(), 65536u) << m.name;
        EXPECT_EQ(openEdges(m), 0) << m.name << " is not closed";
        EXPECT_GT(windingVolume(m), 0.0) << m.name << " faces inwards";
        float lo[3] = {1e9f, 1e9f, 1e9f}, hi[3] = {-1e9f, -1e9f, -1e9f};
        for (size_t v = 0; v < m.vertexCount(); ++v)
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], m.positions[3 * v + k]);
                hi[k] = std::max(hi[k], m.positions[3 * v + k]);
            }
        float largest = 0;
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(lo[k] + hi[k], 0.0f, 0.01f) << m.name;
            largest = std::max(largest, hi[k] - lo[k]);
        }
        EXPECT_NEAR(largest, 200.0f, 0.01f) << m.name;
    }
}

// The chart shapes are closed and face outwards too: a wall turned inwards is
// lit from behind.
TEST(StockModels, ChartShapesClosedAndFacingOutwards) {
    for (const modelgen::ChartShape& shape : modelgen::chartShapes()) {
        EXPECT_EQ(openEdges(shape.mesh), 0) << shape.name << " is not closed";
        EXPECT_GT(windingVolume(shape.mesh), 0.0) << shape.name << " faces inwards";
    }
}
