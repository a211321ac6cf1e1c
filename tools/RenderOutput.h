// Output of the headless render tool: the frame as an image file whose format
// follows the extension of the output name (.png .bmp .jpg .tga .rgb .gif),
// and a range of frames as an animated GIF.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// True when the output name's extension is one the tool writes.
bool isRenderOutputName(const std::string& path);

// Writes an opaque RGB frame (rows bottom-up, as GL reads them) in the format
// of the name's extension: PNG and Targa 24 bits, JPEG at quality 100, BMP,
// SGI RGB, or a one-frame GIF. False, after saying why, on failure.
bool writeRenderOutput(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height);

// Draws frames first..last through draw (which fills an RGB frame, rows
// bottom-up) and writes them as an animated GIF with the encoder's default
// delay and loop count. False, after saying why, on failure.
bool writeRenderAnimation(const std::string& path, int width, int height, int first, int last,
                          const std::function<bool(int frame, std::vector<uint8_t>& rgb)>& draw);
