// The program's menus and accelerator table as plain data. The frame builds its
// menu bar from these lists; keeping them apart from the window code lets the
// texts (hints and all) be checked without a display.
#pragma once

#include <string>
#include <vector>

namespace kv {

struct MenuEntry {
    enum Kind { Item, Check, Separator, PopupBegin, PopupEnd, RecentFiles };
    Kind kind;
    int id;            // 0 for separators and pop-ups
    const char* text;  // label with '&' mnemonic and an optional "\t" hint
};

// The frame's own menu, shown while no document is open.
const std::vector<MenuEntry>& FrameMenu();
// The document menu: the normal one, or the one used while embedded.
const std::vector<MenuEntry>& DocumentMenu(bool embedded);

// Menu 106, the view's context menu: popup 0 "OBJ_POPUP" (object mode) or 1
// "ANI_POPUP" (animation mode), its items without the popup's brackets.
const std::vector<MenuEntry>& ContextMenu(int popup);
const char* ContextMenuName(int popup);

enum AccelFlags : int { ACCEL_CTRL = 1, ACCEL_SHIFT = 2, ACCEL_ALT = 4 };
// Virtual-key numbers of the keys the table uses besides letters and digits.
enum AccelKey : int {
    KEY_BACK = 0x08,
    KEY_INSERT = 0x2D,
    KEY_DELETE = 0x2E,
    KEY_F1 = 0x70,
    KEY_F6 = 0x75,
};

struct AccelEntry {
    int flags;  // AccelFlags
    int key;    // 'A'..'Z', '0'..'9' or an AccelKey
    int id;
};

// The frame's accelerators. Letter keys without Ctrl are deliberately absent:
// the view handles them so that typing into the bars is never taken over.
const std::vector<AccelEntry>& AcceleratorTable();

// A command's prompt as the status bar and the tool tip show it: "Move mode"
// and "Move <Shift+L>". False for a command without one.
bool GetCommandPrompt(int id, std::string& flyBy, std::string& toolTip);

// Splits "&Move\tL" into "&Move" and "L".
void SplitMenuText(const std::string& text, std::string& label, std::string& hint);

// Reads a hint such as "Ctrl+N", "Shift + T", "Del" or "F1". False for texts
// that name no key.
bool ParseKeyHint(const std::string& hint, AccelEntry& out);

// True when the hint names a key of the accelerator table for this command,
// so the menu may bind it; other hints are only shown.
bool HintIsAccelerator(const std::string& hint, int id);

}  // namespace kv
