// The profile kept in a wxFileConfig file: $XDG_CONFIG_HOME/kelvano/kelvano.conf
// (~/.config/... without XDG_CONFIG_HOME). Sections are config groups.
#pragma once

#include "editor/CProfile.h"

#include <memory>
#include <string>

class wxFileConfig;

class CWxProfile : public CProfile {
public:
    explicit CWxProfile(const std::string& fileName);
    ~CWxProfile() override;

    // The file the program uses for the current user.
    static std::string DefaultFileName();

    int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) override;
    void WriteProfileInt(const std::string& section, const std::string& entry, int value) override;
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue) override;
    void WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) override;
    bool Flush() override;

    const std::string& FileName() const { return m_fileName; }
    // A profile whose folder cannot be written keeps its values in memory
    // only: Flush writes nothing (the program said so once at start).
    void SetWritable(bool writable) { m_bWritable = writable; }

private:
    std::string m_fileName;
    bool m_bWritable = true;
    std::unique_ptr<wxFileConfig> m_config;
};
