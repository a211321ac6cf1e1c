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
// A text style from a snapshot back in the scene; the name it goes by there
// (an existing style of that name is kept as it is).
std::string restoreStyle(pnScene& scene, const pnStringProperty* copy) {
    if (!copy) return std::string();
    if (!scene.findStringProperty(copy->getName().c_str())) {
        auto* style = new pnStringProperty;
        style->copy(copy);
        if (!scene.addStringProperty(style)) delete style;
    }
    return copy->getName();
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
    if (auto* chart = pnKindCast<pnChart>(object)) {
        m_pScene->addChart(object);
        if (snapshot.m_pLabelStyleCopy)
            chart->setLabelStringName(restoreStyle(*m_pScene, snapshot.m_pLabelStyleCopy.get()).c_str());
        if (snapshot.m_pDataStyleCopy)
            chart->setDataStringName(restoreStyle(*m_pScene, snapshot.m_pDataStyleCopy.get()).c_str());
    }
    // Both lists name it again; the chooser selects it as the bars show it.
    if (CFrameRelays* frame = Frame()) {
        frame->AddObjectListItem(name);
        frame->AddObjectChooserName(name);
    }

    // The event that showed it comes back under its own name; an object that
    // no event showed stays without one.
    if (!snapshot.m_pEventCopy) {
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
        m_pScene->moveEventNode(child, static_cast<int>(i));
    }
    m_pScene->moveEventNode(event, 0xffff);
    SelectObject(object);
    return object;
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
        pnObject* made = RecreateObject(*snapshot);
        const std::string& holder = undo ? snapshot->m_strSecondName : snapshot->m_strName;
        if (made && !holder.empty())
            if (pnEvent* former = scene.findEvent(holder.c_str()))
                if (const pnEvent* shown = FindShowingEvent(&scene, made)) former->removeChildName(shown->getName().c_str());
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

void CKelvanoView::ApplyStep(int kind, CUndoSnapshot* snapshot, int undo, const CUndoSnapshot* other) {
    // The selection is told once, with the step.
    ++m_nHoldSelection;
    ApplyUndoSnapshot(kind, snapshot, undo, other);
    --m_nHoldSelection;
    Announce(ViewChange::UndoApplied);
    // The camera the step gave back comes up on its page.
    if (kind == UNDO_VIEWPOINT)
        if (CFrameRelays* frame = Frame()) frame->ShowCameraPage();
}

int CKelvanoView::OnEditUndo() {
    // Not while objects are selected together (the accelerator ignores the
    // greyed menu item).
    if (!m_pDocument || !m_pDocument->m_selectedObjects.empty()) return 0;
    int kind = 0;
    CUndoSnapshot* other = nullptr;
    CUndoSnapshot* snapshot = m_pDocument->Undo(kind, &other);
    if (!snapshot) return 0;
    ApplyStep(UndoApplyKind(kind, true), snapshot, 1, other);
    return 1;
}

int CKelvanoView::OnEditRedo() {
    // Not while objects are selected together (the accelerator ignores the
    // greyed menu item).
    if (!m_pDocument || !m_pDocument->m_selectedObjects.empty()) return 0;
    int kind = 0;
    CUndoSnapshot* other = nullptr;
    CUndoSnapshot* snapshot = m_pDocument->Redo(kind, &other);
    if (!snapshot) return 0;
    ApplyStep(UndoApplyKind(kind, false), snapshot, 0, other);
    return 1;
}
