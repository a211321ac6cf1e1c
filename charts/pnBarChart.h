// The bar chart: one upright 3D bar per data point (a model, by default a
// cylinder of diameter 10 and height 1 that the grow effect stretches to the
// point's value), with the point's value text above the bar's end and its
// label below the base line. Per point it owns, in list order, the bar, the
// data text and the label, an event for each, the bar's grow effect and, for
// a point that shrinks, its shrink effect; the chart's one text effect is
// played by every text event.
#pragma once

#include "charts/pnChart.h"

class pnModel;

class pnBarChart : public pnChart {
public:
    // Part model "cyl10x.3ds", baseScale (2.5, 1, 2.5), spacing (80, 0, 0).
    pnBarChart();
    ~pnBarChart() override;

    using pnChart::setRotAngle;

    // The chart part of other only. 0 for null, 1 otherwise.
    int copy(const pnObject* other) override;
    // Built: every bar takes the chart's rotation axis again and the angle,
    // every text part the angle.
    void setRotAngle(float angle) override;
    // "barChart {", the chart part with the expansion after the common
    // fields, "}".
    int write(FILE* f, int convertPaths) override;
    // The common keys, the value mapping and the expansion.
    bool readChartKey(pnChartReadContext& in) override;
    // Built: every bar turns to the direction.
    void setDirection(const sgVec3& v) override;
    // Moves the spacings onto the new axis (turning them round when the
    // expansion crosses to the other side), swaps the offsets' x and y when
    // the axis changes, sets the direction and, built, lays the chart out.
    void setExpansion(int e) override;
    const char* getTypeName() const override { return "pnBarChart"; }
    static constexpr pnObjectKind kKind = pnObjectKind::BarChart;

    // Timing of point i (see the table in pnBarChart.cpp). The fields are
    // stored whether or not the chart is built; the plays follow when it is.
    // A bad index changes nothing and gives 0.
    int setDataPtDefaultGrow(int i) override;
    // Refused (0) while the point shrinks.
    int clearDataPtGrow(int i) override;
    int setDataPtDefaultShrink(int i) override;
    int clearDataPtShrink(int i) override;
    int setDataPtStartTime(int i, int frame) override;
    int setDataPtEndTime(int i, int frame) override;
    int setDataPtShrinkStart(int i, int frame) override;
    int setDataPtShrinkEnd(int i, int frame) override;

    // Built: every bar takes v as its inner scale. The point count, 0 unbuilt.
    int setBaseScale(const sgVec3& v) override;
    // A changed spacing is stored and, built, the chart is laid out again.
    void setDataPtSpacing(int i, const sgVec3& v) override;
    // Spacing (d times direction y, d times direction x, 0).
    void setDataPtSpacingDistance(int i, float distance) override;
    void storeDataPtSpacing(int i, const sgVec3& v) override;
    // Built: the bar's grow effect takes the new height, the data text moves.
    void setDataPtGrowValue(int i, double value) override;

    pnObject* makeObject(int i) override;
    pnEffect* makeEffect(int i) override;
    pnEvent* makeDataTextEvent(int i, const char* parent) override;
    pnEvent* makeLabelEvent(int i, const char* parent) override;
    // Every bar, data text and label to its place.
    void updateLayout() override;

    // The grow scale of point i: (1, mapped value, 1), or (0, 0, 0) for a
    // value within 0.001 of zero.
    sgVec3 growScale(int i) const;
};
