#include "platform/PathResolver.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

namespace {

std::vector<std::string> splitComponents(const std::string& path) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : path) {
        if (c == '/') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

std::string join(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

// Walks the components from `base`, taking each exactly when it exists, else the
// first directory entry that matches it ignoring ASCII case.
std::string matchComponents(const std::string& base, const std::vector<std::string>& parts, size_t from) {
    std::string cur = base;
    for (size_t i = from; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        std::string exact = join(cur, part);
        if (part == "." || part == ".." || fileExists(exact)) {
            cur = exact;
            continue;
        }
        DIR* d = opendir(cur.empty() ? "." : cur.c_str());
        if (!d) return "";
        std::string found;
        while (dirent* e = readdir(d)) {
            if (strcasecmp(e->d_name, part.c_str()) == 0) {
                found = e->d_name;
                break;
            }
        }
        closedir(d);
        if (found.empty()) return "";
        cur = join(cur, found);
    }
    return fileExists(cur) ? cur : "";
}

}  // namespace

bool fileExists(const std::string& path) {
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0;
}

std::string normalizeStoredPath(const std::string& stored) {
    std::string p = stored;
    for (char& c : p)
        if (c == '\\') c = '/';
    if (p.size() >= 2 && p[1] == ':' && ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z')))
        p.erase(0, 2);
    return p;
}

std::string findStoredPath(const std::string& stored, const std::vector<std::string>& searchDirs) {
    if (stored.empty()) return "";
    if (fileExists(stored)) return stored;
    std::string norm = normalizeStoredPath(stored);
    if (fileExists(norm)) return norm;
    std::vector<std::string> parts = splitComponents(norm);
    if (parts.empty()) return "";
    bool absolute = !norm.empty() && norm[0] == '/';
    std::string hit = matchComponents(absolute ? "/" : "", parts, 0);
    if (!hit.empty()) return hit;
    for (const std::string& dir : searchDirs) {
        for (size_t from = 0; from < parts.size(); ++from) {
            hit = matchComponents(dir, parts, from);
            if (!hit.empty()) return hit;
        }
    }
    return "";
}

std::string resolvePath(const std::string& stored, const std::vector<std::string>& searchDirs) {
    std::string hit = findStoredPath(stored, searchDirs);
    return hit.empty() ? normalizeStoredPath(stored) : hit;
}

std::string resolveSceneFile(const std::string& stored, const std::string& sceneDir,
                             const std::vector<std::string>& folders) {
    if (stored.empty()) return stored;
    std::string path;
    // A relative name means the scene's folder before the current one.
    const std::string norm = normalizeStoredPath(stored);
    if (!sceneDir.empty() && !norm.empty() && norm[0] != '/') path = findStoredPath(join(sceneDir, norm));
    if (!path.empty()) return path;
    std::vector<std::string> searchDirs;
    if (!sceneDir.empty()) searchDirs.push_back(sceneDir);
    searchDirs.insert(searchDirs.end(), folders.begin(), folders.end());
    return resolvePath(stored, searchDirs);
}

FileStamp fileStampOf(const std::string& path) {
    FileStamp stamp;
    struct stat st;
    if (path.empty() || stat(path.c_str(), &st) != 0) return stamp;
    stamp.exists = true;
    stamp.mtimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    stamp.size = static_cast<long long>(st.st_size);
    return stamp;
}
