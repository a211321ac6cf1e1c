#include "ui/animation/CTimeLineTrack.h"

#include <algorithm>

namespace {
constexpr CTrackColor kBlack{0, 0, 0};
constexpr CTrackColor kWhite{255, 255, 255};
constexpr CTrackColor kLightGrey{216, 216, 216};
constexpr CTrackColor kPaleYellow{242, 245, 186};
constexpr CTrackColor kKhaki{216, 210, 101};
constexpr CTrackColor kGreen{0, 128, 0};
constexpr CTrackColor kMarkPen{124, 91, 2};
constexpr CTrackColor kMarked{18, 43, 145};
// Light edge, shadow and body of a bar: normal and highlighted.
constexpr CTrackColor kLight[2] = {{255, 255, 255}, {255, 224, 0}};
constexpr CTrackColor kShadow[2] = {{128, 128, 128}, {124, 91, 2}};
constexpr CTrackColor kBodyFill[2] = {{192, 192, 192}, {224, 165, 5}};
}  // namespace

// ---- raster ----

CTrackRaster::CTrackRaster(int width, int height)
    : m_w(std::max(0, width)), m_h(std::max(0, height)), m_rgb(static_cast<size_t>(m_w) * m_h * 3, 0) {}

CTrackColor CTrackRaster::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_w || y >= m_h) return {};
    const size_t i = (static_cast<size_t>(y) * m_w + x) * 3;
    return {m_rgb[i], m_rgb[i + 1], m_rgb[i + 2]};
}

void CTrackRaster::Set(int x, int y, CTrackColor c) {
    if (x < 0 || y < 0 || x >= m_w || y >= m_h) return;
    const size_t i = (static_cast<size_t>(y) * m_w + x) * 3;
    m_rgb[i] = c.r;
    m_rgb[i + 1] = c.g;
    m_rgb[i + 2] = c.b;
}

void CTrackRaster::Fill(int left, int top, int right, int bottom, CTrackColor c) {
    for (int y = std::max(0, top); y < std::min(bottom, m_h); ++y)
        for (int x = std::max(0, left); x < std::min(right, m_w); ++x) Set(x, y, c);
}

void CTrackRaster::Line(int x0, int y0, int x1, int y1, CTrackColor c) {
    // Only the part inside the raster is walked: a play far off the track
    // costs nothing.
    auto span = [](int from, int to, int size, int& lo, int& hi) {
        lo = std::max(to >= from ? from : to + 1, 0);
        hi = std::min(to >= from ? to - 1 : from, size - 1);
    };
    int lo = 0, hi = -1;
    if (y0 == y1) {
        span(x0, x1, m_w, lo, hi);
        for (int x = lo; x <= hi; ++x) Set(x, y0, c);
    } else if (x0 == x1) {
        span(y0, y1, m_h, lo, hi);
        for (int y = lo; y <= hi; ++y) Set(x0, y, c);
    }
}

// ---- painter ----

void CTrackPainter::SetBar(int left, int right, int value, const CTrackRect& row, int style, int marked) {
    m_style = style;
    m_value = value;
    m_marked = marked;
    m_row = row;
    m_x1 = left + row.left;
    m_x2 = right + row.left;
    m_w = right - left;
    m_top = row.top + 1;
    m_bottom = row.bottom - 1;
    if (style == kPause) {
        m_mark = {m_x1 - 3, m_top, m_x1 + 4, m_bottom};
        return;
    }
    if (style == kSound) {
        m_mark = {m_x1 - 3, m_top, m_x1 + 5, m_bottom};
        return;
    }
    if (m_w >= 13) {
        m_start = {m_x1, m_top, m_x1 + 6, m_bottom};
        m_body = {m_x1 + 6, m_top, m_x2 - 5, m_bottom};
        m_finish = {m_x2 - 5, m_top, m_x2 + 1, m_bottom};
    } else {
        const int k = m_w / 2 < 2 ? 0 : m_w / 2 - 1;
        m_start = {m_x1, m_top, m_x1 + k + 1, m_bottom};
        m_body = {0, 0, 0, 0};
        m_finish = {m_x1 + k + 1, m_top, m_x2 + 1, m_bottom};
    }
}

int CTrackPainter::HitTest(int x, int y) const {
    if (m_style != kBar) return m_mark.Holds(x, y) ? kHitBody : kHitOutside;
    if (m_w >= 3 && m_w <= 12) {
        if (y < m_top || y >= m_bottom) return kHitOutside;
        if (x < m_x1) return kHitLeft;
        if (x < m_x1 + m_w / 3) return kHitStart;
        if (x < m_x2 - m_w / 3) return kHitBody;
        if (x > m_x2) return kHitOutside;
        return kHitFinish;
    }
    if (x < m_x1) return kHitLeft;
    if (m_start.Holds(x, y)) return kHitStart;
    if (m_body.Holds(x, y)) return kHitBody;
    if (m_finish.Holds(x, y)) return kHitFinish;
    return kHitOutside;
}

void CTrackPainter::Draw(CTrackRaster& r) const {
    const int x = m_x1, t = m_top, b = m_bottom;
    if (m_style == kPause) {
        for (int c : {x - 3, x - 2, x - 1, x + 1, x + 2, x + 3}) r.Line(c, b - 6, c, b, kMarkPen);
        r.Line(x, b - 7, x, t - 1, kMarkPen);
        return;
    }
    if (m_style == kSound) {
        r.Line(x, t - 1, x, b - 2, kMarkPen);
        r.Line(x - 3, b - 3, x - 3, b, kMarkPen);
        r.Line(x - 2, b - 4, x - 2, b, kMarkPen);
        r.Line(x - 1, b - 5, x - 1, b - 1, kMarkPen);
        r.Line(x + 1, t + 1, x + 1, t + 4, kMarkPen);
        r.Line(x + 2, t + 3, x + 2, t + 6, kMarkPen);
        r.Line(x + 3, t + 4, x + 3, t + 8, kMarkPen);
        r.Line(x + 4, t + 6, x + 4, t + 11, kMarkPen);
        r.Set(x + 3, t + 11, kMarkPen);
        return;
    }
    const int h = m_bHighlight ? 1 : 0;
    const int x1 = m_x1, x2 = m_x2;
    if (m_w >= 2) r.Fill(x1 + 1, t + 4, x2, b - 4, kBodyFill[h]);
    r.Fill(x1 + 1, t, x2, t + 2, kWhite);
    r.Fill(x1 + 1, b - 2, x2, b, kWhite);
    r.Line(x1, t, x1, m_row.bottom, kBlack);
    r.Line(x2, t, x2, b, kBlack);
    r.Line(x1 + 1, t + 2, x2, t + 2, kBlack);
    r.Line(x1 + 1, b - 3, x2, b - 3, kBlack);
    r.Line(x1 + 1, t + 3, x2, t + 3, kLight[h]);
    r.Line(x1 + 1, b - 4, x2, b - 4, kShadow[h]);
    if (m_w >= 12) {
        // Grips: two ridges in each end's six pixels.
        for (int gx : {x1 + 2, x1 + 4, x2 - 4, x2 - 2}) {
            r.Line(gx, t + 5, gx, b - 5, kLight[h]);
            r.Line(gx + 1, t + 5, gx + 1, b - 5, kShadow[h]);
        }
    }
    if (m_marked) {
        const int mx = x1 + 1 + (x2 - x1 - 1) / 2 - 1;
        const int my = t + 2 + ((b - 3) - (t + 2)) / 2 - 1;
        for (int sx : {x1 + 1, mx, x2 - 3})
            for (int sy : {t + 2, my, b - 6})
                if (!(sx == mx && sy == my)) r.Fill(sx, sy, sx + 3, sy + 3, kMarked);
    }
}

// ---- track ----

void CTimeLineTrack::SetRowCount(int rows) {
    m_nRowCount = std::max(0, rows);
    m_nVisibleRows = std::min(m_nRowCount, kRows);
}

void CTimeLineTrack::SetRowBars(int row, int count) {
    const int v = row - m_nTopRow;
    // Rows off the track have no painters to hold.
    if (v < 0 || v >= kRows) return;
    m_bars[v].assign(static_cast<size_t>(std::max(0, count)), CTrackPainter());
}

void CTimeLineTrack::SetBar(int row, int entry, int start, int end, int value, int marked) {
    const int v = row - m_nTopRow;
    if (v < 0 || v >= kRows || entry < 0 || entry >= static_cast<int>(m_bars[v].size())) return;
    const int style = m_bPlain ? CTrackPainter::kBar : row == 0 ? CTrackPainter::kPause
                                                 : row == 1 ? CTrackPainter::kSound
                                                            : CTrackPainter::kBar;
    // Frames far off the track are drawn at its margin (the same picture),
    // so no pixel arithmetic overflows.
    auto pixel = [this](int frame) {
        return static_cast<int>(std::clamp<long long>(static_cast<long long>(frame) - m_nOrigin, -kBarMargin,
                                                      kWidth + kBarMargin));
    };
    m_bars[v][static_cast<size_t>(entry)].SetBar(pixel(start), pixel(end), value, RowRect(v), style, marked);
}

void CTimeLineTrack::SetSelection(int row, int entry, int top) {
    m_nSelectedRow = row;
    m_nSelectedEntry = entry;
    m_nPressedRow = row;
    m_nPressedVisible = row - top;
    m_nPressedEntry = entry;
    m_nTopRow = top;
}

void CTimeLineTrack::Reset() {
    for (auto& row : m_bars) row.clear();
    m_bDragging = false;
    m_nPressedRow = m_nPressedVisible = 0;
    m_nOrigin = m_nTopRow = m_nCurrentFrame = 0;
    SetRowCount(0);
}

CTrackRect CTimeLineTrack::GetBarRect(int visibleRow, int entry) const {
    if (visibleRow < 0 || visibleRow >= kRows || entry < 0 || entry >= static_cast<int>(m_bars[visibleRow].size()))
        return {};
    return m_bars[visibleRow][static_cast<size_t>(entry)].BarRect();
}

void CTimeLineTrack::ButtonDown(int x, int y, bool shift) {
    m_bDragging = true;
    m_nLastX = x;
    // In 64 bits: a frame at the end of the int range is far off any pixel.
    const long long cx = static_cast<long long>(m_nCurrentFrame) - m_nOrigin;
    if (!m_bPlain && x >= cx - 3 && x <= cx + 3 && y >= 1 && y <= 8) {
        m_nMode = kHandle;
        return;
    }
    for (int v = 0; v < m_nVisibleRows; ++v) {
        const CTrackRect row = RowRect(v);
        const auto& bars = m_bars[v];
        if (bars.empty()) {
            if (!row.Holds(x, y)) continue;
            m_nMode = kEmptyRow;
            m_nPressedVisible = v;
            m_nPressedRow = m_nTopRow + v;
            m_nPressedEntry = -1;
            if (m_pListener) m_pListener->OnTrackPress(0);
            return;
        }
        int outside = 0;
        for (size_t i = 0; i < bars.size(); ++i) {
            if (!bars[i].Contains(x, y)) continue;
            const int hit = bars[i].HitTest(x, y);
            if (hit == CTrackPainter::kHitOutside) {
                ++outside;
                continue;
            }
            m_nPressedVisible = v;
            m_nPressedRow = m_nTopRow + v;
            if (hit == CTrackPainter::kHitLeft) {
                m_nMode = kNothing;
                m_nPressedEntry = 0;
                if (m_pListener) m_pListener->OnTrackPress(0);
                return;
            }
            m_nMode = hit == CTrackPainter::kHitStart ? kStart : hit == CTrackPainter::kHitBody ? kBody : kFinish;
            m_nPressedEntry = static_cast<int>(i);
            if (m_pListener) m_pListener->OnTrackPress(shift ? 1 : 0);
            return;
        }
        if (outside == static_cast<int>(bars.size())) {
            // Right of every bar: the row with its first entry, nothing to drag.
            m_nMode = kNothing;
            m_nPressedVisible = v;
            m_nPressedRow = m_nTopRow + v;
            m_nPressedEntry = 0;
            if (m_pListener) m_pListener->OnTrackPress(0);
        }
    }
    if (m_pListener) m_pListener->OnTrackPressNone();
}

void CTimeLineTrack::MouseMove(int x, int /*y*/) {
    if (m_bLocked || !m_bDragging) return;
    const int dx = x - m_nLastX;
    if (m_nMode <= kFinish) {
        m_nPressedRow = m_nTopRow + m_nPressedVisible;
        if (m_pListener && dx) m_pListener->OnTrackDrag(m_nMode, dx);
    } else if (m_nMode == kHandle) {
        if (m_pListener && dx) m_pListener->OnTrackScroll(dx);
    }
    m_nLastX = x;
}

void CTimeLineTrack::ButtonUp() {
    if (!m_bDragging) return;
    m_bDragging = false;
    if (m_pListener) m_pListener->OnTrackRelease();
}

void CTimeLineTrack::DoubleClick() {
    if (m_pListener) m_pListener->OnTrackDblClk(m_nTopRow + m_nPressedVisible, m_nPressedEntry);
}

int CTimeLineTrack::CursorAt(int x, int y) const {
    if (m_bLocked) return kCursorArrow;
    for (int v = 0; v < m_nVisibleRows; ++v) {
        if (!RowRect(v).Holds(x, y)) continue;
        for (const CTrackPainter& bar : m_bars[v]) {
            const int hit = bar.HitTest(x, y);
            if (hit == CTrackPainter::kHitStart || hit == CTrackPainter::kHitFinish) return kCursorSizeWE;
            if (hit == CTrackPainter::kHitBody) return kCursorArrow;
        }
        return kCursorArrow;
    }
    return kCursorArrow;
}

void CTimeLineTrack::Paint(CTrackRaster& r) {
    r.Fill(0, 0, r.Width(), r.Height(), kWhite);
    const int special = m_bPlain ? 0 : m_nTopRow == 0 ? 2 : m_nTopRow == 1 ? 1 : 0;
    const int endX =
        static_cast<int>(std::clamp<long long>(static_cast<long long>(m_nAnimationEnd) - m_nOrigin, -1, 411));
    for (int v = 0; v < kRows; ++v) {
        const CTrackRect row = RowRect(v);
        const bool selected = m_nTopRow + v == m_nSelectedRow;
        const int split = std::clamp(endX, row.left, row.right);
        r.Fill(row.left, row.top + 1, split, row.bottom - 1, selected ? kPaleYellow : kWhite);
        r.Fill(split, row.top + 1, row.right, row.bottom - 1, selected ? kKhaki : kLightGrey);
    }
    for (int pass = 0; pass < 2; ++pass) {
        // Event bars first, then the marks of the pause and sound rows.
        for (int v = 0; v < m_nVisibleRows; ++v) {
            if ((v < special) != (pass == 1)) continue;
            for (size_t i = 0; i < m_bars[v].size(); ++i) {
                CTrackPainter& bar = m_bars[v][i];
                bar.SetHighlight(m_nTopRow + v == m_nSelectedRow, static_cast<int>(i) == m_nSelectedEntry);
                bar.Draw(r);
            }
        }
    }
    // Grid: 2-pixel lines (the row line and the one below it) and the outline.
    for (int v = 0; v <= kRows; ++v) {
        const int y = v * kRowHeight;
        r.Line(0, y, kWidth, y, kBlack);
        if (y + 1 < kHeight) r.Line(0, y + 1, kWidth, y + 1, kBlack);
    }
    r.Line(0, 0, 0, kHeight, kBlack);
    r.Line(kWidth - 1, 0, kWidth - 1, kHeight, kBlack);
    r.Line(0, kHeight - 1, kWidth, kHeight - 1, kBlack);
    const long long lastShown = static_cast<long long>(m_nOrigin) + 410;
    if (m_nOrigin <= m_nAnimationEnd && m_nAnimationEnd <= lastShown) r.Line(endX, 0, endX, kHeight, kBlack);
    if (m_nOrigin <= m_nCurrentFrame && m_nCurrentFrame <= lastShown) {
        const int x = m_nCurrentFrame - m_nOrigin;
        r.Line(x, 1, x, kHeight, kGreen);
        if (!m_bPlain) {
            r.Line(x - 3, 1, x - 3, 7, kGreen);
            r.Line(x - 2, 1, x - 2, 8, kGreen);
            r.Line(x - 1, 1, x - 1, 9, kGreen);
            r.Line(x + 1, 1, x + 1, 9, kGreen);
            r.Line(x + 2, 1, x + 2, 8, kGreen);
            r.Line(x + 3, 1, x + 3, 7, kGreen);
        }
    }
}
