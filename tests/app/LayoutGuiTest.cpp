// Every window of the program laid out under the toolkit's own font: the main
// window with its bars and pages, the floating bars and every dialog, each
// opened as the program opens it, in the layout set the locale chooses (the
// test runs once per set). After layout each window is walked:
// - every shown child lies inside its parent's client area (or the area it
//   scrolls over);
// - no two shown siblings overlap, except a group box and what lies inside it
//   and a control made over an empty placeholder label;
// - labels, buttons, check boxes and edits are at least their best size, so no
//   text is clipped;
// - floating bars open inside the screen's work area.
// Failures are listed by window, control id and caption; every window is also
// saved as a picture under the build folder. GTK's own complaints while a
// window is open count as failures of that window.
#include "tests/support/WxTestRun.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/KelvanoIds.h"
#include "app/CAboutDlg.h"
#include "app/CAviCompressorDlg.h"
#include "app/CChildFrame.h"
#include "app/CExportOptionsPanel.h"
#include "app/CExportProgressDlg.h"
#include "app/CKelvanoApp.h"
#include "app/CMainFrame.h"
#include "app/CSplashWnd.h"
#include "export/CMovieHost.h"
#include "charts/pnChart.h"
#include "scene/pnEffect.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "ui/animation/CCopyOptionDlg.h"
#include "ui/animation/CCreateEffectDlg.h"
#include "ui/animation/CEffectCopyDlg.h"
#include "ui/animation/CEffectEditorDlg.h"
#include "ui/animation/CGrowShrinkDlg.h"
#include "ui/animation/CTimeLineDlg.h"
#include "ui/properties/dialogs/CChartDataDlg.h"
#include "ui/properties/dialogs/CCutShapeDlg.h"
#include "ui/properties/dialogs/CEdgeShadowDlg.h"
#include "ui/properties/bars/CEditBoxBar.h"
#include "ui/properties/dialogs/CGraphInputDlg.h"
#include "ui/properties/dialogs/CGraphNameDlg.h"
#include "ui/properties/dialogs/CGraphTypeDlg.h"
#include "ui/properties/controls/CImageButton.h"
#include "ui/properties/dialogs/CLabelPropertyDlg.h"
#include "ui/properties/dialogs/CLimitHeightDlg.h"
#include "ui/properties/dialogs/CMaterialDetailDlg.h"
#include "ui/properties/dialogs/CMaterialDlg.h"
#include "ui/properties/dialogs/CModelSelectDlg.h"
#include "ui/properties/dialogs/CModelTextureDlg.h"
#include "ui/properties/dialogs/CColorDlg.h"
#include "ui/properties/rules/GraphRules.h"

#include <gdk/gdk.h>
#include <gtk/gtk.h>
#include <gtest/gtest.h>
#include <wx/anybutton.h>
#include <wx/aui/auibar.h>
#include <wx/aui/framemanager.h>
#include <wx/checkbox.h>
#include <wx/display.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

wxAppConsole* wxCreateApp();

using namespace kv;

namespace {

CMainFrame* frame() { return theApp.GetMainFrame(); }
CKelvanoView* view() { return theApp.m_pCurrentView; }
CKelvanoDoc* doc() { return theApp.m_pCurrentDoc; }

std::string g_shotFolder;
int g_windows = 0;
std::vector<std::string> g_failedWindows;
// GTK's warnings and criticals since the last window was checked.
std::vector<std::string> g_gtkComplaints;

// Every message of the toolkit passes here (plain and structured ones); the
// warnings and criticals are kept, and all are printed as usual.
GLogWriterOutput onGLibLog(GLogLevelFlags level, const GLogField* fields, gsize count, gpointer data) {
    if (level & (G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING)) {
        std::string domain, message;
        for (gsize i = 0; i < count; ++i) {
            const std::string key = fields[i].key;
            const auto* value = static_cast<const char*>(fields[i].value);
            if (!value || fields[i].length > 0) continue;
            if (key == "GLIB_DOMAIN") domain = value;
            if (key == "MESSAGE") message = value;
        }
        g_gtkComplaints.push_back(domain + ((level & G_LOG_LEVEL_CRITICAL) ? "-CRITICAL: " : "-WARNING: ") + message);
    }
    return g_log_writer_default(level, fields, count, data);
}

template <class Done>
void pumpUntil(Done done, int milliseconds = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done() && std::chrono::steady_clock::now() < end) pumpWxEvents(20);
}

std::string describe(const wxWindow* w) {
    std::ostringstream s;
    s << "id " << w->GetId();
    const wxString label = w->GetLabel();
    if (!label.empty()) s << " \"" << label.ToStdString(wxConvUTF8) << "\"";
    s << " (" << wxString(w->GetClassInfo()->GetClassName()).ToStdString() << ")";
    return s.str();
}

std::string rectText(const wxRect& r) {
    std::ostringstream s;
    s << r.x << "," << r.y << " " << r.width << "x" << r.height;
    return s.str();
}

// The area a parent's children may cover: its client area, or the whole
// virtual area of a window that scrolls.
wxRect childArea(const wxWindow* parent) {
    if (const auto* scrolled = dynamic_cast<const wxScrollHelperBase*>(parent)) {
        const wxPoint origin = scrolled->CalcScrolledPosition(wxPoint(0, 0));
        const wxSize virt = parent->GetVirtualSize();
        const wxSize client = parent->GetClientSize();
        return wxRect(origin, wxSize(std::max(virt.x, client.x), std::max(virt.y, client.y)));
    }
    return wxRect(wxPoint(0, 0), parent->GetClientSize());
}

bool isPlaceholder(const wxWindow* w) {
    const auto* label = dynamic_cast<const wxStaticText*>(w);
    return label && label->GetLabel().empty();
}

// The width a one-line edit needs to show its text whole: the text and the
// entry's own padding and border on both sides.
int editWidthFor(wxTextCtrl* edit, const wxString& text) {
    int frame = 0;
    if (GtkWidget* widget = static_cast<GtkWidget*>(edit->GetHandle())) {
        GtkStyleContext* style = gtk_widget_get_style_context(widget);
        GtkBorder padding{}, border{};
        gtk_style_context_get_padding(style, gtk_style_context_get_state(style), &padding);
        gtk_style_context_get_border(style, gtk_style_context_get_state(style), &border);
        frame = padding.left + padding.right + border.left + border.right;
    }
    return edit->GetTextExtent(text).x + frame;
}

// What a text-bearing control needs: its best size; an edit needs the height
// of its best size and the width of its text (a number; other texts scroll).
wxString fitFailure(wxWindow* w) {
    const wxSize size = w->GetSize();
    if (auto* edit = dynamic_cast<wxTextCtrl*>(w)) {
        if (edit->IsMultiLine()) return {};
        const wxSize best = edit->GetBestSize();
        double number = 0;
        const wxString text = edit->GetValue();
        const int needed = text.ToCDouble(&number) ? editWidthFor(edit, text) : 0;
        if (size.y < best.y || size.x < needed)
            return wxString::Format("edit %dx%d, its text \"%s\" needs %dx%d", size.x, size.y, text, needed,
                                    best.y);
        return {};
    }
    const bool labelled = dynamic_cast<wxStaticText*>(w) || dynamic_cast<wxAnyButton*>(w) ||
                          dynamic_cast<wxCheckBox*>(w) || dynamic_cast<wxRadioButton*>(w) ||
                          dynamic_cast<CImageButton*>(w) || dynamic_cast<wxSpinCtrl*>(w);
    if (!labelled) return {};
    // A label that ends its text with "..." by design shows it whole or cut so.
    if (dynamic_cast<wxStaticText*>(w) && w->HasFlag(wxST_ELLIPSIZE_END)) return {};
    const wxSize best = w->GetBestSize();
    if (size.x < best.x || size.y < best.y)
        return wxString::Format("%dx%d, smaller than its best size %dx%d", size.x, size.y, best.x, best.y);
    return {};
}

void walk(wxWindow* parent, std::vector<std::string>& out) {
    std::vector<wxWindow*> shown;
    const wxRect area = childArea(parent);
    // A window whose content is larger than it must be able to scroll there.
    if (const auto* scrolled = dynamic_cast<const wxScrollHelperBase*>(parent)) {
        int rateX = 0, rateY = 0;
        scrolled->GetScrollPixelsPerUnit(&rateX, &rateY);
        const wxSize client = parent->GetClientSize();
        const bool wider = area.width > client.x, taller = area.height > client.y;
        if ((wider && rateX <= 0) || (taller && rateY <= 0))
            out.push_back(describe(parent) + " holds " + rectText(area) + " in " + std::to_string(client.x) + "x" +
                          std::to_string(client.y) + " but cannot scroll there");
        // Scroll bars that show only under a moving pointer make a cut-off
        // page look whole.
        auto* widget = static_cast<GtkWidget*>(parent->GetHandle());
        if ((wider || taller) && widget && GTK_IS_SCROLLED_WINDOW(widget) &&
            gtk_scrolled_window_get_overlay_scrolling(GTK_SCROLLED_WINDOW(widget)))
            out.push_back(describe(parent) + " holds " + rectText(area) + " in " + std::to_string(client.x) + "x" +
                          std::to_string(client.y) + " but shows no scroll bar");
        // Scrolling moves every window the scrolled one holds, and the
        // toolkit complains of each hidden one (the focus moving to a field
        // below the fold scrolls).
        for (wxWindow* child : parent->GetChildren())
            if (!child->IsTopLevel() && !child->IsShown())
                out.push_back(describe(child) + " is hidden inside " + describe(parent) + ", which scrolls");
    }
    const auto* asFrame = dynamic_cast<const wxFrame*>(parent);
    for (wxWindow* child : parent->GetChildren()) {
        if (child->IsTopLevel() || !child->IsShown()) continue;
        // The frame places its status bar outside its client area.
        if (asFrame && (child == asFrame->GetStatusBar())) {
            walk(child, out);
            continue;
        }
        shown.push_back(child);
        const wxRect r = child->GetRect();
        if (!area.Contains(r))
            out.push_back(describe(child) + " at " + rectText(r) + " lies outside " + describe(parent) +
                          " whose children have " + rectText(area));
        const wxString fit = fitFailure(child);
        if (!fit.empty()) out.push_back(describe(child) + ": " + fit.ToStdString(wxConvUTF8));
        walk(child, out);
    }
    for (size_t i = 0; i < shown.size(); ++i) {
        for (size_t j = i + 1; j < shown.size(); ++j) {
            wxWindow* a = shown[i];
            wxWindow* b = shown[j];
            const wxRect ra = a->GetRect(), rb = b->GetRect();
            const wxRect common = ra.Intersect(rb);
            if (common.width <= 0 || common.height <= 0) continue;
            // A group box and the controls inside it.
            if (dynamic_cast<wxStaticBox*>(a) && ra.Contains(rb)) continue;
            if (dynamic_cast<wxStaticBox*>(b) && rb.Contains(ra)) continue;
            // A control made over an empty placeholder label.
            if ((isPlaceholder(a) && ra.GetTopLeft() == rb.GetTopLeft()) ||
                (isPlaceholder(b) && rb.GetTopLeft() == ra.GetTopLeft()))
                continue;
            out.push_back(describe(a) + " at " + rectText(ra) + " overlaps " + describe(b) + " at " + rectText(rb));
        }
    }
}

void saveShot(wxWindow* window, const std::string& name) {
    if (g_shotFolder.empty()) return;
    wxWindow* top = wxGetTopLevelParent(window);
    const wxRect r = top->GetScreenRect();
    GdkWindow* root = gdk_get_default_root_window();
    if (!root || r.width <= 0 || r.height <= 0) return;
    GdkPixbuf* pixels = gdk_pixbuf_get_from_window(root, r.x, r.y, r.width, r.height);
    if (!pixels) return;
    char number[8];
    std::snprintf(number, sizeof number, "%02d-", g_windows);
    std::string file = number + name;
    for (char& c : file)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-') c = '_';
    const std::string path = g_shotFolder + "/" + file + ".png";
    gdk_pixbuf_save(pixels, path.c_str(), "png", nullptr, nullptr);
    g_object_unref(pixels);
}

// Lays a shown window out, checks it and keeps its picture. extra adds checks
// of its own (floating bars, tool bars).
void checkWindow(wxWindow* window, const std::string& name, std::vector<std::string> extra = {}) {
    wxWindow* top = wxGetTopLevelParent(window);
    top->Raise();
    // Let the toolkit allocate and draw.
    pumpWxEvents(350);
    std::vector<std::string> failures = std::move(extra);
    walk(window, failures);
    for (const std::string& line : g_gtkComplaints) failures.push_back(line);
    g_gtkComplaints.clear();
    ++g_windows;
    saveShot(window, name);
    if (failures.empty()) return;
    g_failedWindows.push_back(name);
    std::ostringstream s;
    s << name << ": " << failures.size() << " layout failure(s)";
    for (const std::string& f : failures) s << "\n  " << f;
    ADD_FAILURE() << s.str();
}

wxDialog* activeModal() {
    wxDialog* found = nullptr;
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* d = dynamic_cast<wxDialog*>(w); d && d->IsModal() && d->IsShown()) found = d;
    return found;
}

// Runs open, which shows a modal dialog and returns when it ends; the dialog
// is checked from inside its own loop (after prepare) and cancelled.
void checkModal(const std::string& name, const std::function<void()>& open,
                const std::function<void(wxDialog*)>& prepare = {}) {
    bool seen = false;
    wxDialog* outer = activeModal();
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        wxDialog* dlg = activeModal();
        if (seen || !dlg || dlg == outer) return;
        seen = true;
        timer.Stop();
        if (prepare) prepare(dlg);
        checkWindow(dlg, name);
        dlg->EndModal(wxID_CANCEL);
    });
    timer.Start(100);
    open();
    timer.Stop();
    if (!seen) ADD_FAILURE() << name << ": no dialog opened";
}

void checkModalDialog(const std::string& name, wxDialog& dlg) {
    checkModal(name, [&] { dlg.ShowModal(); });
}

void command(int id) { frame()->RouteCommand(id); }

// Opens a scene of the data folder as a recent file, without questions.
void openScene(const std::string& file) {
    view()->m_bModified = 0;
    theApp.AddToRecentFiles(std::string(KELVANO_SOURCE_DIR) + "/data/scenes/" + file);
    theApp.OnOpenRecentFile(ID_FILE_MRU_FIRST);
    pumpWxEvents(200);
    ASSERT_NE(view()->GetScene(), nullptr);
}

pnObject* firstOfKind(const char* typeName) {
    pnScene* scene = view()->GetScene();
    for (int i = 0; scene && i < scene->getNumObjects(); ++i)
        if (std::strcmp(scene->getObject(i)->getTypeName(), typeName) == 0) return scene->getObject(i);
    return nullptr;
}

pnObject* choose(const char* typeName) {
    pnObject* object = firstOfKind(typeName);
    EXPECT_NE(object, nullptr) << "no " << typeName << " in the scene";
    if (object) view()->OnObjectChosen(object->getName());
    pumpWxEvents(100);
    return object;
}

pnChart* chooseChart(const char* typeName) {
    auto* chart = dynamic_cast<pnChart*>(choose(typeName));
    doc()->m_nSelectedDataPt = 1;
    // As a click on the chart in the view leaves it: Graph Data needs the hit.
    view()->m_bObjectHit = 1;
    return chart;
}

void setAnimationMode(bool on) {
    if ((view()->m_bAnimationMode != 0) != on) command(on ? ID_MODE_ANIMATION : ID_MODE_OBJECT);
    pumpUntil([&] { return (view()->m_bAnimationMode != 0) == on; });
}

// Every tool of a tool bar shows whole at the window's width.
std::vector<std::string> toolsFit(wxAuiToolBar* bar, const char* what) {
    std::vector<std::string> out;
    for (size_t i = 0; i < bar->GetToolCount(); ++i) {
        wxAuiToolBarItem* item = bar->FindToolByIndex(static_cast<int>(i));
        if (item->GetKind() == wxITEM_SEPARATOR || item->GetId() == wxID_ANY) continue;
        if (!bar->GetToolFitsByIndex(static_cast<int>(i)))
            out.push_back(std::string(what) + " tool id " + std::to_string(item->GetId()) + " \"" +
                          item->GetLabel().ToStdString(wxConvUTF8) + "\" is cut off");
    }
    return out;
}

// A floating pane's window lies inside the work area of its screen.
std::vector<std::string> floatsOnScreen(const char* pane) {
    std::vector<std::string> out;
    wxAuiPaneInfo& info = frame()->GetAuiManager().GetPane(pane);
    if (!info.IsOk() || !info.frame) return {std::string(pane) + ": no floating window"};
    const wxRect r = info.frame->GetScreenRect();
    const int display = wxDisplay::GetFromWindow(info.frame);
    const wxRect work = wxDisplay(display == wxNOT_FOUND ? 0 : display).GetClientArea();
    if (!work.Contains(r))
        out.push_back(std::string(pane) + " floats at " + rectText(r) + ", outside the work area " + rectText(work));
    return out;
}

void showPane(const char* pane, bool show) {
    frame()->ShowPane(pane, show);
    pumpWxEvents(150);
}

}  // namespace

TEST(Layout, MainWindowToolBarsAndEditBoxPages) {
    ASSERT_NE(frame(), nullptr);
    pumpUntil([] { return CSplashWnd::Current() == nullptr; }, 8000);
    EXPECT_EQ(frame()->GetSize(), wxSize(1024, 768));
    openScene("allcharts.apn");
    std::vector<std::string> tools = toolsFit(frame()->GetMainToolBar(), "main tool bar");
    for (const std::string& t : toolsFit(frame()->GetCameraToolBar(), "Camera")) tools.push_back(t);
    checkWindow(frame(), "Main window", tools);

    CEditBoxBar* bar = frame()->GetEditBoxBar();
    struct Kind {
        const char* type;
        const char* name;
    };
    for (const Kind& k : {Kind{"pnString", "Edit Box Text page"}, Kind{"pnCounter", "Edit Box empty page"},
                          Kind{"pnBarChart", "Edit Box Bar page"}, Kind{"pnLineChart", "Edit Box Line page"},
                          Kind{"pnPieChart", "Edit Box Pie page"}, Kind{"pnVolumeChart", "Edit Box Area page"}}) {
        choose(k.type);
        checkWindow(bar, k.name);
    }
    openScene("pyramid.apn");
    choose("pnModel");
    checkWindow(bar, "Edit Box Model page");
    choose("pnPanel");
    checkWindow(bar, "Edit Box Panel page");
    bar->SelectTab(1, 0);
    checkWindow(bar, "Edit Box Light page");
    bar->SelectTab(2, 0);
    checkWindow(bar, "Edit Box Camera page");
    bar->SelectTab(0, bar->GetObjectPageKind());
}

TEST(Layout, FloatingBarsOpenOnTheScreen) {
    openScene("pyramid.apn");
    choose("pnPanel");
    // Figures as wide as a user's: a panel far left, scaled down.
    frame()->SetTransformPosition("-446.00", "-1280.50", "-999.99");
    frame()->SetTransformScale("-10.00", "100.00", "0.25");
    struct Pane {
        const char* pane;
        const char* name;
    };
    for (const Pane& p : {Pane{kPaneTransformation, "Transformation bar"}, Pane{kPaneObjectList, "Obect List bar"},
                          Pane{kPaneViewWidth, "View Width bar"}}) {
        showPane(p.pane, true);
        wxAuiPaneInfo& info = frame()->GetAuiManager().GetPane(p.pane);
        checkWindow(info.window, p.name, floatsOnScreen(p.pane));
        showPane(p.pane, false);
    }
    // A place kept from a larger screen (or a monitor that has gone) comes
    // back into the work area.
    frame()->GetAuiManager().GetPane(kPaneObjectList).FloatingPosition(5000, 3000);
    showPane(kPaneObjectList, true);
    checkWindow(frame()->GetAuiManager().GetPane(kPaneObjectList).window, "Obect List bar from a place off the screen",
                floatsOnScreen(kPaneObjectList));
    showPane(kPaneObjectList, false);
    setAnimationMode(true);
    showPane(kPaneEffectList, true);
    checkWindow(frame()->GetAuiManager().GetPane(kPaneEffectList).window, "Effect List bar",
                floatsOnScreen(kPaneEffectList));
    showPane(kPaneEffectList, false);
    setAnimationMode(false);
}

TEST(Layout, AnimationModeShowsTheWholeTimeLineAndEventTree) {
    openScene("allcharts.apn");
    choose("pnBarChart");
    setAnimationMode(true);
    pumpWxEvents(300);
    checkWindow(frame(), "Main window in animation mode");
    setAnimationMode(false);
}

// The first field shows one text: right of the text it shows, the field is
// plain background (a text left from before would show there).
std::vector<std::string> statusFieldPlain(wxStatusBar* status) {
    wxRect field;
    if (!status->GetFieldRect(0, field)) return {"the status bar has no first field"};
    const wxString text = status->GetStatusText(0);
    const int from = field.x + status->GetTextExtent(text).x + 16;
    const wxPoint origin = status->GetScreenPosition();
    GdkPixbuf* pixels = gdk_pixbuf_get_from_window(gdk_get_default_root_window(), origin.x + field.x,
                                                   origin.y + field.y, field.width, field.height);
    if (!pixels) return {"no picture of the status bar"};
    const int stride = gdk_pixbuf_get_rowstride(pixels), channels = gdk_pixbuf_get_n_channels(pixels);
    const guchar* data = gdk_pixbuf_get_pixels(pixels);
    auto at = [&](int x, int y) {
        const guchar* p = data + y * stride + x * channels;
        return (p[0] << 16) | (p[1] << 8) | p[2];
    };
    int marked = 0;
    const int background = at(field.width - 4, field.height / 2);
    for (int y = 3; y < field.height - 3; ++y)
        for (int x = from - field.x; x < field.width - 4; ++x)
            if (at(x, y) != background) ++marked;
    g_object_unref(pixels);
    if (marked == 0) return {};
    return {std::to_string(marked) + " pixels drawn right of the status text \"" + text.ToStdString(wxConvUTF8) +
            "\": an older text shows through"};
}

TEST(Layout, StatusBarAfterHoveringATool) {
    wxAuiToolBar* bar = frame()->GetMainToolBar();
    wxStatusBar* status = frame()->GetStatusBar();
    const wxRect r = bar->GetToolRect(ToWxId(ID_ADD_GRAPH));
    wxUIActionSimulator sim;
    sim.MouseMove(bar->ClientToScreen(r.GetPosition() + wxPoint(r.width / 2, r.height / 2)));
    pumpUntil([&] { return status->GetStatusText(0) != "Ready" && !status->GetStatusText(0).empty(); });
    const wxString hovered = status->GetStatusText(0);
    pumpWxEvents(300);
    checkWindow(status, "Status bar over a tool", statusFieldPlain(status));
    const wxRect scene = frame()->GetChildFrame()->GetScreenRect();
    sim.MouseMove(scene.GetPosition() + wxPoint(20, 20));
    pumpUntil([&] { return status->GetStatusText(0) != hovered; });
    pumpWxEvents(300);
    checkWindow(status, "Status bar after hovering a tool", statusFieldPlain(status));
}

TEST(Layout, SplashAndAbout) {
    CSplashWnd::EnableSplashScreen(true);
    CSplashWnd::ShowSplashScreen(frame());
    if (CSplashWnd* splash = CSplashWnd::Current()) checkWindow(splash, "Splash window");
    pumpUntil([] { return CSplashWnd::Current() == nullptr; }, 8000);
    CSplashWnd::EnableSplashScreen(false);
    checkModal("About", [] { command(ID_APP_ABOUT); });
}

TEST(Layout, DialogsOfTheMenus) {
    openScene("allcharts.apn");
    checkModal("Image Size", [] { command(ID_IMAGE_SIZE); });
    checkModal("Edit Options", [] { command(ID_EDIT_OPTIONS); });
    checkModal("Timeline Options", [] { command(ID_TIMELINE_OPTIONS); });
    checkModal("Background Color", [] { command(ID_BACKGROUND_COLOR); });
    checkModal("Scene Transformation", [] { command(ID_SCENE_TRANSFORM); });
    checkModal("Safety Zone", [] { command(ID_SAFETY_ZONE); });
    checkModal("Add Text", [] { command(ID_ADD_TEXT); });
    checkModal("Add Panel", [] { command(ID_ADD_PANEL); });
    checkModal("Add Model", [] { command(ID_ADD_MODEL); });
    checkModal("Add Graph type", [] { command(ID_ADD_GRAPH); });
    for (const char* type : {"pnBarChart", "pnLineChart", "pnPieChart", "pnVolumeChart"}) {
        chooseChart(type);
        checkModal(std::string("Graph Data of ") + type, [] { command(ID_GRAPH_DATA); });
    }
    chooseChart("pnBarChart");
    checkModal("Label Property", [] { command(ID_LABEL_PROPERTY); });
    checkModal("Value Property", [] { command(ID_VALUE_PROPERTY); });
}

TEST(Layout, DialogsOfTheGraphWizardAndPages) {
    openScene("allcharts.apn");
    wxWindow* parent = frame();
    {
        CGraphTypeDlg dlg(parent);
        checkModalDialog("New Graph: type", dlg);
    }
    for (int type : {GRAPH_BAR, GRAPH_PIE}) {
        CGraphNameDlg dlg(parent, type, view()->GetScene());
        checkModalDialog("New Graph: name " + std::to_string(type), dlg);
    }
    for (int type : {GRAPH_BAR, GRAPH_LINE}) {
        CGraphInputDlg dlg(parent, type, 5);
        checkModalDialog("New Graph: data " + std::to_string(type), dlg);
    }
    {
        CCutShapeDlg dlg(parent, theApp, 1);
        checkModalDialog("Cut Shape of a bar chart", dlg);
    }
    {
        CCutShapeDlg dlg(parent, theApp, 2);
        checkModalDialog("Cut Shape of a line chart", dlg);
    }
    {
        CJointShapeDlg dlg(parent, theApp);
        checkModalDialog("Joint Shape", dlg);
    }
    {
        CLimitHeightDlg dlg(parent, 500, 10);
        checkModalDialog("Limit Height", dlg);
    }
    chooseChart("pnPieChart");
    {
        CLabelPropertyDlg dlg(parent, 1);
        checkModalDialog("Label Property of a pie", dlg);
    }
}

TEST(Layout, MaterialColourAndTextureDialogs) {
    openScene("pyramid.apn");
    const DialogTemplates& t = theApp.m_templates;
    {
        CColorDlg dlg(t.m_iddColor, frame());
        checkModalDialog("Color", dlg);
    }
    {
        CMaterialDetailDlg dlg(t.m_iddMaterialDetail, frame());
        checkModalDialog("Color Detailed", dlg);
    }
    {
        CModelSelectDlg dlg(t.m_iddModelSelect, frame());
        checkModalDialog("Model Selection", dlg);
    }
    {
        CEdgeShadowDlg dlg(frame());
        checkModalDialog("Edge and Shadow", dlg);
    }
    // The material chooser is modeless, one per bar.
    wxWeakRef<CMaterialDlg> slot;
    CMaterialDlg* chooser = CMaterialDlg::ShowFor(slot, frame(), frame(), 1239, "");
    ASSERT_NE(chooser, nullptr);
    checkWindow(chooser, "Material chooser");
    chooser->Destroy();
    // The texture windows of the text, counter, model and panel.
    struct Texture {
        const char* type;
        int kind;
        const char* name;
    };
    openScene("titles.apn");
    for (const Texture& tx : {Texture{"pnString", 1, "Text Texture"}, Texture{"pnPanel", 4, "Panel Texture"}}) {
        choose(tx.type);
        frame()->OpenTextureWindow(tx.kind);
        pumpWxEvents(200);
        wxWindow* w = nullptr;
        for (wxWindow* top : wxTopLevelWindows)
            if (dynamic_cast<CModelTextureDlg*>(top) && top->IsShown()) w = top;
        ASSERT_NE(w, nullptr) << tx.name;
        checkWindow(w, tx.name);
        w->Close();
        pumpWxEvents(100);
    }
    auto textureWindow = [](const char* scene, const char* type, int kind, const char* name) {
        openScene(scene);
        choose(type);
        frame()->OpenTextureWindow(kind);
        pumpWxEvents(200);
        wxWindow* shown = nullptr;
        for (wxWindow* top : wxTopLevelWindows)
            if (dynamic_cast<CModelTextureDlg*>(top) && top->IsShown()) shown = top;
        ASSERT_NE(shown, nullptr) << name;
        checkWindow(shown, name);
        shown->Close();
        pumpWxEvents(100);
    };
    textureWindow("pyramid.apn", "pnModel", 3, "Model Texture");
    textureWindow("allcharts.apn", "pnCounter", 2, "Counter Texture");
}

TEST(Layout, AnimationDialogs) {
    openScene("allcharts.apn");
    pnChart* chart = chooseChart("pnBarChart");
    ASSERT_NE(chart, nullptr);
    setAnimationMode(true);
    {
        CGrowShrinkDlg dlg(frame(), theApp.m_templates.m_iddGrowShrink, chart, 21, 11, 0);
        checkModalDialog("Grow / Shrink Time Setting", dlg);
    }
    {
        auto* dlg = new CCreateEffectDlg(frame(), view());
        dlg->Show();
        checkWindow(dlg, "Creating Effect");
        dlg->Destroy();
    }
    pnScene* scene = view()->GetScene();
    ASSERT_GT(scene->getNumEffects(), 0);
    const std::string effect = scene->getEffect(0)->getName();
    for (int mode : {0, 1, 2}) {
        auto* dlg = new CEffectEditorDlg(frame(), view(), mode, effect);
        dlg->Show();
        checkWindow(dlg, "Effect Editor mode " + std::to_string(mode));
        dlg->Destroy();
    }
    {
        CEffectCopyDlg dlg(frame(), view());
        checkModalDialog("Effect Copy", dlg);
    }
    {
        CCopyOptionDlg dlg(frame(), view(), effect);
        checkModalDialog("Copy Option", dlg);
    }
    setAnimationMode(false);
    pumpWxEvents(100);
}

TEST(Layout, ExportDialogs) {
    {
        CExportProgressDlg* progress = new CExportProgressDlg(frame(), [] {});
        progress->Show();
        checkWindow(progress, "Export progress");
        progress->Destroy();
    }
    {
        AviCompressOptions options;
        CAviCompressorDlg dlg(frame(), options);
        checkModalDialog("Video Compression", dlg);
    }
    // The export file dialogs' own controls, in a plain dialog of the test's.
    struct Extra {
        ExportDialogOptions::Kind kind;
        const char* name;
    };
    for (const Extra& e : {Extra{ExportDialogOptions::Jpeg, "JPEG options"},
                           Extra{ExportDialogOptions::AlphaImage, "Alpha options"},
                           Extra{ExportDialogOptions::Gif, "GIF options"},
                           Extra{ExportDialogOptions::GifAnimation, "GIF animation options"},
                           Extra{ExportDialogOptions::Flash, "Flash options"}}) {
        ExportDialogOptions options;
        options.kind = e.kind;
        options.group = "PNG Option";
        wxDialog host(frame(), wxID_ANY, e.name);
        CExportOptionsPanel::s_pPending = &options;
        wxWindow* panel = CExportOptionsPanel::Create(&host);
        CExportOptionsPanel::s_pPending = nullptr;
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(panel, 1, wxEXPAND);
        host.SetSizerAndFit(sizer);
        host.Show();
        checkWindow(&host, e.name);
        host.Hide();
    }
}

TEST(Layout, Summary) {
    std::printf("layout: %d windows checked, %zu failed\n", g_windows, g_failedWindows.size());
    for (const std::string& w : g_failedWindows) std::printf("  failed: %s\n", w.c_str());
    EXPECT_GT(g_windows, 40);
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Before the toolkit says anything.
    g_log_set_writer_func(onGLibLog, nullptr, nullptr);
    char home[] = "/tmp/kelvano-layout-XXXXXX";
    if (!mkdtemp(home)) return 1;
    setenv("XDG_CONFIG_HOME", home, 1);
    bool second = false;
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--second-set") second = true;
    g_shotFolder = std::string(KELVANO_LAYOUT_SHOTS) + (second ? "/second-set" : "/first-set");
    std::filesystem::remove_all(g_shotFolder);
    std::filesystem::create_directories(g_shotFolder);
    wxApp::SetInitializerFunction(wxCreateApp);
    const int rc = runWxTests(
        argc, argv,
        [&] {
            // The layout set follows the locale the program reads; the
            // toolkit has already started in the test's own.
            if (second) setenv("LC_ALL", "ko_KR.UTF-8", 1);
            const std::string work = std::string(home) + "/work";
            std::filesystem::create_directories(work);
            if (!theApp.InitInstance({}, work)) std::fprintf(stderr, "the program did not start\n");
            // Start-up's own complaints belong to the main window.
        },
        [] {
            if (theApp.GetMainFrame()) {
                if (CKelvanoView* v = theApp.m_pCurrentView) v->m_bModified = 0;
                theApp.GetMainFrame()->Destroy();
                pumpWxEvents(100);
            }
        });
    std::filesystem::remove_all(home);
    return rc;
}
