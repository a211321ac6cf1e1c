// Texture loaders used by the model readers. They share the decoders of the
// texture readers and keep no module-wide image.
#pragma once

#include <string>

#include "sg/sgImage.h"

// JPEG decoded to 3 components (grey and CMYK are converted); null when the file
// cannot be read or decoded.
sgImagePtr loadModelJpeg(const std::string& path);

// Targa as the texture reader decodes it; reports 3 or 4 components.
sgImagePtr loadModelTga(const std::string& path, int* components);
