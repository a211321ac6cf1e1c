#include "ui/animation/CTimeLineModel.h"

#include "editor/CKelvanoView.h"
#include "editor/EditLimits.h"
#include "scene/pnEvent.h"
#include "scene/pnLight.h"
#include "scene/pnScene.h"
#include "ui/animation/CTimeLineTrack.h"

#include <algorithm>
#include <climits>

namespace {
std::string afterLastSeparator(const std::string& path) {
    const size_t at = path.find_last_of("\\/");
    return at == std::string::npos ? path : path.substr(at + 1);
}

// Frames are summed in 64 bits and compared with the bounds before they go
// back into an int: a file may place a play at the end of the int range.
using Frames = long long;

// A frame a move reaches: never below 0, and past the last frame the editors
// take only where it was already (a file's frame can be moved back down).
bool frameTaken(Frames from, Frames to) { return to >= 0 && (to <= kMaxFrame || to <= from); }

int intFrame(Frames f) { return static_cast<int>(std::clamp<Frames>(f, 0, INT_MAX)); }
}  // namespace

// ---- rows ----

pnEvent* CTimeLineModel::RowEvent(int row) const {
    pnScene* scene = Scene();
    return scene && row >= 2 ? scene->getEvent(row - 2) : nullptr;
}

void CTimeLineModel::FillPauseRow() {
    pnScene* scene = Scene();
    CTimeLineRow& row = m_rows[0];
    row.entries.clear();
    for (int i = 0; scene && i < scene->getNumPauses(); ++i) {
        const int f = scene->getPause(i);
        row.entries.push_back({"pause", f, f, 0, 0});
    }
}

void CTimeLineModel::FillSoundRow() {
    pnScene* scene = Scene();
    CTimeLineRow& row = m_rows[1];
    row.entries.clear();
    for (int i = 0; scene && i < scene->getNumSounds(); ++i) {
        const pnSound s = scene->getSound(i);
        row.entries.push_back({s.file, s.frame, s.frame, 0, 0});
    }
}

void CTimeLineModel::FillEventRow(int row) {
    const pnEvent* event = RowEvent(row);
    if (!event || row >= RowCount()) return;
    CTimeLineRow& r = m_rows[static_cast<size_t>(row)];
    r.name = event->getName();
    r.parent = event->getParent();
    r.entries.clear();
    for (int i = 0; i < event->getNumPlays(); ++i) {
        const pnEventPlay* p = event->getPlay(i);
        r.entries.push_back({p->effect, p->start, p->end, p->visible, 0});
    }
    for (const auto& [mr, me] : m_multi)
        if (mr == row && me >= 0 && me < static_cast<int>(r.entries.size())) r.entries[static_cast<size_t>(me)].marked = 1;
}

void CTimeLineModel::BuildRows() {
    m_rows.clear();
    pnScene* scene = Scene();
    if (!scene) return;
    m_rows.resize(static_cast<size_t>(scene->getNumEvents() + 2));
    m_rows[0].name = "Pause";
    m_rows[1].name = "Sound";
    FillPauseRow();
    FillSoundRow();
    for (int r = 2; r < RowCount(); ++r) FillEventRow(r);
    m_nFrameMax = std::max(kPageFrames, scene->getLastEventFrame());
    m_nFirstFrame = 0;
    m_nAnimationEnd = scene->getLastEventFrame();
}

void CTimeLineModel::RebuildRows() {
    std::string current;
    if (m_nSelRow >= 2 && m_nSelRow < RowCount()) current = m_rows[static_cast<size_t>(m_nSelRow)].name;
    const int oldRow = m_nSelRow, oldEntry = m_nSelEntry;
    // Indexes into the old rows mean nothing in the new ones.
    m_multi.clear();
    m_bMulti = 0;
    m_nShape = 3;
    m_nPendingIndex = m_nPendingRow = m_nPendingFrame = -1;
    m_rows.clear();
    m_nCurrentFrame = 0;
    m_nTopRow = 0;
    BuildRows();
    // The rows come back at the frame the view shows.
    if (RowCount() > 0) SetCurrentFrame(m_host.GetViewFrame());
    m_nSelRow = 0;
    m_nSelEntry = -1;
    if (RowCount() == 0) return;
    int row = -1;
    for (int r = 2; r < RowCount() && !current.empty(); ++r)
        if (m_rows[static_cast<size_t>(r)].name == current) row = r;
    if (row >= 0) {
        m_nSelRow = row;
        m_nSelEntry = m_rows[static_cast<size_t>(row)].entries.empty() ? -1 : 0;
        if (row == oldRow) m_nSelEntry = std::min(oldEntry, static_cast<int>(m_rows[static_cast<size_t>(row)].entries.size()) - 1);
        ShowRow(row);
    } else if (oldRow < RowCount()) {
        m_nSelRow = oldRow;
        const int n = static_cast<int>(m_rows[static_cast<size_t>(oldRow)].entries.size());
        m_nSelEntry = n == 0 ? -1 : std::clamp(oldEntry, 0, n - 1);
    }
}

void CTimeLineModel::UpdateEventRow(const std::string& eventName) {
    pnScene* scene = Scene();
    if (!scene) return;
    const int index = scene->findEventIndex(eventName.c_str());
    if (index < 0) return;
    if (index + 2 >= RowCount()) {
        RebuildRows();
        return;
    }
    FillEventRow(index + 2);
    if (m_nSelRow == index + 2) {
        const int n = static_cast<int>(m_rows[static_cast<size_t>(m_nSelRow)].entries.size());
        if (m_nSelEntry >= n) m_nSelEntry = n - 1;
        if (n > 0 && m_nSelEntry < 0) m_nSelEntry = 0;
    }
    m_nAnimationEnd = scene->getLastEventFrame();
}

void CTimeLineModel::UpdateEventRowAndSelect(const std::string& eventName, const std::string& effectName) {
    UpdateEventRow(eventName);
    pnScene* scene = Scene();
    if (!scene) return;
    const int row = scene->findEventIndex(eventName.c_str()) + 2;
    if (row < 2 || row >= RowCount()) return;
    const auto& entries = m_rows[static_cast<size_t>(row)].entries;
    int entry = entries.empty() ? -1 : 0;
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].name == effectName) entry = static_cast<int>(i);
    SelectEvent(eventName, entry);
}

void CTimeLineModel::SelectEvent(const std::string& eventName, int entry) {
    pnScene* scene = Scene();
    if (!scene) return;
    const int row = scene->findEventIndex(eventName.c_str()) + 2;
    if (row < 2 || row >= RowCount()) return;
    m_nSelRow = row;
    const int n = static_cast<int>(m_rows[static_cast<size_t>(row)].entries.size());
    m_nSelEntry = n == 0 ? -1 : std::clamp(entry, 0, n - 1);
    ShowRow(row);
}

void CTimeLineModel::ShowRow(int row) {
    if (row < m_nTopRow)
        ScrollRowsTo(row);
    else if (row >= m_nTopRow + kVisibleRows)
        ScrollRowsTo(row - kVisibleRows + 1);
}

const CTimeLineEntry* CTimeLineModel::SelectedItem() const {
    if (m_nSelRow < 0 || m_nSelRow >= RowCount()) return nullptr;
    const auto& entries = m_rows[static_cast<size_t>(m_nSelRow)].entries;
    if (m_nSelEntry < 0 || m_nSelEntry >= static_cast<int>(entries.size())) return nullptr;
    return &entries[static_cast<size_t>(m_nSelEntry)];
}

std::string CTimeLineModel::FieldName() const {
    const CTimeLineEntry* e = SelectedItem();
    if (!e) return std::string();
    return m_nSelRow == 1 ? afterLastSeparator(e->name) : e->name;
}
int CTimeLineModel::FieldStart() const { return SelectedItem() ? SelectedItem()->start : 0; }
int CTimeLineModel::FieldEnd() const { return SelectedItem() ? SelectedItem()->end : 0; }
long long CTimeLineModel::FieldDuration() const {
    return SelectedItem() ? Frames(SelectedItem()->end) - SelectedItem()->start + 1 : 0;
}

int CTimeLineModel::PendingFrame(int row) const { return row == m_nPendingRow ? m_nPendingFrame : -1; }

// ---- frames ----

void CTimeLineModel::SetCurrentFrame(int frame) {
    const int f = std::max(0, frame);
    if (f >= kPageFrames && f > m_nFrameMax) m_nFrameMax = f;
    const Frames first = m_nFirstFrame;
    if (f >= first + kPageFrames) {
        m_nFirstFrame = intFrame(std::min(first + ((f - first) / kPageFrames) * kPageFrames,
                                          Frames(m_nFrameMax) - kPageFrames + 1));
    } else if (f < first) {
        m_nFirstFrame = intFrame(first - ((first + kPageFrames - f) / kPageFrames) * kPageFrames);
    }
    m_nCurrentFrame = f;
}

void CTimeLineModel::UpdateAnimationEnd() {
    pnScene* scene = Scene();
    m_nAnimationEnd = scene ? scene->getLastEventFrame() : -1;
}

void CTimeLineModel::GoToStart() {
    if (m_bPlaying || !Scene()) return;
    SetCurrentFrame(0);
    m_host.SetViewFrame(0);
}

void CTimeLineModel::GoToEnd() {
    if (m_bPlaying || !Scene()) return;
    const int last = std::max(0, Scene()->getLastEventFrame());
    SetCurrentFrame(last);
    m_host.SetViewFrame(last);
}

void CTimeLineModel::StepBack() {
    if (m_bPlaying || !Scene()) return;
    const int f = std::max(0, m_host.GetViewFrame() - 1);
    SetCurrentFrame(f);
    m_host.SetViewFrame(f);
}

void CTimeLineModel::StepForward() {
    if (m_bPlaying || !Scene()) return;
    const int f = intFrame(std::min(Frames(m_host.GetViewFrame()) + 1, Frames(std::max(0, Scene()->getLastEventFrame()))));
    SetCurrentFrame(f);
    m_host.SetViewFrame(f);
}

void CTimeLineModel::ScrollFrame(int dx) {
    if (m_bPlaying || !Scene()) return;
    SetCurrentFrame(intFrame(Frames(m_nCurrentFrame) + dx));
    m_host.SetViewFrame(m_nCurrentFrame);
}

void CTimeLineModel::TypeFrame(int frame) {
    if (m_bPlaying || !Scene()) return;
    SetCurrentFrame(std::min(frame, kMaxFrame));
    m_host.SetViewFrame(m_nCurrentFrame);
}

void CTimeLineModel::Play() {
    if (!Scene()) return;
    if (m_bPlaying) m_host.ContinueFromPause();
    m_bPlaying = 1;
    m_host.PlayStart();
}

void CTimeLineModel::Pause() {
    // A recording goes on through Pause: the panel stays locked until it ends.
    if (m_host.IsRecording()) return;
    m_bPlaying = 0;
    m_host.PlayPause();
}

void CTimeLineModel::Stop() {
    if (!m_bPlaying) return;
    m_bPlaying = 0;
    m_host.PlayStop();
    SetCurrentFrame(0);
    m_host.SetViewFrame(0);
}

// ---- scrolling ----

void CTimeLineModel::ScrollFramesBy(int delta) {
    const int top = std::max(1, m_nFrameMax - kPageFrames + 1);
    ScrollFramesTo(static_cast<int>(std::clamp<Frames>(Frames(m_nFirstFrame) + delta, 1, top)));
}

void CTimeLineModel::ScrollFramesTo(int position) {
    m_nFirstFrame = std::clamp(position, 0, std::max(0, m_nFrameMax - kPageFrames + 1));
}

int CTimeLineModel::RowScrollMaximum() const { return std::max(RowCount() - 1, kVisibleRows - 1); }

void CTimeLineModel::ScrollRowsTo(int top) {
    m_nTopRow = std::clamp(top, 0, RowScrollMaximum() - kVisibleRows + 1);
}

// ---- selection ----

void CTimeLineModel::ClearMulti() {
    for (auto& [row, entry] : m_multi)
        if (row < RowCount() && entry >= 0 && entry < static_cast<int>(m_rows[static_cast<size_t>(row)].entries.size()))
            m_rows[static_cast<size_t>(row)].entries[static_cast<size_t>(entry)].marked = 0;
    m_multi.clear();
    m_bMulti = 0;
    m_nShape = 3;
}

void CTimeLineModel::Press(int row, int entry, bool shift) {
    if (row < 0 || row >= RowCount()) return;
    const int entries = static_cast<int>(m_rows[static_cast<size_t>(row)].entries.size());
    const bool onEntry = entry >= 0 && entry < entries;
    if (row >= 2) {
        if (shift && onEntry) {
            auto at = std::find(m_multi.begin(), m_multi.end(), std::make_pair(row, entry));
            CTimeLineEntry& e = m_rows[static_cast<size_t>(row)].entries[static_cast<size_t>(entry)];
            if (at != m_multi.end()) {
                m_multi.erase(at);
                e.marked = 0;
                if (m_multi.empty()) {
                    m_bMulti = 0;
                    m_nShape = 3;
                } else if (m_multi.size() == 1) {
                    m_nShape = 3;
                } else if (m_nShape == 2) {
                    // Worked out again against the reference.
                    const int ref = m_multi.back().first;
                    bool allSame = true, shared = false;
                    for (size_t i = 0; i < m_multi.size(); ++i) {
                        if (m_multi[i].first != ref) allSame = false;
                        for (size_t j = i + 1; j < m_multi.size(); ++j)
                            if (m_multi[i].first == m_multi[j].first) shared = true;
                    }
                    m_nShape = allSame ? 1 : shared ? 2 : 0;
                }
            } else {
                bool rowUsed = false, otherRow = false;
                for (const auto& p : m_multi) {
                    if (p.first == row) rowUsed = true;
                    else otherRow = true;
                }
                if (m_multi.size() == 1) m_nShape = rowUsed ? 1 : 0;
                else if (m_nShape == 0) m_nShape = rowUsed ? 2 : 0;
                else if (m_nShape == 1) m_nShape = otherRow || !rowUsed ? 2 : 1;
                m_multi.emplace_back(row, entry);
                e.marked = 1;
                m_bMulti = 1;
            }
        } else if (!shift) {
            ClearMulti();
        }
    }
    m_nSelRow = row;
    m_nSelEntry = onEntry ? entry : (entries > 0 ? std::clamp(entry, 0, entries - 1) : -1);
    if (row >= kFirstObjectRow) m_host.SelectInObjectChooser(m_rows[static_cast<size_t>(row)].name);
    if (row >= 2) m_host.SelectEventTreeItem(m_rows[static_cast<size_t>(row)].name);
}

// ---- drag rules ----

bool CTimeLineModel::PlayMatches(int row, int entry) {
    const pnEvent* event = RowEvent(row);
    const pnEventPlay* play = event ? event->getPlay(entry) : nullptr;
    if (play && row < RowCount() && entry < static_cast<int>(m_rows[static_cast<size_t>(row)].entries.size()) &&
        play->effect == m_rows[static_cast<size_t>(row)].entries[static_cast<size_t>(entry)].name)
        return true;
    RebuildRows();
    return false;
}

bool CTimeLineModel::MoveStart(int row, int entry, long long dx) {
    pnEvent* event = RowEvent(row);
    const pnEventPlay* p = event ? event->getPlay(entry) : nullptr;
    if (!p || dx == 0) return false;
    const Frames ns = Frames(p->start) + dx;
    if (dx > 0 && p->end < ns) return false;
    if (!frameTaken(p->start, ns)) return false;
    if (dx < 0) {
        const pnEventPlay* prev = event->getPlay(entry - 1);
        if (prev && ns < prev->end) return false;
    }
    event->setPlayTime(entry, static_cast<int>(ns), p->end);
    return true;
}

bool CTimeLineModel::MoveFinish(int row, int entry, long long dx) {
    pnEvent* event = RowEvent(row);
    const pnEventPlay* p = event ? event->getPlay(entry) : nullptr;
    if (!p || dx == 0) return false;
    const Frames ne = Frames(p->end) + dx;
    if (dx < 0 && ne < p->start) return false;
    if (!frameTaken(p->end, ne)) return false;
    if (dx > 0) {
        const pnEventPlay* next = event->getPlay(entry + 1);
        if (next && ne > next->start) return false;
    }
    event->setPlayTime(entry, p->start, static_cast<int>(ne));
    return true;
}

bool CTimeLineModel::MoveBody(int row, int entry, long long dx, bool all) {
    pnEvent* event = RowEvent(row);
    const pnEventPlay* p = event ? event->getPlay(entry) : nullptr;
    if (!p || dx == 0) return false;
    if (dx < 0) {
        const pnEventPlay* prev = event->getPlay(entry - 1);
        if (prev ? Frames(p->start) + dx < prev->end : Frames(p->start) + dx < 0) return false;
    } else if (!all) {
        const pnEventPlay* next = event->getPlay(entry + 1);
        if (next && Frames(p->end) + dx > next->start) return false;
    }
    const int last = all ? event->getNumPlays() - 1 : entry;
    const Frames lastEnd = event->getPlay(last)->end;
    if (dx > 0 && !frameTaken(lastEnd, lastEnd + dx)) return false;
    for (int i = entry; i <= last; ++i) {
        const pnEventPlay* q = event->getPlay(i);
        event->setPlayTime(i, static_cast<int>(Frames(q->start) + dx), static_cast<int>(Frames(q->end) + dx));
    }
    return true;
}

void CTimeLineModel::AfterMove(int row, int entry, long long dx, bool all) {
    pnScene* scene = Scene();
    pnEvent* event = RowEvent(row);
    if (!scene || !event) return;
    FillEventRow(row);
    if (entry == event->getNumPlays() - 1 || all) m_nAnimationEnd = scene->getLastEventFrame();
    // An "All" move carries the row's later plays: the last one ends it.
    const int end = all ? event->getEndFrame() : event->getPlay(entry)->end;
    if (dx > 0) {
        if (end > m_nFrameMax && end > kPageFrames) m_nFrameMax = end;
    } else {
        const int last = scene->getLastEventFrame();
        if (last <= kPageFrames) m_nFrameMax = kPageFrames;
        else if (last < m_nFrameMax) m_nFrameMax = last;
    }
    m_nFirstFrame = std::min(m_nFirstFrame, std::max(0, m_nFrameMax - kPageFrames + 1));
    m_host.SetModified();
}

bool CTimeLineModel::Drag(int mode, int dx) {
    if (m_bPlaying || m_bMulti || !Scene() || m_nSelRow < 0 || m_nSelRow >= RowCount()) return false;
    const int row = m_nSelRow, entry = m_nSelEntry;
    if (row <= 1) {
        const auto& entries = m_rows[static_cast<size_t>(row)].entries;
        if (entry < 0 || entry >= static_cast<int>(entries.size())) return false;
        const int from = m_nPendingRow == row ? m_nPendingFrame : entries[static_cast<size_t>(entry)].start;
        const Frames to = Frames(from) + dx;
        if (!frameTaken(from, to)) return false;
        m_nPendingRow = row;
        m_nPendingIndex = entry;
        m_nPendingFrame = static_cast<int>(to);
        return true;
    }
    if (entry < 0 || !PlayMatches(row, entry)) return false;
    bool moved = false;
    if (mode == kDragStart) moved = MoveStart(row, entry, dx);
    else if (mode == kDragFinish) moved = MoveFinish(row, entry, dx);
    else if (mode == kDragBody) moved = MoveBody(row, entry, dx, m_bMoveAll != 0);
    if (moved) AfterMove(row, entry, dx, mode == kDragBody && m_bMoveAll);
    m_nSelRow = row;
    m_nSelEntry = entry;
    return moved;
}

void CTimeLineModel::Release() {
    pnScene* scene = Scene();
    const int row = m_nPendingRow, index = m_nPendingIndex, frame = m_nPendingFrame;
    m_nPendingRow = m_nPendingIndex = m_nPendingFrame = -1;
    if (!scene || row < 0 || m_bPlaying) return;
    if (row == 0) {
        // A frame that holds a pause already keeps the dragged one where it was.
        bool taken = false;
        for (int i = 0; i < scene->getNumPauses(); ++i)
            if (i != index && scene->getPause(i) == frame) taken = true;
        if (!taken && scene->removePauseAt(index)) scene->addPause(frame);
        FillPauseRow();
        for (int i = 0; i < scene->getNumPauses(); ++i)
            if (scene->getPause(i) == (taken ? m_rows[0].entries[static_cast<size_t>(index)].start : frame)) m_nSelEntry = i;
    } else {
        bool taken = false;
        for (int i = 0; i < scene->getNumSounds(); ++i)
            if (i != index && scene->getSound(i).frame == frame) taken = true;
        const pnSound sound = scene->getSound(index);
        if (!taken && scene->removeSoundAt(index)) scene->addSound(frame, sound.file.c_str());
        FillSoundRow();
        const int at = taken ? sound.frame : frame;
        for (int i = 0; i < scene->getNumSounds(); ++i)
            if (scene->getSound(i).frame == at) m_nSelEntry = i;
    }
    m_nSelRow = row;
    m_host.SetModified();
    m_host.RedrawView();
}

void CTimeLineModel::DoubleClick(int row, int entry) {
    if (row < 2 || m_bPlaying || m_bMulti) return;
    const pnEvent* event = RowEvent(row);
    const pnEventPlay* play = event ? event->getPlay(entry) : nullptr;
    if (!play) return;
    const std::string& name = event->getName();
    if (const int kind = FixedEventKind(name)) {
        m_host.EditFixedEffect(play->effect, kind);
        return;
    }
    if (m_host.GetEffectEditMode() != 0) return;
    SetCurrentFrame(play->end);
    m_host.SetViewFrame(play->end);
    m_host.EditEffect(name, play->effect, entry);
}

// ---- commands ----

void CTimeLineModel::SelectFirst(int row) {
    m_nSelRow = row;
    m_nSelEntry = m_rows[static_cast<size_t>(row)].entries.empty() ? -1 : 0;
}

void CTimeLineModel::AddEntry() {
    pnScene* scene = Scene();
    if (!scene || m_bPlaying || m_bMulti || RowCount() == 0) return;
    if (m_nSelRow == 0) {
        scene->addPause(m_nCurrentFrame);
        FillPauseRow();
        SelectFirst(0);
        m_host.SetModified();
    } else if (m_nSelRow == 1) {
        const std::string file = m_host.ChooseSoundFile();
        if (file.empty()) return;
        scene->addSound(m_nCurrentFrame, file.c_str());
        FillSoundRow();
        SelectFirst(1);
        m_host.SetModified();
    } else if (m_nSelRow >= kFirstObjectRow) {
        const pnEvent* event = RowEvent(m_nSelRow);
        if (!event || m_host.GetEffectEditMode() != 0) return;
        // The row's event takes the effect through the object of its name; a
        // scene made before events were named after their objects has none,
        // and the press selected nothing.
        const std::string& name = event->getName();
        if (!scene->findObject(name.c_str())) {
            m_host.ShowMessage(CKelvanoView::NoEffectTakerText("object", name), "Effect Creation Error");
            return;
        }
        m_host.CreateEffect(name);
    } else if (const pnEvent* event = RowEvent(m_nSelRow)) {
        // The camera's and the lights' rows take their effects from the
        // Camera and Light pages; any other event here sits in a row kept
        // for them, in a scene made without them.
        if (FixedEventKind(event->getName()) == 0)
            m_host.ShowMessage("This scene has no \"Camera\" and light events: the first five event rows are kept for "
                               "them, so \"" + event->getName() + "\" cannot take an effect here.",
                               "Effect Creation Error");
    }
}

int CTimeLineModel::FixedEventKind(const std::string& name) const {
    if (name == "Camera") return 2;
    pnScene* scene = Scene();
    for (int i = 0; scene && i < 4 && i < scene->getNumLights(); ++i)
        if (scene->getLight(i)->getName() == name) return 1;
    return 0;
}

void CTimeLineModel::DeleteEntry() {
    pnScene* scene = Scene();
    if (!scene || m_bPlaying || m_bMulti || RowCount() == 0) return;
    const int row = m_nSelRow;
    if (row == 0) {
        if (!scene->removePauseAt(m_nSelEntry)) return;
        FillPauseRow();
    } else if (row == 1) {
        if (!scene->removeSoundAt(m_nSelEntry)) return;
        FillSoundRow();
    } else {
        if (m_nSelEntry < 0 || !PlayMatches(row, m_nSelEntry)) return;
        pnEvent* event = RowEvent(row);
        const std::string effect = event->getPlay(m_nSelEntry)->effect;
        event->removePlayAt(m_nSelEntry);
        FillEventRow(row);
        m_host.RemoveEventTreeEffectItem(event->getName(), m_nSelEntry);
        if (row >= kFirstObjectRow) m_nAnimationEnd = scene->getLastEventFrame();
        m_host.ReleaseEffectUse(effect);
    }
    SelectFirst(row);
    m_host.SetModified();
    m_host.RedrawView();
}

void CTimeLineModel::SetVisible(int on) {
    if (m_bPlaying || m_bMulti || m_nSelRow < kFirstObjectRow || m_nSelRow >= RowCount() || m_nSelEntry < 0) return;
    pnEvent* event = RowEvent(m_nSelRow);
    if (!event || event->getNumPlays() == 0 || !PlayMatches(m_nSelRow, m_nSelEntry)) return;
    event->setPlayVisible(m_nSelEntry, on ? 1 : 0);
    m_rows[static_cast<size_t>(m_nSelRow)].entries[static_cast<size_t>(m_nSelEntry)].visible = on ? 1 : 0;
    m_host.SetModified();
    m_host.RedrawView();
}

void CTimeLineModel::TypeTime(int field, int value) {
    if (m_bPlaying || m_bMulti || m_nSelRow < 2 || m_nSelRow >= RowCount()) return;
    const int row = m_nSelRow, entry = m_nSelEntry;
    pnEvent* event = RowEvent(row);
    if (!event || event->getNumPlays() == 0 || entry < 0 || !PlayMatches(row, entry)) return;
    // A typed frame stays within what the editors take.
    if (value < 0 || value > kMaxFrame || (field == kFieldDuration && value < 1)) return;
    const pnEventPlay* p = event->getPlay(entry);
    bool moved = false;
    Frames dx = 0;
    if (field == kFieldStart) {
        dx = Frames(value) - p->start;
        moved = m_host.GetFixedDuration() ? MoveBody(row, entry, dx, m_bMoveAll != 0) : MoveStart(row, entry, dx);
    } else if (field == kFieldEnd) {
        dx = Frames(value) - p->end;
        moved = MoveFinish(row, entry, dx);
    } else if (field == kFieldDuration) {
        dx = Frames(value) - (Frames(p->end) - p->start + 1);
        moved = MoveFinish(row, entry, dx);
    }
    if (moved) AfterMove(row, entry, dx, field == kFieldStart && m_host.GetFixedDuration() && m_bMoveAll);
}

void CTimeLineModel::Align(int button) {
    if (m_bPlaying || !AlignEnabled() || m_multi.size() < 2) return;
    const auto [refRow, refEntry] = m_multi.back();
    for (const auto& pair : m_multi)
        if (!PlayMatches(pair.first, pair.second)) return;
    const pnEventPlay* ref = RowEvent(refRow)->getPlay(refEntry);
    const int refStart = ref->start, refEnd = ref->end;
    for (size_t i = 0; i + 1 < m_multi.size(); ++i) {
        const auto [row, entry] = m_multi[i];
        const pnEventPlay* p = RowEvent(row)->getPlay(entry);
        bool moved = false;
        Frames dx = 0;
        switch (button) {
        case kAlignStartToStart: dx = Frames(refStart) - p->start; moved = MoveBody(row, entry, dx, false); break;
        case kAlignEndToEnd: dx = Frames(refEnd) - p->end; moved = MoveBody(row, entry, dx, false); break;
        case kAlignStartEndToStart: dx = Frames(refStart) - p->start; moved = MoveStart(row, entry, dx); break;
        case kAlignFinishToEnd: dx = Frames(refEnd) - p->end; moved = MoveFinish(row, entry, dx); break;
        case kAlignStartToEnd: dx = Frames(refEnd) - p->start; moved = MoveBody(row, entry, dx, false); break;
        case kAlignEndToStart: dx = Frames(refStart) - p->end; moved = MoveBody(row, entry, dx, false); break;
        case kAlignStartEndToEnd: dx = Frames(refEnd) - p->start; moved = MoveStart(row, entry, dx); break;
        case kAlignFinishToStart: dx = Frames(refStart) - p->end; moved = MoveFinish(row, entry, dx); break;
        default: return;
        }
        if (moved) AfterMove(row, entry, dx, false);
    }
}

void LayOutTrack(const CTimeLineModel& model, CTimeLineTrack& track) {
    track.m_nOrigin = model.FirstFrame();
    track.m_nCurrentFrame = model.CurrentFrame();
    track.m_nAnimationEnd = model.AnimationEnd();
    track.m_bLocked = model.HasMultiSelection() ? 1 : 0;
    track.SetRowCount(model.RowCount());
    track.SetSelection(model.SelectedRow(), model.SelectedEntry(), model.TopRow());
    for (int v = 0; v < CTimeLineModel::kVisibleRows; ++v) {
        const int row = model.TopRow() + v;
        if (row >= model.RowCount()) {
            track.SetRowBars(row, 0);
            continue;
        }
        const auto& entries = model.Rows()[static_cast<size_t>(row)].entries;
        track.SetRowBars(row, static_cast<int>(entries.size()));
        for (size_t i = 0; i < entries.size(); ++i) {
            const CTimeLineEntry& e = entries[i];
            int start = e.start, end = e.end;
            if (row <= 1 && static_cast<int>(i) == model.SelectedEntry() && model.PendingFrame(row) >= 0)
                start = end = model.PendingFrame(row);
            track.SetBar(row, static_cast<int>(i), start, end, e.visible, e.marked);
        }
    }
}
