// Writes the program's chart part models and simple shapes as 3DS or OBJ.
//   kelvano-modelgen chartslices DIR      cyl10x.3ds and sphere10x.3ds into DIR
//   kelvano-modelgen SHAPE OUT.3ds|OUT.obj  SHAPE: box, cylinder, sphere, grid
// An OBJ gets its MTL file beside it.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/PathParts.h"
#include "tools/ModelGen.h"

using namespace modelgen;

namespace {

bool endsWith(const std::string& s, const char* e) {
    size_t n = std::strlen(e);
    return s.size() >= n && s.compare(s.size() - n, n, e) == 0;
}

bool write3DSFile(const Scene& scene, const std::string& path) {
    std::string error;
    std::vector<uint8_t> bytes = write3DS(scene, &error);
    if (bytes.empty()) {
        std::fprintf(stderr, "kelvano-modelgen: %s\n", error.c_str());
        return false;
    }
    if (!writeFile(path, bytes)) {
        std::fprintf(stderr, "kelvano-modelgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

bool writeObjFile(const Scene& scene, const std::string& path) {
    std::string mtl = path.substr(0, path.size() - 4) + ".mtl";
    ObjOptions o;
    o.mtllib = pathBaseName(mtl);
    if (!writeFile(path, writeOBJ(scene, o)) || !writeFile(mtl, writeMTL(scene))) {
        std::fprintf(stderr, "kelvano-modelgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

int usage() {
    std::fprintf(stderr,
                 "usage: kelvano-modelgen chartslices DIR\n"
                 "       kelvano-modelgen box|cylinder|sphere|grid OUT.3ds|OUT.obj\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return usage();
    std::string what = argv[1], out = argv[2];
    if (what == "chartslices") {
        bool ok = write3DSFile(chartCylinder(), out + "/cyl10x.3ds") && write3DSFile(chartSphere(), out + "/sphere10x.3ds");
        return ok ? 0 : 1;
    }
    Scene scene = chartCylinder();
    scene.meshes.clear();
    Mesh m;
    if (what == "box")
        m = box(10.0f, false);
    else if (what == "cylinder")
        m = cylinder(5.0f, 10.0f, 32, true);
    else if (what == "sphere")
        m = sphere(5.0f, 32, 16, true);
    else if (what == "grid")
        m = grid(100, 100, 1.0f);
    else
        return usage();
    m.assign("part");
    scene.meshes.push_back(std::move(m));
    if (endsWith(out, ".3ds") || endsWith(out, ".3DS")) return write3DSFile(scene, out) ? 0 : 1;
    if (endsWith(out, ".obj") || endsWith(out, ".OBJ")) return writeObjFile(scene, out) ? 0 : 1;
    return usage();
}
