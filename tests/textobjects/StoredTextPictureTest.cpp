// Scenes with texts as users stored them, opened and drawn by the render tool
// and compared with the pictures the program drew of the same files before
// flat text spacing and fixed pitch were last changed (stored beside them):
// a stored text must open where its user placed it.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "assets/sgPngReader.h"
#include "tests/support/ImageCheck.h"
#include "tests/support/RenderTool.h"

namespace {

std::string storedDir() { return std::string(std::getenv("KELVANO_SOURCE_DIR")) + "/tests/textobjects/stored/"; }

RGBA pixelAt(const sgImage& image, int bytes, int x, int y) {
    const uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * bytes];
    return RGBA{p[0], p[1], p[2], 255};
}

}  // namespace

// The scene holds, top down, a flat text built from a style with a border and
// one with a border of its own; bar chart labels and data texts of a bordered
// flat style; a bordered flat counter; and texts at a fixed pitch, centred
// with a gap, right and left justified.
TEST(StoredTextPictures, OpenAndDrawAsWhenTheyWereSaved) {
    const std::string drawn = testOutputDir() + "/stored-texts.png";
    std::string log;
    ASSERT_EQ(runRenderTool(shellQuote(storedDir() + "stored-texts.apn") + " -o " + shellQuote(drawn), &log), 0) << log;
    sgPngReader reader;
    int wantBytes = 0, gotBytes = 0;
    const sgImagePtr want = reader.read(storedDir() + "stored-texts.png", &wantBytes);
    const sgImagePtr got = reader.read(drawn, &gotBytes);
    ASSERT_TRUE(want && got);
    ASSERT_EQ(got->width, want->width);
    ASSERT_EQ(got->height, want->height);
    int faces = 0, off = 0;
    for (int y = 0; y < want->height; ++y)
        for (int x = 0; x < want->width; ++x) {
            const RGBA w = pixelAt(*want, wantBytes, x, y), g = pixelAt(*got, gotBytes, x, y);
            if (w.r == 255 && w.g == 255 && w.b == 255) ++faces;
            // One step of rounding either way.
            if (!near(g, w, 1) && ++off <= 5)
                ADD_FAILURE() << "at (" << x << ", " << want->height - 1 - y << " from the top) " << describe(g)
                              << ", was " << describe(w);
        }
    EXPECT_EQ(off, 0) << "pixels that differ (" << drawn << ")";
    EXPECT_GT(faces, 500) << "the stored picture shows the texts' faces";
}
