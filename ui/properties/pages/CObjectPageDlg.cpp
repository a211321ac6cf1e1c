#include "ui/properties/pages/CObjectPageDlg.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoView.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/LayoutFit.h"
#include "ui/properties/controls/ViewAccelerators.h"
#include "sg/sgRuntime.h"

#include <wx/settings.h>
#include <wx/sizer.h>

CObjectPageDlg::CObjectPageDlg(wxWindow* parent, int templateId)
    // Until the bar lays the page out it keeps a size its scroll bars fit in
    // (GTK complains about a scroll bar squeezed into the default 20 pixels).
    : wxScrolledWindow(parent, templateId, wxDefaultPosition, wxSize(200, 200), wxTAB_TRAVERSAL | wxVSCROLL) {
    // Up and down only: the bar is as wide as its widest page.
    SetScrollRate(0, 10);
    layout::ShowScrollBars(this);
    // Embedded, the container owns the keys.
    const CKelvanoAppState* app = GetAppState();
    if (!app || !app->m_bEmbedded) InstallViewAccelerators(this);
}

wxSize CObjectPageDlg::DoGetBestSize() const {
    wxSize best = GetSizer() ? GetSizer()->GetMinSize() : wxSize(20, 20);
    best.x += wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, this);
    return best;
}

int CObjectPageDlg::CommitNameEdit(CNumEdit* edit, pnObject* object, int& guard, const std::string& duplicateSuffix,
                                   const std::string& caption) {
    CKelvanoView* view = CurrentView();
    if (!edit || !object || !view || !view->GetScene() || view->m_bAnimationMode || !guard) return 0;
    const std::string typed = edit->GetText();
    const std::string current = object->getName();
    if (typed == current) return 0;
    if (typed.empty() || sgCharCount(typed) > CKelvanoView::kMaxObjectNameChars) {
        edit->ChangeValue(wxString::FromUTF8(current));
        return 0;
    }
    if (!view->GetScene()->isObjectNameFree(typed.c_str())) {
        guard = 0;
        if (view->GetHost())
            view->GetHost()->MessageBox("\"" + typed + "\"" + duplicateSuffix, caption, KV_MB_OK | KV_MB_ICONERROR);
        edit->Suggest(view->MakeUniqueObjectName(typed));
        guard = 1;
        return 0;
    }
    return view->RenameObject(object, typed);
}
