// The main view: owner of the scene, of the GL drawing and of the view's
// commands. It holds plain state and reaches the window system only through
// its host (CViewHost), so it runs headless in tests.
#pragma once

#include "app/CCmdUI.h"
#include "app/CDib.h"
#include "app/CViewHost.h"
#include "app/CViewScene.h"

#include <memory>
#include <string>

class CKelvanoDoc;

// The drawable the host made for the view, as GL reports it.
struct GLFormatInfo {
    int redBits = 8, greenBits = 8, blueBits = 8, alphaBits = 0;
    int depthBits = 24;
    int stencilBits = 8;
    int accumRedBits = 0;
    bool doubleBuffer = true;
};

// A new scene's background, also the clear colour while no scene is attached.
constexpr float kSceneBackground[4] = {0.14f, 0.35f, 0.67f, 0.0f};
constexpr int kDefaultSceneWidth = 580;
constexpr int kDefaultSceneHeight = 392;

class CKelvanoView {
public:
    // Becomes the application's current view.
    CKelvanoView(CKelvanoDoc* doc, CViewHost* host);
    ~CKelvanoView();
    CKelvanoView(const CKelvanoView&) = delete;
    CKelvanoView& operator=(const CKelvanoView&) = delete;

    CKelvanoDoc* GetDocument() const { return m_pDocument; }
    CViewHost* GetHost() const { return m_pHost; }

    // Colour and alpha bits to ask of a display whose usual format has these:
    // 8 alpha bits or more are taken as they are; without alpha, fewer than
    // 32 colour bits give (colour, 0), 32 and more give (24, 8).
    static void ChooseFormatBits(int colorBits, int alphaBits, int& outColor, int& outAlpha);

    // Once the host has made the GL context for the view's window and made it
    // current: records the format and takes the document's settings.
    int OnCreate(const GLFormatInfo& format);
    // Draws the screen picture and swaps.
    void OnDraw();
    // The client area's new size; a zero side (minimised) changes nothing.
    void OnSize(int width, int height);
    void OnDestroy();
    void OnTimer(int timerId);

    // Passes actually drawn for an anti-aliasing level: 4 and 8 need the
    // accumulation buffer and fall back to one pass without it (said once).
    int AntiAliasPasses(int level);
    bool HasAccumulationBuffer() const { return m_bAccumBuffer != 0; }

    // Where a printed page shows the view: the full printable width, the
    // height that keeps the view's shape at the printer's resolutions.
    static CRectI PrintTarget(int clientWidth, int clientHeight, int horzRes, int logPixelsX, int logPixelsY);

    // The save-changes prompt: 1 to go on, 0 when the user cancelled or the
    // save failed.
    int SaveModified();
    int OnFileSave();
    int OnFileSaveAs();
    int WriteScene();

    // Command routing from the frame: true when the view handles the id.
    bool OnCommand(int id);
    bool OnUpdateCommand(int id, CCmdUI& ui);

    ViewCursor CurrentCursor() const;

    // The scene model attaches its scene here (the view owns it).
    void AttachScene(std::unique_ptr<CViewScene> scene);
    CViewScene* GetScene() const { return m_pScene.get(); }

    // Data model.
    CDibSection m_dibWindowCapture;
    std::unique_ptr<CViewScene> m_pScene;
    int m_bAnimationMode = 0;
    int m_bOpenGivenFile = 0;
    std::string m_strPathName;
    std::string m_strPendingOpen;
    int m_bAlphaBits = 0;
    int m_bPlaying = 0;
    int m_bHighlightSelected = 0;
    int m_nTransformMode = 0;
    int m_bAxisX = 1, m_bAxisY = 1, m_bAxisZ = 0;
    int m_nAntiAlias = 0;
    int m_nOutputQuality = 4;
    int m_nSceneAlign = 0;
    int m_bModified = 0;
    float m_fPresetDistance[6] = {720.0f, 720.0f, 720.0f, 720.0f, 720.0f, 720.0f};
    int m_bPresetOn[6] = {0, 0, 0, 0, 0, 0};
    int m_nActivePreset = -1;
    unsigned char m_bSafetyZone = 0;
    int m_bWaitCursorOnDraw = 0;
    int m_nCurrentFrame = 0;
    int m_bBusy = 0;
    int m_bClosingToolWindows = 0;
    CDib m_dibPrint;

private:
    CKelvanoDoc* m_pDocument;
    CViewHost* m_pHost;
    int m_bAccumBuffer = 0;
    bool m_bToldNoAccum = false;
    int m_nClientWidth = 0;
    int m_nClientHeight = 0;
};
