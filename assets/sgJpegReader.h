// JPEG reader over libjpeg (62 API). Decoding errors return to the reader, which
// then fails; the output is always 3 bytes per pixel (grey is expanded, CMYK and
// YCCK are converted).
#pragma once

#include <csetjmp>
#include <cstdio>
#include <string>

#include <jpeglib.h>

#include "sg/sgImage.h"

struct sgJpegErrorManager {
    jpeg_error_mgr pub;
    jmp_buf recover;
};

class sgJpegReader {
public:
    // Bottom-up RGB image (the first line of the file is the top row).
    sgImagePtr read(const std::string& path, int* components);
    // The same image in the lower left corner of a power-of-two canvas.
    sgImagePtr readTexture(const std::string& path, int* components, float* sScale, float* tScale);

private:
    bool decode(FILE* file, std::vector<uint8_t>& topDown, int* width, int* height);

    jpeg_decompress_struct m_cinfo{};
    sgJpegErrorManager m_error{};
};
