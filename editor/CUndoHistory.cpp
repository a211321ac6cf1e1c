#include "editor/CUndoHistory.h"

#include "charts/pnChart.h"
#include "charts/pnChartRead.h"
#include "charts/pnObjectMaker.h"
#include "scene/pnBackground.h"
#include "scene/pnEvent.h"
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "scene/pnStringProperty.h"
#include "scene/pnViewpoint.h"

#include <algorithm>
#include <set>

int UndoApplyKind(int kind, bool undo) {
    if (!undo) return kind;
    switch (kind) {
    case UNDO_CREATE: return UNDO_DELETE;
    case UNDO_DELETE: return UNDO_CREATE;
    case UNDO_MATERIAL_ADD: return UNDO_MATERIAL_DELETE;
    case UNDO_MATERIAL_DELETE: return UNDO_MATERIAL_ADD;
    default: return kind;
    }
}

// ---- snapshots ----

CUndoSnapshot::CUndoSnapshot() = default;
CUndoSnapshot::~CUndoSnapshot() = default;

pnEvent* FindShowingEvent(const pnScene* scene, const pnObject* object) {
    if (!scene || !object) return nullptr;
    const std::string& name = object->getName();
    if (pnEvent* named = scene->findEvent(name.c_str())) return named;
    for (int i = 0; i < scene->getNumEvents(); ++i) {
        pnEvent* event = scene->getEvent(i);
        if (event->getNumObjectNames() > 0 && name == event->getObjectName(0)) return event;
    }
    return nullptr;
}

std::unique_ptr<pnStringProperty> CopyStringStyle(const pnScene* scene, const std::string& name) {
    const pnStringProperty* style = scene && !name.empty() ? scene->findStringProperty(name.c_str()) : nullptr;
    if (!style) return nullptr;
    auto copy = std::make_unique<pnStringProperty>();
    copy->copy(style);
    return copy;
}

void CUndoSnapshot::TakeObject(pnObject* live, const pnScene* scene) {
    m_pLiveObject = live;
    m_pObjectCopy = live ? pnMakeObject(live->getTypeName()) : nullptr;
    if (m_pObjectCopy) m_pObjectCopy->copy(live);
    m_pEventCopy.reset();
    m_pLabelStyleCopy.reset();
    m_pDataStyleCopy.reset();
    m_nObjectIndex = m_nEventIndex = -1;
    if (!live || !scene) return;
    m_nObjectIndex = scene->indexOfObject(live);
    if (const pnEvent* event = FindShowingEvent(scene, live)) {
        m_nEventIndex = scene->indexOfEvent(event);
        m_pEventCopy = std::make_unique<pnEvent>();
        // The whole event, parent and child names included: recreating the
        // object hangs it and its children back where they were.
        m_pEventCopy->copy(event);
        m_pEventCopy->setName(event->getName().c_str());
        m_pEventCopy->setScene(nullptr);
    }
    if (const pnChart* chart = pnKindCast<pnChart>(live)) {
        m_pLabelStyleCopy = CopyStringStyle(scene, chart->getLabelStringName());
        m_pDataStyleCopy = CopyStringStyle(scene, chart->getDataStringName());
    }
}

std::string CUndoSnapshot::ObjectName() const { return m_pObjectCopy ? m_pObjectCopy->getName() : std::string(); }

CUndoStep::CUndoStep() : m_pBefore(std::make_unique<CUndoSnapshot>()), m_pAfter(std::make_unique<CUndoSnapshot>()) {}
CUndoStep::~CUndoStep() = default;

// ---- the history ----

CUndoHistory::CUndoHistory(std::function<bool(const pnMaterial*)> inScene) : m_inScene(std::move(inScene)) {}

CUndoHistory::~CUndoHistory() { Clear(); }

bool CUndoHistory::Refers(const pnMaterial* material) const {
    for (const auto& step : m_steps)
        if (step && (step->m_pBefore->m_pLiveMaterial == material || step->m_pAfter->m_pLiveMaterial == material))
            return true;
    return false;
}

void CUndoHistory::Discard(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, GetCount());
    if (first >= last) return;
    std::set<pnMaterial*> materials;
    for (int i = first; i < last; ++i)
        for (CUndoSnapshot* s : {m_steps[i]->m_pBefore.get(), m_steps[i]->m_pAfter.get()})
            if (s->m_pLiveMaterial) materials.insert(s->m_pLiveMaterial);
    m_steps.erase(m_steps.begin() + first, m_steps.begin() + last);
    // A material out of the scene that no remaining step can bring back is
    // nobody's any more.
    for (pnMaterial* m : materials)
        if (!Refers(m) && m_inScene && !m_inScene(m)) delete m;
}

CUndoStep* CUndoHistory::Push(std::unique_ptr<CUndoStep> step) {
    if (!step) return nullptr;
    Discard(m_nCurrent + 1, GetCount());
    if (GetCount() >= kMaxSteps) Discard(0, GetCount() - kMaxSteps + 1);
    m_steps.push_back(std::move(step));
    m_nCurrent = GetCount() - 1;
    return m_steps.back().get();
}

CUndoStep* CUndoHistory::Current() const {
    return m_nCurrent >= 0 && m_nCurrent < GetCount() ? m_steps[m_nCurrent].get() : nullptr;
}

CUndoSnapshot* CUndoHistory::Undo(int& kind, CUndoSnapshot** other) {
    if (!CanUndo()) return nullptr;
    CUndoStep* step = m_steps[m_nCurrent].get();
    --m_nCurrent;
    kind = step->m_nKind;
    if (other) *other = step->m_pAfter.get();
    return step->m_pBefore.get();
}

CUndoSnapshot* CUndoHistory::Redo(int& kind, CUndoSnapshot** other) {
    if (!CanRedo()) return nullptr;
    ++m_nCurrent;
    CUndoStep* step = m_steps[m_nCurrent].get();
    kind = step->m_nKind;
    if (other) *other = step->m_pBefore.get();
    return step->m_pAfter.get();
}

void CUndoHistory::Clear() {
    Discard(0, GetCount());
    m_nCurrent = -1;
}
