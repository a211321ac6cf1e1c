#include "tests/textobjects/TextObjectSupport.h"

#include <cstdlib>

namespace {
// Before the first fontconfig call of the process.
struct PinFonts {
    PinFonts() { setenv("FONTCONFIG_FILE", KV_TEXTOBJ_FONTS_CONF, 1); }
} g_pinFonts;

double segmentDistance(double px, double py, const sgTextPoint& a, const sgTextPoint& b) {
    double dx = b.x - a.x, dy = b.y - a.y;
    double l2 = dx * dx + dy * dy;
    double t = l2 > 0 ? std::clamp(((px - a.x) * dx + (py - a.y) * dy) / l2, 0.0, 1.0) : 0.0;
    return std::hypot(px - (a.x + t * dx), py - (a.y + t * dy));
}
}  // namespace

double glyphDistance(const sgTextGlyphOutline& g, double x, double y, bool* inside) {
    int crossings = 0;
    double best = 1e30;
    for (const sgTextContour& c : g.contours) {
        if (c.containsPoint(x, y)) ++crossings;
        const size_t n = c.points.size();
        for (size_t k = 0; k < n; ++k) best = std::min(best, segmentDistance(x, y, c.points[k], c.points[(k + 1) % n]));
    }
    if (inside) *inside = crossings % 2 == 1;
    return best;
}

bool findInteriorPoint(const sgTextGlyphOutline& g, double margin, double* px, double* py) {
    double minX = 1e30, minY = 1e30, maxX = -1e30, maxY = -1e30;
    for (const sgTextContour& c : g.contours) {
        minX = std::min(minX, c.minX);
        minY = std::min(minY, c.minY);
        maxX = std::max(maxX, c.maxX);
        maxY = std::max(maxY, c.maxY);
    }
    if (minX > maxX) return false;
    double bestD = -1.0;
    for (double y = minY; y <= maxY; y += 0.5)
        for (double x = minX; x <= maxX; x += 0.5) {
            bool in = false;
            double d = glyphDistance(g, x, y, &in);
            if (in && d > bestD) {
                bestD = d;
                *px = x;
                *py = y;
            }
        }
    return bestD >= margin;
}
