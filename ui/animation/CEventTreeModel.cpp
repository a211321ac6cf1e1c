#include "ui/animation/CEventTreeModel.h"

#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnLight.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "sg/sgRuntime.h"

#include <algorithm>
#include <climits>

namespace {
// Appended below every other child of the parent's node.
constexpr int kLastNode = 1 << 20;
}  // namespace

const char* const kRefusedQuietly = "\x01";

// ---- items ----

void CEventTreeModel::Clear() {
    m_items.clear();
    m_roots.clear();
}

int CEventTreeModel::Add(const std::string& text, int parent) {
    CEventTreeItem item;
    item.text = text;
    item.parent = parent;
    m_items.push_back(item);
    const int id = static_cast<int>(m_items.size()) - 1;
    if (parent < 0) m_roots.push_back(id);
    else m_items[static_cast<size_t>(parent)].children.push_back(id);
    return id;
}

void CEventTreeModel::Build(const pnScene* scene) {
    Clear();
    if (!scene) return;
    std::vector<int> eventItems;
    for (int i = 0; i < scene->getNumEvents(); ++i) {
        const pnEvent* e = scene->getEvent(i);
        const int item = Add(e->getName(), -1);
        const char* object = e->getObjectName(0);
        Add(object ? object : "", item);
        const int folder = Add(kFolderText, item);
        for (int p = 0; p < e->getNumPlays(); ++p) Add(e->getPlay(p)->effect, folder);
        eventItems.push_back(item);
    }
    for (int i = 0; i < scene->getNumEvents(); ++i) {
        const pnEvent* e = scene->getEvent(i);
        if (e->getParent().empty()) continue;
        const int parent = FindEvent(e->getParent());
        // A parent that does not exist, or one below the event itself, leaves it at the root.
        if (parent >= 0 && !Contains(eventItems[static_cast<size_t>(i)], parent))
            MoveUnder(eventItems[static_cast<size_t>(i)], parent);
    }
}

bool CEventTreeModel::Valid(int id) const {
    return id >= 0 && id < static_cast<int>(m_items.size()) && m_items[static_cast<size_t>(id)].live;
}

int CEventTreeModel::KindOf(int id) const {
    if (!Valid(id)) return -1;
    const int parent = Parent(id);
    if (parent < 0) return kEvent;
    const std::vector<int>& siblings = Item(parent).children;
    const auto at = std::find(siblings.begin(), siblings.end(), id) - siblings.begin();
    if (KindOf(parent) == kEvent) return at >= 2 ? kEvent : kOther;
    const int grand = Parent(parent);
    if (grand >= 0 && KindOf(grand) == kEvent && Item(grand).children.size() > 1 && Item(grand).children[1] == parent)
        return kEffect;
    return kOther;
}

int CEventTreeModel::EventItemOf(int id) const {
    switch (KindOf(id)) {
    case kEvent: return id;
    case kEffect: return Parent(Parent(id));
    case kOther: {
        const int parent = Parent(id);
        return KindOf(parent) == kEvent ? parent : -1;
    }
    default: return -1;
    }
}

int CEventTreeModel::EffectIndex(int id) const {
    if (KindOf(id) != kEffect) return 0;
    const std::vector<int>& siblings = Item(Parent(id)).children;
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), id) - siblings.begin()) + 1;
}

int CEventTreeModel::FolderOf(int eventItem) const {
    if (KindOf(eventItem) != kEvent || Item(eventItem).children.size() < 2) return -1;
    return Item(eventItem).children[1];
}

int CEventTreeModel::FindEvent(const std::string& name) const {
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].live && m_items[i].text == name && KindOf(static_cast<int>(i)) == kEvent)
            return static_cast<int>(i);
    return -1;
}

bool CEventTreeModel::Contains(int a, int b) const {
    for (int at = b; at >= 0; at = Parent(at))
        if (at == a) return true;
    return false;
}

int CEventTreeModel::DropClass(int dragged, int target, const std::string& fifthEventName) const {
    const int kind = KindOf(dragged);
    const int targetKind = KindOf(target);
    if (targetKind < 0) return -1;
    const int parent = Parent(target);
    const bool folder = targetKind == kOther && parent >= 0 && FolderOf(parent) == target;
    const bool objectItem = targetKind == kOther && parent >= 0 && KindOf(parent) == kEvent && !folder;
    if (kind == kEffect) {
        if (folder) return 0;
        if (targetKind == kEffect) return 2;
        return -1;
    }
    if (kind == kEvent) {
        if (targetKind == kEvent || folder) return 1;
        if (!fifthEventName.empty() && Text(target) == fifthEventName) return 1;
        if (objectItem) return 0;
    }
    return -1;
}

void CEventTreeModel::MoveUnder(int item, int newParent) {
    if (!Valid(item) || Contains(item, newParent)) return;
    const int old = Parent(item);
    std::vector<int>& from = old < 0 ? m_roots : m_items[static_cast<size_t>(old)].children;
    from.erase(std::remove(from.begin(), from.end(), item), from.end());
    m_items[static_cast<size_t>(item)].parent = newParent;
    if (newParent < 0) m_roots.push_back(item);
    else m_items[static_cast<size_t>(newParent)].children.push_back(item);
}

void CEventTreeModel::Remove(int item) {
    if (!Valid(item)) return;
    const int parent = Parent(item);
    std::vector<int>& from = parent < 0 ? m_roots : m_items[static_cast<size_t>(parent)].children;
    from.erase(std::remove(from.begin(), from.end(), item), from.end());
    std::vector<int> stack{item};
    while (!stack.empty()) {
        const int at = stack.back();
        stack.pop_back();
        CEventTreeItem& dead = m_items[static_cast<size_t>(at)];
        dead.live = false;
        stack.insert(stack.end(), dead.children.begin(), dead.children.end());
        dead.children.clear();
    }
}

void CEventTreeModel::SetEffects(int eventItem, const pnEvent& event) {
    const int folder = FolderOf(eventItem);
    if (folder < 0) return;
    const std::vector<int> old = Item(folder).children;
    for (int id : old) Remove(id);
    for (int p = 0; p < event.getNumPlays(); ++p) Add(event.getPlay(p)->effect, folder);
}

std::vector<std::string> CEventTreeModel::EventOrder() const {
    std::vector<int> order;
    for (size_t i = 0; i < m_roots.size(); ++i) order.push_back(m_roots[i]);
    for (size_t at = 0; at < order.size(); ++at) {
        const std::vector<int>& children = Item(order[at]).children;
        for (size_t c = 2; c < children.size(); ++c) order.push_back(children[c]);
    }
    std::vector<std::string> names;
    for (int id : order) names.push_back(Text(id));
    return names;
}

int CEventTreeModel::ApplyEventOrder(pnScene* scene) const {
    if (!scene) return 0;
    const std::vector<std::string> names = EventOrder();
    for (size_t i = 5; i < names.size(); ++i) scene->moveEvent(names[i].c_str(), static_cast<int>(i));
    return 1;
}

int AutoScrollDirection(int y, int height, int tick) {
    constexpr int kBand = 10;
    int direction = 0, beyond = 0;
    if (y < kBand) {
        direction = -1;
        beyond = std::max(0, -y);
    } else if (y >= height - kBand) {
        direction = 1;
        beyond = std::max(0, y - height + 1);
    }
    if (direction == 0) return 0;
    const int d = beyond / 20;
    const int n = d < 6 ? std::max(1, 6 - d) : 1;
    return tick % n == 0 ? direction : 0;
}

// ---- scene rules ----

bool IsFixedEvent(const pnScene& scene, const std::string& name) {
    if (name == "Camera") return true;
    for (int i = 0; i < 4; ++i)
        if (const pnLight* light = scene.getLight(i); light && light->getName() == name) return true;
    return false;
}

CCopySpan ComputeCopySpan(const pnEvent& target, int dropIndex, long long length) {
    CCopySpan out;
    long long span = 0;
    if (dropIndex <= 0) {
        out.start = 0;
        span = target.getNumPlays() > 0 ? target.getPlay(0)->start : length;
    } else {
        const pnEventPlay* play = target.getPlay(dropIndex - 1);
        if (!play) return out;
        out.start = play->end;
        const pnEventPlay* next = target.getPlay(dropIndex);
        span = next ? static_cast<long long>(next->start) - out.start : LLONG_MAX / 2;
    }
    if (out.start == 0) ++span;
    // The span and the copy's end, start + span - 1, stay ints.
    span = std::min({span, length, static_cast<long long>(INT_MAX) - out.start + 1, static_cast<long long>(INT_MAX)});
    out.span = static_cast<int>(std::max<long long>(0, span));
    return out;
}

std::unique_ptr<pnEffect> CopyEffectParts(const pnEffect& source, const std::string& name) {
    auto copy = std::make_unique<pnEffect>();
    copy->setName(name.c_str());
    if (source.getFlag(pnEffect::TRANS_FLAG)) copy->setTrans(source.getTrans());
    if (source.getFlag(pnEffect::ROTANGLE_FLAG)) copy->setRotAngle(source.getRotAngle());
    if (source.getFlag(pnEffect::ROTAXIS_FLAG)) copy->setRotAxis(source.getRotAxis());
    if (source.getFlag(pnEffect::SCALE_FLAG)) copy->setScale(source.getScale());
    if (source.getFlag(pnEffect::COLOR_FLAG)) copy->setColor(source.getColor().c_str());
    if (source.getFlag(pnEffect::GROW_FLAG)) copy->enableGrow(source.getFlag(pnEffect::GROW_FLAG));
    return copy;
}

std::string CheckEventRename(const pnScene& scene, const std::string& oldName, std::string& newName) {
    newName = sgCutName(newName);
    if (newName.empty() || newName == oldName || IsFixedEvent(scene, oldName) || !scene.findEvent(oldName.c_str()))
        return kRefusedQuietly;
    if (!scene.isObjectNameFree(newName.c_str())) return "\"" + newName + "\" is alreay used.";
    return std::string();
}

int RenameEvent(pnScene& scene, const std::string& oldName, const std::string& newName, bool* objectRenamed) {
    if (objectRenamed) *objectRenamed = false;
    std::string name = newName;
    if (!CheckEventRename(scene, oldName, name).empty()) return 0;
    pnEvent* event = scene.findEvent(oldName.c_str());
    // The object follows only when it bears the event's name: an event named
    // otherwise keeps showing its own object.
    const char* shown = event->getObjectName(0);
    pnObject* object = shown && oldName == shown ? scene.findObject(oldName.c_str()) : nullptr;
    scene.renameEvent(event, name.c_str());
    if (!object) return 1;
    object->setName(name.c_str());
    // Every event that shows the object shows it under its new name.
    for (int i = 0; i < scene.getNumEvents(); ++i) {
        pnEvent* showing = scene.getEvent(i);
        if (const char* first = showing->getObjectName(0); first && oldName == first)
            showing->setObjectName(name.c_str());
    }
    if (objectRenamed) *objectRenamed = true;
    return 1;
}

bool CanReparent(const pnScene& scene, const std::string& dragged, const std::string& target) {
    if (dragged == target || IsFixedEvent(scene, dragged) || IsFixedEvent(scene, target)) return false;
    const pnEvent* event = scene.findEvent(dragged.c_str());
    const pnEvent* up = scene.findEvent(target.c_str());
    if (!event || !up) return false;
    // Walk up from the target: meeting the dragged event would make a cycle.
    int steps = 0;
    for (const pnEvent* at = up; at && steps <= scene.getNumEvents(); ++steps) {
        if (at == event) return false;
        at = at->getHasParent() ? scene.findEvent(at->getParent().c_str()) : nullptr;
    }
    return steps <= scene.getNumEvents();
}

int SetEventParent(pnScene& scene, const std::string& eventName, const std::string& parentName) {
    pnEvent* event = scene.findEvent(eventName.c_str());
    if (!event) return 0;
    if (!parentName.empty() && !CanReparent(scene, eventName, parentName)) return 0;
    event->setParent(parentName.c_str());
    scene.moveEventNode(event, kLastNode);
    return 1;
}

std::string CheckEffectDelete(const pnScene& scene, const std::vector<std::pair<std::string, int>>& uses,
                              const std::string& name) {
    auto entry = std::find_if(uses.begin(), uses.end(), [&](const auto& u) { return u.first == name; });
    if (entry == uses.end()) return "Delete Error";
    bool played = entry->second != 0;
    for (int i = 0; i < scene.getNumEvents() && !played; ++i) {
        const pnEvent* e = scene.getEvent(i);
        for (int p = 0; p < e->getNumPlays() && !played; ++p) played = e->getPlay(p)->effect == name;
    }
    return played ? "\"" + name + "\" is being used by an event." : std::string();
}
