// The "Obect List" bar: the scene's object names in a sorted list in which
// several may be selected. The view keeps it in step with the scene; names
// the user selects become the view's selection.
#pragma once

#include <wx/panel.h>

#include <string>
#include <vector>

class CObjectListBox;

class CObjectListDlg : public wxPanel {
public:
    explicit CObjectListDlg(wxWindow* parent);

    bool AddObject(const std::string& name);
    // Entries are matched by their exact name.
    bool RemoveObject(const std::string& name);
    bool SelectObject(const std::string& name, bool select);
    // Index -1 selects or deselects every entry.
    bool SelectIndex(int index, bool select);
    bool RenameObject(const std::string& oldName, const std::string& newName);
    void Clear();
    std::vector<std::string> Entries() const;
    // The user changed the selection: the view selects the names.
    void OnSelChange();

    CObjectListBox* GetList() const { return m_pList; }
    int GetLastIndex() const { return m_nLastIndex; }
    static constexpr int kTemplate = 320;
    static constexpr int kListId = 1583;

private:
    int Find(const std::string& name) const;
    CObjectListBox* m_pList = nullptr;
    int m_nLastIndex = -1;
};

// The bar: the list 8 pixels inside it on every side; its first size is the
// list's plus 30 by 18.
class CObjectListBar : public wxPanel {
public:
    CObjectListBar(wxWindow* parent, int id);
    CObjectListDlg* GetDialog() const { return m_pDialog; }
    wxSize GetBarSize() const { return m_barSize; }

private:
    CObjectListDlg* m_pDialog = nullptr;
    wxSize m_barSize;
};
