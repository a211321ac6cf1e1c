#include "ui/properties/rules/ColorMath.h"

#include <algorithm>
#include <cmath>

void normalizeColor(const float in[3], float out[3]) {
    const float m = std::max({in[0], in[1], in[2]});
    for (int i = 0; i < 3; ++i) out[i] = m != 0.0f ? in[i] / m : 1.0f;
}

float colorBrightness(const float raw[3], const float normalized[3]) {
    for (int i = 0; i < 3; ++i)
        if (raw[i] != 0.0f && normalized[i] != 0.0f) return raw[i] / normalized[i];
    return 0.0f;
}

void paletteColorAt(float x, float y, int width, int height, float out[3]) {
    const float w = width / 6.0f;
    float r = 0, g = 0, b = 0;
    if (w > 0.0f) {
        const float s = 1.0f / w;
        if (x < w) {
            r = 1, g = x * s, b = 0;
        } else if (x < 2 * w) {
            r = 1 - (x - w) * s, g = 1, b = 0;
        } else if (x < 3 * w) {
            r = 0, g = 1, b = (x - 2 * w) * s;
        } else if (x < 4 * w) {
            r = 0, g = 1 - (x - 3 * w) * s, b = 1;
        } else if (x < 5 * w) {
            r = (x - 4 * w) * s, g = 0, b = 1;
        } else {
            r = 1, g = 0, b = 1 - (x - 5 * w) * s;
        }
    }
    const float c[3] = {r, g, b};
    for (int i = 0; i < 3; ++i) {
        float v = height > 0 ? c[i] + y * (1 - c[i]) / height : c[i];
        out[i] = std::clamp(v, 0.0f, 1.0f);
    }
}

bool paletteMarkerFromColor(const float color[3], int width, int height, int& x, int& y) {
    const float r = color[0], g = color[1], b = color[2];
    const float w = width / 6.0f;
    const float lo = std::min({r, g, b});
    float fx;
    if (r >= 1.0f) {
        if (g >= 1.0f && b >= 1.0f) {  // white: the bottom row, x kept
            y = height;
            return true;
        }
        if (g > b) fx = g * w;
        else if (b > g) fx = (6 - b) * w;
        else fx = 0;
    } else if (g >= 1.0f) {
        if (r > b) fx = (2 - r) * w;
        else if (r == b) fx = 2 * w;
        else fx = (b + 2) * w;
    } else if (b >= 1.0f) {
        if (r > g) fx = (r + 4) * w;
        else if (g > r) fx = (4 - g) * w;
        else fx = 4 * w;
    } else {
        return false;
    }
    x = static_cast<int>(fx);
    y = static_cast<int>(lo * height);
    return true;
}

std::vector<uint8_t> palettePixels(int width, int height) {
    std::vector<uint8_t> out;
    if (width <= 0 || height <= 0) return out;
    out.resize(static_cast<size_t>(width) * height * 3);
    size_t k = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float c[3];
            paletteColorAt(static_cast<float>(x), static_cast<float>(y), width, height, c);
            for (float v : c) out[k++] = static_cast<uint8_t>(std::lround(v * 255.0f));
        }
    return out;
}

CRampGeometry::CRampGeometry(int width, int height, bool horizontal) : m_bHorizontal(horizontal) {
    const int m = kMarkerSize;
    if (horizontal) {
        const int band[4] = {m, 1, width - m, height - 8};
        std::copy(band, band + 4, m_band);
    } else {
        const int band[4] = {1, m, width - 8, height - m};
        std::copy(band, band + 4, m_band);
    }
    const int g[4] = {m_band[0] + 1, m_band[1] + 1, m_band[2] - 1, m_band[3] - 1};
    std::copy(g, g + 4, m_gradient);
    if (horizontal) {
        m_x0 = m_gradient[0];
        m_x1 = std::max(m_x0, m_gradient[2] - 1);
        m_y0 = m_y1 = m_band[3];
    } else {
        m_x0 = m_x1 = m_band[2];
        m_y0 = m_gradient[3] - 1;
        m_y1 = std::min(m_y0, m_gradient[1]);
    }
}

void CRampGeometry::MarkerPoint(int pos, int& x, int& y) const {
    const double t = (std::clamp(pos, kMin, kMax) - kMin) / double(kMax - kMin);
    if (m_bHorizontal) {
        x = static_cast<int>(std::lround(m_x0 + (m_x1 - m_x0) * t));
        y = m_y0;
    } else {
        x = m_x0;
        y = static_cast<int>(std::lround(m_y0 + (m_y1 - m_y0) * t));
    }
}

int CRampGeometry::PosFromPoint(int x, int y) const {
    const double length = m_bHorizontal ? m_x1 - m_x0 : m_y1 - m_y0;
    if (length == 0.0) return kMin;
    const double along = m_bHorizontal ? x - m_x0 : y - m_y0;
    const double pos = along * (kMax - kMin) / length + kMin;
    return static_cast<int>(std::clamp(std::lround(pos), long(kMin), long(kMax)));
}

void CRampGeometry::GradientStep(const float color[3], int i, int n, uint8_t rgb[3]) {
    const float t = n > 1 ? float(i) / float(n - 1) : 1.0f;
    for (int c = 0; c < 3; ++c) rgb[c] = static_cast<uint8_t>(std::clamp(color[c] * t, 0.0f, 1.0f) * 255.0f);
}
