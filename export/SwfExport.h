// The Flash export: every recorded frame becomes one full-frame bitmap (JPEG
// or lossless) on a rectangle that replaces the previous frame's, written as
// an uncompressed SWF file of version 4 when the export closes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/SwfMovie.h"

class CMovieHost;
class SwfBitmapRect;

// The widest and highest frame: its side in twips must stay below 65,536.
constexpr int kSwfMaxFrameSide = 3276;
// Two character ids per frame must fit 16 bits.
constexpr int kSwfMaxFrames = 32767;

class SwfExport {
public:
    explicit SwfExport(CMovieHost* host = nullptr);
    ~SwfExport();

    // Frames are width x height pixels of bitsPerPixel 32 (B, G, R, A, top
    // row first). The stage is the frame size. 0, or -1 when the settings
    // cannot make a movie (a message says why for an oversized frame).
    int open(const std::string& path, int frameCount, int width, int height, int jpeg, int jpegQuality,
             int frameRate, int bitsPerPixel);
    // Adds frame index (0 to frameCount - 1, each once); 0, or -1 when refused.
    int addFrame(int index, const uint8_t* pixels);
    // Writes the movie unless a frame failed; 0 when the file was written,
    // -1 otherwise (no file is left then).
    int close();

    bool failed() const { return m_failed; }
    SwfMovie& movie() { return m_movie; }

private:
    CMovieHost* m_host;
    std::string m_path;
    int m_frameCount = 0;
    int m_width = 0, m_height = 0;
    int m_bitsPerPixel = 32;
    bool m_jpeg = false;
    int m_quality = 60;
    bool m_open = false;
    bool m_failed = false;
    std::vector<SwfBitmapRect*> m_frames;
    std::vector<uint8_t> m_scratch;  // one frame's A, R, G, B
    std::vector<uint8_t> m_packed;   // its zlib stream
    SwfMovie m_movie;
};
