#include "sg/sgGeoSet.h"

#include <GL/gl.h>

#include <algorithm>

#include "sg/sgDisplayListTable.h"
#include "sg/sgGeoState.h"
#include "sg/sgGeode.h"
#include "sg/sgRuntime.h"
#include "sg/sgTextureFileTable.h"

namespace {
bool validKey(int key) { return key == GL_VERTEX_ARRAY || key == GL_NORMAL_ARRAY || key == GL_TEXTURE_COORD_ARRAY; }

const sgAttrRecord* findIn(const std::vector<sgAttrRecord>& attrs, int key) {
    for (const sgAttrRecord& r : attrs)
        if (r.key == key) return &r;
    return nullptr;
}

// Element `index` of an array of `width`-component tuples, when it lies inside.
bool inside(const sgAttrRecord& r, long long index, int width) {
    return index >= 0 && static_cast<unsigned long long>(index) * width + (width - 1) < r.size();
}

void emitNormal(const sgAttrRecord& r, long long i) {
    if (!inside(r, i, 3)) return;
    if (r.isDouble)
        glNormal3dv(&r.doubles[static_cast<size_t>(i) * 3]);
    else
        glNormal3fv(&r.floats[static_cast<size_t>(i) * 3]);
}

void emitTexCoord(const sgAttrRecord& r, long long i) {
    if (!inside(r, i, 2)) return;
    if (r.isDouble)
        glTexCoord2dv(&r.doubles[static_cast<size_t>(i) * 2]);
    else
        glTexCoord2fv(&r.floats[static_cast<size_t>(i) * 2]);
}

void emitVertex(const sgAttrRecord& r, long long i) {
    if (!inside(r, i, 3)) return;
    if (r.isDouble)
        glVertex3dv(&r.doubles[static_cast<size_t>(i) * 3]);
    else
        glVertex3fv(&r.floats[static_cast<size_t>(i) * 3]);
}

void setTexGen(GLenum coord, GLenum cap, const sgGeoState* state, int i) {
    int mode = state ? state->getTexGenMode(i) : 0;
    if (mode == 0) {
        if (glIsEnabled(cap)) glDisable(cap);
        return;
    }
    glEnable(cap);
    const float* plane = state->getTexGenPlane(i);
    if (mode == 1) {
        glTexGeni(coord, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
        glTexGenfv(coord, GL_OBJECT_PLANE, plane);
    } else if (mode == 2) {
        glTexGeni(coord, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
        glTexGenfv(coord, GL_EYE_PLANE, plane);
    } else {
        glTexGeni(coord, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    }
}
}  // namespace

sgGeoSet::~sgGeoSet() {
    if (geode_) geode_->forgetGSet(this);
    sgGetDisplayListTable().removeGeoSet(this);
    sgAttrSet::unref(shared_);
    shared_ = nullptr;
    delete state_;
    // ~sgAttrSet deletes the set's own list.
}

int sgGeoSet::setAttr(int key, std::vector<float> data, std::vector<int> index) {
    if (!validKey(key)) return 0;
    unshare();
    sgAttrRecord r;
    r.key = key;
    r.floats = std::move(data);
    r.index = std::move(index);
    storeAttr(std::move(r));
    deleteDisplayList();  // the list no longer matches the records
    return 1;
}

int sgGeoSet::setAttr(int key, std::vector<double> data, std::vector<int> index) {
    if (!validKey(key)) return 0;
    unshare();
    sgAttrRecord r;
    r.key = key;
    r.isDouble = true;
    r.doubles = std::move(data);
    r.index = std::move(index);
    storeAttr(std::move(r));
    deleteDisplayList();
    return 1;
}

void sgGeoSet::setGState(sgGeoState* state) {
    if (state == state_) return;
    delete state_;
    state_ = state;
}

void sgGeoSet::unshare() {
    if (!shared_) return;
    if (attrs_.empty()) attrs_ = shared_->attrs_;
    displayList_ = -1;
    sgAttrSet::unref(shared_);
    shared_ = nullptr;
}

void sgGeoSet::setNumPrims(int n) {
    numPrims_ = n;
    bool hasRecords = !attrs_.empty() || (shared_ && !shared_->attrs_.empty());
    if (!hasRecords) return;  // a handed list cannot be rebuilt: keep it
    unshare();
    deleteDisplayList();
}

void sgGeoSet::setNormalBind(int bind) {
    normalBind_ = bind;
    bool hasRecords = !attrs_.empty() || (shared_ && !shared_->attrs_.empty());
    if (!hasRecords) return;
    unshare();
    deleteDisplayList();
}

void sgGeoSet::setDisplayList(int id) {
    if (sharing()) {
        if (id == -1 && !shared_->attrs_.empty()) {
            // Recompile from an own copy of the records; the others keep theirs.
            unshare();
            return;
        }
        sgAttrSet::unref(shared_);
        shared_ = nullptr;
    }
    if (id == displayList_) return;
    deleteDisplayList();
    displayList_ = id;
}

int sgGeoSet::getDisplayList() const { return sharing() ? shared_->displayList_ : displayList_; }

void sgGeoSet::buildDisplayList() {
    if (sharing()) {
        // The first sharer to draw compiles; the others reuse the shared id.
        if (shared_->displayList_ == -1 && !shared_->attrs_.empty()) compile(shared_->attrs_, shared_->displayList_);
    } else if (displayList_ == -1 && !attrs_.empty()) {
        compile(attrs_, displayList_);
    }
}

void sgGeoSet::compile(const std::vector<sgAttrRecord>& attrs, int& listId) {
    const sgAttrRecord* v = findIn(attrs, GL_VERTEX_ARRAY);
    const sgAttrRecord* n = findIn(attrs, GL_NORMAL_ARRAY);
    const sgAttrRecord* t = findIn(attrs, GL_TEXTURE_COORD_ARRAY);
    GLuint id = glGenLists(1);
    listId = static_cast<int>(id);
    if (!id) return;
    const size_t per = primType_ == GL_TRIANGLES ? 3 : 4;
    // Never walk past the vertex index list, whatever the primitive count says.
    size_t prims = numPrims_ > 0 ? static_cast<size_t>(numPrims_) : 0;
    prims = std::min(prims, v ? v->index.size() / per : 0);
    glNewList(id, GL_COMPILE);
    glBegin(static_cast<GLenum>(primType_));
    for (size_t j = 0; j < prims; ++j) {
        if (n && normalBind_ == 0 && j < n->index.size()) emitNormal(*n, n->index[j]);
        for (size_t k = 0; k < per; ++k) {
            size_t slot = j * per + k;
            if (t && slot < t->index.size()) emitTexCoord(*t, t->index[slot]);
            int e = v->index[slot];
            if (n && normalBind_ == 1 && e >= 0 && static_cast<size_t>(e) < n->index.size())
                emitNormal(*n, n->index[static_cast<size_t>(e)]);
            emitVertex(*v, e);
        }
    }
    glEnd();
    glEndList();
}

sgGeoSet* sgGeoSet::copy() {
    sgGeoSet* c = new sgGeoSet;
    if (state_) c->state_ = state_->copy();
    if (!shared_ && (!attrs_.empty() || displayList_ > 0)) {
        // The records and the list compiled from them (or the list handed in)
        // move into one shared set that both use; it deletes the list once.
        shared_ = new sgAttrSet;
        shared_->attrs_ = std::move(attrs_);
        attrs_.clear();
        shared_->displayList_ = displayList_;
        displayList_ = -1;
    }
    if (shared_) {
        shared_->ref();
        c->shared_ = shared_;
    }
    c->primType_ = primType_;
    c->numPrims_ = numPrims_;
    c->normalBind_ = normalBind_;
    return c;
}

void sgGeoSet::convertGL() {
    if (!state_) return;
    if (state_->getTextureMode() == sgGeoState::SG_TEX_SINGLE)
        state_->convertGL();
    else if (state_->getTextureMode() == sgGeoState::SG_TEX_SEQUENCE)
        state_->convertSequence();
}

sgTextureFileEntry* sgGeoSet::currentTexture() const { return state_ ? state_->currentTexture() : nullptr; }

bool sgGeoSet::isTransparent() const { return state_ && state_->getAlpha() < 1.0f; }

bool sgGeoSet::drawsInPass(int pass) const {
    bool transparent = isTransparent();
    const sgTextureFileEntry* tex = currentTexture();
    switch (pass) {
        case 0: return true;
        case 1: return !transparent && !(tex && tex->components == 4);
        case 2: return transparent;
        // The front faces of what pass 1 left out. An opaque set drawn here
        // again would paint over what a transparent set in front of it blended.
        case 3:
        case 4: return transparent || (tex && tex->components == 4);
        default: return false;
    }
}

void sgGeoSet::draw(int pass) {
    // Load a pending texture first: whether it has alpha decides the passes.
    if (pass != 0) {
        sgTextureFileEntry* tex = currentTexture();
        if (tex && tex->glId == 0 && !tex->failed) convertGL();
    }
    if (!drawsInPass(pass)) return;
    setTexGen(GL_S, GL_TEXTURE_GEN_S, state_, 0);
    setTexGen(GL_T, GL_TEXTURE_GEN_T, state_, 1);
    if (state_)
        state_->apply(pass);
    else
        glDisable(GL_TEXTURE_2D);  // no state: no texture left over from another set
    buildDisplayList();
    sgTextureFileEntry* tex = currentTexture();
    if (state_ && state_->getTextureMode() != sgGeoState::SG_TEX_NONE && tex && tex->glId)
        glBindTexture(GL_TEXTURE_2D, tex->glId);
    if (sgGetRenderMode() == GL_SELECT) glLoadName(static_cast<GLuint>(sgGetDisplayListTable().addPickName(this)));
    int list = getDisplayList();
    if (list <= 0) return;
    if (polygonOffset_ != 0) {
        glEnable(GL_POLYGON_OFFSET_FILL);
        glPolygonOffset(1, polygonOffset_);
    }
    glCallList(static_cast<GLuint>(list));
    glDisable(GL_POLYGON_OFFSET_FILL);
    if (outline_) {
        // Plain green lines: the set's texture would tint them.
        const bool textured = glIsEnabled(GL_TEXTURE_2D);
        if (textured) glDisable(GL_TEXTURE_2D);
        glDisable(GL_LIGHTING);
        glColor3f(0.4f, 1.0f, 0.4f);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        if (polygonOffset_ != 0) {
            glEnable(GL_POLYGON_OFFSET_FILL);
            glPolygonOffset(1, polygonOffset_ - 2);
        }
        glCallList(static_cast<GLuint>(list));
        glDisable(GL_POLYGON_OFFSET_FILL);
        glEnable(GL_LIGHTING);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        if (textured) glEnable(GL_TEXTURE_2D);
    }
}
