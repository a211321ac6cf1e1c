#include "ui/properties/dialogs/CCutShapeDlg.h"

#include "assets/sgModelTable.h"
#include "editor/CKelvanoAppState.h"
#include "ui/properties/controls/CImageButton.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/controls/CThumbnailListCtrl.h"
#include "ui/properties/rules/GraphRules.h"
#include "ui/properties/controls/ObjectArt.h"
#include "ui/properties/rules/ObjectRules.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <fstream>

namespace {

std::string nameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

CCutShapeDlg::CCutShapeDlg(wxWindow* parent, CKelvanoAppState& app, int kind)
    : CCutShapeDlg(parent, app, "Cut Shape", CutShapeNames(kind), 4) {}

CJointShapeDlg::CJointShapeDlg(wxWindow* parent, CKelvanoAppState& app)
    : CCutShapeDlg(parent, app, "Joint Shape", JointShapeNames(), 1) {}

CCutShapeDlg::CCutShapeDlg(wxWindow* parent, CKelvanoAppState& app, const char* title,
                           std::vector<std::string> shapes, int rows)
    : wxDialog(parent, wxID_ANY, title), m_app(app), m_shapes(std::move(shapes)) {
    m_pList = new CThumbnailListCtrl;
    m_pList->SetGrid(4, rows);
    m_pList->Create(wxBORDER_SUNKEN, this, 10, 10);
    m_pList->SetId(IDC_LIST);
    m_pList->SetMinSize(m_pList->GetSize());
    m_pFile = new wxTextCtrl(this, IDC_FILE, "", wxDefaultPosition, wxSize(160, -1));
    auto* browse = new CImageButton(this, IDC_BROWSE, "", wxDefaultPosition, wxSize(24, 24));
    browse->SetImage(ObjectArt(26602), 15, 15, kArtMask);
    auto* file = new wxBoxSizer(wxHORIZONTAL);
    file->Add(new wxStaticText(this, wxID_ANY, "File"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    file->Add(m_pFile, 1, wxRIGHT, 4);
    file->Add(browse);
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(m_pList, 0, wxALL, 10);
    top->Add(file, 0, wxEXPAND | wxLEFT | wxRIGHT, 10);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 10);
    SetSizerAndFit(top);
    Bind(kvEVT_WM_THUMB_CLICK, &CCutShapeDlg::OnThumbClick, this);
    browse->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnBrowse(); });
    m_pFile->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
        m_strResult = m_pFile->GetValue().ToStdString(wxConvUTF8);
        m_bChosen = m_bTyped = true;
    });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOk(); }, wxID_OK);
}

void CCutShapeDlg::OnOk() {
    // A typed name is taken only when it names a file, as the model look-up
    // finds it (beside the scene, in the program folder or its ChartSlices).
    if (m_bTyped && !std::ifstream(sgModelTable::instance().resolve(m_strResult), std::ios::binary).is_open()) {
        wxMessageBox(wxString::FromUTF8("\"" + m_strResult + "\": not found"), "File open error",
                     wxOK | wxICON_ERROR, this);
        m_pFile->SetFocus();
        return;
    }
    EndModal(wxID_OK);
}

int CCutShapeDlg::ShowModal() {
    Fill();
    return wxDialog::ShowModal();
}

void CCutShapeDlg::Fill() {
    if (m_pList->Grid().Count() > 0) return;
    const std::string folder = m_app.GetProgramDir() + "/ChartSlices/";
    for (const std::string& shape : m_shapes) m_pList->AddItem(folder + shape + ".bmp");
    if (m_strInitialFile.empty() || !m_pList->SelectByName(nameOf(m_strInitialFile))) m_pList->SelectIndex(0);
    m_strResult = ShapeModelOfPicture(m_pList->GetSelectedName());
    ShowResult();
}

void CCutShapeDlg::ShowResult() {
    m_pFile->ChangeValue(wxString::FromUTF8(nameOf(m_strResult)));
    m_bTyped = false;
}

void CCutShapeDlg::OnThumbClick(CPrivateMessageEvent& event) {
    const std::string picture = m_pList->GetSelectedName();
    if (picture.empty()) return;
    m_strResult = ShapeModelOfPicture(picture);
    ShowResult();
    m_bChosen = true;
    if (event.GetWParam() == 1 && IsModal()) EndModal(wxID_OK);
}

void CCutShapeDlg::OnBrowse() {
    // The current directory never changes: the dialog starts in the model
    // folder and upper-case extensions count too.
    wxFileDialog dlg(this, wxFileSelectorPromptStr, wxString::FromUTF8(m_app.GetModelDir()), "",
                     wxString::FromUTF8(DialogWildcard("3ds File (*.3ds; *.obj) |*.3ds; *.obj|")), wxFD_OPEN);
    if (dlg.ShowModal() != wxID_OK) {
        m_bChosen = false;
        return;
    }
    const std::string path = dlg.GetPath().ToStdString(wxConvUTF8);
    if (!std::ifstream(path, std::ios::binary).is_open()) {
        wxMessageBox(wxString::FromUTF8("\"" + path + "\": not found"), "File open error", wxOK | wxICON_ERROR, this);
        return;
    }
    // A browsed model keeps its own name and extension.
    m_strResult = path;
    m_app.SetModelDir(wxFileName(dlg.GetPath()).GetPath().ToStdString(wxConvUTF8));
    ShowResult();
    m_bChosen = true;
}
