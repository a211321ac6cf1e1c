// The event tree without a window: items built from the scene's events (the
// event, its first object name, the "EFFECT" folder with the plays, child
// events nested under their parent after those two), the kind of an item by
// its place, drop classes, and the scene edits the tree's panel makes: play
// copies, re-parenting, renaming, play removal and the event order.
#pragma once

#include <climits>
#include <memory>
#include <string>
#include <vector>

class pnEffect;
class pnEvent;
class pnScene;

struct CEventTreeItem {
    std::string text;
    int parent = -1;
    std::vector<int> children;
    bool live = true;
};

class CEventTreeModel {
public:
    enum Kind { kEffect = 0, kEvent = 1, kOther = 2 };
    static constexpr const char* kFolderText = "EFFECT";

    // Empties the tree and builds it from the scene's events in list order.
    void Build(const pnScene* scene);
    void Clear();

    const std::vector<int>& Roots() const { return m_roots; }
    bool Valid(int id) const;
    const CEventTreeItem& Item(int id) const { return m_items[static_cast<size_t>(id)]; }
    const std::string& Text(int id) const { return Item(id).text; }
    int Parent(int id) const { return Valid(id) ? Item(id).parent : -1; }
    // Kind by place: an effect sits under the second child of an event item;
    // an event item is a root or a child of an event item after the first
    // two; everything else is kOther. -1 for no item.
    int KindOf(int id) const;
    // The event item an item belongs to: itself for an event, the parent of
    // its object item or folder, the grandparent of an effect. -1 otherwise.
    int EventItemOf(int id) const;
    // 1-based place of an effect item under its folder; 0 for other kinds.
    int EffectIndex(int id) const;
    int FolderOf(int eventItem) const;
    int FindEvent(const std::string& name) const;
    // True when a is b or one of b's ancestors.
    bool Contains(int a, int b) const;
    // The drop class of target for a dragged item: 0, 1, 2, or -1 refused.
    // fifthEventName is the name of the scene's fifth event ("" without one).
    int DropClass(int dragged, int target, const std::string& fifthEventName) const;

    // Edits of the items alone.
    void MoveUnder(int item, int newParent);  // -1: to the roots (appended)
    void Remove(int item);
    // The event's effect items again from its plays.
    void SetEffects(int eventItem, const pnEvent& event);
    void Rename(int item, const std::string& text) { m_items[static_cast<size_t>(item)].text = text; }

    // Event names as the tree shows them: the first five roots in place, then
    // the other roots, then, breadth first, the children under each collected
    // event. Written back with pnScene::moveEvent; 0 without a scene.
    std::vector<std::string> EventOrder() const;
    int ApplyEventOrder(pnScene* scene) const;

private:
    int Add(const std::string& text, int parent);
    std::vector<CEventTreeItem> m_items;
    std::vector<int> m_roots;
};

// The drag's auto-scroll on a timer tick (ticks counted from 1 since the
// drag began): -1 one line up, 1 one line down, 0 none. Within 10 pixels of
// an edge (or past it) the tree scrolls on every n-th tick, n = 6 - d (at
// least 1), d = the distance past the 10-pixel band / 20.
int AutoScrollDirection(int y, int height, int tick);

// The camera event and the events named like the scene's four lights.
bool IsFixedEvent(const pnScene& scene, const std::string& name);

// Where a play copied by a drop goes: start frame and free span (frames).
struct CCopySpan {
    int start = 0;
    int span = 0;
};
// dropIndex 0: the target's "EFFECT" folder; n >= 1: after the target's play
// n. length is the copied play's length (end - start + 1, wider than an int
// for a play over the whole range). The span is cut to length and to the int
// range; one frame or less cannot take the copy.
CCopySpan ComputeCopySpan(const pnEvent& target, int dropIndex, long long length);

// A new effect named name holding every part the source has set: translation,
// rotation angle, rotation axis, scale, colour and grow.
std::unique_ptr<pnEffect> CopyEffectParts(const pnEffect& source, const std::string& name);

// The rename of a non-fixed event (and of its object): "" when allowed; the
// message when the name is not free for an object (pnScene::isObjectNameFree:
// "\"NAME\" is alreay used."); kRefusedQuietly for a fixed event, an empty or
// unchanged name. Names are cut to 127 characters first (sgCutName).
extern const char* const kRefusedQuietly;
std::string CheckEventRename(const pnScene& scene, const std::string& oldName, std::string& newName);
// Renames the event, its children's parent name and its parent's child list.
// When the event is named after its object (its first object name is the old
// name), the object takes the new name too, and every event that shows it
// names it so (*objectRenamed true); an event named otherwise keeps its
// object. 0 when the rename is refused.
int RenameEvent(pnScene& scene, const std::string& oldName, const std::string& newName,
                bool* objectRenamed = nullptr);

// Whether the dragged event may become a child of the target: both exist, are
// not fixed, differ, and the target is not below the dragged one.
bool CanReparent(const pnScene& scene, const std::string& dragged, const std::string& target);
// Sets the parent ("" none) and re-hangs the event's node last under it.
int SetEventParent(pnScene& scene, const std::string& eventName, const std::string& parentName);

// Why an effect cannot be deleted: "Delete Error" when the document keeps no
// use entry, "\"NAME\" is being used by an event." when an entry counts uses
// or any play names it; "" when it may go.
std::string CheckEffectDelete(const pnScene& scene, const std::vector<std::pair<std::string, int>>& uses,
                              const std::string& name);
