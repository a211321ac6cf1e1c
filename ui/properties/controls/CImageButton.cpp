#include "ui/properties/controls/CImageButton.h"

#include <wx/dcclient.h>
#include <wx/renderer.h>
#include <wx/settings.h>

#include <algorithm>

CImageButton::CImageButton(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                           const wxSize& size)
    : wxControl(parent, id, pos, size, wxBORDER_NONE | wxWANTS_CHARS) {
    SetLabel(label);
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CImageButton::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent&) {
        if (!IsEnabled()) return;
        SetFocus();
        if (!HasCapture()) CaptureMouse();
        OnButtonDown();
    });
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& e) {
        if (HasCapture()) ReleaseMouse();
        OnButtonUp(GetClientRect().Contains(e.GetPosition()));
    });
    Bind(wxEVT_LEFT_DCLICK, [this](wxMouseEvent&) {
        if (IsEnabled()) OnDoubleClick();
    });
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { OnButtonUp(false); });
    Bind(wxEVT_SYS_COLOUR_CHANGED, [this](wxSysColourChangedEvent& e) {
        Rebuild();
        e.Skip();
    });
    Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& e) {
        if (e.GetKeyCode() != WXK_SPACE && e.GetKeyCode() != WXK_RETURN) return e.Skip();
        wxCommandEvent click(wxEVT_BUTTON, GetId());
        click.SetEventObject(this);
        ProcessWindowEvent(click);
    });
    Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& e) { Refresh(), e.Skip(); });
    Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& e) { Refresh(), e.Skip(); });
}

wxImage CImageButton::MapMaskColour(const wxImage& image, const wxColour& mask, const wxColour& to) {
    wxImage mapped = image.Copy();
    mapped.Replace(mask.Red(), mask.Green(), mask.Blue(), to.Red(), to.Green(), to.Blue());
    return mapped;
}

bool CImageButton::SetImage(const wxImage& image, int width, int height, const wxColour& mask) {
    if (!image.IsOk() || image.GetWidth() != width || image.GetHeight() != height) return false;
    m_image = image;
    m_mask = mask;
    Rebuild();
    InvalidateBestSize();
    Refresh();
    return m_bmpFace.IsOk() && m_bmpDisabled.IsOk();
}

void CImageButton::Rebuild() {
    if (!m_image.IsOk()) return;
    m_bmpFace = wxBitmap(MapMaskColour(m_image, m_mask, wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    m_bmpDisabled = wxBitmap(MapMaskColour(m_image, m_mask, *wxWHITE).ConvertToDisabled());
}

wxSize CImageButton::DoGetBestSize() const {
    wxSize size(m_image.IsOk() ? m_image.GetWidth() : 0, m_image.IsOk() ? m_image.GetHeight() : 0);
    if (!GetLabel().empty()) {
        const wxSize text = GetTextExtent(wxStripMenuCodes(GetLabel()));
        size.x += m_nGap + text.x;
        size.y = std::max(size.y, text.y);
    }
    return size + wxSize(2 * m_nMargin, 2 * m_nMargin);
}

void CImageButton::OnButtonDown() {
    m_bPressed = true;
    Refresh();
}

void CImageButton::OnButtonUp(bool inside) {
    const bool wasPressed = m_bPressed;
    m_bPressed = false;
    Refresh();
    if (wasPressed && inside) {
        wxCommandEvent click(wxEVT_BUTTON, GetId());
        click.SetEventObject(this);
        ProcessWindowEvent(click);
    }
}

void CImageButton::OnDoubleClick() {
    // The second press of a double-click shows pressed like the first.
    m_bPressed = true;
    Refresh();
}

void CImageButton::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    PaintFace(dc);
}

void CImageButton::PaintFace(wxDC& dc) {
    wxRect r = GetClientRect();
    dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
    dc.Clear();
    if (m_bDefaultLook) {
        dc.SetPen(*wxBLACK_PEN);
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(r);
        r.Deflate(1);
    }
    wxRendererNative::Get().DrawPushButton(this, dc, r, m_bPressed ? int(wxCONTROL_PRESSED) : 0);
    const int offset = m_bPressed ? 1 : 0;
    if (m_bCornerMarker) {
        dc.SetPen(wxPen(m_markerColour));
        for (int i = 0; i < 8; ++i) dc.DrawLine(r.x + 1, r.y + 1 + i, r.x + 1 + 8 - i, r.y + 1 + i);
    }
    const wxBitmap& bitmap = IsEnabled() ? m_bmpFace : m_bmpDisabled;
    wxString caption = GetLabel();
    const int iw = bitmap.IsOk() ? bitmap.GetWidth() : 0, ih = bitmap.IsOk() ? bitmap.GetHeight() : 0;
    // A caption is drawn whole or not at all: one that does not fit beside
    // the picture is left out and the picture centred.
    if (m_bAutoLayout && !caption.empty()) {
        dc.SetFont(GetFont());
        const int room = r.width - (m_nMargin + iw + m_nGap) - m_nMargin;
        if (dc.GetTextExtent(wxStripMenuCodes(caption)).x > room) caption.clear();
    }
    wxPoint image;
    if (m_bAutoLayout) {
        image.x = caption.empty() ? r.x + (r.width - iw) / 2 : r.x + m_nMargin;
        image.y = r.y + (r.height - ih) / 2;
    } else {
        image.x = m_ptImage.x < 0 ? r.x + (r.width - iw) / 2 : m_ptImage.x;
        image.y = m_ptImage.y < 0 ? r.y + (r.height - ih) / 2 : m_ptImage.y;
    }
    if (bitmap.IsOk()) dc.DrawBitmap(bitmap, image + wxPoint(offset, offset), false);
    if (!caption.empty()) {
        dc.SetFont(GetFont());
        dc.SetTextForeground(wxSystemSettings::GetColour(IsEnabled() ? wxSYS_COLOUR_BTNTEXT : wxSYS_COLOUR_GRAYTEXT));
        const wxSize text = dc.GetTextExtent(wxStripMenuCodes(caption));
        wxPoint at;
        if (m_bAutoLayout) {
            const int left = m_nMargin + iw + m_nGap;
            at.x = r.x + left + std::max(0, (r.width - left - text.x) / 2);
            at.y = r.y + (r.height - text.y) / 2;
        } else {
            at = m_ptText;
        }
        dc.DrawLabel(caption, wxRect(at + wxPoint(offset, offset), text));
    }
    if (HasFocus() && IsEnabled()) {
        const int side = std::min(r.width, r.height);
        const int inset = side < 16 ? side / 4 : 3;
        wxRendererNative::Get().DrawFocusRect(this, dc, r.Deflate(inset));
    }
}
