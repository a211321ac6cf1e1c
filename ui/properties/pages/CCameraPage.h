// The "Camera" tab of the property bar: orthographic or perspective
// projection, width, field of view and eye distance, the eye preview and
// Reset. The rules live in CCameraPageLogic; the page shows its controls
// after every handler.
#pragma once

#include "ui/properties/rules/CCameraPageLogic.h"
#include "ui/properties/pages/CObjectPageDlg.h"

class CCameraPreviewCtrl;
class CNotifySliderCtrl;
class CNumEdit;
class CPrivateMessageEvent;
class wxButton;
class wxRadioButton;

class CCameraPage : public CObjectPageDlg {
public:
    // templateId 113 (first layout set) or 251.
    CCameraPage(wxWindow* parent, int templateId);

    void LoadViewpoint();
    // In animation mode: the eye where the view shows it now.
    void FollowFrame();
    void Lock(bool locked) override;
    void SetPresetView(bool on);
    CCameraPageLogic& Logic() { return m_logic; }

    enum ControlId : int {
        IDC_ORTHOGRAPHIC = 1014, IDC_PERSPECTIVE = 1017, IDC_ORTHO_TEXT = 1514, IDC_PERSP_TEXT = 1515,
        IDC_ORTHO_PICTURE = 1513, IDC_PERSP_PICTURE = 1512,
        IDC_WIDTH_SLIDER = 1007, IDC_WIDTH = 1001, IDC_FOV_SLIDER = 1148, IDC_FOV = 1010,
        IDC_DISTANCE_SLIDER = 1139, IDC_DISTANCE = 1013, IDC_PREVIEW = 1547, IDC_RESET = 1560,
    };

private:
    void ShowControls();
    void OnCommit(CPrivateMessageEvent& event);

    CCameraPageLogic m_logic;
    wxRadioButton* m_pOrtho = nullptr;
    wxRadioButton* m_pPersp = nullptr;
    CNotifySliderCtrl* m_pSliders[3] = {};  // width, FOV, distance
    CNumEdit* m_pEdits[3] = {};
    CCameraPreviewCtrl* m_pPreview = nullptr;
    wxButton* m_pReset = nullptr;
};
