// The user's settings store: named sections of named integer and text
// values. The program keeps them through wxConfig; tests use a map.
#pragma once

#include <string>

class CProfile {
public:
    virtual ~CProfile() = default;
    virtual int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) = 0;
    virtual void WriteProfileInt(const std::string& section, const std::string& entry, int value) = 0;
    virtual std::string GetProfileString(const std::string& section, const std::string& entry,
                                         const std::string& defaultValue) = 0;
    virtual void WriteProfileString(const std::string& section, const std::string& entry,
                                    const std::string& value) = 0;
    // Writes what is pending to permanent storage; false when that failed.
    virtual bool Flush() = 0;
};
