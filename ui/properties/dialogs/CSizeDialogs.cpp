#include "ui/properties/dialogs/CSizeDialogs.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "ui/properties/rules/ControlRules.h"

#include <wx/checkbox.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

namespace {

enum : int { IDC_WIDTH = 1001, IDC_HEIGHT = 1003, IDC_CONSTRAIN = 1072, IDC_OFFSET_X = 2154, IDC_OFFSET_Y = 1364 };

int readInt(wxTextCtrl* edit) { return ParseLeadingInt(edit->GetValue().ToStdString()); }

// A message through the view's host where there is one.
void tell(wxWindow* parent, const std::string& text) {
    const CKelvanoView* view = CurrentView();
    if (view && view->GetHost())
        view->GetHost()->MessageBox(text, "Kelvano", KV_MB_OK | KV_MB_ICONWARNING);
    else
        wxMessageBox(text, "Kelvano", wxOK | wxICON_WARNING, parent);
}

wxBoxSizer* labelled(wxWindow* parent, const char* label, wxWindow* control, const char* unit) {
    auto* line = new wxBoxSizer(wxHORIZONTAL);
    line->Add(new wxStaticText(parent, wxID_ANY, label, wxDefaultPosition, wxSize(70, -1)), 0,
              wxALIGN_CENTER_VERTICAL);
    line->Add(control, 1);
    if (unit) line->Add(new wxStaticText(parent, wxID_ANY, unit), 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
    return line;
}

}  // namespace

CImageSizeDlg::CImageSizeDlg(wxWindow* parent) : wxDialog(parent, kTemplate, "Image Size") {
    auto* top = new wxBoxSizer(wxVERTICAL);
    m_pWidth = new wxTextCtrl(this, IDC_WIDTH, "", wxDefaultPosition, wxSize(80, -1));
    m_pHeight = new wxTextCtrl(this, IDC_HEIGHT, "", wxDefaultPosition, wxSize(80, -1));
    m_pConstrain = new wxCheckBox(this, IDC_CONSTRAIN, "Constrain proportions");
    top->Add(labelled(this, "Width", m_pWidth, "pixels"), 0, wxALL | wxEXPAND, 8);
    top->Add(labelled(this, "Height", m_pHeight, "pixels"), 0, wxLEFT | wxRIGHT | wxEXPAND, 8);
    top->Add(m_pConstrain, 0, wxALL, 8);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxALL | wxEXPAND, 8);
    SetSizerAndFit(top);

    Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent&) { Start(); });
    m_pWidth->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnTyped(true); });
    m_pHeight->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnTyped(false); });
    m_pConstrain->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) {
        m_rules.SetConstrain(m_pConstrain->GetValue() ? 1 : 0, readInt(m_pWidth), readInt(m_pHeight));
    });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (TryOK()) EndModal(wxID_OK);
    }, wxID_OK);
}

void CImageSizeDlg::Start() {
    m_rules.Start(m_nWidth, m_nHeight, m_bConstrain);
    m_pWidth->ChangeValue(wxString::Format("%d", m_nWidth));
    m_pHeight->ChangeValue(wxString::Format("%d", m_nHeight));
    m_pConstrain->SetValue(m_bConstrain != 0);
}

void CImageSizeDlg::OnTyped(bool width) {
    // Only the other edit is rewritten, and without its change handling, so
    // the value being typed stays as typed.
    const int other = width ? m_rules.WidthTyped(readInt(m_pWidth)) : m_rules.HeightTyped(readInt(m_pHeight));
    if (other >= 0) (width ? m_pHeight : m_pWidth)->ChangeValue(wxString::Format("%d", other));
}

bool CImageSizeDlg::TryOK() {
    const int w = readInt(m_pWidth), h = readInt(m_pHeight);
    if (!ImageSizeRules::SideAccepted(w) || !ImageSizeRules::SideAccepted(h)) {
        wxBell();
        wxTextCtrl* refused = ImageSizeRules::SideAccepted(w) ? m_pHeight : m_pWidth;
        refused->SetFocus();
        refused->SelectAll();
        return false;
    }
    m_nWidth = w;
    m_nHeight = h;
    m_bConstrain = m_pConstrain->GetValue() ? 1 : 0;
    return true;
}

CEditOptionsDlg::CEditOptionsDlg(wxWindow* parent) : wxDialog(parent, kTemplate, "Edit options") {
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, "Object copy offsets");
    m_pX = new wxTextCtrl(group->GetStaticBox(), IDC_OFFSET_X, "0", wxDefaultPosition, wxSize(80, -1));
    m_pY = new wxTextCtrl(group->GetStaticBox(), IDC_OFFSET_Y, "0", wxDefaultPosition, wxSize(80, -1));
    group->Add(labelled(group->GetStaticBox(), "X offset:", m_pX, nullptr), 0, wxALL | wxEXPAND, 6);
    group->Add(labelled(group->GetStaticBox(), "Y offset:", m_pY, nullptr), 0, wxALL | wxEXPAND, 6);
    top->Add(group, 0, wxALL | wxEXPAND, 8);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxALL | wxEXPAND, 8);
    SetSizerAndFit(top);
    Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent&) { Start(); });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (TryOK()) EndModal(wxID_OK);
    }, wxID_OK);
}

void CEditOptionsDlg::Start() {
    const CKelvanoDoc* doc = CurrentDocument();
    if (!doc) return;
    m_nOffsetX = doc->m_nCopyOffsetX;
    m_nOffsetY = doc->m_nCopyOffsetY;
    m_pX->ChangeValue(wxString::Format("%d", m_nOffsetX));
    m_pY->ChangeValue(wxString::Format("%d", m_nOffsetY));
}

bool CEditOptionsDlg::TryOK() {
    int x = 0, y = 0;
    for (wxTextCtrl* edit : {m_pX, m_pY}) {
        int& value = edit == m_pX ? x : y;
        if (!ParseWholeInt(edit->GetValue().ToStdString(), value)) {
            tell(this, "Please enter an integer.");
            edit->SetFocus();
            edit->SelectAll();
            return false;
        }
    }
    CKelvanoDoc* doc = CurrentDocument();
    if (!doc) return false;
    m_nOffsetX = x;
    m_nOffsetY = y;
    doc->m_nCopyOffsetX = x;
    doc->m_nCopyOffsetY = y;
    return true;
}
