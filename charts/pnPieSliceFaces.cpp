// The four slice builders without side faces: one start face (the slice's
// cross-section at the first angle) before the steps, the same end face after
// them, and only walls and caps between, so the slice is one closed solid.
#include "charts/pnPieSliceBuild.h"

namespace pnPieSlice {
namespace {

#define N(i) (NEXT + (i))
#define S(i) (START + (i))
#define E(i) (END + (i))

// ---- plain (4 per step) ----
constexpr auto kPlain = kOuterWall;
const Point kPlainFace[] = {
    {OUTER, BOTTOM, FACE, false, false},
    {OUTER, TOP, FACE, false, false},
    {CENTRE, BOTTOM, FACE, false, false},
    {CENTRE, TOP, FACE, false, false},
};
const Normal kPlainNormals[] = {OUTER_WALL};
const Tri kPlainFirst[] = {{S(0), S(1), S(2)}, {S(2), S(1), S(3)}};
const Tri kPlainGroup[] = {
    {1, 0, N(1)}, {N(1), 0, N(0)},  // wall
    {T, 3, N(3)},                   // top cap
    {B, N(2), 2},                   // bottom cap
};
const Tri kPlainLast[] = {{E(2), E(3), E(0)}, {E(0), E(3), E(1)}};

// ---- ring (8 per step: outer 0-3, inner 4-7) ----
constexpr auto kRing = join(kOuterWall, kInnerWall);
const Point kRingFace[] = {
    {OUTER, BOTTOM, FACE, false, false},
    {OUTER, TOP, FACE, false, false},
    {INNER, BOTTOM, FACE, false, false},
    {INNER, TOP, FACE, false, false},
};
const Normal kRingNormals[] = {OUTER_WALL, INNER_WALL};
const Tri kRingFirst[] = {{S(0), S(1), S(2)}, {S(2), S(1), S(3)}};
const Tri kRingGroup[] = {
    {0, N(0), 1}, {1, N(0), N(1)},  // outer wall
    {5, N(5), 4}, {4, N(5), N(4)},  // inner wall
    {7, 3, N(7)}, {N(7), 3, N(3)},  // top cap
    {2, 6, N(2)}, {N(2), 6, N(6)},  // bottom cap
};
const Tri kRingLast[] = {{E(1), E(0), E(3)}, {E(3), E(0), E(2)}};

// ---- bevel (8 per step) ----
constexpr auto kBevel = kOuterBevelWall;
const Point kBevelFace[] = {
    {OUTER_CHAMFER, BOTTOM, FACE, false, false}, {OUTER, BEVEL, FACE, false, false},
    {OUTER, TOP_BEVEL, FACE, false, false},      {OUTER_CHAMFER, TOP, FACE, false, false},
    {CENTRE, BOTTOM, FACE, false, false},        {CENTRE, TOP, FACE, false, false},
};
const Normal kBevelNormals[] = {OUTER_BOTTOM_CHAMFER, OUTER_WALL, OUTER_TOP_CHAMFER};
const Tri kBevelFirst[] = {{S(1), S(2), S(0)}, {S(0), S(2), S(3)}, {S(0), S(3), S(4)}, {S(4), S(3), S(5)}};
const Tri kBevelGroup[] = {
    {N(0), N(1), 0}, {0, N(1), 1},  // bottom chamfer
    {2, N(2), 3}, {N(2), N(3), 3},  // wall
    {N(4), N(5), 4}, {4, N(5), 5},  // top chamfer
    {B, N(6), 6},                   // bottom cap
    {T, 7, N(7)},                   // top cap
};
const Tri kBevelLast[] = {{E(2), E(1), E(3)}, {E(1), E(0), E(3)}, {E(0), E(4), E(3)}, {E(3), E(4), E(5)}};

// ---- bevel and inner radius (16 per step: outer 0-7, inner 8-15) ----
constexpr auto kBevelRing = join(kOuterBevelWall, kInnerBevelWall);
const Point kBevelRingFace[] = {
    {OUTER_CHAMFER, BOTTOM, FACE, false, false}, {OUTER, BEVEL, FACE, false, false},
    {OUTER, TOP_BEVEL, FACE, false, false},      {OUTER_CHAMFER, TOP, FACE, false, false},
    {INNER_CHAMFER, BOTTOM, FACE, false, false}, {INNER, BEVEL, FACE, false, false},
    {INNER, TOP_BEVEL, FACE, false, false},      {INNER_CHAMFER, TOP, FACE, false, false},
};
const Normal kBevelRingNormals[] = {OUTER_BOTTOM_CHAMFER, OUTER_WALL, OUTER_TOP_CHAMFER,
                                     INNER_BOTTOM_CHAMFER, INNER_WALL, INNER_TOP_CHAMFER};
const Tri kBevelRingFirst[] = {{S(2), S(3), S(1)}, {S(1), S(3), S(0)}, {S(0), S(3), S(4)},
                               {S(3), S(7), S(4)}, {S(4), S(7), S(6)}, {S(6), S(5), S(4)}};
const Tri kBevelRingGroup[] = {
    {0, N(0), 1}, {1, N(0), N(1)},        // outer bottom chamfer
    {N(2), N(3), 2}, {2, N(3), 3},        // outer wall
    {4, N(4), 5}, {5, N(4), N(5)},        // outer top chamfer
    {N(8), 8, N(9)}, {N(9), 8, 9},        // inner bottom chamfer
    {10, 11, N(10)}, {N(10), 11, N(11)},  // inner wall
    {N(12), 12, N(13)}, {N(13), 12, 13},  // inner top chamfer
    {N(7), N(15), 7}, {7, N(15), 15},     // top cap
    {6, 14, N(6)}, {N(6), 14, N(14)},     // bottom cap
};
const Tri kBevelRingLast[] = {{E(1), E(0), E(2)}, {E(2), E(0), E(3)}, {E(3), E(0), E(7)},
                              {E(7), E(0), E(4)}, {E(4), E(5), E(7)}, {E(7), E(5), E(6)}};

#undef N
#undef S
#undef E

const Layout kLayouts[4] = {
    // The plain slice draws its start face after the first degree.
    {kPlain.data(), count(kPlain), kPlainNormals, count(kPlainNormals), kPlainFace, count(kPlainFace), true,
     kPlainFirst, count(kPlainFirst), true, kPlainGroup, count(kPlainGroup), kPlainLast, count(kPlainLast)},
    {kRing.data(), count(kRing), kRingNormals, count(kRingNormals), kRingFace, count(kRingFace), false, kRingFirst,
     count(kRingFirst), false, kRingGroup, count(kRingGroup), kRingLast, count(kRingLast)},
    {kBevel.data(), count(kBevel), kBevelNormals, count(kBevelNormals), kBevelFace, count(kBevelFace), true,
     kBevelFirst, count(kBevelFirst), false, kBevelGroup, count(kBevelGroup), kBevelLast, count(kBevelLast)},
    {kBevelRing.data(), count(kBevelRing), kBevelRingNormals, count(kBevelRingNormals), kBevelRingFace,
     count(kBevelRingFace), false, kBevelRingFirst, count(kBevelRingFirst), false, kBevelRingGroup,
     count(kBevelRingGroup), kBevelRingLast, count(kBevelRingLast)},
};

}  // namespace

const Layout& faceLayout(bool bevel, bool ring) { return kLayouts[(bevel ? 2 : 0) + (ring ? 1 : 0)]; }

}  // namespace pnPieSlice
