#include "ui/animation/CEffectEditorDlg.h"

#include "editor/CKelvanoView.h"
#include "scene/pnEffect.h"
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "ui/animation/EffectDialogSupport.h"
#include "ui/properties/controls/CColorButton.h"
#include "ui/properties/dialogs/CMaterialDlg.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/rules/PrivateMessages.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {
enum : int { IDC_NAME = 1605, IDC_COLOR_CHECK = 1622, IDC_SWATCH = 1659, IDC_APPLY = 1, IDC_CLOSE = 2 };
constexpr int kAxisIds[3] = {1409, 1417, 1422};
constexpr int kSwatchOwner = 1239;
}  // namespace

CEffectEditorDlg::CEffectEditorDlg(wxWindow* parent, CKelvanoView* view, int mode, const std::string& effectName)
    : wxDialog(parent, wxID_ANY, "Effect Editor"), m_pView(view), m_nMode(mode), m_model(view, mode) {
    // Close, or the view moving on: the modeless editor goes, a modal one ends.
    m_model.m_onClosed = [this] {
        if (m_nMode == 0) Destroy();
        else if (IsModal()) EndModal(wxID_CANCEL);
    };
    // Another window's Apply: the fields show what it applied.
    m_model.m_onTaken = [this](int groups) {
        const pnEffect* effect = Effect();
        if (groups & (1 << CEffectEditorModel::kMove)) m_fields.ShowMove(m_model.m_savedMove);
        if (m_nMode == 0 && (groups & (1 << CEffectEditorModel::kScale))) m_fields.ShowScale(m_model.m_savedScale);
        if (m_nMode == 0 && (groups & (1 << CEffectEditorModel::kRotate)))
            m_fields.ShowRotation(m_model.m_fSavedAngle, m_model.m_savedAxis);
        if (effect && (groups & (1 << CEffectEditorModel::kColor))) ShowColor(*effect);
        SetModified(m_model.AnyChanged());
    };
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* nameRow = new wxBoxSizer(wxHORIZONTAL);
    nameRow->Add(new wxStaticText(this, wxID_ANY, "Effect Name"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    m_pName = new wxTextCtrl(this, IDC_NAME, "", wxDefaultPosition, wxSize(160, -1), wxTE_READONLY);
    m_pName->SetMaxLength(kEffectNameChars);
    nameRow->Add(m_pName, 1);
    top->Add(nameRow, 0, wxEXPAND | wxALL, 4);
    m_fields.Create(this, top, kAxisIds);
    auto* colorRow = new wxBoxSizer(wxHORIZONTAL);
    m_pColor = new wxCheckBox(this, IDC_COLOR_CHECK, "Color");
    m_pSwatch = new CColorButton(this, IDC_SWATCH);
    m_pSwatch->SetColor(wxColour(0xCC, 0xCC, 0xCC));
    colorRow->Add(m_pColor, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    colorRow->Add(m_pSwatch, 0, wxALIGN_CENTER_VERTICAL);
    top->Add(colorRow, 0, wxALL, 4);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    m_pApply = new wxButton(this, IDC_APPLY, "Apply");
    buttons->Add(m_pApply, 0, wxRIGHT, 6);
    buttons->Add(new wxButton(this, IDC_CLOSE, "Close"));
    top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 4);
    SetSizerAndFit(top);

    Bind(wxEVT_TEXT, &CEffectEditorDlg::OnText, this);
    Bind(wxEVT_BUTTON, &CEffectEditorDlg::OnButton, this);
    Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) {
        m_model.MarkChanged(CEffectEditorModel::kColor);
        SetModified(true);
    });
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { CloseEditor(); });
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& e) {
        if (e.GetKeyCode() == WXK_ESCAPE) CloseEditor();
        else e.Skip();
    });
    if (mode == 0) PlaceBelowMainWindowTop(this);
    LoadEffect(effectName);
}

bool CEffectEditorDlg::IsColorTicked() const { return m_pColor->GetValue(); }

void CEffectEditorDlg::SetModified(bool on) {
    m_bModified = on;
    m_pApply->Enable(on);
}

bool CEffectEditorDlg::LoadEffect(const std::string& effectName) {
    const bool found = m_model.Load(effectName);
    const std::string& name = m_model.EffectName();
    if (m_nMode != 0) m_pName->ChangeValue(wxString::FromUTF8(name));
    m_fields.EnableRotationAndScale(m_nMode == 0);
    m_pSwatch->Enable(m_nMode != 2);
    m_pColor->Enable(m_nMode != 2);
    SetModified(false);
    pnEffect* effect = Effect();
    if (!found || !effect) return false;
    m_fields.ShowMove(m_model.m_savedMove);
    if (m_nMode == 0) {
        m_fields.ShowScale(m_model.m_savedScale);
        m_fields.ShowRotation(m_model.m_fSavedAngle, m_model.m_savedAxis);
    }
    ShowColor(*effect);
    m_pName->ChangeValue(wxString::FromUTF8(name));
    return true;
}

void CEffectEditorDlg::ShowColor(const pnEffect& effect) {
    // Modes 0 and 1 both carry the colour: Apply would strip it otherwise.
    if (m_nMode == 2) {
        m_strColor.clear();
        m_pSwatch->SetColor(wxColour(0xCC, 0xCC, 0xCC));
        return;
    }
    m_pColor->SetValue(effect.getFlag(pnEffect::COLOR_FLAG) != 0);
    m_strColor = effect.getColor();
    m_pSwatch->SetColor(SwatchColour(Scene(), m_strColor));
}

void CEffectEditorDlg::RevertEffect() {
    m_model.Revert();
    SetModified(false);
}

void CEffectEditorDlg::SetMove(const sgVec3& v) {
    m_fields.ShowMove(v);
    m_model.SetMove(v);
    SetModified(true);
}

void CEffectEditorDlg::SetScale(const sgVec3& v) {
    m_fields.ShowScale(v);
    m_model.SetScale(v);
    SetModified(true);
}

void CEffectEditorDlg::SetRotate(float angle, const sgVec3& axis) {
    m_fields.ShowRotation(angle, axis);
    m_model.SetRotate(angle, axis);
    SetModified(true);
}

void CEffectEditorDlg::TakeSavedRotation(float& angle, sgVec3& axis) { m_model.TakeSavedRotation(angle, axis); }

void CEffectEditorDlg::ApplyValues() {
    if (!Effect()) return;
    const std::string color = m_pColor->GetValue() ? m_strColor : std::string();
    const bool withColor = m_nMode != 2 && !m_strColor.empty();
    SetModified(false);
    m_model.Apply(m_fields.Move(), m_fields.Scale(), m_fields.Angle(), m_fields.Axis(), withColor ? &color : nullptr);
    if (m_nMode != 0 && IsModal()) EndModal(wxID_OK);
}

void CEffectEditorDlg::CloseEditor() {
    m_model.Close();
    SetModified(false);
}

void CEffectEditorDlg::OnText(wxCommandEvent& event) {
    const int group = m_fields.GroupOf(event.GetId());
    if (group == CEffectFields::kNone) return;
    m_model.MarkChanged(static_cast<CEffectEditorModel::Group>(group));
    SetModified(true);
}

void CEffectEditorDlg::OnButton(wxCommandEvent& event) {
    switch (event.GetId()) {
    case IDC_APPLY: ApplyValues(); break;
    case IDC_CLOSE: CloseEditor(); break;
    case IDC_SWATCH:
        m_material = ShowEffectMaterialChooser(m_material, this, kSwatchOwner, m_strColor,
                                               [this](int message, int, int index) { OnMaterialMessage(message, index); });
        break;
    default: event.Skip();
    }
}

void CEffectEditorDlg::OnMaterialMessage(int message, int index) {
    pnScene* scene = Scene();
    const pnMaterial* m = scene ? scene->getMaterial(index) : nullptr;
    if (!m) return;
    if (message == WM_MATERIAL_CHOSEN) {
        m_strColor = m->getName();
        m_pSwatch->SetColor(SwatchColour(scene, m_strColor));
        m_model.MarkChanged(CEffectEditorModel::kColor);
        SetModified(true);
        m_pColor->SetValue(true);
    } else if (message == WM_MATERIAL_MODIFIED && m->getName() == m_strColor) {
        m_pSwatch->SetColor(SwatchColour(scene, m_strColor));
        m_pColor->SetValue(true);
    }
}
