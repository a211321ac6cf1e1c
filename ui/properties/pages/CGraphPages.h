// The chart pages of the Edit Box: bar, line, pie and area (volume) charts.
// Each edits the selected chart of its kind, every change one undo step, and
// builds a new chart from the new-graph wizard's rows (CreateGraph). The four
// share one page class; each kind lays out its own controls.
#pragma once

#include "ui/properties/pages/CObjectPageDlg.h"
#include "ui/properties/rules/GraphRules.h"

#include <wx/weakref.h>

#include <string>
#include <vector>

class CColorButton;
class CImagePreviewButton;
class CMaterialDlg;
class CNumEdit;
class CNumSpinCtrl;
class CPrivateMessageEvent;
class CKelvanoView;
class pnChart;
class wxCheckBox;
class wxChoice;
class wxFlexGridSizer;
class wxStaticText;

class CGraphPage : public CObjectPageDlg {
public:
    enum {
        IDC_CREATING = 1247, IDC_PICTURE = 1492, IDC_NAME = 1006, IDC_ORIGIN_BAR = 1478, IDC_ORIGIN_LINE = 1484,
        IDC_DIRECTION = 1232, IDC_SPACING = 1046, IDC_SCALE_HT = 1050, IDC_MATERIAL = 1267, IDC_CUT_SHAPE = 1441,
        IDC_WIDTH = 1001, IDC_DEPTH = 1173, IDC_LABEL = 1286, IDC_VALUE = 1296, IDC_LIMIT_BAR = 1177,
        IDC_LIMIT = 1178, IDC_ADD = 1436, IDC_JOINT_SCALE = 1004, IDC_JOINT_SHAPE = 1443, IDC_JOINT_MATERIAL = 1277,
        IDC_START_ANGLE = 1328, IDC_OUTER = 1183, IDC_OUTER_SPIN = 1468, IDC_INNER = 1176, IDC_INNER_SPIN = 1466,
        IDC_PIE_DEPTH = 1190, IDC_PIE_DEPTH_SPIN = 1469, IDC_BEVEL = 1475, IDC_BEVEL_SPIN = 1476,
        IDC_SIDE_FACES = 1071, IDC_AREA_DEPTH = 1203, IDC_AREA_DEPTH_SPIN = 1228,
    };

    int GetGraphType() const { return m_nType; }
    // Fills the page from the selected chart of the page's kind.
    void LoadFromObject(pnObject* object, int flag) override;
    void Lock(bool locked) override;
    // Builds a chart of the page's kind from the wizard's rows (the first
    // count), inserts it into the view's scene as the selection and shows it.
    // The new chart, or null when none could be made.
    pnObject* CreateGraph(const std::string& name, int count, const std::vector<GraphRow>& rows);

    // The file the cut (or joint) shape picture shows.
    const std::string& GetCutPicture() const { return m_strCutPicture; }
    const std::string& GetJointPicture() const { return m_strJointPicture; }

protected:
    CGraphPage(wxWindow* parent, int templateId, int type);
    // Layout helpers for the kinds.
    CNumEdit* AddEdit(const char* caption, int id, float min = 0.0f, float max = -1.0f);
    CNumSpinCtrl* AddSpin(CNumEdit* buddy, int id);
    wxChoice* AddChoice(const char* caption, int id, const std::vector<const char*>& items, int selected);
    CColorButton* AddSwatch(const char* caption, int id);
    CImagePreviewButton* AddShape(const char* caption, int id);
    void AddCheck(const char* caption, int id);
    void AddButtons(const std::vector<std::pair<int, const char*>>& buttons);
    void Finish();

private:
    // The selected chart of the page's kind, or null (no view, no scene, or
    // another kind selected): then handlers do nothing.
    pnChart* Chart() const;
    // Chart() outside animation mode.
    pnChart* EditableChart() const;

    void OnCommit(CPrivateMessageEvent& event);
    void OnSpinReleased(CPrivateMessageEvent& event);
    void OnMaterialChosen(CPrivateMessageEvent& event);
    void OnMaterialModified(CPrivateMessageEvent& event);
    void OnButton(wxCommandEvent& event);
    void OnChoice(wxCommandEvent& event);
    void OnSideFaces();
    void OnShape(bool joint);
    void OnLimitHeight();
    void OnOpenMaterial(int id);
    // A ring field (PieRingField) from a typed value or spin position.
    void ApplyRing(int field, float v);
    void ShowRing();
    void ShowPicture(CImagePreviewButton* button, const std::string& file);
    std::string Text(int id) const;
    void SetText(int id, const char* format, double value);
    // How Spacing and Scale Ht. show their values, loaded or typed.
    const char* SpacingFormat() const;
    const char* ScaleFormat() const;

    int m_nType;
    int m_bCommitName = 1;
    std::string m_strCutPicture;
    std::string m_strJointPicture;
    wxFlexGridSizer* m_pGrid = nullptr;
    wxWeakRef<CMaterialDlg> m_pMaterialDlg;
};

class CBarGraphPage : public CGraphPage {
public:
    explicit CBarGraphPage(wxWindow* parent);
    static constexpr int kTemplate = 131;
};

class CLineGraphPage : public CGraphPage {
public:
    explicit CLineGraphPage(wxWindow* parent);
    static constexpr int kTemplate = 128;
};

class CPieGraphPage : public CGraphPage {
public:
    explicit CPieGraphPage(wxWindow* parent);
    static constexpr int kTemplate = 129;
};

class CAreaGraphPage : public CGraphPage {
public:
    explicit CAreaGraphPage(wxWindow* parent);
    static constexpr int kTemplate = 130;
};
