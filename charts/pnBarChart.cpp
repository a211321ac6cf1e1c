#include "charts/pnBarChart.h"

#include <initializer_list>
#include <string>

#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnLexer.h"
#include "scene/pnModel.h"
#include "scene/pnWriteUtil.h"
#include "sg/sgRuntime.h"

namespace {

const char* expansionWord(int e) {
    switch (e) {
    case pnChart::EXPAND_LEFT: return "left";
    case pnChart::EXPAND_UP: return "up";
    case pnChart::EXPAND_DOWN: return "down";
    default: return "right";
    }
}

int expansionFromWord(const std::string& w) {
    if (w == "Left" || w == "left") return pnChart::EXPAND_LEFT;
    if (w == "Right" || w == "right") return pnChart::EXPAND_RIGHT;
    if (w == "Up" || w == "up") return pnChart::EXPAND_UP;
    return pnChart::EXPAND_DOWN;
}

}  // namespace

pnBarChart::pnBarChart() {
    setFile("cyl10x.3ds");
    baseScale = sgVec3(2.5f, 1, 2.5f);
    spacing = sgVec3(80, 0, 0);
}

pnBarChart::~pnBarChart() = default;

int pnBarChart::copy(const pnObject* other) { return pnChart::copy(other); }

sgVec3 pnBarChart::growScale(int i) const {
    const double raw = pointOrDefault(i).growValue;
    if (raw >= -0.001 && raw <= 0.001) return sgVec3(0, 0, 0);
    return sgVec3(1, static_cast<float>(getDataPtHeight(i)), 1);
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

void pnBarChart::setDirection(const sgVec3& v) {
    pnChart::setDirection(v);
    if (!built) return;
    for (int i = 0; i < getNumDataPts(); ++i) turnToDirection(getDataPtPart(i, PART_MAIN));
}

void pnBarChart::setExpansion(int e) {
    if (!built) {
        expansion = e;
        return;
    }
    const int cur = expansion;
    auto valid = [](int x) { return x >= EXPAND_LEFT && x <= EXPAND_DOWN; };
    auto horizontal = [](int x) { return x == EXPAND_LEFT || x == EXPAND_RIGHT; };
    auto negative = [](int x) { return x == EXPAND_LEFT || x == EXPAND_DOWN; };
    if (valid(e) && valid(cur) && e != cur) {
        // The component on the current axis moves to the new axis; it turns
        // round when the expansion crosses to the other side.
        auto moved = [&](const sgVec3& s) {
            float c = horizontal(cur) ? s[0] : s[1];
            if (negative(cur) != negative(e)) c = -c;
            return horizontal(e) ? sgVec3(c, 0, 0) : sgVec3(0, c, 0);
        };
        spacing = moved(spacing);
        for (int i = 0; i < getNumDataPts(); ++i) storeDataPtSpacing(i, moved(dataPts[static_cast<size_t>(i)].spacing));
        if (horizontal(cur) != horizontal(e)) {
            setTextOffset(sgVec3(textOffset[1], textOffset[0], textOffset[2]));
            setLabelOffset(sgVec3(labelOffset[1], labelOffset[0], labelOffset[2]));
        }
    }
    if (valid(e)) setDirection(horizontal(e) ? sgVec3(0, 1, 0) : sgVec3(1, 0, 0));
    expansion = e;
    updateLayout();
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
    applyChartTransform(bar);
    bar->setPosition(getDataPtPosition(i));
    turnToDirection(bar);
    bar->setScaleOrigin(baseScale);
    bar->setFileName(file.c_str());
    return bar;
}

pnEffect* pnBarChart::makeEffect(int i) {
    if (!validPoint(i)) return nullptr;
    pnEffect* e = newEffect(generatedName("-%03d", i));
    e->setScale(growScale(i));
    return e;
}

pnEvent* pnBarChart::makeDataTextEvent(int i, const char* parent) {
    if (!validPoint(i)) return nullptr;
    const pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    const std::string text = generatedName("-text");
    // The value appears once the bar has grown.
    pnEvent* ev = newTextEvent(generatedName("-dataText-%03d", i), text, p.endTime, p.endTime, showData, parent);
    if (hasShrink(i)) ev->addPlay(text.c_str(), p.shrinkStart, p.shrinkStart + 1, 0);
    return ev;
}

pnEvent* pnBarChart::makeLabelEvent(int i, const char* parent) {
    if (!validPoint(i)) return nullptr;
    const pnChartDataPt& p = dataPts[static_cast<size_t>(i)];
    const std::string text = generatedName("-text");
    pnEvent* ev = newTextEvent(generatedName("-label-%03d", i), text, p.startTime, p.startTime + 1, showLabel, parent);
    if (hasShrink(i)) ev->addPlay(text.c_str(), p.shrinkEnd, p.shrinkEnd + 1, 0);
    return ev;
}

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
    if (built) removeShrinkPlays(i, {PART_MAIN}, {PART_DATA_TEXT, PART_LABEL});
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
    writeChartFields(f, convertPaths);
    pnWriteWord(f, "expansion", expansionWord(expansion));
    writeDataPts(f);
    pnWriteBlockEnd(f);
    return pnWriteOk(f);
}

bool pnBarChart::readChartKey(pnChartReadContext& in) {
    if (sym == SYM_EXPANSION) {
        setExpansion(expansionFromWord(pnScene::readQuoted()));
        return true;
    }
    return pnChart::readChartKey(in) || readValueMapping();
}
