// The view's GL window: makes the pixel format and context, forwards paint
// and size to CKelvanoView and serves as its host (message boxes, file
// dialogs, timers, cursor, the frame's relays).
#pragma once

#include <wx/glcanvas.h>
#include <wx/timer.h>

#include <map>
#include <memory>

class CChildFrame;
class CKelvanoView;
class CMainFrame;
class CViewHost;
class wxMenu;

class CKelvanoCanvas : public wxGLCanvas {
public:
    // RGBA 8-8-8-8, depth 24, stencil 8, double buffer and a 16-bit
    // accumulation buffer; without an accumulation visual the same without
    // it, then without alpha. hasAccum tells which one was taken.
    static wxGLAttributes ChooseAttributes(bool* accumRequested);

    CKelvanoCanvas(CChildFrame* parent, CMainFrame* frame, const wxGLAttributes& attributes, const wxSize& size);
    ~CKelvanoCanvas() override;

    CKelvanoView* GetView() const { return m_pView.get(); }
    // Makes the context on first use (the window must be shown) and makes it
    // current; false while that is not possible.
    bool MakeContextCurrent();
    // Releases the view and the GL context while the window still exists.
    void ReleaseView();

    // The view's context menu (0 object mode, 1 animation mode); the main
    // frame takes its commands and update rules.
    static std::unique_ptr<wxMenu> MakeContextMenu(int popup);

    CMainFrame* GetMainFrame() const { return m_pFrame; }
    CChildFrame* GetChildFrame() const { return m_pChild; }
    void StartTimer(int id, int milliseconds);
    void StopTimer(int id);

private:
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnTimerEvent(wxTimerEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnMouse(wxMouseEvent& event);

    CChildFrame* m_pChild;
    CMainFrame* m_pFrame;
    std::unique_ptr<CViewHost> m_pHost;
    std::unique_ptr<CKelvanoView> m_pView;
    std::unique_ptr<wxGLContext> m_pContext;
    std::map<int, std::unique_ptr<wxTimer>> m_timers;
};
