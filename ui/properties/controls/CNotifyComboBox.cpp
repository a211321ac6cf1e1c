#include "ui/properties/controls/CNotifyComboBox.h"

#include "ui/properties/controls/CPrivateMessageEvent.h"

CNotifyComboBox::CNotifyComboBox(wxWindow* parent, wxWindowID id, const wxString& value, const wxPoint& pos,
                                 const wxSize& size, const wxArrayString& choices, long style)
    : wxComboBox(parent, id, value, pos, size, choices, style | wxTE_PROCESS_ENTER) {
    Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { Report(1); });
    Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& e) {
        e.Skip();
        wxWindow* owner = GetParent();
        if (!IsBeingDeleted() && !(owner && owner->IsBeingDeleted())) Report(0);
    });
}

void CNotifyComboBox::Report(int enter) {
    m_strText = GetValue().ToStdString(wxConvUTF8);
    SendPrivateMessage(GetParent(), WM_COMBO_COMMIT, GetId(), enter);
}
