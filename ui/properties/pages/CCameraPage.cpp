#include "ui/properties/pages/CCameraPage.h"

#include "ui/properties/controls/CCameraPreviewCtrl.h"
#include "ui/properties/controls/CNotifySliderCtrl.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CPictureCtrl.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/controls/ObjectArt.h"

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <tuple>

CCameraPage::CCameraPage(wxWindow* parent, int templateId) : CObjectPageDlg(parent, templateId) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* mode = new wxStaticBoxSizer(wxVERTICAL, this, "Viewing mode");
    m_pOrtho = new wxRadioButton(this, IDC_ORTHOGRAPHIC, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    m_pPersp = new wxRadioButton(this, IDC_PERSPECTIVE, wxEmptyString);
    auto* orthoText = new wxStaticText(this, IDC_ORTHO_TEXT, "Orthographic");
    auto* perspText = new wxStaticText(this, IDC_PERSP_TEXT, "Perspective");
    auto* orthoPicture = new CPictureCtrl(this, IDC_ORTHO_PICTURE);
    orthoPicture->SetBitmap(149, kArtMask);
    auto* perspPicture = new CPictureCtrl(this, IDC_PERSP_PICTURE);
    perspPicture->SetBitmap(147, kArtMask);
    const std::tuple<wxRadioButton*, CPictureCtrl*, wxStaticText*> rows[] = {{m_pOrtho, orthoPicture, orthoText},
                                                                           {m_pPersp, perspPicture, perspText}};
    for (auto [radio, picture, text] : rows) {
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        row->Add(radio, 0, wxALIGN_CENTER_VERTICAL);
        row->Add(text, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 2);
        row->Add(picture, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 6);
        mode->Add(row, 0, wxBOTTOM, 2);
    }
    top->Add(mode, 0, wxEXPAND | wxALL, 4);

    struct SliderDef {
        const char* label;
        int sliderId, editId, value, lo, hi, page;
    };
    const SliderDef defs[3] = {{"Width", IDC_WIDTH_SLIDER, IDC_WIDTH, 720, 10, 2000, 50},
                               {"FOV", IDC_FOV_SLIDER, IDC_FOV, 30, 10, 120, 10},
                               {"Distance", IDC_DISTANCE_SLIDER, IDC_DISTANCE, 906, 100, 5000, 50}};
    auto* grid = new wxFlexGridSizer(3, 4, 4);
    grid->AddGrowableCol(1);
    for (int i = 0; i < 3; ++i) {
        const SliderDef& d = defs[i];
        m_pSliders[i] = new CNotifySliderCtrl(this, d.sliderId, d.value, d.lo, d.hi);
        m_pSliders[i]->SetPageSize(d.page);
        m_pSliders[i]->SetLineSize(1);
        m_pEdits[i] = new CNumEdit(this, d.editId, wxString::Format("%d", d.value), wxDefaultPosition, wxSize(50, -1));
        grid->Add(new wxStaticText(this, wxID_ANY, d.label), 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(m_pSliders[i], 1, wxEXPAND);
        grid->Add(m_pEdits[i]);
    }
    top->Add(grid, 0, wxEXPAND | wxALL, 4);
    auto* direction = new wxStaticBoxSizer(wxVERTICAL, this, "Direction");
    m_pPreview = new CCameraPreviewCtrl(this, IDC_PREVIEW, wxDefaultPosition, wxSize(120, 120));
    m_pPreview->SetEyeXYZ(0, 0, CCameraPageLogic::kResetDistance);
    direction->Add(m_pPreview, 0, wxALIGN_CENTER | wxALL, 4);
    top->Add(direction, 0, wxEXPAND | wxALL, 4);
    m_pReset = new wxButton(this, IDC_RESET, "&Reset");
    top->Add(m_pReset, 0, wxALL, 4);
    SetSizer(top);

    auto handle = [this](wxEvtHandler* control, const auto& type, std::function<void()> action) {
        control->Bind(type, [this, action](auto&) {
            action();
            ShowControls();
        });
    };
    handle(m_pOrtho, wxEVT_RADIOBUTTON, [this] { m_logic.OnOrthographic(); });
    handle(m_pPersp, wxEVT_RADIOBUTTON, [this] { m_logic.OnPerspective(); });
    handle(orthoText, wxEVT_LEFT_DOWN, [this] { m_logic.OnOrthographic(); });
    handle(perspText, wxEVT_LEFT_DOWN, [this] { m_logic.OnPerspective(); });
    handle(orthoPicture, wxEVT_LEFT_DOWN, [this] { m_logic.OnOrthographic(); });
    handle(perspPicture, wxEVT_LEFT_DOWN, [this] { m_logic.OnPerspective(); });
    handle(m_pSliders[0], wxEVT_SLIDER, [this] { m_logic.OnWidthScroll(m_pSliders[0]->GetValue()); });
    handle(m_pSliders[1], wxEVT_SLIDER, [this] { m_logic.OnFovScroll(m_pSliders[1]->GetValue()); });
    // A distance move ends when the thumb is let go, or with each key step.
    handle(m_pSliders[2], wxEVT_SLIDER, [this] { m_logic.OnDistanceScroll(m_pSliders[2]->GetValue(), false); });
    handle(m_pSliders[2], wxEVT_SCROLL_CHANGED, [this] { m_logic.OnDistanceScroll(m_pSliders[2]->GetValue(), true); });
    handle(m_pReset, wxEVT_BUTTON, [this] { m_logic.OnReset(); });
    Bind(kvEVT_WM_SLIDER_PRESSED, [this](CPrivateMessageEvent&) { m_logic.OnSliderPressed(); });
    Bind(kvEVT_WM_SLIDER_RELEASED, [this](CPrivateMessageEvent&) { m_logic.OnSliderReleased(); });
    Bind(kvEVT_WM_NUMEDIT_COMMIT, &CCameraPage::OnCommit, this);
    m_pPreview->m_onEyeChanged = [this](float x, float y, float z) {
        m_logic.OnPreviewDrop(sgVec3(x, y, z));
        ShowControls();
    };
    LoadViewpoint();
}

void CCameraPage::LoadViewpoint() {
    m_logic.LoadViewpoint();
    ShowControls();
}

void CCameraPage::FollowFrame() {
    m_logic.FollowFrame();
    ShowControls();
}

void CCameraPage::Lock(bool locked) {
    CObjectPageDlg::Lock(locked);
    m_logic.Lock(locked);
    ShowControls();
}

void CCameraPage::SetPresetView(bool on) {
    m_logic.SetPresetView(on);
    ShowControls();
}

void CCameraPage::ShowControls() {
    const CameraPageControls& c = m_logic.Controls();
    (c.perspective ? m_pPersp : m_pOrtho)->SetValue(true);
    m_pOrtho->Enable(c.radiosEnabled != 0);
    m_pPersp->Enable(c.radiosEnabled != 0);
    const int values[3] = {c.width, c.fov, c.distance};
    const std::string* texts[3] = {&c.widthText, &c.fovText, &c.distanceText};
    const int sliderOn[3] = {c.widthSliderEnabled, c.fovSliderEnabled, c.distanceSliderEnabled};
    const int editOn[3] = {c.widthEditEnabled, c.fovEditEnabled, c.distanceEditEnabled};
    for (int i = 0; i < 3; ++i) {
        if (m_pSliders[i]->GetValue() != values[i]) m_pSliders[i]->SetValue(values[i]);
        m_pSliders[i]->Enable(sliderOn[i] != 0);
        if (!m_pEdits[i]->HasFocus()) m_pEdits[i]->ChangeValue(wxString::FromUTF8(*texts[i]));
        m_pEdits[i]->Enable(editOn[i] != 0);
    }
    m_pReset->Enable(c.resetEnabled != 0);
    const sgVec3 eye = m_logic.Eye();
    m_pPreview->SetEyeXYZ(eye[0], eye[1], eye[2]);
    m_pPreview->EnableDrag(c.resetEnabled != 0);
    m_pPreview->Redraw();
}

void CCameraPage::OnCommit(CPrivateMessageEvent& event) {
    const std::string text = [&] {
        for (CNumEdit* edit : m_pEdits)
            if (edit->GetId() == event.GetWParam()) return edit->GetText();
        return std::string();
    }();
    switch (event.GetWParam()) {
    case IDC_WIDTH: m_logic.OnWidthCommit(text); break;
    case IDC_FOV: m_logic.OnFovCommit(text); break;
    case IDC_DISTANCE: m_logic.OnDistanceCommit(text); break;
    default: return;
    }
    ShowControls();
}
