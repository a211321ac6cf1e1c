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

void installChartMakers() {
    pnSetObjectMaker(pnBarChart::kKind, pnMakeKind<pnBarChart>);
    pnSetObjectMaker(pnLineChart::kKind, pnMakeKind<pnLineChart>);
    pnSetObjectMaker(pnPieChart::kKind, pnMakeKind<pnPieChart>);
    pnSetObjectMaker(pnVolumeChart::kKind, pnMakeKind<pnVolumeChart>);
}

void installChartKinds() {
    installChartMakers();
    pnScene::setChartBlockReaders(&pnMakeChartBlockReader);
}
