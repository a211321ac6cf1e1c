#include "assets/writePNG.h"

#include <cmath>
#include <cstdio>
#include <new>
#include <vector>

#include <png.h>

#include "platform/AtomicFile.h"
#include "sg/sgImage.h"

namespace {
void pngError(png_structp png, png_const_charp message) {
    std::fprintf(stderr, "libpng error: %s\n", message);
    png_longjmp(png, 1);
}

struct PngWriteState {
    FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<png_bytep> rows;
    uint8_t* pixels = nullptr;  // top-down copy
    int width = 0, height = 0, bytesPerPixel = 0, interlace = 0;
    double gamma = 1.0;
};

bool encodePng(PngWriteState& s) {
    if (setjmp(png_jmpbuf(s.png))) return false;
    png_init_io(s.png, s.file);
    int colorType = s.bytesPerPixel == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    int interlace = s.interlace == 1 ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE;
    png_set_IHDR(s.png, s.info, png_uint_32(s.width), png_uint_32(s.height), 8, colorType, interlace,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (s.gamma != 1.0) png_set_gAMA(s.png, s.info, s.gamma);
    png_write_info(s.png, s.info);
    bool allocated = true;
    try {
        s.rows.resize(size_t(s.height));
    } catch (const std::bad_alloc&) {
        allocated = false;
    }
    if (!allocated) png_error(s.png, "out of row_pointer_memory");
    const size_t stride = size_t(s.width) * s.bytesPerPixel;
    for (int y = 0; y < s.height; ++y) s.rows[size_t(y)] = s.pixels + size_t(y) * stride;
    png_write_image(s.png, s.rows.data());
    png_write_end(s.png, nullptr);
    return true;
}

}  // namespace

int writePNG(const std::string& path, const uint8_t* pixels, int width, int height, int bitsPerPixel,
             int interlace, double gamma) {
    if (bitsPerPixel != 24 && bitsPerPixel != 32) return 0;
    if (!pixels || path.empty() || !(gamma > 0) || !std::isfinite(gamma)) return 0;
    const int bytesPerPixel = bitsPerPixel / 8;
    const size_t bytes = sgImageByteCount(width, height, bytesPerPixel);
    if (!bytes) return 0;
    std::vector<uint8_t> copy;
    try {
        copy.assign(pixels, pixels + bytes);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    AtomicFile out;
    if (!out.open(path)) return 0;
    flipRows(copy, width, height, bitsPerPixel);

    PngWriteState s;
    s.file = out.file();
    s.pixels = copy.data();
    s.width = width;
    s.height = height;
    s.bytesPerPixel = bytesPerPixel;
    s.interlace = interlace;
    s.gamma = gamma;
    s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, nullptr);
    if (s.png) s.info = png_create_info_struct(s.png);
    bool ok = s.png && s.info && encodePng(s);
    png_destroy_write_struct(&s.png, s.info ? &s.info : nullptr);
    // Every write and the close must succeed before the file replaces the target.
    if (!ok) {
        out.discard();
        return 0;
    }
    return out.commit() ? 1 : 0;
}

int writePNGWithAlpha(const std::string& path, const uint8_t* rgb, const uint8_t* alpha, int width, int height,
                      int interlace, double gamma) {
    const size_t bytes = sgImageByteCount(width, height, 4);
    if (!bytes || !rgb || !alpha) return 0;
    std::vector<uint8_t> rgba;
    try {
        rgba.resize(bytes);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    const size_t count = bytes / 4;
    for (size_t i = 0; i < count; ++i) {
        rgba[4 * i + 0] = rgb[3 * i + 0];
        rgba[4 * i + 1] = rgb[3 * i + 1];
        rgba[4 * i + 2] = rgb[3 * i + 2];
        rgba[4 * i + 3] = alpha[i];
    }
    return writePNG(path, rgba.data(), width, height, 32, interlace, gamma);
}
