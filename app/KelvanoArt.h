// Pictures made for the program (res/): tool-bar buttons, the program icon,
// the splash picture and the rotate cursor. The SVG sources are compiled in,
// so the program needs no resource files at run time.
#pragma once

#include <wx/bmpbndl.h>
#include <wx/cursor.h>
#include <wx/iconbndl.h>

// name: the path below res/ without ".svg", e.g. "toolbar/new". An unknown
// name gives an empty bundle.
wxBitmapBundle KelvanoArt(const char* name, int size = 24);
wxIconBundle KelvanoIcons();
wxBitmap KelvanoSplashBitmap();
wxCursor KelvanoRotateCursor();
