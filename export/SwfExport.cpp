#include "export/SwfExport.h"

#include <zlib.h>

#include <algorithm>
#include <new>
#include <system_error>
#include <thread>

#include "export/CMovieHost.h"
#include "export/JpegMemory.h"

namespace {

// A, R, G, B with the colour premultiplied by alpha, as DefineBitsLossless2
// wants it.
void toPremultipliedArgb(const uint8_t* s, uint8_t* d, size_t count) {
    for (size_t i = 0; i < count; ++i, s += 4, d += 4) {
        const uint32_t a = s[3];
        d[0] = uint8_t(a);
        if (a == 255) {
            d[1] = s[2];
            d[2] = s[1];
            d[3] = s[0];
        } else {
            d[1] = uint8_t((s[2] * a + 127) / 255);
            d[2] = uint8_t((s[1] * a + 127) / 255);
            d[3] = uint8_t((s[0] * a + 127) / 255);
        }
    }
}

// One piece of a frame's zlib stream: raw deflate blocks ending on a byte
// boundary (a sync flush), the last piece with the final block.
struct DeflatePiece {
    std::vector<uint8_t> out;
    uLong adler = 1;
    bool ok = false;
};

void deflatePiece(const uint8_t* bgra, uint8_t* argb, size_t pixels, bool last, DeflatePiece& piece) {
    toPremultipliedArgb(bgra, argb, pixels);
    const size_t bytes = pixels * 4;
    piece.adler = adler32(1, argb, uInt(bytes));
    z_stream z{};
    if (deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return;
    try {
        piece.out.resize(deflateBound(&z, uLong(bytes)) + 16);
    } catch (const std::bad_alloc&) {
        deflateEnd(&z);
        return;
    }
    z.next_in = argb;
    z.avail_in = uInt(bytes);
    z.next_out = piece.out.data();
    z.avail_out = uInt(piece.out.size());
    const int rc = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
    piece.ok = last ? rc == Z_STREAM_END : rc == Z_OK && z.avail_in == 0;
    piece.out.resize(z.total_out);
    deflateEnd(&z);
}

// Pieces below this many pixels are not worth a thread.
constexpr size_t kPiecePixels = 64 * 1024;

// The zlib stream of a frame's premultiplied A, R, G, B. The frame is
// deflated in pieces side by side (zlib's fastest level) and the pieces are
// joined into one stream, as parallel gzip does: one header, the pieces'
// blocks in order, the Adler-32 of the whole.
bool packLosslessFrame(const uint8_t* bgra, size_t count, std::vector<uint8_t>& argb, std::vector<uint8_t>& out) {
    argb.resize(count * 4);
    const size_t threads = std::max(1u, std::thread::hardware_concurrency());
    const size_t pieces = std::clamp<size_t>(count / kPiecePixels, 1, std::min<size_t>(threads, 8));
    const size_t per = (count + pieces - 1) / pieces;
    std::vector<DeflatePiece> parts(pieces);
    auto run = [&](size_t i) {
        const size_t first = i * per, n = std::min(per, count - first);
        deflatePiece(bgra + first * 4, argb.data() + first * 4, n, i + 1 == pieces, parts[i]);
    };
    std::vector<std::thread> workers;
    for (size_t i = 1; i < pieces; ++i) {
        try {
            workers.emplace_back(run, i);
        } catch (const std::system_error&) {
            run(i);  // no thread to be had: this one does it
        }
    }
    run(0);
    for (std::thread& t : workers) t.join();
    size_t total = 6;
    uLong adler = 1;
    for (size_t i = 0; i < pieces; ++i) {
        if (!parts[i].ok) return false;
        total += parts[i].out.size();
        const size_t first = i * per, n = std::min(per, count - first);
        adler = i == 0 ? parts[i].adler : adler32_combine(adler, parts[i].adler, z_off_t(n * 4));
    }
    out.clear();
    out.reserve(total);
    out.push_back(0x78);  // deflate, 32K window
    out.push_back(0x01);  // fastest level; header check bits
    for (const DeflatePiece& p : parts) out.insert(out.end(), p.out.begin(), p.out.end());
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(adler >> shift));
    return true;
}

}  // namespace

SwfExport::SwfExport(CMovieHost* host) : m_host(host) {}

SwfExport::~SwfExport() = default;

int SwfExport::open(const std::string& path, int frameCount, int width, int height, int jpeg, int jpegQuality,
                    int frameRate, int bitsPerPixel) {
    m_open = false;
    m_movie.clear();
    m_frames.clear();
    if (width > kSwfMaxFrameSide || height > kSwfMaxFrameSide) {
        if (m_host)
            m_host->MessageBox("Frames wider or higher than 3276 pixels cannot be written to a Flash movie.", "Error",
                               MOVIE_MB_OK | MOVIE_MB_ICONWARNING);
        return -1;
    }
    if (width <= 0 || height <= 0 || frameCount <= 0 || frameCount > kSwfMaxFrames || bitsPerPixel != 32) return -1;
    m_path = path;
    m_frameCount = frameCount;
    m_width = width;
    m_height = height;
    m_bitsPerPixel = bitsPerPixel;
    m_jpeg = jpeg != 0;
    m_quality = jpegQuality < 0 ? 0 : jpegQuality > 100 ? 100 : jpegQuality;
    m_frames.assign(size_t(frameCount), nullptr);
    m_failed = false;
    m_movie.setRate(frameRate);
    m_movie.setStage(width * 20, height * 20);
    m_open = true;
    return 0;
}

int SwfExport::addFrame(int index, const uint8_t* pixels) {
    if (!m_open || !pixels || index < 0 || index >= m_frameCount || m_frames[size_t(index)]) return -1;
    const size_t count = size_t(m_width) * size_t(m_height);
    std::unique_ptr<SwfTag> bitmap;
    const int id = m_movie.nextId();
    try {
        if (m_jpeg) {
            auto jpeg = std::make_shared<std::vector<uint8_t>>();
            if (!EncodeJpegToMemory(pixels, m_width, m_height, size_t(m_width) * 4, JpegPixels::BGRA, false, m_quality,
                                    *jpeg, JpegEncodeOptions{})) {
                m_failed = true;
                return 0;
            }
            bitmap = std::make_unique<SwfDefineBitsJPEG2>(id, std::move(jpeg));
        } else {
            if (!packLosslessFrame(pixels, count, m_scratch, m_packed)) {
                m_failed = true;
                return 0;
            }
            auto data = std::make_shared<std::vector<uint8_t>>(std::move(m_packed));
            m_packed = std::vector<uint8_t>();
            bitmap = std::make_unique<SwfDefineBitsLossless>(id, kSwfLossless24, m_width, m_height, true, std::move(data));
        }
    } catch (const std::bad_alloc&) {
        m_failed = true;
        return 0;
    }
    SwfRect rect;
    rect.x1 = m_width * 20;
    rect.y1 = m_height * 20;
    SwfBitmapRect* item =
        m_movie.adopt(std::make_unique<SwfBitmapRect>(rect, std::move(bitmap), id, m_width, m_height));
    m_frames[size_t(index)] = item;
    if (index > 0 && m_frames[size_t(index) - 1]) m_movie.remove(size_t(index), m_frames[size_t(index) - 1]);
    m_movie.place(size_t(index), item);
    return 0;
}

int SwfExport::close() {
    if (!m_open) return -1;
    m_open = false;
    const bool written = !m_failed && m_movie.write(m_path);
    m_movie.clear();
    m_frames.clear();
    m_scratch = std::vector<uint8_t>();
    m_packed = std::vector<uint8_t>();
    return written ? 0 : -1;
}
