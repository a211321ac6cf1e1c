// Delete and Delete Column, the context menu and double-click, the chart items'
// update rules, Help and printing, on the headless view.
#include "editor/CUndoHistory.h"
#include "editor/KelvanoIds.h"
#include "charts/pnBarChart.h"
#include "scene/pnCounter.h"
#include "scene/pnStringProperty.h"
#include "tests/app/ViewFixture.h"

#include <cstdlib>

namespace {

class DeleteCommandsTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        host.frame = &frame;
        create();
    }
    pnObject* add(pnObject* object, const std::string& name, bool withEvent = true) {
        object->setName(name.c_str());
        EXPECT_TRUE(scene().addObject(object));
        if (object->isChart()) scene().addChart(object);
        if (withEvent) {
            auto* event = new pnEvent;
            event->setName(name.c_str());
            event->addObjectName(name.c_str());
            EXPECT_TRUE(scene().addEvent(event));
            scene().addObjectsToScene(event);
        }
        return object;
    }
    pnObject* addPanel(const std::string& name, bool withEvent = true) {
        auto* panel = new pnPanel;
        panel->setDimension(200, 200, 10);
        panel->setMaterial("Color18");
        return add(panel, name, withEvent);
    }
    void openBarChart() {
        view->m_bModified = 0;
        app.InitSceneServices();
        ASSERT_EQ(view->OnDropFiles({std::string(std::getenv("KELVANO_SOURCE_DIR")) + "/data/scenes/barchart.apn"}), 1);
        bars = static_cast<pnChart*>(scene().findObject("bars"));
        ASSERT_TRUE(bars);
        ASSERT_EQ(bars->getNumDataPts(), 4);
        view->SelectObject(bars);
    }
    bool enabled(int id) {
        CCmdUI ui;
        EXPECT_TRUE(view->OnUpdateCommand(id, ui));
        return ui.enabled;
    }
    std::string selectedName() const { return doc->m_pSelectedObject ? doc->m_pSelectedObject->getName() : "-"; }

    RecordingFrame frame;
    pnChart* bars = nullptr;
};

}  // namespace

TEST_F(DeleteCommandsTest, DeleteSelectsTheNeighbourOrNothing) {
    struct Case {
        std::vector<std::string> objects;
        const char* deleted;
        const char* selectedAfter;
    };
    const Case cases[] = {{{"a", "b", "c"}, "c", "b"}, {{"a", "b", "c"}, "b", "c"}, {{"a"}, "a", "-"}};
    for (const Case& c : cases) {
        view->m_bModified = 0;
        view->OnFileNew();
        frame.calls.clear();
        for (const auto& name : c.objects) addPanel(name);
        view->SelectObject(scene().findObject(c.deleted));
        view->OnCommand(kv::ID_EDIT_DELETE);
        EXPECT_FALSE(scene().findObject(c.deleted)) << c.deleted;
        EXPECT_FALSE(scene().findEvent(c.deleted)) << c.deleted;
        EXPECT_EQ(selectedName(), c.selectedAfter) << c.deleted;
        EXPECT_EQ(frame.callsOf("RemoveObjectChooserName"), std::vector<std::string>{c.deleted});
        const bool empty = c.objects.size() == 1;
        EXPECT_EQ(frame.callsOf("SelectObjectChooserIndex").size(), empty ? 1u : 0u);
        EXPECT_EQ(frame.callsOf("ShowObjectPage").back(), empty ? "7,0" : "1,1");
        EXPECT_EQ(frame.callsOf("LockTransformEdits").size(), empty ? 1u : 0u);
        EXPECT_EQ(doc->m_nSelectedDataPt, -1);
        // One step that brings the object back.
        ASSERT_EQ(view->OnEditUndo(), 1);
        EXPECT_TRUE(scene().findObject(c.deleted));
    }
    // Nothing happens in animation mode.
    view->SelectObject(scene().findObject("a"));
    view->m_bAnimationMode = 1;
    view->OnCommand(kv::ID_EDIT_DELETE);
    EXPECT_TRUE(scene().findObject("a"));
}

// An object no event shows still goes; a style goes with its last user only;
// the plays' effect uses are released.
TEST_F(DeleteCommandsTest, RemovalFreesWhatOnlyTheObjectUsed) {
    addPanel("loose", false);
    view->SelectObject(scene().findObject("loose"));
    view->OnCommand(kv::ID_EDIT_DELETE);
    EXPECT_FALSE(scene().findObject("loose"));

    for (const char* name : {"Shared", "Own"}) {
        auto* style = new pnStringProperty;
        style->setName(name);
        ASSERT_TRUE(scene().addStringProperty(style));
    }
    auto* first = new pnBarChart;
    first->setLabelStringName("Shared");
    first->setDataStringName("Own");
    add(first, "one");
    auto* counter = new pnCounter;
    counter->setStringProperty("Shared");
    add(counter, "count");
    doc->RebuildEffectUses({"fx"}, {"fx", "fx"});
    scene().findEvent("one")->addPlay("fx", 0, 10, 1);

    view->SelectObject(first);
    view->OnCommand(kv::ID_EDIT_DELETE);
    EXPECT_TRUE(scene().findStringProperty("Shared")) << "the counter still uses it";
    EXPECT_FALSE(scene().findStringProperty("Own"));
    EXPECT_EQ(doc->GetEffectUse("fx"), 1);
    view->SelectObject(counter);
    view->OnCommand(kv::ID_EDIT_DELETE);
    EXPECT_FALSE(scene().findStringProperty("Shared"));
}

TEST_F(DeleteCommandsTest, DeleteColumnByPointCount) {
    struct Case {
        int point;
        int pointsLeft;
        std::vector<std::string> labels;
        int pointAfter;
    };
    const Case cases[] = {{3, 3, {"Q1", "Q2", "Q3"}, 2}, {-1, 3, {"Q2", "Q3", "Q4"}, -1}, {9, 3, {"Q2", "Q3", "Q4"}, -1}};
    for (const Case& c : cases) {
        openBarChart();
        doc->m_nSelectedDataPt = c.point;
        view->OnCommand(kv::ID_EDIT_DELETE_COLUMN);
        ASSERT_EQ(bars->getNumDataPts(), c.pointsLeft);
        for (int i = 0; i < c.pointsLeft; ++i) EXPECT_EQ(bars->getDataPtLabel(i), c.labels[i]) << c.point;
        EXPECT_EQ(doc->m_nSelectedDataPt, c.pointAfter);
        EXPECT_EQ(doc->GetUndoHistory().GetCount(), 1);
    }
    // Down to one point: the column takes the chart with it.
    while (bars->getNumDataPts() > 1) view->OnCommand(kv::ID_EDIT_DELETE_COLUMN);
    view->OnCommand(kv::ID_EDIT_DELETE_COLUMN);
    EXPECT_FALSE(scene().findObject("bars"));
    EXPECT_EQ(scene().getNumCharts(), 0);
}

TEST_F(DeleteCommandsTest, ContextMenuPicksOnlyWhatItHits) {
    addPanel("plate");
    addPanel("other");
    scene().findObject("other")->setPosition(2000, 0, 0);
    view->SelectObject(scene().findObject("other"));
    draw();
    view->OnContextMenu(8, 8);  // empty space
    EXPECT_EQ(selectedName(), "other");
    view->OnContextMenu(kDefaultSceneWidth / 2, kDefaultSceneHeight / 2);
    EXPECT_EQ(selectedName(), "plate");
    EXPECT_EQ(view->m_bObjectHit, 1);
    view->m_bAnimationMode = 1;
    view->OnContextMenu(8, 8);
    EXPECT_EQ(host.popups, (std::vector<std::pair<int, int>>{{0, 8}, {0, kDefaultSceneWidth / 2}, {1, 8}}));
}

TEST_F(DeleteCommandsTest, ChartItemsFollowTheSelectionAndOpenTheirDialogs) {
    openBarChart();
    auto* counter = add(new pnCounter, "count");
    auto* panel = addPanel("plate");
    struct Step {
        pnObject* select;
        int hit, animation;
        bool del, column, label, data;
    };
    const Step steps[] = {
        {bars, 1, 0, true, true, true, true},       {bars, 0, 0, true, false, true, false},
        {counter, 1, 0, true, false, true, false},  {panel, 1, 0, true, false, false, false},
        {counter, 1, 0, true, false, false, false}, {nullptr, 1, 0, false, false, false, false},
        {bars, 1, 1, false, false, true, true},
    };
    for (const Step& s : steps) {
        doc->m_pSelectedObject = s.select;
        view->m_bObjectHit = s.hit;
        view->m_bAnimationMode = s.animation;
        const std::string at = s.select ? s.select->getName() : "-";
        EXPECT_EQ(enabled(kv::ID_EDIT_DELETE), s.del) << at;
        EXPECT_EQ(enabled(kv::ID_EDIT_DELETE_COLUMN), s.column) << at;
        EXPECT_EQ(enabled(kv::ID_LABEL_PROPERTY), s.label) << at;
        EXPECT_EQ(enabled(kv::ID_VALUE_PROPERTY), s.label) << at;
        EXPECT_EQ(enabled(kv::ID_GRAPH_DATA), s.data) << at;
    }
    view->m_bAnimationMode = 0;
    view->SelectObject(bars);
    view->OnCommand(kv::ID_LABEL_PROPERTY);
    view->OnCommand(kv::ID_VALUE_PROPERTY);
    view->OnLButtonDblClk(0, 0);  // no part picked
    doc->m_pSelectedPart = bars;
    view->OnLButtonDblClk(0, 0);
    view->SelectObject(panel);
    view->OnCommand(kv::ID_GRAPH_DATA);
    EXPECT_EQ(host.chartDialogs, (std::vector<ChartDialog>{ChartDialog::Label, ChartDialog::Value, ChartDialog::Data}));
}

TEST_F(DeleteCommandsTest, HelpOpensTheProgramsHelpPage) {
    EXPECT_EQ(CKelvanoView::HelpPageUrl("/opt/My Kelvano/"), "file:///opt/My%20Kelvano/help/klvhelp.htm");
    app.m_strProgramDir = "/usr/lib/kelvano";
    view->OnCommand(kv::ID_HELP_CONTENTS);
    host.browserStarts = false;
    view->OnCommand(kv::ID_HELP_CONTENTS);
    EXPECT_EQ(host.browserUrls, std::vector<std::string>(2, "file:///usr/lib/kelvano/help/klvhelp.htm"));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "The help page could not be opened:\n/usr/lib/kelvano/help/klvhelp.htm");
}

TEST_F(DeleteCommandsTest, PrintingHandsTheJobTheFrameAsShown) {
    addPanel("plate");
    const Frame shown = draw();
    bool checked = false;
    host.duringPrint = [&] {
        ASSERT_TRUE(view->m_dibPrint.Valid());
        EXPECT_EQ(view->m_bPrintDone, 0);
        EXPECT_EQ(view->m_dibPrint.GetWidth(), kDefaultSceneWidth);
        for (auto [x, y] : {std::pair{5, 5}, std::pair{kDefaultSceneWidth / 2, kDefaultSceneHeight / 2}}) {
            const RGBA p = shown.at(x, kDefaultSceneHeight - 1 - y);
            EXPECT_EQ(view->m_dibPrint.PixelAt(x, y), uint32_t(p.r) << 16 | uint32_t(p.g) << 8 | p.b) << x;
        }
        checked = true;
    };
    view->OnCommand(kv::ID_FILE_PRINT);
    EXPECT_TRUE(checked);
    EXPECT_EQ(host.printPreviews, std::vector<bool>{false});
    EXPECT_EQ(view->m_bPrintDone, 1);
    EXPECT_FALSE(view->m_dibPrint.Valid());
}
