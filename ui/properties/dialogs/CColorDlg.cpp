#include "ui/properties/dialogs/CColorDlg.h"

#include "ui/properties/controls/CColorPaletteCtrl.h"
#include "ui/properties/controls/CColorRampCtrl.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/controls/LayoutFit.h"

#include <wx/button.h>
#include <wx/sizer.h>
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
    // The pictures keep their pixel sizes; the texts and edits take the font's.
    auto fixed = [](wxWindow* w, const wxSize& size) {
        w->SetMinSize(size);
        return w;
    };
    auto* paletteLabel = new wxStaticText(this, wxID_ANY, "Palette");
    m_pPalette = new CColorPaletteCtrl(this, wxRect(wxPoint(0, 0), palette));
    m_pPalette->SetBitmap(palette.x, palette.y, second ? "simple_palette_2" : "simple_palette");
    const wxSize brightness(26, palette.y + 8);
    m_ramps[CColorDlgLogic::BRIGHTNESS] = new CColorRampCtrl(this, wxRect(wxPoint(0, 0), brightness), false);
    auto* pictures = new wxBoxSizer(wxHORIZONTAL);
    pictures->Add(fixed(m_pPalette, palette), 0, wxTOP, 4);
    pictures->Add(fixed(m_ramps[CColorDlgLogic::BRIGHTNESS], brightness), 0, wxLEFT, 4);
    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(paletteLabel);
    left->Add(pictures);

    const char* labels[] = {"Red", "Green", "Blue", "Transp. "};
    const int editIds[] = {CColorDlgLogic::EDIT_RED, CColorDlgLogic::EDIT_GREEN, CColorDlgLogic::EDIT_BLUE,
                           CColorDlgLogic::EDIT_TRANSPARENCY};
    const float colours[4][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}};
    auto* sliders = new wxFlexGridSizer(3, 2, 6);
    for (int i = 0; i < 4; ++i) {
        sliders->Add(new wxStaticText(this, wxID_ANY, labels[i]), 0, wxALIGN_CENTER_VERTICAL);
        const wxSize rampSize(150, 24);
        CColorRampCtrl* ramp = new CColorRampCtrl(this, wxRect(wxPoint(0, 0), rampSize));
        ramp->SetColor(colours[i], false);
        m_ramps[CColorDlgLogic::RED + i] = ramp;
        sliders->Add(fixed(ramp, rampSize), 0, wxALIGN_CENTER_VERTICAL);
        CNumEdit* edit = layout::FitEdit(new CNumEdit(this, editIds[i]), "0.000");
        edit->m_nMode = 1;
        edit->m_fMin = 0.0f;
        edit->m_fMax = 1.0f;
        m_edits[CColorDlgLogic::RED + i] = edit;
        sliders->Add(edit, 0, wxALIGN_CENTER_VERTICAL);
    }
    for (int i = 0; i < CColorDlgLogic::NUM_SLIDERS; ++i)
        m_ramps[i]->m_nRampId = CColorDlgLogic::RAMP_BRIGHTNESS + i;
    auto* upper = new wxBoxSizer(wxHORIZONTAL);
    upper->Add(left, 0, wxRIGHT, 14);
    upper->Add(sliders, 0, wxALIGN_CENTER_VERTICAL);

    auto* name = new wxBoxSizer(wxHORIZONTAL);
    name->Add(new wxStaticText(this, wxID_ANY, "Name"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    m_pName = new CNumEdit(this, CColorDlgLogic::EDIT_NAME, "", wxDefaultPosition, wxSize(200, -1));
    m_pName->m_nMode = 2;
    name->Add(m_pName, 0, wxALIGN_CENTER_VERTICAL);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    wxButton* ok = new wxButton(this, wxID_OK, "OK");
    buttons->Add(ok, 0, wxRIGHT, 8);
    buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"));
    ok->SetDefault();
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(upper, 0, wxALL, 10);
    top->Add(name, 0, wxLEFT | wxRIGHT | wxBOTTOM, 10);
    top->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 10);
    SetSizerAndFit(top);

    Bind(kvEVT_WM_RAMP_CHANGED, &CColorDlg::OnRamp, this);
    Bind(kvEVT_WM_PALETTE_PICK, &CColorDlg::OnPick, this);
    Bind(kvEVT_WM_NUMEDIT_COMMIT, &CColorDlg::OnCommit, this);
    Bind(wxEVT_BUTTON, &CColorDlg::OnOk, this, wxID_OK);
    RouteMouseToRamps(this, m_ramps, CColorDlgLogic::NUM_SLIDERS);
    // OK and the other buttons take the numbers as typed, focus change or not.
    CommitTypedFieldsBeforeButtons(this);
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
