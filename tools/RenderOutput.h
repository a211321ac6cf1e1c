// Output of the headless render tool: the frame as an image file whose format
// follows the extension of the output name (.png .bmp .jpg .tga .rgb .gif),
// and a range of frames as an animated GIF, a Motion JPEG AVI with the
// scene's sound track (.avi) or a Flash movie (.swf).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "export/CAviWriter.h"

// True when the output name's extension is one the tool writes.
bool isRenderOutputName(const std::string& path);

// Writes an opaque RGB frame (rows bottom-up, as GL reads them) in the format
// of the name's extension: PNG and Targa 24 bits, JPEG at quality 100, BMP,
// SGI RGB, or a one-frame GIF. False, after saying why, on failure.
bool writeRenderOutput(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height);

// True for the names of movies (.gif, .avi, .swf), which --frames writes.
bool isRenderMovieName(const std::string& path);

// Draws frames first..last through draw (which fills an RGB frame, rows
// bottom-up) and writes them as an animated GIF with the encoder's default
// delay and loop count, a Motion JPEG AVI of quality 75 at 30 frames a second
// with the sounds (their frames counted from first), or a Flash movie of JPEG
// frames (quality 60, 12 frames a second). False, after saying why, on failure.
bool writeRenderAnimation(const std::string& path, int width, int height, int first, int last,
                          const std::function<bool(int frame, std::vector<uint8_t>& rgb)>& draw,
                          const AviSoundList& sounds = {});
