// The view's mouse and keys in object mode: picking, the selection and its
// list of objects selected together, drags that move, scale and rotate
// objects, chart texts and textures, arrow-key nudges and the view's letter keys.
#include "editor/CKelvanoView.h"

#include "editor/CKelvanoDoc.h"
#include "editor/CUndoHistory.h"
#include "editor/KelvanoIds.h"
#include "editor/KelvanoMenus.h"
#include "charts/pnChart.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "sg/sgChannel.h"
#include "sg/sgVec.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
// Pixels a drag or a nudge covers per scene unit and per step.
constexpr int kPickSize = 4;
constexpr float kScalePerPixel = 0.01f;
constexpr float kTexturePerPixel = 0.005f;
// A longer rotation step turns by the cap instead.
constexpr float kMaxStepPixels = 450.0f;
constexpr float kMaxStepAngle = 45.0f;
constexpr int kNudge = 10;
constexpr int kFineNudge = 1;

std::string fmt(int decimals, float v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, static_cast<double>(v));
    return buf;
}

// The Transformation bar's angle: whole degrees, rounded (a turn composed of
// steps comes to 59.99998 for 60).
std::string wholeDegrees(float v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%ld", std::lround(std::clamp(v, -1e9f, 1e9f)));
    return buf;
}

bool sameName(const pnObject* a, const pnObject* b) { return a && b && a->getName() == b->getName(); }

// The rotation of one step as angle and axis; false when the step turns nothing.
// xOnlyUp: the axis of an X-only step is +X when the pointer went up (chart
// texts), else when it went down.
bool stepRotation(int dx, int ey, int axisX, int axisY, int axisZ, bool xOnlyUp, float& angle, sgVec3& axis) {
    const float d = std::sqrt(float(dx) * float(dx) + float(ey) * float(ey));
    if (d == 0.0f) return false;
    if (axisX && axisY) {
        axis = sgVec3(ey / d, dx / d, 0.0f);
    } else if (axisX) {
        const bool positive = xOnlyUp ? ey < 0 : ey >= 1;
        axis = sgVec3(positive ? 1.0f : -1.0f, 0.0f, 0.0f);
    } else if (axisY) {
        axis = sgVec3(0.0f, dx >= 1 ? 1.0f : -1.0f, 0.0f);
    } else if (axisZ) {
        axis = sgVec3(0.0f, 0.0f, dx - ey >= 1 ? 1.0f : -1.0f);
    } else {
        return false;
    }
    angle = d > kMaxStepPixels ? kMaxStepAngle : d;
    return true;
}

// The step's turn in front of the current rotation.
void compose(float stepAngle, const sgVec3& stepAxis, float& angle, sgVec3& axis) {
    const sgVec4 q = sgQuatMult(sgQuatFromAngleAxis(stepAngle, stepAxis), sgQuatFromAngleAxis(angle, axis));
    axis = sgQuatToAngleAxis(q, &angle);
}

pnChart* asChart(pnObject* object) { return pnKindCast<pnChart>(object); }
}  // namespace

// ---- selection bookkeeping ----

bool CKelvanoView::IsInMultiSelection(const pnObject* object) const {
    if (!m_pDocument || !object) return false;
    for (const pnObject* member : m_pDocument->m_selectedObjects)
        if (sameName(member, object)) return true;
    return false;
}

void CKelvanoView::AddToMultiSelection(pnObject* object) {
    if (m_pDocument && object) m_pDocument->m_selectedObjects.push_back(object);
}

void CKelvanoView::RemoveFromMultiSelection(const pnObject* object) {
    if (!m_pDocument || !object) return;
    auto& list = m_pDocument->m_selectedObjects;
    auto it = std::find_if(list.begin(), list.end(), [&](const pnObject* m) { return sameName(m, object); });
    if (it != list.end()) list.erase(it);
    if (list.empty()) ClearMultiSelection(0);
}

void CKelvanoView::SelectObjectByName(const std::string& name) {
    if (!m_pScene) return;
    if (pnObject* object = m_pScene->findObject(name.c_str())) AddToMultiSelection(object);
}

void CKelvanoView::ShowPageForObject(pnObject* object, int flag) {
    CFrameRelays* frame = Frame();
    if (!frame || !object) return;
    frame->SelectObjectChooserName(object->getName());
    // A kind without a page (a counter) shows the empty page: the page of the
    // previous object must not go on editing this one as its own kind.
    frame->ShowObjectPage(static_cast<int>(pnObjectPageOf(object)), object, flag);
}

void CKelvanoView::ShowSelectionInBars() {
    CFrameRelays* frame = Frame();
    if (!frame || !m_pDocument) return;
    if (pnObject* selected = m_pDocument->m_pSelectedObject) {
        ShowPageForObject(selected, 1);
        if (!m_bAnimationMode) frame->UnlockTransformEdits();
        return;
    }
    frame->ShowObjectPage(static_cast<int>(pnObjectPage::None), nullptr, 0);
    frame->LockTransformEdits();
}

void CKelvanoView::SelectPicked(pnObject* picked) {
    CKelvanoDoc& doc = *m_pDocument;
    CFrameRelays* frame = Frame();
    if (!picked) {
        // Empty space keeps the selection; a drag from here moves it.
        m_bObjectHit = 0;
        doc.m_nSelectedPartKind = -1;
        doc.m_nSelectedDataPt = -1;
        m_bSelectionKept = doc.m_pSelectedObject ? 1 : 0;
        if (doc.m_pSelectedObject) {
            if (m_bHighlightSelected) SetObjectHighlight(doc.m_pSelectedObject, 1);
            if (frame) frame->SelectObjectListItem(doc.m_pSelectedObject->getName(), 1);
        }
        Redraw();
        return;
    }
    m_bObjectHit = 1;
    if (sameName(picked, doc.m_pSelectedObject)) {
        m_bSelectionKept = 1;
        return;
    }
    if (doc.m_pSelectedObject) {
        if (m_bHighlightSelected) SetObjectHighlight(doc.m_pSelectedObject, 0);
        if (frame) frame->SelectObjectListItem(doc.m_pSelectedObject->getName(), 0);
    }
    m_bSelectionKept = 0;
    doc.m_pSelectedObject = picked;
    if (m_bHighlightSelected) SetObjectHighlight(picked, 1);
    if (frame) frame->SelectObjectListItem(picked->getName(), 1);
    Redraw();
}

void CKelvanoView::TogglePicked(pnObject* picked) {
    if (!picked) return;
    CKelvanoDoc& doc = *m_pDocument;
    CFrameRelays* frame = Frame();
    if (IsInMultiSelection(picked)) {
        // The object stays the document's selection even when the list empties.
        RemoveFromMultiSelection(picked);
        if (m_bHighlightSelected) SetObjectHighlight(picked, 0);
        if (frame) frame->SelectObjectListItem(picked->getName(), 0);
    } else {
        if (doc.m_selectedObjects.empty() && doc.m_pSelectedObject) {
            if (m_bHighlightSelected) SetObjectHighlight(doc.m_pSelectedObject, 0);
            if (frame) frame->SelectObjectListItem(doc.m_pSelectedObject->getName(), 1);
        }
        AddToMultiSelection(picked);
        if (m_bHighlightSelected) SetObjectHighlight(picked, 1);
        if (frame) frame->SelectObjectListItem(picked->getName(), 1);
        doc.m_pSelectedObject = picked;
    }
    Redraw();
}

void CKelvanoView::FocusRule(pnObject* picked) {
    CKelvanoDoc& doc = *m_pDocument;
    CFrameRelays* frame = Frame();
    if (picked && IsInMultiSelection(picked)) {
        m_bMultiDrag = 1;
        m_bObjectHit = 1;
        doc.m_pSelectedObject = picked;
        return;
    }
    if (!picked) doc.m_pSelectedObject = doc.m_selectedObjects.back();
    if (m_bHighlightSelected)
        for (pnObject* member : doc.m_selectedObjects) SetObjectHighlight(member, 0);
    if (frame) frame->SelectObjectListIndex(-1, 0);
    doc.m_selectedObjects.clear();
    ClearMultiSelection(0);
    if (picked) {
        Redraw();
        return;
    }
    if (m_bHighlightSelected) SetObjectHighlight(doc.m_pSelectedObject, 1);
    if (frame && doc.m_pSelectedObject) frame->SelectObjectListItem(doc.m_pSelectedObject->getName(), 1);
    Redraw();
}

// ---- the mouse ----

CKelvanoView::PickResult CKelvanoView::PickAt(int x, int y) {
    PickResult r;
    pnObject* chartObject = nullptr;
    pnObject* hit = nullptr;
    if (sceneChannel && m_pScene && m_pHost && m_pHost->MakeCurrent())
        hit = m_pScene->pickObject(sceneChannel, x, y, kPickSize, kPickSize, &chartObject);
    if (pnChart* chart = asChart(chartObject); chart && hit) {
        r.part = hit;
        if (!chart->findDataPtPart(hit, &r.point, &r.kind)) r.point = r.kind = -1;
        r.picked = chart;
    } else {
        r.picked = hit;
    }
    return r;
}

void CKelvanoView::OnLButtonDown(int x, int y, int modifiers) {
    if (!m_pDocument || !m_pScene || !m_pHost) return;
    m_pHost->SetCursor(CurrentCursor());
    // Clicks in animation mode belong to the animation editing.
    if (m_bAnimationMode) {
        AnimLButtonDown(x, y);
        return;
    }
    CKelvanoDoc& doc = *m_pDocument;
    if (m_bPlacing) {
        // The click puts the new object down: its creation, where it now
        // stands, is the Add's one step.
        m_bPlacing = 0;
        m_bPlacingFirstMove = 0;
        pnObject* placed = m_pScene->findObject(m_strPlacingName.c_str());
        m_strPlacingName.clear();
        if (placed) {
            doc.RecordUndoBefore(placed, UNDO_CREATE);
            doc.RecordUndoAfter(placed);
        }
    }
    m_bDragMoved = 0;
    m_pHost->CaptureMouse();
    if (m_pScene->getNumObjects() == 0) return;
    m_nDragX = x;
    m_nDragY = y;
    m_bDragging = 1;

    const PickResult pick = PickAt(x, y);
    pnObject* const picked = pick.picked;
    doc.m_pSelectedPart = pick.part;
    doc.m_nSelectedDataPt = pick.point;
    // A plain object keeps the part kind the last chart click left.
    if (pick.part || !picked) doc.m_nSelectedPartKind = pick.kind;

    if (modifiers & KV_MOD_SHIFT) {
        m_bShiftClick = 1;
        TogglePicked(picked);
    } else {
        m_bShiftClick = 0;
        if (!doc.m_selectedObjects.empty()) FocusRule(picked);
        SelectPicked(picked);
    }
    // The bars and the windows follow a selection that changed.
    NoteSelection();
}

void CKelvanoView::OnMouseMove(int x, int y, int modifiers) {
    if (!m_pDocument || !m_pScene || !m_pHost) return;
    m_pHost->SetCursor(CurrentCursor());
    if (m_bAnimationMode) {
        AnimMouseMove(x, y);
        return;
    }
    CKelvanoDoc& doc = *m_pDocument;
    if (m_bPlacing) {
        // The new object follows the pointer from the middle of the view.
        if (m_bPlacingFirstMove) {
            m_pHost->CaptureMouse();
            m_bPlacingFirstMove = 0;
            m_nDragX = m_nClientWidth / 2;
            m_nDragY = m_nClientHeight / 2;
        }
        if (pnObject* placing = m_pScene->findObject(m_strPlacingName.c_str()))
            MoveStep(x - m_nDragX, m_nDragY - y, {placing});
        Redraw();
        m_nDragX = x;
        m_nDragY = y;
        return;
    }
    if (!m_bDragging || (x == m_nDragX && y == m_nDragY) || m_bShiftClick) return;
    if (!(m_bMultiDrag || m_bSelectionKept) || !doc.m_pSelectedObject) return;
    DragStep(x, y, modifiers);
    m_nDragX = x;
    m_nDragY = y;
}

void CKelvanoView::DragStep(int x, int y, int modifiers) {
    CKelvanoDoc& doc = *m_pDocument;
    if (!m_bDragMoved) {
        // One step from the first move to the release, over every object the
        // drag moves.
        m_dragTargets = DragTargets();
        doc.RecordUndoBefore(m_dragTargets);
    }
    m_bDragMoved = 1;
    const int dx = x - m_nDragX;
    const int dy = m_nDragY - y;
    if (!m_bMultiDrag && doc.m_pSelectedPart && asChart(doc.m_pSelectedObject) &&
        (doc.m_nSelectedPartKind == 1 || doc.m_nSelectedPartKind == 2)) {
        ChartTextStep(dx, dy, doc.m_nSelectedPartKind == 2, (modifiers & KV_MOD_CTRL) != 0);
    } else if (m_bTexMoveDrag || m_bTexScaleDrag || m_bTexRotateDrag) {
        TextureStep(x, y);
    } else if (m_nTransformMode == 1) {
        ScaleStep(dx, dy);
    } else if (m_nTransformMode == 2) {
        RotateStep(dx, dy);
    } else {
        MoveStep(dx, dy, DragTargets());
    }
    Redraw();
}

std::vector<pnObject*> CKelvanoView::DragTargets() const {
    if (!m_pDocument) return {};
    if (m_bMultiDrag) return m_pDocument->m_selectedObjects;
    if (m_pDocument->m_pSelectedObject) return {m_pDocument->m_pSelectedObject};
    return {};
}

void CKelvanoView::ShowTransformValues(int what) {
    CFrameRelays* frame = Frame();
    const pnObject* s = m_pDocument ? m_pDocument->m_pSelectedObject : nullptr;
    if (!frame || !s) return;
    if (what == 0) {
        const sgVec3 p = s->getPosition();
        frame->SetTransformPosition(fmt(2, p[0]), fmt(2, p[1]), fmt(2, p[2]));
    } else if (what == 1) {
        const sgVec3 v = s->getScale();
        frame->SetTransformScale(fmt(2, v[0]), fmt(2, v[1]), fmt(2, v[2]));
    } else {
        const sgVec3 a = s->getRotAxis();
        frame->SetTransformRotation(wholeDegrees(s->getRotAngle()), fmt(3, a[0]), fmt(3, a[1]),
                                    fmt(3, a[2]));
    }
}

void CKelvanoView::MoveStep(int dx, int dy, const std::vector<pnObject*>& targets) {
    for (pnObject* object : targets) {
        const sgVec3 p = object->getPosition();
        if (m_bAxisX) object->setPositionX(p[0] + dx);
        if (m_bAxisY) object->setPositionY(p[1] + dy);
        if (m_bAxisZ) object->setPositionZ(p[2] - (dx + dy));
    }
    ShowTransformValues(0);
}

void CKelvanoView::ScaleStep(int dx, int dy) {
    auto grown = [](float v, float step) { return std::max(0.0f, v + step); };
    for (pnObject* object : DragTargets()) {
        const sgVec3 s = object->getScale();
        if (m_bAxisX && m_bAxisY && m_bAxisZ) {
            const float step = kScalePerPixel * (dx + dy);
            object->setScale(grown(s[0], step), grown(s[1], step), grown(s[2], step));
            continue;
        }
        if (m_bAxisX) object->setScale(grown(s[0], kScalePerPixel * dx), s[1], s[2]);
        if (m_bAxisY) {
            const sgVec3 c = object->getScale();
            object->setScale(c[0], grown(s[1], kScalePerPixel * dy), c[2]);
        }
        if (m_bAxisZ) {
            const sgVec3 c = object->getScale();
            object->setScale(c[0], c[1], grown(s[2], kScalePerPixel * (dx + dy)));
        }
    }
    ShowTransformValues(1);
}

void CKelvanoView::RotateStep(int dx, int dy) {
    float stepAngle = 0.0f;
    sgVec3 stepAxis;
    if (!stepRotation(dx, -dy, m_bAxisX, m_bAxisY, m_bAxisZ, false, stepAngle, stepAxis)) return;
    for (pnObject* object : DragTargets()) {
        float angle = object->getRotAngle();
        sgVec3 axis = object->getRotAxis();
        compose(stepAngle, stepAxis, angle, axis);
        object->setRotAngle(angle);
        object->setRotAxis(axis);
    }
    ShowTransformValues(2);
}

void CKelvanoView::ChartTextStep(int dx, int dy, int label, int allPoints) {
    pnChart* chart = asChart(m_pDocument->m_pSelectedObject);
    if (!chart) return;
    const int i = m_pDocument->m_nSelectedDataPt;
    if (m_nTransformMode == 0) {
        sgVec3 o = allPoints ? (label ? chart->getLabelOffset() : chart->getTextOffset())
                             : (label ? chart->getDataPtLabelOffset(i) : chart->getDataPtTextOffset(i));
        if (m_bAxisX) o[0] += dx;
        if (m_bAxisY) o[1] += dy;
        if (m_bAxisZ) o[2] += dx + dy;
        if (allPoints)
            label ? chart->setLabelOffset(o) : chart->setTextOffset(o);
        else
            label ? chart->setDataPtLabelOffset(i, o) : chart->setDataPtTextOffset(i, o);
    } else if (m_nTransformMode == 1) {
        auto factor = [](int pixels) { return std::max(0.0f, 1.0f + kScalePerPixel * pixels); };
        sgVec3 f(m_bAxisX ? factor(dx) : 1.0f, m_bAxisY ? factor(dy) : 1.0f, m_bAxisZ ? factor(dx + dy) : 1.0f);
        if (allPoints && m_bAxisX && m_bAxisY && m_bAxisZ) f = sgVec3(factor(dx + dy), factor(dx + dy), factor(dx + dy));
        if (allPoints)
            label ? chart->setLabelScale(f) : chart->setValueScale(f);
        else
            label ? chart->setDataPtLabelScale(i, f) : chart->setDataPtValueScale(i, f);
    } else {
        float stepAngle = 0.0f;
        sgVec3 stepAxis;
        if (!stepRotation(dx, -dy, m_bAxisX, m_bAxisY, m_bAxisZ, true, stepAngle, stepAxis)) return;
        float angle = allPoints ? (label ? chart->getLabelRotAngle() : chart->getValueRotAngle())
                                : (label ? chart->getDataPtLabelRotAngle(i) : chart->getDataPtValueRotAngle(i));
        sgVec3 axis = allPoints ? (label ? chart->getLabelRotAxis() : chart->getValueRotAxis())
                                : (label ? chart->getDataPtLabelRotAxis(i) : chart->getDataPtValueRotAxis(i));
        compose(stepAngle, stepAxis, angle, axis);
        if (allPoints)
            label ? chart->setLabelRot(angle, axis) : chart->setValueRot(angle, axis);
        else
            label ? chart->setDataPtLabelRot(i, angle, axis) : chart->setDataPtValueRot(i, angle, axis);
    }
}

void CKelvanoView::TextureStep(int x, int y) {
    pnObject* object = m_pDocument->m_pSelectedObject;
    if (!object) return;
    const float across = kTexturePerPixel * (m_nDragX - x);
    const float down = kTexturePerPixel * (y - m_nDragY);
    float a = 0.0f, b = 0.0f;
    if (m_bTexMoveDrag) {
        object->getTexMove(&a, &b);
        a += across;
        b += down;
        object->setTexMove(a, b);
    } else if (m_bTexScaleDrag) {
        object->getTexScale(&a, &b);
        a += across;
        b += down;
        // A scale term never reaches 0 or turns over.
        if (a <= 0.0f) a = 0.01f;
        if (b <= 0.0f) b = 0.01f;
        object->setTexScale(a, b);
    } else {
        object->getTexRotate(&a, &b);
        a -= across;
        b += down;
        object->setTexRotate(a, b);
    }
    if (CFrameRelays* frame = Frame()) frame->ShowTextureWindowValues(a, b);
}

void CKelvanoView::OnLButtonUp(int /*x*/, int /*y*/, int /*modifiers*/) {
    if (m_pHost) m_pHost->ReleaseMouse();
    OnCaptureLost();
}

void CKelvanoView::OnCaptureLost() {
    if (m_bAnimationMode) {
        AnimRelease();
        return;
    }
    m_bDragging = 0;
    // The step opened at the drag's first move closes here.
    if (m_pDocument && !m_dragTargets.empty()) m_pDocument->RecordUndoAfter(m_dragTargets);
    m_dragTargets.clear();
    if (!m_bSelectionKept || !m_pDocument) return;
    m_bDragMoved = 0;
}

// ---- keys ----

void CKelvanoView::Nudge(int dx, int dyWindow, int modifiers) {
    if (m_bAnimationMode || !m_pDocument || !m_pDocument->m_pSelectedObject || m_bShiftClick) return;
    // A nudge while the button holds a drag would split the drag's step.
    if (m_bDragging) return;
    // Each press is one whole step of its own.
    const int moved = m_bDragMoved;
    m_bDragMoved = 0;
    DragStep(m_nDragX + dx, m_nDragY + dyWindow, modifiers);
    m_pDocument->RecordUndoAfter(m_dragTargets);
    m_dragTargets.clear();
    m_bDragMoved = moved;
}

bool CKelvanoView::OnKeyDown(int key, int modifiers) {
    if ((key == kKeySpace || key == kKeyEnter) && ContinueFromPause()) return true;
    if (m_bPlacing) return true;
    const bool ctrl = (modifiers & KV_MOD_CTRL) != 0;
    const int step = ctrl ? kFineNudge : kNudge;
    switch (key) {
    case KV_KEY_LEFT: Nudge(-step, 0, modifiers); return true;
    case KV_KEY_RIGHT: Nudge(step, 0, modifiers); return true;
    case KV_KEY_UP: Nudge(0, -step, modifiers); return true;
    case KV_KEY_DOWN: Nudge(0, step, modifiers); return true;
    case KV_KEY_DELETE:
        if (m_bAnimationMode || !m_pDocument || !m_pDocument->m_pSelectedObject) return true;
        return OnCommand(kv::ID_EDIT_DELETE);
    default: break;
    }
    if (key >= '1' && key <= '6') {
        // Shift+1 to Shift+6 are the camera presets; the bare digits nothing.
        // A preset greyed now (while the animation plays or records) refuses its key too.
        const int id = kv::ID_CAMERA_FRONT + (key - '1');
        CCmdUI ui;
        ui.id = id;
        if ((modifiers & KV_MOD_SHIFT) && (!OnUpdateCommand(id, ui) || ui.enabled)) OnCommand(id);
        return true;
    }
    int id = 0;
    bool adds = false;
    switch (key) {
    case 'L': id = kv::ID_MODE_MOVE; break;
    case 'S': id = kv::ID_MODE_SCALE; break;
    case 'R': id = kv::ID_MODE_ROTATE; break;
    case 'X': id = kv::ID_AXIS_X; break;
    case 'Y': id = kv::ID_AXIS_Y; break;
    case 'Z': id = kv::ID_AXIS_Z; break;
    case 'G': id = kv::ID_ADD_GRAPH, adds = true; break;
    case 'M': id = kv::ID_ADD_MODEL, adds = true; break;
    case 'P': id = kv::ID_ADD_PANEL, adds = true; break;
    case 'T': id = kv::ID_ADD_TEXT, adds = true; break;
    default: return false;
    }
    // As the greyed menu item: nothing while the animation plays or records.
    if (m_bPlaying) return true;
    if (adds && m_bAnimationMode) return true;
    OnCommand(id);
    // The status bar names what the key chose, as the command's menu item does.
    std::string flyBy, toolTip;
    if (m_pHost && kv::GetCommandPrompt(id, flyBy, toolTip)) m_pHost->SetStatusText(flyBy);
    return true;
}

// ---- the object chooser ----

void CKelvanoView::OnObjectChosen(const std::string& name) {
    if (!m_pDocument || !m_pScene) return;
    CKelvanoDoc& doc = *m_pDocument;
    CFrameRelays* frame = Frame();
    if (doc.m_pSelectedObject && doc.m_pSelectedObject->getName() == name) return;
    if (HoldsStep()) {
        // The selection waits for the held step: the chooser shows it again.
        if (frame && doc.m_pSelectedObject) frame->SelectObjectChooserName(doc.m_pSelectedObject->getName());
        return;
    }
    pnObject* chosen = m_pScene->findObject(name.c_str());
    if (!chosen) return;
    // A choice outside the objects selected together ends them, as a click
    // on it in the view does; the bars then edit the chosen object alone.
    if (!doc.m_selectedObjects.empty() && !IsInMultiSelection(chosen)) ClearMultiSelection(1);
    if (doc.m_pSelectedObject) {
        if (m_bHighlightSelected) SetObjectHighlight(doc.m_pSelectedObject, 0);
        if (frame) frame->SelectObjectListItem(doc.m_pSelectedObject->getName(), 0);
    }
    doc.m_pSelectedObject = chosen;
    doc.m_nSelectedDataPt = asChart(chosen) ? 0 : -1;
    doc.m_pSelectedPart = nullptr;
    if (m_bHighlightSelected) {
        SetObjectHighlight(chosen, 1);
        Redraw();
    }
    if (frame) frame->SelectObjectListItem(name, 1);
    NoteSelection();
    // Not when the view itself chose the name: the bars already show it.
    if (m_bAnimationMode && frame && !m_bChooserSync) {
        frame->SelectEventTreeItem(name);
        frame->SelectTimeLineEvent(name);
    }
}
