#include "ui/animation/TimeLineRules.h"

#include "editor/EditLimits.h"
#include "platform/SoundPlayer.h"

#include <charconv>
#include <climits>

namespace {
bool wholeNumber(const std::string& text, int& value) {
    size_t b = text.find_first_not_of(" \t");
    size_t e = text.find_last_not_of(" \t");
    if (b == std::string::npos) return false;
    const char* first = text.data() + b;
    const char* last = text.data() + e + 1;
    if (*first == '+') ++first;
    long long v = 0;
    const auto r = std::from_chars(first, last, v);
    if (r.ec != std::errc() || r.ptr != last || v > INT_MAX || v < INT_MIN) return false;
    value = static_cast<int>(v);
    return true;
}
}  // namespace

std::string CheckTimeLineOptions(const std::string texts[4], int shownLength, CTimeLineOptionValues& out) {
    int v[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i)
        if (!wholeNumber(texts[i], v[i])) return "Please enter a whole number.";
    for (int i = 0; i < 3; ++i) {
        if (v[i] < 1) return "An effect length must be at least 1 frame.";
        if (v[i] > kMaxFrame) return "An effect length must be at most " + std::to_string(kMaxFrame) + " frames.";
    }
    if (v[3] != shownLength && v[3] < 1) return "The animation length must be at least 1 frame.";
    if (v[3] != shownLength && v[3] > kMaxFrame)
        return "The animation length must be at most " + std::to_string(kMaxFrame) + " frames.";
    out = {v[0], v[1], v[2], v[3]};
    return std::string();
}

std::string StoredSoundName(const std::string& soundFolder, const std::string& chosenPath) {
    std::string folder = soundFolder;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (!folder.empty() && chosenPath.size() > folder.size() + 1 && chosenPath.compare(0, folder.size(), folder) == 0 &&
        chosenPath[folder.size()] == '/')
        return chosenPath.substr(folder.size() + 1);
    return chosenPath;
}

void ListenToSound(const std::string& path) {
    if (!path.empty()) getSoundPlayer().play(path);
}
