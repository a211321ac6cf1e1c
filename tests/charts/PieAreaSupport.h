// Shared by the pie and area chart tests: a scene showing one chart of a real
// kind (parts generated as membership makes them, no GL), and mesh checks
// that do not trust the mesh builders: closedness by welded positions, signed
// volume, and normals against the triangles' own.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "charts/pnChart.h"
#include "scene/pnEffect.h"
#include "tests/charts/ChartSceneSupport.h"
#include "tests/support/ShellCommand.h"
#include "tests/support/TextCapture.h"

// A scene holding chart "c" of kind K, with no points yet, and the event
// "show" that shows it.
template <class K>
struct PieAreaScene : OneChartScene<K> {
    PieAreaScene() : OneChartScene<K>(new K) {}
};

// A triangle soup in world coordinates.
struct Soup {
    std::vector<double> xyz;  // 9 per triangle

    void add(const double a[3], const double b[3], const double c[3]) {
        for (const double* v : {a, b, c}) xyz.insert(xyz.end(), v, v + 3);
    }
    size_t triangles() const { return xyz.size() / 9; }

    // Signed volume: positive when every triangle faces outward.
    double volume() const {
        double v = 0;
        for (size_t t = 0; t < triangles(); ++t) {
            const double* p = &xyz[t * 9];
            v += p[0] * (p[4] * p[8] - p[5] * p[7]) - p[1] * (p[3] * p[8] - p[5] * p[6]) +
                 p[2] * (p[3] * p[7] - p[4] * p[6]);
        }
        return v / 6.0;
    }

    // Closed and consistently wound: with positions welded within tol, every
    // directed edge is met as often by the same edge reversed (solids that
    // only touch along an edge pass). Triangles that weld to fewer than three
    // corners bound nothing and are left out. Returns the number of edges
    // that are not met.
    int openEdges(double tol = 1e-3) const {
        std::map<std::tuple<long, long, long>, int> ids;
        auto id = [&](const double* v) {
            auto key = std::make_tuple(std::lround(v[0] / tol), std::lround(v[1] / tol), std::lround(v[2] / tol));
            auto it = ids.find(key);
            if (it != ids.end()) return it->second;
            const int n = static_cast<int>(ids.size());
            ids.emplace(key, n);
            return n;
        };
        std::map<std::pair<int, int>, int> edges;
        for (size_t t = 0; t < triangles(); ++t) {
            const int v[3] = {id(&xyz[t * 9]), id(&xyz[t * 9 + 3]), id(&xyz[t * 9 + 6])};
            if (v[0] == v[1] || v[1] == v[2] || v[0] == v[2]) continue;
            for (int k = 0; k < 3; ++k) ++edges[{v[k], v[(k + 1) % 3]}];
        }
        int bad = 0;
        for (const auto& e : edges) {
            auto back = edges.find({e.first.second, e.first.first});
            if (back == edges.end() || back->second != e.second) ++bad;
        }
        return bad;
    }

    // Writes an ASCII STL file; false on failure.
    bool writeSTL(const std::string& path) const {
        FILE* f = std::fopen(path.c_str(), "w");
        if (!f) return false;
        std::fprintf(f, "solid kelvano\n");
        for (size_t t = 0; t < triangles(); ++t) {
            const double* p = &xyz[t * 9];
            const double u[3] = {p[3] - p[0], p[4] - p[1], p[5] - p[2]};
            const double w[3] = {p[6] - p[0], p[7] - p[1], p[8] - p[2]};
            double n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
            const double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            for (double& c : n) c = len > 0 ? c / len : 0.0;
            std::fprintf(f, " facet normal %g %g %g\n  outer loop\n", n[0], n[1], n[2]);
            for (int k = 0; k < 3; ++k)
                std::fprintf(f, "   vertex %.9g %.9g %.9g\n", p[k * 3] + 0.0, p[k * 3 + 1] + 0.0, p[k * 3 + 2] + 0.0);
            std::fprintf(f, "  endloop\n endfacet\n");
        }
        std::fprintf(f, "endsolid kelvano\n");
        return std::fclose(f) == 0;
    }
};

// The triangles of an indexed mesh, each vertex moved by place.
template <class Place>
Soup soupOf(const std::vector<float>& coords, const std::vector<int>& index, Place place) {
    Soup s;
    for (size_t t = 0; t + 2 < index.size(); t += 3) {
        double v[3][3];
        for (int k = 0; k < 3; ++k) {
            const size_t at = static_cast<size_t>(index[t + k]) * 3;
            const double in[3] = {coords[at], coords[at + 1], coords[at + 2]};
            place(in, v[k]);
        }
        s.add(v[0], v[1], v[2]);
    }
    return s;
}

inline Soup soupOf(const std::vector<float>& coords, const std::vector<int>& index) {
    return soupOf(coords, index, [](const double* in, double* out) {
        for (int k = 0; k < 3; ++k) out[k] = in[k];
    });
}

// Runs admesh on an STL file and returns its report ("" when it cannot run).
inline std::string admeshReport(const std::string& stl) {
    return runCommand("admesh --exact --normal-directions '" + stl + "' 2>&1");
}

// The number admesh reports after label (the first column: the original mesh).
inline double admeshValue(const std::string& report, const std::string& label) {
    const size_t at = report.find(label);
    if (at == std::string::npos) return -1;
    const size_t colon = report.find(':', at);
    if (colon == std::string::npos) return -1;
    return std::atof(report.c_str() + colon + 1);
}
