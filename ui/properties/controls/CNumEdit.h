// A single-line edit that reports its value to its parent on Enter and when
// it loses focus with a changed text (WM_NUMEDIT_COMMIT), and after every
// change the user makes to its text, typed, pasted, cut or dropped
// (WM_NUMEDIT_CHANGED), with an optional range check.
//
// Whether focus changes reach a window depends on the desktop (without a
// window manager none do), so a dialog never waits for them: its buttons and
// an Enter in one edit first commit every edit the user changed since its
// last report (CommitTypedFields).
#pragma once

#include <wx/textctrl.h>

#include <string>

class CNumEdit : public wxTextCtrl {
public:
    CNumEdit(wxWindow* parent, wxWindowID id, const wxString& value = wxEmptyString,
             const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize, long style = 0);

    // Applies the range check to the text (the receiver reads the result).
    void ClampText();
    std::string GetText() const { return GetValue().ToStdString(wxConvUTF8); }
    // Replaces the text, selects all of it and takes the focus (a refused
    // name's suggestion).
    void Suggest(const std::string& text);
    // Text set by the program is what the receiver already has: it is
    // neither reported as changed nor committed.
    void SetValue(const wxString& value) override;
    void ChangeValue(const wxString& value) override;
    // Whether the user changed the text since its last report or since the
    // program set it.
    bool IsPending() const { return GetText() != m_strCommitted; }
    // Commits a pending text as a loss of focus would (lParam 0). false when
    // the receiver refused it (it suggested another text).
    bool CommitPending();
    // Puts typed back as the user's text when the program showed another
    // since, and commits it as CommitPending does.
    bool CommitTyped(const std::string& typed);

    int m_nMin = 0;
    int m_nMax = -1;
    float m_fMin = 0.0f;
    float m_fMax = -1.0f;
    int m_bEditing = 0;
    int m_nMode = 0;
    std::string m_strSaved;

private:
    void OnEnter(wxCommandEvent& event);
    void OnSetFocus(wxFocusEvent& event);
    void OnKillFocus(wxFocusEvent& event);
    void OnText(wxCommandEvent& event);
    void Commit(long lParam);
    // Puts typed back as the user's text when the program showed another
    // since (without a report).
    void ShowTyped(const std::string& typed);
    // The text the receiver last heard of (a report, a commit) or that the
    // program set.
    std::string m_strCommitted;
    bool m_bSetting = false;
    bool m_bRefused = false;
};

// Every enabled edit under root whose text the user changed since its last
// report commits it now (but except), each with the text it held when the
// call came, whatever an earlier commit showed in it. false when one of them
// was refused.
bool CommitTypedFields(wxWindow* root, const CNumEdit* except = nullptr);
// Every button under dialog but Cancel first commits the typed fields, as the
// focus it takes would; a refused field keeps the click from going on.
void CommitTypedFieldsBeforeButtons(wxWindow* dialog);
