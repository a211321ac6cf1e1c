// Invariants of a model the OBJ reader returns: every index it stored
// designates an entry that exists.
#pragma once

#include <cstdlib>

#include "assets/ObjModel.h"

namespace fuzzmodels {

inline void checkObj(const sgObjModel& m) {
    if (m.vertices.size() != 3 * (size_t(m.numvertices) + 1)) std::abort();
    for (const sgObjTriangle& t : m.triangles)
        for (int k = 0; k < 3; ++k) {
            if (t.vindices[k] < 1 || t.vindices[k] > m.numvertices) std::abort();
            if (t.nindices[k] > m.numnormals || t.tindices[k] > m.numtexcoords) std::abort();
        }
    for (const auto& g : m.groups) {
        if (!m.materials.empty() && g->material >= m.materials.size()) std::abort();
        for (GLuint ti : g->triangles)
            if (ti >= m.triangles.size()) std::abort();
    }
}

}  // namespace fuzzmodels
