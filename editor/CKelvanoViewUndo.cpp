// The view's side of the undo history: applying a snapshot back to the scene,
// and the object removal and recreation that applying relies on.
#include "editor/CKelvanoView.h"

#include "editor/CKelvanoDoc.h"
#include "editor/CUndoHistory.h"
#include "charts/pnChart.h"
#include "charts/pnObjectMaker.h"
#include "scene/pnBackground.h"
#include "scene/pnEvent.h"
#include "scene/pnMaterial.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "scene/pnStringProperty.h"
#include "scene/pnViewpoint.h"

#include <algorithm>
#include <vector>

namespace {
// A text style from a snapshot back in the scene at its place in the list:
// an existing style of that name takes the copy's values. The name it goes
// by; changed tells whether an existing style's values changed.
std::string restoreStyle(pnScene& scene, const CStyleCopy& copy, bool& changed) {
    changed = false;
    if (!copy.style) return std::string();
    pnStringProperty* style = scene.findStringProperty(copy.style->getName().c_str());
    if (style) {
        changed = copy.style->giveFaceValues(*style) || style->getVJust() != copy.style->getVJust();
        style->copy(copy.style.get());
    } else {
        style = new pnStringProperty;
        style->copy(copy.style.get());
        if (!scene.addStringProperty(style)) {
            delete style;
            return copy.style->getName();
        }
    }
    if (copy.index >= 0) scene.moveStringProperty(style, copy.index);
    return copy.style->getName();
}
}  // namespace

void CKelvanoView::RebuildAnimationRows() {
    if (!m_bAnimationMode) return;
    if (CFrameRelays* frame = Frame()) {
        frame->RebuildEventTree();
        frame->RebuildTimeLineRows();
    }
}

void CKelvanoView::RefreshAfterEdit() {
    RebuildAnimationRows();
    Redraw();
}

void CKelvanoView::SelectObject(pnObject* object) {
    if (!m_pDocument) return;
    pnObject* const old = m_pDocument->m_pSelectedObject;
    CFrameRelays* frame = Frame();
    if (m_bHighlightSelected) SetObjectHighlight(old, 0);
    // The object is selected alone: the Object List shows none of the others.
    ClearMultiSelection(1);
    if (frame && old && old != object) frame->SelectObjectListItem(old->getName(), 0);
    m_pDocument->m_pSelectedObject = object;
    m_pDocument->m_pSelectedPart = nullptr;
    m_pDocument->m_nSelectedDataPt = -1;
    m_pDocument->m_nSelectedPartKind = -1;
    if (m_bHighlightSelected) SetObjectHighlight(object, 1);
    if (frame && object) frame->SelectObjectListItem(object->getName(), 1);
    NoteSelection();
}

pnObject* CKelvanoView::RecreateObject(const CUndoSnapshot& snapshot) {
    if (!m_pScene || !snapshot.m_pObjectCopy) return nullptr;
    std::unique_ptr<pnObject> made = pnMakeObject(snapshot.m_pObjectCopy->getTypeName());
    if (!made) return nullptr;
    made->copy(snapshot.m_pObjectCopy.get());
    if (!m_pScene->addObject(made.get())) return nullptr;
    pnObject* object = made.release();
    m_nPlayedFrame = kNoPlayedFrame;
    // Back at its place in the list, so the scene is saved as it was.
    if (snapshot.m_nObjectIndex >= 0) m_pScene->moveObject(object, snapshot.m_nObjectIndex);
    const std::string name = object->getName();
    // Its text styles come back with the values it was built with; the
    // other users of a style whose values changed are built again below.
    std::vector<std::string> restyled;
    auto restore = [&](const CStyleCopy& copy) {
        bool changed = false;
        std::string styleName = restoreStyle(*m_pScene, copy, changed);
        if (changed) restyled.push_back(styleName);
        return styleName;
    };
    if (auto* chart = pnKindCast<pnChart>(object)) {
        m_pScene->addChart(object);
        // The lower place first: each goes where it stood among the others.
        const bool labelFirst = snapshot.m_labelStyle.index <= snapshot.m_dataStyle.index;
        for (const bool label : {labelFirst, !labelFirst}) {
            const CStyleCopy& copy = label ? snapshot.m_labelStyle : snapshot.m_dataStyle;
            if (!copy.style) continue;
            const std::string styleName = restore(copy);
            label ? chart->setLabelStringName(styleName.c_str()) : chart->setDataStringName(styleName.c_str());
        }
    } else if (snapshot.m_ownStyle.style) {
        restore(snapshot.m_ownStyle);
    }
    const auto rebuildStyleUsers = [&] {
        for (const std::string& styleName : restyled)
            if (pnStringProperty* style = m_pScene->findStringProperty(styleName.c_str()))
                m_pScene->updateStringsUsingProperty(style);
    };
    // Both lists name it again; the chooser selects it as the bars show it.
    if (CFrameRelays* frame = Frame()) {
        frame->AddObjectListItem(name);
        frame->AddObjectChooserName(name);
    }

    // The event that showed it comes back under its own name; an object that
    // no event showed stays without one.
    if (!snapshot.m_pEventCopy) {
        rebuildStyleUsers();
        SelectObject(object);
        return object;
    }
    auto* event = new pnEvent;
    event->copy(snapshot.m_pEventCopy.get());
    event->setScene(nullptr);
    const std::string& eventName = snapshot.m_pEventCopy->getName();
    event->setName(eventName.empty() ? name.c_str() : eventName.c_str());
    event->addObjectName(name.c_str());
    if (!m_pScene->addEvent(event)) {
        delete event;
        rebuildStyleUsers();
        SelectObject(object);
        return object;
    }
    // Its plays count as uses of their effects again.
    if (m_pDocument)
        for (int i = 0; i < event->getNumPlays(); ++i) m_pDocument->AddEffectUse(event->getPlay(i)->effect);
    if (snapshot.m_nEventIndex >= 0) m_pScene->moveEvent(event->getName().c_str(), snapshot.m_nEventIndex);
    const std::string parent = event->getParent();
    // Into its parent's child list first, so the graph hangs it there.
    if (!parent.empty() && m_pScene->findEvent(parent.c_str()))
        event->setParent(parent.c_str());
    else
        event->setParent("");
    m_pScene->addObjectsToScene(event);
    std::vector<std::string> children;
    for (int i = 0; i < event->getNumChildNames(); ++i) children.push_back(event->getChildName(i));
    for (size_t i = 0; i < children.size(); ++i) {
        pnEvent* child = m_pScene->findEvent(children[i].c_str());
        if (!child) {
            event->removeChildName(children[i].c_str());
            continue;
        }
        child->setParent(event->getName().c_str());
        // Under an object that has no node (a model whose file is missing) a
        // child hangs nowhere; under one that has gained a node it hangs
        // again: as an Open of the saved scene hangs it.
        if (m_pScene->moveEventNode(child, static_cast<int>(i))) continue;
        m_pScene->settleEventNode(child);
        m_pScene->moveEventNode(child, static_cast<int>(i));
    }
    // Where an Open of the saved scene hangs it, not last: objects at the
    // same depth draw in that order.
    m_pScene->placeEventNode(event);
    rebuildStyleUsers();
    SelectObject(object);
    return object;
}

namespace {
// A step's parts in order, or in reverse order to undo; a step without parts
// is its own snapshot.
void applyParts(CKelvanoView& view, CUndoStep& step, bool undo) {
    if (!step.m_parts.empty()) {
        if (undo)
            for (auto part = step.m_parts.rbegin(); part != step.m_parts.rend(); ++part) applyParts(view, **part, true);
        else
            for (auto& part : step.m_parts) applyParts(view, *part, false);
        return;
    }
    CUndoSnapshot* applied = undo ? step.m_pBefore.get() : step.m_pAfter.get();
    const CUndoSnapshot* other = undo ? step.m_pAfter.get() : step.m_pBefore.get();
    view.ApplyUndoSnapshot(UndoApplyKind(step.m_nKind, undo), applied, undo, other);
}
}  // namespace

void CKelvanoView::ApplyUndoStep(CUndoStep& step, bool undo) {
    // The selection is told once, with the step, however many parts it has.
    const int kind = step.m_nKind;
    ++m_nHoldSelection;
    if (m_pDocument) ++m_pDocument->m_nApplyingStep;
    applyParts(*this, step, undo);
    Announce(ViewChange::UndoApplied);
    // The camera the step gave back comes up on its page.
    if (kind == UNDO_VIEWPOINT)
        if (CFrameRelays* frame = Frame()) frame->ShowCameraPage();
    if (m_pDocument) --m_pDocument->m_nApplyingStep;
    --m_nHoldSelection;
}

void CKelvanoView::ApplyUndoSnapshot(int kind, CUndoSnapshot* snapshot, int undo, const CUndoSnapshot* other) {
    if (!snapshot || !m_pScene) return;
    pnScene& scene = *m_pScene;
    switch (kind) {
    case UNDO_CREATE:
        RecreateObject(*snapshot);
        RefreshAfterEdit();
        break;
    case UNDO_CHANGE: {
        // A rename leaves the object under the name of the step's other
        // snapshot: look for that one first.
        pnObject* object = other ? scene.findObject(other->ObjectName().c_str()) : nullptr;
        if (!object) object = scene.findObject(snapshot->ObjectName().c_str());
        if (!object || !snapshot->m_pObjectCopy) return;
        RemoveObjectFromScene(object);
        RecreateObject(*snapshot);
        RefreshAfterEdit();
        break;
    }
    case UNDO_EVENT_PARENT: {
        // Only the parent links: the event's plays and its object stay as
        // later edits left them.
        pnEvent* event = scene.findEvent(snapshot->m_strEvent.c_str());
        if (!event) return;
        event->setParent(snapshot->m_strParent.c_str());
        scene.moveEventNode(event, snapshot->m_nChildIndex >= 0 ? snapshot->m_nChildIndex : 0xffff);
        m_nPlayedFrame = kNoPlayedFrame;
        RefreshAfterEdit();
        break;
    }
    case UNDO_DELETE: {
        pnObject* object = scene.findObject(snapshot->ObjectName().c_str());
        if (!object) return;
        SelectObject(object);
        DeleteSelectedObject(1);
        RefreshAfterEdit();
        break;
    }
    case UNDO_BACKGROUND:
        if (snapshot->m_pBackgroundCopy) {
            auto* background = new pnBackground;
            background->copy(snapshot->m_pBackgroundCopy.get());
            scene.setBackground(background);
            scene.applyViewpoint();
        }
        Redraw();
        break;
    case UNDO_MATERIAL_ADD:
    case UNDO_MATERIAL_CHANGE: {
        pnMaterial* material = snapshot->m_pLiveMaterial;
        if (!material) return;
        // The step's own material goes back, so a later undo or redo finds
        // the very record it took out.
        if (kind == UNDO_MATERIAL_CHANGE) {
            if (scene.indexOfMaterial(material) >= 0) scene.deleteAMaterialFromScene(material);
            if (snapshot->m_pMaterialCopy) material->copy(snapshot->m_pMaterialCopy.get());
        } else if (scene.indexOfMaterial(material) >= 0) {
            return;
        }
        const int index = snapshot->m_nMaterialIndex;
        const bool inserted = index >= 0 && index < scene.getNumMaterials() && scene.insertMaterial(index, material);
        if (!inserted) scene.addAMaterialToScene(material);
        scene.updateObjectsUsingMaterial(material);
        Redraw();
        break;
    }
    case UNDO_MATERIAL_DELETE:
        // Only the step's own record leaves, never another of the same name.
        if (scene.indexOfMaterial(snapshot->m_pLiveMaterial) >= 0)
            scene.deleteAMaterialFromScene(snapshot->m_pLiveMaterial);
        Redraw();
        break;
    case UNDO_VIEWPOINT:
        // A camera preset's view would otherwise come back over the
        // restored viewpoint when the preset goes off.
        SwitchPresetOff();
        if (snapshot->m_pViewpointCopy) {
            auto* viewpoint = new pnViewpoint;
            viewpoint->copy(snapshot->m_pViewpointCopy.get());
            scene.setViewpoint(viewpoint);
            scene.applyViewpoint();
        }
        Redraw();
        break;
    default: break;
    }
}

int CKelvanoView::OnEditUndo() {
    // Not while objects are selected together (the accelerator ignores the
    // greyed menu item), nor while an edit holds its step open (a held
    // slider, a dialog), whose record the step would change under it.
    if (!m_pDocument || !m_pDocument->m_selectedObjects.empty() || HoldsStep() || m_pDocument->IsRecording())
        return 0;
    CUndoStep* step = m_pDocument->UndoStep();
    if (!step) return 0;
    ApplyUndoStep(*step, true);
    // The scene now differs from what was saved (or equals it again: only
    // the user can tell, and the prompt asks).
    SetModified();
    return 1;
}

int CKelvanoView::OnEditRedo() {
    if (!m_pDocument || !m_pDocument->m_selectedObjects.empty() || HoldsStep() || m_pDocument->IsRecording())
        return 0;
    CUndoStep* step = m_pDocument->RedoStep();
    if (!step) return 0;
    ApplyUndoStep(*step, false);
    SetModified();
    return 1;
}
