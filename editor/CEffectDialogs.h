// The effect dialogs as the view reaches them: the modeless "Creating Effect"
// dialog (mode 1), the modeless "Effect Editor" (mode 2), the modal editor of
// the camera and light events and the grow/shrink time setting. Nothing here
// names a wx type; the program's dialogs implement it, tests record.
#pragma once

#include "sg/sgVec.h"

#include <string>

class CEffectDialogs {
public:
    virtual ~CEffectDialogs() = default;

    // Creates and shows the dialog of a mode (the editor on the named effect);
    // false when it could not be made.
    virtual bool Open(int mode, const std::string& effectName) = 0;
    virtual bool IsOpen(int mode) const = 0;
    virtual void Focus(int mode) = 0;
    // Destroys the dialog of a mode and forgets it.
    virtual void Destroy(int mode) = 0;

    // The values of an animation-mode drag, for the open dialog of the mode.
    virtual void SetMove(int mode, const sgVec3& move) = 0;
    virtual void SetScale(int mode, const sgVec3& scale) = 0;
    virtual void SetRotate(int mode, float angle, const sgVec3& axis) = 0;

    // The creation dialog's preview effect, which a drag plays for it.
    virtual std::string GetPreviewEffectName() = 0;

    // The editor: puts back the values its effect had, loads another effect,
    // and hands over the rotation its effect had before the last edit (keeping
    // the current one in its place).
    virtual void RevertEffect() = 0;
    virtual void LoadEffect(const std::string& effectName) = 0;
    virtual void TakeSavedRotation(float& angle, sgVec3& axis) = 0;

    // The modal editor on an effect of the camera (mode 2) or a light (mode 1).
    virtual void RunModalEditor(const std::string& effectName, int mode) = 0;
    // The grow/shrink time setting of the selected chart, modal.
    virtual void RunGrowShrink() = 0;
};
