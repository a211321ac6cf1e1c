#include "tools/ModelShapes.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "tools/ShapeBuilders.h"

namespace modelgen {

namespace {

using Profile = std::vector<P>;  // (radius, height) from the axis round to the axis

void append(Mesh& to, const Mesh& from) {
    const uint32_t base = static_cast<uint32_t>(to.vertexCount());
    to.positions.insert(to.positions.end(), from.positions.begin(), from.positions.end());
    to.normals.insert(to.normals.end(), from.normals.begin(), from.normals.end());
    for (uint32_t i : from.triangles) to.triangles.push_back(base + i);
}

Mesh merged(const std::string& name, const std::vector<Mesh>& parts) {
    Mesh m;
    m.name = name;
    for (const Mesh& p : parts) append(m, p);
    return m;
}

Mesh moved(Mesh m, float x, float y, float z) {
    m.translate(x, y, z);
    return m;
}

// Applies a rotation matrix (rows) to positions and normals.
Mesh rotated(Mesh m, const std::array<double, 9>& r) {
    for (std::vector<float>* v : {&m.positions, &m.normals})
        for (size_t i = 0; i + 2 < v->size(); i += 3) {
            const double x = (*v)[i], y = (*v)[i + 1], z = (*v)[i + 2];
            (*v)[i] = float(r[0] * x + r[1] * y + r[2] * z);
            (*v)[i + 1] = float(r[3] * x + r[4] * y + r[5] * z);
            (*v)[i + 2] = float(r[6] * x + r[7] * y + r[8] * z);
        }
    return m;
}

// The rotation that turns +y onto the unit direction (dx, dy, dz).
std::array<double, 9> upTo(double dx, double dy, double dz) {
    const double l = std::sqrt(dx * dx + dy * dy + dz * dz);
    dx /= l, dy /= l, dz /= l;
    if (dy < -0.999999) return {1, 0, 0, 0, -1, 0, 0, 0, -1};
    // Rodrigues' formula for the axis y x d.
    const double kx = dz, kz = -dx, c = dy, f = 1 / (1 + c);
    return {1 - kz * kz * f, -kz, kx * kz * f, kz, c, -kx, kx * kz * f, kx, 1 - kx * kx * f};
}

// Stands a shape made in the x-z plane up: its outline faces +z.
Mesh standing(Mesh m) { return rotated(std::move(m), {1, 0, 0, 0, 0, 1, 0, -1, 0}); }

bool inside(const P& p, const P& a, const P& b, const P& c) {
    auto side = [](const P& u, const P& v, const P& w) { return (v.x - u.x) * (w.z - u.z) - (v.z - u.z) * (w.x - u.x); };
    // On an edge counts as inside: a diagonal through a vertex would split an edge.
    return side(a, b, p) >= 0 && side(b, c, p) >= 0 && side(c, a, p) >= 0;
}

// Ear clipping of a simple outline (counter-clockwise in x-z).
std::vector<std::array<size_t, 3>> triangulate(const Outline& o) {
    std::vector<size_t> left(o.size());
    for (size_t i = 0; i < o.size(); ++i) left[i] = i;
    std::vector<std::array<size_t, 3>> out;
    while (left.size() > 3) {
        bool clipped = false;
        for (size_t i = 0; i < left.size() && !clipped; ++i) {
            const size_t a = left[(i + left.size() - 1) % left.size()], b = left[i], c = left[(i + 1) % left.size()];
            const double cross = (o[b].x - o[a].x) * (o[c].z - o[a].z) - (o[b].z - o[a].z) * (o[c].x - o[a].x);
            if (cross <= 0) continue;
            bool ear = true;
            for (size_t k : left)
                if (k != a && k != b && k != c && inside(o[k], o[a], o[b], o[c])) ear = false;
            if (!ear) continue;
            out.push_back({a, b, c});
            left.erase(left.begin() + long(i));
            clipped = true;
        }
        if (!clipped) break;  // not simple: leave the rest open rather than loop
    }
    if (left.size() == 3) out.push_back({left[0], left[1], left[2]});
    return out;
}

// A closed prism of any simple outline from y = 0 to depth.
Mesh extruded(const std::string& name, Outline o, double depth) {
    if (signedArea(o) < 0) std::reverse(o.begin(), o.end());
    Mesh m;
    m.name = name;
    walls(m, o, false);
    for (int cap = 0; cap < 2; ++cap) {
        const double ny = cap ? 1 : -1;
        const uint32_t first = static_cast<uint32_t>(m.vertexCount());
        for (const P& p : o) vertex(m, p.x, cap, p.z, 0, ny, 0);
        for (const auto& t : triangulate(o))
            facing(m, first + uint32_t(t[0]), first + uint32_t(t[1]), first + uint32_t(t[2]), 0, ny, 0);
    }
    return scaled(std::move(m), name, 1, float(depth), 1);
}

// A flat plate of the outline (x right, z up), depth thick, facing +z.
Mesh plate(const std::string& name, const Outline& o, double depth) { return standing(extruded(name, o, depth)); }

Mesh platedRing(const std::string& name, const Outline& outer, const Outline& inner, double depth) {
    return standing(scaled(ring(name, outer, inner), name, 1, float(depth), 1));
}

// Turns a profile about the y axis; the profile runs from the axis at the
// bottom round to the axis at the top, so the surface is closed.
Mesh lathe(const std::string& name, const Profile& profile, int sides) {
    Mesh m;
    m.name = name;
    for (size_t s = 0; s + 1 < profile.size(); ++s) {
        const P& p = profile[s];
        const P& q = profile[s + 1];
        const double nr = q.z - p.z, ny = -(q.x - p.x);
        for (int k = 0; k < sides; ++k) {
            const double a0 = 2 * kPi * k / sides, a1 = 2 * kPi * (k + 1) / sides, am = (a0 + a1) / 2;
            const double nx = nr * std::cos(am), nz = nr * std::sin(am);
            const uint32_t v0 = vertex(m, p.x * std::cos(a0), p.z, p.x * std::sin(a0), nx, ny, nz);
            const uint32_t v1 = vertex(m, p.x * std::cos(a1), p.z, p.x * std::sin(a1), nx, ny, nz);
            const uint32_t v2 = vertex(m, q.x * std::cos(a1), q.z, q.x * std::sin(a1), nx, ny, nz);
            const uint32_t v3 = vertex(m, q.x * std::cos(a0), q.z, q.x * std::sin(a0), nx, ny, nz);
            // A point on the axis (within rounding) closes the surface there.
            if (p.x > 1e-6) facing(m, v0, v1, v2, nx, ny, nz);
            if (q.x > 1e-6) facing(m, v0, v2, v3, nx, ny, nz);
        }
    }
    return m;
}

Mesh torus(const std::string& name, double big, double small, int rings, int sides) {
    Mesh m;
    m.name = name;
    auto at = [&](int i, int j, double& cx, double& cz) {
        const double a = 2 * kPi * i / rings, b = 2 * kPi * j / sides;
        cx = std::cos(a), cz = std::sin(a);
        return std::array<double, 3>{(big + small * std::cos(b)) * cx, small * std::sin(b), (big + small * std::cos(b)) * cz};
    };
    for (int i = 0; i < rings; ++i)
        for (int j = 0; j < sides; ++j) {
            uint32_t v[4];
            double n[3] = {0, 0, 0};
            const int di[4] = {0, 1, 1, 0}, dj[4] = {0, 0, 1, 1};
            std::array<double, 3> pts[4];
            for (int k = 0; k < 4; ++k) {
                double cx, cz;
                pts[k] = at(i + di[k], j + dj[k], cx, cz);
                n[0] += pts[k][0] - big * cx, n[1] += pts[k][1], n[2] += pts[k][2] - big * cz;
            }
            for (int k = 0; k < 4; ++k) v[k] = vertex(m, pts[k][0], pts[k][1], pts[k][2], n[0], n[1], n[2]);
            facing(m, v[0], v[1], v[2], n[0], n[1], n[2]);
            facing(m, v[0], v[2], v[3], n[0], n[1], n[2]);
        }
    return m;
}

Profile hemisphere(double r, double y0, bool upper) {
    Profile p;
    const int steps = 12;
    if (upper) {
        p.push_back({0, y0});
        for (int i = 0; i <= steps; ++i) {
            const double a = kPi / 2 * i / steps;
            p.push_back({r * std::cos(a), y0 + r * std::sin(a)});
        }
    } else {
        for (int i = 0; i <= steps; ++i) {
            const double a = -kPi / 2 + kPi / 2 * i / steps;
            p.push_back({r * std::cos(a), y0 + r * std::sin(a)});
        }
        p.push_back({0, y0});
    }
    return p;
}

Mesh ball(double r, double x, double y, double z) { return moved(sphere(float(r), 20, 10, false), float(x), float(y), float(z)); }

// Cones standing on a ball, pointing along each direction.
Mesh spikyBall(const std::string& name, const std::vector<std::array<double, 3>>& directions) {
    std::vector<Mesh> parts = {ball(50, 0, 0, 0)};
    for (const auto& d : directions)
        parts.push_back(rotated(lathe("", {{0, 40}, {18, 40}, {0, 100}}, 16), upTo(d[0], d[1], d[2])));
    return merged(name, parts);
}

}  // namespace

void fitInto(Mesh& m, double size) {
    float lo[3] = {1e30f, 1e30f, 1e30f}, hi[3] = {-1e30f, -1e30f, -1e30f};
    for (size_t i = 0; i + 2 < m.positions.size(); i += 3)
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], m.positions[i + k]);
            hi[k] = std::max(hi[k], m.positions[i + k]);
        }
    const double extent = std::max({hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]});
    if (extent <= 0) return;
    const double s = size / extent;
    for (size_t i = 0; i + 2 < m.positions.size(); i += 3)
        for (int k = 0; k < 3; ++k) m.positions[i + k] = float((m.positions[i + k] - (lo[k] + hi[k]) / 2) * s);
}

std::vector<Mesh> stockModels() {
    std::vector<Mesh> s;
    auto add = [&](Mesh m, const char* name) {
        m.name = name;
        s.push_back(std::move(m));
    };
    const Outline arrow = {{-100, -25}, {20, -25}, {20, -60}, {100, 0}, {20, 60}, {20, 25}, {-100, 25}};
    const Outline starOutline = star(5, 100, 40);

    add(sphere(100, 32, 16, false), "sphere");
    add(cylinder(50, 200, 32, false), "cylinder");
    add(box(200, false), "cube");
    add(scaled(ring("", rect(100, 100), rect(75, 75)), "", 1, 200, 1), "hbox");
    add(lathe("", {{0, 0}, {100, 0}, {0, 200}}, 32), "cone1");
    add(lathe("", {{0, 0}, {100, 0}, {0, 200}}, 3), "tricone1");
    add(lathe("", {{0, 0}, {100, 0}, {0, 200}}, 4), "tetracone1");
    add(bipyramid("", 80, 100), "2tetracone");
    add(merged("", {lathe("", hemisphere(100, 10, true), 24), lathe("", hemisphere(100, -10, false), 24)}),
        "2hemisph");
    add(merged("", {cylinder(80, 20, 32, false), moved(cylinder(80, 20, 32, false), 25, 25, 10),
                    moved(cylinder(80, 20, 32, false), 45, 50, 25)}),
        "coins");
    add(plate("", rect(100, 100), 20), "square1");
    add(plate("", corners(100, 100, 25, 1), 20), "square2");
    add(plate("", rect(100, 50), 20), "rect1");
    add(plate("", corners(100, 35, 15, 6), 20), "rect2");
    add(plate("", corners(100, 60, 20, 1), 20), "rect3");
    add(plate("", corners(100, 100, 30, 8), 20), "square3");
    add(platedRing("", rect(100, 50), rect(70, 25), 20), "hholerect");
    add(platedRing("", rect(100, 100), rect(60, 60), 20), "holerect");
    add(plate("", {{-100, -100}, {-85, -100}, {-85, 30}, {100, 30}, {60, 65}, {100, 100}, {-100, 100}}, 15), "1flag");
    add(plate("", {{-100, -50}, {50, -50}, {100, 0}, {50, 50}, {-100, 50}}, 20), "guide");
    add(plate("", corners(100, 50, 40, 8), 20), "rdrect2");
    add(plate("", corners(100, 70, 20, 6), 20), "rdrect");
    add(plate("", {{-100, -50}, {50, -50}, {100, 50}, {-50, 50}}, 20), "parallel");
    add(plate("", rect(100, 100), 100), "square");
    add(plate("", {{-100, -60}, {100, -60}, {100, 30}, {70, 60}, {-100, 60}}, 20), "1rect");
    add(merged("", {moved(plate("", rect(45, 60), 20), -55, 0, 0), moved(plate("", rect(45, 60), 20), 55, 0, 0)}),
        "2rect");
    add(plate("", {{-100, -30}, {100, -60}, {100, 60}, {-100, 30}}, 20), "leftrect");
    add(plate("", {{-100, 0}, {-70, -50}, {70, -50}, {100, 0}, {70, 50}, {-70, 50}}, 20), "2siderec");
    add(plate("", {{-60, -100}, {60, -100}, {60, -60}, {-20, -60}, {-20, 100}, {-60, 100}}, 30), "l-shape");
    add(plate("", {{-100, -100}, {100, -100}, {100, -40}, {-40, -40}, {-40, 100}, {-100, 100}}, 30), "l2shape");
    add(plate("", {{-20, -100}, {20, -100}, {20, 60}, {100, 60}, {100, 100}, {-100, 100}, {-100, 60}, {-20, 60}}, 30),
        "tshape");
    add(plate("", {{-20, -100}, {20, -100}, {20, 0}, {100, 80}, {72, 100}, {0, 28}, {-72, 100}, {-100, 80}, {-20, 0}},
              30),
        "yshape");
    {
        Mesh tube = scaled(ring("", regular(32, 40), regular(32, 25)), "", 1, 200, 1);
        add(merged("", {moved(tube, -50, 0, 0), moved(tube, 50, 0, 0)}), "2tube");
    }
    add(merged("", {ball(60, 0, 0, 0), rotated(torus("", 95, 8, 48, 8), upTo(0.3, 1, 0))}), "saturn");
    {
        const double g = (1 + std::sqrt(5.0)) / 2;
        std::vector<std::array<double, 3>> ico;
        for (double a : {-1.0, 1.0})
            for (double b : {-g, g}) {
                ico.push_back({0, a, b});
                ico.push_back({a, b, 0});
                ico.push_back({b, 0, a});
            }
        add(spikyBall("", ico), "conesphere12");
        std::vector<std::array<double, 3>> cube;
        for (double x : {-1.0, 1.0})
            for (double y : {-1.0, 1.0})
                for (double z : {-1.0, 1.0}) cube.push_back({x, y, z});
        add(spikyBall("", cube), "conesphere8");
    }
    add(merged("", {platedRing("", regular(48, 100), regular(48, 88), 20), plate("", star(5, 86, 35), 20)}),
        "circlestar");
    add(plate("", star(6, 100, 55), 20), "star2");
    add(plate("", starOutline, 20), "star");
    {
        std::vector<Mesh> parts = {plate("", starOutline, 20)};
        for (int i = 0; i < 10; i += 2)
            parts.push_back(ball(15, starOutline[size_t(i)].x, starOutline[size_t(i)].z, 10));
        add(merged("", parts), "5spherestar");
    }
    add(plate("", {{-30, -100}, {30, -100}, {30, -30}, {100, -30}, {100, 30}, {30, 30}, {30, 100}, {-30, 100},
                   {-30, 30}, {-100, 30}, {-100, -30}, {-30, -30}},
              40),
        "cross");
    add(lathe("", {{0, -100}, {20, -100}, {20, 60}, {0, 100}}, 6), "pencil1");
    add(lathe("", {{0, -100}, {18, -100}, {20, -90}, {20, 60}, {3, 96}, {0, 100}}, 24), "pencil2");
    add(lathe("", {{0, -100}, {10, -70}, {10, 90}, {40, 90}, {40, 100}, {0, 100}}, 24), "nail1");
    add(lathe("", {{0, -100}, {20, -100}, {20, 20}, {50, 20}, {0, 100}}, 24), "conearrow1");
    add(lathe("", {{0, -100}, {35, -100}, {35, 0}, {70, 0}, {0, 100}}, 24), "conearrow2");
    add(plate("", arrow, 30), "arrow1");
    add(plate("", {{-100, 0}, {-40, -60}, {-40, -25}, {40, -25}, {40, -60}, {100, 0}, {40, 60}, {40, 25}, {-40, 25},
                   {-40, 60}},
              30),
        "arrow2");
    add(torus("", 70, 30, 32, 16), "torus1");
    add(torus("", 80, 20, 32, 12), "torus2");
    add(torus("", 75, 25, 24, 6), "torus3");
    add(torus("", 85, 15, 32, 4), "torus4");
    for (Mesh& m : s) fitInto(m, 200);
    return s;
}

}  // namespace modelgen
