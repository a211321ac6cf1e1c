#include <gtest/gtest.h>
#include <zlib.h>

#include "ImageFixtures.h"
#include "assets/sgPngReader.h"
#include "assets/writePNG.h"

namespace {
// Decodes `file` and compares it with ImageMagick's pixels.
void expectSameAsMagick(const std::string& file, int expectedBpp, const std::string& options = "") {
    SCOPED_TRACE(file);
    int bpp = 0;
    sgImagePtr image = sgPngReader().read(file, &bpp);
    ASSERT_TRUE(image);
    EXPECT_EQ(bpp, expectedBpp);
    std::vector<uint8_t> expected = magickPixels(file, expectedBpp == 4 ? "rgba" : "rgb", options);
    ASSERT_FALSE(expected.empty());
    EXPECT_PIXELS(image, expected, 0);
}
}  // namespace

TEST(PngReader, DecodesColourTypesAsImageMagickDoes) {
    REQUIRE_TOOL("convert");
    std::string src = makeSourcePicture("src.ppm", 37, 23);
    ASSERT_FALSE(src.empty());
    const std::string rgb = fixturePath("rgb.png"), interlaced = fixturePath("adam7.png");
    const std::string grey1 = fixturePath("grey1.png"), grey16 = fixturePath("grey16.png");
    const std::string rgba16 = fixturePath("rgba16.png");
    ASSERT_TRUE(run("convert " + quote(src) + " -define png:color-type=2 " + quote(rgb)));
    ASSERT_TRUE(run("convert " + quote(src) + " -interlace PNG " + quote(interlaced)));
    ASSERT_TRUE(run("convert " + quote(src) + " -colorspace gray -threshold 50% -depth 1 -define png:bit-depth=1 " +
                    "-define png:color-type=0 " + quote(grey1)));
    ASSERT_TRUE(run("convert " + quote(src) + " -colorspace gray -depth 16 -define png:color-type=0 " + quote(grey16)));
    ASSERT_TRUE(run("convert " + quote(src) + " -alpha set -channel A -fx 'i/w' -depth 16 " +
                    "-define png:color-type=6 -define png:exclude-chunks=bKGD " + quote(rgba16)));

    expectSameAsMagick(rgb, 3);
    expectSameAsMagick(interlaced, 3);
    expectSameAsMagick(grey1, 3);

    // 16-bit samples keep their high byte.
    for (const std::string& f : {grey16, rgba16}) {
        SCOPED_TRACE(f);
        const bool alpha = f == rgba16;
        int bpp = 0;
        sgImagePtr image = sgPngReader().read(f, &bpp);
        ASSERT_TRUE(image);
        EXPECT_EQ(bpp, alpha ? 4 : 3);
        std::string raw = runCommand("convert " + quote(f) + " -depth 16 -endian MSB " + (alpha ? "rgba" : "rgb") + ":-");
        std::vector<uint8_t> high;
        for (size_t i = 0; i < raw.size(); i += 2) high.push_back(uint8_t(raw[i]));
        flipRows(high, 37, 23, bpp * 8);
        EXPECT_PIXELS(image, high, 0);
    }

    // Interlaced and plain files of one picture decode alike.
    int bpp = 0;
    sgImagePtr a = sgPngReader().read(rgb, &bpp), b = sgPngReader().read(interlaced, &bpp);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->pixels, b->pixels);
}

TEST(PngReader, TransparencyGivesFourBytesPerPixel) {
    REQUIRE_TOOL("convert");
    REQUIRE_PILLOW();
    std::string src = makeSourcePicture("src.ppm", 20, 11);
    const std::string palette = fixturePath("palette-trns.png"), greyAlpha = fixturePath("grey-alpha.png");
    const std::string greyTrns = fixturePath("grey-trns.png");
    // Pillow writes no background chunk, so alpha stays.
    std::string script =
        "import sys\nfrom PIL import Image\nim = Image.open(sys.argv[1])\n"
        "p = im.convert('P', palette=Image.ADAPTIVE, colors=16)\n"
        "p.save(sys.argv[2], transparency=bytes(range(0, 256, 16)))\n"
        "g = im.convert('L')\nla = Image.merge('LA', (g, g.point(lambda v: 255 - v)))\nla.save(sys.argv[3])\n"
        "g.save(sys.argv[4], transparency=int(g.getpixel((0, 0))))\n";
    ASSERT_TRUE(run(pillowPython() + " -c " + quote(script) + " " + quote(src) + " " + quote(palette) + " " +
                    quote(greyAlpha) + " " + quote(greyTrns)));
    expectSameAsMagick(palette, 4);
    expectSameAsMagick(greyAlpha, 4);
    expectSameAsMagick(greyTrns, 4);
}

TEST(PngReader, BackgroundChunkIsCompositedUnderAlpha) {
    REQUIRE_TOOL("convert");
    const std::string file = fixturePath("bkgd.png");
    ASSERT_TRUE(run("convert -size 9x5 gradient:'rgba(255,200,0,1)-rgba(0,40,255,0.1)' -background '#204060' "
                    "-define png:color-type=6 -define png:exclude-chunks=gAMA,cHRM,sRGB " + quote(file)));
    int bpp = 0;
    sgImagePtr image = sgPngReader().read(file, &bpp);
    ASSERT_TRUE(image);
    EXPECT_EQ(bpp, 3);
    std::vector<uint8_t> rgba = magickPixels(file, "rgba");
    ASSERT_EQ(rgba.size(), 9u * 5 * 4);
    std::vector<uint8_t> expected;
    const int bg[3] = {0x20, 0x40, 0x60};
    for (size_t i = 0; i < rgba.size(); i += 4)
        for (int c = 0; c < 3; ++c)
            expected.push_back(uint8_t((rgba[i + c] * rgba[i + 3] + bg[c] * (255 - rgba[i + 3]) + 127) / 255));
    EXPECT_PIXELS(image, expected, 1);
}

TEST(PngReader, TexturePadsFromFourUpwards) {
    REQUIRE_TOOL("convert");
    const std::string file = fixturePath("tiny.png");
    ASSERT_TRUE(run("convert -size 3x5 xc:'#102030' -define png:color-type=2 " + quote(file)));
    float s = 0, t = 0;
    int bpp = 0;
    sgImagePtr image = sgPngReader().readTexture(file, &bpp, &s, &t);
    ASSERT_TRUE(image);
    EXPECT_EQ(bpp, 3);
    EXPECT_EQ(image->width, 4);
    EXPECT_EQ(image->height, 8);
    EXPECT_FLOAT_EQ(s, 0.75f);
    EXPECT_FLOAT_EQ(t, 0.625f);
    auto at = [&](int x, int y) { return image->pixels.data() + (size_t(y) * 4 + x) * 3; };
    EXPECT_EQ(at(2, 4)[0], 0x10);
    EXPECT_EQ(at(2, 4)[2], 0x30);
    EXPECT_EQ(at(3, 0)[0], 0);
    EXPECT_EQ(at(0, 5)[1], 0);
}

TEST(PngReader, FailuresReturnNothing) {
    EXPECT_FALSE(sgPngReader().read("", nullptr));
    EXPECT_FALSE(sgPngReader().read(fixturePath("missing.png"), nullptr));
    const std::string notPng = fixturePath("not.png");
    ASSERT_TRUE(writeFile(notPng, {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}));
    EXPECT_FALSE(sgPngReader().read(notPng, nullptr));

    // A header that promises far more pixels than the file holds is refused
    // before any pixel memory is taken.
    std::vector<uint8_t> rgb(3 * 4 * 4, 200);
    const std::string good = fixturePath("good.png");
    ASSERT_EQ(writePNG(good, rgb.data(), 4, 4, 24, 0, 1.0), 1);
    std::vector<uint8_t> bytes = readFile(good);
    ASSERT_GT(bytes.size(), 33u);
    bytes[16] = 0x00, bytes[17] = 0x00, bytes[18] = 0x7F, bytes[19] = 0xFF;  // width 32767
    bytes[20] = 0x00, bytes[21] = 0x00, bytes[22] = 0x7F, bytes[23] = 0xFF;  // height 32767
    uLong crc = crc32(0, bytes.data() + 12, 17);                              // IHDR type and data
    for (int i = 0; i < 4; ++i) bytes[29 + i] = uint8_t(crc >> (24 - 8 * i));
    const std::string huge = fixturePath("huge.png");
    ASSERT_TRUE(writeFile(huge, bytes));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(sgPngReader().read(huge, nullptr));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "libpng error: image data exceed the file\n");
}
