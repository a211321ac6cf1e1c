// The chart shapes offered by the shape choosers: cut shapes (prisms from
// y = 0 to 1 within |x|, |z| <= 5, as "cyl10x") and joint shapes (centred
// within +-5, as "sphere10x"), and the small scenes their pictures are
// rendered from.
#pragma once

#include <string>
#include <vector>

#include "tools/ModelGen.h"

namespace modelgen {

struct ChartShape {
    std::string name;  // file name without extension
    bool joint;        // centred about the origin; else standing on y = 0
    Mesh mesh;
};

// Every cut and joint shape, "cyl10x" and "sphere10x" included.
std::vector<ChartShape> chartShapes();

// A scene of one model (the shape's file) seen from above and in front, at
// 36 x 36 pixels, for its chooser picture.
std::string chartShapePictureScene(const ChartShape& shape, const std::string& modelPath);

}  // namespace modelgen
