#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "sg/sgChannel.h"
#include "sg/sgGeoSet.h"
#include "sg/sgGeoState.h"
#include "sg/sgGeode.h"
#include "sg/sgMaterial.h"
#include "sg/sgTexEnv.h"
#include "sg/sgTexGen.h"
#include "sg/sgTexture.h"
#include "sg/sgTextureFileTable.h"
#include "tests/scenegraph/SgFixture.h"

namespace {
void attach(sgGeoSet* set, const std::string& file, int filter = -1) {
    sgTexture t;
    ASSERT_EQ(t.loadFile(file), 1);
    if (filter != -1) {
        t.setFilter(GL_TEXTURE_MIN_FILTER, filter);
        t.setFilter(GL_TEXTURE_MAG_FILTER, filter);
    }
    set->getGState()->sgAttr(GL_TEXTURE_2D, &t);
}
}  // namespace

TEST(TextureAttribute, ExtensionSelectsTheFormat) {
    sgTexture t;
    EXPECT_EQ(t.loadFile("image.JPG"), 1);
    EXPECT_EQ(t.getFormat(), 3);
    EXPECT_EQ(t.loadFile("dir/a.tga"), 1);
    EXPECT_EQ(t.getFormat(), 2);
    EXPECT_EQ(t.loadFile("a.BMP"), 1);
    EXPECT_EQ(t.getFormat(), 1);
    EXPECT_EQ(t.loadFile("a.png"), 1);
    EXPECT_EQ(t.getFormat(), 4);
    EXPECT_EQ(t.loadFile("a.rgb"), 1);
    EXPECT_EQ(t.getFormat(), 0);
    EXPECT_EQ(t.loadFile("held.4DV"), 1);
    EXPECT_EQ(t.getFormat(), 9);

    testing::internal::CaptureStderr();
    EXPECT_EQ(t.loadFile("image.jpeg"), 0);
    EXPECT_EQ(t.loadFile("image.Png"), 0);
    EXPECT_EQ(t.loadFile("noextension"), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "SG: unsupported texture format: jpe\nSG: unsupported texture format: Png\n");
    EXPECT_EQ(t.getFileName(), "held.4DV");  // refused names change nothing

    EXPECT_EQ(t.loadFile(""), 1);
    EXPECT_EQ(t.getFileName(), "");
}

TEST(TextureAttribute, TexGenIndicesAndModes) {
    sgTexGen g;
    g.setMode(7, 2);
    EXPECT_EQ(g.getMode(0), 2);
    g.setMode(1, 9);
    EXPECT_EQ(g.getMode(1), 0);
    float p[4];
    g.getPlane(0, p);
    EXPECT_FLOAT_EQ(p[0], 0.003f);
    EXPECT_FLOAT_EQ(p[2], 0.003f);
    g.getPlane(3, p);
    EXPECT_FLOAT_EQ(p[3], 1.0f);

    sgGeoState state;
    g.setMode(1, 3);
    g.setPlane(-5, 1, 2, 3, 4);  // coordinate 0
    EXPECT_EQ(state.sgAttr(SG_TEXGEN_KEY, &g), 1);
    EXPECT_EQ(state.getTexGenMode(0), 2);
    EXPECT_EQ(state.getTexGenMode(1), 3);
    EXPECT_EQ(state.getTexGenMode(2), 0);
    EXPECT_FLOAT_EQ(state.getTexGenPlane(0)[3], 4);
    // Attributes go under their own key only.
    EXPECT_EQ(state.sgAttr(GL_FRONT, &g), 0);
    EXPECT_EQ(state.sgAttr(GL_FRONT, nullptr), 0);
}

TEST(TextureAttribute, StateKeepsItsOwnMaterial) {
    sgGeoState state;
    EXPECT_FLOAT_EQ(state.getColor(GL_DIFFUSE)[0], 0.8f);
    {
        auto m = std::make_unique<sgMaterial>();
        m->setColor(GL_DIFFUSE, 0.1f, 0.2f, 0.3f);
        m->setColor(GL_SHININESS, 40, 0, 0);
        m->setAlpha(0.25f);
        EXPECT_EQ(m->setColor(GL_POSITION, 1, 1, 1), 0);
        state.sgAttr(GL_FRONT, m.get());
    }  // the caller's temporary is gone
    EXPECT_FLOAT_EQ(state.getAlpha(), 0.25f);
    EXPECT_FLOAT_EQ(state.getColor(GL_SHININESS)[0], 40);
    EXPECT_FLOAT_EQ(state.getColor(GL_AMBIENT)[0], 0.2f);  // not recorded: default kept
    auto* own = dynamic_cast<sgMaterial*>(state.getAttr(GL_FRONT));
    ASSERT_TRUE(own);
    float r = 0;
    own->getColor(GL_DIFFUSE, &r, nullptr, nullptr);
    EXPECT_FLOAT_EQ(r, 0.1f);

    std::unique_ptr<sgGeoState> copy(state.copy());
    EXPECT_NE(copy->getAttr(GL_FRONT), state.getAttr(GL_FRONT));
    EXPECT_FLOAT_EQ(copy->getAlpha(), 0.25f);
}

TEST(TextureAttribute, TableLooksUpExactNamesOfAnyLength) {
    sgTextureFileTable& table = sgGetTextureFileTable();
    std::string longName = "/data/" + std::string(300, 'x') + ".png";
    sgTextureFileEntry* e = table.lookup(longName);
    EXPECT_EQ(e->name, longName);
    EXPECT_EQ(table.lookup(longName), e);
    EXPECT_NE(table.lookup(longName + "x"), e);
    EXPECT_EQ(table.getEntry(0)->name, longName + "x");  // most recent first
    EXPECT_EQ(table.lookup(longName), e);
    EXPECT_EQ(table.getEntry(0), e);
    EXPECT_EQ(table.find("never.png"), nullptr);
}

class StateTextureTest : public SgGLTest {};

TEST_F(StateTextureTest, SequenceFollowsTheFrame) {
    FakeImages::addColour("seq_0000.png", 255, 0, 0);
    FakeImages::addColour("seq_0001.png", 0, 255, 0);
    FakeImages::addColour("seq_0002.png", 0, 0, 255);
    sgGeoSet* set = makeQuad(10, 10, 50, 50, 0, 1, 1, 1);
    sgGeoState* state = set->getGState();
    state->setTextureMode(sgGeoState::SG_TEX_SEQUENCE);
    state->setSequenceCount(3);
    attach(set, "seq_0000.png");
    state->setSequenceFrame(-1);
    const RGBA expected[3] = {rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255)};
    for (int n : {0, 1, 2, 3, 7}) {
        sgSetCurrentFrame(n);
        clear();
        set->draw(SG_PASS_OPAQUE);
        RGBA c = frame().at(30, 30);
        EXPECT_TRUE(near(c, expected[n % 3])) << "frame " << n << ": " << describe(c);
    }
    state->setSequenceFrame(4);  // a fixed frame ignores the current one
    sgSetCurrentFrame(0);
    clear();
    set->draw(SG_PASS_OPAQUE);
    EXPECT_TRUE(near(frame().at(30, 30), expected[1]));
    state->setSequenceIndex(5);
    EXPECT_EQ(state->getSequenceIndex(), 2);
    EXPECT_EQ(FakeImages::reads("seq_0000.png"), 1);

    // Lengthening the sequence names the new files.
    state->setSequenceCount(4);
    ASSERT_TRUE(state->getSequenceEntry(3));
    EXPECT_EQ(state->getSequenceEntry(3)->name, "seq_0003.png");

    // A length below 1 means no texture, and no division by zero.
    state->setSequenceCount(0);
    EXPECT_EQ(state->currentTexture(), nullptr);
    EXPECT_EQ(state->getSequenceIndex(), -1);
    clear();
    set->draw(SG_PASS_OPAQUE);
    EXPECT_TRUE(near(frame().at(30, 30), rgb(255, 255, 255)));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    delete set;
}

TEST_F(StateTextureTest, MissingTextureIsReadOnceOverTenFrames) {
    sgScene* root = new sgScene;
    sgGeode* g = new sgGeode;
    sgGeoSet* set = makeQuad(10, 10, 50, 50, 0, 1, 0.5f, 0);
    attach(set, "missing_texture.png");
    g->addGSet(set);
    root->addChild(g);
    sgChannel* ch = sgChannel::sgGetChannel();
    ch->setScene(root);
    ch->setOrtho(0, width_, 0, height_, -10, 10);
    testing::internal::CaptureStderr();
    for (int n = 0; n < 10; ++n) sgDrawFrame(GL_RENDER, n);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(FakeImages::reads("missing_texture.png"), 1);
    // Drawn untextured in the meantime.
    EXPECT_TRUE(near(frame().at(30, 30), rgb(255, 128, 0)));
    ASSERT_TRUE(set->currentTexture());
    EXPECT_TRUE(set->currentTexture()->failed);
    // The reader's reason is kept and said once.
    EXPECT_EQ(set->currentTexture()->failure, sgImageFailure::missing);
    const std::string line = "MERAK: Texture file \"" + sgResolveTexturePath("missing_texture.png") +
                             "\" not loaded: missing.\n";
    EXPECT_EQ(said, line);

    // Naming the file again (the user put it back) tries once more.
    FakeImages::addColour("missing_texture.png", 0, 255, 0);
    attach(set, "missing_texture.png");
    for (int n = 10; n < 13; ++n) sgDrawFrame(GL_RENDER, n);
    EXPECT_EQ(FakeImages::reads("missing_texture.png"), 2);
    EXPECT_FALSE(set->currentTexture()->failed);
    EXPECT_EQ(set->currentTexture()->failure, sgImageFailure::none);
    // Modulated by the set's orange.
    EXPECT_TRUE(near(frame().at(30, 30), rgb(0, 128, 0))) << describe(frame().at(30, 30));
    ch->setScene(nullptr);
    delete root;
}

TEST_F(StateTextureTest, ReloadDeletesTheOldTexture) {
    FakeImages::addColour("reload_me.png", 10, 20, 30);
    sgGeoSet* set = makeQuad(10, 10, 50, 50, 0, 1, 1, 1);
    attach(set, "reload_me.png");
    set->draw(SG_PASS_OPAQUE);
    GLuint old = set->currentTexture()->glId;
    ASSERT_NE(old, 0u);
    EXPECT_TRUE(glIsTexture(old));
    sgSetTextureReload(1);
    attach(set, "reload_me.png");
    sgSetTextureReload(0);
    EXPECT_EQ(set->currentTexture()->glId, 0u);
    EXPECT_FALSE(glIsTexture(old));
    clear();
    set->draw(SG_PASS_OPAQUE);
    EXPECT_EQ(FakeImages::reads("reload_me.png"), 2);
    EXPECT_TRUE(near(frame().at(30, 30), rgb(10, 20, 30)));
    delete set;
}

TEST_F(StateTextureTest, FiltersAndEnvironmentReachTheBoundTexture) {
    FakeImages::addColour("filtered.png", 200, 100, 50, 128, 4);
    sgGeoSet* set = makeQuad(10, 10, 50, 50, 0, 0, 0, 1);
    attach(set, "filtered.png", GL_NEAREST);
    sgTexEnv env;
    env.setMode(GL_DECAL);
    set->getGState()->sgAttr(GL_TEXTURE_ENV, &env);
    EXPECT_EQ(set->getGState()->getMinFilter(), GL_NEAREST);
    set->getGState()->apply(SG_PASS_OPAQUE);
    GLint bound = 0, minFilter = 0, mode = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), set->currentTexture()->glId);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(minFilter, GL_NEAREST);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_DECAL);
    EXPECT_EQ(set->getGState()->getOpaqueTexture(), 0);
    // Decal with half alpha over the blue lit colour.
    clear();
    set->draw(SG_PASS_FRONT);
    RGBA c = frame().at(30, 30);
    EXPECT_TRUE(near(c, rgb(100, 50, 152), 3)) << describe(c);
    delete set;
}

TEST_F(StateTextureTest, ImageHandleTexturesComeFromRegisteredImages) {
    sgImage held;
    held.width = 2;
    held.height = 2;
    held.pixels = {30, 20, 10, 255, 30, 20, 10, 255, 30, 20, 10, 255, 30, 20, 10, 255};  // blue, green, red, alpha
    int handle = sgRegisterImageHandle(&held);
    std::string good = testOutputDir() + "/held_image.4dv";
    std::string bad = testOutputDir() + "/unknown_image.4dv";
    FILE* f = std::fopen(good.c_str(), "w");
    ASSERT_TRUE(f);
    std::fprintf(f, "%d\n", handle);
    std::fclose(f);
    f = std::fopen(bad.c_str(), "w");
    ASSERT_TRUE(f);
    std::fprintf(f, "%d\n", handle + 1000);
    std::fclose(f);

    sgGeoSet* a = makeQuad(10, 10, 50, 50, 0, 1, 1, 1);
    attach(a, good);
    sgGeoSet* b = makeQuad(100, 10, 140, 50, 0, 1, 1, 1);
    attach(b, bad);
    clear();
    a->draw(SG_PASS_FRONT);  // four components: a transparent-pass member
    b->draw(SG_PASS_OPAQUE);
    Frame fr = frame();
    // The 2 x 2 picture fills the lower left quarter of its 4 x 4 canvas.
    EXPECT_TRUE(near(fr.at(15, 15), rgb(10, 20, 30))) << describe(fr.at(15, 15));
    EXPECT_EQ(a->currentTexture()->components, 4);
    EXPECT_TRUE(b->currentTexture()->failed);
    EXPECT_TRUE(near(fr.at(120, 30), rgb(255, 255, 255)));
    sgUnregisterImageHandle(handle);
    delete a;
    delete b;
}

TEST_F(StateTextureTest, TextureGenerationIsSetPerSet) {
    sgGeoSet* generated = makeQuad(10, 10, 50, 50, 0, 1, 1, 1);
    sgTexGen g;
    g.setMode(0, 1);
    g.setMode(1, 2);
    generated->getGState()->sgAttr(SG_TEXGEN_KEY, &g);
    generated->draw(SG_PASS_OPAQUE);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_T));
    GLint mode = 0;
    glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &mode);
    EXPECT_EQ(mode, GL_EYE_LINEAR);
    GLfloat plane[4];
    glGetTexGenfv(GL_S, GL_OBJECT_PLANE, plane);
    EXPECT_FLOAT_EQ(plane[0], 0.003f);
    sgGeoSet* plain = makeQuad(10, 10, 50, 50, 0, 1, 1, 1);
    plain->draw(SG_PASS_OPAQUE);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    delete generated;
    delete plain;
}
