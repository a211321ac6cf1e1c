#include "scene/pnScene.h"

#include <algorithm>
#include <cstring>

#include "scene/pnChartDataPt.h"
#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnObject.h"
#include "scene/pnStringProperty.h"
#include "scene/pnViewpoint.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgDCS.h"
#include "sg/sgRuntime.h"

namespace {

// Names reach the lists cut at the name limit, so a look-up cuts its key the
// same way and a long name finds the item it named.
std::string key(const char* name) { return sgCutName(name); }

template <class List>
int indexByName(const List& list, const char* name) {
    if (!name) return -1;
    std::string k = key(name);
    for (int i = 0; i <= list.getTop(); ++i)
        if (list.get(i)->getName() == k) return i;
    return -1;
}

template <class List>
auto itemByName(const List& list, const char* name) -> decltype(list.get(0)) {
    int i = indexByName(list, name);
    return i < 0 ? nullptr : list.get(i);
}

int copyName(const std::string& name, char* buffer, size_t size) {
    if (!buffer || size == 0) return 0;
    const std::string cut = sgCutBytes(name, size - 1);
    const size_t n = cut.size();
    std::memcpy(buffer, cut.data(), n);
    buffer[n] = '\0';
    return 1;
}

}  // namespace

pnScene::pnScene() { init(); }

pnScene::~pnScene() { release(); }

void pnScene::init() {
    // Whatever an earlier life of the scene left is freed first, so init never
    // strands items.
    release();
    name.clear();
    width = 720;
    height = 486;
    version = 120;
    animScale = 1.0f;
    align = 1;
    lastFrame = 0;
    // release() has made the empty lists.
    pauses.clear();
    sounds.clear();
    nextPause = -1;
    nextSoundFrame = -1;
    nextSound = pnSound();
    ms = 0;
    position.set(0, 0, 0);
    rotAngle = 0.0f;
    rotAxis.set(0, 1, 0);
    scale.set(1, 1, 1);
    for (int& f : setFlags) f = 0;
}

void pnScene::release() {
    // Charts are objects too: the chart list only lets go of them. Empty
    // lists stay so that a released scene can still be asked about.
    charts.clear();
    lights.clear();
    events.clear();
    effects.clear();
    objects.clear();
    stringProperties.clear();
    materials.clear();
    viewpoint.reset();
    background.reset();
    defaultMaterial.reset();
}

// ---- adding ----

int pnScene::addLight(pnLight* light) {
    if (!light || indexByName(lights, light->getName().c_str()) >= 0) return 0;
    return lights.append(light);
}

int pnScene::addMaterial(pnMaterial* material) {
    if (!material || indexByName(materials, material->getName().c_str()) >= 0) return 0;
    return materials.append(material);
}

int pnScene::insertMaterial(int index, pnMaterial* material) {
    if (!material || index < 0 || index >= getNumMaterials()) return 0;
    if (indexByName(materials, material->getName().c_str()) >= 0) return 0;
    return materials.insert(index, material);
}

int pnScene::addStringProperty(pnStringProperty* style) {
    if (!style || indexByName(stringProperties, style->getName().c_str()) >= 0) return 0;
    return stringProperties.append(style);
}

int pnScene::addObject(pnObject* object) {
    if (!object || object->getName().empty() || objectExists(object->getName().c_str())) return 0;
    if (!objects.append(object)) return 0;
    object->setScene(this);
    return 1;
}

int pnScene::addEvent(pnEvent* event) {
    if (!event || event->getName().empty() || eventExists(event->getName().c_str())) return 0;
    if (!events.append(event)) return 0;
    event->setScene(this);
    return 1;
}

int pnScene::addEffect(pnEffect* effect) {
    if (!effect || effect->getName().empty() || effectExists(effect->getName().c_str())) return 0;
    return effects.append(effect);
}

int pnScene::addChart(pnObject* chart) {
    if (!chart || chart->getName().empty() || chartExists(chart->getName().c_str())) return 0;
    if (!charts.append(chart)) return 0;
    chart->setScene(this);
    return 1;
}

// ---- removing ----

template <class List, class T>
int pnScene::takeOut(List& list, T* item, const char* msg1, const char* msg2) {
    if (list.count() == 0) {
        if (msg2)
            debugPrint2(msg1, msg2);
        else
            debugPrint(msg1);
        return 0;
    }
    return list.remove(item) >= 0 ? 1 : 0;
}

int pnScene::removeLight(pnLight* light) {
    return takeOut(lights, light, "[pnScene::removeLight] Tried to delete non-existing light", nullptr);
}

int pnScene::removeStringPropertyl(pnStringProperty* style) {
    return takeOut(stringProperties, style, "[pnScene::removeStringPropertyl] ",
                   "Tried to delete non-existing string property");
}

int pnScene::removeObject(pnObject* object) {
    return takeOut(objects, object, "[pnScene::removeObject] ", "Tried to delete non-existing object");
}

int pnScene::removeEvent(pnEvent* event) {
    return takeOut(events, event, "[pnScene::removeEvent] ", "Tried to delete non-existing even");
}

int pnScene::removeEffect(pnEffect* effect) {
    return takeOut(effects, effect, "[pnScene::removeEffect] ", "Tried to delete non-existing effect");
}

int pnScene::removeChart(pnObject* chart) {
    return takeOut(charts, chart, "[pnScene::removeChart] Tried to delete non-existing chart", nullptr);
}

int pnScene::moveEvent(const char* eventName, int pos) {
    if (pos < 0) return 0;
    if (getNumEvents() == 0) {
        debugPrint2("[pnScene::removeEvent] ", "Tried to delete non-existing even");
        return 0;
    }
    int from = findEventIndex(eventName);
    if (from < 0) return 0;
    pnEvent* event = events.get(from);
    events.removeIndex(from);
    if (pos >= getNumEvents())
        events.append(event);
    else
        events.insert(pos, event);
    return 1;
}

int pnScene::moveObject(const pnObject* object, int pos) { return objects.move(object, pos); }

int pnScene::moveStringProperty(const pnStringProperty* style, int pos) { return stringProperties.move(style, pos); }

void pnScene::setBackground(pnObject* bg) { background.reset(bg); }
void pnScene::setViewpoint(pnViewpoint* vp) { viewpoint.reset(vp); }
void pnScene::setDefaultMaterial(pnMaterial* m) { defaultMaterial.reset(m); }

// ---- look-ups ----

int pnScene::findMaterialIndex(const char* n) const { return indexByName(materials, n); }
int pnScene::findLightIndex(const char* n) const { return indexByName(lights, n); }
int pnScene::findEventIndex(const char* n) const { return indexByName(events, n); }

int pnScene::indexOfMaterial(const pnMaterial* m) const { return m ? materials.find(m) : -1; }
int pnScene::indexOfObject(const pnObject* o) const { return o ? objects.find(o) : -1; }
int pnScene::indexOfEvent(const pnEvent* e) const { return e ? events.find(e) : -1; }
int pnScene::indexOfStringProperty(const pnStringProperty* s) const { return s ? stringProperties.find(s) : -1; }

pnMaterial* pnScene::findMaterial(const char* n) const { return itemByName(materials, n); }
pnStringProperty* pnScene::findStringProperty(const char* n) const {
    return itemByName(stringProperties, n);
}
pnLight* pnScene::findLight(const char* n) const { return itemByName(lights, n); }
pnObject* pnScene::findObject(const char* n) const { return itemByName(objects, n); }
pnEffect* pnScene::findEffect(const char* n) const { return itemByName(effects, n); }
pnEvent* pnScene::findEvent(const char* n) const { return itemByName(events, n); }

pnMaterial* pnScene::getMaterial(int i) const { return materials.get(i); }
pnLight* pnScene::getLight(int i) const { return lights.get(i); }
pnObject* pnScene::getObject(int i) const { return objects.get(i); }
pnObject* pnScene::getChart(int i) const { return charts.get(i); }
pnEffect* pnScene::getEffect(int i) const { return effects.get(i); }
pnEvent* pnScene::getEvent(int i) const { return events.get(i); }
pnStringProperty* pnScene::getStringProperty(int i) const { return stringProperties.get(i); }

int pnScene::getMaterialName(int i, char* buffer, size_t size) const {
    if (i < 0 || i >= getNumMaterials()) return 0;
    return copyName(getMaterial(i)->getName(), buffer, size);
}

int pnScene::getObjectName(int i, char* buffer, size_t size) const {
    if (i < 0 || i >= getNumObjects()) return 0;
    return copyName(getObject(i)->getName(), buffer, size);
}

int pnScene::objectExists(const char* n) const { return indexByName(objects, n) >= 0; }
int pnScene::effectExists(const char* n) const { return indexByName(effects, n) >= 0; }
int pnScene::eventExists(const char* n) const { return indexByName(events, n) >= 0; }
int pnScene::lightExists(const char* n) const { return indexByName(lights, n) >= 0; }
int pnScene::materialExists(const char* n) const { return indexByName(materials, n) >= 0; }
int pnScene::chartExists(const char* n) const { return indexByName(charts, n) >= 0; }
int pnScene::stringPropertyExists(const char* n) const {
    return indexByName(stringProperties, n) >= 0;
}

int pnScene::isObjectNameFree(const char* n) const {
    if (!n || !*n) return 0;
    const std::string k = key(n);
    if (viewpoint && viewpoint->getName() == k) return 0;
    return !objectExists(n) && !eventExists(n) && !lightExists(n);
}

int pnScene::isMaterialNameFree(const char* n) const { return n && *n && !materialExists(n); }

namespace {

template <class Free>
std::string firstFree(const std::string& base, int last, Free isFree) {
    if (isFree(base)) return base;
    for (int n = 1; n <= last; ++n) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%03d", n);
        if (isFree(base + digits)) return base + digits;
    }
    return std::string();
}

}  // namespace

std::string pnScene::freeObjectName(const std::string& base, int last) const {
    return firstFree(base, last, [this](const std::string& n) { return isObjectNameFree(n.c_str()) != 0; });
}

std::string pnScene::freeMaterialName(const std::string& base, int last) const {
    return firstFree(base, last, [this](const std::string& n) { return isMaterialNameFree(n.c_str()) != 0; });
}

int pnScene::isMaterialUsed(const char* n) const {
    if (!n || !*n) return 0;
    std::string k = key(n);
    for (int i = 0; i < getNumObjects(); ++i)
        if (getObject(i)->usesMaterial(k)) return 1;
    return 0;
}

int pnScene::isMaterialUsedByEffect(const char* n) const {
    if (!n || !*n) return 0;
    std::string k = key(n);
    for (int i = 0; i < getNumEffects(); ++i) {
        const pnEffect* e = getEffect(i);
        if (e->getFlag(pnEffect::COLOR_FLAG) && e->getColor() == k) return 1;
    }
    return 0;
}

pnObject* pnScene::findObjectUsingMaterial(const char* n) const {
    if (!n || !*n) return nullptr;
    std::string k = key(n);
    for (int i = 0; i < getNumObjects(); ++i) {
        pnObject* o = getObject(i);
        if (o->hasMaterial() && o->getMaterialName() == k) return o;
    }
    return nullptr;
}

pnLight* pnScene::findLightUsingMaterial(const char* n) const {
    if (!n || !*n) return nullptr;
    std::string k = key(n);
    for (int i = 0; i < getNumLights(); ++i) {
        pnLight* l = getLight(i);
        if (l->hasMaterial() && l->getMaterial() == k) return l;
    }
    return nullptr;
}

// ---- pauses and sounds ----

void pnScene::addPause(int frame) {
    if (getNumPauses() >= MAX_PAUSES) return;
    auto at = std::lower_bound(pauses.begin(), pauses.end(), frame);
    if (at != pauses.end() && *at == frame) return;
    pauses.insert(at, frame);
}

int pnScene::removePauseAt(int index) {
    if (index < 0 || index >= getNumPauses()) return 0;
    int frame = pauses[static_cast<size_t>(index)];
    pauses.erase(pauses.begin() + index);
    if (pauses.empty())
        nextPause = -1;
    else if (frame == nextPause)
        nextPause = pauses.front();
    return 1;
}

int pnScene::removePause(int frame) {
    auto at = std::find(pauses.begin(), pauses.end(), frame);
    if (at == pauses.end()) return 0;
    return removePauseAt(static_cast<int>(at - pauses.begin()));
}

int pnScene::getNextPause(int frame) const {
    if (pauses.empty()) return -1;
    auto at = std::upper_bound(pauses.begin(), pauses.end(), frame);
    return at == pauses.end() ? NO_LATER_FRAME : *at;
}

int pnScene::getPause(int index) const {
    return (index >= 0 && index < getNumPauses()) ? pauses[static_cast<size_t>(index)] : -1;
}

void pnScene::addSound(int frame, const char* file) {
    if (getNumSounds() >= MAX_SOUNDS) return;
    auto at = std::lower_bound(sounds.begin(), sounds.end(), frame,
                               [](const pnSound& s, int f) { return s.frame < f; });
    if (at != sounds.end() && at->frame == frame) return;
    pnSound s;
    s.file = file ? file : "";  // the whole path: a cut one would name another file
    s.frame = frame;
    sounds.insert(at, s);
}

int pnScene::removeSoundAt(int index) {
    if (index < 0 || index >= getNumSounds()) return 0;
    int frame = sounds[static_cast<size_t>(index)].frame;
    sounds.erase(sounds.begin() + index);
    if (sounds.empty()) {
        nextSoundFrame = -1;
        nextSound = pnSound();
    } else if (frame == nextSoundFrame) {
        nextSound = sounds.front();
        nextSoundFrame = nextSound.frame;
    }
    return 1;
}

int pnScene::removeSound(int frame) {
    for (size_t i = 0; i < sounds.size(); ++i)
        if (sounds[i].frame == frame) return removeSoundAt(static_cast<int>(i));
    return 0;
}

pnSound pnScene::getNextSound(int frame) const {
    pnSound none;
    if (sounds.empty()) return none;
    for (const pnSound& s : sounds)
        if (s.frame > frame) return s;
    none.frame = NO_LATER_FRAME;
    return none;
}

pnSound pnScene::getSound(int index) const {
    return (index >= 0 && index < getNumSounds()) ? sounds[static_cast<size_t>(index)] : pnSound();
}

void pnScene::setPendingSound(const pnSound& sound) {
    nextSound = sound;
    nextSoundFrame = sound.frame;
}

// ---- scene transform ----

sgDCS* pnScene::sceneTransform() const { return roots ? roots->sceneTransform : nullptr; }

void pnScene::setPosition(const sgVec3& v) {
    position = v;
    setFlags[POSITION_FLAG] = 1;
    if (sgDCS* node = sceneTransform()) node->setTransV(position);
}

void pnScene::setRotAngle(float angle) {
    rotAngle = angle;
    setFlags[ROTANGLE_FLAG] = 1;
    if (sgDCS* node = sceneTransform()) node->setRot(rotAngle, rotAxis);
}

void pnScene::setRotAxis(const sgVec3& v) {
    rotAxis = v;
    setFlags[ROTAXIS_FLAG] = 1;
    if (sgDCS* node = sceneTransform()) node->setRot(rotAngle, rotAxis);
}

void pnScene::setScale(const sgVec3& v) {
    scale = v;
    setFlags[SCALE_FLAG] = 1;
    if (sgDCS* node = sceneTransform()) node->setScaleV(scale);
}

// ---- last frame ----

int pnScene::updateLastFrame() {
    int last = lastFrame;
    for (int i = 0; i < getNumEvents(); ++i) {
        const pnEvent* e = getEvent(i);
        for (int p = 0; p < e->getNumPlays(); ++p) last = std::max(last, e->getPlay(p)->end);
    }
    for (int f : pauses) last = std::max(last, f);
    for (const pnSound& s : sounds) last = std::max(last, s.frame);
    for (int i = 0; i < getNumCharts(); ++i) {
        const pnObject* c = getChart(i);
        for (int p = 0; p < c->getNumDataPts(); ++p) {
            const pnChartDataPt* pt = c->getDataPt(p);
            if (!pt) continue;
            last = std::max(last, std::max(pt->endTime, pt->shrinkEnd));
        }
    }
    lastFrame = last;
    return lastFrame;
}

void pnScene::setName(const char* n) { name = sgCutName(n); }
