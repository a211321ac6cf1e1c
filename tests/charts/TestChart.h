// A minimal chart kind for testing the chart base: it stands in for the kind
// it is named after, taking that kind's type name and its slot layout (and a
// pie's re-layout rule), and makes simple parts: a volume as the main and extra part, text parts
// for the data text and label, grow and shrink effects and their events in
// the shape the real kinds use.
#pragma once

#include <cstdio>
#include <string>

#include "charts/pnChart.h"
#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnString.h"
#include "scene/pnVolume.h"
#include "sg/sgRuntime.h"

class TestChart : public pnChart {
public:
    explicit TestChart(const char* kind = "pnBarChart", int joints = 1) : kind_(kind), joints_(joints) {
        spacing = sgVec3(80, 0, 0);
    }

    const char* getTypeName() const override { return kind_.c_str(); }
    int getShowJoint() const override { return kind_ == "pnLineChart" ? joints_ : 0; }
    void setShowJoint(int on) { joints_ = on; }
    Layout layout() const override {
        if (kind_ == "pnVolumeChart") return LAYOUT_VOLUME;
        if (kind_ == "pnLineChart") return getShowJoint() ? LAYOUT_LINE_JOINTS : LAYOUT_LINE;
        return LAYOUT_THREE;
    }
    bool appendMovesPoints() const override { return kind_ != "pnPieChart" && pnChart::appendMovesPoints(); }

    // The points whose main part cannot be made (as a pie slice of no whole
    // degree): a value of exactly 0.
    // The main part's event and shrink effect, the data text, the label and
    // the text effect are the base's.
    pnObject* makeObject(int i) override;
    pnEffect* makeEffect(int i) override;
    pnEvent* makeDataTextEvent(int i, const char* parent) override;
    pnEvent* makeLabelEvent(int i, const char* parent) override;
    pnObject* makeSubObject(int i) override;
    pnEvent* makeSubEvent(int i, const char* parent) override;
    pnEffect* makeSubEffect(int i) override;
    pnEffect* makeShrinkSubEffect(int i) override;
    pnEffect* makeJointEffect() override;

    void setDataPtGrowValue(int i, double value) override;
    void setDataPtSpacing(int i, const sgVec3& v) override;
    void storeDataPtSpacing(int i, const sgVec3& v) override;
    void setDataPtName(int i, const char* chartName) override { renameDataPt(i, chartName); }
    int setBaseScale(const sgVec3& v) override {
        baseScale = v;
        return built ? getNumDataPts() : 0;
    }
    int deleteDataPt(int i) override;
    void updateLayout() override;

    // The grow scale the kind gives point i's main part.
    sgVec3 growScale(int i) const { return sgVec3(1, static_cast<float>(getDataPtHeight(i)), 1); }

    using pnChart::deleteDataPtParts;
    using pnChart::renameDataPt;

private:
    std::string kind_;
    int joints_;
};
