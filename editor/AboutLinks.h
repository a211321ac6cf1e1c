// Product texts and the About box's two links.
#pragma once

#include <string>

namespace kv {

constexpr const char* kAppName = "Kelvano";
constexpr const char* kMainWindowText = "Kelvano 2.6 Std";
constexpr const char* kVersionText = "Kelvano Version 2.6";
constexpr const char* kBuildText = "Build 2110";
constexpr const char* kSupportMail = "support@example.com";
constexpr const char* kWebSite = "https://example.com";
constexpr const char* kSupportSubject = "Kelvano support needed";

// "mailto:" address with the subject, percent-encoded as URLs need.
std::string SupportMailUrl();
// Percent-encodes everything but unreserved URL characters.
std::string PercentEncode(const std::string& text);

}  // namespace kv
