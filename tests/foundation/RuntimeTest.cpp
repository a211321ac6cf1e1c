#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "sg/sgClock.h"
#include "sg/sgRuntime.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

TEST(Runtime, ErrorPrinterCodes) {
    CaptureStdout();
    sgPrintError(0, "a");
    sgPrintError(1, "b");
    sgPrintError(2, "c");
    sgPrintError(3, "d");
    sgPrintError(-1, "e");
    EXPECT_EQ(GetCapturedStdout(),
              "a : Memory free error(can't free null pointer)\n"
              "b : Memory allocation failure \n"
              "c : Switch setting failure \n");
}

TEST(Runtime, NumberedNames) {
    std::string out;
    EXPECT_EQ(sgNumberedName("frame0000000.png", out, 12), 1);
    EXPECT_EQ(out, "frame0000012.png");
    EXPECT_EQ(sgNumberedName("a1.tga", out, 123), 1);
    EXPECT_EQ(out, "a3.tga");
    EXPECT_EQ(sgNumberedName("tex/run.1/img042.jpg", out, 7), 1);
    EXPECT_EQ(out, "tex/run.1/img007.jpg");
    EXPECT_EQ(sgNumberedName("x123456789.png", out, 5), 1);
    EXPECT_EQ(out, "x120000005.png");  // digits beyond seven keep theirs
    out = "unchanged";
    EXPECT_EQ(sgNumberedName("plain.png", out, 1), 0);
    EXPECT_EQ(sgNumberedName("nodot", out, 1), 0);
    EXPECT_EQ(out, "unchanged");
    EXPECT_EQ(sgDigitsBeforeDot("abc0012.tga"), 4);
    EXPECT_EQ(sgDigitsBeforeDot("abc"), -1);
    EXPECT_EQ(sgLastDot("a.b.c"), 3);
}

TEST(Runtime, ExtensionsAndSlashes) {
    std::string ext, out;
    EXPECT_EQ(sgGetExtension("photo.jpeg", ext), 1);
    EXPECT_EQ(ext, "jpe");
    EXPECT_EQ(sgGetExtension("archive.tar.gz", ext), 1);
    EXPECT_EQ(ext, "gz");
    EXPECT_EQ(sgGetExtension("README", ext), 0);

    // Only the file's own dot counts, not a dot in a folder name.
    EXPECT_EQ(replaceExtension("D:\\snd\\old.set\\hit.wav", out, "aiff"), 1);
    EXPECT_EQ(out, "D:\\snd\\old.set\\hit.aiff");
    EXPECT_EQ(replaceExtension("/home/u/v1.2/scene.apn", out, "bak"), 1);
    EXPECT_EQ(out, "/home/u/v1.2/scene.bak");
    out = "kept";
    EXPECT_EQ(replaceExtension("/home/u/v1.2/scene", out, "bak"), 0);
    EXPECT_EQ(out, "kept");

    EXPECT_EQ(convertSlashes("a\\b\\c.tga", out), 1);
    EXPECT_EQ(out, "a/b/c.tga");
}

TEST(Runtime, NamesAreCutAt127CharactersOnACharacterBoundary) {
    EXPECT_EQ(sgCutName(std::string(200, 'n')).size(), 127u);
    EXPECT_EQ(sgCutName("short"), "short");
    EXPECT_EQ(sgCutName(static_cast<const char*>(nullptr)), "");
    // 126 ASCII bytes then a two-byte character: the 127th character stays whole.
    std::string s = std::string(126, 'a') + "\xC3\xA9" + "tail";
    EXPECT_EQ(sgCutName(s), std::string(126, 'a') + "\xC3\xA9");
    // 127 three-byte characters are one name of 381 bytes.
    std::string hangul;
    for (int i = 0; i < 130; ++i) hangul += "\xEA\xB0\x80";
    EXPECT_EQ(sgCutName(hangul), hangul.substr(0, 381));
    EXPECT_EQ(sgCharCount(sgCutName(hangul)), 127u);
    EXPECT_EQ(sgCutBytes(s, 127), std::string(126, 'a')) << "byte cuts still never split a sequence";
}

TEST(Runtime, DebugPrintWritesOnlyWithAStream) {
    FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    debugPrint("silent");  // no stream: nothing anywhere
    setDiagnosticStream(f);
    debugPrint("one");
    debugPrint2("[pnScene::removeLight]", "Tried to delete non-existing light");
    debugPrintInt("count", 3);
    setDiagnosticStream(nullptr);
    debugPrint("after");
    std::rewind(f);
    char buf[256] = {};
    size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    EXPECT_EQ(std::string(buf, n),
              "TORVIS: one\n\nTORVIS: [pnScene::removeLight] Tried to delete non-existing light\n\n"
              "TORVIS: count 3\n\n");
}

namespace {
std::string g_reported;
void recordError(const char* caption, const char* text) { g_reported = std::string(caption) + "|" + text; }

class FixedClock : public sgClock {
public:
    double now = 1000.5;
    double slept = 0;
    double nowMs() override { return now; }
    void sleepMs(double ms) override { slept += ms; now += ms; }
};
}  // namespace

TEST(Runtime, ErrorReporterAndClockAreReplaceable) {
    sgSetErrorReporter(recordError);
    sgReportError("Error", "Invalid rgb file.");
    sgSetErrorReporter(nullptr);
    EXPECT_EQ(g_reported, "Error|Invalid rgb file.");

    FixedClock clock;
    sgSetClock(&clock);
    EXPECT_EQ(sgTimeMs(), 1000u);
    sgGetClock().sleepMs(20);
    EXPECT_EQ(sgTimeMs(), 1020u);
    sgSetClock(nullptr);
    EXPECT_EQ(clock.slept, 20.0);
    EXPECT_NE(&sgGetClock(), &clock);
}
