#include "ui/properties/dialogs/CModelSelectDlg.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoView.h"
#include "ui/properties/controls/CImageButton.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/controls/CThumbnailListCtrl.h"
#include "ui/properties/controls/ObjectArt.h"
#include "ui/properties/rules/ObjectRules.h"

#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <fstream>

namespace {

bool readable(const std::string& path) { return std::ifstream(path, std::ios::binary).is_open(); }

// The program never changes its current folder; upper-case extensions count.
bool runFileDialog(wxWindow* parent, const std::string& folder, std::string& path) {
    wxFileDialog dlg(parent, wxFileSelectorPromptStr, wxString::FromUTF8(folder), "",
                     wxString::FromUTF8(DialogWildcard("3ds File (*.3ds; *.obj) |*.3ds; *.obj|")), wxFD_OPEN);
    if (dlg.ShowModal() != wxID_OK) return false;
    path = dlg.GetPath().ToStdString(wxConvUTF8);
    return true;
}

}  // namespace

CModelSelectDlg::CModelSelectDlg(int templateId, wxWindow* parent)
    : wxDialog(parent, templateId, "Model Selection"), m_chooser(runFileDialog) {
    // Fixed places as in the layout: the thumbnails at (12, 40).
    m_pList = new CThumbnailListCtrl;
    m_pList->SetGrid(4, 4);
    m_pList->Create(wxBORDER_NONE, this, 12, 40);
    const int listWidth = m_pList->GetSize().x, bottom = 40 + m_pList->GetSize().y;
    new wxStaticText(this, wxID_ANY, "Name", wxPoint(12, 12));
    m_pName = new wxTextCtrl(this, IDC_NAME, "", wxPoint(60, 6), wxSize(listWidth - 48, -1));
    new wxStaticText(this, wxID_ANY, "File", wxPoint(12, bottom + 14));
    m_pFile = new wxTextCtrl(this, IDC_FILE, "", wxPoint(60, bottom + 8), wxSize(listWidth - 76, -1), wxTE_READONLY);
    auto* browse = new CImageButton(this, IDC_BROWSE, "", wxPoint(listWidth - 10, bottom + 8), wxSize(24, 24));
    browse->SetImage(ObjectArt(26602), 15, 15, kArtMask);
    const int buttons = bottom + 8 + std::max(m_pFile->GetSize().y, 24) + 12;
    auto* ok = new wxButton(this, wxID_OK, "OK", wxPoint(12, buttons));
    new wxButton(this, wxID_CANCEL, "Cancel", wxPoint(listWidth + 12 - ok->GetSize().x, buttons));
    ok->SetDefault();
    SetClientSize(listWidth + 24, buttons + ok->GetSize().y + 12);

    Bind(kvEVT_WM_THUMB_CLICK, &CModelSelectDlg::OnThumbClick, this);
    browse->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Browse(); });
    m_pName->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnNameChange(); });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (CheckName()) EndModal(wxID_OK);
    }, wxID_OK);
}

int CModelSelectDlg::ShowModal() {
    InitDialog();
    return wxDialog::ShowModal();
}

void CModelSelectDlg::InitDialog() {
    if (m_bFilled) return;
    m_bFilled = true;
    const CKelvanoAppState* app = GetAppState();
    const std::string folder = (app ? app->GetProgramDir() : std::string()) + "/Models/";
    for (const char* stock : kStockModelNames) m_pList->AddItem(folder + stock + ".bmp");
    m_pList->SelectIndex(0);
    if (!m_bNameFixed)
        if (CKelvanoView* view = CurrentView()) m_strResultName = view->MakeUniqueObjectName("Model");
    m_strModelPath = ModelPathOfThumbnail(m_pList->GetSelectedName());
    m_nChosen = 0;
    ShowMembers();
}

void CModelSelectDlg::ShowMembers() {
    m_pFile->ChangeValue(wxString::FromUTF8(FileNamePart(m_strModelPath)));
    m_pName->ChangeValue(wxString::FromUTF8(m_strResultName));
}

void CModelSelectDlg::OnThumbClick(CPrivateMessageEvent& event) {
    const std::string picture = m_pList->GetSelectedName();
    if (picture.empty()) return;
    m_strModelPath = ModelPathOfThumbnail(picture);
    m_nChosen = 1;
    ShowMembers();
    if (event.GetWParam() == 1 && IsModal() && CheckName()) EndModal(wxID_OK);
}

void CModelSelectDlg::OnNameChange() {
    if (m_bNameFixed) {
        ShowMembers();
        return;
    }
    const std::string typed = m_pName->GetValue().ToStdString(wxConvUTF8);
    CKelvanoView* view = CurrentView();
    m_strResultName = view && !typed.empty() ? view->MakeUniqueObjectName(typed) : typed;
}

bool CModelSelectDlg::CheckName() {
    if (!m_strResultName.empty()) return true;
    // No object can take an empty name: refused as a taken one is elsewhere.
    wxMessageBox("\"\" is Already used!", "Name duplicated!!", wxOK | wxICON_STOP, this);
    m_pName->SetFocus();
    return false;
}

void CModelSelectDlg::Browse() {
    CKelvanoAppState* app = GetAppState();
    std::string path;
    if (!m_chooser || !m_chooser(this, app ? app->GetModelDir() : std::string(), path)) {
        m_nChosen = 0;
        return;
    }
    // The previous choice stands until a browsed file opens.
    if (!readable(path)) {
        wxMessageBox(wxString::FromUTF8("\"" + path + "\": not found"), "File open error", wxOK | wxICON_STOP, this);
        return;
    }
    m_strModelPath = path;
    if (app) app->SetModelDir(FolderPart(path));
    ShowMembers();
    m_nChosen = 1;
}
