#include "editor/AboutLinks.h"

#include <cctype>
#include <cstdio>

namespace kv {

std::string PercentEncode(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        }
    }
    return out;
}

std::string SupportMailUrl() { return std::string("mailto:") + kSupportMail + "?subject=" + PercentEncode(kSupportSubject); }

}  // namespace kv
