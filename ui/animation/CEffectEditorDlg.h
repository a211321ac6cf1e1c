// The "Effect Editor": the values of one effect. Mode 0 (modeless, from the
// view's animation-mode editing) shows every value; mode 1 (a light's effect,
// modal) the move and the colour; mode 2 (the camera's, modal) the move only.
// Drags in the view write into the effect at once; Close puts back what the
// effect had when it was loaded (or last applied, here or in another window).
// What it holds of the scene is its CEffectEditorModel, which closes the
// modeless editor when the view moves on.
#pragma once

#include "sg/sgVec.h"
#include "ui/animation/CEffectDialogModels.h"
#include "ui/animation/EffectFields.h"

#include <wx/dialog.h>
#include <wx/weakref.h>

#include <string>

class CColorButton;
class CKelvanoView;
class CMaterialDlg;
class pnEffect;
class wxButton;
class wxCheckBox;
class wxTextCtrl;

class CEffectEditorDlg : public wxDialog {
public:
    CEffectEditorDlg(wxWindow* parent, CKelvanoView* view, int mode, const std::string& effectName);

    // (Re)loads the named effect; false when the scene has no such effect.
    bool LoadEffect(const std::string& effectName);
    // The values of the last load or apply back into the effect (each group
    // only when it changed); the effect is forgotten.
    void RevertEffect();
    void SetMove(const sgVec3& v);
    void SetScale(const sgVec3& v);
    void SetRotate(float angle, const sgVec3& axis);
    // The rotation kept from the load, replaced by the effect's current one.
    void TakeSavedRotation(float& angle, sgVec3& axis);
    void ApplyValues();
    void CloseEditor();

    int Mode() const { return m_nMode; }
    bool IsModified() const { return m_bModified; }
    bool IsColorTicked() const;
    const std::string& EffectName() const { return m_model.EffectName(); }
    const CEffectEditorModel& Model() const { return m_model; }
    CEffectFields& Fields() { return m_fields; }
    // The material chooser picked or changed a colour (as its messages do).
    void OnMaterialMessage(int message, int index);

private:
    pnEffect* Effect() const { return m_model.Effect(); }
    pnScene* Scene() const { return m_model.Scene(); }
    void SetModified(bool on);
    // The colour box and swatch as the effect has them.
    void ShowColor(const pnEffect& effect);
    void OnText(wxCommandEvent& event);
    void OnButton(wxCommandEvent& event);

    CKelvanoView* m_pView;
    int m_nMode;
    CEffectEditorModel m_model;
    std::string m_strColor;
    bool m_bModified = false;
    CEffectFields m_fields;
    wxTextCtrl* m_pName = nullptr;
    wxCheckBox* m_pColor = nullptr;
    CColorButton* m_pSwatch = nullptr;
    wxButton* m_pApply = nullptr;
    wxWeakRef<CMaterialDlg> m_material;
};
