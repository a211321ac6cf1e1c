// Window placement kept between runs, and the scene window's keep-aspect
// rule. Stored rectangles are relative to the work area of their monitor, so a
// placement survives a panel or task bar moving; they are turned back into
// screen coordinates on the nearest monitor that exists now.
#pragma once

#include "editor/CKelvanoDoc.h"  // CRectI

#include <vector>

enum : int { KV_SW_SHOWNORMAL = 1, KV_SW_SHOWMINIMIZED = 2, KV_SW_SHOWMAXIMIZED = 3 };

struct MonitorArea {
    CRectI monitor;  // the whole monitor, screen coordinates
    CRectI work;     // its work area (without panels), screen coordinates
};

// Index of the monitor containing the point, else the one nearest to it; -1
// without monitors.
int NearestMonitor(int x, int y, const std::vector<MonitorArea>& monitors);

// Screen rectangle for a stored one. A top-left corner outside the work area
// moves to the work area's top-left corner, the size kept. False without any
// monitor.
bool RestorePlacement(const CRectI& stored, const std::vector<MonitorArea>& monitors, CRectI& screen);

// The stored form of a screen rectangle (the inverse of RestorePlacement on
// the monitor nearest to its top-left corner).
CRectI StorePlacement(const CRectI& screen, const std::vector<MonitorArea>& monitors);

// Where a floating bar opens: at wanted (screen coordinates), moved left or up
// just enough when it would reach past the work area of the monitor nearest to
// its top-left corner, and right or down when it starts outside it (a place
// kept from a screen that was larger). A bar larger than the work area keeps
// its top-left corner in it. wanted itself without monitors.
CRectI KeepOnScreen(const CRectI& wanted, const std::vector<MonitorArea>& monitors);

// The show command a stored value restores: minimised windows come back as
// normal ones, a value that names no state reads as normal.
int RestoredShowCommand(int stored);

// The scene window was resized to cx x cy (client pixels). With the aspect
// kept, the side the user did not drag follows: when only the height changed
// (cx equals the scene width) the width becomes cy x aspect, otherwise the
// height becomes cx / aspect. False when the size already fits (within half a
// pixel) or the aspect is unusable.
bool KeepAspectSize(int cx, int cy, int sceneWidth, double aspect, int& outWidth, int& outHeight);

// A size the user dragged the scene window to, held within minSide..
// kMaxSceneSide on each side; with an aspect above 0 a side held at a bound
// takes the other along, so the aspect stays.
void HoldSceneSize(int& width, int& height, int minSide, double aspect);
