// The "Effect List" without its window: the names of the current scene's
// effects in the list's order, the one selected, the values it shows of it,
// the fields typed since it was shown and the colour chosen for it. Apply
// gives the selected effect (looked up by name in the current scene) the
// typed groups, and the view shows its frame anew at once. It follows the
// view: when a scene goes the list forgets it, and the scene that comes in is
// listed with nothing selected, so nothing typed for an effect of one scene
// reaches another. The selected effect changed elsewhere (the Effect Editor,
// an undo step, a drag) shows its new values in every field not typed.
#pragma once

#include "editor/CViewListener.h"
#include "ui/animation/EffectValues.h"
#include "sg/sgVec.h"

#include <functional>
#include <string>
#include <vector>

class pnEffect;

class CEffectListModel : public CViewListener {
public:
    enum Group { kMove, kScale, kRotate, kColor };
    // The value fields in the window's order: move X, Y, Z, scale X, Y, Z,
    // the angle and the axis X, Y, Z.
    static constexpr int kFields = 10;
    static Group GroupOfField(int field);

    // What the list shows of the selected effect.
    using Values = EffectValues;
    static_assert(kMove == static_cast<int>(EffectValues::kMove) && kColor == static_cast<int>(EffectValues::kColor));
    static float FieldValue(const Values& values, int field);

    // The scene's effects, none selected, nothing typed.
    void Fill();
    void Add(const std::string& name);
    void Remove(const std::string& name);
    const std::vector<std::string>& Names() const { return m_names; }

    // Selects a listed effect (-1 none), shows its values and forgets what
    // was typed; false for a place the list does not have.
    bool Select(int index);
    int Selected() const { return m_nSelected; }
    std::string SelectedName() const;
    // The selected effect in the current scene; null when none.
    pnEffect* SelectedEffect() const;
    const Values& Shown() const { return m_shown; }

    // One field typed; false and nothing marked without a selection.
    bool MarkTyped(int field);
    bool Typed(int field) const { return field >= 0 && field < kFields && m_typed[field]; }
    // A whole group typed (or the colour box or swatch changed); false and
    // nothing marked without a selection.
    bool MarkChanged(Group group);
    bool Changed(Group group) const { return m_changed[group]; }
    bool AnyChanged() const;

    // The selected effect's values as they stand now, where another window,
    // an undo step or a drag changed them since they were shown: the groups
    // whose values changed, as bits 1 << Group (0 when none). A typed field
    // keeps what was typed, and a colour chosen here its choice.
    int Follow();
    // The window shows the fields of the groups that followed.
    std::function<void(int groups)> m_onFollowed;

    // The changed groups into the selected effect: a typed field gives its
    // typed value, any other field of the group what the effect holds now
    // (color: the colour box is ticked, m_strColor then names the material);
    // the scene is modified and the view shows its frame anew. False when no
    // effect took them.
    bool Apply(const sgVec3& move, const sgVec3& scale, float angle, const sgVec3& axis, bool color);

    // A scene going empties the list, a scene coming in fills it; any other
    // change may have changed the selected effect.
    void OnViewChange(ViewChange change) override;
    // The window shows the list again after it was emptied or filled.
    std::function<void()> m_onRefilled;

    // The material the swatch shows for the selection.
    std::string m_strColor;

private:
    void Forget();
    void ClearTyped();

    std::vector<std::string> m_names;
    int m_nSelected = -1;
    Values m_shown;
    bool m_typed[kFields] = {};
    bool m_changed[4] = {false, false, false, false};
};
