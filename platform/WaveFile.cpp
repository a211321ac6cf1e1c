#include "platform/WaveFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

uint32_t le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
bool is(const uint8_t* p, const char* id) { return p[0] == id[0] && p[1] == id[1] && p[2] == id[2] && p[3] == id[3]; }

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

// The largest "fmt " chunk we take: the biggest format records are a few
// dozen bytes.
constexpr uint32_t kMaxFormatChunk = 65536;

}  // namespace

WaveStatus ReadWaveDetails(const std::string& path, WaveDetails& details, const WaveCorruptQuestion& ask) {
    details = WaveDetails();
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return WaveStatus::OpenFailed;
    struct stat st;
    if (fstat(fileno(file.get()), &st) != 0 || !S_ISREG(st.st_mode)) return WaveStatus::OpenFailed;
    details.fileSize = uint64_t(st.st_size);
    uint8_t head[12];
    if (details.fileSize < 12) return WaveStatus::NotWave;
    if (std::fread(head, 1, 12, file.get()) != 12) return WaveStatus::ReadFailed;
    if (!is(head, "RIFF") || !is(head + 8, "WAVE")) return WaveStatus::NotWave;
    const uint64_t riffEnd = 8 + uint64_t(le32(head + 4));

    uint64_t pos = 12;
    while (pos + 8 <= details.fileSize) {
        uint8_t chunk[8];
        if (fseeko(file.get(), off_t(pos), SEEK_SET) != 0 || std::fread(chunk, 1, 8, file.get()) != 8)
            return WaveStatus::ReadFailed;
        const uint64_t size = le32(chunk + 4);
        const uint64_t body = pos + 8;
        if (body + size > details.fileSize) return WaveStatus::BadChunk;
        if (body + size > riffEnd) {
            char question[400];
            std::snprintf(question, sizeof question,
                          "This wave file might be corrupt. The RIFF chunk.ckid '%.08lX' (data offset at %lu) "
                          "specifies a cksize of %lu that extends beyond what the RIFF header cksize of %lu allows. "
                          "Attempt to load?",
                          static_cast<unsigned long>(le32(chunk)), static_cast<unsigned long>(body),
                          static_cast<unsigned long>(size), static_cast<unsigned long>(riffEnd - 8));
            if (ask && !ask(question)) return WaveStatus::BadChunk;
        }
        if (is(chunk, "fmt ") && !details.hasFormat) {
            if (size < 16 || size > kMaxFormatChunk) return WaveStatus::BadFormat;
            WaveFormatRecord& f = details.format;
            f.raw.assign(std::max<size_t>(size_t(size), 18), 0);
            if (std::fread(f.raw.data(), 1, size_t(size), file.get()) != size) return WaveStatus::ReadFailed;
            f.formatTag = le16(&f.raw[0]);
            f.channels = le16(&f.raw[2]);
            f.samplesPerSec = le32(&f.raw[4]);
            f.avgBytesPerSec = le32(&f.raw[8]);
            f.blockAlign = le16(&f.raw[12]);
            f.bitsPerSample = le16(&f.raw[14]);
            details.hasFormat = true;
        } else if (is(chunk, "data") && !details.hasData) {
            details.dataOffset = body;
            details.dataSize = size;
            details.hasData = true;
        } else if (is(chunk, "fact") && size >= 4 && !details.hasFact) {
            uint8_t count[4];
            if (std::fread(count, 1, 4, file.get()) != 4) return WaveStatus::ReadFailed;
            details.sampleCount = le32(count);
            details.hasFact = true;
        }
        pos = body + size + (size & 1);
    }
    if (!details.hasFormat) return WaveStatus::NoFormat;
    if (!details.hasData) return WaveStatus::NoData;
    if (details.format.formatTag == kWaveFormatPcm && details.format.blockAlign)
        details.sampleCount = uint32_t(std::min<uint64_t>(details.dataSize / details.format.blockAlign, 0xFFFFFFFFu));
    return WaveStatus::Ok;
}

bool WaveSampleFormat(const WaveFormatRecord& f, PcmFormat& out) {
    uint16_t tag = f.formatTag;
    if (tag == kWaveFormatExtensible) {
        // cbSize of at least 22, then valid bits, channel mask and the sub-format
        // GUID, whose first two bytes are the format tag and the rest fixed.
        static const uint8_t kGuidTail[14] = {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
        if (f.raw.size() < 40 || le16(&f.raw[16]) < 22) return false;
        if (!std::equal(kGuidTail, kGuidTail + 14, &f.raw[26])) return false;
        tag = le16(&f.raw[24]);
        if (le16(&f.raw[18]) > f.bitsPerSample) return false;
    }
    PcmFormat format;
    switch (tag) {
    case kWaveFormatPcm: format.encoding = PcmEncoding::Integer; break;
    case kWaveFormatIeeeFloat: format.encoding = PcmEncoding::Float; break;
    case kWaveFormatALaw: format.encoding = PcmEncoding::ALaw; break;
    case kWaveFormatMuLaw: format.encoding = PcmEncoding::MuLaw; break;
    default: return false;
    }
    if (f.samplesPerSec > 768000) return false;
    format.channels = f.channels;
    format.samplesPerSec = int(f.samplesPerSec);
    format.bitsPerSample = f.bitsPerSample;
    if (!format.isValid() || f.blockAlign != format.blockAlign()) return false;
    out = format;
    return true;
}

std::vector<uint8_t> MakePcmWaveHeader(uint16_t channels, uint32_t samplesPerSec, uint16_t bitsPerSample,
                                       uint32_t dataBytes) {
    const uint16_t blockAlign = uint16_t(channels * bitsPerSample / 8);
    const uint32_t riffSize = 36 + dataBytes + (dataBytes & 1);
    std::vector<uint8_t> h;
    h.reserve(44);
    auto tag = [&](const char* s) { h.insert(h.end(), s, s + 4); };
    auto u16 = [&](uint32_t v) {
        h.push_back(uint8_t(v));
        h.push_back(uint8_t(v >> 8));
    };
    auto u32 = [&](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    tag("RIFF");
    u32(riffSize);
    tag("WAVE");
    tag("fmt ");
    u32(16);
    u16(kWaveFormatPcm);
    u16(channels);
    u32(samplesPerSec);
    u32(samplesPerSec * blockAlign);
    u16(blockAlign);
    u16(bitsPerSample);
    tag("data");
    u32(dataBytes);
    return h;
}
