#include "scene/pnModel.h"

#include <cstdio>

#include "assets/ModelLoader.h"
#include "scene/pnWriteUtil.h"
#include "sg/sgGeoSet.h"
#include "sg/sgGeode.h"
#include "sg/sgRuntime.h"

pnModel::~pnModel() {
    releaseTextureObjects();
    detachNodesForDelete(true);
}

bool pnModel::readable(const std::string& f) {
    const GLuint id = getModel(f);
    if (id == 0) return false;
    glDeleteLists(id, 1);
    return true;
}

sgNode* pnModel::getNode() {
    releaseNodes();
    GLuint id = getModel(file);
    if (id == 0) {
        std::printf("[pnModel::getNode] Model file not read in\n");
        return nullptr;  // no nodes: nothing null ever reaches the graph
    }
    makeNodeChain();
    makeMainGeoSet();
    geode->addGSet(geoSet);
    geoSet->setDisplayList(static_cast<int>(id));
    geoSet->setPolygonOffset(static_cast<float>(forward));
    geoSet->setOutline(highlight);
    applyTexture();
    return switchNode;
}

int pnModel::copy(const pnObject* other) {
    if (!other) return 0;
    if (other == this) return 1;
    copyTexPlanes(other);
    return pnObject::copy(other);
}

void pnModel::setFileName(const char* f) {
    if (!nodesLive() || !geoSet) {
        setFile(f);
        return;
    }
    GLuint id = getModel(f ? f : "");
    if (id == 0) {
        debugPrint("[pnObject::setFileName] Model file not read in");
        return;
    }
    setFile(f);
    geoSet->setDisplayList(static_cast<int>(id));  // deletes the old list
}

void pnModel::textureChanged(TextureChange what) {
    if (what == TextureChange::TexMode || what == TextureChange::NumIndex) return;
    if (nodesLive()) applyTexture();
}

int pnModel::write(FILE* f, int convertPaths) {
    if (!f) return 0;
    pnWriteBlockBegin(f, "model");
    pnObject::write(f, convertPaths);
    pnWriteInt(f, "mode", mode);
    pnWriteVec4(f, "splane", splane, false);
    pnWriteVec4(f, "tplane", tplane, false);
    pnWriteBlockEnd(f);
    return pnWriteOk(f);
}
