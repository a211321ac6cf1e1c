// The recent-file list: the most recent path first, at most a fixed number of
// entries, kept in the profile section "Recent File List" as "File1"... .
#pragma once

#include <string>
#include <vector>

class CProfile;

class CRecentFileList {
public:
    explicit CRecentFileList(int maxEntries) : m_nMaxEntries(maxEntries < 1 ? 1 : maxEntries) {}

    // Moves the path to the front (an existing entry is not repeated); the
    // oldest entry drops off the end.
    void Add(const std::string& path);
    void Remove(int index);
    int GetSize() const { return static_cast<int>(m_paths.size()); }
    int GetMaxSize() const { return m_nMaxEntries; }
    // "" for an index out of range.
    std::string GetEntry(int index) const;
    // The menu text of entry index: "&1 path" and so on.
    std::string GetMenuText(int index) const;

    void ReadList(CProfile& profile);
    void WriteList(CProfile& profile) const;

private:
    int m_nMaxEntries;
    std::vector<std::string> m_paths;
};
