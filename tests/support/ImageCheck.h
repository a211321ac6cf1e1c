// Small helpers for render tests: read the frame back, save it for inspection,
// compare pixels with a tolerance.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RGBA {
    uint8_t r = 0, g = 0, b = 0, a = 0;
};

struct Frame {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;  // bottom-up rows, 4 bytes per pixel
    RGBA at(int x, int y) const;  // x from the left, y from the bottom
};

// Reads the current read buffer (GL_RGBA, unsigned bytes).
Frame readFrame(int width, int height);

// True when every channel of a differs from b by at most tol.
bool near(const RGBA& a, const RGBA& b, int tol = 2);
std::string describe(const RGBA& c);

// Writes the frame as a PNG (top-down, as viewers expect). Returns false on failure.
bool writeFramePNG(const Frame& f, const std::string& path);

// Folder for test output (KELVANO_TEST_OUT, else under TMPDIR or /tmp), created.
std::string testOutputDir();
