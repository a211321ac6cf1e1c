// The movie exports of the view: the AVI movie with the scene's sound track
// (recording kind 203) and the Flash movie (kind 207), and their recording
// ticks and endings.
#include "editor/AboutLinks.h"
#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/KelvanoIds.h"
#include "editor/ViewMovieHost.h"
#include "export/CAviWriter.h"
#include "export/SwfExport.h"
#include "platform/PathParts.h"
#include "scene/pnScene.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgImage.h"
#include "sg/sgRuntime.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#ifndef GL_BGRA
#define GL_BGRA 0x80E1
#endif

namespace {

// The Flash base name: the chosen path without its ".swf".
std::string swfBaseOf(const std::string& path) {
    const std::string ext = pathExtensionLower(path);
    return ext == "swf" ? path.substr(0, path.size() - 4) : path;
}

}  // namespace

CAviWriter& CKelvanoView::GetAviWriter() {
    if (!m_pMovieHost) m_pMovieHost = std::make_unique<ViewMovieHost>(m_pHost);
    if (!m_aviWriter) m_aviWriter = std::make_unique<CAviWriter>(m_pMovieHost.get());
    return *m_aviWriter;
}

void CKelvanoView::ClearSoundList() { m_soundList.clear(); }

void CKelvanoView::FreeSoundList() { std::vector<AviSound>().swap(m_soundList); }

int CKelvanoView::BuildSoundList() {
    m_soundList.clear();
    if (!m_pScene) return 0;
    const int end = m_nRecordEndFrame == -1 ? std::max(0, m_pScene->getLastEventFrame()) : m_nRecordEndFrame;
    std::vector<std::string> folders;
    if (CKelvanoAppState* app = GetAppState()) folders.push_back(pathJoin(app->GetProgramDir(), "Sounds"));
    m_soundList = SceneSoundList(*m_pScene, 0, end, m_strPathName, folders);
    return int(m_soundList.size());
}

void CKelvanoView::OnExportAvi() {
    if (!m_pHost || !m_pScene || !m_pDocument) return;
    m_nRecordWidth = m_pDocument->m_nSceneWidth;
    m_nRecordHeight = m_pDocument->m_nSceneHeight;
    if (!m_bAnimationMode || m_bPlaying || m_bBusy) return;
    const FileDialogRequest request = ExportFileRequest("Save To AVI", ".avi", "avi (*.avi) |*.avi|");
    CKelvanoAppState* app = GetAppState();
    std::string path;
    if (!m_pHost->FileDialog(request, path) || path.empty()) return;

    m_bBusy = 1;
    SwitchPresetOff();
    if (app) app->SetExportFolder(pathFolder(path));
    m_strAviPath = m_strRecordPath = path;
    m_bRecordFailed = 0;
    m_nRecordCutFrame = -1;
    m_bRecordCanceled = 0;
    if (m_bHighlightSelected) SuspendHighlights();

    // The temporary movie sits beside the final one, so the end is a rename.
    CAviWriter& writer = GetAviWriter();
    m_pMovieHost->Forget();
    const std::string temp = CAviWriter::makeTemporaryMovieName(path);
    bool started = !temp.empty() && writer.open(temp, -1, -1);
    SetCurrentFrame(0);
    if (CFrameRelays* frame = Frame()) frame->SetTimeLineFrame(0);
    UseOutputLevel();
    if (started) {
        // The first frame also asks for the compressor.
        m_pAviWriter = &writer;
        started = DrawForCapture(m_nAntiAlias) && CaptureFrameToBitmap();
        m_pHost->SwapBuffers();
    }
    if (!started) {
        // No movie: nothing is recorded and no file stays behind.
        const bool quiet = m_pMovieHost->canceled || m_pMovieHost->messages > 0;
        m_pAviWriter = nullptr;
        writer.close();
        writer.deleteTemporaryFiles();
        writer.reset();
        m_bBusy = 0;
        m_pCaptureBuffer = std::vector<uint8_t>();
        m_strAviPath.clear();
        m_strRecordPath.clear();
        if (m_bHighlightSelected) RestoreHighlights();
        RestoreDisplayLevel();
        Redraw();
        if (!quiet) ReportWriteFailure(path);
        return;
    }
    m_nProgressPos = 0;
    m_pHost->ShowProgress("Creating AVI File", 0, std::max(0, m_pScene->getLastEventFrame()),
                          CViewHost::ProgressPlace::BottomMiddle);
    StartPlayback(kRecordAviTimer);
}

void CKelvanoView::EndRecordingNow() {
    m_bPlaying = 0;
    m_bRecordDone = 1;
    if (m_pHost && m_nTimerId) m_pHost->KillTimer(m_nTimerId);
    if (m_pRoots) m_pRoots->pauseReached = 0;
}

void CKelvanoView::OnAviRecordTick() {
    const int written = m_nCurrentFrame;
    StepFrame(false);
    if (!CaptureFrameToBitmap()) {
        // The writer takes no more frames: the movie ends with those it has,
        // and the end says so once the file is written.
        m_nRecordCutFrame = written;
        EndRecordingNow();
    }
    if (m_pHost) m_pHost->SwapBuffers();
    if (!m_bRecordDone) {
        char text[512];
        std::snprintf(text, sizeof text, "Creating %s: frame %d", pathBaseName(m_strAviPath).c_str(), written);
        ShowRecordProgress(text);
        return;
    }
    m_pAviWriter = nullptr;
    ClearSoundList();
    BuildSoundList();
    CAviWriter& writer = GetAviWriter();
    // Closes the movie, merges the sounds (a failed merge keeps the movie
    // without sound), writes the final file and deletes the temporary ones.
    if (!writer.finish(m_strAviPath, m_soundList)) m_bRecordFailed = 1;
    writer.reset();
    FreeSoundList();
    m_strAviPath.clear();
    m_pCaptureBuffer = std::vector<uint8_t>();
    FinishRecording();
}

void CKelvanoView::OnExportFlash() {
    if (!m_bAnimationMode || !m_pHost || m_bPlaying || m_bBusy) return;
    if (!m_pScene || !m_pDocument) return;
    FileDialogRequest request = ExportFileRequest("Save As", ".swf", "Flash Movie Files (*.swf)|*.swf|");
    CKelvanoAppState* app = GetAppState();
    ExportDialogOptions options;
    options.kind = ExportDialogOptions::Flash;
    options.frameRate = 12;
    options.quality = 60;
    options.bitmap = 0;
    options.loop = 0;
    request.options = &options;
    std::string path;
    if (!m_pHost->FileDialog(request, path) || path.empty()) return;

    m_bSwfLoop = options.loop ? 1 : 0;
    SwitchPresetOff();
    if (m_bHighlightSelected) SuspendHighlights();
    m_bBusy = 1;
    m_bSwfBitmapFrames = options.bitmap ? 1 : 0;
    // The file keeps the rate as a whole number of frames a second in a byte.
    m_nSwfFrameRate = std::clamp(options.frameRate, 1, 255);
    m_nSwfQuality = std::clamp(options.quality, 0, 100);
    if (app) app->SetExportFolder(pathFolder(path));
    m_strSwfBase = swfBaseOf(path);
    m_strSwfPath = m_strRecordPath = m_strSwfBase + ".swf";
    m_bRecordFailed = 0;
    m_bRecordCanceled = 0;

    m_bRecordAlpha = 1;
    m_nRecordWidth = m_pDocument->m_nSceneWidth;
    m_nRecordHeight = m_pDocument->m_nSceneHeight;
    UseOutputLevel();
    m_bRecordDone = 0;
    m_nProgressPos = 0;
    m_pSwfExport.reset();
    m_pHost->ShowProgress("Creating SWF Flash Files", 0, std::max(0, m_pScene->getLastEventFrame()),
                          CViewHost::ProgressPlace::BottomMiddle);
    m_pHost->SetCursor(ViewCursor::Wait);
    StartPlayback(kRecordSwfTimer);
}

void CKelvanoView::OnSwfRecordTick() {
    const int written = m_nCurrentFrame;
    const bool alpha = m_bRecordAlpha && m_bAlphaBits;
    if (alpha) sgSetAlphaOutput(1);
    StepFrame(false);
    if (alpha) sgSetAlphaOutput(0);

    const int W = m_nRecordWidth, H = m_nRecordHeight;
    const size_t bytes = sgImageByteCount(W, H, 4);
    std::vector<uint8_t> frame;
    bool added = false;
    if (bytes) {
        try {
            m_pCaptureBuffer.resize(bytes);
            frame.resize(bytes);
        } catch (const std::bad_alloc&) {
            frame.clear();
        }
    }
    if (!frame.empty() && (!m_pHost || m_pHost->MakeCurrent())) {
        GLint pack = 4;
        glGetIntegerv(GL_PACK_ALIGNMENT, &pack);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, W, H, GL_BGRA, GL_UNSIGNED_BYTE, m_pCaptureBuffer.data());
        glPixelStorei(GL_PACK_ALIGNMENT, pack);
        // The movie's first row is the picture's top row.
        const size_t row = size_t(W) * 4;
        for (int y = 0; y < H; ++y)
            std::memcpy(frame.data() + size_t(y) * row, m_pCaptureBuffer.data() + size_t(H - 1 - y) * row, row);
        if (written == 0 || !m_pSwfExport) {
            if (!m_pMovieHost) m_pMovieHost = std::make_unique<ViewMovieHost>(m_pHost);
            m_pSwfExport = std::make_unique<SwfExport>(m_pMovieHost.get());
            if (m_pSwfExport->open(m_strSwfPath, m_nLastFrame + 1, W, H, m_bSwfBitmapFrames ? 0 : 1, m_nSwfQuality,
                                   m_nSwfFrameRate, 32) != 0)
                m_pSwfExport.reset();
        }
        added = m_pSwfExport && m_pSwfExport->addFrame(written, frame.data()) == 0 && !m_pSwfExport->failed();
    }
    if (m_pHost) m_pHost->SwapBuffers();
    if (!added) {
        // A frame that cannot be made spoils the movie: end now, naming the file.
        m_bRecordFailed = 1;
        EndRecordingNow();
    }
    ShowRecordProgress("Creating " + m_strSwfPath);
    if (!m_bRecordDone) return;
    if (!m_pSwfExport || m_pSwfExport->close() != 0) m_bRecordFailed = 1;
    m_pSwfExport.reset();
    m_pCaptureBuffer = std::vector<uint8_t>();
    m_strSwfBase.clear();
    m_strSwfPath.clear();
    FinishRecording();
}
