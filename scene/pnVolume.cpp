#include "scene/pnVolume.h"

#include <GL/gl.h>

#include <algorithm>
#include <map>
#include <utility>

#include "scene/pnWriteUtil.h"
#include "sg/sgGeoSet.h"
#include "sg/sgGeode.h"

namespace {
void writeVectors(FILE* f, const char* key, const std::vector<float>& v) {
    pnWritef(f, "    %s\t(\n", key);
    for (size_t i = 0; i + 2 < v.size(); i += 3) pnWritef(f, "\t\t( %f %f %f )\n", v[i], v[i + 1], v[i + 2]);
    pnWritef(f, "    )\n");
}

// Takes count items of perItem values each; a null source or a count below 1
// clears the array.
template <class T>
void takeArray(std::vector<T>& out, const T* items, int count, size_t perItem) {
    if (items && count > 0)
        out.assign(items, items + static_cast<size_t>(count) * perItem);
    else
        out.clear();
}

// Six numbers per line.
void writeIndices(FILE* f, const char* key, const std::vector<int>& v) {
    pnWritef(f, "    %s\t(\n", key);
    for (size_t i = 0; i < v.size(); ++i) {
        pnWritef(f, i % 6 == 0 ? "\t\t%d" : " %d", v[i]);
        if (i % 6 == 5 || i + 1 == v.size()) pnWritef(f, "\n");
    }
    pnWritef(f, "    )\n");
}
}  // namespace

pnVolume::~pnVolume() { detachNodesForDelete(false); }

sgNode* pnVolume::getNode() {
    releaseNodes();
    makeNodeChain(true);
    makeMainGeoSet();
    geode->addGSet(geoSet);
    geoSet->setNormalBind(normalBind);
    geoSet->setAttr(GL_VERTEX_ARRAY, coords, index);
    geoSet->setAttr(GL_NORMAL_ARRAY, normals, normIndex);
    geoSet->setPrimType(GL_TRIANGLES);
    applyDrawn();
    geoSet->setPolygonOffset(static_cast<float>(forward));
    geoSet->setOutline(highlight);
    return switchNode;
}

void pnVolume::setCoords(const float* xyz, int n) { takeArray(coords, xyz, n, 3); }

void pnVolume::setNormals(const float* xyz, int n) { takeArray(normals, xyz, n, 3); }

void pnVolume::setIndex(const int* idx, const int* nidx, int n) {
    takeArray(index, idx, n, 1);
    takeArray(normIndex, nidx, n, 1);
}

void pnVolume::setNumPrims(int n) {
    numPrims = n;
    if (nodesLive() && geoSet) applyDrawn();
}

void pnVolume::setClosingSteps(std::vector<int> steps) {
    closingSteps = std::move(steps);
    if (nodesLive() && geoSet) applyDrawn();
}

std::vector<int> pnVolume::drawnIndex() const {
    const size_t triangles = index.size() / 3;
    const size_t drawn = std::min(triangles, static_cast<size_t>(std::max(numPrims, 0)));
    // Faces of each step, in all and among the triangles drawn.
    std::map<int, std::pair<size_t, size_t>> faces;
    for (size_t t = 0; t < triangles; ++t)
        if (closingSteps[t] >= 0) {
            auto& f = faces[closingSteps[t]];
            ++f.first;
            if (t < drawn) ++f.second;
        }
    int lastClosed = 0;
    for (const auto& [step, f] : faces)
        if (f.second == f.first) lastClosed = std::max(lastClosed, step);
    std::vector<int> out;
    out.reserve(drawn * 3);
    for (size_t t = 0; t < drawn; ++t) {
        const int step = closingSteps[t];
        if (step > 0 && step < lastClosed) continue;
        out.insert(out.end(), index.begin() + static_cast<std::ptrdiff_t>(3 * t),
                   index.begin() + static_cast<std::ptrdiff_t>(3 * t + 3));
    }
    return out;
}

void pnVolume::applyDrawn() {
    if (closingSteps.size() != index.size() / 3) {
        geoSet->setNumPrims(numPrims);
        return;
    }
    std::vector<int> drawn = drawnIndex();
    const int count = static_cast<int>(drawn.size() / 3);
    geoSet->setAttr(GL_VERTEX_ARRAY, coords, std::move(drawn));
    geoSet->setNumPrims(count);
}

int pnVolume::copy(const pnObject* other) {
    if (!pnObject::copy(other)) return 0;
    if (const auto* v = dynamic_cast<const pnVolume*>(other); v && v != this) {
        coords = v->coords;
        numPrims = v->numPrims;
        closingSteps = v->closingSteps;
        normals = v->normals;
        index = v->index;
        normIndex = v->normIndex;
        normalBind = v->normalBind;
    }
    return 1;
}

int pnVolume::write(FILE* f, int convertPaths) {
    if (!f) return 0;
    pnWriteBlockBegin(f, "volume");
    pnObject::write(f, convertPaths);
    pnWriteInt(f, "numVertex", getNumVertex());
    writeVectors(f, "coords", coords);
    pnWriteInt(f, "numIndex", getNumIndex());
    writeIndices(f, "index", index);
    pnWriteInt(f, "numNormal", getNumNormal());
    writeVectors(f, "normals", normals);
    writeIndices(f, "normIndex", normIndex);
    pnWriteBlockEnd(f);
    return pnWriteOk(f);
}
