// Charts read from scene files behave as the charts they were written from:
// the same generated parts, effects and events in the same order, and the
// same playback of slices and bars; and a pie keeps its own rule for which
// texts show.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "scene/pnEffect.h"
#include "scene/pnVolume.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgNode.h"
#include "tests/charts/ChartFileSupport.h"

namespace {

// Shows every chart of a scene the way membership makes the parts, without
// hanging them (no GL).
struct Shown {
    explicit Shown(pnScene& s) : scene(s) {
        roots.eventGroup = &group;
        scene.setRoots(&roots);
        for (int i = 0; i < scene.getNumCharts(); ++i) {
            auto* chart = dynamic_cast<pnChart*>(scene.getChart(i));
            chart->getNode();
            chart->setBuilt(1);
            scene.generateChartParts(chart, scene.findEvent((chart->getName() + "Event").c_str()));
        }
    }
    ~Shown() {
        for (int i = 0; i < scene.getNumCharts(); ++i) dynamic_cast<pnChart*>(scene.getChart(i))->clearChartParts();
        scene.setRoots(nullptr);
    }
    sgGroup group;
    SceneGraphRoots roots;
    pnScene& scene;
};

std::string vec(const sgVec3& v) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "(%g %g %g)", v[0], v[1], v[2]);
    return buf;
}

// Everything a chart generated, one line per item, in list order.
std::string describeParts(pnChart& c) {
    std::string out;
    for (int k = 0; k < c.getNumObjects(); ++k) {
        pnObject* p = c.getObject(k);
        out += std::string("part ") + p->getTypeName() + " " + p->getName() + " at " + vec(p->getPosition()) +
               " inner " + vec(p->getScaleOrigin()) + " rot " + std::to_string(p->getRotAngle()) + vec(p->getRotAxis()) +
               " pivot " + std::to_string(p->getPivotAngle()) + " material " + p->getMaterialName() + " file " +
               p->getFile() + " visible " + std::to_string(p->getVisible());
        if (std::string(p->getTypeName()) == "pnVolume")
            out += " triangles " + std::to_string(static_cast<pnVolume*>(p)->getNumIndex() / 3);
        out += "\n";
    }
    for (int k = 0; k < c.getNumEffects(); ++k) {
        pnEffect* e = c.getEffect(k);
        out += "effect " + e->getName() + " scale " + vec(e->getScale()) + " flags";
        for (int f = 0; f < pnEffect::NUM_FLAGS; ++f) out += " " + std::to_string(e->getFlag(f));
        out += " numbers " + std::to_string(e->getGrowShrink(0)) + " " + std::to_string(e->getGrowShrink(1)) + " " +
               std::to_string(e->getGrowShrink(2)) + "\n";
    }
    for (int k = 0; k < c.getNumEvents(); ++k) {
        pnEvent* ev = c.getEvent(k);
        out += "event " + ev->getName() + " of " + (ev->getObjectName(0) ? ev->getObjectName(0) : "-") + " parent " +
               ev->getParent() + " hidden " + std::to_string(ev->getHidden()) + " plays";
        for (int p = 0; p < ev->getNumPlays(); ++p) {
            const pnEventPlay* play = ev->getPlay(p);
            out += " [" + play->effect + " " + std::to_string(play->start) + ".." + std::to_string(play->end) + " " +
                   std::to_string(play->visible) + "]";
        }
        out += "\n";
    }
    return out;
}

}  // namespace

TEST(ChartRead, ReadChartsGenerateWhatTheChartsInCodeGenerate) {
    using Maker = std::function<pnChart*()>;
    const Maker makers[] = {[] { return chartfile::everyKeyBarChart(); }, [] { return chartfile::everyKeyPieChart(); },
                            [] { return chartfile::everyKeyLineChart(); },
                            [] { return chartfile::everyKeyVolumeChart(); }};
    chartfile::ensureReader();
    for (const Maker& make : makers) {
        pnScene inCode;
        chartfile::addChartResources(inCode);
        pnChart* original = make();
        const std::string name = original->getName();
        chartfile::addChart(inCode, original);
        const std::string text = chartfile::writeText(inCode);

        pnScene fromFile;
        chartfile::readText(fromFile, text);
        auto* read = dynamic_cast<pnChart*>(fromFile.findObject(name.c_str()));
        ASSERT_NE(read, nullptr) << name;
        ASSERT_STREQ(read->getTypeName(), original->getTypeName());

        Shown a(inCode), b(fromFile);
        EXPECT_GT(original->getNumObjects(), 3 * original->getNumDataPts() - 2) << name;
        EXPECT_GT(original->getNumEffects(), 0) << name;
        EXPECT_EQ(read->getNumObjects(), original->getNumObjects()) << name;
        EXPECT_EQ(read->getNumEffects(), original->getNumEffects()) << name;
        EXPECT_EQ(read->getNumEvents(), original->getNumEvents()) << name;
        EXPECT_EQ(describeParts(*read), describeParts(*original)) << name;
    }
}

// The sample pie (10, 20, 30 and 40 percent growing over frames 0 to 30,
// side faces, no bevel, no hole) read from its file: half way each slice
// draws six triangles per whole degree grown plus its two end faces, at the
// end all of its mesh, before it nothing.
TEST(ChartRead, ASamplePieReadFromItsFileSweepsItsSlices) {
    pnScene s;
    chartfile::readText(s, chartfile::readFile(chartfile::sourceDir() + "/data/scenes/pie.apn"));
    auto* pie = dynamic_cast<pnPieChart*>(s.findObject("shares"));
    ASSERT_NE(pie, nullptr);
    sgGroup group;
    SceneGraphRoots roots;
    roots.eventGroup = &group;
    s.setRoots(&roots);
    pie->getNode();
    pie->setBuilt(1);
    s.generateChartParts(pie, s.findEvent("showShares"));
    const int degrees[] = {36, 72, 108, 144};
    for (int frame : {15, 30, 0}) {
        s.setFrame(frame);
        for (int i = 0; i < 4; ++i) {
            auto* slice = dynamic_cast<pnVolume*>(pie->getDataPtPart(i, pnChart::PART_MAIN));
            ASSERT_NE(slice, nullptr);
            const int whole = slice->getNumIndex() / 3;
            EXPECT_EQ(whole, degrees[i] * 6 + 2) << "slice " << i;
            const int expected = frame == 30 ? whole : frame == 15 ? degrees[i] / 2 * 6 + 2 : 0;
            EXPECT_EQ(slice->getNumPrims(), expected) << "slice " << i << " at frame " << frame;
        }
    }
    pie->clearChartParts();
    s.setRoots(nullptr);
}

// The sample bar chart read from its file: bar 0 (60, frames 0 to 30) half
// grown at frame 15 stands 1 + (60 - 1) / 2 high on the base scale (2.5, 1,
// 2.5); bar 3 (frames 30 to 60) has not started.
TEST(ChartRead, ASampleBarChartReadFromItsFileGrowsItsBars) {
    pnScene s;
    chartfile::readText(s, chartfile::readFile(chartfile::sourceDir() + "/data/scenes/barchart.apn"));
    auto* bars = dynamic_cast<pnBarChart*>(s.findObject("bars"));
    ASSERT_NE(bars, nullptr);
    sgGroup group;
    SceneGraphRoots roots;
    roots.eventGroup = &group;
    s.setRoots(&roots);
    bars->getNode();
    bars->setBuilt(1);
    s.generateChartParts(bars, s.findEvent("barsEvent"));
    s.setFrame(15);
    EXPECT_EQ(bars->getDataPtPart(0, pnChart::PART_MAIN)->getScaleOrigin(), sgVec3(2.5f, 30.5f, 2.5f));
    s.setFrame(60);
    EXPECT_EQ(bars->getDataPtPart(3, pnChart::PART_MAIN)->getScaleOrigin(), sgVec3(2.5f, 180, 2.5f));
    EXPECT_EQ(bars->getDataPtEvent(3, pnChart::PART_MAIN)->getAccScale(), sgVec3(1, 180, 1));
    bars->clearChartParts();
    s.setRoots(nullptr);
}

// Every sample scene is written at the current format version, so opening
// one never asks to convert it; its materials and charts are all there.
TEST(ChartRead, TheSampleScenesAreAtTheCurrentVersion) {
    const char* samples[] = {"allcharts.apn", "barchart.apn", "counter.apn", "linechart.apn",
                             "pie.apn",       "pyramid.apn",  "titles.apn"};
    for (const char* file : samples) {
        SCOPED_TRACE(file);
        pnScene s;
        const std::string text = chartfile::readFile(chartfile::sourceDir() + "/data/scenes/" + file);
        ASSERT_FALSE(text.empty());
        chartfile::readText(s, text);
        EXPECT_EQ(s.getVersion(), 250);
        EXPECT_GT(s.getNumObjects(), 0);
    }
}

// A pie's point without a slice (the points before fill the circle) keeps
// its texts hidden when the chart's show flags are set again, through the
// chart base as the property pages reach it.
TEST(ChartRead, APieShowsTextsOnlyForPointsWithASlice) {
    pnScene s;
    auto* pie = new pnPieChart;
    pie->setName("full");
    for (double v : {70.0, 30.0, 15.0}) {
        pnChartDataPt p;
        p.growValue = v;
        pie->addDataPt(p);
    }
    chartfile::addChart(s, pie);
    Shown shown(s);
    ASSERT_TRUE(pie->hasSlice(0));
    ASSERT_FALSE(pie->hasSlice(2));
    pnChart* base = pie;
    for (int which : {pnChart::PART_DATA_TEXT, pnChart::PART_LABEL}) {
        auto set = [&](int show) {
            if (which == pnChart::PART_DATA_TEXT)
                base->setShowData(show);
            else
                base->setShowLabel(show);
        };
        set(0);
        set(1);
        EXPECT_EQ(pie->getDataPtPart(0, which)->getVisible(), 1) << which;
        EXPECT_EQ(pie->getDataPtEvent(0, which)->getHidden(), 0) << which;
        EXPECT_EQ(pie->getDataPtPart(2, which)->getVisible(), 0) << which;
        EXPECT_EQ(pie->getDataPtEvent(2, which)->getHidden(), 1) << which;
        EXPECT_EQ(pie->getDataPtEvent(2, which)->getPlay(0)->visible, 0) << which;
        set(0);
        EXPECT_EQ(pie->getDataPtPart(0, which)->getVisible(), 0) << which;
        EXPECT_EQ(pie->getDataPtEvent(0, which)->getHidden(), 1) << which;
    }
    EXPECT_EQ(pie->getShowData(), 0);
    EXPECT_EQ(pie->getShowLabel(), 0);
}
