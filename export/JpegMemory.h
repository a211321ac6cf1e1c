// JPEG compression into memory, shared by the JPEG image writer, the Motion JPEG
// movie frames and the Flash movie's bitmap frames. libjpeg errors come back as a
// false result; the library never ends the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

enum class JpegPixels { RGB, RGBA, BGR, BGRA };

struct JpegEncodeOptions {
    // Colour at full resolution (no 2x2 subsampling).
    bool fullChroma = false;
    // A progressive JPEG.
    bool progressive = false;
    // Movie frames: one quantisation table for all three components, the
    // MPEG intra matrix scaled by the quality as libjpeg scales its own (75
    // halves it, as ffmpeg's Motion JPEG does at qscale 4).
    bool movieFrame = false;
    // Tables clamped to 8-bit entries (a baseline file). Movie frames keep
    // them for every player; a still image at a low quality keeps the full
    // 16-bit entries that the quality asks for.
    bool baseline = true;
};

// Encodes width x height pixels (stride bytes from one row to the next) as a
// baseline JPEG (unless the options say otherwise) of the given quality
// (0-100) into out. bottomUp says the rows lie bottom row first, as in a DIB.
// False on bad arguments or a libjpeg error.
bool EncodeJpegToMemory(const uint8_t* pixels, int width, int height, size_t stride, JpegPixels format,
                        bool bottomUp, int quality, std::vector<uint8_t>& out, const JpegEncodeOptions& options);
