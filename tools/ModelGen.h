// Writes simple models as 3DS and OBJ/MTL files: the program's chart part
// models, test fixtures and benchmark meshes. Positions are given in the
// program's model space (+y up); the 3DS writer stores them the way 3DS files
// hold them ((X, Y, Z) is written as (-X, Z, Y)).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace modelgen {

struct Material {
    std::string name;
    float ambient[3] = {0.2f, 0.2f, 0.2f};
    float diffuse[3] = {0.8f, 0.8f, 0.8f};
    float specular[3] = {0.0f, 0.0f, 0.0f};
    bool byteColours = false;  // 3DS: colours as bytes (0x0011) instead of floats
    int transparency = -1;     // 3DS percentage (0x0030); -1 writes none
    bool twoSided = false;
    std::string texture;       // file name as stored
    float shininess = -1.0f;   // MTL Ns; -1 writes none
};

struct Group {
    std::string material;
    std::vector<uint32_t> faces;  // triangle indices of the mesh
};

struct Mesh {
    std::string name;
    std::vector<float> positions;  // x, y, z per vertex
    std::vector<float> texcoords;  // s, t per vertex, or empty
    std::vector<float> normals;    // x, y, z per vertex, or empty (OBJ only)
    std::vector<uint32_t> triangles;  // three vertex indices each, counter-clockwise seen from outside
    std::vector<Group> groups;     // empty: the mesh names no material

    size_t vertexCount() const { return positions.size() / 3; }
    size_t triangleCount() const { return triangles.size() / 3; }
    // Puts every triangle in one group of the given material.
    void assign(const std::string& material);
    void translate(float x, float y, float z);
};

struct Scene {
    std::vector<Material> materials;
    std::vector<Mesh> meshes;
};

// Shapes, with normals (written to OBJ only). Textured shapes carry texture
// coordinates and repeat the vertices of their seam, which lies at the back
// (-z); untextured ones share them.
// Cylinder of the given radius standing on y = 0 up to y = height, with caps.
Mesh cylinder(float radius, float height, int sides, bool textured);
// Sphere about the origin, one vertex per pole.
Mesh sphere(float radius, int slices, int stacks, bool textured);
// Cube about the origin. Shared corners: 8 vertices; else 4 per face.
Mesh box(float size, bool sharedCorners);
// A rippled sheet of cols x rows cells in the x-z plane (2 triangles per cell).
Mesh grid(int cols, int rows, float cell);

// The default chart part models: a cylinder of diameter 10 and height 1 along
// +y, and a sphere of diameter 10 about the origin.
Scene chartCylinder();
Scene chartSphere();

// 3DS file image; empty (and `error` set) when a mesh has more than 65535
// vertices or triangles.
std::vector<uint8_t> write3DS(const Scene& scene, std::string* error = nullptr);

struct ObjOptions {
    bool normals = true;
    bool texcoords = true;
    bool groups = true;        // "g" per mesh
    std::string mtllib;        // written as "mtllib" and used for "usemtl" when not empty
};
std::string writeOBJ(const Scene& scene, const ObjOptions& options);
std::string writeMTL(const Scene& scene);

bool writeFile(const std::string& path, const std::string& bytes);
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

// Little-endian chunk writer for hand-made 3DS files (tests build broken ones
// with it): begin/end patch each chunk's length.
class ChunkWriter {
public:
    void begin(uint16_t id);
    void end();
    void u8(uint8_t v) { bytes.push_back(v); }
    void u16(uint16_t v);
    void u32(uint32_t v);
    void f32(float v);
    void str(const std::string& s);  // with its NUL
    void raw(const void* p, size_t n);
    // A chunk header with an explicit length, for broken files.
    void header(uint16_t id, uint32_t length);

    std::vector<uint8_t> bytes;

private:
    std::vector<size_t> open_;
};

}  // namespace modelgen
