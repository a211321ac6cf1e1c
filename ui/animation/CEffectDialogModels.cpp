#include "ui/animation/CEffectDialogModels.h"

#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "scene/pnEffect.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "sg/sgRuntime.h"

#include <algorithm>
#include <iterator>

namespace {
// Hands the model's closing to its window once.
void tellClosed(std::function<void()>& closed) {
    if (!closed) return;
    auto call = std::move(closed);
    closed = nullptr;
    call();
}
}  // namespace

// ---- "Creating Effect" ----

CCreateEffectModel::CCreateEffectModel(CKelvanoView* view) : m_pView(view) {
    if (!m_pView) return;
    CKelvanoDoc* doc = m_pView->GetDocument();
    if (doc && doc->m_pSelectedObject) m_strObject = doc->m_pSelectedObject->getName();
    m_pView->AddListener(this);
}

CCreateEffectModel::~CCreateEffectModel() {
    // A dialog torn down without OK or Cancel leaves no preview behind.
    m_onClosed = nullptr;
    if (IsOpen()) Cancel();
    DropPreview();
}

pnScene* CCreateEffectModel::Scene() const { return m_pView ? m_pView->GetScene() : nullptr; }

pnEffect* CCreateEffectModel::Preview() {
    pnScene* scene = Scene();
    if (!scene) return nullptr;
    if (!m_pTemp) {
        m_pTemp = new pnEffect;
        m_pTemp->setName(m_pView->MakeNumberedEffectName("istempeffect").c_str());
    }
    if (!m_bTempAdded) m_bTempAdded = scene->addEffect(m_pTemp) != 0;
    return m_pTemp;
}

void CCreateEffectModel::DropPreview() {
    if (!m_pTemp) return;
    // Only the scene it went into lists it: the model closes before that
    // scene goes.
    if (m_bTempAdded)
        if (pnScene* scene = Scene()) scene->removeEffect(m_pTemp);
    delete m_pTemp;
    m_pTemp = nullptr;
    m_bTempAdded = false;
}

void CCreateEffectModel::Applied(const std::string& effectName, bool existed) {
    if (!IsOpen()) return;
    CKelvanoView* view = m_pView;
    DropPreview();
    Finish();
    view->m_bEffectExisted = existed ? 1 : 0;
    view->m_strNewEffectName = effectName;
    view->m_strCreateEventName = m_strObject;
    view->OnEffectApplied();
    tellClosed(m_onClosed);
}

void CCreateEffectModel::Cancel() {
    if (!IsOpen()) return;
    CKelvanoView* view = m_pView;
    view->m_strCreateEventName = m_strObject;
    DropPreview();
    Finish();
    view->OnEffectDialogClosed();
    tellClosed(m_onClosed);
}

void CCreateEffectModel::OnViewChange(ViewChange change) {
    if (change != ViewChange::FrameChanged) Cancel();
}

void CCreateEffectModel::Finish() {
    if (m_pView) m_pView->RemoveListener(this);
    m_pView = nullptr;
}

// ---- the "Effect Editor" ----

CEffectEditorModel::CEffectEditorModel(CKelvanoView* view, int mode) : m_pView(view), m_nMode(mode) {
    // The modal editors end before anything else can happen.
    if (m_pView && m_nMode == 0) m_pView->AddListener(this);
}

CEffectEditorModel::~CEffectEditorModel() {
    m_onClosed = nullptr;
    if (m_pView && m_nMode == 0) m_pView->RemoveListener(this);
}

pnScene* CEffectEditorModel::Scene() const { return m_pView ? m_pView->GetScene() : nullptr; }

pnEffect* CEffectEditorModel::Effect() const {
    pnScene* scene = Scene();
    return scene && !m_strName.empty() ? scene->findEffect(m_strName.c_str()) : nullptr;
}

bool CEffectEditorModel::Load(const std::string& effectName) {
    m_strName = sgCutName(effectName);
    m_bLoaded = false;
    for (bool& c : m_changed) c = false;
    if (!Effect()) return false;
    KeepCurrent();
    m_bLoaded = true;
    return true;
}

void CEffectEditorModel::KeepCurrent() {
    const pnEffect* effect = Effect();
    if (!effect) return;
    m_savedMove = effect->getTrans();
    m_savedScale = effect->getScale();
    m_fSavedAngle = effect->getRotAngle();
    m_savedAxis = effect->getRotAxis();
    NoteLeft();
}

void CEffectEditorModel::NoteLeft() {
    if (const pnEffect* effect = Effect()) m_left = EffectValues::Of(*effect);
}

bool CEffectEditorModel::AnyChanged() const {
    return std::any_of(std::begin(m_changed), std::end(m_changed), [](bool c) { return c; });
}

int CEffectEditorModel::TakeOutsideChanges() {
    const pnEffect* effect = m_bLoaded ? Effect() : nullptr;
    if (!effect) return 0;
    const int taken = EffectValues::Of(*effect).GroupsApart(m_left);
    if (!taken) return 0;
    if (taken & (1 << kMove)) m_savedMove = effect->getTrans();
    if (taken & (1 << kScale)) m_savedScale = effect->getScale();
    if (taken & (1 << kRotate)) {
        m_fSavedAngle = effect->getRotAngle();
        m_savedAxis = effect->getRotAxis();
    }
    for (int g = kMove; g <= kColor; ++g)
        if (taken & (1 << g)) m_changed[g] = false;
    NoteLeft();
    // The view's next drag goes on from what was applied.
    if (m_pView && m_nMode == 0) {
        if (taken & (1 << kMove)) m_pView->m_fBaseMove = m_savedMove;
        if (taken & (1 << kScale)) m_pView->m_fBaseScale = m_savedScale;
        if (taken & (1 << kRotate)) m_pView->m_qBaseRotation = sgQuatFromAngleAxis(m_fSavedAngle, m_savedAxis);
    }
    if (m_onTaken) m_onTaken(taken);
    return taken;
}

void CEffectEditorModel::Revert() {
    if (pnEffect* effect = m_bLoaded ? Effect() : nullptr) {
        if (m_changed[kMove]) effect->setTrans(m_savedMove);
        if (m_changed[kScale]) effect->setScale(m_savedScale);
        if (m_changed[kRotate]) {
            effect->setRotAngle(m_fSavedAngle);
            effect->setRotAxis(m_savedAxis);
        }
    }
    for (bool& c : m_changed) c = false;
    m_bLoaded = false;
}

void CEffectEditorModel::SetMove(const sgVec3& v) {
    if (pnEffect* effect = Effect()) effect->setTrans(v);
    m_changed[kMove] = true;
    NoteLeft();
}

void CEffectEditorModel::SetScale(const sgVec3& v) {
    if (pnEffect* effect = Effect()) effect->setScale(v);
    m_changed[kScale] = true;
    NoteLeft();
}

void CEffectEditorModel::SetRotate(float angle, const sgVec3& axis) {
    if (pnEffect* effect = Effect()) {
        effect->setRotAngle(angle);
        if (sgLength(axis) > 0.0f) effect->setRotAxis(axis);
    }
    m_changed[kRotate] = true;
    NoteLeft();
}

void CEffectEditorModel::TakeSavedRotation(float& angle, sgVec3& axis) {
    angle = m_fSavedAngle;
    axis = m_savedAxis;
    if (const pnEffect* effect = Effect()) {
        m_fSavedAngle = effect->getRotAngle();
        m_savedAxis = effect->getRotAxis();
    }
}

void CEffectEditorModel::Apply(const sgVec3& move, const sgVec3& scale, float angle, const sgVec3& axis,
                               const std::string* color) {
    pnEffect* effect = Effect();
    if (!effect) return;
    if (m_changed[kMove]) effect->setTrans(move);
    if (m_nMode == 0) {
        if (m_changed[kScale]) effect->setScale(scale);
        if (m_changed[kRotate]) {
            effect->setRotAngle(angle);
            if (sgLength(axis) > 0.0f) effect->setRotAxis(axis);
        }
    }
    if (color && m_nMode != 2) effect->setColor(color->c_str());
    // The view hears of it next: what this editor wrote is its own.
    NoteLeft();
    if (m_pView) {
        m_pView->SetModified();
        // The modal editors' camera and light effects show in the view at once.
        if (m_nMode == 0) m_pView->OnEffectApplied();
        else m_pView->FrameContentChanged();
    }
    // What was applied is what Close keeps from now on.
    KeepCurrent();
    for (bool& c : m_changed) c = false;
}

void CEffectEditorModel::Close() {
    Revert();
    CKelvanoView* view = m_pView;
    if (view && m_nMode == 0) {
        view->RemoveListener(this);
        m_pView = nullptr;
        view->OnEffectDialogClosed();
    }
    tellClosed(m_onClosed);
}

void CEffectEditorModel::SwapWithKept() {
    pnEffect* effect = m_bLoaded ? Effect() : nullptr;
    if (!effect) return;
    if (m_changed[kMove]) {
        const sgVec3 now = effect->getTrans();
        effect->setTrans(m_savedMove);
        m_savedMove = now;
    }
    if (m_changed[kScale]) {
        const sgVec3 now = effect->getScale();
        effect->setScale(m_savedScale);
        m_savedScale = now;
    }
    if (m_changed[kRotate]) {
        const float angle = effect->getRotAngle();
        const sgVec3 axis = effect->getRotAxis();
        effect->setRotAngle(m_fSavedAngle);
        effect->setRotAxis(m_savedAxis);
        m_fSavedAngle = angle;
        m_savedAxis = axis;
    }
}

void CEffectEditorModel::OnSceneWrite(bool writing) {
    // An Apply elsewhere is what the file gets; then the unapplied values go
    // out for the write and come back after it: the same exchange twice.
    if (writing) TakeOutsideChanges();
    SwapWithKept();
    NoteLeft();
}

void CEffectEditorModel::OnViewChange(ViewChange change) {
    if (change == ViewChange::FrameChanged) TakeOutsideChanges();
    else Close();
}
