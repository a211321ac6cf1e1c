// A scene file's text as saved, and its words where numbers go.
#pragma once

#include "scene/pnScene.h"
#include "scene/pnSceneLoader.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

// The text a save of the scene writes.
inline std::string savedText(const pnScene& scene) {
    char* buffer = nullptr;
    size_t size = 0;
    FILE* f = open_memstream(&buffer, &size);
    scene.writeScene(f, 0);
    std::fclose(f);
    std::string text(buffer ? buffer : "", size);
    std::free(buffer);
    return text;
}

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Reads the scene file at `path` into `scene` with the first `from` in its
// text replaced by `to`: the reader's result, or -1 where the text lacks `from`.
inline int readSceneEdited(pnScene& scene, const std::string& path, const std::string& from, const std::string& to) {
    std::string text = readText(path);
    const size_t at = text.find(from);
    if (at == std::string::npos) return -1;
    text.replace(at, from.size(), to);
    const std::filesystem::path edited =
        std::filesystem::temp_directory_path() / ("kelvano-edited-" + std::to_string(getpid()) + ".apn");
    std::ofstream(edited, std::ios::binary) << text;
    const int read = pnSceneLoader().readFile(scene, edited.string());
    std::filesystem::remove(edited);
    return read;
}

// The words outside quotes that stand where a number goes: "inf", "nan" and
// their signed and long forms, as a float written with "%f" spells them.
inline std::vector<std::string> wordsForNumbers(const std::string& text) {
    std::vector<std::string> found;
    std::string token;
    bool quoted = false;
    auto flush = [&] {
        std::string lower;
        for (char c : token) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (!lower.empty() && (lower[0] == '-' || lower[0] == '+')) lower.erase(0, 1);
        if (lower.rfind("inf", 0) == 0 || lower.rfind("nan", 0) == 0) found.push_back(token);
        token.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '\\' && i + 1 < text.size()) ++i;
            else if (c == '"') quoted = false;
            continue;
        }
        if (c == '"') {
            flush();
            quoted = true;
        } else if (std::isspace(static_cast<unsigned char>(c)) || c == '(' || c == ')' || c == '{' || c == '}') {
            flush();
        } else {
            token += c;
        }
    }
    flush();
    return found;
}
