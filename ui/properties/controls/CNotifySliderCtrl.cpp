#include "ui/properties/controls/CNotifySliderCtrl.h"

#include "ui/properties/controls/CPrivateMessageEvent.h"

CNotifySliderCtrl::CNotifySliderCtrl(wxWindow* parent, wxWindowID id, int value, int minValue, int maxValue,
                                     const wxPoint& pos, const wxSize& size, long style)
    : wxSlider(parent, id, value, minValue, maxValue, pos, size, style) {
    Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& e) {
        Pressed();
        e.Skip();
    });
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& e) {
        Released();
        e.Skip();
    });
    Bind(wxEVT_SCROLL_THUMBRELEASE, [this](wxScrollEvent& e) {
        Released();
        e.Skip();
    });
}

void CNotifySliderCtrl::Pressed() {
    m_bPressed = true;
    SendPrivateMessage(GetParent(), WM_SLIDER_PRESSED, GetId(), 0);
}

void CNotifySliderCtrl::Released() {
    if (!m_bPressed) return;
    m_bPressed = false;
    SendPrivateMessage(GetParent(), WM_SLIDER_RELEASED, GetId(), 0);
}
