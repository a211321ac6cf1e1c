// The image file dialog with a "Preview" box and a picture of the selected
// file (tga, jpg, png, rgb, bmp by extension; anything else shows nothing).
#pragma once

#include <wx/filedlg.h>

#include <string>

class CDibPreviewCtrl;

class CPreviewImgDlg : public wxFileDialog {
public:
    enum { IDC_PREVIEW = 1069, IDC_PICTURE = 1742 };
    CPreviewImgDlg(wxWindow* parent, const std::string& folder, const std::string& file, const std::string& filter);

    // Shows the picture of a file in a preview control (cleared when the
    // file does not read). True when a picture shows.
    static bool ShowFile(CDibPreviewCtrl* preview, const std::string& path);
};
