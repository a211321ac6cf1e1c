#include "ui/properties/pages/CModelPage.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoView.h"
#include "scene/pnModel.h"
#include "ui/properties/controls/CColorButton.h"
#include "ui/properties/controls/CImageButton.h"
#include "ui/properties/dialogs/CModelSelectDlg.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/controls/ObjectArt.h"
#include "ui/properties/rules/ObjectRules.h"
#include "ui/properties/pages/PageSupport.h"

#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <fstream>
#include <memory>

namespace {
std::string programDir() {
    const CKelvanoAppState* app = GetAppState();
    return app ? app->GetProgramDir() : std::string();
}
}  // namespace

CModelPage::CModelPage(wxWindow* parent) : CObjectPageDlg(parent, kTemplate) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    m_pHeading = pages::AddHeading(this, top, IDC_PICTURE, 141, IDC_HEADING);
    auto* grid = new wxFlexGridSizer(3, 4, 6);
    grid->Add(new wxStaticText(this, wxID_ANY, "Name"), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(pages::NameEdit(new CNumEdit(this, IDC_NAME, "", wxDefaultPosition, wxSize(130, -1))));
    grid->AddSpacer(0);
    grid->Add(new wxStaticText(this, wxID_ANY, "File"), 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(m_pFile = new wxTextCtrl(this, IDC_FILE, "", wxDefaultPosition, wxSize(130, -1), wxTE_READONLY));
    auto* browse = new CImageButton(this, IDC_BROWSE, "...");
    browse->SetImage(ObjectArt(26602), 15, 15, kArtMask);
    grid->Add(browse, 0, wxALIGN_CENTER_VERTICAL);
    top->Add(grid, 0, wxALL, 6);
    auto* material = new wxBoxSizer(wxHORIZONTAL);
    material->Add(new wxStaticText(this, wxID_ANY, "Material"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    material->Add(m_pSwatch = new CColorButton(this, IDC_MATERIAL));
    top->Add(material, 0, wxALL, 6);
    auto* texture = new wxBoxSizer(wxHORIZONTAL);
    texture->Add(m_pTexOff = new wxRadioButton(this, IDC_TEX_OFF, "Off", wxDefaultPosition, wxDefaultSize, wxRB_GROUP));
    texture->Add(m_pTexOn = new wxRadioButton(this, IDC_TEX_ON, "On"), 0, wxLEFT, 8);
    texture->Add(new wxButton(this, IDC_TEXTURE, "&Texture"), 0, wxLEFT, 8);
    top->Add(texture, 0, wxALL, 6);
    SetSizer(top);

    Bind(kvEVT_WM_NUMEDIT_COMMIT, &CModelPage::OnCommit, this);
    pages::BindMaterialMessages(this, m_pSwatch, [this]() -> pnObject* { return Model(); });
    Bind(wxEVT_BUTTON, &CModelPage::OnButton, this);
    Bind(wxEVT_RADIOBUTTON, &CModelPage::OnButton, this);
}

CNumEdit* CModelPage::GetNameEdit() const { return dynamic_cast<CNumEdit*>(FindWindow(IDC_NAME)); }

pnModel* CModelPage::Model() const { return SelectedObjectAs<pnModel>(); }

void CModelPage::LoadFromObject(pnObject* object, int) {
    auto* model = dynamic_cast<pnModel*>(object);
    if (!model) return;
    GetNameEdit()->ChangeValue(wxString::FromUTF8(model->getName()));
    m_pFile->ChangeValue(wxString::FromUTF8(FileNamePart(model->getFile())));
    m_pSwatch->SetColor(pages::SwatchColour(model));
    m_pHeading->SetLabel("Model");
    SetTextureCheck(!model->getTexture().empty() && model->getMode() != 0);
}

void CModelPage::SetTextureCheck(bool on) {
    m_nTexture = on ? 1 : 0;
    (on ? m_pTexOn : m_pTexOff)->SetValue(true);
}

void CModelPage::Lock(bool locked) {
    CObjectPageDlg::Lock(locked);
    for (int id : {IDC_NAME, IDC_MATERIAL, IDC_BROWSE, IDC_FILE, IDC_TEXTURE, IDC_TEX_OFF, IDC_TEX_ON})
        FindWindow(id)->Enable(!locked);
}

bool CModelPage::ReadableModel(CKelvanoView& view, const std::string& stored, const std::string& path) {
    CViewHost* host = view.GetHost();
    if (host) host->MakeCurrent();
    if (pnModel::readable(stored)) return true;
    if (host)
        host->MessageBox("\"" + path + "\" is not a model file.", "File open error", KV_MB_OK | KV_MB_ICONERROR);
    return false;
}

pnModel* CModelPage::CreateModel(const std::string& name, const std::string& path) {
    CKelvanoView* view = CurrentView();
    if (!view) return nullptr;
    const std::string stored = StripProgramDir(path, programDir(), false);
    if (!ReadableModel(*view, stored, path)) return nullptr;
    auto made = std::make_unique<pnModel>();
    made->setName(name.c_str());
    made->setFileName(stored.c_str());
    auto* model = static_cast<pnModel*>(view->InsertNewObject(std::move(made)));
    if (model) LoadFromObject(model, 0);
    return model;
}

int CModelPage::ChangeModelFile(const std::string& path) {
    pnModel* model = Model();
    if (!model) return 0;
    if (!std::ifstream(path, std::ios::binary).is_open()) {
        wxMessageBox(wxString::FromUTF8("\"" + path + "\": not found"), "File open error", wxOK | wxICON_STOP, this);
        return 0;
    }
    const std::string stored = StripProgramDir(path, programDir(), true);
    CKelvanoView* view = CurrentView();
    if (!view || !ReadableModel(*view, stored, path)) return 0;
    pages::Change(model, [&] { model->setFileName(stored.c_str()); });
    m_pFile->ChangeValue(wxString::FromUTF8(FileNamePart(model->getFile())));
    return 1;
}

void CModelPage::OnCommit(CPrivateMessageEvent& event) {
    pnModel* model = Model();
    if (!model || event.GetWParam() != IDC_NAME) return;
    if (CommitNameEdit(GetNameEdit(), model, m_bNameGuard, " is already used!", "Kelvano"))
        GetNameEdit()->SetInsertionPoint(0);
}

void CModelPage::OnButton(wxCommandEvent& event) {
    pnModel* model = Model();
    CKelvanoView* view = CurrentView();
    if (!model || !view) return;
    switch (event.GetId()) {
    case IDC_BROWSE: {
        const CKelvanoAppState* app = GetAppState();
        const int tpl = app && app->m_templates.m_iddModelSelect ? app->m_templates.m_iddModelSelect : 156;
        CModelSelectDlg dlg(tpl, this);
        dlg.SetName(model->getName());
        dlg.SetNameFixed(true);
        // OK without a pick (the first picture stands selected) keeps the model.
        if (dlg.ShowModal() == wxID_OK && dlg.GetChosen()) ChangeModelFile(dlg.GetFilePath());
        break;
    }
    case IDC_MATERIAL: pages::OpenMaterialChooser(this, IDC_MATERIAL, model); break;
    case IDC_TEX_OFF:
    case IDC_TEX_ON:
        m_nTexture = event.GetId() == IDC_TEX_ON ? 1 : 0;
        pages::Change(model, [&] { model->setMode(m_nTexture); });
        break;
    case IDC_TEXTURE:
        if (!view->m_bAnimationMode) view->ShowModelTextureDialog();
        break;
    default: event.Skip(); break;
    }
}
