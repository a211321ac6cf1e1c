// The two modeless effect dialogs without their windows: what "Creating
// Effect" and the "Effect Editor" hold of the scene. Each works for the
// object (or effect) it was opened on and follows the view: a new scene,
// another selection, an undo step or the mode switch end it while the scene it
// wrote into is still there, so its preview or its unapplied drag leaves that
// scene and nothing reaches another.
#pragma once

#include "editor/CViewListener.h"
#include "sg/sgVec.h"
#include "ui/animation/EffectValues.h"

#include <functional>
#include <string>

class CKelvanoView;
class pnEffect;
class pnScene;

// "Creating Effect": the object it makes an effect for, and the temporary
// effect ("istempeffect" and a number) a drag previews through, which the
// scene lists, and so owns, while it is in.
class CCreateEffectModel : public CViewListener {
public:
    // On the view's selection.
    explicit CCreateEffectModel(CKelvanoView* view);
    ~CCreateEffectModel() override;
    CCreateEffectModel(const CCreateEffectModel&) = delete;
    CCreateEffectModel& operator=(const CCreateEffectModel&) = delete;

    bool IsOpen() const { return m_pView != nullptr; }
    const std::string& ObjectName() const { return m_strObject; }
    pnScene* Scene() const;
    // The preview, made and put into the scene when first needed.
    pnEffect* Preview();
    const pnEffect* PreviewIfMade() const { return m_pTemp; }
    // Takes the preview out of its scene and frees it.
    void DropPreview();
    // OK made the effect (existed: gave an effect of the scene new values):
    // the view plays it, and the model closes.
    void Applied(const std::string& effectName, bool existed);
    // Cancel: the preview goes, the view hears of it, and the model closes.
    void Cancel();
    void OnViewChange(ViewChange change) override;
    // The window goes when the model closes.
    std::function<void()> m_onClosed;

private:
    void Finish();

    CKelvanoView* m_pView = nullptr;
    std::string m_strObject;
    pnEffect* m_pTemp = nullptr;
    bool m_bTempAdded = false;
};

// The "Effect Editor": the effect it edits, looked up by name at each use (it
// may leave the scene meanwhile), the values it had when loaded or last
// applied, and the groups changed since. Mode 0 is the modeless editor of the
// view's drags and follows the view; modes 1 (a light's effect: move and
// colour) and 2 (the camera's: move) are modal.
class CEffectEditorModel : public CViewListener {
public:
    enum Group { kMove, kScale, kRotate, kColor };
    static_assert(kMove == static_cast<int>(EffectValues::kMove) && kColor == static_cast<int>(EffectValues::kColor));
    CEffectEditorModel(CKelvanoView* view, int mode);
    ~CEffectEditorModel() override;
    CEffectEditorModel(const CEffectEditorModel&) = delete;
    CEffectEditorModel& operator=(const CEffectEditorModel&) = delete;

    bool IsOpen() const { return m_pView != nullptr; }
    int Mode() const { return m_nMode; }
    const std::string& EffectName() const { return m_strName; }
    pnEffect* Effect() const;
    pnScene* Scene() const;
    // (Re)loads the named effect; false when the scene has no such effect.
    bool Load(const std::string& effectName);
    bool IsLoaded() const { return m_bLoaded; }
    // What the effect had when loaded or last applied back into it (each
    // group only when it changed: what a save wrote); the effect is
    // forgotten.
    void Revert();
    // A drag's values go into the effect at once, so that the view shows them.
    void SetMove(const sgVec3& v);
    void SetScale(const sgVec3& v);
    void SetRotate(float angle, const sgVec3& axis);
    void MarkChanged(Group group) { m_changed[group] = true; }
    bool Changed(Group group) const { return m_changed[group]; }
    bool AnyChanged() const;
    // The rotation kept from the load, replaced by the effect's current one.
    void TakeSavedRotation(float& angle, sgVec3& axis);
    // The typed values of the changed groups (mode 0 all three, else the
    // move), and the colour (color: the name to set, null to leave it):
    // the view hears of it, and what is applied is what Close keeps.
    void Apply(const sgVec3& move, const sgVec3& scale, float angle, const sgVec3& axis, const std::string* color);
    // Close: the effect gets back what Apply did not keep; mode 0 tells the
    // view; the model closes.
    void Close();
    // Another window applied values to the effect (the Effect List, a modal
    // editor): each group it changed becomes the loaded value, what Close
    // keeps and the base of the view's next drag, and an unapplied edit of
    // that group gives way to it. The groups taken, as bits 1 << Group.
    int TakeOutsideChanges();
    // A frame change may be such an Apply; any other change closes.
    void OnViewChange(ViewChange change) override;
    // A save writes what Close would give back, not the unapplied drag.
    void OnSceneWrite(bool writing) override;
    // The window goes when the model closes.
    std::function<void()> m_onClosed;
    // The window shows the groups taken from another window's Apply.
    std::function<void(int groups)> m_onTaken;

    sgVec3 m_savedMove{0, 0, 0}, m_savedScale{1, 1, 1}, m_savedAxis{0, 1, 0};
    float m_fSavedAngle = 0.0f;

private:
    void NoteLeft();
    void KeepCurrent();
    // The effect's values and the kept ones change places (groups changed only).
    void SwapWithKept();

    CKelvanoView* m_pView = nullptr;
    int m_nMode;
    std::string m_strName;
    bool m_changed[4] = {false, false, false, false};
    bool m_bLoaded = false;
    // What the effect holds as this editor left it; any other value is
    // another window's.
    EffectValues m_left;
};
