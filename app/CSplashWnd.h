// The splash picture shown for a second while the main window is built.
#pragma once

#include <wx/bitmap.h>
#include <wx/frame.h>
#include <wx/timer.h>

class CSplashWnd : public wxFrame {
public:
    static void EnableSplashScreen(bool on);
    // Nothing when switched off or while a splash is up.
    static void ShowSplashScreen(wxWindow* parent);
    // The splash now up, or null.
    static CSplashWnd* Current();

    void HideSplashScreen();
    ~CSplashWnd() override;

private:
    CSplashWnd() = default;
    bool CreateSplash(wxWindow* parent);
    void OnPaint(wxPaintEvent& event);

    wxBitmap m_bitmap;
    wxTimer m_timer;
    wxTimer m_guard;
    bool m_bPainted = false;
    wxWindow* m_pParent = nullptr;
};
