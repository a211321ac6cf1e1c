// Broken and hostile files: each fails (or loads what is sound) with its
// message and never reads or writes out of bounds. The work is bounded by the
// inputs' size: where a reader could go wrong by looping or by quadratic work,
// the input is large enough that the fault would run into the test's timeout.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include <unistd.h>

#include "assets/Model3DS.h"
#include "assets/ObjModel.h"
#include "tests/models/ModelTestSupport.h"
#include "tools/ModelGen.h"

using modelgen::ChunkWriter;
using modeltest::TempDir;

namespace {

// Reads a 3DS image and returns what the reader printed; `ok` reports
// whether a model came back, `model` receives it.
std::string read3DS(const TempDir& dir, const std::vector<uint8_t>& bytes, bool* ok = nullptr,
                    std::unique_ptr<sg3DSModel>* model = nullptr) {
    std::string path = dir.write("h.3ds", bytes);
    testing::internal::CaptureStdout();
    auto m = read3DSModel(path, sg3DSOptions());
    std::string out = testing::internal::GetCapturedStdout();
    if (ok) *ok = static_cast<bool>(m);
    if (model) *model = std::move(m);
    return out;
}

std::string failed(const TempDir& dir) { return "Failed to parse " + dir.file("h.3ds") + "\n"; }

std::vector<uint8_t> goodFile() {
    modelgen::Scene s;
    modelgen::Material m;
    m.name = "m";
    m.texture = "wood.jpg";
    s.materials = {m};
    auto box = modelgen::box(2, false);
    box.assign("m");
    s.meshes = {box};
    return modelgen::write3DS(s);
}

}  // namespace

TEST(Hostile3DS, BrokenChunkLengthsFailTheParse) {
    TempDir dir;
    struct Case {
        const char* what;
        std::function<void(ChunkWriter&)> body;
        std::string message;  // printed before "Failed to parse"
    };
    std::vector<Case> cases = {
        {"zero length", [](ChunkWriter& w) { w.header(0x4D4D, 0); }, ""},
        {"length below the header", [](ChunkWriter& w) { w.header(0x4D4D, 3); }, ""},
        {"main chunk longer than the file", [](ChunkWriter& w) { w.header(0x4D4D, 1000); }, ""},
        {"child with zero length",
         [](ChunkWriter& w) {
             w.header(0x4D4D, 18);
             w.header(0x3D3D, 12);
             w.header(0x1234, 0);
         },
         ""},
        {"child beyond its parent",
         [](ChunkWriter& w) {
             w.header(0x4D4D, 30);
             w.header(0x3D3D, 12);
             w.header(0xAFFF, 18);  // 6 bytes past the editor block
             w.header(0xA081, 6);
             w.header(0x0000, 6);
         },
         ""},
        {"header cut by the parent's end",
         [](ChunkWriter& w) {
             w.header(0x4D4D, 10);
             w.u32(0);
         },
         ""},
        {"vertex count beyond the chunk",
         [](ChunkWriter& w) {
             w.begin(0x4D4D);
             w.begin(0x3D3D);
             w.begin(0x4000);
             w.str("o");
             w.begin(0x4100);
             w.begin(0x4110);
             w.u16(60000);
             w.f32(1);
             w.end();
             w.end();
             w.end();
             w.end();
             w.end();
         },
         "Error reading file\n"},
        {"face list cut short",
         [](ChunkWriter& w) {
             w.begin(0x4D4D);
             w.begin(0x3D3D);
             w.begin(0x4000);
             w.str("o");
             w.begin(0x4100);
             w.begin(0x4120);
             w.u16(3);
             w.u16(0);
             w.end();
             w.end();
             w.end();
             w.end();
             w.end();
         },
         "Error reading file\n"},
        {"not a 3DS file", [](ChunkWriter& w) { w.header(0x4D4E, 6); }, "Not 3ds data\n"},
        {"empty file", [](ChunkWriter&) {}, "Error reading file\n"},
    };
    for (const Case& c : cases) {
        ChunkWriter w;
        c.body(w);
        bool ok = true;
        EXPECT_EQ(read3DS(dir, w.bytes, &ok), c.message + failed(dir)) << c.what;
        EXPECT_FALSE(ok) << c.what;
    }
}

TEST(Hostile3DS, FoldersAndMissingFilesDoNotOpen) {
    TempDir dir;
    for (const std::string& p : {dir.path(), dir.file("none.3ds")}) {
        testing::internal::CaptureStdout();
        EXPECT_FALSE(read3DSModel(p, sg3DSOptions()));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Failed to open " + p + "\n");
    }
}

TEST(Hostile3DS, OversizedFilesAreRefusedBeforeReading) {
    TempDir dir;
    // Sparse: a terabyte that takes no disk space. Were it read, reading would
    // take many minutes and the buffer could not be had; the size printed is
    // the one the folder entry gives.
    const std::string path = dir.write("big.3ds", std::vector<uint8_t>{0x4D, 0x4D});
    const off_t size = off_t(1) << 40;
    static_assert(size > off_t(kMax3DSFileBytes));
    ASSERT_EQ(truncate(path.c_str(), size), 0);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(read3DSModel(path, sg3DSOptions()));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Error allocating mem size " + std::to_string(size) + "\nFailed to parse " + path + "\n");
}

TEST(Hostile3DS, NamesWithoutTerminatorStayInsideTheirChunk) {
    TempDir dir;
    ChunkWriter w;
    w.begin(0x4D4D);
    w.begin(0x3D3D);
    w.begin(0xAFFF);
    w.begin(0xA000);
    std::string name(200, 'x');
    w.raw(name.data(), name.size());  // no NUL
    w.end();
    w.begin(0xA200);
    w.begin(0xA300);
    w.raw("ab", 2);  // a two-character texture name, no NUL
    w.end();
    w.end();
    w.end();
    w.end();
    w.end();
    bool ok = false;
    EXPECT_EQ(read3DS(dir, w.bytes, &ok), "");
    EXPECT_TRUE(ok);
    auto m = read3DSModel(dir.file("h.3ds"), sg3DSOptions());
    ASSERT_TRUE(m);
    ASSERT_EQ(m->materials.size(), 1u);
    EXPECT_EQ(m->materials[0].name, std::string(50, 'x'));
    EXPECT_EQ(m->materials[0].textureName, "ab");
}

TEST(Hostile3DS, TruncatedAndCorruptedFilesNeverCrash) {
    TempDir dir;
    std::vector<uint8_t> good = goodFile();
    bool ok = false;
    EXPECT_EQ(read3DS(dir, good, &ok), "");
    EXPECT_TRUE(ok);
    // Every cut fails cleanly: the main chunk's length no longer fits.
    for (size_t cut = 0; cut < good.size(); cut += 7) {
        std::vector<uint8_t> part(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
        std::string out = read3DS(dir, part, &ok);
        EXPECT_FALSE(ok) << "cut at " << cut;
        EXPECT_NE(out.find(failed(dir)), std::string::npos) << "cut at " << cut;
    }
    // Flipped bytes: each read either fails with the parse message and gives
    // nothing, or gives a model whose every index names one of its vertices.
    std::mt19937 rng(1234);
    int loaded = 0, refused = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> bad = good;
        for (int k = 0; k < 4; ++k) bad[rng() % bad.size()] = static_cast<uint8_t>(rng());
        std::unique_ptr<sg3DSModel> m;
        const std::string out = read3DS(dir, bad, &ok, &m);
        SCOPED_TRACE("round " + std::to_string(round));
        if (!ok) {
            ++refused;
            EXPECT_FALSE(m);
            const std::string end = failed(dir);
            EXPECT_TRUE(out.size() >= end.size() && out.compare(out.size() - end.size(), end.size(), end) == 0)
                << out;
            continue;
        }
        ++loaded;
        ASSERT_TRUE(m);
        EXPECT_EQ(out.find("Failed"), std::string::npos) << out;
        EXPECT_EQ(m->vertices.size() % 8, 0u);
        size_t triangles = 0;
        for (const sg3DSRenderMaterial& mat : m->materials) {
            EXPECT_EQ(mat.indices.size() % 3, 0u) << mat.name;
            triangles += mat.indices.size() / 3;
            for (uint32_t i : mat.indices) ASSERT_LT(i, m->vertexCount()) << mat.name;
        }
        EXPECT_EQ(m->triangleCount(), triangles);
    }
    // The flips reach both outcomes, so both branches above were checked.
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
}

TEST(HostileOBJ, BadFilesFailOrLoadTheirSoundPartsQuickly) {
    TempDir dir;
    auto read = [&](const std::string& text, std::string* out = nullptr) {
        std::string path = dir.write("h.obj", text);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        auto m = glmReadOBJ(path);
        std::string o = testing::internal::GetCapturedStdout();
        std::string e = testing::internal::GetCapturedStderr();
        if (out) *out = o + e;
        return m;
    };
    std::string out;

    // 300-character lines of every kind.
    std::string line300(300, '7');
    auto m = read("v " + line300 + " 1 2\n" + "vt " + line300 + "\n" + "f " + line300 + "\n" + "# " + line300 + "\n" +
                      "g " + std::string(300, 'g') + "\n" + "mtllib " + std::string(300, 'm') + "\n" + "f 1 1 1\n",
                  &out);
    ASSERT_TRUE(m);
    EXPECT_EQ(out, "");
    EXPECT_EQ(m->numtriangles(), 1u);
    EXPECT_TRUE(m->materials.empty());

    // Bad indices everywhere: nothing is drawn, nothing is read out of bounds.
    m = read("v 0 0 0\nvt 0 0\nvn 0 0 1\nf 2/1/1 -2/1/1 0/1/1\nf 1/2/1 1/1/1 1/1/1\nf 1/1/-5 1 1\nf a b c\n"
             "f 1 1 //1\nf 1/ 1// 1/1/\n",
             &out);
    ASSERT_TRUE(m);
    EXPECT_EQ(out, "");
    EXPECT_EQ(m->numtriangles(), 1u);  // only the last: its corners all name vertex 1
    // Missing material library: the geometry loads in the default material,
    // with the message.
    m = read("mtllib gone.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n", &out);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->numtriangles(), 1u);
    EXPECT_EQ(m->nummaterials(), 1u);
    EXPECT_EQ(out, "_glmReadMTL() failed: can't open material file \"" + dir.file("gone.mtl") + "\".\n");
    // A directory is no material library either.
    m = read("mtllib .\n", &out);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->nummaterials(), 1u);
    // Thousands of missing libraries: only the first few are looked for.
    std::string many;
    for (int i = 0; i < 5000; ++i) many += "mtllib lib" + std::to_string(i) + ".mtl\n";
    m = read(many, &out);
    ASSERT_TRUE(m);
    size_t said = 0;
    for (size_t at = out.find("_glmReadMTL"); at != std::string::npos; at = out.find("_glmReadMTL", at + 1)) ++said;
    EXPECT_EQ(said, 16u);

    // Binary garbage and one enormous face: work that grew with the square of
    // the line's length would take minutes here.
    std::string garbage;
    std::mt19937 rng(99);
    for (int i = 0; i < 200000; ++i) garbage += static_cast<char>(rng() % 96 + 32);
    m = read(garbage);
    // No vertex is declared, so no corner of any face can be drawn.
    EXPECT_TRUE(!m || m->numtriangles() == 0u);
    std::string face = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf";
    for (int i = 0; i < 200000; ++i) face += i % 2 ? " 2" : " 3";
    m = read(face + "\n");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->numtriangles(), 199998u);  // fanned from the first corner
}
