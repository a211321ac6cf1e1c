#include "assets/sgTgaReader.h"

#include <cstring>
#include <new>

#include "assets/ImageFileBytes.h"

namespace {
constexpr size_t kHeaderSize = 18;

// 15/16-bit words: red in bits 10-14, green 5-9, blue 0-4, widened by a shift.
void unpack555(uint16_t w, uint8_t* rgb) {
    rgb[0] = static_cast<uint8_t>(((w >> 10) & 31) << 3);
    rgb[1] = static_cast<uint8_t>(((w >> 5) & 31) << 3);
    rgb[2] = static_cast<uint8_t>((w & 31) << 3);
}
}  // namespace

sgImagePtr sgTgaReader::read(const std::string& path, int* bytesPerPixel, sgImageFailure* why) {
    m_pos = m_size = 0;
    if (!readImageFileBytes(path, m_data, why)) return nullptr;
    m_size = m_data.size();
    m_failure = sgImageFailure::corrupt;
    sgImagePtr image;
    try {
        image = decode();
    } catch (const std::bad_alloc&) {
        m_failure = sgImageFailure::tooLarge;
        image.reset();
    }
    std::vector<uint8_t>().swap(m_data);
    sgSetImageFailure(why, image ? sgImageFailure::none : m_failure);
    if (image && bytesPerPixel) *bytesPerPixel = m_pixelDepth == 32 ? 4 : 3;
    return image;
}

sgImagePtr sgTgaReader::readTexture(const std::string& path, int* bytesPerPixel, float* sScale, float* tScale,
                                    sgImageFailure* why) {
    int bpp = 0;
    sgImagePtr image = read(path, &bpp, why);
    return image ? padImage(*image, bpp, 1, bytesPerPixel, sScale, tScale, why) : nullptr;
}

bool sgTgaReader::parseHeader() {
    if (m_size < kHeaderSize) return false;
    const uint8_t* h = m_data.data();
    m_idLength = h[0];
    m_colorMapType = h[1];
    m_imageType = h[2];
    m_colorMapFirst = readLE16(h + 3);
    m_colorMapLength = readLE16(h + 5);
    m_colorMapEntrySize = h[7];
    m_xOrigin = readLE16(h + 8);
    m_yOrigin = readLE16(h + 10);
    m_width = readLE16(h + 12);
    m_height = readLE16(h + 14);
    m_pixelDepth = h[16];
    m_descriptor = h[17];
    m_pos = kHeaderSize + m_idLength;
    return m_pos <= m_size;
}

bool sgTgaReader::readColorMap() {
    std::memset(m_palette, 0, sizeof(m_palette));
    if (m_colorMapType != 0 && m_colorMapLength > 0) {
        size_t entryBytes;
        switch (m_colorMapEntrySize) {
            case 15: case 16: entryBytes = 2; break;
            case 24: entryBytes = 3; break;
            case 32: entryBytes = 4; break;
            default: return false;
        }
        size_t mapBytes = entryBytes * m_colorMapLength;
        if (mapBytes > m_size - m_pos) return false;
        const uint8_t* p = m_data.data() + m_pos;
        for (size_t i = 0; i < m_colorMapLength; ++i, p += entryBytes) {
            size_t index = m_colorMapFirst + i;
            if (index > 255) break;  // only 256 entries are addressable by 8-bit indices
            uint8_t* e = m_palette[index];
            if (entryBytes == 2) {
                unpack555(readLE16(p), e);
                e[3] = 255;
            } else {
                e[0] = p[2];
                e[1] = p[1];
                e[2] = p[0];
                e[3] = entryBytes == 4 ? p[3] : 255;
            }
        }
        m_pos += mapBytes;
    }
    if ((m_imageType & 7) == 3) {
        for (int i = 0; i < 256; ++i) {
            m_palette[i][0] = m_palette[i][1] = m_palette[i][2] = static_cast<uint8_t>(i);
            m_palette[i][3] = 255;
        }
    }
    return true;
}

// One file pixel to 3 output bytes (4 for 32-bit pixels).
void sgTgaReader::decodePixel(const uint8_t* in, uint8_t* out) const {
    switch (m_pixelDepth) {
        case 8: {
            const uint8_t* e = m_palette[in[0]];
            out[0] = e[0];
            out[1] = e[1];
            out[2] = e[2];
            break;
        }
        case 15:
        case 16:
            unpack555(readLE16(in), out);
            break;
        case 24:
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            break;
        default:  // 32
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            out[3] = in[3];
            break;
    }
}

sgImagePtr sgTgaReader::decode() {
    if (!parseHeader()) return nullptr;
    const int kind = m_imageType & 7;
    const bool rle = m_imageType >= 9 && m_imageType <= 11;
    // Indices and grey values are 8 bits; true colour is 15, 16, 24 or 32.
    const bool accepted = m_imageType >= 1 && (m_imageType <= 3 || rle) &&
                          (kind != 1 || (m_pixelDepth == 8 && m_colorMapType != 0)) &&
                          (kind != 2 || m_pixelDepth == 15 || m_pixelDepth == 16 || m_pixelDepth == 24 ||
                           m_pixelDepth == 32) &&
                          (kind != 3 || m_pixelDepth == 8);
    if (!accepted) {
        m_failure = sgImageFailure::unsupported;
        return nullptr;
    }
    if (m_width == 0 || m_height == 0) return nullptr;
    if (!readColorMap()) return nullptr;

    const int outBpp = m_pixelDepth == 32 ? 4 : 3;
    const size_t inBpp = (m_pixelDepth + 7) / 8;
    const size_t bytes = sgImageByteCount(m_width, m_height, outBpp);
    if (!bytes) {
        m_failure = sgImageFailure::tooLarge;
        return nullptr;
    }
    const size_t count = size_t(m_width) * m_height;
    const size_t available = m_size - m_pos;
    // Refuse before allocating when the file cannot hold the pixels: a packet
    // covers at most 128 pixels.
    if (!rle && count * inBpp > available) return nullptr;
    if (rle && (count + 127) / 128 * (1 + inBpp) > available) return nullptr;

    auto image = std::make_unique<sgImage>();
    image->width = m_width;
    image->height = m_height;
    image->pixels.assign(bytes, 0);

    const bool topDown = (m_descriptor & 0x20) != 0;
    const size_t stride = size_t(m_width) * outBpp;
    const uint8_t* data = m_data.data();
    size_t k = 0;
    auto put = [&](const uint8_t* in) {
        size_t row = k / m_width, col = k % m_width;
        if (topDown) row = m_height - 1 - row;
        decodePixel(in, image->pixels.data() + row * stride + col * outBpp);
        ++k;
    };

    if (!rle) {
        while (k < count) {
            put(data + m_pos);
            m_pos += inBpp;
        }
        return image;
    }
    while (k < count) {
        if (m_pos >= m_size) return nullptr;
        const uint8_t header = data[m_pos++];
        if (header & 0x80) {
            size_t n = header - 127;
            if (inBpp > m_size - m_pos) return nullptr;
            const uint8_t* px = data + m_pos;
            m_pos += inBpp;
            for (; n > 0 && k < count; --n) put(px);
        } else {
            size_t n = size_t(header) + 1;
            for (; n > 0 && k < count; --n) {
                if (inBpp > m_size - m_pos) return nullptr;
                put(data + m_pos);
                m_pos += inBpp;
            }
        }
    }
    return image;
}
