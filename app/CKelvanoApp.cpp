#include "app/CKelvanoApp.h"

#include "editor/AboutLinks.h"
#include "app/CAboutDlg.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "app/CMainFrame.h"
#include "app/CSplashWnd.h"
#include "app/CWxProfile.h"
#include "editor/FramePlacement.h"
#include "editor/KelvanoIds.h"
#include "editor/PictureErrors.h"

#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/stdpaths.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <system_error>

CKelvanoApp::CKelvanoApp() {
    SetAppName("Kelvano");
    SetAppDisplayName("Kelvano");
}

CKelvanoApp::~CKelvanoApp() = default;

bool CKelvanoApp::OnInit() {
    // The file named on the command line is made absolute before anything
    // else, against the folder the user typed it in.
    std::error_code ec;
    const std::string cwd = std::filesystem::current_path(ec).string();
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(argv[i].ToStdString(wxConvUTF8));
    // The toolkit has taken its own options from argv; any other is a mistake.
    const CommandLineRequest request = ParseCommandLine(args);
    if (!request.unknownOption.empty()) {
        const std::string program = wxFileName(argv[0]).GetFullName().ToStdString(wxConvUTF8);
        std::fprintf(stderr, "%s: unknown option \"%s\"\n%s", program.c_str(), request.unknownOption.c_str(),
                     CommandLineUsage(program).c_str());
        return false;
    }
    return InitInstance(args, cwd);
}

bool CKelvanoApp::InitInstance(const std::vector<std::string>& args, const std::string& currentDir) {
    const std::string file = ResolveCommandLinePath(ParseCommandLine(args).file, currentDir);

    // Data folders sit next to the program; the current directory is never changed.
    wxFileName exe(wxStandardPaths::Get().GetExecutablePath());
    InitFolders(exe.GetPath().ToStdString(wxConvUTF8));
    InitSceneServices();
    // A picture reader's report waits until the paint (or command) that read
    // the picture is over, then shows in a box.
    InstallQueuedErrorReporter([this] {
        CallAfter([this] {
            for (const QueuedError& e : TakeQueuedErrors())
                wxMessageBox(wxString::FromUTF8(e.text), wxString::FromUTF8(e.caption), wxOK | wxICON_ERROR,
                             GetTopWindow());
        });
    });

    auto profile = std::make_unique<CWxProfile>(CWxProfile::DefaultFileName());
    std::string settingsFolder;
    if (!SettingsFolderWritable(profile->FileName(), settingsFolder)) {
        // Said once, here, instead of failing writes at every close.
        profile->SetWritable(false);
        wxMessageBox(wxString::FromUTF8(SettingsFolderMessage(settingsFolder)), kv::kAppName,
                     wxOK | wxICON_WARNING);
    }
    m_pProfile = std::move(profile);
    m_recentFiles.ReadList(*m_pProfile);
    FillTemplateTable(SystemPrimaryLanguage());

    m_pDocument = std::make_unique<CKelvanoDoc>(m_pProfile.get());

    m_pMainFrame = new CMainFrame();
    if (!m_pMainFrame->CreateFrame(*m_pProfile)) {
        m_pMainFrame->Destroy();
        m_pMainFrame = nullptr;
        return false;
    }
    SetTopWindow(m_pMainFrame);

    // A first run, or one whose last close did not finish, opens maximised.
    if (m_nStartState != 2) m_nCmdShow = KV_SW_SHOWMAXIMIZED;

    m_pMainFrame->SetTitle(kv::kMainWindowText);
    if (m_nCmdShow == KV_SW_SHOWMAXIMIZED) m_pMainFrame->Maximize(true);
    m_pMainFrame->Show(true);
    // The splash stays in front of the window it announces.
    if (CSplashWnd* splash = CSplashWnd::Current()) splash->Raise();
    m_pMainFrame->FocusView();

    if (!file.empty()) {
        m_strOpenFile = file;
        // The view opens it through its Open command once its window exists.
        CallAfter([this] {
            if (CKelvanoView* view = CurrentView(); view && m_pMainFrame) {
                view->m_bOpenGivenFile = 1;
                m_pMainFrame->RouteCommand(kv::ID_FILE_OPEN);
            }
        });
    }
    return true;
}

int CKelvanoApp::OnExit() {
    if (m_pProfile) {
        m_recentFiles.WriteList(*m_pProfile);
        m_pProfile->Flush();
    }
    m_pDocument.reset();
    m_pProfile.reset();
    return wxApp::OnExit();
}

void CKelvanoApp::OnAssertFailure(const wxChar* file, int line, const wxChar* func, const wxChar* cond,
                                  const wxChar* msg) {
    auto text = [](const wxChar* s) { return s ? wxString(s).ToStdString(wxConvUTF8) : std::string(); };
    std::fprintf(stderr, "kelvano: wx assertion \"%s\" failed in %s() at %s:%d%s%s\n", text(cond).c_str(),
                 text(func).c_str(), text(file).c_str(), line, msg && *msg ? ": " : "", text(msg).c_str());
    std::fflush(stderr);
}

int CKelvanoApp::ModalDialogs::Enter(wxDialog* dialog) {
    m_open.emplace_back(dialog);
    return wxID_NONE;
}

void CKelvanoApp::ModalDialogs::Exit(wxDialog* dialog) {
    for (auto it = m_open.rbegin(); it != m_open.rend(); ++it)
        if (it->get() == dialog) {
            m_open.erase(std::next(it).base());
            break;
        }
}

bool CKelvanoApp::ModalDialogs::Open() const {
    return std::any_of(m_open.begin(), m_open.end(), [](const wxWeakRef<wxDialog>& d) { return d.get() != nullptr; });
}

wxDialog* CKelvanoApp::ModalDialogs::Innermost() const {
    // One standing aside for a nested editor (hidden) is passed over.
    for (auto it = m_open.rbegin(); it != m_open.rend(); ++it)
        if (wxDialog* dialog = it->get(); dialog && dialog->IsShown()) return dialog;
    return nullptr;
}

void CKelvanoApp::AddToRecentFiles(const std::string& path) {
    m_recentFiles.Add(path);
    if (m_pMainFrame) m_pMainFrame->RefreshRecentFiles();
}

void CKelvanoApp::RemoveFromRecentFiles(const std::string& path) {
    for (int i = 0; i < m_recentFiles.GetSize(); ++i)
        if (m_recentFiles.GetEntry(i) == path) {
            m_recentFiles.Remove(i);
            break;
        }
    if (m_pMainFrame) m_pMainFrame->RefreshRecentFiles();
}

bool CKelvanoApp::OnOpenRecentFile(int id) {
    const std::string path = m_recentFiles.GetEntry(id - kv::ID_FILE_MRU_FIRST);
    CKelvanoView* view = CurrentView();
    if (path.empty() || !view || !m_pMainFrame) return true;
    view->m_strPendingOpen = path;
    m_pMainFrame->RouteCommand(kv::ID_FILE_OPEN);
    // A refused Open leaves no path for the next Open to take without asking.
    if (CKelvanoView* still = CurrentView()) still->m_strPendingOpen.clear();
    return true;
}

void CKelvanoApp::OnAppAbout() {
    CAboutDlg dlg(m_pMainFrame);
    dlg.ShowModal();
}

// The program's main() is in KelvanoMain.cpp, so that tests can start the
// same application object under their own main().
wxIMPLEMENT_APP_NO_MAIN(CKelvanoApp);
