// libFuzzer target: the 3DS reader's parse and build (crease smoothing,
// vertex copies, index lists); the crease angle varies with the input size.
#include "fuzz_models.h"
#include "assets/Model3DS.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sg3DSOptions options;
    const float creases[] = {45.0f, 0.0f, 0.001f, 179.0f};
    options.creaseDegrees = creases[size % 4];
    options.centre = static_cast<int>(size / 4 % 2);
    std::unique_ptr<sg3DSModel> model = read3DSModel(fuzzmodels::folder().write("m.3ds", data, size), options);
    if (!model) return 0;
    if (model->vertices.size() % 8) std::abort();
    for (const auto& m : model->materials) {
        if (m.indices.size() % 3) std::abort();
        for (uint32_t i : m.indices)
            if (i >= model->vertexCount()) std::abort();
    }
    return 0;
}
