// The chart's scene-graph nodes: its switch and transforms, the transform
// each event hangs below, and the parts of one point made and hung or taken
// down with their events and effects.
#include "charts/pnChart.h"

#include "charts/pnChartUtil.h"
#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "sg/sgDCS.h"


// ---- nodes ----

sgNode* pnChart::getNode() {
    sgSwitch* sw = new sgSwitch;
    sgDCS* trans = new sgDCS;
    sgDCS* pivot = new sgDCS;
    sw->addChild(trans);
    trans->addChild(pivot);
    sw->setName(switchNodeName());
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
