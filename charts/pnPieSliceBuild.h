// Inside the pie slice mesh: each of the eight builders is a table of the
// vertices of one degree step, the normals each step adds, the start and end
// face, and the triangles of the first face, of one degree and of the last
// face. One engine (pnPieSliceMesh.cpp) turns a table into the mesh.
#pragma once

class pnPieSliceMesh;
struct pnPieSliceShape;

namespace pnPieSlice {

// Radii of a profile point: R, R' = R - bevel, r, r' = r + bevel, the axis.
enum Rho { OUTER, OUTER_CHAMFER, INNER, INNER_CHAMFER, CENTRE };
// Heights: 0, D, bevel, D - bevel, and the fixed 1 and D - 1.
enum Height { BOTTOM, TOP, BEVEL, TOP_BEVEL, ONE, TOP_ONE };
// What a vertex's normal is.
enum Normal {
    OUTER_WALL,
    INNER_WALL,
    OUTER_BOTTOM_CHAMFER,
    OUTER_TOP_CHAMFER,
    INNER_BOTTOM_CHAMFER,
    INNER_TOP_CHAMFER,
    RADIAL,   // the side face of the step
    CAP_TOP,  // (0, 0, 1), one per mesh
    CAP_BOTTOM,
    FACE,     // the start or end face
};

struct Point {
    Rho rho;
    Height z;
    Normal normal;
    // A side-face point: pulled into the solid at the steps between the
    // first and the last.
    bool side;
    // A side-face point pulled in radially only.
    bool keepHeight;
};

// Triangle corners: i is vertex i of step k's block, NEXT + i of step k + 1's,
// START + i and END + i the start and end face vertices, B and T the bottom
// and top centre vertices.
constexpr int NEXT = 100;
constexpr int START = 200;
constexpr int END = 300;
constexpr int B = -1;
constexpr int T = -2;

struct Tri {
    int a, b, c;
};

struct Layout {
    const Point* block;
    int blockSize;
    const Normal* stepNormals;  // normals each step adds, in order
    int numStepNormals;
    const Point* face;  // start and end face (builders without side faces)
    int faceSize;
    bool centre;  // B and T follow the last vertices
    const Tri* first;  // side face of step 0, or the start face
    int numFirst;
    bool firstAfterGroup;  // the start face follows the first degree's group
    const Tri* group;  // the triangles of one degree
    int numGroup;
    const Tri* last;  // the end face
    int numLast;
};

// The eight layouts.
const Layout& sideLayout(bool bevel, bool ring);
const Layout& faceLayout(bool bevel, bool ring);

}  // namespace pnPieSlice
