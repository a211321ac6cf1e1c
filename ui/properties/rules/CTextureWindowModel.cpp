#include "ui/properties/rules/CTextureWindowModel.h"

#include "editor/CEditScope.h"
#include "editor/CKelvanoView.h"
#include "scene/pnObject.h"
#include "scene/pnPanel.h"

namespace {
enum { kText = 1, kCounter = 2, kModel = 3, kPanel = 4 };

int& toolFlag(CKelvanoView& view, CTextureWindowModel::Tool tool) {
    return tool == CTextureWindowModel::kMove    ? view.m_bTexMoveDrag
           : tool == CTextureWindowModel::kScale ? view.m_bTexScaleDrag
                                                 : view.m_bTexRotateDrag;
}
}  // namespace

CTextureWindowModel::~CTextureWindowModel() {
    // A window torn down while open (the program's end) writes nothing.
    m_onClosed = nullptr;
    Finish();
}

void CTextureWindowModel::Open(CKelvanoView& view, pnObject& object) {
    m_pView = &view;
    m_pObject = &object;
    view.AddListener(this);
}

void CTextureWindowModel::Apply() {
    if (!m_pView || !m_pObject) return;
    if (m_nFrames < 1) m_nFrames = 1;
    pnObject& object = *m_pObject;
    auto* panel = m_nKind == kPanel ? dynamic_cast<pnPanel*>(m_pObject) : nullptr;
    if (m_nKind == kPanel && !panel) return;
    auto texMode = [&] {
        if (m_nTexMode == 1) {
            object.setTexMode(1);
            object.setNumIndex(m_nFrames);
        } else {
            object.setTexMode(0);
        }
    };
    if (panel && m_strPath.empty()) {
        // Without a file only the modes change: no step, the scene still changed.
        if (m_nTexMode == 2) {
            panel->setFaceFlags(m_faces);
            panel->setTexMode(2);
            panel->setMode(0);
        } else {
            texMode();
        }
        m_pView->SetModified();
        m_pView->Redraw();
        return;
    }
    CEditScope edit(*m_pView, m_pObject);
    object.setTexture(m_strPath.c_str());
    texMode();
    if (!panel) {
        object.setMode(m_nMapping);
    } else if (m_bWrapping) {
        panel->setEachFaceFlag(1, 1, 1, 1, 1, 1);
        panel->setMode(m_nMapping);
    } else {
        panel->setFaceFlags(m_faces);
        panel->setMode(0);
    }
}

void CTextureWindowModel::SetTool(Tool tool, bool on) {
    if (!m_pView || tool == kNoTool) return;
    if (!on) {
        toolFlag(*m_pView, tool) = 0;
        if (m_tool == tool) m_tool = kNoTool;
        return;
    }
    for (Tool t : {kMove, kScale, kRotate}) toolFlag(*m_pView, t) = t == tool;
    m_tool = tool;
}

void CTextureWindowModel::TermsOf(Tool tool, float& u, float& v) const {
    u = v = 0.0f;
    if (!m_pObject) return;
    if (tool == kMove) m_pObject->getTexMove(&u, &v);
    else if (tool == kRotate) m_pObject->getTexRotate(&u, &v);
    else if (tool == kScale) m_pObject->getTexScale(&u, &v);
}

void CTextureWindowModel::SetTerms(float u, float v) {
    if (!m_pView || !m_pObject || m_tool == kNoTool) return;
    if (m_tool == kMove) m_pObject->setTexMove(u, v);
    else if (m_tool == kScale) m_pObject->setTexScale(u, v);
    else m_pObject->setTexRotate(u, v);
    m_pView->SetModified();
    m_pView->Redraw();
}

void CTextureWindowModel::Reset() {
    if (!m_pView || !m_pObject) return;
    m_pObject->resetTexPlanes();
    m_pView->SetModified();
    m_pView->Redraw();
}

bool CTextureWindowModel::ShowsTexture() const {
    if (!m_pObject || m_pObject->getTexture().empty()) return false;
    if (m_nKind != kPanel) return m_pObject->getMode() != 0;
    const auto* panel = dynamic_cast<const pnPanel*>(m_pObject);
    for (int f = 0; panel && f < pnPanel::NUM_FACES; ++f)
        if (panel->getFaceFlag(f)) return true;
    return false;
}

void CTextureWindowModel::Close() {
    if (m_pView && m_pObject) {
        const int on = ShowsTexture() ? 1 : 0;
        if (m_nKind == kText) m_pView->SetTextPageTextureCheck(on);
        else if (m_nKind == kModel) m_pView->SetModelPageTextureCheck(on);
        else if (m_nKind == kPanel) m_pView->SetPanelPageTextureCheck(on);
    }
    Finish();
}

void CTextureWindowModel::Cancel() { Finish(); }

void CTextureWindowModel::OnViewChange(ViewChange change) {
    if (change != ViewChange::FrameChanged) Cancel();
}

void CTextureWindowModel::Finish() {
    if (m_pView) {
        if (m_tool != kNoTool) toolFlag(*m_pView, m_tool) = 0;
        m_pView->RemoveListener(this);
    }
    const bool wasOpen = m_pObject != nullptr;
    m_tool = kNoTool;
    m_pView = nullptr;
    m_pObject = nullptr;
    if (wasOpen && m_onClosed) {
        auto closed = std::move(m_onClosed);
        m_onClosed = nullptr;
        closed();
    }
}
