#include "ui/properties/rules/ControlRules.h"

#include "ui/properties/rules/PrivateMessages.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

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

namespace {

enum class TypedFloat { None, Number, BeyondRange };

// The leading number of a text: none (no digits, or "inf" and "nan", which
// a file would keep as words that read back as 0), a float, or a number
// beyond the float range (value: its sign, 1 or -1). end: where the number
// ends in the text.
TypedFloat readLeadingFloat(const std::string& text, double& value, size_t& end) {
    size_t i = skipSpaces(text);
    if (i < text.size() && text[i] == '+') ++i;
    value = 0.0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    // Read wide, so that every number a user types lands in range and only
    // its size against a float's decides.
    long double read = 0.0L;
    const auto result = std::from_chars(first, last, read);
    end = static_cast<size_t>(result.ptr - text.data());
    if (result.ec == std::errc::result_out_of_range) {
        // Beyond even a long double: with a negative exponent as good as 0.
        const std::string_view matched(first, static_cast<size_t>(result.ptr - first));
        if (matched.find("e-") != std::string_view::npos || matched.find("E-") != std::string_view::npos)
            return TypedFloat::Number;
        value = *first == '-' ? -1.0 : 1.0;
        return TypedFloat::BeyondRange;
    }
    if (result.ec != std::errc() || !std::isfinite(read)) return TypedFloat::None;
    if (std::fabs(read) > FLT_MAX) {
        value = read < 0 ? -1.0 : 1.0;
        return TypedFloat::BeyondRange;
    }
    value = static_cast<double>(read);
    return TypedFloat::Number;
}

}  // namespace

double ParseLeadingFloat(const std::string& text) {
    double value = 0.0;
    size_t end = 0;
    return readLeadingFloat(text, value, end) == TypedFloat::Number ? value : 0.0;
}

double ParseRangedFloat(const std::string& text) {
    double value = 0.0;
    size_t end = 0;
    const TypedFloat typed = readLeadingFloat(text, value, end);
    if (typed == TypedFloat::BeyondRange) return value * FLT_MAX;
    return typed == TypedFloat::Number ? value : 0.0;
}

bool ParseWholeFloat(const std::string& text, float& out) {
    double value = 0.0;
    size_t end = 0;
    if (readLeadingFloat(text, value, end) != TypedFloat::Number) return false;
    // Nothing but spaces may follow the number.
    while (end < text.size() && (text[end] == ' ' || text[end] == '\t')) ++end;
    if (end != text.size()) return false;
    out = static_cast<float>(value);
    return true;
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
        const double value = ParseRangedFloat(text);
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
