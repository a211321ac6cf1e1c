#include "platform/PathParts.h"

namespace {
size_t lastSlash(const std::string& path) { return path.rfind('/'); }
}  // namespace

std::string pathFolder(const std::string& path) {
    size_t slash = lastSlash(path);
    if (slash == std::string::npos) return std::string();
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string pathBaseName(const std::string& path) {
    size_t slash = lastSlash(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string pathExtension(const std::string& path) {
    std::string base = pathBaseName(path);
    size_t dot = base.rfind('.');
    // A leading dot names a hidden file, not an extension.
    if (dot == std::string::npos || dot == 0) return std::string();
    return base.substr(dot + 1);
}

std::string pathExtensionLower(const std::string& path) {
    std::string ext = pathExtension(path);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return ext;
}

std::string pathJoin(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}
