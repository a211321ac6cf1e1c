// The hue-and-whiteness picture of the colour editors. A press, every drag
// step and nothing else sends WM_PALETTE_PICK to the parent, lParam pointing
// to the three floats of the colour under the mouse; the release places the
// marker there.
#pragma once

#include <wx/bitmap.h>
#include <wx/cursor.h>
#include <wx/window.h>

class CColorPaletteCtrl : public wxWindow {
public:
    CColorPaletteCtrl(wxWindow* parent, const wxRect& rect);

    // One of the compiled-in palette pictures ("detail_palette"...), drawn
    // unscaled at the top left; the default "palette" is stretched.
    void SetBitmap(int width, int height, const char* name);
    // Places the marker on a colour whose largest component is 1; other
    // colours leave it where it is.
    void SetMarkerFromColor(float r, float g, float b, bool redraw = true);
    // The colour at a client point, from the client size.
    void ColorAt(const wxPoint& p, float out[3]) const;
    wxPoint GetMarker() const { return m_ptMarker; }

    void MouseDown(const wxPoint& p);
    void MouseMove(const wxPoint& p);
    void MouseUp(const wxPoint& p);

private:
    wxPoint Clamp(const wxPoint& p) const;
    void Pick(const wxPoint& p);
    void OnPaint(wxPaintEvent& event);
    wxBitmap m_bitmap;
    bool m_bDefault = true;
    wxPoint m_ptMarker;
    bool m_bDragging = false;
    wxCursor m_dragCursor;
};

// The compiled-in palette picture of that name; an empty image for another.
wxImage LoadPaletteImage(const char* name);
// The palette's drag cursor: a small ring with a hot spot in its middle.
wxCursor PaletteDragCursor();
