// Wavefront OBJ models with their MTL material libraries: read into memory,
// drawn into a display list, freed.
#pragma once

#include <GL/gl.h>

#include <memory>
#include <string>
#include <vector>

// glmRender mode bits.
enum {
    OBJ_FACET_NORMALS = 1,
    OBJ_VERTEX_NORMALS = 2,
    OBJ_TEXCOORDS = 4,
    OBJ_COLOUR = 8,  // the diffuse colour as the current colour
    OBJ_MATERIALS = 16,
};
// Indices are 1-based as in the file; 0 means "none" (a corner without a
// normal or texture coordinate).
struct sgObjTriangle {
    GLuint vindices[3] = {0, 0, 0};
    GLuint nindices[3] = {0, 0, 0};
    GLuint tindices[3] = {0, 0, 0};
    GLuint findex = 0;
};

struct sgObjMaterial {
    std::string name;
    GLfloat diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    GLfloat ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    GLfloat specular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    GLfloat shininess = 0.0f;
};

struct sgObjGroup {
    std::string name;
    GLuint material = 0;
    std::vector<GLuint> triangles;  // indices into sgObjModel::triangles
};

struct sgObjModel {
    std::string pathname;
    std::string mtllibname;

    // Each array has a spare entry 0 in front so the file's 1-based indices
    // address it directly: vertices and normals 3 floats, texcoords 2.
    GLuint numvertices = 0;
    std::vector<GLfloat> vertices;
    GLuint numnormals = 0;
    std::vector<GLfloat> normals;
    GLuint numtexcoords = 0;
    std::vector<GLfloat> texcoords;
    GLuint numfacetnorms = 0;  // never computed; kept for the mode rules
    std::vector<GLfloat> facetnorms;

    std::vector<sgObjTriangle> triangles;
    // Material 0 is "default"; empty when the file names no material library.
    std::vector<sgObjMaterial> materials;
    // In creation order; "default" first. Drawing walks them from the last
    // created back to "default".
    std::vector<std::unique_ptr<sgObjGroup>> groups;

    GLfloat position[3] = {0.0f, 0.0f, 0.0f};

    GLuint numtriangles() const { return static_cast<GLuint>(triangles.size()); }
    GLuint nummaterials() const { return static_cast<GLuint>(materials.size()); }
};

// Reads the model and its material library. Null, after printing why, when the
// file cannot be opened or holds an unknown 'v' token. A material library that
// cannot be read is reported once and leaves only the default material.
std::unique_ptr<sgObjModel> glmReadOBJ(const std::string& path);

// How the reader splits a file's text to convert its pieces side by side.
// The model read is the same whatever the split.
struct sgObjReadSplit {
    size_t chunkBytes = 0;  // a piece ends at the end of the line this many bytes on; 0: by the file's size
    unsigned threads = 0;   // 0: the machine's processors, up to eight
};
std::unique_ptr<sgObjModel> glmReadOBJ(const std::string& path, const sgObjReadSplit& split);

// Draws the model into a new display list; returns its id (0 when GL gives none).
GLuint glmCompileList(const sgObjModel* model, GLuint mode);

// Issues the model's triangles with the attributes the mode bits select.
void glmRender(const sgObjModel* model, GLuint mode);

void glmFree(std::unique_ptr<sgObjModel> model);
