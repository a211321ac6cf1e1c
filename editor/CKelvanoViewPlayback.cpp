// Playback on timer 9 and the recording timers of the animation exports.
#include "editor/AboutLinks.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/KelvanoIds.h"
#include "export/CGifEncoder.h"
#include "scene/pnBackground.h"
#include "scene/pnScene.h"
#include "sg/SceneGraphRoots.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kPlaybackPeriod = 50;
constexpr int kRecordPeriod = 500;

bool isRecordingKind(int kind) { return kind == kRecordGifTimer || kind == kRecordAviTimer || kind == kRecordSwfTimer; }

// The part of a path after its last separator.
std::string fileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void CKelvanoView::SetCurrentFrame(int frame) {
    m_nCurrentFrame = frame;
    if (m_pRoots) m_pRoots->currentFrame = frame;
    if (CFrameRelays* relays = m_bAnimationMode ? Frame() : nullptr) relays->ShowFrameInPages();
}

void CKelvanoView::AdvanceFrame() { SetCurrentFrame(m_nCurrentFrame + 1); }

void CKelvanoView::GoToFrame(int frame) {
    SetCurrentFrame(frame);
    Redraw();
}

void CKelvanoView::StartPlayback(int kind) {
    if (!m_pHost || !m_pScene) {
        m_bPlaying = 0;
        return;
    }
    const bool recording = isRecordingKind(kind);
    // A recording owns the frame and the timer until it ends.
    if (!recording && m_bBusy) return;
    int period = kPlaybackPeriod;
    if (!recording) {
        m_nLastFrame = std::max(0, m_pScene->getLastEventFrame());
        if (!m_bPlaying && m_nCurrentFrame >= m_nLastFrame) SetCurrentFrame(0);
        m_nTimerId = kPlaybackTimer;
        if (m_bHighlightSelected) SuspendHighlights();
        Redraw();
    } else {
        SetCurrentFrame(kind == kRecordAviTimer ? 1 : 0);
        // The time line's Stop of an earlier playback left its frame here:
        // a recording's sounds run to its own end.
        m_nRecordEndFrame = -1;
        m_nTimerId = kind;
        period = kRecordPeriod;
        if (CFrameRelays* frame = Frame()) frame->SetTimeLinePlaying(1);
    }
    m_nLastFrame = std::max(0, m_pScene->getLastEventFrame());
    if (m_pRoots) m_pRoots->pauseReached = 0;
    m_bRecordDone = 0;
    m_bPlaying = 1;
    m_pHost->SetTimer(m_nTimerId, period);
}

void CKelvanoView::OnPlayPause() {
    if (m_bBusy || m_nTimerId != kPlaybackTimer) return;
    if (m_pHost) m_pHost->KillTimer(kPlaybackTimer);
    m_bPlaying = 0;
}

void CKelvanoView::StopPlayback() {
    if (m_pHost && m_nTimerId) m_pHost->KillTimer(m_nTimerId);
    m_bPlaying = 0;
    if (m_pRoots) m_pRoots->pauseReached = 0;
    if (m_bBusy) {
        m_bRecordCanceled = 1;
        m_bRecordDone = 1;
        OnTimer(m_nTimerId);
    } else if (m_nTimerId == kPlaybackTimer) {
        m_nTimerId = 0;
        if (m_bHighlightSelected) RestoreHighlights();
        Redraw();
    }
}

void CKelvanoView::OnExportCancel() {
    if (!m_bBusy) return;
    m_bRecordCanceled = 1;
    m_nRecordEndFrame = m_nCurrentFrame;
    StopPlayback();
}

bool CKelvanoView::ContinueFromPause() {
    if (!m_bAnimationMode || !m_bPlaying || m_bBusy || !m_pRoots || !m_pRoots->pauseReached) return false;
    m_pRoots->pauseReached = 0;
    // Drawing the pause frame again would stop there once more: go past it.
    if (m_nCurrentFrame < m_nLastFrame) AdvanceFrame();
    return true;
}

void CKelvanoView::StepFrame(bool swap) {
    if (swap) {
        OnDraw();
    } else {
        DrawForCapture(m_nAntiAlias);
    }
    CFrameRelays* frame = Frame();
    if (frame) frame->SetTimeLineFrame(m_nCurrentFrame);
    const bool paused = m_pRoots && m_pRoots->pauseReached;
    if (m_nCurrentFrame < m_nLastFrame && m_bPlaying && !m_bRecordDone) {
        if (m_bBusy) {
            // A recording passes over the scene's pauses.
            if (paused) m_pRoots->pauseReached = 0;
            AdvanceFrame();
        } else if (!paused) {
            AdvanceFrame();
        }
        return;
    }
    m_bPlaying = 0;
    if (m_pHost && m_nTimerId) m_pHost->KillTimer(m_nTimerId);
    if (frame) frame->SetTimeLinePlaying(0);
    m_bRecordDone = 1;
}

void CKelvanoView::OnTimer(int timerId) {
    switch (timerId) {
    case kPlaybackTimer:
        // A held pause shows the frame already on screen.
        if (m_pRoots && m_pRoots->pauseReached) return;
        StepFrame(true);
        if (m_bRecordDone) {
            m_bRecordDone = 0;
            m_nRecordEndFrame = -1;
            m_nTimerId = 0;
            if (m_bHighlightSelected) RestoreHighlights();
            Redraw();
        }
        return;
    case kRecordGifTimer:
        if (m_bBusy) OnGifRecordTick();
        return;
    case kRecordAviTimer:
        if (m_bBusy) OnAviRecordTick();
        return;
    case kRecordSwfTimer:
        if (m_bBusy) OnSwfRecordTick();
        return;
    default: return;
    }
}

void CKelvanoView::OnGifRecordTick() {
    pnBackground* background = m_pScene ? dynamic_cast<pnBackground*>(m_pScene->getBackground()) : nullptr;
    // A transparent background is read without its picture.
    const bool textureOff = m_bRecordAlpha && m_nGifTransparency == 1 && background && background->getUseTexture();
    if (textureOff) {
        background->setUseTexture(0);
        m_pScene->applyViewpoint();
    }
    const int written = m_nCurrentFrame;
    StepFrame(false);
    const bool last = m_bRecordDone != 0;
    const int result = GetGifEncoder().addFrameFromBackBuffer(last ? -1 : 1);
    if (textureOff) {
        background->setUseTexture(1);
        m_pScene->applyViewpoint();
        DrawForCapture(m_nAntiAlias);
    }
    // The frame just read goes on screen; the back buffer is undefined after this.
    if (m_pHost) m_pHost->SwapBuffers();
    if (result < 0) {
        m_bRecordFailed = 1;
        if (!last) {
            // The encoder takes no more frames: end the run here.
            m_bPlaying = 0;
            if (m_pHost) m_pHost->KillTimer(m_nTimerId);
            FinishRecording();
            return;
        }
    }
    if (!last) {
        char text[512];
        std::snprintf(text, sizeof text, "Creating %s: frame %d", fileNameOf(m_strGifPath).c_str(), written);
        ShowRecordProgress(text);
        return;
    }
    FinishRecording();
}

void CKelvanoView::ShowRecordProgress(const std::string& text) {
    if (m_pHost) {
        m_pHost->SetProgressPos(m_nProgressPos);
        m_pHost->SetProgressText(text);
    }
    ++m_nProgressPos;
}

void CKelvanoView::UseOutputLevel() {
    if (m_nAntiAlias == m_nOutputQuality) return;
    m_nSavedAntiAlias = m_nAntiAlias;
    m_bAntiAliasSaved = 1;
    m_nAntiAlias = m_nOutputQuality;
}

int CKelvanoView::DisplayLevel() const { return m_bBusy && m_bAntiAliasSaved ? m_nSavedAntiAlias : m_nAntiAlias; }

void CKelvanoView::SetDisplayLevel(int level) {
    if (m_bBusy) {
        // The recording keeps the level it started with to its last frame;
        // the display takes the new one when it ends.
        if (!m_bAntiAliasSaved && level == m_nAntiAlias) return;
        m_nSavedAntiAlias = level;
        m_bAntiAliasSaved = 1;
        return;
    }
    m_nAntiAlias = level;
    m_bWaitCursorOnDraw = 1;
    Redraw();
}

void CKelvanoView::RestoreDisplayLevel() {
    // Only what this export replaced goes back; a stale value never does.
    if (!m_bAntiAliasSaved) return;
    m_nAntiAlias = m_nSavedAntiAlias;
    m_bAntiAliasSaved = 0;
}

void CKelvanoView::FinishRecording() {
    m_nRecordEndFrame = -1;
    m_bRecordAlpha = 0;
    m_nRecordWidth = m_nRecordHeight = 0;
    m_bRecordDone = 0;
    m_bPlaying = 0;
    m_nTimerId = 0;
    const std::string path = m_strRecordPath;
    m_strGifPath.clear();
    m_strRecordPath.clear();
    m_nProgressPos = 0;
    if (m_pHost) m_pHost->CloseProgress();
    RestoreDisplayLevel();
    m_bBusy = 0;
    if (m_bHighlightSelected) RestoreHighlights();
    if (!m_pHost) return;
    m_pHost->SetCursor(CurrentCursor());
    Redraw();
    if (m_bRecordFailed)
        ReportWriteFailure(path);
    else if (m_nRecordCutFrame >= 0)
        m_pHost->MessageBox("Image creation stopped at frame " + std::to_string(m_nRecordCutFrame) + ": \"" + path +
                                "\" holds the frames before it.",
                            kv::kAppName, KV_MB_OK | KV_MB_ICONWARNING);
    else
        m_pHost->MessageBox(m_bRecordCanceled ? "Image creation canceled." : "Image creation completed.", kv::kAppName,
                            KV_MB_OK);
    m_bRecordCanceled = 0;
    m_bRecordFailed = 0;
    m_nRecordCutFrame = -1;
}
