// Chart blocks in scene files: the four kinds written and read back to the
// same bytes, each kind taking its own keys and reporting the rest, and the
// blocks around a bad key still read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scene/pnBackground.h"
#include "tests/charts/ChartFileSupport.h"
#include "tests/scenefile/SceneFileSupport.h"
#include "tests/support/ImageCheck.h"

using chartfile::readText;
using chartfile::writeText;

namespace {

std::string roundTrip(const std::string& first, std::string* log = nullptr) {
    pnScene again;
    DiagnosticLog capture;
    readText(again, first);
    if (log) *log = capture.text();
    return writeText(again);
}

// The debug print of the two-part message head, tail.
bool said(const std::string& log, const std::string& head, const std::string& tail) {
    return log.find("TORVIS: " + head + " " + tail + "\n") != std::string::npos;
}

std::string readLog(pnScene& scene, const std::string& text) {
    DiagnosticLog capture;
    readText(scene, text);
    return capture.text();
}

pnChart* chartNamed(pnScene& s, const char* name) { return dynamic_cast<pnChart*>(s.findObject(name)); }

}  // namespace

TEST(ChartBlocks, EveryKindWithEveryKeyReadsBackToTheSameBytes) {
    chartfile::ensureReader();
    pnScene s;
    chartfile::buildEveryChart(s);
    const std::string first = writeText(s);
    // The keys that are written only when set are all there.
    for (const char* key :
         {"barChart {", "pieChart {", "lineChart {", "volumeChart {", "    texture\t", "    pivotAngle\t",
          "    pivotAxis\t", "    scaleOrigin\t", "    center\t", "    texMode\t1\n", "    numIndex\t12\n",
          "    forward\t3\n", "    labelBackMaterial\t\"shade\"", "    dataString\t\"digits\"", "    dataMin\t",
          "    dataMax\t", "    graphMin\t", "    heightScale\t", "    expansion\tup\n", "    showSide\t0\n",
          "    jointFile\t", "    jointMaterial\t\"gold\"", "    depth 12.500000\n", "        shrinkEnd\t",
          "        jointMaterial\t\"gold\"", "        depth\t"})
        EXPECT_NE(first.find(key), std::string::npos) << key;

    std::string log;
    EXPECT_EQ(roundTrip(first, &log), first);
    EXPECT_EQ(log, "") << "a written chart reads without a message";

    // The portable form as well.
    const std::string portable = writeText(s, 1);
    EXPECT_NE(portable.find("\"C:/ChartSlices/box10x.3ds\""), std::string::npos);
    EXPECT_EQ(roundTrip(portable), portable);
}

TEST(ChartBlocks, ReadChartsTakeTheirSettingsAndPoints) {
    pnScene s;
    chartfile::readText(s, [] {
        pnScene built;
        chartfile::ensureReader();
        chartfile::buildEveryChart(built);
        return writeText(built);
    }());
    ASSERT_EQ(s.getNumCharts(), 4);
    EXPECT_EQ(s.getChart(0)->getName(), "bars");
    EXPECT_STREQ(s.getChart(3)->getTypeName(), "pnVolumeChart");

    auto* bar = dynamic_cast<pnBarChart*>(chartNamed(s, "bars"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->getExpansion(), pnChart::EXPAND_UP);
    EXPECT_EQ(bar->getBaseScale(), sgVec3(3, 1.5f, 3));
    EXPECT_EQ(bar->getHJust(), pnChart::JUST_LEFT);
    EXPECT_EQ(bar->getShowData(), 0);
    EXPECT_EQ(bar->getTexture(), "C:\\Textures\\frame0001.png");
    EXPECT_EQ(bar->getForwardSetting(), 3);
    EXPECT_EQ(bar->getNumIndex(), 12);
    EXPECT_EQ(bar->getPivotAxis(), sgVec3(1, 0, 0));
    EXPECT_EQ(bar->getValueScale(), sgVec3(1.5f, 1.5f, 1));
    ASSERT_EQ(bar->getNumDataPts(), 3);
    EXPECT_DOUBLE_EQ(bar->getDataPtGrowValue(2), 160.125);
    // A double quote cannot stand in a quoted value: it is saved as "'".
    EXPECT_STREQ(bar->getDataPtLabel(0), "Q1 'x'");
    EXPECT_EQ(bar->getDataPtShrinkEnd(1), 85);
    EXPECT_STREQ(bar->getDataPtMaterialName(1), "blue");

    auto* pie = dynamic_cast<pnPieChart*>(chartNamed(s, "pie"));
    ASSERT_NE(pie, nullptr);
    // Given inner radius first, above the default outer radius of 120.
    EXPECT_FLOAT_EQ(pie->getInnerRad(), 130);
    EXPECT_FLOAT_EQ(pie->getOuterRad(), 200);
    EXPECT_FLOAT_EQ(pie->getBevel(), 4);
    EXPECT_FLOAT_EQ(pie->getDepth(), 40);
    EXPECT_EQ(pie->getShowSide(), 0);
    EXPECT_EQ(pie->getStartAngle(), 90);
    EXPECT_EQ(pie->getRotDirection(), -1);

    auto* line = dynamic_cast<pnLineChart*>(chartNamed(s, "trend"));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->getShowJoint(), 1);
    EXPECT_STREQ(line->getJointFile(), "C:\\ChartSlices\\sphere10x.3ds");
    EXPECT_EQ(line->getJointScale(), sgVec3(3, 3, 3));
    EXPECT_FLOAT_EQ(line->getDataMax(), 500);

    auto* area = dynamic_cast<pnVolumeChart*>(chartNamed(s, "area"));
    ASSERT_NE(area, nullptr);
    EXPECT_FLOAT_EQ(area->getDepth(), 12.5f);
    EXPECT_EQ(area->getNumDataPts(), 4);
    // Events name charts like any object.
    ASSERT_NE(s.findEvent("areaEvent"), nullptr);
    EXPECT_STREQ(s.findEvent("areaEvent")->getObjectName(0), "area");
}

TEST(ChartBlocks, SidesShownAndJointsOffSurviveASave) {
    chartfile::ensureReader();
    pnScene s;
    chartfile::addChartResources(s);
    auto* pie = new pnPieChart;
    pie->setName("sides");
    pie->setNumDataPts(2);
    chartfile::addChart(s, pie);
    auto* line = new pnLineChart;
    line->setName("plain");
    line->setJointFile("");
    line->setNumDataPts(3);
    chartfile::addChart(s, line);
    const std::string first = writeText(s);
    EXPECT_EQ(first.find("showSide"), std::string::npos);
    EXPECT_EQ(first.find("joint"), std::string::npos);

    pnScene again;
    readText(again, first);
    EXPECT_EQ(chartNamed(again, "sides")->getShowSide(), 1);
    EXPECT_EQ(chartNamed(again, "plain")->getShowJoint(), 0);
    EXPECT_EQ(writeText(again), first);
}

TEST(ChartBlocks, AnUnexpectedKeyIsReportedAndSkippedAndTheRestRead) {
    pnScene s;
    const std::string log = readLog(s,
                                    "material { name \"ink\" }\n"
                                    "barChart {\n"
                                    "    name\t\"b\"\n"
                                    "    rotDirection\t1\n"
                                    "    bogus { name \"inner\" data { growValue 1 } }\n"
                                    "    baseScale\t( 3.0 1.0 3.0 )\n"
                                    "    data {\n"
                                    "        growValue\t50\n"
                                    "        label\t\"A\"\n"
                                    "        wrongKey\t5\n"
                                    "        text\t\"fifty\"\n"
                                    "    }\n"
                                    "    data 7\n"
                                    "    showLabel\t0\n"
                                    "    labelMaterial\t\"ink\"\n"
                                    "}\n"
                                    "event { name \"e\" objectName \"b\" }\n");
    EXPECT_TRUE(said(log, "[pnScene::readBarChart] unexpected token: ", "RotDirection")) << log;
    EXPECT_TRUE(said(log, "[pnScene::readBarChart] unexpected token: ", "bogus")) << log;
    EXPECT_TRUE(said(log, "[pnScene::readBarChart] unexpected token: ", "wrongKey")) << log;
    EXPECT_TRUE(said(log, "[pnScene::readBarChart] ", "data block expected")) << log;
    pnChart* b = chartNamed(s, "b");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->getBaseScale(), sgVec3(3, 1, 3));
    EXPECT_EQ(b->getShowLabel(), 0);
    EXPECT_EQ(b->getLabelMaterialName(), "ink");
    // The nested group went with the bad key: one point, whole.
    ASSERT_EQ(b->getNumDataPts(), 1);
    EXPECT_DOUBLE_EQ(b->getDataPtGrowValue(0), 50);
    EXPECT_STREQ(b->getDataPtLabel(0), "A");
    EXPECT_STREQ(b->getDataPtDataText(0), "fifty");
    ASSERT_NE(s.findEvent("e"), nullptr);
    EXPECT_EQ(s.findEvent("e")->getNumObjectNames(), 1);
}

// Which kinds take which keys; every other key is reported and skipped.
TEST(ChartBlocks, EachKindTakesItsOwnKeys) {
    struct Key {
        const char* text;
        bool bar, pie, line, volume;
    };
    const std::vector<Key> keys = {
        {"expansion left", true, false, false, false},
        {"dataMin 1", true, false, true, true},
        {"dataMax 9", true, false, true, true},
        {"graphMin 1", true, false, true, true},
        {"heightScale 2", true, false, true, true},
        {"depth 10", false, true, false, true},
        {"rotDirection 1", false, true, false, false},
        {"close 1", false, true, false, false},
        {"innerRad 1", false, true, false, false},
        {"outerRad 99", false, true, false, false},
        {"bevel 1", false, true, false, false},
        {"showSide 1", false, true, false, false},
        {"startAngle 10", false, true, false, false},
        {"jointFile \"j.3ds\"", false, false, true, false},
        {"jointMaterial \"ink\"", false, false, true, false},
        {"jointProperty \"ink\"", false, false, true, false},
        {"jointScale ( 1 1 1 )", false, false, true, false},
        {"baseScale ( 1 1 1 )", true, true, true, true},
        {"labelProperty \"ink\"", true, true, true, true},
        {"dataBackProperty \"ink\"", true, true, true, true},
        // The common object fields the writer emits.
        {"file \"m.3ds\"", true, true, true, true},
        {"texture \"t.png\"", true, true, true, true},
        {"pivotAngle 5", true, true, true, true},
        {"pivotAxis ( 0 0 1 )", true, true, true, true},
        {"center ( 1 2 3 )", true, true, true, true},
        {"scaleOrigin ( 2 2 2 )", true, true, true, true},
        {"forward 2", true, true, true, true},
        {"texMode 1", true, true, true, true},
        {"numIndex 4", true, true, true, true},
        {"slantAngle 4", false, false, false, false},
    };
    const char* kinds[] = {"barChart", "pieChart", "lineChart", "volumeChart"};
    const char* prefixes[] = {"[pnScene::readBarChart] ", "[pnScene::readPieChart] ", "[pnScene::readLineChart] ",
                              "[pnScene::readVolumeChart] "};
    for (const Key& k : keys) {
        const bool takes[] = {k.bar, k.pie, k.line, k.volume};
        for (int kind = 0; kind < 4; ++kind) {
            pnScene s;
            const std::string log = readLog(s, std::string("material { name \"ink\" }\n") + kinds[kind] +
                                                   " {\n    name \"c\"\n    " + k.text + "\n    showData 0\n}\n");
            const bool reported = log.find(std::string(prefixes[kind]) + "unexpected token: ") != std::string::npos;
            EXPECT_EQ(reported, !takes[kind]) << kinds[kind] << " " << k.text << "\n" << log;
            ASSERT_NE(chartNamed(s, "c"), nullptr) << kinds[kind];
            EXPECT_EQ(chartNamed(s, "c")->getShowData(), 0) << kinds[kind] << " " << k.text;
        }
    }
}

TEST(ChartBlocks, WordsForJustificationAndExpansion) {
    auto expansionOf = [](const char* word) {
        pnScene s;
        readText(s, std::string("barChart { name \"b\" expansion ") + word + " }\n");
        return chartNamed(s, "b")->getExpansion();
    };
    EXPECT_EQ(expansionOf("left"), pnChart::EXPAND_LEFT);
    EXPECT_EQ(expansionOf("Left"), pnChart::EXPAND_LEFT);
    EXPECT_EQ(expansionOf("right"), pnChart::EXPAND_RIGHT);
    EXPECT_EQ(expansionOf("Up"), pnChart::EXPAND_UP);
    EXPECT_EQ(expansionOf("down"), pnChart::EXPAND_DOWN);
    EXPECT_EQ(expansionOf("sideways"), pnChart::EXPAND_DOWN);

    pnScene s;
    std::string log = readLog(s,
                              "pieChart { name \"r\" hJust \"right\" }\n"
                              "pieChart { name \"m\" hJust \"Right\" hJust \"Middle\" }\n");
    EXPECT_EQ(chartNamed(s, "r")->getHJust(), pnChart::JUST_RIGHT);
    EXPECT_EQ(chartNamed(s, "m")->getHJust(), pnChart::JUST_RIGHT);
    EXPECT_TRUE(said(log, "[pnScene::readPieChart] Unidentifiable token for hJust: ", "Middle")) << log;
}

TEST(ChartBlocks, MissingNamesAndDuplicateChartsAreReported) {
    pnScene s;
    const std::string log = readLog(s,
                                    "material { name \"ink\" }\n"
                                    "model { name \"taken\" }\n"
                                    "lineChart {\n"
                                    "    name \"l\"\n"
                                    "    labelMaterial \"nowhere\"\n"
                                    "    dataString \"nostyle\"\n"
                                    "    jointMaterial \"nojoint\"\n"
                                    "    dataMaterial \"ink\"\n"
                                    "    data { material \"nopoint\" jointMaterial \"ink\" }\n"
                                    "}\n"
                                    "lineChart { name \"l\" }\n"
                                    "volumeChart { name \"taken\" }\n");
    EXPECT_TRUE(said(log, "[pnScene::readLineChart] Material not found: ", "nowhere")) << log;
    EXPECT_TRUE(said(log, "[pnScene::readLineChart] String material not found: ", "nostyle")) << log;
    EXPECT_TRUE(said(log, "[pnScene::readLineChart] Material not found: ", "nojoint")) << log;
    EXPECT_TRUE(said(log, "[pnScene::readLineChart] Material not found: ", "nopoint")) << log;
    EXPECT_TRUE(said(log, "[pnScene::readLineChart] duplicate chart name: ", "l")) << log;
    EXPECT_TRUE(said(log, "[pnScene::readVolumeChart] duplicate chart name: ", "taken")) << log;
    EXPECT_EQ(s.getNumCharts(), 1);
    EXPECT_EQ(s.getNumObjects(), 2);
    auto* l = dynamic_cast<pnLineChart*>(chartNamed(s, "l"));
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->getLabelMaterialName(), "");
    EXPECT_EQ(l->getDataStringName(), "");
    EXPECT_STREQ(l->getJointMaterialName(), "");
    EXPECT_EQ(l->getDataMaterialName(), "ink");
    EXPECT_STREQ(l->getDataPtMaterialName(0), "");
    EXPECT_STREQ(l->getDataPtJointMaterialName(0), "ink");
}

TEST(ChartBlocks, WithoutTheChartKindsBlocksAreSkippedWhole) {
    chartfile::ensureReader();
    pnScene::setChartBlockReaders(nullptr);
    pnScene s;
    std::string log;
    {
        DiagnosticLog capture;
        scenefile::readText(s, "pieChart { name \"p\" data { growValue 50 } }\nmaterial { name \"after\" }\n");
        log = capture.text();
    }
    chartfile::ensureReader();
    EXPECT_TRUE(said(log, "[pnScene::read] chart block not read: ", "pieChart")) << log;
    EXPECT_EQ(s.getNumObjects(), 0);
    EXPECT_NE(s.findMaterial("after"), nullptr);
}

TEST(ChartBlocks, ACrowdOfPointsIsCut) {
    std::string text = "barChart {\n    name \"many\"\n";
    for (int i = 0; i < 10005; ++i) text += "    data { growValue 1 }\n";
    text += "    showData 0\n}\n";
    pnScene s;
    const std::string log = readLog(s, text);
    ASSERT_NE(chartNamed(s, "many"), nullptr);
    EXPECT_EQ(chartNamed(s, "many")->getNumDataPts(), 10000);
    EXPECT_EQ(chartNamed(s, "many")->getShowData(), 0);
    EXPECT_TRUE(said(log, "[pnScene::readBarChart] ", "too many data points")) << log.substr(0, 200);
}

// The background writes every object's draw order, which its reader takes.
TEST(ChartBlocks, TheBackgroundKeepsItsDrawOrderSilently) {
    pnScene s;
    auto* bg = new pnBackground;
    bg->setColor(sgVec4(0.1f, 0.2f, 0.3f, 1));
    bg->setForward(4);
    s.setBackground(bg);
    const std::string first = writeText(s);
    EXPECT_NE(first.find("    forward\t4\n"), std::string::npos) << first;
    std::string log;
    EXPECT_EQ(roundTrip(first, &log), first);
    EXPECT_EQ(log, "");
}

// The chart seeds of the scene-file fuzz target are writer output of the
// scene above, in both path forms.
TEST(ChartBlocks, FuzzSeedsWithChartsAreWriterOutput) {
    chartfile::ensureReader();
    pnScene s;
    chartfile::buildEveryChart(s);
    const std::string dir = chartfile::sourceDir() + "/fuzz/seeds/scenefile/";
    const std::string seeds[][2] = {{"every-chart.apn", writeText(s)}, {"every-chart-portable.apn", writeText(s, 1)}};
    for (const auto& seed : seeds) {
        const std::string text = chartfile::readFile(dir + seed[0]);
        EXPECT_EQ(text, seed[1]) << seed[0];
        if (text != seed[1]) {
            if (FILE* f = std::fopen((testOutputDir() + "/" + seed[0]).c_str(), "wb")) {
                std::fwrite(seed[1].data(), 1, seed[1].size(), f);
                std::fclose(f);
            }
        }
    }
}

// The sample scene with every chart kind, text and a counter reads without a
// message and writes back to its own bytes.
TEST(ChartBlocks, TheSampleWithEveryChartKindIsWriterOutput) {
    const std::string text = chartfile::readFile(chartfile::sourceDir() + "/data/scenes/allcharts.apn");
    ASSERT_NE(text, "<missing>");
    pnScene s;
    const std::string log = readLog(s, text);
    EXPECT_EQ(log, "");
    EXPECT_EQ(writeText(s), text);
    std::vector<std::string> kinds;
    for (int i = 0; i < s.getNumObjects(); ++i) kinds.push_back(s.getObject(i)->getTypeName());
    EXPECT_EQ(kinds, (std::vector<std::string>{"pnString", "pnCounter", "pnBarChart", "pnPieChart", "pnLineChart",
                                               "pnVolumeChart"}));
    EXPECT_EQ(s.getNumCharts(), 4);
}

// One point whose own depth is too shallow for the pie's bevel took the
// bevel from every slice. The bevel stays; only that point's slice is
// refused by the slice builder, and the saved file keeps the bevel.
TEST(ChartBlocks, AShallowPointKeepsThePiesBevelForTheOtherSlices) {
    pnScene s;
    const std::string text =
        "pieChart {\n    name\t\"pie\"\n"
        "    data {\n        growValue\t40.000000\n    }\n"
        "    data {\n        growValue\t30.000000\n        depth\t4.000000\n    }\n"
        "    data {\n        growValue\t30.000000\n    }\n"
        "    depth\t20.000000\n    bevel\t3.000000\n}\n";
    readText(s, text);
    auto* pie = dynamic_cast<pnPieChart*>(chartNamed(s, "pie"));
    ASSERT_NE(pie, nullptr);
    ASSERT_EQ(pie->getNumDataPts(), 3);
    EXPECT_FLOAT_EQ(pie->getBevel(), 3.0f);
    std::unique_ptr<pnObject> first(pie->makeObject(0)), shallow(pie->makeObject(1)), last(pie->makeObject(2));
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(shallow, nullptr) << "the slice too shallow for the bevel";
    EXPECT_NE(last, nullptr);
    const std::string written = writeText(s);
    EXPECT_NE(written.find("    bevel\t3.000000\n"), std::string::npos) << written;
    pnScene again;
    readText(again, written);
    EXPECT_EQ(writeText(again), written);
}
