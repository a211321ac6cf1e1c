// The program's private messages between controls, pages, dialogs, the time
// line and the view: one family of numbers with fixed meanings. Each is sent
// synchronously with a control ID or a code (wParam) and a value (lParam).
#pragma once

// X(name, value)
#define KV_PRIVATE_MESSAGES(X)                \
    X(WM_NUMEDIT_COMMIT, 0x2818)              \
    X(WM_SPIN_RELEASED, 0x2819)               \
    X(WM_NUMEDIT_CHANGED, 0x281a)             \
    X(WM_MATERIAL_CHOSEN, 0x281b)             \
    X(WM_SLIDER_RELEASED, 0x281d)             \
    X(WM_SLIDER_PRESSED, 0x281e)              \
    X(WM_MATERIAL_MODIFIED, 0x281f)           \
    X(WM_EFFECT_APPLIED, 0x299f)              \
    X(WM_EFFECT_DIALOG_CLOSED, 0x29a0)        \
    X(WM_RAMP_CHANGED, 0x29a1)                \
    X(WM_PALETTE_PICK, 0x29a6)                \
    X(WM_THUMB_CLICK, 0x29a7)                 \
    X(WM_COMBO_COMMIT, 0x29a8)                \
    X(WM_PLAY_START, 0x29ac)                  \
    X(WM_PLAY_PAUSE, 0x29ad)                  \
    X(WM_PLAY_STOP, 0x29ae)                   \
    X(WM_REPEAT_CLICK, 0x29b2)                \
    X(WM_TRACK_PRESS, 0x29bc)                 \
    X(WM_TRACK_PRESS_NONE, 0x29bd)            \
    X(WM_TRACK_DRAG, 0x29be)                  \
    X(WM_TRACK_DBLCLK, 0x29c0)                \
    X(WM_TRACK_SCROLL, 0x29c2)                \
    X(WM_TRACK_RELEASE, 0x29c3)               \
    X(WM_EVENTTREE_DROP_EFFECT, 0x29c6)       \
    X(WM_EVENTTREE_DELETE, 0x29c7)            \
    X(WM_EVENTTREE_EDIT, 0x29c8)              \
    X(WM_EVENTTREE_DROP_EVENT, 0x29c9)        \
    X(WM_EVENTTREE_DELETE_EVENT, 0x29ca)      \
    X(WM_EVENTTREE_NO_PARENT, 0x29cb)         \
    X(WM_EVENTTREE_EVENT_SELECTED, 0x29cc)    \
    X(WM_EVENTTREE_UNDO, 0x29cd)              \
    X(WM_EVENTTREE_REDO, 0x29ce)              \
    X(WM_EVENTTREE_DROP_ON_EVENT, 0x29cf)     \
    X(WM_EVENTTREE_EFFECT_SELECTED, 0x29da)   \
    X(WM_EXPORT_ABORT, 0x29ee)                \
    X(WM_EXPORT_CANCEL, 0x29ef)

enum PrivateMessage : int {
#define KV_MESSAGE_ENUM(name, value) name = value,
    KV_PRIVATE_MESSAGES(KV_MESSAGE_ENUM)
#undef KV_MESSAGE_ENUM
};

// The number of private messages, and their values in table order.
constexpr int kNumPrivateMessages = 0
#define KV_MESSAGE_COUNT(name, value) +1
    KV_PRIVATE_MESSAGES(KV_MESSAGE_COUNT)
#undef KV_MESSAGE_COUNT
    ;
constexpr int kPrivateMessageValues[] = {
#define KV_MESSAGE_VALUE(name, value) value,
    KV_PRIVATE_MESSAGES(KV_MESSAGE_VALUE)
#undef KV_MESSAGE_VALUE
};
// The name of a message ("WM_NUMEDIT_COMMIT"), or null for another number.
const char* PrivateMessageName(int message);

// Timer numbers of the repeat button, private to its window.
enum : int { REPEAT_TIMER_FIRST = 13, REPEAT_TIMER_REPEAT = 17 };
constexpr int kRepeatFirstDelayMs = 500;
constexpr int kRepeatIntervalMs = 50;
// The time line's frame-step codes.
enum : int { REPEAT_CODE_STEP_DOWN = 1005, REPEAT_CODE_STEP_UP = 1023 };
