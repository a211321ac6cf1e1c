#include "ui/animation/CEffectCopyDlg.h"

#include "editor/CKelvanoView.h"
#include "scene/pnScene.h"
#include "ui/animation/EffectFields.h"
#include "ui/properties/controls/CNumEdit.h"
#include "sg/sgRuntime.h"

#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace {
enum : int { IDC_COPY_TO = 1326 };
}

bool AcceptNewEffectName(wxWindow* parent, CKelvanoView* view, CNumEdit* edit, const std::string& proposalBase,
                         std::string& name) {
    pnScene* scene = view ? view->GetScene() : nullptr;
    if (!scene) return false;
    name = sgCutName(edit->GetText());
    if (!name.empty() && !scene->findEffect(name.c_str())) return true;
    if (!name.empty())
        wxMessageBox(wxString::FromUTF8("\"" + name + "\" is already used!"), "Kelvano", wxOK | wxICON_STOP, parent);
    edit->Suggest(view->MakeNumberedEffectName(proposalBase.empty() ? std::string("effect") : proposalBase));
    edit->ShowPosition(edit->GetLastPosition());
    return false;
}

CEffectCopyDlg::CEffectCopyDlg(wxWindow* parent, CKelvanoView* view)
    : wxDialog(parent, wxID_ANY, "Effect Copy"), m_pView(view) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_ANY, "Copy To"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    m_pName = new CNumEdit(this, IDC_COPY_TO, "", wxDefaultPosition, wxSize(160, -1));
    m_pName->SetMaxLength(kEffectNameChars);
    row->Add(m_pName, 1);
    top->Add(row, 0, wxEXPAND | wxALL, 8);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 8);
    SetSizerAndFit(top);
    if (m_pView) m_pName->ChangeValue(wxString::FromUTF8(m_pView->MakeNumberedEffectName("effect")));
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOK(); }, wxID_OK);
}

bool CEffectCopyDlg::TakeInput() { return AcceptNewEffectName(this, m_pView, m_pName, "effect", m_strNewName); }

void CEffectCopyDlg::OnOK() {
    if (TakeInput()) EndModal(wxID_OK);
}
