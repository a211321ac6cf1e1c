#include "ui/properties/dialogs/CMaterialDetailDlg.h"

#include "ui/properties/dialogs/CColorDlg.h"
#include "ui/properties/controls/CColorPaletteCtrl.h"
#include "ui/properties/controls/CColorRampCtrl.h"
#include "ui/properties/controls/CMaterialPreviewCtrl.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/stattext.h>

using L = CMaterialDetailLogic;

CMaterialDetailDlg::CMaterialDetailDlg(int templateId, wxWindow* parent)
    : wxDialog(parent, wxID_ANY, "Color Detailed Dialog"), m_nTemplate(templateId) {}

int CMaterialDetailDlg::ShowModal() {
    if (!m_pPalette) {
        Build();
        m_logic.Init();
        for (int c = 0; c < L::NUM; ++c) m_flags[c]->SetValue(m_logic.m_given[c] != 0);
        m_pName->ChangeValue(wxString::FromUTF8(m_logic.m_strName));
        m_pName->Enable(m_logic.m_bMakeUnique);
        ShowState();
        // The palette opens on the hue of the diffuse colour.
        const float* hue = m_logic.m_norm[L::DIFFUSE];
        m_pPalette->SetMarkerFromColor(hue[0], hue[1], hue[2]);
        PlaceEditorBelowParent(this);
    }
    return wxDialog::ShowModal();
}

void CMaterialDetailDlg::Build() {
    const bool second = m_nTemplate == 221;
    const wxSize palette = second ? wxSize(107, 89) : wxSize(92, 96);
    new wxStaticText(this, wxID_ANY, "Name", wxPoint(10, 12));
    m_pName = new CNumEdit(this, 1740, "", wxPoint(60, 8), wxSize(200, -1));
    m_pName->m_nMode = 2;
    const int top = 44;
    m_pPreview = new CMaterialPreviewCtrl(this, wxID_ANY, wxPoint(10, top), wxSize(96, 96));
    m_pPalette = new CColorPaletteCtrl(this, wxRect(wxPoint(10, top + 104), palette));
    m_pPalette->SetBitmap(palette.x, palette.y, second ? "detail_palette_2" : "detail_palette");
    const char* captions[L::NUM] = {"Ambient  ", "Diffuse    ", "Specular ", "Emission ", "Shininess", "Transp.   "};
    const int left = 10 + std::max(palette.x, 96) + 12;
    for (int c = 0; c < L::NUM; ++c) {
        const int y = top + c * 30;
        if (c <= L::EMISSION) m_targets[c] = new wxCheckBox(this, L::kTargetIds[c], "", wxPoint(left, y + 4));
        m_flags[c] = new wxCheckBox(this, L::kFlagIds[c], captions[c], wxPoint(left + 24, y + 4));
        CColorRampCtrl* ramp = new CColorRampCtrl(this, wxRect(left + 120, y, 150, 24));
        ramp->m_nRampId = L::kRampIds[c];
        if (c <= L::EMISSION) ramp->SetColor(m_logic.m_norm[c], false);
        m_ramps[c] = ramp;
        CNumEdit* edit = new CNumEdit(this, L::kEditIds[c], "", wxPoint(left + 276, y), wxSize(80, -1));
        edit->m_nMode = c == L::SHININESS ? 0 : 1;
        edit->m_nMin = 0, edit->m_nMax = 128;
        edit->m_fMin = 0.0f, edit->m_fMax = 1.0f;
        m_edits[c] = edit;
    }
    const int bottom = top + std::max(L::NUM * 30, 104 + palette.y) + 12;
    wxButton* ok = new wxButton(this, wxID_OK, "OK", wxPoint(left + 100, bottom));
    new wxButton(this, wxID_CANCEL, "Cancel", wxPoint(left + 200, bottom));
    ok->SetDefault();
    SetClientSize(left + 366, bottom + 40);

    Bind(kvEVT_WM_RAMP_CHANGED, &CMaterialDetailDlg::OnRamp, this);
    Bind(kvEVT_WM_PALETTE_PICK, &CMaterialDetailDlg::OnPick, this);
    Bind(kvEVT_WM_NUMEDIT_COMMIT, &CMaterialDetailDlg::OnCommit, this);
    Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) {
        ReadChecks();
        ShowState();
    });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        ReadChecks();
        m_logic.m_strName = m_pName->GetText();
        EndModal(wxID_OK);
    }, wxID_OK);
    RouteMouseToRamps(this, m_ramps, L::NUM);
    // OK and the other buttons take the numbers as typed, focus change or not.
    CommitTypedFieldsBeforeButtons(this);
}

void CMaterialDetailDlg::ReadChecks() {
    for (int c = 0; c < L::NUM; ++c)
        if (m_flags[c]->GetValue() != (m_logic.m_given[c] != 0)) m_logic.OnFlag(c, m_flags[c]->GetValue());
    for (int c = 0; c <= L::EMISSION; ++c) m_logic.m_target[c] = m_targets[c]->GetValue() ? 1 : 0;
}

void CMaterialDetailDlg::ShowState() {
    for (int c = 0; c < L::NUM; ++c) {
        m_ramps[c]->SetPos(m_logic.m_pos[c]);
        if (c <= L::EMISSION) m_ramps[c]->SetColor(m_logic.m_norm[c]);
        const wxString text = wxString::FromUTF8(m_logic.m_text[c]);
        if (m_edits[c]->GetValue() != text) m_edits[c]->ChangeValue(text);
    }
    const MaterialPreviewState& p = m_logic.m_preview;
    m_pPreview->SetAmbient(p.ambient[0], p.ambient[1], p.ambient[2]);
    m_pPreview->SetDiffuse(p.diffuse[0], p.diffuse[1], p.diffuse[2]);
    m_pPreview->SetSpecular(p.specular[0], p.specular[1], p.specular[2]);
    m_pPreview->SetEmission(p.emission[0], p.emission[1], p.emission[2]);
    m_pPreview->SetShininess(p.shininess);
    m_pPreview->SetOpacity(p.opacity);
    m_pPreview->Redraw();
}

void CMaterialDetailDlg::OnRamp(CPrivateMessageEvent& event) {
    m_logic.OnRamp(static_cast<int>(event.GetWParam()), static_cast<int>(event.GetLParam()));
    ShowState();
}

void CMaterialDetailDlg::OnPick(CPrivateMessageEvent& event) {
    ReadChecks();
    m_logic.OnPalettePick(reinterpret_cast<const float*>(event.GetLParam()));
    ShowState();
}

void CMaterialDetailDlg::OnCommit(CPrivateMessageEvent& event) {
    const EditCommit result = CommitEditOf(*this, m_logic, event);
    if (result == EditCommit::CloseOk) ReadChecks();
    if (result == EditCommit::CloseOk || result == EditCommit::Changed) ShowState();
    if (result != EditCommit::CloseOk) return;
    m_logic.m_strName = m_pName->GetText();
    EndModal(wxID_OK);
}
