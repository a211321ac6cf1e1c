#include "ui/properties/controls/TextEditing.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoView.h"
#include "editor/CObjectCreator.h"
#include "editor/KelvanoIds.h"
#include "ui/properties/rules/BarRules.h"
#include "ui/properties/dialogs/CAddTextDlg.h"
#include "ui/properties/dialogs/CEdgeShadowDlg.h"
#include "ui/properties/bars/CEditBoxBar.h"
#include "ui/properties/pages/CTextPage.h"
#include "ui/properties/pages/PageHooks.h"

#include <wx/weakref.h>

#include <memory>

namespace {

// Add Text: the "Text" dialog, then the text page builds the object.
class CTextCreator : public CObjectCreator {
public:
    CTextCreator(CEditBoxBar* bar, CTextPage* page) : m_bar(bar), m_page(page) {}

    bool RunDialog() override {
        const CKelvanoAppState* app = GetAppState();
        const int templateId = app && app->m_templates.m_iddAddText ? app->m_templates.m_iddAddText : 161;
        CAddTextDlg dlg(templateId, m_bar ? wxGetTopLevelParent(m_bar.get()) : nullptr);
        if (dlg.ShowModal() != wxID_OK || dlg.m_strText.empty()) return false;
        m_name = dlg.m_strName;
        m_text = dlg.m_strText;
        m_face = dlg.m_strFace;
        m_size = dlg.m_nSize;
        m_italic = dlg.m_bItalic;
        return true;
    }

    std::string CreateObject() override {
        if (!m_bar || !m_page) return "";
        m_bar->SelectTab(0, 0);
        return m_page->CreateText(m_name, m_text, m_face, m_size, m_italic);
    }

private:
    wxWeakRef<CEditBoxBar> m_bar;
    wxWeakRef<CTextPage> m_page;
    std::string m_name, m_text, m_face;
    int m_size = 64;
    int m_italic = 0;
};

std::unique_ptr<CTextCreator> textCreator;

}  // namespace

void InstallTextEditing(CEditBoxBar* bar, CKelvanoView* view) {
    if (!bar) return;
    const CKelvanoAppState* app = GetAppState();
    const int templateId = app && app->m_templates.m_iddTextPage ? app->m_templates.m_iddTextPage : CTextPage::kTemplate;
    auto* page = new CTextPage(bar->PageParent(PAGE_TEXT), templateId);
    bar->SetRolePage(PAGE_TEXT, page);
    textCreator = std::make_unique<CTextCreator>(bar, page);
    if (view) view->SetObjectCreator(kv::ID_ADD_TEXT, textCreator.get());
    PageHooks::StyleEdgeShadowDialog() = RunStyleEdgeShadowDialog;
}
