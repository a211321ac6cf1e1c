#include "editor/CDib.h"
#include "tests/support/OffscreenGL.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

// A 64 x 48 frame: dark blue, with a red 16 x 8 block in the top-left corner
// and a green one in the bottom-right corner (window terms, y = 0 at the top).
class DibTest : public GLTest {
protected:
    DibTest() : GLTest(64, 48) {}
    void SetUp() override {
        GLTest::SetUp();
        glClearColor(0, 0, 0.5f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 48 - 8, 16, 8);
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glScissor(64 - 16, 0, 16, 8);
        glClearColor(0, 1, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        glFinish();
    }
};

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x000080;

bool nearColor(uint32_t a, uint32_t b) {
    for (int shift : {0, 8, 16}) {
        const int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        if (ca - cb > 2 || cb - ca > 2) return false;
    }
    return true;
}

}  // namespace

TEST_F(DibTest, CaptureKeepsTheWindowsOrientation) {
    CDib dib;
    ASSERT_EQ(dib.Capture(CRectI{0, 0, 64, 48}, 48), 1);
    const DibInfoHeader* h = dib.Header();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->biSize, 40u);
    EXPECT_EQ(h->biWidth, 64);
    EXPECT_EQ(h->biHeight, 48);
    EXPECT_EQ(h->biBitCount, 24);
    EXPECT_EQ(h->biCompression, DIB_RGB);
    EXPECT_EQ(h->biSizeImage, 64u * 3 * 48);
    EXPECT_EQ(dib.GetHeight(), 48);
    EXPECT_FALSE(dib.HasPalette());  // a true-colour frame
    EXPECT_TRUE(nearColor(dib.PixelAt(2, 2), kRed));
    EXPECT_TRUE(nearColor(dib.PixelAt(60, 45), kGreen));
    EXPECT_TRUE(nearColor(dib.PixelAt(32, 24), kBlue));
    // Rows are stored bottom-up: the first stored row is the window's last.
    const uint8_t* firstRow = dib.Bits();
    EXPECT_GT(firstRow[(60 * 3) + 1], 250);  // green of the bottom-right block

    // A smaller capture takes the window's top-left area.
    ASSERT_EQ(dib.Capture(CRectI{0, 0, 20, 10}, 48), 1);
    EXPECT_EQ(dib.GetHeight(), 10);
    EXPECT_TRUE(nearColor(dib.PixelAt(1, 1), kRed));
    EXPECT_TRUE(nearColor(dib.PixelAt(18, 9), kBlue));
}

TEST_F(DibTest, BadCapturesLeaveNoDib) {
    CDib dib;
    ASSERT_EQ(dib.Capture(CRectI{0, 0, 8, 8}, 48), 1);
    EXPECT_EQ(dib.Capture(CRectI{0, 0, 0, 10}, 48), 0);
    EXPECT_FALSE(dib.Valid());
    EXPECT_EQ(dib.GetHeight(), 0);
    EXPECT_EQ(dib.Capture(CRectI{0, 0, 10, 60}, 48), 0);  // taller than the window
    EXPECT_EQ(dib.Capture(CRectI{5, 5, 2, 2}, 48), 0);    // reversed
}

TEST(DibFormatTest, RowsArePaddedToFourBytes) {
    EXPECT_EQ(DibRowBytes(3, 24), 12u);
    EXPECT_EQ(DibRowBytes(33, 1), 8u);
    EXPECT_EQ(DibRowBytes(1, 32), 4u);
    EXPECT_EQ(DibRowBytes(0, 24), 0u);

    CBitmapData bmp;
    bmp.width = 3;
    bmp.height = 2;
    bmp.bitsPerPixel = 24;
    bmp.bits.assign(24, 0x7F);
    CDib dib;
    ASSERT_TRUE(dib.FromBitmap(bmp, DIB_RGB, nullptr));
    EXPECT_EQ(dib.Header()->biSizeImage, 24u);
    EXPECT_EQ(dib.Block().size(), 40u + 24u);

    CBitmapData mono;
    mono.width = 33;
    mono.height = 2;
    mono.bitsPerPixel = 1;
    mono.bits.assign(16, 0);
    mono.bits[8] = 0x80;  // top row (stored second), first pixel set
    std::vector<DibColor> palette(2);
    palette[1] = DibColor{0, 0, 255, 0};
    ASSERT_TRUE(dib.FromBitmap(mono, DIB_RGB, &palette));
    EXPECT_EQ(dib.Header()->biSizeImage, 16u);
    EXPECT_EQ(dib.Block().size(), 40u + 2 * 4 + 16u);  // two colours in the table
    EXPECT_EQ(dib.PixelAt(0, 0), 0xFF0000u);
    EXPECT_EQ(dib.PixelAt(1, 0), 0u);
    EXPECT_EQ(dib.PixelAt(0, 1), 0u);
}

TEST(DibFormatTest, RefusedInputs) {
    CBitmapData bmp;
    bmp.width = 4;
    bmp.height = 4;
    bmp.bitsPerPixel = 32;
    bmp.bits.assign(64, 0);
    CDib dib;
    EXPECT_FALSE(dib.FromBitmap(bmp, DIB_BITFIELDS, nullptr));
    EXPECT_FALSE(dib.FromBitmap(bmp, DIB_RLE8, nullptr));
    EXPECT_FALSE(dib.Valid());
    bmp.bits.resize(63);  // fewer bytes than the rows need
    EXPECT_FALSE(dib.FromBitmap(bmp, DIB_RGB, nullptr));
    bmp.bits.resize(64);
    bmp.bitsPerPixel = 7;
    EXPECT_FALSE(dib.FromBitmap(bmp, DIB_RGB, nullptr));
    bmp.bitsPerPixel = 32;
    bmp.width = 70000;
    EXPECT_FALSE(dib.FromBitmap(bmp, DIB_RGB, nullptr));
    bmp.width = -4;
    EXPECT_FALSE(dib.FromBitmap(bmp, DIB_RGB, nullptr));
    CDibSection section;
    EXPECT_EQ(section.Create(0, 10), 0);
    EXPECT_EQ(section.Create(60000, 60000), 0);  // beyond what is allocated
    EXPECT_FALSE(section.Valid());
}

TEST_F(DibTest, PaintCopiesOrStretches) {
    CDib dib;
    ASSERT_EQ(dib.Capture(CRectI{0, 0, 64, 48}, 48), 1);
    CDibSection target;
    ASSERT_EQ(target.Create(64, 48), 1);
    EXPECT_EQ(target.Header().biBitCount, 32);
    EXPECT_EQ(target.Header().biSizeImage, 64u * 48 * 4);

    // Same size: the red block lands where the destination says.
    EXPECT_EQ(dib.Paint(target, CRectI{10, 10, 26, 18}, CRectI{0, 0, 16, 8}), 8);
    EXPECT_TRUE(nearColor(target.PixelAt(10, 10), kRed));
    EXPECT_TRUE(nearColor(target.PixelAt(25, 17), kRed));
    EXPECT_EQ(target.PixelAt(26, 17), 0u);
    EXPECT_EQ(target.PixelAt(9, 10), 0u);

    // Twice the size: each source pixel covers two by two.
    CDibSection big;
    ASSERT_EQ(big.Create(128, 96), 1);
    EXPECT_EQ(dib.PaintTo(big, CRectI{0, 0, 128, 96}, CRectI{0, 0, 64, 48}), 96);
    EXPECT_TRUE(nearColor(big.PixelAt(31, 15), kRed));
    EXPECT_TRUE(nearColor(big.PixelAt(32, 16), kBlue));
    EXPECT_TRUE(nearColor(big.PixelAt(127, 95), kGreen));
    EXPECT_TRUE(nearColor(big.PixelAt(96, 80), kGreen));
    EXPECT_TRUE(nearColor(big.PixelAt(95, 80), kBlue));

    CDib empty;
    EXPECT_EQ(empty.Paint(target, CRectI{0, 0, 4, 4}, CRectI{0, 0, 4, 4}), 0);
}

TEST_F(DibTest, SectionCapturesScaledAndDraws) {
    CDibSection section;
    section.Capture(CRectI{0, 0, 64, 48}, 48);  // no section yet: nothing
    EXPECT_FALSE(section.Valid());
    ASSERT_EQ(section.Create(32, 24), 1);
    section.Capture(CRectI{0, 0, 64, 48}, 48);
    EXPECT_TRUE(nearColor(section.PixelAt(0, 0), kRed));
    EXPECT_TRUE(nearColor(section.PixelAt(7, 3), kRed));
    EXPECT_TRUE(nearColor(section.PixelAt(8, 4), kBlue));
    EXPECT_TRUE(nearColor(section.PixelAt(31, 23), kGreen));

    CDibSection target;
    ASSERT_EQ(target.Create(64, 48), 1);
    section.Draw(target, CRectI{0, 0, 64, 48});
    EXPECT_TRUE(nearColor(target.PixelAt(15, 7), kRed));
    EXPECT_TRUE(nearColor(target.PixelAt(16, 8), kBlue));
    EXPECT_TRUE(nearColor(target.PixelAt(63, 47), kGreen));

    section.Free();
    EXPECT_FALSE(section.Valid());
    EXPECT_EQ(section.Width(), 0);
}
