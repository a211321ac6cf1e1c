#include "app/CChildFrame.h"

#include "app/CKelvanoApp.h"
#include "app/CKelvanoCanvas.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "app/CMainFrame.h"
#include "editor/FramePlacement.h"

#include <wx/dcclient.h>
#include <wx/settings.h>

#include <algorithm>

namespace {
// Width of the draggable band right of and below the scene.
constexpr int kGrip = 6;
constexpr int kMinSide = 16;
}  // namespace

CChildFrame::CChildFrame(CMainFrame* frame) : m_pFrame(frame) {}

bool CChildFrame::CreateChild() {
    CKelvanoDoc* doc = theApp.m_pCurrentDoc;
    if (!doc) return false;
    if (!Create(m_pFrame, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxHSCROLL | wxVSCROLL | wxFULL_REPAINT_ON_RESIZE))
        return false;
    // The grey of an empty document area, whatever the theme paints windows with.
    SetBackgroundColour(wxColour(128, 128, 128));
    SetScrollRate(10, 10);
    m_strTitle = theApp.m_bEmbedded ? "temp.apn" : "Untitled";

    bool accum = false;
    const wxGLAttributes attributes = CKelvanoCanvas::ChooseAttributes(&accum);
    m_pCanvas = new CKelvanoCanvas(this, m_pFrame, attributes, wxSize(doc->m_nSceneWidth, doc->m_nSceneHeight));
    SetVirtualSize(doc->m_nSceneWidth + kGrip, doc->m_nSceneHeight + kGrip);

    Bind(wxEVT_LEFT_DOWN, &CChildFrame::OnMouse, this);
    Bind(wxEVT_LEFT_UP, &CChildFrame::OnMouse, this);
    Bind(wxEVT_MOTION, &CChildFrame::OnMouse, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { m_nDragEdge = None; });
    Bind(wxEVT_PAINT, &CChildFrame::OnPaint, this);
    return true;
}

CKelvanoView* CChildFrame::GetView() const { return m_pCanvas ? m_pCanvas->GetView() : nullptr; }

void CChildFrame::ReleaseView() {
    if (m_pCanvas) m_pCanvas->ReleaseView();
}

void CChildFrame::RedrawView() {
    if (m_pCanvas) m_pCanvas->Refresh(false);
}

void CChildFrame::SetTitleText(const std::string& title) {
    m_strTitle = title;
    if (m_pFrame) m_pFrame->SetChildTitle(title);
}

wxSize CChildFrame::GetSceneSize() const { return m_pCanvas ? m_pCanvas->GetClientSize() : wxSize(); }

void CChildFrame::SetSceneSize(int width, int height) {
    if (!m_pCanvas || width < 1 || height < 1) return;
    m_pCanvas->SetSize(CalcScrolledPosition(wxPoint(0, 0)).x, CalcScrolledPosition(wxPoint(0, 0)).y, width, height);
    SetVirtualSize(width + kGrip, height + kGrip);
    Refresh();
}

bool CChildFrame::SizeLocked() const {
    // A recording reads every frame at the size it started with.
    const CKelvanoView* view = theApp.m_pCurrentView;
    return view && view->m_bBusy;
}

void CChildFrame::ResizeByUser(int cx, int cy) {
    if (SizeLocked()) return;
    cx = std::max(cx, kMinSide);
    cy = std::max(cy, kMinSide);
    CKelvanoDoc* doc = theApp.m_pCurrentDoc;
    int w = cx, h = cy;
    double aspect = 0.0;
    if (doc && doc->m_bKeepAspect) {
        aspect = m_nDragEdge != None && m_dDragAspect > 0.0 ? m_dDragAspect : doc->m_dAspect;
        int kw = 0, kh = 0;
        if (KeepAspectSize(cx, cy, GetSceneSize().x, aspect, kw, kh)) {
            w = kw;
            h = kh;
        }
    }
    HoldSceneSize(w, h, kMinSide, aspect);
    SetSceneSize(w, h);
}

int CChildFrame::EdgeAt(const wxPoint& point) const {
    const wxPoint p = CalcUnscrolledPosition(point);
    const wxSize s = GetSceneSize();
    int edge = None;
    if (p.x >= s.x && p.x < s.x + kGrip && p.y < s.y + kGrip) edge |= Right;
    if (p.y >= s.y && p.y < s.y + kGrip && p.x < s.x + kGrip) edge |= Bottom;
    return edge;
}

void CChildFrame::OnMouse(wxMouseEvent& event) {
    const wxPoint p = CalcUnscrolledPosition(event.GetPosition());
    if (event.LeftDown()) {
        m_nDragEdge = SizeLocked() ? static_cast<int>(None) : EdgeAt(event.GetPosition());
        const CKelvanoDoc* doc = theApp.m_pCurrentDoc;
        m_dDragAspect = doc && doc->m_bKeepAspect ? doc->m_dAspect : 0.0;
        if (m_nDragEdge != None && !HasCapture()) CaptureMouse();
    } else if (event.LeftUp()) {
        m_nDragEdge = None;
        if (HasCapture()) ReleaseMouse();
    } else if (event.Dragging() && m_nDragEdge != None) {
        const wxSize s = GetSceneSize();
        ResizeByUser(m_nDragEdge & Right ? p.x : s.x, m_nDragEdge & Bottom ? p.y : s.y);
    }
    const int edge = m_nDragEdge != None ? m_nDragEdge : SizeLocked() ? static_cast<int>(None) : EdgeAt(event.GetPosition());
    SetCursor(edge == (Right | Bottom) ? wxCursor(wxCURSOR_SIZENWSE)
              : edge == Right         ? wxCursor(wxCURSOR_SIZEWE)
              : edge == Bottom        ? wxCursor(wxCURSOR_SIZENS)
                                      : wxNullCursor);
    event.Skip();
}

void CChildFrame::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    DoPrepareDC(dc);
    // A thin frame round the scene marks the edges that can be dragged.
    const wxSize s = GetSceneSize();
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(-1, -1, s.x + 2, s.y + 2);
}
