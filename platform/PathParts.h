// Splitting file paths of this system ('/' separated). Stored names written
// on other systems go through normalizeStoredPath (PathResolver.h) first.
#pragma once

#include <string>

// The folder part without a trailing separator: "a/b/c.png" -> "a/b",
// "/c.png" -> "/", "c.png" -> "" (no folder given).
std::string pathFolder(const std::string& path);

// The last component: "a/b/c.png" -> "c.png".
std::string pathBaseName(const std::string& path);

// The extension of the last component without its dot, as written:
// "a.v1/b.Tga" -> "Tga", "a.v1/b" -> "", ".profile" -> "".
std::string pathExtension(const std::string& path);

// The extension in lower case (ASCII), for choosing a file format.
std::string pathExtensionLower(const std::string& path);

// folder + "/" + name; just name when the folder is empty.
std::string pathJoin(const std::string& folder, const std::string& name);
