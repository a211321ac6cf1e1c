#include "assets/ModelTextureLoaders.h"

#include "assets/sgJpegReader.h"
#include "assets/sgTgaReader.h"

sgImagePtr loadModelJpeg(const std::string& path) { return sgJpegReader().read(path, nullptr); }

sgImagePtr loadModelTga(const std::string& path, int* components) { return sgTgaReader().read(path, components); }
