// Chart blocks of scene files: the reader of each chart kind's block, which
// the scene reader reaches through the maker it is given (the scene layer
// cannot name the kinds itself).
#pragma once

#include <memory>

#include "scene/pnChartBlockReader.h"

// Gives the scene reader the chart kinds. The program, the render tool and
// tests call it once before reading scene files; until then chart blocks are
// skipped.
void installChartKinds();

// A reader for one block of the keyword SYM_BAR_CHART, SYM_PIE_CHART,
// SYM_LINE_CHART or SYM_VOLUME_CHART; null for any other keyword.
std::unique_ptr<pnChartBlockReader> pnMakeChartBlockReader(int keyword);
