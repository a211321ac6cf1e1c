#include "ui/animation/CCopyOptionDlg.h"

#include "editor/CKelvanoView.h"
#include "ui/animation/CEffectCopyDlg.h"
#include "ui/animation/EffectFields.h"
#include "ui/properties/controls/CNumEdit.h"

#include <wx/button.h>
#include <wx/display.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace {
enum : int { IDC_COPY = 1345, IDC_USE = 1364, IDC_NAME = 1605, IDC_CURRENT = 1746 };
}

CCopyOptionDlg::CCopyOptionDlg(wxWindow* parent, CKelvanoView* view, const std::string& effectName)
    : wxDialog(parent, wxID_ANY, "Copy Option"), m_pView(view), m_strCurrent(effectName) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* current = new wxBoxSizer(wxHORIZONTAL);
    current->Add(new wxStaticText(this, wxID_ANY, "Current Effect"), 0, wxRIGHT, 8);
    current->Add(new wxStaticText(this, IDC_CURRENT, wxString::FromUTF8(effectName)));
    top->Add(current, 0, wxALL, 8);
    m_pCopy = new wxRadioButton(this, IDC_COPY, "Copy Effect", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    top->Add(m_pCopy, 0, wxLEFT | wxRIGHT, 8);
    m_pName = new CNumEdit(this, IDC_NAME, "", wxDefaultPosition, wxSize(160, -1));
    m_pName->SetMaxLength(kEffectNameChars);
    top->Add(m_pName, 0, wxEXPAND | wxLEFT | wxRIGHT, 28);
    m_pUse = new wxRadioButton(this, IDC_USE, "Use Current Effect");
    top->Add(m_pUse, 0, wxALL, 8);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 8);
    SetSizerAndFit(top);
    if (m_pView)
        m_pName->ChangeValue(
            wxString::FromUTF8(m_pView->MakeNumberedEffectName(effectName.empty() ? std::string("effect") : effectName)));
    SetChoice(1);
    m_pUse->SetFocus();
    Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent& e) { SetChoice(e.GetId() == IDC_COPY ? 0 : 1); });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOK(); }, wxID_OK);
    // Enter anywhere is OK, as on the dialog's default button.
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& e) {
        if (e.GetKeyCode() == WXK_RETURN || e.GetKeyCode() == WXK_NUMPAD_ENTER) OnOK();
        else e.Skip();
    });
}

void CCopyOptionDlg::SetChoice(int choice) {
    m_nChoice = choice;
    m_pCopy->SetValue(choice == 0);
    m_pUse->SetValue(choice == 1);
    m_pName->Enable(choice == 0);
}

void CCopyOptionDlg::SetPosition(int x, int y) {
    // Shifted left and up as far as needed to lie inside the work area.
    const int index = wxDisplay::GetFromPoint(wxPoint(x, y));
    const wxRect area = wxDisplay(index == wxNOT_FOUND ? 0u : static_cast<unsigned>(index)).GetClientArea();
    const wxSize size = GetSize();
    x = std::max(area.GetLeft(), std::min(x, area.GetRight() + 1 - size.x));
    y = std::max(area.GetTop(), std::min(y, area.GetBottom() + 1 - size.y));
    Move(x, y);
}

bool CCopyOptionDlg::TakeInput() { return AcceptNewEffectName(this, m_pView, m_pName, m_pName->GetText(), m_strName); }

void CCopyOptionDlg::OnOK() {
    if (TakeInput()) EndModal(wxID_OK);
}
