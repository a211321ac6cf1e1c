// The time line's button pictures (bitmaps 350 to 370: align, + G, + S, +E, -E and the
// frame buttons) and the visible/hidden icons (412, 413), drawn in code on
// the buttons' mask colour.
#pragma once

#include <wx/colour.h>
#include <wx/image.h>

inline wxColour TimeLineMaskColour() { return wxColour(0, 128, 128); }
wxImage TimeLineBitmap(int id);

// The align pictures (17 x 17): a reference play in black at the bottom, the
// edge it aligns to as a red vertical line, and above it the other play in
// blue where the action puts it. A play moved whole is solid; a play of which
// one end moves is an outline with a tall handle at that end.
// Bitmap ids by action, as the time line's buttons use them (the grow/shrink
// dialog's buttons take the same picture for the same action; 354 is its
// "equal width").
enum TimeLineAlignArt {
    kArtStartToStart = 350,      // whole play: its start to the reference's start
    kArtEndToEnd = 351,          // whole play: its end to the reference's end
    kArtStartEdgeToStart = 352,  // its start to the reference's start
    kArtEndToStart = 353,        // whole play: its end to the reference's start
    kArtEqualWidth = 354,        // its end so that it is as long as the reference
    kArtEndEdgeToStart = 355,    // its end to the reference's start
    kArtStartToEnd = 356,        // whole play: its start to the reference's end
    kArtStartEdgeToEnd = 357,    // its start to the reference's end
    kArtEndEdgeToEnd = 361,      // its end to the reference's end
};
// Where the pictures draw their parts.
constexpr int kAlignArtRefStart = 5, kAlignArtRefEnd = 11;
wxImage TimeLineVisibleIcon(bool visible);
