#include <gtest/gtest.h>

#include "ImageFixtures.h"
#include "assets/loadDIBImageFile.h"

namespace {
uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}
void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

sgImagePtr readBytes(const std::vector<uint8_t>& bytes, const std::string& name = "bytes.bmp") {
    const std::string file = fixturePath(name);
    if (!writeFile(file, bytes)) return nullptr;
    return loadDIBImageFile(file);
}

void expectSameAsMagick(const std::string& file) {
    SCOPED_TRACE(file);
    int components = 0;
    sgImagePtr image = loadDIBImageFile(file, &components);
    ASSERT_TRUE(image);
    EXPECT_EQ(components, 3);
    std::vector<uint8_t> expected = magickPixels(file);
    ASSERT_FALSE(expected.empty());
    EXPECT_PIXELS(image, expected, 0);
}

// File and 40-byte info header for a run-length DIB with a 16-entry palette.
std::vector<uint8_t> rleFile(int w, int h, uint32_t compression, const std::vector<uint8_t>& codes) {
    std::vector<uint8_t> b(54 + 64, 0);
    b[0] = 'B', b[1] = 'M';
    put32(b, 10, 54 + 64);
    put32(b, 14, 40);
    put32(b, 18, uint32_t(w));
    put32(b, 22, uint32_t(h));
    b[26] = 1;
    b[28] = compression == 2 ? 4 : 8;
    put32(b, 30, compression);
    put32(b, 34, uint32_t(codes.size()));
    put32(b, 46, 16);
    for (int i = 0; i < 16; ++i) {  // blue, green, red, reserved
        b[54 + 4 * i] = uint8_t(i * 16);
        b[54 + 4 * i + 1] = uint8_t(255 - i * 16);
        b[54 + 4 * i + 2] = uint8_t(i * 9 + 50);
    }
    b.insert(b.end(), codes.begin(), codes.end());
    put32(b, 2, uint32_t(b.size()));
    return b;
}
}  // namespace

TEST(DibReader, DecodesIndependentEncodersFiles) {
    REQUIRE_TOOL("convert");
    std::string src = makeSourcePicture("src.ppm", 37, 13);
    ASSERT_FALSE(src.empty());
    ErrorRecorder recorder;
    std::vector<std::string> files;
    auto magick = [&](const std::string& name, const std::string& options) {
        files.push_back(fixturePath(name));
        ASSERT_TRUE(run("convert " + quote(src) + " " + options + " bmp3:" + quote(files.back())));
    };
    magick("im24.bmp", "");
    magick("im8.bmp", "-colors 200 -type palette");
    magick("im4.bmp", "-colors 16 -type palette");
    magick("im1.bmp", "-colorspace gray -threshold 50% -type bilevel");
    magick("rle8.bmp", "-colors 150 -type palette -compress RLE");
    if (haveTool("ppmtobmp")) {
        for (std::string opt : {"-windows", "-os2"}) {
            files.push_back(fixturePath("pbm" + opt + "24.bmp"));
            ASSERT_TRUE(run("ppmtobmp " + opt + " -bpp 24 " + quote(src) + " > " + quote(files.back())));
            files.push_back(fixturePath("pbm" + opt + "8.bmp"));
            ASSERT_TRUE(run("convert " + quote(src) + " -colors 90 ppm:- | ppmtobmp " + opt + " -bpp 8 > " +
                            quote(files.back())));
            files.push_back(fixturePath("pbm" + opt + "4.bmp"));
            ASSERT_TRUE(run("convert " + quote(src) + " -colors 12 ppm:- | ppmtobmp " + opt + " -bpp 4 > " +
                            quote(files.back())));
        }
    }
    if (!pillowPython().empty()) {
        std::string script =
            "import sys\nfrom PIL import Image\nim = Image.open(sys.argv[1])\n"
            "a = im.copy(); a.putalpha(128); a.save(sys.argv[2])\n";
        files.push_back(fixturePath("pil32.bmp"));
        ASSERT_TRUE(run(pillowPython() + " -c " + quote(script) + " " + quote(src) + " " + quote(files.back())));
    }
    for (const std::string& f : files) expectSameAsMagick(f);
    EXPECT_TRUE(recorder.messages().empty());
}

// Layouts no installed encoder writes with a 40-byte header, derived from
// encoders' files by editing header fields; ImageMagick decodes the result.
TEST(DibReader, DecodesDerivedLayouts) {
    REQUIRE_TOOL("convert");
    std::string src = makeSourcePicture("src.ppm", 21, 9);
    const std::string f555 = fixturePath("555.bmp"), f565 = fixturePath("565-v5.bmp"), f24 = fixturePath("24.bmp");
    ASSERT_TRUE(run("convert " + quote(src) + " -define bmp:subtype=RGB555 bmp3:" + quote(f555)));
    ASSERT_TRUE(run("convert " + quote(src) + " -define bmp:subtype=RGB565 bmp:" + quote(f565)));
    ASSERT_TRUE(run("convert " + quote(src) + " bmp3:" + quote(f24)));

    // 16-bit without bit fields means 5-5-5. (ImageMagick marks this file as
    // bit fields but writes no masks.)
    std::vector<uint8_t> b = readFile(f555);
    ASSERT_EQ(le32(b, 30), 3u);
    put32(b, 30, 0);
    ASSERT_TRUE(writeFile(fixturePath("rgb555.bmp"), b));
    expectSameAsMagick(fixturePath("rgb555.bmp"));

    // 5-6-5 and 5-5-5 bit fields after a 40-byte header (the masks sit where
    // the larger header keeps them).
    const std::string f555v5 = fixturePath("555-v5.bmp");
    ASSERT_TRUE(run("convert " + quote(src) + " -define bmp:subtype=RGB555 bmp:" + quote(f555v5)));
    for (const std::string& f : {f565, f555v5}) {
        b = readFile(f);
        ASSERT_EQ(le32(b, 14), 124u);
        put32(b, 14, 40);
        ASSERT_TRUE(writeFile(f + ".40.bmp", b));
        expectSameAsMagick(f + ".40.bmp");
    }

    // 32-bit bit fields in red-green-blue byte order.
    b = readFile(f24);
    const int w = 21, h = 9;
    const size_t stride = (w * 3 + 3) & ~3u;
    std::vector<uint8_t> bf(b.begin(), b.begin() + 54);
    put32(bf, 10, 54 + 12);
    bf[28] = 32;
    put32(bf, 30, 3);
    put32(bf, 34, 0);
    for (uint32_t m : {0x000000FFu, 0x0000FF00u, 0x00FF0000u}) bf.insert(bf.end(), {uint8_t(m), uint8_t(m >> 8), uint8_t(m >> 16), uint8_t(m >> 24)});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = b.data() + 54 + y * stride + x * 3;  // blue, green, red
            bf.insert(bf.end(), {p[2], p[1], p[0], 0});
        }
    put32(bf, 2, uint32_t(bf.size()));
    ASSERT_TRUE(writeFile(fixturePath("bf32.bmp"), bf));
    expectSameAsMagick(fixturePath("bf32.bmp"));

    // Top-down rows (negative height) give the same bottom-up image.
    std::vector<uint8_t> td(b.begin(), b.begin() + 54);
    put32(td, 22, uint32_t(-h));
    for (int y = h - 1; y >= 0; --y)
        td.insert(td.end(), b.begin() + 54 + y * stride, b.begin() + 54 + (y + 1) * stride);
    sgImagePtr topDown = readBytes(td);
    ASSERT_TRUE(topDown);
    EXPECT_PIXELS(topDown, magickPixels(f24), 0);

    // A packed DIB without the file header: the pixels follow the palette.
    const std::string f8 = fixturePath("8.bmp");
    ASSERT_TRUE(run("convert " + quote(src) + " -colors 30 -type palette bmp3:" + quote(f8)));
    b = readFile(f8);
    ASSERT_EQ(le32(b, 10), 54 + 4 * le32(b, 46));
    sgImagePtr packed = readBytes(std::vector<uint8_t>(b.begin() + 14, b.end()));
    ASSERT_TRUE(packed);
    EXPECT_PIXELS(packed, magickPixels(f8), 0);
}

TEST(DibReader, RunLengthCodes) {
    REQUIRE_TOOL("convert");
    // RLE4: runs alternate two indices; an absolute run of odd length is padded
    // to 16 bits.
    std::vector<uint8_t> rle4 = rleFile(7, 3, 2,
                                        {7, 0x12, 0, 0,                          // row 0: 1 2 1 2 1 2 1
                                         0, 5, 0x34, 0x56, 0x70, 0, 2, 0xAB, 0, 0,  // row 1: 3 4 5 6 7 a b
                                         3, 0xCC, 4, 0xDE, 0, 0, 0, 1});         // row 2: c c c d e d e
    const std::string file = fixturePath("rle4.bmp");
    ASSERT_TRUE(writeFile(file, rle4));
    expectSameAsMagick(file);

    // Pixels that a delta or an end of line skips stay black, whatever palette entry 0 is.
    std::vector<uint8_t> rle8 = rleFile(4, 2, 1, {0, 2, 2, 1, 2, 5, 0, 0, 0, 1});
    sgImagePtr image = readBytes(rle8);
    ASSERT_TRUE(image);
    const uint8_t c5[3] = {95, 175, 80};
    std::vector<uint8_t> expected(4 * 2 * 3, 0);
    for (int x : {2, 3}) std::copy(c5, c5 + 3, expected.begin() + (4 + x) * 3);
    EXPECT_EQ(image->pixels, expected);

    // Data that stop before the end-of-bitmap code with rows still to come.
    ErrorRecorder recorder;
    EXPECT_FALSE(readBytes(rleFile(4, 2, 1, {4, 1, 0, 0, 4})));
    EXPECT_FALSE(readBytes(rleFile(4, 2, 1, {0, 6, 1, 2, 3})));  // absolute run cut short
    EXPECT_EQ(recorder.messages(), std::vector<std::string>(2, "Image file conversion error."));
}

TEST(DibReader, FailuresAreShownAndReturnNothing) {
    REQUIRE_TOOL("convert");
    std::string src = makeSourcePicture("src.ppm", 8, 4);
    const std::string v5 = fixturePath("v5.bmp"), f24 = fixturePath("24.bmp");
    ASSERT_TRUE(run("convert " + quote(src) + " bmp:" + quote(v5)));
    ASSERT_TRUE(run("convert " + quote(src) + " bmp3:" + quote(f24)));
    const std::vector<uint8_t> good = readFile(f24);
    ErrorRecorder recorder;
    const std::string missing = fixturePath("missing.bmp");
    EXPECT_FALSE(loadDIBImageFile(missing));
    EXPECT_FALSE(loadDIBImageFile(v5));  // 124-byte header
    std::vector<uint8_t> b = good;
    b.resize(b.size() - 3);
    EXPECT_FALSE(readBytes(b));  // pixels cut short
    b = good;
    b[28] = 2;  // 2 bits per pixel
    EXPECT_FALSE(readBytes(b));
    b = good;
    put32(b, 30, 1);  // RLE8 with 24 bits
    EXPECT_FALSE(readBytes(b));
    b = rleFile(4, 2, 1, {0, 1});
    put32(b, 22, uint32_t(-2));  // run-length rows cannot be top-down
    EXPECT_FALSE(readBytes(b));
    b = good;
    put32(b, 18, 0x7FFFFFFF);  // too big for memory
    EXPECT_FALSE(readBytes(b));
    EXPECT_FALSE(readBytes({}, "empty.bmp"));
    EXPECT_EQ(recorder.messages(),
              (std::vector<std::string>{"Failed to open DIB file " + missing + ".\n", "Unknown DIB file format.",
                                        "Image file conversion error.", "Image file conversion error.",
                                        "Image file conversion error.", "Image file conversion error.",
                                        "Out of memory.", "Failed to open DIB file " + fixturePath("empty.bmp") + ".\n"}));
    for (const std::string& c : recorder.captions()) EXPECT_EQ(c, "Error");
    EXPECT_TRUE(readBytes(good));
}
