// The edge and shadow of flat text: none, a border around each glyph, or a
// copy of the face at an offset, with the back material they are drawn in.
// It edits one text object, or a text style whose back material belongs to
// its owner (a text object, or a chart's labels or data texts).
#pragma once

#include <wx/dialog.h>
#include <wx/weakref.h>

#include <string>

class CColorButton;
class CMaterialDlg;
class CNumEdit;
class CNumSpinCtrl;
class CPrivateMessageEvent;
class pnObject;
class pnStringProperty;
class wxRadioButton;

class CEdgeShadowDlg : public wxDialog {
public:
    explicit CEdgeShadowDlg(wxWindow* parent, int templateId = kTemplate);
    static constexpr int kTemplate = 317;

    void SetTargetObject(pnObject* object) { m_pTargetObject = object; }
    void SetTargetStyle(pnStringProperty* style) { m_pTargetStyle = style; }
    void SetOwnerObject(pnObject* object) { m_pOwnerObject = object; }
    void SetOwnerChart(pnObject* chart) { m_pOwnerChart = chart; }
    // 1: the style is the chart's data texts', 0 its labels'.
    int m_bDataTexts = 0;

    // Reads the target into the controls (the dialog does it when it opens).
    void Open();
    // OK's work: the values by the chosen radio go to the target (and a
    // style's texts are built again). False without a current view.
    bool Apply();
    // The chosen radio: 0 none, 1 edge, 2 shadow.
    int GetKind() const { return m_nKind; }
    void SetKind(int kind);
    const std::string& GetBackMaterial() const { return m_strBackMaterial; }

    wxRadioButton* m_pRadio[3] = {nullptr, nullptr, nullptr};
    CNumEdit* m_pEdit[3] = {nullptr, nullptr, nullptr};  // edge width, offset X, offset Y
    CNumSpinCtrl* m_pSpin[3] = {nullptr, nullptr, nullptr};
    CColorButton* m_pSwatch = nullptr;

private:
    void OnCommit(CPrivateMessageEvent& event);
    void ShowValue(int which, float value);
    void ColorSwatch();
    void EnableForKind();

    pnObject* m_pTargetObject = nullptr;
    pnStringProperty* m_pTargetStyle = nullptr;
    pnObject* m_pOwnerObject = nullptr;
    pnObject* m_pOwnerChart = nullptr;
    int m_nKind = 0;
    std::string m_strOpeningMaterial;
    std::string m_strBackMaterial;
    wxWeakRef<CMaterialDlg> m_materialDlg;
};

// Runs the dialog on a chart's text style (the label dialog's hook).
bool RunStyleEdgeShadowDialog(wxWindow* parent, pnStringProperty* style, pnObject* chart, int dataTexts);
