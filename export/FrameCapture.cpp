#include "export/FrameCapture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <new>
#include <vector>

#include "export/StillImageWriters.h"
#include "sg/sgImage.h"

int readBackBuffer(uint8_t* buffer, int width, int height, int bits) {
    if (!buffer || width <= 0 || height <= 0) return 1;
    GLenum format;
    if (bits == 24)
        format = GL_RGB;
    else if (bits == 32)
        format = GL_RGBA;
    else
        return 1;
    GLint oldAlign = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &oldAlign);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // A single-buffered drawable (offscreen rendering) has its frame in front.
    GLboolean doubleBuffered = GL_FALSE;
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    if (doubleBuffered) glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, format, GL_UNSIGNED_BYTE, buffer);
    glPixelStorei(GL_PACK_ALIGNMENT, oldAlign);
    return 1;
}

namespace {

// The frame as a zeroed buffer of W x H x (bits / 8) bytes, read from the
// back buffer; empty when the size is unusable or cannot be allocated.
std::vector<uint8_t> captureFrame(int width, int height, int bits) {
    std::vector<uint8_t> pixels;
    const size_t bytes = sgImageByteCount(width, height, bits / 8);
    if (!bytes) return pixels;
    try {
        pixels.assign(bytes, 0);
    } catch (const std::bad_alloc&) {
        return pixels;
    }
    readBackBuffer(pixels.data(), width, height, bits);
    return pixels;
}

CapturedImage imageOf(const std::vector<uint8_t>& pixels, int width, int height, int bytesPerPixel) {
    CapturedImage image;
    image.width = width;
    image.height = height;
    image.bytesPerPixel = bytesPerPixel;
    image.pixels = pixels.empty() ? nullptr : pixels.data();
    return image;
}

}  // namespace

int saveToTGA(const std::string& path, int width, int height, int alpha, int runLength) {
    const int bits = alpha ? 32 : 24;
    std::vector<uint8_t> pixels = captureFrame(width, height, bits);
    if (alpha) {
        // Reported, and the file is written all the same.
        GLenum error = glGetError();
        if (error != GL_NO_ERROR) {
            if (error == GL_INVALID_ENUM) std::fprintf(stderr, "Invalid enum\n");
            std::fprintf(stderr, "OGL Error: %s\n", reinterpret_cast<const char*>(gluErrorString(error)));
        }
    }
    return writeTGA(path, imageOf(pixels, width, height, bits / 8), alpha, runLength);
}

int saveToTGAWithAlpha(const std::string& path, int width, int height, int alpha, const uint8_t* mask,
                       int runLength) {
    std::vector<uint8_t> pixels = captureFrame(width, height, 24);
    return writeTGA(path, imageOf(pixels, width, height, 3), alpha && mask, runLength, alpha ? mask : nullptr);
}

int saveToRGB(const std::string& path, int width, int height) {
    std::vector<uint8_t> pixels = captureFrame(width, height, 24);
    return writeRGB(path, imageOf(pixels, width, height, 3));
}

int saveToJPG(const std::string& path, int width, int height, int quality, int progressive) {
    std::vector<uint8_t> pixels = captureFrame(width, height, 24);
    return writeJPG(path, imageOf(pixels, width, height, 3), quality, progressive);
}

int saveToBMP(const std::string& path, int width, int height) {
    std::vector<uint8_t> pixels = captureFrame(width, height, 24);
    return writeBMP(path, imageOf(pixels, width, height, 3));
}

DibBlock CaptureBackBufferDib(int width, int height, std::vector<uint8_t>& captureBuffer) {
    const size_t bytes = sgImageByteCount(width, height, 3);
    DibBlock dib = CreateEmptyDib(width, height, 24);
    if (!bytes || dib.empty()) return DibBlock();
    try {
        captureBuffer.resize(bytes);
    } catch (const std::bad_alloc&) {
        return DibBlock();
    }
    readBackBuffer(captureBuffer.data(), width, height, 24);
    uint8_t* bits = FindDibBits(dib);
    const size_t stride = size_t(DibRowBytes(width, 24));
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = captureBuffer.data() + size_t(y) * width * 3;
        uint8_t* dst = bits + size_t(y) * stride;
        for (int x = 0; x < width; ++x) {
            dst[3 * x + 0] = src[3 * x + 2];
            dst[3 * x + 1] = src[3 * x + 1];
            dst[3 * x + 2] = src[3 * x + 0];
        }
    }
    return dib;
}
