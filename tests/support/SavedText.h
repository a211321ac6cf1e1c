// A scene file's text as saved, and its words where numbers go.
#pragma once

#include "scene/pnScene.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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
