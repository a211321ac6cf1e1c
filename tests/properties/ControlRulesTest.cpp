// The custom controls' rules without a window: numbers typed into an edit,
// the range check, the repeat button's timing on a fake clock, the object
// list's anchor rules and the private message table.
#include "ui/properties/rules/ControlRules.h"
#include "ui/properties/rules/PrivateMessages.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <map>
#include <set>

TEST(ControlRulesTest, LeadingNumbers) {
    const struct {
        const char* text;
        int value;
    } ints[] = {
        {"", 0},          {"abc", 0},      {"42", 42},           {"  -17x", -17},
        {"+8", 8},        {"3.9", 3},      {"2147483647", INT_MAX}, {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN}, {"-99999999999999999999999", INT_MIN}, {"99999999999999999999999999", INT_MAX},
    };
    for (const auto& row : ints) EXPECT_EQ(ParseLeadingInt(row.text), row.value) << row.text;
    EXPECT_DOUBLE_EQ(ParseLeadingFloat("12.5kg"), 12.5);
    EXPECT_DOUBLE_EQ(ParseLeadingFloat(" -0.25"), -0.25);
    EXPECT_DOUBLE_EQ(ParseLeadingFloat("+3"), 3.0);
    EXPECT_DOUBLE_EQ(ParseLeadingFloat("x1"), 0.0);
    EXPECT_DOUBLE_EQ(ParseLeadingFloat(""), 0.0);
    // Words for infinity and numbers no float holds are no numbers either,
    // as "abc" is none.
    for (const char* none : {"inf", "-inf", "nan", "infinity", "NAN", "1e39", "-1e39", "-1e300", "1e999", "-1e999"})
        EXPECT_DOUBLE_EQ(ParseLeadingFloat(none), 0.0) << none;
    EXPECT_DOUBLE_EQ(ParseLeadingFloat("3.4e38"), 3.4e38);
    EXPECT_DOUBLE_EQ(ParseLeadingFloat("1e-999"), 0.0) << "too small for a double is 0";
}

// A field with a range of its own holds a number beyond the float range at
// its bound, as any number beyond its range: the bound of the number's sign,
// whether a double holds the number or not. Words are still no numbers.
TEST(ControlRulesTest, RangedFieldsReadNumbersBeyondTheFloatRangeAsItsBounds) {
    const struct {
        const char* text;
        double value;
    } rows[] = {
        {"12.5kg", 12.5},         {"abc", 0},           {"inf", 0},           {"-nan", 0},
        {"3.4e38", 3.4e38},       {"1e39", FLT_MAX},    {"-1e39", -FLT_MAX},  {"1e300", FLT_MAX},
        {"1e400", FLT_MAX},       {"-1e400", -FLT_MAX}, {" +2e999x", FLT_MAX}, {"0.001e400", FLT_MAX},
        {"000123.4e306", FLT_MAX}, {"1000e-400", 0},    {"0.0001e-320", 0},   {"-1e-999", 0},
    };
    for (const auto& row : rows) EXPECT_DOUBLE_EQ(ParseRangedFloat(row.text), row.value) << row.text;
    // A number of 400 digits, and one with 400 zeros after the point.
    EXPECT_DOUBLE_EQ(ParseRangedFloat(std::string(400, '9')), FLT_MAX);
    EXPECT_DOUBLE_EQ(ParseRangedFloat("-0." + std::string(400, '0') + "1e20"), 0.0);
}

// A text that must be a number as a whole: refused like "abc" when it holds
// a word for infinity or a number no float holds.
TEST(ControlRulesTest, WholeNumbers) {
    for (const char* text : {"", " ", "abc", "12kg", "1 2", "inf", "-inf", "nan", "infinity", "1e39", "-1e39",
                             "1e400", "0x10"}) {
        float value = 7.0f;
        EXPECT_FALSE(ParseWholeFloat(text, value)) << text;
        EXPECT_EQ(value, 7.0f) << text;
    }
    const struct {
        const char* text;
        float value;
    } rows[] = {{"12.5", 12.5f}, {" -3 ", -3.0f}, {"+8", 8.0f}, {"1e-400", 0.0f}, {"3.4e38\t", 3.4e38f}};
    for (const auto& row : rows) {
        float value = 7.0f;
        EXPECT_TRUE(ParseWholeFloat(row.text, value)) << row.text;
        EXPECT_FLOAT_EQ(value, row.value) << row.text;
    }
}

TEST(ControlRulesTest, ClampedIntHoldsFileNumbersInsideTheIntRange) {
    const struct {
        double value;
        int expected;
    } rows[] = {{12.9, 12},     {-12.9, -12},       {1e30, INT_MAX},  {-1e30, INT_MIN},
                {2147483647.5, INT_MAX}, {-2147483648.5, INT_MIN}, {2147483646.9, 2147483646},
                {HUGE_VAL, INT_MAX}, {-HUGE_VAL, INT_MIN}, {std::nan(""), 0}};
    for (const auto& row : rows) EXPECT_EQ(ClampedInt(row.value), row.expected) << row.value;
}

TEST(ControlRulesTest, RangeCheck) {
    const struct {
        int mode, nMin, nMax;
        float fMin, fMax;
        const char* text;
        const char* out;  // null: the text stays
    } table[] = {
        {0, 0, -1, 0.0f, -1.0f, "anything", nullptr},  // the initial bounds only report
        {0, 10, 500, 0, -1, "5", "10"},
        {0, 10, 500, 0, -1, "700", "500"},
        {0, 10, 500, 0, -1, "abc", "10"},
        {0, 10, 500, 0, -1, "250", nullptr},
        {0, -360, 360, 0, -1, "-400", "-360"},
        {0, 10, 1000, 0, -1, "99999999999999", "1000"},
        {1, 0, -1, 0.0f, 10.0f, "12.5", "10.000000"},
        {1, 0, -1, 1.0f, 128.0f, "0.5", "1.000000"},
        {1, 0, -1, 0.0f, 10.0f, "9.99", nullptr},
        // Beyond the float range is beyond the field's range; words are no
        // numbers, as "abc" is none.
        {1, 0, -1, 0.0f, 10.0f, "1e39", "10.000000"},
        {1, 0, -1, 0.0f, 10.0f, "-1e400", "0.000000"},
        {1, 0, -1, 1.0f, 128.0f, "inf", "1.000000"},
        {1, 0, -1, 1.0f, 128.0f, "abc", "1.000000"},
        {1, 0, -1, -5.0f, 10.0f, "nan", nullptr},
        {1, 0, -1, 5.0f, 1.0f, "99", nullptr},  // no float range
        {2, 10, 500, 0.0f, 10.0f, "5", nullptr},  // plain text
    };
    for (const auto& row : table) {
        std::string out = "unchanged";
        const bool changed = ClampNumText(row.mode, row.nMin, row.nMax, row.fMin, row.fMax, row.text, out);
        EXPECT_EQ(changed, row.out != nullptr) << row.text;
        EXPECT_EQ(out, row.out ? row.out : "unchanged") << row.text;
    }
}

namespace {
// A fake clock that runs the button's two timers.
class FakeTimers : public CRepeatLogic::Timers {
public:
    void Start(int id, int ms) override { due[id] = {now + ms, ms}; }
    void Stop(int id) override { due.erase(id); }
    // Advances to t, firing every timer that falls due on the way; the clicks
    // come back with their times.
    std::vector<int> runTo(int t, CRepeatLogic& logic) {
        std::vector<int> clicks;
        while (true) {
            int next = -1, at = t + 1;
            for (const auto& d : due)
                if (d.second.first <= t && d.second.first < at) next = d.first, at = d.second.first;
            if (next < 0) break;
            now = at;
            due[next].first = at + due[next].second;
            if (logic.Timer(next)) clicks.push_back(now);
        }
        now = t;
        return clicks;
    }
    int now = 0;
    std::map<int, std::pair<int, int>> due;
};
}  // namespace

TEST(ControlRulesTest, HeldRepeatButtonClicksOnceThenEveryFiftyMilliseconds) {
    FakeTimers clock;
    CRepeatLogic logic(clock);
    EXPECT_EQ(logic.ButtonDown(), 1);
    EXPECT_TRUE(clock.runTo(499, logic).empty()) << "nothing during the first delay";
    const std::vector<int> clicks = clock.runTo(1000, logic);
    ASSERT_EQ(clicks.size(), 10u);
    for (size_t i = 0; i < clicks.size(); ++i) EXPECT_EQ(clicks[i], 550 + 50 * static_cast<int>(i));
    EXPECT_EQ(logic.ButtonUp(), 0);
    EXPECT_TRUE(clock.due.empty());
    EXPECT_TRUE(clock.runTo(3000, logic).empty());
    // A double-click: the press and the double-click, no repetition once let go.
    EXPECT_EQ(logic.ButtonDown() + logic.ButtonUp() + logic.DoubleClick() + logic.ButtonUp(), 2);
    EXPECT_TRUE(clock.runTo(5000, logic).empty());
}

TEST(ControlRulesTest, ObjectListAnchorRules) {
    const struct {
        bool shift, ctrl;
        int caret, anchorBefore;
        std::vector<bool> before, after;
        int anchorAfter, lastAfter;
    } table[] = {
        // A plain click selects one item and anchors there.
        {false, false, 2, -1, {true, true, false, false}, {false, false, true, false}, 2, -1},
        // Shift from the anchor, either direction.
        {true, false, 3, 1, {false, true, false, false}, {false, true, true, true}, 1, 3},
        {true, false, 0, 2, {false, false, true, false}, {true, true, true, false}, 2, 0},
        // Shift before any anchor: the clicked item is the anchor.
        {true, false, 2, -1, {true, false, true, false}, {false, false, true, false}, 2, 2},
        // Ctrl: the list's own toggle stands.
        {false, true, 1, 0, {true, true, false, false}, {true, true, false, false}, 0, -1},
        // Outside the items: nothing.
        {false, false, 7, 0, {true, false}, {true, false}, 0, -1},
    };
    for (const auto& row : table) {
        int anchor = row.anchorBefore, last = -1;
        std::vector<bool> selected = row.before;
        ObjectListClick(row.shift, row.ctrl, row.caret, anchor, last, selected);
        EXPECT_EQ(selected, row.after) << row.caret;
        EXPECT_EQ(anchor, row.anchorAfter) << row.caret;
        EXPECT_EQ(last, row.lastAfter) << row.caret;
    }
}

TEST(ControlRulesTest, PrivateMessageTable) {
    EXPECT_EQ(kNumPrivateMessages, 36);
    std::set<int> values(std::begin(kPrivateMessageValues), std::end(kPrivateMessageValues));
    EXPECT_EQ(values.size(), 36u);
    EXPECT_EQ(*values.begin(), 0x2818);
    EXPECT_EQ(*values.rbegin(), 0x29ef);
    EXPECT_EQ(WM_NUMEDIT_COMMIT, 0x2818);
    EXPECT_EQ(WM_REPEAT_CLICK, 0x29b2);
    EXPECT_EQ(WM_EVENTTREE_EFFECT_SELECTED, 0x29da);
    EXPECT_STREQ(PrivateMessageName(0x29c7), "WM_EVENTTREE_DELETE");
    EXPECT_EQ(PrivateMessageName(0x281c), nullptr) << "numbers between are not used";
}
