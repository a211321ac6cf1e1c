// Animation-mode editing in the view: the switch between object and animation
// mode, the click and drag that make an effect (or feed the open effect
// dialog), the free length on the time line, new names, the effect dialogs'
// messages and the time scaling of Timeline Options.
#include "editor/CEffectDialogs.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/CUndoHistory.h"
#include "editor/KelvanoIds.h"
#include "charts/pnChart.h"
#include "scene/pnChartDataPt.h"
#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnMaterial.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "sg/sgChannel.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

namespace {
constexpr int kPickSize = 4;
constexpr float kScalePerPixel = 0.01f;
constexpr int kMaxNameNumber = 10000;

std::string numbered(const std::string& base, int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%03d", n);
    return base + buf;
}

// A time scaled by newLength / oldLength, truncated toward zero.
int scaled(int t, int oldLength, int newLength) {
    return static_cast<int>(static_cast<long long>(t) * newLength / oldLength);
}

// New frames for marks that must stay distinct: when scaling down, a mark
// meeting the frame taken by the one before takes the next free frame.
std::vector<int> scaledMarks(const std::vector<int>& frames, int oldLength, int newLength) {
    std::vector<int> out;
    for (int f : frames) {
        int g = scaled(f, oldLength, newLength);
        if (!out.empty() && g <= out.back()) g = out.back() + 1;
        out.push_back(g);
    }
    return out;
}
}  // namespace

// ---- small helpers ----

pnEvent* CKelvanoView::SelectionEvent() const {
    if (!m_pScene || !m_pDocument || !m_pDocument->m_pSelectedObject) return nullptr;
    return m_pScene->findEvent(m_pDocument->m_pSelectedObject->getName().c_str());
}

void CKelvanoView::ResetAnimDrag() {
    m_nAnimDragX = m_nAnimDragY = 0;
    m_fDragMove = sgVec3(0, 0, 0);
    m_fDragScale = sgVec3(0, 0, 0);
    m_qBaseRotation = sgVec4(1, 0, 0, 0);
}

void CKelvanoView::SelectInObjectChooser(const std::string& name) {
    CFrameRelays* frame = Frame();
    if (!frame || !m_pScene) return;
    // The object of that name, else the first whose name begins with it.
    pnObject* found = m_pScene->findObject(name.c_str());
    for (int i = 0; i < m_pScene->getNumObjects() && !found; ++i) {
        pnObject* o = m_pScene->getObject(i);
        if (o && o->getName().compare(0, name.size(), name) == 0) found = o;
    }
    if (!found) return;
    frame->SelectObjectChooserName(found->getName());
    m_bChooserSync = 1;
    OnObjectChosen(found->getName());
    m_bChooserSync = 0;
}

void CKelvanoView::ClearMultiSelection(int deselectList) {
    // With nothing selected together Select All is off and a drag moves the
    // selection alone, whatever emptied the list.
    m_bMultiDrag = 0;
    m_bSelectAll = 0;
    if (!m_pDocument || m_pDocument->m_selectedObjects.empty()) return;
    if (m_bHighlightSelected)
        for (pnObject* member : m_pDocument->m_selectedObjects) SetObjectHighlight(member, 0);
    m_pDocument->m_selectedObjects.clear();
    CFrameRelays* frame = Frame();
    if (deselectList && frame) frame->SelectObjectListIndex(-1, 0);
}

void CKelvanoView::FocusLastSelected() {
    if (!m_pDocument || m_pDocument->m_selectedObjects.empty()) return;
    m_pDocument->m_pSelectedObject = m_pDocument->m_selectedObjects.back();
    if (m_bHighlightSelected) SetObjectHighlight(m_pDocument->m_pSelectedObject, 1);
    NoteSelection();
}

void CKelvanoView::RefreshAnimationBars(const std::string& eventName, const std::string& effectName) {
    if (!m_bAnimationMode || !m_pHost) return;
    if (CFrameRelays* frame = Frame()) {
        frame->UpdateEventTreeEffects(eventName);
        frame->UpdateTimeLineEventRowAndSelect(eventName, effectName);
        frame->SetTimeLineFrame(m_nCurrentFrame);
    }
}

// ---- names ----

std::string CKelvanoView::MakeUniqueObjectName(const std::string& base) const {
    return m_pScene ? m_pScene->freeObjectName(base, kMaxNameNumber) : std::string();
}

std::string CKelvanoView::MakeUniqueMaterialName(const std::string& base) const {
    return m_pScene ? m_pScene->freeMaterialName(base, kMaxNameNumber) : std::string();
}

std::string CKelvanoView::MakeNumberedEffectName(const std::string& base) const {
    for (int n = 1; n <= kMaxNameNumber; ++n)
        if (!m_pScene || !m_pScene->findEffect(numbered(base, n).c_str())) return numbered(base, n);
    return std::string();
}

// ---- the mode ----

void CKelvanoView::OnToggleMode() {
    if (!m_pScene || !m_pDocument) return;
    if (!m_bAnimationMode && m_pScene->getNumObjects() == 0) return;
    CFrameRelays* frame = Frame();
    if (!frame) return;
    m_pDocument->ClearUndoHistory();
    std::string first;
    if (!m_bAnimationMode) {
        m_nRecordEndFrame = -1;
        FocusLastSelected();
        ClearMultiSelection(1);
        m_bSelectAll = 0;
        m_bAnimationMode = 1;
        SetCurrentFrame(0);
        m_nPlayedFrame = kNoPlayedFrame;
        if (pnObject* o = m_pScene->getObject(0)) first = o->getName();
        m_bPlacing = 0;
        m_bPlacingFirstMove = 0;
    } else {
        m_bAnimationMode = 0;
        frame->UnlockTransformEdits();
        frame->ApplyEventTreeOrder();
    }
    // The texture windows and the effect dialogs close as they hear of it.
    Announce(ViewChange::ModeChanged);
    if (!m_bAnimationMode) {
        m_nEffectEditMode = 0;
        ResetAnimDrag();
    }
    frame->UpdateBarsForMode(m_bAnimationMode != 0, first);
    if (!first.empty()) SelectInObjectChooser(first);
    Redraw();
}

// ---- free length and Add Effect ----

std::string CKelvanoView::NoEffectTakerText(const std::string& what, const std::string& name) {
    return "No " + what + " is named \"" + name +
           "\": an effect is added to the event named after its object, the camera (\"Camera\") or the light.";
}

int CKelvanoView::GetFreeEffectLength(const std::string& eventName, const std::string& ignoredEffect) {
    if (!m_pScene || !m_pDocument) return 0;
    const pnEvent* event = m_pScene->findEvent(eventName.c_str());
    if (!event) {
        // A scene made without its own events (older files name them
        // "<object>Event"): nothing would take the effect.
        if (m_pHost)
            m_pHost->MessageBox(NoEffectTakerText("event", eventName), "Effect Creation Error",
                                KV_MB_OK | KV_MB_ICONWARNING);
        return 0;
    }
    // In 64 bits: a file may leave the frame at the end of the int range,
    // past which no play can end.
    const long long f = m_nCurrentFrame;
    const long long length = m_pDocument->m_nEffectLength;
    auto isFree = [&](long long frame) {
        if (frame < 0 || frame > INT_MAX) return false;
        for (int i = 0; i < event->getNumPlays(); ++i) {
            const pnEventPlay* p = event->getPlay(i);
            if (p->start <= frame && frame <= p->end && (ignoredEffect.empty() || p->effect != ignoredEffect))
                return false;
        }
        return true;
    };
    if ((!isFree(f) && !isFree(f + 1)) || f >= INT_MAX) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "Effect can't be created at current position.\nTime line [%d] is already occupied by other effect",
                      m_nCurrentFrame);
        if (m_pHost) m_pHost->MessageBox(text, "Effect Creation Error", KV_MB_OK | KV_MB_ICONWARNING);
        return 0;
    }
    int n = 1;
    for (long long frame = f + 2; frame <= f + length - 1 && isFree(frame); ++frame) ++n;
    return n;
}

int CKelvanoView::TakeNewEffectLength(const std::string& eventName) {
    // The time line may have moved the frame since Add Effect found a length.
    m_nNewEffectLength = GetFreeEffectLength(eventName, m_bDialogPlayAdded ? m_strDialogPlayEffect : std::string());
    return m_nNewEffectLength;
}

bool CKelvanoView::MayOpenEffectDialog(int mode) {
    // One effect dialog holds the edit mode at a time: the buttons of each
    // act on the mode they opened, so a request for the other one brings the
    // open one to the front instead.
    const int holder = m_nEffectEditMode;
    if (holder == 0 || holder == mode || !m_pEffectDialogs || !m_pEffectDialogs->IsOpen(holder)) return true;
    m_pEffectDialogs->Focus(holder);
    return false;
}

void CKelvanoView::OnCreateEffect() {
    if (!m_pDocument || !m_pDocument->m_pSelectedObject || !MayOpenEffectDialog(1)) return;
    m_nNewEffectLength = GetFreeEffectLength(m_pDocument->m_pSelectedObject->getName());
    if (m_nNewEffectLength == 0 || !m_bAnimationMode || !m_pEffectDialogs) return;
    if (!m_pEffectDialogs->IsOpen(1)) {
        if (!m_pEffectDialogs->Open(1, std::string())) return;
    } else {
        m_pEffectDialogs->Focus(1);
    }
    m_strCreateEventName = m_pDocument->m_pSelectedObject->getName();
    m_nEffectEditMode = 1;
}

void CKelvanoView::OnCreateEffectFor(const std::string& objectName) {
    if (!m_pDocument || !m_pScene) return;
    pnObject* object = m_pScene->findObject(objectName.c_str());
    if (!object) return;
    if (m_pDocument->m_pSelectedObject != object) SelectInObjectChooser(objectName);
    // A held step keeps the selection it has: nothing is made for another.
    if (m_pDocument->m_pSelectedObject != object) return;
    OnCreateEffect();
}

void CKelvanoView::ShowEffectEditor() {
    if (!m_bAnimationMode || !m_pDocument || !m_pDocument->m_pSelectedObject || !m_pEffectDialogs || !m_pScene ||
        !MayOpenEffectDialog(2))
        return;
    if (m_pEffectDialogs->IsOpen(2)) {
        ResetAnimDrag();
        m_pEffectDialogs->Focus(2);
        m_pEffectDialogs->RevertEffect();
        m_pEffectDialogs->LoadEffect(m_strEditEffectName);
    } else if (!m_pEffectDialogs->Open(2, m_strEditEffectName)) {
        return;
    }
    m_nEffectEditMode = 2;
    if (const pnEffect* e = m_pScene->findEffect(m_strEditEffectName.c_str())) {
        m_fBaseMove = e->getTrans();
        m_fBaseScale = e->getScale();
        m_qBaseRotation = sgQuatFromAngleAxis(e->getRotAngle(), e->getRotAxis());
    }
}

void CKelvanoView::EditEffectPlay(const std::string& eventName, int playIndex) {
    const pnEvent* event = m_pScene ? m_pScene->findEvent(eventName.c_str()) : nullptr;
    const pnEventPlay* play = event ? event->getPlay(playIndex) : nullptr;
    if (!play || !m_bAnimationMode || !MayOpenEffectDialog(2)) return;
    const int end = play->end;
    m_strEditEventName = eventName;
    m_strEditEffectName = play->effect;
    m_nEditPlayIndex = playIndex;
    // The view shows the frame the time line's box says, the editor open.
    GoToFrame(end);
    if (CFrameRelays* frame = Frame()) frame->SetTimeLineFrame(end);
    ShowEffectEditor();
}

// ---- the mouse in animation mode ----

void CKelvanoView::AnimLButtonDown(int x, int y) {
    if (m_bPlaying || !m_pDocument || !m_pScene || !m_pHost) return;
    m_bDragMoved = 0;
    m_pHost->CaptureMouse();
    if (m_pScene->getNumObjects() == 0) return;
    m_nDragX = m_nAnimDragX = x;
    m_nDragY = m_nAnimDragY = y;
    m_bDragging = 1;
    pnObject* chartObject = nullptr;
    pnObject* hit = nullptr;
    if (sceneChannel && m_pHost->MakeCurrent())
        hit = m_pScene->pickObject(sceneChannel, x, y, kPickSize, kPickSize, &chartObject);
    pnObject* picked = chartObject && hit ? chartObject : hit;
    SelectPicked(picked);
    if (picked) {
        if (CFrameRelays* frame = Frame()) {
            frame->SelectEventTreeItem(picked->getName());
            frame->SelectTimeLineEvent(picked->getName());
        }
    }
    NoteSelection();
    m_fDragMove = sgVec3(0, 0, 0);
    m_fDragScale = sgVec3(0, 0, 0);
    m_bAnimDragAllowed = 1;
}

void CKelvanoView::AnimMouseMove(int x, int y) {
    if (!m_bDragging || (x == m_nDragX && y == m_nDragY) || !m_bSelectionKept || !m_pDocument ||
        !m_pDocument->m_pSelectedObject || !m_pScene)
        return;
    pnEvent* event = SelectionEvent();
    if (!m_bDragMoved && m_nEffectEditMode < 2) {
        m_nNewEffectLength = GetFreeEffectLength(m_pDocument->m_pSelectedObject->getName());
        if (m_nNewEffectLength == 0) {
            if (m_pHost) m_pHost->ReleaseMouse();
            m_bDragging = 0;
            return;
        }
    }
    const bool first = !m_bDragMoved;
    m_bDragMoved = 1;
    if (!m_bAnimDragAllowed) return;
    pnEffect* effect = nullptr;
    const bool dialog = m_pEffectDialogs && m_nEffectEditMode == 1 && m_pEffectDialogs->IsOpen(1);
    if (m_nEffectEditMode == 2) {
        // The editor takes the values.
    } else if (dialog) {
        // One preview play for the dialog, on the event of the object it makes
        // the effect for, however many drags feed it.
        if (first) m_strDialogPlayEffect = m_pEffectDialogs->GetPreviewEffectName();
        pnEvent* target = m_pScene->findEvent(m_strCreateEventName.c_str());
        if (!target) target = event;
        if (first && target && !m_bDialogPlayAdded && !m_strDialogPlayEffect.empty()) {
            target->addPlay(m_strDialogPlayEffect.c_str(), m_nCurrentFrame, m_nCurrentFrame, 1);
            m_bDialogPlayAdded = 1;
            m_strDialogPlayEvent = target->getName();
        }
    } else {
        if (!event) return;
        if (!m_bDragEffectCreated) {
            const std::string name = MakeNumberedEffectName("effect");
            if (name.empty()) return;
            auto* made = new pnEffect;
            made->setName(name.c_str());
            if (!m_pScene->addEffect(made)) {
                delete made;
                return;
            }
            event->addPlay(name.c_str(), m_nCurrentFrame, m_nCurrentFrame, 1);
            m_strDragEffectName = name;
            m_bDragEffectCreated = 1;
        }
        effect = m_pScene->findEffect(m_strDragEffectName.c_str());
    }
    AnimDragValues(x, y, effect);
    m_nDragX = x;
    m_nDragY = y;
    SetModified();
    m_nPlayedFrame = kNoPlayedFrame;
    Redraw();
}

void CKelvanoView::AnimDragValues(int x, int y, pnEffect* effect) {
    const int dx = x - m_nAnimDragX;
    const int dy = y - m_nAnimDragY;
    const int mode = m_nEffectEditMode == 2 ? 2 : (m_nEffectEditMode == 1 && m_pEffectDialogs ? 1 : 0);
    if (m_nTransformMode == 0) {
        m_fDragMove = sgVec3(m_bAxisX ? float(dx) : 0.0f, m_bAxisY ? float(-dy) : 0.0f,
                             m_bAxisZ ? float(dy - dx) : 0.0f);
        const sgVec3 move = m_fBaseMove + m_fDragMove;
        if (mode) m_pEffectDialogs->SetMove(mode, move);
        if (effect) effect->setTrans(move);
    } else if (m_nTransformMode == 1) {
        if (m_bAxisX && m_bAxisY && m_bAxisZ) {
            const float d = float(dx - dy);
            m_fDragScale = sgVec3(d, d, d);
        } else {
            m_fDragScale = sgVec3(m_bAxisX ? float(dx) : 0.0f, m_bAxisY ? float(-dy) : 0.0f,
                                  m_bAxisZ ? float(dx - dy) : 0.0f);
        }
        sgVec3 factor;
        for (int i = 0; i < 3; ++i)
            factor[i] = std::max(0.0f, 1.0f + kScalePerPixel * (m_fBaseScale[i] + m_fDragScale[i]));
        if (mode) m_pEffectDialogs->SetScale(mode, factor);
        if (effect) effect->setScale(factor);
    } else {
        // Measured from the last drag point, composed into the kept rotation.
        const int sx = x - m_nDragX;
        const int sy = y - m_nDragY;
        const float d = std::sqrt(float(sx) * float(sx) + float(sy) * float(sy));
        if (!(d > 0.0f)) return;
        sgVec3 axis;
        if (m_bAxisX && m_bAxisY && !m_bAxisZ)
            axis = sgVec3(sy / d, sx / d, 0.0f);
        else if (m_bAxisX)
            axis = sgVec3(sy > 0 ? 1.0f : -1.0f, 0, 0);
        else if (m_bAxisY)
            axis = sgVec3(0, sx > 0 ? 1.0f : -1.0f, 0);
        else if (m_bAxisZ)
            axis = sgVec3(0, 0, sx - sy > 0 ? 1.0f : -1.0f);
        else
            return;
        m_qBaseRotation = sgQuatMult(sgQuatFromAngleAxis(d, axis), m_qBaseRotation);
        float angle = 0.0f;
        const sgVec3 resultAxis = sgQuatToAngleAxis(m_qBaseRotation, &angle);
        if (mode) m_pEffectDialogs->SetRotate(mode, angle, resultAxis);
        if (effect) {
            effect->setRotAngle(angle);
            if (sgLength(resultAxis) > 0.0f) effect->setRotAxis(resultAxis);
        }
    }
}

void CKelvanoView::AnimRelease() {
    m_bDragging = 0;
    if (!m_bDragMoved) return;
    m_bDragMoved = 0;
    if (m_nEffectEditMode == 1 && m_pEffectDialogs && m_pEffectDialogs->IsOpen(1)) {
        m_bAnimDragAllowed = 0;
        return;
    }
    if (!m_bDragEffectCreated || m_nEffectEditMode != 0) return;
    pnEvent* event = SelectionEvent();
    const std::string name = m_strDragEffectName;
    if (event) {
        for (int i = 0; i < event->getNumPlays(); ++i) {
            const pnEventPlay* p = event->getPlay(i);
            if (p->effect == name && p->start == p->end) {
                event->removePlayAt(i);
                break;
            }
        }
        event->addPlay(name.c_str(), m_nCurrentFrame, m_nCurrentFrame + m_nNewEffectLength, 1);
        SetCurrentFrame(m_nCurrentFrame + m_nNewEffectLength);
        RefreshAnimationBars(event->getName(), name);
    }
    if (m_pDocument) m_pDocument->m_effectUses.emplace_back(name, 1);
    if (CFrameRelays* frame = Frame()) {
        frame->AddEffectListName(name);
        frame->UpdateTimeLineAnimationEnd();
    }
    ResetAnimDrag();
    m_bDragEffectCreated = 0;
    m_strDragEffectName.clear();
    m_nPlayedFrame = kNoPlayedFrame;
    Redraw();
}

// ---- the effect dialogs' messages ----

void CKelvanoView::OnEffectApplied() {
    if (!m_pScene || !m_pDocument) return;
    ResetAnimDrag();
    CFrameRelays* frame = Frame();
    if (m_nEffectEditMode == 1) {
        RemovePreviewPlay();
        pnEvent* event = m_pScene->findEvent(m_strCreateEventName.c_str());
        if (event) {
            event->addPlay(m_strNewEffectName.c_str(), m_nCurrentFrame, m_nCurrentFrame + m_nNewEffectLength, 1);
            SetCurrentFrame(m_nCurrentFrame + m_nNewEffectLength);
            RefreshAnimationBars(event->getName(), m_strNewEffectName);
        }
        if (m_bEffectExisted) {
            m_pDocument->AddEffectUse(m_strNewEffectName);
        } else {
            m_pDocument->m_effectUses.emplace_back(m_strNewEffectName, 1);
            if (frame) frame->AddEffectListName(m_strNewEffectName);
        }
        m_strNewEffectName.clear();
        m_strCreateEventName.clear();
        m_nEffectEditMode = 0;
        // Values typed and OK without a drag: the new play is unsaved work too.
        SetModified();
    } else if (m_nEffectEditMode == 2) {
        pnEvent* event = SelectionEvent();
        pnEffect* edited = m_pScene->findEffect(m_strEditEffectName.c_str());
        int k = m_nEditPlayIndex;
        if (event && (!event->getPlay(k) || event->getPlay(k)->effect != m_strEditEffectName)) {
            k = -1;
            for (int i = 0; i < event->getNumPlays() && k < 0; ++i)
                if (event->getPlay(i)->effect == m_strEditEffectName) k = i;
        }
        const pnEventPlay* next = event && k >= 0 ? event->getPlay(k + 1) : nullptr;
        pnEffect* nextEffect = next ? m_pScene->findEffect(next->effect.c_str()) : nullptr;
        // Another play of the next effect (this object's or another's) keeps
        // it as it is: this play gets a copy of its own to compensate.
        if (edited && nextEffect && m_pEffectDialogs && CountPlaysOf(nextEffect->getName()) > 1)
            nextEffect = OwnEffectForPlay(*event, k + 1);
        float oldAngle = 0.0f;
        sgVec3 oldAxis(0, 0, 1);
        if (edited && m_pEffectDialogs) m_pEffectDialogs->TakeSavedRotation(oldAngle, oldAxis);
        if (edited && nextEffect && m_pEffectDialogs) {
            nextEffect->setTrans(nextEffect->getTrans() - (edited->getTrans() - m_fBaseMove));
            const sgVec4 qNext = sgQuatFromAngleAxis(nextEffect->getRotAngle(), nextEffect->getRotAxis());
            const sgVec4 qOld = sgQuatFromAngleAxis(oldAngle, oldAxis);
            const sgVec4 qNew = sgQuatFromAngleAxis(edited->getRotAngle(), edited->getRotAxis());
            // An edit that left the rotation alone leaves the next one alone.
            if (!(qOld == qNew)) {
                float angle = 0.0f;
                const sgVec3 axis =
                    sgQuatToAngleAxis(sgQuatMult(sgQuatMult(qNext, qOld), sgQuatInverse(qNew)), &angle);
                nextEffect->setRotAngle(angle);
                if (sgLength(axis) > 0.0f) nextEffect->setRotAxis(axis);
            }
        }
        // The next drag goes on from what was applied, next play or not.
        if (edited) {
            m_fBaseMove = edited->getTrans();
            m_fBaseScale = edited->getScale();
            m_qBaseRotation = sgQuatFromAngleAxis(edited->getRotAngle(), edited->getRotAxis());
        }
        SetModified();
    }
    m_nPlayedFrame = kNoPlayedFrame;
    // The windows that show the effect (the Effect List) hear of its new values.
    FrameContentChanged();
}

int CKelvanoView::CountPlaysOf(const std::string& effectName) const {
    int count = 0;
    for (int i = 0; m_pScene && i < m_pScene->getNumEvents(); ++i) {
        const pnEvent* e = m_pScene->getEvent(i);
        for (int p = 0; p < e->getNumPlays(); ++p) count += e->getPlay(p)->effect == effectName;
    }
    return count;
}

pnEffect* CKelvanoView::OwnEffectForPlay(pnEvent& event, int playIndex) {
    const pnEventPlay* play = event.getPlay(playIndex);
    const pnEffect* shared = play && m_pScene ? m_pScene->findEffect(play->effect.c_str()) : nullptr;
    if (!shared) return nullptr;
    const std::string name = MakeNumberedEffectName(shared->getName());
    if (name.empty()) return nullptr;
    auto* copy = new pnEffect;
    copy->setName(name.c_str());
    copy->copyFields(*shared);
    if (!m_pScene->addEffect(copy)) {
        delete copy;
        return nullptr;
    }
    const std::string old = play->effect;
    event.setPlayEffect(playIndex, name.c_str());
    if (m_pDocument) {
        m_pDocument->ReleaseEffectUse(old);
        m_pDocument->m_effectUses.emplace_back(name, 1);
    }
    if (CFrameRelays* frame = Frame()) frame->AddEffectListName(name);
    RefreshAnimationBars(event.getName(), name);
    return copy;
}

void CKelvanoView::OnEffectDialogClosed() {
    ResetAnimDrag();
    if (m_nEffectEditMode == 1) {
        RemovePreviewPlay();
    } else if (m_nEffectEditMode == 2) {
        m_strEditEffectName.clear();
    }
    m_nEffectEditMode = 0;
    m_nPlayedFrame = kNoPlayedFrame;
    Redraw();
}

void CKelvanoView::RemovePreviewPlay() {
    pnEvent* event = m_bDialogPlayAdded && m_pScene ? m_pScene->findEvent(m_strDialogPlayEvent.c_str()) : nullptr;
    for (int i = 0; event && i < event->getNumPlays(); ++i) {
        const pnEventPlay* play = event->getPlay(i);
        if (play->effect == m_strDialogPlayEffect && play->start == play->end) {
            event->removePlayAt(i);
            break;
        }
    }
    m_bDialogPlayAdded = 0;
    m_strDialogPlayEffect.clear();
    m_strDialogPlayEvent.clear();
}

void CKelvanoView::OnAddGrowShrink() {
    if (!m_pEffectDialogs || !SelectedChart()) return;
    m_pEffectDialogs->RunGrowShrink();
    if (CFrameRelays* frame = Frame()) frame->UpdateTimeLineAnimationEnd();
}

// ---- Timeline Options ----

void CKelvanoView::OnTimelineOptions() {
    if (!m_pDocument || !m_pScene || !m_pHost) return;
    const int old = m_pScene->updateLastFrame();
    m_pDocument->m_nAnimationLength = old;
    m_pHost->RunTimeLineOptions(*m_pDocument);
    if (m_pDocument->m_nAnimationLength != old) ScaleSceneTimes(old, m_pDocument->m_nAnimationLength);
}

void CKelvanoView::ScaleSceneTimes(int oldLength, int newLength) {
    // A scene without times has nothing a ratio could scale.
    if (!m_pScene || oldLength <= 0 || newLength < 0) return;
    pnScene& scene = *m_pScene;
    scene.setLastFrame(newLength);
    for (int i = 0; i < scene.getNumEvents(); ++i) {
        pnEvent* e = scene.getEvent(i);
        for (int p = 0; p < e->getNumPlays(); ++p) {
            const pnEventPlay* play = e->getPlay(p);
            e->setPlayTime(p, scaled(play->start, oldLength, newLength), scaled(play->end, oldLength, newLength));
        }
    }
    std::vector<int> pauses;
    for (int i = 0; i < scene.getNumPauses(); ++i) pauses.push_back(scene.getPause(i));
    const std::vector<int> newPauses = scaledMarks(pauses, oldLength, newLength);
    while (scene.getNumPauses() > 0) scene.removePauseAt(0);
    for (int f : newPauses) scene.addPause(f);
    std::vector<int> soundFrames;
    std::vector<std::string> soundFiles;
    for (int i = 0; i < scene.getNumSounds(); ++i) {
        soundFrames.push_back(scene.getSound(i).frame);
        soundFiles.push_back(scene.getSound(i).file);
    }
    const std::vector<int> newSounds = scaledMarks(soundFrames, oldLength, newLength);
    while (scene.getNumSounds() > 0) scene.removeSoundAt(0);
    for (size_t i = 0; i < newSounds.size(); ++i) scene.addSound(newSounds[i], soundFiles[i].c_str());
    // Chart points: in time order when shrinking, backwards when growing, so
    // the kinds' plays never overtake one another.
    const bool down = newLength < oldLength;
    for (int c = 0; c < scene.getNumCharts(); ++c) {
        auto* chart = pnKindCast<pnChart>(scene.getChart(c));
        if (!chart) continue;
        for (int p = 0; p < chart->getNumDataPts(); ++p) {
            const pnChartDataPt* pt = chart->getDataPt(p);
            if (!pt) continue;
            const int times[4] = {pt->startTime, pt->endTime, pt->shrinkStart, pt->shrinkEnd};
            for (int k = 0; k < 4; ++k) {
                const int which = down ? k : 3 - k;
                const int t = times[which];
                if (t <= 0) continue;
                const int v = scaled(t, oldLength, newLength);
                if (which == 0) chart->setDataPtStartTime(p, v);
                else if (which == 1) chart->setDataPtEndTime(p, v);
                else if (which == 2) chart->setDataPtShrinkStart(p, v);
                else chart->setDataPtShrinkEnd(p, v);
            }
        }
    }
    SetModified();
    m_nPlayedFrame = kNoPlayedFrame;
    if (CFrameRelays* frame = Frame()) frame->RebuildTimeLineRows();
    Redraw();
}
