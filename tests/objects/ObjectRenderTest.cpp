// Models and panels drawn with OSMesa: loading, texturing under a light,
// file changes on built models, deletion inside an event tree.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "assets/ImageReaders.h"
#include "assets/writePNG.h"
#include "scene/pnMaterial.h"
#include "scene/pnModel.h"
#include "scene/pnPanel.h"
#include "scene/pnScene.h"
#include "sg/sgDCS.h"
#include "sg/sgGeoSet.h"
#include "sg/sgGeoState.h"
#include "sg/sgGeode.h"
#include "sg/sgNode.h"
#include "sg/sgRuntime.h"
#include "sg/sgTexture.h"
#include "tests/objects/ObjectTestSupport.h"
#include "tests/support/ImageCheck.h"
#include "tests/support/OffscreenGL.h"

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace {
// Quadrant colours of the test texture: bottom-left, bottom-right, top-left,
// top-right (t grows upwards).
const uint8_t kQuad[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};

// Light: directional along +z, diffuse 0.5, no specular or ambient of its
// own; the scene ambient is GL's 0.2. A white lit surface facing the light
// gets 0.2 * 0.2 + 0.5 = 0.54 of its texture.
const float kLit = 0.54f;

class ObjectRenderTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        installImageReaders();
        sgSetCurrentFrame(0);
        glViewport(0, 0, width_, height_);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        // One unit per pixel, the origin in the middle of the frame.
        glOrtho(-width_ / 2.0, width_ / 2.0, -height_ / 2.0, height_ / 2.0, -1000, 1000);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        const float pos[4] = {0, 0, 1, 0};
        const float diffuse[4] = {0.5f, 0.5f, 0.5f, 1};
        const float none[4] = {0, 0, 0, 1};
        glLightfv(GL_LIGHT0, GL_POSITION, pos);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
        glLightfv(GL_LIGHT0, GL_SPECULAR, none);
        glLightfv(GL_LIGHT0, GL_AMBIENT, none);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    std::string path(const std::string& name) { return testOutputDir() + "/objects_" + name; }

    // A 64 x 64 PNG in four coloured quadrants (rows bottom-up, as GL reads).
    std::string quadrantTexture(const std::string& name) {
        std::vector<uint8_t> px(64 * 64 * 3);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const uint8_t* c = kQuad[(y >= 32 ? 2 : 0) + (x >= 32 ? 1 : 0)];
                for (int k = 0; k < 3; ++k) px[static_cast<size_t>((y * 64 + x) * 3 + k)] = c[k];
            }
        std::string file = path(name);
        EXPECT_EQ(writePNG(file, px.data(), 64, 64, 24, 0, 1.0), 1);
        return file;
    }

    // A square of side 2h in the plane z = 0, facing +z.
    std::string squareObj(const std::string& name, float h) {
        std::string file = path(name);
        std::ofstream out(file);
        out << "v " << -h << ' ' << -h << " 0\nv " << h << ' ' << -h << " 0\nv " << h << ' ' << h << " 0\nv " << -h
            << ' ' << h << " 0\n";
        out << "vn 0 0 1\nf 1//1 2//1 3//1\nf 1//1 3//1 4//1\n";
        return file;
    }

    // Pixel at scene point (x, y).
    RGBA at(const Frame& f, int x, int y) { return f.at(x + width_ / 2, y + height_ / 2); }

    static RGBA lit(const uint8_t* c, float k) {
        RGBA r;
        r.r = static_cast<uint8_t>(c[0] * k + 0.5f);
        r.g = static_cast<uint8_t>(c[1] * k + 0.5f);
        r.b = static_cast<uint8_t>(c[2] * k + 0.5f);
        r.a = 255;
        return r;
    }
};
}  // namespace

TEST_F(ObjectRenderTest, UnreadableModelBuildsNothing) {
    pnModel m;
    m.setName("m");
    m.setFile(path("missing.obj").c_str());
    CaptureStdout();
    EXPECT_EQ(m.getNode(), nullptr);
    std::string out = GetCapturedStdout();
    EXPECT_NE(out.find("[pnModel::getNode] Model file not read in\n"), std::string::npos) << out;
    EXPECT_EQ(m.getSwitchNode(), nullptr);
    EXPECT_EQ(m.getGeoSet(), nullptr);
    EXPECT_EQ(m.isBuilt(), 0);
}

TEST_F(ObjectRenderTest, TexturedModelShowsItsTextureUnderTheLight) {
    pnModel m;
    m.setName("square");
    m.setFile(squareObj("square.obj", 100).c_str());
    m.setTexture(quadrantTexture("model_quadrants.png").c_str());
    m.setMode(1);  // s = 0.005 x + 0.5, t = 0.005 y + 0.5: the square spans the image
    sgNode* node = m.getNode();
    ASSERT_NE(node, nullptr);
    EXPECT_GT(m.getGeoSet()->getDisplayList(), 0);
    node->draw(SG_PASS_OPAQUE);
    Frame f = readFrame(width_, height_);
    writeFramePNG(f, path("model_render.png"));
    const int probes[4][2] = {{-50, -50}, {50, -50}, {-50, 50}, {50, 50}};
    for (int q = 0; q < 4; ++q) {
        RGBA c = at(f, probes[q][0], probes[q][1]);
        EXPECT_TRUE(near(c, lit(kQuad[q], kLit), 4)) << "quadrant " << q << ": " << describe(c);
    }
    EXPECT_TRUE(near(at(f, -150, 0), RGBA{0, 0, 0, 255}, 1)) << describe(at(f, -150, 0));

    // Moved and turned through the object's transform: the texture goes with it.
    m.setBuilt(1);
    m.setPosition(20, 0, 0);
    m.setRotAngle(180);
    m.setRotAxis(0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    node->draw(SG_PASS_OPAQUE);
    f = readFrame(width_, height_);
    // Scene point (70, -50) is object point (-50, 50), (-30, -50) is (50, 50).
    EXPECT_TRUE(near(at(f, 70, -50), lit(kQuad[2], kLit), 4)) << describe(at(f, 70, -50));
    EXPECT_TRUE(near(at(f, -30, -50), lit(kQuad[3], kLit), 4)) << describe(at(f, -30, -50));
}

TEST_F(ObjectRenderTest, TexturedBevelledPanelShowsItsTextureOnTheFront) {
    pnPanel p;
    p.setName("panel");
    p.setTexture(quadrantTexture("panel_quadrants.png").c_str());
    p.setDimension(200, 200, 20);
    p.setBevel(20);
    p.setEachFaceFlag(1, 0, 0, 0, 0, 0);
    sgNode* node = p.getNode();
    ASSERT_NE(node, nullptr);
    node->draw(SG_PASS_OPAQUE);
    Frame f = readFrame(width_, height_);
    writeFramePNG(f, path("panel_render.png"));
    // The front spans -80..80 with u from 0.01 + 0.1 to 0.99 - 0.1.
    const int probes[4][2] = {{-40, -40}, {40, -40}, {-40, 40}, {40, 40}};
    for (int q = 0; q < 4; ++q) {
        RGBA c = at(f, probes[q][0], probes[q][1]);
        EXPECT_TRUE(near(c, lit(kQuad[q], kLit), 4)) << "quadrant " << q << ": " << describe(c);
    }
    // The sloping left side is untextured, default grey (diffuse 0.8), lit
    // at its angle: n.l = 20 / sqrt(20^2 + 20^2).
    const float side = 0.2f * 0.2f + 0.5f * 0.8f * 0.70710678f;
    const uint8_t grey[3] = {255, 255, 255};
    EXPECT_TRUE(near(at(f, -90, 0), lit(grey, side), 4)) << describe(at(f, -90, 0));
    EXPECT_TRUE(near(at(f, -150, 0), RGBA{0, 0, 0, 255}, 1));
}

TEST_F(ObjectRenderTest, BuiltModelChangesFileAndTexture) {
    pnScene scene;
    auto* green = new pnMaterial;
    green->setName("green");
    green->setDiffuse(0, 1, 0);
    scene.addMaterial(green);
    auto* m = new pnModel;
    m->setName("m");
    m->setMaterialName("green");
    m->setFile(squareObj("small.obj", 50).c_str());
    m->setTexture(quadrantTexture("change_quadrants.png").c_str());
    m->setMode(1);
    scene.addObject(m);
    ASSERT_NE(m->getNode(), nullptr);
    m->setBuilt(1);
    const int firstList = m->getGeoSet()->getDisplayList();
    ASSERT_GT(firstList, 0);

    DiagnosticLog log;
    m->setFileName(path("nothing.obj").c_str());
    EXPECT_NE(log.text().find("[pnObject::setFileName] Model file not read in"), std::string::npos);
    EXPECT_EQ(m->getGeoSet()->getDisplayList(), firstList);
    EXPECT_EQ(m->getFile(), path("small.obj"));
    m->setFileName(squareObj("big.obj", 120).c_str());
    EXPECT_EQ(m->getFile(), path("big.obj"));
    EXPECT_GT(m->getGeoSet()->getDisplayList(), 0);
    EXPECT_EQ(glIsList(static_cast<GLuint>(firstList)), GL_FALSE);  // the old list is gone

    // A refused texture leaves the state without the old image.
    ASSERT_NE(m->getGeoState()->getTexture(), nullptr);
    CaptureStderr();
    m->setTexture("photo.gif");
    EXPECT_NE(GetCapturedStderr().find("WARNING: texture, photo.gif, not found.\n"), std::string::npos);
    EXPECT_EQ(m->getTextureObject(), nullptr);
    EXPECT_EQ(m->getGeoState()->getTexture(), nullptr);

    // Mode 0 takes the texture off and gives the scene's material back.
    m->setTexture(path("change_quadrants.png").c_str());
    ASSERT_NE(m->getGeoState()->getTexture(), nullptr);
    m->setMode(0);
    EXPECT_EQ(m->getGeoState()->getTexture(), nullptr);
    sgVec4 d = m->getGeoState()->getColor(GL_DIFFUSE);
    EXPECT_FLOAT_EQ(d[0], 0);
    EXPECT_FLOAT_EQ(d[1], 1);
    m->getNode()->draw(SG_PASS_OPAQUE);
    Frame f = readFrame(width_, height_);
    RGBA c = at(f, 0, 0);
    EXPECT_LT(c.r, 20);
    EXPECT_GT(c.g, 100) << describe(c);

    // The copy takes the mapping but not the nodes.
    pnModel copy;
    copy.copy(m);
    EXPECT_EQ(copy.getMode(), 0);
    EXPECT_EQ(copy.getSwitchNode(), nullptr);
    EXPECT_EQ(copy.getTextureObject(), nullptr);
}

TEST_F(ObjectRenderTest, DeletedModelHandsItsChildEventsToTheGrandparent) {
    sgGroup eventGroup;
    auto* eventNode = new sgDCS;
    eventGroup.addChild(eventNode);
    auto* m = new pnModel;
    m->setFile(squareObj("events.obj", 10).c_str());
    sgNode* sw = m->getNode();
    ASSERT_NE(sw, nullptr);
    eventNode->addChild(sw);
    sgDCS* children[3];
    for (sgDCS*& c : children) {
        c = new sgDCS;
        sw->addChild(c);
    }
    delete m;
    ASSERT_EQ(eventGroup.getNumChildren(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(eventGroup.getChild(i), children[i]);
}
