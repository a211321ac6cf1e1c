#include "ui/animation/EffectFields.h"

#include "scene/pnEffect.h"
#include "ui/properties/rules/ControlRules.h"
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/LayoutFit.h"

#include <wx/sizer.h>
#include <wx/stattext.h>

#include <cstdio>
#include <cstdlib>

namespace {
wxString format(const char* fmt, float v) {
    char buf[64];
    // fmt is one of the fields' own float formats ("%.2f", "%.3f").
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    std::snprintf(buf, sizeof buf, fmt, v);
#pragma GCC diagnostic pop
    return buf;
}
// As every number field reads: C locale, and "inf", "nan" or a number no
// float holds count as no number.
float number(const CNumEdit* edit) { return edit ? static_cast<float>(ParseLeadingFloat(edit->GetText())) : 0.0f; }
}  // namespace

void CEffectFields::Create(wxWindow* parent, wxSizer* sizer, const int axisIds[3]) {
    auto* grid = new wxFlexGridSizer(4, 4, 4);
    auto row = [&](const char* label, CNumEdit** edits, const int* ids, int count) {
        grid->Add(new wxStaticText(parent, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL);
        for (int i = 0; i < 3; ++i) {
            if (i < count) {
                edits[i] = layout::FitEdit(new CNumEdit(parent, ids[i]), layout::kNumberSample);
                grid->Add(edits[i]);
            } else {
                grid->AddSpacer(1);
            }
        }
    };
    row("Move", move, kMoveIds, 3);
    row("Scale", scale, kScaleIds, 3);
    row("Angle", &angle, &kAngleId, 1);
    row("Axis", axis, axisIds, 3);
    sizer->Add(grid, 0, wxALL, 4);
}

int CEffectFields::GroupOf(int id) const {
    for (int i = 0; i < 3; ++i) {
        if (move[i] && move[i]->GetId() == id) return kMove;
        if (scale[i] && scale[i]->GetId() == id) return kScale;
        if (axis[i] && axis[i]->GetId() == id) return kRotate;
    }
    return angle && angle->GetId() == id ? kRotate : kNone;
}

void CEffectFields::ShowMove(const sgVec3& v) {
    for (int i = 0; i < 3; ++i) move[i]->ChangeValue(format("%.2f", v[i]));
}
void CEffectFields::ShowScale(const sgVec3& v) {
    for (int i = 0; i < 3; ++i) scale[i]->ChangeValue(format("%.2f", v[i]));
}
void CEffectFields::ShowRotation(float a, const sgVec3& v, const char* angleFormat) {
    angle->ChangeValue(format(angleFormat, a));
    for (int i = 0; i < 3; ++i) axis[i]->ChangeValue(format("%.3f", v[i]));
}
void CEffectFields::ShowEffect(const pnEffect& effect, const char* angleFormat) {
    ShowMove(effect.getTrans());
    ShowScale(effect.getScale());
    ShowRotation(effect.getRotAngle(), effect.getRotAxis(), angleFormat);
}
void CEffectFields::ShowField(int i, float value) { Edit(i)->ChangeValue(format(i < 6 ? "%.2f" : "%.3f", value)); }
CNumEdit* CEffectFields::Edit(int i) const {
    if (i < 3) return move[i];
    if (i < 6) return scale[i - 3];
    return i == 6 ? angle : axis[i - 7];
}

void CEffectFields::Clear() {
    for (int i = 0; i < 10; ++i) Edit(i)->ChangeValue("");
}

sgVec3 CEffectFields::Move() const { return sgVec3(number(move[0]), number(move[1]), number(move[2])); }
sgVec3 CEffectFields::Scale() const { return sgVec3(number(scale[0]), number(scale[1]), number(scale[2])); }
float CEffectFields::Angle() const { return number(angle); }
sgVec3 CEffectFields::Axis() const { return sgVec3(number(axis[0]), number(axis[1]), number(axis[2])); }

void CEffectFields::EnableRotationAndScale(bool on) {
    for (CNumEdit* e : {scale[0], scale[1], scale[2], angle, axis[0], axis[1], axis[2]}) e->Enable(on);
}

wxColour SwatchColour(const pnScene* scene, const std::string& materialName) {
    const pnMaterial* m = scene && !materialName.empty() ? scene->findMaterial(materialName.c_str()) : nullptr;
    if (!m) return wxColour(0xCC, 0xCC, 0xCC);
    const sgVec3 d = m->getDiffuse();
    auto byte = [](float f) { return static_cast<unsigned char>(std::min(255.0f, std::max(0.0f, f * 255.0f))); };
    return wxColour(byte(d[0]), byte(d[1]), byte(d[2]));
}
