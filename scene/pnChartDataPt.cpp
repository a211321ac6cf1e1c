#include "scene/pnChartDataPt.h"

#include "sg/sgRuntime.h"

pnChartDataPt::pnChartDataPt(const pnChartDataPt& other) { *this = other; }

pnChartDataPt& pnChartDataPt::operator=(const pnChartDataPt& other) {
    if (this == &other) return *this;
    growValue = other.growValue;
    name = sgCutName(other.name);
    label = sgCutName(other.label);
    dataText = sgCutName(other.dataText);
    startTime = other.startTime;
    endTime = other.endTime;
    shrinkStart = other.shrinkStart;
    shrinkEnd = other.shrinkEnd;
    spacing = other.spacing;
    depth = other.depth;
    labelOffset = other.labelOffset;
    textOffset = other.textOffset;
    labelRotAngle = other.labelRotAngle;
    labelRotAxis = other.labelRotAxis;
    labelScale = other.labelScale;
    valueRotAngle = other.valueRotAngle;
    valueRotAxis = other.valueRotAxis;
    valueScale = other.valueScale;
    materialName = sgCutName(other.materialName);
    jointMaterialName = sgCutName(other.jointMaterialName);
    return *this;
}

void pnChartDataPt::setName(const char* text) { name = sgCutName(text); }
void pnChartDataPt::setLabel(const char* text) { label = sgCutName(text); }
void pnChartDataPt::setDataText(const char* text) { dataText = sgCutName(text); }
void pnChartDataPt::setMaterialName(const char* text) { materialName = sgCutName(text); }
void pnChartDataPt::setJointMaterialName(const char* text) { jointMaterialName = sgCutName(text); }
