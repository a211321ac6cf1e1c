// The render tool writes a sample scene in the format of the output's
// extension; independent readers see the same picture in every format, and a
// frame range with a ".gif" output becomes an animated GIF.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tests/images/ImageFixtures.h"
#include "tests/support/TempDir.h"

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

TEST(RenderOutput, FrameRangeBecomesAMovieWithTheScenesSound) {
    REQUIRE_TOOL("ffprobe");
    REQUIRE_TOOL("ffmpeg");
    REQUIRE_TOOL("sox");
    // The sample's chime (frame 10) is looked for beside the scene.
    const std::string scene = fixturePath("movie-scene.apn");
    ASSERT_EQ(std::system(("cp " + quote(sourceDir() + "/data/scenes/titles.apn") + " " + quote(scene)).c_str()), 0);
    ASSERT_EQ(std::system(("sox -n -r 22050 -b 16 -c 1 " + quote(fixturePath("chime.wav")) + " synth 0.5 sine 880")
                              .c_str()),
              0);
    const std::string avi = fixturePath("movie.avi"), swf = fixturePath("movie.swf");
    for (const std::string& out : {avi, swf})
        ASSERT_EQ(render(quote(scene) + " --frames 5-20 --size 120x80 -o " + quote(out)), 0) << out;
    auto probe = [](const std::string& args, const std::string& file) {
        return runCommand("ffprobe -v error " + args + " -of csv=p=0 " + quote(file) + " 2>&1");
    };
    EXPECT_EQ(probe("-select_streams v -count_frames -show_entries stream=codec_name,r_frame_rate,nb_read_frames", avi),
              "mjpeg,30/1,16\n");
    // Five frames of silence, then the half-second chime: 3,675 + 11,025 samples.
    EXPECT_EQ(probe("-select_streams a -show_entries stream=sample_rate,nb_frames", avi), "22050,14700\n");
    EXPECT_EQ(probe("-count_frames -show_entries stream=nb_read_frames", swf), "16\n");
    // The movies' first frames are the range's first frame.
    const std::string png = fixturePath("movie-frame5.png");
    ASSERT_EQ(render(quote(scene) + " --frame 5 --size 120x80 -o " + quote(png)), 0);
    const std::vector<uint8_t> reference = magickPixels(png);
    for (const std::string& movie : {avi, swf}) {
        const std::string first = movie + "-first.png";
        runCommand("ffmpeg -v error -y -i " + quote(movie) + " -frames:v 1 " + quote(first));
        EXPECT_GE(psnr(magickPixels(first), reference), 30) << movie;
    }
}

TEST(RenderOutput, MovieCarriesA24BitAndAFloatSoundCue) {
    REQUIRE_TOOL("ffprobe");
    REQUIRE_TOOL("ffmpeg");
    REQUIRE_TOOL("sox");
    // The sample scene with two cues of its own: 24-bit mono 22,050 Hz at
    // frame 10 and 32-bit float stereo 44,100 Hz at frame 40, half a second each.
    const std::string scene = fixturePath("codings-scene.apn");
    const std::vector<uint8_t> sample = readFile(sourceDir() + "/data/scenes/titles.apn");
    std::string text(sample.begin(), sample.end());
    const std::string cue = "sound\t(10 \"chime.wav\")";
    ASSERT_NE(text.find(cue), std::string::npos);
    text.replace(text.find(cue), cue.size(), "sound\t(10 \"deep.wav\")\n    sound\t(40 \"float.wav\")");
    ASSERT_TRUE(writeFile(scene, std::vector<uint8_t>(text.begin(), text.end())));
    ASSERT_EQ(std::system(("sox -n -r 22050 -b 24 -c 1 " + quote(fixturePath("deep.wav")) + " synth 0.5 sine 440")
                              .c_str()),
              0);
    ASSERT_EQ(std::system(("sox -n -r 44100 -b 32 -e float -c 2 " + quote(fixturePath("float.wav")) +
                           " synth 0.5 sine 660 sine 880")
                              .c_str()),
              0);
    const std::string avi = fixturePath("codings.avi");
    ASSERT_EQ(render(quote(scene) + " --frames 0-50 --size 64x48 -o " + quote(avi)), 0);
    auto probe = [](const std::string& args, const std::string& file) {
        return runCommand("ffprobe -v error " + args + " -of csv=p=0 " + quote(file) + " 2>&1");
    };
    // One audio stream in the first cue's format; it runs to the end of the
    // float cue: 40 frames (29,400 samples) and its 11,025 samples.
    EXPECT_EQ(probe("-select_streams a -show_entries stream=codec_name,sample_rate,channels,nb_frames", avi),
              "pcm_s24le,22050,1,40425\n");
    // Both cues are heard where they start; silence lies between them.
    const std::string pcm = runCommand("ffmpeg -v error -i " + quote(avi) + " -map 0:a -f s16le -acodec pcm_s16le -");
    ASSERT_EQ(pcm.size(), 2u * 40425u);
    auto peak = [&](double from, double to) {
        int p = 0;
        for (size_t i = size_t(from * 22050) * 2; i + 1 < size_t(to * 22050) * 2 && i + 1 < pcm.size(); i += 2)
            p = std::max(p, std::abs(int(int16_t(uint16_t(uint8_t(pcm[i]) | uint8_t(pcm[i + 1]) << 8)))));
        return p;
    };
    EXPECT_EQ(peak(0, 0.33), 0);
    EXPECT_GT(peak(0.34, 0.83), 16000);
    EXPECT_LE(peak(0.84, 1.33), 64);
    EXPECT_GT(peak(1.34, 1.83), 16000);
}

// A cue named as the program stores a sound chosen from its Sounds folder is
// found there by the render tool too: the movie carries it.
TEST(RenderOutput, MovieCarriesACueFromTheStockSoundsFolder) {
    REQUIRE_TOOL("ffprobe");
    TempDir dir("kelvano-stock-cue");
    const std::string scene = dir.write(
        "cue.apn",
        "scene {\n    name\t\"cue\"\n    width\t64\n    height\t48\n    version\t250\n    sound\t(2 \"whoosh.wav\")\n}\n\n"
        "panel {\n    name\t\"plate\"\n    dimension\t( 100 60 10 )\n}\n\n"
        "event {\n    name\t\"plate\"\n    objectName\t\"plate\"\n}\n");
    const std::string avi = dir.file("cue.avi");
    ASSERT_EQ(render(quote(scene) + " --frames 0-10 -o " + quote(avi)), 0);
    EXPECT_EQ(runCommand("ffprobe -v error -select_streams a -show_entries stream=codec_name,sample_rate,channels "
                         "-of csv=p=0 " + quote(avi) + " 2>&1"),
              "pcm_s16le,22050,1\n");
}
