#include "ui/properties/rules/GraphRules.h"

#include "charts/pnBarChart.h"
#include "charts/pnLineChart.h"
#include "charts/pnPieChart.h"
#include "charts/pnVolumeChart.h"
#include "scene/pnEvent.h"
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "scene/pnStringProperty.h"
#include "ui/properties/rules/ControlRules.h"
#include "sg/sgRuntime.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

struct TypeTexts {
    const char* caption;
    const char* name;
};
const TypeTexts kTypes[] = {
    {"Bar Graph", "BarGraph"}, {"Line Graph", "LineGraph"}, {"Pie Graph", "PieGraph"}, {"Area Graph", "AreaGraph"}};

bool knownType(int type) { return type >= GRAPH_BAR && type <= GRAPH_AREA; }

std::string numbered(const std::string& base, int i) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03d", i);
    return base + digits;
}

// Name of material M - back (back 1 = the last), or null where the scene has
// too few: that material then stays unset.
const char* materialFromEnd(const pnScene& scene, int back) {
    const int index = scene.getNumMaterials() - back;
    if (index < 0) return nullptr;
    const pnMaterial* m = scene.getMaterial(index);
    return m ? m->getName().c_str() : nullptr;
}

// Every other item takes the last material, the others the second-to-last.
const char* alternating(const pnScene& scene, int i) { return materialFromEnd(scene, i % 2 == 0 ? 1 : 2); }

pnChart* newChart(int type) {
    switch (type) {
    case GRAPH_BAR: return new pnBarChart;
    case GRAPH_LINE: return new pnLineChart;
    case GRAPH_PIE: return new pnPieChart;
    case GRAPH_AREA: return new pnVolumeChart;
    default: return nullptr;
    }
}

void setRow(pnChart& chart, int i, const GraphRow& row, float value) {
    chart.setDataPtLabel(i, row.label.c_str());
    chart.setDataPtDataText(i, row.dataText.c_str());
    chart.setDataPtGrowValue(i, value);
}

}  // namespace

const char* GraphTypeCaption(int type) { return knownType(type) ? kTypes[type].caption : ""; }
const char* GraphDefaultName(int type) { return knownType(type) ? kTypes[type].name : ""; }
const char* GraphValueCaption(int type) { return type == GRAPH_PIE ? "Percent" : "Height"; }
int GraphMinCount(int type) { return type == GRAPH_LINE || type == GRAPH_AREA ? 2 : 1; }
int GraphClampCount(int type, int count) { return std::clamp(count, GraphMinCount(type), kGraphMaxItems); }
int GraphLastPage(int count) { return std::max(0, (count + kGraphRowsPerPage - 1) / kGraphRowsPerPage - 1); }
bool GraphRowUsed(int page, int row, int count) { return page * kGraphRowsPerPage + row < count; }

std::string UniqueObjectName(const pnScene& scene, const std::string& name) { return scene.freeObjectName(name, 999); }

std::string UniqueStyleName(const pnScene& scene) {
    for (int i = 1; i < 1000; ++i) {
        std::string candidate = numbered("StringP", i);
        if (!scene.findStringProperty(candidate.c_str())) return candidate;
    }
    return {};
}

std::vector<float> PieSliceValues(const std::vector<GraphRow>& rows) {
    // A float share held at or below what it stands for, so the shares never
    // round up past 100 together.
    auto notAbove = [](double x) {
        float f = static_cast<float>(x);
        while (f > 0.0f && static_cast<double>(f) > x) f = std::nextafter(f, 0.0f);
        return std::max(f, 0.0f);
    };
    std::vector<float> values(rows.size(), 0.0f);
    std::vector<size_t> open;  // rows left at 0, before the stop
    double sum = 0.0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const double rest = 100.0 - sum;
        if (rest <= 0.0) break;
        if (!(rows[i].value > 0.0f)) {
            open.push_back(i);
            continue;
        }
        values[i] = rows[i].value > rest ? notAbove(rest) : rows[i].value;
        sum += values[i];
    }
    if (!open.empty() && sum < 100.0) {
        const float share = notAbove((100.0 - sum) / static_cast<double>(open.size()));
        for (size_t i : open) values[i] = share;
    }
    return values;
}

std::unique_ptr<pnChart> BuildGraph(pnScene& scene, int type, const std::string& name,
                                    const std::vector<GraphRow>& rows) {
    const int count = static_cast<int>(std::min<size_t>(rows.size(), kGraphMaxItems));
    if (!knownType(type) || count < 1) return nullptr;
    const std::string chartName = UniqueObjectName(scene, name);
    if (chartName.empty() || sgCharCount(chartName) > kGraphMaxNameChars) return nullptr;
    // Both style names are found before either is added, so a refusal adds none.
    std::string styleNames[2];
    styleNames[0] = UniqueStyleName(scene);
    if (styleNames[0].empty()) return nullptr;
    for (int i = std::stoi(styleNames[0].substr(7)) + 1; i < 1000 && styleNames[1].empty(); ++i)
        if (!scene.findStringProperty(numbered("StringP", i).c_str())) styleNames[1] = numbered("StringP", i);
    if (styleNames[1].empty()) return nullptr;

    std::vector<float> values;
    int slices = count;
    if (type == GRAPH_PIE) {
        values = PieSliceValues(std::vector<GraphRow>(rows.begin(), rows.begin() + count));
        slices = static_cast<int>(std::count_if(values.begin(), values.end(), [](float v) { return v > 0.0f; }));
    }

    std::unique_ptr<pnChart> chart(newChart(type));
    chart->setName(chartName.c_str());
    if (type == GRAPH_BAR) chart->setFileName("ChartSlices/circle.3ds");
    if (type == GRAPH_LINE) {
        chart->setFileName("ChartSlices/cyl10x.3ds");
        chart->setJointFile("ChartSlices/sphere10x.3ds");
    }
    chart->setNumDataPts(slices);
    if (type == GRAPH_BAR)
        if (const char* m = materialFromEnd(scene, 1)) chart->setMaterial(m);

    if (type == GRAPH_PIE) {
        // Rows that get no share make no slice.
        int slice = 0;
        for (int i = 0; i < count; ++i) {
            const GraphRow& row = rows[static_cast<size_t>(i)];
            const float share = values[static_cast<size_t>(i)];
            if (!(share > 0.0f)) continue;
            if (row.textFollowsValue && !row.dataText.empty() && share != row.value) {
                GraphRow shown = row;
                char text[32];
                std::snprintf(text, sizeof text, "%.2f", static_cast<double>(share));
                shown.dataText = text;
                setRow(*chart, slice++, shown, share);
            } else {
                setRow(*chart, slice++, row, share);
            }
        }
        for (int i = 0; i < slices; ++i) {
            const char* m = i < slices - 1 ? alternating(scene, i) : materialFromEnd(scene, 4);
            if (m) chart->setDataPtMaterialName(i, m);
        }
    } else {
        for (int i = 0; i < count; ++i) setRow(*chart, i, rows[i], rows[i].value);
    }
    if (type == GRAPH_LINE) {
        if (const char* m = materialFromEnd(scene, 1)) chart->setMaterial(m);
        if (const char* m = materialFromEnd(scene, 2)) chart->setJointMaterialName(m);
    }
    if (type == GRAPH_AREA)
        for (int i = 0; i < count; ++i)
            if (const char* m = alternating(scene, i)) chart->setDataPtMaterialName(i, m);

    for (const std::string& styleName : styleNames) {
        auto style = std::make_unique<pnStringProperty>();
        style->setName(styleName.c_str());
        style->setFont("Arial");
        style->setDepth(0.0f);
        if (!scene.addStringProperty(style.get())) return nullptr;
        style.release();  // the scene owns it
    }
    chart->setLabelStringName(styleNames[0].c_str());
    chart->setDataStringName(styleNames[1].c_str());
    return chart;
}

pnObject* CreateGraph(pnScene& scene, int type, const std::string& name, const std::vector<GraphRow>& rows) {
    std::unique_ptr<pnChart> chart = BuildGraph(scene, type, name, rows);
    if (!chart) return nullptr;
    pnChart* made = chart.get();
    if (!scene.addObject(made)) return nullptr;
    chart.release();  // the scene owns it
    scene.addChart(made);
    auto event = std::make_unique<pnEvent>();
    event->setName(made->getName().c_str());
    event->addObjectName(made->getName().c_str());
    pnEvent* shown = event.get();
    if (scene.addEvent(shown)) {
        event.release();
        if (scene.getRoots()) scene.addObjectsToScene(shown);
    }
    return made;
}

bool RunGraphWizard(GraphWizardSteps& steps, GraphWizardResult& result) {
    for (;;) {
        if (steps.RunType(result.type) != GraphWizardSteps::NEXT) return false;
        for (;;) {
            if (steps.RunName(result.type, result.name, result.count) != GraphWizardSteps::NEXT) break;
            result.count = GraphClampCount(result.type, result.count);
            result.rows.clear();
            const GraphWizardSteps::Result input = steps.RunInput(result.type, result.count, result.rows);
            if (input == GraphWizardSteps::CANCEL) return false;
            if (input == GraphWizardSteps::NEXT) return true;
        }
    }
}

std::vector<std::string> CutShapeNames(int kind) {
    return {kind == 2 ? "cyl10x" : "circle", "tri1",  "rect1",      "slimrect1",   "square",  "5gon",
            "6gon",                           "8gon1", "cyl5x",      "beveledrec",  "rdrect",  "beveledrec2",
            "hcircle",                        "hrect", "heart",      "star1"};
}

std::vector<std::string> JointShapeNames() { return {"sphere10x", "2-6box", "box2x", "2tetracone2x"}; }

std::string ShapeModelOfPicture(const std::string& picture) {
    if (picture.size() < 3) return picture;
    return picture.substr(0, picture.size() - 3) + "3ds";
}

std::string StoredShapePath(const std::string& startDir, const std::string& path) {
    std::string folder = startDir;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (folder.empty() || path.size() <= folder.size() + 1) return path;
    if (path.compare(0, folder.size(), folder) != 0 || path[folder.size()] != '/') return path;
    return path.substr(folder.size() + 1);
}

void CGraphInputRows::Start(int type, int count) {
    m_nType = type;
    m_nCount = std::clamp(count, 1, kGraphMaxItems);
    m_nPage = 0;
    for (int i = 0; i < kGraphMaxItems; ++i) {
        m_rows[i] = GraphRow();
        m_bFollow[i] = true;
    }
}

bool CGraphInputRows::PrevPage() {
    if (m_nPage <= 0) return false;
    --m_nPage;
    return true;
}

bool CGraphInputRows::NextPage() {
    if (m_nPage >= GetLastPage()) return false;
    ++m_nPage;
    return true;
}

int CGraphInputRows::item(int r) const { return std::clamp(m_nPage * kGraphRowsPerPage + r, 0, kGraphMaxItems - 1); }

const GraphRow& CGraphInputRows::Row(int r) const { return m_rows[item(r)]; }
bool CGraphInputRows::Follows(int r) const { return m_bFollow[item(r)]; }

void CGraphInputRows::CommitLabel(int r, const std::string& text) {
    if (RowUsed(r)) m_rows[item(r)].label = text;
}

void CGraphInputRows::CommitDataText(int r, const std::string& text) {
    if (!RowUsed(r)) return;
    m_rows[item(r)].dataText = text;
    m_bFollow[item(r)] = false;
}

std::string CGraphInputRows::CommitValue(int r, const std::string& text) {
    if (!RowUsed(r)) return text;
    GraphRow& row = m_rows[item(r)];
    float v = static_cast<float>(ParseLeadingFloat(text));
    std::string shown = text;
    if (v < 0 && (m_nType == GRAPH_PIE || m_nType == GRAPH_AREA)) {
        v = 0;
        shown = "0.00";
    }
    row.value = v;
    if (m_bFollow[item(r)]) row.dataText = shown;
    return shown;
}

std::vector<GraphRow> CGraphInputRows::GetRows() const {
    std::vector<GraphRow> rows(m_rows, m_rows + m_nCount);
    for (int i = 0; i < m_nCount; ++i) rows[static_cast<size_t>(i)].textFollowsValue = m_bFollow[i];
    return rows;
}
