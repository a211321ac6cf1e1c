// The open dialog for wave files, with a "&Listen" button that plays the
// selected file once and leaves the dialog open.
#pragma once

#include <wx/filedlg.h>
#include <wx/filedlgcustomize.h>

class CSoundOpenFileDlg : public wxFileDialog {
public:
    // filter in the program's form ("Sound File (*.wav) |*.wav|").
    CSoundOpenFileDlg(wxWindow* parent, const wxString& title, const wxString& folder, const wxString& filter);
    ~CSoundOpenFileDlg() override;

private:
    class ListenHook : public wxFileDialogCustomizeHook {
    public:
        explicit ListenHook(CSoundOpenFileDlg& dialog) : m_dialog(dialog) {}
        void AddCustomControls(wxFileDialogCustomize& customizer) override;

    private:
        CSoundOpenFileDlg& m_dialog;
    };
    ListenHook m_hook;
};
