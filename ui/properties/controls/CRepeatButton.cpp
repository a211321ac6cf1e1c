#include "ui/properties/controls/CRepeatButton.h"

#include "ui/properties/controls/CPrivateMessageEvent.h"

// The two numbered timers as wx timers owned by the button.
class CRepeatButton::WindowTimers : public CRepeatLogic::Timers {
public:
    explicit WindowTimers(CRepeatButton* owner) : m_first(owner, REPEAT_TIMER_FIRST), m_repeat(owner, REPEAT_TIMER_REPEAT) {}
    void Start(int id, int ms) override { timer(id).Start(ms); }
    void Stop(int id) override { timer(id).Stop(); }

private:
    wxTimer& timer(int id) { return id == REPEAT_TIMER_FIRST ? m_first : m_repeat; }
    wxTimer m_first, m_repeat;
};

CRepeatButton::CRepeatButton(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                             const wxSize& size)
    : CImageButton(parent, id, label, pos, size), m_pWindowTimers(std::make_unique<WindowTimers>(this)) {
    m_pTimers = m_pWindowTimers.get();
    m_logic = std::make_unique<CRepeatLogic>(*m_pTimers);
    Bind(wxEVT_TIMER, [this](wxTimerEvent& e) { OnRepeatTimer(e.GetId()); });
}

CRepeatButton::~CRepeatButton() {
    m_pWindowTimers->Stop(REPEAT_TIMER_FIRST);
    m_pWindowTimers->Stop(REPEAT_TIMER_REPEAT);
}

void CRepeatButton::SetTimers(CRepeatLogic::Timers* timers) {
    m_pTimers = timers ? timers : m_pWindowTimers.get();
    m_logic = std::make_unique<CRepeatLogic>(*m_pTimers);
}

void CRepeatButton::Click(int clicks) {
    for (int i = 0; i < clicks; ++i) SendPrivateMessage(m_pTarget, WM_REPEAT_CLICK, m_nCode, 0);
}

void CRepeatButton::OnRepeatTimer(int id) { Click(m_logic->Timer(id)); }

void CRepeatButton::OnButtonDown() {
    CImageButton::OnButtonDown();
    Click(m_logic->ButtonDown());
}

void CRepeatButton::OnButtonUp(bool) {
    m_logic->ButtonUp();
    // The clicks were the press and the repetition: no extra click on release.
    CImageButton::OnButtonUp(false);
}

void CRepeatButton::OnDoubleClick() {
    CImageButton::OnDoubleClick();
    Click(m_logic->DoubleClick());
}
