// The four slice builders with a side face at every degree step. Each step's
// block holds its wall and cap points and a copy of the slice's cross-section
// (the side face); the triangles of one degree end with the side face of the
// next step, so any prefix of whole degrees is a closed slice.
#include "charts/pnPieSliceBuild.h"

namespace pnPieSlice {
namespace {

#define N(i) (NEXT + (i))

// Side-face rows, each run in block order.
constexpr std::array<Point, 2> kOuterSide{{
    {OUTER, BOTTOM, RADIAL, true, false},
    {OUTER, TOP, RADIAL, true, false},
}};
constexpr std::array<Point, 2> kInnerSide{{
    {INNER, BOTTOM, RADIAL, true, false},
    {INNER, TOP, RADIAL, true, false},
}};
// The centre pair of the plain slice stays just inside the caps at every step.
constexpr std::array<Point, 2> kCentreSide{{
    {CENTRE, ONE, RADIAL, false, false},
    {CENTRE, TOP_ONE, RADIAL, false, false},
}};
constexpr std::array<Point, 6> kOuterBevelSide{{
    {OUTER_CHAMFER, BOTTOM, RADIAL, true, false},
    {OUTER, BEVEL, RADIAL, true, false},
    {OUTER, TOP_BEVEL, RADIAL, true, false},
    {OUTER_CHAMFER, TOP, RADIAL, true, false},
    {CENTRE, BOTTOM, RADIAL, true, false},
    {CENTRE, TOP, RADIAL, true, false},
}};
// With an inner radius the outer chamfer corners keep their height when
// pulled in.
constexpr std::array<Point, 4> kOuterBevelRingSide{{
    {OUTER_CHAMFER, BOTTOM, RADIAL, true, false},
    {OUTER, BEVEL, RADIAL, true, true},
    {OUTER, TOP_BEVEL, RADIAL, true, true},
    {OUTER_CHAMFER, TOP, RADIAL, true, false},
}};
constexpr std::array<Point, 4> kInnerBevelSide{{
    {INNER_CHAMFER, BOTTOM, RADIAL, true, false},
    {INNER, BEVEL, RADIAL, true, false},
    {INNER, TOP_BEVEL, RADIAL, true, false},
    {INNER_CHAMFER, TOP, RADIAL, true, false},
}};

// ---- plain: no bevel, no inner radius (8 per step: wall and caps 0-3,
// side 4-5, centre 6-7) ----
constexpr auto kPlain = join(kOuterWall, kOuterSide, kCentreSide);
const Normal kPlainNormals[] = {OUTER_WALL, RADIAL};
const Tri kPlainFirst[] = {{5, 7, 4}, {4, 7, 6}};
const Tri kPlainGroup[] = {
    {1, 0, N(1)}, {N(1), 0, N(0)},      // wall
    {T, 3, N(3)},                       // top cap
    {B, N(2), 2},                       // bottom cap
    {N(4), N(6), N(5)}, {N(5), N(6), N(7)},  // side face of the next step
};

// ---- ring: inner radius, no bevel (12 per step: outer wall and caps 0-3,
// side 4-5, inner 6-9, side 10-11) ----
constexpr auto kRing = join(kOuterWall, kOuterSide, kInnerWall, kInnerSide);
const Normal kRingNormals[] = {OUTER_WALL, INNER_WALL, RADIAL};
const Tri kRingFirst[] = {{5, 11, 4}, {4, 11, 10}};
const Tri kRingGroup[] = {
    {1, 0, N(1)}, {N(1), 0, N(0)},      // outer wall
    {6, 7, N(6)}, {N(6), 7, N(7)},      // inner wall
    {3, N(3), 9}, {9, N(3), N(9)},      // top cap
    {8, N(8), 2}, {2, N(8), N(2)},      // bottom cap
    {N(5), N(4), N(11)}, {N(11), N(4), N(10)},  // side face
};

// ---- bevel, no inner radius (14 per step: chamfers, wall and caps 0-7,
// side 8-13) ----
constexpr auto kBevel = join(kOuterBevelWall, kOuterBevelSide);
const Normal kBevelNormals[] = {OUTER_BOTTOM_CHAMFER, OUTER_WALL, OUTER_TOP_CHAMFER, RADIAL};
const Tri kBevelFirst[] = {{8, 9, 11}, {11, 9, 10}, {8, 11, 12}, {12, 11, 13}};
const Tri kBevelGroup[] = {
    {0, N(0), 1}, {1, N(0), N(1)},      // bottom chamfer
    {N(2), N(3), 2}, {2, N(3), 3},      // wall
    {4, N(4), 5}, {5, N(4), N(5)},      // top chamfer
    {B, N(6), 6},                       // bottom cap
    {T, 7, N(7)},                       // top cap
    {N(9), N(8), N(10)}, {N(10), N(8), N(11)}, {N(12), N(13), N(8)}, {N(8), N(13), N(11)},  // side face
};

// ---- bevel and inner radius (24 per step: outer 0-7, side 8-11, inner
// 12-19, side 20-23) ----
constexpr auto kBevelRing = join(kOuterBevelWall, kOuterBevelRingSide, kInnerBevelWall, kInnerBevelSide);
const Normal kBevelRingNormals[] = {OUTER_BOTTOM_CHAMFER, OUTER_WALL, OUTER_TOP_CHAMFER, INNER_BOTTOM_CHAMFER,
                                     INNER_WALL,           INNER_TOP_CHAMFER, RADIAL};
const Tri kBevelRingFirst[] = {{8, 9, 11}, {11, 9, 10}, {8, 11, 20}, {20, 11, 23}, {23, 22, 20}, {20, 22, 21}};
const Tri kBevelRingGroup[] = {
    {0, N(0), 1}, {1, N(0), N(1)},          // outer bottom chamfer
    {N(2), N(3), 2}, {2, N(3), 3},          // outer wall
    {4, N(4), 5}, {5, N(4), N(5)},          // outer top chamfer
    {N(12), 12, N(13)}, {N(13), 12, 13},    // inner bottom chamfer
    {14, 15, N(14)}, {N(14), 15, N(15)},    // inner wall
    {N(16), 16, N(17)}, {N(17), 16, 17},    // inner top chamfer
    {N(7), N(19), 7}, {7, N(19), 19},       // top cap
    {6, 18, N(6)}, {N(6), 18, N(18)},       // bottom cap
    {N(9), N(8), N(10)}, {N(10), N(8), N(11)}, {N(11), N(8), N(23)},
    {N(23), N(8), N(20)}, {N(20), N(21), N(23)}, {N(23), N(21), N(22)},  // side face
};

#undef N

const Layout kLayouts[4] = {
    {kPlain.data(), count(kPlain), kPlainNormals, count(kPlainNormals), nullptr, 0, true, kPlainFirst,
     count(kPlainFirst), false, kPlainGroup, count(kPlainGroup), nullptr, 0},
    {kRing.data(), count(kRing), kRingNormals, count(kRingNormals), nullptr, 0, false, kRingFirst, count(kRingFirst),
     false, kRingGroup, count(kRingGroup), nullptr, 0},
    {kBevel.data(), count(kBevel), kBevelNormals, count(kBevelNormals), nullptr, 0, true, kBevelFirst,
     count(kBevelFirst), false, kBevelGroup, count(kBevelGroup), nullptr, 0},
    {kBevelRing.data(), count(kBevelRing), kBevelRingNormals, count(kBevelRingNormals), nullptr, 0, false,
     kBevelRingFirst, count(kBevelRingFirst), false, kBevelRingGroup, count(kBevelRingGroup), nullptr, 0},
};

}  // namespace

const Layout& sideLayout(bool bevel, bool ring) { return kLayouts[(bevel ? 2 : 0) + (ring ? 1 : 0)]; }

}  // namespace pnPieSlice
