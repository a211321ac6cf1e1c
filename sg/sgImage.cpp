#include "sg/sgImage.h"

#include <cstdio>
#include <cstring>
#include <map>

int nextPowerAbove(int dimension, int start) {
    long long p = start;
    while (p <= dimension && p < (1LL << 30)) p *= 2;
    return static_cast<int>(p);
}

void flipRows(std::vector<uint8_t>& pixels, int width, int height, int bitsPerPixel) {
    if (width <= 0 || height <= 1) return;
    size_t stride = static_cast<size_t>(width) * static_cast<size_t>(bitsPerPixel) / 8;
    if (pixels.size() < stride * static_cast<size_t>(height)) return;
    std::vector<uint8_t> tmp(stride);
    for (int i = 0; i < height / 2; ++i) {
        uint8_t* a = pixels.data() + stride * i;
        uint8_t* b = pixels.data() + stride * (height - 1 - i);
        std::memcpy(tmp.data(), a, stride);
        std::memcpy(a, b, stride);
        std::memcpy(b, tmp.data(), stride);
    }
}

size_t sgImageByteCount(int64_t width, int64_t height, int64_t components) {
    if (width <= 0 || height <= 0 || components <= 0) return 0;
    // Keep single images under 1 GiB: no texture or background needs more, and
    // hostile headers must not make us try.
    const int64_t limit = int64_t(1) << 30;
    if (width > limit || height > limit) return 0;
    int64_t n = width * height;
    if (n > limit / components) return 0;
    return static_cast<size_t>(n * components);
}

sgImagePtr padToPowerOfTwo(const sgImage& image, int components, int start, float* sScale, float* tScale) {
    int pw = nextPowerAbove(image.width, start);
    int ph = nextPowerAbove(image.height, start);
    size_t bytes = sgImageByteCount(pw, ph, components);
    size_t srcStride = static_cast<size_t>(image.width) * components;
    if (!bytes || image.pixels.size() < srcStride * image.height) return nullptr;
    auto out = std::make_unique<sgImage>();
    out->width = pw;
    out->height = ph;
    out->pixels.assign(bytes, 0);
    size_t dstStride = static_cast<size_t>(pw) * components;
    for (int y = 0; y < image.height; ++y)
        std::memcpy(out->pixels.data() + dstStride * y, image.pixels.data() + srcStride * y, srcStride);
    if (sScale) *sScale = static_cast<float>(image.width) / static_cast<float>(pw);
    if (tScale) *tScale = static_cast<float>(image.height) / static_cast<float>(ph);
    return out;
}

sgImagePtr convertBGRAImage(const sgImage& bgra) {
    size_t need = sgImageByteCount(bgra.width, bgra.height, 4);
    if (!need || bgra.pixels.size() < need) return nullptr;
    sgImage swapped;
    swapped.width = bgra.width;
    swapped.height = bgra.height;
    swapped.pixels.assign(bgra.pixels.begin(), bgra.pixels.begin() + need);
    for (size_t i = 0; i < need; i += 4) std::swap(swapped.pixels[i], swapped.pixels[i + 2]);
    return padToPowerOfTwo(swapped, 4, 1, nullptr, nullptr);
}

namespace {
std::map<int, const sgImage*>& handles() {
    static std::map<int, const sgImage*> table;
    return table;
}
int g_nextHandle = 1;
sgImageReaders g_readers;
}  // namespace

int sgRegisterImageHandle(const sgImage* image) {
    if (!image) return 0;
    int h = g_nextHandle++;
    handles()[h] = image;
    return h;
}

void sgUnregisterImageHandle(int handle) { handles().erase(handle); }

const sgImage* sgLookupImageHandle(int handle) {
    auto it = handles().find(handle);
    return it == handles().end() ? nullptr : it->second;
}

const sgImage* readImageHandle(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f) return nullptr;
    int handle = 0;
    int got = std::fscanf(f, "%d", &handle);
    std::fclose(f);
    if (got != 1) return nullptr;
    return sgLookupImageHandle(handle);
}

void sgSetImageReaders(const sgImageReaders& readers) { g_readers = readers; }

const char* sgImageFailureText(sgImageFailure why) {
    switch (why) {
        case sgImageFailure::missing: return "missing";
        case sgImageFailure::tooLarge: return "too large";
        case sgImageFailure::corrupt: return "corrupt";
        case sgImageFailure::unsupported: return "unsupported";
        case sgImageFailure::none: break;
    }
    return "";
}

sgImagePtr sgReadImage(int format, const std::string& path, int* components, sgImageFailure* why) {
    sgSetImageFailure(why, sgImageFailure::unsupported);
    if (!g_readers.read) return nullptr;
    return g_readers.read(format, path, components, why);
}

sgImagePtr sgReadTextureImage(int format, const std::string& path, int* components, float* sScale, float* tScale,
                              sgImageFailure* why) {
    sgSetImageFailure(why, sgImageFailure::unsupported);
    if (!g_readers.readTexture) return nullptr;
    return g_readers.readTexture(format, path, components, sScale, tScale, why);
}
