// The view's export commands: six still images of the frame on screen and the
// animated GIF, which hands over to the recording timer.
#include "editor/AboutLinks.h"
#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/KelvanoIds.h"
#include "assets/writePNG.h"
#include "export/CGifEncoder.h"
#include "export/FrameCapture.h"
#include "scene/pnBackground.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgImage.h"
#include "sg/sgRuntime.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <new>

namespace {

struct StillCommand {
    int id;
    const char* title;
    const char* extension;
    const char* filter;
};
const StillCommand kStills[] = {
    {kv::ID_EXPORT_BMP, "Save To BMP", ".bmp", "BMP Image File (*.bmp) |*.bmp|"},
    {kv::ID_EXPORT_JPEG, "Save To JPG", ".jpg", "JPG Image File (*.jpg) |*.jpg|"},
    {kv::ID_EXPORT_TARGA, "Save To TGA", ".tga", "TGA Image File (*.tga) |*.tga|"},
    {kv::ID_EXPORT_PNG, "Save To PNG", ".png", "PNG Image File (*.png) |*.png|"},
    {kv::ID_EXPORT_GIF, "Save To GIF", ".gif", "GIF Image File (*.gif) |*.gif|"},
    {kv::ID_EXPORT_RGB, "Save To RGB", ".rgb", "RGB Image File (*.rgb) |*.rgb|"},
};

const StillCommand* findStill(int id) {
    for (const StillCommand& c : kStills)
        if (c.id == id) return &c;
    return nullptr;
}

// GL rounds a colour component to the nearest byte; the transparent colour
// must match the pixels read back.
uint8_t colorByte(float c) { return static_cast<uint8_t>(std::clamp(std::floor(c * 255.0f + 0.5f), 0.0f, 255.0f)); }

std::string folderOf(const std::string& path) { return std::filesystem::path(path).parent_path().string(); }

pnBackground* backgroundOf(pnScene* scene) {
    return scene ? dynamic_cast<pnBackground*>(scene->getBackground()) : nullptr;
}

// Clears the background's texture for a capture and puts it back after.
class BackgroundTextureOff {
public:
    BackgroundTextureOff(pnScene* scene, bool wanted) : m_scene(scene) {
        pnBackground* bg = backgroundOf(scene);
        if (!wanted || !bg || !bg->getUseTexture()) return;
        bg->setUseTexture(0);
        scene->applyViewpoint();
        m_bOff = true;
    }
    ~BackgroundTextureOff() {
        if (!m_bOff) return;
        backgroundOf(m_scene)->setUseTexture(1);
        m_scene->applyViewpoint();
    }
    BackgroundTextureOff(const BackgroundTextureOff&) = delete;
    BackgroundTextureOff& operator=(const BackgroundTextureOff&) = delete;

private:
    pnScene* m_scene;
    bool m_bOff = false;
};

// Image buffers that may be refused instead of ending the program.
bool allocate(std::vector<uint8_t>& buffer, int width, int height, int bytesPerPixel) {
    const size_t bytes = sgImageByteCount(width, height, bytesPerPixel);
    if (!bytes) return false;
    try {
        buffer.assign(bytes, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace

CGifEncoder& CKelvanoView::GetGifEncoder() {
    if (!m_gifEncoder) m_gifEncoder = std::make_unique<CGifEncoder>();
    return *m_gifEncoder;
}

void CKelvanoView::SuspendHighlights() {
    if (!m_pScene) return;
    for (int i = 0; i < m_pScene->getNumObjects(); ++i) {
        pnObject* object = m_pScene->getObject(i);
        if (object && object->getHighlight()) {
            m_suspendedHighlights.emplace_back(object, object->getHighlight());
            object->setHighlight(0);
        }
    }
}

void CKelvanoView::RestoreHighlights() {
    if (m_pScene) {
        for (auto& [object, state] : m_suspendedHighlights) {
            // An object deleted meanwhile is no longer in the scene.
            for (int i = 0; i < m_pScene->getNumObjects(); ++i)
                if (m_pScene->getObject(i) == object) object->setHighlight(state);
        }
    }
    m_suspendedHighlights.clear();
}

bool CKelvanoView::DrawForCapture(int level) {
    if (!m_pScene || !m_pHost || !m_pHost->MakeCurrent()) return false;
    if (m_bAnimationMode) {
        if (m_pRoots) m_pRoots->currentFrame = m_nCurrentFrame;
        m_pScene->drawFrame(AntiAliasPasses(level), m_nCurrentFrame);
    } else {
        m_pScene->drawInitial(AntiAliasPasses(level));
    }
    glFinish();
    return true;
}

int CKelvanoView::RenderAlphaMask(uint8_t* buffer, int width, int height) {
    if (!buffer || width <= 0 || height <= 0 || !m_pScene || !m_pHost || !m_pHost->MakeCurrent()) return 0;
    GLint stencilBits = 0;
    glGetIntegerv(GL_STENCIL_BITS, &stencilBits);
    if (stencilBits <= 0) return 0;
    // The caller may hold highlights suspended already: those stay off.
    auto outer = std::move(m_suspendedHighlights);
    m_suspendedHighlights.clear();
    SuspendHighlights();
    int ok = 1;
    {
        BackgroundTextureOff textureOff(m_pScene.get(), true);
        // Every fragment an object draws marks the stencil buffer, whatever
        // its texture, light or colour, so the mask is the exact silhouette.
        glClearStencil(0);
        glClear(GL_STENCIL_BUFFER_BIT);
        glEnable(GL_STENCIL_TEST);
        glStencilFunc(GL_ALWAYS, 1, 0xff);
        glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
        glStencilMask(0xff);
        if (m_bAnimationMode) {
            if (m_pRoots) m_pRoots->currentFrame = m_nCurrentFrame;
            m_pScene->drawFrame(0, m_nCurrentFrame);
        } else {
            m_pScene->drawInitial(0);
        }
        glDisable(GL_STENCIL_TEST);
        GLint pack = 4;
        glGetIntegerv(GL_PACK_ALIGNMENT, &pack);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, width, height, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, buffer);
        glPixelStorei(GL_PACK_ALIGNMENT, pack);
        if (glGetError() != GL_NO_ERROR) ok = 0;
        const size_t n = size_t(width) * size_t(height);
        for (size_t i = 0; i < n; ++i) buffer[i] = buffer[i] ? 255 : 0;
    }
    RestoreHighlights();
    m_suspendedHighlights = std::move(outer);
    // The colour picture is drawn again for the read that follows.
    DrawForCapture(m_nOutputQuality);
    return ok;
}

void CKelvanoView::ReportWriteFailure(const std::string& path) {
    if (m_pHost)
        m_pHost->MessageBox("\"" + path + "\" could not be written.", kv::kAppName, KV_MB_OK | KV_MB_ICONERROR);
}

int CKelvanoView::WriteStill(int id, const std::string& path) {
    const int W = m_pDocument->m_nSceneWidth, H = m_pDocument->m_nSceneHeight;
    const int level = m_nOutputQuality;
    switch (id) {
    case kv::ID_EXPORT_BMP: return DrawForCapture(level) && saveToBMP(path, W, H);
    case kv::ID_EXPORT_RGB: return DrawForCapture(level) && saveToRGB(path, W, H);
    case kv::ID_EXPORT_JPEG:
        return DrawForCapture(level) &&
               saveToJPG(path, W, H, m_pDocument->m_nJpegQuality, m_pDocument->m_bJpegProgressive);
    case kv::ID_EXPORT_TARGA:
    case kv::ID_EXPORT_PNG: {
        const bool png = id == kv::ID_EXPORT_PNG;
        if (!m_pDocument->m_bSaveAlpha) {
            if (!DrawForCapture(level)) return 0;
            if (!png) return saveToTGA(path, W, H, 0, 0);
            std::vector<uint8_t> rgb;
            if (!allocate(rgb, W, H, 3)) return 0;
            readBackBuffer(rgb.data(), W, H, 24);
            return writePNG(path, rgb.data(), W, H, 24, 0, 1.0);
        }
        if (m_bAlphaBits) {
            // The scene graph writes coverage into the alpha channel.
            sgSetAlphaOutput(1);
            const bool drawn = DrawForCapture(level);
            sgSetAlphaOutput(0);
            if (!drawn) return 0;
            if (!png) return saveToTGA(path, W, H, 1, 0);
            std::vector<uint8_t> rgba;
            if (!allocate(rgba, W, H, 4)) return 0;
            readBackBuffer(rgba.data(), W, H, 32);
            return writePNG(path, rgba.data(), W, H, 32, 0, 1.0);
        }
        std::vector<uint8_t> mask;
        if (!allocate(mask, W, H, 1) || !RenderAlphaMask(mask.data(), W, H)) return 0;
        if (!png) return saveToTGAWithAlpha(path, W, H, 1, mask.data(), 0);
        std::vector<uint8_t> rgb;
        if (!allocate(rgb, W, H, 3)) return 0;
        readBackBuffer(rgb.data(), W, H, 24);
        return writePNGWithAlpha(path, rgb.data(), mask.data(), W, H, 0, 1.0);
    }
    case kv::ID_EXPORT_GIF: {
        const bool transparent = m_pDocument->m_bGifTransparent != 0;
        BackgroundTextureOff textureOff(m_pScene.get(), transparent);
        if (!DrawForCapture(level)) return 0;
        CGifEncoder gif;
        if (gif.open(path, W, H) != 1) return 0;
        if (transparent) {
            if (pnBackground* bg = backgroundOf(m_pScene.get())) {
                const sgVec4 c = bg->getColor();
                gif.setTransparentBytes(colorByte(c[0]), colorByte(c[1]), colorByte(c[2]));
            }
            gif.m_bTransparent = 1;
        }
        return gif.addFrameFromBackBuffer(-1) == CGifEncoder::kFileFinished;
    }
    default: return 0;
    }
}

void CKelvanoView::OnExportStill(int id) {
    const StillCommand* command = findStill(id);
    if (!command || !m_pHost || m_bPlaying || m_bBusy) return;
    // A preset view is switched off before the frame is taken.
    SwitchPresetOff();
    if (!m_pScene || !m_pDocument) return;

    FileDialogRequest request;
    request.save = true;
    request.overwritePrompt = true;
    request.title = command->title;
    request.defaultExtension = command->extension;
    request.filter = command->filter;
    CKelvanoAppState* app = GetAppState();
    if (app) request.initialDir = app->GetExportFolder();
    ExportDialogOptions options;
    if (id == kv::ID_EXPORT_JPEG) {
        options.kind = ExportDialogOptions::Jpeg;
        options.quality = m_pDocument->m_nJpegQuality;
        options.progressive = m_pDocument->m_bJpegProgressive;
        request.options = &options;
    } else if (id == kv::ID_EXPORT_TARGA || id == kv::ID_EXPORT_PNG) {
        options.kind = ExportDialogOptions::AlphaImage;
        options.group = id == kv::ID_EXPORT_TARGA ? "TGA Option" : "PNG Option";
        options.check = m_pDocument->m_bSaveAlpha;
        request.options = &options;
    } else if (id == kv::ID_EXPORT_GIF) {
        options.kind = ExportDialogOptions::Gif;
        options.group = "GIF Option";
        options.check = m_pDocument->m_bGifTransparent;
        request.options = &options;
    }
    std::string path;
    if (!m_pHost->FileDialog(request, path) || path.empty()) {
        Redraw();
        return;
    }
    m_pHost->SetCursor(ViewCursor::Wait);
    if (app) app->SetExportFolder(folderOf(path));
    if (id == kv::ID_EXPORT_JPEG) {
        m_pDocument->m_nJpegQuality = std::clamp(options.quality, 0, 100);
        m_pDocument->m_bJpegProgressive = options.progressive ? 1 : 0;
    } else if (id == kv::ID_EXPORT_TARGA || id == kv::ID_EXPORT_PNG) {
        m_pDocument->m_bSaveAlpha = options.check ? 1 : 0;
    } else if (id == kv::ID_EXPORT_GIF) {
        m_pDocument->m_bGifTransparent = options.check ? 1 : 0;
    }
    // The frame is always drawn afresh at the output level without the
    // highlights: the back buffer holds nothing else worth reading.
    SuspendHighlights();
    const int written = WriteStill(id, path);
    RestoreHighlights();
    m_pHost->SetCursor(CurrentCursor());
    // The next paint draws the display level again.
    Redraw();
    if (!written) ReportWriteFailure(path);
}

FileDialogRequest CKelvanoView::ExportFileRequest(const char* title, const char* extension, const char* filter) const {
    FileDialogRequest request;
    request.save = true;
    request.overwritePrompt = true;
    request.title = title;
    request.defaultExtension = extension;
    request.filter = filter;
    if (CKelvanoAppState* app = GetAppState()) request.initialDir = app->GetExportFolder();
    return request;
}

void CKelvanoView::SwitchPresetOff() {
    if (m_nActivePreset >= 0 && m_nActivePreset < 6 && m_bPresetOn[m_nActivePreset])
        OnCommand(kv::ID_CAMERA_FRONT + m_nActivePreset);
}

void CKelvanoView::OnExportGifAnimation() {
    if (!m_bAnimationMode || !m_pHost || m_bPlaying || m_bBusy) return;
    m_nGifTransparency = 0;
    if (!m_pScene || !m_pDocument) return;
    FileDialogRequest request =
        ExportFileRequest("Save To GIF Animation", ".gif", "GIF Animation File (*.gif) |*.gif|");
    CKelvanoAppState* app = GetAppState();
    ExportDialogOptions options;
    options.kind = ExportDialogOptions::GifAnimation;
    options.group = "GIF Option";
    options.check = 0;  // starts unchecked whatever the document holds
    request.options = &options;
    std::string path;
    if (!m_pHost->FileDialog(request, path) || path.empty()) return;

    m_bBusy = 1;
    SwitchPresetOff();
    if (app) app->SetExportFolder(folderOf(path));
    m_bRecordAlpha = options.check ? 1 : 0;
    m_pDocument->m_bGifTransparent = m_bRecordAlpha;
    // The file's fields are 16 bits wide.
    m_nGifLoopCount = std::clamp(options.loopCount, 0, 65535);
    m_nGifDelay = std::clamp(options.delay, 0, 65535);
    pnBackground* background = backgroundOf(m_pScene.get());
    if (m_bRecordAlpha && background) m_nGifTransparency = background->getUseTexture() ? 1 : 0;
    if (m_bHighlightSelected) SuspendHighlights();

    m_nRecordWidth = m_pDocument->m_nSceneWidth;
    m_nRecordHeight = m_pDocument->m_nSceneHeight;
    CGifEncoder& gif = GetGifEncoder();
    gif.reset();
    m_bRecordFailed = 0;
    m_bRecordCanceled = 0;
    m_strGifPath = m_strRecordPath = path;
    if (gif.open(path, m_nRecordWidth, m_nRecordHeight) != 1) m_bRecordFailed = 1;
    gif.setAnimation(m_nGifDelay, m_nGifLoopCount);
    gif.m_bTransparent = m_bRecordAlpha;
    UseOutputLevel();
    if (m_bRecordAlpha && background) {
        const sgVec4 c = background->getColor();
        gif.setTransparentBytes(colorByte(c[0]), colorByte(c[1]), colorByte(c[2]));
    }
    m_nProgressPos = 0;
    if (m_bRecordFailed) {
        // Nothing can be written: end at once, naming the file.
        FinishRecording();
        return;
    }
    m_pHost->ShowProgress("Creating GIF Animation File", 0, std::max(0, m_pScene->getLastEventFrame()),
                          CViewHost::ProgressPlace::BottomRight);
    StartPlayback(kRecordGifTimer);
}
