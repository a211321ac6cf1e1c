// The line chart: segments turned and stretched between point tops, joints,
// text events, the faults mended (layout after spacing and value changes,
// point 0's times, an empty joint file, renaming texts), the timing
// operations (one case per row of the timing table), copy and the writer.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "charts/pnVolumeChart.h"
#include "scene/pnModel.h"
#include "scene/pnString.h"
#include "sg/sgMatrix.h"
#include "tests/charts/BarLineSupport.h"
#include "tests/charts/ChartTestSupport.h"

namespace {

using LineScene = KindScene<pnLineChart>;

// Where the segment's model point (0, 1, 0) lands once the segment has grown:
// the grow effect's y scale on the inner scale, the pivot turn, the position.
sgVec3 farEnd(pnLineChart& c, int i) {
    pnObject* seg = c.getDataPtPart(i, pnChart::PART_MAIN);
    pnEvent* ev = c.getDataPtEvent(i, pnChart::PART_MAIN);
    pnEffect* grow = c.findEffect(ev->getPlay(0)->effect.c_str());
    const float y = seg->getScaleOrigin()[1] * grow->getScale()[1];
    sgMatrix r;
    const sgVec3 axis = seg->getPivotAxis();
    r.rotate(seg->getPivotAngle(), axis[0], axis[1], axis[2]);
    return seg->getPosition() + r.transformPoint(sgVec3(0, y, 0));
}

// Every segment ends on the next top, every joint and data text stands at
// its point's top.
void expectOnTops(pnLineChart& c, float tol = 1e-3f) {
    for (int i = 0; i < c.getNumDataPts(); ++i) {
        SCOPED_TRACE("point " + std::to_string(i));
        const sgVec3 top = c.getDataPtTop(i);
        if (i > 0) {
            EXPECT_EQ(c.getDataPtPart(i, pnChart::PART_MAIN)->getPosition(), c.getDataPtTop(i - 1));
            expectVec(farEnd(c, i), top, tol, "far end");
        }
        if (c.getShowJoint()) {
            EXPECT_EQ(c.getDataPtPart(i, pnChart::PART_EXTRA)->getPosition(), top);
        }
        EXPECT_EQ(c.getDataPtPart(i, pnChart::PART_DATA_TEXT)->getPosition(), c.getDataTextPosition(i));
        EXPECT_EQ(c.getDataPtPart(i, pnChart::PART_LABEL)->getPosition(), c.getLabelPosition(i));
    }
}

TEST(LineChart, DefaultsOfTheKind) {
    pnLineChart c;
    EXPECT_STREQ(c.getTypeName(), "pnLineChart");
    EXPECT_EQ(c.getFile(), "cyl10x.3ds");
    EXPECT_STREQ(c.getJointFile(), "sphere10x.3ds");
    EXPECT_EQ(c.getJointScale(), sgVec3(2, 2, 2));
    EXPECT_STREQ(c.getJointMaterialName(), "");
    EXPECT_EQ(c.getShowJoint(), 1);
    EXPECT_EQ(c.getSpacing(), sgVec3(80, 0, 0));
    EXPECT_EQ(c.getBaseScale(), sgVec3(1, 1, 1));
    EXPECT_EQ(c.copy(nullptr), 0);
    EXPECT_EQ(c.copy(&c), 1);
}

TEST(LineChart, GeneratedPartsEffectsAndEvents) {
    LineScene s(3);
    s.chart->setMaterial("steel");
    s.chart->setJointMaterialName("chrome");
    s.chart->setDataPtJointMaterialName(2, "gold");
    s.chart->setDataPtShrinkStart(2, 40);
    s.chart->setDataPtShrinkEnd(2, 50);
    s.show();
    expectSlots(*s.chart);
    // Point 0: data text, label, joint; later points: segment first.
    const char* objects[] = {"c-dataText-000", "c-label-000", "c-joint-000", "c-001", "c-dataText-001",
                             "c-label-001",    "c-joint-001", "c-002",       "c-dataText-002", "c-label-002",
                             "c-joint-002"};
    ASSERT_EQ(s.chart->getNumObjects(), 11);
    for (int k = 0; k < 11; ++k) EXPECT_EQ(s.chart->getObject(k)->getName(), objects[k]);
    const char* effects[] = {"c-text", "c-joint", "c-001", "c-002", "c-shrink-002"};
    ASSERT_EQ(s.chart->getNumEffects(), 5);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(s.chart->getEffect(k)->getName(), effects[k]);

    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        pnObject* joint = s.chart->getDataPtPart(i, pnChart::PART_EXTRA);
        EXPECT_STREQ(joint->getTypeName(), "pnModel");
        EXPECT_EQ(joint->getFile(), "sphere10x.3ds");
        EXPECT_EQ(joint->getLineFlag(), 1);
        // The joint scale is the joint's inner scale, as the base scale is
        // the segments'.
        EXPECT_EQ(joint->getScaleOrigin(), sgVec3(2, 2, 2));
        EXPECT_EQ(joint->getScale(), sgVec3(1, 1, 1));
        EXPECT_EQ(joint->getMaterialName(), i == 2 ? "gold" : "chrome");
        EXPECT_EQ(joint->getPosition(), s.chart->getDataPtPosition(i) + sgVec3(0, 10.0f * (i + 1), 0));
        if (i == 0) continue;
        pnObject* seg = s.chart->getDataPtPart(i, pnChart::PART_MAIN);
        EXPECT_STREQ(seg->getTypeName(), "pnModel");
        EXPECT_EQ(seg->getFile(), "cyl10x.3ds");
        EXPECT_EQ(seg->getMaterialName(), "steel");
        EXPECT_EQ(seg->getScaleOrigin(), sgVec3(1, 1, 1));
        EXPECT_EQ(seg->getLineFlag(), 0);
        // From (x, 10i) to (x + 80, 10(i + 1)).
        const float length = std::sqrt(80.0f * 80.0f + 100.0f);
        EXPECT_NEAR(s.chart->findEffect(s.chart->generatedName("-%03d", i).c_str())->getScale()[1], length, 1e-4);
        EXPECT_NEAR(seg->getPivotAngle(), std::acos(10.0f / length) * 57.29578f, 1e-3);
        EXPECT_EQ(seg->getPivotAxis(), sgVec3(0, 0, -1));
    }
    expectOnTops(*s.chart);
    EXPECT_FLOAT_EQ(s.chart->getSegmentLength(), std::sqrt(80.0f * 80.0f + 100.0f));

    // Events: the segment hides from the shrink's end; joints and texts show
    // at the end of the point's grow and hide at the shrink's start.
    expectPlays(s.chart->getDataPtEvent(2, pnChart::PART_MAIN),
                {{"c-002", 5, 25, 1}, {"c-shrink-002", 40, 50, 1}, {"c-shrink-002", 50, 51, 0}}, "segment");
    expectPlays(s.chart->getDataPtEvent(2, pnChart::PART_EXTRA), {{"c-joint", 25, 25, 1}, {"c-joint", 40, 41, 0}},
                "joint");
    expectPlays(s.chart->getDataPtEvent(2, pnChart::PART_DATA_TEXT), {{"c-text", 25, 25, 1}, {"c-text", 40, 41, 0}},
                "data text");
    expectPlays(s.chart->getDataPtEvent(2, pnChart::PART_LABEL), {{"c-text", 25, 25, 1}, {"c-text", 40, 41, 0}},
                "label");
    expectPlays(s.chart->getDataPtEvent(1, pnChart::PART_LABEL), {{"c-text", 25, 25, 1}}, "label 1");
    for (int k = 0; k < s.chart->getNumEvents(); ++k) EXPECT_EQ(s.chart->getEvent(k)->getParent(), "show");
    EXPECT_EQ(s.chart->makeEvent(0, "show"), nullptr);
    EXPECT_EQ(s.chart->makeEffect(0), nullptr);
    EXPECT_EQ(s.chart->makeObject(0), nullptr);
    EXPECT_EQ(s.chart->makeShrinkEffect(1), nullptr);
}

TEST(LineChart, HiddenTextsKeepTheirEventsDisabled) {
    LineScene s(2);
    s.chart->setShowData(0);
    s.show();
    pnEvent* data = s.chart->getDataPtEvent(1, pnChart::PART_DATA_TEXT);
    EXPECT_EQ(data->getHidden(), 1);
    EXPECT_EQ(data->getPlay(0)->visible, 0);
    EXPECT_EQ(s.chart->getDataPtPart(1, pnChart::PART_DATA_TEXT)->getVisible(), 0);
    EXPECT_EQ(s.chart->getDataPtEvent(1, pnChart::PART_LABEL)->getHidden(), 0);
}

TEST(LineChart, VerticalSegmentsTurnAboutX) {
    LineScene s(3);
    s.chart->setDataPtSpacing(1, sgVec3(0, 0, 0));
    s.chart->setDataPtSpacing(2, sgVec3(0, 0, 0));
    s.chart->setDataPtGrowValue(2, -40);
    s.show();
    pnObject* up = s.chart->getDataPtPart(1, pnChart::PART_MAIN);
    EXPECT_FLOAT_EQ(up->getPivotAngle(), 0);
    EXPECT_EQ(up->getPivotAxis(), sgVec3(1, 0, 0));
    pnObject* down = s.chart->getDataPtPart(2, pnChart::PART_MAIN);
    EXPECT_FLOAT_EQ(down->getPivotAngle(), 180);
    EXPECT_EQ(down->getPivotAxis(), sgVec3(1, 0, 0));
    EXPECT_EQ(s.chart->findEffect("c-002")->getScale(), sgVec3(1, 60, 1));
    expectOnTops(*s.chart);

    // Two points on one top: no length, no turn, nothing undefined.
    s.chart->setDataPtGrowValue(2, 20);
    EXPECT_FLOAT_EQ(down->getPivotAngle(), 0);
    EXPECT_EQ(s.chart->findEffect("c-002")->getScale(), sgVec3(1, 0, 1));
}

TEST(LineChart, SegmentsEndOnTheNextTopInEveryDirection) {
    // Ten segments in ten directions: along x both ways, along z, diagonal,
    // rising and falling, across the base line, and one nearly vertical
    // (where the angle's cosine is close to 1).
    const sgVec3 spacings[] = {sgVec3(80, 0, 0),  sgVec3(80, 0, 0),   sgVec3(-60, 0, 0), sgVec3(0, 0, 70),
                               sgVec3(0, 0, -90), sgVec3(30, 0, -50), sgVec3(40, 20, 0), sgVec3(0.001f, 0, 0),
                               sgVec3(-25, 0, 25), sgVec3(80, -10, 5)};
    const double values[] = {10, 90, 20, 20, 75, -30, -30, 45, 145, -60, 5};
    LineScene s(11);
    for (int i = 0; i < 11; ++i) {
        s.chart->setDataPtGrowValue(i, values[i]);
        if (i > 0) s.chart->setDataPtSpacing(i, spacings[i - 1]);
    }
    s.chart->setPosition(sgVec3(5, -20, 3));
    s.show();
    for (int i = 1; i < 11; ++i) {
        SCOPED_TRACE(i);
        pnObject* seg = s.chart->getDataPtPart(i, pnChart::PART_MAIN);
        EXPECT_FALSE(std::isnan(seg->getPivotAngle()));
        expectVec(farEnd(*s.chart, i), s.chart->getDataPtTop(i), 1e-4f, "far end");
    }
    // The nearly vertical segment turns by a hair, about -z.
    // (The spacing itself carries the rounding of float positions near 100.)
    EXPECT_NEAR(s.chart->getDataPtPart(8, pnChart::PART_MAIN)->getPivotAngle(), 0.001 / 100 * 57.29578, 3e-5);
}

TEST(LineChart, SpacingChangesLayTheWholeChartOut) {
    LineScene s(4);
    s.chart->setHJust(pnChart::JUST_LEFT);
    s.show();
    // Point 1 moves, and every later point with it: not only the two
    // segments beside point 1.
    s.chart->setDataPtSpacing(1, sgVec3(120, 0, 0));
    EXPECT_EQ(s.chart->getDataPtTop(3), sgVec3(120 + 80 + 80, 40, 0));
    expectOnTops(*s.chart);
    s.chart->storeDataPtSpacing(2, sgVec3(0, 0, 50));
    expectOnTops(*s.chart);
    s.chart->setSpacing(sgVec3(60, 0, 0));
    EXPECT_EQ(s.chart->getDataPtSpacing(3), sgVec3(60, 0, 0));
    expectOnTops(*s.chart);
    s.chart->setDataPtSpacingDistance(3, 25);
    EXPECT_EQ(s.chart->getDataPtSpacing(3), sgVec3(25, 0, 0));
    expectOnTops(*s.chart);
    s.chart->setHJust(pnChart::JUST_RIGHT);
    s.chart->setPosition(sgVec3(0, 10, 0));
    expectOnTops(*s.chart);

    DiagnosticLog log;
    s.chart->setDataPtSpacing(4, sgVec3(1, 0, 0));
    EXPECT_NE(log.text().find("TORVIS: [pnLineChart::setDataPtSpacing] data pt index out of range\n"),
              std::string::npos);
}

TEST(LineChart, ValueChangesMoveBothSegmentsTheJointAndTheTexts) {
    LineScene s(3);
    s.show();
    s.chart->setDataPtGrowValue(1, 70);
    expectOnTops(*s.chart);
    EXPECT_EQ(s.chart->getDataPtPart(1, pnChart::PART_EXTRA)->getPosition(), sgVec3(0, 70, 0));
    EXPECT_EQ(s.chart->getDataPtPart(1, pnChart::PART_DATA_TEXT)->getPosition(), sgVec3(0, 70 + 30, 30));
    // A negative value puts the data text below the top.
    s.chart->setDataPtGrowValue(1, -20);
    expectOnTops(*s.chart);
    EXPECT_EQ(s.chart->getDataPtPart(1, pnChart::PART_DATA_TEXT)->getPosition(), sgVec3(0, -20 - 30, 30));
    // The mapping setters go through the same path.
    s.chart->setHeightScale(2);
    expectOnTops(*s.chart);
    EXPECT_EQ(s.chart->getDataPtTop(2), sgVec3(80, 60, 0));

    DiagnosticLog log;
    s.chart->setDataPtGrowValue(3, 1);
    EXPECT_TRUE(printed(log.text(), "[pnLineChart::setDataPtGrowValue] ", "data pt index out of range"));
}

TEST(LineChart, APointAloneTakesItsTimesFromItsOwnRecord) {
    LineScene s(1);
    s.chart->setDataPtShrinkStart(0, 40);
    s.chart->setDataPtShrinkEnd(0, 50);
    s.show();
    expectSlots(*s.chart);
    ASSERT_EQ(s.chart->getNumObjects(), 3);
    expectPlays(s.chart->getDataPtEvent(0, pnChart::PART_EXTRA), {{"c-joint", 25, 25, 1}, {"c-joint", 40, 41, 0}},
                "joint");
    expectPlays(s.chart->getDataPtEvent(0, pnChart::PART_DATA_TEXT), {{"c-text", 25, 25, 1}, {"c-text", 40, 41, 0}},
                "data text");
    // Point 0 of a longer chart comes with point 1's segment: its start.
    LineScene two(2);
    two.chart->setDataPtStartTime(1, 60);
    two.chart->setDataPtEndTime(1, 90);
    two.show();
    expectPlays(two.chart->getDataPtEvent(0, pnChart::PART_LABEL), {{"c-text", 60, 60, 1}}, "label");
    expectPlays(two.chart->getDataPtEvent(0, pnChart::PART_EXTRA), {{"c-joint", 60, 60, 1}}, "joint");
}

// Point 0's texts (and joint) play as in a chart of the same kind built
// afresh from the same points, as a reopen builds it.
void expectFirstPointAsBuilt(const pnChart& c) {
    auto fresh = [&](auto* made) {
        using K = std::remove_pointer_t<decltype(made)>;
        auto built = std::make_unique<KindScene<K>>(0);
        for (int i = 0; i < c.getNumDataPts(); ++i) built->chart->addDataPt(*c.getDataPt(i));
        built->show();
        for (int which : {pnChart::PART_DATA_TEXT, pnChart::PART_LABEL, pnChart::PART_EXTRA}) {
            const pnEvent* want = built->chart->getDataPtEvent(0, which);
            EXPECT_EQ(describePlays(c.getDataPtEvent(0, which)), describePlays(want)) << "point 0 part " << which;
        }
    };
    if (dynamic_cast<const pnLineChart*>(&c))
        fresh(static_cast<pnLineChart*>(nullptr));
    else
        fresh(static_cast<pnVolumeChart*>(nullptr));
}

// Point 0 of a line or area chart has no segment of its own: its texts (and
// the line's joint) come with point 1's segment, shown at point 1's start.
// The texts hide at the end of point 1's shrink, one rule for both kinds;
// the line's first joint hides at its own shrink start, as every joint does.
template <class K>
void expectPointZeroFollowsPointOne(const char* kind) {
    SCOPED_TRACE(kind);
    KindScene<K> s(2);
    s.chart->setDataPtShrinkStart(0, 70);  // point 0's own shrink: its joint's alone
    s.chart->setDataPtShrinkEnd(0, 80);
    s.chart->setDataPtStartTime(1, 5);
    s.chart->setDataPtEndTime(1, 25);
    s.chart->setDataPtShrinkStart(1, 40);
    s.chart->setDataPtShrinkEnd(1, 50);
    s.show();
    const char* text = "c-text";
    for (int which : {pnChart::PART_DATA_TEXT, pnChart::PART_LABEL})
        expectPlays(s.chart->getDataPtEvent(0, which), {{text, 5, 5, 1}, {text, 50, 51, 0}},
                    which == pnChart::PART_LABEL ? "label" : "data text");
    if (s.chart->hasPartSlot(0, pnChart::PART_EXTRA))
        expectPlays(s.chart->getDataPtEvent(0, pnChart::PART_EXTRA), {{"c-joint", 5, 5, 1}, {"c-joint", 70, 71, 0}},
                    "joint");
}

TEST(LineChart, PointZeroComesWithPointOnesSegmentLikeTheAreaChart) {
    expectPointZeroFollowsPointOne<pnLineChart>("line");
    expectPointZeroFollowsPointOne<pnVolumeChart>("area");
    LineScene line(2);
    line.show();
    EXPECT_TRUE(line.chart->hasPartSlot(0, pnChart::PART_EXTRA));  // the joint was checked
}

// Edits of point 0's and point 1's frames, as Grow/Shrink, the time line's
// scaling and Graph Data make them, and of which point is point 1: after
// each, point 0's texts and joint play as in the chart built afresh (a
// reopen), so the chart draws the same before and after a save.
template <class K>
void expectEditsKeepPointZeroAsBuilt(const char* kind) {
    SCOPED_TRACE(kind);
    KindScene<K> s(3);
    s.show();
    pnChart& c = *s.chart;
    const struct {
        const char* what;
        std::function<void()> edit;
    } edits[] = {
        {"+ G on every point (0 to 20)", [&] {
             for (int i = 0; i < 3; ++i) {
                 c.setDataPtDefaultGrow(i);
                 c.setDataPtStartTime(i, 0);
                 c.setDataPtEndTime(i, 20);
             }
         }},
        {"point 1's start moved to 12", [&] { c.setDataPtStartTime(1, 12); }},
        {"point 0's end moved to 40", [&] { c.setDataPtEndTime(0, 40); }},
        {"point 0's grow cleared", [&] { c.clearDataPtGrow(0); }},
        {"point 1's grow cleared", [&] { c.clearDataPtGrow(1); }},
        {"point 1 grows again", [&] { c.setDataPtDefaultGrow(1); }},
        {"point 0 shrinks", [&] { c.setDataPtDefaultShrink(0); }},
        {"point 1 shrinks", [&] { c.setDataPtDefaultShrink(1); }},
        {"point 0's shrink from 45", [&] { c.setDataPtShrinkStart(0, 45); }},
        {"point 1's shrink to 70", [&] {
             c.setDataPtShrinkStart(1, 50);
             c.setDataPtShrinkEnd(1, 70);
         }},
        {"point 1's shrink cleared", [&] { c.clearDataPtShrink(1); }},
        {"point 0 deleted", [&] { c.deleteDataPt(0); }},
        {"down to one point", [&] { c.deleteDataPt(1); }},
        {"a point appended", [&] { c.appendDataPt(); }},
        {"every time doubled (Timeline Options)", [&] {
             for (int i = 0; i < c.getNumDataPts(); ++i) {
                 if (c.getDataPtShrinkEnd(i) > 0) c.setDataPtShrinkEnd(i, 2 * c.getDataPtShrinkEnd(i));
                 if (c.getDataPtShrinkStart(i) > 0) c.setDataPtShrinkStart(i, 2 * c.getDataPtShrinkStart(i));
                 if (c.getDataPtEndTime(i) > 0) c.setDataPtEndTime(i, 2 * c.getDataPtEndTime(i));
                 if (c.getDataPtStartTime(i) > 0) c.setDataPtStartTime(i, 2 * c.getDataPtStartTime(i));
             }
         }},
    };
    for (const auto& e : edits) {
        SCOPED_TRACE(e.what);
        e.edit();
        expectFirstPointAsBuilt(c);
    }
}

TEST(LineChart, EditsGivePointZeroTheTimesABuildGivesIt) {
    expectEditsKeepPointZeroAsBuilt<pnLineChart>("line");
    expectEditsKeepPointZeroAsBuilt<pnVolumeChart>("area");
}

TEST(LineChart, JointsAreShownOnlyWithAJointFile) {
    LineScene s(3);
    s.chart->setJointFile("");
    EXPECT_EQ(s.chart->getShowJoint(), 0);
    {
        DiagnosticLog log;
        s.show();
        EXPECT_EQ(log.text().find("joint model not specified"), std::string::npos);
    }
    expectSlots(*s.chart);
    EXPECT_EQ(s.chart->getNumObjects(), 8);
    EXPECT_EQ(s.chart->getDataPtObjectIndex(2), 5);
    EXPECT_EQ(s.chart->findObject("c-joint-000"), nullptr);
    EXPECT_EQ(writtenBy(*s.chart).find("joint"), std::string::npos);
    {
        DiagnosticLog log;
        EXPECT_EQ(s.chart->makeSubObject(0), nullptr);
        EXPECT_TRUE(printed(log.text(), "[pnLineChart::makeSubObject]", " joint model not specified for line chart."));
    }

    // A shown chart whose joints come back makes its parts again with the
    // joints' slots, and the other way round.
    s.chart->setDataPtShrinkStart(1, 40);
    s.chart->setDataPtShrinkEnd(1, 50);
    s.chart->setJointFile("box.3ds");
    EXPECT_EQ(s.chart->getShowJoint(), 1);
    expectSlots(*s.chart);
    EXPECT_EQ(s.chart->getNumObjects(), 11);
    EXPECT_EQ(s.chart->getDataPtPart(2, pnChart::PART_EXTRA)->getFile(), "box.3ds");
    EXPECT_EQ(s.chart->getDataPtEvent(2, pnChart::PART_EXTRA)->getParent(), "show");
    EXPECT_NE(s.chart->findEffect("c-shrink-001"), nullptr);
    expectOnTops(*s.chart);
    s.chart->setJointFile("sphere10x.3ds");
    EXPECT_EQ(s.chart->getDataPtPart(0, pnChart::PART_EXTRA)->getFile(), "sphere10x.3ds");
    EXPECT_EQ(s.chart->getNumObjects(), 11);
    s.chart->setJointFile(nullptr);
    expectSlots(*s.chart);
    EXPECT_EQ(s.chart->getNumObjects(), 8);
}

TEST(LineChart, RenamingRenamesSegmentsJointsTextsAndEffects) {
    LineScene s(3);
    s.chart->setDataPtShrinkStart(2, 40);
    s.chart->setDataPtShrinkEnd(2, 50);
    s.show();
    s.chart->setName("trend");
    expectSlots(*s.chart);
    EXPECT_EQ(s.chart->getDataPtPart(1, pnChart::PART_DATA_TEXT)->getName(), "trend-dataText-001");
    EXPECT_EQ(s.chart->getDataPtPart(0, pnChart::PART_LABEL)->getName(), "trend-label-000");
    for (const char* e : {"trend-001", "trend-002", "trend-shrink-002", "trend-joint", "trend-text"})
        EXPECT_NE(s.chart->findEffect(e), nullptr) << e;
    EXPECT_EQ(s.chart->getNumEffects(), 5);
    EXPECT_EQ(s.chart->getDataPtEvent(2, pnChart::PART_EXTRA)->getPlay(1)->effect, "trend-joint");
    EXPECT_EQ(s.chart->getDataPtEvent(2, pnChart::PART_MAIN)->getPlay(2)->effect, "trend-shrink-002");
}

TEST(LineChart, DeletingPointsRejoinsTheSegments) {
    LineScene s(4);
    s.show();
    ASSERT_EQ(s.chart->deleteDataPt(1), 1);
    expectSlots(*s.chart);
    // The former point 2's segment now joins point 0 to it.
    EXPECT_DOUBLE_EQ(s.chart->getDataPtGrowValue(1), 30);
    expectOnTops(*s.chart);
    EXPECT_EQ(s.chart->getDataPtEvent(1, pnChart::PART_MAIN)->getPlay(0)->effect, "c-001");
    EXPECT_EQ(s.chart->findEffect("c-003"), nullptr);
    // Point 0 goes: the new point 0 loses its segment.
    ASSERT_EQ(s.chart->deleteDataPt(0), 1);
    expectSlots(*s.chart);
    EXPECT_EQ(s.chart->getNumObjects(), 7);
    expectOnTops(*s.chart);
    EXPECT_EQ(s.chart->findEffect("c-002"), nullptr);
    EXPECT_NE(s.chart->findEffect("c-001"), nullptr);
    ASSERT_EQ(s.chart->deleteDataPt(1), 1);
    ASSERT_EQ(s.chart->deleteDataPt(0), 1);
    EXPECT_EQ(s.chart->getNumObjects(), 0);
    EXPECT_EQ(s.chart->getNumEvents(), 0);

    DiagnosticLog log;
    EXPECT_EQ(s.chart->deleteDataPt(0), 0);
    EXPECT_TRUE(printed(log.text(), "[pnLineChart::deleteDataPt] ", "index out of range deleting a chart data"));
    // Appending to a chart brought back to one point.
    s.chart->setNumDataPts(1);
    EXPECT_EQ(s.chart->appendDataPt(), 2);
    expectSlots(*s.chart);
    expectOnTops(*s.chart);
}

TEST(LineChart, JointAndScaleSetters) {
    LineScene s(3);
    EXPECT_EQ(s.chart->setScaleAll(sgVec3(2, 2, 2)), 0);
    s.show();
    s.chart->setJointScaleXYZ(3, 3, 3);
    s.chart->setJointScaleY(5);
    EXPECT_EQ(s.chart->getJointScale(), sgVec3(3, 5, 3));
    EXPECT_EQ(s.chart->getDataPtPart(1, pnChart::PART_EXTRA)->getScaleOrigin(), sgVec3(3, 5, 3));
    s.chart->setJointScaleX(1);
    s.chart->setJointScaleZ(7);
    EXPECT_EQ(s.chart->getDataPtPart(0, pnChart::PART_EXTRA)->getScaleOrigin(), sgVec3(1, 5, 7));

    EXPECT_EQ(s.chart->setBaseScale(sgVec3(2, 1, 2)), 3);
    EXPECT_EQ(s.chart->getDataPtPart(2, pnChart::PART_MAIN)->getScaleOrigin(), sgVec3(2, 1, 2));
    EXPECT_EQ(s.chart->getDataPtPart(2, pnChart::PART_EXTRA)->getScaleOrigin(), sgVec3(1, 5, 7));

    EXPECT_EQ(s.chart->setScaleAll(sgVec3(0.5f, 0.5f, 0.5f)), 3);
    for (int k = 0; k < s.chart->getNumObjects(); ++k)
        EXPECT_EQ(s.chart->getObject(k)->getScale(), sgVec3(0.5f, 0.5f, 0.5f));
    EXPECT_EQ(s.chart->getSetFlag(pnObject::SCALE_FLAG), 1);

    s.chart->setDataPtJointMaterialName(1, "gold");
    EXPECT_STREQ(s.chart->getDataPtJointMaterialName(1), "gold");
    EXPECT_EQ(s.chart->getDataPtPart(1, pnChart::PART_EXTRA)->getMaterialName(), "gold");
    s.chart->setJointMaterialName("chrome");
    for (int i = 0; i < 3; ++i) {
        EXPECT_STREQ(s.chart->getDataPtJointMaterialName(i), "chrome");
        EXPECT_EQ(s.chart->getDataPtPart(i, pnChart::PART_EXTRA)->getMaterialName(), "chrome");
    }
    DiagnosticLog log;
    s.chart->setDataPtJointMaterialName(3, "x");
    EXPECT_TRUE(printed(log.text(), "[pnLineChart::setDataPtJointMaterialName] ", "data pt index out of range"));
}

// ---- the timing table: one case per row ----

struct TimingRow {
    const char* name;
    bool shrinking;  // the point starts with a shrink from 40 to 50
    std::function<int(pnLineChart&, int)> op;
    int builtResult, unbuiltResult;
    int start, end, shrinkStart, shrinkEnd;
    std::vector<Play> segment, joint, text;  // text: data text and label alike
};

std::vector<TimingRow> lineRows() {
    return {
        {"DefaultGrow", false, [](pnLineChart& c, int i) { return c.setDataPtDefaultGrow(i); }, 1, 1, 0, 30, -1, -1,
         {{"#", 0, 30, 1}}, {{"c-joint", 30, 30, 1}}, {{"c-text", 30, 30, 1}}},
        {"ClearGrow", false, [](pnLineChart& c, int i) { return c.clearDataPtGrow(i); }, 1, 1, 0, 0, -1, -1,
         {{"#", 0, 0, 1}}, {{"c-joint", 0, 0, 1}}, {{"c-text", 0, 0, 1}}},
        {"DefaultShrink", false, [](pnLineChart& c, int i) { return c.setDataPtDefaultShrink(i); }, 1, 1, 5, 25, 35,
         45,
         {{"#", 5, 25, 1}, {"shrink", 35, 45, 1}, {"shrink", 45, 46, 0}},
         {{"c-joint", 25, 25, 1}, {"c-joint", 35, 36, 0}},
         {{"c-text", 25, 25, 1}, {"c-text", 45, 46, 0}}},
        {"ClearShrink", true, [](pnLineChart& c, int i) { return c.clearDataPtShrink(i); }, 1, 1, 5, 25, -1, -1,
         {{"#", 5, 25, 1}}, {{"c-joint", 25, 25, 1}}, {{"c-text", 25, 25, 1}}},
        {"StartTime", false, [](pnLineChart& c, int i) { return c.setDataPtStartTime(i, 12); }, 1, 0, 12, 25, -1, -1,
         {{"#", 12, 25, 1}}, {{"c-joint", 25, 25, 1}}, {{"c-text", 25, 25, 1}}},
        {"EndTime", false, [](pnLineChart& c, int i) { return c.setDataPtEndTime(i, 28); }, 1, 0, 5, 28, -1, -1,
         {{"#", 5, 28, 1}}, {{"c-joint", 28, 29, 1}}, {{"c-text", 28, 29, 1}}},
        {"ShrinkStart", true, [](pnLineChart& c, int i) { return c.setDataPtShrinkStart(i, 42); }, 1, 0, 5, 25, 42,
         50,
         {{"#", 5, 25, 1}, {"shrink", 42, 50, 1}, {"shrink", 50, 51, 0}},
         {{"c-joint", 25, 25, 1}, {"c-joint", 42, 43, 0}},
         {{"c-text", 25, 25, 1}, {"c-text", 42, 43, 0}}},
        {"ShrinkEnd", true, [](pnLineChart& c, int i) { return c.setDataPtShrinkEnd(i, 55); }, 1, 0, 5, 25, 40, 55,
         {{"#", 5, 25, 1}, {"shrink", 40, 55, 1}, {"shrink", 55, 56, 0}},
         {{"c-joint", 25, 25, 1}, {"c-joint", 40, 41, 0}},
         {{"c-text", 25, 25, 1}, {"c-text", 40, 41, 0}}},
    };
}

class LineTiming : public ::testing::TestWithParam<std::tuple<TimingRow, int>> {};

TEST_P(LineTiming, PlaysOfEveryEvent) {
    const TimingRow& row = std::get<0>(GetParam());
    const int i = std::get<1>(GetParam());
    LineScene s(3);
    if (row.shrinking) {
        s.chart->setDataPtShrinkStart(i, 40);
        s.chart->setDataPtShrinkEnd(i, 50);
    }
    if (i == 0) {
        // Point 0's texts and joint come with point 1's segment: shown at its
        // start, hidden at the end of its shrink, whatever the operation did
        // to point 0's own frames. Point 1 gets the frames that make them the
        // other points' (shown at 25, hidden at 40).
        s.chart->setDataPtStartTime(1, 25);
        if (row.shrinking) {
            s.chart->setDataPtShrinkStart(1, 30);
            s.chart->setDataPtShrinkEnd(1, 40);
        }
    }
    s.show();
    const std::vector<std::string> before = chartPlays(*s.chart);

    EXPECT_EQ(row.op(*s.chart, i), row.builtResult);
    expectFrames(*s.chart, i, row.start, row.end, row.shrinkStart, row.shrinkEnd);
    if (i > 0)
        expectPlays(s.chart->getDataPtEvent(i, pnChart::PART_MAIN), forPoint(row.segment, *s.chart, i), "segment");
    else
        EXPECT_EQ(s.chart->getDataPtEvent(i, pnChart::PART_MAIN), nullptr);
    if (i > 0) {
        expectPlays(s.chart->getDataPtEvent(i, pnChart::PART_EXTRA), row.joint, "joint");
        expectPlays(s.chart->getDataPtEvent(i, pnChart::PART_DATA_TEXT), row.text, "data text");
        expectPlays(s.chart->getDataPtEvent(i, pnChart::PART_LABEL), row.text, "label");
    } else {
        expectFirstPointAsBuilt(*s.chart);
    }
    expectOnlyPointChanged(*s.chart, i, before);

    // Unbuilt, the fields change alike (the frame setters report 0).
    LineScene plain(3);
    if (row.shrinking) {
        plain.chart->setDataPtShrinkStart(i, 40);
        plain.chart->setDataPtShrinkEnd(i, 50);
    }
    EXPECT_EQ(row.op(*plain.chart, i), row.unbuiltResult);
    expectFrames(*plain.chart, i, row.start, row.end, row.shrinkStart, row.shrinkEnd);
    EXPECT_EQ(plain.chart->getNumEvents(), 0);

    EXPECT_EQ(row.op(*s.chart, 3), 0);
    EXPECT_EQ(row.op(*s.chart, -1), 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, LineTiming,
                         ::testing::Combine(::testing::ValuesIn(lineRows()), ::testing::Values(0, 2)),
                         [](const ::testing::TestParamInfo<LineTiming::ParamType>& row) {
                             return std::string(std::get<0>(row.param).name) + "_point" +
                                    std::to_string(std::get<1>(row.param));
                         });

TEST(LineChart, ClearingTheGrowOfAShrinkingPointIsRefused) {
    LineScene s(2);
    s.show();
    ASSERT_EQ(s.chart->setDataPtDefaultShrink(1), 1);
    const std::string plays = describePlays(s.chart->getDataPtEvent(1, pnChart::PART_MAIN));
    EXPECT_EQ(s.chart->clearDataPtGrow(1), 0);
    EXPECT_EQ(s.chart->getDataPtEndTime(1), 25);
    EXPECT_EQ(describePlays(s.chart->getDataPtEvent(1, pnChart::PART_MAIN)), plays);
    EXPECT_EQ(s.chart->findEffect("c-shrink-001")->getScale(), sgVec3(1, 1, 1));
}

TEST(LineChart, CopyTakesTheJointSettings) {
    pnLineChart source;
    source.setNumDataPts(3);
    source.setJointMaterialName("chrome");
    source.setJointScale(sgVec3(4, 4, 4));
    source.setJointFile("ball.3ds");
    pnLineChart copy;
    ASSERT_EQ(copy.copy(&source), 1);
    EXPECT_EQ(copy.getNumDataPts(), 3);
    EXPECT_STREQ(copy.getJointFile(), "ball.3ds");
    EXPECT_EQ(copy.getJointScale(), sgVec3(4, 4, 4));
    source.setJointMaterialName("rust");
    EXPECT_STREQ(copy.getJointMaterialName(), "chrome");
    EXPECT_EQ(copy.getNumObjects(), 0);
    // Another kind gives its chart part only.
    pnBarChart bar;
    bar.setNumDataPts(2);
    ASSERT_EQ(copy.copy(&bar), 1);
    EXPECT_EQ(copy.getNumDataPts(), 2);
    EXPECT_STREQ(copy.getJointFile(), "ball.3ds");
}

TEST(LineChart, WriterPutsTheJointKeysFirst) {
    LineScene s(2);
    s.chart->setJointMaterialName("chrome");
    const std::string text = writtenBy(*s.chart);
    ASSERT_EQ(text.rfind("lineChart {\n    jointFile\t\"sphere10x.3ds\"\n    jointMaterial\t\"chrome\"\n"
                         "    jointScale\t( 2.000000 2.000000 2.000000 )\n    name\t\"c\"\n",
                         0),
              0u)
        << text;
    EXPECT_EQ(text.substr(text.size() - 3), "}\n\n");
    EXPECT_NE(text.find("        jointMaterial\t\"chrome\"\n"), std::string::npos);
    EXPECT_EQ(text.find("expansion"), std::string::npos);
    // Backslashes become slashes under path conversion.
    s.chart->setJointFile("ChartSlices\\sphere10x.3ds");
    char* buf = nullptr;
    size_t len = 0;
    FILE* f = open_memstream(&buf, &len);
    s.chart->write(f, 1);
    std::fclose(f);
    EXPECT_NE(std::string(buf, len).find("jointFile\t\"ChartSlices/sphere10x.3ds\""), std::string::npos);
    std::free(buf);
}

}  // namespace
