// "Limit Height": the two bounds of a chart's value axis, Max and Min.
#pragma once

#include <wx/dialog.h>

class CLimitHeightDlg : public wxDialog {
public:
    enum { IDC_MAX = 1255, IDC_MIN = 1309 };
    CLimitHeightDlg(wxWindow* parent, int max, int min);
    bool TransferDataFromWindow() override;
    int m_nMax;
    int m_nMin;
};
