// SGI RGB image loader: verbatim and run-length files, 8 bits per channel, in
// either byte order. Failures are shown to the user (caption "Error").
#pragma once

#include <string>

#include "sg/sgImage.h"

// Bottom-up image of red, green, blue bytes (components is always 3). Files
// with one or two channels give grey; a fourth channel is ignored.
// Null on failure, with the reason in `why` when given.
sgImagePtr loadRGBImageFile(const std::string& path, int* components = nullptr, sgImageFailure* why = nullptr);
