// The time line's host on the current view, without a window: the scene, the
// frame, the effect dialogs, the bars and playback, as the panel reaches them.
// An edit of the scene marks the view modified and tells it that what its
// frame shows changed, so the picture follows every edit at once. The panel
// adds what needs a window (the sound file dialog, its own check box).
#pragma once

#include "ui/animation/CTimeLineHost.h"

class CViewTimeLineHost : public CTimeLineHost {
public:
    pnScene* GetScene() override;
    int GetFixedDuration() override;
    void SetFixedDuration(int on) override;
    void SetViewFrame(int frame) override;
    int GetViewFrame() override;
    void RedrawView() override;
    void SetModified() override;
    int GetEffectEditMode() override;
    void CreateEffect(const std::string& objectName) override;
    void EditEffect(const std::string& eventName, const std::string& effectName, int entry) override;
    void EditFixedEffect(const std::string& effectName, int mode) override;
    void SelectInObjectChooser(const std::string& name) override;
    void SelectEventTreeItem(const std::string& name) override;
    void RemoveEventTreeEffectItem(const std::string& eventName, int playIndex) override;
    void ReleaseEffectUse(const std::string& effectName) override;
    void PlayStart() override;
    void PlayPause() override;
    void PlayStop() override;
    bool ContinueFromPause() override;
    bool IsRecording() override;
    void ShowMessage(const std::string& text, const std::string& caption) override;
};
