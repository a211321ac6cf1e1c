// A scene built only through the program's commands, as a user builds it:
// Add Graph through the new-graph wizard's steps (each chart kind) and a
// text, a panel and a model through the Add commands, each put down with a
// click; in animation mode a grow on every point through Grow/Shrink, a
// Graph Data edit and its Undo, an effect made by a drag, a camera move
// recorded by the Camera page's Distance slider, a pause and a sound on the
// time line. At the first, middle and last frame and one frame after each
// effect starts, the view draws what the saved file draws, in the render
// tool and in the view after opening it again.
#include "editor/CObjectCreator.h"
#include "editor/KelvanoIds.h"
#include "scene/pnModel.h"
#include "scene/pnString.h"
#include "tests/app/FollowingFrame.h"
#include "tests/app/SavedSceneFrames.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolCheck.h"
#include "ui/properties/rules/ChartDialogRules.h"
#include "ui/properties/rules/GraphPageRules.h"
#include "ui/properties/rules/GraphRules.h"

#include <cstdlib>
#include <functional>
#include <set>

namespace {

// The wizard's three steps as the user answers them: the type, a name and
// the count, then each value typed into the input step's rows, page by page.
class TypedWizard : public GraphWizardSteps {
public:
    Result RunType(int& t) override {
        t = type;
        return NEXT;
    }
    Result RunName(int, std::string& n, int& count) override {
        n = name;
        count = static_cast<int>(values.size());
        return NEXT;
    }
    Result RunInput(int t, int count, std::vector<GraphRow>& rows) override {
        CGraphInputRows input;
        input.Start(t, count);
        for (size_t i = 0; i < values.size(); ++i) {
            if (i > 0 && i % kGraphRowsPerPage == 0) input.NextPage();
            input.CommitValue(static_cast<int>(i % kGraphRowsPerPage), values[i]);
        }
        rows = input.GetRows();
        return NEXT;
    }
    int type = GRAPH_BAR;
    std::string name;
    std::vector<std::string> values;
};

// An Add command's dialog and page: the dialog's answer, then what the page
// of the kind builds from it.
class Creator : public CObjectCreator {
public:
    bool RunDialog() override { return dialog(); }
    std::string CreateObject() override {
        pnObject* made = create();
        return made ? made->getName() : std::string();
    }
    std::function<bool()> dialog = [] { return true; };
    std::function<pnObject*()> create;
};

class EditingRoundTripTest : public FollowingViewTest {
protected:
    void SetUp() override {
        FollowingViewTest::SetUp();
        const char* source = std::getenv("KELVANO_SOURCE_DIR");
        app.InitFolders(std::string(source ? source : ".") + "/data");
        app.InitSceneServices();
        // File > New: a new scene finds the chart shapes and models in the
        // program's folders.
        ASSERT_EQ(view->OnFileNew(), 1);
        // The selection's highlight is the screen's alone.
        view->m_bHighlightSelected = 0;
        for (int id : {kv::ID_ADD_GRAPH, kv::ID_ADD_TEXT, kv::ID_ADD_PANEL, kv::ID_ADD_MODEL})
            view->SetObjectCreator(id, &creator);
    }

    // The Add command, then the click that puts the new object down at (x, y).
    std::string add(int command, int x, int y) {
        EXPECT_EQ(view->OnAddObject(command), 1) << command;
        if (!view->m_bPlacing) return std::string();
        const std::string name = doc->m_pSelectedObject ? doc->m_pSelectedObject->getName() : std::string();
        view->OnMouseMove(x, y, 0);
        view->OnLButtonDown(x, y, 0);
        view->OnLButtonUp(x, y, 0);
        return name;
    }
    std::string addGraph(int type, const char* name, std::vector<std::string> values, int x, int y) {
        wizard.type = type;
        wizard.name = name;
        wizard.values = std::move(values);
        creator.dialog = [this] {
            wizardResult = GraphWizardResult();
            return RunGraphWizard(wizard, wizardResult);
        };
        // The chart page's CreateGraph.
        creator.create = [this] {
            return InsertGraph(*view, wizardResult.type, wizardResult.name, wizardResult.rows);
        };
        return add(kv::ID_ADD_GRAPH, x, y);
    }
    // What the text, panel and model pages build from their dialogs.
    std::string addText(const std::string& text, int x, int y) {
        creator.dialog = [] { return true; };
        creator.create = [&] {
            auto made = std::make_unique<pnString>();
            made->setName(view->MakeUniqueObjectName("Text").c_str());
            made->setFont("arial");
            made->setSize(48.0f);
            made->setDepth(20.0f);
            made->setString(text.c_str());
            return view->InsertNewObject(std::move(made));
        };
        return add(kv::ID_ADD_TEXT, x, y);
    }
    std::string addPanel(int x, int y) {
        creator.dialog = [] { return true; };
        creator.create = [&] {
            auto made = std::make_unique<pnPanel>();
            made->setName(view->MakeUniqueObjectName("Panel").c_str());
            made->setEachFaceFlag(0, 0, 0, 0, 0, 0);
            made->setDimensionX(90);
            made->setDimensionY(60);
            made->setDimensionZ(20);
            made->setKind(1);
            made->setBevel(5);
            return view->InsertNewObject(std::move(made));
        };
        return add(kv::ID_ADD_PANEL, x, y);
    }
    std::string addModel(const char* file, int x, int y) {
        creator.dialog = [] { return true; };
        creator.create = [&] {
            auto made = std::make_unique<pnModel>();
            made->setName(view->MakeUniqueObjectName("Model").c_str());
            made->setFileName(file);
            return view->InsertNewObject(std::move(made));
        };
        return add(kv::ID_ADD_MODEL, x, y);
    }
    // The chart's context menu "Add Grow/Shrink Effect", then "+ G" on every
    // point's row.
    void growEveryPoint(const std::string& chart) {
        view->OnObjectChosen(chart);
        int rows = 0;
        dialogs->inGrowShrink = [&](CGrowShrinkModel& g) {
            for (int r = 0; r < g.RowCount(); ++r) {
                g.SetCurrent(r, CGrowShrinkModel::kGrow);
                g.AddGrow();
                rows += g.HasGrow(r);
            }
        };
        view->OnCommand(kv::ID_ADD_GROW_SHRINK);
        dialogs->inGrowShrink = nullptr;
        EXPECT_GT(rows, 1) << chart;
        EXPECT_EQ(rows, pnKindCast<pnChart>(scene().findObject(chart.c_str()))->getNumDataPts()) << chart;
    }

    TypedWizard wizard;
    GraphWizardResult wizardResult;
    Creator creator;
    TempDir dir{"kv-editing-round-trip"};
};

}  // namespace

TEST_F(EditingRoundTripTest, ASceneMadeByTheCommandsDrawsAsItsSavedFile) {
    REQUIRE_TOOL("convert");
    const std::string bars = addGraph(GRAPH_BAR, "Sales", {"40", "90", "60"}, 120, 300);
    const std::string line = addGraph(GRAPH_LINE, "Trend", {"30", "80", "50", "110", "70", "95"}, 420, 300);
    const std::string pie = addGraph(GRAPH_PIE, "Share", {"45", "35", "20"}, 110, 110);
    const std::string area = addGraph(GRAPH_AREA, "Volume", {"20", "60", "40", "80"}, 440, 120);
    const std::string text = addText("Report", 290, 40);
    const std::string panel = addPanel(290, 190);
    const std::string model = addModel("Models/arrow1.3ds", 290, 340);
    for (const std::string& made : {bars, line, pie, area, text, panel, model})
        ASSERT_NE(scene().findObject(made.c_str()), nullptr) << made;
    ASSERT_TRUE(host.messages.empty()) << host.messages.front().text;

    view->OnCommand(kv::ID_MODE_ANIMATION);
    ASSERT_EQ(view->m_bAnimationMode, 1);
    // The Camera page in animation mode, as the mode switch leaves it.
    frame.camera.LoadViewpoint();
    frame.camera.Lock(true);
    for (const std::string& chart : {bars, line, pie, area}) growEveryPoint(chart);
    // Graph Data on the area's first segment: its first height changed, OK,
    // then Undo.
    {
        auto* chart = pnKindCast<pnChart>(scene().findObject(area.c_str()));
        view->OnObjectChosen(area);
        ChartDataForm form;
        ASSERT_TRUE(LoadChartData(*chart, 1, DataDialogKind::Area, form));
        form.height[0].text = "70";
        ASSERT_TRUE(ChartDataOk(*view, *chart, form));
        ASSERT_EQ(view->OnEditUndo(), 1);
    }

    // A drag of the panel from frame 8 makes an effect there.
    view->GoToFrame(8);
    view->OnObjectChosen(panel);
    view->OnLButtonDown(3, 3, 0);
    view->OnMouseMove(33, 3, 0);
    view->OnMouseMove(63, -17, 0);
    view->OnLButtonUp(63, -17, 0);
    pnEvent* panelEvent = scene().findEvent(panel.c_str());
    ASSERT_EQ(panelEvent->getNumPlays(), 1) << "the drag made no effect";
    EXPECT_EQ(panelEvent->getPlay(0)->start, 8);

    // The Distance slider dragged and let go at frame 12 records the move.
    view->GoToFrame(12);
    frame.camera.OnDistanceScroll(760, false);
    frame.camera.OnDistanceScroll(700, true);
    pnEvent* camera = scene().findEvent("Camera");
    ASSERT_EQ(camera->getNumPlays(), 1) << "the slider recorded no camera move";
    EXPECT_EQ(camera->getPlay(0)->start, 12);

    // A pause and a sound through the time line's fixed rows.
    CTimeLineModel& t = frame.timeLine;
    t.RebuildRows();
    view->GoToFrame(15);
    t.Press(0, -1, false);
    t.AddEntry();
    frame.timeLineHost.sound = "chime.wav";
    view->GoToFrame(5);
    t.Press(1, -1, false);
    t.AddEntry();
    ASSERT_EQ(scene().getNumPauses(), 1);
    ASSERT_EQ(scene().getNumSounds(), 1);
    ASSERT_TRUE(host.messages.empty()) << host.messages.front().text;

    const int last = scene().getLastEventFrame();
    std::set<int> frames{0, last / 2, last};
    for (int e = 0; e < scene().getNumEvents(); ++e)
        for (int p = 0; p < scene().getEvent(e)->getNumPlays(); ++p)
            frames.insert(std::min(last, scene().getEvent(e)->getPlay(p)->start + 1));
    for (const std::string& name : {bars, line, pie, area}) {
        const auto* chart = pnKindCast<pnChart>(scene().findObject(name.c_str()));
        for (int i = 0; i < chart->getNumDataPts(); ++i) frames.insert(std::min(last, chart->getDataPtStartTime(i) + 1));
    }
    EXPECT_GE(frames.size(), 5u);
    expectSavedSceneDrawsTheSame(*view, host, dir.path(), width_, height_, {frames.begin(), frames.end()},
                                 "editing-round-trip");
    EXPECT_TRUE(host.messages.empty()) << host.messages.front().text;
}
