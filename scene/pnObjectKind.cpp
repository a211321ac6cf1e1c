#include "scene/pnObjectKind.h"

#include <cstring>

#include "scene/pnBackground.h"
#include "scene/pnCounter.h"
#include "scene/pnModel.h"
#include "scene/pnObject.h"
#include "scene/pnPanel.h"
#include "scene/pnString.h"
#include "scene/pnVolume.h"

namespace {

using K = pnObjectKind;
using P = pnObjectPage;

// Every kind gets a new object of its own: an undo snapshot never shares the
// live object (a counter included).
pnObjectKindInfo g_kinds[] = {
    {K::String, "pnString", false, P::Text, pnMakeKind<pnString>},
    {K::Panel, "pnPanel", false, P::Panel, pnMakeKind<pnPanel>},
    {K::Model, "pnModel", false, P::Model, pnMakeKind<pnModel>},
    {K::Counter, "pnCounter", false, P::None, pnMakeKind<pnCounter>},
    {K::Volume, "pnVolume", false, P::None, pnMakeKind<pnVolume>},
    {K::Background, "pnBackground", false, P::None, pnMakeKind<pnBackground>},
    {K::BarChart, "pnBarChart", true, P::Bar, nullptr},
    {K::LineChart, "pnLineChart", true, P::Line, nullptr},
    {K::PieChart, "pnPieChart", true, P::Pie, nullptr},
    {K::VolumeChart, "pnVolumeChart", true, P::Area, nullptr},
};

pnObjectKindInfo* rowOf(pnObjectKind kind) {
    for (pnObjectKindInfo& row : g_kinds)
        if (row.kind == kind) return &row;
    return nullptr;
}

}  // namespace

const pnObjectKindInfo* pnFindObjectKind(const char* typeName) {
    if (!typeName) return nullptr;
    for (const pnObjectKindInfo& row : g_kinds)
        if (std::strcmp(row.typeName, typeName) == 0) return &row;
    return nullptr;
}

const pnObjectKindInfo* pnFindObjectKind(const pnObject* object) {
    return object ? pnFindObjectKind(object->getTypeName()) : nullptr;
}

pnObjectKind pnKindOf(const pnObject* object) {
    const pnObjectKindInfo* row = pnFindObjectKind(object);
    return row ? row->kind : pnObjectKind::None;
}

bool pnIsKind(const pnObject* object, pnObjectKind kind) {
    if (!object) return false;
    if (kind == pnObjectKind::Chart) {
        const pnObjectKindInfo* row = pnFindObjectKind(object);
        return row && row->chart;
    }
    // One compare for a named kind; None is no kind, so nothing is of it.
    const pnObjectKindInfo* row = rowOf(kind);
    return row && std::strcmp(object->getTypeName(), row->typeName) == 0;
}

pnObjectPage pnObjectPageOf(const pnObject* object) {
    const pnObjectKindInfo* row = pnFindObjectKind(object);
    return row ? row->page : pnObjectPage::None;
}

std::unique_ptr<pnObject> pnMakeObject(const char* typeName) {
    const pnObjectKindInfo* row = pnFindObjectKind(typeName);
    return row && row->make ? row->make() : nullptr;
}

void pnSetObjectMaker(pnObjectKind kind, pnObjectMaker make) {
    if (pnObjectKindInfo* row = rowOf(kind)) row->make = make;
}
