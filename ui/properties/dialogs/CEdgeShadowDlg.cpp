#include "ui/properties/dialogs/CEdgeShadowDlg.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoView.h"
#include "charts/pnChart.h"
#include "scene/pnMaterial.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "scene/pnString.h"
#include "scene/pnStringProperty.h"
#include "ui/properties/controls/CColorButton.h"
#include "ui/properties/dialogs/CMaterialDlg.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CNumSpinCtrl.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/rules/ControlRules.h"
#include "ui/properties/rules/TextRules.h"

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <cstdio>

namespace {

constexpr int kRadioIds[3] = {1377, 1365, 1391};
constexpr int kEditIds[3] = {1229, 1236, 1244};
constexpr int kSpinIds[3] = {1024, 1030, 1038};
constexpr int kSwatchId = 1474;

}  // namespace

CEdgeShadowDlg::CEdgeShadowDlg(wxWindow* parent, int templateId)
    : wxDialog(parent, templateId, "Edge and Shadow") {
    auto* top = new wxBoxSizer(wxVERTICAL);
    const char* captions[3] = {"None", "Edge", "Shadow"};
    const char* labels[3] = {"Width", "X offset", "Y offset"};
    auto* grid = new wxFlexGridSizer(4, 6, 6);
    for (int i = 0; i < 3; ++i) {
        m_pRadio[i] = new wxRadioButton(this, kRadioIds[i], captions[i], wxDefaultPosition, wxDefaultSize,
                                        i == 0 ? wxRB_GROUP : 0);
        top->Add(m_pRadio[i], 0, wxLEFT | wxTOP, 8);
        m_pRadio[i]->Bind(wxEVT_RADIOBUTTON, [this, i](wxCommandEvent&) { SetKind(i); });
        m_pEdit[i] = new CNumEdit(this, kEditIds[i], "0.0", wxDefaultPosition, wxSize(70, -1));
        m_pEdit[i]->m_nMode = 1;
        m_pEdit[i]->m_fMin = i == 0 ? 0.0f : -100.0f;
        m_pEdit[i]->m_fMax = 100.0f;
        m_pSpin[i] = new CNumSpinCtrl(this, kSpinIds[i]);
        m_pSpin[i]->SetRange(i == 0 ? 0 : -1000, 1000);
        m_pSpin[i]->SetBuddy(m_pEdit[i]);
        grid->Add(new wxStaticText(this, wxID_ANY, labels[i]), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(m_pEdit[i]);
        grid->Add(m_pSpin[i]);
        grid->AddSpacer(1);
    }
    m_pSwatch = new CColorButton(this, kSwatchId);
    grid->Add(new wxStaticText(this, wxID_ANY, "Back material"), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(m_pSwatch);
    top->Add(grid, 0, wxALL, 8);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxALL | wxEXPAND, 8);
    SetSizerAndFit(top);

    Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent&) { Open(); });
    Bind(kvEVT_WM_NUMEDIT_COMMIT, &CEdgeShadowDlg::OnCommit, this);
    // The spins are in tenths: the edit shows the value they stand for.
    auto showSpin = [this](int which, int position) { ShowValue(which, position * 0.1f); };
    Bind(wxEVT_SPIN, [this, showSpin](wxSpinEvent& e) {
        for (int i = 0; i < 3; ++i)
            if (e.GetId() == kSpinIds[i]) showSpin(i, e.GetPosition());
    });
    Bind(kvEVT_WM_SPIN_RELEASED, [this, showSpin](CPrivateMessageEvent& e) {
        for (int i = 0; i < 3; ++i)
            if (e.GetWParam() == kSpinIds[i]) showSpin(i, static_cast<int>(e.GetLParam()));
    });
    m_pSwatch->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        pnScene* scene = CurrentScene();
        if (!scene) return;
        CMaterialDlg::ShowFor(m_materialDlg, this, this, kSwatchId, m_strBackMaterial,
                              [this, scene](int message, int id, int index) {
                                  if (message != WM_MATERIAL_CHOSEN || id != kSwatchId) return;
                                  if (pnMaterial* m = scene->getMaterial(index)) {
                                      if (m_materialDlg) m_materialDlg->Hide();
                                      m_strBackMaterial = m->getName();
                                      ColorSwatch();
                                  }
                              });
    });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (Apply()) EndModal(wxID_OK);
        else EndModal(wxID_CANCEL);
    }, wxID_OK);
}

void CEdgeShadowDlg::ShowValue(int which, float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", value);
    m_pEdit[which]->ChangeValue(text);
}

void CEdgeShadowDlg::Open() {
    float values[3] = {0, 0, 0};
    if (m_pTargetObject) {
        if (auto* text = dynamic_cast<pnString*>(m_pTargetObject)) {
            values[0] = text->getBorder();
            values[1] = text->getHOffset();
            values[2] = text->getVOffset();
        }
    } else if (m_pTargetStyle) {
        // The style turns 2D only when OK applies: Cancel leaves it as it was.
        values[0] = m_pTargetStyle->getBorder();
        values[1] = m_pTargetStyle->getHOffset();
        values[2] = m_pTargetStyle->getVOffset();
    }
    for (int i = 0; i < 3; ++i) {
        ShowValue(i, values[i]);
        m_pSpin[i]->SetValue(ClampedInt(values[i] * 10.0));
    }
    std::string material;
    if (m_pOwnerObject) {
        if (auto* text = dynamic_cast<pnString*>(m_pOwnerObject)) material = text->getBackMaterial();
    } else if (auto* chart = dynamic_cast<pnChart*>(m_pOwnerChart)) {
        material = m_bDataTexts ? chart->getDataBackMaterialName() : chart->getLabelBackMaterialName();
    } else if (auto* text = dynamic_cast<pnString*>(m_pTargetObject)) {
        material = text->getBackMaterial();
    }
    m_strOpeningMaterial = m_strBackMaterial = material;
    ColorSwatch();
    SetKind(EdgeShadowKind(values[0], values[1], values[2]));
}

void CEdgeShadowDlg::ColorSwatch() {
    pnScene* scene = CurrentScene();
    if (!scene) return;
    pnMaterial* m = m_strBackMaterial.empty() ? nullptr : scene->findMaterial(m_strBackMaterial.c_str());
    if (m) {
        const sgVec3 d = m->getDiffuse();
        m_pSwatch->SetColor(d[0], d[1], d[2]);
    } else {
        m_pSwatch->SetColor(wxColour(0xCC, 0xCC, 0xCC));
    }
}

void CEdgeShadowDlg::SetKind(int kind) {
    m_nKind = kind < 0 || kind > 2 ? 0 : kind;
    m_pRadio[m_nKind]->SetValue(true);
    EnableForKind();
}

void CEdgeShadowDlg::EnableForKind() {
    m_pEdit[0]->Enable(m_nKind == 1);
    m_pSpin[0]->Enable(m_nKind == 1);
    for (int i = 1; i < 3; ++i) {
        m_pEdit[i]->Enable(m_nKind == 2);
        m_pSpin[i]->Enable(m_nKind == 2);
    }
    m_pSwatch->Enable(m_nKind != 0);
}

void CEdgeShadowDlg::OnCommit(CPrivateMessageEvent& event) {
    for (int i = 0; i < 3; ++i) {
        if (event.GetWParam() != kEditIds[i]) continue;
        const float value = static_cast<float>(ParseLeadingFloat(m_pEdit[i]->GetText()));
        m_pSpin[i]->SetValue(static_cast<short>(ClampedInt(value * 10.0) & 0xFFFF));
        ShowValue(i, value);
        if (event.GetLParam() == 1 && IsModal()) {
            if (Apply()) EndModal(wxID_OK);
        }
    }
}

bool CEdgeShadowDlg::Apply() {
    CKelvanoView* view = CurrentView();
    if (!view || !view->GetScene()) return false;
    float typed[3];
    for (int i = 0; i < 3; ++i) typed[i] = static_cast<float>(ParseLeadingFloat(m_pEdit[i]->GetText()));
    const EdgeShadowValues v = EdgeShadowApplied(m_nKind, typed[0], typed[1], typed[2]);
    const bool material = m_nKind != 0 && !m_strBackMaterial.empty();
    if (m_pTargetObject) {
        m_pTargetObject->setBorder(v.border);
        m_pTargetObject->setHOffset(v.hOffset);
        m_pTargetObject->setVOffset(v.vOffset);
        if (material) m_pTargetObject->setBackMaterial(m_strBackMaterial.c_str());
    } else if (m_pTargetStyle) {
        m_pTargetStyle->setBorder(v.border);
        m_pTargetStyle->setHOffset(v.hOffset);
        m_pTargetStyle->setVOffset(v.vOffset);
        m_pTargetStyle->setKind(0);
        if (material) {
            if (m_pOwnerObject)
                m_pOwnerObject->setBackMaterial(m_strBackMaterial.c_str());
            else if (auto* chart = dynamic_cast<pnChart*>(m_pOwnerChart)) {
                if (m_bDataTexts)
                    chart->setDataBackMaterialName(m_strBackMaterial.c_str());
                else
                    chart->setLabelBackMaterialName(m_strBackMaterial.c_str());
            }
        }
        view->GetScene()->updateStringsUsingProperty(m_pTargetStyle);
    }
    view->Redraw();
    return true;
}

bool RunStyleEdgeShadowDialog(wxWindow* parent, pnStringProperty* style, pnObject* chart, int dataTexts) {
    CEdgeShadowDlg dlg(parent);
    dlg.SetTargetStyle(style);
    dlg.SetOwnerChart(chart);
    dlg.m_bDataTexts = dataTexts;
    return dlg.ShowModal() == wxID_OK;
}
