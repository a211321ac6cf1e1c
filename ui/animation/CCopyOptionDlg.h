// "Copy Option": an effect dropped in the event tree is either copied under a
// new name ("Copy Effect") or played as it is ("Use Current Effect").
#pragma once

#include <wx/dialog.h>

#include <string>

class CKelvanoView;
class CNumEdit;
class wxRadioButton;

class CCopyOptionDlg : public wxDialog {
public:
    // effectName: the dropped effect; the copy's name is proposed from it.
    CCopyOptionDlg(wxWindow* parent, CKelvanoView* view, const std::string& effectName);
    // Where the dialog opens (screen); it is moved inside the display's work area.
    void SetPosition(int x, int y);
    using wxDialog::SetPosition;
    // 0 copy, 1 use the current effect.
    int GetChoice() const { return m_nChoice; }
    std::string GetNewName() const { return m_strName; }
    void SetChoice(int choice);
    CNumEdit* NameEdit() const { return m_pName; }
    // Reads the controls: true when the name is free (else refused as OK refuses it).
    bool TakeInput();
    void OnOK();

private:
    CKelvanoView* m_pView;
    std::string m_strCurrent;
    std::string m_strName;
    int m_nChoice = -1;
    wxRadioButton* m_pCopy = nullptr;
    wxRadioButton* m_pUse = nullptr;
    CNumEdit* m_pName = nullptr;
};
