// Shared by the chart tests: a scene showing one test chart (parts generated,
// nodes made, no GL needed), diagnostic capture and written text.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "scene/pnEvent.h"
#include "scene/pnScene.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgNode.h"
#include "sg/sgRuntime.h"
#include "tests/charts/TestChart.h"

// Collects the "TORVIS: " diagnostic prints while it lives.
class DiagnosticLog {
public:
    DiagnosticLog() : file_(std::tmpfile()) { setDiagnosticStream(file_); }
    ~DiagnosticLog() {
        setDiagnosticStream(nullptr);
        if (file_) std::fclose(file_);
    }
    DiagnosticLog(const DiagnosticLog&) = delete;
    DiagnosticLog& operator=(const DiagnosticLog&) = delete;
    std::string text() {
        std::string out;
        if (!file_) return out;
        std::fflush(file_);
        std::rewind(file_);
        char buf[512];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, file_)) > 0) out.append(buf, n);
        return out;
    }

private:
    FILE* file_;
};

// What obj.write writes.
inline std::string writtenBy(pnObject& obj) {
    char* buf = nullptr;
    size_t len = 0;
    FILE* f = open_memstream(&buf, &len);
    obj.write(f, 0);
    std::fclose(f);
    std::string text(buf ? buf : "", len);
    std::free(buf);
    return text;
}

// A scene that holds one test chart "c" and the event "show" that shows it.
// show() generates the parts the way membership does, without hanging them
// (no GL): the chart gets its own nodes, is built, and has a scene graph to
// make new points' parts for.
struct ChartScene {
    explicit ChartScene(const char* kind = "pnBarChart", int points = 3, int joints = 1) {
        chart = new TestChart(kind, joints);
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
            p.startTime = 0;
            p.endTime = 30;
            chart->addDataPt(p);
        }
        roots.eventGroup = &group;
    }
    ~ChartScene() { scene.setRoots(nullptr); }

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
    TestChart* chart = nullptr;  // owned by the scene
    pnEvent* event = nullptr;
};

// Every part's (kind, point) as findDataPtPart gives it matches the slot the
// layout places it in, every event is named after its part, and the lists
// are as long as the slots.
inline void expectSlotsConsistent(TestChart& c) {
    int slots = 0;
    for (int i = 0; i < c.getNumDataPts(); ++i) {
        for (int which = 0; which < 4; ++which) {
            if (!c.hasPartSlot(i, which)) continue;
            ++slots;
            pnObject* part = c.getDataPtPart(i, which);
            ASSERT_NE(part, nullptr) << "point " << i << " part " << which;
            int point = -1, kind = -1;
            std::string chartName;
            ASSERT_EQ(c.findDataPtPart(part, &chartName, &kind, &point), 1);
            EXPECT_EQ(point, i);
            EXPECT_EQ(kind, which);
            EXPECT_EQ(chartName, c.getName());
            EXPECT_EQ(part->getName(), c.slotName(c.getName(), i, which));
            pnEvent* ev = c.getDataPtEvent(i, which);
            ASSERT_NE(ev, nullptr);
            EXPECT_EQ(ev->getName(), part->getName());
            EXPECT_STREQ(ev->getObjectName(0), part->getName().c_str());
            EXPECT_EQ(part->getPartFlag(), 1);
        }
    }
    EXPECT_EQ(c.getNumObjects(), slots);
    EXPECT_EQ(c.getNumEvents(), slots);
}
