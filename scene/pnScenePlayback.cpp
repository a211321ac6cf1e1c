// Playback: puts the whole scene into the state of one frame. Every event's
// finished plays and its running play apply their effects to the event's
// target (an object through the event's transform node, a light or the
// camera); pause frames and sound cues are reported as the frame reaches them.
#include <GL/gl.h>

#include <cstdio>
#include <string_view>
#include <unordered_map>

#include "platform/SoundPlayer.h"
#include "scene/pnCounter.h"
#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "scene/pnViewpoint.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgChannel.h"
#include "sg/sgDCS.h"
#include "sg/sgLightSource.h"
#include "sg/sgMatrix.h"
#include "sg/sgNode.h"

// Objects and effects by name for one setFrame: the lists are searched
// linearly, which a scene of a thousand events would do a million times a
// frame. The first item of a name wins, as in the lists' own look-ups.
struct pnScene::NameIndex {
    std::unordered_map<std::string_view, pnObject*> objects;
    std::unordered_map<std::string_view, pnEffect*> effects;
};

struct pnScene::Target {
    enum Kind { NONE, VIEWPOINT, LIGHT, OBJECT } kind = NONE;
    pnLight* light = nullptr;
    pnObject* object = nullptr;
};

namespace {

// The event's transform node: the parent of its object's switch node.
sgDCS* eventTransform(const pnEvent* event) {
    sgSwitch* sw = event ? event->getNode() : nullptr;
    sgNode* parent = sw ? sw->getParent() : nullptr;
    return parent && parent->isOfType("sgDCS") ? static_cast<sgDCS*>(parent) : nullptr;
}

// Rotation about an axis of any length (the quaternion wants a unit axis).
sgMatrix rotation(float angle, sgVec3 axis) {
    axis.normalize();
    sgMatrix m;
    m.rotate(angle, axis[0], axis[1], axis[2]);
    return m;
}

sgMatrix translation(const sgVec3& v) {
    sgMatrix m;
    m.translate(v[0], v[1], v[2]);
    return m;
}

void placeLight(pnLight* light, const sgVec3& p) {
    if (sgLightSource* node = light->getLightNode())
        node->setPosition(p[0], p[1], p[2], light->isPositional() ? 1.0f : 0.0f);
}

sgVec3 blend(const sgVec3& base, const sgVec3& goal, float t) { return goal * t + base * (1.0f - t); }

// Where a play of the effect has moved its target at fraction t.
sgVec3 effectStep(const pnEffect& effect, float t) {
    return effect.getNumPathPoints() > 2 ? effect.getBezierPoint(t) : effect.getTrans() * t;
}

}  // namespace

float pnScene::playFraction(int frame, int start, int end) {
    if (frame > end) return 0.0f;
    if (frame == end || end == start) return 1.0f;
    if (frame == start) return 0.0f;
    return static_cast<float>(frame - start) / static_cast<float>(end - start);
}

sgVec3 pnScene::getPlayedTranslation(const pnEvent* event, int frame) const {
    // The walk of playEvent: finished plays at their end, then the running one.
    sgVec3 moved(0, 0, 0);
    const int numPlays = event ? event->getNumPlays() : 0;
    for (int i = 0; i < numPlays; ++i) {
        const pnEventPlay* play = event->getPlay(i);
        const pnEffect* effect = findEffect(play->effect.c_str());
        if (frame >= play->end) {
            if (effect) moved = moved + effectStep(*effect, 1.0f);
            continue;
        }
        if (effect && play->start <= frame) moved = moved + effectStep(*effect, playFraction(frame, play->start, play->end));
        break;
    }
    return moved;
}

pnScene::Target pnScene::findTarget(const pnEvent* event, pnObject* object) const {
    Target target;
    const char* first = event ? event->getObjectName(0) : nullptr;
    if (!first) return target;
    if (viewpoint && viewpoint->getName() == first) {
        target.kind = Target::VIEWPOINT;
    } else if (pnLight* light = findLight(first)) {
        target.kind = Target::LIGHT;
        target.light = light;
    } else if ((target.object = object ? object : findObject(first)) != nullptr) {
        target.kind = Target::OBJECT;
    }
    return target;
}

// ---- camera and lights ----

void pnScene::applyCamera() {
    sgChannel* ch = sgChannel::sgGetChannel();
    if (!ch || !viewpoint) return;
    const pnViewpoint& v = *viewpoint;
    ch->setFOV(-1, v.fov);
    ch->setNearFar(v.near, v.far);
    sgVec3 p = v.getPosition(), c = v.getLookAt(), u = v.getUpVector();
    ch->setLookAt(p[0], p[1], p[2], c[0], c[1], c[2], u[0], u[1], u[2]);
}

void pnScene::applyCameraIfTarget(pnEvent* event) {
    if (findTarget(event, nullptr).kind == Target::VIEWPOINT) applyCamera();
}

void pnScene::resetLights() {
    if (getNumLights() > 0) placeLight(getLight(0), getLight(0)->getPosition());
}

void pnScene::resetLightForEvent(pnEvent* event) {
    Target target = findTarget(event, nullptr);
    if (target.kind == Target::LIGHT) placeLight(target.light, target.light->getPosition());
}

void pnScene::resetEventTarget(pnEvent* event, pnObject* object) {
    Target target = findTarget(event, object);
    sgChannel* ch = sgChannel::sgGetChannel();
    // A colour fade of an earlier frame goes: the target shows its own colours.
    if (event && event->getColorMaterial()) {
        if (target.kind == Target::OBJECT) pnMaterial::clearFade(target.object->getTransNode());
        if (target.kind == Target::LIGHT) resetLightColor(target.light);
        event->setColorMaterial(nullptr);
    }
    if (target.kind == Target::VIEWPOINT) {
        sgVec3 p = viewpoint->getPosition(), c = viewpoint->getLookAt(), u = viewpoint->getUpVector();
        if (ch) ch->setLookAt(p[0], p[1], p[2], c[0], c[1], c[2], u[0], u[1], u[2]);
        return;
    }
    if (target.kind == Target::LIGHT) {
        placeLight(target.light, target.light->getPosition());
        return;
    }
    if (pnCounter* counter = pnKindCast<pnCounter>(target.object)) counter->showFrame(0);
    if (sgDCS* dcs = eventTransform(event)) dcs->setMatrix(sgMatrix());
}

// ---- one frame ----

// The walk of one event: finished plays at their end frames, then the running
// play at frame. chart is the chart whose own event this is, or null.
void pnScene::playEvent(int frame, pnEvent* event, pnChartAccess* chart, const NameIndex* index) {
    const int numPlays = event->getNumPlays();
    sgSwitch* sw = event->getNode();
    event->resetState();
    const char* first = event->getObjectName(0);
    pnObject* object = nullptr;
    if (first && chart) {
        object = chart->findChartPart(first);
    } else if (first && index) {
        auto it = index->objects.find(first);
        object = it == index->objects.end() ? nullptr : it->second;
    } else if (first) {
        object = findObject(first);
    }

    if (numPlays == 0) {
        if (chart) return;
        if (object && object->getTexMode() == pnObject::TEXMODE_SEQUENCE) object->setTexFrame(-1);
        resetEventTarget(event, object);
        // Nothing animates it: shown as at rest, also after its last play went
        // (before that play the switch hid it).
        if (sw) sw->setVal(event->getHidden() ? sgSwitch::SG_SWITCH_OFF : sgSwitch::SG_SWITCH_ON);
        return;
    }

    auto run = [&](const pnEventPlay* play, int at) {
        event->setCurFrames(play->start, play->end);
        if (sw) sw->setVal(play->visible ? sgSwitch::SG_SWITCH_ON : sgSwitch::SG_SWITCH_OFF);
        pnEffect* effect = nullptr;
        if (chart) {
            effect = chart->findChartEffect(play->effect.c_str());
        } else if (index) {
            auto it = index->effects.find(play->effect);
            effect = it == index->effects.end() ? nullptr : it->second;
        } else {
            effect = findEffect(play->effect.c_str());
        }
        if (!effect) {
            std::fprintf(stderr, "ERROR: effect name, %s, not found.\n", play->effect.c_str());
            return;
        }
        if (!chart) {
            applyEffect(at, event, effect, object);
        } else if (object) {
            // Text parts and line joints move like any object; the rest grow
            // the chart kind's own way.
            if (pnIsKind(object, pnObjectKind::String) || object->getLineFlag())
                applyEffect(at, event, effect, object);
            else
                applyChartEffect(at, event, effect, object, dynamic_cast<pnObject*>(chart));
        }
    };

    // A counter shows its start value until a count of this frame, finished or
    // running, sets it: a value left from another frame showed in the plays
    // before its first count.
    if (pnCounter* counter = pnKindCast<pnCounter>(object)) counter->showFrame(0);

    int finished = 0;
    while (finished < numPlays) {
        const pnEventPlay* play = event->getPlay(finished);
        if (frame < play->end) break;
        run(play, play->end);
        ++finished;
    }
    if (finished == 0 && frame < event->getPlay(0)->start) {
        if (sw) sw->setVal(sgSwitch::SG_SWITCH_OFF);
        if (chart) return;
        resetEventTarget(event, object);
        applyCameraIfTarget(event);
        resetLightForEvent(event);
        return;
    }
    const pnEventPlay* running = event->getPlay(finished < numPlays ? finished : numPlays - 1);
    if (running->start <= frame && frame < running->end) run(running, frame);
}

void pnScene::setFrame(int frame) {
    poseFrame(frame);
    reachFrame(frame);
}

void pnScene::poseFrame(int frame) {
    NameIndex index;
    index.objects.reserve(static_cast<size_t>(getNumObjects()));
    for (int i = 0; i < getNumObjects(); ++i) index.objects.emplace(getObject(i)->getName(), getObject(i));
    for (int i = 0; i < getNumEffects(); ++i) index.effects.emplace(getEffect(i)->getName(), getEffect(i));
    for (int i = 0; i < getNumEvents(); ++i) playEvent(frame, getEvent(i), nullptr, &index);
    for (int i = 0; i < getNumCharts(); ++i) {
        pnChartAccess* chart = chartAccess(getChart(i));
        for (int e = 0; chart && e < chart->getNumChartEvents(); ++e)
            playEvent(frame, chart->getChartEvent(e), chart, nullptr);
    }
}

void pnScene::reachFrame(int frame) {
    // The cursors walk the used entries only; past the last one they rest at
    // NO_LATER_FRAME.
    if (!pauses.empty()) {
        if (frame != nextPause) {
            nextPause = NO_LATER_FRAME;
            for (int p : pauses) {
                if (p >= frame) {
                    nextPause = p;
                    break;
                }
            }
        }
        if (frame == nextPause) {
            if (roots) roots->pauseReached = 1;
            nextPause = getNextPause(frame);
        }
    }
    if (!sounds.empty()) {
        if (frame != nextSoundFrame) {
            nextSound = pnSound();
            nextSound.frame = NO_LATER_FRAME;
            for (const pnSound& s : sounds) {
                if (s.frame >= frame) {
                    nextSound = s;
                    break;
                }
            }
            nextSoundFrame = nextSound.frame;
        }
        if (frame == nextSoundFrame) getSoundPlayer().play(findSoundCue(nextSound.file));
    }
}

void pnScene::resetAnimation() {
    applyCamera();
    resetLights();
    for (int i = 0; i < getNumEvents(); ++i) {
        pnEvent* event = getEvent(i);
        const char* first = event->getObjectName(0);
        resetEventTarget(event, first ? findObject(first) : nullptr);
        if (sgSwitch* sw = event->getNode()) {
            sw->setVal(event->getHidden() ? sgSwitch::SG_SWITCH_OFF : sgSwitch::SG_SWITCH_ON);
            if (sgDCS* dcs = eventTransform(event)) dcs->setMatrix(sgMatrix());
        }
    }
    // Each chart part shows the end of its event's first play (generated
    // events: fully grown).
    for (int i = 0; i < getNumCharts(); ++i) {
        pnObject* chartObject = getChart(i);
        pnChartAccess* chart = chartAccess(chartObject);
        for (int e = 0; chart && e < chart->getNumChartEvents(); ++e) {
            pnEvent* event = chart->getChartEvent(e);
            if (sgSwitch* sw = event->getNode())
                sw->setVal(event->getHidden() ? sgSwitch::SG_SWITCH_OFF : sgSwitch::SG_SWITCH_ON);
            event->resetState();
            const pnEventPlay* play = event->getPlay(0);
            if (!play) continue;
            event->setCurFrames(play->start, play->end);
            pnEffect* effect = chart->findChartEffect(play->effect.c_str());
            const char* first = event->getObjectName(0);
            pnObject* part = first ? chart->findChartPart(first) : nullptr;
            if (!effect || !part) continue;
            if (pnIsKind(part, pnObjectKind::String) || part->getLineFlag())
                applyEffect(play->end, event, effect, part);
            else
                applyChartEffect(play->end, event, effect, part, chartObject);
        }
    }
}

// ---- effects ----

void pnScene::applyEffect(int frame, pnEvent* event, pnEffect* effect, pnObject* targetObject) {
    if (!event || !effect) return;
    const int start = event->getCurStart();
    const int end = event->getCurEnd();
    const float t = playFraction(frame, start, end);
    const sgVec3 step = effectStep(*effect, t);
    const Target target = findTarget(event, targetObject);

    if (effect->getFlag(pnEffect::COLOR_FLAG)) {
        fadeTarget(target, event, effect, event->getBaseMaterial(), t);
        event->setColorMaterial(findMaterial(effect->getColor().c_str()));
    } else if (event->getBaseMaterial() != event->getColorMaterial()) {
        fadeTarget(target, event, effect, event->getBaseMaterial(), 0.0f);
        event->setColorMaterial(event->getBaseMaterial());
    }

    const sgVec3 acc = event->getAccTrans();
    const sgVec3 accScale = event->getAccScale();
    const sgVec3 newScale =
        effect->getFlag(pnEffect::SCALE_FLAG) ? accScale + (effect->getScale() - accScale) * t : accScale;

    if (target.kind == Target::VIEWPOINT) {
        sgChannel* ch = sgChannel::sgGetChannel();
        sgVec3 p = viewpoint->getPosition() + acc + step, c = viewpoint->getLookAt(), u = viewpoint->getUpVector();
        if (ch) ch->setLookAt(p[0], p[1], p[2], c[0], c[1], c[2], u[0], u[1], u[2]);
    } else if (target.kind == Target::LIGHT) {
        placeLight(target.light, target.light->getPosition() + acc + step);
    } else {
        pnObject* object = target.object;
        if (object && object->getTexMode() == pnObject::TEXMODE_SEQUENCE) {
            int texFrame = 0;
            if (frame >= end)
                texFrame = end - start;
            else if (frame > start)
                texFrame = frame - start;
            object->setTexFrame(texFrame);
        }
        // A growing counter counts over the frames of the play applied now,
        // whatever play it met before.
        pnCounter* counter = pnKindCast<pnCounter>(object);
        if (counter && effect->getFlag(pnEffect::GROW_FLAG)) {
            counter->setFrames(start, end);
            counter->showFrame(frame - start);
        }
        sgVec3 c = acc;
        if (effect->getFlag(pnEffect::CENTER_FLAG))
            c = effect->getCenter();
        else if (event->getNumObjectNames() > 0 && object)
            c = object->getSetFlag(pnObject::CENTER_FLAG) ? object->getCenter() : object->getPosition() + acc;

        // Each product X x Y applies X first: the object moves by the
        // accumulated translation about the centre, is scaled and turned there,
        // and goes back to the centre plus this play's step.
        sgMatrix scaleM;
        scaleM.scale(newScale[0], newScale[1], newScale[2]);
        sgMatrix turn = event->getAccMatrix();
        turn.postMult(rotation(t * effect->getRotAngle(), effect->getRotAxis()));
        sgMatrix m = scaleM;
        m.postMult(turn);
        const sgMatrix toCentre = translation(c + step);
        if (effect->getPivotAngle() != 0.0f) {
            sgMatrix pivot = rotation(effect->getPivotAngle(), effect->getPivotAxis());
            pivot.postMult(toCentre);
            m.postMult(pivot);
        } else {
            m.postMult(toCentre);
        }
        sgMatrix result = translation(acc - c);
        result.postMult(m);
        if (sgDCS* dcs = eventTransform(event)) dcs->setMatrix(result);
    }

    if (frame == end) composeEventTransform(event, effect, step, newScale);
}

void pnScene::composeEventTransform(pnEvent* event, pnEffect* effect, const sgVec3& step, const sgVec3& newScale) {
    if (!event || !effect) return;
    event->setAccTrans(event->getAccTrans() + step);
    event->setAccScale(newScale);
    sgMatrix m = event->getAccMatrix();
    m.postMult(rotation(effect->getRotAngle(), effect->getRotAxis()));
    event->setAccMatrix(m);
}

void pnScene::applyChartEffect(int frame, pnEvent* event, pnEffect* effect, pnObject* part, pnObject* chartObject) {
    pnChartAccess* chart = chartAccess(chartObject);
    if (chart && event && effect && part) chart->applyChartEffect(*this, frame, event, effect, part);
}

// ---- colour fades ----

void pnScene::applyColorEffect(pnEvent* event, pnEffect* effect, pnMaterial* base, float t) {
    if (!event || !effect) return;
    fadeTarget(findTarget(event, nullptr), event, effect, base, t);
}

void pnScene::fadeTarget(const Target& target, pnEvent* event, pnEffect* effect, pnMaterial* base, float t) {
    if (!base) {
        if (target.kind == Target::OBJECT && target.object->hasMaterial())
            base = findMaterial(target.object->getMaterialName().c_str());
        else if (target.kind == Target::LIGHT && target.light->hasMaterial())
            base = findMaterial(target.light->getMaterial().c_str());
    }
    pnMaterial fallback;
    if (!base) base = defaultMaterial ? defaultMaterial.get() : &fallback;
    pnMaterial* goal = effect->getColor().empty() ? nullptr : findMaterial(effect->getColor().c_str());

    if (target.kind == Target::LIGHT) {
        sgLightSource* node = target.light->getLightNode();
        if (node && goal) {
            pnMaterial faded;
            fadeMaterial(faded, *base, *goal, t);
            sgVec3 a = faded.getAmbient(), d = faded.getDiffuse(), s = faded.getSpecular();
            node->setColor(GL_AMBIENT, a[0], a[1], a[2]);
            node->setColor(GL_DIFFUSE, d[0], d[1], d[2]);
            node->setColor(GL_SPECULAR, s[0], s[1], s[2]);
        } else if (node) {
            resetLightColor(target.light);
        }
    } else if (target.kind == Target::OBJECT && goal) {
        // Below the object's own transform only: child events hang beside it.
        pnMaterial faded;
        fadeMaterial(faded, *base, *goal, t);
        faded.fade(target.object->getTransNode());
    } else if (target.kind == Target::OBJECT) {
        // No goal: every colour stays the base colour, the object's own.
        pnMaterial::clearFade(target.object->getTransNode());
    }
    if (t != 1.0f) event->setBaseMaterial(goal);
}

void pnScene::fadeMaterial(pnMaterial& out, const pnMaterial& base, const pnMaterial& goal, float t) {
    out.setAmbient(goal.getSetFlag(pnMaterial::AMBIENT_FLAG) ? blend(base.getAmbient(), goal.getAmbient(), t)
                                                             : base.getAmbient());
    out.setDiffuse(goal.getSetFlag(pnMaterial::DIFFUSE_FLAG) ? blend(base.getDiffuse(), goal.getDiffuse(), t)
                                                             : base.getDiffuse());
    out.setEmission(goal.getSetFlag(pnMaterial::EMISSION_FLAG) ? blend(base.getEmission(), goal.getEmission(), t)
                                                               : base.getEmission());
    out.setSpecular(goal.getSetFlag(pnMaterial::SPECULAR_FLAG) ? blend(base.getSpecular(), goal.getSpecular(), t)
                                                               : base.getSpecular());
    out.setShininess(base.getShininess());
    out.setAlpha(base.getAlpha());
}

void pnScene::resetLightColor(pnLight* light) {
    sgLightSource* node = light ? light->getLightNode() : nullptr;
    if (!node) return;
    const pnMaterial* m = light->hasMaterial() ? findMaterial(light->getMaterial().c_str()) : nullptr;
    // A light without a material shows the light source's own colours.
    sgVec3 a(0.2f, 0.2f, 0.2f), d(1, 1, 1), s(1, 1, 1);
    if (m) a = m->getAmbient(), d = m->getDiffuse(), s = m->getSpecular();
    node->setColor(GL_AMBIENT, a[0], a[1], a[2]);
    node->setColor(GL_DIFFUSE, d[0], d[1], d[2]);
    node->setColor(GL_SPECULAR, s[0], s[1], s[2]);
}
