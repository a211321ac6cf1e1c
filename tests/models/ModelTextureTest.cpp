// 3DS material textures: stored names from other systems resolve to the files
// beside the model, each format goes to its decoder, and the drawn quad shows
// the texture.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

#include "assets/ModelLoader.h"
#include "assets/sgModelTable.h"
#include "tests/models/ModelTestSupport.h"
#include "tests/support/ImageCheck.h"
#include "tests/support/OffscreenGL.h"
#include "tools/ModelGen.h"
#include "tests/support/ToolCheck.h"

using modeltest::TempDir;

namespace {

// A 4 x 4 picture of one colour.
std::vector<uint8_t> tga(RGBA c) {
    std::vector<uint8_t> b = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 4, 0, 24, 0};
    for (int i = 0; i < 16; ++i) b.insert(b.end(), {c.b, c.g, c.r});
    return b;
}

std::vector<uint8_t> bmp(RGBA c) {
    modelgen::ChunkWriter w;  // little-endian helpers
    w.raw("BM", 2);
    w.u32(54 + 48);
    w.u32(0);
    w.u32(54);
    w.u32(40);
    w.u32(4);
    w.u32(4);
    w.u16(1);
    w.u16(24);
    w.u32(0);
    w.u32(48);
    w.u32(2835);
    w.u32(2835);
    w.u32(0);
    w.u32(0);
    for (int i = 0; i < 16; ++i) {
        w.u8(c.b);
        w.u8(c.g);
        w.u8(c.r);
    }
    return w.bytes;
}

// A unit quad in the x-y plane facing +z, textured by `texture`.
std::vector<uint8_t> quadModel(const std::string& texture) {
    modelgen::Mesh q;
    q.name = "quad";
    q.positions = {-1, -1, 0, 1, -1, 0, 1, 1, 0, -1, 1, 0};
    q.texcoords = {0, 0, 1, 0, 1, 1, 0, 1};
    q.triangles = {0, 1, 2, 0, 2, 3};
    modelgen::Material m;
    m.name = "skin";
    m.texture = texture;
    q.assign("skin");
    modelgen::Scene s;
    s.materials = {m};
    s.meshes = {q};
    return modelgen::write3DS(s);
}

class ModelTextureTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        sgModelTable::instance().clear(false);
        glViewport(0, 0, width_, height_);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-2, 2, -1.5, 1.5, -5, 5);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_LIGHTING);
    }
    void TearDown() override {
        sgModelTable::instance().clear(true);
        GLTest::TearDown();
    }
    // Colour in the middle of the drawn quad.
    RGBA drawn(const std::string& model) {
        GLuint list = getModel(model);
        EXPECT_NE(list, 0u);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glColor3f(1, 1, 1);
        glCallList(list);
        glDeleteLists(list, 1);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));  // the list turns texturing off again
        Frame f = readFrame(width_, height_);
        return f.at(width_ / 2, height_ / 2);
    }
};

}  // namespace

TEST_F(ModelTextureTest, StoredNamesResolveBesideTheModel) {
    TempDir dir;
    mkdir(dir.file("maps").c_str(), 0755);
    const RGBA wood{200, 120, 40, 255}, stone{90, 90, 160, 255};
    dir.write("wood.tga", tga(wood));
    dir.write("maps/stone.bmp", bmp(stone));

    // An upper-case DOS name finds the lower-case file.
    RGBA c = drawn(dir.write("a.3ds", quadModel("WOOD.TGA")));
    EXPECT_TRUE(near(c, wood, 3)) << describe(c);
    // A relative folder with backslashes.
    c = drawn(dir.write("b.3ds", quadModel("MAPS\\STONE.BMP")));
    EXPECT_TRUE(near(c, stone, 3)) << describe(c);
    // A folder of another machine: the name is looked for under the model's folder.
    c = drawn(dir.write("c.3ds", quadModel("C:\\art\\maps\\Stone.bmp")));
    EXPECT_TRUE(near(c, stone, 3)) << describe(c);
    // Missing, short or unknown names draw the quad untextured.
    for (const char* name : {"missing.tga", "ab", "wood.png"}) {
        c = drawn(dir.write("d.3ds", quadModel(name)));
        EXPECT_TRUE(near(c, {255, 255, 255, 255}, 1)) << name << " " << describe(c);
    }
}

TEST_F(ModelTextureTest, JpegTexturesGoThroughTheJpegLoader) {
    REQUIRE_TOOL("convert");
    TempDir dir;
    int rc = 0;
    std::string out = modeltest::runCommand("convert -size 8x8 xc:'rgb(40,160,220)' '" + dir.file("sky.jpg") + "'", &rc);
    ASSERT_EQ(rc, 0) << out;
    RGBA c = drawn(dir.write("sky.3ds", quadModel("SKY.JPG")));
    EXPECT_TRUE(near(c, {40, 160, 220, 255}, 4)) << describe(c);
}

// A model already in the scene keeps drawing with its texture when its file
// is saved again and read anew for a later object: the lists compiled from the
// old reading still bind the old textures, which must live on.
TEST_F(ModelTextureTest, ReadingAChangedFileAgainKeepsTheTexturesOfEarlierLists) {
    TempDir dir;
    const RGBA wood{200, 120, 40, 255};
    dir.write("wood.tga", tga(wood));
    const std::string path = dir.write("chair.3ds", quadModel("wood.tga"));
    const GLuint first = getModel(path);
    ASSERT_NE(first, 0u);
    // Saved again from a modeller: another size, another time.
    std::vector<uint8_t> again = quadModel("wood.tga");
    again.push_back(0);
    dir.write("chair.3ds", again);
    struct utimbuf t = {1000000000, 1000000000};
    utime(path.c_str(), &t);
    const unsigned parses = sgModelTable::instance().parseCount();
    const GLuint second = getModel(path);
    ASSERT_NE(second, 0u);
    EXPECT_EQ(sgModelTable::instance().parseCount(), parses + 1);
    // GL may hand the freed name of an old texture to the next one made.
    GLuint other = 0;
    glGenTextures(1, &other);
    glBindTexture(GL_TEXTURE_2D, other);
    const uint8_t green[3] = {0, 255, 0};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, green);
    for (GLuint list : {first, second}) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glColor3f(1, 1, 1);
        glCallList(list);
        const RGBA c = readFrame(width_, height_).at(width_ / 2, height_ / 2);
        EXPECT_TRUE(near(c, wood, 3)) << list << " " << describe(c);
        glDeleteLists(list, 1);
    }
    glDeleteTextures(1, &other);
}
