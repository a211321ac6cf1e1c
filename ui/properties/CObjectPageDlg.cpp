#include "ui/properties/CObjectPageDlg.h"

#include "app/core/CKelvanoAppState.h"
#include "app/core/CKelvanoDoc.h"
#include "app/core/CKelvanoView.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "ui/properties/CNumEdit.h"
#include "ui/properties/ViewAccelerators.h"


CObjectPageDlg::CObjectPageDlg(wxWindow* parent, int templateId)
    : wxPanel(parent, templateId, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL) {
    // Embedded, the container owns the keys.
    const CKelvanoAppState* app = GetAppState();
    if (!app || !app->m_bEmbedded) InstallViewAccelerators(this);
}

pnObject* CObjectPageDlg::SelectedObject() {
    const CKelvanoAppState* app = GetAppState();
    if (!app || !app->m_pCurrentDoc || !app->m_pCurrentView) return nullptr;
    return app->m_pCurrentDoc->m_pSelectedObject;
}

int CObjectPageDlg::CommitNameEdit(CNumEdit* edit, pnObject* object, int& guard, const std::string& duplicateSuffix,
                                   const std::string& caption) {
    const CKelvanoAppState* app = GetAppState();
    CKelvanoView* view = app ? app->m_pCurrentView : nullptr;
    if (!edit || !object || !view || !view->GetScene() || view->m_bAnimationMode || !guard) return 0;
    const std::string typed = edit->GetText();
    const std::string current = object->getName();
    if (typed == current) return 0;
    if (typed.empty() || typed.size() > CKelvanoView::kMaxObjectNameBytes) {
        edit->ChangeValue(wxString::FromUTF8(current));
        return 0;
    }
    if (view->GetScene()->findObject(typed.c_str())) {
        guard = 0;
        if (view->GetHost())
            view->GetHost()->MessageBox("\"" + typed + "\"" + duplicateSuffix, caption, KV_MB_OK | KV_MB_ICONERROR);
        edit->Suggest(view->MakeUniqueObjectName(typed));
        guard = 1;
        return 0;
    }
    return view->RenameObject(object, typed);
}
