// The pie chart: slice angles and placement, setters and their refusals,
// rebuilt slices, points without a slice, timing, playback and the writer.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "charts/pnPieChart.h"
#include "scene/pnString.h"
#include "scene/pnVolume.h"
#include "tests/charts/PieAreaSupport.h"
#include "tests/support/VecCheck.h"

namespace {

using PieScene = PieAreaScene<pnPieChart>;

std::pair<int, int> angles(const pnPieChart& c, int i) {
    int s = -1, e = -1;
    if (!c.getSliceAngles(i, &s, &e)) return {-1, -1};
    return {s, e};
}

pnVolume* slice(pnPieChart& c, int i) {
    pnObject* p = c.getDataPtPart(i, pnChart::PART_MAIN);
    return p && std::string(p->getTypeName()) == "pnVolume" ? static_cast<pnVolume*>(p) : nullptr;
}


}  // namespace

TEST(PieChart, StartsWithThePieDefaults) {
    pnPieChart c;
    EXPECT_STREQ(c.getTypeName(), "pnPieChart");
    EXPECT_EQ(c.getRotDirection(), 1);
    EXPECT_EQ(c.getClose(), 0);
    EXPECT_EQ(c.getInnerRad(), 0.0f);
    EXPECT_EQ(c.getOuterRad(), 120.0f);
    EXPECT_EQ(c.getBevel(), 0.0f);
    EXPECT_EQ(c.getStartAngle(), 0);
    EXPECT_EQ(c.getShowSide(), 1);
    EXPECT_EQ(c.getDepth(), 30.0f);
    EXPECT_EQ(c.getLabelOffset(), sgVec3(0, 10, 10));
    EXPECT_EQ(c.getTextOffset(), sgVec3(0, -10, 10));
    EXPECT_EQ(c.getSpacing(), sgVec3(0, 0, 0));
}

TEST(PieChart, SliceAnglesRoundToWholeDegreesAndStopAtTheFullCircle) {
    PieScene s;
    for (int i = 0; i < 4; ++i) s.add(25);
    EXPECT_EQ(angles(*s.chart, 0), std::make_pair(0, 90));
    EXPECT_EQ(angles(*s.chart, 3), std::make_pair(270, 360));

    PieScene thirds;
    for (int i = 0; i < 3; ++i) thirds.add(33.3);  // 119.88 degrees round to 120
    EXPECT_EQ(angles(*thirds.chart, 1), std::make_pair(120, 240));
    EXPECT_EQ(angles(*thirds.chart, 2), std::make_pair(240, 360));

    PieScene closed;
    for (int i = 0; i < 3; ++i) closed.add(30);
    EXPECT_EQ(angles(*closed.chart, 2), std::make_pair(216, 324));
    closed.chart->setClose(1);
    EXPECT_EQ(angles(*closed.chart, 2), std::make_pair(216, 360));
    EXPECT_EQ(angles(*closed.chart, 1), std::make_pair(108, 216));

    PieScene over;
    over.add(60);
    over.add(60);
    over.add(10);
    EXPECT_EQ(angles(*over.chart, 1), std::make_pair(216, 360));
    DiagnosticLog log;
    EXPECT_EQ(angles(*over.chart, 2), std::make_pair(-1, -1));
    EXPECT_NE(log.text().find("Sum of angles of pie slices are over 360 deg.\n"), std::string::npos);
    EXPECT_EQ(angles(*over.chart, 3), std::make_pair(-1, -1));
    EXPECT_NE(log.text().find("index out of range:  3"), std::string::npos);  // the print adds a blank

    // Values no setter takes (read from a file) give empty slices that take
    // nothing from the slices after them, even at the end of a closed pie.
    PieScene odd;
    odd.add(-10);
    odd.add(0);
    odd.add(50);
    odd.add(-5);
    odd.chart->setClose(1);
    EXPECT_EQ(angles(*odd.chart, 0), std::make_pair(0, 0));
    EXPECT_EQ(angles(*odd.chart, 2), std::make_pair(0, 180));
    EXPECT_EQ(angles(*odd.chart, 3), std::make_pair(180, 180));
    odd.show();
    expectSlots(*odd.chart);
    EXPECT_EQ(slice(*odd.chart, 0)->getNumVertex(), 0);
    EXPECT_EQ(slice(*odd.chart, 2)->getNumPrims(), 6 * 180 + 2);
    EXPECT_EQ(odd.chart->findEffect("c-003")->getGrowShrink(0), 0);
}

TEST(PieChart, SlicesAreTurnedIntoPlaceWithTheirTextsOverTheirMiddle) {
    PieScene s;
    for (int i = 0; i < 4; ++i) s.add(25);
    s.chart->setPosition(sgVec3(10, 20, 30));
    s.show();
    expectSlots(*s.chart);
    for (int i = 0; i < 4; ++i) {
        pnVolume* v = slice(*s.chart, i);
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->getPivotAngle(), 90.0f * i);
        EXPECT_EQ(v->getPivotAxis(), sgVec3(0, 0, 1));
        EXPECT_EQ(v->getPosition(), sgVec3(10, 20, 30));
        EXPECT_EQ(v->getNumPrims(), 542);
    }
    // Point 0 spans 0..90: its middle is at 45 + 90 degrees, 60 from the axis.
    const double a = 135.0 * 3.14159265359 / 180.0;
    expectVec(s.chart->getDataPtPart(0, pnChart::PART_DATA_TEXT)->getPosition(),
               sgVec3(static_cast<float>(60 * std::cos(a)) + 10, static_cast<float>(60 * std::sin(a)) + 20 - 10,
                      30 + 30 + 10), 1e-3f);
    expectVec(s.chart->getDataPtPart(0, pnChart::PART_LABEL)->getPosition(),
               sgVec3(static_cast<float>(60 * std::cos(a)) + 10, static_cast<float>(60 * std::sin(a)) + 20 + 10,
                      30 + 30 + 10), 1e-3f);

    // Clockwise: the pivots run the other way round, the texts follow.
    s.chart->setRotDirection(0);
    EXPECT_EQ(slice(*s.chart, 1)->getPivotAngle(), -90.0f);
    const double b = (90.0 - 135.0) * 3.14159265359 / 180.0;
    expectVec(s.chart->getDataPtPart(1, pnChart::PART_DATA_TEXT)->getPosition(),
               sgVec3(static_cast<float>(60 * std::cos(b)) + 10, static_cast<float>(60 * std::sin(b)) + 10, 70), 1e-3f);
    s.chart->setStartAngle(30);
    EXPECT_EQ(slice(*s.chart, 1)->getPivotAngle(), -60.0f);
}

TEST(PieChart, SettersRefuseValuesThatBreakTheSlices) {
    pnPieChart c;
    c.setInnerRad(130);
    EXPECT_EQ(c.getInnerRad(), 0.0f);
    c.setInnerRad(60);
    c.setOuterRad(50);
    EXPECT_EQ(c.getOuterRad(), 120.0f);
    c.setBevel(20);  // 2 x 20 > depth 30
    EXPECT_EQ(c.getBevel(), 0.0f);
    c.setBevel(6);
    EXPECT_EQ(c.getBevel(), 6.0f);
    c.setDepth(10);
    EXPECT_EQ(c.getDepth(), 30.0f);
    c.setDepth(12);
    EXPECT_EQ(c.getDepth(), 12.0f);
    c.setInnerRad(0);
    c.setOuterRad(5);  // below the bevel
    EXPECT_EQ(c.getOuterRad(), 120.0f);

    pnChartDataPt p;
    c.addDataPt(p);
    EXPECT_EQ(c.setDataPtDepth(0, 8), 0);  // thinner than twice the bevel
    EXPECT_EQ(c.setDataPtDepth(0, -1), 0);
    EXPECT_EQ(c.setDataPtDepth(0, 20), 1);
    EXPECT_EQ(c.getDataPtDepth(0), 20.0f);
    c.setBevel(11);  // too thick for the point's own depth
    EXPECT_EQ(c.getBevel(), 6.0f);

    DiagnosticLog log;
    c.setDataPtGrowValue(0, 0);
    c.setDataPtGrowValue(0, 100.5);
    c.setDataPtGrowValue(3, 10);
    EXPECT_EQ(c.getDataPtGrowValue(0), 100.0);
    const std::string t = log.text();
    EXPECT_NE(t.find("too small value: "), std::string::npos);
    EXPECT_NE(t.find("too large value: "), std::string::npos);
    EXPECT_NE(t.find("data pt index out of range"), std::string::npos);
}

TEST(PieChart, EffectsCarryTheSliceTriangleCounts) {
    PieScene s;
    for (int i = 0; i < 4; ++i) s.add(25);
    s.show();
    pnEffect* e = s.chart->findEffect("c-001");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->getFlag(pnEffect::GROW_FLAG), 1);
    EXPECT_EQ(e->getGrowShrink(0), 542);
    EXPECT_EQ(e->getGrowShrink(1), 90);
    EXPECT_EQ(e->getGrowShrink(2), 6);
    s.chart->setShowSide(0);
    EXPECT_EQ(e->getGrowShrink(0), 364);
    EXPECT_EQ(e->getGrowShrink(2), 4);
    EXPECT_EQ(slice(*s.chart, 1)->getNumPrims(), 364);
    s.chart->setInnerRad(40);
    s.chart->setBevel(5);
    EXPECT_EQ(e->getGrowShrink(0), 16 * 90 + 12);
    EXPECT_EQ(slice(*s.chart, 1)->getNumVertex(), 16 * 90 + 32);
    expectSlots(*s.chart);
}

// Three thirds fill the circle; the slice added after them has no room but
// keeps its slot, so every part is still found where the layout puts it.
TEST(PieChart, AnAddedSliceBeyondTheFullCircleKeepsEveryLookupRight) {
    PieScene s;
    s.chart->setNumDataPts(3);
    for (int i = 0; i < 3; ++i) s.chart->setDataPtGrowValue(i, 33.33);
    s.show();
    ASSERT_EQ(s.chart->appendDataPt(), 4);
    expectSlots(*s.chart);
    pnVolume* empty = slice(*s.chart, 3);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->getNumVertex(), 0);
    EXPECT_EQ(s.chart->findEffect("c-003")->getGrowShrink(0), 0);
    EXPECT_EQ(s.chart->getDataPtPart(3, pnChart::PART_DATA_TEXT)->getVisible(), 1);  // before the layout
    s.chart->updateLayout();
    EXPECT_EQ(s.chart->getDataPtPart(3, pnChart::PART_DATA_TEXT)->getVisible(), 0);
    EXPECT_EQ(s.chart->getDataPtPart(3, pnChart::PART_LABEL)->getVisible(), 0);
    EXPECT_EQ(s.chart->getDataPtEvent(3, pnChart::PART_LABEL)->getHidden(), 1);
    EXPECT_EQ(s.chart->getDataPtPart(2, pnChart::PART_LABEL)->getVisible(), 1);

    // Making room gives the kept slot its slice in place.
    s.chart->setDataPtGrowValue(0, 10);
    expectSlots(*s.chart);
    ASSERT_NE(slice(*s.chart, 3), nullptr);
    EXPECT_GT(slice(*s.chart, 3)->getNumVertex(), 0);
    EXPECT_EQ(s.chart->findEffect("c-003")->getGrowShrink(1), 360 - 276);
    EXPECT_EQ(s.chart->getDataPtPart(3, pnChart::PART_DATA_TEXT)->getVisible(), 1);

    // Deleting a point moves the later ones down, their names and slices too.
    ASSERT_EQ(s.chart->deleteDataPt(1), 1);
    expectSlots(*s.chart);
    EXPECT_EQ(s.chart->getNumDataPts(), 3);
    EXPECT_EQ(angles(*s.chart, 2), std::make_pair(156, 276));
    EXPECT_EQ(s.chart->findEffect("c-002")->getGrowShrink(1), 120);
    EXPECT_EQ(slice(*s.chart, 2)->getPivotAngle(), 156.0f);
}

TEST(PieChart, AClosedPieKeepsItsLastSliceAtTheFullCircleThroughAddsAndDeletes) {
    PieScene s;
    s.add(30);
    s.add(30);
    s.chart->setClose(1);
    s.show();
    EXPECT_EQ(s.chart->findEffect("c-001")->getGrowShrink(1), 252);
    ASSERT_EQ(s.chart->appendDataPt(), 3);
    expectSlots(*s.chart);
    // The old last slice no longer stretches to 360 degrees.
    EXPECT_EQ(s.chart->findEffect("c-001")->getGrowShrink(1), 108);
    EXPECT_EQ(slice(*s.chart, 1)->getNumPrims(), 6 * 108 + 2);
    EXPECT_EQ(s.chart->findEffect("c-002")->getGrowShrink(1), 144);
    EXPECT_EQ(slice(*s.chart, 2)->getPivotAngle(), 216.0f);
    const double mid = (162.0 + 90.0) * 3.14159265359 / 180.0;
    expectVec(s.chart->getDataPtPart(1, pnChart::PART_LABEL)->getPosition(),
               sgVec3(static_cast<float>(60 * std::cos(mid)), static_cast<float>(60 * std::sin(mid)) + 10, 40), 1e-3f);

    ASSERT_EQ(s.chart->deleteDataPt(2), 1);
    expectSlots(*s.chart);
    EXPECT_EQ(s.chart->findEffect("c-001")->getGrowShrink(1), 252);
    EXPECT_EQ(slice(*s.chart, 1)->getNumPrims(), 6 * 252 + 2);
    s.chart->setClose(0);
    EXPECT_EQ(s.chart->findEffect("c-001")->getGrowShrink(1), 108);
}

// A slice the builder refuses (a bevel that does not fit a point depth read
// from a file) keeps what its slot held; the other slices are rebuilt.
TEST(PieChart, ARefusedRebuildKeepsTheOldSlice) {
    PieScene s;
    s.chart->setBevel(5);
    s.add(50);
    pnChartDataPt thin;
    thin.growValue = 50;
    thin.depth = 6;  // thinner than twice the bevel: no setter takes it
    s.chart->addDataPt(thin);
    DiagnosticLog log;
    s.show();
    expectSlots(*s.chart);
    pnObject* kept = s.chart->getDataPtPart(1, pnChart::PART_MAIN);
    pnObject* first = s.chart->getDataPtPart(0, pnChart::PART_MAIN);
    s.chart->setShowSide(0);
    EXPECT_EQ(s.chart->getDataPtPart(1, pnChart::PART_MAIN), kept);
    EXPECT_NE(s.chart->getDataPtPart(0, pnChart::PART_MAIN), first);
    EXPECT_NE(log.text().find("too large bevel value: "), std::string::npos);
    expectSlots(*s.chart);
}

TEST(PieChart, PointSettersMoveTheirSliceAndTexts) {
    PieScene s;
    s.add(50);
    s.add(50);
    s.show();
    EXPECT_EQ(s.chart->setDataPtDepth(1, 50), 1);
    EXPECT_FLOAT_EQ(s.chart->getDataPtPart(1, pnChart::PART_LABEL)->getPosition()[2], 60.0f);
    EXPECT_FLOAT_EQ(s.chart->getDataPtPart(0, pnChart::PART_LABEL)->getPosition()[2], 40.0f);
    float zmax = 0;
    const std::vector<float>& xyz = slice(*s.chart, 1)->getCoords();
    for (size_t k = 2; k < xyz.size(); k += 3) zmax = std::max(zmax, xyz[k]);
    EXPECT_EQ(zmax, 50.0f);

    s.chart->setDataPtSpacing(1, sgVec3(15, 0, 0));
    EXPECT_EQ(slice(*s.chart, 1)->getPosition(), sgVec3(15, 0, 0));
    EXPECT_EQ(slice(*s.chart, 0)->getPosition(), sgVec3(0, 0, 0));
    s.chart->setDataPtSpacingDistance(1, 25);
    EXPECT_EQ(s.chart->getDataPtSpacing(1), sgVec3(25, 0, 0));

    s.chart->setDepth(40);
    EXPECT_FLOAT_EQ(s.chart->getDataPtPart(0, pnChart::PART_DATA_TEXT)->getPosition()[2], 50.0f);
    EXPECT_FLOAT_EQ(s.chart->getDataPtPart(1, pnChart::PART_DATA_TEXT)->getPosition()[2], 60.0f);

    s.chart->setName("pie");
    expectSlots(*s.chart);
    EXPECT_NE(s.chart->findEffect("pie-001"), nullptr);
    EXPECT_EQ(s.chart->findEffect("c-001"), nullptr);
}

TEST(PieChart, TimingSettersMoveThePlays) {
    PieScene s;
    s.add(50, 0, 30);
    s.add(50, 0, 30);
    s.show();
    pnEvent* main = s.chart->getDataPtEvent(1, pnChart::PART_MAIN);
    pnEvent* text = s.chart->getDataPtEvent(1, pnChart::PART_DATA_TEXT);
    pnEvent* label = s.chart->getDataPtEvent(1, pnChart::PART_LABEL);
    ASSERT_EQ(main->getNumPlays(), 1);
    EXPECT_EQ(text->getPlay(0)->start, 30);
    EXPECT_EQ(text->getPlay(0)->end, 31);

    EXPECT_EQ(s.chart->setDataPtEndTime(1, 40), 1);
    EXPECT_EQ(main->getPlay(0)->end, 40);
    EXPECT_EQ(label->getPlay(0)->start, 40);
    EXPECT_EQ(label->getPlay(0)->end, 41);
    EXPECT_EQ(s.chart->setDataPtStartTime(1, 5), 1);
    EXPECT_EQ(main->getPlay(0)->start, 5);

    EXPECT_EQ(s.chart->setDataPtDefaultShrink(1), 1);
    EXPECT_EQ(s.chart->getDataPtShrinkStart(1), 50);
    ASSERT_EQ(main->getNumPlays(), 3);
    EXPECT_EQ(main->getPlay(1)->effect, "c-shrink-001");
    EXPECT_EQ(main->getPlay(2)->start, 60);
    EXPECT_EQ(main->getPlay(2)->visible, 0);
    ASSERT_NE(s.chart->findEffect("c-shrink-001"), nullptr);
    EXPECT_EQ(s.chart->findEffect("c-shrink-001")->getFlag(pnEffect::SHRINK_FLAG), 1);
    ASSERT_EQ(text->getNumPlays(), 2);
    EXPECT_EQ(text->getPlay(1)->start, 50);

    EXPECT_EQ(s.chart->setDataPtShrinkEnd(1, 70), 1);
    EXPECT_EQ(main->getPlay(1)->end, 70);
    EXPECT_EQ(main->getPlay(2)->start, 71);
    EXPECT_EQ(s.chart->clearDataPtGrow(1), 0);  // a point that shrinks keeps its grow
    EXPECT_EQ(s.chart->clearDataPtShrink(1), 1);
    EXPECT_EQ(main->getNumPlays(), 1);
    EXPECT_EQ(text->getNumPlays(), 1);
    EXPECT_EQ(s.chart->clearDataPtGrow(1), 1);
    EXPECT_EQ(main->getPlay(0)->end, 0);
    EXPECT_EQ(s.chart->setDataPtDefaultGrow(1), 1);
    EXPECT_EQ(main->getPlay(0)->end, 30);
    EXPECT_EQ(text->getPlay(0)->start, 30);
    EXPECT_EQ(s.chart->setDataPtEndTime(9, 1), 0);
}

// Playback draws a growing slice degree by degree: (542, 90, 6) gives 272
// triangles halfway and all 542 at the end; a shrink a quarter through
// leaves 67 whole degrees.
TEST(PieChart, PlaybackGrowsAndShrinksTheSliceByWholeDegrees) {
    PieScene s;
    for (int i = 0; i < 4; ++i) s.add(25, 0, 30);
    s.show();
    pnVolume* v = slice(*s.chart, 2);
    s.scene.setFrame(0);
    EXPECT_EQ(v->getNumPrims(), 0);
    s.scene.setFrame(15);
    EXPECT_EQ(v->getNumPrims(), 272);
    s.scene.setFrame(30);
    EXPECT_EQ(v->getNumPrims(), 542);

    ASSERT_EQ(s.chart->setDataPtDefaultShrink(2), 1);
    s.chart->setDataPtShrinkStart(2, 40);
    s.chart->setDataPtShrinkEnd(2, 80);
    s.scene.setFrame(50);
    EXPECT_EQ(v->getNumPrims(), 404);
    s.scene.setFrame(80);
    EXPECT_EQ(v->getNumPrims(), 0);

    // Numbers that do not fit the mesh never draw past it.
    pnEffect* grow = s.chart->findEffect("c-001");
    grow->setGrow(100000, 2000000000, 2000000000);
    s.scene.setFrame(30);
    EXPECT_EQ(slice(*s.chart, 1)->getNumPrims(), 542);
    grow->setGrow(0, -90, 6);
    s.scene.setFrame(30);
    EXPECT_EQ(slice(*s.chart, 1)->getNumPrims(), 0);
}

TEST(PieChart, WritesItsBlockAfterTheCommonChartFields) {
    pnPieChart c;
    c.setName("pie");
    c.setInnerRad(20);
    c.setStartAngle(45);
    std::string t = writtenBy(c);
    EXPECT_EQ(t.rfind("pieChart {\n    name\t\"pie\"\n", 0), 0u) << t;
    const std::string tail =
        "    rotDirection\t1\n    close\t0\n    innerRad\t20.000000\n    outerRad\t120.000000\n"
        "    depth\t30.000000\n    bevel\t0.000000\n    startAngle\t45\n}\n\n";
    ASSERT_GE(t.size(), tail.size());
    EXPECT_EQ(t.substr(t.size() - tail.size()), tail) << t;
    EXPECT_EQ(t.find("showSide"), std::string::npos);
    c.setShowSide(0);
    t = writtenBy(c);
    EXPECT_NE(t.find("    bevel\t0.000000\n    showSide\t0\n    startAngle\t45\n"), std::string::npos) << t;
}

TEST(PieChart, CopiesTheChartAndItsPieSettings) {
    pnPieChart a, b;
    pnChartDataPt p;
    p.growValue = 40;
    a.addDataPt(p);
    a.setRotDirection(0);
    a.setClose(1);
    a.setOuterRad(90);
    a.setInnerRad(30);
    a.setDepth(20);
    a.setBevel(4);
    a.setStartAngle(10);
    a.setShowSide(0);
    EXPECT_EQ(b.copy(nullptr), 0);
    EXPECT_EQ(b.copy(&b), 1);
    ASSERT_EQ(b.copy(&a), 1);
    EXPECT_EQ(b.getNumDataPts(), 1);
    EXPECT_EQ(b.getRotDirection(), 0);
    EXPECT_EQ(b.getClose(), 1);
    EXPECT_EQ(b.getOuterRad(), 90.0f);
    EXPECT_EQ(b.getInnerRad(), 30.0f);
    EXPECT_EQ(b.getDepth(), 20.0f);
    EXPECT_EQ(b.getBevel(), 4.0f);
    EXPECT_EQ(b.getStartAngle(), 10);
    EXPECT_EQ(b.getShowSide(), 0);
    EXPECT_EQ(b.isBuilt(), 1);
    EXPECT_EQ(b.getNumObjects(), 0);
}
