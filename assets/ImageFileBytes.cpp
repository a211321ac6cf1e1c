#include "assets/ImageFileBytes.h"

#include <cstdio>
#include <new>

#include <sys/stat.h>

ImageFileStatus readImageFileBytes(const std::string& path, std::vector<uint8_t>& out, size_t maxBytes) {
    out.clear();
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return ImageFileStatus::openFailed;
    ImageFileStatus status = ImageFileStatus::openFailed;
    struct stat st;
    // Folders and devices open on Linux but hold no image.
    if (fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode) && fseeko(f, 0, SEEK_END) == 0) {
        off_t size = ftello(f);
        if (size >= 0 && static_cast<unsigned long long>(size) > maxBytes) {
            status = ImageFileStatus::tooLarge;
        } else if (size >= 0 && fseeko(f, 0, SEEK_SET) == 0) {
            try {
                out.resize(static_cast<size_t>(size));
                if (out.empty() || std::fread(out.data(), 1, out.size(), f) == out.size()) status = ImageFileStatus::ok;
            } catch (const std::bad_alloc&) {
                status = ImageFileStatus::tooLarge;
            }
        }
    }
    std::fclose(f);
    if (status != ImageFileStatus::ok) std::vector<uint8_t>().swap(out);
    return status;
}
