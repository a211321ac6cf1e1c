// The sound track: the WAVE reader, the PCM converter, the merge of the
// scene's sounds into one WAVE file and the movie with its audio stream.
#include <gtest/gtest.h>

#include <cstring>

#include "export/CAviWriter.h"
#include "export/WaveData.h"
#include "platform/PcmConverter.h"
#include "platform/WaveFile.h"
#include "tests/movies/MovieTestSupport.h"

namespace {

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

std::vector<uint8_t> repeat(std::vector<uint8_t> frame, size_t count) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i < count; ++i) out.insert(out.end(), frame.begin(), frame.end());
    return out;
}

// A writer with a finished temporary movie of frames 16 x 16 frames.
struct MovieWithSound {
    explicit MovieWithSound(const TestFolder& folder, int frames = 30) {
        writer.setHost(&host);
        finalPath = folder.path("movie.avi");
        writer.open(CAviWriter::makeTemporaryMovieName(finalPath), -1, -1);
        const std::vector<uint8_t> frame = MakeFrame(16, 16, 0, 3);
        for (int i = 0; i < frames; ++i) writer.addFrameBitmap(MovieImage{16, 16, frame.data(), 48, 3, true});
    }
    RecordingMovieHost host;
    CAviWriter writer;
    std::string finalPath;
};

TEST(PcmConverter, ConvertsSamplesChannelsAndRates) {
    struct Case {
        const char* name;
        PcmFormat from, to;
        std::vector<uint8_t> in, out;
    } cases[] = {
        {"8 to 16 bits", {1, 8000, 8}, {1, 8000, 16}, {0x80, 0xFF, 0x00}, {0x00, 0x00, 0x00, 0x7F, 0x00, 0x80}},
        {"16 to 8 bits", {1, 8000, 16}, {1, 8000, 8}, {0x00, 0x00, 0x00, 0x40, 0x00, 0x80}, {0x80, 0xC0, 0x00}},
        {"mono to stereo", {1, 8000, 8}, {2, 8000, 8}, {0x10, 0x90}, {0x10, 0x10, 0x90, 0x90}},
        {"stereo to mono", {2, 8000, 16}, {1, 8000, 16}, {0x00, 0x10, 0x00, 0x20}, {0x00, 0x18}},
        {"double rate", {1, 8000, 8}, {1, 16000, 8}, {0x80, 0xA0}, {0x80, 0x90, 0xA0, 0xA0}},
        {"half rate", {1, 16000, 8}, {1, 8000, 8}, {0x10, 0x20, 0x30, 0x40}, {0x10, 0x30}},
        {"part frame dropped", {2, 8000, 16}, {2, 8000, 16}, {1, 2, 3, 4, 5}, {1, 2, 3, 4}},
        {"invalid format", {3, 8000, 16}, {1, 8000, 16}, {1, 2, 3, 4, 5, 6}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConvertPcm(c.in.data(), c.in.size(), c.from, c.to), c.out) << c.name;
    }
}

TEST(WaveFile, ReadsDetailsAndRefusesHostileFiles) {
    TestFolder folder("wave");
    const std::vector<uint8_t> good = MakeWave(1, 8000, 8, std::vector<uint8_t>(101, 0x80));
    ASSERT_TRUE(WriteFileBytes(folder.path("good.wav"), good));
    WaveDetails details;
    ASSERT_EQ(ReadWaveDetails(folder.path("good.wav"), details), WaveStatus::Ok);
    EXPECT_EQ(details.dataSize, 101u);
    EXPECT_EQ(details.dataOffset, 44u);
    EXPECT_EQ(details.format.raw.size(), 18u);

    auto patched = [&](size_t at, uint32_t v) {
        std::vector<uint8_t> b = good;
        for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
        return b;
    };
    std::vector<uint8_t> chunkAfterData = good;
    const char list[] = "LIST\x04\x00\x00\x00INFO";
    chunkAfterData.insert(chunkAfterData.end(), list, list + 12);
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        WaveStatus status;
        int questions;
    } cases[] = {
        {"data size past the end", patched(40, 0xFFFFFFF0u), WaveStatus::BadChunk, 0},
        {"fmt size past the end", patched(16, 0xFFFFFFFFu), WaveStatus::BadChunk, 0},
        {"fmt too short", patched(16, 8), WaveStatus::BadFormat, 0},
        {"not RIFF", patched(0, 0x12345678), WaveStatus::NotWave, 0},
        {"truncated header", std::vector<uint8_t>(good.begin(), good.begin() + 10), WaveStatus::NotWave, 0},
        {"no data chunk", std::vector<uint8_t>(good.begin(), good.begin() + 36), WaveStatus::NoData, 0},
        {"chunk past the RIFF size, declined", chunkAfterData, WaveStatus::BadChunk, 1},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteFileBytes(folder.path("bad.wav"), c.bytes));
        int asked = 0;
        EXPECT_EQ(ReadWaveDetails(folder.path("bad.wav"), details,
                                  [&](const std::string& q) {
                                      ++asked;
                                      EXPECT_EQ(q.rfind("This wave file might be corrupt.", 0), 0u);
                                      return false;
                                  }),
                  c.status)
            << c.name;
        EXPECT_EQ(asked, c.questions) << c.name;
    }
    // Answering yes reads on.
    EXPECT_EQ(ReadWaveDetails(folder.path("bad.wav"), details, [](const std::string&) { return true; }), WaveStatus::Ok);
    EXPECT_EQ(ReadWaveDetails(folder.path("missing.wav"), details), WaveStatus::OpenFailed);
    EXPECT_EQ(ReadWaveDetails(folder.dir(), details), WaveStatus::OpenFailed);

    // WaveData shows each failure's message.
    RecordingMovieHost host;
    WaveData data;
    EXPECT_EQ(data.load(folder.path("good.wav"), &host), 1);
    EXPECT_EQ(data.m_data.size(), 101u);
    EXPECT_EQ(data.lengthSeconds(), 0u);
    EXPECT_EQ(data.load(folder.path("missing.wav"), &host), 0);
    ASSERT_TRUE(WriteFileBytes(folder.path("bad.wav"), patched(40, 0xFFFFFFF0u)));
    EXPECT_EQ(data.load(folder.path("bad.wav"), &host), 0);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].text, "File not found!");
    EXPECT_EQ(host.messages[1].text, "Not wave file!");
}

TEST(SoundMerge, TwoSoundsJoinAtTheirStarts) {
    TestFolder folder("merge");
    // 8-bit mono 22,050 Hz, made by sox: 2 s starting at 1.5 s, 3 s at 4 s.
    for (auto [name, seconds] : {std::pair<const char*, int>{"a.wav", 2}, {"b.wav", 3}}) {
        int status = -1;
        RunCommand("sox -n -r 22050 -b 8 -c 1 -e unsigned-integer " + ShellQuote(folder.path(name)) + " synth " +
                       std::to_string(seconds) + " sine 440",
                   &status);
        ASSERT_EQ(status, 0) << "sox";
    }
    MovieWithSound movie(folder);
    ASSERT_TRUE(movie.writer.close());
    ASSERT_TRUE(movie.writer.mergeWaveFiles({{folder.path("a.wav"), 45}, {folder.path("b.wav"), 120}}));
    const std::string merged = movie.writer.mergedPath();
    EXPECT_EQ(merged, folder.path("merged0000.wav"));
    const std::vector<uint8_t> bytes = ReadFileBytes(merged);
    ASSERT_GE(bytes.size(), 44u);
    EXPECT_EQ(le32(bytes, 40), 154350u);
    EXPECT_EQ(le32(bytes, 4), 36u + 154350u);
    EXPECT_EQ(bytes.size(), 44u + 154350u);
    EXPECT_EQ(RunCommand("soxi -D " + ShellQuote(merged)), "7.000000\n");
    // Leading silence and the half second after the first sound are 0x80.
    const std::vector<uint8_t> a = ReadFileBytes(folder.path("a.wav"));
    for (size_t i : {size_t(0), size_t(33074), size_t(33075 + 44100), size_t(33075 + 55124)})
        EXPECT_EQ(bytes[44 + i], 0x80) << i;
    EXPECT_TRUE(std::equal(a.end() - 44100, a.end(), bytes.begin() + 44 + 33075));
    EXPECT_EQ(movie.writer.soundCopies().size(), 2u);
    movie.writer.deleteTemporaryFiles();
    EXPECT_EQ(folder.files(), (std::vector<std::string>{"a.wav", "b.wav"}));
}

TEST(SoundMerge, JoinsOnWholeSamplesAndConvertsToTheFirstFormat) {
    TestFolder folder("formats");
    // 16-bit stereo at 11,025 Hz: a frame is 1,470 bytes, not a whole
    // number of 4-byte samples.
    const std::vector<uint8_t> stereo = MakeWave(2, 11025, 16, repeat({0x34, 0x12, 0x78, 0x56}, 11025));
    const std::vector<uint8_t> loud16 = MakeWave(2, 44100, 16, repeat({0x00, 0x40, 0x00, 0x40}, 4410));
    const std::vector<uint8_t> mono8 = MakeWave(1, 22050, 8, std::vector<uint8_t>(2205, 0x20));
    ASSERT_TRUE(WriteFileBytes(folder.path("stereo.wav"), stereo));
    ASSERT_TRUE(WriteFileBytes(folder.path("loud16.wav"), loud16));
    ASSERT_TRUE(WriteFileBytes(folder.path("mono8.wav"), mono8));

    {
        MovieWithSound movie(folder);
        ASSERT_TRUE(movie.writer.close());
        ASSERT_TRUE(movie.writer.mergeWaveFiles({{folder.path("stereo.wav"), 1}, {folder.path("stereo.wav"), 4}}));
        const std::vector<uint8_t> bytes = ReadFileBytes(movie.writer.mergedPath());
        const uint32_t length = le32(bytes, 40);
        EXPECT_EQ(length % 4, 0u);
        EXPECT_EQ(length, 1468u + (5880u - 1468u) + 44100u);
        for (size_t at = 44 + 1468; at + 4 <= 44 + length; at += 4)
            ASSERT_EQ(std::memcmp(&bytes[at], "\x34\x12\x78\x56", 4), 0) << "sample at " << at;
        for (size_t at = 44; at < 44 + 1468; ++at) ASSERT_EQ(bytes[at], 0) << "16-bit silence";
        movie.writer.deleteTemporaryFiles();
    }
    {
        // The first sound sets the format: 8-bit mono 22,050 Hz; the 16-bit
        // stereo 44,100 Hz one (0.1 s at a quarter of full scale) follows.
        MovieWithSound movie(folder);
        ASSERT_TRUE(movie.writer.close());
        ASSERT_TRUE(movie.writer.mergeWaveFiles({{folder.path("mono8.wav"), 0}, {folder.path("loud16.wav"), 3}}));
        const std::string merged = movie.writer.mergedPath();
        EXPECT_EQ(RunCommand("soxi -c " + ShellQuote(merged)), "1\n");
        EXPECT_EQ(RunCommand("soxi -r " + ShellQuote(merged)), "22050\n");
        EXPECT_EQ(RunCommand("soxi -b " + ShellQuote(merged)), "8\n");
        const std::vector<uint8_t> bytes = ReadFileBytes(merged);
        ASSERT_EQ(le32(bytes, 40), 2205u + 2205u);
        EXPECT_EQ(bytes[44], 0x20);
        EXPECT_EQ(bytes[44 + 2205], 0xC0);
        EXPECT_EQ(bytes[44 + 4409], 0xC0);
        movie.writer.deleteTemporaryFiles();
    }
    EXPECT_EQ(folder.files(), (std::vector<std::string>{"loud16.wav", "mono8.wav", "stereo.wav"}));
}

TEST(SoundMerge, MovieCarriesTheSoundTrack) {
    TestFolder folder("track");
    ASSERT_TRUE(WriteFileBytes(folder.path("s.wav"), MakeWave(2, 22050, 16, repeat({1, 0, 2, 0}, 22050 * 2))));
    MovieWithSound movie(folder, 30);
    // One second of frames; the sound starts at 0.5 s and lasts 2 s.
    ASSERT_TRUE(movie.writer.finish(movie.finalPath, {{folder.path("s.wav"), 15}}));
    EXPECT_EQ(folder.files(), (std::vector<std::string>{"movie.avi", "s.wav"}));
    EXPECT_TRUE(movie.host.messages.empty());
    EXPECT_EQ(ProbeStream(movie.finalPath, "v:0", "nb_read_frames"), "30");
    EXPECT_EQ(ProbeStream(movie.finalPath, "a:0", "codec_name"), "pcm_s16le");
    EXPECT_EQ(ProbeStream(movie.finalPath, "a:0", "channels"), "2");
    EXPECT_EQ(ProbeStream(movie.finalPath, "a:0", "nb_frames"), "55125");  // 2.5 s of 22,050 Hz samples
    // What a player hears: half a second of silence, then the sound.
    const std::string pcm =
        RunCommand("ffmpeg -v error -i " + ShellQuote(movie.finalPath) + " -map 0:a -f s16le -acodec pcm_s16le -");
    ASSERT_EQ(pcm.size(), 4u * 55125u);
    EXPECT_EQ(pcm.substr(0, 44100), std::string(44100, '\0'));
    EXPECT_EQ(pcm.substr(44100, 8), std::string("\1\0\2\0\1\0\2\0", 8));
    EXPECT_EQ(pcm.substr(pcm.size() - 4), std::string("\1\0\2\0", 4));
}

TEST(SoundMerge, FailedMergeKeepsTheMovieWithoutSound) {
    TestFolder folder("fail");
    ASSERT_TRUE(WriteFileBytes(folder.path("ok.wav"), MakeWave(1, 22050, 8, std::vector<uint8_t>(22050, 0x90))));
    ASSERT_TRUE(WriteFileBytes(folder.path("float.wav"), MakeWave(1, 22050, 32, std::vector<uint8_t>(400, 0), 3)));
    std::vector<uint8_t> hostile = MakeWave(1, 22050, 8, std::vector<uint8_t>(100, 0x80));
    hostile[40] = hostile[41] = hostile[42] = hostile[43] = 0xFF;
    ASSERT_TRUE(WriteFileBytes(folder.path("hostile.wav"), hostile));
    struct Case {
        const char* name;
        AviSoundList sounds;
        const char* message;
    } cases[] = {
        {"missing sound", {{folder.path("ok.wav"), 0}, {folder.path("none.wav"), 10}}, "The wave file open failure!"},
        {"first sound not PCM", {{folder.path("float.wav"), 0}, {folder.path("ok.wav"), 10}},
         "The wave file couldn't be read!"},
        {"later sound not PCM", {{folder.path("ok.wav"), 0}, {folder.path("float.wav"), 10}},
         "The wave file couldn't be read!"},
        {"hostile chunk size", {{folder.path("hostile.wav"), 0}}, "The wave file couldn't be read!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MovieWithSound movie(folder, 3);
        ASSERT_TRUE(movie.writer.finish(movie.finalPath, c.sounds));
        ASSERT_EQ(movie.host.messages.size(), 1u);
        EXPECT_EQ(movie.host.messages[0].text, c.message);
        EXPECT_EQ(folder.files(), (std::vector<std::string>{"float.wav", "hostile.wav", "movie.avi", "ok.wav"}));
        EXPECT_EQ(ProbeStream(movie.finalPath, "v:0", "nb_read_frames"), "3");
        EXPECT_EQ(ProbeStream(movie.finalPath, "a", "codec_name"), "");
    }
}

}  // namespace
