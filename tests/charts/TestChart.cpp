#include "tests/charts/TestChart.h"

pnObject* TestChart::makeObject(int i) {
    const pnChartDataPt* p = getDataPt(i);
    if (!p || !hasPartSlot(i, PART_MAIN) || p->growValue == 0.0) return nullptr;
    auto* v = new pnVolume;
    v->setNameString(generatedName("-%03d", i).c_str());
    v->setPosition(getDataPtPosition(i));
    v->setCenter(center);
    turnToDirection(v);
    v->setScaleOrigin(baseScale);
    return v;
}

pnEffect* TestChart::makeEffect(int i) {
    if (!hasPartSlot(i, PART_MAIN)) return nullptr;
    auto* e = new pnEffect;
    e->setName(generatedName("-%03d", i).c_str());
    e->setScale(growScale(i));
    return e;
}

pnEffect* TestChart::makeShrinkEffect(int i) {
    const pnChartDataPt* p = getDataPt(i);
    if (!p || !hasShrink(*p) || !hasPartSlot(i, PART_MAIN)) return nullptr;
    auto* e = new pnEffect;
    e->setName(generatedName("-shrink-%03d", i).c_str());
    e->setScale(1, 1, 1);
    return e;
}

pnEvent* TestChart::makeEvent(int i, const char* parent) {
    const pnChartDataPt* p = getDataPt(i);
    if (!p || !hasPartSlot(i, PART_MAIN)) return nullptr;
    auto* ev = new pnEvent;
    const std::string n = generatedName("-%03d", i);
    ev->setName(n.c_str());
    ev->setObjectName(n.c_str());
    ev->addPlay(n.c_str(), p->startTime, p->endTime, 1);
    if (hasShrink(*p)) {
        const std::string s = generatedName("-shrink-%03d", i);
        ev->addPlay(s.c_str(), p->shrinkStart, p->shrinkEnd, 1);
        ev->addPlay(s.c_str(), p->shrinkEnd, p->shrinkEnd + 1, 0);
    }
    ev->setParent(parent);
    return ev;
}

pnObject* TestChart::makeText(int i, int which) {
    if (!getDataPt(i)) return nullptr;
    auto* s = new pnString;
    setupTextPart(s, i, which);
    return s;
}

namespace {
pnEvent* textEvent(const std::string& n, const std::string& effect, int frame, int show, const char* parent) {
    auto* ev = new pnEvent;
    ev->setName(n.c_str());
    ev->setObjectName(n.c_str());
    ev->addPlay(effect.c_str(), frame, frame, show);
    ev->setHidden(show ? 0 : 1);
    ev->setParent(parent);
    return ev;
}
}  // namespace

pnEvent* TestChart::makeDataTextEvent(int i, const char* parent) {
    const pnChartDataPt* p = getDataPt(i);
    if (!p) return nullptr;
    return textEvent(slotName(name, i, PART_DATA_TEXT), generatedName("-text"), p->endTime, showData, parent);
}

pnEvent* TestChart::makeLabelEvent(int i, const char* parent) {
    const pnChartDataPt* p = getDataPt(i);
    if (!p) return nullptr;
    return textEvent(slotName(name, i, PART_LABEL), generatedName("-text"), p->startTime, showLabel, parent);
}

pnEffect* TestChart::makeTextEffect() {
    auto* e = new pnEffect;
    e->setName(generatedName("-text").c_str());
    return e;
}

pnObject* TestChart::makeSubObject(int i) {
    if (!hasPartSlot(i, PART_EXTRA)) return nullptr;
    auto* v = new pnVolume;
    v->setNameString(slotName(name, i, PART_EXTRA).c_str());
    v->setPosition(getDataPtPosition(i));
    if (getShowJoint()) v->setLineFlag(1);
    return v;
}

pnEvent* TestChart::makeSubEvent(int i, const char* parent) {
    const pnChartDataPt* p = getDataPt(i);
    if (!p || !hasPartSlot(i, PART_EXTRA)) return nullptr;
    auto* ev = new pnEvent;
    const std::string n = slotName(name, i, PART_EXTRA);
    ev->setName(n.c_str());
    ev->setObjectName(n.c_str());
    if (kind_ == "pnVolumeChart") {
        ev->addPlay(generatedName("-box-%03d", i).c_str(), p->startTime, p->endTime, 1);
        if (hasShrink(*p)) ev->addPlay(generatedName("-shrink-box-%03d", i).c_str(), p->shrinkStart, p->shrinkEnd, 1);
    } else {
        ev->addPlay(generatedName("-joint").c_str(), p->endTime, p->endTime, 1);
    }
    ev->setParent(parent);
    return ev;
}

pnEffect* TestChart::makeSubEffect(int i) {
    if (kind_ != "pnVolumeChart" || !hasPartSlot(i, PART_EXTRA)) return nullptr;
    auto* e = new pnEffect;
    e->setName(generatedName("-box-%03d", i).c_str());
    e->setScale(growScale(i));
    return e;
}

pnEffect* TestChart::makeShrinkSubEffect(int i) {
    const pnChartDataPt* p = getDataPt(i);
    if (kind_ != "pnVolumeChart" || !p || !hasShrink(*p) || !hasPartSlot(i, PART_EXTRA)) return nullptr;
    auto* e = new pnEffect;
    e->setName(generatedName("-shrink-box-%03d", i).c_str());
    return e;
}

pnEffect* TestChart::makeJointEffect() {
    if (kind_ != "pnLineChart") return nullptr;
    auto* e = new pnEffect;
    e->setName(generatedName("-joint").c_str());
    return e;
}

void TestChart::setDataPtGrowValue(int i, double value) {
    if (!getDataPt(i)) {
        debugPrint2("[TestChart::setDataPtGrowValue] ", "data pt index out of range");
        return;
    }
    dataPts[static_cast<size_t>(i)].growValue = value;
    if (!built) return;
    if (pnEvent* ev = getDataPtEvent(i, PART_MAIN)) {
        if (ev->getNumPlays() > 0) {
            if (pnEffect* e = findEffect(ev->getPlay(0)->effect.c_str())) e->setScale(growScale(i));
        }
    }
    placeTextPart(i, PART_DATA_TEXT);
}

void TestChart::setDataPtSpacing(int i, const sgVec3& v) {
    if (!getDataPt(i) || dataPts[static_cast<size_t>(i)].spacing == v) return;
    dataPts[static_cast<size_t>(i)].spacing = v;
    if (built) updateLayout();
}

void TestChart::storeDataPtSpacing(int i, const sgVec3& v) {
    if (getDataPt(i)) dataPts[static_cast<size_t>(i)].spacing = v;
}

int TestChart::deleteDataPt(int i) {
    if (!deleteDataPtParts(i)) return 0;
    if (built) updateLayout();
    return 1;
}

void TestChart::updateLayout() {
    if (!built) return;
    for (int i = 0; i < getNumDataPts(); ++i) {
        if (pnObject* main = getDataPtPart(i, PART_MAIN)) main->setPosition(getDataPtPosition(i));
        placeTextPart(i, PART_DATA_TEXT);
        placeTextPart(i, PART_LABEL);
    }
}
