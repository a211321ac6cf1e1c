// What the chart pages do to their chart, on a headless view: new charts from
// the wizard's rows, the pie's rings, Add Column and Add Slice, Limit Height,
// shapes and materials, each as one undo step (or none); and the wizard's
// step sequence.
#include "charts/pnChart.h"
#include "scene/pnMaterial.h"
#include "scene/pnStringProperty.h"
#include "tests/app/ViewFixture.h"
#include "ui/properties/GraphPageRules.h"

#include <string>
#include <vector>

namespace {

std::vector<GraphRow> rows(std::vector<float> values) {
    std::vector<GraphRow> r;
    for (size_t i = 0; i < values.size(); ++i) r.push_back({"L" + std::to_string(i), "", values[i]});
    return r;
}

class GraphPageTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        host.frame = &frame;
        // The chart shapes come from the program folder.
        app.InitFolders(KELVANO_SOURCE_DIR "/data");
        create();
    }
    pnChart* make(int type, std::vector<float> values, const std::string& name = "G") {
        return static_cast<pnChart*>(InsertGraph(*view, type, name, rows(std::move(values))));
    }
    int steps() const { return doc->GetUndoHistory().GetCount(); }
    RecordingFrame frame;
};

}  // namespace

// Each kind goes in as the selection, one step, with its styles and parts;
// undo takes it out again. A name too long makes nothing and adds no style.
TEST_F(GraphPageTest, InsertGraphPerKind) {
    const struct {
        int type;
        const char* typeName;
        std::vector<float> typed;
        std::vector<double> values;
    } cases[] = {{GRAPH_BAR, "pnBarChart", {10, 20, 30}, {10, 20, 30}},
                 {GRAPH_LINE, "pnLineChart", {10, 20, 30}, {10, 20, 30}},
                 {GRAPH_PIE, "pnPieChart", {60, 30, 30}, {60, 30, 10}},
                 {GRAPH_AREA, "pnVolumeChart", {10, 20, 30}, {10, 20, 30}}};
    int styles = scene().getNumStringProperties();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typeName);
        doc->ClearUndoHistory();
        const int before = steps();
        pnChart* chart = make(c.type, c.typed);
        ASSERT_NE(chart, nullptr);
        EXPECT_STREQ(chart->getTypeName(), c.typeName);
        EXPECT_EQ(doc->m_pSelectedObject, chart);
        EXPECT_EQ(steps(), before + 1);
        EXPECT_GT(chart->getNumChartParts(), 0);
        ASSERT_EQ(chart->getNumDataPts(), 3);
        for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(chart->getDataPtGrowValue(i), c.values[i]) << i;
        EXPECT_EQ(scene().getNumStringProperties(), styles + 2);
        const pnStringProperty* label = scene().findStringProperty(chart->getLabelStringName().c_str());
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->getFont(), "Arial");
        styles += 2;
    }
    ASSERT_NE(scene().findObject("G003"), nullptr);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(scene().findObject("G003"), nullptr);

    const int before = steps();
    EXPECT_EQ(make(GRAPH_BAR, {1}, std::string(200, 'x')), nullptr);
    EXPECT_EQ(make(GRAPH_BAR, {}), nullptr);
    EXPECT_EQ(scene().getNumStringProperties(), styles);
    EXPECT_EQ(steps(), before);
}

// The ring rules, each one step.
TEST_F(GraphPageTest, PieRings) {
    const struct {
        PieRingField field;
        float inner, outer, depth, bevel, sliceDepth, value;
        PieRing expect;
    } cases[] = {
        {PIE_OUTER, 20, 100, 10, 2, 0, 15, {5, 15, 10, 2, 5, 5}},
        {PIE_OUTER, 20, 100, 10, 2, 0, 8, {0, 8, 10, 2, 0, 5}},
        {PIE_OUTER, 20, 100, 10, 2, 0, 60, {20, 60, 10, 2, 50, 5}},
        {PIE_INNER, 20, 40, 10, 2, 0, 50, {30, 40, 10, 2, 30, 5}},
        {PIE_INNER, 20, 5, 10, 2, 0, 7, {0, 5, 10, 2, 0, 5}},
        {PIE_INNER, 20, 40, 10, 2, 0, 35, {35, 40, 10, 2, 30, 5}},
        {PIE_DEPTH, 20, 100, 20, 8, 0, 10, {20, 100, 10, 5, 90, 5}},
        {PIE_DEPTH, 20, 100, 20, 3, 0, 10, {20, 100, 10, 3, 90, 5}},
        {PIE_BEVEL, 20, 100, 20, 0, 6, 9, {20, 100, 20, 3, 90, 10}},
        {PIE_BEVEL, 20, 100, 20, 0, 0, 9, {20, 100, 20, 9, 90, 10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + " " + std::to_string(c.value));
        pnChart* pie = make(GRAPH_PIE, {50, 50});
        ASSERT_NE(pie, nullptr);
        pie->setInnerRad(0);
        pie->setBevel(0);
        pie->setOuterRad(c.outer);
        pie->setInnerRad(c.inner);
        pie->setDepth(c.depth);
        pie->setBevel(c.bevel);
        pie->setDataPtDepth(1, c.sliceDepth);
        doc->ClearUndoHistory();
        const int before = steps();
        const PieRing r = ApplyPieRing(*view, pie, c.field, c.value);
        EXPECT_EQ(steps(), before + 1);
        EXPECT_FLOAT_EQ(r.inner, c.expect.inner);
        EXPECT_FLOAT_EQ(r.outer, c.expect.outer);
        EXPECT_FLOAT_EQ(r.depth, c.expect.depth);
        EXPECT_FLOAT_EQ(r.bevel, c.expect.bevel);
        EXPECT_FLOAT_EQ(r.innerSpinMax, c.expect.innerSpinMax);
        EXPECT_FLOAT_EQ(r.bevelSpinMax, c.expect.bevelSpinMax);
        EXPECT_FLOAT_EQ(pie->getInnerRad(), c.expect.inner);
    }
}

// Add Slice stops at the pie's threshold with no step; a last slice above
// the rest gives the new slice the rest. Add Column copies the last point.
TEST_F(GraphPageTest, AddSliceAndColumn) {
    const struct {
        int type;
        std::vector<float> values;
        bool added;
        double newValue;
    } cases[] = {
        {GRAPH_PIE, {60, 40}, false, 0},     {GRAPH_PIE, {60, 39.9995f}, false, 0},
        {GRAPH_PIE, {60, 30}, true, 10},     {GRAPH_PIE, {10, 20}, true, 20},
        {GRAPH_BAR, {5, 7}, true, 7},        {GRAPH_AREA, {5, 7}, true, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " " + std::to_string(c.values.back()));
        pnChart* chart = make(c.type, c.values);
        ASSERT_NE(chart, nullptr);
        doc->ClearUndoHistory();
        const int before = steps(), points = chart->getNumDataPts();
        EXPECT_EQ(c.type == GRAPH_PIE ? AddSlice(*view, chart) : AddColumn(*view, chart), c.added);
        EXPECT_EQ(steps(), before + (c.added ? 1 : 0));
        ASSERT_EQ(chart->getNumDataPts(), points + (c.added ? 1 : 0));
        if (c.added) {
            EXPECT_NEAR(chart->getDataPtGrowValue(points), c.newValue, 1e-4);
        }
    }
}

// Limit Height, shapes, materials and the swatch colours.
TEST_F(GraphPageTest, LimitShapesAndMaterials) {
    pnChart* bar = make(GRAPH_BAR, {5, 7});
    ASSERT_NE(bar, nullptr);
    const float min = bar->getDataMin(), max = bar->getDataMax();
    int before = steps();
    EXPECT_FALSE(LimitHeight(*view, bar, 200, 150));
    EXPECT_FALSE(LimitHeight(*view, bar, 150, 150));
    EXPECT_EQ(bar->getDataMin(), min);
    EXPECT_EQ(bar->getDataMax(), max);
    EXPECT_EQ(steps(), before);
    EXPECT_TRUE(LimitHeight(*view, bar, -20, 150));
    EXPECT_EQ(bar->getDataMin(), -20.0f);
    EXPECT_EQ(bar->getDataMax(), 150.0f);
    EXPECT_EQ(steps(), before + 1);

    const struct {
        std::string file;
        bool joint;
        std::string stored;
    } shapes[] = {
        {"/opt/kel/ChartSlices/heart.3ds", false, "ChartSlices/heart.3ds"},
        {"/opt/kelvano2/x.3ds", false, "/opt/kelvano2/x.3ds"},
        {"/home/u/models/cup.obj", true, "/home/u/models/cup.obj"},
    };
    pnChart* line = make(GRAPH_LINE, {5, 7});
    ASSERT_NE(line, nullptr);
    for (const auto& s : shapes) {
        SetChartShape(*view, line, "/opt/kel", s.file, s.joint);
        EXPECT_EQ(s.joint ? std::string(line->getJointFile()) : line->getFile(), s.stored);
        EXPECT_EQ(PictureOfModel(s.stored), s.stored.substr(0, s.stored.size() - 3) + "bmp");
    }

    pnMaterial* m = scene().getMaterial(0);
    ASSERT_NE(m, nullptr);
    m->setDiffuse(sgVec3(1.0f, 0.5f, 0.2f));
    EXPECT_EQ(SwatchColor(scene(), m->getName()), 255u + 127u * 256u + 51u * 65536u);
    EXPECT_EQ(SwatchColor(scene(), ""), 0xCCCCCCu);
    EXPECT_EQ(SwatchColor(scene(), "no such"), 0xCCCCCCu);
    before = steps();
    EXPECT_TRUE(SetChartMaterial(*view, line, 0, true));
    EXPECT_STREQ(line->getJointMaterialName(), m->getName().c_str());
    const std::string kept = line->getMaterialName();
    EXPECT_FALSE(SetChartMaterial(*view, line, 9999, false));
    EXPECT_EQ(line->getMaterialName(), kept);
    EXPECT_EQ(steps(), before + 2);
}

namespace {

// The wizard's dialogs as a script: each step takes the next answer.
class ScriptedSteps : public GraphWizardSteps {
public:
    std::vector<Result> answers;
    std::string log;
    size_t next = 0;
    int count = 3;
    Result take() { return next < answers.size() ? answers[next++] : CANCEL; }
    Result RunType(int& type) override {
        log += "T";
        type = GRAPH_LINE;
        return take();
    }
    Result RunName(int, std::string& name, int& c) override {
        log += "N";
        name = "Sales";
        c = count;
        return take();
    }
    Result RunInput(int, int c, std::vector<GraphRow>& rows) override {
        log += "I" + std::to_string(c);
        rows = std::vector<GraphRow>(static_cast<size_t>(c));
        return take();
    }
};

}  // namespace

TEST(GraphWizard, StepsBackAndCancel) {
    using S = GraphWizardSteps;
    const struct {
        std::vector<S::Result> answers;
        int count;
        bool made;
        const char* log;
    } cases[] = {
        {{S::NEXT, S::NEXT, S::NEXT}, 3, true, "TNI3"},
        {{S::CANCEL}, 3, false, "T"},
        {{S::NEXT, S::BACK, S::NEXT, S::NEXT, S::NEXT}, 3, true, "TNTNI3"},
        {{S::NEXT, S::NEXT, S::BACK, S::NEXT, S::NEXT}, 3, true, "TNI3NI3"},
        {{S::NEXT, S::NEXT, S::CANCEL}, 3, false, "TNI3"},
        {{S::NEXT, S::NEXT, S::NEXT}, 1, true, "TNI2"},
        {{S::NEXT, S::NEXT, S::NEXT}, 150, true, "TNI100"},
    };
    for (const auto& c : cases) {
        ScriptedSteps steps;
        steps.answers = c.answers;
        steps.count = c.count;
        GraphWizardResult result;
        EXPECT_EQ(RunGraphWizard(steps, result), c.made) << c.log;
        EXPECT_EQ(steps.log, c.log);
        if (c.made) {
            EXPECT_EQ(result.type, GRAPH_LINE);
            EXPECT_EQ(result.name, "Sales");
            EXPECT_EQ(static_cast<int>(result.rows.size()), result.count);
        }
    }
}
