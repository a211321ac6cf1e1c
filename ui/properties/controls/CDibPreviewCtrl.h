// Shows a decoded picture scaled to fit, centred (unscaled when it is smaller
// than the control in both directions), for the texture file preview.
#pragma once

#include <wx/bitmap.h>
#include <wx/window.h>

#include <cstdint>

class CDibPreviewCtrl : public wxWindow {
public:
    CDibPreviewCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size);
    // width x height pixels of components bytes, rows bottom-up; fewer than 3
    // components show nothing new.
    void SetImage(int width, int height, const uint8_t* pixels, int components);
    void Clear();
    // Where the picture goes in an area (the client rectangle inset by 1).
    static wxRect FitRect(const wxRect& area, int width, int height);
    const wxRect& GetDestRect() const { return m_rcDest; }
    bool HasImage() const { return m_bitmap.IsOk(); }
    // The control's face as painted.
    wxBitmap RenderFace();

private:
    void Paint(wxDC& dc);
    wxBitmap m_bitmap;
    wxRect m_rcDest;
};
