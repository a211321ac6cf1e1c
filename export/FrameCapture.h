// Reading the drawn frame from the GL back buffer and writing it as a still
// image. The encoders (StillImageWriters.h) work on memory; these functions
// are the GL side: each reads the whole frame with one glReadPixels call into
// one buffer and hands it on. Call them after drawing and before the swap.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/PackedDib.h"

// Reads W x H pixels from (0, 0) of the back buffer, GL_RGB for 24 bits,
// GL_RGBA for 32, unsigned bytes, rows bottom-up and unpadded (the pack
// alignment is set to 1 for the read and restored). Other bit counts read
// nothing. Always 1.
int readBackBuffer(uint8_t* buffer, int width, int height, int bits);

// Targa of the back buffer, 32 bits with its alpha when alpha is set. 1
// written, 0 otherwise.
int saveToTGA(const std::string& path, int width, int height, int alpha, int runLength);
// Targa whose alpha comes from mask (one byte per pixel, bottom-up).
int saveToTGAWithAlpha(const std::string& path, int width, int height, int alpha, const uint8_t* mask,
                       int runLength);
int saveToRGB(const std::string& path, int width, int height);
int saveToJPG(const std::string& path, int width, int height, int quality, int progressive);
int saveToBMP(const std::string& path, int width, int height);

// The W x H back buffer as a 24-bit packed DIB (B, G, R, rows bottom-up and
// padded), read through captureBuffer, which keeps its allocation from frame
// to frame. Empty when the size is unusable or cannot be allocated.
DibBlock CaptureBackBufferDib(int width, int height, std::vector<uint8_t>& captureBuffer);
