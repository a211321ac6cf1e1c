// "Cut Shape" and "Joint Shape": the model a bar or line chart repeats per
// data point, or a line chart's joint, chosen from the shape pictures of
// ChartSlices or any model file.
#pragma once

#include <wx/dialog.h>

#include <string>
#include <vector>

class CKelvanoAppState;
class CPrivateMessageEvent;
class CThumbnailListCtrl;
class wxTextCtrl;

class CCutShapeDlg : public wxDialog {
public:
    enum { IDC_LIST = 7, IDC_FILE = 1521, IDC_BROWSE = 1522 };
    // kind 1: bar chart, 2: line chart.
    CCutShapeDlg(wxWindow* parent, CKelvanoAppState& app, int kind);
    // The picture of the current shape (its file name), selected at start.
    void SetInitialFile(const std::string& file) { m_strInitialFile = file; }
    // The chosen model: a picture's file with "3ds" for its extension, or a
    // browsed file as it is.
    const std::string& GetSelectedFile() const { return m_strResult; }
    int ShowModal() override;
    // Set by a click on a picture, a browsed file or a name typed into File;
    // OK without any of them changes nothing.
    bool m_bChosen = false;

protected:
    CCutShapeDlg(wxWindow* parent, CKelvanoAppState& app, const char* title, std::vector<std::string> shapes,
                 int rows);

private:
    void Fill();
    void ShowResult();
    void OnThumbClick(CPrivateMessageEvent& event);
    void OnBrowse();
    void OnOk();
    bool m_bTyped = false;
    CKelvanoAppState& m_app;
    std::vector<std::string> m_shapes;
    std::string m_strInitialFile;
    std::string m_strResult;
    CThumbnailListCtrl* m_pList = nullptr;
    wxTextCtrl* m_pFile = nullptr;
};

class CJointShapeDlg : public CCutShapeDlg {
public:
    CJointShapeDlg(wxWindow* parent, CKelvanoAppState& app);
};
