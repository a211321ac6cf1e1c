#include "editor/PictureErrors.h"

#include <utility>

#include "sg/sgImage.h"
#include "sg/sgRuntime.h"
#include "sg/sgTexture.h"

namespace {

struct Queue {
    std::vector<QueuedError> reports;
    std::function<void()> wake;
};

Queue& queue() {
    static Queue q;
    return q;
}

void queueReport(const char* caption, const char* text) {
    Queue& q = queue();
    QueuedError e{caption ? caption : "", text ? text : ""};
    for (const QueuedError& waiting : q.reports)
        if (waiting.caption == e.caption && waiting.text == e.text) return;
    q.reports.push_back(std::move(e));
    if (q.reports.size() == 1 && q.wake) q.wake();
}

// What a reader reported while a chosen picture was checked.
std::string* g_checkReport = nullptr;

void keepCheckReport(const char*, const char* text) {
    if (g_checkReport && g_checkReport->empty() && text) *g_checkReport = text;
}

}  // namespace

void InstallQueuedErrorReporter(std::function<void()> wake) {
    queue().wake = std::move(wake);
    sgSetErrorReporter(queueReport);
}

std::vector<QueuedError> TakeQueuedErrors() {
    std::vector<QueuedError> out;
    out.swap(queue().reports);
    return out;
}

bool CheckPictureFile(const std::string& path, std::string& message) {
    const int format = sgTextureFormatOf(path);
    sgImageFailure why = sgImageFailure::unsupported;
    std::string reported;
    sgImagePtr image;
    int components = 3;
    if (format >= 0) {
        // The reader's own words go into the message, not into a box of their own.
        const sgErrorReporter previous = sgGetErrorReporter();
        g_checkReport = &reported;
        sgSetErrorReporter(keepCheckReport);
        why = sgImageFailure::none;
        image = sgReadImage(format, path, &components, &why);
        sgSetErrorReporter(previous);
        g_checkReport = nullptr;
    }
    if (image && (components == 3 || components == 4)) {
        const size_t need = sgImageByteCount(image->width, image->height, components);
        if (need && image->pixels.size() >= need) return true;
    }
    if (why == sgImageFailure::none) why = sgImageFailure::corrupt;
    std::string reason = reported.empty() ? sgImageFailureText(why) : reported;
    while (!reason.empty() && (reason.back() == '.' || reason.back() == '\n')) reason.pop_back();
    message = "\"" + path + "\" cannot be used as a picture: " + reason + ".";
    return false;
}
