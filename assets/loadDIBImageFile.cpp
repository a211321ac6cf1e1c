#include "assets/loadDIBImageFile.h"

#include <algorithm>
#include <new>
#include <vector>

#include "assets/ImageFileBytes.h"
#include "sg/sgRuntime.h"

namespace {
constexpr uint32_t kRGB = 0, kRLE8 = 1, kRLE4 = 2, kBitFields = 3;

sgImagePtr fail(sgImageFailure* why, sgImageFailure what, const char* text) {
    sgSetImageFailure(why, what);
    sgReportError("Error", text);
    return nullptr;
}

// One colour channel of a 16 or 32-bit pixel, widened to 8 bits by repeating
// its bits (5-bit 31 becomes 255).
struct Field {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    explicit Field(uint32_t m) : mask(m) {
        if (!m) return;
        while (!((m >> shift) & 1)) ++shift;
        for (uint32_t v = m >> shift; v; v >>= 1) ++bits;
    }
    uint8_t operator()(uint32_t pixel) const {
        if (!bits) return 0;
        uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8) return static_cast<uint8_t>(v >> (bits - 8));
        uint32_t out = 0;
        for (int pos = 8 - bits; pos > -bits; pos -= bits) out |= pos >= 0 ? v << pos : v >> -pos;
        return static_cast<uint8_t>(out);
    }
};

struct Dib {
    const uint8_t* data = nullptr;
    size_t size = 0;
    int64_t width = 0;
    int64_t height = 0;  // rows, positive
    bool topDown = false;
    unsigned bits = 0;
    uint32_t compression = kRGB;
    uint32_t sizeImage = 0;
    size_t pixelsAt = 0;
    uint8_t palette[256][3] = {};  // red, green, blue; entries past the table stay black
    uint32_t masks[3] = {};
};

void putIndex(const Dib& d, uint8_t* out, unsigned index) {
    const uint8_t* c = d.palette[index & 0xFF];
    out[0] = c[0];
    out[1] = c[1];
    out[2] = c[2];
}

uint64_t rowStride(const Dib& d) { return (uint64_t(d.width) * d.bits + 31) / 32 * 4; }

// Uncompressed rows are padded to 4 bytes; the last row may lack its padding.
bool holdsUncompressedRows(const Dib& d) {
    const uint64_t rowBytes = (uint64_t(d.width) * d.bits + 7) / 8;
    return rowStride(d) * uint64_t(d.height - 1) + rowBytes <= d.size - d.pixelsAt;
}

void decodeUncompressed(const Dib& d, sgImage& image) {
    const uint64_t stride = rowStride(d);
    const Field red(d.masks[0]), green(d.masks[1]), blue(d.masks[2]);
    const size_t outStride = size_t(d.width) * 3;
    for (int64_t i = 0; i < d.height; ++i) {
        const uint8_t* row = d.data + d.pixelsAt + stride * i;
        uint8_t* out = image.pixels.data() + outStride * size_t(d.topDown ? d.height - 1 - i : i);
        for (int64_t x = 0; x < d.width; ++x, out += 3) {
            switch (d.bits) {
                case 1: putIndex(d, out, (row[x >> 3] >> (7 - (x & 7))) & 1); break;
                case 4: putIndex(d, out, (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4); break;
                case 8: putIndex(d, out, row[x]); break;
                case 24:
                    out[0] = row[3 * x + 2];
                    out[1] = row[3 * x + 1];
                    out[2] = row[3 * x];
                    break;
                case 16:
                case 32: {
                    uint32_t px = d.bits == 16 ? readLE16(row + 2 * x) : readLE32(row + 4 * x);
                    out[0] = red(px);
                    out[1] = green(px);
                    out[2] = blue(px);
                    break;
                }
            }
        }
    }
}

// Run-length rows are bottom-up. Pixels that no code reaches (after an end of
// line, an end of bitmap or a delta) stay black; pixels past the row's end are
// dropped. Data that end before the end-of-bitmap code, with rows still to
// come, mean a truncated file.
bool decodeRunLength(const Dib& d, sgImage& image) {
    const size_t available = d.size - d.pixelsAt;
    const size_t length = d.sizeImage ? std::min<size_t>(d.sizeImage, available) : available;
    const uint8_t* p = d.data + d.pixelsAt;
    const uint8_t* end = p + length;
    const bool four = d.compression == kRLE4;
    int64_t x = 0, y = 0;
    auto put = [&](unsigned index) {
        if (x < d.width && y < d.height) putIndex(d, image.pixels.data() + (size_t(y) * d.width + x) * 3, index);
        ++x;
    };
    while (end - p >= 2) {
        const unsigned a = p[0], b = p[1];
        p += 2;
        if (a > 0) {
            for (unsigned i = 0; i < a; ++i) put(four ? ((i & 1) ? b & 0x0F : b >> 4) : b);
            continue;
        }
        if (b == 0) {
            x = 0;
            ++y;
        } else if (b == 1) {
            return true;
        } else if (b == 2) {
            if (end - p < 2) return false;
            x += p[0];
            y += p[1];
            p += 2;
        } else {
            size_t bytes = four ? (b + 1) / 2 : b;
            bytes += bytes & 1;  // absolute runs end on a 16-bit boundary
            if (size_t(end - p) < bytes) return false;
            for (unsigned i = 0; i < b; ++i) put(four ? ((i & 1) ? p[i / 2] & 0x0F : p[i / 2] >> 4) : p[i]);
            p += bytes;
        }
    }
    return y >= d.height;
}
}  // namespace

sgImagePtr loadDIBImageFile(const std::string& path, int* components, sgImageFailure* why) {
    std::vector<uint8_t> bytes;
    sgImageFailure opened = sgImageFailure::none;
    if (!readImageFileBytes(path, bytes, &opened) && opened == sgImageFailure::tooLarge)
        return fail(why, opened, "Out of memory.");
    if (opened != sgImageFailure::none || bytes.empty())
        return fail(why, opened == sgImageFailure::none ? sgImageFailure::corrupt : opened,
                    ("Failed to open DIB file " + path + ".\n").c_str());

    Dib d;
    d.data = bytes.data();
    d.size = bytes.size();
    const bool fileHeader = d.size >= 14 && readLE16(d.data) == 0x4D42;  // "BM"
    const size_t infoAt = fileHeader ? 14 : 0;
    if (d.size < infoAt + 4) return fail(why, sgImageFailure::corrupt, "Unknown DIB file format.");
    const uint32_t headerSize = readLE32(d.data + infoAt);
    if ((headerSize != 12 && headerSize != 40) || d.size < infoAt + headerSize) {
        // The later Windows headers are real bitmaps this loader does not take.
        const bool later = headerSize == 52 || headerSize == 56 || headerSize == 108 || headerSize == 124;
        return fail(why, later ? sgImageFailure::unsupported : sgImageFailure::corrupt, "Unknown DIB file format.");
    }
    const uint8_t* h = d.data + infoAt;
    const bool core = headerSize == 12;
    uint64_t colors;
    int64_t height;
    if (core) {
        d.width = readLE16(h + 4);
        height = readLE16(h + 6);
        d.bits = readLE16(h + 10);
        colors = d.bits <= 8 ? (1u << d.bits) : 0;
    } else {
        d.width = int32_t(readLE32(h + 4));
        height = int32_t(readLE32(h + 8));
        d.bits = readLE16(h + 14);
        d.compression = readLE32(h + 16);
        d.sizeImage = readLE32(h + 20);
        colors = readLE32(h + 32);
        if (!colors) colors = d.bits <= 8 ? (1u << d.bits) : 0;
    }
    if (d.bits != 1 && d.bits != 4 && d.bits != 8 && d.bits != 16 && d.bits != 24 && d.bits != 32)
        return fail(why, sgImageFailure::corrupt, "Image file conversion error.");
    const size_t masksAt = infoAt + headerSize;
    const size_t tableAt = masksAt + (d.compression == kBitFields ? 12 : 0);
    const size_t entry = core ? 3 : 4;
    if (tableAt > d.size || colors > (d.size - tableAt) / entry) return fail(why, sgImageFailure::corrupt, "Image file conversion error.");
    const size_t pixelsAt = fileHeader ? readLE32(d.data + 10) : tableAt + size_t(colors) * entry;
    d.pixelsAt = pixelsAt;

    d.topDown = height < 0;
    d.height = height < 0 ? -height : height;
    bool valid = d.width > 0 && d.height > 0 && pixelsAt <= d.size;
    switch (d.compression) {
        case kRGB: valid = valid && (!core || (d.bits != 16 && d.bits != 32)); break;
        case kRLE8: valid = valid && d.bits == 8 && !d.topDown; break;
        case kRLE4: valid = valid && d.bits == 4 && !d.topDown; break;
        case kBitFields: valid = valid && (d.bits == 16 || d.bits == 32); break;
        default: valid = false;
    }
    if (!valid) return fail(why, sgImageFailure::corrupt, "Image file conversion error.");

    for (size_t i = 0; i < colors && i < 256; ++i) {
        const uint8_t* c = d.data + tableAt + i * entry;
        d.palette[i][0] = c[2];
        d.palette[i][1] = c[1];
        d.palette[i][2] = c[0];
    }
    if (d.compression == kBitFields) {
        for (int i = 0; i < 3; ++i) d.masks[i] = readLE32(d.data + masksAt + 4 * i);
    } else if (d.bits == 16) {
        d.masks[0] = 0x7C00, d.masks[1] = 0x03E0, d.masks[2] = 0x001F;
    } else if (d.bits == 32) {
        d.masks[0] = 0xFF0000, d.masks[1] = 0x00FF00, d.masks[2] = 0x0000FF;
    }

    const size_t outBytes = sgImageByteCount(d.width, d.height, 3);
    if (!outBytes) return fail(why, sgImageFailure::tooLarge, "Out of memory.");
    const bool runLength = d.compression == kRLE8 || d.compression == kRLE4;
    if (!runLength && !holdsUncompressedRows(d)) return fail(why, sgImageFailure::corrupt, "Image file conversion error.");
    sgImagePtr image;
    try {
        image = std::make_unique<sgImage>();
        image->pixels.assign(outBytes, 0);
    } catch (const std::bad_alloc&) {
        return fail(why, sgImageFailure::tooLarge, "Out of memory.");
    }
    image->width = static_cast<int32_t>(d.width);
    image->height = static_cast<int32_t>(d.height);
    if (runLength) {
        if (!decodeRunLength(d, *image)) return fail(why, sgImageFailure::corrupt, "Image file conversion error.");
    } else {
        decodeUncompressed(d, *image);
    }
    if (components) *components = 3;
    sgSetImageFailure(why, sgImageFailure::none);
    return image;
}
