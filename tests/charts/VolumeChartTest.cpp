// The volume (area) chart: segment geometry for rising, falling, negative
// and sign-changing series, the parts of point 0, rebuilds, deletion,
// renaming, timing and the writer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "charts/pnVolumeChart.h"
#include "scene/pnString.h"
#include "scene/pnVolume.h"
#include "tests/charts/PieAreaSupport.h"

namespace {

using AreaScene = PieAreaScene<pnVolumeChart>;

// Every kind of segment: rising, flat and falling above the base line, down
// to and up from it, across it both ways and below it.
const double kSeries[] = {20, 60, 60, 20, 0, 50, -30, -60, -20, 40, 0, -30};

pnVolume* part(pnVolumeChart& c, int i, int which) {
    pnObject* p = c.getDataPtPart(i, which);
    return p && std::string(p->getTypeName()) == "pnVolume" ? static_cast<pnVolume*>(p) : nullptr;
}

// The part's triangles where the scene draws them: its position plus its
// inner scale applied to the mesh (no rotation on chart parts here).
Soup placed(pnVolume* v) {
    const sgVec3 at = v->getPosition(), s = v->getScaleOrigin();
    return soupOf(v->getCoords(), v->getIndex(), [&](const double* in, double* out) {
        for (int k = 0; k < 3; ++k) out[k] = at[k] + s[k] * in[k];
    });
}

// Flat shading: each triangle's normal is the triangle's own.
void expectFlatNormals(pnVolume* v) {
    ASSERT_EQ(v->getNormalBind(), 0);
    const std::vector<float>& c = v->getCoords();
    const std::vector<int>& idx = v->getIndex();
    const std::vector<float>& n = v->getNormals();
    for (int t = 0; t < v->getNumPrims(); ++t) {
        const float* a = &c[idx[t * 3] * 3];
        const float* b = &c[idx[t * 3 + 1] * 3];
        const float* d = &c[idx[t * 3 + 2] * 3];
        const double u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const double w[3] = {d[0] - a[0], d[1] - a[1], d[2] - a[2]};
        const double g[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
        const double len = std::sqrt(g[0] * g[0] + g[1] * g[1] + g[2] * g[2]);
        if (len < 1e-9) continue;
        const float* m = &n[v->getNormIndex()[t] * 3];
        EXPECT_NEAR((g[0] * m[0] + g[1] * m[1] + g[2] * m[2]) / len, 1.0, 1e-5) << v->getName() << " triangle " << t;
    }
}

}  // namespace

TEST(VolumeChart, StartsWithTheAreaDefaults) {
    pnVolumeChart c;
    EXPECT_STREQ(c.getTypeName(), "pnVolumeChart");
    EXPECT_EQ(c.getDepth(), 50.0f);
    EXPECT_EQ(c.getSpacing(), sgVec3(80, 0, 0));
    c.setDepth(-5);
    EXPECT_EQ(c.getDepth(), 50.0f);
}

TEST(VolumeChart, UnitMeshesHaveTheirCountsAndFaceOutward) {
    const pnVolumeMesh wedge = pnVolumeMesh::wedge(0.5f, true, 50, true);
    EXPECT_EQ(wedge.coords.size(), 6u * 3);
    EXPECT_EQ(wedge.getNumTriangles(), 6);
    EXPECT_EQ(wedge.normals.size(), 4u * 3);
    const pnVolumeMesh flat = pnVolumeMesh::wedge(0, true, 50, false);
    EXPECT_EQ(flat.coords.size(), 4u * 3);
    EXPECT_EQ(flat.getNumTriangles(), 2);
    EXPECT_EQ(flat.normals, std::vector<float>({0, -1, 0}));
    const pnVolumeMesh box = pnVolumeMesh::box(-30, 50);
    EXPECT_EQ(box.coords.size(), 8u * 3);
    EXPECT_EQ(box.getNumTriangles(), 10);
    EXPECT_EQ(box.normals.size(), 5u * 3);
    for (float s : {0.75f, -0.75f}) {
        for (bool atEnd : {true, false}) {
            const pnVolumeMesh closed = pnVolumeMesh::closedWedge(s, atEnd, 50);
            EXPECT_EQ(closed.coords.size(), 6u * 3);
            EXPECT_EQ(closed.getNumTriangles(), 8);
            EXPECT_EQ(closed.normals.size(), 5u * 3);
            const Soup soup = soupOf(closed.coords, closed.index);
            EXPECT_EQ(soup.openEdges(), 0);
            EXPECT_NEAR(soup.volume(), 0.5 * 0.75 * 50, 1e-4);
        }
    }
}

// At the end of every grow the parts of each segment fill exactly the area
// between the base line and the line through the points: one closed solid
// of the area's volume that nowhere leaves it.
TEST(VolumeChart, SegmentsFillTheAreaBetweenTheLineAndTheBaseLine) {
    AreaScene s;
    for (double v : kSeries) s.add(v, 0, 30, sgVec3(80, 0, 0));
    s.chart->setPosition(sgVec3(5, 100, -7));
    s.show();
    expectSlots(*s.chart);
    s.scene.setFrame(30);
    const float base = 100, depth = 50;
    for (int i = 1; i < s.chart->getNumDataPts(); ++i) {
        SCOPED_TRACE("segment " + std::to_string(i));
        pnVolume* main = part(*s.chart, i, pnChart::PART_MAIN);
        pnVolume* box = part(*s.chart, i, pnChart::PART_EXTRA);
        ASSERT_NE(main, nullptr);
        ASSERT_NE(box, nullptr);
        expectFlatNormals(main);
        expectFlatNormals(box);
        Soup soup = placed(main);
        const Soup under = placed(box);
        soup.xyz.insert(soup.xyz.end(), under.xyz.begin(), under.xyz.end());

        const double h0 = kSeries[i - 1], h1 = kSeries[i];
        const double x0 = s.chart->getDataPtPosition(i - 1)[0], x1 = s.chart->getDataPtPosition(i)[0];
        ASSERT_NEAR(x1 - x0, 80, 1e-4);
        const double area = h0 * h1 >= 0 ? 80 * (std::fabs(h0) + std::fabs(h1)) / 2
                                         : 40 * (h0 * h0 + h1 * h1) / (std::fabs(h0) + std::fabs(h1));
        EXPECT_EQ(soup.openEdges(), 0);
        EXPECT_NEAR(soup.volume(), area * depth, 1e-3 * area * depth + 1e-3);
        for (size_t k = 0; k < soup.xyz.size(); k += 3) {
            const double x = soup.xyz[k], y = soup.xyz[k + 1] - base, z = soup.xyz[k + 2];
            const double line = h0 + (h1 - h0) * (x - x0) / 80;
            EXPECT_GE(x, x0 - 1e-3);
            EXPECT_LE(x, x1 + 1e-3);
            EXPECT_GE(y, std::min(0.0, line) - 1e-3) << "x " << x;
            EXPECT_LE(y, std::max(0.0, line) + 1e-3) << "x " << x;
            EXPECT_NEAR(std::fabs(z + 7), depth / 2, 1e-3);
        }
    }
}

TEST(VolumeChart, TheBoxReachesTheSmallerHeight) {
    AreaScene s;
    for (double v : {100.0, 50.0, 100.0, 0.0, 50.0, -100.0, -50.0}) s.add(v, 0, 30, sgVec3(80, 0, 0));
    EXPECT_FLOAT_EQ(s.chart->getBoxGrowScale(1)[1], 0.5f);   // falling
    EXPECT_FLOAT_EQ(s.chart->getBoxGrowScale(2)[1], 1.0f);   // rising
    EXPECT_FLOAT_EQ(s.chart->getBoxGrowScale(3)[1], 0.0f);   // down to the base line
    EXPECT_FLOAT_EQ(s.chart->getBoxGrowScale(4)[1], 1.0f);   // up from it: no division by 0
    EXPECT_FLOAT_EQ(s.chart->getBoxGrowScale(6)[1], 0.5f);   // below the base line
    EXPECT_EQ(s.chart->getBoxGrowScale(1)[0], 80.0f);
    // A sloped top scales by its run in both directions, a flat one not in y.
    EXPECT_EQ(s.chart->getGrowScale(1), sgVec3(80, 80, 1));
    AreaScene flat;
    flat.add(40);
    flat.add(40, 0, 30, sgVec3(80, 0, 0));
    EXPECT_EQ(flat.chart->getGrowScale(1), sgVec3(80, 1, 1));
    // Across the base line each piece takes the run of its own part.
    AreaScene cross;
    cross.add(30);
    cross.add(-10, 0, 30, sgVec3(80, 0, 0));
    EXPECT_EQ(cross.chart->getGrowScale(1), sgVec3(60, 60, 1));
    EXPECT_EQ(cross.chart->getBoxGrowScale(1), sgVec3(20, 20, 1));
    const pnVolumeChart::Segment g = cross.chart->getSegment(1);
    EXPECT_TRUE(g.crossing);
    EXPECT_FLOAT_EQ(g.cross[0], 20.0f);  // centred: the points stand at -40 and 40
}

TEST(VolumeChart, PointZeroHasOnlyItsTexts) {
    AreaScene s;
    s.add(10, 3, 7);
    s.show();
    expectSlots(*s.chart);
    EXPECT_EQ(s.chart->getNumObjects(), 2);
    EXPECT_EQ(s.chart->getNumEffects(), 1);  // the text effect
    // With no point 1 the texts take point 0's own times.
    pnEvent* text = s.chart->getDataPtEvent(0, pnChart::PART_DATA_TEXT);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->getPlay(0)->start, 7);

    AreaScene two;
    two.add(10, 3, 7);
    two.add(20, 11, 19, sgVec3(80, 0, 0));
    two.show();
    expectSlots(*two.chart);
    EXPECT_EQ(two.chart->getNumObjects(), 2 + 4);
    EXPECT_EQ(two.chart->getDataPtEvent(0, pnChart::PART_LABEL)->getPlay(0)->start, 11);
    EXPECT_EQ(two.chart->getDataPtEvent(1, pnChart::PART_LABEL)->getPlay(0)->start, 19);
    EXPECT_NE(two.chart->findEffect("c-001"), nullptr);
    EXPECT_NE(two.chart->findEffect("c-box-001"), nullptr);
    EXPECT_EQ(two.chart->findEffect("c-000"), nullptr);
    EXPECT_EQ(two.chart->findEffect("c-shrink-001"), nullptr);
    // Point 0 has no main part to take a material.
    two.chart->setDataPtMaterialName(0, "red");
    EXPECT_STREQ(two.chart->getDataPtMaterialName(0), "red");
    EXPECT_EQ(two.chart->getNumObjects(), 6);
}

TEST(VolumeChart, ChangingAValueRebuildsTheSegmentsOnBothSides) {
    AreaScene s;
    for (double v : {20.0, 40.0, 10.0}) s.add(v, 0, 30, sgVec3(80, 0, 0));
    s.show();
    pnObject* oldMain = s.chart->getDataPtPart(1, pnChart::PART_MAIN);
    s.chart->setDataPtGrowValue(1, -30);
    expectSlots(*s.chart);
    EXPECT_NE(s.chart->getDataPtPart(1, pnChart::PART_MAIN), oldMain);
    EXPECT_EQ(s.chart->findEffect("c-001")->getScale(), s.chart->getGrowScale(1));
    EXPECT_EQ(s.chart->findEffect("c-box-002")->getScale(), s.chart->getBoxGrowScale(2));
    EXPECT_TRUE(s.chart->getSegment(2).crossing);
    EXPECT_EQ(part(*s.chart, 2, pnChart::PART_MAIN)->getNumPrims(), 8);  // closed wedge
    // The data text stands below the base line, its offsets mirrored.
    const sgVec3 t = s.chart->getDataPtPart(1, pnChart::PART_DATA_TEXT)->getPosition();
    EXPECT_FLOAT_EQ(t[1], -30.0f - 30.0f);

    s.chart->setDepth(20);
    float zmax = 0;
    for (float z : part(*s.chart, 1, pnChart::PART_EXTRA)->getCoords()) zmax = std::max(zmax, z);
    EXPECT_EQ(zmax, 10.0f);
    // Points now at x -20, 60 and 100: the line meets the base line at 90.
    s.chart->setDataPtSpacing(2, sgVec3(40, 0, 0));
    EXPECT_EQ(s.chart->findEffect("c-box-002")->getScale(), s.chart->getBoxGrowScale(2));
    EXPECT_FLOAT_EQ(s.chart->findEffect("c-box-002")->getScale()[0], 10.0f);
    EXPECT_FLOAT_EQ(s.chart->findEffect("c-002")->getScale()[0], 30.0f);
    EXPECT_FLOAT_EQ(part(*s.chart, 2, pnChart::PART_EXTRA)->getPosition()[0], 90.0f);
    expectSlots(*s.chart);
}

// Deleting point 0 takes the new first point's segment too (it has none as
// point 0); every later point keeps playing the effects of its own segment.
TEST(VolumeChart, DeletingPointZeroTakesTheNewFirstSegment) {
    AreaScene s;
    for (double v : {10.0, 20.0, 30.0, 40.0}) s.add(v, 0, 30, sgVec3(80, 0, 0));
    s.show();
    ASSERT_EQ(s.chart->deleteDataPt(0), 1);
    expectSlots(*s.chart);
    EXPECT_EQ(s.chart->getNumObjects(), 2 + 4 + 4);
    for (int i = 1; i < 3; ++i) {
        pnEvent* ev = s.chart->getDataPtEvent(i, pnChart::PART_MAIN);
        EXPECT_EQ(ev->getPlay(0)->effect, ev->getName());
        pnEffect* grow = s.chart->findEffect(ev->getPlay(0)->effect.c_str());
        ASSERT_NE(grow, nullptr);
        EXPECT_EQ(grow->getScale(), s.chart->getGrowScale(i));
        pnEvent* box = s.chart->getDataPtEvent(i, pnChart::PART_EXTRA);
        EXPECT_EQ(box->getPlay(0)->effect, box->getName());
    }
    // A middle point: its neighbours are joined by one rebuilt segment.
    ASSERT_EQ(s.chart->deleteDataPt(1), 1);
    expectSlots(*s.chart);
    EXPECT_EQ(s.chart->findEffect("c-001")->getScale(), s.chart->getGrowScale(1));
    const Soup both = placed(part(*s.chart, 1, pnChart::PART_MAIN));
    EXPECT_GT(both.triangles(), 0u);
    {
        DiagnosticLog log;
        EXPECT_EQ(s.chart->deleteDataPt(5), 0);
        EXPECT_NE(log.text().find("index out or range deleting a chart data"), std::string::npos);
    }
}

TEST(VolumeChart, RenamingRenamesEveryPartTheTextsToo) {
    AreaScene s;
    for (double v : {10.0, 20.0}) s.add(v, 0, 30, sgVec3(80, 0, 0));
    s.show();
    ASSERT_EQ(s.chart->setDataPtDefaultShrink(1), 1);
    s.chart->setName("area");
    expectSlots(*s.chart);
    EXPECT_EQ(s.chart->getDataPtPart(0, pnChart::PART_DATA_TEXT)->getName(), "area-dataText-000");
    EXPECT_EQ(s.chart->getDataPtPart(0, pnChart::PART_LABEL)->getName(), "area-label-000");
    EXPECT_NE(s.chart->findEffect("area-shrink-box-001"), nullptr);
    EXPECT_NE(s.chart->findEffect("area-text"), nullptr);
    DiagnosticLog log;
    s.chart->setDataPtName(4, "x");
    EXPECT_NE(log.text().find("[pnVolumeChart::setDataPtName]  data pt index out of range"), std::string::npos);
}

TEST(VolumeChart, TimingSettersMoveThePlaysOfAllFourEvents) {
    AreaScene s;
    for (double v : {10.0, 20.0}) s.add(v, 0, 30, sgVec3(80, 0, 0));
    EXPECT_EQ(s.chart->setDataPtEndTime(1, 35), 0);  // stored, nothing to move yet
    EXPECT_EQ(s.chart->getDataPtEndTime(1), 35);
    s.show();
    pnEvent* main = s.chart->getDataPtEvent(1, pnChart::PART_MAIN);
    pnEvent* box = s.chart->getDataPtEvent(1, pnChart::PART_EXTRA);
    pnEvent* text = s.chart->getDataPtEvent(1, pnChart::PART_DATA_TEXT);
    EXPECT_EQ(main->getPlay(0)->end, 35);
    EXPECT_EQ(s.chart->setDataPtEndTime(1, 40), 1);
    EXPECT_EQ(box->getPlay(0)->end, 40);
    EXPECT_EQ(text->getPlay(0)->start, 40);
    EXPECT_EQ(text->getPlay(0)->end, 41);
    EXPECT_EQ(s.chart->setDataPtStartTime(1, 4), 1);
    EXPECT_EQ(main->getPlay(0)->start, 4);
    EXPECT_EQ(box->getPlay(0)->start, 4);

    EXPECT_EQ(s.chart->setDataPtDefaultShrink(1), 1);
    ASSERT_EQ(box->getNumPlays(), 3);
    EXPECT_EQ(box->getPlay(1)->effect, "c-shrink-box-001");
    EXPECT_EQ(main->getPlay(1)->effect, "c-shrink-001");
    EXPECT_NE(s.chart->findEffect("c-shrink-box-001"), nullptr);
    EXPECT_EQ(text->getPlay(1)->start, 50);
    EXPECT_EQ(s.chart->setDataPtShrinkEnd(1, 70), 1);
    EXPECT_EQ(main->getPlay(1)->end, 70);
    EXPECT_EQ(box->getPlay(2)->start, 71);
    EXPECT_EQ(box->getPlay(2)->end, 72);
    EXPECT_EQ(s.chart->setDataPtShrinkStart(1, 55), 1);
    EXPECT_EQ(box->getPlay(1)->start, 55);
    EXPECT_EQ(text->getPlay(1)->start, 55);
    EXPECT_EQ(s.chart->clearDataPtGrow(1), 0);
    EXPECT_EQ(s.chart->clearDataPtShrink(1), 1);
    EXPECT_EQ(main->getNumPlays(), 1);
    EXPECT_EQ(box->getNumPlays(), 1);
    EXPECT_EQ(text->getNumPlays(), 1);
    EXPECT_EQ(s.chart->setDataPtDefaultGrow(1), 1);
    EXPECT_EQ(box->getPlay(0)->end, 30);
    EXPECT_EQ(text->getPlay(0)->start, 30);
    EXPECT_EQ(s.chart->clearGrowAll(), 1);
    EXPECT_EQ(main->getPlay(0)->end, 0);
}

TEST(VolumeChart, WritesItsDepthBeforeTheCommonChartFields) {
    pnVolumeChart c;
    c.setName("area");
    pnChartDataPt p;
    c.addDataPt(p);
    const std::string t = writtenBy(c);
    EXPECT_EQ(t.rfind("volumeChart {\n    depth 50.000000\n    name\t\"area\"\n", 0), 0u) << t;
    EXPECT_NE(t.find("    data {\n"), std::string::npos);
    EXPECT_EQ(t.find("expansion"), std::string::npos);
    ASSERT_GE(t.size(), 9u);
    EXPECT_EQ(t.substr(t.size() - 9), "    }\n}\n\n");

    pnVolumeChart d;
    d.setDepth(12);
    ASSERT_EQ(d.copy(&c), 1);
    EXPECT_EQ(d.getDepth(), 50.0f);
    EXPECT_EQ(d.getNumDataPts(), 1);
    EXPECT_EQ(d.copy(nullptr), 0);
}
