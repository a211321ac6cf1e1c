// The time line without a window: rows of marks and bars over frames, the
// frame window, the selection and multi-selection, the drag rules and every
// editing command of the time line panel. The panel binds it to its controls
// and the track; other editors (the effect dialogs) read and drive it through
// the same calls.
//
// Rows: 0 the pauses ("Pause"), 1 the sounds ("Sound"), r >= 2 the scene's
// event r - 2. Rows 2 to 6 (the camera and light events of every scene the
// program makes) take no new effect, no visible toggle and no chooser selection.
#pragma once

#include "ui/animation/CTimeLineHost.h"
#include "ui/animation/TimeLineRules.h"

#include <string>
#include <utility>
#include <vector>

class pnEvent;
class CTimeLineTrack;

struct CTimeLineEntry {
    std::string name;  // effect, "pause" or the sound's file
    int start = 0;
    int end = 0;
    int visible = 1;
    int marked = 0;
};

struct CTimeLineRow {
    std::string name;
    std::string parent;
    std::vector<CTimeLineEntry> entries;
};

class CTimeLineModel {
public:
    static constexpr int kPageFrames = 360;
    static constexpr int kVisibleRows = 5;
    static constexpr int kFirstObjectRow = 7;
    enum DragMode { kDragStart = 0, kDragBody = 1, kDragFinish = 2 };
    enum TimeField { kFieldStart = 1360, kFieldEnd = 1373, kFieldDuration = 1712 };
    // Align buttons, by control id.
    enum AlignButton {
        kAlignStartToStart = 1280, kAlignEndToEnd = 1291, kAlignStartEndToStart = 1120,
        kAlignFinishToEnd = 1124, kAlignStartToEnd = 1054, kAlignEndToStart = 1656,
        kAlignStartEndToEnd = 1093, kAlignFinishToStart = 1116
    };

    explicit CTimeLineModel(CTimeLineHost& host) : m_host(host) {}

    // ---- rows ----
    // Empties the rows, goes to row 0, builds them from the scene at the
    // view's frame and selects the event that was current again (by name,
    // else the same row and entry). The multi-selection ends.
    void RebuildRows();
    void UpdateEventRow(const std::string& eventName);
    void UpdateEventRowAndSelect(const std::string& eventName, const std::string& effectName);
    // Selects the named event's row (shown) and the entry.
    void SelectEvent(const std::string& eventName, int entry);
    void SetCurrentFrame(int frame);
    // The scene's last event frame (-1 without a scene).
    void UpdateAnimationEnd();
    void ClearPlaying() { m_bPlaying = 0; }
    // The view plays or records: every editing and frame command waits.
    void SetPlaying() { m_bPlaying = 1; }

    // ---- frames and playback ----
    void GoToStart();
    void GoToEnd();
    void StepBack();
    void StepForward();
    // The current-frame handle dragged by dx frames.
    void ScrollFrame(int dx);
    void TypeFrame(int frame);
    void Play();
    void Pause();
    void Stop();

    // ---- scrolling ----
    // Frames: a line or page step (stops at frame 1) or the thumb's position.
    void ScrollFramesBy(int delta);
    void ScrollFramesTo(int position);
    void ScrollRowsTo(int top);
    int RowScrollMaximum() const;

    // ---- the track's messages ----
    void Press(int row, int entry, bool shift);
    // One drag step of dx frames; true when it was taken.
    bool Drag(int mode, int dx);
    void Release();
    void DoubleClick(int row, int entry);

    // ---- commands ----
    void AddEntry();
    void DeleteEntry();
    void SetVisible(int on);
    // A typed start, end or duration of the selected play.
    void TypeTime(int field, int value);
    void Align(int button);
    void SetMoveAll(int all) { m_bMoveAll = all; }

    // ---- state ----
    const std::vector<CTimeLineRow>& Rows() const { return m_rows; }
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    int TopRow() const { return m_nTopRow; }
    int SelectedRow() const { return m_nSelRow; }
    int SelectedEntry() const { return m_nSelEntry; }
    const CTimeLineEntry* SelectedItem() const;
    int CurrentFrame() const { return m_nCurrentFrame; }
    int FirstFrame() const { return m_nFirstFrame; }
    int FrameScrollMaximum() const { return m_nFrameMax; }
    int FrameScrollRange() const { return FrameBarRange(m_nFrameMax); }
    int AnimationEnd() const { return m_nAnimationEnd; }
    int IsPlaying() const { return m_bPlaying; }
    int MoveAll() const { return m_bMoveAll; }
    bool HasMultiSelection() const { return m_bMulti != 0; }
    const std::vector<std::pair<int, int>>& MultiSelection() const { return m_multi; }
    // 3 fewer than two pairs, 1 all in one row, 0 no two share a row, 2 else.
    int MultiShape() const { return m_nShape; }
    bool AlignEnabled() const { return m_bMulti && (m_nShape == 0 || m_nShape == 2); }
    // The "Current Effect" texts: name (a sound's file name only), start, end, duration.
    std::string FieldName() const;
    int FieldStart() const;
    int FieldEnd() const;
    // Wider than an int: a file may hold a play from 0 to the int's end.
    long long FieldDuration() const;
    // A pause or sound mark being dragged: its frame on show.
    int PendingFrame(int row) const;

private:
    pnScene* Scene() const { return m_host.GetScene(); }
    pnEvent* RowEvent(int row) const;
    // 2 for the camera's event, 1 for a light's (one of the scene's first
    // four), 0 for any other event.
    int FixedEventKind(const std::string& name) const;
    void BuildRows();
    void FillEventRow(int row);
    void FillPauseRow();
    void FillSoundRow();
    // The play at (row, entry) still names the entry's effect; else the rows
    // are rebuilt from the scene and false comes back.
    bool PlayMatches(int row, int entry);
    bool MoveStart(int row, int entry, long long dx);
    bool MoveFinish(int row, int entry, long long dx);
    bool MoveBody(int row, int entry, long long dx, bool all);
    void AfterMove(int row, int entry, long long dx, bool all);
    void ClearMulti();
    void ShowRow(int row);
    void SelectFirst(int row);

    CTimeLineHost& m_host;
    std::vector<CTimeLineRow> m_rows;
    int m_nTopRow = 0;
    int m_nSelRow = 0;
    int m_nSelEntry = -1;
    int m_nCurrentFrame = 0;
    int m_nFirstFrame = 0;
    int m_nFrameMax = kPageFrames;
    int m_nAnimationEnd = -1;
    int m_bPlaying = 0;
    int m_bMoveAll = 0;
    int m_bMulti = 0;
    int m_nShape = 3;
    std::vector<std::pair<int, int>> m_multi;
    int m_nPendingIndex = -1;  // the mark before its drag
    int m_nPendingFrame = -1;
    int m_nPendingRow = -1;
};

// Lays the model's visible rows out on the track: origin, frames, rows, bars
// (a dragged mark at its pending frame), selection and the lock of a
// multi-selection.
void LayOutTrack(const CTimeLineModel& model, CTimeLineTrack& track);
