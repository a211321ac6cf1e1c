// Whole-file input for the image readers that parse from memory, and the
// little-endian and big-endian field readers they share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Larger files cannot hold an image the readers would accept (images stay
// under 1 GiB of pixels; run-length data is at most twice that).
constexpr size_t kMaxImageFileBytes = size_t(2) << 30;

enum class ImageFileStatus { ok, openFailed, tooLarge };

ImageFileStatus readImageFileBytes(const std::string& path, std::vector<uint8_t>& out,
                                   size_t maxBytes = kMaxImageFileBytes);

inline uint16_t readLE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint16_t readBE16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
inline uint32_t readLE32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline uint32_t readBE32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}
