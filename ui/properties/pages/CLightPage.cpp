#include "ui/properties/pages/CLightPage.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoView.h"
#include "ui/properties/controls/CColorButton.h"
#include "ui/properties/bars/CEditBoxBar.h"
#include "ui/properties/controls/CLightPreviewCtrl.h"
#include "ui/properties/dialogs/CMaterialDlg.h"
#include "ui/properties/controls/CNotifySliderCtrl.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/controls/LayoutFit.h"
#include "ui/properties/pages/PageSupport.h"

#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/tglbtn.h>

namespace {
constexpr int kEditIds[5] = {CLightPage::IDC_EXPONENT, CLightPage::IDC_CUTOFF, CLightPage::IDC_DIRECTION_X,
                             CLightPage::IDC_DIRECTION_Y, CLightPage::IDC_DIRECTION_Z};
}

CLightPage::CLightPage(wxWindow* parent, int templateId) : CObjectPageDlg(parent, templateId) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* lights = new wxFlexGridSizer(4, 2, 4);
    for (int i = 0; i < 4; ++i) {
        m_pLights[i] = new wxToggleButton(this, kLightIds[i], wxString::Format("L%d", i + 1), wxDefaultPosition,
                                          wxDefaultSize, wxBU_EXACTFIT);
        lights->Add(m_pLights[i], 0, wxALIGN_CENTER);
    }
    for (int i = 0; i < 4; ++i) {
        m_pRadios[i] = new wxRadioButton(this, kRadioIds[i], wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                         i == 0 ? wxRB_GROUP : 0);
        lights->Add(m_pRadios[i], 0, wxALIGN_CENTER);
    }
    top->Add(lights, 0, wxALIGN_CENTER | wxALL, 4);
    m_pPreview = new CLightPreviewCtrl(this, IDC_PREVIEW, m_logic.Preview(), wxDefaultPosition, wxSize(120, 120));
    top->Add(m_pPreview, 0, wxALIGN_CENTER | wxALL, 4);

    auto* intensity = new wxStaticBoxSizer(wxVERTICAL, this, "Intensity");
    m_pIntensity = new CNotifySliderCtrl(this, IDC_INTENSITY, 100, 0, 100);
    intensity->Add(m_pIntensity, 0, wxEXPAND);
    auto* ends = new wxBoxSizer(wxHORIZONTAL);
    ends->Add(new wxStaticText(this, wxID_ANY, "0.0"));
    ends->AddStretchSpacer();
    ends->Add(new wxStaticText(this, wxID_ANY, "1.0"));
    intensity->Add(ends, 0, wxEXPAND);
    top->Add(intensity, 0, wxEXPAND | wxLEFT | wxRIGHT, 4);

    auto* kind = new wxBoxSizer(wxHORIZONTAL);
    m_pDirectional = new wxRadioButton(this, IDC_DIRECTIONAL, "Directional", wxDefaultPosition, wxDefaultSize,
                                       wxRB_GROUP);
    m_pPositional = new wxRadioButton(this, IDC_POSITIONAL, "Positional");
    kind->Add(m_pDirectional, 0, wxRIGHT, 8);
    kind->Add(m_pPositional);
    top->Add(kind, 0, wxALL, 4);
    top->Add(new wxStaticText(this, wxID_ANY, "Distance"), 0, wxLEFT, 4);
    m_pDistance = new CNotifySliderCtrl(this, IDC_DISTANCE, 10, 10, 2400, wxDefaultPosition, wxDefaultSize,
                                        wxSL_HORIZONTAL | wxSL_AUTOTICKS);
    m_pDistance->SetTickFreq(300);
    top->Add(m_pDistance, 0, wxEXPAND | wxLEFT | wxRIGHT, 4);

    auto* spot = new wxStaticBoxSizer(wxVERTICAL, this, "Spot Light");
    auto* spotRadios = new wxBoxSizer(wxHORIZONTAL);
    m_pSpotOn = new wxRadioButton(this, IDC_SPOT_ON, "On", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    m_pSpotOff = new wxRadioButton(this, IDC_SPOT_OFF, "Off");
    spotRadios->Add(m_pSpotOn, 0, wxRIGHT, 8);
    spotRadios->Add(m_pSpotOff);
    spot->Add(spotRadios);
    auto* cone = new wxFlexGridSizer(2, 4, 4);
    static const char* const kEditLabels[5] = {"Exponent", "Cutoff Angle", "X", "Y", "Z"};
    for (int i = 0; i < 5; ++i) {
        if (i == 0) spot->Add(new wxStaticText(this, wxID_ANY, "Cone"), 0, wxTOP, 4);
        if (i == 2) {
            spot->Add(cone);
            spot->Add(new wxStaticText(this, wxID_ANY, "Direction"), 0, wxTOP, 4);
            cone = new wxFlexGridSizer(2, 4, 4);
        }
        m_pEdits[i] = layout::FitEdit(new CNumEdit(this, kEditIds[i]), layout::kNumberSample);
        cone->Add(new wxStaticText(this, wxID_ANY, kEditLabels[i]), 0, wxALIGN_CENTER_VERTICAL);
        cone->Add(m_pEdits[i]);
    }
    spot->Add(cone);
    m_pEdits[0]->m_fMin = 1.0f, m_pEdits[0]->m_fMax = 128.0f;
    m_pEdits[1]->m_fMin = 0.0f, m_pEdits[1]->m_fMax = 90.0f;
    top->Add(spot, 0, wxEXPAND | wxALL, 4);

    auto* color = new wxBoxSizer(wxHORIZONTAL);
    color->Add(new wxStaticText(this, wxID_ANY, "Color"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    m_pColor = new CColorButton(this, IDC_COLOR);
    color->Add(m_pColor);
    top->Add(color, 0, wxALL, 4);
    SetSizer(top);

    for (int i = 0; i < 4; ++i) {
        m_pLights[i]->Bind(wxEVT_TOGGLEBUTTON, [this, i](wxCommandEvent&) {
            m_logic.OnLightButton(i, m_pLights[i]->GetValue());
            ShowControls();
        });
        m_pRadios[i]->Bind(wxEVT_RADIOBUTTON, [this, i](wxCommandEvent&) {
            m_logic.OnLightRadio(i);
            ShowControls();
        });
    }
    auto handle = [this](wxEvtHandler* control, const auto& type, std::function<void()> action) {
        control->Bind(type, [this, action](auto&) {
            action();
            ShowControls();
        });
    };
    handle(m_pIntensity, wxEVT_SLIDER, [this] { m_logic.OnIntensity(m_pIntensity->GetValue()); });
    // Every move shows the light; a move ends when the thumb is let go or
    // with each key step (both send the changed event).
    handle(m_pDistance, wxEVT_SLIDER, [this] { m_logic.OnDistance(m_pDistance->GetValue(), false); });
    handle(m_pDistance, wxEVT_SCROLL_CHANGED, [this] { m_logic.OnDistance(m_pDistance->GetValue(), true); });
    handle(m_pSpotOn, wxEVT_RADIOBUTTON, [this] { m_logic.OnSpotOn(m_pEdits[1]->GetText()); });
    handle(m_pSpotOff, wxEVT_RADIOBUTTON, [this] { m_logic.OnSpotOff(); });
    handle(m_pDirectional, wxEVT_RADIOBUTTON, [this] { m_logic.OnDirectional(); });
    handle(m_pPositional, wxEVT_RADIOBUTTON, [this] { m_logic.OnPositional(); });
    m_pColor->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnColor(); });
    Bind(kvEVT_WM_NUMEDIT_COMMIT, &CLightPage::OnCommit, this);
    Bind(kvEVT_WM_MATERIAL_CHOSEN, [this](CPrivateMessageEvent& e) { OnMaterialMessage(e, true); });
    Bind(kvEVT_WM_MATERIAL_MODIFIED, [this](CPrivateMessageEvent& e) { OnMaterialMessage(e, false); });
    m_pPreview->m_onDrop = [this] {
        m_logic.OnPreviewDrop();
        ShowControls();
    };
    // A page made after the view binds itself to the lights standing.
    InitSceneLights(1);
}

void CLightPage::InitSceneLights(int keep) {
    m_logic.InitSceneLights(keep);
    ShowControls();
}

void CLightPage::ReloadLight() {
    if (m_logic.Current() >= 0) m_logic.ShowLight(m_logic.Current());
    ShowControls();
}

void CLightPage::FollowFrame() {
    m_logic.FollowFrame();
    ShowControls();
}

void CLightPage::Lock(bool locked) {
    CObjectPageDlg::Lock(locked);
    m_logic.Lock(locked);
    ShowControls();
}

void CLightPage::ShowControls() {
    const LightPageControls& c = m_logic.Controls();
    for (int i = 0; i < 4; ++i) {
        m_pLights[i]->SetValue(c.check[i] != 0);
        m_pLights[i]->Enable(c.lightButtonsEnabled != 0);
        m_pRadios[i]->Enable(c.radioEnabled[i] != 0);
    }
    m_pRadios[c.radio]->SetValue(true);
    m_pIntensity->SetValue(c.intensity);
    m_pIntensity->Enable(c.intensityEnabled != 0);
    (c.positional ? m_pPositional : m_pDirectional)->SetValue(true);
    m_pPositional->Enable(c.kindEnabled != 0);
    m_pDirectional->Enable(c.kindEnabled != 0);
    m_pDistance->SetValue(c.distance);
    m_pDistance->Enable(c.distanceEnabled != 0);
    (c.spotOff ? m_pSpotOff : m_pSpotOn)->SetValue(true);
    m_pSpotOn->Enable(c.spotRadiosEnabled != 0);
    m_pSpotOff->Enable(c.spotRadiosEnabled != 0);
    const std::string* texts[5] = {&c.exponent, &c.cutoff, &c.directionX, &c.directionY, &c.directionZ};
    for (int i = 0; i < 5; ++i) {
        // The text being typed stays until it is committed.
        if (!m_pEdits[i]->HasFocus()) m_pEdits[i]->ChangeValue(wxString::FromUTF8(*texts[i]));
        m_pEdits[i]->Enable(c.spotEditsEnabled != 0);
    }
    m_pColor->SetColor(wxColour(c.swatch & 0xFF, (c.swatch >> 8) & 0xFF, (c.swatch >> 16) & 0xFF));
    m_pColor->Enable(c.colorEnabled != 0);
    m_pPreview->Redraw();
}

void CLightPage::OnCommit(CPrivateMessageEvent& event) {
    for (int i = 0; i < 5; ++i) {
        if (event.GetWParam() != kEditIds[i]) continue;
        m_logic.OnNumCommit(static_cast<CLightPageLogic::Field>(i), m_pEdits[i]->GetText());
        ShowControls();
    }
}

void CLightPage::OnColor() {
    if (m_logic.Current() < 0) return;
    CEditBoxBar* editBox = pages::EnclosingEditBoxBar(this);
    wxWeakRef<CMaterialDlg> slot(editBox ? editBox->GetMaterialDlg() : nullptr);
    CMaterialDlg::ShowFor(slot, editBox ? static_cast<wxWindow*>(editBox) : this, this, IDC_COLOR,
                          m_logic.CurrentMaterial());
    if (editBox) editBox->SetMaterialDlg(slot.get());
}

void CLightPage::OnMaterialMessage(CPrivateMessageEvent& event, bool chosen) {
    if (event.GetWParam() != IDC_COLOR) return;
    // The chooser drew with its own context.
    if (CKelvanoView* view = CurrentView(); view && view->GetHost()) view->GetHost()->MakeCurrent();
    if (chosen) m_logic.OnMaterialChosen(static_cast<int>(event.GetLParam()));
    else m_logic.OnMaterialModified(static_cast<int>(event.GetLParam()));
    ShowControls();
}
