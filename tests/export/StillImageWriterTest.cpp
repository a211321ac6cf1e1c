// Targa, SGI RGB, BMP and JPEG files of an asymmetric picture, read back by
// ImageMagick and netpbm: upright and exact (JPEG within 35 dB PSNR).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "export/StillImageWriters.h"
#include "tests/images/ImageFixtures.h"
#include "tests/support/JpegMarkers.h"

namespace {

// Bottom-up rows. A smooth part (for JPEG), a flat band (for runs) and a
// noisy corner make every flip and shift show.
std::vector<uint8_t> pattern(int w, int h, int bpp, bool smooth) {
    std::vector<uint8_t> px(size_t(w) * h * bpp);
    uint32_t seed = 12345;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &px[(size_t(y) * w + x) * bpp];
            p[0] = uint8_t(x * 200 / std::max(1, w - 1) + 20);
            p[1] = uint8_t(y * 150 / std::max(1, h - 1) + 60);
            p[2] = uint8_t((x + 2 * y) * 180 / std::max(1, w + 2 * h) + 40);
            if (!smooth && y >= h / 2 && x < w / 3) {
                p[0] = 200, p[1] = 30, p[2] = 60;  // flat band, lower left of the buffer
            }
            if (!smooth && y < h / 4 && x >= w / 2) {
                seed = seed * 1103515245u + 12345u;
                p[0] = uint8_t(seed >> 24), p[1] = uint8_t(seed >> 16), p[2] = uint8_t(seed >> 8);
            }
            if (bpp == 4) p[3] = uint8_t((x * 7 + y * 13) & 0xFF);
        }
    }
    return px;
}

CapturedImage view(const std::vector<uint8_t>& px, int w, int h, int bpp) {
    CapturedImage im;
    im.width = w;
    im.height = h;
    im.bytesPerPixel = bpp;
    im.pixels = px.data();
    return im;
}

std::vector<uint8_t> rgbOf(const std::vector<uint8_t>& px, int bpp) {
    if (bpp == 3) return px;
    std::vector<uint8_t> out;
    for (size_t i = 0; i < px.size(); i += 4) out.insert(out.end(), px.begin() + i, px.begin() + i + 3);
    return out;
}

double psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    if (a.size() != b.size() || a.empty()) return 0;
    double se = 0;
    for (size_t i = 0; i < a.size(); ++i) se += double(int(a[i]) - int(b[i])) * (int(a[i]) - int(b[i]));
    if (se == 0) return 99;
    return 10 * std::log10(255.0 * 255.0 / (se / a.size()));
}

std::vector<uint8_t> netpbm(const std::string& tool, const std::string& file, int* w, int* h) {
    int status = 0;
    std::string out = runCommand(tool + " " + quote(file) + " 2>/dev/null", &status);
    if (status != 0) return {};
    return pnmPixels(out, w, h);
}

struct Case {
    const char* name;
    const char* ext;
    int width, height, bpp;
    const char* netpbmTool;
    const char* magickPrefix;
    bool lossy;
    std::function<int(const std::string&, const CapturedImage&)> write;
};

}  // namespace

TEST(StillImageWriters, FilesDecodeUprightAndExactThroughIndependentReaders) {
    REQUIRE_TOOL("convert");
    REQUIRE_TOOL("tgatoppm");
    REQUIRE_TOOL("jpeginfo");
    const Case cases[] = {
        {"tga raw 24", "tga", 37, 21, 3, "tgatoppm", "", false,
         [](const std::string& p, const CapturedImage& im) { return writeTGA(p, im, 0, 0); }},
        {"tga rle 24", "tga", 300, 20, 3, "tgatoppm", "", false,
         [](const std::string& p, const CapturedImage& im) { return writeTGA(p, im, 0, 1); }},
        {"tga raw 32", "tga", 37, 21, 4, "tgatoppm", "", false,
         [](const std::string& p, const CapturedImage& im) { return writeTGA(p, im, 1, 0); }},
        {"tga rle 32", "tga", 301, 19, 4, "tgatoppm", "", false,
         [](const std::string& p, const CapturedImage& im) { return writeTGA(p, im, 1, 1); }},
        {"sgi", "rgb", 41, 23, 3, "sgitopnm", "sgi:", false,
         [](const std::string& p, const CapturedImage& im) { return writeRGB(p, im); }},
        {"bmp width 1", "bmp", 1, 9, 3, "bmptopnm", "", false,
         [](const std::string& p, const CapturedImage& im) { return writeBMP(p, im); }},
        {"bmp width 3", "bmp", 3, 7, 3, "bmptopnm", "", false,
         [](const std::string& p, const CapturedImage& im) { return writeBMP(p, im); }},
        {"bmp width 581", "bmp", 581, 33, 3, "bmptopnm", "", false,
         [](const std::string& p, const CapturedImage& im) { return writeBMP(p, im); }},
        {"jpeg baseline", "jpg", 160, 97, 3, "jpegtopnm", "", true,
         [](const std::string& p, const CapturedImage& im) { return writeJPG(p, im, 95, 0); }},
        {"jpeg progressive", "jpg", 161, 96, 3, "jpegtopnm", "", true,
         [](const std::string& p, const CapturedImage& im) { return writeJPG(p, im, 95, 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> px = pattern(c.width, c.height, c.bpp, c.lossy);
        const std::string file = fixturePath(std::string("still.") + c.ext);
        ASSERT_EQ(c.write(file, view(px, c.width, c.height, c.bpp)), 1);
        const std::vector<uint8_t> rgb = rgbOf(px, c.bpp);

        std::vector<uint8_t> magick = magickPixels(c.magickPrefix + file);
        int w = 0, h = 0;
        std::vector<uint8_t> pbm = netpbm(c.netpbmTool, file, &w, &h);
        EXPECT_EQ(w, c.width);
        EXPECT_EQ(h, c.height);
        if (c.lossy) {
            EXPECT_GE(psnr(magick, rgb), 35.0);
            EXPECT_GE(psnr(pbm, rgb), 35.0);
            std::string info = runCommand("jpeginfo -c " + quote(file));
            EXPECT_NE(info.find(" OK"), std::string::npos) << info;
            const bool progressive = std::string(c.name).find("progressive") != std::string::npos;
            EXPECT_NE(info.find(progressive ? "24bit P " : "24bit N "), std::string::npos) << info;
        } else {
            std::string diff;
            EXPECT_EQ(countDifferences(magick, rgb, 0, &diff), 0u) << diff;
            EXPECT_EQ(countDifferences(pbm, rgb, 0, &diff), 0u) << diff;
            if (c.bpp == 4) {
                EXPECT_EQ(magickPixels(file, "rgba"), px);
            }
        }
    }
}

// A low quality asks for quantisation steps above 255: the still keeps them
// (16-bit tables, an extended or progressive frame) and every reader decodes it.
TEST(StillImageWriters, LowQualityJpegKeepsItsFullTables) {
    REQUIRE_TOOL("convert");
    REQUIRE_TOOL("djpeg");
    const int w = 96, h = 64;
    const std::vector<uint8_t> px = pattern(w, h, 3, true);
    for (int progressive : {0, 1}) {
        SCOPED_TRACE(progressive ? "progressive" : "sequential");
        const std::string file = fixturePath("quality10.jpg");
        ASSERT_EQ(writeJPG(file, view(px, w, h, 3), 10, progressive), 1);
        const JpegHeaderInfo info = ReadJpegHeaderInfo(readFile(file));
        EXPECT_EQ(info.frameMarker, progressive ? 0xC2 : 0xC1);
        EXPECT_TRUE(info.wideTables);
        EXPECT_GE(psnr(magickPixels(file), px), 25.0);
        const std::string ppm = fixturePath("quality10.ppm");
        ASSERT_EQ(runCommand("djpeg -outfile " + quote(ppm) + " " + quote(file) + " && echo ok"), "ok\n");
        EXPECT_EQ(runCommand("head -c 2 " + quote(ppm)), "P6");
        EXPECT_GE(psnr(magickPixels(ppm), px), 25.0);
    }
    // A quality that needs no wide step stays baseline.
    const std::string file = fixturePath("quality90.jpg");
    ASSERT_EQ(writeJPG(file, view(px, w, h, 3), 90, 0), 1);
    const JpegHeaderInfo info = ReadJpegHeaderInfo(readFile(file));
    EXPECT_EQ(info.frameMarker, 0xC0);
    EXPECT_FALSE(info.wideTables);
}

TEST(StillImageWriters, ExactLayouts) {
    const std::vector<uint8_t> one = {10, 20, 30};
    const std::string tga = fixturePath("one.tga");
    // A 1 x 1 Targa: 18 + 3 bytes raw, 18 + 1 + 3 run-length (a raw packet of one).
    ASSERT_EQ(writeTGA(tga, view(one, 1, 1, 3), 0, 0), 1);
    std::vector<uint8_t> f = readFile(tga);
    ASSERT_EQ(f.size(), 21u);
    EXPECT_EQ(f[2], 2);
    EXPECT_EQ(f[16], 24);
    EXPECT_EQ(f[17], 0);
    EXPECT_EQ(std::vector<uint8_t>(f.begin() + 18, f.end()), (std::vector<uint8_t>{30, 20, 10}));
    ASSERT_EQ(writeTGA(tga, view(one, 1, 1, 3), 0, 1), 1);
    f = readFile(tga);
    EXPECT_EQ(f.size(), 22u);
    EXPECT_EQ(f[2], 10);
    EXPECT_EQ(f[18], 0);

    // 300 equal pixels in a row: packets of 128, 128 and 44, each with its pixel.
    std::vector<uint8_t> row(300 * 4);
    for (size_t i = 0; i < row.size(); i += 4) row[i] = 1, row[i + 1] = 2, row[i + 2] = 3, row[i + 3] = 4;
    ASSERT_EQ(writeTGA(tga, view(row, 300, 1, 4), 1, 1), 1);
    f = readFile(tga);
    ASSERT_EQ(f.size(), 18u + 3 * 5);
    EXPECT_EQ(f[16], 32);
    EXPECT_EQ(f[17], 8);
    const uint8_t packets[] = {0xFF, 3, 2, 1, 4, 0xFF, 3, 2, 1, 4, 0xAB, 3, 2, 1, 4};
    EXPECT_EQ(std::vector<uint8_t>(f.begin() + 18, f.end()), std::vector<uint8_t>(packets, packets + 15));

    // Runs never cross a row's end: two rows of two equal pixels.
    std::vector<uint8_t> two(2 * 2 * 3, 9);
    ASSERT_EQ(writeTGA(tga, view(two, 2, 2, 3), 0, 1), 1);
    EXPECT_EQ(readFile(tga).size(), 18u + 2 * 4);

    // Alpha from a mask.
    const uint8_t mask[] = {77};
    ASSERT_EQ(writeTGA(tga, view(one, 1, 1, 3), 1, 0, mask), 1);
    f = readFile(tga);
    EXPECT_EQ(std::vector<uint8_t>(f.begin() + 18, f.end()), (std::vector<uint8_t>{30, 20, 10, 77}));

    // SGI: 512 + 3 W H bytes, big-endian header named "imgFile".
    std::vector<uint8_t> px = pattern(5, 3, 3, false);
    const std::string sgi = fixturePath("layout.rgb");
    ASSERT_EQ(writeRGB(sgi, view(px, 5, 3, 3)), 1);
    f = readFile(sgi);
    ASSERT_EQ(f.size(), 512u + 3 * 5 * 3);
    EXPECT_EQ(f[0], 0x01);
    EXPECT_EQ(f[1], 0xDA);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&f[24])), "imgFile");
    EXPECT_EQ(f[512], px[0]);           // red plane, bottom row first
    EXPECT_EQ(f[512 + 15], px[1]);      // green plane

    // BMP of width 1: rows of 3 bytes and 1 padding byte.
    const std::string bmp = fixturePath("narrow.bmp");
    std::vector<uint8_t> col = pattern(1, 6, 3, false);
    ASSERT_EQ(writeBMP(bmp, view(col, 1, 6, 3)), 1);
    f = readFile(bmp);
    ASSERT_EQ(f.size(), 54u + 4 * 6);
    EXPECT_EQ(f[2] | f[3] << 8, 54 + 4 * 6);
    EXPECT_EQ(f[34] | f[35] << 8, 4 * 6);
    EXPECT_EQ(f[57], 0);
}

TEST(StillImageWriters, FailuresReturnZeroAndKeepTheProcess) {
    std::vector<uint8_t> px = pattern(64, 64, 3, true);
    const CapturedImage im = view(px, 64, 64, 3);
    // A full disk: libjpeg's error ends the write, not the program.
    EXPECT_EQ(writeJPG("/dev/full", im, 90, 0), 0);
    EXPECT_EQ(writeJPG("/dev/full", im, 90, 1), 0);
    EXPECT_EQ(writeBMP("/dev/full", im), 0);
    EXPECT_EQ(writeTGA("/dev/full", im, 0, 1), 0);
    EXPECT_EQ(writeRGB("/dev/full", im), 0);
    // No folder, no size, a size beyond the format, no alpha source.
    const std::string missing = fixturePath("no/such/folder/x.jpg");
    EXPECT_EQ(writeJPG(missing, im, 90, 0), 0);
    EXPECT_EQ(writeBMP(fixturePath("no/such/x.bmp"), im), 0);
    EXPECT_EQ(writeTGA(fixturePath("zero.tga"), view(px, 0, 64, 3), 0, 0), 0);
    EXPECT_EQ(writeRGB(fixturePath("wide.rgb"), view(px, 70000, 1, 3)), 0);
    EXPECT_EQ(writeTGA(fixturePath("alpha.tga"), im, 1, 0, nullptr), 0);
    for (const char* name : {"zero.tga", "wide.rgb", "alpha.tga"}) {
        EXPECT_TRUE(readFile(fixturePath(name)).empty()) << name;
    }
}
