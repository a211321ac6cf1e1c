#include "ui/animation/EffectDialogSupport.h"

#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/CViewHost.h"
#include "scene/pnEffect.h"
#include "scene/pnScene.h"
#include "ui/animation/CCreateEffectDlg.h"
#include "ui/animation/CEffectCopyDlg.h"
#include "ui/animation/CEventTreeModel.h"

#include <wx/app.h>
#include <wx/msgdlg.h>
#include <wx/toplevel.h>

#include <algorithm>

void PlaceBelowMainWindowTop(wxWindow* dialog) {
    wxWindow* main = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    if (!main || main == dialog) return;
    const wxRect r = main->GetScreenRect();
    dialog->Move(r.GetLeft(), r.GetTop() + 200);
}

CMaterialDlg* ShowEffectMaterialChooser(wxWeakRef<CMaterialDlg>& slot, wxWindow* owner, int controlId,
                                        const std::string& materialName, CMaterialDlg::Listener listener) {
    if (slot) slot->Destroy();
    slot = nullptr;
    return CMaterialDlg::ShowFor(slot, owner, owner, controlId, materialName, std::move(listener));
}

CFrameRelays* FrameRelaysOf(CKelvanoView* view) {
    return view ? view->Frame() : nullptr;
}

std::string CopyEffectWithDialog(wxWindow* parent, CKelvanoView* view, const std::string& source) {
    pnScene* scene = view ? view->GetScene() : nullptr;
    if (!scene || !scene->findEffect(source.c_str())) return std::string();
    CEffectCopyDlg dlg(parent, view);
    dlg.SetEffectName(source);
    if (dlg.ShowModal() != wxID_OK) return std::string();
    const pnEffect* from = scene->findEffect(source.c_str());
    if (!from) return std::string();
    std::unique_ptr<pnEffect> copy = CopyEffectParts(*from, dlg.GetNewName());
    if (!scene->addEffect(copy.get())) return std::string();
    const std::string name = copy.release()->getName();
    if (CKelvanoDoc* doc = view->GetDocument()) doc->m_effectUses.emplace_back(name, 0);
    if (CFrameRelays* frame = FrameRelaysOf(view)) frame->AddEffectListName(name);
    view->SetModified();
    return name;
}

bool DeleteEffectWithChecks(wxWindow* parent, CKelvanoView* view, const std::string& name) {
    pnScene* scene = view ? view->GetScene() : nullptr;
    CKelvanoDoc* doc = view ? view->GetDocument() : nullptr;
    if (!scene || !doc) return false;
    const std::string refusal = CheckEffectDelete(*scene, doc->m_effectUses, name);
    if (!refusal.empty()) {
        wxMessageBox(wxString::FromUTF8(refusal), "Kelvano", wxOK | wxICON_STOP, parent);
        return false;
    }
    pnEffect* effect = scene->findEffect(name.c_str());
    if (!effect || !scene->removeEffect(effect)) return false;
    // Taken out of the scene, it is ours to delete.
    delete effect;
    auto& uses = doc->m_effectUses;
    uses.erase(std::remove_if(uses.begin(), uses.end(), [&](const auto& u) { return u.first == name; }), uses.end());
    if (CFrameRelays* frame = FrameRelaysOf(view)) frame->RemoveEffectListName(name);
    if (CCreateEffectDlg* creating = CCreateEffectDlg::OpenDialog()) creating->RemoveListName(name);
    view->SetModified();
    return true;
}
