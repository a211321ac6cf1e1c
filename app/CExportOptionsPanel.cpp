#include "app/CExportOptionsPanel.h"

#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

const ExportDialogOptions* CExportOptionsPanel::s_pPending = nullptr;

wxWindow* CExportOptionsPanel::Create(wxWindow* parent) {
    return s_pPending ? new CExportOptionsPanel(parent, *s_pPending) : nullptr;
}

CExportOptionsPanel::CExportOptionsPanel(wxWindow* parent, const ExportDialogOptions& options) : wxPanel(parent) {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    if (options.kind == ExportDialogOptions::Flash) {
        AddFlashControls(row, options);
    } else if (options.kind == ExportDialogOptions::Jpeg) {
        auto* box = new wxStaticBoxSizer(wxHORIZONTAL, this, "JPEG Option");
        box->Add(new wxStaticText(box->GetStaticBox(), wxID_ANY, "Quality:"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
        m_pQuality = new wxSlider(box->GetStaticBox(), IDC_QUALITY, options.quality, 0, 100, wxDefaultPosition,
                                  wxSize(160, -1));
        m_pQualityText = new wxStaticText(box->GetStaticBox(), IDC_QUALITY_TEXT, wxString::Format("%d", options.quality),
                                          wxDefaultPosition, wxSize(30, -1));
        m_pQuality->Bind(wxEVT_SLIDER, [this](wxCommandEvent&) {
            m_pQualityText->SetLabel(wxString::Format("%d", m_pQuality->GetValue()));
        });
        m_pCheck = new wxCheckBox(box->GetStaticBox(), IDC_PROGRESSIVE, "Progressive Compression");
        m_pCheck->SetValue(options.progressive != 0);
        box->Add(m_pQuality, 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
        box->Add(m_pQualityText, 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
        box->Add(m_pCheck, 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
        row->Add(box, 0, wxALL, 4);
    } else {
        const bool gif = options.kind == ExportDialogOptions::Gif || options.kind == ExportDialogOptions::GifAnimation;
        auto* box = new wxStaticBoxSizer(wxHORIZONTAL, this, wxString::FromUTF8(options.group));
        m_pCheck = new wxCheckBox(box->GetStaticBox(), IDC_ALPHA, gif ? "Transparent Background" : "Save Alpha Channel");
        m_pCheck->SetValue(options.check != 0);
        box->Add(m_pCheck, 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
        row->Add(box, 0, wxALL, 4);
        if (options.kind == ExportDialogOptions::GifAnimation) {
            auto* anim = new wxStaticBoxSizer(wxHORIZONTAL, this, "Animation Option");
            wxWindow* p = anim->GetStaticBox();
            m_pLoop = new wxSpinCtrl(p, IDC_LOOP, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS, 0,
                                     65535, options.loopCount);
            m_pDelay = new wxSpinCtrl(p, IDC_DELAY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS, 0,
                                      65535, options.delay);
            anim->Add(new wxStaticText(p, wxID_ANY, "Looping:"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
            anim->Add(m_pLoop, 0, wxALL, 4);
            anim->Add(new wxStaticText(p, wxID_ANY, "(0..65536)"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
            anim->Add(new wxStaticText(p, wxID_ANY, "Frame Delay:"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
            anim->Add(m_pDelay, 0, wxALL, 4);
            anim->Add(new wxStaticText(p, wxID_ANY, "(1/100 sec)"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
            row->Add(anim, 0, wxALL, 4);
        }
    }
    SetSizerAndFit(row);
}

void CExportOptionsPanel::AddFlashControls(wxSizer* row, const ExportDialogOptions& options) {
    auto* box = new wxStaticBoxSizer(wxHORIZONTAL, this, "Flash Option");
    wxWindow* p = box->GetStaticBox();
    m_pRate = new wxSpinCtrl(p, IDC_SWF_RATE, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS, 1, 255,
                             options.frameRate);
    box->Add(m_pRate, 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
    box->Add(new wxStaticText(p, wxID_ANY, "frames/sec"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
    auto* jpeg = new wxRadioButton(p, IDC_SWF_JPEG, "Jpeg", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    m_pBitmap = new wxRadioButton(p, IDC_SWF_BITMAP, "Bitmap");
    (options.bitmap ? m_pBitmap : jpeg)->SetValue(true);
    m_pQuality = new wxSlider(p, IDC_SWF_QUALITY, options.quality, 0, 100, wxDefaultPosition, wxSize(120, -1));
    m_pQualityText = new wxStaticText(p, IDC_SWF_QUALITY_TEXT, wxString::Format("%d", options.quality),
                                      wxDefaultPosition, wxSize(30, -1));
    m_pSwfLoop = new wxCheckBox(p, IDC_SWF_LOOP, "Loop");
    m_pSwfLoop->SetValue(options.loop != 0);
    box->Add(jpeg, 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
    box->Add(m_pQuality, 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
    box->Add(m_pQualityText, 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
    box->Add(m_pBitmap, 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
    box->Add(m_pSwfLoop, 0, wxALIGN_CENTER_VERTICAL | wxALL, 4);
    row->Add(box, 0, wxALL, 4);
    // The quality belongs to JPEG frames only.
    auto follow = [this](wxCommandEvent&) {
        const bool jpegFrames = !m_pBitmap->GetValue();
        m_pQuality->Enable(jpegFrames);
        m_pQualityText->Enable(jpegFrames);
    };
    jpeg->Bind(wxEVT_RADIOBUTTON, follow);
    m_pBitmap->Bind(wxEVT_RADIOBUTTON, follow);
    m_pQuality->Bind(wxEVT_SLIDER, [this](wxCommandEvent&) {
        m_pQualityText->SetLabel(wxString::Format("%d", m_pQuality->GetValue()));
    });
    wxCommandEvent none;
    follow(none);
}

void CExportOptionsPanel::Collect(ExportDialogOptions& options) const {
    if (m_pRate) {
        options.frameRate = m_pRate->GetValue();
        options.bitmap = m_pBitmap->GetValue() ? 1 : 0;
        options.quality = m_pQuality->GetValue();
        options.loop = m_pSwfLoop->GetValue() ? 1 : 0;
        return;
    }
    if (m_pQuality) {
        options.quality = m_pQuality->GetValue();
        options.progressive = m_pCheck && m_pCheck->GetValue() ? 1 : 0;
        return;
    }
    if (m_pCheck) options.check = m_pCheck->GetValue() ? 1 : 0;
    if (m_pLoop) options.loopCount = m_pLoop->GetValue();
    if (m_pDelay) options.delay = m_pDelay->GetValue();
}
