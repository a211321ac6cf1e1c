// Generating and compiling the solid of a 20-character string, the work done
// on every keystroke in the text page, against FTGL's extruded font drawing the
// same string from the same font file for the first time (a new font object,
// so its glyph cache is cold). Both draw into the same OSMesa context.
#include <GL/gl.h>
#include <GL/osmesa.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "assets/sgText3D.h"

#ifdef KV_HAVE_FTGL
#include <FTGL/ftgl.h>
#endif

namespace {

const char* const kText = "Quarterly Sales 2024";  // 20 characters
const int kWidth = 800, kHeight = 200;

std::string fontFile() {
    static std::string file;
    if (file.empty()) {
        sgText3D t("arial");
        t.generate("A");
        file = t.getFontFile();
    }
    return file;
}

void setView() {
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-kWidth / 2, kWidth / 2, -kHeight / 2, kHeight / 2, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(20, 0, 1, 0);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// Our engine: a new engine per string, as the text object makes one per build.
void kelvanoSolid(benchmark::State& state, float bevel, float precision) {
    setView();
    for (auto _ : state) {
        sgText3D t("arial");
        t.setFontSize(36);
        t.setExtrusion(20.0f);
        t.setPrecision(precision);
        t.setBevel(bevel, bevel / 2);
        t.generate(kText);
        unsigned list = t.makeSolid();
        glCallList(list);
        glFinish();
        glDeleteLists(list, 1);
    }
    sgText3D t("arial");
    t.setPrecision(precision);
    t.setBevel(bevel, bevel / 2);
    t.generate(kText);
    sgTextMesh m;
    t.buildSolid(m);
    size_t vertices = 0;
    for (const sgTextBatch& b : m.batches) vertices += b.vertices.size();
    state.counters["vertices"] = static_cast<double>(vertices);
}

void BM_KelvanoSolid(benchmark::State& state) { kelvanoSolid(state, 0.0f, 10.0f); }
void BM_KelvanoSolidFine(benchmark::State& state) { kelvanoSolid(state, 0.0f, 0.5f); }
void BM_KelvanoSolidBevel(benchmark::State& state) { kelvanoSolid(state, 2.0f, 10.0f); }
BENCHMARK(BM_KelvanoSolid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KelvanoSolidFine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KelvanoSolidBevel)->Unit(benchmark::kMillisecond);

#ifdef KV_HAVE_FTGL
// The em of size 36 in a 48-pixel cell scaled by 36/64 is 23.6 units; FTGL's
// face size 24 gives the same letters.
void BM_FTGLExtrudeFirstRender(benchmark::State& state) {
    setView();
    const std::string file = fontFile();
    for (auto _ : state) {
        FTExtrudeFont font(file.c_str());
        font.FaceSize(24);
        font.Depth(20.0f);
        glPushMatrix();
        glTranslatef(-120, 0, 0);
        font.Render(kText);
        glPopMatrix();
        glFinish();
    }
}
BENCHMARK(BM_FTGLExtrudeFirstRender)->Unit(benchmark::kMillisecond);

// The part of the above that only opens the face.
void BM_FTGLOpenFaceOnly(benchmark::State& state) {
    const std::string file = fontFile();
    for (auto _ : state) {
        FTExtrudeFont font(file.c_str());
        font.FaceSize(24);
        benchmark::DoNotOptimize(font.Error());
    }
}
BENCHMARK(BM_FTGLOpenFaceOnly)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

int main(int argc, char** argv) {
    OSMesaContext ctx = OSMesaCreateContextExt(OSMESA_RGBA, 24, 8, 16, nullptr);
    std::vector<unsigned char> buffer(static_cast<size_t>(kWidth) * kHeight * 4);
    if (!ctx || !OSMesaMakeCurrent(ctx, buffer.data(), GL_UNSIGNED_BYTE, kWidth, kHeight)) {
        std::fprintf(stderr, "no OSMesa context\n");
        return 1;
    }
    std::printf("font file: %s\n", fontFile().c_str());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    OSMesaDestroyContext(ctx);
    return 0;
}
