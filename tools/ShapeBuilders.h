// The mesh builders the generated shapes share: outlines in the x-z plane,
// prisms and rings from y = 0 to 1, and the small helpers they are made of.
#pragma once

#include <string>
#include <vector>

#include "tools/ModelGen.h"

namespace modelgen {

constexpr double kPi = 3.14159265358979323846;

struct P {
    double x, z;
};
using Outline = std::vector<P>;

uint32_t vertex(Mesh& m, double x, double y, double z, double nx, double ny, double nz);
// A triangle whose winding faces the given direction.
void facing(Mesh& m, uint32_t a, uint32_t b, uint32_t c, double nx, double ny, double nz);
double signedArea(const Outline& o);
// The walls of an outline from y 0 to 1, facing away from the solid.
void walls(Mesh& m, const Outline& o, bool hole);
// A solid prism whose caps are fans about the centre.
Mesh prism(const std::string& name, const Outline& o, P centre = {0, 0});
// A prism with a hole: outer and inner outlines of the same length.
Mesh ring(const std::string& name, const Outline& outer, const Outline& inner);
Outline regular(int sides, double radius, double start = 0);
Outline rect(double hx, double hz);
// A rectangle with its corners cut by b (steps 1) or rounded with radius b.
Outline corners(double hx, double hz, double b, int steps);
Outline star(int points, double outer, double inner);
Outline heart();
Mesh scaled(Mesh m, const std::string& name, float sx, float sy, float sz);
// Two square pyramids base to base.
Mesh bipyramid(const std::string& name, double radius, double height);

// A scene of one model seen from d units away, 40 degrees above (0, cy, 0),
// with a view width, at 36 x 36 pixels: a chooser picture.
std::string shapePictureScene(const std::string& name, const std::string& modelPath, double cy, double d,
                              double width);

}  // namespace modelgen
