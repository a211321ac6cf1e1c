// Charts read from scene files on OSMesa: a pick on a bar of a read chart
// gives the bar and its chart, and the sample scene with every chart kind,
// drawn by the headless render tool, animates as its file says.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "sg/sgChannel.h"
#include "sg/sgRuntime.h"
#include "tests/charts/ChartFileSupport.h"
#include "tests/playback/PlaybackSupport.h"
#include "tests/support/ImageCheck.h"
#include "tests/support/RenderTool.h"
#include "tests/support/OffscreenGL.h"
#include "tests/support/ToolCheck.h"

namespace {

const int kW = 580, kH = 392;

class ChartFileGL : public SceneGLTest {
protected:
    ChartFileGL() : SceneGLTest(kW, kH) {}
};

}  // namespace

// Times a file gives a chart's points at the ends of the int range: the
// charts' own events add frames to them and average two, so they are held
// within a quarter of the range (a negative one is no time), and every kind
// still builds and draws.
TEST_F(ChartFileGL, PointTimesAtTheEndsOfTheIntRangeAreHeld) {
    const std::string slices = chartfile::sourceDir() + "/data/ChartSlices/";
    const std::string far = "startTime 2147483000 endTime 2147483647 shrinkStart 2147483647 shrinkEnd 2147483647";
    const std::string below = "startTime -2147483648 endTime -2147483647 shrinkStart -2147483000 shrinkEnd -5";
    std::string text = "viewpoint { name \"cam\" position ( 0 0 906 ) direction ( 0 0 -1 ) near 10 far 5000 fov 30 }\n";
    for (const char* kind : {"barChart", "pieChart", "lineChart", "volumeChart"}) {
        const std::string name = std::string(kind) + "1";
        text += std::string(kind) + " {\n    name \"" + name + "\"\n    file \"" + slices + "cyl10x.3ds\"\n" +
                "    data { growValue 10 " + far + " }\n    data { growValue 20 " + below + " }\n}\n" +
                "event { name \"" + name + "\" objectName \"" + name + "\" }\n";
    }
    chartfile::readText(scene(), text);
    for (const char* kind : {"barChart1", "pieChart1", "lineChart1", "volumeChart1"}) {
        SCOPED_TRACE(kind);
        auto* chart = dynamic_cast<pnChart*>(scene().findObject(kind));
        ASSERT_NE(chart, nullptr);
        ASSERT_EQ(chart->getNumDataPts(), 2);
        EXPECT_EQ(chart->getDataPtEndTime(0), kMaxChartPointFrame);
        EXPECT_EQ(chart->getDataPtShrinkEnd(0), kMaxChartPointFrame);
        EXPECT_EQ(chart->getDataPtStartTime(1), -1);
        EXPECT_EQ(chart->getDataPtShrinkEnd(1), -1);
    }
    scene().buildSceneGraph();
    scene().drawFrame(0, 10);
    scene().drawFrame(kMaxChartPointFrame, 10);
    const std::string written = chartfile::writeText(scene());
    EXPECT_EQ(written.find("2147483647"), std::string::npos);
    EXPECT_EQ(written.find("-2147483"), std::string::npos);
}

TEST_F(ChartFileGL, APickOnABarOfAReadChartGivesTheBarAndItsChart) {
    const std::string slices = chartfile::sourceDir() + "/data/ChartSlices/";
    chartfile::readText(scene(),
                        "viewpoint { name \"cam\" position ( 0 0 906 ) direction ( 0 0 -1 ) near 10 far 5000 fov 30 "
                        "width 720 perspective 1 }\n"
                        "background { name \"Background\" color ( 0 0 0 1 ) useTexture 0 }\n"
                        "material { name \"glow\" diffuse ( 0 0 0 ) ambient ( 0 0 0 ) emission ( 1 1 1 ) }\n"
                        "barChart {\n    name \"bars\"\n    file \"" + slices + "cyl10x.3ds\"\n"
                        "    position ( 0 -100 0 )\n    material \"glow\"\n    showData 0\n    showLabel 0\n"
                        "    spacing ( 120 0 0 )\n"
                        "    data { growValue 100 startTime 0 endTime 10 }\n"
                        "    data { spacing ( 120 0 0 ) growValue 150 startTime 0 endTime 10 }\n"
                        "    data { spacing ( 120 0 0 ) growValue 50 startTime 0 endTime 10 }\n"
                        "}\n"
                        "event { name \"show\" objectName \"bars\" }\n");
    auto* bars = dynamic_cast<pnBarChart*>(scene().findObject("bars"));
    ASSERT_NE(bars, nullptr);
    scene().buildSceneGraph();
    ASSERT_EQ(bars->getNumDataPts(), 3);
    ASSERT_EQ(bars->getNumObjects(), 9) << "the read chart made its parts when shown";
    scene().drawFrame(0, 10);

    GLdouble model[16], proj[16];
    GLint view[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, view);
    auto pickAt = [&](double x, double y, pnObject** chart) {
        GLdouble wx, wy, wz;
        gluProject(x, y, 12.5, model, proj, view, &wx, &wy, &wz);
        // Mouse rows count from the top.
        return scene().pickObject(ch, static_cast<int>(wx), height_ - static_cast<int>(wy), 3, 3, chart);
    };
    for (int i = 0; i < 3; ++i) {
        const sgVec3 base = bars->getDataPtPosition(i);
        pnObject* chart = nullptr;
        pnObject* hit = pickAt(base[0], base[1] + bars->getDataPtHeight(i) / 2, &chart);
        EXPECT_EQ(hit, bars->getDataPtPart(i, pnChart::PART_MAIN)) << "bar " << i;
        EXPECT_EQ(chart, bars) << "bar " << i;
    }
    // Above the shortest bar's top, between the others: nothing.
    pnObject* chart = bars;
    const sgVec3 third = bars->getDataPtPosition(2);
    EXPECT_EQ(pickAt(third[0], third[1] + 100, &chart), nullptr);
    EXPECT_EQ(chart, nullptr);
}

#ifdef KV_RENDER_TOOL
namespace {

// A frame of data/scenes/allcharts.apn through the render tool, top-down
// RGB rows read back through ImageMagick.
struct ToolFrame {
    std::vector<unsigned char> rgb;
    std::string log;
    // x from the left, y from the bottom.
    const unsigned char* at(int x, int y) const { return &rgb[(static_cast<size_t>(kH - 1 - y) * kW + x) * 3]; }
};

bool renderSample(int frame, ToolFrame& out) {
    RenderToolImage image;
    const std::string png = testOutputDir() + "/allcharts-" + std::to_string(frame) + ".png";
    const bool ok = renderWithTool("allcharts.apn",
                                   "--frame " + std::to_string(frame) + " --size " + std::to_string(kW) + "x" +
                                       std::to_string(kH) + " --verbose",
                                   png, image, chartfile::sourceDir() + "/data/scenes");
    out.log = image.log;
    out.rgb = std::move(image.rgb);
    return ok && image.width == kW && image.height == kH;
}

// Screen position of a point of the z = zDepth plane for the sample's camera:
// at (0, 0, 906) looking down -z, 30 degrees vertical field of view.
double rowOf(double y, double z = 0) { return (y / (906.0 - z) / std::tan(15.0 * M_PI / 180.0) + 1.0) * 0.5 * kH; }
double columnOf(double x, double z = 0) {
    return (x / (906.0 - z) / (std::tan(15.0 * M_PI / 180.0) * kW / kH) + 1.0) * 0.5 * kW;
}

// Pixels in the box of scene units [x0, x1] x [y0, y1] (z = 0) that pass.
long count(const ToolFrame& f, double x0, double x1, double y0, double y1,
           const std::function<bool(const unsigned char*)>& pass) {
    long n = 0;
    for (int y = std::max(0, static_cast<int>(rowOf(y0))); y <= std::min(kH - 1, static_cast<int>(rowOf(y1))); ++y)
        for (int x = std::max(0, static_cast<int>(columnOf(x0))); x <= std::min(kW - 1, static_cast<int>(columnOf(x1)));
             ++x)
            n += pass(f.at(x, y)) ? 1 : 0;
    return n;
}

// The pie's emission colours: one channel or two full, the rest dark.
bool pieColour(const unsigned char* p) {
    const int hi = std::max({p[0], p[1], p[2]}), lo = std::min({p[0], p[1], p[2]});
    return hi > 200 && lo < 60;
}
bool orange(const unsigned char* p) { return p[0] > 120 && p[2] < 80 && p[0] > p[2] + 60; }
bool notBackground(const unsigned char* p) { return p[0] > 40 || p[1] > 40 || p[2] > 70; }

}  // namespace

// Bars grow one after another over frames 0 to 50, the pie's slices sweep
// over frames 0 to 40, the area fills from frame 20 to 50; the title and the
// counter stand in every frame.
TEST(AllChartsRenderTool, TheSampleSceneAnimatesAsItsFileSays) {
    REQUIRE_TOOL("convert");
    ToolFrame f0, f15, f30, f60;
    ASSERT_TRUE(renderSample(0, f0)) << f0.log;
    ASSERT_TRUE(renderSample(15, f15)) << f15.log;
    ASSERT_TRUE(renderSample(30, f30)) << f30.log;
    ASSERT_TRUE(renderSample(60, f60)) << f60.log;
    EXPECT_EQ(f60.log.find("not read"), std::string::npos) << f60.log;
    EXPECT_EQ(f60.log.find("unexpected"), std::string::npos) << f60.log;

    // Bar Q1 (60, frames 0 to 30) in its column from its base at y = 20:
    // a unit tall at frame 0, 1 + 59 / 2 at frame 15, 60 from frame 30 on;
    // its front edge is 12.5 nearer the eye.
    const double x = -280;
    auto barRows = [&](const ToolFrame& f) {
        long n = 0;
        const int col = static_cast<int>(columnOf(x, 12.5));
        for (int y = static_cast<int>(rowOf(12)); y <= static_cast<int>(rowOf(100)); ++y)
            n += notBackground(f.at(col, y)) ? 1 : 0;
        return n;
    };
    const double perUnit = rowOf(1, 12.5) - rowOf(0, 12.5);
    EXPECT_LE(barRows(f0), 3);
    EXPECT_NEAR(barRows(f15), 30.5 * perUnit, 3);
    EXPECT_NEAR(barRows(f30), 60 * perUnit, 3);
    EXPECT_NEAR(barRows(f60), 60 * perUnit, 3);
    // Bar Q3 (90, frames 20 to 50) is still short at frame 30 and whole at 60.
    const int q3 = static_cast<int>(columnOf(-160, 12.5));
    long q3At30 = 0, q3At60 = 0;
    for (int y = static_cast<int>(rowOf(12)); y <= static_cast<int>(rowOf(125)); ++y) {
        q3At30 += notBackground(f30.at(q3, y)) ? 1 : 0;
        q3At60 += notBackground(f60.at(q3, y)) ? 1 : 0;
    }
    EXPECT_NEAR(q3At30, (1 + 89.0 / 3) * perUnit, 3);
    EXPECT_NEAR(q3At60, 90 * perUnit, 3);

    // The pie (outer radius 80 at (200, 100)): nothing at frame 0, 134 of
    // 360 whole degrees at frame 15 and 270 at frame 30, the whole disc from
    // frame 40. Seen off its axis, the walls of its depth add to the faces,
    // the more so for the cut ends of part-grown slices.
    auto pie = [&](const ToolFrame& f) { return count(f, 110, 290, 10, 190, pieColour); };
    const long whole = pie(f60);
    const double disc = M_PI * std::pow(80 * (rowOf(1) - rowOf(0)), 2);
    EXPECT_NEAR(whole, disc, 0.12 * disc);
    EXPECT_EQ(pie(f0), 0);
    const double at15 = static_cast<double>(pie(f15)) / whole, at30 = static_cast<double>(pie(f30)) / whole;
    EXPECT_GT(at15, 134.0 / 360 - 0.03);
    EXPECT_LT(at15, 134.0 / 360 + 0.08);
    EXPECT_GT(at30, 270.0 / 360 - 0.03);
    EXPECT_LT(at30, 270.0 / 360 + 0.08);

    // The area chart fills from frame 20: none before, more at 30, all at 60.
    auto area = [&](const ToolFrame& f) { return count(f, 110, 340, -242, -100, orange); };
    EXPECT_EQ(area(f15), 0);
    EXPECT_GT(area(f30), 0);
    EXPECT_GT(area(f60), area(f30) + area(f30) / 2);

    // The title stands in every frame.
    for (const ToolFrame* f : {&f0, &f60}) EXPECT_GT(count(*f, -120, 120, 195, 215, notBackground), 100);
}
#endif
