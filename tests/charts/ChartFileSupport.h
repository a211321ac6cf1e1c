// Charts in scene files, for the scene-file and chart tests: a scene holding
// one chart of each kind with every key its block can carry set away from
// its default, the materials and text styles they name, and one event
// showing each chart; reading and writing such scenes as text.
#pragma once

#include <cstdlib>
#include <string>

#include "charts/pnBarChart.h"
#include "charts/pnChartRead.h"
#include "charts/pnLineChart.h"
#include "charts/pnPieChart.h"
#include "charts/pnVolumeChart.h"
#include "scene/pnEvent.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "scene/pnStringProperty.h"
#include "tests/scenefile/SceneFileSupport.h"

namespace chartfile {

using scenefile::readFile;
using scenefile::writeText;

inline void ensureReader() { installChartKinds(); }

// Reads text as a scene file into scene, charts included.
inline void readText(pnScene& scene, const std::string& text) {
    ensureReader();
    scenefile::readText(scene, text);
}

inline std::string sourceDir() {
    const char* d = std::getenv("KELVANO_SOURCE_DIR");
    return d ? d : ".";
}

inline void addMaterial(pnScene& s, const char* name, float r, float g, float b) {
    auto* m = new pnMaterial;
    m->setName(name);
    m->setDiffuse(r, g, b);
    s.addMaterial(m);
}

inline void addStyle(pnScene& s, const char* name, float size) {
    auto* st = new pnStringProperty;
    st->setName(name);
    st->setSize(size);
    s.addStringProperty(st);
}

// The materials and styles the charts below name.
inline void addChartResources(pnScene& s) {
    addMaterial(s, "red", 0.9f, 0.1f, 0.1f);
    addMaterial(s, "blue", 0.1f, 0.2f, 0.9f);
    addMaterial(s, "ink", 0.9f, 0.9f, 0.9f);
    addMaterial(s, "shade", 0.1f, 0.1f, 0.1f);
    addMaterial(s, "gold", 0.9f, 0.7f, 0.2f);
    addStyle(s, "caption", 24);
    addStyle(s, "digits", 30);
}

// The common object fields (with a texture sequence) and the common chart
// keys, each away from its default. The chart material comes before the
// points, which then keep their own.
inline void setEveryCommonKey(pnChart* c, const char* name, const char* file) {
    c->setName(name);
    if (file) c->setFileName(file);
    c->setTextureName("C:\\Textures\\frame0001.png");
    c->setPosition(sgVec3(10, -20, 30.5f));
    c->setRotAngle(15);
    c->setRotAxis(sgVec3(0, 0.6f, 0.8f));
    c->setPivotAngle(-10);
    c->setPivotAxis(1, 0, 0);
    c->setScale(sgVec3(1.25f, 1.25f, 0.5f));
    c->setScaleOrigin(2, 2, 2);
    c->setCenter(sgVec3(5, 6, 7));
    c->setMaterial("red");
    c->setTexMode(1);
    c->setNumIndex(12);
    c->setForward(3);
    c->setDirection(sgVec3(0, -1, 0));
    c->setShowData(0);
    c->setShowLabel(0);
    c->setHJust(pnChart::JUST_LEFT);
    c->setLabelMaterialName("ink");
    c->setDataMaterialName("gold");
    c->setLabelBackMaterialName("shade");
    c->setDataBackMaterialName("blue");
    c->setLabelStringName("caption");
    c->setDataStringName("digits");
    c->setValueRot(20, sgVec3(1, 0, 0));
    c->setValueScale(sgVec3(1.5f, 1.5f, 1));
    c->setLabelRot(-30, sgVec3(0, 0, 1));
    c->setLabelScale(sgVec3(0.75f, 0.75f, 1));
    c->setLabelOffset(sgVec3(1, -40, 2));
    c->setTextOffset(sgVec3(-1, 45, 20));
    c->setSpacing(sgVec3(70, 0, 5));
}

inline void setValueMapping(pnChart* c) {
    c->setDataMin(-50);
    c->setDataMax(500);
    c->setGraphMin(-10);
    c->setHeightScale(0.5f);
}

// n points with every data-block key set; values and frames differ per
// point, every point shrinks.
inline void addEveryKeyPoints(pnChart* c, int n, double first, double step, float depth) {
    for (int i = 0; i < n; ++i) {
        pnChartDataPt p;
        p.spacing = sgVec3(i == 0 ? 0.0f : 70.0f, 0.0f, 5.0f);
        p.growValue = first + step * i + 0.125;
        p.setLabel(("Q" + std::to_string(i + 1) + " \"x\"").c_str());
        p.setDataText(std::to_string(static_cast<int>(first + step * i)).c_str());
        p.labelOffset = sgVec3(1, 2, 3);
        p.textOffset = sgVec3(-1, -2, -3);
        p.labelScale = sgVec3(1.5f, 1.5f, 1);
        p.valueScale = sgVec3(2, 2, 1);
        p.labelRotAxis = sgVec3(1, 0, 0);
        p.valueRotAxis = sgVec3(0, 0, 1);
        p.labelRotAngle = 10.0f * i;
        p.valueRotAngle = -5.0f * i;
        p.startTime = 5 * i;
        p.endTime = 5 * i + 20;
        p.shrinkStart = 60 + 5 * i;
        p.shrinkEnd = 80 + 5 * i;
        p.setMaterialName(i % 2 ? "blue" : "gold");
        p.setJointMaterialName("gold");
        p.depth = depth;
        c->addDataPt(p);
    }
}

inline pnBarChart* everyKeyBarChart() {
    auto* c = new pnBarChart;
    setEveryCommonKey(c, "bars", "C:\\ChartSlices\\box10x.3ds");
    setValueMapping(c);
    c->setBaseScale(sgVec3(3, 1.5f, 3));
    c->setExpansion(pnChart::EXPAND_UP);
    addEveryKeyPoints(c, 3, 40, 60, 12);
    return c;
}

// Inner radius above the default outer one, which the block gives first.
inline pnPieChart* everyKeyPieChart() {
    auto* c = new pnPieChart;
    setEveryCommonKey(c, "pie", nullptr);
    c->setDepth(40);
    c->setOuterRad(200);
    c->setInnerRad(130);
    c->setBevel(4);
    c->setRotDirection(-1);
    c->setClose(1);
    c->setShowSide(0);
    c->setStartAngle(90);
    addEveryKeyPoints(c, 3, 20, 10, 30);
    return c;
}

inline pnLineChart* everyKeyLineChart() {
    auto* c = new pnLineChart;
    setEveryCommonKey(c, "trend", "C:\\ChartSlices\\cyl10x.3ds");
    setValueMapping(c);
    c->setBaseScale(sgVec3(1.5f, 1, 1.5f));
    c->setJointFile("C:\\ChartSlices\\sphere10x.3ds");
    c->setJointMaterialName("gold");
    c->setJointScale(sgVec3(3, 3, 3));
    addEveryKeyPoints(c, 4, 30, 25, 8);
    return c;
}

inline pnVolumeChart* everyKeyVolumeChart() {
    auto* c = new pnVolumeChart;
    setEveryCommonKey(c, "area", nullptr);
    setValueMapping(c);
    c->setDepth(12.5f);
    addEveryKeyPoints(c, 4, -20, 30, 6);
    return c;
}

inline void addShowingEvent(pnScene& s, const char* name, const char* object) {
    auto* e = new pnEvent;
    e->setName(name);
    e->addObjectName(object);
    s.addEvent(e);
}

inline void addChart(pnScene& s, pnChart* c) {
    s.addObject(c);
    s.addChart(c);
    addShowingEvent(s, (c->getName() + "Event").c_str(), c->getName().c_str());
}

// The four kinds with every key set, each shown by its own event, under a
// light that shows their shapes.
inline void buildEveryChart(pnScene& s) {
    s.setName("Every chart");
    addChartResources(s);
    auto* light = new pnLight;
    light->setName("Light1");
    light->setPosition(sgVec3(200, 300, 900));
    s.addLight(light);
    addChart(s, everyKeyBarChart());
    addChart(s, everyKeyPieChart());
    addChart(s, everyKeyLineChart());
    addChart(s, everyKeyVolumeChart());
}

}  // namespace chartfile
