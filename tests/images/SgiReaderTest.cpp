#include <gtest/gtest.h>

#include "ImageFixtures.h"
#include "assets/loadRGBImageFile.h"

namespace {
// Rewrites a big-endian SGI file as a little-endian machine writes it: magic,
// header fields and run-length tables swapped; pixel bytes unchanged.
std::vector<uint8_t> toLittleEndian(std::vector<uint8_t> b) {
    for (size_t i = 0; i < 12; i += 2) std::swap(b[i], b[i + 1]);
    if (b[3] == 1) {  // run-length: swap both tables
        const size_t entries = size_t(b[8] | b[9] << 8) * size_t(b[10] | b[11] << 8) * 2;
        for (size_t e = 0; e < entries; ++e) {
            uint8_t* p = b.data() + 512 + 4 * e;
            std::swap(p[0], p[3]);
            std::swap(p[1], p[2]);
        }
    }
    return b;
}

sgImagePtr readBytes(const std::vector<uint8_t>& bytes) {
    const std::string file = fixturePath("bytes.rgb");
    if (!writeFile(file, bytes)) return nullptr;
    return loadRGBImageFile(file);
}

// Verbatim 2 x 2 big-endian header.
std::vector<uint8_t> sgiHeader(int storage, int bpc, int dimension, int x, int y, int z) {
    std::vector<uint8_t> b(512, 0);
    const int fields[] = {474, storage << 8 | bpc, dimension, x, y, z};
    for (int i = 0; i < 6; ++i) b[2 * i] = uint8_t(fields[i] >> 8), b[2 * i + 1] = uint8_t(fields[i]);
    return b;
}
}  // namespace

TEST(SgiReader, DecodesBothStoragesAndByteOrders) {
    REQUIRE_TOOL("convert");
    REQUIRE_TOOL("pnmtosgi");
    std::string src = makeSourcePicture("src.ppm", 33, 21);
    const std::string grey = fixturePath("src.pgm");
    ASSERT_TRUE(run("convert " + quote(src) + " -colorspace gray " + quote(grey)));
    ErrorRecorder recorder;
    for (const std::string& input : {src, grey}) {
        for (std::string storage : {"-verbatim", "-rle"}) {
            SCOPED_TRACE(input + " " + storage);
            const std::string file = fixturePath("pic.sgi");
            ASSERT_TRUE(run("pnmtosgi " + storage + " " + quote(input) + " > " + quote(file)));
            std::vector<uint8_t> expected = magickPixels(file);
            ASSERT_FALSE(expected.empty());
            int components = 0;
            sgImagePtr image = loadRGBImageFile(file, &components);
            ASSERT_TRUE(image);
            EXPECT_EQ(components, 3);
            EXPECT_EQ(image->width, 33);
            EXPECT_PIXELS(image, expected, 0);

            sgImagePtr little = readBytes(toLittleEndian(readFile(file)));
            ASSERT_TRUE(little);
            EXPECT_EQ(little->pixels, image->pixels);
        }
    }
    // ImageMagick's four-channel file: the alpha channel is ignored.
    const std::string rgba = fixturePath("rgba.sgi");
    ASSERT_TRUE(run("convert " + quote(src) + " -alpha set -channel A -fx 0.5 " + quote(rgba)));
    sgImagePtr image = loadRGBImageFile(rgba);
    ASSERT_TRUE(image);
    EXPECT_PIXELS(image, magickPixels(rgba), 0);
    EXPECT_TRUE(recorder.messages().empty());
}

TEST(SgiReader, RunLengthPacketsAndMissingChannels) {
    // One channel, run-length: row 0 = literal 3 bytes; row 1 = run of 3.
    std::vector<uint8_t> b = sgiHeader(1, 1, 3, 3, 2, 1);
    const uint8_t rows[] = {0x83, 5, 6, 7, 0, 0x03, 9, 0};
    const uint32_t table[] = {528, 533, 5, 3};
    b.resize(528);
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 4; ++k) b[512 + 4 * i + k] = uint8_t(table[i] >> (24 - 8 * k));
    b.insert(b.end(), rows, rows + sizeof rows);
    sgImagePtr image = readBytes(b);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, (std::vector<uint8_t>{5, 5, 5, 6, 6, 6, 7, 7, 7, 9, 9, 9, 9, 9, 9, 9, 9, 9}));

    ErrorRecorder recorder;
    std::vector<uint8_t> longRun = b;
    longRun[528 + 5] = 0x04;  // a run past the row's end
    EXPECT_FALSE(readBytes(longRun));
    std::vector<uint8_t> outside = b;
    outside[512 + 3] = 0xFF, outside[512 + 2] = 0xFF;  // row offset beyond the file
    EXPECT_FALSE(readBytes(outside));
    std::vector<uint8_t> shortRow = b;
    shortRow[528] = 0x82, shortRow[531] = 0;  // two literals, then the row ends one pixel early
    EXPECT_FALSE(readBytes(shortRow));
    EXPECT_EQ(recorder.messages(), std::vector<std::string>(3, "Invalid rgb file."));
    EXPECT_EQ(recorder.captions(), std::vector<std::string>(3, "Error"));
}

TEST(SgiReader, FailuresAreShownAndReturnNothing) {
    ErrorRecorder recorder;
    const std::string missing = fixturePath("missing.rgb");
    EXPECT_FALSE(loadRGBImageFile(missing));
    EXPECT_FALSE(loadRGBImageFile(fixtureDir()));  // a folder opens but holds no image
    std::vector<uint8_t> bad = sgiHeader(0, 1, 3, 2, 2, 3);
    bad[0] = 0x12;
    bad.resize(512 + 12, 1);
    EXPECT_FALSE(readBytes(bad));
    std::vector<uint8_t> twoBytes = sgiHeader(0, 2, 3, 2, 2, 3);  // 16-bit channels
    twoBytes.resize(512 + 24, 1);
    EXPECT_FALSE(readBytes(twoBytes));
    std::vector<uint8_t> shortFile = sgiHeader(0, 1, 3, 2, 2, 3);
    shortFile.resize(512 + 11, 1);
    EXPECT_FALSE(readBytes(shortFile));
    shortFile.resize(512 + 12, 1);
    EXPECT_TRUE(readBytes(shortFile));
    EXPECT_FALSE(readBytes({0x01, 0xDA, 0, 1}));
    // Too big for memory: 65535 x 65535 pixels.
    std::vector<uint8_t> huge = sgiHeader(1, 1, 3, 65535, 65535, 3);
    EXPECT_FALSE(readBytes(huge));
    EXPECT_EQ(recorder.messages(),
              (std::vector<std::string>{"Failed to open image file " + missing + ".\n",
                                        "Failed to open image file " + fixtureDir() + ".\n", "Invalid rgb file.",
                                        "Invalid rgb file.", "Invalid rgb file.", "Invalid rgb file.",
                                        "Out of memory."}));
}
