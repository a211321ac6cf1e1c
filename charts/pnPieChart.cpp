#include "charts/pnPieChart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnLexer.h"
#include "scene/pnVolume.h"
#include "scene/pnWriteUtil.h"
#include "sg/sgRuntime.h"

namespace {

const char* kIndexRange = "data pt index out of range";

}  // namespace

pnPieChart::pnPieChart() {
    labelOffset = sgVec3(0, 10, 10);
    textOffset = sgVec3(0, -10, 10);
    spacing = sgVec3(0, 0, 0);
}

pnPieChart::~pnPieChart() = default;

int pnPieChart::copy(const pnObject* other) {
    if (!other) return 0;
    if (other == this) return 1;
    pnChart::copy(other);
    if (const pnPieChart* p = dynamic_cast<const pnPieChart*>(other)) {
        innerRad = p->innerRad;
        outerRad = p->outerRad;
        bevel = p->bevel;
        depth = p->depth;
        startAngle = p->startAngle;
        showSide = p->showSide;
        rotDirection = p->rotDirection;
        close = p->close;
    }
    return 1;
}

int pnPieChart::write(FILE* f, int convertPaths) {
    if (!f) return 0;
    pnWriteBlockBegin(f, "pieChart");
    pnChart::write(f, convertPaths);
    pnWriteInt(f, "rotDirection", rotDirection);
    pnWriteInt(f, "close", close);
    pnWriteFloat(f, "innerRad", innerRad);
    pnWriteFloat(f, "outerRad", outerRad);
    pnWriteFloat(f, "depth", depth);
    pnWriteFloat(f, "bevel", bevel);
    if (!showSide) pnWriteInt(f, "showSide", 0);
    pnWriteInt(f, "startAngle", startAngle);
    pnWriteBlockEnd(f);
    return pnWriteOk(f);
}

bool pnPieChart::readChartKey(pnChartReadContext& in) {
    switch (sym) {
    case SYM_ROT_DIRECTION: setRotDirection(pnScene::readInt()); return true;
    case SYM_CLOSE: setClose(pnScene::readInt()); return true;
    case SYM_INNER_RAD: readInnerRad = pnScene::readFloat(); return true;
    case SYM_OUTER_RAD: readOuterRad = pnScene::readFloat(); return true;
    case SYM_DEPTH: readDepth = pnScene::readFloat(); return true;
    case SYM_BEVEL: readBevel = pnScene::readFloat(); return true;
    case SYM_SHOW_SIDE: setShowSide(pnScene::readInt()); return true;
    case SYM_START_ANGLE: setStartAngle(pnScene::readInt()); return true;
    default: return pnChart::readChartKey(in);
    }
}

void pnPieChart::finishRead() {
    // Depth and radii first, while the bevel is still 0; the outer radius
    // before the inner one, which must stay below it; the bevel last, checked
    // against them. A point of its own depth too shallow for the bevel does
    // not take it from the others: only that point's slice is refused, by
    // the slice builder, with its message.
    if (readDepth) setDepth(*readDepth);
    if (readOuterRad) setOuterRad(*readOuterRad);
    if (readInnerRad) setInnerRad(*readInnerRad);
    if (readBevel && *readBevel >= 0.0f && 2.0f * *readBevel <= depth && *readBevel <= outerRad) bevel = *readBevel;
    readDepth.reset();
    readOuterRad.reset();
    readInnerRad.reset();
    readBevel.reset();
}

// ---- points ----

void pnPieChart::setDefaultDataPt(int i, int n) {
    const double v = 100.0 / n;
    char text[32];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(v));
    setDataPtSpacing(i, sgVec3(0, 0, 0));
    setDataPtLabel(i, "m");
    setDataPtGrowValue(i, v);
    setDataPtDataText(i, text);
}

bool pnPieChart::canAppendDataPt() const {
    double sum = 0;
    for (const pnChartDataPt& p : dataPts) sum += p.growValue;
    return sum < 99.999;
}

// ---- slice angles and shape ----

int pnPieChart::sliceAngles(int i, int* start, int* end, bool report) const {
    if (!validPoint(i)) {
        if (report) debugPrintInt("index out of range: ", i);
        return 0;
    }
    const int last = getNumDataPts() - 1;
    long a = 0, s = 0, e = 0;
    for (int j = 0; j <= i; ++j) {
        if (a >= 360) {
            if (report) debugPrint("Sum of angles of pie slices are over 360 deg.\n");
            return 0;
        }
        s = a;
        const double v = dataPts[static_cast<size_t>(j)].growValue;
        if (!(v > 0.0) || !std::isfinite(v)) {
            // No share, no slice: later slices start where this one would.
            e = a;
        } else {
            const double x = static_cast<double>(a) + v * 3.6;
            e = x >= 360.0 ? 360 : std::lround(x);
            if (j == last && close) e = 360;
        }
        a = e;
    }
    if (start) *start = static_cast<int>(s);
    if (end) *end = static_cast<int>(e);
    return 1;
}

int pnPieChart::getSliceAngles(int i, int* start, int* end) const { return sliceAngles(i, start, end, true); }

int pnPieChart::hasSlice(int i) const {
    int s = 0, e = 0;
    return sliceAngles(i, &s, &e, false) && e - s >= 1;
}

pnPieSliceShape pnPieChart::getSliceShape() const {
    pnPieSliceShape shape;
    shape.outerRad = outerRad;
    shape.innerRad = innerRad;
    shape.bevel = bevel;
    shape.showSide = showSide;
    shape.rotDirection = rotDirection;
    return shape;
}

float pnPieChart::getSliceDepth(int i) const {
    const float d = pointOrDefault(i).depth;
    return d > 0.0f ? d : depth;
}

void pnPieChart::setGrowNumbers(pnEffect* effect, int i, bool shrink) const {
    if (!effect) return;
    const pnPieSliceShape shape = getSliceShape();
    const int perDegree = pnPieSliceMesh::trianglesPerDegree(shape);
    int s = 0, e = 0, total = 0, degrees = 0;
    if (sliceAngles(i, &s, &e, false) && e - s >= 1) {
        degrees = e - s;
        total = pnPieSliceMesh::triangleCount(shape, degrees);
    }
    if (shrink)
        effect->setShrink(total, degrees, perDegree);
    else
        effect->setGrow(total, degrees, perDegree);
}

// ---- placement ----

void pnPieChart::placeSlice(pnObject* slice, int i) const {
    if (!slice) return;
    int s = 0, e = 0;
    if (!sliceAngles(i, &s, &e, false)) s = 0;
    slice->setPivotAngle(static_cast<float>(rotDirection == 1 ? startAngle + s : startAngle - s));
    slice->setPivotAxis(sgVec3(0, 0, 1));
    slice->setPosition(position + pointOrDefault(i).spacing);
}

sgVec3 pnPieChart::textPosition(int i, const sgVec3& chartOffset, const sgVec3& pointOffset) const {
    int s = 0, e = 0;
    if (!sliceAngles(i, &s, &e, false)) s = e = 0;
    const double m = (s + e) / 2.0;
    const double b = rotDirection == 1 ? startAngle + m : startAngle - m;
    const double angle = degToRad(b + 90.0);
    const double r = innerRad + (outerRad - innerRad) / 2.0;
    const sgVec3 onTop(static_cast<float>(r * std::cos(angle)), static_cast<float>(r * std::sin(angle)),
                       getSliceDepth(i));
    return onTop + chartOffset + position + pointOrDefault(i).spacing + pointOffset;
}

sgVec3 pnPieChart::getDataTextPosition(int i) const {
    if (!validPoint(i)) return sgVec3(0, 0, 0);
    return textPosition(i, textOffset, dataPts[static_cast<size_t>(i)].textOffset);
}

sgVec3 pnPieChart::getLabelPosition(int i) const {
    if (!validPoint(i)) return sgVec3(0, 0, 0);
    return textPosition(i, labelOffset, dataPts[static_cast<size_t>(i)].labelOffset);
}

void pnPieChart::showText(int i, int which, int show) {
    const int shown = (show && hasSlice(i)) ? 1 : 0;
    if (pnObject* part = getDataPtPart(i, which)) part->setVisible(shown);
    if (pnEvent* ev = getDataPtEvent(i, which)) {
        ev->setPlayVisible(0, shown);
        ev->setHidden(shown ? 0 : 1);
    }
}

void pnPieChart::placeTexts() {
    if (!built) return;
    for (int i = 0; i < getNumDataPts(); ++i) {
        placeTextPart(i, PART_DATA_TEXT);
        placeTextPart(i, PART_LABEL);
        showText(i, PART_DATA_TEXT, showData);
        showText(i, PART_LABEL, showLabel);
    }
}

void pnPieChart::setShowData(int show) {
    showData = show;
    if (!built) return;
    for (int i = 0; i < getNumDataPts(); ++i) showText(i, PART_DATA_TEXT, show);
}

void pnPieChart::setShowLabel(int show) {
    showLabel = show;
    if (!built) return;
    for (int i = 0; i < getNumDataPts(); ++i) showText(i, PART_LABEL, show);
}

void pnPieChart::updateLayout() {
    if (!built) return;
    for (int i = 0; i < getNumDataPts(); ++i) {
        if (hasSlice(i)) placeSlice(getDataPtPart(i, PART_MAIN), i);
    }
    placeTexts();
}

// ---- part makers ----

pnObject* pnPieChart::makeObject(int i) {
    if (!validPoint(i)) return nullptr;
    const pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    int s = 0, e = 0;
    pnPieSliceMesh mesh;
    const bool whole = getSliceAngles(i, &s, &e) && e - s >= 1;
    if (whole && !mesh.build(getSliceShape(), 0, e - s, getSliceDepth(i))) return nullptr;
    auto* slice = new pnVolume;
    slice->setNameString(generatedName("-%03d", i).c_str());
    if (whole) mesh.giveTo(slice);
    placeSlice(slice, i);
    if (!p.materialName.empty())
        slice->setMaterialName(p.materialName.c_str());
    else if (setFlags[MATERIAL_FLAG] && !material.empty())
        slice->setMaterialName(material.c_str());
    applyChartTransform(slice);
    slice->setScene(scene);
    return slice;
}

pnEffect* pnPieChart::makeEffect(int i) {
    if (!validPoint(i)) return nullptr;
    pnEffect* e = newEffect(generatedName("-%03d", i));
    setGrowNumbers(e, i, false);
    return e;
}

pnEffect* pnPieChart::makeShrinkEffect(int i) {
    if (!validPoint(i) || !hasShrink(i)) return nullptr;
    pnEffect* e = newEffect(generatedName("-shrink-%03d", i));
    setGrowNumbers(e, i, true);
    return e;
}

pnEvent* pnPieChart::textEvent(int i, int which, int show, const char* parent) const {
    if (!validPoint(i)) return nullptr;
    const pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    const std::string effect = generatedName("-text");
    pnEvent* ev = newTextEvent(slotName(name, i, which), effect, p.endTime, p.endTime + 1, show && hasSlice(i), parent);
    if (p.shrinkStart >= p.endTime && p.shrinkStart < p.shrinkEnd)
        ev->addPlay(effect.c_str(), (p.shrinkStart + p.shrinkEnd) / 2, p.shrinkEnd, 0);
    return ev;
}

pnEvent* pnPieChart::makeDataTextEvent(int i, const char* parent) {
    return textEvent(i, PART_DATA_TEXT, showData, parent);
}

pnEvent* pnPieChart::makeLabelEvent(int i, const char* parent) { return textEvent(i, PART_LABEL, showLabel, parent); }

pnEvent* pnPieChart::addSlotEvent(int i, int which, pnEvent* event, const char* parent) {
    pnEvent* added = pnChart::addSlotEvent(i, which, event, parent);
    if (which != PART_LABEL || !close || i < 1 || i != getNumDataPts() - 1) return added;
    // Parts made for every point at once are already right; only a point
    // appended to a closed pie leaves the slice before it out of date.
    const pnEffect* grow = findEffect(generatedName("-%03d", i - 1).c_str());
    int s = 0, e = 0;
    const int degrees = sliceAngles(i - 1, &s, &e, false) && e - s >= 1 ? e - s : 0;
    if (grow && grow->getGrowShrink(1) != degrees) {
        rebuildSlice(i - 1);
        placeTextPart(i - 1, PART_DATA_TEXT);
        placeTextPart(i - 1, PART_LABEL);
        showText(i - 1, PART_DATA_TEXT, showData);
        showText(i - 1, PART_LABEL, showLabel);
    }
    return added;
}

// ---- rebuilding slices ----

void pnPieChart::rebuildSlice(int j) {
    if (!validPoint(j)) return;
    const int k = getDataPtObjectIndex(j);
    if (!getChartPart(k)) return;  // no parts to rebuild
    pnObject* fresh = makeObject(j);
    if (!fresh) return;  // refused: the old slice stays
    replacePart(k, fresh);
    setGrowNumbers(findEffect(generatedName("-%03d", j).c_str()), j, false);
    setGrowNumbers(findEffect(generatedName("-shrink-%03d", j).c_str()), j, true);
}

void pnPieChart::rebuildSlices(int from, bool one) {
    if (!built || !validPoint(from)) return;
    const int last = one ? from : getNumDataPts() - 1;
    for (int j = from; j <= last; ++j) rebuildSlice(j);
}

// ---- settings ----

void pnPieChart::setRotDirection(int d) {
    rotDirection = d;
    if (!built) return;
    rebuildSlices(0);
    updateLayout();
}

void pnPieChart::setClose(int c) {
    close = c;
    if (!built || getNumDataPts() == 0) return;
    rebuildSlices(getNumDataPts() - 1);
    // The last slice's middle moves with its end.
    placeTexts();
}

void pnPieChart::setInnerRad(float r) {
    if (!(r >= 0.0f && r < outerRad)) return;
    innerRad = r;
    if (!built) return;
    rebuildSlices(0);
    placeTexts();
}

void pnPieChart::setOuterRad(float r) {
    if (!(r >= 0.0f && innerRad < r && r >= bevel) || !std::isfinite(r)) return;
    outerRad = r;
    if (!built) return;
    rebuildSlices(0);
    placeTexts();
}

void pnPieChart::setBevel(float b) {
    if (!(b >= 0.0f && 2.0f * b <= depth && b <= outerRad)) return;
    // Every slice must take the bevel, the ones of their own depth too.
    for (const pnChartDataPt& p : dataPts)
        if (p.depth > 0.0f && 2.0f * b > p.depth) return;
    bevel = b;
    if (built) rebuildSlices(0);
}

void pnPieChart::setDepth(float d) {
    if (!(d >= 0.0f && d >= 2.0f * bevel) || !std::isfinite(d)) return;
    depth = d;
    if (!built) return;
    rebuildSlices(0);
    placeTexts();
}

void pnPieChart::setStartAngle(int a) {
    startAngle = a;
    if (built) updateLayout();
}

void pnPieChart::setShowSide(int s) {
    showSide = s;
    if (built) rebuildSlices(0);
}

int pnPieChart::setDataPtDepth(int i, float d) {
    if (!validPoint(i)) {
        debugPrint(kIndexRange);
        return 0;
    }
    if (!(d >= 0.0f) || !std::isfinite(d) || (d > 0.0f && d < 2.0f * bevel)) return 0;
    dataPts[static_cast<size_t>(i)].depth = d;
    if (!built) return 1;
    rebuildSlices(i, true);
    placeTextPart(i, PART_DATA_TEXT);
    placeTextPart(i, PART_LABEL);
    return 1;
}

void pnPieChart::setDataPtSpacing(int i, const sgVec3& v) {
    if (!validPoint(i)) {
        debugPrint(kIndexRange);
        return;
    }
    if (dataPts[static_cast<size_t>(i)].spacing == v) return;
    dataPts[static_cast<size_t>(i)].spacing = v;
    if (built) updateLayout();
}

void pnPieChart::setDataPtSpacingDistance(int i, float d) { setDataPtSpacing(i, sgVec3(d, 0, 0)); }

void pnPieChart::storeDataPtSpacing(int i, const sgVec3& v) {
    if (!validPoint(i)) {
        debugPrint(kIndexRange);
        return;
    }
    dataPts[static_cast<size_t>(i)].spacing = v;
    if (built) updateLayout();
}

void pnPieChart::setDataPtGrowValue(int i, double v) {
    if (!validPoint(i)) {
        debugPrint(kIndexRange);
        return;
    }
    if (!(v > 0.0)) {
        debugPrintFloat("too small value: ", v);
        return;
    }
    if (v > 100.0) {
        debugPrintFloat("too large value: ", v);
        return;
    }
    dataPts[static_cast<size_t>(i)].growValue = v;
    if (!built) return;
    rebuildSlices(i);
    updateLayout();
}

int pnPieChart::deleteDataPt(int i) {
    if (!validPoint(i)) {
        debugPrint("index out or range deleting a chart data");
        return 0;
    }
    deleteDataPtParts(i);
    const int n = getNumDataPts();
    if (built && n > 0) {
        // The later slices move round; a deleted last point makes the one
        // before it the last, which a closed pie stretches.
        rebuildSlices(std::min(i, n - 1));
        updateLayout();
    }
    return 1;
}

// ---- timing ----

int pnPieChart::setDataPtDefaultGrow(int i) {
    if (!validPoint(i)) return 0;
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    p.startTime = 0;
    p.endTime = 30;
    playTime(getDataPtEvent(i, PART_MAIN), 0, 0, 30);
    playTime(getDataPtEvent(i, PART_DATA_TEXT), 0, 30, 30);
    playTime(getDataPtEvent(i, PART_LABEL), 0, 0, 0);
    return 1;
}

int pnPieChart::clearDataPtGrow(int i) {
    if (!validPoint(i)) return 0;
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    if (p.shrinkStart >= 0) return 0;
    p.startTime = p.endTime = 0;
    for (int which = PART_MAIN; which <= PART_LABEL; ++which) playTime(getDataPtEvent(i, which), 0, 0, 0);
    return 1;
}

int pnPieChart::setDataPtDefaultShrink(int i) {
    if (!validPoint(i)) return 0;
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    const int end = p.endTime;
    p.shrinkStart = end + 10;
    p.shrinkEnd = end + 20;
    pnEvent* ev = getDataPtEvent(i, PART_MAIN);
    if (ev && !hasPlay(ev, 1)) {
        const std::string s = generatedName("-shrink-%03d", i);
        ev->addPlay(s.c_str(), end + 10, end + 20, 1);
        ev->addPlay(s.c_str(), end + 20, end + 21, 0);
        if (!hasEffect(s.c_str())) putEffect(makeShrinkEffect(i));
    }
    const std::string text = generatedName("-text");
    for (int which : {PART_DATA_TEXT, PART_LABEL}) {
        pnEvent* t = getDataPtEvent(i, which);
        if (t && !hasPlay(t, 1)) t->addPlay(text.c_str(), end + 10, end + 11, 0);
    }
    return 1;
}

int pnPieChart::clearDataPtShrink(int i) {
    if (!validPoint(i)) return 0;
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    p.shrinkStart = p.shrinkEnd = -1;
    removeShrinkPlays(i, {PART_MAIN}, {PART_DATA_TEXT, PART_LABEL});
    return 1;
}

int pnPieChart::setDataPtStartTime(int i, int f) {
    if (!pnChart::setDataPtStartTime(i, f)) return 0;
    playStart(getDataPtEvent(i, PART_MAIN), 0, f);
    return 1;
}

int pnPieChart::setDataPtEndTime(int i, int f) {
    if (!pnChart::setDataPtEndTime(i, f)) return 0;
    playEnd(getDataPtEvent(i, PART_MAIN), 0, f);
    for (int which : {PART_DATA_TEXT, PART_LABEL}) playTime(getDataPtEvent(i, which), 0, f, f + 1);
    return 1;
}

int pnPieChart::setDataPtShrinkStart(int i, int f) {
    if (!pnChart::setDataPtShrinkStart(i, f)) return 0;
    playStart(getDataPtEvent(i, PART_MAIN), 1, f);
    for (int which : {PART_DATA_TEXT, PART_LABEL}) playTime(getDataPtEvent(i, which), 1, f, f + 1);
    return 1;
}

int pnPieChart::setDataPtShrinkEnd(int i, int f) {
    if (!pnChart::setDataPtShrinkEnd(i, f)) return 0;
    pnEvent* ev = getDataPtEvent(i, PART_MAIN);
    playEnd(ev, 1, f);
    playTime(ev, 2, f + 1, f + 2);
    return 1;
}

// ---- playback ----

void pnPieChart::applyChartEffect(pnScene&, int frame, pnEvent* event, pnEffect* effect, pnObject* part) {
    auto* slice = dynamic_cast<pnVolume*>(part);
    if (!event || !effect || !slice) return;
    const float t = pnScene::playFraction(frame, event->getCurStart(), event->getCurEnd());
    const long long degrees = effect->getGrowShrink(1);
    const long long perDegree = effect->getGrowShrink(2);
    // The effect's numbers come from the file; the mesh decides how many
    // triangles there are to draw.
    const long long most = slice->getNumIndex() / 3;
    // n degrees of the slice with the faces that close them: a partial slice
    // draws its closing face whole (2, 4 or 6 triangles by its kind), and
    // without side faces the whole slice adds its end face. A shrinking slice
    // shows the same n degrees as a growing one.
    const bool side = showSide != 0, bev = bevel > 0.0f, ring = innerRad > 0.0f;
    const long long c = !bev ? 2 : (!ring ? 4 : 6);
    auto draw = [&](long long n) {
        const long long closing = (!side && n == degrees) ? 2 * c : c;
        slice->setNumPrims(static_cast<int>(std::clamp(n == 0 ? 0 : n * perDegree + closing, 0LL, most)));
    };
    if (effect->getFlag(pnEffect::GROW_FLAG)) draw(static_cast<long long>(static_cast<float>(degrees) * t));
    if (effect->getFlag(pnEffect::SHRINK_FLAG)) draw(static_cast<long long>(static_cast<float>(degrees) * (1.0f - t)));
}
