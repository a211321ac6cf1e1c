// The object kinds, in one table: each kind's type name (what getTypeName
// gives and undo snapshots and the clipboard key on), whether it is a chart
// and which object page edits it. Everything that asks what an object is asks
// here; only this table and the kinds' own getTypeName spell the names. The
// chart kinds live in the layer above the scene, which makes objects of every
// kind (charts/pnObjectMaker.h).
#pragma once

class pnObject;

enum class pnObjectKind {
    None,  // a plain pnObject (a chart part placeholder) or an unknown name
    String,
    Panel,
    Model,
    Counter,
    Volume,
    Background,
    BarChart,
    LineChart,
    PieChart,
    VolumeChart,
    // Not a kind of its own: every chart kind (the chart base's kind), for
    // pnIsKind and pnKindCast.
    Chart,
};

// The object page that edits a kind, in the edit box's order; None for a kind
// without a page (it shows the empty page). The windows map it to their page.
enum class pnObjectPage { Text, Panel, Model, Bar, Line, Pie, Area, None };

struct pnObjectKindInfo {
    pnObjectKind kind;
    const char* typeName;
    bool chart;
    pnObjectPage page;
};

// The row of a type name or of an object; null for a name or object of no kind
// (null included).
const pnObjectKindInfo* pnFindObjectKind(const char* typeName);
const pnObjectKindInfo* pnFindObjectKind(const pnObject* object);
// The kind of an object, None for null or an object of no kind.
pnObjectKind pnKindOf(const pnObject* object);
// Whether the object is of that kind; for pnObjectKind::Chart, of any chart
// kind. False for null and for pnObjectKind::None (an object of no kind is
// of none).
bool pnIsKind(const pnObject* object, pnObjectKind kind);
// The page that edits the object; None for null or a kind without a page.
pnObjectPage pnObjectPageOf(const pnObject* object);

// The object as T when it is of T's kind (T::kKind), else null.
template <class T>
T* pnKindCast(pnObject* object) {
    return pnIsKind(object, T::kKind) ? static_cast<T*>(object) : nullptr;
}
template <class T>
const T* pnKindCast(const pnObject* object) {
    return pnIsKind(object, T::kKind) ? static_cast<const T*>(object) : nullptr;
}
