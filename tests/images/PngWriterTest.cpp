#include <gtest/gtest.h>

#include <sys/stat.h>

#include "ImageFixtures.h"
#include "assets/sgPngReader.h"
#include "assets/writePNG.h"

namespace {
std::vector<uint8_t> pattern(int w, int h, int bpp) {
    std::vector<uint8_t> px(size_t(w) * h * bpp);
    for (size_t i = 0; i < px.size(); ++i) px[i] = uint8_t((i * 37 + i / 7) & 0xFF);
    return px;
}

bool pngcheckPasses(const std::string& file, std::string* report) {
    int status = 0;
    *report = runCommand("pngcheck -v " + quote(file) + " 2>&1", &status);
    return status == 0;
}
}  // namespace

TEST(PngWriter, FilesPassPngcheckAndReadBackIdentical) {
    REQUIRE_TOOL("pngcheck");
    REQUIRE_TOOL("convert");
    const int w = 29, h = 17;
    for (int bits : {24, 32}) {
        for (int interlace : {0, 1}) {
            for (double gamma : {1.0, 0.45455}) {
                SCOPED_TRACE("bits " + std::to_string(bits) + " interlace " + std::to_string(interlace) +
                             " gamma " + std::to_string(gamma));
                const std::string file = fixturePath("out.png");
                std::vector<uint8_t> px = pattern(w, h, bits / 8);
                ASSERT_EQ(writePNG(file, px.data(), w, h, bits, interlace, gamma), 1);
                std::string report;
                EXPECT_TRUE(pngcheckPasses(file, &report)) << report;
                EXPECT_EQ(report.find("chunk gAMA") != std::string::npos, gamma != 1.0) << report;
                EXPECT_EQ(report.find("interlaced") != std::string::npos && report.find("non-interlaced") == std::string::npos,
                          interlace == 1)
                    << report;
                // ImageMagick sees our bottom-up rows the right way up.
                EXPECT_EQ(magickPixels(file, bits == 32 ? "rgba" : "rgb"), px);
                if (gamma == 1.0) {
                    int bpp = 0;
                    sgImagePtr back = sgPngReader().read(file, &bpp);
                    ASSERT_TRUE(back);
                    EXPECT_EQ(bpp, bits / 8);
                    EXPECT_EQ(back->pixels, px);
                }
            }
        }
    }
}

TEST(PngWriter, AlphaPlaneIsMergedIntoRGBA) {
    REQUIRE_TOOL("pngcheck");
    REQUIRE_TOOL("convert");
    const int w = 6, h = 5;
    std::vector<uint8_t> rgb = pattern(w, h, 3), alpha(size_t(w) * h);
    for (size_t i = 0; i < alpha.size(); ++i) alpha[i] = uint8_t(i * 8);
    const std::string file = fixturePath("alpha.png");
    ASSERT_EQ(writePNGWithAlpha(file, rgb.data(), alpha.data(), w, h, 0, 1.0), 1);
    std::string report;
    EXPECT_TRUE(pngcheckPasses(file, &report)) << report;
    std::vector<uint8_t> rgba = magickPixels(file, "rgba");
    ASSERT_EQ(rgba.size(), size_t(w) * h * 4);
    for (size_t i = 0; i < alpha.size(); ++i) {
        EXPECT_EQ(rgba[4 * i], rgb[3 * i]);
        EXPECT_EQ(rgba[4 * i + 2], rgb[3 * i + 2]);
        EXPECT_EQ(rgba[4 * i + 3], alpha[i]);
    }
}

TEST(PngWriter, RefusalsAndFailedWritesReturnZero) {
    std::vector<uint8_t> px = pattern(4, 4, 4);
    const std::string file = fixturePath("refused.png");
    for (int bits : {8, 16, 48, 0}) {
        EXPECT_EQ(writePNG(file, px.data(), 4, 4, bits, 0, 1.0), 0) << bits;
        struct stat st;
        EXPECT_NE(stat(file.c_str(), &st), 0) << "nothing is written for " << bits << " bits";
    }
    EXPECT_EQ(writePNG(file, px.data(), 0, 4, 24, 0, 1.0), 0);
    EXPECT_EQ(writePNG(file, nullptr, 4, 4, 24, 0, 1.0), 0);
    EXPECT_EQ(writePNG(fixturePath("no-such-folder/x.png"), px.data(), 4, 4, 24, 0, 1.0), 0);
    EXPECT_EQ(writePNGWithAlpha(fixturePath("no-such-folder/x.png"), px.data(), px.data(), 4, 4, 0, 1.0), 0);

    // A failed write leaves an existing file as it was and no stray file.
    const std::string existing = fixturePath("existing.png");
    ASSERT_TRUE(writeFile(existing, {'k', 'e', 'e', 'p'}));
    std::vector<uint8_t> wide(size_t(1000001) * 3, 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(writePNG(existing, wide.data(), 1000001, 1, 24, 0, 1.0), 0);  // beyond libpng's width limit
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("libpng error: "), std::string::npos) << err;
    EXPECT_EQ(readFile(existing), (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));
    EXPECT_EQ(runCommand("ls " + quote(fixtureDir()) + " | grep -c tmp"), "0\n");
}
