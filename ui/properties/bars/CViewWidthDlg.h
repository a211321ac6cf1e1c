// The "View Width" bar: a slider and an edit for the width of the viewpoint's
// orthographic view. Dragging the slider shows the width in the edit; the
// view takes it when the slider is let go (or moved by the keys), or when a
// typed width is committed.
#pragma once

#include <wx/panel.h>

class CNotifySliderCtrl;
class CNumEdit;
class CPrivateMessageEvent;

class CViewWidthDlg : public wxPanel {
public:
    explicit CViewWidthDlg(wxWindow* parent);

    // Shows the width in the edit and on the slider and applies it.
    void SetWidth(int width);
    void ApplyWidth(float width);
    int GetWidth() const { return static_cast<int>(m_fWidth); }

    CNotifySliderCtrl* GetSlider() const { return m_pSlider; }
    CNumEdit* GetEdit() const { return m_pEdit; }
    static constexpr int kTemplate = 299;
    static constexpr int kSliderId = 1134;
    static constexpr int kEditId = 1325;

private:
    void OnSliderMoved();
    void OnCommit(CPrivateMessageEvent& event);
    void ShowWidth();

    CNotifySliderCtrl* m_pSlider = nullptr;
    CNumEdit* m_pEdit = nullptr;
    float m_fWidth = 720.0f;
    bool m_bDragging = false;
};

class CViewWidthBar : public wxPanel {
public:
    CViewWidthBar(wxWindow* parent, int id);
    CViewWidthDlg* GetDialog() const { return m_pDialog; }

private:
    CViewWidthDlg* m_pDialog = nullptr;
};
