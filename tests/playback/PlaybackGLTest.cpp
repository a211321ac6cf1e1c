// Lights in the scene graph, anti-aliased drawing (offscreen targets and the
// accumulation buffer) and picking, on OSMesa.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "scene/pnBackground.h"
#include "scene/pnCounter.h"
#include "scene/pnLight.h"
#include "scene/pnString.h"
#include "scene/pnStringProperty.h"
#include "sg/sgAccumTarget.h"
#include "sg/sgGeoState.h"
#include "scene/pnViewpoint.h"
#include "sg/sgLightSource.h"
#include "sg/sgRuntime.h"
#include "tests/playback/PlaybackSupport.h"
#include "tests/support/ImageCheck.h"
#include "tests/support/OffscreenGL.h"

namespace {

// The published OpenGL jitter table j4 (centred), kept here as the test's own oracle.
const float kJ4[4][2] = {
    {-0.208147f, 0.353730f}, {0.203849f, -0.353780f}, {-0.292626f, -0.149945f}, {0.296924f, 0.149994f}};

class PlaybackGLTest : public SceneGLTest {
protected:
    PlaybackGLTest() : SceneGLTest(160, 120) {}

    // A black background and an unlit-looking panel: emission only.
    pnPanel* glowingPanel(const char* name, const sgVec3& pos, const sgVec3& colour, float size = 200) {
        auto* m = new pnMaterial;
        m->setName(name);
        m->setEmission(colour);
        m->setDiffuse(0, 0, 0);
        m->setAmbient(0, 0, 0);
        scene().addMaterial(m);
        pnPanel* p = addPanel(scene(), name, pos, name);
        p->setDimension(size, size, 10);
        addEvent(scene(), (std::string(name) + "Event").c_str(), name);
        return p;
    }
    void blackBackground() {
        auto* bg = new pnBackground;
        bg->setColor(sgVec4(0, 0, 0, 1));
        scene().setBackground(bg);
    }
    Frame frame() { return readFrame(width_, height_); }
    // A rotated panel whose edges cross many pixels partially.
    void slantedPanel() {
        blackBackground();
        pnPanel* p = glowingPanel("green", sgVec3(0, 0, 0), sgVec3(0.2f, 1, 0.6f), 150);
        p->setRotAngle(17);
        p->setRotAxis(0, 0, 1);
        scene().buildSceneGraph();
    }
    // The frame at level drawn through the accumulation buffer.
    Frame throughAccumulationBuffer(int level) {
        sgAccumTarget::setAllowed(false);
        scene().drawFrame(level, 0);
        sgAccumTarget::setAllowed(true);
        return frame();
    }
    void TearDown() override {
        sgAccumTarget::setAllowed(true);
        SceneGLTest::TearDown();
    }
};

// The largest difference of a colour channel between a and b inside the
// rectangle (x, y, w, h).
int worstDifference(const Frame& a, const Frame& b, int x, int y, int w, int h) {
    int worst = 0;
    for (int row = y; row < y + h; ++row)
        for (int col = x; col < x + w; ++col) {
            const size_t i = (static_cast<size_t>(row) * a.width + col) * 4;
            for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(a.rgba[i + c] - b.rgba[i + c]));
        }
    return worst;
}

}  // namespace

TEST_F(PlaybackGLTest, LightsHangUnderTheLightGroupAndLeaveIt) {
    auto* key = new pnLight;
    key->setName("key");
    key->setPosition(0, 100, 0);
    scene().addLight(key);
    scene().buildSceneGraph();

    sgGroup* lights = roots().lightGroup;
    ASSERT_EQ(lights->getNumChildren(), 1);
    sgNode* dcs = lights->getChild(0);
    EXPECT_TRUE(dcs->isOfType("sgDCS"));
    ASSERT_EQ(dcs->getChild(0), key->getSwitchNode());
    EXPECT_EQ(key->getSwitchNode()->getChild(0), key->getLightNode());
    EXPECT_EQ(key->getBuilt(), 1);
    int number = key->getLightNode()->getLightNumber();
    ASSERT_GE(number, 0);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0 + number));

    auto* twin = new pnLight;
    twin->setName("key");
    EXPECT_EQ(scene().addLightToScene(twin), 0);
    EXPECT_EQ(lights->getNumChildren(), 1);
    delete twin;

    auto* fill = new pnLight;
    fill->setName("fill");
    fill->setOn(0);
    EXPECT_EQ(scene().addLightToScene(fill), 1);
    ASSERT_EQ(lights->getNumChildren(), 2);
    EXPECT_EQ(fill->getLightNode()->isOn(), 0);

    EXPECT_EQ(scene().removeLightFromScene(key), 1);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0 + number));
    ASSERT_EQ(lights->getNumChildren(), 1);
    EXPECT_EQ(lights->getChild(0)->getChild(0), fill->getSwitchNode());
    EXPECT_EQ(scene().findLight("key"), nullptr);
    EXPECT_EQ(key->getSwitchNode(), nullptr);
    EXPECT_EQ(scene().removeLightFromScene(key), 0);
    delete key;
}

TEST_F(PlaybackGLTest, LightEventsMoveAndTintTheLight) {
    addMaterial(scene(), "warm", sgVec3(1, 0.5f, 0));
    auto* lamp = new pnLight;
    lamp->setName("lamp");
    lamp->setPosition(10, 0, 0);
    scene().addLight(lamp);
    pnEffect* fx = addEffect(scene(), "swing");
    fx->setTrans(0, 20, 0);
    fx->setColor("warm");
    addEvent(scene(), "lampEvent", "lamp")->addPlay("swing", 0, 10, 1);
    scene().buildSceneGraph();

    scene().setFrame(5);
    float x, y, z, w, r, g, b;
    lamp->getLightNode()->getPosition(&x, &y, &z, &w);
    EXPECT_FLOAT_EQ(x, 10);
    EXPECT_FLOAT_EQ(y, 10);
    EXPECT_FLOAT_EQ(w, 1);
    lamp->getLightNode()->getColor(GL_DIFFUSE, &r, &g, &b);
    // Halfway from the default material's diffuse 0.8 to the goal.
    EXPECT_NEAR(r, 0.9f, 1e-5);
    EXPECT_NEAR(g, 0.65f, 1e-5);
    EXPECT_NEAR(b, 0.4f, 1e-5);
    EXPECT_FLOAT_EQ(lamp->getPosition()[1], 0);  // the stored position stays

    scene().resetLights();
    lamp->getLightNode()->getPosition(&x, &y, &z, &w);
    EXPECT_FLOAT_EQ(y, 0);
}

TEST_F(PlaybackGLTest, LevelZeroDrawsOnceWithoutTouchingTheAccumulationBuffer) {
    blackBackground();
    glowingPanel("red", sgVec3(0, 0, 0), sgVec3(1, 0, 0));
    scene().buildSceneGraph();
    glClearAccum(0.25f, 0.5f, 0.75f, 1.0f);
    glClear(GL_ACCUM_BUFFER_BIT);
    scene().drawFrame(0, 0);
    Frame drawn = frame();
    EXPECT_TRUE(near(drawn.at(80, 60), RGBA{255, 0, 0, 255}, 1)) << describe(drawn.at(80, 60));
    EXPECT_TRUE(near(drawn.at(2, 2), RGBA{0, 0, 0, 255}, 1)) << describe(drawn.at(2, 2));
    glAccum(GL_RETURN, 1.0f);
    Frame accum = frame();
    EXPECT_TRUE(near(accum.at(80, 60), RGBA{64, 128, 191, 255}, 1)) << describe(accum.at(80, 60));
}

TEST_F(PlaybackGLTest, LevelFourIsTheAverageOfFourJitteredPasses) {
    slantedPanel();

    std::vector<float> sum(static_cast<size_t>(width_) * height_ * 4, 0.0f);
    const pnViewpoint* vp = scene().getViewpoint();
    scene().setFrame(0);
    for (const auto& j : kJ4) {
        scene().jitterPerspective(vp->fov, double(width_) / height_, vp->near, vp->far, j[0], j[1], 0, 0, 1);
        sgDrawFrame(GL_RENDER, 0);
        Frame f = frame();
        for (size_t i = 0; i < sum.size(); ++i) sum[i] += f.rgba[i] / 4.0f;
    }
    scene().drawFrame(4, 0);
    Frame aa = frame();
    int worst = 0, partial = 0;
    for (size_t i = 0; i < sum.size(); ++i) {
        if (i % 4 == 3) continue;
        worst = std::max(worst, static_cast<int>(std::lround(std::fabs(aa.rgba[i] - sum[i]))));
        if (i % 4 == 1 && aa.rgba[i] > 10 && aa.rgba[i] < 245) ++partial;
    }
    EXPECT_LE(worst, 1);
    EXPECT_GT(partial, 20) << "the edges should be smoothed";
}

// The brightness-weighted centre of the frame, in pixels.
static void brightnessCentroid(const Frame& f, double* cx, double* cy) {
    double sum = 0, sx = 0, sy = 0;
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) {
            const size_t i = (static_cast<size_t>(y) * f.width + x) * 4;
            const double b = f.rgba[i] + f.rgba[i + 1] + f.rgba[i + 2];
            sum += b;
            sx += b * x;
            sy += b * y;
        }
    *cx = sum > 0 ? sx / sum : -1;
    *cy = sum > 0 ? sy / sum : -1;
}

TEST_F(PlaybackGLTest, AntiAliasedFramesSitWhereTheSinglePassDoes) {
    blackBackground();
    glowingPanel("white", sgVec3(0, 0, 0), sgVec3(1, 1, 1), 57);
    scene().buildSceneGraph();
    scene().drawFrame(0, 0);
    Frame single = frame();
    ASSERT_TRUE(near(single.at(80, 60), RGBA{255, 255, 255, 255}, 1)) << describe(single.at(80, 60));
    ASSERT_TRUE(near(single.at(2, 2), RGBA{0, 0, 0, 255}, 1)) << "the panel must lie inside the view";
    double x0, y0;
    brightnessCentroid(single, &x0, &y0);
    for (bool offscreen : {true, false})
        for (int level : {4, 8}) {
            Frame aa = offscreen ? (scene().drawFrame(level, 0), frame()) : throughAccumulationBuffer(level);
            double x, y;
            brightnessCentroid(aa, &x, &y);
            EXPECT_NEAR(x, x0, 0.1) << "level " << level << (offscreen ? " offscreen" : " accumulated");
            EXPECT_NEAR(y, y0, 0.1) << "level " << level << (offscreen ? " offscreen" : " accumulated");
        }
}

TEST_F(PlaybackGLTest, LevelsOtherThanFourTakeEightPasses) {
    blackBackground();
    pnPanel* p = glowingPanel("blue", sgVec3(0, 0, 0), sgVec3(0, 0.5f, 1), 150);
    p->setRotAngle(31);
    p->setRotAxis(0, 0, 1);
    scene().buildSceneGraph();
    scene().drawFrame(8, 0);
    Frame eight = frame();
    scene().drawFrame(2, 0);
    EXPECT_EQ(frame().rgba, eight.rgba);
    scene().drawFrame(4, 0);
    EXPECT_NE(frame().rgba, eight.rgba);
}

TEST_F(PlaybackGLTest, OffscreenTargetsSumThePassesAsTheAccumulationBufferDoes) {
    slantedPanel();
    for (int level : {4, 8}) {
        Frame accumulated = throughAccumulationBuffer(level);
        scene().drawFrame(level, 0);
        Frame offscreen = frame();
        EXPECT_LE(worstDifference(offscreen, accumulated, 0, 0, width_, height_), 1) << "level " << level;
        scene().drawFrame(0, 0);
        EXPECT_GT(worstDifference(offscreen, frame(), 0, 0, width_, height_), 40) << "level " << level;
    }
}

TEST_F(PlaybackGLTest, FewerPassesAfterMoreSumOnlyTheirOwn) {
    // Level 4 after level 8 reuses the eight targets: its sum must take its
    // own four passes, as the accumulation buffer does, and level 8 after it
    // all eight again.
    slantedPanel();
    const Frame four = throughAccumulationBuffer(4), eight = throughAccumulationBuffer(8);
    for (int level : {8, 4, 8, 4}) {
        scene().drawFrame(level, 0);
        EXPECT_LE(worstDifference(frame(), level == 4 ? four : eight, 0, 0, width_, height_), 1) << "level " << level;
    }
    EXPECT_GT(worstDifference(four, eight, 0, 0, width_, height_), 2) << "the two levels should differ";
}

TEST_F(PlaybackGLTest, AntiAliasingInsideASmallerViewportReadsItsOwnPixels) {
    slantedPanel();
    ch->setViewport(30, 20, 100, 80);
    Frame accumulated = throughAccumulationBuffer(8);
    scene().drawFrame(8, 0);
    Frame offscreen = frame();
    EXPECT_LE(worstDifference(offscreen, accumulated, 30, 20, 100, 80), 1);
    // The panel's centre lies at the viewport's centre.
    EXPECT_TRUE(near(offscreen.at(80, 60), RGBA{51, 255, 153, 255}, 2)) << describe(offscreen.at(80, 60));
}

TEST_F(PlaybackGLTest, AntiAliasingDrawsIntoTheBoundFramebufferAndRestoresTheState) {
    slantedPanel();
    GLuint color = 0, depth = 0, fbo = 0, unitOne = 0;
    glGenTextures(1, &color);
    glBindTexture(GL_TEXTURE_2D, color);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width_, height_, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width_, height_);
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, color, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth);
    ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glPushAttrib(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glPopAttrib();
    glGenTextures(1, &unitOne);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, unitOne);
    glActiveTexture(GL_TEXTURE0);

    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    scene().drawFrame(8, 0);
    GLint bound = 0, active = 0, program = 0, onUnitOne = 0, viewport[4] = {};
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glActiveTexture(GL_TEXTURE1);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &onUnitOne);
    glActiveTexture(GL_TEXTURE0);
    EXPECT_EQ(bound, static_cast<GLint>(fbo));
    EXPECT_EQ(active, GL_TEXTURE0);
    EXPECT_EQ(program, 0);
    EXPECT_EQ(onUnitOne, static_cast<GLint>(unitOne));
    EXPECT_EQ(viewport[2], width_);
    EXPECT_EQ(viewport[3], height_);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    Frame drawn = frame();  // from the bound framebuffer
    EXPECT_TRUE(near(drawn.at(80, 60), RGBA{51, 255, 153, 255}, 2)) << describe(drawn.at(80, 60));
    EXPECT_TRUE(near(drawn.at(2, 2), RGBA{0, 0, 0, 255}, 1)) << describe(drawn.at(2, 2));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    EXPECT_TRUE(near(frame().at(80, 60), RGBA{0, 0, 255, 255}, 0)) << "the window's buffer stays as it was";
    glDeleteFramebuffers(1, &fbo);
    glDeleteRenderbuffers(1, &depth);
    GLuint textures[2] = {color, unitOne};
    glDeleteTextures(2, textures);
}

TEST_F(PlaybackGLTest, ANewContextGetsNewTargets) {
    slantedPanel();
    scene().drawFrame(8, 0);
    Frame first = frame();
    // The channel, and with it the targets, outlives the context they were
    // made in; the scene is made again in the new one.
    holder.reset();
    delete gl_;
    gl_ = new OffscreenGL(width_, height_);
    ASSERT_TRUE(gl_->ok());
    sgInitGLState();
    ch->setViewport(0, 0, width_, height_);
    holder = std::make_unique<SceneHolder>();
    roots().channel = ch;
    ch->setScene(roots().sceneRoot);
    slantedPanel();
    scene().drawFrame(8, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_LE(worstDifference(frame(), first, 0, 0, width_, height_), 1);
}

TEST_F(PlaybackGLTest, ZeroSizeViewportDrawsNothingButPlaybackGoesOn) {
    blackBackground();
    glowingPanel("red", sgVec3(0, 0, 0), sgVec3(1, 0, 0));
    scene().addPause(3);
    scene().buildSceneGraph();
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    ch->setViewport(0, 0, 0, 0);
    scene().drawFrame(8, 3);
    scene().drawFrame(0, 3);
    scene().drawInitial(4);
    EXPECT_EQ(roots().pauseReached, 1);
    ch->setViewport(0, 0, width_, height_);
    EXPECT_TRUE(near(frame().at(80, 60), RGBA{0, 0, 255, 255}, 0));
}

TEST_F(PlaybackGLTest, OrthographicViewpointShowsTheViewpointWidth) {
    blackBackground();
    auto* vp = new pnViewpoint;
    vp->perspective = 0;
    vp->width = 400;
    scene().setViewpoint(vp);
    glowingPanel("red", sgVec3(0, 0, 0), sgVec3(1, 0, 0), 100);
    scene().buildSceneGraph();
    scene().drawFrame(0, 0);
    float l, r, b, t;
    ch->getOrtho(&l, &r, &b, &t);
    // Width above height: the box is widened by the viewport's aspect.
    const float h = 400.0f * height_ / width_;
    EXPECT_FLOAT_EQ(t, 200.0f);
    EXPECT_FLOAT_EQ(r, 400.0f / h * 200.0f);
    Frame f = frame();
    EXPECT_TRUE(near(f.at(80, 60), RGBA{255, 0, 0, 255}, 1)) << describe(f.at(80, 60));
}

TEST_F(PlaybackGLTest, PickFindsThePanelUnderTheMouseAndNothingInEmptySpace) {
    blackBackground();
    pnPanel* left = glowingPanel("left", sgVec3(-150, 0, 0), sgVec3(1, 0, 0), 100);
    pnPanel* right = glowingPanel("right", sgVec3(150, 0, 0), sgVec3(0, 1, 0), 100);
    scene().buildSceneGraph();
    scene().drawFrame(0, 0);

    GLdouble model[16], proj[16];
    GLint view[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, view);
    auto pickAt = [&](double x, double y, double z, pnObject** chart) {
        GLdouble wx, wy, wz;
        gluProject(x, y, z, model, proj, view, &wx, &wy, &wz);
        // Mouse coordinates count from the top.
        return scene().pickObject(ch, static_cast<int>(wx), height_ - static_cast<int>(wy), 3, 3, chart);
    };
    pnObject* chart = reinterpret_cast<pnObject*>(&chart);
    EXPECT_EQ(pickAt(-150, 0, 5, &chart), left);
    EXPECT_EQ(chart, nullptr);
    EXPECT_EQ(pickAt(150, 0, 5, &chart), right);
    chart = reinterpret_cast<pnObject*>(&chart);
    EXPECT_EQ(pickAt(0, 0, 5, &chart), nullptr);
    EXPECT_EQ(chart, nullptr);
    EXPECT_EQ(scene().pickObject(nullptr, 1, 1, 3, 3, &chart), nullptr);
}

TEST_F(PlaybackGLTest, PickOnACounterDigitReturnsTheCounter) {
    blackBackground();
    auto* white = new pnMaterial;
    white->setName("white");
    white->setEmission(1, 1, 1);
    scene().addMaterial(white);
    // Extruded glyphs: their walls and faces must survive selection mode.
    auto* solid = new pnStringProperty;
    solid->setName("solid");
    solid->setKind(1);
    scene().addStringProperty(solid);
    auto* counter = new pnCounter;
    counter->setName("count");
    counter->setStringProperty("solid");
    counter->setMaterial("white");
    counter->setInitValue(8);
    counter->setFinalValue(8);
    counter->setScale(4, 4, 4);
    scene().addObject(counter);
    addEvent(scene(), "countEvent", "count");
    scene().buildSceneGraph();
    ASSERT_EQ(counter->isBuilt(), 1);
    scene().drawFrame(0, 0);
    Frame f = frame();
    int hx = -1, hy = -1;
    for (int y = 0; y < height_ && hx < 0; ++y)
        for (int x = 0; x < width_; ++x)
            if (f.at(x, y).r > 200) {
                hx = x, hy = y;
                break;
            }
    ASSERT_GE(hx, 0) << "the digit should be drawn";
    pnObject* chart = nullptr;
    EXPECT_EQ(scene().pickObject(ch, hx, height_ - 1 - hy, 1, 1, &chart), counter);
    EXPECT_EQ(chart, nullptr);
}

TEST_F(PlaybackGLTest, TextTakesItsStyleAndItsMaterialOnTheFaceOnly) {
    pnMaterial* red = addMaterial(scene(), "red", sgVec3(1, 0, 0));
    addMaterial(scene(), "blue", sgVec3(0, 0, 1));
    auto* style = new pnStringProperty;
    style->setName("caption");
    style->setKind(0);
    style->setBorder(2);
    style->setSize(20);
    scene().addStringProperty(style);
    auto* text = new pnString;
    text->setName("title");
    text->setString("Hi");
    text->setMaterial("red");
    text->setBackMaterial("blue");
    text->setStringProperty("caption");
    scene().addObject(text);
    addEvent(scene(), "titleEvent", "title");
    scene().buildSceneGraph();
    ASSERT_EQ(text->isBuilt(), 1);
    EXPECT_FLOAT_EQ(text->getSize(), 20.0f);
    EXPECT_FLOAT_EQ(text->getGeoState()->getColor(GL_DIFFUSE)[0], 1.0f);
    EXPECT_FLOAT_EQ(text->getEdgeState()->getColor(GL_DIFFUSE)[2], 1.0f);

    red->setDiffuse(0, 1, 0);
    scene().updateObjectsUsingMaterial(red);
    EXPECT_FLOAT_EQ(text->getGeoState()->getColor(GL_DIFFUSE)[1], 1.0f);
    EXPECT_FLOAT_EQ(text->getEdgeState()->getColor(GL_DIFFUSE)[2], 1.0f);

    style->setSize(30);
    scene().updateStringsUsingProperty(style);
    EXPECT_FLOAT_EQ(text->getSize(), 30.0f);
    scene().updateStringsUsingProperty(nullptr);
}

TEST_F(PlaybackGLTest, GrowingCounterCountsOverItsPlay) {
    auto* counter = new pnCounter;
    counter->setName("count");
    counter->setInitValue(0);
    counter->setFinalValue(100);
    scene().addObject(counter);
    pnEffect* grow = addEffect(scene(), "grow");
    grow->setGrow(0, 0, 0);
    addEvent(scene(), "countEvent", "count")->addPlay("grow", 10, 20, 1);
    scene().buildSceneGraph();
    ASSERT_EQ(counter->isBuilt(), 1);
    scene().setFrame(15);
    EXPECT_EQ(counter->getStartFrame(), 10);
    EXPECT_EQ(counter->getEndFrame(), 20);
    EXPECT_EQ(counter->getShownFrame(), 5);
    EXPECT_DOUBLE_EQ(counter->getValueAt(counter->getShownFrame()), 50.0);
    scene().setFrame(25);
    EXPECT_EQ(counter->getShownFrame(), 10);
    scene().setFrame(3);
    EXPECT_EQ(counter->getShownFrame(), 0);
}

TEST_F(PlaybackGLTest, ViewpointAndBackgroundGoToTheChannel) {
    auto* bg = new pnBackground;
    bg->setColor(sgVec4(0.5f, 0.25f, 0, 1));
    bg->setTexMode(2);
    scene().setBackground(bg);
    auto* vp = new pnViewpoint;
    vp->fov = 40;
    vp->near = 5;
    vp->far = 900;
    vp->setPosition(1, 2, 300);
    scene().setViewpoint(vp);
    scene().applyViewpoint();
    float h = 0, v = 0;
    ch->getFOV(&h, &v);
    EXPECT_FLOAT_EQ(v, 40.0f);
    EXPECT_FLOAT_EQ(ch->getNear(), 5.0f);
    EXPECT_FLOAT_EQ(ch->getFar(), 900.0f);
    EXPECT_FLOAT_EQ(ch->getEye()[2], 300.0f);
    EXPECT_FLOAT_EQ(ch->getClearColor()[1], 0.25f);
    EXPECT_EQ(ch->getBackgroundOn(), 0);
    EXPECT_EQ(ch->getBackgroundMode(), 2);
}
