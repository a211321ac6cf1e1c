#include "editor/CDib.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstring>

namespace {

// Larger pictures than this are refused rather than allocated.
constexpr uint64_t kMaxDibBytes = uint64_t(1) << 30;

bool validSize(int w, int h) { return w > 0 && h > 0 && w <= 65535 && h <= 65535; }

// Reads a w x h area whose top-left corner is the window's, bottom-up rows of
// blue, green, red padded to four bytes.
bool readFrameBGR(int w, int h, int windowHeight, std::vector<uint8_t>& out) {
    const uint64_t row = DibRowBytes(w, 24);
    if (row == 0 || row * uint64_t(h) > kMaxDibBytes) return false;
    out.assign(row * h, 0);
    GLint oldAlign = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &oldAlign);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, windowHeight - h, w, h, GL_BGR, GL_UNSIGNED_BYTE, out.data());
    glPixelStorei(GL_PACK_ALIGNMENT, oldAlign);
    return glGetError() == GL_NO_ERROR;
}

// Maps pixel d of a span dn long onto a span sn long: the source pixel under
// the centre of the destination pixel.
int mapNearest(int d, int dn, int sn) { return static_cast<int>((int64_t(2 * d + 1) * sn) / (int64_t(2) * dn)); }

}  // namespace

// ---- CDib ----

void CDib::Free() {
    m_block.clear();
    m_block.shrink_to_fit();
    m_palette.clear();
    m_bitsOffset = 0;
}

const DibInfoHeader* CDib::Header() const {
    return Valid() ? reinterpret_cast<const DibInfoHeader*>(m_block.data()) : nullptr;
}

const DibColor* CDib::ColorTable() const {
    return Valid() ? reinterpret_cast<const DibColor*>(m_block.data() + sizeof(DibInfoHeader)) : nullptr;
}

const uint8_t* CDib::Bits() const { return Valid() ? m_block.data() + m_bitsOffset : nullptr; }

int CDib::Capture(const CRectI& rect, int windowHeight) {
    Free();
    CBitmapData bitmap;
    bitmap.width = rect.Width();
    bitmap.height = rect.Height();
    bitmap.bitsPerPixel = 24;
    if (!validSize(bitmap.width, bitmap.height) || bitmap.height > windowHeight) return 0;
    if (!readFrameBGR(bitmap.width, bitmap.height, windowHeight, bitmap.bits)) return 0;
    // A true-colour frame needs no palette.
    return FromBitmap(bitmap, DIB_RGB, nullptr) ? 1 : 0;
}

bool CDib::FromBitmap(const CBitmapData& bitmap, uint32_t compression, const std::vector<DibColor>* palette) {
    Free();
    if (compression != DIB_RGB) return false;
    if (!validSize(bitmap.width, bitmap.height) || bitmap.planes < 1) return false;
    const int bitCount = bitmap.planes * bitmap.bitsPerPixel;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return false;
    const uint64_t row = DibRowBytes(bitmap.width, bitCount);
    const uint64_t sizeImage = row * uint64_t(bitmap.height);
    if (row == 0 || sizeImage > kMaxDibBytes || bitmap.bits.size() < sizeImage) return false;

    const size_t colorCount = bitCount <= 8 ? (size_t(1) << bitCount) : 0;
    DibInfoHeader h;
    h.biWidth = bitmap.width;
    h.biHeight = bitmap.height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<uint16_t>(bitCount);
    h.biCompression = compression;
    h.biSizeImage = static_cast<uint32_t>(sizeImage);

    m_bitsOffset = sizeof(DibInfoHeader) + colorCount * sizeof(DibColor);
    m_block.assign(m_bitsOffset + sizeImage, 0);
    std::memcpy(m_block.data(), &h, sizeof h);
    const std::vector<DibColor>& colors = palette ? *palette : bitmap.colors;
    const size_t n = std::min(colors.size(), colorCount);
    if (n) std::memcpy(m_block.data() + sizeof(DibInfoHeader), colors.data(), n * sizeof(DibColor));
    std::memcpy(m_block.data() + m_bitsOffset, bitmap.bits.data(), sizeImage);
    return true;
}

uint32_t CDib::PixelAt(int x, int y) const {
    const DibInfoHeader* h = Header();
    if (!h || x < 0 || y < 0 || x >= h->biWidth || y >= h->biHeight) return 0;
    const uint8_t* row = Bits() + DibRowBytes(h->biWidth, h->biBitCount) * (h->biHeight - 1 - y);
    auto fromTable = [this, h](unsigned index) -> uint32_t {
        if (index >= (1u << h->biBitCount)) return 0;
        const DibColor& c = ColorTable()[index];
        return (uint32_t(c.red) << 16) | (uint32_t(c.green) << 8) | c.blue;
    };
    switch (h->biBitCount) {
    case 1: return fromTable((row[x / 8] >> (7 - x % 8)) & 1);
    case 4: return fromTable((row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF);
    case 8: return fromTable(row[x]);
    case 16: {
        // 5-5-5 without bit fields.
        const unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
        const unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
        return ((r * 255 / 31) << 16) | ((g * 255 / 31) << 8) | (b * 255 / 31);
    }
    case 24: return (uint32_t(row[3 * x + 2]) << 16) | (uint32_t(row[3 * x + 1]) << 8) | row[3 * x];
    case 32: return (uint32_t(row[4 * x + 2]) << 16) | (uint32_t(row[4 * x + 1]) << 8) | row[4 * x];
    default: return 0;
    }
}

int CDib::Paint(CDibSection& target, const CRectI& dest, const CRectI& src) const {
    if (!Valid() || !target.Valid()) return 0;
    const int dw = dest.Width(), dh = dest.Height();
    const int sw = src.Width(), sh = src.Height();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return 0;
    const bool unscaled = dw == sw && dh == sh;
    for (int y = 0; y < dh; ++y) {
        const int ty = dest.top + y;
        if (ty < 0 || ty >= target.Height()) continue;
        const int sy = src.top + (unscaled ? y : mapNearest(y, dh, sh));
        for (int x = 0; x < dw; ++x) {
            const int tx = dest.left + x;
            if (tx < 0 || tx >= target.Width()) continue;
            const int sx = src.left + (unscaled ? x : mapNearest(x, dw, sw));
            if (sx < 0 || sy < 0 || sx >= GetWidth() || sy >= GetHeight()) continue;
            target.SetPixel(tx, ty, PixelAt(sx, sy));
        }
    }
    return dh;
}

// ---- CDibSection ----

int CDibSection::Create(int width, int height) {
    Free();
    if (!validSize(width, height)) return 0;
    const uint64_t bytes = uint64_t(width) * uint64_t(height) * 4;
    if (bytes > kMaxDibBytes) return 0;
    m_header = DibInfoHeader{};
    m_header.biWidth = width;
    m_header.biHeight = height;
    m_header.biPlanes = 1;
    m_header.biBitCount = 32;
    m_header.biCompression = DIB_RGB;
    m_header.biSizeImage = static_cast<uint32_t>(bytes);
    m_bits.assign(bytes, 0);
    return 1;
}

void CDibSection::Free() {
    m_bits.clear();
    m_bits.shrink_to_fit();
    m_header = DibInfoHeader{};
    m_header.biSize = 40;
}

uint32_t CDibSection::PixelAt(int x, int y) const {
    if (!Valid() || x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
    const uint8_t* p = m_bits.data() + (size_t(Height() - 1 - y) * Width() + x) * 4;
    return (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

void CDibSection::SetPixel(int x, int y, uint32_t rgb) {
    if (!Valid() || x < 0 || y < 0 || x >= Width() || y >= Height()) return;
    uint8_t* p = m_bits.data() + (size_t(Height() - 1 - y) * Width() + x) * 4;
    p[0] = rgb & 0xFF;
    p[1] = (rgb >> 8) & 0xFF;
    p[2] = (rgb >> 16) & 0xFF;
    p[3] = 0;
}

void CDibSection::Capture(const CRectI& rect, int windowHeight) {
    if (!Valid()) return;
    const int w = rect.Width(), h = rect.Height();
    if (!validSize(w, h) || rect.top < 0 || rect.left < 0 || rect.bottom > windowHeight) return;
    // The window area as a DIB, then scaled into the section.
    std::vector<uint8_t> frame;
    const int readHeight = rect.bottom;
    const int readWidth = rect.right;
    if (!readFrameBGR(readWidth, readHeight, windowHeight, frame)) return;
    CBitmapData bitmap;
    bitmap.width = readWidth;
    bitmap.height = readHeight;
    bitmap.bits = std::move(frame);
    CDib dib;
    if (!dib.FromBitmap(bitmap, DIB_RGB, nullptr)) return;
    dib.Paint(*this, CRectI{0, 0, Width(), Height()}, rect);
}

void CDibSection::Draw(CDibSection& target, const CRectI& dest) const {
    if (!Valid() || !target.Valid()) return;
    const int dw = dest.Width(), dh = dest.Height();
    if (dw <= 0 || dh <= 0) return;
    for (int y = 0; y < dh; ++y) {
        const int sy = mapNearest(y, dh, Height());
        for (int x = 0; x < dw; ++x) target.SetPixel(dest.left + x, dest.top + y, PixelAt(mapNearest(x, dw, Width()), sy));
    }
}
