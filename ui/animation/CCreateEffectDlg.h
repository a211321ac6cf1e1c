// "Creating Effect": a new effect for the selected object's event, or new
// values for an effect the scene has. A drag of the object while it is open
// previews through a temporary effect ("istempeffect" and a number) that OK
// and Cancel take out of the scene again. What it holds of the scene is its
// CCreateEffectModel, which cancels it when the view moves on.
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
class CNumEdit;
class CPrivateMessageEvent;
class pnEffect;
class wxCheckBox;
class wxListBox;
class wxTextCtrl;

class CCreateEffectDlg : public wxDialog {
public:
    CCreateEffectDlg(wxWindow* parent, CKelvanoView* view);
    ~CCreateEffectDlg() override;
    // The creation dialog on the screen, if any.
    static CCreateEffectDlg* OpenDialog();

    void SetMove(const sgVec3& v);
    void SetScale(const sgVec3& v);
    void SetRotate(float angle, const sgVec3& axis);
    // The temporary effect's name (made, and put in the scene, when needed).
    std::string PreviewEffectName();
    void SelectListEntry(int index);
    void RemoveListName(const std::string& name);
    // OK and Cancel; false when OK stays open.
    bool OnOK();
    void OnCancel();
    void OnCopy();
    void OnDelete();
    void OnMaterialMessage(int message, int index);

    CEffectFields& Fields() { return m_fields; }
    wxCheckBox* FlagBox(int group) const { return m_flags[group]; }
    wxCheckBox* ColorBox() const { return m_pColor; }
    CNumEdit* NameEdit() const { return m_pName; }
    wxListBox* List() const { return m_pList; }
    const pnEffect* TempEffect() const { return m_model.PreviewIfMade(); }
    const CCreateEffectModel& Model() const { return m_model; }

private:
    struct Saved {
        std::string name, color;
        wxString texts[10];
        bool flags[4] = {false, false, false, false};
    };
    pnScene* Scene() const { return m_model.Scene(); }
    void ShowListed(const pnEffect& effect);
    void SaveNewEffectView();
    void RestoreNewEffectView();
    void ApplyFlagged(pnEffect& effect, const std::string& color) const;
    void OnText(wxCommandEvent& event);
    void OnButton(wxCommandEvent& event);
    void OnCommit(CPrivateMessageEvent& event);

    CKelvanoView* m_pView;
    CCreateEffectModel m_model;
    std::string m_strNewColor;
    std::string m_strListedColor;
    bool m_bShowingExisting = false;
    Saved m_saved;
    CEffectFields m_fields;
    wxTextCtrl* m_pObject = nullptr;
    CNumEdit* m_pName = nullptr;
    wxCheckBox* m_flags[3] = {};
    wxCheckBox* m_pColor = nullptr;
    CColorButton* m_pSwatch = nullptr;
    wxListBox* m_pList = nullptr;
    wxWeakRef<CMaterialDlg> m_material;
};
