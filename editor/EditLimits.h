// The bounds of what a user types or a settings file gives, one for each
// kind of value.
#pragma once

// A side of the scene window in pixels: Image Size, the settings file and a
// scene file's size all keep within 1..kMaxSceneSide (what a screen shows and
// a GL drawable takes).
constexpr int kMaxSceneSide = 4096;

// Frames typed into the time line, Grow/Shrink and Timeline Options (a frame,
// a play's start, end or length, an effect length): 0..kMaxFrame.
constexpr int kMaxFrame = 99999;
