// 3DS scene files: every triangle mesh with its materials, textures and
// crease-smoothed vertex normals, compiled into one display list.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct sg3DSOptions {
    float creaseDegrees = 45.0f;  // 0 turns the crease test off: every corner is averaged
    int strips = 0;               // accepted, never built: the model is drawn as triangles
    int centre = 0;               // moves the centroid of the vertices as read to the origin
};

// Options for the next load3DS (module-wide, as the reader reads one file at a time).
void set3DSOptions(const std::string& path, float creaseDegrees, int strips, int centre);
const sg3DSOptions& get3DSOptions();

// Reads the file and compiles it into a new display list owned by the caller.
// 0, after printing why, when the file cannot be read.
GLuint load3DS(const std::string& path);

// ---- The reader in two steps, for the model table: read and build once,
// compile as often as needed.

struct sg3DSRenderMaterial {
    std::string name;
    GLfloat ambient[4] = {0, 0, 0, 1};
    GLfloat diffuse[4] = {0, 0, 0, 1};
    GLfloat specular[4] = {0, 0, 0, 1};
    int twoSided = 0;
    std::string textureName;  // as stored in the file
    std::string texturePath;  // resolved against the model's folder
    GLuint texture = 0;       // made on the first compile; kept while the model is
    bool textureTried = false;
    std::vector<uint32_t> indices;  // three vertex indices per triangle
};

struct sg3DSModel {
    std::string path;
    // 8 floats per vertex: s, t, normal x, y, z, position x, y, z
    // (GL_T2F_N3F_V3F).
    std::vector<GLfloat> vertices;
    std::vector<sg3DSRenderMaterial> materials;

    size_t vertexCount() const { return vertices.size() / 8; }
    size_t triangleCount() const;
};

// Files past this size are refused before reading: far more than any model
// the program draws (every mesh holds at most 65,535 vertices and faces).
constexpr size_t kMax3DSFileBytes = size_t(256) << 20;

// Parse and build without GL. Null after printing the reader's messages.
std::unique_ptr<sg3DSModel> read3DSModel(const std::string& path, const sg3DSOptions& options);

// Loads the textures not yet tried (needs a current GL context) and compiles
// a new display list owned by the caller. 0 when GL gives no list.
GLuint compile3DSModel(sg3DSModel& model);

// The file a texture name stored in a model designates, looked for beside the
// model (the folder `modelDir`, ending in a separator, or empty).
std::string resolve3DSTexturePath(const std::string& modelDir, const std::string& stored);

// Deletes the model's GL textures (with the context that made them current).
void release3DSTextures(sg3DSModel& model);
