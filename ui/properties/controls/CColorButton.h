// The material swatch button of the property pages: a bevelled face filled
// with the colour (framed grey when disabled). A click sends wxEVT_BUTTON.
#pragma once

#include <wx/control.h>

class CColorButton : public wxControl {
public:
    CColorButton(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                 const wxSize& size = wxSize(40, 20));
    // The colour of three floats 0..1, shown as each component x 255; a
    // missing material is grey 0xCCCCCC.
    void SetColor(const wxColour& colour);
    void SetColor(float r, float g, float b);
    wxColour GetColor() const { return m_colour; }

protected:
    wxSize DoGetBestSize() const override { return wxSize(40, 20); }

private:
    void OnPaint(wxPaintEvent& event);
    wxColour m_colour{0, 0, 0};
    bool m_bPressed = false;
};
