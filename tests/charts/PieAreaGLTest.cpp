// Pie and area charts drawn on OSMesa through the scene: each slice colour
// covers its share of the disc (counted by ImageMagick's histogram), slices
// rebuilt while shown take the old slice's place, and an area chart covers
// the area under its line.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "charts/pnPieChart.h"
#include "charts/pnVolumeChart.h"
#include "scene/pnBackground.h"
#include "scene/pnMaterial.h"
#include "scene/pnViewpoint.h"
#include "scene/pnVolume.h"
#include "sg/sgChannel.h"
#include "tests/charts/PieAreaSupport.h"
#include "tests/playback/PlaybackSupport.h"
#include "tests/support/ImageCheck.h"
#include "tests/support/OffscreenGL.h"
#include "tests/support/RenderTool.h"
#include "tests/support/ToolCheck.h"

namespace {

const char* kColours[] = {"red", "green", "blue", "yellow"};
const sgVec3 kEmission[] = {sgVec3(1, 0, 0), sgVec3(0, 1, 0), sgVec3(0, 0, 1), sgVec3(1, 1, 0)};

// Pixel counts by colour as ImageMagick reads the PNG; empty when it cannot.
std::map<std::string, long> histogram(const std::string& png) {
    std::map<std::string, long> counts;
    std::istringstream lines(runCommand("convert '" + png + "' -format %c histogram:info:- 2>/dev/null"));
    std::string line;
    while (std::getline(lines, line)) {
        long n = 0;
        char hex[16] = {};
        // "   1234: (255,0,0) #FF0000 red"
        const char* hash = std::strchr(line.c_str(), '#');
        if (std::sscanf(line.c_str(), " %ld:", &n) == 1 && hash && std::sscanf(hash, "#%8s", hex) == 1)
            counts[std::string(hex).substr(0, 6)] += n;
    }
    return counts;
}

// The four colours' shares of a disc of radius 120 units drawn 300 pixels
// for 400 units.
void expectShares(const std::map<std::string, long>& counts, const double shares[4]) {
    const char* hex[] = {"FF0000", "00FF00", "0000FF", "FFFF00"};
    long disc = 0;
    for (const char* h : hex) disc += counts.count(h) ? counts.at(h) : 0;
    const double r = 120 * 300.0 / 400.0;
    EXPECT_NEAR(disc, 3.14159265359 * r * r, 0.02 * 3.14159265359 * r * r);
    for (int i = 0; i < 4; ++i) {
        const double got = 100.0 * (counts.count(hex[i]) ? counts.at(hex[i]) : 0) / std::max(disc, 1L);
        EXPECT_NEAR(got, shares[i], 2.0) << kColours[i];
    }
}

class PieAreaGLTest : public SceneGLTest {
protected:
    PieAreaGLTest() : SceneGLTest(300, 300) {}
    void SetUp() override {
        SceneGLTest::SetUp();
        // Seen straight down the z axis, 400 units across, on black.
        auto* vp = new pnViewpoint;
        vp->perspective = 0;
        vp->width = 400;
        scene().setViewpoint(vp);
        auto* bg = new pnBackground;
        bg->setColor(sgVec4(0, 0, 0, 1));
        scene().setBackground(bg);
        for (int i = 0; i < 4; ++i) {
            auto* m = new pnMaterial;
            m->setName(kColours[i]);
            m->setEmission(kEmission[i]);
            m->setDiffuse(0, 0, 0);
            m->setAmbient(0, 0, 0);
            scene().addMaterial(m);
        }
    }

    // Adds chart c and the event "show" that shows it.
    template <class K>
    K* addChart() {
        auto* c = new K;
        c->setName("c");
        c->setShowData(0);
        c->setShowLabel(0);
        scene().addObject(c);
        scene().addChart(c);
        auto* e = new pnEvent;
        e->setName("show");
        e->addObjectName("c");
        scene().addEvent(e);
        return c;
    }

    std::map<std::string, long> draw(const char* name) {
        scene().drawFrame(0, 30);
        glFinish();
        const Frame f = readFrame(width_, height_);
        const std::string png = testOutputDir() + "/" + name + ".png";
        EXPECT_TRUE(writeFramePNG(f, png));
        return histogram(png);
    }
};

}  // namespace

TEST_F(PieAreaGLTest, EachSliceCoversItsShareOfTheDiscAndKeepsItWhenRebuilt) {
    REQUIRE_TOOL("convert");
    pnPieChart* pie = addChart<pnPieChart>();
    const double values[] = {10, 20, 30, 40};
    for (int i = 0; i < 4; ++i) {
        pnChartDataPt p;
        p.growValue = values[i];
        p.endTime = 30;
        pie->addDataPt(p);
        pie->setDataPtMaterialName(i, kColours[i]);
    }
    scene().buildSceneGraph();
    ASSERT_EQ(pie->getNumObjects(), 12);
    for (int i = 0; i < 4; ++i) {
        pnObject* slice = pie->getDataPtPart(i, pnChart::PART_MAIN);
        ASSERT_EQ(pie->getDataPtEvent(i, pnChart::PART_MAIN)->getNode(), slice->getSwitchNode()) << i;
    }
    expectShares(draw("pie-four-slices"), values);

    // Rebuilt while shown: the new slices hang where the old ones did.
    pnEvent* ev = pie->getDataPtEvent(0, pnChart::PART_MAIN);
    sgNode* dcs = ev->getNode()->getParent();
    pnObject* old = pie->getDataPtPart(0, pnChart::PART_MAIN);
    pie->setDataPtGrowValue(3, 10);
    pie->setDataPtGrowValue(0, 40);
    pnObject* fresh = pie->getDataPtPart(0, pnChart::PART_MAIN);
    EXPECT_NE(fresh, old);
    EXPECT_EQ(ev->getNode(), fresh->getSwitchNode());
    EXPECT_EQ(fresh->getSwitchNode()->getParent(), dcs);
    EXPECT_EQ(fresh->isBuilt(), 1);
    const double rebuilt[] = {40, 20, 30, 10};
    expectShares(draw("pie-rebuilt"), rebuilt);

    // Halfway through the grow each slice shows half its degrees.
    scene().drawFrame(0, 15);
    EXPECT_EQ(static_cast<pnVolume*>(fresh)->getNumPrims(), 6 * 72 + 2);
}

// The area chart seen from the front covers the area between its line and
// the base line, above and below it.
TEST_F(PieAreaGLTest, AnAreaChartCoversTheAreaUnderItsLine) {
    pnVolumeChart* area = addChart<pnVolumeChart>();
    const double values[] = {50, 100, 100, -50, -20};
    for (int i = 0; i < 5; ++i) {
        pnChartDataPt p;
        p.growValue = values[i];
        p.endTime = 30;
        if (i > 0) p.spacing = sgVec3(80, 0, 0);
        area->addDataPt(p);
    }
    area->setMaterial("green");
    scene().buildSceneGraph();
    scene().drawFrame(0, 30);
    glFinish();
    const Frame f = readFrame(width_, height_);
    writeFramePNG(f, testOutputDir() + "/area-front.png");
    long lit = 0;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) lit += f.at(x, y).g > 128 ? 1 : 0;
    // Trapezoids 75 and 100 wide 80, then 100 to -50 crossing at 53.3 and
    // a negative trapezoid of 35: in units squared, then in pixels.
    const double units = 80 * 75 + 80 * 100 + 0.5 * 100 * 80 * 100 / 150 + 0.5 * 50 * 80 * 50 / 150 + 80 * 35;
    const double pixels = units * (300.0 / 400.0) * (300.0 / 400.0);
    EXPECT_NEAR(lit, pixels, 0.02 * pixels);
    // Probes: above the base line in the first segment, below it in the last.
    const auto px = [&](double ux, double uy) {
        return f.at(static_cast<int>(150 + ux * 0.75), static_cast<int>(150 + uy * 0.75));
    };
    EXPECT_GT(px(-140, 30).g, 128);   // under the line from 50 to 100
    EXPECT_EQ(px(-140, -10).g, 0);    // below the base line there
    EXPECT_GT(px(140, -15).g, 128);   // between -50 and -20
    EXPECT_EQ(px(140, 10).g, 0);
}

#ifdef KV_RENDER_TOOL
// The sample pie scene through the headless render tool, seen from the top.
TEST(PieRenderTool, SamplePieCoversEachShareOfTheDisc) {
    REQUIRE_TOOL("convert");
    const char* source = std::getenv("KELVANO_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    const std::string png = testOutputDir() + "/pie-sample.png";
    std::remove(png.c_str());
    std::string log;
    ASSERT_EQ(runRenderTool(shellQuote(std::string(source) + "/data/scenes/pie.apn") +
                                " --frame 30 --size 300x300 --verbose -o " + shellQuote(png),
                            &log),
              0)
        << log;
    const double values[] = {10, 20, 30, 40};
    expectShares(histogram(png), values);
}
#endif
