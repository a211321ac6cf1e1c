// Reading scenes from text and writing them to text, with the diagnostic
// stream captured, for the scene-file tests.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "scene/pnLexer.h"
#include "scene/pnScene.h"
#include "sg/sgRuntime.h"

namespace scenefile {

inline void ensureLexer() {
    static bool ready = (initLexer(), true);
    (void)ready;
}

// Reads text as a scene file into scene, as the view does with an open file.
inline void readText(pnScene& scene, const std::string& text) {
    ensureLexer();
    FILE* f = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), f);
    std::rewind(f);
    scriptFile = f;
    scene.read();
    scriptFile = nullptr;
    std::fclose(f);
}

inline std::string fileText(FILE* f) {
    std::string out;
    std::rewind(f);
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    return out;
}

inline std::string writeText(const pnScene& scene, int convertPaths = 0) {
    FILE* f = std::tmpfile();
    scene.writeScene(f, convertPaths);
    std::string out = fileText(f);
    std::fclose(f);
    return out;
}

inline std::string readFile(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return "<missing>";
    std::string out = fileText(f);
    std::fclose(f);
    return out;
}

// Collects the "TORVIS: " diagnostic prints while it lives.
class DiagnosticCapture {
public:
    DiagnosticCapture() : f_(std::tmpfile()) { setDiagnosticStream(f_); }
    ~DiagnosticCapture() {
        setDiagnosticStream(nullptr);
        std::fclose(f_);
    }
    std::string text() {
        std::fflush(f_);
        std::string out = fileText(f_);
        std::fseek(f_, 0, SEEK_END);
        return out;
    }

private:
    FILE* f_;
};

}  // namespace scenefile
