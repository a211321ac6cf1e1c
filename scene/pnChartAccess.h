// What membership, playback and picking need of a chart. The chart kinds live
// in a layer above the scene: the chart base implements this beside pnObject,
// and the scene finds it on a chart object with pnScene::chartAccess. A chart
// object without it is neither hung, played nor picked.
#pragma once

#include <string>

class pnScene;
class pnObject;
class pnEvent;
class pnEffect;
class sgGroup;

class pnChartAccess {
public:
    virtual ~pnChartAccess() = default;
    // The chart's own events, effects and generated parts (its objects).
    virtual int getNumChartEvents() const = 0;
    virtual pnEvent* getChartEvent(int index) const = 0;
    virtual pnEffect* findChartEffect(const char* name) const = 0;
    virtual int getNumChartParts() const = 0;
    virtual pnObject* getChartPart(int index) const = 0;
    virtual pnObject* findChartPart(const char* name) const = 0;
    // The group the chart's events hang under.
    virtual void setChartEventGroup(sgGroup* group) = 0;
    // Makes the parts, effects and events when an event shows the chart.
    virtual void generateChartParts(pnScene& scene, pnEvent* event) = 0;
    // The event that shows the chart was renamed: the chart's events name it
    // as their parent, and parts made later hang under it.
    virtual void renameShowingEvent(const std::string& oldName, const std::string& newName) = 0;
    // Takes an event out of the chart's list and deletes it.
    virtual void removeChartEvent(pnEvent* event) = 0;
    // Takes every generated part out of the chart and deletes it.
    virtual void deleteChartParts() = 0;
    // The largest end frame of the chart's animation, 0 for none.
    virtual int getChartLastFrame() const = 0;
    // The chart kind's own effect on one generated part (slices grow, bars
    // scale); t is pnScene::playFraction of the event's current play.
    virtual void applyChartEffect(pnScene& scene, int frame, pnEvent* event, pnEffect* effect, pnObject* part) = 0;
};
