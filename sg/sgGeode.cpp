#include "sg/sgGeode.h"

#include <GL/gl.h>

#include <algorithm>

#include "sg/sgDCS.h"
#include "sg/sgGeoSet.h"

sgGeode::~sgGeode() {
    std::vector<sgGeoSet*> sets;
    sets.swap(sets_);
    for (sgGeoSet* s : sets) {
        s->geode_ = nullptr;
        delete s;
    }
}

sgNode* sgGeode::copy() {
    sgGeode* g = new sgGeode;
    for (sgGeoSet* s : sets_) {
        sgGeoSet* c = s->copy();
        if (c) g->addGSet(c);
    }
    return g;
}

void sgGeode::apply(int pass) {
    for (size_t i = 0; i < sets_.size(); ++i) sets_[i]->draw(pass);
}

void sgGeode::draw(int pass) {
    glPushMatrix();
    if (pass == SG_PASS_TRANSPARENT) {
        GLint previous = GL_BACK;
        glGetIntegerv(GL_CULL_FACE_MODE, &previous);
        // Inside a mirror the faces swap their windings, and so the culled faces.
        bool mirrored = sgDCS::mirrorParity() != 0;
        glCullFace(mirrored ? GL_BACK : GL_FRONT);
        apply(SG_PASS_BACK);
        glCullFace(mirrored ? GL_FRONT : GL_BACK);
        apply(SG_PASS_FRONT);
        glCullFace(static_cast<GLenum>(previous));
    } else {
        apply(pass);
    }
    glPopMatrix();
}

void sgGeode::convertGL() {
    for (size_t i = 0; i < sets_.size(); ++i) sets_[i]->convertGL();
}

int sgGeode::addGSet(sgGeoSet* set) {
    if (!set || set->geode_) return 0;
    sets_.push_back(set);
    set->geode_ = this;
    return 1;
}

int sgGeode::removeGSet(sgGeoSet* set) {
    auto it = std::find(sets_.begin(), sets_.end(), set);
    if (!set || it == sets_.end()) return 0;
    sets_.erase(it);
    set->geode_ = nullptr;
    return 1;
}

void sgGeode::forgetGSet(sgGeoSet* set) {
    auto it = std::find(sets_.begin(), sets_.end(), set);
    if (it != sets_.end()) sets_.erase(it);
}

sgGeoSet* sgGeode::getGSet(int index) const {
    if (index < 0 || index >= getNumGSets()) return nullptr;
    return sets_[static_cast<size_t>(index)];
}
