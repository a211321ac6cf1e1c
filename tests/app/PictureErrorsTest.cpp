// Pictures that cannot be used, told to the user: the report queue and the
// check a chosen picture goes through before it is taken.
#include "assets/ImageReaders.h"
#include "assets/writePNG.h"
#include "editor/PictureErrors.h"
#include "sg/sgRuntime.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

TEST(PictureErrors, ReportsQueueOnceEachAndWakeWhenTheQueueFills) {
    int wakes = 0;
    InstallQueuedErrorReporter([&] { ++wakes; });
    sgReportError("Error", "Unknown DIB file format.");
    sgReportError("Error", "Invalid rgb file.");
    sgReportError("Error", "Unknown DIB file format.");
    EXPECT_EQ(wakes, 1);
    std::vector<QueuedError> shown = TakeQueuedErrors();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "Unknown DIB file format.");
    EXPECT_EQ(shown[1].text, "Invalid rgb file.");
    EXPECT_EQ(shown[1].caption, "Error");
    // Once shown, the same report is told again when it comes again.
    sgReportError("Error", "Unknown DIB file format.");
    EXPECT_EQ(wakes, 2);
    EXPECT_EQ(TakeQueuedErrors().size(), 1u);
    sgSetErrorReporter(nullptr);
}

TEST(PictureErrors, ChosenPicturesAreReadBeforeTheyAreTaken) {
    installImageReaders();
    TempDir dir;
    std::vector<uint8_t> pixels(4 * 4 * 3, 90);
    const std::string good = dir.file("good.png");
    ASSERT_EQ(writePNG(good, pixels.data(), 4, 4, 24, 0, 1.0), 1);
    std::ifstream in(good, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string cut = dir.write("cut.png", bytes.substr(0, bytes.size() - 30));
    const std::string jpeg = dir.write("cut.jpg", std::string("\xFF\xD8\xFF\xE0", 4) + std::string(40, 'j'));
    const std::string bmp =
        dir.write("v5.bmp", "BM" + std::string(12, '\0') + std::string(1, char(124)) + std::string(200, '\0'));
    const std::string text = dir.write("note.txt", "words");

    std::string message;
    EXPECT_TRUE(CheckPictureFile(good, message));
    int reports = 0;
    static int* counted = nullptr;
    counted = &reports;
    sgSetErrorReporter([](const char*, const char*) { ++*counted; });
    struct Case {
        std::string path, why;
    } cases[] = {
        {cut, "corrupt"},
        {jpeg, "corrupt"},
        {bmp, "Unknown DIB file format"},  // the reader's own words
        {text, "unsupported"},
        {dir.file("gone.png"), "missing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_FALSE(CheckPictureFile(c.path, message));
        EXPECT_EQ(message, "\"" + c.path + "\" cannot be used as a picture: " + c.why + ".");
    }
    // The reader's words go into the message, not into a box of their own.
    EXPECT_EQ(reports, 0);
    sgSetErrorReporter(nullptr);
}
