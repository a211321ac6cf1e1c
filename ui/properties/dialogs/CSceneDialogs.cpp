#include "ui/properties/dialogs/CSceneDialogs.h"

#include "ui/properties/rules/BarRules.h"
#include "ui/properties/rules/ControlRules.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {
constexpr int kOk = 1, kCancel = 2;

// OK and Cancel with their layout numbers; OK ends the dialog with 1.
void addButtons(wxDialog* dialog, wxSizer* sizer) {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->AddStretchSpacer();
    auto* ok = new wxButton(dialog, kOk, "OK");
    row->Add(ok, 0, wxRIGHT, 6);
    row->Add(new wxButton(dialog, kCancel, "Cancel"));
    sizer->Add(row, 0, wxEXPAND | wxALL, 8);
    ok->SetDefault();
    dialog->SetAffirmativeId(kOk);
    dialog->SetEscapeId(kCancel);
}

float readNumber(const wxTextCtrl* edit) {
    return static_cast<float>(ParseLeadingFloat(edit->GetValue().ToStdString(wxConvUTF8)));
}
}  // namespace

// ---- Safety Zone ----

CSafetyZoneDlg::CSafetyZoneDlg(wxWindow* parent) : wxDialog(parent, kTemplate, "Safety Zone") {
    auto* top = new wxBoxSizer(wxVERTICAL);
    m_pOn = new wxCheckBox(this, 1073, "On");
    top->Add(m_pOn, 0, wxALL, 8);
    auto* grid = new wxFlexGridSizer(3, 4, 4);
    auto row = [&](const char* label, int id) {
        auto* edit = new wxTextCtrl(this, id, wxEmptyString, wxDefaultPosition, wxSize(70, -1));
        grid->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(edit);
        grid->Add(new wxStaticText(this, wxID_ANY, "% "), 0, wxALIGN_CENTER_VERTICAL);
        return edit;
    };
    m_pHorizontal = row("Horizontal    ", 1331);
    m_pVertical = row("Vertical", 1252);
    top->Add(grid, 0, wxLEFT | wxRIGHT, 8);
    addButtons(this, top);
    SetSizerAndFit(top);
    m_pOn->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnOnClicked(); });
    Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent&) { OnInitDialog(); });
}

void CSafetyZoneDlg::SetHorizontal(float percent) { m_strHorizontal = FormatDecimals(percent, 2); }
void CSafetyZoneDlg::SetVertical(float percent) { m_strVertical = FormatDecimals(percent, 2); }
// The document holds a percent beyond its range at it.
float CSafetyZoneDlg::GetHorizontal() const { return static_cast<float>(ParseRangedFloat(m_strHorizontal)); }
float CSafetyZoneDlg::GetVertical() const { return static_cast<float>(ParseRangedFloat(m_strVertical)); }

void CSafetyZoneDlg::OnInitDialog() {
    m_pOn->SetValue(m_bOn != 0);
    m_pHorizontal->ChangeValue(wxString::FromUTF8(m_strHorizontal));
    m_pVertical->ChangeValue(wxString::FromUTF8(m_strVertical));
    OnOnClicked();
}

void CSafetyZoneDlg::OnOnClicked() {
    const bool on = m_pOn->GetValue();
    m_pHorizontal->Enable(on);
    m_pVertical->Enable(on);
}

bool CSafetyZoneDlg::TransferDataFromWindow() {
    m_bOn = m_pOn->GetValue() ? 1 : 0;
    m_strHorizontal = m_pHorizontal->GetValue().ToStdString(wxConvUTF8);
    m_strVertical = m_pVertical->GetValue().ToStdString(wxConvUTF8);
    return true;
}

// ---- Scene Transformation ----

const int CSceneTransformDlg::kEditIds[10] = {1254, 1266, 1276, 1285, 1394, 1404, 1423, 1302, 1412, 1418};

CSceneTransformDlg::CSceneTransformDlg(wxWindow* parent) : wxDialog(parent, kTemplate, "Scene Transformation") {
    ResetValues();
    auto edit = [this](int index) {
        m_pEdits[index] = new wxTextCtrl(this, kEditIds[index], wxEmptyString, wxDefaultPosition, wxSize(70, -1));
        return m_pEdits[index];
    };
    auto text = [this](const char* label) { return new wxStaticText(this, wxID_ANY, label); };
    auto* grid = new wxFlexGridSizer(4, 4, 4);
    grid->Add(text(""));
    for (const char* axis : {"X", "Y", "Z"}) grid->Add(text(axis), 0, wxALIGN_CENTER);
    const char* const rows[] = {"Position", "Scale"};
    for (int r = 0; r < 2; ++r) {
        grid->Add(text(rows[r]), 0, wxALIGN_CENTER_VERTICAL);
        for (int c = 0; c < 3; ++c) grid->Add(edit(r * 3 + c));
    }
    auto* rotation = new wxStaticBoxSizer(wxVERTICAL, this, "Rotation");
    auto* rotationGrid = new wxFlexGridSizer(4, 4, 4);
    rotationGrid->Add(text("Angle"), 0, wxALIGN_CENTER_VERTICAL);
    rotationGrid->Add(edit(6));
    rotationGrid->AddSpacer(0);
    rotationGrid->AddSpacer(0);
    rotationGrid->Add(text("Axis"), 0, wxALIGN_CENTER_VERTICAL);
    for (int i = 7; i < 10; ++i) rotationGrid->Add(edit(i));
    rotation->Add(rotationGrid, 0, wxALL, 4);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 0, wxALL, 8);
    top->Add(rotation, 0, wxLEFT | wxRIGHT, 8);
    auto* reset = new wxButton(this, kResetId, "Reset");
    top->Add(reset, 0, wxLEFT | wxTOP, 8);
    addButtons(this, top);
    SetSizerAndFit(top);
    reset->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnReset(); });
    Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent&) { OnInitDialog(); });
}

void CSceneTransformDlg::ResetValues() {
    for (int i = 0; i < 3; ++i) {
        m_vPosition[i] = 0.0f;
        m_vScale[i] = 1.0f;
        m_vAxis[i] = i == 1 ? 1.0f : 0.0f;
    }
    m_fAngle = 0.0f;
}

void CSceneTransformDlg::SetPosition(float x, float y, float z) {
    m_vPosition[0] = x, m_vPosition[1] = y, m_vPosition[2] = z;
}
void CSceneTransformDlg::SetScale(float x, float y, float z) { m_vScale[0] = x, m_vScale[1] = y, m_vScale[2] = z; }
void CSceneTransformDlg::SetAxis(float x, float y, float z) { m_vAxis[0] = x, m_vAxis[1] = y, m_vAxis[2] = z; }

void CSceneTransformDlg::OnInitDialog() {
    const float values[10] = {m_vPosition[0], m_vPosition[1], m_vPosition[2], m_vScale[0], m_vScale[1],
                              m_vScale[2],    m_fAngle,       m_vAxis[0],     m_vAxis[1],  m_vAxis[2]};
    for (int i = 0; i < 10; ++i) m_pEdits[i]->ChangeValue(FormatDecimals(values[i], i < 6 ? 2 : 3));
}

void CSceneTransformDlg::OnReset() {
    ResetValues();
    OnInitDialog();
}

bool CSceneTransformDlg::TransferDataFromWindow() {
    float* targets[10] = {&m_vPosition[0], &m_vPosition[1], &m_vPosition[2], &m_vScale[0], &m_vScale[1],
                          &m_vScale[2],    &m_fAngle,       &m_vAxis[0],     &m_vAxis[1],  &m_vAxis[2]};
    for (int i = 0; i < 10; ++i) *targets[i] = readNumber(m_pEdits[i]);
    return true;
}
