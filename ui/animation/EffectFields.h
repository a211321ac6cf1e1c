// The value edits the effect dialogs share: move X, Y, Z, scale X, Y, Z,
// the rotation angle and axis X, Y, Z. Programs write them with ChangeValue,
// so only typing reaches a dialog's text handler and ticks a group.
#pragma once

#include "sg/sgVec.h"

#include <wx/colour.h>

#include <string>

class CNumEdit;
class pnEffect;
class pnScene;
class wxSizer;
class wxWindow;

struct CEffectFields {
    enum Group { kNone = -1, kMove = 0, kScale = 1, kRotate = 2 };
    static constexpr int kMoveIds[3] = {1610, 1258, 1263};
    static constexpr int kScaleIds[3] = {1620, 1306, 1318};
    static constexpr int kAngleId = 1614;

    // Lays the edits out in rows "Move", "Scale", "Angle" and "Axis" (the
    // axis with the dialog's own ids).
    void Create(wxWindow* parent, wxSizer* sizer, const int axisIds[3]);
    // The group of an edit's id, kNone for another control.
    int GroupOf(int id) const;

    void ShowMove(const sgVec3& v);
    void ShowScale(const sgVec3& v);
    // angleFormat: "%.3f" (or "%.2f" where an existing effect is shown).
    void ShowRotation(float angle, const sgVec3& axis, const char* angleFormat = "%.3f");
    void ShowEffect(const pnEffect& effect, const char* angleFormat = "%.3f");
    // One edit (in Edit's order) as ShowEffect shows it.
    void ShowField(int i, float value);
    void Clear();
    // Each edit read by its leading number (0 when there is none).
    sgVec3 Move() const;
    sgVec3 Scale() const;
    float Angle() const;
    sgVec3 Axis() const;
    void EnableRotationAndScale(bool on);
    // The ten edits in the order move, scale, angle, axis.
    CNumEdit* Edit(int i) const;

    CNumEdit* move[3] = {};
    CNumEdit* scale[3] = {};
    CNumEdit* angle = nullptr;
    CNumEdit* axis[3] = {};
};

// The swatch of a material name: its diffuse colour x 255, grey 0xCCCCCC for
// an empty name or one the scene lacks.
wxColour SwatchColour(const pnScene* scene, const std::string& materialName);
// Effect names are kept in 127 characters (sgCutName).
constexpr int kEffectNameChars = 127;
