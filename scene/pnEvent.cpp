#include "scene/pnEvent.h"

#include <algorithm>

#include "scene/pnScene.h"
#include "sg/sgRuntime.h"

pnEventPlay::pnEventPlay(const char* effectName, int startFrame, int endFrame, int isVisible)
    : effect(sgCutName(effectName)), start(startFrame), duration(endFrame - startFrame), end(endFrame),
      visible(isVisible) {}

void pnEventPlay::setEffect(const char* effectName) { effect = sgCutName(effectName); }

pnEvent::pnEvent() {
    hidden = 0;
    init();
}

pnEvent::~pnEvent() = default;

void pnEvent::init() {
    plays.clear();
    hasParent = 0;
    nonStop = 0;
    disappear = -1;
    repeat = 1;
    delay = 0;
    name.clear();
    parent.clear();
    scene = nullptr;
    objectNames.clear();
    childNames.clear();
    node = nullptr;
    baseMaterial = nullptr;
    resetState();
}

void pnEvent::resetState() {
    accTrans.set(0, 0, 0);
    accScale.set(1, 1, 1);
    accMatrix.makeIdent();
    baseMaterial = nullptr;
}

int pnEvent::copy(const pnEvent* other) {
    if (!other) return 0;
    if (other == this) return 1;
    copyPlaysAndObjects(other);
    parent = other->parent;
    childNames = other->childNames;
    return 1;
}

int pnEvent::copyPlaysAndObjects(const pnEvent* other) {
    if (!other) return 0;
    if (other == this) return 1;
    hasParent = other->hasParent;
    nonStop = other->nonStop;
    disappear = other->disappear;
    repeat = other->repeat;
    delay = other->delay;
    scene = other->scene;
    plays.clear();
    for (const auto& p : other->plays) plays.push_back(std::make_unique<pnEventPlay>(*p));
    objectNames = other->objectNames;
    node = nullptr;
    resetState();
    return 1;
}

void pnEvent::setName(const char* n) { name = sgCutName(n); }

int pnEvent::addUniqueName(std::vector<std::string>& names, const char* n, const char* caller) {
    std::string cut = sgCutName(n);
    if (cut.empty()) return 0;
    if (std::find(names.begin(), names.end(), cut) != names.end()) {
        debugPrint2(caller, "duplicate object name");
        return 0;
    }
    names.push_back(cut);
    return 1;
}

int pnEvent::addObjectName(const char* n) { return addUniqueName(objectNames, n, "[pnEvent::addObjectName]"); }

int pnEvent::setObjectName(const char* n) {
    std::string cut = sgCutName(n);
    if (cut.empty()) return 0;
    if (objectNames.empty())
        objectNames.push_back(cut);
    else
        objectNames[0] = cut;
    return 1;
}

const char* pnEvent::getObjectName(int i) const {
    return (i >= 0 && i < getNumObjectNames()) ? objectNames[i].c_str() : nullptr;
}

int pnEvent::addChildName(const char* n) { return addUniqueName(childNames, n, "[pnEvent::addChildName]"); }

int pnEvent::removeChildName(const char* n) {
    if (!n || !*n) return 0;
    auto it = std::find(childNames.begin(), childNames.end(), sgCutName(n));
    if (it == childNames.end()) return 0;
    childNames.erase(it);
    return 1;
}

const char* pnEvent::getChildName(int i) const {
    return (i >= 0 && i < getNumChildNames()) ? childNames[i].c_str() : nullptr;
}

int pnEvent::addPlay(const char* effect, int start, int end, int visible) {
    auto play = std::make_unique<pnEventPlay>(effect, start, end, visible);
    size_t i = 0;
    while (i < plays.size() && plays[i]->start <= start) ++i;
    // Trim the neighbours the new play overlaps: the later one starts where the
    // new one ends, the earlier one ends where the new one starts. Their
    // durations and visibility stay as they were.
    if (i < plays.size() && plays[i]->start < end) plays[i]->start = end;
    if (i > 0 && plays[i - 1]->end > start) plays[i - 1]->end = start;
    plays.insert(plays.begin() + static_cast<std::ptrdiff_t>(i), std::move(play));
    return 1;
}

pnEventPlay* pnEvent::getPlayAtFrame(int frame) const {
    if (frame < 0) return nullptr;
    for (const auto& p : plays) {
        if (p->start > frame) break;
        if (frame <= p->end) return p.get();
    }
    return nullptr;
}

pnEventPlay* pnEvent::getPlay(int i) const {
    return (i >= 0 && i < getNumPlays()) ? plays[static_cast<size_t>(i)].get() : nullptr;
}

int pnEvent::setPlayEffect(int i, const char* n) {
    if (!n || !*n) return 0;
    pnEventPlay* p = getPlay(i);
    if (!p) return 0;
    p->setEffect(n);
    return 1;
}

int pnEvent::setPlayTime(int i, int start, int end) {
    pnEventPlay* p = getPlay(i);
    if (!p) return 0;
    p->start = start;
    p->end = end;
    return 1;
}

int pnEvent::setPlayVisible(int i, int visible) {
    pnEventPlay* p = getPlay(i);
    if (!p) return 0;
    p->visible = visible;
    return 1;
}

int pnEvent::removePlay(const char* effectName) {
    if (!effectName || !*effectName) return 0;
    std::string cut = sgCutName(effectName);
    for (size_t i = 0; i < plays.size(); ++i) {
        if (plays[i]->effect == cut) {
            plays.erase(plays.begin() + static_cast<std::ptrdiff_t>(i));
            return 1;
        }
    }
    return 0;
}

int pnEvent::removePlayAt(int i) {
    if (i < 0 || i >= getNumPlays()) return 0;
    plays.erase(plays.begin() + i);
    return 1;
}

int pnEvent::insertPlayAt(int i, const pnEventPlay& play) {
    if (i < 0 || i > getNumPlays()) return 0;
    plays.insert(plays.begin() + i, std::make_unique<pnEventPlay>(play));
    return 1;
}

int pnEvent::getStartFrame() const { return plays.empty() ? 0 : plays.front()->start; }
int pnEvent::getEndFrame() const { return plays.empty() ? 0 : plays.back()->end; }

void pnEvent::setParent(const char* n) {
    std::string newParent = sgCutName(n);
    // An event under itself would make its node its own ancestor.
    if (!newParent.empty() && newParent == name) return;
    std::string oldParent = parent;
    if (!newParent.empty()) {
        parent = newParent;
        hasParent = 1;
    } else {
        parent.clear();
        hasParent = 0;
    }
    if (!scene) return;
    if (!oldParent.empty()) {
        if (pnEvent* old = scene->findEvent(oldParent.c_str())) old->removeChildName(name.c_str());
    }
    if (!newParent.empty()) {
        if (pnEvent* p = scene->findEvent(newParent.c_str())) p->addChildName(name.c_str());
    }
}
