#include "ui/properties/controls/CDibPreviewCtrl.h"

#include "ui/properties/controls/ObjectArt.h"

#include <wx/dcbuffer.h>
#include <wx/image.h>


CDibPreviewCtrl::CDibPreviewCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxWindow(parent, id, pos, size, wxBORDER_SUNKEN) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
        wxAutoBufferedPaintDC dc(this);
        Paint(dc);
    });
}

wxRect CDibPreviewCtrl::FitRect(const wxRect& area, int width, int height) {
    if (width <= 0 || height <= 0 || area.width <= 0 || area.height <= 0) return wxRect();
    int w = width, h = height;
    if (width >= area.width || height >= area.height) {
        const double sx = double(area.width) / width, sy = double(area.height) / height;
        if (sy >= sx) {
            w = area.width;
            h = static_cast<int>(height * sx + 0.5);
        } else {
            h = area.height;
            w = static_cast<int>(width * sy + 0.5);
        }
    }
    return wxRect(area.x + (area.width - w) / 2, area.y + (area.height - h) / 2, w, h);
}

void CDibPreviewCtrl::SetImage(int width, int height, const uint8_t* pixels, int components) {
    if (components < 3 || width <= 0 || height <= 0 || !pixels) return;
    wxImage image(width, height, false);
    unsigned char* out = image.GetData();
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = pixels + size_t(height - 1 - y) * size_t(width) * size_t(components);
        for (int x = 0; x < width; ++x, out += 3)
            for (int c = 0; c < 3; ++c) out[c] = row[x * components + c];
    }
    wxRect area = GetClientRect();
    area.Deflate(1);
    m_rcDest = FitRect(area, width, height);
    if (m_rcDest.IsEmpty()) return;
    m_bitmap = wxBitmap(m_rcDest.width == width && m_rcDest.height == height
                            ? image
                            : image.Scale(m_rcDest.width, m_rcDest.height, wxIMAGE_QUALITY_NORMAL));
    Refresh(false);
}

void CDibPreviewCtrl::Clear() {
    m_bitmap = wxBitmap();
    m_rcDest = wxRect();
    Refresh(false);
}

void CDibPreviewCtrl::Paint(wxDC& dc) {
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    if (m_bitmap.IsOk()) dc.DrawBitmap(m_bitmap, m_rcDest.x, m_rcDest.y);
}

wxBitmap CDibPreviewCtrl::RenderFace() {
    return PaintedBitmap(GetClientSize(), [this](wxDC& dc) { Paint(dc); });
}
