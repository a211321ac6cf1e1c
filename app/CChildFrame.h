// The scene window: the centre pane of the main frame. It holds the view's GL
// window at the scene size in its top-left corner and lets the user drag the
// window's right and bottom edges, keeping the scene's aspect when asked.
// The user cannot close it.
#pragma once

#include <wx/scrolwin.h>

#include <string>

class CKelvanoCanvas;
class CKelvanoView;
class CMainFrame;

class CChildFrame : public wxScrolledWindow {
public:
    explicit CChildFrame(CMainFrame* frame);
    // Fails without a current document (its size is the scene size).
    bool CreateChild();

    CKelvanoView* GetView() const;
    CKelvanoCanvas* GetCanvas() const { return m_pCanvas; }
    void ReleaseView();
    void RedrawView();

    const std::string& GetTitleText() const { return m_strTitle; }
    void SetTitleText(const std::string& title);

    // Client size of the scene (the GL window).
    wxSize GetSceneSize() const;
    void SetSceneSize(int width, int height);
    // The user dragged an edge to cx x cy: applies the keep-aspect rule.
    // Nothing changes while a recording runs.
    void ResizeByUser(int cx, int cy);
    // Whether the edges stay where they are (a recording runs).
    bool SizeLocked() const;

private:
    enum Edge { None = 0, Right = 1, Bottom = 2 };
    int EdgeAt(const wxPoint& point) const;
    void OnMouse(wxMouseEvent& event);
    void OnPaint(wxPaintEvent& event);

    CMainFrame* m_pFrame;
    CKelvanoCanvas* m_pCanvas = nullptr;
    std::string m_strTitle;
    int m_nDragEdge = None;
    // The aspect kept through one drag of an edge, taken at its start: each
    // step's size is whole pixels, so an aspect taken from it would drift.
    double m_dDragAspect = 0.0;
};
