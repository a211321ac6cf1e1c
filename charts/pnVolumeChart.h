// The volume chart, shown to users as the area chart: the points stand in a
// row and the area between the line through their heights and the base line
// is filled with solid slabs of a fixed depth (centred on the chart's z).
//
// Segment i (i >= 1) joins point i-1 to point i with two generated volumes:
// the main part (its slot 4i-2) and the box (slot 4i+1). Each holds a unit
// mesh one unit long along x that its grow effect scales into place:
// - heights of the same sign: the box fills from the base line to the
//   smaller height, and a wedge on it reaches up (or down) to the line, its
//   vertical face at the end of the larger height; equal heights give a
//   flat top instead of a wedge;
// - heights of opposite signs: the line crosses the base line at K; a closed
//   wedge runs from point i-1 to K (main part) and another from K to point i
//   (box).
#pragma once

#include <vector>

#include "charts/pnChart.h"

class pnVolume;

// The unit meshes of the volume chart, built with flat normals (one per
// face) and triangles wound counter-clockwise seen from outside.
struct pnVolumeMesh {
    // Top wedge of slope s between heights of the same sign, its vertical face
    // at x = 1 (atEnd) or x = 0, the face it stands on left open; with
    // s = 0 a flat quad facing up (up) or down.
    static pnVolumeMesh wedge(float s, bool atEnd, float depth, bool up);
    // The same wedge with the face on the base line closed.
    static pnVolumeMesh closedWedge(float s, bool atEnd, float depth);
    // Box from y = 0 to y = h, open at y = h; its face at y = 0 faces down,
    // or up for a box below the base line (h < 0, or h = 0 and below).
    static pnVolumeMesh box(float h, float depth, bool below = false);

    // One normal per triangle.
    void giveTo(pnVolume* volume) const;
    int getNumTriangles() const { return static_cast<int>(index.size() / 3); }

    std::vector<float> coords;
    std::vector<float> normals;
    std::vector<int> index;
    std::vector<int> normIndex;  // one per triangle

private:
    static pnVolumeMesh buildWedge(float s, bool atEnd, float depth, bool closed);
    int addVertex(float x, float y, float z);
    int addNormal(const sgVec3& n);
    // Adds the triangle turned so that it faces n.
    void addTriangle(int a, int b, int c, int normal);
    void addQuad(int a, int b, int c, int d, const sgVec3& n);
};

class pnVolumeChart : public pnChart {
public:
    pnVolumeChart();
    ~pnVolumeChart() override;

    // The chart settings and points, then the depth. 0 for null.
    int copy(const pnObject* other) override;
    // "volumeChart {", its depth, the common chart block, "}".
    int write(FILE* f, int convertPaths) override;
    const char* getTypeName() const override { return "pnVolumeChart"; }
    static constexpr pnObjectKind kKind = pnObjectKind::VolumeChart;
    // The common keys, the value mapping and the depth.
    bool readChartKey(pnChartReadContext& in) override;
    // The slabs are meshes of the chart's own: no part model file is taken.
    void setFileName(const char*) override {}

    int deleteDataPt(int i) override;
    int setDataPtDefaultGrow(int i) override;
    int clearDataPtGrow(int i) override;
    int setDataPtDefaultShrink(int i) override;
    int clearDataPtShrink(int i) override;
    // Store the frame (also unbuilt); 1 when the plays followed, 0 unbuilt or
    // for a bad index.
    int setDataPtStartTime(int i, int frame) override;
    int setDataPtEndTime(int i, int frame) override;
    int setDataPtShrinkStart(int i, int frame) override;
    int setDataPtShrinkEnd(int i, int frame) override;
    void setDataPtSpacing(int i, const sgVec3& v) override;
    void setDataPtSpacingDistance(int i, float distance) override;
    void storeDataPtSpacing(int i, const sgVec3& v) override;
    void setDataPtGrowValue(int i, double value) override;

    // Main parts, boxes and their effects and events exist from point 1 on.
    pnObject* makeObject(int i) override;
    pnEvent* makeEvent(int i, const char* parent) override;
    pnEffect* makeEffect(int i) override;
    pnEvent* makeDataTextEvent(int i, const char* parent) override;
    pnEvent* makeLabelEvent(int i, const char* parent) override;
    pnObject* makeSubObject(int i) override;
    pnEvent* makeSubEvent(int i, const char* parent) override;
    pnEffect* makeSubEffect(int i) override;
    pnEffect* makeShrinkSubEffect(int i) override;
    // Moves every part to its place; no mesh is rebuilt.
    void updateLayout() override;

    // Refused below 0. Built: every segment is rebuilt.
    void setDepth(float depth) override;
    float getDepth() const override { return depth; }

    // The geometry of segment i (i >= 1): base positions, raised ends and,
    // for heights of opposite signs, the crossing of the base line.
    struct Segment {
        sgVec3 base0, base1;  // positions of points i-1 and i
        sgVec3 top0, top1;    // the same raised by their heights
        float h0 = 0, h1 = 0;
        bool crossing = false;
        sgVec3 cross;         // where the line meets the base line
    };
    Segment getSegment(int i) const;
    // Horizontal length (x-z plane) and height difference from p to q.
    static float run(const sgVec3& p, const sgVec3& q);
    static float rise(const sgVec3& p, const sgVec3& q) { return q[1] - p[1]; }
    // The grow scales of segment i's main part and box.
    sgVec3 getGrowScale(int i) const;
    sgVec3 getBoxGrowScale(int i) const;

protected:
    Layout layout() const override { return LAYOUT_VOLUME; }
    void retimeFirstPoint() override;
    // A slab grows over its unit mesh in x and y, whatever the base scale.
    void applyGrowScale(pnObject* part, const sgVec3& s) override;
    // Rebuilds the segments touching point a (a + 1, then a); 0 when a part
    // could not be made (the old parts stay).
    int rebuildAround(int a);
    int rebuildSegment(int j);
    // Name, material and the chart's transform settings of a new segment part.
    void setupSegmentPart(pnVolume* part, int i, const std::string& name) const;

    float depth = 50.0f;
};
