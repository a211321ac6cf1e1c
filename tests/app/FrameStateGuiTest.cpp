// The main window's commands against the state of the view, as a user meets
// them: keys that a greyed command must refuse during a recording, the time
// line locked by a recording and its Stop ending it, Fixed Duration shown in
// the time line, new plays and renames reaching the Event Tree and the page,
// and texture windows, "Creating Effect" and the Effect List following New
// and Open. One program in one process
// (wx starts once), the tests in order; run through tests/e2e/run_in_xvfb.py.
#include "tests/support/ShellCommand.h"
#include "tests/support/WxTestRun.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/KelvanoIds.h"
#include "app/CChildFrame.h"
#include "app/CKelvanoApp.h"
#include "app/CKelvanoCanvas.h"
#include "app/CMainFrame.h"
#include "charts/pnChart.h"
#include "export/CGifEncoder.h"
#include "scene/pnEvent.h"
#include "scene/pnPanel.h"
#include "scene/pnScene.h"
#include "scene/pnViewpoint.h"
#include "editor/CEffectDialogs.h"
#include "ui/animation/CEffectListDlg.h"
#include "ui/animation/CEventTreeDlg.h"
#include "ui/animation/CTimeLineDlg.h"
#include "ui/properties/rules/BarRules.h"
#include "ui/properties/bars/CTransformDlg.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/dialogs/CAddPanelDlg.h"
#include "editor/CEditScope.h"
#include "ui/properties/bars/CEditBoxBar.h"
#include "ui/properties/dialogs/CModelTextureDlg.h"
#include "ui/properties/pages/CObjectPageDlg.h"
#include "ui/properties/pages/CGraphPages.h"
#include "ui/properties/pages/CPanelPage.h"
#include "ui/properties/rules/GraphPageRules.h"

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/listbox.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

wxAppConsole* wxCreateApp();

using namespace kv;

namespace {

// The time line's controls by id.
enum : int { kGoStart = 1002, kPause = 1015, kStop = 1037, kFixedBox = 1777 };

// Every modal dialog is written down and answered at once without showing:
// message boxes with OK (No to a question), others with Cancel.
class DialogRecorder : public wxModalDialogHook {
public:
    DialogRecorder() { Register(); }
    ~DialogRecorder() override { Unregister(); }
    int Enter(wxDialog* dialog) override {
        seen.push_back(dialog->GetTitle().ToStdString() + "|" +
                       wxString(dialog->GetClassInfo()->GetClassName()).ToStdString());
        if (dynamic_cast<wxMessageDialogBase*>(dialog)) return wxID_NO;
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}
    std::vector<std::string> seen;
};

std::string g_work;

template <class Done>
void pumpUntil(Done done, int milliseconds = 8000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done() && std::chrono::steady_clock::now() < end) pumpWxEvents(20);
}

CMainFrame* frame() { return theApp.GetMainFrame(); }
CKelvanoView* view() { return frame()->GetView(); }
pnScene& scene() { return *view()->GetScene(); }

void click(wxWindow* parent, int id) {
    wxWindow* button = parent->FindWindow(id);
    ASSERT_NE(button, nullptr) << id;
    wxCommandEvent e(dynamic_cast<wxCheckBox*>(button) ? wxEVT_CHECKBOX : wxEVT_BUTTON, id);
    e.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(e);
}

// A real key press through the X server into the scene window.
void pressInScene(int key, int modifiers) {
    CKelvanoCanvas* canvas = frame()->GetChildFrame()->GetCanvas();
    wxUIActionSimulator sim;
    sim.MouseMove(canvas->GetScreenPosition() + wxPoint(8, 8));
    canvas->SetFocus();
    pumpWxEvents(100);
    sim.Char(key, modifiers);
    pumpWxEvents(400);
}

// The texture windows the program has open.
int textureWindows() {
    int open = 0;
    for (wxWindow* w : wxTopLevelWindows)
        if (dynamic_cast<CModelTextureDlg*>(w) && !w->IsBeingDeleted()) ++open;
    return open;
}

pnObject* addPanel(const char* name, float width, float x) {
    auto panel = std::make_unique<pnPanel>();
    panel->setName(name);
    panel->setDimension(width, width * 0.6f, 10);
    panel->setPosition(x, 0, 0);
    return view()->InsertNewObject(std::move(panel));
}

int gifFrames(const std::string& path) {
    int status = 0;
    const std::string out = runCommand("identify '" + path + "' 2>/dev/null", &status);
    int lines = 0;
    for (char c : out) lines += c == '\n';
    return status == 0 ? lines : -1;
}

}  // namespace

TEST(FrameStateGui, StartsWithTwoPanels) {
    g_work = std::string(std::getenv("XDG_CONFIG_HOME")) + "/work";
    ASSERT_EQ(std::system(("mkdir -p " + g_work).c_str()), 0);
    ASSERT_TRUE(theApp.InitInstance({"--"}, g_work));
    pumpUntil([] { return view() && view()->GetScene(); });
    ASSERT_NE(view(), nullptr);
    // The box fills the middle of the scene window; the slab stands aside.
    ASSERT_NE(addPanel("slab", 60, -250), nullptr);
    ASSERT_NE(addPanel("box", 300, 0), nullptr);
    view()->ShowSelectionInBars();
    pumpWxEvents(300);
}

TEST(FrameStateGui, UndoKeepsTheChooserAndAViewpointStepShowsTheCameraTab) {
    wxComboBox* chooser = frame()->GetObjectChooser();
    view()->OnObjectChosen("slab");
    frame()->RouteCommand(ID_EDIT_DELETE);
    EXPECT_EQ(chooser->FindString("slab", true), wxNOT_FOUND);
    frame()->RouteCommand(ID_EDIT_UNDO);
    EXPECT_NE(chooser->FindString("slab", true), wxNOT_FOUND) << "the object back is listed again";
    EXPECT_EQ(chooser->GetStringSelection(), "slab");
    frame()->RouteCommand(ID_EDIT_REDO);
    EXPECT_EQ(chooser->FindString("slab", true), wxNOT_FOUND);
    frame()->RouteCommand(ID_EDIT_UNDO);

    CEditBoxBar* bar = frame()->GetEditBoxBar();
    ASSERT_EQ(bar->GetCurrentTab(), 0);
    pnViewpoint* viewpoint = scene().getViewpoint();
    theApp.m_pCurrentDoc->RecordUndoBeforeViewpoint(viewpoint);
    viewpoint->setPosition(sgVec3(0, 50, 900));
    theApp.m_pCurrentDoc->RecordUndoAfterViewpoint(viewpoint);
    frame()->RouteCommand(ID_EDIT_UNDO);
    pumpWxEvents(100);
    EXPECT_EQ(bar->GetCurrentTab(), 2) << "the Camera tab shows the camera the step gave back";
    bar->SelectTab(0, ObjectPageKind("pnPanel"));
}

// A name typed into the page and not yet taken when Undo runs is taken first,
// as a step of its own: the Undo that switches the Edit Box to the Camera tab
// takes the focus from the field, and a field taken then would record a step
// in the middle of the one being applied. The Undo takes back the name.
TEST(FrameStateGui, ANameTypedBeforeUndoIsItsOwnStep) {
    view()->OnObjectChosen("box");
    pnViewpoint* viewpoint = scene().getViewpoint();
    const sgVec3 before = viewpoint->getPosition();
    theApp.m_pCurrentDoc->RecordUndoBeforeViewpoint(viewpoint);
    viewpoint->setPosition(sgVec3(0, 80, 900));
    theApp.m_pCurrentDoc->RecordUndoAfterViewpoint(viewpoint);
    CEditBoxBar* bar = frame()->GetEditBoxBar();
    ASSERT_EQ(bar->GetCurrentTab(), 0);
    auto* name = dynamic_cast<wxTextCtrl*>(bar->GetShownPage()->FindWindow(CPanelPage::IDC_NAME));
    ASSERT_NE(name, nullptr);
    ASSERT_EQ(name->GetValue(), "box");
    wxUIActionSimulator sim;
    sim.MouseMove(name->GetScreenRect().GetRightTop() + wxPoint(-6, 6));
    name->SetFocus();
    pumpWxEvents(200);
    name->SetInsertionPointEnd();
    sim.Text("2");
    pumpWxEvents(200);
    ASSERT_EQ(name->GetValue(), "box2");
    ASSERT_EQ(wxWindow::FindFocus(), name);
    const int steps = theApp.m_pCurrentDoc->GetUndoHistory().GetCount();

    frame()->RouteCommand(ID_EDIT_UNDO);
    pumpWxEvents(300);
    EXPECT_EQ(theApp.m_pCurrentDoc->GetUndoHistory().GetCount(), steps + 1) << "the rename is a step";
    EXPECT_NE(scene().findObject("box"), nullptr) << "Undo took the typed name back";
    EXPECT_TRUE(scene().getViewpoint()->getPosition() == sgVec3(0, 80, 900))
        << "the viewpoint step waits for the next Undo";
    frame()->RouteCommand(ID_EDIT_UNDO);
    pumpWxEvents(200);
    EXPECT_TRUE(scene().getViewpoint()->getPosition() == before);
    frame()->RouteCommand(ID_EDIT_REDO);
    frame()->RouteCommand(ID_EDIT_REDO);
    pumpWxEvents(200);
    EXPECT_NE(scene().findObject("box2"), nullptr);
    frame()->RouteCommand(ID_EDIT_UNDO);
    frame()->RouteCommand(ID_EDIT_UNDO);
    pumpWxEvents(200);
    EXPECT_NE(scene().findObject("box"), nullptr);
    bar->SelectTab(0, ObjectPageKind("pnPanel"));
}

// A field taken with Enter that still has the focus when Undo comes was
// taken again as the Undo showed the page anew: the chart's Spacing, typed
// "a" (no number, 0) and undone with Ctrl+Z in the field, stayed at 0 with no
// step left to undo. The Undo now brings the spacing back.
TEST(FrameStateGui, AFieldTakenWithEnterIsNotTakenAgainUnderUndo) {
    std::vector<GraphRow> rows = {{"a", "", 10}, {"b", "", 20}, {"c", "", 30}};
    auto* chart = static_cast<pnChart*>(InsertGraph(*view(), GRAPH_AREA, "spread", rows));
    ASSERT_NE(chart, nullptr);
    view()->m_bPlacing = 0;
    view()->ShowSelectionInBars();
    pumpWxEvents(300);
    CEditBoxBar* bar = frame()->GetEditBoxBar();
    auto* spacing = dynamic_cast<wxTextCtrl*>(bar->GetShownPage()->FindWindow(CGraphPage::IDC_SPACING));
    ASSERT_NE(spacing, nullptr);
    ASSERT_EQ(spacing->GetValue(), "80.00");
    const CUndoHistory& history = theApp.m_pCurrentDoc->GetUndoHistory();
    const int at = history.GetCurrentIndex();
    wxUIActionSimulator sim;
    sim.MouseMove(spacing->GetScreenRect().GetRightTop() + wxPoint(-6, 6));
    spacing->SetFocus();
    pumpWxEvents(200);
    spacing->SelectAll();
    sim.Text("a");
    sim.Char(WXK_RETURN);
    pumpWxEvents(300);
    auto spread = [] { return static_cast<pnChart*>(scene().findObject("spread")); };
    ASSERT_EQ(spread()->getSpacingDistance(), 0.0f);
    ASSERT_EQ(history.GetCurrentIndex(), at + 1);
    ASSERT_EQ(wxWindow::FindFocus(), spacing);

    sim.Char('Z', wxMOD_CONTROL);
    pumpWxEvents(300);
    pressInScene('Q', 0);  // the focus goes on to the scene
    EXPECT_EQ(spread()->getSpacingDistance(), 80.0f);
    EXPECT_EQ(history.GetCurrentIndex(), at);
    EXPECT_EQ(spacing->GetValue(), "80.00");
    view()->OnObjectChosen("spread");
    frame()->RouteCommand(ID_EDIT_DELETE);
    pumpWxEvents(100);
    bar->SelectTab(0, ObjectPageKind("pnPanel"));
}

TEST(FrameStateGui, FixedDurationShowsInTheTimeLineBox) {
    auto* box = dynamic_cast<wxCheckBox*>(frame()->GetTimeLine()->FindWindow(kFixedBox));
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->GetValue());
    // Ctrl+D, as the user presses it.
    pressInScene('d', wxMOD_CONTROL);
    pumpUntil([&] { return theApp.m_pCurrentDoc->m_bFixedDuration != 0; }, 3000);
    EXPECT_EQ(theApp.m_pCurrentDoc->m_bFixedDuration, 1);
    EXPECT_TRUE(box->GetValue()) << "the box shows the new value at once";
    frame()->RouteCommand(ID_FIXED_DURATION);
    EXPECT_EQ(theApp.m_pCurrentDoc->m_bFixedDuration, 0);
    EXPECT_FALSE(box->GetValue());
}

TEST(FrameStateGui, NewAndOpenCloseTheTextureWindows) {
    const std::string path = g_work + "/panels.apn";
    view()->m_strPathName = path;
    ASSERT_EQ(view()->WriteScene(), 1);
    DialogRecorder dialogs;
    for (int command : {ID_FILE_OPEN, ID_FILE_NEW}) {
        SCOPED_TRACE(command == ID_FILE_NEW ? "New" : "Open");
        if (command == ID_FILE_NEW) {
            view()->m_strPendingOpen = path;
            frame()->RouteCommand(ID_FILE_OPEN);
        }
        view()->OnObjectChosen("box");
        frame()->OpenTextureWindow(4);
        pumpWxEvents(200);
        ASSERT_EQ(textureWindows(), 1);
        view()->m_strPendingOpen = path;
        frame()->RouteCommand(command);
        pumpWxEvents(300);
        EXPECT_EQ(textureWindows(), 0);
    }
    EXPECT_TRUE(dialogs.seen.empty()) << dialogs.seen.front();
    // The panels again for the tests that follow.
    view()->m_strPendingOpen = path;
    frame()->RouteCommand(ID_FILE_OPEN);
    pumpWxEvents(200);
    ASSERT_NE(scene().findObject("box"), nullptr);
}

TEST(FrameStateGui, NewPlaysAndRenamesReachTheEventTreeAndThePage) {
    frame()->RouteCommand(ID_MODE_ANIMATION);
    ASSERT_EQ(view()->m_bAnimationMode, 1);
    view()->OnObjectChosen("box");
    pumpWxEvents(200);
    CEventTreeDlg* tree = frame()->GetEventTree();
    const CEventTreeModel& m = tree->Model();
    auto effectsShown = [&] {
        const int folder = m.FolderOf(m.FindEvent("box"));
        return folder < 0 ? -1 : static_cast<int>(m.Item(folder).children.size());
    };
    ASSERT_EQ(effectsShown(), 0);
    // A drag on the box in the scene window makes an effect: the tree shows
    // its play with no mode change.
    const int x = kDefaultSceneWidth / 2, y = kDefaultSceneHeight / 2;
    view()->OnLButtonDown(x, y, 0);
    view()->OnMouseMove(x + 20, y, 0);
    view()->OnMouseMove(x + 40, y, 0);
    view()->OnLButtonUp(x + 40, y, 0);
    pumpWxEvents(200);
    ASSERT_EQ(scene().findEvent("box")->getNumPlays(), 1);
    EXPECT_EQ(effectsShown(), 1);

    // Renamed in the tree: the page shows the new name.
    auto* name = dynamic_cast<wxTextCtrl*>(frame()->GetEditBoxBar()->GetPage(PAGE_PANEL)->FindWindow(CPanelPage::IDC_NAME));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->GetValue(), "box");
    ASSERT_TRUE(tree->OnRename(m.FindEvent("box"), "crate"));
    EXPECT_EQ(name->GetValue(), "crate");
    EXPECT_NE(frame()->GetObjectChooser()->FindString("crate", true), wxNOT_FOUND);
}

TEST(FrameStateGui, ARecordingLocksTheTimeLineRefusesGreyedKeysAndEndsWithStop) {
    CKelvanoView* v = view();
    CTimeLineDlg* timeLine = frame()->GetTimeLine();
    const int last = scene().getLastEventFrame();
    ASSERT_GE(last, 10);
    // A GIF recording as the export command leaves it after its dialog.
    const std::string gif = g_work + "/locked.gif";
    v->m_strPathName.clear();
    v->m_bModified = 1;
    v->m_bBusy = 1;
    v->m_nRecordWidth = theApp.m_pCurrentDoc->m_nSceneWidth;
    v->m_nRecordHeight = theApp.m_pCurrentDoc->m_nSceneHeight;
    CGifEncoder& encoder = v->GetGifEncoder();
    encoder.reset();
    ASSERT_EQ(encoder.open(gif, v->m_nRecordWidth, v->m_nRecordHeight), 1);
    encoder.setAnimation(0, 0);
    v->m_strGifPath = v->m_strRecordPath = gif;
    v->StartPlayback(kRecordGifTimer);
    EXPECT_TRUE(timeLine->Model().IsPlaying()) << "the time line is set playing";
    pumpUntil([&] { return v->m_nCurrentFrame >= 3; });
    ASSERT_EQ(v->m_bBusy, 1);

    DialogRecorder dialogs;
    // The time line's frame buttons do nothing to the frames recorded.
    const int frameNow = v->m_nCurrentFrame;
    click(timeLine, kGoStart);
    EXPECT_EQ(v->m_nCurrentFrame, frameNow);
    click(timeLine, kPause);
    EXPECT_TRUE(timeLine->Model().IsPlaying()) << "Pause does not unlock a recording";
    // Keys whose items are greyed now do nothing: New, Open, Save.
    for (int key : {'n', 'o', 's'}) {
        SCOPED_TRACE(static_cast<char>(key));
        pressInScene(key, wxMOD_CONTROL);
        EXPECT_TRUE(dialogs.seen.empty()) << dialogs.seen.front();
        EXPECT_NE(scene().findObject("crate"), nullptr);
        ASSERT_EQ(v->m_bBusy, 1);
    }
    // The scene window keeps the size the frames are read at: its edge does
    // not drag and Image Size is greyed.
    CChildFrame* child = frame()->GetChildFrame();
    const wxSize before = child->GetSceneSize();
    EXPECT_TRUE(child->SizeLocked());
    child->ResizeByUser(before.x / 2, before.y / 2);
    pumpWxEvents(50);
    EXPECT_EQ(child->GetSceneSize(), before);
    for (int id : {ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_NEW, ID_FILE_OPEN, ID_IMAGE_SIZE}) {
        bool enabled = true;
        int checked = -1;
        frame()->UpdateCommand(id, enabled, checked);
        EXPECT_FALSE(enabled) << id;
    }

    // The time line's Stop ends the recording with the frame shown.
    click(timeLine, kStop);
    pumpUntil([&] { return v->m_bBusy == 0; }, 3000);
    EXPECT_EQ(v->m_bBusy, 0);
    EXPECT_FALSE(timeLine->Model().IsPlaying());
    ASSERT_FALSE(dialogs.seen.empty());
    EXPECT_EQ(dialogs.seen.back().substr(0, 8), "Kelvano|");
    const int frames = gifFrames(gif);
    EXPECT_GT(frames, 3);
    EXPECT_LE(frames, last);
    bool enabled = false;
    int checked = -1;
    frame()->UpdateCommand(ID_FILE_SAVE, enabled, checked);
    EXPECT_TRUE(enabled) << "Save is back once the recording ended";
}

// The real "Creating Effect" goes with the scene it was opened on, and the
// Effect List shows the effects of the scene that came in.
TEST(FrameStateGui, TheEffectListAndCreatingEffectFollowTheScene) {
    auto* list = dynamic_cast<CEffectListDlg*>(wxWindow::FindWindowByName(kPaneEffectList, frame()));
    ASSERT_NE(list, nullptr);
    ASSERT_GT(scene().getNumEffects(), 0);
    ASSERT_GT(scene().getNumObjects(), 0);
    const std::string path = g_work + "/effects.apn";
    view()->m_strPathName = path;
    ASSERT_EQ(view()->WriteScene(), 1);
    DialogRecorder dialogs;
    if (!view()->m_bAnimationMode) frame()->RouteCommand(ID_MODE_ANIMATION);
    ASSERT_EQ(view()->m_bAnimationMode, 1);
    view()->SetCurrentFrame(900);
    view()->OnObjectChosen(scene().getObject(0)->getName());
    view()->OnCreateEffect();
    CEffectDialogs* effects = view()->GetEffectDialogs();
    ASSERT_TRUE(effects && effects->IsOpen(1));
    const std::string preview = effects->GetPreviewEffectName();
    ASSERT_NE(scene().findEffect(preview.c_str()), nullptr);

    view()->m_bModified = 1;
    frame()->RouteCommand(ID_FILE_NEW);
    pumpWxEvents(200);
    EXPECT_FALSE(effects->IsOpen(1)) << "the dialog outlived its scene";
    EXPECT_EQ(list->List()->GetCount(), 0u);
    view()->m_strPendingOpen = path;
    frame()->RouteCommand(ID_FILE_OPEN);
    pumpWxEvents(200);
    EXPECT_EQ(static_cast<int>(list->List()->GetCount()), scene().getNumEffects());
    EXPECT_EQ(scene().findEffect(preview.c_str()), nullptr) << "the file holds no preview";
}

// The Transformation bar shows the values of the object its edits act on:
// an object being placed (not the one selected before), a rotation dragged to
// 60 degrees and its Redo, and the selection in animation mode.
TEST(FrameStateGui, TheTransformationBarShowsTheObjectItEdits) {
    CTransformDlg* bar = frame()->GetTransformBar()->GetDialog();
    auto shown = [&](int field) { return bar->GetEdit(field)->GetText(); };
    if (view()->m_bAnimationMode) frame()->RouteCommand(ID_MODE_ANIMATION);
    ASSERT_EQ(view()->m_bAnimationMode, 0);
    view()->m_bModified = 0;
    frame()->RouteCommand(ID_FILE_NEW);
    pumpWxEvents(100);
    pnObject* turned = addPanel("turned", 60, -250);
    ASSERT_NE(turned, nullptr);
    // In the middle of the scene window.
    pnObject* plain = addPanel("plain", 200, 0);
    ASSERT_NE(plain, nullptr);
    {
        CEditScope edit(*view(), turned);
        turned->setScale(2, 3, 4);
        turned->setRotAngle(30);
    }
    view()->OnObjectChosen("plain");
    view()->OnObjectChosen("turned");
    EXPECT_EQ(shown(TF_SCALE_Y), "3.00");
    EXPECT_EQ(shown(TF_ANGLE), "30");

    // Add Panel, its dialog answered with OK: while the new panel follows the
    // pointer, the bar shows its scale and rotation.
    struct AddOk : wxModalDialogHook {
        AddOk() { Register(); }
        ~AddOk() override { Unregister(); }
        int Enter(wxDialog* d) override { return dynamic_cast<CAddPanelDlg*>(d) ? wxID_OK : wxID_CANCEL; }
        void Exit(wxDialog*) override {}
    } ok;
    frame()->RouteCommand(ID_ADD_PANEL);
    pumpWxEvents(100);
    ASSERT_EQ(view()->m_bPlacing, 1);
    pnObject* placed = theApp.m_pCurrentDoc->m_pSelectedObject;
    ASSERT_TRUE(placed && placed != turned && placed != plain);
    for (int f : {TF_SCALE_X, TF_SCALE_Y, TF_SCALE_Z}) EXPECT_EQ(shown(f), "1.00") << "scale field " << f;
    EXPECT_EQ(shown(TF_ANGLE), "0");
    view()->OnMouseMove(40, 40, 0);
    view()->OnLButtonDown(40, 40, 0);
    view()->OnLButtonUp(40, 40, 0);
    ASSERT_EQ(view()->m_bPlacing, 0);

    // A rotation dragged about Y in three steps of 20 degrees, undone and
    // done again.
    view()->OnObjectChosen("plain");
    frame()->RouteCommand(ID_MODE_ROTATE);
    if (!view()->m_bAxisY) frame()->RouteCommand(ID_AXIS_Y);
    if (view()->m_bAxisX) frame()->RouteCommand(ID_AXIS_X);
    if (view()->m_bAxisZ) frame()->RouteCommand(ID_AXIS_Z);
    const int x = kDefaultSceneWidth / 2, y = kDefaultSceneHeight / 2;
    view()->OnLButtonDown(x, y, 0);
    for (int step = 1; step <= 3; ++step) view()->OnMouseMove(x + 20 * step, y, 0);
    view()->OnLButtonUp(x + 60, y, 0);
    ASSERT_NEAR(plain->getRotAngle(), 60.0f, 0.01f);
    EXPECT_EQ(shown(TF_ANGLE), "60") << "after the drag";
    frame()->RouteCommand(ID_EDIT_UNDO);
    plain = scene().findObject("plain");
    EXPECT_EQ(shown(TF_ANGLE), "0");
    frame()->RouteCommand(ID_EDIT_REDO);
    plain = scene().findObject("plain");
    ASSERT_NEAR(plain->getRotAngle(), 60.0f, 0.01f);
    EXPECT_EQ(shown(TF_ANGLE), "60") << "after the Redo";
    frame()->RouteCommand(ID_MODE_MOVE);

    // Animation mode: the bar shows the object the mode selects, then the
    // one chosen, where each stands.
    view()->OnObjectChosen("turned");
    frame()->RouteCommand(ID_MODE_ANIMATION);
    ASSERT_EQ(view()->m_bAnimationMode, 1);
    for (const char* name : {"", "plain", "turned"}) {
        SCOPED_TRACE(*name ? name : "the selection of the mode");
        if (*name) view()->OnObjectChosen(name);
        const pnObject* selected = theApp.m_pCurrentDoc->m_pSelectedObject;
        ASSERT_NE(selected, nullptr);
        char where[32];
        std::snprintf(where, sizeof where, "%.2f", selected->getPosition()[0]);
        EXPECT_EQ(shown(TF_POS_X), where);
    }
    frame()->RouteCommand(ID_MODE_ANIMATION);
    view()->m_bModified = 0;
}

// While a modal dialog runs, the main window takes nothing, whatever queued
// it: a letter key of the scene window or a menu command; the view's message
// boxes are the dialog's children. A second modal dialog that ended after the first
// left the first one's loop running: no menu, close box or Exit worked, and
// the Mode menu's check marks went stale.
TEST(FrameStateGui, NoSecondModalDialogWhileOneRuns) {
    if (view()->m_bAnimationMode) frame()->RouteCommand(ID_MODE_ANIMATION);
    ASSERT_EQ(view()->m_bAnimationMode, 0);
    frame()->RouteCommand(ID_MODE_MOVE);
    CKelvanoCanvas* canvas = frame()->GetChildFrame()->GetCanvas();
    // The first dialog runs; any other is written down and refused.
    struct Nested : wxModalDialogHook {
        Nested() { Register(); }
        ~Nested() override { Unregister(); }
        int Enter(wxDialog* d) override {
            if (dynamic_cast<wxMessageDialogBase*>(d)) {
                boxParents.push_back(d->GetParent());
                return wxID_OK;
            }
            if (first) {
                nested.push_back(d->GetTitle().ToStdString());
                return wxID_CANCEL;
            }
            first = d;
            return wxID_NONE;
        }
        void Exit(wxDialog*) override {}
        wxDialog* first = nullptr;
        std::vector<std::string> nested;
        std::vector<wxWindow*> boxParents;
    } dialogs;
    const int objects = scene().getNumObjects();
    const int steps = theApp.m_pCurrentDoc->GetUndoHistory().GetCount();
    bool open = false;
    theApp.CallAfter([&] {
        ASSERT_NE(dialogs.first, nullptr);
        open = theApp.ModalDialogOpen();
        for (int letter : {'T', 'M', 'P', 'G', 'S'}) {
            wxKeyEvent key(wxEVT_KEY_DOWN);
            key.m_keyCode = letter;
            key.SetEventObject(canvas);
            canvas->GetEventHandler()->ProcessEvent(key);
        }
        for (int id : {ID_ADD_TEXT, ID_FILE_OPEN, ID_IMAGE_SIZE, ID_MODE_ANIMATION}) frame()->RouteCommand(id);
        // A box the view shows meanwhile (a warning of the dialog) is the dialog's child.
        view()->GetHost()->MessageBox("Out of range.", "Kelvano", KV_MB_ICONWARNING);
        dialogs.first->EndModal(wxID_CANCEL);
    });
    frame()->RouteCommand(ID_EDIT_OPTIONS);
    pumpWxEvents(100);
    EXPECT_TRUE(open);
    EXPECT_EQ(dialogs.nested, std::vector<std::string>{}) << "a second modal dialog opened over the first";
    EXPECT_EQ(dialogs.boxParents, std::vector<wxWindow*>{dialogs.first}) << "the box is not the dialog's child";
    EXPECT_FALSE(theApp.ModalDialogOpen());
    EXPECT_EQ(view()->m_bAnimationMode, 0);
    EXPECT_EQ(view()->m_nTransformMode, 0) << "S chose Scale under the dialog";
    EXPECT_EQ(view()->m_bPlacing, 0);
    EXPECT_EQ(scene().getNumObjects(), objects);
    EXPECT_EQ(theApp.m_pCurrentDoc->GetUndoHistory().GetCount(), steps);
    // Afterwards the keys and commands work again: one mode is ticked.
    frame()->RouteCommand(ID_MODE_ANIMATION);
    frame()->UpdateWindowUI(wxUPDATE_UI_NONE);
    wxMenuBar* bar = frame()->GetMenuBar();
    EXPECT_TRUE(bar->FindItem(ToWxId(ID_MODE_ANIMATION))->IsChecked());
    EXPECT_FALSE(bar->FindItem(ToWxId(ID_MODE_OBJECT))->IsChecked());
    frame()->RouteCommand(ID_MODE_ANIMATION);
    EXPECT_EQ(view()->m_bAnimationMode, 0);
}

// While an object follows the pointer after Add, Open is greyed and so are
// the recent files: picking one left its path waiting, and the next Ctrl+O
// opened it without a dialog. The tool bar's chooser names the new object.
TEST(FrameStateGui, RecentFilesWaitForThePlacementAndTheChooserNamesTheNewObject) {
    if (view()->m_bAnimationMode) frame()->RouteCommand(ID_MODE_ANIMATION);
    const std::string recent = g_work + "/recent.apn";
    const std::string sample = std::string(std::getenv("KELVANO_SOURCE_DIR")) + "/data/scenes/titles.apn";
    ASSERT_EQ(std::system(("cp '" + sample + "' '" + recent + "'").c_str()), 0);
    theApp.AddToRecentFiles(recent);
    struct AddOk : wxModalDialogHook {
        AddOk() { Register(); }
        ~AddOk() override { Unregister(); }
        int Enter(wxDialog* d) override {
            seen.push_back(d->GetTitle().ToStdString());
            if (dynamic_cast<wxMessageDialogBase*>(d)) return wxID_NO;
            return dynamic_cast<CAddPanelDlg*>(d) ? wxID_OK : wxID_CANCEL;
        }
        void Exit(wxDialog*) override {}
        std::vector<std::string> seen;
    } dialogs;
    frame()->RouteCommand(ID_ADD_PANEL);
    pumpWxEvents(100);
    ASSERT_EQ(view()->m_bPlacing, 1);
    const std::string placed = theApp.m_pCurrentDoc->m_pSelectedObject->getName();
    EXPECT_EQ(frame()->GetObjectChooser()->GetStringSelection(), placed);
    frame()->UpdateWindowUI(wxUPDATE_UI_NONE);
    wxMenuItem* item = frame()->GetMenuBar()->FindItem(ToWxId(ID_FILE_MRU_FIRST));
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(item->IsEnabled()) << "a recent file while an object is placed";
    frame()->RouteCommand(ID_FILE_MRU_FIRST);
    EXPECT_EQ(view()->m_strPendingOpen, "");
    view()->OnMouseMove(40, 40, 0);
    view()->OnLButtonDown(40, 40, 0);
    view()->OnLButtonUp(40, 40, 0);
    ASSERT_EQ(view()->m_bPlacing, 0);
    ASSERT_NE(scene().findObject(placed.c_str()), nullptr);
    // Open asks for a file (cancelled here): the scene stays.
    dialogs.seen.clear();
    frame()->RouteCommand(ID_FILE_OPEN);
    pumpWxEvents(100);
    EXPECT_NE(scene().findObject(placed.c_str()), nullptr) << "Open took the recent file without asking";
    EXPECT_EQ(dialogs.seen.size(), 2u) << "Save changes? and the Open dialog";
    theApp.RemoveFromRecentFiles(recent);
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    char home[] = "/tmp/kelvano-frame-gui-XXXXXX";
    if (!mkdtemp(home)) return 1;
    setenv("XDG_CONFIG_HOME", home, 1);
    wxApp::SetInitializerFunction(wxCreateApp);
    const int rc = runWxTests(argc, argv, {}, [] {
        if (CMainFrame* f = theApp.GetMainFrame()) {
            if (f->GetView()) f->GetView()->m_bModified = 0;
            f->Destroy();
            pumpWxEvents(100);
        }
    });
    if (std::system((std::string("rm -rf ") + home).c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", home);
    return rc;
}
