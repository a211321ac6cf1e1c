#include "ui/properties/CCameraPreviewCtrl.h"

#include <algorithm>

CCameraPreviewCtrl::CCameraPreviewCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : CGLPreviewCanvas(parent, id, pos, size) {
    m_model.SetClientSize(size.x, size.y);
    Bind(wxEVT_LEFT_DOWN, &CCameraPreviewCtrl::OnMouse, this);
    Bind(wxEVT_LEFT_UP, &CCameraPreviewCtrl::OnMouse, this);
    Bind(wxEVT_MOTION, &CCameraPreviewCtrl::OnMouse, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { EndDrag(); });
}

void CCameraPreviewCtrl::SetEyeVec(const float v[3]) {
    m_model.SetEyeXYZ(v[0], v[1], v[2]);
    for (int i = 0; i < 3; ++i) m_model.m_vEye[i] = v[i];
}

bool CCameraPreviewCtrl::SizeGL(int width, int height) {
    m_model.SetClientSize(width, height);
    return CCameraPreviewModel::Size(width, height);
}

void CCameraPreviewCtrl::OnMouse(wxMouseEvent& event) {
    // Capture and clamping stand for confining the cursor.
    const wxSize client = GetClientSize();
    const wxPoint p(std::clamp(event.GetX(), 0, std::max(0, client.x - 1)),
                    std::clamp(event.GetY(), 0, std::max(0, client.y - 1)));
    if (event.LeftDown()) {
        m_ptLast = p;
        m_bDragging = true;
        if (!HasCapture()) CaptureMouse();
    } else if (event.Dragging() && m_bDragging) {
        if (m_model.Drag(m_ptLast.x, m_ptLast.y, p.x, p.y)) {
            Redraw();
            m_ptLast = p;
        }
    } else if (event.LeftUp() && m_bDragging) {
        if (HasCapture()) ReleaseMouse();
        EndDrag();
    }
}

void CCameraPreviewCtrl::EndDrag() {
    if (!m_bDragging) return;
    m_bDragging = false;
    if (m_onEyeChanged) m_onEyeChanged(m_model.m_eye.m_x, m_model.m_eye.m_y, m_model.m_eye.m_z);
}
