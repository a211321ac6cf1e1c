// The background colour command.
#include "editor/CEditScope.h"
#include "editor/CKelvanoView.h"
#include "scene/pnBackground.h"
#include "scene/pnScene.h"

#include <cstdio>

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
    CEditScope edit(*this, background);
    background->setColor(sgVec4(request.color[0], request.color[1], request.color[2], request.transparency));
    background->setUseTexture(0);
    m_pScene->applyViewpoint();
    return 1;
}
