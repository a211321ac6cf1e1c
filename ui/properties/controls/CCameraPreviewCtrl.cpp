#include "ui/properties/controls/CCameraPreviewCtrl.h"

CCameraPreviewCtrl::CCameraPreviewCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : CGLPreviewCanvas(parent, id, pos, size) {
    m_model.SetClientSize(size.x, size.y);
    EnableMouseDrags();
}

void CCameraPreviewCtrl::SetEyeVec(const float v[3]) {
    m_model.SetEyeXYZ(v[0], v[1], v[2]);
    for (int i = 0; i < 3; ++i) m_model.m_vEye[i] = v[i];
}

bool CCameraPreviewCtrl::SizeGL(int width, int height) {
    m_model.SetClientSize(width, height);
    return CCameraPreviewModel::Size(width, height);
}

void CCameraPreviewCtrl::DragEnded() {
    if (m_onEyeChanged) m_onEyeChanged(m_model.m_eye.m_x, m_model.m_eye.m_y, m_model.m_eye.m_z);
}
