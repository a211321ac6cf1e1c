#include "tools/ChartShapes.h"

#include <cmath>
#include <cstdio>

#include "tools/ShapeBuilders.h"

namespace modelgen {

uint32_t vertex(Mesh& m, double x, double y, double z, double nx, double ny, double nz) {
    m.positions.insert(m.positions.end(), {float(x), float(y), float(z)});
    m.normals.insert(m.normals.end(), {float(nx), float(ny), float(nz)});
    return static_cast<uint32_t>(m.vertexCount() - 1);
}

// A triangle whose winding faces the given direction.
void facing(Mesh& m, uint32_t a, uint32_t b, uint32_t c, double nx, double ny, double nz) {
    const float* p = m.positions.data();
    double u[3], v[3];
    for (int i = 0; i < 3; ++i) {
        u[i] = p[3 * b + i] - p[3 * a + i];
        v[i] = p[3 * c + i] - p[3 * a + i];
    }
    const double cx = u[1] * v[2] - u[2] * v[1], cy = u[2] * v[0] - u[0] * v[2], cz = u[0] * v[1] - u[1] * v[0];
    if (cx * nx + cy * ny + cz * nz < 0)
        m.triangles.insert(m.triangles.end(), {a, c, b});
    else
        m.triangles.insert(m.triangles.end(), {a, b, c});
}

double signedArea(const Outline& o) {
    double a = 0;
    for (size_t i = 0; i < o.size(); ++i) {
        const P& p = o[i];
        const P& q = o[(i + 1) % o.size()];
        a += p.x * q.z - q.x * p.z;
    }
    return a / 2;
}

// The walls of an outline from y 0 to 1, facing away from the solid.
void walls(Mesh& m, const Outline& o, bool hole) {
    // Outward of an anticlockwise outline (x right, z up) is (dz, -dx).
    const double turn = (signedArea(o) > 0) == hole ? -1 : 1;
    for (size_t i = 0; i < o.size(); ++i) {
        const P& p = o[i];
        const P& q = o[(i + 1) % o.size()];
        double nx = (q.z - p.z) * turn, nz = -(q.x - p.x) * turn;
        const double l = std::hypot(nx, nz);
        if (l == 0) continue;
        nx /= l;
        nz /= l;
        const uint32_t a = vertex(m, p.x, 0, p.z, nx, 0, nz), b = vertex(m, q.x, 0, q.z, nx, 0, nz);
        const uint32_t c = vertex(m, q.x, 1, q.z, nx, 0, nz), d = vertex(m, p.x, 1, p.z, nx, 0, nz);
        facing(m, a, b, c, nx, 0, nz);
        facing(m, a, c, d, nx, 0, nz);
    }
}

// A solid prism whose caps are fans about the centre (the outline is seen
// whole from there).
Mesh prism(const std::string& name, const Outline& o, P centre) {
    Mesh m;
    m.name = name;
    walls(m, o, false);
    for (int cap = 0; cap < 2; ++cap) {
        const double ny = cap ? 1 : -1;
        const uint32_t c = vertex(m, centre.x, cap, centre.z, 0, ny, 0);
        const uint32_t first = static_cast<uint32_t>(m.vertexCount());
        for (const P& p : o) vertex(m, p.x, cap, p.z, 0, ny, 0);
        for (size_t i = 0; i < o.size(); ++i)
            facing(m, c, first + uint32_t(i), first + uint32_t((i + 1) % o.size()), 0, ny, 0);
    }
    return m;
}

Mesh ring(const std::string& name, const Outline& outer, const Outline& inner) {
    Mesh m;
    m.name = name;
    walls(m, outer, false);
    walls(m, inner, true);
    for (int cap = 0; cap < 2; ++cap) {
        const double ny = cap ? 1 : -1;
        const uint32_t first = static_cast<uint32_t>(m.vertexCount());
        for (size_t i = 0; i < outer.size(); ++i) {
            vertex(m, outer[i].x, cap, outer[i].z, 0, ny, 0);
            vertex(m, inner[i].x, cap, inner[i].z, 0, ny, 0);
        }
        const uint32_t n = static_cast<uint32_t>(outer.size());
        for (uint32_t i = 0; i < n; ++i) {
            const uint32_t o0 = first + 2 * i, i0 = o0 + 1, o1 = first + 2 * ((i + 1) % n), i1 = o1 + 1;
            facing(m, o0, o1, i1, 0, ny, 0);
            facing(m, o0, i1, i0, 0, ny, 0);
        }
    }
    return m;
}

Outline regular(int sides, double radius, double start) {
    Outline o;
    for (int i = 0; i < sides; ++i) {
        const double a = start + 2 * kPi * i / sides;
        o.push_back({radius * std::sin(a), radius * std::cos(a)});
    }
    return o;
}

Outline rect(double hx, double hz) { return {{-hx, -hz}, {hx, -hz}, {hx, hz}, {-hx, hz}}; }

// A rectangle with its corners cut by b (bevel) or rounded with radius b.
Outline corners(double hx, double hz, double b, int steps) {
    Outline o;
    const P centres[4] = {{hx - b, hz - b}, {-(hx - b), hz - b}, {-(hx - b), -(hz - b)}, {hx - b, -(hz - b)}};
    for (int k = 0; k < 4; ++k)
        for (int s = 0; s <= steps; ++s) {
            const double a = kPi / 2 * (k + double(s) / steps);
            o.push_back({centres[k].x + b * std::cos(a), centres[k].z + b * std::sin(a)});
        }
    return o;
}

Outline star(int points, double outer, double inner) {
    Outline o;
    for (int i = 0; i < 2 * points; ++i) {
        const double a = kPi * i / points, r = i % 2 ? inner : outer;
        o.push_back({r * std::sin(a), -r * std::cos(a)});
    }
    return o;
}

// The classic heart curve, its point towards +z, scaled into +-5.
Outline heart() {
    Outline o;
    for (int i = 0; i < 48; ++i) {
        const double t = 2 * kPi * i / 48, s = std::sin(t);
        const double x = 16 * s * s * s;
        const double y = 13 * std::cos(t) - 5 * std::cos(2 * t) - 2 * std::cos(3 * t) - std::cos(4 * t);
        o.push_back({x * 5 / 17, -(y + 2.5) * 5 / 17});
    }
    return o;
}

Mesh scaled(Mesh m, const std::string& name, float sx, float sy, float sz) {
    m.name = name;
    for (size_t i = 0; i + 2 < m.positions.size(); i += 3) {
        m.positions[i] *= sx;
        m.positions[i + 1] *= sy;
        m.positions[i + 2] *= sz;
    }
    return m;
}

// Two square pyramids base to base.
Mesh bipyramid(const std::string& name, double radius, double height) {
    Mesh m;
    m.name = name;
    const Outline base = regular(4, radius);
    for (int tip = -1; tip <= 1; tip += 2)
        for (size_t i = 0; i < base.size(); ++i) {
            const P& p = base[i];
            const P& q = base[(i + 1) % base.size()];
            // Convex about the origin: a face's centroid points outwards.
            const double nx = (p.x + q.x) / 3, ny = tip * height / 3, nz = (p.z + q.z) / 3;
            const uint32_t a = vertex(m, p.x, 0, p.z, nx, ny, nz), b = vertex(m, q.x, 0, q.z, nx, ny, nz);
            const uint32_t c = vertex(m, 0, tip * height, 0, nx, ny, nz);
            facing(m, a, b, c, nx, ny, nz);
        }
    return m;
}

std::vector<ChartShape> chartShapes() {
    std::vector<ChartShape> s;
    auto cut = [&](Mesh m) {
        std::string name = m.name;
        s.push_back({name, false, std::move(m)});
    };
    cut(chartCylinder().meshes[0]);
    Mesh circle = cylinder(5.0f, 1.0f, 48, false);
    circle.name = "circle";
    cut(circle);
    cut(prism("tri1", regular(3, 5, kPi)));
    cut(prism("rect1", rect(5, 3)));
    cut(prism("slimrect1", rect(5, 1.5)));
    cut(prism("square", rect(4, 4)));
    cut(prism("5gon", regular(5, 5)));
    cut(prism("6gon", regular(6, 5)));
    cut(prism("8gon1", regular(8, 5, kPi / 8)));
    Mesh thin = cylinder(2.5f, 1.0f, 32, false);
    thin.name = "cyl5x";
    cut(thin);
    cut(prism("beveledrec", corners(5, 5, 1.5, 1)));
    cut(prism("rdrect", corners(5, 3.5, 1.5, 6)));
    cut(prism("beveledrec2", corners(5, 3, 1, 1)));
    cut(ring("hcircle", regular(40, 5), regular(40, 3)));
    cut(ring("hrect", rect(5, 5), rect(3, 3)));
    cut(prism("heart", heart(), {0, 0.5}));
    cut(prism("star1", star(5, 5, 2)));

    auto joint = [&](Mesh m) {
        std::string name = m.name;
        s.push_back({name, true, std::move(m)});
    };
    joint(chartSphere().meshes[0]);
    joint(scaled(box(2.0f, false), "2-6box", 3, 1, 3));
    joint(scaled(box(2.0f, false), "box2x", 2, 2, 2));
    joint(bipyramid("2tetracone2x", 4, 5));
    return s;
}

std::string chartShapePictureScene(const ChartShape& shape, const std::string& modelPath) {
    // Seen from 30 units away, 40 degrees above the shape's middle.
    return shapePictureScene(shape.name, modelPath, shape.joint ? 0.0 : 0.5, 30, 40);
}

std::string shapePictureScene(const std::string& name, const std::string& modelPath, double cy, double d, double width) {
    const double elevation = 40 * kPi / 180;
    const double py = cy + d * std::sin(elevation), pz = d * std::cos(elevation);
    char text[2048];
    std::snprintf(text, sizeof text,
                  "scene {\n    name\t\"%s\"\n    width\t36\n    height\t36\n    version\t250\n}\n\n"
                  "viewpoint {\n    name\t\"camera\"\n    position\t( 0.000000 %f %f )\n"
                  "    direction\t( 0.000000 %f %f )\n    near\t1.000000\n    far\t\t%f\n"
                  "    fov\t\t30.000000\n    width\t\t%f\n    perspective\t\t1\n}\n\n"
                  "background {\n    name\t\"Background\"\n    color\t( 0.850000 0.850000 0.850000 1.000000 )\n"
                  "    useTexture\t0\n}\n\n"
                  "material {\n    name\t\"shape\"\n    diffuse\t( 0.200000 0.400000 0.900000 )\n"
                  "    ambient\t( 0.100000 0.150000 0.300000 )\n    specular\t( 0.400000 0.400000 0.400000 )\n"
                  "    shininess\t30.000000\n}\n\n"
                  "light {\n    name\t\"key\"\n    position\t( %f %f %f )\n"
                  "    positional\t1\n    on\t1\n}\n\n"
                  "model {\n    name\t\"%s\"\n    file\t\"%s\"\n    material\t\"shape\"\n    forward\t0\n"
                  "    mode\t2\n}\n\nevent {\n    name\t\"show\"\n    objectName\t\"%s\"\n}\n",
                  name.c_str(), py, pz, -std::sin(elevation), -std::cos(elevation), d * 200 / 30, width,
                  d * 2 / 3, d * 4 / 3, d, name.c_str(), modelPath.c_str(), name.c_str());
    return text;
}

}  // namespace modelgen
