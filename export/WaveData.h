// One WAVE file's format and samples in memory, as the sound merge loads each
// converted copy. Failures show their message through the movie host.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/PcmConverter.h"
#include "platform/WaveFile.h"

class CMovieHost;

// The most sample data one sound may bring into memory.
constexpr uint64_t kWaveDataLimit = uint64_t(1) << 30;

class WaveData {
public:
    // 1 on success; 0 after showing the failure's message.
    int load(const std::string& path, CMovieHost* host);

    // Whole seconds of sound.
    uint32_t lengthSeconds() const;
    // The format as the PCM converter takes it; not valid for codings it
    // cannot read.
    PcmFormat pcmFormat() const;

    std::string m_fileName;
    WaveFormatRecord m_format;
    uint64_t m_dataLength = 0;
    std::vector<uint8_t> m_data;
    // The part not yet consumed.
    size_t m_current = 0;
    size_t m_remaining = 0;
};

// Asks the host whether to go on with a chunk that runs past the RIFF size.
WaveCorruptQuestion MakeWaveCorruptQuestion(CMovieHost* host);
