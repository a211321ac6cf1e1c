#include "charts/pnVolumeChart.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <memory>
#include <utility>

#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnLexer.h"
#include "scene/pnVolume.h"
#include "scene/pnWriteUtil.h"
#include "sg/sgRuntime.h"

namespace {

const char* kIndexRange = "data pt index out of range";

sgVec3 cross(const sgVec3& a, const sgVec3& b) {
    return sgVec3(a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]);
}

float dot(const sgVec3& a, const sgVec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// A mapped value as a height: values beyond float's range stand at its
// limit, and a value that is no number stands on the base line.
float heightOf(double v) {
    if (std::isnan(v)) return 0.0f;
    return static_cast<float>(std::clamp(v, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX)));
}

// The slope of a unit mesh: rise per run, or the rise itself for no run.
float slope(float run, float rise) { return run != 0.0f ? rise / run : rise; }

}  // namespace

// ---- unit meshes ----

int pnVolumeMesh::addVertex(float x, float y, float z) {
    coords.push_back(x);
    coords.push_back(y);
    coords.push_back(z);
    return static_cast<int>(coords.size() / 3) - 1;
}

int pnVolumeMesh::addNormal(const sgVec3& n) {
    normals.push_back(n[0]);
    normals.push_back(n[1]);
    normals.push_back(n[2]);
    return static_cast<int>(normals.size() / 3) - 1;
}

void pnVolumeMesh::addTriangle(int a, int b, int c, int normal) {
    auto at = [&](int v) {
        return sgVec3(coords[static_cast<size_t>(v) * 3], coords[static_cast<size_t>(v) * 3 + 1],
                      coords[static_cast<size_t>(v) * 3 + 2]);
    };
    const sgVec3 n(normals[static_cast<size_t>(normal) * 3], normals[static_cast<size_t>(normal) * 3 + 1],
                   normals[static_cast<size_t>(normal) * 3 + 2]);
    if (dot(cross(at(b) - at(a), at(c) - at(a)), n) < 0.0f) std::swap(b, c);
    index.push_back(a);
    index.push_back(b);
    index.push_back(c);
    normIndex.push_back(normal);
}

void pnVolumeMesh::addQuad(int a, int b, int c, int d, const sgVec3& n) {
    const int normal = addNormal(n);
    addTriangle(a, b, c, normal);
    addTriangle(a, c, d, normal);
}

namespace {
// Outward normal (in x-y) of the side from p to q of a triangle whose third
// corner is o.
sgVec3 sideNormal(float px, float py, float qx, float qy, float ox, float oy) {
    float nx = -(qy - py), ny = qx - px;
    const float len = std::sqrt(nx * nx + ny * ny);
    if (len > 0.0f) {
        nx /= len;
        ny /= len;
    }
    if (nx * (ox - px) + ny * (oy - py) > 0.0f) {
        nx = -nx;
        ny = -ny;
    }
    return sgVec3(nx, ny, 0);
}
}  // namespace

namespace {
// The wedge's triangle in x-y: the start (0, 0), the end of the slope (1, s)
// and the corner under (or over) the end with the larger height.
struct WedgeCorners {
    float x[3], y[3];
};
WedgeCorners wedgeCorners(float s, bool atEnd) {
    WedgeCorners w{{0.0f, 1.0f, atEnd ? 1.0f : 0.0f}, {0.0f, s, atEnd ? 0.0f : s}};
    return w;
}
}  // namespace

pnVolumeMesh pnVolumeMesh::buildWedge(float s, bool atEnd, float depth, bool closed) {
    pnVolumeMesh b;
    const WedgeCorners w = wedgeCorners(s, atEnd);
    const float z0 = -depth / 2, z1 = depth / 2;
    // Vertices 0..2 at the back, 3..5 at the front.
    for (float z : {z0, z1})
        for (int k = 0; k < 3; ++k) b.addVertex(w.x[k], w.y[k], z);
    b.addTriangle(0, 1, 2, b.addNormal(sgVec3(0, 0, -1)));
    b.addTriangle(3, 4, 5, b.addNormal(sgVec3(0, 0, 1)));
    // Sides of the triangle: (0, 1) the slope, (1, 2) and (0, 2) the vertical
    // face and the face on the base, by where the corner is.
    auto side = [&](int p, int q, int o) {
        b.addQuad(p, q, q + 3, p + 3, sideNormal(w.x[p], w.y[p], w.x[q], w.y[q], w.x[o], w.y[o]));
    };
    const int vertical = atEnd ? 1 : 0;  // the slope corner the vertical face starts at
    side(vertical, 2, vertical == 1 ? 0 : 1);
    side(0, 1, 2);
    if (closed) side(vertical == 1 ? 0 : 1, 2, vertical);
    return b;
}

pnVolumeMesh pnVolumeMesh::wedge(float s, bool atEnd, float depth, bool up) {
    if (s != 0.0f) return buildWedge(s, atEnd, depth, false);
    pnVolumeMesh m;
    const float z0 = -depth / 2, z1 = depth / 2;
    const int a = m.addVertex(0, 0, z0), b = m.addVertex(1, 0, z0), c = m.addVertex(1, 0, z1),
              d = m.addVertex(0, 0, z1);
    m.addQuad(a, b, c, d, up ? sgVec3(0, 1, 0) : sgVec3(0, -1, 0));
    return m;
}

pnVolumeMesh pnVolumeMesh::closedWedge(float s, bool atEnd, float depth) { return buildWedge(s, atEnd, depth, true); }

pnVolumeMesh pnVolumeMesh::box(float h, float depth, bool below) {
    pnVolumeMesh m;
    const float z0 = -depth / 2, z1 = depth / 2;
    // Vertex 4 * (x) + 2 * (y at h) + (z at front).
    for (float x : {0.0f, 1.0f})
        for (float y : {0.0f, h})
            for (float z : {z0, z1}) m.addVertex(x, y, z);
    m.addQuad(0, 2, 6, 4, sgVec3(0, 0, -1));  // back
    m.addQuad(1, 5, 7, 3, sgVec3(0, 0, 1));   // front
    m.addQuad(4, 6, 7, 5, sgVec3(1, 0, 0));   // x = 1
    m.addQuad(0, 1, 3, 2, sgVec3(-1, 0, 0));  // x = 0
    // The face on the base line faces away from the area, also for a box of
    // no height under a segment below the base line.
    m.addQuad(0, 4, 5, 1, (h > 0.0f || (h == 0.0f && !below)) ? sgVec3(0, -1, 0) : sgVec3(0, 1, 0));
    return m;
}

void pnVolumeMesh::giveTo(pnVolume* volume) const {
    if (!volume) return;
    volume->setCoords(coords.data(), static_cast<int>(coords.size() / 3));
    volume->setNormals(normals.data(), static_cast<int>(normals.size() / 3));
    // The volume takes as many normal indices as corner indices; with one
    // normal per triangle only the first getNumTriangles() are read.
    std::vector<int> perTriangle(normIndex);
    perTriangle.resize(index.size(), 0);
    volume->setIndex(index.data(), perTriangle.data(), static_cast<int>(index.size()));
    volume->setNormalBind(0);
    volume->setNumPrims(getNumTriangles());
}

// ---- the chart ----

pnVolumeChart::pnVolumeChart() { spacing = sgVec3(80, 0, 0); }

pnVolumeChart::~pnVolumeChart() = default;

int pnVolumeChart::copy(const pnObject* other) {
    if (!other) return 0;
    if (other == this) return 1;
    pnChart::copy(other);
    if (const pnVolumeChart* v = dynamic_cast<const pnVolumeChart*>(other)) depth = v->depth;
    return 1;
}

int pnVolumeChart::write(FILE* f, int convertPaths) {
    if (!f) return 0;
    pnWriteBlockBegin(f, "volumeChart");
    pnWriteFloat(f, "depth", depth, " ");
    pnChart::write(f, convertPaths);
    pnWriteBlockEnd(f);
    return pnWriteOk(f);
}

bool pnVolumeChart::readChartKey(pnChartReadContext& in) {
    if (sym == SYM_DEPTH) {
        setDepth(pnScene::readFloat());
        return true;
    }
    return pnChart::readChartKey(in) || readValueMapping();
}

void pnVolumeChart::applyGrowScale(pnObject* part, const sgVec3& s) { part->setScaleOrigin(sgVec3(s[0], s[1], 1.0f)); }

// ---- segment geometry ----

float pnVolumeChart::run(const sgVec3& p, const sgVec3& q) {
    const float dx = q[0] - p[0], dz = q[2] - p[2];
    return std::sqrt(dx * dx + dz * dz);
}

pnVolumeChart::Segment pnVolumeChart::getSegment(int i) const {
    Segment g;
    if (i < 1 || !validPoint(i)) return g;
    g.h0 = heightOf(getDataPtHeight(i - 1));
    g.h1 = heightOf(getDataPtHeight(i));
    g.base0 = getDataPtPosition(i - 1);
    g.base1 = getDataPtPosition(i);
    g.top0 = g.base0 + sgVec3(0, g.h0, 0);
    g.top1 = g.base1 + sgVec3(0, g.h1, 0);
    g.crossing = g.h0 * g.h1 < 0.0f;
    if (g.crossing) {
        // Where the line meets the base line (the point's own base, not y = 0).
        const float x = (g.top0[0] * g.h1 - g.top1[0] * g.h0) / (g.h1 - g.h0);
        g.cross = sgVec3(x, g.base0[1], g.top0[2]);
    }
    return g;
}

sgVec3 pnVolumeChart::getGrowScale(int i) const {
    const Segment g = getSegment(i);
    // Each unit mesh is scaled by the run of its own piece: x by the run,
    // and y by the run as well where the mesh is sloped.
    if (g.crossing) {
        const float r = run(g.top0, g.cross);
        return sgVec3(r, r, 1);
    }
    const float r = run(g.top0, g.top1);
    return sgVec3(r, rise(g.top0, g.top1) != 0.0f ? r : 1.0f, 1);
}

sgVec3 pnVolumeChart::getBoxGrowScale(int i) const {
    const Segment g = getSegment(i);
    if (g.crossing) {
        const float r = run(g.cross, g.top1);
        return sgVec3(r, r, 1);
    }
    // The box is made as high as the first point and reaches the smaller
    // height of the two.
    const float y = (g.h0 != 0.0f && std::fabs(g.h1) < std::fabs(g.h0)) ? g.h1 / g.h0 : 1.0f;
    return sgVec3(run(g.base0, g.base1), y, 1);
}

// ---- part makers ----

void pnVolumeChart::setupSegmentPart(pnVolume* part, int i, const std::string& n) const {
    part->setNameString(n.c_str());
    const std::string& m = pointOrDefault(i).materialName;
    if (!m.empty())
        part->setMaterialName(m.c_str());
    else if (setFlags[MATERIAL_FLAG] && !material.empty())
        part->setMaterialName(material.c_str());
    applyChartTransform(part);
    part->setScene(scene);
}

pnObject* pnVolumeChart::makeObject(int i) {
    if (i < 1 || !validPoint(i)) return nullptr;
    const Segment g = getSegment(i);
    pnVolumeMesh mesh;
    if (g.crossing) {
        // From the first point to the base line: the vertical face stands at
        // the first point.
        mesh = pnVolumeMesh::closedWedge(slope(run(g.top0, g.cross), rise(g.top0, g.cross)), false, depth);
    } else {
        const float s = slope(run(g.top0, g.top1), rise(g.top0, g.top1));
        mesh = pnVolumeMesh::wedge(s, std::fabs(g.h1) > std::fabs(g.h0), depth, g.h0 >= 0.0f && g.h1 >= 0.0f);
    }
    auto* part = new pnVolume;
    mesh.giveTo(part);
    part->setPosition(g.top0);
    setupSegmentPart(part, i, generatedName("-%03d", i));
    return part;
}

pnObject* pnVolumeChart::makeSubObject(int i) {
    if (i < 1 || !validPoint(i)) return nullptr;
    const Segment g = getSegment(i);
    pnVolumeMesh mesh;
    sgVec3 at;
    if (g.crossing) {
        // From the base line up (or down) to the second point.
        mesh = pnVolumeMesh::closedWedge(slope(run(g.cross, g.top1), rise(g.cross, g.top1)), true, depth);
        at = g.cross;
    } else {
        mesh = pnVolumeMesh::box(g.h0, depth, g.h0 < 0.0f || g.h1 < 0.0f);
        at = g.base0;
    }
    auto* part = new pnVolume;
    mesh.giveTo(part);
    part->setPosition(at);
    setupSegmentPart(part, i, generatedName("-box-%03d", i));
    return part;
}

pnEffect* pnVolumeChart::makeEffect(int i) {
    if (i < 1 || !validPoint(i)) return nullptr;
    pnEffect* e = newEffect(generatedName("-%03d", i));
    e->setScale(getGrowScale(i));
    return e;
}

pnEffect* pnVolumeChart::makeSubEffect(int i) {
    if (i < 1 || !validPoint(i)) return nullptr;
    pnEffect* e = newEffect(generatedName("-box-%03d", i));
    e->setScale(getBoxGrowScale(i));
    return e;
}

pnEffect* pnVolumeChart::makeShrinkSubEffect(int i) {
    if (i < 1 || !validPoint(i) || !hasShrink(i)) return nullptr;
    pnEffect* e = newEffect(generatedName("-shrink-box-%03d", i));
    e->setScale(1, 1, 1);
    return e;
}

// A segment part hides one frame after its shrink ends.
pnEvent* pnVolumeChart::makeEvent(int i, const char* parent) {
    if (i < 1 || !validPoint(i)) return nullptr;
    return makeGrowEvent(i, parent, "-%03d", "-shrink-%03d", 1);
}

pnEvent* pnVolumeChart::makeSubEvent(int i, const char* parent) {
    if (i < 1 || !validPoint(i)) return nullptr;
    return makeGrowEvent(i, parent, "-box-%03d", "-shrink-box-%03d", 1);
}

pnEvent* pnVolumeChart::makeDataTextEvent(int i, const char* parent) {
    return makeFollowerEvent(i, slotName(name, i, PART_DATA_TEXT), "-text", showData, parent);
}

pnEvent* pnVolumeChart::makeLabelEvent(int i, const char* parent) {
    return makeFollowerEvent(i, slotName(name, i, PART_LABEL), "-text", showLabel, parent);
}

// ---- layout and rebuilding ----

void pnVolumeChart::updateLayout() {
    if (!built) return;
    for (int i = 0; i < getNumDataPts(); ++i) {
        if (i >= 1) {
            const Segment g = getSegment(i);
            if (pnObject* main = getDataPtPart(i, PART_MAIN)) main->setPosition(g.top0);
            if (pnObject* box = getDataPtPart(i, PART_EXTRA)) box->setPosition(g.crossing ? g.cross : g.base0);
        }
        placeTextPart(i, PART_DATA_TEXT);
        placeTextPart(i, PART_LABEL);
    }
}

int pnVolumeChart::rebuildSegment(int j) {
    if (j < 1 || !validPoint(j)) return 1;
    const int mainSlot = getDataPtObjectIndex(j);
    const int boxSlot = mainSlot + PART_EXTRA;
    if (!getChartPart(mainSlot) || !getChartPart(boxSlot)) return 1;  // nothing shown
    std::unique_ptr<pnObject> main(makeObject(j));
    std::unique_ptr<pnObject> box(makeSubObject(j));
    if (!main || !box) return 0;
    replacePart(mainSlot, main.release());
    replacePart(boxSlot, box.release());
    putEffect(makeEffect(j));
    putEffect(makeSubEffect(j));
    return 1;
}

int pnVolumeChart::rebuildAround(int a) {
    if (!built) return 1;
    if (a + 1 < getNumDataPts() && !rebuildSegment(a + 1)) return 0;
    if (a >= 1 && !rebuildSegment(a)) return 0;
    return 1;
}

void pnVolumeChart::setDepth(float d) {
    if (!(d >= 0.0f) || !std::isfinite(d)) return;
    depth = d;
    if (!built) return;
    for (int j = 1; j < getNumDataPts(); ++j)
        if (!rebuildSegment(j)) return;
}

// ---- point setters ----

void pnVolumeChart::setDataPtGrowValue(int i, double v) {
    if (!validPoint(i)) {
        debugPrint(kIndexRange);
        return;
    }
    if (!std::isfinite(v)) return;
    dataPts[static_cast<size_t>(i)].growValue = v;
    if (!built) return;
    rebuildAround(i);
    placeTextPart(i, PART_DATA_TEXT);
}

void pnVolumeChart::setDataPtSpacing(int i, const sgVec3& v) {
    if (!validPoint(i)) {
        debugPrint(kIndexRange);
        return;
    }
    if (dataPts[static_cast<size_t>(i)].spacing == v) return;
    dataPts[static_cast<size_t>(i)].spacing = v;
    if (built && rebuildAround(i)) updateLayout();
}

void pnVolumeChart::setDataPtSpacingDistance(int i, float d) { setDataPtSpacing(i, sgVec3(d, 0, 0)); }

void pnVolumeChart::storeDataPtSpacing(int i, const sgVec3& v) {
    if (!validPoint(i)) {
        debugPrint(kIndexRange);
        return;
    }
    dataPts[static_cast<size_t>(i)].spacing = v;
    if (built) rebuildAround(i);
}

int pnVolumeChart::deleteDataPt(int i) {
    if (!validPoint(i)) {
        debugPrint("index out or range deleting a chart data");
        return 0;
    }
    deleteDataPtParts(i);
    if (!built) return 1;
    // The points on both sides of the deleted one are now joined.
    if (i >= 1 && i < getNumDataPts()) rebuildSegment(i);
    updateLayout();
    retimeFirstPoint();
    return 1;
}

// ---- timing ----

// Point 0 has no segment: after each timing operation its texts take the
// times a build gives them (shown at point 1's start).
void pnVolumeChart::retimeFirstPoint() {
    if (!built) return;
    retimeFollower(0, PART_DATA_TEXT, false);
    retimeFollower(0, PART_LABEL, false);
}

int pnVolumeChart::setDataPtDefaultGrow(int i) {
    if (!validPoint(i)) {
        debugPrint(kIndexRange);
        return 0;
    }
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    p.startTime = 0;
    p.endTime = 30;
    for (int which : {PART_MAIN, PART_EXTRA}) playTime(getDataPtEvent(i, which), 0, 0, 30);
    for (int which : {PART_DATA_TEXT, PART_LABEL}) playTime(getDataPtEvent(i, which), 0, 30, 30);
    retimeFirstPoint();
    return 1;
}

int pnVolumeChart::clearDataPtGrow(int i) {
    if (!validPoint(i)) {
        debugPrint(kIndexRange);
        return 0;
    }
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    if (p.shrinkStart >= 0) return 0;
    p.startTime = p.endTime = 0;
    for (int which = PART_MAIN; which <= PART_EXTRA; ++which) playTime(getDataPtEvent(i, which), 0, 0, 0);
    retimeFirstPoint();
    return 1;
}

int pnVolumeChart::setDataPtDefaultShrink(int i) {
    if (!validPoint(i)) {
        debugPrint(kIndexRange);
        return 0;
    }
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    p.shrinkStart = p.endTime + 10;
    p.shrinkEnd = p.endTime + 20;
    const int ss = p.shrinkStart, se = p.shrinkEnd;
    for (int which : {PART_MAIN, PART_EXTRA}) {
        pnEvent* ev = getDataPtEvent(i, which);
        if (!ev || hasPlay(ev, 1)) continue;
        const bool box = which == PART_EXTRA;
        const std::string s = generatedName(box ? "-shrink-box-%03d" : "-shrink-%03d", i);
        ev->addPlay(s.c_str(), ss, se, 1);
        ev->addPlay(s.c_str(), se, se + 1, 0);
        if (!hasEffect(s.c_str())) putEffect(box ? makeShrinkSubEffect(i) : makeShrinkEffect(i));
    }
    const std::string text = generatedName("-text");
    for (int which : {PART_DATA_TEXT, PART_LABEL}) {
        pnEvent* ev = getDataPtEvent(i, which);
        if (ev && !hasPlay(ev, 1)) ev->addPlay(text.c_str(), ss, ss + 1, 0);
    }
    retimeFirstPoint();
    return 1;
}

int pnVolumeChart::clearDataPtShrink(int i) {
    if (!validPoint(i)) {
        debugPrint(kIndexRange);
        return 0;
    }
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    p.shrinkStart = p.shrinkEnd = -1;
    removeShrinkPlays(i, {PART_MAIN, PART_EXTRA}, {PART_DATA_TEXT, PART_LABEL});
    retimeFirstPoint();
    return 1;
}

int pnVolumeChart::setDataPtStartTime(int i, int f) {
    if (!pnChart::setDataPtStartTime(i, f) || !built) return 0;
    for (int which : {PART_MAIN, PART_EXTRA}) playStart(getDataPtEvent(i, which), 0, f);
    retimeFirstPoint();
    return 1;
}

int pnVolumeChart::setDataPtEndTime(int i, int f) {
    if (!pnChart::setDataPtEndTime(i, f) || !built) return 0;
    for (int which : {PART_MAIN, PART_EXTRA}) playEnd(getDataPtEvent(i, which), 0, f);
    for (int which : {PART_DATA_TEXT, PART_LABEL}) playTime(getDataPtEvent(i, which), 0, f, f + 1);
    retimeFirstPoint();
    return 1;
}

int pnVolumeChart::setDataPtShrinkStart(int i, int f) {
    if (!pnChart::setDataPtShrinkStart(i, f) || !built) return 0;
    for (int which : {PART_MAIN, PART_EXTRA}) playStart(getDataPtEvent(i, which), 1, f);
    for (int which : {PART_DATA_TEXT, PART_LABEL}) playTime(getDataPtEvent(i, which), 1, f, f + 1);
    retimeFirstPoint();
    return 1;
}

int pnVolumeChart::setDataPtShrinkEnd(int i, int f) {
    if (!pnChart::setDataPtShrinkEnd(i, f) || !built) return 0;
    for (int which : {PART_MAIN, PART_EXTRA}) {
        pnEvent* ev = getDataPtEvent(i, which);
        playEnd(ev, 1, f);
        playTime(ev, 2, f + 1, f + 2);
    }
    retimeFirstPoint();
    return 1;
}
