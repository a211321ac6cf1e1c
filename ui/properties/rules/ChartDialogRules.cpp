#include "ui/properties/rules/ChartDialogRules.h"
#include "ui/properties/rules/TextRules.h"

#include "editor/CEditScope.h"
#include "editor/CKelvanoView.h"
#include "editor/EditLimits.h"
#include "charts/pnChart.h"
#include "scene/pnScene.h"
#include "scene/pnStringProperty.h"
#include "ui/properties/rules/BarRules.h"
#include "ui/properties/rules/ControlRules.h"
#include "ui/properties/rules/GraphPageRules.h"
#include "ui/properties/rules/GraphRules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

double number(const DataField& f) { return ParseLeadingFloat(f.text); }
// A spacing, offset or depth, held within the sizes a chart stays drawable at.
float heldSize(const DataField& f) {
    return static_cast<float>(std::clamp(number(f), -double(kMaxObjectSize), double(kMaxObjectSize)));
}

void applyText(pnChart& chart, int i, const ChartDataForm& f, int column) {
    if (f.label[column].Changed()) chart.setDataPtLabel(i, f.label[column].text.c_str());
    if (f.value[column].Changed()) chart.setDataPtDataText(i, f.value[column].text.c_str());
}

void applyMaterial(pnChart& chart, int i, const ChartDataForm& f) {
    if (!f.material.empty() && f.material != f.pointMaterial) chart.setDataPtMaterialName(i, f.material.c_str());
}

sgVec3 offsetOf(const ChartDataForm& f, int column) {
    return sgVec3(heldSize(f.offset[column][0]), heldSize(f.offset[column][1]), heldSize(f.offset[column][2]));
}

void loadOffset(const pnChart& chart, int i, DataField (&out)[3]) {
    const sgVec3 v = chart.getDataPtSpacing(i);
    for (int k = 0; k < 3; ++k) out[k].Load(FormatDecimals(v[k], 2));
}

void makeViewCurrent(CKelvanoView& view) {
    if (view.GetHost()) view.GetHost()->MakeCurrent();
}

}  // namespace

pnObjectKind DataDialogChartKind(DataDialogKind kind) {
    // The dialog kinds are the graph types in the same order.
    static_assert(static_cast<int>(DataDialogKind::Bar) == GRAPH_BAR &&
                  static_cast<int>(DataDialogKind::Line) == GRAPH_LINE &&
                  static_cast<int>(DataDialogKind::Pie) == GRAPH_PIE &&
                  static_cast<int>(DataDialogKind::Area) == GRAPH_AREA);
    return GraphKind(static_cast<int>(kind));
}

bool LoadChartData(const pnChart& chart, int a, DataDialogKind kind, ChartDataForm& f) {
    f = ChartDataForm();
    f.kind = kind;
    const int n = chart.getNumDataPts();
    // A stale index or a chart of another kind closes the dialog unchanged.
    if (a < 0 || a >= n || !pnIsKind(&chart, DataDialogChartKind(kind))) return false;
    const bool segment = kind == DataDialogKind::Line || kind == DataDialogKind::Area;
    const int s = a > 0 ? a : 1;
    if (segment && s >= n) return false;  // a one-point chart has no segment
    f.p[0] = segment ? s - 1 : a;
    f.p[1] = segment ? s : -1;
    const int columns = segment ? 2 : 1;
    for (int c = 0; c < columns; ++c) {
        const int i = f.p[c];
        f.label[c].Load(chart.getDataPtLabel(i));
        f.value[c].Load(chart.getDataPtDataText(i));
        f.height[c].Load(FormatDecimals(chart.getDataPtGrowValue(i), 2));
        f.spacing[c].Load(FormatDecimals(chart.getDataPtSpacing(i)[0], 0));
        if (kind == DataDialogKind::Line || kind == DataDialogKind::Pie) loadOffset(chart, i, f.offset[c]);
    }
    if (segment) {
        f.number[0] = std::to_string(s);
        f.number[1] = std::to_string(s + 1);
    }
    // The swatch shows the material of the point the dialog colours (P2 for a segment).
    f.pointMaterial = chart.getDataPtMaterialName(segment ? f.p[1] : f.p[0]);
    f.material = f.pointMaterial;
    if (kind == DataDialogKind::Line) {
        f.joint = a;
        f.pointJointMaterial = chart.getDataPtJointMaterialName(a);
        f.jointMaterial = f.pointJointMaterial;
    }
    if (kind == DataDialogKind::Pie) {
        f.depth.Load(FormatDecimals(chart.getDataPtDepth(a), 2));
        f.depthOn = number(f.depth) != 0.0;
    }
    return true;
}

bool CheckChartData(ChartDataForm& f) {
    bool ok = true;
    auto refuseNegative = [&](DataField& field) {
        if (number(field) < 0.0) {
            field.text = "0.00";
            ok = false;
        }
    };
    if (f.kind == DataDialogKind::Pie) refuseNegative(f.height[0]);
    if (f.kind == DataDialogKind::Area) {
        refuseNegative(f.height[0]);
        refuseNegative(f.height[1]);
    }
    return ok;
}

void ApplyChartData(pnChart& chart, const ChartDataForm& f) {
    const bool segment = f.kind == DataDialogKind::Line || f.kind == DataDialogKind::Area;
    const int columns = segment ? 2 : 1;
    for (int c = 0; c < columns; ++c) {
        const int i = f.p[c];
        applyText(chart, i, f, c);
        if (f.kind != DataDialogKind::Pie && f.height[c].Changed()) chart.setDataPtGrowValue(i, number(f.height[c]));
        if ((f.kind == DataDialogKind::Bar || f.kind == DataDialogKind::Area) && f.spacing[c].Changed())
            chart.setDataPtSpacingX(i, heldSize(f.spacing[c]));
        if (f.kind == DataDialogKind::Line) chart.setDataPtSpacing(i, offsetOf(f, c));
    }
    applyMaterial(chart, segment ? f.p[1] : f.p[0], f);
    if (f.kind == DataDialogKind::Line && !f.jointMaterial.empty() && f.jointMaterial != f.pointJointMaterial)
        chart.setDataPtJointMaterialName(f.joint, f.jointMaterial.c_str());
    if (f.kind != DataDialogKind::Pie) return;

    const int a = f.p[0];
    if (f.height[0].Changed()) {
        // The slices never sum to more than 100. A pie that already does (a
        // file may hold one) keeps a raised slice where it was: it used to
        // lower it by the excess.
        double v = number(f.height[0]);
        const double old = chart.getDataPtGrowValue(a);
        if (v > old) {
            double sum = 0.0;
            for (int i = 0; i < chart.getNumDataPts(); ++i) sum += chart.getDataPtGrowValue(i);
            const double rest = std::max(0.0, 100.0 - sum);
            if (rest < v - old) v = old + rest;
        }
        chart.setDataPtGrowValue(a, v);
    }
    if (!f.depthOn)
        chart.setDataPtDepth(a, 0.0f);  // the slice takes the chart's depth
    else if (f.depth.Changed())
        // A slice thinner than its bevelled edges cannot be made: it takes the
        // least depth the slice accepts (twice the bevel).
        chart.setDataPtDepth(a, std::max(heldSize(f.depth), 2.0f * chart.getBevel()));
    chart.setDataPtSpacing(a, offsetOf(f, 0));
}

bool ChartDataOk(CKelvanoView& view, pnChart& chart, ChartDataForm& f) {
    if (!CheckChartData(f)) return false;
    // The chart rebuilds geometry in the view's context.
    makeViewCurrent(view);
    CEditScope edit(view, &chart);
    ApplyChartData(chart, f);
    return true;
}

// ---- label/data property dialog ----

const char* LabelDialogCaption(int kind) { return kind == 1 ? "Label String Property" : "Value String Property"; }

void LoadLabelProperty(pnScene& scene, pnChart& chart, int kind, LabelPropertyForm& f) {
    f = LabelPropertyForm();
    f.kind = kind;
    const std::string& named = kind == 1 ? chart.getLabelStringName() : chart.getDataStringName();
    f.style = named.empty() ? nullptr : scene.findStringProperty(named.c_str());
    if (!f.style) {
        // None, or one the scene lacks: the chart gets a style of its own.
        const std::string name = UniqueStyleName(scene);
        if (name.empty()) {
            std::fprintf(stderr, "StringProperty Name Error\n");
        } else {
            auto style = std::make_unique<pnStringProperty>();
            style->setName(name.c_str());
            style->setFont("Arial");
            if (scene.addStringProperty(style.get())) {
                f.style = style.release();
                if (kind == 1) chart.setLabelStringName(name.c_str());
                else chart.setDataStringName(name.c_str());
            }
        }
    }
    f.show = (kind == 1 ? chart.getShowLabel() : chart.getShowData()) != 0;
    f.material = kind == 1 ? chart.getLabelMaterialName() : chart.getDataMaterialName();
    f.backMaterial = kind == 1 ? chart.getLabelBackMaterialName() : chart.getDataBackMaterialName();
    const pnStringProperty* s = f.style;
    if (!s) return;
    f.font = s->getFont();
    // A style from a file may hold numbers beyond the int range.
    f.size = std::to_string(ClampedInt(s->getSize()));
    f.italic = s->getItalic() != 0;
    f.spacing = ClampedInt(s->getGap());
    char text[32];
    std::snprintf(text, sizeof text, "%3.1f", double(s->getBevel(0)));
    f.bevelWidth = text;
    std::snprintf(text, sizeof text, "%3.1f", double(s->getBevel(1)));
    f.bevelHeight = text;
    f.quality = std::to_string(QualityFromPrecision(s->getPrecision()));
    f.ratio = ClampedInt(std::round(s->getRatio() * 100.0));
    f.extrusion = ClampedInt(s->getDepth());
    f.origin = s->getHJust();
    f.twoD = s->getKind() == 0;
    f.border = s->getBorder();
    f.hOffset = s->getHOffset();
    f.vOffset = s->getVOffset();
    f.styleKind = s->getKind();
    f.wValue = ClampedInt(s->getWJust());
    f.wJust = f.wValue != 0;
    f.nValue = ClampedInt(s->getNJust());
    f.nJust = f.nValue != 0;
}

void TickJust(LabelPropertyForm& f, bool n, bool on) {
    (n ? f.nJust : f.wJust) = on;
    if (on) (n ? f.wJust : f.nJust) = false;
}

void ApplyLabelProperty(pnChart& chart, const LabelPropertyForm& f) {
    if (f.kind == 1) chart.setShowLabel(f.show);
    else chart.setShowData(f.show);
    if (f.materialChosen) {
        if (f.kind == 1) chart.setLabelMaterialName(f.material.c_str());
        else chart.setDataMaterialName(f.material.c_str());
    }
    pnStringProperty* s = f.style;
    if (!s) return;
    s->setFont(f.font.c_str());
    // A size typed as 0 or text keeps the old size.
    if (const double size = ParseLeadingFloat(f.size); size > 0.0) s->setSize(float(size));
    s->setItalic(f.italic);
    s->setSpacing(float(f.spacing), s->getSpacing1(), s->getSpacing2());
    s->setBevel(float(ParseLeadingFloat(f.bevelWidth)), float(ParseLeadingFloat(f.bevelHeight)));
    // A typed quality below 1 keeps the old precision; above the list it is the finest.
    if (const int quality = ParseLeadingInt(f.quality); quality >= 1)
        s->setPrecision(float(1.1 - std::min(quality, 10) * 0.1));
    s->setRatio(f.ratio * 0.01);
    s->setHJust(f.origin);
    s->setDepth(float(f.extrusion));
    s->setKind(f.twoD ? 0 : 1);
    s->setNJust(f.nJust ? float(f.nValue) : 0.0f);
    s->setWJust(f.wJust ? float(f.wValue) : 0.0f);
}

void LabelPropertyOk(CKelvanoView& view, pnChart& chart, const LabelPropertyForm& f) {
    makeViewCurrent(view);
    {
        CEditScope edit(view, &chart);
        ApplyLabelProperty(chart, f);
    }
    if (f.style && view.GetScene()) view.GetScene()->updateStringsUsingProperty(f.style);
}

void LabelPropertyCancel(CKelvanoView& view, pnChart& chart, const LabelPropertyForm& f) {
    makeViewCurrent(view);
    if (f.kind == 1) chart.setLabelBackMaterialName(f.backMaterial.c_str());
    else chart.setDataBackMaterialName(f.backMaterial.c_str());
    if (pnStringProperty* s = f.style) {
        s->setBorder(f.border);
        s->setHOffset(f.hOffset);
        s->setVOffset(f.vOffset);
        s->setKind(f.styleKind);
        if (view.GetScene()) view.GetScene()->updateStringsUsingProperty(s);
    }
    view.Redraw();
}
