// A scene showing one chart, for the chart tests: chart "c" of kind K and
// the event "show" that shows it, its parts generated the way membership
// makes them without hanging them (no GL needed), and the check that every
// slot holds the part the layout puts there.
#pragma once

#include <gtest/gtest.h>

#include "charts/pnChart.h"
#include "scene/pnEvent.h"
#include "scene/pnScene.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgNode.h"

template <class K>
struct OneChartScene {
    // The scene takes made, a new chart, and names it "c".
    explicit OneChartScene(K* made) : chart(made) {
        chart->setName("c");
        scene.addObject(chart);
        scene.addChart(chart);
        event = new pnEvent;
        event->setName("show");
        event->setObjectName("c");
        scene.addEvent(event);
        roots.eventGroup = &group;
    }
    ~OneChartScene() { scene.setRoots(nullptr); }
    OneChartScene(const OneChartScene&) = delete;
    OneChartScene& operator=(const OneChartScene&) = delete;

    void add(double value, int start = 0, int end = 30, const sgVec3& spacing = sgVec3(0, 0, 0)) {
        pnChartDataPt p;
        p.growValue = value;
        p.startTime = start;
        p.endTime = end;
        p.spacing = spacing;
        chart->addDataPt(p);
    }

    // Parts as membership makes them: the chart gets its own nodes, is built,
    // and has a scene graph to make new points' parts for.
    void show() {
        scene.setRoots(&roots);
        chart->getNode();
        chart->setBuilt(1);
        scene.generateChartParts(chart, event);
    }

    // The graph outlives the scene, whose objects take their nodes out of it.
    sgGroup group;
    SceneGraphRoots roots;
    pnScene scene;
    K* chart = nullptr;  // owned by the scene
    pnEvent* event = nullptr;
};

// Every slot of every point holds the part of its name, findDataPtPart maps
// it back, its event shows it, and the lists are as long as the slots.
inline void expectSlots(pnChart& c) {
    int slots = 0;
    for (int i = 0; i < c.getNumDataPts(); ++i) {
        for (int which = 0; which < 4; ++which) {
            if (!c.hasPartSlot(i, which)) continue;
            ++slots;
            pnObject* part = c.getDataPtPart(i, which);
            ASSERT_NE(part, nullptr) << "point " << i << " part " << which;
            EXPECT_EQ(part->getName(), c.slotName(c.getName(), i, which));
            int point = -1, kind = -1;
            ASSERT_EQ(c.findDataPtPart(part, &point, &kind), 1);
            EXPECT_EQ(point, i);
            EXPECT_EQ(kind, which);
            pnEvent* ev = c.getDataPtEvent(i, which);
            ASSERT_NE(ev, nullptr);
            EXPECT_EQ(ev->getName(), part->getName());
            EXPECT_STREQ(ev->getObjectName(0), part->getName().c_str());
        }
    }
    EXPECT_EQ(c.getNumObjects(), slots);
    EXPECT_EQ(c.getNumEvents(), slots);
}
