// The pie chart: one series shown as the slices of a 3D pie or ring. Each
// point's value is a percentage of the full circle; its main part is a slice
// mesh (pnPieSliceMesh) in a pnVolume, turned into place about the z axis,
// and its data text and label sit over the middle of the slice.
//
// Every point keeps its three slots: a point with no slice (no whole degree,
// or the circle already full) holds an empty volume, with grow numbers of no
// triangles, so later points keep their indices and a later change can give
// it a slice in place.
#pragma once

#include <optional>

#include "charts/pnChart.h"
#include "charts/pnPieSliceMesh.h"

class pnPieChart : public pnChart {
public:
    pnPieChart();
    ~pnPieChart() override;

    using pnObject::setBevel;

    // The chart settings and points, then the pie's own fields. 0 for null.
    int copy(const pnObject* other) override;
    // "pieChart {", the common chart block, the pie's keys, "}".
    int write(FILE* f, int convertPaths) override;
    const char* getTypeName() const override { return "pnPieChart"; }
    static constexpr pnObjectKind kKind = pnObjectKind::PieChart;
    // The common keys and the pie's own. The shape settings refuse values
    // that do not fit the others (an inner radius beyond the outer one, a
    // bevel deeper than half the depth), and a file gives them in an order
    // that would refuse some: they are applied together at the end of the
    // block (finishRead).
    bool readChartKey(pnChartReadContext& in) override;
    void finishRead() override;

    // The bevel of the slice edges: refused unless 0 <= b, 2b <= the depth
    // and every point depth, and b <= the outer radius. Built: every slice.
    void setBevel(float bevel) override;
    // Refused below 0 or below twice the bevel. Built: every slice, and the
    // texts move onto the new top.
    void setDepth(float depth) override;

    int deleteDataPt(int i) override;
    int setDataPtDefaultGrow(int i) override;
    int clearDataPtGrow(int i) override;
    int setDataPtDefaultShrink(int i) override;
    int clearDataPtShrink(int i) override;
    int setDataPtStartTime(int i, int frame) override;
    int setDataPtEndTime(int i, int frame) override;
    int setDataPtShrinkStart(int i, int frame) override;
    int setDataPtShrinkEnd(int i, int frame) override;
    // A depth > 0 replaces the chart depth for the one slice; refused below 0
    // and between 0 and twice the bevel. Built: that slice and its texts.
    int setDataPtDepth(int i, float depth) override;
    void setDataPtSpacing(int i, const sgVec3& v) override;
    void setDataPtSpacingDistance(int i, float distance) override;
    void storeDataPtSpacing(int i, const sgVec3& v) override;
    // Percentages in (0, 100]. Built: the slices from i on and the layout.
    void setDataPtGrowValue(int i, double value) override;

    // The slice: an empty volume for a point with no slice; null when the
    // mesh builder refuses (or a bad index).
    pnObject* makeObject(int i) override;
    // Grow (shrink) numbers of the slice: triangles, degrees, triangles per
    // degree; no triangles and no degrees for a point with no slice.
    pnEffect* makeEffect(int i) override;
    pnEffect* makeShrinkEffect(int i) override;
    pnEvent* makeDataTextEvent(int i, const char* parent) override;
    pnEvent* makeLabelEvent(int i, const char* parent) override;
    // Slices turned and placed, texts placed, and shown only for points that
    // have a slice and while their show flag is on.
    void updateLayout() override;

    void setRotDirection(int direction) override;
    void setClose(int close) override;
    void setInnerRad(float radius) override;
    void setOuterRad(float radius) override;
    int getRotDirection() const override { return rotDirection; }
    int getClose() const override { return close; }
    float getInnerRad() const override { return innerRad; }
    float getOuterRad() const override { return outerRad; }
    float getBevel() const override { return bevel; }
    void setStartAngle(int angle) override;
    // Built: a point's text shows only while the point has a slice and the
    // flag is on (showText).
    void setShowData(int show) override;
    void setShowLabel(int show) override;
    void setShowSide(int show) override;
    int getShowSide() const override { return showSide; }
    float getDepth() const override { return depth; }
    int getStartAngle() const { return startAngle; }
    // Every data text and label to its place, shown as updateLayout says.
    void placeTexts();

    // Over the middle of the slice, at its top: the ring's middle radius at
    // the slice's middle angle, plus the offsets, position and spacing.
    sgVec3 getDataTextPosition(int i) const override;
    sgVec3 getLabelPosition(int i) const override;

    // Whole-degree start and end of point i's slice. 0 for a bad index
    // ("index out of range: ") or when the slices before fill the circle
    // ("Sum of angles of pie slices are over 360 deg.\n").
    int getSliceAngles(int i, int* start, int* end) const;
    // 1 when point i has a slice of at least one whole degree.
    int hasSlice(int i) const;
    pnPieSliceShape getSliceShape() const;
    // The depth of point i's slice: its own when > 0, else the chart's.
    float getSliceDepth(int i) const;

    // A growing or shrinking slice draws a prefix of its triangles, never
    // more than the mesh holds whatever the effect's numbers say.
    void applyChartEffect(pnScene& scene, int frame, pnEvent* event, pnEffect* effect, pnObject* part) override;

    // After the last slot of a point added at the end: the slice before it
    // changes when the pie is closed (it no longer runs to 360 degrees).
    pnEvent* addSlotEvent(int i, int which, pnEvent* event, const char* parent) override;

protected:
    // n points share the circle: 100/n each, with its whole-number text, no
    // spacing, label "m".
    void setDefaultDataPt(int i, int n) override;
    // Refused once the values fill the circle.
    bool canAppendDataPt() const override;
    // The slices stand about the centre whatever the justification.
    bool appendMovesPoints() const override { return false; }
    // Rebuilds the slices of points from..last (only `from` when one), each
    // replacing its old slice in place; a slice the builder refuses keeps the
    // old one. The grow and shrink numbers follow.
    void rebuildSlices(int from, bool one = false);
    void rebuildSlice(int j);
    void placeSlice(pnObject* slice, int i) const;
    sgVec3 textPosition(int i, const sgVec3& chartOffset, const sgVec3& pointOffset) const;
    void setGrowNumbers(pnEffect* effect, int i, bool shrink) const;
    // The slice angles without the diagnostics (layout checks).
    int sliceAngles(int i, int* start, int* end, bool report) const;
    // Shows point i's text part (which) and its event's first play when the
    // point has a slice and show is on.
    void showText(int i, int which, int show);
    // A text event: shown from the end of the grow while the point has a
    // slice and show is on, hidden halfway through a shrink.
    pnEvent* textEvent(int i, int which, int show, const char* parent) const;

    int rotDirection = 1;
    int close = 0;
    float innerRad = 0.0f;
    float outerRad = 120.0f;
    float bevel = 0.0f;
    int startAngle = 0;
    int showSide = 1;
    float depth = 30.0f;
    // Shape settings read from a chart block, applied by finishRead.
    std::optional<float> readDepth, readInnerRad, readOuterRad, readBevel;
};
