// What a JPEG file's headers say about how it was coded: its frame marker
// (0xC0 baseline, 0xC1 extended sequential, 0xC2 progressive) and whether a
// quantisation table has 16-bit entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct JpegHeaderInfo {
    int frameMarker = 0;  // 0: no frame header before the first scan
    bool wideTables = false;
};

inline JpegHeaderInfo ReadJpegHeaderInfo(const std::vector<uint8_t>& j) {
    JpegHeaderInfo info;
    if (j.size() < 4 || j[0] != 0xFF || j[1] != 0xD8) return info;
    size_t pos = 2;
    while (pos + 4 <= j.size() && j[pos] == 0xFF) {
        const int marker = j[pos + 1];
        if (marker == 0xFF) {
            ++pos;  // fill byte
            continue;
        }
        if (marker == 0xDA) break;
        const size_t length = size_t(j[pos + 2]) << 8 | j[pos + 3];
        const size_t end = pos + 2 + length;
        if (length < 2 || end > j.size()) break;
        if (marker == 0xDB) {
            for (size_t p = pos + 4; p < end;) {
                const bool wide = (j[p] >> 4) != 0;
                info.wideTables = info.wideTables || wide;
                p += 1 + (wide ? 128 : 64);
            }
        } else if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            info.frameMarker = marker;
        }
        pos = end;
    }
    return info;
}
