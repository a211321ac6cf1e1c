#include "ui/animation/CGrowShrinkDlg.h"

#include "ui/animation/CTimeLineTrackCtrl.h"
#include "ui/animation/TimeLineArt.h"
#include "ui/properties/controls/CImageButton.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/controls/LayoutFit.h"

#include <wx/button.h>
#include <wx/scrolbar.h>
#include <wx/sizer.h>
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
}  // namespace

CGrowShrinkDlg::CGrowShrinkDlg(wxWindow* parent, int, pnChart* chart, int growLength, int shrinkLength,
                               int fixedDuration)
    : wxDialog(parent, wxID_ANY, "Graph Grow / Shrink Time Setting"), m_bFixedDuration(fixedDuration) {
    // Picture and caption whole: the buttons are as large as both.
    auto button = [this](int id, int bitmap, const char* caption) {
        auto* b = new CImageButton(this, id, caption);
        const wxImage img = TimeLineBitmap(bitmap);
        if (img.IsOk()) b->SetImage(img, img.GetWidth(), img.GetHeight(), TimeLineMaskColour());
        b->SetToolTip(caption);
        const wxSize best = b->GetBestSize();
        b->SetInitialSize(wxSize(std::max(30, best.x), std::max(24, best.y)));
        m_buttons[id] = b;
        return b;
    };
    auto* fields = new wxBoxSizer(wxHORIZONTAL);
    const int edits[3] = {IDC_START, IDC_END, IDC_DURATION};
    const char* labels[3] = {"Start Frame", "End Frame", "Duration"};
    for (int i = 0; i < 3; ++i) {
        fields->Add(new wxStaticText(this, wxID_ANY, labels[i]), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
        m_edits[edits[i]] = layout::FitEdit(new CNumEdit(this, edits[i]), layout::kFrameSample);
        fields->Add(m_edits[edits[i]], 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 12);
    }
    fields->AddStretchSpacer();
    fields->Add(button(IDC_ADD_GROW, 358, "+ G"), 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
    fields->Add(button(IDC_ADD_SHRINK, 359, "+ S"), 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
    fields->Add(button(IDC_REMOVE, 360, "--"), 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
    // Made in the order of the dialog's controls: the align buttons and Close
    // before the row numbers and the scroll bars.
    auto* align = new wxBoxSizer(wxHORIZONTAL);
    for (int i = 0; i < 9; ++i)
        align->Add(button(CGrowShrinkModel::kAlignButtons[i], kAlignBitmaps[i], kAlignCaptions[i]), 0, wxRIGHT,
                   4);
    auto* close = new wxButton(this, IDC_CLOSE, "Close");

    // The row numbers level with the track's rows, the track and its scroll bars.
    auto* numbers = new wxBoxSizer(wxVERTICAL);
    for (int i = 0; i < CGrowShrinkModel::kVisibleRows; ++i) {
        m_rowLabels[i] = new wxStaticText(this, kRowLabelIds[i], "", wxDefaultPosition, wxDefaultSize,
                                          wxST_NO_AUTORESIZE);
        // Wide enough for a four-digit row number.
        m_rowLabels[i]->SetMinSize(wxSize(m_rowLabels[i]->GetTextExtent("0000").x, -1));
        auto* row = new wxBoxSizer(wxVERTICAL);
        row->SetMinSize(wxSize(-1, CTimeLineTrack::kRowHeight));
        row->AddStretchSpacer();
        row->Add(m_rowLabels[i], 0, wxEXPAND);
        row->AddStretchSpacer();
        numbers->Add(row, 0, wxEXPAND);
    }
    m_pTrack = new CTimeLineTrackCtrl(this, this, wxDefaultPosition);
    m_pRowBar = new wxScrollBar(this, IDC_ROW_BAR, wxDefaultPosition, wxSize(-1, CTimeLineTrack::kHeight),
                                wxSB_VERTICAL);
    m_pFrameBar = new wxScrollBar(this, IDC_FRAME_BAR, wxDefaultPosition, wxSize(CTimeLineTrack::kWidth, -1),
                                  wxSB_HORIZONTAL);
    auto* rows = new wxBoxSizer(wxHORIZONTAL);
    rows->Add(m_pTrack);
    rows->Add(m_pRowBar, 0, wxLEFT, 2);
    auto* middle = new wxBoxSizer(wxVERTICAL);
    middle->Add(rows);
    middle->Add(m_pFrameBar, 0, wxTOP, 2);
    middle->Add(align, 0, wxTOP, 8);
    auto* track = new wxBoxSizer(wxHORIZONTAL);
    track->Add(numbers, 0, wxRIGHT, 4);
    track->Add(middle);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(fields, 0, wxEXPAND | wxALL, 8);
    top->Add(track, 0, wxLEFT | wxRIGHT, 8);
    top->Add(close, 0, wxALIGN_RIGHT | wxALL, 8);
    SetSizerAndFit(top);

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

    // Close and the other buttons take the frames as typed, focus change or not.
    CommitTypedFieldsBeforeButtons(this);
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
    m_pFrameBar->SetScrollbar(m_model.FirstFrame(), CGrowShrinkModel::kPageFrames, m_model.FrameScrollRange(),
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
