#include "editor/FramePlacement.h"

#include "editor/EditLimits.h"

#include <algorithm>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {
bool contains(const CRectI& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

int64_t distanceSquared(const CRectI& r, int x, int y) {
    const int64_t dx = x < r.left ? int64_t(r.left) - x : (x >= r.right ? int64_t(x) - (r.right - 1) : 0);
    const int64_t dy = y < r.top ? int64_t(r.top) - y : (y >= r.bottom ? int64_t(y) - (r.bottom - 1) : 0);
    return dx * dx + dy * dy;
}
}  // namespace

int NearestMonitor(int x, int y, const std::vector<MonitorArea>& monitors) {
    int best = -1;
    int64_t bestDistance = std::numeric_limits<int64_t>::max();
    for (size_t i = 0; i < monitors.size(); ++i) {
        if (contains(monitors[i].monitor, x, y)) return static_cast<int>(i);
        const int64_t d = distanceSquared(monitors[i].monitor, x, y);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

bool RestorePlacement(const CRectI& stored, const std::vector<MonitorArea>& monitors, CRectI& screen) {
    const int i = NearestMonitor(stored.left, stored.top, monitors);
    if (i < 0) return false;
    const MonitorArea& m = monitors[i];
    const int dx = m.work.left - m.monitor.left;
    const int dy = m.work.top - m.monitor.top;
    screen = CRectI{stored.left + dx, stored.top + dy, stored.right + dx, stored.bottom + dy};
    if (!contains(m.work, screen.left, screen.top)) {
        const int w = screen.Width(), h = screen.Height();
        screen = CRectI{m.work.left, m.work.top, m.work.left + w, m.work.top + h};
    }
    return true;
}

CRectI StorePlacement(const CRectI& screen, const std::vector<MonitorArea>& monitors) {
    const int i = NearestMonitor(screen.left, screen.top, monitors);
    if (i < 0) return screen;
    const MonitorArea& m = monitors[i];
    const int dx = m.work.left - m.monitor.left;
    const int dy = m.work.top - m.monitor.top;
    return CRectI{screen.left - dx, screen.top - dy, screen.right - dx, screen.bottom - dy};
}

CRectI KeepOnScreen(const CRectI& wanted, const std::vector<MonitorArea>& monitors) {
    const int i = NearestMonitor(wanted.left, wanted.top, monitors);
    if (i < 0) return wanted;
    const CRectI& work = monitors[i].work;
    auto fit = [](int start, int length, int low, int high) {
        start = std::min(start, high - length);
        return std::max(start, low);
    };
    const int left = fit(wanted.left, wanted.Width(), work.left, work.right);
    const int top = fit(wanted.top, wanted.Height(), work.top, work.bottom);
    return CRectI{left, top, left + wanted.Width(), top + wanted.Height()};
}

int RestoredShowCommand(int stored) {
    return stored == KV_SW_SHOWMAXIMIZED ? KV_SW_SHOWMAXIMIZED : KV_SW_SHOWNORMAL;
}

bool KeepAspectSize(int cx, int cy, int sceneWidth, double aspect, int& outWidth, int& outHeight) {
    if (!(aspect > 0.0) || !std::isfinite(aspect) || cx <= 0 || cy <= 0) return false;
    if (std::fabs(cx - cy * aspect) < 0.5) return false;
    if (cx == sceneWidth) {
        outHeight = cy;
        outWidth = static_cast<int>(cy * aspect);
    } else {
        outWidth = cx;
        outHeight = static_cast<int>(cx / aspect);
    }
    return outWidth > 0 && outHeight > 0;
}

void HoldSceneSize(int& width, int& height, int minSide, double aspect) {
    const bool keep = aspect > 0.0 && std::isfinite(aspect);
    auto hold = [&](int side) { return std::clamp(side, minSide, kMaxSceneSide); };
    if (keep && width > kMaxSceneSide) {
        width = kMaxSceneSide;
        height = static_cast<int>(std::min(width / aspect, double(kMaxSceneSide)));
    }
    if (keep && height > kMaxSceneSide) {
        height = kMaxSceneSide;
        width = static_cast<int>(std::min(height * aspect, double(kMaxSceneSide)));
    }
    width = hold(width);
    height = hold(height);
}
