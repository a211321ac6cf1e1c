// File input for the image readers (whole files for those that parse from
// memory), padding for their texture variants, and the little-endian and
// big-endian field readers they share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "sg/sgImage.h"

// Larger files cannot hold an image the readers would accept (images stay
// under 1 GiB of pixels; run-length data is at most twice that).
constexpr size_t kMaxImageFileBytes = size_t(2) << 30;

// The whole file, when it is a regular file of at most `maxBytes`; else false
// with the reason (missing, too large) in `why`.
bool readImageFileBytes(const std::string& path, std::vector<uint8_t>& out, sgImageFailure* why,
                        size_t maxBytes = kMaxImageFileBytes);

// The file opened for reading at its start, for readers that stream it;
// null, with the reason in `why`, under the same rules. `size` gets its length.
FILE* openImageFile(const std::string& path, sgImageFailure* why, unsigned long long* size = nullptr,
                    size_t maxBytes = kMaxImageFileBytes);

// The image in the lower left corner of a power-of-two canvas (from `start`),
// for the readers' texture variants: `components` and the scales are set on
// success, `why` says too large when the canvas does not fit.
sgImagePtr padImage(const sgImage& image, int bytesPerPixel, int start, int* components, float* sScale,
                    float* tScale, sgImageFailure* why);

inline uint16_t readLE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint16_t readBE16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
inline uint32_t readLE32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline uint32_t readBE32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}
