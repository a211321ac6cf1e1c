#include "ui/properties/pages/CGraphPages.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoView.h"
#include "editor/CViewHost.h"
#include "editor/EditLimits.h"
#include "charts/pnChart.h"
#include "charts/pnPieChart.h"
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "ui/properties/controls/CColorButton.h"
#include "ui/properties/dialogs/CCutShapeDlg.h"
#include "ui/properties/bars/CEditBoxBar.h"
#include "ui/properties/dialogs/CGraphTypeDlg.h"
#include "ui/properties/controls/CImagePreviewButton.h"
#include "ui/properties/dialogs/CLimitHeightDlg.h"
#include "ui/properties/dialogs/CMaterialDlg.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CNumSpinCtrl.h"
#include "ui/properties/controls/CPictureCtrl.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/rules/ControlRules.h"
#include "ui/properties/rules/GraphPageRules.h"
#include "ui/properties/rules/TextRules.h"
#include "ui/properties/controls/LayoutFit.h"
#include "ui/properties/controls/ObjectArt.h"
#include "ui/properties/pages/PageHooks.h"
#include "ui/properties/pages/PageSupport.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/image.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>

namespace {

constexpr int kPictureSide = 36;
const std::vector<const char*> kOrigins(std::begin(kTextOrigins), std::end(kTextOrigins));

wxColour swatch(uint32_t c) { return wxColour(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

}  // namespace

// ---- layout ----

CGraphPage::CGraphPage(wxWindow* parent, int templateId, int type)
    : CObjectPageDlg(parent, templateId), m_nType(type) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* head = new wxBoxSizer(wxHORIZONTAL);
    auto* picture = new CPictureCtrl(this, IDC_PICTURE);
    picture->SetBitmap(CGraphTypeDlg::TypeBitmap(type), kArtMask);
    head->Add(picture, 0, wxRIGHT, 6);
    head->Add(new wxStaticText(this, IDC_CREATING, "Creating"), 0, wxALIGN_CENTER_VERTICAL);
    top->Add(head, 0, wxALL, 4);
    m_pGrid = new wxFlexGridSizer(2, 3, 4);
    top->Add(m_pGrid, 0, wxLEFT | wxRIGHT, 4);
    SetSizer(top);
    pages::NameEdit(layout::FitEdit(AddEdit("Name", IDC_NAME), layout::kNameSample));

    Bind(kvEVT_WM_NUMEDIT_COMMIT, &CGraphPage::OnCommit, this);
    Bind(kvEVT_WM_NUMEDIT_CHANGED, [](CPrivateMessageEvent& e) { e.SetResult(0); });
    Bind(kvEVT_WM_SPIN_RELEASED, &CGraphPage::OnSpinReleased, this);
    Bind(kvEVT_WM_MATERIAL_CHOSEN, &CGraphPage::OnMaterialChosen, this);
    Bind(kvEVT_WM_MATERIAL_MODIFIED, &CGraphPage::OnMaterialModified, this);
    Bind(wxEVT_BUTTON, &CGraphPage::OnButton, this);
    Bind(wxEVT_CHOICE, &CGraphPage::OnChoice, this);
    Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnSideFaces(); }, IDC_SIDE_FACES);
}

CNumEdit* CGraphPage::AddEdit(const char* caption, int id, float min, float max) {
    auto* edit = layout::FitEdit(new CNumEdit(this, id), layout::kNumberSample);
    edit->m_fMin = min;
    edit->m_fMax = max;
    if (max >= min) edit->m_nMode = 1;
    m_pGrid->Add(new wxStaticText(this, wxID_ANY, caption), 0, wxALIGN_CENTER_VERTICAL);
    m_pGrid->Add(edit);
    return edit;
}

CNumSpinCtrl* CGraphPage::AddSpin(CNumEdit* buddy, int id) {
    // The spin goes beside its edit in the edit's cell.
    wxSizerItem* cell = m_pGrid->GetItem(buddy);
    auto* spin = new CNumSpinCtrl(this, id);
    spin->SetRange(0, 1000);
    spin->SetBuddy(buddy);
    if (cell) {
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        m_pGrid->Detach(buddy);
        row->Add(buddy);
        row->Add(spin);
        m_pGrid->Add(row);
    }
    return spin;
}

wxChoice* CGraphPage::AddChoice(const char* caption, int id, const std::vector<const char*>& items, int selected) {
    auto* choice = new wxChoice(this, id);
    for (const char* item : items) choice->Append(item);
    choice->SetSelection(selected);
    m_pGrid->Add(new wxStaticText(this, wxID_ANY, caption), 0, wxALIGN_CENTER_VERTICAL);
    m_pGrid->Add(choice);
    return choice;
}

CColorButton* CGraphPage::AddSwatch(const char* caption, int id) {
    auto* button = new CColorButton(this, id);
    button->SetColor(swatch(0xCCCCCC));
    m_pGrid->Add(new wxStaticText(this, wxID_ANY, caption), 0, wxALIGN_CENTER_VERTICAL);
    m_pGrid->Add(button);
    return button;
}

CImagePreviewButton* CGraphPage::AddShape(const char* caption, int id) {
    const int side = kPictureSide + 2 * CImagePreviewButton::kInset;
    auto* button = new CImagePreviewButton(this, id, wxDefaultPosition, wxSize(side, side));
    m_pGrid->Add(new wxStaticText(this, wxID_ANY, caption), 0, wxALIGN_CENTER_VERTICAL);
    m_pGrid->Add(button);
    return button;
}

void CGraphPage::AddButtons(const std::vector<std::pair<int, const char*>>& buttons) {
    for (const auto& [id, caption] : buttons) {
        m_pGrid->AddSpacer(1);
        m_pGrid->Add(new wxButton(this, id, caption), 0, wxEXPAND);
    }
}

void CGraphPage::AddCheck(const char* caption, int id) {
    m_pGrid->AddSpacer(1);
    m_pGrid->Add(new wxCheckBox(this, id, caption));
}

void CGraphPage::Finish() {
    Layout();
    Lock(IsLocked());
}

CBarGraphPage::CBarGraphPage(wxWindow* parent) : CGraphPage(parent, kTemplate, GRAPH_BAR) {
    AddChoice("Origin", IDC_ORIGIN_BAR, kOrigins, 1);
    AddChoice("Direction", IDC_DIRECTION, {"Left", "Right", "Up", "Down"}, 2);
    AddEdit("Spacing", IDC_SPACING, -kMaxObjectSize, kMaxObjectSize);
    AddEdit("Scale Ht.", IDC_SCALE_HT, -kMaxObjectSize, kMaxObjectSize);
    AddSwatch("Material", IDC_MATERIAL);
    AddShape("Cut Shape", IDC_CUT_SHAPE);
    AddEdit("Width", IDC_WIDTH, 0, 100);
    AddEdit("Depth", IDC_DEPTH, 0, 100);
    AddButtons({{IDC_LABEL, "Label"}, {IDC_VALUE, "Value"}, {IDC_LIMIT_BAR, "Limit Height"}, {IDC_ADD, "Add Column"}});
    Finish();
}

CLineGraphPage::CLineGraphPage(wxWindow* parent) : CGraphPage(parent, kTemplate, GRAPH_LINE) {
    AddChoice("Origin", IDC_ORIGIN_LINE, kOrigins, 1);
    AddEdit("Spacing", IDC_SPACING, -kMaxObjectSize, kMaxObjectSize);
    AddEdit("Scale Ht.", IDC_SCALE_HT, -kMaxObjectSize, kMaxObjectSize);
    AddEdit("Width", IDC_WIDTH, 0, 100)->ChangeValue("1.0");
    AddEdit("Depth", IDC_DEPTH, 0, 100)->ChangeValue("1.0");
    AddSwatch("Material", IDC_MATERIAL);
    AddShape("Cut Shape", IDC_CUT_SHAPE);
    AddEdit("Joint Scale", IDC_JOINT_SCALE, -kMaxObjectSize, kMaxObjectSize)->ChangeValue("1.0");
    AddShape("Joint", IDC_JOINT_SHAPE);
    AddSwatch("Joint Material", IDC_JOINT_MATERIAL);
    AddButtons({{IDC_LABEL, "Label"}, {IDC_VALUE, "Value"}, {IDC_LIMIT, "Limit Height"}, {IDC_ADD, "Add Column"}});
    Finish();
}

CPieGraphPage::CPieGraphPage(wxWindow* parent) : CGraphPage(parent, kTemplate, GRAPH_PIE) {
    AddChoice("Direction", IDC_DIRECTION, {"CW", "CCW"}, 1);
    AddEdit("Start Angle", IDC_START_ANGLE);
    AddSpin(AddEdit("Outer Rad.", IDC_OUTER, 0, 1000), IDC_OUTER_SPIN);
    AddSpin(AddEdit("Inner Rad.", IDC_INNER, 0, 1000), IDC_INNER_SPIN);
    AddSpin(AddEdit("Depth", IDC_PIE_DEPTH, 0, 1000), IDC_PIE_DEPTH_SPIN);
    AddSpin(AddEdit("Bevel", IDC_BEVEL, 0, 500), IDC_BEVEL_SPIN);
    AddSwatch("Material", IDC_MATERIAL);
    AddButtons({{IDC_LABEL, "Label"}, {IDC_VALUE, "Value"}, {IDC_ADD, "Add Slice"}});
    AddCheck("Side Faces", IDC_SIDE_FACES);
    Finish();
}

CAreaGraphPage::CAreaGraphPage(wxWindow* parent) : CGraphPage(parent, kTemplate, GRAPH_AREA) {
    AddChoice("Origin", IDC_ORIGIN_BAR, kOrigins, 1);
    AddEdit("Spacing", IDC_SPACING, -kMaxObjectSize, kMaxObjectSize);
    AddEdit("Scale Ht.", IDC_SCALE_HT, -kMaxObjectSize, kMaxObjectSize);
    AddSpin(AddEdit("Depth", IDC_AREA_DEPTH, 0, 1000), IDC_AREA_DEPTH_SPIN);
    AddSwatch("Material", IDC_MATERIAL);
    AddButtons({{IDC_LABEL, "Label"}, {IDC_VALUE, "Value"}, {IDC_LIMIT, "Limit Height"}, {IDC_ADD, "Add Column"}});
    Finish();
}

// ---- state ----

pnChart* CGraphPage::Chart() const {
    if (!CurrentScene()) return nullptr;
    pnChart* chart = SelectedObjectAs<pnChart>();
    return pnIsKind(chart, GraphKind(m_nType)) ? chart : nullptr;
}

pnChart* CGraphPage::EditableChart() const {
    CKelvanoView* view = CurrentView();
    return view && !view->m_bAnimationMode ? Chart() : nullptr;
}

std::string CGraphPage::Text(int id) const {
    auto* edit = dynamic_cast<wxTextCtrl*>(FindWindow(id));
    return edit ? edit->GetValue().ToStdString(wxConvUTF8) : std::string();
}

void CGraphPage::SetText(int id, const char* format, double value) {
    if (auto* edit = dynamic_cast<wxTextCtrl*>(FindWindow(id))) edit->ChangeValue(wxString::Format(format, value));
}

const char* CGraphPage::SpacingFormat() const { return m_nType == GRAPH_AREA ? "%.02f" : "%.0f"; }
const char* CGraphPage::ScaleFormat() const { return m_nType == GRAPH_AREA ? "%.02f" : "%.3f"; }

void CGraphPage::ShowPicture(CImagePreviewButton* button, const std::string& file) {
    if (!button) return;
    // A stored picture is relative to the program folder.
    std::string path = file;
    const CKelvanoAppState* app = GetAppState();
    if (!path.empty() && path[0] != '/' && app) {
        path = app->GetProgramDir() + "/" + path;
        // A shape stored from elsewhere is shown by its name among ours.
        if (!wxFileExists(wxString::FromUTF8(path)))
            path = app->GetProgramDir() + "/ChartSlices/" + file.substr(file.find_last_of("/\\") + 1);
    }
    button->SetFileName(path);
}

void CGraphPage::ShowRing() {
    const pnChart* pie = Chart();
    if (!pie) return;
    const PieRing ring = GetPieRing(*pie);
    const struct {
        int edit, spin;
        float value, max;
    } fields[] = {{IDC_INNER, IDC_INNER_SPIN, ring.inner, ring.innerSpinMax},
                  {IDC_OUTER, IDC_OUTER_SPIN, ring.outer, 1000},
                  {IDC_PIE_DEPTH, IDC_PIE_DEPTH_SPIN, ring.depth, 1000},
                  {IDC_BEVEL, IDC_BEVEL_SPIN, ring.bevel, ring.bevelSpinMax}};
    for (const auto& f : fields) {
        SetText(f.edit, "%.2f", f.value);
        if (auto* spin = dynamic_cast<CNumSpinCtrl*>(FindWindow(f.spin))) {
            // A ring from a file may hold any float.
            spin->SetRange(0, std::max(0, ClampedInt(f.max)));
            spin->SetValue(ClampedInt(f.value));
        }
    }
}

void CGraphPage::LoadFromObject(pnObject* object, int /*flag*/) {
    pnChart* chart = pnIsKind(object, GraphKind(m_nType)) ? pnKindCast<pnChart>(object) : Chart();
    CKelvanoView* view = CurrentView();
    if (!chart || !view) return;
    const pnScene& scene = *view->GetScene();
    if (auto* name = dynamic_cast<CNumEdit*>(FindWindow(IDC_NAME))) name->ChangeValue(wxString::FromUTF8(chart->getName()));
    if (auto* caption = FindWindow(IDC_CREATING)) caption->SetLabel(GraphTypeCaption(m_nType));
    if (auto* button = dynamic_cast<CColorButton*>(FindWindow(IDC_MATERIAL)))
        button->SetColor(swatch(SwatchColor(scene, chart->getMaterialName())));
    for (int id : {IDC_ORIGIN_BAR, IDC_ORIGIN_LINE})
        if (auto* origin = dynamic_cast<wxChoice*>(FindWindow(id))) origin->SetSelection(chart->getHJust());

    if (m_nType != GRAPH_PIE) {
        SetText(IDC_SPACING, SpacingFormat(), chart->getSpacingDistance());
        SetText(IDC_SCALE_HT, ScaleFormat(), chart->getHeightScale());
    }
    if (m_nType == GRAPH_BAR || m_nType == GRAPH_LINE) {
        SetText(IDC_WIDTH, "%.3f", chart->getBaseScale()[0]);
        SetText(IDC_DEPTH, "%.3f", chart->getBaseScale()[2]);
        m_strCutPicture = PictureOfModel(chart->getFile());
        ShowPicture(dynamic_cast<CImagePreviewButton*>(FindWindow(IDC_CUT_SHAPE)), m_strCutPicture);
    }
    if (m_nType == GRAPH_BAR)
        if (auto* direction = dynamic_cast<wxChoice*>(FindWindow(IDC_DIRECTION)))
            direction->SetSelection(chart->getExpansion());
    if (m_nType == GRAPH_LINE) {
        SetText(IDC_JOINT_SCALE, "%.3f", chart->getJointScale()[0]);
        if (auto* button = dynamic_cast<CColorButton*>(FindWindow(IDC_JOINT_MATERIAL)))
            button->SetColor(swatch(SwatchColor(scene, chart->getJointMaterialName())));
        m_strJointPicture = PictureOfModel(chart->getJointFile());
        ShowPicture(dynamic_cast<CImagePreviewButton*>(FindWindow(IDC_JOINT_SHAPE)), m_strJointPicture);
    }
    if (m_nType == GRAPH_PIE) {
        SetText(IDC_START_ANGLE, "%.0f", static_cast<pnPieChart*>(chart)->getStartAngle());
        if (auto* direction = dynamic_cast<wxChoice*>(FindWindow(IDC_DIRECTION)))
            direction->SetSelection(chart->getRotDirection());
        if (auto* side = dynamic_cast<wxCheckBox*>(FindWindow(IDC_SIDE_FACES))) side->SetValue(chart->getShowSide());
        ShowRing();
    }
    if (m_nType == GRAPH_AREA) {
        SetText(IDC_AREA_DEPTH, "%.02f", chart->getDepth());
        if (auto* spin = dynamic_cast<CNumSpinCtrl*>(FindWindow(IDC_AREA_DEPTH_SPIN)))
            spin->SetValue(ClampedInt(chart->getDepth()));
    }
}

void CGraphPage::Lock(bool locked) {
    CObjectPageDlg::Lock(locked);
    const bool labels = static_cast<bool>(PageHooks::LabelDialog());
    for (wxWindow* child : GetChildren()) {
        if (dynamic_cast<wxStaticText*>(child) || dynamic_cast<CPictureCtrl*>(child)) continue;
        const int id = child->GetId();
        // "Label" and "Value" wait for their dialog.
        child->Enable(!locked && (labels || (id != IDC_LABEL && id != IDC_VALUE)));
    }
}

pnObject* CGraphPage::CreateGraph(const std::string& name, int count, const std::vector<GraphRow>& rows) {
    CKelvanoView* view = CurrentView();
    if (!view || count < 1) return nullptr;
    const std::vector<GraphRow> used(rows.begin(), rows.begin() + std::min<size_t>(rows.size(), count));
    pnObject* made = InsertGraph(*view, m_nType, name, used);
    if (made) LoadFromObject(made, 0);
    return made;
}

// ---- handlers ----

void CGraphPage::OnCommit(CPrivateMessageEvent& event) {
    const int id = static_cast<int>(event.GetWParam());
    pnChart* chart = EditableChart();
    CKelvanoView* view = CurrentView();
    if (!chart || !view) return;
    if (id == IDC_NAME) {
        event.SetResult(CommitNameEdit(dynamic_cast<CNumEdit*>(FindWindow(IDC_NAME)), chart, m_bCommitName,
                                       " is already used!", "Kelvano"));
        return;
    }
    const std::string text = Text(id);
    const float v = static_cast<float>(ParseLeadingFloat(text));
    auto* pie = dynamic_cast<pnPieChart*>(chart);
    struct Field {
        int id;
        const char* format;  // the value held shown back with it
        std::function<float()> get;
        std::function<void()> set;
    };
    const Field fields[] = {
        {IDC_SPACING, SpacingFormat(), [&] { return chart->getSpacingDistance(); },
         [&] { chart->setSpacingDistance(v); }},
        {IDC_SCALE_HT, ScaleFormat(), [&] { return chart->getHeightScale(); }, [&] { chart->setHeightScale(v); }},
        {IDC_WIDTH, "%.3f", [&] { return chart->getBaseScale()[0]; }, [&] { chart->setBaseScaleX(v); }},
        {IDC_DEPTH, "%.3f", [&] { return chart->getBaseScale()[2]; }, [&] { chart->setBaseScaleZ(v); }},
        {IDC_JOINT_SCALE, "%.3f", [&] { return chart->getJointScale()[0]; },
         [&] { chart->setJointScaleXYZ(v, v, v); }},
        {IDC_AREA_DEPTH, "%.02f", [&] { return chart->getDepth(); }, [&] { chart->setDepth(v); }},
        {IDC_START_ANGLE, "%.0f", [&] { return pie ? static_cast<float>(pie->getStartAngle()) : 0.0f; },
         [&] { chart->setStartAngle(ParseLeadingInt(text)); }},
    };
    for (const Field& f : fields) {
        if (f.id != id) continue;
        // An edit that leaves the chart as it stands (Enter, then the focus
        // leaving) records no step.
        const float typed = id == IDC_START_ANGLE ? static_cast<float>(ParseLeadingInt(text)) : v;
        if (typed != f.get()) EditChart(*view, chart, f.set);
        // The field shows what the chart holds, not what was typed ("a" is 0).
        SetText(id, f.format, f.get());
        event.SetResult(1);
        return;
    }
    const struct {
        int edit, spin;
        PieRingField field;
    } rings[] = {{IDC_INNER, IDC_INNER_SPIN, PIE_INNER},
                 {IDC_OUTER, IDC_OUTER_SPIN, PIE_OUTER},
                 {IDC_PIE_DEPTH, IDC_PIE_DEPTH_SPIN, PIE_DEPTH},
                 {IDC_BEVEL, IDC_BEVEL_SPIN, PIE_BEVEL}};
    for (const auto& r : rings)
        if (r.edit == id) {
            ApplyRing(r.field, v);
            event.SetResult(1);
        }
}

void CGraphPage::ApplyRing(int field, float v) {
    pnChart* pie = EditableChart();
    CKelvanoView* view = CurrentView();
    if (!pie || !view) return;
    const PieRing now = GetPieRing(*pie);
    const float current[] = {now.inner, now.outer, now.depth, now.bevel};
    if (field >= PIE_INNER && field <= PIE_BEVEL && v != current[field])
        ApplyPieRing(*view, pie, static_cast<PieRingField>(field), v);
    ShowRing();
}

void CGraphPage::OnSpinReleased(CPrivateMessageEvent& event) {
    pnChart* chart = EditableChart();
    CKelvanoView* view = CurrentView();
    if (!chart || !view) return;
    const float v = static_cast<float>(event.GetLParam());
    switch (event.GetWParam()) {
    case IDC_INNER_SPIN: ApplyRing(PIE_INNER, v); break;
    case IDC_OUTER_SPIN: ApplyRing(PIE_OUTER, v); break;
    case IDC_PIE_DEPTH_SPIN: ApplyRing(PIE_DEPTH, v); break;
    case IDC_BEVEL_SPIN: ApplyRing(PIE_BEVEL, v); break;
    case IDC_AREA_DEPTH_SPIN:
        if (v != chart->getDepth()) EditChart(*view, chart, [&] { chart->setDepth(v); });
        SetText(IDC_AREA_DEPTH, "%.02f", v);
        break;
    default: return;
    }
    event.SetResult(1);
}

void CGraphPage::OnMaterialChosen(CPrivateMessageEvent& event) {
    event.SetResult(1);
    const int id = static_cast<int>(event.GetWParam());
    const bool joint = id == IDC_JOINT_MATERIAL;
    pnChart* chart = Chart();
    CKelvanoView* view = CurrentView();
    if (!chart || !view || (id != IDC_MATERIAL && !joint)) return;
    const int index = static_cast<int>(event.GetLParam());
    if (!SetChartMaterial(*view, chart, index, joint)) {
        event.SetResult(0);
        return;
    }
    if (auto* button = dynamic_cast<CColorButton*>(FindWindow(id)))
        button->SetColor(swatch(SwatchColor(*view->GetScene(), view->GetScene()->getMaterial(index)->getName())));
}

void CGraphPage::OnMaterialModified(CPrivateMessageEvent& event) {
    const int id = static_cast<int>(event.GetWParam());
    pnChart* chart = Chart();
    const int index = static_cast<int>(event.GetLParam());
    const pnScene* scene = CurrentScene();
    const pnMaterial* material =
        scene && index >= 0 && index < scene->getNumMaterials() ? scene->getMaterial(index) : nullptr;
    if (!chart || !material || (id != IDC_MATERIAL && id != IDC_JOINT_MATERIAL)) return;
    const std::string own = id == IDC_JOINT_MATERIAL ? chart->getJointMaterialName() : chart->getMaterialName();
    if (own == material->getName())
        if (auto* button = dynamic_cast<CColorButton*>(FindWindow(id)))
            button->SetColor(swatch(SwatchColor(*scene, own)));
}

void CGraphPage::OnChoice(wxCommandEvent& event) {
    pnChart* chart = EditableChart();
    CKelvanoView* view = CurrentView();
    if (!chart || !view) return;
    const int index = event.GetSelection();
    switch (event.GetId()) {
    case IDC_ORIGIN_BAR:
    case IDC_ORIGIN_LINE: EditChart(*view, chart, [&] { chart->setHJust(index); }); break;
    case IDC_DIRECTION:
        if (m_nType == GRAPH_PIE) EditChart(*view, chart, [&] { chart->setRotDirection(index); });
        else EditChart(*view, chart, [&] { chart->setExpansion(index); });
        break;
    default: break;
    }
}

void CGraphPage::OnSideFaces() {
    pnChart* chart = EditableChart();
    auto* side = dynamic_cast<wxCheckBox*>(FindWindow(IDC_SIDE_FACES));
    if (!chart || !side) return;
    const int on = side->GetValue() ? 1 : 0;
    EditChart(*CurrentView(), chart, [&] { chart->setShowSide(on); });
}

void CGraphPage::OnButton(wxCommandEvent& event) {
    const int id = event.GetId();
    if (id == IDC_MATERIAL || id == IDC_JOINT_MATERIAL) return OnOpenMaterial(id);
    pnChart* chart = EditableChart();
    CKelvanoView* view = CurrentView();
    if (!chart || !view) return;
    switch (id) {
    case IDC_CUT_SHAPE: OnShape(false); break;
    case IDC_JOINT_SHAPE: OnShape(true); break;
    case IDC_LIMIT_BAR:
    case IDC_LIMIT: OnLimitHeight(); break;
    case IDC_ADD:
        if (m_nType == GRAPH_PIE) AddSlice(*view, chart);
        else AddColumn(*view, chart);
        break;
    case IDC_LABEL:
    case IDC_VALUE:
        if (const PageHooks::LabelDialogFn& dialog = PageHooks::LabelDialog()) dialog(this, id == IDC_LABEL ? 1 : 0);
        break;
    default: event.Skip();
    }
}

void CGraphPage::OnOpenMaterial(int id) {
    pnChart* chart = EditableChart();
    if (!chart) return;
    const std::string name = id == IDC_JOINT_MATERIAL ? chart->getJointMaterialName() : chart->getMaterialName();
    // One chooser serves every page of the bar.
    CEditBoxBar* bar = pages::EnclosingEditBoxBar(this);
    wxWeakRef<CMaterialDlg> slot = bar ? bar->GetMaterialDlg() : m_pMaterialDlg.get();
    CMaterialDlg::ShowFor(slot, bar ? static_cast<wxWindow*>(bar) : wxGetTopLevelParent(this), this, id, name);
    if (bar) bar->SetMaterialDlg(slot.get());
    else m_pMaterialDlg = slot.get();
}

void CGraphPage::OnShape(bool joint) {
    pnChart* chart = EditableChart();
    CKelvanoAppState* app = GetAppState();
    if (!chart || !app) return;
    const std::string current = PictureOfModel(joint ? chart->getJointFile() : chart->getFile());
    std::unique_ptr<CCutShapeDlg> dlg;
    if (joint) dlg = std::make_unique<CJointShapeDlg>(this, *app);
    else dlg = std::make_unique<CCutShapeDlg>(this, *app, m_nType == GRAPH_LINE ? 2 : 1);
    dlg->SetInitialFile(current.substr(current.find_last_of("/\\") + 1));
    // OK without a pick (the first picture stands selected when the current
    // shape is none of them) keeps the shape.
    if (dlg->ShowModal() != wxID_OK || !dlg->m_bChosen) return;
    const std::string file = dlg->GetSelectedFile();
    // The chooser may have changed the selection or the scene meanwhile.
    CKelvanoView* view = CurrentView();
    if (file.empty() || !view || EditableChart() != chart) return;
    SetChartShape(*view, chart, app->GetStartDir(), file, joint);
    std::string& picture = joint ? m_strJointPicture : m_strCutPicture;
    picture = PictureOfModel(joint ? chart->getJointFile() : chart->getFile());
    ShowPicture(dynamic_cast<CImagePreviewButton*>(FindWindow(joint ? IDC_JOINT_SHAPE : IDC_CUT_SHAPE)), picture);
}

void CGraphPage::OnLimitHeight() {
    pnChart* chart = EditableChart();
    if (!chart) return;
    CLimitHeightDlg dlg(this, ClampedInt(chart->getDataMax()), ClampedInt(chart->getDataMin()));
    if (dlg.ShowModal() != wxID_OK) return;
    CKelvanoView* view = CurrentView();
    if (view && EditableChart() == chart) LimitHeight(*view, chart, dlg.m_nMin, dlg.m_nMax);
}
