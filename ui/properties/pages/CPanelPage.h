// The Object tab's page of a panel: name, kind (3D or 2D), X, Y, Z, taper,
// material and the texture of its faces.
#pragma once

#include "ui/properties/pages/CObjectPageDlg.h"

#include <string>

class CColorButton;
class CNumEdit;
class CNumSpinCtrl;
class CPrivateMessageEvent;
class pnPanel;
class wxButton;
class wxRadioButton;
class wxStaticText;

class CPanelPage : public CObjectPageDlg {
public:
    enum {
        IDC_HEADING = 1247, IDC_PICTURE = 1492, IDC_NAME = 1006, IDC_3D = 1342, IDC_2D = 1361,
        IDC_X = 1142, IDC_X_SPIN = 1150, IDC_Y = 1157, IDC_Y_SPIN = 1136, IDC_Z = 1168, IDC_Z_SPIN = 1163,
        IDC_TAPER = 1126, IDC_TAPER_SPIN = 1129, IDC_TEX_OFF = 1393, IDC_TEX_ON = 1403, IDC_MATERIAL = 1474,
        IDC_TEXTURE = 1269
    };
    static constexpr int kTemplate = 116;

    explicit CPanelPage(wxWindow* parent);

    void LoadFromObject(pnObject* object, int flag) override;
    void Lock(bool locked) override;
    // Builds a 3D panel without face textures and puts it into the scene as
    // the selection; the page then shows it. The new panel, or null.
    pnPanel* CreatePanel(const std::string& name, float x, float y, float z, float taper);
    void SetTextureCheck(bool on);

    CNumEdit* Edit(int id) const;
    CNumSpinCtrl* Spin(int id) const;
    int GetTextureRadio() const { return m_nTexture; }

private:
    pnPanel* Panel() const;
    void OnCommit(CPrivateMessageEvent& event);
    void OnSpinReleased(CPrivateMessageEvent& event);
    void OnButton(wxCommandEvent& event);
    void ApplyDimension(int id, float value);
    void ApplyTaper(float value);
    // Shows a value in an edit ("%.2f") and its spin (integer part).
    void ShowValue(int editId, float value);
    void EnableKindControls();

    wxStaticText* m_pHeading = nullptr;
    CColorButton* m_pSwatch = nullptr;
    wxRadioButton *m_p3D = nullptr, *m_p2D = nullptr, *m_pTexOff = nullptr, *m_pTexOn = nullptr;
    wxButton* m_pTexture = nullptr;
    int m_nKind = 0;     // 0 "3D", 1 "2D"
    int m_nTexture = 0;  // 0 off, 1 on
    int m_bNameGuard = 1;
};
