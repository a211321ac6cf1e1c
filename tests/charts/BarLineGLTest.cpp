// Bar and line charts shown in a scene graph on OSMesa: playback grows the
// bars and segments to their ends, and the sample scenes draw bar tops and
// joints at the rows the values predict, in process and through the headless
// render tool.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "assets/Model3DS.h"
#include "charts/pnChartRead.h"
#include "charts/pnPieChart.h"
#include "scene/pnSceneLoader.h"
#include "sg/sgChannel.h"
#include "sg/sgDCS.h"
#include "sg/sgGeode.h"
#include "sg/sgRuntime.h"
#include "tests/charts/BarLineSupport.h"
#include "tests/charts/ChartTestSupport.h"
#include "tests/charts/SampleCharts.h"
#include "tests/playback/PlaybackSupport.h"
#include "tests/support/ImageCheck.h"
#include "tests/support/RenderTool.h"
#include "tests/support/OffscreenGL.h"

namespace {

const int kW = 580, kH = 392;
const double kEyeZ = 906.0;
const double kPi = 3.14159265359;

std::string sourceDir() {
    const char* d = std::getenv("KELVANO_SOURCE_DIR");
    return d ? d : ".";
}

std::string chartSlice(const char* file) { return sourceDir() + "/data/ChartSlices/" + file; }

// Where the model-space point p of node's subtree lands in the event group:
// every transform node from node up applies its translation, rotation and
// scale (or its matrix), in double precision.
sgVec3 toWorld(const sgNode* node, const sgVec3& p) {
    double v[3] = {p[0], p[1], p[2]};
    for (const sgNode* n = node; n; n = n->getParent()) {
        if (!n->isOfType("sgDCS")) continue;
        const auto* dcs = static_cast<const sgDCS*>(n);
        if (dcs->getMatrixOn()) {
            sgVec3 r = dcs->getMatrix().transformPoint(sgVec3(float(v[0]), float(v[1]), float(v[2])));
            for (int k = 0; k < 3; ++k) v[k] = r[k];
            continue;
        }
        if (dcs->getScaleOn())
            for (int k = 0; k < 3; ++k) v[k] *= dcs->getScale()[k];
        if (dcs->getRotateOn()) {
            sgVec3 a = dcs->getRotAxis();
            double ax = a[0], ay = a[1], az = a[2];
            const double len = std::sqrt(ax * ax + ay * ay + az * az);
            ax /= len;
            ay /= len;
            az /= len;
            const double t = dcs->getRotAngle() * kPi / 180.0, c = std::cos(t), s = std::sin(t);
            const double dot = ax * v[0] + ay * v[1] + az * v[2];
            const double cx = ay * v[2] - az * v[1], cy = az * v[0] - ax * v[2], cz = ax * v[1] - ay * v[0];
            const double r[3] = {v[0] * c + cx * s + ax * dot * (1 - c), v[1] * c + cy * s + ay * dot * (1 - c),
                                 v[2] * c + cz * s + az * dot * (1 - c)};
            for (int k = 0; k < 3; ++k) v[k] = r[k];
        }
        if (dcs->getTranslateOn())
            for (int k = 0; k < 3; ++k) v[k] += dcs->getTrans()[k];
    }
    return sgVec3(float(v[0]), float(v[1]), float(v[2]));
}

// Rows from the bottom of the frame where the point (x, y, z) lands, as a
// continuous value, for the sample scenes' camera: at (0, 0, 906) looking
// down -z with a vertical field of view of 30 degrees.
double rowOf(double y, double z) {
    const double top = std::tan(15.0 * kPi / 180.0);
    return (y / (kEyeZ - z) / top + 1.0) * 0.5 * kH;
}
int columnOf(double x, double z) {
    const double right = std::tan(15.0 * kPi / 180.0) * kW / kH;
    return static_cast<int>((x / (kEyeZ - z) / right + 1.0) * 0.5 * kW);
}

// A frame seen through a pixel getter: x from the left, y from the bottom.
struct Pixels {
    std::function<RGBA(int, int)> at;
    RGBA background;
};

// The highest row of column x, searched from `from` down to `to`, that is
// not background; -1 when all are.
int firstCovered(const Pixels& img, int x, int from, int to) {
    for (int y = from; y >= to; --y)
        if (!near(img.at(x, y), img.background, 10)) return y;
    return -1;
}

// The top of the object in column x lies at the continuous row `edge`: the
// first covered row from above is within 2 pixels of it, and the rows well
// inside are covered.
void expectTopAt(const Pixels& img, int x, double edge, const char* what) {
    const int expected = static_cast<int>(std::floor(edge - 0.5));
    const int found = firstCovered(img, x, expected + 6, expected - 6);
    EXPECT_NE(found, -1) << what << ": nothing drawn near row " << expected << " of column " << x;
    if (found >= 0) {
        EXPECT_LE(std::abs(found - expected), 2) << what << ": top at row " << found << ", expected " << expected;
    }
    EXPECT_FALSE(near(img.at(x, expected - 4), img.background, 10)) << what << " is not drawn below its top";
}

// Bar tops of the sample bar chart at its last frame: a cylinder of radius
// 12.5 whose top cap is seen from below above the eye (its front edge is
// highest) and from above below it (its back edge).
void expectBarTops(const Pixels& img, pnBarChart& chart) {
    for (int i = 0; i < chart.getNumDataPts(); ++i) {
        const sgVec3 base = chart.getDataPtPosition(i);
        const double top = base[1] + chart.getDataPtHeight(i);
        const double z = top > 0 ? 12.5 : -12.5;
        const std::string what = "bar " + std::to_string(i);
        expectTopAt(img, columnOf(base[0], 0), rowOf(top, z), what.c_str());
    }
}

// Joints of the sample line chart: spheres of radius 10 on the tops; the
// silhouette's top seen from the eye.
void expectJointTops(const Pixels& img, pnLineChart& chart) {
    for (int i = 0; i < chart.getNumDataPts(); ++i) {
        const sgVec3 c = chart.getDataPtTop(i);
        const double dist = std::sqrt(c[1] * c[1] + kEyeZ * kEyeZ);
        const double elevation = std::atan2(c[1], kEyeZ) + std::asin(10.0 / dist);
        const double edge = (std::tan(elevation) / std::tan(15.0 * kPi / 180.0) + 1.0) * 0.5 * kH;
        const std::string what = "joint " + std::to_string(i);
        expectTopAt(img, columnOf(c[0], 0), edge, what.c_str());
    }
}

// The text of the chart block that starts with keyword in a scene file.
std::string chartBlock(const std::string& path, const std::string& keyword) {
    std::ifstream in(path);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t at = text.find(keyword + " {\n");
    if (at == std::string::npos) return "";
    const size_t end = text.find("\n}\n\n", at);
    return end == std::string::npos ? "" : text.substr(at, end + 4 - at);
}

class BarLineGL : public SceneGLTest {
protected:
    BarLineGL() : SceneGLTest(kW, kH) {}
    void SetUp() override {
        SceneGLTest::SetUp();
    }

    // Adds chart (named c) with the event "show" that shows it, and hangs it.
    pnEvent* show(pnChart* chart) {
        scene().addObject(chart);
        scene().addChart(chart);
        auto* ev = new pnEvent;
        ev->setName("show");
        ev->setObjectName(chart->getName().c_str());
        scene().addEvent(ev);
        EXPECT_EQ(scene().addObjectsToScene(ev), 1);
        return ev;
    }

    // Reads a sample scene whole, its chart included, after checking that the
    // file's chart block is what the chart built in code writes.
    template <class Chart>
    Chart* loadSample(const std::string& file, Chart* expected, const char* keyword) {
        std::unique_ptr<Chart> code(expected);
        const std::string path = sourceDir() + "/data/scenes/" + file;
        EXPECT_EQ(chartBlock(path, keyword), writtenBy(*code)) << "the sample's chart block differs from the code's";
        installChartKinds();
        if (!pnSceneLoader().readFile(scene(), path)) {
            ADD_FAILURE() << path;
            return nullptr;
        }
        return dynamic_cast<Chart*>(scene().findObject(code->getName().c_str()));
    }

    Pixels frame() {
        auto f = std::make_shared<Frame>(readFrame(width_, height_));
        Pixels img;
        img.at = [f](int x, int y) { return f->at(x, y); };
        img.background = f->at(0, 0);
        return img;
    }

};

TEST_F(BarLineGL, BarsGrowThroughTheirBaseScale) {
    auto* chart = new pnBarChart;
    chart->setName("c");
    chart->setFileName(chartSlice("cyl10x.3ds").c_str());
    pnChartDataPt p;
    p.growValue = 4;
    p.startTime = 0;
    p.endTime = 30;
    chart->addDataPt(p);
    show(chart);
    ASSERT_EQ(chart->isBuilt(), 1);
    pnObject* bar = chart->getDataPtPart(0, pnChart::PART_MAIN);
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(bar->getSwitchNode(), nullptr) << "the bar was not hung";
    EXPECT_EQ(bar->getSwitchNode()->getParent()->getName(), "c-000");
    EXPECT_EQ(chart->findEffect("c-000")->getScale(), sgVec3(1, 4, 1));

    scene().setFrame(15);
    expectVec(bar->getScaleOrigin(), sgVec3(2.5f, 2.5f, 2.5f), 1e-6f, "mid grow");
    expectVec(bar->getPivotNode()->getScale(), sgVec3(2.5f, 2.5f, 2.5f), 1e-6f, "pivot node");
    scene().setFrame(30);
    expectVec(bar->getScaleOrigin(), sgVec3(2.5f, 4, 2.5f), 1e-6f, "end of grow");
    pnEvent* ev = chart->getDataPtEvent(0, pnChart::PART_MAIN);
    EXPECT_EQ(ev->getAccScale(), sgVec3(1, 4, 1));
    // The bar's top: y = 4 above the chart position.
    expectVec(toWorld(bar->getGeode(), sgVec3(0, 1, 0)), sgVec3(0, 4, 0), 1e-5f, "top");
}

TEST_F(BarLineGL, LineSegmentsEndOnTheNextTopAfterTheirGrow) {
    auto* chart = new pnLineChart;
    chart->setName("c");
    chart->setFileName(chartSlice("cyl10x.3ds").c_str());
    chart->setJointFile(chartSlice("sphere10x.3ds").c_str());
    chart->setPosition(sgVec3(5, -20, 3));
    // Ten directions, one nearly vertical.
    const sgVec3 spacings[] = {sgVec3(80, 0, 0),  sgVec3(80, 0, 0),   sgVec3(-60, 0, 0), sgVec3(0, 0, 70),
                               sgVec3(0, 0, -90), sgVec3(30, 0, -50), sgVec3(40, 20, 0), sgVec3(0.001f, 0, 0),
                               sgVec3(-25, 0, 25), sgVec3(80, -10, 5)};
    const double values[] = {10, 90, 20, 20, 75, -30, -30, 45, 145, -60, 5};
    for (int i = 0; i < 11; ++i) {
        pnChartDataPt p;
        p.growValue = values[i];
        if (i > 0) p.spacing = spacings[i - 1];
        p.startTime = 0;
        p.endTime = 20;
        chart->addDataPt(p);
    }
    show(chart);
    scene().setFrame(20);
    for (int i = 1; i < 11; ++i) {
        SCOPED_TRACE(i);
        pnObject* seg = chart->getDataPtPart(i, pnChart::PART_MAIN);
        ASSERT_NE(seg->getGeode(), nullptr) << "segment not hung";
        const sgVec3 top = chart->getDataPtTop(i);
        expectVec(toWorld(seg->getGeode(), sgVec3(0, 1, 0)), top, 1e-4f, "far end");
        expectVec(toWorld(seg->getGeode(), sgVec3(0, 0, 0)), chart->getDataPtTop(i - 1), 1e-4f, "near end");
        pnObject* joint = chart->getDataPtPart(i, pnChart::PART_EXTRA);
        ASSERT_NE(joint->getGeode(), nullptr);
        expectVec(toWorld(joint->getGeode(), sgVec3(0, 0, 0)), top, 1e-4f, "joint");
        // The joint is a sphere of radius 5 times the joint scale 2.
        expectVec(toWorld(joint->getGeode(), sgVec3(0, 5, 0)), top + sgVec3(0, 10, 0), 1e-4f, "joint top");
    }
    // Halfway through the grow the length is halfway from the model's one
    // unit to the full length.
    scene().setFrame(10);
    pnObject* seg = chart->getDataPtPart(1, pnChart::PART_MAIN);
    const sgVec3 a = chart->getDataPtTop(0), d = chart->getDataPtTop(1) - a;
    const float len = sgLength(d);
    expectVec(toWorld(seg->getGeode(), sgVec3(0, 1, 0)), a + d * ((len + 1) * 0.5f / len), 1e-3f, "half way");
}

// The chart's switch holds its transform and one node per chart event, each
// named after its event and holding that event's part.
void expectHung(pnChart& chart) {
    sgSwitch* sw = chart.getSwitchNode();
    ASSERT_NE(sw, nullptr);
    ASSERT_EQ(sw->getNumChildren(), 1 + chart.getNumEvents());
    for (int k = 0; k < chart.getNumEvents(); ++k) {
        pnEvent* ev = chart.getEvent(k);
        EXPECT_EQ(sw->getChild(1 + k)->getName(), ev->getName());
        pnObject* part = chart.findChartPart(ev->getObjectName(0));
        ASSERT_NE(part, nullptr);
        ASSERT_NE(part->getSwitchNode(), nullptr) << part->getName();
        EXPECT_EQ(part->getSwitchNode()->getParent(), sw->getChild(1 + k));
    }
}

TEST_F(BarLineGL, PartsMadeAfterShowingHangInTheGraph) {
    auto* bars = new pnBarChart;
    bars->setName("b");
    bars->setFileName(chartSlice("cyl10x.3ds").c_str());
    bars->setNumDataPts(2);
    auto* line = new pnLineChart;
    line->setName("c");
    line->setFileName(chartSlice("cyl10x.3ds").c_str());
    line->setJointFile(chartSlice("sphere10x.3ds").c_str());
    line->setNumDataPts(3);
    scene().addObject(bars);
    scene().addChart(bars);
    auto* ev = new pnEvent;
    ev->setName("showBars");
    ev->setObjectName("b");
    scene().addEvent(ev);
    show(line);
    ASSERT_EQ(scene().addObjectsToScene(ev), 1);
    expectHung(*bars);
    expectHung(*line);

    ASSERT_EQ(bars->appendDataPt(), 3);
    expectHung(*bars);
    ASSERT_EQ(bars->deleteDataPt(0), 1);
    expectHung(*bars);
    // Joints going and coming back change every point's slots.
    line->setJointFile("");
    EXPECT_EQ(line->getNumObjects(), 8);
    expectHung(*line);
    line->setJointFile(chartSlice("sphere10x.3ds").c_str());
    EXPECT_EQ(line->getNumObjects(), 11);
    expectHung(*line);
    scene().setFrame(40);
    expectVec(toWorld(line->getDataPtPart(2, pnChart::PART_MAIN)->getGeode(), sgVec3(0, 1, 0)),
               line->getDataPtTop(2), 1e-4f, "far end");
    expectVec(toWorld(line->getDataPtPart(2, pnChart::PART_EXTRA)->getGeode(), sgVec3(0, 0, 0)),
               line->getDataPtTop(2), 1e-4f, "joint");
}

TEST_F(BarLineGL, SampleBarChartDrawsItsBarTopsWhereTheValuesSay) {
    pnBarChart* chart = loadSample("barchart.apn", makeSampleBarChart(), "barChart");
    ASSERT_NE(chart, nullptr);
    chart->setFileName(chartSlice("cyl10x.3ds").c_str());
    scene().buildSceneGraph();
    ASSERT_EQ(chart->isBuilt(), 1);
    scene().drawFrame(0, 60);
    Pixels img = frame();
    EXPECT_TRUE(near(img.background, RGBA{13, 13, 38, 255}, 2)) << describe(img.background);
    expectBarTops(img, *chart);
    // Between the bars: background.
    EXPECT_TRUE(near(img.at(columnOf(-80, 0), static_cast<int>(rowOf(-60, 0))), img.background, 10));
    if (HasFailure()) {
        Frame f = readFrame(width_, height_);
        writeFramePNG(f, testOutputDir() + "/sample-barchart.png");
    }
}

TEST_F(BarLineGL, SampleLineChartDrawsItsJointsWhereTheValuesSay) {
    pnLineChart* chart = loadSample("linechart.apn", makeSampleLineChart(), "lineChart");
    ASSERT_NE(chart, nullptr);
    chart->setFileName(chartSlice("cyl10x.3ds").c_str());
    chart->setJointFile(chartSlice("sphere10x.3ds").c_str());
    scene().buildSceneGraph();
    ASSERT_EQ(chart->isBuilt(), 1);
    scene().drawFrame(0, 70);
    Pixels img = frame();
    expectJointTops(img, *chart);
    // A segment's middle is drawn, the space under it is not.
    const sgVec3 mid = (chart->getDataPtTop(1) + chart->getDataPtTop(2)) * 0.5f;
    EXPECT_FALSE(near(img.at(columnOf(mid[0], 0), static_cast<int>(rowOf(mid[1], 0))), img.background, 10));
    EXPECT_TRUE(near(img.at(columnOf(mid[0], 0), static_cast<int>(rowOf(mid[1] - 30, 0))), img.background, 10));
    if (HasFailure()) {
        Frame f = readFrame(width_, height_);
        writeFramePNG(f, testOutputDir() + "/sample-linechart.png");
    }
}

// ---- the parts' own materials ----

// The chart part models name no material: the default one takes the colours
// current when their list is called, so the part's material shows.
TEST(ChartPartModels, CarryOnlyTheDefaultMaterial) {
    for (const char* file : {"cyl10x.3ds", "sphere10x.3ds"}) {
        SCOPED_TRACE(file);
        std::unique_ptr<sg3DSModel> model = read3DSModel(chartSlice(file), sg3DSOptions());
        ASSERT_NE(model, nullptr);
        ASSERT_EQ(model->materials.size(), 1u);
        EXPECT_EQ(model->materials[0].name, "WG_DEFAULT");
        EXPECT_GT(model->triangleCount(), 0u);
    }
}

// A bar, a line chart (segment and joints) and a pie slice given a plain red
// material, lit by one light, come out red at the middle of each part, with
// and without anti-aliasing.
TEST_F(BarLineGL, PartsTakeTheirOwnMaterialsColour) {
    const std::string path = testOutputDir() + "/red-parts.apn";
    {
        std::ofstream out(path);
        out << "scene {\n    name\t\"red\"\n    width\t580\n    height\t392\n    version\t250\n}\n\n"
               "viewpoint {\n    name\t\"camera\"\n    position\t( 0 0 906 )\n    direction\t( 0 0 -1 )\n"
               "    near\t10\n    far\t5000\n    fov\t30\n    width\t720\n    perspective\t1\n}\n\n"
               "material {\n    name\t\"red\"\n    diffuse\t( 0.9 0.05 0.05 )\n    ambient\t( 0.3 0 0 )\n"
               "    specular\t( 0 0 0 )\n}\n\n"
               "light {\n    name\t\"key\"\n    position\t( 0 0 900 )\n    positional\t1\n    on\t1\n}\n\n";
    }
    installChartKinds();
    ASSERT_EQ(pnSceneLoader().readFile(scene(), path), 1);
    ASSERT_NE(scene().findMaterial("red"), nullptr);

    auto quiet = [](pnChart* c) {
        c->setShowData(0);
        c->setShowLabel(0);
        c->setHJust(pnChart::JUST_LEFT);
        c->setMaterial("red");
    };
    auto point = [](pnChart* c, double value, const sgVec3& spacing) {
        pnChartDataPt p;
        p.growValue = value;
        p.spacing = spacing;
        p.endTime = 10;
        c->addDataPt(p);
    };
    auto* bar = new pnBarChart;
    bar->setName("bar");
    bar->setFileName(chartSlice("cyl10x.3ds").c_str());
    bar->setPosition(sgVec3(-160, -100, 0));
    point(bar, 100, sgVec3(0, 0, 0));
    quiet(bar);
    auto* line = new pnLineChart;
    line->setName("line");
    line->setFileName(chartSlice("cyl10x.3ds").c_str());
    line->setJointFile(chartSlice("sphere10x.3ds").c_str());
    line->setJointMaterialName("red");
    line->setBaseScale(sgVec3(2, 1, 2));
    line->setPosition(sgVec3(-40, -120, 0));
    point(line, 60, sgVec3(0, 0, 0));
    point(line, 60, sgVec3(100, 0, 0));
    quiet(line);
    auto* pie = new pnPieChart;
    pie->setName("pie");
    pie->setOuterRad(50);
    pie->setPosition(sgVec3(170, 60, 0));
    point(pie, 100, sgVec3(0, 0, 0));
    quiet(pie);
    for (pnChart* c : {static_cast<pnChart*>(bar), static_cast<pnChart*>(line), static_cast<pnChart*>(pie)}) {
        scene().addObject(c);
        scene().addChart(c);
        auto* ev = new pnEvent;
        ev->setName(("show-" + c->getName()).c_str());
        ev->setObjectName(c->getName().c_str());
        scene().addEvent(ev);
    }
    scene().buildSceneGraph();
    ASSERT_EQ(bar->isBuilt(), 1);
    ASSERT_EQ(pie->isBuilt(), 1);

    // Where the middle of each part lands: the bar's front at half its
    // height, the segment's middle, a joint's centre, and the pie's top half
    // way out from its centre.
    struct Probe {
        const char* what;
        double x, y, z;
    } probes[] = {
        {"bar", -160, -50, 12.5},
        {"segment", 10, -60, 10},
        {"joint", -40, -60, 10},
        {"pie slice", 170, 60 + 25, 30},
    };
    for (int level : {0, 4}) {
        scene().drawFrame(level, 20);
        Pixels img = frame();
        for (const Probe& p : probes) {
            const double z = p.z;
            const RGBA c = img.at(columnOf(p.x, z), static_cast<int>(rowOf(p.y, z)));
            EXPECT_GT(c.r, 2 * c.g) << p.what << " at level " << level << ": " << describe(c);
            EXPECT_GT(c.r, 2 * c.b) << p.what << " at level " << level << ": " << describe(c);
            EXPECT_GT(c.r, 60) << p.what << " at level " << level << ": " << describe(c);
        }
        if (HasFailure()) {
            Frame f = readFrame(width_, height_);
            writeFramePNG(f, testOutputDir() + "/red-parts-" + std::to_string(level) + ".png");
        }
    }
}

// ---- the headless render tool on the sample files ----

using ToolImage = RenderToolImage;

// Renders a sample scene from its own folder and reads the PNG back. False
// when the tool failed.
bool renderSample(const std::string& file, int frame, ToolImage& out) {
    const std::string png = testOutputDir() + "/tool-" + file + ".png";
    if (!renderWithTool(file,
                        "--frame " + std::to_string(frame) + " --size " + std::to_string(kW) + "x" +
                            std::to_string(kH) + " --verbose",
                        png, out, sourceDir() + "/data/scenes"))
        return false;
    EXPECT_EQ(std::system(("pngcheck -q " + shellQuote(png) + " >/dev/null").c_str()), 0) << png;
    return out.width == kW && out.height == kH;
}

Pixels toolPixels(const ToolImage& image) {
    Pixels img;
    const std::vector<unsigned char>* rgb = &image.rgb;
    img.at = [rgb](int x, int y) {
        const size_t i = (static_cast<size_t>(kH - 1 - y) * kW + x) * 3;
        return RGBA{(*rgb)[i], (*rgb)[i + 1], (*rgb)[i + 2], 255};
    };
    img.background = img.at(0, 0);
    return img;
}

// Until the scene reader reads chart blocks the tool draws the samples
// without their charts; the probes need them.
TEST(BarLineRenderTool, SampleBarChartAtItsLastFrame) {
    ToolImage image;
    ASSERT_TRUE(renderSample("barchart.apn", 60, image)) << image.log;
    std::unique_ptr<pnBarChart> chart(makeSampleBarChart());
    expectBarTops(toolPixels(image), *chart);
}

TEST(BarLineRenderTool, SampleLineChartAtItsLastFrame) {
    ToolImage image;
    ASSERT_TRUE(renderSample("linechart.apn", 70, image)) << image.log;
    std::unique_ptr<pnLineChart> chart(makeSampleLineChart());
    expectJointTops(toolPixels(image), *chart);
}

}  // namespace
