// What the time line reaches outside itself: the scene, the view, the document
// and the other bars. The panel implements it on the current view; tests record.
#pragma once

#include <string>

class pnScene;

class CTimeLineHost {
public:
    virtual ~CTimeLineHost() = default;
    // The current view's scene; null without a view or scene.
    virtual pnScene* GetScene() = 0;
    // The document's "Fixed Dur." setting.
    virtual int GetFixedDuration() = 0;
    virtual void SetFixedDuration(int on) = 0;
    // The view goes to a frame and redraws.
    virtual void SetViewFrame(int frame) = 0;
    virtual int GetViewFrame() = 0;
    virtual void RedrawView() = 0;
    // The scene changed: the view's modified flag.
    virtual void SetModified() = 0;
    // The view's effect-editing mode (0 none, 1 creating, 2 editing).
    virtual int GetEffectEditMode() = 0;
    // Add Effect on the event of the object of that name, which the view
    // selects first where another is selected.
    virtual void CreateEffect(const std::string& objectName) = 0;
    // The modeless editor on a play: the view records event, effect and index.
    virtual void EditEffect(const std::string& eventName, const std::string& effectName, int entry) = 0;
    // The modal editor on a camera (mode 2) or light (mode 1) effect.
    virtual void EditFixedEffect(const std::string& effectName, int mode) = 0;
    virtual void SelectInObjectChooser(const std::string& name) = 0;
    virtual void SelectEventTreeItem(const std::string& name) = 0;
    virtual void RemoveEventTreeEffectItem(const std::string& eventName, int playIndex) = 0;
    virtual void ReleaseEffectUse(const std::string& effectName) = 0;
    // A wave file for a new sound ("" when none was chosen).
    virtual std::string ChooseSoundFile() = 0;
    // Playback in the view.
    virtual void PlayStart() = 0;
    virtual void PlayPause() = 0;
    virtual void PlayStop() = 0;
    // Playback waits at a pause: lets it go on; false when it was not waiting.
    virtual bool ContinueFromPause() = 0;
    // The view records a movie: Pause does not hold it, Stop ends it.
    virtual bool IsRecording() { return false; }
    // Tells the user why a command did nothing (a warning box).
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
};
