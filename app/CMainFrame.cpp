#include "app/CMainFrame.h"
#include "ui/animation/CTimeLineDlg.h"
#include "ui/animation/CEffectDialogSet.h"
#include "ui/animation/CEffectListDlg.h"
#include "ui/animation/CEventTreeDlg.h"

#include "editor/AboutLinks.h"
#include "app/CChildFrame.h"
#include "app/CKelvanoApp.h"
#include "app/CSceneDropTarget.h"
#include "editor/CKelvanoView.h"
#include "editor/CProfile.h"
#include "app/CSplashWnd.h"
#include "editor/FramePlacement.h"
#include "app/CKelvanoCanvas.h"
#include "app/KelvanoArt.h"
#include "editor/KelvanoIds.h"
#include "scene/pnObject.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/pages/CCameraPage.h"
#include "ui/properties/bars/CEditBoxBar.h"
#include "ui/properties/pages/CLightPage.h"
#include "ui/properties/dialogs/CGraphCreator.h"
#include "ui/properties/dialogs/CLabelPropertyDlg.h"
#include "ui/properties/dialogs/CObjectCreators.h"
#include "ui/properties/bars/CObjectListDlg.h"
#include "ui/properties/pages/CObjectPageDlg.h"
#include "ui/properties/bars/CTransformDlg.h"
#include "ui/properties/bars/CViewWidthDlg.h"
#include "ui/properties/pages/CTextPage.h"
#include "ui/properties/controls/TextEditing.h"
#include "ui/properties/controls/ViewAccelerators.h"

#include <wx/aui/auibar.h>
#include <wx/combobox.h>
#include <wx/dc.h>
#include <wx/display.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include <algorithm>

#ifdef __WXGTK__
#include <gdk/gdkkeysyms.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#endif

using namespace kv;

namespace {

std::vector<MonitorArea> currentMonitors() {
    std::vector<MonitorArea> monitors;
    for (unsigned i = 0; i < wxDisplay::GetCount(); ++i) {
        wxDisplay d(i);
        const wxRect g = d.GetGeometry(), w = d.GetClientArea();
        monitors.push_back({CRectI{g.x, g.y, g.GetRight() + 1, g.GetBottom() + 1},
                            CRectI{w.x, w.y, w.GetRight() + 1, w.GetBottom() + 1}});
    }
    return monitors;
}

struct ToolDef {
    int id;            // 0: separator
    const char* art;   // picture below res/
    const char* label; // tool tip
};

// The main tool bar; the object chooser stands in the place of the eleventh entry.
const ToolDef kMainTools[] = {
    {ID_FILE_NEW, "toolbar/new", "New"},
    {ID_FILE_OPEN, "toolbar/open", "Open"},
    {ID_FILE_SAVE, "toolbar/save", "Save"},
    {0, nullptr, nullptr},
    {ID_EDIT_CUT, "toolbar/cut", "Cut"},
    {ID_EDIT_COPY, "toolbar/copy", "Copy"},
    {ID_EDIT_PASTE, "toolbar/paste", "Paste"},
    {0, nullptr, nullptr},
    {ID_EDIT_UNDO, "toolbar/undo", "Undo"},
    {ID_EDIT_REDO, "toolbar/redo", "Redo"},
    {0, nullptr, nullptr},
    {IDW_OBJECT_CHOOSER, nullptr, nullptr},
    {0, nullptr, nullptr},
    {ID_ADD_TEXT, "toolbar/addtext", "Add Text"},
    {ID_ADD_PANEL, "toolbar/addpanel", "Add Panel"},
    {ID_ADD_MODEL, "toolbar/addmodel", "Add Model"},
    {ID_ADD_GRAPH, "toolbar/addgraph", "Add Graph"},
    {0, nullptr, nullptr},
    {ID_MODE_MOVE, "toolbar/move", "Move"},
    {ID_MODE_SCALE, "toolbar/scale", "Scale"},
    {ID_MODE_ROTATE, "toolbar/rotate", "Rotate"},
    {0, nullptr, nullptr},
    {ID_AXIS_X, "toolbar/axisx", "X Axis"},
    {ID_AXIS_Y, "toolbar/axisy", "Y Axis"},
    {ID_AXIS_Z, "toolbar/axisz", "Z Axis"},
    {0, nullptr, nullptr},
    {ID_MODE_ANIMATION, "toolbar/animation", "Animation Mode"},
};

const ToolDef kCameraTools[] = {
    {ID_CAMERA_FRONT, "toolbar/front", "Front View"},
    {ID_CAMERA_BACK, "toolbar/back", "Back View"},
    {ID_CAMERA_LEFT, "toolbar/left", "Left View"},
    {ID_CAMERA_RIGHT, "toolbar/right", "Right View"},
    {ID_CAMERA_TOP, "toolbar/top", "Top View"},
    {ID_CAMERA_BOTTOM, "toolbar/bottom", "Bottom View"},
};

bool isCheckTool(int id) {
    return (id >= ID_MODE_MOVE && id <= ID_MODE_ROTATE) || (id >= ID_AXIS_X && id <= ID_AXIS_Z) ||
           id == ID_MODE_ANIMATION || (id >= ID_CAMERA_FRONT && id <= ID_CAMERA_BOTTOM);
}

}  // namespace

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() {
    if (CKelvanoView* view = GetView()) view->RemoveListener(this);
    ForgetTextureWindows();
    m_mgr.UnInit();
    if (wxTheApp) theApp.MainFrameDestroyed();
}

bool CMainFrame::PreCreateWindow(CProfile& profile, wxPoint& pos, wxSize& size) {
    pos = wxDefaultPosition;
    size = wxSize(1024, 768);
    const int show = profile.GetProfileInt("Window", "Show", -1);
    if (show == -1) return true;
    theApp.m_nCmdShow = RestoredShowCommand(show);
    theApp.m_nStartState = profile.GetProfileInt("App", "State", 0);
    const CRectI stored{profile.GetProfileInt("Window", "Left", 0), profile.GetProfileInt("Window", "Top", 0),
                        profile.GetProfileInt("Window", "Right", 0), profile.GetProfileInt("Window", "Bottom", 0)};
    // A damaged rectangle keeps the default placement.
    if (stored.Width() < 100 || stored.Height() < 100 || stored.Width() > 32767 || stored.Height() > 32767)
        return true;
    CRectI screen;
    if (!RestorePlacement(stored, currentMonitors(), screen)) {
        wxMessageBox("GetMonitorInfo failed", kAppName, wxOK | wxICON_ERROR);
        return false;
    }
    pos = wxPoint(screen.left, screen.top);
    size = wxSize(screen.Width(), screen.Height());
    return true;
}

bool CMainFrame::CreateFrame(CProfile& profile) {
    wxPoint pos;
    wxSize size;
    if (!PreCreateWindow(profile, pos, size)) return false;
    if (!Create(nullptr, wxID_ANY, kAppName, pos, size, wxDEFAULT_FRAME_STYLE)) return false;
    m_rcNormal = wxRect(pos == wxDefaultPosition ? GetPosition() : pos, size);
    SetIcons(KelvanoIcons());
    // The frame's own menu stands until the document's replaces it.
    BuildMenuBar(FrameMenu());
    if (!OnCreate()) return false;
    BuildMenuBar(DocumentMenu(theApp.m_bEmbedded != 0));
    InstallAccelerators();

    const std::pair<int, int> ranges[] = {{kFirstViewCommand, kLastViewCommand},
                                          {kFirstFrameworkCommand, kLastFrameworkCommand},
                                          {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}};
    for (const auto& [first, last] : ranges) {
        Bind(wxEVT_MENU, &CMainFrame::OnCommand, this, ToWxId(first), ToWxId(last));
        Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateCommand, this, ToWxId(first), ToWxId(last));
    }
    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
    Bind(wxEVT_MOVE, [this](wxMoveEvent& e) { RememberNormalRect(); e.Skip(); });
    Bind(wxEVT_SIZE, [this](wxSizeEvent& e) { RememberNormalRect(); e.Skip(); });
    Bind(wxEVT_IDLE, &CMainFrame::OnIdle, this);
    Bind(wxEVT_SHOW, [this](wxShowEvent& e) {
        if (e.IsShown()) {
            if (wxMenuBar* bar = GetMenuBar(); bar && !bar->IsShown()) bar->Show(true);
            CallAfter([this] { NameBarWindows(); });
        }
        e.Skip();
    });
    return true;
}

bool CMainFrame::OnCreate() {
    if (!theApp.m_bEmbedded) {
        CSplashWnd::EnableSplashScreen(true);
        CSplashWnd::ShowSplashScreen(this);
    }
    m_mgr.SetManagedWindow(this);
    SetDropTarget(new CSceneDropTarget);
    // A failing tool bar does not stop the frame.
    CreateToolBars();

    wxStatusBar* status = CreateStatusBar(4, wxSTB_DEFAULT_STYLE);
    if (!status) return false;
    const int widths[] = {-1, 48, 48, 48};
    status->SetStatusWidths(4, widths);
    // The bar has a window of its own (named for window-system tools) that
    // nothing paints under: each repaint clears the fields first, so a new
    // text never lands on the old one.
    status->Bind(wxEVT_ERASE_BACKGROUND, [status](wxEraseEvent& e) {
        if (wxDC* dc = e.GetDC()) {
            dc->SetBackground(wxBrush(status->GetBackgroundColour()));
            dc->Clear();
        }
    });
    SetStatusText("Ready", 0);

    if (!CreateDockingBars()) return false;
    m_mgr.Update();
    return true;
}

namespace {
int overflowArrowWidth(const wxAuiToolBar* bar) {
    return bar->GetArtProvider() ? bar->GetArtProvider()->GetElementSize(wxAUI_TBART_OVERFLOW_SIZE) : 0;
}
}  // namespace

bool CMainFrame::CreateToolBars() {
    // The overflow button reaches the tools a narrow window cannot show.
    const long style = wxAUI_TB_DEFAULT_STYLE | wxAUI_TB_GRIPPER | wxAUI_TB_HORIZONTAL | wxAUI_TB_OVERFLOW;
    auto addTool = [](wxAuiToolBar* bar, const ToolDef& t, wxItemKind kind) {
        std::string flyBy, toolTip;
        if (!GetCommandPrompt(t.id, flyBy, toolTip) || toolTip.empty()) toolTip = t.label;
        bar->AddTool(ToWxId(t.id), t.label, KelvanoArt(t.art), wxNullBitmap, kind, wxString::FromUTF8(toolTip),
                     wxString::FromUTF8(flyBy), nullptr);
    };
    m_pToolBar = new wxAuiToolBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, style);
    // Snug tools: both bars fit side by side at the default window width.
    m_pToolBar->SetToolBorderPadding(2);
    for (const ToolDef& t : kMainTools) {
        if (t.id == 0) {
            m_pToolBar->AddSeparator();
        } else if (t.id == IDW_OBJECT_CHOOSER) {
            m_pObjectChooser = new wxComboBox(m_pToolBar, wxID_ANY, wxEmptyString, wxDefaultPosition,
                                              wxSize(120, -1), 0, nullptr, wxCB_READONLY | wxCB_SORT);
            std::string flyBy, toolTip;
            GetCommandPrompt(IDW_OBJECT_CHOOSER, flyBy, toolTip);
            m_pObjectChooser->SetToolTip(wxString::FromUTF8(toolTip));
            m_pToolBar->AddControl(m_pObjectChooser, wxString::FromUTF8(flyBy));
            m_pObjectChooser->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) {
                if (CKelvanoView* view = GetView())
                    view->OnObjectChosen(m_pObjectChooser->GetStringSelection().ToStdString(wxConvUTF8));
            });
        } else {
            addTool(m_pToolBar, t, isCheckTool(t.id) ? wxITEM_CHECK : wxITEM_NORMAL);
        }
    }
    m_pToolBar->Realize();
    m_mgr.AddPane(m_pToolBar, wxAuiPaneInfo()
                                  .Name(kPaneMainToolBar)
                                  .Caption("Toolbar")
                                  .ToolbarPane()
                                  .Top()
                                  .Row(0)
                                  .Position(0)
                                  .Gripper(true));

    m_pCameraBar = new wxAuiToolBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, style);
    m_pCameraBar->SetToolBorderPadding(2);
    for (const ToolDef& t : kCameraTools) addTool(m_pCameraBar, t, wxITEM_CHECK);
    m_pCameraBar->Realize();
    for (wxAuiToolBar* bar : {m_pToolBar, m_pCameraBar}) {
        bar->Bind(wxEVT_MOTION, [this, bar](wxMouseEvent& e) {
            const wxAuiToolBarItem* item = bar->FindToolByPosition(e.GetX(), e.GetY());
            ShowFlyBy(item ? item->GetLongHelp() : wxString());
            e.Skip();
        });
        bar->Bind(wxEVT_LEAVE_WINDOW, [this](wxMouseEvent& e) {
            ShowFlyBy(wxString());
            e.Skip();
        });
        // The toolkit's own overflow menu lists plain tools only, and none at
        // all while every tool shows: the arrow shows only while the bar's
        // width cuts tools off, and its menu holds every one of them.
        bar->Bind(wxEVT_AUITOOLBAR_OVERFLOW_CLICK, [this, bar](wxAuiToolBarEvent&) {
            std::unique_ptr<wxMenu> menu = OverflowMenu(bar);
            if (menu->GetMenuItemCount() == 0) return;
            // Below the arrow, at the bar's right end.
            bar->PopupMenu(menu.get(), bar->GetClientSize().x - overflowArrowWidth(bar), bar->GetClientSize().y);
        });
        bar->Bind(wxEVT_SIZE, [this, bar](wxSizeEvent& e) {
            e.Skip();
            // After the bar has laid its tools out at the new size.
            bar->CallAfter([this, bar] { UpdateOverflowArrow(bar); });
        });
    }
    // Docked on the same row, right of the main tool bar; it may dock anywhere.
    m_mgr.AddPane(m_pCameraBar,
                  wxAuiPaneInfo().Name(kPaneCameraToolBar).Caption("Camera").ToolbarPane().Top().Row(0).Position(1));
    return true;
}

std::vector<int> CMainFrame::OverflowTools(wxAuiToolBar* bar) const {
    std::vector<int> tools;
    if (!bar) return tools;
    // Measured as if the arrow showed, so that showing it changes nothing.
    const int width = bar->GetClientSize().x - overflowArrowWidth(bar);
    for (size_t i = 0; i < bar->GetToolCount(); ++i) {
        const wxAuiToolBarItem* item = bar->FindToolByIndex(static_cast<int>(i));
        wxSizerItem* cell = item ? item->GetSizerItem() : nullptr;
        if (!cell || cell->GetRect().GetRight() < width) continue;
        if (item->GetKind() == wxITEM_SEPARATOR) {
            if (!tools.empty() && tools.back() != 0) tools.push_back(0);
        } else if (item->GetKind() == wxITEM_NORMAL || item->GetKind() == wxITEM_CHECK) {
            tools.push_back(item->GetId());
        }
    }
    while (!tools.empty() && tools.back() == 0) tools.pop_back();
    return tools;
}

void CMainFrame::UpdateOverflowArrow(wxAuiToolBar* bar) {
    const bool cut = !OverflowTools(bar).empty();
    if (bar && bar->GetOverflowVisible() != cut) bar->SetOverflowVisible(cut);
}

std::unique_ptr<wxMenu> CMainFrame::OverflowMenu(wxAuiToolBar* bar) {
    auto menu = std::make_unique<wxMenu>();
    for (int id : OverflowTools(bar)) {
        if (id == 0) {
            menu->AppendSeparator();
            continue;
        }
        const wxAuiToolBarItem* item = bar->FindTool(id);
        const wxString label = item->GetLabel().empty() ? item->GetShortHelp() : item->GetLabel();
        wxMenuItem* entry = item->GetKind() == wxITEM_CHECK ? menu->AppendCheckItem(id, label, item->GetLongHelp())
                                                            : menu->Append(id, label, item->GetLongHelp());
        bool enabled = true;
        int checked = 0;
        UpdateCommand(FromWxId(id), enabled, checked);
        entry->Enable(enabled);
        if (entry->IsCheckable()) entry->Check(checked != 0);
    }
    return menu;
}

bool CMainFrame::CreateDockingBars() {
    const DialogTemplates& t = theApp.m_templates;
    const wxSize screen = wxGetDisplaySize();
    const wxRect frame = GetRect();
    // The bars' contents come with their own windows; each pane holds its
    // panel, numbered as the bar's layout.
    struct Bar {
        wxWindow* window;
        wxAuiPaneInfo info;
    };
    std::vector<Bar> bars = {
        {m_pEditBoxBar = new CEditBoxBar(this, t.m_iddEditBoxBar),
         wxAuiPaneInfo().Name(kPaneEditBox).Caption("Edit Box").Left().Layer(1).Fixed().BestSize(250, 560)
             .MinSize(250, 300).Floatable(false).Dockable(false).LeftDockable(true).Show(true)},
        {m_pTransformBar = new CTransformBar(this, IDD_TRANSFORM_BAR),
         wxAuiPaneInfo().Name(kPaneTransformation).Caption("Transformation").Float()
             .FloatingPosition(screen.x - 255, 70).FloatingSize(m_pTransformBar->GetBestSize() + wxSize(8, 40))
             .Dockable(false).Hide()},
        {m_pObjectListBar = new CObjectListBar(this, IDD_OBJECT_LIST_BAR),
         wxAuiPaneInfo().Name(kPaneObjectList).Caption("Obect List").Float().FloatingPosition(screen.x - 400, 70)
             .FloatingSize(m_pObjectListBar->GetBarSize()).Dockable(false).Resizable(true).Hide()},
        {m_pEffectList = new CEffectListDlg(this, IDD_EFFECT_LIST_BAR),
         wxAuiPaneInfo().Name(kPaneEffectList).Caption("Effect List").Float().FloatingPosition(screen.x - 400, 70)
             .FloatingSize(m_pEffectList->GetBestSize() + wxSize(8, 40)).Dockable(false).Hide()},
        {m_pViewWidthBar = new CViewWidthBar(this, IDD_VIEW_WIDTH_BAR),
         wxAuiPaneInfo().Name(kPaneViewWidth).Caption("View Width").Float()
             .FloatingPosition(frame.GetRight() - 250, frame.GetTop() + 70)
             .FloatingSize(m_pViewWidthBar->GetBestSize() + wxSize(8, 40)).Dockable(false)
             .Hide()},
        {m_pTimeLine = new CTimeLineDlg(this, t.m_iddTimeLineBar, kPaneTimeLine),
         wxAuiPaneInfo().Name(kPaneTimeLine).Caption("Time Line Editor").Bottom().Layer(2).Row(0).Position(1)
             .BestSize(m_pTimeLine->GetBestSize()).MinSize(m_pTimeLine->GetMinSize()).Dockable(false)
             .BottomDockable(true).Hide()},
        {m_pEventTree = new CEventTreeDlg(this, IDD_EVENT_TREE_BAR),
         wxAuiPaneInfo().Name(kPaneEventTree).Caption("Event Tree").Bottom().Layer(2).Row(0).Position(0).BestSize(200, 200)
             .Dockable(false).BottomDockable(true).LeftDockable(true).Gripper(true).Hide()},
    };
    for (Bar& bar : bars) {
        if (!bar.window || !m_mgr.AddPane(bar.window, bar.info)) return false;
    }
    // The bottom bars span the window under the Edit Box and share their row
    // by their widths, so the time line shows whole where the window allows.
    for (const char* name : {kPaneEventTree, kPaneTimeLine}) {
        wxAuiPaneInfo& pane = m_mgr.GetPane(name);
        pane.dock_proportion = pane.best_size.x;
    }
    m_pEditBoxBar->SetRolePage(PAGE_LIGHT, new CLightPage(m_pEditBoxBar->PageParent(PAGE_LIGHT), t.m_iddLightPage));
    m_pEditBoxBar->SetRolePage(PAGE_CAMERA, new CCameraPage(m_pEditBoxBar->PageParent(PAGE_CAMERA), t.m_iddCameraPage));

    // The chart pages' Label and Value buttons open the label/data property dialog.
    CLabelPropertyDlg::InstallPageHook();

    m_pChildFrame = new CChildFrame(this);
    if (!m_pChildFrame->CreateChild()) return false;
    InstallAnimationPanels();

    m_pGraphCreator = InstallGraphPages(*m_pEditBoxBar, m_pChildFrame->GetView());

    InstallTextEditing(m_pEditBoxBar, GetView());
    InstallShapePages();
    // The Edit Box is as wide as its widest page; a page taller than the bar scrolls.
    wxAuiPaneInfo& editBox = m_mgr.GetPane(kPaneEditBox);
    const int editBoxWidth = std::max(250, m_pEditBoxBar->GetBestSize().x);
    editBox.BestSize(editBoxWidth, 560).MinSize(editBoxWidth, 300);
    m_mgr.AddPane(m_pChildFrame, wxAuiPaneInfo()
                                     .Name(kPaneScene)
                                     .CenterPane()
                                     .Caption(m_pChildFrame->GetTitleText())
                                     .CaptionVisible(true)
                                     .CloseButton(false));
    return true;
}

void CMainFrame::BuildMenuBar(const std::vector<MenuEntry>& menu) {
    auto* bar = new wxMenuBar();
    std::vector<std::pair<wxMenu*, wxString>> stack;
    m_menuHints.clear();
    m_pRecentMenu = nullptr;
    m_nRecentPos = -1;
    for (const MenuEntry& e : menu) {
        wxMenu* current = stack.empty() ? nullptr : stack.back().first;
        switch (e.kind) {
        case MenuEntry::PopupBegin:
            stack.emplace_back(new wxMenu(), wxString::FromUTF8(e.text));
            break;
        case MenuEntry::PopupEnd: {
            auto [m, title] = stack.back();
            stack.pop_back();
            if (stack.empty()) bar->Append(m, title);
            else stack.back().first->AppendSubMenu(m, title);
            break;
        }
        case MenuEntry::Separator:
            if (current) current->AppendSeparator();
            break;
        case MenuEntry::RecentFiles:
            if (current) {
                m_pRecentMenu = current;
                m_nRecentPos = static_cast<int>(current->GetMenuItemCount());
            }
            break;
        case MenuEntry::Item:
        case MenuEntry::Check: {
            if (!current) break;
            std::string label, hint;
            SplitMenuText(e.text, label, hint);
            // Hints of keys the view handles are only shown: bound as menu
            // accelerators they would take letters away from the bars.
            const bool bind = !hint.empty() && HintIsAccelerator(hint, e.id);
            wxString text = wxString::FromUTF8(label);
            if (bind) text += "\t" + wxString::FromUTF8(hint);
            // The status bar shows the command's prompt while the item is highlighted.
            std::string flyBy, toolTip;
            GetCommandPrompt(e.id, flyBy, toolTip);
            wxMenuItem* item = current->Append(ToWxId(e.id), text, wxString::FromUTF8(flyBy),
                                               e.kind == MenuEntry::Check ? wxITEM_CHECK : wxITEM_NORMAL);
            if (!bind && !hint.empty()) m_menuHints.emplace_back(item, hint);
            break;
        }
        }
    }
    wxMenuBar* old = GetMenuBar();
    // Before the window's first showing the bar stays hidden: a window manager
    // has the window laid out once at a placeholder size of a pixel or two, too
    // narrow for a menu bar, and GTK complains. It shows with the window.
    SetMenuBar(bar);
    if (!IsShown()) bar->Show(false);
    delete old;
    RefreshRecentFiles();
    ShowMenuHints();
}

void CMainFrame::ShowMenuHints() {
#ifdef __WXGTK__
    for (auto& [item, hint] : m_menuHints) {
        AccelEntry key{};
        if (!ParseKeyHint(hint, key)) continue;
        GtkWidget* widget = item->GetMenuItem();
        GtkWidget* child = widget ? gtk_bin_get_child(GTK_BIN(widget)) : nullptr;
        if (!child || !GTK_IS_ACCEL_LABEL(child)) continue;
        guint keyval = 0;
        if (key.key >= 'A' && key.key <= 'Z') keyval = GDK_KEY_a + (key.key - 'A');
        else if (key.key >= '0' && key.key <= '9') keyval = GDK_KEY_0 + (key.key - '0');
        else if (key.key == KEY_DELETE) keyval = GDK_KEY_Delete;
        else if (key.key == KEY_INSERT) keyval = GDK_KEY_Insert;
        else if (key.key == KEY_BACK) keyval = GDK_KEY_BackSpace;
        else if (key.key >= KEY_F1 && key.key < KEY_F1 + 12) keyval = GDK_KEY_F1 + (key.key - KEY_F1);
        if (!keyval) continue;
        int mods = 0;
        if (key.flags & ACCEL_CTRL) mods |= GDK_CONTROL_MASK;
        if (key.flags & ACCEL_SHIFT) mods |= GDK_SHIFT_MASK;
        if (key.flags & ACCEL_ALT) mods |= GDK_MOD1_MASK;
        // Shown beside the item, bound to nothing.
        gtk_accel_label_set_accel(GTK_ACCEL_LABEL(child), keyval, static_cast<GdkModifierType>(mods));
    }
#endif
}

void CMainFrame::InstallAccelerators() { SetAcceleratorTable(ProgramAcceleratorTable()); }

void CMainFrame::NameBarWindows() {
#ifdef __WXGTK__
    // Window-system tools (and the end-to-end tests) find the tool bars and
    // the status bar by the names of their own X windows.
    GdkDisplay* display = gdk_display_get_default();
    if (!display || !GDK_IS_X11_DISPLAY(display)) return;
    const std::pair<wxWindow*, const char*> named[] = {
        {m_pToolBar, "Kelvano Toolbar"}, {m_pCameraBar, "Camera"}, {GetStatusBar(), "Kelvano Status Bar"}};
    for (const auto& [window, name] : named) {
        if (!window) continue;
        GdkWindow* gdkWindow = window->GTKGetDrawingWindow();
        // Only the bar's own window, never the frame's.
        if (!gdkWindow || gdk_window_get_window_type(gdkWindow) != GDK_WINDOW_CHILD) continue;
        if (!gdk_window_ensure_native(gdkWindow)) continue;
        XStoreName(GDK_DISPLAY_XDISPLAY(display), GDK_WINDOW_XID(gdkWindow), name);
    }
#endif
}

void CMainFrame::ShowFlyBy(const wxString& text) {
    // As a menu item's help: shown over the first field, which gets its old
    // text back when the pointer leaves the tools.
    if (text == m_strFlyBy) return;
    m_strFlyBy = text;
    if (text.empty()) DoGiveHelp(wxEmptyString, false);
    else DoGiveHelp(text, true);
}

void CMainFrame::FocusView() {
    // The view takes the keyboard, so that its letter keys work at once.
    if (m_pChildFrame && m_pChildFrame->GetCanvas()) m_pChildFrame->GetCanvas()->SetFocus();
}

CKelvanoView* CMainFrame::GetView() const { return m_pChildFrame ? m_pChildFrame->GetView() : nullptr; }

bool CMainFrame::IsPaneShown(const char* name) {
    wxAuiPaneInfo& pane = m_mgr.GetPane(name);
    return pane.IsOk() && pane.IsShown();
}

void CMainFrame::ShowPane(const char* name, bool show) {
    wxAuiPaneInfo& pane = m_mgr.GetPane(name);
    if (!pane.IsOk()) return;
    if (show) KeepFloatingPaneOnScreen(pane, false);
    pane.Show(show);
    m_mgr.Update();
    if (show) KeepFloatingPaneOnScreen(pane, true);
}

void CMainFrame::KeepFloatingPaneOnScreen(wxAuiPaneInfo& pane, bool shown) {
    if (!pane.IsFloating() || !pane.window) return;
    wxRect r(pane.floating_pos, pane.floating_size);
    if (shown && pane.frame) {
        // The frame the toolkit made: never smaller than the bar's content.
        const wxSize client = pane.frame->GetClientSize(), best = pane.window->GetBestSize();
        if (client.x < best.x || client.y < best.y)
            pane.frame->SetClientSize(std::max(client.x, best.x), std::max(client.y, best.y));
        r = pane.frame->GetRect();
    }
    if (r.width <= 0 || r.height <= 0) r.SetSize(pane.window->GetBestSize());
    const CRectI fitted = KeepOnScreen(CRectI{r.x, r.y, r.x + r.width, r.y + r.height}, currentMonitors());
    if (fitted.left == r.x && fitted.top == r.y) return;
    pane.FloatingPosition(fitted.left, fitted.top);
    if (shown && pane.frame) pane.frame->Move(fitted.left, fitted.top);
}

void CMainFrame::TogglePane(const char* name) { ShowPane(name, !IsPaneShown(name)); }

void CMainFrame::RouteCommand(int id) {
    wxCommandEvent event(wxEVT_MENU, ToWxId(id));
    event.SetEventObject(this);
    OnCommand(event);
}

bool CMainFrame::FrameCommand(int id) {
    CKelvanoDoc* doc = theApp.m_pCurrentDoc;
    switch (id) {
    case ID_VIEW_TOOLBAR: TogglePane(kPaneMainToolBar); return true;
    case ID_VIEW_STATUS_BAR:
        if (GetStatusBar()) {
            GetStatusBar()->Show(!GetStatusBar()->IsShown());
            SendSizeEvent();
        }
        return true;
    case ID_VIEW_TRANSFORMATION: TogglePane(kPaneTransformation); return true;
    case ID_VIEW_EDIT_BOX: TogglePane(kPaneEditBox); return true;
    case ID_VIEW_EVENT_TREE: TogglePane(kPaneEventTree); return true;
    case ID_VIEW_TIME_LINE: TogglePane(kPaneTimeLine); return true;
    case ID_VIEW_EFFECT_LIST: TogglePane(kPaneEffectList); return true;
    case ID_VIEW_OBJECT_LIST: TogglePane(kPaneObjectList); return true;
    case ID_FIXED_DURATION:
        if (!doc) return true;
        doc->m_bFixedDuration = !doc->m_bFixedDuration;
        // The time line's "Fixed Dur." box shows the new value at once.
        if (m_pTimeLine) m_pTimeLine->SetFixedDuration(doc->m_bFixedDuration);
        return true;
    default: return false;
    }
}

bool CMainFrame::FrameUpdate(int id, bool& enabled, int& checked) {
    CKelvanoView* view = GetView();
    CKelvanoDoc* doc = theApp.m_pCurrentDoc;
    const bool animation = view && view->m_bAnimationMode;
    switch (id) {
    case ID_VIEW_TOOLBAR: checked = IsPaneShown(kPaneMainToolBar); return true;
    case ID_VIEW_STATUS_BAR: checked = GetStatusBar() && GetStatusBar()->IsShown(); return true;
    case ID_VIEW_TRANSFORMATION:
        enabled = doc && doc->m_pSelectedObject;
        checked = enabled && IsPaneShown(kPaneTransformation);
        return true;
    case ID_VIEW_EDIT_BOX: checked = IsPaneShown(kPaneEditBox); return true;
    case ID_VIEW_EVENT_TREE:
    case ID_VIEW_TIME_LINE:
    case ID_VIEW_EFFECT_LIST: {
        const char* pane = id == ID_VIEW_EVENT_TREE ? kPaneEventTree
                           : id == ID_VIEW_TIME_LINE ? kPaneTimeLine
                                                     : kPaneEffectList;
        enabled = animation;
        checked = animation && IsPaneShown(pane);
        return true;
    }
    case ID_VIEW_OBJECT_LIST:
        enabled = !animation;
        checked = IsPaneShown(kPaneObjectList);
        return true;
    case ID_FIXED_DURATION: checked = doc && doc->m_bFixedDuration; return true;
    case ID_APP_ABOUT:
    case ID_APP_EXIT: return true;
    default:
        if (id >= ID_FILE_MRU_FIRST && id <= ID_FILE_MRU_LAST) {
            // A recent file opens through Open, and is greyed when Open is
            // (while the animation plays or records, or an object is placed).
            CCmdUI open;
            open.id = ID_FILE_OPEN;
            enabled = id - ID_FILE_MRU_FIRST < theApp.RecentFiles().GetSize() &&
                      !(view && view->OnUpdateCommand(ID_FILE_OPEN, open) && !open.enabled);
            return true;
        }
        return false;
    }
}

void CMainFrame::UpdateCommand(int id, bool& enabled, int& checked) {
    enabled = true;
    checked = -1;
    if (FrameUpdate(id, enabled, checked)) return;
    CCmdUI ui;
    ui.id = id;
    if (CKelvanoView* view = GetView(); view && view->OnUpdateCommand(id, ui)) {
        enabled = ui.enabled;
        checked = ui.checked;
        return;
    }
    // A command that neither the frame nor the view handles is greyed; one the
    // view handles without a rule of its own stays enabled (the view answers
    // true for every row of its table).
    enabled = false;
}

void CMainFrame::OnCommand(wxCommandEvent& event) {
    const int id = FromWxId(event.GetId());
    // While a modal dialog runs the main window takes no command, whatever
    // queued it: a second modal dialog could end after the first, whose
    // modal loop then never returns (no menu, close box or Exit works).
    if (theApp.ModalDialogOpen()) return;
    if (ApplyToFocusedText(id)) return;
    // A scene that opens or starts new is worked on with the keys at once.
    const bool sceneCommand = id == ID_FILE_NEW || id == ID_FILE_OPEN ||
                              (id >= ID_FILE_MRU_FIRST && id <= ID_FILE_MRU_LAST);
    // Accelerators (the frame's and the bars') reach here even for a greyed
    // item: a command greyed now is refused as its menu item is.
    bool enabled = true;
    int checked = -1;
    UpdateCommand(id, enabled, checked);
    if (!enabled) return;
    // A field typed into and not yet taken goes first, as a step of its own:
    // the command may take the focus from it (Undo showing another page), and
    // taken then it would change the scene in the middle of the command. A
    // field that refuses what was typed keeps the command from running.
    if (auto* edit = dynamic_cast<CNumEdit*>(wxWindow::FindFocus()); edit && !edit->CommitPending()) return;
    if (FrameCommand(id)) return;
    if (CKelvanoView* view = GetView(); view && view->OnCommand(id)) {
        if (sceneCommand) FocusView();
        return;
    }
    if (id == ID_APP_ABOUT) {
        theApp.OnAppAbout();
    } else if (id == ID_APP_EXIT) {
        Close();
    } else if (id >= ID_FILE_MRU_FIRST && id <= ID_FILE_MRU_LAST) {
        theApp.OnOpenRecentFile(id);
        FocusView();
    }
}

void CMainFrame::OnUpdateCommand(wxUpdateUIEvent& event) {
    bool enabled = true;
    int checked = -1;
    UpdateCommand(FromWxId(event.GetId()), enabled, checked);
    event.Enable(enabled);
    if (checked >= 0) event.Check(checked != 0);
}

void CMainFrame::RefreshRecentFiles() {
    if (!m_pRecentMenu || m_nRecentPos < 0) return;
    for (int id = ID_FILE_MRU_FIRST; id <= ID_FILE_MRU_LAST; ++id)
        if (wxMenuItem* old = m_pRecentMenu->FindChildItem(ToWxId(id))) m_pRecentMenu->Destroy(old);
    CRecentFileList& recent = theApp.RecentFiles();
    if (recent.GetSize() == 0) {
        // An empty list shows its greyed place holder.
        m_pRecentMenu->Insert(m_nRecentPos, ToWxId(ID_FILE_MRU_FIRST), "Recent File");
        return;
    }
    for (int i = 0; i < recent.GetSize(); ++i)
        m_pRecentMenu->Insert(m_nRecentPos + i, ToWxId(ID_FILE_MRU_FIRST + i), wxString::FromUTF8(recent.GetMenuText(i)));
}

void CMainFrame::SetChildTitle(const std::string& title) {
    wxAuiPaneInfo& pane = m_mgr.GetPane(kPaneScene);
    if (!pane.IsOk()) return;
    pane.Caption(wxString::FromUTF8(title));
    m_mgr.Update();
}

void CMainFrame::RememberNormalRect() {
    if (!IsMaximized() && !IsIconized() && IsShown()) m_rcNormal = GetRect();
}

int CMainFrame::CurrentShowCommand() const {
    if (IsIconized()) return KV_SW_SHOWMINIMIZED;
    if (IsMaximized()) return KV_SW_SHOWMAXIMIZED;
    return KV_SW_SHOWNORMAL;
}

CRectI CMainFrame::NormalPlacement() const {
    const CRectI screen{m_rcNormal.x, m_rcNormal.y, m_rcNormal.x + m_rcNormal.width, m_rcNormal.y + m_rcNormal.height};
    return StorePlacement(screen, currentMonitors());
}

void CMainFrame::OnClose(wxCloseEvent& event) {
    if (m_bClosing) return;
    CKelvanoView* view = GetView();
    CKelvanoDoc* doc = theApp.m_pCurrentDoc;
    // "Yes" saves; a failed or cancelled save keeps the program open.
    if (view && doc && view->m_bModified && event.CanVeto() && !view->SaveModified()) {
        event.Veto();
        return;
    }
    if (CProfile* profile = theApp.GetProfile()) {
        RememberNormalRect();
        const CRectI r = NormalPlacement();
        profile->WriteProfileInt("Window", "Show", CurrentShowCommand());
        profile->WriteProfileInt("Window", "Left", r.left);
        profile->WriteProfileInt("Window", "Right", r.right);
        profile->WriteProfileInt("Window", "Top", r.top);
        profile->WriteProfileInt("Window", "Bottom", r.bottom);
        profile->WriteProfileInt("App", "State", 2);
        if (doc) doc->WriteSettings(*profile);
        theApp.RecentFiles().WriteList(*profile);
        profile->Flush();
    }
    if (view && theApp.m_bEmbedded) view->SetModified(false);
    m_bClosing = true;
    CloseEffectDialogs();
    if (m_pChildFrame) m_pChildFrame->ReleaseView();
    Destroy();
}

void CMainFrame::OnIdle(wxIdleEvent& event) {
    // The lock-key indicators, refreshed while the program is idle.
    if (wxStatusBar* status = GetStatusBar()) {
        const std::pair<wxKeyCode, const char*> keys[] = {
            {WXK_CAPITAL, "CAP"}, {WXK_NUMLOCK, "NUM"}, {WXK_SCROLL, "SCRL"}};
        for (int i = 0; i < 3; ++i) {
            const wxString text = wxGetKeyState(keys[i].first) ? keys[i].second : "";
            if (status->GetStatusText(i + 1) != text) status->SetStatusText(text, i + 1);
        }
    }
    event.Skip();
}

void CMainFrame::UpdateBarsForMode(bool animationMode, const std::string& firstObjectName) {
    if (animationMode) {
        m_bObjectListWasVisible = IsPaneShown(kPaneObjectList);
        RebuildTimeLineRows();
        m_mgr.GetPane(kPaneTimeLine).Show(true);
        RebuildEventTree();
        m_mgr.GetPane(kPaneEventTree).Show(true);
        if (!firstObjectName.empty()) {
            SelectEventTreeItem(firstObjectName);
            SelectTimeLineEvent(firstObjectName);
        }
        m_mgr.GetPane(kPaneObjectList).Show(false);
    } else {
        m_mgr.GetPane(kPaneEventTree).Show(false);
        m_mgr.GetPane(kPaneTimeLine).Show(false);
        if (m_bObjectListWasVisible) m_mgr.GetPane(kPaneObjectList).Show(true);
    }
    m_mgr.Update();
    if (!animationMode && m_bObjectListWasVisible) KeepFloatingPaneOnScreen(m_mgr.GetPane(kPaneObjectList), true);
    if (m_pEditBoxBar) m_pEditBoxBar->LockPages(animationMode);
    if (CTransformDlg* transform = m_pTransformBar ? m_pTransformBar->GetDialog() : nullptr) {
        if (animationMode) transform->DisableEdits();
        else transform->EnableEdits();
    }
    if (m_pChildFrame) m_pChildFrame->RedrawView();
}

// ---- the event tree, the effect list and the effect dialogs ----

void CMainFrame::InstallAnimationPanels() {
    m_pEffectList->SetName(kPaneEffectList);
    m_pEffectList->m_onClose = [this] {
        m_mgr.GetPane(kPaneEffectList).Show(false);
        m_mgr.Update();
    };
    m_pEventTree->SetName(kPaneEventTree);
    m_pEventTree->m_onRenamed = [this](const std::string& oldName, const std::string& newName) {
        RemoveObjectChooserName(oldName);
        AddObjectChooserName(newName);
        SelectObjectChooserName(newName);
        // The Object tab's page shows the selection's new name in its Name field.
        CKelvanoDoc* doc = theApp.m_pCurrentDoc;
        pnObject* selected = doc ? doc->m_pSelectedObject : nullptr;
        if (m_pEditBoxBar && selected && selected->getName() == newName)
            if (CObjectPageDlg* page = m_pEditBoxBar->GetPage(ObjectPageListIndex(m_pEditBoxBar->GetObjectPageKind())))
                page->LoadFromObject(selected, 1);
    };
    if (CKelvanoView* view = GetView()) {
        m_pEffectDialogs = std::make_unique<CEffectDialogSet>(this, view);
        view->SetEffectDialogs(m_pEffectDialogs.get());
        view->AddListener(this);
    }
    m_pEffectList->FillFromScene();
}

void CMainFrame::CloseEffectDialogs() {
    if (CKelvanoView* view = GetView()) {
        view->RemoveListener(this);
        view->SetEffectDialogs(nullptr);
    }
    m_pEffectDialogs.reset();
}

void CMainFrame::OnViewChange(ViewChange change) {
    // The effect list follows the view while the frame has one.
    if (m_pEffectList) m_pEffectList->Model().OnViewChange(change);
}

void CMainFrame::UpdateEventTreeEffects(const std::string& eventName) {
    if (m_pEventTree) m_pEventTree->UpdateEventEffects(eventName);
}

void CMainFrame::RebuildEventTree() {
    if (m_pEventTree) m_pEventTree->RebuildTree();
    // The effect list follows the scene's effects as the tree follows its events.
    if (m_pEffectList) m_pEffectList->FillFromScene();
}
void CMainFrame::SelectEventTreeItem(const std::string& name) {
    if (m_pEventTree) m_pEventTree->SelectItem(name);
}
int CMainFrame::ApplyEventTreeOrder() { return m_pEventTree ? m_pEventTree->ApplyEventOrder() : 0; }
void CMainFrame::RemoveEventTreeEffectItem(const std::string& eventName, int playIndex) {
    if (m_pEventTree) m_pEventTree->RemoveEffectItem(eventName, playIndex);
}
void CMainFrame::AddEffectListName(const std::string& name) {
    if (m_pEffectList) m_pEffectList->AddEffectName(name);
}
void CMainFrame::RemoveEffectListName(const std::string& name) {
    if (m_pEffectList) m_pEffectList->RemoveEffectName(name);
}

void CMainFrame::SetTextPageTextureCheck(int on) {
    if (auto* page = m_pEditBoxBar ? dynamic_cast<CTextPage*>(m_pEditBoxBar->GetPage(PAGE_TEXT)) : nullptr)
        page->SetTextureCheck(on != 0);
}

void CMainFrame::AddObjectChooserName(const std::string& name) {
    if (!m_pObjectChooser) return;
    // GTK's drop-down list widens itself to its longest entry.
    m_pObjectChooser->Append(wxString::FromUTF8(name));
}

void CMainFrame::SelectObjectChooserIndex(int index) {
    if (!m_pObjectChooser) return;
    // An empty chooser shows no text.
    if (index >= 0 && index < int(m_pObjectChooser->GetCount())) m_pObjectChooser->SetSelection(index);
    else m_pObjectChooser->SetSelection(wxNOT_FOUND);
}

void CMainFrame::SelectObjectChooserName(const std::string& name) {
    if (!m_pObjectChooser) return;
    const int index = m_pObjectChooser->FindString(wxString::FromUTF8(name), true);
    if (index != wxNOT_FOUND) m_pObjectChooser->SetSelection(index);
}

void CMainFrame::RemoveObjectChooserName(const std::string& name) {
    if (!m_pObjectChooser) return;
    const int index = m_pObjectChooser->FindString(wxString::FromUTF8(name), true);
    if (index != wxNOT_FOUND) m_pObjectChooser->Delete(index);
}

// ---- the property bar, Transformation, Obect List and View Width bars ----

int CMainFrame::AddObjectListItem(const std::string& name) {
    return m_pObjectListBar && m_pObjectListBar->GetDialog()->AddObject(name);
}

int CMainFrame::RemoveObjectListItem(const std::string& name) {
    return m_pObjectListBar && m_pObjectListBar->GetDialog()->RemoveObject(name);
}

int CMainFrame::SelectObjectListItem(const std::string& name, int on) {
    return m_pObjectListBar && m_pObjectListBar->GetDialog()->SelectObject(name, on != 0);
}

int CMainFrame::SelectObjectListIndex(int index, int on) {
    return m_pObjectListBar && m_pObjectListBar->GetDialog()->SelectIndex(index, on != 0);
}

int CMainFrame::RenameObjectListItem(const std::string& oldName, const std::string& newName) {
    return m_pObjectListBar && m_pObjectListBar->GetDialog()->RenameObject(oldName, newName);
}

void CMainFrame::ClearObjectList() {
    if (m_pObjectListBar) m_pObjectListBar->GetDialog()->Clear();
    if (m_pObjectChooser) m_pObjectChooser->Clear();
}

int CMainFrame::RefreshLightPage(int keep) {
    auto* page = m_pEditBoxBar ? dynamic_cast<CLightPage*>(m_pEditBoxBar->GetPage(PAGE_LIGHT)) : nullptr;
    if (!page) return 0;
    page->InitSceneLights(keep);
    return 1;
}

void CMainFrame::ShowCameraPage() {
    // Tab 2 is "Camera"; the Object tab keeps its kind.
    if (m_pEditBoxBar) m_pEditBoxBar->SelectTab(2, m_pEditBoxBar->GetObjectPageKind());
}

void CMainFrame::ReloadCameraPage() {
    if (auto* page = m_pEditBoxBar ? dynamic_cast<CCameraPage*>(m_pEditBoxBar->GetPage(PAGE_CAMERA)) : nullptr)
        page->LoadViewpoint();
}

void CMainFrame::ReloadLightPage() {
    if (auto* page = m_pEditBoxBar ? dynamic_cast<CLightPage*>(m_pEditBoxBar->GetPage(PAGE_LIGHT)) : nullptr)
        page->ReloadLight();
}

void CMainFrame::ShowFrameInPages() {
    if (!m_pEditBoxBar) return;
    if (auto* page = dynamic_cast<CCameraPage*>(m_pEditBoxBar->GetPage(PAGE_CAMERA))) page->FollowFrame();
    if (auto* page = dynamic_cast<CLightPage*>(m_pEditBoxBar->GetPage(PAGE_LIGHT))) page->FollowFrame();
}

void CMainFrame::SetCameraPresetView(int on) {
    if (auto* page = m_pEditBoxBar ? dynamic_cast<CCameraPage*>(m_pEditBoxBar->GetPage(PAGE_CAMERA)) : nullptr)
        page->SetPresetView(on != 0);
}

void CMainFrame::ShowViewWidthBar(int show, float width) {
    ShowPane(kPaneViewWidth, show != 0);
    if (show && m_pViewWidthBar) m_pViewWidthBar->GetDialog()->SetWidth(static_cast<int>(width));
}

int CMainFrame::HasPropertyBar() { return m_pEditBoxBar ? 1 : 0; }

void CMainFrame::ShowObjectPage(int page, pnObject* object, int flag) {
    if (!m_pEditBoxBar) return;
    m_pEditBoxBar->SelectTab(0, page);
    if (CObjectPageDlg* shown = m_pEditBoxBar->GetShownPage(); shown && object) shown->LoadFromObject(object, flag);
    // The Transformation bar shows the object the page shows.
    CTransformDlg* transform = m_pTransformBar ? m_pTransformBar->GetDialog() : nullptr;
    if (transform && object) transform->LoadFromObject(object);
}

void CMainFrame::SetTransformPosition(const std::string& x, const std::string& y, const std::string& z) {
    const std::string texts[] = {x, y, z};
    if (m_pTransformBar) m_pTransformBar->GetDialog()->SetFieldTexts(TF_POS_X, texts, 3);
}

void CMainFrame::SetTransformScale(const std::string& x, const std::string& y, const std::string& z) {
    const std::string texts[] = {x, y, z};
    if (m_pTransformBar) m_pTransformBar->GetDialog()->SetFieldTexts(TF_SCALE_X, texts, 3);
}

void CMainFrame::SetTransformRotation(const std::string& angle, const std::string& x, const std::string& y,
                                      const std::string& z) {
    const std::string texts[] = {angle, x, y, z};
    if (m_pTransformBar) m_pTransformBar->GetDialog()->SetFieldTexts(TF_ANGLE, texts, 4);
}

void CMainFrame::UnlockTransformEdits() {
    CTransformDlg* transform = m_pTransformBar ? m_pTransformBar->GetDialog() : nullptr;
    if (transform && !transform->IsEnabledFlag()) transform->EnableEdits();
}

void CMainFrame::LockTransformEdits() {
    CTransformDlg* transform = m_pTransformBar ? m_pTransformBar->GetDialog() : nullptr;
    if (transform && transform->IsEnabledFlag()) transform->DisableEdits();
}

// ---- the time line editor ----

void CMainFrame::UpdateTimeLineEventRow(const std::string& eventName) {
    if (m_pTimeLine) m_pTimeLine->UpdateEventRow(eventName);
}
void CMainFrame::RebuildTimeLineRows() {
    if (m_pTimeLine) m_pTimeLine->RebuildRows();
}
void CMainFrame::SelectTimeLineEvent(const std::string& name) {
    if (!m_pTimeLine) return;
    // The row already chosen keeps its entry.
    const CTimeLineModel& m = m_pTimeLine->Model();
    const bool same = m.SelectedRow() >= 2 && m.SelectedRow() < m.RowCount() && m.Rows()[m.SelectedRow()].name == name;
    m_pTimeLine->SelectEvent(name, same ? m.SelectedEntry() : 0);
}
void CMainFrame::SelectTimeLineEntry(const std::string& eventName, int entry) {
    if (m_pTimeLine) m_pTimeLine->SelectEvent(eventName, entry);
}
void CMainFrame::UpdateTimeLineEventRowAndSelect(const std::string& eventName, const std::string& effect) {
    if (m_pTimeLine) m_pTimeLine->UpdateEventRowAndSelect(eventName, effect);
}
void CMainFrame::UpdateTimeLineAnimationEnd() {
    if (m_pTimeLine) m_pTimeLine->UpdateAnimationEnd();
}
void CMainFrame::SetTimeLineFrame(int frame) {
    if (m_pTimeLine) m_pTimeLine->SetCurrentFrame(frame);
}
void CMainFrame::SetTimeLinePlaying(int on) {
    if (!m_pTimeLine) return;
    // A recording locks the panel as playback does; its Stop ends it.
    if (on) m_pTimeLine->SetPlaying();
    else m_pTimeLine->ClearPlaying();
}
