// What our compiled lists draw, counted with GL feedback, against what
// assimp reports for the same files. assimp's info command joins identical
// vertices (position, normal, texture coordinate and tangent), so fixtures
// avoid curved textured surfaces, where tangents alone would split vertices.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "assets/Model3DS.h"
#include "assets/ModelLoader.h"
#include "assets/ObjModel.h"
#include "assets/sgModelTable.h"
#include "tests/models/ModelTestSupport.h"
#include "tests/support/OffscreenGL.h"
#include "tools/ModelGen.h"
#include "tests/support/ToolCheck.h"

using modeltest::TempDir;

namespace {

class AssimpOracleTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        sgModelTable::instance().clear(false);
        REQUIRE_TOOL("assimp");
    }
    void TearDown() override {
        sgModelTable::instance().clear(true);
        GLTest::TearDown();
    }

    // OBJ: drawn with vertex normals, texture coordinates and materials, so
    // that every attribute of the file shows. 3DS: crease < 0 goes through
    // getModel, else load3DS with that crease. sides: 2 for a model whose
    // faces name no material (the default material is two-sided, so each
    // face is drawn both ways, each way with its own normals).
    // normals: false for an OBJ without them, whose corners take the normals
    // the reader makes (by its own crease rule, not the oracle's).
    void expectSameCounts(const std::string& path, float extent, float crease = -1, int sides = 1,
                          bool normals = true) {
        SCOPED_TRACE(path);
        modeltest::AssimpCounts want;
        ASSERT_TRUE(modeltest::assimpInfo(path, want)) << modeltest::runCommand("assimp info '" + path + "'");
        GLuint list;
        if (path.size() > 4 && path.compare(path.size() - 4, 4, ".obj") == 0) {
            auto model = glmReadOBJ(path);
            ASSERT_TRUE(model);
            list = glmCompileList(model.get(), OBJ_VERTEX_NORMALS | OBJ_TEXCOORDS | OBJ_MATERIALS);
            glmFree(std::move(model));
        } else if (crease < 0) {
            list = getModel(path);
        } else {
            set3DSOptions(path, crease, 0, 0);
            list = load3DS(path);
            set3DSOptions(path, 45, 0, 0);
        }
        ASSERT_NE(list, 0u);
        auto tris = modeltest::captureList(list, extent);
        EXPECT_EQ(static_cast<long>(tris.size()), want.faces * sides);
        EXPECT_EQ(static_cast<long>(modeltest::distinctVertices(tris, extent, normals)), want.vertices * sides);
        glDeleteLists(list, 1);
    }

    std::string assimpExport(const std::string& from, const std::string& to) {
        int rc = 0;
        std::string out = modeltest::runCommand("assimp export '" + from + "' '" + to + "'", &rc);
        EXPECT_EQ(rc, 0) << out;
        return to;
    }

    static modelgen::Material material(const char* name, float r, float g, float b) {
        modelgen::Material m;
        m.name = name;
        m.diffuse[0] = r;
        m.diffuse[1] = g;
        m.diffuse[2] = b;
        return m;
    }

    // A ball and a crate apart from each other, each with its own material.
    static modelgen::Scene ballAndCrate() {
        modelgen::Scene s;
        s.materials = {material("red", 1, 0, 0), material("wood", 0.6f, 0.4f, 0.2f)};
        auto ball = modelgen::sphere(1, 16, 8, false);
        ball.name = "ball";
        ball.translate(-3, 0, 0);
        ball.assign("red");
        auto crate = modelgen::box(2, false);
        crate.name = "crate";
        crate.translate(3, 0, 0);
        crate.assign("wood");
        s.meshes = {ball, crate};
        return s;
    }
};

}  // namespace

TEST_F(AssimpOracleTest, ObjFilesWithAndWithoutNormalsTexcoordsGroupsAndMaterials) {
    TempDir dir;
    modelgen::Scene one;
    auto cube = modelgen::box(2, true);
    one.meshes = {cube};
    modelgen::ObjOptions bare;
    bare.normals = bare.texcoords = bare.groups = false;
    expectSameCounts(dir.write("cube-bare.obj", modelgen::writeOBJ(one, bare)), 2, -1, 1, false);

    modelgen::Scene faces;
    faces.meshes = {modelgen::box(2, false)};
    modelgen::ObjOptions normalsOnly;
    normalsOnly.texcoords = false;
    expectSameCounts(dir.write("cube-normals.obj", modelgen::writeOBJ(faces, normalsOnly)), 2);
    // Texture coordinates without normals: a gently rippled sheet (on a cube
    // assimp's tangents would keep apart corners that are otherwise equal).
    modelgen::ObjOptions texOnly;
    texOnly.normals = false;
    modelgen::Scene sheet;
    sheet.meshes = {modelgen::grid(10, 10, 0.3f)};
    sheet.meshes[0].translate(-1.5f, 0, 1.5f);
    expectSameCounts(dir.write("sheet-tex.obj", modelgen::writeOBJ(sheet, texOnly)), 3);

    modelgen::Scene mixed = ballAndCrate();
    dir.write("mixed.mtl", modelgen::writeMTL(mixed));
    modelgen::ObjOptions all;
    all.mtllib = "mixed.mtl";
    expectSameCounts(dir.write("mixed.obj", modelgen::writeOBJ(mixed, all)), 5);

    // Quads and a pentagon, triangulated by both.
    expectSameCounts(dir.write("quads.obj",
                               "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\nv -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
                               "v 0 2 0\n"
                               "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 4 1 5 8\nf 3 4 9\nf 4 8 9\nf 8 7 9\n"
                               "f 7 3 9\n"),
                     3, -1, 1, false);
}

TEST_F(AssimpOracleTest, ThreeDsFilesFromOurGeneratorAndFromAssimp) {
    TempDir dir;
    const char* src = std::getenv("KELVANO_SOURCE_DIR");
    ASSERT_NE(src, nullptr);
    expectSameCounts(std::string(src) + "/data/ChartSlices/cyl10x.3ds", 6, -1, 2);

    modelgen::Scene ball;
    ball.materials = {material("red", 1, 0, 0)};
    ball.meshes = {modelgen::sphere(5, 24, 12, false)};
    ball.meshes[0].assign("red");
    expectSameCounts(dir.write("ball.3ds", modelgen::write3DS(ball)), 6);

    modelgen::Scene crate;
    crate.materials = {material("wood", 0.6f, 0.4f, 0.2f)};
    crate.meshes = {modelgen::box(2, false)};
    crate.meshes[0].assign("wood");
    expectSameCounts(dir.write("crate.3ds", modelgen::write3DS(crate)), 2);

    // Written by assimp: a cube of shared corners (assimp smooths every corner,
    // as our reader does at crease 0) and the ball-and-crate scene.
    modelgen::Scene one;
    one.meshes = {modelgen::box(2, true)};
    modelgen::ObjOptions bare;
    bare.normals = bare.texcoords = bare.groups = false;
    std::string cube = assimpExport(dir.write("cube.obj", modelgen::writeOBJ(one, bare)), dir.file("cube-assimp.3ds"));
    expectSameCounts(cube, 2, 0);

    modelgen::Scene mixed = ballAndCrate();
    dir.write("mixed.mtl", modelgen::writeMTL(mixed));
    modelgen::ObjOptions all;
    all.mtllib = "mixed.mtl";
    std::string scene =
        assimpExport(dir.write("mixed.obj", modelgen::writeOBJ(mixed, all)), dir.file("mixed-assimp.3ds"));
    expectSameCounts(scene, 5);
}
