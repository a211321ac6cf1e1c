// Shared by the model reader fuzz targets: the readers take paths (and an OBJ
// names its material library beside it), so each input is written into one
// private folder that lives for the whole run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace fuzzmodels {

class Folder {
public:
    Folder() {
        const char* tmp = std::getenv("TMPDIR");
        std::string tmpl = std::string(tmp && *tmp ? tmp : "/tmp") + "/kv-fuzz-model-XXXXXX";
        if (!mkdtemp(&tmpl[0])) std::abort();
        path_ = tmpl;
        // The readers' messages would only flood the log.
        int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            std::fflush(stdout);
            dup2(null, 1);
            close(null);
        }
    }
    ~Folder() {
        for (const char* n : {"m.obj", "m.mtl", "m.3ds"}) unlink((path_ + "/" + n).c_str());
        rmdir(path_.c_str());
    }
    std::string write(const char* name, const uint8_t* data, size_t size) {
        std::string p = path_ + "/" + name;
        FILE* f = std::fopen(p.c_str(), "wb");
        if (!f) std::abort();
        if (size && std::fwrite(data, 1, size, f) != size) std::abort();
        std::fclose(f);
        return p;
    }
    std::string write(const char* name, const std::string& text) {
        return write(name, reinterpret_cast<const uint8_t*>(text.data()), text.size());
    }

private:
    std::string path_;
};

inline Folder& folder() {
    static Folder f;
    return f;
}

}  // namespace fuzzmodels
