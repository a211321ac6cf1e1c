// The node graph: a tree of nodes drawn with OpenGL in passes. Interior nodes
// group, select or transform their children; geodes hold geometry sets.
//
// Draw passes (the argument of draw and apply): 1 opaque geometry, 2 transparent
// back faces, 3 transparent front faces, 4 both transparent passes in one walk
// (the geode splits it), 0 selection picking.
//
// Ownership: a node owns its children. A child may hang under several parents
// (a counter hangs one glyph geode under many switches); it is deleted with the
// last parent that still holds it. Deleting a node first unlinks it from every
// parent, so nothing keeps a dangling link.
#pragma once

#include <string>
#include <vector>

class sgNode;
// The child-list operations work on any node (sgNodeList::addChild and so on).
using sgNodeList = sgNode;

enum sgDrawPass { SG_PASS_PICK = 0, SG_PASS_OPAQUE = 1, SG_PASS_BACK = 2, SG_PASS_FRONT = 3, SG_PASS_TRANSPARENT = 4 };

class sgNode {
public:
    sgNode();
    virtual ~sgNode();
    sgNode(const sgNode&) = delete;
    sgNode& operator=(const sgNode&) = delete;

    virtual const char* getTypeName() const { return "sgNode"; }
    // A new node of the same class with its own settings; children are not copied.
    // Not const: copying geometry shares the source's records with the copy.
    virtual sgNode* copy();
    virtual void apply(int pass);
    virtual void draw(int pass);
    // Builds the GL objects below this node (textures of the geometry sets).
    virtual void convertGL();

    // True when name equals getTypeName().
    bool isOfType(const char* name) const;
    // copy() of this node with copyTree() of every child hung under it.
    sgNode* copyTree();

    // Child list. Results: 1 done, 0 refused (null, self, out of range, absent).
    int addChild(sgNode* child);
    // 0 <= index <= numChildren; 0 puts the child in front.
    int insertChild(int index, sgNode* child);
    // Unlinks the first link to child (the child is not deleted).
    int removeChild(sgNode* child);
    // Unlinks and returns the first child named exactly `name`, or null.
    sgNode* removeChildByName(const std::string& name);
    int removeChildIndex(int index);
    sgNode* getChild(int index) const;
    int getNumChildren() const { return static_cast<int>(children_.size()); }

    // The parent this node was last added to (null when it has none).
    sgNode* getParent() const { return parents_.empty() ? nullptr : parents_.back(); }
    int getNumParents() const { return static_cast<int>(parents_.size()); }

    const std::string& getName() const { return name_; }
    void setName(const std::string& name) { name_ = name; }
    int getEnabled() const { return enabled_; }
    void setEnabled(int enabled) { enabled_ = enabled; }

protected:
    void drawChildren(int pass);

private:
    void dropParentLink(sgNode* parent);

    std::string name_;
    std::vector<sgNode*> children_;
    std::vector<sgNode*> parents_;  // one entry per link that holds this node
    int enabled_ = 1;
};

class sgGroup : public sgNode {
public:
    const char* getTypeName() const override { return "sgGroup"; }
    sgNode* copy() override;
};

// The root: draws its children without a matrix push.
class sgScene : public sgNode {
public:
    const char* getTypeName() const override { return "sgScene"; }
    sgNode* copy() override;
    void draw(int pass) override;
};

// Selects what to draw: -1 no child, -2 every child, 0..n-1 that child.
class sgSwitch : public sgNode {
public:
    enum { SG_SWITCH_OFF = -1, SG_SWITCH_ON = -2 };
    const char* getTypeName() const override { return "sgSwitch"; }
    sgNode* copy() override;
    void draw(int pass) override;

    // Values >= numChildren or below -2 print "sgSwitch::setVal : Switch setting
    // failure" and keep the old value (0); others are stored (1).
    int setVal(int value);
    int getVal() const { return value_; }
    // True when the switch would draw child `index` (also used by the light pass).
    bool selects(int index) const;

private:
    int value_ = SG_SWITCH_ON;
};
