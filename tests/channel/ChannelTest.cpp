#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "sg/sgChannel.h"
#include "sg/sgDCS.h"
#include "sg/sgGeoSet.h"
#include "sg/sgGeode.h"
#include "sg/sgLightSource.h"
#include "sg/sgNode.h"
#include "sg/sgTexture.h"
#include "sg/sgGeoState.h"
#include "tests/scenegraph/SgFixture.h"
#include "tests/support/TempDir.h"

namespace {
sgGeode* geode(sgGeoSet* set) {
    sgGeode* g = new sgGeode;
    g->addGSet(set);
    return g;
}
}  // namespace

class ChannelTest : public SgGLTest {
protected:
    void SetUp() override {
        SgGLTest::SetUp();
        ch = sgChannel::sgGetChannel();
        root = new sgScene;
        ch->setScene(root);
        ch->setViewport(0, 0, width_, height_);
    }
    void TearDown() override {
        sgSetAlphaOutput(0);
        delete root;
        SgGLTest::TearDown();
    }
    // Pixel (x, y from the bottom) as the window's mouse position.
    sgGeoSet* pickAt(int x, int y) { return ch->pick(x, height_ - y, 3, 3); }

    sgChannel* ch = nullptr;
    sgScene* root = nullptr;
};

TEST_F(ChannelTest, Defaults) {
    EXPECT_STREQ(ch->getTypeName(), "sgChannel");
    float h = -1, v = -1;
    ch->getFOV(&h, &v);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(v, 45);
    EXPECT_FLOAT_EQ(ch->getAspect(), 400.0f / 300.0f);
    EXPECT_EQ(ch->getNear(), 1);
    EXPECT_EQ(ch->getFar(), 100);
    EXPECT_EQ(ch->getPerspective(), 1);
    EXPECT_EQ(ch->getUseFrustum(), 0);
    float l, r, b, t;
    ch->getOrtho(&l, &r, &b, &t);
    EXPECT_EQ(l, -200);
    EXPECT_EQ(t, 150);
    ch->getFrustum(&l, &r, &b, &t);
    EXPECT_EQ(r, 400);
    EXPECT_EQ(t, 300);
    EXPECT_EQ(ch->getClearColor(), sgVec4(0, 0, 0, 0));
    EXPECT_EQ(ch->getUp(), sgVec3(0, 1, 0));
    EXPECT_EQ(sgChannel::sgGetChannel(), ch);
    int vp[4];
    ch->setViewport(0, 0, 200, 100);
    ch->getViewport(vp);
    EXPECT_EQ(vp[2], 200);
    EXPECT_EQ(ch->getViewportHeight(), 100);
}

TEST_F(ChannelTest, FieldOfViewRules) {
    ch->setFOV(0, 30);  // what the view passes at a reset
    float h, v;
    ch->getFOV(&h, &v);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(v, 30);
    ch->setFOV(200, 180);  // both out of range: nothing changes
    ch->getFOV(&h, &v);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(v, 30);
    ch->setFOV(60, 0);  // vertical from the horizontal and the 4:3 aspect
    ch->getFOV(&h, &v);
    EXPECT_EQ(h, 60);
    EXPECT_NEAR(v, 2 * std::atan(std::tan(30 * M_PI / 180) / (4.0 / 3.0)) * 180 / M_PI, 1e-4);

    ch->setFrustum(-1, 1, -1, 1, 1, 10);
    EXPECT_EQ(ch->getUseFrustum(), 1);
    ch->setPerspective(50, 2, 20);
    EXPECT_EQ(ch->getUseFrustum(), 1);  // kept
    EXPECT_FLOAT_EQ(ch->getAspect(), 1.0f);
    ch->setOrtho(-1, 1, -1, 1, 0, 1);
    EXPECT_EQ(ch->getPerspective(), 0);
}

TEST_F(ChannelTest, DefaultPerspectivePlacesAQuad) {
    root->addChild(geode(makeQuad(-1, -1, 1, 1, 0, 1, 0, 0)));
    ch->setLookAt(0, 0, 10, 0, 0, 0, 0, 1, 0);
    sgDrawFrame(GL_RENDER, 0);
    // Half height at distance 10: 10 tan(22.5 deg); the quad spans +-36.2 px
    // around the centre vertically, and the same horizontally (aspect 4:3).
    const double half = 150.0 / (10 * std::tan(22.5 * M_PI / 180));
    EXPECT_NEAR(half, 36.21, 0.01);
    Frame f = frame();
    EXPECT_TRUE(near(f.at(200, 150), rgb(255, 0, 0))) << describe(f.at(200, 150));
    EXPECT_TRUE(near(f.at(234, 184), rgb(255, 0, 0)));
    EXPECT_TRUE(near(f.at(166, 116), rgb(255, 0, 0)));
    EXPECT_TRUE(near(f.at(239, 150), rgb(0, 0, 0, 0)));
    EXPECT_TRUE(near(f.at(161, 150), rgb(0, 0, 0, 0)));
    EXPECT_TRUE(near(f.at(200, 189), rgb(0, 0, 0, 0)));
    EXPECT_TRUE(near(f.at(200, 111), rgb(0, 0, 0, 0)));

    // Before any viewpoint (eye on the centre) the view looks down -z.
    sgChannel::sgFreeChannel();
    ch = sgChannel::sgGetChannel();
    ch->setScene(root);
    dynamic_cast<sgGeode*>(root->getChild(0))->getGSet(0)->setAttr(
        GL_VERTEX_ARRAY, std::vector<float>{-1, -1, -10, 1, -1, -10, 1, 1, -10, -1, 1, -10}, {0, 1, 2, 3});
    sgDrawFrame(GL_RENDER, 1);
    f = frame();
    EXPECT_TRUE(near(f.at(234, 184), rgb(255, 0, 0))) << describe(f.at(234, 184));
    EXPECT_TRUE(near(f.at(239, 150), rgb(0, 0, 0, 0)));
}

TEST_F(ChannelTest, DefaultOrthoRectangle) {
    ch->setOrtho(-200, 200, -150, 150, 1, 100);
    root->addChild(geode(makeQuad(-100, 50, -50, 100, -5, 0, 1, 0)));
    ch->setClearColor(0, 0, 0.5f, 1);
    sgDrawFrame(GL_RENDER, 0);
    Frame f = frame();
    EXPECT_TRUE(near(f.at(101, 201), rgb(0, 255, 0))) << describe(f.at(101, 201));
    EXPECT_TRUE(near(f.at(148, 248), rgb(0, 255, 0)));
    EXPECT_TRUE(near(f.at(98, 225), rgb(0, 0, 128)));
    EXPECT_TRUE(near(f.at(125, 252), rgb(0, 0, 128)));
}

TEST_F(ChannelTest, PaddedBackgroundFillsTheViewport) {
    FakeImages::Picture p;
    p.width = 200;
    p.height = 100;
    p.left[0] = 255;   // red left half
    p.right[1] = 255;  // green right half
    FakeImages::add("backdrop.png", p);
    EXPECT_EQ(ch->setBackgroundImage("backdrop.png"), 1);
    EXPECT_EQ(FakeImages::textureReads(), 1);
    EXPECT_FLOAT_EQ(ch->getBackgroundSScale(), 0.78125f);
    EXPECT_FLOAT_EQ(ch->getBackgroundTScale(), 0.78125f);
    EXPECT_EQ(ch->getClearColor()[3], 0);
    ch->setBackgroundOn(1);
    ch->setLookAt(0, 0, 10, 0, 0, 0, 0, 1, 0);
    root->addChild(geode(makeQuad(-1, -1, 1, 1, 0, 0, 0, 1)));
    sgDrawFrame(GL_RENDER, 0);
    Frame f = frame();
    EXPECT_TRUE(near(f.at(2, 2), rgb(255, 0, 0))) << describe(f.at(2, 2));
    EXPECT_TRUE(near(f.at(2, 297), rgb(255, 0, 0)));
    EXPECT_TRUE(near(f.at(190, 250), rgb(255, 0, 0)));
    EXPECT_TRUE(near(f.at(250, 150), rgb(0, 255, 0))) << describe(f.at(250, 150));
    EXPECT_TRUE(near(f.at(397, 297), rgb(0, 255, 0))) << describe(f.at(397, 297));
    EXPECT_TRUE(near(f.at(200, 150), rgb(0, 0, 255)));  // the scene over it
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));

    // Modes 1 and 2 draw no picture: the clear colour shows, not the last
    // frame's pixels.
    for (int mode : {1, 2}) {
        ch->setBackgroundMode(mode);
        ch->setClearColor(1, 1, 1, 1);
        sgDrawFrame(GL_RENDER, 1);
        EXPECT_TRUE(near(frame().at(2, 2), rgb(255, 255, 255))) << mode << " " << describe(frame().at(2, 2));
        EXPECT_TRUE(near(frame().at(200, 150), rgb(0, 0, 255))) << "the scene over it";
        ch->setClearColor(1, 0, 0, 1);
        sgDrawFrame(GL_RENDER, 2);
    }
    ch->setBackgroundMode(0);

    // An image that cannot be read leaves the clear colour.
    EXPECT_EQ(ch->setBackgroundImage("not_there.png"), 1);
    EXPECT_EQ(ch->getBackgroundTexture(), 0u);
    ch->setClearColor(0, 0, 1, 1);
    sgDrawFrame(GL_RENDER, 2);
    EXPECT_TRUE(near(frame().at(2, 2), rgb(0, 0, 255))) << describe(frame().at(2, 2));
}

TEST_F(ChannelTest, BackgroundFormats) {
    FakeImages::addColour("plain.bmp", 1, 2, 3);
    FakeImages::addColour("plain.rgb", 1, 2, 3);
    std::string longName = "/a/folder/name/longer/than/sixty/four/characters/for/the/background/plain.bmp";
    FakeImages::addColour(longName, 9, 9, 9);
    EXPECT_EQ(ch->setBackgroundImage("plain.bmp"), 1);
    EXPECT_EQ(ch->setBackgroundImage("plain.rgb"), 1);
    EXPECT_EQ(FakeImages::textureReads(), 0);  // bitmaps are not padded
    EXPECT_EQ(FakeImages::totalReads(), 2);
    EXPECT_FLOAT_EQ(ch->getBackgroundSScale(), 1.0f);
    GLuint first = ch->getBackgroundTexture();
    EXPECT_TRUE(glIsTexture(first));
    EXPECT_EQ(ch->setBackgroundImage(longName), 1);
    EXPECT_EQ(ch->getBackgroundFile(), longName);
    EXPECT_FALSE(glIsTexture(first));  // the previous texture was deleted

    testing::internal::CaptureStderr();
    EXPECT_EQ(ch->setBackgroundImage("held.4dv"), 0);
    EXPECT_EQ(ch->setBackgroundImage("anim.gif"), 0);
    EXPECT_EQ(ch->setBackgroundImage("photo.jpeg"), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "MERAK: Unsupported texture file type.\nSG: unsupported texture format: gif\n"
              "SG: unsupported texture format: jpe\n");
    EXPECT_EQ(ch->setBackgroundImage(""), 0);
    EXPECT_EQ(ch->setBackgroundImage("noextension"), 0);

    EXPECT_EQ(ch->setBackgroundImage("plain.bmp"), 1);
    GLuint last = ch->getBackgroundTexture();
    EXPECT_TRUE(glIsTexture(last));
    sgChannel::sgFreeChannel();
    EXPECT_FALSE(glIsTexture(last));
    ch = sgChannel::sgGetChannel();
    EXPECT_EQ(ch->getBackgroundFile(), "");
}

// Every camera or view-width change applies the background again: the picture
// is read once while its file stays as it was, and again once it changes.
TEST_F(ChannelTest, BackgroundPictureIsReadAgainOnlyWhenItsFileChanges) {
    TempDir dir;
    const std::string path = dir.write("sky.png", std::string("first"));
    FakeImages::addColour(path, 10, 20, 30);
    EXPECT_EQ(ch->setBackgroundImage(path), 1);
    const GLuint texture = ch->getBackgroundTexture();
    for (int i = 0; i < 5; ++i) EXPECT_EQ(ch->setBackgroundImage(path), 1);
    EXPECT_EQ(FakeImages::reads(path), 1);
    EXPECT_EQ(ch->getBackgroundTexture(), texture);
    EXPECT_TRUE(glIsTexture(texture));
    // Saved again (another size): read again.
    dir.write("sky.png", std::string("second, longer"));
    EXPECT_EQ(ch->setBackgroundImage(path), 1);
    EXPECT_EQ(FakeImages::reads(path), 2);
    // Another picture and back: read again; so after the GL state is set up anew.
    FakeImages::addColour("other.png", 1, 1, 1);
    ch->setBackgroundImage("other.png");
    ch->setBackgroundImage(path);
    EXPECT_EQ(FakeImages::reads(path), 3);
    sgInitGLState();
    ch->setBackgroundImage(path);
    EXPECT_EQ(FakeImages::reads(path), 4);
    // A picture that does not load is not tried again at every move either.
    testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(ch->setBackgroundImage("missing.png"), 1);
    EXPECT_EQ(FakeImages::reads("missing.png"), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("missing.png"), std::string::npos);
}

// The transparent parts of a background picture show white, whatever colour
// the last drawing (a selection outline) left current.
TEST_F(ChannelTest, TransparentPartsOfABackgroundPictureShowWhite) {
    FakeImages::Picture p;
    p.width = p.height = 64;
    p.components = 4;
    p.left[0] = 255, p.left[3] = 0;  // left half transparent
    p.right[2] = 255;                // right half opaque blue
    FakeImages::add("holes.png", p);
    ch->setOrtho(0, width_, 0, height_, -10, 10);
    ch->setBackgroundImage("holes.png");
    ch->setBackgroundOn(1);
    sgGeoSet* outlined = makeQuad(300, 200, 380, 280, 0, 1, 0, 0);
    outlined->setOutline(1);
    root->addChild(geode(outlined));
    for (int frameNo = 0; frameNo < 2; ++frameNo) {
        sgDrawFrame(GL_RENDER, frameNo);
        Frame f = frame();
        EXPECT_TRUE(near(f.at(40, 40), rgb(255, 255, 255))) << frameNo << " " << describe(f.at(40, 40));
        EXPECT_TRUE(near(f.at(250, 40), rgb(0, 0, 255))) << frameNo << " " << describe(f.at(250, 40));
    }
}

TEST_F(ChannelTest, AlphaOutputHoldsCoverage) {
    ch->setOrtho(0, width_, 0, height_, -10, 10);
    root->addChild(geode(makeQuad(20, 20, 80, 80, 0, 1, 0, 0)));
    root->addChild(geode(makeQuad(120, 20, 180, 80, 0, 0, 0, 1, 0.5f)));
    sgSetAlphaOutput(1);
    sgDrawFrame(GL_RENDER, 0);
    Frame f = frame();
    EXPECT_TRUE(near(f.at(50, 50), rgb(255, 0, 0, 255))) << describe(f.at(50, 50));
    // Blended into alpha once: a * a + (1 - a) * 0.
    EXPECT_TRUE(near(f.at(150, 50), rgb(0, 0, 128, 64))) << describe(f.at(150, 50));
    EXPECT_TRUE(near(f.at(250, 50), rgb(0, 0, 0, 0)));

    // With a background alpha is 1 everywhere, and the clear colour is kept.
    FakeImages::addColour("alpha_bg.png", 0, 0, 0);
    ch->setClearColor(0.25f, 0.5f, 0.75f, 1);
    ch->setBackgroundImage("alpha_bg.png");
    ch->setBackgroundOn(1);
    sgDrawFrame(GL_RENDER, 1);
    f = frame();
    EXPECT_EQ(f.at(250, 50).a, 255);
    EXPECT_EQ(f.at(150, 50).a, 255);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[0], 0.25f);
    EXPECT_FLOAT_EQ(clear[3], 0.0f);  // the background image set the kept alpha to 0
    GLboolean mask[4];
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    EXPECT_TRUE(mask[0] && mask[1] && mask[2] && mask[3]);
}

TEST_F(ChannelTest, PickReturnsTheNearerSet) {
    ch->setOrtho(0, width_, 0, height_, -10, 10);
    sgGeoSet* far = makeQuad(50, 50, 150, 150, -5, 1, 0, 0);
    sgGeoSet* nearer = makeQuad(100, 100, 200, 200, 5, 0, 1, 0);
    root->addChild(geode(nearer));
    root->addChild(geode(far));  // drawn later, still behind
    EXPECT_EQ(pickAt(125, 125), nearer);
    EXPECT_EQ(pickAt(75, 75), far);
    EXPECT_EQ(pickAt(180, 180), nearer);
    EXPECT_EQ(pickAt(300, 250), nullptr);
    EXPECT_EQ(ch->pick(125, height_ - 125, 0, 3), nullptr);

    // A copy shares its original's display list but is picked as itself.
    sgGeoSet* copy = nearer->copy();
    sgDCS* moved = new sgDCS;
    moved->setTrans(200, 0, 0);
    moved->addChild(geode(copy));
    root->addChild(moved);
    EXPECT_EQ(pickAt(380, 180), copy);
    EXPECT_EQ(pickAt(180, 180), nearer);
    EXPECT_EQ(copy->getDisplayList(), nearer->getDisplayList());
    // Picking leaves the library in render mode.
    EXPECT_EQ(sgGetRenderMode(), GL_RENDER);
}

TEST_F(ChannelTest, PickSurvivesHundredsOfHits) {
    ch->setOrtho(0, width_, 0, height_, -10, 10);
    sgGeode* g = new sgGeode;
    sgGeoSet* nearest = nullptr;
    for (int i = 0; i < 300; ++i) {
        float z = i == 170 ? 9.0f : -9.0f + i * 0.05f;
        sgGeoSet* s = makeQuad(10, 10, 60, 60, z, 1, 1, 1);
        if (i == 170) nearest = s;
        g->addGSet(s);
    }
    root->addChild(g);
    EXPECT_EQ(pickAt(30, 30), nearest);
}

TEST_F(ChannelTest, FrameZeroConvertsOnce) {
    FakeImages::addColour("convert_once.png", 255, 255, 255);
    sgGeoSet* set = makeQuad(-1, -1, 1, 1, 0, 1, 1, 1);
    sgTexture t;
    t.loadFile("convert_once.png");
    set->getGState()->sgAttr(GL_TEXTURE_2D, &t);
    root->addChild(geode(set));
    sgLightSource* light = new sgLightSource;
    light->on();
    glDisable(GL_LIGHT0 + light->getLightNumber());
    root->addChild(light);
    EXPECT_EQ(sgGetConverted(), 0);
    sgDrawFrame(GL_RENDER, 0);
    EXPECT_EQ(sgGetConverted(), 1);
    EXPECT_EQ(FakeImages::reads("convert_once.png"), 1);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0 + light->getLightNumber()));  // the light pass ran

    glDisable(GL_LIGHT0 + light->getLightNumber());
    sgDrawFrame(GL_RENDER, 0);  // no second conversion, no light pass
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0 + light->getLightNumber()));

    sgInitGLState();
    EXPECT_EQ(sgGetConverted(), 0);
    sgDrawFrame(GL_RENDER, 3);  // only frame 0 converts
    EXPECT_EQ(sgGetConverted(), 0);
    sgDrawFrame(GL_RENDER, 0);
    EXPECT_EQ(sgGetConverted(), 1);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0 + light->getLightNumber()));
    EXPECT_EQ(sgGetCurrentFrame(), 0);
}

TEST_F(ChannelTest, DefaultGLStateAndDrawBracket) {
    glEnable(GL_BLEND);
    glEnable(GL_LIGHT3);
    sgInitGLState();
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT3));
    EXPECT_FALSE(glIsEnabled(GL_DITHER));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));  // blend function set, blending left alone
    GLint v = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &v);
    EXPECT_EQ(v, GL_LEQUAL);
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &v);
    EXPECT_EQ(v, GL_GREATER);
    glGetIntegerv(GL_BLEND_DST, &v);
    EXPECT_EQ(v, GL_ONE_MINUS_SRC_ALPHA);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &v);
    EXPECT_EQ(v, 1);
    GLfloat w = 0;
    glGetFloatv(GL_LINE_WIDTH, &w);
    EXPECT_FLOAT_EQ(w, 1.5f);

    glDisable(GL_CULL_FACE);
    sgPushDrawState();
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    sgPopDrawState();
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));  // was on before: stays on
}
