#include "editor/CKelvanoView.h"
#include "editor/CUndoHistory.h"

#include "editor/AboutLinks.h"
#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/KelvanoIds.h"
#include "editor/KelvanoMenus.h"
#include "editor/SceneLights.h"
#include "editor/ViewMovieHost.h"
#include "export/CAviWriter.h"
#include "export/CFrameBitmapSink.h"
#include "export/CGifEncoder.h"
#include "export/FrameCapture.h"
#include "export/SwfExport.h"
#include "scene/pnBackground.h"
#include "scene/pnEvent.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "scene/pnSceneLoader.h"
#include "scene/pnStringProperty.h"
#include "scene/pnViewpoint.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgAccumTarget.h"
#include "sg/sgChannel.h"
#include "sg/sgNode.h"
#include "sg/sgRuntime.h"

#include <GL/gl.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <filesystem>

SceneGraphRoots* sceneGraphRoots = nullptr;
sgChannel* sceneChannel = nullptr;

namespace {
using kv::kAppName;

// The new-scene palette: ambient, diffuse, specular and shininess.
struct PaletteEntry {
    float ambient[3];
    float diffuse[3];
    float specular;
    float shininess;
};
const PaletteEntry kPalette[28] = {
    {{0.3f, 0.1347f, 0.1827f}, {0.9f, 0.4041f, 0.5481f}, 0, 0},
    {{0.1622f, 0.1734f, 0.3f}, {0.4862f, 0.5195f, 0.899f}, 0, 0},
    {{0.1793f, 0.3f, 0.1561f}, {0.5374f, 0.899f, 0.4678f}, 0, 0},
    {{0.3f, 0.2891f, 0.1653f}, {0.8912f, 0.8888f, 0.898f}, 0, 0},
    {{0.3f, 0.1979f, 0.1653f}, {0.898f, 0.5924f, 0.4948f}, 0, 0},
    {{0.1837f, 0.3f, 0.3f}, {0.5498f, 0.898f, 0.898f}, 0, 0},
    {{0.2982f, 0.1867f, 0.3f}, {0.8925f, 0.559f, 0.898f}, 0, 0},
    {{0.2977f, 0.2969f, 0.3f}, {0.898f, 0.8655f, 0.4948f}, 0, 0},
    {{0.1f, 0.0968f, 0.0f}, {0.0041f, 0.3808f, 0.4f}, 1, 60},
    {{0.0226f, 0.1f, 0.002f}, {0.0903f, 0.4f, 0.0082f}, 1, 60},
    {{0.1f, 0.0542f, 0.002f}, {0.715f, 0.3874f, 0.0146f}, 1, 60},
    {{0.1f, 0.002f, 0.04f}, {0.714f, 0.0146f, 0.2853f}, 1, 60},
    {{0.1f, 0.0f, 0.0f}, {0.4f, 0.3871f, 0.0f}, 1, 60},
    {{0.001f, 0.0042f, 0.1f}, {0.4f, 0.0f, 0.0f}, 1, 60},
    {{0.1f, 0.001f, 0.0968f}, {0.0041f, 0.0169f, 0.4f}, 1, 60},
    {{0.001f, 0.0952f, 0.1f}, {0.407f, 0.0042f, 0.394f}, 1, 60},
    {{0.2f, 0.2f, 0.2f}, {0.5f, 0.5f, 0.5f}, 1, 60},
    {{0.2f, 0.2f, 0.2f}, {1.0f, 1.0f, 1.0f}, 1, 60},
    {{0.2f, 0.0f, 0.0f}, {0.853f, 0.0f, 0.0f}, 1, 60},
    {{0.002f, 0.0084f, 0.2f}, {0.0087f, 0.0359f, 0.852f}, 1, 60},
    {{0.2f, 0.002f, 0.1936f}, {0.852f, 0.0087f, 0.8248f}, 1, 60},
    {{0.002f, 0.1904f, 0.2f}, {0.0087f, 0.8102f, 0.851f}, 1, 60},
    {{0.199f, 0.1926f, 0.0f}, {0.85f, 0.8226f, 0.0f}, 1, 60},
    {{0.0452f, 0.2f, 0.0041f}, {0.1926f, 0.853f, 0.0174f}, 1, 60},
    {{0.0f, 0.06f, 0.1f}, {0.0f, 0.6f, 1.0f}, 1, 60},
    {{0.04f, 0.08f, 0.02f}, {0.4f, 0.8f, 0.2f}, 1, 60},
    {{0.1f, 0.08f, 0.0f}, {1.0f, 0.8f, 0.0f}, 1, 60},
    {{0.1f, 0.02f, 0.0f}, {1.0f, 0.2f, 0.0f}, 1, 60},
};

// An event named name that shows the object (or camera, or light) of that
// name, hung into the scene graph. A taken name leaves the scene as it was.
void addNamedEvent(pnScene& scene, const std::string& name) {
    auto* event = new pnEvent;
    event->setName(name.c_str());
    event->addObjectName(name.c_str());
    if (!scene.addEvent(event)) {
        delete event;
        return;
    }
    scene.addObjectsToScene(event);
}

// Deletes a roots record with its root node (and every node only it holds).
void deleteRoots(std::unique_ptr<SceneGraphRootsOwner>& roots) {
    if (roots && sceneGraphRoots == roots.get()) sceneGraphRoots = nullptr;
    roots.reset();
}

}  // namespace

CKelvanoView::CKelvanoView(CKelvanoDoc* doc, CViewHost* host) : m_pDocument(doc), m_pHost(host) {
    if (m_pDocument) m_pDocument->AttachView(this);
    if (CKelvanoAppState* app = GetAppState()) app->m_pCurrentView = this;
}

CKelvanoView::~CKelvanoView() {
    // Windows still following let go of the scene (while it is there) and of the view.
    if (!m_listeners.empty()) Announce(ViewChange::SceneClosing);
    m_listeners.clear();
    // A movie still recording is given up: no message, no file left.
    m_pSwfExport.reset();
    if (m_aviWriter) {
        m_aviWriter->setHost(nullptr);
        m_aviWriter->close();
        m_aviWriter->deleteTemporaryFiles();
        m_aviWriter.reset();
    }
    // The scene goes before its roots: objects unlink their nodes first.
    ReleaseScene();
    if (m_pDocument) m_pDocument->DetachView(this);
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

    ResetScene();
    BuildNewScene();
    // The first scene finds chart shapes in the program folder as a New one does.
    SceneLoader().setFolders(std::string());
    if (m_pDocument) {
        m_bHighlightSelected = m_pDocument->m_bHighlight;
        m_nOutputQuality = m_pDocument->m_nOutQuality;
    }
    m_bCreated = 1;
    return 0;
}

void CKelvanoView::OnInitialUpdate() {
    if (m_bOpenWhenCreated && m_bCreated) {
        m_bOpenWhenCreated = 0;
        OnFileOpen();
    }
}

void CKelvanoView::BuildNewScene() {
    RefreshLightPage(0);
    m_pScene->buildSceneGraph();
    m_pScene->applyViewpoint();
    AddDefaultMaterials();
    AddCameraEvent();
    AddLightEvents();
}

void CKelvanoView::ResetScene() {
    ++m_nSceneSerial;
    m_pScene.reset();
    m_pScene = std::make_unique<pnScene>();
    m_nPlayedFrame = kNoPlayedFrame;

    sceneChannel = sgChannel::sgGetChannel();
    sceneChannel->setViewport(0, 0, kDefaultSceneWidth, kDefaultSceneHeight);
    sceneChannel->setFOV(0.0f, 30.0f);

    // The old root goes with every node still below it (the old scene let go
    // of its own nodes above).
    deleteRoots(m_pRoots);
    m_pRoots = std::make_unique<SceneGraphRootsOwner>();
    SceneGraphRoots& r = *m_pRoots;
    r.channel = sceneChannel;
    r.currentFrame = 0;
    r.pauseReached = 0;
    sceneGraphRoots = m_pRoots.get();
    m_pScene->setRoots(m_pRoots.get());
    sceneChannel->setScene(r.sceneRoot);
    sgInitGLState();
    sgSetTextureReload(1);

    auto* background = new pnBackground;
    background->setColor(sgVec4(kSceneBackground[0], kSceneBackground[1], kSceneBackground[2], kSceneBackground[3]));
    m_pScene->setBackground(background);
    m_pScene->setVersion(210);

    auto* camera = new pnViewpoint;
    camera->setName("Camera");
    camera->setPosition(0, 0, 906);
    camera->setLookAt(0, 0, 0);
    camera->fov = 30.0f;
    camera->far = 3000.0f;
    camera->perspective = 1;
    m_pScene->setViewpoint(camera);
}

void CKelvanoView::ReleaseScene() {
    // The steps name records of this scene: they go while it still exists.
    if (m_pDocument) m_pDocument->ClearUndoHistory();
    // Each pointer is cleared as its object goes, so a reset that follows
    // frees nothing twice.
    m_pScene.reset();
    m_nPlayedFrame = kNoPlayedFrame;
    deleteRoots(m_pRoots);
    if (sceneChannel || sgChannel::sgFindChannel()) sgChannel::sgFreeChannel();
    sceneChannel = nullptr;
}

void CKelvanoView::AddDefaultMaterials() {
    if (!m_pScene) return;
    for (int i = 0; i < 28; ++i) {
        const PaletteEntry& e = kPalette[i];
        auto* m = new pnMaterial;
        m->setName(("Color" + std::to_string(i + 1)).c_str());
        m->setAmbient(e.ambient[0], e.ambient[1], e.ambient[2]);
        m->setDiffuse(e.diffuse[0], e.diffuse[1], e.diffuse[2]);
        m->setSpecular(e.specular, e.specular, e.specular);
        m->setShininess(e.shininess);
        if (!m_pScene->addAMaterialToScene(m)) delete m;
    }
}

void CKelvanoView::AddCameraEvent() {
    if (!m_pScene) return;
    if (pnViewpoint* camera = m_pScene->getViewpoint()) camera->setName("Camera");
    addNamedEvent(*m_pScene, "Camera");
}

void CKelvanoView::AddLightEvents() {
    if (!m_pScene) return;
    for (int i = 0; i < kNumLightSlots; ++i)
        if (pnLight* light = m_pScene->getLight(i)) addNamedEvent(*m_pScene, light->getName());
}

void CKelvanoView::RefreshLightPage(int keep) {
    if (!m_pScene) return;
    // The Light page fills the slots and shows them; without it the slots
    // are filled all the same.
    CFrameRelays* frame = Frame();
    if (frame && frame->RefreshLightPage(keep)) return;
    InitSceneLights(*m_pScene, keep, m_pHost);
}

void CKelvanoView::SetObjectHighlight(pnObject* object, int on) {
    if (object) object->setHighlight(on);
}

void CKelvanoView::HighlightObjectByName(const std::string& name, int on) {
    if (m_pScene) SetObjectHighlight(m_pScene->findObject(name.c_str()), on);
}

// ---- the followers ----

void CKelvanoView::AddListener(CViewListener* listener) {
    if (listener && std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end())
        m_listeners.push_back(listener);
}

void CKelvanoView::RemoveListener(CViewListener* listener) {
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), listener), m_listeners.end());
}

void CKelvanoView::Announce(ViewChange change) {
    if (change == ViewChange::SceneReplaced || change == ViewChange::UndoApplied) {
        // The selection is told with the scene or the step.
        m_pShownSelection = m_pDocument ? m_pDocument->m_pSelectedObject : nullptr;
        m_strShownSelection = m_pShownSelection ? m_pShownSelection->getName() : std::string();
    }
    FollowChange(change);
    // A listener may close (and leave) or make another leave while it is told:
    // only those still listening hear it.
    const std::vector<CViewListener*> told = m_listeners;
    for (CViewListener* listener : told)
        if (std::find(m_listeners.begin(), m_listeners.end(), listener) != m_listeners.end())
            listener->OnViewChange(change);
}

void CKelvanoView::FollowChange(ViewChange change) {
    CFrameRelays* frame = Frame();
    switch (change) {
    case ViewChange::SelectionChanged:
    case ViewChange::ModeChanged: ShowSelectionInBars(); break;
    case ViewChange::SceneReplaced:
        ShowSelectionInBars();
        if (frame) frame->ReloadCameraPage();
        break;
    case ViewChange::UndoApplied:
        // A step may have put back an object, a material or the viewpoint:
        // every page shows the scene as the step left it.
        ShowSelectionInBars();
        if (frame) {
            frame->ReloadCameraPage();
            frame->ReloadLightPage();
        }
        break;
    case ViewChange::FrameChanged:
        if (frame && m_bAnimationMode) frame->ShowFrameInPages();
        break;
    case ViewChange::SceneClosing: break;
    }
}

void CKelvanoView::NoteSelection() {
    if (m_nHoldSelection > 0) return;
    const pnObject* now = m_pDocument ? m_pDocument->m_pSelectedObject : nullptr;
    const std::string name = now ? now->getName() : std::string();
    if (now == m_pShownSelection && name == m_strShownSelection) return;
    m_pShownSelection = now;
    m_strShownSelection = name;
    Announce(ViewChange::SelectionChanged);
}

void CKelvanoView::FrameContentChanged() {
    // A frame the view has not played yet is played by the next paint anyway.
    if (m_nPlayedFrame == m_nCurrentFrame) m_bPoseFrame = 1;
    Redraw();
    Announce(ViewChange::FrameChanged);
}

void CKelvanoView::ClearDocumentSelection() {
    m_bMultiDrag = 0;
    m_bSelectAll = 0;
    // An object still being placed, or dragged, goes with its scene.
    m_bPlacing = m_bPlacingFirstMove = 0;
    m_strPlacingName.clear();
    m_bDragging = 0;
    m_dragTargets.clear();
    if (!m_pDocument) return;
    m_pDocument->m_pClipboardObject.reset();
    m_pDocument->m_pClipboardLabelStyle.reset();
    m_pDocument->m_pClipboardDataStyle.reset();
    m_pDocument->m_pClipboardTextStyle.reset();
    m_pDocument->m_selectedObjects.clear();
    m_pDocument->m_pSelectedObject = nullptr;
    m_pDocument->m_pSelectedPart = nullptr;
    m_pDocument->m_nSelectedDataPt = -1;
    m_pDocument->m_nSelectedPartKind = -1;
    NoteSelection();
}

int CKelvanoView::AntiAliasPasses(int level) {
    if (level <= 0) return 0;
    // Offscreen targets sum the passes where the context has them.
    if (m_bAccumBuffer || sgAccumTarget::available()) return level;
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
        if (!m_pScene) {
            glClearColor(kSceneBackground[0], kSceneBackground[1], kSceneBackground[2], kSceneBackground[3]);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        } else if (!m_bAnimationMode) {
            m_pScene->drawInitial(AntiAliasPasses(m_nAntiAlias));
            m_nPlayedFrame = kNoPlayedFrame;
        } else {
            // A held pause only keeps the playback timer from going on: the
            // frame, reached by whatever path, is always drawn.
            if (m_pRoots) m_pRoots->currentFrame = m_nCurrentFrame;
            // Only reaching a frame plays it; repaints show it as it stands,
            // posed anew when its plays changed meanwhile.
            if (m_nPlayedFrame == m_nCurrentFrame && m_bPoseFrame) {
                m_pScene->drawPosedFrame(AntiAliasPasses(m_nAntiAlias), m_nCurrentFrame);
                m_bPoseFrame = 0;
            } else if (m_nPlayedFrame == m_nCurrentFrame) {
                m_pScene->redrawFrame(AntiAliasPasses(m_nAntiAlias), m_nCurrentFrame);
            } else {
                m_pScene->drawFrame(AntiAliasPasses(m_nAntiAlias), m_nCurrentFrame);
                m_nPlayedFrame = m_nCurrentFrame;
                m_bPoseFrame = 0;
            }
        }
        // The container's picture is read from the back buffer, before the
        // swap leaves it undefined.
        CKelvanoAppState* app = GetAppState();
        if (app && app->m_bEmbedded && m_nClientWidth > 0 && m_nClientHeight > 0) {
            if (m_dibWindowCapture.Width() != m_nClientWidth || m_dibWindowCapture.Height() != m_nClientHeight)
                m_dibWindowCapture.Create(m_nClientWidth, m_nClientHeight);
            m_dibWindowCapture.Capture(CRectI{0, 0, m_nClientWidth, m_nClientHeight}, m_nClientHeight);
        }
        if (m_bSafetyZone) DrawSafetyZone();
        m_pHost->SwapBuffers();
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
    // The viewport is GL state: set it only with the view's context current.
    if (sceneChannel && m_bCreated && m_pHost && m_pHost->MakeCurrent())
        sceneChannel->setViewport(0, 0, width, height);
    if (m_pScene) {
        m_pScene->setWidth(width);
        m_pScene->setHeight(height);
    }
}

void CKelvanoView::OnDestroy() {
    m_bClosingToolWindows = 1;
    if (m_pScene) Announce(ViewChange::SceneClosing);
    // The scene's GL objects are deleted while the view's context still exists.
    if ((m_pScene || m_pRoots) && m_pHost) m_pHost->MakeCurrent();
    ReleaseScene();
    m_bCreated = 0;
}

bool CKelvanoView::CaptureFrameToBitmap() {
    DibBlock dib = CaptureBackBufferDib(m_nRecordWidth, m_nRecordHeight, m_pCaptureBuffer);
    return !dib.empty() && m_pAviWriter && m_pAviWriter->addFrameBitmap(dib);
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

pnSceneLoader CKelvanoView::SceneLoader() const {
    // Relative model and texture names are looked up beside the scene file,
    // then in the program's folders. The stored names stay as the user wrote
    // them, so a saved scene keeps its relative paths.
    CKelvanoAppState* app = GetAppState();
    return pnSceneLoader(app ? app->GetProgramDir() : std::string());
}

void CKelvanoView::SetTransformMode(int mode) {
    m_nTransformMode = mode;
    // Move and Rotate never keep Z on together with X or Y.
    if (mode != 1 && m_bAxisZ && (m_bAxisX || m_bAxisY)) m_bAxisZ = 0;
    if (m_pHost) m_pHost->SetCursor(CurrentCursor());
}

void CKelvanoView::ToggleAxis(int axis) {
    const bool scale = m_nTransformMode == 1;
    if (axis == 2) {
        m_bAxisZ = !m_bAxisZ;
        if (!scale) m_bAxisX = m_bAxisY = 0;
    } else {
        int& flag = axis == 0 ? m_bAxisX : m_bAxisY;
        flag = !flag;
        if (!scale) m_bAxisZ = 0;
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

