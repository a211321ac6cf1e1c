#include "sg/sgRuntime.h"

#include <cctype>
#include <chrono>
#include <thread>

#include "sg/sgClock.h"

namespace {
int g_textureReload = 0;
int g_alphaOutput = 0;
int g_currentFrame = 0;
int g_renderMode = 0x1C00;  // GL_RENDER
FILE* g_diagnostic = nullptr;

void defaultReporter(const char* caption, const char* text) {
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
}
sgErrorReporter g_reporter = defaultReporter;

class SteadyClock : public sgClock {
public:
    double nowMs() override {
        using namespace std::chrono;
        return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
    }
    void sleepMs(double ms) override {
        if (ms > 0) std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms));
    }
};
SteadyClock g_steady;
sgClock* g_clock = &g_steady;
}  // namespace

void sgPrintError(int code, const char* name) {
    const char* n = name ? name : "";
    switch (code) {
        case 0: std::printf("%s : Memory free error(can't free null pointer)\n", n); break;
        case 1: std::printf("%s : Memory allocation failure \n", n); break;
        case 2: std::printf("%s : Switch setting failure \n", n); break;
        default: break;
    }
}

void sgSetTextureReload(int on) { g_textureReload = on; }
int sgGetTextureReload() { return g_textureReload; }
void sgSetAlphaOutput(int on) { g_alphaOutput = on; }
int sgGetAlphaOutput() { return g_alphaOutput; }
void sgSetCurrentFrame(int frame) { g_currentFrame = frame; }
int sgGetCurrentFrame() { return g_currentFrame; }
void sgSetRenderMode(int mode) { g_renderMode = mode; }
int sgGetRenderMode() { return g_renderMode; }

int sgLastDot(const std::string& s) {
    size_t p = s.rfind('.');
    return p == std::string::npos ? -1 : static_cast<int>(p);
}

int sgGetExtension(const std::string& path, std::string& ext) {
    int dot = sgLastDot(path);
    if (dot < 0) return 0;
    ext = path.substr(static_cast<size_t>(dot) + 1, 3);
    return 1;
}

int replaceExtension(const std::string& path, std::string& out, const std::string& extension) {
    // Only the last component's dot counts: "old.set/hit.wav" keeps its folder.
    size_t sep = path.find_last_of("/\\");
    size_t from = sep == std::string::npos ? 0 : sep + 1;
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < from) return 0;
    out = path.substr(0, dot + 1) + extension;
    return 1;
}

int convertSlashes(const std::string& path, std::string& out) {
    out = path;
    for (char& c : out)
        if (c == '\\') c = '/';
    return 1;
}

int sgDigitsBeforeDot(const std::string& s) {
    int dot = sgLastDot(s);
    if (dot < 0) return -1;
    int n = 0;
    for (int i = dot - 1; i >= 0 && std::isdigit(static_cast<unsigned char>(s[i])); --i) ++n;
    return n;
}

int sgNumberedName(const std::string& name, std::string& out, int index) {
    int dot = sgLastDot(name);
    int n = sgDigitsBeforeDot(name);
    if (dot < 0 || n <= 0) return 0;
    char digits[32];
    std::snprintf(digits, sizeof digits, "%07d", index);
    std::string d(digits);
    std::string result = name;
    // The run's last n characters take the last n digits of the seven; a run
    // longer than seven keeps its leading characters.
    int take = n < static_cast<int>(d.size()) ? n : static_cast<int>(d.size());
    result.replace(static_cast<size_t>(dot - take), static_cast<size_t>(take), d.substr(d.size() - take));
    out = result;
    return 1;
}

sgClock& sgGetClock() { return *g_clock; }
void sgSetClock(sgClock* clock) { g_clock = clock ? clock : &g_steady; }

uint32_t sgTimeMs() { return static_cast<uint32_t>(static_cast<uint64_t>(g_clock->nowMs())); }

std::string sgCutBytes(const std::string& text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    size_t cut = maxBytes;
    // Step back over UTF-8 continuation bytes so the text stays valid.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return text.substr(0, cut);
}

size_t sgCharCount(const std::string& text) {
    size_t n = 0;
    for (unsigned char c : text) n += (c & 0xC0) != 0x80;
    return n;
}

std::string sgCutChars(const std::string& text, size_t maxChars) {
    // Every character takes at least one byte: short texts need no count.
    if (text.size() <= maxChars) return text;
    size_t chars = 0, at = 0;
    for (; at < text.size(); ++at) {
        if ((static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) continue;
        if (chars == maxChars) break;
        ++chars;
    }
    return text.substr(0, at);
}

std::string sgCutName(const std::string& name) { return sgCutChars(name, SG_NAME_MAX); }

std::string sgCutName(const char* name) { return name ? sgCutName(std::string(name)) : std::string(); }

void sgSetErrorReporter(sgErrorReporter reporter) { g_reporter = reporter ? reporter : defaultReporter; }
void sgReportError(const char* caption, const char* text) { g_reporter(caption, text); }
sgErrorReporter sgGetErrorReporter() { return g_reporter; }

void setDiagnosticStream(FILE* stream) { g_diagnostic = stream; }

void debugPrint(const char* s) {
    if (g_diagnostic) std::fprintf(g_diagnostic, "TORVIS: %s\n\n", s ? s : "(null)");
}
void debugPrint2(const char* a, const char* b) {
    if (g_diagnostic) std::fprintf(g_diagnostic, "TORVIS: %s %s\n\n", a ? a : "", b ? b : "");
}
void debugPrint3(const char* a, const char* b, const char* c) {
    if (g_diagnostic) std::fprintf(g_diagnostic, "TORVIS: %s %s %s\n\n", a ? a : "", b ? b : "", c ? c : "");
}
void debugPrintInt(const char* s, int d) {
    if (g_diagnostic) std::fprintf(g_diagnostic, "TORVIS: %s %d\n\n", s ? s : "", d);
}
void debugPrintFloat(const char* s, double f) {
    if (g_diagnostic) std::fprintf(g_diagnostic, "TORVIS: %s %f\n\n", s ? s : "", f);
}
