// "Graph Grow / Shrink Time Setting": the grow and shrink bars of the
// selected chart's data points on a plain time line track, with the start,
// end and duration edits, +G, +S, -- and the nine alignments.
#pragma once

#include "ui/animation/CGrowShrinkModel.h"
#include "ui/animation/CTimeLineTrack.h"

#include <wx/dialog.h>

#include <map>

class CNumEdit;
class CPrivateMessageEvent;
class CTimeLineTrackCtrl;
class pnChart;
class wxScrollBar;
class wxStaticText;

class CGrowShrinkDlg : public wxDialog, public CTrackListener {
public:
    enum : int { IDC_START = 1217, IDC_END = 1234, IDC_DURATION = 1243, IDC_ADD_GROW = 1653, IDC_ADD_SHRINK = 1184,
                 IDC_REMOVE = 1191 };
    CGrowShrinkDlg(wxWindow* parent, int templateId, pnChart* chart, int growLength, int shrinkLength,
                   int fixedDuration);

    CGrowShrinkModel& Model() { return m_model; }
    CTimeLineTrackCtrl* TrackCtrl() const { return m_pTrack; }
    wxWindow* Button(int id) const;
    CNumEdit* Edit(int id) const;
    // The model shown on every control.
    void ShowModel();
    void OnCommand(int id);
    void OnCommit(CPrivateMessageEvent& event);

    // CTrackListener
    void OnTrackPress(int shift) override;
    void OnTrackPressNone() override;
    void OnTrackDrag(int mode, int dx) override;
    void OnTrackScroll(int) override {}
    void OnTrackRelease() override;
    void OnTrackDblClk(int, int) override {}

private:
    CGrowShrinkModel m_model;
    int m_bFixedDuration;
    CTimeLineTrackCtrl* m_pTrack = nullptr;
    wxStaticText* m_rowLabels[CGrowShrinkModel::kVisibleRows] = {};
    wxScrollBar* m_pRowBar = nullptr;
    wxScrollBar* m_pFrameBar = nullptr;
    std::map<int, wxWindow*> m_buttons;
    std::map<int, CNumEdit*> m_edits;
};
