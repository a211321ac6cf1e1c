// PNG writer for exported frames. Pixels come bottom-up (OpenGL order) and are
// written top-down as PNG expects.
#pragma once

#include <cstdint>
#include <string>

// Writes 8-bit RGB (24 bits per pixel) or RGBA (32). Interlace 1 selects Adam7;
// a gamma other than 1.0 is recorded in a gAMA chunk. The file is written
// through AtomicFile, so a failure never leaves a damaged file in its place.
// Returns 1 when written, 0 otherwise.
int writePNG(const std::string& path, const uint8_t* pixels, int width, int height, int bitsPerPixel,
             int interlace, double gamma);

// Merges RGB pixels and a one-byte-per-pixel alpha plane and writes them as
// RGBA. Returns writePNG's result (0 also when the merge cannot be allocated).
int writePNGWithAlpha(const std::string& path, const uint8_t* rgb, const uint8_t* alpha, int width, int height,
                      int interlace, double gamma);
