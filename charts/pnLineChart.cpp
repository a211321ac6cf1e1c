#include "charts/pnLineChart.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>

#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnLexer.h"
#include "scene/pnModel.h"
#include "scene/pnWriteUtil.h"
#include "sg/sgRuntime.h"

namespace {

bool isModel(const pnObject* o) { return dynamic_cast<const pnModel*>(o) != nullptr; }

}  // namespace

pnLineChart::pnLineChart() {
    setFile("cyl10x.3ds");
    spacing = sgVec3(80, 0, 0);
}

pnLineChart::~pnLineChart() = default;

int pnLineChart::copy(const pnObject* other) {
    if (!other) return 0;
    if (other == this) return 1;
    pnChart::copy(other);
    if (const auto* line = dynamic_cast<const pnLineChart*>(other)) {
        jointScale = line->jointScale;
        jointMaterial = line->jointMaterial;
        jointFile = line->jointFile;
        showJoint = line->showJoint;
    }
    return 1;
}

// ---- geometry ----

sgVec3 pnLineChart::getDataPtTop(int i) const {
    return getDataPtPosition(i) + sgVec3(0, static_cast<float>(getDataPtHeight(i)), 0);
}

int pnLineChart::getSegment(int i, sgVec3* start, float* length, float* angle, sgVec3* axis) const {
    if (i < 1 || !validPoint(i)) return 0;
    const sgVec3 a = getDataPtTop(i - 1);
    const sgVec3 d = getDataPtTop(i) - a;
    // Double precision keeps a nearly vertical segment's far end on the top.
    const double dx = d[0], dy = d[1], dz = d[2];
    const double len = std::sqrt(dx * dx + dy * dy + dz * dz);
    // (0, 1, 0) x d
    double cx = dz, cy = 0.0, cz = -dx;
    const double cl = std::sqrt(cx * cx + cz * cz);
    double deg;
    if (cl > 0.0) {
        cx /= cl;
        cz /= cl;
        // Rounding can push the cosine just past 1.
        const double c = std::clamp(dy / len, -1.0, 1.0);
        deg = std::acos(c) * RAD_TO_DEG;
    } else {
        cx = 1.0;
        cy = 0.0;
        cz = 0.0;
        deg = dy >= 0.0 ? 0.0 : 180.0;
    }
    if (start) *start = a;
    if (length) *length = static_cast<float>(len);
    if (angle) *angle = static_cast<float>(deg);
    if (axis) *axis = sgVec3(static_cast<float>(cx), static_cast<float>(cy), static_cast<float>(cz));
    return 1;
}

sgVec3 pnLineChart::getDataTextPosition(int i) const { return dataTextPositionAlong(i, sgVec3(0, 1, 0)); }

void pnLineChart::placeSegment(int i) {
    pnObject* segment = getDataPtPart(i, PART_MAIN);
    sgVec3 a, axis;
    float length = 0, angle = 0;
    if (!segment || !getSegment(i, &a, &length, &angle, &axis)) return;
    segmentLength = length;
    segment->setPosition(a);
    segment->setPivotAngle(angle);
    segment->setPivotAxis(axis);
    if (pnEffect* grow = growEffect(i)) grow->setScale(1, length, 1);
}

void pnLineChart::placeJoint(int i) {
    if (pnObject* joint = getDataPtPart(i, PART_EXTRA)) joint->setPosition(getDataPtTop(i));
}

void pnLineChart::updateLayout() {
    for (int i = 0; i < getNumDataPts(); ++i) {
        placeSegment(i);
        placeJoint(i);
        placeTextPart(i, PART_DATA_TEXT);
        placeTextPart(i, PART_LABEL);
    }
}

// ---- points ----

void pnLineChart::setDataPtGrowValue(int i, double value) {
    if (!validPoint(i)) {
        debugPrint2("[pnLineChart::setDataPtGrowValue] ", "data pt index out of range");
        return;
    }
    dataPts[static_cast<size_t>(i)].growValue = value;
    if (!built) return;
    placeSegment(i);
    placeSegment(i + 1);
    placeJoint(i);
    placeTextPart(i, PART_DATA_TEXT);
}

void pnLineChart::setDataPtSpacing(int i, const sgVec3& v) {
    if (!validPoint(i)) {
        debugPrint("[pnLineChart::setDataPtSpacing] data pt index out of range");
        return;
    }
    if (dataPts[static_cast<size_t>(i)].spacing == v) return;
    dataPts[static_cast<size_t>(i)].spacing = v;
    if (built) updateLayout();
}

void pnLineChart::setDataPtSpacingDistance(int i, float d) { setDataPtSpacing(i, sgVec3(d, 0, 0)); }

void pnLineChart::storeDataPtSpacing(int i, const sgVec3& v) {
    if (!validPoint(i)) {
        debugPrint("[pnLineChart::setDataPtSpacing] data pt index out of range");
        return;
    }
    dataPts[static_cast<size_t>(i)].spacing = v;
    // Every later point moves with it.
    if (built) updateLayout();
}

int pnLineChart::setBaseScale(const sgVec3& v) {
    baseScale = v;
    if (!built) return 0;
    for (int i = 1; i < getNumDataPts(); ++i)
        if (pnObject* segment = getDataPtPart(i, PART_MAIN)) segment->setScaleOrigin(v);
    return getNumDataPts();
}

int pnLineChart::setScaleAll(const sgVec3& v) {
    pnChart::setScale(v);
    return built ? getNumDataPts() : 0;
}

// ---- joints ----

void pnLineChart::regenerateParts() {
    if (!partsLive()) return;
    const std::string parent = partParent;
    resetChartParts(parent.c_str());
    putEffect(makeTextEffect());
    putEffect(makeJointEffect());
    for (int i = 0; i < getNumDataPts(); ++i) makePointParts(i, parent.c_str());
}

void pnLineChart::setJointFile(const char* fileName) {
    const int before = getShowJoint();
    jointFile = sgCutName(fileName);
    showJoint = 1;
    if (!built) return;
    if (getShowJoint() != before) {
        regenerateParts();
        return;
    }
    for (int i = 0; i < getNumDataPts(); ++i)
        if (pnObject* joint = getDataPtPart(i, PART_EXTRA)) joint->setFileName(jointFile.c_str());
}

void pnLineChart::setJointScale(const sgVec3& v) {
    jointScale = v;
    if (!built) return;
    for (int i = 0; i < getNumDataPts(); ++i)
        if (pnObject* joint = getDataPtPart(i, PART_EXTRA)) joint->setScaleOrigin(v);
}

void pnLineChart::setJointScaleXYZ(float x, float y, float z) { setJointScale(sgVec3(x, y, z)); }
void pnLineChart::setJointScaleX(float x) { setJointScale(sgVec3(x, jointScale[1], jointScale[2])); }
void pnLineChart::setJointScaleY(float y) { setJointScale(sgVec3(jointScale[0], y, jointScale[2])); }
void pnLineChart::setJointScaleZ(float z) { setJointScale(sgVec3(jointScale[0], jointScale[1], z)); }

void pnLineChart::setJointMaterialName(const char* materialName) {
    jointMaterial = sgCutName(materialName);
    for (pnChartDataPt& p : dataPts) p.setJointMaterialName(jointMaterial.c_str());
    if (!built) return;
    for (int i = 0; i < getNumDataPts(); ++i) {
        pnObject* joint = getDataPtPart(i, PART_EXTRA);
        if (isModel(joint)) joint->setMaterial(jointMaterial.c_str());
    }
}

void pnLineChart::setDataPtJointMaterialName(int i, const char* materialName) {
    if (!validPoint(i)) {
        debugPrint2("[pnLineChart::setDataPtJointMaterialName] ", "data pt index out of range");
        return;
    }
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    p.setJointMaterialName(materialName);
    if (!built) return;
    pnObject* joint = getDataPtPart(i, PART_EXTRA);
    if (isModel(joint)) joint->setMaterial(p.jointMaterialName.c_str());
}

// ---- makers ----

pnObject* pnLineChart::makeObject(int i) {
    sgVec3 a, axis;
    float length = 0, angle = 0;
    if (!getSegment(i, &a, &length, &angle, &axis)) return nullptr;
    const pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    auto* segment = new pnModel;
    segment->setPosition(a);
    segmentLength = length;
    applyChartTransform(segment);
    segment->setPivotAngle(angle);
    segment->setPivotAxis(axis);
    segment->setScaleOrigin(baseScale);
    segment->setNameString(generatedName("-%03d", i).c_str());
    segment->setFileName(file.c_str());
    if (!p.materialName.empty())
        segment->setMaterialName(p.materialName.c_str());
    else if (!material.empty())
        segment->setMaterialName(material.c_str());
    return segment;
}

pnEffect* pnLineChart::makeEffect(int i) {
    float length = 0;
    if (!getSegment(i, nullptr, &length, nullptr, nullptr)) return nullptr;
    segmentLength = length;
    pnEffect* e = newEffect(generatedName("-%03d", i));
    e->setScale(1, length, 1);
    return e;
}

pnEvent* pnLineChart::makeDataTextEvent(int i, const char* parent) {
    return makeFollowerEvent(i, generatedName("-dataText-%03d", i), "-text", showData, parent);
}

pnEvent* pnLineChart::makeLabelEvent(int i, const char* parent) {
    return makeFollowerEvent(i, generatedName("-label-%03d", i), "-text", showLabel, parent);
}

pnEffect* pnLineChart::makeJointEffect() { return newEffect(generatedName("-joint")); }

pnObject* pnLineChart::makeSubObject(int i) {
    if (jointFile.empty()) {
        debugPrint2("[pnLineChart::makeSubObject]", " joint model not specified for line chart.");
        return nullptr;
    }
    if (!validPoint(i)) return nullptr;
    const pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    auto* joint = new pnModel;
    joint->setFileName(jointFile.c_str());
    joint->setPosition(getDataPtTop(i));
    joint->setNameString(generatedName("-joint-%03d", i).c_str());
    applyChartTransform(joint);
    joint->setScaleOrigin(jointScale);
    if (!p.jointMaterialName.empty())
        joint->setMaterialName(p.jointMaterialName.c_str());
    else if (!jointMaterial.empty())
        joint->setMaterialName(jointMaterial.c_str());
    // Playback moves a joint like a text part.
    joint->setLineFlag(1);
    return joint;
}

pnEvent* pnLineChart::makeSubEvent(int i, const char* parent) {
    // The first joint shows with point 1's segment but hides at its own
    // shrink start, as every joint does.
    return makeFollowerEvent(i, generatedName("-joint-%03d", i), "-joint", 1, parent, true);
}

// ---- timing ----
//
// What each operation does to point i (e = end frame, f = the new frame; the
// texts are the data text and the label):
//   setDataPtDefaultGrow    start 0, end 30; segment play 0 (0, 30), joint
//                           and texts play 0 (30, 30).
//   clearDataPtGrow         refused while the point shrinks; else start =
//                           end = 0 and play 0 of all its events (0, 0).
//   setDataPtDefaultShrink  shrink s = e+10 to t = e+20; each event without a
//                           play 1 gets one: the segment shrinks (s, t) and
//                           hides (t, t+1), the joint hides (s, s+1), the
//                           texts (t, t+1).
//   clearDataPtShrink       shrink -1; the segment loses plays 2 and 1, the
//                           joint and texts play 1.
//   setDataPtStartTime      segment play 0 starts at f.
//   setDataPtEndTime        segment play 0 ends at f; joint and texts play 0
//                           (f, f+1).
//   setDataPtShrinkStart    segment play 1 starts at f; joint and texts play 1
//                           (f, f+1).
//   setDataPtShrinkEnd      segment play 1 ends at f, its play 2 (f, f+1).
// Point 0 has no segment: after each of them its joint and texts take the
// times a build gives them (shown at point 1's start), so the chart draws
// as it will once saved and opened again.

void pnLineChart::retimeFirstPoint() {
    if (!built) return;
    retimeFollower(0, PART_DATA_TEXT, false);
    retimeFollower(0, PART_LABEL, false);
    retimeFollower(0, PART_EXTRA, true);
}

int pnLineChart::setDataPtDefaultGrow(int i) {
    if (!validPoint(i)) return 0;
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    p.startTime = 0;
    p.endTime = 30;
    if (!built) return 1;
    playTime(getDataPtEvent(i, PART_MAIN), 0, 0, 30);
    for (int which : {PART_DATA_TEXT, PART_LABEL, PART_EXTRA}) playTime(getDataPtEvent(i, which), 0, 30, 30);
    retimeFirstPoint();
    return 1;
}

int pnLineChart::clearDataPtGrow(int i) {
    if (!validPoint(i)) return 0;
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    if (p.shrinkStart >= 0) return 0;
    p.startTime = 0;
    p.endTime = 0;
    if (!built) return 1;
    for (int which : {PART_MAIN, PART_DATA_TEXT, PART_LABEL, PART_EXTRA}) playTime(getDataPtEvent(i, which), 0, 0, 0);
    retimeFirstPoint();
    return 1;
}

int pnLineChart::setDataPtDefaultShrink(int i) {
    if (!validPoint(i)) return 0;
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    const int s = p.endTime + 10, e = p.endTime + 20;
    p.shrinkStart = s;
    p.shrinkEnd = e;
    if (!built) return 1;
    pnEvent* segment = getDataPtEvent(i, PART_MAIN);
    if (segment && !hasPlay(segment, 1)) {
        const std::string shrink = generatedName("-shrink-%03d", i);
        segment->addPlay(shrink.c_str(), s, e, 1);
        segment->addPlay(shrink.c_str(), e, e + 1, 0);
        if (!hasEffect(shrink.c_str())) putEffect(makeShrinkEffect(i));
    }
    pnEvent* joint = getDataPtEvent(i, PART_EXTRA);
    if (joint && !hasPlay(joint, 1)) joint->addPlay(generatedName("-joint").c_str(), s, s + 1, 0);
    const std::string text = generatedName("-text");
    for (int which : {PART_DATA_TEXT, PART_LABEL}) {
        pnEvent* ev = getDataPtEvent(i, which);
        if (ev && !hasPlay(ev, 1)) ev->addPlay(text.c_str(), e, e + 1, 0);
    }
    retimeFirstPoint();
    return 1;
}

int pnLineChart::clearDataPtShrink(int i) {
    if (!validPoint(i)) return 0;
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    p.shrinkStart = -1;
    p.shrinkEnd = -1;
    if (built) removeShrinkPlays(i, {PART_MAIN}, {PART_DATA_TEXT, PART_LABEL, PART_EXTRA});
    retimeFirstPoint();
    return 1;
}

int pnLineChart::setDataPtStartTime(int i, int f) {
    if (!pnChart::setDataPtStartTime(i, f) || !built) return 0;
    playStart(getDataPtEvent(i, PART_MAIN), 0, f);
    retimeFirstPoint();
    return 1;
}

int pnLineChart::setDataPtEndTime(int i, int f) {
    if (!pnChart::setDataPtEndTime(i, f) || !built) return 0;
    playEnd(getDataPtEvent(i, PART_MAIN), 0, f);
    for (int which : {PART_EXTRA, PART_DATA_TEXT, PART_LABEL}) playTime(getDataPtEvent(i, which), 0, f, f + 1);
    retimeFirstPoint();
    return 1;
}

int pnLineChart::setDataPtShrinkStart(int i, int f) {
    if (!pnChart::setDataPtShrinkStart(i, f) || !built) return 0;
    playStart(getDataPtEvent(i, PART_MAIN), 1, f);
    for (int which : {PART_EXTRA, PART_DATA_TEXT, PART_LABEL}) playTime(getDataPtEvent(i, which), 1, f, f + 1);
    retimeFirstPoint();
    return 1;
}

int pnLineChart::setDataPtShrinkEnd(int i, int f) {
    if (!pnChart::setDataPtShrinkEnd(i, f) || !built) return 0;
    pnEvent* segment = getDataPtEvent(i, PART_MAIN);
    playEnd(segment, 1, f);
    playTime(segment, 2, f, f + 1);
    retimeFirstPoint();
    return 1;
}

// ---- scene files ----

bool pnLineChart::readChartKey(pnChartReadContext& in) {
    switch (sym) {
    case SYM_JOINT_FILE: setJointFile(pnScene::readQuoted().c_str()); return true;
    case SYM_JOINT_MATERIAL:
    case SYM_JOINT_PROPERTY: readMaterialKey(in, &pnChart::setJointMaterialName); return true;
    case SYM_JOINT_SCALE: setJointScale(pnScene::readVec3()); return true;
    default: return pnChart::readChartKey(in) || readValueMapping();
    }
}

int pnLineChart::write(FILE* f, int convertPaths) {
    if (!f) return 0;
    pnWriteBlockBegin(f, "lineChart");
    if (getShowJoint()) {
        pnWriteQuoted(f, "jointFile", pnWrittenPath(jointFile, convertPaths));
        if (!jointMaterial.empty()) pnWriteQuoted(f, "jointMaterial", jointMaterial);
        pnWriteVec3(f, "jointScale", jointScale);
    }
    pnChart::write(f, convertPaths);
    pnWriteBlockEnd(f);
    return pnWriteOk(f);
}
