// Reading scenes from text and writing them to text, for the scene-file and
// chart tests; the diagnostic stream is captured by DiagnosticLog.
#pragma once

#include <cstdio>
#include <string>

#include "scene/pnScene.h"
#include "scene/pnSceneLoader.h"
#include "tests/support/TextCapture.h"

namespace scenefile {

// Reads text as a scene file into scene, as the view does with an open file.
inline void readText(pnScene& scene, const std::string& text, pnReadEnd* end = nullptr) {
    FILE* f = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), f);
    std::rewind(f);
    pnSceneLoader::readStream(scene, f, end);
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

}  // namespace scenefile
