// "Input Graph Data": the last step of the new-graph wizard, a label, a data
// text and a value per item, five items to a page.
#pragma once

#include "ui/properties/rules/GraphRules.h"

#include <wx/dialog.h>

class CNumEdit;
class CPrivateMessageEvent;
class wxBitmapButton;
class wxStaticText;

class CGraphInputDlg : public wxDialog {
public:
    enum { IDC_PREV = 1502, IDC_NEXT = 1503, IDC_BACK = 4, IDC_VALUE_CAPTION = 1733 };
    static const int kNumberIds[5];
    static const int kLabelIds[5];
    static const int kTextIds[5];
    static const int kValueIds[5];

    CGraphInputDlg(wxWindow* parent, int type, int count);
    std::vector<GraphRow> GetRows() const { return m_rows.GetRows(); }
    bool m_bBack = false;

private:
    void ShowPage();
    void OnCommit(CPrivateMessageEvent& event);
    CGraphInputRows m_rows;
    wxStaticText* m_pNumber[5] = {};
    CNumEdit* m_pLabel[5] = {};
    CNumEdit* m_pText[5] = {};
    CNumEdit* m_pValue[5] = {};
    wxBitmapButton* m_pPrev = nullptr;
    wxBitmapButton* m_pNext = nullptr;
};
