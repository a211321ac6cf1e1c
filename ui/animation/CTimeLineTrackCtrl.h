// The time line's track as a window: paints the track's raster and hands the
// mouse to it. A lost capture ends a drag as a release.
#pragma once

#include "ui/animation/CTimeLineTrack.h"

#include <wx/window.h>

class CTimeLineTrackCtrl : public wxWindow {
public:
    CTimeLineTrackCtrl(wxWindow* parent, CTrackListener* listener, const wxPoint& pos);
    CTimeLineTrack& Track() { return m_track; }

private:
    void OnPaint(wxPaintEvent& event);
    void OnMouse(wxMouseEvent& event);
    CTimeLineTrack m_track;
    int m_nCursor = -1;
};
