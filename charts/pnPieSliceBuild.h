// Inside the pie slice mesh: each of the eight builders is a table of the
// vertices of one degree step, the normals each step adds, the start and end
// face, and the triangles of the first face, of one degree and of the last
// face. One engine (pnPieSliceMesh.cpp) turns a table into the mesh.
#pragma once

#include <array>
#include <cstddef>
#include <iterator>

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

// The number of entries of a table.
template <class Table>
constexpr int count(const Table& table) {
    return static_cast<int>(std::size(table));
}

// A block put together from runs of rows, in order.
template <std::size_t... n>
constexpr std::array<Point, (n + ...)> join(const std::array<Point, n>&... runs) {
    std::array<Point, (n + ...)> out{};
    std::size_t k = 0;
    auto put = [&](const auto& run) {
        for (const Point& p : run) out[k++] = p;
    };
    (put(runs), ...);
    return out;
}

// The runs both kinds of builder start their blocks with: the wall and cap
// points of the outer edge and of the inner edge, plain or bevelled.
inline constexpr std::array<Point, 4> kOuterWall{{
    {OUTER, BOTTOM, OUTER_WALL, false, false},
    {OUTER, TOP, OUTER_WALL, false, false},
    {OUTER, BOTTOM, CAP_BOTTOM, false, false},
    {OUTER, TOP, CAP_TOP, false, false},
}};
inline constexpr std::array<Point, 4> kInnerWall{{
    {INNER, BOTTOM, INNER_WALL, false, false},
    {INNER, TOP, INNER_WALL, false, false},
    {INNER, BOTTOM, CAP_BOTTOM, false, false},
    {INNER, TOP, CAP_TOP, false, false},
}};
inline constexpr std::array<Point, 8> kOuterBevelWall{{
    {OUTER_CHAMFER, BOTTOM, OUTER_BOTTOM_CHAMFER, false, false},
    {OUTER, BEVEL, OUTER_BOTTOM_CHAMFER, false, false},
    {OUTER, BEVEL, OUTER_WALL, false, false},
    {OUTER, TOP_BEVEL, OUTER_WALL, false, false},
    {OUTER, TOP_BEVEL, OUTER_TOP_CHAMFER, false, false},
    {OUTER_CHAMFER, TOP, OUTER_TOP_CHAMFER, false, false},
    {OUTER_CHAMFER, BOTTOM, CAP_BOTTOM, false, false},
    {OUTER_CHAMFER, TOP, CAP_TOP, false, false},
}};
inline constexpr std::array<Point, 8> kInnerBevelWall{{
    {INNER_CHAMFER, BOTTOM, INNER_BOTTOM_CHAMFER, false, false},
    {INNER, BEVEL, INNER_BOTTOM_CHAMFER, false, false},
    {INNER, BEVEL, INNER_WALL, false, false},
    {INNER, TOP_BEVEL, INNER_WALL, false, false},
    {INNER, TOP_BEVEL, INNER_TOP_CHAMFER, false, false},
    {INNER_CHAMFER, TOP, INNER_TOP_CHAMFER, false, false},
    {INNER_CHAMFER, BOTTOM, CAP_BOTTOM, false, false},
    {INNER_CHAMFER, TOP, CAP_TOP, false, false},
}};

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
