#include "ui/properties/controls/CImagePreviewButton.h"

#include "sg/sgImage.h"
#include "ui/properties/controls/ObjectArt.h"
#include "ui/properties/rules/ObjectRules.h"

#include <wx/dc.h>
#include <wx/settings.h>

#include <algorithm>

CImagePreviewButton::CImagePreviewButton(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : CImageButton(parent, id, wxEmptyString, pos, size) {}

void CImagePreviewButton::SetFileName(const std::string& file) {
    m_strFile = file;
    m_picture = wxBitmap();
    int components = 3;
    if (!file.empty())
        if (auto picture = LoadPreviewImage(file, &components)) {
            const wxImage image = ImageFromPicture(*picture, components);
            if (image.IsOk()) m_picture = wxBitmap(image, 24);
        }
    InvalidateBestSize();
    Refresh();
}

wxSize CImagePreviewButton::DoGetBestSize() const {
    const wxSize picture = m_picture.IsOk() ? m_picture.GetSize() : wxSize(0, 0);
    return picture + wxSize(2 * kInset, 2 * kInset);
}

void CImagePreviewButton::PaintFace(wxDC& dc) {
    const wxSize size = GetClientSize();
    const int w = size.x, h = size.y;
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    dc.Clear();
    if (m_picture.IsOk()) {
        dc.SetClippingRegion(kInset, kInset, std::max(w - 2 * kInset, 0), std::max(h - 2 * kInset, 0));
        dc.DrawBitmap(m_picture, kInset, kInset, false);
        dc.DestroyClippingRegion();
    }
    const wxPen black(*wxBLACK, 1), white(*wxWHITE, 1), grey(wxColour(0x80, 0x80, 0x80), 1);
    auto line = [&dc](const wxPen& pen, int x0, int y0, int x1, int y1) {
        dc.SetPen(pen);
        dc.DrawLine(x0, y0, x1, y1);
    };
    if (m_bPressed) {
        // Pressed: black on the top and left edge, grey inside it, white
        // (two pixels) on the right and bottom.
        line(black, 0, h - 1, 0, 0), line(black, 0, 0, w, 0);
        line(grey, 1, h - 2, 1, 1), line(grey, 1, 1, w - 1, 1);
        for (int i = 1; i <= 2; ++i) line(white, w - i, 0, w - i, h), line(white, 0, h - i, w, h - i);
    } else {
        // Raised: white (two pixels) on the top and left, grey on the right
        // and bottom edge and black inside it.
        for (int i = 0; i < 2; ++i) line(white, i, h - 1, i, i), line(white, i, i, w, i);
        line(grey, w - 1, 0, w - 1, h), line(grey, 0, h - 1, w, h - 1);
        line(black, w - 2, 1, w - 2, h - 1), line(black, 1, h - 2, w - 1, h - 2);
    }
}

wxBitmap CImagePreviewButton::RenderFace() {
    return PaintedBitmap(GetClientSize(), [this](wxDC& dc) { PaintFace(dc); });
}
