#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "tests/support/ToolCheck.h"
#include "assets/ModelFileText.h"
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
    // The file's two normals come first; a corner without one takes a normal
    // the reader makes after them.
    const GLuint fileNormals = 2;
    EXPECT_EQ(t[0].nindices[1], 2u);
    EXPECT_EQ(t[0].tindices[0], 0u);
    EXPECT_EQ(t[1].tindices[2], 3u);
    EXPECT_GT(t[1].nindices[2], fileNormals);
    EXPECT_EQ(t[2].tindices[0], 3u);
    EXPECT_EQ(t[2].nindices[0], 2u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(t[3].tindices[k], 0u);
        EXPECT_GT(t[3].nindices[k], fileNormals);
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
    EXPECT_GT(m->triangles[2].nindices[2], 1u);  // made by the reader
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
    EXPECT_FLOAT_EQ(mt[4].shininess, 32.0f);   // Ns 250; Ni is no shininess
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
    ASSERT_EQ(m->groups.size(), 3u);
    EXPECT_EQ(m->groups[0]->material, 0u);  // "default": its first face, in "blue"
    EXPECT_EQ(m->groups[1]->material, 0u);  // "x"
    EXPECT_EQ(m->groups[2]->name, "default");  // the faces after "usemtl red"
    EXPECT_EQ(m->groups[2]->material, 1u);
    EXPECT_EQ(m->groups[2]->triangles, (std::vector<GLuint>{1}));
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

namespace {

// Everything the reader fills in, compared field by field and bit for bit.
void expectSameModel(const sgObjModel& a, const sgObjModel& b, const std::string& how) {
    SCOPED_TRACE(how);
    EXPECT_EQ(a.mtllibname, b.mtllibname);
    EXPECT_EQ(a.numvertices, b.numvertices);
    EXPECT_EQ(a.numnormals, b.numnormals);
    EXPECT_EQ(a.numtexcoords, b.numtexcoords);
    auto sameFloats = [](const std::vector<GLfloat>& x, const std::vector<GLfloat>& y) {
        return x.size() == y.size() && (x.empty() || std::memcmp(x.data(), y.data(), x.size() * sizeof(GLfloat)) == 0);
    };
    EXPECT_TRUE(sameFloats(a.vertices, b.vertices));
    EXPECT_TRUE(sameFloats(a.normals, b.normals));
    EXPECT_TRUE(sameFloats(a.texcoords, b.texcoords));
    ASSERT_EQ(a.triangles.size(), b.triangles.size());
    for (size_t i = 0; i < a.triangles.size(); ++i)
        ASSERT_EQ(std::memcmp(&a.triangles[i], &b.triangles[i], sizeof(sgObjTriangle)), 0) << "triangle " << i;
    ASSERT_EQ(a.materials.size(), b.materials.size());
    for (size_t i = 0; i < a.materials.size(); ++i) EXPECT_EQ(a.materials[i].name, b.materials[i].name);
    ASSERT_EQ(a.groups.size(), b.groups.size());
    for (size_t i = 0; i < a.groups.size(); ++i) {
        EXPECT_EQ(a.groups[i]->name, b.groups[i]->name);
        EXPECT_EQ(a.groups[i]->material, b.groups[i]->material) << a.groups[i]->name;
        EXPECT_EQ(a.groups[i]->triangles, b.groups[i]->triangles) << a.groups[i]->name;
    }
}

}  // namespace

TEST(ObjReader, TheModelIsTheSameHoweverTheTextIsSplit) {
    TempDir dir;
    dir.write("mats.mtl", "newmtl red\nKd 1 0 0\nnewmtl blue\nKd 0 0 1\n");
    // Groups and materials that change between pieces, indices counted back
    // from the lines read so far, corners that drop triangles, polygons,
    // "\r\n" ends, comments, a line longer than a piece and no end on the last.
    std::string text = "mtllib mats.mtl\r\n";
    for (int i = 0; i < 40; ++i) {
        text += "v " + std::to_string(i) + ".25 -" + std::to_string(i % 7) + "e-3 1.5e2\n";
        text += i % 3 ? "vt 0.5 0.125\r\n" : "vn 0 0 1 # up\n";
        if (i % 9 == 4) text += (i % 2 ? "g part" : "g other") + std::to_string(i % 4) + "\n";
        if (i % 11 == 5) text += i % 2 ? "usemtl red\n" : "usemtl green\n";
        if (i >= 3) {
            text += "f -1 -2 -3 " + std::to_string(i) + "\n";
            text += "f 1/1/1 2/-1/1 3/1/-1 # tail\n";
            text += "f 1//1 0//1 2//1 3//1\n";  // the second corner names no vertex
            text += "\t f " + std::to_string(i + 5) + " 1 2\n";  // a vertex further on
        }
    }
    text += "f";
    for (int i = 0; i < 3000; ++i) text += " " + std::to_string(i % 40 + 1);
    text += "\n# the end\nf 1 2 3";
    const std::string path = dir.write("split.obj", text);

    auto whole = glmReadOBJ(path, sgObjReadSplit{size_t(1) << 30, 1});
    ASSERT_TRUE(whole);
    ASSERT_GT(whole->numtriangles(), 3000u);
    ASSERT_GT(whole->groups.size(), 3u);
    // (Two threads are enough to share the pieces: more only slow the
    // sanitizer builds down.)
    const sgObjReadSplit splits[] = {{1, 1}, {7, 1}, {64, 1}, {1000, 1}, {0, 0}, {300, 2}};
    for (const sgObjReadSplit& s : splits) {
        auto split = glmReadOBJ(path, s);
        ASSERT_TRUE(split);
        expectSameModel(*whole, *split, std::to_string(s.chunkBytes) + " bytes a piece, " + std::to_string(s.threads) +
                                            " threads");
    }

    // A failure late in the file still comes after what the lines before it
    // said, and only once.
    const std::string failing = dir.write("late.obj", "mtllib gone.mtl\n" + text + "\nvp 1 2 3\nmtllib other.mtl\n");
    std::string first;
    for (size_t bytes : {size_t(1) << 30, size_t(3), size_t(100)}) {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_FALSE(glmReadOBJ(failing, sgObjReadSplit{bytes, bytes < 50 ? 1u : 2u}));
        std::string said = testing::internal::GetCapturedStderr() + testing::internal::GetCapturedStdout();
        if (first.empty()) first = said;
        EXPECT_EQ(said, first) << bytes << " bytes a piece";
    }
    EXPECT_EQ(first, "_glmReadMTL() failed: can't open material file \"" + dir.file("gone.mtl") +
                         "\".\n_glmFirstPass(): Unknown token \"vp\".\n");

    // Only a regular file is read; an empty one is an empty model.
    mkdir(dir.file("folder.obj").c_str(), 0755);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(glmReadOBJ(dir.file("folder.obj"), sgObjReadSplit{7, 2}));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "glmReadOBJ() failed: can't open data file \"" + dir.file("folder.obj") + "\".\n");
    auto empty = glmReadOBJ(dir.write("empty.obj", ""), sgObjReadSplit{7, 2});
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->numtriangles(), 0u);
    ASSERT_EQ(empty->groups.size(), 1u);
    EXPECT_EQ(empty->groups[0]->name, "default");
    EXPECT_EQ(empty->vertices.size(), 3u);
}

TEST(ObjReader, NumbersConvertAsTheFullParserDoes) {
    // Short decimals take a quicker way than the full parser: the same float
    // must come out, bit for bit, whatever the digits and the exponent.
    std::mt19937 rng(47);
    auto digits = [&](int n) {
        std::string d;
        for (int i = 0; i < n; ++i) d += static_cast<char>('0' + rng() % 10);
        return d;
    };
    std::vector<std::string> words = {"16777216", "16777217", "-16777215.5", "0.1", "-0", "-0.0e5", "9999999e-10",
                                      "1e10", "1e11", "3.4028235e38", "1e-45", "000001.0000", "+2.5", "+-2.5",
                                      "1.", ".5", "1e", "1e+", "1.5e-3x", "nan", "-inf", "0x1p3", "1e0001"};
    for (int i = 0; i < 100000; ++i) {
        std::string w = rng() % 2 ? "-" : "";
        w += digits(1 + static_cast<int>(rng() % 10));
        if (rng() % 4) w += "." + digits(1 + static_cast<int>(rng() % 10));
        if (rng() % 3 == 0) w += (rng() % 2 ? "e" : "E") + std::string(rng() % 2 ? "-" : "+") + std::to_string(rng() % 16);
        words.push_back(w);
    }
    for (const std::string& w : words) {
        float ours = 12345.0f, full = 12345.0f;
        const bool read = modeltext::parseFloat(w, ours);
        const char* b = w.data() + (w[0] == '+' ? 1 : 0);
        const auto res = std::from_chars(b, w.data() + w.size(), full, std::chars_format::general);
        ASSERT_EQ(read, res.ec == std::errc() && res.ptr != b) << w;
        ASSERT_EQ(std::memcmp(&ours, &full, sizeof ours), 0) << w << ": " << ours << " against " << full;
    }
}

// A file as common exporters write it: one object ("o", no "g"), the material
// changing between its faces, no normals, and "Ni" after "Ns" in the library.
TEST(ObjReader, ExportedFilesKeepEachFacesMaterialAndGetNormals) {
    TempDir dir;
    dir.write("two.mtl",
              "newmtl Red\nNs 250.000000\nKa 1 1 1\nKd 0.8 0 0\nKs 0.5 0.5 0.5\nNi 1.450000\nd 1.0\nillum 2\n"
              "newmtl Blue\nNs 96.078431\nKd 0 0 0.8\nNi 1.000000\n");
    auto m = readText(dir,
                      "# exporter\nmtllib two.mtl\no Pyramid\n"
                      "v -60 -60 60\nv 60 -60 60\nv 60 -60 -60\nv -60 -60 -60\nv 0 60 0\ns off\n"
                      "usemtl Red\nf 1 2 5\nf 2 3 5\n"
                      "usemtl Blue\nf 3 4 5\nf 4 1 5\n"
                      "usemtl Red\nf 1 4 3 2\n");
    ASSERT_TRUE(m);
    ASSERT_EQ(m->nummaterials(), 3u);
    EXPECT_FLOAT_EQ(m->materials[1].shininess, 32.0f);  // Ns 250, not Ni 1.45
    EXPECT_NEAR(m->materials[2].shininess, 96.078431f * 0.128f, 1e-4);
    // The faces go to one record per material, each named as the group; the
    // red faces after the blue ones join the first red record.
    ASSERT_EQ(m->groups.size(), 2u);
    EXPECT_EQ(m->groups[0]->name, "default");
    EXPECT_EQ(m->groups[0]->material, 1u);
    EXPECT_EQ(m->groups[0]->triangles, (std::vector<GLuint>{0, 1, 4, 5}));
    EXPECT_EQ(m->groups[1]->name, "default");
    EXPECT_EQ(m->groups[1]->material, 2u);
    EXPECT_EQ(m->groups[1]->triangles, (std::vector<GLuint>{2, 3}));

    // Every corner has a normal: the sides meet at 78 degrees, more than the
    // crease angle, so each takes its facet's own.
    const double k = 1.0 / std::sqrt(5.0);
    const double facets[4][3] = {{0, k, 2 * k}, {2 * k, k, 0}, {0, k, -2 * k}, {-2 * k, k, 0}};
    for (int t = 0; t < 4; ++t)
        for (int c = 0; c < 3; ++c) {
            const GLuint n = m->triangles[t].nindices[c];
            ASSERT_GT(n, 0u);
            ASSERT_LE(n, m->numnormals);
            for (int i = 0; i < 3; ++i) EXPECT_NEAR(m->normals[3 * n + i], facets[t][i], 1e-6) << t << " " << c;
        }
}

// Corners within the crease angle share a smooth normal; across a sharper
// edge each side keeps its own, and a normal the file gives is kept.
TEST(ObjReader, MadeNormalsFollowTheCreaseAngle) {
    TempDir dir;
    // A shallow roof (two faces 20 degrees apart) standing on a wall at 90.
    const double rise = std::tan(10.0 * 3.14159265358979 / 180.0);
    std::string text = "v -1 0 0\nv 0 " + std::to_string(rise) + " 0\nv 1 0 0\nv -1 0 -1\nv 0 " +
                       std::to_string(rise) + " -1\nv 1 0 -1\nv -1 -1 0\nv 1 -1 0\nvn 0 0 1\n"
                       "f 1 2 5\nf 1 5 4\nf 2 3 6\nf 2 6 5\nf 7 8 3\nf 7//1 3//1 1//1\n";
    auto m = readText(dir, text);
    ASSERT_TRUE(m);
    ASSERT_EQ(m->numtriangles(), 6u);
    auto normal = [&](int t, int c) {
        const GLuint n = m->triangles[t].nindices[c];
        return std::vector<float>(m->normals.begin() + 3 * n, m->normals.begin() + 3 * n + 3);
    };
    // Vertex 2 (the ridge) in the two roof faces: one normal, straight up.
    const auto ridgeLeft = normal(0, 1), ridgeRight = normal(2, 0);
    EXPECT_EQ(ridgeLeft, ridgeRight);
    EXPECT_NEAR(ridgeLeft[1], 1.0f, 1e-5);
    // Vertex 3 (eave) in the roof and in the wall: apart.
    const auto roof = normal(2, 1), wall = normal(4, 2);
    EXPECT_GT(roof[1], 0.9f);
    EXPECT_NEAR(wall[2], 1.0f, 1e-5);
    // Corners the file gave a normal keep it.
    for (int c = 0; c < 3; ++c) EXPECT_EQ(m->triangles[5].nindices[c], 1u);
}
