// What the scene needs of a chart to generate its parts. The chart kinds live
// in a layer above the scene; the chart base implements this interface and
// the scene drives part generation through it (pnScene::generateChartParts).
//
// Every data point owns a fixed set of part slots, in object-list order: main
// part, data text, label and, for some kinds, an extra part (a volume box or a
// line joint). The event list runs parallel to the object list. A slot is
// always filled: a part or event a maker cannot make becomes an empty
// placeholder of the slot's name, so look-ups by index never drift.
#pragma once

class pnObject;
class pnEvent;
class pnEffect;

class pnChartParts {
public:
    // Part kinds within a point's slots.
    enum { PART_MAIN = 0, PART_DATA_TEXT = 1, PART_LABEL = 2, PART_EXTRA = 3 };

    virtual ~pnChartParts() = default;

    // The chart as an object.
    virtual pnObject* getChartObject() = 0;
    virtual int getNumDataPts() const = 0;
    virtual int getShowData() const = 0;
    virtual int getShowLabel() const = 0;
    // Line charts: 1 while joints are shown.
    virtual int getShowJoint() const = 0;
    // 1 when point i has a slot of the part kind which.
    virtual int hasPartSlot(int i, int which) const = 0;

    // The kind's makers; each returns a new item (the caller owns it) or null
    // where the kind has none (only a line chart makes a joint effect, only
    // a volume chart effects for its extra parts).
    // parent is the name of the event that shows the chart: every generated
    // event becomes its child.
    virtual pnObject* makeObject(int i) = 0;
    virtual pnEvent* makeEvent(int i, const char* parent) = 0;
    virtual pnEffect* makeEffect(int i) = 0;
    virtual pnEffect* makeShrinkEffect(int i) = 0;
    virtual pnObject* makeDataText(int i) = 0;
    virtual pnObject* makeLabel(int i) = 0;
    virtual pnEvent* makeDataTextEvent(int i, const char* parent) = 0;
    virtual pnEvent* makeLabelEvent(int i, const char* parent) = 0;
    virtual pnEffect* makeTextEffect() = 0;
    virtual pnObject* makeSubObject(int i) = 0;
    virtual pnEvent* makeSubEvent(int i, const char* parent) = 0;
    virtual pnEffect* makeSubEffect(int i) = 0;
    virtual pnEffect* makeJointEffect() = 0;
    virtual pnEffect* makeShrinkSubEffect(int i) = 0;

    // Takes the part made for slot (i, which) into the chart's object list;
    // null fills the slot with a placeholder. A refused part is deleted.
    // Returns the object that now fills the slot, or null.
    virtual pnObject* addSlotPart(int i, int which, pnObject* part) = 0;
    // The same for the slot's event; a null event becomes a placeholder event
    // of the slot's name showing the slot's part, child of parent.
    virtual pnEvent* addSlotEvent(int i, int which, pnEvent* event, const char* parent) = 0;
    // Takes an effect; one of the same name is replaced (and deleted). Null is
    // ignored. 1 when the effect was taken.
    virtual int putEffect(pnEffect* effect) = 0;
    // Takes every generated part and event out of the chart and the scene
    // graph and deletes them (the effects stay), before the parts are made
    // again. parent is kept as the parent of the events of points added
    // later.
    virtual void resetChartParts(const char* parent) = 0;
};
