#include "scene/pnObject.h"

#include <GL/gl.h>

#include <climits>
#include <cstring>

#include "scene/pnChartDataPt.h"
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "scene/pnWriteUtil.h"
#include "sg/sgDCS.h"
#include "sg/sgGeoSet.h"
#include "sg/sgGeoState.h"
#include "sg/sgGeode.h"
#include "sg/sgMaterial.h"
#include "sg/sgNode.h"
#include "sg/sgRuntime.h"
#include "sg/sgTexEnv.h"
#include "sg/sgTexGen.h"
#include "sg/sgTexture.h"

namespace {

// Every axis setter refuses a zero axis: there is no rotation about it.
bool refusedAxis(const sgVec3& v, const char* where) {
    if (v[0] != 0.0f || v[1] != 0.0f || v[2] != 0.0f) return false;
    debugPrint2(where, "one of axis component should not be 0");
    return true;
}

// Where each texture placement pair sits in (splane, tplane), by TexPlaneEdit.
struct PlaneSlots {
    int s, t;
};
const PlaneSlots kTexPlaneSlots[3] = {{3, 3}, {1, 0}, {0, 1}};

void readTexPlanes(const sgVec4& splane, const sgVec4& tplane, int edit, float* s, float* t) {
    if (s) *s = splane[kTexPlaneSlots[edit].s];
    if (t) *t = tplane[kTexPlaneSlots[edit].t];
}

// forward is stored negated; the most negative int has no negation.
int negate(int v) { return v == INT_MIN ? INT_MAX : -v; }
}  // namespace

pnObject::pnObject() = default;

pnObject::~pnObject() {
    // Kinds detach their nodes first; whatever is left still belongs to us.
    releaseNodes();
}

// ---- Copy, names, files ----

int pnObject::copy(const pnObject* other) {
    if (!other) return 0;
    if (other == this) return 1;
    name = other->name;
    file = other->file;
    material = other->material;
    texture = other->texture;
    texMode = other->texMode;
    numIndex = other->numIndex;
    position = other->position;
    rotAngle = other->rotAngle;
    rotAxis = other->rotAxis;
    pivotAngle = other->pivotAngle;
    pivotAxis = other->pivotAxis;
    scale = other->scale;
    scaleOrigin = other->scaleOrigin;
    center = other->center;
    forward = other->forward;
    for (int i = 0; i < NUM_FLAGS; ++i) setFlags[i] = other->setFlags[i];
    forgetNodes();
    partFlag = other->partFlag;
    visible = other->visible;
    scene = other->scene;
    return 1;
}

void pnObject::setName(const char* n) {
    setNameString(n);
    if (n && nodesLive()) switchNode->setName(switchNodeName());
}

bool pnObject::usesMaterial(const std::string& materialName) const {
    if (materialName.empty()) return false;
    if (material == materialName) return true;
    for (int i = 0; i < getNumDataPts(); ++i) {
        const pnChartDataPt* point = getDataPt(i);
        if (point && (point->materialName == materialName || point->jointMaterialName == materialName)) return true;
    }
    return false;
}

std::string pnObject::switchNodeName() const { return sgCutBytes(name, 63); }

void pnObject::setNameString(const char* n) {
    if (n) name = sgCutName(n);
}

void pnObject::setFile(const char* f) {
    if (!f || !*f) {
        file.clear();  // the flag stays; the writer skips an empty name
        return;
    }
    file = f;
    setFlags[FILE_FLAG] = 1;
}

void pnObject::setTextureName(const char* t) {
    texture = (t && *t) ? t : "";
    setFlags[TEXTURE_FLAG] = 1;
}

void pnObject::setMaterialName(const char* n) {
    material = sgCutName(n);
    setFlags[MATERIAL_FLAG] = 1;
}

int pnObject::getSetFlag(int i) const { return (i >= 0 && i < NUM_FLAGS) ? setFlags[i] : 0; }

int pnObject::isChart() const { return pnIsKind(this, pnObjectKind::Chart) ? 1 : 0; }

// ---- Base bodies that do nothing (kinds override) ----

void pnObject::setTexFrame(int frame) {
    if (geoState) geoState->setSequenceFrame(frame);
}
void pnObject::setFileName(const char*) {}
void pnObject::setTexture(const char*) {}
void pnObject::setMode(int) {}
void pnObject::setTexMode(int m) { texMode = m; }
void pnObject::setNumIndex(int n) { numIndex = n; }
void pnObject::setTexMove(float, float) {}
void pnObject::setTexRotate(float, float) {}
void pnObject::setTexScale(float, float) {}
sgNode* pnObject::getNode(pnStringProperty*) { return nullptr; }
int pnObject::reservedOp1(int, int, const sgVec3&) { return 0; }
sgNode* pnObject::getNode() { return nullptr; }
void pnObject::reservedOp2() {}
void pnObject::setString(const char*) {}
void pnObject::setBackMaterial(const char*) {}
void pnObject::setStringProperty(const char*) {}
void pnObject::setStringProperty(pnStringProperty*) {}
void pnObject::setHJust(int) {}
void pnObject::setVJust(int) {}
void pnObject::setWJust(float) {}
void pnObject::setNJust(float) {}
void pnObject::setBevel(float, float) {}
void pnObject::setBevel(float) {}
void pnObject::setBevelWidth(float) {}
void pnObject::setBevelDepth(float) {}
void pnObject::setGap(float) {}
void pnObject::setSlantAngle(float) {}
void pnObject::setItalic(int) {}
void pnObject::setHOffset(float) {}
void pnObject::setVOffset(float) {}
void pnObject::setBorder(float) {}
void pnObject::setFont(const char*) {}
void pnObject::setSpacing(float, float, float) {}
void pnObject::setGap2(float gap) { setGap(gap); }
void pnObject::setSpacing1(float) {}
void pnObject::setSpacing2(float) {}
void pnObject::setDepth(float) {}
void pnObject::setDepth2(float depth) { setDepth(depth); }
void pnObject::setSize(float) {}
void pnObject::setRatio(double) {}
void pnObject::setPrecision(float) {}
const char* pnObject::getStringPropertyName() const { return nullptr; }
void pnObject::setKind(int) {}
void pnObject::setDimension(float, float, float) {}
void pnObject::setDimension(const sgVec3&) {}
void pnObject::setDimensionX(float) {}
void pnObject::setDimensionY(float) {}
void pnObject::setDimensionZ(float) {}
int pnObject::findDataPtPart(pnObject*, int*, int*) { return 0; }

// ---- Transform ----

void pnObject::applyTranslation() {
    if (!transNode || !pivotNode) return;
    if (setFlags[CENTER_FLAG]) {
        transNode->setTransV(center);
        pivotNode->setTransV(position - center);
    } else {
        transNode->setTransV(position);
    }
}

void pnObject::setPosition(const sgVec3& v) {
    position = v;
    setFlags[POSITION_FLAG] = 1;
    if (nodesLive()) applyTranslation();
}
void pnObject::setPosition(float x, float y, float z) { setPosition(sgVec3(x, y, z)); }
void pnObject::setPositionX(float x) { setPosition(sgVec3(x, position[1], position[2])); }
void pnObject::setPositionY(float y) { setPosition(sgVec3(position[0], y, position[2])); }
void pnObject::setPositionZ(float z) { setPosition(sgVec3(position[0], position[1], z)); }

void pnObject::setRotAxis(const sgVec3& v) {
    if (refusedAxis(v, "[pnObject::setRotAxis] ")) return;
    rotAxis = v;
    setFlags[ROTAXIS_FLAG] = 1;
    if (nodesLive() && transNode) transNode->setRot(rotAngle, rotAxis);
}
void pnObject::setRotAxis(float x, float y, float z) { setRotAxis(sgVec3(x, y, z)); }
void pnObject::setRotAxisX(float x) { setRotAxis(sgVec3(x, rotAxis[1], rotAxis[2])); }
void pnObject::setRotAxisY(float y) { setRotAxis(sgVec3(rotAxis[0], y, rotAxis[2])); }
void pnObject::setRotAxisZ(float z) { setRotAxis(sgVec3(rotAxis[0], rotAxis[1], z)); }

void pnObject::setRotAngle(float a) {
    rotAngle = a;
    setFlags[ROTANGLE_FLAG] = 1;
    if (nodesLive() && transNode) transNode->setRot(rotAngle, rotAxis);
}

void pnObject::setPivotAxis(const sgVec3& v) {
    if (refusedAxis(v, "[pnObject::setPivotAxis] ")) return;
    pivotAxis = v;
    setFlags[PIVOTAXIS_FLAG] = 1;
    if (nodesLive() && pivotNode) pivotNode->setRot(pivotAngle, pivotAxis);
}
void pnObject::setPivotAxis(float x, float y, float z) { setPivotAxis(sgVec3(x, y, z)); }

void pnObject::setPivotAngle(float a) {
    pivotAngle = a;
    setFlags[PIVOTANGLE_FLAG] = 1;
    if (nodesLive() && pivotNode) pivotNode->setRot(pivotAngle, pivotAxis);
}

void pnObject::setScale(const sgVec3& v) {
    scale = v;
    setFlags[SCALE_FLAG] = 1;
    if (nodesLive() && transNode) transNode->setScaleV(scale);
}
void pnObject::setScale(float x, float y, float z) { setScale(sgVec3(x, y, z)); }
void pnObject::setScale(float s) { setScale(sgVec3(s, s, s)); }
void pnObject::setScaleX(float x) { setScale(sgVec3(x, scale[1], scale[2])); }
void pnObject::setScaleY(float y) { setScale(sgVec3(scale[0], y, scale[2])); }
void pnObject::setScaleZ(float z) { setScale(sgVec3(scale[0], scale[1], z)); }

void pnObject::setScaleOrigin(const sgVec3& v) {
    scaleOrigin = v;
    setFlags[SCALEORIGIN_FLAG] = 1;
    if (nodesLive() && pivotNode) pivotNode->setScaleV(scaleOrigin);
}
void pnObject::setScaleOrigin(float x, float y, float z) { setScaleOrigin(sgVec3(x, y, z)); }
void pnObject::setScaleOrigin(float s) { setScaleOrigin(sgVec3(s, s, s)); }

void pnObject::setCenter(const sgVec3& v) {
    center = v;
    setFlags[CENTER_FLAG] = 1;
    if (nodesLive()) applyTranslation();
}
void pnObject::setCenter(float x, float y, float z) { setCenter(sgVec3(x, y, z)); }
void pnObject::setCenterX(float x) { setCenter(sgVec3(x, center[1], center[2])); }
void pnObject::setCenterY(float y) { setCenter(sgVec3(center[0], y, center[2])); }
void pnObject::setCenterZ(float z) { setCenter(sgVec3(center[0], center[1], z)); }

// ---- Material, draw order, highlight, visibility ----

void pnObject::setMaterial(const char* n) {
    setMaterialName(n);
    if (!nodesLive() || !transNode) return;
    if (pnMaterial* m = sceneMaterial(material))
        m->apply(transNode);
    else
        applyDefaultMaterial(transNode);
}

void pnObject::setForward(int v) {
    forward = negate(v);
    if (nodesLive() && geoSet) geoSet->setPolygonOffset(static_cast<float>(forward));
}

void pnObject::setHighlight(int v) {
    highlight = v;
    if (nodesLive() && geoSet) geoSet->setOutline(v);
}

void pnObject::setVisible(int v) {
    visible = v;
    if (switchNode) switchNode->setVal(v ? sgSwitch::SG_SWITCH_ON : sgSwitch::SG_SWITCH_OFF);
}

// ---- Texture planes ----

void pnObject::resetTexPlanes() {
    splane.set(1, 0, 1, 0.5f);
    tplane.set(0, 1, 1, 0.5f);
}

void pnObject::setSPlane(const sgVec4& p) { splane = p; }
void pnObject::setTPlane(const sgVec4& p) { tplane = p; }

void pnObject::getTexMove(float* s, float* t) const { readTexPlanes(splane, tplane, TEX_MOVE, s, t); }
void pnObject::getTexRotate(float* s, float* t) const { readTexPlanes(splane, tplane, TEX_ROTATE, s, t); }
void pnObject::getTexScale(float* s, float* t) const { readTexPlanes(splane, tplane, TEX_SCALE, s, t); }

bool pnObject::editTexPlanes(TexPlaneEdit edit, float s, float t) {
    if (mode == TEXCOORD_NONE || mode == TEXCOORD_SPHERE) return false;
    splane[kTexPlaneSlots[edit].s] = s;
    tplane[kTexPlaneSlots[edit].t] = t;
    return true;
}

void pnObject::copyTexPlanes(const pnObject* other) {
    mode = other->getMode();
    splane = other->getSPlane();
    tplane = other->getTPlane();
}

void pnObject::makeTexGen() {
    if (!texGen) texGen = std::make_unique<sgTexGen>();
    const float k = 0.005f;
    if (mode == TEXCOORD_SPHERE) {
        texGen->setMode(0, 3);
        texGen->setMode(1, 3);
        return;
    }
    texGen->setMode(0, 2);
    texGen->setMode(1, 2);
    if (mode == 2) {
        texGen->setPlane(0, k * splane[0], k * splane[1], k * splane[2], splane[3]);
        // The t plane's y term is a constant and its z term 0 in this mode.
        texGen->setPlane(1, k * tplane[0], k, 0, tplane[3]);
    } else if (mode == 3) {
        texGen->setPlane(0, k * splane[0], k * splane[1], k * splane[2], splane[3]);
        texGen->setPlane(1, k * tplane[0], k * tplane[1], k * tplane[2], tplane[3]);
    } else {
        texGen->setPlane(0, k * splane[0], k * splane[1], 0, splane[3]);
        texGen->setPlane(1, k * tplane[0], k * tplane[1], 0, tplane[3]);
    }
}

// ---- Texturing shared by the textured kinds ----

int pnObject::loadTextureObject() {
    if (!textureObj) textureObj = std::make_unique<sgTexture>();
    textureObj->setFilter(GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    textureObj->setFilter(GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (!textureObj->loadFile(texture)) {
        std::fprintf(stderr, "WARNING: texture, %s, not found.\n", texture.c_str());
        textureObj.reset();
        return 0;
    }
    return 1;
}

void pnObject::detachTexture(sgGeoState* state) {
    if (!state) return;
    // An empty texture names no image: the state draws untextured.
    sgTexture none;
    state->sgAttr(GL_TEXTURE_2D, &none);
}

void pnObject::attachTextureMaterial(sgGeoState* state) {
    if (!state) return;
    sgMaterial m;
    m.setColor(GL_SPECULAR, 1, 1, 1);
    m.setColor(GL_DIFFUSE, 1, 1, 1);
    m.setColor(GL_AMBIENT, 0.2f, 0.2f, 0.2f);
    m.setColor(GL_SHININESS, 60, 0, 0);
    state->sgAttr(GL_FRONT, &m);  // the state keeps its own copy
}

int pnObject::applyTexture() {
    if (!geoState) return 0;
    if (!texture.empty() && mode != TEXCOORD_NONE) {
        if (!loadTextureObject()) {
            // The state must not keep showing an image the object no longer has.
            detachTexture(geoState);
            return 0;
        }
        if (texMode == TEXMODE_SEQUENCE) geoState->setSequenceCount(numIndex);
        geoState->setTextureMode(texMode);
        geoState->sgAttr(GL_TEXTURE_2D, textureObj.get());
        if (!texEnv) texEnv = std::make_unique<sgTexEnv>();
        texEnv->setMode(GL_MODULATE);
        geoState->sgAttr(GL_TEXTURE_ENV, texEnv.get());
        makeTexGen();
        geoState->sgAttr(SG_TEXGEN_KEY, texGen.get());
        attachTextureMaterial(geoState);
        return 1;
    }
    if (textureObj) {
        textureObj->loadFile("");
        geoState->sgAttr(GL_TEXTURE_2D, textureObj.get());
    }
    if (pnMaterial* m = sceneMaterial(material)) m->apply(geode);
    return 0;
}

pnMaterial* pnObject::sceneMaterial(const std::string& materialName) const {
    return (scene && !materialName.empty()) ? scene->findMaterial(materialName.c_str()) : nullptr;
}

void pnObject::releaseTextureObjects() {
    textureObj.reset();
    texEnv.reset();
    texGen.reset();
}

// ---- Nodes ----

void pnObject::makeNodeChain(bool alwaysTransform) {
    switchNode = new sgSwitch;
    transNode = new sgDCS;
    pivotNode = new sgDCS;
    geode = new sgGeode;
    switchNode->addChild(transNode);
    transNode->addChild(pivotNode);
    pivotNode->addChild(geode);
    setVisible(visible);
    switchNode->setName(switchNodeName());
    applyTranslation();
    if (alwaysTransform) {
        transNode->setRot(rotAngle, rotAxis);
        transNode->setScaleV(scale);
        pivotNode->setScaleV(scaleOrigin);
        if (setFlags[PIVOTANGLE_FLAG]) pivotNode->setRot(pivotAngle, pivotAxis);
        return;
    }
    if (rotAngle != 0.0f) transNode->setRot(rotAngle, rotAxis);
    if (setFlags[PIVOTANGLE_FLAG]) pivotNode->setRot(pivotAngle, pivotAxis);
    if (setFlags[SCALEORIGIN_FLAG]) pivotNode->setScaleV(scaleOrigin);
    if (setFlags[SCALE_FLAG]) transNode->setScaleV(scale);
}

void pnObject::makeMainGeoSet() {
    geoState = new sgGeoState;
    geoSet = new sgGeoSet;
    geoSet->setGState(geoState);
}

void pnObject::forgetNodes() {
    if (switchNode && switchNode->getNumParents() == 0) releaseNodes();
    switchNode = nullptr;
    transNode = nullptr;
    pivotNode = nullptr;
    geode = nullptr;
    geoState = nullptr;
    geoSet = nullptr;
    built = 0;
}

void pnObject::releaseNodes() {
    // Deleting a node unlinks it from every parent first, so an event's
    // transform never keeps a link to the deleted switch.
    delete switchNode;
    switchNode = nullptr;
    transNode = nullptr;
    pivotNode = nullptr;
    geode = nullptr;
    geoState = nullptr;
    geoSet = nullptr;
}

void pnObject::detachNodesForDelete(bool deleteParent) {
    if (!switchNode) return;
    sgNode* parent = switchNode->getParent();
    if (parent) {
        parent->removeChild(switchNode);
        sgNode* grand = parent->getParent();
        if (grand) {
            if (deleteParent) grand->removeChild(parent);
            // Child events hang after our own transform; they outlive us.
            while (switchNode->getNumChildren() > 1) {
                sgNode* child = switchNode->getChild(1);
                switchNode->removeChildIndex(1);
                grand->addChild(child);
            }
            if (deleteParent) delete parent;
        }
    }
    releaseNodes();
}

void pnObject::attachDefaultMaterial(sgGeoState* state) {
    if (!state) return;
    sgMaterial m;
    m.setColor(GL_AMBIENT, 0.2f, 0.2f, 0.2f);
    m.setColor(GL_DIFFUSE, 0.8f, 0.8f, 0.8f);
    m.setColor(GL_EMISSION, 0, 0, 0);
    m.setColor(GL_SPECULAR, 0, 0, 0);
    m.setAlpha(1.0f);
    m.setColor(GL_SHININESS, 0, 0, 0);
    state->sgAttr(GL_FRONT, &m);  // the state keeps its own copy
}

void pnObject::applyDefaultMaterial(sgNode* node) {
    if (!node) return;
    if (node->isOfType("sgGeode")) {
        sgGeode* g = static_cast<sgGeode*>(node);
        for (int i = 0; i < g->getNumGSets(); ++i) {
            sgGeoSet* set = g->getGSet(i);
            attachDefaultMaterial(set ? set->getGState() : nullptr);
        }
    }
    for (int i = 0; i < node->getNumChildren(); ++i) applyDefaultMaterial(node->getChild(i));
}

// ---- Writing ----

int pnObject::write(FILE* f, int convertPaths) {
    if (!f) return 0;
    pnWriteQuoted(f, "name", name);
    if (setFlags[FILE_FLAG] && !file.empty()) pnWriteQuoted(f, "file", pnWrittenPath(file, convertPaths));
    if (setFlags[TEXTURE_FLAG] && !texture.empty())
        pnWriteQuoted(f, "texture", pnWrittenPath(texture, convertPaths));
    if (setFlags[POSITION_FLAG]) pnWriteVec3(f, "position", position);
    if (setFlags[ROTANGLE_FLAG]) pnWriteFloat(f, "rotAngle", rotAngle);
    if (setFlags[ROTAXIS_FLAG]) pnWriteVec3(f, "rotAxis", rotAxis);
    if (setFlags[PIVOTANGLE_FLAG]) pnWriteFloat(f, "pivotAngle", pivotAngle);
    if (setFlags[PIVOTAXIS_FLAG]) pnWriteVec3(f, "pivotAxis", pivotAxis);
    if (setFlags[SCALE_FLAG]) pnWriteVec3(f, "scale", scale, true);
    if (setFlags[SCALEORIGIN_FLAG]) pnWriteVec3(f, "scaleOrigin", scaleOrigin, true);
    if (setFlags[CENTER_FLAG]) pnWriteVec3(f, "center", center, true);
    if (setFlags[MATERIAL_FLAG] && !material.empty()) pnWriteQuoted(f, "material", material);
    if (texMode > 0) pnWriteInt(f, "texMode", texMode);
    if (texMode == TEXMODE_SEQUENCE) pnWriteInt(f, "numIndex", numIndex);
    pnWriteInt(f, "forward", negate(forward));
    return pnWriteOk(f);
}
