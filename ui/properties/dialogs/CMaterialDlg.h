// The material chooser (caption "Color"): the scene's materials as lit
// spheres, sixteen to a page, with Add, Modify and Delete through the simple
// or the detailed editor. One modeless chooser serves every Material button
// of a property bar; each owner re-targets it with its window and the
// button's id, and hears WM_MATERIAL_CHOSEN and WM_MATERIAL_MODIFIED (wParam
// the button's id, lParam the material's list index).
#pragma once

#include "ui/properties/rules/CMaterialChooserLogic.h"

#include <wx/dialog.h>
#include <wx/weakref.h>

#include <functional>
#include <string>

class CImageButton;
class CMaterialGridCtrl;
class CNumEdit;
class wxRadioButton;

class CMaterialDlg : public wxDialog, private CMaterialChooserUi {
public:
    // What an owner hears besides the private messages (optional).
    using Listener = std::function<void(int message, int controlId, int index)>;

    // templateId 126 (the first layout set) or 220 (the second).
    CMaterialDlg(int templateId, wxWindow* parent);

    // The entry point for owners: the bar's one chooser, kept in slot, is
    // made the first time (child of parent) on the owner's current material
    // and shown; later calls re-target it to the owner and select its
    // material by name. The chooser reports to owner (and listener). The
    // owner of a modal dialog gets a chooser of that dialog, shown modal:
    // the dialog holds the toolkit's input, which a modeless window beside
    // it never gets. ShowFor then returns when the chooser's turn ends.
    static CMaterialDlg* ShowFor(wxWeakRef<CMaterialDlg>& slot, wxWindow* parent, wxWindow* owner, int controlId,
                                 const std::string& materialName, Listener listener = {});

    void SetOwner(wxWindow* owner, int controlId, Listener listener = {});
    void SetCurrentMaterial(int index) { m_logic.SetCurrentMaterial(index); }
    void SelectMaterialByName(const std::string& name, bool redraw);
    CMaterialChooserLogic& Logic() { return m_logic; }
    // Hiding ends a modal chooser's turn too.
    bool Show(bool show = true) override;
    // The window lost activation: the chooser hides (not while it stands
    // aside for a nested editor or a message).
    void OnDeactivate() {
        if (IsShown()) Hide();
    }
    // Enter pressed or let go anywhere in the chooser.
    void OnEnterKey(bool keyUp) { m_logic.OnEnterKey(keyUp); }

private:
    // CMaterialChooserUi
    void HideChooser() override { Hide(); }
    void StepAside() override;
    void ShowChooser() override;
    bool EnterKeyDown() const override;
    bool RunSimpleEditor(MaterialEditValues& values) override;
    bool RunDetailedEditor(MaterialEditValues& values) override;
    void NotifyOwner(int message, int controlId, int index) override;
    void RefreshChooser() override;

    void Build();
    int EditorChoice() const;

    CMaterialChooserLogic m_logic{*this};
    CMaterialGridCtrl* m_pGrid = nullptr;
    CImageButton* m_pPrev = nullptr;
    CImageButton* m_pNext = nullptr;
    CNumEdit* m_pName = nullptr;
    wxRadioButton* m_pSimple = nullptr;
    wxRadioButton* m_pDetailed = nullptr;
    wxWeakRef<wxWindow> m_pOwner;
    Listener m_listener;
};
