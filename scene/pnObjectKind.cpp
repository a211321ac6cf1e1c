#include "scene/pnObjectKind.h"

#include <cstddef>
#include <cstring>

#include "scene/pnObject.h"

namespace {

using K = pnObjectKind;
using P = pnObjectPage;

// In the enum's order, one row per named kind, so a kind finds its row by
// index.
constexpr pnObjectKindInfo g_kinds[] = {
    {K::String, "pnString", false, P::Text},
    {K::Panel, "pnPanel", false, P::Panel},
    {K::Model, "pnModel", false, P::Model},
    {K::Counter, "pnCounter", false, P::None},
    {K::Volume, "pnVolume", false, P::None},
    {K::Background, "pnBackground", false, P::None},
    {K::BarChart, "pnBarChart", true, P::Bar},
    {K::LineChart, "pnLineChart", true, P::Line},
    {K::PieChart, "pnPieChart", true, P::Pie},
    {K::VolumeChart, "pnVolumeChart", true, P::Area},
};
constexpr std::size_t kNamedKinds = sizeof g_kinds / sizeof g_kinds[0];
static_assert(kNamedKinds == static_cast<std::size_t>(K::Chart) - 1, "one row per named kind");

constexpr bool rowsInKindOrder() {
    for (std::size_t i = 0; i < kNamedKinds; ++i)
        if (static_cast<std::size_t>(g_kinds[i].kind) != i + 1) return false;
    return true;
}
static_assert(rowsInKindOrder(), "the rows follow the enum");

// The row of a named kind; null for None and Chart.
const pnObjectKindInfo* rowOf(pnObjectKind kind) {
    const std::size_t i = static_cast<std::size_t>(kind);
    return i >= 1 && i <= kNamedKinds ? &g_kinds[i - 1] : nullptr;
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

