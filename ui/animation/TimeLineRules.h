// Rules of the time line's dialogs that need no window: the check of the
// "Options" values and the name a chosen wave file is stored under.
#pragma once

#include <climits>
#include <string>

struct CTimeLineOptionValues {
    int effectLength = 0;
    int growLength = 0;
    int shrinkLength = 0;
    int animationLength = 0;
};

// Reads the four edits (effect, grow, shrink length, animation length).
// Each must be a whole number; the three effect lengths 1 to kMaxFrame, and
// the animation length too once the user changed it from shownLength (a scene
// without plays shows 0). "" and the values when they are good, else the
// message to show (the dialog stays open).
std::string CheckTimeLineOptions(const std::string texts[4], int shownLength, CTimeLineOptionValues& out);

// The name a wave file chosen for a sound is stored under: the path below
// the program's sound folder when it lies there, else the whole path (a bare
// name would be lost once the remembered folder moves on).
std::string StoredSoundName(const std::string& soundFolder, const std::string& chosenPath);

// "&Listen": plays the selected wave file once (asynchronously); nothing for
// an empty selection.
void ListenToSound(const std::string& path);

// A frame bar's range for frames 0..maximum: one past it, held at the last
// int (a file may end a play there).
inline int FrameBarRange(int maximum) { return maximum < INT_MAX ? maximum + 1 : INT_MAX; }
