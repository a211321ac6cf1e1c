#include "ui/properties/bars/CObjectListDlg.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "ui/properties/rules/BarRules.h"
#include "ui/properties/controls/CObjectListBox.h"
#include "ui/properties/controls/ViewAccelerators.h"

#include <wx/sizer.h>

namespace {
const wxSize kDialogSize(160, 260);
}

CObjectListDlg::CObjectListDlg(wxWindow* parent)
    : wxPanel(parent, kTemplate, wxDefaultPosition, kDialogSize, wxTAB_TRAVERSAL) {
    m_pList = new CObjectListBox(this, kListId, wxDefaultPosition, wxDefaultSize, wxLB_EXTENDED | wxLB_SORT);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_pList, 1, wxEXPAND | wxALL, 1);
    SetSizer(sizer);
    m_pList->Bind(wxEVT_LISTBOX, [this](wxCommandEvent&) { OnSelChange(); });
    InstallViewAccelerators(this);
}

int CObjectListDlg::Find(const std::string& name) const { return FindListEntry(Entries(), name); }

std::vector<std::string> CObjectListDlg::Entries() const {
    std::vector<std::string> entries;
    for (unsigned i = 0; i < m_pList->GetCount(); ++i) entries.push_back(m_pList->GetString(i).ToStdString(wxConvUTF8));
    return entries;
}

bool CObjectListDlg::AddObject(const std::string& name) {
    return m_pList->Append(wxString::FromUTF8(name)) != wxNOT_FOUND;
}

bool CObjectListDlg::RemoveObject(const std::string& name) {
    const int index = Find(name);
    if (index < 0) return false;
    m_pList->Delete(index);
    return true;
}

bool CObjectListDlg::SelectObject(const std::string& name, bool select) {
    const int index = Find(name);
    if (index < 0) return false;
    m_pList->SetSelection(index, select);
    m_nLastIndex = index;
    return true;
}

bool CObjectListDlg::SelectIndex(int index, bool select) {
    const int count = static_cast<int>(m_pList->GetCount());
    if (index < -1 || index >= count) return false;
    if (index >= 0) {
        m_pList->SetSelection(index, select);
    } else {
        for (int i = 0; i < count; ++i) m_pList->SetSelection(i, select);
    }
    m_nLastIndex = index;
    return true;
}

bool CObjectListDlg::RenameObject(const std::string& oldName, const std::string& newName) {
    return RemoveObject(oldName) && AddObject(newName);
}

void CObjectListDlg::Clear() {
    m_pList->Clear();
    m_nLastIndex = -1;
}

void CObjectListDlg::OnSelChange() {
    if (!CurrentView() || !CurrentView()->GetDocument()) return;
    CKelvanoView& view = *CurrentView();
    // The selection waits while a drag or a placement holds its step.
    if (view.HoldsStep()) return;
    wxArrayInt selected;
    m_pList->GetSelections(selected);
    std::vector<std::string> names;
    for (int index : selected) names.push_back(m_pList->GetString(index).ToStdString(wxConvUTF8));
    // The selection of several objects goes first; the list stays as it is.
    view.ClearMultiSelection(0);
    if (names.size() == 1) {
        // As if chosen in the tool bar's object chooser.
        if (CFrameRelays* frame = view.Frame()) frame->SelectObjectChooserName(names[0]);
        view.OnObjectChosen(names[0]);
    } else if (names.size() > 1) {
        for (const std::string& name : names) {
            view.SelectObjectByName(name);
            if (view.m_bHighlightSelected) view.HighlightObjectByName(name, 1);
        }
        view.Redraw();
    }
}

CObjectListBar::CObjectListBar(wxWindow* parent, int id)
    : wxPanel(parent, id, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL) {
    m_pDialog = new CObjectListDlg(this);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_pDialog, 1, wxEXPAND | wxALL, 8);
    SetSizer(sizer);
    m_barSize = m_pDialog->GetSize() + wxSize(30, 18);
}
