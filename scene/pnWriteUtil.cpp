#include "scene/pnWriteUtil.h"

#include "scene/pnPortablePath.h"

#include <clocale>
#include <locale.h>

namespace {
// One C locale for the whole run; newlocale is not free, uselocale is.
locale_t cLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return loc;
}
}  // namespace

int pnVWritef(FILE* f, const char* format, va_list args) {
    if (!f) return -1;
    locale_t c = cLocale();
    // uselocale changes this thread's locale only, so other threads (and
    // the user's own formatting) are never affected.
    locale_t previous = c ? uselocale(c) : static_cast<locale_t>(0);
    int n = std::vfprintf(f, format, args);
    if (c) uselocale(previous);
    return n;
}

int pnWritef(FILE* f, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int n = pnVWritef(f, format, args);
    va_end(args);
    return n;
}

std::string pnQuotable(const std::string& text) {
    std::string out = text;
    for (char& ch : out)
        if (ch == '"') ch = '\'';
    return out;
}

std::string pnWrittenPath(const std::string& path, int convertPaths) {
    return convertPaths ? pnPortablePath(path) : path;
}

int pnWriteBlockBegin(FILE* f, const char* keyword) { return pnWritef(f, "%s {\n", keyword); }

int pnWriteBlockEnd(FILE* f) { return pnWritef(f, "}\n\n"); }

int pnWriteInt(FILE* f, const char* key, int value, const char* sep) {
    return pnWritef(f, "    %s%s%d\n", key, sep, value);
}

int pnWriteFloat(FILE* f, const char* key, double value, const char* sep) {
    return pnWritef(f, "    %s%s%f\n", key, sep, value);
}

int pnWriteQuoted(FILE* f, const char* key, const std::string& text, const char* sep) {
    return pnWritef(f, "    %s%s\"%s\"\n", key, sep, pnQuotable(text).c_str());
}

int pnWriteWord(FILE* f, const char* key, const char* word, const char* sep) {
    return pnWritef(f, "    %s%s%s\n", key, sep, word);
}

int pnWriteVec2(FILE* f, const char* key, float a, float b) {
    return pnWritef(f, "    %s\t( %f %f )\n", key, a, b);
}

int pnWriteVec3(FILE* f, const char* key, const sgVec3& v, bool trailingBlank) {
    return pnWritef(f, trailingBlank ? "    %s\t( %f %f %f ) \n" : "    %s\t( %f %f %f )\n", key, v[0], v[1],
                    v[2]);
}

int pnWriteVec4(FILE* f, const char* key, const sgVec4& v, bool spaced) {
    return pnWritef(f, spaced ? "    %s\t( %f %f %f %f )\n" : "    %s\t(%f %f %f %f)\n", key, v[0], v[1], v[2],
                    v[3]);
}

int pnWriteOk(FILE* f) { return f && !std::ferror(f) ? 1 : 0; }
