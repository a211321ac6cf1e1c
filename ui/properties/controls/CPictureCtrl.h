// The page pictures: a bitmap of the program's own art with one colour drawn
// transparent. CMaskedBitmap draws a bitmap plainly or with a colour left
// out; CPictureCtrl shows one by its art id.
#pragma once

#include <wx/bitmap.h>
#include <wx/colour.h>
#include <wx/window.h>

class wxDC;

class CMaskedBitmap : public wxBitmap {
public:
    CMaskedBitmap() = default;
    explicit CMaskedBitmap(const wxBitmap& bitmap) : wxBitmap(bitmap) {}
    // Copies the bitmap to (x, y) as it is.
    void Draw(wxDC& dc, int x, int y) const;
    // Copies the bitmap to (x, y); pixels of the transparent colour leave
    // what is below them.
    void DrawTransparent(wxDC& dc, int x, int y, const wxColour& transparent) const;
};

class CPictureCtrl : public wxWindow {
public:
    CPictureCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition);
    // Takes the art id and the transparent colour and sizes the control to
    // the picture; an unknown id shows nothing.
    void SetBitmap(int bitmapId, const wxColour& transparent);
    int GetBitmapId() const { return m_nBitmapId; }
    const CMaskedBitmap& GetBitmap() const { return m_bitmap; }
    // The control's face as painted over its parent's background.
    wxBitmap RenderFace();
    // A picture takes no focus, like a static control.
    bool AcceptsFocus() const override { return false; }
    bool AcceptsFocusFromKeyboard() const override { return false; }

private:
    void OnPaint(wxPaintEvent& event);
    void Paint(wxDC& dc);
    CMaskedBitmap m_bitmap;
    int m_nBitmapId = -1;
    wxColour m_transparent;
};
