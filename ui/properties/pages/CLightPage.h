// The "Light" tab of the property bar: the four light slots with their
// toggle buttons and radios, intensity, kind, distance, spot cone and
// direction, the colour swatch and the GL preview. The rules live in
// CLightPageLogic; the page shows its controls after every handler.
#pragma once

#include "ui/properties/rules/CLightPageLogic.h"
#include "ui/properties/pages/CObjectPageDlg.h"

class CColorButton;
class CLightPreviewCtrl;
class CNotifySliderCtrl;
class CNumEdit;
class CPrivateMessageEvent;
class wxRadioButton;
class wxToggleButton;

class CLightPage : public CObjectPageDlg {
public:
    // templateId 112 (first layout set) or 208.
    CLightPage(wxWindow* parent, int templateId);

    void InitSceneLights(int keep);
    // Shows its light again as the scene holds it (an undo step may have
    // changed its material).
    void ReloadLight();
    // In animation mode: every light where the view shows it now.
    void FollowFrame();
    void Lock(bool locked) override;
    CLightPageLogic& Logic() { return m_logic; }
    CLightPreviewCtrl* GetPreview() const { return m_pPreview; }

    static constexpr int kLightIds[4] = {1425, 1426, 1089, 1095};
    static constexpr int kRadioIds[4] = {1429, 1430, 1432, 1434};
    enum ControlId : int {
        IDC_PREVIEW = 1491, IDC_INTENSITY = 1153, IDC_DIRECTIONAL = 1487, IDC_POSITIONAL = 1489,
        IDC_DISTANCE = 1139, IDC_SPOT_ON = 1027, IDC_SPOT_OFF = 1035, IDC_EXPONENT = 1427, IDC_CUTOFF = 1381,
        IDC_DIRECTION_X = 1428, IDC_DIRECTION_Y = 1333, IDC_DIRECTION_Z = 1352, IDC_COLOR = 1239,
    };

private:
    // Shows the logic's control state and redraws the preview.
    void ShowControls();
    void OnCommit(CPrivateMessageEvent& event);
    void OnColor();
    void OnMaterialMessage(CPrivateMessageEvent& event, bool chosen);

    CLightPageLogic m_logic;
    wxToggleButton* m_pLights[4] = {};
    wxRadioButton* m_pRadios[4] = {};
    CLightPreviewCtrl* m_pPreview = nullptr;
    CNotifySliderCtrl* m_pIntensity = nullptr;
    CNotifySliderCtrl* m_pDistance = nullptr;
    wxRadioButton* m_pDirectional = nullptr;
    wxRadioButton* m_pPositional = nullptr;
    wxRadioButton* m_pSpotOn = nullptr;
    wxRadioButton* m_pSpotOff = nullptr;
    CNumEdit* m_pEdits[5] = {};  // exponent, cutoff, direction X, Y, Z
    CColorButton* m_pColor = nullptr;
};
