// Shared by the movie writer tests: a host that records message boxes and
// answers the compressor choice, a private folder per test, synthetic frames,
// and the outside tools (ffmpeg, ffprobe, sox) that check what we wrote.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/CMovieHost.h"

struct RecordedMessage {
    std::string text, caption;
    int style;
};

class RecordingMovieHost : public CMovieHost {
public:
    int MessageBox(const std::string& text, const std::string& caption, int style) override {
        messages.push_back({text, caption, style});
        return (style & MOVIE_MB_YESNO) ? answer : MOVIE_IDOK;
    }
    bool ChooseAviCompressor(AviCompressOptions& options) override {
        ++compressorAsked;
        if (cancelCompressor) return false;
        options.handler = handler;
        options.quality = quality;
        return true;
    }
    std::vector<RecordedMessage> messages;
    int answer = MOVIE_IDYES;
    bool cancelCompressor = false;
    uint32_t handler = kAviFullFrames;
    int quality = 7500;
    int compressorAsked = 0;
};

// A fresh folder under the test output folder, removed when the test ends.
class TestFolder {
public:
    explicit TestFolder(const std::string& name);
    ~TestFolder();
    std::string path(const std::string& name) const { return m_dir + "/" + name; }
    const std::string& dir() const { return m_dir; }
    // Names of the files in the folder, sorted.
    std::vector<std::string> files() const;

private:
    std::string m_dir;
};

// A smooth, moving test picture: B, G, R (3) or B, G, R, A (4) per pixel, top
// row first, no padding.
std::vector<uint8_t> MakeFrame(int width, int height, int index, int bytesPerPixel, uint8_t alpha = 255);

// Runs a shell command; its standard output, and the exit status in status.
std::string RunCommand(const std::string& command, int* status = nullptr);
std::string ShellQuote(const std::string& s);
std::string Md5Hex(const std::vector<uint8_t>& data);
std::vector<uint8_t> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& data);
// ffprobe's value of one stream entry ("v:0", "nb_read_frames"); -count_frames.
std::string ProbeStream(const std::string& file, const std::string& stream, const std::string& entry);
// The frames ffmpeg decodes from file as packed pixels of pixFmt.
std::vector<uint8_t> DecodeFrames(const std::string& file, const std::string& pixFmt, int frames);
double Psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);

// A PCM WAVE file written directly (samples as given).
std::vector<uint8_t> MakeWave(int channels, int rate, int bits, const std::vector<uint8_t>& samples, int formatTag = 1);
