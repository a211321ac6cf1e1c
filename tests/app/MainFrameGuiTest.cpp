// The program's windows under a private X server: start-up, bars, menus,
// mode switching, the scene window, splash, About and the settings written on
// close. Run through tests/e2e/run_in_xvfb.py (private display and home).
#include "tests/support/WxTestRun.h"
#include "editor/AboutLinks.h"
#include "app/CAboutDlg.h"
#include "app/CChildFrame.h"
#include "app/CExportProgressDlg.h"
#include "app/CKelvanoApp.h"
#include "app/CKelvanoCanvas.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "app/CMainFrame.h"
#include "app/CSplashWnd.h"
#include "app/CWxProfile.h"
#include "editor/CUndoHistory.h"
#include "editor/EditLimits.h"
#include "editor/FramePlacement.h"
#include "editor/KelvanoIds.h"
#include "charts/pnChart.h"
#include "scene/pnEvent.h"
#include "scene/pnPanel.h"
#include "scene/pnScene.h"
#include "ui/properties/bars/CEditBoxBar.h"
#include "ui/properties/pages/CGraphPages.h"
#include "ui/properties/dialogs/CLimitHeightDlg.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CNumSpinCtrl.h"
#include "ui/properties/bars/CTransformDlg.h"
#include "sg/sgAccumTarget.h"

#include <GL/gl.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/aui/auibar.h>
#include <wx/combobox.h>
#include <wx/display.h>
#include <wx/textctrl.h>
#include <wx/evtloop.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/uiaction.h>

#include <chrono>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <unistd.h>

wxAppConsole* wxCreateApp();

using namespace kv;

namespace {

void pump(int milliseconds) { pumpWxEvents(milliseconds); }

// Pumps until done() holds, at most the given time (a busy machine is slow).
template <class Done>
void pumpUntil(Done done, int milliseconds = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done() && std::chrono::steady_clock::now() < end) pump(20);
}

CMainFrame* frame() { return theApp.GetMainFrame(); }

wxMenuItem* menuItem(int id) { return frame()->GetMenuBar()->FindItem(ToWxId(id)); }

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A panel with its event in the view's scene.
pnObject* addPanel(CKelvanoView* view, const char* name) {
    auto* panel = new pnPanel;
    panel->setName(name);
    panel->setDimension(100, 100, 10);
    if (!view->GetScene()->addObject(panel)) {
        delete panel;
        return nullptr;
    }
    auto* event = new pnEvent;
    event->setName(name);
    event->addObjectName(name);
    if (view->GetScene()->addEvent(event))
        view->GetScene()->addObjectsToScene(event);
    else
        delete event;
    return panel;
}

}  // namespace

TEST(MainFrameGui, StartUpOpensTheFileNamedRelativeToTheStartFolder) {
    const std::string work = std::string(std::getenv("XDG_CONFIG_HOME")) + "/work";
    ASSERT_EQ(std::system(("mkdir -p " + work + "/scenes").c_str()), 0);
    std::ofstream(work + "/scenes/demo.apn")
        << "scene {\n name \"demo\"\n width 580\n height 392\n version 210\n}\n"
           "background {\n name \"Background\"\n color ( 0.0 0.5 0.0 1.0 )\n}\n";
    ASSERT_TRUE(theApp.InitInstance({"--", "scenes/demo.apn"}, work));
    ASSERT_NE(frame(), nullptr);
    EXPECT_EQ(theApp.m_strOpenFile, work + "/scenes/demo.apn");
    EXPECT_EQ(frame()->GetTitle(), kMainWindowText);
    // A first run (nothing stored) opens maximised.
    EXPECT_EQ(theApp.m_nStartState, 0);
    EXPECT_EQ(theApp.m_nCmdShow, KV_SW_SHOWMAXIMIZED);
    EXPECT_NE(theApp.m_pCurrentDoc, nullptr);
    // The splash is up until a second after its first paint; a second one is
    // not made.
    CSplashWnd* splash = CSplashWnd::Current();
    ASSERT_NE(splash, nullptr);
    CSplashWnd::ShowSplashScreen(frame());
    EXPECT_EQ(CSplashWnd::Current(), splash);
    pump(500);
    // The view opened it itself, with no dialog, once its window could draw.
    CKelvanoView* view = theApp.m_pCurrentView;
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->m_bOpenGivenFile, 0);
    EXPECT_EQ(view->m_strPathName, work + "/scenes/demo.apn");
    ASSERT_NE(view->GetScene(), nullptr);
    EXPECT_EQ(view->GetScene()->getName(), "demo");
    EXPECT_EQ(view->GetScene()->getNumLights(), 4);
    EXPECT_EQ(frame()->GetChildFrame()->GetTitleText(), work + "/scenes/demo.apn");
}

TEST(MainFrameGui, SplashShowsForAboutASecond) {
    // One second after it was first painted (made by the start-up above).
    pump(2500);
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    CSplashWnd::EnableSplashScreen(false);
    CSplashWnd::ShowSplashScreen(frame());
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
}

// Real key presses and pointer moves through the X server (XTest), with no
// click into the scene before.
TEST(MainFrameGui, RightAfterStartTheViewTakesItsKeysAndToolsShowTheirPrompts) {
    CKelvanoCanvas* canvas = frame()->GetChildFrame()->GetCanvas();
    CKelvanoView* view = canvas->GetView();
    wxAuiToolBar* bar = frame()->GetMainToolBar();
    wxStatusBar* status = frame()->GetStatusBar();
    ASSERT_EQ(view->m_nTransformMode, 0);
    // The top-left corner of the scene: the splash stands in the screen's middle.
    const wxPoint inScene = canvas->GetScreenPosition() + wxPoint(15, 15);
    wxUIActionSimulator sim;
    sim.MouseMove(inScene);
    pump(200);
    sim.Char('s');
    pumpUntil([&] { return view->m_nTransformMode == 1 && bar->GetToolToggled(ToWxId(ID_MODE_SCALE)); });
    EXPECT_EQ(view->m_nTransformMode, 1);
    EXPECT_EQ(status->GetStatusText(0), "Scale mode");
    EXPECT_TRUE(bar->GetToolToggled(ToWxId(ID_MODE_SCALE)));
    EXPECT_FALSE(bar->GetToolToggled(ToWxId(ID_MODE_MOVE)));

    struct Tip {
        wxAuiToolBar* bar;
        int id;
        const char* toolTip;
        const char* flyBy;
    };
    for (const Tip& t : {Tip{bar, ID_MODE_MOVE, "Move <Shift+L>", "Move mode"},
                         Tip{bar, ID_AXIS_Y, "Y Axis <Shift+Y>", "Y Axis"},
                         Tip{frame()->GetCameraToolBar(), ID_CAMERA_FRONT, "Front View <Shift+1>", "Front View"}}) {
        wxAuiToolBarItem* tool = t.bar->FindTool(ToWxId(t.id));
        ASSERT_NE(tool, nullptr);
        EXPECT_EQ(tool->GetShortHelp(), t.toolTip);
        const wxRect r = t.bar->GetToolRect(ToWxId(t.id));
        const wxPoint at = t.bar->ClientToScreen(r.GetPosition() + wxPoint(r.width / 2, r.height / 2));
        sim.MouseMove(at);
        // A busy X server may drop a synthetic motion: the pointer moves again
        // by a pixel until the bar has seen it.
        int wiggle = 0;
        pumpUntil([&] {
            if (status->GetStatusText(0) == t.flyBy) return true;
            if (++wiggle % 25 == 0) sim.MouseMove(at + wxPoint((wiggle / 25) % 2, 0));
            return false;
        });
        EXPECT_EQ(status->GetStatusText(0), t.flyBy);
    }
    // Off the tools the status bar has its own text back.
    sim.MouseMove(inScene);
    pumpUntil([&] { return status->GetStatusText(0) == "Scale mode"; });
    EXPECT_EQ(status->GetStatusText(0), "Scale mode");
    EXPECT_EQ(menuItem(ID_MODE_ROTATE)->GetHelp(), "Rotate mode");
    sim.Char('l');
    pumpUntil([&] { return view->m_nTransformMode == 0; });
    EXPECT_EQ(view->m_nTransformMode, 0);
}

TEST(MainFrameGui, ANarrowWindowReachesEveryToolThroughTheOverflowButton) {
    wxAuiToolBar* bar = frame()->GetMainToolBar();
    EXPECT_TRUE(bar->GetToolFits(ToWxId(ID_MODE_ANIMATION)));
    // Every tool shows: no arrow, and nothing to list.
    for (wxAuiToolBar* each : {bar, frame()->GetCameraToolBar()}) {
        EXPECT_FALSE(each->GetOverflowVisible());
        EXPECT_TRUE(frame()->OverflowTools(each).empty());
    }
    const wxRect wide = frame()->GetRect();
    frame()->SetSize(520, 600);
    pump(400);
    EXPECT_TRUE(bar->GetToolFits(ToWxId(ID_FILE_NEW)));
    EXPECT_FALSE(bar->GetToolFits(ToWxId(ID_MODE_ANIMATION)));
    EXPECT_TRUE(bar->GetOverflowVisible());
    // The arrow's menu holds each tool cut off, the check tools checked as
    // their commands are, and nothing that shows.
    frame()->RouteCommand(ID_AXIS_Y);
    std::unique_ptr<wxMenu> menu = frame()->OverflowMenu(bar);
    std::vector<int> listed;
    for (wxMenuItem* item : menu->GetMenuItems()) {
        if (item->IsSeparator()) continue;
        listed.push_back(FromWxId(item->GetId()));
        EXPECT_FALSE(bar->GetToolFits(item->GetId())) << item->GetItemLabelText();
        bool enabled = true;
        int checked = 0;
        frame()->UpdateCommand(FromWxId(item->GetId()), enabled, checked);
        EXPECT_EQ(item->IsEnabled(), enabled) << item->GetItemLabelText();
        if (item->IsCheckable()) {
            EXPECT_EQ(item->IsChecked(), checked != 0) << item->GetItemLabelText();
        }
    }
    for (int id : {ID_AXIS_Y, ID_AXIS_Z, ID_MODE_ANIMATION})
        EXPECT_NE(std::find(listed.begin(), listed.end(), id), listed.end()) << id;
    EXPECT_EQ(std::find(listed.begin(), listed.end(), ID_FILE_NEW), listed.end());
    EXPECT_EQ(menu->FindItem(ToWxId(ID_MODE_ANIMATION))->GetItemLabelText(), "Animation Mode");
    frame()->RouteCommand(ID_AXIS_Y);
    frame()->SetSize(wide);
    pump(400);
    EXPECT_TRUE(bar->GetToolFits(ToWxId(ID_MODE_ANIMATION)));
    EXPECT_FALSE(bar->GetOverflowVisible());
}

TEST(MainFrameGui, BarsHaveTheirTitlesAndPlaces) {
    wxAuiManager& mgr = frame()->GetAuiManager();
    struct Expect {
        const char* name;
        const char* caption;
        bool shown;
        bool floating;
    };
    for (const Expect& e : {Expect{kPaneEditBox, "Edit Box", true, false},
                            Expect{kPaneTransformation, "Transformation", false, true},
                            Expect{kPaneObjectList, "Obect List", false, true},
                            Expect{kPaneEffectList, "Effect List", false, true},
                            Expect{kPaneViewWidth, "View Width", false, true},
                            Expect{kPaneTimeLine, "Time Line Editor", false, false},
                            Expect{kPaneEventTree, "Event Tree", false, false},
                            Expect{kPaneMainToolBar, "Toolbar", true, false},
                            Expect{kPaneCameraToolBar, "Camera", true, false}}) {
        wxAuiPaneInfo& pane = mgr.GetPane(e.name);
        ASSERT_TRUE(pane.IsOk()) << e.name;
        EXPECT_EQ(pane.caption, e.caption);
        EXPECT_EQ(pane.IsShown(), e.shown) << e.name;
        EXPECT_EQ(pane.IsFloating(), e.floating) << e.name;
    }
    wxAuiPaneInfo& editBox = mgr.GetPane(kPaneEditBox);
    EXPECT_EQ(editBox.dock_direction, wxAUI_DOCK_LEFT);
    EXPECT_FALSE(editBox.IsFloatable());
    EXPECT_EQ(editBox.window->GetId(), theApp.m_templates.m_iddEditBoxBar);
    EXPECT_FALSE(mgr.GetPane(kPaneObjectList).IsDockable());
    wxAuiPaneInfo& timeLine = mgr.GetPane(kPaneTimeLine);
    wxAuiPaneInfo& eventTree = mgr.GetPane(kPaneEventTree);
    EXPECT_EQ(timeLine.dock_direction, wxAUI_DOCK_BOTTOM);
    EXPECT_TRUE(timeLine.IsBottomDockable());
    EXPECT_FALSE(timeLine.IsLeftDockable());
    EXPECT_TRUE(eventTree.IsLeftDockable());
    EXPECT_EQ(timeLine.dock_row, eventTree.dock_row);
    EXPECT_GT(timeLine.dock_pos, eventTree.dock_pos);  // right of the event tree
    wxAuiPaneInfo& camera = mgr.GetPane(kPaneCameraToolBar);
    wxAuiPaneInfo& main = mgr.GetPane(kPaneMainToolBar);
    EXPECT_EQ(camera.dock_direction, wxAUI_DOCK_TOP);
    EXPECT_EQ(camera.dock_row, main.dock_row);
    EXPECT_GT(camera.dock_pos, main.dock_pos);

    EXPECT_EQ(frame()->GetMainToolBar()->GetToolCount(), 27u);
    EXPECT_EQ(frame()->GetCameraToolBar()->GetToolCount(), 6u);
    EXPECT_NE(frame()->GetMainToolBar()->FindTool(ToWxId(ID_MODE_ANIMATION)), nullptr);
    wxComboBox* chooser = frame()->GetObjectChooser();
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->HasFlag(wxCB_READONLY));
    EXPECT_TRUE(chooser->HasFlag(wxCB_SORT));
    EXPECT_EQ(frame()->GetStatusBar()->GetFieldsCount(), 4);
}

TEST(MainFrameGui, MenusShowHintsButBindOnlyTableKeys) {
    wxMenuItem* move = menuItem(ID_MODE_MOVE);
    ASSERT_NE(move, nullptr);
    EXPECT_EQ(move->GetItemLabel(), "&Move");
    EXPECT_EQ(move->GetAccel(), nullptr);
    wxMenuItem* newItem = menuItem(ID_FILE_NEW);
    ASSERT_NE(newItem, nullptr);
    std::unique_ptr<wxAcceleratorEntry> accel(newItem->GetAccel());
    ASSERT_NE(accel, nullptr);
    EXPECT_EQ(accel->GetKeyCode(), 'N');
    EXPECT_EQ(accel->GetFlags(), wxACCEL_CTRL);
    // The letter still shows beside "Move".
    GtkWidget* label = gtk_bin_get_child(GTK_BIN(move->GetMenuItem()));
    ASSERT_TRUE(GTK_IS_ACCEL_LABEL(label));
    guint key = 0;
    GdkModifierType mods{};
    gtk_accel_label_get_accel(GTK_ACCEL_LABEL(label), &key, &mods);
    EXPECT_EQ(key, static_cast<guint>(GDK_KEY_l));
    EXPECT_EQ(mods, 0);
    EXPECT_NE(menuItem(ID_APP_ABOUT), nullptr);
    EXPECT_EQ(menuItem(ID_APP_ABOUT)->GetItemLabel(), "&About Kelvano...");
    // An empty recent-file list shows its greyed place holder.
    wxMenuItem* recent = menuItem(ID_FILE_MRU_FIRST);
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(recent->GetItemLabel(), "Recent File");
}

TEST(MainFrameGui, CommandsNobodyHandlesAreGreyed) {
    bool enabled = true;
    int checked = -1;
    frame()->UpdateCommand(ID_EDIT_UNDO, enabled, checked);
    EXPECT_FALSE(enabled);
    frame()->UpdateCommand(ID_FILE_SAVE, enabled, checked);
    EXPECT_TRUE(enabled);  // the view has its scene
    // The mode tools show the view's state.
    frame()->UpdateCommand(ID_MODE_MOVE, enabled, checked);
    EXPECT_TRUE(enabled);
    EXPECT_EQ(checked, 1);
    frame()->RouteCommand(ID_AXIS_Z);
    frame()->UpdateCommand(ID_AXIS_X, enabled, checked);
    EXPECT_EQ(checked, 0);
    frame()->RouteCommand(ID_AXIS_X);
    frame()->RouteCommand(ID_AXIS_Y);
    frame()->UpdateCommand(ID_VIEW_TOOLBAR, enabled, checked);
    EXPECT_TRUE(enabled);
    EXPECT_EQ(checked, 1);
    frame()->UpdateCommand(ID_VIEW_TRANSFORMATION, enabled, checked);
    EXPECT_FALSE(enabled);  // nothing selected
    frame()->UpdateCommand(ID_VIEW_EVENT_TREE, enabled, checked);
    EXPECT_FALSE(enabled);
    EXPECT_EQ(checked, 0);
    frame()->UpdateCommand(ID_VIEW_OBJECT_LIST, enabled, checked);
    EXPECT_TRUE(enabled);
    frame()->UpdateCommand(ID_FILE_MRU_FIRST, enabled, checked);
    EXPECT_FALSE(enabled);

    CKelvanoDoc* doc = theApp.m_pCurrentDoc;
    EXPECT_EQ(doc->m_bFixedDuration, 0);
    frame()->RouteCommand(ID_FIXED_DURATION);
    EXPECT_EQ(doc->m_bFixedDuration, 1);
    frame()->UpdateCommand(ID_FIXED_DURATION, enabled, checked);
    EXPECT_EQ(checked, 1);
    frame()->RouteCommand(ID_FIXED_DURATION);

    frame()->RouteCommand(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(frame()->IsPaneShown(kPaneMainToolBar));
    EXPECT_TRUE(frame()->IsPaneShown(kPaneCameraToolBar));
    frame()->RouteCommand(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(frame()->IsPaneShown(kPaneMainToolBar));
}

// The update rules of every menu, the context menus too, in the states a user
// reaches: a rule that checks an item without a check mark makes wx assert,
// which fails this test.
TEST(MainFrameGui, EveryMenuUpdatesInEveryStateWithoutAnAssertion) {
    CKelvanoView* view = frame()->GetView();
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->GetScene(), nullptr);
    pnObject* panel = addPanel(view, "menuPanel");
    ASSERT_NE(panel, nullptr);
    view->SelectObject(panel);

    std::vector<wxMenuItem*> plain;
    std::function<void(wxMenu*)> collect = [&](wxMenu* menu) {
        for (wxMenuItem* item : menu->GetMenuItems()) {
            if (item->IsSubMenu()) collect(item->GetSubMenu());
            else if (!item->IsSeparator() && !item->IsCheckable()) plain.push_back(item);
        }
    };
    wxMenuBar* bar = frame()->GetMenuBar();
    for (size_t i = 0; i < bar->GetMenuCount(); ++i) collect(bar->GetMenu(i));
    ASSERT_GT(plain.size(), 20u);
    auto updateEverything = [&](const char* state) {
        SCOPED_TRACE(state);
        // As when a menu opens, and as each context menu comes up.
        frame()->UpdateWindowUI(wxUPDATE_UI_NONE);
        for (int popup : {0, 1}) CKelvanoCanvas::MakeContextMenu(popup)->UpdateUI(frame());
        for (wxMenuItem* item : plain) {
            bool enabled = true;
            int checked = -1;
            frame()->UpdateCommand(FromWxId(item->GetId()), enabled, checked);
            EXPECT_EQ(checked, -1) << item->GetItemLabelText() << " has no check mark";
        }
    };
    updateEverything("a selection");
    frame()->RouteCommand(ID_EDIT_SELECT_ALL);
    ASSERT_EQ(view->m_bSelectAll, 1);
    updateEverything("Select All");
    EXPECT_TRUE(menuItem(ID_EDIT_SELECT_ALL)->IsChecked());
    frame()->RouteCommand(ID_EDIT_SELECT_ALL);
    frame()->UpdateWindowUI(wxUPDATE_UI_NONE);
    EXPECT_FALSE(menuItem(ID_EDIT_SELECT_ALL)->IsChecked());
    frame()->RouteCommand(ID_MODE_ANIMATION);
    ASSERT_EQ(view->m_bAnimationMode, 1);
    updateEverything("animation mode");
    frame()->RouteCommand(ID_MODE_OBJECT);
    view->SelectObject(panel);
    view->OnCommand(ID_EDIT_DELETE);
    updateEverything("nothing left to select");
    // The scene is closed without the save question later.
    view->m_bModified = 0;
    pump(100);
}

// The program's Ctrl keys reach the view from the bars too, but not while a
// text box has the keys: there Ctrl+A selects the box's text and leaves the
// objects as they were selected.
TEST(MainFrameGui, CtrlAInABarsTextBoxSelectsItsText) {
    CKelvanoView* view = frame()->GetView();
    pnObject* first = addPanel(view, "keysFirst");
    pnObject* second = addPanel(view, "keysSecond");
    ASSERT_TRUE(first && second);
    view->SelectObject(second);
    view->ShowSelectionInBars();
    CNumEdit* edit = frame()->GetTransformBar()->GetDialog()->GetEdit(TF_POS_X);
    frame()->ShowPane(kPaneTransformation, true);
    pump(200);
    edit->SetFocus();
    edit->ChangeValue("12.50");
    edit->SetInsertionPointEnd();
    pumpUntil([&] { return edit->HasFocus(); });
    wxUIActionSimulator sim;
    sim.Char('a', wxMOD_CONTROL);
    pumpUntil([&] {
        long from = 0, to = 0;
        edit->GetSelection(&from, &to);
        return view->m_bSelectAll || to - from == 5;
    });
    long from = 0, to = 0;
    edit->GetSelection(&from, &to);
    EXPECT_EQ(to - from, 5) << "the box's text is selected";
    EXPECT_EQ(view->m_bSelectAll, 0);
    EXPECT_TRUE(theApp.m_pCurrentDoc->m_selectedObjects.empty());
    EXPECT_EQ(theApp.m_pCurrentDoc->m_pSelectedObject, second);
    // In the scene window the same keys select every object.
    frame()->GetChildFrame()->GetCanvas()->SetFocus();
    pump(100);
    sim.Char('a', wxMOD_CONTROL);
    pumpUntil([&] { return view->m_bSelectAll != 0; });
    EXPECT_EQ(view->m_bSelectAll, 1);
    frame()->RouteCommand(ID_EDIT_SELECT_ALL);
    for (pnObject* object : {first, second}) {
        view->SelectObject(object);
        view->OnCommand(ID_EDIT_DELETE);
    }
    view->m_bModified = 0;
}

// The program's own assertion handler writes one line and returns: no modal
// box stops the user (or this test).
TEST(MainFrameGui, TheProgramLogsAnAssertionAndGoesOn) {
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    fflush(stderr);
    const int saved = dup(2);
    dup2(pipeEnds[1], 2);
    theApp.OnAssertFailure(wxT("menu.cpp"), 797, wxT("Check"), wxT("IsCheckable()"), wxT("can't check this item"));
    fflush(stderr);
    dup2(saved, 2);
    close(saved);
    close(pipeEnds[1]);
    char buffer[512] = {};
    const ssize_t n = read(pipeEnds[0], buffer, sizeof buffer - 1);
    close(pipeEnds[0]);
    ASSERT_GT(n, 0);
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(n)),
              "kelvano: wx assertion \"IsCheckable()\" failed in Check() at menu.cpp:797: can't check this item\n");
}

TEST(MainFrameGui, AnimationModeHidesTheObjectListAndBringsItBack) {
    CKelvanoView* view = frame()->GetView();
    ASSERT_NE(view, nullptr);
    frame()->ShowPane(kPaneObjectList, true);
    view->m_bAnimationMode = 1;
    frame()->UpdateBarsForMode(true, "");
    EXPECT_FALSE(frame()->IsPaneShown(kPaneObjectList));
    EXPECT_TRUE(frame()->IsPaneShown(kPaneTimeLine));
    EXPECT_TRUE(frame()->IsPaneShown(kPaneEventTree));
    bool enabled = false;
    int checked = -1;
    frame()->UpdateCommand(ID_VIEW_EVENT_TREE, enabled, checked);
    EXPECT_TRUE(enabled);
    EXPECT_EQ(checked, 1);
    frame()->UpdateCommand(ID_VIEW_OBJECT_LIST, enabled, checked);
    EXPECT_FALSE(enabled);
    view->m_bAnimationMode = 0;
    frame()->UpdateBarsForMode(false, "");
    EXPECT_TRUE(frame()->IsPaneShown(kPaneObjectList));
    EXPECT_FALSE(frame()->IsPaneShown(kPaneTimeLine));
    EXPECT_FALSE(frame()->IsPaneShown(kPaneEventTree));

    // Hidden before: stays hidden.
    frame()->ShowPane(kPaneObjectList, false);
    frame()->UpdateBarsForMode(true, "");
    frame()->UpdateBarsForMode(false, "");
    EXPECT_FALSE(frame()->IsPaneShown(kPaneObjectList));
}

TEST(MainFrameGui, SceneWindowHasTheSceneSizeAndAnAccumulationBuffer) {
    pump(200);
    CChildFrame* child = frame()->GetChildFrame();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->GetTitleText(), child->GetView()->m_strPathName);
    EXPECT_EQ(child->GetSceneSize(), wxSize(580, 392));
    CKelvanoView* view = child->GetView();
    ASSERT_NE(view, nullptr);
    // The view's format was made with the accumulation buffer asked for by
    // name; where the X server's visuals have none and the context cannot sum
    // passes offscreen, the high quality draws one pass and says so in the
    // status bar.
    ASSERT_TRUE(child->GetCanvas()->MakeContextCurrent());
    GLint accumBits = 0;
    glGetIntegerv(GL_ACCUM_RED_BITS, &accumBits);
    EXPECT_EQ(view->HasAccumulationBuffer(), accumBits > 0);
    EXPECT_GE(theApp.m_nColorBits, 24);
    frame()->GetStatusBar()->SetStatusText("Ready", 0);
    frame()->RouteCommand(ID_DISPLAY_HIGH);
    pump(300);
    EXPECT_EQ(view->m_nAntiAlias, 8);
    EXPECT_EQ(frame()->GetStatusBar()->GetStatusText(0) == "Ready", accumBits > 0 || sgAccumTarget::available());
    frame()->RouteCommand(ID_DISPLAY_LOW);

    CKelvanoDoc* doc = theApp.m_pCurrentDoc;
    doc->m_bKeepAspect = 1;
    child->SetSceneSize(600, 400);
    pump(100);
    EXPECT_EQ(doc->m_nSceneWidth, 600);
    EXPECT_DOUBLE_EQ(doc->m_dAspect, 1.5);
    child->ResizeByUser(600, 300);  // the bottom edge dragged up
    pump(100);
    EXPECT_EQ(child->GetSceneSize(), wxSize(450, 300));
    EXPECT_EQ(doc->m_nSceneWidth, 450);
    EXPECT_EQ(doc->m_nSceneHeight, 300);

    // A slow drag of the right edge, a few pixels at a time, keeps the aspect
    // the scene had when the drag began; so does one of the bottom edge.
    auto drag = [&](wxPoint from, wxPoint to) {
        auto send = [&](wxEventType type, wxPoint at, bool down) {
            wxMouseEvent e(type);
            e.SetEventObject(child);
            e.SetPosition(child->CalcScrolledPosition(at));
            e.SetLeftDown(down);
            child->GetEventHandler()->ProcessEvent(e);
        };
        send(wxEVT_LEFT_DOWN, from, true);
        const int steps = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y)) / 3;
        for (int i = 1; i <= steps; ++i) {
            send(wxEVT_MOTION, from + wxPoint((to.x - from.x) * i / steps, (to.y - from.y) * i / steps), true);
            pump(0);  // the scene window takes each size before the next step
        }
        send(wxEVT_LEFT_UP, to, false);
        pump(100);
    };
    doc->m_bKeepAspect = 0;
    child->SetSceneSize(300, 200);
    pump(100);
    doc->m_bKeepAspect = 1;
    drag({302, 100}, {600, 100});
    EXPECT_EQ(child->GetSceneSize(), wxSize(600, 400));
    drag({300, 402}, {300, 200});
    EXPECT_EQ(child->GetSceneSize(), wxSize(300, 200));
    // No side goes past what a GL drawable takes, and the aspect stays.
    child->ResizeByUser(9000, 400);
    pump(100);
    EXPECT_EQ(child->GetSceneSize(), wxSize(kMaxSceneSide, kMaxSceneSide * 2 / 3));
    doc->m_bKeepAspect = 0;
    child->SetSceneSize(580, 392);
    pump(100);

    child->SetTitleText("/home/ann/demo.apn");
    EXPECT_EQ(frame()->GetAuiManager().GetPane(kPaneScene).caption, "/home/ann/demo.apn");
    child->SetTitleText(view->m_strPathName);
}

// The AVI and Flash progress windows hang below the middle of the scene's
// bottom edge, the GIF animation's below its bottom-right corner.
TEST(MainFrameGui, ProgressWindowHangsBelowTheScene) {
    CKelvanoCanvas* canvas = frame()->GetChildFrame()->GetCanvas();
    CViewHost* host = canvas->GetView()->GetHost();
    const wxSize size = canvas->GetClientSize();
    const wxPoint bottomLeft = canvas->ClientToScreen(wxPoint(0, size.y));
    const int display = wxDisplay::GetFromWindow(canvas);
    const wxRect area = wxDisplay(display == wxNOT_FOUND ? 0u : unsigned(display)).GetClientArea();
    const std::pair<CViewHost::ProgressPlace, int> places[] = {{CViewHost::ProgressPlace::BottomMiddle, size.x / 2},
                                                               {CViewHost::ProgressPlace::BottomRight, size.x}};
    for (const auto& [place, x] : places) {
        SCOPED_TRACE(x);
        host->ShowProgress("Creating AVI File", 0, 10, place);
        pump(100);
        CExportProgressDlg* progress = nullptr;
        for (wxWindow* w : wxTopLevelWindows)
            if (auto* d = dynamic_cast<CExportProgressDlg*>(w); d && d->IsShown()) progress = d;
        ASSERT_NE(progress, nullptr);
        const wxSize dialog = progress->GetSize();
        // The whole dialog fits beside the scene on the test display.
        ASSERT_LE(bottomLeft.x + size.x + dialog.x, area.GetRight() + 1);
        EXPECT_EQ(progress->GetPosition().x, bottomLeft.x + x);
        EXPECT_EQ(progress->GetPosition().y, std::min(bottomLeft.y, area.GetBottom() + 1 - dialog.y));
        host->CloseProgress();
        pump(50);
    }
}

TEST(MainFrameGui, AboutBoxTextsAndLinks) {
    CAboutDlg dlg(frame());
    EXPECT_EQ(dlg.GetTitle(), "Kelvano");
    EXPECT_EQ(dlg.GetId(), theApp.m_templates.m_iddAbout);
    auto text = [&dlg](int id) {
        auto* t = dynamic_cast<wxStaticText*>(dlg.FindWindow(id));
        return t ? t->GetLabel() : wxString("<missing>");
    };
    EXPECT_EQ(text(IDC_ABOUT_VERSION), "Kelvano Version 2.6");
    EXPECT_EQ(text(IDC_ABOUT_BUILD), "Build 2110");
    EXPECT_EQ(text(IDC_ABOUT_MAIL), "support@example.com");
    EXPECT_EQ(text(IDC_ABOUT_WEB), "https://example.com");
    EXPECT_EQ(dlg.GetMailLink()->GetForegroundColour(), wxColour(0, 0, 255));
    EXPECT_EQ(dlg.GetWebLink()->GetForegroundColour(), wxColour(0, 0, 255));
}

TEST(MainFrameGui, ProfileFile) {
    const std::string path = std::string(std::getenv("XDG_CONFIG_HOME")) + "/probe/probe.conf";
    {
        CWxProfile p(path);
        p.WriteProfileInt("Window", "Left", -40);
        p.WriteProfileString("Recent File List", "File1", "/tmp/a 100%.apn");
        p.WriteProfileString("Configure", "SceneX", "wide");
        EXPECT_TRUE(p.Flush());
    }
    CWxProfile p(path);
    EXPECT_EQ(p.GetProfileInt("Window", "Left", 0), -40);
    EXPECT_EQ(p.GetProfileInt("Window", "Top", 7), 7);
    EXPECT_EQ(p.GetProfileInt("Configure", "SceneX", 580), 580);  // not a number
    EXPECT_EQ(p.GetProfileString("Recent File List", "File1", ""), "/tmp/a 100%.apn");
}

// Animation mode locks the Transformation bar's spin arrows with its edits:
// a click on an arrow leaves the selected object where it stands. Back in
// object mode the same click moves it.
TEST(MainFrameGui, AnimationModeLocksTheTransformationSpins) {
    CKelvanoView* view = frame()->GetView();
    ASSERT_NE(view, nullptr);
    auto made = std::make_unique<pnPanel>();
    made->setName("Plate");
    made->setDimension(40, 40, 4);
    pnObject* plate = view->InsertNewObject(std::move(made));
    ASSERT_NE(plate, nullptr);
    frame()->ShowPane(kPaneTransformation, true);
    pump(300);
    CTransformDlg* bar = frame()->GetTransformBar()->GetDialog();
    CNumSpinCtrl* spin = bar->GetSpin(TF_POS_X);
    wxUIActionSimulator sim;
    auto clickUpArrow = [&] {
        // Without a window manager nothing keeps the floating bar above the
        // main window, which it overlaps on the test display.
        wxGetTopLevelParent(spin)->Raise();
        pump(100);
        const wxRect r = spin->GetScreenRect();
        sim.MouseMove(r.GetPosition() + wxPoint(r.width / 2, r.height / 4));
        pump(100);
        sim.MouseClick();
        pump(600);
    };
    frame()->RouteCommand(ID_MODE_ANIMATION);
    pump(300);
    ASSERT_EQ(view->m_bAnimationMode, 1);
    view->SelectObject(plate);
    view->ShowSelectionInBars();
    pump(100);
    const float x = plate->getPosition()[0];
    const int steps = theApp.m_pCurrentDoc->GetUndoHistory().GetCount();
    clickUpArrow();
    EXPECT_FALSE(spin->IsEnabled());
    EXPECT_EQ(plate->getPosition()[0], x) << "a locked spin moved the object";
    EXPECT_EQ(theApp.m_pCurrentDoc->GetUndoHistory().GetCount(), steps);

    frame()->RouteCommand(ID_MODE_OBJECT);
    pump(300);
    view->SelectObject(plate);
    view->ShowSelectionInBars();
    pump(100);
    EXPECT_TRUE(spin->IsEnabled());
    clickUpArrow();
    EXPECT_EQ(plate->getPosition()[0], x + 1) << "the click reaches the spin in object mode";

    // Leave the scene as it was, so that closing asks nothing.
    view->DeleteSelectedObject(1);
    view->m_bModified = 0;
    pump(100);
}

namespace {

// Answers the message boxes and writes down their texts.
class MessageRecorder : public wxModalDialogHook {
public:
    MessageRecorder() { Register(); }
    ~MessageRecorder() override { Unregister(); }
    int Enter(wxDialog* dialog) override {
        auto* box = dynamic_cast<wxMessageDialog*>(dialog);
        if (!box) return wxID_NONE;
        texts.push_back(box->GetMessage().ToStdString(wxConvUTF8));
        return wxID_OK;
    }
    void Exit(wxDialog*) override {}
    std::vector<std::string> texts;
};

}  // namespace

// Help > Contents hands the help page to the desktop's opener and reports a
// failure only when the opener says that no browser opened.
TEST(MainFrameGui, HelpContentsSaysWhenNoBrowserOpened) {
    const std::string bin = std::string(std::getenv("XDG_CONFIG_HOME")) + "/fake-opener";
    const std::string opened = bin + "/opened.txt";
    ASSERT_EQ(std::system(("mkdir -p '" + bin + "'").c_str()), 0);
    auto opener = [&](int status) {
        std::ofstream(bin + "/xdg-open") << "#!/bin/sh\necho \"$1\" >> '" << opened << "'\nexit " << status << "\n";
        ASSERT_EQ(std::system(("chmod +x '" + bin + "/xdg-open'").c_str()), 0);
    };
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin";
    setenv("PATH", (bin + ":" + path).c_str(), 1);
    const std::string file = theApp.GetProgramDir() + "/help/klvhelp.htm";
    MessageRecorder boxes;
    auto lines = [&] {
        std::vector<std::string> out;
        std::ifstream in(opened);
        for (std::string line; std::getline(in, line);) out.push_back(line);
        return out;
    };

    // No browser: xdg-open ends with status 3, and the user hears of it.
    opener(3);
    frame()->RouteCommand(ID_HELP_CONTENTS);
    pumpUntil([&] { return !boxes.texts.empty(); });
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "The help page could not be opened:\n" + file);
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_EQ(lines()[0], CKelvanoView::HelpPageUrl(theApp.GetProgramDir()));

    // A browser opened: the opener ends with 0 and nothing is said.
    opener(0);
    frame()->RouteCommand(ID_HELP_CONTENTS);
    pumpUntil([&] { return lines().size() == 2; });
    pump(500);
    EXPECT_EQ(lines().size(), 2u);
    EXPECT_EQ(boxes.texts.size(), 1u);
    setenv("PATH", path.c_str(), 1);
}

namespace {

// The scene with every decimal number times factor (0 stays 0).
bool isDecimal(const std::string& token) {
    size_t i = token.size() > 1 && token[0] == '-' ? 1 : 0;
    const size_t dot = token.find('.', i);
    if (dot == std::string::npos || dot == i || dot + 1 == token.size()) return false;
    for (; i < token.size(); ++i)
        if (i != dot && !std::isdigit(static_cast<unsigned char>(token[i]))) return false;
    return true;
}

std::string scaledScene(const std::string& source, double factor) {
    std::ifstream in(source);
    std::string out, line;
    while (std::getline(in, line)) {
        for (size_t i = 0; i < line.size();) {
            size_t j = i;
            while (j < line.size() && !std::isspace(static_cast<unsigned char>(line[j]))) ++j;
            const std::string token = line.substr(i, j - i);
            if (j > i && isDecimal(token) && std::strtod(token.c_str(), nullptr) != 0.0) {
                char buf[64];
                std::snprintf(buf, sizeof buf, "%.1f", std::strtod(token.c_str(), nullptr) * factor);
                out += buf;
            } else {
                out += token;
            }
            for (i = j; i < line.size() && std::isspace(static_cast<unsigned char>(line[i])); ++i) out += line[i];
        }
        out += '\n';
    }
    return out;
}

// Cancels every other modal dialog at once, writing down the Limit Height
// dialog's two texts; answers the message boxes.
class DialogCanceller : public wxModalDialogHook {
public:
    DialogCanceller() { Register(); }
    ~DialogCanceller() override { Unregister(); }
    int Enter(wxDialog* dialog) override {
        if (dynamic_cast<wxMessageDialog*>(dialog)) return wxID_OK;
        titles.insert(dialog->GetTitle().ToStdString());
        if (dynamic_cast<CLimitHeightDlg*>(dialog)) {
            auto text = [&](int id) { return static_cast<wxTextCtrl*>(dialog->FindWindow(id))->GetValue().ToStdString(); };
            limits.emplace_back(text(CLimitHeightDlg::IDC_MAX), text(CLimitHeightDlg::IDC_MIN));
        }
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}
    std::set<std::string> titles;
    std::vector<std::pair<std::string, std::string>> limits;
};

}  // namespace

// The frame greys, and refuses, only what nobody handles: each number of the
// view's table is enabled exactly when the view's own rule says so (always,
// for a row without a rule), and Image Size and Safety Zone open their
// dialogs when chosen.
TEST(MainFrameGui, CommandsTheViewHandlesAreEnabledAsItsRulesSay) {
    CKelvanoView* view = frame()->GetView();
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->GetScene(), nullptr);
    ASSERT_FALSE(view->m_bPlaying);
    const int modified = view->m_bModified;
    int withoutRule = 0;
    for (const CKelvanoView::Command& row : CKelvanoView::Commands()) {
        if (!row.rule) ++withoutRule;
        for (int id = row.first; id <= row.last; ++id) {
            CCmdUI ui;
            ui.id = id;
            view->OnUpdateCommand(id, ui);
            bool enabled = !ui.enabled;
            int checked = -1;
            frame()->UpdateCommand(id, enabled, checked);
            EXPECT_EQ(enabled, ui.enabled) << id;
        }
    }
    EXPECT_GE(withoutRule, 2);

    // As a user meets them: the menu item after its update, then the choice.
    frame()->UpdateWindowUI(wxUPDATE_UI_NONE);
    ASSERT_NE(menuItem(ID_IMAGE_SIZE), nullptr);
    EXPECT_TRUE(menuItem(ID_IMAGE_SIZE)->IsEnabled());
    DialogCanceller dialogs;
    wxCommandEvent choice(wxEVT_MENU, ToWxId(ID_IMAGE_SIZE));
    choice.SetEventObject(frame());
    frame()->GetEventHandler()->ProcessEvent(choice);
    EXPECT_EQ(dialogs.titles, std::set<std::string>{"Image Size"});
    // Safety Zone has no menu item; its number routes as any command's does.
    frame()->RouteCommand(ID_SAFETY_ZONE);
    EXPECT_EQ(dialogs.titles, (std::set<std::string>{"Image Size", "Safety Zone"}));
    EXPECT_EQ(view->m_bModified, modified) << "both were cancelled";
}

// Numbers read from a file may lie far outside the int range: every object of
// the sample scenes, their values times 1e30 and -1e30, shows in the bars and
// the chart dialogs with those numbers held at the int range (the sanitizer
// build stops at a float to int conversion that overflows).
TEST(MainFrameGui, NumbersBeyondTheIntRangeShowInTheBarsAndDialogs) {
    CKelvanoView* view = frame()->GetView();
    ASSERT_NE(view, nullptr);
    const std::string scenes = std::string(std::getenv("KELVANO_SOURCE_DIR")) + "/data/scenes/";
    const std::string dir = std::string(std::getenv("XDG_CONFIG_HOME")) + "/huge";
    ASSERT_EQ(std::system(("mkdir -p '" + dir + "' && cp '" + scenes + "pyramid.obj' '" + dir + "/'").c_str()), 0);
    DialogCanceller dialogs;
    for (const char* name : {"allcharts", "titles", "counter", "pyramid"})
        for (double factor : {1e30, -1e30}) {
            const std::string path = dir + "/" + name + (factor > 0 ? "-up.apn" : "-down.apn");
            std::ofstream(path) << scaledScene(scenes + name + ".apn", factor);
            view->m_bModified = 0;
            ASSERT_EQ(view->OnDropFiles({path}), 1) << path;
            pump(100);
            pnScene* scene = view->GetScene();
            for (int i = 0; i < scene->getNumObjects(); ++i) {
                pnObject* object = scene->getObject(i);
                view->SelectObject(object);
                view->ShowSelectionInBars();
                pump(20);
                if (!object->isChart()) continue;
                auto* chart = static_cast<pnChart*>(object);
                chart->setDataMin(-1e30f);
                chart->setDataMax(1e30f);
                // The shown chart page's Limit Height, Label and Value buttons.
                CObjectPageDlg* page = frame()->GetEditBoxBar()->GetShownPage();
                ASSERT_NE(page, nullptr);
                for (int id : {int(CGraphPage::IDC_LIMIT_BAR), int(CGraphPage::IDC_LIMIT), int(CGraphPage::IDC_LABEL),
                               int(CGraphPage::IDC_VALUE)})
                    if (wxWindow* button = page->FindWindow(id)) {
                        wxCommandEvent click(wxEVT_BUTTON, id);
                        click.SetEventObject(button);
                        button->GetEventHandler()->ProcessEvent(click);
                    }
                // Graph Data shows the first point.
                view->GetDocument()->m_nSelectedDataPt = 0;
                view->OnChartDialog(ChartDialog::Data);
            }
            frame()->RouteCommand(ID_MODE_ANIMATION);
            pump(100);
            frame()->RouteCommand(ID_MODE_OBJECT);
            pump(100);
        }
    for (const char* title : {"Limit Height", "Label String Property", "Value String Property", "Graph Data"})
        EXPECT_EQ(dialogs.titles.count(title), 1u) << title << " did not open; opened: " << [&] {
            std::string all;
            for (const std::string& t : dialogs.titles) all += "\"" + t + "\" ";
            return all;
        }();
    ASSERT_FALSE(dialogs.limits.empty());
    for (const auto& limit : dialogs.limits)
        EXPECT_EQ(limit, std::make_pair(std::to_string(INT_MAX), std::to_string(INT_MIN)));
    view->m_bModified = 0;
}

// Last: closes the window.
TEST(MainFrameGui, CloseWritesPlacementAndSettings) {
    CKelvanoDoc* doc = theApp.m_pCurrentDoc;
    doc->m_nOutQuality = 8;
    doc->m_nGrowLength = 33;
    theApp.AddToRecentFiles("/home/ann/demo.apn");
    EXPECT_EQ(menuItem(ID_FILE_MRU_FIRST)->GetItemLabel(), "&1 /home/ann/demo.apn");
    frame()->Close();
    pump(300);
    EXPECT_EQ(theApp.GetMainFrame(), nullptr);
    const std::string conf = readFile(CWxProfile::DefaultFileName());
    for (const char* line : {"[Window]", "Show=", "Left=", "Right=", "Top=", "Bottom=", "[App]", "State=2",
                             "[Configure]", "OutQuality=8", "GrowLength=33", "SceneX=580", "SceneY=392",
                             "Highlight=0", "EffectLength=21", "ShrinkLength=11", "CopyOffsetX=10",
                             "CopyOffsetY=10", "File1=/home/ann/demo.apn"})
        EXPECT_NE(conf.find(line), std::string::npos) << line << "\n" << conf;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Settings go to a private folder even when run by hand.
    char home[] = "/tmp/kelvano-gui-XXXXXX";
    if (!mkdtemp(home)) return 1;
    setenv("XDG_CONFIG_HOME", home, 1);
    wxApp::SetInitializerFunction(wxCreateApp);
    const int rc = runWxTests(argc, argv, {}, [] {
        if (theApp.GetMainFrame()) {
            theApp.GetMainFrame()->Destroy();
            pump(100);
        }
    });
    std::string cleanup = std::string("rm -rf ") + home;
    if (std::system(cleanup.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", home);
    return rc;
}
