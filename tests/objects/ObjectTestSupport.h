// Helpers for the object tests: what an object writes, diagnostic capture,
// geometry-set attribute access.
#pragma once

#include <GL/gl.h>

#include <utility>

#include "sg/sgAttrSet.h"
#include "sg/sgGeoSet.h"
#include "tests/support/TextCapture.h"

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
