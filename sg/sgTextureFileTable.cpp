#include "sg/sgTextureFileTable.h"

#include <GL/gl.h>

#include "platform/PathResolver.h"
#include "sg/sgRuntime.h"

namespace {
std::vector<std::string>& folders() {
    static std::vector<std::string> f;
    return f;
}
}  // namespace

// GL textures are not deleted here: at exit no context is current.
sgTextureFileTable::~sgTextureFileTable() = default;

sgTextureFileEntry* sgTextureFileTable::lookup(const std::string& name) {
    auto found = index_.find(name);
    if (found != index_.end()) {
        // Splicing keeps the iterator (and every pointer to the entry) valid.
        entries_.splice(entries_.begin(), entries_, found->second);
        sgTextureFileEntry& e = entries_.front();
        e.failed = false;
        if (sgGetTextureReload()) {
            // The old texture goes before its id is forgotten.
            if (e.glId) glDeleteTextures(1, &e.glId);
            e.glId = 0;
        }
        return &e;
    }
    entries_.emplace_front();
    entries_.front().name = name;
    index_[name] = entries_.begin();
    return &entries_.front();
}

sgTextureFileEntry* sgTextureFileTable::find(const std::string& name) const {
    auto found = index_.find(name);
    return found == index_.end() ? nullptr : &*found->second;
}

const sgTextureFileEntry* sgTextureFileTable::getEntry(int index) const {
    if (index < 0) return nullptr;
    for (const sgTextureFileEntry& e : entries_)
        if (index-- == 0) return &e;
    return nullptr;
}

sgTextureFileTable& sgGetTextureFileTable() {
    static sgTextureFileTable table;
    return table;
}

void sgSetTextureFolders(const std::vector<std::string>& f) { folders() = f; }
const std::vector<std::string>& sgGetTextureFolders() { return folders(); }

std::string sgResolveTexturePath(const std::string& name) { return resolvePath(name, folders()); }
