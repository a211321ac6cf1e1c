#include "ui/properties/rules/CCameraPageLogic.h"

#include "editor/CEditScope.h"
#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "scene/pnScene.h"
#include "scene/pnViewpoint.h"
#include "ui/properties/rules/CLightPageLogic.h"
#include "ui/properties/rules/ControlRules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kWidthMin = 10, kWidthMax = 2000, kFovMin = 10, kFovMax = 120, kDistanceMin = 100, kDistanceMax = 5000;

pnViewpoint* currentViewpoint() {
    CKelvanoView* view = CurrentView();
    return PageHasScene(view) ? view->GetScene()->getViewpoint() : nullptr;
}

// "%.0f" of a value.
std::string whole(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", std::clamp(value, -1e9, 1e9));
    return text;
}

float length(const sgVec3& v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

// A typed number, read by its leading number, kept inside the slider's range
// (a number beyond the float range too).
int typedValue(const std::string& text, int lo, int hi) {
    return std::clamp(ClampedInt(std::round(ParseRangedFloat(text))), lo, hi);
}

}  // namespace

void CCameraPageLogic::UpdateEnabling() {
    CameraPageControls& c = m_controls;
    const int persp = c.perspective;
    const bool object = !m_bPreset && !m_bAnimation;
    c.radiosEnabled = object;
    c.widthSliderEnabled = c.fovSliderEnabled = object;
    c.widthEditEnabled = object && !persp;
    c.fovEditEnabled = c.distanceEditEnabled = object && persp;
    c.distanceSliderEnabled = !m_bPreset && (object || persp);
    c.resetEnabled = !m_bPreset;
}

void CCameraPageLogic::Edit(const std::function<void(pnViewpoint&)>& change) {
    CKelvanoView* view = CurrentView();
    pnViewpoint* viewpoint = currentViewpoint();
    if (!viewpoint) return;
    if (m_bAnimation) {
        // No step (animation mode has none), but the change is the document's;
        // the frame is posed again, so the camera's plays still move the eye.
        change(*viewpoint);
        view->GetScene()->applyViewpoint();
        view->SetModified();
        view->FrameContentChanged();
        return;
    }
    if (m_bSliderHeld) {
        // The held slider's step closes at the release.
        change(*viewpoint);
        Apply();
        return;
    }
    // Applying only reads the viewpoint: the step's after-state is the same.
    CEditScope edit(*view, viewpoint);
    change(*viewpoint);
    view->GetScene()->applyViewpoint();
}

void CCameraPageLogic::Apply() const {
    CKelvanoView* view = CurrentView();
    if (!PageHasScene(view)) return;
    view->GetScene()->applyViewpoint();
    view->Redraw();
}

void CCameraPageLogic::SetProjection(int perspective) {
    m_controls.perspective = perspective;
    if (pnViewpoint* viewpoint = currentViewpoint()) viewpoint->perspective = perspective;
    UpdateEnabling();
}

sgVec3 CCameraPageLogic::ShownEye() const {
    const pnViewpoint* viewpoint = currentViewpoint();
    if (!viewpoint) return m_vEye;
    const sgVec3 eye = viewpoint->getPosition();
    if (!m_bAnimation) return eye;
    const CKelvanoView* view = CurrentView();
    const pnScene* scene = view->GetScene();
    return eye + scene->getPlayedTranslation(scene->findEvent("Camera"), view->m_nCurrentFrame);
}

void CCameraPageLogic::LoadViewpoint() {
    const pnViewpoint* viewpoint = currentViewpoint();
    if (!viewpoint) return;
    m_vEye = ShownEye();
    const float distance = length(m_vEye);
    // A viewpoint from a file may lie beyond the int range.
    m_controls.distance = std::clamp(ClampedInt(std::round(distance)), kDistanceMin, kDistanceMax);
    m_controls.distanceText = whole(distance);
    m_controls.perspective = viewpoint->perspective ? 1 : 0;
    // Both, whichever projection is on: the other slider shows this scene's
    // value, which switching the projection writes.
    m_controls.fov = std::clamp(ClampedInt(std::round(viewpoint->fov)), kFovMin, kFovMax);
    m_controls.fovText = whole(viewpoint->fov);
    m_controls.width = std::clamp(ClampedInt(std::round(viewpoint->width)), kWidthMin, kWidthMax);
    m_controls.widthText = whole(viewpoint->width);
    UpdateEnabling();
}

void CCameraPageLogic::Lock(bool animation) {
    m_bAnimation = animation;
    if (!m_bPreset && PageHasScene(CurrentView())) {
        LoadViewpoint();
        if (!animation) Apply();
    }
    UpdateEnabling();
}

void CCameraPageLogic::FollowFrame() {
    if (m_bAnimation) LoadViewpoint();
}

void CCameraPageLogic::SetPresetView(bool on) {
    m_bPreset = on;
    if (!on) Lock(m_bAnimation);
    UpdateEnabling();
}

void CCameraPageLogic::OnOrthographic() {
    pnViewpoint* viewpoint = currentViewpoint();
    if (!viewpoint || m_bAnimation || m_bPreset) return;
    Edit([this](pnViewpoint& v) {
        SetProjection(0);
        v.width = float(m_controls.width);
    });
}

void CCameraPageLogic::OnPerspective() {
    pnViewpoint* viewpoint = currentViewpoint();
    if (!viewpoint || m_bAnimation || m_bPreset) return;
    Edit([this](pnViewpoint& v) {
        SetProjection(1);
        v.fov = float(m_controls.fov);
    });
}

void CCameraPageLogic::OnWidthScroll(int position) {
    if (!currentViewpoint() || m_bAnimation || m_bPreset) return;
    position = std::clamp(position, kWidthMin, kWidthMax);
    // The same position again (the thumb let go after its last move) is no change.
    if (position == m_controls.width && !m_controls.perspective) return;
    Edit([this, position](pnViewpoint& v) {
        SetProjection(0);
        m_controls.width = position;
        m_controls.widthText = std::to_string(position);
        v.width = float(position);
    });
}

void CCameraPageLogic::OnFovScroll(int position) {
    if (!currentViewpoint() || m_bAnimation || m_bPreset) return;
    position = std::clamp(position, kFovMin, kFovMax);
    if (position == m_controls.fov && m_controls.perspective) return;
    Edit([this, position](pnViewpoint& v) {
        SetProjection(1);
        m_controls.fov = position;
        m_controls.fovText = std::to_string(position);
        v.fov = float(position);
    });
}

void CCameraPageLogic::SetEyeDistance(float distance) {
    const float now = length(m_vEye);
    // An eye on the look-at point has no direction: it goes back along +Z.
    if (now <= 0.0f) m_vEye = sgVec3(0, 0, distance);
    else m_vEye = sgVec3(m_vEye[0] * distance / now, m_vEye[1] * distance / now, m_vEye[2] * distance / now);
}

void CCameraPageLogic::MoveEye(const sgVec3& eye, bool effect) {
    CKelvanoView* view = CurrentView();
    if (!PageHasScene(view)) return;
    if (m_bAnimation) {
        if (effect) {
            // From where the view shows the eye, whatever the page showed.
            const sgVec3 move = eye - ShownEye();
            CreatePageEffect(*view, "Camera", "camEffect", &move, std::string(), false);
        }
        // At the end of the new play, or where it stood when none was made.
        LoadViewpoint();
        return;
    }
    m_vEye = eye;
    Edit([&eye](pnViewpoint& v) { v.setPosition(eye); });
}

void CCameraPageLogic::OnDistanceScroll(int position, bool end) {
    if (!currentViewpoint() || m_bPreset) return;
    position = std::clamp(position, kDistanceMin, kDistanceMax);
    const bool changed = position != m_controls.distance || !m_controls.perspective;
    m_controls.distance = position;
    m_controls.distanceText = std::to_string(position);
    SetEyeDistance(float(position));
    if (!m_bAnimation) {
        if (changed) {
            Edit([this](pnViewpoint& v) {
                SetProjection(1);
                v.setPosition(m_vEye);
            });
        }
    } else if (end) {
        MoveEye(m_vEye, true);
    }
}

void CCameraPageLogic::OnWidthCommit(const std::string& text) {
    if (!currentViewpoint() || m_bAnimation || m_bPreset) return;
    m_controls.width = typedValue(text, kWidthMin, kWidthMax);
    m_controls.widthText = std::to_string(m_controls.width);
    Edit([this](pnViewpoint& v) { v.width = float(m_controls.width); });
}

void CCameraPageLogic::OnFovCommit(const std::string& text) {
    if (!currentViewpoint() || m_bAnimation || m_bPreset) return;
    m_controls.fov = typedValue(text, kFovMin, kFovMax);
    m_controls.fovText = std::to_string(m_controls.fov);
    Edit([this](pnViewpoint& v) { v.fov = float(m_controls.fov); });
}

void CCameraPageLogic::OnDistanceCommit(const std::string& text) {
    if (!currentViewpoint() || m_bAnimation || m_bPreset) return;
    m_controls.distance = typedValue(text, kDistanceMin, kDistanceMax);
    m_controls.distanceText = std::to_string(m_controls.distance);
    SetEyeDistance(float(m_controls.distance));
    MoveEye(m_vEye, false);
}

void CCameraPageLogic::OnSliderPressed() {
    CKelvanoView* view = CurrentView();
    if (!PageHasScene(view) || m_bAnimation || m_bPreset || m_bSliderHeld) return;
    view->GetDocument()->RecordUndoBeforeViewpoint(currentViewpoint());
    m_bSliderHeld = true;
}

void CCameraPageLogic::OnSliderReleased() {
    if (!m_bSliderHeld) return;
    m_bSliderHeld = false;
    if (CKelvanoView* view = CurrentView(); PageHasScene(view) && !m_bAnimation)
        view->GetDocument()->RecordUndoAfterViewpoint(currentViewpoint());
}

void CCameraPageLogic::OnReset() {
    CKelvanoView* view = CurrentView();
    if (!PageHasScene(view) || m_bPreset) return;
    Edit([](pnViewpoint& v) {
        v.setPosition(0, 0, kResetDistance);
        v.setLookAt(0, 0, 0);
        if (v.perspective) v.fov = 30.0f;
        else v.width = 720.0f;
    });
    LoadViewpoint();
    if (!m_bAnimation && view->GetHost() && view->GetHost()->MakeCurrent())
        view->GetScene()->drawInitial(view->AntiAliasPasses(view->m_nAntiAlias));
}

void CCameraPageLogic::OnPreviewDrop(const sgVec3& eye) {
    if (!currentViewpoint() || m_bPreset) return;
    MoveEye(eye, true);
    if (m_bAnimation) return;
    m_controls.distance = std::clamp(ClampedInt(std::round(length(eye))), kDistanceMin, kDistanceMax);
    m_controls.distanceText = whole(length(eye));
}
