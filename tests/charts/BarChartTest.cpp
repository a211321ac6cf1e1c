// The bar chart: its parts and where they stand, grow effects, directions,
// deleting points, the setters that reach the parts, the timing operations
// (one case per row of the timing table) and the writer.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "scene/pnModel.h"
#include "scene/pnString.h"
#include "tests/charts/BarLineSupport.h"
#include "tests/charts/ChartTestSupport.h"

namespace {

using BarScene = KindScene<pnBarChart>;

TEST(BarChart, DefaultsOfTheKind) {
    pnBarChart c;
    EXPECT_STREQ(c.getTypeName(), "pnBarChart");
    EXPECT_EQ(c.getFile(), "cyl10x.3ds");
    EXPECT_EQ(c.getBaseScale(), sgVec3(2.5f, 1, 2.5f));
    EXPECT_EQ(c.getSpacing(), sgVec3(80, 0, 0));
    EXPECT_EQ(c.isChart(), 1);
    EXPECT_EQ(c.getShowJoint(), 0);
    EXPECT_EQ(c.copy(nullptr), 0);
    EXPECT_EQ(c.copy(&c), 1);
}

TEST(BarChart, GeneratedPartsAndTheirPlaces) {
    BarScene s(3);
    s.chart->setMaterial("steel");
    s.chart->setDataPtMaterialName(1, "gold");
    s.chart->setRotAngle(20);
    s.chart->setHighlight(1);
    s.chart->setPosition(sgVec3(10, -50, 0));
    s.show();
    expectSlots(*s.chart);
    ASSERT_EQ(s.chart->getNumObjects(), 9);
    // The text effect, then one grow effect per point (no point shrinks).
    ASSERT_EQ(s.chart->getNumEffects(), 4);
    EXPECT_EQ(s.chart->getEffect(0)->getName(), "c-text");
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        pnObject* bar = s.chart->getDataPtPart(i, pnChart::PART_MAIN);
        EXPECT_STREQ(bar->getTypeName(), "pnModel");
        EXPECT_EQ(bar->getFile(), "cyl10x.3ds");
        EXPECT_EQ(bar->getScaleOrigin(), sgVec3(2.5f, 1, 2.5f));
        EXPECT_EQ(bar->getPosition(), s.chart->getDataPtPosition(i));
        EXPECT_EQ(bar->getCenter(), sgVec3(10, -50, 0));
        EXPECT_FLOAT_EQ(bar->getRotAngle(), 20);
        EXPECT_EQ(bar->getHighlight(), 1);
        EXPECT_EQ(bar->getPartFlag(), 1);
        EXPECT_EQ(bar->getMaterialName(), i == 1 ? "gold" : "steel");
        // Upright bars: direction (0, 1, 0).
        EXPECT_FLOAT_EQ(bar->getPivotAngle(), 0);
        EXPECT_EQ(bar->getPivotAxis(), sgVec3(0, 0, 1));
        pnEffect* grow = s.chart->findEffect(s.chart->generatedName("-%03d", i).c_str());
        ASSERT_NE(grow, nullptr);
        EXPECT_EQ(grow->getScale(), sgVec3(1, 10.0f * (i + 1), 1));
        EXPECT_EQ(grow->getFlag(pnEffect::SCALE_FLAG), 1);

        auto* data = dynamic_cast<pnString*>(s.chart->getDataPtPart(i, pnChart::PART_DATA_TEXT));
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->getString(), "50");
        // Above the bar's end by the chart's text offset (0, 30, 30).
        EXPECT_EQ(data->getPosition(), s.chart->getDataPtPosition(i) + sgVec3(0, 10.0f * (i + 1) + 30, 30));
        auto* label = dynamic_cast<pnString*>(s.chart->getDataPtPart(i, pnChart::PART_LABEL));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->getString(), "m");
        EXPECT_EQ(label->getPosition(), s.chart->getDataPtPosition(i) + sgVec3(0, -30, 0));
    }
    // Centred: the middle point stands at the chart position.
    EXPECT_EQ(s.chart->getDataPtPosition(1), sgVec3(10, -50, 0));
    EXPECT_EQ(s.chart->getDataPtPosition(0), sgVec3(-70, -50, 0));
}

TEST(BarChart, GrowScalesAndMirroredTextsOfSmallAndNegativeValues) {
    BarScene s(3);
    s.chart->setDataPtGrowValue(0, 0.0005);
    s.chart->setDataPtGrowValue(1, -5);
    s.chart->setDataPtTextOffset(1, sgVec3(2, 4, 6));
    s.show();
    EXPECT_EQ(s.chart->findEffect("c-000")->getScale(), sgVec3(0, 0, 0));
    EXPECT_EQ(s.chart->findEffect("c-001")->getScale(), sgVec3(1, -5, 1));
    // Beyond the end of the downward bar: the offsets' y components turn
    // round along the direction, the others stay.
    const sgVec3 base = s.chart->getDataPtPosition(1);
    EXPECT_EQ(s.chart->getDataPtPart(1, pnChart::PART_DATA_TEXT)->getPosition(),
              base + sgVec3(2, -5 - 4 - 30, 6 + 30));
    // The boundary of the zero test.
    s.chart->setDataPtGrowValue(2, -0.001);
    EXPECT_EQ(s.chart->findEffect("c-002")->getScale(), sgVec3(0, 0, 0));
    s.chart->setDataPtGrowValue(2, 0.0011);
    EXPECT_EQ(s.chart->findEffect("c-002")->getScale(), sgVec3(1, 0.0011f, 1));

    // A new value reaches the effect and moves the text across the base line.
    s.chart->setDataPtGrowValue(1, 40);
    EXPECT_EQ(s.chart->findEffect("c-001")->getScale(), sgVec3(1, 40, 1));
    EXPECT_EQ(s.chart->getDataPtPart(1, pnChart::PART_DATA_TEXT)->getPosition(), base + sgVec3(2, 40 + 4 + 30, 36));

    DiagnosticLog log;
    s.chart->setDataPtGrowValue(3, 1);
    EXPECT_TRUE(printed(log.text(), "[pnBarChart::setDataPtGrowValue] ", "data pt index out of range"));
}

TEST(BarChart, DirectionsTurnEveryBar) {
    struct Case {
        sgVec3 direction;
        float angle;
    } cases[] = {{sgVec3(-1, 0, 0), 90}, {sgVec3(1, 0, 0), -90}, {sgVec3(0, -1, 0), 180}, {sgVec3(0, 1, 0), 0}};
    for (const Case& k : cases) {
        // Made that way...
        BarScene made(2);
        made.chart->setDirection(k.direction);
        made.show();
        // ... and turned after.
        BarScene turned(2);
        turned.show();
        turned.chart->setDirection(k.direction);
        for (BarScene* s : {&made, &turned}) {
            for (int i = 0; i < 2; ++i) {
                pnObject* bar = s->chart->getDataPtPart(i, pnChart::PART_MAIN);
                EXPECT_FLOAT_EQ(bar->getPivotAngle(), k.angle);
                EXPECT_EQ(bar->getPivotAxis(), sgVec3(0, 0, 1));
            }
        }
    }
    // Any other direction leaves the bars as they were.
    BarScene s(1);
    s.show();
    s.chart->setDirection(sgVec3(-1, 0, 0));
    s.chart->setDirection(sgVec3(0.6f, 0.8f, 0));
    EXPECT_FLOAT_EQ(s.chart->getDataPtPart(0, pnChart::PART_MAIN)->getPivotAngle(), 90);
}

TEST(BarChart, DeletingAMiddlePointRenamesTheLaterPointsParts) {
    BarScene s(3);
    s.show();
    ASSERT_EQ(s.chart->deleteDataPt(1), 1);
    expectSlots(*s.chart);
    EXPECT_EQ(s.chart->getNumDataPts(), 2);
    // The former point 2 is point 1, with its own value, names and effect.
    EXPECT_DOUBLE_EQ(s.chart->getDataPtGrowValue(1), 30);
    const char* names[] = {"c-001", "c-dataText-001", "c-label-001"};
    for (int which = 0; which < 3; ++which) {
        EXPECT_EQ(s.chart->getDataPtPart(1, which)->getName(), names[which]);
        EXPECT_EQ(s.chart->getDataPtEvent(1, which)->getName(), names[which]);
    }
    pnEvent* ev = s.chart->getDataPtEvent(1, pnChart::PART_MAIN);
    EXPECT_EQ(ev->getPlay(0)->effect, "c-001");
    EXPECT_EQ(s.chart->findEffect("c-001")->getScale(), sgVec3(1, 30, 1));
    EXPECT_EQ(s.chart->findEffect("c-002"), nullptr);
    EXPECT_EQ(s.chart->getNumEffects(), 3);
    // Laid out again: two centred points at -40 and 40.
    EXPECT_EQ(s.chart->getDataPtPart(0, pnChart::PART_MAIN)->getPosition(), sgVec3(-40, 0, 0));
    EXPECT_EQ(s.chart->getDataPtPart(1, pnChart::PART_MAIN)->getPosition(), sgVec3(40, 0, 0));
    EXPECT_EQ(s.chart->getDataPtPart(1, pnChart::PART_LABEL)->getPosition(), sgVec3(40, -30, 0));

    DiagnosticLog log;
    EXPECT_EQ(s.chart->deleteDataPt(2), 0);
    EXPECT_EQ(s.chart->deleteDataPt(-1), 0);
    EXPECT_TRUE(printed(log.text(), "[pnBarChart::deleteDataPt] ", "index out of range deleting a chart data"));
    EXPECT_EQ(s.chart->getNumDataPts(), 2);

    // Deleting and appending: every point keeps playing its own effect, and
    // an appended point that shrinks gets its shrink effect.
    s.chart->setDataPtDefaultShrink(1);
    ASSERT_EQ(s.chart->appendDataPt(), 3);
    expectSlots(*s.chart);
    EXPECT_NE(s.chart->findEffect("c-shrink-002"), nullptr);
    EXPECT_EQ(s.chart->getDataPtEvent(2, pnChart::PART_MAIN)->getPlay(1)->effect, "c-shrink-002");
    for (int i = 0; i < 3; ++i) {
        pnEvent* main = s.chart->getDataPtEvent(i, pnChart::PART_MAIN);
        EXPECT_EQ(s.chart->findEffect(main->getPlay(0)->effect.c_str())->getScale(), s.chart->growScale(i));
    }
    // Unbuilt: the point goes, no part is touched.
    pnBarChart plain;
    plain.setNumDataPts(3);
    EXPECT_EQ(plain.deleteDataPt(0), 1);
    EXPECT_EQ(plain.getNumDataPts(), 2);
}

TEST(BarChart, SpacingSettersAndLayout) {
    BarScene s(3);
    s.show();
    s.chart->setDataPtSpacing(2, sgVec3(100, 0, 0));
    EXPECT_EQ(s.chart->getDataPtPart(2, pnChart::PART_MAIN)->getPosition(), sgVec3(90, 0, 0));
    EXPECT_EQ(s.chart->getDataPtPart(0, pnChart::PART_MAIN)->getPosition(), sgVec3(-90, 0, 0));
    EXPECT_EQ(s.chart->getDataPtPart(2, pnChart::PART_DATA_TEXT)->getPosition(), sgVec3(90, 30 + 30, 30));

    s.chart->setDataPtSpacingDistance(1, 50);
    EXPECT_EQ(s.chart->getDataPtSpacing(1), sgVec3(50, 0, 0));
    s.chart->setDirection(sgVec3(1, 0, 0));
    s.chart->setDataPtSpacingDistance(1, 50);
    EXPECT_EQ(s.chart->getDataPtSpacing(1), sgVec3(0, 50, 0));
    EXPECT_EQ(s.chart->getDataPtPart(1, pnChart::PART_MAIN)->getPosition(), s.chart->getDataPtPosition(1));
    // Stored without a layout.
    const sgVec3 before = s.chart->getDataPtPart(2, pnChart::PART_MAIN)->getPosition();
    s.chart->storeDataPtSpacing(2, sgVec3(0, 10, 0));
    EXPECT_EQ(s.chart->getDataPtSpacing(2), sgVec3(0, 10, 0));
    EXPECT_EQ(s.chart->getDataPtPart(2, pnChart::PART_MAIN)->getPosition(), before);

    // Left justified: positions add up from the chart position.
    s.chart->setHJust(pnChart::JUST_LEFT);
    EXPECT_EQ(s.chart->getDataPtPart(2, pnChart::PART_MAIN)->getPosition(), sgVec3(0, 60, 0));

    DiagnosticLog log;
    s.chart->setDataPtSpacing(5, sgVec3(1, 0, 0));
    s.chart->setDataPtSpacingDistance(-1, 1);
    s.chart->storeDataPtSpacing(3, sgVec3(1, 0, 0));
    // All three report under the one name.
    const std::string text = log.text();
    const std::string line = "TORVIS: [pnBarChart::setDataPtSpacing]  data pt index out of range\n";
    size_t count = 0;
    for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) ++count;
    EXPECT_EQ(count, 3u) << text;
}

TEST(BarChart, ScaleAndRotationSettersReachTheBars) {
    BarScene s(2);
    EXPECT_EQ(s.chart->setBaseScale(sgVec3(3, 1, 3)), 0);
    s.show();
    EXPECT_EQ(s.chart->getDataPtPart(1, pnChart::PART_MAIN)->getScaleOrigin(), sgVec3(3, 1, 3));
    EXPECT_EQ(s.chart->setBaseScaleX(4), 2);
    EXPECT_EQ(s.chart->getDataPtPart(0, pnChart::PART_MAIN)->getScaleOrigin(), sgVec3(4, 1, 3));
    // Texts keep their own scale.
    EXPECT_EQ(s.chart->getDataPtPart(0, pnChart::PART_LABEL)->getScaleOrigin(), sgVec3(1, 1, 1));

    s.chart->setRotAxis(sgVec3(1, 0, 0));
    s.chart->setRotAngle(30);
    for (int k = 0; k < s.chart->getNumObjects(); ++k) {
        EXPECT_FLOAT_EQ(s.chart->getObject(k)->getRotAngle(), 30);
        EXPECT_EQ(s.chart->getObject(k)->getRotAxis(), sgVec3(1, 0, 0));
    }
}

TEST(BarChart, RenamingTheChartRenamesEveryPart) {
    BarScene s(2);
    s.chart->setDataPtShrinkStart(1, 40);
    s.chart->setDataPtShrinkEnd(1, 50);
    s.show();
    s.chart->setName("sales");
    expectSlots(*s.chart);
    EXPECT_EQ(s.chart->getDataPtEvent(1, pnChart::PART_MAIN)->getPlay(1)->effect, "sales-shrink-001");
    EXPECT_EQ(s.chart->getDataPtEvent(1, pnChart::PART_MAIN)->getPlay(2)->effect, "sales-shrink-001");
    EXPECT_NE(s.chart->findEffect("sales-shrink-001"), nullptr);
    EXPECT_NE(s.chart->findEffect("sales-001"), nullptr);
    EXPECT_EQ(s.chart->getDataPtEvent(0, pnChart::PART_LABEL)->getPlay(0)->effect, "sales-text");
    EXPECT_EQ(s.chart->findEffect("c-text"), nullptr);

    DiagnosticLog log;
    s.chart->setDataPtName(2, "x");
    EXPECT_TRUE(printed(log.text(), "[pnBarChart::setDataPtName] ", "data pt index out of range"));
}

TEST(BarChart, EventsOfTheMakers) {
    BarScene s(2);
    s.chart->setDataPtShrinkStart(1, 40);
    s.chart->setDataPtShrinkEnd(1, 50);
    s.chart->setShowLabel(0);
    s.show();
    // A point that shrinks hides its bar one frame after the shrink ends.
    expectPlays(s.chart->getDataPtEvent(1, pnChart::PART_MAIN),
                {{"c-001", 5, 25, 1}, {"c-shrink-001", 40, 50, 1}, {"c-shrink-001", 50, 51, 0}}, "bar");
    expectPlays(s.chart->getDataPtEvent(1, pnChart::PART_DATA_TEXT), {{"c-text", 25, 25, 1}, {"c-text", 40, 41, 0}},
                "data text");
    expectPlays(s.chart->getDataPtEvent(1, pnChart::PART_LABEL), {{"c-text", 5, 6, 0}, {"c-text", 50, 51, 0}},
                "label");
    EXPECT_EQ(s.chart->getDataPtEvent(1, pnChart::PART_LABEL)->getHidden(), 1);
    EXPECT_EQ(s.chart->getDataPtEvent(1, pnChart::PART_DATA_TEXT)->getHidden(), 0);
    EXPECT_EQ(s.chart->findEffect("c-shrink-001")->getScale(), sgVec3(1, 1, 1));
    EXPECT_EQ(s.chart->findEffect("c-shrink-000"), nullptr);
    for (int k = 0; k < s.chart->getNumEvents(); ++k) EXPECT_EQ(s.chart->getEvent(k)->getParent(), "show");
}

// ---- the timing table: one case per row ----

struct TimingRow {
    const char* name;
    bool shrinking;  // the point starts with a shrink from 40 to 50
    std::function<int(pnBarChart&, int)> op;
    int result;
    int start, end, shrinkStart, shrinkEnd;
    std::vector<Play> bar, data, label;
};

std::vector<TimingRow> barRows() {
    return {
        {"DefaultGrow", false, [](pnBarChart& c, int i) { return c.setDataPtDefaultGrow(i); }, 1, 0, 30, -1, -1,
         {{"#", 0, 30, 1}}, {{"c-text", 30, 30, 1}}, {{"c-text", 0, 0, 1}}},
        {"ClearGrow", false, [](pnBarChart& c, int i) { return c.clearDataPtGrow(i); }, 1, 0, 0, -1, -1,
         {{"#", 0, 0, 1}}, {{"c-text", 0, 0, 1}}, {{"c-text", 0, 0, 1}}},
        {"DefaultShrink", false, [](pnBarChart& c, int i) { return c.setDataPtDefaultShrink(i); }, 1, 5, 25, 35, 45,
         {{"#", 5, 25, 1}, {"shrink", 35, 45, 1}, {"shrink", 45, 46, 0}},
         {{"c-text", 25, 25, 1}, {"c-text", 35, 36, 0}},
         {{"c-text", 5, 6, 1}, {"c-text", 45, 46, 0}}},
        {"ClearShrink", true, [](pnBarChart& c, int i) { return c.clearDataPtShrink(i); }, 1, 5, 25, -1, -1,
         {{"#", 5, 25, 1}}, {{"c-text", 25, 25, 1}}, {{"c-text", 5, 6, 1}}},
        {"StartTime", false, [](pnBarChart& c, int i) { return c.setDataPtStartTime(i, 12); }, 1, 12, 25, -1, -1,
         {{"#", 12, 25, 1}}, {{"c-text", 25, 25, 1}}, {{"c-text", 12, 13, 1}}},
        {"EndTime", false, [](pnBarChart& c, int i) { return c.setDataPtEndTime(i, 28); }, 1, 5, 28, -1, -1,
         {{"#", 5, 28, 1}}, {{"c-text", 28, 29, 1}}, {{"c-text", 5, 6, 1}}},
        {"ShrinkStart", true, [](pnBarChart& c, int i) { return c.setDataPtShrinkStart(i, 42); }, 1, 5, 25, 42, 50,
         {{"#", 5, 25, 1}, {"shrink", 42, 50, 1}, {"shrink", 50, 51, 0}},
         {{"c-text", 25, 25, 1}, {"c-text", 42, 43, 0}},
         {{"c-text", 5, 6, 1}, {"c-text", 50, 51, 0}}},
        {"ShrinkEnd", true, [](pnBarChart& c, int i) { return c.setDataPtShrinkEnd(i, 55); }, 1, 5, 25, 40, 55,
         {{"#", 5, 25, 1}, {"shrink", 40, 55, 1}, {"shrink", 56, 57, 0}},
         {{"c-text", 25, 25, 1}, {"c-text", 40, 41, 0}},
         {{"c-text", 5, 6, 1}, {"c-text", 55, 56, 0}}},
    };
}

class BarTiming : public ::testing::TestWithParam<std::tuple<TimingRow, int>> {};

TEST_P(BarTiming, PlaysOfEveryEvent) {
    const TimingRow& row = std::get<0>(GetParam());
    const int i = std::get<1>(GetParam());
    BarScene s(3);
    if (row.shrinking) {
        s.chart->setDataPtShrinkStart(i, 40);
        s.chart->setDataPtShrinkEnd(i, 50);
    }
    s.show();
    // The other points' events, as they were.
    const std::vector<std::string> before = chartPlays(*s.chart);

    EXPECT_EQ(row.op(*s.chart, i), row.result);
    expectFrames(*s.chart, i, row.start, row.end, row.shrinkStart, row.shrinkEnd);
    expectPlays(s.chart->getDataPtEvent(i, pnChart::PART_MAIN), forPoint(row.bar, *s.chart, i), "bar");
    expectPlays(s.chart->getDataPtEvent(i, pnChart::PART_DATA_TEXT), row.data, "data text");
    expectPlays(s.chart->getDataPtEvent(i, pnChart::PART_LABEL), row.label, "label");
    expectOnlyPointChanged(*s.chart, i, before);

    // Unbuilt, the fields change alike and no event exists.
    BarScene plain(3);
    if (row.shrinking) {
        plain.chart->setDataPtShrinkStart(i, 40);
        plain.chart->setDataPtShrinkEnd(i, 50);
    }
    EXPECT_EQ(row.op(*plain.chart, i), row.result);
    expectFrames(*plain.chart, i, row.start, row.end, row.shrinkStart, row.shrinkEnd);
    EXPECT_EQ(plain.chart->getNumEvents(), 0);

    // A bad index changes nothing.
    EXPECT_EQ(row.op(*s.chart, 3), 0);
    EXPECT_EQ(row.op(*s.chart, -1), 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, BarTiming, ::testing::Combine(::testing::ValuesIn(barRows()), ::testing::Values(0, 2)),
                         [](const ::testing::TestParamInfo<BarTiming::ParamType>& row) {
                             return std::string(std::get<0>(row.param).name) + "_point" +
                                    std::to_string(std::get<1>(row.param));
                         });

TEST(BarChart, DefaultShrinkMakesTheEffectOnceAndKeepsExistingPlays) {
    BarScene s(2);
    s.show();
    ASSERT_EQ(s.chart->setDataPtDefaultShrink(1), 1);
    ASSERT_NE(s.chart->findEffect("c-shrink-001"), nullptr);
    EXPECT_EQ(s.chart->findEffect("c-shrink-001")->getScale(), sgVec3(1, 1, 1));
    const int effects = s.chart->getNumEffects();
    // A second default shrink after a new end time moves the fields only.
    s.chart->setDataPtEndTime(1, 40);
    ASSERT_EQ(s.chart->setDataPtDefaultShrink(1), 1);
    EXPECT_EQ(s.chart->getDataPtShrinkStart(1), 50);
    EXPECT_EQ(s.chart->getNumEffects(), effects);
    EXPECT_EQ(s.chart->getDataPtEvent(1, pnChart::PART_MAIN)->getNumPlays(), 3);
    EXPECT_EQ(s.chart->getDataPtEvent(1, pnChart::PART_MAIN)->getPlay(1)->start, 35);

    // Clearing the grow of a point that shrinks is refused and changes nothing.
    const std::string plays = describePlays(s.chart->getDataPtEvent(1, pnChart::PART_MAIN));
    EXPECT_EQ(s.chart->clearDataPtGrow(1), 0);
    EXPECT_EQ(s.chart->getDataPtEndTime(1), 40);
    EXPECT_EQ(describePlays(s.chart->getDataPtEvent(1, pnChart::PART_MAIN)), plays);

    // The operations on all points.
    EXPECT_EQ(s.chart->clearShrinkAll(), 1);
    EXPECT_EQ(s.chart->clearGrowAll(), 1);
    EXPECT_EQ(s.chart->getDataPtEndTime(1), 0);
    EXPECT_EQ(s.chart->setDefaultGrowAll(), 1);
    EXPECT_EQ(s.chart->setDefaultShrinkAll(), 1);
    EXPECT_EQ(s.chart->getDataPtShrinkEnd(0), 50);
    EXPECT_EQ(s.chart->getChartLastFrame(), 51);
    pnBarChart plain;
    EXPECT_EQ(plain.setDefaultGrowAll(), 0);
}

TEST(BarChart, WriterWrapsTheChartBlock) {
    BarScene s(1);
    s.chart->setDataPtShrinkStart(0, 40);
    s.chart->setDataPtShrinkEnd(0, 50);
    const std::string text = writtenBy(*s.chart);
    ASSERT_EQ(text.rfind("barChart {\n", 0), 0u) << text;
    EXPECT_EQ(text.substr(text.size() - 3), "}\n\n");
    EXPECT_NE(text.find("    name\t\"c\"\n"), std::string::npos);
    EXPECT_NE(text.find("    file\t\"cyl10x.3ds\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("    baseScale\t( 2.500000 1.000000 2.500000 )\n"), std::string::npos);
    EXPECT_NE(text.find("    expansion\tright\n"), std::string::npos);
    EXPECT_NE(text.find("        shrinkEnd\t50\n"), std::string::npos);
    EXPECT_EQ(text.find("joint"), std::string::npos);
    // Exactly one block: the data block closes before the chart's.
    EXPECT_EQ(text.find("barChart", 1), std::string::npos);
    EXPECT_EQ(s.chart->write(nullptr, 0), 0);
}

}  // namespace
