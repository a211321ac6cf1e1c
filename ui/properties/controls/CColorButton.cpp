#include "ui/properties/controls/CColorButton.h"

#include <wx/dcbuffer.h>

#include <algorithm>

CColorButton::CColorButton(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxControl(parent, id, pos, size, wxBORDER_NONE) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CColorButton::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent&) {
        m_bPressed = true;
        if (!HasCapture()) CaptureMouse();
        SetFocus();
        Refresh(false);
    });
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& e) {
        if (!m_bPressed) return;
        m_bPressed = false;
        if (HasCapture()) ReleaseMouse();
        Refresh(false);
        if (wxRect(GetClientSize()).Contains(e.GetPosition()) && IsEnabled()) {
            wxCommandEvent click(wxEVT_BUTTON, GetId());
            click.SetEventObject(this);
            ProcessWindowEvent(click);
        }
    });
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) {
        m_bPressed = false;
        Refresh(false);
    });
}

void CColorButton::SetColor(const wxColour& colour) {
    m_colour = colour;
    Refresh(false);
}

void CColorButton::SetColor(float r, float g, float b) {
    auto byte = [](float v) { return static_cast<unsigned char>(std::clamp(v, 0.0f, 1.0f) * 255.0f); };
    SetColor(wxColour(byte(r), byte(g), byte(b)));
}

void CColorButton::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    const wxSize s = GetClientSize();
    const int l = 0, t = 0, r = s.x - 1, b = s.y - 1;
    dc.SetBackground(wxBrush(GetParent()->GetBackgroundColour()));
    dc.Clear();
    const wxPen black(*wxBLACK, 1), white(*wxWHITE, 2), grey(wxColour(0x80, 0x80, 0x80), 1);
    auto lines = [&dc](const wxPen& pen, wxPoint a, wxPoint m, wxPoint z) {
        dc.SetPen(pen);
        dc.DrawLine(a, m);
        dc.DrawLine(m, z);
    };
    if (m_bPressed) {
        lines(black, {r, t}, {l, t}, {l, b});
        lines(grey, {r - 1, t + 1}, {l + 1, t + 1}, {l + 1, b - 1});
        lines(white, {r - 2, t + 2}, {r - 2, b - 2}, {l + 2, b - 2});
    } else {
        lines(white, {r - 1, t + 1}, {l + 1, t + 1}, {l + 1, b - 1});
        lines(grey, {r - 2, t + 2}, {r - 2, b - 2}, {l + 2, b - 2});
        lines(black, {r - 1, t + 1}, {r - 1, b - 1}, {l + 1, b - 1});
    }
    dc.SetBrush(wxBrush(m_colour));
    dc.SetPen(IsEnabled() ? black : grey);
    dc.DrawRectangle(l + 4, t + 4, std::max(0, s.x - 8), std::max(0, s.y - 8));
}
