// Helpers for the model reader tests: scratch folders, captured output,
// external oracles and what a compiled display list draws (GL feedback).
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace modeltest {

using ::TempDir;

// Output of a shell command (standard output and error), and its exit status.
std::string runCommand(const std::string& command, int* status = nullptr);

// Faces and vertices that `assimp info` reports for a file; false when the
// tool fails.
struct AssimpCounts {
    long faces = -1;
    long vertices = -1;
};
bool assimpInfo(const std::string& path, AssimpCounts& out);

// One corner as drawn: object-space position, texture coordinate and normal.
struct DrawnVertex {
    float pos[3];
    float tex[2];
    float normal[3];
};
struct DrawnTriangle {
    DrawnVertex v[3];
};

// Calls the list in feedback mode with an orthographic view of the cube
// [-extent, extent]^3 (nothing may lie outside it) and returns its triangles.
// A second pass with normal-map texture generation captures the normals.
// Needs a current GL context.
std::vector<DrawnTriangle> captureList(GLuint list, float extent);

// Distinct drawn vertices: corners equal in position, texture coordinate and
// (withNormals) normal, to about 1e-4 of the extent, count once.
size_t distinctVertices(const std::vector<DrawnTriangle>& tris, float extent, bool withNormals = true);

// Unit normal of the triangle's winding.
void faceNormal(const DrawnTriangle& t, float* n);

}  // namespace modeltest
