#include "ui/properties/rules/CLightPageLogic.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/SceneLights.h"
#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "ui/properties/rules/ControlRules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kDistanceMin = 10, kDistanceMax = 2400;

std::string format2(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", std::clamp(value, -1e9f, 1e9f));
    return text;
}

// A cutoff of 0 or less, or of 180 or more, is no spot.
bool spotOff(float cutoff) { return cutoff <= 0.0f || cutoff >= 180.0f; }

}  // namespace

bool PageHasScene(const CKelvanoView* view) { return view && view->GetScene() && view->GetDocument(); }

std::string CreatePageEffect(CKelvanoView& view, const std::string& eventName, const char* base, const sgVec3* move,
                             const std::string& color, bool shorter) {
    pnScene* scene = view.GetScene();
    CKelvanoDoc* doc = view.GetDocument();
    if (!scene || !doc) return std::string();
    // 0: the view has told the user why (no such event, or the time line is
    // taken here).
    int length = view.GetFreeEffectLength(eventName);
    pnEvent* event = scene->findEvent(eventName.c_str());
    if (length <= 0 || !event) return std::string();
    if (shorter && event->getNumPlays() == 0 && length > 1) --length;
    const std::string name = view.MakeNumberedEffectName(base);
    if (name.empty()) return std::string();
    auto* effect = new pnEffect;
    effect->setName(name.c_str());
    if (move) effect->setTrans(*move);
    else effect->setColor(color.c_str());
    if (!scene->addEffect(effect)) {
        delete effect;
        return std::string();
    }
    const int start = view.m_nCurrentFrame;
    event->addPlay(name.c_str(), start, start + length, 1);
    doc->m_effectUses.emplace_back(name, 1);
    CFrameRelays* frame = view.Frame();
    if (move && frame) frame->AddEffectListName(name);
    view.SetCurrentFrame(start + length);
    view.RefreshAnimationBars(eventName, name);
    // The view goes to the frame the Frame box shows.
    view.Redraw();
    // The effect makes no undo step, but the scene has changed.
    view.SetModified();
    return name;
}

CLightPageLogic::CLightPageLogic() {
    m_preview.SetScale(kDistanceScale, -10 * kDistanceScale, 10 * kDistanceScale);
    for (int i = 0; i < kLightPreviewSlots; ++i) {
        const sgVec3& p = kLightSlotPositions[i];
        m_preview.SetLightPosition(i, p[0], p[1], p[2]);
        m_preview.m_slots[i].on = 1;
    }
}

pnLight* CLightPageLogic::Light(int slot) const {
    return slot >= 0 && slot < kLightPreviewSlots ? m_lights[slot] : nullptr;
}

pnLight* CLightPageLogic::CurrentLight() const { return PageHasScene(CurrentView()) ? Light(m_nCurrent) : nullptr; }

sgVec3 CLightPageLogic::ShownPosition(int slot) const {
    const pnLight* light = Light(slot);
    if (!light) return sgVec3(0, 0, 0);
    const CKelvanoView* view = CurrentView();
    if (!m_bAnimation || !PageHasScene(view)) return light->getPosition();
    const pnScene* scene = view->GetScene();
    return light->getPosition() +
           scene->getPlayedTranslation(scene->findEvent(light->getName().c_str()), view->m_nCurrentFrame);
}

void CLightPageLogic::Changed() const {
    CKelvanoView* view = CurrentView();
    if (!PageHasScene(view)) return;
    view->SetModified();
    view->Redraw();
}

void CLightPageLogic::InitSceneLights(int keep) {
    CKelvanoView* view = CurrentView();
    if (!PageHasScene(view)) return;
    pnScene& scene = *view->GetScene();
    const int first = ::InitSceneLights(scene, keep, view->GetHost());
    for (int i = 0; i < kLightPreviewSlots; ++i) {
        pnLight* light = scene.getLight(i);
        m_lights[i] = light;
        CLightPreviewModel::Slot& s = m_preview.m_slots[i];
        s.on = light && light->getOn();
        m_controls.check[i] = s.on;
        m_controls.radioEnabled[i] = s.on;
        if (!light) continue;
        const sgVec3 p = ShownPosition(i);
        m_preview.SetLightPosition(i, p[0], p[1], p[2]);
        s.positional = light->isPositional();
    }
    m_nCurrent = -1;
    if (first >= 0) ShowLight(first);
    else UpdateEnabling();
}

void CLightPageLogic::ShowMaterial(const std::string& name) {
    CKelvanoView* view = CurrentView();
    const pnMaterial* material =
        PageHasScene(view) && !name.empty() ? view->GetScene()->findMaterial(name.c_str()) : nullptr;
    CLightPreviewModel::Slot& s = m_preview.m_slots[m_nCurrent];
    if (!material) {
        m_controls.swatch = 0xCCCCCC;
        return;
    }
    const sgVec3 colours[4] = {material->getAmbient(), material->getDiffuse(), material->getSpecular(),
                               material->getEmission()};
    float* targets[4] = {s.ambient, s.diffuse, s.specular, s.emission};
    for (int c = 0; c < 4; ++c)
        for (int i = 0; i < 3; ++i) targets[c][i] = colours[c][i];
    s.shininess = material->getShininess();
    const sgVec3 d = material->getDiffuse();
    auto byte = [](float v) { return static_cast<unsigned long>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    m_controls.swatch = byte(d[0]) | (byte(d[1]) << 8) | (byte(d[2]) << 16);
}

void CLightPageLogic::ShowLight(int index) {
    pnLight* light = Light(index);
    if (!light) return;
    m_nCurrent = index;
    m_preview.m_nCurrent = index;
    CLightPreviewModel::Slot& s = m_preview.m_slots[index];
    s.on = light->getOn();
    m_controls.check[index] = s.on;
    m_controls.radioEnabled[index] = s.on;
    m_controls.radio = index;
    const sgVec3 p = ShownPosition(index);
    m_preview.SetLightPosition(index, p[0], p[1], p[2]);
    ShowMaterial(light->getMaterial());
    m_controls.intensity = static_cast<int>(std::lround(std::clamp(light->getIntensity(), 0.0f, 1.0f) * 100.0f));
    // A light far away (a position from a file) may give an infinite radius.
    m_controls.distance =
        std::clamp(ClampedInt(m_preview.GetLightSpherical(index).m_radius), kDistanceMin, kDistanceMax);
    const sgVec2 cone = light->getSpotCone();
    s.exponent = cone[0];
    s.cutoff = spotOff(cone[1]) ? 180.0f : cone[1];
    s.positional = light->isPositional();
    const sgVec3 direction = light->getSpotDirection();
    for (int i = 0; i < 3; ++i) s.direction[i] = direction[i];
    m_controls.exponent = format2(cone[0]);
    m_controls.cutoff = s.cutoff > 90.0f ? "30.00" : format2(s.cutoff);
    m_controls.directionX = format2(direction[0]);
    m_controls.directionY = format2(direction[1]);
    m_controls.directionZ = format2(direction[2]);
    m_controls.spotOff = spotOff(cone[1]) ? 1 : 0;
    m_controls.positional = s.positional;
    UpdateEnabling();
}

void CLightPageLogic::UpdateEnabling() {
    LightPageControls& c = m_controls;
    const pnLight* light = Light(m_nCurrent);
    const bool lit = light && light->getOn();
    const bool positional = lit && light->isPositional();
    c.lightButtonsEnabled = !m_bAnimation;
    c.intensityEnabled = !m_bAnimation && lit;
    c.kindEnabled = !m_bAnimation && lit;
    // A directional light has no distance or cone; in animation mode the
    // distance still moves the light (making an effect).
    c.distanceEnabled = lit && (m_bAnimation || positional);
    c.spotRadiosEnabled = !m_bAnimation && positional;
    c.spotEditsEnabled = c.spotRadiosEnabled && !c.spotOff;
    c.colorEnabled = lit;
}

void CLightPageLogic::Lock(bool animation) {
    m_bAnimation = animation;
    // Moves made as effects never reached the lights: object mode shows them
    // as they are, animation mode where the current frame has them.
    for (int i = 0; i < kLightPreviewSlots; ++i) {
        const pnLight* light = m_lights[i];
        if (!light || !light->getOn() || !PageHasScene(CurrentView())) continue;
        const sgVec3 p = ShownPosition(i);
        m_preview.SetLightPosition(i, p[0], p[1], p[2]);
    }
    if (Light(m_nCurrent)) ShowLight(m_nCurrent);
    UpdateEnabling();
}

void CLightPageLogic::FollowFrame() {
    if (!m_bAnimation || !PageHasScene(CurrentView())) return;
    for (int i = 0; i < kLightPreviewSlots; ++i) {
        if (!m_lights[i]) continue;
        const sgVec3 p = ShownPosition(i);
        m_preview.SetLightPosition(i, p[0], p[1], p[2]);
    }
    if (Light(m_nCurrent)) ShowLight(m_nCurrent);
}

void CLightPageLogic::OnLightButton(int slot, bool on) {
    pnLight* light = Light(slot);
    if (!light || !PageHasScene(CurrentView())) return;
    light->setOn(on ? 1 : 0);
    m_preview.m_slots[slot].on = on;
    m_controls.check[slot] = on;
    m_controls.radioEnabled[slot] = on;
    if (on) {
        ShowLight(slot);
    } else if (slot == m_nCurrent || m_nCurrent < 0) {
        int next = -1;
        for (int i = 0; i < kLightPreviewSlots && next < 0; ++i)
            if (i != slot && m_lights[i] && m_lights[i]->getOn()) next = i;
        if (next >= 0) {
            ShowLight(next);
        } else {
            m_nCurrent = -1;
            m_preview.m_nCurrent = -1;
            UpdateEnabling();
        }
    }
    Changed();
}

void CLightPageLogic::OnLightRadio(int slot) {
    if (!PageHasScene(CurrentView()) || !Light(slot) || !Light(slot)->getOn()) return;
    ShowLight(slot);
}

void CLightPageLogic::MoveCurrent(bool byDistance) {
    CKelvanoView* view = CurrentView();
    pnLight* light = CurrentLight();
    if (!light) return;
    float x = 0, y = 0, z = 0;
    m_preview.GetLightPosition(m_nCurrent, x, y, z);
    const sgVec3 now(x, y, z);
    if (m_bAnimation) {
        // From where the view shows the light, whatever the marker showed.
        const sgVec3 move = now - ShownPosition(m_nCurrent);
        CreatePageEffect(*view, light->getName(), "litEffect", &move, std::string(), byDistance);
        // At the end of the new play, or where it stood when none was made.
        FollowFrame();
    } else {
        light->setPosition(now);
        view->SetModified();
    }
    view->Redraw();
}

void CLightPageLogic::OnDistance(int position, bool end) {
    pnLight* light = CurrentLight();
    if (!light) return;
    CSphericalCoord p = m_preview.GetLightSpherical(m_nCurrent);
    p.m_radius = float(position) * m_preview.Scale() / kDistanceScale;
    m_preview.SetLightSpherical(m_nCurrent, p);
    m_controls.distance = position;
    if (!m_bAnimation) {
        float x = 0, y = 0, z = 0;
        m_preview.GetLightPosition(m_nCurrent, x, y, z);
        light->setPosition(x, y, z);
        Changed();
    }
    if (end) MoveCurrent(true);
}

void CLightPageLogic::OnIntensity(int position) {
    pnLight* light = CurrentLight();
    if (!light) return;
    light->setIntensity(float(position) * 0.01f);
    m_controls.intensity = position;
    Changed();
}

void CLightPageLogic::OnSpotOn(const std::string& cutoffText) {
    pnLight* light = CurrentLight();
    if (!light) return;
    const float cutoff = std::clamp(static_cast<float>(ParseRangedFloat(cutoffText)), 0.0f, 90.0f);
    light->setSpotCutoff(cutoff);
    m_preview.m_slots[m_nCurrent].cutoff = cutoff;
    m_controls.spotOff = 0;
    UpdateEnabling();
    Changed();
}

void CLightPageLogic::OnSpotOff() {
    pnLight* light = CurrentLight();
    if (!light) return;
    light->setSpotCutoff(180.0f);
    m_preview.m_slots[m_nCurrent].cutoff = 180.0f;
    m_controls.spotOff = 1;
    UpdateEnabling();
    Changed();
}

void CLightPageLogic::OnDirectional() {
    m_controls.positional = 0;
    if (pnLight* light = CurrentLight()) {
        light->setPositional(0);
        m_preview.m_slots[m_nCurrent].positional = 0;
        Changed();
    }
    UpdateEnabling();
}

void CLightPageLogic::OnPositional() {
    m_controls.positional = 1;
    if (pnLight* light = CurrentLight()) {
        light->setPositional(1);
        m_preview.m_slots[m_nCurrent].positional = 1;
        Changed();
    }
    UpdateEnabling();
}

void CLightPageLogic::OnNumCommit(Field field, const std::string& text) {
    pnLight* light = CurrentLight();
    if (!light) return;
    // The exponent and the cutoff hold a number beyond their range at it.
    const bool ranged = field == EXPONENT || field == CUTOFF;
    float value = static_cast<float>(ranged ? ParseRangedFloat(text) : ParseLeadingFloat(text));
    CLightPreviewModel::Slot& s = m_preview.m_slots[m_nCurrent];
    switch (field) {
    case EXPONENT:
        value = std::clamp(value, 1.0f, 128.0f);
        light->setSpotExponent(value);
        s.exponent = value;
        m_controls.exponent = format2(value);
        break;
    case CUTOFF:
        value = std::clamp(value, 0.0f, 90.0f);
        light->setSpotCutoff(value);
        s.cutoff = value;
        m_controls.cutoff = format2(value);
        break;
    case DIRECTION_X:
    case DIRECTION_Y:
    case DIRECTION_Z: {
        const int axis = field - DIRECTION_X;
        if (axis == 0) light->setSpotDirectionX(value);
        else if (axis == 1) light->setSpotDirectionY(value);
        else light->setSpotDirectionZ(value);
        s.direction[axis] = value;
        std::string* texts[3] = {&m_controls.directionX, &m_controls.directionY, &m_controls.directionZ};
        *texts[axis] = format2(value);
        break;
    }
    }
    Changed();
}

std::string CLightPageLogic::CurrentMaterial() const {
    const pnLight* light = Light(m_nCurrent);
    return light ? light->getMaterial() : std::string();
}

void CLightPageLogic::OnMaterialChosen(int materialIndex) {
    pnLight* light = CurrentLight();
    if (!light) return;
    CKelvanoView* view = CurrentView();
    const pnMaterial* material = view->GetScene()->getMaterial(materialIndex);
    if (!material) return;
    if (m_bAnimation) {
        CreatePageEffect(*view, light->getName(), "litEffect", nullptr, material->getName(), false);
        return;
    }
    light->setMaterial(material->getName().c_str());
    ShowMaterial(material->getName());
    Changed();
}

void CLightPageLogic::OnMaterialModified(int materialIndex) {
    pnLight* light = CurrentLight();
    if (!light) return;
    const pnMaterial* material = CurrentView()->GetScene()->getMaterial(materialIndex);
    if (material && material->getName() == light->getMaterial()) ShowMaterial(material->getName());
}

void CLightPageLogic::OnPreviewDrop() {
    if (!CurrentLight()) return;
    m_controls.distance =
        std::clamp(ClampedInt(m_preview.GetLightSpherical(m_nCurrent).m_radius), kDistanceMin, kDistanceMax);
    MoveCurrent(false);
}
