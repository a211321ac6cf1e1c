// The line chart: a polyline through the tops of the data points. Each pair
// of neighbouring points is joined by a segment model one unit long along +y
// (by default a cylinder of diameter 10), placed at the lower-index top,
// turned onto the next top and stretched to the distance by its grow effect;
// each point may carry a joint model (by default a sphere of diameter 10).
// Per point it owns, in list order, the segment (none for point 0), the data
// text, the label and, while joints are shown, the joint, with an event for
// each; the segment's grow and shrink effects; and the chart's joint and text
// effects.
#pragma once

#include <string>

#include "charts/pnChart.h"

class pnLineChart : public pnChart {
public:
    // Part model "cyl10x.3ds", joint model "sphere10x.3ds", joint scale
    // (2, 2, 2), spacing (80, 0, 0), joints on.
    pnLineChart();
    ~pnLineChart() override;

    // The chart part of other and, of another line chart, its joint file,
    // joint material and joint scale. 0 for null.
    int copy(const pnObject* other) override;
    // "lineChart {", the joint keys while joints are shown, the chart part,
    // "}".
    int write(FILE* f, int convertPaths) override;
    const char* getTypeName() const override { return "pnLineChart"; }
    static constexpr pnObjectKind kKind = pnObjectKind::LineChart;
    // The common keys, the value mapping and the joint keys. A block is read
    // as a chart without joints until it names a joint file: the writer
    // writes the joint keys only while joints are shown.
    void beginRead() override { jointFile.clear(); }
    bool readChartKey(pnChartReadContext& in) override;
    // (deleteDataPt is the base's: deleting point 0 also takes the segment of
    // the point that becomes point 0.)

    // Timing of point i (see the table in pnLineChart.cpp). The fields are
    // stored whether or not the chart is built; the plays follow when it is.
    // The four frame setters give 0 unbuilt; a bad index changes nothing.
    int setDataPtDefaultGrow(int i) override;
    // Refused (0) while the point shrinks.
    int clearDataPtGrow(int i) override;
    int setDataPtDefaultShrink(int i) override;
    int clearDataPtShrink(int i) override;
    int setDataPtStartTime(int i, int frame) override;
    int setDataPtEndTime(int i, int frame) override;
    int setDataPtShrinkStart(int i, int frame) override;
    int setDataPtShrinkEnd(int i, int frame) override;

    // Built: every segment takes v as its inner scale. The point count, 0
    // unbuilt.
    int setBaseScale(const sgVec3& v) override;
    // Positions are cumulative: a changed spacing lays the whole chart out
    // again (built).
    void setDataPtSpacing(int i, const sgVec3& v) override;
    // Spacing (d, 0, 0).
    void setDataPtSpacingDistance(int i, float distance) override;
    void storeDataPtSpacing(int i, const sgVec3& v) override;
    // Built: both segments at the point follow (place, turn, grow effect),
    // and the point's joint and texts move to its new top.
    void setDataPtGrowValue(int i, double value) override;

    pnObject* makeObject(int i) override;
    pnEffect* makeEffect(int i) override;
    pnEvent* makeDataTextEvent(int i, const char* parent) override;
    pnEvent* makeLabelEvent(int i, const char* parent) override;
    pnObject* makeSubObject(int i) override;
    pnEvent* makeSubEvent(int i, const char* parent) override;
    pnEffect* makeJointEffect() override;
    // Every segment, joint, data text and label to its place.
    void updateLayout() override;

    // Joints. Setting a file turns joints on; they are shown only while the
    // file is not empty. A built chart whose joints come or go makes its parts
    // again, so every point keeps its slots.
    void setJointFile(const char* name) override;
    const char* getJointFile() const override { return jointFile.c_str(); }
    // Every point takes the name; built, every joint takes the material.
    void setJointMaterialName(const char* name) override;
    const char* getJointMaterialName() const override { return jointMaterial.c_str(); }
    // The joints' inner scale (their scale origin).
    void setJointScaleXYZ(float x, float y, float z) override;
    void setJointScale(const sgVec3& v) override;
    void setJointScaleX(float x) override;
    void setJointScaleY(float y) override;
    void setJointScaleZ(float z) override;
    sgVec3 getJointScale() const override { return jointScale; }
    int getShowJoint() const override { return showJoint && !jointFile.empty(); }
    void setDataPtJointMaterialName(int i, const char* name) override;

    // Marks and stores the chart scale; built, every part takes it. The point
    // count, 0 unbuilt.
    int setScaleAll(const sgVec3& v);

    // Where the text parts stand: above (or, for a negative value, below) the
    // point's top, which is raised along +y whatever the chart direction.
    sgVec3 getDataTextPosition(int i) const override;

    // Segment i (from point i-1's top A to point i's top B): A, |B - A| and
    // the pivot rotation turning +y onto B - A. 0 for i < 1 or out of range.
    int getSegment(int i, sgVec3* start, float* length, float* angle, sgVec3* axis) const;
    // Point i's position raised by its mapped value along +y.
    sgVec3 getDataPtTop(int i) const;
    float getSegmentLength() const { return segmentLength; }

protected:
    Layout layout() const override { return getShowJoint() ? LAYOUT_LINE_JOINTS : LAYOUT_LINE; }
    void retimeFirstPoint() override;

private:
    // Segment i to its place, turned and (its grow effect) stretched.
    void placeSegment(int i);
    void placeJoint(int i);
    // Makes every part anew (the slots changed with the joints).
    void regenerateParts();

    std::string jointFile = "sphere10x.3ds";
    sgVec3 jointScale{2, 2, 2};
    int showJoint = 1;
    std::string jointMaterial;
    float segmentLength = 0;
};
