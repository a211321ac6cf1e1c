// Names for new objects and materials, and the background colour command.
#include "app/core/CKelvanoDoc.h"
#include "app/core/CKelvanoView.h"
#include "scene/pnBackground.h"
#include "scene/pnScene.h"

#include <cstdio>

namespace {

template <typename Taken>
std::string uniqueName(const std::string& base, Taken taken) {
    if (!taken(base)) return base;
    char number[16];
    for (int i = 1; i <= 10000; ++i) {
        std::snprintf(number, sizeof number, "%03d", i);
        const std::string name = base + number;
        if (!taken(name)) return name;
    }
    return "";
}

}  // namespace

std::string CKelvanoView::MakeUniqueObjectName(const std::string& base) const {
    if (!m_pScene) return "";
    return uniqueName(base, [this](const std::string& n) { return m_pScene->findObject(n.c_str()) != nullptr; });
}

std::string CKelvanoView::MakeUniqueMaterialName(const std::string& base) const {
    if (!m_pScene) return "";
    return uniqueName(base, [this](const std::string& n) { return m_pScene->materialExists(n.c_str()) != 0; });
}

int CKelvanoView::OnBackgroundColor() {
    if (!m_pScene || !m_pHost) return 0;
    auto* background = dynamic_cast<pnBackground*>(m_pScene->getBackground());
    if (!background) return 0;
    const sgVec4 old = background->getColor();
    ColorDialogRequest request;
    for (int i = 0; i < 3; ++i) request.color[i] = old[i];
    request.transparency = old[3];
    request.makeUnique = false;
    const int serial = m_nSceneSerial;
    // The dialog runs the event loop: a scene opened meanwhile keeps its own
    // background (the colour was chosen for another one).
    if (!m_pHost->ColorDialog(request) || serial != m_nSceneSerial) return 0;
    background = m_pScene ? dynamic_cast<pnBackground*>(m_pScene->getBackground()) : nullptr;
    if (!background) return 0;
    if (m_pDocument) m_pDocument->RecordUndoBeforeBackground(background);
    background->setColor(sgVec4(request.color[0], request.color[1], request.color[2], request.transparency));
    background->setUseTexture(0);
    m_pScene->applyViewpoint();
    m_pHost->Redraw();
    if (m_pDocument) m_pDocument->RecordUndoAfterBackground(background);
    return 1;
}
