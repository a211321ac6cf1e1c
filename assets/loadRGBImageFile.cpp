#include "assets/loadRGBImageFile.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "assets/ImageFileBytes.h"
#include "sg/sgRuntime.h"

namespace {
constexpr size_t kDataStart = 512;  // verbatim rows and the run-length tables start here

sgImagePtr fail(sgImageFailure* why, sgImageFailure what, const char* text) {
    sgSetImageFailure(why, what);
    sgReportError("Error", text);
    return nullptr;
}

struct SgiFile {
    const uint8_t* data;
    size_t size;
    bool bigEndian;
    uint16_t field16(size_t at) const { return bigEndian ? readBE16(data + at) : readLE16(data + at); }
    uint32_t field32(size_t at) const { return bigEndian ? readBE32(data + at) : readLE32(data + at); }
};

// One run-length row: a count byte (low 7 bits; 0 ends the row), literal bytes
// when its top bit is set, else one byte repeated. Runs may not pass the row's
// end nor the row's data.
bool decodeRow(const SgiFile& f, uint32_t offset, uint32_t length, uint8_t* row, size_t width) {
    if (offset >= f.size) return false;
    size_t p = offset;
    const size_t end = offset + std::min<size_t>(length, f.size - offset);
    size_t x = 0;
    while (p < end) {
        const uint8_t b = f.data[p++];
        const size_t n = b & 0x7F;
        if (n == 0) break;
        if (n > width - x) return false;
        if (b & 0x80) {
            if (n > end - p) return false;
            std::memcpy(row + x, f.data + p, n);
            p += n;
        } else {
            if (p >= end) return false;
            std::memset(row + x, f.data[p++], n);
        }
        x += n;
    }
    return x == width;
}
}  // namespace

sgImagePtr loadRGBImageFile(const std::string& path, int* components, sgImageFailure* why) {
    std::vector<uint8_t> bytes;
    sgImageFailure opened = sgImageFailure::none;
    if (!readImageFileBytes(path, bytes, &opened)) {
        if (opened == sgImageFailure::tooLarge) return fail(why, opened, "Out of memory.");
        return fail(why, opened, ("Failed to open image file " + path + ".\n").c_str());
    }
    if (bytes.size() < 12) return fail(why, sgImageFailure::corrupt, "Invalid rgb file.");
    // The magic is read little-endian: 474 as read, or byte-swapped (files
    // written on big-endian machines), where every header field and table
    // entry is swapped too.
    SgiFile f{bytes.data(), bytes.size(), false};
    const uint16_t magic = readLE16(f.data);
    if (magic == 0xDA01)
        f.bigEndian = true;
    else if (magic != 474)
        return fail(why, sgImageFailure::corrupt, "Invalid rgb file.");
    const uint16_t storage = f.field16(2);
    const uint16_t dimension = f.field16(4);
    const size_t xsize = f.field16(6);
    size_t ysize = f.field16(8);
    size_t zsize = f.field16(10);
    const bool rle = (storage >> 8) == 1;
    // Only 1 byte per channel is read; two-byte channels are refused.
    if ((storage >> 8) > 1 || (storage & 0xFF) != 1) return fail(why, sgImageFailure::unsupported, "Invalid rgb file.");
    if (dimension == 1) ysize = zsize = 1;
    if (dimension == 2) zsize = 1;
    if (xsize == 0 || ysize == 0 || zsize == 0) return fail(why, sgImageFailure::corrupt, "Invalid rgb file.");

    const size_t outBytes = sgImageByteCount(int64_t(xsize), int64_t(ysize), 3);
    if (!outBytes) return fail(why, sgImageFailure::tooLarge, "Out of memory.");
    const size_t channels = zsize >= 3 ? 3 : 1;
    const size_t planes = ysize * zsize;
    if (rle) {
        if (kDataStart + planes * 8 > f.size) return fail(why, sgImageFailure::corrupt, "Invalid rgb file.");
    } else if (kDataStart + xsize * ysize * channels > f.size) {
        return fail(why, sgImageFailure::corrupt, "Invalid rgb file.");
    }

    sgImagePtr image;
    std::vector<uint8_t> rows;
    try {
        image = std::make_unique<sgImage>();
        image->pixels.resize(outBytes);
        rows.resize(xsize * 3);
    } catch (const std::bad_alloc&) {
        return fail(why, sgImageFailure::tooLarge, "Out of memory.");
    }
    image->width = static_cast<int32_t>(xsize);
    image->height = static_cast<int32_t>(ysize);

    const size_t offsets = kDataStart, lengths = kDataStart + planes * 4;
    for (size_t y = 0; y < ysize; ++y) {
        for (size_t z = 0; z < channels; ++z) {
            uint8_t* row = rows.data() + z * xsize;
            const size_t plane = y + z * ysize;
            if (rle) {
                if (!decodeRow(f, f.field32(offsets + plane * 4), f.field32(lengths + plane * 4), row, xsize))
                    return fail(why, sgImageFailure::corrupt, "Invalid rgb file.");
            } else {
                std::memcpy(row, f.data + kDataStart + plane * xsize, xsize);
            }
        }
        // Missing green and blue repeat the first channel.
        const uint8_t* r = rows.data();
        const uint8_t* g = channels == 3 ? r + xsize : r;
        const uint8_t* b = channels == 3 ? r + 2 * xsize : r;
        uint8_t* out = image->pixels.data() + y * xsize * 3;
        for (size_t x = 0; x < xsize; ++x) {
            out[3 * x + 0] = r[x];
            out[3 * x + 1] = g[x];
            out[3 * x + 2] = b[x];
        }
    }
    if (components) *components = 3;
    sgSetImageFailure(why, sgImageFailure::none);
    return image;
}
