// The counter's digit, sign and separator placement and its layout along x,
// checked without any nodes.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "scene/pnCounter.h"

namespace {

// One character per position: digits, '-', '.', ',', '_' for an empty one.
std::string shown(double value, int numFraction, int useComma) {
    pnCounterDisplay d;
    d.setValue(value, numFraction, useComma);
    std::string s;
    for (int g : d.glyph) {
        switch (g) {
        case pnCounterDisplay::GLYPH_NONE: s += '_'; break;
        case pnCounterDisplay::GLYPH_PLUS: s += '+'; break;
        case pnCounterDisplay::GLYPH_MINUS: s += '-'; break;
        case pnCounterDisplay::GLYPH_POINT: s += '.'; break;
        case pnCounterDisplay::GLYPH_COMMA: s += ','; break;
        default: s += static_cast<char>('0' + g); break;
        }
    }
    return s;
}

}  // namespace

TEST(CounterDisplay, FractionExamples) {
    // Positions 0-2 blank, 3 minus, 4-8 "1,234", 9 point, 10 "5", 11-12 blank.
    EXPECT_EQ(shown(-1234.5, 1, 1), "___-1,234.5__");
    EXPECT_EQ(shown(-1234.5, 1, 0), "____-1234.5__");
    EXPECT_EQ(shown(0.25, 2, 1), "________0.25_");
    EXPECT_EQ(shown(-0.25, 2, 1), "_______-0.25_");
    // Fraction digits are cut from a three-place printing, not rounded.
    EXPECT_EQ(shown(2.96, 1, 1), "________2.9__");
    EXPECT_EQ(shown(2.96, 3, 0), "________2.960");
    // More than three fraction digits show three.
    EXPECT_EQ(shown(1.5, 7, 0), "________1.500");
}

TEST(CounterDisplay, FractionBlankingTables) {
    // With grouping: last blanked position 7, 6, 5, 3, 2, 1 by magnitude.
    EXPECT_EQ(shown(-5.0, 1, 1), "_______-5.0__");
    EXPECT_EQ(shown(-55.0, 1, 1), "______-55.0__");
    EXPECT_EQ(shown(-555.0, 1, 1), "_____-555.0__");
    EXPECT_EQ(shown(-5555.0, 1, 1), "___-5,555.0__");
    EXPECT_EQ(shown(-55555.0, 1, 1), "__-55,555.0__");
    EXPECT_EQ(shown(-555555.0, 1, 1), "_-555,555.0__");
    // A negative million leaves no place for the sign: the row shows the
    // widest negative number it holds, never the digits without the minus.
    EXPECT_EQ(shown(-1234567.0, 1, 1), "_-999,999.9__");
    EXPECT_EQ(shown(-91234567.0, 3, 1), "_-999,999.999");
    EXPECT_EQ(shown(12345678.5, 1, 1), "9,999,999.9__") << "not the last seven digits";
    // Without grouping, n below 10^k blanks 0..8-k and signs 8-k.
    EXPECT_EQ(shown(-12345678.0, 1, 0), "-12345678.0__");
    EXPECT_EQ(shown(-123456789.0, 1, 0), "-99999999.9__");
    EXPECT_EQ(shown(1234567890.5, 2, 0), "999999999.99_");
    EXPECT_EQ(shown(7.0, 2, 0), "________7.00_");
}

TEST(CounterDisplay, IntegerDisplay) {
    EXPECT_EQ(shown(0.0, 0, 1), "____________0");
    EXPECT_EQ(shown(-0.7, 0, 1), "____________0");  // truncated to 0: no sign
    EXPECT_EQ(shown(-1234.9, 0, 1), "_______-1,234");
    EXPECT_EQ(shown(-1234.9, 0, 0), "________-1234");
    // The sign takes the place left of the first digit, a separator's too.
    EXPECT_EQ(shown(-123.0, 0, 1), "_________-123");
    EXPECT_EQ(shown(1000.0, 0, 1), "________1,000");
    EXPECT_EQ(shown(9876543210.0, 0, 1), "9,876,543,210");
    // Wider than the row (with its sign): the widest number of that sign.
    EXPECT_EQ(shown(-9876543210.0, 0, 1), "_-999,999,999");
    EXPECT_EQ(shown(-12345678901.0, 0, 1), "_-999,999,999");
    EXPECT_EQ(shown(12345678901.0, 0, 1), "9,999,999,999");
    EXPECT_EQ(shown(-123456789012.0, 0, 0), "-123456789012");
    EXPECT_EQ(shown(-1234567890123.0, 0, 0), "-999999999999");
    // -2 fraction digits mean none.
    EXPECT_EQ(shown(42.9, -2, 0), "___________42");
}

TEST(CounterDisplay, ValuesBeyondThirtyTwoBits) {
    EXPECT_EQ(shown(3000000000.0, 0, 1), "3,000,000,000");
    EXPECT_EQ(shown(-4294967296.0, 0, 0), "__-4294967296");
    // Far beyond the row: the widest number of the value's sign.
    EXPECT_EQ(shown(1e30, 0, 0), "9999999999999");
    EXPECT_EQ(shown(-1e300, 0, 1), "_-999,999,999");
    EXPECT_EQ(shown(1e300, 1, 1), "9,999,999.9__");
    EXPECT_EQ(shown(std::numeric_limits<double>::quiet_NaN(), 0, 1), "____________0");
    EXPECT_EQ(shown(std::numeric_limits<double>::infinity(), 2, 0), "999999999.99_");
    EXPECT_EQ(shown(-std::numeric_limits<double>::infinity(), 0, 0), "-999999999999");
}

TEST(CounterDisplay, FractionThatPrintsAsOneCarries) {
    EXPECT_EQ(shown(2.9996, 1, 1), "________3.0__");
    EXPECT_EQ(shown(-9.9999, 2, 1), "______-10.00_");
    EXPECT_EQ(shown(999999.9999, 3, 1), "1,000,000.000");
}

TEST(CounterDisplay, Counts) {
    pnCounterDisplay d;
    d.setValue(-1234.5, 1, 1);
    EXPECT_EQ(d.digits, 4);
    EXPECT_EQ(d.sign, 1);
    EXPECT_EQ(d.separators, 1);
    EXPECT_EQ(d.fraction, 1);
    d.setValue(-1234.5, 1, 0);
    EXPECT_EQ(d.separators, 0);  // separators count only with grouping
    d.setValue(1234567.0, 0, 1);
    EXPECT_EQ(d.digits, 7);
    EXPECT_EQ(d.separators, 2);
    EXPECT_EQ(d.sign, 0);
}

TEST(CounterDisplay, LayoutOfAnInteger) {
    pnCounterDisplay d;
    d.setValue(123.0, 0, 0);
    d.layout(25.0f, 1);  // centred: width 2 advances, glyphs at -25, 0, 25
    EXPECT_FLOAT_EQ(d.width, 50.0f);
    EXPECT_FLOAT_EQ(d.x[10], -25.0f);
    EXPECT_FLOAT_EQ(d.x[11], 0.0f);
    EXPECT_FLOAT_EQ(d.x[12], 25.0f);
    d.layout(25.0f, 0);  // left: the first glyph at 0
    EXPECT_FLOAT_EQ(d.x[10], 0.0f);
    EXPECT_FLOAT_EQ(d.x[12], 50.0f);
    d.layout(10.0f, 2);  // right: the last glyph at 0
    EXPECT_FLOAT_EQ(d.x[10], -20.0f);
    EXPECT_FLOAT_EQ(d.x[12], 0.0f);
    d.layout(10.0f, 7);  // any other value centres
    EXPECT_FLOAT_EQ(d.x[11], 0.0f);
}

TEST(CounterDisplay, LayoutWithSeparatorsAndFraction) {
    pnCounterDisplay d;
    d.setValue(-1234.5, 1, 1);
    d.layout(10.0f, 0);
    // Width: advance x (characters + fraction + 0.2 separators - 0.8).
    EXPECT_FLOAT_EQ(d.width, 10.0f * (5 + 1 + 0.2f - 0.8f));
    EXPECT_FLOAT_EQ(d.x[3], 0.0f);   // "-"
    EXPECT_FLOAT_EQ(d.x[4], 10.0f);  // "1"
    EXPECT_FLOAT_EQ(d.x[5], 16.0f);  // ","
    EXPECT_FLOAT_EQ(d.x[6], 26.0f);  // "2"
    EXPECT_FLOAT_EQ(d.x[8], 46.0f);  // "4"
    EXPECT_FLOAT_EQ(d.x[9], 52.0f);  // "."
    EXPECT_FLOAT_EQ(d.x[10], 62.0f);  // "5"

    d.setValue(1234567.0, 0, 1);
    d.layout(10.0f, 2);
    EXPECT_FLOAT_EQ(d.width, 10.0f * (7 + 0.2f * 2 - 1));
    // Right-justified: the units sit at -width + 6 digits + 2 separators past
    // the first glyph.
    EXPECT_FLOAT_EQ(d.x[12], -d.width + 10.0f * (6 + 0.6f * 2));
}

TEST(CounterDisplay, ValueAtFrame) {
    // 0 -> 100 over 10 frames.
    EXPECT_DOUBLE_EQ(pnCounterValueAt(5, 10, 10.0, 0.0, 100.0), 50.0);
    EXPECT_DOUBLE_EQ(pnCounterValueAt(0, 10, 10.0, 0.0, 100.0), 0.0);
    EXPECT_DOUBLE_EQ(pnCounterValueAt(10, 10, 10.0, 0.0, 100.0), 100.0);
    EXPECT_DOUBLE_EQ(pnCounterValueAt(25, 10, 10.0, 0.0, 100.0), 100.0);
    // An empty span: step -1; frame 0 the initial value, later ones the final.
    EXPECT_DOUBLE_EQ(pnCounterValueAt(0, 0, -1.0, 3.0, 8.0), 3.0);
    EXPECT_DOUBLE_EQ(pnCounterValueAt(1, 0, -1.0, 3.0, 8.0), 8.0);
    // Step 0: always the final value.
    EXPECT_DOUBLE_EQ(pnCounterValueAt(0, 10, 0.0, 3.0, 8.0), 8.0);
}
