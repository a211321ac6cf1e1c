// One undoable edit, written the same way wherever the scene is changed: the
// step's before-state is taken when the scope opens, the caller changes the
// scene, and when the scope closes the view redraws, the after-state is taken
// and the scene is marked modified. The view's host only schedules the draw,
// so the after-state never sees a drawn frame.
//
//     {
//         CEditScope edit(view, object);
//         object->setSize(size);
//     }
#pragma once

#include "editor/CUndoHistory.h"

#include <functional>
#include <string>

class CKelvanoDoc;
class CKelvanoView;
class pnBackground;
class pnMaterial;
class pnObject;
class pnViewpoint;

class CEditScope {
public:
    // A change of an object (or another step kind that records the object).
    CEditScope(CKelvanoView& view, pnObject* object, int kind = UNDO_CHANGE);
    // A change of an object's event parent: the step carries the parent it
    // leaves (name) and the one it goes under (secondName).
    CEditScope(CKelvanoView& view, pnObject* object, const std::string& name, const std::string& secondName);
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
