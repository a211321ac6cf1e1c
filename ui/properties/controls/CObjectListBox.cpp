#include "ui/properties/controls/CObjectListBox.h"

#include "ui/properties/rules/ControlRules.h"

#include <wx/utils.h>

#include <vector>

CObjectListBox::CObjectListBox(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style)
    : wxListBox(parent, id, pos, size, 0, nullptr, style) {
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& e) {
        ApplyClick(HitTest(e.GetPosition()), wxGetKeyState(WXK_SHIFT), wxGetKeyState(WXK_CONTROL));
        e.Skip();
    });
}

void CObjectListBox::ApplyClick(int item, bool shift, bool ctrl) {
    std::vector<bool> selected(GetCount());
    for (unsigned i = 0; i < GetCount(); ++i) selected[i] = IsSelected(i);
    ObjectListClick(shift, ctrl, item, m_nAnchor, m_nLast, selected);
    for (unsigned i = 0; i < GetCount(); ++i)
        if (IsSelected(i) != selected[i]) selected[i] ? SetSelection(i) : Deselect(i);
}
