#include "ui/properties/bars/CViewWidthDlg.h"

#include "editor/CKelvanoAppState.h"
#include "ui/properties/rules/BarRules.h"
#include "ui/properties/controls/CNotifySliderCtrl.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/rules/ControlRules.h"
#include "ui/properties/controls/ViewAccelerators.h"

#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

CViewWidthDlg::CViewWidthDlg(wxWindow* parent)
    : wxPanel(parent, kTemplate, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL) {
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, "Width");
    m_pSlider = new CNotifySliderCtrl(this, kSliderId, ClampedInt(m_fWidth), kViewWidthMin, kViewWidthMax,
                                      wxDefaultPosition, wxSize(140, -1));
    m_pEdit = new CNumEdit(this, kEditId, wxEmptyString, wxDefaultPosition, wxSize(56, -1));
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(m_pSlider, 1, wxALIGN_CENTER_VERTICAL);
    row->Add(m_pEdit, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
    auto* ends = new wxBoxSizer(wxHORIZONTAL);
    ends->Add(new wxStaticText(this, wxID_ANY, "10"));
    ends->AddStretchSpacer();
    ends->Add(new wxStaticText(this, wxID_ANY, "2000"), 0, wxRIGHT, 60);
    group->Add(row, 0, wxEXPAND);
    group->Add(ends, 0, wxEXPAND);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(group, 0, wxEXPAND | wxALL, 4);
    SetSizerAndFit(top);
    ShowWidth();

    // A drag shows the width; the release applies it. Keys and the wheel move
    // the slider without a press and apply at once.
    m_pSlider->Bind(wxEVT_SLIDER, [this](wxCommandEvent&) { OnSliderMoved(); });
    Bind(kvEVT_WM_SLIDER_PRESSED, [this](CPrivateMessageEvent&) { m_bDragging = true; });
    Bind(kvEVT_WM_SLIDER_RELEASED, [this](CPrivateMessageEvent&) {
        m_bDragging = false;
        m_fWidth = static_cast<float>(m_pSlider->GetValue());
        ShowWidth();
        ApplyWidth(m_fWidth);
    });
    Bind(kvEVT_WM_NUMEDIT_COMMIT, &CViewWidthDlg::OnCommit, this);
    InstallViewAccelerators(this);
}

void CViewWidthDlg::ShowWidth() {
    // A width from a file may lie beyond the int range.
    const wxString text = wxString::Format("%d", ClampedInt(m_fWidth));
    m_pEdit->ChangeValue(text);
    m_pEdit->m_strSaved = text.ToStdString();
}

void CViewWidthDlg::OnSliderMoved() {
    m_fWidth = static_cast<float>(m_pSlider->GetValue());
    ShowWidth();
    if (!m_bDragging) ApplyWidth(m_fWidth);
}

void CViewWidthDlg::OnCommit(CPrivateMessageEvent& event) {
    if (event.GetWParam() != kEditId) return;
    int width = 0;
    if (!ParseViewWidth(m_pEdit->GetText(), width)) {
        // No view of zero width: the edit shows the width that stands.
        ShowWidth();
        return;
    }
    m_fWidth = static_cast<float>(width);
    m_pSlider->SetValue(ViewWidthSliderPos(width));
    ApplyWidth(m_fWidth);
}

void CViewWidthDlg::SetWidth(int width) {
    m_fWidth = static_cast<float>(width);
    ShowWidth();
    m_pSlider->SetValue(ViewWidthSliderPos(width));
    ApplyWidth(m_fWidth);
}

void CViewWidthDlg::ApplyWidth(float width) {
    ApplyViewWidth(CurrentView(), width);
}

CViewWidthBar::CViewWidthBar(wxWindow* parent, int id)
    : wxPanel(parent, id, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL) {
    m_pDialog = new CViewWidthDlg(this);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_pDialog, 1, wxEXPAND);
    SetSizerAndFit(sizer);
}
