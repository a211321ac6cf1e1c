// The view's remaining object commands: Delete and Delete Column, the context
// menu and the double-click, the chart dialogs opened from the view, printing
// and Help.
#include "editor/CKelvanoView.h"

#include "editor/CEditScope.h"
#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CUndoHistory.h"
#include "editor/KelvanoIds.h"
#include "charts/pnChart.h"
#include "scene/pnEvent.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "scene/pnStringProperty.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

// Frees a text style of the scene by name.
void freeStyle(pnScene& scene, const std::string& name) {
    if (name.empty()) return;
    if (pnStringProperty* style = scene.findStringProperty(name.c_str())) {
        scene.removeStringPropertyl(style);
        delete style;
    }
}

}  // namespace

pnChart* CKelvanoView::SelectedChart() const {
    return pnKindCast<pnChart>(m_pDocument ? m_pDocument->m_pSelectedObject : nullptr);
}

bool CKelvanoView::IsStyleUnused(const std::string& styleName, const pnObject* except) const {
    if (!m_pScene || styleName.empty()) return false;
    for (int i = 0; i < m_pScene->getNumObjects(); ++i) {
        const pnObject* object = m_pScene->getObject(i);
        if (object == except) continue;
        if (const pnChart* chart = pnKindCast<pnChart>(object)) {
            if (chart->getLabelStringName() == styleName || chart->getDataStringName() == styleName) return false;
        } else if (const char* name = object->getStringPropertyName(); name && styleName == name) {
            return false;
        }
    }
    return true;
}

void CKelvanoView::RemoveObjectFromScene(pnObject* object) {
    if (!m_pScene || !object || m_pScene->indexOfObject(object) < 0) return;
    // Nothing keeps pointing at the object once it is gone.
    if (m_pDocument) {
        auto& list = m_pDocument->m_selectedObjects;
        list.erase(std::remove(list.begin(), list.end(), object), list.end());
        if (list.empty()) ClearMultiSelection(0);
        // The clipboard's copy stays: a Cut removes the very object it copied.
        if (m_pDocument->m_pSelectedObject == object) {
            m_pDocument->m_pSelectedObject = nullptr;
            m_pDocument->m_pSelectedPart = nullptr;
            m_pDocument->m_nSelectedDataPt = -1;
            m_pDocument->m_nSelectedPartKind = -1;
        }
    }
    const std::string name = object->getName();
    // An object that no event shows still goes; the event part only when there is one.
    if (pnEvent* event = FindShowingEvent(m_pScene.get(), object)) {
        // Its child events move up to its parent (and keep their names there).
        m_pScene->removeEventFromScene(event);
        if (!event->getParent().empty())
            if (pnEvent* parent = m_pScene->findEvent(event->getParent().c_str()))
                parent->removeChildName(event->getName().c_str());
        m_pScene->removeEvent(event);
        if (m_pDocument)
            for (int i = 0; i < event->getNumPlays(); ++i) m_pDocument->ReleaseEffectUse(event->getPlay(i)->effect);
        delete event;
    }
    // A text style goes with its last user only.
    if (const pnChart* chart = pnKindCast<pnChart>(object)) {
        for (const std::string& style : {chart->getLabelStringName(), chart->getDataStringName()})
            if (IsStyleUnused(style, object)) freeStyle(*m_pScene, style);
        m_pScene->removeChart(object);
    } else if (pnIsKind(object, pnObjectKind::Counter)) {
        const char* style = object->getStringPropertyName();
        if (style && IsStyleUnused(style, object)) freeStyle(*m_pScene, style);
    }
    // Whatever event still holds the object's nodes lets go of them first.
    m_pScene->releaseObjectNodes(object);
    m_suspendedHighlights.erase(std::remove_if(m_suspendedHighlights.begin(), m_suspendedHighlights.end(),
                                               [&](const auto& kept) { return kept.first == object; }),
                                m_suspendedHighlights.end());
    m_pScene->removeObject(object);
    delete object;
    // The frame a repaint would draw again showed the object.
    m_nPlayedFrame = kNoPlayedFrame;
    if (CFrameRelays* frame = Frame()) {
        frame->RemoveObjectListItem(name);
        frame->RemoveObjectChooserName(name);
    }
}

void CKelvanoView::DeleteSelectedObject(int free) {
    if (!m_pScene || !m_pDocument || !m_pDocument->m_pSelectedObject) return;
    pnObject* object = m_pDocument->m_pSelectedObject;
    const int index = m_pScene->indexOfObject(object);
    if (index < 0) return;
    const int count = m_pScene->getNumObjects();
    CFrameRelays* frame = Frame();
    RemoveFromMultiSelection(object);
    if (free) {
        RemoveObjectFromScene(object);
    } else {
        m_pScene->removeObject(object);
        if (frame) {
            frame->RemoveObjectListItem(object->getName());
            frame->RemoveObjectChooserName(object->getName());
        }
    }
    // The object that took its place, or the one before the last.
    const int next = index + 1 >= count ? index - 1 : index;
    SelectObject(next >= 0 ? m_pScene->getObject(next) : nullptr);
    if (next < 0 && frame) frame->SelectObjectChooserIndex(0);
}

void CKelvanoView::OnEditDelete() {
    if (m_bAnimationMode || m_bPlacing || !m_pDocument || !m_pScene || !m_pDocument->m_pSelectedObject) return;
    CKelvanoDoc& doc = *m_pDocument;
    doc.RecordUndoBefore(doc.m_pSelectedObject, UNDO_DELETE);
    doc.RecordUndoAfter(doc.m_pSelectedObject);
    DeleteSelectedObject(1);
    Redraw();
}

void CKelvanoView::OnDeleteColumn() {
    if (m_bAnimationMode || !m_pScene) return;
    pnChart* chart = SelectedChart();
    if (!chart) return;
    CKelvanoDoc& doc = *m_pDocument;
    const int count = chart->getNumDataPts();
    if (count <= 0) return;
    if (count == 1) {
        OnEditDelete();
        return;
    }
    CEditScope edit(*this, chart);
    int point = doc.m_nSelectedDataPt;
    if (point < 0 || point >= count) point = 0;
    // The chart frees the point's geometry.
    if (m_pHost) m_pHost->MakeCurrent();
    chart->deleteDataPt(point);
    doc.m_nSelectedDataPt = point - 1;
    // The picked part may have gone with the point.
    doc.m_pSelectedPart = nullptr;
}

void CKelvanoView::OnContextMenu(int x, int y) {
    if (!m_pDocument || !m_pHost) return;
    CKelvanoDoc& doc = *m_pDocument;
    if (m_pScene && !m_bPlaying && m_pScene->getNumObjects() > 0) {
        // Empty space keeps the selection as it is.
        const PickResult pick = PickAt(x, y);
        if (pick.picked) {
            doc.m_pSelectedPart = pick.part;
            doc.m_nSelectedDataPt = pick.point;
            if (pick.part) doc.m_nSelectedPartKind = pick.kind;
            SelectPicked(pick.picked);
            NoteSelection();
        }
    }
    m_pHost->TrackPopupMenu(m_bAnimationMode ? 1 : 0, x, y);
}

void CKelvanoView::OnLButtonDblClk(int x, int y) {
    if (!m_pDocument || !m_pDocument->m_pSelectedObject || m_bPlaying) return;
    // The press before it started a drag: it ends here, so that a dialog
    // gets the mouse.
    if (m_bDragging) OnLButtonUp(x, y, 0);
    if (m_bAnimationMode) {
        // The chart's grow and shrink times, then the time line's new end.
        OnAddGrowShrink();
        return;
    }
    if (m_pDocument->m_pSelectedPart) OnChartDialog(ChartDialog::Data);
}

void CKelvanoView::OnChartDialog(ChartDialog which) {
    if (!m_pHost || !m_pScene || !SelectedChart()) return;
    if (which != ChartDialog::Data && m_bAnimationMode) return;
    m_pHost->RunChartDialog(which);
}

std::string CKelvanoView::HelpPageFile(const std::string& programDir) {
    std::string path = programDir;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path + "/help/klvhelp.htm";
}

std::string CKelvanoView::HelpPageUrl(const std::string& programDir) {
    const std::string path = HelpPageFile(programDir);
    static const char* const kHex = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : path) {
        if (std::isalnum(c) || std::strchr("/-._~", c)) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

void CKelvanoView::OnHelpContents() {
    if (!m_pHost) return;
    CKelvanoAppState* app = GetAppState();
    const std::string dir = app ? app->GetProgramDir() : std::string();
    // The opener tells only when it ends whether a browser opened; the host
    // lives as long as the window that waits for it.
    CViewHost* host = m_pHost;
    const std::string file = HelpPageFile(dir);
    m_pHost->LaunchBrowser(HelpPageUrl(dir), [host, file] {
        host->MessageBox("The help page could not be opened:\n" + file, "", KV_MB_OK | KV_MB_ICONERROR);
    });
}

void CKelvanoView::OnPreparePrinting(bool /*preview*/) {
    m_bPrintDone = 0;
    m_dibPrint.Free();
    if (m_nClientWidth <= 0 || m_nClientHeight <= 0) return;
    // The picture shows what the window shows, without the screen's highlights;
    // the preview shows the same picture as the print.
    SuspendHighlights();
    if (DrawForCapture(m_nAntiAlias)) {
        m_dibPrint.Capture(CRectI{0, 0, m_nClientWidth, m_nClientHeight}, m_nClientHeight);
        m_pHost->SwapBuffers();
    }
    RestoreHighlights();
    Redraw();
}

void CKelvanoView::OnEndPrinting() {
    m_bPrintDone = 1;
    m_dibPrint.Free();
}

void CKelvanoView::OnFilePrint(bool preview) {
    if (!m_pScene || !m_pHost) return;
    OnPreparePrinting(preview);
    // The print job takes its own copy of the picture.
    if (m_dibPrint.Valid()) m_pHost->RunPrint(preview);
    OnEndPrinting();
}

void CKelvanoView::UpdateChartItem(int id, CCmdUI& ui) {
    const pnObject* selected = m_pDocument ? m_pDocument->m_pSelectedObject : nullptr;
    bool& state = m_bChartItems[id - kv::ID_LABEL_PROPERTY];
    if (SelectedChart())
        state = true;
    else if (!selected || pnIsKind(selected, pnObjectKind::String) || pnIsKind(selected, pnObjectKind::Panel) ||
             pnIsKind(selected, pnObjectKind::Model))
        state = false;
    // Any other kind leaves the item as it was; Graph Data also wants a hit.
    if (id == kv::ID_GRAPH_DATA && !m_bObjectHit) state = false;
    ui.Enable(state);
}
