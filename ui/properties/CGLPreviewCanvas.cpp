#include "ui/properties/CGLPreviewCanvas.h"

#include "app/core/CKelvanoAppState.h"
#include "app/core/CKelvanoView.h"

#include <wx/dcclient.h>

namespace {

wxGLAttributes previewAttributes() {
    wxGLAttributes a;
    a.PlatformDefaults().RGBA().MinRGBA(8, 8, 8, 0).Depth(24).DoubleBuffer().EndList();
    return a;
}

}  // namespace

CGLPreviewCanvas::CGLPreviewCanvas(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxGLCanvas(parent, previewAttributes(), id, pos, size, wxFULL_REPAINT_ON_RESIZE) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CGLPreviewCanvas::OnPaint, this);
    Bind(wxEVT_SIZE, &CGLPreviewCanvas::OnSize, this);
}

CGLPreviewCanvas::~CGLPreviewCanvas() {
    m_pContext.reset();
    RestoreViewContext();
}

bool CGLPreviewCanvas::MakeCurrentHere() {
    if (!IsShownOnScreen()) return false;
    if (!m_pContext) {
        m_pContext = std::make_unique<wxGLContext>(this);
        if (!m_pContext->IsOK()) {
            m_pContext.reset();
            return false;
        }
    }
    return SetCurrent(*m_pContext);
}

void CGLPreviewCanvas::RestoreViewContext() {
    CKelvanoAppState* app = GetAppState();
    CKelvanoView* view = app ? app->m_pCurrentView : nullptr;
    if (view && view->GetHost()) view->GetHost()->MakeCurrent();
}

void CGLPreviewCanvas::OnSize(wxSizeEvent& event) {
    event.Skip();
    const wxSize client = GetClientSize();
    if (!MakeCurrentHere()) {
        m_bSized = false;
        return;
    }
    m_bSized = SizeGL(client.x, client.y);
    RestoreViewContext();
}

void CGLPreviewCanvas::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    if (!MakeCurrentHere()) return;
    const wxSize client = GetClientSize();
    // The first paint after the window was realized sizes it too.
    if (!m_bSized) m_bSized = SizeGL(client.x, client.y);
    if (m_bSized) {
        RenderGL();
        SwapBuffers();
    }
    RestoreViewContext();
}
