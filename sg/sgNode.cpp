#include "sg/sgNode.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstring>

#include "sg/sgChannel.h"
#include "sg/sgRuntime.h"

sgNode::sgNode() = default;

sgNode::~sgNode() {
    // A deleted root must not stay the channel's scene.
    sgChannel* ch = sgChannel::sgFindChannel();
    if (ch && ch->getScene() == this) ch->setScene(nullptr);
    // Unlink from every parent first, so no parent keeps a dangling link.
    std::vector<sgNode*> parents;
    parents.swap(parents_);
    for (sgNode* p : parents) {
        auto it = std::find(p->children_.begin(), p->children_.end(), this);
        if (it != p->children_.end()) p->children_.erase(it);
    }
    // A child still held by another parent stays alive with it.
    std::vector<sgNode*> children;
    children.swap(children_);
    for (sgNode* c : children) {
        c->dropParentLink(this);
        if (c->parents_.empty()) delete c;
    }
}

void sgNode::dropParentLink(sgNode* parent) {
    auto it = std::find(parents_.begin(), parents_.end(), parent);
    if (it != parents_.end()) parents_.erase(it);
}

sgNode* sgNode::copy() { return new sgNode; }

void sgNode::apply(int) {}

void sgNode::drawChildren(int pass) {
    // Index loop: drawing never changes the graph, but stay safe if it did.
    for (size_t i = 0; i < children_.size(); ++i) children_[i]->draw(pass);
}

void sgNode::draw(int pass) {
    glPushMatrix();
    apply(pass);
    drawChildren(pass);
    glPopMatrix();
}

void sgNode::convertGL() {
    for (size_t i = 0; i < children_.size(); ++i) children_[i]->convertGL();
}

bool sgNode::isOfType(const char* name) const { return name && std::strcmp(name, getTypeName()) == 0; }

sgNode* sgNode::copyTree() {
    sgNode* n = copy();
    if (!n) return nullptr;
    for (size_t i = 0; i < children_.size(); ++i) {
        sgNode* c = children_[i]->copyTree();
        if (c) n->addChild(c);
    }
    return n;
}

int sgNode::addChild(sgNode* child) {
    if (!child || child == this) return 0;
    children_.push_back(child);
    child->parents_.push_back(this);
    return 1;
}

int sgNode::insertChild(int index, sgNode* child) {
    if (!child || child == this || index < 0 || index > getNumChildren()) return 0;
    children_.insert(children_.begin() + index, child);
    child->parents_.push_back(this);
    return 1;
}

int sgNode::removeChild(sgNode* child) {
    auto it = std::find(children_.begin(), children_.end(), child);
    if (!child || it == children_.end()) return 0;
    children_.erase(it);
    child->dropParentLink(this);
    return 1;
}

sgNode* sgNode::removeChildByName(const std::string& name) {
    for (auto it = children_.begin(); it != children_.end(); ++it) {
        if ((*it)->name_ == name) {
            sgNode* c = *it;
            children_.erase(it);
            c->dropParentLink(this);
            return c;
        }
    }
    return nullptr;
}

int sgNode::removeChildIndex(int index) {
    if (index < 0 || index >= getNumChildren()) return 0;
    sgNode* c = children_[static_cast<size_t>(index)];
    children_.erase(children_.begin() + index);
    c->dropParentLink(this);
    return 1;
}

sgNode* sgNode::getChild(int index) const {
    if (index < 0 || index >= getNumChildren()) return nullptr;
    return children_[static_cast<size_t>(index)];
}

sgNode* sgGroup::copy() { return new sgGroup; }

sgNode* sgScene::copy() { return new sgScene; }

void sgScene::draw(int pass) { drawChildren(pass); }

sgNode* sgSwitch::copy() {
    sgSwitch* s = new sgSwitch;
    s->value_ = value_;
    return s;
}

int sgSwitch::setVal(int value) {
    if (value >= getNumChildren() || value < SG_SWITCH_ON) {
        sgPrintError(2, "sgSwitch::setVal");
        return 0;
    }
    value_ = value;
    return 1;
}

bool sgSwitch::selects(int index) const {
    if (!getEnabled() || value_ == SG_SWITCH_OFF || value_ >= getNumChildren()) return false;
    return value_ == SG_SWITCH_ON || value_ == index;
}

void sgSwitch::draw(int pass) {
    int n = getNumChildren();
    if (n == 0 || !getEnabled() || value_ == SG_SWITCH_OFF || value_ >= n) return;
    if (value_ == SG_SWITCH_ON) {
        drawChildren(pass);
    } else if (value_ >= 0) {
        getChild(value_)->draw(pass);
    }
}
