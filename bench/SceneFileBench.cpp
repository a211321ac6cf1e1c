// Reading and writing a large ".apn" scene: 20,000 objects of the four plain
// kinds with 200 materials, 1,000 effects and one event of two plays per
// object. Figures are MB (10^6 bytes) of scene file per second. No other
// program reads this format, so there is no peer to run beside it; a plain
// read and write of the same bytes is shown for scale.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "scene/pnCounter.h"
#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnMaterial.h"
#include "scene/pnModel.h"
#include "scene/pnPanel.h"
#include "scene/pnScene.h"
#include "scene/pnSceneLoader.h"
#include "scene/pnString.h"

namespace {

const int kObjects = 20000;
const int kMaterials = 200;
const int kEffects = 1000;

std::string name(const char* prefix, int i) { return prefix + std::to_string(i); }

pnObject* makeObject(int i) {
    pnObject* o = nullptr;
    switch (i % 4) {
        case 0: {
            auto* m = new pnModel;
            m->setFileName(("C:\\Models\\part" + std::to_string(i % 50) + ".3ds").c_str());
            m->setMode(2);
            o = m;
            break;
        }
        case 1: {
            auto* p = new pnPanel;
            p->setDimension(40.0f + i % 7, 30, 5);
            p->setBevel(2);
            o = p;
            break;
        }
        case 2: {
            auto* s = new pnString;
            s->setString(("Label number " + std::to_string(i)).c_str());
            s->setSize(24);
            o = s;
            break;
        }
        default: {
            auto* c = new pnCounter;
            c->setInitValue(0);
            c->setFinalValue(i * 10.5);
            o = c;
            break;
        }
    }
    o->setName(name("object", i).c_str());
    o->setPosition(i % 100 * 12.5f, i / 100 * 7.25f, -(i % 13) * 1.5f);
    o->setRotAngle(i % 360);
    o->setRotAxis(0, 1, 0);
    o->setScale(1.25f, 1.25f, 1.25f);
    o->setMaterial(name("material", i % kMaterials).c_str());
    return o;
}

std::unique_ptr<pnScene> buildScene() {
    auto s = std::make_unique<pnScene>();
    s->setName("benchmark");
    for (int i = 0; i < kMaterials; ++i) {
        auto* m = new pnMaterial;
        m->setName(name("material", i).c_str());
        m->setDiffuse(i % 10 / 10.0f, 0.5f, 0.25f);
        m->setSpecular(1, 1, 1);
        m->setShininess(40);
        s->addMaterial(m);
    }
    for (int i = 0; i < kObjects; ++i) s->addObject(makeObject(i));
    for (int i = 0; i < kEffects; ++i) {
        auto* e = new pnEffect;
        e->setName(name("effect", i).c_str());
        e->setTrans(i % 20 * 5.0f, 0, 0);
        e->setRotAngle(90);
        e->setRotAxis(0, 0, 1);
        s->addEffect(e);
    }
    for (int i = 0; i < kObjects; ++i) {
        auto* e = new pnEvent;
        e->setName(name("event", i).c_str());
        e->addObjectName(name("object", i).c_str());
        e->addPlay(name("effect", i % kEffects).c_str(), i % 50, i % 50 + 30, 1);
        e->addPlay(name("effect", (i + 1) % kEffects).c_str(), i % 50 + 30, i % 50 + 60, 1);
        s->addEvent(e);
    }
    return s;
}

struct SceneFile {
    std::string path;
    long bytes = 0;
};

// The scene's file, written once for every benchmark.
const SceneFile& sceneFile() {
    static SceneFile file;
    if (file.path.empty()) {
        char tmpl[] = "/tmp/kv-scenebench-XXXXXX";
        int fd = mkstemp(tmpl);
        if (fd >= 0) close(fd);
        file.path = tmpl;
        buildScene()->save(file.path.c_str(), 0);
        if (FILE* f = std::fopen(file.path.c_str(), "rb")) {
            std::fseek(f, 0, SEEK_END);
            file.bytes = std::ftell(f);
            std::fclose(f);
        }
    }
    return file;
}

void setRate(benchmark::State& state, long bytes) {
    state.counters["MB/s"] = benchmark::Counter(static_cast<double>(bytes) * state.iterations() / 1e6,
                                                benchmark::Counter::kIsRate);
    state.counters["file_MB"] = bytes / 1e6;
}

void BM_ReadScene(benchmark::State& state) {
    const SceneFile& file = sceneFile();
    const pnSceneLoader loader;
    int objects = 0;
    for (auto _ : state) {
        auto scene = std::make_unique<pnScene>();
        loader.readFile(*scene, file.path);
        objects = scene->getNumObjects();
        state.PauseTiming();
        scene.reset();
        state.ResumeTiming();
    }
    if (objects != kObjects) state.SkipWithError("the scene did not read whole");
    setRate(state, file.bytes);
}

void BM_WriteScene(benchmark::State& state) {
    const SceneFile& file = sceneFile();
    std::unique_ptr<pnScene> scene = buildScene();
    std::string out = file.path + ".out";
    for (auto _ : state) {
        FILE* f = std::fopen(out.c_str(), "w");
        scene->writeScene(f, 0);
        std::fclose(f);
    }
    unlink(out.c_str());
    setRate(state, file.bytes);
}

// The whole save: temporary file, flush to the disk, rename.
void BM_SaveScene(benchmark::State& state) {
    const SceneFile& file = sceneFile();
    std::unique_ptr<pnScene> scene = buildScene();
    std::string out = file.path + ".saved";
    for (auto _ : state)
        if (!scene->save(out.c_str(), 0)) state.SkipWithError("save failed");
    unlink(out.c_str());
    setRate(state, file.bytes);
}

// For scale: the same bytes read and written with no parsing or formatting.
void BM_PlainCopy(benchmark::State& state) {
    const SceneFile& file = sceneFile();
    std::vector<char> buf(static_cast<size_t>(file.bytes));
    std::string out = file.path + ".copy";
    for (auto _ : state) {
        FILE* in = std::fopen(file.path.c_str(), "rb");
        size_t n = std::fread(buf.data(), 1, buf.size(), in);
        std::fclose(in);
        FILE* o = std::fopen(out.c_str(), "wb");
        std::fwrite(buf.data(), 1, n, o);
        std::fclose(o);
    }
    unlink(out.c_str());
    setRate(state, file.bytes);
}

}  // namespace

BENCHMARK(BM_ReadScene)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_WriteScene)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_SaveScene)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    unlink(sceneFile().path.c_str());
    benchmark::Shutdown();
    return 0;
}
