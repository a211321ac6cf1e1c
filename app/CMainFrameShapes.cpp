// The main frame's part in panels and models: their Edit Box pages, their
// Add commands, the texture windows and the texture check boxes they set.
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/KelvanoIds.h"
#include "app/CMainFrame.h"
#include "ui/properties/rules/BarRules.h"
#include "ui/properties/bars/CEditBoxBar.h"
#include "ui/properties/pages/CModelPage.h"
#include "ui/properties/dialogs/CModelTextureDlg.h"
#include "ui/properties/dialogs/CObjectCreators.h"
#include "ui/properties/pages/CPanelPage.h"
#include "scene/pnPanel.h"

void CMainFrame::InstallShapePages() {
    if (!m_pEditBoxBar) return;
    m_pEditBoxBar->SetRolePage(PAGE_PANEL, new CPanelPage(m_pEditBoxBar->PageParent(PAGE_PANEL)));
    m_pEditBoxBar->SetRolePage(PAGE_MODEL, new CModelPage(m_pEditBoxBar->PageParent(PAGE_MODEL)));
    m_pPanelCreator = std::make_unique<CPanelCreator>(this, m_pEditBoxBar);
    m_pModelCreator = std::make_unique<CModelCreator>(this, m_pEditBoxBar);
    if (CKelvanoView* view = GetView()) {
        view->SetObjectCreator(kv::ID_ADD_PANEL, m_pPanelCreator.get());
        view->SetObjectCreator(kv::ID_ADD_MODEL, m_pModelCreator.get());
    }
}

void CMainFrame::SetPanelPageTextureCheck(int on) {
    if (auto* page = m_pEditBoxBar ? dynamic_cast<CPanelPage*>(m_pEditBoxBar->GetPage(PAGE_PANEL)) : nullptr)
        page->SetTextureCheck(on != 0);
}

void CMainFrame::SetModelPageTextureCheck(int on) {
    if (auto* page = m_pEditBoxBar ? dynamic_cast<CModelPage*>(m_pEditBoxBar->GetPage(PAGE_MODEL)) : nullptr)
        page->SetTextureCheck(on != 0);
}

void CMainFrame::OpenTextureWindow(int kind) {
    CKelvanoView* view = GetView();
    CKelvanoDoc* doc = view ? view->GetDocument() : nullptr;
    pnObject* object = doc ? doc->m_pSelectedObject : nullptr;
    if (kind < 1 || kind > 4 || !object) return;
    CModelTextureDlg*& slot = m_pTextureWindows[kind - 1];
    if (slot) {
        slot->Raise();
        return;
    }
    CModelTextureDlg* dlg = nullptr;
    if (kind == 4) {
        auto* panel = dynamic_cast<pnPanel*>(object);
        if (!panel) return;
        auto* made = new CPanelTextureDlg(this);
        int faces[pnPanel::NUM_FACES];
        panel->getFaceFlags(faces);
        made->SetTextureFile(object->getTexture(), object->getNumIndex(), faces);
        dlg = made;
    } else {
        dlg = kind == 3 ? new CModelTextureDlg(this) : new CTextTextureDlg(this, kind == 2);
        dlg->SetTextureFile(object->getTexture(), object->getNumIndex());
    }
    dlg->SetTextureMode(object->getTexMode());
    dlg->SetMappingMode(object->getMode());
    dlg->SetClosedHandler([this, kind] { m_pTextureWindows[kind - 1] = nullptr; });
    slot = dlg;
    if (!dlg->Create()) {
        slot = nullptr;
        dlg->Destroy();
    }
}

int CMainFrame::ShowTextureWindowValues(float a, float b) {
    // Panel, model, text, then counter.
    for (int kind : {4, 3, 1, 2})
        if (CModelTextureDlg* dlg = m_pTextureWindows[kind - 1]) {
            dlg->ShowMapping(a, b);
            return 1;
        }
    return 0;
}

void CMainFrame::ForgetTextureWindows() {
    for (CModelTextureDlg*& dlg : m_pTextureWindows) {
        if (dlg) dlg->SetClosedHandler({});
        dlg = nullptr;
    }
}
