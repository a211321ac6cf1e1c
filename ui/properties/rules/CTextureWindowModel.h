// What a "Texture" window edits, without the window: the image file, single
// image or numbered frames, the wrapping (a panel's faces too), and the tools
// that move, scale and rotate the texture by dragging in the view. It works on
// the one object it was opened for and follows the view: a new scene, another
// selection, an undo step or the mode switch close it without writing, and its
// tool is off for the view from then on.
#pragma once

#include "editor/CViewListener.h"

#include <functional>
#include <string>

class CKelvanoView;
class pnObject;

class CTextureWindowModel : public CViewListener {
public:
    enum Tool { kNoTool, kMove, kScale, kRotate };
    // Which window: 1 text, 2 counter, 3 model, 4 panel.
    explicit CTextureWindowModel(int kind) : m_nKind(kind) {}
    ~CTextureWindowModel() override;
    CTextureWindowModel(const CTextureWindowModel&) = delete;
    CTextureWindowModel& operator=(const CTextureWindowModel&) = delete;

    // Works on the object from now on and follows the view.
    void Open(CKelvanoView& view, pnObject& object);
    bool IsOpen() const { return m_pObject != nullptr; }
    // The object it was opened for; null once closed.
    pnObject* Object() const { return m_pObject; }
    int Kind() const { return m_nKind; }

    // The values as the object had them at opening, then as the window set them.
    std::string m_strPath;
    int m_nMapping = 0;  // 1..4 Flat, Cylindrical, Spherical, Reflection
    int m_nTexMode = 0;  // 0 single, 1 sequence (a panel without a file: 2 per face)
    int m_nFrames = 1;
    int m_faces[6] = {0, 0, 0, 0, 0, 0};
    int m_bWrapping = 0;  // a panel: Wrapping (1) or Per Face (0)

    // The values onto the object, one undo step; a panel without a file
    // records none (the scene is modified all the same).
    void Apply();
    // A tool pressed or let go: at most one is on, and the view's drags move
    // the texture with it while it is.
    void SetTool(Tool tool, bool on);
    Tool CurrentTool() const { return m_tool; }
    // The object's two terms of a tool (move offsets, scale or rotate terms).
    void TermsOf(Tool tool, float& u, float& v) const;
    // Typed U and V: the terms of the tool that is on (no undo step).
    void SetTerms(float u, float v);
    // The texture planes back to their start (no undo step).
    void Reset();
    // Whether the object shows a texture, as its page's check box says.
    bool ShowsTexture() const;

    // The window's own Close: the page is told whether the object shows a
    // texture, the tool goes off and the model closes.
    void Close();
    // Closes without touching the object; the tool goes off.
    void Cancel();
    // Every change but a frame's closes it (Cancel).
    void OnViewChange(ViewChange change) override;
    // The window goes when the model closes.
    std::function<void()> m_onClosed;

private:
    void Finish();

    int m_nKind;
    CKelvanoView* m_pView = nullptr;
    pnObject* m_pObject = nullptr;
    Tool m_tool = kNoTool;
};
