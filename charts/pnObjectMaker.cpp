#include "charts/pnObjectMaker.h"

#include "charts/pnBarChart.h"
#include "charts/pnLineChart.h"
#include "charts/pnPieChart.h"
#include "charts/pnVolumeChart.h"
#include "scene/pnBackground.h"
#include "scene/pnCounter.h"
#include "scene/pnModel.h"
#include "scene/pnObjectKind.h"
#include "scene/pnPanel.h"
#include "scene/pnString.h"
#include "scene/pnVolume.h"

std::unique_ptr<pnObject> pnMakeObject(const char* typeName) {
    const pnObjectKindInfo* row = pnFindObjectKind(typeName);
    switch (row ? row->kind : pnObjectKind::None) {
    case pnObjectKind::String: return std::make_unique<pnString>();
    case pnObjectKind::Panel: return std::make_unique<pnPanel>();
    case pnObjectKind::Model: return std::make_unique<pnModel>();
    case pnObjectKind::Counter: return std::make_unique<pnCounter>();
    case pnObjectKind::Volume: return std::make_unique<pnVolume>();
    case pnObjectKind::Background: return std::make_unique<pnBackground>();
    case pnObjectKind::BarChart: return std::make_unique<pnBarChart>();
    case pnObjectKind::LineChart: return std::make_unique<pnLineChart>();
    case pnObjectKind::PieChart: return std::make_unique<pnPieChart>();
    case pnObjectKind::VolumeChart: return std::make_unique<pnVolumeChart>();
    case pnObjectKind::None:
    case pnObjectKind::Chart: break;
    }
    return nullptr;
}
