#include "ui/properties/dialogs/CObjectCreators.h"

#include "editor/CKelvanoAppState.h"
#include "scene/pnModel.h"
#include "scene/pnPanel.h"
#include "ui/properties/rules/BarRules.h"
#include "ui/properties/dialogs/CAddPanelDlg.h"
#include "ui/properties/bars/CEditBoxBar.h"
#include "ui/properties/pages/CModelPage.h"
#include "ui/properties/dialogs/CModelSelectDlg.h"
#include "ui/properties/pages/CPanelPage.h"

bool CPanelCreator::RunDialog() {
    CAddPanelDlg dlg(m_pParent);
    if (dlg.ShowModal() != wxID_OK) return false;
    m_strName = dlg.m_strName;
    m_fTaper = dlg.m_fTaper;
    dlg.GetSize(m_fX, m_fY, m_fZ);
    return true;
}

std::string CPanelCreator::CreateObject() {
    if (!m_pBar) return std::string();
    m_pBar->SelectTab(0, 1);
    auto* page = dynamic_cast<CPanelPage*>(m_pBar->GetPage(PAGE_PANEL));
    pnPanel* made = page ? page->CreatePanel(m_strName, m_fX, m_fY, m_fZ, m_fTaper) : nullptr;
    return made ? made->getName() : std::string();
}

bool CModelCreator::RunDialog() {
    const CKelvanoAppState* app = GetAppState();
    const int tpl = app && app->m_templates.m_iddModelSelect ? app->m_templates.m_iddModelSelect : 156;
    CModelSelectDlg dlg(tpl, m_pParent);
    if (dlg.ShowModal() != wxID_OK) return false;
    m_strName = dlg.GetModelName();
    m_strPath = dlg.GetFilePath();
    return true;
}

std::string CModelCreator::CreateObject() {
    if (!m_pBar) return std::string();
    m_pBar->SelectTab(0, 2);
    auto* page = dynamic_cast<CModelPage*>(m_pBar->GetPage(PAGE_MODEL));
    pnModel* made = page ? page->CreateModel(m_strName, m_strPath) : nullptr;
    return made ? made->getName() : std::string();
}
