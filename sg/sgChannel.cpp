#include "sg/sgChannel.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <climits>
#include <cmath>
#include <cstdio>

#include "platform/PathResolver.h"
#include "sg/sgAccumTarget.h"
#include "sg/sgClock.h"
#include "sg/sgDCS.h"
#include "sg/sgDisplayListTable.h"
#include "sg/sgImage.h"
#include "sg/sgLightSource.h"
#include "sg/sgNode.h"
#include "sg/sgRuntime.h"
#include "sg/sgTextureFileTable.h"

namespace {
sgChannel* g_channel = nullptr;
int g_converted = 0;
int g_noPacing = 0;
double g_periodMs = 50.0;
float g_rate = 20.0f;
double g_lastMs = 0.0;
bool g_paced = false;  // a frame was paced since the last reset
int g_lastFrame = INT_MIN;
// What sgPushDrawState switched on.
bool g_pushedCull = false;
bool g_pushedNormalize = false;

constexpr int kSelectWords = 4096;

// Frame pacing: waits so that frames follow each other one period apart. A
// frame that came late waits for the next multiple of the period; after a long
// idle gap (a stop, a dialog) pacing restarts without waiting.
void pace() {
    sgClock& clock = sgGetClock();
    double now = clock.nowMs();
    double period = g_periodMs;
    if (!g_paced) {
        g_paced = true;
        g_lastMs = now;
        return;
    }
    double diff = now - g_lastMs;
    double bound = 4 * period > 1000.0 ? 4 * period : 1000.0;
    if (diff < 0 || diff > bound || diff == period) {
        g_lastMs = now;
    } else if (diff < period) {
        clock.sleepMs(period - diff);
        g_lastMs += period;
    } else {
        double slot = period * 2;
        while (diff >= slot) slot *= 2;
        clock.sleepMs(slot - diff);
        g_lastMs += slot;
    }
}

bool sameVec(const sgVec3& a, const sgVec3& b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }
}  // namespace

sgChannel::sgChannel() { updateAspect(); }

sgChannel::~sgChannel() { freeBackground(); }

sgChannel* sgChannel::sgGetChannel() {
    if (!g_channel) g_channel = new sgChannel;
    return g_channel;
}

void sgChannel::sgFreeChannel() {
    delete g_channel;
    g_channel = nullptr;
}

sgChannel* sgChannel::sgFindChannel() { return g_channel; }

sgAccumTarget& sgChannel::getAccumTarget() {
    if (!accum_) accum_ = std::make_unique<sgAccumTarget>();
    return *accum_;
}

void sgChannel::freeBackground() {
    if (bgTexture_) glDeleteTextures(1, &bgTexture_);
    bgTexture_ = 0;
    hasBgRecord_ = false;
    bgPath_.clear();
    bgStamp_ = FileStamp();
    bgResult_ = 0;
}

void sgChannel::updateAspect() {
    float h = frTop_ - frBottom_;
    if (h != 0) aspect_ = (frRight_ - frLeft_) / h;
}

void sgChannel::setViewport(int x, int y, int width, int height) {
    vpWidth_ = static_cast<float>(width);
    vpHeight_ = static_cast<float>(height);
    glViewport(x, y, width, height);
}

void sgChannel::getViewport(int viewport[4]) const {
    GLint vp[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, vp);
    for (int i = 0; i < 4; ++i) viewport[i] = vp[i];
}

void sgChannel::setFOV(float horizontal, float vertical) {
    updateAspect();
    if (horizontal > 0 && horizontal < 180) hfov_ = horizontal;
    if (vertical > 0 && vertical < 180) {
        vfov_ = vertical;
    } else if (hfov_ != 0 && aspect_ != 0) {
        double h = hfov_ * SG_PI / 180.0;
        vfov_ = static_cast<float>(2.0 * std::atan(std::tan(h / 2) / aspect_) * 180.0 / SG_PI);
    }
}

void sgChannel::getFOV(float* horizontal, float* vertical) const {
    if (horizontal) *horizontal = hfov_;
    if (vertical) *vertical = vfov_;
}

void sgChannel::setFrustum(float left, float right, float bottom, float top, float nearZ, float farZ) {
    frLeft_ = left, frRight_ = right, frBottom_ = bottom, frTop_ = top;
    near_ = nearZ, far_ = farZ;
    perspective_ = 1;
    useFrustum_ = 1;
}

void sgChannel::setPerspective(float fovy, float nearZ, float farZ) {
    vfov_ = fovy;
    near_ = nearZ, far_ = farZ;
    updateAspect();
    perspective_ = 1;
}

void sgChannel::setOrtho(double left, double right, double bottom, double top, double nearZ, double farZ) {
    orLeft_ = static_cast<float>(left), orRight_ = static_cast<float>(right);
    orBottom_ = static_cast<float>(bottom), orTop_ = static_cast<float>(top);
    near_ = static_cast<float>(nearZ), far_ = static_cast<float>(farZ);
    perspective_ = 0;
}

void sgChannel::setNearFar(float nearZ, float farZ) { near_ = nearZ, far_ = farZ; }

void sgChannel::setLookAt(float ex, float ey, float ez, float cx, float cy, float cz, float ux, float uy, float uz) {
    eye_.set(ex, ey, ez);
    center_.set(cx, cy, cz);
    up_.set(ux, uy, uz);
}

void sgChannel::setClearColor(float r, float g, float b, float a) {
    clear_.set(r, g, b, a);
    glClearColor(r, g, b, a);
}

void sgChannel::getFrustum(float* left, float* right, float* bottom, float* top) const {
    if (left) *left = frLeft_;
    if (right) *right = frRight_;
    if (bottom) *bottom = frBottom_;
    if (top) *top = frTop_;
}

void sgChannel::getOrtho(float* left, float* right, float* bottom, float* top) const {
    if (left) *left = orLeft_;
    if (right) *right = orRight_;
    if (bottom) *bottom = orBottom_;
    if (top) *top = orTop_;
}

int sgChannel::setBackgroundImage(const std::string& file) {
    if (file.empty()) return 0;
    const std::string path = sgResolveTexturePath(file);
    const FileStamp stamp = fileStampOf(path);
    bgFile_ = file;
    clear_[3] = 0;
    // Every camera and view-width change applies the background again: the
    // picture already read is kept while its file stays as it was (and its
    // texture still lives in the current context).
    if (hasBgRecord_ && path == bgPath_ && stamp == bgStamp_ && (bgTexture_ == 0 || glIsTexture(bgTexture_)))
        return bgResult_;
    freeBackground();
    hasBgRecord_ = true;
    bgPath_ = path;
    bgStamp_ = stamp;
    bgResult_ = loadBackground(file, path);
    return bgResult_;
}

void sgChannel::forgetBackgroundFile() {
    bgPath_.clear();
    bgStamp_ = FileStamp();
}

int sgChannel::loadBackground(const std::string& file, const std::string& path) {
    std::string ext;
    if (!sgGetExtension(file, ext)) return 0;
    sgImagePtr image;
    int components = 3;
    float s = 1.0f, t = 1.0f;
    sgImageFailure why = sgImageFailure::none;
    if (ext == "rgb" || ext == "RGB") {
        image = sgReadImage(SG_FMT_RGB, path, &components, &why);
    } else if (ext == "bmp" || ext == "BMP") {
        image = sgReadImage(SG_FMT_DIB, path, &components, &why);
    } else if (ext == "tga" || ext == "TGA") {
        image = sgReadTextureImage(SG_FMT_TGA, path, &components, &s, &t, &why);
    } else if (ext == "jpg" || ext == "JPG") {
        image = sgReadTextureImage(SG_FMT_JPEG, path, &components, &s, &t, &why);
    } else if (ext == "png" || ext == "PNG") {
        image = sgReadTextureImage(SG_FMT_PNG, path, &components, &s, &t, &why);
    } else if (ext == "4dv" || ext == "4DV") {
        std::fprintf(stderr, "MERAK: Unsupported texture file type.\n");
        glDisable(GL_TEXTURE_2D);
        return 0;
    } else {
        std::fprintf(stderr, "SG: unsupported texture format: %s\n", ext.c_str());
        return 0;
    }
    size_t need = image ? sgImageByteCount(image->width, image->height, components) : 0;
    if (!image || (components != 3 && components != 4) || !need || image->pixels.size() < need) {
        if (why == sgImageFailure::none) why = sgImageFailure::corrupt;
        std::fprintf(stderr, "MERAK: Background file \"%s\" not loaded: %s.\n", path.c_str(),
                     sgImageFailureText(why));
        glDisable(GL_TEXTURE_2D);
        return 1;
    }
    bgS_ = s, bgT_ = t;
    glGenTextures(1, &bgTexture_);
    glBindTexture(GL_TEXTURE_2D, bgTexture_);
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    bool rgba = components > 3;
    gluBuild2DMipmaps(GL_TEXTURE_2D, rgba ? GL_RGBA8 : GL_RGB8, image->width, image->height, rgba ? GL_RGBA : GL_RGB,
                      GL_UNSIGNED_BYTE, image->pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    return 1;
}

void sgChannel::loadProjection() const {
    if (perspective_ != 1)
        glOrtho(orLeft_, orRight_, orBottom_, orTop_, near_, far_);
    else if (useFrustum_)
        glFrustum(frLeft_, frRight_, frBottom_, frTop_, near_, far_);
    else
        gluPerspective(vfov_, aspect_, near_, far_);
}

void sgChannel::loadLookAt() const {
    // An eye on its centre (the state before a viewpoint is set) has no view
    // direction: look down -z from the origin instead of collapsing the scene.
    sgVec3 dir = center_ - eye_;
    if (sameVec(eye_, center_) || sgLength(sgCross(dir, up_)) == 0) return;
    gluLookAt(eye_[0], eye_[1], eye_[2], center_[0], center_[1], center_[2], up_[0], up_[1], up_[2]);
}

void sgChannel::drawBackground() const {
    glDisable(GL_LIGHTING);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    glEnable(GL_TEXTURE_2D);
    const GLenum gens[4] = {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q};
    for (GLenum g : gens)
        if (glIsEnabled(g)) glDisable(g);
    // A picture's transparent parts show the current colour (decal): white,
    // whatever colour the last drawing (a selection outline) left.
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, bgTexture_);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(0, 0, 0);
    glTexCoord2f(bgS_, 0);
    glVertex3f(vpWidth_, 0, 0);
    glTexCoord2f(bgS_, bgT_);
    glVertex3f(vpWidth_, vpHeight_, 0);
    glTexCoord2f(0, bgT_);
    glVertex3f(0, vpHeight_, 0);
    glEnd();
    glEnable(GL_LIGHTING);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

void sgChannel::drawFrame(int frame) {
    sgSetCurrentFrame(frame);
    const int alphaOut = sgGetAlphaOutput();
    // A background whose image could not be read falls back to the clear
    // colour, and so does one whose mode draws no picture: clearing the depth
    // alone left the last frame's pixels behind the scene.
    const bool background = bgOn_ && bgMode_ != 1 && bgMode_ != 2 && bgTexture_ != 0;
    // Depth and stencil share one buffer. Clearing the two together lets the
    // software rasteriser fill it; clearing the depth alone makes it read and
    // write back every pixel to keep a stencil that no frame keeps anyway.
    if (!background) {
        glColorMask(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    } else {
        glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, vpWidth_, 0, vpHeight_, -1, far_);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDepthMask(0);
        drawBackground();
        glDepthMask(1);
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    loadProjection();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    loadLookAt();
    sgPlaceLights(scene_);
    sgDCS::resetMirrorParity();

    if (alphaOut) {
        if (background) {
            glColorMask(0, 0, 0, 1);
            glClearColor(1, 1, 1, 1);
            glClear(GL_COLOR_BUFFER_BIT);
            glClearColor(clear_[0], clear_[1], clear_[2], clear_[3]);  // keep the user's colour
        } else if (clear_[3] < 1) {
            // Coverage of the transparent geometry into alpha only.
            glEnable(GL_BLEND);
            glDepthMask(0);
            glColorMask(0, 0, 0, 1);
            scene_->draw(SG_PASS_TRANSPARENT);
        }
    }
    glDisable(GL_BLEND);
    glDepthMask(1);
    glEnable(GL_CULL_FACE);
    if (alphaOut) glColorMask(1, 1, 1, 1);
    if (background || clear_[3] == 1) glColorMask(1, 1, 1, 0);

    scene_->draw(SG_PASS_OPAQUE);

    glEnable(GL_BLEND);
    glDepthMask(0);
    if (alphaOut) glColorMask(1, 1, 1, 0);
    scene_->draw(SG_PASS_TRANSPARENT);
    glDepthMask(1);
    glDisable(GL_BLEND);
    if (alphaOut) glColorMask(1, 1, 1, 1);
}

sgGeoSet* sgChannel::pick(int x, int y, int width, int height) {
    if (!scene_ || width <= 0 || height <= 0) return nullptr;
    GLint vp[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, vp);
    GLuint buffer[kSelectWords];
    glSelectBuffer(kSelectWords, buffer);
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0);

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPickMatrix(x, vp[3] - y, width, height, vp);
    loadProjection();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    loadLookAt();

    sgDisplayListTable& table = sgGetDisplayListTable();
    table.clear();
    int previousMode = sgGetRenderMode();
    sgSetRenderMode(GL_SELECT);
    sgDCS::resetMirrorParity();
    scene_->draw(SG_PASS_PICK);
    sgSetRenderMode(previousMode == GL_SELECT ? GL_RENDER : previousMode);

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    GLint hits = glRenderMode(GL_RENDER);
    if (hits < 1) return nullptr;

    // Records: name count, minimum depth, maximum depth, names. The top name of
    // the nearest record wins; among equal depths the earliest.
    size_t at = 0;
    double best = 0;
    GLuint bestName = 0;
    bool found = false;
    for (GLint h = 0; h < hits && at + 3 <= static_cast<size_t>(kSelectWords); ++h) {
        GLuint count = buffer[at];
        if (at + 3 + count > static_cast<size_t>(kSelectWords)) break;
        double depth = (buffer[at + 1] / 2147483648.0 + buffer[at + 2] / 2147483648.0) * 0.5;
        if (count > 0 && (!found || depth < best)) {
            best = depth;
            bestName = buffer[at + 2 + count];
            found = true;
        }
        at += 3 + count;
    }
    if (!found) return nullptr;
    return table.find(static_cast<int>(bestName));
}

int sgDrawFrame(int renderMode, int frame) {
    sgSetRenderMode(renderMode);
    // The anti-aliasing passes of one frame share its number: pace once.
    if (!g_noPacing && frame != g_lastFrame) pace();
    g_lastFrame = frame;
    sgChannel* ch = g_channel;
    if (!ch || !ch->getScene()) return 1;
    if (frame == 0 && !g_converted) {
        g_converted = 1;
        ch->getScene()->convertGL();
        sgLightPass(ch->getScene());
    }
    ch->drawFrame(frame);
    return 1;
}

float sgSetFrameRate(float fps) {
    if (!(fps >= 1.0f)) fps = 1.0f;  // also NaN
    if (fps > 1000.0f) fps = 1000.0f;
    int period = static_cast<int>(1000.0f / fps);
    g_periodMs = period;
    g_rate = 1000.0f / static_cast<float>(period);
    return g_rate;
}

float sgGetFrameRate() { return g_rate; }
void sgSetNoPacing(int flag) { g_noPacing = flag; }
int sgGetConverted() { return g_converted; }

void sgInitGLState() {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_CULL_FACE);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_LIGHTING);
    for (int i = 0; i < 8; ++i) glDisable(GL_LIGHT0 + i);
    glAlphaFunc(GL_GREATER, 0.02f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    sgResetLights();
    g_converted = 0;
    // A new context, or a new scene: the background picture is read again.
    if (g_channel) g_channel->forgetBackgroundFile();
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glDisable(GL_DITHER);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_NORMALIZE);
    glLineWidth(1.5f);
    g_paced = false;
    g_lastFrame = INT_MIN;
}

void sgPushDrawState() {
    glMatrixMode(GL_MODELVIEW);
    g_pushedCull = !glIsEnabled(GL_CULL_FACE);
    if (g_pushedCull) glEnable(GL_CULL_FACE);
    g_pushedNormalize = !glIsEnabled(GL_NORMALIZE);
    if (g_pushedNormalize) glEnable(GL_NORMALIZE);
}

void sgPopDrawState() {
    if (g_pushedCull) glDisable(GL_CULL_FACE);
    if (g_pushedNormalize) glDisable(GL_NORMALIZE);
    g_pushedCull = g_pushedNormalize = false;
}
