#include "editor/CKelvanoDoc.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoView.h"
#include "editor/CProfile.h"
#include "scene/pnBackground.h"
#include "scene/pnEvent.h"
#include "scene/pnMaterial.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "scene/pnStringProperty.h"
#include "scene/pnViewpoint.h"

#include <algorithm>

namespace {
const char* const kSection = "Configure";

// A stored scene side below 1 (a zero from a minimised window, or a damaged
// file) falls back to the default; one above kMaxSceneSide is held there.
int sceneSide(int stored, int fallback) { return stored < 1 ? fallback : std::min(stored, kMaxSceneSide); }
// So is an effect length below 1, and one above kMaxFrame held there (a huge
// one would make the first drag count frames for seconds).
int effectLength(int stored, int fallback) { return stored < 1 ? fallback : std::min(stored, kMaxFrame); }
}  // namespace

CKelvanoDoc::CKelvanoDoc(CProfile* profile)
    : m_undo([this](const pnMaterial* material) {
          // Without a scene nothing can be told apart: keep what the steps hold.
          const pnScene* scene = m_pView ? m_pView->GetScene() : nullptr;
          return !scene || scene->indexOfMaterial(material) >= 0;
      }) {
    if (profile) {
        CProfile& p = *profile;
        m_bHighlight = p.GetProfileInt(kSection, "Highlight", 0);
        m_nOutQuality = p.GetProfileInt(kSection, "OutQuality", 4);
        if (m_nOutQuality != 0 && m_nOutQuality != 4 && m_nOutQuality != 8) m_nOutQuality = 4;
        m_nEffectLength = effectLength(p.GetProfileInt(kSection, "EffectLength", 21), 21);
        m_nGrowLength = effectLength(p.GetProfileInt(kSection, "GrowLength", 21), 21);
        m_nShrinkLength = effectLength(p.GetProfileInt(kSection, "ShrinkLength", 11), 11);
        m_nCopyOffsetX = p.GetProfileInt(kSection, "CopyOffsetX", 10);
        m_nCopyOffsetY = p.GetProfileInt(kSection, "CopyOffsetY", 10);
        m_nSceneWidth = sceneSide(p.GetProfileInt(kSection, "SceneX", 580), 580);
        m_nSceneHeight = sceneSide(p.GetProfileInt(kSection, "SceneY", 392), 392);
    }
    m_bFixedDuration = 0;
    m_bShowImagePreview = 1;
    UpdateSafetyZone();
    if (CKelvanoAppState* app = GetAppState()) app->m_pCurrentDoc = this;
}

CKelvanoDoc::~CKelvanoDoc() {
    CKelvanoAppState* app = GetAppState();
    if (app && app->m_pCurrentDoc == this) app->m_pCurrentDoc = nullptr;
}

float CKelvanoDoc::SafetyZonePercent(float percent) {
    if (!(percent > 0.0f)) return 0.0f;
    return percent > 50.0f ? 50.0f : percent;
}

void CKelvanoDoc::UpdateSafetyZone() {
    const int w = m_nSceneWidth;
    const int h = m_nSceneHeight;
    const int m = static_cast<int>(w * m_fSafetyZoneH * 0.01);
    const int n = static_cast<int>(h * m_fSafetyZoneV * 0.01);
    CRectI& r = m_rcSafetyZone;
    r.left = m + 1;
    r.top = n + 1;
    r.right = w - m;
    r.bottom = h - n;
    if (m > 0) {
        r.left = m;
        r.right = w - m - 1;
    }
    if (n > 0) {
        r.top = n;
        r.bottom = h - n - 1;
    }
    // Margins of half a side meet in the middle; the frame never turns over.
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
}

void CKelvanoDoc::AddEffectUse(const std::string& effectName) {
    for (auto& use : m_effectUses)
        if (use.first == effectName) {
            ++use.second;
            return;
        }
}

void CKelvanoDoc::ReleaseEffectUse(const std::string& effectName) {
    for (auto& use : m_effectUses)
        if (use.first == effectName) {
            --use.second;
            return;
        }
}

int CKelvanoDoc::CountEffectUses(const std::string& effectName, const std::vector<std::string>& playEffectNames) {
    return static_cast<int>(std::count(playEffectNames.begin(), playEffectNames.end(), effectName));
}

void CKelvanoDoc::RebuildEffectUses(const std::vector<std::string>& effectNames,
                                    const std::vector<std::string>& playEffectNames) {
    m_effectUses.clear();
    for (const std::string& name : effectNames) m_effectUses.emplace_back(name, CountEffectUses(name, playEffectNames));
}

int CKelvanoDoc::GetEffectUse(const std::string& effectName) const {
    for (const auto& use : m_effectUses)
        if (use.first == effectName) return use.second;
    return -1;
}

void CKelvanoDoc::WriteSettings(CProfile& profile) const {
    profile.WriteProfileInt(kSection, "Highlight", m_bHighlight);
    profile.WriteProfileInt(kSection, "OutQuality", m_nOutQuality);
    profile.WriteProfileInt(kSection, "EffectLength", m_nEffectLength);
    profile.WriteProfileInt(kSection, "GrowLength", m_nGrowLength);
    profile.WriteProfileInt(kSection, "ShrinkLength", m_nShrinkLength);
    profile.WriteProfileInt(kSection, "SceneX", m_nSceneWidth);
    profile.WriteProfileInt(kSection, "SceneY", m_nSceneHeight);
    profile.WriteProfileInt(kSection, "CopyOffsetX", m_nCopyOffsetX);
    profile.WriteProfileInt(kSection, "CopyOffsetY", m_nCopyOffsetY);
}

// ---- undo history ----

namespace {
// Kinds whose before and after are compared, and which a later "before" call
// on the same record joins.
bool isChangeKind(int kind) { return kind != UNDO_CREATE && kind != UNDO_DELETE && kind != UNDO_MATERIAL_ADD && kind != UNDO_MATERIAL_DELETE; }

bool holds(const CUndoStep& step, const void* record) {
    if (step.m_pBefore->m_pLiveObject == record) return true;
    return std::any_of(step.m_parts.begin(), step.m_parts.end(),
                       [record](const auto& part) { return part->m_pBefore->m_pLiveObject == record; });
}

void takeMaterial(CUndoSnapshot& s, pnMaterial* material, int index) {
    s.m_pMaterialCopy = std::make_unique<pnMaterial>();
    s.m_pMaterialCopy->copy(material);
    s.m_nMaterialIndex = index;
    s.m_pLiveMaterial = material;
}
}  // namespace

CKelvanoView* CKelvanoDoc::UndoView() const { return m_pView && m_pView->GetScene() ? m_pView : nullptr; }

CUndoStep* CKelvanoDoc::Open(const void* record, int kind) {
    if (isChangeKind(kind))
        for (auto it = m_open.rbegin(); it != m_open.rend(); ++it)
            if (isChangeKind(it->step->m_nKind) && (it->record == record || holds(*it->step, record))) {
                ++it->depth;
                return nullptr;
            }
    auto step = std::make_unique<CUndoStep>();
    step->m_nKind = kind;
    m_open.push_back({std::move(step), record, 1, {}});
    return m_open.back().step.get();
}

CKelvanoDoc::ClosedStep CKelvanoDoc::Close(const void* record) {
    for (auto it = m_open.end(); it != m_open.begin();) {
        --it;
        if (it->record != record && !holds(*it->step, record)) continue;
        if (--it->depth > 0) return {};
        ClosedStep closed{std::move(it->step), std::move(it->inner)};
        m_open.erase(it);
        return closed;
    }
    return {};
}

bool CKelvanoDoc::Commit(ClosedStep closed) {
    CKelvanoView* view = UndoView();
    // A step applied now is not written over (see m_nApplyingStep).
    if (!view || m_nApplyingStep > 0) return false;
    std::vector<std::unique_ptr<CUndoStep>> kept = std::move(closed.inner);
    if (std::unique_ptr<CUndoStep> step = std::move(closed.step)) {
        auto& parts = step->m_parts;
        parts.erase(std::remove_if(parts.begin(), parts.end(), [](const auto& part) { return !part->ChangesScene(); }),
                    parts.end());
        // A step over several objects that changed one is that object's step.
        if (parts.size() == 1) step = std::move(parts.front());
        if (step->ChangesScene()) kept.push_back(std::move(step));
    }
    if (kept.empty()) return false;
    // The inner steps first: undone in reverse order, the enclosing record
    // goes back before what its dialog changed meanwhile.
    std::unique_ptr<CUndoStep> whole;
    if (kept.size() == 1) {
        whole = std::move(kept.front());
    } else {
        whole = std::make_unique<CUndoStep>();
        whole->m_nKind = kept.back()->m_nKind;
        whole->m_parts = std::move(kept);
    }
    if (!m_open.empty())
        m_open.back().inner.push_back(std::move(whole));
    else
        m_undo.Push(std::move(whole));
    view->SetModified();
    return true;
}

void CKelvanoDoc::ClearUndoHistory() {
    // What open steps gathered goes through the history, which frees the
    // materials that only those steps held.
    for (OpenStep& open : m_open)
        for (auto& inner : open.inner) m_undo.Push(std::move(inner));
    m_open.clear();
    m_undo.Clear();
}

void CKelvanoDoc::RecordUndoBefore(pnObject* object, int kind) {
    CKelvanoView* view = UndoView();
    if (!object || !view) return;
    if (CUndoStep* step = Open(object, kind)) step->m_pBefore->TakeObject(object, view->GetScene());
}

void CKelvanoDoc::RecordUndoAfter(pnObject* object) {
    CKelvanoView* view = UndoView();
    // A null object leaves every open step alone.
    if (!object || !view) return;
    ClosedStep closed = Close(object);
    // An object that left the scene meanwhile has no after-state: its step
    // goes (what closed inside it stays).
    if (closed.step && view->GetScene()->indexOfObject(object) < 0) closed.step.reset();
    if (closed.step) closed.step->m_pAfter->TakeObject(object, view->GetScene());
    Commit(std::move(closed));
}

void CKelvanoDoc::RecordUndoBefore(const std::vector<pnObject*>& objects) {
    CKelvanoView* view = UndoView();
    if (objects.empty() || !view) return;
    if (objects.size() == 1) return RecordUndoBefore(objects.front(), UNDO_CHANGE);
    CUndoStep* step = Open(objects.front(), UNDO_CHANGE);
    if (!step) return;
    for (pnObject* object : objects) {
        auto part = std::make_unique<CUndoStep>();
        part->m_pBefore->TakeObject(object, view->GetScene());
        step->m_parts.push_back(std::move(part));
    }
}

void CKelvanoDoc::RecordUndoAfter(const std::vector<pnObject*>& objects) {
    CKelvanoView* view = UndoView();
    if (objects.empty() || !view) return;
    if (objects.size() == 1) return RecordUndoAfter(objects.front());
    ClosedStep closed = Close(objects.front());
    if (!closed.step) return;
    auto& parts = closed.step->m_parts;
    const pnScene* scene = view->GetScene();
    parts.erase(std::remove_if(parts.begin(), parts.end(),
                               [scene](const auto& part) { return scene->indexOfObject(part->m_pBefore->m_pLiveObject) < 0; }),
                parts.end());
    for (auto& part : parts) part->m_pAfter->TakeObject(part->m_pBefore->m_pLiveObject, scene);
    Commit(std::move(closed));
}

void CKelvanoDoc::RecordUndoBeforeEventParent(const pnEvent* event) {
    CKelvanoView* view = UndoView();
    if (!event || !view) return;
    if (CUndoStep* step = Open(event, UNDO_EVENT_PARENT)) step->m_pBefore->TakeEventParent(event, view->GetScene());
}

void CKelvanoDoc::RecordUndoAfterEventParent(const pnEvent* event) {
    CKelvanoView* view = UndoView();
    if (!event || !view) return;
    ClosedStep closed = Close(event);
    if (!closed.step) return;
    CUndoStep* step = closed.step.get();
    step->m_pAfter->TakeEventParent(event, view->GetScene());
    Commit(std::move(closed));
}

void CKelvanoDoc::RecordUndoBeforeBackground(pnBackground* background) {
    if (!background || !UndoView()) return;
    if (CUndoStep* step = Open(background, UNDO_BACKGROUND)) {
        step->m_pBefore->m_pBackgroundCopy = std::make_unique<pnBackground>();
        step->m_pBefore->m_pBackgroundCopy->copy(background);
    }
}

void CKelvanoDoc::RecordUndoAfterBackground(pnBackground* background) {
    if (!background || !UndoView()) return;
    ClosedStep closed = Close(background);
    if (!closed.step) return;
    CUndoStep* step = closed.step.get();
    step->m_pAfter->m_pBackgroundCopy = std::make_unique<pnBackground>();
    step->m_pAfter->m_pBackgroundCopy->copy(background);
    Commit(std::move(closed));
}

void CKelvanoDoc::RecordUndoBeforeViewpoint(pnViewpoint* viewpoint) {
    if (!viewpoint || !UndoView()) return;
    if (CUndoStep* step = Open(viewpoint, UNDO_VIEWPOINT)) {
        step->m_pBefore->m_pViewpointCopy = std::make_unique<pnViewpoint>();
        step->m_pBefore->m_pViewpointCopy->copy(viewpoint);
    }
}

void CKelvanoDoc::RecordUndoAfterViewpoint(pnViewpoint* viewpoint) {
    if (!viewpoint || !UndoView()) return;
    ClosedStep closed = Close(viewpoint);
    if (!closed.step) return;
    CUndoStep* step = closed.step.get();
    step->m_pAfter->m_pViewpointCopy = std::make_unique<pnViewpoint>();
    step->m_pAfter->m_pViewpointCopy->copy(viewpoint);
    Commit(std::move(closed));
}

void CKelvanoDoc::RecordUndoBeforeMaterial(pnMaterial* material, int index, int kind) {
    if (!material || !UndoView()) return;
    if (CUndoStep* step = Open(material, kind)) takeMaterial(*step->m_pBefore, material, index);
}

void CKelvanoDoc::RecordUndoAfterMaterial(pnMaterial* material, int index) {
    if (!material || !UndoView()) return;
    ClosedStep closed = Close(material);
    if (!closed.step) return;
    CUndoStep* step = closed.step.get();
    takeMaterial(*step->m_pAfter, material, index);
    Commit(std::move(closed));
}

CUndoSnapshot* CKelvanoDoc::Undo(int& kind, CUndoSnapshot** other) { return m_undo.Undo(kind, other); }
CUndoSnapshot* CKelvanoDoc::Redo(int& kind, CUndoSnapshot** other) { return m_undo.Redo(kind, other); }
