// Text styles: defaults, the setters that interact, copying and the block the
// scene file holds for a style.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "tests/support/ToolCheck.h"
#include "scene/pnStringProperty.h"
#include "tests/textobjects/TextObjectSupport.h"

namespace {

std::string written(const pnStringProperty& s) {
    char* buf = nullptr;
    size_t len = 0;
    FILE* f = open_memstream(&buf, &len);
    EXPECT_EQ(s.write(f), 1);
    std::fclose(f);
    std::string out(buf, len);
    std::free(buf);
    return out;
}

}  // namespace

TEST(StringProperty, Defaults) {
    pnStringProperty s;
    EXPECT_EQ(s.getName(), "");
    EXPECT_EQ(s.getKind(), 1);
    EXPECT_EQ(s.getHJust(), 1);
    EXPECT_EQ(s.getVJust(), 1);
    EXPECT_EQ(s.getFont(), "arial");
    EXPECT_FLOAT_EQ(s.getDepth(), 5.0f);
    EXPECT_FLOAT_EQ(s.getSize(), 32.0f);
    EXPECT_FLOAT_EQ(s.getPrecision(), 0.6f);
    EXPECT_DOUBLE_EQ(s.getRatio(), 1.0);
    EXPECT_FLOAT_EQ(s.getBevel(0), 0.0f);
    EXPECT_FLOAT_EQ(s.getBevel(1), 0.0f);
    EXPECT_FLOAT_EQ(s.getWJust(), 0.0f);
    EXPECT_FLOAT_EQ(s.getBorder(), 0.0f);
}

TEST(StringProperty, WidthValuesExcludeEachOther) {
    pnStringProperty s;
    s.setNJust(4.0f);
    s.setWJust(10.0f);
    EXPECT_FLOAT_EQ(s.getNJust(), 0.0f);
    EXPECT_FLOAT_EQ(s.getWJust(), 10.0f);
    s.setNJust(4.0f);
    EXPECT_FLOAT_EQ(s.getWJust(), 0.0f);
    // Only a positive value clears the other.
    s.setWJust(-1.0f);
    EXPECT_FLOAT_EQ(s.getNJust(), 4.0f);
    EXPECT_FLOAT_EQ(s.getWJust(), -1.0f);
    s.setNJust(0.0f);
    EXPECT_FLOAT_EQ(s.getWJust(), -1.0f);
}

TEST(StringProperty, HJustOutsideItsRangeReadsAsCentre) {
    pnStringProperty s;
    s.setHJust(7);
    EXPECT_EQ(s.getHJust(), 1);
    s.setHJust(-1);
    EXPECT_EQ(s.getHJust(), 1);
    s.setHJust(2);
    EXPECT_EQ(s.getHJust(), 2);
    s.setHJust(0);
    EXPECT_EQ(s.getHJust(), 0);
}

TEST(StringProperty, SettersStoreAsGiven) {
    pnStringProperty s;
    s.setBevel(3.0f);
    EXPECT_FLOAT_EQ(s.getBevel(0), 3.0f);
    EXPECT_FLOAT_EQ(s.getBevel(1), 3.0f);
    s.setBevel(1.0f, 2.0f);
    EXPECT_FLOAT_EQ(s.getBevel(0), 1.0f);
    EXPECT_FLOAT_EQ(s.getBevel(1), 2.0f);
    s.setSpacing(4.0f, 5.0f, 6.0f);
    EXPECT_FLOAT_EQ(s.getGap(), 4.0f);
    EXPECT_FLOAT_EQ(s.getSpacing1(), 5.0f);
    EXPECT_FLOAT_EQ(s.getSpacing2(), 6.0f);
    s.setSize(-3.0f);  // no range checks
    EXPECT_FLOAT_EQ(s.getSize(), -3.0f);
    s.setKind(9);
    EXPECT_EQ(s.getKind(), 9);
}

TEST(StringProperty, NamesAndFonts) {
    pnStringProperty s;
    s.setName("Title");
    s.setName(nullptr);
    EXPECT_EQ(s.getName(), "Title");
    s.setFont("DejaVu Sans");
    s.setFont(nullptr);
    s.setFont("");  // a style never loses its face
    EXPECT_EQ(s.getFont(), "DejaVu Sans");
    s.setName(std::string(300, 'n').c_str());
    EXPECT_EQ(s.getName().size(), 127u);
}

TEST(StringProperty, CopyTakesEverythingIncludingAnEmptyName) {
    pnStringProperty a, b;
    a.setFont("DejaVu Sans");
    a.setKind(0);
    a.setHJust(2);
    a.setVJust(3);
    a.setNJust(12.0f);
    a.setBevel(1.5f, 2.5f);
    a.setSpacing(1.0f, 2.0f, 3.0f);
    a.setSlantAngle(10.0f);
    a.setItalic(1);
    a.setHOffset(2.0f);
    a.setVOffset(-2.0f);
    a.setBorder(1.0f);
    a.setDepth(7.0f);
    a.setSize(40.0f);
    a.setPrecision(0.3f);
    a.setRatio(0.5);
    b.setName("old");
    EXPECT_EQ(b.copy(&a), 1);
    EXPECT_EQ(b.getName(), "");  // the unnamed source leaves the copy unnamed
    EXPECT_EQ(b.getFont(), "DejaVu Sans");
    EXPECT_EQ(b.getKind(), 0);
    EXPECT_EQ(b.getHJust(), 2);
    EXPECT_EQ(b.getVJust(), 3);
    EXPECT_FLOAT_EQ(b.getNJust(), 12.0f);
    EXPECT_FLOAT_EQ(b.getBevel(1), 2.5f);
    EXPECT_FLOAT_EQ(b.getSpacing2(), 3.0f);
    EXPECT_FLOAT_EQ(b.getSlantAngle(), 10.0f);
    EXPECT_EQ(b.getItalic(), 1);
    EXPECT_FLOAT_EQ(b.getVOffset(), -2.0f);
    EXPECT_FLOAT_EQ(b.getBorder(), 1.0f);
    EXPECT_FLOAT_EQ(b.getDepth(), 7.0f);
    EXPECT_FLOAT_EQ(b.getSize(), 40.0f);
    EXPECT_FLOAT_EQ(b.getPrecision(), 0.3f);
    EXPECT_DOUBLE_EQ(b.getRatio(), 0.5);
    EXPECT_EQ(b.copy(nullptr), 0);
    EXPECT_EQ(b.copy(&b), 1);
    EXPECT_EQ(b.getFont(), "DejaVu Sans");
}

TEST(StringProperty, WritesItsBlock) {
    pnStringProperty s;
    s.setName("Title");
    EXPECT_EQ(written(s),
              "stringProperty {\n"
              "    name\t\"Title\"\n"
              "    size\t32.000000\n"
              "    slantAngle\t0.000000\n"
              "    italic\t0\n"
              "    gap\t\t0.000000\n"
              "    depth\t5.000000\n"
              "    ratio\t1.000000\n"
              "    bevel\t(0.000000 0.000000)\n"
              "    precision\t0.600000\n"
              "    font\t\"arial\"\n"
              "    kind\t\"3D\"\n"
              "    hJust\t\"Center\"\n"
              "    vJust\t\"Center\"\n"
              "    wJust\t0.000000\n"
              "    nJust\t0.000000\n"
              "}\n\n");
}

TEST(StringProperty, WritesOptionalKeysAndWords) {
    pnStringProperty s;
    s.setName("say \"hi\"");  // the file format has no escapes
    s.setKind(0);
    s.setHJust(7);
    s.setVJust(4);
    s.setBorder(1.25f);
    s.setHOffset(-2.5f);
    s.setVOffset(3.0f);
    s.setSpacing(0.5f, 9.0f, 9.0f);  // the spare values never reach the file
    s.setBevel(1.0f, 2.0f);
    const std::string out = written(s);
    EXPECT_NE(out.find("    name\t\"say 'hi'\"\n"), std::string::npos) << out;
    EXPECT_NE(out.find("    gap\t\t0.500000\n"), std::string::npos);
    EXPECT_NE(out.find("    bevel\t(1.000000 2.000000)\n"), std::string::npos);
    EXPECT_NE(out.find("    font\t\"arial\"\n    border\t1.250000\n    kind\t\"2D\"\n"), std::string::npos);
    // hJust is written from the stored value: 7 reads "Right".
    EXPECT_NE(out.find("    hJust\t\"Right\"\n    vJust\t\"Bottom\"\n"), std::string::npos);
    EXPECT_NE(out.find("    nJust\t0.000000\n    hOffset\t-2.500000\n    vOffset\t3.000000\n}\n\n"),
              std::string::npos);
    EXPECT_EQ(out.find("9.0"), std::string::npos);

    s.setBorder(0.0f);
    s.setHOffset(0.0f);
    s.setHJust(0);
    s.setVJust(3);
    const std::string out2 = written(s);
    EXPECT_EQ(out2.find("border"), std::string::npos);
    EXPECT_EQ(out2.find("hOffset"), std::string::npos);
    EXPECT_NE(out2.find("    hJust\t\"Left\"\n    vJust\t\"Top\"\n"), std::string::npos);
}

TEST(StringProperty, WritesNumbersInTheCLocale) {
    LocaleGuard guard;
    REQUIRE_GERMAN_LOCALE(LC_ALL);
    pnStringProperty s;
    s.setRatio(0.25);
    const std::string out = written(s);
    EXPECT_NE(out.find("    ratio\t0.250000\n"), std::string::npos) << out;
    EXPECT_EQ(out.find(','), std::string::npos) << out;
}

TEST(StringProperty, ReportsAFailedWrite) {
    pnStringProperty s;
    FILE* f = std::fopen("/dev/full", "w");
    if (!f) GTEST_SKIP() << "no /dev/full";
    std::setvbuf(f, nullptr, _IONBF, 0);
    EXPECT_EQ(s.write(f), 0);
    std::fclose(f);
    EXPECT_EQ(s.write(nullptr), 0);
}
