// The program's entry point: --help is answered first, then wx starts
// CKelvanoApp.
#include "editor/CKelvanoAppState.h"
#include "app/CKelvanoApp.h"

#include <cstdio>
#include <string>
#include <vector>

// Made by wxIMPLEMENT_APP_NO_MAIN in CKelvanoApp.cpp.
wxAppConsole* wxCreateApp();

int main(int argc, char** argv) {
    std::string program = argc > 0 && argv[0] ? argv[0] : "kelvano";
    program = program.substr(program.find_last_of('/') + 1);
    const CommandLineRequest request = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    // Answered on any terminal, before a display is opened. Options the
    // program does not know are named once the toolkit has taken its own
    // (--display and the like), in CKelvanoApp::OnInit.
    if (request.help) {
        std::fputs(CommandLineUsage(program).c_str(), stdout);
        return 0;
    }
    // The application object lives in a library; naming its factory here
    // keeps it in the link and tells wx which object to make.
    wxApp::SetInitializerFunction(wxCreateApp);
    return wxEntry(argc, argv);
}
