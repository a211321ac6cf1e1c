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
class pnEvent;
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

    // The undo bracket. A "before" call opens a step holding copies of the
    // record as it is; the matching "after" call takes the record as it has
    // become and closes the step. A step that changes nothing is dropped; one
    // that does goes into the history (dropping the redo part) and marks the
    // view modified. A "before" call on a record whose change step is already
    // open joins that step, so one action stays one step however many edits
    // it makes. A step of another record that closes while a step is open
    // becomes a part of the open one (a dialog's inner windows, such as a
    // material chooser opened from it, belong to the step its OK records).
    // Nothing happens without a view with a scene, and an "after" call whose
    // step is not open does nothing.
    void RecordUndoBefore(pnObject* object, int kind);
    void RecordUndoAfter(pnObject* object);
    // One change step over several objects (the objects selected together).
    void RecordUndoBefore(const std::vector<pnObject*>& objects);
    void RecordUndoAfter(const std::vector<pnObject*>& objects);
    // An event's parent links (the event tree's re-parenting).
    void RecordUndoBeforeEventParent(const pnEvent* event);
    void RecordUndoAfterEventParent(const pnEvent* event);
    void RecordUndoBeforeBackground(pnBackground* background);
    void RecordUndoAfterBackground(pnBackground* background);
    void RecordUndoBeforeViewpoint(pnViewpoint* viewpoint);
    void RecordUndoAfterViewpoint(pnViewpoint* viewpoint);
    void RecordUndoBeforeMaterial(pnMaterial* material, int index, int kind);
    void RecordUndoAfterMaterial(pnMaterial* material, int index);
    // A step is open: an edit has begun (a drag, a held slider, a dialog)
    // that has not ended.
    bool IsRecording() const { return !m_open.empty(); }
    // The before snapshot of the current step (moving back one step), or the
    // after snapshot of the next one (moving forward); null when there is
    // none. other, when given, receives the step's other snapshot.
    CUndoSnapshot* Undo(int& kind, CUndoSnapshot** other = nullptr);
    CUndoSnapshot* Redo(int& kind, CUndoSnapshot** other = nullptr);
    // The same moves, handing the whole step.
    CUndoStep* UndoStep() { return m_undo.UndoStep(); }
    CUndoStep* RedoStep() { return m_undo.RedoStep(); }
    bool CanUndo() const { return m_undo.CanUndo(); }
    bool CanRedo() const { return m_undo.CanRedo(); }
    // Called while the scene the steps refer to still exists; steps still
    // open are dropped too.
    void ClearUndoHistory();
    const CUndoHistory& GetUndoHistory() const { return m_undo; }
    // Undo or Redo is putting a step back. No step is kept meanwhile: a new
    // one would take the place of the step being applied.
    int m_nApplyingStep = 0;

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
    // styles, or of the text style a text or counter names.
    std::unique_ptr<pnObject> m_pClipboardObject;
    std::unique_ptr<pnStringProperty> m_pClipboardLabelStyle;
    std::unique_ptr<pnStringProperty> m_pClipboardDataStyle;
    std::unique_ptr<pnStringProperty> m_pClipboardTextStyle;
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
    // A step being recorded: the record it is about (an object, the first of
    // several, an event, the background, the viewpoint or a material) and
    // how many "before" calls on it are open.
    // The steps of other records that closed while it was open wait in
    // inner, in the order they closed.
    struct OpenStep {
        std::unique_ptr<CUndoStep> step;
        const void* record = nullptr;
        int depth = 1;
        std::vector<std::unique_ptr<CUndoStep>> inner;
    };
    // A step taken out of the open ones, with the inner steps it gathered.
    struct ClosedStep {
        std::unique_ptr<CUndoStep> step;
        std::vector<std::unique_ptr<CUndoStep>> inner;
    };
    // Opens a step, or joins the open change step of the record.
    CUndoStep* Open(const void* record, int kind);
    // The innermost open step of the record (step null when none); a joined
    // call only leaves it (null as well).
    ClosedStep Close(const void* record);
    // The closed step, after its inner steps, when it changes the scene:
    // into the open step that encloses it, else into the history. True when
    // anything was kept.
    bool Commit(ClosedStep closed);

    std::vector<OpenStep> m_open;
    CUndoHistory m_undo;
    CKelvanoView* m_pView = nullptr;
};

