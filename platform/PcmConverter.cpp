#include "platform/PcmConverter.h"

#include <algorithm>

bool PcmFormat::isValid() const {
    return (channels == 1 || channels == 2) && (bitsPerSample == 8 || bitsPerSample == 16) && samplesPerSec >= 1 &&
           samplesPerSec <= 768000;
}

namespace {

// One sample as a signed 16-bit value.
inline int readSample(const uint8_t* p, int bits) {
    return bits == 8 ? (int(p[0]) - 128) * 256 : int(int16_t(uint16_t(p[0] | p[1] << 8)));
}

inline void writeSample(uint8_t* p, int value, int bits) {
    value = std::clamp(value, -32768, 32767);
    if (bits == 8) {
        // Round to the nearest 8-bit step.
        p[0] = uint8_t(std::clamp((value + 32768 + 128) >> 8, 0, 255));
    } else {
        p[0] = uint8_t(value);
        p[1] = uint8_t(uint32_t(value) >> 8);
    }
}

}  // namespace

std::vector<uint8_t> ConvertPcm(const uint8_t* data, size_t size, const PcmFormat& from, const PcmFormat& to) {
    std::vector<uint8_t> out;
    if (!from.isValid() || !to.isValid()) return out;
    const size_t inAlign = size_t(from.blockAlign());
    const size_t frames = size / inAlign;
    if (frames == 0) return out;
    if (from == to) {
        out.assign(data, data + frames * inAlign);
        return out;
    }
    const int inBytes = from.bitsPerSample / 8;
    // Channels first, at the source rate, in 16-bit precision.
    std::vector<int16_t> mixed(frames * size_t(to.channels));
    for (size_t f = 0; f < frames; ++f) {
        const uint8_t* p = data + f * inAlign;
        const int left = readSample(p, from.bitsPerSample);
        const int right = from.channels == 2 ? readSample(p + inBytes, from.bitsPerSample) : left;
        if (to.channels == 1) {
            mixed[f] = int16_t((left + right) >> 1);
        } else {
            mixed[2 * f] = int16_t(left);
            mixed[2 * f + 1] = int16_t(right);
        }
    }
    const uint64_t outFrames = uint64_t(frames) * uint64_t(to.samplesPerSec) / uint64_t(from.samplesPerSec);
    const size_t outAlign = size_t(to.blockAlign());
    const int outBytes = to.bitsPerSample / 8;
    out.resize(size_t(outFrames) * outAlign);
    for (uint64_t f = 0; f < outFrames; ++f) {
        // Source position: whole frames and a 32-bit fraction.
        const uint64_t scaled = f * uint64_t(from.samplesPerSec);
        const size_t i = size_t(scaled / uint64_t(to.samplesPerSec));
        const int64_t frac = int64_t(((scaled % uint64_t(to.samplesPerSec)) << 32) / uint64_t(to.samplesPerSec));
        const size_t j = std::min(i + 1, frames - 1);
        for (int c = 0; c < to.channels; ++c) {
            const int64_t a = mixed[i * size_t(to.channels) + size_t(c)];
            const int64_t b = mixed[j * size_t(to.channels) + size_t(c)];
            const int v = int(a + (((b - a) * frac) >> 32));
            writeSample(out.data() + size_t(f) * outAlign + size_t(c * outBytes), v, to.bitsPerSample);
        }
    }
    return out;
}
