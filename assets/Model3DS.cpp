#include "assets/Model3DS.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>
#include <unordered_map>

#include <sys/stat.h>

#include "platform/PathParts.h"
#include "platform/PathResolver.h"

namespace {

sg3DSOptions g_options;

// ------------------------------------------------------------ parse tree

constexpr size_t kNameMax = 50;  // names keep at most this many characters
const char* const kDefaultMaterial = "WG_DEFAULT";

struct Group3DS {
    std::string name;
    std::vector<uint16_t> faces;
};

struct Mesh3DS {
    std::string name;
    std::vector<float> vertices;   // x, y, z as stored
    std::vector<uint16_t> faces;   // a, b, c, flags
    std::vector<float> texcoords;  // s, t
    float matrix[12] = {};         // read and kept, not applied
    bool hasMatrix = false;
    std::vector<Group3DS> groups;
};

struct Material3DS {
    std::string name;
    float ambient[3] = {0, 0, 0};
    float diffuse[3] = {0, 0, 0};
    float specular[3] = {0, 0, 0};
    float alpha = 1.0f;
    int twoSided = 0;
    std::string texture;
};

struct Tree3DS {
    std::vector<Mesh3DS> meshes;
    std::vector<Material3DS> materials;
    bool needDefault = false;
};

// Thrown inside the parser only; load3DS turns it into "Failed to parse".
struct ParseFailure {};

// Reads chunks from the file image. Every read is bounded by the chunk it
// belongs to, every chunk by its parent.
class Parser {
public:
    Parser(const std::vector<uint8_t>& data, Tree3DS& tree) : d_(data.data()), size_(data.size()), tree_(tree) {}

    void parseFile() {
        size_t pos = 0;
        uint16_t id = u16(pos, size_);
        if (id != 0x4D4D) {
            std::printf("Not 3ds data\n");
            throw ParseFailure();
        }
        size_t end = chunkEnd(0, size_);
        chunks(6, end, [&](uint16_t cid, size_t body, size_t cend) {
            if (cid == 0x3D3D) chunks(body, cend, [&](uint16_t e, size_t b, size_t ce) { return editor(e, b, ce); });
            return cend;
        });
    }

private:
    [[noreturn]] static void readError() {
        std::printf("Error reading file\n");
        throw ParseFailure();
    }

    uint16_t u16(size_t& pos, size_t end) {
        if (pos > end || end - pos < 2) readError();
        uint16_t v = static_cast<uint16_t>(d_[pos] | (d_[pos + 1] << 8));
        pos += 2;
        return v;
    }
    uint32_t u32(size_t& pos, size_t end) {
        if (pos > end || end - pos < 4) readError();
        uint32_t v = static_cast<uint32_t>(d_[pos]) | (static_cast<uint32_t>(d_[pos + 1]) << 8) |
                     (static_cast<uint32_t>(d_[pos + 2]) << 16) | (static_cast<uint32_t>(d_[pos + 3]) << 24);
        pos += 4;
        return v;
    }
    float f32(size_t& pos, size_t end) {
        uint32_t bits = u32(pos, end);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    void need(size_t pos, size_t end, size_t bytes) {
        if (pos > end || end - pos < bytes) readError();
    }

    // A name runs to its NUL inside the chunk (or to the chunk's end); it keeps
    // its first kNameMax characters.
    std::string name(size_t& pos, size_t end) {
        size_t b = pos;
        while (pos < end && d_[pos] != 0) ++pos;
        std::string s(reinterpret_cast<const char*>(d_ + b), std::min(pos - b, kNameMax));
        if (pos < end) ++pos;  // the NUL
        return s;
    }

    // End of the chunk whose header starts at `pos`: a length below the
    // header's 6 bytes, or one that reaches past the parent, fails the parse.
    size_t chunkEnd(size_t pos, size_t parentEnd) {
        size_t p = pos + 2;
        uint32_t len = u32(p, parentEnd);
        if (len < 6 || len > parentEnd - pos) throw ParseFailure();
        return pos + len;
    }

    // Reads chunk headers while the position is before the parent's end. The
    // handler returns where the loop goes on (normally the chunk's end).
    template <typename F>
    void chunks(size_t pos, size_t end, F&& handler) {
        while (pos < end) {
            if (end - pos < 6) throw ParseFailure();
            size_t p = pos;
            uint16_t id = u16(p, end);
            size_t cend = chunkEnd(pos, end);
            size_t next = handler(id, pos + 6, cend);
            pos = next;
        }
    }

    size_t editor(uint16_t id, size_t body, size_t cend) {
        if (id == 0x4000) {
            size_t pos = body;
            std::string objName = name(pos, cend);
            chunks(pos, cend, [&](uint16_t cid, size_t b, size_t ce) {
                if (cid == 0x4100) {
                    tree_.meshes.emplace_back();
                    tree_.meshes.back().name = objName;
                    chunks(b, ce, [&](uint16_t mid, size_t mb, size_t mce) { return mesh(mid, mb, mce); });
                    // A mesh without vertices draws nothing and adds nothing to
                    // the centroid: not kept, so empty chunks cannot pile up records.
                    if (tree_.meshes.back().vertices.empty()) tree_.meshes.pop_back();
                }
                return ce;
            });
        } else if (id == 0xAFFF) {
            tree_.materials.emplace_back();
            chunks(body, cend, [&](uint16_t cid, size_t b, size_t ce) { return material(cid, b, ce); });
        }
        return cend;
    }

    size_t mesh(uint16_t id, size_t body, size_t cend) {
        Mesh3DS& m = tree_.meshes.back();
        size_t pos = body;
        switch (id) {
            case 0x4110: {
                uint16_t n = u16(pos, cend);
                need(pos, cend, size_t(n) * 12);
                m.vertices.resize(size_t(n) * 3);
                for (size_t i = 0; i < m.vertices.size(); ++i) m.vertices[i] = f32(pos, cend);
                return cend;
            }
            case 0x4120: {
                uint16_t n = u16(pos, cend);
                need(pos, cend, size_t(n) * 8);
                m.faces.resize(size_t(n) * 4);
                for (size_t i = 0; i < m.faces.size(); ++i) m.faces[i] = u16(pos, cend);
                // The face list's children (material groups, smoothing) are
                // read by the mesh's own loop, bounded by the mesh.
                return pos;
            }
            case 0x4130: {
                Group3DS g;
                g.name = name(pos, cend);
                uint16_t n = u16(pos, cend);
                need(pos, cend, size_t(n) * 2);
                g.faces.resize(n);
                for (auto& f : g.faces) f = u16(pos, cend);
                m.groups.push_back(std::move(g));
                return cend;
            }
            case 0x4140: {
                uint16_t n = u16(pos, cend);
                need(pos, cend, size_t(n) * 8);
                m.texcoords.resize(size_t(n) * 2);
                for (auto& t : m.texcoords) t = f32(pos, cend);
                return cend;
            }
            case 0x4160:
                need(pos, cend, 48);
                for (float& v : m.matrix) v = f32(pos, cend);
                m.hasMatrix = true;
                return cend;
            default:
                return cend;
        }
    }

    void colour(size_t body, size_t cend, float* rgb) {
        chunks(body, cend, [&](uint16_t id, size_t b, size_t ce) {
            size_t pos = b;
            if (id == 0x0010) {
                for (int i = 0; i < 3; ++i) rgb[i] = f32(pos, ce);
            } else if (id == 0x0011) {
                need(pos, ce, 3);
                for (int i = 0; i < 3; ++i) rgb[i] = d_[pos + i] * 0.00390625f;
            }
            return ce;
        });
    }

    size_t material(uint16_t id, size_t body, size_t cend) {
        Material3DS& mat = tree_.materials.back();
        size_t pos = body;
        switch (id) {
            case 0xA000:
                mat.name = name(pos, cend);
                break;
            case 0xA010:
                colour(body, cend, mat.ambient);
                break;
            case 0xA020:
                colour(body, cend, mat.diffuse);
                break;
            case 0xA030:
                colour(body, cend, mat.specular);
                break;
            case 0xA050:
                chunks(body, cend, [&](uint16_t cid, size_t b, size_t ce) {
                    if (cid == 0x0030) {
                        size_t p = b;
                        int16_t pct = static_cast<int16_t>(u16(p, ce));
                        mat.alpha = static_cast<float>(pct) / 100.0f;
                    }
                    return ce;
                });
                break;
            case 0xA081:
                mat.twoSided = 1;
                break;
            case 0xA200:
                chunks(body, cend, [&](uint16_t cid, size_t b, size_t ce) {
                    if (cid == 0xA300) {
                        size_t p = b;
                        mat.texture = name(p, ce);
                    }
                    return ce;
                });
                break;
            default:
                break;
        }
        return cend;
    }

    const uint8_t* d_;
    size_t size_;
    Tree3DS& tree_;
};

// ------------------------------------------------------------ build

struct Triangle {
    uint32_t v[3];
    float n[3];
};

bool unitNormal(const float* A, const float* B, const float* C, float* n) {
    double ux = B[0] - A[0], uy = B[1] - A[1], uz = B[2] - A[2];
    double vx = C[0] - B[0], vy = C[1] - B[1], vz = C[2] - B[2];
    double x = uy * vz - uz * vy, y = uz * vx - ux * vz, z = ux * vy - uy * vx;
    double len = std::sqrt(x * x + y * y + z * z);
    if (!(len > 0.0) || !std::isfinite(len)) return false;
    n[0] = static_cast<float>(x / len);
    n[1] = static_cast<float>(y / len);
    n[2] = static_cast<float>(z / len);
    return true;
}

double dist(const float* a, const float* b) {
    double x = a[0] - b[0], y = a[1] - b[1], z = a[2] - b[2];
    return std::sqrt(x * x + y * y + z * z);
}

std::unique_ptr<sg3DSModel> build(const Tree3DS& tree, const std::string& path, const sg3DSOptions& opt);

}  // namespace

// Stored texture names come from other systems: backslashes, drive letters,
// DOS upper-case names. A bare name lives in the model's folder; a name with a
// folder is tried as given, then by its trailing parts under the model's folder.
std::string resolve3DSTexturePath(const std::string& modelDir, const std::string& stored) {
    bool hasFolder = stored.find_first_of("\\:/") != std::string::npos;
    std::string candidate = hasFolder ? stored : pathJoin(modelDir, stored);
    std::vector<std::string> search;
    if (!modelDir.empty()) search.push_back(normalizeStoredPath(modelDir));
    return resolvePath(candidate, search);
}

size_t sg3DSModel::triangleCount() const {
    size_t n = 0;
    for (const auto& m : materials) n += m.indices.size() / 3;
    return n;
}

void set3DSOptions(const std::string& path, float creaseDegrees, int strips, int centre) {
    (void)path;
    g_options.creaseDegrees = creaseDegrees;
    g_options.strips = strips;
    g_options.centre = centre;
}

const sg3DSOptions& get3DSOptions() { return g_options; }

std::unique_ptr<sg3DSModel> read3DSModel(const std::string& path, const sg3DSOptions& options) {
    FILE* f = std::fopen(path.c_str(), "rb");
    struct stat st;
    if (f && (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode))) {
        // A folder or a device opens, but has no size to read.
        std::fclose(f);
        f = nullptr;
    }
    if (!f) {
        std::printf("Failed to open %s\n", path.c_str());
        return nullptr;
    }
    if (std::fseek(f, 0, SEEK_END) != 0) {
        std::printf("Error seeking %s\n", path.c_str());
        std::fclose(f);
        return nullptr;
    }
    long size = std::ftell(f);
    if (size < 0) {
        std::printf("Error sizing %s\n", path.c_str());
        std::fclose(f);
        return nullptr;
    }
    std::rewind(f);

    Tree3DS tree;
    bool parsed = false;
    try {
        std::vector<uint8_t> data(static_cast<size_t>(size));
        if (size > 0 && std::fread(data.data(), 1, data.size(), f) != data.size()) {
            std::printf("Error reading file\n");
            throw ParseFailure();
        }
        Parser(data, tree).parseFile();
        parsed = true;
    } catch (const ParseFailure&) {
    } catch (const std::bad_alloc&) {
        std::printf("Error allocating mem size %ld\n", size);
    } catch (const std::length_error&) {
        std::printf("Error allocating mem size %ld\n", size);
    }
    std::fclose(f);
    if (!parsed) {
        std::printf("Failed to parse %s\n", path.c_str());
        return nullptr;
    }

    // A mesh without material groups draws all its faces with the default.
    for (Mesh3DS& m : tree.meshes) {
        if (!m.groups.empty()) continue;
        Group3DS g;
        g.name = kDefaultMaterial;
        size_t n = m.faces.size() / 4;
        g.faces.resize(n);
        for (size_t i = 0; i < n; ++i) g.faces[i] = static_cast<uint16_t>(i);
        m.groups.push_back(std::move(g));
        tree.needDefault = true;
    }

    try {
        return build(tree, path, options);
    } catch (const std::bad_alloc&) {
        std::printf("Error reallocating memory\n");
        return nullptr;
    }
}

namespace {

std::unique_ptr<sg3DSModel> build(const Tree3DS& tree, const std::string& path, const sg3DSOptions& opt) {
    auto model = std::make_unique<sg3DSModel>();
    model->path = path;
    const std::string dir = pathFolder(path);

    // 1. Render materials: the default first when needed, then the file's.
    std::vector<sg3DSRenderMaterial>& mats = model->materials;
    if (tree.needDefault) {
        sg3DSRenderMaterial d;
        d.name = kDefaultMaterial;
        for (int i = 0; i < 3; ++i) {
            d.ambient[i] = d.diffuse[i] = 0.5f;
            d.specular[i] = 1.0f;
        }
        d.twoSided = 1;
        mats.push_back(std::move(d));
    }
    for (const Material3DS& fm : tree.materials) {
        sg3DSRenderMaterial m;
        m.name = fm.name;
        float alpha = fm.alpha < 0.01f ? 1.0f : fm.alpha;
        for (int i = 0; i < 3; ++i) {
            m.ambient[i] = fm.ambient[i];
            m.diffuse[i] = fm.diffuse[i];
            m.specular[i] = fm.specular[i];
        }
        m.ambient[3] = m.diffuse[3] = m.specular[3] = alpha;
        m.twoSided = fm.twoSided;
        m.textureName = fm.texture;
        if (!m.textureName.empty()) m.texturePath = resolve3DSTexturePath(dir, m.textureName);
        mats.push_back(std::move(m));
    }
    std::unordered_map<std::string, uint32_t> byName;
    for (uint32_t i = static_cast<uint32_t>(mats.size()); i-- > 0;) byName[mats[i].name] = i;

    // 2. Vertices: (x, y, z) as stored becomes (-x, z, y).
    size_t total = 0;
    for (const Mesh3DS& m : tree.meshes) total += m.vertices.size() / 3;
    std::vector<GLfloat>& vt = model->vertices;
    vt.reserve(total * 8 + total * 8 / 4);
    vt.resize(total * 8, 0.0f);
    double centroid[3] = {0, 0, 0};
    {
        size_t v = 0;
        for (const Mesh3DS& m : tree.meshes) {
            size_t n = m.vertices.size() / 3;
            size_t nt = m.texcoords.size() / 2;
            for (size_t i = 0; i < n; ++i, ++v) {
                float* out = &vt[v * 8];
                if (i < nt) {
                    out[0] = m.texcoords[2 * i];
                    out[1] = m.texcoords[2 * i + 1];
                }
                out[5] = -m.vertices[3 * i];
                out[6] = m.vertices[3 * i + 2];
                out[7] = m.vertices[3 * i + 1];
                centroid[0] += out[5];
                centroid[1] += out[6];
                centroid[2] += out[7];
            }
        }
    }
    const size_t readCount = total;

    // 3. Triangles per render material, with their unit face normals.
    std::vector<std::vector<Triangle>> perMat(mats.size());
    {
        size_t base = 0;
        for (const Mesh3DS& m : tree.meshes) {
            size_t nv = m.vertices.size() / 3;
            size_t nf = m.faces.size() / 4;
            for (const Group3DS& g : m.groups) {
                auto it = byName.find(g.name);
                if (it == byName.end()) continue;  // no such material: not drawn
                uint32_t mi = it->second;
                for (uint16_t fi : g.faces) {
                    if (fi >= nf) continue;
                    const uint16_t* f = &m.faces[size_t(fi) * 4];
                    if (f[0] >= nv || f[1] >= nv || f[2] >= nv) continue;
                    Triangle t;
                    t.v[0] = static_cast<uint32_t>(base + f[0]);
                    t.v[1] = static_cast<uint32_t>(base + f[1]);
                    t.v[2] = static_cast<uint32_t>(base + f[2]);
                    const float* A = &vt[t.v[0] * 8 + 5];
                    const float* B = &vt[t.v[1] * 8 + 5];
                    const float* C = &vt[t.v[2] * 8 + 5];
                    if (!unitNormal(A, B, C, t.n)) continue;
                    perMat[mi].push_back(t);
                    if (mats[mi].twoSided) {
                        Triangle r;
                        r.v[0] = t.v[0];
                        r.v[1] = t.v[2];
                        r.v[2] = t.v[1];
                        if (unitNormal(A, C, B, r.n)) perMat[mi].push_back(r);
                    }
                }
            }
            base += nv;
        }
    }
    std::vector<Triangle> tris;
    std::vector<size_t> matStart(mats.size() + 1, 0);
    {
        size_t n = 0;
        for (const auto& p : perMat) n += p.size();
        tris.reserve(n);
        for (size_t i = 0; i < perMat.size(); ++i) {
            matStart[i] = tris.size();
            tris.insert(tris.end(), perMat[i].begin(), perMat[i].end());
            std::vector<Triangle>().swap(perMat[i]);
        }
        matStart[mats.size()] = tris.size();
    }

    // 4. Adjacency: each triangle goes to the head of its vertices' lists, so
    // a list runs from the last triangle added to the first.
    std::vector<uint32_t> adjStart(total + 1, 0), adjCount(total, 0);
    std::vector<uint32_t> adj(tris.size() * 3);
    for (const Triangle& t : tris)
        for (uint32_t v : t.v) ++adjCount[v];
    for (size_t v = 0; v < total; ++v) adjStart[v + 1] = adjStart[v] + adjCount[v];
    {
        std::vector<uint32_t> fill(adjStart.begin(), adjStart.end() - 1);
        for (size_t ti = tris.size(); ti-- > 0;)
            for (uint32_t v : tris[ti].v) adj[fill[v]++] = static_cast<uint32_t>(ti);
    }
    adjStart.pop_back();

    // 5. Smoothing, including the copies this step appends.
    const bool smoothing = opt.creaseDegrees != 0.0f;
    const double threshold = std::cos(static_cast<double>(opt.creaseDegrees) * 0.01745327777777778);
    std::vector<uint32_t> moved;
    for (size_t v = 0; v < adjStart.size(); ++v) {
        uint32_t start = adjStart[v], count = adjCount[v];
        if (count == 0) continue;
        const float* ref = tris[adj[start]].n;
        double sum[3] = {0, 0, 0};
        moved.clear();
        uint32_t copy = 0;
        for (uint32_t k = 0; k < count; ++k) {
            uint32_t ti = adj[start + k];
            Triangle& t = tris[ti];
            int corner = t.v[0] == v ? 0 : t.v[1] == v ? 1 : 2;
            // The first triangle always counts, so every pass keeps at least
            // one and the copies end.
            bool counts = !smoothing || k == 0 ||
                          static_cast<double>(t.n[0]) * ref[0] + static_cast<double>(t.n[1]) * ref[1] +
                                  static_cast<double>(t.n[2]) * ref[2] >
                              threshold;
            if (!counts) {
                if (moved.empty()) {
                    // Same position and texture coordinates; its own normal.
                    copy = static_cast<uint32_t>(vt.size() / 8);
                    GLfloat entry[8];
                    std::copy(vt.begin() + static_cast<std::ptrdiff_t>(v * 8),
                              vt.begin() + static_cast<std::ptrdiff_t>(v * 8 + 8), entry);
                    vt.insert(vt.end(), entry, entry + 8);
                }
                t.v[corner] = copy;
                moved.push_back(ti);
                continue;
            }
            // Weight: acos((c*c - a*a - b*b) / (2ab)) with a, b the edges at
            // the vertex and c the opposite edge.
            const float* P = &vt[v * 8 + 5];
            const float* Q = &vt[size_t(t.v[(corner + 1) % 3]) * 8 + 5];
            const float* R = &vt[size_t(t.v[(corner + 2) % 3]) * 8 + 5];
            double a = dist(P, Q), b = dist(P, R), c = dist(Q, R);
            if (!(a > 0.0) || !(b > 0.0)) continue;
            double arg = (c * c - a * a - b * b) / (2.0 * a * b);
            arg = std::max(-1.0, std::min(1.0, arg));
            double w = std::acos(arg);
            sum[0] += w * t.n[0];
            sum[1] += w * t.n[1];
            sum[2] += w * t.n[2];
        }
        if (!moved.empty()) {
            adjStart.push_back(static_cast<uint32_t>(adj.size()));
            adjCount.push_back(static_cast<uint32_t>(moved.size()));
            adj.insert(adj.end(), moved.begin(), moved.end());
        }
        double len = std::sqrt(sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]);
        float* n = &vt[v * 8 + 2];
        if (len > 0.0 && std::isfinite(len)) {
            for (int i = 0; i < 3; ++i) n[i] = static_cast<float>(sum[i] / len);
        } else {
            for (int i = 0; i < 3; ++i) n[i] = ref[i];
        }
    }

    // 6. Centring on the vertices as read.
    if (opt.centre && readCount > 0) {
        float c[3];
        for (int i = 0; i < 3; ++i) c[i] = static_cast<float>(centroid[i] / static_cast<double>(readCount));
        for (size_t v = 0; v < vt.size() / 8; ++v)
            for (int i = 0; i < 3; ++i) vt[v * 8 + 5 + i] -= c[i];
    }

    // 7. Index lists.
    for (size_t mi = 0; mi < mats.size(); ++mi) {
        auto& idx = mats[mi].indices;
        idx.reserve((matStart[mi + 1] - matStart[mi]) * 3);
        for (size_t ti = matStart[mi]; ti < matStart[mi + 1]; ++ti)
            idx.insert(idx.end(), tris[ti].v, tris[ti].v + 3);
    }
    vt.shrink_to_fit();
    return model;
}

}  // namespace
