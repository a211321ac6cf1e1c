// Writing a file so that a failure never damages the file it replaces.
//
// The new content goes to a temporary file created exclusively in the
// target's folder with the old file's permissions; only when every write,
// the flush, fsync and the close have succeeded is it renamed over the
// target. On any failure the old file stays as it was and the temporary file
// is removed. A target that is a link gets its link followed (the link
// stays); a target that is a device or pipe (/dev/stdout, /dev/null) is
// written in place, since it cannot be replaced.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();  // an uncommitted file is discarded
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file for target. False (with error()) when the
    // target exists but may not be changed, or nothing can be created.
    bool open(const std::string& target);
    // The stream to write to; null before open or after commit/discard.
    FILE* file() const { return m_file; }
    // Flushes, syncs and closes, then renames over the target. False on any
    // failure, which leaves the old file whole and no temporary file.
    bool commit();
    // Closes and removes the temporary file; the target stays as it was.
    void discard();

    const std::string& target() const { return m_target; }
    // Why the last open or commit failed, for messages.
    const std::string& error() const { return m_error; }
    // The system's own words for it ("Permission denied"), for users.
    const std::string& reason() const { return m_reason; }

private:
    void fail(const char* what);

    FILE* m_file = nullptr;
    std::string m_target;
    std::string m_temp;  // empty when writing in place
    std::string m_error;
    std::string m_reason;
};

// Opens path atomically, lets write fill the stream and commits when it
// returns true. True only when everything reached the disk.
bool writeFileAtomically(const std::string& path, const std::function<bool(FILE*)>& write,
                         std::string* error = nullptr);
