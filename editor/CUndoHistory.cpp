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
#include <cstdio>
#include <cstdlib>
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

void CStyleCopy::Take(const pnScene* scene, const std::string& name) {
    style = CopyStringStyle(scene, name);
    index = style ? scene->indexOfStringProperty(scene->findStringProperty(name.c_str())) : -1;
}

void CUndoSnapshot::TakeObject(pnObject* live, const pnScene* scene) {
    m_pLiveObject = live;
    m_pObjectCopy = live ? pnMakeObject(live->getTypeName()) : nullptr;
    if (m_pObjectCopy) m_pObjectCopy->copy(live);
    m_pEventCopy.reset();
    m_labelStyle = CStyleCopy();
    m_dataStyle = CStyleCopy();
    m_ownStyle = CStyleCopy();
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
        m_labelStyle.Take(scene, chart->getLabelStringName());
        m_dataStyle.Take(scene, chart->getDataStringName());
    } else if (const char* style = live->getStringPropertyName()) {
        m_ownStyle.Take(scene, style);
    }
}

void CUndoSnapshot::TakeEventParent(const pnEvent* event, const pnScene* scene) {
    m_strEvent = event ? event->getName() : std::string();
    m_strParent = event && event->getHasParent() ? event->getParent() : std::string();
    m_nChildIndex = -1;
    const pnEvent* parent = scene && !m_strParent.empty() ? scene->findEvent(m_strParent.c_str()) : nullptr;
    for (int i = 0; parent && i < parent->getNumChildNames(); ++i)
        if (m_strEvent == parent->getChildName(i)) m_nChildIndex = i;
}

std::string CUndoSnapshot::ObjectName() const { return m_pObjectCopy ? m_pObjectCopy->getName() : std::string(); }

std::string CUndoSnapshot::Text() const {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* f = open_memstream(&buffer, &size);
    if (!f) return std::string();
    if (m_pObjectCopy) m_pObjectCopy->write(f, 0);
    if (m_pEventCopy && m_pEventCopy->getNumObjectNames() > 0) {
        m_pEventCopy->write(f);
    } else if (m_pEventCopy) {
        // An event without objects is written (and compared) as showing the
        // object, without the writer's warning.
        pnEvent shown;
        shown.copy(m_pEventCopy.get());
        shown.setName(m_pEventCopy->getName().c_str());
        shown.addObjectName(ObjectName().empty() ? "?" : ObjectName().c_str());
        shown.setScene(nullptr);
        shown.write(f);
    }
    for (const CStyleCopy* s : {&m_labelStyle, &m_dataStyle, &m_ownStyle})
        if (s->style) {
            s->style->write(f);
            std::fprintf(f, "at %d\n", s->index);
        }
    if (m_pBackgroundCopy) m_pBackgroundCopy->write(f, 0);
    if (m_pMaterialCopy) m_pMaterialCopy->write(f);
    if (m_pViewpointCopy) m_pViewpointCopy->write(f);
    std::fprintf(f, "object %d event %d material %d\n", m_nObjectIndex, m_nEventIndex, m_nMaterialIndex);
    std::fprintf(f, "event \"%s\" parent \"%s\" at %d\n", m_strEvent.c_str(), m_strParent.c_str(), m_nChildIndex);
    std::fclose(f);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

CUndoStep::CUndoStep() : m_pBefore(std::make_unique<CUndoSnapshot>()), m_pAfter(std::make_unique<CUndoSnapshot>()) {}
CUndoStep::~CUndoStep() = default;

bool CUndoStep::ChangesScene() const {
    if (!m_parts.empty())
        return std::any_of(m_parts.begin(), m_parts.end(), [](const auto& part) { return part->ChangesScene(); });
    switch (m_nKind) {
    case UNDO_CREATE:
    case UNDO_DELETE:
    case UNDO_MATERIAL_ADD:
    case UNDO_MATERIAL_DELETE: return true;
    default: return m_pBefore->Text() != m_pAfter->Text();
    }
}

// ---- the history ----

CUndoHistory::CUndoHistory(std::function<bool(const pnMaterial*)> inScene) : m_inScene(std::move(inScene)) {}

CUndoHistory::~CUndoHistory() { Clear(); }

namespace {
// The materials a step and its parts name.
void collectMaterials(const CUndoStep& step, std::set<pnMaterial*>& materials) {
    for (const CUndoSnapshot* s : {step.m_pBefore.get(), step.m_pAfter.get()})
        if (s->m_pLiveMaterial) materials.insert(s->m_pLiveMaterial);
    for (const auto& part : step.m_parts) collectMaterials(*part, materials);
}

bool namesMaterial(const CUndoStep& step, const pnMaterial* material) {
    if (step.m_pBefore->m_pLiveMaterial == material || step.m_pAfter->m_pLiveMaterial == material) return true;
    return std::any_of(step.m_parts.begin(), step.m_parts.end(),
                       [material](const auto& part) { return namesMaterial(*part, material); });
}
}  // namespace

bool CUndoHistory::Refers(const pnMaterial* material) const {
    return std::any_of(m_steps.begin(), m_steps.end(),
                       [material](const auto& step) { return step && namesMaterial(*step, material); });
}

void CUndoHistory::Discard(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, GetCount());
    if (first >= last) return;
    std::set<pnMaterial*> materials;
    for (int i = first; i < last; ++i) collectMaterials(*m_steps[i], materials);
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

CUndoStep* CUndoHistory::UndoStep() {
    if (!CanUndo()) return nullptr;
    return m_steps[m_nCurrent--].get();
}

CUndoStep* CUndoHistory::RedoStep() {
    if (!CanRedo()) return nullptr;
    return m_steps[++m_nCurrent].get();
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
