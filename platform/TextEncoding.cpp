#include "platform/TextEncoding.h"

#include <cerrno>
#include <iconv.h>

namespace {
int g_codePage = 1252;

void appendCodePoint(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}
}  // namespace

bool isValidUtf8(const std::string& s) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data());
    size_t n = s.size(), i = 0;
    while (i < n) {
        unsigned c = p[i];
        size_t len;
        unsigned min;
        if (c < 0x80) { ++i; continue; }
        if ((c & 0xE0) == 0xC0) { len = 2; min = 0x80; c &= 0x1F; }
        else if ((c & 0xF0) == 0xE0) { len = 3; min = 0x800; c &= 0x0F; }
        else if ((c & 0xF8) == 0xF0) { len = 4; min = 0x10000; c &= 0x07; }
        else return false;
        if (i + len > n) return false;
        for (size_t k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) return false;
            c = (c << 6) | (p[i + k] & 0x3F);
        }
        if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        i += len;
    }
    return true;
}

void setLegacyCodePage(int codePage) { g_codePage = (codePage == 949 || codePage == 932) ? codePage : 1252; }
int getLegacyCodePage() { return g_codePage; }

std::string toUtf8FromLegacy(const std::string& s) {
    if (isValidUtf8(s)) return s;
    const char* from = g_codePage == 949 ? "CP949" : g_codePage == 932 ? "CP932" : "CP1252";
    std::string out;
    iconv_t cd = iconv_open("UTF-8", from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        for (unsigned char c : s) appendCodePoint(out, c);
        return out;
    }
    char* in = const_cast<char*>(s.data());
    size_t inLeft = s.size();
    char buf[256];
    while (inLeft > 0) {
        char* o = buf;
        size_t oLeft = sizeof buf;
        size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(buf, static_cast<size_t>(o - buf));
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            // Undefined or truncated sequence: keep the byte as Latin-1 and go on.
            appendCodePoint(out, static_cast<unsigned char>(*in));
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}
