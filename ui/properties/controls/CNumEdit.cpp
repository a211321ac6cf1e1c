#include "ui/properties/controls/CNumEdit.h"

#include "ui/properties/controls/CImageButton.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/rules/ControlRules.h"

#include <wx/anybutton.h>
#include <wx/dialog.h>

#include <utility>
#include <vector>

CNumEdit::CNumEdit(wxWindow* parent, wxWindowID id, const wxString& value, const wxPoint& pos, const wxSize& size,
                   long style)
    : wxTextCtrl(parent, id, value, pos, size, style | wxTE_PROCESS_ENTER), m_strCommitted(value.ToStdString(wxConvUTF8)) {
    Bind(wxEVT_TEXT_ENTER, &CNumEdit::OnEnter, this);
    Bind(wxEVT_SET_FOCUS, &CNumEdit::OnSetFocus, this);
    Bind(wxEVT_KILL_FOCUS, &CNumEdit::OnKillFocus, this);
    Bind(wxEVT_TEXT, &CNumEdit::OnText, this);
}

void CNumEdit::SetValue(const wxString& value) {
    m_bSetting = true;
    wxTextCtrl::SetValue(value);
    m_bSetting = false;
    m_strCommitted = GetText();
}

void CNumEdit::ChangeValue(const wxString& value) {
    wxTextCtrl::ChangeValue(value);
    m_strCommitted = GetText();
}

void CNumEdit::ClampText() {
    std::string corrected;
    if (ClampNumText(m_nMode, m_nMin, m_nMax, m_fMin, m_fMax, GetText(), corrected))
        ChangeValue(wxString::FromUTF8(corrected));
}

void CNumEdit::Commit(long lParam) {
    ClampText();
    m_bRefused = false;
    // What the receiver has once it has heard (it may put another text in).
    m_strCommitted = GetText();
    SendPrivateMessage(GetParent(), WM_NUMEDIT_COMMIT, GetId(), lParam);
    if (!m_bRefused) m_strCommitted = GetText();
}

void CNumEdit::OnEnter(wxCommandEvent&) {
    // Consumed: the dialog's default button does not fire. The dialog may
    // close on it, so the other fields typed into go first.
    wxWindow* top = wxGetTopLevelParent(this);
    const std::string typed = GetText();
    if (!CommitTypedFields(dynamic_cast<wxDialog*>(top) ? top : GetParent(), this)) return;
    ShowTyped(typed);
    Commit(1);
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
            Commit(0);
            m_strSaved = text;
        }
    }
    m_bEditing = 0;
}

void CNumEdit::OnText(wxCommandEvent& event) {
    event.Skip();
    // Every change of the user's reaches the receiver, whatever made it: a
    // key, a paste or cut by key, menu or middle button, an input method.
    if (m_bSetting) return;
    SendPrivateMessage(GetParent(), WM_NUMEDIT_CHANGED, GetId(), 0);
}

bool CNumEdit::CommitPending() {
    const std::string text = GetText();
    const bool pending = IsPending();
    if (pending) Commit(0);
    // A focus loss afterwards has nothing new to report: the text was taken,
    // now or with Enter before, and taken again while a command runs (an Undo
    // that shows the page anew) it would undo the command's change unseen.
    if (m_bEditing) m_strSaved = text;
    return !pending || !m_bRefused;
}

void CNumEdit::Suggest(const std::string& text) {
    ChangeValue(wxString::FromUTF8(text));
    m_bRefused = true;
    SelectAll();
    SetFocus();
}

namespace {
// Every enabled edit under root, but except, with a text the user changed
// since its last report, and that text.
void collectTyped(wxWindow* root, const CNumEdit* except, std::vector<std::pair<CNumEdit*, std::string>>& typed) {
    for (wxWindow* child : root->GetChildren()) {
        // A dialog of its own commits its fields itself.
        if (child->IsTopLevel()) continue;
        auto* edit = dynamic_cast<CNumEdit*>(child);
        if (edit && edit != except && edit->IsEnabled() && edit->IsPending()) typed.emplace_back(edit, edit->GetText());
        collectTyped(child, except, typed);
    }
}
}  // namespace

void CNumEdit::ShowTyped(const std::string& typed) {
    // A commit of another edit may have shown its receiver's state here.
    if (GetText() != typed) wxTextCtrl::ChangeValue(wxString::FromUTF8(typed));
}

bool CNumEdit::CommitTyped(const std::string& typed) {
    ShowTyped(typed);
    return CommitPending();
}

bool CommitTypedFields(wxWindow* root, const CNumEdit* except) {
    if (!root) return true;
    // Every field as it stood when the button was pressed: the receiver of one
    // commit may show its state in the others, over what was typed there.
    std::vector<std::pair<CNumEdit*, std::string>> typed;
    collectTyped(root, except, typed);
    bool kept = true;
    for (const auto& [edit, text] : typed)
        if (edit->IsEnabled() && !edit->CommitTyped(text)) kept = false;
    return kept;
}

void CommitTypedFieldsBeforeButtons(wxWindow* dialog) {
    if (!dialog) return;
    for (wxWindow* child : dialog->GetChildren()) {
        if (child->IsTopLevel()) continue;
        const bool button = dynamic_cast<wxAnyButton*>(child) || dynamic_cast<CImageButton*>(child);
        if (button && child->GetId() != wxID_CANCEL) {
            // Bound on the button: it runs before the dialog hears the click.
            child->Bind(wxEVT_BUTTON, [dialog](wxCommandEvent& event) {
                if (CommitTypedFields(dialog)) event.Skip();
            });
        }
        CommitTypedFieldsBeforeButtons(child);
    }
}
