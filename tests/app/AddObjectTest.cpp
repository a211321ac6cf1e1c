// The Add commands' common sequence and the rename of an object, on a
// headless view with a recording frame and a scripted creator.
#include "editor/CObjectCreator.h"
#include "editor/KelvanoIds.h"
#include "sg/sgNode.h"
#include "scene/pnViewpoint.h"
#include "tests/app/ViewFixture.h"

#include <algorithm>
#include <functional>
#include <set>

namespace {

class ScriptedCreator : public CObjectCreator {
public:
    bool RunDialog() override { return ++dialogs, ok; }
    std::string CreateObject() override { return create ? create() : std::string(); }
    bool ok = true;
    int dialogs = 0;
    std::function<std::string()> create;
};

class AddObjectTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        host.frame = &frame;
        create();
        view->SetObjectCreator(kv::ID_ADD_PANEL, &creator);
    }
    // What a panel page does on creation: a panel of the name, inserted.
    std::string makePanel(const std::string& name) {
        auto panel = std::make_unique<pnPanel>();
        panel->setName(name.c_str());
        panel->setDimension(40, 40, 4);
        pnObject* made = view->InsertNewObject(std::move(panel));
        return made ? made->getName() : std::string();
    }
    void nest(const std::string& child, const std::string& parent) {
        pnEvent* event = scene().findEvent(child.c_str());
        ASSERT_NE(event, nullptr);
        event->setParent(parent.c_str());
        scene().moveEventNode(event, -1);
    }
    bool enabled(int id) {
        CCmdUI ui;
        view->OnUpdateCommand(id, ui);
        return ui.enabled;
    }
    RecordingFrame frame;
    ScriptedCreator creator;
};

}  // namespace

TEST_F(AddObjectTest, AddRunsTheDialogBuildsAnnouncesAndStartsPlacement) {
    struct Case {
        const char* what;
        bool dialogOk;
        bool pageMakes;
        int made;
    };
    const Case cases[] = {
        {"OK and the page builds", true, true, 1},
        {"Cancel", false, true, 0},
        {"OK but the page refuses", true, false, 0},
    };
    int serial = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        makePanel("kept");
        view->OnCommand(kv::ID_MODE_SCALE);
        view->OnCommand(kv::ID_AXIS_X);  // scale mode: X off, Z stays off
        view->m_bPlacing = 0;
        frame.calls.clear();
        host.centeredCursor = 0;
        const int steps = doc->GetUndoHistory().GetCount();
        const std::string name = "Panel" + std::to_string(++serial);
        creator.ok = c.dialogOk;
        creator.create = [&] { return c.pageMakes ? makePanel(name) : std::string(); };

        EXPECT_EQ(view->OnAddObject(kv::ID_ADD_PANEL), c.made);
        EXPECT_EQ(view->m_bPlacing, c.made);
        EXPECT_EQ(host.centeredCursor, c.made);
        if (c.made) {
            EXPECT_EQ(doc->m_pSelectedObject, scene().findObject(name.c_str()));
            EXPECT_EQ(view->m_nTransformMode, 0);
            EXPECT_EQ(view->m_bAxisX + view->m_bAxisY + view->m_bAxisZ, 2);
            const auto list = frame.callsOf("AddObjectListItem");
            EXPECT_EQ(list, std::vector<std::string>{name});
            const auto selects = frame.callsOf("SelectObjectListItem");
            ASSERT_FALSE(selects.empty());
            EXPECT_EQ(selects.back(), name + ",1");
            EXPECT_EQ(frame.callsOf("AddObjectChooserName"), std::vector<std::string>{name});
            EXPECT_EQ(doc->GetUndoHistory().GetCount(), steps) << "nothing is recorded before the placement click";
            EXPECT_EQ(view->m_bModified, 1) << "the new object is unsaved work";
            view->OnLButtonDown(10, 10, 0);
            view->OnLButtonUp(10, 10, 0);
            EXPECT_EQ(doc->GetUndoHistory().GetCount(), steps + 1);
            view->OnEditUndo();
            EXPECT_EQ(scene().findObject(name.c_str()), nullptr) << "one step takes the new object out";
        } else {
            EXPECT_EQ(doc->m_pSelectedObject, scene().findObject("kept")) << "the selection stays";
            EXPECT_EQ(doc->GetUndoHistory().GetCount(), steps);
            EXPECT_EQ(frame.callsOf("AddObjectListItem").size(), 0u);
        }
        pnObject* kept = scene().findObject("kept");
        view->SelectObject(kept);
        view->DeleteSelectedObject(1);
    }

    // Object mode only, and only with a dialog to run.
    EXPECT_TRUE(enabled(kv::ID_ADD_PANEL));
    EXPECT_FALSE(enabled(kv::ID_ADD_TEXT));
    EXPECT_EQ(view->OnAddObject(kv::ID_ADD_TEXT), 0);
    view->m_bAnimationMode = 1;
    EXPECT_FALSE(enabled(kv::ID_ADD_PANEL));
    const int dialogs = creator.dialogs;
    EXPECT_EQ(view->OnKeyDown('P'), true);
    EXPECT_EQ(creator.dialogs, dialogs) << "no dialog in animation mode";
}

TEST_F(AddObjectTest, RenameCarriesEveryNameAlongAsOneStep) {
    // A three-level tree: top > [first, mid, last], mid > leaf.
    for (const char* name : {"top", "first", "mid", "last", "leaf", "other"}) makePanel(name);
    nest("first", "top");
    nest("mid", "top");
    nest("last", "top");
    nest("leaf", "mid");
    pnObject* mid = scene().findObject("mid");
    const int steps = doc->GetUndoHistory().GetCount();

    const std::string tooLong(CKelvanoView::kMaxObjectNameChars + 1, 'n');
    for (const std::string& refused : {std::string(), std::string("mid"), std::string("other"), tooLong}) {
        EXPECT_EQ(view->RenameObject(mid, refused), 0) << refused;
        EXPECT_EQ(mid->getName(), "mid");
    }
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), steps) << "a refused name records nothing";

    frame.calls.clear();
    ASSERT_EQ(view->RenameObject(mid, "middle"), 1);
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), steps + 1);
    EXPECT_EQ(frame.callsOf("RenameObjectListItem"), std::vector<std::string>{"mid,middle"});
    EXPECT_EQ(frame.callsOf("RemoveObjectChooserName"), std::vector<std::string>{"mid"});
    EXPECT_EQ(frame.callsOf("SelectObjectChooserName"), std::vector<std::string>{"middle"});
    EXPECT_EQ(scene().findEvent("mid"), nullptr);
    pnEvent* event = scene().findEvent("middle");
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->getObjectName(0), std::string("middle"));
    EXPECT_EQ(scene().findEvent("leaf")->getParent(), "middle");
    ASSERT_EQ(event->getNumChildNames(), 1);
    pnEvent* top = scene().findEvent("top");
    ASSERT_EQ(top->getNumChildNames(), 3);
    EXPECT_STREQ(top->getChildName(1), "middle") << "the event keeps its place among its parent's children";
    // The scene graph agrees: the renamed event's node is the parent's second
    // child event, with the leaf still under it.
    sgNode* topNode = top->getNode();
    ASSERT_NE(topNode, nullptr);
    EXPECT_EQ(topNode->getChild(2)->getName(), "middle");

    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_NE(scene().findObject("mid"), nullptr);
    EXPECT_EQ(scene().findObject("middle"), nullptr);
}

TEST_F(AddObjectTest, OneAddIsOneStepRecordedWherePlaced) {
    makePanel("kept");
    view->OnLButtonDown(5, 5, 0);
    view->OnLButtonUp(5, 5, 0);
    doc->ClearUndoHistory();
    creator.create = [&] { return makePanel("Placed"); };
    ASSERT_EQ(view->OnAddObject(kv::ID_ADD_PANEL), 1);
    pnObject* placed = scene().findObject("Placed");
    ASSERT_NE(placed, nullptr);
    const sgVec3 start = placed->getPosition();
    EXPECT_FALSE(doc->CanUndo()) << "the page's creation records nothing";

    // The object follows the pointer from the middle of the view, then the
    // click puts it down.
    view->OnMouseMove(kDefaultSceneWidth / 2 + 40, kDefaultSceneHeight / 2 - 25, 0);
    view->OnLButtonDown(kDefaultSceneWidth / 2 + 40, kDefaultSceneHeight / 2 - 25, 0);
    view->OnLButtonUp(kDefaultSceneWidth / 2 + 40, kDefaultSceneHeight / 2 - 25, 0);
    const sgVec3 put = scene().findObject("Placed")->getPosition();
    EXPECT_EQ(put, start + sgVec3(40, 25, 0));
    EXPECT_EQ(doc->GetUndoHistory().GetCount(), 1);

    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(scene().findObject("Placed"), nullptr);
    EXPECT_FALSE(doc->CanUndo()) << "a second Undo has nothing of this Add left";
    ASSERT_EQ(view->OnEditRedo(), 1);
    ASSERT_NE(scene().findObject("Placed"), nullptr);
    EXPECT_EQ(scene().findObject("Placed")->getPosition(), put) << "Redo puts it back where it was placed";

    // Another object chosen while placing: the click still records the placed
    // one, never the chosen one (whose Undo would delete it).
    creator.create = [&] { return makePanel("Second"); };
    ASSERT_EQ(view->OnAddObject(kv::ID_ADD_PANEL), 1);
    view->OnObjectChosen("kept");
    view->OnLButtonDown(3, 3, 0);
    view->OnLButtonUp(3, 3, 0);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(scene().findObject("Second"), nullptr);
    EXPECT_NE(scene().findObject("kept"), nullptr);

    // An Add whose scene went before the click records nothing at the click.
    creator.create = [&] { return makePanel("Dropped"); };
    ASSERT_EQ(view->OnAddObject(kv::ID_ADD_PANEL), 1);
    view->m_bModified = 0;
    ASSERT_EQ(view->OnFileNew(), 1);
    makePanel("Dropped");
    doc->ClearUndoHistory();
    view->OnLButtonDown(3, 3, 0);
    view->OnLButtonUp(3, 3, 0);
    EXPECT_FALSE(doc->CanUndo());
}

namespace {
// The object chooser's entries as the frame was told them.
std::multiset<std::string> chooserOf(const RecordingFrame& frame) {
    std::multiset<std::string> entries;
    for (const auto& [name, arg] : frame.calls) {
        if (name == "AddObjectChooserName") entries.insert(arg);
        if (name == "RemoveObjectChooserName" && entries.count(arg)) entries.erase(entries.find(arg));
        if (name == "ClearObjectList") entries.clear();
    }
    return entries;
}
}  // namespace

TEST_F(AddObjectTest, UndoAndRedoKeepTheObjectChooserInStep) {
    for (const char* name : {"box", "ball", "cone"}) makePanel(name);
    auto objectsOfScene = [&] {
        std::multiset<std::string> names;
        for (int i = 0; i < scene().getNumObjects(); ++i) names.insert(scene().getObject(i)->getName());
        return names;
    };
    auto expectInStep = [&](const char* after, const char* selected) {
        SCOPED_TRACE(after);
        EXPECT_EQ(chooserOf(frame), objectsOfScene());
        if (!selected) return;
        const auto chosen = frame.callsOf("SelectObjectChooserName");
        ASSERT_FALSE(chosen.empty());
        EXPECT_EQ(chosen.back(), selected);
    };
    const auto steps = [&](int undo, int redo, const char* what, const char* undone, const char* redone) {
        SCOPED_TRACE(what);
        EXPECT_EQ(view->OnEditUndo(), undo);
        expectInStep("undo", undone);
        EXPECT_EQ(view->OnEditRedo(), redo);
        expectInStep("redo", redone);
    };

    view->SelectObject(scene().findObject("ball"));
    view->OnEditDelete();
    steps(1, 1, "Delete", "ball", nullptr);
    view->SelectObject(scene().findObject("box"));
    ASSERT_EQ(view->OnEditCut(), 1);
    steps(1, 1, "Cut", "box", nullptr);
    ASSERT_EQ(view->OnEditPaste(), 1);
    expectInStep("paste", "box1");
    steps(1, 1, "Paste", nullptr, "box1");
    ASSERT_EQ(view->RenameObject(scene().findObject("cone"), "spire"), 1);
    steps(1, 1, "Rename", "cone", "spire");
    EXPECT_EQ(chooserOf(frame).count("cone"), 0u);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(chooserOf(frame).count("spire"), 0u) << "the undone name leaves the chooser";
    EXPECT_EQ(chooserOf(frame).count("cone"), 1u);

    // A viewpoint step brings the Camera tab up with the camera it restores.
    pnViewpoint* viewpoint = scene().getViewpoint();
    ASSERT_NE(viewpoint, nullptr);
    doc->RecordUndoBeforeViewpoint(viewpoint);
    viewpoint->setPosition(sgVec3(10, 20, 900));
    doc->RecordUndoAfterViewpoint(viewpoint);
    frame.calls.clear();
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(frame.callsOf("ReloadCameraPage").size(), 1u);
    EXPECT_EQ(frame.callsOf("ShowCameraPage").size(), 1u);
}
