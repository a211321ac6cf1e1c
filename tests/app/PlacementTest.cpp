#include "editor/FramePlacement.h"

#include <gtest/gtest.h>

namespace {
// A 1920 x 1080 monitor with a 32-pixel panel on top, and a second one to its
// right without panels.
const std::vector<MonitorArea> kTwo = {
    {CRectI{0, 0, 1920, 1080}, CRectI{0, 32, 1920, 1080}},
    {CRectI{1920, 0, 3200, 1024}, CRectI{1920, 0, 3200, 1024}},
};
}  // namespace

TEST(PlacementTest, StoredPositionsAreWorkAreaRelative) {
    CRectI screen;
    ASSERT_TRUE(RestorePlacement(CRectI{100, 50, 900, 650}, kTwo, screen));
    EXPECT_EQ(screen, (CRectI{100, 82, 900, 682}));
    EXPECT_EQ(StorePlacement(screen, kTwo), (CRectI{100, 50, 900, 650}));
    ASSERT_TRUE(RestorePlacement(CRectI{2000, 100, 2600, 500}, kTwo, screen));
    EXPECT_EQ(screen, (CRectI{2000, 100, 2600, 500}));
}

TEST(PlacementTest, AMissingMonitorMovesTheWindowToTheNearestWorkArea) {
    CRectI screen;
    // Stored on a third monitor right of the second, which is gone.
    ASSERT_TRUE(RestorePlacement(CRectI{3500, 200, 4300, 800}, kTwo, screen));
    EXPECT_EQ(screen, (CRectI{1920, 0, 2720, 600}));
    // Above and left of everything: the first monitor's work area.
    ASSERT_TRUE(RestorePlacement(CRectI{-900, -700, -100, -100}, kTwo, screen));
    EXPECT_EQ(screen, (CRectI{0, 32, 800, 632}));
    EXPECT_EQ(NearestMonitor(3500, 200, kTwo), 1);
    EXPECT_EQ(NearestMonitor(10, 10, kTwo), 0);
    EXPECT_EQ(NearestMonitor(10, 10, {}), -1);
    EXPECT_FALSE(RestorePlacement(CRectI{0, 0, 10, 10}, {}, screen));
}

TEST(PlacementTest, FloatingBarsStayInTheWorkArea) {
    // Where it fits, a bar opens where it is asked to.
    EXPECT_EQ(KeepOnScreen(CRectI{1665, 70, 1905, 300}, kTwo), (CRectI{1665, 70, 1905, 300}));
    // Wider than the 255 pixels left at the right edge: moved left just enough.
    EXPECT_EQ(KeepOnScreen(CRectI{1665, 70, 2165, 300}, kTwo), (CRectI{1420, 70, 1920, 300}));
    // Past the bottom, and above the panel: up, and down below the panel.
    EXPECT_EQ(KeepOnScreen(CRectI{100, 900, 400, 1200}, kTwo), (CRectI{100, 780, 400, 1080}));
    EXPECT_EQ(KeepOnScreen(CRectI{100, 0, 400, 200}, kTwo), (CRectI{100, 32, 400, 232}));
    // A place kept from a larger screen comes back to the nearest work area.
    EXPECT_EQ(KeepOnScreen(CRectI{3500, 1500, 3800, 1700}, kTwo), (CRectI{2900, 824, 3200, 1024}));
    EXPECT_EQ(KeepOnScreen(CRectI{-500, -300, -200, -100}, kTwo), (CRectI{0, 32, 300, 232}));
    // Larger than the work area: its top-left corner stays visible.
    EXPECT_EQ(KeepOnScreen(CRectI{10, 10, 2110, 1310}, kTwo), (CRectI{0, 32, 2100, 1332}));
    EXPECT_EQ(KeepOnScreen(CRectI{5, 6, 7, 8}, {}), (CRectI{5, 6, 7, 8}));
}

TEST(PlacementTest, ShowCommands) {
    EXPECT_EQ(RestoredShowCommand(KV_SW_SHOWMAXIMIZED), KV_SW_SHOWMAXIMIZED);
    EXPECT_EQ(RestoredShowCommand(KV_SW_SHOWNORMAL), KV_SW_SHOWNORMAL);
    EXPECT_EQ(RestoredShowCommand(KV_SW_SHOWMINIMIZED), KV_SW_SHOWNORMAL);
    EXPECT_EQ(RestoredShowCommand(12345), KV_SW_SHOWNORMAL);
}

TEST(PlacementTest, KeepAspect) {
    int w = 0, h = 0;
    // Dragging the bottom edge (the width stays the scene's) sets the width.
    ASSERT_TRUE(KeepAspectSize(600, 300, 600, 1.5, w, h));
    EXPECT_EQ(w, 450);
    EXPECT_EQ(h, 300);
    // Dragging the right edge sets the height, truncated.
    ASSERT_TRUE(KeepAspectSize(500, 400, 600, 1.5, w, h));
    EXPECT_EQ(w, 500);
    EXPECT_EQ(h, 333);
    // Already in proportion (within half a pixel): nothing to do.
    EXPECT_FALSE(KeepAspectSize(450, 300, 600, 1.5, w, h));
    EXPECT_FALSE(KeepAspectSize(450, 300, 600, 0.0, w, h));
    EXPECT_FALSE(KeepAspectSize(0, 300, 600, 1.5, w, h));
}

TEST(PlacementTest, DraggedSizesStayWithinTheSceneSides) {
    struct Case {
        int w, h;
        double aspect;
        int wantW, wantH;
    } cases[] = {
        {9000, 6000, 1.5, 4096, 2730},  // both past the bound: the aspect stays
        {3000, 9000, 0.5, 2048, 4096},
        {9000, 100, 0.0, 4096, 100},    // free: each side alone
        {5, 5000, 0.0, 16, 4096},
        {800, 600, 4.0 / 3.0, 800, 600},
    };
    for (const Case& c : cases) {
        int w = c.w, h = c.h;
        HoldSceneSize(w, h, 16, c.aspect);
        EXPECT_EQ(w, c.wantW) << c.w << "x" << c.h;
        EXPECT_EQ(h, c.wantH) << c.w << "x" << c.h;
    }
}
