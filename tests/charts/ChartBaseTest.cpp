// The chart base without parts: data points, value mapping, layout, bar
// expansion, copying, the common block writer and the kinds' playback rules
// (the pie's point defaults, bar expansion and the playback rules of the real
// kinds are checked on those kinds).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "charts/pnPieChart.h"
#include "charts/pnVolumeChart.h"
#include "scene/pnVolume.h"
#include "sg/sgRuntime.h"
#include "tests/charts/BarLineSupport.h"
#include "tests/charts/ChartTestSupport.h"
#include "tests/support/VecCheck.h"

namespace {


TEST(ChartBase, Defaults) {
    TestChart c;
    EXPECT_EQ(c.getNumDataPts(), 0);
    EXPECT_EQ(c.getCapacity(), 8);
    EXPECT_EQ(c.getShowData(), 1);
    EXPECT_EQ(c.getShowLabel(), 1);
    EXPECT_EQ(c.getDataMin(), 0.0f);
    EXPECT_EQ(c.getDataMax(), 0.0f);
    EXPECT_EQ(c.getGraphMin(), 0.0f);
    EXPECT_EQ(c.getHeightScale(), 1.0f);
    expectVec(c.getBaseScale(), 1, 1, 1);
    expectVec(c.getDirection(), 0, 1, 0);
    expectVec(c.getLabelOffset(), 0, -30, 0);
    expectVec(c.getTextOffset(), 0, 30, 30);
    expectVec(c.getLabelScale(), 1, 1, 1);
    expectVec(c.getValueScale(), 1, 1, 1);
    EXPECT_EQ(c.getHJust(), 1);
    EXPECT_EQ(c.getExpansion(), 1);
    EXPECT_EQ(c.isBuilt(), 0);
    for (int i = 0; i < pnChart::NUM_CHART_FLAGS; ++i) EXPECT_EQ(c.getChartFlag(i), 0);
    EXPECT_TRUE(c.getLabelMaterialName().empty());
    EXPECT_DOUBLE_EQ(pnChart::degToRad(180.0), 3.14159265359);
    EXPECT_NEAR(pnChart::radToDeg(3.14159265359), 180.0, 1e-9);
}

TEST(ChartBase, ValueMappingClampsThenShiftsThenScales) {
    TestChart c;
    c.setNumDataPts(1);
    c.setDataPtGrowValue(0, 5);
    EXPECT_DOUBLE_EQ(c.getDataPtHeight(0), 5);
    c.setDataMin(10);
    EXPECT_DOUBLE_EQ(c.getDataPtHeight(0), 10);
    c.setDataMax(80);
    c.setDataPtGrowValue(0, 95);
    EXPECT_DOUBLE_EQ(c.getDataPtHeight(0), 80);

    TestChart d;
    d.setNumDataPts(1);
    d.setDataPtGrowValue(0, 50);
    d.setGraphMin(10);
    d.setHeightScale(2);
    EXPECT_DOUBLE_EQ(d.getDataPtHeight(0), 80);
    EXPECT_EQ(d.getChartFlag(pnChart::GRAPH_MIN_SET), 1);
    EXPECT_EQ(d.getChartFlag(pnChart::HEIGHT_SCALE_SET), 1);
    EXPECT_DOUBLE_EQ(d.getDataPtHeight(5), 0.0);  // out of range
}

TEST(ChartBase, DataMaxMustLieAboveDataMin) {
    TestChart c;
    c.setDataMin(10);
    EXPECT_EQ(c.setDataMax(5), 0);
    EXPECT_EQ(c.setDataMax(10), 0);
    EXPECT_EQ(c.getDataMax(), 0.0f);
    EXPECT_EQ(c.getChartFlag(pnChart::DATA_MAX_SET), 0);
    EXPECT_EQ(c.setDataMax(11), 1);
    EXPECT_EQ(c.getDataMax(), 11.0f);
}

TEST(ChartBase, SetNumDataPtsFillsByKind) {
    TestChart bar;
    EXPECT_EQ(bar.setNumDataPts(-2), 0);
    bar.setNumDataPts(4);
    const double values[] = {50, 100, 50, 100};
    const char* texts[] = {"50", "100", "50", "100"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(bar.getDataPtGrowValue(i), values[i]);
        EXPECT_STREQ(bar.getDataPtDataText(i), texts[i]);
        EXPECT_STREQ(bar.getDataPtLabel(i), "m");
        expectVec(bar.getDataPtSpacing(i), i ? 80.0f : 0.0f, 0, 0);
    }

    pnPieChart pie;
    pie.setNumDataPts(3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(pie.getDataPtGrowValue(i), 33.333, 1e-3);
        EXPECT_STREQ(pie.getDataPtDataText(i), "33");
        expectVec(pie.getDataPtSpacing(i), 0, 0, 0);
    }
    pie.setNumDataPts(0);
    EXPECT_EQ(pie.getNumDataPts(), 0);
}

TEST(ChartBase, CapacityGrowsByEightOnAddAndDoublesOnAppend) {
    TestChart c;
    pnChartDataPt p;
    for (int i = 0; i < 8; ++i) c.addDataPt(p);
    EXPECT_EQ(c.getCapacity(), 8);
    c.addDataPt(p);
    EXPECT_EQ(c.getCapacity(), 16);
    EXPECT_EQ(c.getNumDataPts(), 9);

    TestChart d;
    d.setNumDataPts(8);
    EXPECT_EQ(d.getCapacity(), 8);
    d.setDataPtLabel(7, "last");
    EXPECT_EQ(d.appendDataPt(), 9);
    EXPECT_EQ(d.getCapacity(), 16);
    EXPECT_STREQ(d.getDataPtLabel(8), "last");  // the last point is copied

    d.setNumDataPts(20);
    EXPECT_EQ(d.getCapacity(), 20);
}

TEST(ChartBase, AppendRefusals) {
    TestChart empty;
    EXPECT_EQ(empty.appendDataPt(), 0);
    EXPECT_EQ(empty.getNumDataPts(), 0);

    pnPieChart pie;
    pie.setNumDataPts(4);  // 25 each: the circle is full
    EXPECT_EQ(pie.appendDataPt(), 0);
    EXPECT_EQ(pie.getNumDataPts(), 4);
    pie.setDataPtGrowValue(3, 10);
    EXPECT_EQ(pie.appendDataPt(), 5);
}

TEST(ChartBase, PerPointAccessorsAreRangeChecked) {
    TestChart c;
    c.setNumDataPts(2);
    DiagnosticLog log;
    c.setDataPtLabel(2, "x");
    c.setDataPtDataText(-1, "x");
    c.setDataPtMaterialName(2, "x");
    const std::string text = log.text();
    EXPECT_NE(text.find("TORVIS: [pnChart::setDataPtLabel]  data pt index out of range"), std::string::npos);
    EXPECT_NE(text.find("[pnChart::setDataPtDataText] "), std::string::npos);
    EXPECT_NE(text.find("[pnChart::setDataPtMaterialName] "), std::string::npos);
    EXPECT_STREQ(c.getDataPtLabel(1), "m");

    // Setters out of range change nothing; getters give a new point's values
    // and never a null name.
    c.setDataPtLabelOffset(5, sgVec3(1, 2, 3));
    c.setDataPtStartTime(5, 7);
    EXPECT_EQ(c.getDataPtStartTime(5), 0);
    EXPECT_EQ(c.getDataPtShrinkStart(-3), -1);
    expectVec(c.getDataPtLabelScale(9), 1, 1, 1);
    EXPECT_STREQ(c.getDataPtLabel(9), "");
    EXPECT_STREQ(c.getDataPtMaterialName(9), "");
    EXPECT_STREQ(c.getDataPtJointMaterialName(9), "");
    EXPECT_STREQ(c.getDataPtMaterialName(0), "");
    EXPECT_STREQ(c.getJointFile(), "");
    EXPECT_EQ(c.getDataPt(2), nullptr);
}

TEST(ChartBase, PointPositionsFollowJustification) {
    TestChart c;
    c.setNumDataPts(3);  // spacing (80, 0, 0) from point 1
    expectVec(c.getDataPtPosition(0), -80, 0, 0);
    expectVec(c.getDataPtPosition(1), 0, 0, 0);
    expectVec(c.getDataPtPosition(2), 80, 0, 0);
    expectVec(c.getDataPtPosition(-1), 0, 0, 0);
    expectVec(c.getDataPtPosition(3), 0, 0, 0);

    c.setPosition(sgVec3(10, 20, 30));
    expectVec(c.getDataPtPosition(0), -70, 20, 30);
    c.setHJust(pnChart::JUST_LEFT);
    expectVec(c.getDataPtPosition(0), 10, 20, 30);
    expectVec(c.getDataPtPosition(2), 170, 20, 30);
    c.setHJust(pnChart::JUST_RIGHT);
    expectVec(c.getDataPtPosition(0), -150, 20, 30);
    expectVec(c.getDataPtPosition(2), 10, 20, 30);
    c.setHJust(7);
    EXPECT_EQ(c.getHJust(), 1);
}

TEST(ChartBase, OffsetsAndSpacingHelpers) {
    expectVec(pnChart::orientOffset(sgVec3(5, 30, 30), sgVec3(0, 1, 0)), 5, -30, 30);
    expectVec(pnChart::orientOffset(sgVec3(5, 30, 30), sgVec3(-1, 0, 0)), 5, 30, 30);
    expectVec(pnChart::orientOffset(sgVec3(5, 30, 30), sgVec3(2, 0, 0)), -10, 30, 30);

    TestChart c;
    c.setNumDataPts(3);
    c.setSpacingDistance(50);  // direction (0, 1, 0)
    expectVec(c.getSpacing(), 50, 0, 0);
    expectVec(c.getDataPtSpacing(0), 0, 0, 0);  // the first point keeps its own
    expectVec(c.getDataPtSpacing(2), 50, 0, 0);
    EXPECT_FLOAT_EQ(c.getSpacingDistance(), 50);
    c.setDirection(sgVec3(1, 0, 0));
    c.setSpacingDistance(40);
    expectVec(c.getSpacing(), 0, 40, 0);
    EXPECT_FLOAT_EQ(c.getSpacingDistance(), 40);
}

// Each call made from a built bar chart expanding right with every spacing
// (80, 0, 0).
TEST(ChartBase, ExpansionMovesSpacingsDirectionAndOffsets) {
    struct Case {
        int e;
        sgVec3 spacing, direction;
        bool swapped;
    } cases[] = {
        {pnChart::EXPAND_UP, sgVec3(0, 80, 0), sgVec3(1, 0, 0), true},
        {pnChart::EXPAND_LEFT, sgVec3(-80, 0, 0), sgVec3(0, 1, 0), false},
        {pnChart::EXPAND_DOWN, sgVec3(0, -80, 0), sgVec3(1, 0, 0), true},
        {pnChart::EXPAND_RIGHT, sgVec3(80, 0, 0), sgVec3(0, 1, 0), false},
    };
    for (const Case& k : cases) {
        KindScene<pnBarChart> s(3);
        for (int i = 0; i < 3; ++i) s.chart->storeDataPtSpacing(i, sgVec3(80, 0, 0));
        s.show();
        s.chart->setExpansion(k.e);
        EXPECT_EQ(s.chart->getExpansion(), k.e);
        EXPECT_EQ(s.chart->getSpacing(), k.spacing) << k.e;
        for (int i = 0; i < 3; ++i) EXPECT_EQ(s.chart->getDataPtSpacing(i), k.spacing) << k.e;
        EXPECT_EQ(s.chart->getDirection(), k.direction) << k.e;
        EXPECT_EQ(s.chart->getTextOffset(), k.swapped ? sgVec3(30, 0, 30) : sgVec3(0, 30, 30)) << k.e;
        EXPECT_EQ(s.chart->getLabelOffset(), k.swapped ? sgVec3(-30, 0, 0) : sgVec3(0, -30, 0)) << k.e;
        // The bars turned with the direction and the labels moved with the
        // offsets.
        pnObject* bar = s.chart->getDataPtPart(1, pnChart::PART_MAIN);
        EXPECT_FLOAT_EQ(bar->getPivotAngle(), k.direction[0] == 1 ? -90.0f : 0.0f);
        EXPECT_EQ(s.chart->getDataPtPart(1, pnChart::PART_LABEL)->getPosition(), s.chart->getLabelPosition(1));
    }

    // From up, going left: the y component moves to x with its sign turned.
    KindScene<pnBarChart> s(2);
    s.chart->storeDataPtSpacing(1, sgVec3(80, 0, 0));
    s.show();
    s.chart->setExpansion(pnChart::EXPAND_UP);
    s.chart->setExpansion(pnChart::EXPAND_DOWN);
    EXPECT_EQ(s.chart->getDataPtSpacing(1), sgVec3(0, -80, 0));
    EXPECT_EQ(s.chart->getTextOffset(), sgVec3(30, 0, 30));  // same axis: no swap
    s.chart->setExpansion(pnChart::EXPAND_LEFT);
    EXPECT_EQ(s.chart->getDataPtSpacing(1), sgVec3(-80, 0, 0));
    // A value outside 0..3 is stored and moves nothing.
    s.chart->setExpansion(9);
    EXPECT_EQ(s.chart->getExpansion(), 9);
    EXPECT_EQ(s.chart->getDataPtSpacing(1), sgVec3(-80, 0, 0));
    EXPECT_EQ(s.chart->getDirection(), sgVec3(0, 1, 0));
}

TEST(ChartBase, ExpansionOnUnbuiltBarOrOtherKinds) {
    pnBarChart bar;
    bar.setNumDataPts(2);
    bar.setExpansion(pnChart::EXPAND_UP);
    EXPECT_EQ(bar.getExpansion(), 2);
    EXPECT_EQ(bar.getDataPtSpacing(1), sgVec3(80, 0, 0));
    EXPECT_EQ(bar.getDirection(), sgVec3(0, 1, 0));
    EXPECT_EQ(bar.getTextOffset(), sgVec3(0, 30, 30));

    for (const char* kind : {"pnPieChart", "pnLineChart", "pnVolumeChart"}) {
        ChartScene s(kind, 2);
        s.show();
        s.chart->setExpansion(pnChart::EXPAND_UP);
        EXPECT_EQ(s.chart->getExpansion(), 1) << kind;
        EXPECT_EQ(s.chart->getDirection(), sgVec3(0, 1, 0)) << kind;
    }
}

TEST(ChartBase, CopyTakesSettingsAndPointsButNoParts) {
    ChartScene s("pnBarChart", 3);
    s.chart->setLabelMaterialName("red");
    s.chart->setDataMin(5);
    s.chart->setHJust(pnChart::JUST_RIGHT);
    s.chart->setValueRot(30, sgVec3(0, 0, 1));
    s.chart->setDataPtLabel(2, "third");
    s.show();
    ASSERT_GT(s.chart->getNumObjects(), 0);

    TestChart copy;
    ASSERT_EQ(copy.copy(s.chart), 1);
    EXPECT_EQ(copy.getName(), "c");
    EXPECT_EQ(copy.getNumDataPts(), 3);
    EXPECT_STREQ(copy.getDataPtLabel(2), "third");
    EXPECT_EQ(copy.getLabelMaterialName(), "red");
    EXPECT_EQ(copy.getChartFlag(pnChart::DATA_MIN_SET), 1);
    EXPECT_EQ(copy.getHJust(), 2);
    EXPECT_FLOAT_EQ(copy.getValueRotAngle(), 30);
    EXPECT_EQ(copy.getNumObjects(), 0);
    EXPECT_EQ(copy.getNumEvents(), 0);
    EXPECT_EQ(copy.getNumEffects(), 0);
    EXPECT_EQ(copy.isBuilt(), 1);
    EXPECT_EQ(copy.getSwitchNode(), nullptr);
    // Built without nodes: a new point makes no parts, so no slot is missing.
    EXPECT_EQ(copy.appendDataPt(), 4);
    EXPECT_EQ(copy.getNumObjects(), 0);
    // The points are the copy's own.
    copy.setDataPtLabel(0, "mine");
    EXPECT_STREQ(s.chart->getDataPtLabel(0), "m");
    EXPECT_EQ(copy.copy(&copy), 1);
    EXPECT_EQ(copy.copy(nullptr), 0);

    // Copying onto a chart with parts frees them.
    ChartScene t("pnBarChart", 2);
    t.show();
    ASSERT_EQ(t.chart->copy(s.chart), 1);
    EXPECT_EQ(t.chart->getNumObjects(), 0);
    EXPECT_EQ(t.chart->getNumDataPts(), 3);
}

TEST(ChartBase, WriterPutsOutTheCommonChartKeys) {
    TestChart c;
    c.setName("sales");
    c.setNumDataPts(2);
    c.setDataPtMaterialName(1, "blue");
    c.setDataPtShrinkStart(1, 40);
    c.setDataPtShrinkEnd(1, 50);
    c.setLabelStringName("style");
    c.setHeightScale(2);
    const std::string text = writtenBy(c);
    const char* expected =
        "    name\t\"sales\"\n"
        "    forward\t0\n"
        "    baseScale\t( 1.000000 1.000000 1.000000 )\n"
        "    direction\t( 0.000000 1.000000 0.000000 )\n"
        "    showData\t1\n"
        "    showLabel\t1\n"
        "    hJust\t\"Center\"\n"
        "    labelString\t\"style\"\n"
        "    heightScale\t2.000000\n"
        "    valueRotAngle\t0.000000\n"
        "    valueRotAxis\t( 0.000000 1.000000 0.000000 )\n"
        "    valueScale\t( 1.000000 1.000000 1.000000 )\n"
        "    labelRotAngle\t0.000000\n"
        "    labelRotAxis\t( 0.000000 1.000000 0.000000 )\n"
        "    labelScale\t( 1.000000 1.000000 1.000000 )\n"
        "    labelOffset\t( 0.000000 -30.000000 0.000000 )\n"
        "    textOffset\t( 0.000000 30.000000 30.000000 )\n"
        "    spacing\t( 80.000000 0.000000 0.000000 )\n"
        "    data {\n"
        "        spacing\t( 0.000000 0.000000 0.000000 )\n"
        "        growValue\t50.000000\n"
        "        label\t\"m\"\n"
        "        text\t\"50\"\n"
        "        labelOffset\t( 0.000000 0.000000 0.000000 )\n"
        "        textOffset\t( 0.000000 0.000000 0.000000 )\n"
        "        labelScale\t( 1.000000 1.000000 1.000000 )\n"
        "        valueScale\t( 1.000000 1.000000 1.000000 )\n"
        "        labelRotAxis\t( 0.000000 1.000000 0.000000 )\n"
        "        valueRotAxis\t( 0.000000 1.000000 0.000000 )\n"
        "        labelRotAngle\t0.000000\n"
        "        valueRotAngle\t0.000000\n"
        "        text\t\"50\"\n"
        "        startTime\t0\n"
        "        endTime\t0\n"
        "    }\n"
        "    data {\n"
        "        spacing\t( 80.000000 0.000000 0.000000 )\n"
        "        growValue\t100.000000\n"
        "        label\t\"m\"\n"
        "        text\t\"100\"\n"
        "        labelOffset\t( 0.000000 0.000000 0.000000 )\n"
        "        textOffset\t( 0.000000 0.000000 0.000000 )\n"
        "        labelScale\t( 1.000000 1.000000 1.000000 )\n"
        "        valueScale\t( 1.000000 1.000000 1.000000 )\n"
        "        labelRotAxis\t( 0.000000 1.000000 0.000000 )\n"
        "        valueRotAxis\t( 0.000000 1.000000 0.000000 )\n"
        "        labelRotAngle\t0.000000\n"
        "        valueRotAngle\t0.000000\n"
        "        text\t\"100\"\n"
        "        startTime\t0\n"
        "        endTime\t0\n"
        "        shrinkStart\t40\n"
        "        shrinkEnd\t50\n"
        "        material\t\"blue\"\n"
        "    }\n";
    EXPECT_EQ(text, expected);

    // Expansion belongs to bar charts only, after the common keys; words for
    // every value.
    pnLineChart line;
    EXPECT_EQ(writtenBy(line).find("expansion"), std::string::npos);
    pnBarChart up;
    EXPECT_NE(writtenBy(up).find("    spacing\t( 80.000000 0.000000 0.000000 )\n    expansion\tright\n}\n"),
              std::string::npos);
    up.setNumDataPts(1);
    EXPECT_NE(writtenBy(up).find("    expansion\tright\n    data {\n"), std::string::npos);
    up.setExpansion(pnChart::EXPAND_DOWN);
    EXPECT_NE(writtenBy(up).find("    expansion\tdown\n"), std::string::npos);
    up.setHJust(0);
    EXPECT_NE(writtenBy(up).find("    hJust\t\"Left\"\n"), std::string::npos);
}

TEST(ChartBase, TheKindsPlaybackRuleOnOnePart) {
    // A bar under a grow effect of scale (1, 4, 1) played 0 to 30.
    TestChart bar;
    bar.setName("b");
    pnVolume part;
    pnEvent ev;
    pnEffect grow;
    grow.setScale(1, 4, 1);
    bar.setBaseScale(sgVec3(2.5f, 1, 2.5f));
    pnScene scene;
    ev.setCurFrames(0, 30);
    bar.applyChartEffect(scene, 15, &ev, &grow, &part);
    EXPECT_EQ(part.getScaleOrigin(), sgVec3(2.5f, 2.5f, 2.5f));
    EXPECT_EQ(ev.getAccScale(), sgVec3(1, 1, 1));
    bar.applyChartEffect(scene, 30, &ev, &grow, &part);
    EXPECT_EQ(part.getScaleOrigin(), sgVec3(2.5f, 4, 2.5f));
    EXPECT_EQ(ev.getAccScale(), sgVec3(1, 4, 1));

    // A volume part ignores the base scale.
    pnVolumeChart vol;
    pnEvent ev2;
    pnEffect e2;
    e2.setScale(3, 3, 1);
    ev2.setCurFrames(0, 10);
    vol.applyChartEffect(scene, 5, &ev2, &e2, &part);
    EXPECT_EQ(part.getScaleOrigin(), sgVec3(2, 2, 1));

    // A pie slice grows and shrinks by whole degrees of triangles, never
    // beyond the triangles its mesh holds.
    pnPieChart pie;
    pie.setName("p");
    pie.setShowSide(0);
    pie.setNumDataPts(4);  // 90 degrees each
    std::unique_ptr<pnObject> made(pie.makeObject(0));
    auto* slice = dynamic_cast<pnVolume*>(made.get());
    ASSERT_NE(slice, nullptr);
    std::unique_ptr<pnEffect> g(pie.makeEffect(0));
    ASSERT_EQ(g->getGrowShrink(1), 90);
    const int perDegree = g->getGrowShrink(2);
    pnEvent ev3;
    ev3.setCurFrames(0, 10);
    pie.applyChartEffect(scene, 5, &ev3, g.get(), slice);
    EXPECT_EQ(slice->getNumPrims(), 45 * perDegree + 2);
    pie.applyChartEffect(scene, 10, &ev3, g.get(), slice);
    EXPECT_EQ(slice->getNumPrims(), slice->getNumIndex() / 3);
    pie.applyChartEffect(scene, 0, &ev3, g.get(), slice);
    EXPECT_EQ(slice->getNumPrims(), 0);
    pnEffect sh;
    sh.setShrink(542, 90, perDegree);
    ev3.setCurFrames(0, 4);
    pie.applyChartEffect(scene, 1, &ev3, &sh, slice);
    EXPECT_EQ(slice->getNumPrims(), 67 * perDegree + 2);
    // Other pie parts are left alone.
    pnString text;
    pie.applyChartEffect(scene, 1, &ev3, g.get(), &text);
    EXPECT_EQ(text.getScaleOrigin(), sgVec3(1, 1, 1));
}

TEST(ChartBase, FileNamesAndOperationsOnAllPoints) {
    pnVolumeChart vol;
    vol.setFileName("cyl10x.3ds");
    EXPECT_EQ(vol.getFile(), "");
    EXPECT_EQ(vol.getSetFlag(pnObject::FILE_FLAG), 0);
    TestChart bar;
    bar.setFileName("cyl10x.3ds");
    EXPECT_EQ(bar.getFile(), "cyl10x.3ds");
    EXPECT_EQ(bar.getSetFlag(pnObject::FILE_FLAG), 1);
    bar.setFileName(nullptr);
    EXPECT_EQ(bar.getFile(), "");

    // Nothing to animate before the chart is shown.
    bar.setNumDataPts(2);
    EXPECT_EQ(bar.setDefaultGrowAll(), 0);
    EXPECT_EQ(bar.clearShrinkAll(), 0);
    ChartScene s("pnBarChart", 2);
    s.show();
    EXPECT_EQ(s.chart->setDefaultGrowAll(), 1);
    EXPECT_EQ(s.chart->clearGrowAll(), 1);
    EXPECT_EQ(s.chart->setDefaultShrinkAll(), 1);
    EXPECT_EQ(s.chart->clearShrinkAll(), 1);
    EXPECT_EQ(s.chart->setDataPtEndTime(1, 44), 1);
    EXPECT_EQ(s.chart->getDataPtEndTime(1), 44);
}

TEST(ChartBase, GeneratedNamesStayDistinctWithinTheNameLimit) {
    const std::string longName(126, 'n');
    const std::string a = pnChart::generatedName(longName, "-dataText-%03d", 1);
    const std::string b = pnChart::generatedName(longName, "-dataText-%03d", 2);
    EXPECT_LE(sgCharCount(a), 127u);
    EXPECT_NE(a, b);
    EXPECT_EQ(a.substr(a.size() - 13), "-dataText-001");
    EXPECT_EQ(pnChart::generatedName("c", "-%03d", 7), "c-007");
    EXPECT_EQ(pnChart::generatedName("c", "-text"), "c-text");
    // The limit counts characters and a cut never splits a UTF-8 sequence.
    const std::string wide = std::string(120, 'x') + "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9";
    const std::string w = pnChart::generatedName(wide, "-%03d", 1);
    EXPECT_EQ(sgCharCount(w), 127u);
    EXPECT_EQ(w, std::string(120, 'x') + "\xC3\xA9\xC3\xA9\xC3\xA9-001");
}

}  // namespace
