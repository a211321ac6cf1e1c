// Shared by the bar and line chart tests: a scene that shows one chart of a
// real kind (parts generated the way membership does, no GL needed), a check
// that every slot holds the part the layout puts there, and play comparison.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "charts/pnBarChart.h"
#include "charts/pnLineChart.h"
#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnScene.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgNode.h"

// A scene holding chart "c" of kind K and the event "show" that shows it.
// Points get values 10, 20, 30, ..., frames 5 to 25 and spacing (80, 0, 0)
// from the second on.
template <class K>
struct KindScene {
    explicit KindScene(int points = 3) {
        chart = new K;
        chart->setName("c");
        scene.addObject(chart);
        scene.addChart(chart);
        event = new pnEvent;
        event->setName("show");
        event->setObjectName("c");
        scene.addEvent(event);
        for (int i = 0; i < points; ++i) {
            pnChartDataPt p;
            p.growValue = 10.0 * (i + 1);
            if (i > 0) p.spacing = sgVec3(80, 0, 0);
            p.startTime = 5;
            p.endTime = 25;
            chart->addDataPt(p);
        }
        roots.eventGroup = &group;
    }
    ~KindScene() { scene.setRoots(nullptr); }

    // Parts as membership makes them, without hanging them (no GL).
    void show() {
        scene.setRoots(&roots);
        chart->getNode();
        chart->setBuilt(1);
        scene.generateChartParts(chart, event);
    }

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

// One expected play.
struct Play {
    std::string effect;
    int start, end, visible;
};

inline std::string describePlays(const pnEvent* ev) {
    if (!ev) return "(no event)";
    std::string s;
    for (int k = 0; k < ev->getNumPlays(); ++k) {
        const pnEventPlay* p = ev->getPlay(k);
        s += "[" + p->effect + " " + std::to_string(p->start) + ".." + std::to_string(p->end) +
             (p->visible ? " shown]" : " hidden]");
    }
    return s.empty() ? "(no plays)" : s;
}

inline void expectPlays(const pnEvent* ev, const std::vector<Play>& want, const char* what) {
    ASSERT_NE(ev, nullptr) << what;
    ASSERT_EQ(ev->getNumPlays(), static_cast<int>(want.size())) << what << ": " << describePlays(ev);
    for (size_t k = 0; k < want.size(); ++k) {
        const pnEventPlay* p = ev->getPlay(static_cast<int>(k));
        EXPECT_EQ(p->effect, want[k].effect) << what << " play " << k;
        EXPECT_EQ(p->start, want[k].start) << what << " play " << k << ": " << describePlays(ev);
        EXPECT_EQ(p->end, want[k].end) << what << " play " << k << ": " << describePlays(ev);
        EXPECT_EQ(p->visible, want[k].visible) << what << " play " << k;
    }
}

// True when the debug print wrote the two-part message a, b.
inline bool printed(const std::string& log, const std::string& a, const std::string& b) {
    return log.find("TORVIS: " + a + " " + b + "\n") != std::string::npos;
}

inline void expectNear(const sgVec3& a, const sgVec3& b, float tol, const char* what = "") {
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(a[k], b[k], tol) << what << " component " << k;
}
