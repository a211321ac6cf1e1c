// The rules of the property bar's Camera page, free of any window: the
// viewpoint's projection, width, field of view and eye distance, the eye the
// preview shows, what each control shows and whether it is enabled. In object
// mode each change is one viewpoint undo step (a slider drag is one step from
// press to release); in animation mode the page shows the eye where the view
// shows it at the current frame, and a move of the eye from there becomes a
// "camEffect" on the event "Camera".
#pragma once

#include "sg/sgVec.h"

#include <functional>
#include <string>

class pnViewpoint;

struct CameraPageControls {
    int perspective = 1;  // "Perspective" checked, else "Orthographic"
    int width = 720, fov = 30, distance = 906;  // slider positions
    std::string widthText = "720", fovText = "30", distanceText = "906";
    int radiosEnabled = 1;
    int widthSliderEnabled = 1, widthEditEnabled = 0;
    int fovSliderEnabled = 1, fovEditEnabled = 1;
    int distanceSliderEnabled = 1, distanceEditEnabled = 1;
    int resetEnabled = 1;
};

class CCameraPageLogic {
public:
    static constexpr float kResetDistance = 906.0f;

    // Fills the page from the scene's viewpoint (in animation mode, with the
    // eye where the current frame has it).
    void LoadViewpoint();
    // The view stands on another frame, or what its frame shows changed: in
    // animation mode the page shows the eye there.
    void FollowFrame();
    void Lock(bool animation);
    void SetPresetView(bool on);

    void OnOrthographic();
    void OnPerspective();
    // Slider moves; end marks the thumb let go or one key step.
    void OnWidthScroll(int position);
    void OnFovScroll(int position);
    void OnDistanceScroll(int position, bool end);
    void OnWidthCommit(const std::string& text);
    void OnFovCommit(const std::string& text);
    void OnDistanceCommit(const std::string& text);
    // The mouse went down on a slider, and let go of it.
    void OnSliderPressed();
    void OnSliderReleased();
    void OnReset();
    // The preview was let go with the eye at (x, y, z).
    void OnPreviewDrop(const sgVec3& eye);

    const CameraPageControls& Controls() const { return m_controls; }
    // The eye the preview shows.
    sgVec3 Eye() const { return m_vEye; }

private:
    void UpdateEnabling();
    // A change of the viewpoint, applied and drawn: one undo step unless a
    // slider drag holds one open, or in animation mode.
    void Edit(const std::function<void(pnViewpoint&)>& change);
    void SetProjection(int perspective);
    void Apply() const;
    // The eye the view shows: the viewpoint's, moved in animation mode by the
    // camera's plays up to the current frame.
    sgVec3 ShownEye() const;
    void SetEyeDistance(float distance);
    void MoveEye(const sgVec3& eye, bool effect);

    CameraPageControls m_controls;
    sgVec3 m_vEye{0, 0, kResetDistance};
    bool m_bAnimation = false;
    bool m_bPreset = false;
    bool m_bSliderHeld = false;
};
