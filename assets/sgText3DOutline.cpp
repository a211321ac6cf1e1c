// Glyph outlines to flat contours: curve flattening, point clean-up,
// orientation and the order of outer contours and holes.
#include <algorithm>
#include <cmath>

#include "assets/sgText3D.h"

// ---- fixed-point helpers ----

FontFixed sgText3D::fixedFromDouble(double d) {
    double v = d * 65536.0;
    // Far outside any outline; keeps the conversion defined.
    const double limit = 9.0e15;
    if (!(v > -limit)) return v != v ? 0 : static_cast<FontFixed>(-limit);
    if (v > limit) return static_cast<FontFixed>(limit);
    return static_cast<FontFixed>(v);  // truncates toward zero
}

FontPoint sgText3D::midpoint(const FontPoint& a, const FontPoint& b) {
    FontPoint m;
    m.x = (a.x + b.x) / 2;
    m.y = (a.y + b.y) / 2;
    return m;
}

bool sgText3D::collinear(const sgTextPoint& p1, const sgTextPoint& p2, const sgTextPoint& p3) {
    return (p2.y - p1.y) * (p3.x - p2.x) - (p2.x - p1.x) * (p3.y - p2.y) == 0.0;
}

double sgText3D::distance(const FontPoint& a, const FontPoint& b) {
    double dx = doubleFromFixed(a.x - b.x);
    double dy = doubleFromFixed(a.y - b.y);
    return std::sqrt(dx * dx + dy * dy);
}

// ---- contours ----

void sgTextContour::addPoint(double x, double y) {
    if (!points.empty()) {
        const sgTextPoint& last = points.back();
        if (std::fabs(x - last.x) < 0.001 && std::fabs(y - last.y) < 0.001) return;
    }
    sgTextPoint p{x, y};
    if (points.size() >= 2 && sgText3D::collinear(points[points.size() - 2], points.back(), p)) points.pop_back();
    points.push_back(p);
}

void sgTextContour::update() {
    minX = minY = 1e20;
    maxX = maxY = -1e20;
    double sum = 0.0;
    const size_t n = points.size();
    for (size_t i = 0; i < n; ++i) {
        const sgTextPoint& a = points[i];
        const sgTextPoint& b = points[(i + 1) % n];
        sum += a.x * b.y - b.x * a.y;
        minX = std::min(minX, a.x);
        minY = std::min(minY, a.y);
        maxX = std::max(maxX, a.x);
        maxY = std::max(maxY, a.y);
    }
    area = sum / 2.0;
}

void sgTextContour::close() {
    if (!points.empty()) {
        sgTextPoint start = points.front();
        addPoint(start.x, start.y);
        // The contour is kept without its repeated end point: the closing edge
        // is implied, so no wall or tessellator edge has zero length.
        if (points.size() > 1) {
            const sgTextPoint& last = points.back();
            if (std::fabs(last.x - start.x) < 0.001 && std::fabs(last.y - start.y) < 0.001) points.pop_back();
        }
        // The start point itself may lie on a straight run through the seam.
        if (points.size() >= 3 && sgText3D::collinear(points.back(), points[0], points[1]))
            points.erase(points.begin());
    }
    update();
    clockwise = area < 0.0 ? 1 : 0;
}

void sgTextContour::reverse() {
    std::reverse(points.begin(), points.end());
    area = -area;
    clockwise = clockwise ? 0 : 1;
}

bool sgTextContour::containsPoint(double x, double y) const {
    bool inside = false;
    const size_t n = points.size();
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const sgTextPoint& a = points[i];
        const sgTextPoint& b = points[j];
        if ((a.y > y) != (b.y > y)) {
            double xc = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (x < xc) inside = !inside;
        }
    }
    return inside;
}

// ---- glyph outline ----

void sgTextGlyphOutline::addFixedPoint(sgTextContour& c, const FontPoint& p) const {
    const double s = scale / 64.0f;
    c.addPoint(sgText3D::doubleFromFixed(p.x) * s, sgText3D::doubleFromFixed(p.y) * s);
}

namespace {

FontPoint curvePoint(const FontPoint& p0, const FontPoint& p1, const FontPoint& p2, double t) {
    double a = (1 - t) * (1 - t), b = 2 * t * (1 - t), c = t * t;
    FontPoint r;
    r.x = sgText3D::fixedFromDouble(a * sgText3D::doubleFromFixed(p0.x) + b * sgText3D::doubleFromFixed(p1.x) +
                                    c * sgText3D::doubleFromFixed(p2.x));
    r.y = sgText3D::fixedFromDouble(a * sgText3D::doubleFromFixed(p0.y) + b * sgText3D::doubleFromFixed(p1.y) +
                                    c * sgText3D::doubleFromFixed(p2.y));
    return r;
}

FontPoint cubicMidpoint(const FontPoint& p0, const FontPoint& p1, const FontPoint& p2, const FontPoint& p3) {
    FontPoint r;
    r.x = sgText3D::fixedFromDouble((sgText3D::doubleFromFixed(p0.x) + 3 * sgText3D::doubleFromFixed(p1.x) +
                                     3 * sgText3D::doubleFromFixed(p2.x) + sgText3D::doubleFromFixed(p3.x)) /
                                    8.0);
    r.y = sgText3D::fixedFromDouble((sgText3D::doubleFromFixed(p0.y) + 3 * sgText3D::doubleFromFixed(p1.y) +
                                     3 * sgText3D::doubleFromFixed(p2.y) + sgText3D::doubleFromFixed(p3.y)) /
                                    8.0);
    return r;
}

// Distance in pixels from p to the point (w0 * a + w1 * b).
double distanceToBlend(const FontPoint& p, const FontPoint& a, double w0, const FontPoint& b, double w1) {
    double x = w0 * sgText3D::doubleFromFixed(a.x) + w1 * sgText3D::doubleFromFixed(b.x);
    double y = w0 * sgText3D::doubleFromFixed(a.y) + w1 * sgText3D::doubleFromFixed(b.y);
    double dx = sgText3D::doubleFromFixed(p.x) - x;
    double dy = sgText3D::doubleFromFixed(p.y) - y;
    return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

void sgTextGlyphOutline::flattenQuadratic(sgTextContour& c, FontPoint p0, FontPoint p1, FontPoint p2,
                                          int depth) const {
    for (;;) {
        FontPoint m = curvePoint(p0, p1, p2, 0.5);
        if (depth >= SG_TEXT_MAX_FLATTEN_DEPTH || !(sgText3D::distance(p1, m) > threshold)) {
            addFixedPoint(c, m);
            addFixedPoint(c, p2);
            return;
        }
        flattenQuadratic(c, p0, sgText3D::midpoint(p0, p1), m, depth + 1);
        p1 = sgText3D::midpoint(p2, p1);
        p0 = m;
        ++depth;
    }
}

// A cubic is measured so that a quadratic raised to a cubic flattens exactly
// as the quadratic would: 3/4 of the larger distance of a control point from
// its place on the evenly divided chord.
void sgTextGlyphOutline::flattenCubic(sgTextContour& c, FontPoint p0, FontPoint p1, FontPoint p2, FontPoint p3,
                                      int depth) const {
    for (;;) {
        FontPoint m = cubicMidpoint(p0, p1, p2, p3);
        double d1 = distanceToBlend(p1, p0, 2.0 / 3.0, p3, 1.0 / 3.0);
        double d2 = distanceToBlend(p2, p0, 1.0 / 3.0, p3, 2.0 / 3.0);
        double measure = 0.75 * std::max(d1, d2);
        if (depth >= SG_TEXT_MAX_FLATTEN_DEPTH || !(measure > threshold)) {
            addFixedPoint(c, m);
            addFixedPoint(c, p3);
            return;
        }
        FontPoint p01 = sgText3D::midpoint(p0, p1);
        FontPoint p12 = sgText3D::midpoint(p1, p2);
        FontPoint p23 = sgText3D::midpoint(p2, p3);
        FontPoint p012 = sgText3D::midpoint(p01, p12);
        FontPoint p123 = sgText3D::midpoint(p12, p23);
        flattenCubic(c, p0, p01, p012, m, depth + 1);
        p0 = m;
        p1 = p123;
        p2 = p23;
        ++depth;
    }
}

void sgTextGlyphOutline::build(const FontGlyphOutline& outline) {
    valid = true;
    metrics = outline.metrics;
    contours.clear();
    for (const FontContour& fc : outline.contours) {
        sgTextContour c;
        addFixedPoint(c, fc.start);
        FontPoint current = fc.start;
        for (const FontSegment& s : fc.segments) {
            switch (s.type) {
                case FontSegmentType::Line: addFixedPoint(c, s.p[0]); break;
                case FontSegmentType::Quadratic: flattenQuadratic(c, current, s.p[0], s.p[1]); break;
                case FontSegmentType::Cubic: flattenCubic(c, current, s.p[0], s.p[1], s.p[2]); break;
            }
            current = s.end();
        }
        c.close();
        if (c.getPointCount() >= 2) contours.push_back(std::move(c));
    }
    orderContours();
}

// Every outer contour is followed by the holes directly inside it. A contour
// nested inside a hole (the letter inside a circled sign) is an outer contour
// again, as the fill rule of the outline says, and is never taken for a hole.
void sgTextGlyphOutline::orderContours() {
    const size_t n = contours.size();
    if (n == 0) return;
    // inside[i * n + j]: contour j lies inside contour i.
    std::vector<char> inside(n * n, 0);
    for (size_t i = 0; i < n; ++i) {
        const sgTextContour& a = contours[i];
        for (size_t j = 0; j < n; ++j) {
            if (i == j) continue;
            const sgTextContour& b = contours[j];
            if (!(a.minX < b.minX && a.minY < b.minY && a.maxX > b.maxX && a.maxY > b.maxY)) continue;
            for (const sgTextPoint& p : b.points) {
                if (a.containsPoint(p.x, p.y)) {
                    inside[i * n + j] = 1;
                    break;
                }
            }
        }
    }
    std::vector<char> remaining(n, 1);
    auto isOuter = [&](size_t j) {
        for (size_t i = 0; i < n; ++i)
            if (remaining[i] && i != j && inside[i * n + j]) return false;
        return true;
    };
    std::vector<sgTextContour> ordered;
    ordered.reserve(n);
    for (size_t left = n; left > 0;) {
        size_t outer = n;
        for (size_t j = 0; j < n && outer == n; ++j)
            if (remaining[j] && isOuter(j)) outer = j;
        if (outer == n) {  // cannot happen (strict enclosure has no cycles); be safe
            for (size_t j = 0; j < n && outer == n; ++j)
                if (remaining[j]) outer = j;
        }
        remaining[outer] = 0;
        --left;
        sgTextContour& o = contours[outer];
        if (!o.clockwise) o.reverse();
        ordered.push_back(std::move(o));
        const sgTextContour& placed = ordered.back();
        // Direct holes only: a contour inside another hole is a later outer one.
        std::vector<size_t> holes;
        for (size_t j = 0; j < n; ++j) {
            if (!remaining[j] || !inside[outer * n + j]) continue;
            const sgTextContour& h = contours[j];
            if (!(h.minX >= placed.minX && h.minY >= placed.minY && h.maxX <= placed.maxX && h.maxY <= placed.maxY))
                continue;
            if (isOuter(j)) holes.push_back(j);
        }
        for (size_t j : holes) {
            remaining[j] = 0;
            --left;
            sgTextContour& hole = contours[j];
            if (hole.clockwise) hole.reverse();
            ordered.push_back(std::move(hole));
        }
    }
    contours = std::move(ordered);
}
