#include "ui/properties/dialogs/CModelTextureDlg.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/PictureErrors.h"
#include "scene/pnPanel.h"
#include "ui/properties/controls/CImageButton.h"
#include "ui/properties/dialogs/CPreviewImgDlg.h"
#include "ui/properties/rules/ControlRules.h"
#include "ui/properties/controls/ObjectArt.h"
#include "ui/properties/rules/ObjectRules.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>

#include <algorithm>
#include <fstream>

namespace {

std::string textureDir() {
    const CKelvanoAppState* app = GetAppState();
    return app ? app->m_strTextureDir : std::string();
}

bool runPreviewDialog(wxWindow* parent, const std::string& folder, const std::string& file, const std::string& filter,
                      std::string& path) {
    CPreviewImgDlg dlg(parent, folder, file, filter);
    if (dlg.ShowModal() != wxID_OK) return false;
    path = dlg.GetPath().ToStdString(wxConvUTF8);
    return true;
}

}  // namespace

CModelTextureDlg::CModelTextureDlg(wxWindow* owner, int templateId, int scaleId, int kind)
    : m_model(kind), m_nTemplate(templateId), m_nScaleId(scaleId), m_pOwner(owner) {
    m_chooser = [this](wxWindow* parent, const std::string& folder, const std::string& file, std::string& path) {
        return runPreviewDialog(parent, folder, file, Filter(), path);
    };
}

CModelTextureDlg::~CModelTextureDlg() {
    m_model.m_onClosed = nullptr;
    if (!m_closed) return;
    CKelvanoView* view = CurrentView();
    if (!(view && view->m_bClosingToolWindows)) m_closed();
}

void CModelTextureDlg::SetTextureFile(const std::string& path, int frames) {
    m_model.m_strPath = path;
    m_model.m_nFrames = frames;
}

void CModelTextureDlg::Go() {
    if (m_bGone) return;
    m_bGone = true;
    // The frame forgets the window at once: it may open a new one meanwhile.
    if (m_closed) {
        auto closed = std::move(m_closed);
        m_closed = nullptr;
        closed();
    }
    Hide();
    Destroy();
}

wxTextCtrl* CModelTextureDlg::Edit(int id) const { return dynamic_cast<wxTextCtrl*>(FindWindow(id)); }
wxToggleButton* CModelTextureDlg::Tool(int id) const { return dynamic_cast<wxToggleButton*>(FindWindow(id)); }

bool CModelTextureDlg::Create() {
    if (m_bBuilt) return true;
    wxWindow* owner = m_pOwner;
    if (!wxDialog::Create(owner, m_nTemplate, "Texture", wxDefaultPosition, wxDefaultSize,
                          wxDEFAULT_DIALOG_STYLE))
        return false;
    m_bBuilt = true;
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* file = new wxBoxSizer(wxHORIZONTAL);
    file->Add(new wxStaticText(this, wxID_ANY, "Image file"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    file->Add(new wxTextCtrl(this, IDC_FILE, "", wxDefaultPosition, wxSize(140, -1), wxTE_READONLY), 1);
    auto* browse = new CImageButton(this, IDC_BROWSE, m_nTemplate == 182 ? "..." : "");
    browse->SetImage(ObjectArt(26602), 15, 15, kArtMask);
    file->Add(browse, 0, wxLEFT, 4);
    top->Add(file, 0, wxEXPAND | wxALL, 8);

    auto* wrapping = new wxStaticBoxSizer(wxVERTICAL, this, "Wrapping");
    const wxString maps[] = {"Flat", "Cylindrical", "Spherical", "Reflection"};
    wrapping->Add(m_pWrapping = new wxChoice(this, IDC_WRAPPING, wxDefaultPosition, wxDefaultSize, 4, maps), 0,
                  wxEXPAND);
    BuildExtra(this, wrapping);
    top->Add(wrapping, 0, wxEXPAND | wxLEFT | wxRIGHT, 8);

    auto* mode = new wxStaticBoxSizer(wxHORIZONTAL, this, "Texture Mode");
    mode->Add(m_pTexMode = new wxChoice(this, IDC_TEXMODE), 0, wxRIGHT, 6);
    mode->Add(new wxTextCtrl(this, IDC_FRAMES, "", wxDefaultPosition, wxSize(60, -1), wxTE_PROCESS_ENTER));
    mode->Add(m_pSpin = new wxSpinButton(this, IDC_FRAMES_SPIN), 0, wxALIGN_CENTER_VERTICAL);
    mode->Add(new wxStaticText(this, wxID_ANY, "frames"), 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
    top->Add(mode, 0, wxEXPAND | wxALL, 8);

    auto* mapping = new wxStaticBoxSizer(wxVERTICAL, this, "Mapping");
    auto* uv = new wxBoxSizer(wxHORIZONTAL);
    uv->Add(new wxStaticText(this, wxID_ANY, "U"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
    uv->Add(new wxTextCtrl(this, IDC_U, "", wxDefaultPosition, wxSize(70, -1)));
    uv->Add(new wxStaticText(this, wxID_ANY, "V"), 0, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, 4);
    uv->Add(new wxTextCtrl(this, IDC_V, "", wxDefaultPosition, wxSize(70, -1)));
    mapping->Add(uv);
    auto* tools = new wxBoxSizer(wxHORIZONTAL);
    tools->Add(new wxToggleButton(this, IDC_MOVE, "Move"));
    tools->Add(new wxToggleButton(this, m_nScaleId, "Scale"), 0, wxLEFT, 4);
    tools->Add(new wxToggleButton(this, IDC_ROTATE, "Rotate"), 0, wxLEFT, 4);
    tools->Add(new wxButton(this, IDC_RESET, "Reset"), 0, wxLEFT, 4);
    mapping->Add(tools, 0, wxTOP, 6);
    top->Add(mapping, 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
    top->Add(new wxButton(this, IDC_CLOSE, "Clo&se"), 0, wxALIGN_RIGHT | wxALL, 8);
    SetSizerAndFit(top);

    // The window works on the object selected as it opens, and goes when
    // the view moves on (another selection or scene, an undo step, the mode).
    if (CKelvanoView* view = CurrentView())
        if (pnObject* object = CurrentSelection()) m_model.Open(*view, *object);
    m_model.m_onClosed = [this] { Go(); };

    // Initialisation as the window opens.
    int& wrapMode = m_model.m_nMapping;
    const int original = wrapMode;
    if (wrapMode < 1 || wrapMode > 4) wrapMode = 1;
    m_pWrapping->SetSelection(original >= 1 && original <= 4 ? original - 1 : 0);
    m_pTexMode->Append("Single");
    m_pTexMode->Append("Sequence");
    m_pTexMode->SetSelection(m_model.m_nTexMode == 1 ? 1 : 0);
    if (m_model.m_nFrames < 1) m_model.m_nFrames = 1;
    m_pSpin->SetRange(1, 30000);
    m_pSpin->SetValue(m_model.m_nFrames);
    Edit(IDC_FRAMES)->ChangeValue(wxString::Format("%d", m_model.m_nFrames));
    Edit(IDC_FILE)->ChangeValue(wxString::FromUTF8(FileNamePart(m_model.m_strPath)));
    EnableTextureControls();
    ShowMapping(0, 0);
    Edit(IDC_U)->Enable(false);
    Edit(IDC_V)->Enable(false);
    Edit(IDC_FILE)->SetToolTip(wxString::FromUTF8(FullTexturePath(m_model.m_strPath, textureDir())));
    wrapMode = original;
    InitExtra();
    if (wrapMode < 1 || wrapMode > 4) wrapMode = 1;

    m_pWrapping->Bind(wxEVT_CHOICE, [this](wxCommandEvent& e) { OnWrapping(e.GetSelection()); });
    m_pTexMode->Bind(wxEVT_CHOICE, [this](wxCommandEvent& e) { OnTextureMode(e.GetSelection()); });
    m_pSpin->Bind(wxEVT_SPIN, [this](wxSpinEvent& e) {
        Edit(IDC_FRAMES)->ChangeValue(wxString::Format("%d", e.GetPosition()));
        Apply();
    });
    Edit(IDC_FRAMES)->Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& e) {
        m_model.m_nTexMode = 1;
        m_pTexMode->SetSelection(1);
        e.Skip();
    });
    Edit(IDC_FRAMES)->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { Apply(); });
    Edit(IDC_FRAMES)->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& e) {
        Apply();
        e.Skip();
    });
    for (int id : {IDC_U, IDC_V}) Edit(id)->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnMappingEdited(); });
    for (int id : {int(IDC_MOVE), m_nScaleId, int(IDC_ROTATE)})
        Tool(id)->Bind(wxEVT_TOGGLEBUTTON, [this, id](wxCommandEvent& e) { OnTool(id, e.IsChecked()); });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnReset(); }, IDC_RESET);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Browse(); }, IDC_BROWSE);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnClose(); }, IDC_CLOSE);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { OnClose(); });
    // Escape is Close, as the close box (the window has no Cancel button).
    SetEscapeId(IDC_CLOSE);

    // Left of where it was placed, by its own width.
    wxPoint at = owner ? owner->GetScreenPosition() + wxPoint(owner->GetSize().x / 2, 80) : wxPoint(300, 100);
    at.x = std::max(0, at.x - GetSize().x);
    Move(at);
    Show();
    return true;
}

void CModelTextureDlg::EnableTextureControls() {
    const bool on = !m_model.m_strPath.empty();
    for (int id : {int(IDC_FILE), int(IDC_WRAPPING), int(IDC_TEXMODE), int(IDC_MOVE), m_nScaleId, int(IDC_ROTATE),
                   int(IDC_RESET)})
        if (wxWindow* w = FindWindow(id)) w->Enable(on && (m_bToolsAllowed || id == IDC_FILE || id == IDC_TEXMODE ||
                                                           id == IDC_WRAPPING));
    for (int id : {IDC_FRAMES, IDC_FRAMES_SPIN})
        if (wxWindow* w = FindWindow(id)) w->Enable(on && m_model.m_nTexMode == 1);
}

void CModelTextureDlg::SetToolsAllowed(bool allowed) {
    m_bToolsAllowed = allowed;
    if (!allowed) ClearTools();
    EnableTextureControls();
}

void CModelTextureDlg::ClearTools() {
    for (int id : {int(IDC_MOVE), m_nScaleId, int(IDC_ROTATE)})
        if (wxToggleButton* t = Tool(id)) t->SetValue(false);
    for (auto tool : {CTextureWindowModel::kMove, CTextureWindowModel::kScale, CTextureWindowModel::kRotate})
        m_model.SetTool(tool, false);
    ShowMapping(0, 0);
    Edit(IDC_U)->Enable(false);
    Edit(IDC_V)->Enable(false);
}

void CModelTextureDlg::ShowMapping(float u, float v) {
    m_bGuard = 1;
    Edit(IDC_U)->ChangeValue(wxString::Format("%.4f", u));
    Edit(IDC_V)->ChangeValue(wxString::Format("%.4f", v));
    m_bGuard = 0;
}

int CModelTextureDlg::TypedFrames() const {
    return std::clamp(ParseLeadingInt(Edit(IDC_FRAMES)->GetValue().ToStdString()), 1, 30000);
}

void CModelTextureDlg::ReadFrames() {
    const int frames = TypedFrames();
    m_model.m_nFrames = frames;
    Edit(IDC_FRAMES)->ChangeValue(wxString::Format("%d", frames));
    m_pSpin->SetValue(frames);
}

void CModelTextureDlg::Apply() {
    ReadFrames();
    m_model.Apply();
}

void CModelTextureDlg::OnWrapping(int selection) {
    m_model.m_nMapping = selection + 1;
    Apply();
}

void CModelTextureDlg::OnTextureMode(int selection) {
    m_model.m_nTexMode = selection == 1 ? 1 : 0;
    EnableTextureControls();
    Apply();
}

void CModelTextureDlg::OnTool(int id, bool on) {
    const auto tool = id == IDC_MOVE     ? CTextureWindowModel::kMove
                      : id == IDC_ROTATE ? CTextureWindowModel::kRotate
                                         : CTextureWindowModel::kScale;
    if (Tool(id)) Tool(id)->SetValue(on);
    m_model.SetTool(tool, on);
    if (!on) {
        ShowMapping(0, 0);
        Edit(IDC_U)->Enable(false);
        Edit(IDC_V)->Enable(false);
        return;
    }
    for (int other : {int(IDC_MOVE), m_nScaleId, int(IDC_ROTATE)})
        if (other != id) Tool(other)->SetValue(false);
    Edit(IDC_U)->Enable(true);
    Edit(IDC_V)->Enable(true);
    float u = 0, v = 0;
    m_model.TermsOf(tool, u, v);
    ShowMapping(u, v);
}

void CModelTextureDlg::OnMappingEdited() {
    if (m_bGuard) return;
    const float u = static_cast<float>(ParseLeadingFloat(Edit(IDC_U)->GetValue().ToStdString()));
    const float v = static_cast<float>(ParseLeadingFloat(Edit(IDC_V)->GetValue().ToStdString()));
    m_model.SetTerms(u, v);
}

void CModelTextureDlg::OnReset() {
    if (!m_model.IsOpen()) return;
    m_model.Reset();
    if (Tool(m_nScaleId)->GetValue()) ShowMapping(1, 1);
    else if (Tool(IDC_MOVE)->GetValue()) ShowMapping(0.5f, 0.5f);
    else ShowMapping(0, 0);
}

std::string CModelTextureDlg::MissingFileText(const std::string& path) const { return "\"" + path + "\": not found"; }

std::string CModelTextureDlg::Filter() const {
    return "Texture Image (*.tga; *.bmp; *.jpg; *.png; *.rgb)" + std::string(27, ' ') +
           "|*.tga; *.bmp; *.jpg; *.png; *.rgb|";
}

std::string CPanelTextureDlg::Filter() const {
    return "Texture Image (*.tga; *.bmp; *.jpg; *.png; *.rgb)" + std::string(11, ' ') +
           "|*.tga; *.bmp; *.jpg; *.png; *.rgb|";
}

void CModelTextureDlg::Browse() {
    const std::string dir = textureDir();
    std::string& path = m_model.m_strPath;
    const std::string full = FullTexturePath(path, dir);
    const std::string folder = path.empty() ? dir : FolderPart(full);
    std::string chosen;
    if (!m_chooser || !m_chooser(this, folder, path.empty() ? std::string() : FileNamePart(full), chosen)) {
        EnableTextureControls();
        return;
    }
    const bool panel = dynamic_cast<CPanelTextureDlg*>(this) != nullptr;
    if (!std::ifstream(chosen, std::ios::binary).is_open()) {
        wxMessageBox(wxString::FromUTF8(MissingFileText(chosen)), panel ? "Kelvano" : "File open error",
                     wxOK | wxICON_STOP, this);
        return;
    }
    // A picture that cannot be read is refused: the texture stays as it is.
    std::string refusal;
    if (!CheckPictureFile(chosen, refusal)) {
        wxMessageBox(wxString::FromUTF8(refusal), panel ? "Kelvano" : "File open error", wxOK | wxICON_STOP, this);
        return;
    }
    // Stored under the default texture folder by its relative path, else by
    // its full path: other objects' textures stay where they are.
    path = StoredTexturePath(chosen, dir);
    Edit(IDC_FILE)->ChangeValue(wxString::FromUTF8(FileNamePart(path)));
    Edit(IDC_FILE)->SetToolTip(wxString::FromUTF8(chosen));
    EnableTextureControls();
    Apply();
}

void CModelTextureDlg::OnClose() {
    if (m_bGone) return;
    // Every other change went on the object as it was made; writing them all
    // again would undo what the page changed since (its texture Off).
    if (m_model.IsOpen() && TypedFrames() != m_model.m_nFrames) Apply();
    m_model.Close();
    Go();
}

// ---- the panel's window ----

const int CPanelTextureDlg::kFaceIds[6] = {1063, 1113, 1078, 1085, 1090, 1098};

namespace {
int panelTemplate() {
    const CKelvanoAppState* app = GetAppState();
    return app && app->m_templates.m_iddPanelTexture == 181 ? 181 : 214;
}
}  // namespace

CPanelTextureDlg::CPanelTextureDlg(wxWindow* owner) : CModelTextureDlg(owner, panelTemplate(), IDC_SCALE, 4) {}

wxCheckBox* CPanelTextureDlg::Face(int face) const {
    return face >= 0 && face < 6 ? dynamic_cast<wxCheckBox*>(FindWindow(kFaceIds[face])) : nullptr;
}

void CPanelTextureDlg::SetTextureFile(const std::string& path, int frames, const int faces[6]) {
    CModelTextureDlg::SetTextureFile(path, frames);
    for (int f = 0; f < 6; ++f) m_model.m_faces[f] = faces[f];
    m_bFileSet = true;
}

void CPanelTextureDlg::BuildExtra(wxWindow* parent, wxSizer* sizer) {
    auto* wrap = new wxStaticBoxSizer(wxVERTICAL, parent, "Wrap Mode");
    auto* radios = new wxBoxSizer(wxHORIZONTAL);
    radios->Add(m_pPerFace = new wxRadioButton(parent, IDC_PER_FACE, "Per Face", wxDefaultPosition, wxDefaultSize,
                                               wxRB_GROUP));
    radios->Add(m_pWrap = new wxRadioButton(parent, IDC_WRAP, "Wrapping"), 0, wxLEFT, 8);
    wrap->Add(radios);
    const bool second = GetId() == 181;
    const char* names[6] = {second ? "z" : "Front", second ? "z" : "Back", "Left", "Right", "Top", "Buttom"};
    const int icons[6] = {400, 401, 402, 404, 405, 406};
    auto* faces = new wxFlexGridSizer(3, 4, 8);
    for (int f = 0; f < 6; ++f) {
        auto* one = new wxBoxSizer(wxHORIZONTAL);
        wxImage icon = ObjectArt(icons[f]);
        icon.SetMaskColour(kArtMask.Red(), kArtMask.Green(), kArtMask.Blue());
        one->Add(new wxStaticBitmap(parent, wxID_ANY, wxBitmap(icon)), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 2);
        one->Add(new wxCheckBox(parent, kFaceIds[f], names[f]));
        faces->Add(one);
    }
    wrap->Add(faces, 0, wxTOP, 6);
    sizer->Add(wrap, 0, wxEXPAND | wxTOP, 6);
}

void CPanelTextureDlg::InitExtra() {
    const bool wrapping = m_model.m_nMapping != 0;
    m_model.m_bWrapping = wrapping ? 1 : 0;
    (wrapping ? m_pWrap : m_pPerFace)->SetValue(true);
    int* faces = m_model.m_faces;
    if (wrapping) {
        std::fill(faces, faces + 6, 1);
    } else {
        dynamic_cast<wxChoice*>(FindWindow(IDC_WRAPPING))->SetSelection(0);
        if (m_model.m_strPath.empty() || std::count(faces, faces + 6, 0) == 6) std::fill(faces, faces + 6, 1);
    }
    for (int f = 0; f < 6; ++f) {
        Face(f)->SetValue(faces[f] != 0);
        Face(f)->Bind(wxEVT_CHECKBOX, [this, f](wxCommandEvent& e) { OnFace(f, e.IsChecked()); });
    }
    m_pPerFace->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { OnWrapChoice(false); });
    m_pWrap->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { OnWrapChoice(true); });
    SetToolsAllowed(wrapping);
}

void CPanelTextureDlg::OnWrapChoice(bool wrapping) {
    m_model.m_bWrapping = wrapping ? 1 : 0;
    (wrapping ? m_pWrap : m_pPerFace)->SetValue(true);
    SetToolsAllowed(wrapping);
    Apply();
}

void CPanelTextureDlg::OnFace(int face, bool on) {
    if (face < 0 || face >= 6) return;
    m_model.m_faces[face] = on ? 1 : 0;
    Face(face)->SetValue(on);
    m_model.m_bWrapping = 0;
    m_pPerFace->SetValue(true);
    SetToolsAllowed(false);
    Apply();
}

std::string CPanelTextureDlg::MissingFileText(const std::string& path) const {
    return "The texture image, \"" + path + "\" does not exist.";
}
