// Fixtures for the image reader tests: files made at test time by independent
// encoders (ImageMagick, netpbm, libjpeg's tools, Pillow) and their pixels as
// independent decoders see them, turned bottom-up like ours.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sg/sgImage.h"
#include "tests/support/ShellCommand.h"
#include "tests/support/ToolCheck.h"

// A private folder for this test process, removed at exit.
const std::string& fixtureDir();
std::string fixturePath(const std::string& name);

// A Python 3 with Pillow, or empty.
const std::string& pillowPython();

// Runs a shell command and reports whether it exited 0.
bool run(const std::string& command);
std::string quote(const std::string& s);

std::vector<uint8_t> readFile(const std::string& path);
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

// Pixels as ImageMagick decodes the file ("rgb" or "rgba" with 8 bits), rows
// bottom-up. The file's orientation is applied: ImageMagick reads Targa rows in
// file order and leaves the bottom-left origin to -auto-orient. Empty when
// convert fails.
std::vector<uint8_t> magickPixels(const std::string& path, const std::string& map = "rgb",
                                  const std::string& options = "");
// Pixels of a PNM (P5 grey or P6 colour) file or text, expanded to RGB,
// bottom-up; width and height reported.
std::vector<uint8_t> pnmPixels(const std::string& pnm, int* width, int* height);

// A deterministic test picture (ImageMagick plasma with a fixed seed).
std::string makeSourcePicture(const std::string& name, int width, int height);

// Records what the loaders show in message boxes.
struct ErrorRecorder {
    ErrorRecorder();
    ~ErrorRecorder();
    static std::vector<std::string>& messages();
    static std::vector<std::string>& captions();
};

// Count of bytes differing by more than tol; the first differences described.
size_t countDifferences(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int tol, std::string* first);

#define REQUIRE_PILLOW()                                                                           \
    do {                                                                                           \
        if (pillowPython().empty()) {                                                              \
            if (toolsRequired()) GTEST_FAIL() << "python3 with Pillow is not installed (CI is set)"; \
            GTEST_SKIP() << "python3 with Pillow is not installed";                                \
        }                                                                                          \
    } while (0)

// Compares a decoded image with expected bottom-up pixels.
#define EXPECT_PIXELS(image, expected, tol)                                             \
    do {                                                                                \
        std::string first_;                                                             \
        ASSERT_EQ((image)->pixels.size(), (expected).size());                           \
        EXPECT_EQ(countDifferences((image)->pixels, (expected), (tol), &first_), 0u)    \
            << first_;                                                                  \
    } while (0)
