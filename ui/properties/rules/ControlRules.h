// The rules of the custom controls that need no window: reading and clamping
// numbers typed into an edit, the repeat button's timing, and the object
// list's anchor rules. The wx controls apply them.
#pragma once

#include <string>
#include <vector>

// The leading decimal integer of a text (spaces and a sign allowed), 0 when
// it has no digits; values beyond the int range saturate.
int ParseLeadingInt(const std::string& text);
// The leading floating-point number of a text (C locale), 0.0 without one;
// "inf", "nan" and numbers beyond the float range count as none (a scene
// keeps floats, and its file would keep words that read back as 0).
double ParseLeadingFloat(const std::string& text);
// The same for a field that holds a number beyond its own range at its
// bound: a number beyond the float range is one, and reads as the float
// range's bound of its sign for the field to hold. "inf" and "nan" are none.
double ParseRangedFloat(const std::string& text);
// A text that is one number and nothing else (spaces around it aside), read
// as ParseLeadingFloat reads: false for any other text, "inf", "nan" and
// numbers beyond the float range.
bool ParseWholeFloat(const std::string& text, float& out);
// A value as an int for a control: toward zero, held inside the int range
// (a number read from a file may lie far outside it), NaN as 0.
int ClampedInt(double value);

// CNumEdit's range check. Mode 0: the integer range, active while nMax >= 0;
// mode 1: the float range, active while fMax >= fMin; other modes: none. A
// value outside the range gives the bound's text ("%d", or "%f" for floats)
// in out and true; a value inside leaves the text alone (false).
bool ClampNumText(int mode, int nMin, int nMax, float fMin, float fMax, const std::string& text, std::string& out);

// The repeat button's states: one click at the press, then, while held, one
// after the first delay and one per interval; a double-click clicks once.
// The owner runs the two timers the logic asks for and tells it when each
// fires; every "click" is a WM_REPEAT_CLICK to the button's target.
class CRepeatLogic {
public:
    struct Timers {
        virtual ~Timers() = default;
        virtual void Start(int id, int milliseconds) = 0;
        virtual void Stop(int id) = 0;
    };
    explicit CRepeatLogic(Timers& timers) : m_timers(timers) {}
    // Each returns the clicks to send now (0 or 1).
    int ButtonDown();
    int Timer(int id);
    int ButtonUp();
    int DoubleClick() { return 1; }
    bool IsPressed() const { return m_bPressed != 0; }

private:
    Timers& m_timers;
    int m_bPressed = 0;
};

// The object list's left-button-up rule. selected holds one flag per item;
// caret is the item the click landed on. Shift selects the range from the
// anchor to the clicked item (the clicked item is the anchor when none was
// set); a plain click selects the item alone and makes it the anchor; Ctrl
// (without Shift) leaves the list's own toggling as it is.
void ObjectListClick(bool shift, bool ctrl, int caret, int& anchor, int& last, std::vector<bool>& selected);
