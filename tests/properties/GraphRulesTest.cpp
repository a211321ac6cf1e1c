// Building charts from the new-graph wizard's rows on a real scene, the
// wizard's names, counts and pages, and the shape choosers' file names.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "charts/pnChart.h"
#include "scene/pnEvent.h"
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "scene/pnStringProperty.h"
#include "ui/properties/rules/GraphRules.h"

namespace {

// A scene with materials "m00" ... in order.
void addMaterials(pnScene& scene, int n) {
    for (int i = 0; i < n; ++i) {
        auto* m = new pnMaterial;
        char name[16];
        std::snprintf(name, sizeof name, "m%02d", i);
        m->setName(name);
        ASSERT_TRUE(scene.addMaterial(m));
    }
}

std::vector<GraphRow> rows(std::vector<float> values) {
    std::vector<GraphRow> r;
    for (size_t i = 0; i < values.size(); ++i)
        r.push_back({"L" + std::to_string(i), "D" + std::to_string(i), values[i]});
    return r;
}

}  // namespace

// Per kind on scenes of 28 and of 3 materials: files, materials (those the
// scene lacks stay unset), values, text styles, the event and the lists.
TEST(GraphRules, CreateGraphPerKind) {
    struct Case {
        int type, materials;
        const char *file, *joint, *chartMaterial, *jointMaterial;
        std::vector<std::string> pointMaterials;  // empty: not checked
    };
    const Case cases[] = {
        {GRAPH_BAR, 28, "ChartSlices/circle.3ds", "", "m27", "", {"m27", "m27", "m27", "m27"}},
        {GRAPH_BAR, 3, "ChartSlices/circle.3ds", "", "m02", "", {}},
        {GRAPH_LINE, 28, "ChartSlices/cyl10x.3ds", "ChartSlices/sphere10x.3ds", "m27", "m26", {}},
        {GRAPH_LINE, 1, "ChartSlices/cyl10x.3ds", "ChartSlices/sphere10x.3ds", "m00", "", {}},
        {GRAPH_PIE, 28, nullptr, "", "", "", {"m27", "m26", "m27", "m24"}},
        {GRAPH_PIE, 3, nullptr, "", "", "", {"m02", "m01", "m02", ""}},
        {GRAPH_AREA, 28, nullptr, "", "", "", {"m27", "m26", "m27", "m26"}},
        {GRAPH_AREA, 0, nullptr, "", "", "", {"", "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(GraphDefaultName(c.type)) + " with " + std::to_string(c.materials));
        pnScene scene;
        addMaterials(scene, c.materials);
        pnObject* made = CreateGraph(scene, c.type, "Sales", rows({10, 20, 25, 5}));
        ASSERT_NE(made, nullptr);
        auto* chart = dynamic_cast<pnChart*>(made);
        ASSERT_NE(chart, nullptr);
        EXPECT_EQ(chart->getName(), "Sales");
        EXPECT_EQ(scene.findObject("Sales"), made);
        EXPECT_EQ(scene.getNumCharts(), 1);
        ASSERT_EQ(chart->getNumDataPts(), 4);
        if (c.file) {
            EXPECT_EQ(made->getFile(), c.file);
        }
        EXPECT_STREQ(chart->getJointFile(), c.joint);
        EXPECT_EQ(made->getMaterialName(), c.chartMaterial);
        EXPECT_STREQ(chart->getJointMaterialName(), c.jointMaterial);
        for (size_t i = 0; i < c.pointMaterials.size(); ++i)
            EXPECT_STREQ(chart->getDataPtMaterialName(static_cast<int>(i)), c.pointMaterials[i].c_str()) << i;
        EXPECT_STREQ(chart->getDataPtLabel(2), "L2");
        EXPECT_STREQ(chart->getDataPtDataText(2), "D2");
        EXPECT_DOUBLE_EQ(chart->getDataPtGrowValue(2), 25.0);
        EXPECT_EQ(chart->getLabelStringName(), "StringP001");
        EXPECT_EQ(chart->getDataStringName(), "StringP002");
        for (const char* style : {"StringP001", "StringP002"}) {
            const pnStringProperty* s = scene.findStringProperty(style);
            ASSERT_NE(s, nullptr) << style;
            EXPECT_EQ(s->getFont(), "Arial");
            EXPECT_EQ(s->getDepth(), 0.0f);
        }
        const pnEvent* event = scene.findEvent("Sales");
        ASSERT_NE(event, nullptr);
        ASSERT_EQ(event->getNumObjectNames(), 1);
        EXPECT_STREQ(event->getObjectName(0), "Sales");
    }
}

// A taken name gets the first free number; the styles go on counting; with
// every number taken nothing at all is added.
TEST(GraphRules, CreateGraphNamesAndRefusals) {
    pnScene scene;
    ASSERT_NE(CreateGraph(scene, GRAPH_BAR, "Sales", rows({1})), nullptr);
    pnObject* second = CreateGraph(scene, GRAPH_BAR, "Sales", rows({1}));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->getName(), "Sales001");
    EXPECT_EQ(static_cast<pnChart*>(second)->getLabelStringName(), "StringP003");
    EXPECT_EQ(UniqueObjectName(scene, "Sales"), "Sales002");
    // An event's name is taken too: a chart of that name would have no event.
    auto* light = new pnEvent;
    light->setName("Light1");
    ASSERT_TRUE(scene.addEvent(light));
    EXPECT_EQ(UniqueObjectName(scene, "Light1"), "Light1001");
    pnObject* third = CreateGraph(scene, GRAPH_BAR, "Light1", rows({1}));
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->getName(), "Light1001");
    ASSERT_NE(scene.findEvent("Light1001"), nullptr);

    for (int i = 2; i < 1000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Sales%03d", i);
        auto* o = new pnObject;
        o->setName(name);
        ASSERT_TRUE(scene.addObject(o));
    }
    const int objects = scene.getNumObjects(), styles = scene.getNumStringProperties();
    const int events = scene.getNumEvents();
    EXPECT_EQ(UniqueObjectName(scene, "Sales"), "");
    EXPECT_EQ(CreateGraph(scene, GRAPH_PIE, "Sales", rows({1})), nullptr);
    EXPECT_EQ(CreateGraph(scene, 4, "Other", rows({1})), nullptr);
    EXPECT_EQ(CreateGraph(scene, GRAPH_BAR, "Other", {}), nullptr);
    EXPECT_EQ(scene.getNumObjects(), objects);
    EXPECT_EQ(scene.getNumStringProperties(), styles);
    EXPECT_EQ(scene.getNumEvents(), events);
    EXPECT_EQ(scene.getNumCharts(), 3);
}

// Pie slices take the rows in order within what is left of 100; the row
// that would pass it gets the rest. Rows left at 0 (a slice takes no 0) share
// what the typed rows leave, and a row that gets nothing makes no slice: the
// stored sum never passes 100. A 0 in the fourth row kept the default 25, so
// 40, 25, 20, 0 stored 110, and 60, 30, 30, 40 stored 125.
TEST(GraphRules, PieValuesNeverPassAHundred) {
    const float third = 100.0f / 3;
    const struct {
        std::vector<float> typed, slices;
    } cases[] = {
        {{60, 30, 30}, {60, 30, 10}},
        {{50, 50, 20}, {50, 50, 0}},
        {{10, 20}, {10, 20}},
        {{120, 5}, {100, 0}},
        {{40, 25, 20, 0}, {40, 25, 20, 15}},
        {{60, 30, 30, 40}, {60, 30, 10, 0}},
        {{0, 50, 0, -3}, {third / 2, 50, third / 2, third / 2}},
        {{0, 0, 0}, {third, third, third}},
        {{0, 100, 0}, {0, 100, 0}},
    };
    for (const auto& c : cases) {
        const std::vector<float> got = PieSliceValues(rows(c.typed));
        ASSERT_EQ(got.size(), c.slices.size());
        double sum = 0;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_NEAR(got[i], c.slices[i], 1e-5) << c.typed[0] << " row " << i;
            sum += got[i];
        }
        EXPECT_LE(sum, 100.0) << c.typed[0];
    }
    // Shares of a rest that no float holds exactly still stay within 100.
    for (int open = 1; open <= kGraphMaxItems - 1; ++open) {
        std::vector<float> typed(static_cast<size_t>(open), 0.0f);
        typed.push_back(1.0f / 3);
        double sum = 0;
        for (float v : PieSliceValues(rows(typed))) sum += v;
        EXPECT_LE(sum, 100.0) << open;
    }

    pnScene scene;
    addMaterials(scene, 6);
    auto* pie = static_cast<pnChart*>(CreateGraph(scene, GRAPH_PIE, "Share", rows({40, 25, 20, 0})));
    ASSERT_NE(pie, nullptr);
    ASSERT_EQ(pie->getNumDataPts(), 4);
    EXPECT_DOUBLE_EQ(pie->getDataPtGrowValue(3), 15.0);
    EXPECT_STREQ(pie->getDataPtLabel(3), "L3");
    EXPECT_STREQ(pie->getDataPtMaterialName(3), "m02") << "the last slice takes the fourth material from the end";
    // Rows with nothing left make no slice; the last slice made is the last.
    pie = static_cast<pnChart*>(CreateGraph(scene, GRAPH_PIE, "Full", rows({60, 30, 30, 40})));
    ASSERT_NE(pie, nullptr);
    ASSERT_EQ(pie->getNumDataPts(), 3);
    EXPECT_DOUBLE_EQ(pie->getDataPtGrowValue(2), 10.0);
    EXPECT_STREQ(pie->getDataPtLabel(2), "L2");
    EXPECT_STREQ(pie->getDataPtMaterialName(2), "m02");
    EXPECT_STREQ(pie->getDataPtMaterialName(1), "m04");
}

// The wizard's counts, pages and captions.
TEST(GraphRules, WizardCountsAndPages) {
    EXPECT_EQ(GraphClampCount(GRAPH_LINE, 1), 2);
    EXPECT_EQ(GraphClampCount(GRAPH_AREA, 150), 100);
    EXPECT_EQ(GraphClampCount(GRAPH_PIE, 0), 1);
    EXPECT_EQ(GraphClampCount(GRAPH_BAR, 7), 7);
    EXPECT_EQ(GraphLastPage(5), 0);
    EXPECT_EQ(GraphLastPage(6), 1);
    EXPECT_EQ(GraphLastPage(100), 19);
    const bool used6[2][5] = {{true, true, true, true, true}, {true, false, false, false, false}};
    for (int p = 0; p < 2; ++p)
        for (int r = 0; r < 5; ++r) EXPECT_EQ(GraphRowUsed(p, r, 6), used6[p][r]) << p << "," << r;
    EXPECT_STREQ(GraphValueCaption(GRAPH_PIE), "Percent");
    EXPECT_STREQ(GraphValueCaption(GRAPH_AREA), "Height");
    EXPECT_STREQ(GraphTypeCaption(GRAPH_AREA), "Area Graph");
}

// The choosers' pictures and the file names they give.
TEST(GraphRules, ShapeFiles) {
    EXPECT_EQ(CutShapeNames(1).front(), "circle");
    EXPECT_EQ(CutShapeNames(2).front(), "cyl10x");
    EXPECT_EQ(CutShapeNames(2).size(), 16u);
    EXPECT_EQ(JointShapeNames().size(), 4u);
    EXPECT_EQ(ShapeModelOfPicture("/opt/kelvano/ChartSlices/heart.bmp"), "/opt/kelvano/ChartSlices/heart.3ds");
    const struct {
        const char *start, *path, *stored;
    } cases[] = {
        {"/opt/kelvano", "/opt/kelvano/ChartSlices/heart.3ds", "ChartSlices/heart.3ds"},
        {"/opt/kelvano/", "/opt/kelvano/ChartSlices/heart.3ds", "ChartSlices/heart.3ds"},
        {"/opt/kel", "/opt/kelvano2/x.3ds", "/opt/kelvano2/x.3ds"},
        {"/opt/kelvano", "/home/u/models/ship.obj", "/home/u/models/ship.obj"},
        {"/opt/kelvano", "/opt/kelvano", "/opt/kelvano"},
    };
    for (const auto& c : cases) EXPECT_EQ(StoredShapePath(c.start, c.path), c.stored) << c.path;
}

// The input step: pages of five, data texts that follow their values until
// edited, negative pie values, and a fresh start after Back.
TEST(GraphRules, InputRows) {
    CGraphInputRows rows;
    rows.Start(GRAPH_PIE, 6);
    EXPECT_EQ(rows.GetLastPage(), 1);
    EXPECT_FALSE(rows.PrevPage());
    EXPECT_EQ(rows.CommitValue(0, "12.5"), "12.5");
    EXPECT_EQ(rows.Row(0).dataText, "12.5");
    rows.CommitDataText(1, "half");
    EXPECT_EQ(rows.CommitValue(1, "-3"), "0.00");
    EXPECT_EQ(rows.Row(1).value, 0.0f);
    EXPECT_EQ(rows.Row(1).dataText, "half");
    EXPECT_FALSE(rows.Follows(1));
    ASSERT_TRUE(rows.NextPage());
    EXPECT_FALSE(rows.NextPage());
    EXPECT_TRUE(rows.RowUsed(0));
    for (int r = 1; r < 5; ++r) EXPECT_FALSE(rows.RowUsed(r)) << r;
    rows.CommitLabel(0, "six");
    rows.CommitLabel(1, "beyond");  // a disabled row takes nothing
    const std::vector<GraphRow> got = rows.GetRows();
    ASSERT_EQ(got.size(), 6u);
    EXPECT_EQ(got[5].label, "six");
    EXPECT_EQ(got[0].value, 12.5f);

    rows.Start(GRAPH_BAR, 2);
    EXPECT_EQ(rows.CommitValue(0, "-4"), "-4");
    EXPECT_EQ(rows.Row(0).value, -4.0f);
    EXPECT_EQ(rows.GetRows()[1].label, "");
    rows.Start(GRAPH_LINE, 500);
    EXPECT_EQ(rows.GetCount(), 100);
}

// A chart name within the 127 characters the name edit takes was refused
// whole when its UTF-8 bytes passed 127 (about 43 Hangul syllables), and the
// wizard's whole input went with it.
TEST(GraphRules, NamesCountCharactersNotBytes) {
    pnScene scene;
    std::string hangul;
    for (int i = 0; i < 100; ++i) hangul += "\xEA\xB0\x80";  // 100 syllables, 300 bytes
    pnObject* chart = CreateGraph(scene, GRAPH_PIE, hangul, rows({40, 60}));
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->getName(), hangul);
    ASSERT_NE(scene.findEvent(hangul.c_str()), nullptr);
    std::string tooLong;
    for (int i = 0; i < 128; ++i) tooLong += "\xEA\xB0\x80";
    EXPECT_EQ(CreateGraph(scene, GRAPH_PIE, tooLong, rows({40, 60})), nullptr);
}
