// A scrolling grid of up to 256 picture files (36 x 36 in 40-pixel cells) from
// which the model chooser picks. A click on a picture sends WM_THUMB_CLICK to
// the parent (wParam 0, or 1 for a double-click; lParam 0). The pictures are
// read when their cells are first painted; files that cannot be read leave
// their cell empty.
#pragma once

#include "ui/properties/rules/ObjectRules.h"

#include <wx/bitmap.h>
#include <wx/window.h>

#include <string>
#include <vector>

class CThumbnailListCtrl : public wxWindow {
public:
    static constexpr int kCellSize = 40;
    // A static control's "no id" (0xFFFF as a 16-bit -1).
    static constexpr int kId = -1;

    CThumbnailListCtrl() = default;
    // A child of parent at (x, y), sized to the grid.
    bool Create(long style, wxWindow* parent, int x, int y);
    // A grid of more than 100 cells becomes 4 x 3.
    void SetGrid(int columns, int rows);
    // 1, or 0 with "Cannot add item..!!" when full.
    int AddItem(const std::string& file);
    int SelectIndex(int index);
    int SelectByName(const std::string& name);
    std::string GetSelectedName() const { return m_grid.SelectedName(); }
    // The item under a point in the control, -1 for none.
    int ItemAt(const wxPoint& point) const;
    wxRect CellRect(int cell) const;
    // A vertical scroll by code (see CThumbnailGrid::Scroll).
    void ScrollByCode(int code, int pos = 0);
    const CThumbnailGrid& Grid() const { return m_grid; }
    // The item drawn with the selection frame.
    int HighlightedItem() const { return m_bMoved && m_nHover >= 0 ? m_nHover : m_grid.Selected(); }
    // What a cell shows, as painted: its picture or the light grey of an
    // empty cell (tests read it back).
    wxBitmap RenderCells();

    // Pens and fills.
    static const wxColour kEmptyCell;
    static const wxColour kSelectionFrame;

private:
    wxSize GridSize() const;
    void Paint(wxDC& dc);
    const wxBitmap& Picture(int item);
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftDClick(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnScroll(wxScrollWinEvent& event);
    void Click(const wxPoint& point, int doubleClick);
    void UpdateScrollBar();

    CThumbnailGrid m_grid;
    std::vector<wxBitmap> m_pictures;
    std::vector<bool> m_read;
    int m_nHover = -1;
    bool m_bMoved = false;
};
