// What the chart pages do to their chart, on a headless view: new charts from
// the wizard's rows, the pie's rings, Add Column and Add Slice, Limit Height,
// shapes and materials, each as one undo step (or none); and the wizard's
// step sequence.
#include "charts/pnChart.h"
#include "scene/pnMaterial.h"
#include "tests/app/ViewFixture.h"
#include "ui/properties/rules/GraphPageRules.h"

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

// A new chart goes in built, as the selection, with no step of its own: the
// Add's placement click records it, and undo takes it back; a name too long
// makes nothing and adds no style.
TEST_F(GraphPageTest, InsertGraph) {
    const int styles = scene().getNumStringProperties();
    pnChart* chart = make(GRAPH_LINE, {10, 20, 30});
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(doc->m_pSelectedObject, chart);
    EXPECT_GT(chart->getNumChartParts(), 0);
    EXPECT_EQ(scene().getNumStringProperties(), styles + 2);
    EXPECT_EQ(steps(), 0);
    view->m_bPlacing = 1;
    view->m_strPlacingName = "G";
    view->OnLButtonDown(5, 5, 0);
    view->OnLButtonUp(5, 5, 0);
    EXPECT_EQ(steps(), 1);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(scene().findObject("G"), nullptr);

    const int before = steps();
    EXPECT_EQ(make(GRAPH_BAR, {1}, std::string(200, 'x')), nullptr);
    EXPECT_EQ(make(GRAPH_BAR, {}), nullptr);
    EXPECT_EQ(scene().getNumStringProperties(), styles) << "the undone chart took its styles along";
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
        {PIE_OUTER, 20, 100, 10, 2, 0, 60, {20, 60, 10, 2, 50, 5}},
        {PIE_INNER, 20, 40, 10, 2, 0, 50, {30, 40, 10, 2, 30, 5}},
        {PIE_INNER, 20, 40, 10, 2, 0, 35, {35, 40, 10, 2, 30, 5}},
        {PIE_DEPTH, 20, 100, 20, 8, 0, 10, {20, 100, 10, 5, 90, 5}},
        {PIE_BEVEL, 20, 100, 20, 0, 6, 9, {20, 100, 20, 3, 90, 10}},
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
    int before = steps();
    EXPECT_TRUE(LimitHeight(*view, bar, -20, 150));
    EXPECT_EQ(bar->getDataMin(), -20.0f);
    EXPECT_EQ(bar->getDataMax(), 150.0f);
    EXPECT_EQ(steps(), before + 1);
    // A Max not above Min: Min takes, the old maximum stays, one step each.
    EXPECT_TRUE(LimitHeight(*view, bar, 100, 100));
    EXPECT_EQ(bar->getDataMin(), 100.0f);
    EXPECT_EQ(bar->getDataMax(), 150.0f);
    EXPECT_TRUE(LimitHeight(*view, bar, 40, 30));
    EXPECT_EQ(bar->getDataMin(), 40.0f);
    EXPECT_EQ(bar->getDataMax(), 150.0f);
    EXPECT_EQ(steps(), before + 3);

    // A shape under the start folder is stored relative to it; a browsed one whole.
    pnChart* line = make(GRAPH_LINE, {5, 7});
    ASSERT_NE(line, nullptr);
    SetChartShape(*view, line, "/opt/kel", "/opt/kel/ChartSlices/heart.3ds", false);
    SetChartShape(*view, line, "/opt/kel", "/home/u/models/cup.obj", true);
    EXPECT_EQ(line->getFile(), "ChartSlices/heart.3ds");
    EXPECT_STREQ(line->getJointFile(), "/home/u/models/cup.obj");
    EXPECT_EQ(PictureOfModel(line->getJointFile()), "/home/u/models/cup.bmp");

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
    EXPECT_EQ(steps(), before + 1) << "a step that changed nothing is not kept";
}

namespace {

// The wizard's dialogs as a script: each step logs itself and takes the next
// answer; the name step asks for `count` items.
struct ScriptedSteps : GraphWizardSteps {
    std::vector<Result> answers;
    int count = 3;
    std::string log;
    Result RunType(int& type) override { return log += "T", type = GRAPH_LINE, next(); }
    Result RunName(int, std::string& name, int& c) override { return log += "N", name = "S", c = count, next(); }
    Result RunInput(int, int c, std::vector<GraphRow>& rows) override {
        return log += "I" + std::to_string(c), rows.resize(static_cast<size_t>(c)), next();
    }
    Result next() { return i < answers.size() ? answers[i++] : CANCEL; }
    size_t i = 0;
};

}  // namespace

// Back from the name step returns to the type step, Back from the input
// step to the name step; counts come within the type's bounds.
TEST(GraphWizard, StepsBackAndCancel) {
    using S = GraphWizardSteps;
    const struct {
        std::vector<S::Result> answers;
        int count;
        const char* log;
    } cases[] = {
        {{S::NEXT, S::NEXT, S::NEXT}, 3, "TNI3"},
        {{S::CANCEL}, 3, "T"},
        {{S::NEXT, S::BACK, S::NEXT, S::NEXT, S::NEXT}, 3, "TNTNI3"},
        {{S::NEXT, S::NEXT, S::BACK, S::NEXT, S::CANCEL}, 3, "TNI3NI3"},
        {{S::NEXT, S::NEXT, S::NEXT}, 1, "TNI2"},
        {{S::NEXT, S::NEXT, S::NEXT}, 150, "TNI100"},
    };
    for (const auto& c : cases) {
        ScriptedSteps steps;
        steps.answers = c.answers;
        steps.count = c.count;
        GraphWizardResult result;
        const bool made = RunGraphWizard(steps, result);
        EXPECT_EQ(steps.log, c.log);
        EXPECT_EQ(made, c.answers.back() == S::NEXT) << c.log;
        if (made) {
            EXPECT_EQ(static_cast<int>(result.rows.size()), result.count) << c.log;
        }
    }
}
