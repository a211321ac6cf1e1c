// The label/data property dialog (template 119): the text style a chart uses
// for its labels (kind 1) or its data texts (kind 0), with the chart's show
// flag and material of those texts. OK applies it as one undo step of the
// chart and rebuilds every text of the style; Cancel puts back what the edge
// and shadow dialog changed.
#pragma once

#include "ui/properties/rules/ChartDialogRules.h"

#include <wx/dialog.h>
#include <wx/weakref.h>

#include <memory>


class CColorButton;
class CEditScope;
class CMaterialDlg;
class CNotifyComboBox;
class CNumEdit;
class CNumSpinCtrl;
class CPrivateMessageEvent;
class pnChart;
class wxCheckBox;
class wxChoice;
class wxButton;

class CLabelPropertyDlg : public wxDialog {
public:
    enum {
        IDC_SHOW = 1471, IDC_FONT = 1140, IDC_ITALIC = 1060, IDC_ORIGIN = 1478, IDC_SIZE = 1485,
        IDC_SPACING = 1167, IDC_SPACING_SPIN = 1172, IDC_BEVEL_WIDTH = 1182, IDC_BEVEL_WIDTH_SPIN = 1175,
        IDC_BEVEL_HEIGHT = 1187, IDC_BEVEL_HEIGHT_SPIN = 1194, IDC_RATIO = 1214, IDC_RATIO_SPIN = 1219,
        IDC_EXTRUSION = 1470, IDC_EXTRUSION_SPIN = 1226, IDC_QUALITY = 1482, IDC_MATERIAL = 1267,
        IDC_NJUST = 1159, IDC_NJUST_EDIT = 1264, IDC_NJUST_SPIN = 1661, IDC_WJUST = 1165, IDC_WJUST_EDIT = 1281,
        IDC_WJUST_SPIN = 1663, IDC_2D = 1205, IDC_EDGE_SHADOW = 1292,
    };
    // Makes this dialog the one the chart pages' Label and Value buttons open.
    static void InstallPageHook();

    // kind 1: labels, 0: data texts of the document's selected chart. The
    // material chooser is the bar's (slot, made in chooserParent) or its own.
    CLabelPropertyDlg(wxWindow* parent, int kind, wxWeakRef<CMaterialDlg>* slot = nullptr,
                      wxWindow* chooserParent = nullptr);
    ~CLabelPropertyDlg() override;

    int ShowModal() override;
    const LabelPropertyForm& Form() const { return m_form; }

private:
    void Build();
    void ShowForm();
    void ReadForm();
    void Enable2D();
    void EnableJust();
    void OnOk();
    void OnCancel();
    void OnCommit(CPrivateMessageEvent& event);
    void OnComboCommit(CPrivateMessageEvent& event);
    void OnMaterialChosen(CPrivateMessageEvent& event);
    void OnMaterialModified(CPrivateMessageEvent& event);
    void ReleaseChooser();
    CNumEdit* AddSpinEdit(wxSizer* grid, const char* caption, int id, int spinId, int lo, int hi);

    int m_nKind;
    LabelPropertyForm m_form;
    pnChart* m_pChart = nullptr;
    // The dialog's one undo step, open from before the form loads (which may
    // give the chart a style) to OK or Cancel: what the Edge/Shadow button
    // writes at once is part of it.
    std::unique_ptr<CEditScope> m_pStep;
    wxCheckBox *m_pShow = nullptr, *m_pItalic = nullptr, *m_p2D = nullptr, *m_pN = nullptr, *m_pW = nullptr;
    CNotifyComboBox *m_pFont = nullptr, *m_pSize = nullptr, *m_pQuality = nullptr;
    wxChoice* m_pOrigin = nullptr;
    CNumEdit *m_pSpacing = nullptr, *m_pBevelW = nullptr, *m_pBevelH = nullptr, *m_pRatio = nullptr,
             *m_pExtrusion = nullptr, *m_pNEdit = nullptr, *m_pWEdit = nullptr;
    CColorButton* m_pMaterial = nullptr;
    wxButton* m_pEdgeShadow = nullptr;
    wxWeakRef<CMaterialDlg> m_ownChooser;
    wxWeakRef<CMaterialDlg>* m_pChooserSlot;
    wxWindow* m_pChooserParent;
};
