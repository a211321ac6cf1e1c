// A push button whose face shows a picture file at its own size, as the
// graph pages show the cut and joint shapes. A file that cannot be read
// leaves the face without a picture; nothing is reported while painting.
#pragma once

#include "ui/properties/controls/CImageButton.h"

#include <string>

class CImagePreviewButton : public CImageButton {
public:
    CImagePreviewButton(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                        const wxSize& size = wxDefaultSize);
    // Reads the picture and repaints the button.
    void SetFileName(const std::string& file);
    const std::string& GetFileName() const { return m_strFile; }
    bool HasPicture() const { return m_picture.IsOk(); }
    // The face as painted (tests read it back).
    wxBitmap RenderFace();

    // Where the picture's top left corner goes.
    static constexpr int kInset = 3;

protected:
    void PaintFace(wxDC& dc) override;
    wxSize DoGetBestSize() const override;

private:
    std::string m_strFile;
    wxBitmap m_picture;
};
