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
    // Bottom-up RGB image (the first line of the file is the top row); null
    // on failure, with the reason in `why` when given.
    sgImagePtr read(const std::string& path, int* components, sgImageFailure* why = nullptr);
    // The same image in the lower left corner of a power-of-two canvas.
    sgImagePtr readTexture(const std::string& path, int* components, float* sScale, float* tScale,
                           sgImageFailure* why = nullptr);

private:
    bool decode(FILE* file, std::vector<uint8_t>& topDown, int* width, int* height);

    jpeg_decompress_struct m_cinfo{};
    sgJpegErrorManager m_error{};
    sgImageFailure m_failure = sgImageFailure::none;
};
