// The four "Graph Data" dialogs on the selected chart's selected point: bar
// (template 120), line (321), pie (286) and area (160). The fields are applied
// on OK, only those whose text changed, as one undo step. A dialog whose chart
// or point does not fit closes at once without a change.
#pragma once

#include "ui/properties/rules/ChartDialogRules.h"

#include <wx/dialog.h>
#include <wx/weakref.h>

#include <utility>
#include <vector>

class CColorButton;
class CMaterialDlg;
class CPrivateMessageEvent;
class pnChart;
class wxCheckBox;
class wxTextCtrl;

class CChartDataDlg : public wxDialog {
public:
    enum {
        IDC_LABEL = 1028, IDC_LABEL2 = 1077, IDC_VALUE = 1036, IDC_VALUE2 = 1042,
        IDC_HEIGHT = 1051, IDC_HEIGHT2 = 1062, IDC_SPACING = 1046, IDC_SPACING2 = 1084,
        IDC_MATERIAL = 1239, IDC_JOINT_MATERIAL = 1277, IDC_NDX1 = 1535, IDC_NDX2 = 1536,
        IDC_OFFSET_NDX1 = 1538, IDC_OFFSET_NDX2 = 1540, IDC_DEPTH_CHECK = 1066, IDC_DEPTH = 1173,
    };
    static constexpr int kOffsetIds[2][3] = {{1329, 1347, 1366}, {1378, 1392, 1402}};

    // materialSlot: the property bar's one material chooser, made as a child
    // of materialParent when missing (null: the dialog keeps its own).
    CChartDataDlg(wxWindow* parent, DataDialogKind kind, wxWeakRef<CMaterialDlg>* materialSlot = nullptr,
                  wxWindow* materialParent = nullptr);
    ~CChartDataDlg() override;

    // wxID_CANCEL at once when the chart or point does not fit.
    int ShowModal() override;
    bool IsLoaded() const { return m_bLoaded; }
    const ChartDataForm& Form() const { return m_form; }

private:
    wxTextCtrl* AddEdit(wxWindow* parent, int id, DataField& field);
    void BuildSegment(wxSizer* top);
    void BuildPoint(wxSizer* top);
    CColorButton* AddSwatch(wxSizer* row, const char* caption, int id, const std::string& material);
    void ShowSwatch(int id);
    void OnOk(wxCommandEvent&);
    void OnMaterialButton(int id);
    void OnMaterialChosen(CPrivateMessageEvent& event);
    void OnMaterialModified(CPrivateMessageEvent& event);
    // Lets go of the shared material chooser when the dialog ends.
    void ReleaseChooser();

    DataDialogKind m_kind;
    ChartDataForm m_form;
    pnChart* m_pChart = nullptr;
    bool m_bLoaded = false;
    std::vector<std::pair<wxTextCtrl*, DataField*>> m_edits;
    wxCheckBox* m_pDepthCheck = nullptr;
    wxWeakRef<CMaterialDlg> m_ownChooser;
    wxWeakRef<CMaterialDlg>* m_pChooserSlot;
    wxWindow* m_pChooserParent;
};

// The dialogs by the name each chart kind's dialog has.
template <DataDialogKind Kind>
class CChartKindDataDlg : public CChartDataDlg {
public:
    explicit CChartKindDataDlg(wxWindow* parent, wxWeakRef<CMaterialDlg>* slot = nullptr,
                               wxWindow* chooserParent = nullptr)
        : CChartDataDlg(parent, Kind, slot, chooserParent) {}
};
using CBarDataDlg = CChartKindDataDlg<DataDialogKind::Bar>;
using CLineDataDlg = CChartKindDataDlg<DataDialogKind::Line>;
using CPieDataDlg = CChartKindDataDlg<DataDialogKind::Pie>;
using CAreaDataDlg = CChartKindDataDlg<DataDialogKind::Area>;

// The data dialog of the selected chart's kind, run modally; wxID_CANCEL
// without a chart.
int RunChartDataDialog(wxWindow* parent, wxWeakRef<CMaterialDlg>* slot = nullptr, wxWindow* chooserParent = nullptr);

// A swatch's colour: the material's diffuse colour, grey without one.
void ShowMaterialSwatch(CColorButton* button, const std::string& materialName);
// The shared chooser re-targeted to owner for the button id, on material.
void OpenMaterialChooser(wxWeakRef<CMaterialDlg>& slot, wxWindow* parent, wxWindow* owner, int id,
                         const std::string& material);
// The chooser's material at index (the private messages' lParam), "" for none.
std::string ChosenMaterialName(long index);
