// Chart blocks of scene files. The scene reader walks the block, reads the
// common object fields and the "data" blocks, and hands every other key to
// the chart being read: the chart base takes the keys of every kind
// (pnChart::readChartKey), each kind its own.
#include "charts/pnChartRead.h"

#include "charts/pnBarChart.h"
#include "charts/pnLineChart.h"
#include "charts/pnPieChart.h"
#include "charts/pnVolumeChart.h"
#include "scene/pnLexer.h"

namespace {

class ChartBlockReader : public pnChartBlockReader {
public:
    explicit ChartBlockReader(std::unique_ptr<pnChart> made) : chart(std::move(made)) { chart->beginRead(); }

    pnObject* getChart() override { return chart.get(); }
    bool readKey(pnChartReadContext& in) override { return chart->readChartKey(in); }
    void addDataPt(const pnChartDataPt& point) override { chart->addDataPt(point); }
    pnObject* finish() override {
        chart->finishRead();
        return chart.release();
    }

private:
    std::unique_ptr<pnChart> chart;
};

// The hJust word of a file, -1 for none.
int justFromWord(const std::string& w) {
    if (w == "Left" || w == "left") return pnChart::JUST_LEFT;
    if (w == "Right" || w == "right") return pnChart::JUST_RIGHT;
    if (w == "Center" || w == "center") return pnChart::JUST_CENTER;
    return -1;
}

}  // namespace

std::unique_ptr<pnChartBlockReader> pnMakeChartBlockReader(int keyword) {
    std::unique_ptr<pnChart> chart;
    switch (keyword) {
    case SYM_BAR_CHART: chart = std::make_unique<pnBarChart>(); break;
    case SYM_PIE_CHART: chart = std::make_unique<pnPieChart>(); break;
    case SYM_LINE_CHART: chart = std::make_unique<pnLineChart>(); break;
    case SYM_VOLUME_CHART: chart = std::make_unique<pnVolumeChart>(); break;
    default: return nullptr;
    }
    return std::make_unique<ChartBlockReader>(std::move(chart));
}

void installChartKinds() {
    pnScene::setChartBlockReaders(&pnMakeChartBlockReader);
}

// ---- reading ----

void pnChart::readMaterialKey(pnChartReadContext& in, void (pnChart::*set)(const char*)) {
    const std::string n = pnScene::readQuoted();
    if (in.knownMaterial(n)) (this->*set)(n.c_str());
}

void pnChart::readStyleKey(pnChartReadContext& in, void (pnChart::*set)(const char*)) {
    const std::string n = pnScene::readQuoted();
    if (in.knownStringProperty(n)) (this->*set)(n.c_str());
}

bool pnChart::readChartKey(pnChartReadContext& in) {
    switch (sym) {
    // A chart keeps its texture name only as a name (the parts are not
    // textured), which the object setter would not store.
    case SYM_TEXTURE: setTextureName(pnScene::readQuoted().c_str()); return true;
    case SYM_BASE_SCALE: setBaseScale(pnScene::readVec3()); return true;
    case SYM_DIRECTION: setDirection(pnScene::readVec3()); return true;
    case SYM_SHOW_DATA: setShowData(pnScene::readInt()); return true;
    case SYM_SHOW_LABEL: setShowLabel(pnScene::readInt()); return true;
    case SYM_H_JUST: {
        const std::string w = pnScene::readQuoted();
        const int j = justFromWord(w);
        if (j >= 0)
            setHJust(j);
        else
            in.report("Unidentifiable token for hJust: ", w);
        return true;
    }
    case SYM_LABEL_MATERIAL:
    case SYM_LABEL_PROPERTY: readMaterialKey(in, &pnChart::setLabelMaterialName); return true;
    case SYM_DATA_MATERIAL:
    case SYM_DATA_PROPERTY: readMaterialKey(in, &pnChart::setDataMaterialName); return true;
    case SYM_LABEL_BACK_MATERIAL:
    case SYM_LABEL_BACK_PROPERTY: readMaterialKey(in, &pnChart::setLabelBackMaterialName); return true;
    case SYM_DATA_BACK_MATERIAL:
    case SYM_DATA_BACK_PROPERTY: readMaterialKey(in, &pnChart::setDataBackMaterialName); return true;
    case SYM_LABEL_STRING: readStyleKey(in, &pnChart::setLabelStringName); return true;
    case SYM_DATA_STRING: readStyleKey(in, &pnChart::setDataStringName); return true;
    case SYM_VALUE_ROT_ANGLE: setValueRotAngle(pnScene::readFloat()); return true;
    case SYM_VALUE_ROT_AXIS: setValueRotAxis(pnScene::readVec3()); return true;
    // The scale setters multiply: from a new chart's (1, 1, 1) they give the
    // file's value.
    case SYM_VALUE_SCALE: setValueScale(pnScene::readVec3()); return true;
    case SYM_LABEL_ROT_ANGLE: setLabelRotAngle(pnScene::readFloat()); return true;
    case SYM_LABEL_ROT_AXIS: setLabelRotAxis(pnScene::readVec3()); return true;
    case SYM_LABEL_SCALE: setLabelScale(pnScene::readVec3()); return true;
    case SYM_LABEL_OFFSET: setLabelOffset(pnScene::readVec3()); return true;
    case SYM_TEXT_OFFSET: setTextOffset(pnScene::readVec3()); return true;
    case SYM_SPACING: setSpacing(pnScene::readVec3()); return true;
    default: return false;
    }
}

bool pnChart::readValueMapping() {
    switch (sym) {
    case SYM_DATA_MIN: setDataMin(pnScene::readFloat()); return true;
    case SYM_DATA_MAX: setDataMax(pnScene::readFloat()); return true;
    case SYM_GRAPH_MIN: setGraphMin(pnScene::readFloat()); return true;
    case SYM_HEIGHT_SCALE: setHeightScale(pnScene::readFloat()); return true;
    default: return false;
    }
}
