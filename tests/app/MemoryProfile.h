// A profile kept in memory, for tests of the code that reads and writes settings.
#pragma once

#include "editor/CProfile.h"

#include <map>
#include <string>
#include <utility>

class MemoryProfile : public CProfile {
public:
    int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) override {
        auto it = values.find({section, entry});
        if (it == values.end()) return defaultValue;
        try {
            return std::stoi(it->second);
        } catch (...) {
            return defaultValue;
        }
    }
    void WriteProfileInt(const std::string& section, const std::string& entry, int value) override {
        values[{section, entry}] = std::to_string(value);
    }
    std::string GetProfileString(const std::string& section, const std::string& entry,
                                 const std::string& defaultValue) override {
        auto it = values.find({section, entry});
        return it == values.end() ? defaultValue : it->second;
    }
    void WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) override {
        values[{section, entry}] = value;
    }
    bool Flush() override { return true; }

    bool Has(const std::string& section, const std::string& entry) const { return values.count({section, entry}) != 0; }

    std::map<std::pair<std::string, std::string>, std::string> values;
};
