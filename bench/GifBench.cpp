// Animated GIF of 100 rendered frames of a sample scene at 580 x 392 (output
// anti-aliasing 4), a local palette per frame: our encoder against
// ImageMagick (convert -colors 256 +dither) and ffmpeg (palettegen +
// paletteuse, one global palette) in the same run. Time, file size and the
// mean PSNR of the decoded frames against the rendered ones; then the
// quantiser and the LZW coder on their own.
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "assets/sgPngReader.h"
#include "export/CGifEncoder.h"

namespace {

const int kW = 580, kH = 392, kFrames = 100;

struct Frames {
    std::string dir;
    std::vector<std::vector<uint8_t>> rgb;  // top-down
};

bool system2(const std::string& command) { return std::system(command.c_str()) == 0; }

// Renders the frames once with the render tool and keeps them as binary PPM
// files (what the other encoders read) and in memory.
const Frames& frames() {
    static Frames f;
    if (!f.rgb.empty()) return f;
    char tmpl[] = "/tmp/kvgifbench.XXXXXX";
    if (!mkdtemp(tmpl)) std::exit(1);
    f.dir = tmpl;
    const char* src = std::getenv("KELVANO_SOURCE_DIR") ? std::getenv("KELVANO_SOURCE_DIR") : KV_SOURCE_DIR;
    const std::string scene = std::string(src) + "/data/scenes/titles.apn";
    for (int i = 0; i < kFrames; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "/f%03d.png", i);
        const std::string png = f.dir + name;
        if (!system2(std::string(KV_RENDER_TOOL) + " " + scene + " --aa 4 --frame " + std::to_string(i) + " -o " +
                     png + " >/dev/null 2>&1")) {
            std::fprintf(stderr, "cannot render frame %d\n", i);
            std::exit(1);
        }
        int bpp = 3;
        sgImagePtr im = sgPngReader().read(png, &bpp);
        if (!im || im->width != kW || im->height != kH) std::exit(1);
        // Readers give rows bottom-up; the encoders take them top-down.
        std::vector<uint8_t> rgb(size_t(kW) * kH * 3);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                for (int c = 0; c < 3; ++c)
                    rgb[(size_t(y) * kW + x) * 3 + c] = im->pixels[(size_t(kH - 1 - y) * kW + x) * bpp + c];
        std::snprintf(name, sizeof name, "/f%03d.ppm", i);
        FILE* ppm = std::fopen((f.dir + name).c_str(), "wb");
        std::fprintf(ppm, "P6\n%d %d\n255\n", kW, kH);
        std::fwrite(rgb.data(), 1, rgb.size(), ppm);
        std::fclose(ppm);
        unlink(png.c_str());
        f.rgb.push_back(std::move(rgb));
    }
    return f;
}

long fileSize(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? long(st.st_size) : -1;
}

// Mean PSNR of the GIF's frames, composed as a viewer shows them, against
// the rendered frames.
double meanPsnr(const std::string& path) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (!gif) return 0;
    if (DGifSlurp(gif) != GIF_OK || gif->ImageCount != kFrames) {
        DGifCloseFile(gif, &error);
        return 0;
    }
    std::vector<uint8_t> canvas(size_t(kW) * kH * 3, 0), saved;
    double sum = 0;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& im = gif->SavedImages[i];
        GraphicsControlBlock gcb{};
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        DGifSavedExtensionToGCB(gif, i, &gcb);
        const ColorMapObject* map = im.ImageDesc.ColorMap ? im.ImageDesc.ColorMap : gif->SColorMap;
        if (gcb.DisposalMode == DISPOSE_PREVIOUS) saved = canvas;
        const GifImageDesc& d = im.ImageDesc;
        for (int y = 0; y < d.Height; ++y)
            for (int x = 0; x < d.Width; ++x) {
                const int k = im.RasterBits[y * d.Width + x];
                if (k == gcb.TransparentColor || !map || k >= map->ColorCount) continue;
                uint8_t* p = &canvas[(size_t(d.Top + y) * kW + d.Left + x) * 3];
                p[0] = map->Colors[k].Red, p[1] = map->Colors[k].Green, p[2] = map->Colors[k].Blue;
            }
        const std::vector<uint8_t>& ref = frames().rgb[size_t(i)];
        double se = 0;
        for (size_t j = 0; j < ref.size(); ++j) se += double(int(ref[j]) - canvas[j]) * (int(ref[j]) - canvas[j]);
        sum += se == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / (se / double(ref.size())));
        if (gcb.DisposalMode == DISPOSE_PREVIOUS) canvas = saved;
        if (gcb.DisposalMode == DISPOSE_BACKGROUND)
            for (int y = 0; y < d.Height; ++y)
                std::fill_n(&canvas[(size_t(d.Top + y) * kW + d.Left) * 3], size_t(d.Width) * 3, 0);
    }
    DGifCloseFile(gif, &error);
    return sum / kFrames;
}

struct Result {
    double seconds = 0;
    long bytes = 0;
    double psnr = 0;
};
Result g_ours, g_magick, g_ffmpeg;

void encodeOurs(const std::string& out) {
    CGifEncoder gif;
    gif.open(out, kW, kH);
    for (int i = 0; i < kFrames; ++i) gif.encodeFrame(frames().rgb[size_t(i)].data(), i == kFrames - 1 ? -1 : 1);
}

void BM_GifAnimationOurs(benchmark::State& state) {
    const std::string out = frames().dir + "/ours.gif";
    for (auto _ : state) encodeOurs(out);
    g_ours.bytes = fileSize(out);
    g_ours.psnr = meanPsnr(out);
    state.counters["bytes"] = double(g_ours.bytes);
    state.counters["psnr_dB"] = g_ours.psnr;
}
BENCHMARK(BM_GifAnimationOurs)->Unit(benchmark::kMillisecond)->UseRealTime();

double childCpuSeconds() {
    struct rusage ru;
    getrusage(RUSAGE_CHILDREN, &ru);
    return double(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

// Wall time as the manual time; the tool's own processor time (all its
// threads) as a counter, which a busy machine disturbs less.
void runTool(benchmark::State& state, const std::string& command, const std::string& out, Result& r) {
    double cpu = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        const double c0 = childCpuSeconds();
        if (!system2(command)) {
            state.SkipWithError(("failed: " + command).c_str());
            return;
        }
        cpu += childCpuSeconds() - c0;
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    state.counters["cpu_s"] = cpu / double(state.iterations());
    r.bytes = fileSize(out);
    r.psnr = meanPsnr(out);
    state.counters["bytes"] = double(r.bytes);
    state.counters["psnr_dB"] = r.psnr;
}

void BM_GifAnimationImageMagick(benchmark::State& state) {
    const std::string d = frames().dir, out = d + "/magick.gif";
    runTool(state, "convert -delay 20 -loop 0 " + d + "/f*.ppm -colors 256 +dither " + out, out, g_magick);
}
BENCHMARK(BM_GifAnimationImageMagick)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

void BM_GifAnimationFfmpeg(benchmark::State& state) {
    const std::string d = frames().dir, out = d + "/ffmpeg.gif";
    runTool(state,
            "ffmpeg -v error -y -framerate 5 -i " + d + "/f%03d.ppm -vf \"split[a][b];[a]palettegen[p];[b][p]paletteuse\" " +
                out,
            out, g_ffmpeg);
}
BENCHMARK(BM_GifAnimationFfmpeg)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

void BM_Quantize(benchmark::State& state) {
    CGifEncoder gif;
    gif.open(frames().dir + "/q.gif", kW, kH);
    uint8_t palette[768];
    size_t i = 0;
    for (auto _ : state) {
        gif.quantize(kW, kH, 256, frames().rgb[i].data(), palette);
        i = (i + 1) % frames().rgb.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Quantize)->Unit(benchmark::kMicrosecond);

void BM_LzwCoder(benchmark::State& state) {
    CGifEncoder gif;
    gif.open(frames().dir + "/l.gif", kW, kH);
    uint8_t palette[768];
    gif.quantize(kW, kH, 256, frames().rgb[30].data(), palette);
    size_t bytes = 0;
    for (auto _ : state) {
        gif.writeImageData();
        bytes = gif.imageData().size();
    }
    state.counters["coded_bytes"] = double(bytes);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LzwCoder)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    frames();
    benchmark::RunSpecifiedBenchmarks();
    // Side by side, from the reports above (mean time of each).
    auto report = [](const char* name, const Result& r) {
        std::printf("%-12s %9ld bytes  %6.2f dB\n", name, r.bytes, r.psnr);
    };
    std::printf("\nAnimated GIF, %d frames of %d x %d:\n", kFrames, kW, kH);
    report("ours", g_ours);
    report("ImageMagick", g_magick);
    report("ffmpeg", g_ffmpeg);
    benchmark::Shutdown();
    system2("rm -rf " + frames().dir);
    return 0;
}
