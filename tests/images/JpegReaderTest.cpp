#include <gtest/gtest.h>

#include "ImageFixtures.h"
#include "assets/ModelTextureLoaders.h"
#include "assets/sgJpegReader.h"

namespace {
std::vector<uint8_t> djpegPixels(const std::string& file, int* w, int* h) {
    int status = 0;
    std::string pnm = runCommand("djpeg -pnm " + quote(file) + " 2>/dev/null", &status);
    if (status != 0) return {};
    return pnmPixels(pnm, w, h);
}

std::string makeJpeg(const std::string& name, const std::string& options, int w = 41, int h = 27) {
    std::string src = makeSourcePicture("src-" + name + ".ppm", w, h);
    std::string file = fixturePath(name);
    if (src.empty() || !run("cjpeg " + options + " -outfile " + quote(file) + " " + quote(src))) return "";
    return file;
}
}  // namespace

TEST(JpegReader, DecodesAsDjpegDoesWithTheFirstLineOnTop) {
    REQUIRE_TOOL("convert");
    REQUIRE_TOOL("cjpeg");
    REQUIRE_TOOL("djpeg");
    for (std::string options : {"-quality 90", "-progressive", "-grayscale", "-sample 1x1 -optimize"}) {
        SCOPED_TRACE(options);
        std::string file = makeJpeg("pic.jpg", options);
        ASSERT_FALSE(file.empty());
        int components = 0, w = 0, h = 0;
        sgImagePtr image = sgJpegReader().read(file, &components);
        ASSERT_TRUE(image);
        EXPECT_EQ(components, 3);  // grey is expanded, never reported as 1
        std::vector<uint8_t> expected = djpegPixels(file, &w, &h);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(image->width, w);
        EXPECT_EQ(image->height, h);
        EXPECT_PIXELS(image, expected, 0);

        // The model loader shares the decoder.
        sgImagePtr model = loadModelJpeg(file);
        ASSERT_TRUE(model);
        EXPECT_EQ(model->pixels, image->pixels);
    }
}

TEST(JpegReader, CmykIsConvertedToRGB) {
    REQUIRE_TOOL("convert");
    std::string src = makeSourcePicture("src-cmyk.ppm", 24, 16);
    const std::string file = fixturePath("cmyk.jpg");
    ASSERT_TRUE(run("convert " + quote(src) + " -colorspace CMYK -quality 100 " + quote(file)));
    int components = 0;
    sgImagePtr image = sgJpegReader().read(file, &components);
    ASSERT_TRUE(image);
    EXPECT_EQ(components, 3);
    std::vector<uint8_t> expected = magickPixels(file, "rgb", "-colorspace sRGB");
    EXPECT_PIXELS(image, expected, 1);
}

TEST(JpegReader, TextureIsPaddedBottomLeft) {
    REQUIRE_TOOL("cjpeg");
    std::string file = makeJpeg("tex.jpg", "-quality 95", 200, 100);
    ASSERT_FALSE(file.empty());
    int components = 0;
    float s = 0, t = 0;
    sgImagePtr plain = sgJpegReader().read(file, &components);
    sgImagePtr tex = sgJpegReader().readTexture(file, &components, &s, &t);
    ASSERT_TRUE(plain && tex);
    EXPECT_EQ(tex->width, 256);
    EXPECT_EQ(tex->height, 128);
    EXPECT_FLOAT_EQ(s, 0.78125f);
    EXPECT_FLOAT_EQ(t, 0.78125f);
    for (int y = 0; y < 100; y += 33)
        EXPECT_TRUE(std::equal(plain->pixels.begin() + y * 600, plain->pixels.begin() + y * 600 + 600,
                               tex->pixels.begin() + y * 768));
    EXPECT_EQ(tex->pixels[99 * 768 + 600], 0);
    EXPECT_EQ(tex->pixels[100 * 768], 0);
}

// A broken file used to end the whole program through libjpeg's default
// error exit; now the reader fails and the program goes on.
TEST(JpegReader, BrokenFilesFailWithoutEndingTheProcess) {
    REQUIRE_TOOL("cjpeg");
    std::string file = makeJpeg("broken.jpg", "-quality 80");
    ASSERT_FALSE(file.empty());
    std::vector<uint8_t> bytes = readFile(file);
    const std::string cut = fixturePath("cut.jpg");

    // Cut inside the scan data: the picture is incomplete.
    ASSERT_TRUE(writeFile(cut, std::vector<uint8_t>(bytes.begin(), bytes.begin() + bytes.size() * 2 / 3)));
    EXPECT_FALSE(sgJpegReader().read(cut, nullptr));
    EXPECT_FALSE(loadModelJpeg(cut));

    // The scan data stop at an end-of-image marker halfway: libjpeg would fill
    // the rest with grey.
    std::vector<uint8_t> early(bytes.begin(), bytes.begin() + bytes.size() * 2 / 3);
    early.insert(early.end(), {0xFF, 0xD9});
    ASSERT_TRUE(writeFile(cut, early));
    EXPECT_FALSE(sgJpegReader().read(cut, nullptr));

    // No start-of-image marker; a frame header with 12-bit samples; one with
    // no columns.
    std::vector<uint8_t> bad = bytes;
    bad[0] = 0;
    ASSERT_TRUE(writeFile(cut, bad));
    EXPECT_FALSE(sgJpegReader().read(cut, nullptr));
    size_t sof = 0;
    for (size_t i = 2; i + 9 < bytes.size() && !sof; ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) sof = i;
    ASSERT_NE(sof, 0u);
    bad = bytes;
    bad[sof + 4] = 12;
    ASSERT_TRUE(writeFile(cut, bad));
    EXPECT_FALSE(sgJpegReader().read(cut, nullptr));
    bad = bytes;
    bad[sof + 7] = 0, bad[sof + 8] = 0;
    ASSERT_TRUE(writeFile(cut, bad));
    EXPECT_FALSE(sgJpegReader().read(cut, nullptr));

    EXPECT_FALSE(sgJpegReader().read(fixturePath("missing.jpg"), nullptr));
    EXPECT_FALSE(loadModelJpeg(fixturePath("missing.jpg")));
}
