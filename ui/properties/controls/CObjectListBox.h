// The object list's multi-selection list: Shift selects from the anchor to
// the clicked item, a plain click selects one item and makes it the anchor,
// Ctrl toggles (the list's own handling).
#pragma once

#include <wx/listbox.h>

class CObjectListBox : public wxListBox {
public:
    CObjectListBox(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                   const wxSize& size = wxDefaultSize, long style = wxLB_EXTENDED);
    // The rule at a left button-up over item, with the key states then.
    void ApplyClick(int item, bool shift, bool ctrl);

    int m_nAnchor = -1;
    int m_nLast = -1;
};
