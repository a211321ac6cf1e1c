#include "ui/properties/rules/ControlRules.h"

#include "ui/properties/rules/PrivateMessages.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

const char* PrivateMessageName(int message) {
    switch (message) {
#define KV_MESSAGE_NAME(name, value) \
    case value: return #name;
        KV_PRIVATE_MESSAGES(KV_MESSAGE_NAME)
#undef KV_MESSAGE_NAME
    default: return nullptr;
    }
}

namespace {
size_t skipSpaces(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i;
    return i;
}
}  // namespace

int ParseLeadingInt(const std::string& text) {
    size_t i = skipSpaces(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        // Beyond the range the value only saturates; reading on cannot overflow.
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

int ClampedInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

double ParseLeadingFloat(const std::string& text) {
    size_t i = skipSpaces(text);
    if (i < text.size() && text[i] == '+') ++i;
    double value = 0.0;
    const char* first = text.data() + i;
    const auto result = std::from_chars(first, text.data() + text.size(), value);
    // "inf" and "nan" are no numbers: the file would keep a word that reads
    // back as 0. A number no float holds is held at the float range, which
    // the file keeps as a number.
    if (result.ec != std::errc() || !std::isfinite(value)) return 0.0;
    return std::clamp(value, -double(FLT_MAX), double(FLT_MAX));
}

bool ClampNumText(int mode, int nMin, int nMax, float fMin, float fMax, const std::string& text, std::string& out) {
    char buffer[64];
    if (mode == 0) {
        if (nMax < 0) return false;
        const int value = ParseLeadingInt(text);
        if (value >= nMin && value <= nMax) return false;
        std::snprintf(buffer, sizeof buffer, "%d", value < nMin ? nMin : nMax);
    } else if (mode == 1) {
        if (!(fMax >= fMin)) return false;
        const double value = ParseLeadingFloat(text);
        if (value >= fMin && value <= fMax) return false;
        std::snprintf(buffer, sizeof buffer, "%f", static_cast<double>(value < fMin ? fMin : fMax));
    } else {
        return false;
    }
    out = buffer;
    return true;
}

int CRepeatLogic::ButtonDown() {
    m_bPressed = 1;
    m_timers.Start(REPEAT_TIMER_FIRST, kRepeatFirstDelayMs);
    return 1;
}

int CRepeatLogic::Timer(int id) {
    if (id == REPEAT_TIMER_FIRST) {
        m_timers.Stop(REPEAT_TIMER_FIRST);
        m_timers.Start(REPEAT_TIMER_REPEAT, kRepeatIntervalMs);
        return 0;
    }
    return id == REPEAT_TIMER_REPEAT && m_bPressed ? 1 : 0;
}

int CRepeatLogic::ButtonUp() {
    m_bPressed = 0;
    m_timers.Stop(REPEAT_TIMER_FIRST);
    m_timers.Stop(REPEAT_TIMER_REPEAT);
    return 0;
}

void ObjectListClick(bool shift, bool ctrl, int caret, int& anchor, int& last, std::vector<bool>& selected) {
    const int count = static_cast<int>(selected.size());
    if (caret < 0 || caret >= count) return;
    if (shift) {
        // Before any anchor the clicked item is the anchor.
        if (anchor < 0 || anchor >= count) anchor = caret;
        last = caret;
        std::fill(selected.begin(), selected.end(), false);
        for (int i = std::min(anchor, last); i <= std::max(anchor, last); ++i) selected[i] = true;
    } else if (!ctrl) {
        std::fill(selected.begin(), selected.end(), false);
        anchor = caret;
        selected[caret] = true;
    }
}
