// The "Transformation" bar: ten numeric edits with spin arrows for the
// selected object's position, scale, rotation angle and axis. A committed
// edit (or a spin let go) applies its field to the selection in one undo
// step; the edits then show the object as it is.
#pragma once

#include "ui/properties/rules/BarRules.h"

#include <wx/panel.h>

#include <string>

class CNumEdit;
class CNumSpinCtrl;
class CPrivateMessageEvent;
class pnObject;

class CTransformDlg : public wxPanel {
public:
    explicit CTransformDlg(wxWindow* parent);

    void LoadFromObject(const pnObject* object);
    void DisableEdits();
    void EnableEdits();
    bool IsEnabledFlag() const { return m_bEnabled; }
    // Shows texts the view formatted (position, scale, then angle and axis).
    void SetFieldTexts(int firstField, const std::string* texts, int count);

    CNumEdit* GetEdit(int field) const { return m_pEdits[field]; }
    CNumSpinCtrl* GetSpin(int field) const { return m_pSpins[field]; }
    static constexpr int kTemplate = 125;

private:
    void OnCommit(CPrivateMessageEvent& event);
    void OnSpinReleased(CPrivateMessageEvent& event);
    void Apply(int field);
    void ReloadSelected();

    CNumEdit* m_pEdits[kTransformFieldCount] = {};
    CNumSpinCtrl* m_pSpins[kTransformFieldCount] = {};
    bool m_bEnabled = true;
};

// The bar that holds the panel.
class CTransformBar : public wxPanel {
public:
    CTransformBar(wxWindow* parent, int id);
    CTransformDlg* GetDialog() const { return m_pDialog; }

private:
    CTransformDlg* m_pDialog = nullptr;
};
