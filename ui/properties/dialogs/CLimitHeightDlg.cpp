#include "ui/properties/dialogs/CLimitHeightDlg.h"

#include "ui/properties/rules/TextRules.h"

#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

CLimitHeightDlg::CLimitHeightDlg(wxWindow* parent, int max, int min)
    : wxDialog(parent, wxID_ANY, "Limit Height"), m_nMax(max), m_nMin(min) {
    auto* grid = new wxFlexGridSizer(2, 6, 6);
    grid->Add(new wxStaticText(this, wxID_ANY, "Max."), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(new wxTextCtrl(this, IDC_MAX, wxString::Format("%d", max)));
    grid->Add(new wxStaticText(this, wxID_ANY, "Min."), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(new wxTextCtrl(this, IDC_MIN, wxString::Format("%d", min)));
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 0, wxALL, 10);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 10);
    SetSizerAndFit(top);
}

bool CLimitHeightDlg::TransferDataFromWindow() {
    // A text that is not a whole number is refused, as the other number
    // dialogs refuse theirs: the dialog stays open and nothing is read.
    int values[2];
    const int ids[2] = {IDC_MAX, IDC_MIN};
    for (int i = 0; i < 2; ++i) {
        auto* edit = static_cast<wxTextCtrl*>(FindWindow(ids[i]));
        if (!ParseWholeInt(edit->GetValue().ToStdString(wxConvUTF8), values[i])) {
            wxMessageBox("Please enter an integer.", "Kelvano", wxOK | wxICON_EXCLAMATION, this);
            edit->SetFocus();
            edit->SelectAll();
            return false;
        }
    }
    m_nMax = values[0];
    m_nMin = values[1];
    return true;
}
