// One undoable edit, written the same way wherever the scene is changed: the
// step's before-state is taken when the scope opens, the caller changes the
// scene, and when the scope closes the view redraws and the after-state is
// taken. The document keeps the step only when it changed the scene, and
// then marks the scene modified; a scope opened inside an open step of the
// same record is part of that step. The view's host only schedules the draw,
// so the after-state never sees a drawn frame.
//
//     {
//         CEditScope edit(view, object);
//         object->setSize(size);
//     }
//
// A text that names a text style shows the style's face (it takes the
// style's values whenever it is built): a face value edited on the text
// goes to its style as the scope closes, so it lasts through every rebuild,
// Undo, Redo, Save and Open, and reaches the other texts of that style.
#pragma once

#include "editor/CUndoHistory.h"

#include <functional>
#include <string>
#include <vector>

class CKelvanoDoc;
class CKelvanoView;
class pnBackground;
class pnEvent;
class pnMaterial;
class pnObject;
class pnViewpoint;

class CEditScope {
public:
    // A change of an object (or another step kind that records the object).
    CEditScope(CKelvanoView& view, pnObject* object, int kind = UNDO_CHANGE);
    // One change of several objects (the objects selected together).
    CEditScope(CKelvanoView& view, const std::vector<pnObject*>& objects);
    // A change of an event's parent.
    CEditScope(CKelvanoView& view, const pnEvent* event);
    // A change of the background.
    CEditScope(CKelvanoView& view, pnBackground* background);
    // A change of the viewpoint.
    CEditScope(CKelvanoView& view, pnViewpoint* viewpoint);
    // A change of the material at index in the scene's list.
    CEditScope(CKelvanoView& view, pnMaterial* material, int index, int kind = UNDO_MATERIAL_CHANGE);
    ~CEditScope();
    CEditScope(const CEditScope&) = delete;
    CEditScope& operator=(const CEditScope&) = delete;

private:
    // What every form shares; after takes the step's after-state.
    CEditScope(CKelvanoView& view, std::function<void(CKelvanoDoc&)> after);

    CKelvanoView& m_view;
    // The view's document (none: the change is drawn and marked, not recorded).
    CKelvanoDoc* m_pDoc;
    std::function<void(CKelvanoDoc&)> m_after;
};

// Gives a text's face values to the text style it names (when the scene has
// it) and rebuilds the style's other users; false when they already agreed.
bool KeepTextFaceInStyle(pnObject* object);
