// The property bar and the Transformation bar follow the selection through
// New, Open, Cut, Undo and Redo: the selected object's page with the edits
// unlocked, or the empty page with them locked once nothing is selected.
#include "tests/app/ViewFixture.h"

namespace {

class SelectionBarsTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        host.frame = &frame;
        create();
    }
    // The bars' relays since the last look.
    std::vector<std::string> barCalls() {
        std::vector<std::string> out;
        for (const auto& [name, args] : frame.calls)
            if (name == "ShowObjectPage" || name == "LockTransformEdits" || name == "UnlockTransformEdits")
                out.push_back(args.empty() ? name : name + "(" + args + ")");
        frame.calls.clear();
        return out;
    }
    RecordingFrame frame;
};

}  // namespace

TEST_F(SelectionBarsTest, TheBarsShowTheSelectionOrTheEmptyPage) {
    using Calls = std::vector<std::string>;
    const Calls shown{"ShowObjectPage(1,1)", "UnlockTransformEdits"};
    const Calls none{"ShowObjectPage(7,0)", "LockTransformEdits"};
    const std::string path = folder() + "/two.apn";
    std::ofstream(path) << "scene {\n version 250\n}\npanel {\n name \"p1\"\n}\npanel {\n name \"p2\"\n}\n";
    view->m_strPendingOpen = path;
    ASSERT_EQ(view->OnFileOpen(), 1);
    EXPECT_EQ(frame.callsOf("AddObjectChooserName"), (Calls{"p1", "p2"})) << "the chooser lists the opened scene";
    EXPECT_EQ(frame.callsOf("SelectObjectChooserName"), (Calls{"p1"}));
    EXPECT_EQ(barCalls(), shown) << "the first object's page";

    struct Step {
        const char* what;
        int (CKelvanoView::*command)();
        std::string selected;
    };
    const Step steps[] = {
        {"cut p1: its neighbour", &CKelvanoView::OnEditCut, "p2"},
        {"cut p2: nothing left", &CKelvanoView::OnEditCut, ""},
        {"undo: p2 back", &CKelvanoView::OnEditUndo, "p2"},
        {"undo: p1 back", &CKelvanoView::OnEditUndo, "p1"},
        {"redo: p1 cut again", &CKelvanoView::OnEditRedo, "p2"},
        {"redo: p2 cut again", &CKelvanoView::OnEditRedo, ""},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        ASSERT_EQ((view.get()->*step.command)(), 1);
        const pnObject* selected = doc->m_pSelectedObject;
        EXPECT_EQ(selected ? std::string(selected->getName()) : std::string(), step.selected);
        EXPECT_EQ(barCalls(), step.selected.empty() ? none : shown);
    }

    ASSERT_EQ(view->OnEditUndo(), 1);
    barCalls();
    host.answers = {KV_IDNO};
    ASSERT_EQ(view->OnFileNew(), 1);
    EXPECT_EQ(barCalls(), none) << "New leaves nothing selected";
}
