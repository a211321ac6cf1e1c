// An image button that clicks at once when pressed and then, while it is
// held (even with the cursor outside), after 500 ms and every 50 ms: each
// click is WM_REPEAT_CLICK (m_nCode, 0) to m_pTarget. A double-click clicks
// once more and starts no repetition.
#pragma once

#include "ui/properties/controls/CImageButton.h"
#include "ui/properties/rules/ControlRules.h"

#include <wx/timer.h>

#include <memory>

class CRepeatButton : public CImageButton {
public:
    CRepeatButton(wxWindow* parent, wxWindowID id, const wxString& label = wxEmptyString,
                  const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize);
    ~CRepeatButton() override;

    // Replaces the two window timers (tests drive them with a fake clock).
    void SetTimers(CRepeatLogic::Timers* timers);
    // A timer of the button fired.
    void OnRepeatTimer(int id);
    bool IsHeld() const { return m_logic->IsPressed(); }

    wxWindow* m_pTarget = nullptr;
    int m_nCode = 0;

protected:
    void OnButtonDown() override;
    void OnButtonUp(bool inside) override;
    void OnDoubleClick() override;

private:
    class WindowTimers;
    void Click(int clicks);
    std::unique_ptr<WindowTimers> m_pWindowTimers;
    CRepeatLogic::Timers* m_pTimers;
    std::unique_ptr<CRepeatLogic> m_logic;
};
