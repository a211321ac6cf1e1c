#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <csignal>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/PathParts.h"

namespace {

// The file a write replaces: a link is followed, so the link stays and its
// target gets the new content.
std::string followLink(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = realpath(path.c_str(), nullptr)) {
            std::string target = real;
            std::free(real);
            return target;
        }
    }
    return path;
}

// Permissions of the new file: those of the file it replaces, else what a
// plain create would give.
mode_t newFileMode(const struct stat* old) {
    if (old) return old->st_mode & 07777;
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// A file size limit makes the write fail (EFBIG) instead of ending the
// program with the temporary file left behind. A handler the program set
// itself is kept.
void failWritesOverTheSizeLimit() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction old;
        if (sigaction(SIGXFSZ, nullptr, &old) == 0 && old.sa_handler == SIG_DFL) std::signal(SIGXFSZ, SIG_IGN);
    });
}

}  // namespace

AtomicFile::~AtomicFile() { discard(); }

void AtomicFile::fail(const char* what) {
    m_reason = std::strerror(errno);
    m_error = std::string(what) + " " + m_target + ": " + m_reason;
}

bool AtomicFile::open(const std::string& path) {
    discard();
    failWritesOverTheSizeLimit();
    m_error.clear();
    m_reason.clear();
    m_target = followLink(path);
    if (m_target.empty()) {
        errno = ENOENT;
        fail("cannot write");
        return false;
    }
    struct stat st;
    const bool exists = stat(m_target.c_str(), &st) == 0;
    // A file the user may not change stays as it is, as it would for a
    // program that writes in place.
    if (exists && access(m_target.c_str(), W_OK) != 0) {
        fail("cannot write");
        return false;
    }
    if (exists && !S_ISREG(st.st_mode)) {
        if (S_ISDIR(st.st_mode)) {
            errno = EISDIR;
            fail("cannot write");
            return false;
        }
        m_file = std::fopen(m_target.c_str(), "wb");
        if (!m_file) fail("cannot write");
        return m_file != nullptr;
    }
    std::string folder = pathFolder(m_target);
    m_temp = pathJoin(folder, "." + pathBaseName(m_target) + ".XXXXXX");
    int fd = mkostemp(&m_temp[0], O_CLOEXEC);
    if (fd < 0) {
        fail("cannot create a temporary file for");
        m_temp.clear();
        return false;
    }
    if (fchmod(fd, newFileMode(exists ? &st : nullptr)) != 0) {
        fail("cannot set the permissions of");
        ::close(fd);
        ::unlink(m_temp.c_str());
        m_temp.clear();
        return false;
    }
    m_file = fdopen(fd, "wb");
    if (!m_file) {
        fail("cannot write");
        ::close(fd);
        ::unlink(m_temp.c_str());
        m_temp.clear();
        return false;
    }
    return true;
}

bool AtomicFile::commit() {
    if (!m_file) {
        if (m_error.empty()) m_error = "nothing to write";
        return false;
    }
    bool ok = true;
    if (std::ferror(m_file)) {
        errno = EIO;
        fail("cannot write");
        ok = false;
    }
    if (ok && std::fflush(m_file) != 0) {
        fail("cannot write");
        ok = false;
    }
    // Devices and pipes have nothing to sync.
    if (ok && !m_temp.empty() && fsync(fileno(m_file)) != 0) {
        fail("cannot write");
        ok = false;
    }
    const int closed = std::fclose(m_file);
    m_file = nullptr;
    if (ok && closed != 0) {
        fail("cannot write");
        ok = false;
    }
    if (m_temp.empty()) return ok;
    if (ok && std::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        fail("cannot replace");
        ok = false;
    }
    if (!ok) ::unlink(m_temp.c_str());
    m_temp.clear();
    return ok;
}

void AtomicFile::discard() {
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_temp.empty()) {
        ::unlink(m_temp.c_str());
        m_temp.clear();
    }
}

bool writeFileAtomically(const std::string& path, const std::function<bool(FILE*)>& write, std::string* error) {
    AtomicFile out;
    bool ok = out.open(path) && write(out.file());
    if (ok) {
        ok = out.commit();
    } else {
        out.discard();
        if (error && out.error().empty()) *error = "cannot write " + path;
    }
    if (error && !out.error().empty()) *error = out.error();
    return ok;
}
