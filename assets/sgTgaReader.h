// Targa reader: colour-mapped, true-colour and grey images (types 1, 2, 3) and
// their run-length forms (9, 10, 11). One reader object per read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sg/sgImage.h"

class sgTgaReader {
public:
    // Bottom-up image of 3 bytes per pixel (4 for 32-bit files); null when the
    // file cannot be read or is not a Targa image this reader accepts, with the
    // reason in `why` when given.
    sgImagePtr read(const std::string& path, int* bytesPerPixel, sgImageFailure* why = nullptr);
    // The same image in the lower left corner of a power-of-two canvas.
    sgImagePtr readTexture(const std::string& path, int* bytesPerPixel, float* sScale, float* tScale,
                           sgImageFailure* why = nullptr);

private:
    bool parseHeader();
    bool readColorMap();
    void decodePixel(const uint8_t* in, uint8_t* out) const;
    sgImagePtr decode();

    std::vector<uint8_t> m_data;  // the whole file
    size_t m_pos = 0;             // read cursor
    size_t m_size = 0;

    uint8_t m_idLength = 0;
    uint8_t m_colorMapType = 0;
    uint8_t m_imageType = 0;
    uint16_t m_colorMapFirst = 0;
    uint16_t m_colorMapLength = 0;
    uint8_t m_colorMapEntrySize = 0;
    uint16_t m_xOrigin = 0;
    uint16_t m_yOrigin = 0;
    uint16_t m_width = 0;
    uint16_t m_height = 0;
    uint8_t m_pixelDepth = 0;
    uint8_t m_descriptor = 0;

    uint8_t m_palette[256][4] = {};  // red, green, blue, alpha
    sgImageFailure m_failure = sgImageFailure::none;
};
