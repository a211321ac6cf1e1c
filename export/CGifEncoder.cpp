#include "export/CGifEncoder.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "export/FrameCapture.h"
#include "platform/AtomicFile.h"
#include "sg/sgImage.h"

namespace {
constexpr unsigned kClearCode = 256;
constexpr unsigned kEndCode = 257;
constexpr unsigned kFirstFree = 258;
constexpr unsigned kLargestCode = 4095;
constexpr int kMinCodeSize = 8;
constexpr int kSubBlock = 254;

void put16(std::vector<uint8_t>& v, unsigned x) {
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}
}  // namespace

CGifEncoder::CGifEncoder()
    : m_wt(kGridCells), m_mr(kGridCells), m_mg(kGridCells), m_mb(kGridCells), m_m2(kGridCells),
      m_labels(kGridCells) {
    reset();
}

CGifEncoder::~CGifEncoder() = default;

void CGifEncoder::reset() {
    // A file left unfinished is given up: the file it would replace stays.
    m_file.reset();
    freeBuffers();
    m_state = kNotOpened;
    m_bCreateFailed = false;
    m_delay = 20;
    m_loopCount = 0;
    m_bTransparent = 0;
    m_transparentPos = -1;
    m_transparentIndex = 0;
    m_codeBits = 9;
    m_maxCode = 511;
    m_bitBuffer = 0;
    m_bitCount = 0;
    m_blockPos = 0;
    std::memset(m_block, 0, sizeof m_block);
}

void CGifEncoder::freeBuffers() {
    for (auto* v : {&m_palette, &m_indexImage}) {
        v->clear();
        v->shrink_to_fit();
    }
    m_cellIndex.clear();
    m_cellIndex.shrink_to_fit();
}

bool CGifEncoder::allocateBuffers(size_t pixels) {
    try {
        m_palette.assign(size_t(kColors) * 3, 0);
        m_indexImage.assign(pixels, 0);
        m_cellIndex.assign(pixels, 0);
    } catch (const std::bad_alloc&) {
        freeBuffers();
        return false;
    }
    return true;
}

int CGifEncoder::open(const std::string& path, int width, int height) {
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535) return kBadSize;
    // Buffers and a file left from an unfinished one go first.
    m_file.reset();
    freeBuffers();
    m_state = kNotOpened;
    m_bCreateFailed = false;
    m_path = path;
    setScreenSize(width, height);
    setImageSize(width, height);
    const size_t pixels = sgImageByteCount(width, height, 4);
    if (!pixels || !allocateBuffers(pixels / 4)) return kNoMemory;
    return 1;
}

void CGifEncoder::setScreenSize(int width, int height) {
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535) return;
    m_screenWidth = uint16_t(width);
    m_screenHeight = uint16_t(height);
}

void CGifEncoder::setImageSize(int width, int height) {
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535) return;
    m_imageWidth = uint16_t(width);
    m_imageHeight = uint16_t(height);
}

void CGifEncoder::setAnimation(int delay, int loopCount) {
    m_delay = uint16_t(delay);
    m_loopCount = uint16_t(loopCount);
}

void CGifEncoder::setTransparentColor(float red, float green, float blue) {
    auto toByte = [](float v) {
        float x = v * 255.0f;
        return uint8_t(x <= 0.0f ? 0 : x >= 255.0f ? 255 : int(x));
    };
    setTransparentBytes(toByte(red), toByte(green), toByte(blue));
}

void CGifEncoder::setTransparentBytes(uint8_t red, uint8_t green, uint8_t blue) {
    m_transparentColor[0] = red;
    m_transparentColor[1] = green;
    m_transparentColor[2] = blue;
}

int CGifEncoder::addFrameFromBackBuffer(int frameNumber) {
    const int W = m_imageWidth, H = m_imageHeight;
    const size_t bytes = sgImageByteCount(W, H, 3);
    std::vector<uint8_t> image;
    try {
        image.resize(bytes);
    } catch (const std::bad_alloc&) {
        return kNoOutput;
    }
    if (!bytes) return kNoOutput;
    readBackBuffer(image.data(), W, H, 24);
    // The GIF's first row is the picture's top row.
    flipRows(image, W, H, 24);
    return encodeFrame(image.data(), frameNumber);
}

bool CGifEncoder::createFile() {
    auto file = std::make_unique<AtomicFile>();
    if (!file->open(m_path)) {
        // Said once; the encoder then takes no more frames.
        std::fprintf(stderr, "[CGifEncoder] Unable to create output file: %s (%s)\n", m_path.c_str(),
                     file->error().c_str());
        m_bCreateFailed = true;
        freeBuffers();
        return false;
    }
    m_file = std::move(file);
    return true;
}

bool CGifEncoder::writeHeader() {
    std::vector<uint8_t> h;
    h.reserve(13 + 19);
    const char* sig = "GIF89a";
    h.insert(h.end(), sig, sig + 6);
    put16(h, m_screenWidth);
    put16(h, m_screenHeight);
    h.push_back(0x77);  // no global table, colour resolution 8 bits
    h.push_back(0);     // background colour index
    h.push_back(0);     // pixel aspect ratio
    const uint8_t app[] = {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1};
    h.insert(h.end(), app, app + sizeof app);
    put16(h, m_loopCount);
    h.push_back(0);
    return std::fwrite(h.data(), 1, h.size(), m_file->file()) == h.size();
}

bool CGifEncoder::writeFrame() {
    std::vector<uint8_t> f;
    f.reserve(8 + 10 + 768 + 1);
    // Graphic control: disposal 2 whenever transparency is on; the
    // transparent-colour flag only when this frame has a pixel in the
    // transparent colour's cell, so no opaque pixel vanishes.
    uint8_t packed = 0x00;
    if (m_bTransparent) {
        packed = 0x08;
        if (m_transparentPos >= 0) {
            m_transparentIndex = m_indexImage[size_t(m_transparentPos)];
            packed = 0x09;
        } else {
            m_transparentIndex = 0;
        }
    }
    const uint8_t gce[] = {0x21, 0xF9, 4, packed};
    f.insert(f.end(), gce, gce + sizeof gce);
    put16(f, m_delay);
    f.push_back(m_transparentIndex);
    f.push_back(0);
    f.push_back(0x2C);
    put16(f, 0);
    put16(f, 0);
    put16(f, m_imageWidth);
    put16(f, m_imageHeight);
    f.push_back(0x87);  // local table of 256 entries, not interlaced
    f.insert(f.end(), m_palette.begin(), m_palette.end());
    f.push_back(kMinCodeSize);
    writeImageData();
    FILE* out = m_file->file();
    return std::fwrite(f.data(), 1, f.size(), out) == f.size() &&
           std::fwrite(m_out.data(), 1, m_out.size(), out) == m_out.size();
}

int CGifEncoder::encodeFrame(const uint8_t* rgb, int frameNumber) {
    if (m_state == kFinished) return kAlreadyFinished;
    if (m_bCreateFailed || m_indexImage.empty() || !rgb) return kNoOutput;
    if (!quantize(m_imageWidth, m_imageHeight, kColors, rgb, m_palette.data())) return kNoOutput;
    if (m_state == kNotOpened) {
        if (!createFile()) return kNoOutput;
        if (!writeHeader()) {
            m_file.reset();
            m_bCreateFailed = true;
            freeBuffers();
            return kNoOutput;
        }
        m_state = kHeaderWritten;
    }
    if (!writeFrame()) {
        // A failed write ends the file; the old one stays.
        m_file.reset();
        m_bCreateFailed = true;
        freeBuffers();
        return kNoOutput;
    }
    if (frameNumber != -1) return kFrameWritten;
    const uint8_t trailer = 0x3B;
    const bool written = std::fwrite(&trailer, 1, 1, m_file->file()) == 1 && m_file->commit();
    if (!written) std::fprintf(stderr, "[CGifEncoder] %s\n", m_file->error().c_str());
    m_file.reset();
    m_state = kFinished;
    freeBuffers();
    return written ? kFileFinished : kNoOutput;
}

// ---- LZW ----

void CGifEncoder::putCode(unsigned code) {
    // Least significant bit first.
    m_bitBuffer |= uint64_t(code) << m_bitCount;
    m_bitCount += m_codeBits;
    while (m_bitCount >= 8) {
        m_block[m_blockPos++] = uint8_t(m_bitBuffer);
        m_bitBuffer >>= 8;
        m_bitCount -= 8;
        if (m_blockPos == kSubBlock) {
            m_out.push_back(kSubBlock);
            m_out.insert(m_out.end(), m_block, m_block + kSubBlock);
            m_blockPos = 0;
        }
    }
}

void CGifEncoder::flushCodes() {
    // The current byte goes out even when none of its bits is used.
    m_block[m_blockPos++] = uint8_t(m_bitBuffer);
    m_out.push_back(uint8_t(m_blockPos));
    m_out.insert(m_out.end(), m_block, m_block + m_blockPos);
    m_out.push_back(0);  // block terminator
    m_bitBuffer = 0;
    m_bitCount = 0;
    m_blockPos = 0;
    std::memset(m_block, 0, sizeof m_block);
}

void CGifEncoder::writeImageData() {
    m_out.clear();
    const size_t n = size_t(m_imageWidth) * m_imageHeight;
    if (m_indexImage.size() < n || n == 0) return;
    m_out.reserve(n / 2 + 1024);
    m_codeBits = 9;
    m_maxCode = 511;
    m_bitBuffer = 0;
    m_bitCount = 0;
    m_blockPos = 0;
    m_table.clear();
    unsigned nextFree = kFirstFree;
    const uint8_t* idx = m_indexImage.data();
    putCode(kClearCode);
    unsigned prefix = idx[0];
    for (size_t i = 1; i < n; ++i) {
        const unsigned k = idx[i];
        const uint32_t key = (prefix << 8) | k;
        const int found = m_table.find(key);
        if (found >= 0) {
            prefix = unsigned(found);
            continue;
        }
        putCode(prefix);
        if (nextFree > kLargestCode) {
            putCode(kClearCode);
            m_codeBits = 9;
            m_maxCode = 511;
            m_table.clear();
            nextFree = kFirstFree;
        } else {
            if (nextFree > m_maxCode) {
                ++m_codeBits;
                m_maxCode = m_maxCode * 2 + 1;
            }
            m_table.insert(key, int(nextFree++));
        }
        prefix = k;
    }
    putCode(prefix);
    // A decoder adds the entry of this last code too: when that fills the
    // current size, it reads the end code one bit wider.
    if (nextFree > m_maxCode && m_codeBits < 12) {
        ++m_codeBits;
        m_maxCode = m_maxCode * 2 + 1;
    }
    putCode(kEndCode);
    flushCodes();
}
