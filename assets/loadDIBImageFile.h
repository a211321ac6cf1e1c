// Windows bitmap (DIB/BMP) loader: files with or without the "BM" file header,
// OS/2 core (12-byte) and Windows (40-byte) info headers; 1, 4 and 8-bit
// palettes, 16-bit 555 and bit fields, 24-bit, 32-bit and bit fields, RLE8 and
// RLE4, bottom-up and top-down rows. Failures are shown to the user (caption
// "Error").
#pragma once

#include <string>

#include "sg/sgImage.h"

// Bottom-up image of red, green, blue bytes (components is always 3).
// Null on failure, with the reason in `why` when given.
sgImagePtr loadDIBImageFile(const std::string& path, int* components = nullptr, sgImageFailure* why = nullptr);
