// The effect dialogs, the effect list and the event tree as real windows on a
// scene file, the view recording what reaches the frame. Modal dialogs and
// message boxes are answered through wx's modal test hook.
#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/KelvanoIds.h"
#include "charts/pnChart.h"
#include "charts/pnChartRead.h"
#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnScene.h"
#include "scene/pnSceneLoader.h"
#include "tests/animation/AlignPictures.h"
#include "tests/app/RecordingHost.h"
#include "tests/support/SavedText.h"
#include "tests/support/WxTestRun.h"
#include "ui/animation/CCopyOptionDlg.h"
#include "ui/animation/CCreateEffectDlg.h"
#include "ui/animation/CEffectDialogSet.h"
#include "ui/animation/CEffectEditorDlg.h"
#include "ui/animation/CEffectListDlg.h"
#include "ui/animation/CEventTreeCtrl.h"
#include "ui/animation/CEventTreeDlg.h"
#include "ui/animation/CGrowShrinkDlg.h"
#include "ui/animation/CTimeLineModel.h"
#include "ui/animation/CViewTimeLineHost.h"
#include "editor/CEditScope.h"
#include "scene/pnObject.h"
#include "ui/properties/controls/CImageButton.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/rules/PrivateMessages.h"
#include "ui/properties/controls/CNumEdit.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/settings.h>
#include <wx/scrolbar.h>
#include <wx/testing.h>

#include <unistd.h>

#include <climits>
#include <filesystem>
#include <functional>
#include <set>

namespace {

// Answers a modal dialog of type T through a function of the dialog.
template <class T>
class Answer : public wxExpectModalBase<T, Answer<T>> {
public:
    explicit Answer(std::function<int(T*)> f) : m_f(std::move(f)) {}
    int OnInvoked(T* dlg) const override { return m_f(dlg); }

private:
    std::function<int(T*)> m_f;
};

class EffectDialogsGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* src = std::getenv("KELVANO_SOURCE_DIR");
        ASSERT_TRUE(src);
        doc = std::make_unique<CKelvanoDoc>(nullptr);
        host.frame = &relays;
        host.contextAvailable = false;
        view = std::make_unique<CKelvanoView>(doc.get(), &host);
        view->m_pScene = std::make_unique<pnScene>();
        ASSERT_EQ(pnSceneLoader().readFile(*view->m_pScene, std::string(src) + "/tests/animation/eventtree.apn"), 1);
        doc->m_effectUses = {{"e1", 3}, {"e2", 2}};
        doc->m_pSelectedObject = scene().findObject("B");
        frame = new wxFrame(nullptr, wxID_ANY, "effects", wxPoint(0, 0), wxSize(600, 980));
        frame->Show();
    }
    void TearDown() override {
        frame->Destroy();
        pumpWxEvents(50);
        view.reset();
    }
    pnScene& scene() { return *view->GetScene(); }
    static void type(CNumEdit* edit, const char* text) { edit->SetValue(text); }
    // The event tree on the frame, built from the scene.
    CEventTreeDlg* openTree() {
        auto* panel = new CEventTreeDlg(frame, wxID_ANY);
        panel->SetSize(frame->GetClientSize());
        panel->Layout();
        panel->RebuildTree();
        pumpWxEvents(100);
        return panel;
    }
    // Where a drag takes an item of the tree: its label's middle.
    static wxPoint centreOf(CEventTreeCtrl* tree, int id) {
        wxRect r;
        tree->EnsureVisible(tree->ItemOf(id));
        EXPECT_TRUE(tree->GetBoundingRect(tree->ItemOf(id), r, true));
        return wxPoint(r.x + r.width / 2, r.y + r.height / 2);
    }

    CKelvanoAppState app;
    RecordingHost host;
    RecordingFrame relays;
    std::unique_ptr<CKelvanoDoc> doc;
    std::unique_ptr<CKelvanoView> view;
    wxFrame* frame = nullptr;
};

}  // namespace

TEST_F(EffectDialogsGuiTest, CreatingEffects) {
    for (const char* name : {"effect001", "effect002"}) {
        auto* e = new pnEffect;
        e->setName(name);
        ASSERT_TRUE(scene().addEffect(e));
    }
    view->m_nEffectEditMode = 1;
    view->SetCurrentFrame(100);  // after B's plays: every OK finds room
    auto* dlg = new CCreateEffectDlg(frame, view.get());
    EXPECT_EQ(dlg->NameEdit()->GetText(), "effect003");
    EXPECT_EQ(dlg->List()->GetString(0), "                [None]");
    // A drag before any typing previews through one temporary effect.
    dlg->SetMove(sgVec3(7, 0, 0));
    dlg->SetMove(sgVec3(8, 0, 0));
    ASSERT_TRUE(scene().findEffect("istempeffect001"));
    EXPECT_FALSE(scene().findEffect("istempeffect002"));
    EXPECT_EQ(dlg->Fields().move[0]->GetText(), "8.00");
    EXPECT_TRUE(dlg->FlagBox(CEffectFields::kMove)->GetValue());
    ASSERT_TRUE(dlg->OnOK());
    pumpWxEvents(50);
    EXPECT_FALSE(scene().findEffect("istempeffect001"));
    const pnEffect* made = scene().findEffect("effect003");
    ASSERT_TRUE(made);
    EXPECT_FLOAT_EQ(made->getTrans()[0], 8.0f);
    EXPECT_EQ(view->m_bEffectExisted, 0);

    // Typing in Move X ticks Move only; OK sets only the translation. Made
    // without a drag, the effect is unsaved work all the same.
    view->m_nEffectEditMode = 1;
    view->m_bModified = 0;
    dlg = new CCreateEffectDlg(frame, view.get());
    type(dlg->Fields().move[0], "4");
    EXPECT_TRUE(dlg->FlagBox(CEffectFields::kMove)->GetValue());
    EXPECT_FALSE(dlg->FlagBox(CEffectFields::kScale)->GetValue());
    EXPECT_FALSE(dlg->FlagBox(CEffectFields::kRotate)->GetValue());
    ASSERT_TRUE(dlg->OnOK());
    pumpWxEvents(50);
    EXPECT_EQ(view->m_bModified, 1);
    made = scene().findEffect("effect004");
    ASSERT_TRUE(made);
    EXPECT_EQ(made->getFlag(pnEffect::TRANS_FLAG), 1);
    EXPECT_EQ(made->getFlag(pnEffect::SCALE_FLAG) + made->getFlag(pnEffect::ROTANGLE_FLAG), 0);

    // An existing effect's scale changed through the dialog.
    view->m_nEffectEditMode = 1;
    dlg = new CCreateEffectDlg(frame, view.get());
    dlg->SelectListEntry(dlg->List()->FindString("e2"));
    EXPECT_FALSE(dlg->NameEdit()->IsEnabled());
    type(dlg->Fields().scale[0], "3");
    // A played effect is refused by Delete with the message.
    wxTEST_DIALOG(dlg->OnDelete(), wxExpectModal<wxMessageDialog>(wxID_OK).Describe("\"e2\" is being used by an event."));
    EXPECT_TRUE(scene().findEffect("e2"));
    ASSERT_TRUE(dlg->OnOK());
    pumpWxEvents(50);
    EXPECT_FLOAT_EQ(scene().findEffect("e2")->getScale()[0], 3.0f);
    EXPECT_EQ(view->m_bEffectExisted, 1);
}

// OK on a frame the time line has taken meanwhile is refused with the
// view's box; the dialog stays open, makes no effect and cuts no play.
TEST_F(EffectDialogsGuiTest, CreationOkOnATakenFrameStaysOpen) {
    view->m_nEffectEditMode = 1;
    view->m_strCreateEventName = "B";
    auto* dlg = new CCreateEffectDlg(frame, view.get());
    type(dlg->Fields().move[0], "4");
    view->SetCurrentFrame(6);  // inside B's play 5-8
    const int effects = scene().getNumEffects();
    EXPECT_FALSE(dlg->OnOK());
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().caption, "Effect Creation Error");
    EXPECT_EQ(scene().getNumEffects(), effects);
    const pnEvent* b = scene().findEvent("B");
    ASSERT_EQ(b->getNumPlays(), 1);
    EXPECT_EQ(b->getPlay(0)->end, 8);
    view->SetCurrentFrame(30);
    ASSERT_TRUE(dlg->OnOK());
    pumpWxEvents(50);
    ASSERT_EQ(b->getNumPlays(), 2);
    EXPECT_EQ(b->getPlay(1)->start, 30);
    EXPECT_EQ(b->getPlay(1)->end, 50);
    EXPECT_EQ(b->getPlay(0)->end, 8);
}

TEST_F(EffectDialogsGuiTest, EffectListAndEditor) {
    auto* list = new CEffectListDlg(frame, wxID_ANY);
    list->FillFromScene();
    ASSERT_EQ(list->List()->GetCount(), 2u);
    // Typing without a selection is undone at once.
    type(list->Fields().move[0], "9");
    EXPECT_EQ(list->Fields().move[0]->GetText(), "");
    list->SelectEffect(0);
    EXPECT_EQ(list->Fields().move[0]->GetText(), "5.00");
    type(list->Fields().move[1], "6");
    EXPECT_TRUE(list->IsModified());
    list->OnApply();
    EXPECT_FLOAT_EQ(scene().findEffect("e1")->getTrans()[1], 6.0f);
    // The Color box cleared: Apply takes the colour away.
    list->ColorBox()->SetValue(false);
    wxCommandEvent click(wxEVT_CHECKBOX, list->ColorBox()->GetId());
    click.SetEventObject(list->ColorBox());
    list->ColorBox()->GetEventHandler()->ProcessEvent(click);
    list->OnApply();
    EXPECT_EQ(scene().findEffect("e1")->getFlag(pnEffect::COLOR_FLAG), 0);

    // The editor: Close after a drag puts the values back; Apply then Close keeps them.
    scene().findEffect("e1")->setColor("red");
    auto* editor = new CEffectEditorDlg(frame, view.get(), 0, "e1");
    editor->SetMove(sgVec3(50, 0, 0));
    EXPECT_FLOAT_EQ(scene().findEffect("e1")->getTrans()[0], 50.0f);
    editor->CloseEditor();
    pumpWxEvents(50);
    EXPECT_FLOAT_EQ(scene().findEffect("e1")->getTrans()[0], 5.0f);
    editor = new CEffectEditorDlg(frame, view.get(), 0, "e1");
    editor->SetMove(sgVec3(60, 0, 0));
    editor->ApplyValues();
    editor->CloseEditor();
    pumpWxEvents(50);
    EXPECT_FLOAT_EQ(scene().findEffect("e1")->getTrans()[0], 60.0f);

    // Mode 2 changes only the move; mode 1 keeps the colour.
    CEffectEditorDlg camera(frame, view.get(), 2, "e2");
    EXPECT_FALSE(camera.Fields().scale[0]->IsEnabled());
    type(camera.Fields().move[2], "12");
    type(camera.Fields().scale[0], "9");
    camera.ApplyValues();
    EXPECT_FLOAT_EQ(scene().findEffect("e2")->getTrans()[2], 12.0f);
    EXPECT_FLOAT_EQ(scene().findEffect("e2")->getScale()[0], 2.0f);
    CEffectEditorDlg light(frame, view.get(), 1, "e1");
    EXPECT_TRUE(light.IsColorTicked());
    type(light.Fields().move[0], "1");
    light.ApplyValues();
    EXPECT_EQ(scene().findEffect("e1")->getColor(), "red");

    // The list shows e1 as it changes elsewhere: the editor's drag and Apply
    // in every field not typed, while Move Y keeps what was typed; the list's
    // Apply writes Y beside what the editor applied, and the editor keeps it.
    pnEffect& e1 = *scene().findEffect("e1");
    list->SelectEffect(0);
    EXPECT_TRUE(list->ColorBox()->GetValue());
    type(list->Fields().move[1], "7");
    editor = new CEffectEditorDlg(frame, view.get(), 0, "e1");
    editor->SetMove(sgVec3(70, 8, 9));
    editor->SetScale(sgVec3(2, 3, 4));
    pumpWxEvents(50);
    EXPECT_EQ(list->Fields().move[0]->GetText(), "70.00") << "the drag does not show";
    EXPECT_EQ(list->Fields().move[1]->GetText(), "7") << "the typing was lost";
    EXPECT_EQ(list->Fields().scale[2]->GetText(), "4.00");
    editor->ApplyValues();
    list->OnApply();
    EXPECT_EQ(e1.getTrans(), sgVec3(70, 7, 9));
    EXPECT_EQ(e1.getScale(), sgVec3(2, 3, 4));
    editor->CloseEditor();
    pumpWxEvents(50);
    EXPECT_EQ(e1.getTrans(), sgVec3(70, 7, 9)) << "Close put back what the list applied";
    // Any other change (an undo step puts values straight back) shows too.
    e1.setColor("");
    e1.setRotAngle(45.0f);
    pumpWxEvents(50);
    EXPECT_FALSE(list->ColorBox()->GetValue());
    EXPECT_EQ(list->Fields().angle->GetText(), "45.000");
    EXPECT_FALSE(list->IsModified());
}

// "inf", "nan" and numbers no float holds typed into an effect's fields went
// into the effect: the file kept words that read back as 0, or the float
// range. Each counts as no number, as "abc" does, and the saved file holds
// numbers only, which read back.
TEST_F(EffectDialogsGuiTest, EffectFieldsSaveNumbersOnly) {
    auto* list = new CEffectListDlg(frame, wxID_ANY);
    list->FillFromScene();
    list->SelectEffect(0);
    const std::string name = list->List()->GetString(0).ToStdString();
    pnEffect* effect = scene().findEffect(name.c_str());
    ASSERT_TRUE(effect) << name;
    auto apply = [&](const char* move, const char* scale) {
        type(list->Fields().move[0], move);
        type(list->Fields().scale[1], scale);
        list->OnApply();
        return std::vector<float>{effect->getTrans()[0], effect->getScale()[1]};
    };
    apply("4", "3");
    const std::vector<float> none = apply("abc", "abc");
    for (const char* typed : {"inf", "-nan", "1e39", "-1e39", "1e400"}) {
        ASSERT_EQ(apply("4", "3"), (std::vector<float>{4, 3}));
        EXPECT_EQ(apply(typed, typed), none) << typed;
    }
    apply("1e39", "-inf");
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("kelvano-effects-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "effects.apn").string();
    ASSERT_EQ(view->SaveSceneTo(path), 1);
    EXPECT_EQ(wordsForNumbers(readText(path)), std::vector<std::string>{});
    pnScene reread;
    ASSERT_EQ(pnSceneLoader().readFile(reread, path), 1);
    const pnEffect* back = reread.findEffect(name.c_str());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->getTrans()[0], effect->getTrans()[0]);
    EXPECT_EQ(back->getScale()[1], effect->getScale()[1]);
    std::filesystem::remove_all(dir);
    list->Destroy();
    pumpWxEvents(30);
}

TEST_F(EffectDialogsGuiTest, CopyOptionStaysOnTheScreen) {
    CCopyOptionDlg dlg(frame, view.get(), "e1");
    EXPECT_EQ(dlg.GetChoice(), 1);
    EXPECT_EQ(dlg.NameEdit()->GetText(), "e1001");
    EXPECT_FALSE(dlg.NameEdit()->IsEnabled());
    const wxRect area = wxDisplay(0u).GetClientArea();
    dlg.SetPosition(area.GetRight() - 5, area.GetBottom() - 5);
    const wxRect placed(dlg.GetPosition(), dlg.GetSize());
    EXPECT_TRUE(area.Contains(placed)) << placed.x << "," << placed.y;
    dlg.SetChoice(0);
    dlg.NameEdit()->ChangeValue("e2");
    wxTEST_DIALOG(EXPECT_FALSE(dlg.TakeInput()), wxExpectModal<wxMessageDialog>(wxID_OK));
    EXPECT_EQ(dlg.NameEdit()->GetText(), "e2001");
}

TEST_F(EffectDialogsGuiTest, TreeDragsAndItems) {
    CEventTreeDlg* panel = openTree();
    const CEventTreeModel& m = panel->Model();
    CEventTreeCtrl* tree = panel->Tree();
    auto centre = [&](int id) { return centreOf(tree, id); };
    const int a = m.FindEvent("A"), d = m.FindEvent("D");
    const int aFirst = m.Item(m.FolderOf(a)).children[0];
    EXPECT_FALSE(panel->CanRename(m.FindEvent("Camera")));
    EXPECT_FALSE(panel->CanRename(m.FindEvent("L0")));
    EXPECT_FALSE(tree->BeginItemDrag(m.FolderOf(a), centre(a)));

    // A's first play dropped on D's folder: "Copy Option" copies it there.
    ASSERT_TRUE(tree->BeginItemDrag(aFirst, centre(aFirst)));
    tree->DragTo(centre(m.FolderOf(d)));
    EXPECT_EQ(tree->DropTargetClass(), 0);
    wxTEST_DIALOG(tree->DropAt(centre(m.FolderOf(d))), Answer<CCopyOptionDlg>([](CCopyOptionDlg* dlg) {
                      dlg->SetChoice(0);
                      return dlg->TakeInput() ? wxID_OK : wxID_CANCEL;
                  }));
    const pnEvent* dEvent = scene().findEvent("D");
    ASSERT_EQ(dEvent->getNumPlays(), 1);
    EXPECT_EQ(dEvent->getPlay(0)->effect, "e1001");
    EXPECT_EQ(dEvent->getPlay(0)->end, 20);
    EXPECT_TRUE(scene().findEffect("e1001"));
    EXPECT_EQ(relays.callsOf("AddEffectListName"), std::vector<std::string>{"e1001"});
    EXPECT_EQ(doc->GetEffectUse("e1001"), 1);

    // No room before A's first play (it starts at 0): a warning, no copy.
    const int aFolder = m.FolderOf(m.FindEvent("A"));
    ASSERT_TRUE(tree->BeginItemDrag(m.Item(aFolder).children[0], centre(m.Item(aFolder).children[0])));
    wxTEST_DIALOG(tree->DropAt(centre(aFolder)), wxExpectModal<wxMessageDialog>(wxID_OK).Describe("Effect Copy Error"));
    EXPECT_EQ(scene().findEvent("A")->getNumPlays(), 3);
    // A fixed event takes no copy: the drop shows the scene again (new item ids).
    const int aPlay = m.Item(m.FolderOf(m.FindEvent("A"))).children[0];
    ASSERT_TRUE(tree->BeginItemDrag(aPlay, centre(aPlay)));
    tree->DropAt(centre(m.FolderOf(m.FindEvent("Camera"))));
    EXPECT_EQ(scene().findEvent("Camera")->getNumPlays(), 0);

    // A dropped on the object item of its descendant D: nothing changes.
    const int dObject = m.Item(m.FindEvent("D")).children[0];
    ASSERT_TRUE(tree->BeginItemDrag(m.FindEvent("A"), centre(m.FindEvent("A"))));
    tree->DropAt(centre(dObject));
    EXPECT_FALSE(scene().findEvent("A")->getHasParent());
    // Delete on event, folder and object items does nothing; on a play it removes that play.
    for (int id : {m.FindEvent("B"), m.FolderOf(m.FindEvent("B")), m.Item(m.FindEvent("B")).children[0]})
        panel->OnDeleteItem(id);
    EXPECT_EQ(scene().findEvent("B")->getNumPlays(), 1);
    panel->OnDeleteItem(m.Item(m.FolderOf(m.FindEvent("A"))).children[2]);
    EXPECT_EQ(scene().findEvent("A")->getNumPlays(), 2);
    EXPECT_EQ(doc->GetEffectUse("e1"), 2);
    // B dropped on D's folder becomes D's child.
    ASSERT_TRUE(tree->BeginItemDrag(m.FindEvent("B"), centre(m.FindEvent("B"))));
    tree->DropAt(centre(m.FolderOf(m.FindEvent("D"))));
    EXPECT_EQ(scene().findEvent("B")->getParent(), "D");
    EXPECT_EQ(m.Parent(m.FindEvent("B")), m.FindEvent("D"));

    // The context menus: made without a wx assertion, their commands known
    // by their own numbers.
    std::unique_ptr<wxMenu> noParent = tree->MakeItemMenu(m.FindEvent("B"));
    ASSERT_TRUE(noParent);
    EXPECT_EQ(kv::FromWxId(noParent->FindItem("No Parent")), CEventTreeCtrl::kNoParentCommand);
    std::unique_ptr<wxMenu> deletePlay = tree->MakeItemMenu(m.Item(m.FolderOf(m.FindEvent("A"))).children[0]);
    ASSERT_TRUE(deletePlay);
    EXPECT_EQ(kv::FromWxId(deletePlay->FindItem("Delete")), CEventTreeCtrl::kDeleteCommand);
    EXPECT_FALSE(tree->MakeItemMenu(m.FolderOf(m.FindEvent("A"))));
    EXPECT_FALSE(tree->MakeItemMenu(m.FindEvent("A"))) << "no parent to leave";
}

// In animation mode, a drop in the tree and No Parent on an event that no
// object is named after are each a step of their own: Undo takes them back
// one by one, keeps the time line edit made on the event in between, and
// leaves the step before them alone; Redo gives them again.
TEST_F(EffectDialogsGuiTest, TreeReparentsAreTheirOwnStepsAndKeepLaterPlays) {
    ASSERT_EQ(scene().renameEvent(scene().findEvent("B"), "showB"), 1);
    view->m_bAnimationMode = 1;
    CEventTreeDlg* panel = openTree();
    const CEventTreeModel& m = panel->Model();
    CEventTreeCtrl* tree = panel->Tree();
    auto centre = [&](int id) { return centreOf(tree, id); };
    auto count = [&] { return doc->GetUndoHistory().GetCount(); };
    auto showB = [&] { return scene().findEvent("showB"); };
    // The step before: A moved.
    {
        CEditScope moved(*view, scene().findObject("A"));
        scene().findObject("A")->setPositionY(20);
    }
    ASSERT_EQ(count(), 1);

    // showB dropped on D's folder.
    ASSERT_TRUE(tree->BeginItemDrag(m.FindEvent("showB"), centre(m.FindEvent("showB"))));
    tree->DropAt(centre(m.FolderOf(m.FindEvent("D"))));
    ASSERT_EQ(showB()->getParent(), "D");
    EXPECT_EQ(count(), 2);
    // On the time line, showB's play ends at 12 (no step).
    struct TimeLineHost : CViewTimeLineHost {
        std::string ChooseSoundFile() override { return std::string(); }
    } onView;
    CTimeLineModel timeLine(onView);
    timeLine.RebuildRows();
    timeLine.SelectEvent("showB", 0);
    timeLine.TypeTime(CTimeLineModel::kFieldEnd, 12);
    ASSERT_EQ(showB()->getPlay(0)->end, 12);
    EXPECT_EQ(count(), 2);
    // No Parent from the tree's menu.
    panel->OnNoParent(m.FindEvent("showB"));
    ASSERT_FALSE(showB()->getHasParent());
    EXPECT_EQ(count(), 3);

    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(showB()->getParent(), "D") << "No Parent is taken back alone";
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_FALSE(showB()->getHasParent()) << "then the drop";
    EXPECT_EQ(scene().findEvent("D")->getNumChildNames(), 0);
    ASSERT_EQ(showB()->getNumPlays(), 1);
    EXPECT_EQ(showB()->getPlay(0)->end, 12) << "the time line edit stays";
    EXPECT_FLOAT_EQ(scene().findObject("A")->getPosition()[1], 20.0f) << "the step before is untouched";
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_FLOAT_EQ(scene().findObject("A")->getPosition()[1], 0.0f);
    ASSERT_EQ(view->OnEditRedo(), 1);
    ASSERT_EQ(view->OnEditRedo(), 1);
    EXPECT_EQ(showB()->getParent(), "D");
    ASSERT_EQ(view->OnEditRedo(), 1);
    EXPECT_FALSE(showB()->getHasParent());
    EXPECT_EQ(showB()->getPlay(0)->end, 12);

    // The same for an event named after its object: No Parent on C, then
    // its play stretched; Undo hangs C under A again with the longer play.
    panel->RebuildTree();
    panel->OnNoParent(m.FindEvent("C"));
    ASSERT_FALSE(scene().findEvent("C")->getHasParent());
    timeLine.RebuildRows();
    timeLine.SelectEvent("C", 0);
    timeLine.TypeTime(CTimeLineModel::kFieldEnd, 9);
    ASSERT_EQ(scene().findEvent("C")->getPlay(0)->end, 9);
    ASSERT_EQ(view->OnEditUndo(), 1);
    EXPECT_EQ(scene().findEvent("C")->getParent(), "A");
    EXPECT_EQ(scene().findEvent("C")->getPlay(0)->end, 9) << "the time line edit stays";
    EXPECT_EQ(scene().findEvent("D")->getParent(), "C") << "C keeps its child";
}

TEST_F(EffectDialogsGuiTest, DialogSetLeavesNothingBehind) {
    CEffectDialogSet dialogs(frame, view.get());
    view->SetEffectDialogs(&dialogs);
    // The creation dialog's preview goes with it, the play the view gave it too.
    view->m_bAnimationMode = 1;
    view->OnCreateEffect();
    ASSERT_TRUE(dialogs.IsOpen(1));
    const std::string preview = dialogs.GetPreviewEffectName();
    EXPECT_EQ(preview, "istempeffect001");
    scene().findEvent("B")->addPlay(preview.c_str(), 0, 0, 1);
    view->m_bDialogPlayAdded = 1;
    view->m_strDialogPlayEffect = preview;
    view->m_strDialogPlayEvent = "B";
    dialogs.Destroy(1);
    pumpWxEvents(50);
    EXPECT_FALSE(dialogs.IsOpen(1));
    EXPECT_FALSE(scene().findEffect(preview.c_str()));
    EXPECT_EQ(scene().findEvent("B")->getNumPlays(), 1);
    // The editor: an unapplied drag is put back when the view closes it.
    ASSERT_TRUE(dialogs.Open(2, "e2"));
    dialogs.SetMove(2, sgVec3(0, 9, 0));
    EXPECT_FLOAT_EQ(scene().findEffect("e2")->getTrans()[1], 9.0f);
    dialogs.Destroy(2);
    pumpWxEvents(50);
    EXPECT_FALSE(dialogs.IsOpen(2));
    EXPECT_FLOAT_EQ(scene().findEffect("e2")->getTrans()[1], 0.0f);
    view->SetEffectDialogs(nullptr);

    // Renames through the tree: refused with the message, or carried to the scene.
    auto* panel = new CEventTreeDlg(frame, wxID_ANY);
    panel->RebuildTree();
    const CEventTreeModel& m = panel->Model();
    wxTEST_DIALOG(EXPECT_FALSE(panel->OnRename(m.FindEvent("C"), "A")), wxExpectModal<wxMessageDialog>(wxID_OK));
    EXPECT_TRUE(panel->OnRename(m.FindEvent("C"), "Z"));
    EXPECT_GE(m.FindEvent("Z"), 0);
    EXPECT_EQ(scene().findEvent("D")->getParent(), "Z");
    EXPECT_EQ(relays.callsOf("RenameObjectListItem"), std::vector<std::string>{"C,Z"});
    panel->OnNoParent(m.FindEvent("Z"));
    EXPECT_FALSE(scene().findEvent("Z")->getHasParent());
    EXPECT_EQ(m.Parent(m.FindEvent("Z")), -1);
}

// One effect dialog holds the view's edit mode at a time, on the screen
// too: with "Creating Effect" open the Event Tree's double-click opens no
// Effect Editor and leaves the view's frame, and with the editor open Add
// Effect opens no "Creating Effect". Each Cancel or Close takes its window.
TEST_F(EffectDialogsGuiTest, OneEffectDialogHoldsTheModeOnTheScreen) {
    CEffectDialogSet dialogs(frame, view.get());
    view->SetEffectDialogs(&dialogs);
    view->m_bAnimationMode = 1;
    CEventTreeDlg* panel = openTree();
    const CEventTreeModel& m = panel->Model();
    const int bPlay = m.Item(m.FolderOf(m.FindEvent("B"))).children[0];
    auto shown = [](const char* title) {
        pumpWxEvents(50);
        int n = 0;
        for (wxWindow* w : wxTopLevelWindows) n += w->IsShown() && !w->IsBeingDeleted() && w->GetLabel() == title;
        return n;
    };
    view->SetCurrentFrame(30);
    view->OnCreateEffect();
    ASSERT_EQ(shown("Creating Effect"), 1);
    panel->OnEditItem(bPlay);
    EXPECT_EQ(shown("Effect Editor"), 0);
    EXPECT_EQ(shown("Creating Effect"), 1);
    EXPECT_EQ(view->m_nCurrentFrame, 30) << "the refused editor moved the view";
    EXPECT_EQ(view->m_nEffectEditMode, 1);
    CCreateEffectDlg::OpenDialog()->OnCancel();
    EXPECT_EQ(shown("Creating Effect"), 0);
    EXPECT_EQ(view->m_nEffectEditMode, 0);

    panel->OnEditItem(bPlay);
    ASSERT_EQ(shown("Effect Editor"), 1);
    EXPECT_EQ(view->m_nCurrentFrame, 8);
    view->OnCreateEffect();
    EXPECT_EQ(shown("Creating Effect"), 0);
    EXPECT_EQ(shown("Effect Editor"), 1);
    EXPECT_EQ(view->m_nEffectEditMode, 2);
    dialogs.Editor()->CloseEditor();
    EXPECT_EQ(shown("Effect Editor"), 0);
    EXPECT_EQ(view->m_nEffectEditMode, 0);
    view->SetEffectDialogs(nullptr);
}

TEST_F(EffectDialogsGuiTest, GrowShrinkButtonsAndEdits) {
    installChartKinds();
    pnScene charts;
    ASSERT_EQ(pnSceneLoader().readFile(charts, std::string(std::getenv("KELVANO_SOURCE_DIR")) +
                                                   "/tests/animation/growshrink.apn"),
              1);
    auto* chart = static_cast<pnChart*>(charts.findObject("bars"));
    ASSERT_TRUE(chart);
    CGrowShrinkDlg dlg(frame, 225, chart, 21, 11, 0);
    EXPECT_EQ(dlg.GetTitle(), "[ bars ] - Grow / Shrink Time Setting");
    auto enabled = [&](int id) { return dlg.Button(id)->IsEnabled(); };
    EXPECT_TRUE(enabled(CGrowShrinkDlg::IDC_ADD_GROW));
    EXPECT_FALSE(enabled(CGrowShrinkDlg::IDC_ADD_SHRINK) || enabled(CGrowShrinkDlg::IDC_REMOVE));
    dlg.OnCommand(CGrowShrinkDlg::IDC_ADD_GROW);
    EXPECT_EQ(dlg.Edit(CGrowShrinkDlg::IDC_END)->GetText(), "20");
    dlg.OnCommand(CGrowShrinkDlg::IDC_ADD_SHRINK);
    EXPECT_EQ(dlg.Edit(CGrowShrinkDlg::IDC_START)->GetText(), "41");
    EXPECT_EQ(chart->getDataPtShrinkEnd(0), 51);
    EXPECT_TRUE(enabled(CGrowShrinkDlg::IDC_REMOVE) && !enabled(CGrowShrinkDlg::IDC_ADD_SHRINK));
    // A typed start past the end comes back as it was.
    dlg.Edit(CGrowShrinkDlg::IDC_START)->ChangeValue("60");
    CPrivateMessageEvent commit(kvEVT_WM_NUMEDIT_COMMIT, WM_NUMEDIT_COMMIT, CGrowShrinkDlg::IDC_START, 1);
    dlg.OnCommit(commit);
    EXPECT_EQ(dlg.Edit(CGrowShrinkDlg::IDC_START)->GetText(), "41");
    EXPECT_EQ(chart->getDataPtShrinkStart(0), 41);

    // Each align button shows its own action, drawn as the time line's are
    // ("Ew", which the time line lacks, only has to differ from the others).
    struct Shown {
        int id;
        bool whole, playEnd, toRefEnd;
    } shown[] = {{CGrowShrinkModel::kLj, true, false, false},
                 {CGrowShrinkModel::kRj, true, true, true},
                 {CGrowShrinkModel::kStartEdgeToStart, false, false, false},
                 {CGrowShrinkModel::kEndEdgeToEnd, false, true, true},
                 {CGrowShrinkModel::kStartToEnd, true, false, true},
                 {CGrowShrinkModel::kEndToStart, true, true, false},
                 {CGrowShrinkModel::kStartEdgeToEnd, false, false, true},
                 {CGrowShrinkModel::kEndEdgeToStart, false, true, false}};
    auto picture = [&](int id) { return static_cast<CImageButton*>(dlg.Button(id))->GetFaceBitmap().ConvertToImage(); };
    for (const Shown& e : shown) {
        const AlignAction a = readAlignPicture(picture(e.id));
        EXPECT_TRUE(a.ok && a.whole == e.whole && a.playEnd == e.playEnd && a.toRefEnd == e.toRefEnd) << e.id;
    }
    std::set<std::vector<unsigned char>> pictures;
    for (int id : CGrowShrinkModel::kAlignButtons) {
        const wxImage img = picture(id);
        pictures.insert(std::vector<unsigned char>(img.GetData(), img.GetData() + img.GetWidth() * img.GetHeight() * 3));
    }
    EXPECT_EQ(pictures.size(), 9u);

    // A chart without points offers nothing.
    CGrowShrinkDlg empty(frame, 225, static_cast<pnChart*>(charts.findObject("empty")), 21, 11, 0);
    for (int id : {int(CGrowShrinkDlg::IDC_ADD_GROW), int(CGrowShrinkDlg::IDC_ADD_SHRINK), int(CGrowShrinkDlg::IDC_REMOVE),
                   int(CGrowShrinkModel::kLj), int(CGrowShrinkModel::kEw)})
        EXPECT_FALSE(empty.Button(id)->IsEnabled()) << id;
    EXPECT_FALSE(empty.Edit(CGrowShrinkDlg::IDC_START)->IsEnabled());
}

// Without a window manager no edit hears a focus change: frames typed into
// Grow/Shrink and Close with the mouse left the chart's play as it was.
// Close now takes the field as it stands, and the view keeps it as unsaved work.
TEST_F(EffectDialogsGuiTest, GrowShrinkCloseTakesTheTypedFrames) {
    installChartKinds();
    view->m_pScene = std::make_unique<pnScene>();
    ASSERT_EQ(pnSceneLoader().readFile(scene(), std::string(std::getenv("KELVANO_SOURCE_DIR")) +
                                                    "/tests/animation/growshrink.apn"),
              1);
    auto* chart = static_cast<pnChart*>(scene().findObject("bars"));
    ASSERT_TRUE(chart);
    doc->m_pSelectedObject = chart;
    view->m_bModified = 0;
    CEffectDialogSet dialogs(frame, view.get());
    view->SetEffectDialogs(&dialogs);
    bool closed = false;
    struct CloseTyped : wxModalDialogHook {
        std::function<void(CGrowShrinkDlg*)> act;
        int Enter(wxDialog* dialog) override {
            if (auto* dlg = dynamic_cast<CGrowShrinkDlg*>(dialog)) dlg->CallAfter([this, dlg] { act(dlg); });
            return wxID_NONE;
        }
        void Exit(wxDialog*) override {}
    } hook;
    hook.act = [&](CGrowShrinkDlg* dlg) {
        auto press = [&](int id) {
            wxCommandEvent click(wxEVT_BUTTON, id);
            click.SetEventObject(dlg->FindWindow(id));
            dlg->FindWindow(id)->GetEventHandler()->ProcessEvent(click);
        };
        press(CGrowShrinkDlg::IDC_ADD_GROW);  // P1 grows over frames 0 to 20
        // Both typed before Close: the start's commit shows the bar in the
        // other edits, and the end typed still goes.
        for (const auto& [id, text] : {std::pair{int(CGrowShrinkDlg::IDC_START), "5"},
                                       std::pair{int(CGrowShrinkDlg::IDC_END), "33"}}) {
            CNumEdit* edit = dlg->Edit(id);
            edit->SelectAll();
            edit->WriteText(text);
        }
        press(1);  // Close
        closed = !dlg->IsModal();
        if (!closed) dlg->EndModal(wxID_CANCEL);
    };
    hook.Register();
    view->OnAddGrowShrink();
    hook.Unregister();
    view->SetEffectDialogs(nullptr);
    EXPECT_TRUE(closed);
    EXPECT_EQ(chart->getDataPtStartTime(0), 5);
    EXPECT_EQ(chart->getDataPtEndTime(0), 33);
    EXPECT_EQ(view->m_bModified, 1);
}

// Each of the twelve image buttons draws a picture of its own: none is left
// blank (the face colour only), and no two are alike.
TEST_F(EffectDialogsGuiTest, GrowShrinkButtonsDrawTheirOwnPictures) {
    installChartKinds();
    pnScene charts;
    ASSERT_EQ(pnSceneLoader().readFile(charts, std::string(std::getenv("KELVANO_SOURCE_DIR")) +
                                                   "/tests/animation/growshrink.apn"),
              1);
    CGrowShrinkDlg dlg(frame, 225, static_cast<pnChart*>(charts.findObject("bars")), 21, 11, 0);
    const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    std::vector<std::string> pictures;
    for (wxWindow* child : dlg.GetChildren()) {
        auto* button = dynamic_cast<CImageButton*>(child);
        if (!button) continue;
        ASSERT_TRUE(button->GetFaceBitmap().IsOk()) << button->GetLabel();
        const wxImage img = button->GetFaceBitmap().ConvertToImage();
        const unsigned char* rgb = img.GetData();
        bool drawn = false;
        for (int i = 0; i < img.GetWidth() * img.GetHeight() && !drawn; ++i)
            drawn = rgb[3 * i] != face.Red() || rgb[3 * i + 1] != face.Green() || rgb[3 * i + 2] != face.Blue();
        EXPECT_TRUE(drawn) << "\"" << button->GetLabel() << "\" shows a blank picture";
        std::string key = std::to_string(img.GetWidth()) + "x" + std::to_string(img.GetHeight()) + ":";
        key.append(reinterpret_cast<const char*>(rgb), 3 * img.GetWidth() * img.GetHeight());
        for (size_t j = 0; j < pictures.size(); ++j)
            EXPECT_TRUE(pictures[j] != key) << "\"" << button->GetLabel() << "\" has the picture of button " << j;
        pictures.push_back(key);
    }
    EXPECT_EQ(pictures.size(), 12u);
}

// A chart whose file ends a grow at the last int: the time is held where the
// chart's sums stay ints, and the frame bar runs to it; a grow set to end at
// the last int still wraps no sum round.
TEST_F(EffectDialogsGuiTest, GrowShrinkFrameBarRunsToAGrowEndingAtTheLastInt) {
    installChartKinds();
    pnScene charts;
    ASSERT_EQ(readSceneEdited(charts, std::string(std::getenv("KELVANO_SOURCE_DIR")) + "/tests/animation/growshrink.apn",
                              "startTime\t10\n        endTime\t30", "startTime\t10\n        endTime\t2147483647"),
              1);
    auto* chart = static_cast<pnChart*>(charts.findObject("bars"));
    ASSERT_TRUE(chart);
    ASSERT_EQ(chart->getDataPtEndTime(2), kMaxChartPointFrame);
    for (const int last : {kMaxChartPointFrame, INT_MAX}) {
        SCOPED_TRACE(last);
        chart->setDataPtEndTime(2, last);
        CGrowShrinkDlg dlg(frame, 225, chart, 21, 11, 0);
        wxScrollBar* bar = nullptr;
        std::function<void(wxWindow*)> find = [&](wxWindow* w) {
            if (auto* b = dynamic_cast<wxScrollBar*>(w); b && !b->IsVertical()) bar = b;
            for (wxWindow* child : w->GetChildren()) find(child);
        };
        find(&dlg);
        ASSERT_TRUE(bar);
        EXPECT_EQ(bar->GetRange(), last == INT_MAX ? INT_MAX : last + 1);
        EXPECT_EQ(bar->GetThumbSize(), CGrowShrinkModel::kPageFrames);
    }
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new wxApp);
    return runWxTests(argc, argv, [] { wxTheApp->OnInit(); });
}
