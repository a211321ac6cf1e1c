// The stock textures, backgrounds and sounds in data/: the program's own
// readers take each file, and each holds what the generator makes now, so the
// set can be made again from the code.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "ImageFixtures.h"
#include "assets/ImageReaders.h"
#include "platform/WaveFile.h"
#include "sg/sgTexture.h"
#include "tools/StockMedia.h"

using namespace stockmedia;

namespace {

std::string dataDir() { return std::string(std::getenv("KELVANO_SOURCE_DIR")) + "/data"; }

std::vector<uint8_t> bottomUp(const std::vector<uint8_t>& topDown, int width, int height) {
    std::vector<uint8_t> out(topDown.size());
    const size_t row = size_t(width) * 3;
    for (int y = 0; y < height; ++y)
        std::copy_n(topDown.begin() + std::ptrdiff_t(row * size_t(y)), row,
                    out.begin() + std::ptrdiff_t(row * size_t(height - 1 - y)));
    return out;
}

}  // namespace

TEST(StockMedia, EveryPictureReadsAsTheGeneratorPaintsIt) {
    installImageReaders();
    for (const StockPicture& picture : stockPictures()) {
        const std::string path = dataDir() + "/" + picture.folder + "/" + picture.file;
        SCOPED_TRACE(path);
        const int format = sgTextureFormatOf(path);
        ASSERT_GE(format, 0);
        int components = 0;
        sgImageFailure why = sgImageFailure::none;
        sgImagePtr image = sgReadImage(format, path, &components, &why);
        ASSERT_TRUE(image) << sgImageFailureText(why);
        EXPECT_EQ(components, 3);
        EXPECT_EQ(image->width, picture.width);
        EXPECT_EQ(image->height, picture.height);
        EXPECT_EQ(picture.width & (picture.width - 1), 0);
        EXPECT_EQ(picture.height & (picture.height - 1), 0);
        const std::vector<uint8_t> expected = bottomUp(paintPicture(picture), picture.width, picture.height);
        if (format != SG_FMT_JPEG) {
            EXPECT_PIXELS(image, expected, 0);
            continue;
        }
        // JPEG is lossy: close on the whole, and never far off.
        ASSERT_EQ(image->pixels.size(), expected.size());
        double sum = 0;
        int worst = 0;
        for (size_t i = 0; i < expected.size(); ++i) {
            const int d = std::abs(int(image->pixels[i]) - int(expected[i]));
            sum += d;
            worst = std::max(worst, d);
        }
        EXPECT_LT(sum / double(expected.size()), 1.5);
        EXPECT_LT(worst, 40);
    }
}

TEST(StockMedia, EverySoundIsPcmWaveOfTheGeneratedSamples) {
    for (const StockSound& sound : stockSounds()) {
        const std::string path = dataDir() + "/Sounds/" + sound.file;
        SCOPED_TRACE(path);
        WaveDetails details;
        ASSERT_EQ(ReadWaveDetails(path, details), WaveStatus::Ok);
        EXPECT_EQ(details.format.formatTag, kWaveFormatPcm);
        EXPECT_EQ(details.format.channels, 1);
        EXPECT_EQ(details.format.samplesPerSec, uint32_t(kSoundRate));
        EXPECT_EQ(details.format.bitsPerSample, 16);
        const std::vector<int16_t> samples = soundSamples(sound);
        ASSERT_EQ(details.dataSize, samples.size() * 2);
        const std::vector<uint8_t> bytes = readFile(path);
        ASSERT_GE(bytes.size(), details.dataOffset + details.dataSize);
        size_t differing = 0;
        for (size_t i = 0; i < samples.size(); ++i) {
            const uint8_t* p = &bytes[details.dataOffset + 2 * i];
            differing += int16_t(uint16_t(p[0] | (p[1] << 8))) != samples[i];
        }
        EXPECT_EQ(differing, 0u);
    }
}

// A file left behind by an older set, or one the generator no longer makes,
// would be installed and offered in the choosers.
TEST(StockMedia, TheFoldersHoldTheSetAndNothingElse) {
    std::set<std::string> made, found;
    for (const StockPicture& picture : stockPictures()) made.insert(std::string(picture.folder) + "/" + picture.file);
    for (const StockSound& sound : stockSounds()) made.insert(std::string("Sounds/") + sound.file);
    for (const char* folder : {"Textures", "Backgrounds", "Sounds"})
        for (const auto& entry : std::filesystem::directory_iterator(dataDir() + "/" + folder))
            found.insert(std::string(folder) + "/" + entry.path().filename().string());
    EXPECT_EQ(found, made);
}
