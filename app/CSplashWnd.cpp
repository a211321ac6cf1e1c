#include "app/CSplashWnd.h"

#include "app/KelvanoArt.h"

#include <wx/dcclient.h>

namespace {
bool g_bShowSplashWnd = false;
CSplashWnd* g_pSplashWnd = nullptr;
}  // namespace

void CSplashWnd::EnableSplashScreen(bool on) { g_bShowSplashWnd = on; }

CSplashWnd* CSplashWnd::Current() { return g_pSplashWnd; }

void CSplashWnd::ShowSplashScreen(wxWindow* parent) {
    if (!g_bShowSplashWnd || g_pSplashWnd) return;
    auto* splash = new CSplashWnd();
    if (!splash->CreateSplash(parent)) {
        delete splash;
        return;
    }
    g_pSplashWnd = splash;
    splash->Update();
}

bool CSplashWnd::CreateSplash(wxWindow* parent) {
    m_bitmap = KelvanoSplashBitmap();
    if (!m_bitmap.IsOk()) return false;
    m_pParent = parent;
    const long style = wxBORDER_NONE | wxFRAME_NO_TASKBAR | wxFRAME_TOOL_WINDOW | wxSTAY_ON_TOP;
    if (!Create(parent, wxID_ANY, "Kelvano", wxDefaultPosition, m_bitmap.GetSize(), style)) return false;
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetClientSize(m_bitmap.GetSize());
    Bind(wxEVT_PAINT, &CSplashWnd::OnPaint, this);
    Centre(wxBOTH | wxCENTRE_ON_SCREEN);
    // The second counts from the first paint, so that a slow start does not
    // use it up before the picture was ever seen; a splash that is never
    // painted goes after a few seconds all the same.
    m_timer.SetOwner(this, 1);
    m_guard.SetOwner(this, 2);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { HideSplashScreen(); });
    m_guard.StartOnce(5000);
    Show(true);
    // A window without borders takes its size only once shown (GTK).
    SetSize(m_bitmap.GetSize());
    Centre(wxBOTH | wxCENTRE_ON_SCREEN);
    return true;
}

CSplashWnd::~CSplashWnd() {
    if (g_pSplashWnd == this) g_pSplashWnd = nullptr;
}

void CSplashWnd::HideSplashScreen() {
    m_timer.Stop();
    m_guard.Stop();
    if (g_pSplashWnd == this) g_pSplashWnd = nullptr;
    wxWindow* parent = m_pParent;
    Destroy();
    if (parent) {
        parent->Refresh();
        parent->Update();
    }
}

void CSplashWnd::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    dc.DrawBitmap(m_bitmap, 0, 0, false);
    if (!m_bPainted) {
        m_bPainted = true;
        m_timer.StartOnce(1000);
    }
}
