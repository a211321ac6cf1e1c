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
    pnEffect* e = newEffect(generatedName("-%03d", i));
    e->setScale(growScale(i));
    return e;
}

pnEvent* TestChart::makeDataTextEvent(int i, const char* parent) {
    const pnChartDataPt* p = getDataPt(i);
    if (!p) return nullptr;
    return newTextEvent(slotName(name, i, PART_DATA_TEXT), generatedName("-text"), p->endTime, p->endTime, showData,
                        parent);
}

pnEvent* TestChart::makeLabelEvent(int i, const char* parent) {
    const pnChartDataPt* p = getDataPt(i);
    if (!p) return nullptr;
    return newTextEvent(slotName(name, i, PART_LABEL), generatedName("-text"), p->startTime, p->startTime, showLabel,
                        parent);
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
    pnEvent* ev = newEvent(slotName(name, i, PART_EXTRA));
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
    pnEffect* e = newEffect(generatedName("-box-%03d", i));
    e->setScale(growScale(i));
    return e;
}

pnEffect* TestChart::makeShrinkSubEffect(int i) {
    const pnChartDataPt* p = getDataPt(i);
    if (kind_ != "pnVolumeChart" || !p || !hasShrink(*p) || !hasPartSlot(i, PART_EXTRA)) return nullptr;
    return newEffect(generatedName("-shrink-box-%03d", i));
}

pnEffect* TestChart::makeJointEffect() { return kind_ == "pnLineChart" ? newEffect(generatedName("-joint")) : nullptr; }

void TestChart::setDataPtGrowValue(int i, double value) {
    if (!getDataPt(i)) {
        debugPrint2("[TestChart::setDataPtGrowValue] ", "data pt index out of range");
        return;
    }
    dataPts[static_cast<size_t>(i)].growValue = value;
    if (!built) return;
    if (pnEffect* e = growEffect(i)) e->setScale(growScale(i));
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
