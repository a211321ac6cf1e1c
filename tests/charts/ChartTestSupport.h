// Shared by the chart tests: a scene showing one test chart (parts generated,
// nodes made, no GL needed), diagnostic capture and written text.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/charts/ChartSceneSupport.h"
#include "tests/charts/TestChart.h"
#include "tests/support/TextCapture.h"

// A scene that holds one test chart "c" and the event "show" that shows it.
// Points get values 10, 20, 30, ..., frames 0 to 30 and spacing (80, 0, 0)
// from the second on.
struct ChartScene : OneChartScene<TestChart> {
    explicit ChartScene(const char* kind = "pnBarChart", int points = 3, int joints = 1)
        : OneChartScene<TestChart>(new TestChart(kind, joints)) {
        for (int i = 0; i < points; ++i) add(10.0 * (i + 1), 0, 30, i > 0 ? sgVec3(80, 0, 0) : sgVec3(0, 0, 0));
    }
};

// The slots are right (expectSlots), the look-up that names the chart maps
// every part back too, and every part carries the part flag.
inline void expectSlotsConsistent(TestChart& c) {
    expectSlots(c);
    for (int i = 0; i < c.getNumDataPts(); ++i) {
        for (int which = 0; which < 4; ++which) {
            pnObject* part = c.getDataPtPart(i, which);
            if (!part) continue;
            int point = -1, kind = -1;
            std::string chartName;
            ASSERT_EQ(c.findDataPtPart(part, &chartName, &kind, &point), 1);
            EXPECT_EQ(point, i);
            EXPECT_EQ(kind, which);
            EXPECT_EQ(chartName, c.getName());
            EXPECT_EQ(part->getPartFlag(), 1);
        }
    }
}
