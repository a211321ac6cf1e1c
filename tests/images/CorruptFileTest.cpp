// Broken files of every format: cut short at every few bytes, or with random
// bytes changed. Readers must fail with their message (or, for changed bytes,
// at worst decode a consistent image) and never touch memory they do not own.
#include <gtest/gtest.h>

#include <functional>

#include "ImageFixtures.h"
#include "assets/loadDIBImageFile.h"
#include "assets/loadRGBImageFile.h"
#include "assets/sgJpegReader.h"
#include "assets/sgPngReader.h"
#include "assets/sgTgaReader.h"

namespace {
using Reader = std::function<sgImagePtr(const std::string&, int*)>;

struct Case {
    std::string name;
    std::string command;  // makes the fixture from the source picture (%s) into %o
    Reader read;
    size_t strictUpTo = 0;  // cuts shorter than size - this must fail
};

std::string expand(std::string cmd, const std::string& src, const std::string& out) {
    cmd.replace(cmd.find("%s"), 2, quote(src));
    cmd.replace(cmd.find("%o"), 2, quote(out));
    return cmd;
}

std::vector<Case> cases() {
    return {
        {"png", "convert %s -define png:color-type=2 %o", [](auto& p, int* c) { return sgPngReader().read(p, c); }},
        {"adam7.png", "convert %s -interlace PNG %o", [](auto& p, int* c) { return sgPngReader().read(p, c); }},
        {"jpg", "cjpeg -quality 85 -outfile %o %s", [](auto& p, int* c) { return sgJpegReader().read(p, c); }},
        {"prog.jpg", "cjpeg -progressive -outfile %o %s", [](auto& p, int* c) { return sgJpegReader().read(p, c); }},
        {"tga", "convert %s %o", [](auto& p, int* c) { return sgTgaReader().read(p, c); }},
        {"rle.tga", "convert %s -compress RLE %o", [](auto& p, int* c) { return sgTgaReader().read(p, c); }},
        {"map.tga", "convert %s -colors 50 -type palette -compress RLE %o",
         [](auto& p, int* c) { return sgTgaReader().read(p, c); }},
        {"rgb", "pnmtosgi -verbatim %s > %o", [](auto& p, int* c) { return loadRGBImageFile(p, c); }},
        {"rle.rgb", "pnmtosgi -rle %s > %o", [](auto& p, int* c) { return loadRGBImageFile(p, c); }},
        {"bmp", "convert %s bmp3:%o", [](auto& p, int* c) { return loadDIBImageFile(p, c); }},
        {"8.bmp", "convert %s -colors 60 -type palette bmp3:%o", [](auto& p, int* c) { return loadDIBImageFile(p, c); }},
        // Cutting only the end-of-bitmap code leaves every row complete.
        {"rle8.bmp", "convert %s -colors 60 -type palette -compress RLE bmp3:%o",
         [](auto& p, int* c) { return loadDIBImageFile(p, c); }, 2},
    };
}

bool toolsFor(const Case& c) {
    for (const char* tool : {"convert", "cjpeg", "pnmtosgi"})
        if (c.command.find(tool) != std::string::npos && !haveTool(tool)) return false;
    return true;
}

const std::vector<std::string> kLoaderMessages = {"Invalid rgb file.", "Unknown DIB file format.",
                                                  "Image file conversion error."};
}  // namespace

TEST(CorruptFiles, EveryTruncationFailsWithItsMessage) {
    REQUIRE_TOOL("convert");
    // 24 columns: no row padding in the bitmaps, so every cut removes pixels.
    std::string src = makeSourcePicture("src.ppm", 24, 15);
    ASSERT_FALSE(src.empty());
    for (const Case& c : cases()) {
        if (!toolsFor(c)) continue;
        SCOPED_TRACE(c.name);
        const std::string file = fixturePath("whole." + c.name);
        ASSERT_TRUE(run(expand(c.command, src, file)));
        const std::vector<uint8_t> bytes = readFile(file);
        ASSERT_GT(bytes.size(), 100u);
        ASSERT_TRUE(c.read(file, nullptr)) << "the whole file decodes";
        const std::string cut = fixturePath("cut." + c.name);
        const size_t step = std::max<size_t>(1, bytes.size() / 100);
        for (size_t n = 0; n + c.strictUpTo < bytes.size(); n += (n < 40 ? 1 : step)) {
            SCOPED_TRACE("cut at " + std::to_string(n) + " of " + std::to_string(bytes.size()));
            ASSERT_TRUE(writeFile(cut, std::vector<uint8_t>(bytes.begin(), bytes.begin() + n)));
            ErrorRecorder recorder;
            testing::internal::CaptureStderr();
            sgImagePtr image = c.read(cut, nullptr);
            std::string err = testing::internal::GetCapturedStderr();
            EXPECT_FALSE(image);
            if (c.name.find("png") != std::string::npos && n >= 8) {
                EXPECT_NE(err.find("libpng error: "), std::string::npos) << err;
            }
            if (c.name.find("rgb") != std::string::npos || c.name.find("bmp") != std::string::npos) {
                ASSERT_EQ(recorder.messages().size(), 1u);
                const std::string& m = recorder.messages()[0];
                const bool known = std::find(kLoaderMessages.begin(), kLoaderMessages.end(), m) != kLoaderMessages.end() ||
                                   (n == 0 && m.find("Failed to open DIB file") == 0);
                EXPECT_TRUE(known) << m;
            }
        }
    }
}

TEST(CorruptFiles, ChangedBytesNeverBreakTheReader) {
    REQUIRE_TOOL("convert");
    std::string src = makeSourcePicture("src.ppm", 19, 11);
    ASSERT_FALSE(src.empty());
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    for (const Case& c : cases()) {
        if (!toolsFor(c)) continue;
        SCOPED_TRACE(c.name);
        const std::string file = fixturePath("whole." + c.name);
        ASSERT_TRUE(run(expand(c.command, src, file)));
        const std::vector<uint8_t> bytes = readFile(file);
        const std::string bad = fixturePath("bad." + c.name);
        ErrorRecorder recorder;
        for (int round = 0; round < 200; ++round) {
            std::vector<uint8_t> b = bytes;
            const int changes = 1 + round % 4;
            for (int i = 0; i < changes; ++i) {
                // Headers matter most: half of the changes fall in the first 64 bytes.
                const size_t at = (next() & 1) ? next() % std::min<size_t>(64, b.size()) : next() % b.size();
                b[at] = (next() & 1) ? uint8_t(next()) : uint8_t(b[at] ^ (1u << (next() % 8)));
            }
            ASSERT_TRUE(writeFile(bad, b));
            int components = 0;
            testing::internal::CaptureStderr();
            sgImagePtr image = c.read(bad, &components);
            testing::internal::GetCapturedStderr();
            if (!image) continue;
            EXPECT_TRUE(components == 3 || components == 4) << "round " << round;
            EXPECT_EQ(image->pixels.size(), size_t(image->width) * image->height * components) << "round " << round;
        }
    }
}
