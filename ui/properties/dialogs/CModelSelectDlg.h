// "Model Selection": picks a stock model by its thumbnail, or any 3DS or OBJ
// file, and the new model's name. Opened from the model page the name is
// fixed.
#pragma once

#include "ui/properties/rules/ObjectRules.h"

#include <wx/dialog.h>

#include <functional>
#include <string>

class CPrivateMessageEvent;
class CThumbnailListCtrl;
class wxTextCtrl;

class CModelSelectDlg : public wxDialog {
public:
    enum { IDC_NAME = 1336, IDC_FILE = 1521, IDC_BROWSE = 1522 };
    // The file dialog: true with the chosen path.
    using FileChooser = std::function<bool(wxWindow* parent, const std::string& folder, std::string& path)>;

    CModelSelectDlg(int templateId, wxWindow* parent);

    void SetName(const std::string& name) { m_strResultName = name; }
    void SetNameFixed(bool fixed) { m_bNameFixed = fixed ? 1 : 0; }
    // Fills the thumbnails and proposes the first model (before ShowModal).
    void InitDialog();
    int ShowModal() override;

    // The result name (wxWindow::GetName is the window's own).
    const std::string& GetModelName() const { return m_strResultName; }
    const std::string& GetFilePath() const { return m_strModelPath; }
    int GetChosen() const { return m_nChosen; }
    CThumbnailListCtrl* GetList() const { return m_pList; }
    wxTextCtrl* GetNameEdit() const { return m_pName; }
    wxTextCtrl* GetFileEdit() const { return m_pFile; }
    // The browse button's work; the chooser replaces the file dialog.
    void Browse();
    void SetFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }
    // OK: false (the dialog stays) for an empty name.
    bool CheckName();

private:
    void OnThumbClick(CPrivateMessageEvent& event);
    void OnNameChange();
    void ShowMembers();

    CThumbnailListCtrl* m_pList = nullptr;
    wxTextCtrl* m_pName = nullptr;
    wxTextCtrl* m_pFile = nullptr;
    std::string m_strResultName, m_strModelPath;
    int m_nChosen = 0;
    int m_bNameFixed = 0;
    bool m_bFilled = false;
    FileChooser m_chooser;
};
