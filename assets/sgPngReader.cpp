#include "assets/sgPngReader.h"

#include <cstdio>
#include <new>
#include <vector>

#include <png.h>

#include "assets/ImageFileBytes.h"

namespace {
// Everything the decoder touches after its recovery point lives here, outside
// the frame that libpng's error path jumps through.
struct PngReadState {
    FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<png_bytep> rows;
    sgImage* image = nullptr;
    int channels = 0;
    unsigned long long fileSize = 0;
    // Why the decoder stopped; libpng's own errors mean a damaged file.
    sgImageFailure failure = sgImageFailure::corrupt;
};

void pngError(png_structp png, png_const_charp message) {
    std::fprintf(stderr, "libpng error: %s\n", message);
    png_longjmp(png, 1);
}

// Deflate expands at most 1032 to 1: a header promising more image data than
// the file could carry is refused before the pixels are allocated.
constexpr unsigned long long kMaxInflateRatio = 1032;

bool decodePng(PngReadState& s) {
    if (setjmp(png_jmpbuf(s.png))) return false;
    png_init_io(s.png, s.file);
    png_set_sig_bytes(s.png, 8);
    png_read_info(s.png, s.info);

    png_uint_32 width = 0, height = 0;
    int depth = 0, colorType = 0, interlace = 0;
    png_get_IHDR(s.png, s.info, &width, &height, &depth, &colorType, &interlace, nullptr, nullptr);
    unsigned long long rawBits =
        (unsigned long long)width * height * unsigned(depth) * png_get_channels(s.png, s.info);
    if (rawBits / 8 > kMaxInflateRatio * s.fileSize + 4096) png_error(s.png, "image data exceed the file");

    if (depth == 16) png_set_strip_16(s.png);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_expand(s.png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand(s.png);
    if (png_get_valid(s.png, s.info, PNG_INFO_tRNS)) png_set_expand(s.png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(s.png);
    png_color_16p background = nullptr;
    if (png_get_bKGD(s.png, s.info, &background))
        png_set_background(s.png, background, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
    double fileGamma = 0;
    if (png_get_gAMA(s.png, s.info, &fileGamma)) png_set_gamma(s.png, 2.2, fileGamma);
    png_set_interlace_handling(s.png);
    png_read_update_info(s.png, s.info);

    png_get_IHDR(s.png, s.info, &width, &height, &depth, &colorType, &interlace, nullptr, nullptr);
    size_t rowBytes = png_get_rowbytes(s.png, s.info);
    s.channels = png_get_channels(s.png, s.info);
    size_t bytes = sgImageByteCount(width, height, s.channels);
    if (!bytes || depth != 8 || rowBytes != size_t(width) * s.channels) {
        s.failure = sgImageFailure::tooLarge;
        png_error(s.png, "out of image data memory");
    }
    bool allocated = true;
    try {
        s.image->pixels.assign(bytes, 0);
    } catch (const std::bad_alloc&) {
        allocated = false;
    }
    if (!allocated) {
        s.failure = sgImageFailure::tooLarge;
        png_error(s.png, "out of image data memory");
    }
    try {
        s.rows.resize(height);
    } catch (const std::bad_alloc&) {
        allocated = false;
    }
    if (!allocated) {
        s.failure = sgImageFailure::tooLarge;
        png_error(s.png, "out of row_pointer_memory");
    }
    for (png_uint_32 y = 0; y < height; ++y) s.rows[y] = s.image->pixels.data() + size_t(y) * rowBytes;
    s.image->width = static_cast<int32_t>(width);
    s.image->height = static_cast<int32_t>(height);

    png_read_image(s.png, s.rows.data());
    png_read_end(s.png, nullptr);
    return true;
}
}  // namespace

sgImagePtr sgPngReader::read(const std::string& path, int* bytesPerPixel, sgImageFailure* why) {
    PngReadState s;
    FILE* file = openImageFile(path, why, &s.fileSize);
    if (!file) return nullptr;
    png_byte signature[8];
    if (std::fread(signature, 1, 8, file) != 8 || png_sig_cmp(signature, 0, 8) != 0) {
        std::fclose(file);
        sgSetImageFailure(why, sgImageFailure::corrupt);
        return nullptr;
    }
    s.file = file;
    auto image = std::make_unique<sgImage>();
    s.image = image.get();
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, nullptr);
    if (s.png) s.info = png_create_info_struct(s.png);
    if (!s.png || !s.info) s.failure = sgImageFailure::tooLarge;
    bool ok = s.png && s.info && decodePng(s);
    png_destroy_read_struct(&s.png, s.info ? &s.info : nullptr, nullptr);
    std::fclose(file);
    sgSetImageFailure(why, ok ? sgImageFailure::none : s.failure);
    if (!ok) return nullptr;
    flipRows(image->pixels, image->width, image->height, s.channels * 8);
    if (bytesPerPixel) *bytesPerPixel = s.channels;
    return image;
}

sgImagePtr sgPngReader::readTexture(const std::string& path, int* bytesPerPixel, float* sScale, float* tScale,
                                    sgImageFailure* why) {
    int bpp = 0;
    sgImagePtr image = read(path, &bpp, why);
    return image ? padImage(*image, bpp, 4, bytesPerPixel, sScale, tScale, why) : nullptr;
}
