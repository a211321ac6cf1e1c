// "Graph Name": the second step of the new-graph wizard, the chart's name and
// its number of items. Back (the Cancel id, so Escape too) returns with the
// Back flag set.
#pragma once

#include <wx/dialog.h>

#include <string>

class pnScene;
class wxSpinCtrl;
class wxTextCtrl;

class CGraphNameDlg : public wxDialog {
public:
    enum { IDC_TYPE = 1504, IDC_NAME = 1336, IDC_COUNT = 1311, IDC_WARNING = 1517 };
    // The scene the name must be free in (null: no current view, Next does
    // nothing).
    CGraphNameDlg(wxWindow* parent, int type, const pnScene* scene);
    int m_nType;
    std::string m_strName;
    int m_nCount = 3;
    bool m_bBack = false;

private:
    void OnNext(wxCommandEvent&);
    const pnScene* m_pScene;
    wxTextCtrl* m_pName = nullptr;
    wxSpinCtrl* m_pCount = nullptr;
};
