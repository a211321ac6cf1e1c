#include "export/MovieFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

std::string MovieFolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string CreateUniqueMovieFile(const std::string& folder, const std::string& prefix, const std::string& extension) {
    for (int n = 0; n <= 9999; ++n) {
        char number[16];
        std::snprintf(number, sizeof number, "%04d", n);
        std::string path = folder + "/" + prefix + number + extension;
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST) return std::string();
    }
    return std::string();
}

bool RemoveMovieFile(const std::string& path) {
    if (path.empty()) return true;
    // Only plain files: a writer aimed at a device never removes it.
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT;
    if (!S_ISREG(st.st_mode)) return false;
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}
