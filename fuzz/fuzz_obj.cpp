// libFuzzer target: the OBJ reader (with a valid material library "m.mtl"
// beside the input for files that name it).
#include "fuzz_models.h"
#include "assets/ObjModel.h"
#include "fuzz_obj_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto& dir = fuzzmodels::folder();
    dir.write("m.mtl", "newmtl a\nKd 1 0 0\nNs 100\nnewmtl b\nKa 0 1 0\n");
    std::unique_ptr<sgObjModel> model = glmReadOBJ(dir.write("m.obj", data, size));
    if (model) fuzzmodels::checkObj(*model);
    glmFree(std::move(model));
    return 0;
}
