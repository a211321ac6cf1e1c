#include "app/CKelvanoCanvas.h"
#include "editor/CKelvanoAppState.h"
#include "ui/animation/CTimeLineOptionsDlg.h"

#include "editor/AboutLinks.h"
#include "app/CAviCompressorDlg.h"
#include "app/BrowserOpener.h"
#include "app/CChildFrame.h"
#include "app/CExportOptionsPanel.h"
#include "app/CExportProgressDlg.h"
#include "app/CKelvanoApp.h"
#include "editor/CKelvanoView.h"
#include "app/CMainFrame.h"
#include "app/CSceneDropTarget.h"
#include "app/KelvanoArt.h"
#include "editor/KelvanoIds.h"
#include "editor/KelvanoMenus.h"
#include "ui/properties/dialogs/CChartDataDlg.h"
#include "ui/properties/dialogs/CColorDlg.h"
#include "ui/properties/dialogs/CSceneDialogs.h"
#include "ui/properties/dialogs/CSizeDialogs.h"
#include "ui/properties/controls/CDibPrintout.h"
#include "ui/properties/dialogs/CLabelPropertyDlg.h"
#include "ui/properties/dialogs/CPreviewImgDlg.h"
#include "ui/properties/rules/ObjectRules.h"

#include <wx/dcclient.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/print.h>
#include <wx/printdlg.h>
#include <wx/utils.h>

#include <cstring>
#include <memory>

#include <GL/gl.h>

namespace {

// wx's wildcard from a filter written as "Scene File(*.apn) |*.apn|".
wxString wildcardOf(const std::string& filter) { return wxString::FromUTF8(DialogWildcard(filter)); }

class CanvasHost : public CViewHost {
public:
    explicit CanvasHost(CKelvanoCanvas* canvas) : m_canvas(canvas) {}

    bool ColorDialog(ColorDialogRequest& request) override {
        CKelvanoAppState* app = GetAppState();
        CColorDlg dlg(app && app->m_templates.m_iddColor ? app->m_templates.m_iddColor : 121, m_canvas->GetMainFrame());
        dlg.SetMakeUnique(request.makeUnique);
        dlg.SetColor(request.color[0], request.color[1], request.color[2]);
        dlg.SetTransparency(request.transparency);
        dlg.SetName(request.name);
        if (dlg.ShowModal() != wxID_OK) return false;
        for (int i = 0; i < 3; ++i) request.color[i] = dlg.GetColor()[i];
        request.transparency = dlg.GetTransparency();
        request.name = dlg.GetNameString();
        return true;
    }

    bool ImageSizeDialog(int& width, int& height, int& constrain) override {
        CImageSizeDlg dlg(m_canvas->GetMainFrame());
        dlg.m_nWidth = width;
        dlg.m_nHeight = height;
        dlg.m_bConstrain = constrain;
        if (dlg.ShowModal() != wxID_OK) return false;
        width = dlg.m_nWidth;
        height = dlg.m_nHeight;
        constrain = dlg.m_bConstrain;
        return true;
    }
    bool EditOptionsDialog(int& offsetX, int& offsetY) override {
        CEditOptionsDlg dlg(m_canvas->GetMainFrame());
        if (dlg.ShowModal() != wxID_OK) return false;
        offsetX = dlg.m_nOffsetX;
        offsetY = dlg.m_nOffsetY;
        return true;
    }

    int MessageBox(const std::string& text, const std::string& caption, int style) override {
        long wxStyle = 0;
        switch (style & 0xF) {
        case KV_MB_YESNOCANCEL: wxStyle = wxYES_NO | wxCANCEL; break;
        case KV_MB_YESNO: wxStyle = wxYES_NO; break;
        case KV_MB_OKCANCEL: wxStyle = wxOK | wxCANCEL; break;
        default: wxStyle = wxOK; break;
        }
        switch (style & 0xF0) {
        case KV_MB_ICONERROR: wxStyle |= wxICON_ERROR; break;
        case KV_MB_ICONQUESTION: wxStyle |= wxICON_QUESTION; break;
        case KV_MB_ICONWARNING: wxStyle |= wxICON_WARNING; break;
        case KV_MB_ICONINFORMATION: wxStyle |= wxICON_INFORMATION; break;
        default: break;
        }
        // A box asked for while a modal dialog runs (a name refused by an
        // editor) is that dialog's child: under a window manager a box of the
        // main window would open behind it and take no input.
        wxWindow* parent = theApp.InnermostModalDialog();
        wxMessageDialog dlg(parent ? parent : m_canvas->GetMainFrame(), wxString::FromUTF8(text),
                            wxString::FromUTF8(caption.empty() ? kv::kAppName : caption), wxStyle);
        switch (dlg.ShowModal()) {
        case wxID_YES: return KV_IDYES;
        case wxID_NO: return KV_IDNO;
        case wxID_OK: return KV_IDOK;
        default: return KV_IDCANCEL;
        }
    }

    bool SceneTransformDialog(SceneTransformRequest& r) override {
        CSceneTransformDlg dlg(m_canvas->GetMainFrame());
        dlg.SetPosition(r.position[0], r.position[1], r.position[2]);
        dlg.SetScale(r.scale[0], r.scale[1], r.scale[2]);
        dlg.SetAngle(r.angle);
        dlg.SetAxis(r.axis[0], r.axis[1], r.axis[2]);
        if (dlg.ShowModal() != dlg.GetAffirmativeId()) return false;
        for (int i = 0; i < 3; ++i) {
            r.position[i] = dlg.GetPosition()[i];
            r.scale[i] = dlg.GetScale()[i];
            r.axis[i] = dlg.GetAxis()[i];
        }
        r.angle = dlg.GetAngle();
        return true;
    }

    bool SafetyZoneDialog(SafetyZoneRequest& r) override {
        CSafetyZoneDlg dlg(m_canvas->GetMainFrame());
        dlg.m_bOn = r.on;
        dlg.SetHorizontal(r.horizontal);
        dlg.SetVertical(r.vertical);
        if (dlg.ShowModal() != dlg.GetAffirmativeId()) return false;
        r.on = dlg.m_bOn;
        r.horizontal = dlg.GetHorizontal();
        r.vertical = dlg.GetVertical();
        return true;
    }

    void RunChartDialog(ChartDialog which) override {
        CMainFrame* frame = m_canvas->GetMainFrame();
        if (which == ChartDialog::Data) {
            RunChartDataDialog(frame);
        } else {
            CLabelPropertyDlg dlg(frame, which == ChartDialog::Label ? 1 : 0);
            dlg.ShowModal();
        }
        m_canvas->Refresh(false);
    }

    void TrackPopupMenu(int popup, int x, int y) override {
        CMainFrame* frame = m_canvas->GetMainFrame();
        std::unique_ptr<wxMenu> menu = CKelvanoCanvas::MakeContextMenu(popup);
        frame->PopupMenu(menu.get(), frame->ScreenToClient(m_canvas->ClientToScreen(wxPoint(x, y))));
    }

    void LaunchBrowser(const std::string& url, std::function<void()> failed) override {
        OpenInBrowser(url, m_canvas, std::move(failed));
    }

    bool RunPrint(bool preview) override {
        CKelvanoView* view = m_canvas->GetView();
        if (!view || !view->m_dibPrint.Valid()) return false;
        CMainFrame* frame = m_canvas->GetMainFrame();
        if (preview) {
            auto* printPreview = new wxPrintPreview(new CDibPrintout(view->m_dibPrint), new CDibPrintout(view->m_dibPrint));
            if (!printPreview->IsOk()) {
                delete printPreview;
                return false;
            }
            auto* previewFrame = new wxPreviewFrame(printPreview, frame, "Print Preview");
            previewFrame->Initialize();
            previewFrame->Show();
            return true;
        }
        wxPrinter printer;
        CDibPrintout printout(view->m_dibPrint);
        return printer.Print(frame, &printout, true);
    }

    void RunTimeLineOptions(CKelvanoDoc& doc) override {
        CTimeLineOptionsDlg dlg(m_canvas->GetMainFrame(), &doc);
        dlg.ShowModal();
    }

    bool FileDialog(const FileDialogRequest& r, std::string& path) override {
        long style = r.save ? wxFD_SAVE : (wxFD_OPEN | wxFD_FILE_MUST_EXIST);
        if (r.save && r.overwritePrompt) style |= wxFD_OVERWRITE_PROMPT;
        wxFileName initial(wxString::FromUTF8(r.initialName));
        wxString dir = initial.GetPath().empty() ? wxString::FromUTF8(r.initialDir) : initial.GetPath();
        wxString name = initial.GetFullName();
        for (;;) {
            // The dialog leaves the current directory alone (no wxFD_CHANGE_DIR).
            std::unique_ptr<wxFileDialog> owned;
            if (r.preview && !r.save)
                owned = std::make_unique<CPreviewImgDlg>(m_canvas->GetMainFrame(), dir.ToStdString(wxConvUTF8),
                                                         name.ToStdString(wxConvUTF8),
                                                         wildcardOf(r.filter).ToStdString(wxConvUTF8));
            else
                owned = std::make_unique<wxFileDialog>(m_canvas->GetMainFrame(), wxString::FromUTF8(r.title), dir, name,
                                                       wildcardOf(r.filter), style);
            wxFileDialog& dlg = *owned;
            if (!r.title.empty()) dlg.SetTitle(wxString::FromUTF8(r.title));
            if (r.options) {
                CExportOptionsPanel::s_pPending = r.options;
                dlg.SetExtraControlCreator(&CExportOptionsPanel::Create);
            }
            const int answer = dlg.ShowModal();
            CExportOptionsPanel::s_pPending = nullptr;
            if (answer != wxID_OK) return false;
            if (r.options)
                if (auto* panel = dynamic_cast<CExportOptionsPanel*>(dlg.GetExtraControl())) panel->Collect(*r.options);
            wxFileName chosen(dlg.GetPath());
            bool appended = false;
            if (r.save && chosen.GetExt().empty() && !r.defaultExtension.empty()) {
                std::string ext = r.defaultExtension;
                if (ext[0] == '.') ext.erase(0, 1);
                chosen.SetExt(wxString::FromUTF8(ext));
                appended = true;
            }
            // The dialog asked about the name as typed; the name with its
            // extension is asked about here.
            if (appended && r.overwritePrompt && chosen.FileExists()) {
                wxMessageDialog ask(m_canvas->GetMainFrame(),
                                    chosen.GetFullPath() + " already exists.\nDo you want to replace it?",
                                    wxString::FromUTF8(r.title.empty() ? kv::kAppName : r.title),
                                    wxYES_NO | wxICON_WARNING);
                if (ask.ShowModal() != wxID_YES) {
                    dir = chosen.GetPath();
                    name = chosen.GetFullName();
                    continue;
                }
            }
            path = chosen.GetFullPath().ToStdString(wxConvUTF8);
            return true;
        }
    }

    void Redraw() override { m_canvas->Refresh(false); }
    bool MakeCurrent() override { return m_canvas->MakeContextCurrent(); }
    void SwapBuffers() override { m_canvas->SwapBuffers(); }
    void SetTimer(int id, int ms) override { m_canvas->StartTimer(id, ms); }
    void KillTimer(int id) override { m_canvas->StopTimer(id); }

    void CenterCursor() override {
        const wxSize size = m_canvas->GetClientSize();
        m_canvas->WarpPointer(size.x / 2, size.y / 2);
    }
    void SetCursor(ViewCursor cursor) override {
        switch (cursor) {
        case ViewCursor::Arrow: m_canvas->SetCursor(wxCursor(wxCURSOR_ARROW)); break;
        case ViewCursor::Wait: m_canvas->SetCursor(wxCursor(wxCURSOR_WAIT)); break;
        case ViewCursor::Move: m_canvas->SetCursor(wxCursor(wxCURSOR_SIZING)); break;
        case ViewCursor::Scale: m_canvas->SetCursor(wxCursor(wxCURSOR_SIZENWSE)); break;
        case ViewCursor::Rotate: m_canvas->SetCursor(KelvanoRotateCursor()); break;
        }
    }

    void SetStatusText(const std::string& text) override {
        if (CMainFrame* frame = m_canvas->GetMainFrame()) frame->SetStatusText(wxString::FromUTF8(text), 0);
    }
    void SetTitle(const std::string& title) override {
        if (CChildFrame* child = m_canvas->GetChildFrame()) child->SetTitleText(title);
    }
    void SetSceneSize(int width, int height) override {
        if (CChildFrame* child = m_canvas->GetChildFrame()) child->SetSceneSize(width, height);
    }
    void CaptureMouse() override {
        if (!m_canvas->HasCapture()) m_canvas->CaptureMouse();
    }
    void ReleaseMouse() override {
        if (m_canvas->HasCapture()) m_canvas->ReleaseMouse();
    }
    CFrameRelays* GetMainFrame() override { return m_canvas->GetMainFrame(); }

    void ShowProgress(const std::string& caption, int minPos, int maxPos, ProgressPlace place) override {
        CloseProgress();
        m_progress = new CExportProgressDlg(m_canvas, [this] {
            if (CKelvanoView* view = m_canvas->GetView()) view->OnExportCancel();
        });
        m_progress->SetTitle(wxString::FromUTF8(caption));
        m_progress->SetRange(minPos, maxPos);
        m_progress->Show();
        // Below the scene's bottom-right corner or the middle of its bottom
        // edge, inside the screen's work area.
        const wxSize size = m_canvas->GetClientSize();
        const int x = place == ProgressPlace::BottomMiddle ? size.x / 2 : size.x;
        m_progress->PlaceAt(m_canvas->ClientToScreen(wxPoint(x, size.y)));
        m_progress->Update();
    }
    bool ChooseAviCompressor(AviCompressOptions& options) override {
        CAviCompressorDlg dlg(m_canvas->GetMainFrame(), options);
        if (dlg.ShowModal() != wxID_OK) return false;
        dlg.Collect(options);
        return true;
    }
    void SetProgressPos(int pos) override {
        if (m_progress) m_progress->SetPos(pos);
    }
    void SetProgressText(const std::string& text) override {
        if (m_progress) m_progress->SetStatusText(text);
    }
    void CloseProgress() override {
        if (!m_progress) return;
        m_progress->Hide();
        m_progress->Destroy();
        m_progress = nullptr;
    }

private:
    CExportProgressDlg* m_progress = nullptr;
    CKelvanoCanvas* m_canvas;
};

wxGLAttributes makeAttributes(int alpha, bool accum) {
    wxGLAttributes a;
    a.PlatformDefaults().RGBA().MinRGBA(8, 8, 8, alpha).Depth(24).Stencil(8).DoubleBuffer();
    if (accum) a.MinAcumRGBA(16, 16, 16, 16);
    a.EndList();
    return a;
}

}  // namespace

wxGLAttributes CKelvanoCanvas::ChooseAttributes(bool* accumRequested) {
    for (int alpha : {8, 0}) {
        for (bool accum : {true, false}) {
            wxGLAttributes a = makeAttributes(alpha, accum);
            if (wxGLCanvas::IsDisplaySupported(a)) {
                if (accumRequested) *accumRequested = accum;
                return a;
            }
        }
    }
    if (accumRequested) *accumRequested = false;
    wxGLAttributes a;
    a.Defaults().EndList();
    return a;
}

std::unique_ptr<wxMenu> CKelvanoCanvas::MakeContextMenu(int popup) {
    auto menu = std::make_unique<wxMenu>();
    for (const kv::MenuEntry& e : kv::ContextMenu(popup)) {
        if (e.kind == kv::MenuEntry::Separator) menu->AppendSeparator();
        else if (e.kind == kv::MenuEntry::Item) menu->Append(kv::ToWxId(e.id), wxString::FromUTF8(e.text));
        else if (e.kind == kv::MenuEntry::Check) menu->AppendCheckItem(kv::ToWxId(e.id), wxString::FromUTF8(e.text));
    }
    return menu;
}

CKelvanoCanvas::CKelvanoCanvas(CChildFrame* parent, CMainFrame* frame, const wxGLAttributes& attributes,
                               const wxSize& size)
    : wxGLCanvas(parent, attributes, wxID_ANY, wxPoint(0, 0), size, wxFULL_REPAINT_ON_RESIZE | wxWANTS_CHARS),
      m_pChild(parent),
      m_pFrame(frame) {
    m_pHost = std::make_unique<CanvasHost>(this);
    m_pView = std::make_unique<CKelvanoView>(theApp.m_pCurrentDoc, m_pHost.get());
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CKelvanoCanvas::OnPaint, this);
    Bind(wxEVT_SIZE, &CKelvanoCanvas::OnSize, this);
    Bind(wxEVT_ERASE_BACKGROUND, [](wxEraseEvent&) {});
    Bind(wxEVT_TIMER, &CKelvanoCanvas::OnTimerEvent, this);
    Bind(wxEVT_KEY_DOWN, &CKelvanoCanvas::OnKeyDown, this);
    Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& e) {
        e.Skip();
        if (m_pView) m_pView->OnSetFocus();
    });
    SetDropTarget(new CSceneDropTarget);
    Bind(wxEVT_LEFT_DOWN, &CKelvanoCanvas::OnMouse, this);
    Bind(wxEVT_LEFT_UP, &CKelvanoCanvas::OnMouse, this);
    Bind(wxEVT_MOTION, &CKelvanoCanvas::OnMouse, this);
    Bind(wxEVT_LEFT_DCLICK, [this](wxMouseEvent& e) {
        e.Skip();
        if (theApp.ModalDialogOpen()) return;
        if (m_pView && MakeContextCurrent()) m_pView->OnLButtonDblClk(e.GetX(), e.GetY());
    });
    Bind(wxEVT_CONTEXT_MENU, [this](wxContextMenuEvent& e) {
        if (theApp.ModalDialogOpen()) return;
        // From the keyboard the event has no point: the mouse's is used.
        const wxPoint screen = e.GetPosition() == wxDefaultPosition ? wxGetMousePosition() : e.GetPosition();
        const wxPoint at = ScreenToClient(screen);
        if (m_pView && MakeContextCurrent()) m_pView->OnContextMenu(at.x, at.y);
    });
    // Another window took the mouse during a drag: the drag ends there and
    // its undo step is completed.
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) {
        if (m_pView) m_pView->OnCaptureLost();
    });
}

namespace {
int viewModifiers(const wxKeyboardState& state) {
    return (state.ShiftDown() ? KV_MOD_SHIFT : 0) | (state.ControlDown() ? KV_MOD_CTRL : 0);
}
}  // namespace

void CKelvanoCanvas::OnMouse(wxMouseEvent& event) {
    event.Skip();
    // Nothing starts under a modal dialog (a placement, a drag).
    if (event.LeftDown() && theApp.ModalDialogOpen()) return;
    if (event.LeftDown()) SetFocus();  // the view's keys reach it after a click
    if (!m_pView || !MakeContextCurrent()) return;
    const int mods = viewModifiers(event);
    if (event.LeftDown())
        m_pView->OnLButtonDown(event.GetX(), event.GetY(), mods);
    else if (event.LeftUp())
        m_pView->OnLButtonUp(event.GetX(), event.GetY(), mods);
    else if (event.Moving() || event.Dragging())
        m_pView->OnMouseMove(event.GetX(), event.GetY(), mods);
}

CKelvanoCanvas::~CKelvanoCanvas() { ReleaseView(); }

bool CKelvanoCanvas::MakeContextCurrent() {
    if (!m_pContext) {
        if (!IsShownOnScreen()) return false;
        m_pContext = std::make_unique<wxGLContext>(this);
        if (!m_pContext->IsOK() || !SetCurrent(*m_pContext)) {
            m_pContext.reset();
            return false;
        }
        GLFormatInfo format;
        GLint bits = 0;
        glGetIntegerv(GL_RED_BITS, &bits), format.redBits = bits;
        glGetIntegerv(GL_GREEN_BITS, &bits), format.greenBits = bits;
        glGetIntegerv(GL_BLUE_BITS, &bits), format.blueBits = bits;
        glGetIntegerv(GL_ALPHA_BITS, &bits), format.alphaBits = bits;
        glGetIntegerv(GL_DEPTH_BITS, &bits), format.depthBits = bits;
        glGetIntegerv(GL_STENCIL_BITS, &bits), format.stencilBits = bits;
        glGetIntegerv(GL_ACCUM_RED_BITS, &bits), format.accumRedBits = bits;
        if (m_pView) {
            m_pView->OnCreate(format);
            const wxSize client = GetClientSize();
            m_pView->OnSize(client.x, client.y);
            m_pHost->SetCursor(m_pView->CurrentCursor());
            m_pView->OnInitialUpdate();
        }
        return true;
    }
    return SetCurrent(*m_pContext);
}

void CKelvanoCanvas::ReleaseView() {
    for (auto& [id, timer] : m_timers) timer->Stop();
    m_timers.clear();
    if (m_pView) {
        if (m_pContext) SetCurrent(*m_pContext);
        m_pView->OnDestroy();
        m_pView.reset();
    }
    m_pContext.reset();
}

void CKelvanoCanvas::StartTimer(int id, int milliseconds) {
    auto& timer = m_timers[id];
    if (!timer) timer = std::make_unique<wxTimer>(this, id);
    timer->Start(milliseconds);
}

void CKelvanoCanvas::StopTimer(int id) {
    auto it = m_timers.find(id);
    if (it != m_timers.end()) it->second->Stop();
}

void CKelvanoCanvas::OnTimerEvent(wxTimerEvent& event) {
    if (m_pView) m_pView->OnTimer(event.GetId());
}

void CKelvanoCanvas::OnKeyDown(wxKeyEvent& event) {
    // A key queued before a modal dialog took the input (typed fast into the
    // main window) opens no second dialog under it, nor changes the scene.
    if (theApp.ModalDialogOpen()) return;
    // Alt and Meta combinations belong to the menus.
    if (!m_pView || (event.GetModifiers() & (wxMOD_ALT | wxMOD_META))) {
        event.Skip();
        return;
    }
    int key = event.GetKeyCode() == WXK_NUMPAD_ENTER ? WXK_RETURN : event.GetKeyCode();
    switch (key) {
    case WXK_LEFT: key = KV_KEY_LEFT; break;
    case WXK_RIGHT: key = KV_KEY_RIGHT; break;
    case WXK_UP: key = KV_KEY_UP; break;
    case WXK_DOWN: key = KV_KEY_DOWN; break;
    case WXK_DELETE: key = KV_KEY_DELETE; break;
    default: {
        // Shift+digit: a key-down carries the unshifted digit; a layout that
        // reports the shifted sign maps back from the US row.
        static const char kShifted[] = "!@#$%^";
        if (const char* at = key > 0 && key < 128 ? std::strchr(kShifted, key) : nullptr) key = '1' + int(at - kShifted);
        if (key >= 'a' && key <= 'z') key -= 'a' - 'A';
        // Ctrl with a letter or digit is a menu accelerator.
        if (event.ControlDown() && key < 128) {
            event.Skip();
            return;
        }
    }
    }
    MakeContextCurrent();
    if (m_pView->OnKeyDown(key, viewModifiers(event))) return;
    event.Skip();
}

void CKelvanoCanvas::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    if (m_pView) m_pView->OnDraw();
}

void CKelvanoCanvas::OnSize(wxSizeEvent& event) {
    const wxSize client = GetClientSize();
    if (m_pView) m_pView->OnSize(client.x, client.y);
    Refresh(false);
    event.Skip();
}
