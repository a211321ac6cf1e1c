#include "ui/animation/CGrowShrinkModel.h"

#include "charts/pnChart.h"
#include "editor/CKelvanoView.h"
#include "editor/EditLimits.h"
#include "ui/animation/CTimeLineTrack.h"

namespace {
// Times are summed in 64 bits and compared with the bounds before they go
// back into the chart's ints.
using Frames = long long;
}  // namespace

const int CGrowShrinkModel::kAlignButtons[9] = {kLj, kRj, kEw, kStartEdgeToStart, kEndEdgeToEnd,
                                                kStartToEnd, kEndToStart, kStartEdgeToEnd, kEndEdgeToStart};

bool CGrowShrinkModel::Load(pnChart* chart, int growLength, int shrinkLength) {
    m_pChart = chart;
    m_bChanged = false;
    m_nGrowLength = growLength;
    m_nShrinkLength = shrinkLength;
    m_rows.clear();
    m_selected.clear();
    m_nRow = 0;
    m_nKind = kGrow;
    m_nFirstFrame = m_nTopRow = 0;
    if (!chart) return false;
    for (int i = 0; i < chart->getNumDataPts(); ++i) {
        Row r;
        r.growStart = chart->getDataPtStartTime(i);
        r.growEnd = chart->getDataPtEndTime(i);
        r.shrinkStart = chart->getDataPtShrinkStart(i);
        r.shrinkEnd = chart->getDataPtShrinkEnd(i);
        m_rows.push_back(r);
    }
    UpdateLargestEnd();
    return true;
}

std::string CGrowShrinkModel::Title() const {
    return "[ " + (m_pChart ? m_pChart->getName() : std::string()) + " ] - Grow / Shrink Time Setting";
}

bool CGrowShrinkModel::HasShrink(int row) const {
    return row >= 0 && row < RowCount() && RowAt(row).shrinkEnd != -1;
}

bool CGrowShrinkModel::HasGrow(int row) const {
    return row >= 0 && row < RowCount() && (RowAt(row).growEnd != 0 || HasShrink(row));
}

int CGrowShrinkModel::RowState(int row) const { return HasShrink(row) ? 2 : HasGrow(row) ? 1 : 0; }

void CGrowShrinkModel::SetCurrent(int row, int kind) {
    if (row < 0 || row >= RowCount()) return;
    m_nRow = row;
    m_nKind = kind == kShrink ? kShrink : kGrow;
}

int CGrowShrinkModel::Start() const {
    if (!HasBar(m_nRow, m_nKind)) return 0;
    return m_nKind == kShrink ? RowAt(m_nRow).shrinkStart : RowAt(m_nRow).growStart;
}
int CGrowShrinkModel::End() const {
    if (!HasBar(m_nRow, m_nKind)) return 0;
    return m_nKind == kShrink ? RowAt(m_nRow).shrinkEnd : RowAt(m_nRow).growEnd;
}
long long CGrowShrinkModel::Duration() const { return HasBar(m_nRow, m_nKind) ? Frames(End()) - Start() + 1 : 0; }

void CGrowShrinkModel::Write(int row, int kind) {
    if (!m_pChart) return;
    m_bChanged = true;
    const Row& r = RowAt(row);
    if (kind == kGrow) {
        m_pChart->setDataPtStartTime(row, r.growStart);
        m_pChart->setDataPtEndTime(row, r.growEnd);
    } else {
        m_pChart->setDataPtShrinkStart(row, r.shrinkStart);
        m_pChart->setDataPtShrinkEnd(row, r.shrinkEnd);
    }
    if (m_pView) {
        m_pView->SetModified();
        m_pView->FrameContentChanged();
    }
}

void CGrowShrinkModel::AddGrow() {
    if (!CanAddGrow() || !m_pChart) return;
    m_pChart->setDataPtDefaultGrow(m_nRow);
    Row& r = m_rows[static_cast<size_t>(m_nRow)];
    r.growStart = 0;
    r.growEnd = m_nGrowLength - 1;
    Write(m_nRow, kGrow);
    m_nKind = kGrow;
    UpdateLargestEnd();
}

void CGrowShrinkModel::AddShrink() {
    if (!CanAddShrink() || !m_pChart) return;
    m_pChart->setDataPtDefaultShrink(m_nRow);
    Row& r = m_rows[static_cast<size_t>(m_nRow)];
    r.shrinkStart = r.growEnd + 21;
    r.shrinkEnd = r.growEnd + m_nShrinkLength + 20;
    Write(m_nRow, kShrink);
    m_nKind = kShrink;
    UpdateLargestEnd();
}

void CGrowShrinkModel::Remove() {
    if (!CanRemove() || !m_pChart) return;
    Row& r = m_rows[static_cast<size_t>(m_nRow)];
    auto dropShrink = [&] {
        m_pChart->clearDataPtShrink(m_nRow);
        r.shrinkStart = r.shrinkEnd = -1;
        r.shrinkSelected = 0;
        Write(m_nRow, kShrink);
    };
    auto dropGrow = [&] {
        m_pChart->clearDataPtGrow(m_nRow);
        r.growStart = r.growEnd = 0;
        r.growSelected = 0;
        Write(m_nRow, kGrow);
    };
    if (RowState(m_nRow) == 2 && m_nKind == kShrink) {
        dropShrink();
    } else {
        if (HasShrink(m_nRow)) dropShrink();
        dropGrow();
    }
    m_nKind = kGrow;
    // The removed bars leave the multi-selection too.
    ClearSelection();
    UpdateLargestEnd();
}

bool CGrowShrinkModel::Set(int row, int kind, long long start, long long end) {
    Row& r = m_rows[static_cast<size_t>(row)];
    int& barStart = kind == kGrow ? r.growStart : r.shrinkStart;
    int& barEnd = kind == kGrow ? r.growEnd : r.shrinkEnd;
    // Typed or dragged, a time grows only up to the last frame the editors
    // take; one a file put past it can still come back down.
    if (start < 0 || (end > kMaxFrame && end > barEnd) || (start > kMaxFrame && start > barStart)) return false;
    barStart = static_cast<int>(start);
    barEnd = static_cast<int>(end);
    Write(row, kind);
    UpdateLargestEnd();
    return true;
}

bool CGrowShrinkModel::MoveStartEdge(int row, int kind, long long d) {
    if (!HasBar(row, kind)) return false;
    const Row& r = RowAt(row);
    const Frames start = Frames(kind == kGrow ? r.growStart : r.shrinkStart) + d;
    const Frames end = kind == kGrow ? r.growEnd : r.shrinkEnd;
    if (kind == kGrow && start < 0) return false;
    if (kind == kShrink && start < r.growEnd) return false;
    if (start > end) return false;
    return Set(row, kind, start, end);
}

bool CGrowShrinkModel::MoveBar(int row, int kind, long long d) {
    if (!HasBar(row, kind)) return false;
    const Row& r = RowAt(row);
    const Frames start = Frames(kind == kGrow ? r.growStart : r.shrinkStart) + d;
    const Frames end = Frames(kind == kGrow ? r.growEnd : r.shrinkEnd) + d;
    if (kind == kGrow && (start < 0 || (HasShrink(row) && end > r.shrinkStart))) return false;
    if (kind == kShrink && start < r.growEnd) return false;
    return Set(row, kind, start, end);
}

bool CGrowShrinkModel::MoveEndEdge(int row, int kind, long long d) {
    if (!HasBar(row, kind)) return false;
    const Row& r = RowAt(row);
    const Frames start = kind == kGrow ? r.growStart : r.shrinkStart;
    const Frames end = Frames(kind == kGrow ? r.growEnd : r.shrinkEnd) + d;
    if (end < start) return false;
    if (kind == kGrow && HasShrink(row) && end > r.shrinkStart) return false;
    return Set(row, kind, start, end);
}

bool CGrowShrinkModel::Drag(int mode, int d) {
    if (mode == 0) return MoveStartEdge(m_nRow, m_nKind, d);
    if (mode == 1) return MoveBar(m_nRow, m_nKind, d);
    if (mode == 2) return MoveEndEdge(m_nRow, m_nKind, d);
    return false;
}

void CGrowShrinkModel::TypeStart(int value, bool fixedDuration) {
    if (value < 0 || value > kMaxFrame) return;
    const Frames d = Frames(value) - Start();
    if (fixedDuration) MoveBar(m_nRow, m_nKind, d);
    else MoveStartEdge(m_nRow, m_nKind, d);
}
void CGrowShrinkModel::TypeEnd(int value) {
    if (value >= 0 && value <= kMaxFrame) MoveEndEdge(m_nRow, m_nKind, Frames(value) - End());
}
void CGrowShrinkModel::TypeDuration(int value) {
    if (value >= 0 && value <= kMaxFrame) MoveEndEdge(m_nRow, m_nKind, value - Duration());
}

void CGrowShrinkModel::ToggleSelection(int row, int kind) {
    if (!HasBar(row, kind)) return;
    Row& r = m_rows[static_cast<size_t>(row)];
    int& mark = kind == kGrow ? r.growSelected : r.shrinkSelected;
    const std::pair<int, int> bar(row, kind);
    auto at = std::find(m_selected.begin(), m_selected.end(), bar);
    if (at == m_selected.end()) {
        m_selected.push_back(bar);
        mark = 1;
    } else {
        m_selected.erase(at);
        mark = 0;
    }
}

void CGrowShrinkModel::ClearSelection() {
    for (Row& r : m_rows) r.growSelected = r.shrinkSelected = 0;
    m_selected.clear();
}

bool CGrowShrinkModel::AlignEnabled(int button) const {
    if (m_selected.size() < 2) return false;
    bool distinct = true;
    for (size_t i = 0; i < m_selected.size() && distinct; ++i)
        for (size_t j = i + 1; j < m_selected.size() && distinct; ++j)
            distinct = m_selected[i].first != m_selected[j].first;
    return distinct || button == kEw;
}

void CGrowShrinkModel::Align(int button) {
    if (!AlignEnabled(button)) return;
    const auto [refRow, refKind] = m_selected.back();
    if (!HasBar(refRow, refKind)) return;
    const Row& ref = RowAt(refRow);
    const Frames rs = refKind == kGrow ? ref.growStart : ref.shrinkStart;
    const Frames re = refKind == kGrow ? ref.growEnd : ref.shrinkEnd;
    for (size_t i = 0; i + 1 < m_selected.size(); ++i) {
        const auto [row, kind] = m_selected[i];
        if (!HasBar(row, kind)) continue;
        const Row& r = RowAt(row);
        const Frames s = kind == kGrow ? r.growStart : r.shrinkStart;
        const Frames e = kind == kGrow ? r.growEnd : r.shrinkEnd;
        switch (button) {
        case kLj: MoveBar(row, kind, rs - s); break;
        case kRj: MoveBar(row, kind, re - e); break;
        case kEw: MoveEndEdge(row, kind, (re - rs) - (e - s)); break;
        case kStartEdgeToStart: MoveStartEdge(row, kind, rs - s); break;
        case kEndEdgeToEnd: MoveEndEdge(row, kind, re - e); break;
        case kStartToEnd: MoveBar(row, kind, re - s); break;
        case kEndToStart: MoveBar(row, kind, rs - e); break;
        case kStartEdgeToEnd: MoveStartEdge(row, kind, re - s); break;
        case kEndEdgeToStart: MoveEndEdge(row, kind, rs - e); break;
        default: return;
        }
    }
}

void CGrowShrinkModel::UpdateLargestEnd() {
    m_nLargestEnd = 0;
    for (int i = 0; i < RowCount(); ++i) {
        if (HasGrow(i)) m_nLargestEnd = std::max(m_nLargestEnd, RowAt(i).growEnd);
        if (HasShrink(i)) m_nLargestEnd = std::max(m_nLargestEnd, RowAt(i).shrinkEnd);
    }
    m_nFirstFrame = std::min(m_nFirstFrame, std::max(0, FrameScrollMaximum() - kPageFrames + 1));
}

void CGrowShrinkModel::ScrollFramesTo(int position) {
    m_nFirstFrame = std::clamp(position, 0, std::max(0, FrameScrollMaximum() - kPageFrames + 1));
}

void CGrowShrinkModel::ScrollRowsTo(int top) {
    m_nTopRow = std::clamp(top, 0, std::max(0, RowCount() - kVisibleRows));
}

std::string CGrowShrinkModel::RowLabel(int visible) const {
    const int row = m_nTopRow + visible;
    return row < RowCount() ? std::to_string(row + 1) : std::string();
}

void LayOutGrowShrinkTrack(const CGrowShrinkModel& model, CTimeLineTrack& track) {
    track.m_bPlain = 1;
    track.m_nOrigin = model.FirstFrame();
    track.m_nCurrentFrame = -1000;
    track.m_nAnimationEnd = -1000;
    track.SetRowCount(model.RowCount() - model.TopRow());
    track.SetSelection(model.CurrentRow(), model.CurrentKind(), model.TopRow());
    for (int v = 0; v < CGrowShrinkModel::kVisibleRows; ++v) {
        const int row = model.TopRow() + v;
        const int state = row < model.RowCount() ? model.RowState(row) : 0;
        track.SetRowBars(row, state);
        if (state >= 1) {
            const auto& r = model.RowAt(row);
            track.SetBar(row, 0, r.growStart, r.growEnd, 1, r.growSelected);
            if (state == 2) track.SetBar(row, 1, r.shrinkStart, r.shrinkEnd, 1, r.shrinkSelected);
        }
    }
}
