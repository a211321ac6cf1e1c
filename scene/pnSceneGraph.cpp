// Scene-graph membership: lights under the light group, events with their
// objects under the event group (child events under their parent's object
// node), camera and background onto the channel, and taking them out again.
#include <algorithm>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "scene/pnBackground.h"
#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnObject.h"
#include "scene/pnString.h"
#include "scene/pnScene.h"
#include "scene/pnStringProperty.h"
#include "scene/pnViewpoint.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgChannel.h"
#include "sg/sgDCS.h"
#include "sg/sgLightSource.h"
#include "sg/sgNode.h"
#include "sg/sgRuntime.h"

bool pnScene::hasChildName(const pnEvent* event, const std::string& name) {
    for (int i = 0; i < event->getNumChildNames(); ++i)
        if (name == event->getChildName(i)) return true;
    return false;
}

pnChartAccess* pnScene::chartAccess(pnObject* object) {
    if (!object || !object->isChart()) return nullptr;
    return dynamic_cast<pnChartAccess*>(object);
}

// ---- the whole graph ----

void pnScene::buildSceneGraph() {
    if (!defaultMaterial) setDefaultMaterial(new pnMaterial);
    if (!viewpoint) setViewpoint(new pnViewpoint);
    applyCamera();
    for (int i = 0; i < getNumLights(); ++i) hangLight(getLight(i));
    applyBackground();
    addAllEventsToScene();
    nextPause = getNextPause(0);
    nextSound = getNextSound(0);
    nextSoundFrame = nextSound.frame < 0 ? -1 : nextSound.frame;
    if (!roots) return;
    roots->frameCount = 0;
    roots->frameCount2 = 0;
    if (sgDCS* node = roots->sceneTransform) {
        if (setFlags[POSITION_FLAG]) node->setTransV(position);
        if (setFlags[ROTANGLE_FLAG]) node->setRot(rotAngle, rotAxis);
        if (setFlags[SCALE_FLAG]) node->setScaleV(scale);
    }
}

void pnScene::applyBackground() {
    pnBackground* bg = pnKindCast<pnBackground>(background.get());
    if (!bg) return;
    sgChannel* ch = sgChannel::sgGetChannel();
    if (!ch) return;
    if (bg->getUseTexture() && !bg->getFile().empty()) {
        ch->setBackgroundImage(bg->getFile());
        ch->setBackgroundOn(1);
    } else {
        // A background without a colour takes the block's default colour: the
        // channel outlives the scene, and must not show the last one's.
        sgVec4 c = bg->getColor();
        ch->setClearColor(c[0], c[1], c[2], c[3]);
        ch->setBackgroundOn(0);
    }
    ch->setBackgroundMode(bg->getTexMode());
}

// ---- lights ----

void pnScene::hangLight(pnLight* light) {
    sgGroup* group = roots ? roots->lightGroup : nullptr;
    if (!light || !group) return;
    light->setScene(this);
    // A rebuilt light keeps the transform node it already hangs under.
    sgNode* holder = light->getSwitchNode() ? light->getSwitchNode()->getParent() : nullptr;
    bool reuse = false;
    for (int i = 0; holder && i < group->getNumChildren(); ++i) reuse = reuse || group->getChild(i) == holder;
    sgSwitch* sw = light->buildNodes();
    if (light->getOn())
        light->getLightNode()->on();
    else
        light->getLightNode()->off();
    if (reuse) {
        holder->addChild(sw);
    } else {
        sgDCS* dcs = new sgDCS;
        dcs->addChild(sw);
        group->addChild(dcs);
    }
    light->setBuilt(1);
}

int pnScene::addLightToScene(pnLight* light) {
    if (!light) return 0;
    light->setScene(this);
    // A refused light (its name is taken) stays the caller's and is not shown.
    if (!addLight(light)) return 0;
    hangLight(light);
    return 1;
}

int pnScene::removeLightFromScene(pnLight* light) {
    sgGroup* group = roots ? roots->lightGroup : nullptr;
    if (!light || !group) return 0;
    for (int i = 0; i < group->getNumChildren(); ++i) {
        sgNode* dcs = group->getChild(i);
        sgNode* sw = dcs->getChild(0);
        sgNode* source = sw ? sw->getChild(0) : nullptr;
        if (!source || !source->isOfType("sgLightSource") || source->getName() != light->getName()) continue;
        static_cast<sgLightSource*>(source)->off();
        group->removeChild(dcs);
        // Nodes of another light that bears the name stay that light's.
        if (sw != light->getSwitchNode()) dcs->removeChild(sw);
        light->releaseNodes();
        delete dcs;
        light->setBuilt(0);
        removeLight(light);
        return 1;
    }
    return 0;
}

// ---- events ----

void pnScene::addAllEventsToScene() {
    for (pnEvent* event : eventsParentsFirst()) addObjectsToScene(event);
}

std::vector<pnEvent*> pnScene::eventsParentsFirst() const {
    const int n = getNumEvents();
    std::vector<pnEvent*> order;
    order.reserve(static_cast<size_t>(n));
    std::unordered_map<std::string, int> index;
    for (int i = 0; i < n; ++i) index.emplace(getEvent(i)->getName(), i);
    // Children waiting for a parent that stands later, by the parent's index.
    std::unordered_map<int, std::vector<int>> waiting;
    std::vector<char> placed(static_cast<size_t>(n), 0);
    std::vector<int> stack;
    for (int i = 0; i < n; ++i) {
        const pnEvent* event = getEvent(i);
        if (event->getHasParent()) {
            auto up = index.find(event->getParent());
            if (up != index.end() && up->second != i && !placed[static_cast<size_t>(up->second)]) {
                waiting[up->second].push_back(i);
                continue;
            }
        }
        // The event, then whatever waited for it, depth first in list order.
        stack.assign(1, i);
        while (!stack.empty()) {
            const int at = stack.back();
            stack.pop_back();
            placed[static_cast<size_t>(at)] = 1;
            order.push_back(getEvent(at));
            auto kids = waiting.find(at);
            if (kids == waiting.end()) continue;
            for (auto k = kids->second.rbegin(); k != kids->second.rend(); ++k) stack.push_back(*k);
            waiting.erase(kids);
        }
    }
    for (int i = 0; i < n; ++i)
        if (!placed[static_cast<size_t>(i)]) order.push_back(getEvent(i));
    return order;
}

int pnScene::attachEventNode(sgGroup* group, pnEvent* event, sgNode* node) {
    if (!event || !node) return 0;
    node->setName(event->getName());
    sgNode* parent = group;
    if (event->getHasParent()) {
        pnEvent* up = findEvent(event->getParent().c_str());
        parent = up ? up->getNode() : nullptr;
        if (!parent) {
            std::fputs("TORVIS: Switch of parent event tree is empty.\n", stderr);
            return 0;
        }
    }
    if (!parent) return 0;
    return parent->addChild(node);
}

// The object's top node under the event's transform node, or, when it has
// none, the object left unbuilt and reported. Returns 1 when the object hangs.
int pnScene::hangObject(pnEvent* event, sgDCS* dcs, pnObject* object, sgNode* node) {
    if (!node || node != object->getSwitchNode() || node->getParent()) {
        debugPrint3("[pnScene::addObjectsToScene] ", "object not built: ", object->getName().c_str());
        return 0;
    }
    dcs->addChild(node);
    event->setNode(object->getSwitchNode());
    object->setBuilt(1);
    // Text takes its material on the face only; its edge keeps the back material.
    if (pnIsKind(object, pnObjectKind::String) && findMaterial(object->getMaterialName().c_str()))
        object->setMaterial(object->getMaterialName().c_str());
    return 1;
}

bool pnScene::isAttachable(const pnObject* object, bool chartPart) {
    switch (pnKindOf(object)) {
    case pnObjectKind::Model: case pnObjectKind::Volume: case pnObjectKind::Panel: case pnObjectKind::String: return true;
    case pnObjectKind::Counter: return !chartPart;
    default: return false;
    }
}

sgNode* pnScene::buildObjectNode(pnObject* object) {
    const pnObjectKind kind = pnKindOf(object);
    if (kind == pnObjectKind::Model || kind == pnObjectKind::Volume || kind == pnObjectKind::Panel) {
        sgNode* node = object->getNode();
        if (node) {
            if (pnMaterial* m = findMaterial(object->getMaterialName().c_str())) m->apply(node);
        }
        return node;
    }
    pnStringProperty* style = findStringProperty(object->getStringPropertyName());
    // A counter without a style of the scene draws its digits in the default style.
    if (kind == pnObjectKind::Counter) return object->getNode(style);
    return style ? object->getNode(style) : object->getNode();
}

// Builds and hangs an attachable object below the event's transform node. An
// object another event already shows keeps its nodes (a rebuild would pull
// them from under that event).
void pnScene::attachObject(pnEvent* event, sgDCS* dcs, pnObject* object, bool chartPart) {
    if (!isAttachable(object, chartPart)) return;
    if (object->isBuilt()) {
        debugPrint3("[pnScene::addObjectsToScene] ", "object already shown: ", object->getName().c_str());
        return;
    }
    hangObject(event, dcs, object, buildObjectNode(object));
}

int pnScene::addObjectsToScene(pnEvent* event) {
    if (!event || !roots || !roots->eventGroup) return 0;
    // The parent lists the event among its children even when the event
    // cannot hang under it (a parent whose model file is missing has no
    // node): removing and recreating the parent hands its children on by
    // that list.
    if (event->getHasParent()) {
        pnEvent* up = findEvent(event->getParent().c_str());
        if (up && !hasChildName(up, event->getName())) up->addChildName(event->getName().c_str());
    }
    sgDCS* dcs = new sgDCS;
    if (!attachEventNode(roots->eventGroup, event, dcs)) {
        // Nothing holds an unattached node: drop it, the event stays unshown.
        delete dcs;
        return 0;
    }
    if (event->getNumObjectNames() == 0) return 1;
    pnObject* object = findObject(event->getObjectName(0));
    if (!object) {
        debugPrint("[pnScene::addObjectsToScene] object NULL");
        return 1;
    }
    if (chartAccess(object)) {
        // Builds the chart's own nodes, generates its parts and hangs them.
        attachChart(event, dcs, object);
        return 1;
    }
    attachObject(event, dcs, object, false);
    return 1;
}

int pnScene::addChartToScene(pnObject* chartObject) {
    pnChartAccess* chart = chartAccess(chartObject);
    if (!chart || !roots || !roots->eventGroup) return 0;
    chart->setChartEventGroup(roots->eventGroup);
    for (int i = 0; i < chart->getNumChartEvents(); ++i)
        addChartEventObjects(roots->eventGroup, chart->getChartEvent(i), chartObject);
    return 1;
}

int pnScene::addChartEventObjects(sgGroup* group, pnEvent* event, pnObject* chartObject) {
    pnChartAccess* chart = chartAccess(chartObject);
    if (!event || !chart || !group) return 0;
    sgDCS* dcs = new sgDCS;
    // Chart events hang in the event group. Their parent is the scene event
    // that shows the chart (its node is the chart's switch), else one of the
    // chart's own events.
    dcs->setName(event->getName());
    sgNode* parent = group;
    if (event->getHasParent()) {
        pnEvent* up = findEvent(event->getParent().c_str());
        for (int i = 0; i < chart->getNumChartEvents() && !up; ++i)
            if (chart->getChartEvent(i)->getName() == event->getParent()) up = chart->getChartEvent(i);
        parent = up ? up->getNode() : nullptr;
        if (!parent) {
            std::fputs("TORVIS: Switch of parent event tree is empty.\n", stderr);
            delete dcs;
            return 0;
        }
    }
    parent->addChild(dcs);
    if (event->getNumObjectNames() == 0) return 1;
    pnObject* part = chart->findChartPart(event->getObjectName(0));
    if (!part) {
        debugPrint("[pnScene::addObjectsToScene] object NULL");
        return 1;
    }
    attachObject(event, dcs, part, true);
    return 1;
}

// The event's transform node: the parent of its object node, or, for an
// event without an object node, the child of its parent named after it.
static sgDCS* findEventTransform(pnScene& scene, pnEvent* event, sgGroup* group) {
    if (sgSwitch* sw = event->getNode()) {
        sgNode* p = sw->getParent();
        return p && p->isOfType("sgDCS") ? static_cast<sgDCS*>(p) : nullptr;
    }
    sgNode* parent = group;
    if (event->getHasParent()) {
        pnEvent* up = scene.findEvent(event->getParent().c_str());
        parent = up ? up->getNode() : nullptr;
    }
    for (int i = 0; parent && i < parent->getNumChildren(); ++i) {
        sgNode* c = parent->getChild(i);
        if (c->isOfType("sgDCS") && c->getName() == event->getName()) return static_cast<sgDCS*>(c);
    }
    return nullptr;
}

int pnScene::removeEventFromScene(pnEvent* event) {
    if (!event) {
        debugPrint("[pnScene::removeEventFromScene] event NULL");
        return 0;
    }
    detachEventNode(event);
    pnObject* object = event->getNumObjectNames() > 0 ? findObject(event->getObjectName(0)) : nullptr;
    if (pnChartAccess* chart = chartAccess(object)) releaseChartEvents(chart);
    if (object) object->setBuilt(0);
    return 1;
}

void pnScene::detachEventNode(pnEvent* event) {
    sgGroup* group = roots ? roots->eventGroup : nullptr;
    sgSwitch* objectNode = event->getNode();
    sgDCS* dcs = findEventTransform(*this, event, group);
    sgNode* grand = dcs ? dcs->getParent() : nullptr;
    // Child events move up to the grandparent, keeping their order.
    while (objectNode && grand && objectNode->getNumChildren() > 1) {
        sgNode* child = objectNode->getChild(1);
        objectNode->removeChild(child);
        grand->addChild(child);
    }
    std::vector<std::string> children;
    for (int i = 0; i < event->getNumChildNames(); ++i) children.push_back(event->getChildName(i));
    for (const std::string& childName : children) {
        if (pnEvent* child = findEvent(childName.c_str())) child->setParent(event->getParent().c_str());
    }
    if (dcs) {
        if (grand) grand->removeChild(dcs);
        if (objectNode) dcs->removeChild(objectNode);
        delete dcs;
    }
    event->setNode(nullptr);
    // Children that could not hang under an event without an object node (a
    // model whose file is missing) hang where they went.
    if (!objectNode)
        for (const std::string& childName : children)
            if (pnEvent* child = findEvent(childName.c_str())) settleEventNode(child);
}

void pnScene::settleEventNode(pnEvent* event) { settleEventNode(event, 0); }

int pnScene::placeEventNode(pnEvent* event) {
    sgGroup* group = roots ? roots->eventGroup : nullptr;
    sgDCS* dcs = event ? findEventTransform(*this, event, group) : nullptr;
    sgNode* parent = dcs ? dcs->getParent() : nullptr;
    if (!parent) return 0;
    parent->removeChild(dcs);
    const std::string& up = event->getHasParent() ? event->getParent() : std::string();
    for (int i = indexOfEvent(event) + 1; i < getNumEvents(); ++i) {
        pnEvent* next = getEvent(i);
        if ((next->getHasParent() ? next->getParent() : std::string()) != up) continue;
        sgDCS* after = findEventTransform(*this, next, group);
        for (int c = 0; after && c < parent->getNumChildren(); ++c)
            if (parent->getChild(c) == after) return parent->insertChild(c, dcs);
    }
    return parent->addChild(dcs);
}

void pnScene::settleEventNode(pnEvent* event, int depth) {
    // Parent links read from a file may form a ring.
    if (!event || depth > getNumEvents()) return;
    sgGroup* group = roots ? roots->eventGroup : nullptr;
    const bool hung = findEventTransform(*this, event, group) != nullptr;
    const pnEvent* up = event->getHasParent() ? findEvent(event->getParent().c_str()) : nullptr;
    const bool canHang = !event->getHasParent() || (up && up->getNode());
    if (hung && !canHang) {
        takeDownEvent(event, depth);
    } else if (!hung && canHang && addObjectsToScene(event)) {
        for (int i = 0; i < event->getNumChildNames(); ++i)
            if (pnEvent* child = findEvent(event->getChildName(i)); child && child != event)
                settleEventNode(child, depth + 1);
    }
}

void pnScene::takeDownEvent(pnEvent* event, int depth) {
    if (!event || depth > getNumEvents()) return;
    sgGroup* group = roots ? roots->eventGroup : nullptr;
    // The events below first: their nodes hang under this event's object node.
    for (int i = 0; i < event->getNumChildNames(); ++i)
        if (pnEvent* child = findEvent(event->getChildName(i)); child && child != event)
            if (findEventTransform(*this, child, group)) takeDownEvent(child, depth + 1);
    sgSwitch* objectNode = event->getNode();
    if (sgDCS* dcs = findEventTransform(*this, event, group)) {
        if (sgNode* up = dcs->getParent()) up->removeChild(dcs);
        if (objectNode) dcs->removeChild(objectNode);
        delete dcs;
    }
    event->setNode(nullptr);
    pnObject* object = event->getNumObjectNames() > 0 ? findObject(event->getObjectName(0)) : nullptr;
    if (pnChartAccess* chart = chartAccess(object)) releaseChartEvents(chart);
    if (object) object->setBuilt(0);
}

void pnScene::releaseChartEvents(pnChartAccess* chart) {
    while (chart->getNumChartEvents() > 0) {
        pnEvent* chartEvent = chart->getChartEvent(0);
        removeChartEventNode(chartEvent);
        chart->removeChartEvent(chartEvent);
    }
    chart->deleteChartParts();
}

int pnScene::releaseObjectNodes(pnObject* object) {
    if (!object) return 0;
    int released = 0;
    // An event may show the object under a name it no longer has: the node
    // tells, not the name.
    if (sgSwitch* sw = object->getSwitchNode())
        for (int i = 0; i < getNumEvents(); ++i)
            if (pnEvent* event = getEvent(i); event->getNode() == sw) {
                detachEventNode(event);
                ++released;
            }
    if (pnChartAccess* chart = chartAccess(object)) releaseChartEvents(chart);
    object->setBuilt(0);
    return released;
}

void pnScene::removeChartEventNode(pnEvent* event) {
    sgSwitch* objectNode = event->getNode();
    if (!objectNode) return;
    sgNode* dcs = objectNode->getParent();
    if (dcs) {
        dcs->removeChild(objectNode);
        delete dcs;  // unlinks itself from the event group
    }
    event->setNode(nullptr);
}

int pnScene::renameEvent(pnEvent* event, const char* newName) {
    if (!event || !newName || !*newName) return 0;
    const std::string oldName = event->getName();
    event->setName(newName);
    const std::string renamed = event->getName();
    // No node moves: the transform node takes the name, the children stay
    // under it and it stays where it hangs.
    if (sgSwitch* node = event->getNode())
        if (sgNode* transform = node->getParent()) transform->setName(renamed);
    for (int i = 0; i < getNumEvents(); ++i) {
        pnEvent* child = getEvent(i);
        if (child != event && child->getParent() == oldName) child->setParent(renamed.c_str());
    }
    // A chart's own events and its parts to come hang under the event too.
    for (int i = 0; i < getNumCharts(); ++i)
        if (pnChartAccess* chart = chartAccess(getChart(i))) chart->renameShowingEvent(oldName, renamed);
    pnEvent* parent = event->getHasParent() ? findEvent(event->getParent().c_str()) : nullptr;
    if (!parent) return 1;
    // The new name takes the old one's place among the parent's children.
    std::vector<std::string> names;
    while (parent->getNumChildNames() > 0) {
        names.push_back(parent->getChildName(0));
        parent->removeChildName(names.back().c_str());
    }
    const auto at = std::find(names.begin(), names.end(), oldName);
    if (at != names.end())
        *at = renamed;
    else
        names.push_back(renamed);
    for (const std::string& n : names) parent->addChildName(n.c_str());
    return 1;
}

int pnScene::moveEventNode(pnEvent* event, int where) {
    if (!event) {
        debugPrint("[pnScene::removeEventFromScene] event NULL");
        return 0;
    }
    sgGroup* group = roots ? roots->eventGroup : nullptr;
    sgDCS* dcs = findEventTransform(*this, event, group);
    sgNode* parent = group;
    int first = 0;
    if (event->getHasParent()) {
        pnEvent* up = findEvent(event->getParent().c_str());
        parent = up ? up->getNode() : nullptr;
        first = 1;  // child 0 is the parent's own object
    }
    if (!dcs || !parent) return 0;
    if (sgNode* from = dcs->getParent()) from->removeChild(dcs);
    int at = where < 0 ? first : where + first;
    at = std::min(at, parent->getNumChildren());
    return parent->insertChild(at, dcs);
}

// ---- materials and text styles ----

int pnScene::addAMaterialToScene(pnMaterial* material) {
    // A nameless material could never be chosen, kept apart or saved back.
    if (!material || material->getName().empty()) return 0;
    if (materialExists(material->getName().c_str())) {
        debugPrint2("[pnScene::addAMaterialToScene] ", "A material with the same name already exists");
        return 0;
    }
    return addMaterial(material);
}

int pnScene::deleteAMaterialFromScene(pnMaterial* material) {
    if (!material) return 0;
    int i = findMaterialIndex(material->getName().c_str());
    if (i < 0) {
        debugPrint2("[pnScene::deleteAMaterialFromScene] ", "Tried to delete non-existing material");
        return 0;
    }
    materials.removeIndex(i);
    return 1;
}

void pnScene::updateObjectMaterial(pnObject* object, pnMaterial* material) {
    const std::string& materialName = material->getName();
    if (pnString* text = pnKindCast<pnString>(object)) {
        if (text->getMaterialName() == materialName) text->setMaterial(materialName.c_str());
        if (text->getBackMaterial() == materialName) text->setBackMaterial(materialName.c_str());
    } else if (pnIsKind(object, pnObjectKind::Counter)) {
        // A counter's digits are shared glyph geodes, which it rebuilds itself.
        if (object->getMaterialName() == materialName) object->setMaterial(materialName.c_str());
    } else if (object->getMaterialName() == materialName) {
        material->applyToGeode(object->getGeode());
    }
}

void pnScene::updateObjectsUsingMaterial(pnMaterial* material) {
    if (!material) {
        debugPrint("[pnScene::updateObjectsUsingMaterial] material NULL");
        return;
    }
    for (int i = 0; i < getNumObjects(); ++i) {
        pnObject* object = getObject(i);
        if (!object->isChart()) updateObjectMaterial(object, material);
    }
    for (int i = 0; i < getNumCharts(); ++i) {
        pnChartAccess* chart = chartAccess(getChart(i));
        for (int p = 0; chart && p < chart->getNumChartParts(); ++p)
            updateObjectMaterial(chart->getChartPart(p), material);
    }
    // A light takes its colours from its material: they go to its light node again.
    for (int i = 0; i < getNumLights(); ++i) {
        pnLight* light = getLight(i);
        if (light && light->getMaterial() == material->getName()) light->setMaterial(material->getName().c_str());
    }
}

void pnScene::updateStringsUsingProperty(pnStringProperty* style) {
    if (!style) {
        debugPrint2("[pnScene::updateStringsUsingProperty] ", "string property NULL");
        return;
    }
    auto update = [style](pnObject* object, bool counters) {
        if (!pnIsKind(object, pnObjectKind::String) && !(counters && pnIsKind(object, pnObjectKind::Counter))) return;
        const char* styleName = object->getStringPropertyName();
        if (styleName && style->getName() == styleName) object->setStringProperty(style);
    };
    for (int i = 0; i < getNumObjects(); ++i) update(getObject(i), true);
    for (int i = 0; i < getNumCharts(); ++i) {
        pnChartAccess* chart = chartAccess(getChart(i));
        for (int p = 0; chart && p < chart->getNumChartParts(); ++p) update(chart->getChartPart(p), false);
    }
}

int pnScene::getLastEventFrame() const {
    int last = 0;
    for (int i = 0; i < getNumEvents(); ++i) {
        const pnEvent* e = getEvent(i);
        if (e->getNumPlays() > 0) last = std::max(last, e->getEndFrame());
    }
    for (int i = 0; i < getNumCharts(); ++i) {
        if (pnChartAccess* chart = chartAccess(getChart(i))) last = std::max(last, chart->getChartLastFrame());
    }
    return last;
}
