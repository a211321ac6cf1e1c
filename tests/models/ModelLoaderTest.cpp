#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <sys/stat.h>
#include <utime.h>

#include "assets/Model3DS.h"
#include "assets/ModelLoader.h"
#include "assets/ObjModel.h"
#include "assets/sgModelTable.h"
#include "sg/sgRuntime.h"
#include "tests/models/ModelTestSupport.h"
#include "tests/support/ImageCheck.h"
#include "tests/support/OffscreenGL.h"
#include "tests/support/TextCapture.h"
#include "tools/ModelGen.h"

using modeltest::captureList;
using modeltest::distinctVertices;
using modeltest::TempDir;

namespace {

class ModelLoaderTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        // Each test has a fresh context: textures of an earlier one are gone.
        sgModelTable::instance().clear(false);
        diag_ = std::make_unique<DiagnosticLog>();
    }
    void TearDown() override {
        diag_.reset();
        sgModelTable::instance().clear(true);
        GLTest::TearDown();
    }
    std::string diagnostics() { return diag_->take(); }
    static std::vector<uint8_t> cubeFile(const std::string& texture = "") {
        modelgen::Scene s;
        modelgen::Material m;
        m.name = "m";
        m.texture = texture;
        s.materials = {m};
        auto cube = modelgen::box(2, texture.empty());
        cube.assign("m");
        s.meshes = {cube};
        return modelgen::write3DS(s);
    }
    std::unique_ptr<DiagnosticLog> diag_;
};

std::string readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

}  // namespace

TEST_F(ModelLoaderTest, ExtensionIsTheFirstThreeCharactersAfterTheLastDot) {
    std::string ext;
    EXPECT_EQ(getExtension("dir.v2/chart.part.3ds", ext), 1);
    EXPECT_EQ(ext, "3ds");
    EXPECT_EQ(getExtension("box.objx", ext), 1);
    EXPECT_EQ(ext, "obj");
    EXPECT_EQ(getExtension("a.b", ext), 1);
    EXPECT_EQ(ext, "b");
    EXPECT_EQ(diagnostics(), "");
    EXPECT_EQ(getExtension("noext", ext), 0);
    EXPECT_EQ(diagnostics(), "TORVIS: [getExtension]  No extension found for noext.\n\n");
}

TEST_F(ModelLoaderTest, DispatchIsCaseSensitiveOnTheExtension) {
    TempDir dir;
    std::vector<uint8_t> cube = cubeFile();
    std::string obj = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    GLuint a = getModel(dir.write("chart.part.3ds", cube));
    GLuint b = getModel(dir.write("upper.3DS", cube));
    GLuint c = getModel(dir.write("box.objx", obj));
    GLuint d = getModel(dir.write("BOX.OBJ", obj));
    EXPECT_NE(a, 0u);
    EXPECT_NE(b, 0u);
    EXPECT_NE(c, 0u);
    EXPECT_NE(d, 0u);
    EXPECT_EQ(captureList(c, 2).size(), 1u);
    EXPECT_EQ(captureList(a, 2).size(), 12u);
    EXPECT_EQ(diagnostics(), "");

    unsigned parses = sgModelTable::instance().parseCount();
    std::string mixed = dir.write("model.3Ds", cube);
    EXPECT_EQ(getModel(mixed), 0u);
    EXPECT_EQ(diagnostics(), "TORVIS: [getModel]  " + mixed + "\n\n");
    EXPECT_EQ(getModel(dir.file("noext")), 0u);
    EXPECT_EQ(diagnostics(), "TORVIS: [getExtension]  No extension found for " + dir.file("noext") +
                                 ".\n\nTORVIS: [getModel]  File extension not found\n\n");
    EXPECT_EQ(sgModelTable::instance().parseCount(), parses);  // no reader ran
    for (GLuint l : {a, b, c, d}) glDeleteLists(l, 1);
}

TEST_F(ModelLoaderTest, TableParsesOnceAndEveryCallerOwnsItsList) {
    TempDir dir;
    std::string path = dir.write("part.3ds", cubeFile());
    unsigned parses = sgModelTable::instance().parseCount();
    std::vector<GLuint> lists;
    for (int i = 0; i < 100; ++i) lists.push_back(getModel(path));
    EXPECT_EQ(sgModelTable::instance().parseCount(), parses + 1);
    std::sort(lists.begin(), lists.end());
    EXPECT_EQ(std::unique(lists.begin(), lists.end()), lists.end());  // all different
    EXPECT_NE(lists.front(), 0u);
    // Deleting one caller's list leaves the others drawing.
    glDeleteLists(lists[0], 1);
    EXPECT_EQ(captureList(lists[1], 2).size(), 12u);
    for (size_t i = 1; i < lists.size(); ++i) glDeleteLists(lists[i], 1);

    // The same file under a stored DOS name is the same entry.
    std::string dos = dir.path() + "/PART.3DS";
    GLuint again = getModel(dos);
    EXPECT_NE(again, 0u);
    EXPECT_EQ(sgModelTable::instance().parseCount(), parses + 1);
    glDeleteLists(again, 1);

    // A file changed on disk is read again.
    modelgen::Scene s;
    auto tri = modelgen::box(2, false);
    s.meshes = {tri};  // no material: the two-sided default, 24 triangles
    dir.write("part.3ds", modelgen::write3DS(s));
    struct utimbuf t = {1000000000, 1000000000};
    utime(path.c_str(), &t);
    GLuint changed = getModel(path);
    EXPECT_EQ(sgModelTable::instance().parseCount(), parses + 2);
    EXPECT_EQ(captureList(changed, 2).size(), 24u);
    glDeleteLists(changed, 1);

    // Files that cannot be read are not kept.
    EXPECT_EQ(getModel(dir.file("none.obj")), 0u);
    EXPECT_EQ(getModel(dir.file("none.obj")), 0u);
    EXPECT_EQ(sgModelTable::instance().parseCount(), parses + 4);
}

TEST_F(ModelLoaderTest, ObjModeEighteenDrawsOnlyWhatTheFileHas) {
    TempDir dir;
    GLfloat probe[4] = {0.3f, 0.6f, 0.9f, 1.0f};
    GLfloat got[4];
    // No normals and no material library: the current material stays, and the
    // triangle is drawn with its own normal, whatever GL held before.
    GLuint plain = getModel(dir.write("plain.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"));
    glNormal3f(0.0f, 0.6f, 0.8f);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, probe);
    glCallList(plain);
    glGetFloatv(GL_CURRENT_NORMAL, got);
    EXPECT_FLOAT_EQ(got[0], 0.0f);
    EXPECT_FLOAT_EQ(got[1], 0.0f);
    EXPECT_FLOAT_EQ(got[2], 1.0f);
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, got);
    EXPECT_FLOAT_EQ(got[2], 0.9f);

    // With both: normals per corner and the materials of the groups, the
    // "default" group drawn last.
    dir.write("m.mtl", "newmtl red\nKd 1 0 0\nKa 0 0 0\nNs 500\n");
    GLuint full = getModel(dir.write("full.obj",
                                     "mtllib m.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvn 1 0 0\nvn 0 1 0\nvn 0 0 1\n"
                                     "usemtl red\nf 1//1 2//2 3//3\ng other\nusemtl red\nf 1//3 2//3 3//3\n"));
    glEnable(GL_COLOR_MATERIAL);
    glCallList(full);
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, got);
    EXPECT_FLOAT_EQ(got[0], 1.0f);
    EXPECT_FLOAT_EQ(got[1], 0.0f);
    glGetMaterialfv(GL_BACK, GL_SHININESS, got);
    EXPECT_FLOAT_EQ(got[0], 64.0f);
    auto tris = captureList(full, 2);
    ASSERT_EQ(tris.size(), 2u);
    // "other" was created last, so it is drawn first.
    EXPECT_FLOAT_EQ(tris[0].v[0].normal[2], 1.0f);
    EXPECT_FLOAT_EQ(tris[1].v[0].normal[0], 1.0f);
    EXPECT_FLOAT_EQ(tris[1].v[1].normal[1], 1.0f);
    glDeleteLists(plain, 1);
    glDeleteLists(full, 1);
}

TEST_F(ModelLoaderTest, ThreeDsListSetsItsMaterialsAndTheDefaultSetsNone) {
    TempDir dir;
    modelgen::Scene s;
    modelgen::Material m;
    m.name = "orange";
    m.byteColours = true;
    m.diffuse[0] = 255 / 256.0f;
    m.diffuse[1] = 128 / 256.0f;
    m.diffuse[2] = 0.0f;
    m.transparency = 40;
    s.materials = {m};
    auto cube = modelgen::box(2, false);
    cube.assign("orange");
    s.meshes = {cube};
    GLuint list = getModel(dir.write("orange.3ds", modelgen::write3DS(s)));
    ASSERT_NE(list, 0u);
    glCallList(list);
    GLfloat got[4];
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, got);
    EXPECT_FLOAT_EQ(got[0], 0.99609375f);
    EXPECT_FLOAT_EQ(got[1], 0.5f);
    EXPECT_FLOAT_EQ(got[2], 0.0f);
    EXPECT_FLOAT_EQ(got[3], 0.4f);
    glGetMaterialfv(GL_FRONT, GL_SHININESS, got);
    EXPECT_FLOAT_EQ(got[0], 100.0f);

    s.materials.clear();
    s.meshes[0].groups.clear();
    GLuint plain = getModel(dir.write("plain.3ds", modelgen::write3DS(s)));
    GLfloat probe[4] = {0.1f, 0.2f, 0.3f, 1.0f};
    glMaterialfv(GL_FRONT, GL_DIFFUSE, probe);
    glCallList(plain);
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, got);
    EXPECT_FLOAT_EQ(got[1], 0.2f);
    // The default is two-sided: both windings are drawn.
    EXPECT_EQ(captureList(plain, 2).size(), 24u);
    glDeleteLists(list, 1);
    glDeleteLists(plain, 1);
}

TEST_F(ModelLoaderTest, CubeCreaseAsDrawn) {
    TempDir dir;
    std::string path = dir.write("cube.3ds", cubeFile());
    GLuint sharp = getModel(path);  // crease 45
    auto tris = captureList(sharp, 2);
    ASSERT_EQ(tris.size(), 12u);
    EXPECT_EQ(distinctVertices(tris, 2), 24u);
    for (const auto& t : tris) {
        float fn[3];
        modeltest::faceNormal(t, fn);
        for (const auto& v : t.v)
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(v.normal[k], fn[k], 1e-4f);
    }
    set3DSOptions(path, 0, 0, 0);
    GLuint smooth = load3DS(path);
    tris = captureList(smooth, 2);
    ASSERT_EQ(tris.size(), 12u);
    EXPECT_EQ(distinctVertices(tris, 2), 8u);
    for (const auto& t : tris)
        for (const auto& v : t.v)
            for (int k = 0; k < 3; ++k) EXPECT_GT(v.normal[k] * v.pos[k], 0.0f);  // into the corner's octant
    set3DSOptions(path, 45, 0, 0);
    glDeleteLists(sharp, 1);
    glDeleteLists(smooth, 1);
}

TEST_F(ModelLoaderTest, ChartPartModelsAreTheGeneratorsAndHaveTheirSizes) {
    const char* src = std::getenv("KELVANO_SOURCE_DIR");
    ASSERT_NE(src, nullptr);
    std::string dir = std::string(src) + "/data/ChartSlices/";
    std::vector<uint8_t> cyl = modelgen::write3DS(modelgen::chartCylinder());
    std::vector<uint8_t> sph = modelgen::write3DS(modelgen::chartSphere());
    const char* regen = "differs from the generator; regenerate: cmake --build BUILD --target chartslice-models";
    EXPECT_TRUE(readFile(dir + "cyl10x.3ds") == std::string(cyl.begin(), cyl.end())) << "cyl10x.3ds " << regen;
    EXPECT_TRUE(readFile(dir + "sphere10x.3ds") == std::string(sph.begin(), sph.end())) << "sphere10x.3ds " << regen;

    // The models name no material: the default one is two-sided, so every
    // face comes twice, the second copy wound the other way with its normals
    // turned inwards. Each copy's normals agree with its winding.
    auto facingOut = [](const auto& t, float cx, float cy, float cz) {
        const float* a = t.v[0].pos;
        const float* b = t.v[1].pos;
        const float* c = t.v[2].pos;
        const float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]}, w[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        const float n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
        const float m[3] = {(a[0] + b[0] + c[0]) / 3 - cx, (a[1] + b[1] + c[1]) / 3 - cy, (a[2] + b[2] + c[2]) / 3 - cz};
        return n[0] * m[0] + n[1] * m[1] + n[2] * m[2] > 0;
    };

    // The bar and segment: diameter 10 across x and z, one unit along +y from 0.
    GLuint c = getModel(dir + "cyl10x.3ds");
    ASSERT_NE(c, 0u);
    auto tris = captureList(c, 6);
    EXPECT_EQ(tris.size(), 2 * 128u);
    float lo[3] = {1e9f, 1e9f, 1e9f}, hi[3] = {-1e9f, -1e9f, -1e9f};
    for (const auto& t : tris)
        for (const auto& v : t.v)
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], v.pos[k]);
                hi[k] = std::max(hi[k], v.pos[k]);
            }
    EXPECT_NEAR(lo[0], -5, 1e-3);
    EXPECT_NEAR(hi[0], 5, 1e-3);
    EXPECT_NEAR(lo[1], 0, 1e-3);
    EXPECT_NEAR(hi[1], 1, 1e-3);
    EXPECT_NEAR(lo[2], -5, 1e-3);
    EXPECT_NEAR(hi[2], 5, 1e-3);
    // The sides are smooth (radial but at the texture seam, half a side
    // off), the caps flat.
    size_t outside = 0;
    for (const auto& t : tris) {
        const bool out = facingOut(t, 0, 0.5f, 0);
        outside += out;
        for (const auto& v : t.v) {
            bool cap = std::fabs(v.normal[1]) > 0.5f;
            if (cap) {
                EXPECT_NEAR(std::fabs(v.normal[1]), 1.0f, 1e-4f);
                EXPECT_EQ(v.normal[1] * (v.pos[1] - 0.5f) > 0, out);
            } else {
                float r = std::hypot(v.pos[0], v.pos[2]);
                EXPECT_NEAR(v.normal[1], 0.0f, 1e-4f);
                EXPECT_GT((v.normal[0] * v.pos[0] + v.normal[2] * v.pos[2]) / r * (out ? 1 : -1), 0.99f);
            }
        }
    }
    EXPECT_EQ(outside, 128u);

    // The joint: a sphere of diameter 10 about the origin, smooth all over.
    GLuint s = getModel(dir + "sphere10x.3ds");
    ASSERT_NE(s, 0u);
    tris = captureList(s, 6);
    EXPECT_EQ(tris.size(), 2 * 960u);
    outside = 0;
    for (const auto& t : tris) {
        const bool out = facingOut(t, 0, 0, 0);
        outside += out;
        for (const auto& v : t.v) {
            float r = std::sqrt(v.pos[0] * v.pos[0] + v.pos[1] * v.pos[1] + v.pos[2] * v.pos[2]);
            EXPECT_NEAR(r, 5.0f, 1e-3f);
            float d = (v.normal[0] * v.pos[0] + v.normal[1] * v.pos[1] + v.normal[2] * v.pos[2]) / r;
            EXPECT_GT(d * (out ? 1 : -1), 0.99f);
        }
    }
    EXPECT_EQ(outside, 960u);
    glDeleteLists(c, 1);
    glDeleteLists(s, 1);
}

TEST_F(ModelLoaderTest, ObjWithoutItsLibraryDrawsInTheDefaultMaterial) {
    TempDir dir;
    // A unit cube whose faces name a material of a library that is not there.
    std::string obj = "mtllib absent.mtl\nusemtl paint\n";
    for (int x : {-1, 1})
        for (int y : {-1, 1})
            for (int z : {-1, 1}) obj += "v " + std::to_string(x * 0.5) + " " + std::to_string(y * 0.5) + " " +
                                         std::to_string(z * 0.5) + "\n";
    obj += "vn -1 0 0\nvn 1 0 0\nvn 0 -1 0\nvn 0 1 0\nvn 0 0 -1\nvn 0 0 1\n";
    obj += "f 1//1 2//1 4//1 3//1\nf 5//2 7//2 8//2 6//2\nf 1//3 5//3 6//3 2//3\n"
           "f 3//4 4//4 8//4 7//4\nf 1//5 3//5 7//5 5//5\nf 2//6 6//6 8//6 4//6\n";
    testing::internal::CaptureStderr();
    GLuint list = getModel(dir.write("cube.obj", obj));
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_NE(list, 0u);
    EXPECT_NE(said.find("absent.mtl"), std::string::npos) << said;

    glViewport(0, 0, width_, height_);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -1.5, 1.5, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat black[4] = {0, 0, 0, 1}, white[4] = {1, 1, 1, 1}, front[4] = {0, 0, 1, 0};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
    glLightfv(GL_LIGHT0, GL_AMBIENT, black);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, black);
    glLightfv(GL_LIGHT0, GL_POSITION, front);
    // A red current material: the list must replace it with the default.
    const GLfloat red[4] = {1, 0, 0, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, red);
    glCallList(list);
    glFinish();
    Frame f = readFrame(width_, height_);
    // Diffuse 0.8 of a white light straight onto the front face.
    EXPECT_TRUE(near(f.at(width_ / 2, height_ / 2), RGBA{204, 204, 204, 255}, 2)) << describe(f.at(width_ / 2, height_ / 2));
    EXPECT_TRUE(near(f.at(10, 10), RGBA{0, 0, 0, 255}, 1)) << describe(f.at(10, 10));
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDeleteLists(list, 1);
}
