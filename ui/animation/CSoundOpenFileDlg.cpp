#include "ui/animation/CSoundOpenFileDlg.h"

#include "ui/animation/TimeLineRules.h"
#include "ui/properties/rules/ObjectRules.h"

namespace {
wxString wildcardOf(const wxString& filter) {
    return wxString::FromUTF8(DialogWildcard(filter.ToStdString(wxConvUTF8)));
}
}  // namespace

CSoundOpenFileDlg::CSoundOpenFileDlg(wxWindow* parent, const wxString& title, const wxString& folder,
                                     const wxString& filter)
    : wxFileDialog(parent, title, folder, wxEmptyString, wildcardOf(filter), wxFD_OPEN), m_hook(*this) {
    SetCustomizeHook(m_hook);
}

CSoundOpenFileDlg::~CSoundOpenFileDlg() = default;

void CSoundOpenFileDlg::ListenHook::AddCustomControls(wxFileDialogCustomize& customizer) {
    wxFileDialogButton* listen = customizer.AddButton("&Listen");
    listen->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        ListenToSound(m_dialog.GetCurrentlySelectedFilename().ToStdString(wxConvUTF8));
    });
}
