// libFuzzer target: the Targa reader.
#include "fuzz_images.h"
#include "assets/sgTgaReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = fuzzimages::inputFile().write(data, size);
    int components = 0;
    sgImagePtr image = sgTgaReader().read(path, &components);
    if (image && image->pixels.size() != size_t(image->width) * image->height * components) std::abort();
    return 0;
}
