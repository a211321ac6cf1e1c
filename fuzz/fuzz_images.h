// Shared by the image reader fuzz targets: the readers take paths, so each
// input is written to one private temporary file that is reused for every run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "sg/sgRuntime.h"

namespace fuzzimages {

inline void silentReporter(const char*, const char*) {}

class InputFile {
public:
    InputFile() {
        const char* dir = std::getenv("TMPDIR");
        std::string tmpl = std::string(dir && *dir ? dir : "/tmp") + "/kv-fuzz-image-XXXXXX";
        m_path.assign(tmpl);
        m_fd = mkstemp(&m_path[0]);
        if (m_fd < 0) std::abort();
        // Loader message boxes would only flood the log.
        sgSetErrorReporter(silentReporter);
    }
    ~InputFile() {
        close(m_fd);
        unlink(m_path.c_str());
    }
    const std::string& write(const uint8_t* data, size_t size) {
        if (ftruncate(m_fd, 0) != 0) std::abort();
        size_t done = 0;
        while (done < size) {
            ssize_t n = pwrite(m_fd, data + done, size - done, off_t(done));
            if (n <= 0) std::abort();
            done += size_t(n);
        }
        return m_path;
    }

private:
    std::string m_path;
    int m_fd = -1;
};

inline InputFile& inputFile() {
    static InputFile file;
    return file;
}

}  // namespace fuzzimages
