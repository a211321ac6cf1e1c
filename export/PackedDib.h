// Packed device-independent bitmaps: one block holding a BITMAPINFOHEADER
// (40 bytes; the 12-byte BITMAPCOREHEADER is understood by the readers), the
// colour table and the bottom-up rows padded to four bytes. The frame capture
// of movie export and the picture code of the program share these helpers.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#pragma pack(push, 1)
struct DibInfoHeader {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};
struct DibCoreHeader {
    uint32_t bcSize = 12;
    uint16_t bcWidth = 0;
    uint16_t bcHeight = 0;
    uint16_t bcPlanes = 1;
    uint16_t bcBitCount = 0;
};
struct DibColor {
    uint8_t blue = 0, green = 0, red = 0, reserved = 0;
};
#pragma pack(pop)
static_assert(sizeof(DibInfoHeader) == 40, "DIB header is 40 bytes");
static_assert(sizeof(DibCoreHeader) == 12, "DIB core header is 12 bytes");

enum : uint32_t { DIB_RGB = 0, DIB_RLE8 = 1, DIB_RLE4 = 2, DIB_BITFIELDS = 3 };

// The block of a packed DIB; empty means none.
using DibBlock = std::vector<uint8_t>;

// One entry of a logical palette made from a DIB's colour table.
struct DibPaletteEntry {
    uint8_t red = 0, green = 0, blue = 0, flags = 0;
};

// Bytes of one padded row; 0 when the size is not representable.
uint64_t DibRowBytes(int64_t width, int bitCount);

// Reads a ".bmp" from an open file: a 14-byte file header beginning "BM",
// then the rest of the file (its stated length - 14 bytes, at most what the
// file holds and 1 GiB) into a zeroed block. Empty on a short read, a bad
// signature or a header that does not fit the block.
DibBlock ReadDibFile(FILE* file);

// Width, height, bit count of either header kind; 0 for a null or short block.
int GetDibWidth(const uint8_t* dib, size_t size);
int GetDibHeight(const uint8_t* dib, size_t size);
// biClrUsed when set, else 2, 16 or 256 for 1, 4 or 8 bits per pixel, else 0.
int GetDibNumColors(const uint8_t* dib, size_t size);
// Colour-table entries x 4 (info header) or x 3 (core header).
size_t GetDibPaletteSize(const uint8_t* dib, size_t size);
// The bits: header size plus colour-table size; null when they lie outside
// the block.
const uint8_t* FindDibBits(const uint8_t* dib, size_t size);
uint8_t* FindDibBits(uint8_t* dib, size_t size);
// The logical palette of the colour table (red, green, blue from the table's
// B, G, R order, flags 0); empty without a colour table.
std::vector<DibPaletteEntry> CreateDibPalette(const uint8_t* dib, size_t size);

// A zeroed block with a BITMAPINFOHEADER for width x height: planes 1, bit
// count raised to 1, 4, 8 or 24 (above 24 becomes 4), compression 0, the
// image size, room for the colour table and the bits. Empty when the size is
// unusable or cannot be allocated.
DibBlock CreateEmptyDib(int width, int height, int bitCount);

inline int GetDibWidth(const DibBlock& d) { return GetDibWidth(d.data(), d.size()); }
inline int GetDibHeight(const DibBlock& d) { return GetDibHeight(d.data(), d.size()); }
inline int GetDibNumColors(const DibBlock& d) { return GetDibNumColors(d.data(), d.size()); }
inline size_t GetDibPaletteSize(const DibBlock& d) { return GetDibPaletteSize(d.data(), d.size()); }
inline uint8_t* FindDibBits(DibBlock& d) { return FindDibBits(d.data(), d.size()); }
inline const uint8_t* FindDibBits(const DibBlock& d) { return FindDibBits(d.data(), d.size()); }
