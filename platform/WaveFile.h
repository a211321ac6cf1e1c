// WAVE file details through a bounded RIFF chunk walker: every chunk size is
// checked against the file before anything is read or allocated, odd chunks
// are padded, and the "fmt " chunk is read whole into a zeroed block of at
// least 18 bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/PcmConverter.h"

struct WaveFormatRecord {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    std::vector<uint8_t> raw;  // the chunk's bytes, zero-padded to 18 or more
};

struct WaveDetails {
    WaveFormatRecord format;
    uint64_t fileSize = 0;
    uint64_t dataOffset = 0;
    uint64_t dataSize = 0;
    uint32_t sampleCount = 0;  // "fact", or data size / block align for PCM
    bool hasFormat = false, hasData = false, hasFact = false;
};

enum class WaveStatus {
    Ok,
    OpenFailed,   // missing, unreadable or not a regular file
    ReadFailed,   // a read came up short
    NotWave,      // no RIFF "WAVE" header
    BadChunk,     // a chunk runs past the end of the file, or was declined
    NoFormat,     // no "fmt " chunk
    BadFormat,    // a "fmt " chunk shorter than 16 bytes (or absurdly long)
    NoData,       // no "data" chunk
};

constexpr uint16_t kWaveFormatPcm = 1;
constexpr uint16_t kWaveFormatIeeeFloat = 3;
constexpr uint16_t kWaveFormatALaw = 6;
constexpr uint16_t kWaveFormatMuLaw = 7;
constexpr uint16_t kWaveFormatExtensible = 0xFFFE;

// The samples of a format record as the PCM converter reads them: integer
// PCM, IEEE float, A-law and µ-law, also inside WAVE_FORMAT_EXTENSIBLE. False
// for any other coding (ADPCM and the like) or inconsistent fields.
bool WaveSampleFormat(const WaveFormatRecord& format, PcmFormat& out);

// Asked when a chunk fits the file but runs past the RIFF chunk's own size;
// answering false fails the read. Null means yes.
using WaveCorruptQuestion = std::function<bool(const std::string& question)>;

WaveStatus ReadWaveDetails(const std::string& path, WaveDetails& details, const WaveCorruptQuestion& ask = nullptr);

// The 44-byte header of a PCM WAVE file with dataBytes of samples (a pad
// byte follows odd data and counts in the RIFF size).
std::vector<uint8_t> MakePcmWaveHeader(uint16_t channels, uint32_t samplesPerSec, uint16_t bitsPerSample,
                                       uint32_t dataBytes);
