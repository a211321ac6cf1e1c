#include "editor/CKelvanoView.h"
#include "editor/KelvanoIds.h"
#include "editor/KelvanoMenus.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

using namespace kv;

namespace {
std::string textOf(const std::vector<MenuEntry>& menu, int id) {
    for (const MenuEntry& e : menu)
        if (e.id == id && (e.kind == MenuEntry::Item || e.kind == MenuEntry::Check)) return e.text;
    return "<missing>";
}
std::vector<std::string> popupTitles(const std::vector<MenuEntry>& menu) {
    std::vector<std::string> titles;
    int depth = 0;
    for (const MenuEntry& e : menu) {
        if (e.kind == MenuEntry::PopupBegin && depth++ == 0) titles.push_back(e.text);
        if (e.kind == MenuEntry::PopupEnd) --depth;
    }
    return titles;
}
}  // namespace

TEST(MenusTest, MenusAreWellFormedWithUniqueCommands) {
    for (const auto* menu : {&FrameMenu(), &DocumentMenu(false), &DocumentMenu(true)}) {
        int depth = 0;
        std::set<int> ids;
        for (const MenuEntry& e : *menu) {
            if (e.kind == MenuEntry::PopupBegin) ++depth;
            if (e.kind == MenuEntry::PopupEnd) {
                --depth;
                ASSERT_GE(depth, 0);
            }
            if (e.kind == MenuEntry::Item || e.kind == MenuEntry::Check) {
                EXPECT_TRUE(ids.insert(e.id).second) << "repeated command " << e.id;
                EXPECT_LT(ToWxId(e.id), 0x7fff);
                EXPECT_EQ(FromWxId(ToWxId(e.id)), e.id);
            }
        }
        EXPECT_EQ(depth, 0);
    }
}

TEST(MenusTest, DocumentedTextsAreKeptAsWritten) {
    const auto& normal = DocumentMenu(false);
    EXPECT_EQ(popupTitles(normal),
              (std::vector<std::string>{"&File", "&Edit", "&View", "&Mode", "&Objects", "E&nvironment", "&Help"}));
    EXPECT_EQ(textOf(normal, ID_CAMERA_BOTTOM), "Bottom View\tShift+6");
    // Every preset shows its key the same way (Front's hint was misspelt).
    for (int id = ID_CAMERA_FRONT; id <= ID_CAMERA_BOTTOM; ++id) {
        std::string label, hint;
        SplitMenuText(textOf(normal, id), label, hint);
        AccelEntry key{};
        ASSERT_TRUE(ParseKeyHint(hint, key)) << label;
        EXPECT_EQ(key.flags, ACCEL_SHIFT);
        EXPECT_EQ(key.key, '1' + id - ID_CAMERA_FRONT);
    }
    EXPECT_EQ(textOf(normal, ID_MODE_MOVE), "&Move\tL");
    EXPECT_EQ(textOf(normal, ID_ADD_TEXT), "&Text\t    T");
    EXPECT_EQ(textOf(normal, ID_EDIT_DELETE), "&Delete\tDel");
    EXPECT_EQ(textOf(normal, ID_FIXED_DURATION), "Fixed Duration\tShift+D");
    EXPECT_EQ(textOf(normal, ID_HELP_CONTENTS), "&Contents");
    EXPECT_EQ(textOf(normal, ID_APP_ABOUT), "&About Kelvano...");
    EXPECT_EQ(textOf(normal, ID_EXPORT_GIF_ANIMATION), "&GIF Animation File");
    EXPECT_EQ(textOf(normal, ID_FILE_SAVE), "&Save\tCtrl+S");
    EXPECT_EQ(textOf(FrameMenu(), ID_APP_ABOUT), "&About Kelvano...");
    EXPECT_EQ(textOf(FrameMenu(), ID_FILE_SAVE), "<missing>");

    const auto& embedded = DocumentMenu(true);
    EXPECT_EQ(textOf(embedded, ID_FILE_SAVE), "<missing>");
    EXPECT_EQ(textOf(embedded, ID_EXPORT_PNG), "<missing>");
    EXPECT_EQ(textOf(embedded, ID_EMBED_EXPORT_METAFILE), "Windows Metafile");
    EXPECT_EQ(textOf(embedded, ID_EXPORT_GIF_ANIMATION), "&GIF Animation");
    EXPECT_EQ(textOf(embedded, ID_EXPORT_SWF), "&SWF Flash");
    EXPECT_EQ(textOf(embedded, ID_MODE_ROTATE), "&Rotate\tShift+R");
    EXPECT_EQ(textOf(embedded, ID_AXIS_Z), "Z Axis\tShift+Z");
    EXPECT_EQ(textOf(embedded, ID_ADD_GRAPH), "&Graph\t    Shift + G");
    EXPECT_EQ(textOf(embedded, ID_HELP_CONTENTS), "&Help");
}

TEST(MenusTest, KeyHints) {
    AccelEntry a{};
    ASSERT_TRUE(ParseKeyHint("Ctrl+N", a));
    EXPECT_EQ(a.flags, ACCEL_CTRL);
    EXPECT_EQ(a.key, 'N');
    ASSERT_TRUE(ParseKeyHint("    Shift + T", a));
    EXPECT_EQ(a.flags, ACCEL_SHIFT);
    EXPECT_EQ(a.key, 'T');
    ASSERT_TRUE(ParseKeyHint("Del", a));
    EXPECT_EQ(a.key, KEY_DELETE);
    ASSERT_TRUE(ParseKeyHint("F6", a));
    EXPECT_EQ(a.key, KEY_F6);
    ASSERT_TRUE(ParseKeyHint("Shift+2", a));
    EXPECT_EQ(a.key, '2');
    EXPECT_FALSE(ParseKeyHint("Shitf+1", a));
    EXPECT_FALSE(ParseKeyHint("", a));
    EXPECT_FALSE(ParseKeyHint("F13", a));
    EXPECT_FALSE(ParseKeyHint("Ctrl+", a));
}

TEST(MenusTest, CommandPromptsGiveTheStatusTextAndTheToolTip) {
    struct Case {
        int id;
        const char* flyBy;
        const char* toolTip;
    };
    for (const Case& c : {Case{ID_MODE_MOVE, "Move mode", "Move <Shift+L>"},
                          Case{ID_MODE_SCALE, "Scale mode", "Scale <Shift+S>"},
                          Case{ID_MODE_ROTATE, "Rotate mode", "Rotate <Shift+R>"},
                          Case{ID_AXIS_Z, "Z Axis", "Z Axis <Shift+Z>"},
                          Case{ID_CAMERA_FRONT, "Front View", "Front View <Shift+1>"},
                          Case{ID_CAMERA_BOTTOM, "Bottom View", "Bottom View <Shift+6>"},
                          Case{IDW_OBJECT_CHOOSER, "Select new object", "Change Object"},
                          Case{ID_IMAGE_SIZE, "Change the size of the drawing window", ""}}) {
        std::string flyBy = "?", toolTip = "?";
        ASSERT_TRUE(GetCommandPrompt(c.id, flyBy, toolTip)) << c.id;
        EXPECT_EQ(flyBy, c.flyBy);
        EXPECT_EQ(toolTip, c.toolTip);
    }
    std::string flyBy, toolTip;
    EXPECT_FALSE(GetCommandPrompt(ID_FIXED_DURATION, flyBy, toolTip));
}

TEST(MenusTest, OnlyAcceleratorTableKeysAreBoundAndNoneIsABareLetter) {
    EXPECT_TRUE(HintIsAccelerator("Ctrl+N", ID_FILE_NEW));
    EXPECT_TRUE(HintIsAccelerator("Ctrl+Z", ID_EDIT_UNDO));
    EXPECT_FALSE(HintIsAccelerator("Ctrl+N", ID_FILE_OPEN));
    EXPECT_FALSE(HintIsAccelerator("L", ID_MODE_MOVE));
    EXPECT_FALSE(HintIsAccelerator("    T", ID_ADD_TEXT));
    EXPECT_FALSE(HintIsAccelerator("Del", ID_EDIT_DELETE));
    EXPECT_FALSE(HintIsAccelerator("Shift+D", ID_FIXED_DURATION));

    std::map<std::pair<int, int>, int> seen;
    for (const AccelEntry& e : AcceleratorTable()) {
        const bool letterOrDigit = (e.key >= 'A' && e.key <= 'Z') || (e.key >= '0' && e.key <= '9');
        EXPECT_FALSE(letterOrDigit && (e.flags & (ACCEL_CTRL | ACCEL_ALT)) == 0) << "key " << e.key;
        EXPECT_TRUE(seen.emplace(std::pair{e.flags, e.key}, e.id).second) << "key bound twice " << e.key;
    }
    EXPECT_EQ(seen.at({ACCEL_CTRL, 'D'}), ID_FIXED_DURATION);
    EXPECT_EQ(seen.at({ACCEL_ALT, KEY_BACK}), ID_EDIT_UNDO);
    EXPECT_EQ(seen.at({ACCEL_SHIFT, KEY_DELETE}), ID_EDIT_CUT);
    EXPECT_EQ(seen.at({ACCEL_SHIFT, KEY_F6}), ID_PREV_PANE);
    EXPECT_EQ(AcceleratorTable().size(), 18u);
}

TEST(MenusTest, ContextMenuPopupsInTheirOrder) {
    auto ids = [](int popup) {
        std::vector<int> out;
        for (const MenuEntry& e : ContextMenu(popup)) out.push_back(e.kind == MenuEntry::Separator ? 0 : e.id);
        return out;
    };
    EXPECT_EQ(ids(0), (std::vector<int>{32804, 32833, 57635, 57634, 57637, 0, 32777, 32779, 32780, 32813, 0, 32810,
                                        32811, 32812}));
    EXPECT_EQ(ids(1), (std::vector<int>{32881, 32882}));
    EXPECT_STREQ(ContextMenu(0)[1].text, "D&elete Column");
    EXPECT_STREQ(ContextMenu(1)[1].text, "Add &Grow/Shrink Effect");
    EXPECT_STREQ(ContextMenuName(1), "ANI_POPUP");
}

// The frame routes only its command ranges to the view, and the first row that
// covers a number wins: a row outside the ranges, or one that another row
// hides, would never run.
TEST(MenusTest, EveryViewCommandIsRoutedAndFoundByItsOwnRow) {
    const auto routed = [](int id) {
        return (id >= kFirstViewCommand && id <= kLastViewCommand) ||
               (id >= kFirstFrameworkCommand && id <= kLastFrameworkCommand);
    };
    for (const CKelvanoView::Command& row : CKelvanoView::Commands()) {
        EXPECT_LE(row.first, row.last);
        EXPECT_NE(row.action, nullptr) << row.first;
        for (int id = row.first; id <= row.last; ++id) {
            EXPECT_TRUE(routed(id)) << id;
            EXPECT_EQ(CKelvanoView::FindCommand(id), &row) << id;
        }
    }
    EXPECT_EQ(CKelvanoView::FindCommand(ID_VIEW_TOOLBAR), nullptr) << "the frame's own command";
}
