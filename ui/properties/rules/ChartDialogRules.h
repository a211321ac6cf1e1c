// What the "Graph Data" dialogs and the label/data property dialog decide
// without a window: the texts they show for a chart, which of them changed,
// and how OK and Cancel give them to the chart and its text style. The dialogs
// show the forms and apply them through these functions.
#pragma once

#include "scene/pnObjectKind.h"
#include "ui/properties/rules/TextRules.h"

#include <string>

class CKelvanoView;
class pnChart;
class pnScene;
class pnStringProperty;

// One edit: the text shown at start beside the text the user edits. Only a
// changed text is applied.
struct DataField {
    std::string initial, text;
    void Load(const std::string& value) { initial = text = value; }
    bool Changed() const { return text != initial; }
};

enum class DataDialogKind { Bar, Line, Pie, Area };

// The fields of a Graph Data dialog. Bar and pie edit point p[0]; line and
// area the points p[0] = s - 1 and p[1] = s of one segment.
struct ChartDataForm {
    DataDialogKind kind = DataDialogKind::Bar;
    int p[2] = {-1, -1};
    int joint = -1;          // line: the point whose joint material shows
    std::string number[2];   // line and area: the column numbers s and s + 1
    DataField label[2], value[2], height[2];
    DataField spacing[2];    // bar and area: x of the point's spacing
    DataField offset[2][3];  // line: both points' spacing; pie: the slice's
    bool depthOn = false;    // pie
    DataField depth;
    // The material the swatch shows (chosen in the material dialog, else the
    // point's), and the line's joint material of point joint.
    std::string material, jointMaterial;
    std::string pointMaterial, pointJointMaterial;
};

// The chart kind a dialog kind edits.
pnObjectKind DataDialogChartKind(DataDialogKind kind);
// Fills the form from the chart's selected point. False when the dialog must
// close at once: no such point (for line and area, no segment), or a chart of
// another kind.
bool LoadChartData(const pnChart& chart, int selectedPoint, DataDialogKind kind, ChartDataForm& form);
// The OK check: pie percent and area heights may not be negative; such a field
// shows "0.00" and the dialog stays open (false).
bool CheckChartData(ChartDataForm& form);
// Gives the changed fields to the chart (spacing vectors always), as the
// dialog's kind applies them.
void ApplyChartData(pnChart& chart, const ChartDataForm& form);
// OK: the check, then one undo step of the chart around the apply and a
// redraw. False when the dialog stays open.
bool ChartDataOk(CKelvanoView& view, pnChart& chart, ChartDataForm& form);

// ---- label/data property dialog ----

// The sizes and qualities the combos list.
constexpr const char* kLabelSizes[] = {"20", "24", "28", "32", "40", "48", "64", "80", "96", "112"};
constexpr int kLabelSizeCount = 10;

// kind 1 edits the chart's labels, kind 0 its data texts.
struct LabelPropertyForm {
    int kind = 1;
    pnStringProperty* style = nullptr;  // null: OK applies to no style
    // Kept for Cancel: what the edge and shadow dialog may change.
    float border = 0, hOffset = 0, vOffset = 0;
    int styleKind = 1;
    std::string backMaterial;

    bool show = true;
    std::string font = "Arial";
    std::string size = "32";      // the combo's text: an entry or typed
    bool italic = false;
    int spacing = 0;              // -20..50
    std::string bevelWidth = "0.0", bevelHeight = "0.0";
    std::string quality = "5";    // "1".."10" or typed
    int ratio = 100;              // 10..500 (%)
    int extrusion = 50;           // 0..1000
    int origin = 1;               // "Left", "Center", "Right"
    std::string material;         // the swatch's material; chosen replaces it
    bool materialChosen = false;
    bool twoD = false;
    bool nJust = false, wJust = false;
    int nValue = 0, wValue = 0;   // 0..1000
};

const char* LabelDialogCaption(int kind);
// The style the dialog edits: the chart's style of the kind, or a new
// "StringP%03d" style in "Arial" given to the chart when it names none or a
// missing one (null when no name is free); then the form shows it.
void LoadLabelProperty(pnScene& scene, pnChart& chart, int kind, LabelPropertyForm& form);
// Ticking one justification box clears the other.
void TickJust(LabelPropertyForm& form, bool n, bool on);
// Gives the form to the chart and its style, in the dialog's order.
void ApplyLabelProperty(pnChart& chart, const LabelPropertyForm& form);
// OK: one undo step of the chart around the apply, every text of the style
// rebuilt, and a redraw.
void LabelPropertyOk(CKelvanoView& view, pnChart& chart, const LabelPropertyForm& form);
// Cancel: what the edge and shadow dialog changed goes back (the back
// material too, even when it was empty), the texts are rebuilt and redrawn.
void LabelPropertyCancel(CKelvanoView& view, pnChart& chart, const LabelPropertyForm& form);
