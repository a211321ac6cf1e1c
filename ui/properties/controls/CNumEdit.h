// A single-line edit that reports its value to its parent on Enter and when
// it loses focus with a changed text (WM_NUMEDIT_COMMIT), and after every
// typed character (WM_NUMEDIT_CHANGED), with an optional range check.
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
    bool m_bKeyTyped = false;
};
