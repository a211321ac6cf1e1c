// The "Edit Box": tabs "Object", "Light" and "Camera" over ten pages. The
// Object tab shows one of eight pages by the selected object's kind (a
// wxSimplebook); Light and Camera show their pages. Every role starts with an
// empty page; the page of a role is put in with SetRolePage.
#pragma once

#include "ui/properties/rules/BarRules.h"

#include <wx/panel.h>

#include <string>
#include <vector>

class CMaterialDlg;
class CObjectPageDlg;
class wxNotebook;
class wxSimplebook;

class CEditBoxBar : public wxPanel {
public:
    // The bar on layout id and its ten pages; page 0 (text) shows.
    CEditBoxBar(wxWindow* parent, int id);

    // Appends a page (made in PageParent of its list index) and its tab
    // name; the page starts disabled.
    void AddPage(CObjectPageDlg* page, const std::string& name);
    // Tab 0 stores kind as the Object tab's kind first; a tab below the tab
    // count is selected and shown.
    void SelectTab(int tab, int kind);
    // The selected tab's page is shown (tab 0: the page of the stored kind).
    void OnSelChangeTab();
    // Lock on the camera, light, text, panel, model, bar, line, pie and area pages.
    void LockPages(bool locked);

    // The window a role's page must be made in.
    wxWindow* PageParent(int listIndex) const;
    // Puts page in the place of a role (EditBoxPage); the old page is
    // destroyed. The page must have been made in PageParent(listIndex).
    void SetRolePage(int listIndex, CObjectPageDlg* page);

    // The one material chooser the pages share: none until the first page
    // that needs it makes it (a child of the bar, gone with it).
    CMaterialDlg* GetMaterialDlg() const { return m_pMaterialDlg; }
    void SetMaterialDlg(CMaterialDlg* dialog) { m_pMaterialDlg = dialog; }

    CObjectPageDlg* GetPage(int listIndex) const;
    std::string GetTabName(int listIndex) const;
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CObjectPageDlg* GetShownPage() const;
    int GetObjectPageKind() const { return m_tabs.m_nObjectPageKind; }
    int GetCurrentTab() const { return m_tabs.m_nCurrentTab; }
    wxNotebook* GetTabControl() const { return m_pTabCtrl; }

private:
    // Where a list index sits in the Object tab's book, -1 for light and camera.
    static int BookPosition(int listIndex);
    void ShowPage(int listIndex, bool show);

    wxNotebook* m_pTabCtrl = nullptr;
    wxSimplebook* m_pObjectBook = nullptr;
    std::vector<CObjectPageDlg*> m_pages;
    std::vector<std::string> m_names;
    CEditBoxTabs m_tabs;
    CMaterialDlg* m_pMaterialDlg = nullptr;
};
