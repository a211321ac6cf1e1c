#include "ui/properties/CLightPreviewCtrl.h"

#include "ui/properties/CLightPreviewModel.h"

#include <algorithm>

CLightPreviewCtrl::CLightPreviewCtrl(wxWindow* parent, wxWindowID id, CLightPreviewModel& model, const wxPoint& pos,
                                     const wxSize& size)
    : CGLPreviewCanvas(parent, id, pos, size), m_model(model) {
    m_model.SetClientSize(size.x, size.y);
    Bind(wxEVT_LEFT_DOWN, &CLightPreviewCtrl::OnMouse, this);
    Bind(wxEVT_LEFT_UP, &CLightPreviewCtrl::OnMouse, this);
    Bind(wxEVT_MOTION, &CLightPreviewCtrl::OnMouse, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { EndDrag(); });
}

bool CLightPreviewCtrl::SizeGL(int width, int height) {
    m_model.SetClientSize(width, height);
    return m_model.Size(width, height);
}

void CLightPreviewCtrl::RenderGL() { m_model.Render(); }

void CLightPreviewCtrl::OnMouse(wxMouseEvent& event) {
    // Capture and clamping keep the cursor's point inside the control.
    const wxSize client = GetClientSize();
    const wxPoint p(std::clamp(event.GetX(), 0, std::max(0, client.x - 1)),
                    std::clamp(event.GetY(), 0, std::max(0, client.y - 1)));
    if (event.LeftDown()) {
        m_ptLast = p;
        m_bDragging = true;
        if (!HasCapture()) CaptureMouse();
    } else if (event.Dragging() && m_bDragging) {
        if (m_model.Drag(m_ptLast.x, m_ptLast.y, p.x, p.y)) Redraw();
        m_ptLast = p;
    } else if (event.LeftUp() && m_bDragging) {
        if (HasCapture()) ReleaseMouse();
        EndDrag();
    }
}

void CLightPreviewCtrl::EndDrag() {
    if (!m_bDragging) return;
    m_bDragging = false;
    if (m_onDrop && m_model.m_nCurrent >= 0) m_onDrop();
}
