#include "ui/properties/dialogs/CChartDataDlg.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/CUndoHistory.h"
#include "charts/pnChart.h"
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "ui/properties/controls/CColorButton.h"
#include "ui/properties/dialogs/CMaterialDlg.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>


namespace {

int templateOf(DataDialogKind kind) {
    switch (kind) {
    case DataDialogKind::Bar: return 120;
    case DataDialogKind::Line: return 321;
    case DataDialogKind::Pie: return 286;
    default: return 160;
    }
}

}  // namespace

void ShowMaterialSwatch(CColorButton* button, const std::string& materialName) {
    if (!button) return;
    const pnScene* scene = CurrentScene();
    const pnMaterial* m = scene && !materialName.empty() ? scene->findMaterial(materialName.c_str()) : nullptr;
    if (!m) {
        button->SetColor(wxColour(0xCC, 0xCC, 0xCC));
        return;
    }
    const sgVec3 d = m->getDiffuse();
    button->SetColor(d[0], d[1], d[2]);
}

void OpenMaterialChooser(wxWeakRef<CMaterialDlg>& slot, wxWindow* parent, wxWindow* owner, int id,
                         const std::string& material) {
    CMaterialDlg::ShowFor(slot, parent, owner, id, material);
}

std::string ChosenMaterialName(long index) {
    const pnScene* scene = CurrentScene();
    const pnMaterial* m = scene ? scene->getMaterial(int(index)) : nullptr;
    return m ? m->getName() : std::string();
}

CChartDataDlg::CChartDataDlg(wxWindow* parent, DataDialogKind kind, wxWeakRef<CMaterialDlg>* materialSlot,
                             wxWindow* materialParent)
    : wxDialog(parent, templateOf(kind), "Graph Data"),
      m_kind(kind),
      m_pChooserSlot(materialSlot ? materialSlot : &m_ownChooser),
      m_pChooserParent(materialParent ? materialParent : this) {
    const CKelvanoDoc* doc = CurrentDocument();
    m_pChart = pnKindCast<pnChart>(CurrentSelection());
    if (m_pChart) m_bLoaded = LoadChartData(*m_pChart, doc->m_nSelectedDataPt, kind, m_form);
    if (!m_bLoaded) return;

    auto* top = new wxBoxSizer(wxVERTICAL);
    if (kind == DataDialogKind::Line || kind == DataDialogKind::Area)
        BuildSegment(top);
    else
        BuildPoint(top);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* ok = new wxButton(this, wxID_OK, "OK");
    ok->SetDefault();
    buttons->Add(ok, 0, wxRIGHT, 6);
    buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"));
    top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 8);
    SetSizerAndFit(top);
    Bind(wxEVT_BUTTON, &CChartDataDlg::OnOk, this, wxID_OK);
    Bind(kvEVT_WM_MATERIAL_CHOSEN, &CChartDataDlg::OnMaterialChosen, this);
    Bind(kvEVT_WM_MATERIAL_MODIFIED, &CChartDataDlg::OnMaterialModified, this);
}

CChartDataDlg::~CChartDataDlg() { ReleaseChooser(); }

void CChartDataDlg::ReleaseChooser() {
    // A later choice in the shared chooser must not reach an ended dialog.
    if (CMaterialDlg* chooser = m_pChooserSlot ? m_pChooserSlot->get() : nullptr) {
        chooser->SetOwner(nullptr, 0);
        chooser->Hide();
    }
}

int CChartDataDlg::ShowModal() {
    if (!m_bLoaded) return wxID_CANCEL;
    const int result = wxDialog::ShowModal();
    ReleaseChooser();
    return result;
}

wxTextCtrl* CChartDataDlg::AddEdit(wxWindow* parent, int id, DataField& field) {
    auto* edit = new wxTextCtrl(parent, id, wxString::FromUTF8(field.text), wxDefaultPosition, wxSize(80, -1));
    m_edits.emplace_back(edit, &field);
    return edit;
}

CColorButton* CChartDataDlg::AddSwatch(wxSizer* row, const char* caption, int id, const std::string& material) {
    row->Add(new wxStaticText(this, wxID_ANY, caption), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    auto* swatch = new CColorButton(this, id);
    ShowMaterialSwatch(swatch, material);
    swatch->Bind(wxEVT_BUTTON, [this, id](wxCommandEvent&) { OnMaterialButton(id); });
    row->Add(swatch, 0, wxRIGHT, 12);
    return swatch;
}

void CChartDataDlg::BuildPoint(wxSizer* top) {
    const bool pie = m_kind == DataDialogKind::Pie;
    auto* grid = new wxFlexGridSizer(2, 4, 6);
    auto row = [&](const char* caption, int id, DataField& field) {
        grid->Add(new wxStaticText(this, wxID_ANY, caption), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(AddEdit(this, id, field));
    };
    if (pie) {
        row("Percent", IDC_HEIGHT, m_form.height[0]);
        row("Value", IDC_VALUE, m_form.value[0]);
        row("Label", IDC_LABEL, m_form.label[0]);
        m_pDepthCheck = new wxCheckBox(this, IDC_DEPTH_CHECK, "Depth");
        m_pDepthCheck->SetValue(m_form.depthOn);
        grid->Add(m_pDepthCheck, 0, wxALIGN_CENTER_VERTICAL);
        wxTextCtrl* depth = AddEdit(this, IDC_DEPTH, m_form.depth);
        depth->Enable(m_form.depthOn);
        grid->Add(depth);
        m_pDepthCheck->Bind(wxEVT_CHECKBOX, [depth](wxCommandEvent& e) { depth->Enable(e.IsChecked()); });
    } else {
        row("Label", IDC_LABEL, m_form.label[0]);
        row("Value", IDC_VALUE, m_form.value[0]);
        row("Height", IDC_HEIGHT, m_form.height[0]);
        row("Spacing", IDC_SPACING, m_form.spacing[0]);
    }
    top->Add(grid, 0, wxALL, 10);
    auto* swatches = new wxBoxSizer(wxHORIZONTAL);
    AddSwatch(swatches, "Material", IDC_MATERIAL, m_form.material);
    top->Add(swatches, 0, wxLEFT | wxRIGHT, 10);
    if (pie) {
        auto* offsets = new wxBoxSizer(wxHORIZONTAL);
        offsets->Add(new wxStaticText(this, wxID_ANY, "Offset Position"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
        for (int k = 0; k < 3; ++k) offsets->Add(AddEdit(this, kOffsetIds[0][k], m_form.offset[0][k]), 0, wxRIGHT, 4);
        top->Add(offsets, 0, wxALL, 10);
    }
}

void CChartDataDlg::BuildSegment(wxSizer* top) {
    const bool line = m_kind == DataDialogKind::Line;
    auto* grid = new wxFlexGridSizer(3, 4, 6);
    grid->AddSpacer(1);
    grid->Add(new wxStaticText(this, IDC_NDX1, m_form.number[0]));
    grid->Add(new wxStaticText(this, IDC_NDX2, m_form.number[1]));
    auto row = [&](const char* caption, int id1, int id2, DataField (&fields)[2]) {
        grid->Add(new wxStaticText(this, wxID_ANY, caption), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(AddEdit(this, id1, fields[0]));
        grid->Add(AddEdit(this, id2, fields[1]));
    };
    row("Height", IDC_HEIGHT, IDC_HEIGHT2, m_form.height);
    row("Value", IDC_VALUE, IDC_VALUE2, m_form.value);
    row("Label", IDC_LABEL, IDC_LABEL2, m_form.label);
    if (!line) row("Spacing", IDC_SPACING, IDC_SPACING2, m_form.spacing);
    top->Add(grid, 0, wxALL, 10);
    if (line) {
        auto* offsets = new wxFlexGridSizer(5, 4, 6);
        offsets->Add(new wxStaticText(this, wxID_ANY, "Offset Position"));
        for (const char* axis : {"", "X", "Y", "Z"}) offsets->Add(new wxStaticText(this, wxID_ANY, axis));
        for (int c = 0; c < 2; ++c) {
            offsets->AddSpacer(1);
            offsets->Add(new wxStaticText(this, c ? IDC_OFFSET_NDX2 : IDC_OFFSET_NDX1, m_form.number[c]));
            for (int k = 0; k < 3; ++k) offsets->Add(AddEdit(this, kOffsetIds[c][k], m_form.offset[c][k]));
        }
        top->Add(offsets, 0, wxLEFT | wxRIGHT, 10);
    }
    auto* swatches = new wxBoxSizer(wxHORIZONTAL);
    AddSwatch(swatches, "Material", IDC_MATERIAL, m_form.material);
    if (line) AddSwatch(swatches, "Joint Matl.", IDC_JOINT_MATERIAL, m_form.jointMaterial);
    top->Add(swatches, 0, wxALL, 10);
}

void CChartDataDlg::OnOk(wxCommandEvent&) {
    CKelvanoView* view = CurrentView();
    if (!view || !m_pChart) return;
    for (auto& [edit, field] : m_edits) field->text = edit->GetValue().ToStdString(wxConvUTF8);
    if (m_pDepthCheck) m_form.depthOn = m_pDepthCheck->GetValue();
    if (!ChartDataOk(*view, *m_pChart, m_form)) {
        // The refused fields show "0.00"; the dialog stays open.
        for (auto& [edit, field] : m_edits)
            if (edit->GetValue().ToStdString(wxConvUTF8) != field->text) edit->ChangeValue(wxString::FromUTF8(field->text));
        return;
    }
    EndModal(wxID_OK);
}

void CChartDataDlg::OnMaterialButton(int id) {
    const std::string& material = id == IDC_JOINT_MATERIAL ? m_form.jointMaterial : m_form.material;
    OpenMaterialChooser(*m_pChooserSlot, m_pChooserParent, this, id, material);
}

void CChartDataDlg::ShowSwatch(int id) {
    ShowMaterialSwatch(static_cast<CColorButton*>(FindWindow(id)),
                       id == IDC_JOINT_MATERIAL ? m_form.jointMaterial : m_form.material);
}

void CChartDataDlg::OnMaterialChosen(CPrivateMessageEvent& event) {
    const int id = int(event.GetWParam());
    if (id != IDC_MATERIAL && id != IDC_JOINT_MATERIAL) return;
    // Kept in the dialog until OK.
    (id == IDC_JOINT_MATERIAL ? m_form.jointMaterial : m_form.material) = ChosenMaterialName(event.GetLParam());
    ShowSwatch(id);
}

void CChartDataDlg::OnMaterialModified(CPrivateMessageEvent& event) {
    const std::string name = ChosenMaterialName(event.GetLParam());
    if (name == m_form.material) ShowSwatch(IDC_MATERIAL);
    if (m_kind == DataDialogKind::Line && name == m_form.jointMaterial) ShowSwatch(IDC_JOINT_MATERIAL);
}

int RunChartDataDialog(wxWindow* parent, wxWeakRef<CMaterialDlg>* slot, wxWindow* chooserParent) {
    const pnObject* selected = CurrentSelection();
    if (!selected) return wxID_CANCEL;
    for (DataDialogKind kind : {DataDialogKind::Bar, DataDialogKind::Line, DataDialogKind::Pie, DataDialogKind::Area})
        if (pnIsKind(selected, DataDialogChartKind(kind))) {
            CChartDataDlg dlg(parent, kind, slot, chooserParent);
            return dlg.ShowModal();
        }
    return wxID_CANCEL;
}
