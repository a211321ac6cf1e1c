// The rules of the property bar, the Transformation, Obect List and View Width
// bars that need no window: which page a tab shows, how a typed transform
// value is read and applied, how list entries are matched and which view
// widths are taken. The wx bars apply them.
#pragma once

#include <string>
#include <vector>

#include "scene/pnObjectKind.h"

class CKelvanoDoc;
class CKelvanoView;
class pnObject;

// ---- the Edit Box ----

// Page list indices in the order the bar adds its pages.
enum EditBoxPage : int {
    PAGE_TEXT = 0,
    PAGE_LIGHT = 1,
    PAGE_CAMERA = 2,
    PAGE_EMPTY = 3,
    PAGE_AREA = 4,
    PAGE_PIE = 5,
    PAGE_LINE = 6,
    PAGE_BAR = 7,
    PAGE_MODEL = 8,
    PAGE_PANEL = 9,
    kEditBoxPageCount = 10,
    kEditBoxTabCount = kEditBoxPageCount - 7,
};
// Object page kinds: the kind table's page of a type name (pnObjectPage: text
// 0, panel 1, model 2, bar 3, line 4, pie 5, area 6), anything else (or
// nothing) 7.
constexpr int kObjectPageEmpty = static_cast<int>(pnObjectPage::None);
int ObjectPageKind(const char* typeName);
// The list index the Object tab shows for a kind: 0 for 0, else 10 - kind; a
// kind out of range shows the empty page.
int ObjectPageListIndex(int kind);
// The pages LockPages reaches, in order: camera, light, text, panel, model,
// bar, line, pie, area.
extern const int kLockOrder[9];

// Which page the Edit Box shows. SelectTab stores the Object tab's kind and
// says whether the tab control should select the tab (and then run
// OnSelChangeTab); OnSelChangeTab gives the page to show (-1 for none).
class CEditBoxTabs {
public:
    bool SelectTab(int tab, int kind, int tabCount);
    int OnSelChangeTab(int selectedTab, int pageCount);
    int m_nCurrentTab = 0;
    int m_nObjectPageKind = 0;
    int m_nShownPage = -1;
};

// ---- the Transformation bar ----

enum TransformField : int {
    TF_POS_X, TF_POS_Y, TF_POS_Z, TF_SCALE_X, TF_SCALE_Y, TF_SCALE_Z, TF_ANGLE, TF_AXIS_X, TF_AXIS_Y, TF_AXIS_Z,
    kTransformFieldCount
};
struct TransformFieldInfo {
    int editId;
    int spinId;
    int decimals;  // shown with this many decimals ("%d" for 0)
    int factor;    // applied in steps of 1 / factor
};
extern const TransformFieldInfo kTransformFields[kTransformFieldCount];
// The field of an edit or spin id, -1 for another id.
int TransformFieldOfId(int id);
// value x factor, nudged by a tiny amount toward its sign (so 0.57 x 100 is
// 57, not 56.99...), truncated toward zero and divided again. Values that are
// not finite read as 0; magnitudes are capped at 1e9.
double TruncateScaled(double value, int factor);
// The value a typed text applies to a field (its leading number, C locale).
float TransformFieldValue(int field, const std::string& text);
// The field's value on an object, and its text as the edit shows it.
float ObjectFieldValue(const pnObject& object, int field);
std::string FormatTransformField(int field, float value);
// Applies a field's value to the document's selected object, or, while
// objects are selected together, moves each of them by the difference
// between the value and the selected object's own; one undo step on the
// selected object, then a redraw. 0 without a selection.
int ApplyTransformField(CKelvanoDoc& doc, CKelvanoView& view, int field, float value);

// ---- the object list ----

// The index of the entry that is exactly name (case counts), -1 when none.
int FindListEntry(const std::vector<std::string>& entries, const std::string& name);

// ---- the view width ----

constexpr int kViewWidthMin = 10;
constexpr int kViewWidthMax = 2000;
// A typed width: its leading integer; false (width unchanged) below 1, which
// would make the projection degenerate.
bool ParseViewWidth(const std::string& text, int& width);
// Where the slider shows a width: the nearest end of its range outside it.
int ViewWidthSliderPos(int width);
// The viewpoint's orthographic width becomes width; the channel takes the
// viewpoint and the scene is drawn (the current frame in animation mode,
// else the initial state) and the view asked to repaint.
void ApplyViewWidth(CKelvanoView* view, float width);

// ---- numbers in dialogs ----

// "%.*f" of a value (the C library's formatting, as every box shows numbers).
std::string FormatDecimals(double value, int decimals);
