#include "assets/sgModelTable.h"

#include <cstdio>

#include "platform/PathResolver.h"

sgModelTable& sgModelTable::instance() {
    // Never destroyed: at exit the GL context that owns the textures is gone.
    static sgModelTable* table = new sgModelTable();
    return *table;
}

sgModelTable::Entry* sgModelTable::lookup(const std::string& key, const std::string& resolved) {
    auto it = entries_.find(key);
    if (it == entries_.end()) return nullptr;
    const FileStamp now = fileStampOf(resolved);
    if (now.exists && now == it->second.stamp) return &it->second;
    // Changed or gone: parse again. Lists compiled from the old model still
    // bind its textures, and the objects that call them stay in the scene:
    // the textures are kept until the table is cleared.
    if (it->second.model3ds)
        for (const sg3DSRenderMaterial& m : it->second.model3ds->materials)
            if (m.texture) retiredTextures_.push_back(m.texture);
    entries_.erase(it);
    return nullptr;
}

std::string sgModelTable::resolve(const std::string& path) const {
    // A relative name belongs to the scene's or the program's folders, never
    // to whatever the current directory happens to be.
    std::string norm = normalizeStoredPath(path);
    if (!norm.empty() && norm[0] != '/')
        for (const std::string& dir : folders_) {
            std::string hit = findStoredPath(dir + "/" + norm);
            if (!hit.empty()) return hit;
        }
    return resolvePath(path, folders_);
}

GLuint sgModelTable::compile3DS(const std::string& path, const sg3DSOptions& options) {
    std::string resolved = resolve(path);
    char opts[64];
    std::snprintf(opts, sizeof opts, "3ds|%.9g|%d|", static_cast<double>(options.creaseDegrees), options.centre ? 1 : 0);
    std::string key = opts + resolved;
    Entry* e = lookup(key, resolved);
    if (!e) {
        Entry fresh;
        fresh.stamp = fileStampOf(resolved);
        const bool stamped = fresh.stamp.exists;
        ++parses_;
        fresh.model3ds = read3DSModel(resolved, options);
        if (!fresh.model3ds) return 0;
        if (!stamped) return compile3DSModel(*fresh.model3ds);  // cannot tell a later change: keep nothing
        e = &(entries_[key] = std::move(fresh));
    }
    return compile3DSModel(*e->model3ds);
}

GLuint sgModelTable::compileOBJ(const std::string& path, GLuint mode) {
    std::string resolved = resolve(path);
    std::string key = "obj|" + resolved;
    Entry* e = lookup(key, resolved);
    if (!e) {
        Entry fresh;
        fresh.stamp = fileStampOf(resolved);
        const bool stamped = fresh.stamp.exists;
        ++parses_;
        fresh.modelObj = glmReadOBJ(resolved);
        if (!fresh.modelObj) return 0;
        if (!stamped) return glmCompileList(fresh.modelObj.get(), mode);
        e = &(entries_[key] = std::move(fresh));
    }
    return glmCompileList(e->modelObj.get(), mode);
}

void sgModelTable::clear(bool deleteTextures) {
    if (deleteTextures) {
        for (auto& kv : entries_)
            if (kv.second.model3ds) release3DSTextures(*kv.second.model3ds);
        if (!retiredTextures_.empty())
            glDeleteTextures(static_cast<GLsizei>(retiredTextures_.size()), retiredTextures_.data());
    }
    entries_.clear();
    retiredTextures_.clear();
}
