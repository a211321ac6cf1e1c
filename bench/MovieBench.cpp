// Movie writing: 100 rendered frames of 580 x 392 (a sample scene drawn by
// kelvano-render, frames 0-99) to a Motion JPEG AVI at quality 75, side by
// side with ffmpeg's "-c:v mjpeg -q:v 4" on the same frames, with the PSNR of
// both decoded movies; then uncompressed AVI and SWF lossless writing in MB/s
// of frame data, the latter beside zlib's compress2 at its default level.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "export/CAviWriter.h"
#include "export/SwfExport.h"

#include <zlib.h>

namespace {

const int kWidth = 580, kHeight = 392, kFrames = 100;
const size_t kFrameBytes = size_t(kWidth) * kHeight * 3;

std::string workDir() { return std::string(KV_BENCH_DIR) + "/movie-bench"; }

int run(const std::string& command) { return std::system(command.c_str()); }

std::vector<uint8_t> readFile(const std::string& path) {
    std::vector<uint8_t> data;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fseek(f, 0, SEEK_END);
        data.resize(size_t(std::ftell(f)));
        std::fseek(f, 0, SEEK_SET);
        if (std::fread(data.data(), 1, data.size(), f) != data.size()) data.clear();
        std::fclose(f);
    }
    return data;
}

// The rendered frames as B, G, R rows, top row first; made once and kept.
const std::vector<uint8_t>& frames() {
    static std::vector<uint8_t> raw;
    if (!raw.empty()) return raw;
    const std::string dir = workDir(), rawPath = dir + "/frames.bgr";
    raw = readFile(rawPath);
    if (raw.size() == kFrameBytes * kFrames) return raw;
    run("mkdir -p '" + dir + "'");
    for (int i = 0; i < kFrames; ++i) {
        char cmd[1024];
        std::snprintf(cmd, sizeof cmd, "'%s' '%s/data/scenes/%s' --frame %d --aa 4 -o '%s/f%03d.png' >/dev/null",
                      KV_RENDER_TOOL, KV_SOURCE_DIR, "allcharts.apn", i * 2, dir.c_str(), i);
        if (run(cmd) != 0) std::fprintf(stderr, "render failed: %s\n", cmd);
    }
    run("ffmpeg -v error -y -i '" + dir + "/f%03d.png' -f rawvideo -pix_fmt bgr24 '" + rawPath + "'");
    raw = readFile(rawPath);
    if (raw.size() != kFrameBytes * kFrames) {
        std::fprintf(stderr, "no frames\n");
        std::exit(1);
    }
    return raw;
}

double psnrOf(const std::string& movie) {
    const std::string decoded = workDir() + "/decoded.bgr";
    run("ffmpeg -v error -y -i '" + movie + "' -f rawvideo -pix_fmt bgr24 '" + decoded + "'");
    const std::vector<uint8_t> a = readFile(decoded), &b = frames();
    if (a.size() != b.size()) return 0;
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) sum += (double(a[i]) - b[i]) * (double(a[i]) - b[i]);
    return 10 * std::log10(255.0 * 255.0 / (sum / double(a.size())));
}

class BenchHost : public CMovieHost {
public:
    explicit BenchHost(uint32_t handler) : m_handler(handler) {}
    int MessageBox(const std::string& text, const std::string&, int) override {
        std::fprintf(stderr, "%s\n", text.c_str());
        return MOVIE_IDOK;
    }
    bool ChooseAviCompressor(AviCompressOptions& options) override {
        options.handler = m_handler;  // quality stays at the 7500 default
        return true;
    }

private:
    uint32_t m_handler;
};

void writeAvi(uint32_t handler, const std::string& finalPath) {
    BenchHost host(handler);
    CAviWriter writer(&host);
    writer.open(CAviWriter::makeTemporaryMovieName(finalPath), -1, -1);
    const std::vector<uint8_t>& raw = frames();
    for (int i = 0; i < kFrames; ++i)
        writer.addFrameBitmap(MovieImage{kWidth, kHeight, raw.data() + i * kFrameBytes, size_t(kWidth) * 3, 3, true});
    if (!writer.finish(finalPath, {})) std::fprintf(stderr, "movie not written\n");
}

void BM_MotionJpegAvi(benchmark::State& state) {
    const std::string path = workDir() + "/ours.avi";
    frames();
    for (auto _ : state) writeAvi(kAviMotionJpeg, path);
    state.counters["frames_per_s"] = benchmark::Counter(double(kFrames) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["psnr_db"] = psnrOf(path);
}
BENCHMARK(BM_MotionJpegAvi)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FfmpegMjpeg(benchmark::State& state) {
    const std::string path = workDir() + "/ffmpeg.avi";
    frames();
    const std::string cmd = "ffmpeg -v error -y -f rawvideo -pix_fmt bgr24 -s 580x392 -r 30 -i '" + workDir() +
                            "/frames.bgr' -c:v mjpeg -q:v 4 '" + path + "'";
    for (auto _ : state) run(cmd);
    state.counters["frames_per_s"] = benchmark::Counter(double(kFrames) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["psnr_db"] = psnrOf(path);
}
BENCHMARK(BM_FfmpegMjpeg)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_UncompressedAvi(benchmark::State& state) {
    const std::string path = workDir() + "/full.avi";
    frames();
    for (auto _ : state) writeAvi(kAviFullFrames, path);
    state.counters["MB_per_s"] = benchmark::Counter(double(kFrameBytes) * kFrames * state.iterations() / 1e6,
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_UncompressedAvi)->Unit(benchmark::kMillisecond)->UseRealTime();

// The frames as the recording hands them over: B, G, R, A.
const std::vector<uint8_t>& bgraFrames() {
    static std::vector<uint8_t> bgra;
    if (!bgra.empty()) return bgra;
    const std::vector<uint8_t>& raw = frames();
    bgra.resize(size_t(kWidth) * kHeight * 4 * kFrames);
    for (size_t p = 0, n = size_t(kWidth) * kHeight * kFrames; p < n; ++p) {
        bgra[4 * p] = raw[3 * p];
        bgra[4 * p + 1] = raw[3 * p + 1];
        bgra[4 * p + 2] = raw[3 * p + 2];
        bgra[4 * p + 3] = 255;
    }
    return bgra;
}

// The peer: every frame through one compress2 call at zlib's default level.
void BM_SwfLosslessZlibDefault(benchmark::State& state) {
    const std::vector<uint8_t>& bgra = bgraFrames();
    const size_t frameBytes = size_t(kWidth) * kHeight * 4;
    std::vector<uint8_t> out(compressBound(uLong(frameBytes)));
    size_t total = 0;
    for (auto _ : state) {
        total = 0;
        for (int i = 0; i < kFrames; ++i) {
            uLongf size = uLongf(out.size());
            compress2(out.data(), &size, bgra.data() + i * frameBytes, uLong(frameBytes), Z_DEFAULT_COMPRESSION);
            total += size;
        }
    }
    state.counters["MB_per_s"] =
        benchmark::Counter(double(frameBytes) * kFrames * state.iterations() / 1e6, benchmark::Counter::kIsRate);
    state.counters["packed_MB"] = double(total) / 1e6;
}
BENCHMARK(BM_SwfLosslessZlibDefault)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SwfLossless(benchmark::State& state) {
    const std::vector<uint8_t>& bgra = bgraFrames();
    const std::string path = workDir() + "/lossless.swf";
    for (auto _ : state) {
        SwfExport swf;
        swf.open(path, kFrames, kWidth, kHeight, 0, 60, 12, 32);
        for (int i = 0; i < kFrames; ++i) swf.addFrame(i, bgra.data() + size_t(i) * kWidth * kHeight * 4);
        if (swf.close() != 0) std::fprintf(stderr, "swf not written\n");
    }
    state.counters["MB_per_s"] = benchmark::Counter(double(kWidth) * kHeight * 4 * kFrames * state.iterations() / 1e6,
                                                    benchmark::Counter::kIsRate);
    std::error_code ec;
    state.counters["file_MB"] = double(std::filesystem::file_size(path, ec)) / 1e6;
}
BENCHMARK(BM_SwfLossless)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
