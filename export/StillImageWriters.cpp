#include "export/StillImageWriters.h"

#include <cstring>
#include <new>
#include <vector>

#include <jpeglib.h>

#include "export/JpegMemory.h"

#include "platform/AtomicFile.h"
#include "sg/sgImage.h"
#include "sg/sgRuntime.h"

namespace {

// Both 16-bit formats (Targa, SGI) and the rest share one bound: the image
// must be non-empty, fit the pixel cap and give a pixel buffer.
bool usable(const CapturedImage& image, int maxSide) {
    if (!image.pixels || (image.bytesPerPixel != 3 && image.bytesPerPixel != 4)) return false;
    if (image.width <= 0 || image.height <= 0 || image.width > maxSide || image.height > maxSide) return false;
    return sgImageByteCount(image.width, image.height, image.bytesPerPixel) != 0;
}

void put16le(uint8_t* p, unsigned v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
void put32le(uint8_t* p, uint32_t v) {
    put16le(p, v & 0xFFFF);
    put16le(p + 2, v >> 16);
}
void put16be(uint8_t* p, unsigned v) {
    p[0] = uint8_t(v >> 8);
    p[1] = uint8_t(v);
}
void put32be(uint8_t* p, uint32_t v) {
    put16be(p, v >> 16);
    put16be(p + 2, v & 0xFFFF);
}

bool writeAll(FILE* f, const void* data, size_t n) { return n == 0 || std::fwrite(data, 1, n, f) == n; }

// Opens the target, lets fill write it, commits; the debug print names the
// writer when the file cannot be created.
int writeThrough(const char* who, const std::string& path, bool (*fill)(FILE*, const void*), const void* ctx) {
    AtomicFile out;
    if (!out.open(path)) {
        debugPrint2(who, (" Unable to create output file: " + path).c_str());
        return 0;
    }
    if (!fill(out.file(), ctx)) {
        out.discard();
        return 0;
    }
    return out.commit() ? 1 : 0;
}

}  // namespace

// ---- Targa ----

void writeTGAPacket(int count, const uint8_t* bgra, int alpha, FILE* file) {
    uint8_t packet[5];
    // A run of n from 2 to 128 is 127 + n; one pixel is a raw packet of one.
    packet[0] = count >= 2 ? uint8_t(127 + count) : 0;
    std::memcpy(packet + 1, bgra, alpha ? 4 : 3);
    std::fwrite(packet, 1, alpha ? 5 : 4, file);
}

int writeTGAHeader(FILE* file, int alpha, const CapturedImage& image, int runLength, const uint8_t* mask) {
    if (!file || !usable(image, 65535)) return 0;
    if (alpha && image.bytesPerPixel != 4 && !mask) return 0;
    uint8_t header[18] = {};
    header[2] = runLength ? 10 : 2;
    put16le(header + 12, unsigned(image.width));
    put16le(header + 14, unsigned(image.height));
    header[16] = alpha ? 32 : 24;
    header[17] = alpha ? 8 : 0;  // 8 alpha bits, origin lower left
    if (!writeAll(file, header, sizeof header)) return 0;

    const int W = image.width, H = image.height, in = image.bytesPerPixel;
    std::vector<uint8_t> row(size_t(W) * 4);  // B, G, R, A per pixel
    for (int y = 0; y < H; ++y) {
        const uint8_t* src = image.pixels + size_t(y) * W * in;
        const uint8_t* m = mask ? mask + size_t(y) * W : nullptr;
        for (int x = 0; x < W; ++x) {
            uint8_t* p = &row[size_t(x) * 4];
            p[0] = src[x * in + 2];
            p[1] = src[x * in + 1];
            p[2] = src[x * in + 0];
            p[3] = !alpha ? 0 : m ? m[x] : src[x * in + 3];
        }
        if (!runLength) {
            if (alpha) {
                if (!writeAll(file, row.data(), row.size())) return 0;
            } else {
                for (int x = 0; x < W; ++x) std::memmove(&row[size_t(x) * 3], &row[size_t(x) * 4], 3);
                if (!writeAll(file, row.data(), size_t(W) * 3)) return 0;
            }
            continue;
        }
        // Runs of equal pixels, at most 128, never across a row's end.
        for (int x = 0; x < W;) {
            const uint8_t* px = row.data();
            int n = 1;
            while (x + n < W && n < 128 && std::memcmp(px + size_t(x + n) * 4, px + size_t(x) * 4, 4) == 0) ++n;
            writeTGAPacket(n, &row[size_t(x) * 4], alpha, file);
            x += n;
        }
        if (std::ferror(file)) return 0;
    }
    return std::ferror(file) ? 0 : 1;
}

int writeTGA(const std::string& path, const CapturedImage& image, int alpha, int runLength, const uint8_t* mask) {
    if (!usable(image, 65535) || (alpha && image.bytesPerPixel != 4 && !mask)) return 0;
    struct Args {
        const CapturedImage* image;
        int alpha, runLength;
        const uint8_t* mask;
    } args{&image, alpha, runLength, mask};
    return writeThrough("[saveToTGA]", path,
                        [](FILE* f, const void* c) {
                            const Args* a = static_cast<const Args*>(c);
                            return writeTGAHeader(f, a->alpha, *a->image, a->runLength, a->mask) == 1;
                        },
                        &args);
}

// ---- SGI RGB ----

int writeRGB(const std::string& path, const CapturedImage& image) {
    if (!usable(image, 65535)) return 0;
    return writeThrough("[saveToRGB]", path,
                        [](FILE* f, const void* c) {
                            const CapturedImage& im = *static_cast<const CapturedImage*>(c);
                            uint8_t header[512] = {};
                            put16be(header, 474);
                            header[2] = 0;  // verbatim
                            header[3] = 1;  // one byte per channel
                            put16be(header + 4, 3);
                            put16be(header + 6, unsigned(im.width));
                            put16be(header + 8, unsigned(im.height));
                            put16be(header + 10, 3);
                            put32be(header + 12, 0);
                            put32be(header + 16, 255);
                            std::memcpy(header + 24, "imgFile", 7);
                            if (!writeAll(f, header, sizeof header)) return false;
                            // Planes red, green, blue; rows bottom first, as
                            // both the buffer and the format keep them.
                            std::vector<uint8_t> row(size_t(im.width));
                            const int in = im.bytesPerPixel;
                            for (int plane = 0; plane < 3; ++plane) {
                                for (int y = 0; y < im.height; ++y) {
                                    const uint8_t* src = im.pixels + size_t(y) * im.width * in + plane;
                                    for (int x = 0; x < im.width; ++x) row[size_t(x)] = src[size_t(x) * in];
                                    if (!writeAll(f, row.data(), row.size())) return false;
                                }
                            }
                            return true;
                        },
                        &image);
}

// ---- BMP ----

int writeBMP(const std::string& path, const CapturedImage& image) {
    if (!usable(image, 1 << 30)) return 0;
    const uint64_t rowBytes = (uint64_t(image.width) * 3 + 3) / 4 * 4;
    const uint64_t imageBytes = rowBytes * uint64_t(image.height);
    if (54 + imageBytes > 0xFFFFFFFFu) return 0;
    // The row buffer is allocated before the file exists.
    std::vector<uint8_t> row;
    try {
        row.assign(size_t(rowBytes), 0);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    struct Args {
        const CapturedImage* image;
        std::vector<uint8_t>* row;
        uint32_t imageBytes;
    } args{&image, &row, uint32_t(imageBytes)};
    return writeThrough("[saveToBMP]", path,
                        [](FILE* f, const void* c) {
                            const Args& a = *static_cast<const Args*>(c);
                            const CapturedImage& im = *a.image;
                            uint8_t header[54] = {};
                            header[0] = 'B';
                            header[1] = 'M';
                            put32le(header + 2, 54 + a.imageBytes);
                            put32le(header + 10, 54);
                            put32le(header + 14, 40);
                            put32le(header + 18, uint32_t(im.width));
                            put32le(header + 22, uint32_t(im.height));
                            put16le(header + 26, 1);
                            put16le(header + 28, 24);
                            put32le(header + 34, a.imageBytes);
                            if (!writeAll(f, header, sizeof header)) return false;
                            uint8_t* out = a.row->data();
                            const int in = im.bytesPerPixel;
                            for (int y = 0; y < im.height; ++y) {
                                const uint8_t* src = im.pixels + size_t(y) * im.width * in;
                                for (int x = 0; x < im.width; ++x) {
                                    out[3 * x + 0] = src[x * in + 2];
                                    out[3 * x + 1] = src[x * in + 1];
                                    out[3 * x + 2] = src[x * in + 0];
                                }
                                if (!writeAll(f, out, a.row->size())) return false;
                            }
                            return true;
                        },
                        &args);
}

// ---- JPEG ----

int writeJPG(const std::string& path, const CapturedImage& image, int quality, int progressive) {
    if (!usable(image, JPEG_MAX_DIMENSION)) return 0;
    // Scan line k is buffer row H - 1 - k: the picture's top comes first.
    std::vector<uint8_t> bytes;
    const JpegPixels format = image.bytesPerPixel == 4 ? JpegPixels::RGBA : JpegPixels::RGB;
    JpegEncodeOptions options;
    options.progressive = progressive != 0;
    options.baseline = false;
    if (!EncodeJpegToMemory(image.pixels, image.width, image.height, size_t(image.width) * image.bytesPerPixel,
                            format, true, quality, bytes, options)) {
        debugPrint2("[saveToJPG] ", "the JPEG could not be compressed");
        return 0;
    }
    return writeThrough("[saveToJPG]", path,
                        [](FILE* f, const void* c) {
                            const auto& data = *static_cast<const std::vector<uint8_t>*>(c);
                            return writeAll(f, data.data(), data.size());
                        },
                        &bytes);
}
