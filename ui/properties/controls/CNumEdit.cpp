#include "ui/properties/controls/CNumEdit.h"

#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/rules/ControlRules.h"

CNumEdit::CNumEdit(wxWindow* parent, wxWindowID id, const wxString& value, const wxPoint& pos, const wxSize& size,
                   long style)
    : wxTextCtrl(parent, id, value, pos, size, style | wxTE_PROCESS_ENTER) {
    Bind(wxEVT_TEXT_ENTER, &CNumEdit::OnEnter, this);
    Bind(wxEVT_SET_FOCUS, &CNumEdit::OnSetFocus, this);
    Bind(wxEVT_KILL_FOCUS, &CNumEdit::OnKillFocus, this);
    Bind(wxEVT_TEXT, &CNumEdit::OnText, this);
    // A typed character or Delete is reported once the edit has taken it.
    Bind(wxEVT_CHAR, [this](wxKeyEvent& e) {
        m_bKeyTyped = true;
        e.Skip();
    });
    Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& e) {
        if (e.GetKeyCode() == WXK_DELETE) m_bKeyTyped = true;
        e.Skip();
    });
}

void CNumEdit::ClampText() {
    std::string corrected;
    if (ClampNumText(m_nMode, m_nMin, m_nMax, m_fMin, m_fMax, GetText(), corrected))
        ChangeValue(wxString::FromUTF8(corrected));
}

void CNumEdit::OnEnter(wxCommandEvent&) {
    // Consumed: the dialog's default button does not fire.
    ClampText();
    SendPrivateMessage(GetParent(), WM_NUMEDIT_COMMIT, GetId(), 1);
    m_strSaved.clear();
}

void CNumEdit::OnSetFocus(wxFocusEvent& event) {
    m_strSaved = GetText();
    m_bEditing = 1;
    event.Skip();
}

void CNumEdit::OnKillFocus(wxFocusEvent& event) {
    event.Skip();
    // A dialog being torn down takes the focus with it: nothing to report.
    wxWindow* parent = GetParent();
    if (IsBeingDeleted() || (parent && parent->IsBeingDeleted())) return;
    if (m_bEditing) {
        const std::string text = GetText();
        if (text != m_strSaved) {
            ClampText();
            SendPrivateMessage(parent, WM_NUMEDIT_COMMIT, GetId(), 0);
            m_strSaved = text;
        }
    }
    m_bEditing = 0;
}

void CNumEdit::OnText(wxCommandEvent& event) {
    event.Skip();
    if (!m_bKeyTyped) return;
    m_bKeyTyped = false;
    SendPrivateMessage(GetParent(), WM_NUMEDIT_CHANGED, GetId(), 0);
}

void CNumEdit::Suggest(const std::string& text) {
    ChangeValue(wxString::FromUTF8(text));
    SelectAll();
    SetFocus();
}
