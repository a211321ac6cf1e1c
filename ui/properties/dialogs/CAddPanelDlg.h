// "Input Panel Data": the name, dimensions and taper of a new panel. It
// proposes a free name and refuses a taken or empty one.
#pragma once

#include <wx/dialog.h>

#include <string>

class wxTextCtrl;

class CAddPanelDlg : public wxDialog {
public:
    enum { IDC_NAME = 1006, IDC_TAPER = 1126, IDC_X = 1142, IDC_Y = 1157, IDC_Z = 1168 };
    explicit CAddPanelDlg(wxWindow* parent);

    void GetSize(float& x, float& y, float& z) const {
        x = m_fX;
        y = m_fY;
        z = m_fZ;
    }
    // Reads the edits: false (the dialog stays) for a value that is not a
    // number, a size or taper out of the panel's range, or a name that is
    // empty or taken (the field is then selected).
    bool CheckAndStore();
    wxTextCtrl* Edit(int id) const;

    std::string m_strName;
    float m_fTaper = 8.0f;
    float m_fX = 300.0f, m_fY = 100.0f, m_fZ = 5.0f;

private:
    void ShowMembers();
};
