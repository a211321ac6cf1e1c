// The document's undo history: a linear list of steps, each holding whole
// copies of a scene record before and after one change. Editors bracket every
// change with a "before" call (which opens a step) and an "after" call (which
// closes it; the document pushes it when it changed something); Undo hands
// back the before snapshot of the current step and Redo the after snapshot of
// the next one, and the view applies them by the step's kind.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class pnBackground;
class pnEvent;
class pnMaterial;
class pnObject;
class pnScene;
class pnStringProperty;
class pnViewpoint;

// Step kinds.
enum : int {
    UNDO_CREATE = 0,
    UNDO_CHANGE = 1,
    UNDO_DELETE = 2,
    UNDO_BACKGROUND = 3,
    UNDO_MATERIAL_ADD = 4,
    UNDO_MATERIAL_CHANGE = 5,
    UNDO_MATERIAL_DELETE = 6,
    UNDO_VIEWPOINT = 7,
    // An event went under another parent (or none): the step holds the
    // event's parent links only, so its plays and its object are left alone.
    UNDO_EVENT_PARENT = 8,
};

// The kind a snapshot is applied with: undoing a creation deletes, undoing a
// deletion recreates, and likewise for materials.
int UndoApplyKind(int kind, bool undo);

// A copy of the scene's text style of that name; null when there is none.
std::unique_ptr<pnStringProperty> CopyStringStyle(const pnScene* scene, const std::string& name);

// A text style an object names, copied with its place in the scene's list.
struct CStyleCopy {
    std::unique_ptr<pnStringProperty> style;
    int index = -1;
    void Take(const pnScene* scene, const std::string& name);
};
// The event that shows an object: the one named after it, else the first
// whose (shown) first object it is; null when none.
pnEvent* FindShowingEvent(const pnScene* scene, const pnObject* object);

class CUndoSnapshot {
public:
    CUndoSnapshot();
    virtual ~CUndoSnapshot();
    CUndoSnapshot(const CUndoSnapshot&) = delete;
    CUndoSnapshot& operator=(const CUndoSnapshot&) = delete;

    // Copies of the object, of the event that shows it (with its parent and
    // child names) and of the text styles it names (a chart's two, a text's
    // or counter's own), and the places of all in the scene's lists. An
    // object of a kind that cannot be copied leaves the object copy null.
    void TakeObject(pnObject* live, const pnScene* scene);
    // The parent links of an event: its name, its parent's and its place
    // among the parent's children.
    void TakeEventParent(const pnEvent* event, const pnScene* scene);

    // The name the object had when the snapshot was taken ("" without a copy).
    std::string ObjectName() const;
    // What the snapshot holds as a save writes it, with the list places: two
    // snapshots that read the same put back the same.
    std::string Text() const;

    pnObject* m_pLiveObject = nullptr;  // not owned
    std::unique_ptr<pnObject> m_pObjectCopy;
    std::unique_ptr<pnEvent> m_pEventCopy;
    CStyleCopy m_labelStyle;  // charts
    CStyleCopy m_dataStyle;   // charts
    CStyleCopy m_ownStyle;    // texts and counters
    std::unique_ptr<pnBackground> m_pBackgroundCopy;
    std::unique_ptr<pnMaterial> m_pMaterialCopy;
    // The scene's material the step concerns. The history, not the snapshot,
    // decides when it is freed (see CUndoHistory).
    pnMaterial* m_pLiveMaterial = nullptr;
    std::unique_ptr<pnViewpoint> m_pViewpointCopy;
    // Event-parent steps: the event, its parent ("": none) and its place
    // among the parent's children (-1: last).
    std::string m_strEvent;
    std::string m_strParent;
    int m_nChildIndex = -1;
    int m_nMaterialIndex = -1;
    // Where the object and its event stood in the scene's lists (-1: nowhere).
    int m_nObjectIndex = -1;
    int m_nEventIndex = -1;
};

class CUndoStep {
public:
    CUndoStep();
    ~CUndoStep();
    // Whether applying the step changes the scene: steps that create or
    // delete always do; the others when their before and after differ (for
    // a step over several objects, when any part does).
    bool ChangesScene() const;
    std::unique_ptr<CUndoSnapshot> m_pBefore;
    std::unique_ptr<CUndoSnapshot> m_pAfter;
    int m_nKind = 1;
    // One action made of several steps, applied in order (undo in reverse
    // order): a change step per object of the objects selected together, or
    // the steps of other records made inside a dialog's step, then the
    // dialog's own. The step's own snapshots are then unused.
    std::vector<std::unique_ptr<CUndoStep>> m_parts;
};

class CUndoHistory {
public:
    // At most this many steps stand after a push.
    static constexpr int kMaxSteps = 11;

    // inScene tells whether a material is in the current scene's list; a
    // material taken out of the scene (deleted, or its addition undone) lives
    // in the steps that name it and is freed when the last of them goes while
    // it is still out.
    explicit CUndoHistory(std::function<bool(const pnMaterial*)> inScene = {});
    ~CUndoHistory();
    CUndoHistory(const CUndoHistory&) = delete;
    CUndoHistory& operator=(const CUndoHistory&) = delete;

    // Drops the redo part, then the oldest step while more than kMaxSteps - 1
    // stand, and appends the step as the current one.
    CUndoStep* Push(std::unique_ptr<CUndoStep> step);
    // The current step, null when every step is undone or none exists.
    CUndoStep* Current() const;
    // The before snapshot of the current step (null when none) and its kind;
    // the current position moves back one step. other gets the after snapshot.
    CUndoSnapshot* Undo(int& kind, CUndoSnapshot** other = nullptr);
    // Moves forward one step and hands its after snapshot and kind (null when
    // nothing follows). other gets the before snapshot.
    CUndoSnapshot* Redo(int& kind, CUndoSnapshot** other = nullptr);
    // The same moves, handing the whole step (null when there is none).
    CUndoStep* UndoStep();
    CUndoStep* RedoStep();
    bool CanUndo() const { return m_nCurrent >= 0 && !m_steps.empty(); }
    bool CanRedo() const { return m_nCurrent + 1 < static_cast<int>(m_steps.size()); }
    void Clear();

    int GetCount() const { return static_cast<int>(m_steps.size()); }
    int GetCurrentIndex() const { return m_nCurrent; }

private:
    // Deletes steps [first, last) and frees the materials only they held that
    // are out of the scene.
    void Discard(int first, int last);
    bool Refers(const pnMaterial* material) const;

    std::vector<std::unique_ptr<CUndoStep>> m_steps;
    int m_nCurrent = -1;
    std::function<bool(const pnMaterial*)> m_inScene;
};
