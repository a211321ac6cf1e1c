// The time line's button pictures (bitmaps 350 to 370: align, + G, + S, +E, -E and the
// frame buttons) and the visible/hidden icons (412, 413), drawn in code on
// the buttons' mask colour.
#pragma once

#include <wx/colour.h>
#include <wx/image.h>

inline wxColour TimeLineMaskColour() { return wxColour(0, 128, 128); }
wxImage TimeLineBitmap(int id);
wxImage TimeLineVisibleIcon(bool visible);
