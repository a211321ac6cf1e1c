// The base of the small GL controls (material grid, material preview, camera
// preview): a window with a GL context of its own (RGBA, depth 24, no
// accumulation), made current only while the window is realized and only for
// its own size and paint; the view's context is current again afterwards.
#pragma once

#include <wx/glcanvas.h>

#include <memory>

class CGLPreviewCanvas : public wxGLCanvas {
public:
    CGLPreviewCanvas(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size);
    ~CGLPreviewCanvas() override;
    // InvalidateRect without erase.
    void Redraw() { Refresh(false); }

protected:
    // With the context current: the projection for a client size (false
    // while a side is 0), and the picture.
    virtual bool SizeGL(int width, int height) = 0;
    virtual void RenderGL() = 0;
    // Left-button drags inside the client (the mouse captured, points kept
    // inside): each move from the last point; true takes the new point as
    // the last one and redraws. DragEnded follows the release or a lost capture.
    void EnableMouseDrags();
    virtual bool DragStep(int /*x0*/, int /*y0*/, int /*x*/, int /*y*/) { return false; }
    virtual void DragEnded() {}

private:
    void OnDragMouse(wxMouseEvent& event);
    void EndDrag();
    bool m_bDragging = false;
    wxPoint m_ptLast;
    bool MakeCurrentHere();
    void RestoreViewContext();
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    std::unique_ptr<wxGLContext> m_pContext;
    bool m_bSized = false;
};
