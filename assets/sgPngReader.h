// PNG reader over libpng: any PNG to 8-bit RGB or RGBA with bottom-up rows.
#pragma once

#include <string>

#include "sg/sgImage.h"

class sgPngReader {
public:
    // Bottom-up image of 3 or 4 bytes per pixel; null for a missing file, a
    // file that is not a PNG, or a decoding error (printed as "libpng error"),
    // with the reason in `why` when given.
    sgImagePtr read(const std::string& path, int* bytesPerPixel, sgImageFailure* why = nullptr);
    // The same image in the lower left corner of a power-of-two canvas (at least 4).
    sgImagePtr readTexture(const std::string& path, int* bytesPerPixel, float* sScale, float* tScale,
                           sgImageFailure* why = nullptr);
};
