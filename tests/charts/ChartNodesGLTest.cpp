// A chart shown in a scene graph: its own nodes below the showing event, its
// parts' event nodes below its switch, and every way parts leave the graph
// (deleting a point, regenerating, copying onto the chart, deleting it)
// without leaving a node behind or freeing one twice.
#include <gtest/gtest.h>

#include <string>

#include "scene/pnString.h"
#include "sg/sgDCS.h"
#include "tests/charts/ChartTestSupport.h"
#include "tests/support/OffscreenGL.h"

namespace {

class ChartNodes : public GLTest {
protected:
    // Hangs every chart event the way membership does: a transform node
    // named after the event under the chart's switch, the part's nodes below
    // it (a placeholder part has none: its transform stays empty).
    static void hangParts(pnChart& chart) {
        sgSwitch* sw = chart.getSwitchNode();
        ASSERT_NE(sw, nullptr);
        for (int k = 0; k < chart.getNumEvents(); ++k) {
            pnEvent* ev = chart.getEvent(k);
            auto* dcs = new sgDCS;
            dcs->setName(ev->getName());
            sw->addChild(dcs);
            pnObject* part = chart.findChartPart(ev->getObjectName(0));
            ASSERT_NE(part, nullptr);
            if (std::string(part->getTypeName()) == "pnObject") continue;
            sgNode* node = part->getNode();
            ASSERT_NE(node, nullptr) << part->getName();
            dcs->addChild(node);
            ev->setNode(part->getSwitchNode());
            part->setBuilt(1);
        }
    }

    // The chart switch holds its transform and one node per chart event,
    // each named after its event and holding that event's part.
    static void expectHung(pnChart& chart) {
        sgSwitch* sw = chart.getSwitchNode();
        ASSERT_EQ(sw->getNumChildren(), 1 + chart.getNumEvents());
        for (int k = 0; k < chart.getNumEvents(); ++k) {
            sgNode* dcs = sw->getChild(1 + k);
            pnEvent* ev = chart.getEvent(k);
            EXPECT_EQ(dcs->getName(), ev->getName());
            pnObject* part = chart.findChartPart(ev->getObjectName(0));
            if (part->getSwitchNode()) {
                EXPECT_EQ(part->getSwitchNode()->getParent(), dcs);
            }
        }
    }
};

TEST_F(ChartNodes, AttachChartHangsTheChartBelowItsEvent) {
    ChartScene s("pnBarChart", 3);
    s.scene.setRoots(&s.roots);
    auto* dcs = new sgDCS;
    s.group.addChild(dcs);
    ASSERT_EQ(s.scene.attachChart(s.event, dcs, s.chart), 1);
    EXPECT_EQ(s.chart->isBuilt(), 1);
    ASSERT_NE(s.chart->getSwitchNode(), nullptr);
    EXPECT_EQ(s.chart->getSwitchNode()->getParent(), dcs);
    EXPECT_EQ(s.event->getNode(), s.chart->getSwitchNode());
    EXPECT_EQ(s.chart->getSwitchNode()->getName(), "c");
    EXPECT_EQ(s.chart->getNumObjects(), 9);
    EXPECT_EQ(s.chart->getChartEventGroup(), &s.group);

    // A chart already shown is not pulled from under its event.
    auto* other = new sgDCS;
    s.group.addChild(other);
    pnEvent second;
    second.setName("again");
    EXPECT_EQ(s.scene.attachChart(&second, other, s.chart), 0);
    EXPECT_EQ(s.chart->getSwitchNode()->getParent(), dcs);
    EXPECT_EQ(other->getNumChildren(), 0);
}

TEST_F(ChartNodes, PartsLeaveTheGraphWithTheirPoint) {
    ChartScene s("pnVolumeChart", 4);
    s.chart->setDataPtGrowValue(2, 5);
    s.show();
    hangParts(*s.chart);
    expectHung(*s.chart);
    ASSERT_EQ(s.chart->deleteDataPt(1), 1);
    expectHung(*s.chart);
    ASSERT_EQ(s.chart->deleteDataPt(0), 1);
    expectHung(*s.chart);
    // The transforms took the renamed events' names.
    EXPECT_EQ(s.chart->getSwitchNode()->getChild(1)->getName(), "c-dataText-000");
}

TEST_F(ChartNodes, PlaceholdersKeepTheirEmptyTransformInStep) {
    ChartScene s("pnPieChart", 3);
    s.chart->setDataPtGrowValue(2, 0);  // point 2 keeps an empty slot
    s.show();
    hangParts(*s.chart);
    ASSERT_EQ(s.chart->deleteDataPt(0), 1);
    expectHung(*s.chart);
    EXPECT_EQ(s.chart->getSwitchNode()->getChild(4)->getName(), "c-001");
    EXPECT_EQ(s.chart->getSwitchNode()->getChild(4)->getNumChildren(), 0);
    ASSERT_EQ(s.chart->deleteDataPt(1), 1);
    expectHung(*s.chart);
}

TEST_F(ChartNodes, RegenerationAndCopyTakeOldPartsOut) {
    ChartScene s("pnPieChart", 3);
    s.chart->setDataPtGrowValue(1, 0);  // a placeholder with an empty transform
    s.show();
    hangParts(*s.chart);
    s.scene.generateChartParts(s.chart, s.event);
    EXPECT_EQ(s.chart->getSwitchNode()->getNumChildren(), 1);
    hangParts(*s.chart);

    // New nodes for the chart keep its events.
    sgSwitch* old = s.chart->getSwitchNode();
    s.chart->getNode();
    EXPECT_NE(s.chart->getSwitchNode(), old);
    expectHung(*s.chart);

    TestChart source("pnPieChart");
    source.setNumDataPts(2);
    ASSERT_EQ(s.chart->copy(&source), 1);
    EXPECT_EQ(s.chart->getNumObjects(), 0);
    EXPECT_EQ(s.chart->getSwitchNode(), nullptr);
}

TEST_F(ChartNodes, AChartDeletedWhileShownTakesItsNodesAlong) {
    auto* group = new sgGroup;
    {
        ChartScene s("pnLineChart", 3, 1);
        s.scene.setRoots(&s.roots);
        auto* dcs = new sgDCS;
        group->addChild(dcs);
        s.roots.eventGroup = group;
        // Membership hangs every part's event below the chart's switch.
        ASSERT_EQ(s.scene.attachChart(s.event, dcs, s.chart), 1);
        expectHung(*s.chart);
        // A user's event shown as a child of the chart's event survives it.
        auto* child = new sgDCS;
        child->setName("child");
        s.chart->getSwitchNode()->addChild(child);
    }
    // The chart's event transform went with it; the child event moved up.
    ASSERT_EQ(group->getNumChildren(), 1);
    EXPECT_EQ(group->getChild(0)->getName(), "child");
    delete group;
}

}  // namespace
