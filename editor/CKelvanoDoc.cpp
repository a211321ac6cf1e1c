#include "editor/CKelvanoDoc.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoView.h"
#include "editor/CProfile.h"
#include "scene/pnBackground.h"
#include "scene/pnMaterial.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "scene/pnStringProperty.h"
#include "scene/pnViewpoint.h"

#include <algorithm>

namespace {
const char* const kSection = "Configure";

// A stored scene side outside 1..kMaxSceneSide (a zero from a minimised
// window, or a damaged file) falls back to the default.
int sceneSide(int stored, int fallback) { return (stored < 1 || stored > kMaxSceneSide) ? fallback : stored; }
// So is an effect length outside 1..kMaxFrame (a huge one would make the
// first drag count frames for seconds).
int effectLength(int stored, int fallback) { return (stored < 1 || stored > kMaxFrame) ? fallback : stored; }
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

CKelvanoView* CKelvanoDoc::UndoView() const { return m_pView && m_pView->GetScene() ? m_pView : nullptr; }

CUndoStep* CKelvanoDoc::PushStep(int kind) {
    auto step = std::make_unique<CUndoStep>();
    step->m_nKind = kind;
    if (CKelvanoView* view = UndoView()) view->SetModified();
    return m_undo.Push(std::move(step));
}

CUndoSnapshot* CKelvanoDoc::CurrentAfter() const {
    CUndoStep* step = m_undo.Current();
    return step && UndoView() ? step->m_pAfter.get() : nullptr;
}

void CKelvanoDoc::RecordUndoBefore(pnObject* object, int kind) {
    CKelvanoView* view = UndoView();
    if (!object || !view) return;
    PushStep(kind)->m_pBefore->TakeObject(object, view->GetScene());
}

void CKelvanoDoc::RecordUndoAfter(pnObject* object) {
    CKelvanoView* view = UndoView();
    // A null object leaves the step's after-state alone.
    if (!object || !view) return;
    if (CUndoSnapshot* after = CurrentAfter()) after->TakeObject(object, view->GetScene());
}

void CKelvanoDoc::RecordUndoBeforeWithName(pnObject* object, const std::string& name, int kind) {
    RecordUndoBefore(object, kind);
    if (object && UndoView()) m_undo.Current()->m_pBefore->m_strName = name;
}

void CKelvanoDoc::RecordUndoAfterWithName(pnObject* object, const std::string& secondName) {
    CUndoSnapshot* after = CurrentAfter();
    if (!after) return;
    RecordUndoAfter(object);
    after->m_strSecondName = secondName;
    // Both snapshots carry both names.
    CUndoSnapshot* before = m_undo.Current()->m_pBefore.get();
    after->m_strName = before->m_strName;
    before->m_strSecondName = secondName;
}

void CKelvanoDoc::RecordUndoBeforeBackground(pnBackground* background) {
    if (!UndoView()) return;
    CUndoStep* step = PushStep(UNDO_BACKGROUND);
    step->m_pBefore->m_pBackgroundCopy = std::make_unique<pnBackground>();
    step->m_pBefore->m_pBackgroundCopy->copy(background);
}

void CKelvanoDoc::RecordUndoAfterBackground(pnBackground* background) {
    if (CUndoSnapshot* after = CurrentAfter()) {
        after->m_pBackgroundCopy = std::make_unique<pnBackground>();
        after->m_pBackgroundCopy->copy(background);
    }
}

void CKelvanoDoc::RecordUndoBeforeViewpoint(pnViewpoint* viewpoint) {
    if (!UndoView()) return;
    CUndoStep* step = PushStep(UNDO_VIEWPOINT);
    step->m_pBefore->m_pViewpointCopy = std::make_unique<pnViewpoint>();
    step->m_pBefore->m_pViewpointCopy->copy(viewpoint);
}

void CKelvanoDoc::RecordUndoAfterViewpoint(pnViewpoint* viewpoint) {
    if (CUndoSnapshot* after = CurrentAfter()) {
        after->m_pViewpointCopy = std::make_unique<pnViewpoint>();
        after->m_pViewpointCopy->copy(viewpoint);
    }
}

namespace {
void takeMaterial(CUndoSnapshot& s, pnMaterial* material, int index) {
    s.m_pMaterialCopy = std::make_unique<pnMaterial>();
    s.m_pMaterialCopy->copy(material);
    s.m_nMaterialIndex = index;
    s.m_pLiveMaterial = material;
}
}  // namespace

void CKelvanoDoc::RecordUndoBeforeMaterial(pnMaterial* material, int index, int kind) {
    if (!material || !UndoView()) return;
    takeMaterial(*PushStep(kind)->m_pBefore, material, index);
}

void CKelvanoDoc::RecordUndoAfterMaterial(pnMaterial* material, int index) {
    if (!material) return;
    if (CUndoSnapshot* after = CurrentAfter()) takeMaterial(*after, material, index);
}

CUndoSnapshot* CKelvanoDoc::Undo(int& kind, CUndoSnapshot** other) { return m_undo.Undo(kind, other); }
CUndoSnapshot* CKelvanoDoc::Redo(int& kind, CUndoSnapshot** other) { return m_undo.Redo(kind, other); }
