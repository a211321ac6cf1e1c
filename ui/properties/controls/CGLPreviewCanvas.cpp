#include "ui/properties/controls/CGLPreviewCanvas.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoView.h"

#include <wx/dcclient.h>

#include <algorithm>

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
    CKelvanoView* view = CurrentView();
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

void CGLPreviewCanvas::EnableMouseDrags() {
    Bind(wxEVT_LEFT_DOWN, &CGLPreviewCanvas::OnDragMouse, this);
    Bind(wxEVT_LEFT_UP, &CGLPreviewCanvas::OnDragMouse, this);
    Bind(wxEVT_MOTION, &CGLPreviewCanvas::OnDragMouse, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { EndDrag(); });
}

void CGLPreviewCanvas::OnDragMouse(wxMouseEvent& event) {
    // Capture and clamping stand for confining the cursor.
    const wxSize client = GetClientSize();
    const wxPoint p(std::clamp(event.GetX(), 0, std::max(0, client.x - 1)),
                    std::clamp(event.GetY(), 0, std::max(0, client.y - 1)));
    if (event.LeftDown()) {
        m_ptLast = p;
        m_bDragging = true;
        if (!HasCapture()) CaptureMouse();
    } else if (event.Dragging() && m_bDragging) {
        if (DragStep(m_ptLast.x, m_ptLast.y, p.x, p.y)) {
            Redraw();
            m_ptLast = p;
        }
    } else if (event.LeftUp() && m_bDragging) {
        if (HasCapture()) ReleaseMouse();
        EndDrag();
    }
}

void CGLPreviewCanvas::EndDrag() {
    if (!m_bDragging) return;
    m_bDragging = false;
    DragEnded();
}
