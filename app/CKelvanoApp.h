// The application object: start-up, the profile, the recent-file list and the
// one document. Windows and dialogs reach it as theApp.
#pragma once

#include "editor/CKelvanoAppState.h"
#include "editor/CRecentFileList.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/weakref.h>

#include <memory>
#include <string>
#include <vector>

class CKelvanoDoc;
class CMainFrame;
class CProfile;

class CKelvanoApp : public wxApp, public CKelvanoAppState {
public:
    CKelvanoApp();
    ~CKelvanoApp() override;

    bool OnInit() override;
    int OnExit() override;
    // A failed wx assertion is written to standard error and the program goes
    // on: the toolkit's modal box would stop the user's work, and a second
    // assertion while it shows ends the program.
    void OnAssertFailure(const wxChar* file, int line, const wxChar* func, const wxChar* cond,
                         const wxChar* msg) override;

    // The start-up steps on given arguments (without the program name) and
    // the folder the program was started from; OnInit runs them on the real
    // command line. False ends the program.
    bool InitInstance(const std::vector<std::string>& args, const std::string& currentDir);

    void AddToRecentFiles(const std::string& path) override;
    void RemoveFromRecentFiles(const std::string& path) override;
    // Runs the view's Open command on recent-file entry id - first id.
    bool OnOpenRecentFile(int id);
    void OnAppAbout();

    // Whether a modal dialog runs now (shown, or its ShowModal begun): the
    // main window then takes no command, view key, click or drop, as each may
    // open a dialog of its own, and a modal loop ended under another one
    // never returns.
    bool ModalDialogOpen() const { return m_modalDialogs.Open(); }
    // The innermost modal dialog shown now, else nullptr: what opens while it
    // runs (a message box) is its child.
    wxDialog* InnermostModalDialog() const { return m_modalDialogs.Innermost(); }

    CProfile* GetProfile() const { return m_pProfile.get(); }
    CRecentFileList& RecentFiles() { return m_recentFiles; }
    CMainFrame* GetMainFrame() const { return m_pMainFrame; }
    void MainFrameDestroyed() { m_pMainFrame = nullptr; }

    int m_nCmdShow = 1;  // the show command of the main window (KV_SW_...)

private:
    // Every ShowModal, message and file dialogs included, reports its start
    // and end here.
    class ModalDialogs : public wxModalDialogHook {
    public:
        ModalDialogs() { Register(); }
        ~ModalDialogs() override { Unregister(); }
        int Enter(wxDialog* dialog) override;
        void Exit(wxDialog* dialog) override;
        bool Open() const;
        wxDialog* Innermost() const;

    private:
        std::vector<wxWeakRef<wxDialog>> m_open;  // outermost first
    };

    ModalDialogs m_modalDialogs;
    std::unique_ptr<CProfile> m_pProfile;
    std::unique_ptr<CKelvanoDoc> m_pDocument;
    CRecentFileList m_recentFiles{5};
    CMainFrame* m_pMainFrame = nullptr;
};

wxDECLARE_APP(CKelvanoApp);

// The one application object, as the rest of the program names it.
#define theApp (wxGetApp())
