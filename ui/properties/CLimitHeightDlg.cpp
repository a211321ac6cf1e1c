#include "ui/properties/CLimitHeightDlg.h"

#include "ui/properties/ControlRules.h"

#include <wx/button.h>
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
    auto read = [this](int id) {
        auto* edit = static_cast<wxTextCtrl*>(FindWindow(id));
        return ParseLeadingInt(edit->GetValue().ToStdString(wxConvUTF8));
    };
    m_nMax = read(IDC_MAX);
    m_nMin = read(IDC_MIN);
    return true;
}
