// The Flash writer: the bit writer, the file's header and tag sequence read
// back by a parser of the format, and JPEG and lossless movies decoded by
// ffmpeg.
#include <gtest/gtest.h>

#include <zlib.h>

#include "export/SwfExport.h"
#include "export/SwfMovie.h"
#include "export/SwfOutput.h"
#include "tests/movies/MovieTestSupport.h"
#include "tests/support/JpegMarkers.h"

namespace {

struct BitReader {
    const std::vector<uint8_t>& b;
    size_t bit = 0;
    uint32_t bits(int n) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i, ++bit) v = v << 1 | ((b.at(bit / 8) >> (7 - bit % 8)) & 1);
        return v;
    }
    int32_t sbits(int n) {
        const uint32_t v = bits(n);
        return n && (v >> (n - 1)) ? int32_t(v | ~((1u << n) - 1)) : int32_t(v);
    }
    void align() { bit = (bit + 7) / 8 * 8; }
    size_t pos() const { return bit / 8; }
    uint32_t u16() { return uint32_t(b.at(pos())) | uint32_t(b.at(pos() + 1)) << 8; }
};

struct Tag {
    int code;
    std::vector<uint8_t> body;
    bool longHeader;
};

struct ParsedSwf {
    std::string signature;
    int version = 0;
    uint32_t length = 0;
    int32_t stage[4] = {};
    int rateHigh = -1, rateLow = -1;
    int frames = 0;
    std::vector<Tag> tags;
};

ParsedSwf parse(const std::vector<uint8_t>& file) {
    ParsedSwf s;
    s.signature.assign(file.begin(), file.begin() + 3);
    s.version = file[3];
    s.length = uint32_t(file[4]) | uint32_t(file[5]) << 8 | uint32_t(file[6]) << 16 | uint32_t(file[7]) << 24;
    BitReader r{file, 64};
    const int n = int(r.bits(5));
    for (int32_t& v : s.stage) v = r.sbits(n);
    r.align();
    size_t p = r.pos();
    s.rateLow = file[p];
    s.rateHigh = file[p + 1];
    s.frames = int(file[p + 2] | file[p + 3] << 8);
    p += 4;
    while (p + 2 <= file.size()) {
        const uint32_t head = uint32_t(file[p] | file[p + 1] << 8);
        p += 2;
        Tag t{int(head >> 6), {}, (head & 63) == 63};
        uint32_t len = head & 63;
        if (t.longHeader) {
            len = uint32_t(file[p]) | uint32_t(file[p + 1]) << 8 | uint32_t(file[p + 2]) << 16 |
                  uint32_t(file[p + 3]) << 24;
            p += 4;
        }
        if (p + len > file.size()) break;
        t.body.assign(file.begin() + long(p), file.begin() + long(p + len));
        p += len;
        s.tags.push_back(t);
        if (t.code == 0) break;
    }
    return s;
}

uint32_t u16(const std::vector<uint8_t>& b, size_t at) { return uint32_t(b.at(at) | b.at(at + 1) << 8); }

// A tag with a body of a given length.
class FixedTag : public SwfTag {
public:
    explicit FixedTag(size_t n) : m_n(n) {}
    int code() const override { return 9; }
    void writeBody(SwfOutput& out) const override {
        for (size_t i = 0; i < m_n; ++i) out.writeU8(uint32_t(i));
    }

private:
    size_t m_n;
};

TEST(SwfOutput, WritesBitsAndTagHeaders) {
    SwfOutput out;
    out.writeBits(5, 3);    // 101
    out.writeSBits(-2, 4);  // 1110
    out.writeBits(1, 1);    // 1
    out.writeBits(0x3, 2);  // 11
    out.align();
    out.writeU16(0x1234);
    out.writeU32(0xA1B2C3D4);
    EXPECT_EQ(out.bytes(), (std::vector<uint8_t>{0xBD, 0xC0, 0x34, 0x12, 0xD4, 0xC3, 0xB2, 0xA1}));
    struct Bits {
        int64_t v;
        int sbits;
    } table[] = {{0, 1}, {1, 2}, {-1, 1}, {-2, 2}, {255, 9}, {-256, 9}, {11600, 15}, {65520, 17}, {65535, 17}, {65536, 18}};
    for (const Bits& b : table) EXPECT_EQ(SwfBitsSigned(b.v), b.sbits) << b.v;

    for (size_t n : {size_t(62), size_t(63)}) {
        SwfOutput tag;
        FixedTag(n).write(tag);
        const std::vector<uint8_t>& b = tag.bytes();
        ASSERT_EQ(b.size(), n + (n < 63 ? 2 : 6)) << n;
        EXPECT_EQ(u16(b, 0), (9u << 6) | (n < 63 ? n : 63u)) << n;
        if (n == 63) {
            EXPECT_EQ(u16(b, 2) | u16(b, 4) << 16, 63u);
        }
    }
    // External blocks land in place.
    SwfOutput withBlock;
    withBlock.writeU8(1);
    withBlock.writeBlock(std::make_shared<std::vector<uint8_t>>(std::vector<uint8_t>{7, 8}));
    withBlock.writeU8(2);
    SwfOutput outer;
    outer.writeU8(0);
    outer.append(withBlock);
    EXPECT_EQ(outer.size(), 5u);
    char name[] = "/tmp/kv-movies-swfout-XXXXXX";
    const int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    FILE* f = fdopen(fd, "wb");
    ASSERT_TRUE(outer.writeTo(f));
    std::fclose(f);
    EXPECT_EQ(ReadFileBytes(name), (std::vector<uint8_t>{0, 1, 7, 8, 2}));
    std::remove(name);
}

TEST(SwfExport, ThreeFramesGiveTheTagSequence) {
    for (int jpeg : {0, 1}) {
        SCOPED_TRACE(jpeg ? "jpeg" : "lossless");
        TestFolder folder("swf3");
        RecordingMovieHost host;
        SwfExport swf(&host);
        const int w = 30, h = 20;
        ASSERT_EQ(swf.open(folder.path("m.swf"), 3, w, h, jpeg, 60, 12, 32), 0);
        for (int i = 0; i < 3; ++i) {
            std::vector<uint8_t> frame = MakeFrame(w, h, i, 4, i == 1 ? 128 : 255);
            ASSERT_EQ(swf.addFrame(i, frame.data()), 0);
        }
        ASSERT_EQ(swf.close(), 0);
        EXPECT_EQ(folder.files(), std::vector<std::string>{"m.swf"});
        const std::vector<uint8_t> file = ReadFileBytes(folder.path("m.swf"));
        const ParsedSwf s = parse(file);
        EXPECT_EQ(s.signature, "FWS");
        EXPECT_EQ(s.version, 4);
        EXPECT_EQ(s.length, file.size());
        EXPECT_EQ(std::vector<int32_t>(s.stage, s.stage + 4), (std::vector<int32_t>{0, w * 20, 0, h * 20}));
        EXPECT_EQ(s.rateLow, 0);
        EXPECT_EQ(s.rateHigh, 12);
        EXPECT_EQ(s.frames, 3);
        const int bitmap = jpeg ? 21 : 36;
        std::vector<int> codes;
        for (const Tag& t : s.tags) codes.push_back(t.code);
        EXPECT_EQ(codes, (std::vector<int>{bitmap, 32, 26, 1, 5, bitmap, 32, 26, 1, 5, bitmap, 32, 26, 1, 0}));
        std::vector<uint32_t> ids, removed, placed, depths;
        for (const Tag& t : s.tags) {
            if (t.code == bitmap || t.code == 32) ids.push_back(u16(t.body, 0));
            if (t.code == 5) removed.push_back(u16(t.body, 0));
            if (t.code == 26) {
                EXPECT_EQ(t.body[0], 0x06);
                depths.push_back(u16(t.body, 1));
                placed.push_back(u16(t.body, 3));
            }
        }
        EXPECT_EQ(ids, (std::vector<uint32_t>{1, 2, 3, 4, 5, 6}));
        EXPECT_EQ(placed, (std::vector<uint32_t>{2, 4, 6}));
        EXPECT_EQ(removed, (std::vector<uint32_t>{2, 4}));
        EXPECT_EQ(depths, (std::vector<uint32_t>{0, 1, 2}));
        const Tag& first = s.tags[0];
        if (jpeg) {
            // FF D9 FF D8, the JPEG file (FF D8 ... FF D9), FF D9.
            const std::vector<uint8_t> start(first.body.begin() + 2, first.body.begin() + 8);
            EXPECT_EQ(start, (std::vector<uint8_t>{0xFF, 0xD9, 0xFF, 0xD8, 0xFF, 0xD8}));
            const std::vector<uint8_t> end(first.body.end() - 4, first.body.end());
            EXPECT_EQ(end, (std::vector<uint8_t>{0xFF, 0xD9, 0xFF, 0xD9}));
        } else {
            // Format 5, the size, and A, R, G, B premultiplied by alpha.
            EXPECT_EQ(first.body[2], 5);
            EXPECT_EQ(u16(first.body, 3), uint32_t(w));
            EXPECT_EQ(u16(first.body, 5), uint32_t(h));
            const Tag& second = s.tags[5];
            std::vector<uint8_t> argb(size_t(w) * h * 4);
            uLongf size = argb.size();
            ASSERT_EQ(uncompress(argb.data(), &size, second.body.data() + 7, second.body.size() - 7), Z_OK);
            ASSERT_EQ(size, argb.size());
            const std::vector<uint8_t> input = MakeFrame(w, h, 1, 4, 128);
            for (size_t i = 0; i < size_t(w) * h; ++i) {
                ASSERT_EQ(argb[4 * i], 128);
                ASSERT_EQ(argb[4 * i + 1], (input[4 * i + 2] * 128 + 127) / 255) << i;
                ASSERT_EQ(argb[4 * i + 3], (input[4 * i] * 128 + 127) / 255) << i;
            }
        }
    }
}

TEST(SwfExport, DecodedByFfmpeg) {
    for (int jpeg : {0, 1}) {
        SCOPED_TRACE(jpeg ? "jpeg" : "lossless");
        TestFolder folder("swfdec");
        SwfExport swf;
        const int w = 580, h = 392, n = 4;
        ASSERT_EQ(swf.open(folder.path("m.swf"), n, w, h, jpeg, 90, 12, 32), 0);
        std::vector<uint8_t> first;
        for (int i = 0; i < n; ++i) {
            std::vector<uint8_t> frame = MakeFrame(w, h, i, 4);
            if (i == 0) first = frame;
            ASSERT_EQ(swf.addFrame(i, frame.data()), 0);
        }
        ASSERT_EQ(swf.close(), 0);
        const std::string path = folder.path("m.swf");
        EXPECT_EQ(ProbeStream(path, "v:0", "nb_read_frames"), std::to_string(n));
        const std::vector<uint8_t> decoded = DecodeFrames(path, "bgra", 1);
        if (jpeg) {
            EXPECT_GE(Psnr(decoded, first), 35.0);
        } else {
            EXPECT_EQ(decoded, first);
        }
    }
}

// Flash players take baseline JPEG bitmaps only: quality 10 stays baseline.
TEST(SwfExport, JpegFramesStayBaselineAtLowQuality) {
    TestFolder folder("swfq10");
    SwfExport swf;
    ASSERT_EQ(swf.open(folder.path("m.swf"), 1, 64, 48, 1, 10, 12, 32), 0);
    std::vector<uint8_t> frame = MakeFrame(64, 48, 0, 4);
    ASSERT_EQ(swf.addFrame(0, frame.data()), 0);
    ASSERT_EQ(swf.close(), 0);
    const ParsedSwf s = parse(ReadFileBytes(folder.path("m.swf")));
    ASSERT_FALSE(s.tags.empty());
    ASSERT_EQ(s.tags[0].code, 21);
    // After the id and FF D9 FF D8 comes the JPEG file.
    const JpegHeaderInfo info =
        ReadJpegHeaderInfo(std::vector<uint8_t>(s.tags[0].body.begin() + 6, s.tags[0].body.end()));
    EXPECT_EQ(info.frameMarker, 0xC0);
    EXPECT_FALSE(info.wideTables);
}

TEST(SwfExport, RefusesWhatItCannotWrite) {
    TestFolder folder("swfbad");
    RecordingMovieHost host;
    SwfExport swf(&host);
    EXPECT_EQ(swf.open(folder.path("m.swf"), 2, 3277, 10, 0, 60, 12, 32), -1);
    EXPECT_EQ(swf.open(folder.path("m.swf"), 2, 10, 3277, 0, 60, 12, 32), -1);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].caption, "Error");
    EXPECT_EQ(swf.open(folder.path("m.swf"), 0, 10, 10, 0, 60, 12, 32), -1);
    EXPECT_EQ(swf.open(folder.path("m.swf"), 2, 10, 10, 0, 60, 12, 24), -1);

    // The frame index is checked; the rate is clamped to 1..255.
    for (auto [rate, stored] : {std::pair<int, int>{0, 1}, {300, 255}}) {
        ASSERT_EQ(swf.open(folder.path("m.swf"), 2, 10, 10, 0, 60, rate, 32), 0);
        std::vector<uint8_t> frame = MakeFrame(10, 10, 0, 4);
        EXPECT_EQ(swf.addFrame(-1, frame.data()), -1);
        EXPECT_EQ(swf.addFrame(2, frame.data()), -1);
        EXPECT_EQ(swf.addFrame(0, nullptr), -1);
        EXPECT_EQ(swf.addFrame(0, frame.data()), 0);
        EXPECT_EQ(swf.addFrame(0, frame.data()), -1);
        ASSERT_EQ(swf.close(), 0);
        const ParsedSwf s = parse(ReadFileBytes(folder.path("m.swf")));
        EXPECT_EQ(s.rateHigh, stored);
        EXPECT_EQ(s.frames, 1);
    }
    // A folder that does not exist: no file, and the failure is reported.
    ASSERT_EQ(swf.open(folder.path("none/m.swf"), 1, 10, 10, 1, 60, 12, 32), 0);
    std::vector<uint8_t> frame = MakeFrame(10, 10, 0, 4);
    ASSERT_EQ(swf.addFrame(0, frame.data()), 0);
    EXPECT_EQ(swf.close(), -1);
    EXPECT_EQ(swf.close(), -1);
    EXPECT_EQ(folder.files(), std::vector<std::string>{"m.swf"});
}

}  // namespace
