#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>

#include "assets/Model3DS.h"
#include "tests/models/ModelTestSupport.h"
#include "tools/ModelGen.h"

using modelgen::ChunkWriter;
using modeltest::TempDir;

namespace {

const double kPi = 3.14159265358979323846;

sg3DSOptions crease(float degrees, int centre = 0) {
    sg3DSOptions o;
    o.creaseDegrees = degrees;
    o.centre = centre;
    return o;
}

modelgen::Material material(const std::string& name) {
    modelgen::Material m;
    m.name = name;
    return m;
}

std::unique_ptr<sg3DSModel> readScene(const TempDir& dir, const modelgen::Scene& s, const sg3DSOptions& o) {
    return read3DSModel(dir.write("m.3ds", modelgen::write3DS(s)), o);
}

const float* pos(const sg3DSModel& m, uint32_t v) { return &m.vertices[size_t(v) * 8 + 5]; }
const float* nrm(const sg3DSModel& m, uint32_t v) { return &m.vertices[size_t(v) * 8 + 2]; }
const float* tex(const sg3DSModel& m, uint32_t v) { return &m.vertices[size_t(v) * 8]; }

// Corners drawn: (material index, vertex index) in draw order.
size_t drawnVertices(const sg3DSModel& m) {
    std::set<uint32_t> used;
    for (const auto& mat : m.materials) used.insert(mat.indices.begin(), mat.indices.end());
    return used.size();
}

// A file with one mesh of the given vertices (as stored), faces and groups.
struct RawMesh {
    std::vector<float> xyz;
    std::vector<uint16_t> faces;  // a, b, c per face
    std::vector<float> st;
    std::vector<std::pair<std::string, std::vector<uint16_t>>> groups;
};

std::vector<uint8_t> rawFile(const RawMesh& r, const std::vector<std::string>& materials) {
    ChunkWriter w;
    w.begin(0x4D4D);
    w.begin(0x3D3D);
    for (const auto& name : materials) {
        w.begin(0xAFFF);
        w.begin(0xA000);
        w.str(name);
        w.end();
        w.end();
    }
    w.begin(0x4000);
    w.str("obj");
    w.begin(0x4100);
    w.begin(0x4110);
    w.u16(static_cast<uint16_t>(r.xyz.size() / 3));
    for (float f : r.xyz) w.f32(f);
    w.end();
    if (!r.st.empty()) {
        w.begin(0x4140);
        w.u16(static_cast<uint16_t>(r.st.size() / 2));
        for (float f : r.st) w.f32(f);
        w.end();
    }
    w.begin(0x4120);
    w.u16(static_cast<uint16_t>(r.faces.size() / 3));
    for (size_t i = 0; i < r.faces.size(); i += 3) {
        w.u16(r.faces[i]);
        w.u16(r.faces[i + 1]);
        w.u16(r.faces[i + 2]);
        w.u16(7);
    }
    for (const auto& g : r.groups) {
        w.begin(0x4130);
        w.str(g.first);
        w.u16(static_cast<uint16_t>(g.second.size()));
        for (uint16_t f : g.second) w.u16(f);
        w.end();
    }
    w.end();
    w.end();
    w.end();
    w.end();
    w.end();
    return w.bytes;
}

}  // namespace

TEST(Reader3DS, StoredAxesBecomeModelAxesAndMissingTexcoordsAreZero) {
    TempDir dir;
    RawMesh r;
    r.xyz = {1, 2, 3, 4, 5, 6, 7, 8, 10};
    r.st = {0.25f, 0.75f};  // only the first vertex has coordinates
    r.faces = {0, 1, 2};
    r.groups = {{"m", {0}}};
    auto m = read3DSModel(dir.write("a.3ds", rawFile(r, {"m"})), crease(45));
    ASSERT_TRUE(m);
    ASSERT_EQ(m->vertexCount(), 3u);
    EXPECT_FLOAT_EQ(pos(*m, 0)[0], -1.0f);
    EXPECT_FLOAT_EQ(pos(*m, 0)[1], 3.0f);
    EXPECT_FLOAT_EQ(pos(*m, 0)[2], 2.0f);
    EXPECT_FLOAT_EQ(tex(*m, 0)[0], 0.25f);
    EXPECT_FLOAT_EQ(tex(*m, 0)[1], 0.75f);
    EXPECT_FLOAT_EQ(tex(*m, 2)[0], 0.0f);
    EXPECT_FLOAT_EQ(tex(*m, 2)[1], 0.0f);
}

TEST(Reader3DS, MaterialColoursTransparencyAndTwoSidedFaces) {
    TempDir dir;
    modelgen::Scene s;
    auto bytes = material("bytes");
    bytes.byteColours = true;
    bytes.diffuse[0] = 255 / 256.0f;
    bytes.diffuse[1] = 128 / 256.0f;
    bytes.diffuse[2] = 0;
    bytes.transparency = 50;
    auto clear = material("clear");
    clear.transparency = 0;  // alpha below 0.01 means opaque
    auto both = material("both");
    both.twoSided = true;
    s.materials = {bytes, clear, both};
    for (const char* name : {"bytes", "clear", "both"}) {
        auto mesh = modelgen::box(2, false);
        mesh.assign(name);
        s.meshes.push_back(mesh);
    }
    auto m = readScene(dir, s, crease(45));
    ASSERT_TRUE(m);
    ASSERT_EQ(m->materials.size(), 3u);
    const auto& b = m->materials[0];
    EXPECT_FLOAT_EQ(b.diffuse[0], 0.99609375f);
    EXPECT_FLOAT_EQ(b.diffuse[1], 0.5f);
    EXPECT_FLOAT_EQ(b.diffuse[2], 0.0f);
    EXPECT_FLOAT_EQ(b.diffuse[3], 0.5f);
    EXPECT_FLOAT_EQ(b.ambient[3], 0.5f);
    EXPECT_FLOAT_EQ(m->materials[1].specular[3], 1.0f);
    EXPECT_EQ(b.indices.size(), 12u * 3);
    // Two-sided: every triangle also in reverse, with its own vertices.
    const auto& t = m->materials[2];
    ASSERT_EQ(t.indices.size(), 24u * 3);
    std::multiset<std::set<std::vector<float>>> front, back;
    for (size_t i = 0; i < t.indices.size(); i += 3) {
        const float* a = pos(*m, t.indices[i]);
        const float* c = pos(*m, t.indices[i + 1]);
        const float* d = pos(*m, t.indices[i + 2]);
        float e1[3], e2[3];
        for (int k = 0; k < 3; ++k) {
            e1[k] = c[k] - a[k];
            e2[k] = d[k] - c[k];
        }
        float n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
        // The drawn normal faces the way the winding does.
        const float* vn = nrm(*m, t.indices[i]);
        EXPECT_GT(n[0] * vn[0] + n[1] * vn[1] + n[2] * vn[2], 0.0f);
        std::set<std::vector<float>> key = {{a[0], a[1], a[2]}, {c[0], c[1], c[2]}, {d[0], d[1], d[2]}};
        // Outward when the normal points away from the box centre.
        (n[0] * a[0] + n[1] * a[1] + n[2] * a[2] > 0 ? front : back).insert(key);
    }
    EXPECT_EQ(front, back);
    EXPECT_EQ(front.size(), 12u);
}

TEST(Reader3DS, MeshesWithoutGroupsUseTheTwoSidedDefault) {
    TempDir dir;
    modelgen::Scene s;
    s.materials = {material("unused")};
    s.meshes = {modelgen::box(2, false)};  // no material group
    auto m = readScene(dir, s, crease(45));
    ASSERT_TRUE(m);
    ASSERT_EQ(m->materials.size(), 2u);
    const auto& d = m->materials[0];
    EXPECT_EQ(d.name, "WG_DEFAULT");
    EXPECT_EQ(d.twoSided, 1);
    EXPECT_FLOAT_EQ(d.ambient[0], 0.5f);
    EXPECT_FLOAT_EQ(d.diffuse[3], 1.0f);
    EXPECT_FLOAT_EQ(d.specular[1], 1.0f);
    EXPECT_EQ(d.indices.size(), 24u * 3);
    EXPECT_TRUE(m->materials[1].indices.empty());
}

TEST(Reader3DS, CubeCreaseSplitsCornersOrAveragesThem) {
    TempDir dir;
    modelgen::Scene s;
    s.materials = {material("m")};
    auto cube = modelgen::box(2, true);  // 8 shared corners
    cube.assign("m");
    s.meshes = {cube};

    auto sharp = readScene(dir, s, crease(45));
    ASSERT_TRUE(sharp);
    EXPECT_EQ(drawnVertices(*sharp), 24u);
    const auto& idx = sharp->materials[0].indices;
    for (uint32_t v : idx) {
        // Flat: each normal is an axis (the face's own normal).
        const float* n = nrm(*sharp, v);
        float big = std::max({std::fabs(n[0]), std::fabs(n[1]), std::fabs(n[2])});
        EXPECT_NEAR(big, 1.0f, 1e-5f);
        const float* p = pos(*sharp, v);
        EXPECT_NEAR(p[0] * n[0] + p[1] * n[1] + p[2] * n[2], 1.0f, 1e-5f);
    }

    auto smooth = readScene(dir, s, crease(0));
    ASSERT_TRUE(smooth);
    EXPECT_EQ(drawnVertices(*smooth), 8u);
    // Expected normal: face normals weighted by pi minus the corner angle of
    // each triangle at the corner.
    const auto& ix = smooth->materials[0].indices;
    std::map<uint32_t, std::array<double, 3>> expect;
    for (size_t i = 0; i < ix.size(); i += 3) {
        const float* P[3] = {pos(*smooth, ix[i]), pos(*smooth, ix[i + 1]), pos(*smooth, ix[i + 2])};
        double fn[3] = {0, 0, 0};
        for (int k = 0; k < 3; ++k) {
            double big = 0;
            // A cube face normal is the axis on which all three corners agree.
            if (P[0][k] == P[1][k] && P[1][k] == P[2][k]) big = P[0][k] > 0 ? 1 : -1;
            fn[k] = big;
        }
        for (int c = 0; c < 3; ++c) {
            const float* a = P[c];
            const float* b = P[(c + 1) % 3];
            const float* d = P[(c + 2) % 3];
            double u[3], w[3], lu = 0, lw = 0, dot = 0;
            for (int k = 0; k < 3; ++k) {
                u[k] = b[k] - a[k];
                w[k] = d[k] - a[k];
                lu += u[k] * u[k];
                lw += w[k] * w[k];
                dot += u[k] * w[k];
            }
            double weight = kPi - std::acos(dot / std::sqrt(lu * lw));
            auto& e = expect[ix[i + c]];
            for (int k = 0; k < 3; ++k) e[k] += weight * fn[k];
        }
    }
    for (auto& [v, e] : expect) {
        double l = std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2]);
        const float* n = nrm(*smooth, v);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(n[k], e[k] / l, 1e-5) << "vertex " << v;
        // Averaged into the corner's octant.
        const float* p = pos(*smooth, v);
        for (int k = 0; k < 3; ++k) EXPECT_GT(n[k] * p[k], 0.0f);
    }
}

TEST(Reader3DS, TinyCreaseAnglesStillFinish) {
    // A threshold of nearly 1 once failed even a triangle against itself and
    // made copies without end: such a read never returns, and the test's time
    // limit ends it.
    TempDir dir;
    modelgen::Scene s;
    s.materials = {material("m")};
    auto ball = modelgen::sphere(1, 12, 6, false);
    ball.assign("m");
    s.meshes = {ball};
    auto m = readScene(dir, s, crease(1e-4f));
    ASSERT_TRUE(m);
    EXPECT_EQ(m->triangleCount(), ball.triangleCount());
    // Every corner its own vertex, but where two triangles lie in one plane:
    // each quad of the sphere's bands is planar, so its two triangles keep
    // sharing their diagonal (4 vertices per quad, 3 per pole triangle).
    EXPECT_EQ(drawnVertices(*m), size_t(2 * 12 * 3 + 12 * (6 - 2) * 4));
}

TEST(Reader3DS, BadIndicesAndUnknownMaterialsDrawNothing) {
    TempDir dir;
    RawMesh r;
    r.xyz = {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1};
    r.faces = {0, 1, 2, 0, 1, 9, 0, 2, 3, 1, 1, 2};  // face 1 names vertex 9; face 3 is degenerate
    r.groups = {{"m", {0, 1, 3, 7}}, {"ghost", {2}}};  // face 7 does not exist
    testing::internal::CaptureStdout();
    auto m = read3DSModel(dir.write("b.3ds", rawFile(r, {"m"})), crease(45));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_TRUE(m);
    ASSERT_EQ(m->materials.size(), 1u);
    EXPECT_EQ(m->materials[0].indices, (std::vector<uint32_t>{0, 1, 2}));
}

TEST(Reader3DS, LongNamesAreCutAndStillMatch) {
    TempDir dir;
    std::string longName(80, 'q');
    RawMesh r;
    r.xyz = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    r.faces = {0, 1, 2};
    r.groups = {{longName, {0}}};
    auto m = read3DSModel(dir.write("c.3ds", rawFile(r, {longName})), crease(45));
    ASSERT_TRUE(m);
    ASSERT_EQ(m->materials.size(), 1u);
    EXPECT_EQ(m->materials[0].name, std::string(50, 'q'));
    EXPECT_EQ(m->materials[0].indices.size(), 3u);
}

TEST(Reader3DS, CentringUsesTheVerticesAsRead) {
    TempDir dir;
    modelgen::Scene s;
    s.materials = {material("m")};
    auto cube = modelgen::box(2, true);
    cube.translate(10, 20, 30);
    cube.assign("m");
    s.meshes = {cube};
    auto m = readScene(dir, s, crease(45, 1));
    ASSERT_TRUE(m);
    ASSERT_EQ(m->vertexCount(), 24u);  // 8 read, 16 copies
    for (size_t v = 0; v < m->vertexCount(); ++v)
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(std::fabs(pos(*m, static_cast<uint32_t>(v))[k]), 1.0f, 1e-5f);
}
