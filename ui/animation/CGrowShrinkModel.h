// The grow and shrink times of a chart's data points without a window: one
// row per point with its grow bar and shrink bar, the current bar, the
// limits every change keeps, the multi-selection and its nine alignments,
// and the frame and row windows. Every accepted change goes to the chart.
#pragma once

#include "ui/animation/TimeLineRules.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

class CKelvanoView;
class pnChart;
class CTimeLineTrack;

class CGrowShrinkModel {
public:
    static constexpr int kPageFrames = 360;
    static constexpr int kVisibleRows = 5;
    enum BarKind { kGrow = 0, kShrink = 1 };
    enum AlignButton {
        kLj = 1280, kRj = 1291, kEw = 1300, kStartEdgeToStart = 1320, kEndEdgeToEnd = 1375,
        kStartToEnd = 1388, kEndToStart = 1399, kStartEdgeToEnd = 1408, kEndEdgeToStart = 1416
    };
    static const int kAlignButtons[9];

    struct Row {
        int growStart = 0, growEnd = 0, growSelected = 0;
        int shrinkStart = -1, shrinkEnd = -1, shrinkSelected = 0;
    };

    // Reads every point's times; false (and no rows) without a chart.
    bool Load(pnChart* chart, int growLength, int shrinkLength);
    pnChart* Chart() const { return m_pChart; }
    // Something was written to the chart since the load.
    bool Changed() const { return m_bChanged; }
    // The view whose scene holds the chart: each change written marks it
    // modified and shows in its frame at once, while the dialog is open.
    void ShowIn(CKelvanoView* view) { m_pView = view; }
    std::string Title() const;
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    const Row& RowAt(int i) const { return m_rows[static_cast<size_t>(i)]; }
    bool HasGrow(int row) const;
    bool HasShrink(int row) const;
    bool HasBar(int row, int kind) const { return kind == kShrink ? HasShrink(row) : HasGrow(row); }
    // 0 no bar, 1 grow only, 2 grow and shrink.
    int RowState(int row) const;

    // ---- the current bar ----
    void SetCurrent(int row, int kind);
    int CurrentRow() const { return m_nRow; }
    int CurrentKind() const { return m_nKind; }
    // Start, end and duration of the current bar (0, 0, 0 when it has none).
    int Start() const;
    int End() const;
    long long Duration() const;
    bool CanAddGrow() const { return RowCount() > 0 && RowState(m_nRow) == 0; }
    bool CanAddShrink() const { return RowCount() > 0 && RowState(m_nRow) == 1; }
    bool CanRemove() const { return RowCount() > 0 && RowState(m_nRow) > 0; }
    void AddGrow();
    void AddShrink();
    void Remove();

    // ---- bar changes by d frames, refused whole past a limit ----
    bool MoveStartEdge(int row, int kind, long long d);
    bool MoveBar(int row, int kind, long long d);
    bool MoveEndEdge(int row, int kind, long long d);
    // The track's drag modes 0 start edge, 1 bar, 2 end edge on the current bar.
    bool Drag(int mode, int d);
    void TypeStart(int value, bool fixedDuration);
    void TypeEnd(int value);
    void TypeDuration(int value);

    // ---- multi-selection ----
    void ToggleSelection(int row, int kind);
    void ClearSelection();
    const std::vector<std::pair<int, int>>& Selection() const { return m_selected; }
    bool AlignEnabled(int button) const;
    void Align(int button);

    // ---- windows ----
    int LargestEnd() const { return m_nLargestEnd; }
    int FrameScrollMaximum() const { return std::max(kPageFrames, m_nLargestEnd); }
    int FrameScrollRange() const { return FrameBarRange(FrameScrollMaximum()); }
    int FirstFrame() const { return m_nFirstFrame; }
    void ScrollFramesTo(int position);
    int TopRow() const { return m_nTopRow; }
    int RowScrollMaximum() const { return std::max(4, RowCount() - 1); }
    void ScrollRowsTo(int top);
    // "%d" of the row number, "" past the last point.
    std::string RowLabel(int visible) const;

private:
    bool Set(int row, int kind, long long start, long long end);
    void UpdateLargestEnd();
    void Write(int row, int kind);

    pnChart* m_pChart = nullptr;
    CKelvanoView* m_pView = nullptr;
    bool m_bChanged = false;
    int m_nGrowLength = 21;
    int m_nShrinkLength = 11;
    std::vector<Row> m_rows;
    int m_nRow = 0;
    int m_nKind = kGrow;
    std::vector<std::pair<int, int>> m_selected;
    int m_nLargestEnd = 0;
    int m_nFirstFrame = 0;
    int m_nTopRow = 0;
};

// Lays the model's visible rows out on a plain track.
void LayOutGrowShrinkTrack(const CGrowShrinkModel& model, CTimeLineTrack& track);
