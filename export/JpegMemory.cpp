#include "export/JpegMemory.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

struct ReturningError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void returnOnError(j_common_ptr info) {
    auto* err = reinterpret_cast<ReturningError*>(info->err);
    std::longjmp(err->jump, 1);
}

void quietMessage(j_common_ptr) {}

// Compressed bytes go straight into a vector: unlike jpeg_mem_dest's own
// buffer, nothing is lost when an error jumps out of the library.
struct VectorDestination {
    jpeg_destination_mgr pub;
    std::vector<uint8_t>* out;
};

void initDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    dest->pub.next_output_byte = dest->out->data();
    dest->pub.free_in_buffer = dest->out->size();
}

boolean growDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    size_t used = dest->out->size();
    dest->out->resize(used * 2);
    dest->pub.next_output_byte = dest->out->data() + used;
    dest->pub.free_in_buffer = dest->out->size() - used;
    return TRUE;
}

void termDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    dest->out->resize(dest->out->size() - dest->pub.free_in_buffer);
}

// MPEG's default intra matrix, in natural order: flatter than the JPEG
// tables, so rendered edges and colour keep more of their detail.
const unsigned int kMovieQuantTable[64] = {
    8,  16, 19, 22, 26, 27, 29, 34, 16, 16, 22, 24, 27, 29, 34, 37, 19, 22, 26, 27, 29, 34,
    34, 38, 22, 22, 26, 27, 29, 34, 37, 40, 22, 26, 27, 29, 32, 35, 40, 48, 26, 27, 29, 32,
    35, 40, 48, 58, 26, 27, 29, 34, 38, 46, 56, 69, 27, 29, 35, 38, 46, 56, 69, 83,
};

}  // namespace

bool EncodeJpegToMemory(const uint8_t* pixels, int width, int height, size_t stride, JpegPixels format,
                        bool bottomUp, int quality, std::vector<uint8_t>& out, const JpegEncodeOptions& options) {
    out.clear();
    if (!pixels || width <= 0 || height <= 0 || width > JPEG_MAX_DIMENSION || height > JPEG_MAX_DIMENSION)
        return false;
    const volatile int components = format == JpegPixels::BGRA || format == JpegPixels::RGBA ? 4 : 3;
    if (stride < size_t(width) * components) return false;

    jpeg_compress_struct cinfo;
    ReturningError err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = returnOnError;
    err.pub.output_message = quietMessage;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        out.clear();
        return false;
    }
    jpeg_create_compress(&cinfo);
    // A frame rarely compresses to more than a third of its pixels.
    out.resize(size_t(width) * height + 4096);
    VectorDestination dest;
    dest.pub.init_destination = initDestination;
    dest.pub.empty_output_buffer = growDestination;
    dest.pub.term_destination = termDestination;
    dest.out = &out;
    cinfo.dest = &dest.pub;
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = components;
    switch (format) {
    case JpegPixels::RGB: cinfo.in_color_space = JCS_RGB; break;
    case JpegPixels::RGBA: cinfo.in_color_space = JCS_EXT_RGBA; break;
    case JpegPixels::BGR: cinfo.in_color_space = JCS_EXT_BGR; break;
    case JpegPixels::BGRA: cinfo.in_color_space = JCS_EXT_BGRA; break;
    }
    jpeg_set_defaults(&cinfo);
    const int q = quality < 0 ? 0 : quality > 100 ? 100 : quality;
    jpeg_set_quality(&cinfo, q, options.baseline ? TRUE : FALSE);
    if (options.movieFrame) {
        jpeg_add_quant_table(&cinfo, 0, kMovieQuantTable, jpeg_quality_scaling(q), options.baseline ? TRUE : FALSE);
        for (int c = 0; c < cinfo.num_components; ++c) cinfo.comp_info[c].quant_tbl_no = 0;
    }
    if (options.fullChroma || options.movieFrame)
        for (int c = 0; c < cinfo.num_components; ++c) cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    if (options.progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    // A batch of row pointers per call keeps the library's per-call cost low.
    JSAMPROW rows[16];
    while (cinfo.next_scanline < cinfo.image_height) {
        JDIMENSION count = 0;
        for (; count < 16 && cinfo.next_scanline + count < cinfo.image_height; ++count) {
            size_t row = cinfo.next_scanline + count;
            if (bottomUp) row = size_t(height) - 1 - row;
            rows[count] = const_cast<JSAMPROW>(pixels + row * stride);
        }
        jpeg_write_scanlines(&cinfo, rows, count);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}
