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
    degrees = 0;
}

int pnPieSliceMesh::build(const pnPieSliceShape& shape, int a, int b, float depth) {
    clear();
    const long span = std::labs(static_cast<long>(b) - static_cast<long>(a));
    if (span < 1 || span > 360) return 0;
    if (!std::isfinite(shape.outerRad) || !std::isfinite(shape.innerRad) || !std::isfinite(shape.bevel) ||
        !std::isfinite(depth))
        return 0;
    const float R = shape.outerRad, r = shape.innerRad, bev = shape.bevel, D = depth;
    if (bev > 0.0f && (D < 2.0f * bev || bev > R)) {
        debugPrintFloat("too large bevel value: ", bev);
        return 0;
    }
    const int d = static_cast<int>(span);
    const Layout& l = layoutFor(shape);
    const bool ccw = shape.rotDirection == 1;

    coords.reserve(static_cast<size_t>(vertexCount(shape, d)) * 3);
    normals.reserve(static_cast<size_t>(normalCount(shape, d)) * 3);
    index.reserve(static_cast<size_t>(triangleCount(shape, d)) * 3);
    normIndex.reserve(static_cast<size_t>(vertexCount(shape, d)));

    auto thetaOf = [&](int k) { return (ccw ? 90.0 + a + k : 90.0 - a - k) * kDegToRad; };
    auto rhoOf = [&](Rho rho) -> float {
        switch (rho) {
        case OUTER: return R;
        case OUTER_CHAMFER: return R - bev;
        case INNER: return r;
        case INNER_CHAMFER: return r + bev;
        default: return 0.0f;
        }
    };
    auto zOf = [&](Height z) -> float {
        switch (z) {
        case BOTTOM: return 0.0f;
        case TOP: return D;
        case BEVEL: return bev;
        case TOP_BEVEL: return D - bev;
        case ONE: return 1.0f;
        default: return D - 1.0f;
        }
    };
    auto addVertex = [&](float rho, float z, double theta, int normal) {
        // Points on the axis are exactly (0, 0, z), never -0.
        coords.push_back(static_cast<float>(rho * std::cos(theta)) + 0.0f);
        coords.push_back(static_cast<float>(rho * std::sin(theta)) + 0.0f);
        coords.push_back(z);
        normIndex.push_back(normal);
    };
    auto addNormal = [&](double x, double y, double z) {
        normals.push_back(static_cast<float>(x));
        normals.push_back(static_cast<float>(y));
        normals.push_back(static_cast<float>(z));
    };
    // The radial face at the first step points away from the slice; every
    // later one points on in the sweep direction.
    auto addRadial = [&](double theta, bool first) {
        const double s = std::sin(theta), c = std::cos(theta);
        const double sign = (first == ccw) ? 1.0 : -1.0;
        addNormal(sign * s, -sign * c, 0.0);
    };

    // Normals: start face, per step, end face, then top and bottom.
    const int perStep = l.numStepNormals;
    const int stepNormalBase = l.face ? 1 : 0;
    const int endNormal = stepNormalBase + perStep * (d + 1);
    const int topNormal = endNormal + (l.face ? 1 : 0);
    const int bottomNormal = topNormal + 1;
    if (l.face) addRadial(thetaOf(0), true);
    const double w = 1.0 / std::sqrt(1.25);
    for (int k = 0; k <= d; ++k) {
        const double th = thetaOf(k), c = std::cos(th), s = std::sin(th);
        for (int n = 0; n < perStep; ++n) {
            switch (l.stepNormals[n]) {
            case OUTER_WALL: addNormal(c, s, 0); break;
            case INNER_WALL: addNormal(-c, -s, 0); break;
            case OUTER_BOTTOM_CHAMFER: addNormal(w * c, w * s, -0.5 * w); break;
            case OUTER_TOP_CHAMFER: addNormal(w * c, w * s, 0.5 * w); break;
            case INNER_BOTTOM_CHAMFER: addNormal(-w * c, -w * s, -0.5 * w); break;
            case INNER_TOP_CHAMFER: addNormal(-w * c, -w * s, 0.5 * w); break;
            default: addRadial(th, k == 0); break;
            }
        }
    }
    if (l.face) addRadial(thetaOf(d), false);
    addNormal(0, 0, 1);
    addNormal(0, 0, -1);

    // Vertices: start face, the step blocks, end face, then B and T.
    auto addFace = [&](int k, int normal) {
        for (int i = 0; i < l.faceSize; ++i) addVertex(rhoOf(l.face[i].rho), zOf(l.face[i].z), thetaOf(k), normal);
    };
    const int startBase = 0;
    if (l.face) addFace(0, 0);
    const int blockBase = l.faceSize;
    for (int k = 0; k <= d; ++k) {
        const bool between = k > 0 && k < d;
        for (int i = 0; i < l.blockSize; ++i) {
            const Point& p = l.block[i];
            float rho = rhoOf(p.rho), z = zOf(p.z);
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
                normal = topNormal;
            else if (p.normal == CAP_BOTTOM)
                normal = bottomNormal;
            else
                normal = stepNormalBase + perStep * k + findNormal(l, p.normal);
            addVertex(rho, z, thetaOf(k), normal);
        }
    }
    const int endBase = blockBase + l.blockSize * (d + 1);
    if (l.face) addFace(d, endNormal);
    const int centreBase = endBase + l.faceSize;
    if (l.centre) {
        addVertex(0.0f, 0.0f, 0.0, bottomNormal);
        addVertex(0.0f, D, 0.0, topNormal);
    }

    auto corner = [&](int ref, int k) {
        if (ref == B) return centreBase;
        if (ref == T) return centreBase + 1;
        if (ref >= END) return endBase + ref - END;
        if (ref >= START) return startBase + ref - START;
        if (ref >= NEXT) return blockBase + l.blockSize * (k + 1) + ref - NEXT;
        return blockBase + l.blockSize * k + ref;
    };
    auto addTris = [&](const Tri* t, int n, int k) {
        for (int i = 0; i < n; ++i) {
            const int u = corner(t[i].a, k), v = corner(t[i].b, k), x = corner(t[i].c, k);
            index.push_back(ccw ? u : x);
            index.push_back(v);
            index.push_back(ccw ? x : u);
        }
    };
    if (!l.firstAfterGroup) addTris(l.first, l.numFirst, 0);
    for (int k = 0; k < d; ++k) {
        addTris(l.group, l.numGroup, k);
        if (k == 0 && l.firstAfterGroup) addTris(l.first, l.numFirst, 0);
    }
    addTris(l.last, l.numLast, d);
    degrees = d;
    return 1;
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
}
