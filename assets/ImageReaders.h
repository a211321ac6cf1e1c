// Connects the image decoders of this library to the scene graph's reader seam
// (sgSetImageReaders), by texture format code: 0 SGI RGB, 1 DIB, 2 Targa,
// 3 JPEG, 4 PNG, 9 image handle file.
#pragma once

#include <string>

#include "sg/sgImage.h"

// Call once at start-up, before textures or backgrounds are loaded.
void installImageReaders();

// What the installed readers do; null for an unknown format code or a file
// that cannot be read, with the reason in `why` when given.
sgImagePtr readImageByFormat(int format, const std::string& path, int* components, sgImageFailure* why = nullptr);
sgImagePtr readTextureImageByFormat(int format, const std::string& path, int* components, float* sScale,
                                    float* tScale, sgImageFailure* why = nullptr);
