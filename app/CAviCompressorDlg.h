// The compressor options dialog of the AVI export: full uncompressed frames
// or Motion JPEG with its quality.
#pragma once

#include "export/CMovieHost.h"

#include <wx/dialog.h>

class wxChoice;
class wxSlider;
class wxStaticText;

class CAviCompressorDlg : public wxDialog {
public:
    enum { IDC_COMPRESSOR = 1100, IDC_QUALITY = 1101, IDC_QUALITY_TEXT = 1102 };
    CAviCompressorDlg(wxWindow* parent, const AviCompressOptions& options);
    // The choice shown, written into options.
    void Collect(AviCompressOptions& options) const;

private:
    void UpdateQuality();

    wxChoice* m_pCompressor = nullptr;
    wxSlider* m_pQuality = nullptr;
    wxStaticText* m_pQualityText = nullptr;
};
