#include "ui/animation/CGrowShrinkDlg.h"

#include "ui/animation/CTimeLineTrackCtrl.h"
#include "ui/animation/TimeLineArt.h"
#include "ui/properties/CImageButton.h"
#include "ui/properties/CNumEdit.h"
#include "ui/properties/CPrivateMessageEvent.h"

#include <wx/button.h>
#include <wx/scrolbar.h>
#include <wx/stattext.h>

#include <algorithm>
#include <cstdlib>

namespace {
enum : int { IDC_ROW_BAR = 1595, IDC_FRAME_BAR = 1598, IDC_CLOSE = 1 };
const int kRowLabelIds[5] = {1137, 1145, 1151, 1158, 1164};
const char* const kAlignCaptions[9] = {"Lj", "Rj", "Ew", "L'", "R'", "LS", "SL", "Ls'", "Sl'"};
// Each align button shows the picture of its action, as on the time line.
const int kAlignBitmaps[9] = {kArtStartToStart, kArtEndToEnd, kArtEqualWidth,
                              kArtStartEdgeToStart, kArtEndEdgeToEnd, kArtStartToEnd,
                              kArtEndToStart, kArtStartEdgeToEnd, kArtEndEdgeToStart};
constexpr int kTrackX = 40, kTrackY = 40;
}  // namespace

CGrowShrinkDlg::CGrowShrinkDlg(wxWindow* parent, int, pnChart* chart, int growLength, int shrinkLength,
                               int fixedDuration)
    : wxDialog(parent, wxID_ANY, "Graph Grow / Shrink Time Setting"), m_bFixedDuration(fixedDuration) {
    auto button = [this](int id, int bitmap, const char* caption, int x, int y) {
        auto* b = new CImageButton(this, id, caption, wxPoint(x, y), wxSize(30, 24));
        const wxImage img = TimeLineBitmap(bitmap);
        if (img.IsOk()) b->SetImage(img, img.GetWidth(), img.GetHeight(), TimeLineMaskColour());
        b->SetToolTip(caption);
        m_buttons[id] = b;
    };
    const int edits[3] = {IDC_START, IDC_END, IDC_DURATION};
    const char* labels[3] = {"Start Frame", "End Frame", "Duration"};
    for (int i = 0; i < 3; ++i) {
        new wxStaticText(this, wxID_ANY, labels[i], wxPoint(8 + i * 130, 12));
        m_edits[edits[i]] = new CNumEdit(this, edits[i], "", wxPoint(78 + i * 130, 8), wxSize(50, -1));
    }
    button(IDC_ADD_GROW, 358, "+ G", 410, 6);
    button(IDC_ADD_SHRINK, 359, "+ S", 444, 6);
    button(IDC_REMOVE, 360, "--", 478, 6);
    for (int i = 0; i < 9; ++i)
        button(CGrowShrinkModel::kAlignButtons[i], kAlignBitmaps[i], kAlignCaptions[i], kTrackX + i * 34,
               kTrackY + CTimeLineTrack::kHeight + 24);
    for (int i = 0; i < CGrowShrinkModel::kVisibleRows; ++i)
        m_rowLabels[i] = new wxStaticText(this, kRowLabelIds[i], "", wxPoint(8, kTrackY + 2 + 19 * i), wxSize(28, 16));
    m_pTrack = new CTimeLineTrackCtrl(this, this, wxPoint(kTrackX, kTrackY));
    m_pRowBar = new wxScrollBar(this, IDC_ROW_BAR, wxPoint(kTrackX + CTimeLineTrack::kWidth + 2, kTrackY),
                                wxSize(-1, CTimeLineTrack::kHeight), wxSB_VERTICAL);
    m_pFrameBar = new wxScrollBar(this, IDC_FRAME_BAR, wxPoint(kTrackX, kTrackY + CTimeLineTrack::kHeight + 2),
                                  wxSize(CTimeLineTrack::kWidth, -1), wxSB_HORIZONTAL);
    new wxButton(this, IDC_CLOSE, "Close", wxPoint(kTrackX + CTimeLineTrack::kWidth - 60, kTrackY + CTimeLineTrack::kHeight + 60));
    // Wide enough for the track and for the last of the three buttons on top.
    SetClientSize(std::max(kTrackX + CTimeLineTrack::kWidth + 40, 478 + 30 + 8), kTrackY + CTimeLineTrack::kHeight + 100);

    Bind(wxEVT_BUTTON, [this](wxCommandEvent& e) { OnCommand(e.GetId()); });
    Bind(kvEVT_WM_NUMEDIT_COMMIT, &CGrowShrinkDlg::OnCommit, this);
    auto scrolled = [this](wxScrollEvent& e) {
        if (e.GetEventObject() == m_pRowBar) m_model.ScrollRowsTo(m_pRowBar->GetThumbPosition());
        else m_model.ScrollFramesTo(m_pFrameBar->GetThumbPosition());
        ShowModel();
    };
    for (wxScrollBar* bar : {m_pRowBar, m_pFrameBar}) {
        bar->Bind(wxEVT_SCROLL_CHANGED, scrolled);
        bar->Bind(wxEVT_SCROLL_THUMBTRACK, scrolled);
        bar->Bind(wxEVT_SCROLL_LINEUP, scrolled);
        bar->Bind(wxEVT_SCROLL_LINEDOWN, scrolled);
        bar->Bind(wxEVT_SCROLL_PAGEUP, scrolled);
        bar->Bind(wxEVT_SCROLL_PAGEDOWN, scrolled);
    }
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& e) {
        // Enter belongs to the edits; Escape closes.
        if (e.GetKeyCode() == WXK_ESCAPE) EndModal(wxID_CANCEL);
        else e.Skip();
    });

    if (m_model.Load(chart, growLength, shrinkLength)) SetTitle(wxString::FromUTF8(m_model.Title()));
    ShowModel();
}

wxWindow* CGrowShrinkDlg::Button(int id) const {
    auto it = m_buttons.find(id);
    return it == m_buttons.end() ? nullptr : it->second;
}

CNumEdit* CGrowShrinkDlg::Edit(int id) const {
    auto it = m_edits.find(id);
    return it == m_edits.end() ? nullptr : it->second;
}

void CGrowShrinkDlg::ShowModel() {
    const bool any = m_model.RowCount() > 0;
    m_edits[IDC_START]->ChangeValue(std::to_string(m_model.Start()));
    m_edits[IDC_END]->ChangeValue(std::to_string(m_model.End()));
    m_edits[IDC_DURATION]->ChangeValue(std::to_string(m_model.Duration()));
    for (auto& [id, edit] : m_edits) edit->Enable(any && m_model.HasBar(m_model.CurrentRow(), m_model.CurrentKind()));
    m_buttons[IDC_ADD_GROW]->Enable(m_model.CanAddGrow());
    m_buttons[IDC_ADD_SHRINK]->Enable(m_model.CanAddShrink());
    m_buttons[IDC_REMOVE]->Enable(m_model.CanRemove());
    for (int id : CGrowShrinkModel::kAlignButtons) m_buttons[id]->Enable(m_model.AlignEnabled(id));
    for (int i = 0; i < CGrowShrinkModel::kVisibleRows; ++i) m_rowLabels[i]->SetLabel(m_model.RowLabel(i));
    m_pRowBar->SetScrollbar(m_model.TopRow(), CGrowShrinkModel::kVisibleRows, m_model.RowScrollMaximum() + 1,
                            CGrowShrinkModel::kVisibleRows);
    m_pFrameBar->SetScrollbar(m_model.FirstFrame(), CGrowShrinkModel::kPageFrames, m_model.FrameScrollMaximum() + 1,
                              CGrowShrinkModel::kPageFrames);
    m_pRowBar->Enable(any);
    m_pFrameBar->Enable(any);
    m_pTrack->Enable(any);
    LayOutGrowShrinkTrack(m_model, m_pTrack->Track());
    m_pTrack->Refresh();
}

void CGrowShrinkDlg::OnCommand(int id) {
    switch (id) {
    case IDC_ADD_GROW: m_model.AddGrow(); break;
    case IDC_ADD_SHRINK: m_model.AddShrink(); break;
    case IDC_REMOVE: m_model.Remove(); break;
    case IDC_CLOSE: EndModal(wxID_OK); return;
    default: m_model.Align(id); break;
    }
    ShowModel();
}

void CGrowShrinkDlg::OnCommit(CPrivateMessageEvent& event) {
    const int id = static_cast<int>(event.GetWParam());
    const CNumEdit* edit = Edit(id);
    if (!edit) return;
    const int value = std::atoi(edit->GetText().c_str());
    switch (id) {
    case IDC_START: m_model.TypeStart(value, m_bFixedDuration != 0); break;
    case IDC_END: m_model.TypeEnd(value); break;
    case IDC_DURATION: m_model.TypeDuration(value); break;
    default: return;
    }
    ShowModel();
}

void CGrowShrinkDlg::OnTrackPress(int shift) {
    const CTimeLineTrack& track = m_pTrack->Track();
    const int row = track.PressedRow();
    const int kind = track.PressedEntry() == 1 ? CGrowShrinkModel::kShrink : CGrowShrinkModel::kGrow;
    if (shift) m_model.ToggleSelection(row, kind);
    else m_model.ClearSelection();
    m_model.SetCurrent(row, kind);
    ShowModel();
}

void CGrowShrinkDlg::OnTrackPressNone() { ShowModel(); }

void CGrowShrinkDlg::OnTrackDrag(int mode, int dx) {
    m_model.Drag(mode, dx);
    ShowModel();
}

void CGrowShrinkDlg::OnTrackRelease() { ShowModel(); }
