#include "ui/properties/controls/CNumSpinCtrl.h"

#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"

#include <wx/utils.h>

namespace {
constexpr int kDetectorMs = 20;
}

CNumSpinCtrl::CNumSpinCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style)
    : wxSpinButton(parent, id, pos, size, style), m_detector(this) {
    m_leftIsDown = [] { return wxGetMouseState().LeftIsDown(); };
    Bind(wxEVT_SPIN, &CNumSpinCtrl::OnSpin, this);
    Bind(wxEVT_SPIN_UP, &CNumSpinCtrl::OnSpin, this);
    Bind(wxEVT_SPIN_DOWN, &CNumSpinCtrl::OnSpin, this);
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& e) {
        Released();
        e.Skip();
    });
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
        if (!m_leftIsDown()) Released();
    });
}

CNumSpinCtrl::~CNumSpinCtrl() { m_detector.Stop(); }

void CNumSpinCtrl::OnSpin(wxSpinEvent& event) {
    event.Skip();
    // The buddy follows the arrows, as a spin control's buddy does.
    if (m_pBuddy) m_pBuddy->ChangeValue(wxString::Format("%d", event.GetPosition()));
    if (!m_bTracking) {
        m_bTracking = true;
        m_detector.Start(kDetectorMs);
    }
}

void CNumSpinCtrl::Released() {
    if (!m_bTracking) return;
    m_bTracking = false;
    m_detector.Stop();
    // The low 16 bits of the position, sign-extended.
    const long position = static_cast<short>(GetValue() & 0xFFFF);
    SendPrivateMessage(GetParent(), WM_SPIN_RELEASED, GetId(), position);
    if (m_pBuddy) m_pBuddy->m_strSaved = m_pBuddy->GetText();
}
