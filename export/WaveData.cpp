#include "export/WaveData.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "export/CMovieHost.h"

namespace {

int fail(CMovieHost* host, const char* text) {
    if (host) host->MessageBox(text, "Kelvano", MOVIE_MB_OK);
    return 0;
}

}  // namespace

WaveCorruptQuestion MakeWaveCorruptQuestion(CMovieHost* host) {
    return [host](const std::string& question) {
        return !host || host->MessageBox(question, "wioFileOpen", MOVIE_MB_YESNO | MOVIE_MB_ICONWARNING |
                                                                      MOVIE_MB_TASKMODAL) == MOVIE_IDYES;
    };
}

int WaveData::load(const std::string& path, CMovieHost* host) {
    m_fileName = path;
    m_data.clear();
    m_dataLength = 0;
    m_current = m_remaining = 0;
    WaveDetails details;
    switch (ReadWaveDetails(path, details, MakeWaveCorruptQuestion(host))) {
    case WaveStatus::Ok: break;
    case WaveStatus::OpenFailed: return fail(host, "File not found!");
    case WaveStatus::NotWave:
    case WaveStatus::BadChunk: return fail(host, "Not wave file!");
    case WaveStatus::NoFormat: return fail(host, "fmt Descending Error");
    case WaveStatus::BadFormat: return fail(host, "wave format reading Error");
    case WaveStatus::NoData: return fail(host, "Data chunk finding failure.");
    case WaveStatus::ReadFailed: return fail(host, "Data reading failure.");
    }
    m_format = details.format;
    if (details.dataSize > kWaveDataLimit) return fail(host, "Not enough memory");
    try {
        m_data.resize(size_t(details.dataSize));
    } catch (const std::bad_alloc&) {
        return fail(host, "Not enough memory");
    }
    FILE* file = std::fopen(path.c_str(), "rb");
    const bool read = file && fseeko(file, off_t(details.dataOffset), SEEK_SET) == 0 &&
                      std::fread(m_data.data(), 1, m_data.size(), file) == m_data.size();
    if (file) std::fclose(file);
    if (!read) {
        m_data.clear();
        return fail(host, "Data reading failure.");
    }
    m_dataLength = details.dataSize;
    m_remaining = m_data.size();
    return 1;
}

uint32_t WaveData::lengthSeconds() const {
    return m_format.avgBytesPerSec ? uint32_t(m_dataLength / m_format.avgBytesPerSec) : 0;
}

PcmFormat WaveData::pcmFormat() const {
    PcmFormat f;
    if (!WaveSampleFormat(m_format, f)) f.channels = 0;  // not valid: nothing to convert
    return f;
}
