// The "Effect List" without its window: the names of the current scene's
// effects in the list's order, the one selected, the value groups typed since
// it was shown and the colour chosen for it. Apply gives the selected effect
// (looked up by name in the current scene) the typed groups, and the view
// shows its frame anew at once. It follows the view: when a scene goes the
// list forgets it, and the scene that comes in is listed with nothing
// selected, so nothing typed for an effect of one scene reaches another.
#pragma once

#include "editor/CViewListener.h"
#include "sg/sgVec.h"

#include <functional>
#include <string>
#include <vector>

class pnEffect;

class CEffectListModel : public CViewListener {
public:
    enum Group { kMove, kScale, kRotate, kColor };

    // The scene's effects, none selected, nothing typed.
    void Fill();
    void Add(const std::string& name);
    void Remove(const std::string& name);
    const std::vector<std::string>& Names() const { return m_names; }

    // Selects a listed effect (-1 none) and forgets what was typed; false
    // for a place the list does not have.
    bool Select(int index);
    int Selected() const { return m_nSelected; }
    std::string SelectedName() const;
    // The selected effect in the current scene; null when none.
    pnEffect* SelectedEffect() const;

    // A group typed (or the colour box or swatch changed); false and nothing
    // marked without a selection.
    bool MarkChanged(Group group);
    bool Changed(Group group) const { return m_changed[group]; }
    bool AnyChanged() const;

    // The typed values of the changed groups (color: the colour box is
    // ticked, m_strColor then names the material) into the selected effect:
    // the scene is modified and the view shows its frame anew. False when no
    // effect took them.
    bool Apply(const sgVec3& move, const sgVec3& scale, float angle, const sgVec3& axis, bool color);

    // A scene going empties the list, a scene coming in fills it.
    void OnViewChange(ViewChange change) override;
    // The window shows the list again after it was emptied or filled.
    std::function<void()> m_onRefilled;

    // The material the swatch shows for the selection.
    std::string m_strColor;

private:
    void Forget();

    std::vector<std::string> m_names;
    int m_nSelected = -1;
    bool m_changed[4] = {false, false, false, false};
};
