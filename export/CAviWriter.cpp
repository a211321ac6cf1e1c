#include "export/CAviWriter.h"

#include <cstdio>
#include <cstring>

#include "export/JpegMemory.h"
#include "export/MovieFiles.h"

namespace {

uint32_t le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
void put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

constexpr size_t kDibHeader = 40;
constexpr int kMaxSide = 32767;  // the stream header keeps 16-bit sides

size_t rowBytes24(int width) { return (size_t(width) * 24 + 31) / 32 * 4; }

// The BITMAPINFOHEADER of a width x height 24-bit frame.
std::vector<uint8_t> frameHeader(int width, int height, uint32_t compression, uint32_t imageSize) {
    std::vector<uint8_t> h(kDibHeader, 0);
    put32(&h[0], kDibHeader);
    put32(&h[4], uint32_t(width));
    put32(&h[8], uint32_t(height));
    h[12] = 1;   // planes
    h[14] = 24;  // bits
    put32(&h[16], compression);
    put32(&h[20], imageSize);
    return h;
}

}  // namespace

std::vector<uint8_t> DibFromBitmap(const MovieImage& image) {
    std::vector<uint8_t> dib;
    if (!image.pixels || image.width <= 0 || image.height <= 0 || image.width > kMaxSide ||
        image.height > kMaxSide || (image.bytesPerPixel != 3 && image.bytesPerPixel != 4) ||
        image.stride < size_t(image.width) * size_t(image.bytesPerPixel))
        return dib;
    const size_t row = rowBytes24(image.width);
    const size_t bits = row * size_t(image.height);
    dib = frameHeader(image.width, image.height, 0, uint32_t(bits));
    dib.resize(kDibHeader + bits, 0);
    for (int y = 0; y < image.height; ++y) {
        // DIB rows run bottom-up.
        const int source = image.topDown ? image.height - 1 - y : y;
        const uint8_t* s = image.pixels + size_t(source) * image.stride;
        uint8_t* d = dib.data() + kDibHeader + size_t(y) * row;
        if (image.bytesPerPixel == 3) {
            std::memcpy(d, s, size_t(image.width) * 3);
        } else {
            for (int x = 0; x < image.width; ++x, s += 4, d += 3) {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
            }
        }
    }
    return dib;
}

CAviWriter::CAviWriter(CMovieHost* host) : m_host(host) {}

CAviWriter::~CAviWriter() {
    if (m_file && m_file->isOpen()) close();
}

void CAviWriter::reset() {
    m_file.reset();
    m_tempPath.clear();
    m_mergedPath.clear();
    m_soundCopies.clear();
    m_width = m_height = -1;
    m_frameCount = 0;
    m_usable = false;
    m_movieComplete = false;
    m_limitReported = false;
}

bool CAviWriter::open(const std::string& tempPath, int width, int height) {
    if (m_file && m_file->isOpen()) close();
    reset();
    m_tempPath = tempPath;
    m_width = width;
    m_height = height;
    m_usable = true;
    return true;
}

void CAviWriter::fail(const char* text, const char* caption) {
    m_usable = false;
    if (text && m_host) m_host->MessageBox(text, caption, MOVIE_MB_OK | MOVIE_MB_ICONWARNING);
}

bool CAviWriter::startMovie() {
    // Nothing is created until a compressor is chosen, so a cancel leaves no
    // file behind.
    m_options = AviCompressOptions();
    if (!m_host || !m_host->ChooseAviCompressor(m_options)) {
        m_usable = false;
        RemoveMovieFile(m_tempPath);
        return false;
    }
    AviVideoFormat video;
    video.width = m_width;
    video.height = m_height;
    video.rate = kAviFrameRate;
    video.scale = 1;
    const uint32_t imageSize = uint32_t(rowBytes24(m_width) * size_t(m_height));
    if (m_options.handler == kAviFullFrames) {
        video.handler = 0;
        video.format = frameHeader(m_width, m_height, 0, imageSize);
    } else if (m_options.handler == kAviMotionJpeg) {
        video.handler = kAviMotionJpeg;
        video.format = frameHeader(m_width, m_height, kAviMotionJpeg, uint32_t(size_t(m_width) * m_height * 3));
    } else {
        RemoveMovieFile(m_tempPath);
        fail("Selected AVI type is not supported!", "Error");
        return false;
    }
    m_file = std::make_unique<RiffAviWriter>(m_sizeLimit);
    if (m_file->create(m_tempPath, video, nullptr) != AviStatus::Ok) {
        m_file.reset();
        RemoveMovieFile(m_tempPath);
        m_usable = false;
        return false;
    }
    return true;
}

bool CAviWriter::addFrame(std::vector<uint8_t> dib) {
    // The block is released when this returns, whatever happens.
    const std::vector<uint8_t> frame = std::move(dib);
    if (!m_usable || frame.size() < kDibHeader) return false;
    const uint8_t* h = frame.data();
    const int width = int32_t(le32(h + 4));
    const int height = int32_t(le32(h + 8));
    if (le32(h) < kDibHeader || le16(h + 14) != 24 || le32(h + 16) != 0 || width <= 0 || height <= 0 ||
        width > kMaxSide || height > kMaxSide)
        return false;
    if ((m_width != -1 && width != m_width) || (m_height != -1 && height != m_height)) return false;
    const size_t row = rowBytes24(width);
    const size_t offset = le32(h);
    if (frame.size() < offset || (frame.size() - offset) / row < size_t(height)) return false;
    m_width = width;
    m_height = height;
    if (m_frameCount == 0 && !m_file && !startMovie()) return false;

    const uint8_t* bits = frame.data() + offset;
    const uint8_t* data = bits;
    size_t size = row * size_t(height);
    if (m_options.handler == kAviMotionJpeg) {
        const int quality = m_options.quality < 0 ? 75 : m_options.quality / 100;
        // Rendered charts and text have sharp coloured edges: colour keeps
        // full resolution and the flatter movie quantisation.
        JpegEncodeOptions movie;
        movie.movieFrame = true;
        if (!EncodeJpegToMemory(bits, width, height, row, JpegPixels::BGR, true, quality, m_jpeg, movie)) {
            fail("Writing error!", "Error");
            return false;
        }
        data = m_jpeg.data();
        size = m_jpeg.size();
    }
    switch (m_file->writeVideo(data, size)) {
    case AviStatus::Ok: ++m_frameCount; return true;
    case AviStatus::SizeLimit: {
        // The file stays whole: close() finishes it with the frames so far.
        char text[200];
        std::snprintf(text, sizeof text,
                      "The movie has reached the 1 GB size limit of an AVI file. Frames after frame %d were not "
                      "written.",
                      m_frameCount);
        fail(m_limitReported ? nullptr : text, "Kelvano");
        m_limitReported = true;
        return false;
    }
    default: fail("Writing error!", "Error"); return false;
    }
}

bool CAviWriter::addFrameBitmap(const MovieImage& image) {
    std::vector<uint8_t> dib = DibFromBitmap(image);
    if (dib.empty()) return false;
    return addFrame(std::move(dib));
}

bool CAviWriter::close() {
    m_usable = false;
    if (!m_file) return true;
    const bool written = m_file->isOpen() && m_file->close() == AviStatus::Ok;
    m_file.reset();
    if (!written) {
        // Never leave a broken movie behind.
        RemoveMovieFile(m_tempPath);
        m_movieComplete = false;
        fail("Writing error!", "Error");
        return false;
    }
    m_movieComplete = m_frameCount > 0;
    return true;
}

bool CAviWriter::moveOutputFile(const std::string& finalPath) {
    if (!m_movieComplete) return false;
    if (std::rename(m_tempPath.c_str(), finalPath.c_str()) == 0) {
        m_tempPath.clear();
        m_movieComplete = false;
        return true;
    }
    // Another volume: copy beside the target, then rename it into place.
    const std::string copy = makeTemporaryMovieName(finalPath);
    if (copy.empty()) return false;
    FILE* in = std::fopen(m_tempPath.c_str(), "rb");
    FILE* out = in ? std::fopen(copy.c_str(), "wb") : nullptr;
    bool ok = in && out;
    std::vector<char> buffer(1 << 20);
    while (ok) {
        const size_t n = std::fread(buffer.data(), 1, buffer.size(), in);
        if (n == 0) {
            ok = !std::ferror(in);
            break;
        }
        ok = std::fwrite(buffer.data(), 1, n, out) == n;
    }
    if (in) std::fclose(in);
    if (out) ok = std::fclose(out) == 0 && ok;
    ok = ok && std::rename(copy.c_str(), finalPath.c_str()) == 0;
    if (!ok) {
        RemoveMovieFile(copy);
        return false;
    }
    RemoveMovieFile(m_tempPath);
    m_tempPath.clear();
    m_movieComplete = false;
    return true;
}

void CAviWriter::deleteTemporaryFiles() {
    RemoveMovieFile(m_tempPath);
    m_tempPath.clear();
    m_movieComplete = false;
    deleteSoundFiles();
}

void CAviWriter::deleteSoundFiles() {
    for (const std::string& copy : m_soundCopies) RemoveMovieFile(copy);
    m_soundCopies.clear();
    RemoveMovieFile(m_mergedPath);
    m_mergedPath.clear();
}

bool CAviWriter::finish(const std::string& finalPath, const AviSoundList& sounds) {
    close();
    if (!m_movieComplete) {
        deleteTemporaryFiles();
        return false;
    }
    bool done = !sounds.empty() && mergeWaveFiles(sounds) && addSoundTrack(finalPath);
    if (!done) done = moveOutputFile(finalPath);
    if (done) {
        deleteTemporaryFiles();
    } else {
        // The temporary movie is then the only movie: it stays.
        deleteSoundFiles();
    }
    return done;
}

std::string CAviWriter::makeTemporaryMovieName(const std::string& finalPath) {
    return CreateUniqueMovieFile(MovieFolderOf(finalPath), "_tmp", ".avi");
}

std::string CAviWriter::makeUniqueWaveName(const std::string& folder, const std::string& prefix) {
    return CreateUniqueMovieFile(folder, prefix, ".wav");
}
