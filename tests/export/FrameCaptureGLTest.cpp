// Reading the drawn frame and handing it to the writers, on OSMesa: the
// pixels come out upright in every file, and the view's movie capture gives
// its writer a 24-bit packed DIB.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <gif_lib.h>

#include <cmath>
#include <cstring>
#include <functional>

#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "export/CFrameBitmapSink.h"
#include "export/CGifEncoder.h"
#include "export/FrameCapture.h"
#include "tests/app/RecordingHost.h"
#include "tests/images/ImageFixtures.h"
#include "tests/support/OffscreenGL.h"

namespace {

const int kW = 7, kH = 5;  // odd: rows of 21 bytes show any padding

class FrameCaptureTest : public GLTest {
protected:
    FrameCaptureTest() : GLTest(kW, kH) {}
    void SetUp() override {
        GLTest::SetUp();
        // Background, a red block at the lower left, a green column at the right.
        glDisable(GL_DITHER);
        glClearColor(10 / 255.0f, 20 / 255.0f, 30 / 255.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, 3, 2);
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glScissor(6, 0, 1, 5);
        glClearColor(0, 1, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        glFinish();
    }
    // The frame as we expect it, bottom-up RGB.
    static std::vector<uint8_t> expected() {
        std::vector<uint8_t> px;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                if (x == 6)
                    px.insert(px.end(), {0, 255, 0});
                else if (x < 3 && y < 2)
                    px.insert(px.end(), {255, 0, 0});
                else
                    px.insert(px.end(), {10, 20, 30});
            }
        return px;
    }
};

struct RecordingSink : CFrameBitmapSink {
    std::vector<DibBlock> frames;
    bool accept = true;
    bool addFrameBitmap(const DibBlock& dib) override {
        frames.push_back(dib);
        return accept;
    }
};

}  // namespace

TEST_F(FrameCaptureTest, ReadBackBufferUsesPackAlignmentOne) {
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    std::vector<uint8_t> px(kW * kH * 3 + 8, 0xEE);
    EXPECT_EQ(readBackBuffer(px.data(), kW, kH, 24), 1);
    EXPECT_EQ(std::vector<uint8_t>(px.begin(), px.begin() + kW * kH * 3), expected());
    EXPECT_EQ(px[kW * kH * 3], 0xEE) << "nothing written past the frame";
    GLint align = 0;
    glGetIntegerv(GL_PACK_ALIGNMENT, &align);
    EXPECT_EQ(align, 4);
    std::vector<uint8_t> rgba(kW * kH * 4);
    EXPECT_EQ(readBackBuffer(rgba.data(), kW, kH, 32), 1);
    EXPECT_EQ(rgba[0], 255);
    EXPECT_EQ(rgba[3], 255);
    // 16 bits reads nothing.
    std::vector<uint8_t> untouched(kW * kH * 2, 0x55);
    EXPECT_EQ(readBackBuffer(untouched.data(), kW, kH, 16), 1);
    EXPECT_EQ(untouched, std::vector<uint8_t>(kW * kH * 2, 0x55));
}

TEST_F(FrameCaptureTest, EveryWriterGivesTheFrameUpright) {
    REQUIRE_TOOL("convert");
    struct Case {
        const char* file;
        std::function<int(const std::string&)> save;
    } cases[] = {
        {"gl.bmp", [](const std::string& p) { return saveToBMP(p, kW, kH); }},
        {"gl.tga", [](const std::string& p) { return saveToTGA(p, kW, kH, 0, 1); }},
        {"gl32.tga", [](const std::string& p) { return saveToTGA(p, kW, kH, 1, 0); }},
        {"gl.rgb", [](const std::string& p) { return saveToRGB(p, kW, kH); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string file = fixturePath(c.file);
        ASSERT_EQ(c.save(file), 1);
        const bool sgi = std::string(c.file).find(".rgb") != std::string::npos;
        std::vector<uint8_t> got = magickPixels((sgi ? "sgi:" : "") + file);
        ASSERT_EQ(got.size(), expected().size());
        std::string diff;
        EXPECT_EQ(countDifferences(got, expected(), 0, &diff), 0u) << diff;
    }
    // JPEG smears a picture this small; its pixels are checked on memory
    // images. Here: the file is whole and progressive.
    const std::string jpg = fixturePath("gl.jpg");
    ASSERT_EQ(saveToJPG(jpg, kW, kH, 100, 1), 1);
    EXPECT_EQ(runCommand("identify -format '%m %w %h %[interlace]' " + quote(jpg)), "JPEG 7 5 JPEG");
    // Alpha from a mask.
    std::vector<uint8_t> mask(kW * kH);
    for (size_t i = 0; i < mask.size(); ++i) mask[i] = uint8_t(i * 7);
    const std::string file = fixturePath("mask.tga");
    ASSERT_EQ(saveToTGAWithAlpha(file, kW, kH, 1, mask.data(), 0), 1);
    std::vector<uint8_t> rgba = magickPixels(file, "rgba");
    ASSERT_EQ(rgba.size(), mask.size() * 4);
    for (size_t i = 0; i < mask.size(); ++i) EXPECT_EQ(rgba[4 * i + 3], mask[i]) << i;
}

TEST_F(FrameCaptureTest, GifFrameFromTheBackBufferIsUpright) {
    const std::string file = fixturePath("gl.gif");
    CGifEncoder gif;
    ASSERT_EQ(gif.open(file, kW, kH), 1);
    ASSERT_EQ(gif.addFrameFromBackBuffer(-1), CGifEncoder::kFileFinished);
    int error = 0;
    GifFileType* g = DGifOpenFileName(file.c_str(), &error);
    ASSERT_TRUE(g);
    ASSERT_EQ(DGifSlurp(g), GIF_OK);
    const SavedImage& im = g->SavedImages[0];
    auto colourAt = [&](int x, int yFromTop) {
        const GifColorType& c = im.ImageDesc.ColorMap->Colors[im.RasterBits[yFromTop * kW + x]];
        return std::vector<uint8_t>{c.Red, c.Green, c.Blue};
    };
    EXPECT_EQ(colourAt(0, kH - 1), (std::vector<uint8_t>{255, 0, 0}));  // red at the lower left
    EXPECT_EQ(colourAt(0, 0), (std::vector<uint8_t>{10, 20, 30}));
    EXPECT_EQ(colourAt(6, 0), (std::vector<uint8_t>{0, 255, 0}));
    DGifCloseFile(g, &error);
}

TEST_F(FrameCaptureTest, ViewCapturesMovieFramesAsPackedDibs) {
    CKelvanoDoc doc(nullptr);
    RecordingHost host;
    CKelvanoView view(&doc, &host);
    view.m_nRecordWidth = kW;
    view.m_nRecordHeight = kH;
    EXPECT_FALSE(view.CaptureFrameToBitmap()) << "no movie writer";
    RecordingSink sink;
    view.m_pAviWriter = &sink;
    EXPECT_TRUE(view.CaptureFrameToBitmap());
    ASSERT_EQ(sink.frames.size(), 1u);
    const DibBlock& dib = sink.frames.back();
    EXPECT_EQ(GetDibWidth(dib), kW);
    EXPECT_EQ(GetDibHeight(dib), kH);
    const uint8_t* bits = FindDibBits(dib);
    ASSERT_TRUE(bits);
    // Bottom row first, B, G, R, rows padded to 24 bytes.
    EXPECT_EQ(bits[0], 0);
    EXPECT_EQ(bits[2], 255);
    EXPECT_EQ(bits[6 * 3 + 1], 255);
    EXPECT_EQ(bits[24 + 3 * 3 + 0], 30);
    EXPECT_EQ(bits[21], 0) << "padding stays zero";
    sink.accept = false;
    EXPECT_FALSE(view.CaptureFrameToBitmap());
    view.m_nRecordWidth = 0;
    EXPECT_FALSE(view.CaptureFrameToBitmap());
}
