#include "ui/properties/CObjectPageDlg.h"

#include "app/core/CKelvanoAppState.h"
#include "app/core/CKelvanoDoc.h"
#include "scene/pnObject.h"
#include "ui/properties/ViewAccelerators.h"

#include <cstring>

CObjectPageDlg::CObjectPageDlg(wxWindow* parent, int templateId)
    : wxPanel(parent, templateId, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL) {
    // Embedded, the container owns the keys.
    const CKelvanoAppState* app = GetAppState();
    if (!app || !app->m_bEmbedded) InstallViewAccelerators(this);
}

pnObject* CObjectPageDlg::SelectedObjectOfType(const char* typeName) {
    const CKelvanoAppState* app = GetAppState();
    if (!app || !app->m_pCurrentDoc || !app->m_pCurrentView || !typeName) return nullptr;
    pnObject* selected = app->m_pCurrentDoc->m_pSelectedObject;
    return selected && std::strcmp(selected->getTypeName(), typeName) == 0 ? selected : nullptr;
}
