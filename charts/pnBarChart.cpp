#include "charts/pnBarChart.h"

#include <initializer_list>
#include <string>

#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnModel.h"
#include "scene/pnString.h"
#include "scene/pnWriteUtil.h"
#include "sg/sgRuntime.h"

namespace {

pnEvent* newEvent(const std::string& name) {
    auto* ev = new pnEvent;
    ev->setName(name.c_str());
    ev->setObjectName(name.c_str());
    return ev;
}

pnEffect* newEffect(const std::string& name) {
    auto* e = new pnEffect;
    e->setName(name.c_str());
    return e;
}

// Play k of ev, when both exist, runs from start to end.
void playTime(pnEvent* ev, int k, int start, int end) {
    if (ev) ev->setPlayTime(k, start, end);
}

void playStart(pnEvent* ev, int k, int start) {
    if (pnEventPlay* p = ev ? ev->getPlay(k) : nullptr) p->start = start;
}

void playEnd(pnEvent* ev, int k, int end) {
    if (pnEventPlay* p = ev ? ev->getPlay(k) : nullptr) p->end = end;
}

bool hasPlay(const pnEvent* ev, int k) { return ev && ev->getPlay(k) != nullptr; }

}  // namespace

pnBarChart::pnBarChart() {
    setFile("cyl10x.3ds");
    baseScale = sgVec3(2.5f, 1, 2.5f);
    spacing = sgVec3(80, 0, 0);
}

pnBarChart::~pnBarChart() = default;

int pnBarChart::copy(const pnObject* other) { return pnChart::copy(other); }

bool pnBarChart::hasShrink(int i) const {
    const pnChartDataPt& p = pointOrDefault(i);
    return p.shrinkStart >= 0 && p.shrinkEnd >= p.shrinkStart;
}

sgVec3 pnBarChart::growScale(int i) const {
    const double raw = pointOrDefault(i).growValue;
    if (raw >= -0.001 && raw <= 0.001) return sgVec3(0, 0, 0);
    return sgVec3(1, static_cast<float>(getDataPtHeight(i)), 1);
}

pnEffect* pnBarChart::growEffect(int i) const {
    pnEvent* ev = getDataPtEvent(i, PART_MAIN);
    const pnEventPlay* play = ev ? ev->getPlay(0) : nullptr;
    return play ? findEffect(play->effect.c_str()) : nullptr;
}

// ---- transform ----

void pnBarChart::setRotAngle(float a) {
    pnChart::setRotAngle(a);
    if (!built) return;
    for (int i = 0; i < getNumDataPts(); ++i) {
        if (pnObject* bar = getDataPtPart(i, PART_MAIN)) {
            bar->setRotAxis(rotAxis);
            bar->setRotAngle(a);
        }
    }
}

int pnBarChart::setBaseScale(const sgVec3& v) {
    baseScale = v;
    if (!built) return 0;
    for (int i = 0; i < getNumDataPts(); ++i)
        if (pnObject* bar = getDataPtPart(i, PART_MAIN)) bar->setScaleOrigin(v);
    return getNumDataPts();
}

// ---- points ----

void pnBarChart::setDataPtGrowValue(int i, double value) {
    if (!validPoint(i)) {
        debugPrint2("[pnBarChart::setDataPtGrowValue] ", "data pt index out of range");
        return;
    }
    dataPts[static_cast<size_t>(i)].growValue = value;
    if (!built) return;
    if (pnEffect* grow = growEffect(i)) grow->setScale(growScale(i));
    placeTextPart(i, PART_DATA_TEXT);
}

void pnBarChart::setDataPtSpacing(int i, const sgVec3& v) {
    if (!validPoint(i)) {
        debugPrint2("[pnBarChart::setDataPtSpacing] ", "data pt index out of range");
        return;
    }
    if (dataPts[static_cast<size_t>(i)].spacing == v) return;
    dataPts[static_cast<size_t>(i)].spacing = v;
    if (built) updateLayout();
}

void pnBarChart::setDataPtSpacingDistance(int i, float d) {
    if (!validPoint(i)) {
        debugPrint2("[pnBarChart::setDataPtSpacing] ", "data pt index out of range");
        return;
    }
    const sgVec3 v(d * direction[1], d * direction[0], 0);
    sgVec3& s = dataPts[static_cast<size_t>(i)].spacing;
    if (s[0] == v[0] && s[1] == v[1]) return;
    s = v;
    if (built) updateLayout();
}

void pnBarChart::storeDataPtSpacing(int i, const sgVec3& v) {
    if (!validPoint(i)) {
        debugPrint2("[pnBarChart::setDataPtSpacing] ", "data pt index out of range");
        return;
    }
    dataPts[static_cast<size_t>(i)].spacing = v;
}

void pnBarChart::setDataPtName(int i, const char* chartName) {
    if (!validPoint(i)) {
        debugPrint2("[pnBarChart::setDataPtName] ", "data pt index out of range");
        return;
    }
    if (built) renameDataPt(i, chartName);
}

int pnBarChart::deleteDataPt(int i) {
    if (!validPoint(i)) {
        debugPrint2("[pnBarChart::deleteDataPt] ", "index out of range deleting a chart data");
        return 0;
    }
    deleteDataPtParts(i);
    if (built) updateLayout();
    return 1;
}

void pnBarChart::updateLayout() {
    for (int i = 0; i < getNumDataPts(); ++i) {
        if (pnObject* bar = getDataPtPart(i, PART_MAIN)) bar->setPosition(getDataPtPosition(i));
        placeTextPart(i, PART_DATA_TEXT);
        placeTextPart(i, PART_LABEL);
    }
}

// ---- makers ----

pnObject* pnBarChart::makeObject(int i) {
    if (!validPoint(i)) return nullptr;
    const pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    auto* bar = new pnModel;
    bar->setNameString(generatedName("-%03d", i).c_str());
    if (!p.materialName.empty())
        bar->setMaterialName(p.materialName.c_str());
    else if (!material.empty())
        bar->setMaterialName(material.c_str());
    if (setFlags[ROTANGLE_FLAG]) bar->setRotAngle(rotAngle);
    if (setFlags[ROTAXIS_FLAG]) bar->setRotAxis(rotAxis);
    if (setFlags[SCALE_FLAG]) bar->setScale(scale);
    bar->setCenter(center);
    bar->setPosition(getDataPtPosition(i));
    turnToDirection(bar);
    bar->setScaleOrigin(baseScale);
    bar->setFileName(file.c_str());
    bar->setHighlight(highlight);
    return bar;
}

pnEffect* pnBarChart::makeEffect(int i) {
    if (!validPoint(i)) return nullptr;
    pnEffect* e = newEffect(generatedName("-%03d", i));
    e->setScale(growScale(i));
    return e;
}

pnEffect* pnBarChart::makeShrinkEffect(int i) {
    if (!validPoint(i) || !hasShrink(i)) return nullptr;
    pnEffect* e = newEffect(generatedName("-shrink-%03d", i));
    e->setScale(1, 1, 1);
    return e;
}

pnEvent* pnBarChart::makeEvent(int i, const char* parent) {
    if (!validPoint(i)) return nullptr;
    const pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    pnEvent* ev = newEvent(generatedName("-%03d", i));
    ev->addPlay(generatedName("-%03d", i).c_str(), p.startTime, p.endTime, 1);
    if (hasShrink(i)) {
        const std::string shrink = generatedName("-shrink-%03d", i);
        ev->addPlay(shrink.c_str(), p.shrinkStart, p.shrinkEnd, 1);
        ev->addPlay(shrink.c_str(), p.shrinkEnd, p.shrinkEnd + 1, 0);
    }
    ev->setParent(parent);
    return ev;
}

pnObject* pnBarChart::makeDataText(int i) {
    if (!validPoint(i)) return nullptr;
    auto* s = new pnString;
    setupTextPart(s, i, PART_DATA_TEXT);
    return s;
}

pnObject* pnBarChart::makeLabel(int i) {
    if (!validPoint(i)) return nullptr;
    auto* s = new pnString;
    setupTextPart(s, i, PART_LABEL);
    return s;
}

pnEvent* pnBarChart::makeDataTextEvent(int i, const char* parent) {
    if (!validPoint(i)) return nullptr;
    const pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    const std::string text = generatedName("-text");
    pnEvent* ev = newEvent(generatedName("-dataText-%03d", i));
    // The value appears once the bar has grown.
    ev->addPlay(text.c_str(), p.endTime, p.endTime, showData ? 1 : 0);
    ev->setHidden(showData ? 0 : 1);
    if (hasShrink(i)) ev->addPlay(text.c_str(), p.shrinkStart, p.shrinkStart + 1, 0);
    ev->setParent(parent);
    return ev;
}

pnEvent* pnBarChart::makeLabelEvent(int i, const char* parent) {
    if (!validPoint(i)) return nullptr;
    const pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    const std::string text = generatedName("-text");
    pnEvent* ev = newEvent(generatedName("-label-%03d", i));
    ev->addPlay(text.c_str(), p.startTime, p.startTime + 1, showLabel ? 1 : 0);
    if (hasShrink(i)) ev->addPlay(text.c_str(), p.shrinkEnd, p.shrinkEnd + 1, 0);
    ev->setHidden(showLabel ? 0 : 1);
    ev->setParent(parent);
    return ev;
}

pnEffect* pnBarChart::makeTextEffect() { return newEffect(generatedName("-text")); }

// ---- timing ----
//
// What each operation does to point i (e = end frame, f = the new frame):
//   setDataPtDefaultGrow    start 0, end 30; bar play 0 (0, 30), data text
//                           play 0 (30, 30), label play 0 (0, 0).
//   clearDataPtGrow         refused while the point shrinks; else start =
//                           end = 0 and play 0 of all three events (0, 0).
//   setDataPtDefaultShrink  shrink e+10 to e+20; each event without a play 1
//                           gets one: the bar shrinks (e+10, e+20) and hides
//                           (e+20, e+21), the data text hides (e+10, e+11),
//                           the label (e+20, e+21).
//   clearDataPtShrink       shrink -1; the bar loses plays 2 and 1, the texts
//                           play 1.
//   setDataPtStartTime      bar play 0 starts at f, label play 0 (f, f+1).
//   setDataPtEndTime        bar play 0 ends at f, data text play 0 (f, f+1).
//   setDataPtShrinkStart    bar play 1 starts at f, data text play 1 (f, f+1).
//   setDataPtShrinkEnd      bar play 1 ends at f, its play 2 (f+1, f+2),
//                           label play 1 (f, f+1).

int pnBarChart::setDataPtDefaultGrow(int i) {
    if (!validPoint(i)) return 0;
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    p.startTime = 0;
    p.endTime = 30;
    if (!built) return 1;
    playTime(getDataPtEvent(i, PART_MAIN), 0, 0, 30);
    playTime(getDataPtEvent(i, PART_DATA_TEXT), 0, 30, 30);
    playTime(getDataPtEvent(i, PART_LABEL), 0, 0, 0);
    return 1;
}

int pnBarChart::clearDataPtGrow(int i) {
    if (!validPoint(i)) return 0;
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    if (p.shrinkStart >= 0) return 0;
    p.startTime = 0;
    p.endTime = 0;
    if (!built) return 1;
    for (int which : {PART_MAIN, PART_DATA_TEXT, PART_LABEL}) playTime(getDataPtEvent(i, which), 0, 0, 0);
    return 1;
}

int pnBarChart::setDataPtDefaultShrink(int i) {
    if (!validPoint(i)) return 0;
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    const int end = p.endTime;
    p.shrinkStart = end + 10;
    p.shrinkEnd = end + 20;
    if (!built) return 1;
    pnEvent* bar = getDataPtEvent(i, PART_MAIN);
    if (bar && !hasPlay(bar, 1)) {
        const std::string shrink = generatedName("-shrink-%03d", i);
        bar->addPlay(shrink.c_str(), end + 10, end + 20, 1);
        bar->addPlay(shrink.c_str(), end + 20, end + 21, 0);
        if (!hasEffect(shrink.c_str())) putEffect(makeShrinkEffect(i));
    }
    const std::string text = generatedName("-text");
    pnEvent* data = getDataPtEvent(i, PART_DATA_TEXT);
    if (data && !hasPlay(data, 1)) data->addPlay(text.c_str(), end + 10, end + 11, 0);
    pnEvent* label = getDataPtEvent(i, PART_LABEL);
    if (label && !hasPlay(label, 1)) label->addPlay(text.c_str(), end + 20, end + 21, 0);
    return 1;
}

int pnBarChart::clearDataPtShrink(int i) {
    if (!validPoint(i)) return 0;
    pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    p.shrinkStart = -1;
    p.shrinkEnd = -1;
    if (!built) return 1;
    if (pnEvent* bar = getDataPtEvent(i, PART_MAIN)) {
        bar->removePlayAt(2);
        bar->removePlayAt(1);
    }
    if (pnEvent* data = getDataPtEvent(i, PART_DATA_TEXT)) data->removePlayAt(1);
    if (pnEvent* label = getDataPtEvent(i, PART_LABEL)) label->removePlayAt(1);
    return 1;
}

int pnBarChart::setDataPtStartTime(int i, int f) {
    if (!pnChart::setDataPtStartTime(i, f)) return 0;
    if (!built) return 1;
    playStart(getDataPtEvent(i, PART_MAIN), 0, f);
    playTime(getDataPtEvent(i, PART_LABEL), 0, f, f + 1);
    return 1;
}

int pnBarChart::setDataPtEndTime(int i, int f) {
    if (!pnChart::setDataPtEndTime(i, f)) return 0;
    if (!built) return 1;
    playEnd(getDataPtEvent(i, PART_MAIN), 0, f);
    playTime(getDataPtEvent(i, PART_DATA_TEXT), 0, f, f + 1);
    return 1;
}

int pnBarChart::setDataPtShrinkStart(int i, int f) {
    if (!pnChart::setDataPtShrinkStart(i, f)) return 0;
    if (!built) return 1;
    playStart(getDataPtEvent(i, PART_MAIN), 1, f);
    playTime(getDataPtEvent(i, PART_DATA_TEXT), 1, f, f + 1);
    return 1;
}

int pnBarChart::setDataPtShrinkEnd(int i, int f) {
    if (!pnChart::setDataPtShrinkEnd(i, f)) return 0;
    if (!built) return 1;
    pnEvent* bar = getDataPtEvent(i, PART_MAIN);
    playEnd(bar, 1, f);
    playTime(bar, 2, f + 1, f + 2);
    playTime(getDataPtEvent(i, PART_LABEL), 1, f, f + 1);
    return 1;
}

// ---- writing ----

int pnBarChart::write(FILE* f, int convertPaths) {
    if (!f) return 0;
    pnWriteBlockBegin(f, "barChart");
    pnChart::write(f, convertPaths);
    pnWriteBlockEnd(f);
    return pnWriteOk(f);
}
