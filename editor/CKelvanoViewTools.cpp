// Camera presets and the view's smaller tools: the six views along the axes,
// Select All, the scene transformation and safety zone dialogs and the safety
// zone's outline.
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/KelvanoIds.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "scene/pnViewpoint.h"

#include <GL/gl.h>

namespace {

constexpr float kPresetDistance = 906.0f;

struct PresetCamera {
    sgVec3 eye, up;
};
// Front, Back, Left, Right, Top, Bottom.
const PresetCamera kPresets[6] = {
    {{0, 0, kPresetDistance}, {0, 1, 0}},  {{0, 0, -kPresetDistance}, {0, 1, 0}},
    {{-kPresetDistance, 0, 0}, {0, 1, 0}}, {{kPresetDistance, 0, 0}, {0, 1, 0}},
    {{0, kPresetDistance, 0}, {0, 0, -1}}, {{0, -kPresetDistance, 0}, {0, 0, 1}},
};

}  // namespace


void CKelvanoView::OnCameraPreset(int index) {
    CFrameRelays* frame = Frame();
    if (index < 0 || index >= 6 || !frame || !frame->HasPropertyBar() || !m_pScene) return;
    pnViewpoint* viewpoint = m_pScene->getViewpoint();
    if (!viewpoint) return;
    m_bPresetOn[index] = !m_bPresetOn[index];
    if (m_bPresetOn[index]) {
        const bool savedNow = !m_bPresetViewSaved;
        if (savedNow) {
            m_vSavedCameraPos = viewpoint->getPosition();
            m_bSavedPerspective = viewpoint->perspective;
            m_fSavedViewWidth = viewpoint->width;
            m_bPresetViewSaved = 1;
            viewpoint->perspective = 0;
        } else if (m_nActivePreset >= 0 && m_nActivePreset < 6 && m_nActivePreset != index) {
            // The View Width bar applies its value to the viewpoint.
            m_bPresetOn[m_nActivePreset] = 0;
            m_fPresetDistance[m_nActivePreset] = viewpoint->width;
        }
        viewpoint->setPosition(kPresets[index].eye);
        viewpoint->setUpVector(kPresets[index].up);
        viewpoint->width = m_fPresetDistance[index];
        m_pScene->applyViewpoint();
        if (savedNow) frame->SetCameraPresetView(1);
        frame->ShowViewWidthBar(1, m_fPresetDistance[index]);
        m_nActivePreset = index;
    } else {
        const float barWidth = viewpoint->width;
        frame->ShowViewWidthBar(0, barWidth);
        if (m_bSavedPerspective) viewpoint->perspective = 1;
        viewpoint->width = m_fSavedViewWidth;
        viewpoint->setPosition(m_vSavedCameraPos);
        viewpoint->setUpVector(0, 1, 0);
        m_pScene->applyViewpoint();
        frame->SetCameraPresetView(0);
        m_fPresetDistance[index] = barWidth;
        m_bPresetViewSaved = 0;
        m_bSavedPerspective = 0;
        m_nActivePreset = -1;
    }
    // One plain pass at once; the paint that follows draws the display level.
    if (m_pHost->MakeCurrent()) {
        if (m_bAnimationMode) m_pScene->drawFrame(0, m_nCurrentFrame);
        else m_pScene->drawInitial(0);
    }
    Redraw();
}

void CKelvanoView::OnSelectAll() {
    // Ctrl+A reaches the view also while its menu item is greyed. While a new
    // object follows the pointer it alone moves until it is put down.
    if (!m_pScene || m_pScene->getNumObjects() == 0 || m_bAnimationMode || m_bPlacing) return;
    m_bSelectAll = !m_bSelectAll;
    m_bMultiDrag = m_bSelectAll;
    CFrameRelays* frame = Frame();
    if (!m_pDocument || !frame) return;
    std::vector<pnObject*>& members = m_pDocument->m_selectedObjects;
    if (m_bSelectAll) {
        members.clear();
        for (int i = 0; i < m_pScene->getNumObjects(); ++i) {
            pnObject* object = m_pScene->getObject(i);
            if (!object) continue;
            members.push_back(object);
            if (m_bHighlightSelected) SetObjectHighlight(object, 1);
            frame->SelectObjectListItem(object->getName(), 1);
        }
    } else {
        for (int i = 0; i < m_pScene->getNumObjects(); ++i) {
            pnObject* object = m_pScene->getObject(i);
            if (!object) continue;
            if (m_bHighlightSelected) SetObjectHighlight(object, 0);
            frame->SelectObjectListItem(object->getName(), 0);
        }
        if (pnObject* selected = m_pDocument->m_pSelectedObject) {
            if (m_bHighlightSelected) SetObjectHighlight(selected, 1);
            frame->SelectObjectListItem(selected->getName(), 1);
        }
        members.clear();
    }
    Redraw();
}

void CKelvanoView::OnSceneTransform() {
    if (!m_pScene || !m_pHost) return;
    SceneTransformRequest request;
    const sgVec3 position = m_pScene->getPosition(), scale = m_pScene->getScale(), axis = m_pScene->getRotAxis();
    for (int i = 0; i < 3; ++i) {
        request.position[i] = position[i];
        request.scale[i] = scale[i];
        request.axis[i] = axis[i];
    }
    request.angle = m_pScene->getRotAngle();
    if (!m_pHost->SceneTransformDialog(request)) return;
    m_pScene->setPosition(sgVec3(request.position[0], request.position[1], request.position[2]));
    m_pScene->setScale(sgVec3(request.scale[0], request.scale[1], request.scale[2]));
    m_pScene->setRotAngle(request.angle);
    m_pScene->setRotAxis(sgVec3(request.axis[0], request.axis[1], request.axis[2]));
    // No undo step, but the change is the document's: a close asks to save it.
    SetModified();
    Redraw();
}

void CKelvanoView::OnSafetyZone() {
    if (!m_pDocument || !m_pHost) return;
    SafetyZoneRequest request;
    request.on = m_bSafetyZone;
    request.horizontal = m_pDocument->m_fSafetyZoneH;
    request.vertical = m_pDocument->m_fSafetyZoneV;
    if (!m_pHost->SafetyZoneDialog(request)) return;
    m_bSafetyZone = request.on != 0 ? 1 : 0;
    m_pDocument->m_fSafetyZoneH = CKelvanoDoc::SafetyZonePercent(request.horizontal);
    m_pDocument->m_fSafetyZoneV = CKelvanoDoc::SafetyZonePercent(request.vertical);
    // The frame shows, or goes, with the next draw.
    m_pDocument->UpdateSafetyZone();
}

void CKelvanoView::SetPanelPageTextureCheck(int on) {
    if (CFrameRelays* frame = Frame()) frame->SetPanelPageTextureCheck(on);
}

void CKelvanoView::SetTextPageTextureCheck(int on) {
    if (CFrameRelays* frame = Frame()) frame->SetTextPageTextureCheck(on);
}

void CKelvanoView::SetModelPageTextureCheck(int on) {
    if (CFrameRelays* frame = Frame()) frame->SetModelPageTextureCheck(on);
}

void CKelvanoView::OnSetFocus() {
    Redraw();
}

void CKelvanoView::DrawSafetyZone() {
    if (!m_pDocument) return;
    const int width = m_nClientWidth > 0 ? m_nClientWidth : m_pDocument->m_nSceneWidth;
    const int height = m_nClientHeight > 0 ? m_nClientHeight : m_pDocument->m_nSceneHeight;
    if (width <= 0 || height <= 0) return;
    const CRectI& r = m_pDocument->m_rcSafetyZone;
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    // Window pixels with y down, as the rectangle is kept.
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glViewport(0, 0, width, height);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_FOG);
    glDisable(GL_CULL_FACE);
    glDisable(GL_SCISSOR_TEST);
    glColor3f(1.0f, 1.0f, 1.0f);
    // The outline as four one-pixel strips: each pixel of the edges is lit
    // exactly once, corners included.
    const float l = float(r.left), t = float(r.top), rr = float(r.right) + 1, b = float(r.bottom) + 1;
    glRectf(l, t, rr, t + 1);
    glRectf(l, b - 1, rr, b);
    glRectf(l, t, l + 1, b);
    glRectf(rr - 1, t, rr, b);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}
