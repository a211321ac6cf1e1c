// The Add commands, the insertion of a new object and the rename of an object.
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"

#include "editor/CEditScope.h"
#include "editor/CObjectCreator.h"
#include "editor/CUndoHistory.h"
#include "editor/KelvanoIds.h"
#include "scene/pnEvent.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "sg/sgRuntime.h"

#include <string>
#include <vector>

void CKelvanoView::SetObjectCreator(int command, CObjectCreator* creator) { m_objectCreators[command] = creator; }

int CKelvanoView::OnAddObject(int command) {
    if (m_bAnimationMode || m_bPlaying || !m_pScene || !m_pDocument) return 0;
    const auto found = m_objectCreators.find(command);
    if (found == m_objectCreators.end() || !found->second) return 0;
    CObjectCreator* creator = found->second;
    CKelvanoDoc& doc = *m_pDocument;
    CFrameRelays* frame = Frame();

    FocusLastSelected();
    ClearMultiSelection(1);
    if (m_bHighlightSelected && doc.m_pSelectedObject) SetObjectHighlight(doc.m_pSelectedObject, 0);

    const int serial = m_nSceneSerial;
    if (!creator->RunDialog() || serial != m_nSceneSerial || !m_pScene) {
        if (m_bHighlightSelected && doc.m_pSelectedObject) SetObjectHighlight(doc.m_pSelectedObject, 1);
        return 0;
    }
    if (frame) frame->UnlockTransformEdits();
    SetPlacementAxes();
    const std::string name = creator->CreateObject();
    pnObject* made = name.empty() ? nullptr : m_pScene->findObject(name.c_str());
    if (!made) {
        // Nothing was made: the bars show the selection that is kept.
        ShowSelectionInBars();
        if (m_bHighlightSelected && doc.m_pSelectedObject) SetObjectHighlight(doc.m_pSelectedObject, 1);
        Redraw();
        return 0;
    }
    AnnounceNewObject(name);
    m_bPlacing = 1;
    m_bPlacingFirstMove = 1;
    // The placement click records the creation of this object, whatever is
    // selected by then.
    m_strPlacingName = name;
    if (m_pHost) m_pHost->CenterCursor();
    if (m_bHighlightSelected) SetObjectHighlight(made, 1);
    Redraw();
    return 1;
}

void CKelvanoView::SetPlacementAxes() {
    if (m_nTransformMode != 0) OnCommand(kv::ID_MODE_MOVE);
    if (!m_bAxisX) OnCommand(kv::ID_AXIS_X);
    if (!m_bAxisY) OnCommand(kv::ID_AXIS_Y);
}

void CKelvanoView::AnnounceNewObject(const std::string& name) {
    CFrameRelays* frame = Frame();
    if (!frame) return;
    frame->AddObjectListItem(name);
    frame->SelectObjectListIndex(-1, 0);
    frame->SelectObjectListItem(name, 1);
}

pnObject* CKelvanoView::InsertNewObject(std::unique_ptr<pnObject> made) {
    if (!m_pScene || !m_pDocument || !made) return nullptr;
    pnScene& scene = *m_pScene;
    const std::string name = made->getName();
    // A name not free would leave the object without its event.
    if (sgCharCount(name) > kMaxObjectNameChars || !scene.isObjectNameFree(name.c_str())) return nullptr;
    if (!scene.addObject(made.get())) return nullptr;
    pnObject* object = made.release();
    if (object->isChart()) scene.addChart(object);
    auto* event = new pnEvent;
    event->setName(name.c_str());
    event->addObjectName(name.c_str());
    if (scene.addEvent(event))
        scene.addObjectsToScene(event);
    else
        delete event;
    // Into the tool bar's chooser before it is selected: the chooser can only
    // show a name it holds.
    if (CFrameRelays* frame = Frame()) frame->AddObjectChooserName(name);
    SelectObject(object);
    m_bMultiDrag = 0;
    // No undo step here: an Add records the creation at its placement click,
    // a Paste after it. Until then the new object is unsaved work all the same.
    SetModified();
    Redraw();
    return object;
}

int CKelvanoView::RenameObject(pnObject* object, const std::string& newName) {
    if (!object || !m_pScene || !m_pDocument) return 0;
    pnScene& scene = *m_pScene;
    const std::string oldName = object->getName();
    if (newName == oldName || sgCharCount(newName) > kMaxObjectNameChars || !scene.isObjectNameFree(newName.c_str()))
        return 0;
    {
        CEditScope edit(*this, object);
        CFrameRelays* frame = Frame();
        if (frame) frame->RenameObjectListItem(oldName, newName);
        object->setName(newName.c_str());
        if (frame) {
            frame->RemoveObjectChooserName(oldName);
            frame->AddObjectChooserName(newName);
            frame->SelectObjectChooserName(newName);
        }
        if (pnEvent* event = scene.findEvent(oldName.c_str())) {
            event->setObjectName(newName.c_str());
            scene.renameEvent(event, newName.c_str());
        }
        // An event named otherwise that shows the object keeps showing it: a
        // save would else lose the object's place, and its removal the event.
        for (int i = 0; i < scene.getNumEvents(); ++i) {
            pnEvent* event = scene.getEvent(i);
            if (const char* shown = event->getObjectName(0); shown && oldName == shown)
                event->setObjectName(newName.c_str());
        }
    }
    RebuildAnimationRows();
    return 1;
}

void CKelvanoView::ShowTextTextureDialog() {
    if (CFrameRelays* frame = Frame()) frame->OpenTextureWindow(1);
}

void CKelvanoView::ShowModelTextureDialog() {
    if (CFrameRelays* frame = Frame()) frame->OpenTextureWindow(3);
}

void CKelvanoView::ShowPanelTextureDialog() {
    if (CFrameRelays* frame = Frame()) frame->OpenTextureWindow(4);
}
