// The Graph Data dialogs' and the label/data property dialog's rules on the
// sample scene with one chart of each kind, on a headless view.
#include "charts/pnPieChart.h"
#include "scene/pnStringProperty.h"
#include "tests/properties/AllChartsViewTest.h"
#include "ui/properties/rules/ChartDialogRules.h"
#include "ui/properties/rules/GraphPageRules.h"

#include <string>
#include <vector>

namespace {

class ChartDialogRulesTest : public AllChartsViewTest {
protected:
    pnChart& chart(const char* name) { return select(name); }
    int steps() const { return doc->GetUndoHistory().GetCount(); }
};

}  // namespace

TEST_F(ChartDialogRulesTest, DialogsOpenOnlyOnTheirKindAndAnExistingPoint) {
    struct Case {
        const char* chart;
        DataDialogKind kind;
        int point;
        bool opens;
        int p0, p1;
    };
    const Case cases[] = {
        {"bars", DataDialogKind::Bar, 1, true, 1, -1},   {"bars", DataDialogKind::Bar, 3, false, -1, -1},
        {"bars", DataDialogKind::Pie, 1, false, -1, -1}, {"trend", DataDialogKind::Line, 0, true, 0, 1},
        {"trend", DataDialogKind::Line, 3, true, 2, 3},  {"trend", DataDialogKind::Line, -1, false, -1, -1},
        {"area", DataDialogKind::Area, 0, true, 0, 1},   {"shares", DataDialogKind::Pie, 4, false, -1, -1},
    };
    for (const Case& c : cases) {
        ChartDataForm form;
        EXPECT_EQ(LoadChartData(chart(c.chart), c.point, c.kind, form), c.opens) << c.chart << c.point;
        if (!c.opens) continue;
        EXPECT_EQ(form.p[0], c.p0);
        EXPECT_EQ(form.p[1], c.p1);
    }
    ChartDataForm form;
    ASSERT_TRUE(LoadChartData(chart("trend"), 0, DataDialogKind::Line, form));
    EXPECT_EQ(form.number[0], "1");
    EXPECT_EQ(form.number[1], "2");
    EXPECT_EQ(form.height[1].text, "80.00");
    // A line left with one point has no segment to edit.
    pnChart& trend = chart("trend");
    view->GetHost()->MakeCurrent();
    while (trend.getNumDataPts() > 1) trend.deleteDataPt(1);
    EXPECT_FALSE(LoadChartData(trend, 0, DataDialogKind::Line, form));
}

TEST_F(ChartDialogRulesTest, OkAppliesOnlyChangedFieldsAsOneStep) {
    pnChart& bars = chart("bars");
    ChartDataForm form;
    ASSERT_TRUE(LoadChartData(bars, 1, DataDialogKind::Bar, form));
    EXPECT_EQ(form.height[0].text, "120.00");
    // Untouched: the step changes nothing and is not kept.
    ASSERT_TRUE(ChartDataOk(*view, bars, form));
    EXPECT_EQ(steps(), 0);
    bars.setDataPtDataText(1, "kept");  // an unchanged field is not written back
    form.height[0].text = "-250";
    form.label[0].text = "New";
    ASSERT_TRUE(ChartDataOk(*view, bars, form));
    EXPECT_EQ(steps(), 1);
    EXPECT_DOUBLE_EQ(bars.getDataPtGrowValue(1), -250.0);
    EXPECT_STREQ(bars.getDataPtLabel(1), "New");
    EXPECT_STREQ(bars.getDataPtDataText(1), "kept");
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_DOUBLE_EQ(static_cast<pnChart*>(scene().findObject("bars"))->getDataPtGrowValue(1), 120.0);

    // A spacing, an offset and a slice depth are held where the chart stays
    // drawable, as on the pages.
    pnChart& again = chart("bars");
    ASSERT_TRUE(LoadChartData(again, 1, DataDialogKind::Bar, form));
    form.spacing[0].text = std::string(20, '9');
    ASSERT_TRUE(ChartDataOk(*view, again, form));
    EXPECT_EQ(again.getDataPtSpacing(1)[0], 32767.0f);
    pnChart& pie = chart("shares");
    ASSERT_TRUE(LoadChartData(pie, 1, DataDialogKind::Pie, form));
    form.offset[0][1].text = "-1e20";
    form.depthOn = true;
    form.depth.text = "1e20";
    ASSERT_TRUE(ChartDataOk(*view, pie, form));
    EXPECT_EQ(pie.getDataPtSpacing(1)[1], -32767.0f);
    EXPECT_EQ(pie.getDataPtDepth(1), 32767.0f);
}

TEST_F(ChartDialogRulesTest, PieAndAreaRules) {
    pnChart& pie = chart("shares");
    view->GetHost()->MakeCurrent();
    pie.setDataPtGrowValue(3, 30.0);  // the slices sum to 90
    pie.setBevel(5.0f);
    ASSERT_FLOAT_EQ(pie.getBevel(), 5.0f);
    ChartDataForm form;
    ASSERT_TRUE(LoadChartData(pie, 1, DataDialogKind::Pie, form));
    EXPECT_FALSE(form.depthOn);
    form.height[0].text = "50";
    form.depthOn = true;
    form.depth.text = "2";
    ASSERT_TRUE(ChartDataOk(*view, pie, form));
    EXPECT_DOUBLE_EQ(pie.getDataPtGrowValue(1), 30.0);
    EXPECT_FLOAT_EQ(pie.getDataPtDepth(1), 10.0f);
    ASSERT_TRUE(LoadChartData(pie, 1, DataDialogKind::Pie, form));
    EXPECT_TRUE(form.depthOn);
    form.height[0].text = "-1";
    EXPECT_FALSE(ChartDataOk(*view, pie, form));
    EXPECT_EQ(form.height[0].text, "0.00");

    pnChart& area = chart("area");
    ASSERT_TRUE(LoadChartData(area, 2, DataDialogKind::Area, form));
    const int before = steps();
    form.height[1].text = "-3";
    EXPECT_FALSE(ChartDataOk(*view, area, form));
    EXPECT_EQ(form.height[1].text, "0.00");
    EXPECT_EQ(steps(), before);
    EXPECT_DOUBLE_EQ(area.getDataPtGrowValue(2), 60.0);
}

// A pie from the wizard's rows 40, 25, 20 and a fourth left at 0: every
// slice draws the share its Graph Data shows, and the stored sum is 100. The
// fourth slice kept 25 and was drawn as 15 %; Graph Data then lowered a slice
// raised from 40 to 45 to 30. A raised slice now never goes down, also on a
// pie that a file gave more than 100.
TEST_F(ChartDialogRulesTest, AWizardPieDrawsWhatGraphDataShows) {
    view->GetHost()->MakeCurrent();
    std::vector<GraphRow> rows = {{"a", "40", 40}, {"b", "25", 25}, {"c", "20", 20}, {"d", "", 0}};
    auto* pie = static_cast<pnChart*>(InsertGraph(*view, GRAPH_PIE, "wizard", rows));
    ASSERT_NE(pie, nullptr);
    ASSERT_EQ(pie->getNumDataPts(), 4);
    double sum = 0;
    for (int i = 0; i < pie->getNumDataPts(); ++i) {
        ChartDataForm form;
        ASSERT_TRUE(LoadChartData(*pie, i, DataDialogKind::Pie, form));
        int start = 0, end = 0;
        ASSERT_TRUE(static_cast<pnPieChart*>(pie)->getSliceAngles(i, &start, &end));
        EXPECT_NEAR((end - start) / 3.6, std::stod(form.height[0].text), 0.3) << "slice " << i;
        sum += pie->getDataPtGrowValue(i);
    }
    EXPECT_LE(sum, 100.0);

    // Typed through the input step, with data texts that follow the values: a
    // slice that gets another share than typed says so, one typed as its own
    // text keeps it.
    CGraphInputRows input;
    input.Start(GRAPH_PIE, 4);
    for (int r = 0; r < 4; ++r) input.CommitValue(r, std::vector<std::string>{"60", "30", "20", "0"}[r]);
    input.CommitDataText(2, "twenty");
    auto* typed = static_cast<pnChart*>(InsertGraph(*view, GRAPH_PIE, "typed", input.GetRows()));
    ASSERT_NE(typed, nullptr);
    ASSERT_EQ(typed->getNumDataPts(), 3);
    EXPECT_EQ(std::string(typed->getDataPtDataText(0)), "60");
    EXPECT_EQ(std::string(typed->getDataPtDataText(1)), "30");
    EXPECT_EQ(std::string(typed->getDataPtDataText(2)), "twenty");
    EXPECT_DOUBLE_EQ(typed->getDataPtGrowValue(2), 10.0);
    input.Start(GRAPH_PIE, 4);
    for (int r = 0; r < 4; ++r) input.CommitValue(r, std::vector<std::string>{"40", "25", "20", "0"}[r]);
    typed = static_cast<pnChart*>(InsertGraph(*view, GRAPH_PIE, "typed2", input.GetRows()));
    ASSERT_NE(typed, nullptr);
    ASSERT_EQ(typed->getNumDataPts(), 4);
    EXPECT_EQ(std::string(typed->getDataPtDataText(3)), "15.00") << "a slice of 15 % labelled as typed";

    ChartDataForm form;
    ASSERT_TRUE(LoadChartData(*pie, 0, DataDialogKind::Pie, form));
    form.height[0].text = "45";
    ASSERT_TRUE(ChartDataOk(*view, *pie, form));
    EXPECT_DOUBLE_EQ(pie->getDataPtGrowValue(0), 40.0);

    pnChart& shares = chart("shares");
    for (int i = 0; i < shares.getNumDataPts(); ++i) shares.setDataPtGrowValue(i, 110.0 / shares.getNumDataPts());
    const double old = shares.getDataPtGrowValue(0);
    ASSERT_TRUE(LoadChartData(shares, 0, DataDialogKind::Pie, form));
    form.height[0].text = "60";
    ASSERT_TRUE(ChartDataOk(*view, shares, form));
    EXPECT_DOUBLE_EQ(shares.getDataPtGrowValue(0), old);
    form.height[0].text = "5";  // lowering is always taken
    ASSERT_TRUE(ChartDataOk(*view, shares, form));
    EXPECT_DOUBLE_EQ(shares.getDataPtGrowValue(0), 5.0);
}

TEST_F(ChartDialogRulesTest, LabelStyleLoadApplyAndCancel) {
    pnChart& bars = chart("bars");
    bars.setLabelStringName("missing");
    LabelPropertyForm form;
    LoadLabelProperty(scene(), bars, 1, form);
    ASSERT_TRUE(form.style);
    EXPECT_EQ(bars.getLabelStringName(), "StringP001");
    EXPECT_EQ(form.style->getFont(), "Arial");
    EXPECT_STREQ(LabelDialogCaption(form.kind), "Label String Property");
    EXPECT_STREQ(LabelDialogCaption(0), "Value String Property");
    // Every quality level comes back as it was stored.
    for (int q = 1; q <= 10; ++q) {
        form.quality = std::to_string(q);
        ApplyLabelProperty(bars, form);
        EXPECT_EQ(QualityFromPrecision(form.style->getPrecision()), q);
    }
    form.quality = "0";  // below 1 keeps the precision
    ApplyLabelProperty(bars, form);
    EXPECT_FLOAT_EQ(form.style->getPrecision(), 0.1f);

    form.wValue = 40, form.nValue = 30;
    TickJust(form, false, true);
    TickJust(form, true, true);
    EXPECT_FALSE(form.wJust);
    form.size = "48";
    LabelPropertyOk(*view, bars, form);
    EXPECT_FLOAT_EQ(form.style->getNJust(), 30.0f);
    EXPECT_FLOAT_EQ(form.style->getWJust(), 0.0f);
    EXPECT_FLOAT_EQ(form.style->getSize(), 48.0f);
    EXPECT_EQ(steps(), 1);

    // What the edge and shadow dialog wrote goes back on Cancel, an empty
    // back material too.
    LoadLabelProperty(scene(), bars, 1, form);
    EXPECT_EQ(form.size, "48");
    form.style->setBorder(3);
    form.style->setHOffset(4);
    form.style->setVOffset(5);
    form.style->setKind(0);
    bars.setLabelBackMaterialName("red");
    LabelPropertyCancel(*view, bars, form);
    EXPECT_FLOAT_EQ(form.style->getBorder(), 0.0f);
    EXPECT_FLOAT_EQ(form.style->getHOffset() + form.style->getVOffset(), 0.0f);
    EXPECT_EQ(form.style->getKind(), 1);
    EXPECT_EQ(bars.getLabelBackMaterialName(), "");
}
