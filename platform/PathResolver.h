// Resolves file names stored by other systems: backslashes, drive letters and
// upper-case DOS names. Order: the exact path, then separators normalised, then
// a case-insensitive match per component; then, for each search folder, the
// trailing components of the name under that folder (longest first).
#pragma once

#include <string>
#include <vector>

// Backslashes become '/', a leading drive letter ("C:") is dropped.
std::string normalizeStoredPath(const std::string& stored);

// The existing file the stored name designates, or "" when none exists.
std::string findStoredPath(const std::string& stored, const std::vector<std::string>& searchDirs = {});

// As findStoredPath, but when nothing exists returns the normalised name, so a
// caller's open fails naming the file the user recognises.
std::string resolvePath(const std::string& stored, const std::vector<std::string>& searchDirs = {});

// A file a scene names beside itself (a sound cue): a relative name is looked
// for in the scene's folder first, then as findStoredPath finds it with the
// scene's folder and then folders searched; when nothing exists, the
// normalised name.
std::string resolveSceneFile(const std::string& stored, const std::string& sceneDir,
                             const std::vector<std::string>& folders);

bool fileExists(const std::string& path);

// What tells a changed file from the one read before: its modification time
// and size; `exists` is false where nothing can be found.
struct FileStamp {
    bool exists = false;
    long long mtimeNs = 0;
    long long size = -1;
    bool operator==(const FileStamp& o) const { return exists == o.exists && mtimeNs == o.mtimeNs && size == o.size; }
    bool operator!=(const FileStamp& o) const { return !(*this == o); }
};
FileStamp fileStampOf(const std::string& path);
