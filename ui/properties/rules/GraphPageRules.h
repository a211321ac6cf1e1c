// What the bar, line, pie and area chart pages do to their chart, without a
// window: every change as one undo step on the view's document, the pie's
// ring rules, Add Column and Add Slice, Limit Height, the shape files and the
// swatch colours. The pages read their controls and show the result.
#pragma once

#include "scene/pnObjectKind.h"
#include "ui/properties/rules/GraphRules.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CKelvanoView;
class pnChart;
class pnObject;
class pnScene;

// The chart kind a page of that chart type edits; None for another type.
pnObjectKind GraphKind(int type);

// A swatch's colour: r + g*256 + b*65536 from the material's diffuse colour
// (each x 255, truncated); 0xCCCCCC for no material or one the scene lacks.
uint32_t SwatchColor(const pnScene& scene, const std::string& materialName);
// The picture of a part model: the file with its last three characters
// replaced by "bmp".
std::string PictureOfModel(const std::string& file);

// A page's CreateGraph: the chart built from the wizard's rows (and its two
// text styles) put into the view's scene as its selection and one undo step.
// Null, with nothing added, when no chart can be made.
pnObject* InsertGraph(CKelvanoView& view, int type, const std::string& name, const std::vector<GraphRow>& rows);

// One edit of the chart: undo record before, the change, redraw, record
// after. Nothing without a document and scene.
void EditChart(CKelvanoView& view, pnObject* chart, const std::function<void()>& change);

// Appends a copy of the last point as one step; false (no step) when the
// chart has no point.
bool AddColumn(CKelvanoView& view, pnChart* chart);
// Appends a slice when the values sum to less than 99.999; a last slice
// above what is left to 100 gives the new slice that rest. False (no step)
// when nothing was added.
bool AddSlice(CKelvanoView& view, pnChart* chart);
// Sets dataMin then dataMax as one step; a max not above min leaves the old
// maximum. False (no step) without a chart, document or scene.
bool LimitHeight(CKelvanoView& view, pnChart* chart, int min, int max);
// Stores a chosen cut shape (joint false) or joint shape as one step,
// relative to the start folder when it lies below it.
void SetChartShape(CKelvanoView& view, pnChart* chart, const std::string& startDir, const std::string& file,
                   bool joint);
// The chart (joint false) or joint material from the scene's list index, as
// one step; false (the step closed unchanged) when the index names none.
bool SetChartMaterial(CKelvanoView& view, pnChart* chart, int index, bool joint);

// The pie page's ring fields.
enum PieRingField { PIE_INNER, PIE_OUTER, PIE_DEPTH, PIE_BEVEL };
struct PieRing {
    float inner, outer, depth, bevel;
    float innerSpinMax, bevelSpinMax;  // the spins run from 0
};
PieRing GetPieRing(const pnChart& pie);
// Applies a typed value (or spin position) to one ring field as one step: an
// inner radius not below the outer becomes outer - 10 (0 at least); an outer
// radius closer than 10 to the inner pulls the inner to outer - 10 (0 at
// least); a depth below twice the bevel halves into the bevel; a bevel is cut
// to half the smallest slice depth (0 counts as the chart's depth).
PieRing ApplyPieRing(CKelvanoView& view, pnChart* pie, PieRingField field, float value);
