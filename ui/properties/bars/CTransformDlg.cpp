#include "ui/properties/bars/CTransformDlg.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "scene/pnObject.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CNumSpinCtrl.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/controls/LayoutFit.h"
#include "ui/properties/controls/ViewAccelerators.h"

#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kSpinRange = 100000;
}

CTransformDlg::CTransformDlg(wxWindow* parent)
    : wxPanel(parent, kTemplate, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL) {
    auto field = [this](wxSizer* row, int f) {
        m_pEdits[f] = layout::FitEdit(new CNumEdit(this, kTransformFields[f].editId), layout::kNumberSample);
        m_pSpins[f] = new CNumSpinCtrl(this, kTransformFields[f].spinId);
        m_pSpins[f]->SetRange(-kSpinRange, kSpinRange);
        m_pSpins[f]->SetBuddy(m_pEdits[f]);
        row->Add(m_pEdits[f], 0, wxALIGN_CENTER_VERTICAL);
        row->Add(m_pSpins[f], 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    };
    auto label = [this](wxSizer* grid, const char* text) {
        grid->Add(new wxStaticText(this, wxID_ANY, text), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    };
    auto* grid = new wxFlexGridSizer(4, 2, 2);
    label(grid, "");
    for (const char* axis : {"X", "Y", "Z"}) grid->Add(new wxStaticText(this, wxID_ANY, axis), 0, wxALIGN_CENTER);
    const char* const rows[] = {"Position", "Scale"};
    for (int r = 0; r < 2; ++r) {
        label(grid, rows[r]);
        for (int c = 0; c < 3; ++c) {
            auto* cell = new wxBoxSizer(wxHORIZONTAL);
            field(cell, r * 3 + c);
            grid->Add(cell);
        }
    }
    auto* rotation = new wxStaticBoxSizer(wxVERTICAL, this, "Rotation");
    auto* angleRow = new wxBoxSizer(wxHORIZONTAL);
    angleRow->Add(new wxStaticText(this, wxID_ANY, "Angle"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    field(angleRow, TF_ANGLE);
    rotation->Add(angleRow);
    auto* axisRow = new wxBoxSizer(wxHORIZONTAL);
    axisRow->Add(new wxStaticText(this, wxID_ANY, "Axis"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    for (int f = TF_AXIS_X; f <= TF_AXIS_Z; ++f) field(axisRow, f);
    rotation->Add(axisRow, 0, wxTOP, 2);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 0, wxALL, 4);
    top->Add(rotation, 0, wxALL, 4);
    SetSizerAndFit(top);

    // The angle edit takes -360..360.
    m_pEdits[TF_ANGLE]->m_nMin = -360;
    m_pEdits[TF_ANGLE]->m_nMax = 360;
    for (int f = 0; f < kTransformFieldCount; ++f) m_pEdits[f]->ChangeValue("0.00");
    for (int f = TF_SCALE_X; f <= TF_SCALE_Z; ++f) m_pEdits[f]->ChangeValue("1.00");
    m_pEdits[TF_ANGLE]->ChangeValue("0");
    m_pEdits[TF_AXIS_X]->ChangeValue("0.000");
    m_pEdits[TF_AXIS_Y]->ChangeValue("1.000");
    m_pEdits[TF_AXIS_Z]->ChangeValue("0.000");
    if (const CKelvanoView* view = CurrentView(); view && view->m_bAnimationMode) DisableEdits();

    Bind(kvEVT_WM_NUMEDIT_COMMIT, &CTransformDlg::OnCommit, this);
    Bind(kvEVT_WM_SPIN_RELEASED, &CTransformDlg::OnSpinReleased, this);
    // An Undo from the keys shows the object as the step left it.
    InstallViewAccelerators(this, [this] { ReloadSelected(); });
}

void CTransformDlg::LoadFromObject(const pnObject* object) {
    if (!object) return;
    for (int f = 0; f < kTransformFieldCount; ++f) {
        const float value = ObjectFieldValue(*object, f);
        m_pEdits[f]->ChangeValue(wxString::FromUTF8(FormatTransformField(f, value)));
        // A commit that follows shows no change and is not applied again.
        m_pEdits[f]->m_strSaved = m_pEdits[f]->GetText();
        const double position = std::clamp<double>(std::trunc(value), -kSpinRange, kSpinRange);
        m_pSpins[f]->SetValue(static_cast<int>(position));
    }
}

void CTransformDlg::SetFieldTexts(int firstField, const std::string* texts, int count) {
    for (int i = 0; i < count && firstField + i < kTransformFieldCount; ++i)
        m_pEdits[firstField + i]->ChangeValue(wxString::FromUTF8(texts[i]));
}

// The spins lock with their edits: a spin's release applies its field.
void CTransformDlg::DisableEdits() {
    for (CNumEdit* edit : m_pEdits) edit->Disable();
    for (CNumSpinCtrl* spin : m_pSpins) spin->Disable();
    m_bEnabled = false;
}

void CTransformDlg::EnableEdits() {
    for (CNumEdit* edit : m_pEdits) edit->Enable();
    for (CNumSpinCtrl* spin : m_pSpins) spin->Enable();
    m_bEnabled = true;
}

void CTransformDlg::OnCommit(CPrivateMessageEvent& event) {
    const int field = TransformFieldOfId(static_cast<int>(event.GetWParam()));
    if (field >= 0 && kTransformFields[field].editId == event.GetWParam()) Apply(field);
}

void CTransformDlg::OnSpinReleased(CPrivateMessageEvent& event) {
    // The arrows have written their position into the buddy: it applies with
    // its own field's scaling.
    const int field = TransformFieldOfId(static_cast<int>(event.GetWParam()));
    if (field >= 0 && kTransformFields[field].spinId == event.GetWParam()) Apply(field);
}

void CTransformDlg::Apply(int field) {
    CKelvanoView* view = CurrentView();
    // A release already under way when the bar locked applies nothing.
    if (!m_bEnabled || !view || !view->GetDocument()) return;
    CKelvanoDoc& doc = *view->GetDocument();
    pnObject* selected = doc.m_pSelectedObject;
    if (!selected) return;
    const float value = TransformFieldValue(field, m_pEdits[field]->GetText());
    // A commit that changes nothing (focus leaving a field already applied)
    // records no step.
    if (value != ObjectFieldValue(*selected, field)) ApplyTransformField(doc, *view, field, value);
    // The object may have refused the value (an axis of zero length): the
    // edits show what it holds.
    LoadFromObject(selected);
}

void CTransformDlg::ReloadSelected() {
    const CKelvanoView* view = CurrentView();
    if (view && view->GetDocument() && view->GetDocument()->m_pSelectedObject)
        LoadFromObject(view->GetDocument()->m_pSelectedObject);
}

CTransformBar::CTransformBar(wxWindow* parent, int id)
    : wxPanel(parent, id, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL) {
    m_pDialog = new CTransformDlg(this);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_pDialog, 1, wxEXPAND);
    SetSizerAndFit(sizer);
}
