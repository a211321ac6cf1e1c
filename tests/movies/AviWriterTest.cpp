// The AVI writer's frames: uncompressed and Motion JPEG movies read back by
// ffmpeg, frame-size rules, the compressor choice, the size limit, a full disk
// and the temporary files.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <sstream>

#include "export/CAviWriter.h"
#include "platform/RiffAviFile.h"
#include "tests/movies/MovieTestSupport.h"
#include "tests/support/JpegMarkers.h"

namespace {

// Records frames of w x h into a temporary movie and finishes it as final.
struct Recording {
    Recording(const TestFolder& folder, uint32_t handler, int w = 581, int h = 392) : width(w), height(h) {
        host.handler = handler;
        writer.setHost(&host);
        finalPath = folder.path("movie.avi");
        tempPath = CAviWriter::makeTemporaryMovieName(finalPath);
        writer.open(tempPath, -1, -1);
    }
    bool add(int index) {
        frames.push_back(MakeFrame(width, height, index, 3));
        MovieImage image{width, height, frames.back().data(), size_t(width) * 3, 3, true};
        return writer.addFrameBitmap(image);
    }
    int width, height;
    RecordingMovieHost host;
    CAviWriter writer;
    std::string finalPath, tempPath;
    std::vector<std::vector<uint8_t>> frames;
};

TEST(AviWriter, MoviesReadBackByFfmpeg) {
    struct Case {
        const char* name;
        uint32_t handler;
        const char* codec;
    } cases[] = {{"full frames", kAviFullFrames, "rawvideo"}, {"motion jpeg", kAviMotionJpeg, "mjpeg"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestFolder folder("frames");
        Recording rec(folder, c.handler);
        for (int i = 0; i < 5; ++i) ASSERT_TRUE(rec.add(i));
        EXPECT_EQ(rec.writer.frameCount(), 5);
        ASSERT_TRUE(rec.writer.finish(rec.finalPath, {}));
        EXPECT_EQ(folder.files(), std::vector<std::string>{"movie.avi"});
        EXPECT_TRUE(rec.host.messages.empty());
        EXPECT_EQ(ProbeStream(rec.finalPath, "v:0", "codec_name"), c.codec);
        EXPECT_EQ(ProbeStream(rec.finalPath, "v:0", "r_frame_rate"), "30/1");
        EXPECT_EQ(ProbeStream(rec.finalPath, "v:0", "nb_frames"), "5");
        EXPECT_EQ(ProbeStream(rec.finalPath, "v:0", "nb_read_frames"), "5");
        EXPECT_EQ(ProbeStream(rec.finalPath, "v:0", "width"), "581");
        EXPECT_EQ(ProbeStream(rec.finalPath, "v:0", "height"), "392");
        if (c.handler == kAviFullFrames) {
            // ffmpeg's own checksum of each decoded frame against the input.
            std::istringstream lines(RunCommand("ffmpeg -v error -i " + ShellQuote(rec.finalPath) +
                                                " -f framemd5 -pix_fmt bgr24 -"));
            std::vector<std::string> sums;
            for (std::string line; std::getline(lines, line);)
                if (!line.empty() && line[0] != '#') sums.push_back(line.substr(line.rfind(',') + 2, 32));
            ASSERT_EQ(sums.size(), 5u);
            for (int i = 0; i < 5; ++i) EXPECT_EQ(sums[size_t(i)], Md5Hex(rec.frames[size_t(i)])) << "frame " << i;
        } else {
            std::vector<uint8_t> decoded = DecodeFrames(rec.finalPath, "bgr24", 5);
            std::vector<uint8_t> input;
            for (const auto& f : rec.frames) input.insert(input.end(), f.begin(), f.end());
            EXPECT_GE(Psnr(decoded, input), 35.0);
        }
    }
}

// Players take Motion JPEG frames only as baseline files: even at quality 10,
// whose steps the 8-bit tables clamp, the frames stay baseline.
TEST(AviWriter, MotionJpegFramesStayBaselineAtLowQuality) {
    TestFolder folder("baseline");
    Recording rec(folder, kAviMotionJpeg, 64, 48);
    rec.host.quality = 1000;
    ASSERT_TRUE(rec.add(0));
    ASSERT_TRUE(rec.writer.close());
    RiffAviReader movie;
    ASSERT_TRUE(movie.open(rec.tempPath, kAviSizeLimit));
    std::vector<uint8_t> frame;
    ASSERT_TRUE(movie.readFrame(0, frame));
    const JpegHeaderInfo info = ReadJpegHeaderInfo(frame);
    EXPECT_EQ(info.frameMarker, 0xC0);
    EXPECT_FALSE(info.wideTables);
    rec.writer.deleteTemporaryFiles();
}

TEST(AviWriter, RefusesFramesThatDoNotFit) {
    TestFolder folder("sizes");
    Recording rec(folder, kAviFullFrames, 64, 48);
    ASSERT_TRUE(rec.add(0));
    // The first frame fixes the size.
    std::vector<uint8_t> other = MakeFrame(65, 48, 1, 3);
    EXPECT_FALSE(rec.writer.addFrameBitmap(MovieImage{65, 48, other.data(), 65 * 3, 3, true}));
    // Only packed 24-bit DIBs.
    std::vector<uint8_t> dib = DibFromBitmap(MovieImage{64, 48, rec.frames[0].data(), 64 * 3, 3, true});
    std::vector<uint8_t> bits32 = dib;
    bits32[14] = 32;
    EXPECT_FALSE(rec.writer.addFrame(bits32));
    std::vector<uint8_t> truncated(dib.begin(), dib.end() - 1);
    EXPECT_FALSE(rec.writer.addFrame(truncated));
    EXPECT_FALSE(rec.writer.addFrame({}));
    EXPECT_TRUE(rec.writer.addFrame(dib));
    EXPECT_EQ(rec.writer.frameCount(), 2);
    EXPECT_TRUE(rec.host.messages.empty());
    // A writer that is not open takes nothing.
    CAviWriter idle;
    EXPECT_FALSE(idle.isReady());
    EXPECT_FALSE(idle.addFrame(dib));
}

TEST(AviWriter, NoMovieLeavesNoFile) {
    struct Case {
        const char* name;
        bool cancel;
        uint32_t handler;
        const char* message;
    } cases[] = {
        {"compressor choice cancelled", true, kAviFullFrames, nullptr},
        {"compressor we do not have", false, AviFourCC('i', 'v', '3', '2'), "Selected AVI type is not supported!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestFolder folder("cancel");
        Recording rec(folder, c.handler, 32, 32);
        rec.host.cancelCompressor = c.cancel;
        EXPECT_EQ(folder.files(), std::vector<std::string>{"_tmp0000.avi"});
        EXPECT_FALSE(rec.add(0));
        EXPECT_FALSE(rec.writer.isReady());
        EXPECT_FALSE(rec.add(1));
        EXPECT_EQ(rec.host.compressorAsked, 1);
        EXPECT_FALSE(rec.writer.finish(rec.finalPath, {}));
        EXPECT_TRUE(folder.files().empty());
        if (c.message) {
            ASSERT_EQ(rec.host.messages.size(), 1u);
            EXPECT_EQ(rec.host.messages[0].text, c.message);
            EXPECT_EQ(rec.host.messages[0].caption, "Error");
        } else {
            EXPECT_TRUE(rec.host.messages.empty());
        }
    }
}

TEST(AviWriter, StopsCleanlyAtTheSizeLimit) {
    TestFolder folder("limit");
    Recording rec(folder, kAviFullFrames, 64, 48);
    // Room for the headers and three frames of 9,216 bytes.
    rec.writer.setSizeLimit(4096 + 3 * (9216 + 8 + 16));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(rec.add(i));
    EXPECT_FALSE(rec.add(3));
    EXPECT_FALSE(rec.add(4));
    ASSERT_EQ(rec.host.messages.size(), 1u);
    EXPECT_NE(rec.host.messages[0].text.find("1 GB"), std::string::npos);
    ASSERT_TRUE(rec.writer.finish(rec.finalPath, {}));
    EXPECT_EQ(ProbeStream(rec.finalPath, "v:0", "nb_read_frames"), "3");
    EXPECT_LE(ReadFileBytes(rec.finalPath).size(), 4096u + 3 * (9216 + 8 + 16));
}

TEST(AviWriter, FullDiskGivesTheWritingError) {
    RecordingMovieHost host;
    CAviWriter writer(&host);
    writer.open("/dev/full", -1, -1);
    std::vector<uint8_t> frame = MakeFrame(320, 240, 0, 3);
    bool all = true;
    for (int i = 0; i < 8; ++i) all = writer.addFrameBitmap(MovieImage{320, 240, frame.data(), 960, 3, true}) && all;
    const bool closed = writer.close();
    EXPECT_FALSE(all && closed);
    EXPECT_FALSE(writer.hasMovie());
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages[0].text, "Writing error!");
    EXPECT_EQ(host.messages[0].caption, "Error");
    struct stat st;
    EXPECT_EQ(stat("/dev/full", &st), 0);  // the device is never removed
}

TEST(AviWriter, TemporaryNamesAreExclusive) {
    TestFolder folder("names");
    const std::string first = CAviWriter::makeTemporaryMovieName(folder.path("final.avi"));
    const std::string second = CAviWriter::makeTemporaryMovieName(folder.path("final.avi"));
    EXPECT_EQ(first, folder.path("_tmp0000.avi"));
    EXPECT_EQ(second, folder.path("_tmp0001.avi"));
    EXPECT_EQ(CAviWriter::makeUniqueWaveName(folder.dir(), "merged"), folder.path("merged0000.wav"));
    // Every number taken: no name is reused.
    for (int i = 0; i <= 9999; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "x%04d.wav", i);
        ASSERT_TRUE(WriteFileBytes(folder.path(name), {}));
    }
    EXPECT_EQ(CAviWriter::makeUniqueWaveName(folder.dir(), "x"), "");
    EXPECT_EQ(CAviWriter::makeTemporaryMovieName("/nonexistent-folder/final.avi"), "");
}

TEST(AviWriter, ReaderRefusesBrokenMovies) {
    TestFolder folder("reader");
    Recording rec(folder, kAviFullFrames, 16, 8);
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(rec.add(i));
    ASSERT_TRUE(rec.writer.finish(rec.finalPath, {}));
    const std::vector<uint8_t> good = ReadFileBytes(rec.finalPath);
    RiffAviReader ok;
    ASSERT_TRUE(ok.open(rec.finalPath));
    EXPECT_EQ(ok.frameCount(), 2u);
    EXPECT_EQ(ok.video().width, 16);
    // Sizes that run past their list or the file, and a short file.
    const std::string text(good.begin(), good.end());
    const size_t secondFrame = text.find("00dc", text.find("00dc") + 1) + 4;
    const size_t index = text.rfind("idx1") + 4;
    for (size_t at : {size_t(16), size_t(28), secondFrame, index}) {
        std::vector<uint8_t> bad = good;
        bad[at] = bad[at + 1] = bad[at + 2] = 0xFF;
        bad[at + 3] = 0x7F;
        WriteFileBytes(folder.path("bad.avi"), bad);
        RiffAviReader r;
        EXPECT_FALSE(r.open(folder.path("bad.avi")) && r.frameCount() == 2) << "size at " << at;
    }
    WriteFileBytes(folder.path("short.avi"), std::vector<uint8_t>(good.begin(), good.begin() + 11));
    RiffAviReader shortFile;
    EXPECT_FALSE(shortFile.open(folder.path("short.avi")));
}

}  // namespace
