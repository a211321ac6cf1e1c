#include "ui/properties/dialogs/CLabelPropertyDlg.h"

#include "editor/CEditScope.h"
#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoView.h"
#include "editor/CUndoHistory.h"
#include "charts/pnChart.h"
#include "platform/FontOutline.h"
#include "scene/pnScene.h"
#include "scene/pnStringProperty.h"
#include "ui/properties/rules/BarRules.h"
#include "ui/properties/dialogs/CChartDataDlg.h"
#include "ui/properties/controls/CColorButton.h"
#include "ui/properties/dialogs/CMaterialDlg.h"
#include "ui/properties/controls/CNotifyComboBox.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CNumSpinCtrl.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/rules/ControlRules.h"
#include "ui/properties/rules/TextRules.h"
#include "ui/properties/pages/PageHooks.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>
#include <tuple>

namespace {

std::string textOf(const wxWindow* w) {
    if (const auto* edit = dynamic_cast<const CNumEdit*>(w)) return edit->GetText();
    if (const auto* combo = dynamic_cast<const wxComboBox*>(w)) return combo->GetValue().ToStdString(wxConvUTF8);
    return std::string();
}

// Selects the entry of the text, else types it.
void setComboText(wxComboBox* combo, const std::string& text) {
    const int index = combo->FindString(wxString::FromUTF8(text), true);
    if (index != wxNOT_FOUND) combo->SetSelection(index);
    else combo->SetValue(wxString::FromUTF8(text));
}

}  // namespace

void CLabelPropertyDlg::InstallPageHook() {
    PageHooks::LabelDialog() = [](wxWindow* parent, int kind) {
        CLabelPropertyDlg dlg(parent, kind);
        dlg.ShowModal();
    };
}

CLabelPropertyDlg::CLabelPropertyDlg(wxWindow* parent, int kind, wxWeakRef<CMaterialDlg>* slot,
                                     wxWindow* chooserParent)
    : wxDialog(parent, 119, "Label/Data Property"),
      m_nKind(kind == 1 ? 1 : 0),
      m_pChooserSlot(slot ? slot : &m_ownChooser),
      m_pChooserParent(chooserParent ? chooserParent : this) {
    Build();
    pnScene* scene = CurrentScene();
    pnChart* chart = pnKindCast<pnChart>(CurrentSelection());
    SetTitle(LabelDialogCaption(m_nKind));
    if (scene && chart) {
        m_pChart = chart;
        if (CKelvanoView* view = CurrentView()) m_pStep = std::make_unique<CEditScope>(*view, chart);
        LoadLabelProperty(*scene, *m_pChart, m_nKind, m_form);
        ShowForm();
    }
}

CLabelPropertyDlg::~CLabelPropertyDlg() { ReleaseChooser(); }

CNumEdit* CLabelPropertyDlg::AddSpinEdit(wxSizer* grid, const char* caption, int id, int spinId, int lo, int hi) {
    grid->Add(new wxStaticText(this, wxID_ANY, caption), 0, wxALIGN_CENTER_VERTICAL);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    auto* edit = new CNumEdit(this, id, "", wxDefaultPosition, wxSize(60, -1), wxTE_PROCESS_ENTER);
    auto* spin = new CNumSpinCtrl(this, spinId);
    spin->SetRange(lo, hi);
    spin->SetBuddy(edit);
    row->Add(edit);
    row->Add(spin);
    grid->Add(row);
    return edit;
}

void CLabelPropertyDlg::Build() {
    auto* grid = new wxFlexGridSizer(4, 4, 8);
    auto label = [&](const char* caption) { grid->Add(new wxStaticText(this, wxID_ANY, caption), 0, wxALIGN_CENTER_VERTICAL); };
    m_pShow = new wxCheckBox(this, IDC_SHOW, "Show");
    m_pItalic = new wxCheckBox(this, IDC_ITALIC, "Italic");
    grid->Add(m_pShow);
    grid->AddSpacer(1);
    grid->Add(m_pItalic);
    grid->AddSpacer(1);

    label("Font");
    // The faces the text engine can outline, as the text page offers them: a
    // face it cannot outline would give empty labels.
    wxArrayString faces;
    for (const std::string& face : outlineFontFamilies()) faces.Add(wxString::FromUTF8(face));
    m_pFont = new CNotifyComboBox(this, IDC_FONT, "Arial", wxDefaultPosition, wxSize(140, -1), faces, wxTE_PROCESS_ENTER);
    m_pFont->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) { m_pFont->SetToolTip(m_pFont->GetValue()); });
    grid->Add(m_pFont);
    label("Origin");
    m_pOrigin = new wxChoice(this, IDC_ORIGIN);
    for (const char* o : kTextOrigins) m_pOrigin->Append(o);
    grid->Add(m_pOrigin);

    label("Size");
    wxArrayString sizes;
    for (const char* s : kLabelSizes) sizes.Add(s);
    m_pSize = new CNotifyComboBox(this, IDC_SIZE, "32", wxDefaultPosition, wxSize(70, -1), sizes, wxTE_PROCESS_ENTER);
    m_pSize->SetSelection(3);
    grid->Add(m_pSize);
    label("Quality");
    wxArrayString qualities;
    for (int q = 1; q <= 10; ++q) qualities.Add(wxString::Format("%d", q));
    m_pQuality = new CNotifyComboBox(this, IDC_QUALITY, "5", wxDefaultPosition, wxSize(70, -1), qualities, wxTE_PROCESS_ENTER);
    m_pQuality->SetSelection(4);
    grid->Add(m_pQuality);

    m_pSpacing = AddSpinEdit(grid, "Spacing", IDC_SPACING, IDC_SPACING_SPIN, -20, 50);
    m_pRatio = AddSpinEdit(grid, "Ratio(%)", IDC_RATIO, IDC_RATIO_SPIN, 10, 500);
    m_pBevelW = AddSpinEdit(grid, "Bevel Width", IDC_BEVEL_WIDTH, IDC_BEVEL_WIDTH_SPIN, 0, 100);
    m_pBevelH = AddSpinEdit(grid, "Bevel Height", IDC_BEVEL_HEIGHT, IDC_BEVEL_HEIGHT_SPIN, 0, 100);
    m_pExtrusion = AddSpinEdit(grid, "Extrusion", IDC_EXTRUSION, IDC_EXTRUSION_SPIN, 0, 1000);
    label("Material");
    m_pMaterial = new CColorButton(this, IDC_MATERIAL);
    grid->Add(m_pMaterial);
    for (CNumEdit* e : {m_pSpacing, m_pRatio, m_pExtrusion}) e->m_nMode = 0;
    m_pSpacing->m_nMin = -20, m_pSpacing->m_nMax = 50;
    m_pRatio->m_nMin = 10, m_pRatio->m_nMax = 500;
    m_pExtrusion->m_nMin = 0, m_pExtrusion->m_nMax = 1000;
    for (CNumEdit* e : {m_pBevelW, m_pBevelH}) {
        e->m_nMode = 1;
        e->m_fMin = 0.0f;
        e->m_fMax = 10.0f;
    }

    auto* just = new wxFlexGridSizer(3, 4, 8);
    m_pN = new wxCheckBox(this, IDC_NJUST, "N Just.");
    m_pW = new wxCheckBox(this, IDC_WJUST, "W Just.");
    for (auto [box, id, spinId, edit] : {std::tuple{m_pN, IDC_NJUST_EDIT, IDC_NJUST_SPIN, &m_pNEdit},
                                         std::tuple{m_pW, IDC_WJUST_EDIT, IDC_WJUST_SPIN, &m_pWEdit}}) {
        just->Add(box, 0, wxALIGN_CENTER_VERTICAL);
        *edit = new CNumEdit(this, id, "0", wxDefaultPosition, wxSize(60, -1), wxTE_PROCESS_ENTER);
        (*edit)->m_nMin = 0, (*edit)->m_nMax = 1000;
        auto* spin = new CNumSpinCtrl(this, spinId);
        spin->SetRange(0, 1000);
        spin->SetBuddy(*edit);
        just->Add(*edit);
        just->Add(spin);
    }
    m_p2D = new wxCheckBox(this, IDC_2D, "2D");
    m_pEdgeShadow = new wxButton(this, IDC_EDGE_SHADOW, "Edge/Shadow");
    auto* kindRow = new wxBoxSizer(wxHORIZONTAL);
    kindRow->Add(m_p2D, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 12);
    kindRow->Add(m_pEdgeShadow);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* ok = new wxButton(this, wxID_OK, "OK");
    ok->SetDefault();
    buttons->Add(ok, 0, wxRIGHT, 6);
    buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"));
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 0, wxALL, 10);
    top->Add(just, 0, wxLEFT | wxRIGHT, 10);
    top->Add(kindRow, 0, wxALL, 10);
    top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 10);
    SetSizerAndFit(top);

    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOk(); }, wxID_OK);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnCancel(); }, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { OnCancel(); });
    m_pMaterial->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        OpenMaterialChooser(*m_pChooserSlot, m_pChooserParent, this, IDC_MATERIAL, m_form.material);
    });
    m_pEdgeShadow->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        // Without the edge and shadow dialog the button does nothing.
        if (PageHooks::StyleEdgeShadowDialog() && m_form.style)
            PageHooks::StyleEdgeShadowDialog()(this, m_form.style, m_pChart, m_nKind == 0 ? 1 : 0);
    });
    m_p2D->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { Enable2D(); });
    m_pN->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) {
        TickJust(m_form, true, e.IsChecked());
        EnableJust();
    });
    m_pW->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) {
        TickJust(m_form, false, e.IsChecked());
        EnableJust();
    });
    // The bevel spins step a tenth.
    for (auto [spinId, edit] : {std::pair{int(IDC_BEVEL_WIDTH_SPIN), m_pBevelW}, std::pair{int(IDC_BEVEL_HEIGHT_SPIN), m_pBevelH}}) {
        auto show = [edit](int position) { edit->ChangeValue(FormatDecimals(position * 0.1, 1)); };
        Bind(wxEVT_SPIN, [show](wxSpinEvent& e) { show(e.GetPosition()); }, spinId);
        Bind(kvEVT_WM_SPIN_RELEASED, [show, spinId](CPrivateMessageEvent& e) {
            if (e.GetWParam() == spinId) show(int(e.GetLParam()));
            else e.Skip();
        });
    }
    Bind(kvEVT_WM_NUMEDIT_COMMIT, &CLabelPropertyDlg::OnCommit, this);
    Bind(kvEVT_WM_COMBO_COMMIT, &CLabelPropertyDlg::OnComboCommit, this);
    Bind(kvEVT_WM_MATERIAL_CHOSEN, &CLabelPropertyDlg::OnMaterialChosen, this);
    Bind(kvEVT_WM_MATERIAL_MODIFIED, &CLabelPropertyDlg::OnMaterialModified, this);
}

void CLabelPropertyDlg::ShowForm() {
    const LabelPropertyForm& f = m_form;
    m_pShow->SetValue(f.show);
    const int face = m_pFont->FindString(wxString::FromUTF8(f.font), false);
    if (face != wxNOT_FOUND) m_pFont->SetSelection(face);
    // A face not installed here stays as stored until another is picked.
    else m_pFont->SetValue(f.font.empty() ? wxString("Arial") : wxString::FromUTF8(f.font));
    m_pFont->SetToolTip(m_pFont->GetValue());
    setComboText(m_pSize, f.size);
    m_pItalic->SetValue(f.italic);
    auto setSpin = [this](int spinId, int position) { static_cast<CNumSpinCtrl*>(FindWindow(spinId))->SetValue(position); };
    m_pSpacing->ChangeValue(wxString::Format("%d", f.spacing));
    setSpin(IDC_SPACING_SPIN, f.spacing);
    m_pBevelW->ChangeValue(wxString::FromUTF8(f.bevelWidth));
    setSpin(IDC_BEVEL_WIDTH_SPIN, int(ParseLeadingFloat(f.bevelWidth) * 10.0 + 0.5));
    m_pBevelH->ChangeValue(wxString::FromUTF8(f.bevelHeight));
    setSpin(IDC_BEVEL_HEIGHT_SPIN, int(ParseLeadingFloat(f.bevelHeight) * 10.0 + 0.5));
    setComboText(m_pQuality, f.quality);
    m_pRatio->ChangeValue(wxString::Format("%d", f.ratio));
    setSpin(IDC_RATIO_SPIN, f.ratio);
    m_pExtrusion->ChangeValue(wxString::Format("%d", f.extrusion));
    setSpin(IDC_EXTRUSION_SPIN, f.extrusion);
    m_pOrigin->SetSelection(f.origin);
    ShowMaterialSwatch(m_pMaterial, f.material);
    m_p2D->SetValue(f.twoD);
    m_pNEdit->ChangeValue(wxString::Format("%d", f.nValue));
    setSpin(IDC_NJUST_SPIN, f.nValue);
    m_pWEdit->ChangeValue(wxString::Format("%d", f.wValue));
    setSpin(IDC_WJUST_SPIN, f.wValue);
    Enable2D();
    EnableJust();
}

void CLabelPropertyDlg::Enable2D() {
    const bool twoD = m_p2D->GetValue();
    for (int id : {IDC_BEVEL_WIDTH, IDC_BEVEL_WIDTH_SPIN, IDC_BEVEL_HEIGHT, IDC_BEVEL_HEIGHT_SPIN, IDC_EXTRUSION,
                   IDC_EXTRUSION_SPIN})
        FindWindow(id)->Enable(!twoD);
    m_pEdgeShadow->Enable(twoD);
}

void CLabelPropertyDlg::EnableJust() {
    m_pN->SetValue(m_form.nJust);
    m_pW->SetValue(m_form.wJust);
    for (int id : {IDC_NJUST_EDIT, IDC_NJUST_SPIN}) FindWindow(id)->Enable(m_form.nJust);
    for (int id : {IDC_WJUST_EDIT, IDC_WJUST_SPIN}) FindWindow(id)->Enable(m_form.wJust);
}

void CLabelPropertyDlg::ReadForm() {
    LabelPropertyForm& f = m_form;
    f.show = m_pShow->GetValue();
    f.font = textOf(m_pFont);
    f.size = textOf(m_pSize);
    f.italic = m_pItalic->GetValue();
    f.spacing = ParseLeadingInt(m_pSpacing->GetText());
    f.bevelWidth = m_pBevelW->GetText();
    f.bevelHeight = m_pBevelH->GetText();
    f.quality = textOf(m_pQuality);
    f.ratio = ParseLeadingInt(m_pRatio->GetText());
    f.extrusion = ParseLeadingInt(m_pExtrusion->GetText());
    f.origin = std::max(0, m_pOrigin->GetSelection());
    f.twoD = m_p2D->GetValue();
    f.nJust = m_pN->GetValue();
    f.wJust = m_pW->GetValue();
    f.nValue = ParseLeadingInt(m_pNEdit->GetText());
    f.wValue = ParseLeadingInt(m_pWEdit->GetText());
}

int CLabelPropertyDlg::ShowModal() {
    const int result = wxDialog::ShowModal();
    ReleaseChooser();
    return result;
}

void CLabelPropertyDlg::ReleaseChooser() {
    // A later choice in the shared chooser must not reach an ended dialog.
    if (CMaterialDlg* chooser = m_pChooserSlot ? m_pChooserSlot->get() : nullptr) {
        chooser->SetOwner(nullptr, 0);
        chooser->Hide();
    }
}

void CLabelPropertyDlg::OnOk() {
    CKelvanoView* view = CurrentView();
    if (view && m_pChart) {
        ReadForm();
        LabelPropertyOk(*view, *m_pChart, m_form);
    }
    m_pStep.reset();
    if (IsModal()) EndModal(wxID_OK);
}

void CLabelPropertyDlg::OnCancel() {
    CKelvanoView* view = CurrentView();
    if (view && m_pChart) LabelPropertyCancel(*view, *m_pChart, m_form);
    m_pStep.reset();
    if (IsModal()) EndModal(wxID_CANCEL);
}

void CLabelPropertyDlg::OnCommit(CPrivateMessageEvent& event) {
    const int id = int(event.GetWParam());
    if (id == IDC_BEVEL_WIDTH || id == IDC_BEVEL_HEIGHT) {
        auto* edit = id == IDC_BEVEL_WIDTH ? m_pBevelW : m_pBevelH;
        const double value = ParseLeadingFloat(edit->GetText());
        static_cast<CNumSpinCtrl*>(FindWindow(id == IDC_BEVEL_WIDTH ? IDC_BEVEL_WIDTH_SPIN : IDC_BEVEL_HEIGHT_SPIN))
            ->SetValue(int(value * 10.0 + 0.5));
        edit->ChangeValue(FormatDecimals(value, 1));
    }
    if (event.GetLParam() == 1) OnOk();
}

void CLabelPropertyDlg::OnComboCommit(CPrivateMessageEvent& event) {
    if (event.GetLParam() == 1) OnOk();
}

void CLabelPropertyDlg::OnMaterialChosen(CPrivateMessageEvent& event) {
    if (event.GetWParam() != IDC_MATERIAL) return;
    m_form.material = ChosenMaterialName(event.GetLParam());
    m_form.materialChosen = true;
    ShowMaterialSwatch(m_pMaterial, m_form.material);
}

void CLabelPropertyDlg::OnMaterialModified(CPrivateMessageEvent& event) {
    if (ChosenMaterialName(event.GetLParam()) == m_form.material) ShowMaterialSwatch(m_pMaterial, m_form.material);
}
