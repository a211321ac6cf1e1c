// Program-wide table of texture files: one entry per file name, shared by every
// state that names the file, so each file is uploaded into one GL texture.
#pragma once

#include <list>
#include <string>
#include <unordered_map>
#include <vector>

#include "sg/sgImage.h"

struct sgTextureFileEntry {
    std::string name;
    int components = 3;    // 3 or 4 once loaded
    unsigned glId = 0;     // 0 = not loaded
    // Set when reading the file failed: it is not read again on every draw,
    // only after a new look-up of the name (or with the reload flag).
    bool failed = false;
    sgImageFailure failure = sgImageFailure::none;  // why, when failed
};

class sgTextureFileTable {
public:
    ~sgTextureFileTable();

    // Exact-match search. A hit moves to the front (most recently used first)
    // and clears a failure mark; with the reload flag (sgSetTextureReload) it
    // also deletes the entry's GL texture and resets its id, so the next draw
    // loads the file again. A miss creates an entry at the front.
    sgTextureFileEntry* lookup(const std::string& name);
    // The entry without touching it, or null.
    sgTextureFileEntry* find(const std::string& name) const;
    const sgTextureFileEntry* getEntry(int index) const;

private:
    // Entries never move in memory: states keep pointers to them for the run.
    std::list<sgTextureFileEntry> entries_;
    std::unordered_map<std::string, std::list<sgTextureFileEntry>::iterator> index_;
};

sgTextureFileTable& sgGetTextureFileTable();

// Folders searched for stored texture names that do not exist as given (the
// program's Textures and Backgrounds folders); see platform/PathResolver.h.
void sgSetTextureFolders(const std::vector<std::string>& folders);
const std::vector<std::string>& sgGetTextureFolders();
// The file to open for a stored texture name.
std::string sgResolveTexturePath(const std::string& name);
