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
        if (request.options) {
            shownOptions.push_back(*request.options);
            if (!optionAnswers.empty()) {
                *request.options = optionAnswers.front();
                optionAnswers.pop_front();
            }
        }
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
    void ShowProgress(const std::string& caption, int minPos, int maxPos) override {
        progressCaptions.push_back(caption);
        progressRange = {minPos, maxPos};
        progressOpen = true;
    }
    void SetProgressPos(int pos) override { progressPositions.push_back(pos); }
    void SetProgressText(const std::string& text) override { progressTexts.push_back(text); }
    void CloseProgress() override { progressOpen = false; }

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
    std::vector<ExportDialogOptions> shownOptions;
    std::deque<ExportDialogOptions> optionAnswers;
    std::vector<std::string> progressCaptions, progressTexts;
    std::vector<int> progressPositions;
    std::pair<int, int> progressRange{0, 0};
    bool progressOpen = false;
};
