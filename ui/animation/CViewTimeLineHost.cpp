#include "ui/animation/CViewTimeLineHost.h"

#include "editor/CEffectDialogs.h"
#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"

pnScene* CViewTimeLineHost::GetScene() { return CurrentScene(); }
int CViewTimeLineHost::GetFixedDuration() {
    const CKelvanoDoc* doc = CurrentDocument();
    return doc ? doc->m_bFixedDuration : 0;
}
void CViewTimeLineHost::SetFixedDuration(int on) {
    if (CKelvanoDoc* doc = CurrentDocument()) doc->m_bFixedDuration = on;
}
void CViewTimeLineHost::SetViewFrame(int frame) {
    if (CKelvanoView* view = CurrentView()) view->GoToFrame(frame);
}
void CViewTimeLineHost::ShowMessage(const std::string& text, const std::string& caption) {
    CKelvanoView* view = CurrentView();
    if (CViewHost* host = view ? view->GetHost() : nullptr) host->MessageBox(text, caption, KV_MB_OK | KV_MB_ICONWARNING);
}
int CViewTimeLineHost::GetViewFrame() { return CurrentView() ? CurrentView()->m_nCurrentFrame : 0; }
void CViewTimeLineHost::RedrawView() {
    if (CKelvanoView* view = CurrentView()) view->Redraw();
}
void CViewTimeLineHost::SetModified() {
    // Every edit of plays, pauses and sounds: the view's frame shows it at once.
    if (CKelvanoView* view = CurrentView()) {
        view->SetModified();
        view->FrameContentChanged();
    }
}
int CViewTimeLineHost::GetEffectEditMode() { return CurrentView() ? CurrentView()->m_nEffectEditMode : 0; }
void CViewTimeLineHost::CreateEffect(const std::string& objectName) {
    if (CKelvanoView* view = CurrentView()) view->OnCreateEffectFor(objectName);
}
void CViewTimeLineHost::EditEffect(const std::string& eventName, const std::string& effectName, int entry) {
    CKelvanoView* view = CurrentView();
    if (!view) return;
    view->m_strEditEventName = eventName;
    view->m_strEditEffectName = effectName;
    view->m_nEditPlayIndex = entry;
    view->ShowEffectEditor();
}
void CViewTimeLineHost::EditFixedEffect(const std::string& effectName, int mode) {
    CKelvanoView* view = CurrentView();
    if (view && view->GetEffectDialogs()) view->GetEffectDialogs()->RunModalEditor(effectName, mode);
}
void CViewTimeLineHost::SelectInObjectChooser(const std::string& name) {
    if (CKelvanoView* view = CurrentView()) view->SelectInObjectChooser(name);
}
void CViewTimeLineHost::SelectEventTreeItem(const std::string& name) {
    CKelvanoView* view = CurrentView();
    if (CFrameRelays* frame = view ? view->Frame() : nullptr) frame->SelectEventTreeItem(name);
}
void CViewTimeLineHost::RemoveEventTreeEffectItem(const std::string& eventName, int playIndex) {
    CKelvanoView* view = CurrentView();
    if (CFrameRelays* frame = view ? view->Frame() : nullptr) frame->RemoveEventTreeEffectItem(eventName, playIndex);
}
void CViewTimeLineHost::ReleaseEffectUse(const std::string& effectName) {
    if (CKelvanoDoc* doc = CurrentDocument()) doc->ReleaseEffectUse(effectName);
}

void CViewTimeLineHost::PlayStart() {
    if (CKelvanoView* view = CurrentView()) view->OnPlayStart();
}
void CViewTimeLineHost::PlayPause() {
    if (CKelvanoView* view = CurrentView()) view->OnPlayPause();
}
void CViewTimeLineHost::PlayStop() {
    if (CKelvanoView* view = CurrentView()) {
        view->m_nRecordEndFrame = view->m_nCurrentFrame;
        view->OnPlayStop();
    }
}
bool CViewTimeLineHost::ContinueFromPause() {
    // The view goes on past a held pause as it does for Space.
    CKelvanoView* view = CurrentView();
    return view && view->OnKeyDown(kKeySpace, 0);
}
bool CViewTimeLineHost::IsRecording() {
    CKelvanoView* view = CurrentView();
    return view && view->m_bBusy;
}
