// What the view tells the windows that follow it. Every modeless window, page
// and bar hears the view's changes here and either shows the new state or
// closes; no command closes a window by hand. A window that writes to the scene
// when it closes writes only to what it was opened for, and a change that
// replaces that (a new scene, an undo step) closes it without writing.
#pragma once

enum class ViewChange {
    // The scene is about to go (New, Open, a dropped file, the view's end): a
    // window lets go of it while it is still there.
    SceneClosing,
    // A new scene is in; the selection is its own.
    SceneReplaced,
    // The document's selected object is another one, or none.
    SelectionChanged,
    // An undo or redo step was applied: the objects it names may be new ones.
    UndoApplied,
    // Object mode and animation mode switched.
    ModeChanged,
    // What the current frame shows changed (plays, effects or times edited).
    FrameChanged,
};

class CViewListener {
public:
    virtual ~CViewListener() = default;
    virtual void OnViewChange(ViewChange change) = 0;
    // A save writes the scene (writing true) and has written it (false): a
    // window whose unapplied values are in the scene (a drag it shows) puts
    // back what the scene held meanwhile, so that no file holds them.
    virtual void OnSceneWrite(bool /*writing*/) {}
};
