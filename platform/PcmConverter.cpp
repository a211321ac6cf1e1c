#include "platform/PcmConverter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

bool PcmFormat::isValid() const {
    if (channels != 1 && channels != 2) return false;
    if (samplesPerSec < 1 || samplesPerSec > 768000) return false;
    switch (encoding) {
    case PcmEncoding::Integer:
        return bitsPerSample == 8 || bitsPerSample == 16 || bitsPerSample == 24 || bitsPerSample == 32;
    case PcmEncoding::Float: return bitsPerSample == 32 || bitsPerSample == 64;
    case PcmEncoding::ALaw:
    case PcmEncoding::MuLaw: return bitsPerSample == 8;
    }
    return false;
}

PcmFormat PcmTargetFormat(const PcmFormat& first) {
    if (first.isPcm()) return first;
    PcmFormat f = first;
    f.bitsPerSample = 16;
    f.encoding = PcmEncoding::Integer;
    return f;
}

namespace {

constexpr int64_t kFullScale = int64_t(1) << 31;

// G.711 expansions to 16-bit linear samples.
int aLawToLinear(uint8_t a) {
    a ^= 0x55;
    int t = (a & 0x0F) << 4;
    const int segment = (a & 0x70) >> 4;
    if (segment == 0) {
        t += 8;
    } else {
        t += 0x108;
        if (segment > 1) t <<= segment - 1;
    }
    return (a & 0x80) ? t : -t;
}

int muLawToLinear(uint8_t u) {
    u = uint8_t(~u);
    int t = ((u & 0x0F) << 3) + 0x84;
    t <<= (u & 0x70) >> 4;
    return (u & 0x80) ? 0x84 - t : t - 0x84;
}

int64_t fromFloat(double v) {
    if (!(v == v)) return 0;  // NaN is silence
    v = std::clamp(v * double(kFullScale), -double(kFullScale), double(kFullScale - 1));
    return int64_t(std::llrint(v));
}

// One sample as a signed value of full scale 2^31.
int64_t readSample(const uint8_t* p, const PcmFormat& f) {
    switch (f.encoding) {
    case PcmEncoding::Integer:
        switch (f.bitsPerSample) {
        case 8: return (int64_t(p[0]) - 128) * (int64_t(1) << 24);
        case 16: return int64_t(int16_t(uint16_t(p[0] | p[1] << 8))) * 65536;
        case 24: return int64_t(int32_t(uint32_t(p[0]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 24));
        default: return int64_t(int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24));
        }
    case PcmEncoding::Float:
        if (f.bitsPerSample == 32) {
            float v;
            std::memcpy(&v, p, 4);
            return fromFloat(v);
        } else {
            double v;
            std::memcpy(&v, p, 8);
            return fromFloat(v);
        }
    case PcmEncoding::ALaw: return int64_t(aLawToLinear(p[0])) * 65536;
    case PcmEncoding::MuLaw: return int64_t(muLawToLinear(p[0])) * 65536;
    }
    return 0;
}

// Rounds a full-scale value to the target's integer width.
void writeSample(uint8_t* p, int64_t value, int bits) {
    value = std::clamp(value, -kFullScale, kFullScale - 1);
    switch (bits) {
    case 8: p[0] = uint8_t(std::clamp((value + kFullScale + (1 << 23)) >> 24, int64_t(0), int64_t(255))); return;
    case 16: {
        const int64_t v = std::clamp((value + (1 << 15)) >> 16, int64_t(-32768), int64_t(32767));
        p[0] = uint8_t(v);
        p[1] = uint8_t(uint64_t(v) >> 8);
        return;
    }
    case 24: {
        const int64_t v = std::clamp((value + (1 << 7)) >> 8, -(int64_t(1) << 23), (int64_t(1) << 23) - 1);
        for (int i = 0; i < 3; ++i) p[i] = uint8_t(uint64_t(v) >> (8 * i));
        return;
    }
    default:
        for (int i = 0; i < 4; ++i) p[i] = uint8_t(uint64_t(value) >> (8 * i));
    }
}

}  // namespace

uint64_t ConvertedPcmBytes(uint64_t size, const PcmFormat& from, const PcmFormat& to) {
    if (!from.isValid() || !to.isValid() || !to.isPcm()) return 0;
    const uint64_t frames = size / uint64_t(from.blockAlign());
    if (from == to) return frames * uint64_t(from.blockAlign());
    // Below 2^40 frames the product with a rate (below 2^20) stays in range.
    if (frames >= uint64_t(1) << 40) return UINT64_MAX;
    return frames * uint64_t(to.samplesPerSec) / uint64_t(from.samplesPerSec) * uint64_t(to.blockAlign());
}

std::vector<uint8_t> ConvertPcm(const uint8_t* data, size_t size, const PcmFormat& from, const PcmFormat& to) {
    std::vector<uint8_t> out;
    const uint64_t outSize = ConvertedPcmBytes(size, from, to);
    if (outSize == 0 || outSize > uint64_t(1) << 40) return out;
    const size_t inAlign = size_t(from.blockAlign());
    const size_t frames = size / inAlign;
    if (from == to) {
        out.assign(data, data + frames * inAlign);
        return out;
    }
    const size_t inBytes = size_t(from.bitsPerSample / 8);
    // Channel c of the target layout at a source frame.
    auto sampleAt = [&](size_t frame, int c) -> int64_t {
        const uint8_t* p = data + frame * inAlign;
        if (from.channels == to.channels) return readSample(p + size_t(c) * inBytes, from);
        if (to.channels == 1) return (readSample(p, from) + readSample(p + inBytes, from)) >> 1;
        return readSample(p, from);
    };
    const size_t outAlign = size_t(to.blockAlign());
    const size_t outBytes = size_t(to.bitsPerSample / 8);
    const uint64_t outFrames = outSize / outAlign;
    out.resize(size_t(outSize));
    for (uint64_t f = 0; f < outFrames; ++f) {
        // Source position: whole frames and a 30-bit fraction, so the
        // difference of two samples times the fraction stays in 64 bits.
        const uint64_t scaled = f * uint64_t(from.samplesPerSec);
        const size_t i = size_t(scaled / uint64_t(to.samplesPerSec));
        const int64_t frac = int64_t(((scaled % uint64_t(to.samplesPerSec)) << 30) / uint64_t(to.samplesPerSec));
        const size_t j = std::min(i + 1, frames - 1);
        for (int c = 0; c < to.channels; ++c) {
            const int64_t a = sampleAt(i, c);
            const int64_t v = frac ? a + (((sampleAt(j, c) - a) * frac) >> 30) : a;
            writeSample(out.data() + size_t(f) * outAlign + size_t(c) * outBytes, v, to.bitsPerSample);
        }
    }
    return out;
}
