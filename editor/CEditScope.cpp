#include "editor/CEditScope.h"

#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "scene/pnScene.h"
#include "scene/pnString.h"
#include "scene/pnStringProperty.h"

#include <utility>

bool KeepTextFaceInStyle(pnObject* object) {
    auto* text = pnKindCast<pnString>(object);
    pnScene* scene = text ? text->getScene() : nullptr;
    const char* name = text ? text->getStringPropertyName() : nullptr;
    pnStringProperty* style = scene && name ? scene->findStringProperty(name) : nullptr;
    if (!style || !text->giveFaceValues(*style)) return false;
    scene->updateStringsUsingProperty(style);
    return true;
}

CEditScope::CEditScope(CKelvanoView& view, pnObject* object, int kind)
    : CEditScope(view, [object, kind](CKelvanoDoc& doc) {
          if (kind == UNDO_CHANGE) KeepTextFaceInStyle(object);
          doc.RecordUndoAfter(object);
      }) {
    if (m_pDoc) m_pDoc->RecordUndoBefore(object, kind);
}

CEditScope::CEditScope(CKelvanoView& view, const std::vector<pnObject*>& objects)
    : CEditScope(view, [objects](CKelvanoDoc& doc) { doc.RecordUndoAfter(objects); }) {
    if (m_pDoc) m_pDoc->RecordUndoBefore(objects);
}

CEditScope::CEditScope(CKelvanoView& view, const pnEvent* event)
    : CEditScope(view, [event](CKelvanoDoc& doc) { doc.RecordUndoAfterEventParent(event); }) {
    if (m_pDoc) m_pDoc->RecordUndoBeforeEventParent(event);
}

CEditScope::CEditScope(CKelvanoView& view, pnBackground* background)
    : CEditScope(view, [background](CKelvanoDoc& doc) { doc.RecordUndoAfterBackground(background); }) {
    if (m_pDoc) m_pDoc->RecordUndoBeforeBackground(background);
}

CEditScope::CEditScope(CKelvanoView& view, pnViewpoint* viewpoint)
    : CEditScope(view, [viewpoint](CKelvanoDoc& doc) { doc.RecordUndoAfterViewpoint(viewpoint); }) {
    if (m_pDoc) m_pDoc->RecordUndoBeforeViewpoint(viewpoint);
}

CEditScope::CEditScope(CKelvanoView& view, pnMaterial* material, int index, int kind)
    : CEditScope(view, [material, index](CKelvanoDoc& doc) { doc.RecordUndoAfterMaterial(material, index); }) {
    if (m_pDoc) m_pDoc->RecordUndoBeforeMaterial(material, index, kind);
}

CEditScope::CEditScope(CKelvanoView& view, std::function<void(CKelvanoDoc&)> after)
    : m_view(view), m_pDoc(view.GetDocument()), m_after(std::move(after)) {}

CEditScope::~CEditScope() {
    m_view.Redraw();
    // The document marks the scene modified when it keeps the step.
    if (m_pDoc)
        m_after(*m_pDoc);
    else
        m_view.SetModified();
}
