// Outlines, clean-up, orientation, contour order and layout of the 3D text
// engine, checked against fontTools reading the same font file.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "assets/sgText3D.h"
#include "platform/PathParts.h"
#include "sg/sgVec.h"
#include "tests/text/TextFonts.h"

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace {

// Area covered by the tessellated triangles of character i (counter-clockwise
// positive).
double triangleArea(const sgText3D& t, int i) {
    const sgTextTessGlyph& g = t.getTessGlyph(i);
    double sum = 0.0;
    for (size_t k = 0; k + 2 < g.triangles.size(); k += 3) {
        const auto& a = g.vertices[static_cast<size_t>(g.triangles[k])].xyz;
        const auto& b = g.vertices[static_cast<size_t>(g.triangles[k + 1])].xyz;
        const auto& c = g.vertices[static_cast<size_t>(g.triangles[k + 2])].xyz;
        sum += ((b[0] - a[0]) * (c[1] - a[1]) - (c[0] - a[0]) * (b[1] - a[1])) / 2.0;
    }
    return sum;
}

FontPoint fx(double x, double y) {
    return {sgText3D::fixedFromDouble(x), sgText3D::fixedFromDouble(y)};
}

}  // namespace

TEST(TextSettings, SettersApplyTheirRules) {
    sgText3D t("arial");
    EXPECT_EQ(t.getFontSize(), 36);
    EXPECT_FLOAT_EQ(t.getPrecision(), 10.0f);
    EXPECT_FLOAT_EQ(t.getExtrusion(), 20.0f);
    EXPECT_FLOAT_EQ(t.getTotalDepth(), 20.0f);
    EXPECT_EQ(t.getHJust(), 1);
    EXPECT_EQ(t.getVJust(), 5);
    EXPECT_EQ(t.getDepthJust(), 8);

    t.setFontSize(-24);
    EXPECT_EQ(t.getFontSize(), 24);
    CaptureStderr();
    t.setFontSize(0);
    t.setPrecision(0.0f);
    EXPECT_EQ(GetCapturedStderr(), "Font size must be positive.\nPrecision value must be positive.\n");
    EXPECT_EQ(t.getFontSize(), 24);
    EXPECT_FLOAT_EQ(t.getPrecision(), 10.0f);
    t.setPrecision(-2.5f);
    EXPECT_FLOAT_EQ(t.getPrecision(), 2.5f);
    t.setRatio(-0.5f);
    EXPECT_FLOAT_EQ(t.getRatio(), 0.5f);

    t.setBevel(-2.0f, -1.0f);
    EXPECT_FLOAT_EQ(t.getBevelSize(), 2.0f);
    EXPECT_FLOAT_EQ(t.getBevelWidth(), -1.0f);
    EXPECT_FLOAT_EQ(t.getTotalDepth(), 24.0f);
    t.setExtrusion(5.0f);
    EXPECT_FLOAT_EQ(t.getTotalDepth(), 9.0f);
    CaptureStdout();
    t.setExtrusion(-3.0f);
    EXPECT_EQ(GetCapturedStdout(), "UTF WARNING: negative extrusion value.\n");
    EXPECT_FLOAT_EQ(t.getExtrusion(), 5.0f);
    EXPECT_FLOAT_EQ(t.getTotalDepth(), 9.0f);

    t.setRatio(NAN);
    t.setOffset(INFINITY, 0, 0);
    EXPECT_FLOAT_EQ(t.getRatio(), 0.5f);

    t.setDefaults();
    EXPECT_EQ(t.getFontSize(), 36);
    EXPECT_FLOAT_EQ(t.getTotalDepth(), 20.0f);
    EXPECT_FLOAT_EQ(t.getBevelWidth(), 0.0f);
    EXPECT_EQ(t.getFontName(), "arial");
}

TEST(TextContour, CleanUpOrientationAndContainment) {
    sgTextContour c;
    c.addPoint(0, 0);
    c.addPoint(0.0005, 0.0009);  // within 0.001 of the last: dropped
    c.addPoint(0, 5);
    c.addPoint(0, 10);  // (0,5) lies on the line from (0,0): removed
    c.addPoint(10, 10);
    c.addPoint(10, 0);
    c.addPoint(5, 0);  // on the closing edge; the seam clean-up drops it
    c.close();
    ASSERT_EQ(c.getPointCount(), 4);
    EXPECT_DOUBLE_EQ(c.points[1].y, 10.0);
    EXPECT_DOUBLE_EQ(c.area, -100.0);
    EXPECT_EQ(c.clockwise, 1);
    EXPECT_DOUBLE_EQ(c.minX, 0.0);
    EXPECT_DOUBLE_EQ(c.maxY, 10.0);
    EXPECT_TRUE(c.containsPoint(5, 5));
    EXPECT_FALSE(c.containsPoint(11, 5));
    c.reverse();
    EXPECT_EQ(c.clockwise, 0);
    EXPECT_DOUBLE_EQ(c.area, 100.0);
}

TEST(TextFlatten, QuadraticRuleAndDepthCap) {
    sgTextGlyphOutline g;
    g.scale = 64.0f;  // 1:1 with the 48-pixel outline
    g.threshold = 10.0;
    // Control point 5 px from the curve's middle: under the threshold, so
    // only the points at t = 0.5 and t = 1 are added.
    sgTextContour flat;
    g.addFixedPoint(flat, fx(0, 0));
    g.flattenQuadratic(flat, fx(0, 0), fx(10, 10), fx(20, 0));
    ASSERT_EQ(flat.getPointCount(), 3);
    EXPECT_NEAR(flat.points[1].x, 10.0, 1e-4);
    EXPECT_NEAR(flat.points[1].y, 5.0, 1e-4);
    EXPECT_NEAR(flat.points[2].x, 20.0, 1e-4);

    // A finer threshold subdivides; every point lies on the parabola.
    g.threshold = 0.1;
    sgTextContour fine;
    g.addFixedPoint(fine, fx(0, 0));
    g.flattenQuadratic(fine, fx(0, 0), fx(10, 10), fx(20, 0));
    EXPECT_GT(fine.getPointCount(), 8);
    for (const sgTextPoint& p : fine.points) {
        double t = p.x / 20.0;  // x is linear in t for this curve
        EXPECT_NEAR(p.y, 2 * t * (1 - t) * 10.0, 1e-3);
    }
    EXPECT_NEAR(fine.points.back().x, 20.0, 1e-4);

    // A curve far beyond any font stops at 16 levels: at most 2^16 pieces.
    g.threshold = 0.01;
    sgTextContour huge;
    g.addFixedPoint(huge, fx(0, 0));
    g.flattenQuadratic(huge, fx(0, 0), fx(5e8, 5e8), fx(1e9, 0));
    EXPECT_LE(huge.getPointCount(), 2 * 65536 + 1);
    EXPECT_GT(huge.getPointCount(), 65536);
}

TEST(TextFlatten, CubicFlattensLikeTheQuadraticItRaises) {
    sgTextGlyphOutline g;
    g.scale = 64.0f;
    for (double threshold : {10.0, 1.0, 0.05}) {
        g.threshold = threshold;
        FontPoint p0 = fx(0, 0), q1 = fx(7, 30), p2 = fx(40, 4);
        // The same curve as a cubic: controls at 2/3 towards the quadratic's.
        FontPoint c1 = fx(7 * 2 / 3.0, 20), c2 = fx(40 + (7 - 40) * 2 / 3.0, 4 + (30 - 4) * 2 / 3.0);
        sgTextContour a, b;
        g.addFixedPoint(a, p0);
        g.addFixedPoint(b, p0);
        g.flattenQuadratic(a, p0, q1, p2);
        g.flattenCubic(b, p0, c1, c2, p2);
        ASSERT_EQ(a.getPointCount(), b.getPointCount()) << "threshold " << threshold;
        for (int i = 0; i < a.getPointCount(); ++i) {
            EXPECT_NEAR(a.points[i].x, b.points[i].x, 1e-3);
            EXPECT_NEAR(a.points[i].y, b.points[i].y, 1e-3);
        }
    }
}

class TextFontTest : public ::testing::Test {
protected:
    // fontTools' numbers for Liberation Sans, the face "arial" resolves to.
    static OracleFont oracle(const sgText3D& t, const std::u32string& chars) {
        OracleFont o = readOracle(t.getFontFile(), chars);
        EXPECT_TRUE(o.ok) << o.error;
        return o;
    }
};

TEST_F(TextFontTest, ArialResolvesToLiberationSans) {
    sgText3D t("arial");
    ASSERT_EQ(t.generate("A"), 1);
    EXPECT_EQ(pathBaseName(t.getFontFile()), "LiberationSans-Regular.ttf");
    t.setItalic(1);
    t.generate("A");
    EXPECT_EQ(pathBaseName(t.getFontFile()), "LiberationSans-Italic.ttf");
}

TEST_F(TextFontTest, ContourCountsAndAdvancesMatchTheFont) {
    sgText3D t("arial");
    const std::string text = "OBa8%&I1. W";
    const std::u32string chars = U"OBa8%&I1. W";
    ASSERT_EQ(t.generate(text), 1);
    ASSERT_EQ(t.getCharCount(), static_cast<int>(chars.size()));
    OracleFont o = oracle(t, chars);
    if (!o.ok) return;
    for (size_t i = 0; i < chars.size(); ++i) {
        const sgTextGlyphOutline& g = t.getGlyph(static_cast<int>(i));
        const OracleGlyph& want = o.glyphs[chars[i]];
        SCOPED_TRACE(std::string("character ") + text[i]);
        EXPECT_TRUE(g.valid);
        EXPECT_EQ(static_cast<int>(g.contours.size()), want.contours);
        EXPECT_NEAR(g.metrics.cellIncX, want.advance * o.cellScale(), 1.0);
    }
}

TEST_F(TextFontTest, OuterContoursClockwiseEachFollowedByItsHoles) {
    sgText3D t("arial");
    t.generate("O");
    const sgTextGlyphOutline& g = t.getGlyph(0);
    ASSERT_EQ(g.contours.size(), 2u);
    EXPECT_EQ(g.contours[0].clockwise, 1);
    EXPECT_LT(g.contours[0].area, 0.0);
    EXPECT_EQ(g.contours[1].clockwise, 0);
    EXPECT_GT(g.contours[1].area, 0.0);
    const sgTextPoint& p = g.contours[1].points[0];
    EXPECT_TRUE(g.contours[0].containsPoint(p.x, p.y));

    // '8' and 'B': one outer contour, then two holes.
    for (const char* s : {"8", "B"}) {
        t.generate(s);
        const sgTextGlyphOutline& h = t.getGlyph(0);
        ASSERT_EQ(h.contours.size(), 3u) << s;
        EXPECT_EQ(h.contours[0].clockwise, 1) << s;
        EXPECT_EQ(h.contours[1].clockwise, 0) << s;
        EXPECT_EQ(h.contours[2].clockwise, 0) << s;
    }
}

// The triangles cover the glyph's exact area (fontTools' AreaPen), so holes
// are cut and nothing else is; '%' has rings whose boxes lie inside the
// slash's, and the copyright sign has a letter inside a hole.
TEST_F(TextFontTest, TriangulatedAreaMatchesTheGlyphArea) {
    const std::u32string chars = U"OB8%\u00A9";
    const char* utf8[] = {"O", "B", "8", "%", "\xC2\xA9"};
    sgText3D t("arial");
    t.setFontSize(64);  // the 48-pixel outline itself
    ASSERT_EQ(t.generate("O"), 1);
    OracleFont o = oracle(t, chars);
    if (!o.ok) return;
    for (float precision : {0.1f, 1.0f}) {
        t.setPrecision(precision);
        for (size_t i = 0; i < chars.size(); ++i) {
            ASSERT_EQ(t.generate(utf8[i]), 1);
            double want = std::fabs(o.glyphs[chars[i]].area) * o.cellScale() * o.cellScale();
            double got = triangleArea(t, 0);
            EXPECT_NEAR(got, want, want * 0.01) << utf8[i] << " at precision " << precision;
        }
    }
}

TEST_F(TextFontTest, DefaultPrecisionStaysCloseToTheOutline) {
    // Precision counts pixels of the 48-pixel outline: the default 10 keeps
    // each curve to two pieces, still within 2% of the area.
    sgText3D t("arial");
    t.generate("O");
    OracleFont o = oracle(t, U"O");
    if (!o.ok) return;
    double s = o.cellScale() * 36.0 / 64.0;
    double want = std::fabs(o.glyphs[U'O'].area) * s * s;
    EXPECT_NEAR(triangleArea(t, 0), want, want * 0.02);
}

TEST_F(TextFontTest, ProportionalLayout) {
    sgText3D t("arial");
    t.generate("a b");
    ASSERT_EQ(t.getCharCount(), 3);
    const double s = 36.0 / 64.0;
    const sgTextGlyphOutline& space = t.getGlyph(1);
    EXPECT_TRUE(space.contours.empty());
    EXPECT_GT(space.metrics.cellIncX, 0);
    EXPECT_DOUBLE_EQ(t.getCharPosition(1), t.getGlyph(0).metrics.cellIncX * s);
    EXPECT_DOUBLE_EQ(t.getCharPosition(2), t.getCharPosition(1) + space.metrics.cellIncX * s);

    // Ratio, gap and the bevel pad.
    t.setRatio(0.5f);
    t.setGap(3.0f);
    t.setBevel(1.0f, -2.0f);
    t.generate("HH");
    const int inc = t.getGlyph(0).metrics.cellIncX;
    const double step = (inc * s + 4.0) * 0.5 + 3.0;
    EXPECT_DOUBLE_EQ(t.getCharPosition(1), step);
    EXPECT_NEAR(t.getWidth(), 2 * step - 3.0, 1e-4);
    // A flat text pads by its bevel width as well: no depth, no bevel size.
    t.setExtrusion(0.0f);
    t.setBevel(0.0f, 3.0f);
    t.generate("HH");
    ASSERT_EQ(t.getTotalDepth(), 0.0f);
    EXPECT_DOUBLE_EQ(t.getCharPosition(1), (inc * s + 6.0) * 0.5 + 3.0);

    // Height: the cap height of 'I' (1409 units of 2048 in a 2288-unit cell).
    sgText3D i("arial");
    i.generate("I");
    EXPECT_NEAR(i.getHeight(), 1409.0 * 48.0 / 2288.0 * s, 1e-3);
}

TEST_F(TextFontTest, FixedPitchLayout) {
    sgText3D t("arial");
    t.setFixedAdvance(10.0f);
    t.generate("1.5");
    ASSERT_EQ(t.getCharCount(), 3);
    // The first glyph is centred on the pen at 0; the pen steps by 6 into and
    // out of the narrow '.'.
    EXPECT_DOUBLE_EQ(t.getCharPosition(0), 0.0);
    EXPECT_DOUBLE_EQ(t.getCharPosition(1), 6.0);
    EXPECT_DOUBLE_EQ(t.getCharPosition(2), 12.0);
    EXPECT_NEAR(t.getWidth(), 22.0, 1e-5);  // the final pen
    // The gap does not move the pen, but the width ends before it.
    t.setGap(4.0f);
    t.generate("1.5");
    EXPECT_DOUBLE_EQ(t.getCharPosition(2), 12.0);
    EXPECT_NEAR(t.getWidth(), 18.0, 1e-5);
    t.setFixedAdvance(30.0f);
    t.generate("123");
    EXPECT_NEAR(t.getWidth(), 86.0, 1e-5);
    // Justification takes that width: centred, the first glyph sits 43 left
    // of the justification point; right justified, the last sits 26 left.
    double at[3];
    t.setHJust(1);
    t.getPlacement(false, at);
    EXPECT_NEAR(at[0] + t.getCharPosition(0), -43.0, 1e-5);
    t.setHJust(2);
    t.getPlacement(false, at);
    EXPECT_NEAR(at[0] + t.getCharPosition(2), -26.0, 1e-5);

    // Each glyph's inked box is centred on its pen position.
    t.setGap(0.0f);
    t.generate("0:0");
    std::vector<double> centres;
    for (int i = 0; i < 3; ++i) {
        const sgTextContour& c = t.getGlyph(i).contours[0];
        centres.push_back((c.minX + c.maxX) / 2.0 - t.getCharPosition(i));
        EXPECT_NEAR(centres[i], 0.0, 0.6) << i;
    }
    // Squeezed, the outline shrinks about the glyph's origin while the
    // centring term keeps its natural width: the box centre moves back by
    // half of what the squeeze takes from it.
    t.setRatio(0.5f);
    t.generate("0:0");
    for (int i = 0; i < 3; ++i) {
        const sgTextGlyphOutline& g = t.getGlyph(i);
        const double s = g.scale / 64.0;
        const double centre = (g.metrics.originX + g.metrics.blackBoxX / 2.0) * s;
        const sgTextContour& c = g.contours[0];
        EXPECT_NEAR((c.minX + c.maxX) / 2.0 - t.getCharPosition(i), -0.5 * centre + 0.5 * centres[i], 1e-4) << i;
    }
}

TEST_F(TextFontTest, SlantShearsByItsTangentUpTo75Degrees) {
    sgText3D a("arial"), b("arial");
    a.generate("I");
    b.setSlantAngle(30.0f);
    b.generate("I");
    const sgTextContour& ca = a.getGlyph(0).contours[0];
    const sgTextContour& cb = b.getGlyph(0).contours[0];
    ASSERT_EQ(ca.getPointCount(), cb.getPointCount());
    for (int k = 0; k < ca.getPointCount(); ++k)
        EXPECT_NEAR(cb.points[k].x, ca.points[k].x + std::tan(30.0 * SG_PI / 180.0) * ca.points[k].y, 1e-6);
    b.setSlantAngle(89.0f);
    b.generate("I");
    EXPECT_NEAR(b.getGlyph(0).contours[0].maxX - ca.maxX, std::tan(75.0 * SG_PI / 180.0) * ca.maxY, 1e-3);
}

TEST_F(TextFontTest, ItalicWithoutAnItalicFaceIsSheared) {
    // The test fonts give DejaVu Sans no oblique face.
    sgText3D upright("DejaVu Sans"), italic("DejaVu Sans");
    italic.setItalic(1);
    upright.generate("I");
    italic.generate("I");
    EXPECT_EQ(pathBaseName(italic.getFontFile()), "DejaVuSans.ttf");
    const sgTextContour& u = upright.getGlyph(0).contours[0];
    const sgTextContour& s = italic.getGlyph(0).contours[0];
    ASSERT_EQ(u.getPointCount(), s.getPointCount());
    for (int k = 0; k < u.getPointCount(); ++k) {
        // FreeType shears in whole font units: half a unit is 0.006 here.
        EXPECT_NEAR(s.points[k].x, u.points[k].x + FONT_ITALIC_SHEAR * u.points[k].y, 0.01);
        EXPECT_NEAR(s.points[k].y, u.points[k].y, 0.01);
    }
    EXPECT_EQ(italic.getGlyph(0).metrics.cellIncX, upright.getGlyph(0).metrics.cellIncX);
}

TEST_F(TextFontTest, Utf8CharactersAndMalformedBytes) {
    sgText3D t("arial");
    t.generate("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");  // e-acute, euro, an emoji
    ASSERT_EQ(t.getCharCount(), 3);
    EXPECT_EQ(t.getGlyph(0).code, 0xE9u);
    EXPECT_EQ(t.getGlyph(1).code, 0x20ACu);
    EXPECT_EQ(t.getGlyph(2).code, 0x1F600u);
    EXPECT_EQ(t.getGlyph(0).contours.size(), 3u);  // e with its hole, the accent

    // A lead byte at the end never reads past the string.
    t.generate("a\xE2\x82");
    ASSERT_EQ(t.getCharCount(), 3);
    EXPECT_EQ(t.getGlyph(1).code, 0xFFFDu);
    EXPECT_EQ(t.getGlyph(2).code, 0xFFFDu);
    t.generate("\xC0\xAF\xED\xA0\x80");  // overlong and surrogate forms
    for (int i = 0; i < t.getCharCount(); ++i) EXPECT_EQ(t.getGlyph(i).code, 0xFFFDu);

    t.generate("");
    EXPECT_EQ(t.getCharCount(), 0);
    EXPECT_FLOAT_EQ(t.getWidth(), 0.0f);
    EXPECT_FLOAT_EQ(t.getHeight(), 0.0f);
}
