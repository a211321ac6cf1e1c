#include "tools/StockMedia.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <initializer_list>

#include "assets/writePNG.h"
#include "export/StillImageWriters.h"
#include "platform/AtomicFile.h"
#include "platform/PathParts.h"
#include "platform/WaveFile.h"

namespace stockmedia {
namespace {

constexpr float kPi = 3.14159265358979f;

// ---- noise ----

uint32_t hash(int x, int y, uint32_t seed) {
    uint32_t h = seed ^ (uint32_t(x) * 0x8da6b343u) ^ (uint32_t(y) * 0xd8163841u);
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    h *= 0x27d4eb2du;
    h ^= h >> 16;
    return h;
}

float unit(uint32_t h) { return float(h >> 8) / float(1u << 24); }

int wrap(int i, int period) { return ((i % period) + period) % period; }

float smooth(float t) { return t * t * (3 - 2 * t); }
float mix(float a, float b, float t) { return a + (b - a) * t; }
float clamp01(float t) { return std::min(1.0f, std::max(0.0f, t)); }
float smoothstep(float a, float b, float t) { return smooth(clamp01((t - a) / (b - a))); }
float fract(float t) { return t - std::floor(t); }

Rgb mix(const Rgb& a, const Rgb& b, float t) { return {mix(a.r, b.r, t), mix(a.g, b.g, t), mix(a.b, b.b, t)}; }
Rgb scale(const Rgb& c, float k) { return {c.r * k, c.g * k, c.b * k}; }

// Value noise on a lattice of cx by cy cells over the unit square, repeating
// with it: the picture tiles.
float valueNoise(float u, float v, int cx, int cy, uint32_t seed) {
    const float x = u * cx, y = v * cy;
    const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    const float fx = smooth(x - x0), fy = smooth(y - y0);
    auto at = [&](int i, int j) { return unit(hash(wrap(i, cx), wrap(j, cy), seed)); };
    return mix(mix(at(x0, y0), at(x0 + 1, y0), fx), mix(at(x0, y0 + 1), at(x0 + 1, y0 + 1), fx), fy);
}

// Octaves of value noise from cx by cy cells up, each twice as fine and half
// as strong; 0 to 1.
float fbm(float u, float v, int cx, int cy, int octaves, uint32_t seed) {
    float sum = 0, weight = 1, total = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += weight * valueNoise(u, v, cx << o, cy << o, seed + uint32_t(o) * 101u);
        total += weight;
        weight *= 0.5f;
    }
    return sum / total;
}

// ---- textures (tiling) ----

Rgb wood(float u, float v, const Rgb& light, const Rgb& dark, int rings, uint32_t seed) {
    // Grain along v: the rings cross u, bent a little by noise; fine fibres
    // stretched along the grain.
    const float bend = fbm(u, v, 2, 2, 4, seed);
    const float ring = fract(u * rings + 1.1f * bend);
    const float late = smoothstep(0.6f, 0.92f, ring) * (1 - smoothstep(0.92f, 1.0f, ring));
    const float fibre = fbm(u, v, 128, 4, 3, seed + 7);
    return mix(light, dark, clamp01(0.7f * late + 0.5f * (fibre - 0.3f)));
}

Rgb marble(float u, float v, const Rgb& stone, const Rgb& vein, uint32_t seed) {
    // Veins along the diagonal, bent by turbulence; fainter ones between.
    const float turbulence = fbm(u, v, 3, 3, 4, seed);
    const float s = std::fabs(std::sin(kPi * (2 * (u + v) + 2.5f * turbulence)));
    const float faint = std::fabs(std::sin(kPi * (4 * (u - v) + 3 * fbm(u, v, 4, 4, 4, seed + 5))));
    const float line = 0.9f * std::pow(1 - s, 5.0f) + 0.3f * std::pow(1 - faint, 8.0f);
    const float cloud = 0.9f + 0.1f * fbm(u, v, 6, 6, 3, seed + 3);
    return mix(scale(stone, cloud), vein, clamp01(line));
}

Rgb oakWood(float u, float v) { return wood(u, v, {0.80f, 0.60f, 0.36f}, {0.52f, 0.33f, 0.16f}, 5, 11); }
Rgb walnutWood(float u, float v) { return wood(u, v, {0.46f, 0.29f, 0.17f}, {0.24f, 0.13f, 0.07f}, 4, 23); }
Rgb whiteMarble(float u, float v) { return marble(u, v, {0.93f, 0.92f, 0.90f}, {0.45f, 0.45f, 0.48f}, 31); }
Rgb greenMarble(float u, float v) { return marble(u, v, {0.16f, 0.42f, 0.30f}, {0.85f, 0.92f, 0.86f}, 37); }

Rgb brushedMetal(float u, float v) {
    // Streaks along u: noise fine across the rows, long along them.
    const float streak = fbm(u, v, 2, 128, 3, 41);
    const float grain = valueNoise(u, v, 8, 256, 43);
    const float k = 0.66f + 0.16f * (streak - 0.5f) + 0.08f * (grain - 0.5f) + 0.05f * std::cos(2 * kPi * u);
    return {k * 0.97f, k * 0.98f, k * 1.02f};
}

Rgb brick(float u, float v) {
    constexpr int rows = 8, across = 4;
    const int row = int(std::floor(v * rows));
    const float bu = u * across + (row % 2) * 0.5f;
    const int col = int(std::floor(bu));
    const float fu = fract(bu), fv = fract(v * rows);
    const float rough = fbm(u, v, 16, 16, 3, 51);
    if (fu < 0.05f || fv < 0.1f) return scale({0.78f, 0.76f, 0.71f}, 0.88f + 0.12f * rough);
    const float tone = unit(hash(wrap(col, across), row, 53));
    const Rgb face = mix(Rgb{0.66f, 0.26f, 0.17f}, Rgb{0.52f, 0.20f, 0.14f}, tone);
    return scale(face, 0.8f + 0.3f * rough);
}

Rgb paper(float u, float v) {
    const float cloud = fbm(u, v, 16, 16, 4, 61);
    const float fibre = valueNoise(u, v, 128, 32, 63);
    return scale({0.97f, 0.95f, 0.90f}, 0.955f + 0.035f * cloud + 0.02f * fibre);
}

Rgb checker(float u, float v) {
    const bool dark = ((int(u * 8) + int(v * 8)) & 1) != 0;
    return dark ? Rgb{0.16f, 0.17f, 0.20f} : Rgb{0.92f, 0.92f, 0.90f};
}

// Colour stops evenly spaced over t in [0, 1].
Rgb stops(std::initializer_list<Rgb> colours, float t) {
    const std::vector<Rgb> c(colours);
    const float at = clamp01(t) * float(c.size() - 1);
    const size_t i = std::min(c.size() - 2, size_t(at));
    return mix(c[i], c[i + 1], at - float(i));
}

Rgb blueGradient(float, float v) { return stops({{0.04f, 0.12f, 0.42f}, {0.50f, 0.72f, 0.98f}}, v); }
Rgb sunsetGradient(float, float v) {
    return stops({{0.99f, 0.84f, 0.38f}, {0.95f, 0.46f, 0.24f}, {0.44f, 0.18f, 0.44f}}, v);
}
Rgb radialGradient(float u, float v) {
    const float d = std::hypot(u - 0.5f, v - 0.5f) / 0.7072f;
    return stops({{1.0f, 0.98f, 0.86f}, {0.55f, 0.70f, 0.90f}, {0.12f, 0.22f, 0.48f}}, d);
}
Rgb silverGradient(float u, float) {
    return stops({{0.55f, 0.56f, 0.60f}, {0.92f, 0.93f, 0.95f}, {0.62f, 0.63f, 0.67f}, {0.88f, 0.89f, 0.91f},
                  {0.55f, 0.56f, 0.60f}},
                 u);
}

// ---- backgrounds ----

Rgb daySky(float u, float v) {
    const Rgb air = stops({{0.10f, 0.28f, 0.68f}, {0.36f, 0.60f, 0.90f}, {0.74f, 0.86f, 0.97f}}, v);
    // Soft clouds, drawn out sideways, in a band above the horizon.
    const float band = smoothstep(0.2f, 0.45f, v) * (1 - smoothstep(0.7f, 0.9f, v));
    const float cloud = smoothstep(0.5f, 0.72f, fbm(u, v, 3, 8, 5, 71)) * band * 0.75f;
    return mix(air, {0.97f, 0.97f, 0.98f}, cloud);
}

Rgb duskSky(float, float v) {
    return stops({{0.08f, 0.08f, 0.26f}, {0.34f, 0.20f, 0.46f}, {0.80f, 0.40f, 0.40f}, {0.99f, 0.66f, 0.32f}}, v);
}

Rgb nightSky(float u, float v) {
    const Rgb air = stops({{0.01f, 0.02f, 0.07f}, {0.05f, 0.08f, 0.20f}}, v);
    // A star where a cell's hash is rare, one pixel of a 512 picture.
    const int x = int(u * 512), y = int(v * 512);
    const uint32_t h = hash(x, y, 81);
    if (h % 397 == 0) return mix(air, {1, 1, 0.95f}, 0.4f + 0.6f * unit(hash(x, y, 83)));
    return air;
}

// A backdrop lit from above: a bright patch behind the subject, falling off
// to the edges and a darker floor below the seam.
Rgb studio(float u, float v, const Rgb& lit, const Rgb& shade) {
    const float d = std::hypot((u - 0.5f) * 1.2f, v - 0.42f);
    const float floor = smoothstep(0.68f, 0.78f, v) * 0.18f;
    return mix(lit, shade, clamp01(smoothstep(0.0f, 0.8f, d) + floor));
}

Rgb greyStudio(float u, float v) { return studio(u, v, {0.82f, 0.82f, 0.82f}, {0.22f, 0.22f, 0.23f}); }
Rgb blueStudio(float u, float v) { return studio(u, v, {0.55f, 0.70f, 0.92f}, {0.05f, 0.10f, 0.26f}); }
Rgb warmStudio(float u, float v) { return studio(u, v, {0.96f, 0.86f, 0.70f}, {0.36f, 0.22f, 0.14f}); }

Rgb softVignette(float u, float v) {
    const float d = std::hypot(u - 0.5f, v - 0.5f) / 0.7072f;
    return mix({0.86f, 0.86f, 0.88f}, {0.16f, 0.16f, 0.18f}, smoothstep(0.35f, 1.0f, d));
}

Rgb gridFloor(float u, float v) {
    constexpr float horizon = 0.45f, pixel = 1.5f / 512;
    const Rgb sky = stops({{0.02f, 0.03f, 0.10f}, {0.10f, 0.16f, 0.32f}}, v / horizon);
    if (v < horizon) return sky;
    // The floor seen from above it: depth grows towards the horizon. Lines
    // every unit across and along, about a pixel and a half wide on the
    // picture, fade into the distance.
    const float depth = 0.6f / (v - horizon);
    const float x = (u - 0.5f) * depth * 4;
    const bool across = fract(depth) < pixel * depth * depth / 0.6f;
    const bool along = fract(x) < pixel * depth * 4;
    const float fade = 1 - smoothstep(1.5f, 9.0f, depth);
    const Rgb ground = stops({{0.10f, 0.16f, 0.32f}, {0.04f, 0.06f, 0.14f}}, (v - horizon) / (1 - horizon));
    return mix(ground, {0.35f, 0.80f, 1.0f}, (across || along) ? fade : 0.0f);
}

// ---- sounds ----

std::vector<float> chime(int count) {
    // A struck bar: inharmonic partials, each dying away at its own rate.
    const float partials[][3] = {{880, 1.0f, 2.2f}, {2420, 0.45f, 3.8f}, {4750, 0.2f, 6.5f}, {1760, 0.15f, 2.8f}};
    std::vector<float> out(size_t(count), 0.0f);
    for (int i = 0; i < count; ++i) {
        const float t = float(i) / kSoundRate;
        float s = 0;
        for (const auto& p : partials) s += p[1] * std::exp(-p[2] * t) * std::sin(2 * kPi * p[0] * t);
        out[size_t(i)] = 0.5f * s * std::min(1.0f, t / 0.004f);
    }
    return out;
}

struct Noise {
    uint32_t state;
    float next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return unit(state) * 2 - 1;
    }
};

std::vector<float> click(int count) {
    Noise noise{91};
    std::vector<float> out(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const float t = float(i) / kSoundRate;
        out[size_t(i)] = (0.6f * noise.next() + 0.5f * std::sin(2 * kPi * 3200 * t)) * std::exp(-t / 0.004f);
    }
    return out;
}

std::vector<float> whoosh(int count) {
    // Noise through a low-pass filter that opens and closes, louder in the middle.
    Noise noise{97};
    std::vector<float> out(static_cast<size_t>(count));
    float low = 0, lower = 0;
    for (int i = 0; i < count; ++i) {
        const float p = float(i) / float(count);
        const float body = std::sin(kPi * p);
        const float k = 0.02f + 0.25f * body * body;
        low += k * (noise.next() - low);
        lower += k * (low - lower);
        out[size_t(i)] = 1.4f * lower * body * body;
    }
    return out;
}

std::vector<float> pop(int count) {
    // A short tone whose pitch drops fast.
    std::vector<float> out(static_cast<size_t>(count));
    float phase = 0;
    for (int i = 0; i < count; ++i) {
        const float t = float(i) / kSoundRate;
        const float f = 140 + 520 * std::exp(-t / 0.018f);
        phase += 2 * kPi * f / kSoundRate;
        out[size_t(i)] = 0.8f * std::sin(phase) * std::exp(-t / 0.035f) * std::min(1.0f, t / 0.001f);
    }
    return out;
}

// A tone gliding from f0 to f1 (exponentially), with short fades.
std::vector<float> glide(int count, float f0, float f1) {
    std::vector<float> out(static_cast<size_t>(count));
    float phase = 0;
    for (int i = 0; i < count; ++i) {
        const float p = float(i) / float(count);
        phase += 2 * kPi * f0 * std::pow(f1 / f0, p) / kSoundRate;
        const float edge = std::min(1.0f, std::min(p, 1 - p) * count / (0.01f * kSoundRate));
        out[size_t(i)] = 0.5f * edge * (std::sin(phase) + 0.25f * std::sin(2 * phase));
    }
    return out;
}

std::vector<float> risingTone(int count) { return glide(count, 330, 1320); }
std::vector<float> fallingTone(int count) { return glide(count, 1320, 330); }

// ---- files ----

uint8_t toByte(float c) { return uint8_t(std::lround(clamp01(c) * 255.0f)); }

bool writePicture(const std::string& path, const StockPicture& picture) {
    const std::vector<uint8_t> topDown = paintPicture(picture);
    // The writers take rows bottom-up, as OpenGL reads them.
    const size_t row = size_t(picture.width) * 3;
    std::vector<uint8_t> bottomUp(topDown.size());
    for (int y = 0; y < picture.height; ++y)
        std::copy_n(topDown.begin() + std::ptrdiff_t(row * size_t(y)), row,
                    bottomUp.begin() + std::ptrdiff_t(row * size_t(picture.height - 1 - y)));
    const CapturedImage image{picture.width, picture.height, 3, bottomUp.data()};
    const std::string ext = pathExtensionLower(path);
    if (ext == "png") return writePNG(path, image.pixels, image.width, image.height, 24, 0, 1.0) == 1;
    if (ext == "jpg") return writeJPG(path, image, 90, 0) == 1;
    if (ext == "tga") return writeTGA(path, image, 0, picture.runLength ? 1 : 0) == 1;
    if (ext == "bmp") return writeBMP(path, image) == 1;
    if (ext == "rgb") return writeRGB(path, image) == 1;
    return false;
}

bool writeSound(const std::string& path, const StockSound& sound) {
    const std::vector<int16_t> samples = soundSamples(sound);
    std::vector<uint8_t> bytes = MakePcmWaveHeader(1, kSoundRate, 16, uint32_t(samples.size() * 2));
    for (int16_t s : samples) {
        bytes.push_back(uint8_t(uint16_t(s) & 0xFF));
        bytes.push_back(uint8_t(uint16_t(s) >> 8));
    }
    return writeFileAtomically(path, [&](FILE* f) { return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size(); });
}

}  // namespace

const std::vector<StockPicture>& stockPictures() {
    static const std::vector<StockPicture> pictures = {
        {"Textures", "wood-oak.jpg", 256, 256, oakWood},
        {"Textures", "wood-walnut.bmp", 128, 128, walnutWood},
        {"Textures", "marble-white.jpg", 256, 256, whiteMarble},
        {"Textures", "marble-green.tga", 128, 128, greenMarble},
        {"Textures", "brushed-metal.png", 256, 256, brushedMetal},
        {"Textures", "brick.png", 256, 256, brick},
        {"Textures", "paper.jpg", 256, 256, paper},
        {"Textures", "checker.tga", 128, 128, checker, 1, true},
        {"Textures", "gradient-blue.rgb", 128, 128, blueGradient},
        {"Textures", "gradient-sunset.png", 256, 256, sunsetGradient},
        {"Textures", "gradient-radial.bmp", 128, 128, radialGradient},
        {"Textures", "gradient-silver.jpg", 256, 256, silverGradient},
        {"Backgrounds", "sky-day.jpg", 512, 512, daySky},
        {"Backgrounds", "sky-dusk.jpg", 512, 512, duskSky},
        {"Backgrounds", "sky-night.png", 512, 512, nightSky},
        {"Backgrounds", "studio-grey.jpg", 512, 512, greyStudio},
        {"Backgrounds", "studio-blue.tga", 256, 256, blueStudio},
        {"Backgrounds", "studio-warm.rgb", 256, 256, warmStudio},
        {"Backgrounds", "vignette-soft.jpg", 512, 512, softVignette},
        {"Backgrounds", "grid-floor.png", 512, 512, gridFloor, 4},
    };
    return pictures;
}

const std::vector<StockSound>& stockSounds() {
    static const std::vector<StockSound> sounds = {
        {"chime.wav", 1.4f, chime},           {"click.wav", 0.04f, click},
        {"whoosh.wav", 0.8f, whoosh},         {"pop.wav", 0.15f, pop},
        {"rising-tone.wav", 0.6f, risingTone}, {"falling-tone.wav", 0.6f, fallingTone},
    };
    return sounds;
}

std::vector<uint8_t> paintPicture(const StockPicture& picture) {
    std::vector<uint8_t> out;
    out.reserve(size_t(picture.width) * size_t(picture.height) * 3);
    const int n = std::max(1, picture.samples);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            Rgb sum;
            for (int sy = 0; sy < n; ++sy)
                for (int sx = 0; sx < n; ++sx) {
                    const Rgb c = picture.paint((x + (sx + 0.5f) / n) / float(picture.width),
                                                (y + (sy + 0.5f) / n) / float(picture.height));
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                }
            const float k = 1.0f / float(n * n);
            for (float c : {sum.r, sum.g, sum.b}) out.push_back(toByte(c * k));
        }
    return out;
}

std::vector<int16_t> soundSamples(const StockSound& sound) {
    const int count = int(std::lround(sound.seconds * kSoundRate));
    std::vector<int16_t> out;
    out.reserve(size_t(count));
    for (float s : sound.synthesize(count)) out.push_back(int16_t(std::lround(std::max(-1.0f, std::min(1.0f, s)) * 32767)));
    return out;
}

bool writeStockSet(const std::string& dataDir, std::string& error) {
    std::error_code ec;
    for (const char* folder : {"Textures", "Backgrounds", "Sounds"}) {
        std::filesystem::create_directories(pathJoin(dataDir, folder), ec);
        if (ec) {
            error = pathJoin(dataDir, folder) + ": " + ec.message();
            return false;
        }
    }
    for (const StockPicture& picture : stockPictures()) {
        const std::string path = pathJoin(pathJoin(dataDir, picture.folder), picture.file);
        if (!writePicture(path, picture)) {
            error = path;
            return false;
        }
    }
    for (const StockSound& sound : stockSounds()) {
        const std::string path = pathJoin(pathJoin(dataDir, "Sounds"), sound.file);
        if (!writeSound(path, sound)) {
            error = path;
            return false;
        }
    }
    return true;
}

}  // namespace stockmedia
