// The Object tab's page of a 3D text: the text, its name, font, size,
// origin, spacing, bevel, width ratio, extrusion, quality, italic, the N and
// W justification, 2D or 3D, material and texture. Every change goes to the
// selected text at once as one undo step.
#pragma once

#include "ui/properties/pages/CObjectPageDlg.h"

#include <wx/weakref.h>

#include <string>
#include <vector>

class CColorButton;
class CNotifyComboBox;
class CNumEdit;
class CNumSpinCtrl;
class CPrivateMessageEvent;
class pnString;
class wxButton;
class wxCheckBox;
class wxChoice;
class wxRadioButton;
class wxSpinEvent;
class wxStaticText;

class CTextPage : public CObjectPageDlg {
public:
    explicit CTextPage(wxWindow* parent, int templateId = kTemplate);
    static constexpr int kTemplate = 114;

    void LoadFromObject(pnObject* object, int flag) override;
    // Builds a text from the text dialog's values under a free name, puts it
    // with its event into the scene as the selection and shows it. The name,
    // or "" when nothing was made.
    std::string CreateText(const std::string& name, const std::string& text, const std::string& face, int size,
                           int italic);
    void SetTextureCheck(bool on);
    void Lock(bool locked) override;

    // The faces the font list holds.
    const std::vector<std::string>& Faces() const { return m_faces; }

    CNumEdit* m_pName = nullptr;
    CNumEdit* m_pText = nullptr;
    wxChoice* m_pFont = nullptr;
    CNotifyComboBox* m_pSize = nullptr;
    wxChoice* m_pOrigin = nullptr;
    CNumEdit* m_pSpacing = nullptr;
    CNumSpinCtrl* m_pSpacingSpin = nullptr;
    CNumEdit* m_pBevelWidth = nullptr;
    CNumSpinCtrl* m_pBevelWidthSpin = nullptr;
    CNumEdit* m_pBevelDepth = nullptr;
    CNumSpinCtrl* m_pBevelDepthSpin = nullptr;
    CNumEdit* m_pRatio = nullptr;
    CNumSpinCtrl* m_pRatioSpin = nullptr;
    CNumEdit* m_pDepth = nullptr;
    CNumSpinCtrl* m_pDepthSpin = nullptr;
    wxChoice* m_pQuality = nullptr;
    wxCheckBox* m_pItalic = nullptr;
    wxCheckBox* m_pNJustCheck = nullptr;
    CNumEdit* m_pNJust = nullptr;
    CNumSpinCtrl* m_pNJustSpin = nullptr;
    wxCheckBox* m_pWJustCheck = nullptr;
    CNumEdit* m_pWJust = nullptr;
    CNumSpinCtrl* m_pWJustSpin = nullptr;
    wxCheckBox* m_p2D = nullptr;
    wxButton* m_pEdgeShadow = nullptr;
    wxRadioButton* m_pTextureOff = nullptr;
    wxRadioButton* m_pTextureOn = nullptr;
    CColorButton* m_pSwatch = nullptr;
    wxButton* m_pTexture = nullptr;
    wxStaticText* m_pHeading = nullptr;
    // Set while the Name edit may be committed.
    int m_bNameGuard = 1;

private:
    pnString* Selected() const;
    // Applies a change to the selected text as one undo step.
    template <typename Change>
    void Bracket(Change change);
    void EnableControls();
    // The edits' ranges and the values shown before a text is loaded.
    void SetEditRanges();
    void ShowDefaults();
    void OnBevelSpin(wxSpinEvent& event);
    void OnFont();
    void OnOrigin();
    void OnQuality();
    void OnSizeChosen();
    void OnItalic();
    void On2D();
    void OnTextureMode(int mode);
    void OnCommit(CPrivateMessageEvent& event);
    void OnChanged(CPrivateMessageEvent& event);
    void OnSpinReleased(CPrivateMessageEvent& event);
    void OnComboCommit(CPrivateMessageEvent& event);
    void OnMaterial(CPrivateMessageEvent& event);
    // Applies a spin's position to the value it stands for.
    void ApplySpin(int id, int position);
    // The N (n true) or W check box: its edit and spin follow it and the
    // value is applied; checking one clears the other.
    void ApplyJust(bool n);
    void OnEdgeShadow();
    void OnSwatch();

    std::vector<std::string> m_faces;
    wxWeakRef<wxWindow> m_materialOwner;
};
