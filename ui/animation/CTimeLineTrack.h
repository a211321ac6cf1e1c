// The time line's track without a window: five rows of 19 pixels, 370 wide,
// one pixel per frame; one CTrackPainter per bar or mark draws it into an RGB
// raster (single pixels, no smoothing) and classifies presses on it. The
// window (CTimeLineTrackCtrl) blits the raster and forwards the mouse; the
// track reports to its parent through CTrackListener.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

struct CTrackColor {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const CTrackColor& o) const { return r == o.r && g == o.g && b == o.b; }
};

struct CTrackRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    // Right and bottom edges are outside.
    bool Holds(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// RGB pixels, rows top-down.
class CTrackRaster {
public:
    CTrackRaster(int width, int height);
    int Width() const { return m_w; }
    int Height() const { return m_h; }
    CTrackColor At(int x, int y) const;
    void Set(int x, int y, CTrackColor c);
    // Right and bottom edges excluded.
    void Fill(int left, int top, int right, int bottom, CTrackColor c);
    // Horizontal or vertical, without the end point.
    void Line(int x0, int y0, int x1, int y1, CTrackColor c);
    const std::vector<uint8_t>& Data() const { return m_rgb; }

private:
    int m_w, m_h;
    std::vector<uint8_t> m_rgb;
};

class CTrackPainter {
public:
    enum Style { kPause = 0, kSound = 1, kBar = 2 };
    // Hit codes: start end, finish end, body, left of the bar, outside.
    enum Hit { kHitStart = 1, kHitFinish = 2, kHitBody = 3, kHitLeft = 4, kHitOutside = 5 };

    void SetBar(int left, int right, int value, const CTrackRect& row, int style, int marked);
    void SetHighlight(int inSelectedRow, int isSelectedEntry) { m_bHighlight = inSelectedRow && isSelectedEntry; }
    int HitTest(int x, int y) const;
    bool Contains(int x, int y) const { return m_row.Holds(x, y); }
    void Draw(CTrackRaster& raster) const;
    CTrackRect BarRect() const { return {m_x1, m_top, m_x2 + 1, m_bottom}; }
    int Style() const { return m_style; }

private:
    int m_style = kBar;
    int m_x1 = 0, m_x2 = 0, m_w = 0;
    int m_value = 0, m_marked = 0, m_bHighlight = 0;
    CTrackRect m_row;
    int m_top = 0, m_bottom = 0;
    CTrackRect m_start, m_body, m_finish, m_mark;
};

// The track's reports to its parent.
class CTrackListener {
public:
    virtual ~CTrackListener() = default;
    virtual void OnTrackPress(int shift) = 0;
    virtual void OnTrackPressNone() = 0;
    virtual void OnTrackDrag(int mode, int dx) = 0;
    virtual void OnTrackScroll(int dx) = 0;
    virtual void OnTrackRelease() = 0;
    virtual void OnTrackDblClk(int row, int entry) = 0;
};

class CTimeLineTrack {
public:
    static constexpr int kWidth = 370;
    // How far past either side of the track a bar is still laid out.
    static constexpr int kBarMargin = 64;
    static constexpr int kRowHeight = 19;
    static constexpr int kRows = 5;
    static constexpr int kHeight = kRows * kRowHeight;
    enum Mode { kStart = 0, kBody = 1, kFinish = 2, kNothing = 3, kHandle = 4, kEmptyRow = 5 };
    // Cursor codes: 1 west-east sizing, else the arrow.
    enum Cursor { kCursorArrow = 0, kCursorSizeWE = 1 };

    explicit CTimeLineTrack(CTrackListener* listener) : m_pListener(listener) {}

    void SetRowCount(int rows);
    void SetRowBars(int row, int count);
    void SetBar(int row, int entry, int start, int end, int value, int marked);
    void SetSelection(int row, int entry, int top);
    void Reset();
    CTrackRect GetBarRect(int visibleRow, int entry) const;

    void ButtonDown(int x, int y, bool shift);
    void MouseMove(int x, int y);
    void ButtonUp();
    void DoubleClick();
    // The cursor for the pointer over (x, y) while no button is held.
    int CursorAt(int x, int y) const;
    void Paint(CTrackRaster& raster);

    bool IsDragging() const { return m_bDragging; }
    int PressedRow() const { return m_nPressedRow; }
    int PressedEntry() const { return m_nPressedEntry; }
    int DragMode() const { return m_nMode; }

    int m_nOrigin = 0;
    int m_nCurrentFrame = 0;
    int m_nAnimationEnd = 0;
    int m_nTopRow = 0;
    int m_bLocked = 0;
    int m_bPlain = 0;
    int m_nSelectedRow = -1;
    int m_nSelectedEntry = -1;

private:
    CTrackRect RowRect(int v) const { return {0, kRowHeight * v, kWidth, kRowHeight * (v + 1)}; }
    int VisibleRows() const { return m_nVisibleRows; }

    CTrackListener* m_pListener;
    bool m_bDragging = false;
    int m_nLastX = 0;
    int m_nPressedVisible = 0, m_nPressedRow = 0, m_nPressedEntry = -1;
    int m_nMode = kNothing;
    int m_nRowCount = 0, m_nVisibleRows = 0;
    std::vector<CTrackPainter> m_bars[kRows];
};
