#include "ui/animation/CEffectListModel.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoView.h"
#include "scene/pnEffect.h"
#include "scene/pnScene.h"

#include <algorithm>

void CEffectListModel::Forget() {
    m_names.clear();
    m_nSelected = -1;
    m_strColor.clear();
    std::fill(std::begin(m_changed), std::end(m_changed), false);
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
    m_strColor = effect ? effect->getColor() : std::string();
    std::fill(std::begin(m_changed), std::end(m_changed), false);
    return true;
}

std::string CEffectListModel::SelectedName() const {
    return m_nSelected >= 0 ? m_names[static_cast<size_t>(m_nSelected)] : std::string();
}

pnEffect* CEffectListModel::SelectedEffect() const {
    pnScene* scene = CurrentScene();
    return scene && m_nSelected >= 0 ? scene->findEffect(SelectedName().c_str()) : nullptr;
}

bool CEffectListModel::MarkChanged(Group group) {
    if (m_nSelected < 0) return false;
    m_changed[group] = true;
    return true;
}

bool CEffectListModel::AnyChanged() const {
    return std::any_of(std::begin(m_changed), std::end(m_changed), [](bool c) { return c; });
}

bool CEffectListModel::Apply(const sgVec3& move, const sgVec3& scale, float angle, const sgVec3& axis, bool color) {
    CKelvanoView* view = CurrentView();
    pnEffect* effect = view ? SelectedEffect() : nullptr;
    if (!effect) return false;
    if (m_changed[kMove]) effect->setTrans(move);
    if (m_changed[kScale]) effect->setScale(scale);
    if (m_changed[kRotate]) {
        effect->setRotAngle(angle);
        if (sgLength(axis) > 0.0f) effect->setRotAxis(axis);
    }
    if (m_changed[kColor]) effect->setColor(color ? m_strColor.c_str() : "");
    std::fill(std::begin(m_changed), std::end(m_changed), false);
    view->SetModified();
    view->FrameContentChanged();
    return true;
}

void CEffectListModel::OnViewChange(ViewChange change) {
    if (change == ViewChange::SceneClosing) Forget();
    else if (change == ViewChange::SceneReplaced) Fill();
    else return;
    if (m_onRefilled) m_onRefilled();
}
