// The sound track: the WAVE reader, the PCM converter, the merge of the
// scene's sounds into one WAVE file and the movie with its audio stream.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "export/CAviWriter.h"
#include "export/WaveData.h"
#include "platform/PcmConverter.h"
#include "platform/WaveFile.h"
#include "tests/movies/MovieTestSupport.h"
#include "tests/support/ToolCheck.h"

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

// Makes a sound file with sox (or ffmpeg); the command has %s for the file.
void makeSound(const std::string& command, const std::string& file) {
    std::string line = command;
    line.replace(line.find("%s"), 2, ShellQuote(file));
    int status = -1;
    RunCommand(line, &status);
    ASSERT_EQ(status, 0) << line;
}

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
        // Wider integers round to the nearest step.
        {"24 to 16 bits", {1, 8000, 24}, {1, 8000, 16}, {0x56, 0x34, 0x12, 0x80, 0, 0, 0xFF, 0xFF, 0xFF},
         {0x34, 0x12, 0x01, 0x00, 0x00, 0x00}},
        {"32 to 16 bits", {1, 8000, 32}, {1, 8000, 16}, {0, 0, 0, 0x80, 0xFF, 0xFF, 0xFF, 0x7F}, {0x00, 0x80, 0xFF, 0x7F}},
        {"16 to 24 bits", {1, 8000, 16}, {1, 8000, 24}, {0x34, 0x12}, {0x00, 0x34, 0x12}},
        // 0.5, -1.0, 2.0 (clipped) and NaN (silence).
        {"float to 16 bits", {1, 8000, 32, PcmEncoding::Float}, {1, 8000, 16},
         {0, 0, 0, 0x3F, 0, 0, 0x80, 0xBF, 0, 0, 0, 0x40, 0, 0, 0xC0, 0x7F}, {0x00, 0x40, 0x00, 0x80, 0xFF, 0x7F, 0, 0}},
        {"double to 8 bits", {1, 8000, 64, PcmEncoding::Float}, {1, 8000, 8}, {0, 0, 0, 0, 0, 0, 0xD0, 0x3F}, {0xA0}},
        {"float stereo to 24-bit mono", {2, 8000, 32, PcmEncoding::Float}, {1, 8000, 24},
         {0, 0, 0, 0x3F, 0, 0, 0x80, 0xBE}, {0x00, 0x00, 0x10}},
        {"A-law", {1, 8000, 8, PcmEncoding::ALaw}, {1, 8000, 16}, {0xD5, 0x55, 0xAA}, {0x08, 0x00, 0xF8, 0xFF, 0x00, 0x7E}},
        {"mu-law", {1, 8000, 8, PcmEncoding::MuLaw}, {1, 8000, 16}, {0xFF, 0x00, 0x80}, {0x00, 0x00, 0x84, 0x82, 0x7C, 0x7D}},
        {"never float out", {1, 8000, 16}, {1, 8000, 32, PcmEncoding::Float}, {1, 2}, {}},
        {"never A-law out", {1, 8000, 16}, {1, 8000, 8, PcmEncoding::ALaw}, {1, 2}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConvertPcm(c.in.data(), c.in.size(), c.from, c.to), c.out) << c.name;
    }
}

// Sound files of every coding that sox and ffmpeg write: our reading of the
// format and our 16-bit samples agree with sox's own decoding.
TEST(PcmConverter, DecodesWhatSoxAndFfmpegWriteAsSoxDoes) {
    REQUIRE_TOOL("sox");
    REQUIRE_TOOL("ffmpeg");
    TestFolder folder("codings");
    struct Case {
        const char* name;
        std::string make;  // the command, with %s for the file
        PcmEncoding encoding;
        int bits, channels;
        uint16_t formatTag;  // the tag of the file's format record
    } cases[] = {
        {"24-bit", "sox -n -r 22050 -b 24 -c 1 %s synth 0.2 sine 440", PcmEncoding::Integer, 24, 1,
         kWaveFormatExtensible},
        {"32-bit", "sox -n -r 11025 -b 32 -c 2 %s synth 0.2 sine 440 sine 660", PcmEncoding::Integer, 32, 2,
         kWaveFormatExtensible},
        {"float", "sox -n -r 44100 -b 32 -e float -c 2 %s synth 0.2 sine 440 sine 660", PcmEncoding::Float, 32, 2,
         kWaveFormatIeeeFloat},
        {"double", "sox -n -r 8000 -b 64 -e float -c 1 %s synth 0.2 sine 440", PcmEncoding::Float, 64, 1,
         kWaveFormatIeeeFloat},
        {"A-law", "sox -n -r 8000 -e a-law -c 1 %s synth 0.2 sine 440", PcmEncoding::ALaw, 8, 1, kWaveFormatALaw},
        {"mu-law", "sox -n -r 8000 -e u-law -c 2 %s synth 0.2 sine 440 sine 660", PcmEncoding::MuLaw, 8, 2,
         kWaveFormatMuLaw},
        {"ffmpeg float", "ffmpeg -v error -f lavfi -i sine=f=440:d=0.2 -c:a pcm_f32le %s", PcmEncoding::Float, 32, 1,
         kWaveFormatExtensible},
        {"ffmpeg 24-bit", "ffmpeg -v error -f lavfi -i sine=f=440:d=0.2 -c:a pcm_s24le %s", PcmEncoding::Integer, 24,
         1, kWaveFormatExtensible},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // One file per case: ffmpeg does not overwrite.
        const std::string file = folder.path(std::string(c.name) + ".wav"), reference = folder.path("ref.wav");
        ASSERT_NO_FATAL_FAILURE(makeSound(c.make, file));
        WaveData wave;
        ASSERT_EQ(wave.load(file, nullptr), 1);
        EXPECT_EQ(wave.m_format.formatTag, c.formatTag);
        const PcmFormat from = wave.pcmFormat();
        ASSERT_TRUE(from.isValid());
        EXPECT_EQ(from.encoding, c.encoding);
        EXPECT_EQ(from.bitsPerSample, c.bits);
        EXPECT_EQ(from.channels, c.channels);
        const PcmFormat target = PcmTargetFormat(from);
        EXPECT_TRUE(target.isPcm());
        EXPECT_EQ(target.bitsPerSample, c.encoding == PcmEncoding::Integer ? c.bits : 16);

        PcmFormat to16 = from;
        to16.bitsPerSample = 16;
        to16.encoding = PcmEncoding::Integer;
        const std::vector<uint8_t> ours = ConvertPcm(wave.m_data.data(), wave.m_data.size(), from, to16);
        int status = -1;
        RunCommand("sox -D " + ShellQuote(file) + " -e signed-integer -b 16 " + ShellQuote(reference), &status);
        ASSERT_EQ(status, 0);
        WaveData sox;
        ASSERT_EQ(sox.load(reference, nullptr), 1);
        ASSERT_EQ(ours.size(), sox.m_data.size());
        int worst = 0;
        for (size_t i = 0; i + 1 < ours.size(); i += 2) {
            const int a = int16_t(uint16_t(ours[i] | ours[i + 1] << 8));
            const int b = int16_t(uint16_t(sox.m_data[i] | sox.m_data[i + 1] << 8));
            worst = std::max(worst, std::abs(a - b));
        }
        EXPECT_LE(worst, 1);
    }
}

TEST(WaveFile, SampleFormatsOfFormatRecords) {
    auto record = [](uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint16_t align) {
        WaveFormatRecord f;
        f.formatTag = tag, f.channels = channels, f.samplesPerSec = rate, f.bitsPerSample = bits, f.blockAlign = align;
        f.raw.assign(18, 0);
        return f;
    };
    // WAVE_FORMAT_EXTENSIBLE: cbSize 22, valid bits, channel mask, sub-format GUID.
    auto extensible = [&](uint16_t subTag, uint16_t bits, uint16_t validBits) {
        WaveFormatRecord f = record(kWaveFormatExtensible, 2, 48000, bits, uint16_t(bits / 4));
        f.raw.assign(40, 0);
        f.raw[16] = 22;
        f.raw[18] = uint8_t(validBits);
        f.raw[20] = 3;
        f.raw[24] = uint8_t(subTag);
        const uint8_t tail[] = {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
        std::copy(tail, tail + 14, f.raw.begin() + 26);
        return f;
    };
    WaveFormatRecord badGuid = extensible(1, 24, 24);
    badGuid.raw[39] = 0x72;
    WaveFormatRecord shortExtension = extensible(1, 24, 24);
    shortExtension.raw[16] = 20;
    struct Case {
        const char* name;
        WaveFormatRecord record;
        bool readable;
        PcmEncoding encoding;
        int bits;
    } cases[] = {
        {"8-bit PCM", record(1, 1, 22050, 8, 1), true, PcmEncoding::Integer, 8},
        {"24-bit PCM", record(1, 2, 44100, 24, 6), true, PcmEncoding::Integer, 24},
        {"float", record(3, 1, 44100, 32, 4), true, PcmEncoding::Float, 32},
        {"double", record(3, 2, 44100, 64, 16), true, PcmEncoding::Float, 64},
        {"A-law", record(6, 1, 8000, 8, 1), true, PcmEncoding::ALaw, 8},
        {"mu-law", record(7, 2, 8000, 8, 2), true, PcmEncoding::MuLaw, 8},
        {"extensible 20 of 24 bits", extensible(1, 24, 20), true, PcmEncoding::Integer, 24},
        {"extensible float", extensible(3, 32, 32), true, PcmEncoding::Float, 32},
        {"extensible A-law", extensible(6, 8, 8), true, PcmEncoding::ALaw, 8},
        {"extensible, wrong GUID", badGuid, false, PcmEncoding::Integer, 0},
        {"extensible, short extension", shortExtension, false, PcmEncoding::Integer, 0},
        {"extensible, more valid bits than the container", extensible(1, 16, 24), false, PcmEncoding::Integer, 0},
        {"extensible ADPCM", extensible(2, 16, 16), false, PcmEncoding::Integer, 0},
        {"MS ADPCM", record(2, 1, 22050, 4, 256), false, PcmEncoding::Integer, 0},
        {"12-bit PCM", record(1, 1, 22050, 12, 2), false, PcmEncoding::Integer, 0},
        {"16-bit float", record(3, 1, 22050, 16, 2), false, PcmEncoding::Integer, 0},
        {"16-bit A-law", record(6, 1, 8000, 16, 2), false, PcmEncoding::Integer, 0},
        {"three channels", record(1, 3, 22050, 16, 6), false, PcmEncoding::Integer, 0},
        {"block align off", record(1, 2, 22050, 16, 2), false, PcmEncoding::Integer, 0},
        {"rate past 768 kHz", record(1, 1, 0x80000000u, 16, 2), false, PcmEncoding::Integer, 0},
    };
    for (const Case& c : cases) {
        PcmFormat f;
        ASSERT_EQ(WaveSampleFormat(c.record, f), c.readable) << c.name;
        if (!c.readable) continue;
        EXPECT_EQ(f.encoding, c.encoding) << c.name;
        EXPECT_EQ(f.bitsPerSample, c.bits) << c.name;
        EXPECT_EQ(f.channels, c.record.channels) << c.name;
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

// The largest sample magnitude of the 16-bit signed samples in bytes[from, to).
int peak16(const std::string& pcm, size_t from, size_t to) {
    int peak = 0;
    for (size_t i = from; i + 1 < to && i + 1 < pcm.size(); i += 2)
        peak = std::max(peak, std::abs(int(int16_t(uint16_t(uint8_t(pcm[i]) | uint8_t(pcm[i + 1]) << 8)))));
    return peak;
}

const char kLeftOut[] = "These sounds cannot be read or converted and are left out of the movie:";

TEST(SoundMerge, SoundsOfEveryCodingJoinInTheFirstSoundsFormat) {
    REQUIRE_TOOL("sox");
    REQUIRE_TOOL("ffmpeg");
    TestFolder folder("codings");
    // Half a second each.
    makeSound("sox -n -r 22050 -b 24 -c 1 %s synth 0.5 sine 440", folder.path("s24.wav"));
    makeSound("ffmpeg -v error -f lavfi -i sine=f=660:d=0.5 -ac 2 -ar 44100 -c:a pcm_f32le %s", folder.path("f32.wav"));
    makeSound("sox -n -r 8000 -e u-law -c 1 %s synth 0.5 sine 550", folder.path("ulaw.wav"));
    makeSound("sox -n -r 8000 -b 8 -c 1 %s synth 0.5 sine 330", folder.path("u8.wav"));
    makeSound("sox -n -r 22050 -e ima-adpcm -c 1 %s synth 0.5 sine 440", folder.path("ima.wav"));
    struct Case {
        const char* name;
        AviSoundList sounds;       // starting at 0, 1 s and 2 s
        const char* bits;          // soxi -b of the merged file
        const char* rate;          // soxi -r
        std::string leftOut;       // the message's list, empty for none
    } cases[] = {
        {"24-bit first keeps 24 bits", {{folder.path("s24.wav"), 0}, {folder.path("f32.wav"), 30},
                                        {folder.path("ulaw.wav"), 60}}, "24", "22050", ""},
        {"float first gives 16 bits", {{folder.path("f32.wav"), 0}, {folder.path("s24.wav"), 30},
                                       {folder.path("u8.wav"), 60}}, "16", "44100", ""},
        {"mu-law first gives 16 bits", {{folder.path("ulaw.wav"), 0}, {folder.path("ima.wav"), 30},
                                        {folder.path("s24.wav"), 60}}, "16", "8000", "\n" + folder.path("ima.wav")},
        {"ADPCM first is left out", {{folder.path("ima.wav"), 0}, {folder.path("u8.wav"), 30},
                                     {folder.path("f32.wav"), 60}}, "8", "8000", "\n" + folder.path("ima.wav")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MovieWithSound movie(folder, 3);
        ASSERT_TRUE(movie.writer.close());
        ASSERT_TRUE(movie.writer.mergeWaveFiles(c.sounds));
        const std::string merged = movie.writer.mergedPath();
        const std::vector<uint8_t> bytes = ReadFileBytes(merged);
        ASSERT_GE(bytes.size(), 44u);
        EXPECT_EQ(bytes[20] | bytes[21] << 8, 1) << "plain PCM header";
        EXPECT_EQ(RunCommand("soxi -e " + ShellQuote(merged)),
                  std::string(c.bits) == "8" ? "Unsigned Integer PCM\n" : "Signed Integer PCM\n");
        EXPECT_EQ(RunCommand("soxi -b " + ShellQuote(merged)), std::string(c.bits) + "\n");
        EXPECT_EQ(RunCommand("soxi -r " + ShellQuote(merged)), std::string(c.rate) + "\n");
        // A left-out first sound leaves its second as silence; the last sound
        // runs whole: 2.5 s in all.
        EXPECT_EQ(RunCommand("soxi -D " + ShellQuote(merged)), "2.500000\n");
        if (c.leftOut.empty()) {
            EXPECT_TRUE(movie.host.messages.empty());
        } else {
            ASSERT_EQ(movie.host.messages.size(), 1u);
            EXPECT_EQ(movie.host.messages[0].text, kLeftOut + c.leftOut);
        }
        // Each sound is heard in the first half of its second (ffmpeg's sine
        // peaks at an eighth of full scale), silence fills the second halves.
        const std::string pcm = RunCommand("sox -D " + ShellQuote(merged) + " -t raw -e signed -b 16 -c 1 -");
        const size_t second = size_t(std::stoi(c.rate)) * 2;
        for (int s = 0; s < 3; ++s) {
            if (c.sounds[size_t(s)].path == folder.path("ima.wav")) {
                EXPECT_LE(peak16(pcm, s * second, (s + 1) * second), 256) << "left out " << s;
            } else {
                EXPECT_GT(peak16(pcm, s * second, s * second + second / 2), 2000) << "sound " << s;
            }
            if (s < 2) {
                EXPECT_LE(peak16(pcm, s * second + second / 2 + 64, (s + 1) * second), 256) << "after " << s;
            }
        }
        movie.writer.deleteTemporaryFiles();
    }
}

TEST(SoundMerge, LeftOutSoundsAreNamedAndTheOthersGoIn) {
    TestFolder folder("leftout");
    ASSERT_TRUE(WriteFileBytes(folder.path("ok.wav"), MakeWave(1, 22050, 8, std::vector<uint8_t>(22050, 0x90))));
    // MS ADPCM: a coding our converter does not read.
    ASSERT_TRUE(WriteFileBytes(folder.path("adpcm.wav"), MakeWave(1, 22050, 4, std::vector<uint8_t>(512, 0x11), 2)));
    MovieWithSound movie(folder, 3);
    ASSERT_TRUE(movie.writer.finish(movie.finalPath, {{folder.path("ok.wav"), 0},
                                                      {folder.path("none.wav"), 10},
                                                      {folder.path("adpcm.wav"), 20}}));
    ASSERT_EQ(movie.host.messages.size(), 1u);
    EXPECT_EQ(movie.host.messages[0].text,
              std::string(kLeftOut) + "\n" + folder.path("none.wav") + "\n" + folder.path("adpcm.wav"));
    EXPECT_EQ(folder.files(), (std::vector<std::string>{"adpcm.wav", "movie.avi", "ok.wav"}));
    EXPECT_EQ(ProbeStream(movie.finalPath, "a:0", "codec_name"), "pcm_u8");
    EXPECT_EQ(ProbeStream(movie.finalPath, "a:0", "nb_frames"), "22050");  // the one sound, whole
}

TEST(SoundMerge, FailedMergeKeepsTheMovieWithoutSound) {
    TestFolder folder("fail");
    ASSERT_TRUE(WriteFileBytes(folder.path("ok.wav"), MakeWave(1, 22050, 8, std::vector<uint8_t>(22050, 0x90))));
    ASSERT_TRUE(WriteFileBytes(folder.path("adpcm.wav"), MakeWave(1, 22050, 4, std::vector<uint8_t>(400, 0), 2)));
    std::vector<uint8_t> hostile = MakeWave(1, 22050, 8, std::vector<uint8_t>(100, 0x80));
    hostile[40] = hostile[41] = hostile[42] = hostile[43] = 0xFF;
    ASSERT_TRUE(WriteFileBytes(folder.path("hostile.wav"), hostile));
    struct Case {
        const char* name;
        AviSoundList sounds;
        std::string message;
    } cases[] = {
        {"first sound missing", {{folder.path("none.wav"), 0}, {folder.path("ok.wav"), 10}},
         "The wave file open failure!"},
        {"no sound can be converted", {{folder.path("adpcm.wav"), 0}, {folder.path("adpcm.wav"), 10}},
         std::string(kLeftOut) + "\n" + folder.path("adpcm.wav") + "\n" + folder.path("adpcm.wav")},
        {"hostile chunk size", {{folder.path("hostile.wav"), 0}, {folder.path("ok.wav"), 10}},
         "The wave file couldn't be read!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MovieWithSound movie(folder, 3);
        ASSERT_TRUE(movie.writer.finish(movie.finalPath, c.sounds));
        ASSERT_EQ(movie.host.messages.size(), 1u);
        EXPECT_EQ(movie.host.messages[0].text, c.message);
        EXPECT_EQ(folder.files(), (std::vector<std::string>{"adpcm.wav", "hostile.wav", "movie.avi", "ok.wav"}));
        EXPECT_EQ(ProbeStream(movie.finalPath, "v:0", "nb_read_frames"), "3");
        EXPECT_EQ(ProbeStream(movie.finalPath, "a", "codec_name"), "");
    }
}

}  // namespace
