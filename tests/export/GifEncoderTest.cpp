// The GIF encoder, its LZW string table and Wu's quantiser. Files are decoded
// by giflib and checked with giftext and ImageMagick's identify.
#include <gtest/gtest.h>

#include <gif_lib.h>

#include <cstdio>
#include <memory>

#include "export/CGifEncoder.h"
#include "export/LzwTable.h"
#include "tests/images/ImageFixtures.h"

namespace {

// One decoded GIF: its frames' rasters, local colour tables and graphic
// control blocks, as giflib reads them.
struct DecodedGif {
    bool ok = false;
    int width = 0, height = 0;
    std::vector<std::vector<uint8_t>> rasters;
    std::vector<std::vector<uint8_t>> palettes;  // R, G, B x 256
    std::vector<GraphicsControlBlock> controls;
};

DecodedGif decodeGif(const std::string& path) {
    DecodedGif d;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (!gif) return d;
    if (DGifSlurp(gif) == GIF_OK) {
        d.ok = true;
        d.width = gif->SWidth;
        d.height = gif->SHeight;
        for (int i = 0; i < gif->ImageCount; ++i) {
            const SavedImage& im = gif->SavedImages[i];
            const size_t n = size_t(im.ImageDesc.Width) * im.ImageDesc.Height;
            d.rasters.emplace_back(im.RasterBits, im.RasterBits + n);
            std::vector<uint8_t> pal;
            if (im.ImageDesc.ColorMap)
                for (int k = 0; k < im.ImageDesc.ColorMap->ColorCount; ++k) {
                    const GifColorType& c = im.ImageDesc.ColorMap->Colors[k];
                    pal.insert(pal.end(), {c.Red, c.Green, c.Blue});
                }
            d.palettes.push_back(pal);
            GraphicsControlBlock gcb{};
            DGifSavedExtensionToGCB(gif, i, &gcb);
            d.controls.push_back(gcb);
        }
    }
    DGifCloseFile(gif, &error);
    return d;
}

// Top-down RGB image of w x h whose pixel i has colour colours[index(i)].
std::vector<uint8_t> image(int w, int h, const std::function<uint32_t(int x, int y)>& colour) {
    std::vector<uint8_t> px(size_t(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t c = colour(x, y);
            uint8_t* p = &px[(size_t(y) * w + x) * 3];
            p[0] = uint8_t(c >> 16), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c);
        }
    return px;
}

// 256 colours, each in a cell of its own: red and green steps of 16 levels.
uint32_t distinctColour(unsigned k) { return ((k & 15) * 16 + 4) << 16 | ((k >> 4) * 16 + 4) << 8 | 100; }

// The codes of a frame's LZW data read the way decoders read them: widths
// grow when the next entry reaches the current size's limit.
std::vector<unsigned> readCodes(const std::vector<uint8_t>& data) {
    std::vector<uint8_t> bytes;
    size_t p = 0;
    while (p < data.size() && data[p] != 0) {
        bytes.insert(bytes.end(), data.begin() + p + 1, data.begin() + p + 1 + data[p]);
        p += data[p] + 1;
    }
    std::vector<unsigned> codes;
    size_t bit = 0;
    int width = 9;
    unsigned next = 258;
    bool first = true;
    while (bit + width <= bytes.size() * 8) {
        unsigned code = 0;
        for (int b = 0; b < width; ++b, ++bit) code |= unsigned((bytes[bit / 8] >> (bit % 8)) & 1) << b;
        codes.push_back(code);
        if (code == 257) break;
        if (code == 256) {
            width = 9, next = 258, first = true;
            continue;
        }
        if (!first && next < 4096) ++next;
        first = false;
        if (next == (1u << width) && width < 12) ++width;
    }
    return codes;
}

}  // namespace

TEST(LzwTable, FindsWhatWasInsertedAlsoAfterCollisions) {
    LzwTable t;
    EXPECT_EQ(t.find(0), -1);
    EXPECT_EQ(t.find(12345), -1);
    // Keys with the same hash: the second goes to the next free slot.
    const uint32_t a = 0x00005, b = 0x02007;  // ((b >> 12) ^ b) & 0x1FFF == 5 as well
    ASSERT_EQ(LzwTable::hash(a), LzwTable::hash(b));
    t.insert(a, 300);
    t.insert(b, 4095);
    EXPECT_EQ(t.find(a), 300);
    EXPECT_EQ(t.find(b), 4095);
    EXPECT_EQ(t.find(0x04001), -1);  // same hash, never inserted
    // The last slot wraps to the first.
    const uint32_t last = 0x1FFE;
    ASSERT_EQ(LzwTable::hash(last), 0x1FFFu);
    ASSERT_EQ(LzwTable::hash(0x3FFC), 0x1FFFu);
    t.insert(last, 1);
    t.insert(0x3FFC, 2);
    EXPECT_EQ(t.find(last), 1);
    EXPECT_EQ(t.find(0x3FFC), 2);
    t.clear();
    EXPECT_EQ(t.find(a), -1);
}

TEST(GifEncoder, OnePixelFileIsByteExact) {
    const std::string file = fixturePath("one.gif");
    CGifEncoder gif;
    ASSERT_EQ(gif.open(file, 1, 1), 1);
    const uint8_t px[] = {200, 100, 50};
    ASSERT_EQ(gif.encodeFrame(px, -1), CGifEncoder::kFileFinished);
    std::vector<uint8_t> expected = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x77, 0, 0,
                                     0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0,
                                     0x21, 0xF9, 4, 0x00, 20, 0, 0, 0,
                                     0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0x87};
    std::vector<uint8_t> table(768, 0);
    table[0] = 200, table[1] = 100, table[2] = 50;
    expected.insert(expected.end(), table.begin(), table.end());
    // Codes 256, 0, 257 at 9 bits, least significant bit first, in 4 bytes.
    const uint8_t data[] = {8, 4, 0x00, 0x01, 0x04, 0x04, 0x00, 0x3B};
    expected.insert(expected.end(), data, data + sizeof data);
    EXPECT_EQ(readFile(file), expected);
}

TEST(GifEncoder, EveryCodeUpTo4095DecodesToTheEncodersIndices) {
    const int w = 300, h = 200;
    uint32_t seed = 7;
    std::vector<uint8_t> px = image(w, h, [&](int, int) {
        seed = seed * 1664525u + 1013904223u;
        return distinctColour(seed >> 24);
    });
    const std::string file = fixturePath("codes.gif");
    CGifEncoder gif;
    ASSERT_EQ(gif.open(file, w, h), 1);
    ASSERT_EQ(gif.encodeFrame(px.data(), 1), CGifEncoder::kFrameWritten);
    const std::vector<uint8_t> indices(gif.indexImage(), gif.indexImage() + size_t(w) * h);
    std::vector<unsigned> codes = readCodes(gif.imageData());
    // The table fills up to code 4095 (3839 codes after each clear), then a
    // clear at 12 bits starts it anew; more than once in this frame.
    std::vector<size_t> clearsAt;
    for (size_t i = 0; i < codes.size(); ++i)
        if (codes[i] == 256) clearsAt.push_back(i);
    ASSERT_GT(clearsAt.size(), 2u);
    EXPECT_EQ(clearsAt[0], 0u);
    for (size_t k = 1; k < clearsAt.size(); ++k) EXPECT_EQ(clearsAt[k] - clearsAt[k - 1] - 1, 3839u);
    EXPECT_EQ(codes.back(), 257u);
    // Sub-blocks of 254 bytes, never 255.
    EXPECT_EQ(gif.imageData()[0], 254);

    std::vector<uint8_t> second = image(w, h, [](int x, int y) { return distinctColour((x / 7 + y) & 255); });
    ASSERT_EQ(gif.encodeFrame(second.data(), -1), CGifEncoder::kFileFinished);
    DecodedGif d = decodeGif(file);
    ASSERT_TRUE(d.ok);
    ASSERT_EQ(d.rasters.size(), 2u);
    EXPECT_EQ(d.rasters[0], indices);
    // Every pixel's colour survives: 256 colours in 256 cells.
    for (size_t i = 0; i < indices.size(); ++i) {
        const uint8_t* p = &d.palettes[0][3 * d.rasters[0][i]];
        ASSERT_EQ(uint32_t(p[0] << 16 | p[1] << 8 | p[2]), uint32_t(px[3 * i] << 16 | px[3 * i + 1] << 8 | px[3 * i + 2]))
            << i;
    }
}

TEST(GifEncoder, EndCodeIsAsWideAsTheDecoderReadsIt) {
    // 255 pixels of different colours: each pair is new, so the table holds
    // codes up to 511 when the data ends and decoders read the end code at 10 bits.
    const std::string file = fixturePath("wide-end.gif");
    CGifEncoder gif;
    ASSERT_EQ(gif.open(file, 255, 1), 1);
    std::vector<uint8_t> px = image(255, 1, [](int x, int) { return distinctColour(unsigned(x)); });
    ASSERT_EQ(gif.encodeFrame(px.data(), 1), CGifEncoder::kFrameWritten);
    std::vector<unsigned> codes = readCodes(gif.imageData());
    ASSERT_EQ(codes.size(), 257u);
    EXPECT_EQ(codes.back(), 257u);
    const std::vector<uint8_t> indices(gif.indexImage(), gif.indexImage() + 255);
    ASSERT_EQ(gif.encodeFrame(px.data(), -1), CGifEncoder::kFileFinished);
    DecodedGif d = decodeGif(file);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.rasters[0], indices);
}

TEST(GifEncoder, AnimationBlocksAsGiftextAndIdentifySeeThem) {
    REQUIRE_TOOL("giftext");
    REQUIRE_TOOL("identify");
    const int w = 40, h = 30;
    const std::string file = fixturePath("anim.gif");
    CGifEncoder gif;
    ASSERT_EQ(gif.open(file, w, h), 1);
    gif.setAnimation(7, 3);
    gif.m_bTransparent = 1;
    gif.setTransparentColor(0.0f, 0.0f, 1.0f);
    // Frame 1 shows the blue background; frame 2 has no pixel in its cell;
    // frame 3 shows it again at another place.
    auto frame = [&](int k) {
        return image(w, h, [k](int x, int y) -> uint32_t {
            if (k == 1) return 0xFF2020;
            if (k == 0 ? x < 10 : x > 30) return 0x0000FF;
            return y < 15 ? 0x20FF20 : 0xFFFF00;
        });
    };
    std::vector<uint8_t> f0 = frame(0), f1 = frame(1), f2 = frame(2);
    ASSERT_EQ(gif.encodeFrame(f0.data(), 1), CGifEncoder::kFrameWritten);
    EXPECT_EQ(gif.transparentPosition(), 0);
    ASSERT_EQ(gif.encodeFrame(f1.data(), 1), CGifEncoder::kFrameWritten);
    EXPECT_EQ(gif.transparentPosition(), -1);
    ASSERT_EQ(gif.encodeFrame(f2.data(), -1), CGifEncoder::kFileFinished);
    EXPECT_EQ(gif.encodeFrame(f2.data(), -1), CGifEncoder::kAlreadyFinished);

    std::string text = runCommand("giftext " + quote(file) + " 2>&1");
    EXPECT_NE(text.find("GIF89 application block"), std::string::npos) << text;
    EXPECT_NE(text.find("DelayTime: 7"), std::string::npos) << text;
    EXPECT_NE(text.find("Disposal Mode: 2"), std::string::npos) << text;
    EXPECT_NE(text.find("Transparency on: yes"), std::string::npos) << text;
    EXPECT_NE(text.find("Transparency on: no"), std::string::npos) << text;
    EXPECT_NE(text.find("GIF file terminated normally"), std::string::npos) << text;
    EXPECT_EQ(runCommand("identify " + quote(file) + " | wc -l"), "3\n");
    EXPECT_EQ(runCommand("identify -format '%T,' " + quote(file)), "7,7,7,");
    const std::vector<uint8_t> bytes = readFile(file);
    ASSERT_GT(bytes.size(), 40u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "GIF89a");
    EXPECT_EQ(std::string(bytes.begin() + 16, bytes.begin() + 27), "NETSCAPE2.0");
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 27, bytes.begin() + 32), (std::vector<uint8_t>{3, 1, 3, 0, 0}));

    DecodedGif d = decodeGif(file);
    ASSERT_TRUE(d.ok);
    ASSERT_EQ(d.controls.size(), 3u);
    for (const GraphicsControlBlock& g : d.controls) {
        EXPECT_EQ(g.DisposalMode, DISPOSE_BACKGROUND);
        EXPECT_EQ(g.DelayTime, 7);
    }
    // The transparent index is the blue pixel's entry; the frame without
    // blue keeps every pixel opaque.
    ASSERT_NE(d.controls[0].TransparentColor, NO_TRANSPARENT_COLOR);
    EXPECT_EQ(d.controls[0].TransparentColor, d.rasters[0][0]);
    EXPECT_EQ(d.controls[1].TransparentColor, NO_TRANSPARENT_COLOR);
    ASSERT_NE(d.controls[2].TransparentColor, NO_TRANSPARENT_COLOR);
    EXPECT_EQ(d.controls[2].TransparentColor, d.rasters[2][31]);
    const uint8_t* blue = &d.palettes[2][3 * d.controls[2].TransparentColor];
    EXPECT_EQ(blue[2], 255);
    EXPECT_EQ(readFile(file)[13 + 19 + 3], 0x09);
}

TEST(GifEncoder, QuantiserPalettes) {
    struct Case {
        const char* name;
        int w, h;
        uint32_t colour;
    } cases[] = {
        {"one colour", 9, 5, 0x80C0E0},
        {"white above 8.4 million pixels", 4096, 2100, 0xFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CGifEncoder gif;
        ASSERT_EQ(gif.open(fixturePath("q.gif"), c.w, c.h), 1);
        std::vector<uint8_t> px = image(c.w, c.h, [&](int, int) { return c.colour; });
        uint8_t palette[768];
        ASSERT_EQ(gif.quantize(c.w, c.h, 256, px.data(), palette), 1);
        EXPECT_EQ(palette[0], uint8_t(c.colour >> 16));
        EXPECT_EQ(palette[1], uint8_t(c.colour >> 8));
        EXPECT_EQ(palette[2], uint8_t(c.colour));
        for (int i = 3; i < 768; ++i) ASSERT_EQ(palette[i], 0) << i;
        for (size_t i = 0; i < size_t(c.w) * c.h; i += 997) ASSERT_EQ(gif.indexImage()[i], 0);
    }
    // Colours that differ in their lowest three bits share a cell, and the
    // entry is their truncated mean; colours in other cells part.
    CGifEncoder gif;
    ASSERT_EQ(gif.open(fixturePath("q.gif"), 4, 1), 1);
    const uint8_t px[] = {16, 16, 16, 23, 23, 23, 200, 0, 0, 0, 0, 200};
    uint8_t palette[768];
    ASSERT_EQ(gif.quantize(4, 1, 256, px, palette), 1);
    const uint8_t* idx = gif.indexImage();
    EXPECT_EQ(idx[0], idx[1]);
    EXPECT_NE(idx[0], idx[2]);
    EXPECT_NE(idx[2], idx[3]);
    EXPECT_NE(idx[0], idx[3]);
    EXPECT_EQ(palette[3 * idx[0]], 19);
    EXPECT_EQ(palette[3 * idx[2]], 200);
    EXPECT_EQ(palette[3 * idx[3] + 2], 200);
    for (int i = 3 * 3; i < 768; ++i) ASSERT_EQ(palette[i], 0) << i;
}

TEST(GifEncoder, StatesAndFailures) {
    CGifEncoder gif;
    const uint8_t px[] = {1, 2, 3};
    EXPECT_EQ(gif.state(), CGifEncoder::kNotOpened);
    EXPECT_EQ(gif.delay(), 20);
    EXPECT_EQ(gif.loopCount(), 0);
    // No buffers: refused.
    EXPECT_EQ(gif.encodeFrame(px, -1), CGifEncoder::kNoOutput);
    EXPECT_EQ(gif.open(fixturePath("bad.gif"), 0, 5), CGifEncoder::kBadSize);
    EXPECT_EQ(gif.open(fixturePath("bad.gif"), 5, -1), CGifEncoder::kBadSize);
    EXPECT_EQ(gif.open(fixturePath("bad.gif"), 70000, 1), CGifEncoder::kBadSize);
    EXPECT_EQ(gif.encodeFrame(px, -1), CGifEncoder::kNoOutput);

    // A file that cannot be created: said once, then no more frames.
    const std::string nowhere = fixturePath("no/such/folder/x.gif");
    ASSERT_EQ(gif.open(nowhere, 1, 1), 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(gif.encodeFrame(px, 1), CGifEncoder::kNoOutput);
    EXPECT_EQ(gif.encodeFrame(px, 1), CGifEncoder::kNoOutput);
    EXPECT_EQ(gif.encodeFrame(px, -1), CGifEncoder::kNoOutput);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.find("[CGifEncoder]"), said.rfind("[CGifEncoder]")) << said;
    EXPECT_NE(said.find("Unable to create output file: " + nowhere), std::string::npos) << said;

    // An unfinished file is given up by the next open: the old file stays
    // and the new one is written whole.
    const std::string file = fixturePath("again.gif");
    ASSERT_TRUE(writeFile(file, {'o', 'l', 'd'}));
    ASSERT_EQ(gif.open(file, 1, 1), 1);
    EXPECT_EQ(gif.encodeFrame(px, 1), CGifEncoder::kFrameWritten);
    EXPECT_EQ(readFile(file), (std::vector<uint8_t>{'o', 'l', 'd'}));
    ASSERT_EQ(gif.open(file, 2, 1), 1);
    EXPECT_EQ(gif.state(), CGifEncoder::kNotOpened);
    EXPECT_EQ(readFile(file), (std::vector<uint8_t>{'o', 'l', 'd'}));
    const uint8_t two[] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(gif.encodeFrame(two, -1), CGifEncoder::kFileFinished);
    DecodedGif d = decodeGif(file);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.width, 2);
    // Reset brings the defaults back.
    gif.setAnimation(5, 9);
    gif.m_bTransparent = 1;
    gif.reset();
    EXPECT_EQ(gif.delay(), 20);
    EXPECT_EQ(gif.loopCount(), 0);
    EXPECT_EQ(gif.m_bTransparent, 0);
    EXPECT_EQ(gif.transparentPosition(), -1);
}

// With "Transparent Background", only the background's own colour cell turns
// transparent: object pixels close to it (here in the next cells, which
// the quantiser's boxes of a picture of many colours take in with it) stay.
TEST(GifEncoder, TransparencyTakesOnlyTheBackgroundsColourCell) {
    const int w = 128, h = 128;
    const std::string file = fixturePath("transparent-cell.gif");
    CGifEncoder gif;
    ASSERT_EQ(gif.open(file, w, h), 1);
    gif.m_bTransparent = 1;
    gif.setTransparentBytes(8, 8, 8);
    // Dark background on the left; dark object pixels near it in the middle;
    // on the right a spread of thousands of colours, so that each box of the
    // 256 holds many cells.
    std::vector<uint8_t> rgb = image(w, h, [](int x, int y) -> uint32_t {
        if (x < 32) return 0x080808;
        if (y == 10 && x < 36) return 0x101010;  // a dark object pixel or four
        return (uint32_t(x * 2) << 16) | (uint32_t(y * 2) << 8) | uint32_t((x + y) & 0xFF);
    });
    ASSERT_EQ(gif.encodeFrame(rgb.data(), -1), CGifEncoder::kFileFinished);
    DecodedGif d = decodeGif(file);
    ASSERT_TRUE(d.ok);
    const int transparent = d.controls[0].TransparentColor;
    ASSERT_NE(transparent, NO_TRANSPARENT_COLOR);
    const std::vector<uint8_t>& r = d.rasters[0];
    int background = 0, holes = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool clear = r[size_t(y) * w + x] == transparent;
            if (x < 32) background += clear;
            else holes += clear;  // the dark pixels at y 10 among them
        }
    EXPECT_EQ(background, 32 * h);
    EXPECT_EQ(holes, 0);
    // The transparent entry holds the background's colour.
    EXPECT_EQ(std::vector<uint8_t>(d.palettes[0].begin() + 3 * transparent, d.palettes[0].begin() + 3 * transparent + 3),
              (std::vector<uint8_t>{8, 8, 8}));
}
