#include "platform/RiffAviFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kAvifHasIndex = 0x10;
constexpr uint32_t kAvifIsInterleaved = 0x100;
constexpr uint32_t kAviifKeyFrame = 0x10;
constexpr size_t kHeaderSize = 56;  // avih and strh bodies

struct Bytes {
    std::vector<uint8_t> v;
    void u16(uint32_t x) {
        v.push_back(uint8_t(x));
        v.push_back(uint8_t(x >> 8));
    }
    void u32(uint32_t x) {
        u16(x & 0xFFFF);
        u16(x >> 16);
    }
    void add(const std::vector<uint8_t>& b) { v.insert(v.end(), b.begin(), b.end()); }
    void zeros(size_t n) { v.insert(v.end(), n, 0); }
    // A stream list "LIST strl" of the given size with its "strh" header of
    // headerSize bytes started; the position of the header's fields.
    size_t beginStreamList(uint32_t listSize, uint32_t headerSize);
};

size_t Bytes::beginStreamList(uint32_t listSize, uint32_t headerSize) {
    u32(AviFourCC('L', 'I', 'S', 'T'));
    u32(listSize);
    u32(AviFourCC('s', 't', 'r', 'l'));
    u32(AviFourCC('s', 't', 'r', 'h'));
    u32(headerSize);
    return v.size();
}

uint32_t le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

}  // namespace

RiffAviWriter::RiffAviWriter(uint64_t sizeLimit) : m_sizeLimit(sizeLimit) {}

RiffAviWriter::~RiffAviWriter() {
    if (m_file) std::fclose(m_file);
}

bool RiffAviWriter::put(const void* data, size_t size) {
    if (m_failed) return false;
    if (size && std::fwrite(data, 1, size, m_file) != size) {
        m_failed = true;
        return false;
    }
    m_pos += size;
    return true;
}

bool RiffAviWriter::patch32(uint64_t pos, uint32_t value) {
    uint8_t b[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
    if (m_failed || fseeko(m_file, off_t(pos), SEEK_SET) != 0 || std::fwrite(b, 1, 4, m_file) != 4) {
        m_failed = true;
        return false;
    }
    return true;
}

AviStatus RiffAviWriter::create(const std::string& path, const AviVideoFormat& video, const AviAudioFormat* audio) {
    if (m_file) return AviStatus::OpenFailed;
    m_file = std::fopen(path.c_str(), "wb");
    if (!m_file) return AviStatus::OpenFailed;
    m_buffer.resize(1 << 20);
    std::setvbuf(m_file, m_buffer.data(), _IOFBF, m_buffer.size());
    m_failed = false;
    m_pos = 0;
    m_videoFrames = 0;
    m_audioBytes = 0;
    m_maxVideo = m_maxAudio = 0;
    m_index.clear();
    m_hasAudio = audio != nullptr;
    m_rate = video.rate ? video.rate : 30;
    m_scale = video.scale ? video.scale : 1;
    m_audioBlockAlign = audio && audio->blockAlign ? audio->blockAlign : 1;

    const uint32_t videoFormatSize = uint32_t(video.format.size());
    const uint32_t videoStrl = 4 + 8 + kHeaderSize + 8 + ((videoFormatSize + 1) & ~1u);
    const uint32_t audioStrl = 4 + 8 + kHeaderSize + 8 + 16;
    const uint32_t hdrl = 4 + 8 + kHeaderSize + 8 + videoStrl + (audio ? 8 + audioStrl : 0);

    Bytes h;
    h.u32(AviFourCC('R', 'I', 'F', 'F'));
    h.u32(0);  // patched
    h.u32(AviFourCC('A', 'V', 'I', ' '));
    h.u32(AviFourCC('L', 'I', 'S', 'T'));
    h.u32(hdrl);
    h.u32(AviFourCC('h', 'd', 'r', 'l'));
    h.u32(AviFourCC('a', 'v', 'i', 'h'));
    h.u32(kHeaderSize);
    m_avihPos = h.v.size();
    h.u32(uint32_t(uint64_t(1000000) * m_scale / m_rate));
    h.u32(0);  // max bytes per second, patched
    h.u32(0);
    h.u32(kAvifHasIndex | (audio ? kAvifIsInterleaved : 0));
    h.u32(0);  // total frames, patched
    h.u32(0);
    h.u32(audio ? 2 : 1);
    h.u32(0);  // suggested buffer size, patched
    h.u32(uint32_t(video.width));
    h.u32(uint32_t(video.height));
    h.zeros(16);

    m_videoStrhPos = h.beginStreamList(videoStrl, kHeaderSize);
    h.u32(AviFourCC('v', 'i', 'd', 's'));
    h.u32(video.handler);
    h.u32(0);  // flags
    h.u32(0);  // priority, language
    h.u32(0);  // initial frames
    h.u32(m_scale);
    h.u32(m_rate);
    h.u32(0);  // start
    h.u32(0);  // length, patched
    h.u32(0);  // suggested buffer size, patched
    h.u32(0);  // quality
    h.u32(0);  // sample size
    h.u16(0);
    h.u16(0);
    h.u16(uint32_t(video.width));
    h.u16(uint32_t(video.height));
    h.u32(AviFourCC('s', 't', 'r', 'f'));
    h.u32(videoFormatSize);
    h.add(video.format);
    if (videoFormatSize & 1) h.v.push_back(0);

    if (audio) {
        m_audioStrhPos = h.beginStreamList(audioStrl, kHeaderSize);
        h.u32(AviFourCC('a', 'u', 'd', 's'));
        h.u32(0);
        h.u32(0);
        h.u32(0);
        h.u32(0);
        h.u32(m_audioBlockAlign);  // scale
        h.u32(audio->avgBytesPerSec);
        h.u32(0);
        h.u32(0);  // length in blocks, patched
        h.u32(0);  // suggested buffer size, patched
        h.u32(0);
        h.u32(m_audioBlockAlign);  // sample size
        h.zeros(8);
        h.u32(AviFourCC('s', 't', 'r', 'f'));
        h.u32(16);
        h.u16(audio->formatTag);
        h.u16(audio->channels);
        h.u32(audio->samplesPerSec);
        h.u32(audio->avgBytesPerSec);
        h.u16(audio->blockAlign);
        h.u16(audio->bitsPerSample);
    }
    h.u32(AviFourCC('L', 'I', 'S', 'T'));
    h.u32(0);  // movi size, patched
    m_moviStart = h.v.size();
    h.u32(AviFourCC('m', 'o', 'v', 'i'));
    if (!put(h.v.data(), h.v.size())) return AviStatus::WriteFailed;
    return AviStatus::Ok;
}

AviStatus RiffAviWriter::writeChunk(uint32_t id, const uint8_t* data, size_t size) {
    if (!m_file) return AviStatus::NotOpen;
    if (m_failed) return AviStatus::WriteFailed;
    const uint64_t padded = size + (size & 1);
    // The chunk, its index entry and the index header must all still fit.
    const uint64_t after = m_pos + 8 + padded + 16 * (uint64_t(m_index.size()) + 1) + 8;
    if (size > 0xFFFFFFF0u || after > m_sizeLimit) return AviStatus::SizeLimit;
    m_index.push_back({id, kAviifKeyFrame, uint32_t(m_pos - m_moviStart), uint32_t(size)});
    uint8_t head[8];
    const uint32_t n = uint32_t(size);
    for (int i = 0; i < 4; ++i) {
        head[i] = uint8_t(id >> (8 * i));
        head[4 + i] = uint8_t(n >> (8 * i));
    }
    static const uint8_t pad = 0;
    if (!put(head, 8) || !put(data, size) || ((size & 1) && !put(&pad, 1))) return AviStatus::WriteFailed;
    return AviStatus::Ok;
}

AviStatus RiffAviWriter::writeVideo(const uint8_t* data, size_t size) {
    AviStatus s = writeChunk(AviFourCC('0', '0', 'd', 'c'), data, size);
    if (s == AviStatus::Ok) {
        ++m_videoFrames;
        m_maxVideo = std::max(m_maxVideo, uint32_t(size));
    }
    return s;
}

AviStatus RiffAviWriter::writeAudio(const uint8_t* data, size_t size) {
    if (!m_hasAudio) return AviStatus::NotOpen;
    AviStatus s = writeChunk(AviFourCC('0', '1', 'w', 'b'), data, size);
    if (s == AviStatus::Ok) {
        m_audioBytes += size;
        m_maxAudio = std::max(m_maxAudio, uint32_t(size));
    }
    return s;
}

AviStatus RiffAviWriter::close() {
    if (!m_file) return AviStatus::NotOpen;
    const uint64_t idx1Pos = m_pos;
    Bytes idx;
    idx.v.reserve(8 + 16 * m_index.size());
    idx.u32(AviFourCC('i', 'd', 'x', '1'));
    idx.u32(uint32_t(16 * m_index.size()));
    for (const IndexEntry& e : m_index) {
        idx.u32(e.id);
        idx.u32(e.flags);
        idx.u32(e.offset);
        idx.u32(e.size);
    }
    put(idx.v.data(), idx.v.size());
    const uint32_t buffer = std::max(m_maxVideo, m_maxAudio);
    const uint64_t audioPerSec = m_hasAudio ? uint64_t(m_maxAudio) * m_rate / m_scale : 0;
    const uint64_t maxPerSec = std::min<uint64_t>(uint64_t(m_maxVideo) * m_rate / m_scale + audioPerSec, 0xFFFFFFFFu);
    patch32(4, uint32_t(m_pos - 8));
    patch32(m_moviStart - 4, uint32_t(idx1Pos - m_moviStart));
    patch32(m_avihPos + 4, uint32_t(maxPerSec));
    patch32(m_avihPos + 16, m_videoFrames);
    patch32(m_avihPos + 28, buffer);
    patch32(m_videoStrhPos + 32, m_videoFrames);
    patch32(m_videoStrhPos + 36, m_maxVideo);
    if (m_hasAudio) {
        patch32(m_audioStrhPos + 32, uint32_t(m_audioBytes / m_audioBlockAlign));
        patch32(m_audioStrhPos + 36, m_maxAudio);
    }
    bool ok = !m_failed && std::fflush(m_file) == 0;
    ok = std::fclose(m_file) == 0 && ok;
    m_file = nullptr;
    m_index.clear();
    m_index.shrink_to_fit();
    return ok ? AviStatus::Ok : AviStatus::WriteFailed;
}

RiffAviReader::~RiffAviReader() {
    if (m_file) std::fclose(m_file);
}

bool RiffAviReader::open(const std::string& path, uint64_t sizeLimit) {
    m_file = std::fopen(path.c_str(), "rb");
    if (!m_file) return false;
    struct stat st;
    if (fstat(fileno(m_file), &st) != 0 || !S_ISREG(st.st_mode) || uint64_t(st.st_size) > sizeLimit) return false;
    m_fileSize = uint64_t(st.st_size);
    uint8_t head[12];
    if (m_fileSize < 12 || std::fread(head, 1, 12, m_file) != 12) return false;
    if (le32(head) != AviFourCC('R', 'I', 'F', 'F') || le32(head + 8) != AviFourCC('A', 'V', 'I', ' ')) return false;
    const uint64_t end = std::min<uint64_t>(8 + uint64_t(le32(head + 4)), m_fileSize);
    return walk(12, end, 0) && m_haveVideo;
}

bool RiffAviReader::walk(uint64_t pos, uint64_t end, int depth) {
    while (pos + 8 <= end) {
        uint8_t head[12];
        if (fseeko(m_file, off_t(pos), SEEK_SET) != 0 || std::fread(head, 1, 8, m_file) != 8) return false;
        const uint32_t id = le32(head);
        const uint64_t size = le32(head + 4);
        if (pos + 8 + size > end) return false;
        const uint64_t body = pos + 8;
        if (id == AviFourCC('L', 'I', 'S', 'T')) {
            if (size < 4 || std::fread(head + 8, 1, 4, m_file) != 4 || depth >= 3) return false;
            const uint32_t form = le32(head + 8);
            if (form == AviFourCC('s', 't', 'r', 'l')) ++m_streamIndex;
            if (form == AviFourCC('h', 'd', 'r', 'l') || form == AviFourCC('s', 't', 'r', 'l') ||
                form == AviFourCC('m', 'o', 'v', 'i') || form == AviFourCC('r', 'e', 'c', ' ')) {
                if (!walk(body + 4, body + size, depth + 1)) return false;
            }
        } else if (id == AviFourCC('s', 't', 'r', 'h') && size >= 36 && m_videoStream < 0) {
            uint8_t strh[36];
            if (std::fread(strh, 1, 36, m_file) != 36) return false;
            if (le32(strh) == AviFourCC('v', 'i', 'd', 's')) {
                m_videoStream = m_streamIndex;
                m_video.handler = le32(strh + 4);
                m_video.scale = le32(strh + 20);
                m_video.rate = le32(strh + 24);
            }
        } else if (id == AviFourCC('s', 't', 'r', 'f') && m_streamIndex == m_videoStream && !m_haveVideo) {
            if (size < 40 || size > 65536) return false;
            m_video.format.resize(size_t(size));
            if (std::fread(m_video.format.data(), 1, size_t(size), m_file) != size) return false;
            m_video.width = int32_t(le32(m_video.format.data() + 4));
            m_video.height = int32_t(le32(m_video.format.data() + 8));
            m_haveVideo = true;
        } else if (m_videoStream >= 0 && ((id >> 16) == ('d' | 'c' << 8) || (id >> 16) == ('d' | 'b' << 8))) {
            const char tens = char(id & 0xFF), ones = char((id >> 8) & 0xFF);
            if (tens >= '0' && tens <= '9' && ones >= '0' && ones <= '9' &&
                (tens - '0') * 10 + (ones - '0') == m_videoStream)
                m_frames.push_back({body, size});
        }
        pos = body + size + (size & 1);
    }
    return true;
}

bool RiffAviReader::readFrame(size_t i, std::vector<uint8_t>& data) {
    if (i >= m_frames.size()) return false;
    data.resize(size_t(m_frames[i].size));
    return fseeko(m_file, off_t(m_frames[i].offset), SEEK_SET) == 0 &&
           std::fread(data.data(), 1, data.size(), m_file) == data.size();
}
