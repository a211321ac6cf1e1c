// The bars' rules without windows: which page each tab and kind shows, the
// Edit Box's tab state, how typed transform values are cut, list matching and
// the accepted view widths.
#include "sg/sgVec.h"
#include "ui/properties/rules/BarRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

TEST(BarRulesTest, PagesOfKindsAndLockOrder) {
    const struct { const char* type; int kind; int listIndex; } rows[] = {
        {"pnString", 0, PAGE_TEXT},        {"pnPanel", 1, PAGE_PANEL},     {"pnModel", 2, PAGE_MODEL},
        {"pnBarChart", 3, PAGE_BAR},       {"pnLineChart", 4, PAGE_LINE},  {"pnPieChart", 5, PAGE_PIE},
        {"pnVolumeChart", 6, PAGE_AREA},   {"pnCounter", 7, PAGE_EMPTY},   {"pnstring", 7, PAGE_EMPTY},
        {nullptr, 7, PAGE_EMPTY},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ObjectPageKind(row.type), row.kind) << (row.type ? row.type : "null");
        EXPECT_EQ(ObjectPageListIndex(row.kind), row.listIndex) << row.kind;
    }
    // Kinds nobody sends show the empty page rather than a page out of the list.
    EXPECT_EQ(ObjectPageListIndex(8), PAGE_EMPTY);
    EXPECT_EQ(ObjectPageListIndex(-1), PAGE_EMPTY);
    EXPECT_EQ(std::vector<int>(std::begin(kLockOrder), std::end(kLockOrder)),
              (std::vector<int>{2, 1, 0, 9, 8, 7, 6, 5, 4}));
}

TEST(BarRulesTest, EditBoxTabs) {
    CEditBoxTabs tabs;
    EXPECT_EQ(tabs.OnSelChangeTab(0, 10), PAGE_TEXT) << "at start the Object tab shows the text page";
    EXPECT_TRUE(tabs.SelectTab(0, 7, 3));
    EXPECT_EQ(tabs.OnSelChangeTab(0, 10), PAGE_EMPTY);
    EXPECT_TRUE(tabs.SelectTab(1, 4, 3));
    EXPECT_EQ(tabs.m_nObjectPageKind, 7) << "another tab keeps the stored kind";
    EXPECT_EQ(tabs.OnSelChangeTab(1, 10), PAGE_LIGHT);
    EXPECT_EQ(tabs.m_nCurrentTab, 1);
    EXPECT_EQ(tabs.OnSelChangeTab(0, 10), PAGE_EMPTY) << "clicking Object shows the stored kind";
    EXPECT_FALSE(tabs.SelectTab(5, 2, 3)) << "a tab past the end selects nothing";
    EXPECT_EQ(tabs.m_nObjectPageKind, 7);
    EXPECT_FALSE(tabs.SelectTab(0, 2, 0)) << "tab 0 stores the kind even without tabs";
    EXPECT_EQ(tabs.m_nObjectPageKind, 2);
    EXPECT_EQ(tabs.OnSelChangeTab(-1, 10), -1) << "no selected tab shows nothing";
    EXPECT_EQ(tabs.m_nShownPage, -1);
    EXPECT_EQ(tabs.OnSelChangeTab(0, 3), -1) << "a page past the page count shows nothing";
}

TEST(BarRulesTest, TypedTransformValues) {
    const struct { int field; const char* text; float applied; const char* shown; } rows[] = {
        {TF_POS_X, "12.7", 12.0f, "12.00"},    {TF_POS_X, "-12.7", -12.0f, "-12.00"},
        {TF_SCALE_X, "1.234", 1.23f, "1.23"},  {TF_SCALE_Y, "0.57", 0.57f, "0.57"},
        {TF_SCALE_Z, "-0.57", -0.57f, "-0.57"}, {TF_AXIS_X, "0.7071", 0.707f, "0.707"},
        {TF_AXIS_Z, "0.001", 0.001f, "0.001"}, {TF_ANGLE, "45.9", 45.0f, "45"},
        {TF_POS_Y, "12abc", 12.0f, "12.00"},   {TF_POS_Z, "abc", 0.0f, "0.00"},
        {TF_POS_Z, "nan", 0.0f, "0.00"},       {TF_POS_Z, "-inf", 0.0f, "0.00"},
        {TF_POS_Z, "1e300", 1e9f, "1000000000.00"},
        // Beyond the float range is beyond the bar's range: held at it too.
        {TF_POS_Z, "1e39", 1e9f, "1000000000.00"},  {TF_POS_Z, "1e400", 1e9f, "1000000000.00"},
        {TF_SCALE_X, "-1e400", -1e9f, "-1000000000.00"}, {TF_POS_X, "inf", 0.0f, "0.00"},
    };
    for (const auto& row : rows) {
        const float applied = TransformFieldValue(row.field, row.text);
        EXPECT_FLOAT_EQ(applied, row.applied) << row.text;
        EXPECT_EQ(FormatTransformField(row.field, applied), row.shown) << row.text;
    }
    // An angle composed from turns (a rotation drag, then Redo) is a hair
    // off its whole degrees: the bar shows the degrees the view turned.
    const sgVec4 turned = sgQuatMult(sgQuatFromAngleAxis(60.0f, sgVec3(0, 0, 1)), sgVec4(1, 0, 0, 0));
    float angle = 0.0f;
    sgQuatToAngleAxis(turned, &angle);
    EXPECT_EQ(FormatTransformField(TF_ANGLE, angle), "60") << angle;
    EXPECT_EQ(FormatTransformField(TF_ANGLE, 59.99998f), "60");
    EXPECT_EQ(FormatTransformField(TF_ANGLE, -29.9999f), "-30");
    EXPECT_EQ(TransformFieldOfId(1254), TF_POS_X);
    EXPECT_EQ(TransformFieldOfId(1083), TF_AXIS_Z) << "a spin finds its buddy's field";
    EXPECT_EQ(TransformFieldOfId(1000), -1);
}

TEST(BarRulesTest, ListEntriesAndViewWidths) {
    const std::vector<std::string> entries{"Panel", "Text001", "text"};
    EXPECT_EQ(FindListEntry(entries, "Text"), -1) << "a prefix is not the entry";
    EXPECT_EQ(FindListEntry(entries, "Text001"), 1);
    EXPECT_EQ(FindListEntry(entries, "text"), 2);
    EXPECT_EQ(FindListEntry(entries, "PANEL"), -1) << "case counts";

    const struct { const char* text; bool taken; int width; int slider; } rows[] = {
        {"720", true, 720, 720}, {"3000", true, 3000, 2000}, {"5", true, 5, 10},
        {"1", true, 1, 10},      {"0", false, 0, 0},         {"-40", false, 0, 0}, {"", false, 0, 0},
    };
    for (const auto& row : rows) {
        int width = 0;
        EXPECT_EQ(ParseViewWidth(row.text, width), row.taken) << row.text;
        if (row.taken) {
            EXPECT_EQ(width, row.width) << row.text;
            EXPECT_EQ(ViewWidthSliderPos(width), row.slider) << row.text;
        }
    }
}
