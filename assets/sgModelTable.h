// The program-wide table of parsed models. A chart repeats its part model for
// every data point: the file is parsed once and each request compiles a fresh
// display list from the kept model. The list belongs to whoever asked for it
// (the geometry set that receives it deletes it once); the table never deletes
// a list. The table owns the GL textures of its 3DS models, also of those it
// parsed again after their file changed, as lists made earlier still bind them.
#pragma once

#include <GL/gl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "assets/Model3DS.h"
#include "assets/ObjModel.h"
#include "platform/PathResolver.h"

class sgModelTable {
public:
    static sgModelTable& instance();

    // `path` names the file as stored; the table resolves it and keys its
    // entries by the resolved path (and, for 3DS, by the reader options). A
    // file changed on disk since it was parsed is parsed again. 0 when the file
    // cannot be read (nothing is kept then).
    GLuint compile3DS(const std::string& path, const sg3DSOptions& options);
    GLuint compileOBJ(const std::string& path, GLuint mode);

    // Forgets every parsed model. With deleteTextures the models' GL textures
    // (also those of replaced models) are deleted (their context must be current); without, they are only
    // forgotten, for a context that is already gone.
    void clear(bool deleteTextures);

    // Folders that relative model names are looked up in, first to last (the
    // open scene's folder, the program's data folders). Stored names stay as
    // the user wrote them; only the look-up uses these.
    void setFolders(const std::vector<std::string>& folders) { folders_ = folders; }
    // The file a stored model name designates (the stored name itself when
    // nothing exists).
    std::string resolve(const std::string& path) const;

    size_t size() const { return entries_.size(); }
    // Files parsed since the program started (for diagnostics and tests).
    unsigned parseCount() const { return parses_; }

private:
    struct Entry {
        FileStamp stamp;
        std::unique_ptr<sg3DSModel> model3ds;
        std::unique_ptr<sgObjModel> modelObj;
    };
    Entry* lookup(const std::string& key, const std::string& resolved);
    std::vector<std::string> folders_;

    std::map<std::string, Entry> entries_;
    // Textures of 3DS models parsed again since: lists compiled from the old
    // models still bind them, so they live on until clear().
    std::vector<GLuint> retiredTextures_;
    unsigned parses_ = 0;
};
