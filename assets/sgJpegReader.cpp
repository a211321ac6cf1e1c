#include "assets/sgJpegReader.h"

#include <algorithm>
#include <new>

#include <jerror.h>

#include "assets/ImageFileBytes.h"

namespace {
// Bounds libjpeg's own buffers (a progressive file keeps every coefficient):
// past this the library fails instead of allocating.
constexpr long kJpegMemoryLimit = 1L << 30;

[[noreturn]] void jpegErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<sgJpegErrorManager*>(cinfo->err);
    std::longjmp(err->recover, 1);
}

// Warnings about the scan data (the file ends early, a marker interrupts the
// data, a restart marker is lost, a bad Huffman or arithmetic code, scans out
// of order or overlapping) fail like errors: libjpeg would go on and invent
// the missing pixels. Header oddities (stray bytes between markers, an unknown
// JFIF version or colour transform) are tolerated.
void jpegEmitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;
    switch (cinfo->err->msg_code) {
        case JWRN_JPEG_EOF:
        case JWRN_HIT_MARKER:
        case JWRN_MUST_RESYNC:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_ARITH_BAD_CODE:
        case JWRN_NOT_SEQUENTIAL:
        case JWRN_BOGUS_PROGRESSION:
        case JWRN_TOO_MUCH_DATA:
            jpegErrorExit(cinfo);
        default:
            cinfo->err->num_warnings++;
    }
}

void jpegOutputMessage(j_common_ptr) {}

// Adobe writers store CMYK inverted; others store it plain.
inline uint8_t cmykChannel(unsigned c, unsigned k, bool inverted) {
    if (!inverted) {
        c = 255 - c;
        k = 255 - k;
    }
    return static_cast<uint8_t>((c * k + 127) / 255);
}
}  // namespace

// Rows are gathered top-down as they arrive, so a file that stops early never
// costs the memory its header claims; they are turned bottom-up at the end.
bool sgJpegReader::decode(FILE* file, std::vector<uint8_t>& topDown, int* width, int* height) {
    m_cinfo.err = jpeg_std_error(&m_error.pub);
    m_error.pub.error_exit = jpegErrorExit;
    m_error.pub.emit_message = jpegEmitMessage;
    m_error.pub.output_message = jpegOutputMessage;
    if (setjmp(m_error.recover)) {
        // libjpeg stops at its memory limit and past its largest dimension.
        if (m_error.pub.msg_code == JERR_OUT_OF_MEMORY || m_error.pub.msg_code == JERR_IMAGE_TOO_BIG)
            m_failure = sgImageFailure::tooLarge;
        jpeg_destroy_decompress(&m_cinfo);
        return false;
    }
    jpeg_CreateDecompress(&m_cinfo, JPEG_LIB_VERSION, sizeof(m_cinfo));
    m_cinfo.mem->max_memory_to_use = kJpegMemoryLimit;
    jpeg_stdio_src(&m_cinfo, file);
    jpeg_read_header(&m_cinfo, TRUE);
    const bool cmyk = m_cinfo.jpeg_color_space == JCS_CMYK || m_cinfo.jpeg_color_space == JCS_YCCK;
    m_cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    if (!sgImageByteCount(m_cinfo.image_width, m_cinfo.image_height, 3)) {
        m_failure = sgImageFailure::tooLarge;
        jpeg_destroy_decompress(&m_cinfo);
        return false;
    }
    jpeg_start_decompress(&m_cinfo);
    const int w = static_cast<int>(m_cinfo.output_width);
    const int h = static_cast<int>(m_cinfo.output_height);
    const int inComponents = m_cinfo.output_components;
    const size_t bytes = sgImageByteCount(w, h, 3);
    if (!bytes || inComponents != (cmyk ? 4 : 3)) {
        jpeg_destroy_decompress(&m_cinfo);
        return false;
    }
    const size_t stride = size_t(w) * 3;
    JSAMPARRAY line = (*m_cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&m_cinfo), JPOOL_IMAGE,
                                                   JDIMENSION(w) * inComponents, 1);
    const bool inverted = m_cinfo.saw_Adobe_marker;
    while (m_cinfo.output_scanline < m_cinfo.output_height) {
        if (jpeg_read_scanlines(&m_cinfo, line, 1) != 1) {  // only a suspending source returns 0
            jpeg_destroy_decompress(&m_cinfo);
            return false;
        }
        const size_t at = topDown.size();
        // The buffer grows with the data actually decoded.
        if (topDown.capacity() < at + stride) {
            try {
                topDown.reserve(std::min(bytes, std::max(at + stride, at * 2)));
            } catch (const std::bad_alloc&) {
                m_failure = sgImageFailure::tooLarge;
                jpeg_destroy_decompress(&m_cinfo);
                return false;
            }
        }
        topDown.resize(at + stride);
        uint8_t* out = topDown.data() + at;
        const JSAMPLE* in = line[0];
        if (!cmyk) {
            std::copy(in, in + stride, out);
        } else {
            for (int x = 0; x < w; ++x, in += 4, out += 3) {
                out[0] = cmykChannel(in[0], in[3], inverted);
                out[1] = cmykChannel(in[1], in[3], inverted);
                out[2] = cmykChannel(in[2], in[3], inverted);
            }
        }
    }
    jpeg_finish_decompress(&m_cinfo);
    jpeg_destroy_decompress(&m_cinfo);
    *width = w;
    *height = h;
    return topDown.size() == bytes;
}

sgImagePtr sgJpegReader::read(const std::string& path, int* components, sgImageFailure* why) {
    FILE* file = openImageFile(path, why);
    if (!file) return nullptr;
    auto image = std::make_unique<sgImage>();
    int w = 0, h = 0;
    m_failure = sgImageFailure::corrupt;
    bool ok = decode(file, image->pixels, &w, &h);
    std::fclose(file);
    sgSetImageFailure(why, ok ? sgImageFailure::none : m_failure);
    if (!ok) return nullptr;
    image->width = w;
    image->height = h;
    flipRows(image->pixels, w, h, 24);
    if (components) *components = 3;
    return image;
}

sgImagePtr sgJpegReader::readTexture(const std::string& path, int* components, float* sScale, float* tScale,
                                     sgImageFailure* why) {
    sgImagePtr image = read(path, nullptr, why);
    return image ? padImage(*image, 3, 1, components, sScale, tScale, why) : nullptr;
}
