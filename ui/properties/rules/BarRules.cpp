#include "ui/properties/rules/BarRules.h"

#include "editor/CEditScope.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "scene/pnViewpoint.h"
#include "ui/properties/rules/ControlRules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

// ---- the Edit Box ----

int ObjectPageKind(const char* typeName) {
    const pnObjectKindInfo* kind = pnFindObjectKind(typeName);
    return static_cast<int>(kind ? kind->page : pnObjectPage::None);
}

int ObjectPageListIndex(int kind) {
    if (kind == 0) return PAGE_TEXT;
    if (kind < 1 || kind > kObjectPageEmpty) return PAGE_EMPTY;
    return kEditBoxPageCount - kind;
}

const int kLockOrder[9] = {PAGE_CAMERA, PAGE_LIGHT, PAGE_TEXT, PAGE_PANEL, PAGE_MODEL,
                           PAGE_BAR,    PAGE_LINE,  PAGE_PIE,  PAGE_AREA};

bool CEditBoxTabs::SelectTab(int tab, int kind, int tabCount) {
    if (tab == 0) m_nObjectPageKind = kind;
    return tab >= 0 && tab < tabCount;
}

int CEditBoxTabs::OnSelChangeTab(int selectedTab, int pageCount) {
    m_nShownPage = -1;
    if (selectedTab < 0) return -1;
    if (selectedTab < pageCount) m_nCurrentTab = selectedTab;
    const int page = selectedTab == 0 ? ObjectPageListIndex(m_nObjectPageKind) : selectedTab;
    if (page >= pageCount) return -1;
    m_nShownPage = page;
    return page;
}

// ---- the Transformation bar ----

const TransformFieldInfo kTransformFields[kTransformFieldCount] = {
    {1254, 1260, 2, 1},    {1266, 1026, 2, 1},    {1276, 1034, 2, 1},    {1285, 1295, 2, 100},
    {1394, 1045, 2, 100},  {1404, 1049, 2, 100},  {1423, 1088, 0, 1},    {1302, 1059, 3, 1000},
    {1412, 1076, 3, 1000}, {1418, 1083, 3, 1000},
};

int TransformFieldOfId(int id) {
    for (int f = 0; f < kTransformFieldCount; ++f)
        if (kTransformFields[f].editId == id || kTransformFields[f].spinId == id) return f;
    return -1;
}

double TruncateScaled(double value, int factor) {
    if (!std::isfinite(value)) return 0.0;
    value = std::clamp(value, -1e9, 1e9);
    // A decimal typed as shown is a hair below its binary value at times:
    // nudge toward the sign before cutting toward zero.
    double scaled = value * factor;
    scaled += scaled >= 0 ? 1e-6 : -1e-6;
    return std::trunc(scaled) / factor;
}

float TransformFieldValue(int field, const std::string& text) {
    if (field < 0 || field >= kTransformFieldCount) return 0.0f;
    // The bar holds a number beyond its range at it, one beyond the float
    // range too.
    return static_cast<float>(TruncateScaled(ParseRangedFloat(text), kTransformFields[field].factor));
}

float ObjectFieldValue(const pnObject& object, int field) {
    switch (field) {
    case TF_POS_X: case TF_POS_Y: case TF_POS_Z: return object.getPosition()[field - TF_POS_X];
    case TF_SCALE_X: case TF_SCALE_Y: case TF_SCALE_Z: return object.getScale()[field - TF_SCALE_X];
    case TF_ANGLE: return object.getRotAngle();
    case TF_AXIS_X: case TF_AXIS_Y: case TF_AXIS_Z: return object.getRotAxis()[field - TF_AXIS_X];
    default: return 0.0f;
    }
}

std::string FormatTransformField(int field, float value) {
    if (field < 0 || field >= kTransformFieldCount) return std::string();
    if (kTransformFields[field].decimals == 0) {
        char buffer[32];
        // Rounded: an angle composed from turns (59.99998 for 60) shows as turned.
        std::snprintf(buffer, sizeof buffer, "%ld", std::lround(std::clamp(value, -1e9f, 1e9f)));
        return buffer;
    }
    return FormatDecimals(value, kTransformFields[field].decimals);
}

namespace {
// Gives one object a field's value through the setter the field uses.
void setField(pnObject& object, int field, float value, bool whole) {
    switch (field) {
    case TF_POS_X: object.setPositionX(value); break;
    case TF_POS_Y: object.setPositionY(value); break;
    case TF_POS_Z: object.setPositionZ(value); break;
    case TF_ANGLE: object.setRotAngle(value); break;
    case TF_SCALE_X: case TF_SCALE_Y: case TF_SCALE_Z:
        if (whole) {
            sgVec3 scale = object.getScale();
            scale[field - TF_SCALE_X] = value;
            object.setScale(scale);
        } else if (field == TF_SCALE_X) {
            object.setScaleX(value);
        } else if (field == TF_SCALE_Y) {
            object.setScaleY(value);
        } else {
            object.setScaleZ(value);
        }
        break;
    case TF_AXIS_X: case TF_AXIS_Y: case TF_AXIS_Z: {
        sgVec3 axis = object.getRotAxis();
        axis[field - TF_AXIS_X] = value;
        object.setRotAxis(axis);
        break;
    }
    default: break;
    }
}
}  // namespace

int ApplyTransformField(CKelvanoDoc& doc, CKelvanoView& view, int field, float value) {
    pnObject* selected = doc.m_pSelectedObject;
    if (!selected || field < 0 || field >= kTransformFieldCount) return 0;
    if (doc.m_selectedObjects.empty()) {
        CEditScope edit(view, selected);
        setField(*selected, field, value, false);
        return 1;
    }
    // Every member moves by the selected object's difference: one step over
    // them all.
    std::vector<pnObject*> members;
    for (pnObject* member : doc.m_selectedObjects)
        if (member) members.push_back(member);
    const float difference = value - ObjectFieldValue(*selected, field);
    CEditScope edit(view, members);
    for (pnObject* member : members) setField(*member, field, ObjectFieldValue(*member, field) + difference, true);
    return 1;
}

// ---- the object list ----

int FindListEntry(const std::vector<std::string>& entries, const std::string& name) {
    const auto it = std::find(entries.begin(), entries.end(), name);
    return it == entries.end() ? -1 : static_cast<int>(it - entries.begin());
}

// ---- the view width ----

bool ParseViewWidth(const std::string& text, int& width) {
    const int typed = ParseLeadingInt(text);
    if (typed < 1) return false;
    width = typed;
    return true;
}

int ViewWidthSliderPos(int width) { return std::clamp(width, kViewWidthMin, kViewWidthMax); }

void ApplyViewWidth(CKelvanoView* view, float width) {
    if (!view || !view->GetScene()) return;
    pnScene& scene = *view->GetScene();
    pnViewpoint* viewpoint = scene.getViewpoint();
    if (!viewpoint) return;
    viewpoint->width = width;
    scene.applyViewpoint();
    CViewHost* host = view->GetHost();
    if (host && host->MakeCurrent()) {
        const int passes = view->AntiAliasPasses(view->m_nAntiAlias);
        if (view->m_bAnimationMode) scene.drawFrame(passes, view->m_nCurrentFrame);
        else scene.drawInitial(passes);
    }
    view->Redraw();
}

std::string FormatDecimals(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, std::clamp(value, -1e15, 1e15));
    return buffer;
}
