#include "ui/properties/CColorDlg.h"

#include "ui/properties/CColorPaletteCtrl.h"
#include "ui/properties/CColorRampCtrl.h"
#include "ui/properties/CNumEdit.h"
#include "ui/properties/CPrivateMessageEvent.h"

#include <wx/button.h>
#include <wx/stattext.h>

void PlaceEditorBelowParent(wxDialog* dialog) {
    if (wxWindow* parent = dialog->GetParent()) {
        const wxRect r = parent->GetScreenRect();
        dialog->Move(r.x, r.y + 200);
    }
}

CColorDlg::CColorDlg(int templateId, wxWindow* parent)
    : wxDialog(parent, wxID_ANY, templateId == 219 ? "Color Dialog" : "Material Editor"), m_nTemplate(templateId) {}

int CColorDlg::ShowModal() {
    if (!m_pPalette) {
        Build();
        InitControls();
    }
    return wxDialog::ShowModal();
}

void CColorDlg::Build() {
    const bool second = m_nTemplate == 219;
    const wxSize palette = second ? wxSize(131, 93) : wxSize(113, 101);
    const int top = 24, right = 10 + palette.x + 40;
    new wxStaticText(this, wxID_ANY, "Palette", wxPoint(10, 6));
    m_pPalette = new CColorPaletteCtrl(this, wxRect(wxPoint(10, top), palette));
    m_pPalette->SetBitmap(palette.x, palette.y, second ? "simple_palette_2" : "simple_palette");
    m_ramps[CColorDlgLogic::BRIGHTNESS] = new CColorRampCtrl(this, wxRect(14 + palette.x, top - 4, 26, palette.y + 8), false);
    const char* labels[] = {"Red", "Green", "Blue", "Transp. "};
    const int editIds[] = {CColorDlgLogic::EDIT_RED, CColorDlgLogic::EDIT_GREEN, CColorDlgLogic::EDIT_BLUE,
                           CColorDlgLogic::EDIT_TRANSPARENCY};
    const float colours[4][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}};
    for (int i = 0; i < 4; ++i) {
        const int y = top + i * 28;
        new wxStaticText(this, wxID_ANY, labels[i], wxPoint(right, y + 4));
        CColorRampCtrl* ramp = new CColorRampCtrl(this, wxRect(right + 50, y, 150, 24));
        ramp->SetColor(colours[i], false);
        m_ramps[CColorDlgLogic::RED + i] = ramp;
        CNumEdit* edit = new CNumEdit(this, editIds[i], "", wxPoint(right + 206, y), wxSize(64, -1));
        edit->m_nMode = 1;
        edit->m_fMin = 0.0f;
        edit->m_fMax = 1.0f;
        m_edits[CColorDlgLogic::RED + i] = edit;
    }
    for (int i = 0; i < CColorDlgLogic::NUM_SLIDERS; ++i)
        m_ramps[i]->m_nRampId = CColorDlgLogic::RAMP_BRIGHTNESS + i;
    const int below = top + std::max(palette.y, 4 * 28) + 12;
    new wxStaticText(this, wxID_ANY, "Name", wxPoint(10, below + 4));
    m_pName = new CNumEdit(this, CColorDlgLogic::EDIT_NAME, "", wxPoint(60, below), wxSize(200, -1));
    m_pName->m_nMode = 2;
    wxButton* ok = new wxButton(this, wxID_OK, "OK", wxPoint(right + 40, below + 40));
    new wxButton(this, wxID_CANCEL, "Cancel", wxPoint(right + 140, below + 40));
    ok->SetDefault();
    SetClientSize(right + 280, below + 80);

    Bind(kvEVT_WM_RAMP_CHANGED, &CColorDlg::OnRamp, this);
    Bind(kvEVT_WM_PALETTE_PICK, &CColorDlg::OnPick, this);
    Bind(kvEVT_WM_NUMEDIT_COMMIT, &CColorDlg::OnCommit, this);
    Bind(wxEVT_BUTTON, &CColorDlg::OnOk, this, wxID_OK);
    RouteMouseToRamps(this, m_ramps, CColorDlgLogic::NUM_SLIDERS);
}

void CColorDlg::InitControls() {
    m_logic.Init();
    ShowState();
    m_pName->ChangeValue(wxString::FromUTF8(m_logic.m_strName));
    m_pName->Enable(m_logic.m_bMakeUnique);
    PlaceEditorBelowParent(this);
    // The red edit has the keyboard once the dialog shows.
    Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& e) {
        e.Skip();
        CallAfter([this] { m_edits[CColorDlgLogic::RED]->SetFocus(); });
    });
}

void CColorDlg::ShowState() {
    for (int i = 0; i < CColorDlgLogic::NUM_SLIDERS; ++i) m_ramps[i]->SetPos(m_logic.m_pos[i]);
    m_ramps[CColorDlgLogic::BRIGHTNESS]->SetColor(m_logic.m_brightColor);
    for (int i = CColorDlgLogic::RED; i < CColorDlgLogic::NUM_SLIDERS; ++i) {
        const wxString text = wxString::FromUTF8(m_logic.m_text[i]);
        if (m_edits[i]->GetValue() != text) m_edits[i]->ChangeValue(text);
    }
    if (m_logic.m_bMoveMarker) {
        m_pPalette->SetMarkerFromColor(m_logic.m_norm[0], m_logic.m_norm[1], m_logic.m_norm[2]);
        m_logic.m_bMoveMarker = false;
    }
}

void CColorDlg::OnRamp(CPrivateMessageEvent& event) {
    m_logic.OnRamp(static_cast<int>(event.GetWParam()), static_cast<int>(event.GetLParam()));
    ShowState();
}

void CColorDlg::OnPick(CPrivateMessageEvent& event) {
    m_logic.OnPalettePick(reinterpret_cast<const float*>(event.GetLParam()));
    ShowState();
}

void CColorDlg::OnCommit(CPrivateMessageEvent& event) {
    const EditCommit result = CommitEditOf(*this, m_logic, event);
    if (result == EditCommit::CloseOk || result == EditCommit::Changed) ShowState();
    if (result != EditCommit::CloseOk) return;
    m_logic.m_strName = m_pName->GetText();
    EndModal(wxID_OK);
}

void CColorDlg::OnOk(wxCommandEvent&) {
    m_logic.m_strName = m_pName->GetText();
    EndModal(wxID_OK);
}
