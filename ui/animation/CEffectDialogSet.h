// The program's effect dialogs as the view reaches them: the modeless
// "Creating Effect" dialog (mode 1) and "Effect Editor" (mode 2), the modal
// editor of the camera and light effects, and the grow/shrink time setting.
#pragma once

#include "editor/CEffectDialogs.h"

#include <wx/weakref.h>

class CCreateEffectDlg;
class CEffectEditorDlg;
class CKelvanoView;
class wxWindow;

class CEffectDialogSet : public CEffectDialogs {
public:
    CEffectDialogSet(wxWindow* parent, CKelvanoView* view) : m_pParent(parent), m_pView(view) {}
    ~CEffectDialogSet() override;

    bool Open(int mode, const std::string& effectName) override;
    bool IsOpen(int mode) const override;
    void Focus(int mode) override;
    void Destroy(int mode) override;
    void SetMove(int mode, const sgVec3& move) override;
    void SetScale(int mode, const sgVec3& scale) override;
    void SetRotate(int mode, float angle, const sgVec3& axis) override;
    std::string GetPreviewEffectName() override;
    void RevertEffect() override;
    void LoadEffect(const std::string& effectName) override;
    void TakeSavedRotation(float& angle, sgVec3& axis) override;
    void RunModalEditor(const std::string& effectName, int mode) override;
    void RunGrowShrink() override;

    CCreateEffectDlg* Creating() const;
    CEffectEditorDlg* Editor() const;

private:
    wxWindow* m_pParent;
    CKelvanoView* m_pView;
    wxWeakRef<CCreateEffectDlg> m_creating;
    wxWeakRef<CEffectEditorDlg> m_editor;
};
