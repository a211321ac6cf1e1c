#include "ui/properties/controls/CPrivateMessageEvent.h"

#define KV_DEFINE_MESSAGE_EVENT(name, value) wxDEFINE_EVENT(kvEVT_##name, CPrivateMessageEvent);
KV_PRIVATE_MESSAGES(KV_DEFINE_MESSAGE_EVENT)
#undef KV_DEFINE_MESSAGE_EVENT

wxEventType PrivateMessageEventType(int message) {
    switch (message) {
#define KV_MESSAGE_TYPE(name, value) \
    case value: return kvEVT_##name;
        KV_PRIVATE_MESSAGES(KV_MESSAGE_TYPE)
#undef KV_MESSAGE_TYPE
    default: return wxEVT_NULL;
    }
}

long SendPrivateMessage(wxWindow* to, int message, long wParam, long lParam) {
    const wxEventType type = PrivateMessageEventType(message);
    if (!to || type == wxEVT_NULL) return 0;
    CPrivateMessageEvent event(type, message, wParam, lParam);
    event.SetEventObject(to);
    to->GetEventHandler()->ProcessEvent(event);
    return event.GetResult();
}
