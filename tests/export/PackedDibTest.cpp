// Packed DIB helpers on blocks made here and on ".bmp" files that ImageMagick
// writes.
#include <gtest/gtest.h>

#include <cstring>

#include "export/PackedDib.h"
#include "tests/images/ImageFixtures.h"

TEST(PackedDib, EmptyDibHeadersAndSizes) {
    struct Case {
        int bits, expectBits, colours;
    } cases[] = {{0, 1, 2}, {1, 1, 2}, {3, 4, 16}, {8, 8, 256}, {16, 24, 0}, {24, 24, 0}, {32, 4, 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        DibBlock dib = CreateEmptyDib(5, 3, c.bits);
        ASSERT_FALSE(dib.empty());
        DibInfoHeader h;
        std::memcpy(&h, dib.data(), sizeof h);
        EXPECT_EQ(h.biBitCount, c.expectBits);
        EXPECT_EQ(h.biPlanes, 1);
        EXPECT_EQ(h.biCompression, 0u);
        EXPECT_EQ(h.biSizeImage, DibRowBytes(5, c.expectBits) * 3);
        EXPECT_EQ(GetDibWidth(dib), 5);
        EXPECT_EQ(GetDibHeight(dib), 3);
        EXPECT_EQ(GetDibNumColors(dib), c.colours);
        EXPECT_EQ(GetDibPaletteSize(dib), size_t(c.colours) * 4);
        EXPECT_EQ(FindDibBits(dib), dib.data() + 40 + c.colours * 4);
        EXPECT_EQ(dib.size(), 40 + c.colours * 4 + h.biSizeImage);
    }
    EXPECT_TRUE(CreateEmptyDib(0, 3, 24).empty());
    EXPECT_TRUE(CreateEmptyDib(3, -1, 24).empty());
    EXPECT_TRUE(CreateEmptyDib(70000, 70000, 24).empty());
}

TEST(PackedDib, CoreHeadersAndColourTables) {
    // A 12-byte core header of an 8-bit picture, three-byte table entries.
    DibBlock dib(12 + 256 * 3 + 4, 0);
    DibCoreHeader h;
    h.bcWidth = 3;
    h.bcHeight = 1;
    h.bcBitCount = 8;
    std::memcpy(dib.data(), &h, sizeof h);
    dib[12] = 10, dib[13] = 20, dib[14] = 30;  // B, G, R of entry 0
    EXPECT_EQ(GetDibWidth(dib), 3);
    EXPECT_EQ(GetDibNumColors(dib), 256);
    EXPECT_EQ(GetDibPaletteSize(dib), 768u);
    EXPECT_EQ(FindDibBits(dib), dib.data() + 12 + 768);
    std::vector<DibPaletteEntry> pal = CreateDibPalette(dib.data(), dib.size());
    ASSERT_EQ(pal.size(), 256u);
    EXPECT_EQ(pal[0].red, 30);
    EXPECT_EQ(pal[0].blue, 10);
    // biClrUsed counts; a true-colour picture has no table; short blocks give nothing.
    DibBlock info = CreateEmptyDib(2, 2, 8);
    DibInfoHeader ih;
    std::memcpy(&ih, info.data(), sizeof ih);
    ih.biClrUsed = 5;
    std::memcpy(info.data(), &ih, sizeof ih);
    EXPECT_EQ(GetDibNumColors(info), 5);
    EXPECT_TRUE(CreateDibPalette(CreateEmptyDib(2, 2, 24).data(), 40 + 16).empty());
    EXPECT_EQ(GetDibWidth(dib.data(), 8), 0);
    EXPECT_EQ(FindDibBits(dib.data(), 100), nullptr);
    EXPECT_EQ(GetDibNumColors(nullptr, 0), 0);
}

TEST(PackedDib, ReadDibFileTakesWhatAnIndependentEncoderWrote) {
    REQUIRE_TOOL("convert");
    const std::string bmp = fixturePath("magick.bmp");
    ASSERT_TRUE(run("convert -size 7x5 xc:#102030 -type TrueColor BMP3:" + quote(bmp)));
    FILE* f = std::fopen(bmp.c_str(), "rb");
    ASSERT_TRUE(f);
    DibBlock dib = ReadDibFile(f);
    std::fclose(f);
    ASSERT_FALSE(dib.empty());
    EXPECT_EQ(GetDibWidth(dib), 7);
    EXPECT_EQ(GetDibHeight(dib), 5);
    const uint8_t* bits = FindDibBits(dib);
    ASSERT_TRUE(bits);
    EXPECT_EQ(bits[0], 0x30);
    EXPECT_EQ(bits[2], 0x10);

    // Bad signature, short file, a length beyond the file.
    std::vector<uint8_t> bytes = readFile(bmp);
    struct Bad {
        const char* name;
        std::vector<uint8_t> data;
    } bad[] = {
        {"signature", [&] { auto b = bytes; b[0] = 'X'; return b; }()},
        {"short header", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 10)},
        {"short body", std::vector<uint8_t>(bytes.begin(), bytes.end() - 4)},
        {"huge length", [&] { auto b = bytes; b[5] = 0x7F; return b; }()},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.name);
        const std::string p = fixturePath("bad.bmp");
        ASSERT_TRUE(writeFile(p, b.data));
        FILE* bf = std::fopen(p.c_str(), "rb");
        ASSERT_TRUE(bf);
        EXPECT_TRUE(ReadDibFile(bf).empty());
        std::fclose(bf);
    }
    EXPECT_TRUE(ReadDibFile(nullptr).empty());
}
