// The headless render tool on the sample scenes: a PNG that pngcheck accepts,
// the background colour at the corners and objects where the scenes put them
// (the camera looks down -z from (0, 0, 906) with a vertical field of view of
// 30 degrees, so a point (x, y, 0) lands at a known pixel).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/ImageCheck.h"
#include "tests/support/RenderTool.h"

namespace {

const int kW = 580, kH = 392;

std::string sourceDir() {
    const char* d = std::getenv("KELVANO_SOURCE_DIR");
    return d ? d : ".";
}

using Image = RenderToolImage;

// Renders a sample scene and reads the PNG back through ImageMagick.
bool render(const std::string& scene, int frame, int aa, Image& image) {
    // One file per scene, frame and level: ctest may run these side by side.
    std::string out = testOutputDir() + "/render-" + scene + "-" + std::to_string(frame) + "-" + std::to_string(aa) +
                      ".png";
    if (!renderWithTool(sourceDir() + "/data/scenes/" + scene + ".apn",
                        "--frame " + std::to_string(frame) + " --aa " + std::to_string(aa) + " --size " +
                            std::to_string(kW) + "x" + std::to_string(kH),
                        out, image))
        return false;
    EXPECT_EQ(std::system(("pngcheck -q " + shellQuote(out) + " >/dev/null").c_str()), 0) << out;
    return image.width == kW && image.height == kH;
}

// Pixel of the point (x, y, 0) seen from (0, 0, eyeZ).
void project(double x, double y, double eyeZ, int* px, int* pyFromTop) {
    double top = eyeZ * std::tan(15.0 * 3.14159265359 / 180.0);
    double right = top * kW / kH;
    *px = static_cast<int>((x / right + 1.0) * 0.5 * kW);
    *pyFromTop = kH - 1 - static_cast<int>((y / top + 1.0) * 0.5 * kH);
}

RGBA colour(double r, double g, double b) {
    auto c = [](double v) { return static_cast<uint8_t>(std::lround(v * 255.0)); };
    return RGBA{c(r), c(g), c(b), 255};
}

void expectCorners(const Image& img, const RGBA& bg) {
    for (auto [x, y] : {std::pair{0, 0}, {kW - 1, 0}, {0, kH - 1}, {kW - 1, kH - 1}})
        EXPECT_TRUE(near(img.at(x, y), bg, 2)) << x << "," << y << " " << describe(img.at(x, y));
}

bool anyDifferent(const Image& img, int x0, int x1, int y, const RGBA& bg) {
    for (int x = x0; x < x1; ++x)
        if (!near(img.at(x, y), bg, 8)) return true;
    return false;
}

}  // namespace

TEST(RenderTool, TitlesEndWithTheBarSlidInAndFadedToIce) {
    Image img;
    ASSERT_TRUE(render("titles", 70, 4, img));
    const RGBA bg = colour(0.05, 0.1, 0.3);
    expectCorners(img, bg);
    int x, y;
    project(0, -80, 906, &x, &y);
    EXPECT_TRUE(near(img.at(x, y), colour(0.2, 0.6, 1.0), 2)) << describe(img.at(x, y));
    project(-200, -80, 906, &x, &y);  // left of the 320-wide bar
    EXPECT_TRUE(near(img.at(x, y), bg, 2)) << describe(img.at(x, y));
    project(0, 90, 906, &x, &y);
    EXPECT_TRUE(anyDifferent(img, x - 80, x + 80, y, bg)) << "the heading should be drawn";
}

TEST(RenderTool, TitlesHideTheBarBeforeItsPlay) {
    Image img;
    ASSERT_TRUE(render("titles", 5, 0, img));
    int x, y;
    // Before its play the bar is hidden; the heading spins.
    project(-500 + 160, -80, 906, &x, &y);
    EXPECT_TRUE(near(img.at(x, y), colour(0.05, 0.1, 0.3), 2)) << describe(img.at(x, y));
}

TEST(RenderTool, CounterShowsItsPlateAndDigits) {
    Image img;
    ASSERT_TRUE(render("counter", 70, 4, img));
    const RGBA bg = colour(0.12, 0.12, 0.12);
    expectCorners(img, bg);
    int x, y;
    project(0, -120, 906, &x, &y);
    EXPECT_TRUE(near(img.at(x, y), colour(0.1, 0.8, 0.3), 2)) << describe(img.at(x, y));
    project(0, 40, 906, &x, &y);
    EXPECT_TRUE(anyDifferent(img, x - 60, x + 60, y, bg)) << "the counter should be drawn";
    project(0, -40, 906, &x, &y);
    EXPECT_TRUE(anyDifferent(img, x - 40, x + 40, y, bg)) << "the caption should be drawn";
}

TEST(RenderTool, PyramidSceneFollowsTheCameraDolly) {
    Image img;
    ASSERT_TRUE(render("pyramid", 70, 8, img));
    const RGBA bg = colour(0.3, 0.0, 0.25);
    expectCorners(img, bg);
    int x, y;
    project(-150, -100, 606, &x, &y);  // the camera ends 300 closer
    EXPECT_TRUE(near(img.at(x, y), colour(1.0, 0.9, 0.0), 2)) << describe(img.at(x, y));
    project(0, 0, 606, &x, &y);
    EXPECT_FALSE(near(img.at(x, y), bg, 8)) << "the model should be drawn";
}

TEST(RenderTool, RefusesBadArgumentsAndMissingScenes) {
    EXPECT_NE(runRenderTool(""), 0);
    EXPECT_NE(runRenderTool("a.apn --aa x -o b.png"), 0);
    EXPECT_NE(runRenderTool("a.apn --size 10 -o b.png"), 0);
    EXPECT_NE(runRenderTool("/nonexistent/scene.apn -o " + shellQuote(testOutputDir() + "/none.png")), 0);
}

// What the program refuses to open the tool refuses too, with the program's
// words, and writes nothing: a device would never end, a text file would
// make a black picture.
TEST(RenderTool, RefusesWhatIsNotASceneFile) {
    const std::string text = testOutputDir() + "/render-notes.apn";
    {
        std::FILE* f = std::fopen(text.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs("These are notes, not a scene.\n", f);
        std::fclose(f);
    }
    for (const std::string& input : {std::string("/dev/zero"), text}) {
        const std::string png = testOutputDir() + "/render-refused.png";
        std::remove(png.c_str());
        std::string log;
        EXPECT_NE(runRenderTool(shellQuote(input) + " -o " + shellQuote(png), &log), 0) << input;
        EXPECT_NE(log.find("\"" + input + "\" is not a scene file."), std::string::npos) << log;
        EXPECT_FALSE(std::ifstream(png).good()) << "nothing is written for " << input;
    }
}

// A sample scene cut off inside its first material block draws only part of
// the scene: the tool says where the file ends, writes nothing and fails.
TEST(RenderTool, RefusesAFileCutOffInsideABlock) {
    const char* source = std::getenv("KELVANO_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    std::ifstream in(std::string(source) + "/data/scenes/titles.apn", std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t material = whole.find("\nmaterial {");
    ASSERT_NE(material, std::string::npos);
    const int line = static_cast<int>(std::count(whole.begin(), whole.begin() + material + 1, '\n')) + 1;
    const std::string cut = testOutputDir() + "/render-cut.apn";
    {
        std::ofstream out(cut, std::ios::binary);
        out << whole.substr(0, whole.find("diffuse", material));
    }
    const std::string png = testOutputDir() + "/render-cut.png";
    std::remove(png.c_str());
    std::string log;
    EXPECT_NE(runRenderTool(shellQuote(cut) + " -o " + shellQuote(png), &log), 0);
    EXPECT_NE(log.find("\"" + cut + "\" ends inside the \"material\" block at line " + std::to_string(line) + "."),
              std::string::npos)
        << log;
    EXPECT_FALSE(std::ifstream(png).good());
}
