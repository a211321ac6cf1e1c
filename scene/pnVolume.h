// A mesh given as vertex, normal and index arrays; the volume and pie charts
// fill it to make their surfaces and slices. The volume keeps its own copies
// of the arrays, so their counts always match what it holds.
#pragma once

#include <vector>

#include "scene/pnObject.h"

class pnVolume : public pnObject {
public:
    pnVolume() = default;
    // Moves child events' nodes to the event's parent, then deletes the nodes.
    ~pnVolume() override;

    using pnObject::getNode;
    // Builds the node chain with one triangle set; the main rotation, scale
    // and inner scale are always applied.
    sgNode* getNode() override;
    const char* getTypeName() const override { return "pnVolume"; }
    static constexpr pnObjectKind kKind = pnObjectKind::Volume;
    // The base copy takes the object's settings only; the mesh is not copied.
    // The "volume" block.
    int write(FILE* f, int convertPaths) override;

    // numVertex points of (x, y, z); null or a count below 1 clears them.
    void setCoords(const float* xyz, int numVertex);
    void setNormals(const float* xyz, int numNormal);
    // numIndex vertex indices and as many normal indices (normIndex may be
    // null: no normal indices).
    void setIndex(const int* index, const int* normIndex, int numIndex);
    // Triangles drawn; a built volume hands the count to its set at once.
    void setNumPrims(int n);
    // Closing faces: for each triangle, the step of the faces that close a
    // volume drawn up to that step (-1 for the rest of the surface), as a pie
    // slice that grows has them. Of those in the triangles drawn, only the
    // first step's and the last complete step's (and a later one begun) are
    // drawn: the others lie inside the solid and would only leak through its
    // surface where they are seen edge-on. Empty (the default): every triangle
    // drawn is drawn.
    void setClosingSteps(std::vector<int> steps);
    // 0 one normal per triangle, 1 one per vertex.
    void setNormalBind(int bind) { normalBind = bind; }

    int getNumVertex() const { return static_cast<int>(coords.size() / 3); }
    int getNumNormal() const { return static_cast<int>(normals.size() / 3); }
    int getNumIndex() const { return static_cast<int>(index.size()); }
    int getNumPrims() const { return numPrims; }
    int getNormalBind() const { return normalBind; }
    const std::vector<float>& getCoords() const { return coords; }
    const std::vector<float>& getNormals() const { return normals; }
    const std::vector<int>& getIndex() const { return index; }
    const std::vector<int>& getNormIndex() const { return normIndex; }

private:
    // The vertex indices of the triangles the set draws.
    std::vector<int> drawnIndex() const;
    void applyDrawn();

    std::vector<float> coords;
    int numPrims = 0;
    std::vector<int> closingSteps;
    std::vector<float> normals;
    std::vector<int> index;
    std::vector<int> normIndex;
    int normalBind = 0;
};
