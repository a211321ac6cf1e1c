#include "scene/pnPortablePath.h"

#include "sg/sgRuntime.h"

std::string pnPortablePath(const std::string& path) {
    std::string out;
    convertSlashes(path, out);
    return out;
}

int pnPortableSoundPath(const std::string& path, std::string& out) {
    // Only the last component's extension is replaced, so a folder name with a
    // full stop ("old.set") survives.
    std::string replaced;
    if (!replaceExtension(pnPortablePath(path), replaced, "aiff")) return 0;
    out = replaced;
    return 1;
}
