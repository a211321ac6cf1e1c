// Model readers side by side with their peers, on files generated here:
//   OBJ, 1,000,000 triangles (v/vt/vn): glmReadOBJ vs assimp's importer with
//   triangulation only;
//   3DS, 500,000 triangles in 8 meshes: read3DSModel (parse and crease
//   smoothing) vs lib3ds loading the file and computing vertex normals.
// Run: build/bench/bench_models [--benchmark_repetitions=5]
#include <benchmark/benchmark.h>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <lib3ds/file.h>
#include <lib3ds/mesh.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "assets/Model3DS.h"
#include "assets/ObjModel.h"
#include "tools/ModelGen.h"

namespace {

struct Files {
    std::string dir, obj, tds;
    Files() {
        const char* tmp = std::getenv("TMPDIR");
        std::string tmpl = std::string(tmp && *tmp ? tmp : "/tmp") + "/kv-bench-models-XXXXXX";
        if (!mkdtemp(&tmpl[0])) std::abort();
        dir = tmpl;
        obj = dir + "/million.obj";
        tds = dir + "/halfmillion.3ds";

        modelgen::Scene big;
        big.meshes = {modelgen::grid(1000, 500, 0.01f)};
        modelgen::ObjOptions o;
        if (!modelgen::writeFile(obj, modelgen::writeOBJ(big, o))) std::abort();

        modelgen::Scene parts;
        modelgen::Material m;
        m.name = "m";
        parts.materials = {m};
        for (int i = 0; i < 8; ++i) {
            modelgen::Mesh g = modelgen::grid(250, 125, 0.01f);
            g.name = "part" + std::to_string(i);
            g.translate(0, float(i), 0);
            g.assign("m");
            parts.meshes.push_back(std::move(g));
        }
        if (!modelgen::writeFile(tds, modelgen::write3DS(parts))) std::abort();
    }
    ~Files() { std::system(("rm -rf '" + dir + "'").c_str()); }
};

const Files& files() {
    static Files f;
    return f;
}

void ObjKelvano(benchmark::State& state) {
    const std::string& path = files().obj;
    size_t tris = 0;
    for (auto _ : state) {
        auto model = glmReadOBJ(path);
        if (!model) state.SkipWithError("read failed");
        tris = model ? model->numtriangles() : 0;
        glmFree(std::move(model));
    }
    state.counters["triangles"] = double(tris);
}

void ObjAssimp(benchmark::State& state) {
    const std::string& path = files().obj;
    size_t tris = 0;
    for (auto _ : state) {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(path, aiProcess_Triangulate);
        if (!scene) state.SkipWithError("assimp failed");
        tris = 0;
        for (unsigned i = 0; scene && i < scene->mNumMeshes; ++i) tris += scene->mMeshes[i]->mNumFaces;
    }
    state.counters["triangles"] = double(tris);
}

void TdsKelvano(benchmark::State& state) {
    const std::string& path = files().tds;
    sg3DSOptions options;  // crease 45, as getModel reads
    size_t tris = 0;
    for (auto _ : state) {
        auto model = read3DSModel(path, options);
        if (!model) state.SkipWithError("read failed");
        tris = model ? model->triangleCount() : 0;
    }
    state.counters["triangles"] = double(tris);
}

void TdsLib3ds(benchmark::State& state) {
    const std::string& path = files().tds;
    size_t tris = 0;
    for (auto _ : state) {
        Lib3dsFile* f = lib3ds_file_load(path.c_str());
        if (!f) {
            state.SkipWithError("lib3ds failed");
            break;
        }
        tris = 0;
        for (Lib3dsMesh* m = f->meshes; m; m = m->next) {
            Lib3dsVector* normals = static_cast<Lib3dsVector*>(std::malloc(sizeof(Lib3dsVector) * 3 * m->faces));
            lib3ds_mesh_calculate_normals(m, normals);
            benchmark::DoNotOptimize(normals[0][0]);
            std::free(normals);
            tris += m->faces;
        }
        lib3ds_file_free(f);
    }
    state.counters["triangles"] = double(tris);
}

}  // namespace

// Wall-clock time: the OBJ reader converts on several threads.
BENCHMARK(ObjKelvano)
    ->Name("OBJ_1M_triangles/kelvano_glmReadOBJ")
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3)
    ->UseRealTime();
BENCHMARK(ObjAssimp)
    ->Name("OBJ_1M_triangles/assimp_ReadFile_triangulate")
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3)
    ->UseRealTime();
BENCHMARK(TdsKelvano)->Name("3DS_500k_triangles/kelvano_parse_and_smooth")->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(TdsLib3ds)->Name("3DS_500k_triangles/lib3ds_load_and_normals")->Unit(benchmark::kMillisecond)->MinTime(3);

BENCHMARK_MAIN();
