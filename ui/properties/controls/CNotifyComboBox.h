// A combo box that reports its text to its parent on Enter and on every loss
// of focus (WM_COMBO_COMMIT).
#pragma once

#include <wx/combobox.h>

#include <string>

class CNotifyComboBox : public wxComboBox {
public:
    CNotifyComboBox(wxWindow* parent, wxWindowID id, const wxString& value = wxEmptyString,
                    const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                    const wxArrayString& choices = wxArrayString(), long style = 0);
    std::string m_strText;

private:
    void Report(int enter);
};
