#include "ui/animation/CEffectListModel.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoView.h"
#include "scene/pnEffect.h"
#include "scene/pnScene.h"

#include <algorithm>

namespace {
// The field's typed value where it was typed, the effect's own otherwise.
sgVec3 merged(const sgVec3& typed, const sgVec3& now, const bool* typedFields) {
    sgVec3 v = now;
    for (int i = 0; i < 3; ++i)
        if (typedFields[i]) v[i] = typed[i];
    return v;
}
}  // namespace

CEffectListModel::Group CEffectListModel::GroupOfField(int field) {
    return field < 3 ? kMove : field < 6 ? kScale : kRotate;
}

float CEffectListModel::FieldValue(const Values& v, int field) {
    if (field < 3) return v.move[field];
    if (field < 6) return v.scale[field - 3];
    return field == 6 ? v.angle : v.axis[field - 7];
}

void CEffectListModel::ClearTyped() {
    std::fill(std::begin(m_typed), std::end(m_typed), false);
    std::fill(std::begin(m_changed), std::end(m_changed), false);
}

void CEffectListModel::Forget() {
    m_names.clear();
    m_nSelected = -1;
    m_shown = Values();
    m_strColor.clear();
    ClearTyped();
}

void CEffectListModel::Fill() {
    Forget();
    const pnScene* scene = CurrentScene();
    for (int i = 0; scene && i < scene->getNumEffects(); ++i) m_names.push_back(scene->getEffect(i)->getName());
}

void CEffectListModel::Add(const std::string& name) { m_names.push_back(name); }

void CEffectListModel::Remove(const std::string& name) {
    const auto at = std::find(m_names.begin(), m_names.end(), name);
    if (at == m_names.end()) return;
    const int index = static_cast<int>(at - m_names.begin());
    m_names.erase(at);
    if (index == m_nSelected) Select(-1);
    else if (index < m_nSelected) --m_nSelected;
}

bool CEffectListModel::Select(int index) {
    if (index < -1 || index >= static_cast<int>(m_names.size())) return false;
    m_nSelected = index;
    const pnEffect* effect = SelectedEffect();
    m_shown = effect ? EffectValues::Of(*effect) : Values();
    m_strColor = m_shown.color;
    ClearTyped();
    return true;
}

std::string CEffectListModel::SelectedName() const {
    return m_nSelected >= 0 ? m_names[static_cast<size_t>(m_nSelected)] : std::string();
}

pnEffect* CEffectListModel::SelectedEffect() const {
    pnScene* scene = CurrentScene();
    return scene && m_nSelected >= 0 ? scene->findEffect(SelectedName().c_str()) : nullptr;
}

bool CEffectListModel::MarkTyped(int field) {
    if (m_nSelected < 0 || field < 0 || field >= kFields) return false;
    m_typed[field] = true;
    m_changed[GroupOfField(field)] = true;
    return true;
}

bool CEffectListModel::MarkChanged(Group group) {
    if (m_nSelected < 0) return false;
    m_changed[group] = true;
    for (int f = 0; f < kFields; ++f)
        if (group != kColor && GroupOfField(f) == group) m_typed[f] = true;
    return true;
}

bool CEffectListModel::AnyChanged() const {
    return std::any_of(std::begin(m_changed), std::end(m_changed), [](bool c) { return c; });
}

int CEffectListModel::Follow() {
    const pnEffect* effect = SelectedEffect();
    if (!effect) return 0;
    const Values now = EffectValues::Of(*effect);
    const int groups = now.GroupsApart(m_shown);
    if (!groups) return 0;
    m_shown = now;
    if (!m_changed[kColor]) m_strColor = now.color;
    if (m_onFollowed) m_onFollowed(groups);
    return groups;
}

bool CEffectListModel::Apply(const sgVec3& move, const sgVec3& scale, float angle, const sgVec3& axis, bool color) {
    CKelvanoView* view = CurrentView();
    pnEffect* effect = view ? SelectedEffect() : nullptr;
    if (!effect) return false;
    // What changed elsewhere since the fields were last shown is what the
    // fields not typed hold: an Apply never writes a value back over it.
    Follow();
    if (m_changed[kMove]) effect->setTrans(merged(move, effect->getTrans(), m_typed));
    if (m_changed[kScale]) effect->setScale(merged(scale, effect->getScale(), m_typed + 3));
    if (m_changed[kRotate]) {
        effect->setRotAngle(m_typed[6] ? angle : effect->getRotAngle());
        const sgVec3 turn = merged(axis, effect->getRotAxis(), m_typed + 7);
        if (sgLength(turn) > 0.0f) effect->setRotAxis(turn);
    }
    if (m_changed[kColor]) effect->setColor(color ? m_strColor.c_str() : "");
    ClearTyped();
    // The list shows what it wrote before the view tells of the change.
    m_shown = EffectValues::Of(*effect);
    m_strColor = m_shown.color;
    view->SetModified();
    view->FrameContentChanged();
    return true;
}

void CEffectListModel::OnViewChange(ViewChange change) {
    if (change == ViewChange::SceneClosing) {
        Forget();
    } else if (change == ViewChange::SceneReplaced) {
        Fill();
    } else {
        Follow();
        return;
    }
    if (m_onRefilled) m_onRefilled();
}
