#include "tools/ModelGen.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace modelgen {

namespace {

const double kPi = 3.14159265358979323846;

void addVertex(Mesh& m, double x, double y, double z, double s, double t, double nx, double ny, double nz) {
    m.positions.insert(m.positions.end(), {float(x), float(y), float(z)});
    m.texcoords.insert(m.texcoords.end(), {float(s), float(t)});
    m.normals.insert(m.normals.end(), {float(nx), float(ny), float(nz)});
}

void addTriangle(Mesh& m, uint32_t a, uint32_t b, uint32_t c) { m.triangles.insert(m.triangles.end(), {a, b, c}); }

}  // namespace

void Mesh::assign(const std::string& material) {
    groups.clear();
    Group g;
    g.material = material;
    for (uint32_t i = 0; i < triangleCount(); ++i) g.faces.push_back(i);
    groups.push_back(std::move(g));
}

void Mesh::translate(float x, float y, float z) {
    for (size_t i = 0; i + 2 < positions.size(); i += 3) {
        positions[i] += x;
        positions[i + 1] += y;
        positions[i + 2] += z;
    }
}

Mesh cylinder(float radius, float height, int sides, bool textured) {
    Mesh m;
    m.name = "cylinder";
    // Angle 0 points to +z; the columns start and end at the back (pi). The
    // last column repeats the first one's position exactly.
    auto angle = [&](int j) { return kPi + 2.0 * kPi * (j % sides) / sides; };
    const int columns = textured ? sides + 1 : sides;
    for (int j = 0; j < columns; ++j) {
        double a = angle(j), sx = std::sin(a), cz = std::cos(a);
        double s = double(j) / sides;
        addVertex(m, radius * sx, 0, radius * cz, s, 0, sx, 0, cz);
        addVertex(m, radius * sx, height, radius * cz, s, 1, sx, 0, cz);
    }
    for (int j = 0; j < sides; ++j) {
        uint32_t j1 = static_cast<uint32_t>((j + 1) % columns);
        uint32_t b0 = 2 * j, t0 = 2 * j + 1, b1 = 2 * j1, t1 = 2 * j1 + 1;
        addTriangle(m, b0, b1, t1);
        addTriangle(m, b0, t1, t0);
    }
    // Caps with their own vertices: flat, with a planar texture mapping.
    for (int cap = 0; cap < 2; ++cap) {
        double y = cap ? height : 0.0, ny = cap ? 1.0 : -1.0;
        uint32_t centre = static_cast<uint32_t>(m.vertexCount());
        addVertex(m, 0, y, 0, 0.5, 0.5, 0, ny, 0);
        for (int j = 0; j < sides; ++j) {
            double a = angle(j), sx = std::sin(a), cz = std::cos(a);
            addVertex(m, radius * sx, y, radius * cz, 0.5 + 0.5 * sx, 0.5 + 0.5 * cz, 0, ny, 0);
        }
        for (int j = 0; j < sides; ++j) {
            uint32_t r0 = centre + 1 + j, r1 = centre + 1 + (j + 1) % sides;
            if (cap)
                addTriangle(m, centre, r0, r1);
            else
                addTriangle(m, centre, r1, r0);
        }
    }
    if (!textured) m.texcoords.clear();
    return m;
}

Mesh sphere(float radius, int slices, int stacks, bool textured) {
    Mesh m;
    m.name = "sphere";
    auto theta = [&](int j) { return kPi + 2.0 * kPi * (j % slices) / slices; };
    const int columns = textured ? slices + 1 : slices;
    addVertex(m, 0, radius, 0, 0.5, 1, 0, 1, 0);  // north pole: vertex 0
    for (int i = 1; i < stacks; ++i) {
        double phi = kPi * i / stacks;
        for (int j = 0; j < columns; ++j) {
            double th = theta(j);
            double nx = std::sin(phi) * std::sin(th), ny = std::cos(phi), nz = std::sin(phi) * std::cos(th);
            addVertex(m, radius * nx, radius * ny, radius * nz, double(j) / slices, 1.0 - double(i) / stacks, nx, ny,
                      nz);
        }
    }
    uint32_t south = static_cast<uint32_t>(m.vertexCount());
    addVertex(m, 0, -radius, 0, 0.5, 0, 0, -1, 0);
    auto at = [&](int i, int j) { return static_cast<uint32_t>(1 + (i - 1) * columns + j % columns); };
    for (int j = 0; j < slices; ++j) addTriangle(m, 0, at(1, j), at(1, j + 1));
    for (int i = 1; i + 1 < stacks; ++i)
        for (int j = 0; j < slices; ++j) {
            addTriangle(m, at(i, j), at(i + 1, j), at(i + 1, j + 1));
            addTriangle(m, at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    for (int j = 0; j < slices; ++j) addTriangle(m, at(stacks - 1, j), south, at(stacks - 1, j + 1));
    if (!textured) m.texcoords.clear();
    return m;
}

Mesh box(float size, bool sharedCorners) {
    Mesh m;
    m.name = "box";
    double h = size / 2.0;
    if (sharedCorners) {
        for (int i = 0; i < 8; ++i) {
            double x = (i & 1) ? h : -h, y = (i & 2) ? h : -h, z = (i & 4) ? h : -h;
            double l = std::sqrt(3.0) * h;
            addVertex(m, x, y, z, (i & 1) ? 1 : 0, (i & 2) ? 1 : 0, x / l, y / l, z / l);
        }
        // Corner index bits: 1 = +x, 2 = +y, 4 = +z.
        const uint32_t quads[6][4] = {{1, 3, 7, 5}, {0, 4, 6, 2}, {2, 6, 7, 3},
                                      {0, 1, 5, 4}, {4, 5, 7, 6}, {0, 2, 3, 1}};
        for (const auto& q : quads) {
            addTriangle(m, q[0], q[1], q[2]);
            addTriangle(m, q[0], q[2], q[3]);
        }
        return m;
    }
    // Per face: centre n*h, tangents u and v with u x v = n.
    const int faces[6][9] = {{1, 0, 0, 0, 0, -1, 0, 1, 0}, {-1, 0, 0, 0, 0, 1, 0, 1, 0},
                             {0, 1, 0, 1, 0, 0, 0, 0, -1}, {0, -1, 0, 1, 0, 0, 0, 0, 1},
                             {0, 0, 1, 1, 0, 0, 0, 1, 0},  {0, 0, -1, -1, 0, 0, 0, 1, 0}};
    for (const auto& f : faces) {
        uint32_t base = static_cast<uint32_t>(m.vertexCount());
        const double su[4] = {-1, 1, 1, -1}, sv[4] = {-1, -1, 1, 1};
        for (int k = 0; k < 4; ++k) {
            double p[3];
            for (int i = 0; i < 3; ++i) p[i] = h * (f[i] + su[k] * f[3 + i] + sv[k] * f[6 + i]);
            addVertex(m, p[0], p[1], p[2], (su[k] + 1) / 2, (sv[k] + 1) / 2, f[0], f[1], f[2]);
        }
        addTriangle(m, base, base + 1, base + 2);
        addTriangle(m, base, base + 2, base + 3);
    }
    return m;
}

Mesh grid(int cols, int rows, float cell) {
    Mesh m;
    m.name = "grid";
    for (int r = 0; r <= rows; ++r)
        for (int c = 0; c <= cols; ++c) {
            double x = c * cell, z = -r * cell;
            double y = cell * (std::sin(c * 0.3) + std::cos(r * 0.2));
            addVertex(m, x, y, z, double(c) / cols, double(r) / rows, 0, 1, 0);
        }
    auto at = [&](int r, int c) { return static_cast<uint32_t>(r * (cols + 1) + c); };
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            addTriangle(m, at(r, c), at(r, c + 1), at(r + 1, c + 1));
            addTriangle(m, at(r, c), at(r + 1, c + 1), at(r + 1, c));
        }
    return m;
}

// The chart part models carry no material of their own: a 3DS mesh without a
// material group draws with whatever material is current when its list is
// called, so the chart part's own material colours it.
Scene chartCylinder() {
    Scene s;
    Mesh m = cylinder(5.0f, 1.0f, 32, true);
    m.name = "cyl10x";
    s.meshes.push_back(std::move(m));
    return s;
}

Scene chartSphere() {
    Scene s;
    Mesh m = sphere(5.0f, 32, 16, true);
    m.name = "sphere10x";
    s.meshes.push_back(std::move(m));
    return s;
}

// ------------------------------------------------------------ 3DS

void ChunkWriter::begin(uint16_t id) {
    open_.push_back(bytes.size());
    u16(id);
    u32(0);
}

void ChunkWriter::end() {
    size_t start = open_.back();
    open_.pop_back();
    uint32_t len = static_cast<uint32_t>(bytes.size() - start);
    for (int i = 0; i < 4; ++i) bytes[start + 2 + i] = static_cast<uint8_t>(len >> (8 * i));
}

void ChunkWriter::u16(uint16_t v) {
    bytes.push_back(static_cast<uint8_t>(v));
    bytes.push_back(static_cast<uint8_t>(v >> 8));
}

void ChunkWriter::u32(uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void ChunkWriter::f32(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    u32(bits);
}

void ChunkWriter::str(const std::string& s) {
    raw(s.data(), s.size());
    u8(0);
}

void ChunkWriter::raw(const void* p, size_t n) {
    const uint8_t* b = static_cast<const uint8_t*>(p);
    bytes.insert(bytes.end(), b, b + n);
}

void ChunkWriter::header(uint16_t id, uint32_t length) {
    u16(id);
    u32(length);
}

namespace {

void colourChunk(ChunkWriter& w, uint16_t id, const float* rgb, bool bytesForm) {
    w.begin(id);
    if (bytesForm) {
        w.begin(0x0011);
        for (int i = 0; i < 3; ++i) {
            double v = rgb[i] * 256.0;
            w.u8(static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v));
        }
        w.end();
    } else {
        w.begin(0x0010);
        for (int i = 0; i < 3; ++i) w.f32(rgb[i]);
        w.end();
    }
    w.end();
}

}  // namespace

std::vector<uint8_t> write3DS(const Scene& scene, std::string* error) {
    for (const Mesh& m : scene.meshes)
        if (m.vertexCount() > 65535 || m.triangleCount() > 65535) {
            if (error) *error = "mesh " + m.name + " has more than 65535 vertices or triangles";
            return {};
        }
    ChunkWriter w;
    w.begin(0x4D4D);
    w.begin(0x0002);  // file version
    w.u32(3);
    w.end();
    w.begin(0x3D3D);
    w.begin(0x3D3E);  // mesh version
    w.u32(3);
    w.end();
    for (const Material& mat : scene.materials) {
        w.begin(0xAFFF);
        w.begin(0xA000);
        w.str(mat.name);
        w.end();
        colourChunk(w, 0xA010, mat.ambient, mat.byteColours);
        colourChunk(w, 0xA020, mat.diffuse, mat.byteColours);
        colourChunk(w, 0xA030, mat.specular, mat.byteColours);
        if (mat.transparency >= 0) {
            w.begin(0xA050);
            w.begin(0x0030);
            w.u16(static_cast<uint16_t>(mat.transparency));
            w.end();
            w.end();
        }
        if (mat.twoSided) {
            w.begin(0xA081);
            w.end();
        }
        if (!mat.texture.empty()) {
            w.begin(0xA200);
            w.begin(0x0030);  // texture strength 100%
            w.u16(100);
            w.end();
            w.begin(0xA300);
            w.str(mat.texture);
            w.end();
            w.end();
        }
        w.end();
    }
    for (const Mesh& m : scene.meshes) {
        w.begin(0x4000);
        w.str(m.name);
        w.begin(0x4100);
        w.begin(0x4110);
        w.u16(static_cast<uint16_t>(m.vertexCount()));
        for (size_t i = 0; i < m.vertexCount(); ++i) {
            const float* p = &m.positions[3 * i];
            w.f32(-p[0]);
            w.f32(p[2]);
            w.f32(p[1]);
        }
        w.end();
        if (!m.texcoords.empty()) {
            w.begin(0x4140);
            w.u16(static_cast<uint16_t>(m.texcoords.size() / 2));
            for (float t : m.texcoords) w.f32(t);
            w.end();
        }
        w.begin(0x4160);  // identity local matrix
        const float ident[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
        for (float f : ident) w.f32(f);
        w.end();
        w.begin(0x4120);
        w.u16(static_cast<uint16_t>(m.triangleCount()));
        for (size_t i = 0; i < m.triangleCount(); ++i) {
            for (int k = 0; k < 3; ++k) w.u16(static_cast<uint16_t>(m.triangles[3 * i + k]));
            w.u16(0x0007);
        }
        for (const Group& g : m.groups) {
            w.begin(0x4130);
            w.str(g.material);
            w.u16(static_cast<uint16_t>(g.faces.size()));
            for (uint32_t f : g.faces) w.u16(static_cast<uint16_t>(f));
            w.end();
        }
        w.end();
        w.end();
        w.end();
    }
    w.end();
    w.end();
    return w.bytes;
}

// ------------------------------------------------------------ OBJ

namespace {

template <typename... Args>
void appendf(std::string& out, const char* fmt, Args... args) {
    char buf[160];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    int n = std::snprintf(buf, sizeof buf, fmt, static_cast<double>(args)...);
#pragma GCC diagnostic pop
    if (n > 0) out.append(buf, static_cast<size_t>(n) < sizeof buf ? static_cast<size_t>(n) : sizeof buf - 1);
}

}  // namespace

std::string writeOBJ(const Scene& scene, const ObjOptions& o) {
    std::string out = "# written by kelvano-modelgen\n";
    if (!o.mtllib.empty()) out += "mtllib " + o.mtllib + "\n";
    size_t vBase = 1, tBase = 1, nBase = 1;  // each index runs over its own lines
    for (const Mesh& m : scene.meshes) {
        bool n = o.normals && !m.normals.empty();
        bool t = o.texcoords && !m.texcoords.empty();
        if (o.groups) out += "g " + m.name + "\n";
        for (size_t i = 0; i < m.vertexCount(); ++i)
            appendf(out, "v %.7g %.7g %.7g\n", m.positions[3 * i], m.positions[3 * i + 1], m.positions[3 * i + 2]);
        if (t)
            for (size_t i = 0; i < m.vertexCount(); ++i)
                appendf(out, "vt %.7g %.7g\n", m.texcoords[2 * i], m.texcoords[2 * i + 1]);
        if (n)
            for (size_t i = 0; i < m.vertexCount(); ++i)
                appendf(out, "vn %.7g %.7g %.7g\n", m.normals[3 * i], m.normals[3 * i + 1], m.normals[3 * i + 2]);
        auto corner = [&](uint32_t v) {
            char buf[80];
            size_t k = vBase + v, kt = tBase + v, kn = nBase + v;
            int len;
            if (t && n)
                len = std::snprintf(buf, sizeof buf, " %zu/%zu/%zu", k, kt, kn);
            else if (n)
                len = std::snprintf(buf, sizeof buf, " %zu//%zu", k, kn);
            else if (t)
                len = std::snprintf(buf, sizeof buf, " %zu/%zu", k, kt);
            else
                len = std::snprintf(buf, sizeof buf, " %zu", k);
            out.append(buf, static_cast<size_t>(len));
        };
        auto face = [&](uint32_t f) {
            out += "f";
            for (int k = 0; k < 3; ++k) corner(m.triangles[3 * f + k]);
            out += "\n";
        };
        if (!o.mtllib.empty() && !m.groups.empty()) {
            for (const Group& g : m.groups) {
                out += "usemtl " + g.material + "\n";
                for (uint32_t f : g.faces) face(f);
            }
        } else {
            for (uint32_t f = 0; f < m.triangleCount(); ++f) face(f);
        }
        vBase += m.vertexCount();
        if (t) tBase += m.vertexCount();
        if (n) nBase += m.vertexCount();
    }
    return out;
}

std::string writeMTL(const Scene& scene) {
    std::string out = "# written by kelvano-modelgen\n";
    for (const Material& m : scene.materials) {
        out += "newmtl " + m.name + "\n";
        appendf(out, "Ka %.7g %.7g %.7g\n", m.ambient[0], m.ambient[1], m.ambient[2]);
        appendf(out, "Kd %.7g %.7g %.7g\n", m.diffuse[0], m.diffuse[1], m.diffuse[2]);
        appendf(out, "Ks %.7g %.7g %.7g\n", m.specular[0], m.specular[1], m.specular[2]);
        if (m.shininess >= 0) appendf(out, "Ns %.7g\n", m.shininess);
        if (!m.texture.empty()) out += "map_Kd " + m.texture + "\n";
    }
    return out;
}

bool writeFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    return ok;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    return writeFile(path, std::string(bytes.begin(), bytes.end()));
}

}  // namespace modelgen
