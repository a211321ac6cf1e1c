#include "ui/properties/dialogs/CMaterialDlg.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "scene/pnScene.h"
#include "ui/properties/dialogs/CColorDlg.h"
#include "ui/properties/controls/CImageButton.h"
#include "ui/properties/dialogs/CMaterialDetailDlg.h"
#include "ui/properties/controls/CMaterialGridCtrl.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"

#include <wx/button.h>
#include <wx/utils.h>
#include <wx/sizer.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include <algorithm>

namespace {

enum {
    ID_PREV = 1369, ID_NEXT = 1380, ID_OK = 1519, ID_CANCEL = 1520, ID_ADD = 1395, ID_MODIFY = 1405,
    ID_DELETE = 1413, ID_SIMPLE = 1419, ID_DETAILED = 1424, ID_NAME = 1740, ID_STATIC = 1523,
};

// The page arrows: a black triangle on the mask colour RGB(0, 128, 128).
wxImage arrowImage(bool right) {
    wxImage image(30, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) {
            const int dx = right ? x - 10 : 19 - x;  // 0 at the base, 9 at the tip
            const bool in = dx >= 0 && dx <= 9 && std::abs(y - 10) <= (9 - dx) * 6 / 9;
            if (in) image.SetRGB(x, y, 0, 0, 0);
            else image.SetRGB(x, y, 0, 128, 128);
        }
    return image;
}

int colorTemplate() {
    CKelvanoAppState* app = GetAppState();
    return app && app->m_templates.m_iddColor ? app->m_templates.m_iddColor : 121;
}

int detailTemplate() {
    CKelvanoAppState* app = GetAppState();
    return app && app->m_templates.m_iddMaterialDetail ? app->m_templates.m_iddMaterialDetail : 117;
}

}  // namespace

CMaterialDlg::CMaterialDlg(int, wxWindow* parent) : wxDialog(parent, wxID_ANY, "Color") {}

CMaterialDlg* CMaterialDlg::ShowFor(wxWeakRef<CMaterialDlg>& slot, wxWindow* parent, wxWindow* owner, int controlId,
                                    const std::string& materialName, Listener listener) {
    CKelvanoAppState* app = GetAppState();
    pnScene* scene = CurrentScene();
    if (!scene) return nullptr;
    auto* dialog = owner ? dynamic_cast<wxDialog*>(wxGetTopLevelParent(owner)) : nullptr;
    wxDialog* modalOwner = dialog && dialog->IsModal() ? dialog : nullptr;
    if (modalOwner) {
        if (slot && slot->IsModal()) return slot.get();
        // A chooser of another window (the bar's) cannot be modal on this
        // dialog: it lets go of its owner and the dialog gets its own.
        if (slot && slot->GetParent() != modalOwner) {
            slot->SetOwner(nullptr, 0);
            slot->Hide();
            slot = nullptr;
        }
        parent = modalOwner;
    }
    if (!slot) {
        const int tpl = app->m_templates.m_iddMaterial ? app->m_templates.m_iddMaterial : 126;
        auto* dlg = new CMaterialDlg(tpl, parent);
        dlg->SetOwner(owner, controlId, std::move(listener));
        dlg->SetCurrentMaterial(scene->findMaterialIndex(materialName.c_str()));
        dlg->Build();
        slot = dlg;
    } else {
        slot->SetOwner(owner, controlId, std::move(listener));
        slot->SelectMaterialByName(materialName, false);
    }
    if (modalOwner) slot->ShowModal();
    else slot->Show();
    return slot.get();
}

bool CMaterialDlg::Show(bool show) {
    if (!show && IsModal()) EndModal(wxID_CANCEL);
    return wxDialog::Show(show);
}

void CMaterialDlg::StepAside() {
    // A modal chooser keeps its turn (and its modal loop) while hidden.
    if (IsModal()) wxTopLevelWindow::Show(false);
    else Hide();
}

void CMaterialDlg::ShowChooser() {
    if (IsModal()) wxTopLevelWindow::Show(true);
    else Show();
}

bool CMaterialDlg::EnterKeyDown() const { return wxGetKeyState(WXK_RETURN) || wxGetKeyState(WXK_NUMPAD_ENTER); }

void CMaterialDlg::SetOwner(wxWindow* owner, int controlId, Listener listener) {
    m_pOwner = owner;
    m_listener = std::move(listener);
    m_logic.SetOwner(owner != nullptr || m_listener != nullptr, controlId);
}

void CMaterialDlg::SelectMaterialByName(const std::string& name, bool redraw) {
    m_logic.SelectMaterialByName(name);
    if (redraw && m_pGrid) m_pGrid->Redraw();
}

void CMaterialDlg::Build() {
    // The grid keeps its 160 x 160 pixels.
    m_pGrid = new CMaterialGridCtrl(this, wxID_ANY, wxDefaultPosition, m_logic);
    m_pGrid->SetMinSize(wxSize(160, 160));
    m_pPrev = new CImageButton(this, ID_PREV, "");
    m_pNext = new CImageButton(this, ID_NEXT, "");
    m_pPrev->SetImage(arrowImage(false), 30, 20, wxColour(0, 128, 128));
    m_pNext->SetImage(arrowImage(true), 30, 20, wxColour(0, 128, 128));
    for (CImageButton* b : {m_pPrev, m_pNext}) {
        const wxSize best = b->GetBestSize();
        b->SetInitialSize(wxSize(std::max(40, best.x), std::max(26, best.y)));
    }
    auto* pages = new wxBoxSizer(wxHORIZONTAL);
    pages->Add(m_pPrev, 0, wxALIGN_CENTER_VERTICAL);
    pages->Add(new wxStaticText(this, ID_STATIC, ""), 1, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, 4);
    pages->Add(m_pNext, 0, wxALIGN_CENTER_VERTICAL);
    auto* right = new wxBoxSizer(wxVERTICAL);
    auto button = [this](int id, const char* caption) {
        auto* b = new wxButton(this, id, caption);
        b->SetMinSize(wxSize(std::max(90, b->GetBestSize().x), -1));
        return b;
    };
    right->Add(button(ID_OK, "OK"), 0, wxEXPAND | wxBOTTOM, 4);
    right->Add(button(ID_CANCEL, "Cancel"), 0, wxEXPAND | wxBOTTOM, 8);
    auto* edit = new wxStaticBoxSizer(wxVERTICAL, this, " Edit Material ");
    edit->Add(button(ID_ADD, "Add"), 0, wxEXPAND | wxALL, 2);
    edit->Add(button(ID_MODIFY, "Modify"), 0, wxEXPAND | wxALL, 2);
    edit->Add(button(ID_DELETE, "Delete"), 0, wxEXPAND | wxALL, 2);
    m_pSimple = new wxRadioButton(this, ID_SIMPLE, "Simple", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    m_pDetailed = new wxRadioButton(this, ID_DETAILED, "Detailed");
    edit->Add(m_pSimple, 0, wxALL, 2);
    edit->Add(m_pDetailed, 0, wxALL, 2);
    right->Add(edit, 0, wxEXPAND);
    auto* name = new wxBoxSizer(wxHORIZONTAL);
    name->Add(new wxStaticText(this, wxID_ANY, "Name"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    m_pName = new CNumEdit(this, ID_NAME, "", wxDefaultPosition, wxSize(120, -1));
    m_pName->m_nMode = 2;
    name->Add(m_pName, 1, wxALIGN_CENTER_VERTICAL);
    auto* left = new wxBoxSizer(wxVERTICAL);
    left->Add(m_pGrid);
    left->Add(pages, 0, wxEXPAND | wxTOP, 6);
    left->Add(name, 0, wxEXPAND | wxTOP, 6);

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(left, 0, wxALL, 10);
    top->Add(right, 0, wxTOP | wxRIGHT | wxBOTTOM, 10);
    SetSizerAndFit(top);

    CKelvanoDoc* doc = CurrentDocument();
    (doc && doc->m_nMaterialEditor == 0 ? m_pSimple : m_pDetailed)->SetValue(true);

    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { m_logic.PreviousPage(); }, ID_PREV);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { m_logic.NextPage(); }, ID_NEXT);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { m_logic.Choose(); }, ID_OK);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Hide(); }, ID_CANCEL);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { m_logic.Add(EditorChoice()); }, ID_ADD);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { m_logic.Modify(EditorChoice()); }, ID_MODIFY);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { m_logic.Delete(); }, ID_DELETE);
    auto choice = [this](wxCommandEvent&) {
        if (CKelvanoDoc* current = CurrentDocument()) current->m_nMaterialEditor = EditorChoice();
    };
    Bind(wxEVT_RADIOBUTTON, choice, ID_SIMPLE);
    Bind(wxEVT_RADIOBUTTON, choice, ID_DETAILED);
    // The name edit's commit does nothing here.
    Bind(kvEVT_WM_NUMEDIT_COMMIT, [](CPrivateMessageEvent& e) { e.SetResult(1); });
    // Escape is Cancel, as the close box.
    SetEscapeId(ID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& e) {
        if (e.CanVeto()) Hide();
        else e.Skip();
    });
    Bind(wxEVT_ACTIVATE, [this](wxActivateEvent& e) {
        if (!e.GetActive()) OnDeactivate();
        e.Skip();
    });
    // One Enter press chooses once: the key goes down once (however many
    // characters it makes), and its release only ends the press.
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& e) {
        if (e.GetKeyCode() == WXK_RETURN || e.GetKeyCode() == WXK_NUMPAD_ENTER) OnEnterKey(false);
        else e.Skip();
    });
    auto keyUp = [this](wxKeyEvent& e) {
        if (e.GetKeyCode() == WXK_RETURN || e.GetKeyCode() == WXK_NUMPAD_ENTER) OnEnterKey(true);
        e.Skip();
    };
    Bind(wxEVT_KEY_UP, keyUp);
    for (wxWindow* child : GetChildren()) child->Bind(wxEVT_KEY_UP, keyUp);
    RefreshChooser();
}

int CMaterialDlg::EditorChoice() const { return m_pDetailed && m_pDetailed->GetValue() ? 1 : 0; }

bool CMaterialDlg::RunSimpleEditor(MaterialEditValues& v) {
    CColorDlg dlg(colorTemplate(), GetParent());
    dlg.SetColor(v.diffuse[0], v.diffuse[1], v.diffuse[2]);
    dlg.SetTransparency(v.alpha);
    dlg.SetName(v.name);
    if (dlg.ShowModal() != wxID_OK) return false;
    for (int i = 0; i < 3; ++i) v.diffuse[i] = dlg.GetColor()[i];
    v.alpha = dlg.GetTransparency();
    v.name = dlg.GetNameString();
    return true;
}

bool CMaterialDlg::RunDetailedEditor(MaterialEditValues& v) {
    CMaterialDetailDlg dlg(detailTemplate(), GetParent());
    dlg.SetAmbient(v.ambient[0], v.ambient[1], v.ambient[2]);
    dlg.SetDiffuse(v.diffuse[0], v.diffuse[1], v.diffuse[2]);
    dlg.SetSpecular(v.specular[0], v.specular[1], v.specular[2]);
    dlg.SetEmission(v.emission[0], v.emission[1], v.emission[2]);
    dlg.SetShininess(v.shininess);
    dlg.SetTransparency(v.alpha);
    dlg.SetName(v.name);
    const int slots[MaterialEditValues::NUM] = {CMaterialDetailLogic::AMBIENT, CMaterialDetailLogic::DIFFUSE,
                                                CMaterialDetailLogic::SPECULAR, CMaterialDetailLogic::EMISSION,
                                                CMaterialDetailLogic::SHININESS, CMaterialDetailLogic::TRANSPARENCY};
    for (int i = 0; i < MaterialEditValues::NUM; ++i) dlg.SetGiven(slots[i], v.flags[i]);
    if (dlg.ShowModal() != wxID_OK) return false;
    float* colours[4] = {v.ambient, v.diffuse, v.specular, v.emission};
    for (int c = 0; c < 4; ++c)
        for (int i = 0; i < 3; ++i) colours[c][i] = dlg.GetColor(c)[i];
    v.shininess = dlg.GetShininess();
    v.alpha = dlg.GetTransparency();
    for (int i = 0; i < MaterialEditValues::NUM; ++i) v.flags[i] = dlg.GetGiven(slots[i]);
    v.name = dlg.GetNameString();
    return true;
}

void CMaterialDlg::NotifyOwner(int message, int controlId, int index) {
    if (m_pOwner) SendPrivateMessage(m_pOwner, message, controlId, index);
    if (m_listener) m_listener(message, controlId, index);
}

void CMaterialDlg::RefreshChooser() {
    if (!m_pGrid) return;
    m_pName->ChangeValue(wxString::FromUTF8(m_logic.m_strName));
    m_pPrev->Enable(m_logic.CanGoBack());
    m_pNext->Enable(m_logic.CanGoOn());
    m_pGrid->Redraw();
}
