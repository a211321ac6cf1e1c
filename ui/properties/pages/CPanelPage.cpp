#include "ui/properties/pages/CPanelPage.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/EditLimits.h"
#include "scene/pnPanel.h"
#include "ui/properties/controls/CColorButton.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CNumSpinCtrl.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/rules/ControlRules.h"
#include "ui/properties/rules/ObjectRules.h"
#include "ui/properties/pages/PageSupport.h"

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>
#include <memory>

namespace {
constexpr int kSpinMax = static_cast<int>(kMaxObjectSize);
const int kValueEdits[] = {CPanelPage::IDC_X, CPanelPage::IDC_Y, CPanelPage::IDC_Z, CPanelPage::IDC_TAPER};
int spinOf(int edit) {
    switch (edit) {
    case CPanelPage::IDC_X: return CPanelPage::IDC_X_SPIN;
    case CPanelPage::IDC_Y: return CPanelPage::IDC_Y_SPIN;
    case CPanelPage::IDC_Z: return CPanelPage::IDC_Z_SPIN;
    default: return CPanelPage::IDC_TAPER_SPIN;
    }
}
}  // namespace

CPanelPage::CPanelPage(wxWindow* parent) : CObjectPageDlg(parent, kTemplate) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    m_pHeading = pages::AddHeading(this, top, IDC_PICTURE, 142, IDC_HEADING);

    auto* grid = new wxFlexGridSizer(2, 4, 6);
    grid->Add(new wxStaticText(this, wxID_ANY, "Name"), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(pages::NameEdit(new CNumEdit(this, IDC_NAME, "", wxDefaultPosition, wxSize(130, -1))));
    grid->Add(new wxStaticText(this, wxID_ANY, "Kind"), 0, wxALIGN_CENTER_VERTICAL);
    auto* kind = new wxBoxSizer(wxHORIZONTAL);
    kind->Add(m_p3D = new wxRadioButton(this, IDC_3D, "3D", wxDefaultPosition, wxDefaultSize, wxRB_GROUP));
    kind->Add(m_p2D = new wxRadioButton(this, IDC_2D, "2D"), 0, wxLEFT, 8);
    grid->Add(kind);
    const struct {
        const char* label;
        int id;
    } rows[] = {{"X", IDC_X}, {"Y", IDC_Y}, {"Z", IDC_Z}, {"Taper", IDC_TAPER}};
    for (const auto& r : rows) {
        grid->Add(new wxStaticText(this, wxID_ANY, r.label), 0, wxALIGN_CENTER_VERTICAL);
        auto* edit = new CNumEdit(this, r.id, "", wxDefaultPosition, wxSize(80, -1));
        edit->m_nMode = 1;
        edit->m_fMin = 0.0f;
        edit->m_fMax = kMaxObjectSize;
        auto* spin = new CNumSpinCtrl(this, spinOf(r.id));
        spin->SetRange(0, kSpinMax);
        spin->SetBuddy(edit);
        auto* pair = new wxBoxSizer(wxHORIZONTAL);
        pair->Add(edit);
        pair->Add(spin, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 2);
        grid->Add(pair);
    }
    top->Add(grid, 0, wxALL, 6);

    auto* material = new wxBoxSizer(wxHORIZONTAL);
    material->Add(new wxStaticText(this, wxID_ANY, "Material"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    material->Add(m_pSwatch = new CColorButton(this, IDC_MATERIAL));
    top->Add(material, 0, wxALL, 6);
    auto* texture = new wxBoxSizer(wxHORIZONTAL);
    texture->Add(m_pTexOff = new wxRadioButton(this, IDC_TEX_OFF, "Off", wxDefaultPosition, wxDefaultSize, wxRB_GROUP));
    texture->Add(m_pTexOn = new wxRadioButton(this, IDC_TEX_ON, "On"), 0, wxLEFT, 8);
    texture->Add(m_pTexture = new wxButton(this, IDC_TEXTURE, "&Texture"), 0, wxLEFT, 8);
    top->Add(texture, 0, wxALL, 6);
    SetSizer(top);

    Bind(kvEVT_WM_NUMEDIT_COMMIT, &CPanelPage::OnCommit, this);
    Bind(kvEVT_WM_SPIN_RELEASED, &CPanelPage::OnSpinReleased, this);
    pages::BindMaterialMessages(this, m_pSwatch, [this]() -> pnObject* { return Panel(); });
    Bind(wxEVT_BUTTON, &CPanelPage::OnButton, this);
    Bind(wxEVT_RADIOBUTTON, &CPanelPage::OnButton, this);
}

CNumEdit* CPanelPage::Edit(int id) const { return dynamic_cast<CNumEdit*>(FindWindow(id)); }
CNumSpinCtrl* CPanelPage::Spin(int id) const { return dynamic_cast<CNumSpinCtrl*>(FindWindow(id)); }

pnPanel* CPanelPage::Panel() const { return SelectedObjectAs<pnPanel>(); }

void CPanelPage::ShowValue(int editId, float value) {
    Edit(editId)->ChangeValue(wxString::Format("%.2f", value));
    // Dimensions from a file may lie beyond the int range.
    Spin(spinOf(editId))->SetValue(ClampedInt(value));
}

void CPanelPage::EnableKindControls() {
    const bool solid = m_nKind == 0 && !IsLocked();
    for (int id : {IDC_Z, IDC_Z_SPIN, IDC_TAPER, IDC_TAPER_SPIN}) FindWindow(id)->Enable(solid);
}

void CPanelPage::LoadFromObject(pnObject* object, int) {
    auto* panel = dynamic_cast<pnPanel*>(object);
    if (!panel) return;
    Edit(IDC_NAME)->ChangeValue(wxString::FromUTF8(panel->getName()));
    m_nKind = panel->getKind() == 0 ? 1 : 0;
    (m_nKind ? m_p2D : m_p3D)->SetValue(true);
    m_pSwatch->SetColor(pages::SwatchColour(panel));
    const sgVec3 d = panel->getDimension();
    ShowValue(IDC_X, d[0]);
    ShowValue(IDC_Y, d[1]);
    ShowValue(IDC_Z, d[2]);
    ShowValue(IDC_TAPER, panel->getBevel());
    Spin(IDC_TAPER_SPIN)->SetRange(0, std::max(0, ClampedInt(TaperLimit(d[0], d[1]))));
    const CKelvanoView* view = CurrentView();
    if (!view || !view->m_bAnimationMode) EnableKindControls();
    bool faces = false;
    for (int f = 0; f < pnPanel::NUM_FACES; ++f) faces = faces || panel->getFaceFlag(f) == 1;
    SetTextureCheck(!panel->getTexture().empty() && faces);
    m_pHeading->SetLabel("Panel");
}

void CPanelPage::SetTextureCheck(bool on) {
    m_nTexture = on ? 1 : 0;
    (on ? m_pTexOn : m_pTexOff)->SetValue(true);
}

void CPanelPage::Lock(bool locked) {
    CObjectPageDlg::Lock(locked);
    for (int id : {IDC_NAME, IDC_X, IDC_X_SPIN, IDC_Y, IDC_Y_SPIN, IDC_3D, IDC_2D, IDC_MATERIAL, IDC_TEXTURE,
                   IDC_TEX_OFF, IDC_TEX_ON})
        FindWindow(id)->Enable(!locked);
    EnableKindControls();
}

pnPanel* CPanelPage::CreatePanel(const std::string& name, float x, float y, float z, float taper) {
    CKelvanoView* view = CurrentView();
    if (!view) return nullptr;
    auto made = std::make_unique<pnPanel>();
    made->setName(name.c_str());
    made->setEachFaceFlag(0, 0, 0, 0, 0, 0);
    made->setDimensionX(x);
    made->setDimensionY(y);
    made->setDimensionZ(z);
    made->setKind(1);
    made->setBevel(taper);
    auto* panel = static_cast<pnPanel*>(view->InsertNewObject(std::move(made)));
    if (panel) LoadFromObject(panel, 0);
    return panel;
}

void CPanelPage::ApplyTaper(float value) {
    pnPanel* panel = Panel();
    if (!panel) return;
    const sgVec3 d = panel->getDimension();
    const float taper = ClampTaper(value, d[0], d[1]);
    pages::Change(panel, [&] { panel->setBevel(taper); });
    ShowValue(IDC_TAPER, taper);
}

void CPanelPage::ApplyDimension(int id, float value) {
    pnPanel* panel = Panel();
    if (!panel) return;
    // The taper follows a smaller X or Y in the same step.
    bool cut = false;
    float taper = panel->getBevel();
    pages::Change(panel, [&] {
        if (id == IDC_X) panel->setDimensionX(value);
        if (id == IDC_Y) panel->setDimensionY(value);
        if (id == IDC_Z) panel->setDimensionZ(value);
        if (id == IDC_Z) return;
        taper = TaperAfterDimension(taper, panel->getDimension()[id == IDC_X ? 0 : 1], &cut);
        if (cut) panel->setBevel(taper);
    });
    // The panel's own value: it turns a side of 0 into 50.
    const sgVec3 d = panel->getDimension();
    ShowValue(id, d[id == IDC_X ? 0 : id == IDC_Y ? 1 : 2]);
    if (id == IDC_Z) return;
    if (cut) {
        Spin(IDC_TAPER_SPIN)->SetRange(0, std::max(0, ClampedInt(taper)));
        Spin(IDC_TAPER_SPIN)->SetValue(ClampedInt(taper));
        Edit(IDC_TAPER)->ChangeValue(wxString::Format("%.02f", taper));
    } else {
        Spin(IDC_TAPER_SPIN)->SetRange(0, std::max(0, ClampedInt(TaperLimit(d[0], d[1]))));
    }
}

void CPanelPage::OnCommit(CPrivateMessageEvent& event) {
    const int id = static_cast<int>(event.GetWParam());
    pnPanel* panel = Panel();
    if (!panel) return;
    if (id == IDC_NAME) {
        if (CommitNameEdit(Edit(IDC_NAME), panel, m_bNameGuard, " is already used!", "Kelvano"))
            Edit(IDC_NAME)->SetInsertionPoint(0);
        return;
    }
    CNumEdit* edit = Edit(id);
    if (!edit) return;
    edit->ClampText();
    const float value = static_cast<float>(ParseLeadingFloat(edit->GetText()));
    if (id == IDC_TAPER)
        ApplyTaper(value);
    else if (id == IDC_X || id == IDC_Y || id == IDC_Z)
        ApplyDimension(id, value);
}

void CPanelPage::OnSpinReleased(CPrivateMessageEvent& event) {
    const int id = static_cast<int>(event.GetWParam());
    const float p = static_cast<float>(event.GetLParam());
    for (int edit : kValueEdits) {
        if (spinOf(edit) != id) continue;
        if (edit == IDC_TAPER)
            ApplyTaper(p);
        else
            ApplyDimension(edit, p);
    }
}

void CPanelPage::OnButton(wxCommandEvent& event) {
    pnPanel* panel = Panel();
    CKelvanoView* view = CurrentView();
    if (!panel || !view) return;
    switch (event.GetId()) {
    case IDC_3D:
    case IDC_2D:
        m_nKind = event.GetId() == IDC_2D ? 1 : 0;
        EnableKindControls();
        pages::Change(panel, [&] { panel->setKind(m_nKind ? 0 : 1); });
        break;
    case IDC_TEX_OFF:
        m_nTexture = 0;
        pages::Change(panel, [&] { panel->setEachFaceFlag(0, 0, 0, 0, 0, 0); });
        break;
    case IDC_TEX_ON:
        m_nTexture = 1;
        pages::Change(panel, [&] {
            panel->setEachFaceFlag(1, 1, 1, 1, 1, 1);
            panel->setMode(1);
        });
        break;
    case IDC_MATERIAL: pages::OpenMaterialChooser(this, IDC_MATERIAL, panel); break;
    case IDC_TEXTURE:
        if (!view->m_bAnimationMode) view->ShowPanelTextureDialog();
        break;
    default: event.Skip(); break;
    }
}
