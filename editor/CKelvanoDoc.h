// The document: the user's settings (profile section "Configure"), the scene
// size and its safety zone, the selection and the effect-use counts. The scene
// itself belongs to the view.
#pragma once

#include "editor/CUndoHistory.h"
#include "editor/EditLimits.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class CKelvanoView;
class CProfile;
class pnBackground;
class pnMaterial;
class pnObject;
class pnStringProperty;
class pnViewpoint;

struct CRectI {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const CRectI& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

class CKelvanoDoc {
public:
    // Reads the settings from the profile (defaults without one) and becomes
    // the application's current document.
    explicit CKelvanoDoc(CProfile* profile);
    ~CKelvanoDoc();
    CKelvanoDoc(const CKelvanoDoc&) = delete;
    CKelvanoDoc& operator=(const CKelvanoDoc&) = delete;

    void UpdateSafetyZone();
    // A safety-zone margin as the zone takes it: 0 to 50 percent of a side
    // (more would turn the frame inside out); NaN is 0.
    static float SafetyZonePercent(float percent);

    void AddEffectUse(const std::string& effectName);
    void ReleaseEffectUse(const std::string& effectName);
    // effectNames: the scene's effects in list order; playEffectNames: the
    // effect name of every play of every event of the scene.
    void RebuildEffectUses(const std::vector<std::string>& effectNames,
                           const std::vector<std::string>& playEffectNames);
    static int CountEffectUses(const std::string& effectName, const std::vector<std::string>& playEffectNames);
    void ClearEffectUses() { m_effectUses.clear(); }
    // The count kept for a name, -1 when the name has no entry.
    int GetEffectUse(const std::string& effectName) const;

    std::string GetContainerName() const { return m_strContainerName; }

    // The view that shows this document; it attaches itself when it is made
    // and detaches when it goes.
    CKelvanoView* GetView() const { return m_pView; }
    void AttachView(CKelvanoView* view) { m_pView = view; }
    void DetachView(const CKelvanoView* view) {
        if (m_pView == view) m_pView = nullptr;
    }

    // Writes the settings back to section "Configure".
    void WriteSettings(CProfile& profile) const;

    // The undo bracket. Each "before" call pushes a new step holding copies of
    // the record as it is and marks the view modified; the matching "after"
    // call fills the same step's after snapshot. Nothing happens without a
    // current view with a scene; the after calls need a current step.
    void RecordUndoBefore(pnObject* object, int kind);
    void RecordUndoAfter(pnObject* object);
    void RecordUndoBeforeWithName(pnObject* object, const std::string& name, int kind);
    void RecordUndoAfterWithName(pnObject* object, const std::string& secondName);
    void RecordUndoBeforeBackground(pnBackground* background);
    void RecordUndoAfterBackground(pnBackground* background);
    void RecordUndoBeforeViewpoint(pnViewpoint* viewpoint);
    void RecordUndoAfterViewpoint(pnViewpoint* viewpoint);
    void RecordUndoBeforeMaterial(pnMaterial* material, int index, int kind);
    void RecordUndoAfterMaterial(pnMaterial* material, int index);
    // The before snapshot of the current step (moving back one step), or the
    // after snapshot of the next one (moving forward); null when there is
    // none. other, when given, receives the step's other snapshot.
    CUndoSnapshot* Undo(int& kind, CUndoSnapshot** other = nullptr);
    CUndoSnapshot* Redo(int& kind, CUndoSnapshot** other = nullptr);
    bool CanUndo() const { return m_undo.CanUndo(); }
    bool CanRedo() const { return m_undo.CanRedo(); }
    // Called while the scene the steps refer to still exists.
    void ClearUndoHistory() { m_undo.Clear(); }
    const CUndoHistory& GetUndoHistory() const { return m_undo; }

    std::string m_strContainerName;
    std::string m_strStorageText;
    unsigned char m_bUpdatingContainer = 0;
    int m_nSceneWidth = 580;
    int m_nSceneHeight = 392;
    CRectI m_rcSafetyZone;
    float m_fSafetyZoneH = 0.0f;
    float m_fSafetyZoneV = 0.0f;
    std::vector<std::pair<std::string, int>> m_effectUses;
    std::vector<pnObject*> m_selectedObjects;
    pnObject* m_pSelectedObject = nullptr;
    pnObject* m_pSelectedPart = nullptr;
    int m_nSelectedDataPt = -1;
    int m_nSelectedPartKind = -1;
    // What Paste adds: an independent copy, with copies of a chart's two text
    // styles.
    std::unique_ptr<pnObject> m_pClipboardObject;
    std::unique_ptr<pnStringProperty> m_pClipboardLabelStyle;
    std::unique_ptr<pnStringProperty> m_pClipboardDataStyle;
    int m_bHighlight = 0;
    int m_nEffectLength = 21;
    int m_nGrowLength = 21;
    int m_nShrinkLength = 11;
    int m_nOutQuality = 4;
    int m_bFixedDuration = 0;
    // The animation length the time line options show and scale to.
    int m_nAnimationLength = 0;
    int m_nCopyOffsetX = 10;
    int m_nCopyOffsetY = 10;
    int m_bShowImagePreview = 1;
    int m_nMaterialEditor = 1;
    int m_bKeepAspect = 0;
    double m_dAspect = 1.0;
    // Export dialog choices, kept for the session only.
    int m_nJpegQuality = 100;
    int m_bJpegProgressive = 0;
    int m_bSaveAlpha = 0;
    int m_bGifTransparent = 0;

private:
    // The document's view, when it has a scene.
    CKelvanoView* UndoView() const;
    CUndoStep* PushStep(int kind);
    CUndoSnapshot* CurrentAfter() const;

    CUndoHistory m_undo;
    CKelvanoView* m_pView = nullptr;
};

