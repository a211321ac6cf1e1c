#include "ui/properties/controls/CMaterialGridCtrl.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoView.h"
#include "ui/properties/rules/CMaterialChooserLogic.h"
#include "ui/properties/rules/PreviewRender.h"
#include "scene/pnScene.h"

CMaterialGridCtrl::CMaterialGridCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, CMaterialChooserLogic& logic)
    : CGLPreviewCanvas(parent, id, pos, wxSize(160, 160)), m_logic(logic) {
    Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& e) {
        m_logic.Click(e.GetX(), e.GetY());
        m_ptLast = e.GetPosition();
        e.Skip();
    });
    Bind(wxEVT_LEFT_DCLICK, [this](wxMouseEvent& e) {
        m_logic.DoubleClick(e.GetX(), e.GetY());
        m_ptLast = e.GetPosition();
        e.Skip();
    });
}

bool CMaterialGridCtrl::SizeGL(int width, int height) { return SizeMaterialGrid(width, height); }

void CMaterialGridCtrl::RenderGL() {
    CKelvanoView* view = CurrentView();
    if (!view) return;
    const wxSize client = GetClientSize();
    SizeMaterialGrid(client.x, client.y);
    m_logic.m_nCount = view->GetScene() ? view->GetScene()->getNumMaterials() : 0;
    RenderMaterialGrid(view->GetScene(), m_logic.m_nPage);
    const int cell = m_logic.m_bHasSelection ? m_logic.m_nSelected - m_logic.m_nPage * 16 : -1;
    DrawMaterialGridFrames(client.x, client.y, cell);
}
