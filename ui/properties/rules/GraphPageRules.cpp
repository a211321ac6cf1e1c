#include "ui/properties/rules/GraphPageRules.h"

#include "editor/CEditScope.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/CViewHost.h"
#include "charts/pnChart.h"
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"

#include <algorithm>
#include <memory>

namespace {

double sliceSum(const pnChart& chart) {
    double sum = 0;
    for (int i = 0; i < chart.getNumDataPts(); ++i) sum += chart.getDataPtGrowValue(i);
    return sum;
}

// The pie's own threshold for another slice.
constexpr double kPieFull = 99.999;

}  // namespace

pnObjectKind GraphKind(int type) {
    switch (type) {
    case GRAPH_BAR: return pnObjectKind::BarChart;
    case GRAPH_LINE: return pnObjectKind::LineChart;
    case GRAPH_PIE: return pnObjectKind::PieChart;
    case GRAPH_AREA: return pnObjectKind::VolumeChart;
    default: return pnObjectKind::None;
    }
}

uint32_t SwatchColor(const pnScene& scene, const std::string& materialName) {
    const pnMaterial* m = materialName.empty() ? nullptr : scene.findMaterial(materialName.c_str());
    if (!m) return 0xCCCCCC;
    const sgVec3 d = m->getDiffuse();
    auto channel = [](float c) { return static_cast<uint32_t>(std::clamp(c, 0.0f, 1.0f) * 255.0f); };
    return channel(d[0]) + channel(d[1]) * 256 + channel(d[2]) * 65536;
}

std::string PictureOfModel(const std::string& file) {
    if (file.size() < 3) return file;
    return file.substr(0, file.size() - 3) + "bmp";
}

pnObject* InsertGraph(CKelvanoView& view, int type, const std::string& name, const std::vector<GraphRow>& rows) {
    pnScene* scene = view.GetScene();
    if (!scene || !view.GetDocument()) return nullptr;
    std::unique_ptr<pnChart> chart = BuildGraph(*scene, type, name, rows);
    return chart ? view.InsertNewObject(std::move(chart)) : nullptr;
}

void EditChart(CKelvanoView& view, pnObject* chart, const std::function<void()>& change) {
    CKelvanoDoc* doc = view.GetDocument();
    if (!chart || !doc || !view.GetScene()) return;
    CEditScope edit(view, chart);
    change();
}

bool AddColumn(CKelvanoView& view, pnChart* chart) {
    if (!chart || chart->getNumDataPts() < 1 || !view.GetDocument() || !view.GetScene()) return false;
    EditChart(view, chart, [chart] { chart->appendDataPt(); });
    return true;
}

bool AddSlice(CKelvanoView& view, pnChart* chart) {
    if (!chart || chart->getNumDataPts() < 1 || !view.GetDocument() || !view.GetScene()) return false;
    const double sum = sliceSum(*chart);
    if (sum >= kPieFull) return false;
    const double rest = 100.0 - sum;
    const int last = chart->getNumDataPts() - 1;
    const bool lastAboveRest = chart->getDataPtGrowValue(last) > rest;
    EditChart(view, chart, [&] {
        // Only a point that was added takes the rest.
        if (chart->appendDataPt() && lastAboveRest) chart->setDataPtGrowValue(last + 1, rest);
    });
    return true;
}

bool LimitHeight(CKelvanoView& view, pnChart* chart, int min, int max) {
    if (!chart || !view.GetDocument() || !view.GetScene()) return false;
    // Min always takes; a Max not above it is refused by the chart, which
    // keeps its old maximum.
    EditChart(view, chart, [&] {
        chart->setDataMin(static_cast<float>(min));
        chart->setDataMax(static_cast<float>(max));
    });
    return true;
}

void SetChartShape(CKelvanoView& view, pnChart* chart, const std::string& startDir, const std::string& file,
                   bool joint) {
    if (!chart || file.empty()) return;
    const std::string stored = StoredShapePath(startDir, file);
    EditChart(view, chart, [&] {
        if (joint) chart->setJointFile(stored.c_str());
        else chart->setFileName(stored.c_str());
    });
}

bool SetChartMaterial(CKelvanoView& view, pnChart* chart, int index, bool joint) {
    pnScene* scene = view.GetScene();
    if (!chart || !scene) return false;
    const bool known = index >= 0 && index < scene->getNumMaterials();
    const pnMaterial* material = known ? scene->getMaterial(index) : nullptr;
    EditChart(view, chart, [&] {
        if (!material) return;
        if (joint) chart->setJointMaterialName(material->getName().c_str());
        else chart->setMaterial(material->getName().c_str());
    });
    return material != nullptr;
}

PieRing GetPieRing(const pnChart& pie) {
    PieRing ring{pie.getInnerRad(), pie.getOuterRad(), pie.getDepth(), pie.getBevel(), 0, 0};
    ring.innerSpinMax = std::max(ring.outer - 10.0f, 0.0f);
    ring.bevelSpinMax = ring.depth * 0.5f;
    return ring;
}

PieRing ApplyPieRing(CKelvanoView& view, pnChart* pie, PieRingField field, float value) {
    if (!pie) return PieRing{};
    EditChart(view, pie, [&] {
        float v = value;
        switch (field) {
        case PIE_INNER:
            if (v >= pie->getOuterRad()) v = std::max(pie->getOuterRad() - 10.0f, 0.0f);
            pie->setInnerRad(v);
            break;
        case PIE_OUTER:
            if (pie->getInnerRad() + 10.0f > v) pie->setInnerRad(std::max(v - 10.0f, 0.0f));
            pie->setOuterRad(v);
            break;
        case PIE_DEPTH:
            // The chart takes no depth below twice its bevel: the bevel goes first.
            if (2.0f * pie->getBevel() > v) pie->setBevel(v * 0.5f);
            pie->setDepth(v);
            break;
        case PIE_BEVEL: {
            float smallest = pie->getNumDataPts() > 0 ? 1e30f : pie->getDepth();
            for (int i = 0; i < pie->getNumDataPts(); ++i) {
                const float d = pie->getDataPtDepth(i);
                smallest = std::min(smallest, d == 0.0f ? pie->getDepth() : d);
            }
            pie->setBevel(std::min(v, smallest * 0.5f));
            break;
        }
        }
    });
    return GetPieRing(*pie);
}
