#include "ui/properties/controls/CPictureCtrl.h"

#include "ui/properties/controls/ObjectArt.h"

#include <wx/dcclient.h>

void CMaskedBitmap::Draw(wxDC& dc, int x, int y) const {
    if (IsOk()) dc.DrawBitmap(*this, x, y, false);
}

void CMaskedBitmap::DrawTransparent(wxDC& dc, int x, int y, const wxColour& transparent) const {
    if (!IsOk()) return;
    // A copy carries the mask, so the bitmap itself keeps its own.
    wxBitmap masked = *this;
    masked.SetMask(new wxMask(*this, transparent));
    dc.DrawBitmap(masked, x, y, true);
}

CPictureCtrl::CPictureCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos) {
    // Made here, not by the base constructor, so that the toolkit sees that
    // the picture takes no focus.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Create(parent, id, pos, wxSize(1, 1), wxBORDER_NONE);
    Bind(wxEVT_PAINT, &CPictureCtrl::OnPaint, this);
}

void CPictureCtrl::SetBitmap(int bitmapId, const wxColour& transparent) {
    m_nBitmapId = bitmapId;
    m_transparent = transparent;
    const wxImage art = ObjectArt(bitmapId);
    m_bitmap = art.IsOk() ? CMaskedBitmap(wxBitmap(art, 24)) : CMaskedBitmap();
    const wxSize size = m_bitmap.IsOk() ? m_bitmap.GetSize() : wxSize(1, 1);
    SetMinSize(size);
    SetSize(size);
    Refresh();
}

void CPictureCtrl::Paint(wxDC& dc) {
    dc.SetBackground(wxBrush(GetParent() ? GetParent()->GetBackgroundColour() : GetBackgroundColour()));
    dc.Clear();
    m_bitmap.DrawTransparent(dc, 0, 0, m_transparent);
}

void CPictureCtrl::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    Paint(dc);
}

wxBitmap CPictureCtrl::RenderFace() {
    return PaintedBitmap(GetClientSize(), [this](wxDC& dc) { Paint(dc); });
}
