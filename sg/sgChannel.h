// The one camera and viewport of the library: projection, look-at, clear colour,
// optional background image and the root node. It draws a frame in a fixed
// sequence of passes and picks geometry sets under a window rectangle.
#pragma once

#include <memory>
#include <string>

#include "platform/PathResolver.h"
#include "sg/sgVec.h"

class sgNode;
class sgGeoSet;
class sgAccumTarget;

class sgChannel {
public:
    // The single channel, created on first use.
    static sgChannel* sgGetChannel();
    // Deletes the channel and its background texture; the next sgGetChannel
    // creates a new one.
    static void sgFreeChannel();
    // The channel when one exists, else null (creates nothing).
    static sgChannel* sgFindChannel();

    virtual ~sgChannel();
    sgChannel(const sgChannel&) = delete;
    sgChannel& operator=(const sgChannel&) = delete;
    virtual const char* getTypeName() const { return "sgChannel"; }

    // Stores the size and calls glViewport.
    void setViewport(int x, int y, int width, int height);
    // glGetIntegerv(GL_VIEWPORT).
    void getViewport(int viewport[4]) const;
    float getViewportWidth() const { return vpWidth_; }
    float getViewportHeight() const { return vpHeight_; }

    // Each angle is taken when 0 < angle < 180; a vertical angle outside that
    // range is derived from a stored horizontal one and the frustum's aspect.
    void setFOV(float horizontal, float vertical);
    void getFOV(float* horizontal, float* vertical) const;
    // Frustum rectangle; turns perspective and use-frustum on.
    void setFrustum(float left, float right, float bottom, float top, float nearZ, float farZ);
    // Vertical field of view with near and far; perspective on.
    void setPerspective(float fovy, float nearZ, float farZ);
    // Orthographic box; perspective off.
    void setOrtho(double left, double right, double bottom, double top, double nearZ, double farZ);
    void setNearFar(float nearZ, float farZ);
    void setLookAt(float ex, float ey, float ez, float cx, float cy, float cz, float ux, float uy, float uz);
    // glClearColor, and keeps the colour.
    void setClearColor(float r, float g, float b, float a);
    const sgVec4& getClearColor() const { return clear_; }

    void setScene(sgNode* scene) { scene_ = scene; }
    sgNode* getScene() const { return scene_; }

    // Reads the image for the background quad: 0 for an empty name or a refused
    // file, else 1 (also when the file could not be read: no texture then).
    // The picture already read is kept, not read again, while the name
    // designates the same file and that file is unchanged.
    int setBackgroundImage(const std::string& file);
    // The next setBackgroundImage reads its file whatever it names.
    void forgetBackgroundFile();
    const std::string& getBackgroundFile() const { return bgFile_; }
    unsigned getBackgroundTexture() const { return bgTexture_; }
    float getBackgroundSScale() const { return bgS_; }
    float getBackgroundTScale() const { return bgT_; }
    void setBackgroundOn(int on) { bgOn_ = on; }
    int getBackgroundOn() const { return bgOn_; }
    // 1 and 2 suppress the textured quad (the scene draws its own background).
    void setBackgroundMode(int mode) { bgMode_ = mode; }
    int getBackgroundMode() const { return bgMode_; }

    float getAspect() const { return aspect_; }
    float getNear() const { return near_; }
    float getFar() const { return far_; }
    int getPerspective() const { return perspective_; }
    int getUseFrustum() const { return useFrustum_; }
    void getFrustum(float* left, float* right, float* bottom, float* top) const;
    void getOrtho(float* left, float* right, float* bottom, float* top) const;
    sgVec3 getEye() const { return eye_; }
    sgVec3 getCenter() const { return center_; }
    sgVec3 getUp() const { return up_; }

    // The geometry set nearest the viewer under the window rectangle (x, y from
    // the top left, width and height in pixels), or null.
    sgGeoSet* pick(int x, int y, int width, int height);

    // Steps of a frame (sgDrawFrame calls them): projection and model-view, and
    // the background and passes.
    void loadProjection() const;
    void loadLookAt() const;
    void drawFrame(int frame);
    // Where anti-aliasing sums its passes in this channel's context; its GL
    // objects go with the channel.
    sgAccumTarget& getAccumTarget();

private:
    sgChannel();
    void updateAspect();
    void drawBackground() const;
    void freeBackground();
    int loadBackground(const std::string& file, const std::string& path);

    float aspect_ = 0;
    float hfov_ = 0;
    float vfov_ = 45.0f;
    sgVec3 eye_{0, 0, 0};
    sgVec3 center_{0, 0, 0};
    sgVec3 up_{0, 1, 0};
    float near_ = 1.0f;
    float far_ = 100.0f;
    float frLeft_ = 0, frRight_ = 400, frTop_ = 300, frBottom_ = 0;
    float vpWidth_ = 400, vpHeight_ = 300;
    float orLeft_ = -200, orRight_ = 200, orTop_ = 150, orBottom_ = -150;
    int perspective_ = 1;
    int useFrustum_ = 0;
    std::string bgFile_;
    unsigned bgTexture_ = 0;
    bool hasBgRecord_ = false;
    // The file the picture was read from, as it was then, and what reading gave.
    std::string bgPath_;
    FileStamp bgStamp_;
    int bgResult_ = 0;
    int bgOn_ = 0;
    int bgMode_ = 0;
    sgVec4 clear_{0, 0, 0, 0};
    float bgS_ = 1.0f, bgT_ = 1.0f;
    sgNode* scene_ = nullptr;
    std::unique_ptr<sgAccumTarget> accum_;
};

// One frame (or one anti-aliasing pass of it): paces (once per frame number),
// converts the scene once at frame 0, then clears or draws the background and
// draws the passes. renderMode GL_RENDER or GL_SELECT. Returns 1.
int sgDrawFrame(int renderMode, int frame);

// Frames per second, clamped to 1..1000 (default 20, a 50 ms period). The
// period is the integer part of 1000 / fps; returns the rate 1000 / period.
float sgSetFrameRate(float fps);
float sgGetFrameRate();
// 1 switches pacing off.
void sgSetNoPacing(int flag);

// The default GL state; also resets the light numbering, the converted flag,
// the frame pacing and the channel's record of the background file read.
void sgInitGLState();
// Whether the scene was converted since the last sgInitGLState.
int sgGetConverted();

// Brackets drawing by other code: the first selects the model-view matrix and
// enables culling and normalising where they were off; the second disables
// exactly those again.
void sgPushDrawState();
void sgPopDrawState();
