#include "assets/ModelFileText.h"

#include <charconv>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <cerrno>
#include <memory>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace modeltext {

FileLines::~FileLines() {
    if (fd_ >= 0) close(fd_);
}

bool FileLines::open(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return false;
    struct stat st;
    if (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd_);
        fd_ = -1;
        return false;
    }
    cap_ = 1 << 16;
    buf_.reset(new char[cap_]);
    begin_ = end_ = 0;
    eof_ = error_ = false;
    return true;
}

bool FileLines::rewind() {
    if (fd_ < 0 || lseek(fd_, 0, SEEK_SET) != 0) return false;
    begin_ = end_ = 0;
    eof_ = error_ = false;
    return true;
}

bool FileLines::fill() {
    if (begin_ > 0) {
        std::memmove(buf_.get(), buf_.get() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == cap_) {
        // One line fills the buffer: grow it (a file's line is bounded by the file).
        std::unique_ptr<char[]> bigger(new char[cap_ * 2]);
        std::memcpy(bigger.get(), buf_.get(), end_);
        buf_ = std::move(bigger);
        cap_ *= 2;
    }
    for (;;) {
        ssize_t n = ::read(fd_, buf_.get() + end_, cap_ - end_);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error_ = true;
        if (n <= 0) {
            eof_ = true;
            return false;
        }
        end_ += static_cast<size_t>(n);
        return true;
    }
}

bool FileLines::next(std::string_view& line) {
    if (fd_ < 0) return false;
    size_t scanned = begin_;
    for (;;) {
        const char* b = buf_.get();
        const char* nl = static_cast<const char*>(std::memchr(b + scanned, '\n', end_ - scanned));
        if (nl || (eof_ && begin_ < end_)) {
            const char* e = nl ? nl : b + end_;
            line = std::string_view(b + begin_, static_cast<size_t>(e - (b + begin_)));
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            begin_ = nl ? static_cast<size_t>(nl + 1 - b) : end_;
            return true;
        }
        if (eof_) return false;
        size_t pending = end_ - begin_;
        fill();
        scanned = pending;  // the part already searched moved to the front
    }
}

void adviseHugePages(const void* data, size_t bytes) {
    const uintptr_t huge = uintptr_t(1) << 21;
    if (!data || bytes < 2 * huge) return;
    uintptr_t b = (reinterpret_cast<uintptr_t>(data) + huge - 1) & ~(huge - 1);
    uintptr_t e = reinterpret_cast<uintptr_t>(data) + bytes;
    if (e > b) madvise(reinterpret_cast<void*>(b), e - b, MADV_HUGEPAGE);  // advice only: failure is harmless
}

std::string_view restOfLine(std::string_view line, size_t pos) {
    if (pos > line.size()) pos = line.size();
    std::string_view r = line.substr(pos);
    while (!r.empty() && isBlank(r.front())) r.remove_prefix(1);
    while (!r.empty() && isBlank(r.back())) r.remove_suffix(1);
    return r;
}

namespace {

// Powers of ten that a float holds exactly.
constexpr float kExactTens[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};

// The common spelling "-123.456" or "1.5e-3" with few digits, converted with
// one rounding: the digits and the power of ten are both exact floats, so one
// multiplication or division rounds as a correctly rounding parser does.
// False for anything else, which the full parser then takes.
bool parseShortDecimal(const char* p, const char* e, float& out) {
    const bool negative = p < e && *p == '-';
    if (negative) ++p;
    const char* start = p;
    uint64_t digits = 0;
    unsigned d;
    for (; p < e && (d = static_cast<unsigned>(*p - '0')) <= 9; ++p) digits = digits * 10 + d;
    if (p == start) return false;
    int exponent = 0;
    if (p < e && *p == '.') {
        const char* fraction = ++p;
        for (; p < e && (d = static_cast<unsigned>(*p - '0')) <= 9; ++p) digits = digits * 10 + d;
        if (p == fraction) return false;
        exponent = -static_cast<int>(p - fraction);
    }
    // Longer digit strings could have wrapped: the full parser takes those.
    if (p - start > 19) return false;
    if (p < e && (*p == 'e' || *p == 'E')) {
        ++p;
        const bool down = p < e && *p == '-';
        if (p < e && (*p == '-' || *p == '+')) ++p;
        const char* first = p;
        int written = 0;
        for (; p < e && (d = static_cast<unsigned>(*p - '0')) <= 9 && p - first < 3; ++p) written = written * 10 + int(d);
        if (p == first) return false;
        exponent += down ? -written : written;
    }
    if (p != e || digits > (1u << 24) || exponent < -10 || exponent > 10) return false;
    float v = static_cast<float>(digits);
    v = exponent < 0 ? v / kExactTens[-exponent] : v * kExactTens[exponent];
    out = negative ? -v : v;
    return true;
}

}  // namespace

bool parseFloat(std::string_view word, float& out) {
    const char* b = word.data();
    const char* e = b + word.size();
    if (b < e && *b == '+') ++b;
    if (parseShortDecimal(b, e, out)) return true;
    auto res = std::from_chars(b, e, out, std::chars_format::general);
    // Out-of-range values leave `out` untouched and count as unreadable.
    return res.ec == std::errc() && res.ptr != b;
}

int readFloats(std::string_view line, size_t& pos, float* out, int n) {
    int got = 0;
    for (int i = 0; i < n; ++i) {
        std::string_view w = nextWord(line, pos);
        if (w.empty()) break;
        float v;
        if (!parseFloat(w, v)) break;
        out[i] = v;
        ++got;
    }
    return got;
}

}  // namespace modeltext
