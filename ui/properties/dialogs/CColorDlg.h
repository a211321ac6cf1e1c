// The simple colour editor: a hue-and-whiteness palette, a brightness slider,
// red, green, blue and transparency sliders with their edits, and a name.
// The material chooser opens it for Add and Modify, the background colour
// command for the background (without a name).
#pragma once

#include "ui/properties/rules/ColorEditLogic.h"

#include <wx/dialog.h>

class CColorPaletteCtrl;
class CColorRampCtrl;
class CNumEdit;
class CPrivateMessageEvent;

// A committed edit of a colour editor handed to its rules: a taken name puts
// the suggested one into the edit. What the rules decided, for the dialog to
// show or close on.
template <typename Logic>
EditCommit CommitEditOf(wxDialog& dialog, Logic& logic, CPrivateMessageEvent& event);

class CColorDlg : public wxDialog {
public:
    // template 121 (the first layout set) or 219 (the second).
    CColorDlg(int templateId, wxWindow* parent);

    void SetColor(float r, float g, float b) { m_logic.SetColor(r, g, b); }
    const float* GetColor() const { return m_logic.m_color; }
    void SetTransparency(float t) { m_logic.SetTransparency(t); }
    float GetTransparency() const { return m_logic.m_fTransparency; }
    void SetName(const std::string& name) { m_logic.SetName(name); }
    std::string GetNameString() const { return m_logic.m_strName; }
    void SetMakeUnique(bool on) { m_logic.m_bMakeUnique = on; }
    const CColorDlgLogic& Logic() const { return m_logic; }

    int ShowModal() override;

private:
    void Build();
    void InitControls();
    void ShowState();
    void OnRamp(CPrivateMessageEvent& event);
    void OnPick(CPrivateMessageEvent& event);
    void OnCommit(CPrivateMessageEvent& event);
    void OnOk(wxCommandEvent& event);

    int m_nTemplate;
    CColorDlgLogic m_logic;
    CColorPaletteCtrl* m_pPalette = nullptr;
    CColorRampCtrl* m_ramps[CColorDlgLogic::NUM_SLIDERS] = {};
    CNumEdit* m_edits[CColorDlgLogic::NUM_SLIDERS] = {};
    CNumEdit* m_pName = nullptr;
};

// Places an editor at its parent window's left edge, 200 pixels below its top.
void PlaceEditorBelowParent(wxDialog* dialog);

#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"

template <typename Logic>
EditCommit CommitEditOf(wxDialog& dialog, Logic& logic, CPrivateMessageEvent& event) {
    const int id = static_cast<int>(event.GetWParam());
    auto* edit = dynamic_cast<CNumEdit*>(dialog.FindWindow(id));
    if (!edit) return EditCommit::None;
    std::string suggestion;
    const EditCommit result = logic.OnCommit(id, edit->GetText(), event.GetLParam() == 1, suggestion);
    if (result == EditCommit::NameTaken) {
        edit->Suggest(suggestion);
        logic.m_strName = suggestion;
    }
    return result;
}
