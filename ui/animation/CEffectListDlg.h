// The "Effect List" panel: every effect of the scene, the values of the
// selected one with Apply, and Copy, Delete and Close.
#pragma once

#include "ui/animation/CEffectListModel.h"
#include "ui/animation/EffectFields.h"

#include <wx/panel.h>
#include <wx/weakref.h>

#include <functional>
#include <string>

class CColorButton;
class CMaterialDlg;
class CKelvanoView;
class wxButton;
class wxCheckBox;
class wxListBox;
class wxTextCtrl;

class CEffectListDlg : public wxPanel {
public:
    CEffectListDlg(wxWindow* parent, wxWindowID id);

    void AddEffectName(const std::string& name);
    void RemoveEffectName(const std::string& name);
    void FillFromScene();
    void ClearFields();
    void SelectEffect(int index);
    void OnApply();
    void OnCopy();
    void OnDelete();
    void OnMaterialMessage(int message, int index);
    // Close hides the bar: the frame says how.
    std::function<void()> m_onClose;

    wxListBox* List() const { return m_pList; }
    CEffectFields& Fields() { return m_fields; }
    wxCheckBox* ColorBox() const { return m_pColor; }
    bool IsModified() const { return m_model.AnyChanged(); }
    // What the list holds of the scene; the frame lets it follow the view.
    CEffectListModel& Model() { return m_model; }

private:
    // The list box shows the model's names, nothing selected.
    void ShowNames();
    void ShowSelected();
    // The groups of the selection that changed elsewhere, each field not typed.
    void ShowFollowed(int groups);
    // Apply is enabled while a group is typed for the selection.
    void ShowApplyState();
    void OnText(wxCommandEvent& event);
    void OnButton(wxCommandEvent& event);

    CEffectListModel m_model;
    wxString m_shown[10];
    CEffectFields m_fields;
    wxListBox* m_pList = nullptr;
    wxTextCtrl* m_pName = nullptr;
    wxCheckBox* m_pColor = nullptr;
    CColorButton* m_pSwatch = nullptr;
    wxButton* m_pApply = nullptr;
    wxWeakRef<CMaterialDlg> m_material;
};
