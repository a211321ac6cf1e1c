// Shared by the text-object tests: fonts pinned through a test fontconfig
// file, written blocks, diagnostic capture and glyph geometry for probes.
#pragma once

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <string>

#include "assets/sgText3D.h"
#include "tests/support/TextCapture.h"

// Restores the C locale however a test ends.
struct LocaleGuard {
    ~LocaleGuard() { std::setlocale(LC_ALL, "C"); }
};

// Distance from (x, y) to the glyph's nearest edge; inside tells whether the
// point lies in the filled area (even-odd over the contours).
double glyphDistance(const sgTextGlyphOutline& g, double x, double y, bool* inside);
// The interior point farthest from every edge (searched on a half-unit grid);
// false when none lies at least margin inside.
bool findInteriorPoint(const sgTextGlyphOutline& g, double margin, double* px, double* py);
