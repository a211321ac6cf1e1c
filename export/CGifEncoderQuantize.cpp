// Wu's colour quantiser (greedy orthogonal bipartition of RGB space over
// cumulative moments on a 33 x 33 x 33 grid), reducing each frame of the GIF
// encoder to at most 256 colours.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "export/CGifEncoder.h"

namespace {

constexpr int kSide = CGifEncoder::kGridSide;
constexpr int kR = kSide * kSide;  // stride of the red axis
constexpr int kG = kSide;          // stride of the green axis
enum Axis { kRed, kGreen, kBlue };

inline int at(int r, int g, int b) { return r * kR + g * kG + b; }

}  // namespace

namespace {

// Total of a cumulative table over a box (exclusive lower, inclusive upper
// bounds): inclusion and exclusion over its eight corners.
template <class Box>
int64_t volume(const Box& c, const int64_t* m) {
    return m[at(c.r1, c.g1, c.b1)] - m[at(c.r1, c.g1, c.b0)] - m[at(c.r1, c.g0, c.b1)] + m[at(c.r1, c.g0, c.b0)] -
           m[at(c.r0, c.g1, c.b1)] + m[at(c.r0, c.g1, c.b0)] + m[at(c.r0, c.g0, c.b1)] - m[at(c.r0, c.g0, c.b0)];
}

// The part of volume() that does not depend on the box's upper bound along
// an axis, and the part at a position of that axis.
template <class Box>
int64_t bottom(const Box& c, int axis, const int64_t* m) {
    switch (axis) {
    case kRed:
        return -m[at(c.r0, c.g1, c.b1)] + m[at(c.r0, c.g1, c.b0)] + m[at(c.r0, c.g0, c.b1)] - m[at(c.r0, c.g0, c.b0)];
    case kGreen:
        return -m[at(c.r1, c.g0, c.b1)] + m[at(c.r1, c.g0, c.b0)] + m[at(c.r0, c.g0, c.b1)] - m[at(c.r0, c.g0, c.b0)];
    default:
        return -m[at(c.r1, c.g1, c.b0)] + m[at(c.r1, c.g0, c.b0)] + m[at(c.r0, c.g1, c.b0)] - m[at(c.r0, c.g0, c.b0)];
    }
}

template <class Box>
int64_t top(const Box& c, int axis, int pos, const int64_t* m) {
    switch (axis) {
    case kRed:
        return m[at(pos, c.g1, c.b1)] - m[at(pos, c.g1, c.b0)] - m[at(pos, c.g0, c.b1)] + m[at(pos, c.g0, c.b0)];
    case kGreen:
        return m[at(c.r1, pos, c.b1)] - m[at(c.r1, pos, c.b0)] - m[at(c.r0, pos, c.b1)] + m[at(c.r0, pos, c.b0)];
    default:
        return m[at(c.r1, c.g1, pos)] - m[at(c.r1, c.g0, pos)] - m[at(c.r0, c.g1, pos)] + m[at(c.r0, c.g0, pos)];
    }
}

inline double sq(int64_t v) { return double(v) * double(v); }

}  // namespace

void CGifEncoder::buildMoments() {
    // Running sums over b, then the area over g and b, then over r.
    int64_t* tables[5] = {m_wt.data(), m_mr.data(), m_mg.data(), m_mb.data(), m_m2.data()};
    for (int64_t* m : tables) {
        for (int r = 1; r < kSide; ++r) {
            int64_t area[kSide] = {};
            for (int g = 1; g < kSide; ++g) {
                int64_t line = 0;
                for (int b = 1; b < kSide; ++b) {
                    const int i = at(r, g, b);
                    line += m[i];
                    area[b] += line;
                    m[i] = m[i - kR] + area[b];
                }
            }
        }
    }
}

float CGifEncoder::maximize(const Box& c, int axis, int* cut, const int64_t whole[4]) const {
    const int64_t baseR = bottom(c, axis, m_mr.data()), baseG = bottom(c, axis, m_mg.data());
    const int64_t baseB = bottom(c, axis, m_mb.data()), baseW = bottom(c, axis, m_wt.data());
    const int first = (axis == kRed ? c.r0 : axis == kGreen ? c.g0 : c.b0) + 1;
    const int last = axis == kRed ? c.r1 : axis == kGreen ? c.g1 : c.b1;
    float best = 0.0f;
    *cut = -1;
    for (int i = first; i < last; ++i) {
        const int64_t hr = baseR + top(c, axis, i, m_mr.data()), hg = baseG + top(c, axis, i, m_mg.data());
        const int64_t hb = baseB + top(c, axis, i, m_mb.data()), hw = baseW + top(c, axis, i, m_wt.data());
        // Both halves must hold pixels.
        if (hw == 0) continue;
        double score = (sq(hr) + sq(hg) + sq(hb)) / double(hw);
        const int64_t ur = whole[0] - hr, ug = whole[1] - hg, ub = whole[2] - hb, uw = whole[3] - hw;
        if (uw == 0) continue;
        score += (sq(ur) + sq(ug) + sq(ub)) / double(uw);
        if (float(score) > best) {
            best = float(score);
            *cut = i;
        }
    }
    return best;
}

bool CGifEncoder::cutBox(Box& set1, Box& set2) {
    const int64_t whole[4] = {volume(set1, m_mr.data()), volume(set1, m_mg.data()), volume(set1, m_mb.data()),
                              volume(set1, m_wt.data())};
    int cutR, cutG, cutB;
    const float maxR = maximize(set1, kRed, &cutR, whole);
    const float maxG = maximize(set1, kGreen, &cutG, whole);
    const float maxB = maximize(set1, kBlue, &cutB, whole);
    int axis;
    if (maxR >= maxG && maxR >= maxB) {
        axis = kRed;
        if (cutR < 0) return false;  // nothing to split
    } else if (maxG >= maxR && maxG >= maxB) {
        axis = kGreen;
    } else {
        axis = kBlue;
    }
    set2 = set1;
    // The new box takes the upper part, the old one keeps the lower.
    switch (axis) {
    case kRed: set2.r0 = set1.r1 = cutR; break;
    case kGreen: set2.g0 = set1.g1 = cutG; break;
    default: set2.b0 = set1.b1 = cutB; break;
    }
    set1.vol = (set1.r1 - set1.r0) * (set1.g1 - set1.g0) * (set1.b1 - set1.b0);
    set2.vol = (set2.r1 - set2.r0) * (set2.g1 - set2.g0) * (set2.b1 - set2.b0);
    return true;
}

float CGifEncoder::boxVariance(const Box& c) const {
    const double dr = double(volume(c, m_mr.data())), dg = double(volume(c, m_mg.data()));
    const double db = double(volume(c, m_mb.data())), w = double(volume(c, m_wt.data()));
    const double xx = double(volume(c, m_m2.data()));
    if (w <= 0) return 0.0f;
    return float(std::fabs(xx - (dr * dr + dg * dg + db * db) / w));
}

int CGifEncoder::quantize(int width, int height, int colors, const uint8_t* rgb, uint8_t* palette) {
    const size_t n = size_t(width) * size_t(height);
    if (!rgb || !palette || width <= 0 || height <= 0 || n > m_indexImage.size() || n > m_cellIndex.size())
        return 0;
    if (colors < 1 || colors > kColors) colors = kColors;

    // Histogram of the cells (5 bits per component, 1-32).
    for (auto* m : {&m_wt, &m_mr, &m_mg, &m_mb, &m_m2}) std::fill(m->begin(), m->end(), 0);
    int64_t* wt = m_wt.data();
    int64_t* mr = m_mr.data();
    int64_t* mg = m_mg.data();
    int64_t* mb = m_mb.data();
    int64_t* m2 = m_m2.data();
    uint16_t* cells = m_cellIndex.data();
    for (size_t i = 0; i < n; ++i) {
        const int r = rgb[3 * i], g = rgb[3 * i + 1], b = rgb[3 * i + 2];
        const int cell = at((r >> 3) + 1, (g >> 3) + 1, (b >> 3) + 1);
        cells[i] = uint16_t(cell);
        wt[cell] += 1;
        mr[cell] += r;
        mg[cell] += g;
        mb[cell] += b;
        m2[cell] += r * r + g * g + b * b;
    }

    // The first pixel in the transparent colour's cell, looked for anew in
    // every frame. That cell gets a palette entry of its own, the last one
    // after the boxes, and is left out of the boxes: a box holding it would
    // make every pixel of the box transparent, object pixels near the
    // background's colour too.
    m_transparentPos = -1;
    int tcell = -1;
    if (m_bTransparent) {
        tcell = at((m_transparentColor[0] >> 3) + 1, (m_transparentColor[1] >> 3) + 1, (m_transparentColor[2] >> 3) + 1);
        for (size_t i = 0; i < n; ++i) {
            if (cells[i] == tcell) {
                m_transparentPos = long(i);
                break;
            }
        }
    }
    if (m_transparentPos >= 0) {
        wt[tcell] = mr[tcell] = mg[tcell] = mb[tcell] = m2[tcell] = 0;
        colors = std::max(colors - 1, 1);
    } else {
        tcell = -1;
    }
    buildMoments();

    // Split the box of largest variance until there are enough.
    Box* cube = m_boxes;
    cube[0] = Box{0, kSide - 1, 0, kSide - 1, 0, kSide - 1, 0};
    cube[0].vol = (kSide - 1) * (kSide - 1) * (kSide - 1);
    int count = colors;
    int next = 0;
    for (int i = 1; i < colors; ++i) {
        if (cutBox(cube[next], cube[i])) {
            m_variance[next] = cube[next].vol > 1 ? boxVariance(cube[next]) : 0.0f;
            m_variance[i] = cube[i].vol > 1 ? boxVariance(cube[i]) : 0.0f;
        } else {
            m_variance[next] = 0.0f;
            --i;
        }
        next = 0;
        float largest = m_variance[0];
        for (int k = 1; k <= i; ++k) {
            if (m_variance[k] > largest) {
                largest = m_variance[k];
                next = k;
            }
        }
        if (largest <= 0.0f) {
            count = i + 1;
            break;
        }
    }

    // Cell labels in box order, palette of the boxes' truncated means.
    std::memset(palette, 0, size_t(kColors) * 3);
    uint8_t* labels = m_labels.data();
    for (int k = 0; k < count; ++k) {
        const Box& c = cube[k];
        for (int r = c.r0 + 1; r <= c.r1; ++r)
            for (int g = c.g0 + 1; g <= c.g1; ++g)
                for (int b = c.b0 + 1; b <= c.b1; ++b) labels[at(r, g, b)] = uint8_t(k);
        const int64_t w = volume(c, wt);
        if (w > 0) {
            palette[3 * k + 0] = uint8_t(volume(c, mr) / w);
            palette[3 * k + 1] = uint8_t(volume(c, mg) / w);
            palette[3 * k + 2] = uint8_t(volume(c, mb) / w);
        }
    }

    if (tcell >= 0) {
        labels[tcell] = uint8_t(count);
        for (int k = 0; k < 3; ++k) palette[3 * count + k] = m_transparentColor[k];
    }

    uint8_t* out = m_indexImage.data();
    for (size_t i = 0; i < n; ++i) out[i] = labels[cells[i]];
    return 1;
}
