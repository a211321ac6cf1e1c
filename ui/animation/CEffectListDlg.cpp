#include "ui/animation/CEffectListDlg.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoView.h"
#include "scene/pnEffect.h"
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "ui/animation/EffectDialogSupport.h"
#include "ui/properties/controls/CColorButton.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/rules/PrivateMessages.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {
enum : int {
    IDC_LIST = 1582, IDC_NAME = 1605, IDC_COLOR = 1622, IDC_SWATCH = 1659, IDC_COPY = 1283, IDC_DELETE = 1273,
    IDC_APPLY = 1056, IDC_CLOSE = 1736
};
constexpr int kAxisIds[3] = {1409, 1417, 1422};
}  // namespace

CEffectListDlg::CEffectListDlg(wxWindow* parent, wxWindowID id) : wxPanel(parent, id) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    m_pList = new wxListBox(this, IDC_LIST, wxDefaultPosition, wxSize(200, 110));
    top->Add(m_pList, 1, wxEXPAND | wxALL, 4);
    auto* nameRow = new wxBoxSizer(wxHORIZONTAL);
    nameRow->Add(new wxStaticText(this, wxID_ANY, "Effect Name"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    m_pName = new wxTextCtrl(this, IDC_NAME, "", wxDefaultPosition, wxSize(120, -1), wxTE_READONLY);
    nameRow->Add(m_pName, 1);
    top->Add(nameRow, 0, wxEXPAND | wxLEFT | wxRIGHT, 4);
    m_fields.Create(this, top, kAxisIds);
    auto* colorRow = new wxBoxSizer(wxHORIZONTAL);
    m_pColor = new wxCheckBox(this, IDC_COLOR, "Color");
    m_pSwatch = new CColorButton(this, IDC_SWATCH);
    m_pSwatch->SetColor(wxColour(0xCC, 0xCC, 0xCC));
    colorRow->Add(m_pColor, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    colorRow->Add(m_pSwatch, 0, wxALIGN_CENTER_VERTICAL);
    top->Add(colorRow, 0, wxALL, 4);
    auto* buttons = new wxGridSizer(2, 4, 4);
    buttons->Add(new wxButton(this, IDC_COPY, "Copy"));
    buttons->Add(new wxButton(this, IDC_DELETE, "Delete"));
    m_pApply = new wxButton(this, IDC_APPLY, "Apply");
    buttons->Add(m_pApply);
    buttons->Add(new wxButton(this, IDC_CLOSE, "Close"));
    top->Add(buttons, 0, wxALL, 4);
    SetSizerAndFit(top);
    ShowApplyState();
    m_model.m_onRefilled = [this] { ShowNames(); };
    m_model.m_onFollowed = [this](int groups) { ShowFollowed(groups); };
    // The selected effect may change in any window (an editor's drag shows
    // at once): the shown list looks again whenever the program is idle.
    Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) {
        if (e.GetEventObject() == this) m_model.Follow();
        e.Skip();
    });

    Bind(wxEVT_TEXT, &CEffectListDlg::OnText, this);
    Bind(wxEVT_BUTTON, &CEffectListDlg::OnButton, this);
    Bind(wxEVT_LISTBOX, [this](wxCommandEvent&) {
        m_model.Select(m_pList->GetSelection() == wxNOT_FOUND ? -1 : m_pList->GetSelection());
        ShowSelected();
    });
    Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) {
        if (!m_model.MarkChanged(CEffectListModel::kColor)) {
            m_pColor->SetValue(false);
            return;
        }
        ShowApplyState();
    });
    // The panel has no default button: Enter does nothing.
    Bind(wxEVT_CHAR_HOOK, [](wxKeyEvent& e) {
        if (e.GetKeyCode() != WXK_RETURN && e.GetKeyCode() != WXK_NUMPAD_ENTER) e.Skip();
    });
    Bind(wxEVT_TEXT_ENTER, [](wxCommandEvent&) {});
}

void CEffectListDlg::ShowApplyState() { m_pApply->Enable(m_model.AnyChanged()); }

void CEffectListDlg::AddEffectName(const std::string& name) {
    m_model.Add(name);
    m_pList->Append(wxString::FromUTF8(name));
}

void CEffectListDlg::RemoveEffectName(const std::string& name) {
    const int selected = m_model.Selected();
    m_model.Remove(name);
    const int at = m_pList->FindString(wxString::FromUTF8(name), true);
    if (at != wxNOT_FOUND) m_pList->Delete(static_cast<unsigned>(at));
    if (selected >= 0 && m_model.Selected() < 0) ClearFields();
}

void CEffectListDlg::FillFromScene() {
    m_model.Fill();
    ShowNames();
}

void CEffectListDlg::ShowNames() {
    m_pList->Clear();
    for (const std::string& name : m_model.Names()) m_pList->Append(wxString::FromUTF8(name));
    ClearFields();
}

void CEffectListDlg::ClearFields() {
    m_fields.Clear();
    for (wxString& s : m_shown) s.clear();
    m_pName->ChangeValue("");
    m_pColor->SetValue(false);
    m_pSwatch->SetColor(wxColour(0xCC, 0xCC, 0xCC));
    ShowApplyState();
}

void CEffectListDlg::SelectEffect(int index) {
    if (!m_model.Select(index) || index < 0) return;
    m_pList->SetSelection(index);
    ShowSelected();
}

void CEffectListDlg::ShowSelected() {
    const pnEffect* effect = m_model.SelectedEffect();
    if (!effect) return;
    m_model.Select(m_model.Selected());
    m_pName->ChangeValue(wxString::FromUTF8(effect->getName()));
    ShowFollowed(~0);
    ShowApplyState();
}

void CEffectListDlg::ShowFollowed(int groups) {
    const CEffectListModel::Values& shown = m_model.Shown();
    for (int i = 0; i < CEffectListModel::kFields; ++i) {
        // A field being typed is left alone, caret and all.
        if (!(groups & (1 << CEffectListModel::GroupOfField(i))) || m_model.Typed(i)) continue;
        m_fields.ShowField(i, CEffectListModel::FieldValue(shown, i));
        m_shown[i] = m_fields.Edit(i)->GetValue();
    }
    if ((groups & (1 << CEffectListModel::kColor)) && !m_model.Changed(CEffectListModel::kColor)) {
        m_pSwatch->SetColor(SwatchColour(CurrentScene(), m_model.m_strColor));
        m_pColor->SetValue(shown.colorOn);
    }
}

void CEffectListDlg::OnText(wxCommandEvent& event) {
    int field = 0;
    while (field < CEffectListModel::kFields && m_fields.Edit(field)->GetId() != event.GetId()) ++field;
    if (field == CEffectListModel::kFields) return;
    if (!m_model.MarkTyped(field)) {
        // Nothing to edit: the typing is undone.
        for (int i = 0; i < 10; ++i) m_fields.Edit(i)->ChangeValue(m_shown[i]);
        return;
    }
    ShowApplyState();
}

void CEffectListDlg::OnApply() {
    if (!m_model.Apply(m_fields.Move(), m_fields.Scale(), m_fields.Angle(), m_fields.Axis(), m_pColor->GetValue()))
        return;
    ShowSelected();
}

void CEffectListDlg::OnCopy() {
    const std::string source = m_model.SelectedName();
    if (source.empty()) return;
    // The new name reaches this list through the frame's relay.
    CopyEffectWithDialog(this, CurrentView(), source);
}

void CEffectListDlg::OnDelete() {
    const int sel = m_model.Selected();
    if (sel < 0) return;
    if (!DeleteEffectWithChecks(this, CurrentView(), m_model.SelectedName())) return;
    // The frame's relay took the name out of this list.
    if (m_pList->GetCount() == 0) {
        ClearFields();
        return;
    }
    SelectEffect(sel < static_cast<int>(m_pList->GetCount()) ? sel : 0);
}

void CEffectListDlg::OnButton(wxCommandEvent& event) {
    switch (event.GetId()) {
    case IDC_APPLY: OnApply(); break;
    case IDC_COPY: OnCopy(); break;
    case IDC_DELETE: OnDelete(); break;
    case IDC_CLOSE:
        if (m_onClose) m_onClose();
        break;
    case IDC_SWATCH:
        if (m_model.Selected() >= 0)
            m_material = ShowEffectMaterialChooser(m_material, this, IDC_SWATCH, m_model.m_strColor,
                                                   [this](int message, int, int index) { OnMaterialMessage(message, index); });
        break;
    default: event.Skip();
    }
}

void CEffectListDlg::OnMaterialMessage(int message, int index) {
    pnScene* scene = CurrentScene();
    const pnMaterial* m = scene ? scene->getMaterial(index) : nullptr;
    if (!m) return;
    if (message == WM_MATERIAL_CHOSEN) {
        if (!m_model.MarkChanged(CEffectListModel::kColor)) return;
        m_model.m_strColor = m->getName();
        ShowApplyState();
    } else if (message != WM_MATERIAL_MODIFIED || m->getName() != m_model.m_strColor) {
        return;
    }
    m_pSwatch->SetColor(SwatchColour(scene, m_model.m_strColor));
    m_model.MarkChanged(CEffectListModel::kColor);
    m_pColor->SetValue(true);
    ShowApplyState();
}
