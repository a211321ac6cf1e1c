// The text page's window-free rules: its ranges and start values agree with
// each other, and the numbers it shows are written safely.
#include "ui/properties/rules/TextRules.h"

#include <gtest/gtest.h>

#include <vector>
#include <string>

TEST(TextRulesTest, StartValuesLieInsideTheRangesTheEditsTake) {
    const TextPageDefaults d;
    auto inside = [](int v, TextIntRange r) { return v >= r.lo && v <= r.hi; };
    EXPECT_TRUE(inside(d.spacing, kTextSpacingRange));
    EXPECT_TRUE(inside(d.ratio, kTextRatioRange));
    EXPECT_TRUE(inside(d.depth, kTextDepthRange));
    EXPECT_GE(BevelOfSpin(d.bevelTenths), 0.0f);
    EXPECT_LE(BevelOfSpin(d.bevelTenths), kTextBevelMax);
    ASSERT_GE(d.sizeIndex, 0);
    ASSERT_LT(d.sizeIndex, 11);
    EXPECT_STREQ(kTextSizes[d.sizeIndex], "72");
    EXPECT_FLOAT_EQ(PrecisionFromQuality(d.qualityIndex + 1), 0.6f);
    EXPECT_STREQ(kTextOrigins[d.origin], "Center");
    // The bevel spins end where the bevel edits do.
    EXPECT_TRUE(inside(d.bevelTenths, kTextBevelSpinRange));
    EXPECT_EQ(kTextBevelSpinRange.lo, 0);
    EXPECT_FLOAT_EQ(BevelOfSpin(kTextBevelSpinRange.hi), kTextBevelMax);
    // Every entry of the Quality list reads back from the precision it sets.
    for (int q = 1; q <= kTextQualities; ++q) EXPECT_EQ(QualityFromPrecision(PrecisionFromQuality(q)), q) << q;
}

TEST(TextRulesTest, ShownNumbersAndFaces) {
    // The bevel spins count tenths of the edits' units.
    EXPECT_EQ(BevelSpinText(15), "1.5");
    EXPECT_EQ(BevelSpinText(-3), "-0.3");
    EXPECT_FLOAT_EQ(BevelOfSpin(100), kTextBevelMax);
    EXPECT_EQ(FixedText(1.25, 2), "1.25");
    EXPECT_EQ(FixedText(2.0, 1, 5), "  2.0");
    // A value from a file far beyond any field is cut, never overruns.
    const std::string huge = FixedText(1e300, 2);
    EXPECT_FALSE(huge.empty());
    EXPECT_LT(huge.size(), 64u);
    const std::vector<std::string> faces = {"Liberation Sans", "DejaVu Sans"};
    EXPECT_EQ(FaceAt(faces, 1), "DejaVu Sans");
    EXPECT_EQ(FaceAt(faces, 2), "");
    EXPECT_EQ(FaceAt(faces, -1), "");
    EXPECT_EQ(TextKindOf2D(true), 0);
    EXPECT_EQ(TextKindOf2D(false), 1);
}
