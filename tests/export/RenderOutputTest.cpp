// The render tool writes a sample scene in the format of the output's
// extension; independent readers see the same picture in every format, and a
// frame range with a ".gif" output becomes an animated GIF.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "tests/images/ImageFixtures.h"

namespace {

std::string sourceDir() {
    const char* d = std::getenv("KELVANO_SOURCE_DIR");
    return d ? d : ".";
}

int render(const std::string& args) {
    std::string line = "LSAN_OPTIONS=suppressions=" + sourceDir() + "/tests/lsan.supp:print_suppressions=0 " +
                       std::string(KV_RENDER_TOOL) + " " + args + " >/dev/null 2>&1";
    return std::system(line.c_str());
}

double psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    if (a.size() != b.size() || a.empty()) return 0;
    double se = 0;
    for (size_t i = 0; i < a.size(); ++i) se += double(int(a[i]) - int(b[i])) * (int(a[i]) - int(b[i]));
    return se == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / (se / a.size()));
}

}  // namespace

TEST(RenderOutput, EveryExtensionWritesTheSameFrame) {
    REQUIRE_TOOL("convert");
    REQUIRE_TOOL("identify");
    const std::string scene = quote(sourceDir() + "/data/scenes/titles.apn");
    const std::string png = fixturePath("frame.png");
    ASSERT_EQ(render(scene + " --frame 20 --size 160x100 -o " + quote(png)), 0);
    const std::vector<uint8_t> reference = magickPixels(png);
    ASSERT_EQ(reference.size(), 160u * 100 * 3);
    struct Case {
        const char* ext;
        const char* format;
        double minPsnr;  // 0: exact
    } cases[] = {{"bmp", "BMP3", 0}, {"tga", "TGA", 0}, {"rgb", "SGI", 0}, {"jpg", "JPEG", 30}, {"gif", "GIF", 25}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ext);
        const std::string file = fixturePath(std::string("frame.") + c.ext);
        ASSERT_EQ(render(scene + " --frame 20 --size 160x100 -o " + quote(file)), 0);
        const std::string prefix = std::string(c.ext) == "rgb" ? "sgi:" : "";
        EXPECT_EQ(runCommand("identify -format '%m %w %h' " + quote(prefix + file)),
                  std::string(c.format) + " 160 100");
        std::vector<uint8_t> got = magickPixels(prefix + file);
        if (c.minPsnr == 0) {
            EXPECT_EQ(got, reference);
        } else {
            EXPECT_GE(psnr(got, reference), c.minPsnr);
        }
    }
    // Names the tool cannot write are refused before anything is drawn.
    EXPECT_NE(render(scene + " -o " + quote(fixturePath("frame.xyz"))), 0);
    EXPECT_NE(render(scene + " --frames 3-1 -o " + quote(fixturePath("bad.gif"))), 0);
    EXPECT_NE(render(scene + " --frames 0-2 -o " + quote(fixturePath("frames.png"))), 0);
}

TEST(RenderOutput, FrameRangeBecomesAnAnimatedGif) {
    REQUIRE_TOOL("identify");
    REQUIRE_TOOL("giftext");
    const std::string scene = quote(sourceDir() + "/data/scenes/titles.apn");
    const std::string gif = fixturePath("anim.gif");
    ASSERT_EQ(render(scene + " --frames 0-2 --size 120x80 -o " + quote(gif)), 0);
    EXPECT_EQ(runCommand("identify " + quote(gif) + " | wc -l"), "3\n");
    std::string text = runCommand("giftext " + quote(gif) + " 2>&1");
    EXPECT_NE(text.find("GIF89 application block"), std::string::npos) << text;
    EXPECT_NE(text.find("DelayTime: 20"), std::string::npos) << text;
}
