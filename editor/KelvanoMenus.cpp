#include "editor/KelvanoMenus.h"

#include "editor/KelvanoIds.h"

#include <cctype>

namespace kv {

namespace {

using E = MenuEntry;
constexpr E sep{E::Separator, 0, ""};
constexpr E end{E::PopupEnd, 0, ""};
E popup(const char* text) { return E{E::PopupBegin, 0, text}; }
E item(int id, const char* text) { return E{E::Item, id, text}; }
E check(int id, const char* text) { return E{E::Check, id, text}; }

std::vector<MenuEntry> buildFrameMenu() {
    return {
        popup("&File"),
        item(ID_FILE_NEW_FRAME, "&New\tCtrl+N"),
        item(ID_FILE_OPEN_FRAME, "&Open...\tCtrl+O"),
        sep,
        E{E::RecentFiles, ID_FILE_MRU_FIRST, "Recent File"},
        sep,
        item(ID_APP_EXIT, "E&xit"),
        end,
        popup("&View"),
        check(ID_VIEW_TOOLBAR, "&Toolbar"),
        check(ID_VIEW_STATUS_BAR, "&Status Bar"),
        end,
        popup("&Help"),
        item(ID_APP_ABOUT, "&About Kelvano..."),
        end,
    };
}

// The pop-ups the two document menus share word for word.
void appendEditAndView(std::vector<MenuEntry>& m) {
    m.insert(m.end(), {
        popup("&Edit"),
        item(ID_EDIT_UNDO, "&Undo\tCtrl+Z"),
        item(ID_EDIT_REDO, "&Redo\tCtrl+Y"),
        sep,
        item(ID_EDIT_CUT, "Cu&t\tCtrl+X"),
        item(ID_EDIT_COPY, "&Copy\tCtrl+C"),
        item(ID_EDIT_PASTE, "&Paste\tCtrl+V"),
        item(ID_EDIT_DELETE, "&Delete\tDel"),
        item(ID_EDIT_DELETE_COLUMN, "D&elete Column"),
        sep,
        check(ID_EDIT_SELECT_ALL, "Select All\tCtrl+A"),
        sep,
        item(ID_EDIT_OPTIONS, "Edit &Options..."),
        end,
        popup("&View"),
        check(ID_VIEW_TRANSFORMATION, "T&ransformation"),
        check(ID_VIEW_EDIT_BOX, "&Edit Box"),
        check(ID_VIEW_TOOLBAR, "&Toolbar"),
        check(ID_VIEW_STATUS_BAR, "&Status Bar"),
        sep,
        check(ID_VIEW_OBJECT_LIST, "&Object List"),
        check(ID_VIEW_EFFECT_LIST, "E&ffect List"),
        check(ID_VIEW_EVENT_TREE, "E&vent Tree"),
        check(ID_VIEW_TIME_LINE, "Time &Line"),
        end,
    });
}

void appendModeStart(std::vector<MenuEntry>& m) {
    m.insert(m.end(), {
        popup("&Mode"),
        check(ID_MODE_OBJECT, "Object Mode"),
        check(ID_MODE_ANIMATION, "Animation Mode"),
        sep,
        check(ID_CAMERA_FRONT, "Front View\tShift+1"),
        check(ID_CAMERA_BACK, "Back View\tShift+2"),
        check(ID_CAMERA_LEFT, "Left View\tShift+3"),
        check(ID_CAMERA_RIGHT, "Right View\tShift+4"),
        check(ID_CAMERA_TOP, "Top View\tShift+5"),
        check(ID_CAMERA_BOTTOM, "Bottom View\tShift+6"),
        sep,
    });
}

void appendQualityPopups(std::vector<MenuEntry>& m) {
    m.insert(m.end(), {
        popup("&Display Quality"),
        check(ID_DISPLAY_LOW, "&Low"),
        check(ID_DISPLAY_MEDIUM, "&Medium"),
        check(ID_DISPLAY_HIGH, "&High"),
        end,
        popup("Output &Quality"),
        check(ID_OUTPUT_LOW, "&Low"),
        check(ID_OUTPUT_MEDIUM, "&Medium"),
        check(ID_OUTPUT_HIGH, "&High"),
        end,
    });
}

std::vector<MenuEntry> buildDocumentMenu() {
    std::vector<MenuEntry> m = {
        popup("&File"),
        item(ID_FILE_NEW, "&New\tCtrl+N"),
        item(ID_FILE_OPEN, "&Open...\tCtrl+O"),
        item(ID_FILE_SAVE, "&Save\tCtrl+S"),
        item(ID_FILE_SAVE_AS, "Save &As..."),
        sep,
        popup("Create Image Files"),
        item(ID_EXPORT_GIF, "&GIF"),
        item(ID_EXPORT_JPEG, "&Jpeg"),
        item(ID_EXPORT_BMP, "&BMP"),
        item(ID_EXPORT_TARGA, "&Targa"),
        item(ID_EXPORT_PNG, "&PNG"),
        item(ID_EXPORT_RGB, "SGI &RGB"),
        end,
        popup("Create Animation Files"),
        item(ID_EXPORT_GIF_ANIMATION, "&GIF Animation File"),
        item(ID_EXPORT_SWF, "Flash &SWF"),
        item(ID_EXPORT_AVI, "&AVI"),
        end,
        sep,
        E{E::RecentFiles, ID_FILE_MRU_FIRST, "Recent File"},
        sep,
        item(ID_APP_EXIT, "E&xit"),
        end,
    };
    appendEditAndView(m);
    appendModeStart(m);
    m.insert(m.end(), {
        check(ID_MODE_MOVE, "&Move\tL"),
        check(ID_MODE_SCALE, "&Scale\tS"),
        check(ID_MODE_ROTATE, "&Rotate\tR"),
        sep,
        check(ID_AXIS_X, "X Axis\tX"),
        check(ID_AXIS_Y, "Y Axis\tY"),
        check(ID_AXIS_Z, "Z Axis\tZ"),
        sep,
        check(ID_FIXED_DURATION, "Fixed Duration\tShift+D"),
        end,
        popup("&Objects"),
        item(ID_ADD_TEXT, "&Text\t    T"),
        item(ID_ADD_PANEL, "&Panel\t    P"),
        item(ID_ADD_MODEL, "&Model\t    M"),
        item(ID_ADD_GRAPH, "&Graph\t    G"),
        end,
        popup("E&nvironment"),
    });
    appendQualityPopups(m);
    m.insert(m.end(), {
        check(ID_HIGHLIGHT_SELECTED, "Highlight Selected"),
        item(ID_TIMELINE_OPTIONS, "Timeline &Options..."),
        sep,
        item(ID_IMAGE_SIZE, "&Image Size..."),
        popup("&Background"),
        check(ID_BACKGROUND_COLOR, "&Color..."),
        check(ID_BACKGROUND_TEXTURE, "&Texture..."),
        end,
        end,
        popup("&Help"),
        item(ID_HELP_CONTENTS, "&Contents"),
        sep,
        item(ID_APP_ABOUT, "&About Kelvano..."),
        end,
    });
    return m;
}

std::vector<MenuEntry> buildEmbeddedMenu() {
    std::vector<MenuEntry> m = {
        popup("&File"),
        item(ID_FILE_NEW, "&New\tCtrl+N"),
        item(ID_FILE_OPEN, "&Open...\tCtrl+O"),
        popup("Export Image"),
        item(ID_EMBED_EXPORT_METAFILE, "Windows Metafile"),
        item(ID_EMBED_EXPORT_PNG, "PNG"),
        item(ID_EMBED_EXPORT_GIF, "GIF"),
        end,
        popup("Export Animation"),
        item(ID_EMBED_EXPORT_GIF_ANIMATION, "GIF Animation..."),
        item(ID_EMBED_EXPORT_SWF, "Flash SWF"),
        item(ID_EMBED_EXPORT_AVI, "AVI"),
        end,
        item(ID_FILE_SAVE_AS, "Save &As..."),
        sep,
        popup("Create Image Files"),
        item(ID_EXPORT_GIF, "&GIF"),
        item(ID_EXPORT_JPEG, "&Jpeg"),
        item(ID_EXPORT_BMP, "&BMP"),
        item(ID_EXPORT_TARGA, "&Targa"),
        item(ID_EXPORT_RGB, "SGI &RGB"),
        end,
        popup("Create Animation Files"),
        item(ID_EXPORT_GIF_ANIMATION, "&GIF Animation"),
        item(ID_EXPORT_SWF, "&SWF Flash"),
        item(ID_EXPORT_AVI, "&AVI"),
        end,
        sep,
        E{E::RecentFiles, ID_FILE_MRU_FIRST, "Recent File"},
        sep,
        item(ID_APP_EXIT, "E&xit"),
        end,
    };
    appendEditAndView(m);
    appendModeStart(m);
    m.insert(m.end(), {
        check(ID_MODE_MOVE, "&Move\tShift+L"),
        check(ID_MODE_SCALE, "&Scale\tShift+S"),
        check(ID_MODE_ROTATE, "&Rotate\tShift+R"),
        sep,
        check(ID_AXIS_X, "X Axis\tShift+X"),
        check(ID_AXIS_Y, "Y Axis\tShift+Y"),
        check(ID_AXIS_Z, "Z Axis\tShift+Z"),
        sep,
        check(ID_FIXED_DURATION, "Fixed Duration\tShift+D"),
        end,
        popup("&Objects"),
        item(ID_ADD_TEXT, "&Text\t    Shift + T"),
        item(ID_ADD_PANEL, "&Panel\t    Shift + P"),
        item(ID_ADD_MODEL, "&Model\t    Shift + M"),
        item(ID_ADD_GRAPH, "&Graph\t    Shift + G"),
        end,
        popup("E&nvironment"),
    });
    appendQualityPopups(m);
    m.insert(m.end(), {
        sep,
        check(ID_HIGHLIGHT_SELECTED, "Highlight Selected"),
        item(ID_TIMELINE_OPTIONS, "Timeline &Options..."),
        sep,
        popup("&Background"),
        check(ID_BACKGROUND_COLOR, "&Color..."),
        check(ID_BACKGROUND_TEXTURE, "&Texture..."),
        end,
        item(ID_IMAGE_SIZE, "&Image Size..."),
        end,
        popup("&Help"),
        item(ID_HELP_CONTENTS, "&Help"),
        sep,
        item(ID_APP_ABOUT, "&About Kelvano..."),
        end,
    });
    return m;
}

std::vector<MenuEntry> buildObjectPopup() {
    return {
        item(ID_EDIT_DELETE, "&Delete\tDel"),
        item(ID_EDIT_DELETE_COLUMN, "D&elete Column"),
        item(ID_EDIT_CUT, "Cu&t\tCtrl+X"),
        item(ID_EDIT_COPY, "&Copy\tCtrl+C"),
        item(ID_EDIT_PASTE, "&Paste\tCtrl+V"),
        sep,
        item(ID_ADD_TEXT, "Add &Text"),
        item(ID_ADD_PANEL, "Add &Panel"),
        item(ID_ADD_MODEL, "Add &Model"),
        item(ID_ADD_GRAPH, "Add &Graph"),
        sep,
        item(ID_LABEL_PROPERTY, "Label Property Dialog"),
        item(ID_VALUE_PROPERTY, "Value Property Dialog"),
        item(ID_GRAPH_DATA, "Graph Data Dialog"),
    };
}

std::vector<MenuEntry> buildAnimationPopup() {
    return {
        item(ID_ADD_EFFECT, "Add &Effect"),
        item(ID_ADD_GROW_SHRINK, "Add &Grow/Shrink Effect"),
    };
}

std::string trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

const std::vector<MenuEntry>& ContextMenu(int popup) {
    static const std::vector<MenuEntry> objectPopup = buildObjectPopup();
    static const std::vector<MenuEntry> animationPopup = buildAnimationPopup();
    return popup == 1 ? animationPopup : objectPopup;
}

const char* ContextMenuName(int popup) { return popup == 1 ? "ANI_POPUP" : "OBJ_POPUP"; }

const std::vector<MenuEntry>& FrameMenu() {
    static const std::vector<MenuEntry> menu = buildFrameMenu();
    return menu;
}

const std::vector<MenuEntry>& DocumentMenu(bool embedded) {
    static const std::vector<MenuEntry> normal = buildDocumentMenu();
    static const std::vector<MenuEntry> embeddedMenu = buildEmbeddedMenu();
    return embedded ? embeddedMenu : normal;
}

const std::vector<AccelEntry>& AcceleratorTable() {
    static const std::vector<AccelEntry> table = {
        {ACCEL_CTRL, 'A', ID_EDIT_SELECT_ALL},
        {ACCEL_CTRL, 'C', ID_EDIT_COPY},
        {ACCEL_CTRL, KEY_INSERT, ID_EDIT_COPY},
        {ACCEL_CTRL, 'D', ID_FIXED_DURATION},
        {ACCEL_CTRL, 'N', ID_FILE_NEW},
        {ACCEL_CTRL, 'O', ID_FILE_OPEN},
        {ACCEL_CTRL, 'P', ID_FILE_PRINT},
        {ACCEL_CTRL, 'S', ID_FILE_SAVE},
        {ACCEL_CTRL, 'V', ID_EDIT_PASTE},
        {ACCEL_SHIFT, KEY_INSERT, ID_EDIT_PASTE},
        {ACCEL_CTRL, 'X', ID_EDIT_CUT},
        {ACCEL_SHIFT, KEY_DELETE, ID_EDIT_CUT},
        {ACCEL_CTRL, 'Y', ID_EDIT_REDO},
        {ACCEL_CTRL, 'Z', ID_EDIT_UNDO},
        {ACCEL_ALT, KEY_BACK, ID_EDIT_UNDO},
        {0, KEY_F1, ID_HELP_CONTENTS},
        {0, KEY_F6, ID_NEXT_PANE},
        {ACCEL_SHIFT, KEY_F6, ID_PREV_PANE},
    };
    return table;
}

void SplitMenuText(const std::string& text, std::string& label, std::string& hint) {
    size_t tab = text.find('\t');
    if (tab == std::string::npos) {
        label = text;
        hint.clear();
    } else {
        label = text.substr(0, tab);
        hint = text.substr(tab + 1);
    }
}

bool ParseKeyHint(const std::string& hint, AccelEntry& out) {
    std::string rest = trim(hint);
    if (rest.empty()) return false;
    int flags = 0;
    // Modifiers are the parts before the last '+'; a lone "+" would be the key.
    for (;;) {
        size_t plus = rest.find('+');
        if (plus == std::string::npos || plus + 1 >= rest.size()) break;
        std::string mod = lower(trim(rest.substr(0, plus)));
        if (mod == "ctrl") flags |= ACCEL_CTRL;
        else if (mod == "shift") flags |= ACCEL_SHIFT;
        else if (mod == "alt") flags |= ACCEL_ALT;
        else return false;
        rest = trim(rest.substr(plus + 1));
    }
    std::string key = lower(rest);
    int code = 0;
    if (key.size() == 1 && std::isalnum(static_cast<unsigned char>(key[0]))) {
        code = std::toupper(static_cast<unsigned char>(key[0]));
    } else if (key == "del" || key == "delete") {
        code = KEY_DELETE;
    } else if (key == "ins" || key == "insert") {
        code = KEY_INSERT;
    } else if (key == "backspace") {
        code = KEY_BACK;
    } else if (key.size() >= 2 && key.size() <= 3 && key[0] == 'f' &&
               std::isdigit(static_cast<unsigned char>(key[1])) &&
               (key.size() == 2 || std::isdigit(static_cast<unsigned char>(key[2])))) {
        int n = std::stoi(key.substr(1));
        if (n < 1 || n > 12) return false;
        code = KEY_F1 + n - 1;
    } else {
        return false;
    }
    out = AccelEntry{flags, code, 0};
    return true;
}

bool GetCommandPrompt(int id, std::string& flyBy, std::string& toolTip) {
    // The status-bar text, then after "\n" the tool tip (none for menu-only
    // commands).
    static const struct {
        int id;
        const char* prompt;
    } kPrompts[] = {
        {ID_FILE_NEW, "Create a new scene\nNew <Ctrl+N>"},
        {ID_FILE_OPEN, "Open an existing scene\nOpen <Ctrl+O>"},
        {ID_FILE_SAVE, "Save the scene\nSave <Ctrl+S>"},
        {ID_EDIT_CUT, "Cut the selection and put it on the Clipboard\nCut <Ctrl+X>"},
        {ID_EDIT_COPY, "Copy the selection and put it on the Clipboard\nCopy <Ctrl+C>"},
        {ID_EDIT_PASTE, "Insert Clipboard contents\nPaste <Ctrl+V>"},
        {ID_EDIT_UNDO, "Undo the last action\nUndo <Ctrl+Z>"},
        {ID_EDIT_REDO, "Redo the previously undone action\nRedo <Ctrl+Y>"},
        {IDW_OBJECT_CHOOSER, "Select new object\nChange Object"},
        {ID_ADD_TEXT, "Add a 3D text\nAdd Text <Shift+T>"},
        {ID_ADD_PANEL, "Add a panel\nAdd Panel <Shift+P>"},
        {ID_ADD_MODEL, "Add a model\nAdd Model <Shift+M>"},
        {ID_ADD_GRAPH, "Add a graph\nAdd Graph <Shift+G>"},
        {ID_MODE_MOVE, "Move mode\nMove <Shift+L>"},
        {ID_MODE_SCALE, "Scale mode\nScale <Shift+S>"},
        {ID_MODE_ROTATE, "Rotate mode\nRotate <Shift+R>"},
        {ID_AXIS_X, "X Axis\nX Axis <Shift+X>"},
        {ID_AXIS_Y, "Y Axis\nY Axis <Shift+Y>"},
        {ID_AXIS_Z, "Z Axis\nZ Axis <Shift+Z>"},
        {ID_MODE_ANIMATION, "Switch between object and animation mode\nAnimation Mode"},
        {ID_CAMERA_FRONT, "Front View\nFront View <Shift+1>"},
        {ID_CAMERA_BACK, "Back View\nBack View <Shift+2>"},
        {ID_CAMERA_LEFT, "Left View\nLeft View <Shift+3>"},
        {ID_CAMERA_RIGHT, "Right View\nRight View <Shift+4>"},
        {ID_CAMERA_TOP, "Top View\nTop View <Shift+5>"},
        {ID_CAMERA_BOTTOM, "Bottom View\nBottom View <Shift+6>"},
        {ID_IMAGE_SIZE, "Change the size of the drawing window"},
        {ID_BACKGROUND_COLOR, "Change the color of the background"},
    };
    for (const auto& p : kPrompts) {
        if (p.id != id) continue;
        const std::string text = p.prompt;
        const size_t newline = text.find('\n');
        flyBy = text.substr(0, newline);
        toolTip = newline == std::string::npos ? std::string() : text.substr(newline + 1);
        return true;
    }
    return false;
}

bool HintIsAccelerator(const std::string& hint, int id) {
    AccelEntry key{};
    if (!ParseKeyHint(hint, key)) return false;
    for (const AccelEntry& a : AcceleratorTable())
        if (a.id == id && a.flags == key.flags && a.key == key.key) return true;
    return false;
}

}  // namespace kv
