// A gradient slider from black to a colour with a triangle marker, positions
// 0..1000. Every press, drag step and release sends WM_RAMP_CHANGED to the
// parent with wParam the ramp ID and lParam the position.
#pragma once

#include "ui/properties/rules/ColorMath.h"

#include <wx/window.h>

class CColorRampCtrl : public wxWindow {
public:
    // Horizontal unless vertical is set; the rectangle is in the parent.
    CColorRampCtrl(wxWindow* parent, const wxRect& rect, bool horizontal = true);

    // Clamped to 0..1000; no change when equal.
    void SetPos(int pos, bool redraw = true);
    int GetPos() const { return m_nPos; }
    void SetColor(float r, float g, float b, bool redraw = true);
    void SetColor(const float c[3], bool redraw = true) { SetColor(c[0], c[1], c[2], redraw); }
    const float* GetColor() const { return m_color; }
    const CRampGeometry& Geometry() const { return m_geometry; }
    // The control's rectangle in its parent (for the parent's hit tests).
    wxRect m_rcParent;
    int m_nRampId = -1;

    // Mouse in client coordinates: press, move and release (a lost capture
    // ends a drag as a release).
    void MouseDown(const wxPoint& p);
    void MouseMove(const wxPoint& p);
    void MouseUp(const wxPoint& p);
    bool IsDragging() const { return m_bDragging; }

private:
    void SetPosFromPoint(const wxPoint& p);
    void Notify();
    void OnPaint(wxPaintEvent& event);
    CRampGeometry m_geometry;
    int m_nPos = 0;
    float m_color[3] = {1.0f, 1.0f, 1.0f};
    bool m_bDragging = false;
};

// The editors pass their own mouse messages to the first slider whose
// rectangle holds the point, in the slider's coordinates.
void RouteMouseToRamps(wxWindow* dialog, CColorRampCtrl* const* ramps, int count);
