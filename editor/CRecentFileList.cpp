#include "editor/CRecentFileList.h"

#include "editor/CProfile.h"

#include <algorithm>

namespace {
const char* const kSection = "Recent File List";
std::string entryName(int i) { return "File" + std::to_string(i + 1); }
}  // namespace

void CRecentFileList::Add(const std::string& path) {
    if (path.empty()) return;
    m_paths.erase(std::remove(m_paths.begin(), m_paths.end(), path), m_paths.end());
    m_paths.insert(m_paths.begin(), path);
    if (static_cast<int>(m_paths.size()) > m_nMaxEntries) m_paths.resize(m_nMaxEntries);
}

void CRecentFileList::Remove(int index) {
    if (index >= 0 && index < GetSize()) m_paths.erase(m_paths.begin() + index);
}

std::string CRecentFileList::GetEntry(int index) const {
    if (index < 0 || index >= GetSize()) return "";
    return m_paths[index];
}

std::string CRecentFileList::GetMenuText(int index) const {
    if (index < 0 || index >= GetSize()) return "";
    // '&' in a path would be read as a mnemonic; doubling shows it as written.
    std::string shown;
    for (char c : m_paths[index]) {
        if (c == '&') shown += '&';
        shown += c;
    }
    return "&" + std::to_string(index + 1) + " " + shown;
}

void CRecentFileList::ReadList(CProfile& profile) {
    m_paths.clear();
    for (int i = 0; i < m_nMaxEntries; ++i) {
        std::string path = profile.GetProfileString(kSection, entryName(i), "");
        if (!path.empty() && std::find(m_paths.begin(), m_paths.end(), path) == m_paths.end())
            m_paths.push_back(path);
    }
}

void CRecentFileList::WriteList(CProfile& profile) const {
    for (int i = 0; i < m_nMaxEntries; ++i)
        profile.WriteProfileString(kSection, entryName(i), GetEntry(i));
}
