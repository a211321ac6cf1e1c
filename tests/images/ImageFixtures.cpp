#include "ImageFixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include <unistd.h>

#include "sg/sgRuntime.h"
#include "tests/support/ImageCheck.h"
#include "tests/support/TempDir.h"

const std::string& fixtureDir() {
    static TempDir dir("kelvano-images");
    return dir.path();
}

std::string fixturePath(const std::string& name) { return fixtureDir() + "/" + name; }

std::string quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

bool run(const std::string& command) {
    int status = 0;
    runCommand("( " + command + " ) >/dev/null 2>&1", &status);
    return status == 0;
}

const std::string& pillowPython() {
    static const std::string python = [] {
        for (const char* p : {"python3", "/usr/bin/python3"})
            if (run(std::string(p) + " -c 'import PIL.Image'")) return std::string(p);
        return std::string();
    }();
    return python;
}

std::vector<uint8_t> readFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    return bytes;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> magickPixels(const std::string& path, const std::string& map, const std::string& options) {
    int status = 0;
    std::string size = runCommand("identify -format '%w %h' " + quote(path) + " 2>/dev/null", &status);
    int w = 0, h = 0;
    if (status != 0 || std::sscanf(size.c_str(), "%d %d", &w, &h) != 2) return {};
    std::string raw =
        runCommand("convert " + quote(path) + " -auto-orient " + options + " -depth 8 " + map + ":- 2>/dev/null", &status);
    const size_t stride = size_t(w) * map.size();
    if (status != 0 || raw.size() != stride * h) return {};
    std::vector<uint8_t> px(raw.begin(), raw.end());
    flipRows(px, w, h, int(map.size()) * 8);
    return px;
}

std::vector<uint8_t> pnmPixels(const std::string& pnm, int* width, int* height) {
    std::istringstream in(pnm);
    std::string magic;
    int w = 0, h = 0, maxval = 0;
    in >> magic >> w >> h >> maxval;
    in.get();
    if ((magic != "P5" && magic != "P6") || maxval != 255 || w <= 0 || h <= 0) return {};
    const size_t channels = magic == "P6" ? 3 : 1;
    const size_t offset = size_t(in.tellg());
    if (pnm.size() < offset + size_t(w) * h * channels) return {};
    std::vector<uint8_t> px(size_t(w) * h * 3);
    for (size_t i = 0; i < size_t(w) * h; ++i)
        for (size_t c = 0; c < 3; ++c)
            px[i * 3 + c] = uint8_t(pnm[offset + i * channels + (channels == 3 ? c : 0)]);
    flipRows(px, w, h, 24);
    if (width) *width = w;
    if (height) *height = h;
    return px;
}

std::string makeSourcePicture(const std::string& name, int width, int height) {
    std::string path = fixturePath(name);
    std::string size = std::to_string(width) + "x" + std::to_string(height);
    if (!run("convert -seed 11 -size " + size + " plasma:red-blue -depth 8 " + quote(path))) return "";
    return path;
}

namespace {
void record(const char* caption, const char* text) {
    ErrorRecorder::captions().push_back(caption ? caption : "");
    ErrorRecorder::messages().push_back(text ? text : "");
}
}  // namespace

ErrorRecorder::ErrorRecorder() {
    messages().clear();
    captions().clear();
    sgSetErrorReporter(record);
}
ErrorRecorder::~ErrorRecorder() { sgSetErrorReporter(nullptr); }
std::vector<std::string>& ErrorRecorder::messages() {
    static std::vector<std::string> m;
    return m;
}
std::vector<std::string>& ErrorRecorder::captions() {
    static std::vector<std::string> c;
    return c;
}

size_t countDifferences(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int tol, std::string* first) {
    size_t count = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (std::abs(int(a[i]) - int(b[i])) <= tol) continue;
        if (first && count < 5)
            *first += "byte " + std::to_string(i) + ": " + std::to_string(a[i]) + " vs " + std::to_string(b[i]) + "; ";
        ++count;
    }
    return count + (a.size() > b.size() ? a.size() - b.size() : b.size() - a.size());
}
