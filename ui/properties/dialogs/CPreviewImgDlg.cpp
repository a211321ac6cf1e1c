#include "ui/properties/dialogs/CPreviewImgDlg.h"

#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "sg/sgImage.h"
#include "ui/properties/controls/CDibPreviewCtrl.h"
#include "ui/properties/rules/ObjectRules.h"

#include <wx/checkbox.h>
#include <wx/panel.h>
#include <wx/sizer.h>

namespace {

// The "Preview" setting is the current document's (on without a document).
bool previewSetting() {
    const CKelvanoDoc* doc = CurrentDocument();
    return !doc || doc->m_bShowImagePreview != 0;
}

void setPreviewSetting(bool on) {
    if (CKelvanoDoc* doc = CurrentDocument()) doc->m_bShowImagePreview = on ? 1 : 0;
}

// The extra controls: the check box and the picture, following the dialog's
// selection while it is shown.
class PreviewPanel : public wxPanel {
public:
    explicit PreviewPanel(wxWindow* parent) : wxPanel(parent) {
        auto* box = new wxCheckBox(this, CPreviewImgDlg::IDC_PREVIEW, "Preview");
        box->SetValue(previewSetting());
        m_pPicture = new CDibPreviewCtrl(this, CPreviewImgDlg::IDC_PICTURE, wxDefaultPosition, wxSize(128, 96));
        auto* sizer = new wxBoxSizer(wxHORIZONTAL);
        sizer->Add(box, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
        sizer->Add(m_pPicture);
        SetSizerAndFit(sizer);
        box->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) {
            setPreviewSetting(e.IsChecked());
            m_strShown = "\n";
            Follow();
        });
        Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent&) { Follow(); });
    }

private:
    void Follow() {
        wxFileDialog* dlg = nullptr;
        wxWindow* w = GetParent();
        while (w && !(dlg = dynamic_cast<wxFileDialog*>(w))) w = w->GetParent();
        const std::string path = dlg ? dlg->GetCurrentlySelectedFilename().ToStdString(wxConvUTF8) : std::string();
        if (path == m_strShown) return;
        m_strShown = path;
        if (previewSetting() && !path.empty())
            CPreviewImgDlg::ShowFile(m_pPicture, path);
        else
            m_pPicture->Clear();
    }
    CDibPreviewCtrl* m_pPicture;
    std::string m_strShown = "\n";
};

}  // namespace

CPreviewImgDlg::CPreviewImgDlg(wxWindow* parent, const std::string& folder, const std::string& file,
                               const std::string& filter)
    : wxFileDialog(parent, wxFileSelectorPromptStr, wxString::FromUTF8(folder), wxString::FromUTF8(file),
                   wxString::FromUTF8(DialogWildcard(filter)), wxFD_OPEN | wxFD_FILE_MUST_EXIST) {
    SetExtraControlCreator([](wxWindow* p) -> wxWindow* { return new PreviewPanel(p); });
}

bool CPreviewImgDlg::ShowFile(CDibPreviewCtrl* preview, const std::string& path) {
    int components = 3;
    auto image = LoadPreviewImage(path, &components);
    if (!image) {
        preview->Clear();
        return false;
    }
    preview->SetImage(image->width, image->height, image->pixels.data(), components);
    return true;
}
