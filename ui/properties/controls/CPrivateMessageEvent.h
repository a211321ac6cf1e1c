// The private messages as wx events: one event type per message, each event
// carrying the two message parameters and a result. Sending processes the
// event in the receiver at once (never queued), so the sender goes on only
// after the receiver has handled it.
#pragma once

#include "ui/properties/rules/PrivateMessages.h"

#include <wx/event.h>
#include <wx/window.h>

class CPrivateMessageEvent : public wxEvent {
public:
    CPrivateMessageEvent(wxEventType type = wxEVT_NULL, int message = 0, long wParam = 0, long lParam = 0)
        : wxEvent(0, type), m_nMessage(message), m_wParam(wParam), m_lParam(lParam) {}
    wxEvent* Clone() const override { return new CPrivateMessageEvent(*this); }

    int GetMessageId() const { return m_nMessage; }
    long GetWParam() const { return m_wParam; }
    long GetLParam() const { return m_lParam; }
    // What the receiver answers (0 unless it sets one).
    void SetResult(long result) { m_nResult = result; }
    long GetResult() const { return m_nResult; }

private:
    int m_nMessage;
    long m_wParam;
    long m_lParam;
    long m_nResult = 0;
};

#define KV_DECLARE_MESSAGE_EVENT(name, value) wxDECLARE_EVENT(kvEVT_##name, CPrivateMessageEvent);
KV_PRIVATE_MESSAGES(KV_DECLARE_MESSAGE_EVENT)
#undef KV_DECLARE_MESSAGE_EVENT

// The event type of a message number; wxEVT_NULL for another number.
wxEventType PrivateMessageEventType(int message);

// Sends a message to a window's handlers synchronously; the receiver's
// result, 0 when the window is null or does not handle the message.
long SendPrivateMessage(wxWindow* to, int message, long wParam, long lParam);
