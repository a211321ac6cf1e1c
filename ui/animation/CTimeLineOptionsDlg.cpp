#include "ui/animation/CTimeLineOptionsDlg.h"

#include "editor/CKelvanoDoc.h"
#include "ui/animation/TimeLineRules.h"

#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

CTimeLineOptionsDlg::CTimeLineOptionsDlg(wxWindow* parent, CKelvanoDoc* doc)
    : wxDialog(parent, 297, "Options"), m_pDoc(doc) {
    if (doc) {
        m_nEffectLength = doc->m_nEffectLength;
        m_nGrowLength = doc->m_nGrowLength;
        m_nShrinkLength = doc->m_nShrinkLength;
        m_nAnimationLength = doc->m_nAnimationLength;
    }
    struct Field {
        const char* group;
        int id;
        const char* label;
        int value;
    } fields[4] = {{"Time Line", 1708, "Default Effect Length ", m_nEffectLength},
                   {"Time Line Of Graphs", 1710, "Default Grow Effect Length ", m_nGrowLength},
                   {nullptr, 1362, "Default Shrink Effect Length ", m_nShrinkLength},
                   {"Animation", 1363, "Length", m_nAnimationLength}};
    auto* top = new wxBoxSizer(wxVERTICAL);
    wxStaticBoxSizer* group = nullptr;
    for (int i = 0; i < 4; ++i) {
        if (fields[i].group) {
            group = new wxStaticBoxSizer(wxVERTICAL, this, fields[i].group);
            top->Add(group, 0, wxEXPAND | wxALL, 6);
        }
        auto* line = new wxBoxSizer(wxHORIZONTAL);
        line->Add(new wxStaticText(group->GetStaticBox(), wxID_ANY, fields[i].label), 1, wxALIGN_CENTER_VERTICAL);
        m_edits[i] = new wxTextCtrl(group->GetStaticBox(), fields[i].id,
                                    doc ? wxString::Format("%d", fields[i].value) : wxString(), wxDefaultPosition,
                                    wxSize(70, -1));
        line->Add(m_edits[i], 0, wxLEFT, 8);
        group->Add(line, 0, wxEXPAND | wxALL, 4);
    }
    auto* buttons = new wxStdDialogButtonSizer;
    auto* ok = new wxButton(this, wxID_OK, "OK");
    ok->SetDefault();
    buttons->AddButton(ok);
    buttons->AddButton(new wxButton(this, wxID_CANCEL, "Cancel"));
    buttons->Realize();
    top->Add(buttons, 0, wxEXPAND | wxALL, 6);
    SetSizerAndFit(top);
    Bind(wxEVT_BUTTON, &CTimeLineOptionsDlg::OnOK, this, wxID_OK);
}

void CTimeLineOptionsDlg::OnOK(wxCommandEvent&) {
    if (!m_pDoc) return;
    std::string texts[4];
    for (int i = 0; i < 4; ++i) texts[i] = m_edits[i]->GetValue().ToStdString(wxConvUTF8);
    CTimeLineOptionValues v;
    const std::string problem = CheckTimeLineOptions(texts, m_nAnimationLength, v);
    if (!problem.empty()) {
        wxMessageBox(problem, "Kelvano", wxOK | wxICON_EXCLAMATION, this);
        return;
    }
    m_nEffectLength = m_pDoc->m_nEffectLength = v.effectLength;
    m_nGrowLength = m_pDoc->m_nGrowLength = v.growLength;
    m_nShrinkLength = m_pDoc->m_nShrinkLength = v.shrinkLength;
    m_nAnimationLength = m_pDoc->m_nAnimationLength = v.animationLength;
    EndModal(wxID_OK);
}
