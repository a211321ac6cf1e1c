// The chart's layout: where its points sit (justification, spacing and
// direction) and the place, orientation and scale of the points' label and
// value texts.
#include "charts/pnChart.h"

#include "charts/pnChartUtil.h"
#include "scene/pnString.h"

using pnChartUtil::zeroAxis;

namespace {

// Angle and axis of the chart's rotation followed by the point's.
void combineRotation(float chartAngle, const sgVec3& chartAxis, float pointAngle, const sgVec3& pointAxis,
                     float* angle, sgVec3* axis) {
    if (pointAngle == 0.0f) {
        *angle = chartAngle;
        *axis = chartAxis;
        return;
    }
    sgVec4 q = sgQuatMult(sgQuatFromAngleAxis(chartAngle, chartAxis), sgQuatFromAngleAxis(pointAngle, pointAxis));
    *axis = sgQuatToAngleAxis(q, angle);
}

}  // namespace

// ---- text parts: place, orientation, scale ----

sgVec3 pnChart::dataTextPositionAlong(int i, const sgVec3& up) const {
    if (!validPoint(i)) return sgVec3(0, 0, 0);
    const pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    const float v = static_cast<float>(getDataPtHeight(i));
    sgVec3 r = getDataPtPosition(i) + up * v;
    if (v >= 0)
        r += p.textOffset + textOffset;
    else
        r += orientOffset(p.textOffset, up) + orientOffset(textOffset, up);
    return r;
}

sgVec3 pnChart::getDataTextPosition(int i) const { return dataTextPositionAlong(i, direction); }

sgVec3 pnChart::getLabelPosition(int i) const {
    if (!validPoint(i)) return sgVec3(0, 0, 0);
    const pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    return getDataPtPosition(i) + p.labelOffset + labelOffset;
}

void pnChart::getTextOrientation(int which, int i, float* angle, sgVec3* axis) const {
    const pnChartDataPt& p = pointOrDefault(i);
    float a = 0;
    sgVec3 x;
    if (which == PART_LABEL)
        combineRotation(labelRotAngle, labelRotAxis, p.labelRotAngle, p.labelRotAxis, &a, &x);
    else
        combineRotation(valueRotAngle, valueRotAxis, p.valueRotAngle, p.valueRotAxis, &a, &x);
    if (angle) *angle = a;
    if (axis) *axis = x;
}

void pnChart::getLabelOrientation(int i, float* angle, sgVec3* axis) const {
    getTextOrientation(PART_LABEL, i, angle, axis);
}

void pnChart::getValueOrientation(int i, float* angle, sgVec3* axis) const {
    getTextOrientation(PART_DATA_TEXT, i, angle, axis);
}

void pnChart::setupTextPart(pnString* part, int i, int which) const {
    if (!part || !validPoint(i)) return;
    const bool label = which == PART_LABEL;
    const pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    part->setNameString(slotName(name, i, label ? PART_LABEL : PART_DATA_TEXT).c_str());
    part->setString(label ? p.label.c_str() : p.dataText.c_str());
    part->setDepth(3.0f);
    part->setScaleOrigin(sgCompMult(label ? labelScale : valueScale, label ? p.labelScale : p.valueScale));
    float angle = 0;
    sgVec3 axis;
    getTextOrientation(which, i, &angle, &axis);
    part->setPivotAngle(angle);
    if (!zeroAxis(axis)) part->setPivotAxis(axis);
    part->setPosition(label ? getLabelPosition(i) : getDataTextPosition(i));
    applyChartTransform(part);
    const std::string& front = label ? labelMaterial : dataMaterial;
    const std::string& back = label ? labelBackMaterial : dataBackMaterial;
    const std::string& style = label ? labelString : dataString;
    if (!front.empty()) part->setMaterial(front.c_str());
    if (!back.empty()) part->setBackMaterial(back.c_str());
    if (!style.empty()) part->setStringProperty(style.c_str());
    part->setScene(scene);
}

void pnChart::placeTextPart(int i, int which) {
    pnObject* part = getDataPtPart(i, which);
    if (!part) return;
    part->setPosition(which == PART_LABEL ? getLabelPosition(i) : getDataTextPosition(i));
}

void pnChart::orientTextPart(int i, int which) {
    pnObject* part = getDataPtPart(i, which);
    if (!part) return;
    float angle = 0;
    sgVec3 axis;
    getTextOrientation(which, i, &angle, &axis);
    part->setPivotAngle(angle);
    if (!zeroAxis(axis)) part->setPivotAxis(axis);
}

void pnChart::scaleTextPart(int i, int which) {
    pnObject* part = getDataPtPart(i, which);
    if (!part || !validPoint(i)) return;
    const pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    part->setScaleOrigin(which == PART_LABEL ? sgCompMult(p.labelScale, labelScale)
                                             : sgCompMult(p.valueScale, valueScale));
}

void pnChart::setLabelOffset(const sgVec3& v) {
    labelOffset = v;
    if (built)
        for (int i = 0; i < getNumDataPts(); ++i) placeTextPart(i, PART_LABEL);
}

void pnChart::setTextOffset(const sgVec3& v) {
    textOffset = v;
    if (built)
        for (int i = 0; i < getNumDataPts(); ++i) placeTextPart(i, PART_DATA_TEXT);
}

void pnChart::setDataPtLabelOffset(int i, const sgVec3& v) {
    if (!validPoint(i)) return;
    dataPts[static_cast<size_t>(i)].setLabelOffset(v);
    if (built) placeTextPart(i, PART_LABEL);
}

void pnChart::setDataPtTextOffset(int i, const sgVec3& v) {
    if (!validPoint(i)) return;
    dataPts[static_cast<size_t>(i)].setTextOffset(v);
    if (built) placeTextPart(i, PART_DATA_TEXT);
}

void pnChart::setLabelScale(const sgVec3& f) {
    labelScale = sgCompMult(labelScale, f);
    if (built)
        for (int i = 0; i < getNumDataPts(); ++i) scaleTextPart(i, PART_LABEL);
}

void pnChart::setValueScale(const sgVec3& f) {
    valueScale = sgCompMult(valueScale, f);
    if (built)
        for (int i = 0; i < getNumDataPts(); ++i) scaleTextPart(i, PART_DATA_TEXT);
}

void pnChart::setDataPtLabelScale(int i, const sgVec3& v) {
    if (!validPoint(i)) return;
    dataPts[static_cast<size_t>(i)].setLabelScale(v);
    if (built) scaleTextPart(i, PART_LABEL);
}

void pnChart::setDataPtValueScale(int i, const sgVec3& v) {
    if (!validPoint(i)) return;
    dataPts[static_cast<size_t>(i)].setValueScale(v);
    if (built) scaleTextPart(i, PART_DATA_TEXT);
}

void pnChart::setTextRot(int which, float angle, const sgVec3& axis) {
    const bool label = which == PART_LABEL;
    (label ? labelRotAngle : valueRotAngle) = angle;
    if (!zeroAxis(axis)) (label ? labelRotAxis : valueRotAxis) = axis;
    if (built)
        for (int i = 0; i < getNumDataPts(); ++i) orientTextPart(i, which);
}

void pnChart::setDataPtTextRot(int which, int i, float angle, const sgVec3& axis) {
    if (!validPoint(i)) return;
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    const bool label = which == PART_LABEL;
    (label ? p.labelRotAngle : p.valueRotAngle) = angle;
    if (!zeroAxis(axis)) (label ? p.labelRotAxis : p.valueRotAxis) = axis;
    if (built) orientTextPart(i, which);
}

void pnChart::setLabelRot(float angle, const sgVec3& axis) { setTextRot(PART_LABEL, angle, axis); }
void pnChart::setLabelRotAngle(float angle) { setLabelRot(angle, labelRotAxis); }
void pnChart::setLabelRotAxis(const sgVec3& axis) { setLabelRot(labelRotAngle, axis); }
void pnChart::setDataPtLabelRot(int i, float angle, const sgVec3& axis) { setDataPtTextRot(PART_LABEL, i, angle, axis); }

void pnChart::setValueRot(float angle, const sgVec3& axis) { setTextRot(PART_DATA_TEXT, angle, axis); }
void pnChart::setValueRotAngle(float angle) { setValueRot(angle, valueRotAxis); }
void pnChart::setValueRotAxis(const sgVec3& axis) { setValueRot(valueRotAngle, axis); }
void pnChart::setDataPtValueRot(int i, float angle, const sgVec3& axis) {
    setDataPtTextRot(PART_DATA_TEXT, i, angle, axis);
}

// ---- layout ----

sgVec3 pnChart::getDataPtPosition(int n) const {
    const int count = getNumDataPts();
    if (n < 0 || n >= count) return sgVec3(0, 0, 0);
    sgVec3 upTo(0, 0, 0), after(0, 0, 0);
    for (int k = 0; k < count; ++k) {
        if (k <= n)
            upTo += dataPts[static_cast<size_t>(k)].spacing;
        else
            after += dataPts[static_cast<size_t>(k)].spacing;
    }
    if (hJust == JUST_LEFT) return position + upTo;
    if (hJust == JUST_RIGHT) return position - after;
    return position - (upTo + after) * 0.5f + upTo;
}

sgVec3 pnChart::orientOffset(const sgVec3& v, const sgVec3& d) {
    sgVec3 r;
    for (int k = 0; k < 3; ++k) r[k] = d[k] == 0.0f ? v[k] : -(v[k] * d[k]);
    return r;
}

void pnChart::setHJust(int j) {
    hJust = (j == JUST_LEFT || j == JUST_RIGHT) ? j : JUST_CENTER;
    if (built) updateLayout();
}

void pnChart::setSpacing(const sgVec3& v) {
    spacing = v;
    for (int i = 1; i < getNumDataPts(); ++i) storeDataPtSpacing(i, v);
    if (built) updateLayout();
}

void pnChart::setSpacingDistance(float d) { setSpacing(sgVec3(d * direction[1], d * direction[0], 0)); }

float pnChart::getSpacingDistance() const { return spacing[1] != 0.0f ? spacing[1] : spacing[0]; }

void pnChart::turnToDirection(pnObject* part) const {
    if (!part) return;
    float angle;
    if (direction[0] == 1.0f)
        angle = -90.0f;
    else if (direction[0] == -1.0f)
        angle = 90.0f;
    else if (direction[1] == 1.0f)
        angle = 0.0f;
    else if (direction[1] == -1.0f)
        angle = 180.0f;
    else
        return;
    part->setPivotAngle(angle);
    part->setPivotAxis(sgVec3(0, 0, 1));
}

void pnChart::setDirection(const sgVec3& v) { direction = v; }

void pnChart::setExpansion(int) {}
