#include "ui/properties/dialogs/CAddPanelDlg.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoView.h"
#include "scene/pnScene.h"
#include "ui/properties/rules/ControlRules.h"
#include "ui/properties/rules/ObjectRules.h"

#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

// A number as the validating exchange takes it: the whole text must read, as
// a float ("inf", "nan" and numbers no float holds are refused).
bool readFloat(const wxString& text, float& out) { return ParseWholeFloat(text.ToStdString(wxConvUTF8), out); }

}  // namespace

CAddPanelDlg::CAddPanelDlg(wxWindow* parent) : wxDialog(parent, 157, "Input Panel Data") {
    if (CKelvanoView* view = CurrentView()) m_strName = view->MakeUniqueObjectName("Panel");

    auto* grid = new wxFlexGridSizer(2, 6, 8);
    auto row = [&](const char* label, int id) {
        grid->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(new wxTextCtrl(this, id, "", wxDefaultPosition, wxSize(id == IDC_NAME ? 150 : 80, -1)), 0);
    };
    row("Name", IDC_NAME);
    grid->Add(new wxStaticText(this, wxID_ANY, "Dimension"));
    grid->AddSpacer(0);
    row("X", IDC_X);
    row("Y", IDC_Y);
    row("Z", IDC_Z);
    row("Taper", IDC_TAPER);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 0, wxALL, 10);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 10);
    SetSizerAndFit(top);
    ShowMembers();
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (CheckAndStore()) EndModal(wxID_OK);
    }, wxID_OK);
}

wxTextCtrl* CAddPanelDlg::Edit(int id) const { return dynamic_cast<wxTextCtrl*>(FindWindow(id)); }

void CAddPanelDlg::ShowMembers() {
    Edit(IDC_NAME)->ChangeValue(wxString::FromUTF8(m_strName));
    Edit(IDC_TAPER)->ChangeValue(wxString::Format("%g", m_fTaper));
    Edit(IDC_X)->ChangeValue(wxString::Format("%g", m_fX));
    Edit(IDC_Y)->ChangeValue(wxString::Format("%g", m_fY));
    Edit(IDC_Z)->ChangeValue(wxString::Format("%g", m_fZ));
}

bool CAddPanelDlg::CheckAndStore() {
    float values[4];
    const int ids[4] = {IDC_TAPER, IDC_X, IDC_Y, IDC_Z};
    for (int i = 0; i < 4; ++i) {
        if (!readFloat(Edit(ids[i])->GetValue(), values[i])) {
            wxMessageBox("Please enter a number.", "Kelvano", wxOK | wxICON_EXCLAMATION, this);
            Edit(ids[i])->SetFocus();
            Edit(ids[i])->SelectAll();
            return false;
        }
    }
    // A panel of 1e30 drew as a slab over the scene; a taper above half the
    // smaller side crossed itself. The page holds both; here OK refuses them.
    std::string range;
    const int refused = RefusedPanelValue(values[1], values[2], values[3], values[0], range);
    if (refused >= 0) {
        const int id = refused == 3 ? IDC_TAPER : ids[refused + 1];
        wxMessageBox(range, "Kelvano", wxOK | wxICON_EXCLAMATION, this);
        Edit(id)->SetFocus();
        Edit(id)->SelectAll();
        return false;
    }
    m_fTaper = values[0], m_fX = values[1], m_fY = values[2], m_fZ = values[3];
    m_strName = Edit(IDC_NAME)->GetValue().ToStdString(wxConvUTF8);
    const pnScene* scene = CurrentScene();
    if (!scene) return true;
    // An empty name could never be added: refused like a taken one.
    if (scene->isObjectNameFree(m_strName.c_str())) return true;
    wxMessageBox(wxString::FromUTF8("\"" + m_strName + "\" is Already used!"), "Name duplicated!!",
                 wxOK | wxICON_STOP, this);
    wxTextCtrl* name = Edit(IDC_NAME);
    name->SetFocus();
    name->SelectAll();
    name->ShowPosition(name->GetLastPosition());
    return false;
}
