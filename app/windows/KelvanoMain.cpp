// The program's entry point: wx starts CKelvanoApp.
#include "app/windows/CKelvanoApp.h"

// Made by wxIMPLEMENT_APP_NO_MAIN in CKelvanoApp.cpp.
wxAppConsole* wxCreateApp();

int main(int argc, char** argv) {
    // The application object lives in a library; naming its factory here
    // keeps it in the link and tells wx which object to make.
    wxApp::SetInitializerFunction(wxCreateApp);
    return wxEntry(argc, argv);
}
