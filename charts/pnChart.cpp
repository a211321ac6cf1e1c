// The chart base: construction and copying, names, the transform and
// materials it hands its parts, the data points and the base bodies of the
// kinds' operations. Its layout and text parts are in pnChartLayout.cpp, the
// part lists and the pnChartAccess side in pnChartParts.cpp, its nodes in
// pnChartGraph.cpp, reading in pnChartRead.cpp and writing in pnChartWrite.cpp.
#include "charts/pnChart.h"

#include <algorithm>
#include <cstdio>

#include "charts/pnChartUtil.h"
#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnMaterial.h"
#include "scene/pnString.h"
#include "sg/sgNode.h"
#include "sg/sgRuntime.h"

using pnChartUtil::zeroAxis;

namespace {

// "[pnBarChart::deleteDataPt] ": a kind's message prefix.
std::string typePrefix(const char* typeName, const char* operation) {
    return std::string("[") + typeName + "::" + operation + "] ";
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

bool pnChart::usesMaterial(const std::string& materialName) const {
    const std::string& m = materialName;
    if (m.empty()) return false;
    return pnObject::usesMaterial(m) || labelMaterial == m || dataMaterial == m || labelBackMaterial == m ||
           dataBackMaterial == m || m == getJointMaterialName();
}

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
    return sgCutChars(chartName, room) + t;
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
    pnObject::setName(n);
    if (!built) return;
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
        const pnObjectKind kind = pnKindOf(part);
        if (kind == pnObjectKind::Model || (known && kind == pnObjectKind::Volume))
            part->setMaterial(m.c_str());  // a model without that material takes the default one
        else if (kind == pnObjectKind::Volume)
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
    retimeFirstPoint();
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
        retimeFirstPoint();
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
    retimeFirstPoint();
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
