// Generated parts: their generation through the scene, slots and look-ups,
// appending and deleting points, regeneration, and the chart setters that
// reach the parts.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "scene/pnEffect.h"
#include "scene/pnVolume.h"
#include "tests/charts/ChartTestSupport.h"

namespace {

// Every point's main event plays, first, an effect that holds that point's
// own grow scale.
void expectOwnEffects(TestChart& c) {
    for (int i = 0; i < c.getNumDataPts(); ++i) {
        pnEvent* ev = c.getDataPtEvent(i, pnChart::PART_MAIN);
        if (!c.hasPartSlot(i, pnChart::PART_MAIN)) continue;
        ASSERT_NE(ev, nullptr);
        ASSERT_GT(ev->getNumPlays(), 0);
        pnEffect* eff = c.findEffect(ev->getPlay(0)->effect.c_str());
        ASSERT_NE(eff, nullptr) << "point " << i;
        EXPECT_EQ(eff->getName(), c.generatedName("-%03d", i));
        EXPECT_EQ(eff->getScale(), c.growScale(i)) << "point " << i;
    }
}

TEST(ChartParts, GenerationOrderOfBarParts) {
    ChartScene s("pnBarChart", 2);
    s.chart->getDataPt(1);
    s.chart->setDataPtShrinkStart(1, 40);
    s.chart->setDataPtShrinkEnd(1, 50);
    s.show();
    const char* objects[] = {"c-000", "c-dataText-000", "c-label-000", "c-001", "c-dataText-001", "c-label-001"};
    ASSERT_EQ(s.chart->getNumObjects(), 6);
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(s.chart->getObject(k)->getName(), objects[k]);
        EXPECT_EQ(s.chart->getEvent(k)->getName(), objects[k]);
        EXPECT_EQ(s.chart->getEvent(k)->getParent(), "show");
        EXPECT_EQ(s.chart->getObject(k)->getScene(), &s.scene);
    }
    // The text effect first, then per point grow and shrink.
    const char* effects[] = {"c-text", "c-000", "c-001", "c-shrink-001"};
    ASSERT_EQ(s.chart->getNumEffects(), 4);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(s.chart->getEffect(k)->getName(), effects[k]);
    EXPECT_STREQ(s.chart->getObject(1)->getTypeName(), "pnString");
    expectSlotsConsistent(*s.chart);
    // Parts are the chart's own, not the scene's.
    EXPECT_EQ(s.scene.getNumObjects(), 1);
    EXPECT_EQ(s.scene.findObject("c-000"), nullptr);
    EXPECT_EQ(s.chart->findChartPart("c-000"), s.chart->getObject(0));
    EXPECT_EQ(s.chart->getChartLastFrame(), 51);
}

TEST(ChartParts, EveryLayoutFindsItsParts) {
    struct Case {
        const char* kind;
        int joints, perPoint, objects;
    } cases[] = {
        {"pnBarChart", 0, 3, 12}, {"pnPieChart", 0, 3, 12}, {"pnLineChart", 0, 3, 11},
        {"pnLineChart", 1, 4, 15}, {"pnVolumeChart", 0, 4, 14},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.kind) + (k.joints ? " with joints" : ""));
        ChartScene s(k.kind, 4, k.joints);
        s.chart->setDataPtGrowValue(3, 5);  // a pie circle with room left
        s.show();
        EXPECT_EQ(s.chart->getNumObjectsPerDataPt(), k.perPoint);
        EXPECT_EQ(s.chart->getNumObjects(), k.objects);
        expectSlotsConsistent(*s.chart);
        // Appending and deleting keep every slot where m(i) says.
        EXPECT_EQ(s.chart->appendDataPt(), 5);
        expectSlotsConsistent(*s.chart);
        EXPECT_EQ(s.chart->deleteDataPt(2), 1);
        expectSlotsConsistent(*s.chart);
        EXPECT_EQ(s.chart->deleteDataPt(0), 1);
        expectSlotsConsistent(*s.chart);
        EXPECT_EQ(s.chart->deleteDataPt(s.chart->getNumDataPts() - 1), 1);
        expectSlotsConsistent(*s.chart);
        EXPECT_EQ(s.chart->getNumDataPts(), 2);
    }
}

TEST(ChartParts, SlotIndicesOfEachLayout) {
    ChartScene line("pnLineChart", 3, 0);
    EXPECT_EQ(line.chart->getDataPtObjectIndex(0), -1);
    EXPECT_EQ(line.chart->getDataPtObjectIndex(2), 5);
    line.chart->setShowJoint(1);
    EXPECT_EQ(line.chart->getDataPtObjectIndex(2), 7);
    ChartScene vol("pnVolumeChart", 3);
    EXPECT_EQ(vol.chart->getDataPtObjectIndex(0), -1);
    EXPECT_EQ(vol.chart->getDataPtObjectIndex(1), 2);
    EXPECT_EQ(vol.chart->getDataPtObjectIndex(2), 6);
    EXPECT_EQ(vol.chart->hasPartSlot(0, pnChart::PART_EXTRA), 0);
    EXPECT_EQ(vol.chart->hasPartSlot(1, pnChart::PART_EXTRA), 1);

    // Something that is not a part of the chart: 0, nothing written.
    vol.show();
    pnVolume stranger;
    int point = 77, which = 77;
    std::string chartName = "unchanged";
    EXPECT_EQ(vol.chart->findDataPtPart(&stranger, &chartName, &which, &point), 0);
    EXPECT_EQ(vol.chart->findDataPtPart(nullptr, &point, &which), 0);
    EXPECT_EQ(point, 77);
    EXPECT_EQ(which, 77);
    EXPECT_EQ(chartName, "unchanged");
}

TEST(ChartParts, AChartWithoutPointsGetsOnlyItsTextEffect) {
    ChartScene bar("pnBarChart", 0);
    bar.show();
    EXPECT_EQ(bar.chart->getNumObjects(), 0);
    EXPECT_EQ(bar.chart->getNumEvents(), 0);
    ASSERT_EQ(bar.chart->getNumEffects(), 1);
    EXPECT_EQ(bar.chart->getEffect(0)->getName(), "c-text");

    ChartScene line("pnLineChart", 0);
    line.show();
    ASSERT_EQ(line.chart->getNumEffects(), 2);
    EXPECT_EQ(line.chart->getEffect(1)->getName(), "c-joint");
}

TEST(ChartParts, ShowFlagsHideTextsAndSteerTheirEvents) {
    ChartScene s("pnBarChart", 2);
    s.chart->setShowData(0);
    s.show();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(s.chart->getDataPtPart(i, pnChart::PART_DATA_TEXT)->getVisible(), 0);
        EXPECT_EQ(s.chart->getDataPtPart(i, pnChart::PART_LABEL)->getVisible(), 1);
        EXPECT_EQ(s.chart->getDataPtEvent(i, pnChart::PART_DATA_TEXT)->getHidden(), 1);
    }
    s.chart->setShowData(1);
    s.chart->setShowLabel(0);
    for (int i = 0; i < 2; ++i) {
        pnEvent* data = s.chart->getDataPtEvent(i, pnChart::PART_DATA_TEXT);
        pnEvent* label = s.chart->getDataPtEvent(i, pnChart::PART_LABEL);
        EXPECT_EQ(data->getPlay(0)->visible, 1);
        EXPECT_EQ(data->getHidden(), 0);
        EXPECT_EQ(label->getPlay(0)->visible, 0);
        EXPECT_EQ(label->getHidden(), 1);
    }
}

TEST(ChartParts, APartThatCannotBeMadeKeepsItsSlot) {
    ChartScene s("pnPieChart", 3);
    s.chart->setDataPtGrowValue(1, 0);  // the test kind makes no part of a zero value
    s.show();
    expectSlotsConsistent(*s.chart);
    pnObject* hole = s.chart->getDataPtPart(1, pnChart::PART_MAIN);
    EXPECT_STREQ(hole->getTypeName(), "pnObject");
    EXPECT_EQ(hole->getName(), "c-001");
    pnEvent* ev = s.chart->getDataPtEvent(1, pnChart::PART_MAIN);
    EXPECT_EQ(ev->getNumPlays(), 0);
    EXPECT_EQ(ev->getParent(), "show");
    EXPECT_EQ(s.chart->findEffect("c-001"), nullptr);
    EXPECT_EQ(s.chart->getDataPtPart(2, pnChart::PART_LABEL)->getName(), "c-label-002");
}

TEST(ChartParts, RegenerationReplacesPartsAndSameNamedEffects) {
    ChartScene s("pnVolumeChart", 3);
    s.show();
    const int objects = s.chart->getNumObjects();
    const int effects = s.chart->getNumEffects();
    pnEffect* before = s.chart->findEffect("c-001");
    s.chart->setDataPtGrowValue(1, 70);
    // Shown again (as after its event left the scene graph and came back):
    // one set of parts, one effect per name, each made anew.
    s.scene.generateChartParts(s.chart, s.event);
    EXPECT_EQ(s.chart->getNumObjects(), objects);
    EXPECT_EQ(s.chart->getNumEffects(), effects);
    pnEffect* after = s.chart->findEffect("c-001");
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before);
    EXPECT_EQ(after->getScale(), sgVec3(1, 70, 1));
    expectSlotsConsistent(*s.chart);

    // Effects left by an earlier showing (membership deletes parts and events
    // but keeps effects) are replaced too.
    while (s.chart->getNumChartEvents() > 0) s.chart->removeChartEvent(s.chart->getChartEvent(0));
    s.chart->deleteChartParts();
    EXPECT_EQ(s.chart->getNumObjects(), 0);
    s.scene.generateChartParts(s.chart, s.event);
    EXPECT_EQ(s.chart->getNumEffects(), effects);
    expectSlotsConsistent(*s.chart);
}

TEST(ChartParts, DeletingThenAppendingKeepsEveryPointOnItsOwnEffect) {
    ChartScene s("pnBarChart", 4);
    s.show();
    expectOwnEffects(*s.chart);
    ASSERT_EQ(s.chart->deleteDataPt(1), 1);
    EXPECT_EQ(s.chart->getNumDataPts(), 3);
    // The former point 2 took index 1 with its parts, events and effects.
    EXPECT_EQ(s.chart->getDataPtPart(1, pnChart::PART_MAIN)->getName(), "c-001");
    EXPECT_DOUBLE_EQ(s.chart->getDataPtGrowValue(1), 30);
    expectOwnEffects(*s.chart);
    EXPECT_EQ(s.chart->findEffect("c-003"), nullptr);  // nothing is left over
    EXPECT_EQ(s.chart->getNumEffects(), 4);            // text + three grow effects

    ASSERT_EQ(s.chart->appendDataPt(), 4);
    expectOwnEffects(*s.chart);
    EXPECT_EQ(s.chart->getNumEffects(), 5);
    expectSlotsConsistent(*s.chart);
    // The new point copies the last and stands one spacing further on.
    EXPECT_DOUBLE_EQ(s.chart->getDataPtGrowValue(3), 40);
    EXPECT_EQ(s.chart->getDataPtPart(3, pnChart::PART_MAIN)->getPosition(), s.chart->getDataPtPosition(3));
    EXPECT_EQ(s.chart->getDataPtPart(0, pnChart::PART_MAIN)->getPosition(), s.chart->getDataPtPosition(0));

    // Shrink effects follow their point too.
    s.chart->setDataPtShrinkStart(3, 40);
    s.chart->setDataPtShrinkEnd(3, 50);
    s.scene.generateChartParts(s.chart, s.event);
    ASSERT_NE(s.chart->findEffect("c-shrink-003"), nullptr);
    ASSERT_EQ(s.chart->deleteDataPt(0), 1);
    EXPECT_EQ(s.chart->findEffect("c-shrink-003"), nullptr);
    ASSERT_NE(s.chart->findEffect("c-shrink-002"), nullptr);
    EXPECT_EQ(s.chart->getDataPtEvent(2, pnChart::PART_MAIN)->getPlay(1)->effect, "c-shrink-002");
    expectOwnEffects(*s.chart);
    EXPECT_EQ(s.chart->deleteDataPt(9), 0);
}

TEST(ChartParts, DeletingTheFirstPointOfAVolumeDropsTheNewFirstPointsSegment) {
    ChartScene s("pnVolumeChart", 3);
    s.show();
    ASSERT_EQ(s.chart->deleteDataPt(0), 1);
    expectSlotsConsistent(*s.chart);
    EXPECT_EQ(s.chart->getNumObjects(), 6);
    EXPECT_EQ(s.chart->findEffect("c-box-002"), nullptr);
    EXPECT_NE(s.chart->findEffect("c-box-001"), nullptr);
    EXPECT_EQ(s.chart->getDataPtEvent(1, pnChart::PART_EXTRA)->getPlay(0)->effect, "c-box-001");
}

TEST(ChartParts, AppendNeedsTheSceneGraphWhenPartsExist) {
    ChartScene s("pnBarChart", 2);
    s.show();
    s.scene.setRoots(nullptr);
    EXPECT_EQ(s.chart->appendDataPt(), 0);
    EXPECT_EQ(s.chart->getNumDataPts(), 2);
    expectSlotsConsistent(*s.chart);
}

TEST(ChartParts, SetNumDataPtsKeepsTheSlotsOfAShownChart) {
    ChartScene s("pnLineChart", 3, 1);
    s.show();
    s.chart->setNumDataPts(5);
    expectSlotsConsistent(*s.chart);
    EXPECT_EQ(s.chart->getNumObjects(), 19);
    s.chart->setNumDataPts(1);
    expectSlotsConsistent(*s.chart);
    EXPECT_EQ(s.chart->getNumObjects(), 3);
    s.chart->setNumDataPts(0);
    EXPECT_EQ(s.chart->getNumObjects(), 0);
    // A shown chart that had no points gains parts for its new ones.
    s.chart->setNumDataPts(2);
    expectSlotsConsistent(*s.chart);
    EXPECT_EQ(s.chart->getDataPtEvent(1, pnChart::PART_EXTRA)->getParent(), "show");
    EXPECT_EQ(s.chart->findEffect("c-002"), nullptr);
    EXPECT_NE(s.chart->findEffect("c-joint"), nullptr);
}

TEST(ChartParts, RenamingTheChartRenamesPartsEventsAndEffects) {
    ChartScene s("pnVolumeChart", 2);
    s.chart->setDataPtShrinkStart(1, 40);
    s.chart->setDataPtShrinkEnd(1, 50);
    s.show();
    s.chart->setName("d");
    EXPECT_EQ(s.chart->getSwitchNode()->getName(), "d");
    expectSlotsConsistent(*s.chart);
    EXPECT_NE(s.chart->findEffect("d-001"), nullptr);
    EXPECT_NE(s.chart->findEffect("d-shrink-001"), nullptr);
    EXPECT_NE(s.chart->findEffect("d-box-001"), nullptr);
    EXPECT_NE(s.chart->findEffect("d-text"), nullptr);
    EXPECT_EQ(s.chart->findEffect("c-text"), nullptr);
    pnEvent* main = s.chart->getDataPtEvent(1, pnChart::PART_MAIN);
    EXPECT_EQ(main->getPlay(0)->effect, "d-001");
    EXPECT_EQ(main->getPlay(1)->effect, "d-shrink-001");
    EXPECT_EQ(s.chart->getDataPtEvent(0, pnChart::PART_LABEL)->getPlay(0)->effect, "d-text");
}

TEST(ChartParts, ListOperations) {
    ChartScene s("pnBarChart", 1);
    s.show();
    auto* dup = new pnVolume;
    dup->setNameString("c-000");
    EXPECT_EQ(s.chart->addObject(dup), 0);
    delete dup;
    EXPECT_EQ(s.chart->hasObject("c-label-000"), 1);
    EXPECT_EQ(s.chart->hasEvent("c-000"), 1);
    EXPECT_EQ(s.chart->hasEffect("c-text"), 1);
    EXPECT_EQ(s.chart->indexOfObject(s.chart->findObject("c-label-000")), 2);

    // Removing something the list does not hold changes nothing.
    pnVolume stranger;
    EXPECT_EQ(s.chart->removeObject(&stranger), 0);
    EXPECT_EQ(s.chart->getNumObjects(), 3);

    TestChart empty;
    DiagnosticLog log;
    EXPECT_EQ(empty.removeObject(&stranger), 0);
    pnEvent ev;
    pnEffect eff;
    EXPECT_EQ(empty.removeEvent(&ev), 0);
    EXPECT_EQ(empty.removeEffect(&eff), 0);
    const std::string text = log.text();
    EXPECT_NE(text.find("[pnChart::removeObject] Tried to delete non-existing object"), std::string::npos);
    EXPECT_NE(text.find("[pnChart::removeEvent] Tried to delete non-existing event"), std::string::npos);
    EXPECT_NE(text.find("[pnChart::removeEffect] Tried to delete non-existing effect"), std::string::npos);

    // Taken out, an item is the caller's.
    pnObject* label = s.chart->findObject("c-label-000");
    EXPECT_EQ(s.chart->removeObject(label), 1);
    EXPECT_EQ(s.chart->getNumObjects(), 2);
    delete label;
}

TEST(ChartParts, TransformSettersReachEveryPart) {
    ChartScene s("pnBarChart", 3);
    s.show();
    const sgVec3 before = s.chart->getDataPtPart(2, pnChart::PART_LABEL)->getPosition();
    s.chart->setPosition(sgVec3(100, 0, -5));
    for (int k = 0; k < s.chart->getNumObjects(); ++k) {
        EXPECT_EQ(s.chart->getObject(k)->getCenter(), sgVec3(100, 0, -5));
        EXPECT_EQ(s.chart->getObject(k)->getSetFlag(pnObject::CENTER_FLAG), 1);
    }
    EXPECT_EQ(s.chart->getDataPtPart(2, pnChart::PART_LABEL)->getPosition(), before + sgVec3(100, 0, -5));
    EXPECT_EQ(s.chart->getDataPtPart(2, pnChart::PART_LABEL)->getPosition(), s.chart->getLabelPosition(2));

    // A centre given explicitly stays when the chart moves.
    s.chart->setCenter(sgVec3(1, 2, 3));
    s.chart->setPosition(sgVec3(0, 0, 0));
    EXPECT_EQ(s.chart->getCenter(), sgVec3(1, 2, 3));
    EXPECT_EQ(s.chart->getObject(4)->getCenter(), sgVec3(1, 2, 3));

    s.chart->setRotAngle(45);
    s.chart->setRotAxis(sgVec3(0, 0, 1));
    s.chart->setScale(sgVec3(2, 2, 2));
    s.chart->setHighlight(1);
    for (int k = 0; k < s.chart->getNumObjects(); ++k) {
        pnObject* part = s.chart->getObject(k);
        EXPECT_FLOAT_EQ(part->getRotAngle(), 45);
        EXPECT_EQ(part->getRotAxis(), sgVec3(0, 0, 1));
        EXPECT_EQ(part->getScale(), sgVec3(2, 2, 2));
        EXPECT_EQ(part->getHighlight(), 1);
    }
    s.chart->setRotAxis(sgVec3(0, 0, 0));  // refused
    EXPECT_EQ(s.chart->getRotAxis(), sgVec3(0, 0, 1));
}

TEST(ChartParts, OffsetsReplaceTextsByTheKindsRule) {
    ChartScene s("pnBarChart", 2);
    s.show();
    s.chart->setDataPtGrowValue(1, -20);  // a negative bar: offsets mirror along the direction
    s.chart->setTextOffset(sgVec3(5, 10, 15));
    pnObject* negative = s.chart->getDataPtPart(1, pnChart::PART_DATA_TEXT);
    const sgVec3 base = s.chart->getDataPtPosition(1);
    EXPECT_EQ(negative->getPosition(), base + sgVec3(5, -20 - 10, 15));
    pnObject* positive = s.chart->getDataPtPart(0, pnChart::PART_DATA_TEXT);
    EXPECT_EQ(positive->getPosition(), s.chart->getDataPtPosition(0) + sgVec3(5, 10 + 10, 15));
    s.chart->setDataPtTextOffset(1, sgVec3(0, 2, 0));
    EXPECT_EQ(negative->getPosition(), base + sgVec3(5, -20 - 10 - 2, 15));

    s.chart->setLabelOffset(sgVec3(0, -40, 0));
    s.chart->setDataPtLabelOffset(0, sgVec3(1, 0, 0));
    EXPECT_EQ(s.chart->getDataPtPart(0, pnChart::PART_LABEL)->getPosition(),
              s.chart->getDataPtPosition(0) + sgVec3(1, -40, 0));
}

TEST(ChartParts, ScalesMultiplyAndReachTheTexts) {
    ChartScene s("pnBarChart", 2);
    s.show();
    s.chart->setLabelScale(sgVec3(2, 2, 1));
    s.chart->setLabelScale(sgVec3(2, 1, 1));
    EXPECT_EQ(s.chart->getLabelScale(), sgVec3(4, 2, 1));
    s.chart->setDataPtLabelScale(1, sgVec3(1, 3, 1));
    EXPECT_EQ(s.chart->getDataPtPart(0, pnChart::PART_LABEL)->getScaleOrigin(), sgVec3(4, 2, 1));
    EXPECT_EQ(s.chart->getDataPtPart(1, pnChart::PART_LABEL)->getScaleOrigin(), sgVec3(4, 6, 1));
    s.chart->setValueScale(sgVec3(1, 1, 0.5f));
    s.chart->setDataPtValueScale(0, sgVec3(2, 2, 2));
    EXPECT_EQ(s.chart->getDataPtPart(0, pnChart::PART_DATA_TEXT)->getScaleOrigin(), sgVec3(2, 2, 1));
    EXPECT_EQ(s.chart->getDataPtPart(1, pnChart::PART_DATA_TEXT)->getScaleOrigin(), sgVec3(1, 1, 0.5f));
}

TEST(ChartParts, OneOrientationRuleForMakersAndSetters) {
    ChartScene s("pnBarChart", 2);
    s.chart->setValueRot(90, sgVec3(0, 0, 1));
    s.chart->setDataPtValueRot(1, 90, sgVec3(1, 0, 0));
    s.show();
    // The chart's quaternion first, then the point's.
    float angle;
    sgVec3 axis;
    s.chart->getValueOrientation(1, &angle, &axis);
    sgVec4 q = sgQuatMult(sgQuatFromAngleAxis(90, sgVec3(0, 0, 1)), sgQuatFromAngleAxis(90, sgVec3(1, 0, 0)));
    float expectAngle;
    sgVec3 expectAxis = sgQuatToAngleAxis(q, &expectAngle);
    EXPECT_NEAR(angle, expectAngle, 1e-4);
    EXPECT_NEAR(angle, 120.0f, 1e-3);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(axis[k], expectAxis[k], 1e-5);
    // The other order would turn about a different axis.
    sgVec4 other = sgQuatMult(sgQuatFromAngleAxis(90, sgVec3(1, 0, 0)), sgQuatFromAngleAxis(90, sgVec3(0, 0, 1)));
    float otherAngle;
    sgVec3 otherAxis = sgQuatToAngleAxis(other, &otherAngle);
    EXPECT_GT(std::fabs(otherAxis[1] - axis[1]), 0.5f);

    pnObject* made = s.chart->getDataPtPart(1, pnChart::PART_DATA_TEXT);
    EXPECT_NEAR(made->getPivotAngle(), angle, 1e-4);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(made->getPivotAxis()[k], axis[k], 1e-5);
    // A point without its own angle takes the chart's pair.
    pnObject* plain = s.chart->getDataPtPart(0, pnChart::PART_DATA_TEXT);
    EXPECT_FLOAT_EQ(plain->getPivotAngle(), 90);
    EXPECT_EQ(plain->getPivotAxis(), sgVec3(0, 0, 1));

    // The setters re-apply the same rule.
    s.chart->setDataPtValueRot(1, 0, sgVec3(1, 0, 0));
    EXPECT_FLOAT_EQ(made->getPivotAngle(), 90);
    EXPECT_EQ(made->getPivotAxis(), sgVec3(0, 0, 1));
    s.chart->setLabelRot(30, sgVec3(0, 1, 0));
    EXPECT_FLOAT_EQ(s.chart->getDataPtPart(1, pnChart::PART_LABEL)->getPivotAngle(), 30);
}

TEST(ChartParts, TextAndMaterialSettersReachTheParts) {
    ChartScene s("pnVolumeChart", 2);
    s.show();
    s.chart->setDataPtLabel(1, "June");
    s.chart->setDataPtDataText(0, "12");
    EXPECT_EQ(static_cast<pnString*>(s.chart->getDataPtPart(1, pnChart::PART_LABEL))->getString(), "June");
    EXPECT_EQ(static_cast<pnString*>(s.chart->getDataPtPart(0, pnChart::PART_DATA_TEXT))->getString(), "12");
    s.chart->setLabelMaterialName("gold");
    s.chart->setDataBackMaterialName("ink");
    s.chart->setDataStringName("bold");
    EXPECT_EQ(s.chart->getDataPtPart(0, pnChart::PART_LABEL)->getMaterialName(), "gold");
    auto* data = static_cast<pnString*>(s.chart->getDataPtPart(1, pnChart::PART_DATA_TEXT));
    EXPECT_EQ(data->getBackMaterial(), "ink");
    EXPECT_STREQ(data->getStringPropertyName(), "bold");

    // The chart material reaches every point, its main part and its box.
    s.chart->setMaterial("steel");
    EXPECT_STREQ(s.chart->getDataPtMaterialName(0), "steel");
    EXPECT_EQ(s.chart->getDataPtPart(1, pnChart::PART_MAIN)->getMaterialName(), "steel");
    EXPECT_EQ(s.chart->getDataPtPart(1, pnChart::PART_EXTRA)->getMaterialName(), "steel");
    // Point 0 of a volume chart has no main part: the name is stored alone.
    s.chart->setDataPtMaterialName(0, "wood");
    EXPECT_STREQ(s.chart->getDataPtMaterialName(0), "wood");
}

TEST(ChartParts, ValueSettersReapplyEveryValue) {
    ChartScene s("pnBarChart", 3);
    s.show();
    s.chart->setHeightScale(2);
    for (int i = 0; i < 3; ++i) {
        pnEffect* grow = s.chart->findEffect(s.chart->generatedName("-%03d", i).c_str());
        EXPECT_EQ(grow->getScale(), sgVec3(1, 20.0f * (i + 1), 1));
    }
    s.chart->setDataMin(25);
    EXPECT_EQ(s.chart->findEffect("c-000")->getScale(), sgVec3(1, 50, 1));
}

}  // namespace
