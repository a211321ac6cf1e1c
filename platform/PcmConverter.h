// Our own PCM converter (there is no Audio Compression Manager here): mono or
// stereo sound at any sample rate, read as 8-bit unsigned or 16-, 24- or
// 32-bit signed integers, 32- or 64-bit floats, A-law or µ-law, and written as
// integer PCM of 8, 16, 24 or 32 bits. Channels are mixed (stereo to mono
// averages, mono to stereo repeats) and the rate is changed by linear
// interpolation, in 32-bit precision.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

enum class PcmEncoding { Integer, Float, ALaw, MuLaw };

struct PcmFormat {
    int channels = 1;          // 1 or 2
    int samplesPerSec = 22050; // 1 to 768,000
    int bitsPerSample = 8;     // integers 8, 16, 24 or 32; floats 32 or 64; A-law and µ-law 8
    PcmEncoding encoding = PcmEncoding::Integer;

    int blockAlign() const { return channels * bitsPerSample / 8; }
    int avgBytesPerSec() const { return samplesPerSec * blockAlign(); }
    bool isValid() const;
    // Integer samples: what a plain PCM WAVE header (format tag 1) describes.
    bool isPcm() const { return encoding == PcmEncoding::Integer; }
    bool operator==(const PcmFormat& o) const {
        return channels == o.channels && samplesPerSec == o.samplesPerSec && bitsPerSample == o.bitsPerSample &&
               encoding == o.encoding;
    }
};

// The integer PCM format that sounds of the given format are joined in: an
// integer format itself, anything else 16 bits at its rate and channels.
PcmFormat PcmTargetFormat(const PcmFormat& first);

// Bytes that ConvertPcm makes of size bytes; 0 when it converts nothing,
// UINT64_MAX when the result could never be held.
uint64_t ConvertedPcmBytes(uint64_t size, const PcmFormat& from, const PcmFormat& to);

// Converts the whole sample frames of data (a trailing part frame is dropped).
// Empty when either format is not valid, the target is not integer PCM or the
// result would exceed 2^40 bytes.
std::vector<uint8_t> ConvertPcm(const uint8_t* data, size_t size, const PcmFormat& from, const PcmFormat& to);
