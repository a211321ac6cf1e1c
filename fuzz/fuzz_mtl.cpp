// libFuzzer target: the MTL reader, through an OBJ that names the input as
// its material library and uses its materials.
#include "fuzz_models.h"
#include "assets/ObjModel.h"
#include "fuzz_obj_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto& dir = fuzzmodels::folder();
    dir.write("m.mtl", data, size);
    std::string obj = dir.write("m.obj",
                                "mtllib m.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl a\nf 1 2 3\ng x\nusemtl b\nf 3 2 1\n"
                                "usemtl default\nf 1 3 2\n");
    std::unique_ptr<sgObjModel> model = glmReadOBJ(obj);
    if (!model) std::abort();  // the library exists: the load must succeed
    fuzzmodels::checkObj(*model);
    for (const auto& m : model->materials)
        if (!(m.shininess >= 0.0f && m.shininess <= 128.0f)) std::abort();
    return 0;
}
