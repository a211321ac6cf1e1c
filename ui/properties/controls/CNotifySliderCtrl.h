// A slider that tells its parent when the left button goes down on it
// (WM_SLIDER_PRESSED, before the thumb moves) and when it is let go
// (WM_SLIDER_RELEASED, once per press: the button-up or GTK's thumb release,
// whichever comes first).
#pragma once

#include <wx/slider.h>

class CNotifySliderCtrl : public wxSlider {
public:
    CNotifySliderCtrl(wxWindow* parent, wxWindowID id, int value, int minValue, int maxValue,
                      const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                      long style = wxSL_HORIZONTAL);
    void Pressed();
    void Released();

private:
    bool m_bPressed = false;
};
