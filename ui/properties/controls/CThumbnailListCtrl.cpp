#include "ui/properties/controls/CThumbnailListCtrl.h"

#include "sg/sgImage.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/controls/ObjectArt.h"

#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/msgdlg.h>
#include <wx/settings.h>

const wxColour CThumbnailListCtrl::kEmptyCell(0xC0, 0xC0, 0xC0);
const wxColour CThumbnailListCtrl::kSelectionFrame(0xFF, 0x00, 0x00);

namespace {
// Room the vertical scroll bar takes beside the cells.
int scrollAllowance(int rows) { return rows > 1 ? 13 : 3; }
}  // namespace

bool CThumbnailListCtrl::Create(long style, wxWindow* parent, int x, int y) {
    if (!wxWindow::Create(parent, kId, wxPoint(x, y), GridSize(),
                          style | wxVSCROLL | wxCLIP_CHILDREN | wxCLIP_SIBLINGS | wxFULL_REPAINT_ON_RESIZE))
        return false;
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CThumbnailListCtrl::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CThumbnailListCtrl::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CThumbnailListCtrl::OnLeftDClick, this);
    Bind(wxEVT_MOTION, &CThumbnailListCtrl::OnMotion, this);
    for (const auto& type : {wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM, wxEVT_SCROLLWIN_LINEUP,
                             wxEVT_SCROLLWIN_LINEDOWN, wxEVT_SCROLLWIN_PAGEUP, wxEVT_SCROLLWIN_PAGEDOWN,
                             wxEVT_SCROLLWIN_THUMBTRACK, wxEVT_SCROLLWIN_THUMBRELEASE})
        Bind(type, &CThumbnailListCtrl::OnScroll, this);
    UpdateScrollBar();
    return true;
}

wxSize CThumbnailListCtrl::GridSize() const {
    const int rows = m_grid.Rows();
    return wxSize(kCellSize * m_grid.Columns() + scrollAllowance(rows) + 10 + wxSystemSettings::GetMetric(wxSYS_VSCROLL_X),
                  rows * kCellSize);
}

void CThumbnailListCtrl::SetGrid(int columns, int rows) {
    m_grid.SetGrid(columns, rows);
    if (GetHandle()) {
        SetSize(GridSize());
        UpdateScrollBar();
        Refresh(false);
    }
}

int CThumbnailListCtrl::AddItem(const std::string& file) {
    if (!m_grid.AddItem(file)) {
        wxMessageBox("Cannot add item..!!", "Error", wxOK | wxICON_WARNING, GetParent());
        return 0;
    }
    m_pictures.emplace_back();
    m_read.push_back(false);
    UpdateScrollBar();
    Refresh(false);
    return 1;
}

int CThumbnailListCtrl::SelectIndex(int index) {
    const int ok = m_grid.SelectIndex(index) ? 1 : 0;
    UpdateScrollBar();
    Refresh(false);
    return ok;
}

int CThumbnailListCtrl::SelectByName(const std::string& name) {
    const int ok = m_grid.SelectByName(name) ? 1 : 0;
    UpdateScrollBar();
    Refresh(false);
    return ok;
}

void CThumbnailListCtrl::UpdateScrollBar() {
    if (GetHandle()) SetScrollbar(wxVERTICAL, m_grid.TopRow(), 1, m_grid.LargestTopRow() + 1);
}

wxRect CThumbnailListCtrl::CellRect(int cell) const {
    const int c = cell % m_grid.Columns(), r = cell / m_grid.Columns();
    return wxRect(c * kCellSize, r * kCellSize, kCellSize, kCellSize);
}

int CThumbnailListCtrl::ItemAt(const wxPoint& point) const {
    for (int cell = 0; cell < m_grid.CellCount(); ++cell)
        if (CellRect(cell).Contains(point)) return m_grid.ItemInCell(cell);
    return -1;
}

void CThumbnailListCtrl::ScrollByCode(int code, int pos) {
    if (m_grid.Scroll(code, pos)) Refresh(false);
    UpdateScrollBar();
}

void CThumbnailListCtrl::OnScroll(wxScrollWinEvent& event) {
    const wxEventType t = event.GetEventType();
    // The thumb's release only ends a drag that thumb tracking followed.
    const int code = t == wxEVT_SCROLLWIN_LINEUP ? 0 : t == wxEVT_SCROLLWIN_LINEDOWN ? 1
                   : t == wxEVT_SCROLLWIN_PAGEUP ? 2 : t == wxEVT_SCROLLWIN_PAGEDOWN ? 3
                   : t == wxEVT_SCROLLWIN_THUMBTRACK ? 5 : t == wxEVT_SCROLLWIN_TOP ? 6
                   : t == wxEVT_SCROLLWIN_BOTTOM ? 7 : 4;
    ScrollByCode(code, event.GetPosition());
}

const wxBitmap& CThumbnailListCtrl::Picture(int item) {
    const size_t i = static_cast<size_t>(item);
    if (!m_read[i]) {
        m_read[i] = true;
        int components = 3;
        if (auto picture = LoadPreviewImage(m_grid.Item(item), &components)) {
            wxImage image = ImageFromPicture(*picture, components);
            if (image.IsOk()) m_pictures[i] = wxBitmap(image.Scale(kCellSize - 4, kCellSize - 4));
        }
    }
    return m_pictures[i];
}

void CThumbnailListCtrl::Paint(wxDC& dc) {
    const int highlighted = HighlightedItem();
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    dc.Clear();
    for (int cell = 0; cell < m_grid.CellCount(); ++cell) {
        const wxRect r = CellRect(cell);
        const int item = m_grid.ItemInCell(cell);
        if (item < 0) {
            dc.SetPen(*wxTRANSPARENT_PEN);
            dc.SetBrush(wxBrush(kEmptyCell));
            dc.DrawRectangle(r);
            continue;
        }
        // Cells are filled white first: a file that cannot be read stays blank.
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(*wxWHITE_BRUSH);
        dc.DrawRectangle(r);
        const wxBitmap& bmp = Picture(item);
        if (bmp.IsOk()) dc.DrawBitmap(bmp, r.x + 2, r.y + 2);
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        if (item == highlighted) {
            dc.SetPen(wxPen(kSelectionFrame));
            dc.DrawRectangle(r);
            dc.DrawRectangle(wxRect(r).Deflate(2));
            dc.SetPen(*wxWHITE_PEN);
            dc.DrawRectangle(wxRect(r).Deflate(1));
        } else {
            dc.SetPen(wxPen(kEmptyCell));
            dc.DrawRectangle(r);
            dc.SetPen(*wxWHITE_PEN);
            dc.DrawLine(r.x + 1, r.y + 1, r.GetRight(), r.y + 1);
            dc.DrawLine(r.x + 1, r.y + 1, r.x + 1, r.GetBottom());
            dc.SetPen(wxPen(wxColour(0x80, 0x80, 0x80)));
            dc.DrawLine(r.x + 1, r.GetBottom() - 1, r.GetRight(), r.GetBottom() - 1);
            dc.DrawLine(r.GetRight() - 1, r.y + 1, r.GetRight() - 1, r.GetBottom());
        }
    }
}

wxBitmap CThumbnailListCtrl::RenderCells() {
    return PaintedBitmap(wxSize(m_grid.Columns() * kCellSize, m_grid.Rows() * kCellSize),
                         [this](wxDC& dc) { Paint(dc); });
}

void CThumbnailListCtrl::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    Paint(dc);
}

void CThumbnailListCtrl::Click(const wxPoint& point, int doubleClick) {
    const int item = ItemAt(point);
    if (item < 0) return;
    m_grid.SelectIndex(item);
    m_nHover = item;
    Refresh(false);
    SendPrivateMessage(GetParent(), WM_THUMB_CLICK, doubleClick, 0);
}

void CThumbnailListCtrl::OnLeftDown(wxMouseEvent& event) { Click(event.GetPosition(), 0); }

void CThumbnailListCtrl::OnLeftDClick(wxMouseEvent& event) { Click(event.GetPosition(), 1); }

void CThumbnailListCtrl::OnMotion(wxMouseEvent& event) {
    m_bMoved = true;
    const int item = ItemAt(event.GetPosition());
    if (item != m_nHover) {
        m_nHover = item;
        Refresh(false);
    }
}
