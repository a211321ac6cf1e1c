// Chart blocks of scene files. The scene reader walks the block, reads the
// common object fields and the "data" blocks, and hands every other key to
// the reader below, which takes the keys of its kind:
//
//   every kind:           baseScale, direction, hJust, showData, showLabel,
//                         spacing, the label and data materials, back
//                         materials and text styles, the label and value
//                         offsets, rotations and scales
//   bar, line, volume:    dataMin, dataMax, graphMin, heightScale
//   bar:                  expansion
//   pie, volume:          depth
//   pie:                  rotDirection, close, innerRad, outerRad, bevel,
//                         showSide, startAngle
//   line:                 jointFile, jointMaterial (jointProperty), jointScale
#include "charts/pnChartRead.h"

#include <optional>
#include <string>

#include "charts/pnBarChart.h"
#include "charts/pnLineChart.h"
#include "charts/pnPieChart.h"
#include "charts/pnVolumeChart.h"
#include "scene/pnLexer.h"

namespace {

class ChartBlockReader : public pnChartBlockReader {
public:
    ChartBlockReader(int keyword, pnChart* chart) : keyword(keyword), chart(chart) {}

    pnObject* getChart() override { return chart.get(); }
    bool readKey(pnChartReadContext& in) override;
    void addDataPt(const pnChartDataPt& point) override { chart->addDataPt(point); }
    pnObject* finish() override;

private:
    bool readCommonChartKey(pnChartReadContext& in);
    bool readValueMapping();
    bool readPieKey();
    bool readLineKey(pnChartReadContext& in);
    // A material (text-style) name key: the chart takes a name the scene
    // holds; another keeps the chart's default.
    template <class Set>
    void materialKey(pnChartReadContext& in, Set set) {
        std::string name = pnScene::readQuoted();
        if (in.knownMaterial(name)) (chart.get()->*set)(name.c_str());
    }
    template <class Set>
    void styleKey(pnChartReadContext& in, Set set) {
        std::string name = pnScene::readQuoted();
        if (in.knownStringProperty(name)) (chart.get()->*set)(name.c_str());
    }

    int keyword;
    std::unique_ptr<pnChart> chart;
    // The pie's shape settings refuse values that do not fit the others
    // (an inner radius beyond the outer one, a bevel deeper than half the
    // depth); the file gives them in an order that would refuse some, so
    // they are applied together at the end of the block.
    std::optional<float> pieDepth, pieInnerRad, pieOuterRad, pieBevel;
    bool jointFileRead = false;
};

int justWord(const std::string& w) {
    if (w == "Left" || w == "left") return pnChart::JUST_LEFT;
    if (w == "Right" || w == "right") return pnChart::JUST_RIGHT;
    if (w == "Center" || w == "center") return pnChart::JUST_CENTER;
    return -1;
}

int expansionWord(const std::string& w) {
    if (w == "Left" || w == "left") return pnChart::EXPAND_LEFT;
    if (w == "Right" || w == "right") return pnChart::EXPAND_RIGHT;
    if (w == "Up" || w == "up") return pnChart::EXPAND_UP;
    return pnChart::EXPAND_DOWN;
}

bool ChartBlockReader::readCommonChartKey(pnChartReadContext& in) {
    pnChart* c = chart.get();
    switch (sym) {
        case SYM_BASE_SCALE: c->setBaseScale(pnScene::readVec3()); return true;
        case SYM_DIRECTION: c->setDirection(pnScene::readVec3()); return true;
        case SYM_SHOW_DATA: c->setShowData(pnScene::readInt()); return true;
        case SYM_SHOW_LABEL: c->setShowLabel(pnScene::readInt()); return true;
        case SYM_H_JUST: {
            std::string w = pnScene::readQuoted();
            int j = justWord(w);
            if (j >= 0)
                c->setHJust(j);
            else
                in.report("Unidentifiable token for hJust: ", w);
            return true;
        }
        case SYM_LABEL_MATERIAL:
        case SYM_LABEL_PROPERTY: materialKey(in, &pnChart::setLabelMaterialName); return true;
        case SYM_DATA_MATERIAL:
        case SYM_DATA_PROPERTY: materialKey(in, &pnChart::setDataMaterialName); return true;
        case SYM_LABEL_BACK_MATERIAL:
        case SYM_LABEL_BACK_PROPERTY: materialKey(in, &pnChart::setLabelBackMaterialName); return true;
        case SYM_DATA_BACK_MATERIAL:
        case SYM_DATA_BACK_PROPERTY: materialKey(in, &pnChart::setDataBackMaterialName); return true;
        case SYM_LABEL_STRING: styleKey(in, &pnChart::setLabelStringName); return true;
        case SYM_DATA_STRING: styleKey(in, &pnChart::setDataStringName); return true;
        case SYM_VALUE_ROT_ANGLE: c->setValueRotAngle(pnScene::readFloat()); return true;
        case SYM_VALUE_ROT_AXIS: c->setValueRotAxis(pnScene::readVec3()); return true;
        // The scale setters multiply: from a new chart's (1, 1, 1) they give
        // the file's value.
        case SYM_VALUE_SCALE: c->setValueScale(pnScene::readVec3()); return true;
        case SYM_LABEL_ROT_ANGLE: c->setLabelRotAngle(pnScene::readFloat()); return true;
        case SYM_LABEL_ROT_AXIS: c->setLabelRotAxis(pnScene::readVec3()); return true;
        case SYM_LABEL_SCALE: c->setLabelScale(pnScene::readVec3()); return true;
        case SYM_LABEL_OFFSET: c->setLabelOffset(pnScene::readVec3()); return true;
        case SYM_TEXT_OFFSET: c->setTextOffset(pnScene::readVec3()); return true;
        case SYM_SPACING: c->setSpacing(pnScene::readVec3()); return true;
        default: return false;
    }
}

// Bar, line and volume charts map their values; a pie's are percentages.
bool ChartBlockReader::readValueMapping() {
    pnChart* c = chart.get();
    switch (sym) {
        case SYM_DATA_MIN: c->setDataMin(pnScene::readFloat()); return true;
        case SYM_DATA_MAX: c->setDataMax(pnScene::readFloat()); return true;
        case SYM_GRAPH_MIN: c->setGraphMin(pnScene::readFloat()); return true;
        case SYM_HEIGHT_SCALE: c->setHeightScale(pnScene::readFloat()); return true;
        default: return false;
    }
}

bool ChartBlockReader::readPieKey() {
    pnChart* c = chart.get();
    switch (sym) {
        case SYM_ROT_DIRECTION: c->setRotDirection(pnScene::readInt()); return true;
        case SYM_CLOSE: c->setClose(pnScene::readInt()); return true;
        case SYM_INNER_RAD: pieInnerRad = pnScene::readFloat(); return true;
        case SYM_OUTER_RAD: pieOuterRad = pnScene::readFloat(); return true;
        case SYM_DEPTH: pieDepth = pnScene::readFloat(); return true;
        case SYM_BEVEL: pieBevel = pnScene::readFloat(); return true;
        case SYM_SHOW_SIDE: c->setShowSide(pnScene::readInt()); return true;
        case SYM_START_ANGLE: c->setStartAngle(pnScene::readInt()); return true;
        default: return false;
    }
}

bool ChartBlockReader::readLineKey(pnChartReadContext& in) {
    pnChart* c = chart.get();
    switch (sym) {
        case SYM_JOINT_FILE:
            c->setJointFile(pnScene::readQuoted().c_str());
            jointFileRead = true;
            return true;
        case SYM_JOINT_MATERIAL:
        case SYM_JOINT_PROPERTY: materialKey(in, &pnChart::setJointMaterialName); return true;
        case SYM_JOINT_SCALE: c->setJointScale(pnScene::readVec3()); return true;
        default: return false;
    }
}

bool ChartBlockReader::readKey(pnChartReadContext& in) {
    // A chart keeps its texture name only as a name (the parts are not
    // textured), which the object setter would not store.
    if (sym == SYM_TEXTURE) {
        chart->setTextureName(pnScene::readQuoted().c_str());
        return true;
    }
    if (readCommonChartKey(in)) return true;
    switch (keyword) {
        case SYM_BAR_CHART:
            if (sym == SYM_EXPANSION) {
                chart->setExpansion(expansionWord(pnScene::readQuoted()));
                return true;
            }
            return readValueMapping();
        case SYM_PIE_CHART: return readPieKey();
        case SYM_LINE_CHART: return readValueMapping() || readLineKey(in);
        case SYM_VOLUME_CHART:
            if (sym == SYM_DEPTH) {
                chart->setDepth(pnScene::readFloat());
                return true;
            }
            return readValueMapping();
        default: return false;
    }
}

pnObject* ChartBlockReader::finish() {
    if (keyword == SYM_PIE_CHART) {
        // Depth and radii first, while the bevel is still 0; the outer radius
        // before the inner one, which must stay below it; the bevel last,
        // checked against them and the points' own depths.
        if (pieDepth) chart->setDepth(*pieDepth);
        if (pieOuterRad) chart->setOuterRad(*pieOuterRad);
        if (pieInnerRad) chart->setInnerRad(*pieInnerRad);
        if (pieBevel) chart->setBevel(*pieBevel);
    }
    // A line chart writes its joint keys only while it shows joints: a block
    // without them is a chart without joints.
    if (keyword == SYM_LINE_CHART && !jointFileRead) chart->setJointFile("");
    return chart.release();
}

}  // namespace

std::unique_ptr<pnChartBlockReader> pnMakeChartBlockReader(int keyword) {
    pnChart* chart = nullptr;
    switch (keyword) {
        case SYM_BAR_CHART: chart = new pnBarChart; break;
        case SYM_PIE_CHART: chart = new pnPieChart; break;
        case SYM_LINE_CHART: chart = new pnLineChart; break;
        case SYM_VOLUME_CHART: chart = new pnVolumeChart; break;
        default: return nullptr;
    }
    return std::make_unique<ChartBlockReader>(keyword, chart);
}

void installChartKinds() { pnScene::setChartBlockReaders(&pnMakeChartBlockReader); }
