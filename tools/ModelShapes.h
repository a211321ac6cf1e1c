// The stock models of the model chooser: 52 closed meshes shaped like their
// names, each about 200 units across and centred on the origin.
#pragma once

#include <string>
#include <vector>

#include "tools/ModelGen.h"

namespace modelgen {

// In the chooser's order; each mesh is named like its file.
std::vector<Mesh> stockModels();

// Moves the mesh's bounding box centre to the origin and scales it evenly so
// that its largest side is size long.
void fitInto(Mesh& m, double size);

}  // namespace modelgen
