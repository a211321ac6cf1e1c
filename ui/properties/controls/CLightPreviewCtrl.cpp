#include "ui/properties/controls/CLightPreviewCtrl.h"

#include "ui/properties/rules/CLightPreviewModel.h"

CLightPreviewCtrl::CLightPreviewCtrl(wxWindow* parent, wxWindowID id, CLightPreviewModel& model, const wxPoint& pos,
                                     const wxSize& size)
    : CGLPreviewCanvas(parent, id, pos, size), m_model(model) {
    m_model.SetClientSize(size.x, size.y);
    EnableMouseDrags();
}

bool CLightPreviewCtrl::SizeGL(int width, int height) {
    m_model.SetClientSize(width, height);
    return m_model.Size(width, height);
}

void CLightPreviewCtrl::RenderGL() { m_model.Render(); }

bool CLightPreviewCtrl::DragStep(int x0, int y0, int x, int y) {
    m_model.Drag(x0, y0, x, y);
    return true;
}

void CLightPreviewCtrl::DragEnded() {
    if (m_onDrop && m_model.m_nCurrent >= 0) m_onDrop();
}
