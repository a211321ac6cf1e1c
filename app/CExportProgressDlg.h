// The modeless progress dialog of an animation export: a bar, a status line
// and Cancel. Cancel tells the view to end the recording and leaves the
// dialog open; the view closes it when the file is finished.
#pragma once

#include <wx/dialog.h>

#include <functional>
#include <string>

class wxGauge;
class wxStaticText;

class CExportProgressDlg : public wxDialog {
public:
    enum { IDC_PROGRESS = 1800, IDC_STATUS = 1804 };

    CExportProgressDlg(wxWindow* owner, std::function<void()> onCancel);
    void SetRange(int minPos, int maxPos);
    void SetPos(int pos);
    void SetStatusText(const std::string& text);
    // Top-left corner at the given screen point, moved so that the whole
    // dialog stays inside the work area of the display that shows it.
    void PlaceAt(const wxPoint& screenPoint);

private:
    wxGauge* m_pProgress;
    wxStaticText* m_pStatus;
    std::function<void()> m_onCancel;
    int m_nMin = 0;
};
