#include "assets/ImageReaders.h"

#include "assets/ImageFileBytes.h"
#include "assets/loadDIBImageFile.h"
#include "assets/loadRGBImageFile.h"
#include "assets/sgJpegReader.h"
#include "assets/sgPngReader.h"
#include "assets/sgTgaReader.h"

namespace {
// A handle file names an image of 4-byte blue-green-red-alpha pixels that the
// program holds; the texture gets it reordered and padded to powers of two.
sgImagePtr readHandle(const std::string& path, int* components, float* sScale, float* tScale,
                      sgImageFailure* why) {
    const sgImage* held = readImageHandle(path);
    if (!held) {
        sgSetImageFailure(why, sgImageFailure::missing);
        return nullptr;
    }
    sgImagePtr image = convertBGRAImage(*held);
    if (!image) {
        sgSetImageFailure(why, sgImageFailure::corrupt);
        return nullptr;
    }
    sgSetImageFailure(why, sgImageFailure::none);
    if (components) *components = 4;
    if (sScale) *sScale = static_cast<float>(held->width) / static_cast<float>(image->width);
    if (tScale) *tScale = static_cast<float>(held->height) / static_cast<float>(image->height);
    return image;
}
}  // namespace

sgImagePtr readImageByFormat(int format, const std::string& path, int* components, sgImageFailure* why) {
    switch (format) {
        case SG_FMT_RGB: return loadRGBImageFile(path, components, why);
        case SG_FMT_DIB: return loadDIBImageFile(path, components, why);
        case SG_FMT_TGA: return sgTgaReader().read(path, components, why);
        case SG_FMT_JPEG: return sgJpegReader().read(path, components, why);
        case SG_FMT_PNG: return sgPngReader().read(path, components, why);
        case SG_FMT_HANDLE: return readHandle(path, components, nullptr, nullptr, why);
        default: sgSetImageFailure(why, sgImageFailure::unsupported); return nullptr;
    }
}

sgImagePtr readTextureImageByFormat(int format, const std::string& path, int* components, float* sScale,
                                    float* tScale, sgImageFailure* why) {
    switch (format) {
        case SG_FMT_TGA: return sgTgaReader().readTexture(path, components, sScale, tScale, why);
        case SG_FMT_JPEG: return sgJpegReader().readTexture(path, components, sScale, tScale, why);
        case SG_FMT_PNG: return sgPngReader().readTexture(path, components, sScale, tScale, why);
        case SG_FMT_HANDLE: return readHandle(path, components, sScale, tScale, why);
        case SG_FMT_RGB:
        case SG_FMT_DIB: {
            // These formats have no padded reader of their own: pad the plain image.
            int c = 0;
            sgImagePtr image = readImageByFormat(format, path, &c, why);
            return image ? padImage(*image, c, 1, components, sScale, tScale, why) : nullptr;
        }
        default: sgSetImageFailure(why, sgImageFailure::unsupported); return nullptr;
    }
}

void installImageReaders() {
    sgImageReaders readers;
    readers.read = readImageByFormat;
    readers.readTexture = readTextureImageByFormat;
    sgSetImageReaders(readers);
}
