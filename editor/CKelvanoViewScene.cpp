// The scene window's size, the copy offsets and the background texture.
#include "editor/CEditScope.h"
#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/PictureErrors.h"
#include "scene/pnBackground.h"
#include "scene/pnScene.h"

#include <cstdio>
#include <string>

namespace {

bool isAbsoluteStored(const std::string& path) {
    return path.size() > 1 && (path[1] == ':' || path[1] == '\\' || path[0] == '/' || path[0] == '\\');
}

std::string folderOf(const std::string& path) {
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

}  // namespace

int CKelvanoView::OnImageSize() {
    // A recording reads every frame at the size it started with.
    if (!m_pDocument || !m_pHost || m_bBusy) return 0;
    CKelvanoDoc& doc = *m_pDocument;
    int width = doc.m_nSceneWidth, height = doc.m_nSceneHeight, constrain = doc.m_bKeepAspect;
    if (!m_pHost->ImageSizeDialog(width, height, constrain)) return 0;
    // The dialog refuses a side outside 1..kMaxSceneSide; the document hears
    // the new size through OnSize.
    if (width < 1 || height < 1 || width > kMaxSceneSide || height > kMaxSceneSide) return 0;
    m_pHost->SetSceneSize(width, height);
    doc.m_bKeepAspect = constrain;
    SetModified();
    return 1;
}

int CKelvanoView::OnEditOptions() {
    if (!m_pScene || !m_pDocument || !m_pHost) return 0;
    int x = m_pDocument->m_nCopyOffsetX, y = m_pDocument->m_nCopyOffsetY;
    const bool ok = m_pHost->EditOptionsDialog(x, y);
    if (ok) {
        m_pDocument->m_nCopyOffsetX = x;
        m_pDocument->m_nCopyOffsetY = y;
    }
    Redraw();
    return ok ? 1 : 0;
}

int CKelvanoView::OnBackgroundTexture() {
    if (!m_pScene || !m_pHost) return 0;
    auto* background = dynamic_cast<pnBackground*>(m_pScene->getBackground());
    if (!background) return 0;
    CKelvanoAppState* app = GetAppState();
    const std::string programDir = app ? app->GetProgramDir() : std::string();

    FileDialogRequest request;
    request.title = "Open";
    request.defaultExtension = ".tga";
    request.preview = true;
    request.filter = "Texture Image (*.tga; *.bmp; *.jpg; *.png; *.rgb)" + std::string(27, ' ') +
                     "|*.tga; *.bmp; *.jpg; *.png; *.rgb|";
    const std::string& stored = background->getFile();
    if (!stored.empty())
        request.initialDir = folderOf(isAbsoluteStored(stored) ? stored : programDir + "/" + stored);
    else if (app)
        request.initialDir = app->m_strBackgroundDir;

    std::string path;
    const int serial = m_nSceneSerial;
    if (!m_pHost->FileDialog(request, path) || path.empty() || serial != m_nSceneSerial || !m_pScene) return 0;
    if (FILE* f = std::fopen(path.c_str(), "rb"))
        std::fclose(f);
    else {
        m_pHost->MessageBox("\"" + path + "\": not found", "File open error", KV_MB_OK | KV_MB_ICONERROR);
        return 0;
    }
    // A picture that cannot be read is refused; the background stays as it is.
    std::string refusal;
    if (!CheckPictureFile(path, refusal)) {
        m_pHost->MessageBox(refusal, "File open error", KV_MB_OK | KV_MB_ICONERROR);
        return 0;
    }
    if (app) app->m_strBackgroundDir = folderOf(path);
    std::string name = path;
    const std::string prefix = programDir + "/";
    if (!programDir.empty() && name.compare(0, prefix.size(), prefix) == 0) name = name.substr(prefix.size());

    background = dynamic_cast<pnBackground*>(m_pScene->getBackground());
    if (!background) return 0;
    CEditScope edit(*this, background);
    m_pHost->SetCursor(ViewCursor::Wait);
    background->setFileName(name.c_str());
    background->setUseTexture(1);
    background->setTexMode(0);
    m_pScene->applyViewpoint();
    m_pHost->SetCursor(CurrentCursor());
    return 1;
}
