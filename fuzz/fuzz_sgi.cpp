// libFuzzer target: the SGI RGB loader.
#include "fuzz_images.h"
#include "assets/loadRGBImageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = fuzzimages::inputFile().write(data, size);
    int components = 0;
    sgImagePtr image = loadRGBImageFile(path, &components);
    if (image && image->pixels.size() != size_t(image->width) * image->height * components) std::abort();
    return 0;
}
