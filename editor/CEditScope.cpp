#include "editor/CEditScope.h"

#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"

#include <utility>

CEditScope::CEditScope(CKelvanoView& view, pnObject* object, int kind)
    : CEditScope(view, [object](CKelvanoDoc& doc) { doc.RecordUndoAfter(object); }) {
    if (m_pDoc) m_pDoc->RecordUndoBefore(object, kind);
}

CEditScope::CEditScope(CKelvanoView& view, pnObject* object, const std::string& name, const std::string& secondName)
    : CEditScope(view, [object, secondName](CKelvanoDoc& doc) { doc.RecordUndoAfterWithName(object, secondName); }) {
    if (m_pDoc) m_pDoc->RecordUndoBeforeWithName(object, name, UNDO_CHANGE);
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
    if (m_pDoc) m_after(*m_pDoc);
    m_view.SetModified();
}
