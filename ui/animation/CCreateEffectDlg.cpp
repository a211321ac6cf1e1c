#include "ui/animation/CCreateEffectDlg.h"

#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "scene/pnEffect.h"
#include "scene/pnMaterial.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "ui/animation/EffectDialogSupport.h"
#include "ui/properties/controls/CColorButton.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/rules/PrivateMessages.h"
#include "sg/sgRuntime.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/listbox.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {
enum : int {
    IDC_OBJECT = 1603, IDC_NAME = 1605, IDC_MOVE = 1607, IDC_SCALE = 1616, IDC_ROTATE = 1612, IDC_COLOR = 1622,
    IDC_SWATCH = 1474, IDC_LIST = 1582, IDC_COPY = 1283, IDC_DELETE = 1273, IDC_OK = 1481, IDC_CANCEL = 1570
};
constexpr int kAxisIds[3] = {1618, 1289, 1299};
constexpr int kSwatchOwner = 1239;
const char* const kNoneEntry = "                [None]";
wxWeakRef<CCreateEffectDlg> g_open;
}  // namespace

CCreateEffectDlg* CCreateEffectDlg::OpenDialog() { return g_open.get(); }

CCreateEffectDlg::CCreateEffectDlg(wxWindow* parent, CKelvanoView* view)
    : wxDialog(parent, wxID_ANY, "Creating Effect"), m_pView(view), m_model(view) {
    // OK, Cancel or the view moving on: the window goes with its model.
    m_model.m_onClosed = [this] { Destroy(); };
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    auto* left = new wxBoxSizer(wxVERTICAL);
    auto* names = new wxFlexGridSizer(2, 4, 6);
    names->Add(new wxStaticText(this, wxID_ANY, "Object"), 0, wxALIGN_CENTER_VERTICAL);
    m_pObject = new wxTextCtrl(this, IDC_OBJECT, "", wxDefaultPosition, wxSize(160, -1), wxTE_READONLY);
    names->Add(m_pObject);
    names->Add(new wxStaticText(this, wxID_ANY, "Effect "), 0, wxALIGN_CENTER_VERTICAL);
    m_pName = new CNumEdit(this, IDC_NAME, "", wxDefaultPosition, wxSize(160, -1));
    m_pName->SetMaxLength(kEffectNameChars);
    names->Add(m_pName);
    left->Add(names, 0, wxALL, 4);
    auto* flags = new wxBoxSizer(wxHORIZONTAL);
    m_flags[CEffectFields::kMove] = new wxCheckBox(this, IDC_MOVE, "Move");
    m_flags[CEffectFields::kScale] = new wxCheckBox(this, IDC_SCALE, "Scale");
    m_flags[CEffectFields::kRotate] = new wxCheckBox(this, IDC_ROTATE, "Rotate");
    for (wxCheckBox* box : m_flags) flags->Add(box, 0, wxRIGHT, 8);
    left->Add(flags, 0, wxALL, 4);
    m_fields.Create(this, left, kAxisIds);
    auto* colorRow = new wxBoxSizer(wxHORIZONTAL);
    m_pColor = new wxCheckBox(this, IDC_COLOR, "Color");
    m_pSwatch = new CColorButton(this, IDC_SWATCH);
    colorRow->Add(m_pColor, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    colorRow->Add(m_pSwatch, 0, wxALIGN_CENTER_VERTICAL);
    left->Add(colorRow, 0, wxALL, 4);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(this, IDC_OK, "OK"), 0, wxRIGHT, 6);
    buttons->Add(new wxButton(this, IDC_CANCEL, "Cancel"));
    left->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 4);
    top->Add(left);
    auto* right = new wxBoxSizer(wxVERTICAL);
    right->Add(new wxStaticText(this, wxID_ANY, "Effect List"), 0, wxALL, 4);
    m_pList = new wxListBox(this, IDC_LIST, wxDefaultPosition, wxSize(170, 200));
    right->Add(m_pList, 1, wxEXPAND | wxALL, 4);
    auto* listButtons = new wxBoxSizer(wxHORIZONTAL);
    listButtons->Add(new wxButton(this, IDC_COPY, "Copy"), 0, wxRIGHT, 6);
    listButtons->Add(new wxButton(this, IDC_DELETE, "Delete"));
    right->Add(listButtons, 0, wxALL, 4);
    top->Add(right, 1, wxEXPAND);
    SetSizerAndFit(top);

    Bind(wxEVT_TEXT, &CCreateEffectDlg::OnText, this);
    Bind(wxEVT_BUTTON, &CCreateEffectDlg::OnButton, this);
    Bind(wxEVT_CHECKBOX, [](wxCommandEvent&) {});
    Bind(wxEVT_LISTBOX, [this](wxCommandEvent&) { SelectListEntry(m_pList->GetSelection()); });
    Bind(kvEVT_WM_NUMEDIT_COMMIT, &CCreateEffectDlg::OnCommit, this);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { OnCancel(); });
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& e) {
        if (e.GetKeyCode() == WXK_RETURN || e.GetKeyCode() == WXK_NUMPAD_ENTER) OnOK();
        else if (e.GetKeyCode() == WXK_ESCAPE) OnCancel();
        else e.Skip();
    });
    g_open = this;

    pnScene* scene = Scene();
    if (m_model.ObjectName().empty() || !scene) return;
    m_pObject->ChangeValue(wxString::FromUTF8(m_model.ObjectName()));
    m_pName->ChangeValue(wxString::FromUTF8(m_pView->MakeNumberedEffectName("effect")));
    m_fields.ShowMove(sgVec3(0, 0, 0));
    m_fields.ShowRotation(0.0f, sgVec3(0, 1, 0));
    m_fields.ShowScale(sgVec3(1, 1, 1));
    m_pSwatch->SetColor(wxColour(0xCC, 0xCC, 0xCC));
    m_pList->Append(kNoneEntry);
    for (int i = 0; i < scene->getNumEffects(); ++i) m_pList->Append(wxString::FromUTF8(scene->getEffect(i)->getName()));
    m_pList->SetSelection(0);
    SaveNewEffectView();
    PlaceBelowMainWindowTop(this);
}

// A dialog torn down without OK or Cancel cancels its model, which leaves no
// preview behind.
CCreateEffectDlg::~CCreateEffectDlg() = default;

std::string CCreateEffectDlg::PreviewEffectName() {
    const pnEffect* temp = m_model.Preview();
    return temp ? temp->getName() : std::string();
}

void CCreateEffectDlg::SetMove(const sgVec3& v) {
    m_flags[CEffectFields::kMove]->SetValue(true);
    if (pnEffect* temp = m_model.Preview()) temp->setTrans(v);
    if (!m_bShowingExisting) m_fields.ShowMove(v);
}

void CCreateEffectDlg::SetScale(const sgVec3& v) {
    m_flags[CEffectFields::kScale]->SetValue(true);
    if (pnEffect* temp = m_model.Preview()) temp->setScale(v);
    if (!m_bShowingExisting) m_fields.ShowScale(v);
}

void CCreateEffectDlg::SetRotate(float angle, const sgVec3& axis) {
    m_flags[CEffectFields::kRotate]->SetValue(true);
    if (pnEffect* temp = m_model.Preview()) {
        temp->setRotAngle(angle);
        if (sgLength(axis) > 0.0f) temp->setRotAxis(axis);
    }
    if (!m_bShowingExisting) m_fields.ShowRotation(angle, axis);
}

void CCreateEffectDlg::SaveNewEffectView() {
    m_saved.name = m_pName->GetText();
    m_saved.color = m_strNewColor;
    for (int i = 0; i < 10; ++i) m_saved.texts[i] = m_fields.Edit(i)->GetValue();
    for (int g = 0; g < 3; ++g) m_saved.flags[g] = m_flags[g]->GetValue();
    m_saved.flags[3] = m_pColor->GetValue();
}

void CCreateEffectDlg::RestoreNewEffectView() {
    if (const pnEffect* temp = m_model.PreviewIfMade()) {
        m_fields.ShowEffect(*temp);
    } else {
        for (int i = 0; i < 10; ++i) m_fields.Edit(i)->ChangeValue(m_saved.texts[i]);
    }
    for (int g = 0; g < 3; ++g) m_flags[g]->SetValue(m_saved.flags[g]);
    m_pColor->SetValue(m_saved.flags[3]);
    m_pName->ChangeValue(wxString::FromUTF8(m_saved.name));
    m_strNewColor = m_saved.color;
    m_pSwatch->SetColor(SwatchColour(Scene(), m_strNewColor));
    m_pName->Enable(true);
}

void CCreateEffectDlg::ShowListed(const pnEffect& effect) {
    m_pName->ChangeValue(wxString::FromUTF8(effect.getName()));
    m_fields.ShowEffect(effect, "%.2f");
    m_flags[CEffectFields::kMove]->SetValue(effect.getFlag(pnEffect::TRANS_FLAG) != 0);
    m_flags[CEffectFields::kRotate]->SetValue(effect.getFlag(pnEffect::ROTANGLE_FLAG) != 0);
    m_flags[CEffectFields::kScale]->SetValue(effect.getFlag(pnEffect::SCALE_FLAG) != 0);
    m_strListedColor = effect.getColor();
    const bool known = Scene() && !m_strListedColor.empty() && Scene()->findMaterial(m_strListedColor.c_str());
    m_pColor->SetValue(known);
    m_pSwatch->SetColor(SwatchColour(Scene(), m_strListedColor));
}

void CCreateEffectDlg::SelectListEntry(int index) {
    pnScene* scene = Scene();
    if (!scene || index < 0 || index >= static_cast<int>(m_pList->GetCount())) return;
    m_pList->SetSelection(index);
    if (index > 0) {
        const pnEffect* effect = scene->findEffect(m_pList->GetString(index).ToStdString(wxConvUTF8).c_str());
        if (!effect) return;
        if (!m_bShowingExisting) SaveNewEffectView();
        m_bShowingExisting = true;
        m_pName->Enable(false);
        ShowListed(*effect);
    } else if (m_bShowingExisting) {
        m_bShowingExisting = false;
        RestoreNewEffectView();
    }
}

void CCreateEffectDlg::RemoveListName(const std::string& name) {
    const int at = m_pList->FindString(wxString::FromUTF8(name), true);
    if (at <= 0) return;
    m_pList->Delete(static_cast<unsigned>(at));
    if (m_pList->GetCount() > static_cast<unsigned>(at)) SelectListEntry(at);
    else SelectListEntry(0);
}

void CCreateEffectDlg::ApplyFlagged(pnEffect& effect, const std::string& color) const {
    if (m_flags[CEffectFields::kMove]->GetValue()) effect.setTrans(m_fields.Move());
    if (m_flags[CEffectFields::kRotate]->GetValue()) {
        effect.setRotAngle(m_fields.Angle());
        if (sgLength(m_fields.Axis()) > 0.0f) effect.setRotAxis(m_fields.Axis());
    }
    if (m_flags[CEffectFields::kScale]->GetValue()) effect.setScale(m_fields.Scale());
    if (m_pColor->GetValue() && !color.empty()) effect.setColor(color.c_str());
}

bool CCreateEffectDlg::OnOK() {
    pnScene* scene = Scene();
    if (!scene || !m_model.IsOpen() || m_model.ObjectName().empty()) return false;
    const std::string name = sgCutName(m_pName->GetText());
    if (name.empty()) {
        wxMessageBox("Effect name is required", "Kelvano", wxOK, this);
        return false;
    }
    if (!m_bShowingExisting && scene->effectExists(name.c_str())) {
        wxMessageBox(wxString::FromUTF8("[ " + name + " ] is already used. Please use different name"), "Kelvano",
                     wxOK, this);
        return false;
    }
    // The new play starts at the frame that stands now; the view says why
    // when the time line is taken there, and the dialog stays open.
    if (m_pView->TakeNewEffectLength(m_model.ObjectName()) == 0) return false;
    if (m_bShowingExisting) {
        pnEffect* effect = scene->findEffect(name.c_str());
        if (!effect) return false;
        m_model.DropPreview();
        ApplyFlagged(*effect, m_strListedColor);
        for (wxCheckBox* box : m_flags) box->SetValue(false);
    } else {
        auto made = std::make_unique<pnEffect>();
        made->setName(name.c_str());
        ApplyFlagged(*made, m_strNewColor);
        // Make room for the name first: the preview may hold it.
        m_model.DropPreview();
        if (!scene->addEffect(made.get())) {
            wxMessageBox(wxString::FromUTF8("[ " + name + " ] is already used. Please use different name"),
                         "Kelvano", wxOK, this);
            return false;
        }
        made.release();
    }
    m_model.Applied(name, m_bShowingExisting);
    return true;
}

void CCreateEffectDlg::OnCancel() {
    if (m_model.IsOpen()) m_model.Cancel();
    else if (!IsBeingDeleted()) Destroy();
}

void CCreateEffectDlg::OnCopy() {
    const int sel = m_pList->GetSelection();
    if (sel <= 0) return;
    const std::string made = CopyEffectWithDialog(this, m_pView, m_pList->GetString(sel).ToStdString(wxConvUTF8));
    if (!made.empty()) m_pList->Append(wxString::FromUTF8(made));
}

void CCreateEffectDlg::OnDelete() {
    const int sel = m_pList->GetSelection();
    if (sel <= 0) return;
    // The list entry goes through RemoveListName, as for a delete from the Effect List.
    if (!DeleteEffectWithChecks(this, m_pView, m_pList->GetString(sel).ToStdString(wxConvUTF8))) return;
    if (m_pList->GetCount() == 0) {
        m_fields.Clear();
        m_pSwatch->SetColor(wxColour(0xCC, 0xCC, 0xCC));
    }
}

void CCreateEffectDlg::OnText(wxCommandEvent& event) {
    const int group = m_fields.GroupOf(event.GetId());
    if (group != CEffectFields::kNone) m_flags[group]->SetValue(true);
}

void CCreateEffectDlg::OnButton(wxCommandEvent& event) {
    switch (event.GetId()) {
    case IDC_OK: OnOK(); break;
    case IDC_CANCEL: OnCancel(); break;
    case IDC_COPY: OnCopy(); break;
    case IDC_DELETE: OnDelete(); break;
    case IDC_SWATCH:
        m_material = ShowEffectMaterialChooser(m_material, this, kSwatchOwner,
                                               m_bShowingExisting ? m_strListedColor : m_strNewColor,
                                               [this](int message, int, int index) { OnMaterialMessage(message, index); });
        break;
    default: event.Skip();
    }
}

void CCreateEffectDlg::OnCommit(CPrivateMessageEvent& event) {
    if (event.GetLParam() == 1) OnOK();
}

void CCreateEffectDlg::OnMaterialMessage(int message, int index) {
    pnScene* scene = Scene();
    const pnMaterial* m = scene ? scene->getMaterial(index) : nullptr;
    if (!m) return;
    std::string& color = m_bShowingExisting ? m_strListedColor : m_strNewColor;
    if (message == WM_MATERIAL_CHOSEN) {
        color = m->getName();
        m_pSwatch->SetColor(SwatchColour(scene, color));
        m_pColor->SetValue(true);
    } else if (message == WM_MATERIAL_MODIFIED && m->getName() == color) {
        m_pSwatch->SetColor(SwatchColour(scene, color));
    }
}
