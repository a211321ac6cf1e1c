// Line and number scanning shared by the OBJ and MTL readers. Numbers are
// parsed in the C locale whatever the program's locale.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace modeltext {

// Reads a text file line by line through a small buffer (a line longer than
// the buffer grows it), without the line ends ("\n" or "\r\n"). Both passes
// of the material library reader go through it, the second after rewind().
class FileLines {
public:
    FileLines() = default;
    ~FileLines();
    FileLines(const FileLines&) = delete;
    FileLines& operator=(const FileLines&) = delete;

    // False when the file cannot be opened or is not a regular file.
    bool open(const std::string& path);
    // The next line; false at the end of the file or after a read error.
    bool next(std::string_view& line);
    bool rewind();
    bool failed() const { return error_; }

private:
    bool fill();

    int fd_ = -1;
    std::unique_ptr<char[]> buf_;
    size_t cap_ = 0, begin_ = 0, end_ = 0;
    bool eof_ = false, error_ = false;
};

// Reserves room for `n` elements; a large array asks for huge pages, which
// spares most of the page faults its first filling would take.
void adviseHugePages(const void* data, size_t bytes);
template <typename T>
void reserveLarge(std::vector<T>& v, size_t n) {
    v.reserve(n);
    adviseHugePages(v.data(), n * sizeof(T));
}

inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

// Next blank-separated word of `line` from `pos`; empty at the end.
inline std::string_view nextWord(std::string_view line, size_t& pos) {
    const size_t n = line.size();
    while (pos < n && isBlank(line[pos])) ++pos;
    size_t b = pos;
    while (pos < n && !isBlank(line[pos])) ++pos;
    return line.substr(b, pos - b);
}

// The rest of the line after `pos`, blanks at both ends removed.
std::string_view restOfLine(std::string_view line, size_t pos);

// Parses a float word ("%f"-like: sign, digits, point, exponent, inf, nan).
bool parseFloat(std::string_view word, float& out);

// Reads up to `n` floats from the line into `out`; returns how many were read.
// Fields that do not parse are left as they were.
int readFloats(std::string_view line, size_t& pos, float* out, int n);

}  // namespace modeltext
