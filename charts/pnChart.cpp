#include "charts/pnChart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnLexer.h"
#include "scene/pnMaterial.h"
#include "scene/pnString.h"
#include "scene/pnVolume.h"
#include "scene/pnWriteUtil.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgDCS.h"
#include "sg/sgNode.h"
#include "sg/sgRuntime.h"

namespace {

// Switch node names hold at most 63 bytes.
std::string nodeName(const std::string& n) { return sgCutBytes(n, 63); }

bool zeroAxis(const sgVec3& v) { return v[0] == 0.0f && v[1] == 0.0f && v[2] == 0.0f; }

// "[pnBarChart::deleteDataPt] ": a kind's message prefix.
std::string typePrefix(const char* typeName, const char* operation) {
    return std::string("[") + typeName + "::" + operation + "] ";
}

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

const char* justWord(int j) { return j == 0 ? "Left" : j == 2 ? "Right" : "Center"; }

int justFromWord(const std::string& w) {
    if (w == "Left" || w == "left") return pnChart::JUST_LEFT;
    if (w == "Right" || w == "right") return pnChart::JUST_RIGHT;
    if (w == "Center" || w == "center") return pnChart::JUST_CENTER;
    return -1;
}

int writeDataVec3(FILE* f, const char* key, const sgVec3& v) {
    return pnWritef(f, "        %s\t( %f %f %f )\n", key, v[0], v[1], v[2]);
}

}  // namespace

// ---- construction ----

pnChart::pnChart() { dataPts.reserve(INITIAL_CAPACITY); }

pnChart::~pnChart() {
    clearChartParts();
    deleteAllEffects();
    // The chart's own switch hangs under its event's transform node, like
    // any shown object.
    detachNodesForDelete(true);
}

const pnChartDataPt& pnChart::pointOrDefault(int i) const {
    static const pnChartDataPt defaults;
    return validPoint(i) ? dataPts[static_cast<size_t>(i)] : defaults;
}

const pnChartDataPt* pnChart::getDataPt(int i) const { return validPoint(i) ? &dataPts[static_cast<size_t>(i)] : nullptr; }

int pnChart::copy(const pnObject* other) {
    if (!other) return 0;
    if (other == this) return 1;
    // Our parts and events leave the graph before the object part forgets
    // the nodes they hang under.
    clearChartParts();
    deleteAllEffects();
    pnObject::copy(other);
    built = 1;
    const pnChart* c = dynamic_cast<const pnChart*>(other);
    if (!c) return 1;
    capacity = c->capacity;
    dataPts = c->dataPts;
    dataPts.reserve(static_cast<size_t>(std::max(capacity, 0)));
    dataMin = c->dataMin;
    dataMax = c->dataMax;
    graphMin = c->graphMin;
    heightScale = c->heightScale;
    baseScale = c->baseScale;
    direction = c->direction;
    labelOffset = c->labelOffset;
    textOffset = c->textOffset;
    labelScale = c->labelScale;
    labelRotAxis = c->labelRotAxis;
    labelRotAngle = c->labelRotAngle;
    valueScale = c->valueScale;
    valueRotAxis = c->valueRotAxis;
    valueRotAngle = c->valueRotAngle;
    labelMaterial = c->labelMaterial;
    dataMaterial = c->dataMaterial;
    labelBackMaterial = c->labelBackMaterial;
    dataBackMaterial = c->dataBackMaterial;
    labelString = c->labelString;
    dataString = c->dataString;
    spacing = c->spacing;
    expansion = c->expansion;
    showData = c->showData;
    showLabel = c->showLabel;
    hJust = c->hJust;
    for (int i = 0; i < NUM_CHART_FLAGS; ++i) chartFlags[i] = c->chartFlags[i];
    scene = c->scene;
    chartEventGroup = nullptr;
    partParent.clear();
    return 1;
}

// ---- names ----

std::string pnChart::generatedName(const std::string& chartName, const char* suffix, int i) {
    char tail[64];
    // The suffix is one of the kinds' own name formats ("-%03d" and the like).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    std::snprintf(tail, sizeof tail, suffix, i);
#pragma GCC diagnostic pop
    std::string t(tail);
    size_t room = SG_NAME_MAX > t.size() ? SG_NAME_MAX - t.size() : 0;
    return sgCutBytes(chartName, room) + t;
}

std::string pnChart::generatedName(const char* suffix, int i) const { return generatedName(name, suffix, i); }

std::string pnChart::slotName(const std::string& chartName, int i, int which) const {
    switch (which) {
    case PART_MAIN: return generatedName(chartName, "-%03d", i);
    case PART_DATA_TEXT: return generatedName(chartName, "-dataText-%03d", i);
    case PART_LABEL: return generatedName(chartName, "-label-%03d", i);
    default:
        return generatedName(chartName, layout() == LAYOUT_VOLUME ? "-box-%03d" : "-joint-%03d", i);
    }
}

void pnChart::setName(const char* n) {
    if (!n) return;
    setNameString(n);
    if (!built) return;
    if (switchNode) switchNode->setName(nodeName(name));
    for (int i = 0; i < getNumDataPts(); ++i) setDataPtName(i, name.c_str());
}

void pnChart::renameDataPt(int i, const char* chartName) {
    if (!validPoint(i) || !chartName) return;
    const std::string chart = chartName;
    const Layout lay = layout();
    for (int which = PART_MAIN; which <= PART_EXTRA; ++which) {
        if (!hasPartSlot(i, which)) continue;
        const std::string newName = slotName(chart, i, which);
        if (pnObject* part = getDataPtPart(i, which)) part->setName(newName.c_str());
        pnEvent* ev = getDataPtEvent(i, which);
        if (!ev) continue;
        if (sgNode* dcs = findEventTransform(ev)) dcs->setName(newName);
        ev->setName(newName.c_str());
        ev->setObjectName(newName.c_str());
        for (int k = 0; k < ev->getNumPlays(); ++k) {
            std::string effectName;
            if (which == PART_MAIN)
                effectName = generatedName(chart, k == 0 ? "-%03d" : "-shrink-%03d", i);
            else if (which == PART_EXTRA && lay == LAYOUT_VOLUME)
                effectName = generatedName(chart, k == 0 ? "-box-%03d" : "-shrink-box-%03d", i);
            else if (which == PART_EXTRA)
                effectName = generatedName(chart, "-joint");
            else
                effectName = generatedName(chart, "-text");
            const std::string old = ev->getPlay(k)->effect;
            if (old == effectName) continue;
            pnEffect* eff = findEffect(old.c_str());
            if (eff && !findEffect(effectName.c_str())) eff->setName(effectName.c_str());
            ev->setPlayEffect(k, effectName.c_str());
        }
    }
}

void pnChart::setFileName(const char* f) {
    setFlags[FILE_FLAG] = 1;
    file = f ? f : "";
    if (!built) return;
    for (int i = 0; i < getNumDataPts(); ++i)
        if (pnObject* part = getDataPtPart(i, PART_MAIN)) part->setFileName(f);
}

// ---- transform propagation ----

void pnChart::setPosition(const sgVec3& v) {
    const sgVec3 old = position;
    position = v;
    setFlags[POSITION_FLAG] = 1;
    if (!chartFlags[CENTER_SET]) center = v;
    if (!built) return;
    const sgVec3 move = v - old;
    for (int k = 0; k < getNumObjects(); ++k) {
        pnObject* part = objects.get(k);
        part->setPosition(part->getPosition() + move);
        if (!chartFlags[CENTER_SET]) part->setCenter(position);
    }
}

void pnChart::setCenter(const sgVec3& v) {
    center = v;
    chartFlags[CENTER_SET] = 1;
    setFlags[CENTER_FLAG] = 1;
    if (!built) return;
    for (int k = 0; k < getNumObjects(); ++k) objects.get(k)->setCenter(v);
}

void pnChart::setRotAxis(const sgVec3& v) {
    if (zeroAxis(v)) {
        debugPrint2("[pnChart::setRotAxis] ", "one of axis component should not be 0");
        return;
    }
    rotAxis = v;
    setFlags[ROTAXIS_FLAG] = 1;
    if (!built) return;
    for (int k = 0; k < getNumObjects(); ++k) objects.get(k)->setRotAxis(v);
}

void pnChart::setRotAngle(float a) {
    rotAngle = a;
    setFlags[ROTANGLE_FLAG] = 1;
    if (!built) return;
    for (int k = 0; k < getNumObjects(); ++k) objects.get(k)->setRotAngle(a);
}

void pnChart::setScale(const sgVec3& v) {
    scale = v;
    setFlags[SCALE_FLAG] = 1;
    if (!built) return;
    for (int k = 0; k < getNumObjects(); ++k) objects.get(k)->setScale(v);
}

void pnChart::setHighlight(int h) {
    highlight = h;
    if (!built) return;
    for (int k = 0; k < getNumObjects(); ++k) objects.get(k)->setHighlight(h);
}

// ---- materials and text settings ----

void pnChart::setMaterial(const char* n) {
    const std::string wanted = sgCutName(n);
    if (wanted != material) setMaterialName(wanted.c_str());
    setFlags[MATERIAL_FLAG] = 1;
    for (int i = 0; i < getNumDataPts(); ++i) setDataPtMaterialName(i, material.c_str());
}

void pnChart::setDataPtMaterialName(int i, const char* n) {
    if (!validPoint(i)) {
        debugPrint2("[pnChart::setDataPtMaterialName] ", "data pt index out of range");
        return;
    }
    dataPts[static_cast<size_t>(i)].setMaterialName(n);
    if (!built) return;
    const std::string& m = dataPts[static_cast<size_t>(i)].materialName;
    const bool known = scene && !m.empty() && scene->findMaterial(m.c_str());
    auto give = [&](pnObject* part) {
        if (!part) return;
        if (pnIsKind(part, pnObjectKind::Model) || (known && pnIsKind(part, pnObjectKind::Volume)))
            part->setMaterial(m.c_str());  // a model without that material takes the default one
        else if (pnIsKind(part, pnObjectKind::Volume))
            part->setMaterialName(m.c_str());
    };
    give(getDataPtPart(i, PART_MAIN));
    if (layout() == LAYOUT_VOLUME) give(getDataPtPart(i, PART_EXTRA));
}

namespace {
// Gives every text part of the given kind in the chart the name through set.
template <class Set>
void forEachText(pnChart& chart, int which, Set set) {
    for (int i = 0; i < chart.getNumDataPts(); ++i) {
        pnObject* part = chart.getDataPtPart(i, which);
        if (pnIsKind(part, pnObjectKind::String)) set(part);
    }
}
}  // namespace

void pnChart::setLabelMaterialName(const char* n) {
    labelMaterial = sgCutName(n);
    if (built) forEachText(*this, PART_LABEL, [&](pnObject* p) { p->setMaterial(labelMaterial.c_str()); });
}

void pnChart::setDataMaterialName(const char* n) {
    dataMaterial = sgCutName(n);
    if (built) forEachText(*this, PART_DATA_TEXT, [&](pnObject* p) { p->setMaterial(dataMaterial.c_str()); });
}

void pnChart::setLabelBackMaterialName(const char* n) {
    labelBackMaterial = sgCutName(n);
    if (built)
        forEachText(*this, PART_LABEL, [&](pnObject* p) { p->setBackMaterial(labelBackMaterial.c_str()); });
}

void pnChart::setDataBackMaterialName(const char* n) {
    dataBackMaterial = sgCutName(n);
    if (built)
        forEachText(*this, PART_DATA_TEXT, [&](pnObject* p) { p->setBackMaterial(dataBackMaterial.c_str()); });
}

void pnChart::setLabelStringName(const char* n) {
    labelString = sgCutName(n);
    if (built) forEachText(*this, PART_LABEL, [&](pnObject* p) { p->setStringProperty(labelString.c_str()); });
}

void pnChart::setDataStringName(const char* n) {
    dataString = sgCutName(n);
    if (built) forEachText(*this, PART_DATA_TEXT, [&](pnObject* p) { p->setStringProperty(dataString.c_str()); });
}

void pnChart::setShowData(int show) {
    showData = show;
    if (!built) return;
    for (int i = 0; i < getNumDataPts(); ++i) {
        if (pnEvent* ev = getDataPtEvent(i, PART_DATA_TEXT)) {
            ev->setPlayVisible(0, show);
            ev->setHidden(show == 0 ? 1 : 0);
        }
    }
}

void pnChart::setShowLabel(int show) {
    showLabel = show;
    if (!built) return;
    for (int i = 0; i < getNumDataPts(); ++i) {
        if (pnEvent* ev = getDataPtEvent(i, PART_LABEL)) {
            ev->setPlayVisible(0, show);
            ev->setHidden(show == 0 ? 1 : 0);
        }
    }
}

// ---- data points ----

int pnChart::setNumDataPts(int n) {
    n = std::max(n, 0);
    const int old = getNumDataPts();
    if (capacity < n) capacity = n;
    if (n < old) {
        // The dropped points take their parts with them.
        std::vector<std::string> played;
        for (int i = old - 1; i >= n && getNumObjects() > 0; --i) destroyPointSlots(i, played);
        deleteUnplayedEffects(played);
        dataPts.resize(static_cast<size_t>(n));
    } else if (n > old) {
        const bool make = partsLive() && scene && scene->getRoots();
        dataPts.resize(static_cast<size_t>(n));
        if (make)
            for (int i = old; i < n; ++i) makePointParts(i, partParent.c_str());
    }
    for (int i = 0; i < n; ++i) setDefaultDataPt(i, n);
    if (n != old && built) updateLayout();
    return getNumDataPts();
}

void pnChart::setDefaultDataPt(int i, int) {
    if (i > 0) setDataPtSpacing(i, sgVec3(80, 0, 0));
    setDataPtLabel(i, "m");
    setDataPtGrowValue(i, i % 2 == 0 ? 50.0 : 100.0);
    setDataPtDataText(i, i % 2 == 0 ? "50" : "100");
}

int pnChart::addDataPt(const pnChartDataPt& pt) {
    if (getNumDataPts() >= capacity) capacity += INITIAL_CAPACITY;
    dataPts.push_back(pt);
    return 1;
}

int pnChart::appendDataPt() {
    const int n = getNumDataPts();
    if (!canAppendDataPt() || n == 0) return 0;
    const bool make = partsLive();
    // Parts for the new point need the graph they hang in; without it the
    // point is not added, so every point keeps its parts.
    if (make && (!scene || !scene->getRoots())) return 0;
    if (n >= capacity) capacity = capacity > 0 ? capacity * 2 : INITIAL_CAPACITY;
    const pnChartDataPt last = dataPts.back();
    dataPts.push_back(last);
    if (make) {
        makePointParts(n, partParent.c_str());
        if (appendMovesPoints()) updateLayout();
    }
    return getNumDataPts();
}

double pnChart::getDataPtHeight(int i) const {
    if (!validPoint(i)) return 0.0;
    double v = dataPts[static_cast<size_t>(i)].growValue;
    if (chartFlags[DATA_MIN_SET] && v < dataMin)
        v = dataMin;
    else if (chartFlags[DATA_MAX_SET] && v > dataMax)
        v = dataMax;
    if (chartFlags[GRAPH_MIN_SET]) v -= graphMin;
    if (chartFlags[HEIGHT_SCALE_SET]) v *= heightScale;
    return v;
}

int pnChart::setDataMin(float v) {
    dataMin = v;
    chartFlags[DATA_MIN_SET] = 1;
    if (built)
        for (int i = 0; i < getNumDataPts(); ++i) setDataPtGrowValue(i, dataPts[static_cast<size_t>(i)].growValue);
    return 1;
}

int pnChart::setDataMax(float v) {
    if (!(v > dataMin)) return 0;
    dataMax = v;
    chartFlags[DATA_MAX_SET] = 1;
    if (built)
        for (int i = 0; i < getNumDataPts(); ++i) setDataPtGrowValue(i, dataPts[static_cast<size_t>(i)].growValue);
    return 1;
}

int pnChart::setGraphMin(float v) {
    graphMin = v;
    chartFlags[GRAPH_MIN_SET] = 1;
    if (built)
        for (int i = 0; i < getNumDataPts(); ++i) setDataPtGrowValue(i, dataPts[static_cast<size_t>(i)].growValue);
    return 1;
}

int pnChart::setHeightScale(float v) {
    heightScale = v;
    chartFlags[HEIGHT_SCALE_SET] = 1;
    if (built)
        for (int i = 0; i < getNumDataPts(); ++i) setDataPtGrowValue(i, dataPts[static_cast<size_t>(i)].growValue);
    return 1;
}

const char* pnChart::getDataPtLabel(int i) const {
    return validPoint(i) ? dataPts[static_cast<size_t>(i)].label.c_str() : "";
}

const char* pnChart::getDataPtDataText(int i) const {
    return validPoint(i) ? dataPts[static_cast<size_t>(i)].dataText.c_str() : "";
}

const char* pnChart::getDataPtMaterialName(int i) const {
    return validPoint(i) ? dataPts[static_cast<size_t>(i)].materialName.c_str() : "";
}

const char* pnChart::getDataPtJointMaterialName(int i) const {
    return validPoint(i) ? dataPts[static_cast<size_t>(i)].jointMaterialName.c_str() : "";
}

void pnChart::setDataPtLabel(int i, const char* text) {
    if (!validPoint(i)) {
        debugPrint2("[pnChart::setDataPtLabel] ", "data pt index out of range");
        return;
    }
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    const std::string t = sgCutName(text);
    if (!p.label.empty() && p.label == t) return;
    p.label = t;
    if (!built) return;
    pnObject* part = getDataPtPart(i, PART_LABEL);
    if (pnIsKind(part, pnObjectKind::String)) part->setString(p.label.c_str());
}

void pnChart::setDataPtDataText(int i, const char* text) {
    if (!validPoint(i)) {
        debugPrint2("[pnChart::setDataPtDataText] ", "data pt index out of range");
        return;
    }
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    const std::string t = sgCutName(text);
    if (!p.dataText.empty() && p.dataText == t) return;
    p.dataText = t;
    if (!built) return;
    pnObject* part = getDataPtPart(i, PART_DATA_TEXT);
    if (pnIsKind(part, pnObjectKind::String)) part->setString(p.dataText.c_str());
}

// ---- the chart's own operations: base bodies ----

int pnChart::deleteDataPt(int i) {
    if (!validPoint(i)) {
        debugPrint2(typePrefix(getTypeName(), "deleteDataPt").c_str(), "index out of range deleting a chart data");
        return 0;
    }
    deleteDataPtParts(i);
    if (built) updateLayout();
    return 1;
}

int pnChart::setDefaultGrowAll() {
    if (!built) return 0;
    for (int i = 0; i < getNumDataPts(); ++i) setDataPtDefaultGrow(i);
    return 1;
}

int pnChart::clearGrowAll() {
    if (!built) return 0;
    for (int i = 0; i < getNumDataPts(); ++i) clearDataPtGrow(i);
    return 1;
}

int pnChart::setDefaultShrinkAll() {
    if (!built) return 0;
    for (int i = 0; i < getNumDataPts(); ++i) setDataPtDefaultShrink(i);
    return 1;
}

int pnChart::clearShrinkAll() {
    if (!built) return 0;
    for (int i = 0; i < getNumDataPts(); ++i) clearDataPtShrink(i);
    return 1;
}

int pnChart::setDataPtDefaultGrow(int) { return 1; }
int pnChart::clearDataPtGrow(int) { return 1; }
int pnChart::setDataPtDefaultShrink(int) { return 1; }
int pnChart::clearDataPtShrink(int) { return 1; }

int pnChart::setDataPtStartTime(int i, int frame) {
    if (!validPoint(i)) return 0;
    dataPts[static_cast<size_t>(i)].startTime = frame;
    return 1;
}

int pnChart::setDataPtEndTime(int i, int frame) {
    if (!validPoint(i)) return 0;
    dataPts[static_cast<size_t>(i)].endTime = frame;
    return 1;
}

int pnChart::setDataPtShrinkStart(int i, int frame) {
    if (!validPoint(i)) return 0;
    dataPts[static_cast<size_t>(i)].shrinkStart = frame;
    return 1;
}

int pnChart::setDataPtShrinkEnd(int i, int frame) {
    if (!validPoint(i)) return 0;
    dataPts[static_cast<size_t>(i)].shrinkEnd = frame;
    return 1;
}

int pnChart::setDataPtDepth(int, float) { return 0; }
int pnChart::setBaseScale(const sgVec3&) { return 0; }
void pnChart::setDataPtSpacing(int, const sgVec3&) {}
void pnChart::setDataPtSpacingDistance(int, float) {}
void pnChart::storeDataPtSpacing(int, const sgVec3&) {}
void pnChart::setDataPtGrowValue(int, double) {}

void pnChart::setDataPtName(int i, const char* chartName) {
    if (!validPoint(i)) {
        debugPrint2(typePrefix(getTypeName(), "setDataPtName").c_str(), "data pt index out of range");
        return;
    }
    if (built) renameDataPt(i, chartName);
}

pnObject* pnChart::makeObject(int) { return nullptr; }

pnEvent* pnChart::makeEvent(int i, const char* parent) {
    if (!validPoint(i) || !hasPartSlot(i, PART_MAIN)) return nullptr;
    return makeGrowEvent(i, parent, "-%03d", "-shrink-%03d", 0);
}

pnEffect* pnChart::makeEffect(int) { return nullptr; }

pnEffect* pnChart::makeShrinkEffect(int i) {
    if (!validPoint(i) || !hasPartSlot(i, PART_MAIN) || !hasShrink(i)) return nullptr;
    pnEffect* e = newEffect(generatedName("-shrink-%03d", i));
    e->setScale(1, 1, 1);
    return e;
}

pnObject* pnChart::makeDataText(int i) {
    if (!validPoint(i)) return nullptr;
    auto* s = new pnString;
    setupTextPart(s, i, PART_DATA_TEXT);
    return s;
}

pnObject* pnChart::makeLabel(int i) {
    if (!validPoint(i)) return nullptr;
    auto* s = new pnString;
    setupTextPart(s, i, PART_LABEL);
    return s;
}

pnEvent* pnChart::makeDataTextEvent(int, const char*) { return nullptr; }
pnEvent* pnChart::makeLabelEvent(int, const char*) { return nullptr; }
pnEffect* pnChart::makeTextEffect() { return newEffect(generatedName("-text")); }
pnObject* pnChart::makeSubObject(int) { return nullptr; }
pnEvent* pnChart::makeSubEvent(int, const char*) { return nullptr; }
pnEffect* pnChart::makeSubEffect(int) { return nullptr; }
pnEffect* pnChart::makeJointEffect() { return nullptr; }
pnEffect* pnChart::makeShrinkSubEffect(int) { return nullptr; }
void pnChart::updateLayout() {}
void pnChart::setRotDirection(int) {}
void pnChart::setClose(int) {}
void pnChart::setInnerRad(float) {}
void pnChart::setOuterRad(float) {}
int pnChart::getRotDirection() const { return 0; }
int pnChart::getClose() const { return 0; }
float pnChart::getInnerRad() const { return 0.0f; }
float pnChart::getOuterRad() const { return 0.0f; }
float pnChart::getBevel() const { return 0.0f; }
void pnChart::setJointFile(const char*) {}
const char* pnChart::getJointFile() const { return ""; }
void pnChart::setJointMaterialName(const char*) {}
const char* pnChart::getJointMaterialName() const { return ""; }
void pnChart::setJointScaleXYZ(float, float, float) {}
void pnChart::setJointScale(const sgVec3&) {}
void pnChart::setJointScaleX(float) {}
void pnChart::setJointScaleY(float) {}
void pnChart::setJointScaleZ(float) {}
sgVec3 pnChart::getJointScale() const { return sgVec3(1, 1, 1); }
int pnChart::getShowJoint() const { return 0; }
void pnChart::setDataPtJointMaterialName(int, const char*) {}
void pnChart::setStartAngle(int) {}
void pnChart::setShowSide(int) {}
int pnChart::getShowSide() const { return 0; }
float pnChart::getDepth() const { return 0.0f; }

int pnChart::setBaseScaleX(float x) { return setBaseScale(sgVec3(x, baseScale[1], baseScale[2])); }
int pnChart::setBaseScaleZ(float z) { return setBaseScale(sgVec3(baseScale[0], baseScale[1], z)); }

void pnChart::setDataPtSpacingX(int i, float x) {
    if (!validPoint(i)) return;
    const sgVec3 s = dataPts[static_cast<size_t>(i)].spacing;
    setDataPtSpacing(i, sgVec3(x, s[1], s[2]));
}

// ---- text parts: place, orientation, scale ----

sgVec3 pnChart::getDataTextPosition(int i) const {
    if (!validPoint(i)) return sgVec3(0, 0, 0);
    const pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    const float v = static_cast<float>(getDataPtHeight(i));
    sgVec3 r = getDataPtPosition(i) + direction * v;
    if (v >= 0)
        r += p.textOffset + textOffset;
    else
        r += orientOffset(p.textOffset, direction) + orientOffset(textOffset, direction);
    return r;
}

sgVec3 pnChart::getLabelPosition(int i) const {
    if (!validPoint(i)) return sgVec3(0, 0, 0);
    const pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    return getDataPtPosition(i) + p.labelOffset + labelOffset;
}

void pnChart::getLabelOrientation(int i, float* angle, sgVec3* axis) const {
    const pnChartDataPt& p = pointOrDefault(i);
    float a = 0;
    sgVec3 x;
    combineRotation(labelRotAngle, labelRotAxis, p.labelRotAngle, p.labelRotAxis, &a, &x);
    if (angle) *angle = a;
    if (axis) *axis = x;
}

void pnChart::getValueOrientation(int i, float* angle, sgVec3* axis) const {
    const pnChartDataPt& p = pointOrDefault(i);
    float a = 0;
    sgVec3 x;
    combineRotation(valueRotAngle, valueRotAxis, p.valueRotAngle, p.valueRotAxis, &a, &x);
    if (angle) *angle = a;
    if (axis) *axis = x;
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
    if (label)
        getLabelOrientation(i, &angle, &axis);
    else
        getValueOrientation(i, &angle, &axis);
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
    if (which == PART_LABEL)
        getLabelOrientation(i, &angle, &axis);
    else
        getValueOrientation(i, &angle, &axis);
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

void pnChart::setLabelRot(float angle, const sgVec3& axis) {
    labelRotAngle = angle;
    if (!zeroAxis(axis)) labelRotAxis = axis;
    if (built)
        for (int i = 0; i < getNumDataPts(); ++i) orientTextPart(i, PART_LABEL);
}

void pnChart::setLabelRotAngle(float angle) { setLabelRot(angle, labelRotAxis); }
void pnChart::setLabelRotAxis(const sgVec3& axis) { setLabelRot(labelRotAngle, axis); }

void pnChart::setDataPtLabelRot(int i, float angle, const sgVec3& axis) {
    if (!validPoint(i)) return;
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    p.setLabelRotAngle(angle);
    if (!zeroAxis(axis)) p.setLabelRotAxis(axis);
    if (built) orientTextPart(i, PART_LABEL);
}

void pnChart::setValueRot(float angle, const sgVec3& axis) {
    valueRotAngle = angle;
    if (!zeroAxis(axis)) valueRotAxis = axis;
    if (built)
        for (int i = 0; i < getNumDataPts(); ++i) orientTextPart(i, PART_DATA_TEXT);
}

void pnChart::setValueRotAngle(float angle) { setValueRot(angle, valueRotAxis); }
void pnChart::setValueRotAxis(const sgVec3& axis) { setValueRot(valueRotAngle, axis); }

void pnChart::setDataPtValueRot(int i, float angle, const sgVec3& axis) {
    if (!validPoint(i)) return;
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    p.setValueRotAngle(angle);
    if (!zeroAxis(axis)) p.setValueRotAxis(axis);
    if (built) orientTextPart(i, PART_DATA_TEXT);
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

// ---- part lists ----

namespace {
template <class T>
T* findNamed(const pnOwnedList<T>& list, const char* n) {
    if (!n) return nullptr;
    for (int k = 0; k < list.size(); ++k) {
        T* item = list.get(k);
        if (item->getName() == n) return item;
    }
    return nullptr;
}
}  // namespace

pnObject* pnChart::findObject(const char* n) const { return findNamed(objects, n); }
pnEffect* pnChart::findEffect(const char* n) const { return findNamed(effects, n); }
pnEvent* pnChart::findEvent(const char* n) const { return findNamed(events, n); }

int pnChart::addObject(pnObject* object) {
    if (!object || hasObject(object->getName().c_str())) return 0;
    if (!objects.append(std::unique_ptr<pnObject>(object))) return 0;
    object->setPartFlag(1);
    if (scene) object->setScene(scene);
    return 1;
}

int pnChart::addEvent(pnEvent* event) {
    if (!event || hasEvent(event->getName().c_str())) return 0;
    return events.append(std::unique_ptr<pnEvent>(event));
}

int pnChart::addEffect(pnEffect* effect) {
    if (!effect || hasEffect(effect->getName().c_str())) return 0;
    return effects.append(std::unique_ptr<pnEffect>(effect));
}

pnObject* pnChart::getObject(int k) const { return objects.get(k); }
pnEvent* pnChart::getEvent(int k) const { return events.get(k); }
pnEffect* pnChart::getEffect(int k) const { return effects.get(k); }
int pnChart::indexOfObject(const pnObject* object) const { return objects.find(object); }
pnEvent* pnChart::getChartEvent(int k) const { return events.at(k); }
pnObject* pnChart::getChartPart(int k) const { return objects.at(k); }

int pnChart::removeObject(pnObject* object) {
    if (getNumObjects() == 0) {
        debugPrint("[pnChart::removeObject] Tried to delete non-existing object");
        return 0;
    }
    // The caller takes the object back.
    return objects.take(object).release() ? 1 : 0;
}

int pnChart::removeEvent(pnEvent* event) {
    if (getNumEvents() == 0) {
        debugPrint("[pnChart::removeEvent] Tried to delete non-existing event");
        return 0;
    }
    return events.take(event).release() ? 1 : 0;
}

int pnChart::removeEffect(pnEffect* effect) {
    if (getNumEffects() == 0) {
        debugPrint("[pnChart::removeEffect] Tried to delete non-existing effect");
        return 0;
    }
    return effects.take(effect).release() ? 1 : 0;
}

int pnChart::getDataPtObjectIndex(int i) const {
    switch (layout()) {
    case LAYOUT_LINE: return 3 * i - 1;
    case LAYOUT_LINE_JOINTS: return 4 * i - 1;
    case LAYOUT_VOLUME: return i == 0 ? -1 : 4 * i - 2;
    default: return 3 * i;
    }
}

int pnChart::getNumObjectsPerDataPt() const {
    const Layout l = layout();
    return (l == LAYOUT_VOLUME || l == LAYOUT_LINE_JOINTS) ? 4 : 3;
}

int pnChart::hasPartSlot(int i, int which) const {
    if (i < 0) return 0;
    switch (which) {
    case PART_MAIN: return getDataPtObjectIndex(i) >= 0;
    case PART_DATA_TEXT:
    case PART_LABEL: return 1;
    case PART_EXTRA: {
        const Layout l = layout();
        return l == LAYOUT_LINE_JOINTS || (l == LAYOUT_VOLUME && i >= 1);
    }
    default: return 0;
    }
}

pnObject* pnChart::getDataPtPart(int i, int which) const {
    if (!hasPartSlot(i, which)) return nullptr;
    return getChartPart(getDataPtObjectIndex(i) + which);
}

pnEvent* pnChart::getDataPtEvent(int i, int which) const {
    if (!hasPartSlot(i, which)) return nullptr;
    return getChartEvent(getDataPtObjectIndex(i) + which);
}

int pnChart::findDataPtPart(pnObject* part, int* point, int* which) {
    const int k = indexOfObject(part);
    if (k < 0) return 0;
    int w, p;
    switch (layout()) {
    case LAYOUT_LINE:
        w = (k + 1) % 3;
        p = (k + 1) / 3;
        break;
    case LAYOUT_LINE_JOINTS:
        w = (k + 1) % 4;
        p = (k + 1) / 4;
        break;
    case LAYOUT_VOLUME:
        if (k < 2) {
            w = k + 1;
            p = 0;
        } else {
            w = (k + 2) % 4;
            p = (k + 2) / 4;
        }
        break;
    default:
        w = k % 3;
        p = k / 3;
        break;
    }
    if (point) *point = p;
    if (which) *which = w;
    return 1;
}

int pnChart::findDataPtPart(pnObject* part, std::string* chartName, int* which, int* point) {
    if (!findDataPtPart(part, point, which)) return 0;
    if (chartName) *chartName = name;
    return 1;
}

int pnChart::getLastFrame() const {
    int last = 0;
    for (int k = 0; k < getNumEvents(); ++k) {
        const pnEvent* ev = events.get(k);
        if (ev->getNumPlays() > 0) last = std::max(last, ev->getPlay(ev->getNumPlays() - 1)->end);
    }
    return last;
}

// ---- nodes ----

sgNode* pnChart::getNode() {
    sgSwitch* sw = new sgSwitch;
    sgDCS* trans = new sgDCS;
    sgDCS* pivot = new sgDCS;
    sw->addChild(trans);
    trans->addChild(pivot);
    sw->setName(nodeName(name));
    // Events already hanging under the old switch stay with the chart.
    if (switchNode) {
        while (switchNode->getNumChildren() > 1) {
            sgNode* child = switchNode->getChild(1);
            switchNode->removeChildIndex(1);
            sw->addChild(child);
        }
    }
    releaseNodes();
    switchNode = sw;
    transNode = trans;
    pivotNode = pivot;
    setVisible(visible);
    return sw;
}

sgNode* pnChart::findEventTransform(const pnEvent* event) const {
    if (!event) return nullptr;
    if (sgSwitch* sw = event->getNode()) return sw->getParent();
    // An event whose part was never hung keeps an empty transform node.
    for (int c = 1; switchNode && c < switchNode->getNumChildren(); ++c) {
        sgNode* n = switchNode->getChild(c);
        if (n->isOfType("sgDCS") && n->getName() == event->getName() && n->getNumChildren() == 0) return n;
    }
    return nullptr;
}

void pnChart::detachEventNode(pnEvent* event) {
    if (!event) return;
    sgNode* dcs = findEventTransform(event);
    if (dcs && event->getNode()) dcs->removeChild(event->getNode());
    event->setNode(nullptr);
    // Deleting a node unlinks it from its parents; child events of a part
    // event would go with it, but chart events have none.
    delete dcs;
}

void pnChart::destroyPart(pnObject* part, pnEvent* event, std::vector<std::string>& played) {
    if (event && events.find(event) >= 0) {
        for (int k = 0; k < event->getNumPlays(); ++k) played.push_back(event->getPlay(k)->effect);
        detachEventNode(event);
        events.take(event);
    }
    if (part && objects.find(part) >= 0) objects.take(part);
}

void pnChart::destroyPointSlots(int i, std::vector<std::string>& played) {
    for (int which = PART_EXTRA; which >= PART_MAIN; --which) {
        if (!hasPartSlot(i, which)) continue;
        destroyPart(getDataPtPart(i, which), getDataPtEvent(i, which), played);
    }
}

void pnChart::deleteUnplayedEffects(const std::vector<std::string>& names) {
    for (const std::string& n : names) {
        bool stillPlayed = false;
        for (int k = 0; k < getNumEvents() && !stillPlayed; ++k) {
            const pnEvent* ev = events.get(k);
            for (int p = 0; p < ev->getNumPlays() && !stillPlayed; ++p) stillPlayed = ev->getPlay(p)->effect == n;
        }
        if (stillPlayed) continue;
        if (pnEffect* eff = findEffect(n.c_str())) effects.take(eff);
    }
}

void pnChart::deleteAllEffects() { effects.clear(); }

int pnChart::deleteDataPtParts(int i) {
    const int n = getNumDataPts();
    if (!validPoint(i)) return 0;
    const bool parts = getNumObjects() > 0;
    // Every part of point i leaves; when point i + 1 becomes point 0 of a
    // line or volume chart, its main part (and box) go as well, since point
    // 0 has none.
    std::vector<std::pair<pnObject*, pnEvent*>> doomed;
    if (parts) {
        for (int which = PART_EXTRA; which >= PART_MAIN; --which)
            if (hasPartSlot(i, which)) doomed.emplace_back(getDataPtPart(i, which), getDataPtEvent(i, which));
        if (i == 0 && n > 1) {
            for (int which : {PART_EXTRA, PART_MAIN}) {
                if (hasPartSlot(1, which) && !hasPartSlot(0, which))
                    doomed.emplace_back(getDataPtPart(1, which), getDataPtEvent(1, which));
            }
        }
    }
    dataPts.erase(dataPts.begin() + i);
    if (!parts) return 1;
    std::vector<std::string> played;
    for (auto& d : doomed) destroyPart(d.first, d.second, played);
    deleteUnplayedEffects(played);
    for (int j = i; j < getNumDataPts(); ++j) renameDataPt(j, name.c_str());
    return 1;
}

void pnChart::makePointParts(int i, const char* parent) {
    auto hang = [&](pnEvent* ev) {
        if (ev && scene && chartEventGroup) scene->addChartEventObjects(chartEventGroup, ev, this);
    };
    if (hasPartSlot(i, PART_MAIN)) {
        pnObject* obj = makeObject(i);
        pnEvent* ev = nullptr;
        if (obj) {
            addSlotPart(i, PART_MAIN, obj);
            putEffect(makeEffect(i));
            putEffect(makeShrinkEffect(i));
            ev = addSlotEvent(i, PART_MAIN, makeEvent(i, parent), parent);
        } else {
            addSlotPart(i, PART_MAIN, nullptr);
            ev = addSlotEvent(i, PART_MAIN, nullptr, parent);
        }
        hang(ev);
    }
    pnObject* text = makeDataText(i);
    if (text) text->setVisible(showData);
    addSlotPart(i, PART_DATA_TEXT, text);
    putEffect(makeTextEffect());
    hang(addSlotEvent(i, PART_DATA_TEXT, makeDataTextEvent(i, parent), parent));
    pnObject* label = makeLabel(i);
    if (label) label->setVisible(showLabel);
    addSlotPart(i, PART_LABEL, label);
    hang(addSlotEvent(i, PART_LABEL, makeLabelEvent(i, parent), parent));
    if (hasPartSlot(i, PART_EXTRA)) {
        addSlotPart(i, PART_EXTRA, makeSubObject(i));
        putEffect(makeSubEffect(i));
        putEffect(makeShrinkSubEffect(i));
        putEffect(makeJointEffect());
        hang(addSlotEvent(i, PART_EXTRA, makeSubEvent(i, parent), parent));
    }
}

// ---- helpers of the kinds' makers and timing ----

pnEffect* pnChart::newEffect(const std::string& n) {
    auto* e = new pnEffect;
    e->setName(n.c_str());
    return e;
}

pnEvent* pnChart::newEvent(const std::string& n) {
    auto* ev = new pnEvent;
    ev->setName(n.c_str());
    ev->setObjectName(n.c_str());
    return ev;
}

pnEvent* pnChart::makeGrowEvent(int i, const char* parent, const char* suffix, const char* shrinkSuffix,
                                int hideDelay) const {
    const pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    const std::string n = generatedName(suffix, i);
    pnEvent* ev = newEvent(n);
    ev->addPlay(n.c_str(), p.startTime, p.endTime, 1);
    if (hasShrink(p)) {
        const std::string shrink = generatedName(shrinkSuffix, i);
        ev->addPlay(shrink.c_str(), p.shrinkStart, p.shrinkEnd, 1);
        ev->addPlay(shrink.c_str(), p.shrinkEnd + hideDelay, p.shrinkEnd + hideDelay + 1, 0);
    }
    ev->setParent(parent);
    return ev;
}

pnEvent* pnChart::newTextEvent(const std::string& n, const std::string& effect, int from, int to, int show,
                               const char* parent) {
    pnEvent* ev = newEvent(n);
    ev->addPlay(effect.c_str(), from, to, show ? 1 : 0);
    ev->setHidden(show ? 0 : 1);
    ev->setParent(parent);
    return ev;
}

pnEvent* pnChart::makeFollowerEvent(int i, const std::string& n, const char* effectSuffix, int show,
                                    const char* parent) const {
    if (!validPoint(i)) return nullptr;
    const bool borrowed = i == 0 && !hasPartSlot(0, PART_MAIN) && getNumDataPts() > 1;
    const pnChartDataPt& p = dataPts[borrowed ? 1 : static_cast<size_t>(i)];
    const int from = borrowed ? p.startTime : p.endTime;
    const int hide = borrowed ? p.shrinkEnd : p.shrinkStart;
    const std::string effect = generatedName(effectSuffix);
    pnEvent* ev = newTextEvent(n, effect, from, from, show, parent);
    if (hasShrink(p)) ev->addPlay(effect.c_str(), hide, hide + 1, 0);
    return ev;
}

void pnChart::playTime(pnEvent* ev, int k, int start, int end) {
    if (ev) ev->setPlayTime(k, start, end);
}

void pnChart::playStart(pnEvent* ev, int k, int start) {
    if (pnEventPlay* p = ev ? ev->getPlay(k) : nullptr) p->start = start;
}

void pnChart::playEnd(pnEvent* ev, int k, int end) {
    if (pnEventPlay* p = ev ? ev->getPlay(k) : nullptr) p->end = end;
}

bool pnChart::hasPlay(const pnEvent* ev, int k) { return ev && ev->getPlay(k) != nullptr; }

void pnChart::removeShrinkPlays(int i, std::initializer_list<int> shrunk, std::initializer_list<int> hidden) const {
    for (int which : shrunk) {
        if (pnEvent* ev = getDataPtEvent(i, which)) {
            ev->removePlayAt(2);
            ev->removePlayAt(1);
        }
    }
    for (int which : hidden)
        if (pnEvent* ev = getDataPtEvent(i, which)) ev->removePlayAt(1);
}

pnEffect* pnChart::growEffect(int i) const {
    pnEvent* ev = getDataPtEvent(i, PART_MAIN);
    const pnEventPlay* play = ev ? ev->getPlay(0) : nullptr;
    return play ? findEffect(play->effect.c_str()) : nullptr;
}

void pnChart::applyChartTransform(pnObject* part) const {
    if (setFlags[ROTANGLE_FLAG]) part->setRotAngle(rotAngle);
    if (setFlags[ROTAXIS_FLAG]) part->setRotAxis(rotAxis);
    if (setFlags[SCALE_FLAG]) part->setScale(scale);
    part->setCenter(center);
    part->setHighlight(highlight);
}

void pnChart::replacePart(int k, pnObject* fresh) {
    pnObject* old = getChartPart(k);
    if (!old || !fresh) return;
    fresh->setPartFlag(1);
    fresh->setScene(scene);
    pnEvent* ev = getChartEvent(k);
    sgNode* dcs = ev ? findEventTransform(ev) : nullptr;
    std::unique_ptr<pnObject> gone = objects.replace(k, std::unique_ptr<pnObject>(fresh));
    if (dcs) {
        // The new part hangs where the old one did, with the scene material.
        sgSwitch* oldNode = old->getSwitchNode();
        if (oldNode && oldNode->getParent() == dcs) dcs->removeChild(oldNode);
        if (sgNode* node = fresh->getNode()) {
            if (pnMaterial* m = scene ? scene->findMaterial(fresh->getMaterialName().c_str()) : nullptr) m->apply(node);
            dcs->addChild(node);
            ev->setNode(fresh->getSwitchNode());
            fresh->setBuilt(1);
        }
    }
    if (ev) ev->setObjectName(fresh->getName().c_str());
}

pnObject* pnChart::addSlotPart(int i, int which, pnObject* part) {
    if (!part) {
        // The slot keeps its place with an empty object nothing draws.
        part = new pnObject;
        part->setNameString(slotName(name, i, which).c_str());
    }
    part->setPartFlag(1);
    if (!addObject(part)) {
        debugPrint3("[pnChart::addSlotPart] ", "duplicate part name: ", part->getName().c_str());
        delete part;
        return nullptr;
    }
    return part;
}

pnEvent* pnChart::addSlotEvent(int i, int which, pnEvent* event, const char* parent) {
    if (!event) {
        event = newEvent(slotName(name, i, which));
        if (parent && *parent) event->setParent(parent);
    }
    if (!addEvent(event)) {
        debugPrint3("[pnChart::addSlotEvent] ", "duplicate event name: ", event->getName().c_str());
        delete event;
        return nullptr;
    }
    return event;
}

int pnChart::putEffect(pnEffect* effect) {
    std::unique_ptr<pnEffect> taken(effect);
    if (!taken) return 0;
    for (int k = 0; k < getNumEffects(); ++k) {
        if (effects.get(k)->getName() == taken->getName()) {
            effects.replace(k, std::move(taken));  // the old one goes
            return 1;
        }
    }
    return effects.append(std::move(taken));
}

void pnChart::resetChartParts(const char* parent) {
    clearChartParts();
    partParent = parent ? parent : "";
}

void pnChart::clearChartParts() {
    for (int k = 0; k < getNumEvents(); ++k) detachEventNode(events.get(k));
    events.clear();
    objects.clear();
}

// ---- pnChartAccess ----

void pnChart::generateChartParts(pnScene& s, pnEvent* event) { s.generateChartParts(this, event); }

void pnChart::removeChartEvent(pnEvent* event) {
    if (!event || events.find(event) < 0) return;
    detachEventNode(event);
    events.take(event);
}

void pnChart::deleteChartParts() {
    // Nothing may keep showing a deleted part.
    for (int k = 0; k < getNumEvents(); ++k) detachEventNode(events.get(k));
    objects.clear();
}

void pnChart::applyChartEffect(pnScene&, int frame, pnEvent* event, pnEffect* effect, pnObject* part) {
    if (!event || !effect || !part) return;
    const float t = pnScene::playFraction(frame, event->getCurStart(), event->getCurEnd());
    const sgVec3 a = event->getAccScale();
    const sgVec3 sc = effect->getFlag(pnEffect::SCALE_FLAG) ? a + (effect->getScale() - a) * t : a;
    applyGrowScale(part, sc);
    if (t == 1.0f) event->setAccScale(sc);
}

void pnChart::applyGrowScale(pnObject* part, const sgVec3& sc) {
    part->setScaleOrigin(sgVec3(baseScale[0], baseScale[1] * sc[1], baseScale[2]));
}

// ---- reading ----

void pnChart::readMaterialKey(pnChartReadContext& in, void (pnChart::*set)(const char*)) {
    const std::string n = pnScene::readQuoted();
    if (in.knownMaterial(n)) (this->*set)(n.c_str());
}

void pnChart::readStyleKey(pnChartReadContext& in, void (pnChart::*set)(const char*)) {
    const std::string n = pnScene::readQuoted();
    if (in.knownStringProperty(n)) (this->*set)(n.c_str());
}

bool pnChart::readChartKey(pnChartReadContext& in) {
    switch (sym) {
    // A chart keeps its texture name only as a name (the parts are not
    // textured), which the object setter would not store.
    case SYM_TEXTURE: setTextureName(pnScene::readQuoted().c_str()); return true;
    case SYM_BASE_SCALE: setBaseScale(pnScene::readVec3()); return true;
    case SYM_DIRECTION: setDirection(pnScene::readVec3()); return true;
    case SYM_SHOW_DATA: setShowData(pnScene::readInt()); return true;
    case SYM_SHOW_LABEL: setShowLabel(pnScene::readInt()); return true;
    case SYM_H_JUST: {
        const std::string w = pnScene::readQuoted();
        const int j = justFromWord(w);
        if (j >= 0)
            setHJust(j);
        else
            in.report("Unidentifiable token for hJust: ", w);
        return true;
    }
    case SYM_LABEL_MATERIAL:
    case SYM_LABEL_PROPERTY: readMaterialKey(in, &pnChart::setLabelMaterialName); return true;
    case SYM_DATA_MATERIAL:
    case SYM_DATA_PROPERTY: readMaterialKey(in, &pnChart::setDataMaterialName); return true;
    case SYM_LABEL_BACK_MATERIAL:
    case SYM_LABEL_BACK_PROPERTY: readMaterialKey(in, &pnChart::setLabelBackMaterialName); return true;
    case SYM_DATA_BACK_MATERIAL:
    case SYM_DATA_BACK_PROPERTY: readMaterialKey(in, &pnChart::setDataBackMaterialName); return true;
    case SYM_LABEL_STRING: readStyleKey(in, &pnChart::setLabelStringName); return true;
    case SYM_DATA_STRING: readStyleKey(in, &pnChart::setDataStringName); return true;
    case SYM_VALUE_ROT_ANGLE: setValueRotAngle(pnScene::readFloat()); return true;
    case SYM_VALUE_ROT_AXIS: setValueRotAxis(pnScene::readVec3()); return true;
    // The scale setters multiply: from a new chart's (1, 1, 1) they give the
    // file's value.
    case SYM_VALUE_SCALE: setValueScale(pnScene::readVec3()); return true;
    case SYM_LABEL_ROT_ANGLE: setLabelRotAngle(pnScene::readFloat()); return true;
    case SYM_LABEL_ROT_AXIS: setLabelRotAxis(pnScene::readVec3()); return true;
    case SYM_LABEL_SCALE: setLabelScale(pnScene::readVec3()); return true;
    case SYM_LABEL_OFFSET: setLabelOffset(pnScene::readVec3()); return true;
    case SYM_TEXT_OFFSET: setTextOffset(pnScene::readVec3()); return true;
    case SYM_SPACING: setSpacing(pnScene::readVec3()); return true;
    default: return false;
    }
}

bool pnChart::readValueMapping() {
    switch (sym) {
    case SYM_DATA_MIN: setDataMin(pnScene::readFloat()); return true;
    case SYM_DATA_MAX: setDataMax(pnScene::readFloat()); return true;
    case SYM_GRAPH_MIN: setGraphMin(pnScene::readFloat()); return true;
    case SYM_HEIGHT_SCALE: setHeightScale(pnScene::readFloat()); return true;
    default: return false;
    }
}

// ---- writing ----

int pnChart::write(FILE* f, int convertPaths) {
    if (!f) return 0;
    writeChartFields(f, convertPaths);
    return writeDataPts(f);
}

int pnChart::writeChartFields(FILE* f, int convertPaths) {
    if (!f) return 0;
    pnObject::write(f, convertPaths);
    pnWriteVec3(f, "baseScale", baseScale);
    pnWriteVec3(f, "direction", direction);
    pnWriteInt(f, "showData", showData);
    pnWriteInt(f, "showLabel", showLabel);
    pnWriteQuoted(f, "hJust", justWord(hJust));
    if (!labelMaterial.empty()) pnWriteQuoted(f, "labelMaterial", labelMaterial);
    if (!dataMaterial.empty()) pnWriteQuoted(f, "dataMaterial", dataMaterial);
    if (!labelBackMaterial.empty()) pnWriteQuoted(f, "labelBackMaterial", labelBackMaterial);
    if (!dataBackMaterial.empty()) pnWriteQuoted(f, "dataBackMaterial", dataBackMaterial);
    if (!labelString.empty()) pnWriteQuoted(f, "labelString", labelString);
    if (!dataString.empty()) pnWriteQuoted(f, "dataString", dataString);
    if (chartFlags[DATA_MIN_SET]) pnWriteFloat(f, "dataMin", dataMin);
    if (chartFlags[DATA_MAX_SET]) pnWriteFloat(f, "dataMax", dataMax);
    if (chartFlags[GRAPH_MIN_SET]) pnWriteFloat(f, "graphMin", graphMin);
    if (chartFlags[HEIGHT_SCALE_SET]) pnWriteFloat(f, "heightScale", heightScale);
    pnWriteFloat(f, "valueRotAngle", valueRotAngle);
    pnWriteVec3(f, "valueRotAxis", valueRotAxis);
    pnWriteVec3(f, "valueScale", valueScale);
    pnWriteFloat(f, "labelRotAngle", labelRotAngle);
    pnWriteVec3(f, "labelRotAxis", labelRotAxis);
    pnWriteVec3(f, "labelScale", labelScale);
    pnWriteVec3(f, "labelOffset", labelOffset);
    pnWriteVec3(f, "textOffset", textOffset);
    pnWriteVec3(f, "spacing", spacing);
    return pnWriteOk(f);
}

int pnChart::writeDataPts(FILE* f) {
    if (!f) return 0;
    for (const pnChartDataPt& p : dataPts) {
        pnWritef(f, "    data {\n");
        writeDataVec3(f, "spacing", p.spacing);
        pnWritef(f, "        growValue\t%f\n", p.growValue);
        pnWritef(f, "        label\t\"%s\"\n", pnQuotable(p.label).c_str());
        pnWritef(f, "        text\t\"%s\"\n", pnQuotable(p.dataText).c_str());
        writeDataVec3(f, "labelOffset", p.labelOffset);
        writeDataVec3(f, "textOffset", p.textOffset);
        writeDataVec3(f, "labelScale", p.labelScale);
        writeDataVec3(f, "valueScale", p.valueScale);
        writeDataVec3(f, "labelRotAxis", p.labelRotAxis);
        writeDataVec3(f, "valueRotAxis", p.valueRotAxis);
        pnWritef(f, "        labelRotAngle\t%f\n", p.labelRotAngle);
        pnWritef(f, "        valueRotAngle\t%f\n", p.valueRotAngle);
        pnWritef(f, "        text\t\"%s\"\n", pnQuotable(p.dataText).c_str());
        if (p.startTime >= 0) pnWritef(f, "        startTime\t%d\n", p.startTime);
        if (p.endTime >= 0) pnWritef(f, "        endTime\t%d\n", p.endTime);
        if (p.shrinkStart >= 0) pnWritef(f, "        shrinkStart\t%d\n", p.shrinkStart);
        if (p.shrinkEnd >= 0) pnWritef(f, "        shrinkEnd\t%d\n", p.shrinkEnd);
        if (!p.materialName.empty()) pnWritef(f, "        material\t\"%s\"\n", pnQuotable(p.materialName).c_str());
        if (!p.jointMaterialName.empty())
            pnWritef(f, "        jointMaterial\t\"%s\"\n", pnQuotable(p.jointMaterialName).c_str());
        if (p.depth > 0) pnWritef(f, "        depth\t%f\n", p.depth);
        pnWritef(f, "    }\n");
    }
    return pnWriteOk(f);
}
