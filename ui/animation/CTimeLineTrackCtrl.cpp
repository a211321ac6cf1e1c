#include "ui/animation/CTimeLineTrackCtrl.h"

#include <wx/bitmap.h>
#include <wx/dcbuffer.h>
#include <wx/image.h>

CTimeLineTrackCtrl::CTimeLineTrackCtrl(wxWindow* parent, CTrackListener* listener, const wxPoint& pos)
    : wxWindow(parent, wxID_ANY, pos, wxSize(CTimeLineTrack::kWidth, CTimeLineTrack::kHeight),
               wxWANTS_CHARS | wxCLIP_CHILDREN, "dd"),
      m_track(listener) {
    SetMinSize(wxSize(CTimeLineTrack::kWidth, CTimeLineTrack::kHeight));
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CTimeLineTrackCtrl::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CTimeLineTrackCtrl::OnMouse, this);
    Bind(wxEVT_LEFT_UP, &CTimeLineTrackCtrl::OnMouse, this);
    Bind(wxEVT_LEFT_DCLICK, &CTimeLineTrackCtrl::OnMouse, this);
    Bind(wxEVT_MOTION, &CTimeLineTrackCtrl::OnMouse, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { m_track.ButtonUp(); });
}

void CTimeLineTrackCtrl::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    CTrackRaster raster(CTimeLineTrack::kWidth, CTimeLineTrack::kHeight);
    m_track.Paint(raster);
    // wxImage takes RGB rows top-down, as the raster keeps them.
    wxImage image(raster.Width(), raster.Height(), false);
    std::copy(raster.Data().begin(), raster.Data().end(), image.GetData());
    dc.DrawBitmap(wxBitmap(image), 0, 0);
}

void CTimeLineTrackCtrl::OnMouse(wxMouseEvent& event) {
    const wxPoint p = event.GetPosition();
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_LEFT_DOWN) {
        SetFocus();
        if (!HasCapture()) CaptureMouse();
        m_track.ButtonDown(p.x, p.y, event.ShiftDown());
    } else if (type == wxEVT_LEFT_UP) {
        if (HasCapture()) ReleaseMouse();
        m_track.ButtonUp();
    } else if (type == wxEVT_LEFT_DCLICK) {
        // GTK reports press, release, press, double-click, release: the second
        // press has set the row and entry the double-click names.
        m_track.DoubleClick();
    } else if (type == wxEVT_MOTION) {
        if (m_track.IsDragging() && event.LeftIsDown()) {
            m_track.MouseMove(p.x, p.y);
        } else if (!m_track.m_bLocked) {
            const int code = m_track.CursorAt(p.x, p.y);
            if (code != m_nCursor) {
                m_nCursor = code;
                SetCursor(wxCursor(code == CTimeLineTrack::kCursorSizeWE ? wxCURSOR_SIZEWE : wxCURSOR_ARROW));
            }
        }
    }
}
