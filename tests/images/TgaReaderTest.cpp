#include <gtest/gtest.h>

#include "ImageFixtures.h"
#include "assets/ModelTextureLoaders.h"
#include "assets/sgTgaReader.h"

namespace {
std::vector<uint8_t> tgaHeader(int type, int depth, int w, int h, int descriptor = 0, int mapFirst = 0,
                               int mapLength = 0, int mapBits = 0) {
    return {0,
            uint8_t(mapLength ? 1 : 0),
            uint8_t(type),
            uint8_t(mapFirst),
            uint8_t(mapFirst >> 8),
            uint8_t(mapLength),
            uint8_t(mapLength >> 8),
            uint8_t(mapBits),
            0, 0, 0, 0,
            uint8_t(w), uint8_t(w >> 8), uint8_t(h), uint8_t(h >> 8),
            uint8_t(depth),
            uint8_t(descriptor)};
}

sgImagePtr readBytes(const std::vector<uint8_t>& bytes, int* bpp = nullptr) {
    const std::string file = fixturePath("bytes.tga");
    if (!writeFile(file, bytes)) return nullptr;
    return sgTgaReader().read(file, bpp);
}

// ImageMagick widens 5-bit channels to the full range; we shift them left by
// 3. Recover the 5-bit value from its 8 bits and shift it.
std::vector<uint8_t> as555(std::vector<uint8_t> px) {
    for (uint8_t& v : px) v = uint8_t(((v * 31 + 127) / 255) << 3);
    return px;
}

void expectSameAsMagick(const std::string& file, int expectedBpp, bool fiveBit = false) {
    SCOPED_TRACE(file);
    int bpp = 0;
    sgImagePtr image = sgTgaReader().read(file, &bpp);
    ASSERT_TRUE(image);
    EXPECT_EQ(bpp, expectedBpp);
    std::vector<uint8_t> expected = magickPixels(file, expectedBpp == 4 ? "rgba" : "rgb");
    ASSERT_FALSE(expected.empty());
    if (fiveBit) expected = as555(expected);
    EXPECT_PIXELS(image, expected, 0);
}
}  // namespace

TEST(TgaReader, DecodesIndependentEncodersFiles) {
    REQUIRE_TOOL("convert");
    REQUIRE_PILLOW();
    std::string src = makeSourcePicture("src.ppm", 35, 19);
    ASSERT_FALSE(src.empty());
    std::string script =
        "import sys\nfrom PIL import Image\nim = Image.open(sys.argv[1])\nd = sys.argv[2] + '/'\n"
        "for rle in (False, True):\n"
        "    s = '-rle' if rle else ''\n"
        "    im.save(d + 'rgb' + s + '.tga', rle=rle)\n"
        "    im.save(d + 'rgb-top' + s + '.tga', rle=rle, orientation=1)\n"
        "    a = im.copy(); a.putalpha(im.convert('L')); a.save(d + 'rgba' + s + '.tga', rle=rle)\n"
        "    im.convert('P', palette=Image.ADAPTIVE, colors=40).save(d + 'mapped' + s + '.tga', rle=rle)\n"
        "    im.convert('L').save(d + 'grey' + s + '.tga', rle=rle)\n";
    ASSERT_TRUE(run(pillowPython() + " -c " + quote(script) + " " + quote(src) + " " + quote(fixtureDir())));
    for (std::string s : {"", "-rle"}) {
        expectSameAsMagick(fixturePath("rgb" + s + ".tga"), 3);
        expectSameAsMagick(fixturePath("rgb-top" + s + ".tga"), 3);
        expectSameAsMagick(fixturePath("rgba" + s + ".tga"), 4);
        expectSameAsMagick(fixturePath("mapped" + s + ".tga"), 3);
        expectSameAsMagick(fixturePath("grey" + s + ".tga"), 3);
    }
    // The top-to-bottom bit only changes the row order in the file.
    sgImagePtr bottomUp = sgTgaReader().read(fixturePath("rgb.tga"), nullptr);
    sgImagePtr topDown = sgTgaReader().read(fixturePath("rgb-top.tga"), nullptr);
    ASSERT_TRUE(bottomUp && topDown);
    EXPECT_EQ(bottomUp->pixels, topDown->pixels);

    const std::string magickRle = fixturePath("magick-rle.tga");
    ASSERT_TRUE(run("convert " + quote(src) + " -compress RLE " + quote(magickRle)));
    expectSameAsMagick(magickRle, 3);
    if (haveTool("ppmtotga")) {
        const std::string map16 = fixturePath("map16.tga"), mono = fixturePath("mono.tga");
        std::string small = fixturePath("small.ppm");
        ASSERT_TRUE(run("convert " + quote(src) + " -colors 60 " + quote(small)));
        ASSERT_TRUE(run("ppmtotga -cmap16 " + quote(small) + " > " + quote(map16)));
        ASSERT_TRUE(run("convert " + quote(src) + " -colorspace gray pgm:- | ppmtotga -mono > " + quote(mono)));
        expectSameAsMagick(map16, 3, true);
        expectSameAsMagick(mono, 3);
    }
}

TEST(TgaReader, SixteenBitPixelsUseFiveBitsPerChannel) {
    REQUIRE_TOOL("convert");
    for (int depth : {15, 16}) {
        std::vector<uint8_t> bytes = tgaHeader(2, depth, 8, 4, depth == 16 ? 1 : 0);
        for (int i = 0; i < 32; ++i) {
            uint16_t word = uint16_t(i * 2053 + 0x8000 * (i & 1));
            bytes.push_back(uint8_t(word));
            bytes.push_back(uint8_t(word >> 8));
        }
        const std::string file = fixturePath("555-" + std::to_string(depth) + ".tga");
        ASSERT_TRUE(writeFile(file, bytes));
        expectSameAsMagick(file, 3, true);
        // Word 0x7C1F: red 31, green 0, blue 31.
        bytes.resize(18);
        bytes.insert(bytes.end(), {0x1F, 0x7C});
        bytes[12] = 1, bytes[14] = 1;
        sgImagePtr one = readBytes(bytes);
        ASSERT_TRUE(one);
        EXPECT_EQ(one->pixels, (std::vector<uint8_t>{248, 0, 248}));
    }
}

TEST(TgaReader, RunLengthPackets) {
    // 0x81: two copies of one pixel; 0x01: two literal pixels.
    std::vector<uint8_t> bytes = tgaHeader(10, 24, 4, 1);
    bytes.insert(bytes.end(), {0x81, 1, 2, 3, 0x01, 4, 5, 6, 7, 8, 9});
    sgImagePtr image = readBytes(bytes);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, (std::vector<uint8_t>{3, 2, 1, 3, 2, 1, 6, 5, 4, 9, 8, 7}));

    // Packets may run on into the next row; a run longer than the picture stops at its end.
    bytes = tgaHeader(11, 8, 3, 2);
    bytes.insert(bytes.end(), {0x83, 10, 0x01, 20, 30});
    image = readBytes(bytes);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, (std::vector<uint8_t>{10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 20, 20, 20,
                                                   30, 30, 30}));
    bytes = tgaHeader(11, 8, 2, 1);
    bytes.insert(bytes.end(), {0xFF, 7});
    image = readBytes(bytes);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, (std::vector<uint8_t>{7, 7, 7, 7, 7, 7}));

    // Data that end before the last pixel.
    bytes = tgaHeader(10, 24, 4, 1);
    bytes.insert(bytes.end(), {0x82, 1, 2, 3, 0x00});
    EXPECT_FALSE(readBytes(bytes));
}

TEST(TgaReader, ColourMapEntriesPastIndex255AreDropped) {
    std::vector<uint8_t> bytes = tgaHeader(1, 8, 2, 1, 0, 250, 10, 24);
    for (int i = 0; i < 10; ++i) bytes.insert(bytes.end(), {uint8_t(i), uint8_t(100 + i), uint8_t(200 + i)});
    bytes.insert(bytes.end(), {255, 250});
    sgImagePtr image = readBytes(bytes);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, (std::vector<uint8_t>{205, 105, 5, 200, 100, 0}));
}

TEST(TgaReader, RefusesWhatItCannotDecode) {
    auto withPixels = [](std::vector<uint8_t> b, size_t n) {
        b.resize(b.size() + n, 0x11);
        return b;
    };
    EXPECT_FALSE(readBytes(withPixels(tgaHeader(32, 8, 2, 2), 64)));       // compressed mapped (Huffman)
    EXPECT_FALSE(readBytes(withPixels(tgaHeader(0, 24, 2, 2), 64)));       // no image data
    EXPECT_FALSE(readBytes(withPixels(tgaHeader(1, 16, 2, 2, 0, 0, 2, 24), 64)));  // 16-bit indices
    EXPECT_FALSE(readBytes(withPixels(tgaHeader(1, 8, 2, 2), 64)));        // mapped without a map
    EXPECT_FALSE(readBytes(withPixels(tgaHeader(1, 8, 2, 2, 0, 0, 2, 8), 64)));   // 8-bit map entries
    EXPECT_FALSE(readBytes(withPixels(tgaHeader(2, 8, 2, 2), 64)));        // 8-bit true colour
    EXPECT_FALSE(readBytes(withPixels(tgaHeader(2, 12, 2, 2), 64)));       // unknown depth
    EXPECT_FALSE(readBytes(withPixels(tgaHeader(3, 16, 2, 2), 64)));       // 16-bit grey
    EXPECT_FALSE(readBytes(withPixels(tgaHeader(2, 24, 0, 2), 64)));       // no columns
    EXPECT_FALSE(readBytes(withPixels(tgaHeader(2, 24, 2, 2), 11)));       // one byte short
    EXPECT_TRUE(readBytes(withPixels(tgaHeader(2, 24, 2, 2), 12)));
    // A header promising 65535 x 65535 pixels from a few bytes.
    EXPECT_FALSE(readBytes(withPixels(tgaHeader(10, 32, 65535, 65535), 100)));
    EXPECT_FALSE(readBytes(std::vector<uint8_t>(17, 0)));
    EXPECT_FALSE(sgTgaReader().read(fixturePath("missing.tga"), nullptr));
}

TEST(TgaReader, TextureAndModelLoaderShareTheDecoder) {
    std::vector<uint8_t> bytes = tgaHeader(2, 32, 3, 2, 0x28);
    for (int i = 0; i < 6; ++i) bytes.insert(bytes.end(), {uint8_t(i), uint8_t(10 + i), uint8_t(20 + i), uint8_t(30 + i)});
    const std::string file = fixturePath("rgba.tga");
    ASSERT_TRUE(writeFile(file, bytes));
    int bpp = 0;
    float s = 0, t = 0;
    sgImagePtr tex = sgTgaReader().readTexture(file, &bpp, &s, &t);
    ASSERT_TRUE(tex);
    EXPECT_EQ(bpp, 4);
    EXPECT_EQ(tex->width, 4);
    EXPECT_EQ(tex->height, 4);
    EXPECT_FLOAT_EQ(s, 0.75f);
    EXPECT_FLOAT_EQ(t, 0.5f);
    // File row 0 is the top row: it lands in canvas row 1.
    EXPECT_EQ(std::vector<uint8_t>(tex->pixels.begin() + 16, tex->pixels.begin() + 20),
              (std::vector<uint8_t>{20, 10, 0, 30}));
    EXPECT_EQ(tex->pixels[12 + 3], 0);

    int components = 0;
    sgImagePtr model = loadModelTga(file, &components);
    sgImagePtr plain = sgTgaReader().read(file, nullptr);
    ASSERT_TRUE(model && plain);
    EXPECT_EQ(components, 4);
    EXPECT_EQ(model->pixels, plain->pixels);
    EXPECT_FALSE(loadModelTga(fixturePath("missing.tga"), &components));
}
