// A view host for headless tests: GL goes to the test's OSMesa context, and
// every other call is recorded; message boxes and file dialogs answer from
// queues the test fills.
#pragma once

#include "app/core/CViewHost.h"

#include <deque>
#include <string>
#include <vector>

class RecordingHost : public CViewHost {
public:
    int MessageBox(const std::string& text, const std::string& caption, int style) override {
        messages.push_back({text, caption, style});
        if (answers.empty()) return KV_IDCANCEL;
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    bool FileDialog(const FileDialogRequest& request, std::string& path) override {
        dialogs.push_back(request);
        if (dialogPaths.empty()) return false;
        path = dialogPaths.front();
        dialogPaths.pop_front();
        return !path.empty();
    }
    void Redraw() override { ++redraws; }
    bool MakeCurrent() override {
        ++makeCurrentCalls;
        return contextAvailable;
    }
    void SwapBuffers() override { ++swaps; }
    void SetTimer(int id, int ms) override { timers.push_back({id, ms}); }
    void KillTimer(int id) override { killedTimers.push_back(id); }
    void SetCursor(ViewCursor cursor) override { cursors.push_back(cursor); }
    void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void SetTitle(const std::string& title) override { titles.push_back(title); }
    void SetSceneSize(int width, int height) override { sceneSizes.push_back({width, height}); }
    CFrameRelays* GetMainFrame() override { return frame; }

    struct Message {
        std::string text, caption;
        int style;
    };
    std::vector<Message> messages;
    std::deque<int> answers;
    std::vector<FileDialogRequest> dialogs;
    std::deque<std::string> dialogPaths;
    int redraws = 0, makeCurrentCalls = 0, swaps = 0;
    bool contextAvailable = true;
    std::vector<std::pair<int, int>> timers;
    std::vector<int> killedTimers;
    std::vector<ViewCursor> cursors;
    std::vector<std::string> statusTexts;
    std::vector<std::string> titles;
    std::vector<std::pair<int, int>> sceneSizes;
    CFrameRelays* frame = nullptr;
};
