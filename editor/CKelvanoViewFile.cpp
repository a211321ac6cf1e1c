// The view's file commands (New, Open, Save, Save As, the ".bpn" saves and
// dropped files) and the small commands that sit with them: Highlight
// Selected and the scene alignment.
#include "editor/CKelvanoView.h"

#include "editor/AboutLinks.h"
#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnSceneLoader.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgChannel.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {
using kv::kAppName;

constexpr const char* kOpenErrorCaption = "File open error";
// A scene file may ask for any size; the window (with its GL buffers, the
// accumulation buffer among them) stays within what a screen shows.
int sceneSide(int side) { return std::clamp(side, 1, kMaxSceneSide); }

std::string inQuotes(const std::string& path) { return "\"" + path + "\""; }
std::string folderOf(const std::string& path) { return std::filesystem::path(path).parent_path().string(); }
}  // namespace

int CKelvanoView::ReadSceneFile(const std::string& path, pnScene& scene, pnReadEnd* end) {
    return pnSceneLoader::readScene(scene, path, end);
}

namespace {
// Whether a new file can be made in a folder: tried, since permissions alone
// do not tell (an administrator, a read-only mount).
bool folderWritable(const std::string& dir) {
    if (dir.empty()) return false;
    std::string probe = dir + "/.kelvano-XXXXXX";
    const int fd = ::mkstemp(&probe[0]);
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}
}  // namespace

std::string CKelvanoView::SaveDialogFolder(const std::string& sceneDir) {
    if (folderWritable(sceneDir)) return sceneDir;
    const char* home = std::getenv("HOME");
    if (!home || !*home) return sceneDir;
    std::error_code ec;
    const std::string documents = std::string(home) + "/Documents";
    if (std::filesystem::is_directory(documents, ec) && folderWritable(documents)) return documents;
    return home;
}

// ---- prompts and saving ----

int CKelvanoView::SaveModified() {
    if (!m_bModified) return 1;
    const int answer = m_pHost ? m_pHost->MessageBox("Save changes?", kAppName, KV_MB_YESNOCANCEL) : KV_IDCANCEL;
    if (answer == KV_IDCANCEL) return 0;
    if (answer == KV_IDYES) return OnFileSave() ? 1 : 0;
    return 1;
}

int CKelvanoView::OnFileSave() {
    // A preset view is the program's camera, not the user's: the file gets
    // the user's.
    SwitchPresetOff();
    if (m_strPathName.empty()) return OnFileSaveAs();
    return WriteScene();
}

int CKelvanoView::SaveAsWithDialog(const char* extension, const char* filter, int (CKelvanoView::*write)()) {
    if (!m_pHost) return 0;
    FileDialogRequest request;
    request.title = "Save As";
    request.save = true;
    request.defaultExtension = extension;
    request.initialName = m_strPathName;
    request.filter = filter;
    request.overwritePrompt = true;
    if (CKelvanoAppState* app = GetAppState()) request.initialDir = SaveDialogFolder(app->GetSceneDir());
    std::string path;
    if (!m_pHost->FileDialog(request, path) || path.empty()) return 0;
    const std::string oldPath = m_strPathName;
    m_strPathName = path;
    if (!(this->*write)()) {
        m_strPathName = oldPath;
        return 0;
    }
    if (CKelvanoAppState* app = GetAppState()) app->SetSceneDir(folderOf(path));
    // The scene lives in its new folder now: its sounds, pictures and models
    // are looked for there, as after an Open of the file.
    SceneLoader().setFolders(folderOf(path));
    return 1;
}

int CKelvanoView::OnFileSaveAs() {
    SwitchPresetOff();
    return SaveAsWithDialog(".apn", "Scene File (*.apn) |*.apn|", &CKelvanoView::WriteScene);
}

int CKelvanoView::WriteScene() {
    if (CFrameRelays* frame = Frame()) {
        // The tree's order goes to the scene in both modes: in animation mode
        // the tree is current (a re-parenting drop changes only the parents).
        if (!m_bAnimationMode) frame->RebuildEventTree();
        frame->ApplyEventTreeOrder();
        if (m_bAnimationMode) frame->RebuildTimeLineRows();
    }
    if (m_strPathName.empty()) return 0;
    if (m_pScene) m_pScene->setName(std::filesystem::path(m_strPathName).stem().string().c_str());
    // A failed write keeps the document modified and says so, and why.
    if (!SaveSceneTo(m_strPathName)) return 0;
    if (m_pHost) m_pHost->SetTitle(m_strPathName);
    SetModified(false);
    return 1;
}

int CKelvanoView::SaveSceneTo(const std::string& path) {
    std::string why;
    if (m_pScene && WriteWithoutPreview(path, &why)) return 1;
    if (m_pHost)
        m_pHost->MessageBox(inQuotes(path) + " could not be saved." + (why.empty() ? "" : "\n" + why + "."), kAppName,
                            KV_MB_OK | KV_MB_ICONERROR);
    return 0;
}

int CKelvanoView::OnSaveBinaryAs() {
    return SaveAsWithDialog(".bpn", "Binary File (*.bpn) |*.bpn|", &CKelvanoView::OnSaveBinary);
}

int CKelvanoView::OnSaveBinary() {
    if (m_strPathName.empty()) return OnFileSaveAs();
    if (CFrameRelays* frame = Frame()) frame->ApplyEventTreeOrder();
    if (!SaveSceneTo(m_strPathName)) return 0;
    SetModified(false);
    return 1;
}

int CKelvanoView::WriteWithoutPreview(const std::string& path, std::string* why) {
    pnScene& scene = *m_pScene;
    pnEffect* preview = m_nEffectEditMode == 1 && !m_strDialogPlayEffect.empty()
                            ? scene.findEffect(m_strDialogPlayEffect.c_str())
                            : nullptr;
    pnEvent* event = m_bDialogPlayAdded ? scene.findEvent(m_strDialogPlayEvent.c_str()) : nullptr;
    int at = -1;
    pnEventPlay play;
    for (int i = 0; event && at < 0 && i < event->getNumPlays(); ++i)
        if (event->getPlay(i)->effect == m_strDialogPlayEffect) at = i;
    if (at >= 0) {
        play = *event->getPlay(at);
        event->removePlayAt(at);
    }
    if (preview) scene.removeEffect(preview);
    // The followers' unapplied values leave the scene while it is written.
    const std::vector<CViewListener*> told = m_listeners;
    for (CViewListener* listener : told) listener->OnSceneWrite(true);
    const int saved = scene.save(path.c_str(), 0, why);
    for (CViewListener* listener : told) listener->OnSceneWrite(false);
    if (preview) scene.addEffect(preview);
    if (at >= 0) event->insertPlayAt(at, play);
    return saved;
}

// ---- New ----

int CKelvanoView::OnFileNew() {
    if (!SaveModified()) return 0;
    if (!m_pHost || !m_pDocument || !m_bCreated) return 0;
    // The windows on the scene let go of it while it is still there; what
    // they take back (an editor's unapplied drag) goes with it.
    Announce(ViewChange::SceneClosing);
    ++m_nHoldSelection;
    ClearDocumentSelection();
    SwitchPresetOff();
    m_nActivePreset = -1;
    m_bPresetViewSaved = 0;
    std::fill(std::begin(m_bPresetOn), std::end(m_bPresetOn), 0);
    CFrameRelays* frame = Frame();
    const bool leftAnimation = m_bAnimationMode != 0;
    if (m_bAnimationMode) {
        m_bAnimationMode = 0;
        if (frame) frame->UpdateBarsForMode(false, std::string());
    }
    m_bPlaying = 0;
    m_nCurrentFrame = 0;

    m_pHost->MakeCurrent();
    ReleaseScene();
    ResetScene();
    BuildNewScene();
    SceneLoader().setFolders(std::string());
    const int width = sceneSide(m_pDocument->m_nSceneWidth), height = sceneSide(m_pDocument->m_nSceneHeight);
    m_pHost->SetSceneSize(width, height);
    OnSize(width, height);

    m_pDocument->ClearEffectUses();
    m_strPathName.clear();
    SetModified(false);
    m_pHost->SetTitle("Untitled");
    ClearDocumentSelection();
    if (frame) frame->ClearObjectList();
    --m_nHoldSelection;
    Announce(ViewChange::SceneReplaced);
    if (leftAnimation) Announce(ViewChange::ModeChanged);
    Redraw();
    return 1;
}

// ---- Open ----

int CKelvanoView::OnFileOpen() {
    if (m_bOpenGivenFile) {
        CKelvanoAppState* app = GetAppState();
        return OpenScene(OpenOrigin::Given, app ? app->m_strOpenFile : std::string());
    }
    if (!m_strPendingOpen.empty()) return OpenScene(OpenOrigin::Recent, m_strPendingOpen);
    return OpenScene(OpenOrigin::Dialog, std::string());
}

int CKelvanoView::OnDropFiles(const std::vector<std::string>& paths) {
    // As Open, which is greyed then: a scene is never pulled from under playback or a recording.
    if (paths.empty() || paths.front().empty() || m_bPlaying || m_bBusy) return 0;
    return OpenScene(OpenOrigin::Drop, paths.front());
}

int CKelvanoView::OpenScene(OpenOrigin origin, const std::string& givenPath) {
    // The start-up open may come before the window can draw: it then runs as
    // soon as the view is created.
    if (!m_bCreated && m_pHost) m_pHost->MakeCurrent();
    if (!m_bCreated) {
        if (origin == OpenOrigin::Given || origin == OpenOrigin::Recent) m_bOpenWhenCreated = 1;
        return 0;
    }
    // A recent file's path is used by this open alone, however it ends: a
    // Cancel at "Save changes?" must not leave it for the next Ctrl+O. (The
    // given path may be that very field.)
    std::string path = givenPath;
    m_strPendingOpen.clear();
    if (!m_pHost || !SaveModified()) return 0;
    CKelvanoAppState* app = GetAppState();
    const bool dropped = origin == OpenOrigin::Drop;
    m_bOpenGivenFile = 0;
    if (origin == OpenOrigin::Dialog) {
        FileDialogRequest request;
        request.title = "Open";
        request.defaultExtension = ".apn";
        request.filter = "Scene File(*.apn) |*.apn|";
        if (app) request.initialDir = app->GetSceneDir();
        if (!m_pHost->FileDialog(request, path) || path.empty()) return 0;
    }

    // Tested first: whatever fails, the scene on the screen stays.
    auto refuse = [&](const std::string& text) {
        m_pHost->MessageBox(text, kOpenErrorCaption, KV_MB_OK | KV_MB_ICONERROR);
        m_strPendingOpen.clear();
        m_pHost->SetCursor(CurrentCursor());
        return 0;
    };
    m_pHost->SetCursor(ViewCursor::Wait);
    auto scene = std::make_unique<pnScene>();
    pnReadEnd end;
    const int read = ReadSceneFile(path, *scene, &end);
    if (read == 0) {
        if (origin == OpenOrigin::Recent && app) app->RemoveFromRecentFiles(path);
        return refuse(dropped ? inQuotes(path) + ": not found" : inQuotes(path) + " is not found.");
    }
    if (read < 0) return refuse(inQuotes(path) + " is not a scene file.");
    // A file cut off inside a block holds only part of its scene: the
    // current scene goes only when the user wants what could be read.
    if (!end.whole && m_pHost->MessageBox(pnSceneLoader::cutShortMessage(path, end) + "\nOpen what could be read?",
                                          kOpenErrorCaption, KV_MB_YESNO | KV_MB_ICONWARNING) != KV_IDYES) {
        m_pHost->SetCursor(CurrentCursor());
        return 0;
    }
    if ((origin == OpenOrigin::Dialog || dropped) && app) {
        app->SetSceneDir(folderOf(path));
        app->AddToRecentFiles(path);
    }
    if (!m_pDocument || !m_pHost->MakeCurrent()) {
        m_pHost->SetCursor(CurrentCursor());
        return 0;
    }

    m_pDocument->m_bKeepAspect = 0;
    // The windows on the scene let go of it while it is still there.
    Announce(ViewChange::SceneClosing);
    ++m_nHoldSelection;
    SwitchPresetOff();
    m_nActivePreset = -1;
    m_bPresetViewSaved = 0;
    std::fill(std::begin(m_bPresetOn), std::end(m_bPresetOn), 0);
    ClearDocumentSelection();
    ReleaseScene();
    ResetScene();
    m_pScene = std::move(scene);
    m_pScene->setRoots(m_pRoots.get());
    SceneLoader().setFolders(folderOf(path));

    bool convert = false;
    const int version = m_pScene->getVersion();
    if (version == 120) {
        const std::string text = dropped ? "The version of the scene file is 1.2.\nDo you want to convert file to 2.6?"
                                         : "This version of the scene file is 1.2.\nDo you want to convert file to "
                                           "the recent version?";
        if (m_pHost->MessageBox(text, kAppName, KV_MB_YESNO | KV_MB_ICONQUESTION) == KV_IDYES) {
            m_pScene->setVersion(250);
            convert = true;
        }
    } else if (version == 200 || (version == 210 && !dropped)) {
        m_pScene->setVersion(250);
    }

    m_pRoots->currentFrame = 0;
    RefreshLightPage(1);
    if (convert) {
        AddCameraEvent();
        AddLightEvents();
        AddObjectEvents();
    }
    m_pScene->buildSceneGraph();
    m_pScene->applyViewpoint();
    FillSceneLists();

    const int width = sceneSide(m_pScene->getWidth());
    const int height = sceneSide(m_pScene->getHeight());
    m_pHost->SetSceneSize(width, height);
    if (sceneChannel) sceneChannel->setViewport(0, 0, width, height);
    m_strPathName = path;
    m_pHost->SetTitle(path);

    SetModified(false);
    m_strPendingOpen.clear();
    if (m_bAnimationMode) {
        // The rows follow the view's frame.
        SetCurrentFrame(0);
        if (CFrameRelays* frame = Frame()) {
            frame->RebuildTimeLineRows();
            frame->RebuildEventTree();
        }
    }
    --m_nHoldSelection;
    Announce(ViewChange::SceneReplaced);
    Redraw();
    m_pHost->SetCursor(CurrentCursor());
    return 1;
}

void CKelvanoView::FillSceneLists() {
    CFrameRelays* frame = Frame();
    if (frame) frame->ClearObjectList();
    ClearDocumentSelection();
    if (!m_pScene) return;
    for (int i = 0; i < m_pScene->getNumObjects(); ++i)
        if (frame) {
            frame->AddObjectListItem(m_pScene->getObject(i)->getName());
            frame->AddObjectChooserName(m_pScene->getObject(i)->getName());
        }
    if (m_pScene->getNumObjects() > 0) SelectObject(m_pScene->getObject(0));
    if (m_pDocument) {
        std::vector<std::string> effects, plays;
        for (int i = 0; i < m_pScene->getNumEffects(); ++i) effects.push_back(m_pScene->getEffect(i)->getName());
        for (int i = 0; i < m_pScene->getNumEvents(); ++i) {
            const pnEvent* event = m_pScene->getEvent(i);
            for (int j = 0; j < event->getNumPlays(); ++j) plays.push_back(event->getPlay(j)->effect);
        }
        m_pDocument->RebuildEffectUses(effects, plays);
    }
}

void CKelvanoView::AddObjectEvents() {
    if (!m_pScene) return;
    for (int i = 0; i < m_pScene->getNumObjects(); ++i) {
        const std::string name = m_pScene->getObject(i)->getName();
        auto* event = new pnEvent;
        event->setName(name.c_str());
        event->addObjectName(name.c_str());
        if (!m_pScene->addEvent(event)) delete event;
    }
}

// ---- Highlight Selected and alignment ----

void CKelvanoView::ClearHighlights() {
    if (!m_pScene) return;
    for (int i = 0; i < m_pScene->getNumObjects(); ++i) SetObjectHighlight(m_pScene->getObject(i), 0);
}

void CKelvanoView::HighlightSelection() {
    if (!m_pDocument) return;
    if (m_pDocument->m_selectedObjects.empty())
        SetObjectHighlight(m_pDocument->m_pSelectedObject, 1);
    else
        for (pnObject* object : m_pDocument->m_selectedObjects) SetObjectHighlight(object, 1);
}

void CKelvanoView::OnHighlightSelected() {
    m_bHighlightSelected = !m_bHighlightSelected;
    if (m_pDocument) m_pDocument->m_bHighlight = m_bHighlightSelected;
    if (m_bHighlightSelected)
        HighlightSelection();
    else
        ClearHighlights();
    Redraw();
}

void CKelvanoView::OnSceneAlign(int index) {
    m_nSceneAlign = index;
    if (m_pScene) m_pScene->setAlign(index);
}
