// Helpers for the object tests: what an object writes, diagnostic capture,
// geometry-set attribute access.
#pragma once

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "scene/pnObject.h"
#include "sg/sgAttrSet.h"
#include "sg/sgGeoSet.h"
#include "sg/sgRuntime.h"

// The text obj.write writes, and its result.
inline std::string writtenBy(pnObject& obj, int convertPaths = 0, int* result = nullptr) {
    char* buf = nullptr;
    size_t len = 0;
    FILE* f = open_memstream(&buf, &len);
    int r = obj.write(f, convertPaths);
    std::fclose(f);
    std::string text(buf ? buf : "", len);
    std::free(buf);
    if (result) *result = r;
    return text;
}

// Collects the "TORVIS: " diagnostic prints while it lives.
class DiagnosticLog {
public:
    DiagnosticLog() : file_(std::tmpfile()) { setDiagnosticStream(file_); }
    ~DiagnosticLog() {
        setDiagnosticStream(nullptr);
        if (file_) std::fclose(file_);
    }
    DiagnosticLog(const DiagnosticLog&) = delete;
    DiagnosticLog& operator=(const DiagnosticLog&) = delete;
    std::string text() {
        std::string out;
        if (!file_) return out;
        std::fflush(file_);
        std::rewind(file_);
        char buf[512];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, file_)) > 0) out.append(buf, n);
        return out;
    }

private:
    FILE* file_;
};

inline const sgAttrRecord* attrOf(const sgGeoSet* set, int key) {
    if (!set) return nullptr;
    if (const sgAttrRecord* r = set->findAttr(key)) return r;
    return set->getSharedAttrSet() ? set->getSharedAttrSet()->findAttr(key) : nullptr;
}

// Vertex i of a face set (through its index list).
struct Vec3f {
    float x, y, z;
};
inline Vec3f cornerOf(const sgGeoSet* set, int i) {
    const sgAttrRecord* v = attrOf(set, GL_VERTEX_ARRAY);
    int e = v->index[static_cast<size_t>(i)];
    const float* p = &v->floats[static_cast<size_t>(e) * 3];
    return {p[0], p[1], p[2]};
}
inline Vec3f normalOf(const sgGeoSet* set) {
    const sgAttrRecord* n = attrOf(set, GL_NORMAL_ARRAY);
    int e = n->index[0];
    const float* p = &n->floats[static_cast<size_t>(e) * 3];
    return {p[0], p[1], p[2]};
}
// Texture coordinate i of a face set, as (u, v).
inline std::pair<float, float> texCoordOf(const sgGeoSet* set, int i) {
    const sgAttrRecord* t = attrOf(set, GL_TEXTURE_COORD_ARRAY);
    int e = t->index[static_cast<size_t>(i)];
    return {t->floats[static_cast<size_t>(e) * 2], t->floats[static_cast<size_t>(e) * 2 + 1]};
}
