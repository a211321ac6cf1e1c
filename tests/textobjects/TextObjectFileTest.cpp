// What text objects and counters write, and how they copy, without building
// any geometry.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "tests/support/ToolCheck.h"
#include "scene/pnCounter.h"
#include "scene/pnString.h"
#include "scene/pnStringProperty.h"
#include "tests/textobjects/TextObjectSupport.h"

TEST(TextObjectFile, TextDefaults) {
    pnString s;
    EXPECT_STREQ(s.getTypeName(), "pnString");
    EXPECT_EQ(s.getString(), "");
    EXPECT_EQ(s.getKind(), 1);
    EXPECT_EQ(s.getVJust(), 4);  // the text object's own default
    EXPECT_EQ(s.getHJust(), 1);
    EXPECT_EQ(s.getFont(), "arial");
    EXPECT_FLOAT_EQ(s.getDepth(), 5.0f);
    EXPECT_FLOAT_EQ(s.getSize(), 32.0f);
    EXPECT_EQ(s.getStringPropertyName(), nullptr);
    EXPECT_EQ(s.hasEdge(), 0);
}

TEST(TextObjectFile, WritesTheStringBlock) {
    pnString s;
    s.setName("Title");
    s.setString("say \"hi\"");
    s.setStringProperty("Heading");  // unbuilt: only the name is kept
    s.setBackMaterial("rim");
    s.setKind(0);
    s.setBorder(1.5f);
    s.setHJust(2);
    s.setVJust(3);  // never written
    s.setSpacing(2.0f, 8.0f, 9.0f);
    s.setBevel(0.25f, 0.75f);
    int result = 0;
    EXPECT_EQ(writtenBy(s, 0, &result),
              "string {\n"
              "    name\t\"Title\"\n"
              "    forward\t0\n"
              "    string\t\"say 'hi'\"\n"
              "    stringProperty\t\"Heading\"\n"
              "    size\t32.000000\n"
              "    slantAngle\t0.000000\n"
              "    italic\t0\n"
              "    gap\t\t2.000000\n"
              "    depth\t5.000000\n"
              "    ratio\t1.000000\n"
              "    bevel\t(0.250000 0.750000)\n"
              "    precision\t0.600000\n"
              "    font\t\"arial\"\n"
              "    backMaterial\t\"rim\"\n"
              "    kind\t\"2D\"\n"
              "    border\t1.500000\n"
              "    hJust\tRight\n"
              "    wJust\t0.000000\n"
              "    nJust\t0.000000\n"
              "    mode\t0\n"
              "    splane\t(1.000000 0.000000 1.000000 0.500000)\n"
              "    tplane\t(0.000000 1.000000 1.000000 0.500000)\n"
              "}\n\n");
    EXPECT_EQ(result, 1);
}

TEST(TextObjectFile, StringBlockOptionalKeys) {
    pnString s;
    s.setName("t");
    s.setHOffset(2.0f);
    s.setVOffset(-1.0f);
    s.setHJust(0);
    std::string out = writtenBy(s);
    EXPECT_NE(out.find("    kind\t\"3D\"\n    hOffset\t2.000000\n    vOffset\t-1.000000\n    hJust\tLeft\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(out.find("stringProperty"), std::string::npos);
    EXPECT_EQ(out.find("backMaterial"), std::string::npos);
    EXPECT_EQ(out.find("border"), std::string::npos);
    EXPECT_EQ(out.find("vJust"), std::string::npos);
    // hJust is clamped when set, so a wild value writes Right.
    s.setHJust(9);
    EXPECT_NE(writtenBy(s).find("    hJust\tRight\n"), std::string::npos);
}

TEST(TextObjectFile, TextCopyTakesStyleValuesAndPlanes) {
    pnString a, b;
    a.setName("a");
    a.setString("Hello");
    a.setFont("DejaVu Sans");
    a.setVJust(3);
    a.setKind(0);
    a.setBorder(2.0f);
    a.setBackMaterial("rim");
    a.setStringProperty("S");
    a.setSize(12.0f);
    a.setRatio(0.5);
    a.setNJust(11.0f);
    a.setMode(2);
    a.setTexMove(0.25f, 0.75f);
    EXPECT_EQ(b.copy(&a), 1);
    EXPECT_EQ(b.getName(), "a");
    EXPECT_EQ(b.getString(), "Hello");
    EXPECT_EQ(b.getFont(), "DejaVu Sans");
    EXPECT_EQ(b.getVJust(), 3);
    EXPECT_EQ(b.getKind(), 0);
    EXPECT_FLOAT_EQ(b.getBorder(), 2.0f);
    EXPECT_EQ(b.getBackMaterial(), "rim");
    EXPECT_STREQ(b.getStringPropertyName(), "S");
    EXPECT_FLOAT_EQ(b.getSize(), 12.0f);
    EXPECT_DOUBLE_EQ(b.getRatio(), 0.5);
    EXPECT_FLOAT_EQ(b.getNJust(), 11.0f);
    EXPECT_EQ(b.getMode(), 2);
    EXPECT_FLOAT_EQ(b.getSPlane()[3], 0.25f);
    EXPECT_FLOAT_EQ(b.getTPlane()[3], 0.75f);
    EXPECT_EQ(b.getSwitchNode(), nullptr);
    EXPECT_EQ(b.getEngine(), nullptr);
    EXPECT_EQ(b.copy(nullptr), 0);
    EXPECT_EQ(b.copy(&b), 1);
}

TEST(TextObjectFile, TextSettersStoreWithoutNodes) {
    pnString s;
    s.setHJust(-4);
    EXPECT_EQ(s.getHJust(), 0);
    s.setWJust(30.0f);
    s.setNJust(12.0f);
    EXPECT_FLOAT_EQ(s.getWJust(), 0.0f);
    s.setWJust(40.0f);
    EXPECT_FLOAT_EQ(s.getNJust(), 0.0f);
    s.setBevel(3.0f);
    EXPECT_FLOAT_EQ(s.getBevel(0), 3.0f);
    EXPECT_FLOAT_EQ(s.getBevel(1), 3.0f);
    s.setBevelWidth(1.0f);
    s.setBevelDepth(2.0f);
    EXPECT_FLOAT_EQ(s.getBevel(0), 1.0f);
    EXPECT_FLOAT_EQ(s.getBevel(1), 2.0f);
    s.setFont(nullptr);
    s.setFont("");
    EXPECT_EQ(s.getFont(), "arial");
    s.setString(nullptr);
    EXPECT_EQ(s.getString(), "");
    s.setBackMaterial("x");
    s.setBackMaterial(nullptr);  // keeps the stored name
    EXPECT_EQ(s.getBackMaterial(), "x");
    s.setTexMove(5.0f, 5.0f);  // mode 0: ignored
    EXPECT_FLOAT_EQ(s.getSPlane()[3], 0.5f);
    s.setGap2(4.0f);  // the table's second entry
    EXPECT_FLOAT_EQ(s.getGap(), 4.0f);
    s.setDepth2(9.0f);
    EXPECT_FLOAT_EQ(s.getDepth(), 9.0f);
}

TEST(TextObjectFile, CounterDefaults) {
    pnCounter c;
    EXPECT_STREQ(c.getTypeName(), "pnCounter");
    EXPECT_DOUBLE_EQ(c.getInitValue(), 0.0);
    EXPECT_DOUBLE_EQ(c.getFinalValue(), 0.0);
    EXPECT_EQ(c.getStartFrame(), 0);
    EXPECT_EQ(c.getEndFrame(), 0);
    EXPECT_DOUBLE_EQ(c.getStep(), -1.0);
    EXPECT_EQ(c.getNumFraction(), 0);
    EXPECT_EQ(c.getUseComma(), 1);
    EXPECT_EQ(c.getStringPropertyName(), nullptr);
    EXPECT_EQ(c.rebuildGlyphs(nullptr), 0);  // not built: nothing to do
    EXPECT_EQ(c.getGlyphGeode(0), nullptr);
}

TEST(TextObjectFile, CounterSpanAndStep) {
    pnCounter c;
    c.setFinalValue(100.0);
    c.setFrames(0, 10);
    EXPECT_DOUBLE_EQ(c.getStep(), 10.0);
    EXPECT_DOUBLE_EQ(c.getValueAt(5), 50.0);
    // The step follows later value changes.
    c.setInitValue(50.0);
    EXPECT_DOUBLE_EQ(c.getStep(), 5.0);
    EXPECT_DOUBLE_EQ(c.getValueAt(5), 75.0);
    c.setFrames(10, 10);
    EXPECT_DOUBLE_EQ(c.getStep(), -1.0);
    EXPECT_DOUBLE_EQ(c.getValueAt(0), 50.0);
    EXPECT_DOUBLE_EQ(c.getValueAt(1), 100.0);
    c.setFrames(20, 5);
    EXPECT_DOUBLE_EQ(c.getStep(), -1.0);
    EXPECT_EQ(c.getFrameCount(), -15);
    // A span wider than int does not overflow.
    c.setFrames(-2000000000, 2000000000);
    EXPECT_EQ(c.getFrameCount(), 2147483647);
    EXPECT_GT(c.getStep(), 0.0);
    c.setNumFraction(7);
    EXPECT_EQ(c.getNumFraction(), 3);
    c.setNumFraction(-2);
    EXPECT_EQ(c.getNumFraction(), 0);
    c.setNumFraction(2);
    EXPECT_EQ(c.getNumFraction(), 2);
}

TEST(TextObjectFile, WritesTheCounterBlock) {
    LocaleGuard guard;
    pnCounter c;
    c.setName("Count");
    c.setPosition(1.0f, 2.0f, 3.0f);
    c.setStringProperty("Digits");
    c.setBackMaterial("rim");
    c.setInitValue(-2.5);
    c.setFinalValue(1234.75);
    c.setUseComma(0);
    c.setNumFraction(2);
    c.setMode(3);
    REQUIRE_GERMAN_LOCALE(LC_ALL);
    EXPECT_EQ(writtenBy(c),
              "counter {\n"
              "    name\t\"Count\"\n"
              "    position\t( 1.000000 2.000000 3.000000 )\n"
              "    forward\t0\n"
              "    stringProperty\t\"Digits\"\n"
              "    backMaterial\t\"rim\"\n"
              "    initValue\t-2.500000\n"
              "    finalValue\t1234.750000\n"
              "    useComma\t0\n"
              "    numFraction\t2\n"
              "    mode\t3\n"
              "    splane\t(1.000000 0.000000 1.000000 0.500000)\n"
              "    tplane\t(0.000000 1.000000 1.000000 0.500000)\n"
              "}\n\n");
    pnCounter bare;
    bare.setName("b");
    std::string out = writtenBy(bare);
    EXPECT_EQ(out.find("stringProperty"), std::string::npos);
    EXPECT_EQ(out.find("backMaterial"), std::string::npos);
}

TEST(TextObjectFile, CounterCopyKeepsItsSpan) {
    pnCounter a, b;
    a.setName("a");
    a.setInitValue(0.0);
    a.setFinalValue(100.0);
    a.setFrames(0, 10);
    a.setNumFraction(1);
    a.setUseComma(0);
    a.setStringProperty("S");
    a.setBackMaterial("rim");
    a.setMode(2);
    EXPECT_EQ(b.copy(&a), 1);
    EXPECT_DOUBLE_EQ(b.getValueAt(5), 50.0);  // frame count and step together
    EXPECT_EQ(b.getFrameCount(), 10);
    EXPECT_EQ(b.getNumFraction(), 1);
    EXPECT_EQ(b.getUseComma(), 0);
    EXPECT_STREQ(b.getStringPropertyName(), "S");
    EXPECT_EQ(b.getBackMaterial(), "rim");
    EXPECT_EQ(b.getMode(), 2);
    EXPECT_EQ(b.copy(nullptr), 0);
}

TEST(TextObjectFile, FailedWritesAreReported) {
    FILE* f = std::fopen("/dev/full", "w");
    if (!f) GTEST_SKIP() << "no /dev/full";
    std::setvbuf(f, nullptr, _IONBF, 0);
    pnString s;
    pnCounter c;
    EXPECT_EQ(s.write(f, 0), 0);
    EXPECT_EQ(c.write(f, 0), 0);
    std::fclose(f);
    EXPECT_EQ(s.write(nullptr, 0), 0);
    EXPECT_EQ(c.write(nullptr, 0), 0);
}
