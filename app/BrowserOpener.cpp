#include "app/BrowserOpener.h"

#include <wx/process.h>
#include <wx/utils.h>
#include <wx/weakref.h>
#include <wx/window.h>

namespace {

class OpenerProcess : public wxProcess {
public:
    OpenerProcess(wxWindow* guard, std::function<void()> failed) : m_guard(guard), m_failed(std::move(failed)) {}
    void OnTerminate(int /*pid*/, int status) override {
        // The process object ends with the opener, as wx expects of one that
        // is not detached.
        std::function<void()> failed = status != 0 && m_guard ? std::move(m_failed) : nullptr;
        delete this;
        if (failed) failed();
    }

private:
    wxWeakRef<wxWindow> m_guard;
    std::function<void()> m_failed;
};

}  // namespace

void OpenInBrowser(const std::string& url, wxWindow* guard, std::function<void()> failed) {
    auto* process = new OpenerProcess(guard, failed);
    const char* const argv[] = {"xdg-open", url.c_str(), nullptr};
    if (wxExecute(argv, wxEXEC_ASYNC, process) <= 0) {
        // Not started: wx does not call the process object back.
        delete process;
        if (failed) failed();
    }
}
