// The time line "Options": default effect, grow and shrink lengths and the
// animation length, on the document's settings.
#pragma once

#include <wx/dialog.h>

class CKelvanoDoc;
class wxTextCtrl;

class CTimeLineOptionsDlg : public wxDialog {
public:
    // Without a document the fields stay empty and only Cancel closes.
    CTimeLineOptionsDlg(wxWindow* parent, CKelvanoDoc* doc);

    int m_nEffectLength = 0;
    int m_nGrowLength = 0;
    int m_nShrinkLength = 0;
    int m_nAnimationLength = 0;

private:
    void OnOK(wxCommandEvent& event);
    CKelvanoDoc* m_pDoc;
    wxTextCtrl* m_edits[4] = {};
};
