// Writing a chart: the common chart fields and one data block per point;
// each kind wraps them in its own block.
#include "charts/pnChart.h"

#include "scene/pnWriteUtil.h"

namespace {

// The word the reader's justFromWord (pnChartRead.cpp) takes back.
const char* justWord(int j) {
    return j == pnChart::JUST_LEFT ? "Left" : j == pnChart::JUST_RIGHT ? "Right" : "Center";
}

int writeDataVec3(FILE* f, const char* key, const sgVec3& v) {
    return pnWritef(f, "        %s\t( %f %f %f )\n", key, v[0], v[1], v[2]);
}

}  // namespace

// ---- writing ----

int pnChart::write(FILE* f, int convertPaths) {
    if (!f) return 0;
    writeChartFields(f, convertPaths);
    return writeDataPts(f);
}

int pnChart::writeChartFields(FILE* f, int convertPaths) {
    if (!f) return 0;
    pnObject::write(f, convertPaths);
    pnWriteVec3(f, "baseScale", baseScale);
    pnWriteVec3(f, "direction", direction);
    pnWriteInt(f, "showData", showData);
    pnWriteInt(f, "showLabel", showLabel);
    pnWriteQuoted(f, "hJust", justWord(hJust));
    if (!labelMaterial.empty()) pnWriteQuoted(f, "labelMaterial", labelMaterial);
    if (!dataMaterial.empty()) pnWriteQuoted(f, "dataMaterial", dataMaterial);
    if (!labelBackMaterial.empty()) pnWriteQuoted(f, "labelBackMaterial", labelBackMaterial);
    if (!dataBackMaterial.empty()) pnWriteQuoted(f, "dataBackMaterial", dataBackMaterial);
    if (!labelString.empty()) pnWriteQuoted(f, "labelString", labelString);
    if (!dataString.empty()) pnWriteQuoted(f, "dataString", dataString);
    if (chartFlags[DATA_MIN_SET]) pnWriteFloat(f, "dataMin", dataMin);
    if (chartFlags[DATA_MAX_SET]) pnWriteFloat(f, "dataMax", dataMax);
    if (chartFlags[GRAPH_MIN_SET]) pnWriteFloat(f, "graphMin", graphMin);
    if (chartFlags[HEIGHT_SCALE_SET]) pnWriteFloat(f, "heightScale", heightScale);
    pnWriteFloat(f, "valueRotAngle", valueRotAngle);
    pnWriteVec3(f, "valueRotAxis", valueRotAxis);
    pnWriteVec3(f, "valueScale", valueScale);
    pnWriteFloat(f, "labelRotAngle", labelRotAngle);
    pnWriteVec3(f, "labelRotAxis", labelRotAxis);
    pnWriteVec3(f, "labelScale", labelScale);
    pnWriteVec3(f, "labelOffset", labelOffset);
    pnWriteVec3(f, "textOffset", textOffset);
    pnWriteVec3(f, "spacing", spacing);
    return pnWriteOk(f);
}

int pnChart::writeDataPts(FILE* f) {
    if (!f) return 0;
    for (const pnChartDataPt& p : dataPts) {
        pnWritef(f, "    data {\n");
        writeDataVec3(f, "spacing", p.spacing);
        pnWritef(f, "        growValue\t%f\n", p.growValue);
        pnWritef(f, "        label\t\"%s\"\n", pnQuotable(p.label).c_str());
        pnWritef(f, "        text\t\"%s\"\n", pnQuotable(p.dataText).c_str());
        writeDataVec3(f, "labelOffset", p.labelOffset);
        writeDataVec3(f, "textOffset", p.textOffset);
        writeDataVec3(f, "labelScale", p.labelScale);
        writeDataVec3(f, "valueScale", p.valueScale);
        writeDataVec3(f, "labelRotAxis", p.labelRotAxis);
        writeDataVec3(f, "valueRotAxis", p.valueRotAxis);
        pnWritef(f, "        labelRotAngle\t%f\n", p.labelRotAngle);
        pnWritef(f, "        valueRotAngle\t%f\n", p.valueRotAngle);
        pnWritef(f, "        text\t\"%s\"\n", pnQuotable(p.dataText).c_str());
        if (p.startTime >= 0) pnWritef(f, "        startTime\t%d\n", p.startTime);
        if (p.endTime >= 0) pnWritef(f, "        endTime\t%d\n", p.endTime);
        if (p.shrinkStart >= 0) pnWritef(f, "        shrinkStart\t%d\n", p.shrinkStart);
        if (p.shrinkEnd >= 0) pnWritef(f, "        shrinkEnd\t%d\n", p.shrinkEnd);
        if (!p.materialName.empty()) pnWritef(f, "        material\t\"%s\"\n", pnQuotable(p.materialName).c_str());
        if (!p.jointMaterialName.empty())
            pnWritef(f, "        jointMaterial\t\"%s\"\n", pnQuotable(p.jointMaterialName).c_str());
        if (p.depth > 0) pnWritef(f, "        depth\t%f\n", p.depth);
        pnWritef(f, "    }\n");
    }
    return pnWriteOk(f);
}
