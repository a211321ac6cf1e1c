#include "ui/properties/controls/CColorPaletteCtrl.h"

#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/rules/ColorMath.h"

#include <wx/dcbuffer.h>
#include <wx/image.h>
#include <wx/mstream.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

struct CompiledBitmap {
    const char* name;
    std::vector<unsigned char> bytes;
};
const CompiledBitmap kBitmaps[] = {
#include "kelvano_bitmaps.inc"
};

}  // namespace

wxImage LoadPaletteImage(const char* name) {
    for (const CompiledBitmap& b : kBitmaps) {
        if (std::strcmp(b.name, name) != 0) continue;
        if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
        wxMemoryInputStream in(b.bytes.data(), b.bytes.size());
        wxImage image;
        image.LoadFile(in, wxBITMAP_TYPE_PNG);
        return image;
    }
    return wxImage();
}

wxCursor PaletteDragCursor() {
    wxImage ring(16, 16);
    ring.InitAlpha();
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const int d2 = (x - 7) * (x - 7) + (y - 7) * (y - 7);
            const bool outer = d2 >= 20 && d2 <= 42, inner = d2 >= 9 && d2 < 20;
            ring.SetRGB(x, y, inner ? 255 : 0, inner ? 255 : 0, inner ? 255 : 0);
            ring.SetAlpha(x, y, outer || inner ? 255 : 0);
        }
    ring.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_X, 7);
    ring.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_Y, 7);
    return wxCursor(ring);
}

CColorPaletteCtrl::CColorPaletteCtrl(wxWindow* parent, const wxRect& rect)
    : wxWindow(parent, wxID_ANY, rect.GetPosition(), rect.GetSize(), wxFULL_REPAINT_ON_RESIZE),
      m_ptMarker(rect.width / 2, rect.height - 3) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    // The edits take the keyboard, the pictures only the mouse.
    SetCanFocus(false);
    m_bitmap = wxBitmap(LoadPaletteImage("palette"));
    Bind(wxEVT_PAINT, &CColorPaletteCtrl::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& e) { MouseDown(e.GetPosition()); });
    Bind(wxEVT_MOTION, [this](wxMouseEvent& e) { MouseMove(e.GetPosition()); });
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& e) { MouseUp(e.GetPosition()); });
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) {
        m_bDragging = false;
        SetCursor(wxNullCursor);
        Refresh(false);
    });
}

void CColorPaletteCtrl::SetBitmap(int width, int height, const char* name) {
    const wxImage image = LoadPaletteImage(name);
    if (image.IsOk() && image.GetWidth() == width && image.GetHeight() == height) m_bitmap = wxBitmap(image);
    m_bDefault = false;
    Refresh(false);
}

void CColorPaletteCtrl::SetMarkerFromColor(float r, float g, float b, bool redraw) {
    const float c[3] = {r, g, b};
    const wxSize client = GetClientSize();
    paletteMarkerFromColor(c, client.x, client.y, m_ptMarker.x, m_ptMarker.y);
    if (redraw) Refresh(false);
}

void CColorPaletteCtrl::ColorAt(const wxPoint& p, float out[3]) const {
    const wxSize client = GetClientSize();
    paletteColorAt(float(p.x), float(p.y), client.x, client.y, out);
}

wxPoint CColorPaletteCtrl::Clamp(const wxPoint& p) const {
    // Capture and clamping stand for confining the cursor to the picture.
    const wxSize client = GetClientSize();
    return {std::clamp(p.x, 0, std::max(0, client.x - 1)), std::clamp(p.y, 0, std::max(0, client.y - 1))};
}

void CColorPaletteCtrl::Pick(const wxPoint& p) {
    float c[3];
    ColorAt(Clamp(p), c);
    SendPrivateMessage(GetParent(), WM_PALETTE_PICK, 0, reinterpret_cast<long>(c));
}

void CColorPaletteCtrl::MouseDown(const wxPoint& p) {
    m_bDragging = true;
    if (!m_dragCursor.IsOk()) m_dragCursor = PaletteDragCursor();
    SetCursor(m_dragCursor);
    if (!HasCapture()) CaptureMouse();
    Pick(p);
    Refresh(false);
}

void CColorPaletteCtrl::MouseMove(const wxPoint& p) {
    if (m_bDragging) Pick(p);
}

void CColorPaletteCtrl::MouseUp(const wxPoint& p) {
    if (!m_bDragging) return;
    m_ptMarker = Clamp(p);
    m_bDragging = false;
    if (HasCapture()) ReleaseMouse();
    SetCursor(wxNullCursor);
    Refresh(false);
}

void CColorPaletteCtrl::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    const wxSize client = GetClientSize();
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    if (m_bitmap.IsOk()) {
        if (m_bDefault && client.x > 0 && client.y > 0)
            dc.DrawBitmap(wxBitmap(m_bitmap.ConvertToImage().Scale(client.x, client.y)), 0, 0);
        else
            dc.DrawBitmap(m_bitmap, 0, 0);
    }
    if (!m_bDragging) {
        dc.SetPen(*wxBLACK_PEN);
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(m_ptMarker.x - 3, m_ptMarker.y - 3, 7, 7);
    }
}
