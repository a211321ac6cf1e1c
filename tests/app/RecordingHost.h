// A view host for headless tests: GL goes to the test's OSMesa context, and
// every other call is recorded; message boxes and file dialogs answer from
// queues the test fills.
#pragma once

#include "editor/CViewHost.h"
#include "export/CMovieHost.h"

#include <algorithm>
#include <array>
#include <deque>
#include <tuple>
#include <functional>
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
    void CenterCursor() override { ++centeredCursor; }
    void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void SetTitle(const std::string& title) override { titles.push_back(title); }
    void SetSceneSize(int width, int height) override { sceneSizes.push_back({width, height}); }
    void CaptureMouse() override { ++captures; }
    void ReleaseMouse() override { ++releases; }
    CFrameRelays* GetMainFrame() override { return frame; }
    void ShowProgress(const std::string& caption, int minPos, int maxPos, ProgressPlace place) override {
        progressCaptions.push_back(caption);
        progressPlaces.push_back(place);
        progressRange = {minPos, maxPos};
        progressOpen = true;
    }
    void SetProgressPos(int pos) override { progressPositions.push_back(pos); }
    void SetProgressText(const std::string& text) override { progressTexts.push_back(text); }
    void CloseProgress() override { progressOpen = false; }
    // Answers from compressorAnswers (false: cancel); none queued cancels.
    bool ChooseAviCompressor(AviCompressOptions& options) override {
        compressorShown.push_back(options);
        if (compressorAnswers.empty()) return false;
        const auto [ok, choice] = compressorAnswers.front();
        compressorAnswers.pop_front();
        if (ok) options = choice;
        return ok;
    }
    // The size and options dialogs: the queued answer (false: cancel).
    bool ImageSizeDialog(int& width, int& height, int& constrain) override {
        imageSizeShown.push_back({width, height, constrain});
        if (imageSizeAnswers.empty()) return false;
        const std::array<int, 3> a = imageSizeAnswers.front();
        imageSizeAnswers.pop_front();
        width = a[0], height = a[1], constrain = a[2];
        return true;
    }
    bool EditOptionsDialog(int& offsetX, int& offsetY) override {
        if (offsetAnswers.empty()) return false;
        std::tie(offsetX, offsetY) = offsetAnswers.front();
        offsetAnswers.pop_front();
        return true;
    }
    std::vector<std::array<int, 3>> imageSizeShown;
    std::deque<std::array<int, 3>> imageSizeAnswers;
    std::deque<std::pair<int, int>> offsetAnswers;

    void RunChartDialog(ChartDialog which) override {
        chartDialogs.push_back(which);
        if (duringChartDialog) duringChartDialog(which);
    }
    void TrackPopupMenu(int popup, int x, int /*y*/) override { popups.push_back({popup, x}); }
    void LaunchBrowser(const std::string& url, std::function<void()> failed) override {
        browserUrls.push_back(url);
        if (!browserStarts) failed();
    }
    bool RunPrint(bool preview) override {
        printPreviews.push_back(preview);
        if (duringPrint) duringPrint();
        return true;
    }
    bool ColorDialog(ColorDialogRequest& request) override {
        colorRequests.push_back(request);
        if (duringColorDialog) duringColorDialog();
        if (colorAnswers.empty()) return false;
        request = colorAnswers.front();
        colorAnswers.pop_front();
        return true;
    }

    // The scene dialogs answer from their queues (none queued: Cancel).
    bool SceneTransformDialog(SceneTransformRequest& request) override {
        transformShown.push_back(request);
        if (transformAnswers.empty()) return false;
        request = transformAnswers.front();
        transformAnswers.pop_front();
        return true;
    }
    bool SafetyZoneDialog(SafetyZoneRequest& request) override {
        safetyShown.push_back(request);
        if (safetyAnswers.empty()) return false;
        request = safetyAnswers.front();
        safetyAnswers.pop_front();
        return true;
    }

    struct Message {
        std::string text, caption;
        int style;
    };
    std::vector<Message> messages;
    std::deque<int> answers;
    std::vector<FileDialogRequest> dialogs;
    std::deque<std::string> dialogPaths;
    int centeredCursor = 0;
    int redraws = 0, makeCurrentCalls = 0, swaps = 0, captures = 0, releases = 0;
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
    std::vector<ProgressPlace> progressPlaces;
    std::vector<int> progressPositions;
    std::pair<int, int> progressRange{0, 0};
    bool progressOpen = false;
    std::vector<AviCompressOptions> compressorShown;
    std::deque<std::pair<bool, AviCompressOptions>> compressorAnswers;
    std::vector<ColorDialogRequest> colorRequests;
    std::deque<ColorDialogRequest> colorAnswers;
    std::function<void()> duringColorDialog;  // what the event loop does meanwhile
    std::vector<SceneTransformRequest> transformShown;
    std::deque<SceneTransformRequest> transformAnswers;
    std::vector<SafetyZoneRequest> safetyShown;
    std::deque<SafetyZoneRequest> safetyAnswers;

    std::vector<ChartDialog> chartDialogs;
    std::function<void(ChartDialog)> duringChartDialog;  // what the dialog does before it closes
    std::vector<std::pair<int, int>> popups;  // popup, x
    std::vector<std::string> browserUrls;
    bool browserStarts = true;
    std::vector<bool> printPreviews;
    std::function<void()> duringPrint;
};

// The main frame's relays, each call written down as "Name(arguments)".
class RecordingFrame : public CFrameRelays {
public:
    void UpdateTimeLineEventRow(const std::string& n) override { log("UpdateTimeLineEventRow", n); }
    void RebuildTimeLineRows() override { log("RebuildTimeLineRows"); }
    void RebuildEventTree() override { log("RebuildEventTree"); }
    void SelectEventTreeItem(const std::string& n) override { log("SelectEventTreeItem", n); }
    void SelectTimeLineEvent(const std::string& n) override { log("SelectTimeLineEvent", n); }
    int ApplyEventTreeOrder() override { return log("ApplyEventTreeOrder"), 0; }
    void RemoveEventTreeEffectItem(const std::string& e, int index) override {
        log("RemoveEventTreeEffectItem", e + "," + std::to_string(index));
    }
    void AddEffectListName(const std::string& n) override { log("AddEffectListName", n); }
    void RemoveEffectListName(const std::string& n) override { log("RemoveEffectListName", n); }
    int AddObjectListItem(const std::string& n) override { return log("AddObjectListItem", n), 1; }
    int RemoveObjectListItem(const std::string& n) override { return log("RemoveObjectListItem", n), 1; }
    int SelectObjectListItem(const std::string& n, int on) override {
        return log("SelectObjectListItem", n + "," + std::to_string(on)), 1;
    }
    int SelectObjectListIndex(int index, int on) override {
        return log("SelectObjectListIndex", std::to_string(index) + "," + std::to_string(on)), 1;
    }
    int RenameObjectListItem(const std::string& a, const std::string& b) override {
        return log("RenameObjectListItem", a + "," + b), 1;
    }
    void ClearObjectList() override {
        log("ClearObjectList");
        chooserNames.clear();
        chooserShown.clear();
    }
    void ShowViewWidthBar(int show, float) override { log("ShowViewWidthBar", std::to_string(show)); }
    void SetPanelPageTextureCheck(int on) override { log("SetPanelPageTextureCheck", std::to_string(on)); }
    void SetTextPageTextureCheck(int on) override { log("SetTextPageTextureCheck", std::to_string(on)); }
    void SetModelPageTextureCheck(int on) override { log("SetModelPageTextureCheck", std::to_string(on)); }
    void UpdateBarsForMode(bool animation, const std::string& first) override {
        log("UpdateBarsForMode", std::to_string(animation) + "," + first);
    }
    // The chooser as the tool bar's control keeps it: a name it does not
    // hold selects nothing.
    void AddObjectChooserName(const std::string& n) override {
        log("AddObjectChooserName", n);
        chooserNames.push_back(n);
    }
    void SelectObjectChooserName(const std::string& n) override {
        log("SelectObjectChooserName", n);
        if (std::find(chooserNames.begin(), chooserNames.end(), n) != chooserNames.end()) chooserShown = n;
    }
    void RemoveObjectChooserName(const std::string& n) override {
        log("RemoveObjectChooserName", n);
        chooserNames.erase(std::remove(chooserNames.begin(), chooserNames.end(), n), chooserNames.end());
        if (chooserShown == n) chooserShown.clear();
    }
    void SelectObjectChooserIndex(int i) override {
        log("SelectObjectChooserIndex", std::to_string(i));
        chooserShown = i >= 0 && i < int(chooserNames.size()) ? chooserNames[i] : std::string();
    }
    void OpenTextureWindow(int kind) override { log("OpenTextureWindow", std::to_string(kind)); }
    int HasPropertyBar() override { return propertyBar; }
    void ShowObjectPage(int page, pnObject*, int flag) override {
        log("ShowObjectPage", std::to_string(page) + "," + std::to_string(flag));
    }
    int ShowTextureWindowValues(float a, float b) override {
        textureValues = {a, b};
        return log("ShowTextureWindowValues"), 1;
    }
    void SetTransformPosition(const std::string& x, const std::string& y, const std::string& z) override {
        log("SetTransformPosition", x + "," + y + "," + z);
    }
    void SetTransformScale(const std::string& x, const std::string& y, const std::string& z) override {
        log("SetTransformScale", x + "," + y + "," + z);
    }
    void SetTransformRotation(const std::string& a, const std::string& x, const std::string& y,
                              const std::string& z) override {
        log("SetTransformRotation", a + "," + x + "," + y + "," + z);
    }
    int RefreshLightPage(int keep) override { return log("RefreshLightPage", std::to_string(keep)), 0; }
    void ReloadCameraPage() override { log("ReloadCameraPage"); }
    void ShowCameraPage() override { log("ShowCameraPage"); }
    void UpdateEventTreeEffects(const std::string& n) override { log("UpdateEventTreeEffects", n); }
    void UpdateTimeLineEventRowAndSelect(const std::string& n, const std::string& e) override {
        log("UpdateTimeLineEventRowAndSelect", n + "," + e);
    }
    void SetTimeLinePlaying(int on) override { log("SetTimeLinePlaying", std::to_string(on)); }
    void SetCameraPresetView(int on) override { log("SetCameraPresetView", std::to_string(on)); }
    void UnlockTransformEdits() override { log("UnlockTransformEdits"); }
    void LockTransformEdits() override { log("LockTransformEdits"); }

    // The calls of one relay, arguments only.
    std::vector<std::string> callsOf(const std::string& name) const {
        std::vector<std::string> out;
        for (const auto& [n, a] : calls)
            if (n == name) out.push_back(a);
        return out;
    }
    std::vector<std::pair<std::string, std::string>> calls;
    std::vector<std::string> chooserNames;
    std::string chooserShown;
    int propertyBar = 1;
    std::pair<float, float> textureValues{0.0f, 0.0f};

private:
    void log(const std::string& name, const std::string& args = std::string()) { calls.push_back({name, args}); }
};
