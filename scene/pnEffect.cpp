#include "scene/pnEffect.h"

#include <cmath>

#include "sg/sgRuntime.h"

namespace {
double bezier(double t, double a, double b, double c, double d) {
    double u = 1.0 - t;
    return u * u * u * a + 3.0 * u * u * t * b + 3.0 * u * t * t * c + t * t * t * d;
}
// Paths and timing stay inside the unit interval so no NaN or runaway value
// reaches a transform.
double unitParam(double t) {
    if (!(t > 0.0)) return 0.0;
    return t > 1.0 ? 1.0 : t;
}
float finiteOrZero(float v) { return std::isfinite(v) ? v : 0.0f; }
}  // namespace

double pnEffectPath::evalTiming(double t) const {
    return bezier(unitParam(t), timing[0], timing[1], timing[2], timing[3]);
}

void pnEffectPath::evaluate(double t, double out[3]) const {
    double s = evalTiming(t);
    for (int k = 0; k < 3; ++k) out[k] = bezier(s, points[0][k], points[1][k], points[2][k], points[3][k]);
}

void pnEffectPath::setEaseIn(int percent) {
    if (percent >= 5 && percent <= 95) {
        timing[2] = 1.0 - easeValue(percent / 100.0);
        easeInPercent = percent;
    }
}

void pnEffectPath::setEaseOut(int percent) {
    if (percent >= 5 && percent <= 95) {
        timing[1] = easeValue(percent / 100.0);
        easeOutPercent = percent;
    }
}

pnEffect::pnEffect() {
    numPathPoints = 0;
    addBezierPoint(0, 0, 0);
    clearFlags();
}

void pnEffect::clearFlags() {
    for (int& f : flags) f = 0;
}

void pnEffect::copyFields(const pnEffect& other) {
    if (&other == this) return;
    color = other.color;
    trans = other.trans;
    scale = other.scale;
    rotAxis = other.rotAxis;
    center = other.center;
    rotAngle = other.rotAngle;
    pivotAngle = other.pivotAngle;
    pivotAxis = other.pivotAxis;
    for (int i = 0; i < 3; ++i) growShrink[i] = other.growShrink[i];
    numPathPoints = other.numPathPoints;
    path = other.path;
    for (int i = 0; i < NUM_FLAGS; ++i) flags[i] = other.flags[i];
}

void pnEffect::setName(const char* n) { name = sgCutName(n); }

void pnEffect::setTrans(const sgVec3& v) {
    trans = v;
    flags[TRANS_FLAG] = 1;
}

void pnEffect::setRotAngle(float angle) {
    rotAngle = angle;
    flags[ROTANGLE_FLAG] = 1;
}

void pnEffect::setRotAxis(const sgVec3& v) {
    sgVec3 axis = v;
    float len = sgLength(axis);
    if (!(len > 0.0f) || !std::isfinite(len)) {
        debugPrint("[pnEffect::setRotAxis] zero rotation axis");
        return;
    }
    if (len != 1.0f) axis /= len;
    rotAxis = axis;
    flags[ROTAXIS_FLAG] = 1;
}

void pnEffect::setPivotAxis(const sgVec3& v) {
    pivotAxis = v;
    flags[PIVOTAXIS_FLAG] = 1;
}

void pnEffect::setPivotAxisXYZ(float x, float y, float z) {
    if (x == 0.0f && y == 0.0f && z == 0.0f) {
        debugPrint2("[pnObject::setPivotAxis] ", "one of axis component should not be 0");
        return;
    }
    setPivotAxis(sgVec3(x, y, z));
}

void pnEffect::setPivotAngle(float angle) {
    pivotAngle = angle;
    flags[PIVOTANGLE_FLAG] = 1;
}

void pnEffect::setScale(const sgVec3& v) {
    scale = v;
    flags[SCALE_FLAG] = 1;
}

void pnEffect::setCenter(const sgVec3& v) {
    center = v;
    flags[CENTER_FLAG] = 1;
}

void pnEffect::setColor(const char* materialName) {
    color = sgCutName(materialName);
    flags[COLOR_FLAG] = color.empty() ? 0 : 1;
}

void pnEffect::enableGrow(int on) { flags[GROW_FLAG] = on; }

void pnEffect::setGrow(int a, int b, int c) {
    growShrink[0] = a;
    growShrink[1] = b;
    growShrink[2] = c;
    flags[GROW_FLAG] = 1;
}

void pnEffect::setShrink(int a, int b, int c) {
    growShrink[0] = a;
    growShrink[1] = b;
    growShrink[2] = c;
    flags[SHRINK_FLAG] = 1;
}

int pnEffect::addBezierPoint(const sgVec3& p) {
    if (numPathPoints >= MAX_PATH_POINTS) return 0;
    for (int k = 0; k < 3; ++k) path.points[numPathPoints][k] = finiteOrZero(p[k]);
    ++numPathPoints;
    return 1;
}

sgVec3 pnEffect::getBezierPoint(float t) const {
    double p[3];
    path.evaluate(t, p);
    return sgVec3(static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]));
}

int pnEffect::getFlag(int i) const { return (i >= 0 && i < NUM_FLAGS) ? flags[i] : 0; }
