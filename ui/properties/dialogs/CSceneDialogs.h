// Two small modal dialogs whose values the view reads after OK: "Safety
// Zone" (a frame inside the view's edges, its margins in percent) and "Scene
// Transformation" (the transform of the whole scene). Numbers are read by
// their leading number, 0 without one.
#pragma once

#include <wx/dialog.h>

#include <string>

class wxCheckBox;
class wxTextCtrl;

class CSafetyZoneDlg : public wxDialog {
public:
    explicit CSafetyZoneDlg(wxWindow* parent);

    void SetHorizontal(float percent);
    void SetVertical(float percent);
    float GetHorizontal() const;
    float GetVertical() const;
    // Shows the values; the percent edits follow "On".
    void OnInitDialog();
    void OnOnClicked();
    bool TransferDataFromWindow() override;

    int m_bOn = 0;
    std::string m_strHorizontal, m_strVertical;
    wxCheckBox* GetOnCheck() const { return m_pOn; }
    wxTextCtrl* GetHorizontalEdit() const { return m_pHorizontal; }
    wxTextCtrl* GetVerticalEdit() const { return m_pVertical; }
    static constexpr int kTemplate = 421;

private:
    wxCheckBox* m_pOn = nullptr;
    wxTextCtrl* m_pHorizontal = nullptr;
    wxTextCtrl* m_pVertical = nullptr;
};

class CSceneTransformDlg : public wxDialog {
public:
    explicit CSceneTransformDlg(wxWindow* parent);

    void SetPosition(float x, float y, float z);
    void SetScale(float x, float y, float z);
    void SetAngle(float angle) { m_fAngle = angle; }
    void SetAxis(float x, float y, float z);
    const float* GetPosition() const { return m_vPosition; }
    const float* GetScale() const { return m_vScale; }
    const float* GetAxis() const { return m_vAxis; }
    float GetAngle() const { return m_fAngle; }

    // Shows the values: position and scale "%.2f", angle and axis "%.3f".
    void OnInitDialog();
    // Position (0, 0, 0), scale (1, 1, 1), angle 0, axis (0, 1, 0), shown.
    void OnReset();
    bool TransferDataFromWindow() override;

    wxTextCtrl* GetEdit(int index) const { return m_pEdits[index]; }
    static constexpr int kTemplate = 316;
    static constexpr int kResetId = 1560;
    // position X, Y, Z, scale X, Y, Z, angle, axis X, Y, Z
    static const int kEditIds[10];

private:
    void ResetValues();
    float m_vPosition[3] = {};
    float m_vScale[3] = {};
    float m_fAngle = 0.0f;
    float m_vAxis[3] = {};
    wxTextCtrl* m_pEdits[10] = {};
};
