#include "app/CAviCompressorDlg.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/stattext.h>

#include <algorithm>

CAviCompressorDlg::CAviCompressorDlg(wxWindow* parent, const AviCompressOptions& options)
    : wxDialog(parent, wxID_ANY, "Video Compression") {
    auto* grid = new wxFlexGridSizer(3, 6, 6);
    grid->Add(new wxStaticText(this, wxID_ANY, "Compressor:"), 0, wxALIGN_CENTER_VERTICAL);
    m_pCompressor = new wxChoice(this, IDC_COMPRESSOR);
    m_pCompressor->Append("Full Frames (Uncompressed)");
    m_pCompressor->Append("Motion JPEG");
    m_pCompressor->SetSelection(options.handler == kAviFullFrames ? 0 : 1);
    grid->Add(m_pCompressor, 0, wxEXPAND);
    grid->AddSpacer(0);
    grid->Add(new wxStaticText(this, wxID_ANY, "Compression Quality:"), 0, wxALIGN_CENTER_VERTICAL);
    // The stored quality runs 0 to 10000; the slider shows hundredths.
    const int quality = std::clamp(options.quality < 0 ? 75 : options.quality / 100, 0, 100);
    m_pQuality = new wxSlider(this, IDC_QUALITY, quality, 0, 100, wxDefaultPosition, wxSize(180, -1));
    m_pQualityText = new wxStaticText(this, IDC_QUALITY_TEXT, wxString::Format("%d", quality), wxDefaultPosition,
                                      wxSize(30, -1));
    grid->Add(m_pQuality, 0, wxEXPAND);
    grid->Add(m_pQualityText, 0, wxALIGN_CENTER_VERTICAL);
    m_pQuality->Bind(wxEVT_SLIDER, [this](wxCommandEvent&) {
        m_pQualityText->SetLabel(wxString::Format("%d", m_pQuality->GetValue()));
    });
    m_pCompressor->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { UpdateQuality(); });
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 0, wxALL | wxEXPAND, 10);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxALL | wxEXPAND, 10);
    SetSizerAndFit(top);
    UpdateQuality();
    // Enter takes the choice shown.
    if (wxWindow* ok = FindWindow(wxID_OK)) ok->SetFocus();
    CentreOnParent();
}

void CAviCompressorDlg::UpdateQuality() {
    // Full frames have no quality.
    const bool jpeg = m_pCompressor->GetSelection() == 1;
    m_pQuality->Enable(jpeg);
    m_pQualityText->Enable(jpeg);
}

void CAviCompressorDlg::Collect(AviCompressOptions& options) const {
    options.handler = m_pCompressor->GetSelection() == 0 ? kAviFullFrames : kAviMotionJpeg;
    options.quality = m_pQuality->GetValue() * 100;
}
