// Our own RIFF AVI 1.0 files (there is no Video for Windows here): a writer
// for one video stream and an optional PCM audio stream, and a reader that
// walks a movie's chunks with every size checked, used to copy the frames of
// a movie we wrote into a new one.
//
// Layout written: RIFF "AVI " { LIST "hdrl" { "avih", LIST "strl" { "strh",
// "strf" } per stream }, LIST "movi" { "00dc" video, "01wb" audio chunks },
// "idx1" }. The headers are written first and patched on close.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

constexpr uint32_t AviFourCC(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 | uint32_t(uint8_t(d)) << 24;
}

// The largest movie we write: AVI 1.0 keeps 32-bit offsets and players stop
// trusting them past 1 GiB.
constexpr uint64_t kAviSizeLimit = uint64_t(1) << 30;

struct AviVideoFormat {
    int width = 0;
    int height = 0;
    uint32_t handler = 0;             // strh fccHandler: 0 or "MJPG"
    uint32_t rate = 30, scale = 1;    // frames per second = rate / scale
    std::vector<uint8_t> format;      // the "strf" body: a BITMAPINFOHEADER
};

struct AviAudioFormat {
    uint16_t formatTag = 1;  // PCM
    uint16_t channels = 1;
    uint32_t samplesPerSec = 22050;
    uint32_t avgBytesPerSec = 22050;
    uint16_t blockAlign = 1;
    uint16_t bitsPerSample = 8;
};

enum class AviStatus { Ok, OpenFailed, WriteFailed, SizeLimit, NotOpen };

class RiffAviWriter {
public:
    explicit RiffAviWriter(uint64_t sizeLimit = kAviSizeLimit);
    ~RiffAviWriter();  // an unfinished file is closed as it stands
    RiffAviWriter(const RiffAviWriter&) = delete;
    RiffAviWriter& operator=(const RiffAviWriter&) = delete;

    // Creates (truncates) the file and writes the headers.
    AviStatus create(const std::string& path, const AviVideoFormat& video, const AviAudioFormat* audio);
    // One chunk each; SizeLimit leaves the file as it was, ready to close.
    AviStatus writeVideo(const uint8_t* data, size_t size);
    AviStatus writeAudio(const uint8_t* data, size_t size);
    // Writes the index, patches the headers, checks the flush and the close.
    AviStatus close();

    bool isOpen() const { return m_file != nullptr; }
    uint32_t videoFrames() const { return m_videoFrames; }

private:
    struct IndexEntry {
        uint32_t id, flags, offset, size;
    };
    AviStatus writeChunk(uint32_t id, const uint8_t* data, size_t size);
    bool put(const void* data, size_t size);
    bool patch32(uint64_t pos, uint32_t value);

    uint64_t m_sizeLimit;
    FILE* m_file = nullptr;
    bool m_failed = false;
    bool m_hasAudio = false;
    uint64_t m_pos = 0;            // bytes written so far
    uint64_t m_moviStart = 0;      // position of the "movi" list's form type
    uint32_t m_videoFrames = 0;
    uint64_t m_audioBytes = 0;
    uint32_t m_maxVideo = 0, m_maxAudio = 0;
    uint32_t m_audioBlockAlign = 1;
    uint32_t m_rate = 30, m_scale = 1;
    std::vector<IndexEntry> m_index;
    // Positions of the header fields patched on close.
    uint64_t m_avihPos = 0, m_videoStrhPos = 0, m_audioStrhPos = 0;
    std::vector<char> m_buffer;
};

// Reads the first video stream of an AVI file: its format and where each of
// its frames lies. Every chunk size is checked against its list and the file.
class RiffAviReader {
public:
    ~RiffAviReader();
    bool open(const std::string& path, uint64_t sizeLimit = kAviSizeLimit);
    const AviVideoFormat& video() const { return m_video; }
    size_t frameCount() const { return m_frames.size(); }
    // Reads frame i into data; false on a read error.
    bool readFrame(size_t i, std::vector<uint8_t>& data);

private:
    struct Span {
        uint64_t offset, size;
    };
    bool walk(uint64_t start, uint64_t end, int depth);
    FILE* m_file = nullptr;
    uint64_t m_fileSize = 0;
    AviVideoFormat m_video;
    bool m_haveVideo = false;
    int m_streamIndex = -1, m_videoStream = -1;
    std::vector<Span> m_frames;
};
