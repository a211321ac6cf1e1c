#include <gtest/gtest.h>

#include <cstdio>

#include "sg/sgImage.h"

TEST(ImageRecord, PowerOfTwoIsStrictlyAbove) {
    EXPECT_EQ(nextPowerAbove(255), 256);
    EXPECT_EQ(nextPowerAbove(256), 512);
    EXPECT_EQ(nextPowerAbove(1), 2);
    EXPECT_EQ(nextPowerAbove(1, 4), 4);
    EXPECT_EQ(nextPowerAbove(3, 4), 4);
    EXPECT_EQ(nextPowerAbove(0), 1);
}

TEST(ImageRecord, PaddingPlacesThePictureBottomLeft) {
    sgImage img;
    img.width = 200;
    img.height = 100;
    img.pixels.assign(200 * 100 * 3, 7);
    float s = 0, t = 0;
    sgImagePtr pad = padToPowerOfTwo(img, 3, 1, &s, &t);
    ASSERT_TRUE(pad);
    EXPECT_EQ(pad->width, 256);
    EXPECT_EQ(pad->height, 128);
    EXPECT_FLOAT_EQ(s, 0.78125f);
    EXPECT_FLOAT_EQ(t, 0.78125f);
    EXPECT_EQ(pad->pixels[(99 * 256 + 199) * 3], 7);
    EXPECT_EQ(pad->pixels[(99 * 256 + 200) * 3], 0);
    EXPECT_EQ(pad->pixels[(100 * 256) * 3], 0);

    img.width = img.height = 256;
    img.pixels.assign(256 * 256 * 3, 1);
    pad = padToPowerOfTwo(img, 3, 1, &s, &t);
    ASSERT_TRUE(pad);
    EXPECT_EQ(pad->width, 512);
    EXPECT_FLOAT_EQ(s, 0.5f);
}

TEST(ImageRecord, FlipAndByteOrder) {
    std::vector<uint8_t> px = {1, 2, 3, 4, 5, 6};  // 1 pixel wide, 2 rows of 3 bytes
    flipRows(px, 1, 2, 24);
    EXPECT_EQ(px, (std::vector<uint8_t>{4, 5, 6, 1, 2, 3}));

    sgImage bgra;
    bgra.width = 3;
    bgra.height = 1;
    bgra.pixels = {10, 20, 30, 40, 11, 21, 31, 41, 12, 22, 32, 42};
    sgImagePtr rgba = convertBGRAImage(bgra);
    ASSERT_TRUE(rgba);
    EXPECT_EQ(rgba->width, 4);
    EXPECT_EQ(rgba->height, 2);
    EXPECT_EQ(rgba->pixels[0], 30);
    EXPECT_EQ(rgba->pixels[2], 10);
    EXPECT_EQ(rgba->pixels[3], 40);
    EXPECT_EQ(rgba->pixels[12], 0);
    EXPECT_EQ(bgra.pixels[0], 10);  // source untouched

    bgra.pixels.resize(5);  // shorter than it claims
    EXPECT_FALSE(convertBGRAImage(bgra));
}

TEST(ImageRecord, ByteCountRefusesOverflow) {
    EXPECT_EQ(sgImageByteCount(4, 2, 3), 24u);
    EXPECT_EQ(sgImageByteCount(0, 2, 3), 0u);
    EXPECT_EQ(sgImageByteCount(-1, 2, 3), 0u);
    EXPECT_EQ(sgImageByteCount(65535, 65535, 4), 0u);
    EXPECT_EQ(sgImageByteCount(int64_t(1) << 40, 1, 1), 0u);
}

TEST(ImageRecord, HandlesDesignateOnlyRegisteredImages) {
    sgImage img;
    img.width = img.height = 1;
    img.pixels = {1, 2, 3, 4};
    int h = sgRegisterImageHandle(&img);
    EXPECT_EQ(sgLookupImageHandle(h), &img);

    std::string path = std::string(std::tmpnam(nullptr)) + ".4dv";
    FILE* f = std::fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fprintf(f, "%d\n", h);
    std::fclose(f);
    EXPECT_EQ(readImageHandle(path), &img);

    sgUnregisterImageHandle(h);
    EXPECT_EQ(readImageHandle(path), nullptr);
    f = std::fopen(path.c_str(), "w");
    std::fprintf(f, "%d\n", 123456);
    std::fclose(f);
    EXPECT_EQ(readImageHandle(path), nullptr);
    std::remove(path.c_str());
    EXPECT_EQ(readImageHandle(path), nullptr);
    EXPECT_EQ(sgRegisterImageHandle(nullptr), 0);
}

TEST(ImageRecord, ReadingWithoutInstalledReadersGivesNothing) {
    sgImageReaders none;
    sgSetImageReaders(none);
    int comps = 0;
    EXPECT_FALSE(sgReadImage(SG_FMT_PNG, "whatever.png", &comps));
    float s, t;
    EXPECT_FALSE(sgReadTextureImage(SG_FMT_PNG, "whatever.png", &comps, &s, &t));
}
