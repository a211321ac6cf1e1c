// The "Time Line Editor" panel: frame and playback buttons, the track with
// its row names and scroll bars, the "Current Effect" fields and the align
// buttons, bound to a CTimeLineModel that works on the current view's scene.
#pragma once

#include "ui/animation/CTimeLineModel.h"
#include "ui/animation/CTimeLineTrack.h"
#include "ui/animation/CViewTimeLineHost.h"

#include <wx/panel.h>

#include <map>
#include <set>
#include <string>

class CKelvanoView;
class CNumEdit;
class CPrivateMessageEvent;
class CTimeLineTrackCtrl;
class wxBitmapToggleButton;
class wxCheckBox;
class wxRadioButton;
class wxScrollBar;
class wxScrollEvent;
class wxStaticText;
class wxTextCtrl;

class CTimeLineDlg : public wxPanel, public CTrackListener, public CViewTimeLineHost {
public:
    CTimeLineDlg(wxWindow* parent, wxWindowID id, const wxString& name);

    // Called by the main frame and the view.
    void RebuildRows();
    void UpdateEventRow(const std::string& eventName);
    void UpdateEventRowAndSelect(const std::string& eventName, const std::string& effectName);
    void SelectEvent(const std::string& eventName, int entry);
    void SetCurrentFrame(int frame);
    void UpdateAnimationEnd();
    void ClearPlaying();
    // A recording runs: the panel is locked as while playing.
    void SetPlaying();
    void SetFixedDuration(int on) override;

    CTimeLineModel& Model() { return m_model; }
    CTimeLineTrackCtrl* TrackCtrl() const { return m_pTrack; }
    // Shows the model: rows on the track, labels, scroll bars and fields.
    void ShowModel();

    // CTrackListener
    void OnTrackPress(int shift) override;
    void OnTrackPressNone() override;
    void OnTrackDrag(int mode, int dx) override;
    void OnTrackScroll(int dx) override;
    void OnTrackRelease() override;
    void OnTrackDblClk(int row, int entry) override;

    // The host's part that needs a window.
    std::string ChooseSoundFile() override;

protected:
    // The track and the whole field column; the column scrolls in a smaller pane.
    wxSize DoGetBestSize() const override;

private:
    void OnButton(wxCommandEvent& event);
    void OnRepeatClick(CPrivateMessageEvent& event);
    void OnNumEditCommit(CPrivateMessageEvent& event);
    void OnRowScroll(wxScrollEvent& event);
    void OnFrameScroll(wxScrollEvent& event);
    void OnCharHook(wxKeyEvent& event);

    CTimeLineModel m_model;
    CTimeLineTrackCtrl* m_pTrack = nullptr;
    wxWindow* m_pFields = nullptr;
    wxStaticText* m_rowLabels[CTimeLineModel::kVisibleRows] = {};
    wxScrollBar* m_pRowBar = nullptr;
    wxScrollBar* m_pFrameBar = nullptr;
    CNumEdit* m_pFrameEdit = nullptr;
    wxTextCtrl* m_pName = nullptr;
    CNumEdit* m_pStart = nullptr;
    CNumEdit* m_pEnd = nullptr;
    CNumEdit* m_pDuration = nullptr;
    wxBitmapToggleButton* m_pVisible = nullptr;
    wxCheckBox* m_pFixed = nullptr;
    wxRadioButton* m_pSingle = nullptr;
    wxRadioButton* m_pAll = nullptr;
    std::map<int, wxWindow*> m_alignButtons;
    std::set<int> m_barTips;
};
