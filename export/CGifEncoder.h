// GIF writer for still images and animations. Every file is GIF89a with a
// NETSCAPE2.0 loop block; every frame has a graphic control extension and
// its own 256-entry colour table, made by Wu's colour quantiser, and is coded
// with LZW into sub-blocks of 254 bytes.
//
// Calling order: open, setAnimation (animations), the transparency flag and
// colour, then one encodeFrame (or addFrameFromBackBuffer) per frame, the
// last one with frame number -1, which finishes the file. The file is written
// through AtomicFile: it replaces an old one only when finished.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "export/LzwTable.h"

class AtomicFile;

class CGifEncoder {
public:
    enum State { kNotOpened = 1, kHeaderWritten = 2, kFinished = 3 };
    // Results of open and encodeFrame.
    enum Result {
        kFrameWritten = 2,
        kFileFinished = 3,
        kAlreadyFinished = -2,
        kNoOutput = -3,   // the quantiser failed, no buffers, or no output file
        kNoMemory = -4,   // open could not allocate its buffers
        kBadSize = -5,    // open was given a size outside 1..65535
    };
    static constexpr int kColors = 256;
    static constexpr int kGridSide = 33;
    static constexpr int kGridCells = kGridSide * kGridSide * kGridSide;

    CGifEncoder();
    ~CGifEncoder();
    CGifEncoder(const CGifEncoder&) = delete;
    CGifEncoder& operator=(const CGifEncoder&) = delete;

    // State 1, delay 20, loop count 0, transparency off, coder state cleared.
    // An unfinished file is given up (the old file stays) and the buffers go.
    void reset();
    // Takes the path and the size and allocates the frame buffers; the file is
    // created with the first frame. 1, kBadSize or kNoMemory.
    int open(const std::string& path, int width, int height);
    void setScreenSize(int width, int height);
    void setImageSize(int width, int height);
    void setAnimation(int delay, int loopCount);
    // Each component times 255, truncated to a byte.
    void setTransparentColor(float red, float green, float blue);
    void setTransparentBytes(uint8_t red, uint8_t green, uint8_t blue);

    // Reads the frame from the GL back buffer and encodes it; -1 marks the
    // last frame. encodeFrame's result, or kNoOutput when no image could be
    // allocated (the frame is skipped).
    int addFrameFromBackBuffer(int frameNumber);
    // Encodes a top-down RGB image of the open size (3 bytes per pixel).
    int encodeFrame(const uint8_t* rgb, int frameNumber);

    // Wu's quantiser: fills the index image and palette (256 x R, G, B) from
    // an RGB image of width x height; with transparency on also the
    // transparent pixel position. 1, or 0 without buffers.
    int quantize(int width, int height, int colors, const uint8_t* rgb, uint8_t* palette);

    // Plain fields, as the callers set and read them.
    int m_bTransparent = 0;
    uint8_t m_transparentColor[3] = {0, 0, 0};

    int state() const { return m_state; }
    uint16_t delay() const { return m_delay; }
    uint16_t loopCount() const { return m_loopCount; }
    long transparentPosition() const { return m_transparentPos; }
    uint8_t transparentIndex() const { return m_transparentIndex; }
    const uint8_t* palette() const { return m_palette.data(); }
    const uint8_t* indexImage() const { return m_indexImage.empty() ? nullptr : m_indexImage.data(); }
    // The LZW data of the index image (code size byte excluded): sub-blocks
    // and the terminator, as writeImageData leaves them.
    const std::vector<uint8_t>& imageData() const { return m_out; }
    // Codes the index image into imageData().
    void writeImageData();

private:
    struct Box {
        int r0, r1, g0, g1, b0, b1;
        int vol;
    };
    bool allocateBuffers(size_t pixels);
    void freeBuffers();
    bool createFile();
    bool writeHeader();
    bool writeFrame();
    void putCode(unsigned code);
    void flushCodes();
    void buildMoments();
    bool cutBox(Box& set1, Box& set2);
    float boxVariance(const Box& box) const;
    float maximize(const Box& box, int axis, int* cut, const int64_t whole[4]) const;

    int m_state = kNotOpened;
    bool m_bCreateFailed = false;
    std::string m_path;
    std::unique_ptr<AtomicFile> m_file;
    uint16_t m_screenWidth = 0, m_screenHeight = 0, m_imageWidth = 0, m_imageHeight = 0;
    uint16_t m_delay = 20, m_loopCount = 0;
    long m_transparentPos = -1;
    uint8_t m_transparentIndex = 0;

    // Frame buffers, from open until the file is finished.
    std::vector<uint8_t> m_palette;
    std::vector<uint8_t> m_indexImage;
    std::vector<uint16_t> m_cellIndex;

    // Quantiser tables, allocated once with the encoder: cumulative moments
    // over the 33^3 grid (64-bit sums and squares) and the cell labels.
    std::vector<int64_t> m_wt, m_mr, m_mg, m_mb, m_m2;
    std::vector<uint8_t> m_labels;
    Box m_boxes[kColors];
    float m_variance[kColors];

    // LZW coder.
    LzwTable m_table;
    int m_codeBits = 9;
    unsigned m_maxCode = 511;
    uint64_t m_bitBuffer = 0;
    int m_bitCount = 0;
    uint8_t m_block[256];
    int m_blockPos = 0;
    std::vector<uint8_t> m_out;
};
