// The bounds of what a user types or a settings file gives, one for each
// kind of value.
#pragma once

// A side of the scene window in pixels: Image Size, the settings file and a
// scene file's size all keep within 1..kMaxSceneSide (what a screen shows and
// a GL drawable takes).
constexpr int kMaxSceneSide = 4096;

// A size or spacing typed for a chart or a panel (Spacing, Scale Ht., Joint
// Scale, the line's Depth, the Graph Data spacings, offsets and slice depth,
// a panel's sides in Add Panel and on its page): within +-kMaxObjectSize (from
// 0 where it cannot be negative), the panel page's own range. Far beyond the
// view's depth, and every point of the object stays a number the drawing
// takes: a spacing of 1e20 took the chart out of the picture.
constexpr float kMaxObjectSize = 32767.0f;

// Frames typed into the time line, Grow/Shrink and Timeline Options (a frame,
// a play's start, end or length, an effect length): 0..kMaxFrame.
constexpr int kMaxFrame = 99999;
