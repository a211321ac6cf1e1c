#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

#include "tests/support/ToolCheck.h"
#include "assets/ObjModel.h"
#include "tests/models/ModelTestSupport.h"

using modeltest::TempDir;

namespace {

std::unique_ptr<sgObjModel> readText(const TempDir& dir, const std::string& text, const std::string& name = "m.obj") {
    return glmReadOBJ(dir.write(name, text));
}

// Triangle t as "a b c" of vertex indices.
std::string verts(const sgObjModel& m, GLuint t) {
    const sgObjTriangle& tri = m.triangles.at(t);
    return std::to_string(tri.vindices[0]) + " " + std::to_string(tri.vindices[1]) + " " +
           std::to_string(tri.vindices[2]);
}

const char* kSquare =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 2 2 0\n"
    "vn 0 0 1\nvn 0 0 -1\nvt 0 0\nvt 1 0\nvt 1 1\n";

}  // namespace

TEST(ObjReader, PolygonsBecomeFansAroundTheFirstCorner) {
    TempDir dir;
    auto m = readText(dir, std::string(kSquare) + "f 1 2 3 4\nf 1 2 3 4 5\nf 1 2\nf 3\n");
    ASSERT_TRUE(m);
    ASSERT_EQ(m->numtriangles(), 5u);  // faces of 1 or 2 corners add nothing
    EXPECT_EQ(verts(*m, 0), "1 2 3");
    EXPECT_EQ(verts(*m, 1), "1 3 4");
    EXPECT_EQ(verts(*m, 2), "1 2 3");
    EXPECT_EQ(verts(*m, 3), "1 3 4");
    EXPECT_EQ(verts(*m, 4), "1 4 5");
    EXPECT_EQ(m->numvertices, 5u);
    EXPECT_FLOAT_EQ(m->vertices[3 * 5 + 0], 2.0f);
}

TEST(ObjReader, CornerFormsTakeOnlyTheirIndices) {
    TempDir dir;
    auto m = readText(dir, std::string(kSquare) +
                               "f 1//1 2//2 3//1\n"   // vertex and normal
                               "f 1/1 2/2 3/3\n"      // vertex and texture
                               "f 1/3/2 2/2/1 3/1/2\n"  // all three
                               "f 1 2/2 3//1\n");       // the first corner decides: vertex only
    ASSERT_TRUE(m);
    ASSERT_EQ(m->numtriangles(), 4u);
    const auto& t = m->triangles;
    EXPECT_EQ(t[0].nindices[1], 2u);
    EXPECT_EQ(t[0].tindices[0], 0u);
    EXPECT_EQ(t[1].tindices[2], 3u);
    EXPECT_EQ(t[1].nindices[2], 0u);
    EXPECT_EQ(t[2].tindices[0], 3u);
    EXPECT_EQ(t[2].nindices[0], 2u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(t[3].tindices[k], 0u);
        EXPECT_EQ(t[3].nindices[k], 0u);
    }
}

TEST(ObjReader, IndicesAreResolvedCheckedAndMissingOnesSkipped) {
    TempDir dir;
    auto m = readText(dir,
                      "v 0 0 0\nv 1 0 0\nv 1 1 0\nvn 0 0 1\n"
                      "f -3 -2 -1\n"          // relative to the three read so far
                      "v 5 5 5\n"
                      "f -4 -3 -1\n"          // now -1 is vertex 4
                      "f 1 2 9\n"             // out of range: dropped
                      "f 1 2 0\n"             // 0 designates nothing: dropped
                      "f 1 2 -9\n"            // before the first vertex: dropped
                      "f 1//1 2//7 3//1\n"    // normal out of range: dropped
                      "f 1//1 2//1 3\n"       // normal missing at one corner: skipped
                      "f 1 2 3 99 4\n"        // a bad corner drops only the triangles using it
                      "f 1 2 99999999999999999999\n");
    ASSERT_TRUE(m);
    ASSERT_EQ(m->numtriangles(), 4u);
    EXPECT_EQ(verts(*m, 0), "1 2 3");
    EXPECT_EQ(verts(*m, 1), "1 2 4");
    EXPECT_EQ(m->triangles[2].nindices[0], 1u);
    EXPECT_EQ(m->triangles[2].nindices[2], 0u);
    EXPECT_EQ(verts(*m, 3), "1 2 3");
}

TEST(ObjReader, GroupsContinueAndDrawFromTheLastCreated) {
    TempDir dir;
    auto m = readText(dir, std::string(kSquare) +
                               "f 1 2 3\n"
                               "g a\nf 1 2 4\n"
                               "g b\nf 2 3 4\n"
                               "g a\nf 1 3 4\n"
                               "g\nf 3 4 5\n");  // a bare "g" goes back to "default"
    ASSERT_TRUE(m);
    ASSERT_EQ(m->groups.size(), 3u);
    EXPECT_EQ(m->groups[0]->name, "default");
    EXPECT_EQ(m->groups[1]->name, "a");
    EXPECT_EQ(m->groups[2]->name, "b");
    EXPECT_EQ(m->groups[0]->triangles, (std::vector<GLuint>{0, 4}));
    EXPECT_EQ(m->groups[1]->triangles, (std::vector<GLuint>{1, 3}));
    EXPECT_EQ(m->groups[2]->triangles, (std::vector<GLuint>{2}));
}

TEST(ObjReader, MaterialLibraryValuesAndShininess) {
    TempDir dir;
    dir.write("mats.mtl",
              "# colours\n"
              "newmtl red\nKa 0.1 0.2 0.3\nKd 1 0 0\nKs 0.5 0.5 0.5\nNs 500\nKe 9 9 9\n"
              "newmtl shiny\nNs 5000\n"
              "newmtl dull\nNs -20\n"
              "newmtl glass\nNs 250\nNi 1000\n");
    auto m = readText(dir, std::string(kSquare) +
                               "mtllib mats.mtl\n"
                               "g one\nusemtl red\nf 1 2 3\n"
                               "g two\nusemtl nosuch\nf 1 3 4\n"
                               "g three\nusemtl glass\nf 2 3 4\n");
    ASSERT_TRUE(m);
    ASSERT_EQ(m->nummaterials(), 5u);
    const auto& mt = m->materials;
    EXPECT_EQ(mt[0].name, "default");
    EXPECT_FLOAT_EQ(mt[0].diffuse[0], 0.8f);
    EXPECT_FLOAT_EQ(mt[0].ambient[3], 1.0f);
    EXPECT_EQ(mt[1].name, "red");
    EXPECT_FLOAT_EQ(mt[1].ambient[2], 0.3f);
    EXPECT_FLOAT_EQ(mt[1].diffuse[0], 1.0f);
    EXPECT_FLOAT_EQ(mt[1].diffuse[1], 0.0f);
    EXPECT_FLOAT_EQ(mt[1].specular[0], 0.5f);
    EXPECT_FLOAT_EQ(mt[1].shininess, 64.0f);   // Ns 500 -> 64
    EXPECT_FLOAT_EQ(mt[2].shininess, 128.0f);  // clamped
    EXPECT_FLOAT_EQ(mt[3].shininess, 0.0f);    // clamped
    EXPECT_FLOAT_EQ(mt[4].shininess, 128.0f);  // Ni counts as shininess and comes last
    EXPECT_EQ(m->groups[1]->material, 1u);
    EXPECT_EQ(m->groups[2]->material, 0u);  // unknown name: material 0
    EXPECT_EQ(m->groups[3]->material, 4u);
}

TEST(ObjReader, LibraryNamesFromOtherSystemsResolve) {
    TempDir dir;
    mkdir(dir.file("Mats").c_str(), 0755);
    dir.write("Mats/wood.mtl", "newmtl oak\nKd 0.5 0.25 0\n");
    auto m = readText(dir, std::string(kSquare) + "mtllib MATS\\WOOD.MTL\nusemtl oak\nf 1 2 3\n");
    ASSERT_TRUE(m);
    ASSERT_EQ(m->nummaterials(), 2u);
    EXPECT_FLOAT_EQ(m->materials[1].diffuse[1], 0.25f);
}

TEST(ObjReader, OverlongLinesAreSkippedWhole) {
    TempDir dir;
    std::string longName(300, 'n');
    // Before the mend the tail of a long comment was read as tokens: here
    // it would begin with 'v' and end the program.
    std::string comment = "#" + std::string(127, ' ') + "vx tail of a long comment\n";
    auto m = readText(dir, std::string(kSquare) + comment + "g kept\nf 1 2 3\n" + "g " + longName + "\nf 1 3 4\n" +
                               "usemtl " + longName + "\n");
    ASSERT_TRUE(m);
    ASSERT_EQ(m->groups.size(), 2u);
    EXPECT_EQ(m->groups[1]->name, "kept");
    EXPECT_EQ(m->groups[1]->triangles.size(), 2u);  // the long "g" line did not switch groups
}

TEST(ObjReader, FailuresPrintTheirMessages) {
    TempDir dir;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(glmReadOBJ(dir.file("none.obj")));
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "glmReadOBJ() failed: can't open data file \"" + dir.file("none.obj") + "\".\n");

    testing::internal::CaptureStdout();
    EXPECT_FALSE(readText(dir, "v 0 0 0\nvp 1 2\n"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "_glmFirstPass(): Unknown token \"vp\".\n");
}

TEST(ObjReader, MissingLibrariesAndMaterialsLeaveTheDefaultAndAreSaidOnce) {
    TempDir dir;
    // The library is missing: the geometry loads in the default material and
    // the library is reported once, however often it is named.
    testing::internal::CaptureStderr();
    auto m = readText(dir, std::string(kSquare) + "mtllib missing.mtl\nusemtl red\nf 1 2 3\n"
                                                  "mtllib other.mtl\nmtllib missing.mtl\ng b\nusemtl red\nf 1 3 4\n");
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(m);
    EXPECT_EQ(said, "_glmReadMTL() failed: can't open material file \"" + dir.file("missing.mtl") + "\".\n" +
                        "_glmReadMTL() failed: can't open material file \"" + dir.file("other.mtl") + "\".\n");
    ASSERT_EQ(m->nummaterials(), 1u);
    EXPECT_EQ(m->materials[0].name, "default");
    EXPECT_FLOAT_EQ(m->materials[0].diffuse[0], 0.8f);
    EXPECT_EQ(m->numtriangles(), 2u);
    for (const auto& g : m->groups) EXPECT_EQ(g->material, 0u) << g->name;

    // A folder is no library either.
    mkdir(dir.file("lib.mtl").c_str(), 0755);
    testing::internal::CaptureStderr();
    m = readText(dir, std::string(kSquare) + "mtllib lib.mtl\nf 1 2 3\n");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("lib.mtl"), std::string::npos);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->nummaterials(), 1u);

    // The library lacks a material: its faces take the default, said once.
    dir.write("mats.mtl", "newmtl red\nKd 1 0 0\n");
    testing::internal::CaptureStderr();
    m = readText(dir, std::string(kSquare) + "mtllib mats.mtl\nusemtl blue\nf 1 2 3\nusemtl red\nf 1 3 4\n"
                                             "g x\nusemtl blue\nf 2 3 4\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "_glmReadOBJ(): material \"blue\" not found in \"mats.mtl\"; the default is used.\n");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->groups[0]->material, 1u);  // red, the last one named in "default"
    EXPECT_EQ(m->groups[1]->material, 0u);
}

TEST(ObjReader, NumbersIgnoreTheProgramLocale) {
    TempDir dir;
    const char* old = setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    REQUIRE_GERMAN_LOCALE(LC_NUMERIC);
    auto m = readText(dir, "v 1.5 -2.25e1 +3\nf 1 1 1\n");
    setlocale(LC_NUMERIC, saved.c_str());
    ASSERT_TRUE(m);
    EXPECT_FLOAT_EQ(m->vertices[3], 1.5f);
    EXPECT_FLOAT_EQ(m->vertices[4], -22.5f);
    EXPECT_FLOAT_EQ(m->vertices[5], 3.0f);
}
