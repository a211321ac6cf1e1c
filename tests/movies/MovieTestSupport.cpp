#include "tests/movies/MovieTestSupport.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "platform/WaveFile.h"

TestFolder::TestFolder(const std::string& name) {
    const char* base = std::getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/kv-movies-" + name + "-XXXXXX";
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back(0);
    if (!mkdtemp(buf.data())) ADD_FAILURE() << "no test folder";
    m_dir = buf.data();
}

TestFolder::~TestFolder() { RunCommand("rm -rf " + ShellQuote(m_dir)); }

std::vector<std::string> TestFolder::files() const {
    std::vector<std::string> names;
    if (DIR* d = opendir(m_dir.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string n = e->d_name;
            if (n != "." && n != "..") names.push_back(n);
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<uint8_t> MakeFrame(int width, int height, int index, int bytesPerPixel, uint8_t alpha) {
    std::vector<uint8_t> p(size_t(width) * height * bytesPerPixel);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* d = &p[(size_t(y) * width + x) * bytesPerPixel];
            const double cx = x - width * (0.3 + 0.05 * index), cy = y - height * 0.5;
            const bool disc = cx * cx + cy * cy < (height * 0.2) * (height * 0.2);
            d[0] = uint8_t(disc ? 40 : 255 * x / std::max(1, width - 1));
            d[1] = uint8_t(disc ? 200 : 255 * y / std::max(1, height - 1));
            d[2] = uint8_t(disc ? 230 : (x + y + 7 * index) / 4);
            if (bytesPerPixel == 4) d[3] = alpha;
        }
    return p;
}

std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string RunCommand(const std::string& command, int* status) {
    std::string out;
    FILE* p = popen((command + " 2>/dev/null").c_str(), "r");
    if (!p) return out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    const int rc = pclose(p);
    if (status) *status = rc;
    return out;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& data) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    return bool(out);
}

std::string Md5Hex(const std::vector<uint8_t>& data) {
    char name[] = "/tmp/kv-movies-md5-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) return std::string();
    FILE* f = fdopen(fd, "wb");
    std::fwrite(data.data(), 1, data.size(), f);
    std::fclose(f);
    std::string out = RunCommand("md5sum " + ShellQuote(name));
    std::remove(name);
    return out.substr(0, 32);
}

std::string ProbeStream(const std::string& file, const std::string& stream, const std::string& entry) {
    std::string out = RunCommand("ffprobe -v error -count_frames -select_streams " + stream + " -show_entries stream=" +
                                 entry + " -of default=noprint_wrappers=1:nokey=1 " + ShellQuote(file));
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

std::vector<uint8_t> DecodeFrames(const std::string& file, const std::string& pixFmt, int frames) {
    char name[] = "/tmp/kv-movies-raw-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) return {};
    close(fd);
    RunCommand("ffmpeg -v error -y -i " + ShellQuote(file) + " -frames:v " + std::to_string(frames) +
               " -f rawvideo -pix_fmt " + pixFmt + " " + ShellQuote(name));
    std::vector<uint8_t> data = ReadFileBytes(name);
    std::remove(name);
    return data;
}

double Psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    if (a.size() != b.size() || a.empty()) return 0;
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const double d = double(a[i]) - b[i];
        sum += d * d;
    }
    if (sum == 0) return 99;
    return 10 * std::log10(255.0 * 255.0 / (sum / double(a.size())));
}

std::vector<uint8_t> MakeWave(int channels, int rate, int bits, const std::vector<uint8_t>& samples, int formatTag) {
    std::vector<uint8_t> h =
        MakePcmWaveHeader(uint16_t(channels), uint32_t(rate), uint16_t(bits), uint32_t(samples.size()));
    h[20] = uint8_t(formatTag);
    h[21] = uint8_t(formatTag >> 8);
    h.insert(h.end(), samples.begin(), samples.end());
    if (samples.size() & 1) h.push_back(0);
    return h;
}
