// Proof that the leak suppressions let our own leaks through: a timer handler,
// run by GTK's main loop as every handler of the program is, makes a block
// that is then dropped. The suite expects this program to fail with
// LeakSanitizer's report of that block; it ends well (and the suite reports a
// failure) when the handler never ran, when something else leaks, or when the
// suppressions hide the handler's block.
#include <sanitizer/lsan_interface.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/timer.h>

#include <cstdio>
#include <cstring>

namespace {

struct Record {
    char name[120];
    int value;
};

Record* g_record = nullptr;

__attribute__((noinline)) void makeRecord() {
    g_record = new Record;
    std::strcpy(g_record->name, "made by a handler");
    g_record->value = 1;
}

class LeakApp : public wxApp {
public:
    bool OnInit() override {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "Leak in a handler");
        frame->Show();
        m_timer.Bind(wxEVT_TIMER, [this, frame](wxTimerEvent&) {
            makeRecord();
            frame->Destroy();
            ExitMainLoop();
        });
        m_timer.StartOnce(100);
        return true;
    }

private:
    wxTimer m_timer;
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(LeakApp);

int main(int argc, char** argv) {
    if (wxEntry(argc, argv) != 0 || !g_record) {
        std::fprintf(stderr, "the handler did not run\n");
        return 0;
    }
    // Nothing but the handler's block may leak, and it must be reported once
    // its only pointer is gone.
    if (__lsan_do_recoverable_leak_check() != 0) {
        std::fprintf(stderr, "something other than the handler's block leaks\n");
        return 0;
    }
    g_record = nullptr;
    if (__lsan_do_recoverable_leak_check() == 0) {
        std::fprintf(stderr, "the suppressions hide the handler's leak\n");
        return 0;
    }
    return 1;
}
