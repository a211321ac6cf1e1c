#include "assets/ImageFileBytes.h"

#include <new>

#include <sys/stat.h>

FILE* openImageFile(const std::string& path, sgImageFailure* why, unsigned long long* size, size_t maxBytes) {
    sgSetImageFailure(why, sgImageFailure::missing);
    FILE* f = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
    if (!f) return nullptr;
    struct stat st;
    // Folders and devices open on Linux but hold no image.
    off_t length = -1;
    if (fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode) && fseeko(f, 0, SEEK_END) == 0) length = ftello(f);
    if (length < 0 || fseeko(f, 0, SEEK_SET) != 0) {
        std::fclose(f);
        return nullptr;
    }
    if (static_cast<unsigned long long>(length) > maxBytes) {
        sgSetImageFailure(why, sgImageFailure::tooLarge);
        std::fclose(f);
        return nullptr;
    }
    if (size) *size = static_cast<unsigned long long>(length);
    sgSetImageFailure(why, sgImageFailure::none);
    return f;
}

bool readImageFileBytes(const std::string& path, std::vector<uint8_t>& out, sgImageFailure* why, size_t maxBytes) {
    out.clear();
    unsigned long long size = 0;
    FILE* f = openImageFile(path, why, &size, maxBytes);
    if (!f) return false;
    bool ok = false;
    try {
        out.resize(static_cast<size_t>(size));
        ok = out.empty() || std::fread(out.data(), 1, out.size(), f) == out.size();
        sgSetImageFailure(why, ok ? sgImageFailure::none : sgImageFailure::missing);
    } catch (const std::bad_alloc&) {
        sgSetImageFailure(why, sgImageFailure::tooLarge);
    }
    std::fclose(f);
    if (!ok) std::vector<uint8_t>().swap(out);
    return ok;
}

sgImagePtr padImage(const sgImage& image, int bytesPerPixel, int start, int* components, float* sScale,
                    float* tScale, sgImageFailure* why) {
    sgImagePtr padded = padToPowerOfTwo(image, bytesPerPixel, start, sScale, tScale);
    sgSetImageFailure(why, padded ? sgImageFailure::none : sgImageFailure::tooLarge);
    if (padded && components) *components = bytesPerPixel;
    return padded;
}
