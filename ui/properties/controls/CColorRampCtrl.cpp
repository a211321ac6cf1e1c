#include "ui/properties/controls/CColorRampCtrl.h"

#include "ui/properties/controls/CPrivateMessageEvent.h"

#include <wx/dcbuffer.h>

CColorRampCtrl::CColorRampCtrl(wxWindow* parent, const wxRect& rect, bool horizontal)
    : wxWindow(parent, wxID_ANY, rect.GetPosition(), rect.GetSize(), wxFULL_REPAINT_ON_RESIZE),
      m_rcParent(rect),
      m_geometry(rect.width, rect.height, horizontal) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    // The edits take the keyboard, the pictures only the mouse.
    SetCanFocus(false);
    Bind(wxEVT_PAINT, &CColorRampCtrl::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& e) { MouseDown(e.GetPosition()); });
    Bind(wxEVT_MOTION, [this](wxMouseEvent& e) { MouseMove(e.GetPosition()); });
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& e) { MouseUp(e.GetPosition()); });
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) {
        if (m_bDragging) {
            m_bDragging = false;
            Notify();
        }
    });
}

void CColorRampCtrl::SetPos(int pos, bool redraw) {
    pos = std::clamp(pos, CRampGeometry::kMin, CRampGeometry::kMax);
    if (pos == m_nPos) return;
    m_nPos = pos;
    if (redraw) Refresh(false);
}

void CColorRampCtrl::SetColor(float r, float g, float b, bool redraw) {
    m_color[0] = r, m_color[1] = g, m_color[2] = b;
    if (redraw) Refresh(false);
}

void CColorRampCtrl::SetPosFromPoint(const wxPoint& p) { SetPos(m_geometry.PosFromPoint(p.x, p.y)); }

void CColorRampCtrl::Notify() { SendPrivateMessage(GetParent(), WM_RAMP_CHANGED, m_nRampId, m_nPos); }

void CColorRampCtrl::MouseDown(const wxPoint& p) {
    m_bDragging = true;
    if (!HasCapture()) CaptureMouse();
    SetPosFromPoint(p);
    Notify();
}

void CColorRampCtrl::MouseMove(const wxPoint& p) {
    if (!m_bDragging) return;
    SetPosFromPoint(p);
    Notify();
}

void CColorRampCtrl::MouseUp(const wxPoint& p) {
    if (!m_bDragging) return;
    m_bDragging = false;
    if (HasCapture()) ReleaseMouse();
    SetPosFromPoint(p);
    Notify();
}

void CColorRampCtrl::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(GetParent()->GetBackgroundColour()));
    dc.Clear();
    const int* g = m_geometry.Gradient();
    const int* b = m_geometry.Band();
    const bool horizontal = m_geometry.IsHorizontal();
    const int n = horizontal ? g[2] - g[0] : g[3] - g[1];
    for (int i = 0; i < n; ++i) {
        uint8_t rgb[3];
        CRampGeometry::GradientStep(m_color, i, n, rgb);
        dc.SetPen(wxPen(wxColour(rgb[0], rgb[1], rgb[2])));
        if (horizontal) dc.DrawLine(g[0] + i, g[1], g[0] + i, g[3]);
        else dc.DrawLine(g[0], g[3] - 1 - i, g[2], g[3] - 1 - i);
    }
    dc.SetPen(*wxBLACK_PEN);
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(b[0], b[1], b[2] - b[0], b[3] - b[1]);
    // The marker: explicit colours, no XOR drawing.
    int x = 0, y = 0;
    m_geometry.MarkerPoint(m_nPos, x, y);
    const int s = 6;
    wxPoint tri[3];
    if (horizontal) tri[0] = {x - s, y + s + 1}, tri[1] = {x + s, y + s + 1}, tri[2] = {x, y};
    else tri[0] = {x + s + 1, y - s}, tri[1] = {x + s + 1, y + s}, tri[2] = {x, y};
    dc.SetBrush(*wxBLACK_BRUSH);
    dc.DrawPolygon(3, tri);
}

void RouteMouseToRamps(wxWindow* dialog, CColorRampCtrl* const* ramps, int count) {
    auto route = [ramps, count](wxMouseEvent& e) {
        e.Skip();
        for (int i = 0; i < count; ++i) {
            CColorRampCtrl* ramp = ramps[i];
            // Where the dialog's layout put the ramp.
            const wxRect at = ramp->GetRect();
            if (!at.Contains(e.GetPosition())) continue;
            const wxPoint p = e.GetPosition() - at.GetPosition();
            if (e.LeftDown()) ramp->MouseDown(p);
            else if (e.LeftUp()) ramp->MouseUp(p);
            else ramp->MouseMove(p);
            return;
        }
    };
    dialog->Bind(wxEVT_LEFT_DOWN, route);
    dialog->Bind(wxEVT_LEFT_UP, route);
    dialog->Bind(wxEVT_MOTION, route);
}
