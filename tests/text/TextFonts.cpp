#include "tests/text/TextFonts.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {
// Before the first fontconfig call of the process.
struct PinFonts {
    PinFonts() { setenv("FONTCONFIG_FILE", KV_TEXT_FONTS_CONF, 1); }
} g_pinFonts;
}  // namespace

OracleFont readOracle(const std::string& fontFile, const std::u32string& chars) {
    OracleFont font;
    const std::string python = KV_FONT_ORACLE_PYTHON;
    if (python.empty()) {
        font.error = "no python3 with fontTools was found when the build was configured";
        return font;
    }
    const char* src = std::getenv("KELVANO_SOURCE_DIR");
    std::string cmd = "'" + python + "' '" + std::string(src ? src : ".") + "/tests/text/font_oracle.py' '" +
                      fontFile + "'";
    for (char32_t c : chars) cmd += " " + std::to_string(static_cast<uint32_t>(c));
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) {
        font.error = "cannot run " + cmd;
        return font;
    }
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    int status = pclose(p);
    if (status != 0) {
        font.error = "oracle failed: " + cmd;
        return font;
    }
    std::istringstream in(out);
    std::string word;
    while (in >> word) {
        if (word == "cell") {
            in >> font.unitsPerEm >> font.winAscent >> font.winDescent;
        } else if (word == "glyph") {
            uint32_t cp = 0;
            OracleGlyph g;
            in >> cp >> g.contours >> g.advance >> g.area;
            font.glyphs[cp] = g;
        }
    }
    font.ok = font.winAscent + font.winDescent > 0;
    for (char32_t c : chars)
        if (!font.glyphs.count(static_cast<uint32_t>(c))) font.ok = false;
    if (!font.ok) font.error = "unexpected oracle output: " + out;
    return font;
}
