#include <gtest/gtest.h>

#include "ImageFixtures.h"
#include "assets/ImageReaders.h"
#include "assets/sgJpegReader.h"
#include "assets/sgPngReader.h"

TEST(ImageReaders, InstalledReadersServeEveryFormatCode) {
    REQUIRE_TOOL("convert");
    std::string src = makeSourcePicture("src.ppm", 10, 6);
    ASSERT_FALSE(src.empty());
    struct Format {
        int code;
        std::string file, command;
    };
    const std::vector<Format> formats = {
        {SG_FMT_RGB, "pic.rgb", "convert %s sgi:%o"}, {SG_FMT_DIB, "pic.bmp", "convert %s bmp3:%o"},
        {SG_FMT_TGA, "pic.tga", "convert %s %o"},     {SG_FMT_JPEG, "pic.jpg", "convert %s -quality 100 %o"},
        {SG_FMT_PNG, "pic.png", "convert %s %o"},
    };
    installImageReaders();
    for (const Format& f : formats) {
        SCOPED_TRACE(f.file);
        std::string cmd = f.command, path = fixturePath(f.file);
        cmd.replace(cmd.find("%s"), 2, quote(src));
        cmd.replace(cmd.find("%o"), 2, quote(path));
        ASSERT_TRUE(run(cmd));
        int components = 0;
        sgImagePtr image = sgReadImage(f.code, path, &components);
        ASSERT_TRUE(image);
        EXPECT_EQ(components, 3);
        EXPECT_EQ(image->width, 10);
        // JPEG is lossy; the others are exact.
        EXPECT_PIXELS(image, magickPixels(path), f.code == SG_FMT_JPEG ? 12 : 0);

        float s = 0, t = 0;
        sgImagePtr tex = sgReadTextureImage(f.code, path, &components, &s, &t);
        ASSERT_TRUE(tex);
        EXPECT_EQ(tex->width, 16);
        EXPECT_EQ(tex->height, f.code == SG_FMT_PNG ? 8 : 8);
        EXPECT_FLOAT_EQ(s, 10.0f / 16);
        EXPECT_TRUE(std::equal(image->pixels.begin(), image->pixels.begin() + 30, tex->pixels.begin()));
    }
    EXPECT_FALSE(sgReadImage(5, fixturePath("pic.png"), nullptr));
    EXPECT_FALSE(sgReadImage(SG_FMT_PNG, fixturePath("missing.png"), nullptr));
}

TEST(ImageReaders, HandleFilesGiveTheHeldImageAsRGBA) {
    installImageReaders();
    sgImage held;
    held.width = 3;
    held.height = 2;
    for (int i = 0; i < 6; ++i) held.pixels.insert(held.pixels.end(), {uint8_t(i), 100, uint8_t(200 + i), 255});
    const int handle = sgRegisterImageHandle(&held);
    const std::string file = fixturePath("held.4dv");
    const std::string text = std::to_string(handle) + "\n";
    ASSERT_TRUE(writeFile(file, std::vector<uint8_t>(text.begin(), text.end())));
    int components = 0;
    float s = 0, t = 0;
    sgImagePtr image = sgReadTextureImage(SG_FMT_HANDLE, file, &components, &s, &t);
    ASSERT_TRUE(image);
    EXPECT_EQ(components, 4);
    EXPECT_EQ(image->width, 4);
    EXPECT_EQ(image->height, 4);
    EXPECT_FLOAT_EQ(s, 0.75f);
    EXPECT_FLOAT_EQ(t, 0.5f);
    EXPECT_EQ(std::vector<uint8_t>(image->pixels.begin() + 16, image->pixels.begin() + 20),
              (std::vector<uint8_t>{203, 100, 3, 255}));
    sgUnregisterImageHandle(handle);
    EXPECT_FALSE(sgReadImage(SG_FMT_HANDLE, file, &components));
}
