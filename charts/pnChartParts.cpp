// The chart's generated parts: the lists of parts, events and effects, the
// slots of each point, the helpers the kinds' makers share, and the side the
// scene reaches through pnChartAccess.
#include "charts/pnChart.h"

#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnMaterial.h"
#include "sg/sgDCS.h"
#include "sg/sgNode.h"
#include "sg/sgRuntime.h"

// ---- part lists ----

namespace {
template <class T>
T* findNamed(const pnOwnedList<T>& list, const char* n) {
    if (!n) return nullptr;
    for (int k = 0; k < list.size(); ++k) {
        T* item = list.get(k);
        if (item->getName() == n) return item;
    }
    return nullptr;
}
}  // namespace

pnObject* pnChart::findObject(const char* n) const { return findNamed(objects, n); }
pnEffect* pnChart::findEffect(const char* n) const { return findNamed(effects, n); }
pnEvent* pnChart::findEvent(const char* n) const { return findNamed(events, n); }

int pnChart::addObject(pnObject* object) {
    if (!object || hasObject(object->getName().c_str())) return 0;
    if (!objects.append(std::unique_ptr<pnObject>(object))) return 0;
    object->setPartFlag(1);
    if (scene) object->setScene(scene);
    return 1;
}

int pnChart::addEvent(pnEvent* event) {
    if (!event || hasEvent(event->getName().c_str())) return 0;
    return events.append(std::unique_ptr<pnEvent>(event));
}

int pnChart::addEffect(pnEffect* effect) {
    if (!effect || hasEffect(effect->getName().c_str())) return 0;
    return effects.append(std::unique_ptr<pnEffect>(effect));
}

pnObject* pnChart::getObject(int k) const { return objects.get(k); }
pnEvent* pnChart::getEvent(int k) const { return events.get(k); }
pnEffect* pnChart::getEffect(int k) const { return effects.get(k); }
int pnChart::indexOfObject(const pnObject* object) const { return objects.find(object); }
pnEvent* pnChart::getChartEvent(int k) const { return events.at(k); }
pnObject* pnChart::getChartPart(int k) const { return objects.at(k); }

int pnChart::removeObject(pnObject* object) {
    if (getNumObjects() == 0) {
        debugPrint("[pnChart::removeObject] Tried to delete non-existing object");
        return 0;
    }
    // The caller takes the object back.
    return objects.take(object).release() ? 1 : 0;
}

int pnChart::removeEvent(pnEvent* event) {
    if (getNumEvents() == 0) {
        debugPrint("[pnChart::removeEvent] Tried to delete non-existing event");
        return 0;
    }
    return events.take(event).release() ? 1 : 0;
}

int pnChart::removeEffect(pnEffect* effect) {
    if (getNumEffects() == 0) {
        debugPrint("[pnChart::removeEffect] Tried to delete non-existing effect");
        return 0;
    }
    return effects.take(effect).release() ? 1 : 0;
}

int pnChart::getDataPtObjectIndex(int i) const {
    switch (layout()) {
    case LAYOUT_LINE: return 3 * i - 1;
    case LAYOUT_LINE_JOINTS: return 4 * i - 1;
    case LAYOUT_VOLUME: return i == 0 ? -1 : 4 * i - 2;
    default: return 3 * i;
    }
}

int pnChart::getNumObjectsPerDataPt() const {
    const Layout l = layout();
    return (l == LAYOUT_VOLUME || l == LAYOUT_LINE_JOINTS) ? 4 : 3;
}

int pnChart::hasPartSlot(int i, int which) const {
    if (i < 0) return 0;
    switch (which) {
    case PART_MAIN: return getDataPtObjectIndex(i) >= 0;
    case PART_DATA_TEXT:
    case PART_LABEL: return 1;
    case PART_EXTRA: {
        const Layout l = layout();
        return l == LAYOUT_LINE_JOINTS || (l == LAYOUT_VOLUME && i >= 1);
    }
    default: return 0;
    }
}

pnObject* pnChart::getDataPtPart(int i, int which) const {
    if (!hasPartSlot(i, which)) return nullptr;
    return getChartPart(getDataPtObjectIndex(i) + which);
}

pnEvent* pnChart::getDataPtEvent(int i, int which) const {
    if (!hasPartSlot(i, which)) return nullptr;
    return getChartEvent(getDataPtObjectIndex(i) + which);
}

int pnChart::findDataPtPart(pnObject* part, int* point, int* which) {
    const int k = indexOfObject(part);
    if (k < 0) return 0;
    int w, p;
    switch (layout()) {
    case LAYOUT_LINE:
        w = (k + 1) % 3;
        p = (k + 1) / 3;
        break;
    case LAYOUT_LINE_JOINTS:
        w = (k + 1) % 4;
        p = (k + 1) / 4;
        break;
    case LAYOUT_VOLUME:
        if (k < 2) {
            w = k + 1;
            p = 0;
        } else {
            w = (k + 2) % 4;
            p = (k + 2) / 4;
        }
        break;
    default:
        w = k % 3;
        p = k / 3;
        break;
    }
    if (point) *point = p;
    if (which) *which = w;
    return 1;
}

int pnChart::findDataPtPart(pnObject* part, std::string* chartName, int* which, int* point) {
    if (!findDataPtPart(part, point, which)) return 0;
    if (chartName) *chartName = name;
    return 1;
}

int pnChart::getLastFrame() const {
    int last = 0;
    for (int k = 0; k < getNumEvents(); ++k) {
        const pnEvent* ev = events.get(k);
        if (ev->getNumPlays() > 0) last = std::max(last, ev->getPlay(ev->getNumPlays() - 1)->end);
    }
    return last;
}

// ---- helpers of the kinds' makers and timing ----

pnEffect* pnChart::newEffect(const std::string& n) {
    auto* e = new pnEffect;
    e->setName(n.c_str());
    return e;
}

pnEvent* pnChart::newEvent(const std::string& n) {
    auto* ev = new pnEvent;
    ev->setName(n.c_str());
    ev->setObjectName(n.c_str());
    return ev;
}

pnEvent* pnChart::makeGrowEvent(int i, const char* parent, const char* suffix, const char* shrinkSuffix,
                                int hideDelay) const {
    const pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    const std::string n = generatedName(suffix, i);
    pnEvent* ev = newEvent(n);
    ev->addPlay(n.c_str(), p.startTime, p.endTime, 1);
    if (hasShrink(p)) {
        const std::string shrink = generatedName(shrinkSuffix, i);
        ev->addPlay(shrink.c_str(), p.shrinkStart, p.shrinkEnd, 1);
        ev->addPlay(shrink.c_str(), p.shrinkEnd + hideDelay, p.shrinkEnd + hideDelay + 1, 0);
    }
    ev->setParent(parent);
    return ev;
}

pnEvent* pnChart::newTextEvent(const std::string& n, const std::string& effect, int from, int to, int show,
                               const char* parent) {
    pnEvent* ev = newEvent(n);
    ev->addPlay(effect.c_str(), from, to, show ? 1 : 0);
    ev->setHidden(show ? 0 : 1);
    ev->setParent(parent);
    return ev;
}

pnChart::FollowerTimes pnChart::followerTimes(int i, bool ownShrink) const {
    const bool borrowed = i == 0 && !hasPartSlot(0, PART_MAIN) && getNumDataPts() > 1;
    const pnChartDataPt& p = dataPts[borrowed ? 1 : static_cast<size_t>(i)];
    const pnChartDataPt& own = dataPts[static_cast<size_t>(i)];
    const pnChartDataPt& shrinking = borrowed && ownShrink ? own : p;
    FollowerTimes t;
    t.show = borrowed ? p.startTime : p.endTime;
    t.hides = hasShrink(shrinking);
    t.hide = borrowed && !ownShrink ? p.shrinkEnd : shrinking.shrinkStart;
    return t;
}

pnEvent* pnChart::makeFollowerEvent(int i, const std::string& n, const char* effectSuffix, int show,
                                    const char* parent, bool ownShrink) const {
    if (!validPoint(i)) return nullptr;
    const FollowerTimes t = followerTimes(i, ownShrink);
    const std::string effect = generatedName(effectSuffix);
    pnEvent* ev = newTextEvent(n, effect, t.show, t.show, show, parent);
    if (t.hides) ev->addPlay(effect.c_str(), t.hide, t.hide + 1, 0);
    return ev;
}

void pnChart::retimeFollower(int i, int which, bool ownShrink) {
    if (!validPoint(i)) return;
    pnEvent* ev = getDataPtEvent(i, which);
    const pnEventPlay* first = ev ? ev->getPlay(0) : nullptr;
    if (!first) return;
    const FollowerTimes t = followerTimes(i, ownShrink);
    const std::string effect = first->effect;
    ev->setPlayTime(0, t.show, t.show);
    if (!t.hides)
        ev->removePlayAt(1);
    else if (hasPlay(ev, 1))
        ev->setPlayTime(1, t.hide, t.hide + 1);
    else
        ev->addPlay(effect.c_str(), t.hide, t.hide + 1, 0);
}

void pnChart::playTime(pnEvent* ev, int k, int start, int end) {
    if (ev) ev->setPlayTime(k, start, end);
}

void pnChart::playStart(pnEvent* ev, int k, int start) {
    if (pnEventPlay* p = ev ? ev->getPlay(k) : nullptr) p->start = start;
}

void pnChart::playEnd(pnEvent* ev, int k, int end) {
    if (pnEventPlay* p = ev ? ev->getPlay(k) : nullptr) p->end = end;
}

bool pnChart::hasPlay(const pnEvent* ev, int k) { return ev && ev->getPlay(k) != nullptr; }

void pnChart::removeShrinkPlays(int i, std::initializer_list<int> shrunk, std::initializer_list<int> hidden) const {
    for (int which : shrunk) {
        if (pnEvent* ev = getDataPtEvent(i, which)) {
            ev->removePlayAt(2);
            ev->removePlayAt(1);
        }
    }
    for (int which : hidden)
        if (pnEvent* ev = getDataPtEvent(i, which)) ev->removePlayAt(1);
}

pnEffect* pnChart::growEffect(int i) const {
    pnEvent* ev = getDataPtEvent(i, PART_MAIN);
    const pnEventPlay* play = ev ? ev->getPlay(0) : nullptr;
    return play ? findEffect(play->effect.c_str()) : nullptr;
}

void pnChart::applyChartTransform(pnObject* part) const {
    if (setFlags[ROTANGLE_FLAG]) part->setRotAngle(rotAngle);
    if (setFlags[ROTAXIS_FLAG]) part->setRotAxis(rotAxis);
    if (setFlags[SCALE_FLAG]) part->setScale(scale);
    part->setCenter(center);
    part->setHighlight(highlight);
}

void pnChart::replacePart(int k, pnObject* fresh) {
    pnObject* old = getChartPart(k);
    if (!old || !fresh) return;
    fresh->setPartFlag(1);
    fresh->setScene(scene);
    pnEvent* ev = getChartEvent(k);
    sgNode* dcs = ev ? findEventTransform(ev) : nullptr;
    std::unique_ptr<pnObject> gone = objects.replace(k, std::unique_ptr<pnObject>(fresh));
    if (dcs) {
        // The new part hangs where the old one did, with the scene material.
        sgSwitch* oldNode = old->getSwitchNode();
        if (oldNode && oldNode->getParent() == dcs) dcs->removeChild(oldNode);
        if (sgNode* node = fresh->getNode()) {
            if (pnMaterial* m = scene ? scene->findMaterial(fresh->getMaterialName().c_str()) : nullptr) m->apply(node);
            dcs->addChild(node);
            ev->setNode(fresh->getSwitchNode());
            fresh->setBuilt(1);
        }
    }
    if (ev) ev->setObjectName(fresh->getName().c_str());
}

pnObject* pnChart::addSlotPart(int i, int which, pnObject* part) {
    if (!part) {
        // The slot keeps its place with an empty object nothing draws.
        part = new pnObject;
        part->setNameString(slotName(name, i, which).c_str());
    }
    part->setPartFlag(1);
    if (!addObject(part)) {
        debugPrint3("[pnChart::addSlotPart] ", "duplicate part name: ", part->getName().c_str());
        delete part;
        return nullptr;
    }
    return part;
}

pnEvent* pnChart::addSlotEvent(int i, int which, pnEvent* event, const char* parent) {
    if (!event) {
        event = newEvent(slotName(name, i, which));
        if (parent && *parent) event->setParent(parent);
    }
    if (!addEvent(event)) {
        debugPrint3("[pnChart::addSlotEvent] ", "duplicate event name: ", event->getName().c_str());
        delete event;
        return nullptr;
    }
    return event;
}

int pnChart::putEffect(pnEffect* effect) {
    std::unique_ptr<pnEffect> taken(effect);
    if (!taken) return 0;
    for (int k = 0; k < getNumEffects(); ++k) {
        if (effects.get(k)->getName() == taken->getName()) {
            effects.replace(k, std::move(taken));  // the old one goes
            return 1;
        }
    }
    return effects.append(std::move(taken));
}

void pnChart::resetChartParts(const char* parent) {
    clearChartParts();
    partParent = parent ? parent : "";
}

void pnChart::renameShowingEvent(const std::string& oldName, const std::string& newName) {
    if (partParent != oldName) return;
    partParent = newName;
    for (int k = 0; k < getNumEvents(); ++k) {
        pnEvent* event = events.get(k);
        if (event->getHasParent() && event->getParent() == oldName) event->setParent(newName.c_str());
    }
}

void pnChart::clearChartParts() {
    for (int k = 0; k < getNumEvents(); ++k) detachEventNode(events.get(k));
    events.clear();
    objects.clear();
}

// ---- pnChartAccess ----

void pnChart::generateChartParts(pnScene& s, pnEvent* event) { s.generateChartParts(this, event); }

void pnChart::removeChartEvent(pnEvent* event) {
    if (!event || events.find(event) < 0) return;
    detachEventNode(event);
    events.take(event);
}

void pnChart::deleteChartParts() {
    // Nothing may keep showing a deleted part.
    for (int k = 0; k < getNumEvents(); ++k) detachEventNode(events.get(k));
    objects.clear();
}

void pnChart::applyChartEffect(pnScene&, int frame, pnEvent* event, pnEffect* effect, pnObject* part) {
    if (!event || !effect || !part) return;
    const float t = pnScene::playFraction(frame, event->getCurStart(), event->getCurEnd());
    const sgVec3 a = event->getAccScale();
    const sgVec3 sc = effect->getFlag(pnEffect::SCALE_FLAG) ? a + (effect->getScale() - a) * t : a;
    applyGrowScale(part, sc);
    if (t == 1.0f) event->setAccScale(sc);
}

void pnChart::applyGrowScale(pnObject* part, const sgVec3& sc) {
    part->setScaleOrigin(sgVec3(baseScale[0], baseScale[1] * sc[1], baseScale[2]));
}
