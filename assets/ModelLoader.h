// Model files by extension: 3DS and OBJ become one compiled display list.
#pragma once

#include <GL/gl.h>

#include <string>

// The first three characters after the last '.' of the path. 0 (and a debug
// print) when the path has no '.'.
int getExtension(const std::string& path, std::string& ext);

// Display list of the model at `path` (stored names with backslashes and DOS
// upper-case names are resolved), or 0. The extension is compared
// case-sensitively with "3ds", "3DS", "obj" and "OBJ". Every call returns a new
// list that the caller owns and deletes once; the parsed model is kept in the
// model table, so repeated calls for one file parse it once.
GLuint getModel(const std::string& path);

// 3DS with crease 45 degrees, no strips and the given centring.
GLuint convert3DS(const std::string& path, int centre);

// OBJ drawn with smooth normals and materials (mode 18).
GLuint convertOBJ(const std::string& path);
