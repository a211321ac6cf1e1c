// Writes the program's chart part models and simple shapes as 3DS or OBJ.
//   kelvano-modelgen chartslices DIR      the chart shapes (cyl10x.3ds, heart.3ds ...) into DIR
//   kelvano-modelgen chartslice-scenes DIR OUT  a picture scene per shape of DIR into OUT
//   kelvano-modelgen models DIR           the stock models of the model chooser into DIR
//   kelvano-modelgen model-scenes DIR OUT a picture scene per stock model of DIR into OUT
//   kelvano-modelgen SHAPE OUT.3ds|OUT.obj  SHAPE: box, cylinder, sphere, grid
// The shapes name no material (an OBJ gets no MTL file): they take the
// material of the object that shows them.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/PathParts.h"
#include "tools/ChartShapes.h"
#include "tools/ModelGen.h"
#include "tools/ModelShapes.h"
#include "tools/ShapeBuilders.h"

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
    ObjOptions o;
    std::string mtl;
    if (!scene.materials.empty()) {
        mtl = path.substr(0, path.size() - 4) + ".mtl";
        o.mtllib = pathBaseName(mtl);
    }
    if (!writeFile(path, writeOBJ(scene, o)) || (!mtl.empty() && !writeFile(mtl, writeMTL(scene)))) {
        std::fprintf(stderr, "kelvano-modelgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

int usage() {
    std::fprintf(stderr,
                 "usage: kelvano-modelgen chartslices DIR\n"
                 "       kelvano-modelgen chartslice-scenes DIR OUT\n"
                 "       kelvano-modelgen models DIR\n"
                 "       kelvano-modelgen model-scenes DIR OUT\n"
                 "       kelvano-modelgen box|cylinder|sphere|grid OUT.3ds|OUT.obj\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "chartslice-scenes") {
        for (const ChartShape& shape : chartShapes()) {
            const std::string model = std::string(argv[2]) + "/" + shape.name + ".3ds";
            if (!writeFile(std::string(argv[3]) + "/" + shape.name + ".apn", chartShapePictureScene(shape, model))) {
                std::fprintf(stderr, "kelvano-modelgen: cannot write into %s\n", argv[3]);
                return 1;
            }
        }
        return 0;
    }
    if (argc == 4 && std::string(argv[1]) == "model-scenes") {
        // Seen from 600 units away: a model fills about 200 units.
        for (const Mesh& m : stockModels()) {
            const std::string model = std::string(argv[2]) + "/" + m.name + ".3ds";
            if (!writeFile(std::string(argv[3]) + "/" + m.name + ".apn", shapePictureScene(m.name, model, 0, 600, 300))) {
                std::fprintf(stderr, "kelvano-modelgen: cannot write into %s\n", argv[3]);
                return 1;
            }
        }
        return 0;
    }
    if (argc != 3) return usage();
    std::string what = argv[1], out = argv[2];
    if (what == "chartslices") {
        for (ChartShape& shape : chartShapes()) {
            Scene scene;
            scene.meshes.push_back(std::move(shape.mesh));
            if (!write3DSFile(scene, out + "/" + shape.name + ".3ds")) return 1;
        }
        return 0;
    }
    if (what == "models") {
        for (Mesh& m : stockModels()) {
            Scene scene;
            const std::string name = m.name;
            scene.meshes.push_back(std::move(m));
            if (!write3DSFile(scene, out + "/" + name + ".3ds")) return 1;
        }
        return 0;
    }
    // Like the chart parts, the shapes take the material of the object that
    // shows them.
    Scene scene;
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
    scene.meshes.push_back(std::move(m));
    if (endsWith(out, ".3ds") || endsWith(out, ".3DS")) return write3DSFile(scene, out) ? 0 : 1;
    if (endsWith(out, ".obj") || endsWith(out, ".OBJ")) return writeObjFile(scene, out) ? 0 : 1;
    return usage();
}
