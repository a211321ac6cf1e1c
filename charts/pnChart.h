// Base of the four chart kinds (bar, pie, line and volume charts). A chart is
// one series of data points with chart-wide settings for its labels and value
// texts and a value mapping. Once shown, it generates its parts (per point a
// main part, a data text, a label and for some kinds an extra part), their
// effects and their events, which it owns in three lists. The kinds make the
// parts through the hooks below; the scene drives the making
// (pnScene::generateChartParts) through the pnChartParts interface, and
// membership, playback and picking reach the chart through pnChartAccess.
//
// Part slots of point i in the object list start at m(i)
// (getDataPtObjectIndex):
//   bar, pie:             3i      main, data text, label
//   line without joints:  3i - 1  main (none for point 0), data text, label
//   line with joints:     4i - 1  main (none for point 0), data text, label, joint
//   volume:               4i - 2  main, data text, label, box (point 0: -1,
//                                 data text and label only)
// The event list runs parallel to the object list, and every slot is always
// filled (a part that cannot be made keeps a placeholder), so look-ups by
// index never drift.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "scene/pnChartBlockReader.h"
#include "scene/pnChartDataPt.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "scene/pnSceneChartParts.h"
#include "charts/pnOwnedList.h"
#include "sg/sgVec.h"

class pnEvent;
class pnEffect;
class pnString;
class sgGroup;
class sgDCS;

class pnChart : public pnObject, public pnChartAccess, public pnChartParts {
public:
    // Chart set flags.
    enum { CENTER_SET = 0, HEIGHT_SCALE_SET, DATA_MIN_SET, DATA_MAX_SET, GRAPH_MIN_SET, NUM_CHART_FLAGS };
    // Justification (hJust) and bar expansion.
    enum { JUST_LEFT = 0, JUST_CENTER = 1, JUST_RIGHT = 2 };
    enum { EXPAND_LEFT = 0, EXPAND_RIGHT = 1, EXPAND_UP = 2, EXPAND_DOWN = 3 };
    static constexpr int INITIAL_CAPACITY = 8;
    static constexpr double DEG_TO_RAD = 0.017453292519944444;
    static constexpr double RAD_TO_DEG = 57.29577951307855;

    pnChart();
    // Takes the parts and events out of the scene graph and deletes them, the
    // effects, then the chart's own nodes.
    ~pnChart() override;

    using pnObject::getNode;
    using pnObject::setCenter;
    using pnObject::setPosition;
    using pnObject::setRotAxis;
    using pnObject::setScale;
    using pnObject::setSpacing;

    // ---- pnObject operations the chart overrides ----

    // Settings and data points of other (a chart); none of its parts or
    // nodes. The copy counts as built and has empty part lists. 1, 0 for null.
    int copy(const pnObject* other) override;
    // Built: renames the switch node and every point's parts (setDataPtName).
    void setName(const char* name) override;
    // The part model file; a volume chart refuses it. Built: every main part.
    void setFileName(const char* file) override;
    // Built: every part moves by the change and, while no centre was given,
    // takes the chart position as its centre.
    void setPosition(const sgVec3& v) override;
    // These four store, mark and give the value to every part.
    void setRotAxis(const sgVec3& v) override;
    void setRotAngle(float angle) override;
    void setScale(const sgVec3& v) override;
    void setHighlight(int highlight) override;
    // Marks the centre as given; built: every part.
    void setCenter(const sgVec3& v) override;
    // The chart material; every point takes it (setDataPtMaterialName).
    void setMaterial(const char* name) override;
    // The chart part of a chart block: the common object fields, the common
    // chart keys and one data block per point. Kinds wrap it in their block.
    int write(FILE* f, int convertPaths) override;
    // Reading a chart block (pnChartBlockReader): beginRead on a new chart
    // before the first key; readChartKey for every key at the lexer's
    // current token that is not a common object field or a data block,
    // reading it and its value and giving true, or giving false, consuming
    // nothing, for a key the kind does not take; finishRead at the closing
    // brace, for settings that depend on one another. Here the keys of every
    // kind; the kinds add their own.
    virtual void beginRead() {}
    virtual bool readChartKey(pnChartReadContext& in);
    virtual void finishRead() {}
    const char* getTypeName() const override { return "pnChart"; }
    static constexpr pnObjectKind kKind = pnObjectKind::Chart;
    // A switch with a transform and a pivot transform below it; the chart's
    // events hang under the switch after the transform.
    sgNode* getNode() override;
    // 0 left and 2 right stay, anything else is centre; built: re-layout.
    void setHJust(int just) override;
    // The point and part kind (0 main, 1 data text, 2 label, 3 box or joint)
    // of one of the chart's parts; 0 for anything else.
    int findDataPtPart(pnObject* part, int* point, int* which) override;
    int getNumDataPts() const override { return static_cast<int>(dataPts.size()); }
    const pnChartDataPt* getDataPt(int i) const override;
    bool usesMaterial(const std::string& materialName) const override;

    // ---- The chart's own virtual operations, in table order ----

    // The point leaves with its parts, events and effects (deleteDataPtParts);
    // the rest move up, take their new names and, built, are laid out again.
    // A bad index is reported and gives 0. Kinds that must rebuild parts
    // around the gap override it.
    virtual int deleteDataPt(int i);
    // 0 when not built; else the per-point operation for every point, 1.
    virtual int setDefaultGrowAll();
    virtual int clearGrowAll();
    virtual int setDefaultShrinkAll();
    virtual int clearShrinkAll();
    // 1 here; the kinds change the plays.
    virtual int setDataPtDefaultGrow(int i);
    virtual int clearDataPtGrow(int i);
    virtual int setDataPtDefaultShrink(int i);
    virtual int clearDataPtShrink(int i);
    // Store the frame (nothing out of range, 0); the kinds add the plays.
    virtual int setDataPtStartTime(int i, int frame);
    virtual int setDataPtEndTime(int i, int frame);
    virtual int setDataPtShrinkStart(int i, int frame);
    virtual int setDataPtShrinkEnd(int i, int frame);
    // Nothing here (pie slices).
    virtual int setDataPtDepth(int i, float depth);
    // Nothing here; kinds store baseScale and rescale their main parts.
    virtual int setBaseScale(const sgVec3& v);
    // Nothing here; kinds store the point's spacing and re-lay out.
    virtual void setDataPtSpacing(int i, const sgVec3& v);
    virtual void setDataPtSpacingDistance(int i, float distance);
    // Nothing here; kinds store the point's spacing without a re-layout.
    virtual void storeDataPtSpacing(int i, const sgVec3& v);
    // Nothing here; kinds store the value and resize the point's parts.
    virtual void setDataPtGrowValue(int i, double value);
    // Built: renames point i's parts after chartName (renameDataPt). A bad
    // index is reported.
    virtual void setDataPtName(int i, const char* chartName);
    // The makers (pnChartParts). Here the ones the kinds share: the main
    // part's event (makeGrowEvent) and shrink effect (scale 1, for a point
    // that shrinks), the data text and label (setupTextPart) and the one text
    // effect; none of the other parts.
    pnObject* makeObject(int i) override;
    pnEvent* makeEvent(int i, const char* parent) override;
    pnEffect* makeEffect(int i) override;
    pnEffect* makeShrinkEffect(int i) override;
    pnObject* makeDataText(int i) override;
    pnObject* makeLabel(int i) override;
    pnEvent* makeDataTextEvent(int i, const char* parent) override;
    pnEvent* makeLabelEvent(int i, const char* parent) override;
    pnEffect* makeTextEffect() override;
    pnObject* makeSubObject(int i) override;
    pnEvent* makeSubEvent(int i, const char* parent) override;
    pnEffect* makeSubEffect(int i) override;
    pnEffect* makeJointEffect() override;
    pnEffect* makeShrinkSubEffect(int i) override;
    // Nothing here; kinds move every part to its place.
    virtual void updateLayout();
    // Pie settings: nothing / 0 here.
    virtual void setRotDirection(int direction);
    virtual void setClose(int close);
    virtual void setInnerRad(float radius);
    virtual void setOuterRad(float radius);
    virtual int getRotDirection() const;
    virtual int getClose() const;
    virtual float getInnerRad() const;
    virtual float getOuterRad() const;
    virtual float getBevel() const;
    // Line joints: nothing, "" and (1, 1, 1) here.
    virtual void setJointFile(const char* name);
    virtual const char* getJointFile() const;
    virtual void setJointMaterialName(const char* name);
    virtual const char* getJointMaterialName() const;
    virtual void setJointScaleXYZ(float x, float y, float z);
    virtual void setJointScale(const sgVec3& v);
    virtual void setJointScaleX(float x);
    virtual void setJointScaleY(float y);
    virtual void setJointScaleZ(float z);
    virtual sgVec3 getJointScale() const;
    int getShowJoint() const override;
    virtual void setDataPtJointMaterialName(int i, const char* name);
    // (setDepth is pnObject's slot; nothing for a chart.)
    virtual void setStartAngle(int angle);
    virtual void setShowSide(int show);
    virtual int getShowSide() const;
    virtual float getDepth() const;
    // Where a point's data text and label stand. Here: the data text at the
    // point position moved along the direction by the mapped value, then by
    // the point's and the chart's text offsets (mirrored along the direction
    // for negative values, orientOffset); the label at the point position
    // plus both label offsets. Kinds with other rules override both.
    virtual sgVec3 getDataTextPosition(int i) const;
    virtual sgVec3 getLabelPosition(int i) const;

    // ---- Data points ----

    // n points (negative: none). Pie: every value 100/n with its whole-number
    // text; other kinds: 50 / "50" and 100 / "100" alternating, spacing
    // (80, 0, 0) from the second point on. Label "m". A chart with parts
    // makes or drops the parts of the points gained or lost.
    int setNumDataPts(int n);
    // Copies pt to the end (scene reader); makes no part. 1.
    int addDataPt(const pnChartDataPt& pt);
    // Copies the last point to the end and, on a chart that shows its parts,
    // makes the new point's parts. The new count, or 0 (a pie whose values
    // already fill the circle, no point to copy, or parts to make without a
    // scene graph; nothing changes then).
    int appendDataPt();
    int getCapacity() const { return capacity; }

    // The value of point i mapped for display: clamped to dataMin (or else
    // dataMax) where set, minus graphMin where set, times heightScale where
    // set. 0 out of range.
    double getDataPtHeight(int i) const;
    // Each stores the value and sets its flag; built: every point's value is
    // applied again. setDataMax refuses (0) a value not above dataMin.
    int setDataMin(float v);
    int setDataMax(float v);
    int setGraphMin(float v);
    int setHeightScale(float v);
    float getDataMin() const { return dataMin; }
    float getDataMax() const { return dataMax; }
    float getGraphMin() const { return graphMin; }
    float getHeightScale() const { return heightScale; }
    int getChartFlag(int i) const { return (i >= 0 && i < NUM_CHART_FLAGS) ? chartFlags[i] : 0; }

    // Per-point getters: out of range they give a new point's values (texts
    // "").
    int getDataPtStartTime(int i) const { return pointOrDefault(i).startTime; }
    int getDataPtEndTime(int i) const { return pointOrDefault(i).endTime; }
    int getDataPtShrinkStart(int i) const { return pointOrDefault(i).shrinkStart; }
    int getDataPtShrinkEnd(int i) const { return pointOrDefault(i).shrinkEnd; }
    sgVec3 getDataPtSpacing(int i) const { return pointOrDefault(i).spacing; }
    double getDataPtGrowValue(int i) const { return pointOrDefault(i).growValue; }
    float getDataPtDepth(int i) const { return pointOrDefault(i).depth; }
    sgVec3 getDataPtLabelOffset(int i) const { return pointOrDefault(i).labelOffset; }
    sgVec3 getDataPtTextOffset(int i) const { return pointOrDefault(i).textOffset; }
    sgVec3 getDataPtLabelScale(int i) const { return pointOrDefault(i).labelScale; }
    sgVec3 getDataPtValueScale(int i) const { return pointOrDefault(i).valueScale; }
    float getDataPtLabelRotAngle(int i) const { return pointOrDefault(i).labelRotAngle; }
    sgVec3 getDataPtLabelRotAxis(int i) const { return pointOrDefault(i).labelRotAxis; }
    float getDataPtValueRotAngle(int i) const { return pointOrDefault(i).valueRotAngle; }
    sgVec3 getDataPtValueRotAxis(int i) const { return pointOrDefault(i).valueRotAxis; }
    const char* getDataPtLabel(int i) const;
    const char* getDataPtDataText(int i) const;
    const char* getDataPtMaterialName(int i) const;
    const char* getDataPtJointMaterialName(int i) const;

    // Text setters: a bad index is reported and changes nothing. Built: the
    // point's label (data text) takes the text.
    void setDataPtLabel(int i, const char* text);
    void setDataPtDataText(int i, const char* text);
    // Built: the point's main part (a model or volume) and a volume box take
    // the material.
    void setDataPtMaterialName(int i, const char* name);

    // ---- Chart-wide text settings ----

    // Built: every label (data text) that is text takes the name.
    void setLabelMaterialName(const char* name);
    void setDataMaterialName(const char* name);
    void setLabelBackMaterialName(const char* name);
    void setDataBackMaterialName(const char* name);
    void setLabelStringName(const char* name);
    void setDataStringName(const char* name);
    const std::string& getLabelMaterialName() const { return labelMaterial; }
    const std::string& getDataMaterialName() const { return dataMaterial; }
    const std::string& getLabelBackMaterialName() const { return labelBackMaterial; }
    const std::string& getDataBackMaterialName() const { return dataBackMaterial; }
    const std::string& getLabelStringName() const { return labelString; }
    const std::string& getDataStringName() const { return dataString; }

    // Built: the first play of every data-text (label) event shows or hides,
    // and its hidden flag follows. Kinds with their own rule for which texts
    // show (the pie) override both.
    virtual void setShowData(int show);
    virtual void setShowLabel(int show);
    int getShowData() const override { return showData; }
    int getShowLabel() const override { return showLabel; }

    // Offsets: built, every label (data text), or the one point's, is placed
    // again by getLabelPosition (getDataTextPosition).
    void setLabelOffset(const sgVec3& v);
    void setTextOffset(const sgVec3& v);
    void setDataPtLabelOffset(int i, const sgVec3& v);
    void setDataPtTextOffset(int i, const sgVec3& v);
    sgVec3 getLabelOffset() const { return labelOffset; }
    sgVec3 getTextOffset() const { return textOffset; }

    // Scales: the chart's label (value) scale is multiplied component-wise by
    // f; every label (data text) takes point scale times chart scale as its
    // inner scale. The per-point forms store the point's scale.
    void setLabelScale(const sgVec3& f);
    void setValueScale(const sgVec3& f);
    void setDataPtLabelScale(int i, const sgVec3& v);
    void setDataPtValueScale(int i, const sgVec3& v);
    sgVec3 getLabelScale() const { return labelScale; }
    sgVec3 getValueScale() const { return valueScale; }

    // Rotations: store and orient every label (data text), or the point's,
    // by getLabelOrientation (getValueOrientation).
    void setLabelRot(float angle, const sgVec3& axis);
    void setLabelRotAngle(float angle);
    void setLabelRotAxis(const sgVec3& axis);
    void setDataPtLabelRot(int i, float angle, const sgVec3& axis);
    void setValueRot(float angle, const sgVec3& axis);
    void setValueRotAngle(float angle);
    void setValueRotAxis(const sgVec3& axis);
    void setDataPtValueRot(int i, float angle, const sgVec3& axis);
    float getLabelRotAngle() const { return labelRotAngle; }
    sgVec3 getLabelRotAxis() const { return labelRotAxis; }
    float getValueRotAngle() const { return valueRotAngle; }
    sgVec3 getValueRotAxis() const { return valueRotAxis; }
    // The one orientation rule of labels and data texts: the chart's pair
    // when the point's angle is 0, else the chart's quaternion times the
    // point's, turned back into an angle and an axis.
    void getLabelOrientation(int i, float* angle, sgVec3* axis) const;
    void getValueOrientation(int i, float* angle, sgVec3* axis) const;

    // ---- Layout ----

    // Point n's place: (0, 0, 0) out of range; left: position plus the
    // spacings of points 0..n; right: position minus those of n+1..last;
    // centre: position minus half of all, plus those of 0..n.
    sgVec3 getDataPtPosition(int n) const;
    // Component-wise: v where d is 0, else -(v times d).
    static sgVec3 orientOffset(const sgVec3& v, const sgVec3& d);
    int getHJust() const { return hJust; }
    // Every point after the first takes it (storeDataPtSpacing); built:
    // re-layout.
    void setSpacing(const sgVec3& v);
    // (d times direction y, d times direction x, 0).
    void setSpacingDistance(float d);
    float getSpacingDistance() const;
    sgVec3 getSpacing() const { return spacing; }
    // Stores the growth direction; a built bar chart turns every bar to it.
    virtual void setDirection(const sgVec3& v);
    sgVec3 getDirection() const { return direction; }
    // Bar charts: moves the spacings onto the new axis, swaps the offsets' x
    // and y when the axis changes, sets the direction, re-lays out. Nothing
    // here.
    virtual void setExpansion(int e);
    int getExpansion() const { return expansion; }
    // The pivot of part turned to the chart direction (bars): x = 1 -90
    // degrees, x = -1 90, else y = 1 0, y = -1 180, about (0, 0, 1); any
    // other direction leaves it.
    void turnToDirection(pnObject* part) const;

    sgVec3 getBaseScale() const { return baseScale; }
    int setBaseScaleX(float x);
    int setBaseScaleZ(float z);
    void setDataPtSpacingX(int i, float x);

    static double degToRad(double deg) { return deg * DEG_TO_RAD; }
    static double radToDeg(double rad) { return rad * RAD_TO_DEG; }

    // ---- Part lists ----

    // Refused (0) when an item of that name is held; else appended (a part
    // takes the part flag and the chart's scene). 1.
    int addObject(pnObject* object);
    int addEvent(pnEvent* event);
    int addEffect(pnEffect* effect);
    int hasObject(const char* partName) const { return findObject(partName) != nullptr; }
    int hasEffect(const char* partName) const { return findEffect(partName) != nullptr; }
    int hasEvent(const char* partName) const { return findEvent(partName) != nullptr; }
    pnObject* findObject(const char* name) const;
    pnEffect* findEffect(const char* name) const;
    pnEvent* findEvent(const char* name) const;
    // Out of range: the list's message and null.
    pnObject* getObject(int k) const;
    pnEvent* getEvent(int k) const;
    pnEffect* getEffect(int k) const;
    int indexOfObject(const pnObject* object) const;
    int getNumObjects() const { return objects.size(); }
    int getNumEvents() const { return events.size(); }
    int getNumEffects() const { return effects.size(); }
    // Take the item out (not deleted); an empty list is reported, an item the
    // list does not hold is reported by the list. 1 when removed.
    int removeObject(pnObject* object);
    int removeEvent(pnEvent* event);
    int removeEffect(pnEffect* effect);

    // m(i) of the table above, and the slots per point.
    int getDataPtObjectIndex(int i) const;
    int getNumObjectsPerDataPt() const;
    int hasPartSlot(int i, int which) const override;
    // The part (event) in point i's slot which; null when there is none.
    pnObject* getDataPtPart(int i, int which) const;
    pnEvent* getDataPtEvent(int i, int which) const;
    // As findDataPtPart, with the chart's name copied out.
    int findDataPtPart(pnObject* part, std::string* chartName, int* which, int* point);
    // The largest end frame of the last play of every chart event.
    int getLastFrame() const;

    // Names of generated items: the chart name followed by suffix (a format
    // taking the point index, such as "-dataText-%03d"), the chart name cut
    // so that the whole stays within the name limit and names stay distinct.
    std::string generatedName(const char* suffix, int i = 0) const;
    static std::string generatedName(const std::string& chartName, const char* suffix, int i = 0);
    // The name of point i's slot which.
    std::string slotName(const std::string& chartName, int i, int which) const;

    // ---- pnChartAccess ----
    int getNumChartEvents() const override { return getNumEvents(); }
    pnEvent* getChartEvent(int index) const override;
    pnEffect* findChartEffect(const char* partName) const override { return findEffect(partName); }
    int getNumChartParts() const override { return getNumObjects(); }
    pnObject* getChartPart(int index) const override;
    pnObject* findChartPart(const char* partName) const override { return findObject(partName); }
    void setChartEventGroup(sgGroup* group) override { chartEventGroup = group; }
    sgGroup* getChartEventGroup() const { return chartEventGroup; }
    void generateChartParts(pnScene& scene, pnEvent* event) override;
    void removeChartEvent(pnEvent* event) override;
    void deleteChartParts() override;
    int getChartLastFrame() const override { return getLastFrame(); }
    // Grows a pie slice by its triangle count; scales the other kinds' parts
    // through their inner scale from the effect's scale.
    void applyChartEffect(pnScene& scene, int frame, pnEvent* event, pnEffect* effect, pnObject* part) override;

    // ---- pnChartParts ----
    pnObject* getChartObject() override { return this; }
    pnObject* addSlotPart(int i, int which, pnObject* part) override;
    pnEvent* addSlotEvent(int i, int which, pnEvent* event, const char* parent) override;
    int putEffect(pnEffect* effect) override;
    void resetChartParts(const char* parent) override;
    void renameShowingEvent(const std::string& oldName, const std::string& newName) override;
    // Takes every part and event out of the graph and deletes them.
    void clearChartParts();

protected:
    // How the kind lays out its part slots (the table at the top).
    enum Layout { LAYOUT_THREE, LAYOUT_LINE, LAYOUT_LINE_JOINTS, LAYOUT_VOLUME };
    virtual Layout layout() const { return LAYOUT_THREE; }
    // The values, texts, labels and spacing setNumDataPts gives point i of
    // n: 50 / "50" and 100 / "100" alternating, label "m", spacing
    // (80, 0, 0) from the second point on.
    virtual void setDefaultDataPt(int i, int n);
    // 1 while appendDataPt may add a point.
    virtual bool canAppendDataPt() const { return true; }
    // 1 when a point added at the end moves the others (centred and right
    // justification), so the chart is laid out again.
    virtual bool appendMovesPoints() const { return hJust != JUST_LEFT; }
    // The kind's playback rule for a main part under a scaling effect, s
    // the effect's scale at this frame: here the part grows along its own
    // y axis over the base scale (bars, line segments).
    virtual void applyGrowScale(pnObject* part, const sgVec3& s);
    // The common chart fields of a chart block (the object fields first)
    // and its data blocks; the kinds write their own keys around them.
    int writeChartFields(FILE* f, int convertPaths);
    int writeDataPts(FILE* f);
    // The value mapping keys of a chart block (dataMin, dataMax, graphMin,
    // heightScale), which the kinds whose values are not percentages read.
    bool readValueMapping();
    // A material (text-style) name key: the chart takes a name the scene
    // holds; another is reported and the chart keeps its own.
    void readMaterialKey(pnChartReadContext& in, void (pnChart::*set)(const char*));
    void readStyleKey(pnChartReadContext& in, void (pnChart::*set)(const char*));
    // Parts exist for every point and new ones can be made.
    bool partsLive() const { return built && switchNode != nullptr; }
    const pnChartDataPt& pointOrDefault(int i) const;
    bool validPoint(int i) const { return i >= 0 && i < getNumDataPts(); }
    // A point shrinks when its shrink frames are set and in order.
    static bool hasShrink(const pnChartDataPt& p) { return p.shrinkStart >= 0 && p.shrinkEnd >= p.shrinkStart; }
    bool hasShrink(int i) const { return hasShrink(pointOrDefault(i)); }

    // ---- Helpers of the kinds' makers and timing ----

    // A new effect of that name; a new event of that name that moves the
    // object of the same name.
    static pnEffect* newEffect(const std::string& name);
    static pnEvent* newEvent(const std::string& name);
    // The event of the part named after suffix of point i (a valid index):
    // the effect of that name over the point's frames and, for a point that
    // shrinks, the shrink effect named after shrinkSuffix over its shrink
    // frames, then one hiding frame hideDelay frames after the shrink's end.
    pnEvent* makeGrowEvent(int i, const char* parent, const char* suffix, const char* shrinkSuffix,
                           int hideDelay) const;
    // A text (or joint) event named name: effect shows the part of that name
    // (or, with show 0, hides it) over from..to, the hidden flag following.
    static pnEvent* newTextEvent(const std::string& name, const std::string& effect, int from, int to, int show,
                                 const char* parent);
    // The event named name of a part that follows point i's growth (its data
    // text, its label, a line joint): effect shows the part (or, with show 0,
    // hides it) at the end of the point's grow and, for a point that shrinks,
    // hides it for one frame from the start of the shrink. Point 0 of a chart
    // whose point 0 has no main part (line, area) comes with point 1's
    // segment: shown at point 1's start and hidden at the end of point 1's
    // shrink; a point 0 alone keeps its own times. With ownShrink (a line
    // chart's joints) point 0 is shown at point 1's start but hides at its
    // own shrink start, when it has a shrink. Null for a bad index.
    pnEvent* makeFollowerEvent(int i, const std::string& name, const char* effectSuffix, int show,
                               const char* parent, bool ownShrink = false) const;
    // What makeFollowerEvent gives point i's follower: shown from show on,
    // and where hides, hidden for one frame from hide.
    struct FollowerTimes {
        int show = 0;
        bool hides = false;
        int hide = 0;
    };
    FollowerTimes followerTimes(int i, bool ownShrink) const;
    // Gives the event of point i's follower in slot which the times
    // makeFollowerEvent gives it; its effect and visibility stay.
    void retimeFollower(int i, int which, bool ownShrink);
    // A kind whose point 0 has no main part retimes point 0's followers
    // (retimeFollower) here: point 0 comes with point 1's segment, so a
    // change of either point's times, or of which point is point 1, moves
    // them. Called after every timing operation, append and delete.
    virtual void retimeFirstPoint() {}
    // Play k of ev, where both exist: its frames, its start, its end.
    static void playTime(pnEvent* ev, int k, int start, int end);
    static void playStart(pnEvent* ev, int k, int start);
    static void playEnd(pnEvent* ev, int k, int end);
    static bool hasPlay(const pnEvent* ev, int k);
    // Takes point i's shrink plays away: the events of the parts in shrunk
    // lose plays 2 and 1 (shrink and hide), those in hidden play 1 (hide).
    void removeShrinkPlays(int i, std::initializer_list<int> shrunk, std::initializer_list<int> hidden) const;
    // The grow effect that play 0 of point i's main event names, or null.
    pnEffect* growEffect(int i) const;
    // What a new main part or joint takes from the chart: its rotation and
    // scale where set, its centre and its highlight.
    void applyChartTransform(pnObject* part) const;
    // Puts fresh in object slot k in place of the part there, in the scene
    // graph too (with the scene material), and deletes the old part.
    // Nothing without a part in the slot or without fresh.
    void replacePart(int k, pnObject* fresh);

    // The settings every kind gives a data text or label (which is
    // PART_DATA_TEXT or PART_LABEL): name, text, depth 3, inner scale,
    // orientation, position, the chart's rotation and scale where set, its
    // centre, materials, text style and highlight.
    void setupTextPart(pnString* part, int i, int which) const;
    // Position, orientation and inner scale of point i's text part.
    void placeTextPart(int i, int which);
    void orientTextPart(int i, int which);
    void scaleTextPart(int i, int which);
    // The rotation setters and the orientation rule, for the labels (which
    // is PART_LABEL) or the data texts.
    void setTextRot(int which, float angle, const sgVec3& axis);
    void setDataPtTextRot(int which, int i, float angle, const sgVec3& axis);
    void getTextOrientation(int which, int i, float* angle, sgVec3* axis) const;
    // The data text's place with "up" for the direction values grow in.
    sgVec3 dataTextPositionAlong(int i, const sgVec3& up) const;

    // Renames point i's parts and events after chartName, with the effects
    // their plays name: a main event's play 0 the grow effect, later plays
    // the shrink effect; a box the same with its own names; a joint event
    // "-joint" and a text event "-text".
    void renameDataPt(int i, const char* chartName);
    // The bookkeeping of deleting point i: the point leaves the array; when
    // parts exist, its parts and events leave the scene graph and the lists
    // and are deleted with the effects only they played, and the later
    // points' parts, events, effects and plays take their new indices. 0 for
    // a bad index.
    int deleteDataPtParts(int i);
    // Makes point i's parts in list order and hangs their events.
    void makePointParts(int i, const char* parent);

    // The transform node a chart event hangs by: the parent of its part's
    // nodes or, for a part without nodes, the empty node named after the
    // event under the chart's switch. Null when there is none.
    sgNode* findEventTransform(const pnEvent* event) const;
    // Takes event's transform node out of the scene graph and deletes it;
    // the part's nodes stay with the part.
    void detachEventNode(pnEvent* event);
    // Removes and deletes the parts and events of point i's slots (the
    // slots as the layout gives them for index i), collecting the effect
    // names their plays used.
    void destroyPointSlots(int i, std::vector<std::string>& effectNames);
    void destroyPart(pnObject* part, pnEvent* event, std::vector<std::string>& effectNames);
    // Deletes the named effects that no chart event plays any more.
    void deleteUnplayedEffects(const std::vector<std::string>& names);
    void deleteAllEffects();

    std::vector<pnChartDataPt> dataPts;
    int capacity = INITIAL_CAPACITY;
    int showData = 1;
    int showLabel = 1;
    float dataMin = 0;
    float dataMax = 0;
    float graphMin = 0;
    float heightScale = 1.0f;
    sgVec3 baseScale{1, 1, 1};
    // Material and text-style names of labels and data texts ("" = none).
    std::string labelMaterial;
    std::string dataMaterial;
    std::string labelBackMaterial;
    std::string dataBackMaterial;
    std::string labelString;
    std::string dataString;
    sgVec3 direction{0, 1, 0};
    sgVec3 labelOffset{0, -30, 0};
    sgVec3 textOffset{0, 30, 30};
    float labelRotAngle = 0;
    sgVec3 labelRotAxis{0, 1, 0};
    sgVec3 labelScale{1, 1, 1};
    float valueRotAngle = 0;
    sgVec3 valueRotAxis{0, 1, 0};
    sgVec3 valueScale{1, 1, 1};
    int chartFlags[NUM_CHART_FLAGS] = {};
    // Generated parts, effects and events.
    pnOwnedList<pnObject> objects;
    pnOwnedList<pnEffect> effects;
    pnOwnedList<pnEvent> events;
    int hJust = JUST_CENTER;
    sgVec3 spacing{0, 0, 0};
    int expansion = EXPAND_RIGHT;
    sgGroup* chartEventGroup = nullptr;  // not owned
    // The event that shows the chart: parent of the events of new points.
    std::string partParent;
};
