#include "app/CExportProgressDlg.h"

#include <wx/button.h>
#include <wx/display.h>
#include <wx/gauge.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>

CExportProgressDlg::CExportProgressDlg(wxWindow* owner, std::function<void()> onCancel)
    : wxDialog(owner, wxID_ANY, "Dialog", wxDefaultPosition, wxDefaultSize, wxCAPTION | wxSYSTEM_MENU),
      m_onCancel(std::move(onCancel)) {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    m_pProgress = new wxGauge(this, IDC_PROGRESS, 100, wxDefaultPosition, wxSize(260, -1));
    m_pStatus = new wxStaticText(this, IDC_STATUS, "Creating Animation File");
    auto* cancel = new wxButton(this, wxID_CANCEL, "Cancel");
    sizer->Add(m_pProgress, 0, wxEXPAND | wxALL, 10);
    sizer->Add(m_pStatus, 0, wxEXPAND | wxLEFT | wxRIGHT, 10);
    sizer->Add(cancel, 0, wxALIGN_CENTER | wxALL, 10);
    SetSizerAndFit(sizer);
    // Cancel and the window's close box end the recording, not the dialog.
    auto cancelRecording = [this] {
        if (m_onCancel) m_onCancel();
    };
    cancel->Bind(wxEVT_BUTTON, [cancelRecording](wxCommandEvent&) { cancelRecording(); });
    Bind(wxEVT_CLOSE_WINDOW, [cancelRecording](wxCloseEvent& e) {
        if (e.CanVeto()) e.Veto();
        cancelRecording();
    });
    // Enter does nothing; Escape cancels as the button does.
    SetEscapeId(wxID_NONE);
    SetAffirmativeId(wxID_NONE);
    Bind(wxEVT_CHAR_HOOK, [cancelRecording](wxKeyEvent& e) {
        if (e.GetKeyCode() == WXK_ESCAPE) {
            cancelRecording();
            return;
        }
        if (e.GetKeyCode() == WXK_RETURN || e.GetKeyCode() == WXK_NUMPAD_ENTER) return;
        e.Skip();
    });
}

void CExportProgressDlg::SetRange(int minPos, int maxPos) {
    m_nMin = minPos;
    m_pProgress->SetRange(std::max(1, maxPos - minPos));
}

void CExportProgressDlg::SetPos(int pos) {
    m_pProgress->SetValue(std::clamp(pos - m_nMin, 0, m_pProgress->GetRange()));
}

void CExportProgressDlg::SetStatusText(const std::string& text) { m_pStatus->SetLabel(wxString::FromUTF8(text)); }

void CExportProgressDlg::PlaceAt(const wxPoint& screenPoint) {
    int index = wxDisplay::GetFromPoint(screenPoint);
    if (index == wxNOT_FOUND) index = wxDisplay::GetFromWindow(GetParent());
    const wxRect area = wxDisplay(index == wxNOT_FOUND ? 0u : unsigned(index)).GetClientArea();
    const wxSize size = GetSize();
    const int x = std::max(area.x, std::min(screenPoint.x, area.x + area.width - size.x));
    const int y = std::max(area.y, std::min(screenPoint.y, area.y + area.height - size.y));
    Move(x, y);
}
