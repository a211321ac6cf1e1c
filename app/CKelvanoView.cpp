#include "app/CKelvanoView.h"

#include "app/CKelvanoAppState.h"
#include "app/CKelvanoDoc.h"
#include "app/KelvanoIds.h"

#include <GL/gl.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <filesystem>

namespace {
const char* const kAppName = "Kelvano";
}

CKelvanoView::CKelvanoView(CKelvanoDoc* doc, CViewHost* host) : m_pDocument(doc), m_pHost(host) {
    if (CKelvanoAppState* app = GetAppState()) app->m_pCurrentView = this;
}

CKelvanoView::~CKelvanoView() {
    // The scene goes first: it may still refer to GL objects of the context.
    m_pScene.reset();
    CKelvanoAppState* app = GetAppState();
    if (app && app->m_pCurrentView == this) app->m_pCurrentView = nullptr;
}

void CKelvanoView::ChooseFormatBits(int colorBits, int alphaBits, int& outColor, int& outAlpha) {
    if (alphaBits >= 8) {
        outColor = colorBits;
        outAlpha = alphaBits;
    } else if (colorBits < 32) {
        outColor = colorBits;
        outAlpha = 0;
    } else {
        outColor = 24;
        outAlpha = 8;
    }
}

int CKelvanoView::OnCreate(const GLFormatInfo& format) {
    int colorBits = 0, alphaBits = 0;
    ChooseFormatBits(format.redBits + format.greenBits + format.blueBits + format.alphaBits, format.alphaBits,
                     colorBits, alphaBits);
    if (CKelvanoAppState* app = GetAppState()) {
        app->m_nColorBits = colorBits;
        app->m_nAlphaBits = alphaBits;
    }
    m_bAlphaBits = format.alphaBits >= 8 ? 1 : 0;
    m_bAccumBuffer = format.accumRedBits > 0 ? 1 : 0;
    if (m_pDocument) {
        m_bHighlightSelected = m_pDocument->m_bHighlight;
        m_nOutputQuality = m_pDocument->m_nOutQuality;
    }
    return 0;
}

int CKelvanoView::AntiAliasPasses(int level) {
    if (level <= 0) return 0;
    if (m_bAccumBuffer) return level;
    if (!m_bToldNoAccum && m_pHost) {
        m_bToldNoAccum = true;
        m_pHost->SetStatusText("No accumulation buffer: anti-aliasing draws one pass");
    }
    return 0;
}

void CKelvanoView::OnDraw() {
    if (!m_pHost) return;
    const bool waitCursor = m_bWaitCursorOnDraw != 0;
    if (waitCursor) m_pHost->SetCursor(ViewCursor::Wait);
    if (m_pHost->MakeCurrent()) {
        bool drawn = true;
        if (!m_pScene) {
            glClearColor(kSceneBackground[0], kSceneBackground[1], kSceneBackground[2], kSceneBackground[3]);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        } else if (!m_bAnimationMode) {
            m_pScene->DrawInitial(AntiAliasPasses(m_nAntiAlias));
        } else if (!m_pScene->PauseReached()) {
            m_pScene->DrawFrame(AntiAliasPasses(m_nAntiAlias), m_nCurrentFrame);
        } else {
            drawn = false;
        }
        // A swap without a fresh picture would show an undefined back buffer;
        // the window keeps the last frame instead.
        if (drawn) m_pHost->SwapBuffers();
    }
    if (waitCursor) {
        m_pHost->SetCursor(CurrentCursor());
        m_bWaitCursorOnDraw = 0;
    }
}

void CKelvanoView::OnSize(int width, int height) {
    // A minimised window reports a zero side: keep the scene size and aspect.
    if (width <= 0 || height <= 0) return;
    m_nClientWidth = width;
    m_nClientHeight = height;
    if (m_pDocument) {
        m_pDocument->m_nSceneWidth = width;
        m_pDocument->m_nSceneHeight = height;
        m_pDocument->m_dAspect = static_cast<double>(width) / height;
        m_pDocument->UpdateSafetyZone();
    }
    if (m_pScene) m_pScene->SetViewport(width, height);
}

void CKelvanoView::OnDestroy() {
    m_bClosingToolWindows = 1;
    // The scene's GL objects are deleted while the view's context still exists.
    if (m_pScene && m_pHost) m_pHost->MakeCurrent();
    m_pScene.reset();
}

void CKelvanoView::OnTimer(int /*timerId*/) {
    // Playback and recording timers arrive here; none runs without a scene.
}

CRectI CKelvanoView::PrintTarget(int clientWidth, int clientHeight, int horzRes, int logPixelsX, int logPixelsY) {
    CRectI r;
    r.right = std::max(horzRes, 0);
    if (clientWidth <= 0 || logPixelsX <= 0 || clientHeight <= 0 || logPixelsY <= 0 || horzRes <= 0) return r;
    // 64-bit: at printer resolutions the product passes 2^31.
    const int64_t h = int64_t(clientHeight) * logPixelsY * horzRes / (int64_t(clientWidth) * logPixelsX);
    r.bottom = static_cast<int>(std::min<int64_t>(h, INT_MAX));
    return r;
}

int CKelvanoView::SaveModified() {
    if (!m_bModified) return 1;
    const int answer = m_pHost ? m_pHost->MessageBox("Save changes?", kAppName, KV_MB_YESNOCANCEL) : KV_IDCANCEL;
    if (answer == KV_IDCANCEL) return 0;
    if (answer == KV_IDYES) return OnFileSave() ? 1 : 0;
    return 1;
}

int CKelvanoView::OnFileSave() {
    if (m_strPathName.empty()) return OnFileSaveAs();
    return WriteScene();
}

int CKelvanoView::OnFileSaveAs() {
    if (!m_pHost) return 0;
    FileDialogRequest request;
    request.save = true;
    request.defaultExtension = ".apn";
    request.initialName = m_strPathName;
    request.filter = "Scene File (*.apn) |*.apn|";
    request.overwritePrompt = true;
    if (CKelvanoAppState* app = GetAppState()) request.initialDir = app->GetSceneDir();
    std::string path;
    if (!m_pHost->FileDialog(request, path) || path.empty()) return 0;
    const std::string oldPath = m_strPathName;
    m_strPathName = path;
    if (!WriteScene()) {
        m_strPathName = oldPath;
        return 0;
    }
    if (CKelvanoAppState* app = GetAppState())
        app->SetSceneDir(std::filesystem::path(path).parent_path().string());
    return 1;
}

int CKelvanoView::WriteScene() {
    if (CFrameRelays* frame = m_pHost ? m_pHost->GetMainFrame() : nullptr) {
        if (!m_bAnimationMode) {
            frame->RebuildEventTree();
            frame->ApplyEventTreeOrder();
        } else {
            frame->RebuildTimeLineRows();
        }
    }
    if (m_strPathName.empty()) return 0;
    // A failed write keeps the document modified and says so.
    if (!m_pScene || !m_pScene->Save(m_strPathName)) {
        if (m_pHost)
            m_pHost->MessageBox("\"" + m_strPathName + "\" could not be saved.", kAppName, KV_MB_OK | KV_MB_ICONERROR);
        return 0;
    }
    if (m_pHost) m_pHost->SetTitle(m_strPathName);
    m_bModified = 0;
    return 1;
}

bool CKelvanoView::OnCommand(int id) {
    switch (id) {
    case kv::ID_FILE_SAVE:
        if (m_pScene) OnFileSave();
        return true;
    case kv::ID_FILE_SAVE_AS:
        if (m_pScene) OnFileSaveAs();
        return true;
    default:
        return false;
    }
}

bool CKelvanoView::OnUpdateCommand(int id, CCmdUI& ui) {
    switch (id) {
    case kv::ID_FILE_SAVE:
    case kv::ID_FILE_SAVE_AS:
        // Nothing to write until a scene is attached.
        ui.Enable(m_pScene != nullptr);
        return true;
    default:
        return false;
    }
}

ViewCursor CKelvanoView::CurrentCursor() const {
    if (m_bBusy) return ViewCursor::Wait;
    switch (m_nTransformMode) {
    case 1: return ViewCursor::Scale;
    case 2: return ViewCursor::Rotate;
    default: return ViewCursor::Move;
    }
}

void CKelvanoView::AttachScene(std::unique_ptr<CViewScene> scene) {
    m_pScene = std::move(scene);
    if (m_pScene && m_nClientWidth > 0 && m_nClientHeight > 0) m_pScene->SetViewport(m_nClientWidth, m_nClientHeight);
}
