#include "scene/pnPanel.h"

#include <GL/gl.h>

#include <cmath>
#include <cstring>

#include "scene/pnMaterial.h"
#include "scene/pnWriteUtil.h"
#include "sg/sgDCS.h"
#include "sg/sgGeoSet.h"
#include "sg/sgGeoState.h"
#include "sg/sgGeode.h"
#include "sg/sgNode.h"
#include "sg/sgTexEnv.h"
#include "sg/sgTexGen.h"
#include "sg/sgTexture.h"

namespace {
// Corner numbers of each face, counter-clockwise seen from outside.
const int kFaceCorners[6][4] = {
    {4, 5, 6, 7},  // front
    {3, 0, 1, 2},  // back
    {0, 4, 7, 1},  // left
    {5, 3, 2, 6},  // right
    {7, 6, 2, 1},  // top
    {0, 3, 5, 4},  // bottom
};
// Texture-coordinate numbers of each face of a bevelled slab: the front shows
// the inner part of the rectangle, the sloping sides the strips around it.
const int kBevelTexIndex[6][4] = {
    {4, 5, 6, 7}, {0, 1, 2, 3}, {0, 4, 7, 3}, {5, 1, 2, 6}, {7, 6, 2, 3}, {0, 1, 5, 4},
};

// The eight corners of the slab: back face at -z/2, front face inset by the
// bevel at +z/2.
std::vector<float> slabCorners(const sgVec3& d, float bevel) {
    const float X = d[0] / 2, Y = d[1] / 2, Z = d[2] / 2;
    const float B = bevel > 0 ? bevel : 0;
    return {-X,    -Y,    -Z, -X,    Y,     -Z, X,     Y,     -Z, X,     -Y,    -Z,
            B - X, B - Y, Z,  X - B, B - Y, Z,  X - B, Y - B, Z,  B - X, Y - B, Z};
}

std::vector<float> slabNormals(const sgVec3& d, float bevel) {
    if (!(bevel > 0)) return {0, 0, 1, 0, 0, -1, -1, 0, 0, 1, 0, 0, 0, 1, 0, 0, -1, 0};
    const float z = d[2];
    const float L = std::sqrt(bevel * bevel + z * z);
    const float a = z / L, b = bevel / L;
    return {0, 0, 1, 0, 0, -1, -a, 0, b, a, 0, b, 0, a, b, 0, -a, b};
}
}  // namespace

pnPanel::~pnPanel() {
    releaseTextureObjects();
    detachNodesForDelete(true);
}

int pnPanel::faceSetIndex(int face, int k) {
    if (face < 0 || face >= NUM_FACES) return -1;
    if (!k) return face == FACE_FRONT ? 0 : -1;
    return face == FACE_FRONT ? 5 : face - 1;
}

// ---- Building ----

sgNode* pnPanel::getNode() {
    releaseNodes();
    makeNodeChain();
    buildFaceSets(true);
    return switchNode;
}

void pnPanel::buildFaceSets(bool resetFlatBevel) {
    if (kind) {
        static const int kOrder[6] = {1, 2, 3, 4, 5, 0};
        for (int face : kOrder) geode->addGSet(makeFaceSet(face, false));
    } else {
        if (resetFlatBevel) bevel = 0;
        geode->addGSet(makeFaceSet(FACE_FRONT, true));
    }
    geoSet = geode->getGSet(0);
    geoState = geoSet ? geoSet->getGState() : nullptr;
}

sgGeoSet* pnPanel::makeFaceSet(int face, bool flat) {
    auto* state = new sgGeoState;
    auto* set = new sgGeoSet;
    set->setGState(state);
    if (faceFlags[face]) textureFace(state, set, face, flat);
    if (flat) {
        const float X = dimension[0] / 2, Y = dimension[1] / 2;
        set->setAttr(GL_VERTEX_ARRAY, std::vector<float>{-X, -Y, 0, -X, Y, 0, X, Y, 0, X, -Y, 0},
                     std::vector<int>{0, 3, 2, 1});
        set->setAttr(GL_NORMAL_ARRAY, std::vector<float>{0, 0, 1}, std::vector<int>{0});
    } else {
        // Every face gets its own copy of the corners and normals.
        const int* c = kFaceCorners[face];
        set->setAttr(GL_VERTEX_ARRAY, slabCorners(dimension, bevel), std::vector<int>{c[0], c[1], c[2], c[3]});
        set->setAttr(GL_NORMAL_ARRAY, slabNormals(dimension, bevel), std::vector<int>{face});
    }
    set->setPrimType(GL_QUADS);
    set->setNumPrims(1);
    set->setPolygonOffset(static_cast<float>(forward));
    set->setOutline(highlight);
    return set;
}

void pnPanel::textureFace(sgGeoState* state, sgGeoSet* set, int face, bool flat) {
    if (!texture.empty()) loadTextureObject();
    bool coordinates = false;
    if (texMode == TEXMODE_NONE) {
        state->setTextureMode(TEXMODE_NONE);
        coordinates = true;
    } else if (!texture.empty() && textureObj) {
        if (texMode == TEXMODE_SEQUENCE) state->setSequenceCount(numIndex);
        state->setTextureMode(texMode);
        state->sgAttr(GL_TEXTURE_2D, textureObj.get());
        coordinates = true;
    }
    if (coordinates) {
        if (!texEnv) texEnv = std::make_unique<sgTexEnv>();
        texEnv->setMode(GL_MODULATE);
        state->sgAttr(GL_TEXTURE_ENV, texEnv.get());
    }
    attachTextureMaterial(state);
    if (!coordinates) return;
    if (mode != TEXCOORD_NONE) {
        makeTexGen();
        state->sgAttr(SG_TEXGEN_KEY, texGen.get());
    } else {
        std::vector<float> tc;
        std::vector<int> ti;
        faceTexCoords(face, flat, tc, ti);
        set->setAttr(GL_TEXTURE_COORD_ARRAY, std::move(tc), std::move(ti));
    }
}

void pnPanel::faceTexCoords(int face, bool flat, std::vector<float>& tc, std::vector<int>& ti) const {
    const float uL = coords[0], uR = coords[1], vB = coords[2], vT = coords[3];
    tc = {uL, vB, uR, vB, uR, vT, uL, vT};
    if (flat || !(bevel > 0)) {
        ti = {0, 1, 2, 3};
        return;
    }
    // Not scaled by the rectangle's size: the inset is a share of the panel.
    const float du = bevel / dimension[0], dv = bevel / dimension[1];
    const float inner[8] = {uL + du, vB + dv, uR - du, vB + dv, uR - du, vT - dv, uL + du, vT - dv};
    tc.insert(tc.end(), inner, inner + 8);
    const int* t = kBevelTexIndex[face];
    ti = {t[0], t[1], t[2], t[3]};
}

void pnPanel::rebuild() {
    if (!nodesLive() || !pivotNode) return;
    if (geode) {
        pivotNode->removeChild(geode);
        delete geode;  // with its sets
    }
    geode = new sgGeode;
    pivotNode->addChild(geode);
    geoSet = nullptr;
    geoState = nullptr;
    buildFaceSets(false);
    if (pnMaterial* m = sceneMaterial(material)) m->apply(geode);
}

void pnPanel::recomputeTexCoords() {
    if (!nodesLive() || !geode || mode != TEXCOORD_NONE) return;
    auto redo = [this](int face, bool flat) {
        sgGeoSet* set = geode->getGSet(faceSetIndex(face, flat ? KIND_2D : KIND_3D));
        if (!set || !faceFlags[face]) return;
        std::vector<float> tc;
        std::vector<int> ti;
        faceTexCoords(face, flat, tc, ti);
        set->setAttr(GL_TEXTURE_COORD_ARRAY, std::move(tc), std::move(ti));  // drops the compiled list
    };
    if (kind) {
        if (geode->getNumGSets() != NUM_FACES) return;
        for (int face = 1; face < NUM_FACES; ++face) redo(face, false);
        redo(FACE_FRONT, false);
    } else {
        redo(FACE_FRONT, true);
    }
}

// ---- Settings ----

void pnPanel::setFaceFlags(const int flags[NUM_FACES]) {
    if (!flags) return;
    for (int i = 0; i < NUM_FACES; ++i) faceFlags[i] = flags[i];
    rebuild();
}

void pnPanel::setEachFaceFlag(int f1, int f2, int f3, int f4, int f5, int f6) {
    const int flags[NUM_FACES] = {f1, f2, f3, f4, f5, f6};
    setFaceFlags(flags);
}

int pnPanel::getFaceFlag(int face) const { return face >= 0 && face < NUM_FACES ? faceFlags[face] : 0; }

void pnPanel::getFaceFlags(int flags[NUM_FACES]) const {
    for (int i = 0; i < NUM_FACES; ++i) flags[i] = faceFlags[i];
}

void pnPanel::setDimension(const sgVec3& v) {
    dimension = v;
    // "Not above 0" also catches NaN, which would poison the mesh.
    if (!(dimension[0] > 0)) dimension[0] = 50;
    if (!(dimension[1] > 0)) dimension[1] = 50;
    if (!(dimension[2] >= 0)) dimension[2] = 50;
    rebuild();
}
void pnPanel::setDimension(float x, float y, float z) { setDimension(sgVec3(x, y, z)); }
void pnPanel::setDimensionX(float x) { setDimension(sgVec3(x, dimension[1], dimension[2])); }
void pnPanel::setDimensionY(float y) { setDimension(sgVec3(dimension[0], y, dimension[2])); }
void pnPanel::setDimensionZ(float z) { setDimension(sgVec3(dimension[0], dimension[1], z)); }

void pnPanel::setBevel(float b) {
    bevel = b;
    rebuild();
}

void pnPanel::setKind(int k) {
    kind = k;
    rebuild();
    recomputeTexCoords();
}

void pnPanel::setCoords(float left, float bottom, float right, float top) {
    coords[0] = left;
    coords[1] = right;
    coords[2] = bottom;
    coords[3] = top;
    recomputeTexCoords();
}

void pnPanel::getCoords(float* left, float* bottom, float* right, float* top) const {
    if (left) *left = coords[0];
    if (right) *right = coords[1];
    if (bottom) *bottom = coords[2];
    if (top) *top = coords[3];
}

void pnPanel::textureChanged(TextureChange what) {
    rebuild();
    if (what == TextureChange::Texture) recomputeTexCoords();
}

void pnPanel::setTexFrame(int frame) {
    if (!geode) return;
    for (int face = 0; face < NUM_FACES; ++face) {
        if (!faceFlags[face]) continue;
        sgGeoSet* set = geode->getGSet(faceSetIndex(face, kind));
        if (set && set->getGState()) set->getGState()->setSequenceFrame(frame);
    }
}

void pnPanel::setForward(int v) {
    pnObject::setForward(v);
    if (!nodesLive() || !geode) return;
    for (int i = 0; i < geode->getNumGSets(); ++i) geode->getGSet(i)->setPolygonOffset(static_cast<float>(forward));
}

void pnPanel::setHighlight(int v) {
    pnObject::setHighlight(v);
    if (!nodesLive() || !geode) return;
    for (int i = 0; i < geode->getNumGSets(); ++i) geode->getGSet(i)->setOutline(v);
}

// ---- Copy and file ----

int pnPanel::copy(const pnObject* other) {
    if (!other) return 0;
    if (other == this) return 1;
    pnObject::copy(other);
    copyTexPlanes(other);
    if (const auto* p = dynamic_cast<const pnPanel*>(other)) {
        bevel = p->bevel;
        kind = p->kind;
        dimension = p->dimension;
        std::memcpy(faceFlags, p->faceFlags, sizeof faceFlags);
        std::memcpy(coords, p->coords, sizeof coords);
    }
    return 1;
}

int pnPanel::write(FILE* f, int convertPaths) {
    if (!f) return 0;
    pnWriteBlockBegin(f, "panel");
    pnObject::write(f, convertPaths);
    pnWriteQuoted(f, "kind", kind ? "3D" : "2D");
    // A flat panel has no bevel, whatever was stored before it became flat.
    pnWriteFloat(f, "bevel", kind ? bevel : 0.0f);
    pnWritef(f, "    faceFlag\t( %d %d %d %d %d %d )\n", faceFlags[0], faceFlags[1], faceFlags[2], faceFlags[3],
             faceFlags[4], faceFlags[5]);
    pnWriteVec3(f, "dimension", dimension);
    pnWriteInt(f, "mode", mode);
    if (mode > 0) {
        pnWriteVec4(f, "splane", splane, false);
        pnWriteVec4(f, "tplane", tplane, false);
        pnWriteVec4(f, "coords", sgVec4(coords[0], coords[2], coords[1], coords[3]), false);
    }
    pnWriteBlockEnd(f);
    return pnWriteOk(f);
}
