#include "ui/properties/bars/CEditBoxBar.h"

#include "ui/properties/pages/CObjectPageDlg.h"

#include <wx/notebook.h>
#include <wx/simplebook.h>
#include <wx/sizer.h>

#include <algorithm>

namespace {
constexpr int kTabControlId = 1000;
}

CEditBoxBar::CEditBoxBar(wxWindow* parent, int id)
    : wxPanel(parent, id, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL) {
    m_pTabCtrl = new wxNotebook(this, kTabControlId);
    m_pObjectBook = new wxSimplebook(m_pTabCtrl, wxID_ANY);
    m_pTabCtrl->AddPage(m_pObjectBook, "Object");
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_pTabCtrl, 1, wxEXPAND);
    SetSizer(sizer);

    static const char* const kNames[kEditBoxPageCount] = {"Object", "Light",  "Camera", "Object", "Object",
                                                          "Object", "Object", "Object", "Object", "Object"};
    for (int i = 0; i < kEditBoxPageCount; ++i) AddPage(new CEmptyPage(PageParent(i)), kNames[i]);
    m_pTabCtrl->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, [this](wxBookCtrlEvent& e) {
        if (e.GetEventObject() == m_pTabCtrl) OnSelChangeTab();
        e.Skip();
    });
    m_pTabCtrl->SetFocus();
    m_pTabCtrl->ChangeSelection(0);
    OnSelChangeTab();
}

int CEditBoxBar::BookPosition(int listIndex) {
    if (listIndex == PAGE_TEXT) return 0;
    if (listIndex >= PAGE_EMPTY && listIndex < kEditBoxPageCount) return listIndex - PAGE_EMPTY + 1;
    return -1;
}

wxWindow* CEditBoxBar::PageParent(int listIndex) const {
    return BookPosition(listIndex) >= 0 ? static_cast<wxWindow*>(m_pObjectBook) : m_pTabCtrl;
}

void CEditBoxBar::AddPage(CObjectPageDlg* page, const std::string& name) {
    const int index = GetPageCount();
    if (!page || index >= kEditBoxPageCount) return;
    m_pages.push_back(page);
    m_names.push_back(name);
    const wxString label = wxString::FromUTF8(name);
    if (BookPosition(index) >= 0) m_pObjectBook->AddPage(page, label);
    else m_pTabCtrl->AddPage(page, label);
    page->Disable();
}

void CEditBoxBar::SelectTab(int tab, int kind) {
    if (!m_tabs.SelectTab(tab, kind, static_cast<int>(m_pTabCtrl->GetPageCount()))) return;
    m_pTabCtrl->ChangeSelection(tab);
    OnSelChangeTab();
}

void CEditBoxBar::ShowPage(int listIndex, bool show) {
    CObjectPageDlg* page = GetPage(listIndex);
    if (!page) return;
    page->Enable(show);
    const int position = BookPosition(listIndex);
    if (show && position >= 0) m_pObjectBook->ChangeSelection(position);
}

void CEditBoxBar::OnSelChangeTab() {
    ShowPage(m_tabs.m_nShownPage, false);
    const int page = m_tabs.OnSelChangeTab(m_pTabCtrl->GetSelection(), GetPageCount());
    if (page >= 0) ShowPage(page, true);
}

void CEditBoxBar::LockPages(bool locked) {
    for (const int index : kLockOrder)
        if (CObjectPageDlg* page = GetPage(index)) page->Lock(locked);
}

void CEditBoxBar::SetRolePage(int listIndex, CObjectPageDlg* page) {
    CObjectPageDlg* old = GetPage(listIndex);
    if (!page || !old || page == old || page->GetParent() != PageParent(listIndex)) return;
    const bool locked = old->IsLocked();
    // A page takes the book's size. Until the bar is laid out the book is as
    // large as its largest page, so no page is squeezed (GTK complains of
    // controls and scroll bars given less than they need).
    const wxSize book = m_pObjectBook->GetSize(), best = page->GetBestSize();
    if (best.x > book.x || best.y > book.y)
        m_pObjectBook->SetSize(wxSize(std::max(book.x, best.x), std::max(book.y, best.y)));
    const wxString label = wxString::FromUTF8(m_names[listIndex]);
    const int position = BookPosition(listIndex);
    if (position >= 0) {
        const bool selected = m_pObjectBook->GetSelection() == position;
        m_pObjectBook->RemovePage(position);
        m_pObjectBook->InsertPage(position, page, label, selected);
    } else {
        const bool selected = m_pTabCtrl->GetSelection() == listIndex;
        m_pTabCtrl->RemovePage(listIndex);
        m_pTabCtrl->InsertPage(listIndex, page, label);
        if (selected) m_pTabCtrl->ChangeSelection(listIndex);
    }
    m_pages[listIndex] = page;
    old->Destroy();
    // Taking out the selected page showed its neighbour: only the selected
    // page stays shown.
    for (size_t i = 0; i < m_pObjectBook->GetPageCount(); ++i)
        m_pObjectBook->GetPage(i)->Show(static_cast<int>(i) == m_pObjectBook->GetSelection());
    page->Lock(locked);
    page->Disable();
    // Removing a selected tab may have moved the selection: show again.
    OnSelChangeTab();
}

CObjectPageDlg* CEditBoxBar::GetPage(int listIndex) const {
    return listIndex >= 0 && listIndex < GetPageCount() ? m_pages[listIndex] : nullptr;
}

std::string CEditBoxBar::GetTabName(int listIndex) const {
    return listIndex >= 0 && listIndex < GetPageCount() ? m_names[listIndex] : std::string();
}

CObjectPageDlg* CEditBoxBar::GetShownPage() const { return GetPage(m_tabs.m_nShownPage); }
