#include "ui/animation/CEffectDialogSet.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/CUndoHistory.h"
#include "editor/CViewHost.h"
#include "charts/pnChart.h"
#include "scene/pnObject.h"
#include "ui/animation/CCreateEffectDlg.h"
#include "ui/animation/CEffectEditorDlg.h"
#include "ui/animation/CGrowShrinkDlg.h"
#include "ui/animation/EffectDialogSupport.h"

CEffectDialogSet::~CEffectDialogSet() {
    // Nothing stays open on a view that goes: each ends as by Cancel or Close
    // while the view is still there.
    Destroy(1);
    Destroy(2);
}

// A dialog whose model closed (OK, Cancel, the view moving on) is gone,
// whenever its window goes.
CCreateEffectDlg* CEffectDialogSet::Creating() const {
    return m_creating && m_creating->Model().IsOpen() && m_creating->IsShown() ? m_creating.get() : nullptr;
}

CEffectEditorDlg* CEffectDialogSet::Editor() const {
    return m_editor && m_editor->Model().IsOpen() && m_editor->IsShown() ? m_editor.get() : nullptr;
}

bool CEffectDialogSet::Open(int mode, const std::string& effectName) {
    if (!m_pView || !m_pView->GetScene()) return false;
    Destroy(mode);
    wxDialog* made = nullptr;
    if (mode == 1) {
        auto* d = new CCreateEffectDlg(m_pParent, m_pView);
        m_creating = d;
        made = d;
    } else if (mode == 2) {
        auto* d = new CEffectEditorDlg(m_pParent, m_pView, 0, effectName);
        m_editor = d;
        made = d;
    }
    if (!made) return false;
    made->Show();
    return true;
}

bool CEffectDialogSet::IsOpen(int mode) const { return mode == 1 ? Creating() != nullptr : mode == 2 && Editor(); }

void CEffectDialogSet::Focus(int mode) {
    wxDialog* d = mode == 1 ? static_cast<wxDialog*>(Creating()) : Editor();
    if (!d) return;
    d->Raise();
    d->SetFocus();
}

void CEffectDialogSet::Destroy(int mode) {
    // As Cancel and Close: no preview and no unapplied drag stays behind.
    if (mode == 1) {
        if (CCreateEffectDlg* d = Creating()) d->OnCancel();
        m_creating = nullptr;
    } else if (mode == 2) {
        if (CEffectEditorDlg* d = Editor()) d->CloseEditor();
        m_editor = nullptr;
    }
}

void CEffectDialogSet::SetMove(int mode, const sgVec3& move) {
    if (mode == 1 && Creating()) Creating()->SetMove(move);
    else if (mode == 2 && Editor()) Editor()->SetMove(move);
}

void CEffectDialogSet::SetScale(int mode, const sgVec3& scale) {
    if (mode == 1 && Creating()) Creating()->SetScale(scale);
    else if (mode == 2 && Editor()) Editor()->SetScale(scale);
}

void CEffectDialogSet::SetRotate(int mode, float angle, const sgVec3& axis) {
    if (mode == 1 && Creating()) Creating()->SetRotate(angle, axis);
    else if (mode == 2 && Editor()) Editor()->SetRotate(angle, axis);
}

std::string CEffectDialogSet::GetPreviewEffectName() {
    return Creating() ? Creating()->PreviewEffectName() : std::string();
}

void CEffectDialogSet::RevertEffect() {
    if (Editor()) Editor()->RevertEffect();
}

void CEffectDialogSet::LoadEffect(const std::string& effectName) {
    if (Editor()) Editor()->LoadEffect(effectName);
}

void CEffectDialogSet::TakeSavedRotation(float& angle, sgVec3& axis) {
    if (Editor()) Editor()->TakeSavedRotation(angle, axis);
}

void CEffectDialogSet::RunModalEditor(const std::string& effectName, int mode) {
    if (!m_pView || !m_pView->GetScene() || (mode != 1 && mode != 2)) return;
    // Its Apply shows in the view at once (the model tells the view).
    CEffectEditorDlg dlg(m_pParent, m_pView, mode, effectName);
    dlg.ShowModal();
}

void CEffectDialogSet::RunGrowShrink() {
    CKelvanoDoc* doc = m_pView ? m_pView->GetDocument() : nullptr;
    pnObject* object = doc ? doc->m_pSelectedObject : nullptr;
    auto* chart = pnKindCast<pnChart>(object);
    if (!chart) return;
    CKelvanoAppState* app = GetAppState();
    const int tpl = app && app->m_templates.m_iddGrowShrink ? app->m_templates.m_iddGrowShrink : 225;
    CGrowShrinkDlg dlg(m_pParent, tpl, chart, doc->m_nGrowLength, doc->m_nShrinkLength,
                       doc->m_bFixedDuration);
    // Each change reaches the chart, and the view shows it, at once.
    dlg.Model().ShowIn(m_pView);
    dlg.ShowModal();
    if (CFrameRelays* frame = FrameRelaysOf(m_pView)) frame->UpdateTimeLineAnimationEnd();
}
