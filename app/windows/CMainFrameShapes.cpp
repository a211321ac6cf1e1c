// The main frame's part in panels and models: their Edit Box pages, their
// Add commands, and the texture check boxes the texture windows set.
#include "app/core/CKelvanoView.h"
#include "app/core/KelvanoIds.h"
#include "app/windows/CMainFrame.h"
#include "ui/properties/BarRules.h"
#include "ui/properties/CEditBoxBar.h"
#include "ui/properties/CModelPage.h"
#include "ui/properties/CObjectCreators.h"
#include "ui/properties/CPanelPage.h"

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
