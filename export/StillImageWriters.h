// Still-image encoders for exported frames: Targa (raw or run-length, 24 or
// 32 bits), SGI RGB, JPEG and BMP. They work on images in memory, as the
// back buffer gives them (FrameCapture.h reads it), so they run without GL.
// Every file is written through AtomicFile: a failed write leaves the file it
// would replace as it was and no partial file behind.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// A captured image: rows bottom-up as OpenGL returns them (the first row in
// memory is the lowest row of the picture), no row padding, 3 bytes per pixel
// (R, G, B) or 4 (R, G, B, A).
struct CapturedImage {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 3;
    const uint8_t* pixels = nullptr;
};

// Targa: 24 bits, or 32 with alpha taken from the image's fourth byte or,
// when given, from mask (one byte per pixel, same row order). 1 written, 0
// otherwise (a size beyond the format's 16-bit fields is refused).
int writeTGA(const std::string& path, const CapturedImage& image, int alpha, int runLength,
             const uint8_t* mask = nullptr);
// Writes the 18-byte header and the pixels of a Targa file into an open
// file. 1 when every write succeeded.
int writeTGAHeader(FILE* file, int alpha, const CapturedImage& image, int runLength, const uint8_t* mask = nullptr);
// One run-length packet: count (1-128) copies of the pixel (B, G, R, A).
void writeTGAPacket(int count, const uint8_t* bgra, int alpha, FILE* file);

// SGI RGB: 512-byte header, then the red, green and blue planes, bottom row
// first. 1 written, 0 otherwise.
int writeRGB(const std::string& path, const CapturedImage& image);

// JPEG at quality 0-100, baseline or progressive. Library errors end the
// write, not the program: 1 written, 0 otherwise.
int writeJPG(const std::string& path, const CapturedImage& image, int quality, int progressive);

// BMP: 24 bits, bottom-up rows padded to four bytes. 1 written, 0 otherwise.
int writeBMP(const std::string& path, const CapturedImage& image);
