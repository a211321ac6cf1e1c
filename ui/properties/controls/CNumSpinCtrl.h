// Spin arrows whose buddy is a CNumEdit. When the button is let go the parent
// hears WM_SPIN_RELEASED with the final position, and the buddy takes its
// text as seen, so its next loss of focus does not commit it again. GTK keeps
// the button release to itself: a release detector watches the mouse button
// after each step.
#pragma once

#include <wx/spinbutt.h>
#include <wx/timer.h>

#include <functional>

class CNumEdit;

class CNumSpinCtrl : public wxSpinButton {
public:
    CNumSpinCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                 const wxSize& size = wxDefaultSize, long style = wxSP_VERTICAL);
    ~CNumSpinCtrl() override;

    // The edit that shows the position.
    void SetBuddy(CNumEdit* buddy) { m_pBuddy = buddy; }
    CNumEdit* GetBuddy() const { return m_pBuddy; }
    // Whether the left mouse button is down (the system's state by default).
    void SetButtonStateSource(std::function<bool()> leftIsDown) { m_leftIsDown = std::move(leftIsDown); }
    // Sends the release once per press; the detector and a real button-up
    // both come here.
    void Released();

private:
    void OnSpin(wxSpinEvent& event);
    CNumEdit* m_pBuddy = nullptr;
    wxTimer m_detector;
    bool m_bTracking = false;
    std::function<bool()> m_leftIsDown;
};
