// The charts of the sample scenes data/scenes/barchart.apn and
// linechart.apn, built in code: the render tests compare them with the blocks
// in the files and draw them where a scene reader of chart blocks is missing.
#pragma once

#include <cstdio>
#include <string>

#include "charts/pnBarChart.h"
#include "charts/pnLineChart.h"

// n points of those values and labels, each value's whole number as its
// text, 80 apart along x, point i growing from frame 10 i for 30 frames.
inline void addSamplePoints(pnChart* c, const double* values, const char* const* labels, int n) {
    for (int i = 0; i < n; ++i) {
        pnChartDataPt p;
        p.growValue = values[i];
        p.setLabel(labels[i]);
        char text[16];
        std::snprintf(text, sizeof text, "%d", static_cast<int>(values[i]));
        p.setDataText(text);
        p.startTime = 10 * i;
        p.endTime = 10 * i + 30;
        if (i > 0) p.spacing = sgVec3(80, 0, 0);
        c->addDataPt(p);
    }
}

// Four bars from y = -120 rising 60, 140, 100 and 180, at x = -120, -40, 40
// and 120, growing one after the other from frame 0 to frame 60.
inline pnBarChart* makeSampleBarChart() {
    auto* c = new pnBarChart;
    c->setName("bars");
    c->setFileName("../ChartSlices/cyl10x.3ds");
    c->setPosition(sgVec3(0, -120, 0));
    c->setLabelMaterialName("ink");
    c->setDataMaterialName("ink");
    const double values[] = {60, 140, 100, 180};
    const char* labels[] = {"Q1", "Q2", "Q3", "Q4"};
    addSamplePoints(c, values, labels, 4);
    c->setMaterial("barBlue");
    return c;
}

// Five points from y = -100 at 40, 120, 80, 160 and 100, at x = -160 to 160
// in steps of 80; each segment grows in its own 30 frames, the last ending at
// frame 70. Value texts stand well above the joints.
inline pnLineChart* makeSampleLineChart() {
    auto* c = new pnLineChart;
    c->setName("trend");
    c->setFileName("../ChartSlices/cyl10x.3ds");
    c->setJointFile("../ChartSlices/sphere10x.3ds");
    c->setPosition(sgVec3(0, -100, 0));
    c->setTextOffset(sgVec3(0, 50, 30));
    c->setLabelMaterialName("ink");
    c->setDataMaterialName("ink");
    const double values[] = {40, 120, 80, 160, 100};
    const char* labels[] = {"Mon", "Tue", "Wed", "Thu", "Fri"};
    addSamplePoints(c, values, labels, 5);
    c->setMaterial("lineGreen");
    c->setJointMaterialName("jointGold");
    return c;
}
