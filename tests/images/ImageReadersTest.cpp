#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

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

namespace {
// A file of `size` bytes that takes no disk space.
bool sparseFile(const std::string& path, off_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = ftruncate(fileno(f), size) == 0;
    return std::fclose(f) == 0 && ok;
}
}  // namespace

TEST(ImageReaders, FailuresSayWhyThroughTheSeam) {
    REQUIRE_TOOL("cjpeg");
    installImageReaders();
    ErrorRecorder recorder;  // the SGI and DIB loaders also show their messages
    const std::string garbage = fixturePath("garbage.bin");
    ASSERT_TRUE(writeFile(garbage, std::vector<uint8_t>(64, 0x5A)));
    const std::string oversized = fixturePath("oversized.bin");
    ASSERT_TRUE(sparseFile(oversized, (off_t(2) << 30) + 1));

    // Headers that promise pictures over the 1 GiB pixel cap.
    std::vector<uint8_t> tga(18 + 16, 0);
    tga[2] = 2, tga[12] = tga[13] = tga[14] = tga[15] = 0xFF, tga[16] = 24;  // 65535 x 65535 x 24
    const std::string bigTga = fixturePath("big.tga");
    ASSERT_TRUE(writeFile(bigTga, tga));
    std::vector<uint8_t> sgi(512 + 16, 0);
    sgi[0] = 0x01, sgi[1] = 0xDA, sgi[3] = 1, sgi[5] = 3;         // big-endian, verbatim, 1 byte, 3 dims
    sgi[6] = sgi[7] = sgi[8] = sgi[9] = 0xFF, sgi[11] = 3;         // 65535 x 65535 x 3
    const std::string bigSgi = fixturePath("big.rgb");
    ASSERT_TRUE(writeFile(bigSgi, sgi));
    std::vector<uint8_t> dib(40 + 64, 0);
    dib[0] = 40, dib[4] = 0xA0, dib[5] = 0x86, dib[6] = 0x01;   // width 100000
    dib[8] = 0xA0, dib[9] = 0x86, dib[10] = 0x01, dib[12] = 1;  // height 100000, 1 plane
    dib[14] = 24;
    const std::string bigDib = fixturePath("big.bmp");
    ASSERT_TRUE(writeFile(bigDib, dib));
    const std::string ppm = fixturePath("one.ppm");
    ASSERT_TRUE(writeFile(ppm, {'P', '6', ' ', '1', ' ', '1', ' ', '2', '5', '5', '\n', 1, 2, 3}));
    const std::string bigJpeg = fixturePath("big.jpg");
    ASSERT_TRUE(run("cjpeg -outfile " + quote(bigJpeg) + " " + quote(ppm)));
    std::vector<uint8_t> jpeg = readFile(bigJpeg);
    for (size_t i = 0; i + 8 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {  // baseline frame header: height and width
            jpeg[i + 5] = jpeg[i + 7] = 0xFD, jpeg[i + 6] = jpeg[i + 8] = 0xE8;  // 65000 x 65000
            break;
        }
    ASSERT_TRUE(writeFile(bigJpeg, jpeg));

    // Valid files of kinds no reader takes.
    sgi[5] = 2, sgi[3] = 2, sgi[7] = 4, sgi[9] = 4, sgi[6] = sgi[8] = 0;  // two bytes per channel
    const std::string wideSgi = fixturePath("wide.rgb");
    ASSERT_TRUE(writeFile(wideSgi, sgi));
    tga[2] = 32;  // compressed colour-mapped with Huffman coding
    const std::string oddTga = fixturePath("odd.tga");
    ASSERT_TRUE(writeFile(oddTga, tga));
    std::vector<uint8_t> v5(124 + 16, 0);
    v5[0] = 124;
    const std::string v5Dib = fixturePath("v5.bmp");
    ASSERT_TRUE(writeFile(v5Dib, v5));

    struct Case {
        int format;
        std::string path;
        sgImageFailure why;
    };
    std::vector<Case> cases = {
        {5, garbage, sgImageFailure::unsupported},
        {SG_FMT_HANDLE, fixturePath("none.4dv"), sgImageFailure::missing},
        {SG_FMT_TGA, bigTga, sgImageFailure::tooLarge},
        {SG_FMT_RGB, bigSgi, sgImageFailure::tooLarge},
        {SG_FMT_DIB, bigDib, sgImageFailure::tooLarge},
        {SG_FMT_JPEG, bigJpeg, sgImageFailure::tooLarge},
        {SG_FMT_RGB, wideSgi, sgImageFailure::unsupported},
        {SG_FMT_TGA, oddTga, sgImageFailure::unsupported},
        {SG_FMT_DIB, v5Dib, sgImageFailure::unsupported},
    };
    for (int format : {SG_FMT_RGB, SG_FMT_DIB, SG_FMT_TGA, SG_FMT_JPEG, SG_FMT_PNG}) {
        cases.push_back({format, fixturePath("missing.file"), sgImageFailure::missing});
        cases.push_back({format, fixtureDir(), sgImageFailure::missing});  // a folder
        cases.push_back({format, garbage, sgImageFailure::corrupt});
        cases.push_back({format, oversized, sgImageFailure::tooLarge});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.format) + " " + c.path);
        sgImageFailure why = sgImageFailure::none;
        int components = 0;
        EXPECT_FALSE(sgReadImage(c.format, c.path, &components, &why));
        EXPECT_STREQ(sgImageFailureText(why), sgImageFailureText(c.why));
        float s = 0, t = 0;
        why = sgImageFailure::none;
        EXPECT_FALSE(sgReadTextureImage(c.format, c.path, &components, &s, &t, &why));
        EXPECT_STREQ(sgImageFailureText(why), sgImageFailureText(c.why));
    }

    // Success clears an earlier reason.
    sgImageFailure why = sgImageFailure::corrupt;
    int components = 0;
    ASSERT_TRUE(run("cjpeg -outfile " + quote(fixturePath("one.jpg")) + " " + quote(ppm)));
    float s = 0, t = 0;
    EXPECT_TRUE(sgReadTextureImage(SG_FMT_JPEG, fixturePath("one.jpg"), &components, &s, &t, &why));
    EXPECT_EQ(why, sgImageFailure::none);
}
