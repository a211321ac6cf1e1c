// "Graph Type Selection": the first step of the new-graph wizard. A picture,
// its text or its radio button chooses bar, line, pie or area.
#pragma once

#include <wx/dialog.h>

class wxRadioButton;

class CGraphTypeDlg : public wxDialog {
public:
    enum { IDC_BAR = 1335, IDC_LINE = 1354, IDC_PIE = 1371, IDC_AREA = 1382 };
    explicit CGraphTypeDlg(wxWindow* parent);
    int m_nType = 0;  // 0 bar, 1 line, 2 pie, 3 area

    // The art id of a type's picture (bar 146, line 140, pie 144, area 143).
    static int TypeBitmap(int type);

private:
    void SetType(int type);
    wxRadioButton* m_pRadio[4] = {};
};
