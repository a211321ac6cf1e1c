// Our own PCM converter (there is no Audio Compression Manager here): 8-bit
// unsigned or 16-bit signed samples, mono or stereo, at any sample rate, into
// another such format. Channels are mixed (stereo to mono averages, mono to
// stereo repeats) and the rate is changed by linear interpolation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct PcmFormat {
    int channels = 1;          // 1 or 2
    int samplesPerSec = 22050; // 1 to 768,000
    int bitsPerSample = 8;     // 8 or 16

    int blockAlign() const { return channels * bitsPerSample / 8; }
    int avgBytesPerSec() const { return samplesPerSec * blockAlign(); }
    bool isValid() const;
    bool operator==(const PcmFormat& o) const {
        return channels == o.channels && samplesPerSec == o.samplesPerSec && bitsPerSample == o.bitsPerSample;
    }
};

// Converts the whole sample frames of data (a trailing part frame is dropped).
// Empty when either format is not valid.
std::vector<uint8_t> ConvertPcm(const uint8_t* data, size_t size, const PcmFormat& from, const PcmFormat& to);
