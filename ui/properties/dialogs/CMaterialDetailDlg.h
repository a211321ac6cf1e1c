// The detailed material editor: ambient, diffuse, specular and emission
// colours, shininess and transparency, each with a flag saying whether it is
// given, a palette that sets the hue of the ticked colours, and a live GL
// preview of the material.
#pragma once

#include "ui/properties/rules/ColorEditLogic.h"

#include <wx/dialog.h>

class CColorPaletteCtrl;
class CColorRampCtrl;
class CMaterialPreviewCtrl;
class CNumEdit;
class CPrivateMessageEvent;
class wxCheckBox;

class CMaterialDetailDlg : public wxDialog {
public:
    // template 117 (the first layout set) or 221 (the second).
    CMaterialDetailDlg(int templateId, wxWindow* parent);

    void SetAmbient(float r, float g, float b) { m_logic.SetColor(CMaterialDetailLogic::AMBIENT, r, g, b); }
    void SetDiffuse(float r, float g, float b) { m_logic.SetColor(CMaterialDetailLogic::DIFFUSE, r, g, b); }
    void SetSpecular(float r, float g, float b) { m_logic.SetColor(CMaterialDetailLogic::SPECULAR, r, g, b); }
    void SetEmission(float r, float g, float b) { m_logic.SetColor(CMaterialDetailLogic::EMISSION, r, g, b); }
    const float* GetColor(int component) const { return m_logic.m_raw[component]; }
    void SetShininess(float s) { m_logic.m_fShininess = s; }
    float GetShininess() const { return m_logic.m_fShininess; }
    void SetTransparency(float t) { m_logic.m_fTransparency = t; }
    float GetTransparency() const { return m_logic.m_fTransparency; }
    void SetName(const std::string& name) { m_logic.SetName(name); }
    std::string GetNameString() const { return m_logic.m_strName; }
    // The component flags (CMaterialDetailLogic's slots).
    void SetGiven(int component, int on) { m_logic.m_given[component] = on ? 1 : 0; }
    int GetGiven(int component) const { return m_logic.m_given[component]; }

    int ShowModal() override;

private:
    void Build();
    void ShowState();
    void ReadChecks();
    void OnRamp(CPrivateMessageEvent& event);
    void OnPick(CPrivateMessageEvent& event);
    void OnCommit(CPrivateMessageEvent& event);

    int m_nTemplate;
    CMaterialDetailLogic m_logic;
    CMaterialPreviewCtrl* m_pPreview = nullptr;
    CColorPaletteCtrl* m_pPalette = nullptr;
    CColorRampCtrl* m_ramps[CMaterialDetailLogic::NUM] = {};
    CNumEdit* m_edits[CMaterialDetailLogic::NUM] = {};
    wxCheckBox* m_flags[CMaterialDetailLogic::NUM] = {};
    wxCheckBox* m_targets[4] = {};
    CNumEdit* m_pName = nullptr;
};
