// Temporary folders for tests: private folders under TMPDIR (else /tmp),
// removed with everything in them when the helper goes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// TMPDIR when set, else /tmp.
std::string tempRoot();

class TempDir {
public:
    explicit TempDir(const std::string& prefix = "kelvano");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Empty when the folder could not be made.
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Writes a file in the folder (making its sub-folders); its path. Throws
    // when it cannot be written.
    std::string write(const std::string& name, const std::string& bytes) const;
    std::string write(const std::string& name, const std::vector<uint8_t>& bytes) const;

private:
    std::string path_;
};
