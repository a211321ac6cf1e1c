#include "charts/pnPieSliceMesh.h"

#include <cmath>

#include "charts/pnPieSliceBuild.h"
#include "scene/pnVolume.h"
#include "sg/sgRuntime.h"

using namespace pnPieSlice;

namespace {

constexpr double kDegToRad = 0.017453292519944444;

const Layout& layoutFor(const pnPieSliceShape& s) {
    const bool bevel = s.bevel > 0.0f, ring = s.innerRad > 0.0f;
    return s.showSide ? sideLayout(bevel, ring) : faceLayout(bevel, ring);
}

int findNormal(const Layout& l, Normal n) {
    for (int i = 0; i < l.numStepNormals; ++i)
        if (l.stepNormals[i] == n) return i;
    return 0;
}

}  // namespace

int pnPieSliceMesh::vertexCount(const pnPieSliceShape& shape, int d) {
    const Layout& l = layoutFor(shape);
    return 2 * l.faceSize + l.blockSize * (d + 1) + (l.centre ? 2 : 0);
}

int pnPieSliceMesh::triangleCount(const pnPieSliceShape& shape, int d) {
    const Layout& l = layoutFor(shape);
    return l.numFirst + l.numGroup * d + l.numLast;
}

int pnPieSliceMesh::normalCount(const pnPieSliceShape& shape, int d) {
    const Layout& l = layoutFor(shape);
    return (l.face ? 2 : 0) + l.numStepNormals * (d + 1) + 2;
}

int pnPieSliceMesh::trianglesPerDegree(const pnPieSliceShape& shape) { return layoutFor(shape).numGroup; }

void pnPieSliceMesh::clear() {
    coords.clear();
    normals.clear();
    index.clear();
    normIndex.clear();
    closingStep.clear();
    degrees = 0;
}

// What the phases of one build share: the span, the sweep direction, the
// radii and heights the layout's symbols stand for, and where each phase put
// its part of the tables.
struct pnPieSliceMesh::Sweep {
    Sweep(const pnPieSliceShape& shape, int first, int direction, float depth)
        : l(layoutFor(shape)), a(first), d(direction), ccw(shape.rotDirection == 1), R(shape.outerRad), r(shape.innerRad),
          bev(shape.bevel), D(depth) {}

    // The angle of step k, radians.
    double theta(int k) const { return (ccw ? 90.0 + a + k : 90.0 - a - k) * kDegToRad; }
    float rho(Rho which) const {
        switch (which) {
        case OUTER: return R;
        case OUTER_CHAMFER: return R - bev;
        case INNER: return r;
        case INNER_CHAMFER: return r + bev;
        default: return 0.0f;
        }
    }
    float z(Height which) const {
        switch (which) {
        case BOTTOM: return 0.0f;
        case TOP: return D;
        case BEVEL: return bev;
        case TOP_BEVEL: return D - bev;
        case ONE: return 1.0f;
        default: return D - 1.0f;
        }
    }

    const Layout& l;
    int a, d;
    bool ccw;
    float R, r, bev, D;
    // Normals: start face, per step, end face, then top and bottom.
    int stepNormalBase = 0, endNormal = 0, topNormal = 0, bottomNormal = 0;
    // Vertices: start face, the step blocks, end face, then the two centres.
    int startBase = 0, blockBase = 0, endBase = 0, centreBase = 0;
};

int pnPieSliceMesh::build(const pnPieSliceShape& shape, int a, int b, float depth) {
    clear();
    const long span = std::labs(static_cast<long>(b) - static_cast<long>(a));
    if (span < 1 || span > 360) return 0;
    if (!std::isfinite(shape.outerRad) || !std::isfinite(shape.innerRad) || !std::isfinite(shape.bevel) ||
        !std::isfinite(depth))
        return 0;
    if (shape.bevel > 0.0f && (depth < 2.0f * shape.bevel || shape.bevel > shape.outerRad)) {
        debugPrintFloat("too large bevel value: ", shape.bevel);
        return 0;
    }
    const int d = static_cast<int>(span);
    coords.reserve(static_cast<size_t>(vertexCount(shape, d)) * 3);
    normals.reserve(static_cast<size_t>(normalCount(shape, d)) * 3);
    index.reserve(static_cast<size_t>(triangleCount(shape, d)) * 3);
    normIndex.reserve(static_cast<size_t>(vertexCount(shape, d)));

    Sweep sweep(shape, a, d, depth);
    addNormals(sweep);
    addVertices(sweep);
    addTriangles(sweep);
    degrees = d;
    return 1;
}

void pnPieSliceMesh::addNormal(double x, double y, double z) {
    normals.push_back(static_cast<float>(x));
    normals.push_back(static_cast<float>(y));
    normals.push_back(static_cast<float>(z));
}

void pnPieSliceMesh::addVertex(float rho, float z, double theta, int normal) {
    // Points on the axis are exactly (0, 0, z), never -0.
    coords.push_back(static_cast<float>(rho * std::cos(theta)) + 0.0f);
    coords.push_back(static_cast<float>(rho * std::sin(theta)) + 0.0f);
    coords.push_back(z);
    normIndex.push_back(normal);
}

void pnPieSliceMesh::addNormals(Sweep& w) {
    const Layout& l = w.l;
    // The radial face at the first step points away from the slice; every
    // later one points on in the sweep direction.
    auto addRadial = [&](double theta, bool first) {
        const double s = std::sin(theta), c = std::cos(theta);
        const double sign = (first == w.ccw) ? 1.0 : -1.0;
        addNormal(sign * s, -sign * c, 0.0);
    };
    const int perStep = l.numStepNormals;
    w.stepNormalBase = l.face ? 1 : 0;
    w.endNormal = w.stepNormalBase + perStep * (w.d + 1);
    w.topNormal = w.endNormal + (l.face ? 1 : 0);
    w.bottomNormal = w.topNormal + 1;
    if (l.face) addRadial(w.theta(0), true);
    const double k2 = 1.0 / std::sqrt(1.25);
    for (int k = 0; k <= w.d; ++k) {
        const double th = w.theta(k), c = std::cos(th), s = std::sin(th);
        for (int n = 0; n < perStep; ++n) {
            switch (l.stepNormals[n]) {
            case OUTER_WALL: addNormal(c, s, 0); break;
            case INNER_WALL: addNormal(-c, -s, 0); break;
            case OUTER_BOTTOM_CHAMFER: addNormal(k2 * c, k2 * s, -0.5 * k2); break;
            case OUTER_TOP_CHAMFER: addNormal(k2 * c, k2 * s, 0.5 * k2); break;
            case INNER_BOTTOM_CHAMFER: addNormal(-k2 * c, -k2 * s, -0.5 * k2); break;
            case INNER_TOP_CHAMFER: addNormal(-k2 * c, -k2 * s, 0.5 * k2); break;
            default: addRadial(th, k == 0); break;
            }
        }
    }
    if (l.face) addRadial(w.theta(w.d), false);
    addNormal(0, 0, 1);
    addNormal(0, 0, -1);
}

void pnPieSliceMesh::addVertices(Sweep& w) {
    const Layout& l = w.l;
    auto addFace = [&](int k, int normal) {
        for (int i = 0; i < l.faceSize; ++i) addVertex(w.rho(l.face[i].rho), w.z(l.face[i].z), w.theta(k), normal);
    };
    w.startBase = 0;
    if (l.face) addFace(0, 0);
    w.blockBase = l.faceSize;
    for (int k = 0; k <= w.d; ++k) {
        const bool between = k > 0 && k < w.d;
        for (int i = 0; i < l.blockSize; ++i) {
            const Point& p = l.block[i];
            float rho = w.rho(p.rho), z = w.z(p.z);
            if (p.side && between) {
                // Pulled just inside the walls and caps, so the side faces
                // between the ends never show through them.
                if (p.rho == OUTER || p.rho == OUTER_CHAMFER)
                    rho *= 0.999f;
                else if (p.rho == INNER || p.rho == INNER_CHAMFER)
                    rho *= 1.001f;
                if (!p.keepHeight) {
                    if (p.z == BOTTOM || p.z == BEVEL)
                        z += 1.0f;
                    else if (p.z == TOP || p.z == TOP_BEVEL)
                        z -= 1.0f;
                }
            }
            int normal;
            if (p.normal == CAP_TOP)
                normal = w.topNormal;
            else if (p.normal == CAP_BOTTOM)
                normal = w.bottomNormal;
            else
                normal = w.stepNormalBase + l.numStepNormals * k + findNormal(l, p.normal);
            addVertex(rho, z, w.theta(k), normal);
        }
    }
    w.endBase = w.blockBase + l.blockSize * (w.d + 1);
    if (l.face) addFace(w.d, w.endNormal);
    w.centreBase = w.endBase + l.faceSize;
    if (l.centre) {
        addVertex(0.0f, 0.0f, 0.0, w.bottomNormal);
        addVertex(0.0f, w.D, 0.0, w.topNormal);
    }
}

void pnPieSliceMesh::addTriangles(const Sweep& w) {
    const Layout& l = w.l;
    auto corner = [&](int ref, int k) {
        if (ref == B) return w.centreBase;
        if (ref == T) return w.centreBase + 1;
        if (ref >= END) return w.endBase + ref - END;
        if (ref >= START) return w.startBase + ref - START;
        if (ref >= NEXT) return w.blockBase + l.blockSize * (k + 1) + ref - NEXT;
        return w.blockBase + l.blockSize * k + ref;
    };
    // With side faces, the first triangles close step 0 and each degree's
    // group ends with as many that close the next step.
    const bool sides = l.face == nullptr;
    auto addTris = [&](const Tri* t, int n, int k, int closes) {
        for (int i = 0; i < n; ++i) {
            const int u = corner(t[i].a, k), v = corner(t[i].b, k), x = corner(t[i].c, k);
            index.push_back(w.ccw ? u : x);
            index.push_back(v);
            index.push_back(w.ccw ? x : u);
            closingStep.push_back(sides && i >= n - l.numFirst ? closes : -1);
        }
    };
    if (!l.firstAfterGroup) addTris(l.first, l.numFirst, 0, 0);
    for (int k = 0; k < w.d; ++k) {
        addTris(l.group, l.numGroup, k, k + 1);
        if (k == 0 && l.firstAfterGroup) addTris(l.first, l.numFirst, 0, 0);
    }
    addTris(l.last, l.numLast, w.d, -1);
}

void pnPieSliceMesh::giveTo(pnVolume* volume) const {
    if (!volume) return;
    volume->setCoords(coords.data(), getNumVertex());
    volume->setNormals(normals.data(), getNumNormal());
    // The volume takes as many normal indices as corner indices; with one
    // normal per vertex only the first getNumVertex() are read.
    std::vector<int> perVertex(normIndex);
    perVertex.resize(index.size() > perVertex.size() ? index.size() : perVertex.size(), 0);
    volume->setIndex(index.data(), perVertex.data(), static_cast<int>(index.size()));
    volume->setNormalBind(1);
    volume->setNumPrims(getNumTriangles());
    volume->setClosingSteps(closingStep);
}
