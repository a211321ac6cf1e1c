// "Effect Copy": the name an effect is copied to, proposed free ("effect"
// and the first free number) and refused when an effect has it.
#pragma once

#include <wx/dialog.h>

#include <string>

class CKelvanoView;
class CNumEdit;

class CEffectCopyDlg : public wxDialog {
public:
    CEffectCopyDlg(wxWindow* parent, CKelvanoView* view);
    void SetEffectName(const std::string& name) { m_strSource = name; }
    std::string GetNewName() const { return m_strNewName; }
    CNumEdit* NameEdit() const { return m_pName; }
    // OK: ends with wxID_OK for a free name, else says so and proposes another.
    bool TakeInput();
    void OnOK();

private:
    CKelvanoView* m_pView;
    std::string m_strSource;
    std::string m_strNewName;
    CNumEdit* m_pName = nullptr;
};

// The check both copy dialogs make of a typed name: true when free; else the
// refusal is shown and the edit gets the proposal.
bool AcceptNewEffectName(wxWindow* parent, CKelvanoView* view, CNumEdit* edit, const std::string& proposalBase,
                         std::string& name);
