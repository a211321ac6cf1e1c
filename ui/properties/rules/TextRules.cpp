#include "ui/properties/rules/TextRules.h"
#include "editor/EditLimits.h"

#include "ui/properties/rules/ControlRules.h"

#include <cmath>
#include <cstdio>

const char* const kTextSizes[11] = {"20", "24", "28", "32", "40", "48", "64", "72", "80", "96", "112"};
const char* const kTextOrigins[3] = {"Left", "Center", "Right"};

std::string FixedText(double value, int decimals, int width) {
    char text[64];
    std::snprintf(text, sizeof text, "%*.*f", width, decimals, value);
    return text;
}

std::string FaceAt(const std::vector<std::string>& faces, int index) {
    return index >= 0 && index < static_cast<int>(faces.size()) ? faces[index] : std::string();
}

float PrecisionFromQuality(int quality) { return 1.1f - quality * 0.1f; }

int QualityFromPrecision(float precision) {
    // (1.1 - 0.6f) x 10 is 4.9999998: the nearest quality, not the truncation.
    return ClampedInt(std::round((1.1 - static_cast<double>(precision)) * 10.0));
}

std::string PickFace(const std::vector<std::string>& faces, const std::string& wanted, const std::string& matched) {
    for (const std::string& face : faces)
        if (!wanted.empty() && face.compare(0, wanted.size(), wanted) == 0) return face;
    for (const std::string& face : faces)
        if (face == matched) return face;
    return faces.empty() ? std::string() : faces.front();
}

int FaceIndex(const std::vector<std::string>& faces, const std::string& stored, const std::string& matched) {
    for (size_t i = 0; i < faces.size(); ++i)
        if (faces[i] == stored) return static_cast<int>(i);
    for (size_t i = 0; i < faces.size(); ++i)
        if (faces[i] == matched) return static_cast<int>(i);
    return -1;
}

void ImageSizeRules::Start(int width, int height, int constrain) {
    m_nWidth = width;
    m_nHeight = height;
    m_bConstrain = constrain;
    m_dRatio = height != 0 ? static_cast<double>(width) / height : 0.0;
}

void ImageSizeRules::SetConstrain(int on, int width, int height) {
    m_bConstrain = on;
    if (!on) return;
    m_nWidth = width;
    m_nHeight = height;
    m_dRatio = height != 0 ? static_cast<double>(width) / height : 0.0;
}

bool ImageSizeRules::RatioUsable() const { return std::isfinite(m_dRatio) && m_dRatio > 0.0; }

int ImageSizeRules::WidthTyped(int width) {
    m_nWidth = width;
    if (!m_bConstrain || !RatioUsable()) return -1;
    // Held at the int range: a huge side must not wrap the other one.
    m_nHeight = ClampedInt(width / m_dRatio);
    return m_nHeight;
}

int ImageSizeRules::HeightTyped(int height) {
    m_nHeight = height;
    if (!m_bConstrain || !RatioUsable()) return -1;
    m_nWidth = ClampedInt(height * m_dRatio);
    return m_nWidth;
}

bool ImageSizeRules::SideAccepted(int side) { return side >= 1 && side <= kMaxSceneSide; }

int EdgeShadowKind(float border, float hOffset, float vOffset) {
    if (border > 0.0f) return 1;
    return hOffset != 0.0f || vOffset != 0.0f ? 2 : 0;
}

EdgeShadowValues EdgeShadowApplied(int kind, float edgeWidth, float hOffset, float vOffset) {
    EdgeShadowValues v;
    if (kind == 1) v.border = edgeWidth;
    if (kind == 2) {
        v.hOffset = hOffset;
        v.vOffset = vOffset;
    }
    return v;
}

bool ParseWholeInt(const std::string& text, int& value) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long v = 0;
    size_t digits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
        v = v * 10 + (text[i] - '0');
        if (v > 2147483648LL) return false;
    }
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (digits == 0 || i != text.size()) return false;
    if (negative) v = -v;
    if (v > 2147483647LL) return false;
    value = static_cast<int>(v);
    return true;
}
