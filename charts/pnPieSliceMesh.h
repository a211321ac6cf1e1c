// The indexed triangle mesh of one pie slice: a wedge (or ring segment) of the
// circle between two whole-degree angles, extruded along z from 0 to the slice
// depth, optionally with bevelled edges. Eight builders cover side faces on or
// off, bevel or not, inner radius or not.
//
// With side faces every degree step carries a closing face (pulled slightly
// into the solid between the first and last step), so that drawing the first
// triangles of the list shows a closed slice of fewer degrees: that is how a
// slice grows. Without side faces the slice has one start and one end face
// and is a closed solid.
//
// The slice starts on the +y axis (angle 90 + a) and sweeps counter-clockwise
// (rotDirection 1) or clockwise (any other value); a clockwise slice is the
// mirror image of the counter-clockwise one, every triangle listed in reverse.
#pragma once

#include <vector>

class pnVolume;

// The chart settings a slice mesh depends on.
struct pnPieSliceShape {
    float outerRad = 120.0f;
    float innerRad = 0.0f;
    float bevel = 0.0f;
    int showSide = 1;
    int rotDirection = 1;
};

class pnPieSliceMesh {
public:
    // Table counts for a span of d whole degrees (d >= 1).
    static int vertexCount(const pnPieSliceShape& shape, int d);
    static int triangleCount(const pnPieSliceShape& shape, int d);
    static int normalCount(const pnPieSliceShape& shape, int d);
    static int trianglesPerDegree(const pnPieSliceShape& shape);

    // Builds the mesh from angle a to angle b (whole degrees, d = |b - a|) for
    // the given depth. 0, leaving the mesh empty, when d is outside 1..360, a
    // value is not finite, or (bevelled builders, with the message "too large
    // bevel value: ") the bevel does not fit the depth or the outer radius.
    int build(const pnPieSliceShape& shape, int a, int b, float depth);

    // Gives the volume its own copies of the arrays, with one normal per
    // vertex, and draws every triangle (the side faces inside the slice left
    // out, see pnVolume::setClosingSteps).
    void giveTo(pnVolume* volume) const;

    void clear();
    int getNumVertex() const { return static_cast<int>(coords.size() / 3); }
    int getNumNormal() const { return static_cast<int>(normals.size() / 3); }
    int getNumTriangles() const { return static_cast<int>(index.size() / 3); }
    int getDegrees() const { return degrees; }

    // x, y, z per vertex; x, y, z per normal; three vertex indices per
    // triangle; one normal index per vertex.
    std::vector<float> coords;
    std::vector<float> normals;
    std::vector<int> index;
    std::vector<int> normIndex;
    // Per triangle: the step whose side face it belongs to, -1 for the rest.
    std::vector<int> closingStep;

private:
    struct Sweep;
    // The phases of build: the normals, the vertices (each with its normal)
    // and the triangles, which refer to both by the places the earlier
    // phases noted in the sweep.
    void addNormals(Sweep& sweep);
    void addVertices(Sweep& sweep);
    void addTriangles(const Sweep& sweep);
    void addNormal(double x, double y, double z);
    void addVertex(float rho, float z, double theta, int normal);

    int degrees = 0;
};
