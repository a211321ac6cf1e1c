// Chart part generation: a chart read from a file or made in the program
// holds only its settings and points; when an event shows it, the scene asks
// it for its parts, effects and events, which the chart keeps in its own lists.
#include <string>

#include "scene/pnEvent.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "scene/pnSceneChartParts.h"
#include "sg/sgDCS.h"
#include "sg/sgNode.h"
#include "sg/sgRuntime.h"

void pnScene::generateChartParts(pnChartParts* chart, pnEvent* event) {
    if (!chart || !chart->getChartObject()) return;
    // Every chart event is a child of the event that shows the chart. The
    // name is copied: the chart's makers may rename things as they go.
    const std::string parentName = event ? event->getName() : std::string();
    const char* parent = parentName.c_str();
    // Parts made before (an earlier showing) go; the effects are replaced by
    // name as they are made again.
    chart->resetChartParts(parent);

    const int count = chart->getNumDataPts();
    const int showData = chart->getShowData();
    const int showLabel = chart->getShowLabel();

    // The one text effect and, for the kinds with joints, the joint effect.
    chart->putEffect(chart->makeTextEffect());
    chart->putEffect(chart->makeJointEffect());

    for (int i = 0; i < count; ++i) {
        if (chart->hasPartSlot(i, pnChartParts::PART_MAIN)) {
            pnObject* object = chart->makeObject(i);
            if (object) {
                object->setScene(this);
                chart->addSlotPart(i, pnChartParts::PART_MAIN, object);
                chart->putEffect(chart->makeEffect(i));
                chart->putEffect(chart->makeShrinkEffect(i));
                chart->addSlotEvent(i, pnChartParts::PART_MAIN, chart->makeEvent(i, parent), parent);
            } else {
                // A part that cannot be made (a slice of no whole degree)
                // keeps its slot, so later points keep their indices.
                chart->addSlotPart(i, pnChartParts::PART_MAIN, nullptr);
                chart->addSlotEvent(i, pnChartParts::PART_MAIN, nullptr, parent);
            }
        }

        pnObject* text = chart->makeDataText(i);
        if (text) {
            text->setScene(this);
            text->setVisible(showData);
        }
        chart->addSlotPart(i, pnChartParts::PART_DATA_TEXT, text);
        chart->addSlotEvent(i, pnChartParts::PART_DATA_TEXT, chart->makeDataTextEvent(i, parent), parent);

        pnObject* label = chart->makeLabel(i);
        if (label) {
            label->setScene(this);
            label->setVisible(showLabel);
        }
        chart->addSlotPart(i, pnChartParts::PART_LABEL, label);
        chart->addSlotEvent(i, pnChartParts::PART_LABEL, chart->makeLabelEvent(i, parent), parent);

        // Joints of a line chart that shows them, boxes of a volume chart.
        if (!chart->hasPartSlot(i, pnChartParts::PART_EXTRA)) continue;
        pnObject* sub = chart->makeSubObject(i);
        if (sub) sub->setScene(this);
        chart->addSlotPart(i, pnChartParts::PART_EXTRA, sub);
        // A box grows and shrinks by effects of its own; a joint plays the
        // chart's joint effect, and the kind makes none here.
        chart->putEffect(chart->makeSubEffect(i));
        chart->putEffect(chart->makeShrinkSubEffect(i));
        chart->addSlotEvent(i, pnChartParts::PART_EXTRA, chart->makeSubEvent(i, parent), parent);
    }
}

int pnScene::attachChart(pnEvent* event, sgDCS* dcs, pnObject* object) {
    pnChartAccess* chart = chartAccess(object);
    if (!event || !dcs || !chart) return 0;
    // One event shows a chart: a second would pull the nodes from under the
    // first.
    if (object->getSwitchNode() && object->getSwitchNode()->getParent()) {
        debugPrint3("[pnScene::addObjectsToScene] ", "object already shown: ", object->getName().c_str());
        return 0;
    }
    sgNode* node = object->getNode();
    if (!node) return 0;
    dcs->addChild(node);
    event->setNode(object->getSwitchNode());
    object->setBuilt(1);
    chart->generateChartParts(*this, event);
    addChartToScene(object);
    return 1;
}
