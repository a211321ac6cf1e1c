// File helpers of the movie writers: exclusively created temporary names in a
// given folder, and the folder of a path.
#pragma once

#include <string>

// The folder part of path ("." when it has none).
std::string MovieFolderOf(const std::string& path);

// Creates the first free file folder/prefix + "%04d" + extension (0000 to
// 9999) exclusively and returns its path; empty when none could be created.
std::string CreateUniqueMovieFile(const std::string& folder, const std::string& prefix, const std::string& extension);

// Removes path when it names a plain file; true when no such file is left.
bool RemoveMovieFile(const std::string& path);
