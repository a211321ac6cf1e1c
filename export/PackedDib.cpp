#include "export/PackedDib.h"

#include <cstring>
#include <new>

namespace {

constexpr uint64_t kMaxDibBytes = uint64_t(1) << 30;

bool isCore(const uint8_t* dib, size_t size) {
    uint32_t headerSize = 0;
    std::memcpy(&headerSize, dib, 4);
    return headerSize == sizeof(DibCoreHeader) && size >= sizeof(DibCoreHeader);
}

bool hasHeader(const uint8_t* dib, size_t size) {
    if (!dib || size < 4) return false;
    if (isCore(dib, size)) return true;
    uint32_t headerSize = 0;
    std::memcpy(&headerSize, dib, 4);
    return headerSize >= sizeof(DibInfoHeader) && size >= headerSize;
}

int bitCountOf(const uint8_t* dib, size_t size) {
    if (isCore(dib, size)) {
        DibCoreHeader h;
        std::memcpy(&h, dib, sizeof h);
        return h.bcBitCount;
    }
    DibInfoHeader h;
    std::memcpy(&h, dib, sizeof h);
    return h.biBitCount;
}

}  // namespace

uint64_t DibRowBytes(int64_t width, int bitCount) {
    if (width <= 0 || bitCount <= 0 || bitCount > 32) return 0;
    return uint64_t((bitCount * width + 31) / 32) * 4;
}

DibBlock ReadDibFile(FILE* file) {
    DibBlock block;
    if (!file) return block;
    uint8_t fileHeader[14];
    if (std::fread(fileHeader, 1, sizeof fileHeader, file) != sizeof fileHeader) return block;
    if (fileHeader[0] != 'B' || fileHeader[1] != 'M') return block;
    uint32_t length = 0;
    std::memcpy(&length, fileHeader + 2, 4);
    if (length <= sizeof fileHeader || length - sizeof fileHeader > kMaxDibBytes) return block;
    try {
        block.assign(length - sizeof fileHeader, 0);
    } catch (const std::bad_alloc&) {
        return block;
    }
    if (std::fread(block.data(), 1, block.size(), file) != block.size() || !hasHeader(block.data(), block.size())) {
        block.clear();
        block.shrink_to_fit();
    }
    return block;
}

namespace {
// Width and height from either header kind.
void dibSize(const uint8_t* dib, size_t size, int* width, int* height) {
    *width = *height = 0;
    if (!hasHeader(dib, size)) return;
    if (isCore(dib, size)) {
        DibCoreHeader h;
        std::memcpy(&h, dib, sizeof h);
        *width = h.bcWidth, *height = h.bcHeight;
        return;
    }
    DibInfoHeader h;
    std::memcpy(&h, dib, sizeof h);
    *width = h.biWidth, *height = h.biHeight;
}
}  // namespace

int GetDibWidth(const uint8_t* dib, size_t size) {
    int w, h;
    dibSize(dib, size, &w, &h);
    return w;
}

int GetDibHeight(const uint8_t* dib, size_t size) {
    int w, h;
    dibSize(dib, size, &w, &h);
    return h;
}

int GetDibNumColors(const uint8_t* dib, size_t size) {
    if (!hasHeader(dib, size)) return 0;
    if (!isCore(dib, size)) {
        DibInfoHeader h;
        std::memcpy(&h, dib, sizeof h);
        if (h.biClrUsed) return h.biClrUsed > 256 ? 256 : int(h.biClrUsed);
    }
    switch (bitCountOf(dib, size)) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

size_t GetDibPaletteSize(const uint8_t* dib, size_t size) {
    if (!hasHeader(dib, size)) return 0;
    return size_t(GetDibNumColors(dib, size)) * (isCore(dib, size) ? 3 : 4);
}

uint8_t* FindDibBits(uint8_t* dib, size_t size) {
    if (!hasHeader(dib, size)) return nullptr;
    uint32_t headerSize = 0;
    std::memcpy(&headerSize, dib, 4);
    const size_t offset = size_t(headerSize) + GetDibPaletteSize(dib, size);
    return offset < size ? dib + offset : nullptr;
}

const uint8_t* FindDibBits(const uint8_t* dib, size_t size) { return FindDibBits(const_cast<uint8_t*>(dib), size); }

std::vector<DibPaletteEntry> CreateDibPalette(const uint8_t* dib, size_t size) {
    std::vector<DibPaletteEntry> palette;
    const int n = GetDibNumColors(dib, size);
    if (n == 0) return palette;
    uint32_t headerSize = 0;
    std::memcpy(&headerSize, dib, 4);
    const size_t entry = isCore(dib, size) ? 3 : 4;
    if (headerSize + entry * size_t(n) > size) return palette;
    const uint8_t* table = dib + headerSize;
    palette.resize(size_t(n));
    for (int i = 0; i < n; ++i) {
        palette[size_t(i)].blue = table[entry * i + 0];
        palette[size_t(i)].green = table[entry * i + 1];
        palette[size_t(i)].red = table[entry * i + 2];
    }
    return palette;
}

DibBlock CreateEmptyDib(int width, int height, int bitCount) {
    DibBlock block;
    if (bitCount <= 1)
        bitCount = 1;
    else if (bitCount <= 4)
        bitCount = 4;
    else if (bitCount <= 8)
        bitCount = 8;
    else if (bitCount <= 24)
        bitCount = 24;
    else
        bitCount = 4;
    const uint64_t row = DibRowBytes(width, bitCount);
    if (row == 0 || height <= 0) return block;
    const uint64_t image = row * uint64_t(height);
    const size_t colors = bitCount <= 8 ? (size_t(1) << bitCount) : 0;
    const uint64_t total = sizeof(DibInfoHeader) + colors * sizeof(DibColor) + image;
    if (image > kMaxDibBytes) return block;
    try {
        block.assign(size_t(total), 0);
    } catch (const std::bad_alloc&) {
        return block;
    }
    DibInfoHeader h;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = uint16_t(bitCount);
    h.biSizeImage = uint32_t(image);
    std::memcpy(block.data(), &h, sizeof h);
    return block;
}
