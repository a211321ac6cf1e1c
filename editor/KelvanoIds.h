// Command, bar and control numbers of the program. Menus, tool bars,
// accelerators and dialogs share these numbers, and the bars and dialogs of
// later parts of the program use them too, so they are fixed here once.
#pragma once

namespace kv {

enum CommandId : int {
    // File
    ID_FILE_NEW_FRAME = 57600,  // the frame menu's New (no document open)
    ID_FILE_OPEN_FRAME = 57601,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_MRU_FIRST = 57616,
    ID_FILE_MRU_LAST = 57631,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_FILE_NEW = 32787,
    ID_FILE_OPEN = 32788,
    ID_FILE_SAVE_BINARY = 32793,
    ID_FILE_SAVE = 32792,
    ID_FILE_SAVE_AS = 32794,
    ID_FILE_SAVE_BINARY_AS = 32795,
    ID_EXPORT_GIF = 32818,
    ID_EXPORT_JPEG = 32796,
    ID_EXPORT_BMP = 32817,
    ID_EXPORT_TARGA = 32798,
    ID_EXPORT_PNG = 33008,
    ID_EXPORT_RGB = 32797,
    ID_EXPORT_GIF_ANIMATION = 32874,
    ID_EXPORT_SWF = 33009,
    ID_EXPORT_AVI = 32875,
    ID_EMBED_EXPORT_METAFILE = 32924,
    ID_EMBED_EXPORT_PNG = 33020,
    ID_EMBED_EXPORT_GIF = 33021,
    ID_EMBED_EXPORT_GIF_ANIMATION = 32926,
    ID_EMBED_EXPORT_SWF = 33018,
    ID_EMBED_EXPORT_AVI = 32927,
    // Edit
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_EDIT_CUT = 57635,
    ID_EDIT_COPY = 57634,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_DELETE = 32804,
    ID_EDIT_DELETE_COLUMN = 32833,
    ID_EDIT_SELECT_ALL = 32917,
    ID_EDIT_OPTIONS = 33019,
    // View
    ID_VIEW_TRANSFORMATION = 32806,
    ID_VIEW_EDIT_BOX = 32807,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_VIEW_OBJECT_LIST = 32920,
    ID_VIEW_EFFECT_LIST = 32895,
    ID_VIEW_EVENT_TREE = 32888,
    ID_VIEW_TIME_LINE = 32889,
    // Mode
    ID_MODE_OBJECT = 32865,
    ID_MODE_ANIMATION = 32862,
    ID_CAMERA_FRONT = 32897,
    ID_CAMERA_BACK = 32898,
    ID_CAMERA_LEFT = 32899,
    ID_CAMERA_RIGHT = 32900,
    ID_CAMERA_TOP = 32901,
    ID_CAMERA_BOTTOM = 32902,
    ID_MODE_MOVE = 32771,
    ID_MODE_SCALE = 32772,
    ID_MODE_ROTATE = 32773,
    ID_AXIS_X = 32784,
    ID_AXIS_Y = 32785,
    ID_AXIS_Z = 32786,
    ID_FIXED_DURATION = 32914,
    // Objects
    ID_ADD_TEXT = 32777,
    ID_ADD_PANEL = 32779,
    ID_ADD_MODEL = 32780,
    ID_ADD_GRAPH = 32813,
    // Chart dialogs (context menu)
    ID_LABEL_PROPERTY = 32810,
    ID_VALUE_PROPERTY = 32811,
    ID_GRAPH_DATA = 32812,
    // Environment
    ID_DISPLAY_LOW = 32781,
    ID_DISPLAY_MEDIUM = 32782,
    ID_DISPLAY_HIGH = 32783,
    ID_OUTPUT_LOW = 33005,
    ID_OUTPUT_MEDIUM = 33006,
    ID_OUTPUT_HIGH = 33007,
    ID_HIGHLIGHT_SELECTED = 32774,
    ID_TIMELINE_OPTIONS = 32886,
    ID_CREATE_EFFECT = 32863,
    ID_ADD_EFFECT = 32881,
    ID_ADD_GROW_SHRINK = 32882,
    ID_IMAGE_SIZE = 32775,
    ID_BACKGROUND_COLOR = 33000,
    ID_BACKGROUND_TEXTURE = 33001,
    ID_BACKGROUND_PER_FACE = 33002,  // no menu entry
    // View tools without menu entries.
    ID_SCENE_TRANSFORM = 32918,
    ID_SAFETY_ZONE = 32930,
    // Scene alignment (no menu entries): index = id - ID_SCENE_ALIGN_FIRST.
    ID_SCENE_ALIGN_FIRST = 33013,
    ID_SCENE_ALIGN_LAST = 33017,
    // Help
    ID_HELP_CONTENTS = 32819,
};

// The ranges the frame routes as commands.
constexpr int kFirstViewCommand = 32771;
constexpr int kLastViewCommand = 33021;
constexpr int kFirstFrameworkCommand = 57600;
constexpr int kLastFrameworkCommand = 57681;

// wx keeps menu and tool numbers below 0x7fff, under the numbers above; the
// frame moves each range into wx's space and back.
constexpr int kWxViewBase = 10000;
constexpr int kWxFrameworkBase = 11000;
constexpr int kWxBarCommandBase = 11100;
constexpr int ToWxId(int id) {
    return id >= kFirstViewCommand && id <= kLastViewCommand             ? kWxViewBase + (id - kFirstViewCommand)
           : id >= kFirstFrameworkCommand && id <= kLastFrameworkCommand ? kWxFrameworkBase + (id - kFirstFrameworkCommand)
           : id == 59392 || id == 59393                                  ? kWxBarCommandBase + (id - 59392)
                                                                         : id;
}
constexpr int FromWxId(int wxId) {
    return wxId >= kWxViewBase && wxId <= kWxViewBase + (kLastViewCommand - kFirstViewCommand)
               ? kFirstViewCommand + (wxId - kWxViewBase)
           : wxId >= kWxFrameworkBase && wxId <= kWxFrameworkBase + (kLastFrameworkCommand - kFirstFrameworkCommand)
               ? kFirstFrameworkCommand + (wxId - kWxFrameworkBase)
           : wxId == kWxBarCommandBase || wxId == kWxBarCommandBase + 1 ? 59392 + (wxId - kWxBarCommandBase)
                                                                        : wxId;
}
static_assert(FromWxId(ToWxId(33021)) == 33021 && FromWxId(ToWxId(57681)) == 57681 &&
                  FromWxId(ToWxId(59393)) == 59393 && ToWxId(59393) < 0x7fff && ToWxId(57681) < 0x7fff,
              "command numbers map into wx's range and back");

// Bar panels carry their layout numbers; the tool bars and the status bar get
// wx's own window numbers (theirs lie above wx's range). The object chooser's
// number marks its place in the main tool bar.
enum BarId : int {
    IDW_OBJECT_CHOOSER = 57347,
    IDD_TRANSFORM_BAR = 108,
    IDD_OBJECT_LIST_BAR = 319,
    IDD_EFFECT_LIST_BAR = 295,
    IDD_VIEW_WIDTH_BAR = 298,
    IDD_EVENT_TREE_BAR = 203,
};

enum AboutControlId : int {
    IDC_ABOUT_MAIL = 1543,
    IDC_ABOUT_WEB = 1545,
    IDC_ABOUT_VERSION = 1726,
    IDC_ABOUT_BUILD = 1729,
};

}  // namespace kv
